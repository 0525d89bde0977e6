// The document's catalogs of colours and conditions: the colour names, and which conditions show.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The names of the document's colours (object type 35 only) into out (a new list); the count, -1
// without a document or for another type. Document 0 is the active one.
IntT om_DocColorNames(F_ObjHandleT docId, IntT objType, F_StringsT *out);
// Shows (1) or hides (2) the named conditions, show-all off; 1, or 0 (StatusCode 200) without a
// document.
IntT om_CondShowHide(F_ObjHandleT docId, const std::vector<std::string> &names, IntT mode);
