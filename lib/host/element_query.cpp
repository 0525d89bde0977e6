// Element tree queries (see element_query.h).
#include "lib/host/element_query.h"

#include <algorithm>
#include <unordered_set>

#include "lib/host/element_location.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"

namespace {

constexpr int kMaxFrameClimb = 1000;
constexpr int kMaxPages = 10000;


F_ElementRangeT ElementSelection(F_ObjHandleT docId) { return F_ApiGetElementRange(0, docId, FP_ElementSelection); }

// The text frame at a text location (text property 1001).
F_ObjHandleT FrameAt(F_ObjHandleT docId, const F_TextLocT &loc) {
    F_PropValT pv = F_ApiGetTextPropVal(docId, &loc, FP_InTextFrame);
    return static_cast<F_ObjHandleT>(pv.propVal.ival);
}

void AddPage(std::vector<UIntT> &pages, F_ObjHandleT page) {
    if (page && std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
}

// Keeps the listed elements of the start's subtree in document order; with connectedOnly an
// element is kept only when every ancestor up to the start is listed too.
void KeepListed(F_ObjHandleT docId, F_ObjHandleT flowId, F_ObjHandleT startId, std::vector<UIntT> &list,
                bool connectedOnly) {
    ElementWalkPushed pushed;
    std::unordered_set<UIntT> listed(list.begin(), list.end());
    list.clear();
    if (!docId) return;
    if (!flowId) flowId = F_ApiGetId(0, docId, FP_MainFlowInDoc);
    if (!startId) startId = F_ApiGetId(docId, flowId, FP_HighestLevelElement);
    if (!startId) return;
    bool startListed = listed.count(startId) > 0;
    if (connectedOnly && !startListed) return;
    if (startListed) list.push_back(startId);
    om_ElementWalkStart();
    for (F_ObjHandleT e = F_ApiGetId(docId, startId, FP_FirstChildElement); e && e != startId;
         e = om_ElementNextInDocOrder(docId, e)) {
        bool revisit = ElementWalkState.lastMove == WalkUp;
        bool inList = listed.count(e) > 0;
        if (connectedOnly) {
            if (revisit || !inList) {
                ElementWalkState.lastMove = WalkUp;
                continue;
            }
            list.push_back(e);
        } else if (!revisit && inList) {
            list.push_back(e);
        }
    }
}

}  // namespace

F_ObjHandleT FramePage(F_ObjHandleT docId, F_ObjHandleT frame) {
    for (int i = 0; frame && i < kMaxFrameClimb; ++i) {
        F_ObjHandleT up = F_ApiGetId(docId, frame, FP_FrameParent);
        if (!up) break;
        frame = up;
    }
    return frame ? F_ApiGetId(docId, frame, FP_PageFramePage) : 0;
}

F_ObjHandleT ParagraphPage(F_ObjHandleT docId, F_ObjHandleT pgfId) {
    return pgfId ? FramePage(docId, F_ApiGetId(docId, pgfId, FP_InTextFrame)) : 0;
}

// ---- structure ------------------------------------------------------------------------------

IntT om_ElementHasContent(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!docId || !objId) return 0;
    if (F_OBJ_KIND(objId) == FO_Flow) return F_ApiGetId(docId, objId, FP_FirstTextFrameInFlow) ? 1 : 0;
    if (HostIsTagged(docId, objId)) return 1;
    F_TextRangeT r = F_ApiGetTextRange(docId, objId, FP_TextRange);
    return (r.beg.objId || r.end.objId) ? 1 : 0;
}

IntT om_ElementIsEmpty(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId || !om_ElementHasContent(docId, elemId)) return 1;
    if (!HostIsTagged(docId, elemId)) return 0;
    if (F_ApiGetId(docId, elemId, FP_FirstChildElement)) return 0;
    om_ElementSelect(docId, elemId, LocContent);
    F_ElementRangeT sel = ElementSelection(docId);
    return (sel.beg.offset > 0 || sel.end.offset > 0) ? 0 : 1;
}

