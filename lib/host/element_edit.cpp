// Element edits (see element_edit.h).
#include "lib/host/element_edit.h"

#include "lib/host/debug_log.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"

namespace {

// Sets one integer-or-id text property over a range.
void SetTextProp(F_ObjHandleT docId, const F_TextRangeT &range, IntT prop, IntT type, IntT value) {
    F_PropValT pv{};
    pv.propIdent = prop;
    pv.propVal.valType = type;
    pv.propVal.ival = value;
    F_ApiSetTextPropVal(docId, &range, &pv);
}

// Makes the page current when it is of another kind than the current page.
void ShowPageKind(F_ObjHandleT docId, F_ObjHandleT page) {
    if (!page) return;
    F_ObjHandleT current = F_ApiGetId(0, docId, FP_CurrentPage);
    if (F_OBJ_KIND(current) != F_OBJ_KIND(page)) F_ApiSetId(0, docId, FP_CurrentPage, page);
}

}  // namespace

F_ObjHandleT om_ElementInsertNew(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName, IntT mode) {
    F_ElementRangeT range{};
    if (!om_ElementLocation(docId, elemId, mode, &range)) return 0;
    F_ObjHandleT def = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    if (!def) return 0;
    return F_ApiNewElement(docId, def, &range.beg);
}

IntT om_ElementInsertText(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &text, IntT mode) {
    if (!om_ElementSelect(docId, elemId, mode)) return 0;
    if (mode == LocContent) {
        F_ApiClear(docId, 0);
        if (!om_ElementSelect(docId, elemId, mode)) return 0;
    }
    F_TextRangeT sel = F_ApiGetTextRange(0, docId, FP_TextSelection);
    F_ApiAddText(docId, &sel.end, text.c_str());
    return 1;
}

IntT om_ElementClearContent(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!HostHaveDocAndObject(docId, elemId)) return StatusCode;
    if (om_ElementSelect(docId, elemId, LocContent)) F_ApiClear(docId, 2);
    return 0;
}

IntT om_ElementMove(F_ObjHandleT docId, F_ObjHandleT elemId, IntT direction) {
    FA_errno = 0;
    if (!docId) return StatusNoDocument;
    if (!elemId) return StatusNoObject;
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    bool up = direction == 1;
    F_ObjHandleT sibling = F_ApiGetId(docId, elemId, up ? FP_PrevSiblingElement : FP_NextSiblingElement);
    IntT kind = F_ApiGetInt(docId, elemId, FP_ElementType);
    bool tablePart = kind == FV_FO_TBL_TITLE || kind == FV_FO_TBL_HEADING || kind == FV_FO_TBL_BODY ||
                     kind == FV_FO_TBL_FOOTING || kind == FV_FO_TBL_CELL;
    if (!parent || !sibling || tablePart) return StatusNotPossible;
    om_ElementSelectWhole(docId, sibling);
    F_ApiCut(docId, 2);
    if (FA_errno != 0) return StatusNotPossible;  // nothing may be pasted after a refused cut
    F_ObjHandleT before = up ? F_ApiGetId(docId, elemId, FP_NextSiblingElement) : elemId;
    F_ElementRangeT ip{F_ElementLocT{parent, before, 0}, F_ElementLocT{parent, before, 0}};
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &ip);
    F_ApiPaste(docId, 0);
    return FA_errno == 0 ? 0 : StatusNotPossible;
}

