// The Node Wizard's element actions: retag, wrap, unwrap, promote, demote, assign conditions,
// paste the clipboard at a place, move up or down and insert a new element. Each takes the
// document and the node, does its host calls and returns 0 or an NWActionError (the insert
// returns the new element's id). The per-node dispatcher calls them with the names and lists of
// the Node Wizard state; the error report and the transformation use the insert directly.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard.h"

// Retag: RetagNoDefinition without the definition, RetagRefused when the host refuses.
NWActionError om_NWRetagElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName);
// Wrap (contents 0) and WrapContents (1); a flow node wraps its highest-level element.
// NoDefinition without the definition, WrapRefused when the host refuses.
NWActionError om_NWWrapElement(F_ObjHandleT doc, F_ObjHandleT node, const std::string &defName, IntT contents);
// Unwrap, Promote, Demote: UnwrapRefused, PromoteRefused or DemoteRefused when the host refuses.
NWActionError om_NWUnwrapElement(F_ObjHandleT doc, F_ObjHandleT elem);
NWActionError om_NWPromoteElement(F_ObjHandleT doc, F_ObjHandleT elem);
NWActionError om_NWDemoteElement(F_ObjHandleT doc, F_ObjHandleT elem);
// AssignConditions: the element's text (a table row: the row) gets exactly the named condition
// tags the document has; ConditionMissing when a name is missing (the others still apply),
// ConditionsRefused when the host refuses.
NWActionError om_NWAssignConditions(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names);
// PasteOver ... PasteAfter: pastes the clipboard over the element, over its content, at its start
// or end, before or after it; nothing while the clipboard-empty flag is set. PasteFailed when the
// place cannot be selected or the host refuses.
NWActionError om_NWPasteAtElement(F_ObjHandleT doc, F_ObjHandleT elem, NWElementAction code);
// MoveUp, MoveDown: moves the previous (direction 1) or next (2) sibling across the element,
// which keeps its identity. NoParent, NoPreviousSibling or NoNextSibling, TablePartNotMoved for
// a table part, MoveRefused when the host refuses.
NWActionError om_NWMoveElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT direction);
// InsertBefore ... InsertLastChild: a new element of the definition before, after, first in or
// last in the element; the new element's id, NoDefinition without the definition, 0 when nothing
// was made.
IntT om_NWInsertElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName, NWElementAction code);
// om_NWInsertElement's results from this value up are element ids, those below it codes.
inline constexpr IntT kNWFirstInsertedId = 399;

// Deletes a flow's content (its highest-level element), leaving the flow.
void om_NWFlowDeleteContents(F_ObjHandleT doc, F_ObjHandleT flow);
