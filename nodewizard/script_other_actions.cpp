// Other actions of Node Wizard Scripts: object properties, table rows and columns, cross-reference
// updates, selection, clipboard and parameters, the target file, prompts, saving and closing,
// screen updates and the end of a script.
#include "nodewizard/script_other_actions.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "lib/dialogs/file_choice.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/hostui.h"
#include "lib/host/paths.h"
#include "lib/host/folders.h"
#include "lib/host/system_services.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/clipboard.h"
#include "nodewizard/error_report.h"
#include "nodewizard/script_values.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// Host alert types of the prompts.
constexpr IntT kAlertOkCancel = FF_ALERT_OK_DEFAULT;
constexpr IntT kAlertCancelOk = FF_ALERT_CANCEL_DEFAULT;
constexpr IntT kAlertNote = FF_ALERT_CONTINUE_NOTE;
constexpr IntT kAlertYesNo = FF_ALERT_YES_DEFAULT;
constexpr IntT kAlertNoYes = FF_ALERT_NO_DEFAULT;


bool Contains(const std::string &text, const char *keyword) {
    return qv::FoldCase(text).find(qv::FoldCase(keyword)) != std::string::npos;
}

std::string ReplaceAll(std::string text, char from, const char *to) {
    std::string out;
    for (char c : text) {
        if (c == from)
            out += to;
        else
            out += c;
    }
    return out;
}

// What one action works on.
struct ActionContext {
    F_ObjHandleT scriptsDoc = 0;
    const NWSOtherAction *rec = nullptr;  // B and E as read
    std::string value;                    // V
    F_ObjHandleT target = 0;
    F_ObjHandleT matched = 0;
    IntT report = 0;
    std::vector<IntT> *errors = nullptr;
    F_ObjHandleT *newTarget = nullptr;
};

// Reports at once (not counted) at the action element or its first child.
void ReportNow(const ActionContext &a, F_ObjHandleT at, IntT code) {
    if (a.report == 1) om_NWReportActionError(a.scriptsDoc, at, "", code, NWReportKind::Other);
}

// Delivers a produced value: to the parameter named by E's Apply_to_parameter, else to the
// clipboard through the scratch pad.
void DeliverResult(const ActionContext &a, const std::string &result) {
    if (a.rec->hasApplyTo) {
        if (a.rec->applyTo.empty())
            a.errors->push_back(NWResult::EmptyParameterName);
        else
            om_XPathSetParameter(a.rec->applyTo, result);
        return;
    }
    om_NWWriteScratchPad(a.scriptsDoc, result.c_str());
}

// The path options of E applied to a path.
std::string ApplyPathOptions(const ActionContext &a, std::string path) {
    StringT p = om_StrCopy(path.c_str());
    om_NWSApplyPathOptions(a.rec->pathOptions, a.target, &p);
    std::string out(qv::View(p));
    om_StrFree(&p);
    return out;
}

// The paragraph where the element's text begins, or 0.
F_ObjHandleT FirstParagraphOf(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_TextRangeT r = ElementTextRange(doc, elem, 6);
    if (!r.beg.objId) r = ElementTextRange(doc, elem, 5);
    return F_OBJ_KIND(r.beg.objId) == FO_Pgf ? r.beg.objId : 0;
}

// The page of the match: of a flow's first text frame, else of the text frame of the paragraph
// where its text begins.
F_ObjHandleT PageOfMatch(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT frame = 0;
    if (F_OBJ_KIND(elem) == FO_Flow) {
        frame = F_ApiGetId(doc, elem, FP_FirstTextFrameInFlow);
    } else {
        F_ObjHandleT pgf = FirstParagraphOf(doc, elem);
        frame = pgf ? F_ApiGetId(doc, pgf, FP_InTextFrame) : 0;
    }
    return frame ? FramePage(doc, frame) : 0;
}

