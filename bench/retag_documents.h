// What the retag benchmarks share: the generated document and the stopwatch.
#pragma once

#include <chrono>
#include <string>

namespace qvbench {

// Sections of ten paragraphs: `matches` paragraphs in all, plus a title per section.
inline std::string GenerateXml(int matches) {
    std::string s = "<doc>";
    for (int n = 0; n < matches;) {
        s += "<sec><title>S</title>";
        for (int j = 0; j < 10 && n < matches; ++j, ++n) s += "<para>Text " + std::to_string(n) + "</para>";
        s += "</sec>";
    }
    return s + "</doc>";
}

// The milliseconds f takes.
template <class F>
double Millis(F &&f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace qvbench
