// The entry points of the features the shell routes commands, notifications and dialog events
// to that do not declare them in a header of their own yet: the Node Wizard Scripts, condition
// management, the language-file commands and the transformation with its set-up dialogs. A
// feature that declares its entry points in its own header removes them here.
#pragma once

#include <string>

#include "fdk.h"

// ---- Node Wizard Scripts ----
void om_NWSOpenPalette(IntT translate);
void om_NWSRefreshPalette(IntT reopen, IntT refill);
void om_NWSCloseHiddenCopies(IntT save);
void om_NWSRunEventScripts(F_ObjHandleT doc, IntT event);
void om_NWSRunShortcutCommand(IntT command);
void om_NWSChooseScriptsDoc(void);
void om_NWSRunFromPalette(IntT mode);
IntT om_NWSValidateScript(ConStringT scriptName, F_ObjHandleT doc, IntT event, IntT report, IntT tell);
F_ObjHandleT om_NWSOpenScriptsDocument(IntT real, IntT open, IntT visible);
F_ObjHandleT om_NWSFindScript(F_ObjHandleT doc, ConStringT scriptName, IntT start, IntT caseFlag);
F_ObjHandleT om_NWSFindEvent(F_ObjHandleT doc, ConStringT scriptName, IntT start, ConStringT eventName, IntT event);
// The scripts palette's target list: its length, and making an entry the chosen target.
IntT qv_NWSPaletteTargetCount(void);
void qv_NWSChoosePaletteTarget(IntT index);

// ---- condition management and the language-file commands ----
IntT om_CondOpenManagerDialog(IntT modeless, IntT translate);
IntT om_CondApplyRulesToSubtree(F_ObjHandleT doc, F_ObjHandleT elem, IntT load, IntT keepSelection);
IntT om_CondApplyRulesToDoc(F_ObjHandleT doc, IntT load, IntT report);
IntT om_CondApplyRulesToBook(F_ObjHandleT book, IntT load, IntT report);
IntT om_CondApplyRulesToElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT load, IntT report);
void om_CondClearAllConditions(F_ObjHandleT docOrBook, IntT kind);
F_ObjHandleT om_CondOpenSettingsDoc(IntT report);
void om_CondCloseSettingsDoc(IntT save);
void om_CondLoadTriggerSettings(void);
void om_CondFillManagerDialog(IntT initial, IntT selectFirstCondition);
void om_CondAddSettingItem(IntT kind);
void om_CondEditSettingItem(IntT kind);
void om_CondDeleteSettingItem(IntT kind);
void om_CondMoveSettingItem(IntT kind, IntT direction);
void om_CondToggleRuleFlag(IntT item);
void om_CondSaveTriggerSettings(void);
F_StringsT om_CondListConditionTags(F_ObjHandleT doc);
F_ObjHandleT om_LangCreateFile(void);
void om_LangUpdateFile(F_ObjHandleT languageDoc, IntT ask);

// ---- transformation ----
IntT om_XformSetUpElement(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformLaunch(IntT mode, IntT openOnly, IntT translate);
void om_XformCheckStylesheet(void);
IntT om_XformElementType(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformRebaseSourcePaths(F_ObjHandleT doc, const std::string &previousPath, IntT save);
// The item events of the transformation's launch dialog (20).
void om_XformLaunchDialogEvent(IntT item);
void om_XformBrowseSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT textItem);
void om_XformPickSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT pickItem, IntT textItem);
// The set-up dialogs of the stylesheet elements (modal) and their OK handlers.
void om_XformOpenCopyOfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT copyOf);
void om_XformOpenValueOfDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenIfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenTableDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTableRowDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenElementTagDialog(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, ConStringT title);
void om_XformOpenSortDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenCreateXRefDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenSetAttributeDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT kind);
void om_XformOpenParamDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTemplateDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformApplyCopyOfDialog(void);
void om_XformApplyValueOfDialog(void);
void om_XformApplyIfDialog(void);
void om_XformApplyTableDialog(void);
void om_XformTableColumnsChanged(void);
void om_XformApplyTableRowDialog(void);
void om_XformApplyElementTagDialog(void);
void om_XformApplySortDialog(void);
void om_XformApplyCreateXRefDialog(void);
void om_XformApplySetAttributeDialog(void);
void om_XformApplyTemplateDialog(void);
void om_XformApplyParamDialog(void);
