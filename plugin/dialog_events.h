// Dialog-event routing: the item events of the plug-in's dialogs, by dialog number and item
// number, to the handlers that own them.
#pragma once

#include "fdk.h"

// Routes one item event; 0 when the dialog number is not one the plug-in routes (nothing done).
int qv_RouteDialogEvent(IntT dialogNumber, IntT item);
