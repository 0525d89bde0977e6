// The plug-in report writer (see report.h).
//
// The report's "last paragraph" is the last paragraph of its main flow outside tables: a table's
// cells are paragraphs of the flow here, so a paragraph in a cell stands for the paragraph that
// anchors the table, and new entries go after the table.
#include "lib/host/report.h"

#include <unordered_map>

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/formats.h"
#include "lib/host/hostui.h"
#include "lib/host/host_values.h"
#include "lib/host/pgftext.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/run_state.h"

ReportState Report;

namespace {
// The report being written and its current paragraph.
[[maybe_unused]] const bool resetReport = om_RunStateRegister("report", RunStateKind::Run, [] {
    Report = ReportState{};
});
}  // namespace

namespace {

constexpr IntT kReportFlags[] = {FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3};
constexpr int kStepLimit = 10000000;
const char *const kStyleWords[] = {"Blue", "Bold", "Italics", "Red", "Underline", "Green", "Purple"};

std::string S(ConStringT s) { return s ? s : ""; }

std::string TakeString(StringT s) {
    std::string out = s ? s : "";
    om_StrFree(&s);
    return out;
}

std::string Label(const std::string &product) { return product + " Report"; }

// The main flow's last paragraph outside tables.
F_ObjHandleT LastPgf(F_ObjHandleT doc) {
    F_ObjHandleT pgf = om_FlowLastPgf(doc, "Main", 1);
    for (int steps = 0; pgf && steps < 1000; ++steps) {
        F_ObjHandleT cell = F_ApiGetId(doc, pgf, FP_InCell);
        if (F_OBJ_KIND(cell) != FO_Cell) break;
        F_ObjHandleT table = F_ApiGetId(doc, F_ApiGetId(doc, cell, FP_CellRow), FP_RowTbl);
        F_ObjHandleT anchor = F_ApiGetTextLoc(doc, table, FP_AnchorLoc).objId;
        if (!anchor || anchor == pgf) break;
        pgf = anchor;
    }
    return pgf;
}

F_ObjHandleT LastTable(F_ObjHandleT doc) { return om_TableAnchoredIn(doc, LastPgf(doc)); }

// A paragraph of the format after the report's last paragraph.
F_ObjHandleT Append(F_ObjHandleT doc, const std::string &format, const std::string &text) {
    F_ObjHandleT last = LastPgf(doc);
    return last ? om_PgfInsertNew(doc, last, format.c_str(), text.c_str(), 0) : 0;
}

std::string DateLine() {
    return TakeString(om_TimeMonth(3)) + " " + TakeString(om_TimeDay(2)) + ", " + TakeString(om_TimeYear(0)) + " - " +
           TakeString(om_TimeHour(1, 1)) + ":" + TakeString(om_TimeMinute(1)) + ":" + TakeString(om_TimeSecond(1));
}

// Marks a new entry paragraph: "ID" marker, link marker, style words; it becomes current.
void FinishEntry(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj,
                 ConStringT styleWords) {
    om_MarkerAdd(doc, pgf, 0, 0, "ID", std::to_string(F_ApiGetInt(doc, pgf, FP_Unique)).c_str());
    om_ReportAddLinkMarker(doc, pgf, linkDoc, path, linkObj);
    om_ReportApplyStyleWords(doc, pgf, styleWords);
    Report.currentPgf = pgf;
}

// The report to write to: found, or opened with a new section when missing or asked for.
F_ObjHandleT ReportForEntry() {
    F_ObjHandleT doc = om_ReportFind("");
    if (!doc || Report.startNew) {
        doc = om_ReportOpen();
        Report.startNew = false;
    }
    return doc;
}

}  // namespace

void om_ReportSetUp(ConStringT productName, ConStringT heading, IntT startNew) {
    Report.productName = S(productName);
    Report.heading = S(heading);
    Report.startNew = startNew != 0;
    Report.setUp = true;
}

F_ObjHandleT om_ReportFind(ConStringT productName) {
    std::string product = S(productName).empty() ? Report.productName : S(productName);
    std::string want = qv::FoldCase(Label(product));
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d; d = F_ApiGetId(0, d, FP_NextOpenDocInSession))
        if (qv::FoldCase(HostGetString(0, d, FP_Label)) == want) return d;
    return 0;
}

