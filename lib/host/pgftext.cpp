// Paragraph and table-cell text (see pgftext.h). Paragraphs chain through 717/718, a cell's
// paragraphs run from 972 to 973, rows from 1338 through 1245, cells from 1247 through 1202.
#include "lib/host/pgftext.h"

#include "lib/host/formats.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"

namespace {

// Paragraphs and cells walked in one table or cell at most (step limit of every walk here).
constexpr int kStepLimit = 100000;

std::string Trimmed(const std::string &s) {
    size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// The n-th (1-based) cell of a row; 0 when it has fewer.
F_ObjHandleT NthCell(F_ObjHandleT doc, F_ObjHandleT row, IntT n) {
    if (!row || n < 1) return 0;
    F_ObjHandleT cell = F_ApiGetId(doc, row, FP_FirstCellInRow);
    for (IntT i = 1; cell && i < n && i < kStepLimit; ++i) cell = F_ApiGetId(doc, cell, FP_NextCellInRow);
    return cell;
}

}  // namespace

namespace qv {

std::string PgfText(F_ObjHandleT doc, F_ObjHandleT pgf, int maxLength, bool lineEnds, bool trim) {
    if (!doc || !pgf) return "";
    F_TextRangeT range{{pgf, 0}, {pgf, FV_OBJ_END_OFFSET}};
    F_TextItemsT items = F_ApiGetTextForRange(doc, &range, FTI_String | FTI_LineEnd);
    std::string out;
    for (UIntT i = 0; i < items.len; ++i) {
        const F_TextItemT &it = items.val[i];
        if (it.dataType == FTI_String && it.sdata) out += it.sdata;
        else if (it.dataType == FTI_LineEnd && lineEnds) out += '\n';
        if (maxLength >= 0 && static_cast<int>(out.size()) > maxLength) {
            out.resize(static_cast<size_t>(maxLength));
            break;
        }
    }
    F_ApiDeallocateTextItems(&items);
    return trim ? Trimmed(out) : out;
}

F_ObjHandleT CellOf(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem) {
    if (cell) return cell;
    if (row && column > 0) return NthCell(doc, row, column);
    if (cellElem) return F_ApiGetId(doc, cellElem, FP_Object);
    return 0;
}

std::vector<std::string> CellParagraphTexts(F_ObjHandleT doc, F_ObjHandleT cell, bool keepEmpty, bool trim) {
    std::vector<std::string> out;
    if (!doc || !cell) return out;
    F_ObjHandleT last = F_ApiGetId(doc, cell, FP_LastPgf);
    F_ObjHandleT pgf = F_ApiGetId(doc, cell, FP_FirstPgf);
    for (int n = 0; pgf && n < kStepLimit; ++n) {
        std::string t = PgfText(doc, pgf, -1, false, trim);
        if (keepEmpty || !t.empty()) out.push_back(t);
        if (pgf == last) break;
        pgf = F_ApiGetId(doc, pgf, FP_NextPgfInFlow);
    }
    return out;
}

}  // namespace qv

StringT om_PgfText(F_ObjHandleT doc, F_ObjHandleT pgf, IntT maxLength, IntT lineEnds, IntT trim) {
    return qv::NewHeapString(qv::PgfText(doc, pgf, maxLength, lineEnds != 0, trim != 0));
}

StringT om_CellText(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem,
                    IntT trim) {
    F_ObjHandleT c = qv::CellOf(doc, row, column, cell, cellElem);
    if (!c) return qv::NewHeapString("");
    return qv::NewHeapString(qv::PgfText(doc, F_ApiGetId(doc, c, FP_FirstPgf), -1, false, trim != 0));
}

F_StringsT om_CellParagraphTexts(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell,
                                 F_ObjHandleT cellElem, IntT keepEmpty, IntT trim) {
    F_ObjHandleT c = qv::CellOf(doc, row, column, cell, cellElem);
    return qv::NewStrings(qv::CellParagraphTexts(doc, c, keepEmpty != 0, trim != 0));
}

StringT om_CellTextJoined(F_ObjHandleT doc, F_ObjHandleT row, IntT column, F_ObjHandleT cell, F_ObjHandleT cellElem,
                          IntT keepEmpty, IntT trim) {
    F_ObjHandleT c = qv::CellOf(doc, row, column, cell, cellElem);
    std::string joined;
    bool first = true;
    for (const auto &t : qv::CellParagraphTexts(doc, c, keepEmpty != 0, trim != 0)) {
        if (!first) joined += '\n';
        joined += t;
        first = false;
    }
    return qv::NewHeapString(joined);
}

F_ObjHandleT om_TableAnchoredIn(F_ObjHandleT doc, F_ObjHandleT pgf) {
    if (!doc || !pgf) return 0;
    F_ObjHandleT t = F_ApiGetId(0, doc, FP_FirstTblInDoc);
    for (int n = 0; t && n < kStepLimit; ++n) {
        F_TextLocT loc = F_ApiGetTextLoc(doc, t, FP_AnchorLoc);
        if (loc.objId == pgf) return t;
        t = F_ApiGetId(doc, t, FP_NextTblInDoc);
    }
    return 0;
}

F_ObjHandleT om_TableCell(F_ObjHandleT doc, F_ObjHandleT table, F_ObjHandleT tableElem, F_ObjHandleT row,
                          F_ObjHandleT rowElem, F_ObjHandleT cellElem, IntT rowNumber, IntT columnNumber) {
    if (cellElem) return F_ApiGetId(doc, cellElem, FP_Object);
    if (tableElem) table = F_ApiGetId(doc, tableElem, FP_Object);
    if (rowElem) row = F_ApiGetId(doc, rowElem, FP_Object);
    if (!table) return 0;
    if (!row) row = om_TableNthRowOfType(doc, table, rowNumber, 1);
    return NthCell(doc, row, columnNumber);
}

F_ObjHandleT om_FlowLastPgf(F_ObjHandleT doc, ConStringT flowName, IntT caseFlag) {
    if (!doc) return 0;
    std::string name = qv::View(flowName).empty() ? "Main" : std::string(flowName);
    F_ObjHandleT flow = 0;
    if (name == "Main" && caseFlag) flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    for (F_ObjHandleT f = F_ApiGetId(0, doc, FP_FirstFlowInDoc); !flow && f; f = F_ApiGetId(doc, f, FP_NextFlowInDoc)) {
        StringT tag = F_ApiGetString(doc, f, FP_Name);
        bool same = caseFlag ? name == qv::View(tag) : qv::FoldCase(name) == qv::FoldCase(qv::View(tag));
        F_ApiDeallocateString(&tag);
        if (same) flow = f;
    }
    if (!flow) return 0;
    F_ObjHandleT frame = F_ApiGetId(doc, flow, FP_FirstTextFrameInFlow);
    F_ObjHandleT pgf = frame ? F_ApiGetId(doc, frame, FP_FirstPgf) : 0;
    for (int n = 0; pgf && n < kStepLimit; ++n) {
        F_ObjHandleT next = F_ApiGetId(doc, pgf, FP_NextPgfInFlow);
        if (!next) break;
        pgf = next;
    }
    return pgf;
}

F_ObjHandleT om_TableFindRow(F_ObjHandleT doc, F_ObjHandleT table, IntT column, ConStringT text, IntT exact,
                             IntT rowType) {
    if (!doc || !table) return 0;
    std::string want(qv::View(text));
    F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    for (int n = 0; row && n < kStepLimit; ++n, row = F_ApiGetId(doc, row, FP_NextRowInTbl)) {
        if (rowType >= 0 && F_ApiGetInt(doc, row, FP_RowType) != rowType) continue;
        F_ObjHandleT cell = NthCell(doc, row, column);
        std::string t = cell ? qv::PgfText(doc, F_ApiGetId(doc, cell, FP_FirstPgf), -1, false, false) : "";
        if (exact ? t == want : qv::FoldCase(t) == qv::FoldCase(want)) return row;
    }
    return 0;
}

void om_PgfReplaceText(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT endPgf, IntT startOffset, IntT endOffset,
                       ConStringT text) {
    F_TextRangeT range{{pgf, startOffset}, {endPgf, endOffset <= -1 ? FV_OBJ_END_OFFSET : endOffset}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &range);
    if (endOffset < 0) {
        range = F_ApiGetTextRange(0, doc, FP_TextSelection);
        if (range.end.offset > 0) range.end.offset -= 1;
        F_ApiSetTextRange(0, doc, FP_TextSelection, &range);
    }
    if (qv::View(text).empty()) return;
    F_ApiClear(doc, 0);
    F_ApiAddText(doc, &range.beg, text);
}

F_ObjHandleT om_CellSetText(F_ObjHandleT doc, F_ObjHandleT table, F_ObjHandleT cell, IntT rowNumber, IntT column,
                            ConStringT text, IntT number) {
    if (!cell && table && rowNumber >= 1) {
        F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl);
        for (IntT i = 1; row && i < rowNumber && i < kStepLimit; ++i) row = F_ApiGetId(doc, row, FP_NextRowInTbl);
        cell = NthCell(doc, row, column);
    }
    if (!cell) return 0;
    F_ObjHandleT pgf = F_ApiGetId(doc, cell, FP_FirstPgf);
    if (!pgf) return 0;
    std::string value = qv::View(text).empty() ? std::to_string(number) : std::string(text);
    om_PgfReplaceText(doc, pgf, pgf, 0, -1, value.c_str());
    return pgf;
}

