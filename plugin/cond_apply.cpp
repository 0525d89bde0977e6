// Applying and clearing conditions (see cond_apply.h). A rule matches an element when its
// wrapped expression, "self::node()[...]", run from the element finds the element itself; the
// first active matching rule gives the element its condition tags.
#include "plugin/cond_apply.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/books.h"
#include "lib/dialogs/condition_removal.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/shell_records.h"
#include "lib/state/cond_settings.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "plugin/cond_settings.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

namespace {

// Set when the user confirmed a cancel inside a document run, so that a book run stops too.
bool gDocRunCancelled = false;

// A cancel seen during one document's rule run.
[[maybe_unused]] const bool resetConditionRunCancel =
    om_RunStateRegister("condition run cancel", RunStateKind::Run, [] {
        gDocRunCancelled = false;
    });

std::string CancelQuestion() { return PluginGlobals.cancelConfirmText; }

// The user's expression of a rule (its wrapped form without the wrapping).
std::string UserExpression(const std::string &wrapped) {
    const std::string head = "self::node()[";
    if (wrapped.size() > head.size() && wrapped.compare(0, head.size(), head) == 0 && wrapped.back() == ']')
        return wrapped.substr(head.size(), wrapped.size() - head.size() - 1);
    return wrapped;
}

// The warning about a missing condition tag, as its prompt setting asks (once: the follow-up
// message too, and no further warnings).
void WarnMissingTag(IntT &setting, const std::string &name, const std::string &expression, const char *followUp) {
    if (setting != kPromptAlways && setting != kPromptOnce) return;
    al_ok(qv::LangMessageFormatted("CM_GEN_MSG_9", {name, expression}).c_str());
    if (setting == kPromptOnce) {
        al_ok2(followUp);
        setting = kPromptAskedOnce;
    }
}

std::vector<IntT> ReadInts(F_IntsT *v) {
    std::vector<IntT> out(v->val, v->val + v->len);
    F_ApiFreeIntList(v);
    return out;
}

// The tags of `have` followed by those of `add` it lacks.
std::vector<IntT> Union(std::vector<IntT> have, const std::vector<IntT> &add) {
    for (IntT t : add)
        if (std::find(have.begin(), have.end(), t) == have.end()) have.push_back(t);
    return have;
}

void SetTextTags(F_ObjHandleT doc, const F_TextRangeT &range, std::vector<IntT> tags) {
    F_PropValT pv{};
    pv.propIdent = FP_InCond;
    pv.propVal.valType = FT_Ints;
    pv.propVal.isval.len = static_cast<UIntT>(tags.size());
    pv.propVal.isval.val = tags.data();
    F_ApiSetTextPropVal(doc, &range, &pv);
}

std::vector<IntT> TextTagsAt(F_ObjHandleT doc, const F_TextLocT &loc) {
    F_PropValT pv = F_ApiGetTextPropVal(doc, &loc, FP_InCond);
    return ReadInts(&pv.propVal.isval);
}

// Adds the tags to every run of the range, each run keeping the tags it already carries.
void AddTextTags(F_ObjHandleT doc, const F_TextRangeT &range, const std::vector<IntT> &tags) {
    F_TextItemsT items = F_ApiGetTextForRange(doc, &range, FTI_String | FTI_LineEnd | FTI_PgfBegin | FTI_CharPropsChange);
    F_ObjHandleT pgf = range.beg.objId;
    for (UIntT i = 0; i < items.len; ++i) {
        const F_TextItemT &it = items.val[i];
        IntT len = 0;
        if (it.dataType == FTI_PgfBegin) pgf = it.idata;
        else if (it.dataType == FTI_String) len = static_cast<IntT>(Utf8CharCount(it.sdata ? it.sdata : ""));
        else if (it.dataType == FTI_LineEnd) len = 1;
        if (len == 0) continue;
        F_TextRangeT run{{pgf, it.offset}, {pgf, it.offset + len}};
        SetTextTags(doc, run, Union(TextTagsAt(doc, run.beg), tags));
    }
    F_ApiDeallocateTextItems(&items);
}

// The rule table, read first with the load flag; false when there is none. Runs over many
// elements ask once, so a missing settings document is reported once, not per element.
bool RulesReady(IntT load) {
    if (!AutoApplyRules.loaded && load == 1) om_CondLoadRules(1);
    return AutoApplyRules.loaded;
}

}  // namespace

F_ObjHandleT om_CondCreateConditionTag(F_ObjHandleT doc, const char *name) {
    F_ObjHandleT tag = F_ApiNewNamedObject(doc, FO_CondFmt, name);
    if (!tag) return 0;
    if (F_ObjHandleT red = F_ApiGetNamedObject(doc, FO_Color, "Red")) F_ApiSetId(doc, tag, FP_CondFmtColor, red);
    return tag;
}

