// The Node Wizard's attribute actions: each reads and rewrites the attribute values of one
// element and returns 0 or an NWActionError. om_NWPerformAttrAction chooses one from
// AttrActionCode and hands it the lists of the Node Wizard state; "{xpath-match}" in a names
// list stands for the attribute at attrIndex (-1: the query matched no attribute). The actions
// 49-53 (om_AttrCopyValues), 56, 61 (om_AttrAssignUniqueId) and 62 are run by the dispatcher
// itself. The transformation calls om_NWAttrAddValues directly.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard.h"

// 40 "Add specified values".
NWActionError om_NWAttrAddValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                 const std::vector<std::string> &values, IntT attrIndex);
// 41 "Remove specified values".
NWActionError om_NWAttrRemoveValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                    const std::vector<std::string> &values, IntT attrIndex);
// 42 "Replace values with spec" (and 62 with the script's value in place of values).
NWActionError om_NWAttrReplaceValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                     const std::vector<std::string> &values, IntT attrIndex);
// 43 "Delete all values".
NWActionError om_NWAttrDeleteValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                    IntT attrIndex);
// 44-47: value to element text (move, copy) and element text to value (move, copy); action is
// the code.
NWActionError om_NWAttrValueTextTransfer(F_ObjHandleT doc, F_ObjHandleT elem, std::vector<std::string> names,
                                         IntT action, IntT attrIndex);
// 48 "Remove invalid attribute" (the names come from ActionAttrNames).
NWActionError om_NWAttrRemoveInvalid(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex);
// 54 "Search and replace string": one search string and its replacement over the matched
// attribute's values; never fails. The dispatcher calls it for each (search, replace) pair.
NWActionError om_NWAttrSearchReplace(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, const std::string &search,
                                     const std::string &replace);
// 55 "Copy first value to CB" (firstOnly 1) and 57 "Copy all values to CB" (0).
NWActionError om_NWAttrCopyToClipboard(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, IntT firstOnly,
                                       F_ObjHandleT scriptsDoc);
// 58, 59, 60: paste the clipboard over (mode 3), at the beginning of (1) or at the end of (2)
// the attribute named name ("" for the matched attribute).
NWActionError om_NWAttrPasteClipboard(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name, IntT attrIndex,
                                      IntT mode, F_ObjHandleT scriptsDoc);
// 63 "Detokenize values" (detokenize 1) and 64 "Tokenize values" (0).
NWActionError om_NWAttrTokenize(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                IntT attrIndex, IntT detokenize);
// 65 "Sort values".
NWActionError om_NWAttrSortValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                  IntT attrIndex, F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem);

// The result of an attribute action whose body is not in this build yet: a failure without a
// message of its own.
inline constexpr NWActionError NW_ACTION_NOT_BUILT = 1;
