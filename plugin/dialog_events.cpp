// Dialog-event routing: F_ApiDialogEvent finds the dialog by the number under which the plug-in
// opened it and the item by its number in that dialog's table, runs the item's handler, then
// refreshes the dialog or keeps it up as the row says.
#include "plugin/dialog_events.h"

#include <string>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "lib/plugin_globals.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_doc.h"
#include "plugin/cond_settings.h"
#include "plugin/features.h"
#include "plugin/trace.h"

namespace {

std::string Take(StringT s) {
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// ---- routing tables ----

enum RouteFlags : int {
    kRefresh = 1,  // the dialog's refresh follows the handler
    kKeep = 2,     // the dialog stays up (F_ApiReturnValue (-10000))
};

struct DialogEvent {
    IntT dialogNumber = 0;
    IntT item = 0;
    F_ObjHandleT dlg = 0;  // the open dialog's resource
    F_ObjHandleT doc = 0;
    F_ObjHandleT book = 0;
    IntT doubleClick = 0;
};

void TraceEvent(const DialogEvent &e, const std::string &handler) {
    qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) + ": " + handler);
}

struct ItemRoute {
    IntT item;
    const char *handler;
    void (*run)(const DialogEvent &);
    int flags;
};

void None(const DialogEvent &) {}

// Scripts palette (24)
void ChooseTarget(const DialogEvent &e) {
    IntT index = om_DlgGetStateIfItem(e.dlg, 6) - 1;
    if (index >= 0 && index < qv_NWSPaletteTargetCount()) qv_NWSChoosePaletteTarget(index);
    om_NWSRefreshPalette(0, 0);
}
std::string SelectedScript(const DialogEvent &e) { return Take(om_DlgGetSelectedLabel(e.dlg, 9, "")); }
void CheckEvent(const DialogEvent &e) {
    IntT n = om_DlgGetState(e.dlg, 11);
    if (n >= 0) om_NWSValidateScript(SelectedScript(e), 0, n + 1, 1, 1);
}
void EditScriptOrEvent(const DialogEvent &e) {
    std::string name = SelectedScript(e);
    F_ObjHandleT doc = om_NWSOpenScriptsDocument(1, 0, 0);
    if (!doc && al_yesno2("NWS_GEN_MSG_10")) doc = om_NWSOpenScriptsDocument(1, 1, 1);
    if (doc && !name.empty()) {
        F_ObjHandleT found = e.item == 18 ? om_NWSFindScript(doc, name, 0, 1)
                                          : om_NWSFindEvent(doc, name, 0, om_DlgGetState(e.dlg, 11) + 1);
        if (found) om_DocGoToObject(doc, found);
    }
}
void ClosePalette(const DialogEvent &e) {
    if (e.item == 22 && DialogHandles[kDlgNWScripts]) F_ApiClose(DialogHandles[kDlgNWScripts], 0);
    om_NWSCloseHiddenCopies(0);
    DialogHandles[kDlgNWScripts] = 0;
}

const ItemRoute kScriptsPalette[] = {
    {3, "om_NWSChooseScriptsDoc", [](const DialogEvent &) { om_NWSChooseScriptsDoc(); }, kRefresh},
    {6, "choose target", ChooseTarget, 0},
    {7, "refill", None, kRefresh},
    {9, "refill", None, kRefresh},
    {11, "refill", None, kRefresh},
    {16, "om_NWSRunFromPalette", [](const DialogEvent &) { om_NWSRunFromPalette(3); }, 0},
    {17, "om_NWSValidateScript", [](const DialogEvent &e) { om_NWSValidateScript(SelectedScript(e), 0, 0, 1, 1); }, 0},
    {18, "om_NWSFindScript", EditScriptOrEvent, kRefresh},
    {19, "om_NWSRunFromPalette", [](const DialogEvent &) { om_NWSRunFromPalette(4); }, 0},
    {20, "om_NWSValidateScript", CheckEvent, 0},
    {21, "om_NWSFindEvent", EditScriptOrEvent, kRefresh},
    {22, "close", ClosePalette, 0},
    {FV_DlgRefresh, "refill", None, kRefresh},
    {FV_DlgCloseBox, "close", ClosePalette, 0},
};

