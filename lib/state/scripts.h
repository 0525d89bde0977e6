// The Node Wizard Scripts' shared state: the hidden-copy marker, the registry of pending event
// matches, the script parameters and the run flags. Which scripts document is current lives in
// SettingsFiles (lib/state/settings_files.h).
#pragma once

#include <string>
#include <vector>

// Appended to the scripts document's path (forward slashes) to mark a hidden working copy.
inline constexpr const char *kHiddenCopyMark = "HIDDEN_COPY";

#include "fdk.h"
#include "lib/state/match.h"

// The matches an event still has to process in the current document run: the entry at head is
// the match being processed; consumed entries stay behind head so that taking the first entry
// costs nothing.
struct ScriptEventMatches {
    F_ObjHandleT event = 0;        // the NWScriptEvent or SubEvent element in the scripts document
    std::vector<Match> matches;
    size_t head = 0;               // index of the first entry still to process
    bool empty() const { return head >= matches.size(); }
    const Match &first() const { return matches[head]; }
};

// At most one record per event element; lives for one document run.
extern std::vector<ScriptEventMatches> ScriptEventRegistry;
// Events whose problems were already reported in the current script run.
extern std::vector<F_ObjHandleT> ScriptEventsReported;

// The parameters other clients and the scripting exports set between runs (names without "$").
struct ScriptParamsT {
    std::vector<std::string> names;
    std::vector<std::string> values;
};
extern ScriptParamsT ScriptParams;

// The unescape flag of script values: 0 until the first run, 1 afterwards.
extern IntT NWSUnescapeValues;
// Ask-once flag of the notice about elements the interpreter does not know (set at start-up).
extern IntT NWSAskUnknownElements;
