// The plug-in's entry points: the exported F_ApiClientInit, which registers the plug-in with
// the host as the client "Quorvane", and the four callbacks the host calls.
#include "fdk.h"
#include "plugin/commands.h"
#include "plugin/dialog_events.h"
#include "plugin/notify.h"
#include "plugin/startup.h"

// The module's dialog resource texts (generated from resources/ by the build).
extern "C" void *qv_DialogResourceText(ConStringT name);

extern "C" {

// Registers the plug-in's callbacks with the host. Runs no other code of the plug-in.
void F_ApiClientInit(void) {
    static const F_ApiClientCallbacksT callbacks = {
        "Quorvane", F_ApiInitialize, F_ApiCommand, F_ApiDialogEvent, F_ApiNotify, qv_DialogResourceText,
    };
    F_ApiRegisterClient(&callbacks);
}

// Start-up, once when the host starts; the argument is not used.
void F_ApiInitialize(IntT) { qv_StartUp(); }

// A command of the plug-in was chosen.
void F_ApiCommand(IntT command) { qv_RunCommand(command); }

// An item event in one of the plug-in's dialogs; the modifiers are not used.
void F_ApiDialogEvent(IntT dialogNumber, IntT item, IntT) { qv_RouteDialogEvent(dialogNumber, item); }

// A notification the plug-in asked for.
void F_ApiNotify(IntT notification, F_ObjHandleT doc, StringT text, IntT number) {
    qv_RouteNotification(notification, doc, text, number);
}

}  // extern "C"
