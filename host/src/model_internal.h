// Internals of the object model shared by its source files (the pools and the store are in
// model.h, so that the look-ups every call makes are inline).
#pragma once

#include <map>
#include <memory>

#include "model.h"

namespace host {

// A new element of def (0 = text node) in doc, not linked anywhere.
F_ObjHandleT NewElement(F_ObjHandleT doc, F_ObjHandleT def);

// Derived objects (paragraphs, frames, pages): forget a document's, or all of them.
void ForgetDerived(Document &d);
void ResetDerived();

// What other files keep for an element, forgotten when its id is given back, before the id is
// made again for another element.
void ForgetElementObject(F_ObjHandleT elem);  // element_objects.cpp
void ForgetTableObject(F_ObjHandleT elem);    // tables.cpp
void ForgetTextRuns(F_ObjHandleT node);       // text_props.cpp

}  // namespace host
