// Books and their components: the resumable book component walk (one cursor per book), the
// resolution of a component to an open (or newly opened) document, stepping through a book's
// document components, and the clean-up of empty component containers.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Component type of a document file; types 2 and 64 hold further components.

// ---- component walk ----
F_ObjHandleT om_BookWalkFirst(F_ObjHandleT bookId, IntT type);
F_ObjHandleT om_BookWalkNext(F_ObjHandleT bookId, IntT type);
F_ObjHandleT om_BookWalkCurrent(F_ObjHandleT bookId);
IntT om_BookWalkCount(F_ObjHandleT bookId, IntT type);
void om_BookWalkReset(IntT force);
IntT om_BookDeleteEmptyContainers(F_ObjHandleT bookId, IntT type2, IntT type64);

// ---- components and documents ----
F_ObjHandleT om_BookOfDoc(F_ObjHandleT docId);
F_ObjHandleT om_BookComponentDoc(F_ObjHandleT bookId, UIntT componentOrIndex, F_ObjHandleT componentElem, IntT open,
                                 IntT optionA, IntT optionB, IntT optionG, F_ObjHandleT *rootOut);
F_ObjHandleT om_BookComponentFindDoc(F_ObjHandleT bookId, F_ObjHandleT componentId);
F_ObjHandleT om_BookComponentOfDoc(F_ObjHandleT bookId, F_ObjHandleT docId, const std::string &path);
F_ObjHandleT om_DocBookComponentElement(F_ObjHandleT docId, const std::string &path, F_ObjHandleT *bookOut);
IntT om_BookAllComponentsOpen(F_ObjHandleT bookId);
F_ObjHandleT om_BookFirstComponentDoc(F_ObjHandleT bookId, IntT open, IntT search);
F_ObjHandleT om_BookNextComponentDoc(F_ObjHandleT bookId, F_ObjHandleT docId, IntT open, IntT wrap, IntT skip);
std::vector<std::string> om_BookComponentPaths(F_ObjHandleT bookId);
F_ObjHandleT om_BookFirstOpenComponent(F_ObjHandleT bookId, F_ObjHandleT afterDocId, IntT any);
IntT om_BookCountComponents(F_ObjHandleT bookId);
F_ObjHandleT om_BookOpenAll(F_ObjHandleT bookId, const std::string &bookPath);

// The book's document components in book order (pre-order over the component tree), read
// without touching the book's walk cursor; at most 10,000 steps.
std::vector<F_ObjHandleT> BookDocComponents(F_ObjHandleT bookId);

// ---- element tree across a book and its documents ----
// The first child element; from a book component element, the highest-level element of its
// document's main flow (*docOut names the document it lies in).
F_ObjHandleT om_ElementFirstChildAcross(F_ObjHandleT docOrBookId, F_ObjHandleT elemId, F_ObjHandleT *docOut);
// The parent element; from a document's highest-level element, the component element of the
// book that holds the document (*bookOut names the book).
F_ObjHandleT om_ElementParentAcross(F_ObjHandleT docId, F_ObjHandleT elemId, F_ObjHandleT *bookOut);