// Makes the host's named object of the kind (a format, a marker type) the object's reference
// property; a name the document lacks is the error.
void SetNamedReference(const ActionContext &a, F_ObjHandleT doc, F_ObjHandleT object, IntT namedKind, IntT prop,
                       IntT missing) {
    F_ObjHandleT named = F_ApiGetNamedObject(doc, namedKind, a.value.c_str());
    if (named)
        F_ApiSetId(doc, object, prop, named);
    else
        a.errors->push_back(missing);
}

// Object properties: set or get the property whose keyword T contains.
void ObjectProperty(const ActionContext &a, bool set) {
    if (!a.target) {
        a.errors->push_back(NWResult::NoTarget);
        return;
    }
    F_ObjHandleT doc = a.target;
    F_ObjHandleT object = F_ApiGetId(doc, a.matched, FP_Object);
    IntT kind = F_OBJ_KIND(object);
    const std::string &t = a.rec->firstTag;
    const std::string &v = a.value;
    std::string result;
    bool produced = false;

    if (Contains(t, "ImportObFile")) {
        if (kind != FO_AFrame) {
            a.errors->push_back(NWResult::NotAnchoredFrame);
        } else {
            F_ObjHandleT graphic = F_ApiGetId(doc, object, FP_FirstGraphicInFrame);
            if (F_OBJ_KIND(graphic) == FO_Inset) {
                if (set) {
                    F_ApiSetString(doc, graphic, FP_InsetFile, ReplaceAll(v, '/', "\\").c_str());
                } else {
                    result = ApplyPathOptions(a, HostGetString(doc, graphic, FP_InsetFile));
                    produced = true;
                }
            }
        }
    } else if (Contains(t, "XRefName")) {
        if (kind != FO_XRef) {
            a.errors->push_back(NWResult::NotXRef);
        } else if (set) {
            F_ApiSetInt(doc, object, FP_XRefSrcAccess, 1);
            SetNamedReference(a, doc, object, FO_XRefFmt, FP_XRefFmt, NWResult::NoXRefFormat);
        } else {
            result = HostGetString(doc, F_ApiGetId(doc, object, FP_XRefFmt), FP_Name);
            produced = true;
        }
    } else if (Contains(t, "XRefSrcText")) {
        F_ApiSetInt(doc, object, FP_XRefSrcAccess, 1);
        if (kind != FO_XRef) {
            a.errors->push_back(NWResult::NotXRef);
        } else if (set) {
            F_ApiSetString(doc, object, FP_XRefSrcText, (v + "::").c_str());
        } else {
            result = HostGetString(doc, object, FP_XRefSrcText);
            result = result.substr(0, result.find(':'));
            produced = true;
        }
    } else if (Contains(t, "XRefSrcFile")) {
        F_ApiSetInt(doc, object, FP_XRefSrcAccess, 1);
        if (kind != FO_XRef) {
            a.errors->push_back(NWResult::NotXRef);
        } else if (set) {
            F_ApiSetString(doc, object, FP_XRefFile, om_StrEqualCI(v.c_str(), "Current") ? "" : v.c_str());
        } else {
            result = ApplyPathOptions(a, HostGetString(doc, object, FP_XRefFile));
            produced = true;
        }
    } else if (Contains(t, "MTypeName")) {
        if (kind != FO_Marker) {
            a.errors->push_back(NWResult::NotMarker);
        } else if (set) {
            SetNamedReference(a, doc, object, FO_MarkerType, FP_MarkerTypeId, NWResult::NoMarkerType);
        } else {
            result = HostGetString(doc, F_ApiGetId(doc, object, FP_MarkerTypeId), FP_Name);
            produced = true;
        }
    } else if (Contains(t, "MText")) {
        if (kind != FO_Marker) {
            a.errors->push_back(NWResult::NotMarker);
        } else if (set) {
            F_ApiSetString(doc, object, FP_MarkerText, v.c_str());
        } else {
            result = HostGetString(doc, object, FP_MarkerText);
            produced = true;
        }
    } else if (Contains(t, "PageNumInt") || Contains(t, "PageNumStr")) {
        if (!set) {
            F_ObjHandleT page = PageOfMatch(doc, a.matched);
            if (Contains(t, "PageNumInt"))
                result = page ? std::to_string(F_ApiGetInt(doc, page, FP_PageNum) + 1) : std::string();
            else
                result = page ? HostGetString(doc, page, FP_PageNumString) : std::string();
            produced = true;
        }
    } else if (Contains(t, "PgfTag")) {
        if (!set) {
            F_ObjHandleT pgf = kind == FO_Cell ? F_ApiGetId(doc, object, FP_FirstPgf) : FirstParagraphOf(doc, a.matched);
            result = pgf ? HostGetString(doc, pgf, FP_Name) : std::string();
            produced = true;
        }
    } else if (Contains(t, "TblTag")) {
        F_ObjHandleT table = om_TableEnclosing(doc, a.matched, FO_Tbl);
        if (!table) {
            a.errors->push_back(NWResult::NotInTable);
        } else if (set) {
            F_ObjHandleT format = F_ApiGetNamedObject(doc, FO_TblFmt, v.c_str());
            if (!format) {
                a.errors->push_back(NWResult::NoTableFormat);
            } else {
                F_PropValsT props = F_ApiGetProps(doc, format);
                F_ApiSetProps(doc, table, &props);
                F_ApiDeallocatePropVals(&props);
            }
        } else {
            result = HostGetString(doc, table, FP_TblTag);
            produced = true;
        }
    } else if (Contains(t, "TblColumnWidth")) {
        F_ObjHandleT cell = om_TableEnclosing(doc, a.matched, FO_Cell);
        if (!cell) {
            a.errors->push_back(NWResult::NotInCell);
        } else {
            F_ObjHandleT table = om_TableEnclosing(doc, a.matched, FO_Tbl);
            IntT column = F_ApiGetInt(doc, cell, FP_CellColNum);
            F_MetricsT widths = F_ApiGetMetrics(doc, table, FP_TblColWidths);
            bool exists = column >= 0 && static_cast<UIntT>(column) < widths.len;
            if (set) {
                double width = std::atof(v.c_str()) * 65536.0;
                if (!(width >= 1.0)) {
                    a.errors->push_back(NWResult::BadColumnWidth);
                } else if (exists) {
                    widths.val[column] = width > 2147483647.0 ? 2147483647 : static_cast<MetricT>(width);
                    F_ApiSetMetrics(doc, table, FP_TblColWidths, &widths);
                }
            } else if (exists) {
                char text[64];
                std::snprintf(text, sizeof text, "%f", widths.val[column] / 65536.0);
                result = text;
                produced = true;
            }
            F_ApiFreeMetricList(&widths);
        }
    } else if (Contains(t, "Filename") || Contains(t, "Filefolder") || Contains(t, "Filepath")) {
        if (!set) {
            std::string path = HostGetString(0, doc, FP_Path);
            size_t slash = path.rfind('\\');
            if (Contains(t, "Filename"))
                result = slash == std::string::npos ? path : path.substr(slash + 1);
            else if (Contains(t, "Filefolder"))
                result = slash == std::string::npos ? std::string() : path.substr(0, slash);
            else
                result = path;
            produced = true;
        }
    } else if (!set) {
        produced = true;
    }
    FA_errno = 0;
    if (produced) DeliverResult(a, result);
}

