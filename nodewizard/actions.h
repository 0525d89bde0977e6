// Folder nodewizard: the Node Wizard, its queries, actions, dialogs and the Node Wizard Scripts.
// It uses fdk.h, the whole library (lib/) and the engine (xpath/); never transform/ or plugin/.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: action_batch actions history scripts_doc
//   2: clipboard compiled_query element_actions vocabulary
//   3: attr_actions dialogs error_report
//   4: script_values
//   5: dispatch script_other_actions
//   6: query_runs script_reader
//   7: script_interpreter
//   8: script_runs
//   9: script_events scripts_palette
//
// The Node Wizard's action vocabulary (codes, names, help) and the two per-node entry points
// every caller uses: the Node Wizard buttons, Perform Action(s) On All and the scripts. The entry
// points check their arguments, run the current element or attribute action of the Node Wizard
// state on one node, count successes and failures, write failures to the error report and keep
// the "Attempted actions" line of the status box up to date.
#pragma once

#include <functional>
#include <string>

#include "fdk.h"
#include "lib/state/nodewizard.h"
#include "xpath/node_table.h"

// The element action whose name equals the text (case ignored); NW_ACTION_UNKNOWN when none does.
NWElementAction om_NWElemActionCode(const std::string &name);
// The name of an element action: codes 2-22 their own, every other code "None".
std::string om_NWElemActionName(NWElementAction code);
// The attribute action whose name equals the text (case ignored); NW_ACTION_UNKNOWN when none does.
NWAttrAction om_NWAttrActionCode(const std::string &name);
// The name of an attribute action: codes 40-54 and 61 their own, every other code "None".
std::string om_NWAttrActionName(NWAttrAction code);
// 1 for the element actions that leave the node's attributes out of reach (unwrap, promote,
// demote, delete, paste over the element): the attribute action is not run with them.
bool om_NWElemActionEndsAttrActions(NWElementAction code);
// Shows the help of an element or attribute action (NW_HELP_ERROR for a code without help).
void om_NWShowActionHelp(IntT code);

// What a script's action gives the actions only scripts have, as the script read it: the parameter
// name of 24 and 56 (the action element's own text, trimmed), the value of 26 and 62 (its value
// source, worked out when the action runs) and the value sort options of 65 (direction 1 or 2,
// kind 10, 11 or 12).
struct NWScriptOperands {
    std::string name;
    std::function<std::string()> value;
    int sortDirection = 1, sortKind = 10;
};

// The current element action on the node (0: the element at the document's selection).
// scriptsDoc and script are 0 for the dialogs; the script-only actions read them.
NWActionError om_NWPerformElemAction(F_ObjHandleT doc, F_ObjHandleT node, F_ObjHandleT scriptsDoc,
                                     const NWScriptOperands *script);
// The same on a node the caller has just found there (om_ElementHasContent answered 1, and nothing
// was done to the document since): the node is not looked for again.
NWActionError om_NWPerformElemActionOnFound(F_ObjHandleT doc, F_ObjHandleT node, const NWScriptOperands *script);
// The current attribute action on the node; attrIndex is the matched attribute (-1 none, below
// -1: the last match of the compiled query); with selectFlag a successful node is selected.
NWActionError om_NWPerformAttrAction(F_ObjHandleT doc, F_ObjHandleT node, IntT attrIndex, F_ObjHandleT scriptsDoc,
                                     const NWScriptOperands *script, IntT selectFlag);

// The compiled query of the last run when the node table still holds it under its number, else
// 0 (a node-table reset invalidates every number). Once found there, it is not looked for again
// until the number changes or the table is emptied.
IntT om_NWLookUpCompiledSequence();
inline IntT om_NWCompiledSequence() {
    IntT seq = NodeWizardRun.sequence;
    if (seq != 0 && seq == NodeWizardRun.checkedSequence && NodeWizardRun.checkedEmptied == XPathNodeTableEmptied)
        return seq;
    return om_NWLookUpCompiledSequence();
}
// Records a freshly compiled query as the last run's.
void om_NWSetCompiledSequence(IntT sequence);
