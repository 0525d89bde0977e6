// Pieces shared by the host's editing files (clipboard, structure edits, text properties, tables):
// the model's own text-node and delete primitives, and the selection read as one sibling run.
#pragma once

#include "model_internal.h"
#include "model_layout.h"

namespace host {

// Model primitives (model_edit.cpp, model_text.cpp).
bool DeleteElement(F_ObjHandleT doc, F_ObjHandleT id);
F_ObjHandleT SplitText(F_ObjHandleT doc, F_ObjHandleT id, IntT off);
void JoinWithNextText(F_ObjHandleT id);
bool InsertTextAt(F_ObjHandleT doc, const F_ElementLocT &at, std::string_view text, F_ObjHandleT &node, IntT &end);

// A selection seen as a run of siblings under one parent: from `first` (a text node entered at
// `firstOff` characters) up to `stop` (exclusive; 0 = the end of the parent), plus the first
// `stopOff` characters of `stop` when it is a text node. For the highest-level element of a
// flow the parent is 0 and the run is that element. `empty` is an insertion point.
struct SiblingRun {
    F_ObjHandleT parent = 0;
    F_ObjHandleT first = 0;
    IntT firstOff = 0;
    F_ObjHandleT stop = 0;
    IntT stopOff = 0;
    bool empty = true;
};

// The document's selection as a sibling run; locations in different parents are lifted to their
// nearest common ancestor (whole children of it). False when nothing structured is selected.
// `selection`, when given, receives the selection the run was made from (SelectionElements).
bool SelectionRun(Document &d, SiblingRun &run, F_ElementRangeT *selection = nullptr);
// The characters of a text node.
IntT TextLength(const Element &e);
// Offsets clamped to a text node's length (the end-of-text offset reads as the length).
IntT ClampOffset(const Element &e, IntT off);
// Joins `id` with its next sibling when both are text nodes (and with its previous one).
void JoinTextAround(F_ObjHandleT id);
// The child before which new content goes for a location: inside a text node the node is split
// at the offset (the part after it), at its end the node after it.
F_ObjHandleT PlaceBefore(F_ObjHandleT doc, const F_ElementLocT &at);
// True when the element lies in the subtree of `top` (or is `top`).
bool InSubtree(F_ObjHandleT e, F_ObjHandleT top);

}  // namespace host
