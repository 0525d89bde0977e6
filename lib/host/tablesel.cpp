// Tables found by cell text and by the selection (see tablesel.h).
#include "lib/host/tablesel.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lib/host/frames.h"
#include "lib/host/host_values.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr int kStepLimit = 10000000;

bool Same(const std::string &a, const std::string &b, IntT caseFlag) {
    return caseFlag ? a == b : qv::FoldCase(a) == qv::FoldCase(b);
}

F_UIntsT NewIds(const std::vector<UIntT> &ids) {
    F_UIntsT out;
    out.len = static_cast<UIntT>(ids.size());
    out.val = static_cast<UIntT *>(F_Alloc(static_cast<UIntT>(ids.size() * sizeof(UIntT)), NO_DSE));
    std::copy(ids.begin(), ids.end(), out.val);
    return out;
}

std::vector<F_ObjHandleT> Rows(F_ObjHandleT doc, F_ObjHandleT first, F_ObjHandleT last) {
    std::vector<F_ObjHandleT> rows;
    int steps = 0;
    for (F_ObjHandleT r = first; r && steps < kStepLimit; r = F_ApiGetId(doc, r, FP_NextRowInTbl), ++steps) {
        rows.push_back(r);
        if (r == last) break;
    }
    return rows;
}

// The cells of the rows whose column lies within lo..hi, row by row.
void CellsOf(F_ObjHandleT doc, const std::vector<F_ObjHandleT> &rows, IntT lo, IntT hi, std::vector<UIntT> &out) {
    int steps = 0;
    for (F_ObjHandleT r : rows)
        for (F_ObjHandleT c = F_ApiGetId(doc, r, FP_FirstCellInRow); c && steps < kStepLimit;
             c = F_ApiGetId(doc, c, FP_NextCellInRow), ++steps) {
            IntT col = F_ApiGetInt(doc, c, FP_CellColNum);
            if (col >= lo && col <= hi) out.push_back(c);
        }
}

}  // namespace

F_ObjHandleT om_TableFindByCellText(F_ObjHandleT docId, ConStringT text, IntT column, ConStringT formatName,
                                    IntT caseFlag, F_ObjHandleT *row) {
    if (row) *row = 0;
    if (!docId) return 0;
    std::string want = text ? text : "", format = formatName ? formatName : "";
    int steps = 0;
    for (F_ObjHandleT t = F_ApiGetId(0, docId, FP_FirstTblInDoc); t && steps < kStepLimit;
         t = F_ApiGetId(docId, t, FP_NextTblInDoc), ++steps) {
        if (!format.empty() && !Same(HostGetString(docId, t, FP_TblTag), format, caseFlag)) continue;
        for (F_ObjHandleT r = F_ApiGetId(docId, t, FP_FirstRowInTbl); r && steps < kStepLimit;
             r = F_ApiGetId(docId, r, FP_NextRowInTbl), ++steps) {
            IntT position = 0;
            for (F_ObjHandleT c = F_ApiGetId(docId, r, FP_FirstCellInRow); c && steps < kStepLimit;
                 c = F_ApiGetId(docId, c, FP_NextCellInRow), ++steps) {
                ++position;
                std::string cellText =
                    column > 0 && position != column ? "" : qv::PgfText(docId, F_ApiGetId(docId, c, FP_FirstPgf), 100, false, false);
                if (Same(cellText, want, caseFlag)) {
                    if (row) *row = r;
                    return t;
                }
            }
        }
    }
    return 0;
}

F_ObjHandleT om_TableSelectionPart(F_ObjHandleT docId, IntT useTextSelection, ConStringT part) {
    if (!docId || !part) return 0;
    F_ObjHandleT table = 0, row = 0, cell = 0;
    bool fromText = false;
    if (useTextSelection) {
        F_TextRangeT r = F_ApiGetTextRange(0, docId, FP_TextSelection);
        if (r.beg.objId == r.end.objId && r.beg.offset == r.end.offset) {
            F_ObjHandleT frame = 0, graphic = 0;
            om_SelectedFrameAndGraphic(docId, &frame, &graphic);
            r.beg = r.end = frame ? F_ApiGetTextLoc(docId, frame, FP_AnchorLoc) : r.beg;
        }
        if (r.beg.objId) {
            fromText = true;
            F_ObjHandleT container = F_ApiGetId(docId, r.beg.objId, FP_InCell);
            if (F_OBJ_KIND(container) == FO_Cell) {
                cell = container;
                row = F_ApiGetId(docId, cell, FP_CellRow);
                table = F_ApiGetId(docId, row, FP_RowTbl);
            } else {
                F_TextItemsT items = F_ApiGetTextForRange(docId, &r, FTI_TblAnchor);
                if (items.val && items.len) table = items.val[0].idata;
                F_ApiDeallocateTextItems(&items);
            }
        }
    }
    if (!fromText) {
        table = F_ApiGetId(0, docId, FP_SelectedTbl);
        row = table ? F_ApiGetId(docId, table, FP_TopRowSelection) : 0;
        cell = row ? om_TableCell(docId, table, 0, row, 0, 0, 0, F_ApiGetInt(docId, table, FP_LeftColNum) + 1) : 0;
    }
    switch (part[0]) {
    case '$': return table;
    case '&': return row;
    case '\'': return cell;
    default: return 0;
    }
}

