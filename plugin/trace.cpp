// The shell's trace on the host console.
#include "plugin/trace.h"

#include "fdk.h"
#include "lib/shell_records.h"

void qv_Trace(const std::string &text) {
    if (PluginGlobals.traceStartUp) F_Printf(nullptr, "Quorvane %s\n", text.c_str());
}
