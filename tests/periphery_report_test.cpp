// The plug-in report writer over the shipped report template: sections, entries with their "ID"
// and link markers, style words, finding an entry by its ID, tables, markers and variables, and a
// missing template.
#include "periphery_fixture.h"

#include "client.h"
#include "lib/host/pgftext.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/report.h"
#include "lib/host/report_second.h"
#include "lib/strings/heapstr.h"

namespace {

void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", nullptr, nullptr, nullptr, nullptr, nullptr};
    F_ApiRegisterClient(&cb);
}

class ReportWriter : public PeripheryDoc {
  protected:
    void SetUp() override {
        PeripheryDoc::SetUp();
        host::ResetClients();
        host::LoadClientInProcess(ClientInit, QV_SOURCE_DIR "/defaults");
        Report = ReportState{};
        Para("linked paragraph");
    }
    void TearDown() override {
        host::ResetClients();
        PeripheryDoc::TearDown();
    }
    std::string Str(F_ObjHandleT d, F_ObjHandleT o, IntT p) {
        StringT s = F_ApiGetString(d, o, p);
        std::string out = s ? s : "";
        F_ApiDeallocateString(&s);
        return out;
    }
    // "format:text" of every paragraph of the report.
    std::vector<std::string> Paragraphs(F_ObjHandleT report) {
        std::vector<std::string> out;
        for (F_ObjHandleT p = F_ApiGetId(0, report, FP_FirstPgfInDoc); p; p = F_ApiGetId(report, p, FP_NextPgfInDoc))
            out.push_back(Str(report, p, FP_Name) + ":" + qv::PgfText(report, p, -1, false, false));
        return out;
    }
    // The texts of the markers of a type anchored in a paragraph.
    std::vector<std::string> Markers(F_ObjHandleT report, F_ObjHandleT pgf, const std::string &type) {
        std::vector<std::string> out;
        for (F_ObjHandleT m = F_ApiGetId(0, report, FP_FirstMarkerInDoc); m;
             m = F_ApiGetId(report, m, FP_NextMarkerInDoc))
            if (F_ApiGetTextLoc(report, m, FP_TextLoc).objId == pgf &&
                Str(report, F_ApiGetId(report, m, FP_MarkerTypeId), FP_Name) == type)
                out.push_back(Str(report, m, FP_MarkerText));
        return out;
    }
};

TEST_F(ReportWriter, NothingIsWrittenBeforeSetUp) {
    om_ReportAddEntry(0, "", 0, "Body", "", "text", "", "");
    EXPECT_EQ(0u, om_ReportFind("Quorvane"));
    EXPECT_EQ(0u, om_ReportOpen());
}

TEST_F(ReportWriter, OneSectionForEntriesAfterOneStartNew) {
    om_ReportSetUp("Quorvane", "Check results", 1);
    om_ReportAddEntry(doc, "", 0, "Body", "", "first ", "entry", "");
    om_ReportAddEntry(0, "", 0, "Body", "", "second entry", "", "");
    F_ObjHandleT report = om_ReportFind("");
    ASSERT_NE(0u, report);
    EXPECT_EQ(report, om_ReportFind("QUORVANE"));
    EXPECT_EQ("Quorvane Report", Str(0, report, FP_Label));
    EXPECT_EQ(1, F_ApiGetInt(0, report, FP_DocIsReport));
    std::vector<std::string> p = Paragraphs(report);
    ASSERT_EQ(8u, p.size());
    EXPECT_EQ("Title:_____ Quorvane Report _____", p[0]);
    EXPECT_EQ("SingleLine:", p[1]);
    EXPECT_EQ("Body:", p[2]);
    EXPECT_EQ("Heading1:Check results", p[3]);
    EXPECT_EQ(0u, p[4].find("Body:")); // the date line
    EXPECT_NE(std::string::npos, p[4].find(", 20"));
    EXPECT_EQ("Body:", p[5]);
    EXPECT_EQ("Body:first entry", p[6]);
    EXPECT_EQ("Body:second entry", p[7]);
    EXPECT_EQ(report, F_ApiGetId(0, 0, FP_ActiveDoc));

    // A new start-new flag starts a second section in the same report.
    om_ReportSetUp("Quorvane", "Again", 1);
    om_ReportAddEntry(0, "", 0, "Body", "", "third", "", "");
    p = Paragraphs(report);
    ASSERT_EQ(14u, p.size());
    EXPECT_EQ("Heading1:Again", p[10]);
}

