// Folder lib/translation: GUI-string translation and language files. It uses fdk.h, lib/strings,
// lib/host and the shared state of lib/; never lib/dialogs or anything above the library.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: msgformat
//   2: lang
//   3: langfiles
//
// GUI-string translation and messages by id: the translation tables of the current language,
// loaded on demand from language files (host documents of titled two-column tables) and kept
// until the language changes; labels are looked up by their English text in a named table,
// messages by their id in the table "General Strings" (in English too).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"
#include "lib/translation/msgformat.h"

// The table of messages, and the table name that translates nothing.
inline constexpr const char *GeneralStringsTable = "General Strings";
inline constexpr const char *BogusTranslationTable = "bogus_translation_table";
inline constexpr const char *MessagingErrorText =
    "MESSAGING ERROR: A message that should have appeared here could not be retrieved. See your User "
    "Guide and/or contact Orle Meadow for assistance. Message ID: ";

void om_LangInit(ConStringT productName, ConStringT extraFolder, ConStringT language);
IntT om_LangIsReady(void);
StringT om_LangTranslate(ConStringT tableName, ConStringT text, IntT reverse, IntT caseFlag);
void om_LangTranslateInPlace(ConStringT tableName, StringT *text, IntT reverse, IntT caseFlag);
StringT om_LangMessage(ConStringT messageId);
StringT om_LangLookupMessage(ConStringT messageId);
IntT om_LangTableIndex(ConStringT tableName);
IntT om_LangLoadTable(F_ObjHandleT languageDoc, ConStringT language, F_ObjHandleT table, ConStringT tableName,
                      ConStringT messageId, IntT report);
IntT om_LangTranslateDialog(F_ObjHandleT dlg, ConStringT englishTitle, ConStringT tableName, IntT reload,
                            IntT reverse, IntT titleFlag, IntT listFlag, IntT kind53Flag, IntT textFlag);
void om_DlgStripTildes(F_ObjHandleT dlg);
void om_LangTranslateMenus(ConStringT productName, IntT commands, IntT menus, IntT reverse);
void om_LangAlert(ConStringT text);
F_ObjHandleT om_LangCmdDefine(IntT command, ConStringT name, ConStringT englishLabel, ConStringT shortcut);
F_ObjHandleT om_LangDefineMenu(ConStringT tag, ConStringT englishLabel);
void om_LangSetNote(ConStringT text);

StringT om_LangFindFile(ConStringT language, IntT strings);
F_StringsT om_LangListLanguages(void);
F_UIntsT om_LangCommandIds(ConStringT productName, IntT commands, IntT menus);

namespace qv {

// The same lookups as the om_Lang* calls, as C++ values.
std::string LangTranslate(const std::string &tableName, const std::string &text, bool reverse, int caseFlag);
// True when LangTranslate through the table gives every text back as it is (the language is
// English or none is ready, and the table is not the general strings), so a caller may skip it.
bool LangKeepsText(std::string_view tableName);
std::string LangMessage(const std::string &messageId);
// The message's text in the current language with its placeholders filled by the checked
// formatter (the MESSAGING ERROR text when the id has none).
std::string LangMessageFormatted(const std::string &messageId, std::initializer_list<MsgArg> args);

// The translation system's own state, for the language-file code.
const std::string &LangCurrentLanguage();
const std::string &LangProductName();
const std::string &LangExtraFolder();
// Makes a language current: drops every loaded table and the tried names.
void LangSetCurrent(const std::string &language);
// The loaded table of that index (English and translated texts), for tests and the file code.
struct TranslationTable {
    std::string name;
    int applied = 0;
    std::vector<std::string> english;
    std::vector<std::string> translated;
};
const TranslationTable *LangTable(int index);
// The language files: finding one of a language in the plug-in's folder or the extra folder (its
// path, or ""), opening (or finding open) them: kind 1 the GUI file, 2 the strings file, 3 both;
// the last one found, or 0. With report, a missing file is told in an alert.
std::string LangFindFile(const std::string &language, bool strings);
F_ObjHandleT LangOpenFiles(const std::string &language, IntT kind, IntT open, IntT invisible, IntT report);
// The plug-in's folder.
std::string LangClientDir();
// Forgets everything (tests).
void LangReset();

}  // namespace qv
