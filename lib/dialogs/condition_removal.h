// Removal of all conditional-text settings from an element, an element tree, a flow, a document
// or every open document of a book (the pass behind clearing all conditions).
#pragma once

#include "fdk.h"

// Runs om_DocRemoveConditions on every open document file of the book under the status box;
// the sum of their results, 0 when cancelled. Closed documents are never opened.
IntT om_BookRemoveConditions(F_ObjHandleT bookId, IntT unused, IntT removeFlag);
// Removes all conditions from the document's text, flow by flow, polling for Esc between flows;
// the text selection is kept. 0.
IntT om_DocRemoveConditions(F_ObjHandleT docId, IntT removeFlag);
IntT om_ElementRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId);
IntT om_ElementTreeRemoveConditions(F_ObjHandleT docId, F_ObjHandleT elemId, IntT removeFlag);
IntT om_FlowRemoveConditions(F_ObjHandleT docId, F_ObjHandleT flowId, IntT removeFlag);
