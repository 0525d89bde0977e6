// The fmprop axis over a small native document: every property of the vocabulary, each step
// accepting only the element kinds its property suits, and the case folding of the -ci functions.
#include <gtest/gtest.h>

#include "docfile_api.h"
#include "graphics.h"
#include "model.h"
#include "support/xml_tree.h"
#include "support/xpath_files_fixture.h"
#include "xpath/xpath.h"

namespace {

// Two paragraphs a page: Title and the first Para on page 1, the next two Paras on page 2, the
// table's cell on page 3. The second Para carries a change bar; the third holds a cross-reference
// and a marker; a Figure holds a graphic imported from D:\g\a.png.
const char *const kDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<qvdocument version="1">
  <settings><setting name="paragraphs-per-page" value="2"/></settings>
  <catalog>
    <element-def name="Doc" type="1"/>
    <element-def name="Title" type="1" paragraph-format="Heading"/>
    <element-def name="Para" type="1" paragraph-format="Body"/>
    <element-def name="XRef" type="3"/>
    <element-def name="Marker" type="4"/>
    <element-def name="Figure" type="6"/>
    <element-def name="Table" type="8"/>
    <element-def name="TableBody" type="11"/>
    <element-def name="Row" type="13"/>
    <element-def name="Cell" type="14" paragraph-format="CellBody"/>
  </catalog>
  <formats>
    <format kind="32" name="Body"/><format kind="32" name="Heading"/><format kind="32" name="CellBody"/>
    <format kind="37" name="Format A"/><format kind="27" name="Page"/><format kind="66" name="Index"/>
  </formats>
  <flows>
    <flow name="Main" main="1">
      <e tag="Doc">
        <e tag="Title"><t>Intro</t></e>
        <e tag="Para"><t>one</t></e>
        <e tag="Para"><t>two</t><r length="3" change-bar="1"/></e>
        <e tag="Para"><t>three </t>
          <e tag="XRef"><prop number="1070">ch1.fm</prop><prop number="1073">Page</prop>
            <prop number="1075">install:Title:</prop></e>
          <e tag="Marker"><prop number="1025">alpha</prop><prop number="1027">Index</prop></e>
        </e>
        <e tag="Table" table-format="Format A"><e tag="TableBody"><e tag="Row">
          <e tag="Cell"><t>cell</t></e></e></e></e>
        <e tag="Para"><e tag="Figure"/></e>
      </e>
    </flow>
  </flows>
</qvdocument>
)";

class FmProp : public qvtest::XPathFilesFixture {
protected:
    FmProp() : XPathFilesFixture("qv_fmprop") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        Write("props.fm", kDocument);
        doc = host::OpenDocumentFile(Win("props.fm"), true);
        ASSERT_NE(doc, 0u);
    }
    std::vector<std::string> Matches(const std::string &expr) {
        IntT s = om_XPathCompile(expr, 0);
        EXPECT_LT(s, 50100) << expr;
        std::vector<std::string> out;
        if (s > 50099) return out;
        om_XPathResetSequence(s, 1);
        for (int i = 0; i < 1000; ++i) {
            F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr);
            if (!m) break;
            out.push_back(qvtest::PathOf(doc, m));
        }
        return out;
    }
    F_ObjHandleT doc = 0;
};

TEST_F(FmProp, EveryPropertyGivesItsValuesToElementsOfItsKinds) {
    // The figure's graphic, with a backslashed path as the host stores it.
    IntT seq = om_XPathCompile("//Figure", 0);
    om_XPathResetSequence(seq, 1);
    F_ObjHandleT figure = om_FindNextNodeWithXpath(doc, seq, 0, 0, nullptr, nullptr);
    ASSERT_EQ(F_ApiGetInt(doc, figure, FP_ElementType), FV_FO_GRAPHIC);
    F_ObjHandleT inset = host::AddGraphic(doc, FO_Inset, F_ApiGetId(doc, figure, FP_Object), 0);
    F_ApiSetString(doc, inset, FP_InsetFile, "D:\\g\\a.png");

    using V = std::vector<std::string>;
    const std::string p1 = "/Doc[1]/Para[1]", p2 = "/Doc[1]/Para[2]", p3 = "/Doc[1]/Para[3]", p4 = "/Doc[1]/Para[4]";
    const std::string xref = p3 + "/XRef[1]", marker = p3 + "/Marker[1]", fig = p4 + "/Figure[1]";
    const std::string cell = "/Doc[1]/Table[1]/TableBody[1]/Row[1]/Cell[1]";
    struct Case {
        const char *expr;
        V want;
    } cases[] = {
        {"//Figure[fmprop::ImportObFile = 'D:\\g\\a.png']", {fig}},
        {"//Figure[fmprop::ImportObFile = 'D:/g/a.png']", {fig}},  // the forward-slash copy
        {"//*[fmprop::ImportObFile]", {fig}},                       // graphics only
        {"//*[fmprop::PgfTag = 'Heading']", {"/Doc[1]", "/Doc[1]/Title[1]"}},  // where the text begins
        {"//Para[fmprop::PgfTag = 'Body']", {p1, p2, p3, p4}},
        {"//*[fmprop::TblTag = 'Format A']",
         {"/Doc[1]/Table[1]", "/Doc[1]/Table[1]/TableBody[1]", "/Doc[1]/Table[1]/TableBody[1]/Row[1]", cell}},
        {"//Para[fmprop::FChangeBar = 'true']", {p2}},
        {"//Para[fmprop::FChangeBar = 'false']", {p1, p3, p4}},
        {"//*[fmprop::XRefName = 'Page']", {xref}},
        {"//*[fmprop::XRefSrcText = 'install']", {xref}},  // cut before the first ":"
        {"//*[fmprop::XRefSrcFile = 'ch1.fm']", {xref}},
        {"//*[fmprop::MTypeName = 'Index']", {marker}},
        {"//*[fmprop::MText = 'alpha']", {marker}},
        {"//Para[fmprop::MText]", {}},  // a marker's property, not a paragraph's
        {"//Para[fmprop::PageNumInt = 1]", {p1}},
        {"//Para[fmprop::PageNumInt != 1]", {p2, p3, p4}},
        {"//Para[fmprop::PageNumInt > 1][fmprop::PageNumInt < 3]", {p2, p3}},
        {"//Cell[fmprop::PageNumInt = 3]", {cell}},
        {"//Para[fmprop::PageNumStr = '2']", {p2, p3}},
        {"//*[fmprop::PageNumStr = '1']", {"/Doc[1]", "/Doc[1]/Title[1]", p1}},
    };
    for (const Case &c : cases) EXPECT_EQ(Matches(c.expr), c.want) << c.expr;
}

TEST_F(FmProp, CaseInsensitiveFunctionsFoldAsTheHostDoes) {
    doc = qvtest::BuildDocument("<d><w>Übung</w><w>ÉTÉ</w><w>abc</w></d>");
    using V = std::vector<std::string>;
    struct Case {
        const char *expr;
        V want;
    } cases[] = {
        {"//w[contains-ci(., 'übung')]", {"/d[1]/w[1]"}},
        {"//w[contains-ci(., 'BUNG')]", {"/d[1]/w[1]"}},
        {"//w[starts-with-ci(., 'été')]", {"/d[1]/w[2]"}},
        {"//w[starts-with-ci(., 'ÜB')]", {"/d[1]/w[1]"}},
        {"//w[contains(., 'übung')]", {}},   // the exact-case function stays exact
    };
    for (const Case &c : cases) EXPECT_EQ(Matches(c.expr), c.want) << c.expr;
}

}  // namespace
