// Settings kept as attributes of elements in a settings document, and the merge of a previous
// installation's settings document with the new one's.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/strings/keyvalue.h"

// The kinds of setting a settings document keeps in an attribute (the numbers callers pass).
enum SettingKind : IntT {
    kSettingFlag = 1,    // "True" or "False"
    kSettingNumber = 2,  // an integer
    kSettingText = 3,    // any text
    kSettingPrompt = 4,  // "Never", "Once" or "Always"
    kSettingList = 5,    // every value of the attribute
};
// The prompt setting a prompt's text stands for: kPromptNever "Never", kPromptOnce "Once",
// kPromptAlways any other text.
IntT om_SettingPromptOf(const std::string &stored);
// The number a number setting's text stands for (leading blanks and a sign allowed, digits up
// to the first other character, clamped to the integer range).
IntT om_SettingNumberOf(const std::string &stored);
// The text a setting of the kind stores: a flag "True" for 1, else "False"; a number in
// decimal; the text itself; a prompt "Never" for 0, "Once" for 2, else "Always". False for a
// list or a number that names no kind (nothing is set).
bool om_SettingStoredText(IntT kind, IntT value, const std::string &text, std::string *stored);

// Values read or written by the settings operations of kind kSettingList.
extern std::vector<std::string> SettingsDocValues;

// Reads the attribute of the first element of the flow "Main" with that tag that has it: a flag
// "True" -> 1 else 0; a number; a text (the ErrorSentinel when empty or missing); a prompt (see
// om_SettingPromptOf); a list: every value into SettingsDocValues, and their count. 0 when
// there is no such element (a text read also gives the ErrorSentinel).
IntT om_SettingsDocRead(F_ObjHandleT docId, const std::string &tag, const std::string &attr, std::string *text,
                        IntT kind);
// Replaces the attribute's value in the same element (see om_SettingStoredText; a list: the
// values of SettingsDocValues).
void om_SettingsDocWrite(F_ObjHandleT docId, const std::string &tag, const std::string &attr, IntT value,
                         const std::string &text, IntT kind);
// Merges a previous installation's settings document with the new one's (see the header of the
// source file); the kept document, or 0.
F_ObjHandleT om_SettingsMergeInstall(const std::string &oldPath, const std::string &newPath,
                                     const std::string &productName, const std::string &version);
