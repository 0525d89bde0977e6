// The session's user: the scripted answer queue, Esc presses and the terminal.
#include "user.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "fdk.h"
#include "transcript.h"

namespace host {
namespace {

struct UserState {
    std::deque<UserAnswer> answers;
    long polls = 0;               // Esc polls so far
    std::vector<long> escAtPoll;  // absolute poll numbers at which Esc is pressed
    int escPressed = 0;           // presses not yet read
    bool terminal = false;
    std::string origin;           // given to answers queued without one
};

UserState &State() {
    static UserState state;
    return state;
}

// The state, for the Esc poll (set when this file is loaded; until then the poll asks State()).
UserState *const pollState = &State();

}  // namespace

void QueueAnswer(UserAnswer answer) {
    if (answer.origin.empty()) answer.origin = State().origin;
    State().answers.push_back(std::move(answer));
}

void SetAnswerOrigin(const std::string &origin) { State().origin = origin; }

std::optional<UserAnswer> TakeAnswer(const std::string &kind) {
    auto &q = State().answers;
    if (q.empty() || q.front().kind != kind) return std::nullopt;
    UserAnswer a = std::move(q.front());
    q.pop_front();
    return a;
}

const std::deque<UserAnswer> &PendingAnswers() { return State().answers; }

void ClearAnswers() { State().answers.clear(); }

void PressEsc() { ++State().escPressed; }

void EscOnPoll(int n) {
    if (n < 1) n = 1;
    State().escAtPoll.push_back(State().polls + n);
}

int PendingEscPresses() { return State().escPressed + static_cast<int>(State().escAtPoll.size()); }

namespace {
// Reads a press due at the poll just counted, with presses waiting or scheduled: 1 when there
// is one. Kept out of the poll, so that the poll with none pending needs no frame.
[[gnu::noinline]] IntT ReadDueEscPress(UserState &s) {
    auto due = std::remove(s.escAtPoll.begin(), s.escAtPoll.end(), s.polls);
    s.escPressed += static_cast<int>(s.escAtPoll.end() - due);
    s.escAtPoll.erase(due, s.escAtPoll.end());
    if (s.escPressed == 0) return 0;
    --s.escPressed;
    Transcript("user: Esc");
    return 1;
}
}  // namespace

void SetUserTerminal(bool on) { State().terminal = on; }
bool UserTerminal() { return State().terminal; }

std::optional<std::string> AskOnTerminal(const std::string &question) {
    std::cout << question << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void ResetUser() {
    UserState &s = State();
    s.answers.clear();
    s.escAtPoll.clear();
    s.escPressed = 0;
    s.polls = 0;
    s.terminal = false;
    s.origin.clear();
}

}  // namespace host

extern "C" IntT F_ApiUserCancel(void) {
    // Counts the poll; a long run polls once an item, mostly with no Esc pending.
    host::UserState &s = host::pollState ? *host::pollState : host::State();
    ++s.polls;
    if (s.escAtPoll.empty() && s.escPressed == 0) return 0;
    return host::ReadDueEscPress(s);
}