StringT om_ReportTemplatePath(ConStringT productName) {
    std::string product = S(productName).empty() ? Report.productName : S(productName);
    std::string dir = TakeString(F_ApiClientDir());
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
    return om_StrCopy((dir + product + "_Report_Template.fm").c_str());
}

F_ObjHandleT om_ReportOpen(void) {
    if (!Report.setUp) return 0;
    F_ObjHandleT doc = om_ReportFind("");
    if (!doc) {
        std::string path = TakeString(om_ReportTemplatePath(""));
        doc = om_DocOpen(path.c_str(), 0, 0, 1, 1, 0, 1);
        if (!doc) {
            std::string text = "An error occurred while attempting to generate the plugin report, using  the following "
                               "template:\n\n" +
                               path + "\n\nMake sure that the template exists  and that it isn't corrupt.";
            F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
            return 0;
        }
        F_ApiSetInt(0, doc, FP_DocIsReport, 1);
        om_DocSetViewMode(doc, 0);
        for (IntT p : kReportFlags) F_ApiSetInt(0, doc, p, 0);
        if (LastPgf(doc)) Append(doc, "Title", "_____ " + Report.productName + " Report _____");
        F_ApiSetString(0, doc, FP_Label, Label(Report.productName).c_str());
    }
    Append(doc, "SingleLine", "");
    Append(doc, "Body", "");
    Append(doc, "Heading1", Report.heading);
    Append(doc, "Body", DateLine());
    Append(doc, "Body", "");
    return doc;
}

void om_ReportActivate(void) {
    if (F_ObjHandleT doc = om_ReportFind("")) om_DocActivate(doc);
}

void om_ReportClose(void) {
    if (F_ObjHandleT doc = om_ReportFind("")) F_ApiClose(doc, 1);
}

void om_ReportFormatCurrent(F_ObjHandleT pgfId, ConStringT pgfFormat, ConStringT charFormat) {
    F_ObjHandleT doc = om_ReportFind("");
    F_ObjHandleT pgf = pgfId ? pgfId : Report.currentPgf;
    if (!doc || !pgf) return;
    if (!S(pgfFormat).empty()) om_PgfApplyFormat(doc, pgf, pgfFormat);
    if (!S(charFormat).empty()) om_TextApplyCharFormat(doc, pgf, charFormat);
}

void om_ReportAddEntry(F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj, ConStringT pgfFormat,
                       ConStringT styleWords, ConStringT text1, ConStringT text2, ConStringT text3) {
    if (!Report.setUp) return;
    F_ObjHandleT doc = ReportForEntry();
    if (!doc) return;
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    F_ObjHandleT pgf = Append(doc, S(pgfFormat), S(text1) + S(text2) + S(text3));
    if (!pgf) return;
    FinishEntry(doc, pgf, linkDoc, path, linkObj, styleWords);
    om_DocActivate(doc);
}

IntT om_ReportAddSingleLines(IntT count) {
    for (IntT i = 0; i < count; ++i) om_ReportAddEntry(0, "", 0, "SingleLine", "", "", "", "");
    return count;
}

IntT om_ReportAddSpacers(IntT count) {
    for (IntT i = 0; i < count; ++i) om_ReportAddEntry(0, "", 0, "Spacer", "", "", "", "");
    return count;
}

void om_ReportAddTableEntry(F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj, IntT column,
                            ConStringT pgfFormat, ConStringT styleWords, ConStringT text) {
    if (!Report.setUp) return;
    F_ObjHandleT doc = om_ReportFind("");
    F_ObjHandleT table = doc ? LastTable(doc) : 0;
    F_ObjHandleT row = table ? F_ApiGetId(doc, table, FP_LastRowInTbl) : 0;
    F_ObjHandleT cell = row ? om_TableCell(doc, table, 0, row, 0, 0, 0, column) : 0;
    F_ObjHandleT last = cell ? F_ApiGetId(doc, cell, FP_LastPgf) : 0;
    if (!last) return;
    F_ObjHandleT pgf = last;
    if (qv::PgfText(doc, last, -1, false, false).empty()) {
        om_PgfReplaceText(doc, last, last, 0, -1, S(text).c_str());
        if (!S(pgfFormat).empty()) om_PgfApplyFormat(doc, last, pgfFormat);
    } else {
        pgf = om_PgfInsertNew(doc, last, pgfFormat, text, 0);
        if (!pgf) return;
    }
    FinishEntry(doc, pgf, linkDoc, path, linkObj, styleWords);
}

