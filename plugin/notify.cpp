// Notification routing: F_ApiNotify hands each notification the plug-in asked for to its
// handler in the table below. Handlers apply condition rules, run event-triggered scripts, open
// the set-up dialog of a just-inserted stylesheet element, rebase relative paths after Save As,
// keep the modeless dialogs current, answer other clients' calls, re-create dialogs and close
// the plug-in's hidden documents when the host quits.
#include "plugin/notify.h"

#include <string>

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/paths.h"
#include "lib/shell_records.h"
#include "lib/state/cond_settings.h"
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/scripts_doc.h"
#include "plugin/client_calls.h"
#include "plugin/cond_apply.h"
#include "plugin/cond_settings.h"
#include "plugin/features.h"
#include "plugin/trace.h"
#include "transform/setup.h"
#include "transform/xform.h"

namespace {

// Script events a notification can trigger.
enum ScriptEvent : IntT { kOnDocumentOpen = 1, kOnMarkupOpen = 3, kOnEDDImport = 5, kOnDisplayRefresh = 6 };

std::string Take(StringT s) {
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

bool SameCI(const std::string &a, const std::string &b) { return qv::FoldCase(a) == qv::FoldCase(b); }

// Keeps the open modeless dialogs current.
void Refresh() {
    if (DialogHandles[kDlgNWScripts]) om_NWSRefreshPalette(0, 1);
    if (DialogHandles[kDlgNodeWizard]) om_NWRefreshWizardDialog(1);
}

// The same file: the paths compared ignoring case, in one separator form (the stored scripts
// document path is kept with forward slashes, the host reports backslashes).
bool SamePath(ConStringT a, const std::string &b) {
    auto form = [](std::string_view p) {
        StringT s = qv::NewHeapString(p);
        om_PathNormalize(&s, 1, 0);
        return Take(s);
    };
    return !b.empty() && SameCI(form(qv::View(a)), form(b));
}

F_ObjHandleT OpenedDoc(const NotifyArgs &a) { return a.doc ? a.doc : a.activeDoc; }

void PostOpenDoc(const NotifyArgs &a) {
    if (NotifyState.quitting) return;
    F_ObjHandleT doc = OpenedDoc(a);
    if (CondTriggerSettings.afterOpenDoc) om_CondApplyRulesToDoc(doc, 1, 0);
    if (GeneralPreferences.nwAllowScriptAutorunning && doc) om_NWSRunEventScripts(doc, kOnDocumentOpen);
    if (SamePath(a.text, SettingsFiles.currentScriptsDoc)) {
        qv_Trace("closes the scripts document's hidden copies");
        om_NWSCloseHiddenCopies(0);
    }
    Refresh();
}

void PostOpenMIF(const NotifyArgs &a) {
    if (NotifyState.quitting) return;
    F_ObjHandleT doc = OpenedDoc(a);
    if (CondTriggerSettings.afterOpenMarkup && NotifyState.lastFunctionCode != FV_FC_STRUCTURE_VIEW)
        om_CondApplyRulesToDoc(doc, 1, 0);
    if (GeneralPreferences.nwAllowScriptAutorunning && doc) om_NWSRunEventScripts(doc, kOnMarkupOpen);
    Refresh();
}

void PostOpenMarkup(const NotifyArgs &a) {
    if (NotifyState.quitting) return;
    F_ObjHandleT doc = OpenedDoc(a);
    if (CondTriggerSettings.afterOpenMarkup) om_CondApplyRulesToDoc(doc, 1, 0);
    if (GeneralPreferences.nwAllowScriptAutorunning && doc) om_NWSRunEventScripts(doc, kOnDocumentOpen);
    Refresh();
}

void PostImportElemDefs(const NotifyArgs &a) {
    if (CondTriggerSettings.afterImportDefs) om_CondApplyRulesToDoc(a.activeDoc, 1, 0);
    if (GeneralPreferences.nwAllowScriptAutorunning && a.activeDoc) om_NWSRunEventScripts(a.activeDoc, kOnEDDImport);
}

void PreFunction(const NotifyArgs &a) {
    if (a.number == FV_FC_SAVE_AS) PluginGlobals.pathBeforeSaveAs = Take(F_ApiGetString(0, a.activeDoc, FP_Path));
}

void PostFunction(const NotifyArgs &a) {
    if (a.number == FV_FC_BOOK_UPDATE) {
        if (CondTriggerSettings.afterBookUpdate) om_CondApplyRulesToBook(a.activeBook, 1, 1);
    } else if (a.number == FV_FC_DISPLAY_REFRESH) {
        if (GeneralPreferences.nwAllowScriptAutorunning && a.activeDoc)
            om_NWSRunEventScripts(a.activeDoc, kOnDisplayRefresh);
    } else if (a.number == FV_FC_SAVE_AS && GeneralPreferences.xformAdjustRelPathsDuringSaveAs) {
        std::string now = Take(F_ApiGetString(0, a.activeDoc, FP_Path));
        const std::string &before = PluginGlobals.pathBeforeSaveAs;
        if (!before.empty() && !SameCI(before, now)) {
            qv_Trace("rebases the source paths saved from " + before);
            om_XformRebaseSourcePaths(a.activeDoc, before.c_str(), 1);
        }
    }
}

void ClientCall(const NotifyArgs &a) { F_ApiReturnValue(om_ClientHandleCall(a.text)); }

void PreQuitSession(const NotifyArgs &) {
    om_NWSCloseHiddenCopies(0);
    if (F_ObjHandleT settings = om_CondOpenSettingsDoc(0)) om_DocClose(settings, 0);
    NotifyState.quitting = 1;
}

void PostQuitDoc(const NotifyArgs &) {
    if (!NotifyState.quitting) Refresh();
}

void Nothing(const NotifyArgs &) {}

void PreMouseCommand(const NotifyArgs &a) {
    NotifyState.doubleClick = ((static_cast<UIntT>(a.number) >> 24) & 0xFF) == 1 ? 1 : 0;
}

void PostMouseCommand(const NotifyArgs &a) {
    if (a.front != NotifyState.lastFront) {
        om_NWRefreshWizardDialog(1);
        NotifyState.lastFront = a.front;
    }
    if (!NotifyState.doubleClick || !GeneralPreferences.xformAllowDblClickEdits) return;
    F_ObjHandleT doc = a.activeDoc, element = 0;
    if (doc && om_DocIsStructureView(doc))
        element = om_ElementSelectedInFrontDoc(&doc);
    else if (doc)
        element = om_ElementSelected(doc, 1, 1);
    if (!element) return;
    if (om_XformElementType(doc, element)) om_XformSetUpElement(doc, element);
}

// The stylesheet element type of an inserted tag that has a set-up dialog; XT_None otherwise.
IntT SetUpTypeOfTag(ConStringT tag) {
    IntT type = om_XformTypeOfName(qv::View(tag));
    return om_XformHasSetUpDialog(type) ? type : XT_None;
}

void PreInsertElement(const NotifyArgs &a) {
    StylesheetElementSetUp.justInserted = 1;
    if (SetUpTypeOfTag(a.text) == XT_None) return;
    NotifyState.savedDocProperty = F_ApiGetInt(0, a.activeDoc, FP_DocInsertSwitch);
    F_ApiSetInt(0, a.activeDoc, FP_DocInsertSwitch, 0);
}

void ApplyToSelectedElement() {
    if (CondTriggerSettings.afterInsertWrap) om_CondApplyRulesToElement(0, 0, 1, 1);
}

void PostInsertElement(const NotifyArgs &a) {
    if (IntT type = SetUpTypeOfTag(a.text); type != XT_None) {
        F_ObjHandleT element = static_cast<F_ObjHandleT>(a.number);
        StylesheetElementSetUp.document = a.activeDoc;
        StylesheetElementSetUp.element = element;
        om_XformOpenSetUpDialog(type, a.activeDoc, element);
        F_ApiSetInt(0, a.activeDoc, FP_DocInsertSwitch, NotifyState.savedDocProperty);
        F_ApiSetInt(a.activeDoc, element, FP_ElementSetUp, 3);
    }
    StylesheetElementSetUp.justInserted = 0;
    ApplyToSelectedElement();
}

void PostChangeOrWrap(const NotifyArgs &) { ApplyToSelectedElement(); }

void PostSetAttrValue(const NotifyArgs &) {
    if (CondTriggerSettings.afterAttrEdit) om_CondApplyRulesToElement(0, 0, 1, 1);
}

void PostActiveDocChange(const NotifyArgs &) {
    if (DialogHandles[kDlgNodeWizard]) om_NWRefreshWizardDialog(1);
    if (DialogHandles[kDlgNWScripts]) om_NWSRefreshPalette(0, 1);
}

void DialogCreate(const NotifyArgs &a) {
    std::string name(qv::View(a.text));
    if (SameCI(name, "qv_DialogNodeWizard"))
        om_NWOpenWizardDialog(-1000, -1000, 1);
    else if (SameCI(name, "qv_DialogXPathQuickFinder"))
        om_NWOpenQuickFinder(-1000, -1000, 1);
    else if (SameCI(name, "qv_DialogNWScripts"))
        om_NWSOpenPalette(1);
}

const QvNotification kNotifications[] = {
    {FA_Note_PostOpenDoc, "post-open document", PostOpenDoc},
    {FA_Note_PostOpenMIF, "post-open MIF", PostOpenMIF},
    {FA_Note_PreQuitDoc, "pre-quit document", Nothing},
    {FA_Note_ClientCall, "client call", ClientCall},
    {FA_Note_PreQuitSession, "pre-quit session", PreQuitSession},
    {FA_Note_PostQuitDoc, "post-quit document", PostQuitDoc},
    {FA_Note_PreFunction, "pre-function", PreFunction},
    {FA_Note_PostFunction, "post-function", PostFunction},
    {FA_Note_PreMouseCommand, "pre-mouse command", PreMouseCommand},
    {FA_Note_PostMouseCommand, "post-mouse command", PostMouseCommand},
    {FA_Note_PreInsertElement, "pre-insert element", PreInsertElement},
    {FA_Note_PostInsertElement, "post-insert element", PostInsertElement},
    {FA_Note_PostChangeElement, "post-change element", PostChangeOrWrap},
    {FA_Note_PostWrapElement, "post-wrap element", PostChangeOrWrap},
    {FA_Note_PostSetAttrValue, "post-set attribute value", PostSetAttrValue},
    {FA_Note_PostImportElemDefs, "post-import element definitions", PostImportElemDefs},
    {FA_Note_PostOpenSGML, "post-open SGML", PostOpenMarkup},
    {FA_Note_PostOpenXML, "post-open XML", PostOpenMarkup},
    {FA_Note_PostActiveDocChange, "post-active document change", PostActiveDocChange},
    {FA_Note_Dialog_Create, "dialog create", DialogCreate},
};

}  // namespace

const QvNotification *qv_NotificationTable(int *count) {
    if (count) *count = static_cast<int>(sizeof kNotifications / sizeof kNotifications[0]);
    return kNotifications;
}

void qv_RouteNotification(IntT notification, F_ObjHandleT doc, ConStringT text, IntT number) {
    NotifyArgs a;
    a.doc = doc;
    a.text = text;
    a.number = number;
    FA_errno = 0;
    for (const QvNotification &n : kNotifications) {
        if (n.code != notification) continue;
        // Named only with the trace on: a client call (one per match for some callers) comes here.
        if (PluginGlobals.traceStartUp) qv_Trace("notification " + std::to_string(notification) + ": " + n.name);
        // A client call reads neither the active document nor the active book.
        if (notification != FA_Note_ClientCall) {
            a.activeDoc = F_ApiGetId(0, 0, FP_ActiveDoc);
            a.activeBook = F_ApiGetId(0, 0, FP_ActiveBook);
            a.front = a.activeDoc ? a.activeDoc : a.activeBook;
        }
        n.handle(a);
        break;
    }
    NotifyState.lastFunctionCode = number;
}
