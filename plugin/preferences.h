// The general preferences: reading the preferences file into GeneralPreferences (and the
// values PluginGlobals and the XPath engine take from it), and opening the file in the text
// editor.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Reads the preferences file of SettingsFiles; 1 when it was read, 0 when it is missing or
// holds fewer than 2 lines (then told, and every key takes its default). Either way every key
// is stored and the XPath node, match and text limits go to the engine at once.
IntT om_PrefReadGeneralPreferences(void);
// Tells where the preferences file is and opens it in the text editor.
void om_PrefOpenPreferencesFile(void);

// Stores every key read from the lines (defaults for what is missing or unreadable, numbers
// bounded) without telling anything; a byte-order mark before the first key is passed over.
void qv_PrefStoreFromLines(const std::vector<std::string> &lines);
