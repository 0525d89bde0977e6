// The Node Wizard Scripts interpreter: the event walk, event preparation, sorting of matches, the
// registry of pending matches, and the action groups run on each match.
#include "nodewizard/script_interpreter.h"

#include <cstdlib>
#include <unordered_map>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/actions.h"
#include "nodewizard/error_report.h"
#include "nodewizard/script_other_actions.h"
#include "nodewizard/script_values.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

namespace {

// The walk's moves: how the current element was reached.
enum WalkMove : IntT { kMoveDown = 1, kMoveAcross = 2, kMoveUp = 3 };

// Esc is polled on every this many visits of the walk.
constexpr long kPollEvery = 50;
// Longest walk of one document run before it gives up (a bound, never reached by real scripts).
constexpr long kMaxVisits = 100000000;
// Names and operands are read cut to this many characters.
constexpr IntT kNameChars = 255;
// Sort keys of element matches are cut to this many characters.
constexpr IntT kSortKeyChars = 64;
// The sort expression is read cut to this many characters.
constexpr IntT kSortXPathChars = 512;

const char *const kCriticalOne =
    "(1) A critical error has occurred during the processing of this script. This is a serious bug. Please contact "
    "Orle Meadow about this problem.\n\nThe script must abort. Your documents may be in an unpredictable state, so you "
    "should close them without saving changes and reopen them to continue working.";
const char *const kCriticalTwo =
    "(2) A critical error has occurred during the processing of this script. Thisis a serious bug. Please contact Orle "
    "Meadow about this problem.\n\nThe script must abort.Your documents may be in an unpredictable state, so you should "
    "close them without saving changesand reopen them to continue working.";




// What a document run reads again and again from the scripts document and what cannot change
// while it runs: each element's tag and Disable flag, each action element's code and static
// operand. Emptied when a document run starts, so edits between runs are always seen.
struct ElementFacts {
    std::string tag;
    bool disabled = false;
    IntT elemCode = 0;  // 0 until read
    IntT attrCode = 0;
    IntT group = -1;    // the action group the tag names (GroupKind), -1 until read
};

// The action groups of an event.
enum GroupKind : IntT { kNoGroup, kElementGroup, kAttributeGroup, kOtherGroup, kStringGroup, kNumericGroup };

GroupKind GroupOf(const std::string &tag) {
    if (om_NWSTagIs(tag, "ElementAction") || om_NWSTagIs(tag, "ElementActions")) return kElementGroup;
    if (om_NWSTagIs(tag, "AttributeAction") || om_NWSTagIs(tag, "AttributeActions")) return kAttributeGroup;
    if (om_NWSTagIs(tag, "OtherActions")) return kOtherGroup;
    if (om_NWSTagIs(tag, "StringOperations")) return kStringGroup;
    if (om_NWSTagIs(tag, "NumericOperations")) return kNumericGroup;
    return kNoGroup;
}
std::unordered_map<F_ObjHandleT, ElementFacts> RunFacts;
std::unordered_map<F_ObjHandleT, std::string> RunStaticOperands;

// An event prepared once in the run: what its preparation set, given back on each revisit.
struct PreparedEvent {
    std::string expression;
    IntT sequence = 0;
    IntT allFlows = 0;
    IntT maxMatches = 0;
    IntT skipFirstMatches = 0;
};
std::unordered_map<F_ObjHandleT, PreparedEvent> RunPrepared;

// Prepares the event on its first visit; on a revisit gives back what that preparation set
// (the same text compiles to the same sequence, and the scripts document does not change).
IntT PrepareOrRestore(F_ObjHandleT scriptsDoc, F_ObjHandleT event, const std::string &scriptName, F_ObjHandleT context,
                      IntT report, bool revisit) {
    auto found = RunPrepared.find(event);
    if (revisit && found != RunPrepared.end()) {
        const PreparedEvent &p = found->second;
        StatusCode = 0;
        AttrActionCode = NWAttr::None;
        NodeWizardQuery.elementAction = NWElem::None;
        if (NodeWizardQuery.expression != p.expression) NodeWizardQuery.expression = p.expression;
        NodeWizardOptions.allFlows = p.allFlows;
        NodeWizardOptions.maxMatches = p.maxMatches;
        NodeWizardRun.skipFirstMatches = p.skipFirstMatches;
        NodeWizardRun.sequence = p.sequence;
        om_NWSetCompiledSequence(p.sequence);
        return 1;
    }
    IntT prepared = om_NWSPrepareEventXPath(scriptsDoc, event, scriptName, context, report);
    if (prepared == 1)
        RunPrepared[event] = PreparedEvent{NodeWizardQuery.expression, NodeWizardRun.sequence, NodeWizardOptions.allFlows,
                                           NodeWizardOptions.maxMatches, NodeWizardRun.skipFirstMatches};
    return prepared;
}

const ElementFacts &FactsOf(F_ObjHandleT doc, F_ObjHandleT elem) {
    auto found = RunFacts.find(elem);
    if (found != RunFacts.end()) return found->second;
    ElementFacts f;
    f.tag = om_ElementTag(doc, elem, 0);
    std::string value;
    f.disabled = om_AttrGetValue(doc, elem, "Disable", &value) >= 0 && om_StrEqualCI(value.c_str(), "Yes") == 1;
    FA_errno = 0;
    return RunFacts.emplace(elem, std::move(f)).first->second;
}

const std::string &TagOf(F_ObjHandleT doc, F_ObjHandleT elem) { return FactsOf(doc, elem).tag; }

// 1 when the element's Disable attribute is "Yes" (ignoring case).
bool Disabled(F_ObjHandleT doc, F_ObjHandleT elem) { return FactsOf(doc, elem).disabled; }

// The operand of an action element: its value source's value, or its own first paragraph. A
// Static_value (or the element's own text) cannot change during a run and is read once.
std::string ActionOperand(F_ObjHandleT scriptsDoc, F_ObjHandleT elem, F_ObjHandleT targetDoc, F_ObjHandleT matched) {
    auto found = RunStaticOperands.find(elem);
    if (found != RunStaticOperands.end()) return found->second;
    bool dynamic = false;
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, elem, FP_FirstChildElement); c && !dynamic;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        const std::string &tag = TagOf(scriptsDoc, c);
        if (om_NWSTagIs(tag, "Static_value")) break;
        dynamic = om_NWSTagIs(tag, "Current_clipboard") || om_NWSTagIs(tag, "Parameter_value") ||
                  om_NWSTagIs(tag, "XPath_search");
    }
    std::string value = om_NWSResolveValue(scriptsDoc, elem, targetDoc, matched, 1);
    if (value == kNWSInvalidSetup) value = om_NWSFirstPgf(scriptsDoc, elem, kNameChars);
    if (!dynamic) RunStaticOperands.emplace(elem, value);
    return value;
}

