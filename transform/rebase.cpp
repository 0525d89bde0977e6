// Source paths after Save As: a stylesheet saved under another path has its relative
// source_file paths re-expressed for the new folder and its absolute ones made relative.
#include <algorithm>

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_walk.h"
#include "lib/host/paths.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

namespace {

bool EqualCI(const std::string &a, const char *b) { return F_StrICmp(a.c_str(), b) == 0; }

}  // namespace

IntT om_XformRebaseSourcePathsInFlow(F_ObjHandleT doc, const std::string &path, F_ObjHandleT root,
                                     F_ObjHandleT docA, const std::string &pathA, F_ObjHandleT flow) {
    if (!doc) doc = om_DocFindByPath(path);
    if (!root && doc && flow) root = F_ApiGetId(doc, flow, FP_HighestLevelElement);
    if (!root || (!doc && path.empty()) || (!docA && pathA.empty())) return 0;
    if (!doc) return 0;
    ElementWalkPushed pushed;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    IntT count = 0;
    int visits = 0;
    for (F_ObjHandleT e = root; e; e = om_ElementNextInDocOrder(doc, e)) {
        if (e == root && ElementWalkState.lastMove == WalkUp) break;
        if (++visits > 10000) return count ? count : 1;
        if (ElementWalkState.lastMove == WalkUp) continue;
        IntT t = om_XformElementType(doc, e);
        if (t == 0 || t == XT_Choose || t == XT_Otherwise || (t >= XT_Table && t <= XT_TableFooting) ||
            t == XT_TableCell || t == XT_Sort)
            continue;
        std::string v = XformAttr(doc, e, "source_file");
        if (v.empty() || EqualCI(v, "Current") || EqualCI(v, "Inherit")) continue;
        std::replace(v.begin(), v.end(), '/', '\\');
        std::string result = v;
        StringT out = nullptr;
        if (v.find(':') == std::string::npos) {
            om_PathRebaseRelative(v.c_str(), &out, docA, pathA.c_str(), doc, path.c_str());
            if (out && *out) result = out;
            ++count;
        } else if (om_PathMakeRelative("", doc, v.c_str(), &out, 1) && out && *out) {
            result = out;
            ++count;
        }
        om_StrFree(&out);
        std::replace(result.begin(), result.end(), '\\', '/');
        om_AttrSetValue(doc, e, "source_file", result);
        StatusCode = 0;
    }
    return count;
}

void om_XformRebaseSourcePaths(F_ObjHandleT doc, ConStringT previous, IntT save) {
    if (!doc) return;
    const std::string previousPath = previous ? previous : "";
    IntT total = 0;
    int flows = 0;
    for (F_ObjHandleT f = F_ApiGetId(0, doc, FP_FirstFlowInDoc); f; f = F_ApiGetId(doc, f, FP_NextFlowInDoc)) {
        if (++flows > 10000) return;
        F_ObjHandleT root = F_ApiGetId(doc, f, FP_HighestLevelElement);
        if (root) total += om_XformRebaseSourcePathsInFlow(doc, "", root, 0, previousPath, f);
    }
    if (save && total > 0) om_DocSave(doc, "", -1, 1, 0, 0);
}
