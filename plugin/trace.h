// The shell's trace: with the trace switch on (environment QV_TRACE=1 at start-up), start-up
// announces its steps and the routing names the handler each command, notification and dialog
// event reaches, on the host console.
#pragma once

#include <string>

// Prints "Quorvane <text>" on the host console when the trace switch is on.
void qv_Trace(const std::string &text);
