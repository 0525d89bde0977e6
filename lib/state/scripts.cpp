// The Node Wizard Scripts' shared state.
#include "lib/state/scripts.h"

std::vector<ScriptEventMatches> ScriptEventRegistry;
std::vector<F_ObjHandleT> ScriptEventsReported;
ScriptParamsT ScriptParams;
IntT NWSUnescapeValues = 0;
IntT NWSAskUnknownElements = 1;
