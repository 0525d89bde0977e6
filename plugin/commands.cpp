// The plug-in's commands and menus: the command table, their definition at start-up, the script
// launch commands and the routing of a chosen command to its action.
#include "plugin/commands.h"

#include <string>
#include <vector>

#include "lib/dialogs/language_choice.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_query.h"
#include "lib/host/commands.h"
#include "lib/host/hostui.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "lib/translation/langfiles.h"
#include "nodewizard/dialogs.h"
#include "plugin/cond_apply.h"
#include "plugin/cond_settings.h"
#include "plugin/features.h"
#include "plugin/langfile_commands.h"
#include "plugin/preferences.h"
#include "plugin/trace.h"

namespace {

constexpr const char *kMenusTable = "Quorvane - Menus And Commands";
constexpr const char *kDocMenu = "!Quorvane_Menu_MainDocMenu";
constexpr const char *kBookMenu = "!Quorvane_Menu_MainBookMenu";
constexpr const char *kTransformMenu = "Quorvane_Menu_Transform";
constexpr const char *kLanguageMenu = "Quorvane_Menu_Language";
constexpr const char *kLaunchPrefix = "Quorvane_NWS_Launch_Cmd_";
constexpr IntT kFirstLaunchCommand = 100;
constexpr IntT kLastLaunchCommand = 199;

// ---- the actions of the table ----

void RunNodeWizard(const CommandContext &) { om_NWOpenWizardDialog(-501, -501, 1); }
void RunAbout(const CommandContext &) { om_ShowAboutBox(); }
void RunSetUpElement(const CommandContext &) { om_XformSetUpElement(0, 0); }
void RunTransform(const CommandContext &) { om_XformLaunch(0, 0, 1); }
void RunCheckStylesheet(const CommandContext &) { om_XformCheckStylesheet(); }

void RunReadPreferences(const CommandContext &) {
    IntT read = om_PrefReadGeneralPreferences();
    al_ok2(read == 1 ? "QVRN_GEN_MSG_5" : "QVRN_GEN_MSG_10");
}

void RunConditionManager(const CommandContext &) { om_CondOpenManagerDialog(0, 1); }

void RunApplyConditions(const CommandContext &c) {
    if (c.doc && c.element) om_CondApplyRulesToSubtree(c.doc, c.element, 1, 1);
}

void RunApplyConditionsToDoc(const CommandContext &c) {
    if (!c.doc) {
        al_ok2("QVRN_GEN_MSG_8");
        return;
    }
    if (al_yesno2("CM_GEN_MSG_12")) om_CondApplyRulesToDoc(c.doc, 1, 1);
}

void RunApplyConditionsToBook(const CommandContext &c) {
    if (!c.book) {
        al_ok2("QVRN_GEN_MSG_7");
        return;
    }
    if (al_yesno2("CM_GEN_MSG_13")) om_CondApplyRulesToBook(c.book, 1, 1);
}

void RunClearConditions(const CommandContext &) {
    if (al_yesno2("CM_GEN_MSG_14")) om_CondClearAllConditions(0, 0);
}

void RunScriptsPalette(const CommandContext &) { om_NWSOpenPalette(1); }
void RunOpenPreferences(const CommandContext &) { om_PrefOpenPreferencesFile(); }
void RunSetLanguage(const CommandContext &) { om_SetLanguage(); }
void RunCreateLanguageFile(const CommandContext &) { om_LangCreateFile(); }
void RunUpdateLanguageFile(const CommandContext &) { om_LangUpdateFile(0, 1); }
void RunOpenLanguageFiles(const CommandContext &) { om_LangOpenFiles(1, "", 3, 1, 0, 1); }
void RunDeprecationNotice(const CommandContext &) { om_ShowDeprecationNotice(); }
void RunVersionWarning(const CommandContext &) { om_ShowVersionWarning(); }

const QvCommand kCommands[] = {
    {6, "Quorvane_Cmd_Node_Wizard", "Node Wizard...", 1, "om_NWOpenWizardDialog", RunNodeWizard},
    {7, "Quorvane_Cmd_Help_About", "About Quorvane...", 1, "om_ShowAboutBox", RunAbout},
    {8, "Quorvane_Cmd_Set_Up_QVRN_Element", "Quorvane - Set Up QVRN Element...", 1, "om_XformSetUpElement",
     RunSetUpElement},
    {9, "Quorvane_Cmd_Transform_Doc", "Transform...", 1, "om_XformLaunch", RunTransform},
    {10, "Quorvane_Cmd_Check_Stylesheet", "Check Stylesheet...", 1, "om_XformCheckStylesheet", RunCheckStylesheet},
    {11, "Quorvane_Cmd_Read_Local_Prefs", "Read Preferences From File", 1, "om_PrefReadGeneralPreferences",
     RunReadPreferences},
    {12, "Quorvane_Cmd_Cond_Mngmt_Settings", "Condition Management Settings...", 1, "om_CondOpenManagerDialog",
     RunConditionManager},
    {13, "Quorvane_Cmd_Auto_Apply_Conditions", "Quorvane - Apply Conditions", 1, "om_CondApplyRulesToSubtree",
     RunApplyConditions},
    {14, "Quorvane_Cmd_Auto_Apply_Conditions_Whole_Doc", "Apply Conditions To Document...", 1,
     "om_CondApplyRulesToDoc", RunApplyConditionsToDoc},
    {15, "Quorvane_Cmd_Auto_Apply_Conditions_Whole_Book", "Apply Conditions To Book...", 1,
     "om_CondApplyRulesToBook", RunApplyConditionsToBook},
    {16, "Quorvane_Cmd_Clear_Conditions", "Clear All Conditional Text...", 1, "om_CondClearAllConditions",
     RunClearConditions},
    {17, "Quorvane_Cmd_Node_Wizard_Scripts", "Node Wizard Scripts...", 1, "om_NWSOpenPalette", RunScriptsPalette},
    {19, "Quorvane_Cmd_Open_Local_Prefs", "Open Preferences File...", 1, "om_PrefOpenPreferencesFile",
     RunOpenPreferences},
    {20, "Quorvane_Cmd_Set_Language", "Set Language...", 1, "om_SetLanguage", RunSetLanguage},
    {21, "Quorvane_Cmd_Create_Lang_File", "Create Dialog Strings File...", 1, "om_LangCreateFile",
     RunCreateLanguageFile},
    {22, "Quorvane_Cmd_Update_Language_File", "Update Dialog Strings File...", 1, "om_LangUpdateFile",
     RunUpdateLanguageFile},
    {23, "Quorvane_Cmd_Open_Language_File", "Open Language File(s)...", 1, "om_LangOpenFiles", RunOpenLanguageFiles},
    {24, "Quorvane_Cmd_Transform_Warning", "WARNING! Select me first!", 0, "om_ShowDeprecationNotice",
     RunDeprecationNotice},
    {26, "Quorvane_Cmd_Version_Warning", "VERSION WARNING - READ ME!...", 1, "om_ShowVersionWarning",
     RunVersionWarning},
};

const char *const kSeparators[] = {"qv_separator1", "qv_separator2", "qv_separator3", "qv_separator4", "qv_separator5",
                                   "qv_separator6", "qv_separator7", "qv_separator8", "qv_versWarningSep"};

std::string Translated(const char *english) { return qv::LangTranslate(kMenusTable, english, false, 0); }

F_ObjHandleT DefineCommand(IntT number) {
    const QvCommand *c = qv_FindCommand(number);
    if (!c) return 0;
    std::string label = c->translate ? Translated(c->label) : std::string(c->label);
    return om_CmdDefine(c->number, 0, c->name, label.c_str(), "");
}

F_ObjHandleT Named(IntT kind, const char *name) {
    FA_errno = 0;
    return F_ApiGetNamedObject(0, kind, name);
}

void AddCommand(F_ObjHandleT menu, IntT number) {
    if (const QvCommand *c = qv_FindCommand(number)) F_ApiAddCommandToMenu(menu, Named(FO_Command, c->name));
}

void AddSeparator(F_ObjHandleT menu, const char *name) { F_ApiAddMenuToMenu(menu, Named(FO_MenuItemSeparator, name)); }

// One of the two main menus: placed, then filled in its fixed order.
void DefineMainMenu(bool docMenu, F_ObjHandleT transformMenu, F_ObjHandleT languageMenu, bool versionWarning) {
    F_ObjHandleT menu = F_ApiDefineMenu(docMenu ? kDocMenu : kBookMenu, "Quorvane");
    if (PluginGlobals.menuLocation == kMenuMaker)
        om_MenuCreateMakerMenus(menu, docMenu ? 1 : 0, docMenu ? 0 : 1);
    else
        F_ApiAddMenuToMenu(Named(FO_Menu, docMenu ? "!MakerMainMenu" : "!BookMainMenu"), menu);
    if (PluginGlobals.debugMode) AddSeparator(menu, "qv_separator1");
    if (docMenu && versionWarning) {
        AddCommand(menu, 26);
        AddSeparator(menu, "qv_versWarningSep");
    }
    AddCommand(menu, 6);
    AddCommand(menu, 17);
    AddSeparator(menu, "qv_separator2");
    F_ApiAddMenuToMenu(menu, transformMenu);
    AddSeparator(menu, "qv_separator3");
    AddCommand(menu, docMenu ? 14 : 15);
    AddCommand(menu, 16);
    AddCommand(menu, 12);
    AddSeparator(menu, "qv_separator4");
    AddCommand(menu, 11);
    AddCommand(menu, 19);
    F_ApiAddMenuToMenu(menu, languageMenu);
    AddSeparator(menu, "qv_separator5");
    AddCommand(menu, 7);
}

}  // namespace

