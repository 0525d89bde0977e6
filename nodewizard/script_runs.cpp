// Node Wizard Script runs: validation, settings, parameters, the book loop, the status box,
// restored selections and the summary.
#include "nodewizard/script_runs.h"

#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/hostui.h"
#include "lib/host/system_services.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/attr_actions.h"
#include "nodewizard/error_report.h"
#include "nodewizard/script_interpreter.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// Script error codes of runs and validation.
enum ScriptRunError : IntT {
    kErrNoScriptsDoc = 601,
    kErrNoScript = 602,
    kErrNoEvent = 603,
    kErrMissingSettings = 605,
    kErrNoExpression = 606,
    kErrBadExpression = 607,
    kErrBadCall = 608,
    kErrDuplicateName = 609,
    kErrUndeclaredParameters = 613,
};

// Longest walk over a script's subtree.
constexpr long kMaxWalkSteps = 10000000;
// Parameter names and values of PresetParameter are read cut to this many characters.
constexpr IntT kPresetChars = 1000;

std::string TagOf(F_ObjHandleT doc, F_ObjHandleT elem) { return om_ElementTag(doc, elem, 0); }

// Disable "Yes", compared exactly as validation's expression does.
bool DisabledExactly(F_ObjHandleT doc, F_ObjHandleT elem) {
    std::string value;
    return om_AttrGetValue(doc, elem, "Disable", &value) >= 0 && value == "Yes";
}

// The elements of the subtree from top (itself included) in document order, leaving out every
// element for which skip answers true together with its subtree.
template <typename Skip>
std::vector<F_ObjHandleT> SubtreeElements(F_ObjHandleT doc, F_ObjHandleT top, Skip skip) {
    std::vector<F_ObjHandleT> out;
    if (!doc || !top || skip(top)) return out;
    out.push_back(top);
    F_ObjHandleT e = F_ApiGetId(doc, top, FP_FirstChildElement);
    for (long steps = 0; e && steps < kMaxWalkSteps; ++steps) {
        bool enter = !skip(e);
        if (enter) out.push_back(e);
        F_ObjHandleT next = enter ? F_ApiGetId(doc, e, FP_FirstChildElement) : 0;
        while (!next && e && e != top) {
            next = F_ApiGetId(doc, e, FP_NextSiblingElement);
            if (!next) e = F_ApiGetId(doc, e, FP_ParentElement);
        }
        if (!next || e == top) break;
        e = next;
    }
    return out;
}

// The Yes (or, for BookNavigationMode, Classic) below NWScriptSettings/GeneralSettings/<flag>.
bool SettingOn(F_ObjHandleT doc, F_ObjHandleT script, const char *flag, const char *on = "Yes") {
    F_ObjHandleT settings = om_NWSFindBelow(doc, script, "NWScriptSettings");
    F_ObjHandleT general = settings ? om_NWSChild(doc, settings, "GeneralSettings") : 0;
    F_ObjHandleT holder = general ? om_NWSChild(doc, general, flag) : 0;
    return holder && om_NWSChild(doc, holder, on);
}

void ReportRunError(IntT code, IntT report) {
    if (report == 1) om_NWReportActionError(0, 0, "", code, 0);
}

// A document's selection, kept as its element range: the host keeps one selection seen both
// ways, and the element range is read without laying the document's text out.
struct RememberedSelection {
    F_ObjHandleT doc = 0;
    F_ElementRangeT range{};
};

RememberedSelection Remember(F_ObjHandleT doc) {
    RememberedSelection r;
    if (doc && F_OBJ_KIND(doc) == FO_Doc) {
        r.doc = doc;
        r.range = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    }
    return r;
}

void Restore(const RememberedSelection &r) {
    if (!r.doc || !om_DocIsOpen(r.doc)) return;
    F_ApiSetElementRange(0, r.doc, FP_ElementSelection, &r.range);
    if (r.range.beg.parentId || r.range.beg.childId) {
        F_TextRangeT shown = F_ApiGetTextRange(0, r.doc, FP_TextSelection);
        F_ApiScrollToText(r.doc, &shown);
    }
    FA_errno = 0;
}

}  // namespace

// ---- parameters ------------------------------------------------------------------------------

void om_NWSSetParam(const std::string &name, const std::string &value) {
    std::string bare = !name.empty() && name[0] == '$' ? name.substr(1) : name;
    for (size_t i = 0; i < ScriptParams.names.size(); ++i) {
        if (ScriptParams.names[i] == bare) {
            ScriptParams.values[i] = value;
            return;
        }
    }
    ScriptParams.names.push_back(bare);
    ScriptParams.values.push_back(value);
}

