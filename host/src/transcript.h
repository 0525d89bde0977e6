// The session's transcript: everything the host shows its user (alerts, prompts, messages,
// dialogs) and what the user answered, in order. Tests read it; qvhost prints it.
#pragma once

#include <string>
#include <vector>

namespace host {

// Appends one line to the transcript (and echoes it when echoing is on).
void Transcript(const std::string &line);
// The lines so far.
const std::vector<std::string> &TranscriptLines();
void ClearTranscript();
// Echo each new line to standard output as it is recorded (except "console: " lines, which
// the console printed already).
void SetTranscriptEcho(bool on);

// A message the host itself shows the user (a refused file, a failed command): one OK box.
void UserMessage(const std::string &text);

}  // namespace host
