// Object model: building a large document through the construction API, walking it through the
// property calls, and laying it out into paragraphs.
#include <benchmark/benchmark.h>

#include "fdk.h"
#include "model.h"

namespace {

using namespace host;

// A document of n elements: sections of 10 paragraphs, each holding a text node.
F_ObjHandleT BuildDoc(int n) {
    F_ObjHandleT doc = NewDocument("Z:\\bench.fm");
    F_ObjHandleT sec = AddElementDef(doc, "sec");
    F_ObjHandleT para = AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    AttrDef id;
    id.name = "id";
    AddAttributeDef(para, id);
    F_ObjHandleT root = AppendElement(doc, 0, sec, MainFlow(doc));
    F_ObjHandleT s = 0;
    for (int i = 0; i < n / 2; ++i) {
        if (i % 10 == 0) s = AppendElement(doc, root, sec);
        F_ObjHandleT p = AppendElement(doc, s, para);
        if (i % 4 == 0) SetAttribute(doc, p, "id", {"x" + std::to_string(i)});
        AppendText(doc, p, "some paragraph text");
    }
    return doc;
}

void BM_Build100k(benchmark::State &state) {
    for (auto _ : state) {
        ResetSession();
        benchmark::DoNotOptimize(BuildDoc(100000));
    }
    ResetSession();
}
BENCHMARK(BM_Build100k)->Unit(benchmark::kMillisecond);

void BM_Walk100k(benchmark::State &state) {
    ResetSession();
    F_ObjHandleT doc = BuildDoc(100000);
    F_ObjHandleT root = F_ApiGetId(0, doc, FP_HighestLevelElement);
    for (auto _ : state) {
        // pre-order walk through first child / next sibling / parent
        long count = 0;
        F_ObjHandleT e = root;
        while (e) {
            ++count;
            F_ObjHandleT c = F_ApiGetId(doc, e, FP_FirstChildElement);
            if (c) {
                e = c;
                continue;
            }
            while (e && e != root && !F_ApiGetId(doc, e, FP_NextSiblingElement)) e = F_ApiGetId(doc, e, FP_ParentElement);
            e = (e && e != root) ? F_ApiGetId(doc, e, FP_NextSiblingElement) : 0;
        }
        benchmark::DoNotOptimize(count);
    }
    ResetSession();
}
BENCHMARK(BM_Walk100k)->Unit(benchmark::kMillisecond);

void BM_Layout100k(benchmark::State &state) {
    ResetSession();
    F_ObjHandleT doc = BuildDoc(100000);
    for (auto _ : state) {
        MarkChanged(doc, false);
        benchmark::DoNotOptimize(F_ApiGetId(0, doc, FP_FirstPgfInDoc));
    }
    ResetSession();
}
BENCHMARK(BM_Layout100k)->Unit(benchmark::kMillisecond);

}  // namespace
