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

// Codes and their messages; UnknownAction has none.
const MessageRow kMessages[] = {
    {NWResult::RetagRefused, NWResult::RetagRefused, "NWA_ERR_MSG_2", 0, Args::NodeRetagPath},
    {NWResult::RetagNoDefinition, NWResult::RetagNoDefinition, "NWA_ERR_MSG_1", 0, Args::NodeRetagPath},
    {NWResult::NoDefinition, NWResult::NoDefinition, "NWA_ERR_MSG_3", 0, Args::NodeDefPath},
    {NWResult::WrapRefused, NWResult::WrapRefused, "NWA_ERR_MSG_4", 0, Args::NodeDefPath},
    {NWResult::UnwrapRefused, NWResult::UnwrapRefused, "NWA_ERR_MSG_5", 0, Args::NodePath},
    {NWResult::PromoteRefused, NWResult::PromoteRefused, "NWA_ERR_MSG_6", 0, Args::NodePath},
    {NWResult::DemoteRefused, NWResult::DemoteRefused, "NWA_ERR_MSG_7", 0, Args::NodePath},
    {NWResult::ConditionMissing, NWResult::ConditionMissing, "NWA_ERR_MSG_8", 0, Args::NodePath},
    {NWResult::ConditionsRefused, NWResult::ConditionsRefused, "NWA_ERR_MSG_9", 0, Args::NodePath},
    {NWResult::PasteFailed, NWResult::PasteFailed, "NWA_ERR_MSG_10", 0, Args::NodePath},
    {NWResult::NoAttributes, NWResult::NoAttributes, "NWA_ERR_MSG_14", 0, Args::NodePath},
    {NWResult::AttrNotFound, NWResult::AttrNotFound, "NWA_ERR_MSG_15", 0, Args::NodePath},
    {NWResult::ValuePresent, NWResult::ValuePresent, "NWA_ERR_MSG_16", 0, Args::NodePath},
    {NWResult::ValueAbsent, NWResult::ValueAbsent, "NWA_ERR_MSG_17", 0, Args::NodePath},
    {NWResult::CellNotDeleted, NWResult::CellNotDeleted, "NWA_ERR_MSG_13", 0, Args::NodePath},
    {NWResult::Unchanged, NWResult::Unchanged, "NWA_ERR_MSG_40", 0, Args::NodePath},
    {NWResult::NoPreviousSibling, NWResult::NoPreviousSibling, "NWA_ERR_MSG_20", 0, Args::NodePath},
    {NWResult::NoNextSibling, NWResult::NoNextSibling, "NWA_ERR_MSG_21", 0, Args::NodePath},
    {NWResult::TablePartNotMoved, NWResult::TablePartNotMoved, "NWA_ERR_MSG_22", 0, Args::NodePath},
    {NWResult::NoParent, NWResult::NoParent, "NWA_ERR_MSG_23", 0, Args::NodePath},
    {NWResult::MoveRefused, NWResult::MoveRefused, "NWA_ERR_MSG_24", 0, Args::NodePath},
    {NWResult::AttrDeclared, NWResult::AttrDeclared, "NWA_ERR_MSG_18", 0, Args::NodePath},
    {NWResult::NoMatchedAttr, NWResult::NoMatchedAttr, "NWA_ERR_MSG_19", 0, Args::NodePath},
    {NWResult::ClipboardFailed, NWResult::ClipboardFailed, "NWA_ERR_MSG_11", 0, Args::NodePath},
    {NWResult::NoUniqueId, NWResult::NoUniqueId, "NWA_ERR_MSG_25", 0, Args::NodePath},
    {NWResult::NotAnchoredFrame, NWResult::NotAnchoredFrame, "NWA_ERR_MSG_36", 0, Args::NodePath},
    {NWResult::NotXRef, NWResult::HostFailed, "NWA_ERR_MSG_", 26, Args::NodePath},
    {NWResult::ReportLimit, NWResult::ReportLimit, "NWA_ERR_MSG_100", 0, Args::Maximum},
    {NWResult::NothingToCopy, NWResult::NothingToCopy, "NWA_ERR_MSG_37", 0, Args::NodePath},
    {NWResult::NotOnFlow, NWResult::NotOnFlow, "NWA_ERR_MSG_38", 0, Args::NodePath},
    {NWResult::TextNotSettable, NWResult::TextNotSettable, "NWA_ERR_MSG_39", 0, Args::NodePath},
    {NWResult::NoScriptsDoc, NWResult::NoScriptsDoc, "NWS_GEN_MSG_18", 0, Args::None},
    {NWResult::NoScript, NWResult::NoEvent, "NWS_GEN_MSG_19", 0, Args::None},
    {NWResult::MissingSettings, NWResult::MissingSettings, "NWS_GEN_MSG_22", 0, Args::Node},
    {NWResult::NoExpression, NWResult::NoExpression, "NWS_GEN_MSG_20", 0, Args::Node},
    {NWResult::BadExpression, NWResult::BadExpression, "NWS_GEN_MSG_21", 0, Args::Node},
    {NWResult::BadCall, NWResult::BadCall, "NWS_GEN_MSG_23", 0, Args::Node},
    {NWResult::DuplicateName, NWResult::DuplicateName, "NWS_GEN_MSG_9", 0, Args::None},
    {NWResult::NeedsAttributeStep, NWResult::NeedsAttributeStep, "NWS_GEN_MSG_17", 0, Args::Node},
    {NWResult::UndefinedParameter, NWResult::UndefinedParameter, "NWS_GEN_MSG_24", 0, Args::Node},
    {NWResult::EmptyParameterName, NWResult::EmptyParameterName, "NWS_GEN_MSG_25", 0, Args::Node},
    {NWResult::UndeclaredParameters, NWResult::MissingResultOrOperand, "NWS_GEN_MSG_", 26, Args::Node},
    {NWResult::NoTarget, NWResult::NoTarget, "NWS_GEN_MSG_29", 0, Args::None},
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

void om_NWReportActionError(F_ObjHandleT doc, F_ObjHandleT node, const std::string &name, IntT code,
                            NWReportKind kind) {
    om_OpenErrorReportDoc();
    F_ObjHandleT report = ErrorReportDoc;
    if (!report) {
        al_ok2("NWA_ERR_MSG_101");
        return;
    }
    UIntT maximum = static_cast<UIntT>(MaximumErrors());
    if (NodeWizardQuery.reportedErrors > maximum) return;
    if (NodeWizardQuery.reportedErrors == maximum) code = NWResult::ReportLimit;
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
    const char *heading = kind == NWReportKind::Element ? "NodeActionElemErrorHeading"
                        : kind == NWReportKind::Other   ? "NodeActionOtherErrorHeading"
                                                        : "NodeActionAttrErrorHeading";
    // An insert that made no element (a template without the definitions) ends the entry, so
    // that nothing lands wherever the report's selection happens to be.
    if (om_NWInsertElement(report, root, heading, NWElem::InsertLastChild) < kNWFirstInsertedId) return;
    F_ObjHandleT entry =
        static_cast<F_ObjHandleT>(om_NWInsertElement(report, root, "NodeWizardActionError", NWElem::InsertLastChild));
    if (static_cast<IntT>(entry) < kNWFirstInsertedId) return;

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
