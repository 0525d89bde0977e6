// Reading the Node Wizard and the Quick Finder into the Node Wizard's state before a run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "lib/dialogs/dlgitems.h"
#include "lib/globals.h"
#include "lib/plugin_globals.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/listconv.h"
#include "model.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/query_runs.h"
#include "transcript.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

void Init(IntT) {}
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", Init, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

class ReadDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetClients();
        host::ResetUser();
        host::ClearTranscript();
        host::LoadClientInProcess(ClientInit, "");
        om_NWSetDefaults();
        DialogHandles = DialogHandlesT{};
        doc = host::NewDocument("Z:\\t\\rd.fm");
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    }
    void TearDown() override {
        for (QvDialogNumber n : {kDlgNodeWizard, kDlgQuickFinder})
            if (DialogHandles[n]) F_ApiClose(DialogHandles[n], 0);
        host::ResetClients();
    }
    // Opens the Node Wizard with the expression and the two action names typed in.
    F_ObjHandleT Wizard(const char *elementAction, const char *attrAction) {
        om_NWOpenWizardDialog(0, 0, 0);
        F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard];
        EXPECT_NE(dlg, 0u);
        om_DlgSetText(dlg, 2, "//p", "");
        om_DlgSetText(dlg, 20, elementAction, "");
        om_DlgSetText(dlg, 30, attrAction, "");
        return dlg;
    }
    void Labels(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &labels) {
        F_StringsT list = qv::NewStrings(labels);
        om_DlgSetLabelsUnchecked(dlg, item, &list);
        F_ApiDeallocateStrings(&list);
    }
    F_ObjHandleT doc = 0;
};

TEST_F(ReadDialog, ListBreakingActionsDropTheAttributeAction) {
    struct Case {
        const char *element;
        IntT attr;
    } cases[] = {{"Unwrap", 1}, {"Delete element", 1}, {"Paste CB over elem", 1}, {"Move up", 40}, {"Retag as", 40}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.element);
        Wizard(c.element, "Add specified values");
        om_NWReadDialog(1);
        EXPECT_EQ(CancelFlag, 0);
        EXPECT_EQ(NodeWizardQuery.expression, "//p");
        EXPECT_EQ(AttrActionCode, c.attr);
        TearDown();
        SetUp();
    }
}

TEST_F(ReadDialog, SearchAndReplaceGetsAReplacementForEverySearchString) {
    F_ObjHandleT dlg = Wizard("None", "Search and replace string");
    Labels(dlg, 35, {"a", "b", "c"});
    Labels(dlg, 38, {"x"});
    om_NWReadDialog(1);
    EXPECT_EQ(ActionAttrNames, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ActionAttrValues, (std::vector<std::string>{"x", "", ""}));
}

TEST_F(ReadDialog, AnUnknownActionNameStopsAValidatingRead) {
    Wizard("Bogus", "None");
    om_NWReadDialog(0);
    EXPECT_EQ(CancelFlag, 0);
    EXPECT_EQ(NodeWizardQuery.elementAction, 315);  // stored, does nothing
    om_NWReadDialog(1);
    EXPECT_EQ(CancelFlag, 1);
    bool told = false;
    for (const std::string &l : host::TranscriptLines()) told = told || l.find("NW_GEN_MSG_25") != std::string::npos;
    EXPECT_TRUE(told);
}

TEST_F(ReadDialog, TheQuickFinderNeverParsesOnlyOrSearchesAllFlows) {
    NodeWizardOptions.parseOnly = NodeWizardOptions.printComponents = NodeWizardOptions.allFlows = 1;
    om_NWOpenQuickFinder(0, 0, 0);
    F_ObjHandleT dlg = DialogHandles[kDlgQuickFinder];
    ASSERT_NE(dlg, 0u);
    om_DlgSetText(dlg, 2, "//q", "");
    om_NWReadDialog(1);
    EXPECT_EQ(NodeWizardQuery.expression, "//q");
    EXPECT_EQ(NodeWizardOptions.parseOnly, 0);
    EXPECT_EQ(NodeWizardOptions.printComponents, 0);
    EXPECT_EQ(NodeWizardOptions.allFlows, 0);
}

}  // namespace

namespace {

// A relative query with every flow asked for: the message says the option does not apply and
// box 40 shows it off, so the next run neither repeats the message nor searches every flow.
TEST_F(ReadDialog, AllFlowsSwitchedOffShowsOffInTheDialog) {
    F_ObjHandleT root = host::AppendElement(doc, 0, host::AddElementDef(doc, "Doc"), host::MainFlow(doc));
    F_ObjHandleT p = host::AppendElement(doc, root, host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body"));
    host::AppendText(doc, p, "a");
    F_ElementRangeT sel{{root, p, 0}, {root, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &sel);
    NodeWizardPrompts.overrideAllFlows = 1;  // tell every time
    F_ObjHandleT dlg = Wizard("None", "None");
    om_DlgSetText(dlg, 2, "self::p", "");
    om_DlgSetChecked(dlg, 40, 1);
    auto told = [] {
        int n = 0;
        for (const std::string &l : host::TranscriptLines()) n += l.find("NW_GEN_MSG_30") != std::string::npos;
        return n;
    };
    om_NWRunQuery(NW_BTN_MATCH_FIRST);
    EXPECT_EQ(told(), 1);
    EXPECT_EQ(om_DlgIsChecked(dlg, 40), 0);
    om_NWRunQuery(NW_BTN_MATCH_FIRST);
    EXPECT_EQ(told(), 1);
    EXPECT_EQ(NodeWizardOptions.allFlows, 0);
}

}  // namespace
