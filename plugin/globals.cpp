// Shared state of the plug-in that every subsystem reads and sets.
#include "plugin/globals.h"

IntT StatusCode = 0;
IntT CancelFlag = 0;
std::string FormatBuffer;
IntT DebugMode = 0;
