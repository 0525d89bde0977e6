// The transformation's entries in the shared error report document.
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "lib/host/documents.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

namespace {

const char *const kReportLabel = "Quorvane Error Report";
const char *const kReportTemplate = "Quorvane_Report_Template.fm";

// The error report: the open one, else a new one from the template in the plug-in's folder.
F_ObjHandleT ReportDoc() {
    if (F_ObjHandleT d = om_DocFindByLabel(kReportLabel, 0, 0, 1)) return d;
    StringT dir = F_ApiClientDir();
    std::string path = std::string(dir ? dir : "") + kReportTemplate;
    F_ApiDeallocateString(&dir);
    F_PropValsT params = F_ApiGetOpenDefaultParams();
    F_PropValsT *ret = nullptr;
    F_ObjHandleT d = F_ApiOpen(path.c_str(), &params, &ret);
    F_ApiDeallocatePropVals(&params);
    if (ret) F_ApiDeallocatePropVals(ret);
    if (d) F_ApiSetString(0, d, FP_Label, kReportLabel);
    return d;
}

F_ObjHandleT AppendElement(F_ObjHandleT doc, F_ObjHandleT parent, const char *defName) {
    F_ObjHandleT def = F_ApiGetNamedObject(doc, FO_ElementDef, defName);
    F_ElementLocT loc{parent, 0, 0};
    return F_ApiNewElement(doc, def, &loc);
}

}  // namespace

void XformWriteReportEntry(F_ObjHandleT k, F_ObjHandleT e, bool error, const std::string &text) {
    FA_errno = 0;
    F_ObjHandleT report = ReportDoc();
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
    AppendElement(report, h, error ? "TransformationErrorHeading" : "TransformationWarningHeading");
    F_ObjHandleT msg = AppendElement(report, h, "TransformationError");
    if (!msg) return;
    if (e) {
        om_ElementSelect(report, msg, LocContentEnd);
        F_TextRangeT sel = F_ApiGetTextRange(0, report, FP_TextSelection);
        F_ObjHandleT marker = F_ApiNewAnchoredObject(report, FO_Marker, &sel.end);
        if (marker) {
            std::string link = "openObjectId " + XformHostString(0, k, FP_Path) + ":5 " +
                               std::to_string(F_ApiGetInt(k, e, FP_Unique));
            F_ApiSetString(report, marker, FP_MarkerText, link.c_str());
            F_ObjHandleT type = F_ApiGetNamedObject(report, FO_MarkerType, "Hypertext");
            if (!type) type = F_ApiNewNamedObject(report, FO_MarkerType, "Hypertext");
            F_ApiSetId(report, marker, FP_MarkerTypeId, type);
        }
    }
    om_ElementSelect(report, msg, LocContentEnd);
    F_TextRangeT sel = F_ApiGetTextRange(0, report, FP_TextSelection);
    F_ApiAddText(report, &sel.end, text.c_str());
    FA_errno = 0;
}