const QvCommand *qv_CommandTable(int *count) {
    if (count) *count = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
    return kCommands;
}

const QvCommand *qv_FindCommand(IntT number) {
    for (const QvCommand &c : kCommands)
        if (c.number == number) return &c;
    return nullptr;
}

void qv_DefineCommandsAndMenus() {
    if (PluginGlobals.menuLocation == kMenuNone) return;
    for (const char *name : kSeparators) F_ApiNewNamedObject(0, FO_MenuItemSeparator, name);
    for (IntT number : {6, 17, 7, 8, 9, 24, 10, 11, 19, 12, 13, 14, 15, 16}) DefineCommand(number);
    F_ObjHandleT transformMenu = F_ApiDefineMenu(kTransformMenu, Translated("Transformation (Legacy)").c_str());
    F_ObjHandleT languageMenu = F_ApiDefineMenu(kLanguageMenu, Translated("Language").c_str());
    for (IntT number : {24, 10, 9}) AddCommand(transformMenu, number);
    for (IntT number : {20, 21, 22, 23}) DefineCommand(number);
    AddCommand(languageMenu, 20);
    AddSeparator(languageMenu, "qv_separator3");
    for (IntT number : {23, 21, 22}) AddCommand(languageMenu, number);
    bool versionWarning = PluginGlobals.hostVersionDiffers != 0;
    if (versionWarning) DefineCommand(26);
    DefineMainMenu(true, transformMenu, languageMenu, versionWarning);
    DefineMainMenu(false, transformMenu, languageMenu, versionWarning);
}

