// The plug-in's entry points: the exported F_ApiClientInit, which registers the plug-in with
// the host as the client "Quorvane", and the four callbacks the host calls.
#include "fdk.h"
#include "plugin/client_calls.h"
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

// A command of the plug-in was chosen. No command is defined yet, so none is routed.
void F_ApiCommand(IntT) {}

// An item event in one of the plug-in's dialogs. No dialog of the plug-in opens yet.
void F_ApiDialogEvent(IntT, IntT, IntT) {}

// A notification the plug-in asked for. Other clients' calls are answered through
// F_ApiReturnValue; routing of the other notifications comes with their subsystems.
void F_ApiNotify(IntT notification, F_ObjHandleT, StringT sparm, IntT) {
    if (notification == FA_Note_ClientCall) F_ApiReturnValue(om_ClientHandleCall(sparm));
}

}  // extern "C"
