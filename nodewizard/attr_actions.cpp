// Attribute actions not yet in this build: each refuses with NW_ACTION_NOT_BUILT and changes
// nothing.
#include "nodewizard/attr_actions.h"

NWActionError om_NWAttrAddValues(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &,
                                 const std::vector<std::string> &, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrRemoveValues(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &,
                                    const std::vector<std::string> &, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrReplaceValues(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &,
                                     const std::vector<std::string> &, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrDeleteValues(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrValueTextTransfer(F_ObjHandleT, F_ObjHandleT, std::vector<std::string>, IntT, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrRemoveInvalid(F_ObjHandleT, F_ObjHandleT, IntT) { return NW_ACTION_NOT_BUILT; }
NWActionError om_NWAttrSearchReplace(F_ObjHandleT, F_ObjHandleT, IntT, const std::string &, const std::string &) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrCopyToClipboard(F_ObjHandleT, F_ObjHandleT, IntT, IntT, F_ObjHandleT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrPasteClipboard(F_ObjHandleT, F_ObjHandleT, const std::string &, IntT, IntT, F_ObjHandleT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrTokenize(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &, IntT, IntT) {
    return NW_ACTION_NOT_BUILT;
}
NWActionError om_NWAttrSortValues(F_ObjHandleT, F_ObjHandleT, const std::vector<std::string> &, IntT, F_ObjHandleT,
                                  F_ObjHandleT) {
    return NW_ACTION_NOT_BUILT;
}
