// Top of lib/ (globals.h, shell_records.h) and lib/state: the shared state every subsystem reads
// and sets, kept at the bottom so that no subsystem reaches up for it. It uses fdk.h and
// lib/strings only.
//
// Shared state of the plug-in that every subsystem reads and sets: the status of the last
// operation and the cancel flag that long loops test. The shell's record (debug mode, the
// cancel-confirmation text and the rest) is PluginGlobals in lib/shell_records.h.
#pragma once

#include <string>

#include "fdk.h"

extern IntT StatusCode;
// The values StatusCode takes besides 0 and the engine's and subsystems' own error codes.
constexpr IntT StatusNoResumeNode = 105;     // a run resumed while its last step holds no node
constexpr IntT StatusNoDocument = 200;
constexpr IntT StatusNoObject = 201;
constexpr IntT StatusNoStructure = 208;      // a document without a structure tree
constexpr IntT StatusCancelled = 210;        // the user confirmed a cancel
constexpr IntT StatusNoSuchAttribute = 212;
constexpr IntT StatusNoAttributes = 213;
constexpr IntT StatusComponentNotOpened = 216;
constexpr IntT StatusBookNotSaved = 217;
constexpr IntT StatusDocNotSaved = 218;
constexpr IntT StatusOriginalBookNotSaved = 219;
constexpr IntT StatusIndexOutOfRange = 220;
constexpr IntT StatusCannotDelete = 221;
constexpr IntT StatusNotPossible = 222;
constexpr IntT StatusNegativeIndex = 223;
constexpr IntT StatusCannotList = 224;       // a folder that cannot be listed
constexpr IntT StatusCellNotDeleted = 316;   // a table cell is never deleted
extern IntT CancelFlag;
// Text formatted for immediate use (messages, paths); a std::string, so nothing is cut.
extern std::string FormatBuffer;
