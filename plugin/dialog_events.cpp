// Dialog-event routing: F_ApiDialogEvent finds the dialog by the number under which the plug-in
// opened it and the item by its number in that dialog's table, runs the item's handler, then
// refreshes the dialog or keeps it up as the row says.
#include "plugin/dialog_events.h"

#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/paths.h"
#include "lib/host/folders.h"
#include "lib/shell_records.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/translation/lang.h"
#include "plugin/features.h"
#include "plugin/trace.h"
#include "resources/dialog_items.h"

namespace {

constexpr const char *kNodeWizardTable = "Quorvane - Node Wizard";
constexpr const char *kLaunchTable = "Quorvane - Launch Transformation";

std::string Take(StringT s) {
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// ---- the drop-downs of the Node Wizard's attribute and value editors ----

void OfferAttributeNames(F_ObjHandleT doc) { om_DlgTakeDDownList(om_NWAttrNameOffers(doc)); }


// ---- routing tables ----

enum RouteFlags : int {
    kRefresh = 1,       // the dialog's refresh follows the handler
    kKeep = 2,          // the dialog stays up (F_ApiReturnValue (-10000))
    kDoubleClick = 4,   // only on a double click
};

struct DialogEvent {
    IntT dialogNumber = 0;
    IntT item = 0;
    F_ObjHandleT dlg = 0;  // the open dialog's resource
    F_ObjHandleT doc = 0;
    F_ObjHandleT book = 0;
    IntT doubleClick = 0;
};

struct ItemRoute {
    IntT item;
    const char *handler;
    void (*run)(const DialogEvent &);
    int flags;
};

void None(const DialogEvent &) {}

// Node Wizard (6)
void GreyMatchNext(const DialogEvent &e) {
    om_DlgDisable(e.dlg, NWItem::MatchNext);
    om_DlgDisable(e.dlg, NWItem::PerformAndMatchNext);
}
void ElemActionHelp(const DialogEvent &e) {
    std::string name = Take(om_DlgGetText(e.dlg, NWItem::ElemAction, kNodeWizardTable));
    om_NWShowActionHelp(om_NWElemActionCode(name.c_str()));
}
void AttrActionHelp(const DialogEvent &e) {
    std::string name = Take(om_DlgGetText(e.dlg, NWItem::AttrAction, kNodeWizardTable));
    om_NWShowActionHelp(om_NWAttrActionCode(name.c_str()));
}
void EditConditions(const DialogEvent &e) {
    F_StringsT tags = om_CondListConditionTags(e.doc);
    om_DlgSetDDownList(&tags);
    F_ApiDeallocateStrings(&tags);
    om_DlgEditListWithEditor(e.dlg, NWItem::Conditions, "Conditions To Assign", kNodeWizardTable);
}
void EditAttributes(const DialogEvent &e) {
    OfferAttributeNames(e.doc);
    om_DlgEditListWithEditor(e.dlg, NWItem::AttrNames, "Action Attributes", kNodeWizardTable);
}
void EditAttributeEntry(const DialogEvent &e) {
    OfferAttributeNames(e.doc);
    om_DlgEditListEntry(e.dlg, NWItem::AttrNames, -1, "", 0, 1, 1, kNodeWizardTable);
}
void EditValueEntry(const DialogEvent &e) {
    if (om_DlgGetState(e.dlg, NWItem::AttrNames) >= 0) om_NWOfferAttrValues(e.doc, 0);
    om_DlgEditListEntry(e.dlg, NWItem::AttrValues, -1, "", 0, 1, 1, kNodeWizardTable);
}
void EditValues(const DialogEvent &e) {
    om_NWOfferAttrValues(e.doc, 1);
    om_DlgEditListWithEditor(e.dlg, NWItem::AttrValues, "Action Values", kNodeWizardTable);
}
void PreviousMatch(const DialogEvent &) { om_NWGoToMatch(NodeWizardQuery.currentMatch - 1); }
void NextMatch(const DialogEvent &) { om_NWGoToMatch(NodeWizardQuery.currentMatch + 1); }
void RunQuery(const DialogEvent &e) { om_NWRunQuery(e.item); }
void MatchNextOrPerform(const DialogEvent &e) { om_NWMatchNextOrPerform(e.item); }
void CloseModeless(const DialogEvent &e, QvDialogNumber number, IntT closeItem) {
    if (e.item == closeItem && DialogHandles[number]) F_ApiClose(DialogHandles[number], 0);
    DialogHandles[number] = 0;
}

const ItemRoute kNodeWizard[] = {
    {NWItem::Expression, "grey Match Next", GreyMatchNext, 0},
    {NWItem::History, "grey Match Next", GreyMatchNext, kRefresh},
    {NWItem::ParseOnly, "refresh", None, kRefresh},
    {NWItem::PrintComponents, "refresh", None, kRefresh},
    {NWItem::Less, "om_NWSwitchToQuickFinder", [](const DialogEvent &) { om_NWSwitchToQuickFinder(); }, 0},
    {NWItem::AddFavorite, "om_NWAddFavorite", [](const DialogEvent &) { om_NWAddFavorite(""); }, kRefresh},
    {NWItem::GetFavorites, "om_NWLoadFavorites", [](const DialogEvent &) { om_NWLoadFavorites(1); }, kRefresh},
    {NWItem::ManageFavorites, "om_NWManageFavorites", [](const DialogEvent &) { om_NWManageFavorites(); }, kRefresh},
    {NWItem::ElemActionPopup, "refresh", None, kRefresh},
    {NWItem::ElemActionHelp, "om_NWShowActionHelp", ElemActionHelp, 0},
    {NWItem::ReportElemErrors, "refresh", None, kRefresh},
    {NWItem::TagNamePopup, "refresh", None, kRefresh},
    {NWItem::EditConditions, "om_DlgEditListWithEditor", EditConditions, kRefresh},
    {NWItem::AttrActionPopup, "refresh", None, kRefresh},
    {NWItem::AttrActionHelp, "om_NWShowActionHelp", AttrActionHelp, 0},
    {NWItem::ReportAttrErrors, "refresh", None, kRefresh},
    {NWItem::AttrNames, "om_DlgEditListEntry", EditAttributeEntry, kDoubleClick},
    {NWItem::EditAttrNames, "om_DlgEditListWithEditor", EditAttributes, 0},
    {NWItem::AttrValues, "om_DlgEditListEntry", EditValueEntry, kDoubleClick},
    {NWItem::EditAttrValues, "om_DlgEditListWithEditor", EditValues, 0},
    {NWItem::PreviousMatch, "om_NWGoToMatch", PreviousMatch, kRefresh},
    {NWItem::NextMatch, "om_NWGoToMatch", NextMatch, kRefresh},
    {NWItem::JumpToMatch, "om_NWJumpToIndex", [](const DialogEvent &) { om_NWJumpToIndex(); }, kRefresh},
    {NWItem::MatchFirst, "om_NWRunQuery", RunQuery, kRefresh},
    {NWItem::MatchNext, "om_NWMatchNextOrPerform", MatchNextOrPerform, kRefresh},
    {NWItem::MatchAll, "om_NWRunQuery", RunQuery, kRefresh},
    {NWItem::Perform, "om_NWMatchNextOrPerform", MatchNextOrPerform, kRefresh},
    {NWItem::PerformAndMatchNext, "om_NWMatchNextOrPerform", MatchNextOrPerform, kRefresh},
    {NWItem::PerformOnAll, "om_NWRunQuery", RunQuery, kRefresh},
    {NWItem::Close, "close", [](const DialogEvent &e) { CloseModeless(e, kDlgNodeWizard, NWItem::Close); }, 0},
    {FV_DlgCloseBox, "close", [](const DialogEvent &e) { CloseModeless(e, kDlgNodeWizard, NWItem::Close); }, 0},
};

// Quick Finder (9)
void GreyQuickMatchNext(const DialogEvent &e) { om_DlgDisable(e.dlg, QFItem::MatchNext); }
const ItemRoute kQuickFinder[] = {
    {QFItem::Expression, "grey Match Next", GreyQuickMatchNext, 0},
    {QFItem::History, "grey Match Next", GreyQuickMatchNext, 0},
    {QFItem::MatchFirst, "om_NWRunQuery", RunQuery, kRefresh},
    {QFItem::MatchNext, "om_NWMatchNextOrPerform", MatchNextOrPerform, kRefresh},
    {QFItem::MatchAll, "om_NWRunQuery", RunQuery, kRefresh},
    {QFItem::Close, "close", [](const DialogEvent &e) { CloseModeless(e, kDlgQuickFinder, QFItem::Close); }, 0},
    {QFItem::PreviousMatch, "om_NWGoToMatch", PreviousMatch, kRefresh},
    {QFItem::NextMatch, "om_NWGoToMatch", NextMatch, kRefresh},
    {QFItem::JumpToMatch, "om_NWJumpToIndex", [](const DialogEvent &) { om_NWJumpToIndex(); }, kRefresh},
    {QFItem::More, "om_NWSwitchToWizard", [](const DialogEvent &) { om_NWSwitchToWizard(); }, 0},
    {QFItem::AddFavorite, "om_NWAddFavorite", [](const DialogEvent &) { om_NWAddFavorite(""); }, 0},
    {QFItem::GetFavorites, "om_NWLoadFavorites", [](const DialogEvent &) { om_NWLoadFavorites(1); }, kRefresh},
    {QFItem::ManageFavorites, "om_NWManageFavorites", [](const DialogEvent &) { om_NWManageFavorites(); }, kRefresh},
    {FV_DlgRefresh, "refresh", None, kRefresh},
    {FV_DlgCloseBox, "close", [](const DialogEvent &e) { CloseModeless(e, kDlgQuickFinder, QFItem::Close); }, 0},
};

// Scripts palette (24)
void ChooseTarget(const DialogEvent &e) {
    IntT index = om_DlgGetStateIfItem(e.dlg, NWSPaletteItem::TargetPopup) - 1;
    if (index >= 0 && index < qv_NWSPaletteTargetCount()) qv_NWSChoosePaletteTarget(index);
    om_NWSRefreshPalette(0, 0);
}
std::string SelectedScript(const DialogEvent &e) {
    return Take(om_DlgGetSelectedLabel(e.dlg, NWSPaletteItem::Scripts, ""));
}
void CheckEvent(const DialogEvent &e) {
    IntT n = om_DlgGetState(e.dlg, NWSPaletteItem::Events);
    if (n >= 0) om_NWSValidateScript(SelectedScript(e).c_str(), 0, n + 1, 1, 1);
}
void EditScriptOrEvent(const DialogEvent &e) {
    std::string name = SelectedScript(e);
    F_ObjHandleT doc = om_NWSOpenScriptsDocument(1, 0, 0);
    if (!doc && al_yesno2("NWS_GEN_MSG_10")) doc = om_NWSOpenScriptsDocument(1, 1, 1);
    if (doc && !name.empty()) {
        F_ObjHandleT found = e.item == NWSPaletteItem::EditScript
                                 ? om_NWSFindScript(doc, name.c_str(), 0, 1)
                                 : om_NWSFindEvent(doc, name, 0, om_DlgGetState(e.dlg, NWSPaletteItem::Events) + 1);
        if (found) om_DocGoToObject(doc, found);
    }
}
void ClosePalette(const DialogEvent &e) {
    if (e.item == NWSPaletteItem::Close && DialogHandles[kDlgNWScripts]) F_ApiClose(DialogHandles[kDlgNWScripts], 0);
    om_NWSCloseHiddenCopies(0);
    DialogHandles[kDlgNWScripts] = 0;
}

const ItemRoute kScriptsPalette[] = {
    {NWSPaletteItem::DocPopup, "om_NWSChooseScriptsDoc", [](const DialogEvent &) { om_NWSChooseScriptsDoc(); },
     kRefresh},
    {NWSPaletteItem::TargetPopup, "choose target", ChooseTarget, 0},
    {NWSPaletteItem::AutoTarget, "refill", None, kRefresh},
    {NWSPaletteItem::Scripts, "refill", None, kRefresh},
    {NWSPaletteItem::Events, "refill", None, kRefresh},
    {NWSPaletteItem::RunScript, "om_NWSRunFromPalette", [](const DialogEvent &) { om_NWSRunFromPalette(3); }, 0},
    {NWSPaletteItem::CheckScript, "om_NWSValidateScript",
     [](const DialogEvent &e) { om_NWSValidateScript(SelectedScript(e).c_str(), 0, 0, 1, 1); }, 0},
    {NWSPaletteItem::EditScript, "om_NWSFindScript", EditScriptOrEvent, kRefresh},
    {NWSPaletteItem::RunEvent, "om_NWSRunFromPalette", [](const DialogEvent &) { om_NWSRunFromPalette(4); }, 0},
    {NWSPaletteItem::CheckEvent, "om_NWSValidateScript", CheckEvent, 0},
    {NWSPaletteItem::EditEvent, "om_NWSFindEvent", EditScriptOrEvent, kRefresh},
    {NWSPaletteItem::Close, "close", ClosePalette, 0},
    {FV_DlgRefresh, "refill", None, kRefresh},
    {FV_DlgCloseBox, "close", ClosePalette, 0},
};

// Transformation launch dialog (20)
void ChooseLaunchFolder(const DialogEvent &e) {
    std::string title = qv::LangTranslate(
        kLaunchTable, "Choose the folder for the tranformed book. It must be different than the book's current folder.",
        false, 0);
    std::string folder = Take(om_FileChooseDirectory("", e.book, title.c_str(), 1));
    qv_XformSetLaunchFolder(folder.empty() ? "None" : folder.c_str());
    om_XformUpdateDuplicateControls();
}

const ItemRoute kLaunchDialog[] = {
    {LaunchItem::Duplicate, "om_XformUpdateDuplicateControls",
     [](const DialogEvent &) { om_XformUpdateDuplicateControls(); }, kKeep},
    {LaunchItem::ChooseFolder, "om_FileChooseDirectory", ChooseLaunchFolder, kKeep},
    {LaunchItem::Transform, "om_XformCheckDuplicateOptions", [](const DialogEvent &) { om_XformCheckDuplicateOptions(); },
     0},
    {LaunchItem::Cancel, "cancel", [](const DialogEvent &) { CancelFlag = 1; }, 0},
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
    {CondItem::AddExpr, "om_CondAddSettingItem", [](const DialogEvent &) { om_CondAddSettingItem(2); }, kKeep},
    {CondItem::ExprList, "om_CondEditSettingItem", EditExpressionOnDoubleClick, kKeep},
    {CondItem::EditExpr, "om_CondEditSettingItem",
     [](const DialogEvent &) {
         om_CondEditSettingItem(2);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {CondItem::DeleteExpr, "om_CondDeleteSettingItem", [](const DialogEvent &) { om_CondDeleteSettingItem(2); }, kKeep},
    {CondItem::ExprUp, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(2, 1); }, kKeep},
    {CondItem::ExprDown, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(2, 2); }, kKeep},
    {CondItem::RuleActive, "om_CondToggleRuleFlag",
     [](const DialogEvent &e) {
         om_CondToggleRuleFlag(e.item);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {CondItem::ClearExisting, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {CondItem::CreateConditions, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {CondItem::ParentToo, "om_CondToggleRuleFlag", ToggleFlag, kKeep},
    {CondItem::AddCond, "om_CondAddSettingItem", [](const DialogEvent &) { om_CondAddSettingItem(1); }, kKeep},
    {CondItem::CondList, "om_CondEditSettingItem", EditConditionOnDoubleClick, kKeep},
    {CondItem::EditCond, "om_CondEditSettingItem",
     [](const DialogEvent &) {
         om_CondEditSettingItem(1);
         om_CondFillManagerDialog(0, 0);
     },
     kKeep},
    {CondItem::DeleteCond, "om_CondDeleteSettingItem", [](const DialogEvent &) { om_CondDeleteSettingItem(1); }, kKeep},
    {CondItem::CondUp, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(1, 1); }, kKeep},
    {CondItem::CondDown, "om_CondMoveSettingItem", [](const DialogEvent &) { om_CondMoveSettingItem(1, 2); }, kKeep},
    {CondItem::Ok, "om_CondSaveTriggerSettings", [](const DialogEvent &) { om_CondSaveTriggerSettings(); }, 0},
    {CondItem::Cancel, "om_CondCloseSettingsDoc", [](const DialogEvent &) { om_CondCloseSettingsDoc(0); }, 0},
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
    {kDlgCopyOf, CopyOfItem::Browse, CopyOfItem::SourcePopup, CopyOfItem::Source, CopyOfItem::Ok,
     "om_XformApplyCopyOfDialog", om_XformApplyCopyOfDialog, CopyOfItem::Cancel},
    {kDlgValueOf, ValueOfItem::Browse, ValueOfItem::SourcePopup, ValueOfItem::Source, ValueOfItem::Ok,
     "om_XformApplyValueOfDialog", om_XformApplyValueOfDialog, ValueOfItem::Cancel},
    {kDlgIf, IfItem::Browse, IfItem::SourcePopup, IfItem::Source, IfItem::Ok,
     "om_XformApplyIfDialog", om_XformApplyIfDialog, IfItem::Cancel},
    {kDlgTable, 0, 0, 0, TableItem::Ok,
     "om_XformApplyTableDialog", om_XformApplyTableDialog, TableItem::Cancel},
    {kDlgTableRow, TableRowItem::Browse, TableRowItem::SourcePopup, TableRowItem::Source, TableRowItem::Ok,
     "om_XformApplyTableRowDialog", om_XformApplyTableRowDialog, TableRowItem::Cancel},
    {kDlgElementTag, 0, 0, 0, ElementTagItem::Ok,
     "om_XformApplyElementTagDialog", om_XformApplyElementTagDialog, ElementTagItem::Cancel},
    {kDlgSort, 0, 0, 0, SortItem::Ok,
     "om_XformApplySortDialog", om_XformApplySortDialog, SortItem::Cancel},
    {kDlgCreateXRef, CreateXRefItem::Browse, CreateXRefItem::SourcePopup, CreateXRefItem::Source, CreateXRefItem::Ok,
     "om_XformApplyCreateXRefDialog", om_XformApplyCreateXRefDialog, CreateXRefItem::Cancel},
    {kDlgSetAttribute, SetAttributeItem::Browse, SetAttributeItem::SourcePopup, SetAttributeItem::Source, SetAttributeItem::Ok,
     "om_XformApplySetAttributeDialog", om_XformApplySetAttributeDialog, SetAttributeItem::Cancel},
    {kDlgTemplate, TemplateItem::Browse, TemplateItem::SourcePopup, TemplateItem::Source, TemplateItem::Ok,
     "om_XformApplyTemplateDialog", om_XformApplyTemplateDialog, TemplateItem::Cancel},
    {kDlgParam, ParamItem::Browse, ParamItem::SourcePopup, ParamItem::Source, ParamItem::Ok,
     "om_XformApplyParamDialog", om_XformApplyParamDialog, ParamItem::Cancel},
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
            qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) +
                     ": om_XformBrowseSourceFile");
            om_XformBrowseSourceFile(e.doc, e.dlg, d.text);
            F_ApiReturnValue(FV_DlgNoDismiss);
        } else if (d.pick && e.item == d.pick) {
            qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) +
                     ": om_XformPickSourceFile");
            om_XformPickSourceFile(e.doc, e.dlg, d.pick, d.text);
            F_ApiReturnValue(FV_DlgNoDismiss);
        } else if (e.item == d.ok) {
            qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) + ": " +
                     d.okHandler);
            d.apply();
        } else if (e.item == d.cancel) {
            qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) + ": cancel");
            CancelSetUp();
        } else if (d.number == kDlgTable && (e.item == TableItem::Columns || e.item == TableItem::ColumnsPopup)) {
            qv_Trace("dialog " + std::to_string(e.dialogNumber) + " item " + std::to_string(e.item) +
                     ": om_XformTableColumnsChanged");
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
    int readsDoubleClick;
    void (*refresh)();
};

