// Saving a document as XML through the host (F_ApiSave: the whole safe save, its well-formedness
// check and the sync included) against libxml2 writing its tree of the same file (xmlSaveFile), on
// books of 102,000 and 1,020,000 elements. Each round runs in a fresh copy of the process, warmed
// by one untimed run of the same side; the file is opened (read) before the clock starts. Prints
// both times, their ratio, each side's growth over ten times the elements, and the heap each side
// holds for its document, its highest growth while saving and what the save leaves behind; and,
// as the floor a safe save cannot go below, the ratio against libxml2's save followed by a sync.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/retag_documents.h"
#include "fdk.h"
#include "host/src/model.h"
#include "host/src/paths.h"

namespace fs = std::filesystem;

namespace {

using qvbench::InFreshProcess;
using qvbench::Millis;

constexpr int kChapters = 1000;  // 102 elements each
constexpr double kMB = 1024.0 * 1024.0;

// The two books and where each side saves them, in a folder removed at exit.
struct Files {
    fs::path dir = fs::temp_directory_path() / ("qv_save_bench_" + std::to_string(::getpid()));
    Files() {
        fs::create_directories(dir);
        for (int scale : {1, 10}) std::ofstream(Source(scale), std::ios::binary) << qvbench::BookXml(kChapters * scale);
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string Source(int scale) const { return (dir / ("book" + std::to_string(scale) + ".xml")).string(); }
    std::string Target(int scale, const char *side) const {
        return (dir / ("saved_" + std::string(side) + std::to_string(scale) + ".xml")).string();
    }
};

Files &TheFiles() {
    static Files files;
    return files;
}

// One timed save (plain data: it comes back from the fresh process through a pipe).
struct SaveRound {
    double ms = 1e300;       // huge when the save failed
    long long document = 0;  // heap the open document holds
    long long peak = 0;      // highest heap growth while saving
    long long kept = 0;      // heap growth the save leaves behind
    long long fileBytes = 0;
    double syncMs = 0;  // libxml2: a sync of the file it wrote, after the clock stopped
};

template <class Save>
void TimeSave(SaveRound &r, const std::string &target, Save &&save) {
    long long base = qvbench::HeapHeld();
    qvbench::HeapPeakFromNow();
    bool ok = false;
    r.ms = Millis([&] { ok = save(); });
    r.peak = qvbench::HeapPeak() - base;
    r.kept = qvbench::HeapHeld() - base;
    std::error_code ec;
    r.fileBytes = static_cast<long long>(fs::file_size(target, ec));
    if (!ok) r.ms = 1e300;
    fs::remove(target, ec);
}

SaveRound Ours(int scale) {
    const std::string source = host::WindowsPath(TheFiles().Source(scale));
    const std::string target = TheFiles().Target(scale, "ours");
    const std::string windowsTarget = host::WindowsPath(target);
    return InFreshProcess([&] {
        qvbench::HeapCounting counting;
        SaveRound r;
        long long before = qvbench::HeapHeld();
        F_PropValsT open = F_ApiGetOpenDefaultParams();
        open.val[F_ApiGetPropIndex(&open, FS_MakeVisible)].propVal.ival = 0;
        F_ObjHandleT doc = F_ApiOpen(source.c_str(), &open, nullptr);
        F_ApiDeallocatePropVals(&open);
        r.document = qvbench::HeapHeld() - before;
        F_PropValsT params = F_ApiGetSaveDefaultParams();
        params.val[F_ApiGetPropIndex(&params, FS_FileType)].propVal.ival = FV_SaveFmtXml;
        TimeSave(r, target, [&] { return doc && F_ApiSave(doc, windowsTarget.c_str(), &params, nullptr) == doc; });
        F_ApiDeallocatePropVals(&params);
        F_ApiClose(doc, 1);
        host::ResetSession();
        return r;
    });
}

SaveRound Libxml2(int scale) {
    const std::string source = TheFiles().Source(scale);
    const std::string target = TheFiles().Target(scale, "libxml2");
    return InFreshProcess([&] {
        qvbench::HeapCounting counting;
        SaveRound r;
        long long before = qvbench::HeapHeld();
        xmlDocPtr doc = xmlReadFile(source.c_str(), nullptr, XML_PARSE_NONET);
        r.document = qvbench::HeapHeld() - before;
        TimeSave(r, target, [&] {
            bool ok = doc && xmlSaveFile(target.c_str(), doc) > 0;
            // What a safe save adds to it, timed apart: the sync of the file written.
            int fd = ok ? ::open(target.c_str(), O_RDONLY) : -1;
            if (fd >= 0) {
                r.syncMs = Millis([&] { ::fsync(fd); });
                ::close(fd);
            }
            return ok;
        });
        r.ms -= r.syncMs;
        xmlFreeDoc(doc);
        return r;
    });
}

void BM_SaveXmlHostVsLibxml2(benchmark::State &state) {
    TheFiles();
    auto [o1, x1, o10, x10] = qvbench::FastestRounds<SaveRound>(state, kChapters * 102, Ours, Libxml2);
    state.counters["ours_document_10x_MB"] = o10.document / kMB;
    state.counters["ours_save_peak_10x_MB"] = o10.peak / kMB;
    state.counters["ours_save_kept_10x_MB"] = o10.kept / kMB;
    state.counters["libxml2_save_peak_10x_MB"] = x10.peak / kMB;
    for (const auto &[label, o, x] : {std::tuple{"102k", &o1, &x1}, std::tuple{"1.02M", &o10, &x10}})
        std::printf("save as XML, %s elements: %.1f ms (libxml2 %.1f ms), %.2fx; document %.0f MB (libxml2 %.0f MB), "
                    "while saving +%.0f MB (libxml2 +%.0f MB), kept after +%.1f MB; file %.1f MB (libxml2 %.1f MB)\n",
                    label, o->ms, x->ms, o->ms / x->ms, o->document / kMB, x->document / kMB, o->peak / kMB,
                    x->peak / kMB, o->kept / kMB, o->fileBytes / kMB, x->fileBytes / kMB);
    std::printf("save as XML, growth over 10x: %.1fx (libxml2 %.1fx)\n", o10.ms / o1.ms, x10.ms / x1.ms);
    std::printf("save as XML, against libxml2 followed by a sync of its file (the safe save's floor): 102k %.2fx, "
                "1.02M %.2fx (syncs %.1f ms, %.1f ms)\n",
                o1.ms / (x1.ms + x1.syncMs), o10.ms / (x10.ms + x10.syncMs), x1.syncMs, x10.syncMs);
}
BENCHMARK(BM_SaveXmlHostVsLibxml2)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
