// The per-node entry points of the Node Wizard: argument checks, the element and attribute
// action tables, counting, reporting and the "Attempted actions" line of the status box.
#include <string>
#include <utility>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/host/attributes.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_ops.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "nodewizard/action_batch.h"
#include "nodewizard/actions.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/element_actions.h"
#include "nodewizard/error_report.h"
#include "nodewizard/script_values.h"
#include "nodewizard/scripts_doc.h"
#include "resources/dialog_items.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

namespace {

// Ids carry their kind: telling a flow from an element needs no call.
bool IsFlow(F_ObjHandleT, F_ObjHandleT node) { return F_OBJ_KIND(node) == FO_Flow; }

bool IsOpenDocOrBook(F_ObjHandleT doc) { return om_NWOpenDocOrBookKind(doc) != 0; }

// A stored name that holds no name (empty or the empty-value placeholder).
bool NoName(const std::string &name) { return name.empty() || name == EmptySentinel; }

// The status line cadence: every action below 250, every 10th and 25th below 1000, then every 25th.
bool StatusLineDue(UIntT n) {
    if (n < 250) return true;
    if (n < 1000) return n % 10 == 0 || n % 25 == 0;
    return n % 25 == 0;
}

// The status line's label, worked out at the first count of a run and kept for the rest of it,
// and the line, built in a string that keeps its room.
std::string attemptPrefix, attemptLine;
const char *attemptLabel = nullptr;
bool attemptTranslated = false;

// The status line's label of the current run.
[[maybe_unused]] const bool resetAttemptedActionsLine =
    om_RunStateRegister("attempted-actions line", RunStateKind::Run, [] {
        attemptPrefix.clear();
        attemptLine.clear();
        attemptLabel = nullptr;
        attemptTranslated = false;
    });

// Rewrites the status box's third line with the label and the count of attempted actions.
[[gnu::noinline]] void ShowAttempts(const char *label, bool translate) {
    if (AttemptedActions == 1 || label != attemptLabel || translate != attemptTranslated) {
        attemptPrefix =
            "  " + (translate ? qv::LangTranslate("Quorvane - Node Wizard", label, false, 0) : label) + "  ";
        attemptLabel = label;
        attemptTranslated = translate;
    }
    attemptLine.assign(attemptPrefix).append(std::to_string(AttemptedActions));
    om_DlgSetStatusLines("*", "*", attemptLine.c_str(), "*");
}

// Counts one attempted action and, when due, rewrites the status box's third line with the label
// (translated through the Node Wizard's table when asked).
inline void CountAttempt(const char *label, bool translate) {
    ++AttemptedActions;
    if (StatusLineDue(AttemptedActions)) ShowAttempts(label, translate);
}

// The parameter name a script-only action names ("" without a script).
std::string ScriptName(const NWScriptOperands *script) { return script ? script->name : std::string(); }

// The value a script-only action sets (the invalid-setup text without a script or a value source).
std::string ScriptValue(const NWScriptOperands *script) {
    return script && script->value ? script->value() : std::string(kNWSInvalidSetup);
}

// Runs one element action; the result code (0 success).
NWActionError RunElementAction(F_ObjHandleT doc, F_ObjHandleT node, NWElementAction action,
                               const NWScriptOperands *script) {
    switch (action) {
    case NWElem::Retag: return om_NWRetagElement(doc, node, NodeWizardRun.retagName);
    case NWElem::Wrap: return om_NWWrapElement(doc, node, WrapElementName, 0);
    case NWElem::WrapContents: return om_NWWrapElement(doc, node, WrapElementName, 1);
    case NWElem::Unwrap: return om_NWUnwrapElement(doc, node);
    case NWElem::Promote: return om_NWPromoteElement(doc, node);
    case NWElem::Demote: return om_NWDemoteElement(doc, node);
    case NWElem::Delete: {
        StatusCode = 0;
        if (om_ElementDeleteByKind(doc, node)) return 0;
        return StatusCode ? StatusCode : NWResult::Unchanged;
    }
    case NWElem::DeleteContents:
        if (IsFlow(doc, node)) om_NWFlowDeleteContents(doc, node);
        else om_ElementDeleteContents(doc, node);
        return 0;
    case NWElem::AssignConditions: return om_NWAssignConditions(doc, node, ActionConditions);
    case NWElem::PasteOver: case NWElem::PasteOverContents: case NWElem::PasteAtStart: case NWElem::PasteAtEnd:
    case NWElem::PasteBefore: case NWElem::PasteAfter:
        return om_NWPasteAtElement(doc, node, action);
    case NWElem::MoveUp: return om_NWMoveElement(doc, node, 1);
    case NWElem::MoveDown: return om_NWMoveElement(doc, node, 2);
    case NWElem::InsertBefore: case NWElem::InsertAfter: case NWElem::InsertFirstChild:
    case NWElem::InsertLastChild: {
        IntT made = om_NWInsertElement(doc, node, NodeWizardOptions.insertName, action);
        if (made == 0) return NWResult::Unchanged;  // nothing was made
        return made < kNWFirstInsertedId ? made : 0;
    }
    case NWElem::CopyContents:
        if (om_ElementIsEmpty(doc, node)) {
            ClipboardEmpty = 1;
            return 0;
        }
        ClipboardEmpty = 0;
        ClipboardReload = 1;
        om_ElementSelect(doc, node, LocContent);
        F_ApiCopy(doc, 0);
        return 0;
    case NWElem::CopyTextToParameter: {
        std::string name = ScriptName(script);
        if (name.empty()) return NWResult::EmptyParameterName;
        om_XPathSetParameter(name, om_ElementText(doc, node, 1, 2056, 0, 0));
        return 0;
    }
    case NWElem::Copy:
        ClipboardEmpty = 0;
        ClipboardReload = 1;
        om_ElementSelect(doc, node, LocElement);
        F_ApiCopy(doc, 0);
        return 0;
    case NWElem::SetText: {
        IntT kind = F_ApiGetInt(doc, node, FP_ElementType);
        if (kind != FV_FO_CONTAINER && kind != FV_FO_TBL_CELL) return NWResult::TextNotSettable;
        std::string value = ScriptValue(script);
        om_ElementDeleteContents(doc, node);
        if (!value.empty()) om_ElementInsertText(doc, node, value, LocContent);
        return 0;
    }
    default:
        return 0;  // an unknown action and codes outside the table do nothing
    }
}

// Runs one attribute action; the result code (0 success).
NWActionError RunAttrAction(F_ObjHandleT doc, F_ObjHandleT node, IntT index, F_ObjHandleT scriptsDoc,
                            const NWScriptOperands *script) {
    const std::vector<std::string> &names = ActionAttrNames;
    switch (AttrActionCode) {
    case NWAttr::AddValues: return om_NWAttrAddValues(doc, node, names, ActionAttrValues, index);
    case NWAttr::RemoveValues: return om_NWAttrRemoveValues(doc, node, names, ActionAttrValues, index);
    case NWAttr::ReplaceValues: return om_NWAttrReplaceValues(doc, node, names, ActionAttrValues, index);
    case NWAttr::DeleteValues: return om_NWAttrDeleteValues(doc, node, names, index);
    case NWAttr::MoveValueToText: case NWAttr::CopyValueToText: case NWAttr::MoveTextToValue:
    case NWAttr::CopyTextToValue:
        return om_NWAttrValueTextTransfer(doc, node, names, AttrActionCode, index);
    case NWAttr::RemoveInvalid: return om_NWAttrRemoveInvalid(doc, node, index);
    case NWAttr::MoveValuesToNamed: case NWAttr::CopyValuesToNamed: case NWAttr::MoveValuesFromNamed:
    case NWAttr::CopyValuesFromNamed: case NWAttr::SwapValuesWithNamed: {
        // To and swap: from the matched attribute to the named one; from: the other way.
        // om_AttrCopyValues's operation: 1 move, 2 copy, 3 swap.
        const std::string first = names.empty() ? "" : names.front();
        bool move = AttrActionCode == NWAttr::MoveValuesToNamed || AttrActionCode == NWAttr::MoveValuesFromNamed;
        IntT op = move ? 1 : AttrActionCode == NWAttr::SwapValuesWithNamed ? 3 : 2;
        bool fromMatched =
            AttrActionCode != NWAttr::MoveValuesFromNamed && AttrActionCode != NWAttr::CopyValuesFromNamed;
        om_AttrCopyValues(doc, node, fromMatched ? "" : first, fromMatched ? index : -1, fromMatched ? first : "",
                          fromMatched ? -1 : index, op);
        return StatusCode == StatusNoSuchAttribute ? NWResult::AttrNotFound : 0;
    }
    case NWAttr::SearchReplace:
        for (size_t i = 0; i < names.size(); ++i)
            om_NWAttrSearchReplace(doc, node, index, names[i], i < ActionAttrValues.size() ? ActionAttrValues[i] : "");
        return 0;
    case NWAttr::CopyFirstValue: return om_NWAttrCopyToClipboard(doc, node, index, 1, scriptsDoc);
    case NWAttr::CopyAllValues: return om_NWAttrCopyToClipboard(doc, node, index, 0, scriptsDoc);
    case NWAttr::CopyFirstValueToParameter: {
        std::string name = ScriptName(script);
        if (name.empty()) return NWResult::EmptyParameterName;
        std::string value;
        if (index >= 0) om_AttrGetValueAt(doc, node, index, &value);
        om_XPathSetParameter(name, value);
        return 0;
    }
    case NWAttr::PasteOverMatched: return om_NWAttrPasteClipboard(doc, node, "", index, 3, scriptsDoc);
    case NWAttr::PasteAtMatchedStart: return om_NWAttrPasteClipboard(doc, node, "", index, 1, scriptsDoc);
    case NWAttr::PasteAtMatchedEnd: return om_NWAttrPasteClipboard(doc, node, "", index, 2, scriptsDoc);
    case NWAttr::SetUniqueId: return om_NWAttrSetUniqueId(doc, node);
    case NWAttr::SetValue: {
        // The resolved value stands in for the action's values during this action only.
        std::vector<std::string> saved =
            std::exchange(ActionAttrValues, {ScriptValue(script)});
        NWActionError result = om_NWAttrReplaceValues(doc, node, names, ActionAttrValues, index);
        ActionAttrValues = std::move(saved);
        return result;
    }
    case NWAttr::Detokenize: return om_NWAttrTokenize(doc, node, names, index, 1);
    case NWAttr::Tokenize: return om_NWAttrTokenize(doc, node, names, index, 0);
    case NWAttr::SortValues:
        return script ? om_NWAttrSortValuesBy(doc, node, names, index, script->sortDirection, script->sortKind)
                      : om_NWAttrSortValues(doc, node, names, index, scriptsDoc, 0);
    default:
        return 0;
    }
}

// The attribute index of the compiled query's last match (-1 when there is none).
IntT LastMatchedAttribute() {
    IntT seq = om_NWCompiledSequence();
    return seq ? om_XPathRec(seq).groupAttr : -1;
}

// 1 when the compiled query's last step is on the attribute axis.
bool QueryEndsOnAttribute() {
    IntT seq = om_NWCompiledSequence();
    IntT last = seq ? om_XPathLastStep(seq) : 0;
    return last && om_XPathRec(last).axis == XA_ATTRIBUTE;
}

// The current element action on the node (see om_NWPerformElemAction); with found, the caller
// has just found the node there and it is not looked for again.
NWActionError PerformElemAction(F_ObjHandleT doc, F_ObjHandleT node, const NWScriptOperands *script, bool found) {
    if (!found) {
        if (doc && !node) node = om_ElementAtSelection(doc);
        if (!doc) return NWResult::NoDocument;
        if (!node) return NWResult::NoNode;
    }
    bool flow = IsFlow(doc, node);
    NWElementAction action = NodeWizardQuery.elementAction;
    NWActionError result;
    if (!found && !flow && action == NWElem::Retag) {
        // The host refuses to retag a node that is no element of the document or has no
        // definition, and every node it retags has content: the content check is needed only
        // to tell which failure comes first, so a retag that works goes without it.
        result = IsOpenDocOrBook(doc) ? om_NWRetagElement(doc, node, NodeWizardRun.retagName) : NWResult::NoTarget;
        if (result && !om_ElementHasContent(doc, node)) return NWResult::NoNode;
    } else {
        if (!found && (flow ? F_ApiGetObjectType(doc, node) != FO_Flow : !om_ElementHasContent(doc, node)))
            return NWResult::NoNode;
        if (action == NWElem::None) return 0;
        if (flow && action != NWElem::WrapContents && action != NWElem::DeleteContents) result = NWResult::NotOnFlow;
        else if (!IsOpenDocOrBook(doc)) result = NWResult::NoTarget;
        else result = RunElementAction(doc, node, action, script);
    }

    if (result) {
        ++NodeWizardQuery.elemFailures;
        if (NodeWizardOptions.reportElemErrors == 1) {
            std::string name;
            if (action >= NWElem::InsertBefore && action <= NWElem::InsertLastChild)
                name = NoName(NodeWizardOptions.insertName) ? kNWEmptyTagName : NodeWizardOptions.insertName;
            om_NWReportActionError(doc, node, name, result, NWReportKind::Element);
        }
    } else {
        ++NodeWizardRun.elemSuccesses;
    }
    CountAttempt("Attempted actions:", true);
    return result;
}

}  // namespace

