// Dialog-event routing: the item events of the plug-in's dialogs, by dialog number and item
// number, to the handlers that own them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fdk.h"

// Routes one item event; 0 when the dialog number is not one the plug-in routes (nothing done).
int qv_RouteDialogEvent(IntT dialogNumber, IntT item);

// The values offered in the Node Wizard's value editor: every attribute value of the document's
// catalog in order, without duplicates or empty entries; with a limit, gathering stops after the
// attribute that takes the list past it, and the first limit - 1 entries are offered with the
// last one gathered.
std::vector<std::string> qv_AttrValueDropDown(F_ObjHandleT doc, size_t limit);
