// Every processor of the transformation through a small stylesheet and source pair: the
// stylesheet is transformed in place and its Main flow compared with the expected outline, with
// the codes of the entries written to the error report and the run's result.
#include "xform_fixture.h"

#include <cctype>
#include <ostream>
#include <string>

#include "lib/globals.h"
#include "lib/host/host_values.h"
#include "book_model.h"
#include "xpath/xpath.h"

using namespace xformtest;

namespace {

// The source every case may query (as "src.fm" beside the stylesheet).
const char *const kSource =
    "Doc(Sec{id=s1}(Title('Intro') Para{id=p1|kind=a|n=2}('ab') Para{id=p2|kind=b|n=10}('cd'))"
    " Sec{id=s2}(Para{id=p3|kind=a|n=2}('ef') Para{id=|kind=c|n=1}('gh')))";

struct Case {
    const char *name;
    const char *stylesheet;
    const char *expected;
    std::vector<IntT> codes;
    IntT result = 0;
    const char *templates = "";
};

const Case kCases[] = {
    {"copy-of", "Out(QVRN_copy-of{source_file=src.fm|select=//Para[@kind='a']})",
     "Out(Para{id=p1|kind=a|n=2}('ab') Para{id=p3|kind=a|n=2}('ef'))", {}},
    {"copy-of with max_matches and kept element",
     "Out(QVRN_copy-of{source_file=src.fm|select=//Para|max_matches=2|qvrn_element=Preserve})",
     "Out(QVRN_copy-of{select=//Para|source_file=src.fm|max_matches=2|qvrn_element=Preserve}"
     "(Para{id=p1|kind=a|n=2}('ab') Para{id=p2|kind=b|n=10}('cd')))",
     {}},
    {"copy-of of Current skips itself",
     "Out(Item('x') QVRN_copy-of{source_file=Current|select=//*[self::Item or self::QVRN_copy-of]})",
     "Out(Item('x') Item('x'))", {}},
    {"copy-of whose last step is an attribute", "Out(QVRN_copy-of{source_file=src.fm|select=//Para/@kind})",
     "Out(QVRN_copy-of{select=//Para/@kind|source_file=src.fm})", {445}, 13},
    {"a tag that differs in case is ordinary content", "Out(QVRN_Copy-of{select=//Para})",
     "Out(QVRN_Copy-of{select=//Para})", {}},
    {"only Preserve keeps the element", "Out(QVRN_value-of{source_file=src.fm|select=//Title|qvrn_element=preserve})",
     "Out('Intro')", {}},
    {"value-of flattens", "Out(QVRN_value-of{source_file=src.fm|select=//Sec[1]})", "Out('Introabcd')", {}},
    {"value-of of attributes", "Out(QVRN_value-of{source_file=src.fm|select=//Para/@kind})", "Out('abac')", {}},
    {"value-of of a parameter",
     "Out(QVRN_param{name=$$who|select='world'} P(QVRN_value-of{select=$who}) Q(QVRN_value-of{select=$nobody}))",
     "Out(P('world') Q('<UNDEFINED PARAMETER>'))", {}},
    {"for-each with inherited context",
     "Out(QVRN_for-each{source_file=src.fm|select=//Para[@kind!='c']}(Item(QVRN_value-of{select=.})))",
     "Out(Item('ab') Item('cd') Item('ef'))", {}},
    {"a named source inside another context is queried from its own top",
     "Out(QVRN_for-each{source_file=src.fm|select=//Title}(Item(QVRN_value-of{source_file=Current|select=/Out/Name})) Name('me'))",
     "Out(Item('me') Name('me'))", {}},
    {"for-each sorted numerically descending",
     "Out(QVRN_for-each{source_file=src.fm|select=//Para}(QVRN_sort{select=@n|order=Descending|data-type=Numeric}"
     " Item(QVRN_value-of{select=.})))",
     "Out(Item('cd') Item('ab') Item('ef') Item('gh'))", {}},
    {"for-each sorted as text",
     "Out(QVRN_for-each{source_file=src.fm|select=//Para}(QVRN_sort{select=@n}"
     " Item(QVRN_value-of{select=.})))",
     "Out(Item('gh') Item('cd') Item('ab') Item('ef'))", {}},
    {"for-each over Current skips its own matches",
     "Out(Item('a') Item('b') QVRN_for-each{source_file=Current|select=//Item}(Item('c')))",
     "Out(Item('a') Item('b') Item('c') Item('c'))", {}},
    {"for-each without matches", "Out(Keep QVRN_for-each{source_file=src.fm|select=//Nothing}(Item('c')))", "Out(Keep)",
     {}},
    {"if", "Out(QVRN_if{source_file=src.fm|test=//Title}(Yes) QVRN_if{source_file=src.fm|test=//Nothing}(No) QVRN_if{test=//Title})",
     "Out(Yes)", {}},
    {"choose: first matching when",
     "Out(QVRN_choose(QVRN_when{source_file=src.fm|test=//Nothing}(A) QVRN_when{source_file=src.fm|test=//Title}(B)"
     " QVRN_otherwise(C)) After)",
     "Out(B After)", {}},
    {"choose: otherwise", "Out(QVRN_choose(QVRN_when{source_file=src.fm|test=//Nothing}(A) QVRN_otherwise(C)))",
     "Out(C)", {}},
    {"choose: a chosen empty when removes the whole choose",
     "Out(QVRN_choose(QVRN_when{source_file=src.fm|test=//Title} QVRN_otherwise(C)) After)", "Out(After)", {}},
    {"choose: nothing chosen", "Out(QVRN_choose(QVRN_when{source_file=src.fm|test=//Nothing}(A)) After)", "Out(After)",
     {}},
    {"table with title, sorted body and cells from the row's match",
     "Out(QVRN_table{element_tag=Tbl|num_columns=2|column_widths=1.5;2;}(QVRN_tabletitle{element_tag=TTitle}(Cap('T'))"
     " QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Para}"
     "(QVRN_sort{select=@n|data-type=Numeric} QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})"
     " QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=@id})))))",
     "Out(Tbl(TTitle(Cap('T')) TBody(TRow(TCell('gh') TCell) TRow(TCell('ab') TCell('p1')) TRow(TCell('ef')"
     " TCell('p3')) TRow(TCell('cd') TCell('p2')))))",
     {}},
    {"table heading matching once gives one heading row",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tableheading{element_tag=THead}(QVRN_tablerow{element_tag=TRow|"
     "source_file=src.fm|select=//Title}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})))"
     " QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Para[@kind='a']}"
     "(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})))))",
     "Out(Tbl(THead(TRow(TCell('Intro'))) TBody(TRow(TCell('ab')) TRow(TCell('ef')))))", {}},
    {"table heading matching nothing leaves the body alone",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tableheading{element_tag=THead}(QVRN_tablerow{element_tag=TRow|"
     "source_file=src.fm|select=//Nothing}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})))"
     " QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Para[@kind='a']}"
     "(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})))) After)",
     "Out(Tbl(TBody(TRow(TCell('ab')) TRow(TCell('ef')))) After)", {}},
    {"for-each: a match without a sort key goes at the end at its turn",
     "Out(QVRN_for-each{source_file=src.fm|select=//Para}(QVRN_sort{select=@n[. != 10]|data-type=Numeric}"
     " Item(QVRN_value-of{select=.})))",
     "Out(Item('gh') Item('ab') Item('cd') Item('ef'))", {}},
    {"table: a row without a sort key goes at the end at its turn",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|"
     "source_file=src.fm|select=//Para}(QVRN_sort{select=@n[. != 10]|data-type=Numeric} QVRN_tablecell{element_tag=TCell}"
     "(QVRN_value-of{select=.})))))",
     "Out(Tbl(TBody(TRow(TCell('gh')) TRow(TCell('ab')) TRow(TCell('cd')) TRow(TCell('ef')))))", {}},
    {"table rows in match order: each cell's value-of takes its row's match, a preserved one stays for the walk",
     "Out(QVRN_table{element_tag=Tbl|num_columns=3}(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|"
     "source_file=src.fm|select=//Para[@id]}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})"
     " QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=@id}) QVRN_tablecell{element_tag=TCell}"
     "(QVRN_value-of{select=.|qvrn_element=Preserve})))))",
     "Out(Tbl(TBody(TRow(TCell('ab') TCell('p1') TCell(QVRN_value-of{select=.|qvrn_element=Preserve}('ab')))"
     " TRow(TCell('cd') TCell('p2') TCell(QVRN_value-of{select=.|qvrn_element=Preserve}('cd')))"
     " TRow(TCell('ef') TCell('p3') TCell(QVRN_value-of{select=.|qvrn_element=Preserve}('ef')))"
     " TRow(TCell('gh') TCell TCell(QVRN_value-of{select=.|qvrn_element=Preserve}('gh'))))))",
     {}},
    {"a table filled wholly by its rows' value-ofs, then the element after it",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|"
     "source_file=src.fm|select=//Para[@id]}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=@id}))))"
     " After(QVRN_value-of{source_file=src.fm|select=//Title}))",
     "Out(Tbl(TBody(TRow(TCell('p1')) TRow(TCell('p2')) TRow(TCell('p3')) TRow(TCell))) After('Intro'))",
     {}},
    {"table whose body matches nothing", "Out(A QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tablebody{element_tag=TBody}"
     "(QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Nothing}(QVRN_tablecell{element_tag=TCell}))) B)",
     "Out(A B)", {}},
    {"create-xref",
     "Out(Target{id=t1}('one') Target{id=}('two') QVRN_create-xref{source_file=Current|select=//Target|element_tag=XRef"
     "|format=Page})",
     "Out(Target{id=t1}('one') Target{id=*}('two') XRef{ref=t1}('one') XRef{ref=*}('two'))", {}},
    {"set-attribute and set-marker",
     "Out(Box{kind=x}(QVRN_set-attribute{attribute=kind|source_file=src.fm|select=//Title})"
     " Mark QVRN_set-marker{target_element=Preceding-sibling|value=fixed|source_file=src.fm|select=//Title})",
     "Out(Box{kind=x,Intro} Mark<fixed>)", {}},
    {"set-attribute whose select matches nothing",
     "Out(Box{kind=x}(QVRN_set-attribute{attribute=kind|source_file=src.fm|select=//Nothing}))", "Out(Box{kind=x})", {}},
    {"set-attribute without target and set-marker on a non-marker",
     "Out(QVRN_set-attribute{target_element=Preceding-sibling|attribute=kind|value=v|source_file=src.fm|select=//Title}"
     " Box QVRN_set-marker{target_element=Preceding-sibling|value=v|source_file=src.fm|select=//Title})",
     "Out(Box)", {451, 454}},
    {"template call", "Out(QVRN_template{source_file=Current|template_ID=t1} QVRN_template{source_file=Current|template_ID=none}"
     " QVRN_template{source_file=Current})",
     "Out(Item('T'))", {456, 455}, 0, "Tpl(QVRN_template{template_ID=t1}(Item('T')))"},
    {"a table brought in by a template is checked when it runs",
     "Out(QVRN_template{source_file=Current|template_ID=t})", "Out(QVRN_table{element_tag=Tbl|num_columns=0}"
     "(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{select=//Para|source_file=src.fm|element_tag=TRow}(QVRN_tablecell{element_tag=TCell}))))",
     {422}, 14,
     "Tpl(QVRN_template{template_ID=t}(QVRN_table{element_tag=Tbl|num_columns=0}(QVRN_tablebody{element_tag=TBody}"
     "(QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Para}(QVRN_tablecell{element_tag=TCell})))))"},
    {"a template that calls itself through another stops",
     "Out(QVRN_template{source_file=Current|template_ID=a})", "Out(A(B(QVRN_template{source_file=Current|template_ID=a})))",
     {457}, 14,
     "Tpl(QVRN_template{template_ID=a}(A(QVRN_template{source_file=Current|template_ID=b}))"
     " QVRN_template{template_ID=b}(B(QVRN_template{source_file=Current|template_ID=a})))"},
    {"template content runs with the call's context",
     "Out(QVRN_for-each{source_file=src.fm|select=//Title}(QVRN_template{source_file=Current|template_ID=v}))", "Out(Got('Intro'))", {}, 0,
     "Tpl(QVRN_template{template_ID=v}(Got(QVRN_value-of{select=.})))"},
    {"a failed row run is reported after the table is built",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tablebody{element_tag=TBody}("
     "QVRN_tablerow{element_tag=TRow|source_file=src.fm|select=//Title}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.}))"
     " QVRN_tablerow{element_tag=TRow|source_file=missing.fm|select=//Para}(QVRN_tablecell{element_tag=TCell}))))",
     "Out(Tbl(TBody(TRow(TCell(QVRN_value-of{select=.})))))", {403}, 14},
    // Failures stop the run at the element, with one entry.
    {"empty select", "Out(QVRN_copy-of{source_file=src.fm|select=})", "Out(QVRN_copy-of{source_file=src.fm})", {401}, 13},
    {"select that does not compile", "Out(QVRN_copy-of{select=//Para[|source_file=src.fm})",
     "Out(QVRN_copy-of{select=//Para[|source_file=src.fm})", {402}, 13},
    {"source file that cannot be opened", "Out(QVRN_copy-of{source_file=missing.fm|select=//Para})",
     "Out(QVRN_copy-of{select=//Para|source_file=missing.fm})", {403}, 14},
    {"no document to query", "Out(QVRN_copy-of{select=//Para})", "Out(QVRN_copy-of{select=//Para})", {405}, 14},
    {"bad choose", "Out(QVRN_choose(QVRN_otherwise QVRN_when{test=//x}))",
     "Out(QVRN_choose(QVRN_otherwise QVRN_when{test=//x}))", {417}, 13},
    {"table with too many columns",
     "Out(QVRN_table{element_tag=Tbl|num_columns=13}(QVRN_tablebody{element_tag=TBody}))",
     "Out(QVRN_table{element_tag=Tbl|num_columns=13}(QVRN_tablebody{element_tag=TBody}))", {422}, 13},
    {"table column too narrow",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1|column_widths=0.2;}(QVRN_tablebody{element_tag=TBody}))",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1|column_widths=0.2;}(QVRN_tablebody{element_tag=TBody}))", {443}, 13},
    {"table heading and footing without body",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tableheading{element_tag=THead} QVRN_tablefooting{element_tag=TFoot}))",
     "Out(QVRN_table{element_tag=Tbl|num_columns=1}(QVRN_tableheading{element_tag=THead} QVRN_tablefooting{element_tag=TFoot}))",
     {420}, 13},
    {"sort that is not the first child",
     "Out(QVRN_for-each{source_file=src.fm|select=//Para}(Item QVRN_sort{select=@n}))",
     "Out(QVRN_for-each{select=//Para|source_file=src.fm}(Item QVRN_sort{select=@n}))", {446}, 13},
};

// A case shows as its name in test output, and names its test by the first words of it.
void PrintTo(const Case &c, std::ostream *os) { *os << '"' << c.name << '"'; }

std::string TestName(const Case &c) {
    std::string name, word;
    auto take = [&name, &word] {
        if (word.empty()) return true;
        if (name.size() + 1 + word.size() > 40) return false;
        name += (name.empty() ? "" : "_") + word;
        word.clear();
        return true;
    };
    for (const char *p = c.name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) word += *p;
        else if (!take()) return name;
    }
    take();
    return name;
}

class XformProcessors : public ::testing::TestWithParam<Case> {};

// Unique IDs made by a run are random: "*" in the expectation stands for any 8 capitals.
std::string MaskIds(std::string s) {
    for (size_t p = s.find("=", 0); p != std::string::npos; p = s.find("=", p + 1)) {
        size_t i = p + 1, n = 0;
        while (i + n < s.size() && s[i + n] >= 'A' && s[i + n] <= 'Y') ++n;
        if (n == 8 && (i + n == s.size() || s[i + n] == '}' || s[i + n] == '|')) s.replace(i, 8, "*");
    }
    return s;
}

TEST_P(XformProcessors, TransformsTheStylesheet) {
    const Case &c = GetParam();
    ResetXform();
    F_ObjHandleT src = NewDoc("Z:\\t\\src.fm", kSource);
    (void)src;
    F_ObjHandleT style = NewDoc("Z:\\t\\style.fm", c.stylesheet, c.templates);
    host::AddNamed(style, FO_XRefFmt, "Page");
    IntT result = om_XformTransformDocument(style, style);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(MaskIds(MainOutline(style)), c.expected);
    EXPECT_EQ(ReportedCodes(), c.codes);
}

INSTANTIATE_TEST_SUITE_P(Cases, XformProcessors, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return TestName(info.param); });

