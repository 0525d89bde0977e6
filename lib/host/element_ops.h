// Element operations shared by the element actions and the transformation: ancestors by tag,
// definitions of one type, inserting after an element, and replacing a variable, cross-reference
// or marker element by its text.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// 1 when the document defines the element definition and its type (1579) equals type; no
// document: StatusCode 200 and 0.
IntT om_ElementDefIsOfType(F_ObjHandleT docId, const std::string &defName, IntT type);
// Walks the parents upwards: returns ancestorId when it is met, else (ancestorId 0) the first
// ancestor whose definition name equals tag exactly; 0 when none. The element itself is never
// tested. No document or element: StatusCode 200 and 0.
F_ObjHandleT om_ElementFindAncestor(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                    F_ObjHandleT ancestorId);
// The names of the document's element definitions of the type, in the document's order.
void om_ElementDefNamesOfType(F_ObjHandleT docId, IntT type, std::vector<std::string> &names);
// A new element of the definition right after the element; StatusCode 200/201 and 0 without
// document or element.
F_ObjHandleT om_ElementInsertAfter(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName);
// Replaces a system variable, cross-reference or marker element by its text at the same place;
// any other kind: StatusCode 201 and nothing done.
void om_ElementReplaceByText(F_ObjHandleT docId, F_ObjHandleT elemId);
