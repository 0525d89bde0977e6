// The Node Wizard's attribute actions: what each of them does to the attribute values of one
// element. Each reads the element's attribute list once, edits its own copy and hands the whole
// list back to the host when something changed; each answers 0 or a result code that the
// per-node dispatcher counts and reports.
//
// Attribute names: the entry "{xpath-match}" (compared ignoring case) stands for the attribute at
// the matched attribute index; an index below 0 or at or past the element's attribute list means
// that there is no matched attribute. Any other name is the last attribute of that exact name.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

using NWNames = std::vector<std::string>;

// Result codes of the attribute actions.
enum NWAttrResult : IntT {
    NWAttrOk = 0,
    NWAttrNoDocument = 200,
    NWAttrNoElement = 201,
    NWAttrPasteFailed = 309,      // paste: no matched attribute
    NWAttrNoAttributes = 311,     // the element has no attributes at all
    NWAttrNotFound = 312,         // a named attribute is not on the element
    NWAttrValuePresent = 313,     // add: the value is already there
    NWAttrValueAbsent = 314,      // remove: the value is not there
    NWAttrDeclared = 323,         // remove invalid: the definition declares it
    NWAttrNoMatchedAttr = 324,    // remove invalid: no matched attribute
    NWAttrClipboardFailed = 325,  // copy to the clipboard failed
    NWAttrNoUniqueId = 326,       // set unique ID wrote nothing
    NWAttrNoParameterName = 612,  // copy to parameter: the action names no parameter
};

// The name standing for the attribute the query matched.
inline constexpr const char *kXPathMatchName = "{xpath-match}";

// ---- the actions (codes 40 to 65) ----
IntT om_NWAttrAddValues(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, const NWNames &values,
                        IntT attrIndex);
IntT om_NWAttrRemoveValues(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, const NWNames &values,
                           IntT attrIndex);
IntT om_NWAttrReplaceValues(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, const NWNames &values,
                            IntT attrIndex);
IntT om_NWAttrDeleteValues(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, IntT attrIndex);
// Actions 44 (move value to text), 45 (copy value to text), 46 (move text to value) and 47 (copy
// text to value).
IntT om_NWAttrValueTextTransfer(F_ObjHandleT doc, F_ObjHandleT elem, NWNames names, IntT action, IntT attrIndex);
// Removes the named attributes the element's definition does not declare; with a matched
// attribute, lowers the attribute cursor of the compiled query's last step (sequence) by the
// removals at or before it.
IntT om_NWAttrRemoveInvalid(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, IntT attrIndex,
                            IntT sequence);
// Actions 49 to 53: values to, from and swapped with the attribute called name.
IntT om_NWAttrSpecAttrTransfer(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name, IntT attrIndex,
                               IntT action);
// Action 54 over every pair (search string i, replace string i); fewer replace strings than
// search strings count as "".
IntT om_NWAttrSearchReplace(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, const NWNames &search,
                            const NWNames &replace);
// Actions 55 (first value only) and 57.
IntT om_NWAttrCopyToClipboard(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, IntT firstOnly,
                              F_ObjHandleT scriptsDoc);
// Action 56: the matched attribute's first value becomes the value of the XPath parameter that
// the script action element names.
IntT om_NWAttrCopyToParameter(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, F_ObjHandleT scriptsDoc,
                              F_ObjHandleT actionElem);
// Actions 58 (mode 3), 59 (mode 1) and 60 (mode 2).
IntT om_NWAttrPasteClipboard(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &unused, IntT attrIndex,
                             IntT mode, F_ObjHandleT scriptsDoc);
// Action 61.
IntT om_NWAttrSetUniqueId(F_ObjHandleT doc, F_ObjHandleT elem);
// Actions 63 (detokenize 1) and 64 (tokenize 0).
IntT om_NWAttrTokenize(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, IntT attrIndex, IntT detokenize);
// Action 65.
IntT om_NWAttrSortValues(F_ObjHandleT doc, F_ObjHandleT elem, const NWNames &names, IntT attrIndex,
                         F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem);

// Forgets the unique IDs gathered for Set unique ID (a batch of actions begins).
void om_NWAttrForgetUniqueIds();
