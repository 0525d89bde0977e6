// The XPath engine's Match All against libxml2's XPath and pugixml's on the same generated document
// (about 70,000 elements), with the ratio of the times, and the engine's growth from a document ten
// times smaller. Each round of each side runs in a fresh copy of the process, warmed by one untimed
// run of the same side, with the document built before the clock starts; the time counted is the
// best of the rounds, so that the load of other programs weighs less. pugixml joins when the build
// finds it (package libpugixml-dev).
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <cstdio>
#include <string>

#ifdef QV_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

#include "bench/retag_documents.h"
#include "model.h"
#include "model_layout.h"
#include "tests/support/xml_tree.h"
#include "xpath/xpath.h"

namespace {

using qvbench::InFreshProcess;
using qvbench::Millis;
using qvbench::Timed;

const char *const kExpressions[] = {"//para", "//para[@type='note']", "//sec/para[3]",
                                    "//para[contains(., 'Text 1')]"};
constexpr int kSmall = 650, kBig = 6500;  // sections of ten paragraphs

// Sections of ten paragraphs; every third paragraph is a note.
std::string GenerateXml(int sections) {
    std::string s = "<doc>";
    int n = 0;
    for (int i = 0; i < sections; ++i) {
        s += "<sec id='s" + std::to_string(i) + "'>";
        for (int j = 0; j < 10; ++j, ++n)
            s += std::string("<para") + (n % 3 == 0 ? " type='note'" : " type='body'") + ">Text " + std::to_string(n) +
                 "</para>";
        s += "</sec>";
    }
    return s + "</doc>";
}

const std::string &Xml(int sections) {
    static const std::string small = GenerateXml(kSmall), big = GenerateXml(kBig);
    return sections == kSmall ? small : big;
}

[[gnu::noinline]] size_t EngineMatchAll(F_ObjHandleT doc, const char *expr) {
    IntT s = om_XPathCompile(expr, 0);
    om_XPathResetSequence(s, 1);
    std::vector<Match> matches;
    xpath_MatchAll(doc, 0, -1, s, 0, 0, matches);
    return matches.size();
}

Timed Engine(int sections, const char *expr) {
    return InFreshProcess([&] {
        om_XPathInitEngine(100000, 5000, 1 << 30);
        om_XPathSetMaxMatches(1 << 30);
        host::ResetSession();
        F_ObjHandleT doc = qvtest::BuildDocument(Xml(sections), "Z:\\tmp\\bench.fm");
        // Laid out, as an open document is, with the elements' places in the text that an element's
        // text read looks up: the layout finds them on first use, which is the layout's work and
        // not Match All's.
        host::LayoutOf(doc)->Places();
        Timed t;
        t.ms = Millis([&] { t.count = EngineMatchAll(doc, expr); });
        host::ResetSession();
        return t;
    });
}

Timed Libxml2(int sections, const char *expr) {
    return InFreshProcess([&] {
        const std::string &x = Xml(sections);
        xmlDoc *d = xmlReadMemory(x.data(), int(x.size()), "b.xml", nullptr, XML_PARSE_NOBLANKS);
        Timed t;
        t.ms = Millis([&] {
            xmlXPathContext *ctx = xmlXPathNewContext(d);
            xmlXPathObject *res = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(expr), ctx);
            t.count = res && res->nodesetval ? size_t(res->nodesetval->nodeNr) : 0;
            xmlXPathFreeObject(res);
            xmlXPathFreeContext(ctx);
        });
        xmlFreeDoc(d);
        return t;
    });
}

#ifdef QV_HAVE_PUGIXML
Timed Pugixml(int sections, const char *expr) {
    return InFreshProcess([&] {
        const std::string &x = Xml(sections);
        pugi::xml_document d;
        d.load_buffer(x.data(), x.size());
        Timed t;
        t.ms = Millis([&] { t.count = d.select_nodes(expr).size(); });
        return t;
    });
}
#endif

// Times and ratios on the large document; the engine's growth from the small one.
void BM_XPathVsLibxml2(benchmark::State &state) {
    const char *expr = kExpressions[state.range(0)];
    double ours1 = 1e300, ours10 = 1e300, lib = 1e300, pugi = 1e300;
    size_t matches = 0, libMatches = 0, pugiMatches = 0;
    for (auto _ : state) {
        Timed a = Engine(kSmall, expr), b = Engine(kBig, expr), c = Libxml2(kBig, expr);
        ours1 = std::min(ours1, a.ms);
        ours10 = std::min(ours10, b.ms);
        lib = std::min(lib, c.ms);
        matches = b.count;
        libMatches = c.count;
#ifdef QV_HAVE_PUGIXML
        Timed d = Pugixml(kBig, expr);
        pugi = std::min(pugi, d.ms);
        pugiMatches = d.count;
#endif
    }
    state.SetLabel(expr);
    state.counters["matches"] = double(matches);
    state.counters["libxml2_matches"] = double(libMatches);
    state.counters["engine_ms"] = ours10;
    state.counters["libxml2_ms"] = lib;
    state.counters["ratio"] = ours10 / lib;
    state.counters["growth_10x"] = ours10 / ours1;
    std::printf("Match All %s: %.2f ms, libxml2 %.2f ms (%.2fx)", expr, ours10, lib, ours10 / lib);
#ifdef QV_HAVE_PUGIXML
    state.counters["pugixml_matches"] = double(pugiMatches);
    state.counters["pugixml_ms"] = pugi;
    state.counters["ratio_pugixml"] = ours10 / pugi;
    std::printf(", pugixml %.2f ms (%.2fx)", pugi, ours10 / pugi);
#endif
    std::printf("; growth over 10x %.1fx\n", ours10 / ours1);
}
BENCHMARK(BM_XPathVsLibxml2)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
