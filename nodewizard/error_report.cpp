// The error report document: finding or creating it, and writing one Node Wizard or script entry.
#include "nodewizard/error_report.h"

#include <algorithm>

#include "lib/dialogs/msgbox.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/hostui.h"
#include "lib/state/nodewizard.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "nodewizard/element_actions.h"
#include "lib/run_state.h"

namespace {

// What a message is filled with.
enum class Args { NodePath, NodeRetagPath, NodeDefPath, Maximum, None, Node };

struct MessageRow {
    IntT first, last;  // codes first..last; ids numbered on from the row's id for a range
    const char *id;
    int idNumber;      // the number in the id for ranges (0: the id as written)
    Args args;
};

// Codes and their messages; 315, 317 and 604 have none (317 has its own text: the action left
// the element unchanged).
const MessageRow kMessages[] = {
    {300, 300, "NWA_ERR_MSG_2", 0, Args::NodeRetagPath},
    {301, 301, "NWA_ERR_MSG_1", 0, Args::NodeRetagPath},
    {302, 302, "NWA_ERR_MSG_3", 0, Args::NodeDefPath},
    {303, 303, "NWA_ERR_MSG_4", 0, Args::NodeDefPath},
    {304, 304, "NWA_ERR_MSG_5", 0, Args::NodePath},
    {305, 305, "NWA_ERR_MSG_6", 0, Args::NodePath},
    {306, 306, "NWA_ERR_MSG_7", 0, Args::NodePath},
    {307, 307, "NWA_ERR_MSG_8", 0, Args::NodePath},
    {308, 308, "NWA_ERR_MSG_9", 0, Args::NodePath},
    {309, 309, "NWA_ERR_MSG_10", 0, Args::NodePath},
    {311, 311, "NWA_ERR_MSG_14", 0, Args::NodePath},
    {312, 312, "NWA_ERR_MSG_15", 0, Args::NodePath},
    {313, 313, "NWA_ERR_MSG_16", 0, Args::NodePath},
    {314, 314, "NWA_ERR_MSG_17", 0, Args::NodePath},
    {316, 316, "NWA_ERR_MSG_13", 0, Args::NodePath},
    {317, 317, "NWA_ERR_MSG_40", 0, Args::NodePath},
    {318, 318, "NWA_ERR_MSG_20", 0, Args::NodePath},
    {319, 319, "NWA_ERR_MSG_21", 0, Args::NodePath},
    {320, 320, "NWA_ERR_MSG_22", 0, Args::NodePath},
    {321, 321, "NWA_ERR_MSG_23", 0, Args::NodePath},
    {322, 322, "NWA_ERR_MSG_24", 0, Args::NodePath},
    {323, 323, "NWA_ERR_MSG_18", 0, Args::NodePath},
    {324, 324, "NWA_ERR_MSG_19", 0, Args::NodePath},
    {325, 325, "NWA_ERR_MSG_11", 0, Args::NodePath},
    {326, 326, "NWA_ERR_MSG_25", 0, Args::NodePath},
    {327, 327, "NWA_ERR_MSG_36", 0, Args::NodePath},
    {328, 337, "NWA_ERR_MSG_", 26, Args::NodePath},
    {338, 338, "NWA_ERR_MSG_100", 0, Args::Maximum},
    {339, 339, "NWA_ERR_MSG_37", 0, Args::NodePath},
    {340, 340, "NWA_ERR_MSG_38", 0, Args::NodePath},
    {341, 341, "NWA_ERR_MSG_39", 0, Args::NodePath},
    {601, 601, "NWS_GEN_MSG_18", 0, Args::None},
    {602, 603, "NWS_GEN_MSG_19", 0, Args::None},
    {605, 605, "NWS_GEN_MSG_22", 0, Args::Node},
    {606, 606, "NWS_GEN_MSG_20", 0, Args::Node},
    {607, 607, "NWS_GEN_MSG_21", 0, Args::Node},
    {608, 608, "NWS_GEN_MSG_23", 0, Args::Node},
    {609, 609, "NWS_GEN_MSG_9", 0, Args::None},
    {610, 610, "NWS_GEN_MSG_17", 0, Args::Node},
    {611, 611, "NWS_GEN_MSG_24", 0, Args::Node},
    {612, 612, "NWS_GEN_MSG_25", 0, Args::Node},
    {613, 615, "NWS_GEN_MSG_", 26, Args::Node},
    {616, 616, "NWS_GEN_MSG_29", 0, Args::None},
};

const char *const kCreationFailure =
    "An error occurred while generating the error report. Please report this incident to Orle Meadow.\n\nNote "
    "that this message will not appear again, although the report will likely fail to initialize for the rest of "
    "the session.";

bool creationFailureShown = false;

// The report template's absence is told once a session.
[[maybe_unused]] const bool resetErrorReportCreationFailure =
    om_RunStateRegister("error report creation failure", RunStateKind::StartUp, [] {
        creationFailureShown = false;
    });

IntT MaximumErrors() { return std::clamp<IntT>(NodeWizardOptions.maxErrors, 1, 1000); }

// How the message names the node.
std::string NodeName(F_ObjHandleT doc, F_ObjHandleT node, const std::string &name) {
    if (F_StrICmp(name.c_str(), kNWEmptyTagName) == 0)
        return "(" + qv::LangTranslate("Quorvane - Node Wizard", "None", false, 0) + ")";
    if (!name.empty()) return name;
    if (F_ApiGetObjectType(doc, node) == FO_Flow) {
        std::string flowName = HostGetString(doc, node, FP_Name);
        return flowName.empty() ? "(unnamed flow)" : flowName;
    }
    std::string tag = om_ElementTag(doc, node, 0);
    return tag.empty() ? "{text node}" : tag;
}

}  // namespace

