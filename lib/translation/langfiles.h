// Language files: switching the current language (with the menus relabelled), and the building
// blocks that create a language file from the template and bring
// its tables up to date. The Select Language dialog and the entry points that offer it are in
// lib/dialogs/language_choice.h.
#pragma once

#include <string>

#include "fdk.h"
#include "lib/translation/lang.h"

namespace qv {
// Makes the language the current one (relabelling the menus when asked); the new language, or ""
// when it has no translation file (told with report).
StringT LangSwitchTo(const std::string &language, IntT report, IntT menus);
}  // namespace qv

F_ObjHandleT om_LangOpenTemplate(void);
IntT om_LangIsTemplate(F_ObjHandleT doc);
F_ObjHandleT om_LangAddTable(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT tableName);
F_ObjHandleT om_LangAddRows(F_ObjHandleT doc, F_ObjHandleT table, ConStringT tableName, const F_StringsT *strings);
IntT om_LangMarkUnusedRows(F_ObjHandleT doc, F_ObjHandleT table, const F_StringsT *current, IntT mark);
F_StringsT om_LangCommandLabels(ConStringT productName, IntT commands, IntT menus, IntT strip);
F_StringsT om_LangDialogStrings(F_ObjHandleT dlg, IntT titleFlag, IntT listFlag, IntT kind53Flag, IntT textFlag,
                                IntT strip);
void om_StrSetFiller(StringT *text);
