// The Node Wizard Scripts interpreter: runs one script on one target document by walking the
// script's element tree as read into its records (nodewizard/script_reader.h). Each selected
// event's expression is evaluated once against the target; its matches wait in the
// ScriptEventRegistry and the event's action groups run once per match. Sub-events are evaluated afresh for every match of their parent.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/match.h"
#include "lib/state/nodewizard_codes.h"
#include "nodewizard/script_reader.h"

// Runs the script's events (eventNumber <= 0: all; n: the n-th NWScriptEvent and its sub-events)
// on the target; returns the target at the end (another document when an action switched it).
F_ObjHandleT om_NWSRunScriptEvents(F_ObjHandleT target, const NWSScript &script, IntT eventNumber, IntT interactive);
// Prepares the event's expression (the parameter it names, compiled) and its match options; 1 when
// the event can be evaluated, else 0 (StatusCode says why).
IntT om_NWSPrepareEventXPath(const NWSEvent &event, const std::string &scriptName, F_ObjHandleT context, IntT report);
// Reorders the matches by the event's SortOptions (nothing without them).
void om_NWSSortMatches(const NWSEvent &event, std::vector<Match> &matches);

// ---- the registry ----
void om_NWSResetEventRegistry(IntT count);
void om_NWSFreeEventRegistry();
IntT om_NWSStoreEventMatches(F_ObjHandleT event, std::vector<Match> matches);
IntT om_NWSFindEventMatches(F_ObjHandleT event);

// ---- action groups on one match ----
IntT om_NWSRunActionGroups(F_ObjHandleT scriptsDoc, const NWSEvent &event, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                           IntT attrIndex, IntT reportElem, IntT reportAttr, IntT reportOther, F_ObjHandleT *newTarget);
// Copies the element's own content to the host clipboard when it is not empty, and marks the
// clipboard as loaded.
void om_NWSCopyContentToClipboard(F_ObjHandleT scriptsDoc, F_ObjHandleT elem);
