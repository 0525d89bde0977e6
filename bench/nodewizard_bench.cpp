// The Node Wizard dialogs and Set unique ID on large documents: the value drop-down of the values
// editor over every distinct attribute value, the full refresh of the Node Wizard with many
// element definitions, and Set unique ID over every element of a flow. Each prints the time on
// a document ten times larger over the time on the smaller one (about 10 when the cost is linear).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/retag_documents.h"
#include "client.h"
#include "fdk.h"
#include "lib/dialogs/generic.h"
#include "lib/shell_records.h"
#include "lib/state/nodewizard.h"
#include "model.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/dialogs.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

template <class F>
double Millis(F &&f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void Init(IntT) {}
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", Init, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

// A fresh session with the plug-in's resources and the document made active.
void Activate(F_ObjHandleT doc) { F_ApiSetId(0, 0, FP_ActiveDoc, doc); }

// A document of n items under one root, each with a distinct value of "v" (and an empty "id").
F_ObjHandleT ValuesDoc(int n) {
    F_ObjHandleT doc = host::NewDocument("Z:\\values_" + std::to_string(n) + ".fm");
    F_ObjHandleT rootDef = host::AddElementDef(doc, "Root");
    F_ObjHandleT item = host::AddElementDef(doc, "Item", FV_FO_CONTAINER, "Body");
    host::AttrDef id;
    id.name = "id";
    id.type = FV_AT_UNIQUE_ID;
    host::AddAttributeDef(item, id);
    host::AttrDef v;
    v.name = "v";
    host::AddAttributeDef(item, v);
    F_ObjHandleT root = host::AppendElement(doc, 0, rootDef, host::MainFlow(doc));
    for (int i = 0; i < n; ++i) {
        F_ObjHandleT e = host::AppendElement(doc, root, item);
        host::SetAttribute(doc, e, "v", {"value" + std::to_string(i)});
    }
    return doc;
}

// A document with n element definitions (and one element).
F_ObjHandleT DefinitionsDoc(int n) {
    F_ObjHandleT doc = host::NewDocument("Z:\\defs_" + std::to_string(n) + ".fm");
    F_ObjHandleT first = 0;
    for (int i = n; i > 0; --i) {
        F_ObjHandleT d = host::AddElementDef(doc, "Def" + std::to_string(i));
        if (!first) first = d;
    }
    host::AppendElement(doc, 0, first, host::MainFlow(doc));
    return doc;
}

void FreshSession() {
    host::ResetSession();
    host::ResetClients();
    host::ResetUser();
    host::LoadClientInProcess(ClientInit, "");
    om_NWSetDefaults();
    DialogHandles = DialogHandlesT{};
}

// Opening the value drop-down: gathering every distinct value of the catalogue and handing it to
// the list editor, on 10,000, 100,000 and 1,000,000 distinct values. Each round runs in a fresh
// copy of the process (the document built before the clock starts), warmed by one untimed run.
void BM_ValueDropDown(benchmark::State &state) {
    constexpr int kSizes[] = {10000, 100000, 1000000};
    double best[3] = {1e300, 1e300, 1e300};
    size_t offered = 0;
    for (auto _ : state)
        for (int i = 0; i < 3; ++i) {
            qvbench::Timed t = qvbench::InFreshProcess([&] {
                FreshSession();
                F_ObjHandleT doc = ValuesDoc(kSizes[i]);
                om_DlgInitGeneric();  // the list editor keeps the list it is handed
                qvbench::Timed r;
                r.ms = Millis([&] { r.count = om_NWOfferAttrValues(doc, 0); });
                host::ResetSession();
                return r;
            });
            best[i] = std::min(best[i], t.ms);
            offered = t.count;
        }
    state.counters["offered_1m"] = double(offered);
    state.counters["10k_ms"] = best[0];
    state.counters["100k_ms"] = best[1];
    state.counters["1m_ms"] = best[2];
    state.counters["time_10x_over_1x"] = best[1] / best[0];
    state.counters["time_100x_over_10x"] = best[2] / best[1];
    std::printf("value drop-down: 10k %.2f ms, 100k %.2f ms (growth %.1fx), 1M %.2f ms (growth %.1fx)\n", best[0],
                best[1], best[1] / best[0], best[2], best[2] / best[1]);
}
BENCHMARK(BM_ValueDropDown)->Unit(benchmark::kMillisecond)->Iterations(3);

// The Node Wizard's full refresh with 100 and 1,000 element definitions in the active document.
void BM_WizardRefresh(benchmark::State &state) {
    FreshSession();
    F_ObjHandleT small = DefinitionsDoc(100), big = DefinitionsDoc(1000);
    Activate(small);
    om_NWOpenWizardDialog(-501, -501, 0);
    double t1 = 1e300, t10 = 1e300;
    for (auto _ : state) {
        Activate(small);
        t1 = std::min(t1, Millis([] { om_NWRefreshWizardDialog(0); }));
        Activate(big);
        t10 = std::min(t10, Millis([] { om_NWRefreshWizardDialog(0); }));
    }
    state.counters["small_ms"] = t1;
    state.counters["big_ms"] = t10;
    state.counters["time_10x_over_1x"] = t10 / t1;
}
BENCHMARK(BM_WizardRefresh)->Unit(benchmark::kMillisecond)->Iterations(20);

// Set unique ID over every element of a flow of 1,000 and of 10,000 elements, as one batch.
void BM_SetUniqueIdOverFlow(benchmark::State &state) {
    double t1 = 1e300, t10 = 1e300;
    auto run = [](int n) {
        FreshSession();
        F_ObjHandleT doc = ValuesDoc(n);
        std::vector<F_ObjHandleT> items;
        F_ObjHandleT root = F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement);
        for (F_ObjHandleT e = F_ApiGetId(doc, root, FP_FirstChildElement); e;
             e = F_ApiGetId(doc, e, FP_NextSiblingElement))
            items.push_back(e);
        om_NWAttrForgetUniqueIds();
        AttemptedActions = 0;
        return Millis([&] {
            for (F_ObjHandleT e : items) {
                benchmark::DoNotOptimize(om_NWAttrSetUniqueId(doc, e));
                ++AttemptedActions;
            }
        });
    };
    for (auto _ : state) {
        t1 = std::min(t1, run(1000));
        t10 = std::min(t10, run(10000));
    }
    state.counters["small_ms"] = t1;
    state.counters["big_ms"] = t10;
    state.counters["time_10x_over_1x"] = t10 / t1;
}
BENCHMARK(BM_SetUniqueIdOverFlow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
