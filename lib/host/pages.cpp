// Pages of objects and the text of flows (see pages.h).
#include "lib/host/pages.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "lib/host/element_edit.h"

namespace {

constexpr IntT kParentFrame = 774;
constexpr IntT kPageOfObject = 880;
constexpr IntT kFirstTextFrameInFlow = 1169;
constexpr IntT kNextTextFrameInFlow = 981;
constexpr IntT kFirstPgfInFrame = 972;
constexpr IntT kLastPgfInFrame = 973;
constexpr IntT kContainer = 1000;
constexpr IntT kTextFrameOf = 1001;
constexpr IntT kFirstRowInTbl = 1338;
constexpr IntT kFirstCellInRow = 1247;
constexpr IntT kClimb2200 = 2200;
constexpr IntT kFirstBodyPageInDoc = 415;
constexpr IntT kFirstMasterPageInDoc = 417;
constexpr IntT kFirstRefPageInDoc = 419;
constexpr IntT kNextPageInDoc = 694;
constexpr IntT kClearFlags = 2;
constexpr IntT kSelectElementItself = 5;
constexpr int kClimbLimit = 1000;
constexpr int kStepLimit = 10000000;
constexpr int kKind65 = 65;

}  // namespace

F_ObjHandleT om_PageOfObject(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!objId) return 0;
    F_ObjHandleT at = objId;
    for (int steps = 0; steps < kClimbLimit; ++steps) {
        F_ObjHandleT up = F_ApiGetId(docId, at, kParentFrame);
        if (!up) break;
        at = up;
    }
    return F_ApiGetId(docId, at, kPageOfObject);
}

F_TextRangeT om_FlowTextRange(F_ObjHandleT docId, F_ObjHandleT flowId) {
    F_TextRangeT r{};
    F_ObjHandleT frame = F_ApiGetId(docId, flowId, kFirstTextFrameInFlow);
    if (!frame) return r;
    r.beg = F_TextLocT{F_ApiGetId(docId, frame, kFirstPgfInFrame), 0};
    int steps = 0;
    for (F_ObjHandleT next = F_ApiGetId(docId, frame, kNextTextFrameInFlow); next && steps < kStepLimit; ++steps) {
        frame = next;
        next = F_ApiGetId(docId, frame, kNextTextFrameInFlow);
    }
    r.end = F_TextLocT{F_ApiGetId(docId, frame, kLastPgfInFrame), FV_OBJ_END_OFFSET};
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
    F_ApiClear(docId, kClearFlags);
}

F_ObjHandleT om_ObjectPageClimb(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    for (int steps = 0; at && steps < kClimbLimit; ++steps) {
        IntT kind = F_OBJ_KIND(at);
        if (kind >= FO_BodyPage && kind <= FO_RefPage) return at;
        if (kind == FO_Fn || kind == FO_Cell) {
            at = F_ApiGetId(docId, at, kContainer);
            continue;
        }
        F_ObjHandleT up = F_ApiGetId(docId, at, kParentFrame);
        at = up ? up : F_ApiGetId(docId, at, kPageOfObject);
    }
    return 0;
}

F_ObjHandleT om_ObjectPageOfTextFrame(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    for (int steps = 0; at && steps < kClimbLimit; ++steps) {
        IntT kind = F_OBJ_KIND(at);
        F_ObjHandleT up = 0;
        if (kind >= 9 && kind <= 21)
            up = F_ApiGetId(docId, at, kParentFrame);
        else if (kind == FO_AFrame || kind == FO_Pgf || kind == FO_Cell)
            up = F_ApiGetId(docId, at, kTextFrameOf);
        else if (kind == FO_Tbl)
            up = F_ApiGetId(docId, F_ApiGetId(docId, at, kFirstRowInTbl), kFirstCellInRow);
        else if (kind == FO_Row)
            up = F_ApiGetId(docId, at, kFirstCellInRow);
        else if (kind == kKind65)
            up = F_ApiGetId(docId, at, kClimb2200);
        if (!up) break;
        at = up;
    }
    return at ? F_ApiGetId(docId, at, kPageOfObject) : 0;
}

void om_GraphicsSortByPage(F_ObjHandleT docId, F_UIntsT *graphics) {
    if (!docId || !graphics || !graphics->val) return;
    std::unordered_map<F_ObjHandleT, size_t> rank;  // page -> its place in body, master, reference order
    int steps = 0;
    for (IntT first : {kFirstBodyPageInDoc, kFirstMasterPageInDoc, kFirstRefPageInDoc})
        for (F_ObjHandleT p = F_ApiGetId(0, docId, first); p && steps < kStepLimit;
             p = F_ApiGetId(docId, p, kNextPageInDoc), ++steps)
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
