// The plug-in shell's global records and their start-up defaults.
#include "lib/plugin_globals.h"
#include "plugin/startup.h"

#include "lib/globals.h"
#include "plugin/module/target_version.h"

// Sets the defaults of the shared state that exists: the targeted host version of this module,
// the status code, the dialog handles and the notification state. The version texts, the
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
}
