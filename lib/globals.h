// Shared state of the plug-in that every subsystem reads and sets: the status of the last
// operation and the cancel flag that long loops test.
#pragma once

#include <string>

#include "fdk.h"

extern IntT StatusCode;
extern IntT CancelFlag;
// Text formatted for immediate use (messages, paths); a std::string, so nothing is cut.
extern std::string FormatBuffer;
// Debug mode: every message box adds a line naming itself (set from the preferences).
extern IntT DebugMode;