void AddObject(const ActionContext &a) {
    if (!a.target) {
        a.errors->push_back(NWResult::NoTarget);
        return;
    }
    const std::string &t = a.rec->firstTag;
    if (om_NWSTagIs(t, "Add_table_row_above") || om_NWSTagIs(t, "Add_table_row_below")) {
        F_ObjHandleT row = om_TableEnclosing(a.target, a.matched, FO_Row);
        if (!row)
            a.errors->push_back(NWResult::NotInRow);
        else
            F_ApiAddRows(a.target, row, om_NWSTagIs(t, "Add_table_row_above") ? FV_Above : FV_Below, 1);
    } else if (om_NWSTagIs(t, "Add_table_column_left") || om_NWSTagIs(t, "Add_table_column_right")) {
        F_ObjHandleT cell = om_TableEnclosing(a.target, a.matched, FO_Cell);
        if (!cell) {
            a.errors->push_back(NWResult::NotInCell);
        } else {
            F_ObjHandleT table = om_TableEnclosing(a.target, a.matched, FO_Tbl);
            F_ApiAddCols(a.target, table, F_ApiGetInt(a.target, cell, FP_CellColNum),
                         om_NWSTagIs(t, "Add_table_column_left") ? FV_Left : FV_Right, 1);
        }
    }
    FA_errno = 0;
}

