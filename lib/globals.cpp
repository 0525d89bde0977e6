// Shared state of the plug-in that every subsystem reads and sets.
#include "lib/globals.h"
#include "lib/run_state.h"

IntT StatusCode = 0;
IntT CancelFlag = 0;
std::string FormatBuffer;

namespace {
// The last operation's status, the cancel flag, the text formatted for immediate use.
[[maybe_unused]] const bool resetStatusAndCancelFlag =
    om_RunStateRegister("status and cancel flag", RunStateKind::Run, [] {
        StatusCode = 0;
        CancelFlag = 0;
        FormatBuffer.clear();
    });
}  // namespace

#include "lib/plugin_globals.h"

PluginGlobalsT PluginGlobals;
DialogHandlesT DialogHandles;
NotifyStateT NotifyState;

namespace {
// Versions, settings location, session texts, the open dialogs, what notification routing
// remembers.
[[maybe_unused]] const bool resetShellRecords = om_RunStateRegister("shell records", RunStateKind::StartUp, [] {
    PluginGlobals = PluginGlobalsT{};
    DialogHandles = DialogHandlesT{};
    NotifyState = NotifyStateT{};
});
}  // namespace
