// Generic dialogs (see generic.h): the text-and-drop-down dialog, the strings list editor, the
// status box, the check-box drop-down dialogs and the message-lines dialog, over one state.
#include "lib/dialogs/generic.h"

#include <algorithm>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/search.h"
#include "lib/translation/lang.h"
#include "lib/run_state.h"
#include "resources/dialog_items.h"

namespace {

struct GenericDialogState {
    bool init = false;
    std::string entered, entered2;        // entered texts
    std::string status[4];                // status lines
    std::string shown[4], shownTable;     // what the status box shows, with the table it was shown by
    bool shownValid[4] = {};
    F_ObjHandleT lineIds[4] = {};         // the status box's line items, asked once per box
    F_ObjHandleT lineIdsOf = 0;           // the status box they belong to
    int shownKeeps = -1;                  // whether shownTable shows lines as they are (-1: not asked)
    std::vector<std::string> ddownList;   // suggestions when the caller passes none
    std::vector<std::string> working, result;  // editor working and result lists
    IntT editorOk = 0;
    IntT dialogResult = 0;
    IntT secondButton = 0;
    IntT width = 1;
    F_ObjHandleT ddown = 0, editor = 0, statusBox = 0, check1 = 0, check2 = 0;
    IntT checkState = 0;
    IntT firstButton = 0, secondButtonItem = 0;
};

GenericDialogState &G() {
    static GenericDialogState state;
    return state;
}

// The current translation table name, which the dialog items read too.
std::string &Table() { return qv::DlgTableName(); }

// Forgets the state and the current table name.
void ResetState() {
    G() = GenericDialogState();
    Table().clear();
}

const char *const kDialogBoxError = "Dialog box error.";

std::string Str(ConStringT s) { return std::string(qv::View(s)); }
bool IsStar(ConStringT s) { return s && s[0] == '*' && s[1] == 0; }

std::string Tr(const std::string &text) {
    return Table().empty() ? text : qv::LangTranslate(Table(), text, false, 0);
}

// Makes a table name current unless it is the same (ignoring case); "*" keeps the current one
// where the dialog honours it.
void TakeTableName(ConStringT table, bool starKeeps) {
    if (starKeeps && IsStar(table)) return;
    std::string t = Str(table);
    if (!qv::EqualFolded(t, Table())) Table() = t;
}

void LoadCurrentTable() {
    if (!Table().empty()) om_LangLoadTable(0, "", 0, Table().c_str(), "", 0);
}

F_ObjHandleT OpenOrWarn(const char *name) {
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, name);
    if (!dlg) F_ApiAlert(kDialogBoxError, FF_ALERT_CONTINUE_WARN);
    return dlg;
}

void SetTitle(F_ObjHandleT dlg, ConStringT title, bool translate) {
    if (!title || IsStar(title)) return;
    std::string t = translate ? Tr(Str(title)) : Str(title);
    F_ApiSetString(0, dlg, FP_Title, t.c_str());
}

// Fills a text box and its pop-up from the caller's values ("*" or NULL skips each).
void FillDropDown(F_ObjHandleT dlg, IntT promptItem, ConStringT prompt, IntT textItem, ConStringT text, IntT popItem,
                  const F_StringsT *list, const std::string &listTable, bool useStateList) {
    if (prompt && !IsStar(prompt)) om_DlgSetLabel(dlg, promptItem, prompt, Table().c_str());
    if (text && !IsStar(text)) om_DlgSetText(dlg, textItem, text, listTable.c_str());
    std::vector<std::string> entries = list ? qv::ReadStrings(list) : useStateList ? G().ddownList : std::vector<std::string>{};
    if (list && !entries.empty() && entries[0] == "*") return;
    if (!list && !useStateList) return;
    F_StringsT l = qv::NewStrings(entries);
    om_DlgSetListLabelsWithLead(dlg, popItem, &l, " ", listTable.c_str());
    F_ApiDeallocateStrings(&l);
}

