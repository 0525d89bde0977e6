// Query runs of the Node Wizard and the XPath Quick Finder (see query_runs.h).
#include "nodewizard/query_runs.h"

#include <strings.h>

#include <string>
#include <utility>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/client_calls.h"
#include "lib/shell_records.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/msgformat.h"
#include "lib/translation/lang.h"
#include "nodewizard/action_batch.h"
#include "nodewizard/actions.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/history.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

namespace {

const char *const kNWTable = "Quorvane - Node Wizard";

// Node Wizard items and their Quick Finder counterparts (0: none there).
struct DialogItem {
    IntT wizard, finder;
};
constexpr DialogItem kPrevious{NWItem::PreviousMatch, QFItem::PreviousMatch}, kNext{NWItem::NextMatch, QFItem::NextMatch},
    kJump{NWItem::JumpToMatch, QFItem::JumpToMatch}, kMatchNext{NWItem::MatchNext, QFItem::MatchNext},
    kPerformNext{NWItem::PerformAndMatchNext, 0};

void SetEnabled(DialogItem item, bool on) {
    if (F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard]) (on ? om_DlgEnable : om_DlgDisable)(dlg, item.wizard);
    if (F_ObjHandleT dlg = DialogHandles[kDlgQuickFinder]; dlg && item.finder)
        (on ? om_DlgEnable : om_DlgDisable)(dlg, item.finder);
}

void SetMatchNextEnabled(bool on) {
    SetEnabled(kMatchNext, on);
    SetEnabled(kPerformNext, on);
}

std::string Taken(StringT s) {
    std::string out = s ? s : "";
    om_StrFree(&s);
    return out;
}

std::vector<std::string> TakenList(F_StringsT list) {
    std::vector<std::string> out = qv::ReadStrings(&list);
    F_ApiDeallocateStrings(&list);
    return out;
}

// The first flow after `flow` (the document's first flow when flow is 0) that has a
// highest-level element; 0 when none. root receives that element.
F_ObjHandleT NextStructuredFlow(F_ObjHandleT doc, F_ObjHandleT flow, F_ObjHandleT *root) {
    F_ObjHandleT f = flow ? F_ApiGetId(doc, flow, FP_NextFlowInDoc) : F_ApiGetId(0, doc, FP_FirstFlowInDoc);
    for (size_t steps = 0; f && steps < 100000; ++steps, f = F_ApiGetId(doc, f, FP_NextFlowInDoc)) {
        if (F_ObjHandleT r = F_ApiGetId(doc, f, FP_HighestLevelElement)) {
            *root = r;
            return f;
        }
    }
    *root = 0;
    return 0;
}

// Shows a match and, with the preference, makes its document the active one, in front.
void ShowMatch(F_ObjHandleT doc, F_ObjHandleT match) {
    om_DocGoToObject(doc, match);
    if (!NodeWizardOptions.focusAfterMatch) return;
    F_ApiSetId(0, 0, om_BookIsId(doc) ? FP_ActiveBook : FP_ActiveDoc, doc);
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
}

void RefreshAttributeEditor() {
    if (NodeWizardPrompts.refreshAttrEditor) om_CallClient("OM_Lattiform", "RefreshModelessAttrEditor", 1);
}

bool NoMatchMessage(F_ObjHandleT queryDoc) {
    if (queryDoc) F_ApiSetInt(0, queryDoc, FP_IsInFront, 1);
    SetMatchNextEnabled(false);
    al_ok2("NW_GEN_MSG_14");
    return true;
}

// A script may have left the clipboard flags set; the dialogs paste what the clipboard holds.
void ResetClipboardFlags() {
    ClipboardEmpty = 0;
    ClipboardReload = 1;
}

// The list a run collects its matches in. A run borrows the list the last run gave back, with
// the room it grew to, so that a run over many matches does not grow it from nothing each time;
// a run that starts while another holds it (from an action) gets an empty one.
std::vector<Match> spareMatches;

// An empty list kept only for its room, for the next run.
[[maybe_unused]] const bool resetSpareMatchLists = om_RunStateRegister("spare match lists", RunStateKind::Run, [] {
    spareMatches = std::vector<Match>{};
});

struct BorrowedMatches {
    std::vector<Match> list = std::exchange(spareMatches, std::vector<Match>{});
    BorrowedMatches() = default;
    ~BorrowedMatches() {
        list.clear();
        spareMatches = std::move(list);
    }
    BorrowedMatches(const BorrowedMatches &) = delete;
    BorrowedMatches &operator=(const BorrowedMatches &) = delete;
};

