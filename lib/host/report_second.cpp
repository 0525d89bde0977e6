// The element-based report writer (see report_second.h).
#include "lib/host/report_second.h"

#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/run_state.h"

SecondReportState SecondReport;

namespace {
// The second report document and its template.
[[maybe_unused]] const bool resetSecondReport = om_RunStateRegister("second report", RunStateKind::Run, [] {
    SecondReport = SecondReportState{};
});
}  // namespace

namespace {

constexpr IntT kFirstReportKind = 100;
constexpr IntT kLastReportKind = 107;

std::string S(ConStringT s) { return s ? s : ""; }

std::string TakeString(StringT s) {
    std::string out = s ? s : "";
    om_StrFree(&s);
    return out;
}

// A new element of the tag at the end of the report's highest-level element, holding the text.
F_ObjHandleT Append(F_ObjHandleT doc, const std::string &tag, const std::string &text) {
    F_ObjHandleT root = om_ElementHighestLevel(doc, "Main", 0);
    FA_errno = 0;
    F_ObjHandleT def = root ? F_ApiGetNamedObject(doc, FO_ElementDef, tag.c_str()) : 0;
    F_ElementLocT at{root, 0, 0};
    F_ObjHandleT e = def ? F_ApiNewElement(doc, def, &at) : 0;
    if (!e) {
        F_ApiAlert(("The report entry \"" + tag + "\" could not be added to the report.").c_str(), FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    om_AttrSetValue(doc, e, "id", std::to_string(F_ApiGetInt(doc, e, FP_Unique)));
    if (!text.empty()) om_ElementInsertText(doc, e, text, LocContent);
    return e;
}

std::string LongDateAndTime() {
    return TakeString(om_TimeWeekdayName(3)) + ", " + TakeString(om_TimeMonth(3)) + " " + TakeString(om_TimeDay(2)) +
           ", " + TakeString(om_TimeYear(0)) + " " + TakeString(om_TimeHour(1, 1)) + ":" + TakeString(om_TimeMinute(1));
}

}  // namespace

void om_ReportSecondSetTemplate(ConStringT path) {
    SecondReport.templatePath = S(path);
    SecondReport.failed = false;
}

F_ObjHandleT om_ReportSecondOpen(IntT reportKind) {
    if (SecondReport.doc && F_ApiGetObjectType(0, SecondReport.doc) == FO_Doc) return SecondReport.doc;
    FA_errno = 0;
    SecondReport.doc = 0;
    if (SecondReport.failed) return 0;
    F_ObjHandleT doc = om_DocOpen(SecondReport.templatePath.c_str(), 0, 0, 1, 1, 0, 1);
    if (!doc) {
        SecondReport.failed = true;
        F_ApiAlert(("The report template could not be opened:\n\n" + SecondReport.templatePath +
                    "\n\nPlease check the template in the Orle Meadow folder.")
                       .c_str(),
                   FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_ApiSetInt(0, doc, FP_DocIsReport, 1);
    for (IntT p : {FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3}) F_ApiSetInt(0, doc, p, 0);
    if (!om_ElementHighestLevel(doc, "Main", 0)) {
        F_ApiAlert("The report template has no highest-level element.", FF_ALERT_CONTINUE_WARN);
        F_ApiClose(doc, 1);
        return 0;
    }
    SecondReport.doc = doc;
    bool known = reportKind >= kFirstReportKind && reportKind <= kLastReportKind;
    Append(doc, "Heading1", known ? "Report " + std::to_string(reportKind) : "Report");
    Append(doc, "LongDateAndTime", LongDateAndTime());
    Append(doc, "NormalMessage", "");
    Append(doc, "SingleLine", "");
    return doc;
}

const char *om_ReportSecondTag(IntT entryKind) {
    static const char *const kTags[] = {"SingleLine", "SingleLine", "Heading1", "Heading1Hyperlink", "Heading2Hyperlink",
                                        "Heading2", "NormalMessage", "NormalMessageIndent", "HyperlinkMessage", "ShortDate",
                                        "LongDate", "BoldRedMessage", "NormalMessageIndent", "HyperlinkMessageBulletIndent",
                                        "BoldMessage", "Spacer"};
    return entryKind >= 1 && entryKind <= 15 ? kTags[entryKind] : kTags[0];
}

F_ObjHandleT om_ReportSecondAddEntry(IntT entryKind, F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj,
                                     ConStringT text1, ConStringT text2, ConStringT text3) {
    F_ObjHandleT doc = SecondReport.doc && F_ApiGetObjectType(0, SecondReport.doc) == FO_Doc ? SecondReport.doc : 0;
    if (!doc) return 0;
    F_ObjHandleT e = Append(doc, om_ReportSecondTag(entryKind), S(text1) + S(text2) + S(text3));
    if (!e || (!linkDoc && S(path).empty())) return e;
    std::string p = linkDoc ? HostGetString(0, linkDoc, FP_Path) : S(path);
    IntT unique = linkDoc && linkObj ? F_ApiGetInt(linkDoc, linkObj, FP_Unique) : 0;
    std::string link = !unique                               ? "openlink " + p + ":firstpage"
                       : entryKind == 13 || entryKind == 14 ? p + std::to_string(unique)
                                                            : "openObjectId " + p + ":5 " + std::to_string(unique);
    F_TextRangeT range = F_ApiGetTextRange(doc, e, FP_TextRange);
    F_ObjHandleT marker = F_ApiNewAnchoredObject(doc, FO_Marker, &range.beg);
    if (marker) {
        F_ApiSetString(doc, marker, FP_MarkerText, link.c_str());
        FA_errno = 0;
        if (F_ObjHandleT type = F_ApiGetNamedObject(doc, FO_MarkerType, "Hypertext")) F_ApiSetId(doc, marker, FP_MarkerTypeId, type);
        FA_errno = 0;
    }
    return e;
}

void om_ReportCloseSecond(void) {
    if (SecondReport.doc && F_ApiGetObjectType(0, SecondReport.doc) == FO_Doc) F_ApiClose(SecondReport.doc, 1);
    SecondReport.doc = 0;
}