IntT om_NWSPushParams() {
    for (size_t i = 0; i < ScriptParams.names.size(); ++i) om_XPathSetParameter(ScriptParams.names[i], ScriptParams.values[i]);
    return static_cast<IntT>(ScriptParams.names.size());
}

void om_NWSClearParams() { ScriptParams = ScriptParamsT{}; }

std::string om_NWSGetParam(const std::string &name) {
    std::string bare = !name.empty() && name[0] == '$' ? name.substr(1) : name;
    for (size_t i = 0; i < ScriptParams.names.size(); ++i)
        if (ScriptParams.names[i] == bare) return ScriptParams.values[i];
    return UndefinedParamSentinel;
}

// ---- settings --------------------------------------------------------------------------------

IntT om_NWSIsScriptActive(F_ObjHandleT scriptsDoc, F_ObjHandleT script) {
    if (!scriptsDoc) {
        StatusCode = kErrNoScriptsDoc;
        return 0;
    }
    F_ObjHandleT settings = om_NWSFindBelow(scriptsDoc, script, "NWScriptSettings");
    F_ObjHandleT general = settings ? om_NWSFindBelow(scriptsDoc, settings, "GeneralSettings") : 0;
    F_ObjHandleT active = general ? om_NWSFindBelow(scriptsDoc, general, "ScriptIsActive") : 0;
    if (!active) {
        StatusCode = kErrMissingSettings;
        return 0;
    }
    return om_NWSFindBelow(scriptsDoc, active, "Yes") ? 1 : 0;
}

IntT om_NWSReadSettings(F_ObjHandleT scriptsDoc, F_ObjHandleT script) {
    if (!scriptsDoc) return 0;
    NodeWizardOptions.reportElemErrors = SettingOn(scriptsDoc, script, "ReportElemActionErrors");
    NodeWizardOptions.reportAttrErrors = SettingOn(scriptsDoc, script, "ReportAttrActionErrors");
    NodeWizardOptions.reportOtherErrors = SettingOn(scriptsDoc, script, "ReportOtherActionErrors");
    NodeWizardOptions.openFiles = SettingOn(scriptsDoc, script, "AllowScriptToOpenFiles");
    om_XPathSetAllowFileOpening(NodeWizardOptions.openFiles);
    NodeWizardOptions.parametersInXPath = SettingOn(scriptsDoc, script, "EnableParametersInXPath");
    NodeWizardOptions.classicBookMode = SettingOn(scriptsDoc, script, "BookNavigationMode", "Classic");
    TokenizedAttrValues = SettingOn(scriptsDoc, script, "AssumeTokenizedAttrVals");

    F_ObjHandleT settings = om_NWSFindBelow(scriptsDoc, script, "NWScriptSettings");
    F_ObjHandleT general = settings ? om_NWSChild(scriptsDoc, settings, "GeneralSettings") : 0;
    for (F_ObjHandleT p = general ? F_ApiGetId(scriptsDoc, general, FP_FirstChildElement) : 0; p;
         p = F_ApiGetId(scriptsDoc, p, FP_NextSiblingElement)) {
        if (!om_NWSTagIs(TagOf(scriptsDoc, p), "PresetParameter")) continue;
        F_ObjHandleT nameElem = om_NWSFindBelow(scriptsDoc, p, "Parameter_name");
        F_ObjHandleT valueElem = om_NWSFindBelow(scriptsDoc, p, "Static_value");
        std::string name = nameElem ? om_NWSFirstPgf(scriptsDoc, nameElem, kPresetChars) : "";
        std::string value = valueElem ? om_NWSFirstPgf(scriptsDoc, valueElem, kPresetChars) : "";
        if (!name.empty() && !value.empty()) om_XPathSetParameter(name, value);
    }
    NWSUnescapeValues = 1;
    return 1;
}

// ---- validation ------------------------------------------------------------------------------