std::string qv_LaunchCommandName(IntT index) { return kLaunchPrefix + std::to_string(index); }

void qv_DefineLaunchCommands() {
    const std::vector<std::string> &entries = GeneralPreferences.nwScriptLaunchShortcuts;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string &entry = entries[i];
        size_t at = entry.find("~~~~");
        if (at == std::string::npos || entry.find("~~~~", at + 4) != std::string::npos) continue;
        std::string shortcut = entry.substr(at + 4);
        if (shortcut.rfind("\\!", 0) != 0 && shortcut.rfind("^", 0) != 0) continue;
        IntT index = static_cast<IntT>(i);
        std::string name = qv_LaunchCommandName(index);
        om_CmdDefine(kFirstLaunchCommand + index, 0, name.c_str(), name.c_str(), shortcut.c_str());
    }
}

void qv_RunCommand(IntT number) {
    CommandContext c;
    FA_errno = 0;
    c.doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    c.book = F_ApiGetId(0, 0, FP_ActiveBook);
    if (c.doc) c.element = om_ElementSelected(c.doc, 1, 1);
    if (const QvCommand *command = qv_FindCommand(number)) {
        qv_Trace("command " + std::to_string(number) + ": " + command->handler);
        command->run(c);
    }
    if (number >= kFirstLaunchCommand && number <= kLastLaunchCommand) {
        qv_Trace("command " + std::to_string(number) + ": om_NWSRunShortcutCommand");
        om_NWSRunShortcutCommand(number);
    }
}

