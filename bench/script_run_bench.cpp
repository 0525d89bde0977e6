// A Node Wizard Script with one event that retags every match, against the Node Wizard's Perform
// Action(s) On All with the same retag, over 100,000 and 1,000,000 matches in the same run;
// prints both times and their ratio. Loading is not timed: each round works on freshly built
// documents, in a fresh copy of the process warmed by one untimed run of the same side. Each time
// is the best of the rounds.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/retag_documents.h"
#include "lib/state/nodewizard.h"
#include "model.h"
#include "nodewizard/query_runs.h"
#include "nodewizard/script_runs.h"
#include "tests/support/xml_tree.h"
#include "user.h"
#include "xpath/xpath.h"

namespace {

using qvbench::GenerateXml;
using qvbench::InFreshProcess;
using qvbench::Millis;
using qvbench::Timed;


// The scripts document: one active script, one event over //para retagging each match.
const char *kScripts =
    "<NodeWizardScripts><NodeWizardScript><NWScriptName>Retag</NWScriptName><NWScriptSettings><GeneralSettings>"
    "<ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings><NWScriptEvent>"
    "<XPathExpression>//para</XPathExpression><ElementActions><Retag_as><Static_value>note</Static_value>"
    "</Retag_as></ElementActions></NWScriptEvent></NodeWizardScript></NodeWizardScripts>";


F_ObjHandleT FreshTarget(const std::string &xml) {
    host::ResetSession();
    host::ResetUser();
    om_XPathInitEngine(100000, 5000, 1 << 30);
    om_XPathSetMaxMatches(1 << 30);
    F_ObjHandleT doc = qvtest::BuildDocument(xml, "Z:\\tmp\\script_bench.fm");
    host::AddElementDef(doc, "note");
    F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    om_NWSetDefaults();
    return doc;
}

Timed ScriptRetag(const std::string &xml) {
    return InFreshProcess([&] {
        F_ObjHandleT doc = FreshTarget(xml);
        F_ObjHandleT scripts = qvtest::BuildDocument(kScripts, "Z:\\tmp\\script_bench_scripts.fm");
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
        Timed t;
        t.ms = Millis([&] { om_NWSRunScript("Retag", scripts, -1, doc, 0); });
        t.count = size_t(NodeWizardRun.elemSuccesses);
        return t;
    });
}

Timed NodeWizardRetag(const std::string &xml) {
    return InFreshProcess([&] {
        FreshTarget(xml);
        NodeWizardPrompts.performAllWarning = 0;
        NodeWizardQuery.expression = "//para";
        NodeWizardQuery.elementAction = 2;
        NodeWizardRun.retagName = "note";
        Timed t;
        t.ms = Millis([] { om_NWRunQuery(NW_BTN_PERFORM_ON_ALL); });
        t.count = size_t(NodeWizardRun.elemSuccesses);
        return t;
    });
}

void BM_ScriptRetagVsPerformOnAll(benchmark::State &state) {
    const std::string xml = GenerateXml(int(state.range(0)));
    double script = 1e300, wizard = 1e300;
    size_t n1 = 0, n2 = 0;
    for (auto _ : state) {
        Timed a = ScriptRetag(xml), b = NodeWizardRetag(xml);
        script = std::min(script, a.ms);
        wizard = std::min(wizard, b.ms);
        n1 = a.count;
        n2 = b.count;
    }
    state.counters["script_retagged"] = double(n1);
    state.counters["wizard_retagged"] = double(n2);
    state.counters["script_ms"] = script;
    state.counters["wizard_ms"] = wizard;
    state.counters["ratio"] = script / wizard;
}
BENCHMARK(BM_ScriptRetagVsPerformOnAll)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
