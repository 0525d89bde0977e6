// Element operations shared by the element actions and the transformation.
#include "lib/host/element_ops.h"

#include "lib/strings/heapstr.h"
#include "lib/strings/lists.h"
#include "lib/globals.h"
#include "lib/run_state.h"

namespace {

// The name of an element definition ("" for none).
std::string DefName(F_ObjHandleT docId, F_ObjHandleT defId) {
    if (!defId) return "";
    StringT s = F_ApiGetString(docId, defId, FP_Name);
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

// The element's own range: (parent, element, 0) to (parent, next sibling or 0, 0).
F_ElementRangeT SelfRange(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    return F_ElementRangeT{{parent, elemId, 0}, {parent, F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0}};
}

// The element's content: before its first child (offset 0) to its end (child 0, or the host's
// end-of-text offset when it has no child element).
F_ElementRangeT ContentRange(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_ObjHandleT first = F_ApiGetId(docId, elemId, FP_FirstChildElement);
    return F_ElementRangeT{{elemId, first, 0}, {elemId, 0, first ? 0 : FV_OBJ_END_OFFSET}};
}

// The number of children of an element.
IntT ChildCount(F_ObjHandleT docId, F_ObjHandleT elemId) {
    IntT n = 0;
    for (F_ObjHandleT c = F_ApiGetId(docId, elemId, FP_FirstChildElement); c; c = F_ApiGetId(docId, c, FP_NextSiblingElement))
        ++n;
    return n;
}

}  // namespace

F_ElementRangeT SharedElementRange{};

namespace {
// The range the last element selection used.
[[maybe_unused]] const bool resetSharedElementRange =
    om_RunStateRegister("shared element range", RunStateKind::Run, [] {
        SharedElementRange = F_ElementRangeT{};
    });
}  // namespace

IntT om_ElementDefIsOfType(F_ObjHandleT docId, const std::string &defName, IntT type) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ObjHandleT defId = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    return (defId && F_ApiGetInt(docId, defId, FP_ElementDefType) == type) ? 1 : 0;
}

F_ObjHandleT om_ElementFindAncestor(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                    F_ObjHandleT ancestorId) {
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    // Parents of a tree are bounded by its depth; the limit guards a host that loops.
    F_ObjHandleT cur = F_ApiGetId(docId, elemId, FP_ParentElement);
    for (int steps = 0; cur && steps < 100000; ++steps) {
        if (ancestorId) {
            if (cur == ancestorId) return cur;
        } else if (DefName(docId, F_ApiGetId(docId, cur, FP_ElementDef)) == tag) {
            return cur;
        }
        cur = F_ApiGetId(docId, cur, FP_ParentElement);
    }
    return 0;
}

void om_ElementDefNamesOfType(F_ObjHandleT docId, IntT type, std::vector<std::string> &names) {
    names.clear();
    if (!docId) return;
    F_ObjHandleT defId = F_ApiGetId(0, docId, FP_FirstElementDefInDoc);
    for (int steps = 0; defId && steps < 1000000; ++steps) {
        if (F_ApiGetInt(docId, defId, FP_ElementDefType) == type) names.push_back(DefName(docId, defId));
        defId = F_ApiGetId(docId, defId, FP_NextElementDefInDoc);
    }
}

F_ObjHandleT om_ElementInsertAfter(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (!elemId) {
        StatusCode = StatusNoObject;
        return 0;
    }
    F_ObjHandleT defId = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    F_ElementLocT loc{F_ApiGetId(docId, elemId, FP_ParentElement), F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0};
    return F_ApiNewElement(docId, defId, &loc);
}

void om_ElementReplaceByText(F_ObjHandleT docId, F_ObjHandleT elemId) {
    IntT kind = (docId && elemId) ? F_ApiGetInt(docId, elemId, FP_ElementType) : 0;
    if (kind != FV_FO_SYS_VAR && kind != FV_FO_XREF && kind != FV_FO_MARKER) {
        StatusCode = StatusNoObject;
        return;
    }
    F_ObjHandleT objId = F_ApiGetId(docId, elemId, FP_Object);
    std::string text;
    if (kind == FV_FO_MARKER) {
        StringT s = F_ApiGetString(docId, objId, FP_MarkerText);
        text = s ? s : "";
        F_ApiDeallocateString(&s);
    } else {
        F_TextRangeT range = F_ApiGetTextRange(docId, objId, FP_TextRange);
        F_TextItemsT items = F_ApiGetTextForRange(docId, &range, FTI_String);
        StringT s = om_TextItemsConcat(&items, 0, 0);
        text = s ? s : "";
        om_StrFree(&s);
        F_ApiDeallocateTextItems(&items);
    }
    F_ElementRangeT whole{{F_ApiGetId(docId, elemId, FP_ParentElement), elemId, 0},
                          {F_ApiGetId(docId, elemId, FP_ParentElement),
                           F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0}};
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &whole);
    F_ApiDelete(docId, elemId);
    if (text.empty()) return;
    F_TextRangeT here = F_ApiGetTextRange(0, docId, FP_TextSelection);
    F_ApiAddText(docId, &here.beg, text.c_str());
}