template <size_t N>
constexpr DialogRoute Route(IntT number, const ItemRoute (&items)[N], int readsDoubleClick, void (*refresh)()) {
    return DialogRoute{number, items, N, readsDoubleClick, refresh};
}

void RefreshWizard() {
    if (DialogHandles[kDlgNodeWizard]) om_NWRefreshWizardDialog(0);
}
void RefreshQuickFinder() { om_NWRefreshQuickFinder(); }
void RefillPalette() { om_NWSRefreshPalette(0, 1); }

const DialogRoute kDialogs[] = {
    Route(kDlgNodeWizard, kNodeWizard, 1, RefreshWizard),
    Route(kDlgQuickFinder, kQuickFinder, 0, RefreshQuickFinder),
    Route(kDlgTransformationSetup, kLaunchDialog, 0, nullptr),
    Route(kDlgConditionManager, kConditionManager, 1, nullptr),
    Route(kDlgNWScripts, kScriptsPalette, 0, RefillPalette),
};

// Dialogs whose owner takes every item event itself.
struct WholeDialog {
    IntT number;
    const char *handler;
    void (*handle)(IntT dialogNumber, IntT item);
};

void GenericEvent(IntT dialogNumber, IntT item) {
    if (om_DlgGenericEvent(dialogNumber, item)) F_ApiReturnValue(FV_DlgNoDismiss);
}

