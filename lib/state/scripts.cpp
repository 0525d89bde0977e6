// The Node Wizard Scripts' shared state.
#include "lib/state/scripts.h"
#include "lib/run_state.h"

std::vector<ScriptEventMatches> ScriptEventRegistry;
std::vector<F_ObjHandleT> ScriptEventsReported;
ScriptParamsT ScriptParams;
IntT NWSUnescapeValues = 0;
IntT NWSAskUnknownElements = 1;

namespace {
// A script run's event registry, reported events, parameters and switches.
[[maybe_unused]] const bool resetScriptRunRecords = om_RunStateRegister("script run records", RunStateKind::Run, [] {
    ScriptEventRegistry.clear();
    ScriptEventsReported.clear();
    ScriptParams = ScriptParamsT{};
    NWSUnescapeValues = 0;
    NWSAskUnknownElements = 1;
});
}  // namespace