NWActionError om_NWPerformElemAction(F_ObjHandleT doc, F_ObjHandleT node, F_ObjHandleT,
                                     const NWScriptOperands *script) {
    return PerformElemAction(doc, node, script, false);
}

NWActionError om_NWPerformElemActionOnFound(F_ObjHandleT doc, F_ObjHandleT node, const NWScriptOperands *script) {
    return PerformElemAction(doc, node, script, true);
}

NWActionError om_NWPerformAttrAction(F_ObjHandleT doc, F_ObjHandleT node, IntT attrIndex, F_ObjHandleT scriptsDoc,
                                     const NWScriptOperands *script, IntT selectFlag) {
    if (doc && !node) node = om_ElementAtSelection(doc);
    if (!doc) return NWResult::NoDocument;
    if (!node || !om_ElementHasContent(doc, node)) return NWResult::NoNode;
    if (AttrActionCode == NWAttr::None) return 0;
    if (ActionAttrNames.empty() && AttrActionCode != NWAttr::SearchReplace && AttrActionCode != NWAttr::SetUniqueId) {
        if (!QueryEndsOnAttribute()) return 0;
        ActionAttrNames = {NW_XPATH_MATCH};
        if (F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard]) {
            StringT entry = const_cast<StringT>(NW_XPATH_MATCH);
            F_StringsT list{1, &entry};
            om_DlgSetLabelsUnchecked(dlg, NWItem::AttrNames, &list);
        }
    }
    bool matchedOnly = !ActionAttrNames.empty() && ActionAttrNames.front() == NW_XPATH_MATCH;
    if (matchedOnly && AttrActionCode >= NWAttr::MoveValuesToNamed && AttrActionCode <= NWAttr::SwapValuesWithNamed)
        return 0;
    if (attrIndex < -1) attrIndex = LastMatchedAttribute();

    // Only the clipboard actions go through the scripts document's scratch pad: the others neither
    // open it nor look for it.
    if (!scriptsDoc && AttrActionCode >= NWAttr::CopyFirstValue && AttrActionCode <= NWAttr::PasteAtMatchedEnd)
        scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    NWActionError result = IsOpenDocOrBook(doc) ? RunAttrAction(doc, node, attrIndex, scriptsDoc, script)
                                                         : NWResult::NoTarget;

    if (result) {
        ++NodeWizardQuery.attrFailures;
        if (NodeWizardOptions.reportAttrErrors == 1)
            om_NWReportActionError(doc, node, "", result, NWReportKind::Attribute);
    } else {
        ++NodeWizardRun.attrSuccesses;
        if (selectFlag) om_ElementSelect(doc, node, LocElement);
    }
    CountAttempt("Attempted actions:", false);
    return result;
}
