// Perform Action(s) On All with "Retag as" over 10,000 and 50,000 matches against libxml2 doing
// the same in the same run (its XPath, then renaming each matched node), with the ratio of the
// times, and how the Node Wizard's time grows from 10,000 to 50,000 matches. Loading is not
// timed: each round works on a freshly built document, in a fresh copy of the process. Each time
// is the best of the rounds.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <algorithm>

#include "bench/retag_documents.h"
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

void SetUpNodeWizard() {
    static bool done = false;
    if (done) return;
    done = true;
    om_XPathInitEngine(100000, 5000, 1 << 30);
    om_XPathSetMaxMatches(1 << 30);
}

// One Perform Action(s) On All with "Retag as" note over //para on a fresh document (in a fresh
// process); the time and the number retagged.
Timed NodeWizardRetagAll(const std::string &xml) {
    return InFreshProcess([&] {
        host::ResetSession();
        host::ResetUser();
        F_ObjHandleT doc = qvtest::BuildDocument(xml, "Z:\\tmp\\nw_bench.fm");
        host::AddElementDef(doc, "note");
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
        om_NWSetDefaults();
        NodeWizardPrompts.performAllWarning = 0;  // no confirmation asked
        NodeWizardQuery.expression = "//para";
        NodeWizardQuery.elementAction = 2;
        NodeWizardRun.retagName = "note";
        Timed t;
        t.ms = Millis([] { om_NWRunQuery(NW_BTN_PERFORM_ON_ALL); });
        t.count = size_t(NodeWizardRun.elemSuccesses);
        return t;
    });
}

// libxml2: its XPath over //para, then each matched node renamed (in a fresh process); the time
// and the number renamed.
Timed LibxmlRetagAll(const std::string &xml) {
    return InFreshProcess([&] {
        xmlDoc *x = xmlReadMemory(xml.data(), int(xml.size()), "b.xml", nullptr, XML_PARSE_NOBLANKS);
        Timed t;
        t.ms = Millis([&] {
            xmlXPathContext *ctx = xmlXPathNewContext(x);
            xmlXPathObject *res = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//para"), ctx);
            size_t n = res && res->nodesetval ? size_t(res->nodesetval->nodeNr) : 0;
            for (size_t i = 0; i < n; ++i)
                xmlNodeSetName(res->nodesetval->nodeTab[i], reinterpret_cast<const xmlChar *>("note"));
            t.count = n;
            xmlXPathFreeObject(res);
            xmlXPathFreeContext(ctx);
        });
        xmlFreeDoc(x);
        return t;
    });
}

// Node Wizard and libxml2 over the same number of matches: times and their ratio.
void BM_NodeWizardRetagAllVsLibxml2(benchmark::State &state) {
    SetUpNodeWizard();
    const std::string xml = GenerateXml(int(state.range(0)));
    double ours = 1e300, lib = 1e300;
    size_t n1 = 0, n2 = 0;
    for (auto _ : state) {
        Timed a = NodeWizardRetagAll(xml), b = LibxmlRetagAll(xml);
        ours = std::min(ours, a.ms);
        lib = std::min(lib, b.ms);
        n1 = a.count;
        n2 = b.count;
    }
    state.counters["retagged"] = double(n1);
    state.counters["libxml2_retagged"] = double(n2);
    state.counters["nodewizard_ms"] = ours;
    state.counters["libxml2_ms"] = lib;
    state.counters["ratio"] = ours / lib;
}
BENCHMARK(BM_NodeWizardRetagAllVsLibxml2)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The Node Wizard's time over 50,000 matches divided by its time over 10,000.
void BM_NodeWizardRetagAllScaling(benchmark::State &state) {
    SetUpNodeWizard();
    const std::string small = GenerateXml(10000), big = GenerateXml(50000);
    double t1 = 1e300, t5 = 1e300;
    for (auto _ : state) {
        t1 = std::min(t1, NodeWizardRetagAll(small).ms);
        t5 = std::min(t5, NodeWizardRetagAll(big).ms);
    }
    state.counters["time_5x_over_1x"] = t5 / t1;
}
BENCHMARK(BM_NodeWizardRetagAllScaling)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
