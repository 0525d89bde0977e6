// The host's version text, the per-user settings folder path built from it, and the
// structure-applications documents of the host's folder and of the user's folder.
#pragma once

#include "fdk.h"

// The host's major version, with ".minor" when asked; a new string.
StringT om_HostVersionText(IntT withMinor);
// The settings folder below the variable's folder (APPDATA when empty), with the sub-folder and a
// trailing separator when asked; "error" when the variable has no value. A new string.
StringT om_PathSettingsFolder(ConStringT variable, ConStringT subFolder, IntT trailing);
// The open structure-applications document of the host's folder (where 1) or of the user's
// settings folder (where 2); found among the open documents, or opened with the open flag
// (invisibly when the option is 1); 0 otherwise.
F_ObjHandleT om_StructAppsDoc(IntT where, IntT open, IntT option);
