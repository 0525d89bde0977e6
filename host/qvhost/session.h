// qvhost's session scripts: a small line-based language that plays the user of a host session
// (open, edit, save and close documents, choose commands, answer questions) and checks what the
// session showed. SessionHelp() documents it; RunSessionScript() plays one.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Splits a script line into words: blanks separate them, double quotes group them (with \" and
// \\ inside quotes). False with a message for an unterminated quote.
bool SplitWords(const std::string &line, std::vector<std::string> &words, std::string *error);

// Plays a script. Each failing line stops it with "SCRIPT:LINE: message" in *error; answers 0
// on success, 1 on failure. At the end the session quits (unless the script did) and scripted
// answers never asked for are an error naming the line that queued them. `start` (when given)
// runs once before the first line that is not an answer, an Esc or a comment (or at the
// end), so that the answers a script begins with answer the questions of the plug-in's start-up;
// false from it stops the script with its message.
int RunSessionScript(const std::string &scriptPath, std::string *error,
                     const std::function<bool(std::string *)> &start = nullptr);

// The text of `qvhost --help`'s session-language part.
const char *SessionHelp();
