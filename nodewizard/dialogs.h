// The Node Wizard and the XPath Quick Finder: two modeless dialogs, one open at a time, that run
// XPath queries over the active document and apply the Node Wizard's actions to the matches.
// Opening, filling from the Node Wizard state, refreshing with the enable and show rules,
// switching between them at the same place, navigating the match list, and what the list
// editors offer. The shell's dialog-event routing calls these for the item events.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The translation table of both dialogs' labels.
inline constexpr const char *NWDialogTable = "Quorvane - Node Wizard";

// Open one dialog (closing both first) at (x, y) when both are above -500, else at the host's
// place; with translate its labels pass through the table.
void om_NWOpenWizardDialog(IntT x, IntT y, IntT translate);
void om_NWOpenQuickFinder(IntT x, IntT y, IntT translate);
// Fill a dialog from the Node Wizard state when it opens.
void om_NWInitWizardDialog();
void om_NWInitQuickFinder();
// Refresh after events and notifications (the Node Wizard's file names only with the flag).
void om_NWRefreshWizardDialog(IntT fileNamesOnly);
void om_NWRefreshQuickFinder();
// Close the open dialog and open the other at its place with its expression.
void om_NWSwitchToQuickFinder();
void om_NWSwitchToWizard();
// Show the match at the index (clamped) and set the << and >> buttons.
void om_NWGoToMatch(IntT index);
// Ask for a match number from a list of steps and go to it.
void om_NWJumpToIndex();

// The entries the jump list offers for n matches.
std::vector<std::string> om_NWJumpList(size_t n);
// The match counter: "%d of %u", or "! %d of %u" (with bang) when there is no current match.
std::string om_NWMatchCounter(bool bang);
// What the attribute list editor offers: "{xpath-match}" and every attribute name of the
// document's catalogue.
std::vector<std::string> om_NWAttrNameOffers(F_ObjHandleT doc);
// What the value list editor offers: the catalogue's values without duplicates or empty ones;
// with limit, the first 253 gathered and the last one once more than 254 are gathered.
std::vector<std::string> om_NWAttrValueOffers(F_ObjHandleT doc, IntT limit);
// Hands om_NWAttrValueOffers(doc, limit) to the list editor's drop-down; answers how many.
size_t om_NWOfferAttrValues(F_ObjHandleT doc, IntT limit);
