// Applying condition rules to a whole document: 20 rules (two that tag every seventh paragraph,
// eighteen that match nothing, so most elements try every rule) over documents of 5,000 and
// 50,000 elements. The counters give both times and their ratio, which should stay near 10.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "fdk.h"
#include "lib/state/cond_settings.h"
#include "model.h"
#include "plugin/cond_apply.h"
#include "plugin/cond_settings.h"
#include "xpath/xpath.h"

namespace {

// A document of about n elements: sections of 10 paragraphs with a kind attribute and text.
F_ObjHandleT BuildDoc(int n) {
    host::ResetSession();
    F_ObjHandleT doc = host::NewDocument("Z:\\cond_bench.fm");
    F_ObjHandleT sec = host::AddElementDef(doc, "sec");
    F_ObjHandleT para = host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    host::AttrDef kind;
    kind.name = "kind";
    host::AddAttributeDef(para, kind);
    F_ObjHandleT root = host::AppendElement(doc, 0, sec, host::MainFlow(doc));
    F_ObjHandleT s = 0;
    for (int i = 0; i < n / 2; ++i) {
        if (i % 10 == 0) s = host::AppendElement(doc, root, sec);
        F_ObjHandleT p = host::AppendElement(doc, s, para);
        host::SetAttribute(doc, p, "kind", {"k" + std::to_string(i % 7)});
        host::AppendText(doc, p, "text");
    }
    F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_ApiNewNamedObject(doc, FO_CondFmt, "Print");
    return doc;
}

void SetRules() {
    om_CondAllocRules(20);
    for (int i = 0; i < 20; ++i) {
        AutoApplyRule &r = AutoApplyRules.rules[static_cast<size_t>(i)];
        r.expression = i == 18 ? "self::p[@kind='k1']" : i == 19 ? "self::p[@kind='k2']"
                                                                  : "self::p[@kind='none" + std::to_string(i) + "']";
        om_CondWrapAsSelfPredicate(&r.expression);
        r.conditions = {i == 18 ? "Draft" : "Print"};
        r.active = 1;
        r.clearExisting = 1;
        r.compiled = om_XPathCompile(r.expression, 0);
    }
}

double TimeDocRun(int n) {
    F_ObjHandleT doc = BuildDoc(n);
    om_XPathInitEngine(5000, 255, 10000);
    om_XPathResetNodeTable();
    SetRules();
    CondTriggerSettings = CondTriggerSettingsT{};
    auto t0 = std::chrono::steady_clock::now();
    IntT count = om_CondApplyRulesToDoc(doc, 0, 0);
    auto t1 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(count);
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

void BM_ApplyTwentyRulesToDocument(benchmark::State &state) {
    double small = 0, large = 0;
    int rounds = 0;
    for (auto _ : state) {
        small += TimeDocRun(5000);
        large += TimeDocRun(50000);
        ++rounds;
    }
    state.counters["ms_5000_elements"] = small / rounds;
    state.counters["ms_50000_elements"] = large / rounds;
    state.counters["growth"] = large / small;
}

}  // namespace

BENCHMARK(BM_ApplyTwentyRulesToDocument)->Iterations(2)->Unit(benchmark::kMillisecond);
