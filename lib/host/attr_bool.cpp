// A boolean setting read from an element: an attribute value by name or by index, or the
// element's own text, read as a boolean word (see attr_bool.h).
#include "lib/host/attr_bool.h"

#include <string>

#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/keyvalue.h"

// om_StrToBool of the attribute value read by name, by index (empty name, index 0 or more), or
// of the element's first five characters of text (empty name, negative index). A value that
// cannot be read gives the default: the failed-read text would otherwise read as "true".
IntT om_AttrGetBool(F_ObjHandleT docId, F_ObjHandleT elemId, ConStringT name, IntT index, IntT def) {
    std::string value;
    if (!qv::View(name).empty()) {
        if (om_AttrGetValue(docId, elemId, name, &value) < 0 || value == ErrorSentinel) return def;
    } else if (index >= 0) {
        if (!om_AttrGetValueAt(docId, elemId, index, &value)) return def;
    } else {
        value = om_ElementText(docId, elemId, 1, 5, 0, 0);
    }
    return om_StrToBool(value.c_str(), def);
}