void SetEditorButtons(F_ObjHandleT dlg, size_t count, bool haveSelection) {
    if (count == 0 || !haveSelection) {
        om_DlgDisable(dlg, ListEditorItem::Edit);
        om_DlgDisable(dlg, ListEditorItem::Delete);
    } else {
        om_DlgEnable(dlg, ListEditorItem::Edit);
        om_DlgEnable(dlg, ListEditorItem::Delete);
    }
    if (count > 1) {
        om_DlgEnable(dlg, ListEditorItem::Up);
        om_DlgEnable(dlg, ListEditorItem::Down);
    } else {
        om_DlgDisable(dlg, ListEditorItem::Up);
        om_DlgDisable(dlg, ListEditorItem::Down);
    }
}

void WarnExists() { F_ApiAlert(Tr("This item already exists.").c_str(), FF_ALERT_CONTINUE_WARN); }

int FindIn(const std::vector<std::string> &list, const std::string &text, IntT caseFlag) {
    for (size_t i = 0; i < list.size(); ++i)
        if (caseFlag == 1 ? list[i] == text : qv::FoldCase(list[i]) == qv::FoldCase(text)) return static_cast<int>(i);
    return -1;
}

// The drop-down dialog that the editor and the entry editor open for one entry.
IntT RunEntryDDown(const char *title, const std::string &prompt, const std::string &initial) {
    F_StringsT list = qv::NewStrings(G().ddownList);
    IntT ok =
        om_DlgRunDDown(kDlgDropDown, title, prompt.c_str(), initial.c_str(), &list, G().width, Table().c_str(), 0);
    F_ApiDeallocateStrings(&list);
    return ok;
}

}  // namespace

namespace qv {
IntT DlgEditorOk() { return G().editorOk; }
IntT DlgResult() { return G().dialogResult; }
void DlgResetGeneric() { ResetState(); }

namespace {
// Set up once at start-up.
[[maybe_unused]] const bool resetGenericDialogs = om_RunStateRegister("generic dialogs", RunStateKind::StartUp, [] {
    qv::DlgResetGeneric();
});
}  // namespace
}  // namespace qv

void om_DlgInitGeneric(void) {
    if (G().init) return;
    ResetState();
    G().init = true;
}

void om_DlgSetDDownList(const F_StringsT *list) {
    if (!G().init) return;
    G().ddownList = list ? qv::ReadStrings(list) : std::vector<std::string>{};
}

void om_DlgTakeDDownList(std::vector<std::string> list) {
    if (!G().init) return;
    G().ddownList = std::move(list);
}

IntT om_DlgRunDDown(IntT dlgNum, ConStringT title, ConStringT prompt, ConStringT initial, const F_StringsT *list,
                    IntT width, ConStringT table, IntT translateList) {
    om_DlgInitGeneric();
    TakeTableName(table, true);
    std::string listTable = translateList == 1 ? Table() : "";
    const char *name = width == 3 ? "om_Dialog_DDown_WIDE" : width == 4 ? "om_Dialog_DDown_REALLY_WIDE" : "om_Dialog_DDown";
    G().width = width;
    F_ObjHandleT dlg = OpenOrWarn(name);
    if (!dlg) return 0;
    F_ObjHandleT outer = G().ddown;  // a drop-down opened from another's handler keeps its own id
    G().ddown = dlg;
    SetTitle(dlg, title, !Table().empty());
    // The wide drop-downs have the same items (resources/required.txt holds all three to them).
    FillDropDown(dlg, DDownItem::Prompt, prompt, DDownItem::Text, initial, DDownItem::Popup, list, listTable, true);
    om_DlgSetLabel(dlg, DDownItem::Ok, "OK", Table().c_str());
    om_DlgSetLabel(dlg, DDownItem::Cancel, "Cancel", Table().c_str());
    G().dialogResult = 0;  // only the OK handler makes this run a success
    F_ApiModalDialog(dlgNum, dlg);
    G().entered = qv::DlgText(dlg, DDownItem::Text);
    IntT result = G().dialogResult;
    om_DlgCloseResource(dlg);
    G().ddown = outer;
    return result;
}

StringT om_DlgGetResultText(IntT translate) {
    return qv::NewHeapString(translate ? qv::LangTranslate(Table(), G().entered, true, 0) : G().entered);
}

StringT om_DlgGetSecondResultText(IntT translate) {
    return qv::NewHeapString(translate ? qv::LangTranslate(Table(), G().entered2, true, 0) : G().entered2);
}

