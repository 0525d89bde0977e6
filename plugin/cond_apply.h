// Applying condition rules to structure elements (one element, a subtree, a flow, a document,
// the open documents of a book) and clearing all conditional text of a document or book.
#pragma once

#include "fdk.h"

// Applies the first active rule that matches the element (0: the document's selected element)
// of the document (0: the active one); 1 when that rule names at least one condition, else 0.
IntT om_CondApplyRulesToElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT load, IntT keepSelection);
// The rules applied to every element of the subtree; the number of elements that got tags.
IntT om_CondApplyRulesToSubtree(F_ObjHandleT doc, F_ObjHandleT start, IntT load, IntT keepSelection);
// The subtree of the flow's highest-level element; 222 for no flow.
IntT om_CondApplyRulesToFlow(F_ObjHandleT doc, F_ObjHandleT flow, IntT load);
// Every flow of the document (0: the active one), Esc polled between flows; the number of
// elements that got tags, 200 without a document, 0 when cancelled.
IntT om_CondApplyRulesToDoc(F_ObjHandleT doc, IntT load, IntT report);
// Every open document of the book under a status box, Esc polled between components; 0.
IntT om_CondApplyRulesToBook(F_ObjHandleT book, IntT load, IntT report);
// Applies the rule's condition tags to the element (or its parent).
void om_CondApplyRule(F_ObjHandleT doc, F_ObjHandleT elem, IntT ruleIndex);
// A new condition tag of that name, coloured "Red" when the document has that colour; 0 on failure.
F_ObjHandleT om_CondCreateConditionTag(F_ObjHandleT doc, const char *name);
// Clears all conditional text of the document (kind 1) or book (kind 2); with 0, of the active
// document, else the active book.
void om_CondClearAllConditions(F_ObjHandleT docOrBook, IntT kind);
