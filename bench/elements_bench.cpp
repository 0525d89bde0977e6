// Element layer over large documents: a whole-flow walk, finding an element by attribute value,
// listing a flow's attribute values and the attribute catalogue with ID attributes. Each runs at
// 10,000 and 100,000 elements; the times should grow with the document, about tenfold.
#include <benchmark/benchmark.h>

#include "fdk.h"
#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "model.h"

namespace {

// A document of about n elements: sections of 10 paragraphs, each paragraph with a unique ID,
// a reference to the previous one and a text node.
F_ObjHandleT BuildDoc(int n) {
    host::ResetSession();
    F_ObjHandleT doc = host::NewDocument("Z:\\elements_bench.fm");
    F_ObjHandleT sec = host::AddElementDef(doc, "sec");
    F_ObjHandleT para = host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    host::AttrDef id;
    id.name = "id";
    id.type = FV_AT_UNIQUE_ID;
    host::AddAttributeDef(para, id);
    host::AttrDef ref;
    ref.name = "ref";
    ref.type = FV_AT_UNIQUE_IDREF;
    host::AddAttributeDef(para, ref);
    host::AttrDef kind;
    kind.name = "kind";
    host::AddAttributeDef(para, kind);
    F_ObjHandleT root = host::AppendElement(doc, 0, sec, host::MainFlow(doc));
    F_ObjHandleT s = 0;
    for (int i = 0; i < n / 2; ++i) {
        if (i % 10 == 0) s = host::AppendElement(doc, root, sec);
        F_ObjHandleT p = host::AppendElement(doc, s, para);
        host::SetAttribute(doc, p, "id", {"ID" + std::to_string(i)});
        if (i) host::SetAttribute(doc, p, "ref", {"ID" + std::to_string(i - 1)});
        host::SetAttribute(doc, p, "kind", {"k" + std::to_string(i % 7)});
        host::AppendText(doc, p, "text");
    }
    return doc;
}

void BM_WalkWholeFlow(benchmark::State &state) {
    F_ObjHandleT doc = BuildDoc(static_cast<int>(state.range(0)));
    F_ObjHandleT root = F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement);
    for (auto _ : state) {
        om_ElementWalkStart();
        long n = 0;
        for (F_ObjHandleT e = root; e; e = om_ElementNextInDocOrder(doc, e)) ++n;
        benchmark::DoNotOptimize(n);
    }
}

void BM_FindByAttributeValue(benchmark::State &state) {
    int n = static_cast<int>(state.range(0));
    F_ObjHandleT doc = BuildDoc(n);
    std::string last = "ID" + std::to_string(n / 2 - 1);  // the last paragraph
    for (auto _ : state) benchmark::DoNotOptimize(om_ElementFindByAttr(doc, 0, "p", "id", last, ""));
}

void BM_AttrValuesOfFlow(benchmark::State &state) {
    F_ObjHandleT doc = BuildDoc(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(om_AttrValuesOfFlow(doc, "", 0, "kind", nullptr, 0));
}

void BM_AttrCatalogWithIds(benchmark::State &state) {
    F_ObjHandleT doc = BuildDoc(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(om_AttrCatalog(doc, 1, 0, 0, 0));
}

}  // namespace

BENCHMARK(BM_WalkWholeFlow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindByAttributeValue)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttrValuesOfFlow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AttrCatalogWithIds)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