const WholeDialog kWholeDialogs[] = {
    // the library's generic dialogs (message lines, drop-downs, the strings list editor)
    {kDlgMessage, "om_DlgGenericEvent", GenericEvent},
    {kDlgDropDown, "om_DlgGenericEvent", GenericEvent},
    {kDlgListEditor, "om_DlgGenericEvent", GenericEvent},
    {kDlgCheckDropDown, "om_DlgGenericEvent", GenericEvent},
    {kDlgTwoDropDowns, "om_DlgGenericEvent", GenericEvent},
};

}  // namespace

int qv_RouteDialogEvent(IntT dialogNumber, IntT item) {
    DialogEvent e;
    e.dialogNumber = dialogNumber;
    e.item = item;
    FA_errno = 0;
    e.doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    e.book = F_ApiGetId(0, 0, FP_ActiveBook);
    for (const WholeDialog &w : kWholeDialogs) {
        if (w.number != dialogNumber) continue;
        qv_Trace("dialog " + std::to_string(dialogNumber) + " item " + std::to_string(item) + ": " + w.handler);
        w.handle(dialogNumber, item);
        return 1;
    }
    if (dialogNumber > 0 && dialogNumber <= kDlgParam) e.dlg = DialogHandles[static_cast<QvDialogNumber>(dialogNumber)];
    if (RouteSetUpDialog(e)) return 1;
    for (const DialogRoute &d : kDialogs) {
        if (d.number != dialogNumber) continue;
        if (d.readsDoubleClick && e.dlg) e.doubleClick = F_ApiGetInt(0, e.dlg, FP_DlgDoubleClick);
        for (size_t i = 0; i < d.count; ++i) {
            const ItemRoute &r = d.items[i];
            if (r.item != item) continue;
            if ((r.flags & kDoubleClick) && !e.doubleClick) return 1;
            qv_Trace("dialog " + std::to_string(dialogNumber) + " item " + std::to_string(item) + ": " + r.handler);
            r.run(e);
            if ((r.flags & kRefresh) && d.refresh) d.refresh();
            if (r.flags & kKeep) F_ApiReturnValue(FV_DlgNoDismiss);
            return 1;
        }
        return 1;
    }
    return 0;
}
