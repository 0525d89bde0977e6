// The stylesheet transformation against libxslt on the same XML: a source of 2,000 and of
// 20,000 para elements, and a stylesheet whose table row is repeated for every para with the
// para's text in its cell (the XSLT does the same with a for-each making one row per para).
// Prints the time of each, their ratio (transformation / libxslt) and how each grows from the
// small source to the large one. Each time is the best of the rounds, each round in a fresh copy of
// the process.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <chrono>
#include <map>

#include "bench/retag_documents.h"
#include "model.h"
#include "tests/support/xml_tree.h"
#include "transform/xform.h"
#include "xpath/xpath.h"

namespace {

std::string SourceXml(int paras) {
    std::string s = "<doc>";
    for (int i = 0; i < paras; ++i) s += "<para>Paragraph " + std::to_string(i) + "</para>";
    return s + "</doc>";
}

const char *const kXslt =
    "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
    "<xsl:template match='/'><report><table><xsl:for-each select='//para'>"
    "<row><cell><xsl:value-of select='.'/></cell></row></xsl:for-each></table></report></xsl:template>"
    "</xsl:stylesheet>";

F_ObjHandleT Def(F_ObjHandleT doc, const char *name, IntT kind, bool vocabulary) {
    F_ObjHandleT d = host::AddElementDef(doc, name, kind);
    if (vocabulary)
        for (const char *a : {"select", "source_file", "element_tag", "num_columns", "column_widths", "ContextDocId",
                              "ContextNodeId", "ContextAttributeNumber", "SequenceNumber"}) {
            host::AttrDef def;
            def.name = a;
            host::AddAttributeDef(d, def);
        }
    return d;
}

// A fresh stylesheet: report(QVRN_table(QVRN_tablebody(QVRN_tablerow(QVRN_tablecell(QVRN_value-of))))).
F_ObjHandleT Stylesheet(const std::string &sourcePath) {
    static int n = 0;
    F_ObjHandleT doc = host::NewDocument("Z:\\tmp\\xform_bench_style" + std::to_string(++n) + ".fm");
    Def(doc, "Tbl", FV_FO_TBL, false);
    Def(doc, "TBody", FV_FO_TBL_BODY, false);
    Def(doc, "TRow", FV_FO_TBL_ROW, false);
    Def(doc, "TCell", FV_FO_TBL_CELL, false);
    F_ObjHandleT root = host::AppendElement(doc, 0, Def(doc, "report", FV_FO_CONTAINER, false), host::MainFlow(doc));
    F_ObjHandleT table = host::AppendElement(doc, root, Def(doc, "QVRN_table", FV_FO_CONTAINER, true));
    host::SetAttribute(doc, table, "element_tag", {"Tbl"});
    host::SetAttribute(doc, table, "num_columns", {"1"});
    F_ObjHandleT body = host::AppendElement(doc, table, Def(doc, "QVRN_tablebody", FV_FO_CONTAINER, true));
    host::SetAttribute(doc, body, "element_tag", {"TBody"});
    F_ObjHandleT row = host::AppendElement(doc, body, Def(doc, "QVRN_tablerow", FV_FO_CONTAINER, true));
    host::SetAttribute(doc, row, "element_tag", {"TRow"});
    host::SetAttribute(doc, row, "source_file", {sourcePath});
    host::SetAttribute(doc, row, "select", {"//para"});
    F_ObjHandleT cell = host::AppendElement(doc, row, Def(doc, "QVRN_tablecell", FV_FO_CONTAINER, true));
    host::SetAttribute(doc, cell, "element_tag", {"TCell"});
    F_ObjHandleT value = host::AppendElement(doc, cell, Def(doc, "QVRN_value-of", FV_FO_CONTAINER, true));
    host::SetAttribute(doc, value, "select", {"."});
    return doc;
}

struct Source {
    std::string path;
    xmlDoc *xml = nullptr;
};

Source &Sources(int paras) {
    static std::map<int, Source> cache;
    Source &s = cache[paras];
    if (!s.xml) {
        std::string x = SourceXml(paras);
        s.path = "Z:\\tmp\\xform_bench_source" + std::to_string(paras) + ".fm";
        qvtest::BuildDocument(x, s.path);
        s.xml = xmlReadMemory(x.data(), int(x.size()), "s.xml", nullptr, XML_PARSE_NOBLANKS);
    }
    return s;
}

xsltStylesheet *Xslt() {
    static xsltStylesheet *sheet = nullptr;
    if (!sheet) {
        xmlDoc *d = xmlReadMemory(kXslt, int(std::char_traits<char>::length(kXslt)), "t.xsl", nullptr, 0);
        sheet = xsltParseStylesheetDoc(d);
    }
    return sheet;
}

using qvbench::InFreshProcess;
using qvbench::Millis;
using qvbench::Timed;

// Each round runs in a fresh copy of the process, the sources loaded before.
double Transform(int paras) {
    Source &s = Sources(paras);
    return InFreshProcess([&] {
               F_ObjHandleT style = Stylesheet(s.path);
               XformRunState.reportErrors = 0;
               Timed t;
               t.ms = Millis([&] { om_XformTransformDocument(style, style); });
               host::CloseDocument(style);
               return t;
           })
        .ms;
}

double Libxslt(int paras) {
    Source &s = Sources(paras);
    xsltStylesheet *sheet = Xslt();
    return InFreshProcess([&] {
               xmlDoc *out = nullptr;
               Timed t;
               t.ms = Millis([&] { out = xsltApplyStylesheet(sheet, s.xml, nullptr); });
               xmlFreeDoc(out);
               return t;
           })
        .ms;
}

void BM_TransformVsLibxslt(benchmark::State &state) {
    om_XPathInitEngine(100000, 5000, 1 << 30);
    double small = 1e300, big = 1e300, xsmall = 1e300, xbig = 1e300;
    for (auto _ : state) {
        small = std::min(small, Transform(2000));
        xsmall = std::min(xsmall, Libxslt(2000));
        big = std::min(big, Transform(20000));
        xbig = std::min(xbig, Libxslt(20000));
    }
    state.counters["xform_2k_ms"] = small;
    state.counters["libxslt_2k_ms"] = xsmall;
    state.counters["xform_20k_ms"] = big;
    state.counters["libxslt_20k_ms"] = xbig;
    state.counters["ratio_2k"] = small / xsmall;
    state.counters["ratio_20k"] = big / xbig;
    state.counters["xform_growth_10x"] = big / small;
    state.counters["libxslt_growth_10x"] = xbig / xsmall;
}
BENCHMARK(BM_TransformVsLibxslt)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