IntT om_DlgRunListEditor(IntT dlgNum, ConStringT title, const F_StringsT *list, IntT selected, IntT width,
                         IntT disableOk, ConStringT table) {
    om_DlgInitGeneric();
    TakeTableName(table, false);
    LoadCurrentTable();
    F_ObjHandleT dlg = OpenOrWarn(width == 1 ? "om_DialogStringsListEditor" : "om_DialogStringsListEditor_Wide");
    if (!dlg) return 0;
    G().editor = dlg;
    G().width = width;
    if (title && !IsStar(title)) {
        std::string t = qv::View(table).empty() ? Str(title) : qv::LangTranslate(Str(table), Str(title), false, 0);
        F_ApiSetString(0, dlg, FP_Title, t.c_str());
    }
    std::vector<std::string> entries = qv::ReadStrings(list);
    G().working = entries;
    // The wide editor has the same items (resources/required.txt holds both to them).
    qv::DlgSetLabels(dlg, ListEditorItem::List, entries);
    IntT select = selected >= 0 ? selected : entries.empty() ? -1 : 0;
    if (select >= 0) om_DlgSetState(dlg, ListEditorItem::List, select);
    SetEditorButtons(dlg, entries.size(), true);
    if (!Table().empty()) {
        const std::pair<IntT, const char *> labels[] = {{ListEditorItem::Add, "Add..."},
                                                        {ListEditorItem::Edit, "Edit..."},
                                                        {ListEditorItem::Delete, "Delete"},
                                                        {ListEditorItem::Ok, "OK"},
                                                        {ListEditorItem::Cancel, "Cancel"}};
        for (const auto &[item, label] : labels) om_DlgSetLabel(dlg, item, label, Table().c_str());
    }
    if (disableOk) om_DlgDisable(dlg, ListEditorItem::Ok);
    else om_DlgEnable(dlg, ListEditorItem::Ok);
    G().dialogResult = 0;
    G().editorOk = 0;
    F_ApiModalDialog(dlgNum, dlg);
    om_DlgCloseResource(dlg);
    G().editor = 0;
    return G().dialogResult;
}

void om_DlgEditListWithEditor(F_ObjHandleT dlg, IntT item, ConStringT title, ConStringT table) {
    if (!dlg || F_OBJ_KIND(F_ApiDialogItemId(dlg, item)) != FO_DlgScrollBox) return;
    F_StringsT labels = qv::NewStrings(qv::DlgLabels(dlg, item));
    IntT index = om_DlgGetState(dlg, item);
    om_DlgRunListEditor(kDlgListEditor, title, &labels, index, 1, 0, table);
    F_ApiDeallocateStrings(&labels);
    if (G().editorOk == 1) {
        qv::DlgSetLabels(dlg, item, G().result);
        G().result.clear();
    }
}

IntT om_DlgEditListEntry(F_ObjHandleT dlg, IntT item, IntT index, ConStringT text, IntT allowDuplicates,
                         IntT caseFlag, IntT warn, ConStringT table) {
    om_DlgInitGeneric();
    TakeTableName(table, false);
    LoadCurrentTable();
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    if (index < 0) index = qv::View(text).empty() ? om_DlgGetState(dlg, item) : FindIn(labels, Str(text), caseFlag);
    if (index < 0 || index >= static_cast<IntT>(labels.size())) return -1;
    if (RunEntryDDown("Edit Item", Tr("Edit item..."), labels[index]) != 1) return -1;
    const std::string &entered = G().entered;
    if (!entered.empty()) {
        int at = FindIn(labels, entered, 1);
        if (at < 0 || allowDuplicates) {
            labels[index] = entered;
            qv::DlgSetLabels(dlg, item, labels);
        } else if (at != index && warn) {
            WarnExists();
        }
    }
    return index;
}

F_StringsT om_DlgGetEditorList(IntT translate) {
    std::vector<std::string> out = G().working;
    if (translate)
        for (auto &s : out) s = qv::LangTranslate(Table(), s, true, 0);
    G().result.clear();
    return qv::NewStrings(out);
}

