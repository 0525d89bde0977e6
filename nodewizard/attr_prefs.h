// Node Wizard settings the attribute actions read: tokenized values, the copy-empty-string flag
// and the attempted-actions counter of the current batch.
#pragma once

#include "fdk.h"

extern IntT TokenizedAttrValues;
extern IntT NWAttrActionsCopyEmptyString;
extern UIntT NWAttemptedActions;