bool Cancelled() {
    om_PollUserCancel();  // a confirmed cancel sets CancelFlag
    return CancelFlag != 0;
}

// The next element of the walk from elem after the move it was reached with; sets *move.
F_ObjHandleT WalkStep(F_ObjHandleT doc, F_ObjHandleT elem, IntT *move) {
    if (*move != kMoveUp) {
        F_ObjHandleT child = F_ApiGetId(doc, elem, FP_FirstChildElement);
        if (child) {
            *move = kMoveDown;
            return child;
        }
    }
    F_ObjHandleT next = F_ApiGetId(doc, elem, FP_NextSiblingElement);
    if (next) {
        *move = kMoveAcross;
        return next;
    }
    *move = kMoveUp;
    return F_ApiGetId(doc, elem, FP_ParentElement);
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

IntT om_NWSStoreEventMatches(F_ObjHandleT event, const std::vector<F_ObjHandleT> &elems, const std::vector<IntT> &attrs,
                             const std::vector<F_ObjHandleT> &docs) {
    IntT index = om_NWSFindEventMatches(event);
    if (index < 0) {
        ScriptEventRegistry.emplace_back();
        index = static_cast<IntT>(ScriptEventRegistry.size() - 1);
    }
    ScriptEventMatches &record = ScriptEventRegistry[static_cast<size_t>(index)];
    record.event = event;
    record.elems = elems;
    record.attrs = attrs;
    record.docs = docs;
    record.head = 0;
    return index;
}

// ---- preparing and sorting -------------------------------------------------------------------

IntT om_NWSPrepareEventXPath(F_ObjHandleT scriptsDoc, F_ObjHandleT event, const std::string &scriptName,
                             F_ObjHandleT context, IntT report) {
    StatusCode = 0;
    NodeWizardRun.sequence = 0;
    NodeWizardOptions.allFlows = 0;
    AttrActionCode = NWAttr::None;
    NodeWizardQuery.elementAction = NWElem::None;
    bool seen = false;
    for (F_ObjHandleT e : ScriptEventsReported)
        if (e == event) seen = true;
    if (seen)
        report = 0;
    else
        ScriptEventsReported.push_back(event);

    F_ObjHandleT expressionElem = om_NWSFindBelow(scriptsDoc, event, "XPathExpression");
    std::string expression = expressionElem ? om_NWSFirstPgf(scriptsDoc, expressionElem, XPathLimits.maxLength) : "";
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
            StatusCode = 50101;
            al_ok(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_14"), {scriptName, expression}).c_str());
        }
        return 0;
    }
    if (!context && om_NWSTagIs(TagOf(scriptsDoc, event), "NWScriptEvent") && !StartsFromDocument(sequence)) {
        StatusCode = 407;
        if (report == 1) al_ok(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_15"), {scriptName, expression}).c_str());
        return 0;
    }

    NodeWizardOptions.maxMatches = om_AttrGetInt(scriptsDoc, expressionElem, "MaximumMatches");
    NodeWizardRun.skipFirstMatches = om_AttrGetInt(scriptsDoc, expressionElem, "SkipFirstMatches");
    if (NodeWizardOptions.maxMatches < 0) NodeWizardOptions.maxMatches = 0;
    if (NodeWizardRun.skipFirstMatches < 0) NodeWizardRun.skipFirstMatches = 0;
    for (F_ObjHandleT s = F_ApiGetId(scriptsDoc, expressionElem, FP_NextSiblingElement); s;
         s = F_ApiGetId(scriptsDoc, s, FP_NextSiblingElement)) {
        if (!om_NWSTagIs(TagOf(scriptsDoc, s), "FlowsToProcess")) continue;
        const std::string &first = TagOf(scriptsDoc, F_ApiGetId(scriptsDoc, s, FP_FirstChildElement));
        if (om_NWSTagIs(first, "Main")) NodeWizardOptions.allFlows = 0;
        if (om_NWSTagIs(first, "All")) NodeWizardOptions.allFlows = 1;
    }
    return 1;
}

void om_NWSSortMatches(F_ObjHandleT scriptsDoc, F_ObjHandleT event, std::vector<F_ObjHandleT> &elems,
                       std::vector<F_ObjHandleT> &docs, std::vector<IntT> &attrs) {
    F_ObjHandleT options = om_NWSFindBelow(scriptsDoc, event, "SortOptions");
    if (!options) return;
    bool descending = false, alpha = false, alphaCI = false, numeric = false, swap = false;
    std::string sortXPath;
    bool haveSortXPath = false;
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, options, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        const std::string &tag = TagOf(scriptsDoc, c);
        if (om_NWSTagIs(tag, "Sort_descending")) descending = true;
        if (om_NWSTagIs(tag, "Sort_alphabetic")) alpha = true;
        if (om_NWSTagIs(tag, "Sort_alphabetic_ci")) alphaCI = true;
        if (om_NWSTagIs(tag, "Sort_numeric")) numeric = true;
        if (om_NWSTagIs(tag, "Swap_alpha_and_numeric")) swap = true;
        if (om_NWSTagIs(tag, "Primary_sort_xpath") && !haveSortXPath) {
            sortXPath = om_NWSFirstPgf(scriptsDoc, c, kSortXPathChars);
            haveSortXPath = true;
        }
    }
    if (!numeric && !alphaCI) alpha = true;

    size_t n = std::min({elems.size(), docs.size(), attrs.size()});
    std::vector<std::string> keys(n), folded(n);
    std::vector<double> values(n);
    for (size_t i = 0; i < n; ++i) {
        keys[i] = SortKey(elems[i], attrs[i], docs[i], sortXPath);
        if (alphaCI) folded[i] = qv::FoldCase(keys[i]);
        values[i] = std::atof(keys[i].c_str());
    }
    auto beats = [&](size_t b, size_t a) {
        return (alpha && keys[b] < keys[a]) || (alphaCI && folded[b] < folded[a]) || (numeric && values[a] > values[b]);
    };
    // Selection sort: each pass takes the first key that no later key beats, so equal keys keep
    // their order and every match is taken exactly once.
    std::vector<size_t> order;
    order.reserve(n);
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
    std::vector<F_ObjHandleT> sortedElems, sortedDocs;
    std::vector<IntT> sortedAttrs;
    for (size_t i : order) {
        sortedElems.push_back(elems[i]);
        sortedDocs.push_back(docs[i]);
        sortedAttrs.push_back(attrs[i]);
    }
    elems.swap(sortedElems);
    docs.swap(sortedDocs);
    attrs.swap(sortedAttrs);
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

NWElementAction om_NWSReadElemAction(F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem, F_ObjHandleT targetDoc,
                                     F_ObjHandleT matched) {
    FactsOf(scriptsDoc, actionElem);
    ElementFacts &facts = RunFacts[actionElem];
    if (!facts.elemCode) {
        std::string name = facts.tag;
        for (char &c : name)
            if (c == '_') c = ' ';
        facts.elemCode = om_NWElemActionCode(name);
    }
    IntT code = facts.elemCode;
    if (code == NW_ACTION_UNKNOWN) return NWElem::None;
    auto operand = [&]() { return ActionOperand(scriptsDoc, actionElem, targetDoc, matched); };
    if (code == NWElem::Retag) NodeWizardRun.retagName = operand();
    if (code == NWElem::Wrap || code == NWElem::WrapContents) WrapElementName = operand();
    if (code >= NWElem::InsertBefore && code <= NWElem::InsertLastChild) NodeWizardOptions.insertName = operand();
    if (code == NWElem::AssignConditions) {
        ActionConditions.clear();
        for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, actionElem, FP_FirstChildElement); c;
             c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
            std::string tag = om_NWSFirstPgf(scriptsDoc, c, kNameChars);
            if (!tag.empty()) ActionConditions.push_back(tag);
        }
    }
    if (code == NWElem::PasteOver || (code >= NWElem::PasteOverContents && code <= NWElem::PasteAfter))
        om_NWSCopyContentToClipboard(scriptsDoc, actionElem);
    return code;
}