IntT om_ElementDeleteByKind(F_ObjHandleT docId, F_ObjHandleT elemId) {
    StatusCode = 0;
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (DefName(docId, F_ApiGetId(docId, elemId, FP_ElementDef)).empty()) {
        // An untagged element is cleared as its own range.
        F_ElementRangeT self = SelfRange(docId, elemId);
        F_ApiSetElementRange(0, docId, FP_ElementSelection, &self);
        F_ApiClear(docId, 0);
    } else {
        F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
        switch (F_ApiGetInt(docId, elemId, FP_ElementType)) {
        case FV_FO_TBL_TITLE:
            F_ApiSetInt(docId, F_ApiGetId(docId, parent, FP_Object), FP_TblTitlePosition, 0);
            break;
        case FV_FO_TBL_HEADING:
        case FV_FO_TBL_FOOTING: {
            F_ObjHandleT firstRow = F_ApiGetId(docId, F_ApiGetId(docId, elemId, FP_FirstChildElement), FP_Object);
            if (firstRow)
                F_ApiDeleteRows(docId, F_ApiGetId(docId, firstRow, FP_RowTbl), firstRow, ChildCount(docId, elemId));
            break;
        }
        case FV_FO_TBL_BODY:
            F_ApiDelete(docId, parent);
            break;
        case FV_FO_TBL_ROW: {
            F_ObjHandleT row = F_ApiGetId(docId, elemId, FP_Object);
            F_ObjHandleT table = F_ApiGetId(docId, row, FP_RowTbl);
            if (F_ApiGetInt(docId, parent, FP_ElementType) == FV_FO_TBL_BODY && ChildCount(docId, parent) == 1)
                F_ApiDelete(docId, F_ApiGetId(docId, parent, FP_ParentElement));
            F_ApiDeleteRows(docId, table, row, 1);
            break;
        }
        case FV_FO_TBL_CELL:
            StatusCode = StatusCellNotDeleted;
            return 0;
        default:
            break;
        }
    }
    // After the kind's own step the element may be gone already; the delete then fails quietly.
    if (F_ApiGetInt(docId, elemId, FP_Unique) != 0) F_ApiDelete(docId, elemId);
    return F_ApiGetInt(docId, elemId, FP_Unique) == 0 ? 1 : 0;
}

void om_ElementDeleteContents(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) {
        StatusCode = docId ? StatusNoObject : StatusNoDocument;
        return;
    }
    F_ElementRangeT range = ContentRange(docId, elemId);
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &range);
    F_ApiClear(docId, 2);
}

F_ObjHandleT om_ElementAtSelection(F_ObjHandleT docId) {
    StatusCode = 0;
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ElementRangeT sel = F_ApiGetElementRange(0, docId, FP_ElementSelection);
    return sel.beg.childId != sel.end.childId ? sel.beg.childId : 0;
}

F_ObjHandleT om_ElementLastChild(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) {
        StatusCode = docId ? StatusNoObject : StatusNoDocument;
        return 0;
    }
    F_ObjHandleT last = F_ApiGetId(docId, elemId, FP_FirstChildElement);
    for (F_ObjHandleT c = last; c; c = F_ApiGetId(docId, c, FP_NextSiblingElement)) last = c;
    return last;
}

IntT om_ElementSelectContents(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) {
        StatusCode = docId ? StatusNoObject : StatusNoDocument;
        return 0;
    }
    F_ElementRangeT range = ContentRange(docId, elemId);
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &range);
    if (range.beg.childId) return 1;
    F_ElementRangeT sel = F_ApiGetElementRange(0, docId, FP_ElementSelection);
    return (sel.beg.offset != 0 || sel.end.offset != 0) ? 1 : 0;
}

void om_ElementSelectSelf(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return;
    F_ElementRangeT self = SelfRange(docId, elemId);
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &self);
}

void om_ElementStoreRange(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId) return;
    SharedElementRange = SelfRange(docId, elemId);
}
