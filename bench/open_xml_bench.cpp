// Opening a large plain XML file through the host (F_ApiOpen: read, image, document) against
// libxml2's parse alone (xmlReadFile), in time and in peak memory, with their ratios.
//
// Memory is counted by wrapping the C allocator of this program: malloc, free, realloc, calloc
// and the aligned allocators are defined here and pass to glibc's own (__libc_*), adding or
// taking off malloc_usable_size of each block. libxml2, the C++ runtime (operator new) and the
// host all allocate through them, so the count is every byte the process holds on the heap.
// The peak of an operation is the highest count while it runs minus the count before it.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include <atomic>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

std::atomic<long long> gHeldBytes{0};
std::atomic<long long> gPeakBytes{0};

void Held(void *p) {
    if (!p) return;
    long long now = gHeldBytes.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed) +
                    static_cast<long long>(malloc_usable_size(p));
    long long peak = gPeakBytes.load(std::memory_order_relaxed);
    while (now > peak && !gPeakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

void Released(void *p) {
    if (p) gHeldBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
}

}  // namespace

long long qvbench::HeapHeld() { return gHeldBytes.load(); }
long long qvbench::HeapPeak() { return gPeakBytes.load(); }
void qvbench::HeapPeakFromNow() { gPeakBytes.store(gHeldBytes.load()); }

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

// ---- the file ------------------------------------------------------------------------------

constexpr int kChapters = 1000;  // 102 elements each: 102,000 elements

// The book of retag_documents.h, in a file removed at exit.
const std::string &XmlFile() {
    static std::string path;
    if (!path.empty()) return path;
    path = (std::filesystem::temp_directory_path() / ("qv_open_bench_" + std::to_string(::getpid()) + ".xml")).string();
    std::atexit([] { std::filesystem::remove(path); });
    std::ofstream(path, std::ios::binary) << qvbench::BookXml(kChapters);
    return path;
}

struct Measured {
    double ms = 0;
    long long peakBytes = 0;  // highest heap growth while the operation ran
    long long keptBytes = 0;  // heap growth once it returned (what the result holds)
};

// CPU time of this thread: what the open itself costs, whatever else the machine is doing.
double ThreadMillis() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Runs `open` (which returns what it made) and then `close`, measuring the open.
template <class Open, class Close>
Measured Measure(Open &&open, Close &&close) {
    Measured m;
    long long base = gHeldBytes.load();
    gPeakBytes.store(base);
    double t0 = ThreadMillis();
    auto made = open();
    m.ms = ThreadMillis() - t0;
    m.peakBytes = gPeakBytes.load() - base;
    m.keptBytes = gHeldBytes.load() - base;
    benchmark::DoNotOptimize(made);
    close(made);
    return m;
}

Measured LibxmlParse() {
    return Measure([] { return xmlReadFile(XmlFile().c_str(), nullptr, XML_PARSE_NONET); },
                   [](xmlDocPtr d) { xmlFreeDoc(d); });
}

Measured HostOpen() {
    static const std::string windowsPath = host::WindowsPath(XmlFile());
    return Measure(
        [] {
            F_PropValsT params = F_ApiGetOpenDefaultParams();
            params.val[F_ApiGetPropIndex(&params, 5)].propVal.ival = 0;
            F_ObjHandleT doc = F_ApiOpen(windowsPath.c_str(), &params, nullptr);
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

constexpr double kMB = 1024.0 * 1024.0;

// The host's open and libxml2's parse of the same file, each measured in every iteration; the
// counters give the averages of the times (thread CPU time), the peaks and the two ratios (host / libxml2).
void BM_OpenXmlHostVsLibxml2(benchmark::State &state) {
    XmlFile();
    Measured host, lib;
    int rounds = 0;
    for (auto _ : state) {
        // Each is measured right after an unmeasured run of its own, so both find the heap as
        // their previous run left it: page faults on fresh memory, which cost a lot on virtual
        // machines, would otherwise go to whichever runs after the other gave memory back.
        LibxmlParse();
        Measured l = LibxmlParse();
        HostOpen();
        Measured h = HostOpen();
        lib.ms += l.ms;
        host.ms += h.ms;
        lib.peakBytes = std::max(lib.peakBytes, l.peakBytes);
        host.peakBytes = std::max(host.peakBytes, h.peakBytes);
        host.keptBytes = std::max(host.keptBytes, h.keptBytes);
        lib.keptBytes = std::max(lib.keptBytes, l.keptBytes);
        ++rounds;
    }
    state.counters["elements"] = kChapters * 102;
    state.counters["host_ms"] = host.ms / rounds;
    state.counters["libxml2_ms"] = lib.ms / rounds;
    state.counters["time_ratio"] = host.ms / lib.ms;
    state.counters["host_peak_MB"] = host.peakBytes / kMB;
    state.counters["host_document_MB"] = host.keptBytes / kMB;
    state.counters["libxml2_peak_MB"] = lib.peakBytes / kMB;
    state.counters["memory_ratio"] = double(host.peakBytes) / double(lib.peakBytes);
}
BENCHMARK(BM_OpenXmlHostVsLibxml2)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
