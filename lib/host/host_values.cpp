// Host values read into plug-in values (see host_values.h).
#include "lib/host/host_values.h"

#include <cstring>

#include "lib/globals.h"

std::string HostGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    StringT s = F_ApiGetString(docId, objId, prop);
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

std::string HostElementDefName(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_ObjHandleT def = F_ApiGetId(docId, elemId, FP_ElementDef);
    if (!def) return "";
    return HostGetString(docId, def, FP_Name);
}

bool HostHaveDocAndObject(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return false;
    }
    if (!objId) {
        StatusCode = StatusNoObject;
        return false;
    }
    return true;
}