// A table without a format, or naming one the document lacks, gets the document's first table
// format; a named format the document has is kept.
TEST(XformTable, FormatFallsBackToTheDocumentsFirst) {
    const struct {
        const char *format;
        const char *want;
    } cases[] = {{"", "Format A"}, {"|format=Missing", "Format A"}, {"|format=Format B", "Format B"}};
    for (const auto &c : cases) {
        ResetXform();
        NewDoc("Z:\\t\\src.fm", kSource);
        F_ObjHandleT style = NewDoc("Z:\\t\\style.fm",
                                    std::string("Out(QVRN_table{element_tag=Tbl|num_columns=1") + c.format +
                                        "}(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|source_file=src.fm|"
                                        "select=//Title}(QVRN_tablecell{element_tag=TCell}(QVRN_value-of{select=.})))))");
        host::AddNamed(style, FO_TblFmt, "Format A");
        host::AddNamed(style, FO_TblFmt, "Format B");
        EXPECT_EQ(om_XformTransformDocument(style, style), 0) << c.format;
        F_ObjHandleT tbl = F_ApiGetId(0, style, FP_FirstTblInDoc);
        ASSERT_NE(tbl, 0u) << c.format;
        EXPECT_EQ(HostGetString(style, tbl, FP_TblTag), c.want) << c.format;
    }
}