void om_CondApplyRule(F_ObjHandleT doc, F_ObjHandleT elem, IntT ruleIndex) {
    if (!doc || !elem || ruleIndex < 0 || static_cast<size_t>(ruleIndex) >= AutoApplyRules.rules.size()) return;
    const AutoApplyRule &rule = AutoApplyRules.rules[static_cast<size_t>(ruleIndex)];
    std::vector<IntT> tags;
    for (const std::string &name : rule.conditions) {
        F_ObjHandleT tag = F_ApiGetNamedObject(doc, FO_CondFmt, name.c_str());
        if (!tag) {
            if (rule.createConditions) {
                tag = om_CondCreateConditionTag(doc, name.c_str());
                WarnMissingTag(CondTriggerSettings.warnCreatedTag, name, UserExpression(rule.expression),
                               "CM_GEN_MSG_10");
            } else {
                WarnMissingTag(CondTriggerSettings.warnMissingTag, name, UserExpression(rule.expression),
                               "CM_GEN_MSG_11");
            }
        }
        if (tag && std::find(tags.begin(), tags.end(), static_cast<IntT>(tag)) == tags.end())
            tags.push_back(static_cast<IntT>(tag));
    }
    F_ObjHandleT target = elem;
    if (rule.parentToo)
        if (F_ObjHandleT parent = F_ApiGetId(doc, elem, FP_ParentElement)) target = parent;

    // A table row carries its conditions itself, not on the text of its cells.
    if (F_ApiGetInt(doc, target, FP_ElementType) == FV_FO_TBL_ROW) {
        F_ObjHandleT row = F_ApiGetId(doc, target, FP_Object);
        if (!rule.clearExisting) {
            F_IntsT have = F_ApiGetInts(doc, row, FP_InCond);
            tags = Union(ReadInts(&have), tags);
        }
        F_IntsT list{static_cast<UIntT>(tags.size()), tags.data()};
        F_ApiSetInts(doc, row, FP_InCond, &list);
        return;
    }
    F_TextRangeT range{};
    if (F_ApiGetId(doc, target, FP_ParentElement)) {
        range = ElementTextRange(doc, target, LocElement);
    } else {
        om_ElementSelect(doc, target, LocElement);
        range = F_ApiGetTextRange(0, doc, FP_TextSelection);
    }
    if (rule.clearExisting) SetTextTags(doc, range, tags);
    else AddTextTags(doc, range, tags);
}

IntT om_CondApplyRulesToElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT load, IntT keepSelection) {
    if (!doc) doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (doc && !elem) elem = om_ElementSelected(doc, 1, 1);
    if (!doc || !elem) return 0;
    if (!RulesReady(load)) return 0;
    F_TextRangeT selection{};
    if (keepSelection) selection = F_ApiGetTextRange(0, doc, FP_TextSelection);
    IntT result = 0;
    for (size_t i = 0; i < AutoApplyRules.rules.size(); ++i) {
        AutoApplyRule &rule = AutoApplyRules.rules[i];
        if (!rule.active) continue;
        IntT seq = qv_CondRuleSequence(rule);
        if (seq <= 0) continue;
        om_XPathResetSequence(seq, 1);
        if (om_XPathFindNextMatch(doc, elem, seq, 0) != elem) continue;
        om_CondApplyRule(doc, elem, static_cast<IntT>(i));
        result = AutoApplyRules.rules[i].conditions.empty() ? 0 : 1;
        break;
    }
    if (keepSelection) F_ApiSetTextRange(0, doc, FP_TextSelection, &selection);
    return result;
}

IntT om_CondApplyRulesToSubtree(F_ObjHandleT doc, F_ObjHandleT start, IntT load, IntT keepSelection) {
    if (!doc || !start || !RulesReady(load)) return 0;
    F_ObjHandleT parent = F_ApiGetId(doc, start, FP_ParentElement);
    ElementWalkSaved outer;
    om_ElementWalkStart();
    IntT count = 0;
    F_ObjHandleT e = start;
    do {
        if (ElementWalkState.lastMove != WalkUp) {
            ElementWalkSaved walk;  // the rules' runs and edits leave this walk's state alone
            if (om_CondApplyRulesToElement(doc, e, load, keepSelection) == 1) ++count;
        }
        e = om_ElementNextInDocOrder(doc, e);
    } while (e && e != start && e != parent);
    return count;
}

IntT om_CondApplyRulesToFlow(F_ObjHandleT doc, F_ObjHandleT flow, IntT load) {
    if (!flow) return StatusNotPossible;
    return om_CondApplyRulesToSubtree(doc, F_ApiGetId(doc, flow, FP_HighestLevelElement), load, 0);
}

