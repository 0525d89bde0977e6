// The Node Wizard Scripts palette (dialog 24): the current scripts document and the target,
// the active scripts with their events and descriptions, and Run, Check and Edit.
#pragma once

#include "fdk.h"

// Opens the palette (translated with the flag); refills it (keepLists: only the documents and
// targets; rereadTargets: the open documents and books are read again).
void om_NWSOpenPalette(IntT translate);
void om_NWSRefreshPalette(IntT keepLists, IntT rereadTargets);
// The scripts-document pop-up: a recent document, Browse... or Manage....
void om_NWSChooseScriptsDoc(void);
// Runs the selected script (mode 3: all events, 4: the selected event) on the target.
void om_NWSRunFromPalette(IntT mode);
// The targets the palette offers, choosing one, and the chosen one (0: none).
IntT qv_NWSPaletteTargetCount(void);
void qv_NWSChoosePaletteTarget(IntT index);
F_ObjHandleT qv_NWSPaletteTarget(void);
