// Element locations and the element selection: a location (before or after an element, at the
// start or end of its content, the element itself, its whole content) becomes a host element
// range, which element edits write at and which selecting an element sets.
#pragma once

#include "fdk.h"

// ElementLocationMode: the six element locations every element edit uses.
enum ElementLocationMode : IntT {
    LocBefore = 1,
    LocAfter = 2,
    LocContentStart = 3,
    LocContentEnd = 4,
    LocElement = 5,
    LocContent = 6,
};

// Fills *range with the location of elemId in the mode; 1 on success, 0 when docId or elemId is
// 0, for modes 1 and 2 when the element has no parent, or for a mode outside 1..6 (the range is
// then left as it was). An untagged element takes mode 1 for 3 and mode 2 for 4.
IntT om_ElementLocation(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode, F_ElementRangeT *range);
// Sets the document's element selection to the location; 1 when the location succeeded, else 0
// with the selection untouched.
IntT om_ElementSelect(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode);
// Selects the element as a whole ({parent, elem, 0} .. {parent, next sibling or 0, 0}).
void om_ElementSelectWhole(F_ObjHandleT docId, F_ObjHandleT elemId);
// The whole-element range; without a parent {0, elem, 0} .. {0, 0, 0}. Nothing without docId.
void om_ElementLocationWhole(F_ObjHandleT docId, F_ObjHandleT elemId, F_ElementRangeT *range);