NWAttrAction om_NWSReadAttrAction(F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem, F_ObjHandleT targetDoc,
                                  F_ObjHandleT matched) {
    if (!actionElem) return NWAttr::None;
    FactsOf(scriptsDoc, actionElem);
    ElementFacts &facts = RunFacts[actionElem];
    if (!facts.attrCode) {
        std::string name = facts.tag;
        for (char &c : name)
            if (c == '_') c = ' ';
        facts.attrCode = om_NWAttrActionCode(name);
    }
    IntT code = facts.attrCode;
    if (code == NW_ACTION_UNKNOWN) return NWAttr::None;
    ActionAttrNames.clear();
    ActionAttrValues.clear();
    auto valueOf = [&](F_ObjHandleT c) {
        std::string value = om_NWSResolveValue(scriptsDoc, c, targetDoc, matched, 1);
        return value == kNWSInvalidSetup ? om_NWSFirstPgf(scriptsDoc, c, kNameChars) : value;
    };
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, actionElem, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        const std::string &tag = TagOf(scriptsDoc, c);
        if (om_NWSTagIs(tag, "Attribute") || om_NWSTagIs(tag, "SearchString")) {
            F_ObjHandleT first = F_ApiGetId(scriptsDoc, c, FP_FirstChildElement);
            ActionAttrNames.push_back(first && om_NWSTagIs(TagOf(scriptsDoc, first), "xpath-match") ? NW_XPATH_MATCH : valueOf(c));
        } else if (om_NWSTagIs(tag, "Value") || om_NWSTagIs(tag, "ReplaceString")) {
            std::string value = valueOf(c);
            if (TokenizedAttrValues == 1) {
                size_t from = 0;
                for (;;) {
                    size_t blank = value.find(' ', from);
                    ActionAttrValues.push_back(value.substr(from, blank == std::string::npos ? std::string::npos : blank - from));
                    if (blank == std::string::npos) break;
                    from = blank + 1;
                }
            } else {
                ActionAttrValues.push_back(value);
            }
        }
    }
    // Search and replace reads one replace string per search string: missing ones replace by "".
    if (code == NWAttr::SearchReplace)
        while (ActionAttrValues.size() < ActionAttrNames.size()) ActionAttrValues.emplace_back();
    // A paste's own content is what it pastes; its Attribute child only names the attribute.
    if (code >= NWAttr::PasteOverMatched && code <= NWAttr::PasteAtMatchedEnd) {
        bool ownContent = false;
        for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, actionElem, FP_FirstChildElement); c && !ownContent;
             c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement))
            ownContent = !om_NWSTagIs(TagOf(scriptsDoc, c), "Attribute");
        if (ownContent) om_NWSCopyContentToClipboard(scriptsDoc, actionElem);
    }
    return code;
}

