// The query runs the dialogs' match and perform buttons call, until those land.
#pragma once

#include "fdk.h"

IntT om_NWRunQuery(IntT button);
F_ObjHandleT om_NWMatchNextOrPerform(IntT button);
