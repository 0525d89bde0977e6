// Removal of all conditional-text settings from an element, an element tree, a flow, a document
// or every open document of a book (the pass behind clearing all conditions).
#pragma once

#include "fdk.h"

IntT om_ElementRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId);
IntT om_ElementTreeRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId, IntT removeFlag);
IntT om_FlowRemoveConditions(F_ObjHandleT docId, F_ObjHandleT flowId, IntT removeFlag);
