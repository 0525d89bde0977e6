// Pages of objects and the text of flows (see pages.h).
#include "lib/host/pages.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "lib/host/element_edit.h"

namespace {

constexpr IntT kSelectElementItself = 5;
constexpr int kClimbLimit = 1000;
constexpr int kStepLimit = 10000000;

}  // namespace

F_ObjHandleT om_PageOfObject(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!objId) return 0;
    F_ObjHandleT at = objId;
    for (int steps = 0; steps < kClimbLimit; ++steps) {
        F_ObjHandleT up = F_ApiGetId(docId, at, FP_FrameParent);
        if (!up) break;
        at = up;
    }
    return F_ApiGetId(docId, at, FP_PageFramePage);
}

F_TextRangeT om_FlowTextRange(F_ObjHandleT docId, F_ObjHandleT flowId) {
    F_TextRangeT r{};
    F_ObjHandleT frame = F_ApiGetId(docId, flowId, FP_FirstTextFrameInFlow);
    if (!frame) return r;
    r.beg = F_TextLocT{F_ApiGetId(docId, frame, FP_FirstPgf), 0};
    int steps = 0;
    for (F_ObjHandleT next = F_ApiGetId(docId, frame, FP_NextTextFrameInFlow); next && steps < kStepLimit; ++steps) {
        frame = next;
        next = F_ApiGetId(docId, frame, FP_NextTextFrameInFlow);
    }
    r.end = F_TextLocT{F_ApiGetId(docId, frame, FP_LastPgf), FV_OBJ_END_OFFSET};
    return r;
}

void om_FlowDeleteContents(F_ObjHandleT docId, F_ObjHandleT flowId) {
    if (!docId || !flowId) return;
    if (F_ObjHandleT root = F_ApiGetId(docId, flowId, FP_HighestLevelElement)) {
        om_ElementSelect(docId, root, kSelectElementItself);
    } else {
        F_TextRangeT r = om_FlowTextRange(docId, flowId);
        F_ApiSetTextRange(0, docId, FP_TextSelection, &r);
    }
    F_ApiClear(docId, FF_CLEAR_ALL);
}

F_ObjHandleT om_ObjectPageClimb(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    for (int steps = 0; at && steps < kClimbLimit; ++steps) {
        IntT kind = F_OBJ_KIND(at);
        if (kind >= FO_BodyPage && kind <= FO_RefPage) return at;
        if (kind == FO_Fn || kind == FO_Cell) {
            at = F_ApiGetId(docId, at, FP_ClimbParent);
            continue;
        }
        F_ObjHandleT up = F_ApiGetId(docId, at, FP_FrameParent);
        at = up ? up : F_ApiGetId(docId, at, FP_PageFramePage);
    }
    return 0;
}

F_ObjHandleT om_ObjectPageOfTextFrame(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    for (int steps = 0; at && steps < kClimbLimit; ++steps) {
        IntT kind = F_OBJ_KIND(at);
        F_ObjHandleT up = 0;
        if (kind >= FO_FirstGraphicKind && kind <= FO_LastGraphicKind)
            up = F_ApiGetId(docId, at, FP_FrameParent);
        else if (kind == FO_AFrame || kind == FO_Pgf || kind == FO_Cell)
            up = F_ApiGetId(docId, at, FP_InTextFrame);
        else if (kind == FO_Tbl)
            up = F_ApiGetId(docId, F_ApiGetId(docId, at, FP_FirstRowInTbl), FP_FirstCellInRow);
        else if (kind == FO_Row)
            up = F_ApiGetId(docId, at, FP_FirstCellInRow);
        else if (kind == FO_ClimbObject)
            up = F_ApiGetId(docId, at, FP_ClimbToPage);
        if (!up) break;
        at = up;
    }
    return at ? F_ApiGetId(docId, at, FP_PageFramePage) : 0;
}

void om_GraphicsSortByPage(F_ObjHandleT docId, F_UIntsT *graphics) {
    if (!docId || !graphics || !graphics->val) return;
    std::unordered_map<F_ObjHandleT, size_t> rank;  // page -> its place in body, master, reference order
    int steps = 0;
    for (IntT first : {FP_FirstBodyPageInDoc, FP_FirstMasterPageInDoc, FP_FirstRefPageInDoc})
        for (F_ObjHandleT p = F_ApiGetId(0, docId, first); p && steps < kStepLimit;
             p = F_ApiGetId(docId, p, FP_PageNext), ++steps)
            rank.emplace(p, rank.size());
    std::vector<std::pair<size_t, UIntT>> kept;
    for (UIntT i = 0; i < graphics->len; ++i) {
        auto it = rank.find(om_PageOfObject(docId, graphics->val[i]));
        if (it != rank.end()) kept.emplace_back(it->second, graphics->val[i]);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < kept.size(); ++i) graphics->val[i] = kept[i].second;
    graphics->len = static_cast<UIntT>(kept.size());
}
