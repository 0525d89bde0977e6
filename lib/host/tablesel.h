// Tables found by cell text and by the selection: the table, row or cell the selection lies in,
// the tables anchored in the selected text, the selected cells and columns; also the names of a
// document's table and cross-reference formats, a full book update and an integer shown in an
// alert for debugging.
#pragma once

#include "fdk.h"

// The first table (of the format, any when empty) with a cell whose first paragraph text (first
// 100 characters) equals the text; with a column above 0 only that column counts. Its row goes to
// *row. Case flag 1 compares exactly, 0 ignoring case. 0 when none.
F_ObjHandleT om_TableFindByCellText(F_ObjHandleT docId, ConStringT text, IntT column, ConStringT formatName,
                                    IntT caseFlag, F_ObjHandleT *row);
// The table ("$"), row ("&") or cell ("'") of the selection: with the text-selection flag from
// the text selection (or the selected anchored frame's anchor), else from the selected cells.
F_ObjHandleT om_TableSelectionPart(F_ObjHandleT docId, IntT useTextSelection, ConStringT part);
// The tables anchored in the text selection into *list (a new list when given); the first, or
// with the fallback flag the selection's table. Document 0 is the active one.
F_ObjHandleT om_TablesInSelection(F_ObjHandleT docId, F_UIntsT *list, IntT fallback);
// The selected cells row by row (whole tables with the all-tables flag); *count gets the number of
// tables or 1. A new list.
F_UIntsT om_SelectedTableCells(F_ObjHandleT docId, IntT allTables, IntT useTextSelection, IntT *count);
// The 1-based column numbers of om_SelectedTableCells up to the first repeat of the first one.
F_UIntsT om_TableSelectedColumns(F_ObjHandleT docId, IntT allTables, IntT useTextSelection, IntT *count);
// The names of the document's table formats (kind 37) or cross-reference formats (27) into *out
// (a new list); the number of names.
IntT om_DocFormatNames(F_ObjHandleT docId, IntT kind, F_StringsT *out);
// Updates the book with everything renumbered and nothing else.
IntT om_BookUpdateAll(F_ObjHandleT bookId);
// Shows an integer in an alert.
void om_DebugShowInt(IntT value);
