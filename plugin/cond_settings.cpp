// Condition settings document, trigger settings and rule table (see cond_settings.h).
#include "plugin/cond_settings.h"

#include <cstdlib>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/settings_doc.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/lists.h"
#include "lib/translation/lang.h"
#include "xpath/xpath.h"

namespace {

std::string ClientDir() {
    StringT s = F_ApiClientDir();
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// The highest-level element of the document's main flow.
F_ObjHandleT RootOf(F_ObjHandleT doc) {
    F_ObjHandleT flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    return flow ? F_ApiGetId(doc, flow, FP_HighestLevelElement) : 0;
}

// The first element with the tag that has the attribute.
F_ObjHandleT FindSettingElement(F_ObjHandleT doc, const std::string &elementName, const std::string &attrName) {
    F_ApiSaveClipboard();
    F_ObjHandleT e = om_XPathFindFirstMatch(doc, RootOf(doc), "//" + elementName + "[@" + attrName + "]", nullptr,
                                            nullptr, 1);
    F_ApiRestoreClipboard();
    return e;
}

IntT TrueFlag(F_ObjHandleT doc, F_ObjHandleT elem, const char *attr) {
    std::string v;
    om_AttrGetValue(doc, elem, attr, &v);
    return v == "True" ? 1 : 0;
}

// Trigger settings: attribute, reading kind, the field.
struct TriggerRow {
    const char *attr;
    IntT kind;
    IntT CondTriggerSettingsT::*field;
};
const TriggerRow kTriggerRows[] = {
    {"Setting12", kSettingPrompt, &CondTriggerSettingsT::warnMissingTag},
    {"Setting13", kSettingPrompt, &CondTriggerSettingsT::warnCreatedTag},
    {"Setting14", kSettingFlag, &CondTriggerSettingsT::afterInsertWrap},
    {"Setting15", kSettingFlag, &CondTriggerSettingsT::afterAttrEdit},
    {"Setting16", kSettingFlag, &CondTriggerSettingsT::afterOpenDoc},
    {"Setting20", kSettingFlag, &CondTriggerSettingsT::afterOpenMarkup},
    {"Setting17", kSettingFlag, &CondTriggerSettingsT::afterImportDefs},
    {"Setting18", kSettingFlag, &CondTriggerSettingsT::afterBookUpdate},
    {"Setting19", kSettingFlag, &CondTriggerSettingsT::showAllFirst},
};

}  // namespace

std::string qv_CondSettingsPath() {
    if (!SettingsFiles.condSettings.empty()) return SettingsFiles.condSettings;  // set up at start-up
    std::string dir = ClientDir();
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    return dir + kCondSettingsFileName;
}

F_ObjHandleT om_CondOpenSettingsDoc(IntT report) {
    std::string path = qv_CondSettingsPath();
    F_ObjHandleT doc = om_DocFindByPath(path);
    if (!doc) doc = om_DocOpen(path.c_str(), 0, 0, 1, 1, 1, 1);
    if (!doc) {
        if (report) al_ok((qv::LangMessage("CM_GEN_MSG_1") + "\n\nExpected path: " + path).c_str());
        return 0;
    }
    F_ApiSetInt(0, doc, FP_IsOnScreen, 0);
    return doc;
}

void om_CondCloseSettingsDoc(IntT save) {
    F_ObjHandleT doc = om_DocFindByPath(qv_CondSettingsPath());
    if (!doc) return;
    if (save) om_DocSave(doc, "", -1, 1, 0, 0);
    F_ApiClose(doc, 1);
}

IntT om_PrefReadDocSetting(F_ObjHandleT doc, const std::string &elementName, const std::string &attrName,
                           std::string *text, IntT kind) {
    F_ObjHandleT e = FindSettingElement(doc, elementName, attrName);
    if (!e) {
        if (kind == kSettingText && text) *text = EmptySentinel;
        return 2;
    }
    std::string v;
    om_AttrGetValue(doc, e, attrName, &v);
    switch (kind) {
    case kSettingFlag: return v == "True" ? 1 : v == "False" ? 0 : 2;
    case kSettingNumber: return om_SettingNumberOf(v);
    case kSettingText:
        if (text) *text = v.empty() ? std::string(EmptySentinel) : v;
        return 0;
    case kSettingPrompt: return om_SettingPromptOf(v);
    default: return 2;
    }
}

IntT om_PrefWriteDocSetting(F_ObjHandleT doc, const std::string &elementName, const std::string &attrName,
                            IntT value, const std::string &text, IntT kind) {
    F_ObjHandleT e = FindSettingElement(doc, elementName, attrName);
    std::string v;
    if (!e || !om_SettingStoredText(kind, value, text, &v)) return 0;
    om_AttrSetValue(doc, e, attrName, v);
    return 1;
}

void om_CondLoadTriggerSettings() {
    F_ObjHandleT doc = om_CondOpenSettingsDoc(0);
    if (!doc) return;
    for (const TriggerRow &r : kTriggerRows) {
        IntT v = om_PrefReadDocSetting(doc, "SettingsGroupA", r.attr, nullptr, r.kind);
        CondTriggerSettings.*r.field = r.kind == kSettingFlag ? (v == 1 ? 1 : 0) : v;
    }
}

void om_CondAllocRules(IntT n) {
    if (AutoApplyRules.loaded) om_CondFreeRules();
    AutoApplyRules.rules.assign(static_cast<size_t>(n > 0 ? n : 0), AutoApplyRule{});
    AutoApplyRules.loaded = true;
}

IntT om_CondFreeRules() {
    if (!AutoApplyRules.loaded) {
        StatusCode = StatusCannotDelete;
        return StatusCannotDelete;
    }
    AutoApplyRules.rules.clear();
    AutoApplyRules.loaded = false;
    return 0;
}

void om_CondWrapAsSelfPredicate(std::string *text) {
    if (text) *text = "self::node()[" + *text + "]";
}

void om_CondLoadRules(IntT closeFlag) {
    CancelFlag = 0;
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    if (!doc) {
        al_ok2("CM_GEN_MSG_5");
        CancelFlag = 1;
        return;
    }
    F_ObjHandleT container = om_ElementFindByAttr(doc, 0, "AutoApplicationSettings", "*", "*", "");
    std::vector<F_ObjHandleT> ruleElems;
    for (F_ObjHandleT c = container ? F_ApiGetId(doc, container, FP_FirstChildElement) : 0; c;
         c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        if (HostElementDefName(doc, c) == "AutoApplicationSetting") ruleElems.push_back(c);
    om_XPathCheckNodeLimit();  // before the compiles: a reset later would orphan their numbers
    om_CondAllocRules(static_cast<IntT>(ruleElems.size()));
    for (size_t i = 0; i < ruleElems.size(); ++i) {
        AutoApplyRule &r = AutoApplyRules.rules[i];
        F_ObjHandleT e = ruleElems[i];
        om_AttrGetValue(doc, e, "Expression", &r.expression);
        om_CondWrapAsSelfPredicate(&r.expression);
        StatusCode = 0;
        F_ApiSaveClipboard();
        IntT seq = om_XPathCompile(r.expression, 0);
        F_ApiRestoreClipboard();
        r.compiled = seq > 0 && seq <= XPathLastSequenceNumber ? seq : -1;
        r.conditions = om_AttrGetValues(doc, e, "Conditions", -1, 0, 0);
        r.clearExisting = TrueFlag(doc, e, "ClearExistingConditions");
        r.active = TrueFlag(doc, e, "SettingIsActive");
        r.createConditions = TrueFlag(doc, e, "CreateConditions");
        r.parentToo = TrueFlag(doc, e, "DoParentToo");
    }
    if (closeFlag) om_CondCloseSettingsDoc(0);
}

IntT qv_CondRuleSequence(AutoApplyRule &rule) {
    if (rule.compiled <= 0) return -1;  // did not compile when the rules were read
    if (om_XPathIsCompiledSequence(rule.compiled) && om_XPathRec(rule.compiled).sourceText == rule.expression)
        return rule.compiled;
    // The node table was reset since: the number names nothing or another expression.
    F_ApiSaveClipboard();
    IntT seq = om_XPathCompile(rule.expression, 0);
    F_ApiRestoreClipboard();
    rule.compiled = seq > 0 && seq <= XPathLastSequenceNumber ? seq : -1;
    return rule.compiled;
}

F_StringsT om_CondListConditionTags(F_ObjHandleT doc) {
    F_StringsT names;
    om_StringsInit(&names, 0, 0);
    for (F_ObjHandleT t = doc ? F_ApiGetId(0, doc, FP_FirstCondFmtInDoc) : 0; t;
         t = F_ApiGetId(doc, t, FP_NextCondFmtInDoc))
        om_StringsAppend(&names, HostGetString(doc, t, FP_Name).c_str());
    return names;
}
