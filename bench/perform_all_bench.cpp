// Perform Action(s) On All over //para against libxml2 doing the same in the same run (its XPath,
// then the edit on each matched node), with the ratio of the times and how the Node Wizard's time
// grows over ten times more matches:
// - "Retag as" note over 10,000, 50,000, 100,000 and 1,000,000 matches, against renaming each
//   match (`--benchmark_filter=RetagAll`);
// - "Replace values with spec" of the attribute type over 100,000 and 1,000,000 matches, against
//   setting the attribute on each match (`--benchmark_filter=ReplaceValuesAll`).
// Loading is not timed: each round works on a freshly built document, in a fresh copy of the
// process, warmed by one untimed run of the same side. Each time is the best of the rounds.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <functional>

#include "bench/retag_documents.h"
#include "lib/globals.h"
#include "lib/state/nodewizard.h"
#include "model.h"
#include "nodewizard/query_runs.h"
#include "tests/support/xml_tree.h"
#include "user.h"
#include "xpath/xpath.h"

namespace {

using qvbench::GenerateXml;
using qvbench::InFreshProcess;
using qvbench::Millis;
using qvbench::Timed;

// What one comparison sets up and edits: the paragraphs' attributes in the generated document,
// the Node Wizard's actions, and the edit libxml2 makes on each match.
struct Operation {
    std::string paraAttrs;
    std::function<void()> setActions;
    std::function<void(xmlNode *)> libxmlEdit;
};

const Operation &Retag() {
    static const Operation op{
        "",
        [] {
            NodeWizardQuery.elementAction = 2;
            NodeWizardRun.retagName = "note";
        },
        [](xmlNode *n) { xmlNodeSetName(n, reinterpret_cast<const xmlChar *>("note")); }};
    return op;
}

const Operation &ReplaceValues() {
    static const Operation op{
        " type=\"body\"",
        [] {
            NodeWizardQuery.elementAction = 1;
            AttrActionCode = 42;
            ActionAttrNames = {"type"};
            ActionAttrValues = {"note"};
        },
        [](xmlNode *n) {
            xmlSetProp(n, reinterpret_cast<const xmlChar *>("type"), reinterpret_cast<const xmlChar *>("note"));
        }};
    return op;
}

void SetUpNodeWizard() {
    static bool done = false;
    if (done) return;
    done = true;
    om_XPathInitEngine(100000, 5000, 1 << 30);
    om_XPathSetMaxMatches(1 << 30);
}

// One Perform Action(s) On All over //para on a fresh document (in a fresh process); the time and
// the number of successful element or attribute actions.
Timed NodeWizardAll(const std::string &xml, const Operation &op) {
    return InFreshProcess([&] {
        host::ResetSession();
        host::ResetUser();
        F_ObjHandleT doc = qvtest::BuildDocument(xml, "Z:\\tmp\\nw_bench.fm");
        host::AddElementDef(doc, "note");
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
        om_NWSetDefaults();
        NodeWizardPrompts.performAllWarning = 0;  // no confirmation asked
        NodeWizardQuery.expression = "//para";
        op.setActions();
        Timed t;
        t.ms = Millis([] { om_NWRunQuery(NW_BTN_PERFORM_ON_ALL); });
        t.count = size_t(NodeWizardRun.elemSuccesses + NodeWizardRun.attrSuccesses);
        return t;
    });
}

// libxml2: its XPath over //para, then the edit on each matched node (in a fresh process); the
// time and the number edited.
Timed LibxmlAll(const std::string &xml, const Operation &op) {
    return InFreshProcess([&] {
        xmlDoc *x = xmlReadMemory(xml.data(), int(xml.size()), "b.xml", nullptr, XML_PARSE_NOBLANKS);
        Timed t;
        t.ms = Millis([&] {
            xmlXPathContext *ctx = xmlXPathNewContext(x);
            xmlXPathObject *res = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//para"), ctx);
            size_t n = res && res->nodesetval ? size_t(res->nodesetval->nodeNr) : 0;
            for (size_t i = 0; i < n; ++i) op.libxmlEdit(res->nodesetval->nodeTab[i]);
            t.count = n;
            xmlXPathFreeObject(res);
            xmlXPathFreeContext(ctx);
        });
        xmlFreeDoc(x);
        return t;
    });
}

// The Node Wizard and libxml2 over the same number of matches: times and their ratio.
void CompareWithLibxml2(benchmark::State &state, const Operation &op) {
    SetUpNodeWizard();
    const std::string xml = GenerateXml(int(state.range(0)), op.paraAttrs);
    double ours = 1e300, lib = 1e300;
    size_t n1 = 0, n2 = 0;
    for (auto _ : state) {
        Timed a = NodeWizardAll(xml, op), b = LibxmlAll(xml, op);
        ours = std::min(ours, a.ms);
        lib = std::min(lib, b.ms);
        n1 = a.count;
        n2 = b.count;
    }
    state.counters["edited"] = double(n1);
    state.counters["libxml2_edited"] = double(n2);
    state.counters["nodewizard_ms"] = ours;
    state.counters["libxml2_ms"] = lib;
    state.counters["ratio"] = ours / lib;
}

// The Node Wizard's time over 1,000,000 matches divided by its time over 100,000.
void Growth(benchmark::State &state, const Operation &op) {
    SetUpNodeWizard();
    const std::string small = GenerateXml(100000, op.paraAttrs), big = GenerateXml(1000000, op.paraAttrs);
    double t1 = 1e300, t10 = 1e300;
    for (auto _ : state) {
        t1 = std::min(t1, NodeWizardAll(small, op).ms);
        t10 = std::min(t10, NodeWizardAll(big, op).ms);
    }
    state.counters["time_10x_over_1x"] = t10 / t1;
}

void BM_NodeWizardRetagAllVsLibxml2(benchmark::State &state) { CompareWithLibxml2(state, Retag()); }
BENCHMARK(BM_NodeWizardRetagAllVsLibxml2)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_NodeWizardRetagAllGrowth(benchmark::State &state) { Growth(state, Retag()); }
BENCHMARK(BM_NodeWizardRetagAllGrowth)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NodeWizardReplaceValuesAllVsLibxml2(benchmark::State &state) { CompareWithLibxml2(state, ReplaceValues()); }
BENCHMARK(BM_NodeWizardReplaceValuesAllVsLibxml2)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_NodeWizardReplaceValuesAllGrowth(benchmark::State &state) { Growth(state, ReplaceValues()); }
BENCHMARK(BM_NodeWizardReplaceValuesAllGrowth)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
