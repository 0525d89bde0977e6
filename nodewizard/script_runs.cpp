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

// Visits the node (-1: the script element) and its subtree in document order, leaving out every
// node for which skip answers true together with its subtree.
template <typename Skip, typename Visit>
void EachInScope(const NWSScript &script, long scope, Skip skip, Visit visit) {
    const NWSNode &top = scope < 0 ? script.self : script.nodes[static_cast<size_t>(scope)];
    if (!top.elem || skip(top)) return;
    visit(top);
    long end = scope < 0 ? static_cast<long>(script.nodes.size()) : top.end;
    for (long i = scope + 1; i < end;) {
        const NWSNode &node = script.nodes[static_cast<size_t>(i)];
        if (skip(node)) {
            i = node.end;
            continue;
        }
        visit(node);
        ++i;
    }
}

// The children of a node, in order.
template <typename Visit>
void EachChildOf(const NWSScript &script, const NWSNode &node, Visit visit) {
    long first = &node == &script.self ? (script.nodes.empty() ? -1 : 0) : node.firstChild;
    for (long c = first; c >= 0; c = script.nodes[static_cast<size_t>(c)].nextSibling)
        visit(script.nodes[static_cast<size_t>(c)]);
}

void ReportRunError(IntT code, IntT report) {
    if (report == 1) om_NWReportActionError(0, 0, "", code, NWReportKind::Attribute);
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
        StatusCode = NWResult::NoScriptsDoc;
        return 0;
    }
    F_ObjHandleT settings = om_NWSFindBelow(scriptsDoc, script, "NWScriptSettings");
    F_ObjHandleT general = settings ? om_NWSFindBelow(scriptsDoc, settings, "GeneralSettings") : 0;
    F_ObjHandleT active = general ? om_NWSFindBelow(scriptsDoc, general, "ScriptIsActive") : 0;
    if (!active) {
        StatusCode = NWResult::MissingSettings;
        return 0;
    }
    return om_NWSFindBelow(scriptsDoc, active, "Yes") ? 1 : 0;
}

IntT om_NWSReadSettings(const NWSScript &script) {
    if (!script.doc) return 0;
    const NWSSettings &o = script.settings;
    NodeWizardOptions.reportElemErrors = o.reportElemErrors;
    NodeWizardOptions.reportAttrErrors = o.reportAttrErrors;
    NodeWizardOptions.reportOtherErrors = o.reportOtherErrors;
    NodeWizardOptions.openFiles = o.openFiles;
    om_XPathSetAllowFileOpening(NodeWizardOptions.openFiles);
    NodeWizardOptions.parametersInXPath = o.parametersInXPath;
    NodeWizardOptions.classicBookMode = o.classicBookMode;
    TokenizedAttrValues = o.tokenizedValues;
    for (size_t i = 0; i < o.presetNames.size() && i < o.presetValues.size(); ++i)
        if (!o.presetNames[i].empty() && !o.presetValues[i].empty()) om_XPathSetParameter(o.presetNames[i], o.presetValues[i]);
    NWSUnescapeValues = 1;
    return 1;
}

// ---- validation ------------------------------------------------------------------------------