IntT om_NWSValidateScript(const std::string &scriptName, F_ObjHandleT scriptsDoc, IntT eventNumber, IntT report,
                          IntT sayOk) {
    if (!scriptsDoc) scriptsDoc = om_NWSOpenScriptsDocument(3, 1, 1);
    if (!scriptsDoc) {
        ReportRunError(kErrNoScriptsDoc, report);
        return 0;
    }
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, scriptName, 0, 1);
    if (!script) {
        ReportRunError(kErrNoScript, report);
        return 0;
    }
    bool declaresParameters = false;
    if (F_ObjHandleT settings = om_NWSFindBelow(scriptsDoc, script, "NWScriptSettings"))
        if (F_ObjHandleT general = om_NWSChild(scriptsDoc, settings, "GeneralSettings"))
            if (F_ObjHandleT enable = om_NWSChild(scriptsDoc, general, "EnableParametersInXPath"))
                declaresParameters = om_NWSChild(scriptsDoc, enable, "Yes") || om_NWSChild(scriptsDoc, enable, "No");

    IntT activeNamed = 0;
    for (const std::string &name : om_NWSListScriptNames(scriptsDoc, 0, 0, -1))
        if (name == scriptName) ++activeNamed;
    if (activeNamed > 1) {
        ReportRunError(kErrDuplicateName, report);
        return 0;
    }
    F_ObjHandleT scope = script;
    if (eventNumber >= 1) {
        scope = om_NWSFindEvent(scriptsDoc, scriptName, 0, eventNumber);
        if (!scope) {
            ReportRunError(kErrNoEvent, report);
            return 0;
        }
    }

    // Legacy group names become the current ones when the document defines them.
    if (F_ApiGetNamedObject(scriptsDoc, FO_ElementDef, "ElementActions")) {
        static const char *const kLegacy[][2] = {{"//ElementAction", "ElementActions"},
                                                 {"//AttributeAction", "AttributeActions"}};
        for (const auto &pass : kLegacy) {
            bool changed = false;
            for (F_ObjHandleT e : om_XPathListMatches(scriptsDoc, 0, pass[0], 0, nullptr, 0))
                changed = om_ElementRetag(scriptsDoc, e, pass[1]) == 1 || changed;
            if (changed) F_ApiSimpleImportElementDefs(scriptsDoc, scriptsDoc, FF_ImportElemDefs);
            FA_errno = 0;
        }
    }

    struct Found {
        IntT code;
        F_ObjHandleT elem;
    };
    std::vector<Found> errors;
    const size_t limit = static_cast<size_t>(NodeWizardOptions.maxErrors) + 1;
    auto add = [&](IntT code, F_ObjHandleT elem) {
        if (errors.size() <= limit) errors.push_back({code, elem});
    };
    std::vector<F_ObjHandleT> inScope =
        SubtreeElements(scriptsDoc, scope, [&](F_ObjHandleT e) { return DisabledExactly(scriptsDoc, e); });

    for (F_ObjHandleT e : inScope) {
        if (errors.size() > limit) break;
        std::string tag = TagOf(scriptsDoc, e);
        if (tag != "NWScriptEvent" && tag != "SubEvent") continue;
        bool missing = true;
        for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, e, FP_FirstChildElement); c; c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement))
            if (TagOf(scriptsDoc, c) == "XPathExpression" && !om_ElementText(scriptsDoc, c, 0, 0, 0, 0).empty())
                missing = false;
        bool anyEmpty = false;
        for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, e, FP_FirstChildElement); c; c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement))
            if (TagOf(scriptsDoc, c) == "XPathExpression" && om_ElementText(scriptsDoc, c, 0, 0, 0, 0).empty()) anyEmpty = true;
        if (missing || anyEmpty) add(kErrNoExpression, e);
    }
    for (F_ObjHandleT e : inScope) {
        if (errors.size() >= limit) break;
        std::string tag = TagOf(scriptsDoc, e);
        if (tag != "XPathExpression" && tag != "Primary_sort_xpath" && tag != "XPath_search") continue;
        std::string text = om_NWSFirstPgf(scriptsDoc, e, XPathLimits.maxLength);
        F_ApiSaveClipboard();
        IntT sequence = om_XPathCompile(text, 1);
        F_ApiRestoreClipboard();
        if (sequence <= 0 || sequence > XPathLastSequenceNumber) {
            add(kErrBadExpression, e);
        } else {
            std::vector<IntT> parameters;
            if (om_XPathListParameterNodes(sequence, &parameters) > 0 && !declaresParameters) add(kErrUndeclaredParameters, e);
        }
    }
    for (F_ObjHandleT e : inScope) {
        if (errors.size() >= limit) break;
        if (TagOf(scriptsDoc, e) != "Call_NW_script") continue;
        if (!om_NWSFindScript(scriptsDoc, om_NWSFirstPgf(scriptsDoc, e, 254), 0, 0)) add(kErrBadCall, e);
    }
    bool noticeDue = false;
    if (errors.size() < limit) {
        auto skip = [&](F_ObjHandleT e) {
            std::string tag = TagOf(scriptsDoc, e);
            std::string folded = qv::FoldCase(tag);
            return DisabledExactly(scriptsDoc, e) || tag == "ElementAction" || tag == "AttributeAction" ||
                   folded.find(qv::FoldCase("Get_misc_data")) != std::string::npos ||
                   folded.find(qv::FoldCase("Copy_data")) != std::string::npos ||
                   folded.find(qv::FoldCase("Paste_")) != std::string::npos;
        };
        for (F_ObjHandleT e : SubtreeElements(scriptsDoc, scope, skip))
            if (F_ApiGetInt(scriptsDoc, e, FP_ValidationFlags) != FV_ElementValid) noticeDue = true;
        FA_errno = 0;
    }

    NodeWizardQuery.reportedErrors = 0;
    if (report == 1) {
        if (noticeDue && NWSAskUnknownElements == 1)
            NWSAskUnknownElements = al_yesno(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_22"), {scriptName}).c_str());
        for (const Found &f : errors) om_NWReportActionError(scriptsDoc, f.elem, "", f.code, 1);
    }
    if (!errors.empty()) {
        if (report == 1) al_ok2("NWS_RPT_MSG_4");
        return 0;
    }
    if (report == 1 && sayOk == 1) al_ok2("NWS_RPT_MSG_5");
    return 1;
}

