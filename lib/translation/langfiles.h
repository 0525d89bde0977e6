// Language files: finding a language's files in the plug-in folder and the extra folder,
// listing the languages, opening the files, switching the current language (with the menus
// relabelled), the Select Language dialog, and the building blocks that create a language file
// from the template and bring its tables up to date.
#pragma once

#include "fdk.h"

StringT om_LangFindFile(ConStringT language, IntT strings);
F_StringsT om_LangListLanguages(void);
StringT om_LangChooseLanguage(IntT offerEnglish);
F_ObjHandleT om_LangOpenFiles(IntT ask, ConStringT language, IntT kind, IntT open, IntT invisible, IntT report);
StringT om_LangSwitch(IntT ask, ConStringT language, IntT report, IntT menus);
F_ObjHandleT om_LangOpenTemplate(void);
IntT om_LangIsTemplate(F_ObjHandleT doc);
F_ObjHandleT om_LangAddTable(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT tableName);
F_ObjHandleT om_LangAddRows(F_ObjHandleT doc, F_ObjHandleT table, ConStringT tableName, const F_StringsT *strings);
IntT om_LangMarkUnusedRows(F_ObjHandleT doc, F_ObjHandleT table, const F_StringsT *current, IntT mark);
F_UIntsT om_LangCommandIds(ConStringT productName, IntT commands, IntT menus);
F_StringsT om_LangCommandLabels(ConStringT productName, IntT commands, IntT menus, IntT strip);
F_StringsT om_LangDialogStrings(F_ObjHandleT dlg, IntT titleFlag, IntT listFlag, IntT kind53Flag, IntT textFlag,
                                IntT strip);
void om_StrSetFiller(StringT *text);