TEST_F(ReportWriter, EntriesCarryIdAndLinkMarkersAndStyleWords) {
    om_ReportSetUp("Quorvane", "Links", 0);
    F_ObjHandleT linked = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    om_ReportAddEntry(doc, "", root, "Body", "bold, RED and italic", "to the root", "", "");
    F_ObjHandleT report = om_ReportFind("");
    F_ObjHandleT entry = om_ReportCurrentPgf();
    std::vector<std::string> ids = Markers(report, entry, "ID");
    ASSERT_EQ(1u, ids.size());
    EXPECT_EQ(std::to_string(F_ApiGetInt(report, entry, FP_Unique)), ids[0]);
    std::string link = "openObjectId Z:\\t\\periphery.fm:5 " + std::to_string(F_ApiGetInt(doc, root, FP_Unique));
    EXPECT_EQ((std::vector<std::string>{link}), Markers(report, entry, "Hypertext"));
    F_TextLocT at{entry, 2};
    F_PropValT tag = F_ApiGetTextPropVal(report, &at, FP_CharTag);
    EXPECT_STREQ("Bold Red", tag.propVal.sval);  // "italic" is not "Italics"
    F_ApiDeallocateString(&tag.propVal.sval);

    om_ReportAddEntry(0, "Z:\\x\\other.fm", 0, "Body", "", "by path", "", "");
    EXPECT_EQ((std::vector<std::string>{"openlink Z:\\x\\other.fm:firstpage"}), Markers(report, om_ReportCurrentPgf(), "Hypertext"));
    om_ReportAddEntry(0, "", 0, "Body", "", "unlinked", "", "");
    F_ObjHandleT unlinked = om_ReportCurrentPgf();
    EXPECT_TRUE(Markers(report, unlinked, "Hypertext").empty());

    IntT number = om_ReportPgfId(entry);
    EXPECT_EQ(F_ApiGetInt(report, entry, FP_Unique), number);
    EXPECT_EQ(entry, om_ReportFindPgfById(number));
    EXPECT_EQ(unlinked, om_ReportFindPgfById(om_ReportPgfId(0)));
    EXPECT_EQ(0u, om_ReportFindPgfById(-5));
    (void)linked;
}

