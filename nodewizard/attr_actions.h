// The Node Wizard's attribute actions: each reads the attribute values of one element once,
// edits its own copy and hands the whole list back to the host when something changed, and
// returns 0 or an NWActionError. om_NWPerformAttrAction chooses one from AttrActionCode and hands
// it the lists of the Node Wizard state. The actions 49-53 (om_AttrCopyValues), 56 and 62 are run
// by the dispatcher itself. The transformation calls om_NWAttrAddValues directly.
//
// Attribute names: "{xpath-match}" (compared ignoring case) stands for the attribute at
// attrIndex, the attribute the query matched; an index below 0, or at or past the element's
// attribute list, means that there is none. Any other name is the last attribute of that exact
// name on the element.
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
                                         NWAttrAction action, IntT attrIndex);
// 48 "Remove invalid attribute" with the names of ActionAttrNames, lowering the attribute cursor
// of the Node Wizard's compiled query.
NWActionError om_NWAttrRemoveInvalid(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex);
// The same over given names; with a matched attribute the attribute cursor of the last step of
// the compiled expression sequence goes back by the removals at or before it (below -1: 1000,
// past every attribute).
NWActionError om_NWAttrRemoveInvalidNamed(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                          IntT attrIndex, IntT sequence);
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
// 61 "Set unique ID": a fresh ID in the element's unique-ID attribute when it is empty;
// NoUniqueId when nothing was written. The IDs of the element's flow are gathered once per batch.
NWActionError om_NWAttrSetUniqueId(F_ObjHandleT doc, F_ObjHandleT elem);
// Forgets the IDs gathered by om_NWAttrSetUniqueId (a batch of actions begins).
void om_NWAttrForgetUniqueIds();
// 63 "Detokenize values" (detokenize 1) and 64 "Tokenize values" (0).
NWActionError om_NWAttrTokenize(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                IntT attrIndex, IntT detokenize);
// 65 "Sort values".
NWActionError om_NWAttrSortValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                  IntT attrIndex, F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem);