void om_NWSRunElemActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matched) {
    if (!targetDoc || !matched || !scriptsDoc || !group || !om_ElementHasContent(targetDoc, matched)) return;
    for (F_ObjHandleT action = F_ApiGetId(scriptsDoc, group, FP_FirstChildElement); action;
         action = F_ApiGetId(scriptsDoc, action, FP_NextSiblingElement)) {
        IntT code = om_NWSReadElemAction(scriptsDoc, action, targetDoc, matched);
        if (code != NWElem::None) {
            NodeWizardQuery.elementAction = code;
            om_NWPerformElemAction(targetDoc, matched, scriptsDoc, action);
        }
        if (Cancelled()) return;
        if (code != NWElem::None && !om_ElementHasContent(targetDoc, matched)) return;
    }
}

void om_NWSRunAttrActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                          IntT attrIndex, IntT reportAttr) {
    if (!targetDoc || !matched || !scriptsDoc || !group || !om_ElementHasContent(targetDoc, matched)) return;
    for (F_ObjHandleT action = F_ApiGetId(scriptsDoc, group, FP_FirstChildElement); action;
         action = F_ApiGetId(scriptsDoc, action, FP_NextSiblingElement)) {
        IntT code = om_NWSReadAttrAction(scriptsDoc, action, targetDoc, matched);
        if (code >= NWAttr::MoveValuesToNamed && code <= NWAttr::PasteAtMatchedEnd &&
            om_XPathAxisOfExpression("", om_NWCompiledSequence(), 0) != XA_ATTRIBUTE) {
            code = NWAttr::None;
            ++NodeWizardQuery.attrFailures;
            if (reportAttr == 1)
                om_NWReportActionError(scriptsDoc, action, "", NWResult::NeedsAttributeStep, NWReportKind::Attribute);
        }
        if (code != NWAttr::None) {
            AttrActionCode = code;
            om_NWPerformAttrAction(targetDoc, matched, attrIndex, scriptsDoc, action, 0);
        }
        if (Cancelled()) return;
        if (!om_ElementHasContent(targetDoc, matched)) return;
    }
}

