// A match of a query: the document, the element (or flow) and the matched attribute, kept
// together wherever matches travel (the engine's Match All, the Node Wizard's match list, the
// matches a script event still has to process).
#pragma once

#include "fdk.h"

struct Match {
    F_ObjHandleT doc = 0;
    F_ObjHandleT elem = 0;
    IntT attr = -1;  // the matched attribute's index in the element's list; -1 for the element itself
    bool operator==(const Match &) const = default;
};
