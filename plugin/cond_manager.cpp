// The Condition Manager: the modal dialog that edits the condition settings document's rules and
// trigger settings. Every change goes straight into the (invisibly open) settings document; OK
// saves it and reads the settings again, Cancel closes it unsaved, so nothing of the session
// changes.
#include <algorithm>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/shell_records.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "plugin/cond_settings.h"
#include "resources/dialog_items.h"
#include "xpath/xpath.h"

namespace {

// The trigger check boxes: item, settings attribute, field.
struct TriggerBox {
    IntT item;
    const char *attr;
    IntT CondTriggerSettingsT::*field;
};
const TriggerBox kTriggerBoxes[] = {
    {CondItem::InsertWrap, "Setting14", &CondTriggerSettingsT::afterInsertWrap},
    {CondItem::EditAttrs, "Setting15", &CondTriggerSettingsT::afterAttrEdit},
    {CondItem::OpenFm, "Setting16", &CondTriggerSettingsT::afterOpenDoc},
    {CondItem::OpenMarkup, "Setting20", &CondTriggerSettingsT::afterOpenMarkup},
    {CondItem::ImportEdds, "Setting17", &CondTriggerSettingsT::afterImportDefs},
    {CondItem::UpdateBooks, "Setting18", &CondTriggerSettingsT::afterBookUpdate},
};

// The rule check boxes and the rule attribute each writes.
struct RuleBox {
    IntT item;
    const char *attr;
};
const RuleBox kRuleBoxes[] = {
    {CondItem::RuleActive, "SettingIsActive"},
    {CondItem::ClearExisting, "ClearExistingConditions"},
    {CondItem::CreateConditions, "CreateConditions"},
    {CondItem::ParentToo, "DoParentToo"},
};

constexpr const char *kRuleTag = "AutoApplicationSetting";
constexpr const char *kCritical = "A critical error occurred opening the dialog box. Please contact Orle Meadow.";

F_ObjHandleT Dlg() { return DialogHandles[kDlgConditionManager]; }

F_ObjHandleT Container(F_ObjHandleT doc) {
    return om_ElementFindByAttr(doc, 0, "AutoApplicationSettings", "*", "*", "");
}

// The rule elements of the container, in document order.
std::vector<F_ObjHandleT> RuleElements(F_ObjHandleT doc) {
    std::vector<F_ObjHandleT> out;
    F_ObjHandleT container = Container(doc);
    for (F_ObjHandleT c = container ? F_ApiGetId(doc, container, FP_FirstChildElement) : 0; c;
         c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        if (HostElementDefName(doc, c) == kRuleTag) out.push_back(c);
    return out;
}

std::string Expression(F_ObjHandleT doc, F_ObjHandleT rule) {
    std::string v;
    om_AttrGetValue(doc, rule, "Expression", &v);
    return v;
}

IntT IsTrue(F_ObjHandleT doc, F_ObjHandleT rule, const char *attr) {
    std::string v;
    om_AttrGetValue(doc, rule, attr, &v);
    return v == "True" ? 1 : 0;
}

// The list item and the text box of an operation's kind (2 expressions, 1 conditions).
IntT ListItem(IntT kind) { return kind == 2 ? CondItem::ExprList : CondItem::CondList; }
IntT TextItem(IntT kind) { return kind == 2 ? CondItem::ExprText : CondItem::CondText; }

IntT Selected(F_ObjHandleT dlg, IntT item, size_t count) {
    IntT i = om_DlgGetState(dlg, item);
    return i >= 0 && static_cast<size_t>(i) < count ? i : -1;
}

// Sets a list's entries and its selection (-1 none; clamped to the last entry).
void SetList(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &labels, IntT selected) {
    qv::DlgSetLabels(dlg, item, labels);
    IntT n = static_cast<IntT>(labels.size());
    om_DlgSetState(dlg, item, n == 0 || selected < 0 ? -1 : std::min(selected, n - 1));
}

// Compiles an expression of a rule as the rules run it, with error reports; 1 when it compiles.
bool ExpressionCompiles(const std::string &text) {
    std::string wrapped = text;
    om_CondWrapAsSelfPredicate(&wrapped);
    F_ApiSaveClipboard();
    IntT seq = om_XPathCompile(wrapped, 1);
    F_ApiRestoreClipboard();
    return seq > 0 && seq <= XPathLastSequenceNumber;
}

void SetConditions(F_ObjHandleT doc, F_ObjHandleT rule, const std::vector<std::string> &names) {
    if (rule) om_AttrSetValues(doc, rule, "Conditions", -1, names, 0);
}

}  // namespace

F_ObjHandleT om_CondCurrentRuleElement() {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(0);
    if (!dlg || !doc) return 0;
    std::vector<std::string> labels = qv::DlgLabels(dlg, CondItem::ExprList);
    IntT i = Selected(dlg, CondItem::ExprList, labels.size());
    if (i < 0) return 0;
    // The expression is compared exactly: "*" is a rule's text here, not a wildcard.
    for (F_ObjHandleT r : RuleElements(doc))
        if (Expression(doc, r) == labels[static_cast<size_t>(i)]) return r;
    return 0;
}

void om_CondFillManagerDialog(IntT initial, IntT selectFirstCondition) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(0);
    if (!dlg || !doc) return;
    if (initial) {
        for (const TriggerBox &b : kTriggerBoxes) om_DlgSetChecked(dlg, b.item, CondTriggerSettings.*b.field);
        om_DlgSetPromptCheckBox(dlg, CondItem::WarnMissing, CondTriggerSettings.warnMissingTag);
        om_DlgSetPromptCheckBox(dlg, CondItem::WarnCreated, CondTriggerSettings.warnCreatedTag);
        om_DlgSetChecked(dlg, CondItem::ShowAllFirst, CondTriggerSettings.showAllFirst);
    }
    std::vector<F_ObjHandleT> rules = RuleElements(doc);
    std::vector<std::string> expressions;
    for (F_ObjHandleT r : rules) expressions.push_back(Expression(doc, r));
    SetList(dlg, CondItem::ExprList, expressions, initial ? 0 : om_DlgGetState(dlg, CondItem::ExprList));
    if (!rules.empty()) {
        F_ObjHandleT rule = om_CondCurrentRuleElement();
        std::vector<std::string> conditions = rule ? om_AttrGetValues(doc, rule, "Conditions", -1, 0, 0)
                                                   : std::vector<std::string>{};
        SetList(dlg, CondItem::CondList, conditions,
                selectFirstCondition ? 0 : om_DlgGetState(dlg, CondItem::CondList));
        IntT e = Selected(dlg, CondItem::ExprList, expressions.size());
        om_DlgSetText(dlg, CondItem::ExprText, e >= 0 ? expressions[static_cast<size_t>(e)].c_str() : "", "");
        IntT c = Selected(dlg, CondItem::CondList, conditions.size());
        if (c >= 0) om_DlgSetText(dlg, CondItem::CondText, conditions[static_cast<size_t>(c)].c_str(), "");
        for (const RuleBox &b : kRuleBoxes) om_DlgSetChecked(dlg, b.item, rule ? IsTrue(doc, rule, b.attr) : 0);
    } else {
        SetList(dlg, CondItem::ExprList, {}, -1);
        SetList(dlg, CondItem::CondList, {}, -1);
        om_DlgSetChecked(dlg, CondItem::RuleActive, 0);
        om_DlgSetChecked(dlg, CondItem::ClearExisting, 0);
    }
    bool active = om_DlgIsChecked(dlg, CondItem::RuleActive) == 1;
    for (IntT item = CondItem::ClearExisting; item <= CondItem::CondDown; ++item) {
        if (active) om_DlgEnable(dlg, item);
        else om_DlgDisable(dlg, item);
    }
}

