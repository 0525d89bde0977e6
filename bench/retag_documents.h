// What the comparing benchmarks share: the generated document, the stopwatch and the fresh
// process each timed round runs in.
#pragma once

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <string>
#include <type_traits>

namespace qvbench {

// Sections of ten paragraphs: `matches` paragraphs in all, plus a title per section; each
// paragraph's start tag carries `paraAttrs` (such as ` type="body"`) when given.
inline std::string GenerateXml(int matches, const std::string &paraAttrs = "") {
    std::string s = "<doc>";
    const std::string open = "<para" + paraAttrs + ">Text ";
    for (int n = 0; n < matches;) {
        s += "<sec><title>S</title>";
        for (int j = 0; j < 10 && n < matches; ++j, ++n) s += open + std::to_string(n) + "</para>";
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

// A timed round: its milliseconds (huge when it could not run) and how many nodes it handled.
struct Timed {
    double ms = 1e300;
    size_t count = 0;
};

// A book of `chapters` chapters of ten sections of four paragraphs, each paragraph with an inline
// element (102 elements a chapter), as a plain XML file whose DTD declares IDs, an enumeration
// with a default and the mixed paragraphs.
inline std::string BookXml(int chapters) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE book [\n"
        "<!ELEMENT book (chapter+)>\n"
        "<!ELEMENT chapter (title, section+)>\n"
        "<!ATTLIST chapter n CDATA #IMPLIED>\n"
        "<!ELEMENT section (title, para+)>\n"
        "<!ATTLIST section id ID #REQUIRED kind (intro|body) \"body\">\n"
        "<!ELEMENT title (#PCDATA)>\n"
        "<!ELEMENT para (#PCDATA|em)*>\n"
        "<!ELEMENT em (#PCDATA)>\n"
        "]>\n<book>\n";
    int p = 0;
    for (int c = 0; c < chapters; ++c) {
        std::string n = std::to_string(c);
        s += "  <chapter n=\"" + n + "\">\n    <title>Chapter " + n + "</title>\n";
        for (int k = 0; k < 10; ++k) {
            s += "    <section id=\"s" + n + "_" + std::to_string(k) + "\"" + (k == 0 ? " kind=\"intro\"" : "") + ">\n" +
                 "      <title>Section " + std::to_string(k) + " of chapter " + n + "</title>\n";
            for (int j = 0; j < 4; ++j, ++p)
                s += "      <para>Paragraph " + std::to_string(p) + " says something with <em>emphasis</em> and goes on a little.</para>\n";
            s += "    </section>\n";
        }
        s += "  </chapter>\n";
    }
    return s + "</book>\n";
}

// The bytes the process holds on the heap, as the counting allocator of the benchmark program
// sees them (open_xml_bench.cpp), and the highest count since HeapPeakFromNow(). The allocator
// counts only while a HeapCounting is alive, so that the other benchmarks run on the plain
// allocator; the count then moves by what is allocated and freed, so only differences between
// two readings taken while counting mean anything.
long long HeapHeld();
long long HeapPeak();
void HeapPeakFromNow();
void CountHeap(bool on);
struct HeapCounting {
    HeapCounting() { CountHeap(true); }
    ~HeapCounting() { CountHeap(false); }
    HeapCounting(const HeapCounting &) = delete;
    HeapCounting &operator=(const HeapCounting &) = delete;
};

// Runs f (which loads what it needs, times its work and frees what it made) twice in a copy of
// this process and returns what the second run answers (a plain struct whose default value
// means "could not run"): each side of a comparison is measured on
// a heap it has warmed itself (as in a session that has run before), never on the heap the other
// side left behind. The copy's allocator keeps what is freed (no trimming, no large blocks mapped
// and unmapped one by one), so neither side pays the system again for touching fresh memory.
template <class F, class R = std::invoke_result_t<F &>>
R InFreshProcess(F &&f) {
    int fds[2];
    if (pipe(fds) != 0) return f();
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return f();
    }
    if (pid == 0) {
        close(fds[0]);
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        f();
        R mine = f();
        ssize_t w = write(fds[1], &mine, sizeof mine);
        _exit(w == static_cast<ssize_t>(sizeof mine) ? 0 : 1);
    }
    close(fds[1]);
    R r{};
    if (read(fds[0], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) r = R{};
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return r;
}

// The fastest of the benchmark's rounds at two sizes, ours and the peer's taking turns (ours(1),
// peer(1), ours(10), peer(10) each iteration), with the times, the ratios and our growth as the
// state's counters; `elements` is the smaller size. Returns {ours 1x, peer 1x, ours 10x, peer 10x}.
template <class Round, class State, class Ours, class Peer>
std::array<Round, 4> FastestRounds(State &state, double elements, Ours &&ours, Peer &&peer) {
    std::array<Round, 4> r{};
    auto keep = [](Round &kept, const Round &round) {
        if (round.ms < kept.ms) kept = round;
    };
    for (auto _ : state) {
        keep(r[0], ours(1));
        keep(r[1], peer(1));
        keep(r[2], ours(10));
        keep(r[3], peer(10));
    }
    state.counters["elements_1x"] = elements;
    state.counters["ours_1x_ms"] = r[0].ms;
    state.counters["libxml2_1x_ms"] = r[1].ms;
    state.counters["ours_10x_ms"] = r[2].ms;
    state.counters["libxml2_10x_ms"] = r[3].ms;
    state.counters["ratio_1x"] = r[0].ms / r[1].ms;
    state.counters["ratio_10x"] = r[2].ms / r[3].ms;
    state.counters["growth_10x"] = r[2].ms / r[0].ms;
    return r;
}

}  // namespace qvbench