IntT om_NWSRunActionGroups(F_ObjHandleT scriptsDoc, F_ObjHandleT event, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                           IntT attrIndex, IntT reportElem, IntT reportAttr, IntT reportOther, F_ObjHandleT *newTarget) {
    *newTarget = 0;
    if (CancelFlag) return 0;
    NodeWizardOptions.reportElemErrors = reportElem;
    NodeWizardOptions.reportAttrErrors = reportAttr;
    for (F_ObjHandleT child = F_ApiGetId(scriptsDoc, event, FP_FirstChildElement); child;
         child = F_ApiGetId(scriptsDoc, child, FP_NextSiblingElement)) {
        bool ran = false;
        if (!Disabled(scriptsDoc, child)) {
            ElementFacts &facts = RunFacts[child];
            if (facts.group < 0) facts.group = GroupOf(facts.tag);
            ran = true;
            switch (facts.group) {
            case kElementGroup:
                om_NWSRunElemActions(scriptsDoc, child, targetDoc, matched);
                break;
            case kAttributeGroup:
                om_NWSRunAttrActions(scriptsDoc, child, targetDoc, matched, attrIndex, reportAttr);
                break;
            case kOtherGroup: {
                F_ObjHandleT switched = 0;
                om_NWSRunOtherActions(scriptsDoc, child, targetDoc, matched, reportOther, &switched);
                if (switched) {
                    *newTarget = switched;
                    targetDoc = switched;
                }
                break;
            }
            case kStringGroup:
                om_NWSRunStringOps(scriptsDoc, child, targetDoc, matched);
                break;
            case kNumericGroup:
                om_NWSRunNumericOps(scriptsDoc, child, targetDoc, matched);
                break;
            default:
                ran = false;
            }
        }
        if (Cancelled()) break;
        // Only a group that ran can have taken the matched element away.
        if (ran && !om_ElementHasContent(targetDoc, matched)) break;
    }
    return 0;
}