// ---- runs ------------------------------------------------------------------------------------

IntT om_NWSRunScriptOnBook(F_ObjHandleT book, const NWSScript &script, IntT eventNumber, IntT interactive) {
    StatusCode = 0;
    CancelFlag = 0;
    std::vector<F_ObjHandleT> components;
    for (F_ObjHandleT c = F_ApiGetId(0, book, FP_FirstComponentInBook); c && components.size() < 10000;
         c = F_ApiGetId(book, c, FP_NextComponentInBookOrder))
        if (F_ApiGetInt(book, c, FP_ComponentType) == FV_BK_DOC_FILE) components.push_back(c);
    FA_errno = 0;
    if (NodeWizardOptions.openFiles != 1 && interactive == 1) {
        bool closed = false;
        for (F_ObjHandleT c : components)
            if (!om_BookComponentDoc(book, c, 0, 0, 0, 0, 0, nullptr)) closed = true;
        if (closed && al_yesno2("NWS_GEN_MSG_12") != 1) {
            CancelFlag = 1;
            return 0;
        }
    }
    for (F_ObjHandleT c : components) {
        F_ObjHandleT doc = om_BookComponentDoc(book, c, 0, 0, 0, 0, 0, nullptr);
        if (!doc && NodeWizardOptions.openFiles == 1) {
            std::string path = HostGetString(book, c, FP_Path);
            doc = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
        }
        om_PollUserCancel();  // a confirmed cancel sets CancelFlag
        if (CancelFlag) break;
        if (doc) {
            F_ApiSetInt(0, doc, FP_IsInFront, 1);
            om_NWSRunScriptEvents(doc, script, eventNumber, interactive);
            ++NodeWizardRun.componentsProcessed;
        } else {
            ++NodeWizardQuery.componentsNotOpened;
        }
        // A cancel inside the component's run (Esc, Exit_script, a prompt answered No) ends the
        // book run too.
        if (CancelFlag) break;
        om_PollUserCancel();
        if (CancelFlag) break;
    }
    F_ApiSetInt(0, book, FP_IsInFront, 1);
    FA_errno = 0;
    return 1;
}

