// Removal of all conditional-text settings (see condition_removal.h).
#include "lib/dialogs/condition_removal.h"

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/books.h"
#include "lib/host/documents.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"

IntT om_ElementRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    if (F_ApiGetInt(docId, elemId, FP_ElementType) == FV_FO_TBL_ROW) {
        F_IntsT none{0, nullptr};
        F_ApiSetInts(docId, F_ApiGetId(docId, elemId, FP_Object), FP_InCond, &none);
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
        range = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    }
    F_PropValT pv = F_ApiGetTextPropVal(docId, &range.beg, FP_InCond);
    F_ApiFreeIntList(&pv.propVal.isval);
    pv.propIdent = FP_InCond;
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

IntT om_DocRemoveConditions(F_ObjHandleT docId, IntT removeFlag) {
    CancelFlag = 0;
    if (!docId) return 0;
    F_TextRangeT selection = F_ApiGetTextRange(0, docId, FP_TextSelection);
    for (F_ObjHandleT flow = F_ApiGetId(0, docId, FP_FirstFlowInDoc); flow;
         flow = F_ApiGetId(docId, flow, FP_NextFlowInDoc)) {
        CancelFlag = om_CheckUserCancel("");
        if (CancelFlag) return 0;
        om_FlowRemoveConditions(docId, flow, removeFlag);
    }
    F_ApiSetTextRange(0, docId, FP_TextSelection, &selection);
    return 0;
}

IntT om_BookRemoveConditions(F_ObjHandleT bookId, IntT, IntT removeFlag) {
    CancelFlag = 0;
    om_DlgOpenStatus(kDlgStatusBox, "Processing Book", 0, "");
    om_DlgSetStatusLines("Processing book, please wait...", "", "", "Press Esc to cancel");
    IntT sum = 0;
    for (F_ObjHandleT comp = om_BookWalkFirst(bookId, FV_BK_DOC_FILE); comp;
         comp = om_BookWalkNext(bookId, FV_BK_DOC_FILE)) {
        F_ObjHandleT doc = om_BookComponentFindDoc(bookId, comp);
        if (doc) {
            std::string line = "Processing:  " + DocPathFileName(HostGetString(bookId, comp, FP_Path));
            om_DlgSetStatusLines("*", line.c_str(), "*", "*");
            sum += om_DocRemoveConditions(doc, removeFlag);
            F_ApiSetInt(0, doc, FP_IsInFront, 1);
        }
        if (!CancelFlag) CancelFlag = om_CheckUserCancel("");
        if (CancelFlag) {
            F_ApiAlert("Operation cancelled.", FF_ALERT_CONTINUE_WARN);
            om_DlgCloseStatus();
            return 0;
        }
    }
    F_ApiSetInt(0, bookId, FP_IsInFront, 1);
    om_DlgCloseStatus();
    return sum;
}
