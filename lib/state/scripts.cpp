// The Node Wizard Scripts' shared state.
#include "lib/state/scripts.h"

std::vector<ScriptEventMatches> ScriptEventRegistry;
std::vector<F_ObjHandleT> ScriptEventsReported;
ScriptParamsT ScriptParams;
std::string NWSPromptUserCancel = "USER_CANCELED";
IntT NWSUnescapeValues = 0;
IntT NWSAskUnknownElements = 1;
IntT NWSPromptGeneralMsgs = 1;
