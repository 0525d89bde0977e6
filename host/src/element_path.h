// Element paths: an element of a document's structure written as the steps from the highest-
// level element, "/doc[1]/sec[2]/para[1]" (each step with its 1-based position among the
// siblings of the same tag; a text node as "text()[n]"), and the element such a path names.
#pragma once

#include <string>
#include <unordered_map>

#include "fdk.h"

namespace host {

// The path of an element ("" for 0 or an id that is not an element of the document).
std::string ElementPath(F_ObjHandleT doc, F_ObjHandleT elem);

// The paths of many elements of one document, each found in time linear in the document over
// all calls: an element's position among its siblings is read from one walk of its parent's
// children, and the path of every ancestor is kept once made. The document must not change
// while the object is in use.
class ElementPaths {
  public:
    explicit ElementPaths(F_ObjHandleT doc) : doc_(doc) {}
    // As ElementPath(doc, elem).
    std::string Path(F_ObjHandleT elem);

  private:
    const std::string &Tag(F_ObjHandleT elem);
    long Position(F_ObjHandleT parent, F_ObjHandleT elem);
    const std::string &AncestorPath(F_ObjHandleT elem);
    F_ObjHandleT doc_;
    std::unordered_map<F_ObjHandleT, std::string> tagOfDef_;
    std::unordered_map<F_ObjHandleT, long> position_;     // children of the parents walked so far
    std::unordered_map<F_ObjHandleT, char> walked_;       // parents whose children are numbered
    std::unordered_map<F_ObjHandleT, std::string> path_;  // paths of ancestors asked for
};

// The element a path names, starting at the highest-level element of the flow (0: the main
// flow); 0 when a step names nothing. A step without "[n]" means [1].
F_ObjHandleT ElementAtPath(F_ObjHandleT doc, const std::string &path, F_ObjHandleT flow = 0);

}  // namespace host