IntT om_CondApplyRulesToDoc(F_ObjHandleT doc, IntT load, IntT report) {
    CancelFlag = 0;
    gDocRunCancelled = false;
    if (!doc) doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) return StatusNoDocument;
    if (!RulesReady(load)) return 0;
    F_TextRangeT selection = F_ApiGetTextRange(0, doc, FP_TextSelection);
    if (CondTriggerSettings.showAllFirst == 1) F_ApiSetInt(0, doc, FP_ShowAll, 1);
    // Missing tags are not reported during a whole-document run.
    IntT savedWarning = CondTriggerSettings.warnMissingTag;
    CondTriggerSettings.warnMissingTag = kPromptNever;
    IntT count = 0;
    for (F_ObjHandleT flow = F_ApiGetId(0, doc, FP_FirstFlowInDoc); flow;
         flow = F_ApiGetId(doc, flow, FP_NextFlowInDoc)) {
        if (!CancelFlag && om_CheckUserCancel(CancelQuestion().c_str()) == 1) {
            CancelFlag = 1;
            gDocRunCancelled = true;
            CondTriggerSettings.warnMissingTag = savedWarning;
            return 0;
        }
        count += om_CondApplyRulesToFlow(doc, flow, load);
    }
    F_ApiSetTextRange(0, doc, FP_TextSelection, &selection);
    F_ApiScrollToText(doc, &selection);
    CondTriggerSettings.warnMissingTag = savedWarning;
    if (F_ApiGetInt(0, doc, FP_ShowAll) == 0) {  // a redisplay of the conditional text
        IntT second = F_ApiGetInt(0, doc, FP_CondDisplay);
        F_ApiSetInt(0, doc, FP_ShowAll, 1);
        F_ApiSetInt(0, doc, FP_CondDisplay, second ? 0 : 1);
        F_ApiSetInt(0, doc, FP_ShowAll, 0);
        F_ApiSetInt(0, doc, FP_CondDisplay, second);
    }
    if (report) al_ok(qv::LangMessageFormatted("CM_GEN_MSG_7", {static_cast<long long>(count)}).c_str());
    return count;
}

IntT om_CondApplyRulesToBook(F_ObjHandleT book, IntT load, IntT report) {
    if (!book) return 0;
    CancelFlag = 0;
    if (!RulesReady(load)) return 0;
    om_DlgOpenStatus(kDlgStatusBox, "Applying Conditional Text", 0, kCondTable);
    om_DlgSetStatusLines("Applying conditional text, please wait...", "", "", "Press Esc to cancel.");
    std::string processing = qv::LangTranslate(kCondTable, "Processing:", false, 1);
    IntT count = 0;
    std::vector<std::string> notOpen;
    for (F_ObjHandleT comp : BookDocComponents(book)) {
        std::string name = DocPathFileName(HostGetString(book, comp, FP_Path));
        if (F_ObjHandleT doc = om_BookComponentFindDoc(book, comp)) {
            om_DlgSetStatusLines("*", (processing + "  " + name).c_str(), "*", "*");
            count += om_CondApplyRulesToDoc(doc, load, 0);
            F_ApiSetInt(0, doc, FP_IsInFront, 1);
        } else {
            notOpen.push_back(name);
        }
        // A cancel confirmed inside the document run ends the book run as well.
        if (!gDocRunCancelled && !CancelFlag && om_CheckUserCancel(CancelQuestion().c_str()) == 1)
            gDocRunCancelled = true;
        if (gDocRunCancelled) {
            CancelFlag = 1;
            al_ok2("CM_GEN_MSG_6");
            om_DlgCloseStatus();
            return 0;
        }
    }
    F_ApiSetInt(0, book, FP_IsInFront, 1);
    om_DlgCloseStatus();
    if (report) {
        al_ok(qv::LangMessageFormatted("CM_GEN_MSG_7", {static_cast<long long>(count)}).c_str());
        if (!notOpen.empty()) {
            std::string text = qv::LangMessage("CM_GEN_MSG_8") + "\n\n";
            for (const std::string &n : notOpen) text += n + "\n";
            al_ok(text.c_str());
        }
    }
    return 0;
}

void om_CondClearAllConditions(F_ObjHandleT docOrBook, IntT kind) {
    if (!docOrBook) {
        kind = 1;
        docOrBook = om_DocActivate(0);
        if (!docOrBook) {
            kind = 2;
            docOrBook = om_BookActive();
        }
        if (!docOrBook) {
            al_ok2("QVRN_GEN_MSG_6");
            return;
        }
    }
    if (kind == 1) om_DocRemoveConditions(docOrBook, 1);
    else om_BookRemoveConditions(docOrBook, 1, 1);
}