void om_DocGoToObject(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!docId || !objId) return;
    F_ApiSetInt(0, docId, FP_IsOnScreen, 1);
    F_ApiSetId(0, 0, FP_ActiveDoc, docId);
    F_ApiSetInt(0, docId, FP_IsInFront, 1);
    IntT kind = F_OBJ_KIND(objId);
    if (kind == FO_Flow) {
        ShowPageKind(docId, FramePage(docId, F_ApiGetId(docId, objId, FP_FirstTextFrameInFlow)));
        return;
    }
    F_ObjHandleT target = 0;
    F_TextRangeT sel{};
    bool isElement = kind == FO_Element;
    if (kind == FO_Pgf) {
        target = objId;
    } else if (isElement) {
        om_ElementSelect(docId, objId, LocElement);
        sel = F_ApiGetTextRange(0, docId, FP_TextSelection);
        F_ObjHandleT e = objId;
        IntT ek = F_ApiGetInt(docId, e, FP_ElementType);
        if (ek == FV_FO_TBL_HEADING || ek == FV_FO_TBL_BODY || ek == FV_FO_TBL_FOOTING) {
            e = F_ApiGetId(docId, e, FP_FirstChildElement);
            ek = F_ApiGetInt(docId, e, FP_ElementType);
        }
        if (ek == FV_FO_TBL_ROW) {
            e = F_ApiGetId(docId, e, FP_FirstChildElement);
            ek = F_ApiGetInt(docId, e, FP_ElementType);
        }
        if (ek == FV_FO_TBL_CELL)
            target = F_ApiGetId(docId, F_ApiGetId(docId, e, FP_Object), FP_FirstPgf);
        else
            target = sel.beg.objId;
    } else {
        return;
    }
    if (target) ShowPageKind(docId, FramePage(docId, F_ApiGetId(docId, target, FP_InTextFrame)));
    F_TextRangeT scroll = target ? F_TextRangeT{{target, 0}, {target, 0}} : sel;
    F_ApiScrollToText(docId, &scroll);
    if (isElement) {
        om_ElementSelect(docId, objId, LocElement);
    } else {
        F_TextRangeT whole{{target, 0}, {target, FV_OBJ_END_OFFSET}};
        F_ApiSetTextRange(0, docId, FP_TextSelection, &whole);
    }
}

IntT om_DeleteElement(F_ObjHandleT docId, F_ObjHandleT elemId) {
    FA_errno = 0;
    StatusCode = 0;
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    IntT kind = F_ApiGetInt(docId, elemId, FP_ElementType);
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    if (!HostIsTagged(docId, elemId)) {
        if (om_LogMode() == kLogWrite) om_LogRecordEvent(docId, elemId, "Preparing to delete text node (om_DeleteElement)");
        if (om_ElementSelect(docId, elemId, LocElement)) F_ApiClear(docId, 0);
    } else if (kind == FV_FO_TBL_TITLE) {
        om_LogRecordEvent(docId, elemId, "Preparing to delete table title (om_DeleteElement)");
        F_ApiSetInt(docId, F_ApiGetId(docId, parent, FP_Object), FP_TblTitlePosition, 0);
    } else if (kind == FV_FO_TBL_HEADING || kind == FV_FO_TBL_FOOTING) {
        om_LogRecordEvent(docId, elemId, "Preparing to delete table heading (om_DeleteElement)");
        IntT rows = 0;
        for (F_ObjHandleT c = F_ApiGetId(docId, elemId, FP_FirstChildElement); c;
             c = F_ApiGetId(docId, c, FP_NextSiblingElement))
            if (HostIsTagged(docId, c)) ++rows;
        F_ObjHandleT firstRow = F_ApiGetId(docId, F_ApiGetId(docId, elemId, FP_FirstChildElement), FP_Object);
        F_ObjHandleT table = F_ApiGetId(docId, firstRow, FP_RowTbl);
        F_ApiDeleteRows(docId, table, firstRow, rows);
    } else if (kind == FV_FO_TBL_BODY) {
        if (om_LogMode() == kLogWrite) om_LogRecordEvent(docId, elemId, "Preparing to delete table body (om_DeleteElement)");
        F_ApiDelete(docId, parent);
    } else if (kind == FV_FO_TBL_ROW) {
        om_LogRecordEvent(docId, elemId, "Preparing to delete table row (om_DeleteElement)");
        IntT tagged = 0;
        for (F_ObjHandleT c = F_ApiGetId(docId, parent, FP_FirstChildElement); c;
             c = F_ApiGetId(docId, c, FP_NextSiblingElement))
            if (HostIsTagged(docId, c)) ++tagged;
        bool lastBodyRow = F_ApiGetInt(docId, parent, FP_ElementType) == FV_FO_TBL_BODY && tagged == 1;
        if (lastBodyRow) {
            F_ApiDelete(docId, F_ApiGetId(docId, parent, FP_ParentElement));
        } else {
            F_ObjHandleT row = F_ApiGetId(docId, elemId, FP_Object);
            F_ApiDeleteRows(docId, F_ApiGetId(docId, row, FP_RowTbl), row, 1);
        }
    } else if (kind == FV_FO_TBL_CELL) {
        StatusCode = StatusCannotDelete;
        FA_errno = FE_BadParameter;
    } else {
        om_LogRecordEvent(docId, elemId, "Preparing to delete container element (om_DeleteElement)");
        F_ApiDelete(docId, elemId);
    }
    om_LogRecordEvent(docId, 0, "Done deleting element (om_DeleteElement)");
    return FA_errno == 0 ? 1 : 0;
}

