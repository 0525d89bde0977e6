// The XPath history shown by the pop-ups of both Node Wizard dialogs (most recent first), and the
// XPath favorites: a text file of expressions, one a line, that the user adds to, edits and
// loads into the history.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard.h"

// Entries the history keeps when only runs fill it.
constexpr size_t kXPathHistoryLength = 24;

void om_NWAddToHistory(ConStringT expression);
// The favorites file is SettingsFiles.xpathFavorites.
// Adds the text, or the expression of the open Quick Finder or Node Wizard when it is "", at the
// top of the favorites file unless the file already has it (then the user is told).
void om_NWAddFavorite(ConStringT text);
// The history becomes the favorites file's lines; with tell the user is told.
void om_NWLoadFavorites(IntT tell);
// Edits the favorites file in the strings list editor.
void om_NWManageFavorites();
