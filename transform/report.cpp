// The transformation's entries in the shared error report document: a heading (error or
// warning), then the message with a Hypertext marker leading back to the stylesheet element.
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "lib/state/nodewizard.h"
#include "nodewizard/element_actions.h"
#include "nodewizard/error_report.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

void XformWriteReportEntry(F_ObjHandleT k, F_ObjHandleT e, bool error, const std::string &text) {
    FA_errno = 0;
    om_OpenErrorReportDoc();
    F_ObjHandleT report = ErrorReportDoc;
    if (!report) {
        al_ok("Unable to create the XPath error report.");
        return;
    }
    F_ApiSetInt(0, report, FP_IsInFront, 1);
    F_ObjHandleT flow = F_ApiGetId(0, report, FP_MainFlowInDoc);
    F_ObjHandleT h = flow ? F_ApiGetId(report, flow, FP_HighestLevelElement) : 0;
    if (!h) {
        al_ok("error in report - no HLE");
        return;
    }
    const char *heading = error ? "TransformationErrorHeading" : "TransformationWarningHeading";
    if (om_NWInsertElement(report, h, heading, NWElem::InsertLastChild) < kNWFirstInsertedId) return;
    F_ObjHandleT msg =
        static_cast<F_ObjHandleT>(om_NWInsertElement(report, h, "TransformationError", NWElem::InsertLastChild));
    if (static_cast<IntT>(msg) < kNWFirstInsertedId) return;
    if (e && om_ElementSelect(report, msg, LocContentEnd)) {
        F_TextRangeT sel = F_ApiGetTextRange(0, report, FP_TextSelection);
        F_ObjHandleT marker = F_ApiNewAnchoredObject(report, FO_Marker, &sel.end);
        if (marker) {
            std::string link = om_NWReportLinkText(XformHostString(0, k, FP_Path), F_ApiGetInt(k, e, FP_Unique));
            F_ApiSetString(report, marker, FP_MarkerText, link.c_str());
            F_ApiSetId(report, marker, FP_MarkerTypeId, F_ApiGetNamedObject(report, FO_MarkerType, "Hypertext"));
        }
    }
    if (!om_ElementSelect(report, msg, LocContentEnd)) return;
    F_TextRangeT sel = F_ApiGetTextRange(0, report, FP_TextSelection);
    F_ApiAddText(report, &sel.end, text.c_str());
    FA_errno = 0;
}
