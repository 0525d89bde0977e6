// The Node Wizard Scripts interpreter: the event walk, event preparation, sorting of matches, the
// registry of pending matches, and the action groups run on each match.
#include "nodewizard/script_interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string_view>
#include <utility>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/state/xform_codes.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/action_batch.h"
#include "nodewizard/actions.h"
#include "nodewizard/error_report.h"
#include "nodewizard/script_other_actions.h"
#include "nodewizard/script_values.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// The walk's moves: how the current element was reached.
enum WalkMove : IntT { kMoveDown = 1, kMoveAcross = 2, kMoveUp = 3 };

// Runs of script events started in this process: a run started while an event runs its matches
// in turn (from one of its actions) may have changed anything the event's preparation set.
unsigned long scriptRunsStarted = 0;

// Esc is polled on every this many visits of the walk.
constexpr long kPollEvery = 50;
// Longest walk of one document run before it gives up (a bound, never reached by real scripts).
constexpr long kMaxVisits = 100000000;
// Sort keys of element matches are cut to this many characters.
constexpr IntT kSortKeyChars = 64;

const char *const kCriticalOne =
    "(1) A critical error has occurred during the processing of this script. This is a serious bug. Please contact "
    "Orle Meadow about this problem.\n\nThe script must abort. Your documents may be in an unpredictable state, so you "
    "should close them without saving changes and reopen them to continue working.";
const char *const kCriticalTwo =
    "(2) A critical error has occurred during the processing of this script. Thisis a serious bug. Please contact Orle "
    "Meadow about this problem.\n\nThe script must abort.Your documents may be in an unpredictable state, so you should "
    "close them without saving changesand reopen them to continue working.";


// What an event's preparation set, given back when the walk returns to the event for its next
// match: the scripts are not read again and the same text compiles to the same sequence.
struct PreparedEvent {
    bool prepared = false;
    std::string expression;
    IntT sequence = 0;
    IntT allFlows = 0;
    IntT maxMatches = 0;
    IntT skipFirstMatches = 0;
};

// Gives back what the event's preparation set, for its next match.
void RestorePrepared(const PreparedEvent &p) {
    StatusCode = 0;
    AttrActionCode = NWAttr::None;
    NodeWizardQuery.elementAction = NWElem::None;
    if (NodeWizardQuery.expression != p.expression) NodeWizardQuery.expression = p.expression;
    NodeWizardOptions.allFlows = p.allFlows;
    NodeWizardOptions.maxMatches = p.maxMatches;
    NodeWizardRun.skipFirstMatches = p.skipFirstMatches;
    // Kept as it is when nothing compiled since: the compiled text is not copied for every match.
    if (NodeWizardRun.sequence != p.sequence || om_NWCompiledSequence() != p.sequence)
        om_NWSetCompiledSequence(p.sequence);
}

// Prepares the event on its first visit of the document run; on a revisit gives back what that
// preparation set.
IntT PrepareOrRestore(const NWSEvent &event, PreparedEvent &p, const std::string &scriptName, F_ObjHandleT context,
                      IntT report, bool revisit) {
    if (revisit && p.prepared) {
        RestorePrepared(p);
        return 1;
    }
    IntT prepared = om_NWSPrepareEventXPath(event, scriptName, context, report);
    if (prepared == 1)
        p = PreparedEvent{true, NodeWizardQuery.expression, NodeWizardRun.sequence, NodeWizardOptions.allFlows,
                          NodeWizardOptions.maxMatches, NodeWizardRun.skipFirstMatches};
    return prepared;
}

// What an action only scripts have takes from its element: its own text as a parameter name, its
// value source worked out when the action runs.
NWScriptOperands ScriptOperands(const NWSOperand &operand, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                                F_ObjHandleT matched) {
    NWScriptOperands script;
    script.name = qv::TrimBlanks(operand.ownText);
    script.value = [&operand, scriptsDoc, targetDoc, matched] {
        return om_NWSValueOf(operand.value, scriptsDoc, targetDoc, matched, 1);
    };
    return script;
}