void DeleteObject(const ActionContext &a) {
    if (!a.target) {
        a.errors->push_back(NWResult::NoTarget);
        return;
    }
    F_ObjHandleT doc = a.target;
    const std::string &t = a.rec->firstTag;
    if (om_NWSTagIs(t, "Delete_table_row")) {
        F_ObjHandleT row = om_TableEnclosing(doc, a.matched, FO_Row);
        if (!row) {
            a.errors->push_back(NWResult::NotInRow);
        } else {
            F_ObjHandleT table = om_TableEnclosing(doc, a.matched, FO_Tbl);
            auto isBody = [&](F_ObjHandleT r) { return r && F_ApiGetInt(doc, r, FP_RowType) == FV_ROW_BODY; };
            if (isBody(F_ApiGetId(doc, row, FP_NextRowInTbl)) || isBody(F_ApiGetId(doc, row, FP_PrevRowInTbl)))
                F_ApiDeleteRows(doc, table, row, 1);
            else
                F_ApiDelete(doc, table);
        }
    } else if (om_NWSTagIs(t, "Delete_table_column")) {
        F_ObjHandleT cell = om_TableEnclosing(doc, a.matched, FO_Cell);
        if (!cell) {
            a.errors->push_back(NWResult::NotInCell);
        } else {
            F_ObjHandleT table = om_TableEnclosing(doc, a.matched, FO_Tbl);
            IntT column = F_ApiGetInt(doc, cell, FP_CellColNum);
            if (column > 0 || F_ApiGetId(doc, cell, FP_NextCellInRow))
                F_ApiDeleteCols(doc, table, column, 1);
            else
                F_ApiDelete(doc, table);
        }
    }
    FA_errno = 0;
}

void SetActiveFile(const ActionContext &a) {
    std::string text = a.rec->text;
    if (!text.empty() && text[0] == '$') {
        std::string value = om_XPathGetParameter(text);
        if (value != UndefinedParamSentinel) text = value;
    }
    F_ObjHandleT found = om_DocFindOpen(text, 0, 1);
    if (!found) return;
    *a.newTarget = found;
    F_ApiSetId(0, 0, F_OBJ_KIND(found) == FO_Book ? FP_ActiveBook : FP_ActiveDoc, found);
    F_ApiSetInt(0, found, FP_IsInFront, 1);
    FA_errno = 0;
}

// The value of the parameter NWS_StuffVal, "" when undefined.
std::string StuffValue() {
    std::string v = om_XPathGetParameter("NWS_StuffVal");
    return v == UndefinedParamSentinel ? std::string() : v;
}

