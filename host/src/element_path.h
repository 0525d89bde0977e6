// Element paths: an element of a document's structure written as the steps from the highest-
// level element, "/doc[1]/sec[2]/para[1]" (each step with its 1-based position among the
// siblings of the same tag; a text node as "text()[n]"), and the element such a path names.
#pragma once

#include <string>

#include "fdk.h"

namespace host {

// The path of an element ("" for 0 or an id that is not an element of the document).
std::string ElementPath(F_ObjHandleT doc, F_ObjHandleT elem);

// The element a path names, starting at the highest-level element of the flow (0: the main
// flow); 0 when a step names nothing. A step without "[n]" means [1].
F_ObjHandleT ElementAtPath(F_ObjHandleT doc, const std::string &path, F_ObjHandleT flow = 0);

}  // namespace host