// Puts the operand's value into out, in the room out has: a static value, the same for every
// match, is copied straight in.
void OperandInto(const NWSOperand &operand, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                 std::string &out) {
    const NWSValue &value = operand.value;
    if (value.source == NWSValueSource::Static)
        out = value.text == std::string_view(kNWSInvalidSetup) ? operand.ownText : value.text;
    else out = om_NWSOperandOf(operand, scriptsDoc, targetDoc, matched, 1);
}

// 1 when the event's matches can run one after another without the walk between them: the walk
// would only come back to the event for each (no sub-event is entered after a match), and every
// child is an element or attribute action group or no group at all, so no match's actions switch
// the target document or evaluate another event.
bool RunsInPlace(const NWSEvent &event) {
    if (event.subEventLast) return false;
    for (const NWSGroup &group : event.children)
        if (group.kind != NWSGroupKind::Element && group.kind != NWSGroupKind::Attribute &&
            group.kind != NWSGroupKind::None)
            return false;
    return true;
}

bool Cancelled() {
    om_PollUserCancel();  // a confirmed cancel sets CancelFlag
    return CancelFlag != 0;
}

// The next node of the walk from node after the move it was reached with; sets *move. -1 when the
// walk is back at the script element.
long WalkStep(const NWSScript &script, long node, IntT *move) {
    const NWSNode &n = script.nodes[static_cast<size_t>(node)];
    if (*move != kMoveUp && n.firstChild >= 0) {
        *move = kMoveDown;
        return n.firstChild;
    }
    if (n.nextSibling >= 0) {
        *move = kMoveAcross;
        return n.nextSibling;
    }
    *move = kMoveUp;
    return n.parent;
}

// 1 when the compiled expression's first step starts from a document: absolute, or a document axis.
bool StartsFromDocument(IntT sequence) {
    UIntT axis = om_XPathFirstStepAxis(sequence);
    return axis == XA_ROOT || axis == XA_FMBOOK || axis == XA_FMFILE || (axis >= XA_FLOW_ANY && axis <= XA_FLOW_REF);
}

// The sort key of one match.
std::string SortKey(F_ObjHandleT elem, IntT attr, F_ObjHandleT doc, const std::string &sortXPath) {
    if (!sortXPath.empty()) {
        F_ApiSaveClipboard();
        IntT sequence = om_XPathCompile(sortXPath, 0);
        F_ApiRestoreClipboard();
        if (sequence <= 0 || sequence > XPathLastSequenceNumber) return std::string();
        om_XPathResetSequence(sequence, 1);
        F_ObjHandleT foundDoc = 0;
        IntT foundAttr = -1;
        F_ObjHandleT found = om_FindNextNodeWithXpath(doc, sequence, elem, 0, &foundDoc, &foundAttr);
        if (!found) return std::string();
        elem = found;
        attr = foundAttr;
        if (foundDoc) doc = foundDoc;
    }
    if (attr >= 0) {
        std::string value;
        return om_AttrGetValueAt(doc, elem, attr, &value) < 0 ? std::string() : value;
    }
    return om_ElementText(doc, elem, 1, kSortKeyChars, 0, 0);
}

}  // namespace

// ---- the registry ----------------------------------------------------------------------------

void om_NWSResetEventRegistry(IntT count) {
    ScriptEventRegistry.clear();
    if (count > 0) ScriptEventRegistry.resize(static_cast<size_t>(count));
}

void om_NWSFreeEventRegistry() { ScriptEventRegistry.clear(); }

IntT om_NWSFindEventMatches(F_ObjHandleT event) {
    for (size_t i = 0; i < ScriptEventRegistry.size(); ++i)
        if (ScriptEventRegistry[i].event == event) return static_cast<IntT>(i);
    return -1;
}

IntT om_NWSStoreEventMatches(F_ObjHandleT event, std::vector<Match> matches) {
    IntT index = om_NWSFindEventMatches(event);
    if (index < 0) {
        ScriptEventRegistry.emplace_back();
        index = static_cast<IntT>(ScriptEventRegistry.size() - 1);
    }
    ScriptEventMatches &record = ScriptEventRegistry[static_cast<size_t>(index)];
    record.event = event;
    record.matches = std::move(matches);
    record.head = 0;
    return index;
}

