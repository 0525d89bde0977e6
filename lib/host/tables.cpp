// Tables by title and table format, a row's position among rows of a type, the cells of a row,
// the selected cells of a table and the table of the text selection.
#include "lib/host/tables.h"

#include <string>
#include <vector>

#include "lib/host/host_values.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"

namespace {

constexpr int kStepLimit = 100000;
// A row's position is counted over at most this many rows.
constexpr int kRowStepLimit = 10000000;

bool SameText(const std::string &a, const std::string &b, IntT caseFlag) {
    return caseFlag == 1 ? a == b : qv::EqualFolded(a, b);
}

// The title text of a table: the first 100 bytes of its title's first paragraph.
std::string TableTitle(F_ObjHandleT doc, F_ObjHandleT table) {
    F_ObjHandleT pgf = F_ApiGetId(doc, table, FP_FirstPgfInTitle);
    return pgf ? qv::PgfText(doc, pgf, 100, false, false) : "";
}

}  // namespace

F_ObjHandleT om_DocFindTable(F_ObjHandleT doc, ConStringT title, ConStringT formatName, IntT caseFlag) {
    std::string t(qv::View(title)), f(qv::View(formatName));
    if (!doc || (t.empty() && f.empty())) return 0;
    F_ObjHandleT table = F_ApiGetId(0, doc, FP_FirstTblInDoc);
    for (int n = 0; table && n < kStepLimit; ++n, table = F_ApiGetId(doc, table, FP_NextTblInDoc)) {
        if (!t.empty() && !SameText(TableTitle(doc, table), t, caseFlag)) continue;
        if (!f.empty() && !SameText(HostGetString(doc, table, FP_TblTag), f, caseFlag)) continue;
        return table;
    }
    return 0;
}

IntT om_TableRowPositionOfType(F_ObjHandleT docId, F_ObjHandleT rowId, IntT rowType) {
    F_ObjHandleT table = docId && rowId ? F_ApiGetId(docId, rowId, FP_RowTbl) : 0;
    if (!table) return 0;
    IntT position = 0;
    int steps = 0;
    for (F_ObjHandleT r = F_ApiGetId(docId, table, FP_FirstRowInTbl); r && steps < kRowStepLimit;
         r = F_ApiGetId(docId, r, FP_NextRowInTbl), ++steps) {
        if (rowType != -1 && F_ApiGetInt(docId, r, FP_RowType) != rowType) continue;
        ++position;
        if (r == rowId) return position;
    }
    return 0;
}

IntT om_RowCountCells(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT row) {
    if (!row && elem) row = F_ApiGetId(doc, elem, FP_Object);
    IntT n = 0;
    for (F_ObjHandleT c = row ? F_ApiGetId(doc, row, FP_FirstCellInRow) : 0; c && n < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow)) ++n;
    return n;
}

F_ObjHandleT om_RowLastCell(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT cell) {
    if (!row && cell) row = F_ApiGetId(doc, cell, FP_CellRow);
    if (F_OBJ_KIND(row) != FO_Row) return 0;
    F_ObjHandleT last = 0;
    int n = 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, row, FP_FirstCellInRow); c && n < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow), ++n) last = c;
    return last;
}

F_UIntsT om_TableSelectedCells(F_ObjHandleT doc, F_ObjHandleT table) {
    std::vector<UIntT> cells;
    if (!table) table = F_ApiGetId(0, doc, FP_SelectedTbl);
    if (table) {
        F_ObjHandleT top = F_ApiGetId(doc, table, FP_TopRowSelection), bottom = F_ApiGetId(doc, table, FP_BottomRowSelection);
        IntT left = F_ApiGetInt(doc, table, FP_LeftColNum), right = F_ApiGetInt(doc, table, FP_RightColNum);
        F_ObjHandleT row = top;
        for (int n = 0; row && n < kStepLimit; ++n, row = F_ApiGetId(doc, row, FP_NextRowInTbl)) {
            int m = 0;
            for (F_ObjHandleT c = F_ApiGetId(doc, row, FP_FirstCellInRow); c && m < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow), ++m) {
                IntT col = F_ApiGetInt(doc, c, FP_CellColNum);
                if (col >= left && col <= right) cells.push_back(c);
            }
            if (row == bottom) break;
        }
    }
    return qv::NewUInts(cells);
}

F_StringsT om_DocTableTitles(F_ObjHandleT doc, ConStringT formatName, IntT caseFlag) {
    std::vector<std::string> titles;
    std::string f(qv::View(formatName));
    F_ObjHandleT table = doc ? F_ApiGetId(0, doc, FP_FirstTblInDoc) : 0;
    for (int n = 0; table && n < kStepLimit; ++n, table = F_ApiGetId(doc, table, FP_NextTblInDoc)) {
        if (!SameText(HostGetString(doc, table, FP_TblTag), f, caseFlag)) continue;
        std::string t = TableTitle(doc, table);
        if (!t.empty()) titles.push_back(t);
    }
    return qv::NewStrings(titles);
}

F_ObjHandleT om_DocSelectedTable(F_ObjHandleT doc) {
    F_TextRangeT sel = F_ApiGetTextRange(0, doc, FP_TextSelection);
    F_ObjHandleT pgf = sel.beg.objId ? sel.beg.objId : sel.end.objId;
    if (!pgf) return 0;
    F_ObjHandleT frame = F_ApiGetId(doc, pgf, FP_InTextFrame);
    return frame ? F_ApiGetId(doc, frame, FP_FramePredecessor) : 0;
}
