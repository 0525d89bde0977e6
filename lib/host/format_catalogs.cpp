// The document's catalogs of colours and conditions: the colour names, and which conditions show.
#include "lib/host/format_catalogs.h"

#include <string>
#include <vector>

#include "lib/globals.h"
#include "lib/host/host_values.h"

namespace {

constexpr int kStepLimit = 10000000;

}  // namespace

IntT om_DocColorNames(F_ObjHandleT docId, IntT objType, F_StringsT *out) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!docId || objType != FO_Color || !out) return -1;
    std::vector<std::string> names;
    int steps = 0;
    for (F_ObjHandleT c = F_ApiGetId(0, docId, FP_FirstColorInDoc); c && steps < kStepLimit;
         c = F_ApiGetId(docId, c, FP_NextColorInDoc), ++steps)
        names.push_back(HostGetString(docId, c, FP_Name));
    out->len = static_cast<UIntT>(names.size());
    out->val = static_cast<StringT *>(F_Alloc(static_cast<UIntT>(names.size() * sizeof(StringT)), NO_DSE));
    for (size_t i = 0; i < names.size(); ++i) out->val[i] = F_StrCopyString(names[i].c_str());
    return static_cast<IntT>(names.size());
}

IntT om_CondShowHide(F_ObjHandleT docId, const std::vector<std::string> &names, IntT mode) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ApiSetInt(0, docId, FP_ShowAll, 0);
    for (const std::string &n : names)
        if (F_ObjHandleT c = F_ApiGetNamedObject(docId, FO_CondFmt, n.c_str()))
            F_ApiSetInt(docId, c, FP_CondFmtIsShown, mode == 1 ? 1 : 0);
    return 1;
}
