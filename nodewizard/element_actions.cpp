// The Node Wizard's element actions. Host refusals are seen through FA_errno after the one host
// call that carries the action; the selections made before it are not tested, except where a
// place that cannot be selected would let the action work on an older selection.
#include "nodewizard/element_actions.h"

#include "lib/host/element_edit.h"
#include "lib/host/element_ops.h"
#include "nodewizard/action_batch.h"

namespace {

// Selects the element itself through the shared range.
void SelectSelfShared(F_ObjHandleT doc, F_ObjHandleT elem) {
    om_ElementStoreRange(doc, elem);
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &SharedElementRange);
}

bool IsFlow(F_ObjHandleT, F_ObjHandleT node) { return F_OBJ_KIND(node) == FO_Flow; }

// One of unwrap, promote, demote on the element itself.
NWActionError StructureEdit(F_ObjHandleT doc, F_ObjHandleT elem, void (*edit)(F_ObjHandleT), NWActionError refused) {
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    SelectSelfShared(doc, elem);
    FA_errno = 0;
    edit(doc);
    return FA_errno ? refused : 0;
}

}  // namespace

NWActionError om_NWRetagElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName) {
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    F_ObjHandleT def = om_NWDefinition(doc, defName);
    if (!def) return NWResult::RetagNoDefinition;
    FA_errno = 0;
    F_ApiSetId(doc, elem, FP_ElementDef, def);
    return FA_errno ? NWResult::RetagRefused : 0;
}

NWActionError om_NWWrapElement(F_ObjHandleT doc, F_ObjHandleT node, const std::string &defName, IntT contents) {
    if (!doc) return NWResult::NoDocument;
    if (!node) return NWResult::NoNode;
    F_ObjHandleT def = om_NWDefinition(doc, defName);
    if (!def) return NWResult::NoDefinition;
    if (IsFlow(doc, node)) {
        F_ObjHandleT root = F_ApiGetId(doc, node, FP_HighestLevelElement);
        if (!root) return NWResult::WrapRefused;  // a flow without structure has nothing an element could wrap
        om_ElementSelect(doc, root, LocElement);
    } else if (contents) {
        om_ElementSelectContents(doc, node);
    } else {
        SelectSelfShared(doc, node);
    }
    FA_errno = 0;
    F_ApiWrapElement(doc, def);
    return FA_errno ? NWResult::WrapRefused : 0;
}

NWActionError om_NWUnwrapElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    return StructureEdit(doc, elem, F_ApiUnWrapElement, NWResult::UnwrapRefused);
}

NWActionError om_NWPromoteElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    return StructureEdit(doc, elem, F_ApiPromoteElement, NWResult::PromoteRefused);
}

NWActionError om_NWDemoteElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    return StructureEdit(doc, elem, F_ApiDemoteElement, NWResult::DemoteRefused);
}

NWActionError om_NWAssignConditions(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names) {
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    std::vector<IntT> ids;
    bool missing = false;
    for (const std::string &name : names) {
        F_ObjHandleT cond = F_ApiGetNamedObject(doc, FO_CondFmt, name.c_str());
        if (cond) ids.push_back(static_cast<IntT>(cond));
        else missing = true;
    }
    NWActionError result = missing ? NWResult::ConditionMissing : 0;
    F_IntsT list{static_cast<UIntT>(ids.size()), ids.empty() ? nullptr : ids.data()};
    FA_errno = 0;
    if (F_ApiGetInt(doc, elem, FP_ElementType) == FV_FO_TBL_ROW) {
        F_ApiSetInts(doc, F_ApiGetId(doc, elem, FP_Object), FP_InCond, &list);
    } else {
        om_ElementSelectSelf(doc, elem);
        F_TextRangeT range = F_ApiGetTextRange(0, doc, FP_TextSelection);
        FA_errno = 0;
        F_PropValT value{};
        value.propIdent = FP_InCond;
        value.propVal.valType = FT_Ints;
        value.propVal.isval = list;
        F_ApiSetTextPropVal(doc, &range, &value);
    }
    return FA_errno ? NWResult::ConditionsRefused : result;
}

NWActionError om_NWPasteAtElement(F_ObjHandleT doc, F_ObjHandleT elem, NWElementAction code) {
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    if (ClipboardEmpty) return 0;
    IntT mode = 0;
    switch (code) {
    case NWElem::PasteOver: mode = LocElement; break;
    case NWElem::PasteOverContents: mode = LocContent; break;
    case NWElem::PasteAtStart: mode = LocContentStart; break;
    case NWElem::PasteAtEnd: mode = LocContentEnd; break;
    case NWElem::PasteBefore: mode = LocBefore; break;
    case NWElem::PasteAfter: mode = LocAfter; break;
    default: return 0;
    }
    // A place that cannot be selected (before or after the highest-level element) would paste
    // over whatever was selected before.
    if (!om_ElementSelect(doc, elem, mode)) return NWResult::PasteFailed;
    FA_errno = 0;
    F_ApiPaste(doc, 32);
    return FA_errno ? NWResult::PasteFailed : 0;
}

NWActionError om_NWMoveElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT direction) {
    FA_errno = 0;
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    F_ObjHandleT parent = F_ApiGetId(doc, elem, FP_ParentElement);
    if (!parent) return NWResult::NoParent;
    bool up = direction == 1;
    F_ObjHandleT sibling = F_ApiGetId(doc, elem, up ? FP_PrevSiblingElement : FP_NextSiblingElement);
    if (!sibling) return up ? NWResult::NoPreviousSibling : NWResult::NoNextSibling;
    switch (F_ApiGetInt(doc, elem, FP_ElementType)) {
    case FV_FO_TBL_TITLE: case FV_FO_TBL_HEADING: case FV_FO_TBL_BODY: case FV_FO_TBL_FOOTING: case FV_FO_TBL_CELL:
        return NWResult::TablePartNotMoved;
    default:
        break;
    }
    om_ElementSelectSelf(doc, sibling);
    FA_errno = 0;
    F_ApiCut(doc, 2);
    if (FA_errno) return NWResult::MoveRefused;  // a refused cut pastes nothing
    F_ObjHandleT before = up ? F_ApiGetId(doc, elem, FP_NextSiblingElement) : elem;
    F_ElementRangeT point{{parent, before, 0}, {parent, before, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &point);
    F_ApiPaste(doc, 0);
    NWActionError result = FA_errno ? NWResult::MoveRefused : 0;
    om_DocGoToObject(doc, elem);
    return result;
}

IntT om_NWInsertElement(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &defName, NWElementAction code) {
    if (!doc || !elem) return 0;
    F_ObjHandleT def = om_NWDefinition(doc, defName);
    if (!def) return NWResult::NoDefinition;
    IntT mode = code == NWElem::InsertBefore       ? LocBefore
                : code == NWElem::InsertAfter      ? LocAfter
                : code == NWElem::InsertFirstChild ? LocContentStart
                                                   : LocContentEnd;
    // A place that cannot be selected would put the element wherever the selection was.
    if (!om_ElementSelect(doc, elem, mode)) return 0;
    FA_errno = 0;
    F_ElementRangeT sel = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    return static_cast<IntT>(F_ApiNewElement(doc, def, &sel.beg));
}

void om_NWFlowDeleteContents(F_ObjHandleT doc, F_ObjHandleT flow) {
    F_ObjHandleT root = F_ApiGetId(doc, flow, FP_HighestLevelElement);
    if (!root) return;
    om_ElementSelect(doc, root, LocElement);
    F_ApiClear(doc, 2);
}