// ---- preparing and sorting -------------------------------------------------------------------

IntT om_NWSPrepareEventXPath(const NWSEvent &event, const std::string &scriptName, F_ObjHandleT context,
                             IntT report) {
    StatusCode = 0;
    NodeWizardRun.sequence = 0;
    NodeWizardOptions.allFlows = 0;
    AttrActionCode = NWAttr::None;
    NodeWizardQuery.elementAction = NWElem::None;
    bool seen = false;
    for (F_ObjHandleT e : ScriptEventsReported)
        if (e == event.elem) seen = true;
    if (seen)
        report = 0;
    else
        ScriptEventsReported.push_back(event.elem);

    std::string expression = event.expression;
    if (!expression.empty() && expression[0] == '$') {
        std::string value = om_XPathGetParameter(expression);
        if (value == UndefinedParamSentinel)
            StatusCode = NWResult::UndefinedParameter;
        else
            expression = value;
    }
    NodeWizardQuery.expression = expression;
    if (expression.empty()) {
        StatusCode = NWResult::NoExpression;
        if (report == 1) al_ok(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_13"), {scriptName}).c_str());
        return 0;
    }

    F_ApiSaveClipboard();
    IntT sequence = om_XPathCompile(expression, 1);
    F_ApiRestoreClipboard();
    om_NWSetCompiledSequence(sequence > XPathLastSequenceNumber ? 0 : sequence);
    NodeWizardRun.sequence = sequence;
    if (sequence > XPathLastSequenceNumber || sequence <= 0) {
        if (report == 1) {
            StatusCode = NWResult::ExpressionNotCompiled;
            al_ok(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_14"), {scriptName, expression}).c_str());
        }
        return 0;
    }
    if (!context && !event.subEvent && !StartsFromDocument(sequence)) {
        StatusCode = XformErr::FreshDocNeedsRoot;
        if (report == 1) al_ok(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_15"), {scriptName, expression}).c_str());
        return 0;
    }

    NodeWizardOptions.maxMatches = event.maxMatches < 0 ? 0 : event.maxMatches;
    NodeWizardRun.skipFirstMatches = event.skipFirstMatches < 0 ? 0 : event.skipFirstMatches;
    NodeWizardOptions.allFlows = event.allFlows;
    // As reading the SkipFirstMatches attribute leaves it.
    StatusCode = event.skipGiven ? 0 : StatusNotPossible;
    return 1;
}

void om_NWSSortMatches(const NWSEvent &event, std::vector<Match> &matches) {
    const NWSSortOptions &o = event.sort;
    if (!o.present) return;
    const bool descending = o.descending, alpha = o.alpha, alphaCI = o.alphaCI, numeric = o.numeric, swap = o.swap;
    const std::string &sortXPath = o.xpath;

    size_t n = matches.size();
    std::vector<std::string> keys(n), folded(n);
    std::vector<double> values(n);
    for (size_t i = 0; i < n; ++i) {
        keys[i] = SortKey(matches[i].elem, matches[i].attr, matches[i].doc, sortXPath);
        if (alphaCI) folded[i] = qv::FoldCase(keys[i]);
        values[i] = std::atof(keys[i].c_str());
    }
    auto beats = [&](size_t b, size_t a) {
        return (alpha && keys[b] < keys[a]) || (alphaCI && folded[b] < folded[a]) || (numeric && values[a] > values[b]);
    };
    // The order: at each turn the first remaining match that no later one beats, so equal keys
    // keep their order. With one kind of key and no NaN among numbers "beats" is a strict weak
    // order and that is what a stable sort gives, in n log n. Keys of two kinds at once (or a NaN)
    // make "beats" no ordering at all; those take the turns one by one, which keeps their result.
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    const int kinds = int(alpha) + int(alphaCI) + int(numeric);
    const bool nan = numeric && std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
    if (kinds == 1 && !nan) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return beats(a, b); });
    } else if (kinds > 1 || nan) {
        order.clear();
        std::vector<bool> taken(n, false);
        for (size_t pass = 0; pass < n; ++pass) {
            size_t best = n;
            for (size_t i = 0; i < n; ++i) {
                if (taken[i]) continue;
                if (best == n || beats(i, best)) best = i;
            }
            taken[best] = true;
            order.push_back(best);
        }
    }
    if (swap) {
        size_t firstNonEmpty = 0;
        while (firstNonEmpty < n && keys[order[firstNonEmpty]].empty()) ++firstNonEmpty;
        if (firstNonEmpty < n && static_cast<unsigned char>(keys[order[firstNonEmpty]][0]) < 'A') {
            size_t start = 0;
            while (start < n && (keys[order[start]].empty() || static_cast<unsigned char>(keys[order[start]][0]) < 'A'))
                ++start;
            if (start < n) std::rotate(order.begin(), order.begin() + static_cast<long>(start), order.end());
        }
    }
    if (descending) std::reverse(order.begin(), order.end());
    std::vector<Match> sorted;
    sorted.reserve(n);
    for (size_t i : order) sorted.push_back(matches[i]);
    matches.swap(sorted);
}