// Column widths in inches become points: the listed ones, then 1 inch for each column not listed.
TEST(XformTable, ColumnWidthsFromTheListThenOneInch) {
    const struct {
        const char *widths;
        std::vector<MetricT> points;
    } cases[] = {
        {"|column_widths=1.5;2;", {108, 144, 72}},
        {"", {72, 72, 72}},
        {"|column_widths=0.5;0.75;3.25;4;", {36, 54, 234}},
    };
    for (const auto &c : cases) {
        ResetXform();
        NewDoc("Z:\\t\\src.fm", kSource);
        F_ObjHandleT style = NewDoc("Z:\\t\\style.fm",
                                    std::string("Out(QVRN_table{element_tag=Tbl|num_columns=3") + c.widths +
                                        "}(QVRN_tablebody{element_tag=TBody}(QVRN_tablerow{element_tag=TRow|source_file=src.fm|"
                                        "select=//Title}(QVRN_tablecell{element_tag=TCell} QVRN_tablecell{element_tag=TCell}"
                                        " QVRN_tablecell{element_tag=TCell}))))");
        EXPECT_EQ(om_XformTransformDocument(style, style), 0) << c.widths;
        F_ObjHandleT tbl = F_ApiGetId(0, style, FP_FirstTblInDoc);
        ASSERT_NE(tbl, 0u) << c.widths;
        F_MetricsT m = F_ApiGetMetrics(style, tbl, FP_TblColWidths);
        std::vector<MetricT> points;
        for (UIntT i = 0; i < m.len; ++i) points.push_back(m.val[i] / 65536);
        F_ApiFreeMetricList(&m);
        EXPECT_EQ(points, c.points) << c.widths;
    }
}

