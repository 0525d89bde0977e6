// Settings kept as attributes of elements in a settings document, and the merge of a previous
// installation's settings document with the new one's.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Values read or written by the settings operations with kind 5.
extern std::vector<std::string> SettingsDocValues;

// Reads the attribute of the first element of the flow "Main" with that tag that has it: kind 1
// "True" -> 1 else 0; 2 the integer; 3 the text (the ErrorSentinel when empty or missing); 4 a
// prompt setting ("Never" 3, "Once" 2, else 1); 5 every value into SettingsDocValues. 0 when
// there is no such element (kind 3 also gives the ErrorSentinel).
IntT om_SettingsDocRead(F_ObjHandleT docId, const std::string &tag, const std::string &attr, std::string *text,
                        IntT kind);
// Replaces the attribute's value in the same element: kind 1 "True"/"False", 2 the number, 3 the
// text, 4 "Never" (0) / "Once" (2) / "Always", 5 the values of SettingsDocValues.
void om_SettingsDocWrite(F_ObjHandleT docId, const std::string &tag, const std::string &attr, IntT value,
                         const std::string &text, IntT kind);
// Merges a previous installation's settings document with the new one's (see the header of the
// source file); the kept document, or 0.
F_ObjHandleT om_SettingsMergeInstall(const std::string &oldPath, const std::string &newPath,
                                     const std::string &productName, const std::string &version);