void om_DlgListEditorAddItem(ConStringT prompt, IntT allowDuplicates, IntT caseFlag) {
    F_ObjHandleT dlg = G().editor;
    std::string first = G().ddownList.empty() ? "" : G().ddownList[0];
    if (RunEntryDDown("New Item", Str(prompt), first) != 1 || G().entered.empty()) return;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListEditorItem::List);
    if (FindIn(labels, G().entered, caseFlag) >= 0 && !allowDuplicates) {
        WarnExists();
    } else {
        labels.push_back(G().entered);
        qv::DlgSetLabels(dlg, ListEditorItem::List, labels);
        om_DlgSetState(dlg, ListEditorItem::List, static_cast<IntT>(labels.size()) - 1);
    }
    SetEditorButtons(dlg, labels.size(), true);
}

void om_DlgListEditorEditItem(ConStringT prompt, IntT allowDuplicates, IntT caseFlag) {
    F_ObjHandleT dlg = G().editor;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListEditorItem::List);
    IntT index = om_DlgGetState(dlg, ListEditorItem::List);
    if (index < 0 || index >= static_cast<IntT>(labels.size()) || labels[index].empty()) return;
    std::string old = labels[index];
    if (RunEntryDDown("Edit Item", Str(prompt), old) != 1) return;
    const std::string &entered = G().entered;
    if (entered.empty() || entered == old) return;
    if (FindIn(labels, entered, caseFlag) >= 0 && !allowDuplicates) {
        WarnExists();
        return;
    }
    labels[index] = entered;
    qv::DlgSetLabels(dlg, ListEditorItem::List, labels);
    om_DlgSetState(dlg, ListEditorItem::List, index);
}

IntT om_DlgListEditorOperate(IntT operation) {
    F_ObjHandleT dlg = G().editor;
    std::vector<std::string> labels = qv::DlgLabels(dlg, ListEditorItem::List);
    IntT sel = om_DlgGetState(dlg, ListEditorItem::List);
    IntT n = static_cast<IntT>(labels.size());
    if (sel < 0 || sel >= n || (n < 2 && operation != 5) || (operation == 1 && sel == 0) ||
        (operation == 2 && sel == n - 1))
        return -1;
    IntT select = sel;
    if (operation == 1) {
        std::swap(labels[sel], labels[sel - 1]);
        select = sel - 1;
    } else if (operation == 2) {
        std::swap(labels[sel], labels[sel + 1]);
        select = sel + 1;
    } else {
        labels.erase(labels.begin() + sel);
        if (select >= static_cast<IntT>(labels.size())) select = static_cast<IntT>(labels.size()) - 1;
    }
    qv::DlgSetLabels(dlg, ListEditorItem::List, labels);
    om_DlgSetState(dlg, ListEditorItem::List, select);
    SetEditorButtons(dlg, labels.size(), select >= 0);
    return select;
}

void om_DlgListEditorOk(void) {
    G().result = qv::DlgLabels(G().editor, ListEditorItem::List);
    G().working = G().result;
    G().editor = 0;
    G().editorOk = 1;
    G().dialogResult = 1;
}

void om_DlgListEditorCancel(void) {
    G().editor = 0;
    G().working.clear();
    G().editorOk = 0;
    G().dialogResult = 0;
}

void om_DlgDDownOk(void) { G().dialogResult = 1; }
void om_DlgDDownCancel(void) { G().dialogResult = 0; }
void om_DlgMsgFirstButtonPressed(void) {
    G().dialogResult = 1;
    G().secondButton = 0;
}
void om_DlgMsgSecondButtonPressed(void) {
    G().dialogResult = 0;
    G().secondButton = 1;
}
void om_DlgCheckBoxDDownOk(void) { G().dialogResult = 1; }
void om_DlgCheckBoxDDownCancel(void) { G().dialogResult = 0; }
void om_DlgTwoDDownsOk(void) { G().dialogResult = 1; }
void om_DlgTwoDDownsCancel(void) { G().dialogResult = 0; }

