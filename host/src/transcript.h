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

// A line of a progress display (a status box's line as it changes): recorded like any line. On
// a terminal (standard error is one) `status` is shown as one line on standard error that each
// new progress line rewrites; the line itself is then echoed only when standard output is not
// that terminal too.
void TranscriptProgress(std::string line, const std::string &status);
// Whether progress lines show a status line (standard error is a terminal): without one, the
// status need not be made.
bool ProgressOnTerminal();
// Clears the status line on standard error, when one is shown.
void EndProgress();

// A message the host itself shows the user (a refused file, a failed command): one OK box.
void UserMessage(const std::string &text);

}  // namespace host