F_ObjHandleT om_TablesInSelection(F_ObjHandleT docId, F_UIntsT *list, IntT fallback) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    std::vector<UIntT> tables;
    if (docId) {
        F_TextRangeT r = F_ApiGetTextRange(0, docId, FP_TextSelection);
        F_TextItemsT items = F_ApiGetTextForRange(docId, &r, FTI_TblAnchor);
        for (UIntT i = 0; items.val && i < items.len; ++i)
            if (items.val[i].dataType == FTI_TblAnchor) tables.push_back(items.val[i].idata);
        F_ApiDeallocateTextItems(&items);
        if (tables.empty() && fallback)
            if (F_ObjHandleT t = om_TableSelectionPart(docId, 1, "$")) tables.push_back(t);
    }
    if (list) *list = NewIds(tables);
    return tables.empty() ? 0 : tables.front();
}

F_UIntsT om_SelectedTableCells(F_ObjHandleT docId, IntT allTables, IntT useTextSelection, IntT *count) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    std::vector<UIntT> cells;
    IntT tables = 0;
    if (docId && allTables) {
        F_UIntsT list{0, nullptr};
        om_TablesInSelection(docId, &list, 0);
        tables = static_cast<IntT>(list.len);
        for (UIntT i = 0; i < list.len; ++i)
            CellsOf(docId, Rows(docId, F_ApiGetId(docId, list.val[i], FP_FirstRowInTbl), F_ApiGetId(docId, list.val[i], FP_LastRowInTbl)),
                    0, 0x7FFFFFFF, cells);
        F_ApiFreeIdList(&list);
    } else if (docId) {
        F_ObjHandleT table = om_TableSelectionPart(docId, useTextSelection, "$");
        if (table) {
            if (!om_TableSelectionPart(docId, 0, "'")) {
                F_ObjHandleT cell = om_TableSelectionPart(docId, useTextSelection, "'");
                if (cell) {
                    IntT col = F_ApiGetInt(docId, cell, FP_CellColNum);
                    CellsOf(docId, {F_ApiGetId(docId, cell, FP_CellRow)}, col, col, cells);
                }
            } else {
                CellsOf(docId,
                        Rows(docId, F_ApiGetId(docId, table, FP_TopRowSelection), F_ApiGetId(docId, table, FP_BottomRowSelection)),
                        F_ApiGetInt(docId, table, FP_LeftColNum), F_ApiGetInt(docId, table, FP_RightColNum), cells);
            }
            tables = 1;
        }
    }
    if (count) *count = cells.empty() ? tables : std::max<IntT>(1, tables);
    return NewIds(cells);
}

F_UIntsT om_TableSelectedColumns(F_ObjHandleT docId, IntT allTables, IntT useTextSelection, IntT *count) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    F_UIntsT cells = om_SelectedTableCells(docId, allTables, useTextSelection, count);
    std::vector<UIntT> columns;
    for (UIntT i = 0; i < cells.len; ++i) {
        auto col = static_cast<UIntT>(F_ApiGetInt(docId, cells.val[i], FP_CellColNum) + 1);
        if (!columns.empty() && col == columns.front()) break;
        columns.push_back(col);
    }
    F_ApiFreeIdList(&cells);
    return NewIds(columns);
}

IntT om_DocFormatNames(F_ObjHandleT docId, IntT kind, F_StringsT *out) {
    std::vector<std::string> names;
    if (docId && (kind == FO_TblFmt || kind == FO_XRefFmt)) {
        bool tbl = kind == FO_TblFmt;
        int steps = 0;
        for (F_ObjHandleT f = F_ApiGetId(0, docId, tbl ? FP_FirstTblFmtInDoc : FP_FirstXRefFmtInDoc); f && steps < kStepLimit;
             f = F_ApiGetId(docId, f, tbl ? FP_NextTblFmtInDoc : FP_NextXRefFmtInDoc), ++steps)
            names.push_back(HostGetString(docId, f, tbl ? FP_TblFmtName : FP_Name));
    }
    if (out) {
        out->len = static_cast<UIntT>(names.size());
        out->val = static_cast<StringT *>(F_Alloc(static_cast<UIntT>(names.size() * sizeof(StringT)), NO_DSE));
        for (size_t i = 0; i < names.size(); ++i) out->val[i] = F_StrCopyString(names[i].c_str());
    }
    return static_cast<IntT>(names.size());
}

IntT om_BookUpdateAll(F_ObjHandleT bookId) {
    if (!bookId) return 0;
    F_PropValsT params = F_ApiGetUpdateBookDefaultParams();
    for (IntT n : {6, 1, 3, 2, 5, 4, 7, 12, 8, 9, 10, 11}) {
        IntT at = F_ApiGetPropIndex(&params, n);
        if (at >= 0) params.val[at].propVal.ival = n == 6 || n == 1 || n == 3 ? 1 : 0;
    }
    F_PropValsT *returned = nullptr;
    IntT status = F_ApiUpdateBook(bookId, &params, &returned);
    F_ApiDeallocatePropVals(&params);
    return status == 0 ? 1 : 0;
}

void om_DebugShowInt(IntT value) {
    std::string text = "Integer value: \n\n" + std::to_string(value);
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
}