IntT om_DlgOpenStatus(IntT dlgNum, ConStringT title, IntT keep, ConStringT table) {
    om_DlgInitGeneric();
    TakeTableName(table, false);
    if (!keep) om_DlgCloseStatus();
    if (!G().statusBox) {
        F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "om_Dialog_Status");
        if (!dlg) return F_ApiAlert(kDialogBoxError, FF_ALERT_CONTINUE_WARN);
        G().statusBox = dlg;
        G().lineIdsOf = 0;
    }
    F_ApiSetInt(0, G().statusBox, FP_DlgStatusReset, 0);
    for (bool &valid : G().shownValid) valid = false;
    G().shownKeeps = -1;
    SetTitle(G().statusBox, title, !Table().empty());
    F_ApiModelessDialog(dlgNum, G().statusBox);
    return 0;
}

void om_DlgSetStatusLines(ConStringT line1, ConStringT line2, ConStringT line3, ConStringT line4) {
    GenericDialogState &g = G();
    if (!g.statusBox) return;
    // Only the lines the box does not show yet are written: a long run rewrites one line often.
    // A line the box shows is the line's status too, so an unchanged line is left at once.
    const std::string &table = Table();
    if (g.shownTable != table) {
        for (bool &valid : g.shownValid) valid = false;
        g.shownTable = table;
        g.shownKeeps = -1;
    }
    ConStringT lines[4] = {line1, line2, line3, line4};
    for (int i = 0; i < 4; ++i) {
        if (!IsStar(lines[i])) {
            std::string_view l = qv::View(lines[i]);
            if (g.shownValid[i] && l.size() <= 60 && l == g.shown[i]) continue;
            if (l.size() > 60) g.status[i].assign("...").append(l.substr(l.size() - 60));
            else g.status[i].assign(l);
        } else if (g.shownValid[i]) {
            continue;
        }
        if (g.shownValid[i] && g.shown[i] == g.status[i]) continue;
        if (g.shownKeeps < 0) g.shownKeeps = table.empty() || qv::LangKeepsText(table) ? 1 : 0;
        if (g.shownKeeps) {
            // Straight to the item (its id asked once per box), as om_DlgSetLabel writes it.
            if (g.lineIdsOf != g.statusBox) {
                for (int n = 0; n < 4; ++n) g.lineIds[n] = F_ApiDialogItemId(g.statusBox, n + 1);
                g.lineIdsOf = g.statusBox;
            }
            F_ApiSetString(g.statusBox, g.lineIds[i], FP_Label, g.status[i].c_str());
        } else {
            om_DlgSetLabel(g.statusBox, i + 1, g.status[i].c_str(), table.c_str());
        }
        g.shown[i] = g.status[i];
        g.shownValid[i] = true;
    }
}

void om_DlgCloseStatus(void) {
    if (G().statusBox) F_ApiClose(G().statusBox, 0);
    G().statusBox = 0;
    G().lineIdsOf = 0;
}

namespace {

// The check box and its second line of the check-box dialogs.
void FillCheckBox(F_ObjHandleT dlg, IntT box, IntT line, IntT state, ConStringT label1, ConStringT label2,
                  IntT remembered) {
    if (qv::View(label1).empty() && qv::View(label2).empty()) {
        for (IntT item : {box, line}) {
            om_DlgHide(dlg, item);
            om_DlgSetLabel(dlg, item, " ", "");
            om_DlgDisable(dlg, item);
        }
        om_DlgSetState(dlg, box, 0);
        return;
    }
    for (IntT item : {box, line}) {
        om_DlgShow(dlg, item);
        om_DlgEnable(dlg, item);
    }
    om_DlgSetState(dlg, box, state == 666 ? remembered : state);
    if (!IsStar(label1)) om_DlgSetLabel(dlg, box, label1, Table().c_str());
    if (!IsStar(label2)) om_DlgSetLabel(dlg, line, label2, Table().c_str());
}

}  // namespace