IntT om_ElementCountChildren(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT all) {
    if (!docId || !elemId) return 0;
    IntT n = 0;
    for (F_ObjHandleT c = F_ApiGetId(docId, elemId, FP_FirstChildElement); c;
         c = F_ApiGetId(docId, c, FP_NextSiblingElement)) {
        std::string name = HostElementDefName(docId, c);
        if (!tag.empty() ? name == tag : (all == 1 || !name.empty())) ++n;
    }
    return n;
}

IntT om_ElementSiblingPosition(F_ObjHandleT docId, F_ObjHandleT elemId, IntT positionFlag) {
    if (!HostHaveDocAndObject(docId, elemId)) return 0;
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    if (!parent) return 1;
    IntT n = 0, pos = 0;
    for (F_ObjHandleT c = F_ApiGetId(docId, parent, FP_FirstChildElement); c;
         c = F_ApiGetId(docId, c, FP_NextSiblingElement)) {
        ++n;
        if (c == elemId) pos = n;
    }
    return positionFlag == 1 ? pos : n;
}

F_ObjHandleT om_ElementTopAncestor(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!docId || !elemId) return 0;
    F_ObjHandleT e = elemId;
    for (F_ObjHandleT p = F_ApiGetId(docId, e, FP_ParentElement); p; p = F_ApiGetId(docId, p, FP_ParentElement)) e = p;
    return e;
}

F_ObjHandleT om_FlowFind(F_ObjHandleT docId, const std::string &flowName, IntT caseFlag) {
    if (!docId) return 0;
    if (flowName.empty() || F_StrICmp(flowName.c_str(), "Main") == 0) return F_ApiGetId(0, docId, FP_MainFlowInDoc);
    for (F_ObjHandleT f = F_ApiGetId(0, docId, FP_FirstFlowInDoc); f; f = F_ApiGetId(docId, f, FP_NextFlowInDoc)) {
        std::string name = HostGetString(docId, f, FP_Name);
        if (name.empty()) continue;
        if (caseFlag ? name == flowName : F_StrICmp(name.c_str(), flowName.c_str()) == 0) return f;
    }
    return 0;
}

F_ObjHandleT om_ElementHighestLevel(F_ObjHandleT docOrBookId, const std::string &flowName, F_ObjHandleT flowId) {
    IntT kind = F_OBJ_KIND(docOrBookId);
    if (kind == FO_Book) return F_ApiGetId(0, docOrBookId, FP_HighestLevelElement);
    if (kind != FO_Doc) return 0;
    if (!flowId) flowId = om_FlowFind(docOrBookId, flowName, 1);
    return flowId ? F_ApiGetId(docOrBookId, flowId, FP_HighestLevelElement) : 0;
}

F_ObjHandleT om_DocFlowOfObject(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!docId || !objId) return 0;
    IntT kind = F_OBJ_KIND(objId);
    F_ObjHandleT frame = 0;
    F_ObjHandleT top = 0;
    if (kind == FO_Element)
        top = om_ElementTopAncestor(docId, objId);
    else if (kind == FO_Pgf)
        frame = F_ApiGetId(docId, objId, FP_InTextFrame);
    else if (kind == FO_TextFrame)
        frame = objId;
    else
        return 0;
    for (F_ObjHandleT f = F_ApiGetId(0, docId, FP_FirstFlowInDoc); f; f = F_ApiGetId(docId, f, FP_NextFlowInDoc)) {
        if (kind == FO_Element) {
            if (top && F_ApiGetId(docId, f, FP_HighestLevelElement) == top) return f;
            continue;
        }
        int steps = 0;
        for (F_ObjHandleT t = F_ApiGetId(docId, f, FP_FirstTextFrameInFlow); t && steps < kMaxPages;
             t = F_ApiGetId(docId, t, FP_NextTextFrameInFlow), ++steps)
            if (t == frame) return f;
    }
    return 0;
}

