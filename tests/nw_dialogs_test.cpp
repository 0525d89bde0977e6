// The Node Wizard dialogs' helpers and services: the jump list, the values offered to the list
// editor, switching between the dialogs at the same place, the match counter, the XPath history,
// and the clipboard scratch pad with the attribute actions that copy to and paste from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/shell_records.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "model.h"
#include "transcript.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/clipboard.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/actions.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/dlgitems.h"
#include "dialog.h"
#include "nodewizard/history.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

void Init(IntT) {}
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", Init, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

class NWDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetClients();
        host::ResetUser();
        host::LoadClientInProcess(ClientInit, "");
        om_NWSetDefaults();
        DialogHandles = DialogHandlesT{};
        doc = host::NewDocument("Z:\\t\\nw.fm");
        F_ObjHandleT rootDef = host::AddElementDef(doc, "Root");
        itemDef = host::AddElementDef(doc, "Item", FV_FO_CONTAINER, "Body");
        host::AttrDef v;
        v.name = "v";
        v.type = FV_AT_STRINGS;
        host::AddAttributeDef(itemDef, v);
        root = host::AppendElement(doc, 0, rootDef, host::MainFlow(doc));
        F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    }
    void TearDown() override {
        for (QvDialogNumber n : {kDlgNodeWizard, kDlgQuickFinder})
            if (DialogHandles[n]) F_ApiClose(DialogHandles[n], 0);
        host::ResetClients();
    }
    F_ObjHandleT Item(std::vector<std::string> values) {
        F_ObjHandleT e = host::AppendElement(doc, root, itemDef);
        host::SetAttribute(doc, e, "v", std::move(values));
        return e;
    }
    F_ObjHandleT doc = 0, itemDef = 0, root = 0;
};

TEST_F(NWDialogs, JumpListSteps) {
    using L = std::vector<std::string>;
    struct Case {
        size_t n;
        L list;
    } cases[] = {
        {1, {"1"}},
        {10, {"1", "10"}},
        {50, {"1", "10", "25", "50"}},
        {105, {"1", "10", "25", "50", "75", "100", "105"}},
        {1000, {"1", "10", "25", "50", "75", "100", "200", "300", "400", "500", "600", "700", "800", "900", "1000"}},
        {1234, {"1", "10", "25", "50", "75", "100", "123", "246", "369", "492", "615", "738", "861", "984", "1107",
                "1234"}},
    };
    for (const Case &c : cases) EXPECT_EQ(om_NWJumpList(c.n), c.list) << c.n;
}