IntT om_DlgRunDDownWithCheckBox(IntT open, ConStringT title, ConStringT prompt, ConStringT text, const F_StringsT *list,
                                IntT checkState, ConStringT checkLabel1, ConStringT checkLabel2, ConStringT table,
                                IntT translateList) {
    om_DlgInitGeneric();
    TakeTableName(table, true);
    std::string listTable = translateList == 1 ? Table() : "";
    if (open == 1) {
        G().check1 = OpenOrWarn("om_Dialog_1DDown_wChkBox");
        if (!G().check1) return 0;
    }
    F_ObjHandleT dlg = G().check1;
    if (!dlg) return 0;
    SetTitle(dlg, title, !Table().empty());
    FillDropDown(dlg, CheckDDownItem::Prompt, prompt, CheckDDownItem::Text, text, CheckDDownItem::Popup, list,
                 listTable, false);
    FillCheckBox(dlg, CheckDDownItem::Check, CheckDDownItem::CheckLabel, checkState, checkLabel1, checkLabel2,
                 G().checkState);
    if (checkState != 666) G().checkState = checkState;
    om_DlgSetLabel(dlg, CheckDDownItem::Ok, "OK", Table().c_str());
    om_DlgSetLabel(dlg, CheckDDownItem::Cancel, "Cancel", Table().c_str());
    G().dialogResult = 0;
    F_ApiModalDialog(kDlgCheckDropDown, dlg);
    G().entered = qv::DlgText(dlg, CheckDDownItem::Text);
    G().checkState = om_DlgGetState(dlg, CheckDDownItem::Check);
    IntT result = G().dialogResult;
    G().check1 = om_DlgCloseResource(dlg);
    return result;
}

IntT om_DlgRunTwoDDownsWithCheckBox(IntT open, ConStringT title, ConStringT prompt1, ConStringT text1,
                                    const F_StringsT *list1, ConStringT prompt2, ConStringT text2,
                                    const F_StringsT *list2, IntT checkState, ConStringT checkLabel1,
                                    ConStringT checkLabel2, ConStringT table, IntT translateList) {
    om_DlgInitGeneric();
    TakeTableName(table, true);
    std::string listTable = translateList == 1 ? Table() : "";
    if (open == 1) {
        G().check2 = OpenOrWarn("om_Dialog_2DDown_wChkBox");
        if (!G().check2) return 0;
    }
    F_ObjHandleT dlg = G().check2;
    if (!dlg) return 0;
    SetTitle(dlg, title, !Table().empty());
    FillDropDown(dlg, TwoDDownItem::Prompt1, prompt1, TwoDDownItem::Text1, text1, TwoDDownItem::Popup1, list1,
                 listTable, false);
    FillDropDown(dlg, TwoDDownItem::Prompt2, prompt2, TwoDDownItem::Text2, text2, TwoDDownItem::Popup2, list2,
                 listTable, false);
    FillCheckBox(dlg, TwoDDownItem::Check, TwoDDownItem::CheckLabel, checkState, checkLabel1, checkLabel2,
                 om_DlgGetState(dlg, TwoDDownItem::Check));
    if (open != 1) return 0;
    G().dialogResult = 0;
    F_ApiModalDialog(kDlgTwoDropDowns, dlg);
    G().entered = qv::DlgText(dlg, TwoDDownItem::Text1);
    G().entered2 = qv::DlgText(dlg, TwoDDownItem::Text2);
    G().checkState = om_DlgGetState(dlg, TwoDDownItem::Check);
    IntT result = G().dialogResult;
    G().check2 = om_DlgCloseResource(dlg);
    return result;
}

IntT om_DlgLastCheckBoxState(void) { return G().checkState; }