// The "Attempted actions" progress line of Perform Action(s) On All is rewritten for every
// match up to 99, then every 10th up to 499 and every 25th after that.
bool ProgressLineDue(size_t i) { return i < 100 || (i < 500 && i % 10 == 0) || (i >= 500 && i % 25 == 0); }

// Perform Action(s) On All over the matches found.
void PerformOnAll(const std::vector<Match> &matches) {
    // The selection is kept as the element range: the same selection as the text range, without
    // laying out the whole document before the actions change it.
    const F_ObjHandleT firstDoc = matches[0].doc;
    F_ElementRangeT saved = F_ApiGetElementRange(0, firstDoc, FP_ElementSelection);
    om_DlgOpenStatus(kDlgStatusBox, "Processing...", 0, kNWTable);
    om_DlgSetStatusLines("Performing actions... please wait", "", "", "Press Esc to cancel");
    SetMatchNextEnabled(false);
    MatchList.clear();
    if (!om_NWIsListBreaking(NodeWizardQuery.elementAction)) MatchList.matches = matches;
    NodeWizardRun.elemSuccesses = NodeWizardQuery.elemFailures = 0;
    NodeWizardRun.attrSuccesses = NodeWizardQuery.attrFailures = 0;
    NodeWizardRun.componentsProcessed = NodeWizardQuery.componentsNotOpened = 0;
    AttemptedActions = 0;
    om_NWAttrForgetUniqueIds();
    ResetClipboardFlags();
    const std::string &question = PluginGlobals.cancelConfirmText;
    NWActionBatch batch;
    const bool attrAction = AttrActionCode != NWAttr::None;  // None does nothing at any node
    std::string line = "Attempted actions: ";
    const size_t lineStart = line.size();
    for (size_t i = 0; i < matches.size(); ++i) {
        if (om_CheckUserCancel(question.c_str())) {
            CancelFlag = 1;
            break;
        }
        const Match &m = matches[i];
        om_NWPerformElemAction(m.doc, m.elem, 0, 0);
        if (attrAction) om_NWPerformAttrAction(m.doc, m.elem, m.attr, 0, 0, 0);
        if (ProgressLineDue(i)) {
            line.resize(lineStart);
            line += std::to_string(i);
            om_DlgSetStatusLines("Performing actions... please wait", line.c_str(), "", "Press Esc to cancel");
        }
    }
    F_ApiSetElementRange(0, firstDoc, FP_ElementSelection, &saved);
    if (saved.beg.parentId || saved.beg.childId) {  // no selection: nothing to scroll to
        F_TextRangeT shown = F_ApiGetTextRange(0, firstDoc, FP_TextSelection);
        F_ApiScrollToText(firstDoc, &shown);
    }
    om_DlgCloseStatus();
    if (CancelFlag) {
        al_ok2("QVRN_GEN_MSG_2");
        return;
    }
    FormatBuffer = qv::LangMessageFormatted(
        "NW_RPT_MSG_1", {static_cast<long long>(NodeWizardRun.elemSuccesses),
                         static_cast<long long>(NodeWizardQuery.elemFailures),
                         static_cast<long long>(NodeWizardRun.attrSuccesses),
                         static_cast<long long>(NodeWizardQuery.attrFailures)});
    al_ok(FormatBuffer.c_str());
}

// Tells that the all-flows option does not apply and switches it off, in the dialog's box too,
// so the next run reads it off and the message is not repeated.
void SwitchOffAllFlows() {
    om_MsgTellWithPrompt("NW_GEN_MSG_30", &NodeWizardPrompts.overrideAllFlows);
    NodeWizardOptions.allFlows = 0;
    if (F_ObjHandleT wizard = DialogHandles[kDlgNodeWizard]) om_DlgSetChecked(wizard, NWItem::AllFlows, 0);
}

}  // namespace

bool om_NWIsListBreaking(NWElementAction elementAction) {
    switch (elementAction) {
    case NWElem::Unwrap: case NWElem::Promote: case NWElem::Demote: case NWElem::Delete: case NWElem::PasteOver:
    case NWElem::MoveUp: case NWElem::MoveDown:
        return true;
    default: return false;
    }
}

