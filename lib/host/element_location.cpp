// Element locations and the element selection (see element_location.h).
#include "lib/host/element_location.h"

#include "lib/host/host_values.h"

namespace {

F_ElementLocT Loc(F_ObjHandleT parent, F_ObjHandleT child, IntT offset) { return F_ElementLocT{parent, child, offset}; }

// The text range (1071) of an object as an element range, through the host's conversion.
F_ElementRangeT TextRangeAsElementRange(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_TextRangeT tr = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    return F_ElementRangeT{F_ApiTextLocToElementLoc(docId, &tr.beg), F_ApiTextLocToElementLoc(docId, &tr.end)};
}

}  // namespace

IntT om_ElementLocation(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode, F_ElementRangeT *range) {
    if (!docId || !elemId || !range) return 0;
    if (F_ApiGetObjectType(docId, elemId) != FO_Element) return 0;  // deleted, closed or foreign
    bool tagged = HostIsTagged(docId, elemId);
    if (!tagged && mode == LocContentStart) mode = LocBefore;
    if (!tagged && mode == LocContentEnd) mode = LocAfter;
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    F_ObjHandleT first = F_ApiGetId(docId, elemId, FP_FirstChildElement);
    F_ObjHandleT next = F_ApiGetId(docId, elemId, FP_NextSiblingElement);
    switch (mode) {
    case LocBefore:
        if (!parent) return 0;
        range->beg = range->end = Loc(parent, elemId, 0);
        return 1;
    case LocAfter:
        if (!parent) return 0;
        range->beg = range->end = Loc(parent, next, 0);
        return 1;
    case LocContentStart:
        range->beg = range->end = Loc(elemId, first, 0);
        return 1;
    case LocContentEnd:
        range->beg = range->end = Loc(elemId, 0, first ? 0 : FV_OBJ_END_OFFSET);
        return 1;
    case LocElement:
        if (!tagged) {
            *range = TextRangeAsElementRange(docId, elemId);
            return 1;
        }
        range->beg = Loc(parent, elemId, 0);
        range->end = Loc(parent, next, 0);
        return 1;
    case LocContent:
        if (!tagged) {
            *range = TextRangeAsElementRange(docId, elemId);
            return 1;
        }
        range->beg = Loc(elemId, first, 0);
        range->end = Loc(elemId, 0, first ? 0 : FV_OBJ_END_OFFSET);
        return 1;
    default:
        return 0;
    }
}

IntT om_ElementSelect(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode) {
    F_ElementRangeT range{};
    if (!om_ElementLocation(docId, elemId, mode, &range)) return 0;
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &range);
    return 1;
}

void om_ElementLocationWhole(F_ObjHandleT docId, F_ObjHandleT elemId, F_ElementRangeT *range) {
    if (!docId || !range) return;
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    if (parent) {
        range->beg = Loc(parent, elemId, 0);
        range->end = Loc(parent, F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0);
    } else {
        range->beg = Loc(0, elemId, 0);
        range->end = Loc(0, 0, 0);
    }
}

void om_ElementSelectWhole(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return;
    F_ElementRangeT range{};
    om_ElementLocationWhole(docId, elemId, &range);
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &range);
}
