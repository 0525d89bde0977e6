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
    F_ApiSetString(doc, inset, 852, "D:\\pics\\a.png");
    F_ApiSetMetric(doc, inset, 780, F_RealToMetric(30));
    F_ApiSetInt(doc, inset, 771, 1);
    F_ObjHandleT line = Graphic(FO_Line, frame, 0, 0, 1, 1);
    IntT pts[] = {65536, 131072, 196608, 262144};
    F_IntsT points{4, pts};
    F_ApiSetPoints(doc, line, 908, &points);
    F_ObjHandleT master = host::AddNamedPage(doc, FO_MasterPage, "Chapter");
    host::AddNamedPage(doc, FO_RefPage, "Graphics");
    F_ObjHandleT header = host::AddFlow(doc, "Header");
    host::AppendText(doc, host::AppendElement(doc, host::AppendElement(doc, 0, docDef, header), paraDef), "head");
    host::PlaceFlowOnPage(header, master);
    F_ApiSetString(doc, FirstBodyPage(), 690, "Chapter");
    host::GraphicOf(doc, Graphic(FO_TextLine, 0, 1, 2, 3, 4, master))->text = "on the master page";
    host::GraphicOf(doc, Graphic(FO_TextLine, 0, 1, 2, 3, 4, FirstBodyPage()))->text = "on the body page";

    F_ObjHandleT again = Reopen(doc);
    EXPECT_EQ(0, F_ApiGetInt(0, again, 131));
    F_ObjHandleT m = F_ApiGetId(0, again, 417);
    EXPECT_EQ("Chapter", Str(again, m, FP_Name));
    EXPECT_EQ("Graphics", Str(again, F_ApiGetId(0, again, 419), FP_Name));
    EXPECT_EQ("Chapter", Str(again, F_ApiGetId(0, again, 415), 690));
    F_ObjHandleT flow = F_ApiGetId(again, F_ApiGetId(0, again, FP_MainFlowInDoc), FP_NextFlowInDoc);
    EXPECT_EQ(m, F_ApiGetId(again, F_ApiGetId(again, flow, 1169), 880));

    std::vector<F_ObjHandleT> all;
    for (F_ObjHandleT g = F_ApiGetId(0, again, 112); g; g = F_ApiGetId(again, g, 786)) all.push_back(g);
    ASSERT_EQ(5u, all.size());  // the frame, its two graphics, two text lines
    EXPECT_EQ(FO_AFrame, F_ApiGetObjectType(again, all[0]));
    EXPECT_DOUBLE_EQ(120, F_MetricToReal(F_ApiGetMetric(again, all[0], 783)));
    F_ObjHandleT a = all[1];
    EXPECT_EQ(FO_Inset, F_ApiGetObjectType(again, a));
    EXPECT_EQ(all[0], F_ApiGetId(again, a, 774));
    EXPECT_EQ("D:\\pics\\a.png", Str(again, a, 852));
    EXPECT_DOUBLE_EQ(30, F_MetricToReal(F_ApiGetMetric(again, a, 780)));
    EXPECT_DOUBLE_EQ(40, F_MetricToReal(F_ApiGetMetric(again, a, 784)));
    EXPECT_EQ(a, F_ApiGetId(0, again, 128));
    F_IntsT back = F_ApiGetInts(again, all[2], 908);
    EXPECT_EQ(std::vector<IntT>(pts, pts + 4), std::vector<IntT>(back.val, back.val + back.len));
    F_ApiFreeIntList(&back);
    EXPECT_EQ(m, F_ApiGetId(again, all[3], 880));
    EXPECT_EQ(F_ApiGetId(0, again, 415), F_ApiGetId(again, all[4], 880));
}