// ---- the event walk --------------------------------------------------------------------------

F_ObjHandleT om_NWSRunScriptEvents(F_ObjHandleT target, F_ObjHandleT scriptsDoc, F_ObjHandleT script,
                                   const std::string &scriptName, IntT eventNumber, IntT interactive) {
    StatusCode = 0;
    CancelFlag = 0;
    if (!target) return 0;
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

    om_NWSResetEventRegistry(0);
    RunFacts.clear();
    RunStaticOperands.clear();
    RunPrepared.clear();
    IntT move = kMoveDown;
    F_ObjHandleT cur = script ? F_ApiGetId(scriptsDoc, script, FP_FirstChildElement) : 0;
    IntT eventCounter = 0;
    for (long visits = 0; cur && cur != script && visits < kMaxVisits; ++visits) {
        IntT reached = move;
        bool stayHere = false;
        const std::string &tag = TagOf(scriptsDoc, cur);
        bool isEvent = om_NWSTagIs(tag, "NWScriptEvent");
        bool isSubEvent = om_NWSTagIs(tag, "SubEvent");
        if (reached != kMoveUp && isEvent) ++eventCounter;
        if ((isEvent || isSubEvent) && Disabled(scriptsDoc, cur)) {
            move = kMoveUp;
        } else if ((isEvent || isSubEvent) && (eventNumber <= 0 || eventNumber == eventCounter)) {
            F_ObjHandleT lastChild = F_ApiGetId(scriptsDoc, cur, FP_FirstChildElement);
            for (F_ObjHandleT c = lastChild; c; c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) lastChild = c;
            bool subEventLast = lastChild && om_NWSTagIs(TagOf(scriptsDoc, lastChild), "SubEvent");

            IntT prepared = PrepareOrRestore(scriptsDoc, cur, scriptName, context, interactive, reached == kMoveUp);
            if (NodeWizardRun.sequence > XPathLastSequenceNumber) {
                if (interactive == 1) al_ok2("NWS_GEN_MSG_18");
                CancelFlag = 1;
                return target;
            }
            if (reached != kMoveUp) {
                std::vector<F_ObjHandleT> elems, docs;
                std::vector<IntT> attrs;
                F_ObjHandleT startElem = 0, startDoc = target;
                IntT startAttr = -1;
                if (isEvent) {
                    startElem = context && om_ElementHasContent(target, context) ? context
                                                                                  : om_ElementHighestLevel(target, "Main", 0);
                } else {
                    IntT parent = om_NWSFindEventMatches(F_ApiGetId(scriptsDoc, cur, FP_ParentElement));
                    if (parent < 0 || ScriptEventRegistry[static_cast<size_t>(parent)].empty()) {
                        al_ok(kCriticalOne);
                        CancelFlag = 1;
                        return target;
                    }
                    const ScriptEventMatches &p = ScriptEventRegistry[static_cast<size_t>(parent)];
                    startElem = p.elems[p.head];
                    startAttr = p.attrs[p.head];
                    startDoc = p.docs[p.head];
                }
                if (prepared == 1) {
                    IntT sequence = NodeWizardRun.sequence;
                    om_XPathResetSequence(sequence, 1);
                    if (NodeWizardOptions.parametersInXPath == 1) {
                        std::vector<std::string> undefined = om_XPathSubstituteParameters(sequence);
                        if (interactive == 1 && reportOther == 1)
                            for (size_t i = 0; i < undefined.size(); ++i)
                                om_NWReportActionError(scriptsDoc, cur, "", NWResult::UndefinedParameter,
                                                       NWReportKind::Other);
                    }
                    F_ObjHandleT scope = XPATH_SCOPE_MAIN_FLOW;
                    if (NodeWizardOptions.allFlows == 1) {
                        startElem = 0;
                        scope = XPATH_SCOPE_EVERY_FLOW;
                    }
                    std::vector<F_ObjHandleT> found;
                    xpath_MatchAll(startDoc, startElem, startAttr, sequence, scope, NodeWizardOptions.maxMatches, found,
                                   &attrs, &docs);
                    elems.swap(found);
                    if (attrs.size() < elems.size()) attrs.resize(elems.size(), -1);
                    if (docs.size() < elems.size()) docs.resize(elems.size(), startDoc);
                    size_t skip = std::min<size_t>(elems.size(), static_cast<size_t>(NodeWizardRun.skipFirstMatches));
                    elems.erase(elems.begin(), elems.begin() + static_cast<long>(skip));
                    attrs.erase(attrs.begin(), attrs.begin() + static_cast<long>(skip));
                    docs.erase(docs.begin(), docs.begin() + static_cast<long>(skip));
                    if (NodeWizardOptions.maxMatches > 0 && elems.size() > static_cast<size_t>(NodeWizardOptions.maxMatches)) {
                        elems.resize(static_cast<size_t>(NodeWizardOptions.maxMatches));
                        attrs.resize(elems.size());
                        docs.resize(elems.size());
                    }
                    if (elems.size() > 1) om_NWSSortMatches(scriptsDoc, cur, elems, docs, attrs);
                }
                om_NWSStoreEventMatches(cur, elems, attrs, docs);
            }
            IntT index = om_NWSFindEventMatches(cur);
            if (index < 0) {
                al_ok(kCriticalTwo);
                CancelFlag = 1;
                return target;
            }
            ScriptEventMatches *record = &ScriptEventRegistry[static_cast<size_t>(index)];
            if (reached == kMoveUp && !record->empty()) ++record->head;
            if (!record->empty()) {
                F_ObjHandleT switched = 0;
                om_NWSRunActionGroups(scriptsDoc, cur, record->docs[record->head], record->elems[record->head],
                                      record->attrs[record->head], reportElem, reportAttr, reportOther, &switched);
                if (switched) {
                    target = switched;
                    context = 0;
                }
                if (subEventLast) {
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
        if (!stayHere) cur = WalkStep(scriptsDoc, cur, &move);
    }
    om_NWSResetEventRegistry(0);
    return target;
}

namespace {
// What a script run learnt of its elements and events; kept until the next run clears them at its
// start.
[[maybe_unused]] const bool resetScriptRunCaches = om_RunStateRegister("script run caches", RunStateKind::Run, [] {
    RunFacts.clear();
    RunStaticOperands.clear();
    RunPrepared.clear();
});
}  // namespace
