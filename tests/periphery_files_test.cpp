// What the native document file keeps of pages, graphics, formats, variables and text
// properties: a document saved and reopened reads the same.
#include "periphery_fixture.h"

#include "lib/host/docio.h"
#include "lib/host/report.h"
#include "text_props.h"

namespace {

class NativeFiles : public PeripheryDoc {
  protected:
    std::string Str(F_ObjHandleT d, F_ObjHandleT o, IntT p) {
        StringT s = F_ApiGetString(d, o, p);
        std::string out = s ? s : "";
        F_ApiDeallocateString(&s);
        return out;
    }
    F_ObjHandleT Reopen(F_ObjHandleT d) {
        std::string path = Win(dir / "saved.fm");
        EXPECT_NE(0u, om_DocSave(d, path.c_str(), 0, 0, 0, 0));
        host::ResetSession();
        F_ObjHandleT again = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
        EXPECT_NE(0u, again);
        return again;
    }
};

TEST_F(NativeFiles, PagesGraphicsAndFramesSurviveASave) {
    Para("body text");
    F_ObjHandleT frame = Frame(120, 80);
    F_ObjHandleT inset = Graphic(FO_Inset, frame, 5, 6, 30, 40);
    F_ApiSetString(doc, inset, FP_InsetFile, "D:\\pics\\a.png");
    F_ApiSetMetric(doc, inset, FP_Angle, F_RealToMetric(30));
    F_ApiSetInt(doc, inset, FP_GraphicIsSelected, 1);
    F_ObjHandleT line = Graphic(FO_Line, frame, 0, 0, 1, 1);
    IntT pts[] = {65536, 131072, 196608, 262144};
    F_IntsT points{4, pts};
    F_ApiSetPoints(doc, line, FP_Points, &points);
    F_ObjHandleT master = host::AddNamedPage(doc, FO_MasterPage, "Chapter");
    host::AddNamedPage(doc, FO_RefPage, "Graphics");
    F_ObjHandleT header = host::AddFlow(doc, "Header");
    host::AppendText(doc, host::AppendElement(doc, host::AppendElement(doc, 0, docDef, header), paraDef), "head");
    host::PlaceFlowOnPage(header, master);
    F_ApiSetString(doc, FirstBodyPage(), FP_MasterPage, "Chapter");
    host::GraphicOf(doc, Graphic(FO_TextLine, 0, 1, 2, 3, 4, master))->text = "on the master page";
    host::GraphicOf(doc, Graphic(FO_TextLine, 0, 1, 2, 3, 4, FirstBodyPage()))->text = "on the body page";

    F_ObjHandleT again = Reopen(doc);
    EXPECT_EQ(0, F_ApiGetInt(0, again, FP_DocIsModified));
    F_ObjHandleT m = F_ApiGetId(0, again, FP_FirstMasterPageInDoc);
    EXPECT_EQ("Chapter", Str(again, m, FP_Name));
    EXPECT_EQ("Graphics", Str(again, F_ApiGetId(0, again, FP_FirstRefPageInDoc), FP_Name));
    EXPECT_EQ("Chapter", Str(again, F_ApiGetId(0, again, FP_FirstBodyPageInDoc), FP_MasterPage));
    F_ObjHandleT flow = F_ApiGetId(again, F_ApiGetId(0, again, FP_MainFlowInDoc), FP_NextFlowInDoc);
    EXPECT_EQ(m, F_ApiGetId(again, F_ApiGetId(again, flow, FP_FirstTextFrameInFlow), FP_PageFramePage));

    std::vector<F_ObjHandleT> all;
    for (F_ObjHandleT g = F_ApiGetId(0, again, FP_FirstGraphicInDoc); g; g = F_ApiGetId(again, g, FP_NextGraphicInDoc))
        all.push_back(g);
    ASSERT_EQ(5u, all.size());  // the frame, its two graphics, two text lines
    EXPECT_EQ(FO_AFrame, F_ApiGetObjectType(again, all[0]));
    EXPECT_DOUBLE_EQ(120, F_MetricToReal(F_ApiGetMetric(again, all[0], FP_Width)));
    F_ObjHandleT a = all[1];
    EXPECT_EQ(FO_Inset, F_ApiGetObjectType(again, a));
    EXPECT_EQ(all[0], F_ApiGetId(again, a, FP_FrameParent));
    EXPECT_EQ("D:\\pics\\a.png", Str(again, a, FP_InsetFile));
    EXPECT_DOUBLE_EQ(30, F_MetricToReal(F_ApiGetMetric(again, a, FP_Angle)));
    EXPECT_DOUBLE_EQ(40, F_MetricToReal(F_ApiGetMetric(again, a, FP_Height)));
    EXPECT_EQ(a, F_ApiGetId(0, again, FP_FirstSelectedGraphicInDoc));
    F_IntsT back = F_ApiGetInts(again, all[2], FP_Points);
    EXPECT_EQ(std::vector<IntT>(pts, pts + 4), std::vector<IntT>(back.val, back.val + back.len));
    F_ApiFreeIntList(&back);
    EXPECT_EQ(m, F_ApiGetId(again, all[3], FP_PageFramePage));
    EXPECT_EQ(F_ApiGetId(0, again, FP_FirstBodyPageInDoc), F_ApiGetId(again, all[4], FP_PageFramePage));
}

TEST_F(NativeFiles, FormatsVariablesTextPropertiesWindowAndMetadata) {
    F_ObjHandleT p = Para("Some styled text");
    F_ObjHandleT v = F_ApiNewNamedObject(doc, FO_VarFmt, "Version");
    F_ApiSetString(doc, v, FP_Fmt, "3.1");
    F_ObjHandleT sys = F_ApiNewNamedObject(doc, FO_VarFmt, "Page Count");
    F_ApiSetInt(doc, sys, FP_VarIsSystemVar, 1);
    F_ApiSetString(doc, sys, FP_Fmt, "<$lastpagenum>");
    F_ObjHandleT pgf = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    F_TextLocT at{pgf, 0};
    F_ObjHandleT var = F_ApiNewAnchoredFormattedObject(doc, FO_Var, "Version", &at);
    ASSERT_NE(0u, var);
    host::AddNamed(doc, FO_CharFmt, "Bold");
    F_TextRangeT word{{pgf, 8}, {pgf, 14}};
    F_PropValT props[3] = {};
    props[0].propIdent = FP_CharTag;
    props[0].propVal.valType = FT_String;
    props[0].propVal.sval = const_cast<StringT>("Bold");
    props[1].propIdent = FP_TextFlag;
    props[1].propVal.valType = FT_Integer;
    props[1].propVal.ival = 1;
    props[2].propIdent = FP_ChangeBar;
    props[2].propVal.valType = FT_Integer;
    props[2].propVal.ival = 1;
    for (const F_PropValT &pv : props) F_ApiSetTextPropVal(doc, &word, &pv);
    F_ObjHandleT xdef = host::AddElementDef(doc, "XRef", FV_FO_XREF);
    F_ObjHandleT x = F_ApiGetId(doc, host::AppendElement(doc, p, xdef), FP_Object);
    F_ApiSetInt(doc, x, FP_XRefSrcAccess, 1);
    for (auto [n, value] : {std::pair<IntT, IntT>{FP_ScreenX, 10}, {FP_ScreenY, 20}, {FP_ScreenW, 640}, {FP_ScreenH, 480}}) F_ApiSetInt(0, doc, n, value);
    F_ApiSetString(0, doc, FP_XmpPacket, "<?xpacket begin=\"\"?>\n<x/>\n<?xpacket end=\"w\"?>");
    (void)v;

    F_ObjHandleT again = Reopen(doc);
    F_ObjHandleT v2 = F_ApiGetNamedObject(again, FO_VarFmt, "Version");
    EXPECT_EQ("3.1", Str(again, v2, FP_Fmt));
    F_ObjHandleT sys2 = F_ApiGetNamedObject(again, FO_VarFmt, "Page Count");
    EXPECT_EQ(1, F_ApiGetInt(again, sys2, FP_VarIsSystemVar));
    EXPECT_EQ("<$lastpagenum>", Str(again, sys2, FP_Fmt));
    F_ObjHandleT pgf2 = F_ApiGetId(0, again, FP_FirstPgfInDoc);
    F_TextLocT inWord{pgf2, 3 + 10};  // after the variable's "3.1"
    for (auto [prop, want] : {std::pair<IntT, IntT>{FP_TextFlag, 1}, {FP_ChangeBar, 1}}) {
        F_PropValT got = F_ApiGetTextPropVal(again, &inWord, prop);
        EXPECT_EQ(want, got.propVal.ival) << prop;
    }
    F_PropValT tag = F_ApiGetTextPropVal(again, &inWord, FP_CharTag);
    EXPECT_STREQ("Bold", tag.propVal.sval);
    F_ApiDeallocateString(&tag.propVal.sval);
    F_TextLocT before{pgf2, 4};
    F_PropValT plain = F_ApiGetTextPropVal(again, &before, FP_TextFlag);
    EXPECT_EQ(0, plain.propVal.ival);
    F_ObjHandleT var2 = 0;
    for (F_ObjHandleT e = F_ApiGetId(0, again, FP_HighestLevelElement); e && !var2;) {
        F_ObjHandleT c = F_ApiGetId(again, e, FP_FirstChildElement);
        var2 = F_ApiGetId(again, F_ApiGetId(again, c, FP_FirstChildElement), FP_Object);
        e = 0;
    }
    ASSERT_EQ(FO_Var, F_ApiGetObjectType(again, var2));
    EXPECT_EQ("Version", Str(again, var2, FP_Name));
    F_ObjHandleT x2 = F_ApiGetId(0, again, FP_FirstXRefInDoc);
    EXPECT_EQ(1, F_ApiGetInt(again, x2, FP_XRefSrcAccess));
    EXPECT_EQ(640, F_ApiGetInt(0, again, FP_ScreenW));
    EXPECT_EQ(20, F_ApiGetInt(0, again, FP_ScreenY));
    EXPECT_EQ("<?xpacket begin=\"\"?>\n<x/>\n<?xpacket end=\"w\"?>", Str(0, again, FP_XmpPacket));
}

TEST_F(NativeFiles, DeletedFormatsStayDeleted) {
    host::AddNamed(doc, FO_PgfFmt, "Gone");
    host::AddNamed(doc, FO_CharFmt, "Gone too");
    F_ApiDelete(doc, F_ApiGetNamedObject(doc, FO_PgfFmt, "Gone"));
    F_ApiDelete(doc, F_ApiGetNamedObject(doc, FO_CharFmt, "Gone too"));
    F_ObjHandleT again = Reopen(doc);
    FA_errno = 0;
    EXPECT_EQ(0u, F_ApiGetNamedObject(again, FO_PgfFmt, "Gone"));
    EXPECT_EQ(0u, F_ApiGetNamedObject(again, FO_CharFmt, "Gone too"));
    EXPECT_NE(0u, F_ApiGetNamedObject(again, FO_PgfFmt, "Body"));
}

}  // namespace

