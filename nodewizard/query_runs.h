// What the match and perform buttons of the Node Wizard and the XPath Quick Finder do: compile
// the expression, decide where the search starts, find the first, the next or all matches, keep
// the match list, and apply the current actions to one node or to every match with progress,
// Esc polls and a summary.
#pragma once

#include "fdk.h"
#include "lib/state/nodewizard_codes.h"
#include "resources/dialog_items.h"

// The buttons the query runs take: the Node Wizard's items; the Quick Finder's match buttons
// stand for the Node Wizard's.
enum NWButton : IntT {
    NW_BTN_MATCH_FIRST = NWItem::MatchFirst,
    NW_BTN_MATCH_NEXT = NWItem::MatchNext,
    NW_BTN_MATCH_ALL = NWItem::MatchAll,
    NW_BTN_PERFORM = NWItem::Perform,
    NW_BTN_PERFORM_AND_NEXT = NWItem::PerformAndMatchNext,
    NW_BTN_PERFORM_ON_ALL = NWItem::PerformOnAll,
};

// Match First, Match All and Perform Action(s) On All; 0.
IntT om_NWRunQuery(IntT button);
// Match Next, Perform Action(s) and Perform Action(s) and Match Next; the match found (0 when
// none or not searching).
F_ObjHandleT om_NWMatchNextOrPerform(IntT button);
// Before Perform Action(s) On All: an attribute action that needs a matched attribute or search
// strings the query cannot give is set to None after asking; 1 go on, 0 stop.
IntT om_NWCheckAttrActionFits(IntT sequence);
// Copies the open Node Wizard (else the Quick Finder) into the state; with validate, an action
// name that matches no action stops with a message and CancelFlag 1. Nothing is read when
// neither dialog is open.
void om_NWReadDialog(IntT validate);
// Element actions after which the match list no longer holds: 5, 6, 7, 8, 11, 12, 13.
bool om_NWIsListBreaking(NWElementAction elementAction);