void om_NWReadDialog(IntT validate) {
    CancelFlag = 0;
    F_ObjHandleT wizard = DialogHandles[kDlgNodeWizard];
    F_ObjHandleT finder = DialogHandles[kDlgQuickFinder];
    if (!wizard && !finder) return;
    static_assert(IntT{NWItem::Expression} == IntT{QFItem::Expression});
    NodeWizardQuery.expression = Taken(om_DlgGetText(wizard ? wizard : finder, NWItem::Expression, ""));
    if (wizard) {
        NodeWizardQuery.elementAction = om_NWElemActionCode(Taken(om_DlgGetText(wizard, NWItem::ElemAction, kNWTable)));
        if (validate && NodeWizardQuery.elementAction == NW_ACTION_UNKNOWN) {
            al_ok2("NW_GEN_MSG_25");
            CancelFlag = 1;
            return;
        }
        AttrActionCode = om_NWAttrActionCode(Taken(om_DlgGetText(wizard, NWItem::AttrAction, kNWTable)));
        if (validate && AttrActionCode == NW_ACTION_UNKNOWN) {
            al_ok2("NW_GEN_MSG_26");
            CancelFlag = 1;
            return;
        }
        NodeWizardOptions.parseOnly = om_DlgGetState(wizard, NWItem::ParseOnly);
        NodeWizardOptions.printComponents = om_DlgGetState(wizard, NWItem::PrintComponents);
        if (om_NWElemActionEndsAttrActions(NodeWizardQuery.elementAction)) AttrActionCode = NWAttr::None;
        NodeWizardOptions.reportElemErrors = om_DlgGetState(wizard, NWItem::ReportElemErrors);
        NodeWizardOptions.reportAttrErrors = om_DlgGetState(wizard, NWItem::ReportAttrErrors);
        std::string name = Taken(om_DlgGetText(wizard, NWItem::TagName, ""));
        if (name.empty()) name = EmptySentinel;
        NodeWizardRun.retagName = WrapElementName = NodeWizardOptions.insertName = name;
        ActionConditions = TakenList(om_DlgGetListLabels(wizard, NWItem::Conditions, ""));
        ActionAttrNames = TakenList(om_DlgGetListLabels(wizard, NWItem::AttrNames, ""));
        ActionAttrValues = TakenList(om_DlgGetListLabels(wizard, NWItem::AttrValues, ""));
        NodeWizardOptions.allFlows = om_DlgGetState(wizard, NWItem::AllFlows);
        om_XPathSetAllowFileOpening(om_DlgGetState(wizard, NWItem::OpenFiles));
        if (AttrActionCode == NWAttr::SearchReplace)
            while (ActionAttrValues.size() < ActionAttrNames.size()) ActionAttrValues.push_back("");
    }
    if (finder) NodeWizardOptions.parseOnly = NodeWizardOptions.printComponents = NodeWizardOptions.allFlows = 0;
}

IntT om_NWCheckAttrActionFits(IntT sequence) {
    IntT answer = 1;
    if (AttrActionCode >= NWAttr::MoveValuesToNamed && AttrActionCode <= NWAttr::SearchReplace) {
        IntT last = om_XPathLastStep(sequence);
        if (!last || om_XPathRec(last).axis != XA_ATTRIBUTE) {
            answer = al_yesno2("NW_GEN_MSG_17");
            AttrActionCode = NWAttr::None;
        }
    }
    if (answer != 0 && AttrActionCode == NWAttr::SearchReplace && ActionAttrNames.empty()) {
        answer = al_yesno2("NW_GEN_MSG_18");
        AttrActionCode = NWAttr::None;
    }
    if (answer == 1) CancelFlag = 0;
    return answer;
}