std::vector<std::string> om_DocElementDefNames(F_ObjHandleT docId, IntT sortFlag, IntT caseFlag) {
    std::vector<std::string> names;
    if (!docId) return names;
    for (F_ObjHandleT d = F_ApiGetId(0, docId, FP_FirstElementDefInDoc); d;
         d = F_ApiGetId(docId, d, FP_NextElementDefInDoc))
        names.push_back(HostGetString(docId, d, FP_Name));
    if (sortFlag == 1)
        std::stable_sort(names.begin(), names.end(), [caseFlag](const std::string &a, const std::string &b) {
            return caseFlag ? a < b : F_StrICmp(a.c_str(), b.c_str()) < 0;
        });
    return names;
}

// ---- selection ------------------------------------------------------------------------------

F_ObjHandleT om_ElementSelected(F_ObjHandleT docId, IntT insertionPointFlag, IntT graphicFlag) {
    StatusCode = 0;
    if (!docId) return StatusCode = StatusNoDocument, 0;
    if (F_OBJ_KIND(docId) == FO_Doc && graphicFlag == 1) {
        F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc);
        for (int i = 0; g && i <= kMaxFrameClimb; ++i) {
            F_ObjHandleT e = F_ApiGetId(docId, g, FP_Element);
            if (e) return e;
            g = F_ApiGetId(docId, g, FP_FrameParent);
        }
    }
    F_ElementRangeT sel = ElementSelection(docId);
    if (sel.beg.childId != sel.end.childId) return sel.beg.childId;
    if (insertionPointFlag == 1 && sel.beg.parentId == sel.end.parentId) return sel.beg.parentId;
    return 0;
}

F_ObjHandleT om_ElementSelectedInFrontDoc(F_ObjHandleT *docId) {
    F_ObjHandleT front = 0;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d; d = F_ApiGetId(0, d, FP_NextOpenDocInSession))
        if (F_ApiGetInt(0, d, FP_IsInFront)) {
            front = d;
            break;
        }
    if (docId) *docId = front;
    return front ? om_ElementSelected(front, 0, 1) : 0;
}

// ---- pages ----------------------------------------------------------------------------------

std::vector<UIntT> om_ElementPages(F_ObjHandleT docId, F_ObjHandleT elemId) {
    std::vector<UIntT> pages;
    if (!docId || !elemId) return pages;
    IntT kind = F_ApiGetInt(docId, elemId, FP_ElementType);
    F_ObjHandleT obj = F_ApiGetId(docId, elemId, FP_Object);
    if (kind == FV_FO_CONTAINER) {
        F_TextRangeT r = F_ApiGetTextRange(docId, elemId, FP_TextRange);
        F_TextLocT loc = r.beg;
        for (int i = 0; loc.objId && i < kMaxPages; ++i) {
            AddPage(pages, FramePage(docId, FrameAt(docId, loc)));
            if (loc.objId == r.end.objId) break;
            loc = F_TextLocT{F_ApiGetId(docId, loc.objId, FP_NextPgfInFlow), 0};
        }
        if (r.end.objId) AddPage(pages, FramePage(docId, FrameAt(docId, r.end)));
    } else if (kind >= FV_FO_SYS_VAR && kind <= FV_FO_EQN) {
        F_ObjHandleT frame = 0;
        F_TextLocT loc{};
        if (kind == FV_FO_SYS_VAR || kind == FV_FO_XREF)
            loc = F_ApiGetTextRange(docId, obj, FP_TextRange).beg;
        else if (kind == FV_FO_MARKER)
            loc = F_ApiGetTextLoc(docId, obj, FP_TextLoc);
        else if (kind == FV_FO_FOOTNOTE || kind == FV_FO_GRAPHIC)
            frame = F_ApiGetId(docId, obj, FP_InTextFrame);
        else
            frame = F_ApiGetId(docId, obj, FP_FrameParent);
        if (!frame && loc.objId) frame = FrameAt(docId, loc);
        AddPage(pages, FramePage(docId, frame));
    } else if (kind >= FV_FO_TBL && kind <= FV_FO_TBL_CELL) {
        std::vector<F_ObjHandleT> rows;
        if (kind == FV_FO_TBL_ROW) {
            rows.push_back(obj);
        } else if (kind == FV_FO_TBL_CELL) {
            rows.push_back(F_ApiGetId(docId, obj, FP_CellRow));
        } else {
            if (kind == FV_FO_TBL || kind == FV_FO_TBL_TITLE) AddPage(pages, ParagraphPage(docId, F_ApiGetId(docId, obj, FP_FirstPgf)));
            IntT wanted = kind == FV_FO_TBL_HEADING ? 0 : kind == FV_FO_TBL_BODY ? 1 : kind == FV_FO_TBL_FOOTING ? 2 : -1;
            for (F_ObjHandleT row = F_ApiGetId(docId, obj, FP_FirstRowInTbl); row; row = F_ApiGetId(docId, row, FP_NextRowInTbl))
                if (wanted < 0 || F_ApiGetInt(docId, row, FP_RowType) == wanted) rows.push_back(row);
        }
        for (F_ObjHandleT row : rows)
            AddPage(pages, ParagraphPage(docId, F_ApiGetId(docId, F_ApiGetId(docId, row, FP_FirstCellInRow), FP_FirstPgf)));
    }
    return pages;
}

