// Graphics of a document: the kind of page a graphic lies on, and selecting and deselecting
// graphics.
#pragma once

#include "fdk.h"

// The kind of the page a graphic lies on (5-8), or of the last object the climb reached.
IntT om_GraphicPageKind(F_ObjHandleT docId, F_ObjHandleT objId);
// Selects every graphic of the list.
void om_GraphicsSelect(F_ObjHandleT docId, const F_UIntsT *ids);
// Deselects every selected graphic and returns them (a new list).
F_UIntsT om_GraphicsDeselectAll(F_ObjHandleT docId);