IntT om_NWRunQuery(IntT button) {
    CancelFlag = 0;
    StatusCode = 0;
    if (button == QFItem::MatchAll) button = NW_BTN_MATCH_ALL;
    if (button == QFItem::MatchFirst) button = NW_BTN_MATCH_FIRST;
    const bool onAll = button == NW_BTN_PERFORM_ON_ALL;
    if (onAll) {
        NodeWizardQuery.reportedErrors = 0;
        if (!om_MsgAskWithPrompt("NW_GEN_MSG_16", &NodeWizardPrompts.performAllWarning)) return 0;
    }
    om_NWReadDialog(onAll ? 1 : 0);
    if (onAll && CancelFlag) return 0;

    const std::string &expression = NodeWizardQuery.expression;
    if (expression.empty() || strcasecmp(expression.c_str(), NW_DEFAULT_XPATH) == 0) {
        al_ok2("NW_GEN_MSG_1");
        CancelFlag = 1;
        return 0;
    }
    F_ObjHandleT doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (doc) om_DocActivate(doc);
    else doc = om_BookActive();
    if (doc) {
        NodeWizardOptions.queryDoc = doc;
    } else if (!NodeWizardOptions.parseOnly) {
        al_ok2("QVRN_GEN_MSG_6");
        CancelFlag = 1;
        return 0;
    }

    om_XPathCheckNodeLimit();
    IntT sequence = om_XPathCompile(expression, 1);
    if (sequence > XPathLastSequenceNumber) {
        om_NWSetCompiledSequence(0);
        al_ok2("NW_GEN_MSG_4");
        return 0;
    }
    om_NWSetCompiledSequence(sequence);
    if (PluginGlobals.debugMode) {
        om_XPathSetParameter("parm1", "Body");
        om_XPathSetParameter("parm2", "p");
        om_XPathSetParameter("parm3", "yo");
        om_XPathSetParameter("parm4", "introduction.fm");
        om_XPathSubstituteParameters(sequence);
    }
    om_NWAddToHistory(expression.c_str());
    if (onAll && !om_NWCheckAttrActionFits(sequence)) return 0;
    if (NodeWizardOptions.parseOnly) {
        if (NodeWizardOptions.printComponents) om_XPathDumpCompiled(expression, -1);
        al_ok2("NW_GEN_MSG_5");
        return 0;
    }

    om_XPathResetSequence(sequence, 0);
    F_ObjHandleT selected = om_ElementSelected(doc, 1, 1);
    UIntT axis = om_XPathFirstStepAxis(sequence);
    bool anchored = axis == XA_ROOT || axis == XA_FMBOOK || axis == XA_FMFILE ||
                    (axis >= XA_FLOW_ANY && axis <= XA_FLOW_REF);
    if (!anchored) {
        if (!selected) {
            al_ok2("NW_GEN_MSG_11");
            return 0;
        }
        if (NodeWizardOptions.allFlows) SwitchOffAllFlows();
    }
    const bool book = om_BookIsId(doc) != 0;
    if (book && NodeWizardOptions.allFlows) SwitchOffAllFlows();

    F_ObjHandleT start = 0, flow = 0;
    if (NodeWizardOptions.allFlows && button != NW_BTN_MATCH_FIRST) {
        flow = XPATH_SCOPE_EVERY_FLOW;
    } else if (NodeWizardOptions.allFlows) {
        flow = NextStructuredFlow(doc, 0, &start);
    } else if (selected) {
        start = selected;
    } else if (book) {
        start = F_ApiGetId(0, doc, FP_HighestLevelElement);
    } else {
        F_ObjHandleT main = F_ApiGetId(0, doc, FP_MainFlowInDoc);
        start = main ? F_ApiGetId(doc, main, FP_HighestLevelElement) : 0;
    }
    MatchContext = start;

    BorrowedMatches borrowed;
    std::vector<Match> &matches = borrowed.list;
    if (button == NW_BTN_MATCH_FIRST) {
        F_ObjHandleT matchDoc = 0;
        F_ObjHandleT match = om_FindNextNodeWithXpath(doc, sequence, start, flow, &matchDoc, nullptr);
        while (!match && flow && NodeWizardOptions.allFlows) {
            flow = NextStructuredFlow(doc, flow, &start);
            if (!flow) break;
            MatchContext = start;
            om_XPathResetSequence(sequence, 0);
            match = om_FindNextNodeWithXpath(doc, sequence, start, flow, &matchDoc, nullptr);
        }
        if (match) matches.push_back({matchDoc ? matchDoc : doc, match, om_XPathRec(sequence).groupAttr});
    } else {
        xpath_MatchAll(doc, start, -1, sequence, flow, -1, matches);
    }
    if (CancelFlag) {  // Esc during the query, confirmed
        al_ok2("QVRN_GEN_MSG_2");
        return 0;
    }

    if (matches.empty()) {
        NoMatchMessage(NodeWizardOptions.queryDoc);
        return 0;
    }
    if (onAll) {
        PerformOnAll(matches);
    } else {
        ShowMatch(matches[0].doc, matches[0].elem);
        SetMatchNextEnabled(button == NW_BTN_MATCH_FIRST);
        if (button == NW_BTN_MATCH_ALL) SetEnabled(kJump, true);
        MatchList.clear();
        if (button == NW_BTN_MATCH_FIRST) {
            MatchList.matches.assign(1, matches[0]);
        } else {
            MatchList.matches = matches;
            IntT &setting = NodeWizardPrompts.matchAllStats;
            if (setting != kPromptNever && setting != kPromptAskedOnce) {
                if (matches.size() == 1) {
                    al_ok2("NW_GEN_MSG_12");
                } else {
                    FormatBuffer = qv::LangMessageFormatted("NW_GEN_MSG_13", {static_cast<long long>(matches.size())});
                    al_ok(FormatBuffer.c_str());
                }
                if (setting == kPromptOnce) {
                    al_ok2("QVRN_GEN_MSG_3");
                    setting = kPromptAskedOnce;
                }
            }
        }
        RefreshAttributeEditor();
    }
    SetEnabled(kPrevious, false);
    SetEnabled(kJump, MatchList.size() > 1);
    SetEnabled(kNext, MatchList.size() > 1);
    NodeWizardQuery.currentMatch = 0;
    return 0;
}