IntT om_DlgRunMessageLines(ConStringT title, ConStringT message, ConStringT checkText, IntT buttonKind,
                           IntT *checkState, ConStringT table) {
    om_DlgInitGeneric();
    F_StringsT wrapped = om_StrWrapLines(message, 80);
    std::vector<std::string> lines = qv::ReadStrings(&wrapped);
    F_ApiDeallocateStrings(&wrapped);
    IntT n = lines.size() <= 5 ? 5 : lines.size() <= 12 ? 12 : lines.size() <= 20 ? 20 : 30;
    std::string name = "om_Dialog_Msg_" + std::to_string(n) + "_Lines_wChkBox";
    G().firstButton = n + 3;
    G().secondButtonItem = n + 4;
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, name.c_str());
    if (!dlg) return F_ApiAlert(kDialogBoxError, FF_ALERT_CONTINUE_WARN) == 0 ? 0 : 0;
    std::string t = Str(table);
    for (IntT i = 1; i <= n; ++i) {
        std::string line = i <= static_cast<IntT>(lines.size()) ? lines[i - 1] : " ";
        if (i == 30 && lines.size() > 30)
            line = "<-- WARNING! This message was too long and has been partially truncated! -->";
        om_DlgSetLabel(dlg, i, line.c_str(), t.c_str());
    }
    if (qv::View(checkText).empty()) {
        om_DlgHide(dlg, n + 1);
        om_DlgHide(dlg, n + 2);
    } else {
        om_DlgShow(dlg, n + 1);
        om_DlgShow(dlg, n + 2);
        F_StringsT cw = om_StrWrapLines(checkText, 70);
        std::vector<std::string> c = qv::ReadStrings(&cw);
        F_ApiDeallocateStrings(&cw);
        std::string second = c.size() > 1 ? c[1] : " ";
        if (c.size() > 2) second = second.substr(0, second.size() > 24 ? second.size() - 24 : 0) + " <-- WARNING, TRUNCATED!";
        om_DlgSetLabel(dlg, n + 1, c.empty() ? " " : c[0].c_str(), t.c_str());
        om_DlgSetLabel(dlg, n + 2, second.c_str(), t.c_str());
    }
    bool okCancel = buttonKind == 0 || buttonKind == 1 || buttonKind == 3;
    om_DlgSetLabel(dlg, n + 3, okCancel ? "OK" : "Yes", t.c_str());
    om_DlgSetLabel(dlg, n + 4, okCancel ? "Cancel" : "No", t.c_str());
    if (buttonKind == 3) om_DlgDisable(dlg, n + 4);
    std::string shownTitle = qv::View(title).empty() ? "Orle Meadow Plugin Alert" : Str(title);
    F_ApiSetString(0, dlg, FP_Title, shownTitle.c_str());
    G().dialogResult = 0;
    G().secondButton = 0;
    F_ApiModalDialog(kDlgMessage, dlg);
    if (checkState) *checkState = om_DlgGetState(dlg, n + 1) == 1 ? 1 : 0;
    om_DlgCloseResource(dlg);
    return G().dialogResult;
}

IntT om_DlgMsgFirstButtonItem(void) { return G().firstButton; }
IntT om_DlgMsgSecondButtonItem(void) { return G().secondButtonItem; }

IntT om_DlgGenericEvent(IntT dlgNum, IntT itemNum) {
    if (dlgNum == kDlgDropDown) {
        if (itemNum == DDownItem::Ok) om_DlgDDownOk();
        if (itemNum == DDownItem::Cancel) om_DlgDDownCancel();
        return 0;
    }
    if (dlgNum == kDlgListEditor) {
        bool dbl = G().editor && F_ApiGetInt(0, G().editor, FP_DlgDoubleClick) != 0;
        switch (itemNum) {
        case ListEditorItem::Add: om_DlgListEditorAddItem("New item?", 0, 1); return 1;
        case ListEditorItem::Edit: om_DlgListEditorEditItem("Edit item:", 0, 1); return 1;
        case ListEditorItem::List:
            if (dbl) om_DlgListEditorEditItem("Edit item:", 0, 1);
            return 1;
        case ListEditorItem::Delete: om_DlgListEditorOperate(5); return 1;
        case ListEditorItem::Up: om_DlgListEditorOperate(1); return 1;
        case ListEditorItem::Down: om_DlgListEditorOperate(2); return 1;
        case ListEditorItem::Ok: om_DlgListEditorOk(); return 0;
        case ListEditorItem::Cancel: om_DlgListEditorCancel(); return 0;
        default: return 1;
        }
    }
    if (dlgNum == kDlgMessage) {
        if (itemNum == G().firstButton) om_DlgMsgFirstButtonPressed();
        if (itemNum == G().secondButtonItem) om_DlgMsgSecondButtonPressed();
        return 0;
    }
    if (dlgNum == kDlgCheckDropDown || dlgNum == kDlgTwoDropDowns) {
        bool one = dlgNum == kDlgCheckDropDown;
        IntT ok = one ? IntT{CheckDDownItem::Ok} : IntT{TwoDDownItem::Ok};
        IntT cancel = one ? IntT{CheckDDownItem::Cancel} : IntT{TwoDDownItem::Cancel};
        if (itemNum == ok) G().dialogResult = 1;
        if (itemNum == cancel) G().dialogResult = 0;
        return itemNum == ok || itemNum == cancel || itemNum < 0 ? 0 : 1;
    }
    return 0;
}
