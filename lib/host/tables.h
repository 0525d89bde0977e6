// Tables by title and table format, a row's position among the rows of a type, the cells of a
// row, the selected cells of a table and the table of the text selection. Case flag 1 compares
// names exactly, 0 ignoring case.
#pragma once

#include "fdk.h"

// The first table whose title (its first 100 bytes) and table format match those given (an empty
// one matches any; not both empty); 0 when none.
F_ObjHandleT om_DocFindTable(F_ObjHandleT doc, ConStringT title, ConStringT formatName, IntT caseFlag);
// The titles (non-empty ones) of the document's tables of the format, in document order; a new list.
F_StringsT om_DocTableTitles(F_ObjHandleT doc, ConStringT formatName, IntT caseFlag);
// The table reached from the text frame of the paragraph where the text selection begins (its
// frame predecessor); 0 without a selection or frame.
F_ObjHandleT om_DocSelectedTable(F_ObjHandleT doc);
// The 1-based position of a row among its table's rows of a row type (-1: every row); 0 when none.
IntT om_TableRowPositionOfType(F_ObjHandleT docId, F_ObjHandleT rowId, IntT rowType);
// The number of cells of the row (or of the row the element is, when row is 0).
IntT om_RowCountCells(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT row);
// The last cell of the row (or of the cell's row, when row is 0); 0 when it is not a row.
F_ObjHandleT om_RowLastCell(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT cell);
// The selected cells of the table (the selected table when 0), row by row; a new list.
F_UIntsT om_TableSelectedCells(F_ObjHandleT doc, F_ObjHandleT table);