F_ObjHandleT om_NWMatchNextOrPerform(IntT button) {
    if (button == QFItem::MatchNext) button = NW_BTN_MATCH_NEXT;
    CancelFlag = 0;
    NodeWizardQuery.reportedErrors = 0;
    om_NWAttrForgetUniqueIds();  // the document may have changed since the last batch
    om_NWReadDialog(1);  // a failed validation only keeps the actions from running

    IntT sequence = om_NWCompiledSequence();
    F_ObjHandleT queryDoc = NodeWizardOptions.queryDoc;
    F_ObjHandleT active = om_DocActivate(0);
    F_ObjHandleT node = active ? om_ElementSelected(active, 1, 1) : 0;
    if (!node && queryDoc) {
        F_ObjHandleT graphic = F_ApiGetId(0, queryDoc, FP_FirstSelectedGraphicInDoc);
        if (graphic && F_ApiGetObjectType(queryDoc, graphic) == FO_TextFrame) node = om_DocFlowOfObject(queryDoc, graphic);
    }
    IntT attrIndex = sequence ? om_XPathRec(sequence).groupAttr : -1;

    F_ObjHandleT match = 0, matchDoc = 0;
    if (button == NW_BTN_MATCH_NEXT || button == NW_BTN_PERFORM_AND_NEXT) {
        if (sequence < 1) {
            SetMatchNextEnabled(false);
            al_ok2("NW_GEN_MSG_14");
            return 0;
        }
        match = om_FindNextNodeWithXpath(queryDoc, sequence, MatchContext, 0, &matchDoc, nullptr);
        if (!match && NodeWizardOptions.allFlows) {
            // Only the flows after the one that ran out are searched.
            F_ObjHandleT flow = om_DocFlowOfObject(queryDoc, MatchContext), root = 0;
            while (!match && (flow = NextStructuredFlow(queryDoc, flow, &root)) != 0) {
                om_XPathResetSequence(sequence, 1);
                MatchContext = root;
                match = om_FindNextNodeWithXpath(queryDoc, sequence, root, flow, &matchDoc, nullptr);
            }
        }
        if (match) {
            if (!matchDoc) matchDoc = queryDoc;
            ShowMatch(matchDoc, match);
            MatchList.append(matchDoc, match);
            SetEnabled(kNext, false);
            SetEnabled(kPrevious, MatchList.size() > 1);
            SetEnabled(kJump, true);
            NodeWizardQuery.currentMatch = static_cast<IntT>(MatchList.size()) - 1;
            RefreshAttributeEditor();
        } else {
            NoMatchMessage(queryDoc);
        }
    }
    if ((button == NW_BTN_PERFORM || button == NW_BTN_PERFORM_AND_NEXT) && !CancelFlag && active && node) {
        ResetClipboardFlags();
        om_NWPerformElemAction(active, node, 0, 0);
        om_NWPerformAttrAction(active, node, attrIndex, 0, 0, 0);
        if (match) ShowMatch(matchDoc, match);
    }
    if (button == NW_BTN_PERFORM && om_NWIsListBreaking(NodeWizardQuery.elementAction)) SetMatchNextEnabled(false);
    return match;
}