std::vector<UIntT> om_ElementPageNumbers(F_ObjHandleT docId, F_ObjHandleT elemId) {
    std::vector<UIntT> out;
    for (UIntT p : om_ElementPages(docId, elemId)) out.push_back(static_cast<UIntT>(F_ApiGetInt(docId, p, FP_PageNum) + 1));
    return out;
}

std::vector<std::string> om_ElementPageNumStrings(F_ObjHandleT docId, F_ObjHandleT elemId) {
    std::vector<std::string> out;
    for (UIntT p : om_ElementPages(docId, elemId)) out.push_back(HostGetString(docId, p, FP_PageNumString));
    return out;
}

// ---- further queries ------------------------------------------------------------------------

IntT om_ElementDepth(F_ObjHandleT docId, F_ObjHandleT topId, F_ObjHandleT elemId) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!docId || !elemId) return -1;
    if (!topId) topId = om_ElementTopAncestor(docId, elemId);
    IntT depth = 0;
    for (F_ObjHandleT e = elemId; e && e != topId; e = F_ApiGetId(docId, e, FP_ParentElement)) ++depth;
    return depth;
}

IntT om_ElementCountDescendants(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT includeSelf,
                                IntT untagged) {
    if (!docId || !elemId) return -1;
    om_ElementWalkStart();
    IntT n = includeSelf ? 1 : 0;
    for (F_ObjHandleT e = F_ApiGetId(docId, elemId, FP_FirstChildElement); e && e != elemId;
         e = om_ElementNextInDocOrder(docId, e)) {
        if (ElementWalkState.lastMove == WalkUp) continue;
        std::string name = HostElementDefName(docId, e);
        if (untagged == 1 ? name.empty() : (!name.empty() && (tag.empty() || name == tag))) ++n;
    }
    return n;
}

IntT om_ElementCountSiblings(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT all) {
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    return parent ? om_ElementCountChildren(docId, parent, tag, all) : 1;
}

F_ObjHandleT om_ElementNthChild(F_ObjHandleT docId, F_ObjHandleT elemId, IntT n, IntT parentFlag) {
    if (!HostHaveDocAndObject(docId, elemId)) return 0;
    if (n <= 0) return 0;
    F_ObjHandleT of = parentFlag ? F_ApiGetId(docId, elemId, FP_ParentElement) : elemId;
    IntT i = 0;
    for (F_ObjHandleT c = F_ApiGetId(docId, of, FP_FirstChildElement); c; c = F_ApiGetId(docId, c, FP_NextSiblingElement))
        if (++i == n) return c;
    return 0;
}

F_ObjHandleT om_ElementAncestorTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                      IntT includeSelf) {
    if (!docId || !elemId) return 0;
    F_ObjHandleT e = includeSelf ? elemId : F_ApiGetId(docId, elemId, FP_ParentElement);
    for (; e; e = F_ApiGetId(docId, e, FP_ParentElement))
        if (HostElementDefName(docId, e) == tag) return e;
    return 0;
}

