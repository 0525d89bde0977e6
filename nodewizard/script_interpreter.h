// The Node Wizard Scripts interpreter: runs one script on one target document by walking the
// script's element tree in the scripts document. Each selected event's expression is evaluated
// once against the target; its matches wait in the ScriptEventRegistry and the event's action
// groups run once per match. Sub-events are evaluated afresh for every match of their parent.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard_codes.h"

// Runs the script's events (eventNumber <= 0: all; n: the n-th NWScriptEvent and its sub-events)
// on the target; returns the target at the end (another document when an action switched it).
F_ObjHandleT om_NWSRunScriptEvents(F_ObjHandleT target, F_ObjHandleT scriptsDoc, F_ObjHandleT script,
                                   const std::string &scriptName, IntT eventNumber, IntT interactive);
// Reads and compiles the event's expression and its match options; 1 when the event can be
// evaluated, else 0 (StatusCode says why).
IntT om_NWSPrepareEventXPath(F_ObjHandleT scriptsDoc, F_ObjHandleT event, const std::string &scriptName,
                             F_ObjHandleT context, IntT report);
// Reorders the three parallel lists by the event's SortOptions (nothing without them).
void om_NWSSortMatches(F_ObjHandleT scriptsDoc, F_ObjHandleT event, std::vector<F_ObjHandleT> &elems,
                       std::vector<F_ObjHandleT> &docs, std::vector<IntT> &attrs);

// ---- the registry ----
void om_NWSResetEventRegistry(IntT count);
void om_NWSFreeEventRegistry();
IntT om_NWSStoreEventMatches(F_ObjHandleT event, const std::vector<F_ObjHandleT> &elems, const std::vector<IntT> &attrs,
                             const std::vector<F_ObjHandleT> &docs);
IntT om_NWSFindEventMatches(F_ObjHandleT event);

// ---- action groups on one match ----
IntT om_NWSRunActionGroups(F_ObjHandleT scriptsDoc, F_ObjHandleT event, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                           IntT attrIndex, IntT reportElem, IntT reportAttr, IntT reportOther, F_ObjHandleT *newTarget);
void om_NWSRunElemActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matched);
void om_NWSRunAttrActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                          IntT attrIndex, IntT reportAttr);
// The element action of an action element, with its operands stored in the Node Wizard state; 1
// (None) for an unknown tag.
NWElementAction om_NWSReadElemAction(F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem, F_ObjHandleT targetDoc,
                                     F_ObjHandleT matched);
// The attribute action of an action element, with its names and values stored in the Node
// Wizard state; 1 (None) for no element or an unknown tag.
NWAttrAction om_NWSReadAttrAction(F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem, F_ObjHandleT targetDoc,
                                  F_ObjHandleT matched);
// Copies the element's own content to the host clipboard when it is not empty, and marks the
// clipboard as loaded.
void om_NWSCopyContentToClipboard(F_ObjHandleT scriptsDoc, F_ObjHandleT elem);
