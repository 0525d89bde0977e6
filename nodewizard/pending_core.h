// Calls of the per-node dispatch and the query runs that the dialogs make, until those land.
#pragma once

#include "fdk.h"

IntT om_NWElemActionCode(ConStringT name);
IntT om_NWAttrActionCode(ConStringT name);
StringT om_NWElemActionName(IntT code);
StringT om_NWAttrActionName(IntT code);
void om_NWShowActionHelp(IntT code);
IntT om_NWRunQuery(IntT button);
F_ObjHandleT om_NWMatchNextOrPerform(IntT button);