IntT om_ElementRetag(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName) {
    if (!docId || !elemId) return 0;
    F_ObjHandleT def = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    if (!def) return 0;
    F_ApiSetId(docId, elemId, FP_ElementDef, def);
    return 1;
}

void om_ElementReapplyDefinitions(F_ObjHandleT docId, F_ObjHandleT elemId, IntT subtree) {
    if (!docId || !elemId) return;
    F_ObjHandleT def = F_ApiGetId(docId, elemId, FP_ElementDef);
    if (def) F_ApiSetId(docId, elemId, FP_ElementDef, def);
    if (!subtree) return;
    ElementWalkPushed pushed;
    om_ElementWalkStart();
    F_ObjHandleT stop = F_ApiGetId(docId, elemId, FP_NextSiblingElement);
    if (!stop) stop = F_ApiGetId(docId, elemId, FP_ParentElement);
    for (F_ObjHandleT e = om_ElementNextTagged(docId, elemId); e && e != stop; e = om_ElementNextTagged(docId, e)) {
        if (ElementWalkState.lastMove == WalkUp) continue;
        F_ObjHandleT d = F_ApiGetId(docId, e, FP_ElementDef);
        if (d) F_ApiSetId(docId, e, FP_ElementDef, d);
    }
}

IntT om_ElementCopy(F_ObjHandleT docId, F_ObjHandleT elemId) {
    om_ElementSelect(docId, elemId, LocElement);
    return F_ApiCopy(docId, 0);
}

void om_ElementSetColor(F_ObjHandleT docId, F_ObjHandleT elemId, F_ObjHandleT colorId, const std::string &colorName,
                        IntT flagA, IntT flagB) {
    if (!docId || !elemId) return;
    if (!colorId) colorId = F_ApiGetNamedObject(docId, FO_Color, colorName.c_str());
    if (!colorId) return;
    F_TextRangeT range{};
    if (flagA == 1 && flagB == 0) {
        range = ElementTextRange(docId, elemId, LocContent);
    } else if (flagA == 1 && flagB == 1) {
        F_ObjHandleT obj = F_ApiGetId(docId, elemId, FP_Object);
        range.beg = F_TextLocT{F_ApiGetId(docId, obj, FP_FirstPgf), 0};
        range.end = F_TextLocT{F_ApiGetId(docId, obj, FP_LastPgf), FV_OBJ_END_OFFSET};
    } else {
        range = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    }
    if (F_ApiGetInt(docId, elemId, FP_ElementColorShift) == 1) range.beg.offset += 1;
    SetTextProp(docId, range, FP_Color, FT_Id, static_cast<IntT>(colorId));
}

void om_ElementSetColorTree(F_ObjHandleT docId, F_ObjHandleT elemId, F_ObjHandleT colorId,
                            const std::string &colorName, IntT flagA) {
    if (!docId || !elemId) return;
    ElementWalkSaved saved;
    om_ElementWalkStart();
    F_ObjHandleT stop = F_ApiGetId(docId, elemId, FP_NextSiblingElement);
    if (!stop) stop = F_ApiGetId(docId, elemId, FP_ParentElement);
    for (F_ObjHandleT e = elemId; e && e != stop; e = om_ElementNextInDocOrder(docId, e)) {
        IntT flagB = F_ApiGetInt(docId, e, FP_ElementType) == FV_FO_FOOTNOTE ? 1 : 0;
        om_ElementSetColor(docId, e, colorId, colorName, flagA, flagB);
    }
}

void om_ElementTextFlagSet(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return;
    F_TextRangeT range = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    SetTextProp(docId, range, FP_TextFlag, FT_Integer, 1);
}

void om_ElementTextFlagClear(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return;
    F_TextRangeT range = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    F_PropValT pv = F_ApiGetTextPropVal(docId, &range.beg, FP_TextFlag);
    if (pv.propVal.ival == 1) SetTextProp(docId, range, FP_TextFlag, FT_Integer, 0);
}
