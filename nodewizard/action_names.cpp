// The action vocabulary as C++ values, over the name lookups of the per-node dispatch.
#include "nodewizard/action_names.h"

#include "lib/strings/heapstr.h"
#include "nodewizard/pending_core.h"

IntT ElemActionCodeOf(const std::string &name) { return om_NWElemActionCode(name.c_str()); }
IntT AttrActionCodeOf(const std::string &name) { return om_NWAttrActionCode(name.c_str()); }

std::string ElemActionNameOf(IntT code) {
    StringT s = om_NWElemActionName(code);
    std::string out(qv::View(s));
    om_StrFree(&s);
    return out;
}

std::string AttrActionNameOf(IntT code) {
    StringT s = om_NWAttrActionName(code);
    std::string out(qv::View(s));
    om_StrFree(&s);
    return out;
}
