// A Node Wizard Script with one event that retags every match, against the Node Wizard's Perform
// Action(s) On All with the same retag, over 50,000 matches in the same run; prints both times
// and their ratio. Loading is not timed: each round works on freshly built documents. Each time
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
using qvbench::Millis;


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

double ScriptRetag(const std::string &xml, size_t *retagged) {
    F_ObjHandleT doc = FreshTarget(xml);
    F_ObjHandleT scripts = qvtest::BuildDocument(kScripts, "Z:\\tmp\\script_bench_scripts.fm");
    F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    double ms = Millis([&] { om_NWSRunScript("Retag", scripts, -1, doc, 0); });
    *retagged = NodeWizardRun.elemSuccesses;
    return ms;
}

double NodeWizardRetag(const std::string &xml, size_t *retagged) {
    FreshTarget(xml);
    NodeWizardPrompts.performAllWarning = 0;
    NodeWizardQuery.expression = "//para";
    NodeWizardQuery.elementAction = 2;
    NodeWizardRun.retagName = "note";
    double ms = Millis([] { om_NWRunQuery(NW_BTN_PERFORM_ON_ALL); });
    *retagged = NodeWizardRun.elemSuccesses;
    return ms;
}

void BM_ScriptRetagVsPerformOnAll(benchmark::State &state) {
    const std::string xml = GenerateXml(int(state.range(0)));
    double script = 1e300, wizard = 1e300;
    size_t n1 = 0, n2 = 0;
    for (auto _ : state) {
        script = std::min(script, ScriptRetag(xml, &n1));
        wizard = std::min(wizard, NodeWizardRetag(xml, &n2));
    }
    state.counters["script_retagged"] = double(n1);
    state.counters["wizard_retagged"] = double(n2);
    state.counters["script_ms"] = script;
    state.counters["wizard_ms"] = wizard;
    state.counters["ratio"] = script / wizard;
}
BENCHMARK(BM_ScriptRetagVsPerformOnAll)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
