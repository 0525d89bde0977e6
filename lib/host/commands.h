// Host commands: a command defined with its shortcut shown in its label, function codes run, and
// a report listing the session's commands.
#pragma once

#include "fdk.h"

// Defines the command (and adds it to the menu when one is given) for both views; a shortcut
// "\!keys" (Esc sequence), "~k", "^k" or "+k" (Alt, Ctrl, Shift) is shown after the label.
F_ObjHandleT om_CmdDefine(IntT command, F_ObjHandleT menu, ConStringT name, ConStringT label, ConStringT shortcut);
// Runs one function code; the host's answer.
IntT om_RunFcode(IntT fcode);
// Appends to the active document, after the last paragraph of its flow, a Body paragraph per
// numbered command of the session ("number:  label").
void om_DocListCommandsReport(void);