// ---- action groups ---------------------------------------------------------------------------

void om_NWSCopyContentToClipboard(F_ObjHandleT scriptsDoc, F_ObjHandleT elem) {
    // An empty action element pastes the clipboard as it stands: the values a copy action left
    // there stay a list.
    if (!scriptsDoc || !elem || !om_ElementHasContent(scriptsDoc, elem) || om_ElementIsEmpty(scriptsDoc, elem)) return;
    if (om_ElementSelect(scriptsDoc, elem, LocContent) != 1) return;
    F_ApiCopy(scriptsDoc, FF_COPY_PLAIN);
    ClipboardEmpty = 0;
    ClipboardReload = 1;
}

namespace {

// The names and conditions element actions put into the Node Wizard state, each with the action
// that put its own static value there while an event runs its matches one after another: while
// nothing but the event's actions runs, the action finds its value still in place and does not
// copy it again.
struct HeldNames {
    const NWSElemAction *retag = nullptr, *wrap = nullptr, *insert = nullptr, *conditions = nullptr;
};

// Puts the action's operand into the name; holder (when given) learns whether the name now holds
// the action's static value.
[[gnu::noinline]] void PutOperand(const NWSElemAction &action, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                                  F_ObjHandleT matched, std::string &name, const NWSElemAction **holder) {
    OperandInto(action.operand, scriptsDoc, targetDoc, matched, name);
    if (holder) *holder = action.operand.value.source == NWSValueSource::Static ? &action : nullptr;
}

// Puts the element action's operands into the Node Wizard state (held: what is known to be
// there already); its code.
inline NWElementAction ReadElemAction(F_ObjHandleT scriptsDoc, const NWSElemAction &action, F_ObjHandleT targetDoc,
                                      F_ObjHandleT matched, HeldNames *held) {
    NWElementAction code = action.code;
    if (code == NWElem::None) return NWElem::None;
    auto operand = [&](std::string &into, const NWSElemAction *HeldNames::*slot) {
        if (held && held->*slot == &action) return;
        PutOperand(action, scriptsDoc, targetDoc, matched, into, held ? &(held->*slot) : nullptr);
    };
    if (code == NWElem::Retag) operand(NodeWizardRun.retagName, &HeldNames::retag);
    if (code == NWElem::Wrap || code == NWElem::WrapContents) operand(WrapElementName, &HeldNames::wrap);
    if (code >= NWElem::InsertBefore && code <= NWElem::InsertLastChild)
        operand(NodeWizardOptions.insertName, &HeldNames::insert);
    if (code == NWElem::AssignConditions && !(held && held->conditions == &action)) {
        ActionConditions = action.conditions;
        if (held) held->conditions = &action;
    }
    if (code == NWElem::PasteOver || (code >= NWElem::PasteOverContents && code <= NWElem::PasteAfter))
        om_NWSCopyContentToClipboard(scriptsDoc, action.elem);
    return code;
}

// Puts the attribute action's names and values into the Node Wizard state; its code (None leaves
// the state as it is).
NWAttrAction ReadAttrAction(F_ObjHandleT scriptsDoc, const NWSAttrAction &action, F_ObjHandleT targetDoc,
                            F_ObjHandleT matched) {
    NWAttrAction code = action.code;
    if (code == NWAttr::None) return NWAttr::None;
    ActionAttrNames.clear();
    ActionAttrValues.clear();
    for (const NWSAttrOperand &o : action.operands) {
        if (!o.isValue) {
            ActionAttrNames.push_back(o.xpathMatch ? NW_XPATH_MATCH
                                                   : om_NWSOperandOf(o.operand, scriptsDoc, targetDoc, matched, 1));
            continue;
        }
        std::string value = om_NWSOperandOf(o.operand, scriptsDoc, targetDoc, matched, 1);
        if (TokenizedAttrValues == 1) {
            size_t from = 0;
            for (;;) {
                size_t blank = value.find(' ', from);
                ActionAttrValues.push_back(value.substr(from, blank == std::string::npos ? std::string::npos : blank - from));
                if (blank == std::string::npos) break;
                from = blank + 1;
            }
        } else {
            ActionAttrValues.push_back(std::move(value));
        }
    }
    // Search and replace reads one replace string per search string: missing ones replace by "".
    if (code == NWAttr::SearchReplace)
        while (ActionAttrValues.size() < ActionAttrNames.size()) ActionAttrValues.emplace_back();
    // A paste's own content is what it pastes; its Attribute child only names the attribute.
    if (action.pastesOwnContent) om_NWSCopyContentToClipboard(scriptsDoc, action.elem);
    return code;
}

// The group's element actions on one match; true when the matched node is known to have content
// after them (looked for after every action that may take it away), false when it has none or the
// run stopped before the end.
bool RunElemActions(F_ObjHandleT scriptsDoc, const NWSGroup &group, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                    HeldNames *held) {
    if (!targetDoc || !matched || !scriptsDoc || !group.elem || !om_ElementHasContent(targetDoc, matched)) return false;
    bool found = true;  // the matched node was found with content, and nothing was done since
    for (const NWSElemAction &action : group.elemActions) {
        IntT code = ReadElemAction(scriptsDoc, action, targetDoc, matched, held);
        found = found && action.readsNoDocument;
        if (code != NWElem::None) {
            NodeWizardQuery.elementAction = code;
            if (code == NWElem::CopyTextToParameter || code == NWElem::SetText) {
                NWScriptOperands script = ScriptOperands(action.operand, scriptsDoc, targetDoc, matched);
                om_NWPerformElemAction(targetDoc, matched, scriptsDoc, &script);
            } else if (found) {
                om_NWPerformElemActionOnFound(targetDoc, matched, nullptr);
            } else {
                om_NWPerformElemAction(targetDoc, matched, scriptsDoc, nullptr);
            }
        }
        if (Cancelled()) return false;
        if (code == NWElem::None || action.keepsMatchedNode) continue;
        if (!om_ElementHasContent(targetDoc, matched)) return false;
        found = true;
    }
    return true;
}

// The same for the group's attribute actions (out of line: the element groups' loop stays small).
[[gnu::noinline]] bool RunAttrActions(F_ObjHandleT scriptsDoc, const NWSGroup &group, F_ObjHandleT targetDoc,
                                      F_ObjHandleT matched, IntT attrIndex, IntT reportAttr) {
    if (!targetDoc || !matched || !scriptsDoc || !group.elem || !om_ElementHasContent(targetDoc, matched)) return false;
    for (const NWSAttrAction &action : group.attrActions) {
        IntT code = ReadAttrAction(scriptsDoc, action, targetDoc, matched);
        if (code >= NWAttr::MoveValuesToNamed && code <= NWAttr::PasteAtMatchedEnd &&
            om_XPathAxisOfExpression("", om_NWCompiledSequence(), 0) != XA_ATTRIBUTE) {
            code = NWAttr::None;
            ++NodeWizardQuery.attrFailures;
            if (reportAttr == 1)
                om_NWReportActionError(scriptsDoc, action.elem, "", NWResult::NeedsAttributeStep,
                                       NWReportKind::Attribute);
        }
        if (code != NWAttr::None) {
            AttrActionCode = code;
            NWScriptOperands script;
            bool scriptOnly = code == NWAttr::CopyFirstValueToParameter || code == NWAttr::SetValue ||
                              code == NWAttr::SortValues;
            if (scriptOnly) {
                script = ScriptOperands(action.own, scriptsDoc, targetDoc, matched);
                script.sortDirection = action.sortDirection;
                script.sortKind = action.sortKind;
            }
            om_NWPerformAttrAction(targetDoc, matched, attrIndex, scriptsDoc, scriptOnly ? &script : nullptr, 0);
        }
        if (Cancelled()) return false;
        if (!om_ElementHasContent(targetDoc, matched)) return false;
    }
    return true;
}

// The event's action groups on one match (see om_NWSRunActionGroups); held: the names the
// event's element actions are known to have in place, when it runs its matches in turn.
IntT RunActionGroups(F_ObjHandleT scriptsDoc, const NWSEvent &event, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                     IntT attrIndex, IntT reportElem, IntT reportAttr, IntT reportOther, F_ObjHandleT *newTarget,
                     HeldNames *held) {
    *newTarget = 0;
    if (CancelFlag) return 0;
    NodeWizardOptions.reportElemErrors = reportElem;
    NodeWizardOptions.reportAttrErrors = reportAttr;
    for (const NWSGroup &group : event.children) {
        // A child that is no group, or a disabled group, runs nothing: Esc is polled after it.
        if (group.disabled || group.kind == NWSGroupKind::None) {
            if (Cancelled()) break;
            continue;
        }
        bool stillThere = false;  // the group's own last look found the matched node
        if (group.kind == NWSGroupKind::Element) {
            stillThere = RunElemActions(scriptsDoc, group, targetDoc, matched, held);
        } else {
            switch (group.kind) {
            case NWSGroupKind::Attribute:
                stillThere = RunAttrActions(scriptsDoc, group, targetDoc, matched, attrIndex, reportAttr);
                break;
            case NWSGroupKind::Other: {
                F_ObjHandleT switched = 0;
                om_NWSRunOtherActions(scriptsDoc, group.elem, group.otherActions, targetDoc, matched, reportOther,
                                      &switched);
                if (switched) {
                    *newTarget = switched;
                    targetDoc = switched;
                }
                break;
            }
            case NWSGroupKind::String:
                om_NWSRunStringOps(scriptsDoc, group.elem, group.operations, targetDoc, matched);
                break;
            case NWSGroupKind::Numeric:
                om_NWSRunNumericOps(scriptsDoc, group.elem, group.operations, targetDoc, matched);
                break;
            default:
                break;
            }
            // Other actions may close documents and change definitions: the element and attribute
            // actions after them ask the host afresh.
            if (group.kind != NWSGroupKind::Attribute) om_NWForgetActionBatch();
        }
        if (Cancelled()) break;
        // A group that ran may have taken the matched element away.
        if (!stillThere && !om_ElementHasContent(targetDoc, matched)) break;
    }
    return 0;
}

}  // namespace

