// The plug-in's start-up sequence: one function per step, run in order by qv_StartUp from
// F_ApiInitialize.
#include "plugin/startup.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/paths.h"
#include "lib/host/textfiles.h"
#include "lib/host/system_services.h"
#include "lib/shell_records.h"
#include "lib/state/cond_settings.h"
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "nodewizard/history.h"
#include "plugin/commands.h"
#include "plugin/cond_settings.h"
#include "plugin/features.h"
#include "plugin/preferences.h"
#include "plugin/settings_folder.h"
#include "plugin/state_defaults.h"
#include "xpath/xpath.h"

namespace {

// Host text handling: every string exchanged with the host is UTF-8 from here on.
int qv_StartTextHandling() {
    F_FdeInit();
    F_ApiEnableUnicode(1);
    F_FdeInitFontEncs("UTF-8");
    return 1;
}

// Sets the condition trigger "apply after inserting or wrapping elements" to 1 (kept when the
// condition settings cannot be read later).
int qv_StartInsertWrapTrigger() {
    CondTriggerSettings.afterInsertWrap = 1;
    return 1;
}

// The plug-in's own version and the oldest settings version it can still read.
int qv_StartVersions() {
    PluginGlobals.versionText = "3.44";
    PluginGlobals.versionMajor = 3;
    PluginGlobals.versionMinor = 44;
    PluginGlobals.compatibleMajor = 3;
    PluginGlobals.compatibleMinor = 10;
    return 1;
}

int qv_StartDefaults() {
    om_InitPluginGlobals();
    return 1;
}

// Sets up the settings folder and its files; a failure leaves the plug-in inert.
int qv_StartSettingsFolder() {
    if (!om_PrefSetUpSettingsFolder()) return 0;
    return 1;
}

// Reads the general preferences (defaults stay when the file is missing or short).
int qv_StartPreferences() {
    om_PrefReadGeneralPreferences();
    return 1;
}

// Starts the translation system in the start-up language, with the settings folder as an
// extra language folder.
int qv_StartTranslation() {
    om_LangInit("Quorvane", SettingsFiles.settingsFolder.c_str(), GeneralPreferences.startupLanguage.c_str());
    return 1;
}

// Looks up one message so that a missing strings file of the start-up language shows up now.
int qv_StartStringsCheck() {
    StringT text = om_LangMessage("QVRN_GEN_MSG_14");
    F_ApiDeallocateString(&text);
    return 1;
}

// Sets up the XPath engine's limits from the preferences.
int qv_StartXPathEngine() {
    om_XPathInitEngine(qv_NodeLimitOfMemory(GeneralPreferences.totalXPathMemory), GeneralPreferences.maxXPathLength,
                       GeneralPreferences.maxXPathMatches);
    return 1;
}

// Loads the XPath favorites into the history when the preferences ask for it.
int qv_StartFavorites() {
    if (GeneralPreferences.nwLoadXPathFavoritesOnStartup) om_NWLoadFavorites(0);
    return 1;
}

// In debug mode, defines the three test XPath parameters.
int qv_StartDebugParameters() {
    if (PluginGlobals.debugMode) {
        om_XPathSetParameter("test1", "p");
        om_XPathSetParameter("test2", "Body");
        om_XPathSetParameter("test3", "yo");
    }
    return 1;
}

// Sets up the generic dialogs.
int qv_StartGenericDialogs() {
    om_DlgInitGeneric();
    return 1;
}

// Keeps the current language's cancel-confirmation text.
int qv_StartCancelConfirmText() {
    PluginGlobals.cancelConfirmText = qv::LangMessage("QVRN_GEN_MSG_11");
    return 1;
}

// Reads the condition-management flags (opens the condition settings document invisibly).
int qv_StartConditionSettings() {
    om_CondLoadTriggerSettings();
    return 1;
}

// Loads the "Quorvane - Menus And Commands" translation table of the current language.
int qv_StartMenuTranslations() {
    om_LangLoadTable(0, qv::LangCurrentLanguage().c_str(), 0, "Quorvane - Menus And Commands", "", 0);
    return 1;
}

// Notes whether the running host's major version is the one this module targets, then defines
// the commands and menus (none when the preferences place no menus).
int qv_StartCommandsAndMenus() {
    FA_errno = 0;
    IntT running = F_ApiGetInt(0, 0, FP_VersionMajor);
    PluginGlobals.runningHostMajor = FA_errno ? 0 : running;
    PluginGlobals.hostVersionDiffers = PluginGlobals.runningHostMajor != PluginGlobals.targetedHostMajor ? 1 : 0;
    if (PluginGlobals.traceStartUp)
        F_Printf(nullptr, "Quorvane: running on host major version %d, built for %d%s\n",
                 static_cast<int>(PluginGlobals.runningHostMajor), static_cast<int>(PluginGlobals.targetedHostMajor),
                 PluginGlobals.hostVersionDiffers ? " (versions differ)" : "");
    qv_DefineCommandsAndMenus();
    return 1;
}

// The notifications the plug-in handles, in the order it asks for them.
const IntT kNotifications[] = {
    FA_Note_PreInsertElement, FA_Note_PostInsertElement, FA_Note_PostWrapElement,  FA_Note_PostChangeElement,
    FA_Note_PreFunction,      FA_Note_PostFunction,      FA_Note_PostOpenDoc,      FA_Note_PostOpenMIF,
    FA_Note_PostOpenXML,      FA_Note_PostOpenSGML,      FA_Note_PreMouseCommand,  FA_Note_PostMouseCommand,
    FA_Note_PostSetAttrValue, FA_Note_PostImportElemDefs, FA_Note_PreQuitDoc,      FA_Note_PostQuitDoc,
    FA_Note_PostActiveDocChange, FA_Note_PreQuitSession, FA_Note_Dialog_Create,
};

// Asks the host for the notifications the plug-in handles (whether or not menus are shown).
int qv_StartNotifications() {
    for (IntT code : kNotifications) F_ApiNotification(code, 1);
    return 1;
}

// Defines the script launch commands bound to keyboard shortcuts (commands 100 to 199).
int qv_StartLaunchCommands() {
    qv_DefineLaunchCommands();
    return 1;
}

// Asks for the calls of other clients.
int qv_StartClientCalls() {
    F_ApiNotification(FA_Note_ClientCall, 1);
    return 1;
}

// Labels the plug-in's document and book menus.
int qv_StartMenuLabels() {
    om_SetPluginMenuLabels();
    return 1;
}

// Takes the first entry of the scripts-document favorites as the current scripts document when
// that file exists.
int qv_StartCurrentScriptsDocument() {
    F_StringsT recent{0, nullptr};
    om_FileReadLines(SettingsFiles.scriptsDocFavorites.c_str(), &recent);
    om_PathNormalizeList(&recent, 0, 0);
    std::vector<std::string> entries = qv::ReadStrings(&recent);
    F_ApiDeallocateStrings(&recent);
    RecentScriptsDocs = entries;
    if (!entries.empty() && om_FileExists(entries[0].c_str())) {
        StringT path = qv::NewHeapString(entries[0]);
        om_PathNormalize(&path, 1, 0);
        SettingsFiles.currentScriptsDoc = qv::View(path);
        F_ApiDeallocateString(&path);
    }
    return 1;
}

const StartUpStep kSteps[] = {
    {1, "host text handling", qv_StartTextHandling},
    {2, "insert and wrap condition trigger", qv_StartInsertWrapTrigger},
    {3, "versions", qv_StartVersions},
    {4, "shared state defaults", qv_StartDefaults},
    {5, "settings folder", qv_StartSettingsFolder},
    {6, "general preferences", qv_StartPreferences},
    {7, "translation", qv_StartTranslation},
    {8, "strings file check", qv_StartStringsCheck},
    {9, "XPath engine", qv_StartXPathEngine},
    {10, "XPath favorites", qv_StartFavorites},
    {11, "debug parameters", qv_StartDebugParameters},
    {12, "generic dialogs", qv_StartGenericDialogs},
    {13, "cancel confirmation text", qv_StartCancelConfirmText},
    {14, "condition settings", qv_StartConditionSettings},
    {15, "menu translations", qv_StartMenuTranslations},
    {16, "commands and menus", qv_StartCommandsAndMenus},
    {17, "notifications", qv_StartNotifications},
    {18, "script launch commands", qv_StartLaunchCommands},
    {19, "client calls", qv_StartClientCalls},
    {20, "menu labels", qv_StartMenuLabels},
    {21, "current scripts document", qv_StartCurrentScriptsDocument},
};

}  // namespace

const StartUpStep *qv_StartUpSteps(int *count) {
    if (count) *count = static_cast<int>(sizeof kSteps / sizeof kSteps[0]);
    return kSteps;
}

const IntT *qv_StartUpNotifications(int *count) {
    if (count) *count = static_cast<int>(sizeof kNotifications / sizeof kNotifications[0]);
    return kNotifications;
}

int qv_StartUp() {
    const char *trace = std::getenv("QV_TRACE");
    PluginGlobals.traceStartUp = (trace && std::strcmp(trace, "1") == 0) ? 1 : 0;
    for (const StartUpStep &step : kSteps) {
        if (PluginGlobals.traceStartUp) F_Printf(nullptr, "Quorvane start-up %d: %s\n", step.number, step.name);
        if (!step.run()) {
            if (PluginGlobals.traceStartUp) F_Printf(nullptr, "Quorvane start-up stopped at step %d\n", step.number);
            return 0;
        }
    }
    return 1;
}
