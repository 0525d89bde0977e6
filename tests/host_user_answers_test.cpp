// The session's user: scripted answers, the default policy, Esc presses and the transcript.
#include <gtest/gtest.h>

#include <string>

#include "fdk.h"
#include "transcript.h"
#include "user.h"

namespace {

class HostUser : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetUser();
        host::ClearTranscript();
        FA_errno = 0;
    }
    void TearDown() override { host::ResetUser(); }

    static void Queue(const std::string &kind, const std::string &value, bool cancel = false) {
        host::UserAnswer a;
        a.kind = kind;
        a.value = value;
        a.cancel = cancel;
        host::QueueAnswer(a);
    }
    static std::string Joined() {
        std::string all;
        for (const auto &l : host::TranscriptLines()) all += l + "\n";
        return all;
    }
};

TEST_F(HostUser, AlertsAnswerFromTheQueueThenByTheDefaultPolicy) {
    struct Case {
        IntT type;
        const char *scripted;  // nullptr: nothing queued
        IntT answer;
        const char *shown;
    };
    const Case cases[] = {
        {FF_ALERT_YES_DEFAULT, "yes", 0, "answer: Yes (scripted)"},
        {FF_ALERT_YES_DEFAULT, "no", -1, "answer: No (scripted)"},
        {FF_ALERT_NO_DEFAULT, "YES", 0, "answer: Yes (scripted)"},
        {FF_ALERT_OK_DEFAULT, "cancel", -1, "answer: Cancel (scripted)"},
        {FF_ALERT_CANCEL_DEFAULT, "ok", 0, "answer: OK (scripted)"},
        {FF_ALERT_YES_DEFAULT, nullptr, -1, "answer: No (default)"},
        {FF_ALERT_OK_DEFAULT, nullptr, -1, "answer: Cancel (default)"},
        {FF_ALERT_CONTINUE_WARN, nullptr, 0, "answer: OK (default)"},
        {FF_ALERT_CONTINUE_NOTE, nullptr, 0, "answer: Continue (default)"},
        {FF_ALERT_CONTINUE_WARN, "no", 0, "answer: OK (scripted)"},  // one button: only OK
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + (c.scripted ? c.scripted : "(none)"));
        host::ClearTranscript();
        if (c.scripted) Queue("alert", c.scripted);
        EXPECT_EQ(F_ApiAlert("Proceed?", c.type), c.answer);
        ASSERT_EQ(host::TranscriptLines().size(), 2u);
        EXPECT_NE(host::TranscriptLines()[0].find("Proceed?"), std::string::npos);
        EXPECT_NE(host::TranscriptLines()[1].find(c.shown), std::string::npos) << host::TranscriptLines()[1];
    }
    EXPECT_EQ(FA_errno, 0);
    EXPECT_TRUE(host::PendingAnswers().empty());
}

TEST_F(HostUser, FailedAlertAnswersZeroAndSetsTheErrorWord) {
    Queue("alert", "fail");
    EXPECT_EQ(F_ApiAlert("Delete everything?", FF_ALERT_YES_DEFAULT), 0);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    EXPECT_EQ(F_ApiAlert(nullptr, FF_ALERT_YES_DEFAULT), 0);  // no text: the call fails
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    EXPECT_EQ(F_ApiAlert("x", 9), 0);  // unknown type
    EXPECT_NE(FA_errno, 0);
}

TEST_F(HostUser, AnswerOfAnotherKindStaysQueued) {
    Queue("prompt", "text");
    EXPECT_EQ(F_ApiAlert("Sure?", FF_ALERT_YES_DEFAULT), -1);  // default: No
    ASSERT_EQ(host::PendingAnswers().size(), 1u);
    StringT answer = nullptr;
    EXPECT_EQ(F_ApiPromptString(&answer, "Name?", "def"), 0);
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer, "text");
    F_ApiDeallocateString(&answer);
    EXPECT_TRUE(host::PendingAnswers().empty());
}

TEST_F(HostUser, PromptsAndChoosers) {
    StringT s = nullptr;
    EXPECT_NE(F_ApiPromptString(&s, "Client?", "Quorvane"), 0);  // nothing queued: Cancel
    EXPECT_EQ(s, nullptr);

    host::UserAnswer keep;
    keep.kind = "prompt";
    keep.useDefault = true;
    host::QueueAnswer(keep);
    EXPECT_EQ(F_ApiPromptString(&s, "Client?", "Quorvane"), 0);
    EXPECT_STREQ(s, "Quorvane");
    F_ApiDeallocateString(&s);

    Queue("prompt", "", true);
    EXPECT_NE(F_ApiPromptString(&s, "Message?", ""), 0);
    EXPECT_EQ(s, nullptr);

    Queue("choose", "Z:\\tmp\\a.fm");
    EXPECT_EQ(F_ApiChooseFile(&s, "Select Book or Document", "Z:\\tmp", "a.fm", 0, ""), 0);
    EXPECT_STREQ(s, "Z:\\tmp\\a.fm");
    F_ApiDeallocateString(&s);
    Queue("choose", "", true);
    EXPECT_NE(F_ApiChooseFileExtended(&s, "Folder", "Z:\\", "", 4, "", ""), 0);
    EXPECT_NE(F_ApiChooseFile(&s, "Folder", "Z:\\", "", 4, ""), 0);  // nothing queued
    EXPECT_EQ(s, nullptr);
    EXPECT_NE(F_ApiPromptString(nullptr, "x", ""), 0);

    std::string all = Joined();
    EXPECT_NE(all.find("prompt: Client? [default \"Quorvane\"]"), std::string::npos) << all;
    EXPECT_NE(all.find("choose file: Select Book or Document"), std::string::npos);
    EXPECT_NE(all.find("choose folder: Folder"), std::string::npos);
    EXPECT_NE(all.find("answer: \"Z:\\tmp\\a.fm\" (scripted)"), std::string::npos);
}

TEST_F(HostUser, EscIsReadOncePerPress) {
    EXPECT_EQ(F_ApiUserCancel(), 0);
    host::EscOnPoll(3);
    host::EscOnPoll(3);  // two presses before the same poll: two reads
    int seen[6];
    for (int &s : seen) s = F_ApiUserCancel();
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 0);
    EXPECT_EQ(seen[2], 1);
    EXPECT_EQ(seen[3], 1);
    EXPECT_EQ(seen[4], 0);
    EXPECT_EQ(seen[5], 0);
    host::PressEsc();
    EXPECT_EQ(host::PendingEscPresses(), 1);
    EXPECT_EQ(F_ApiUserCancel(), 1);
    EXPECT_EQ(F_ApiUserCancel(), 0);
    EXPECT_EQ(host::PendingEscPresses(), 0);
}

}  // namespace
