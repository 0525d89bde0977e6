// Shared state of the plug-in that every subsystem reads and sets.
#include "lib/globals.h"

IntT StatusCode = 0;
IntT CancelFlag = 0;
std::string FormatBuffer;

#include "lib/shell_records.h"

PluginGlobalsT PluginGlobals;
DialogHandlesT DialogHandles;
NotifyStateT NotifyState;