std::string om_NWReportTemplatePath() {
    if (!SettingsFiles.reportTemplate.empty()) return SettingsFiles.reportTemplate;
    std::string dir;
    if (StringT d = F_ApiClientDir()) {
        dir = d;
        F_ApiDeallocateString(&d);
    }
    for (char &c : dir)
        if (c == '/') c = '\\';
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    return dir + kReportTemplateFileName;
}

void om_OpenErrorReportDoc() {
    ErrorReportDoc = om_DocFindByLabel(kErrorReportLabel, 0, 0, 0);
    if (ErrorReportDoc) return;
    std::string path = om_NWReportTemplatePath();
    F_ObjHandleT doc = om_DocOpen(path.c_str(), 0, 1, 1, 1, 0, 1);
    if (!doc) {
        if (!creationFailureShown) al_ok(kCreationFailure);
        creationFailureShown = true;
        return;
    }
    F_ApiSetInt(0, doc, FP_DocIsReport, 1);
    om_DocSetViewMode(doc, 0);
    for (IntT prop : {FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3}) F_ApiSetInt(0, doc, prop, 0);
    F_ApiSetString(0, doc, FP_Label, kErrorReportLabel);
    ErrorReportDoc = doc;
}

std::string om_NWReportLinkText(const std::string &path, IntT unique) {
    return "openObjectId " + path + ":5 " + std::to_string(unique);
}

std::string om_NWReportMessage(IntT code, const std::string &nodeName, const std::string &defName,
                               const std::string &path) {
    for (const MessageRow &row : kMessages) {
        if (code < row.first || code > row.last) continue;
        std::string id = row.idNumber ? row.id + std::to_string(row.idNumber + (code - row.first)) : row.id;
        std::string text = qv::LangMessage(id);
        switch (row.args) {
        case Args::NodePath: return qv::FormatMessage(text, {nodeName, path});
        case Args::NodeRetagPath: return qv::FormatMessage(text, {nodeName, NodeWizardRun.retagName, path});
        case Args::NodeDefPath: return qv::FormatMessage(text, {nodeName, defName, path});
        case Args::Maximum: return qv::FormatMessage(text, {static_cast<long long>(MaximumErrors())});
        case Args::Node: return qv::FormatMessage(text, {nodeName});
        case Args::None: return text;
        }
    }
    return "";
}

void om_NWReportActionError(F_ObjHandleT doc, F_ObjHandleT node, const std::string &name, IntT code, IntT kind) {
    om_OpenErrorReportDoc();
    F_ObjHandleT report = ErrorReportDoc;
    if (!report) {
        al_ok2("NWA_ERR_MSG_101");
        return;
    }
    UIntT maximum = static_cast<UIntT>(MaximumErrors());
    if (NodeWizardQuery.reportedErrors > maximum) return;
    if (NodeWizardQuery.reportedErrors == maximum) code = 338;
    ++NodeWizardQuery.reportedErrors;

    std::string path = HostGetString(0, doc, FP_Path);
    std::string nodeName = NodeName(doc, node, name);
    // An insert without a definition name names it "(None)" too, never by its placeholder.
    std::string defName = name.empty() ? WrapElementName
                        : F_StrICmp(name.c_str(), kNWEmptyTagName) == 0 ? nodeName : name;
    std::string message = om_NWReportMessage(code, nodeName, defName, path);

    F_ApiSetInt(0, report, FP_IsInFront, 1);
    F_ObjHandleT flow = F_ApiGetId(0, report, FP_MainFlowInDoc);
    F_ObjHandleT root = flow ? F_ApiGetId(report, flow, FP_HighestLevelElement) : 0;
    if (!root) return;
    const char *heading = kind == 1 ? "NodeActionElemErrorHeading"
                        : kind == 3 ? "NodeActionOtherErrorHeading"
                                    : "NodeActionAttrErrorHeading";
    // An insert that made no element (a template without the definitions) ends the entry, so
    // that nothing lands wherever the report's selection happens to be.
    if (om_NWInsertElement(report, root, heading, 22) < 399) return;
    F_ObjHandleT entry = static_cast<F_ObjHandleT>(om_NWInsertElement(report, root, "NodeWizardActionError", 22));
    if (static_cast<IntT>(entry) < 399) return;

    if (om_ElementSelect(report, entry, LocContentEnd)) {
        F_TextRangeT at = F_ApiGetTextRange(0, report, FP_TextSelection);
        F_ObjHandleT marker = F_ApiNewAnchoredObject(report, FO_Marker, &at.beg);
        if (marker) {
            IntT unique = F_ApiGetInt(doc, node, FP_Unique);
            F_ApiSetString(report, marker, FP_MarkerText, om_NWReportLinkText(path, unique).c_str());
            F_ApiSetId(report, marker, FP_MarkerTypeId, F_ApiGetNamedObject(report, FO_MarkerType, "Hypertext"));
        }
    }
    if (!message.empty()) om_ElementInsertText(report, entry, message, LocContentEnd);
}
