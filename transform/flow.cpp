// Repetition and condition processors: QVRN_for-each repeats its content once per match
// (sorted by a leading QVRN_sort), QVRN_if keeps its content when its test matches, QVRN_choose
// keeps the content of its first matching QVRN_when or of its QVRN_otherwise.
#include <algorithm>
#include <cstdlib>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_ops.h"
#include "lib/host/element_walk.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"

std::string XformSortKey(F_ObjHandleT qdoc, F_ObjHandleT m, IntT sortSeq, bool *found) {
    om_XPathResetSequence(sortSeq, 1);
    IntT attr = -1;
    F_ObjHandleT kdoc = 0;
    F_ObjHandleT k = om_FindNextNodeWithXpath(qdoc, sortSeq, m, 0, &kdoc, &attr);
    if (found) *found = k != 0;
    if (!k) return "";
    std::vector<std::string> values;
    om_XPathMatchValues(kdoc ? kdoc : qdoc, k, values, attr, 255);
    return values.empty() ? std::string() : values.front();
}

namespace {

struct SortRule {
    IntT seq = 0, order = XSO_Ascending, dataType = XSD_Text;
};

// Reads and deletes a leading QVRN_sort of elem; 0 with StatusCode XformErr::Critical when its expression is gone.
bool TakeSort(F_ObjHandleT doc, F_ObjHandleT elem, SortRule &sort) {
    F_ObjHandleT first = F_ApiGetId(doc, elem, FP_FirstChildElement);
    if (!first || om_XformElementType(doc, first) != XT_Sort) return true;
    sort.seq = XformAttrInt(doc, first, "SequenceNumber");
    sort.order = om_XformSortOrder(doc, first);
    sort.dataType = om_XformSortDataType(doc, first);
    F_ApiDelete(doc, first);
    if (sort.seq <= 0) {
        StatusCode = XformErr::Critical;
        return false;
    }
    return true;
}

// The copy a new copy with this key goes before (0: at the end of the container).
F_ObjHandleT om_XformSortedCopyPosition(const XformSortedPlaces &places, const std::string &key) {
    return places.Successor(key);
}

}  // namespace

void om_XformRunForEach(F_ObjHandleT doc, F_ObjHandleT f) {
    StatusCode = 0;
    if (!F_ApiGetId(doc, f, FP_FirstChildElement)) return;
    XformQuery q;
    if (!XformBeginQuery(doc, f, q)) return;
    IntT maxMatches = XformAttrInt(doc, f, "max_matches");
    SortRule sort;
    if (!TakeSort(doc, f, sort)) return;
    ElementWalkPushed walk;
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    F_ObjHandleT container = 0;
    std::vector<F_ObjHandleT> copies;  // every copy made
    XformSortedPlaces places(sort.order, sort.dataType);
    IntT taken = 0;
    F_ObjHandleT tail = 0;
    for (F_ObjHandleT qdoc : q.Documents()) {
        om_XformUpdateProgress(0, qdoc, 1);
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return;
        IntT left = maxMatches > 0 ? maxMatches - taken : 0;
        // Matches in the for-each itself or in its copies are never repeated.
        std::vector<F_ObjHandleT> skip{f};
        if (container) skip.push_back(container);
        std::vector<XformMatch> matches = XformMatchesIn(q, qdoc, left, doc, skip);
        for (const XformMatch &m : matches) {
            om_XformTickProgress();
            om_PollUserCancel();
            if (StatusCode == StatusCancelled) return;
            if (!container) {
                container = om_ElementInsertAfter(doc, f, "QVRN_for-each");
                StatusCode = 0;
                if (!container) return void(StatusCode = XformErr::Critical);
            }
            if (!om_ElementSelect(doc, f, LocElement) || F_ApiCopy(doc, 0) != 0) return void(StatusCode = XformErr::Critical);
            std::string key;
            F_ObjHandleT before = 0;
            bool keyed = false;  // a match without a sort key goes at the end, at its turn
            if (sort.seq) {
                key = XformSortKey(m.doc, m.node, sort.seq, &keyed);
                if (keyed) before = om_XformSortedCopyPosition(places, key);
            }
            F_ObjHandleT copy = 0;
            if (!before) {
                if (XformPasteAtEnd(doc, doc, container, tail)) copy = tail;
            } else {
                om_ElementSelect(doc, before, LocBefore);
                if (F_ApiPaste(doc, 0) == 0) copy = F_ApiGetId(doc, before, FP_PrevSiblingElement);
            }
            if (!copy) return void(StatusCode = XformErr::Critical);
            copies.push_back(copy);
            if (sort.seq) {
                if (keyed) places.Add(key, copy);
                F_ApiSetString(doc, copy, FP_UserString, key.c_str());
            }
            om_XformSetContextAttrs(doc, copy, m.doc, m.node, m.attr, 0);
            om_AttrSetValue(doc, copy, "SequenceNumber", "Spent");
            XformForgetWritten(copy);
            StatusCode = 0;
            ++taken;
        }
        if (maxMatches > 0 && taken >= maxMatches) break;
    }
    if (!container) return;
    // The finished copies are unwrapped, then the container.
    for (F_ObjHandleT c : copies) XformUnwrap(doc, c);
    XformUnwrap(doc, container);
    StatusCode = 0;
}

