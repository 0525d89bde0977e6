// Host dialogs: resources opened by name from the calling module, item kinds and properties,
// modal runs driven by the scripted user (nested events, dismissal, the close box as Cancel),
// modeless dialogs (close box, refresh), pop-ups filling their text box, radio groups, lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client.h"
#include "dialog.h"
#include "fdk.h"
#include "transcript.h"
#include "user.h"

namespace {

const char *kAsk = R"(dialog test_Ask
title "Ask"
ok 4
cancel 5
default 4
item 0 label "" hidden
item 1 label "Name:"
item 2 textbox "" pair 3
item 3 popup "" pair 2 labels " " "alpha" "beta"
item 4 button "OK"
item 5 button "Cancel"
item 6 radio "One" group 1
item 7 radio "Two" group 1
item 8 checkbox "Tri" threestate
item 9 scrolllist "" labels "a" "b" "c"
item 10 button "Keep" greyed
)";
const char *kPalette = R"(dialog test_Palette
title "Palette"
item 0 label "Status"
item 1 button "Go"
)";

struct Event {
    IntT dlg, item, dbl;
};
std::vector<Event> events;
IntT keepItem = -100;   // the handler answers -10000 for this item
F_ObjHandleT current = 0;
bool closeOnOk = false;

void Init(IntT) {}
void OnEvent(IntT dlg, IntT item, IntT) {
    events.push_back({dlg, item, F_ApiGetInt(0, current, FP_DlgDoubleClick)});
    if (item == keepItem) F_ApiReturnValue(FV_DlgNoDismiss);
    if (closeOnOk && item == 4) F_ApiClose(current, 0);
}
void *Resource(ConStringT name) {
    std::string n = name;
    if (n == "test_Ask") return const_cast<char *>(kAsk);
    if (n == "test_Palette") return const_cast<char *>(kPalette);
    return nullptr;
}
void ClientInit() {
    static F_ApiClientCallbacksT cb{"DialogTester", Init, nullptr, OnEvent, nullptr, Resource};
    F_ApiRegisterClient(&cb);
}

class HostDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetUser();
        host::ClearTranscript();
        host::LoadClientInProcess(ClientInit, "");
        events.clear();
        keepItem = -100;
        closeOnOk = false;
        FA_errno = 0;
    }
    void TearDown() override {
        host::ResetUser();
        host::ResetClients();
    }
    F_ObjHandleT Open(const char *name) { return current = F_ApiOpenResource(FO_DialogResource, name); }
    F_ObjHandleT Item(IntT n) { return F_ApiDialogItemId(current, n); }
};

TEST_F(HostDialogs, ResourceOpensAsDialogWithTypedItems) {
    EXPECT_EQ(0u, F_ApiOpenResource(FO_DialogResource, "no_such_dialog"));
    EXPECT_NE(0, FA_errno);
    F_ObjHandleT d = Open("test_Ask");
    ASSERT_NE(0u, d);
    EXPECT_EQ(FO_DialogResource, F_OBJ_KIND(d));
    EXPECT_EQ(10, F_ApiGetInt(0, d, FP_DlgHighestItem));
    EXPECT_NE(0, F_ApiGetInt(0, d, FP_DlgIsOpen));
    StringT title = F_ApiGetString(0, d, FP_Label);
    EXPECT_STREQ("Ask", title);
    F_ApiDeallocateString(&title);
    const std::vector<std::pair<IntT, IntT>> kinds = {{0, FO_DlgLabel},       {2, FO_DlgTextBox},
                                                      {3, FO_DlgPopUp},       {4, FO_DlgButton},
                                                      {6, FO_DlgRadioButton}, {8, FO_DlgCheckBox},
                                                      {9, FO_DlgScrollBox}};
    for (auto [n, kind] : kinds) EXPECT_EQ(kind, F_OBJ_KIND(Item(n))) << "item " << n;
    EXPECT_EQ(0u, F_ApiDialogItemId(d, 11));
    EXPECT_EQ(0, F_ApiGetInt(d, Item(10), FP_DlgSensitivity));
    EXPECT_EQ(0, F_ApiGetInt(d, Item(0), FP_DlgVisibility));
    // An item is read with its dialog, never with document 0.
    FA_errno = 0;
    F_ApiGetInt(0, Item(4), FP_DlgState);
    EXPECT_NE(0, FA_errno);
}

