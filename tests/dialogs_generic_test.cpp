// Generic dialogs driven by the scripted user through the module's own resources: the
// text-and-drop-down dialog, the strings list editor with its nested drop-downs, the status box,
// the check-box dialog and the message-lines dialog; Cancel and the close box included.
#include <gtest/gtest.h>

#include "client.h"
#include "dialog.h"
#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "support/list_helpers.h"
#include "transcript.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

using qvtest::List;
using qvtest::Take;

void Init(IntT) {}
void OnEvent(IntT dlg, IntT item, IntT) {
    if (om_DlgGenericEvent(dlg, item)) F_ApiReturnValue(FV_DlgNoDismiss);
}
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", Init, nullptr, OnEvent, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

class GenericDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetUser();
        host::ClearTranscript();
        host::LoadClientInProcess(ClientInit, "");
        qv::DlgResetGeneric();
    }
    void TearDown() override {
        om_DlgCloseStatus();
        host::ResetUser();
        host::ResetClients();
    }
    bool Shown(const std::string &text) {
        for (const auto &l : host::TranscriptLines())
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(GenericDialogs, DropDownOkCancelAndCloseBox) {
    List suggestions({"alpha", "", "beta"});
    host::QueueDialogActions("om_Dialog_DDown", {"choose 3 2", "press 4"});
    EXPECT_EQ(1, om_DlgRunDDown(1222, "Pick", "Name:", "start", &suggestions.l, 1, "", 0));
    EXPECT_EQ("beta", Take(om_DlgGetResultText(0)));
    EXPECT_TRUE(Shown("dialog \"Pick\" [om_Dialog_DDown]"));
    EXPECT_TRUE(Shown("[\" \", \"alpha\", \"beta\"]"));  // lead blank, empty entry dropped
    // Cancel keeps the typed text; the close box is Cancel and never the previous OK.
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 typed", "press 5"});
    EXPECT_EQ(0, om_DlgRunDDown(1222, "Pick", "Name:", "", nullptr, 1, "", 0));
    EXPECT_EQ("typed", Take(om_DlgGetResultText(0)));
    EXPECT_EQ(0, om_DlgRunDDown(1222, "Pick", "Name:", "", nullptr, 3, "", 0));
    EXPECT_TRUE(Shown("[om_Dialog_DDown_WIDE]"));
    host::QueueDialogActions("", {"close"});
    EXPECT_EQ(0, om_DlgRunDDown(1222, "*", "*", "*", nullptr, 4, "", 0));
    EXPECT_TRUE(Shown("dialog \"Dialog\" [om_Dialog_DDown_REALLY_WIDE]"));  // "*" keeps the resource's title
}

TEST_F(GenericDialogs, ListEditorAddsEditsMovesAndDeletes) {
    List start(qvtest::Strs{});
    // Add "b" and "a" (each through a nested drop-down), a duplicate "a" (warned), move "a" up,
    // edit "a" to "c", then OK.
    host::QueueDialogActions("om_DialogStringsListEditor",
                             {"press 3", "press 3", "press 3", "press 6", "press 4", "press 8"});
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 b", "press 4"});
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 a", "press 4"});
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 a", "press 4"});
    host::UserAnswer ok;
    ok.kind = "alert";
    ok.value = "ok";
    host::QueueAnswer(ok);
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 c", "press 4"});
    EXPECT_EQ(1, om_DlgRunListEditor(1223, "Favorites", &start.l, -1, 1, 0, ""));
    EXPECT_EQ(1, qv::DlgEditorOk());
    EXPECT_EQ((qvtest::Strs{"c", "b"}), Take(om_DlgGetEditorList(0)));
    EXPECT_TRUE(Shown("This item already exists."));
    EXPECT_TRUE(host::PendingAnswers().empty());
}

TEST_F(GenericDialogs, EntryDropDownOffersTheSuggestionsEitherSetterGave) {
    // The suggestions handed over as a counted list or taken over as a vector are the same offer.
    for (bool counted : {true, false}) {
        SCOPED_TRACE(counted ? "counted list" : "vector");
        host::ClearTranscript();
        om_DlgInitGeneric();
        if (counted) {
            List offers({"x", "y"});
            om_DlgSetDDownList(&offers.l);
        } else {
            om_DlgTakeDDownList({"x", "y"});
        }
        List start(qvtest::Strs{});
        host::QueueDialogActions("om_DialogStringsListEditor", {"press 3", "press 9"});
        host::QueueDialogActions("om_Dialog_DDown", {"press 5"});
        om_DlgRunListEditor(1223, "T", &start.l, -1, 1, 0, "");
        EXPECT_TRUE(Shown("[\" \", \"x\", \"y\"]"));
    }
}

TEST_F(GenericDialogs, ListEditorButtonsFollowTheListAndCancelKeepsNothing) {
    List start({"x", "y", "z"});
    // Delete the last entry: the new last one is selected; moving it down does nothing.
    host::QueueDialogActions("om_DialogStringsListEditor_Wide", {"choose 2 2", "press 5", "press 7", "close"});
    EXPECT_EQ(0, om_DlgRunListEditor(1223, "*", &start.l, -1, 2, 0, ""));
    EXPECT_EQ(0, qv::DlgEditorOk());
    EXPECT_TRUE(Shown("user: cannot press 7: item 7 is greyed") == false);
    EXPECT_TRUE(Take(om_DlgGetEditorList(0)).empty());
    List empty(qvtest::Strs{});
    host::QueueDialogActions("om_DialogStringsListEditor", {"press 4", "press 9"});
    om_DlgRunListEditor(1223, "T", &empty.l, -1, 1, 0, "");
    EXPECT_TRUE(Shown("user: cannot press 4: item 4 is greyed"));  // Edit... greyed on an empty list
}

TEST_F(GenericDialogs, StatusBoxKeepsLinesAndShortensLongOnes) {
    EXPECT_EQ(0, om_DlgOpenStatus(1224, "Processing Book", 0, ""));
    F_ObjHandleT box = host::FindOpenDialogByResource("om_Dialog_Status");
    ASSERT_NE(0u, box);
    std::string longLine(61, 'x');
    longLine[0] = 'A';
    om_DlgSetStatusLines("first", longLine.c_str(), "third", "Press Esc to cancel");
    om_DlgSetStatusLines("*", "*", "changed", "*");
    EXPECT_EQ("first", Take(om_DlgGetLabel(box, 1, "")));
    EXPECT_EQ("..." + longLine.substr(1), Take(om_DlgGetLabel(box, 2, "")));
    EXPECT_EQ("changed", Take(om_DlgGetLabel(box, 3, "")));
    om_DlgOpenStatus(1224, "Again", 1, "");
    EXPECT_EQ(box, host::FindOpenDialogByResource("om_Dialog_Status"));  // reused with the keep flag
    om_DlgCloseStatus();
    EXPECT_EQ(0u, host::FindOpenDialogByResource("om_Dialog_Status"));
    // A new box shows the same lines again: what the closed one showed counts for nothing.
    EXPECT_EQ(0, om_DlgOpenStatus(1224, "Next", 0, ""));
    F_ObjHandleT next = host::FindOpenDialogByResource("om_Dialog_Status");
    ASSERT_NE(0u, next);
    om_DlgSetStatusLines("first", "*", "changed", "*");
    EXPECT_EQ("first", Take(om_DlgGetLabel(next, 1, "")));
    EXPECT_EQ("changed", Take(om_DlgGetLabel(next, 3, "")));
    EXPECT_TRUE(Shown("status \"Next\" 3: \"changed\""));
}

TEST_F(GenericDialogs, CheckBoxAndMessageLinesDialogs) {
    List list({"one"});
    host::QueueDialogActions("om_Dialog_1DDown_wChkBox", {"check 4", "press 6"});
    EXPECT_EQ(1, om_DlgRunDDownWithCheckBox(1, "T", "P", "t", &list.l, 0, "Remember", "", "", 0));
    EXPECT_EQ(1, om_DlgLastCheckBoxState());
    host::QueueDialogActions("om_Dialog_1DDown_wChkBox", {"check 4", "close"});
    EXPECT_EQ(0, om_DlgRunDDownWithCheckBox(1, "T", "P", "t", &list.l, 0, "", "", "", 0));
    EXPECT_TRUE(Shown("user: cannot check 4: item 4 is hidden"));

    std::string message;
    for (int i = 0; i < 8; ++i) message += "word" + std::to_string(i) + std::string(70, 'z') + " ";
    IntT checked = -1;
    host::QueueDialogActions("om_Dialog_Msg_12_Lines_wChkBox", {"check 13", "press 16"});
    EXPECT_EQ(0, om_DlgRunMessageLines("", message.c_str(), "Do not show again", 2, &checked, ""));
    EXPECT_EQ(15, om_DlgMsgFirstButtonItem());
    EXPECT_EQ(16, om_DlgMsgSecondButtonItem());
    EXPECT_EQ(1, checked);
    EXPECT_TRUE(Shown("dialog \"Orle Meadow Plugin Alert\""));
    EXPECT_TRUE(Shown("\"No\""));
}

}  // namespace
