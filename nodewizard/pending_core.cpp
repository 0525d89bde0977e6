// Stand-ins for the per-node dispatch and the query runs until those land.
#include "nodewizard/pending_core.h"

#include <cstring>

#include "lib/strings/heapstr.h"

namespace {
const char *const kElem[] = {"None", "Retag as", "Wrap element in", "Wrap contents in", "Unwrap", "Promote",
                             "Demote", "Delete element", "Delete contents", "Assign conditions",
                             "Paste CB over elem", "Move up", "Move down", "Paste CB over contents",
                             "Paste CB at beginning", "Paste CB at end", "Paste CB before", "Paste CB after",
                             "Insert elem before", "Insert elem after", "Insert first child", "Insert last child"};
const char *const kAttr[] = {"Add specified values", "Remove specified values", "Replace values with spec",
                             "Delete all values", "Move value to elem text", "Copy value to elem text",
                             "Move elem text to value", "Copy elem text to value", "Remove invalid attribute",
                             "Move values to spec attr", "Copy values to spec attr", "Move values from spec attr",
                             "Copy values from spec attr", "Swap values with spec attr", "Search and replace string"};
}  // namespace

IntT om_NWElemActionCode(ConStringT name) {
    for (int i = 0; i < 22; ++i)
        if (name && F_StrICmp(name, kElem[i]) == 0) return i + 1;
    return 315;
}
IntT om_NWAttrActionCode(ConStringT name) {
    if (!name || !*name) return 315;
    if (F_StrICmp(name, "None") == 0) return 1;
    if (F_StrICmp(name, "Set unique ID") == 0) return 61;
    for (int i = 0; i < 15; ++i)
        if (F_StrICmp(name, kAttr[i]) == 0) return i + 40;
    return 315;
}
StringT om_NWElemActionName(IntT code) { return om_StrCopy(code >= 2 && code <= 22 ? kElem[code - 1] : "None"); }
StringT om_NWAttrActionName(IntT code) {
    if (code == 61) return om_StrCopy("Set unique ID");
    return om_StrCopy(code >= 40 && code <= 54 ? kAttr[code - 40] : "None");
}
void om_NWShowActionHelp(IntT) {}
IntT om_NWRunQuery(IntT) { return 0; }
F_ObjHandleT om_NWMatchNextOrPerform(IntT) { return 0; }