TEST_F(HostDialogs, ModalRunDeliversNestedEventsAndKeepsItemsUntilClosed) {
    F_ObjHandleT d = Open("test_Ask");
    host::QueueDialogActions("test_Ask", {"type 2 typed", "choose 3 2", "choose 3 0", "dblclick 9 1", "press 4"});
    EXPECT_EQ(0, F_ApiModalDialog(77, d));
    ASSERT_EQ(5u, events.size());
    EXPECT_EQ(77, events[0].dlg);
    EXPECT_EQ(2, events[0].item);
    EXPECT_EQ(3, events[1].item);
    EXPECT_EQ(1, events[3].dbl);  // the double click is visible in 1706 during its event
    EXPECT_EQ(0, events[2].dbl);
    EXPECT_EQ(4, events[4].item);
    // Choosing "beta" filled the text box; the placeholder entry left it alone.
    StringT text = F_ApiGetString(d, Item(2), FP_DlgText);
    EXPECT_STREQ("beta", text);
    F_ApiDeallocateString(&text);
    EXPECT_EQ(1, F_ApiGetInt(d, Item(9), FP_DlgState));
    const F_ObjHandleT label = Item(1);
    F_ApiSetString(d, label, FP_Label, "Full name:");
    StringT written = F_ApiGetString(d, label, FP_Label);
    EXPECT_STREQ("Full name:", written);
    F_ApiDeallocateString(&written);
    EXPECT_EQ(0, F_ApiClose(d, 0));
    EXPECT_EQ(0, F_ApiGetInt(0, d, FP_DlgIsOpen));
    FA_errno = 0;
    EXPECT_EQ(0, F_ApiGetInt(d, Item(9), FP_DlgState));
    EXPECT_NE(0, FA_errno);
    // The label of an item of the closed dialog is written nowhere.
    FA_errno = 0;
    F_ApiSetString(d, label, FP_Label, "Again:");
    EXPECT_EQ(FE_BadObjId, FA_errno);
}

// The placeholder is the lead the resource gives a paired pop-up, or a blank: a list set without
// that lead has none, and its first entry fills the text box like the others.
TEST_F(HostDialogs, PairedPopupFirstEntryIsAChoiceUnlessItIsTheLead) {
    const struct {
        std::vector<std::string> labels;  // set by the client ({} keeps the resource's)
        const char *typed;                // in the text box after "choose 3 0"
    } cases[] = {
        {{}, "typed"},                             // the resource's lead " "
        {{"//newest", "//older"}, "//newest"},      // no lead: the first is a choice
        {{" ", "//newest"}, "typed"},              // the lead set again
        {{"\t", "x"}, "typed"},                    // a blank first entry, as a translation leaves it
    };
    for (const auto &c : cases) {
        F_ObjHandleT d = Open("test_Ask");
        if (!c.labels.empty()) {
            std::vector<std::string> labels = c.labels;
            std::vector<char *> ptrs;
            for (std::string &l : labels) ptrs.push_back(l.data());
            F_StringsT list{static_cast<UIntT>(ptrs.size()), ptrs.data()};
            F_ApiSetStrings(d, Item(3), FP_DlgLabels, &list);
        }
        host::QueueDialogActions("test_Ask", {"type 2 typed", "choose 3 0", "press 4"});
        EXPECT_EQ(0, F_ApiModalDialog(77, d));
        StringT text = F_ApiGetString(d, Item(2), FP_DlgText);
        EXPECT_STREQ(c.typed, text) << (c.labels.empty() ? "resource" : c.labels[0]);
        F_ApiDeallocateString(&text);
        F_ApiClose(d, 0);
    }
}

TEST_F(HostDialogs, CloseBoxPressesCancelAndRefusalsCannotHang) {
    F_ObjHandleT d = Open("test_Ask");
    EXPECT_EQ(0, F_ApiModalDialog(5, d));  // no scripted answer: the close box
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(5, events[0].item);
    events.clear();
    keepItem = 5;  // Cancel always refused: the host gives up after a few tries
    EXPECT_EQ(0, F_ApiModalDialog(5, d));
    EXPECT_EQ(3u, events.size());
    F_ApiClose(d, 0);
}