void om_ReportAddTableRow(void) {
    F_ObjHandleT doc = om_ReportFind("");
    F_ObjHandleT table = doc ? LastTable(doc) : 0;
    if (table) F_ApiAddRows(doc, F_ApiGetId(doc, table, FP_LastRowInTbl), FV_Below, 1);
}

void om_ReportAddTable(ConStringT tableFormat, RealT w1, RealT w2, RealT w3, RealT w4, RealT w5, RealT w6) {
    F_ObjHandleT doc = om_ReportFind("");
    if (!Report.setUp || !doc || w1 <= 0) return;
    std::vector<MetricT> widths;
    for (RealT w : {w1, w2, w3, w4, w5, w6}) {
        if (w <= 0) break;
        widths.push_back(F_RealToMetric(w));
    }
    F_ObjHandleT spacer = Append(doc, "Spacer", "");
    if (!spacer) return;
    F_TextLocT at{spacer, 0};
    F_ObjHandleT table = F_ApiNewTable(doc, S(tableFormat).c_str(), static_cast<IntT>(widths.size()), 1, 0, 0, &at);
    if (!table) return;
    F_MetricsT list{static_cast<UIntT>(widths.size()), widths.data()};
    F_ApiSetMetrics(doc, table, FP_TblColWidths, &list);
}

void om_ReportAddMarker(IntT offset, ConStringT markerType, ConStringT text) {
    F_ObjHandleT doc = om_ReportFind("");
    if (doc && Report.currentPgf) om_MarkerAdd(doc, Report.currentPgf, 0, offset, markerType, text);
}

void om_ReportAddVariable(ConStringT varFormat, IntT offset, ConStringT definition) {
    F_ObjHandleT doc = om_ReportFind("");
    if (doc && Report.currentPgf) om_VariableInsert(doc, Report.currentPgf, 0, offset, varFormat, definition);
}

void om_ReportSetVariableDef(ConStringT varFormat, ConStringT definition) {
    if (F_ObjHandleT doc = om_ReportFind("")) om_VarFormatSetDefinition(doc, varFormat, definition);
}

F_ObjHandleT om_ReportCurrentPgf(void) { return Report.currentPgf; }

IntT om_ReportPgfId(F_ObjHandleT pgfId) {
    F_ObjHandleT doc = om_ReportFind("");
    F_ObjHandleT pgf = pgfId ? pgfId : Report.currentPgf;
    if (!doc || !pgf) return 0;
    int steps = 0;
    for (F_ObjHandleT m = F_ApiGetId(0, doc, FP_FirstMarkerInDoc); m && steps < kStepLimit;
         m = F_ApiGetId(doc, m, FP_NextMarkerInDoc), ++steps)
        if (F_ApiGetTextLoc(doc, m, FP_TextLoc).objId == pgf &&
            HostGetString(doc, F_ApiGetId(doc, m, FP_MarkerTypeId), FP_Name) == "ID")
            return F_StrAlphaToInt(HostGetString(doc, m, FP_MarkerText).c_str());
    return 0;
}

F_ObjHandleT om_ReportFindPgfById(IntT number) {
    F_ObjHandleT doc = om_ReportFind("");
    if (!doc) return 0;
    // The first "ID" number of each paragraph, read once from the document's markers.
    std::unordered_map<F_ObjHandleT, IntT> ids;
    int steps = 0;
    for (F_ObjHandleT m = F_ApiGetId(0, doc, FP_FirstMarkerInDoc); m && steps < kStepLimit;
         m = F_ApiGetId(doc, m, FP_NextMarkerInDoc), ++steps)
        if (HostGetString(doc, F_ApiGetId(doc, m, FP_MarkerTypeId), FP_Name) == "ID")
            ids.emplace(F_ApiGetTextLoc(doc, m, FP_TextLoc).objId,
                        F_StrAlphaToInt(HostGetString(doc, m, FP_MarkerText).c_str()));
    for (F_ObjHandleT p = F_ApiGetId(0, doc, FP_FirstPgfInDoc); p && steps < kStepLimit;
         p = F_ApiGetId(doc, p, FP_NextPgfInDoc), ++steps) {
        auto it = ids.find(p);
        if ((it == ids.end() ? 0 : it->second) == number) return p;
    }
    return 0;
}

