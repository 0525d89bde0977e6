// The start-up defaults of the shell's shared state (see state_defaults.h).
#include "plugin/state_defaults.h"

#include "lib/globals.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"
#include "nodewizard/script_interpreter.h"
#include "plugin/client_calls.h"
#include "plugin/module/target_version.h"

// Sets the defaults of the shell's shared state: the targeted host version of this module, the
// status code, the dialog handles, the notification state, the preferences (until they are
// read), the inter-client call state. The version texts, the
// start-up trace switch and the condition trigger set before it are kept.
void om_InitPluginGlobals() {
    PluginGlobals.targetedHostMajor = qv_TargetHostMajorVersion();
    PluginGlobals.runningHostMajor = 0;
    PluginGlobals.hostVersionDiffers = 0;
    PluginGlobals.settingsLocation = 0;
    PluginGlobals.debugMode = 0;
    PluginGlobals.cancelConfirmText.clear();
    PluginGlobals.pathBeforeSaveAs.clear();
    StatusCode = 0;
    CancelFlag = 0;
    DialogHandles = DialogHandlesT{};
    NotifyState = NotifyStateT{};
    PluginGlobals.currentLanguage.clear();
    PluginGlobals.menuLocation = kMenuMain;
    GeneralPreferences = GeneralPreferencesT{};
    RecentScriptsDocs.clear();
    ScriptParams = ScriptParamsT{};
    NWSAskUnknownElements = 1;
    om_NWSResetEventRegistry(0);
    StylesheetElementSetUp = StylesheetElementSetUpT{};
    ClientCallState = ClientCallStateT{};
    ReturnIdType = 1;
    XformParams = XformParamsT{};
    om_NWSetDefaults();
}