TEST_F(HostDialogs, KeptButtonLeavesDialogUpAndBadActionsAreRefused) {
    F_ObjHandleT d = Open("test_Ask");
    keepItem = 4;
    host::QueueDialogActions("", {"press 4", "press 10", "press 0", "type 4 x", "choose 9 7", "close"});
    F_ApiModalDialog(5, d);
    ASSERT_EQ(2u, events.size());  // OK kept it up; greyed, hidden and bad actions did nothing
    EXPECT_EQ(4, events[0].item);
    EXPECT_EQ(5, events[1].item);
    int refusals = 0;
    for (const auto &l : host::TranscriptLines()) refusals += l.rfind("user: cannot", 0) == 0;
    EXPECT_EQ(4, refusals);
    F_ApiClose(d, 0);
}

TEST_F(HostDialogs, HandlerMayCloseItsOwnDialog) {
    F_ObjHandleT d = Open("test_Ask");
    closeOnOk = true;
    host::QueueDialogActions("test_Ask", {"press 4", "press 5"});
    EXPECT_EQ(0, F_ApiModalDialog(5, d));
    EXPECT_EQ(1u, events.size());
    EXPECT_EQ(0u, F_ApiDialogItemId(d, 4));
}

TEST_F(HostDialogs, StatesFollowTheKindRules) {
    F_ObjHandleT d = Open("test_Ask");
    F_ApiSetInt(d, Item(6), FP_DlgState, 1);
    F_ApiSetInt(d, Item(7), FP_DlgState, 1);
    EXPECT_EQ(0, F_ApiGetInt(d, Item(6), FP_DlgState));  // the radio group has one button on
    FA_errno = 0;
    F_ApiSetInt(d, Item(9), FP_DlgState, 3);  // past the list: refused
    EXPECT_NE(0, FA_errno);
    F_ApiSetInt(d, Item(9), FP_DlgState, 2);
    StringT one[1] = {const_cast<char *>("z")};
    F_StringsT shorter{1, one};
    F_ApiSetStrings(d, Item(9), FP_DlgLabels, &shorter);
    EXPECT_EQ(-1, F_ApiGetInt(d, Item(9), FP_DlgState));  // the state left the new list
    host::QueueDialogActions("", {"check 8", "check 8", "check 8", "radio 6", "close"});
    F_ApiModalDialog(5, d);
    EXPECT_EQ(0, F_ApiGetInt(d, Item(8), FP_DlgState));  // three-state cycles 0, 1, 2, 0
    EXPECT_EQ(1, F_ApiGetInt(d, Item(6), FP_DlgState));
    EXPECT_EQ(0, F_ApiGetInt(d, Item(7), FP_DlgState));
    F_ApiClose(d, 0);
}

TEST_F(HostDialogs, ModelessCloseBoxSendsMinusOneThenTheHostCloses) {
    F_ObjHandleT d = Open("test_Palette");
    EXPECT_EQ(0, F_ApiModelessDialog(11, d));
    std::string error;
    EXPECT_TRUE(host::UserDialogAction("test_Palette", "press 1", &error)) << error;
    EXPECT_TRUE(host::UserDialogAction("test_Palette", "refresh", &error)) << error;
    EXPECT_NE(0, F_ApiGetInt(0, d, FP_DlgIsOpen));  // buttons never dismiss a modeless dialog
    EXPECT_TRUE(host::UserDialogAction("test_Palette", "close", &error)) << error;
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ(1, events[0].item);
    EXPECT_EQ(FV_DlgRefresh, events[1].item);
    EXPECT_EQ(FV_DlgCloseBox, events[2].item);
    EXPECT_EQ(11, events[2].dlg);
    EXPECT_EQ(0, F_ApiGetInt(0, d, FP_DlgIsOpen));
    EXPECT_FALSE(host::UserDialogAction("test_Palette", "press 1", &error));
}

}  // namespace
