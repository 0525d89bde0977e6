// Host values read into plug-in values (see host_values.h).
#include "lib/host/host_values.h"

#include <cstring>

std::string HostGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    StringT s = F_ApiGetString(docId, objId, prop);
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

std::vector<std::string> HostReadStrings(const F_StringsT &strs) {
    std::vector<std::string> out;
    if (!strs.val) return out;
    out.reserve(strs.len);
    for (UIntT i = 0; i < strs.len; ++i) out.emplace_back(strs.val[i] ? strs.val[i] : "");
    return out;
}

std::vector<std::string> HostTakeStrings(F_StringsT *strs) {
    std::vector<std::string> out = HostReadStrings(*strs);
    F_ApiDeallocateStrings(strs);
    return out;
}

F_StringsT HostNewStrings(const std::vector<std::string> &texts) {
    F_StringsT out{0, nullptr};
    out.val = static_cast<StringT *>(F_Alloc(static_cast<UIntT>(sizeof(StringT) * (texts.size() + 1)), NO_DSE));
    for (const std::string &t : texts) out.val[out.len++] = F_StrCopyString(t.c_str());
    return out;
}

std::string HostElementDefName(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_ObjHandleT def = F_ApiGetId(docId, elemId, FP_ElementDef);
    if (!def) return "";
    return HostGetString(docId, def, FP_Name);
}