void DoMessaging(const ActionContext &a) {
    const std::string &t = a.rec->firstTag;
    const std::string &resultName = a.rec->resultName;
    bool haveResult = false;
    if (a.rec->hasResult) {
        if (resultName.empty())
            a.errors->push_back(NWResult::MissingResultOrOperand);
        else
            haveResult = true;
    }
    auto store = [&](const std::string &value) {
        if (haveResult) om_XPathSetParameter(resultName, value);
    };
    bool yesNo = om_NWSTagIs(t, "Do_Yes_No_prompt") || om_NWSTagIs(t, "Do_No_Yes_prompt");
    bool okCancel = om_NWSTagIs(t, "Do_OK_Cancel_prompt") || om_NWSTagIs(t, "Do_Cancel_OK_prompt");
    if (yesNo || okCancel) {
        IntT type = om_NWSTagIs(t, "Do_Yes_No_prompt")     ? kAlertYesNo
                    : om_NWSTagIs(t, "Do_No_Yes_prompt")   ? kAlertNoYes
                    : om_NWSTagIs(t, "Do_OK_Cancel_prompt") ? kAlertOkCancel
                                                      : kAlertCancelOk;
        std::string text = qv::FormatMessage(qv::LangMessage("NWS_RPT_MSG_6"), {a.value});
        FA_errno = 0;
        IntT answer = F_ApiAlert(text.c_str(), type);
        // A failed alert is never taken for Yes or OK.
        bool accepted = answer == 0 && FA_errno == 0;
        if (haveResult)
            store(accepted ? "1" : "0");
        else if (!accepted && !a.rec->hasResult)
            CancelFlag = 1;
    } else if (om_NWSTagIs(t, "Do_file_browser_prompt") || om_NWSTagIs(t, "Do_path_browser_prompt")) {
        bool folder = om_NWSTagIs(t, "Do_path_browser_prompt");
        std::string start = StuffValue();
        bool exists = !start.empty() && (om_DirExists(start.c_str()) == 1 || om_FileExists(start.c_str()) == 1);
        if (!exists) start = a.target ? HostGetString(0, a.target, FP_Path) : std::string();
        size_t slash = start.rfind('\\');
        std::string startFolder = slash == std::string::npos ? start : start.substr(0, slash + 1);
        std::string name = folder || slash == std::string::npos ? std::string() : start.substr(slash + 1);
        StringT chosen = nullptr;
        IntT ok = om_FileChoose(folder ? 4 : 0, a.value.c_str(), startFolder.c_str(), name.c_str(), &chosen, 0, nullptr);
        store(ok == 1 && !om_StrIsEmpty(chosen) ? std::string(qv::View(chosen)) : GeneralPreferences.strNWSPromptUserCancel);
        om_StrFree(&chosen);
    } else if (om_NWSTagIs(t, "Do_string_entry_prompt")) {
        StringT answer = nullptr;
        FA_errno = 0;
        IntT rc = F_ApiPromptString(&answer, a.value.c_str(), StuffValue().c_str());
        store(rc == 0 && FA_errno == 0 && answer ? std::string(answer) : GeneralPreferences.strNWSPromptUserCancel);
        if (answer) F_ApiDeallocateString(&answer);
    } else if (om_NWSTagIs(t, "Do_OK_prompt")) {
        F_ApiAlert(qv::FormatMessage(qv::LangMessage("NWS_RPT_MSG_7"), {a.value}).c_str(), kAlertNote);
    }
    FA_errno = 0;
}

void CloseOpenedFiles() {
    for (const std::string &path : XPathOpenedFiles) {
        F_ObjHandleT doc = om_DocFindOpen(path, 0, 1);
        if (doc) om_DocClose(doc, 0);
    }
}

}  // namespace

void om_NWSApplyPathOptions(const std::vector<std::string> &options, F_ObjHandleT targetDoc, StringT *path) {
    if (!path || om_StrIsEmpty(*path)) return;
    for (const std::string &tag : options) {
        std::string current(qv::View(*path));
        if (om_NWSTagIs(tag, "Prefer_relative_path")) {
            // The path made relative to the target document's file.
            StringT relative = nullptr;
            if (targetDoc && om_PathMakeRelative("", targetDoc, current.c_str(), &relative, 1) == 1 &&
                !om_StrIsEmpty(relative))
                qv::StoreString(path, qv::View(relative));
            om_StrFree(&relative);
        } else if (om_NWSTagIs(tag, "Prefer_filename_only")) {
            size_t slash = current.find_last_of("\\/");
            std::string name = slash == std::string::npos ? current : current.substr(slash + 1);
            if (!name.empty()) qv::StoreString(path, name);
        } else if (om_NWSTagIs(tag, "Use_back_slashes")) {
            qv::StoreString(path, ReplaceAll(current, '/', "\\"));
        } else if (om_NWSTagIs(tag, "Use_forward_slashes")) {
            qv::StoreString(path, ReplaceAll(current, '\\', "/"));
        }
    }
}

