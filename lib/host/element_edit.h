// Element edits: every edit the plug-in makes to a structured document goes through an element
// location (element_location.h), which becomes a host element range.
#pragma once

#include <string>

#include "fdk.h"
#include "lib/host/element_location.h"

// Creates an element of the named definition at the begin of the location; its id, or 0 (also
// when the location fails: nothing is created then).
F_ObjHandleT om_ElementInsertNew(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName, IntT mode);
// Adds the text at the location (mode 6 first deletes the content); 1, or 0 when the location
// fails (nothing is written then).
IntT om_ElementInsertText(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &text, IntT mode);
// Deletes the element's whole content; 0, or StatusNoDocument / StatusNoObject.
IntT om_ElementClearContent(F_ObjHandleT docId, F_ObjHandleT elemId);
// Moves the element before its previous sibling (direction 1) or after its next sibling (other
// values) by cutting that sibling and pasting it on the other side; 0, 200, 201 or 222. A cut that
// fails returns 222 with nothing pasted.
IntT om_ElementMove(F_ObjHandleT docId, F_ObjHandleT elemId, IntT direction);
// Shows an element, paragraph or flow to the user: activates the document, switches the current
// page to one of the target's page kind, scrolls and selects.
void om_DocGoToObject(F_ObjHandleT docId, F_ObjHandleT objId);

// Deletes the element in the way its kind needs (text node, table parts, rows, containers);
// 1 when the host reported no failure, else 0. A cell is never deleted (StatusCode 221).
IntT om_DeleteElement(F_ObjHandleT docId, F_ObjHandleT elemId);
// Sets the element's definition to the named one; 1, or 0 when an id or the definition is missing.
IntT om_ElementRetag(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName);
// Sets the definition of the element (with the flag, of every tagged element of its subtree) to
// itself again, so the host applies the definition's rules anew.
void om_ElementReapplyDefinitions(F_ObjHandleT docId, F_ObjHandleT elemId, IntT subtree);
// Selects the element itself and copies it to the clipboard; the host status.
IntT om_ElementCopy(F_ObjHandleT docId, F_ObjHandleT elemId);
// Applies a colour (by id, or by name when colorId is 0) as text property 751 over the element's
// content (A 1, B 0), its host object's paragraphs (A 1, B 1) or its text range (otherwise).
void om_ElementSetColor(F_ObjHandleT docId, F_ObjHandleT elemId, F_ObjHandleT colorId,
                        const std::string &colorName, IntT flagA, IntT flagB);
// om_ElementSetColor on the element and every element of its subtree (B 1 for footnotes).
void om_ElementSetColorTree(F_ObjHandleT docId, F_ObjHandleT elemId, F_ObjHandleT colorId,
                            const std::string &colorName, IntT flagA);
// Sets text property 609 to 1 over the element's text range.
void om_ElementTextFlagSet(F_ObjHandleT docId, F_ObjHandleT elemId);
// Sets text property 609 to 0 over the element's text range when it is 1 at its start.
void om_ElementTextFlagClear(F_ObjHandleT docId, F_ObjHandleT elemId);

