// The XPath error report: entries appended to the document made from the shipped template,
// caret lines under the faulty column, and the messages when the template cannot be opened.
#include <gtest/gtest.h>

#include "client.h"
#include "lib/host/element_text.h"
#include "lib/translation/lang.h"
#include "model.h"
#include "model_layout.h"
#include "paths.h"
#include "transcript.h"
#include "xpath/xpath.h"

extern "C" void F_ApiClientInit(void);

namespace {

class XPathReport : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetSession();
        host::ClearTranscript();
        qv::LangReset();  // the engine alone: its messages in built-in English
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        saved = XPathErrorReportPaths;
        std::string dir = host::WindowsPath(std::string(QV_SOURCE_DIR) + "/defaults") + "\\";
        XPathErrorReportPaths.templatePath = dir + "XPath_Error_Report_Template.fm";
        XPathErrorReportPaths.reportPath = dir + "XPath_Error_Report.fm";
    }
    void TearDown() override {
        XPathErrorReportPaths = saved;
        qv::LangReset();
        host::ResetClients();
        host::ResetSession();
    }
    // Every child of the report's root as "Tag:text".
    std::vector<std::string> Entries(F_ObjHandleT doc) {
        std::vector<std::string> out;
        F_ObjHandleT root = F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement);
        for (F_ObjHandleT e = F_ApiGetId(doc, root, FP_FirstChildElement); e; e = F_ApiGetId(doc, e, FP_NextSiblingElement))
            out.push_back(om_ElementTag(doc, e, 0) + ":" + om_ElementText(doc, e, 0, 0, 0, 0));
        return out;
    }
    XPathErrorReportPathsT saved;
    using V = std::vector<std::string>;
};

TEST_F(XPathReport, EntriesAccumulateInOneReport) {
    EXPECT_EQ(om_XPathCompile("//a/[b]", 1), XPATH_ERR_BAD_ARG_AFTER_SLASH);
    F_ObjHandleT doc = om_XPathOpenErrorReport();
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocIsReport), 1);
    for (IntT p : {FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3, FP_ViewMode}) EXPECT_EQ(F_ApiGetInt(0, doc, p), 0) << p;
    StringT label = F_ApiGetString(0, doc, FP_Label);
    EXPECT_STREQ(label, XPathErrorReportPaths.reportPath.c_str());
    F_ApiDeallocateString(&label);
    std::string message = om_XPathErrorMessage(XPATH_ERR_BAD_ARG_AFTER_SLASH);
    ASSERT_FALSE(message.empty());
    // The caret stands under the slash before the bracket.
    EXPECT_EQ(Entries(doc), (V{"XPathErrorHeading:", "XPath://a/[b]", "ErrorPosition:...^", "ErrorMessage:" + message}));

    // A second error goes below the first in the same document, also when asked by another
    // client through the call interface.
    host::LoadClientInProcess(F_ApiClientInit, "");
    EXPECT_EQ(F_ApiCallClient("Quorvane", "ParseXPath---//p[---True"), 3);
    EXPECT_EQ(om_XPathOpenErrorReport(), doc);
    V entries = Entries(doc);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[4], "XPathErrorHeading:");
    EXPECT_EQ(entries[5], "XPath://p[");
    EXPECT_EQ(entries[7], "ErrorMessage:" + om_XPathErrorMessage(XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP));
    // Without the report flag nothing is added.
    EXPECT_EQ(F_ApiCallClient("Quorvane", "ParseXPath---//q["), 3);
    EXPECT_EQ(Entries(doc).size(), 8u);
}

TEST_F(XPathReport, LongExpressionsAreCutIntoLinesOfSixty) {
    std::string text(130, 'a');
    om_XPathReportError(text, 70, XPATH_ERR_UNKNOWN_AXIS);
    F_ObjHandleT doc = om_XPathOpenErrorReport();
    ASSERT_NE(doc, 0u);
    V e = Entries(doc);
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(e[1], "XPath:" + std::string(60, 'a'));
    EXPECT_EQ(e[2], "ErrorPosition:" + std::string(60, '.'));
    EXPECT_EQ(e[3], "XPath:" + std::string(60, 'a'));
    EXPECT_EQ(e[4], "ErrorPosition:" + std::string(10, '.') + "^");
    EXPECT_EQ(e[5], "XPath:" + std::string(10, 'a'));
    EXPECT_EQ(e[6], "ErrorPosition:");
    // The caret follows characters, not bytes: column 4 (bytes) of "éa/b" is character 3.
    om_XPathReportError("\xC3\xA9" "a/b", 4, XPATH_ERR_UNKNOWN_AXIS);
    e = Entries(doc);
    EXPECT_EQ(e[e.size() - 2], "ErrorPosition:...^");
    // A too-long expression puts the caret under its last character.
    om_XPathReportError("abcd", 1, XPATH_ERR_TOO_DAMNED_LONG);
    e = Entries(doc);
    EXPECT_EQ(e[e.size() - 2], "ErrorPosition:...^");
}

// Each line of an entry is laid out once: the report's layout follows the lines appended to it
// instead of laying out the whole report again for each (a 200 KB expression took a minute).
TEST_F(XPathReport, ReportLayoutWorkGrowsWithTheExpressionsLength) {
    auto laidOut = [](size_t length) {
        const unsigned long before = host::LayoutParagraphsLaidOut();
        om_XPathReportError(std::string(length, 'a'), 1, XPATH_ERR_UNKNOWN_AXIS);
        return host::LayoutParagraphsLaidOut() - before;
    };
    const unsigned long shortOne = laidOut(600), longOne = laidOut(6000);  // 10 and 100 lines
    F_ObjHandleT doc = om_XPathOpenErrorReport();
    ASSERT_EQ(Entries(doc).size(), 22u + 202u);  // a heading, lines with caret lines, a message
    EXPECT_GE(longOne, 200u);
    EXPECT_LE(longOne, 10 * shortOne);
    // What the layout followed reads as a layout built afresh would.
    std::vector<std::string> followed = Entries(doc);
    host::MarkChanged(doc, false);
    EXPECT_EQ(Entries(doc), followed);
}

TEST_F(XPathReport, MissingTemplateIsReportedAndTheCompileUnaffected) {
    XPathErrorReportPaths.templatePath = "Z:\\nowhere\\XPath_Error_Report_Template.fm";
    EXPECT_EQ(om_XPathCompile("//a[", 1), XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP);
    std::string shown;
    for (const std::string &l : host::TranscriptLines()) shown += l + "\n";
    EXPECT_NE(shown.find("Z:\\nowhere\\XPath_Error_Report_Template.fm, could not be opened"), std::string::npos) << shown;
    EXPECT_NE(shown.find("The XPath error report could not be opened."), std::string::npos) << shown;
    EXPECT_EQ(om_XPathOpenErrorReport(), 0u);
}

}  // namespace