F_ObjHandleT om_PgfInsertNew(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT format, ConStringT text, IntT where) {
    if (!doc || !pgf) return 0;
    F_ObjHandleT predecessor = pgf;
    if (where == 1) {
        predecessor = F_ApiGetId(doc, pgf, FP_PrevPgfInFlow);
        if (!predecessor) {
            F_ObjHandleT frame = F_ApiGetId(doc, pgf, FP_InTextFrame);
            predecessor = frame ? F_ApiGetId(doc, frame, FP_FramePredecessor) : 0;
        }
    }
    F_ObjHandleT fresh = F_ApiNewSeriesObject(doc, FO_Pgf, predecessor);
    if (!fresh) return 0;
    if (!qv::View(text).empty()) {
        F_TextLocT loc{fresh, 0};
        F_ApiAddText(doc, &loc, text);
    }
    om_PgfApplyFormat(doc, fresh, format);
    return fresh;
}

F_ObjHandleT om_TableAddRows(F_ObjHandleT doc, F_ObjHandleT table, IntT where, IntT count) {
    if (!doc || !table || count < 1) return 0;
    F_ObjHandleT result = 0;
    for (IntT i = 0; i < count; ++i) {
        if (where == 1) {
            F_ObjHandleT first = F_ApiGetId(doc, table, FP_FirstRowInTbl);
            F_ApiAddRows(doc, first, i == 0 ? FV_Above : FV_Below, 1);
        } else {
            F_ApiAddRows(doc, F_ApiGetId(doc, table, FP_LastRowInTbl), FV_Below, 1);
        }
        if (i == 0) result = F_ApiGetId(doc, table, where == 1 ? FP_FirstRowInTbl : FP_LastRowInTbl);
    }
    return result;
}