void om_CondOpenManagerDialog(IntT modeless, IntT translate) {
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "qv_DialogConditionManager");
    if (!dlg) {
        al_ok(kCritical);
        CancelFlag = 1;
        return;
    }
    DialogHandles[kDlgConditionManager] = dlg;
    if (!om_CondOpenSettingsDoc(1)) {
        al_ok2("CM_GEN_MSG_1");
        CancelFlag = 1;
        F_ApiClose(dlg, 0);
        DialogHandles[kDlgConditionManager] = 0;
        return;
    }
    om_CondFillManagerDialog(1, 1);
    om_XPathCheckNodeLimit();
    om_DlgStripTildes(dlg);
    if (translate)
        om_LangTranslateDialog(dlg, "Quorvane Condition Management Settings", kCondTable, 1, 0, 1, 0, 1, 1);
    if (modeless) {
        F_ApiModelessDialog(kDlgConditionManager, dlg);
        return;
    }
    F_ApiModalDialog(kDlgConditionManager, dlg);
    F_ApiClose(dlg, 0);
    DialogHandles[kDlgConditionManager] = 0;
    om_CondCloseSettingsDoc(0);
}

void om_CondAddSettingItem(IntT kind) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    std::string text = qv::DlgText(dlg, TextItem(kind));
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListItem(kind));
    if (text.empty()) return;
    if (std::find(labels.begin(), labels.end(), text) != labels.end()) {
        al_ok2("CM_GEN_MSG_2");
        return;
    }
    labels.push_back(text);
    if (kind == 2) {
        if (!ExpressionCompiles(text)) {
            al_ok2("CM_GEN_MSG_3");
            return;
        }
        F_ObjHandleT rule = om_ElementInsertNew(doc, Container(doc), kRuleTag, LocContentEnd);
        if (!rule) {
            al_ok2("CM_GEN_MSG_4");
            return;
        }
        om_AttrSetValue(doc, rule, "Expression", text);
        om_AttrSetValue(doc, rule, "SettingIsActive", "True");
        om_AttrSetValue(doc, rule, "ClearExistingConditions", "True");
        om_AttrSetValue(doc, rule, "CreateConditions", "False");
        om_AttrSetValue(doc, rule, "DoParentToo", "False");
    } else {
        F_ObjHandleT rule = om_CondCurrentRuleElement();
        if (!rule) return;
        SetConditions(doc, rule, labels);
    }
    SetList(dlg, ListItem(kind), labels, static_cast<IntT>(labels.size()) - 1);
    om_CondFillManagerDialog(0, 0);
}