void om_ReportAddLinkMarker(F_ObjHandleT reportId, F_ObjHandleT pgfId, F_ObjHandleT docId, ConStringT path,
                            F_ObjHandleT objId) {
    if (!docId && S(path).empty()) return;
    std::string p = docId ? HostGetString(0, docId, FP_Path) : S(path);
    IntT unique = docId && objId ? F_ApiGetInt(docId, objId, FP_Unique) : 0;
    std::string text = unique ? "openObjectId " + p + ":5 " + std::to_string(unique) : "openlink " + p + ":firstpage";
    om_MarkerAdd(reportId, pgfId, 0, 0, "Hypertext", text.c_str());
}

void om_ReportApplyStyleWords(F_ObjHandleT reportId, F_ObjHandleT pgfId, ConStringT styleWords) {
    std::string words = qv::FoldCase(S(styleWords));
    if (!reportId || !pgfId || words.empty()) return;
    for (const char *style : kStyleWords)
        if (words.find(qv::FoldCase(style)) != std::string::npos) om_TextApplyCharFormat(reportId, pgfId, style);
}

void om_CellClearText(F_ObjHandleT docId, F_ObjHandleT tableId, F_ObjHandleT rowElem, F_ObjHandleT cellId, IntT row,
                      IntT column) {
    if (!docId) return;
    F_ObjHandleT cell = cellId ? cellId : om_TableCell(docId, tableId, 0, 0, rowElem, 0, row, column);
    if (!cell) return;
    F_TextRangeT r{{F_ApiGetId(docId, cell, FP_FirstPgf), 0}, {F_ApiGetId(docId, cell, FP_LastPgf), FV_OBJ_END_OFFSET}};
    F_ApiSetTextRange(0, docId, FP_TextSelection, &r);
    F_ApiClear(docId, 0);
}

F_ObjHandleT om_PgfFind(F_ObjHandleT docId, F_ObjHandleT pgfId, ConStringT flowName, ConStringT format, ConStringT text,
                        IntT inclusive, IntT caseFlag) {
    if (!docId) return 0;
    F_ObjHandleT p = 0;
    if (pgfId) {
        p = inclusive ? pgfId : F_ApiGetId(docId, pgfId, FP_NextPgfInFlow);
    } else {
        F_ObjHandleT flow = F_ApiGetId(0, docId, FP_MainFlowInDoc);
        if (!S(flowName).empty()) {
            flow = 0;
            for (F_ObjHandleT f = F_ApiGetId(0, docId, FP_FirstFlowInDoc); f && !flow; f = F_ApiGetId(docId, f, FP_NextFlowInDoc))
                if (HostGetString(docId, f, FP_Name) == S(flowName)) flow = f;
        }
        F_ObjHandleT frame = flow ? F_ApiGetId(docId, flow, FP_FirstTextFrameInFlow) : 0;
        p = frame ? F_ApiGetId(docId, frame, FP_FirstPgf) : 0;
    }
    std::string fmt = S(format), want = S(text);
    if (fmt.empty() && want.empty()) return p;
    auto same = [caseFlag](const std::string &a, const std::string &b) {
        return caseFlag ? a == b : qv::FoldCase(a) == qv::FoldCase(b);
    };
    for (int steps = 0; p && steps < kStepLimit; ++steps, p = F_ApiGetId(docId, p, FP_NextPgfInFlow)) {
        if (!fmt.empty() ? same(HostGetString(docId, p, FP_Name), fmt) : same(qv::PgfText(docId, p, -1, false, false), want))
            return p;
    }
    return 0;
}

