// Element operations shared by the element actions and the transformation: ancestors by tag,
// definitions of one type, inserting after an element, replacing a variable, cross-reference or
// marker element by its text, selecting an element or its content, deleting an element by its
// kind or deleting its content, the last child and the element under the selection.
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

// The element range the element actions and the transformation set as a selection; written by
// om_ElementStoreRange.
extern F_ElementRangeT SharedElementRange;

// Deletes the element in the way its kind needs (table title, heading, footing, body, row; an
// untagged element is cleared as its own range); a table cell is never deleted (StatusCellNotDeleted).
// 1 when the element no longer exists afterwards, else 0. No document or element: StatusCode 200.
IntT om_ElementDeleteByKind(F_ObjHandleT docId, F_ObjHandleT elemId);
// Deletes everything from the start to the end of the element's content; the element stays.
// StatusCode 200/201 without document or element.
void om_ElementDeleteContents(F_ObjHandleT docId, F_ObjHandleT elemId);
// The begin child of the document's element selection when it differs from the end child (a
// selected element), else 0. StatusCode 0, or 200 without a document.
F_ObjHandleT om_ElementAtSelection(F_ObjHandleT docId);
// The element's last child; 0 when it has none. StatusCode 200/201 without document or element.
F_ObjHandleT om_ElementLastChild(F_ObjHandleT docId, F_ObjHandleT elemId);
// Selects the element's whole content as om_ElementDeleteContents does; 1 when the element has
// a child element or the selected text is not empty, else 0. StatusCode 200/201 and 0 without
// document or element.
IntT om_ElementSelectContents(F_ObjHandleT docId, F_ObjHandleT elemId);
// Selects the element itself: (parent, element, 0) to (parent, next sibling or 0, 0).
void om_ElementSelectSelf(F_ObjHandleT docId, F_ObjHandleT elemId);
// Writes the range om_ElementSelectSelf selects into SharedElementRange without applying it.
void om_ElementStoreRange(F_ObjHandleT docId, F_ObjHandleT elemId);