void om_CondEditSettingItem(IntT kind) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListItem(kind));
    IntT i = Selected(dlg, ListItem(kind), labels.size());
    if (i < 0) return;
    auto at = static_cast<size_t>(i);
    std::string title = qv::LangTranslate(kCondTable, kind == 2 ? "Edit XPath expression..." : "Edit condition...",
                                          false, 1);
    StringT answer = nullptr;
    IntT rc = F_ApiPromptString(&answer, title.c_str(), labels[at].c_str());
    std::string text(qv::View(answer));
    F_ApiDeallocateString(&answer);
    if (rc != 0 || text.empty()) return;
    for (size_t k = 0; k < labels.size(); ++k)
        if (k != at && labels[k] == text) {
            al_ok2("CM_GEN_MSG_2");
            return;
        }
    if (kind == 2) {
        if (!ExpressionCompiles(text)) {
            al_ok2("CM_GEN_MSG_3");
            return;
        }
        F_ObjHandleT rule = om_CondCurrentRuleElement();  // found by the old text, still selected
        if (!rule) return;
        om_AttrSetValue(doc, rule, "Expression", text);
        labels[at] = text;
        SetList(dlg, ListItem(kind), labels, i);
    } else {
        labels[at] = text;
        SetList(dlg, ListItem(kind), labels, i);
        SetConditions(doc, om_CondCurrentRuleElement(), labels);
    }
    om_CondFillManagerDialog(0, 0);
}

void om_CondDeleteSettingItem(IntT kind) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListItem(kind));
    IntT i = Selected(dlg, ListItem(kind), labels.size());
    if (i < 0) return;
    if (kind == 2) {
        if (F_ObjHandleT rule = om_CondCurrentRuleElement()) F_ApiDelete(doc, rule);
        om_CondFillManagerDialog(0, 1);
    } else {
        labels.erase(labels.begin() + i);
        SetList(dlg, ListItem(kind), labels, i);
        SetConditions(doc, om_CondCurrentRuleElement(), labels);
        om_CondFillManagerDialog(0, 0);
    }
}

void om_CondMoveSettingItem(IntT kind, IntT direction) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListItem(kind));
    IntT n = static_cast<IntT>(labels.size());
    IntT i = Selected(dlg, ListItem(kind), labels.size());
    if (i < 0 || (direction == 1 && i == 0) || (direction != 1 && i >= n - 1)) return;
    IntT j = direction == 1 ? i - 1 : i + 1;
    if (kind == 2) {
        F_ObjHandleT rule = om_CondCurrentRuleElement();
        if (!rule) return;
        F_ApiSaveClipboard();
        om_ElementMove(doc, rule, direction == 1 ? 1 : 2);
        F_ApiRestoreClipboard();
        om_DlgSetState(dlg, ListItem(kind), j);
    } else {
        std::swap(labels[static_cast<size_t>(i)], labels[static_cast<size_t>(j)]);
        SetList(dlg, ListItem(kind), labels, j);
        SetConditions(doc, om_CondCurrentRuleElement(), labels);
    }
    om_CondFillManagerDialog(0, 0);
}

void om_CondToggleRuleFlag(IntT item) {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    for (const RuleBox &b : kRuleBoxes)
        if (b.item == item) {
            if (F_ObjHandleT rule = om_CondCurrentRuleElement())
                om_AttrSetValue(doc, rule, b.attr, om_DlgIsChecked(dlg, item) ? "True" : "False");
            return;
        }
}

void om_CondSaveTriggerSettings() {
    F_ObjHandleT dlg = Dlg();
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!dlg || !doc) return;
    for (const TriggerBox &b : kTriggerBoxes)
        om_PrefWriteDocSetting(doc, "SettingsGroupA", b.attr, om_DlgIsChecked(dlg, b.item), "", kSettingFlag);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting12", om_DlgGetState(dlg, CondItem::WarnMissing), "",
                           kSettingPrompt);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting13", om_DlgGetState(dlg, CondItem::WarnCreated), "",
                           kSettingPrompt);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting19", om_DlgIsChecked(dlg, CondItem::ShowAllFirst), "",
                           kSettingFlag);
    om_CondLoadTriggerSettings();
    om_CondLoadRules(0);
    om_CondCloseSettingsDoc(1);
}
