// Word count of a 1,000-page document (40 paragraphs to a page, ten words each) against one with
// a tenth of the text (100 pages): the time should grow about tenfold. BM_WordCount times each
// size; BM_WordCountGrowth prints the ratio of the two times.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "fdk.h"
#include "lib/dialogs/wordcount.h"
#include "model.h"

namespace {

constexpr int kPgfsPerPage = 40;

// A document of `pages` body pages of paragraphs of ten words.
F_ObjHandleT BuildDoc(int pages) {
    host::ResetSession();
    F_ObjHandleT doc = host::NewDocument("Z:\\wordcount_bench.fm");
    F_ObjHandleT sec = host::AddElementDef(doc, "sec");
    F_ObjHandleT para = host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    F_ObjHandleT root = host::AppendElement(doc, 0, sec, host::MainFlow(doc));
    for (int i = 0; i < pages * kPgfsPerPage; ++i)
        host::AppendText(doc, host::AppendElement(doc, root, para), "The quick brown fox jumps over the lazy dog's back.");
    om_DocWordCount(doc);  // lays the document out once
    return doc;
}

void BM_WordCount(benchmark::State &state) {
    F_ObjHandleT doc = BuildDoc(static_cast<int>(state.range(0)));
    IntT words = 0;
    for (auto _ : state) benchmark::DoNotOptimize(words = om_DocWordCount(doc));
    state.counters["words"] = words;
}

double SecondsPerCount(int pages) {
    F_ObjHandleT doc = BuildDoc(pages);
    const int reps = 5;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) benchmark::DoNotOptimize(om_DocWordCount(doc));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reps;
}

void BM_WordCountGrowth(benchmark::State &state) {
    double small = 0, large = 0;
    for (auto _ : state) {
        small = SecondsPerCount(100);
        large = SecondsPerCount(1000);
    }
    state.counters["growth"] = large / small;
    std::printf("word count: 100 pages %.2f ms, 1,000 pages %.2f ms, growth %.1fx for 10x the text\n", small * 1000,
                large * 1000, large / small);
}

}  // namespace

BENCHMARK(BM_WordCount)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordCountGrowth)->Iterations(1)->Unit(benchmark::kMillisecond);
