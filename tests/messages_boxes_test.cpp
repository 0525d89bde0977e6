// Message boxes, prompt settings, cancel polls and the checked message formatter.
#include <gtest/gtest.h>

#include "lib/dialogs/msgbox.h"
#include "lib/translation/lang.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "transcript.h"
#include "user.h"

namespace {

void Answer(const char *value) {
    host::UserAnswer a;
    a.kind = "alert";
    a.value = value;
    host::QueueAnswer(a);
}

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetUser();
        host::ClearTranscript();
        qv::LangReset();
        PluginGlobals.debugMode = 0;
        StatusCode = 0;
        CancelFlag = 0;
    }
    void TearDown() override { host::ResetUser(); }
    int Alerts() {
        int n = 0;
        for (const auto &l : host::TranscriptLines()) n += l.find("alert") == 0;
        return n;
    }
    bool Shown(const std::string &text) {
        for (const auto &l : host::TranscriptLines())
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

TEST_F(MessageBoxes, MissingIdShowsTheMessagingErrorWithTheId) {
    EXPECT_EQ(std::string(MessagingErrorText) + "NW_GEN_MSG_99", qv::LangMessage("NW_GEN_MSG_99"));
    PluginGlobals.debugMode = 1;
    Answer("yes");
    EXPECT_EQ(1, al_yesno2("NW_GEN_MSG_99"));
    EXPECT_TRUE(Shown("DEBUG--> al_yesno2() msg. Alias: NW_GEN_MSG_99"));
}

TEST_F(MessageBoxes, FailedAlertIsNeverYes) {
    Answer("fail");
    EXPECT_EQ(0, al_yesno("Delete everything?"));
    Answer("fail");
    EXPECT_EQ(0, al_yesno2("NW_GEN_MSG_16"));
    Answer("yes");
    EXPECT_EQ(1, al_yesno("Delete everything?"));
    Answer("no");
    EXPECT_EQ(0, al_yesno("Delete everything?"));
}

TEST_F(MessageBoxes, PromptSettings) {
    struct Case {
        IntT setting;
        const char *answer;
        IntT result, after, boxes;
    };
    const Case cases[] = {{1, "no", 0, 1, 1}, {1, "yes", 1, 1, 1}, {2, "no", 0, 4, 2}, {3, nullptr, 1, 3, 0},
                          {4, nullptr, 1, 4, 0}};
    for (const Case &c : cases) {
        host::ClearTranscript();
        host::ResetUser();
        if (c.answer) Answer(c.answer);
        IntT setting = c.setting;
        EXPECT_EQ(c.result, om_MsgAskWithPrompt("NW_GEN_MSG_16", &setting)) << c.setting;
        EXPECT_EQ(c.after, setting) << c.setting;
        EXPECT_EQ(c.boxes, Alerts()) << c.setting;
    }
    IntT once = 2;
    om_MsgTellWithPrompt("NW_GEN_MSG_1", &once);
    om_MsgTellWithPrompt("NW_GEN_MSG_1", &once);
    EXPECT_EQ(4, once);
}

TEST_F(MessageBoxes, CancelPollsKeepTheirDifferences) {
    EXPECT_EQ(0, om_CheckUserCancel(""));  // no Esc: nothing shown, nothing changed
    EXPECT_EQ(0, Alerts());
    host::PressEsc();
    Answer("no");
    EXPECT_EQ(0, om_CheckUserCancel(""));
    EXPECT_TRUE(Shown("Are you sure you want to cancel this operation?"));
    EXPECT_EQ(0, StatusCode);
    host::PressEsc();
    Answer("yes");
    EXPECT_EQ(1, om_CheckUserCancel("Stop now?"));
    EXPECT_EQ(StatusCancelled, StatusCode);
    StatusCode = 0;
    PluginGlobals.cancelConfirmText = "Really stop?";
    host::PressEsc();
    Answer("yes");
    EXPECT_EQ(0, om_PollUserCancel());  // always 0: the answer is in CancelFlag and StatusCode
    EXPECT_EQ(1, CancelFlag);
    EXPECT_EQ(StatusCancelled, StatusCode);
}

TEST(MessageFormatter, FillsOnlyMatchingPlaceholders) {
    struct Case {
        const char *text;
        std::initializer_list<qv::MsgArg> args;
        const char *want;
    };
    const Case cases[] = {
        {"%s has %d rows", {std::string("T"), 3LL}, "T has 3 rows"},
        {"%s and %s", {std::string("a")}, "a and %s"},            // missing argument
        {"%d items", {std::string("x")}, "%d items"},             // argument of another type
        {"100%% done %n %x %5s", {std::string("x")}, "100% done %n %x %5s"},  // stray conversions
        {"ends with %", {}, "ends with %"},
    };
    for (const Case &c : cases) EXPECT_EQ(c.want, qv::FormatMessage(c.text, c.args)) << c.text;
}

}  // namespace