TEST_F(ReportWriter, TablesMarkersAndVariables) {
    om_ReportSetUp("Quorvane", "Tables", 0);
    om_ReportAddEntry(0, "", 0, "Body", "", "before the table", "", "");
    om_ReportAddTable("ReportTable", 100, 50.5, 0, 20, 0, 0);  // two leading widths
    F_ObjHandleT report = om_ReportFind("");
    F_ObjHandleT table = F_ApiGetId(0, report, FP_FirstTblInDoc);
    ASSERT_NE(0u, table);
    F_MetricsT widths = F_ApiGetMetrics(report, table, FP_TblColWidths);
    ASSERT_EQ(2u, widths.len);
    EXPECT_EQ(F_RealToMetric(50.5), widths.val[1]);
    F_ApiFreeMetricList(&widths);
    om_ReportAddTableEntry(0, "", 0, 2, "Body", "green", "right cell");
    om_ReportAddTableEntry(0, "", 0, 2, "Body", "", "more");
    om_ReportAddTableRow();
    om_ReportAddTableEntry(0, "", 0, 1, "Body", "", "next row");
    F_ObjHandleT last = F_ApiGetId(report, table, FP_LastRowInTbl);
    F_ObjHandleT nextRowCell = F_ApiGetId(report, last, FP_FirstCellInRow);
    EXPECT_EQ("next row", qv::PgfText(report, F_ApiGetId(report, nextRowCell, FP_FirstPgf), -1, false, false));
    F_ObjHandleT first = F_ApiGetId(report, table, FP_FirstRowInTbl);
    F_ObjHandleT right = F_ApiGetId(report, F_ApiGetId(report, first, FP_FirstCellInRow), FP_NextCellInRow);
    EXPECT_EQ("right cell", qv::PgfText(report, F_ApiGetId(report, right, FP_FirstPgf), -1, false, false));
    EXPECT_EQ("more", qv::PgfText(report, F_ApiGetId(report, right, FP_LastPgf), -1, false, false));

    // An entry after the table goes after it, not into its last cell.
    om_ReportAddEntry(0, "", 0, "Body", "", "after the table", "", "");
    EXPECT_EQ(0u, F_ApiGetId(report, om_ReportCurrentPgf(), FP_InCell));

    om_ReportAddMarker(0, "Hypertext", "gotolink here");
    EXPECT_EQ((std::vector<std::string>{"gotolink here"}), Markers(report, om_ReportCurrentPgf(), "Hypertext"));
    om_ReportAddVariable("Version", 0, "1.2");
    F_ObjHandleT fmt = F_ApiGetNamedObject(report, FO_VarFmt, "Version");
    ASSERT_NE(0u, fmt);
    EXPECT_EQ("1.2", Str(report, fmt, FP_Fmt));
    EXPECT_EQ("1.2after the table", qv::PgfText(report, om_ReportCurrentPgf(), -1, false, false));
    om_ReportSetVariableDef("Version", "2.0");
    EXPECT_EQ("2.0", Str(report, fmt, FP_Fmt));
}

TEST_F(ReportWriter, AMissingTemplateIsReported) {
    host::ResetClients();
    host::LoadClientInProcess(ClientInit, (dir / "nowhere").string());
    om_ReportSetUp("Quorvane", "x", 1);
    EXPECT_EQ(0u, om_ReportOpen());
    EXPECT_TRUE(Shown("An error occurred while attempting to generate the plugin report, using  the following template:"));
    EXPECT_TRUE(Shown("Quorvane_Report_Template.fm\n\nMake sure that the template exists  and that it isn't corrupt."));
}

TEST_F(ReportWriter, ParagraphHelpersOnAnyDocument) {
    F_ObjHandleT second = F_ApiGetId(doc, F_ApiGetId(0, doc, FP_FirstPgfInDoc), FP_NextPgfInFlow);
    EXPECT_EQ(0u, second);
    Para("Findable");
    F_ObjHandleT first = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    F_ObjHandleT found = om_PgfFind(doc, 0, "", "", "findable", 0, 0);
    EXPECT_EQ(F_ApiGetId(doc, first, FP_NextPgfInFlow), found);
    EXPECT_EQ(0u, om_PgfFind(doc, 0, "", "", "findable", 0, 1));
    EXPECT_EQ(first, om_PgfFind(doc, 0, "", "Body", "", 0, 1));
    EXPECT_EQ(found, om_PgfFind(doc, first, "", "Body", "", 0, 1));
    EXPECT_EQ(1, om_PgfSetText(doc, found, "", 42));
    EXPECT_EQ("42", qv::PgfText(doc, found, -1, false, false));
}

}  // namespace

