// A boolean setting read from an element: an attribute value by name or by index, or the
// element's own text, read as a boolean word.
#pragma once

#include "fdk.h"

// An attribute by name, or by index when the name is empty and the index is 0 or more, or the
// element's text when the index is negative, read as a boolean word; the default when unreadable.
IntT om_AttrGetBool(F_ObjHandleT docId, F_ObjHandleT elemId, ConStringT name, IntT index, IntT def);