namespace {

// Checks the script as read (or, with eventNumber >= 1, that event); errors go to the error report
// when reporting. Legacy group names are renamed in the document and in the records. 1 when valid;
// say-ok shows the all-clear message.
IntT ValidateScript(NWSScript &script, IntT eventNumber, IntT report, IntT sayOk) {
    F_ObjHandleT scriptsDoc = script.doc;
    const std::string &scriptName = script.name;
    IntT activeNamed = 0;
    for (const std::string &name : om_NWSListScriptNames(scriptsDoc, 0, 0, -1))
        if (name == scriptName) ++activeNamed;
    if (activeNamed > 1) {
        ReportRunError(NWResult::DuplicateName, report);
        return 0;
    }
    long scope = -1;
    if (eventNumber >= 1) {
        scope = om_NWSFindEventNode(script, eventNumber);
        if (scope < 0) {
            ReportRunError(NWResult::NoEvent, report);
            return 0;
        }
    }

    // Legacy group names become the current ones when the document defines them.
    if (F_ApiGetNamedObject(scriptsDoc, FO_ElementDef, "ElementActions")) {
        static const char *const kLegacy[][2] = {{"//ElementAction", "ElementActions"},
                                                 {"//AttributeAction", "AttributeActions"}};
        for (const auto &pass : kLegacy) {
            std::vector<F_ObjHandleT> renamed;
            for (F_ObjHandleT e : om_XPathListMatches(scriptsDoc, 0, pass[0], 0, nullptr, 0))
                if (om_ElementRetag(scriptsDoc, e, pass[1]) == 1) renamed.push_back(e);
            om_NWSRenameNodes(script, renamed, pass[1]);
            if (!renamed.empty()) F_ApiSimpleImportElementDefs(scriptsDoc, scriptsDoc, FF_ImportElemDefs);
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
    std::vector<const NWSNode *> inScope;
    EachInScope(script, scope, [](const NWSNode &e) { return e.disabledExactly; },
                [&](const NWSNode &e) { inScope.push_back(&e); });

    for (const NWSNode *e : inScope) {
        if (errors.size() > limit) break;
        if (e->tag != "NWScriptEvent" && e->tag != "SubEvent") continue;
        bool missing = true, anyEmpty = false;
        EachChildOf(script, *e, [&](const NWSNode &c) {
            if (c.tag != "XPathExpression") return;
            if (c.textEmpty)
                anyEmpty = true;
            else
                missing = false;
        });
        if (missing || anyEmpty) add(NWResult::NoExpression, e->elem);
    }
    for (const NWSNode *e : inScope) {
        if (errors.size() >= limit) break;
        if (e->tag != "XPathExpression" && e->tag != "Primary_sort_xpath" && e->tag != "XPath_search") continue;
        F_ApiSaveClipboard();
        IntT sequence = om_XPathCompile(e->text, 1);
        F_ApiRestoreClipboard();
        if (sequence <= 0 || sequence > XPathLastSequenceNumber) {
            add(NWResult::BadExpression, e->elem);
        } else {
            std::vector<IntT> parameters;
            if (om_XPathListParameterNodes(sequence, &parameters) > 0 && !script.settings.declaresParameters)
                add(NWResult::UndeclaredParameters, e->elem);
        }
    }
    for (const NWSNode *e : inScope) {
        if (errors.size() >= limit) break;
        if (e->tag != "Call_NW_script") continue;
        if (!om_NWSFindScript(scriptsDoc, e->text, 0, 0)) add(NWResult::BadCall, e->elem);
    }
    bool noticeDue = false;
    if (errors.size() < limit) {
        auto skip = [&](const NWSNode &e) {
            std::string folded = qv::FoldCase(e.tag);
            return e.disabledExactly || e.tag == "ElementAction" || e.tag == "AttributeAction" ||
                   folded.find(qv::FoldCase("Get_misc_data")) != std::string::npos ||
                   folded.find(qv::FoldCase("Copy_data")) != std::string::npos ||
                   folded.find(qv::FoldCase("Paste_")) != std::string::npos;
        };
        EachInScope(script, scope, skip, [&](const NWSNode &e) {
            if (F_ApiGetInt(scriptsDoc, e.elem, FP_ValidationFlags) != FV_ElementValid) noticeDue = true;
        });
        FA_errno = 0;
    }

    NodeWizardQuery.reportedErrors = 0;
    if (report == 1) {
        if (noticeDue && NWSAskUnknownElements == 1)
            NWSAskUnknownElements = al_yesno(qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_22"), {scriptName}).c_str());
        for (const Found &f : errors) om_NWReportActionError(scriptsDoc, f.elem, "", f.code, NWReportKind::Element);
    }
    if (!errors.empty()) {
        if (report == 1) al_ok2("NWS_RPT_MSG_4");
        return 0;
    }
    if (report == 1 && sayOk == 1) al_ok2("NWS_RPT_MSG_5");
    return 1;
}

}  // namespace

IntT om_NWSValidateScript(const std::string &scriptName, F_ObjHandleT scriptsDoc, IntT eventNumber, IntT report,
                          IntT sayOk) {
    if (!scriptsDoc) scriptsDoc = om_NWSOpenScriptsDocument(3, 1, 1);
    if (!scriptsDoc) {
        ReportRunError(NWResult::NoScriptsDoc, report);
        return 0;
    }
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, scriptName, 0, 1);
    if (!script) {
        ReportRunError(NWResult::NoScript, report);
        return 0;
    }
    NWSScript record = om_NWSReadScript(scriptsDoc, script, scriptName);
    return ValidateScript(record, eventNumber, report, sayOk);
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
    F_ObjHandleT script = scriptsDoc ? om_NWSFindScript(scriptsDoc, scriptName, 0, 0) : 0;
    return om_NWSRunFoundScript(script, scriptName, scriptsDoc, eventNumber, target, interactive);
}

IntT om_NWSRunFoundScript(F_ObjHandleT script, const std::string &scriptName, F_ObjHandleT scriptsDoc,
                          IntT eventNumber, F_ObjHandleT target, IntT interactive) {
    CancelFlag = 0;
    StatusCode = 0;
    if (!scriptsDoc) {
        StatusCode = NWResult::NoScriptsDoc;
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
    if (!script) {
        StatusCode = NWResult::NoScript;
        CancelFlag = 1;
        return 0;
    }
    // The script is read once: checked, then run from the same records.
    NWSScript record = om_NWSReadScript(scriptsDoc, script, scriptName);
    if (ValidateScript(record, 0, interactive, 0) != 1) {
        if (interactive == 1) al_ok2("NWS_GEN_MSG_11");
        CancelFlag = 1;
        return 0;
    }
    RememberedSelection targetSelection = Remember(target);

    ClipboardEmpty = 0;
    ClipboardReload = 1;
    ScriptEventsReported.clear();
    om_XPathCheckNodeLimit();
    om_XPathClearParameters();
    XPathOpenedFiles.clear();
    om_NWSPushParams();
    IntT started = om_TimeSecondsSince2010();
    om_NWSReadSettings(record);

    om_DlgOpenStatus(kDlgStatusBox, "Processing...", 0, "Quorvane - Node Wizard Scripts");
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
    // "Once" becomes "asked once" only where the palette closes its run: the summary shows while it
    // is "always" or "once".
    const IntT prompt = GeneralPreferences.promptNWScriptGeneralMsgs;
    if (interactive == 1 && (prompt == kPromptAlways || prompt == kPromptOnce))
        al_ok(summary.c_str());
    return 1;
}
