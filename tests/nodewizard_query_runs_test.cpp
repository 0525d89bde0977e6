// Query runs of the Node Wizard: Match First and Match Next over every flow, a compiled query
// that a node-table reset took away, and Perform On All after a script left the clipboard flags.
#include <gtest/gtest.h>

#include <string>

#include "fdk.h"
#include "lib/globals.h"
#include "lib/state/nodewizard.h"
#include "model.h"
#include "nodewizard/actions.h"
#include "nodewizard/query_runs.h"
#include "transcript.h"
#include "user.h"
#include "xpath/xpath.h"

namespace {

// Two flows, each with one p: Main (Doc > Sec > p 'a') and Side (Doc > p 'b').
class QueryRuns : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetUser();
        host::ClearTranscript();
        om_NWSetDefaults();
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        doc = host::NewDocument("Z:\\t\\flows.fm");
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        F_ObjHandleT secDef = host::AddElementDef(doc, "Sec");
        F_ObjHandleT pDef = host::AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
        F_ObjHandleT root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        F_ObjHandleT sec = host::AppendElement(doc, root, secDef);
        pa = host::AppendElement(doc, sec, pDef);
        host::AppendText(doc, pa, "a");
        F_ObjHandleT side = host::AddFlow(doc, "Side");
        F_ObjHandleT root2 = host::AppendElement(doc, 0, docDef, side);
        pb = host::AppendElement(doc, root2, pDef);
        host::AppendText(doc, pb, "b");
        host::MarkChanged(doc);
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
        NodeWizardQuery.expression = "//p";
        NodeWizardPrompts.performAllWarning = 0;
    }
    void TearDown() override { host::ResetUser(); }
    bool Told(const std::string &id) {
        for (const std::string &l : host::TranscriptLines())
            if (l.find(id) != std::string::npos) return true;
        return false;
    }
    F_ObjHandleT doc = 0, pa = 0, pb = 0;
};

TEST_F(QueryRuns, MatchNextOverAllFlowsGoesOnToTheLaterFlows) {
    NodeWizardOptions.allFlows = 1;
    om_NWRunQuery(NW_BTN_MATCH_FIRST);
    ASSERT_EQ(MatchList.size(), 1u);
    EXPECT_EQ(MatchList[0].elem, pa);
    EXPECT_EQ(om_NWMatchNextOrPerform(NW_BTN_MATCH_NEXT), pb);
    EXPECT_FALSE(Told("NW_GEN_MSG_14"));
    EXPECT_EQ(om_NWMatchNextOrPerform(NW_BTN_MATCH_NEXT), 0u);
    EXPECT_TRUE(Told("NW_GEN_MSG_14"));
    EXPECT_EQ(MatchList.size(), 2u);
}

TEST_F(QueryRuns, PerformAndMatchNextActsOnTheSelectionItHadAndFindsTheNextMatch) {
    NodeWizardOptions.allFlows = 1;
    host::AddElementDef(doc, "q", FV_FO_CONTAINER, "Body");
    NodeWizardRun.retagName = "q";
    om_NWRunQuery(NW_BTN_MATCH_FIRST);  // shows and selects the first p
    NodeWizardQuery.elementAction = 2;
    // With nothing selected the next match is found and nothing is acted on.
    F_ElementRangeT none{};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &none);
    EXPECT_EQ(om_NWMatchNextOrPerform(NW_BTN_PERFORM_AND_NEXT), pb);
    EXPECT_EQ(AttemptedActions, 0u);
    EXPECT_EQ(host::Def(host::Elem(pa)->def)->name, "p");
    // Now the second p is selected: it is retagged, and there is no further match.
    EXPECT_EQ(om_NWMatchNextOrPerform(NW_BTN_PERFORM_AND_NEXT), 0u);
    EXPECT_EQ(AttemptedActions, 1u);
    EXPECT_EQ(host::Def(host::Elem(pb)->def)->name, "q");
}

TEST_F(QueryRuns, MatchNextRefusesAQueryTheNodeTableNoLongerHolds) {
    om_NWRunQuery(NW_BTN_MATCH_FIRST);
    ASSERT_NE(om_NWCompiledSequence(), 0);
    // The table is reset and another expression takes the same number.
    om_XPathResetNodeTable();
    IntT other = om_XPathCompile("//Sec", 0);
    ASSERT_EQ(other, NodeWizardRun.sequence);
    EXPECT_EQ(om_NWCompiledSequence(), 0);
    EXPECT_EQ(om_NWMatchNextOrPerform(NW_BTN_MATCH_NEXT), 0u);
    EXPECT_TRUE(Told("NW_GEN_MSG_14"));
    EXPECT_EQ(MatchList.size(), 1u);
}

TEST_F(QueryRuns, PerformOnAllPastesAlthoughAScriptLeftTheClipboardEmptyFlag) {
    NodeWizardQuery.elementAction = 25;  // copy the first p to the clipboard
    ASSERT_EQ(om_NWPerformElemAction(doc, pa, 0, 0), 0);
    ClipboardEmpty = 1;
    NodeWizardQuery.expression = "//Sec";
    NodeWizardQuery.elementAction = 16;  // paste at the end of each section
    om_NWRunQuery(NW_BTN_PERFORM_ON_ALL);
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 1u);
    F_ObjHandleT sec = host::Elem(pa)->parent;
    EXPECT_NE(host::Elem(sec)->last, pa);  // a pasted copy follows the first p
}

TEST_F(QueryRuns, PerformOnAllAsksFirstAndStopsOnNo) {
    NodeWizardPrompts.performAllWarning = 1;
    NodeWizardQuery.elementAction = 8;
    host::UserAnswer no;
    no.kind = "alert";
    no.value = "no";
    host::QueueAnswer(no);
    om_NWRunQuery(NW_BTN_PERFORM_ON_ALL);
    EXPECT_NE(host::Elem(pa), nullptr);
    EXPECT_EQ(AttemptedActions, 0u);
}

}  // namespace
