// Opening plain XML files through the host (F_ApiOpen: read, image, document) against libxml2's
// parse alone (xmlReadFile), books of 102,000 and 1,020,000 elements, in time and in memory.
// Each round runs in a fresh copy of the process, warmed by one untimed run of the same side
// (qvbench::InFreshProcess); the round's time is the thread's CPU time of one open, and its
// memory is measured by a second open of its own, so the counting never slows the timed one.
// Prints both times, their ratio, each side's growth over ten times the elements, and the heap
// each side's document holds and its peak while opening, with their ratios.
//
// Memory is counted by wrapping the C allocator of this program: malloc, free, realloc, calloc
// and the aligned allocators are defined here and pass to glibc's own (__libc_*); while counting
// is on (qvbench::HeapCounting) they add or take off malloc_usable_size of each block. libxml2,
// the C++ runtime (operator new) and the host all allocate through them, so the count follows
// every byte the process holds on the heap. While counting is off the wrappers only pass the call
// on, so that the other benchmarks of the program are not slowed by it.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include <unistd.h>

#include "bench/retag_documents.h"
#include "fdk.h"
#include "host/src/model.h"
#include "host/src/paths.h"

// ---- counting allocator --------------------------------------------------------------------

extern "C" {
void *__libc_malloc(size_t);
void __libc_free(void *);
void *__libc_realloc(void *, size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_memalign(size_t, size_t);
}

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long long> gHeldBytes{0};
std::atomic<long long> gPeakBytes{0};

bool Counting() { return gCounting.load(std::memory_order_relaxed); }

void Held(void *p) {
    if (!p || !Counting()) return;
    long long now = gHeldBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed) +
                    static_cast<long long>(malloc_usable_size(p));
    long long peak = gPeakBytes.load(std::memory_order_relaxed);
    while (now > peak && !gPeakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void Released(void *p) {
    if (p && Counting()) gHeldBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
}

}  // namespace

long long qvbench::HeapHeld() { return gHeldBytes.load(); }
long long qvbench::HeapPeak() { return gPeakBytes.load(); }
void qvbench::HeapPeakFromNow() { gPeakBytes.store(gHeldBytes.load()); }
void qvbench::CountHeap(bool on) { gCounting.store(on); }

extern "C" {
void *malloc(size_t n) {
    void *p = __libc_malloc(n);
    Held(p);
    return p;
}
void free(void *p) {
    Released(p);
    __libc_free(p);
}
void *calloc(size_t n, size_t size) {
    void *p = __libc_calloc(n, size);
    Held(p);
    return p;
}
void *realloc(void *p, size_t n) {
    if (!Counting()) return __libc_realloc(p, n);
    long long before = p ? static_cast<long long>(malloc_usable_size(p)) : 0;
    void *q = __libc_realloc(p, n);
    if (q || n == 0) gHeldBytes.fetch_sub(before, std::memory_order_relaxed);
    Held(q);
    return q;
}
void *memalign(size_t align, size_t n) {
    void *p = __libc_memalign(align, n);
    Held(p);
    return p;
}
void *aligned_alloc(size_t align, size_t n) { return memalign(align, n); }
int posix_memalign(void **out, size_t align, size_t n) {
    void *p = memalign(align, n);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
void *valloc(size_t n) { return memalign(static_cast<size_t>(sysconf(_SC_PAGESIZE)), n); }
void *pvalloc(size_t n) {
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return memalign(page, (n + page - 1) / page * page);
}
}

namespace {

using qvbench::InFreshProcess;

constexpr int kChapters = 1000;  // 102 elements each
constexpr double kMB = 1024.0 * 1024.0;

// The books of retag_documents.h, 1x and 10x, in a folder removed at exit.
struct Files {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("qv_open_bench_" + std::to_string(::getpid()));
    Files() {
        std::filesystem::create_directories(dir);
        for (int scale : {1, 10}) std::ofstream(Path(scale), std::ios::binary) << qvbench::BookXml(kChapters * scale);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string Path(int scale) const { return (dir / ("book" + std::to_string(scale) + ".xml")).string(); }
};

Files &TheFiles() {
    static Files files;
    return files;
}

// One round of one side (plain data: it comes back from the fresh process through a pipe).
struct OpenRound {
    double ms = 1e300;      // huge when the open failed
    long long peak = 0;     // highest heap growth while opening
    long long kept = 0;     // heap growth once the open returned: what the document holds
};

// CPU time of this thread: what the open itself costs, whatever else the machine is doing.
double ThreadMillis() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Times `open` (which returns what it made, null when it failed) and then measures the heap of a
// second open, each followed by `close`; both in a fresh process, after an untimed round.
template <class Open, class Close>
OpenRound Round(Open open, Close close) {
    return InFreshProcess([&] {
        OpenRound r;
        double t0 = ThreadMillis();
        auto made = open();
        r.ms = made ? ThreadMillis() - t0 : 1e300;
        benchmark::DoNotOptimize(made);
        close(made);
        qvbench::HeapCounting counting;
        long long base = qvbench::HeapHeld();
        qvbench::HeapPeakFromNow();
        made = open();
        r.peak = qvbench::HeapPeak() - base;
        r.kept = qvbench::HeapHeld() - base;
        close(made);
        return r;
    });
}

OpenRound Libxml2(int scale) {
    const std::string path = TheFiles().Path(scale);
    return Round([&] { return xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET); },
                 [](xmlDocPtr d) { xmlFreeDoc(d); });
}

OpenRound Ours(int scale) {
    const std::string path = host::WindowsPath(TheFiles().Path(scale));
    return Round(
        [&] {
            F_PropValsT params = F_ApiGetOpenDefaultParams();
            params.val[F_ApiGetPropIndex(&params, FS_MakeVisible)].propVal.ival = 0;
            F_ObjHandleT doc = F_ApiOpen(path.c_str(), &params, nullptr);
            F_ApiDeallocatePropVals(&params);
            return doc;
        },
        [](F_ObjHandleT doc) {
            F_ApiClose(doc, 1);
            // The session keeps a closed document's element slots (ids are never reused); a
            // reset gives them back, as libxml2 gives back a freed tree, so that each round
            // measures the same steady state.
            host::ResetSession();
        });
}

void BM_OpenXmlHostVsLibxml2(benchmark::State &state) {
    TheFiles();
    auto [o1, x1, o10, x10] = qvbench::FastestRounds<OpenRound>(state, kChapters * 102, Ours, Libxml2);
    state.counters["memory_ratio_1x"] = double(o1.peak) / double(x1.peak);
    state.counters["memory_ratio_10x"] = double(o10.peak) / double(x10.peak);
    for (const auto &[label, o, x] : {std::tuple{"102k", &o1, &x1}, std::tuple{"1.02M", &o10, &x10}})
        std::printf("open XML warm, %s elements: %.1f ms (libxml2 %.1f ms), %.2fx; document %.1f MB (libxml2 %.1f MB), "
                    "%.3fx; peak while opening %.1f MB (libxml2 %.1f MB), %.3fx\n",
                    label, o->ms, x->ms, o->ms / x->ms, o->kept / kMB, x->kept / kMB, double(o->kept) / double(x->kept),
                    o->peak / kMB, x->peak / kMB, double(o->peak) / double(x->peak));
    std::printf("open XML warm, growth over 10x: %.1fx (libxml2 %.1fx)\n", o10.ms / o1.ms, x10.ms / x1.ms);
}
BENCHMARK(BM_OpenXmlHostVsLibxml2)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
