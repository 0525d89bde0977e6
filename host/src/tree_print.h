// The element tree of a document as the session's `print tree` shows it.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

namespace host {

// One line per element: indented two blanks per level, the tag and the attributes that hold
// values (name="value", several values joined by blanks) and, for a marker, its text in
// brackets; or the quoted text of a text node.
// The main flow's tree comes first; every other flow with a tree follows under a line
// `flow "NAME"`. A document without any tree gives `(no structure)`.
std::vector<std::string> ElementTreeLines(F_ObjHandleT doc);

}  // namespace host
