// The XPath engine's Match All against libxml2's XPath on the same generated document (about
// 70,000 elements), with the ratio of their times, and the engine's cost on a document ten
// times smaller (the scaling counter is the time on the large document over the small one).
// Each time is the best of the rounds, so that the load of other programs weighs less.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <chrono>
#include <map>

#include "tests/support/xml_tree.h"
#include "xpath/xpath.h"

namespace {

const char *const kExpressions[] = {"//para", "//para[@type='note']", "//sec/para[3]",
                                    "//para[contains(., 'Text 1')]"};

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

struct Fixture {
    F_ObjHandleT doc = 0;
    xmlDoc *xml = nullptr;
};

Fixture &Documents(int sections) {
    static std::map<int, Fixture> cache;
    Fixture &f = cache[sections];
    if (!f.doc) {
        std::string x = GenerateXml(sections);
        f.doc = qvtest::BuildDocument(x, "Z:\\tmp\\bench" + std::to_string(sections) + ".fm");
        f.xml = xmlReadMemory(x.data(), int(x.size()), "b.xml", nullptr, XML_PARSE_NOBLANKS);
    }
    return f;
}

[[gnu::noinline]] size_t EngineMatchAll(F_ObjHandleT doc, const char *expr) {
    IntT s = om_XPathCompile(expr, 0);
    om_XPathResetSequence(s, 1);
    std::vector<Match> matches;
    xpath_MatchAll(doc, 0, -1, s, 0, 0, matches);
    return matches.size();
}

[[gnu::noinline]] size_t LibxmlMatchAll(xmlDoc *x, const char *expr) {
    xmlXPathContext *ctx = xmlXPathNewContext(x);
    xmlXPathObject *res = xmlXPathEvalExpression((const xmlChar *)expr, ctx);
    size_t n = res && res->nodesetval ? size_t(res->nodesetval->nodeNr) : 0;
    xmlXPathFreeObject(res);
    xmlXPathFreeContext(ctx);
    return n;
}

template <class F>
double Millis(F &&f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void SetUpEngine() {
    static bool done = false;
    if (done) return;
    done = true;
    om_XPathInitEngine(100000, 5000, 1 << 30);
    om_XPathSetMaxMatches(1 << 30);
}

// Engine and libxml2 on the large document: times and their ratio (engine / libxml2).
void BM_XPathVsLibxml2(benchmark::State &state) {
    SetUpEngine();
    const char *expr = kExpressions[state.range(0)];
    Fixture &big = Documents(6500);
    double engine = 1e300, lib = 1e300;
    size_t ours = 0, theirs = 0;
    for (auto _ : state) {
        engine = std::min(engine, Millis([&] { ours = EngineMatchAll(big.doc, expr); }));
        lib = std::min(lib, Millis([&] { theirs = LibxmlMatchAll(big.xml, expr); }));
    }
    state.SetLabel(expr);
    state.counters["matches"] = double(ours);
    state.counters["libxml2_matches"] = double(theirs);
    state.counters["engine_ms"] = engine;
    state.counters["libxml2_ms"] = lib;
    state.counters["ratio"] = engine / lib;
}
BENCHMARK(BM_XPathVsLibxml2)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(10);

// The engine on documents of 650 and 6,500 sections: the large one's time over the small one's.
void BM_XPathScaling(benchmark::State &state) {
    SetUpEngine();
    const char *expr = kExpressions[state.range(0)];
    Fixture &small = Documents(650), &big = Documents(6500);
    double t1 = 1e300, t10 = 1e300;
    for (auto _ : state) {
        t1 = std::min(t1, Millis([&] { EngineMatchAll(small.doc, expr); }));
        t10 = std::min(t10, Millis([&] { EngineMatchAll(big.doc, expr); }));
    }
    state.SetLabel(expr);
    state.counters["time_10x_over_1x"] = t10 / t1;
}
BENCHMARK(BM_XPathScaling)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