namespace {

class TableFormatTitles : public PeripheryDoc {};

TEST_F(TableFormatTitles, AFormatWithATitleGivesItsTablesOneAfterReopening) {
    Para("anchor");
    F_ObjHandleT titled = F_ApiNewNamedObject(doc, FO_TblFmt, "Titled");
    F_ApiNewNamedObject(doc, FO_TblFmt, "Plain");
    F_ApiSetInt(doc, titled, FP_TblTitlePosition, 1);
    std::string path = Win(dir / "formats.fm");
    ASSERT_NE(0u, om_DocSave(doc, path.c_str(), 0, 0, 0, 0));
    host::ResetSession();
    F_ObjHandleT again = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
    ASSERT_NE(0u, again);
    F_TextLocT at{F_ApiGetId(0, again, FP_FirstPgfInDoc), 0};
    F_ObjHandleT withTitle = F_ApiNewTable(again, "Titled", 1, 1, 0, 0, &at);
    F_ObjHandleT without = F_ApiNewTable(again, "Plain", 1, 1, 0, 0, &at);
    EXPECT_EQ(1, F_ApiGetInt(again, withTitle, FP_TblTitlePosition));
    EXPECT_NE(0u, F_ApiGetId(again, withTitle, FP_FirstPgfInTitle));
    EXPECT_EQ(0, F_ApiGetInt(again, without, FP_TblTitlePosition));
}

}  // namespace
