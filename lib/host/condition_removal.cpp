// Removal of all conditional-text settings (see condition_removal.h).
#include "lib/host/condition_removal.h"

#include "lib/host/element_walk.h"

namespace {

constexpr IntT kConditions = 1150;
constexpr IntT kElemTextRange = 1071;

}  // namespace

IntT om_ElementRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    if (F_ApiGetInt(docId, elemId, FP_ElementType) == FV_FO_TBL_ROW) {
        F_IntsT none{0, nullptr};
        F_ApiSetInts(docId, F_ApiGetId(docId, elemId, FP_Object), kConditions, &none);
        return 0;
    }
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    F_TextRangeT range{};
    if (parent) {
        F_ElementLocT beg{parent, elemId, 0};
        F_ElementLocT end{parent, F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0};
        range.beg = F_ApiElementLocToTextLoc(docId, &beg);
        range.end = F_ApiElementLocToTextLoc(docId, &end);
    } else {
        range = F_ApiGetTextRange(docId, elemId, kElemTextRange);
    }
    F_PropValT pv = F_ApiGetTextPropVal(docId, &range.beg, kConditions);
    F_ApiFreeIntList(&pv.propVal.isval);
    pv.propIdent = kConditions;
    pv.propVal.valType = FT_Ints;
    F_ApiSetTextPropVal(docId, &range, &pv);
    return 0;
}

IntT om_ElementTreeRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId, IntT removeFlag) {
    if (!docId || !elemId) return 0;
    F_ObjHandleT parent = F_ApiGetId(docId, elemId, FP_ParentElement);
    om_ElementWalkStart();
    F_ObjHandleT e = elemId;
    do {
        if (ElementWalkState.lastMove != WalkUp && removeFlag == 1) om_ElementRemoveConditions(docId, e);
        e = om_ElementNextInDocOrder(docId, e);
    } while (e && e != elemId && e != parent);
    return 0;
}

IntT om_FlowRemoveConditions(F_ObjHandleT docId, F_ObjHandleT flowId, IntT removeFlag) {
    return om_ElementTreeRemoveConditions(docId, F_ApiGetId(docId, flowId, FP_HighestLevelElement), removeFlag);
}
