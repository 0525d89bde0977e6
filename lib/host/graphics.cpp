// Graphics of a document: the kind of page a graphic lies on and the selection of graphics.
#include "lib/host/graphics.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kStepLimit = 10000000;

}  // namespace

IntT om_GraphicPageKind(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    IntT kind = F_OBJ_KIND(at);
    for (int steps = 0; at && steps < 1000; ++steps) {
        kind = F_OBJ_KIND(at);
        if (kind >= FO_BodyPage && kind <= FO_OtherPage) return kind;
        F_ObjHandleT up = F_ApiGetId(docId, at, FP_FrameParent);
        if (!up) up = F_ApiGetId(docId, at, FP_PageFramePage);
        at = up;
    }
    return kind;
}

void om_GraphicsSelect(F_ObjHandleT docId, const F_UIntsT *ids) {
    if (!docId || !ids || !ids->val) return;
    for (UIntT i = 0; i < ids->len; ++i) F_ApiSetInt(docId, ids->val[i], FP_GraphicIsSelectedAlt, 1);
}

F_UIntsT om_GraphicsDeselectAll(F_ObjHandleT docId) {
    std::vector<UIntT> ids;
    if (docId) {
        F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDocAlt);
        for (int steps = 0; g && steps < kStepLimit; ++steps) {
            F_ObjHandleT next = F_ApiGetId(docId, g, FP_NextSelectedGraphicInDocAlt);  // read before the deselection
            if (F_ApiGetInt(docId, g, FP_GraphicIsSelectedAlt) == 1) {
                F_ApiSetInt(docId, g, FP_GraphicIsSelectedAlt, 0);
                ids.push_back(g);
            }
            g = next;
        }
    }
    F_UIntsT out;
    out.len = static_cast<UIntT>(ids.size());
    out.val = static_cast<UIntT *>(F_Alloc(static_cast<UIntT>(ids.size() * sizeof(UIntT)), NO_DSE));
    std::copy(ids.begin(), ids.end(), out.val);
    return out;
}