void om_SetPluginMenuLabels() {
    const char *label = PluginGlobals.debugMode ? "Quorvane (!DEBUG!)" : "Quorvane";
    for (const char *name : {kDocMenu, kBookMenu}) {
        F_ObjHandleT menu = Named(FO_Menu, name);
        if (menu) F_ApiSetString(0, menu, FP_Label, label);
    }
}

void om_ShowAboutBox() {
    std::string text = "Quorvane " + PluginGlobals.versionText +
                       "\n\nXPath queries and actions for structured documents and books: the Node Wizard, the "
                       "XPath Quick Finder, Node Wizard Scripts and condition management.\n\nFor help, write to "
                       "Orle Meadow support (support@orlemeadow.example).";
    if (PluginGlobals.debugMode) text += "\n\nDebug mode is on.";
    al_ok(text.c_str());
}

void om_ShowVersionWarning() {
    FA_errno = 0;
    IntT running = F_ApiGetInt(0, 0, FP_VersionMajor);
    std::string targeted =
        PluginGlobals.targetedHostMajor ? std::to_string(PluginGlobals.targetedHostMajor) : std::string("(unknown)");
    std::string text = qv::LangMessageFormatted("QVRN_GEN_MSG_12", {targeted, static_cast<long long>(running)});
    al_ok(text.c_str());
}

void om_ShowDeprecationNotice() {
    std::string text =
        "Transformation features are scheduled for deprecation, as Node Wizard Scripts have generally replicated all "
        "the original functionality and more, using a more sensible and elegant methodology. All core features "
        "remain active and will probably work; however, no guarantees are made and you should be aware that Orle "
        "Meadow no longer intends to support them. Future versions of the plugin will remove them.\n\nIf you are "
        "using transformation features, consider looking at Node Wizard Scripts as an alternative. If you need help "
        "to transition, we are happy to assist... please contact us";
    text += " (support@orlemeadow.example).";
    al_ok(text.c_str());
}

void om_SetLanguage() {
    StringT chosen = om_LangSwitch(1, "", 1, 1);
    std::string language(qv::View(chosen));
    F_ApiDeallocateString(&chosen);
    if (language.empty()) return;
    if (DialogHandles[kDlgNodeWizard]) {
        qv_Trace("reopens the Node Wizard");
        om_NWOpenWizardDialog(0, 0, 1);
    } else if (DialogHandles[kDlgQuickFinder]) {
        qv_Trace("reopens the Quick Finder");
        om_NWOpenQuickFinder(0, 0, 1);
    }
    if (DialogHandles[kDlgNWScripts]) {
        qv_Trace("reopens the scripts palette");
        om_NWSOpenPalette(1);
    }
    PluginGlobals.currentLanguage = language;
}