F_ObjHandleT om_MarkerAdd(F_ObjHandleT docId, F_ObjHandleT pgfId, F_ObjHandleT frameId, IntT offset,
                          ConStringT markerType, ConStringT text) {
    if (!docId) return 0;
    F_ObjHandleT pgf = pgfId ? pgfId : F_ApiGetId(docId, frameId, FP_FirstPgf);
    if (!pgf) return 0;
    F_TextLocT at{pgf, offset};
    F_ObjHandleT marker = F_ApiNewAnchoredObject(docId, FO_Marker, &at);
    if (!marker) return 0;
    F_ApiSetString(docId, marker, FP_MarkerText, S(text).c_str());
    FA_errno = 0;
    if (F_ObjHandleT type = F_ApiGetNamedObject(docId, FO_MarkerType, S(markerType).c_str()))
        F_ApiSetId(docId, marker, FP_MarkerTypeId, type);
    FA_errno = 0;
    return marker;
}

F_ObjHandleT om_VarFormatGetOrCreate(F_ObjHandleT docId, ConStringT name, ConStringT definition) {
    if (!docId) return 0;
    FA_errno = 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(docId, FO_VarFmt, S(name).c_str());
    FA_errno = 0;
    if (fmt) return fmt;
    fmt = F_ApiNewNamedObject(docId, FO_VarFmt, S(name).c_str());
    if (fmt) F_ApiSetString(docId, fmt, FP_Fmt, S(definition).c_str());
    return fmt;
}

F_ObjHandleT om_VarFormatSetDefinition(F_ObjHandleT docId, ConStringT name, ConStringT definition) {
    if (!docId) return 0;
    FA_errno = 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(docId, FO_VarFmt, S(name).c_str());
    FA_errno = 0;
    if (fmt) F_ApiSetString(docId, fmt, FP_Fmt, S(definition).c_str());
    return fmt;
}

F_ObjHandleT om_VariableInsert(F_ObjHandleT docId, F_ObjHandleT pgfId, F_ObjHandleT frameId, IntT offset,
                               ConStringT varFormat, ConStringT definition) {
    if (!docId) return 0;
    F_ObjHandleT pgf = pgfId ? pgfId : F_ApiGetId(docId, frameId, FP_FirstPgf);
    if (!pgf) return 0;
    FA_errno = 0;
    bool exists = F_ApiGetNamedObject(docId, FO_VarFmt, S(varFormat).c_str()) != 0;
    FA_errno = 0;
    if (!exists)
        om_VarFormatGetOrCreate(docId, varFormat, definition);
    else if (!S(definition).empty())
        om_VarFormatSetDefinition(docId, varFormat, definition);
    F_TextLocT at{pgf, offset};
    return F_ApiNewAnchoredFormattedObject(docId, FO_Var, S(varFormat).c_str(), &at);
}

IntT om_PgfSetText(F_ObjHandleT docId, F_ObjHandleT pgfId, ConStringT text, IntT number) {
    std::string value = S(text).empty() ? std::to_string(number) : S(text);
    om_PgfReplaceText(docId, pgfId, pgfId, 0, -1, value.c_str());
    return 1;
}

void om_PrintfTemplateAppend(ConStringT text, ConStringT pgfFormat) {
    std::string dir = TakeString(F_ApiClientDir());
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
    std::string path = dir + "dev\\printf_template.fm";
    F_ObjHandleT doc = om_DocOpen(path.c_str(), 0, 0, 1, 1, 0, 1);
    if (!doc) {
        F_ApiAlert(("Error, couldn't open the printf template at " + path + ".").c_str(), FF_ALERT_CONTINUE_WARN);
        return;
    }
    F_ObjHandleT flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    F_ObjHandleT frame = flow ? F_ApiGetId(doc, flow, FP_LastTextFrameInFlow) : 0;
    F_ObjHandleT last = frame ? F_ApiGetId(doc, frame, FP_LastPgf) : 0;
    if (!last) {
        F_ApiAlert("Error, couldn't find the ref pgf in the printf template.", FF_ALERT_CONTINUE_WARN);
        return;
    }
    om_PgfInsertNew(doc, last, pgfFormat, text, 0);
}
