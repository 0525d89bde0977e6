// The session's user: who answers the host's alerts, prompts, file and folder choosers, Esc
// polls and (through other parts of the host) dialogs.
//
// Answers come from a scripted queue (tests, headless sessions). Each answer has a kind; the
// host asking for one kind takes the next answer only when it is of that kind, so a script that
// expected another question than the one shown is left waiting (and the caller can report the
// answers never used). With no answer of the kind queued, a person at the terminal is asked
// when the terminal is on (qvhost --interactive); otherwise the default policy answers: Cancel
// or No for a question, OK for a one-button message, Cancel for prompts and choosers, no Esc.
// Everything shown and every answer goes into the transcript.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace host {

// One scripted answer. Kinds and values used here:
//   "alert":  value "ok", "yes", "no", "cancel" or "fail" (the alert call fails: answer 0, FA_errno set);
//             with a match text it waits for an alert whose text contains it: alerts shown before
//             that one get the default policy
//   "prompt": value = the text typed; cancel = true for Cancel; useDefault = true to accept the default
//   "choose": value = the path chosen (Windows form); cancel = true for Cancel
// Other parts of the host add kinds of their own (dialog actions) and read value and args.
struct UserAnswer {
    std::string kind;
    std::string value;
    bool cancel = false;
    bool useDefault = false;
    std::vector<std::string> args;
    std::string match;   // an alert answer's text to wait for ("" for the next alert)
    bool startOnly = false;  // an alert answer for the plug-in's start only
    std::string origin;  // where the answer was scripted (a session line), for messages
};

// Appends an answer to the queue (with the current origin when it has none).
void QueueAnswer(UserAnswer answer);
// The origin given to answers queued from now on (a script line), "" for none.
void SetAnswerOrigin(const std::string &origin);
// Takes the next answer when it is of this kind; nothing (and the queue unchanged) when the
// queue is empty or its next answer is of another kind.
std::optional<UserAnswer> TakeAnswer(const std::string &kind);
// The answers still queued, oldest first.
const std::deque<UserAnswer> &PendingAnswers();
void ClearAnswers();

// Esc: a press waits for the next poll; EscOnPoll(n) presses Esc just before the n-th poll from
// now (1 = the next poll). Each F_ApiUserCancel answers 1 once per press, then 0.
void PressEsc();
void EscOnPoll(int n);
// Esc presses still waiting (scheduled or pressed and not yet read).
int PendingEscPresses();

// The terminal: when on, questions without a scripted answer are asked on stdin/stdout.
void SetUserTerminal(bool on);
bool UserTerminal();
// Shows a question on the terminal and reads one line; nothing at the end of input.
std::optional<std::string> AskOnTerminal(const std::string &question);

// Empties the queue and the Esc presses and switches the terminal off.
void ResetUser();

}  // namespace host