IntT om_XformCompileParamTest(const std::string &test) {
    std::string t = XformStraightenQuotes(test);
    t = XformSubstituteParams(t, 1, GeneralPreferences.xformRecognizeParamsInLiterals);
    IntT n = om_XPathCompile(".[" + t + "]", 1);
    return n > XPathLastSequenceNumber ? XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL : n;
}

F_ObjHandleT om_XformEvalTest(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT *outDoc) {
    StatusCode = 0;
    if (outDoc) *outDoc = 0;
    IntT t = om_XformElementType(doc, elem);
    if (t != XT_If && t != XT_When && t != XT_Param) return 0;
    ElementWalkPushed walk;
    XformQuery q;
    std::string test = XformAttr(doc, elem, "test");
    if (GeneralPreferences.xformRecognizeParamsInExpressions && t != XT_Param && !test.empty() && test[0] == '$') {
        IntT n = om_XformCompileParamTest(test);
        if (n == XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL) return StatusCode = XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL, 0;
        F_ObjHandleT inherited = static_cast<F_ObjHandleT>(om_XformGetContextDocId(doc, elem));
        q.seq = n;
        q.ctxDoc = om_XformContextDocument(doc, elem, n);
        if (StatusCode) return 0;
        q.ctxNode = om_XformContextNode(doc, elem, n);
        if (q.ctxNode != elem && q.ctxDoc != inherited) q.ctxNode = 0;
    } else if (!XformBeginQuery(doc, elem, q)) {
        return 0;
    }
    for (F_ObjHandleT qdoc : q.Documents()) {
        std::vector<XformMatch> m = XformMatchesIn(q, qdoc, 1, 0, {});
        if (!m.empty()) {
            if (outDoc) *outDoc = m.front().doc;
            return m.front().node;
        }
    }
    return 0;
}

F_ObjHandleT om_XformRunIf(F_ObjHandleT doc, F_ObjHandleT e) {
    if (!F_ApiGetId(doc, e, FP_FirstChildElement)) {
        ElementWalkState.lastMove = WalkUp;
        ElementWalkState.enabled = 1;
        F_ObjHandleT next = om_ElementNextInDocOrder(doc, e);
        F_ApiDelete(doc, e);
        return next;
    }
    F_ObjHandleT m = om_XformEvalTest(doc, e, nullptr);
    if (StatusCode) return e;
    ElementWalkState.enabled = 1;
    if (m) {
        ElementWalkState.lastMove = WalkDown;
        F_ObjHandleT next = om_ElementNextTagged(doc, e);
        if (next == e) {  // nothing tagged inside: go on after it
            ElementWalkState.lastMove = WalkUp;
            next = om_ElementNextTagged(doc, e);
        }
        XformUnwrap(doc, e);
        return next;
    }
    ElementWalkState.lastMove = WalkUp;
    F_ObjHandleT next = om_ElementNextInDocOrder(doc, e);
    F_ApiDelete(doc, e);
    return next;
}

F_ObjHandleT om_XformRunChoose(F_ObjHandleT doc, F_ObjHandleT e) {
    ElementWalkState.enabled = 1;
    std::vector<F_ObjHandleT> kids = XformChildren(doc, e);
    F_ObjHandleT chosen = 0;
    for (F_ObjHandleT w : kids) {
        if (om_XformElementType(doc, w) != XT_When) continue;
        F_ObjHandleT m = om_XformEvalTest(doc, w, nullptr);
        if (StatusCode) return e;
        if (m) {
            chosen = w;
            break;
        }
    }
    if (!chosen && !kids.empty() && om_XformElementType(doc, kids.back()) == XT_Otherwise) chosen = kids.back();
    StatusCode = 0;
    if (!chosen) {
        ElementWalkState.lastMove = WalkUp;
        F_ObjHandleT next = om_ElementNextTagged(doc, e);
        F_ApiDelete(doc, e);
        return next;
    }
    for (F_ObjHandleT w : kids)
        if (w != chosen) F_ApiDelete(doc, w);
    F_ObjHandleT next = 0;
    if (F_ApiGetId(doc, chosen, FP_FirstChildElement)) {
        next = F_ApiGetId(doc, chosen, FP_FirstChildElement);
        XformUnwrap(doc, chosen);
        XformUnwrap(doc, e);
        ElementWalkState.lastMove = WalkDown;
        return next;
    }
    // The chosen branch is empty: the whole choose goes.
    ElementWalkState.lastMove = WalkUp;
    next = om_ElementNextTagged(doc, e);
    F_ApiDelete(doc, e);
    return next;
}