namespace {

// The element-based writer over a template of our own in the test folder.
class SecondReportWriter : public PeripheryDoc {
  protected:
    void SetUp() override {
        PeripheryDoc::SetUp();
        SecondReport = SecondReportState{};
        F_ObjHandleT t = host::NewDocument(Win(dir / "second.fm"));
        F_ObjHandleT rootDef = host::AddElementDef(t, "Report");
        for (const char *tag : {"Heading1", "LongDateAndTime", "NormalMessage", "SingleLine", "HyperlinkMessage", "BoldMessage"}) {
            F_ObjHandleT def = host::AddElementDef(t, tag, FV_FO_CONTAINER, tag);
            host::AttrDef id;
            id.name = "id";
            host::AddAttributeDef(def, id);
        }
        host::AddNamed(t, FO_MarkerType, "Hypertext");
        host::AppendElement(t, 0, rootDef, host::MainFlow(t));
        om_DocSave(t, Win(dir / "second.fm").c_str(), 0, 0, 0, 0);
        F_ApiClose(t, 1);
        Para("target");
    }
    std::vector<std::string> Tags(F_ObjHandleT report) {
        std::vector<std::string> out;
        F_ObjHandleT root = F_ApiGetId(0, report, FP_HighestLevelElement);
        for (F_ObjHandleT e = F_ApiGetId(report, root, FP_FirstChildElement); e; e = F_ApiGetId(report, e, FP_NextSiblingElement)) {
            StringT name = F_ApiGetString(report, F_ApiGetId(report, e, FP_ElementDef), FP_Name);
            out.push_back(name ? name : "");
            F_ApiDeallocateString(&name);
        }
        return out;
    }
};

TEST_F(SecondReportWriter, TitleDateAndEntriesByKind) {
    om_ReportSecondSetTemplate(Win(dir / "second.fm").c_str());
    F_ObjHandleT report = om_ReportSecondOpen(103);
    ASSERT_NE(0u, report);
    EXPECT_EQ(1, F_ApiGetInt(0, report, FP_DocIsReport));
    F_ObjHandleT plain = om_ReportSecondAddEntry(6, 0, "", 0, "all ", "is ", "well");
    F_ObjHandleT linked = om_ReportSecondAddEntry(14, doc, "", root, "bold", "", "");
    EXPECT_EQ(0u, om_ReportSecondAddEntry(11, 0, "", 0, "no BoldRedMessage in this template", "", ""));
    EXPECT_TRUE(Shown("The report entry \"BoldRedMessage\" could not be added to the report."));
    EXPECT_EQ((std::vector<std::string>{"Heading1", "LongDateAndTime", "NormalMessage", "SingleLine", "NormalMessage", "BoldMessage"}),
              Tags(report));
    std::string value;
    om_AttrGetValue(report, plain, "id", &value);
    EXPECT_EQ(std::to_string(F_ApiGetInt(report, plain, FP_Unique)), value);
    F_ObjHandleT marker = F_ApiGetId(0, report, FP_FirstMarkerInDoc);
    ASSERT_NE(0u, marker);
    StringT text = F_ApiGetString(report, marker, FP_MarkerText);
    EXPECT_EQ("Z:\\t\\periphery.fm" + std::to_string(F_ApiGetInt(doc, root, FP_Unique)), std::string(text));  // kind 14
    F_ApiDeallocateString(&text);
    EXPECT_EQ(report, om_ReportSecondOpen(100));  // open already
    om_ReportCloseSecond();
    EXPECT_EQ(0, F_ApiGetObjectType(0, report));
    (void)linked;
}

TEST_F(SecondReportWriter, AMissingTemplateIsReportedOnce) {
    om_ReportSecondSetTemplate(Win(dir / "absent.fm").c_str());
    EXPECT_EQ(0u, om_ReportSecondOpen(100));
    EXPECT_EQ(0u, om_ReportSecondOpen(100));
    int alerts = 0;
    for (const auto &l : host::TranscriptLines()) alerts += l.find("The report template could not be opened") != std::string::npos;
    EXPECT_EQ(1, alerts);
    EXPECT_EQ(0u, om_ReportSecondAddEntry(6, 0, "", 0, "x", "", ""));
}

}  // namespace
