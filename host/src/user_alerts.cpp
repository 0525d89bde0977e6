// Alerts, string prompts and file or folder choosers, answered by the session's user (scripted
// queue, terminal or default policy) and recorded in the transcript.
#include <cctype>
#include <string>

#include "fdk.h"
#include "transcript.h"
#include "user.h"

namespace host {
namespace {

// How an alert of one type looks: its buttons, and whether it asks a question at all.
struct AlertLook {
    const char *buttons;  // as shown in the transcript
    const char *yes;      // caption of the answer 0
    const char *no;       // caption of the other answer ("" for one-button boxes)
};

const AlertLook *LookOf(IntT type) {
    static const AlertLook looks[] = {
        {"OK/Cancel", "OK", "Cancel"},    // FF_ALERT_OK_DEFAULT
        {"Cancel/OK", "OK", "Cancel"},    // FF_ALERT_CANCEL_DEFAULT
        {"Continue", "Continue", ""},    // FF_ALERT_CONTINUE_NOTE
        {"OK", "OK", ""},                // FF_ALERT_CONTINUE_WARN
        {"Yes/No", "Yes", "No"},          // FF_ALERT_YES_DEFAULT
        {"No/Yes", "Yes", "No"},          // FF_ALERT_NO_DEFAULT
    };
    return (type >= 0 && type <= 5) ? &looks[type] : nullptr;
}

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The answer a person types at the terminal for an alert: 0, -1, or nothing when unreadable.
std::optional<IntT> TerminalAlertAnswer(const AlertLook &look) {
    std::string question = *look.no ? std::string("[") + look.yes + "/" + look.no + "]? " : "[" + std::string(look.yes) + "] ";
    for (int tries = 0; tries < 5; ++tries) {
        auto line = AskOnTerminal(question);
        if (!line) return std::nullopt;
        std::string a = Lower(*line);
        if (!*look.no) return 0;
        if (a == "y" || a == "yes" || a == "o" || a == "ok") return 0;
        if (a == "n" || a == "no" || a == "c" || a == "cancel") return -1;
    }
    return std::nullopt;
}

// A prompt's or chooser's answer: the text, or nothing when cancelled; how it was answered
// goes to the transcript.
std::optional<std::string> AnswerText(const char *kind, const std::string &question, const std::string &defaultValue) {
    if (auto a = TakeAnswer(kind)) {
        if (a->cancel) {
            Transcript("  answer: Cancel (scripted)");
            return std::nullopt;
        }
        std::string text = a->useDefault ? defaultValue : a->value;
        Transcript("  answer: \"" + text + "\" (scripted)");
        return text;
    }
    if (UserTerminal()) {
        auto line = AskOnTerminal(question + "\n  (Enter keeps \"" + defaultValue + "\", a single . cancels) ");
        if (line && *line != ".") {
            std::string text = line->empty() ? defaultValue : *line;
            Transcript("  answer: \"" + text + "\" (terminal)");
            return text;
        }
        if (line) {
            Transcript("  answer: Cancel (terminal)");
            return std::nullopt;
        }
    }
    Transcript("  answer: Cancel (default)");
    return std::nullopt;
}

std::string Text(ConStringT s) { return s ? s : ""; }

IntT Choose(StringT *choice, ConStringT title, ConStringT directory, ConStringT stuffVal, IntT mode) {
    if (!choice) {
        FA_errno = FE_BadParameter;
        return -1;
    }
    std::string what = mode == 4 ? "folder" : "file";
    Transcript("choose " + what + ": " + Text(title) + " [in \"" + Text(directory) + "\", default \"" + Text(stuffVal) + "\"]");
    auto text = AnswerText("choose", "choose " + what + ": " + Text(title), Text(stuffVal));
    if (!text) return -1;
    *choice = F_StrCopyString(text->c_str());
    return 0;
}

}  // namespace
}  // namespace host

extern "C" {

IntT F_ApiAlert(ConStringT message, IntT type) {
    const host::AlertLook *look = host::LookOf(type);
    if (!message || !look) {
        FA_errno = FE_BadParameter;
        return 0;
    }
    host::Transcript(std::string("alert (") + look->buttons + "): " + message);
    // An answer scripted for another alert's text waits: this one gets the default policy.
    const auto &queue = host::PendingAnswers();
    bool waits = !queue.empty() && queue.front().kind == "alert" && !queue.front().match.empty() &&
                 std::string(message).find(queue.front().match) == std::string::npos;
    if (waits) {
        bool yes = !*look->no;
        host::Transcript(std::string("  answer: ") + (yes ? look->yes : look->no) + " (default; the scripted answer waits for \"" +
                         queue.front().match + "\")");
        return yes ? 0 : -1;
    }
    if (auto a = host::TakeAnswer("alert")) {
        std::string v = host::Lower(a->value);
        if (v == "fail") {
            host::Transcript("  answer: the alert failed (scripted)");
            FA_errno = FE_Transport;
            return 0;
        }
        bool yes = !*look->no || v == "ok" || v == "yes";
        host::Transcript(std::string("  answer: ") + (yes ? look->yes : look->no) + " (scripted)");
        return yes ? 0 : -1;
    }
    if (host::UserTerminal()) {
        if (auto answer = host::TerminalAlertAnswer(*look)) {
            host::Transcript(std::string("  answer: ") + (*answer == 0 ? look->yes : look->no) + " (terminal)");
            return *answer;
        }
    }
    // Nobody to ask: a message is acknowledged, a question declined.
    bool yes = !*look->no;
    host::Transcript(std::string("  answer: ") + (yes ? look->yes : look->no) + " (default)");
    return yes ? 0 : -1;
}

IntT F_ApiPromptString(StringT *answer, ConStringT message, ConStringT defaultValue) {
    if (!answer) {
        FA_errno = FE_BadParameter;
        return -1;
    }
    std::string def = host::Text(defaultValue);
    host::Transcript("prompt: " + host::Text(message) + " [default \"" + def + "\"]");
    auto text = host::AnswerText("prompt", "prompt: " + host::Text(message), def);
    if (!text) return -1;
    *answer = F_StrCopyString(text->c_str());
    return 0;
}

IntT F_ApiChooseFile(StringT *choice, ConStringT title, ConStringT directory, ConStringT stuffVal, IntT mode,
                     ConStringT) {
    return host::Choose(choice, title, directory, stuffVal, mode);
}

IntT F_ApiChooseFileExtended(StringT *choice, ConStringT title, ConStringT directory, ConStringT stuffVal,
                             IntT mode, ConStringT, ConStringT) {
    return host::Choose(choice, title, directory, stuffVal, mode);
}

}  // extern "C"
