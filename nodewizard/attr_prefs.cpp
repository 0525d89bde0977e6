// Node Wizard settings the attribute actions read.
#include "nodewizard/attr_prefs.h"

IntT TokenizedAttrValues = 0;
IntT NWAttrActionsCopyEmptyString = 0;
UIntT NWAttemptedActions = 0;
