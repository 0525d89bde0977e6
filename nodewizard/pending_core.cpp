// Stand-ins for the query runs until those land.
#include "nodewizard/pending_core.h"

IntT om_NWRunQuery(IntT) { return 0; }
F_ObjHandleT om_NWMatchNextOrPerform(IntT) { return 0; }
