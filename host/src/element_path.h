// Element paths: an element of a document's structure written as the steps from the highest-
// level element, "/doc[1]/sec[2]/para[1]" (each step with its 1-based position among the
// siblings of the same tag; a text node as "text()[n]"), and the element such a path names.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fdk.h"

namespace host {

// The path of an element ("" for 0 or an id that is not an element of the document).
std::string ElementPath(F_ObjHandleT doc, F_ObjHandleT elem);

// The paths of many elements of one document, in time linear in the document over all calls
// when the elements come in document order (as matches do): the children of a parent are
// counted once, from the first to the last asked for; an element asked for out of order makes
// its parent number all its children once. The path of every ancestor is kept once made. The
// document must not change while the object is in use.
class ElementPaths {
  public:
    explicit ElementPaths(F_ObjHandleT doc) : doc_(doc) {}
    // As ElementPath(doc, elem).
    std::string Path(F_ObjHandleT elem);
    // Path(elem) added to the end of out.
    void AppendPath(F_ObjHandleT elem, std::string &out);

  private:
    struct Siblings {
        F_ObjHandleT cursor = 0;  // the last child reached
        long cursorPos = 0;       // its position among the children of its tag
        std::vector<std::pair<const std::string *, long>> counts;  // per tag: children reached
        std::unique_ptr<std::unordered_map<F_ObjHandleT, long>> index;  // every child, once one came out of order
        std::string path;  // the parent's own path ("" = not made yet)
    };
    const std::string &Tag(F_ObjHandleT elem);
    long Position(Siblings &sib, F_ObjHandleT parent, F_ObjHandleT elem, const std::string **tag = nullptr);
    long RootPosition(F_ObjHandleT elem);
    Siblings &SiblingsOf(F_ObjHandleT parent);
    const std::string &AncestorPath(F_ObjHandleT elem);
    F_ObjHandleT doc_;
    std::unordered_map<F_ObjHandleT, std::string> tagOfDef_;
    F_ObjHandleT lastDef_ = 0;  // most elements asked for in a row share a definition
    const std::string *lastTag_ = nullptr;
    std::unordered_map<F_ObjHandleT, Siblings> parents_;
    F_ObjHandleT lastParent_ = 0;  // matches come in runs of siblings: the last parent asked for
    Siblings *lastSiblings_ = nullptr;
};

// The element a path names, starting at the highest-level element of the flow (0: the main
// flow); 0 when a step names nothing. A step without "[n]" means [1].
F_ObjHandleT ElementAtPath(F_ObjHandleT doc, const std::string &path, F_ObjHandleT flow = 0);

}  // namespace host
