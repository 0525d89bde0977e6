// Element tree queries: read-only questions about a structured document's element tree and what
// is selected in it (emptiness, child counts, positions, top ancestors, highest-level elements of
// flows and books, the flow that holds an object, the selected element, the pages an element lies
// on), plus the element-list filters and small selection operations of the library.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// ---- structure ----
IntT om_ElementHasContent(F_ObjHandleT docId, F_ObjHandleT objId);
IntT om_ElementIsEmpty(F_ObjHandleT docId, F_ObjHandleT elemId);
IntT om_ElementCountChildren(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT all);
IntT om_ElementSiblingPosition(F_ObjHandleT docId, F_ObjHandleT elemId, IntT positionFlag);
F_ObjHandleT om_ElementTopAncestor(F_ObjHandleT docId, F_ObjHandleT elemId);
F_ObjHandleT om_FlowFind(F_ObjHandleT docId, const std::string &flowName, IntT caseFlag);
F_ObjHandleT om_ElementHighestLevel(F_ObjHandleT docOrBookId, const std::string &flowName, F_ObjHandleT flowId);
F_ObjHandleT om_DocFlowOfObject(F_ObjHandleT docId, F_ObjHandleT objId);
std::vector<std::string> om_DocElementDefNames(F_ObjHandleT docId, IntT sortFlag, IntT caseFlag);

// ---- selection ----
F_ObjHandleT om_ElementSelected(F_ObjHandleT docId, IntT insertionPointFlag, IntT graphicFlag);
F_ObjHandleT om_ElementSelectedInFrontDoc(F_ObjHandleT *docId);

// ---- pages ----
std::vector<UIntT> om_ElementPages(F_ObjHandleT docId, F_ObjHandleT elemId);
std::vector<UIntT> om_ElementPageNumbers(F_ObjHandleT docId, F_ObjHandleT elemId);
std::vector<std::string> om_ElementPageNumStrings(F_ObjHandleT docId, F_ObjHandleT elemId);

// ---- further queries of the library ----
IntT om_ElementDepth(F_ObjHandleT docId, F_ObjHandleT topId, F_ObjHandleT elemId);
IntT om_ElementCountDescendants(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT includeSelf,
                                IntT untagged);
IntT om_ElementCountSiblings(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag, IntT all);
F_ObjHandleT om_ElementNthChild(F_ObjHandleT docId, F_ObjHandleT elemId, IntT n, IntT parentFlag);
F_ObjHandleT om_ElementAncestorTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                      IntT includeSelf);
IntT om_ElementCountsAsEmpty(F_ObjHandleT docId, F_ObjHandleT elemId);
IntT om_ElementAnyFlagged(F_ObjHandleT docId, F_ObjHandleT elemId);
IntT om_DocCatalogHasDefinition(F_ObjHandleT docId, const std::string &defName, F_ObjHandleT defId, IntT flags);
std::vector<std::string> om_DocConditionTagNames(F_ObjHandleT docId);
IntT om_DocSelectionKind(F_ObjHandleT docId);
F_ObjHandleT om_ElementSelectedWhole(F_ObjHandleT docId, IntT kind, IntT untaggedFlag);
IntT om_ElementSelectionRelation(F_ObjHandleT docId, F_ObjHandleT elemId);
std::vector<UIntT> om_ElementsSelected(F_ObjHandleT docId, IntT insertionPointFlag, IntT graphicFlag);
void om_ElementsKeepConnected(F_ObjHandleT docId, F_ObjHandleT flowId, F_ObjHandleT startId, std::vector<UIntT> &list);
void om_ElementsKeepInSubtree(F_ObjHandleT docId, F_ObjHandleT flowId, F_ObjHandleT startId, std::vector<UIntT> &list);
void om_ElementRangeCopy(F_ElementRangeT *to, const F_ElementRangeT *from);
IntT om_ElementRangeEqual(const F_ElementRangeT *a, const F_ElementRangeT *b);
void om_ElementRangeClear(F_ElementRangeT *range);

// The page that holds a frame (parent frames climbed to the top one, at most 1,000 steps).
F_ObjHandleT FramePage(F_ObjHandleT docId, F_ObjHandleT frameId);
// The page that holds a paragraph (through its text frame).
F_ObjHandleT ParagraphPage(F_ObjHandleT docId, F_ObjHandleT pgfId);
