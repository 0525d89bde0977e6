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

// 2 "Retag as": 301 without the definition, 300 when the host refuses.
NWActionError om_NWRetagElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName);
// 3 "Wrap element in" (contents 0) and 4 "Wrap contents in" (1); a flow node wraps its
// highest-level element. 302 without the definition, 303 when the host refuses.
NWActionError om_NWWrapElement(F_ObjHandleT doc, F_ObjHandleT node, const std::string &defName, IntT contents);
// 5, 6, 7: 304, 305 or 306 when the host refuses.
NWActionError om_NWUnwrapElement(F_ObjHandleT doc, F_ObjHandleT elem);
NWActionError om_NWPromoteElement(F_ObjHandleT doc, F_ObjHandleT elem);
NWActionError om_NWDemoteElement(F_ObjHandleT doc, F_ObjHandleT elem);
// 10 "Assign conditions": the element's text (a table row: the row) gets exactly the named
// condition tags the document has; 307 when a name is missing (the others still apply), 308
// when the host refuses.
NWActionError om_NWAssignConditions(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names);
// 11, 14-18: pastes the clipboard over the element, over its content, at its start or end, before
// or after it; nothing while the clipboard-empty flag is set. 309 when the place cannot be
// selected or the host refuses.
NWActionError om_NWPasteAtElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT code);
// 12, 13: moves the previous (direction 1) or next (2) sibling across the element, which keeps
// its identity. 321 no parent, 318/319 no such sibling, 320 a table part, 322 refused.
NWActionError om_NWMoveElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT direction);
// 19-22: a new element of the definition before, after, first in or last in the element; the
// new element's id, 302 without the definition, 0 when nothing was made.
IntT om_NWInsertElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName, IntT code);

// Deletes a flow's content (its highest-level element), leaving the flow.
void om_NWFlowDeleteContents(F_ObjHandleT doc, F_ObjHandleT flow);
