// The session's transcript of what the host showed its user, and the status line that shows
// progress on a terminal.
#include "transcript.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace host {
namespace {
std::vector<std::string> &Lines() {
    static std::vector<std::string> lines;
    return lines;
}
bool &Echo() {
    static bool echo = false;
    return echo;
}
bool &StatusShown() {
    static bool shown = false;
    return shown;
}

void Echoed(const std::string &line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// Whether standard output and standard error are terminals, asked once: a long run writes many
// progress lines.
bool StdoutIsTerminal() {
    static const bool yes = ::isatty(STDOUT_FILENO) != 0;
    return yes;
}
bool StderrIsTerminal() {
    static const bool yes = ::isatty(STDERR_FILENO) != 0;
    return yes;
}

// The terminal's width in columns (80 when it does not say).
size_t TerminalColumns() {
    struct winsize w {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &w) == 0 && w.ws_col > 1) return w.ws_col;
    return 80;
}
}  // namespace

void Transcript(const std::string &line) {
    Lines().push_back(line);
    // Console lines were printed on standard output already, by the console itself.
    if (Echo() && line.rfind("console: ", 0) != 0) {
        if (StatusShown() && StdoutIsTerminal()) EndProgress();
        Echoed(line);
    }
}

bool ProgressOnTerminal() { return StderrIsTerminal(); }

void TranscriptProgress(std::string made, const std::string &status) {
    std::vector<std::string> &lines = Lines();
    lines.push_back(std::move(made));
    const std::string &line = lines.back();
    if (!StderrIsTerminal()) {
        if (Echo()) Echoed(line);
        return;
    }
    if (Echo() && !StdoutIsTerminal()) Echoed(line);
    std::fflush(stdout);
    // One line that never wraps, so that a carriage return takes the cursor back to its start.
    std::string shown = status.substr(0, TerminalColumns() - 1);
    for (char &c : shown)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    std::fputs("\r\x1b[K", stderr);
    std::fwrite(shown.data(), 1, shown.size(), stderr);
    std::fflush(stderr);
    StatusShown() = true;
}

void EndProgress() {
    if (!StatusShown()) return;
    std::fflush(stdout);
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    StatusShown() = false;
}

const std::vector<std::string> &TranscriptLines() { return Lines(); }

void ClearTranscript() { Lines().clear(); }

void SetTranscriptEcho(bool on) { Echo() = on; }

void UserMessage(const std::string &text) { Transcript("message: " + text); }

}  // namespace host