IntT om_NWSRunScript(const std::string &scriptName, F_ObjHandleT scriptsDoc, IntT eventNumber, F_ObjHandleT target,
                     IntT interactive) {
    CancelFlag = 0;
    StatusCode = 0;
    if (!scriptsDoc) {
        StatusCode = kErrNoScriptsDoc;
        CancelFlag = 1;
        return 0;
    }
    RememberedSelection scriptsSelection;
    if (F_ApiGetInt(0, scriptsDoc, FP_IsOnScreen)) scriptsSelection = Remember(scriptsDoc);
    if (!target) target = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!target) target = F_ApiGetId(0, 0, FP_ActiveBook);
    if (!target) {
        StatusCode = StatusNoDocument;
        CancelFlag = 1;
        return 0;
    }
    bool bookTarget = F_OBJ_KIND(target) == FO_Book;
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, scriptName, 0, 0);
    if (!script) {
        StatusCode = kErrNoScript;
        CancelFlag = 1;
        return 0;
    }
    if (om_NWSValidateScript(scriptName, scriptsDoc, 0, interactive, 0) != 1) {
        if (interactive == 1) al_ok2("NWS_GEN_MSG_11");
        CancelFlag = 1;
        return 0;
    }
    RememberedSelection targetSelection = Remember(target);
    const NWSScript record = om_NWSReadScript(scriptsDoc, script, scriptName);

    ClipboardEmpty = 0;
    ClipboardReload = 1;
    ScriptEventsReported.clear();
    om_XPathCheckNodeLimit();
    om_XPathClearParameters();
    XPathOpenedFiles.clear();
    om_NWSPushParams();
    IntT started = om_TimeSecondsSince2010();
    om_NWSReadSettings(scriptsDoc, script);

    om_DlgOpenStatus(1224, "Processing...", 0, "Quorvane - Node Wizard Scripts");
    om_DlgSetStatusLines("Processing...", "", "", "Press Esc to cancel.");
    NodeWizardRun.elemSuccesses = NodeWizardRun.attrSuccesses = NodeWizardRun.otherSuccesses = 0;
    NodeWizardQuery.elemFailures = NodeWizardQuery.attrFailures = NodeWizardQuery.otherFailures = 0;
    NodeWizardRun.componentsProcessed = 0;
    NodeWizardQuery.componentsNotOpened = 0;
    NodeWizardQuery.reportedErrors = 0;
    AttemptedActions = 0;
    om_NWAttrForgetUniqueIds();

    F_ObjHandleT finalTarget = target;
    if (NodeWizardOptions.classicBookMode == 1 && bookTarget) {
        om_NWSRunScriptOnBook(target, record, eventNumber, interactive);
    } else {
        finalTarget = om_NWSRunScriptEvents(target, record, eventNumber, interactive);
        if (!finalTarget) finalTarget = target;
    }

    om_SessionSetSwitches(1, 1, 1);
    if (CancelFlag == 1 && interactive == 1) al_ok2("NWS_GEN_MSG_8");
    om_DlgCloseStatus();
    Restore(scriptsSelection);
    Restore(targetSelection);
    if (om_DocIsOpen(finalTarget) || om_BookIsOpen(finalTarget)) {
        F_ApiSetId(0, 0, F_OBJ_KIND(finalTarget) == FO_Book ? FP_ActiveBook : FP_ActiveDoc, finalTarget);
        F_ApiSetInt(0, finalTarget, FP_IsInFront, 1);
    }
    FA_errno = 0;
    if (CancelFlag == 1) {
        if (interactive == 1) al_ok2("NWS_GEN_MSG_11");
        return 0;
    }

    IntT elapsed = om_TimeSecondsSince2010() - started;
    if (elapsed < 0) elapsed = 0;
    std::string summary;
    long long eS = NodeWizardRun.elemSuccesses, eF = NodeWizardQuery.elemFailures;
    long long aS = NodeWizardRun.attrSuccesses, aF = NodeWizardQuery.attrFailures;
    long long oS = NodeWizardRun.otherSuccesses, oF = NodeWizardQuery.otherFailures;
    if (bookTarget) {
        summary = qv::FormatMessage(qv::LangMessage("NWS_RPT_MSG_2"),
                                    {HostGetString(0, target, FP_Path), static_cast<long long>(NodeWizardRun.componentsProcessed),
                                     static_cast<long long>(NodeWizardQuery.componentsNotOpened), eS, eF, aS, aF, oS, oF,
                                     static_cast<long long>(elapsed / 60), static_cast<long long>(elapsed % 60)});
    } else {
        summary = qv::FormatMessage(qv::LangMessage("NWS_RPT_MSG_1"),
                                    {HostGetString(0, target, FP_Path), eS, eF, aS, aF, oS, oF,
                                     static_cast<long long>(elapsed / 60), static_cast<long long>(elapsed % 60)});
    }
    // "Once" (2) becomes "asked" (4) only where the palette closes its run: the summary shows while it is 1 or 2.
    if (interactive == 1 && (GeneralPreferences.promptNWScriptGeneralMsgs == 1 || GeneralPreferences.promptNWScriptGeneralMsgs == 2))
        al_ok(summary.c_str());
    return 1;
}