// Condition Manager (23)
void EditExpressionOnDoubleClick(const DialogEvent &e) {
    if (e.doubleClick) om_CondEditSettingItem(2);
    om_CondFillManagerDialog(0, 1);
}
void EditConditionOnDoubleClick(const DialogEvent &e) {
    if (e.doubleClick) om_CondEditSettingItem(1);
    om_CondFillManagerDialog(0, 0);
}
void ToggleFlag(const DialogEvent &e) { om_CondToggleRuleFlag(e.item); }

const ItemRoute kConditionManager[] = {
    {19, "om_CondAddSettingItem", [](const DialogEvent &) { om_CondAddSettingItem(2); }, kKeep},
    {20, "om_CondEditSettingItem", EditExpressionOnDoubleClick, kKeep},
    {21, "om_CondEditSettingItem",
     [](const DialogEvent &) {
         om_CondEditSettingItem(2);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {22, "om_CondDeleteSettingItem", [](const DialogEvent &) { om_CondDeleteSettingItem(2); }, kKeep},
    {23, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(2, 1); }, kKeep},
    {24, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(2, 2); }, kKeep},
    {25, "om_CondToggleRuleFlag",
     [](const DialogEvent &e) {
         om_CondToggleRuleFlag(e.item);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {26, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {27, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {28, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {31, "om_CondAddSettingItem", [](const DialogEvent &) { om_CondAddSettingItem(1); }, kKeep},
    {32, "om_CondEditSettingItem", EditConditionOnDoubleClick, kKeep},
    {33, "om_CondEditSettingItem",
     [](const DialogEvent &) {
         om_CondEditSettingItem(1);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {34, "om_CondDeleteSettingItem", [](const DialogEvent &) { om_CondDeleteSettingItem(1); }, kKeep},
    {35, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(1, 1); }, kKeep},
    {36, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(1, 2); }, kKeep},
    {37, "om_CondSaveTriggerSettings", [](const DialogEvent &) { om_CondSaveTriggerSettings(); }, 0},
    {38, "om_CondCloseSettingsDoc", [](const DialogEvent &) { om_CondCloseSettingsDoc(0); }, 0},
};

// ---- the stylesheet set-up dialogs: one row each ----

struct SetUpDialog {
    QvDialogNumber number;
    IntT browse, pick, text;  // 0: the dialog has none
    IntT ok;
    const char *okHandler;
    void (*apply)();
    IntT cancel;
};

const SetUpDialog kSetUpDialogs[] = {
    {kDlgCopyOf, 10, 9, 8, 28, "om_XformApplyCopyOfDialog", om_XformApplyCopyOfDialog, 29},
    {kDlgValueOf, 10, 9, 8, 43, "om_XformApplyValueOfDialog", om_XformApplyValueOfDialog, 44},
    {kDlgIf, 10, 9, 8, 18, "om_XformApplyIfDialog", om_XformApplyIfDialog, 19},
    {kDlgTable, 0, 0, 0, 57, "om_XformApplyTableDialog", om_XformApplyTableDialog, 58},
    {kDlgTableRow, 15, 14, 13, 23, "om_XformApplyTableRowDialog", om_XformApplyTableRowDialog, 24},
    {kDlgElementTag, 0, 0, 0, 6, "om_XformApplyElementTagDialog", om_XformApplyElementTagDialog, 7},
    {kDlgSort, 0, 0, 0, 16, "om_XformApplySortDialog", om_XformApplySortDialog, 17},
    {kDlgCreateXRef, 10, 9, 8, 38, "om_XformApplyCreateXRefDialog", om_XformApplyCreateXRefDialog, 39},
    {kDlgSetAttribute, 10, 9, 8, 36, "om_XformApplySetAttributeDialog", om_XformApplySetAttributeDialog, 37},
    {kDlgTemplate, 10, 9, 8, 19, "om_XformApplyTemplateDialog", om_XformApplyTemplateDialog, 20},
    {kDlgParam, 20, 19, 18, 28, "om_XformApplyParamDialog", om_XformApplyParamDialog, 29},
};

// Cancel of a set-up dialog: a just-inserted element goes again.
void CancelSetUp() {
    StylesheetElementSetUpT &s = StylesheetElementSetUp;
    if (s.justInserted && s.document && s.element) F_ApiDelete(s.document, s.element);
    s = StylesheetElementSetUpT{};
}

// Routes an event of a set-up dialog; false when the dialog is not one of them.
bool RouteSetUpDialog(const DialogEvent &e) {
    for (const SetUpDialog &d : kSetUpDialogs) {
        if (d.number != e.dialogNumber) continue;
        if (d.browse && e.item == d.browse) {
            TraceEvent(e, "om_XformBrowseSourceFile");
            om_XformBrowseSourceFile(e.doc, e.dlg, d.text);
            F_ApiReturnValue(FV_DlgNoDismiss);
        } else if (d.pick && e.item == d.pick) {
            TraceEvent(e, "om_XformPickSourceFile");
            om_XformPickSourceFile(e.doc, e.dlg, d.pick, d.text);
            F_ApiReturnValue(FV_DlgNoDismiss);
        } else if (e.item == d.ok) {
            TraceEvent(e, d.okHandler);
            d.apply();
        } else if (e.item == d.cancel) {
            TraceEvent(e, "cancel");
            CancelSetUp();
        } else if (d.number == kDlgTable && (e.item == 15 || e.item == 16)) {
            TraceEvent(e, "om_XformTableColumnsChanged");
            om_XformTableColumnsChanged();
            F_ApiReturnValue(FV_DlgNoDismiss);
        }
        return true;
    }
    return false;
}

struct DialogRoute {
    IntT number;
    const ItemRoute *items;
    size_t count;
    void (*refresh)();
};

template <size_t N>
constexpr DialogRoute Route(IntT number, const ItemRoute (&items)[N], void (*refresh)()) {
    return DialogRoute{number, items, N, refresh};
}

void RefillPalette() { om_NWSRefreshPalette(0, 1); }

const DialogRoute kDialogs[] = {
    Route(kDlgConditionManager, kConditionManager, nullptr),
    Route(kDlgNWScripts, kScriptsPalette, RefillPalette),
};

// Dialogs whose owner takes every item event itself.
struct WholeDialog {
    IntT number;
    const char *handler;
    void (*handle)(const DialogEvent &);
};

void GenericEvent(const DialogEvent &e) {
    if (om_DlgGenericEvent(e.dialogNumber, e.item)) F_ApiReturnValue(FV_DlgNoDismiss);
}

const WholeDialog kWholeDialogs[] = {
    {kDlgNodeWizard, "om_NWWizardItemEvent", [](const DialogEvent &e) { om_NWWizardItemEvent(e.item, e.doubleClick); }},
    {kDlgQuickFinder, "om_NWQuickFinderItemEvent", [](const DialogEvent &e) { om_NWQuickFinderItemEvent(e.item); }},
    {kDlgTransformationSetup, "om_XformLaunchDialogEvent", [](const DialogEvent &e) { om_XformLaunchDialogEvent(e.item); }},
    // the library's generic dialogs (message lines, drop-downs, the strings list editor)
    {1001, "om_DlgGenericEvent", GenericEvent},
    {1222, "om_DlgGenericEvent", GenericEvent},
    {1223, "om_DlgGenericEvent", GenericEvent},
    {1225, "om_DlgGenericEvent", GenericEvent},
    {1226, "om_DlgGenericEvent", GenericEvent},
};

}  // namespace

int qv_RouteDialogEvent(IntT dialogNumber, IntT item) {
    DialogEvent e;
    e.dialogNumber = dialogNumber;
    e.item = item;
    FA_errno = 0;
    e.doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    e.book = F_ApiGetId(0, 0, FP_ActiveBook);
    if (dialogNumber > 0 && dialogNumber <= kDlgParam) e.dlg = DialogHandles[static_cast<QvDialogNumber>(dialogNumber)];
    if (dialogNumber == kDlgNodeWizard || dialogNumber == kDlgConditionManager)
        e.doubleClick = e.dlg ? F_ApiGetInt(0, e.dlg, FP_DlgDoubleClick) : 0;
    for (const WholeDialog &w : kWholeDialogs) {
        if (w.number != dialogNumber) continue;
        TraceEvent(e, w.handler);
        w.handle(e);
        return 1;
    }
    if (RouteSetUpDialog(e)) return 1;
    for (const DialogRoute &d : kDialogs) {
        if (d.number != dialogNumber) continue;
        for (size_t i = 0; i < d.count; ++i) {
            const ItemRoute &r = d.items[i];
            if (r.item != item) continue;
            TraceEvent(e, r.handler);
            r.run(e);
            if ((r.flags & kRefresh) && d.refresh) d.refresh();
            if (r.flags & kKeep) F_ApiReturnValue(FV_DlgNoDismiss);
            return 1;
        }
        return 1;
    }
    return 0;
}