std::vector<NWSOtherAction> om_NWSReadOtherActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group) {
    std::vector<NWSOtherAction> actions;
    if (!scriptsDoc || !group) return actions;
    for (F_ObjHandleT b = F_ApiGetId(scriptsDoc, group, FP_FirstChildElement); b;
         b = F_ApiGetId(scriptsDoc, b, FP_NextSiblingElement)) {
        NWSOtherAction r;
        r.elem = b;
        r.tag = om_ElementTag(scriptsDoc, b, 0);
        r.first = F_ApiGetId(scriptsDoc, b, FP_FirstChildElement);
        if (r.first) {
            r.firstTag = om_ElementTag(scriptsDoc, r.first, 0);
            r.firstValue = om_NWSReadValue(scriptsDoc, r.first);
        }
        if (om_NWSTagIs(r.tag, "Set_object_property") || om_NWSTagIs(r.tag, "Get_object_property")) {
            F_ObjHandleT apply = r.first ? (om_NWSTagIs(r.firstTag, "Apply_to_parameter")
                                                ? r.first
                                                : om_NWSFindBelow(scriptsDoc, r.first, "Apply_to_parameter"))
                                         : 0;
            r.hasApplyTo = apply != 0;
            if (apply) r.applyTo = qv::TrimBlanks(om_NWSFirstPgf(scriptsDoc, apply, 255));
            for (F_ObjHandleT c = r.first ? F_ApiGetId(scriptsDoc, r.first, FP_FirstChildElement) : 0; c;
                 c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement))
                r.pathOptions.push_back(om_ElementTag(scriptsDoc, c, 0));
        } else if (om_NWSTagIs(r.tag, "Set_active_file")) {
            r.text = om_NWSFirstPgf(scriptsDoc, b, 500);
        } else if (om_NWSTagIs(r.tag, "Set_parameter")) {
            if (r.first) r.text = om_NWSFirstPgf(scriptsDoc, r.first, 254);
            r.ownValue = om_NWSReadValue(scriptsDoc, b);
        } else if (om_NWSTagIs(r.tag, "Get_parameter")) {
            r.text = om_NWSFirstPgf(scriptsDoc, b, 254);
        } else if (om_NWSTagIs(r.tag, "Do_messaging")) {
            F_ObjHandleT result = r.first ? om_NWSChild(scriptsDoc, r.first, "Result") : 0;
            r.hasResult = result != 0;
            if (result) r.resultName = qv::TrimBlanks(om_NWSFirstPgf(scriptsDoc, result, 255));
        }
        actions.push_back(std::move(r));
    }
    return actions;
}