F_ObjHandleT om_PgfCopyFromDoc(F_ObjHandleT srcDoc, F_ObjHandleT srcPgf, F_ObjHandleT dstDoc, F_ObjHandleT dstPgf,
                               IntT where) {
    F_ObjHandleT target = (where == 1 || where == 2) ? om_PgfInsertNew(dstDoc, dstPgf, "Body", "", where) : dstPgf;
    if (!target) return 0;
    F_ObjHandleT prev = F_ApiGetId(dstDoc, target, FP_PrevPgfInFlow), next = F_ApiGetId(dstDoc, target, FP_NextPgfInFlow);
    F_TextRangeT src{{srcPgf, 0}, {srcPgf, FV_OBJ_END_OFFSET}};
    F_ApiSetTextRange(0, srcDoc, FP_TextSelection, &src);
    FA_errno = 0;
    F_ApiCopy(srcDoc, 0);
    if (FA_errno != 0) return 0;
    F_TextRangeT dst{{target, 0}, {target, FV_OBJ_END_OFFSET}};
    F_ApiSetTextRange(0, dstDoc, FP_TextSelection, &dst);
    F_ApiPaste(dstDoc, 0);
    if (FA_errno != 0) return 0;
    F_ObjHandleT result = prev ? F_ApiGetId(dstDoc, prev, FP_NextPgfInFlow) : F_ApiGetId(dstDoc, next, FP_PrevPgfInFlow);
    if (!next && result) {
        F_ObjHandleT after = F_ApiGetId(dstDoc, result, FP_NextPgfInFlow);
        if (after) F_ApiDelete(dstDoc, after);
    }
    return result;
}

F_ObjHandleT om_TableNthRowOfType(F_ObjHandleT doc, F_ObjHandleT table, IntT n, IntT rowType) {
    if (!doc || !table || n < 1) return 0;
    IntT counted = 0;
    F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    for (int k = 0; row && k < kStepLimit; ++k, row = F_ApiGetId(doc, row, FP_NextRowInTbl))
        if ((rowType == -1 || F_ApiGetInt(doc, row, FP_RowType) == rowType) && ++counted == n) return row;
    return 0;
}

StringT om_PgfCharAt(F_ObjHandleT doc, F_ObjHandleT pgf, IntT position) {
    if (!doc || !pgf || position < 0) return qv::NewHeapString("");
    std::string text = qv::PgfText(doc, pgf, -1, false, false);
    std::vector<size_t> bounds = qv::CharBounds(text);
    if (static_cast<size_t>(position) + 1 >= bounds.size()) return qv::NewHeapString("end");
    return qv::NewHeapString(text.substr(bounds[position], bounds[position + 1] - bounds[position]));
}
