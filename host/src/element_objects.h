// Host objects that stand for elements of one kind (markers, cross-references): their ids are
// made when first asked for and stay while the element lives; lists of them follow document
// order, read from the element tree.
#pragma once

#include <string>
#include <functional>
#include <vector>

#include "model.h"

namespace host {

// The object of kind objKind standing for an element of kind elemKind in doc; 0 for others.
F_ObjHandleT ObjectForElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT elemKind, int objKind);
// The live element an object stands for (in doc when doc is not 0); 0 when it is gone.
F_ObjHandleT ElementForObject(F_ObjHandleT doc, F_ObjHandleT obj);
// The document's elements of a kind in document order, every flow.
std::vector<F_ObjHandleT> ElementsOfKind(F_ObjHandleT doc, IntT elemKind);
// Calls visit for every element of the document's flows, flow by flow, in document order.
void ForEachElement(F_ObjHandleT doc, const std::function<void(F_ObjHandleT)> &visit);
// The document's first definition of an element kind, declared under `name` when it has none.
F_ObjHandleT DefinitionOfKind(F_ObjHandleT doc, IntT elemKind, const std::string &name);

}  // namespace host
