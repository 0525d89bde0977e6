// Message boxes, prompts and cancel polling (see msgbox.h). Box texts are composed from the
// title line and the text by concatenation, so a message never acts as a format.
#include "lib/dialogs/msgbox.h"

#include "lib/host/cancel.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/keyvalue.h"
#include "lib/translation/lang.h"
#include "lib/globals.h"
#include "lib/shell_records.h"

namespace {

std::string Compose(const std::string &text, const std::string &debugLine) {
    std::string box = qv::LangMessage("QVRN_GEN_MSG_1") + "\n\n" + text;
    if (PluginGlobals.debugMode != 0 && !debugLine.empty()) box += "\n\nDEBUG--> " + debugLine;
    return box;
}

// A Yes/No alert: 1 for Yes. A failed alert (FA_errno set by the call) counts as No, so a
// destructive step is never confirmed by a host failure.
IntT AskYesNo(const std::string &box) {
    FA_errno = 0;
    IntT answer = F_ApiAlert(box.c_str(), FF_ALERT_YES_DEFAULT);
    return answer == 0 && FA_errno == 0 ? 1 : 0;
}

}  // namespace

IntT al_ok(ConStringT text) {
    return F_ApiAlert(Compose(std::string(qv::View(text)), "Regular al_ok() msg").c_str(), FF_ALERT_CONTINUE_WARN);
}

IntT al_ok2(ConStringT messageId) {
    std::string id(qv::View(messageId));
    return F_ApiAlert(Compose(qv::LangMessage(id), "al_ok2() msg. Alias: " + id).c_str(), FF_ALERT_CONTINUE_WARN);
}

IntT al_yesno(ConStringT text) { return AskYesNo(Compose(std::string(qv::View(text)), "Regular al_yesno() msg")); }

IntT al_yesno2(ConStringT messageId) {
    std::string id(qv::View(messageId));
    return AskYesNo(Compose(qv::LangMessage(id), "al_yesno2() msg. Alias: " + id));
}

IntT om_MsgOkNumber(IntT number) {
    FormatBuffer = qv::LangMessage("QVRN_GEN_MSG_1") + "\n\n" + std::to_string(number);
    return F_ApiAlert(FormatBuffer.c_str(), FF_ALERT_CONTINUE_WARN);
}

IntT om_MsgConfirmCancel(void) {
    CancelFlag = AskYesNo(PluginGlobals.cancelConfirmText);
    return CancelFlag;
}

IntT om_MsgAskWithPrompt(ConStringT messageId, IntT *setting) {
    IntT answer = 1;
    if (!setting) return answer;
    if (*setting == kPromptAlways || *setting == kPromptOnce) answer = al_yesno2(messageId);
    if (*setting == kPromptOnce) {
        al_ok2("QVRN_GEN_MSG_3");
        *setting = kPromptAskedOnce;
    }
    return answer;
}

void om_MsgTellWithPrompt(ConStringT messageId, IntT *setting) {
    if (!setting) return;
    if (*setting == kPromptAlways || *setting == kPromptOnce) al_ok2(messageId);
    if (*setting == kPromptOnce) {
        al_ok2("QVRN_GEN_MSG_3");
        *setting = kPromptAskedOnce;
    }
}

IntT om_CheckUserCancel(ConStringT question) {
    if (F_ApiUserCancel() == 0) return 0;
    if (om_ConfirmCancel(question) == 1) {
        StatusCode = StatusCancelled;
        return 1;
    }
    return 0;
}

IntT om_ConfirmPolledCancel(void) {
    om_MsgConfirmCancel();
    if (CancelFlag == 1) StatusCode = StatusCancelled;
    return 0;
}