IntT om_ElementCountsAsEmpty(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!F_ApiGetObjectType(0, docId) || !F_ApiGetObjectType(docId, elemId)) return 0;
    IntT kind = F_ApiGetInt(docId, elemId, FP_ElementType);
    if (kind == FV_FO_TBL_TITLE) return 1;
    if (kind != FV_FO_CONTAINER) return 0;
    F_TextRangeT r = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    return (r.beg.objId == r.end.objId && !om_ElementAnyFlagged(docId, elemId)) ? 1 : 0;
}

IntT om_ElementAnyFlagged(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_IntsT ids = F_ApiGetInts(docId, elemId, FP_ElementIdList);
    IntT any = 0;
    for (UIntT i = 0; ids.val && i < ids.len && !any; ++i)
        if (F_ApiGetInt(docId, static_cast<F_ObjHandleT>(ids.val[i]), FP_ListedFlag)) any = 1;
    F_ApiFreeIntList(&ids);
    return any;
}

IntT om_DocCatalogHasDefinition(F_ObjHandleT docId, const std::string &defName, F_ObjHandleT defId, IntT flags) {
    if (!docId) return 0;
    if (!defName.empty()) defId = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    if (!defId) return 0;
    F_ElementCatalogEntriesT cat = F_ApiGetElementCatalog(docId);
    IntT found = 0;
    for (UIntT i = 0; cat.val && i < cat.len && !found; ++i)
        if (cat.val[i].objId == defId && (flags == 0 || flags == cat.val[i].flags)) found = 1;
    F_ApiDeallocateElementCatalog(&cat);
    return found;
}

std::vector<std::string> om_DocConditionTagNames(F_ObjHandleT docId) {
    std::vector<std::string> names;
    if (!docId) return names;
    for (F_ObjHandleT c = F_ApiGetId(0, docId, FP_FirstCondFmtInDoc); c; c = F_ApiGetId(docId, c, FP_NextCondFmtInDoc))
        names.push_back(HostGetString(docId, c, FP_Name));
    return names;
}

IntT om_DocSelectionKind(F_ObjHandleT docId) {
    F_ElementRangeT s = ElementSelection(docId);
    if (!s.beg.parentId && !s.beg.childId && !s.end.parentId && !s.end.childId) return 1;
    if (s.beg.parentId == s.end.parentId && s.beg.childId == s.end.childId && s.beg.offset == s.end.offset) return 2;
    if (s.beg.parentId == s.end.parentId && s.beg.childId == s.end.childId) return 3;
    if (s.beg.parentId == s.end.parentId && s.beg.childId &&
        s.end.childId == F_ApiGetId(docId, s.beg.childId, FP_NextSiblingElement) && s.beg.offset == 0 && s.end.offset == 0)
        return 5;
    if ((s.beg.childId && !HostIsTagged(docId, s.beg.childId)) || (s.end.childId && !HostIsTagged(docId, s.end.childId)))
        return 4;
    return 6;
}

F_ObjHandleT om_ElementSelectedWhole(F_ObjHandleT docId, IntT kind, IntT untaggedFlag) {
    if (!docId) return 0;
    F_ElementRangeT s = ElementSelection(docId);
    F_ObjHandleT e = s.beg.childId;
    if (!e || s.beg.offset != 0 || s.end.offset != 0) return 0;
    F_ObjHandleT parent = F_ApiGetId(docId, e, FP_ParentElement);
    if (s.beg.parentId != parent || s.end.parentId != parent) return 0;
    if (s.end.childId != F_ApiGetId(docId, e, FP_NextSiblingElement)) return 0;
    if (!HostIsTagged(docId, e) && untaggedFlag != 1) return 0;
    if (kind >= 0 && F_ApiGetInt(docId, e, FP_ElementType) != kind) return 0;
    return e;
}

