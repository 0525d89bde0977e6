// The language-file commands: create a new language file from the template, and bring a language
// file up to date with the plug-in's current English strings (command and menu labels, the
// texts of its main dialogs and fixed run-time words), never overwriting a translation.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The new language document (made from the template and filled), or 0.
F_ObjHandleT om_LangCreateFile();
// Adds the missing English strings to the language document (0: the active document) and marks
// the rows no longer used; with the ask flag the user confirms first.
void om_LangUpdateFile(F_ObjHandleT doc, IntT ask);

// One translation table of a language file and the strings that belong in it.
struct LangFileTable {
    std::string name;
    std::vector<std::string> strings;
};
// The tables in the order the update writes them, each with its current English strings (the
// dialogs are opened untranslated for the collection and closed again).
std::vector<LangFileTable> qv_LangCurrentStrings();
