// The query command as a user runs it: `qvhost query FILE EXPR` (open, compile, every match
// printed as its path) against `xmllint --xpath EXPR FILE` (open, evaluate, every match printed)
// in the same run, on a flat file of 1,000,000 para and on a nested one of about as many, for
// `//para`, `//para[@type='note']` and `//para[contains(., 'Text 1')]`, with the ratio of the
// times. Both programs' output goes to /dev/null; the best of a few runs counts.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kParas = 1000000;

const char *const kExpressions[] = {"//para", "//para[@type='note']", "//para[contains(., 'Text 1')]"};

// Paragraph n: every third one a note.
void Para(std::ofstream &out, int n) {
    out << "<para type='" << (n % 3 == 0 ? "note" : "body") << "'>Text " << n << "</para>";
}

// The generated files, in a folder of their own removed at exit.
struct Files {
    fs::path dir = fs::temp_directory_path() / ("qv_query_bench_" + std::to_string(::getpid()));
    fs::path flat = dir / "flat.xml", nested = dir / "nested.xml";
    Files() {
        fs::create_directories(dir);
        {
            std::ofstream out(flat);
            out << "<doc>";
            for (int i = 0; i < kParas; ++i) Para(out, i);
            out << "</doc>\n";
        }
        std::ofstream out(nested);
        int written = 0;
        // Sections of ten children, every third child of the upper four levels a section again.
        auto section = [&](auto &&self, int depth) -> void {
            out << "<sec>";
            for (int i = 0; i < 10; ++i) {
                if (depth < 4 && i % 3 == 0) {
                    self(self, depth + 1);
                } else {
                    Para(out, written++);
                }
            }
            out << "</sec>";
        };
        out << "<doc>";
        while (written < kParas) section(section, 0);
        out << "</doc>\n";
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Files &TheFiles() {
    static Files files;
    return files;
}

double SecondsOf(const std::string &command) {
    auto t0 = std::chrono::steady_clock::now();
    int rc = std::system(command.c_str());
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return rc == 0 ? s : -1;
}

void BM_QueryCommandVsXmllint(benchmark::State &state) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("xmllint is not installed (package libxml2-utils)");
        return;
    }
    const fs::path &file = state.range(0) == 0 ? TheFiles().flat : TheFiles().nested;
    const std::string expr = kExpressions[state.range(1)];
    const std::string bin = QV_BIN_DIR;
    const std::string query = "'" + bin + "/qvhost' --plugin '" + bin + "/Quorvane_FM2020.so' query '" + file.string() +
                              "' \"" + expr + "\" >/dev/null";
    const std::string lint = "xmllint --xpath \"" + expr + "\" '" + file.string() + "' >/dev/null";
    double ours = 1e300, theirs = 1e300;
    for (auto _ : state) {
        double q = SecondsOf(query), x = SecondsOf(lint);
        if (q < 0 || x < 0) {
            state.SkipWithError("a command failed");
            return;
        }
        ours = std::min(ours, q);
        theirs = std::min(theirs, x);
    }
    state.SetLabel(std::string(state.range(0) == 0 ? "flat " : "nested ") + expr);
    state.counters["qvhost_s"] = ours;
    state.counters["xmllint_s"] = theirs;
    state.counters["ratio"] = ours / theirs;
    std::printf("qvhost query %s %s: %.2f s, xmllint --xpath %.2f s (%.2fx)\n", state.range(0) == 0 ? "flat" : "nested",
                expr.c_str(), ours, theirs, ours / theirs);
}
BENCHMARK(BM_QueryCommandVsXmllint)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kSecond)
    ->Iterations(3);

}  // namespace
