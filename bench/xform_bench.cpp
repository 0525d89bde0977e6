// The stylesheet transformation against libxslt on the same XML: sources of 2,000, 20,000 and
// 200,000 para elements, and a stylesheet whose table row is repeated for every para with the
// para's text in its cell (the XSLT does the same with a for-each making one row per para).
// Prints the time of each, their ratio (transformation / libxslt) at each size and how each grows
// over ten times the source. Each time is the best of the rounds, each round in a fresh copy of
// the process warmed by one untimed run of the same side.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    constexpr int kSizes[] = {2000, 20000, 200000};
    constexpr const char *kNames[] = {"2k", "20k", "200k"};
    double ours[3] = {1e300, 1e300, 1e300}, xslt[3] = {1e300, 1e300, 1e300};
    for (auto _ : state)
        for (int i = 0; i < 3; ++i) {
            ours[i] = std::min(ours[i], Transform(kSizes[i]));
            xslt[i] = std::min(xslt[i], Libxslt(kSizes[i]));
        }
    for (int i = 0; i < 3; ++i) {
        state.counters[std::string("xform_") + kNames[i] + "_ms"] = ours[i];
        state.counters[std::string("libxslt_") + kNames[i] + "_ms"] = xslt[i];
        state.counters[std::string("ratio_") + kNames[i]] = ours[i] / xslt[i];
        std::printf("transformation, %s para: %.2f ms (libxslt %.2f ms, %.2fx)", kNames[i], ours[i], xslt[i],
                    ours[i] / xslt[i]);
        if (i > 0)
            std::printf("; growth over 10x %.1fx (libxslt %.1fx)", ours[i] / ours[i - 1], xslt[i] / xslt[i - 1]);
        std::printf("\n");
    }
    state.counters["xform_growth_10x"] = ours[1] / ours[0];
    state.counters["xform_growth_100x_over_10x"] = ours[2] / ours[1];
    state.counters["libxslt_growth_10x"] = xslt[1] / xslt[0];
    state.counters["libxslt_growth_100x_over_10x"] = xslt[2] / xslt[1];
}
BENCHMARK(BM_TransformVsLibxslt)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