// create-xref flags the paragraph where each target's text begins.
TEST(XformXRef, CreateXRefFlagsTheTargetsParagraph) {
    ResetXform();
    F_ObjHandleT style = NewDoc("Z:\\t\\style.fm",
                                "Out(Target{id=t1}('one') Other('two') QVRN_create-xref{source_file=Current|select=//Target|"
                                "element_tag=XRef|format=Page})");
    host::AddNamed(style, FO_XRefFmt, "Page");
    for (const char *tag : {"Target", "Other"})  // each begins a paragraph of its own
        host::Def(F_ApiGetNamedObject(style, FO_ElementDef, tag))->pgfFormat = "Body";
    host::MarkChanged(style);
    EXPECT_EQ(om_XformTransformDocument(style, style), 0);
    auto flagOf = [&](const char *expr) {
        F_ObjHandleT e = om_XPathListMatches(style, 0, expr, 0, nullptr, 0).at(0);
        F_TextRangeT r = F_ApiGetTextRange(style, e, FP_TextRange);
        return F_ApiGetInt(style, r.beg.objId, FP_PgfFlag);
    };
    EXPECT_EQ(flagOf("//Target"), 1);
    EXPECT_EQ(flagOf("//Other"), 0);
}

// The refusals of the copying processors: a table or any table part copied into the stylesheet,
// a fresh document queried without starting at the root, a book whose component cannot be opened.
TEST(XformRefusals, CopyingProcessorsRefuseTablePartsFreshContextsAndMissingComponents) {
    const struct {
        const char *stylesheet;
        IntT code;
    } cases[] = {
        {"Out(QVRN_value-of{source_file=tsrc.fm|select=//Tbl})", 409},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//TTitle})", 410},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//THead})", 411},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//TBody})", 412},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//TFoot})", 413},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//TRow})", 414},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=//TCell})", 415},
        {"Out(QVRN_copy-of{source_file=tsrc.fm|select=Tbl})", 407},
        {"Out(QVRN_copy-of{source_file=parts.book|select=//Para})", 406},
    };
    for (const auto &c : cases) {
        ResetXform();
        NewDoc("Z:\\t\\tsrc.fm", "Doc(Tbl(TTitle(Cap('T')) THead(TRow(TCell('h'))) TBody(TRow(TCell('c')))"
                                   " TFoot(TRow(TCell('f')))))");
        F_ObjHandleT book = host::NewBook("Z:\\t\\parts.book", "Book");
        host::AddBookComponent(book, 0, "Z:\\t\\nowhere\\missing.fm", 512, "c");
        F_ObjHandleT style = NewDoc("Z:\\t\\style.fm", c.stylesheet);
        EXPECT_EQ(om_XformTransformDocument(style, style), XformResult::RunFailed) << c.stylesheet;  // a run-time failure
        EXPECT_EQ(ReportedCodes(), std::vector<IntT>{c.code}) << c.stylesheet;
    }
}

}  // namespace
