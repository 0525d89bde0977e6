// The session's transcript of what the host showed its user.
#include "transcript.h"

#include <cstdio>

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
}  // namespace

void Transcript(const std::string &line) {
    Lines().push_back(line);
    // Console lines were printed on standard output already, by the console itself.
    if (Echo() && line.rfind("console: ", 0) != 0) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
}

const std::vector<std::string> &TranscriptLines() { return Lines(); }

void ClearTranscript() { Lines().clear(); }

void SetTranscriptEcho(bool on) { Echo() = on; }

void UserMessage(const std::string &text) { Transcript("message: " + text); }

}  // namespace host