TEST_F(NativeFiles, FormatsVariablesTextPropertiesWindowAndMetadata) {
    F_ObjHandleT p = Para("Some styled text");
    F_ObjHandleT v = F_ApiNewNamedObject(doc, FO_VarFmt, "Version");
    F_ApiSetString(doc, v, 1050, "3.1");
    F_ObjHandleT sys = F_ApiNewNamedObject(doc, FO_VarFmt, "Page Count");
    F_ApiSetInt(doc, sys, 1049, 1);
    F_ApiSetString(doc, sys, 1050, "<$lastpagenum>");
    F_ObjHandleT pgf = F_ApiGetId(0, doc, 113);
    F_TextLocT at{pgf, 0};
    F_ObjHandleT var = F_ApiNewAnchoredFormattedObject(doc, FO_Var, "Version", &at);
    ASSERT_NE(0u, var);
    host::AddNamed(doc, FO_CharFmt, "Bold");
    F_TextRangeT word{{pgf, 8}, {pgf, 14}};
    F_PropValT props[3] = {};
    props[0].propIdent = 602;
    props[0].propVal.valType = FT_String;
    props[0].propVal.sval = const_cast<StringT>("Bold");
    props[1].propIdent = 609;
    props[1].propVal.valType = FT_Integer;
    props[1].propVal.ival = 1;
    props[2].propIdent = 611;
    props[2].propVal.valType = FT_Integer;
    props[2].propVal.ival = 1;
    for (const F_PropValT &pv : props) F_ApiSetTextPropVal(doc, &word, &pv);
    F_ObjHandleT xdef = host::AddElementDef(doc, "XRef", FV_FO_XREF);
    F_ObjHandleT x = F_ApiGetId(doc, host::AppendElement(doc, p, xdef), FP_Object);
    F_ApiSetInt(doc, x, 1076, 1);
    for (auto [n, value] : {std::pair<IntT, IntT>{33, 10}, {34, 20}, {35, 640}, {36, 480}}) F_ApiSetInt(0, doc, n, value);
    F_ApiSetString(0, doc, 2262, "<?xpacket begin=\"\"?>\n<x/>\n<?xpacket end=\"w\"?>");
    (void)v;

    F_ObjHandleT again = Reopen(doc);
    F_ObjHandleT v2 = F_ApiGetNamedObject(again, FO_VarFmt, "Version");
    EXPECT_EQ("3.1", Str(again, v2, 1050));
    F_ObjHandleT sys2 = F_ApiGetNamedObject(again, FO_VarFmt, "Page Count");
    EXPECT_EQ(1, F_ApiGetInt(again, sys2, 1049));
    EXPECT_EQ("<$lastpagenum>", Str(again, sys2, 1050));
    F_ObjHandleT pgf2 = F_ApiGetId(0, again, 113);
    F_TextLocT inWord{pgf2, 3 + 10};  // after the variable's "3.1"
    for (auto [prop, want] : {std::pair<IntT, IntT>{609, 1}, {611, 1}}) {
        F_PropValT got = F_ApiGetTextPropVal(again, &inWord, prop);
        EXPECT_EQ(want, got.propVal.ival) << prop;
    }
    F_PropValT tag = F_ApiGetTextPropVal(again, &inWord, 602);
    EXPECT_STREQ("Bold", tag.propVal.sval);
    F_ApiDeallocateString(&tag.propVal.sval);
    F_TextLocT before{pgf2, 4};
    F_PropValT plain = F_ApiGetTextPropVal(again, &before, 609);
    EXPECT_EQ(0, plain.propVal.ival);
    F_ObjHandleT var2 = 0;
    for (F_ObjHandleT e = F_ApiGetId(0, again, FP_HighestLevelElement); e && !var2;) {
        F_ObjHandleT c = F_ApiGetId(again, e, FP_FirstChildElement);
        var2 = F_ApiGetId(again, F_ApiGetId(again, c, FP_FirstChildElement), FP_Object);
        e = 0;
    }
    ASSERT_EQ(FO_Var, F_ApiGetObjectType(again, var2));
    EXPECT_EQ("Version", Str(again, var2, FP_Name));
    F_ObjHandleT x2 = F_ApiGetId(0, again, 117);
    EXPECT_EQ(1, F_ApiGetInt(again, x2, 1076));
    EXPECT_EQ(640, F_ApiGetInt(0, again, 35));
    EXPECT_EQ(20, F_ApiGetInt(0, again, 34));
    EXPECT_EQ("<?xpacket begin=\"\"?>\n<x/>\n<?xpacket end=\"w\"?>", Str(0, again, 2262));
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