IntT om_ElementSelectionRelation(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    F_ElementRangeT s = ElementSelection(docId);
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    F_ObjHandleT next = F_ApiGetId(docId, elemId, FP_NextSiblingElement);
    F_ObjHandleT first = F_ApiGetId(docId, elemId, FP_FirstChildElement);
    bool inParent = s.beg.parentId == parent && s.end.parentId == parent;
    if (inParent && s.beg.childId == elemId && s.end.childId == next && s.beg.offset == 0 && s.end.offset == 0)
        return 5;
    if (s.beg.parentId == elemId && s.end.parentId == elemId && s.end.childId == 0 &&
        (s.beg.childId == first || (s.beg.childId == 0 && !next)))
        return 6;
    if (inParent && first && s.beg.childId == first && s.end.childId == first && s.beg.offset == 0 && s.end.offset == 0)
        return 3;
    if (inParent && s.beg.childId == elemId && s.end.childId == elemId && s.beg.offset == 0 && s.end.offset == 0)
        return 1;
    if (inParent && s.beg.childId == next && s.end.childId == next && s.beg.offset == 0 && s.end.offset == 0) return 2;
    return 0;
}

std::vector<UIntT> om_ElementsSelected(F_ObjHandleT docId, IntT insertionPointFlag, IntT graphicFlag) {
    std::vector<UIntT> out;
    if (!docId) return out;
    F_ElementRangeT s = ElementSelection(docId);
    bool none = !s.beg.parentId && !s.beg.childId && !s.end.parentId && !s.end.childId;
    F_ObjHandleT table = none ? F_ApiGetId(0, docId, FP_SelectedTbl) : 0;
    if (table) {
        F_ObjHandleT top = F_ApiGetId(docId, table, FP_TopRowSelection);
        F_ObjHandleT bottom = F_ApiGetId(docId, table, FP_BottomRowSelection);
        IntT left = F_ApiGetInt(docId, table, FP_LeftColNum);
        IntT right = F_ApiGetInt(docId, table, FP_RightColNum);
        for (F_ObjHandleT row = top; row; row = F_ApiGetId(docId, row, FP_NextRowInTbl)) {
            for (F_ObjHandleT cell = F_ApiGetId(docId, row, FP_FirstCellInRow); cell; cell = F_ApiGetId(docId, cell, FP_NextCellInRow)) {
                IntT col = F_ApiGetInt(docId, cell, FP_CellColNum);
                if (col < left || col > right) continue;
                if (F_ObjHandleT e = F_ApiGetId(docId, cell, FP_Element)) out.push_back(e);
            }
            if (row == bottom) break;
        }
        return out;
    }
    if (!s.beg.parentId && !s.end.parentId) {
        if (F_ObjHandleT e = om_ElementSelected(docId, insertionPointFlag, graphicFlag)) out.push_back(e);
        return out;
    }
    if (s.beg.parentId == s.end.parentId && s.beg.childId == s.end.childId) {
        out.push_back(s.beg.parentId);
        return out;
    }
    for (F_ObjHandleT c = s.beg.childId; c && c != s.end.childId; c = F_ApiGetId(docId, c, FP_NextSiblingElement))
        out.push_back(c);
    return out;
}

void om_ElementsKeepConnected(F_ObjHandleT docId, F_ObjHandleT flowId, F_ObjHandleT startId, std::vector<UIntT> &list) {
    KeepListed(docId, flowId, startId, list, true);
}

void om_ElementsKeepInSubtree(F_ObjHandleT docId, F_ObjHandleT flowId, F_ObjHandleT startId, std::vector<UIntT> &list) {
    KeepListed(docId, flowId, startId, list, false);
}

void om_ElementRangeCopy(F_ElementRangeT *to, const F_ElementRangeT *from) { *to = *from; }

IntT om_ElementRangeEqual(const F_ElementRangeT *a, const F_ElementRangeT *b) {
    return a->beg.parentId == b->beg.parentId && a->beg.childId == b->beg.childId && a->beg.offset == b->beg.offset &&
           a->end.parentId == b->end.parentId && a->end.childId == b->end.childId && a->end.offset == b->end.offset;
}

void om_ElementRangeClear(F_ElementRangeT *range) { *range = F_ElementRangeT{}; }
