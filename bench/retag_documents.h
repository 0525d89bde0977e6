// What the comparing benchmarks share: the generated document, the stopwatch and the allocator's
// settling.
#pragma once

#include <malloc.h>

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

// Loading is not timed, and neither is the allocator's deferred work for the previous round's
// freed documents: without this, the first large allocation inside the stopwatch pays for merging
// every small block the last teardown freed. Both sides of a comparison settle the same way.
inline void SettleAllocator() { malloc_trim(0); }

// Freed memory stays with the process for the next round (no blocks mapped and unmapped one by
// one, no trimming back to the system): each round then runs on memory it has touched before, and
// neither side of a comparison pays for the system's page faults of the other.
inline void KeepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

}  // namespace qvbench