TEST_F(NWDialogs, ValueOffersWithoutRepeatsAndWithTheLimit) {
    Item({"a", "", "b"});
    Item({"b", "c", "  "});  // neither an empty value nor one of blanks alone is offered
    EXPECT_EQ(om_NWAttrValueOffers(doc, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(om_NWAttrNameOffers(doc), (std::vector<std::string>{"{xpath-match}", "v"}));
    // 300 distinct values: the editor is offered the first 253 gathered and the last one.
    std::vector<std::string> many;
    for (int i = 0; i < 300; ++i) many.push_back("x" + std::to_string(i));
    Item(many);
    std::vector<std::string> offered = om_NWAttrValueOffers(doc, 1);
    ASSERT_EQ(offered.size(), 254u);
    EXPECT_EQ(offered[252], "x249");  // a, b, c, then x0 ... x249
    EXPECT_EQ(offered[253], "x299");
    EXPECT_EQ(om_NWAttrValueOffers(doc, 0).size(), 303u);
}

TEST_F(NWDialogs, ValueOffersMergeAttributesWithoutRepeats) {
    host::AttrDef w;
    w.name = "w";
    host::AddAttributeDef(itemDef, w);
    F_ObjHandleT e = Item({"b", "a"});
    host::SetAttribute(doc, e, "w", {"c", "a", ""});
    host::SetAttribute(doc, Item({"d"}), "w", {"b", "e"});
    EXPECT_EQ(om_NWAttrValueOffers(doc, 0), (std::vector<std::string>{"b", "a", "d", "c", "e"}));
}

TEST_F(NWDialogs, SwitchingKeepsThePlaceAndTheExpression) {
    om_NWOpenWizardDialog(-501, -501, 0);
    F_ObjHandleT wizard = DialogHandles[kDlgNodeWizard];
    ASSERT_NE(wizard, 0u);
    F_ApiSetInt(0, wizard, FP_DlgX, 40);
    F_ApiSetInt(0, wizard, FP_DlgY, 60);
    F_ApiSetString(wizard, F_ApiDialogItemId(wizard, 2), FP_DlgText, "//Item[2]");
    om_NWSwitchToQuickFinder();
    F_ObjHandleT finder = DialogHandles[kDlgQuickFinder];
    ASSERT_NE(finder, 0u);
    EXPECT_EQ(DialogHandles[kDlgNodeWizard], 0u);
    EXPECT_EQ(F_ApiGetInt(0, finder, FP_DlgX), 40);
    EXPECT_EQ(F_ApiGetInt(0, finder, FP_DlgY), 60);
    StringT text = F_ApiGetString(finder, F_ApiDialogItemId(finder, 2), FP_DlgText);
    EXPECT_STREQ(text, "//Item[2]");
    F_ApiDeallocateString(&text);
    om_NWSwitchToWizard();
    EXPECT_EQ(DialogHandles[kDlgQuickFinder], 0u);
    EXPECT_EQ(F_ApiGetInt(0, DialogHandles[kDlgNodeWizard], FP_DlgX), 40);
}

TEST_F(NWDialogs, CounterMarksAMatchThatIsGone) {
    EXPECT_EQ(om_NWMatchCounter(true), "! 0 of 0");
    F_ObjHandleT a = Item({}), b = Item({});
    MatchList.append(doc, a);
    MatchList.append(doc, b);
    NodeWizardQuery.currentMatch = 1;
    EXPECT_EQ(om_NWMatchCounter(true), "2 of 2");
    F_ApiDelete(doc, b);
    EXPECT_EQ(om_NWMatchCounter(true), "! 2 of 2");
    EXPECT_EQ(om_NWMatchCounter(false), "2 of 2");
}

TEST_F(NWDialogs, HistoryKeepsOneOfEachMostRecentFirst) {
    for (int i = 0; i < 30; ++i) om_NWAddToHistory(("/e" + std::to_string(i)).c_str());
    ASSERT_EQ(XPathHistory.size(), 24u);
    EXPECT_EQ(XPathHistory.front(), "/e29");
    EXPECT_EQ(XPathHistory.back(), "/e6");
    om_NWAddToHistory("/e10");  // full: the oldest goes, then the earlier /e10
    EXPECT_EQ(XPathHistory.size(), 23u);
    EXPECT_EQ(XPathHistory[0], "/e10");
    EXPECT_EQ(XPathHistory[1], "/e29");
    // A history longer than 24 (loaded from the favorites) keeps its length.
    XPathHistory.assign(30, "");
    for (int i = 0; i < 30; ++i) XPathHistory[i] = "/f" + std::to_string(i);
    om_NWAddToHistory("/new");
    EXPECT_EQ(XPathHistory.size(), 31u);
}

TEST_F(NWDialogs, ScratchPadCarriesTheClipboard) {
    F_ObjHandleT scripts = host::NewDocument("Z:\\t\\Quorvane_Node_Wizard_Scripts.fm");
    F_ObjHandleT padDef = host::AddElementDef(scripts, "Pad", FV_FO_CONTAINER, "Body");
    host::AppendElement(scripts, 0, padDef, host::AddFlow(scripts, "QVRN_ScratchPad"));
    ASSERT_NE(om_NWFindScratchPad(scripts), 0u);

    om_NWWriteScratchPad(scripts, "copied text");
    StringT read = om_NWReadScratchPad(scripts, 1, 0);
    EXPECT_STREQ(read, "copied text");
    om_StrFree(&read);
    std::string longText(300, 'w');
    om_NWWriteScratchPad(scripts, longText.c_str());
    read = om_NWReadScratchPad(scripts, 1, 0);
    EXPECT_EQ(std::string(qv::View(read)), longText.substr(0, 254));
    om_StrFree(&read);
    om_NWWriteScratchPad(scripts, "   ");
    EXPECT_EQ(om_NWLoadClipboardText(scripts), 1);
    EXPECT_EQ(ClipboardEmpty, 1);

    // Copy all values to the clipboard, then paste them at the end of another attribute's value.
    F_ObjHandleT from = Item({"a", "b"}), to = Item({"x"});
    EXPECT_EQ(om_NWAttrCopyToClipboard(doc, from, 0, 0, scripts), 0);
    EXPECT_EQ(ClipboardValues, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ClipboardEmpty, 0);
    ClipboardReload = 1;  // the clipboard is read again through the pad
    EXPECT_EQ(om_NWAttrPasteClipboard(doc, to, "", 0, 2, scripts), 0);
    EXPECT_EQ(HostGetAttributes(doc, to)[0].values, std::vector<std::string>{"xa b"});
    EXPECT_EQ(om_NWAttrCopyToClipboard(doc, from, 0, 1, scripts), 0);  // the first value only
    EXPECT_EQ(ClipboardValues, std::vector<std::string>{"a"});
    EXPECT_EQ(om_NWAttrPasteClipboard(doc, to, "", 0, 1, scripts), 0);
    EXPECT_EQ(HostGetAttributes(doc, to)[0].values, std::vector<std::string>{"axa b"});
    // No matched attribute: 325 and 309; no scratch pad: the message and CancelFlag.
    EXPECT_EQ(om_NWAttrCopyToClipboard(doc, from, 5, 0, scripts), 325);
    EXPECT_EQ(om_NWAttrPasteClipboard(doc, to, "", -1, 3, scripts), 309);
    CancelFlag = 0;
    host::ClearTranscript();
    EXPECT_EQ(om_NWAttrCopyToClipboard(doc, from, 0, 0, doc), 325);
    EXPECT_EQ(CancelFlag, 1);
    std::string shown;
    for (const std::string &line : host::TranscriptLines()) shown += line + "\n";
    EXPECT_NE(shown.find("NWS_GEN_MSG_100"), std::string::npos) << shown;
}

// The status line counts every attempted action up to 250, then every tenth and twenty-fifth up
// to 1,000, then every twenty-fifth.
TEST_F(NWDialogs, AttemptCounterShowsOnItsCadence) {
    ASSERT_EQ(0, om_DlgOpenStatus(1224, "Processing...", 0, ""));
    F_ObjHandleT box = host::FindOpenDialogByResource("om_Dialog_Status");
    ASSERT_NE(0u, box);
    F_ObjHandleT item = Item({"a"});
    const struct {
        UIntT attempt;
        bool shown;
    } cases[] = {{1, true}, {249, true}, {250, true}, {251, false}, {255, false}, {260, true},
                 {275, true}, {1000, true}, {1010, false}, {1025, true}, {1030, false}};
    for (const auto &c : cases) {
        om_DlgSetStatusLines("*", "*", "-", "*");
        AttemptedActions = c.attempt - 1;
        NodeWizardQuery.elementAction = 2;  // retag to a name the document lacks: a counted failure
        NodeWizardRun.retagName = "Nope";
        om_NWPerformElemAction(doc, item, 0, 0);
        StringT label = om_DlgGetLabel(box, 3, "");
        std::string line(qv::View(label));
        F_ApiDeallocateString(&label);
        EXPECT_EQ(line, c.shown ? "  Attempted actions:  " + std::to_string(c.attempt) : "-") << c.attempt;
    }
    om_DlgCloseStatus();
}

}  // namespace
