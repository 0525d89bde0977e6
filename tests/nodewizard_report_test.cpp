// The error report: entries for failing actions with their Hypertext links, the per-batch limit
// with its closing entry, later batches appending to the same report, and a closed report made
// anew from the template.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/globals.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "lib/state/settings_files.h"
#include "model.h"
#include "nodewizard/actions.h"
#include "nodewizard/error_report.h"
#include "paths.h"
#include "transcript.h"
#include "user.h"

namespace {

class ErrorReport : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetUser();
        host::ClearTranscript();
        om_NWSetDefaults();
        saved = SettingsFiles.reportTemplate;
        SettingsFiles.reportTemplate =
            host::WindowsPath(std::string(QV_SOURCE_DIR) + "/defaults") + "\\" + kReportTemplateFileName;
        doc = host::NewDocument("Z:\\t\\r.fm");
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        F_ObjHandleT paraDef = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        F_ObjHandleT root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        for (int i = 0; i < 10; ++i) paras.push_back(host::AppendElement(doc, root, paraDef));
        host::MarkChanged(doc);
        NodeWizardQuery.elementAction = 2;
        NodeWizardRun.retagName = "Nope";  // every retag fails with 301
    }
    void TearDown() override {
        SettingsFiles.reportTemplate = saved;
        host::ResetUser();
    }
    // The children of the report's root: "Tag" or "Tag:text", the marker as "[marker text]".
    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        F_ObjHandleT r = ErrorReportDoc;
        F_ObjHandleT root = F_ApiGetId(r, F_ApiGetId(0, r, FP_MainFlowInDoc), FP_HighestLevelElement);
        for (F_ObjHandleT e = F_ApiGetId(r, root, FP_FirstChildElement); e; e = F_ApiGetId(r, e, FP_NextSiblingElement)) {
            std::string line = om_ElementTag(r, e, 0);
            for (F_ObjHandleT c = F_ApiGetId(r, e, FP_FirstChildElement); c; c = F_ApiGetId(r, c, FP_NextSiblingElement)) {
                if (F_ApiGetInt(r, c, FP_ElementType) == FV_FO_MARKER) {
                    F_ObjHandleT m = F_ApiGetId(r, c, FP_Object);
                    StringT t = F_ApiGetString(r, m, FP_MarkerText);
                    F_ObjHandleT type = F_ApiGetId(r, m, FP_MarkerTypeId);
                    StringT typeName = F_ApiGetString(r, type, FP_Name);
                    line += std::string(":[") + t + "|" + typeName + "]";
                    F_ApiDeallocateString(&t);
                    F_ApiDeallocateString(&typeName);
                } else {
                    line += ":" + om_ElementText(r, c, 0, 0, 1, 0);
                }
            }
            out.push_back(line);
        }
        return out;
    }
    F_ObjHandleT doc = 0;
    std::vector<F_ObjHandleT> paras;
    std::string saved;
};

TEST_F(ErrorReport, ABatchWritesUpToTheLimitThenOneLimitEntry) {
    NodeWizardOptions.maxErrors = 3;
    for (F_ObjHandleT p : paras) EXPECT_EQ(om_NWPerformElemAction(doc, p, 0, 0), 301);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 10u);
    ASSERT_NE(ErrorReportDoc, 0u);
    StringT label = F_ApiGetString(0, ErrorReportDoc, FP_Label);
    EXPECT_STREQ(label, "Quorvane Error Report");
    F_ApiDeallocateString(&label);
    std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 8u);
    std::string link = "openObjectId Z:\\t\\r.fm:5 " + std::to_string(F_ApiGetInt(doc, paras[0], FP_Unique));
    EXPECT_EQ(entries[0], "NodeActionElemErrorHeading");
    EXPECT_EQ(entries[1].rfind("NodeWizardActionError:[" + link + "|Hypertext]:", 0), 0u) << entries[1];
    EXPECT_NE(entries[1].find("NWA_ERR_MSG_1"), std::string::npos);
    EXPECT_NE(entries[7].find("NWA_ERR_MSG_100"), std::string::npos) << entries[7];

    // The next batch starts its own count and appends to the same report.
    NodeWizardQuery.reportedErrors = 0;
    AttrActionCode = 61;  // attribute failures get their own heading
    EXPECT_EQ(om_NWPerformAttrAction(doc, paras[0], -1, 0, 0, 0), 326);
    entries = Entries();
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[8], "NodeActionAttrErrorHeading");

    // A closed report is made anew from the template.
    F_ObjHandleT first = ErrorReportDoc;
    ASSERT_EQ(F_ApiClose(first, 1), 0);
    EXPECT_EQ(om_NWPerformElemAction(doc, paras[1], 0, 0), 301);
    EXPECT_NE(ErrorReportDoc, first);
    EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(ErrorReport, WithoutTheTemplateEachEntrySaysSoAndTheCreationFailureOnlyOnce) {
    SettingsFiles.reportTemplate = "Z:\\nowhere\\Quorvane_Report_Template.fm";
    for (int i = 0; i < 2; ++i) EXPECT_EQ(om_NWPerformElemAction(doc, paras[i], 0, 0), 301);
    EXPECT_EQ(ErrorReportDoc, 0u);
    int creation = 0, missing = 0;
    for (const std::string &l : host::TranscriptLines()) {
        if (l.find("An error occurred while generating the error report") != std::string::npos) ++creation;
        if (l.find("NWA_ERR_MSG_101") != std::string::npos) ++missing;
    }
    EXPECT_LE(creation, 1);
    EXPECT_EQ(missing, 2);
}

TEST_F(ErrorReport, AReportWithoutTheEntryDefinitionsTakesNothingAnywhere) {
    // Another template: its document lacks the entries' element definitions.
    SettingsFiles.reportTemplate = host::WindowsPath(std::string(QV_SOURCE_DIR) + "/defaults") + "\\XPath_Error_Report_Template.fm";
    EXPECT_EQ(om_NWPerformElemAction(doc, paras[0], 0, 0), 301);
    ASSERT_NE(ErrorReportDoc, 0u);
    F_ObjHandleT r = ErrorReportDoc;
    F_ObjHandleT root = F_ApiGetId(r, F_ApiGetId(0, r, FP_MainFlowInDoc), FP_HighestLevelElement);
    EXPECT_EQ(F_ApiGetId(r, root, FP_FirstChildElement), 0u);  // no marker, no message anywhere
}

}  // namespace
