// Condition management settings: the condition settings document (kept open invisibly while the
// plug-in reads or edits it), its typed setting readers and writers, the trigger settings and the
// rule table read from it, and the Condition Manager dialog that edits both.
#pragma once

#include <string>

#include "fdk.h"
#include "lib/host/settings_doc.h"
#include "lib/state/settings_files.h"
#include "lib/state/cond_settings.h"

// The file name of the condition settings document in the settings folder.
// The translation table of the Condition Manager and of the condition messages.
inline constexpr const char *kCondTable = "Quorvane - Condition Management Settings";

// The path of the condition settings document (in the plug-in's folder until the settings
// folder is set up).
std::string qv_CondSettingsPath();

// ---- settings document ----
// The settings document (the open one, else opened invisibly), made invisible; 0 when it cannot
// be opened (with the report flag, CM_GEN_MSG_1 and the expected path are shown).
F_ObjHandleT om_CondOpenSettingsDoc(IntT report);
// Closes the settings document when it is open, saved first with the save flag.
void om_CondCloseSettingsDoc(IntT save);
// Reads the attribute of the first element of that tag that has it, by kind (SettingKind of
// lib/host/settings_doc.h): a flag 1 "True", 0 "False", 2 other; a number; a text into *text
// (EmptySentinel when empty), 0; a prompt as om_SettingPromptOf reads it. No such element, or a
// list: 2 (a text read also sets EmptySentinel when there is no such element).
IntT om_PrefReadDocSetting(F_ObjHandleT doc, const std::string &elementName, const std::string &attrName,
                           std::string *text, IntT kind);
// Writes the attribute of the first element of that tag that has it, as om_SettingStoredText
// writes it; 0 when no element has it or the kind is a list (nothing written), else 1.
IntT om_PrefWriteDocSetting(F_ObjHandleT doc, const std::string &elementName, const std::string &attrName,
                            IntT value, const std::string &text, IntT kind);

// ---- trigger settings and rules ----
void om_CondLoadTriggerSettings();
// Reads the rule table from the settings document (closing it afterwards with the flag).
void om_CondLoadRules(IntT closeFlag);
void om_CondAllocRules(IntT n);
// Frees the rule table; 221 (also in StatusCode) when none is loaded, else 0.
IntT om_CondFreeRules();
void om_CondWrapAsSelfPredicate(std::string *text);
// The sequence number the rule runs with: its stored number while that still names its own
// compiled expression, else the expression compiled again (and stored); -1 when it does not
// compile.
IntT qv_CondRuleSequence(AutoApplyRule &rule);
// The names of the document's condition tags in the document's order.
F_StringsT om_CondListConditionTags(F_ObjHandleT doc);

// ---- Condition Manager ----
void om_CondOpenManagerDialog(IntT modeless, IntT translate);
void om_CondFillManagerDialog(IntT initial, IntT selectFirstCondition);
F_ObjHandleT om_CondCurrentRuleElement();
void om_CondAddSettingItem(IntT kind);
void om_CondEditSettingItem(IntT kind);
void om_CondDeleteSettingItem(IntT kind);
void om_CondMoveSettingItem(IntT kind, IntT direction);
void om_CondToggleRuleFlag(IntT item);
void om_CondSaveTriggerSettings();