IntT om_NWSRunOtherActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOtherAction> &actions,
                           F_ObjHandleT targetDoc, F_ObjHandleT matched, IntT reportOther, F_ObjHandleT *newTarget) {
    *newTarget = 0;
    if (!scriptsDoc || !group || !targetDoc || !matched || !om_ElementHasContent(targetDoc, matched)) return 0;
    std::vector<IntT> errors;
    F_ObjHandleT target = targetDoc;
    for (const NWSOtherAction &r : actions) {
        F_ObjHandleT b = r.elem;
        if (target && !om_DocIsOpen(target) && !om_BookIsOpen(target)) target = 0;
        ActionContext a;
        a.scriptsDoc = scriptsDoc;
        a.rec = &r;
        a.value = r.first ? om_NWSValueOf(r.firstValue, scriptsDoc, target, matched, reportOther) : std::string();
        a.target = target;
        a.matched = matched;
        a.report = reportOther;
        a.errors = &errors;
        a.newTarget = newTarget;
        FA_errno = 0;

        const std::string &tag = r.tag;
        bool counted = true;
        if (om_NWSTagIs(tag, "Set_object_property") || om_NWSTagIs(tag, "Get_object_property")) {
            ObjectProperty(a, om_NWSTagIs(tag, "Set_object_property"));
        } else if (om_NWSTagIs(tag, "Add_object")) {
            AddObject(a);
        } else if (om_NWSTagIs(tag, "Delete_object")) {
            DeleteObject(a);
        } else if (om_NWSTagIs(tag, "Update_xrefs")) {
            if (!target) errors.push_back(NWResult::NoTarget);
            else F_ApiUpdateXRefs(target, FF_XRefsUpdateAll);
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Refresh_EDD")) {
            if (!target) errors.push_back(NWResult::NoTarget);
            else F_ApiSimpleImportElementDefs(target, target, FF_ImportElemDefs);
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Select_match")) {
            if (!target) errors.push_back(NWResult::NoTarget);
            else om_DocGoToObject(target, matched);
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Get_misc_data")) {
            if (!om_ElementIsEmpty(scriptsDoc, b) && om_ElementSelect(scriptsDoc, b, LocContent) == 1) {
                F_ApiCopy(scriptsDoc, FF_COPY_PLAIN);
                ClipboardEmpty = 0;
                ClipboardReload = 1;
            } else {
                ReportNow(a, b, NWResult::NothingToCopy);  // reported at once, counted neither way
                counted = false;
            }
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Set_active_file")) {
            SetActiveFile(a);
            if (*newTarget) target = *newTarget;
        } else if (om_NWSTagIs(tag, "Set_parameter")) {
            const std::string &name = r.text;
            if (!target) errors.push_back(NWResult::NoTarget);
            else if (name.empty()) ReportNow(a, r.first ? r.first : b, NWResult::EmptyParameterName);
            else om_XPathSetParameter(name, om_NWSValueOf(r.ownValue, scriptsDoc, target, matched, reportOther));
        } else if (om_NWSTagIs(tag, "Get_parameter")) {
            const std::string &name = r.text;
            std::string value = om_XPathGetParameter(name);
            if (name.empty()) ReportNow(a, r.first ? r.first : b, NWResult::EmptyParameterName);
            else if (value == UndefinedParamSentinel) ReportNow(a, b, NWResult::UndefinedParameter);
            else om_NWWriteScratchPad(scriptsDoc, value.c_str());
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Do_messaging")) {
            DoMessaging(a);
        } else if (om_NWSTagIs(tag, "Exit_script")) {
            CancelFlag = 1;
        } else if (om_NWSTagIs(tag, "Save_file")) {
            if (!target) errors.push_back(NWResult::NoTarget);
            else target = om_DocSave(target, "", -1, 0, 0, 0);
        } else if (om_NWSTagIs(tag, "Close_file")) {
            if (!target) {
                errors.push_back(NWResult::NoTarget);
            } else {
                om_DocClose(target, 0);
                target = 0;
            }
        } else if (om_NWSTagIs(tag, "Close_all_opened_files")) {
            CloseOpenedFiles();
        } else if (om_NWSTagIs(tag, "Disable_screen_updates")) {
            om_SessionSetSwitches(0, 0, 0);
            FA_errno = 0;
        } else if (om_NWSTagIs(tag, "Enable_screen_updates")) {
            om_SessionSetSwitches(1, 1, 1);
            FA_errno = 0;
        }
        if (FA_errno != 0) errors.push_back(NWResult::HostFailed);
        if (counted) ++NodeWizardRun.otherSuccesses;
        om_PollUserCancel();  // a confirmed cancel sets CancelFlag
        if (CancelFlag) break;
        if (!target || !om_ElementHasContent(target, matched)) break;
    }
    for (IntT code : errors) {
        ++NodeWizardQuery.otherFailures;
        if (NodeWizardRun.otherSuccesses > 0) --NodeWizardRun.otherSuccesses;
        if (reportOther == 1) om_NWReportActionError(targetDoc, matched, "", code, NWReportKind::Other);
    }
    return 0;
}
