// Tables as element subtrees: a table element (kind 8) holds a title (9), a heading (10), a body
// (11) and a footing (12); these hold rows (13) of cells (14), each cell a paragraph. The host's
// table, row and cell objects stand for those elements: their ids are made when first asked for
// and stay while the element lives; rows, cells and their order are read from the tree, so every
// edit of the tree (cut, paste, delete, wrap) is seen at once.
#pragma once

#include "model.h"

namespace host {

// The host object (table, row or cell) an element of kind 8-14 stands for; 0 for other elements.
F_ObjHandleT TableObjectOf(F_ObjHandleT doc, F_ObjHandleT elem);
// The element a table, row or cell object stands for; 0 when it is gone.
F_ObjHandleT TableObjectElement(F_ObjHandleT obj);
// The definition of an element kind 8-14 in the document (the first one of that kind, declared
// with a default name when the document has none).
F_ObjHandleT TableDefinition(F_ObjHandleT doc, IntT kind);
// Builds a table element subtree (no host call); the table element, not linked anywhere.
F_ObjHandleT BuildTableElement(F_ObjHandleT doc, IntT cols, IntT bodyRows, IntT headRows, IntT footRows);

// Host objects of other element kinds (markers, cross-references) register a finder here, so the
// element property 1630 finds them.
void RegisterElementObjectFinder(F_ObjHandleT (*finder)(F_ObjHandleT doc, F_ObjHandleT elem));

}  // namespace host
