// Debug log: records, for support, which actions the plug-in performed on which document and
// element, either appending each event to a text file as it happens (kLogWrite) or keeping the
// latest events in memory and rewriting the whole file, most recent first, at every event.
// The file is the plug-in name followed by "_debug_log.txt" in the plug-in's folder unless a
// folder and file name are given. No command of the plug-in switches it on.
#pragma once

#include <string>

#include "fdk.h"

// The log's modes (the numbers the debug parameters give).
enum DebugLogMode : IntT {
    kLogOff = 0,
    kLogPrompting = 1,  // the prompting debug mode: nothing is appended as it happens
    kLogWrite = 3,      // each event is appended to the file as it happens
};

// Sets the log up; kLogOff without an earlier set-up leaves it off. kLogWrite writes the header
// file.
void om_LogInit(const std::string &pluginName, IntT mode, const std::string &folder, const std::string &fileName,
                IntT capacity);
// The same set-up without touching the mode; marks the log initialised and writes nothing.
void om_LogInitQuiet(const std::string &pluginName, const std::string &folder, const std::string &fileName,
                     IntT capacity);
// Alerts the current mode (the named modes have texts; other numbers show nothing).
void om_LogShowMode();
// In kLogWrite mode, appends one event to the file.
void om_LogAppendEvent(F_ObjHandleT docId, F_ObjHandleT objId, const std::string &event);
// Records the event in memory (keeping at most capacity older ones) and rewrites the file.
void om_LogRecordEvent(F_ObjHandleT docId, F_ObjHandleT objId, const std::string &event);

// The log's mode (kLogOff when it was never set up) and path ("" before set-up).
IntT om_LogMode();
std::string om_LogPath();
// Forgets the whole set-up (the log is off and uninitialised again).
void om_LogReset();