IntT om_NWSRunActionGroups(F_ObjHandleT scriptsDoc, const NWSEvent &event, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                           IntT attrIndex, IntT reportElem, IntT reportAttr, IntT reportOther, F_ObjHandleT *newTarget) {
    return RunActionGroups(scriptsDoc, event, targetDoc, matched, attrIndex, reportElem, reportAttr, reportOther,
                           newTarget, nullptr);
}

// ---- the event walk --------------------------------------------------------------------------

F_ObjHandleT om_NWSRunScriptEvents(F_ObjHandleT target, const NWSScript &script, IntT eventNumber, IntT interactive) {
    ++scriptRunsStarted;
    StatusCode = 0;
    CancelFlag = 0;
    if (!target) return 0;
    F_ObjHandleT scriptsDoc = script.doc;
    if (!scriptsDoc) {
        StatusCode = NWResult::NoScriptsDoc;
        CancelFlag = 1;
        return target;
    }
    F_ObjHandleT context = om_ElementSelected(target, 1, 1);
    if (!context) context = om_ElementHighestLevel(target, "Main", 0);

    IntT reportElem = interactive == 1 ? NodeWizardOptions.reportElemErrors : 0;
    IntT reportAttr = interactive == 1 ? NodeWizardOptions.reportAttrErrors : 0;
    IntT reportOther = interactive == 1 ? NodeWizardOptions.reportOtherErrors : 0;

    // The matches' element and attribute actions run as one batch, as Perform Action(s) On All's do.
    NWActionBatch batch;
    om_NWSResetEventRegistry(0);
    std::vector<PreparedEvent> prepared(script.events.size());
    IntT move = kMoveDown;
    long cur = script.nodes.empty() ? -1 : 0;
    IntT eventCounter = 0;
    for (long visits = 0; cur >= 0 && visits < kMaxVisits; ++visits) {
        const NWSNode &node = script.nodes[static_cast<size_t>(cur)];
        IntT reached = move;
        bool stayHere = false;
        bool isEvent = node.isEvent, isSubEvent = node.isSubEvent;
        if (reached != kMoveUp && isEvent) ++eventCounter;
        if ((isEvent || isSubEvent) && node.disabled) {
            move = kMoveUp;
        } else if ((isEvent || isSubEvent) && (eventNumber <= 0 || eventNumber == eventCounter)) {
            const NWSEvent &event = script.events[static_cast<size_t>(node.event)];
            IntT ready = PrepareOrRestore(event, prepared[static_cast<size_t>(node.event)], script.name, context,
                                          interactive, reached == kMoveUp);
            if (NodeWizardRun.sequence > XPathLastSequenceNumber) {
                if (interactive == 1) al_ok2("NWS_GEN_MSG_18");
                CancelFlag = 1;
                return target;
            }
            if (reached != kMoveUp) {
                std::vector<Match> matches;
                F_ObjHandleT startElem = 0, startDoc = target;
                IntT startAttr = -1;
                if (isEvent) {
                    startElem = context && om_ElementHasContent(target, context) ? context
                                                                                  : om_ElementHighestLevel(target, "Main", 0);
                } else {
                    F_ObjHandleT parentElem =
                        node.parent >= 0 ? script.nodes[static_cast<size_t>(node.parent)].elem : script.elem;
                    IntT parent = om_NWSFindEventMatches(parentElem);
                    if (parent < 0 || ScriptEventRegistry[static_cast<size_t>(parent)].empty()) {
                        al_ok(kCriticalOne);
                        CancelFlag = 1;
                        return target;
                    }
                    const Match &from = ScriptEventRegistry[static_cast<size_t>(parent)].first();
                    startElem = from.elem;
                    startAttr = from.attr;
                    startDoc = from.doc;
                }
                if (ready == 1) {
                    IntT sequence = NodeWizardRun.sequence;
                    om_XPathResetSequence(sequence, 1);
                    if (NodeWizardOptions.parametersInXPath == 1) {
                        std::vector<std::string> undefined = om_XPathSubstituteParameters(sequence);
                        if (interactive == 1 && reportOther == 1)
                            for (size_t i = 0; i < undefined.size(); ++i)
                                om_NWReportActionError(scriptsDoc, node.elem, "", NWResult::UndefinedParameter,
                                                       NWReportKind::Other);
                    }
                    F_ObjHandleT scope = XPATH_SCOPE_MAIN_FLOW;
                    if (NodeWizardOptions.allFlows == 1) {
                        startElem = 0;
                        scope = XPATH_SCOPE_EVERY_FLOW;
                    }
                    xpath_MatchAll(startDoc, startElem, startAttr, sequence, scope, NodeWizardOptions.maxMatches,
                                   matches);
                    size_t skip = std::min<size_t>(matches.size(), static_cast<size_t>(NodeWizardRun.skipFirstMatches));
                    matches.erase(matches.begin(), matches.begin() + static_cast<long>(skip));
                    if (NodeWizardOptions.maxMatches > 0 &&
                        matches.size() > static_cast<size_t>(NodeWizardOptions.maxMatches))
                        matches.resize(static_cast<size_t>(NodeWizardOptions.maxMatches));
                    if (matches.size() > 1) om_NWSSortMatches(event, matches);
                }
                om_NWSStoreEventMatches(node.elem, std::move(matches));
            }
            IntT index = om_NWSFindEventMatches(node.elem);
            if (index < 0) {
                al_ok(kCriticalTwo);
                CancelFlag = 1;
                return target;
            }
            ScriptEventMatches *record = &ScriptEventRegistry[static_cast<size_t>(index)];
            if (reached == kMoveUp && !record->empty()) ++record->head;
            if (!record->empty() && RunsInPlace(event)) {
                // Each match runs as the walk's return to the event for it would run it: the same
                // polls, the restore of the preparation (which leaves the sequence valid) and the
                // look-up of the event's matches, without the rest of the walk. While no other run
                // starts and the node table keeps its sequences, the event's element and attribute
                // actions are all that runs between two matches: of what the preparation set they
                // change the status and the action codes alone, and the registry stays as it is.
                const PreparedEvent &p = prepared[static_cast<size_t>(node.event)];
                unsigned long runs = scriptRunsStarted, emptied = XPathNodeTableEmptied;
                HeldNames held;
                for (;;) {
                    F_ObjHandleT switched = 0;  // stays 0: no element or attribute action switches
                    const Match &m = record->first();
                    RunActionGroups(scriptsDoc, event, m.doc, m.elem, m.attr, reportElem, reportAttr, reportOther,
                                    &switched, &held);
                    if (CancelFlag) break;
                    if (visits % kPollEvery == 0) {
                        om_PollUserCancel();
                        if (CancelFlag) break;
                    }
                    if (++visits >= kMaxVisits) break;
                    if (runs == scriptRunsStarted && emptied == XPathNodeTableEmptied) {
                        StatusCode = 0;
                        AttrActionCode = NWAttr::None;
                        NodeWizardQuery.elementAction = NWElem::None;
                    } else {
                        held = HeldNames{};
                        RestorePrepared(p);
                        runs = scriptRunsStarted;
                        emptied = XPathNodeTableEmptied;
                        // One record per event: while the registry keeps it where it was, it is there.
                        if (static_cast<size_t>(index) >= ScriptEventRegistry.size() ||
                            ScriptEventRegistry[static_cast<size_t>(index)].event != node.elem)
                            index = om_NWSFindEventMatches(node.elem);
                        if (index < 0) {
                            al_ok(kCriticalTwo);
                            CancelFlag = 1;
                            return target;
                        }
                        record = &ScriptEventRegistry[static_cast<size_t>(index)];
                    }
                    if (!record->empty()) ++record->head;
                    if (record->empty()) break;
                }
                if (CancelFlag || visits >= kMaxVisits) break;
                move = kMoveUp;  // the matches ran out at this visit: the walk goes on after the event
            } else if (!record->empty()) {
                F_ObjHandleT switched = 0;
                const Match &m = record->first();
                om_NWSRunActionGroups(scriptsDoc, event, m.doc, m.elem, m.attr, reportElem, reportAttr, reportOther,
                                      &switched);
                if (switched) {
                    target = switched;
                    context = 0;
                }
                if (event.subEventLast) {
                    move = kMoveDown;
                } else {
                    move = kMoveUp;
                    stayHere = true;
                }
            } else {
                move = kMoveUp;
            }
        }
        if (CancelFlag) break;
        if (visits % kPollEvery == 0) {
            om_PollUserCancel();
            if (CancelFlag) break;
        }
        if (!stayHere) cur = WalkStep(script, cur, &move);
    }
    om_NWSResetEventRegistry(0);
    return target;
}
