// Paragraph and table-cell text: reading and writing the text of host paragraphs and table
// cells, creating paragraphs and rows, and finding tables, rows and cells.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

F_ObjHandleT om_PgfInsertNew(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT format, ConStringT text, IntT where);
F_ObjHandleT om_TableAddRows(F_ObjHandleT doc, F_ObjHandleT table, IntT where, IntT count);
F_ObjHandleT om_PgfCopyFromDoc(F_ObjHandleT srcDoc, F_ObjHandleT srcPgf, F_ObjHandleT dstDoc, F_ObjHandleT dstPgf,
                               IntT where);
F_ObjHandleT om_TableAnchoredIn(F_ObjHandleT doc, F_ObjHandleT pgf);
F_ObjHandleT om_TableCell(F_ObjHandleT doc, F_ObjHandleT table, F_ObjHandleT tableElem, F_ObjHandleT row,
                          F_ObjHandleT rowElem, F_ObjHandleT cellElem, IntT rowNumber, IntT columnNumber);
StringT om_CellText(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem,
                    IntT trim);
F_StringsT om_CellParagraphTexts(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell,
                                 F_ObjHandleT cellElem, IntT keepEmpty, IntT trim);
StringT om_CellTextJoined(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem,
                          IntT keepEmpty, IntT trim);
F_ObjHandleT om_FlowLastPgf(F_ObjHandleT doc, ConStringT flowName, IntT caseFlag);
StringT om_PgfText(F_ObjHandleT doc, F_ObjHandleT pgf, IntT maxLength, IntT lineEnds, IntT trim);
F_ObjHandleT om_TableFindRow(F_ObjHandleT doc, F_ObjHandleT table, IntT column, ConStringT text, IntT exact,
                             IntT rowType);
void om_PgfReplaceText(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT endPgf, IntT startOffset, IntT endOffset,
                       ConStringT text);
F_ObjHandleT om_CellSetText(F_ObjHandleT doc, F_ObjHandleT table, F_ObjHandleT cell, IntT rowNumber, IntT column,
                            ConStringT text, IntT number);

// The character at the 0-based position of the paragraph's text; "end" past its end, "" for a
// bad id or a negative position. A new string.
StringT om_PgfCharAt(F_ObjHandleT doc, F_ObjHandleT pgf, IntT position);

// The n-th row (from 1) of the table whose row type is rowType (-1 any); 0 when none.
F_ObjHandleT om_TableNthRowOfType(F_ObjHandleT doc, F_ObjHandleT table, IntT n, IntT rowType);

namespace qv {
// The text of a paragraph as a C++ string (om_PgfText).
std::string PgfText(F_ObjHandleT doc, F_ObjHandleT pgf, int maxLength, bool lineEnds, bool trim);
// The cell that om_CellText and its kin read (0 when none).
F_ObjHandleT CellOf(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem);
// The texts of all paragraphs of a cell, in order.
std::vector<std::string> CellParagraphTexts(F_ObjHandleT doc, F_ObjHandleT cell, bool keepEmpty, bool trim);
}  // namespace qv
