// The Select Language dialog and the language operations that can offer it.
#pragma once

#include "fdk.h"

// The language chosen in the Select Language drop-down ("English" offered first when asked); ""
// when cancelled or when no language support is ready. A new string.
StringT om_LangChooseLanguage(IntT offerEnglish);
// qv::LangOpenFiles for the given language, or with ask for the one chosen in the dialog.
F_ObjHandleT om_LangOpenFiles(IntT ask, ConStringT language, IntT kind, IntT open, IntT invisible, IntT report);
// qv::LangSwitchTo for the given language, or with ask for the one chosen in the dialog.
StringT om_LangSwitch(IntT ask, ConStringT language, IntT report, IntT menus);
