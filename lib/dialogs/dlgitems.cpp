// Dialog item accessors (see dlgitems.h). Each applies exactly the guard its operation names:
// a dialog of 0, a missing item, or an item of the wrong kind where a kind is tested.
#include "lib/dialogs/dlgitems.h"

#include <algorithm>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"

namespace {

F_ObjHandleT ItemId(F_ObjHandleT dlg, IntT item) { return dlg ? F_ApiDialogItemId(dlg, item) : 0; }
bool IsKind(F_ObjHandleT id, IntT kind) { return id && F_OBJ_KIND(id) == kind; }

std::string HostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

std::string Back(const std::string &table, const std::string &text) {
    return table.empty() ? text : qv::LangTranslate(table, text, true, 0);
}
std::string Forth(const std::string &table, const std::string &text) {
    return table.empty() ? text : qv::LangTranslate(table, text, false, 0);
}

std::string Str(ConStringT s) { return std::string(qv::View(s)); }

std::string SelectedLabel(F_ObjHandleT dlg, IntT item, const std::string &table) {
    F_ObjHandleT id = ItemId(dlg, item);
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    IntT state = F_ApiGetInt(dlg, id, FP_DlgState);
    if (state < 0 || state >= static_cast<IntT>(labels.size())) return "";
    return Back(table, labels[state]);
}

}  // namespace

namespace qv {
std::string &DlgTableName() {
    static std::string table;
    return table;
}

std::vector<std::string> DlgLabels(F_ObjHandleT dlg, IntT item) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (!id) return {};
    F_StringsT labels = F_ApiGetStrings(dlg, id, FP_DlgLabels);
    std::vector<std::string> out = ReadStrings(&labels);
    F_ApiDeallocateStrings(&labels);
    return out;
}

void DlgSetLabels(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &labels) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (!id) return;
    F_StringsT list = NewStrings(labels);
    F_ApiSetStrings(dlg, id, FP_DlgLabels, &list);
    F_ApiDeallocateStrings(&list);
}

std::string DlgText(F_ObjHandleT dlg, IntT item) {
    F_ObjHandleT id = ItemId(dlg, item);
    return id ? HostString(dlg, id, FP_DlgText) : "";
}

}  // namespace qv

IntT om_DlgGetState(F_ObjHandleT dlg, IntT item) {
    if (!dlg) return -1;
    return F_ApiGetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgState);
}

IntT om_DlgGetStateIfItem(F_ObjHandleT dlg, IntT item) {
    F_ObjHandleT id = ItemId(dlg, item);
    return id ? F_ApiGetInt(dlg, id, FP_DlgState) : -1;
}

IntT om_DlgGetPopupIndex(F_ObjHandleT dlg, IntT item) { return dlg ? om_DlgGetState(dlg, item) - 1 : -1; }

IntT om_DlgIsChecked(F_ObjHandleT dlg, IntT item) { return dlg && om_DlgGetState(dlg, item) == 1 ? 1 : 0; }

IntT om_DlgIsOn(F_ObjHandleT dlg, IntT item) { return om_DlgIsChecked(dlg, item); }

IntT om_DlgIsEnabled(F_ObjHandleT dlg, IntT item) {
    return F_ApiGetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgSensitivity);
}

IntT om_DlgGetPromptCheckBox(F_ObjHandleT dlg, IntT item) {
    if (!dlg || item < 0) return 0;
    IntT state = om_DlgGetState(dlg, item);
    return state == 0 ? 3 : state == 2 ? 2 : 1;
}

StringT om_DlgGetLabel(F_ObjHandleT dlg, IntT item, ConStringT table) {
    if (!dlg) return qv::NewHeapString("");
    std::string t = Str(table);
    if (qv::FoldCase(t) == "*") t = qv::DlgTableName();
    std::string label = HostString(dlg, F_ApiDialogItemId(dlg, item), FP_Label);
    return qv::NewHeapString(!t.empty() && !label.empty() ? Back(t, label) : label);
}

StringT om_DlgGetText(F_ObjHandleT dlg, IntT item, ConStringT table) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (!IsKind(id, FO_DlgTextBox)) return qv::NewHeapString("");
    StringT text = F_ApiGetString(dlg, id, FP_DlgText);
    if (text && !qv::View(table).empty()) om_LangTranslateInPlace(table, &text, 1, 0);
    return text;
}

F_StringsT om_DlgGetListLabels(F_ObjHandleT dlg, IntT item, ConStringT table) {
    if (!IsKind(ItemId(dlg, item), FO_DlgScrollBox)) return qv::NewStrings({});
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    for (auto &l : labels) l = Back(Str(table), l);
    return qv::NewStrings(labels);
}

F_StringsT om_DlgGetListLabelsAfterFirst(F_ObjHandleT dlg, IntT item, ConStringT table) {
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    if (!labels.empty()) labels.erase(labels.begin());
    if (!qv::View(table).empty())
        for (auto &l : labels) {
            std::string back = Back(Str(table), l);
            if (!om_StrIsEmpty(back.c_str())) l = back;
        }
    return qv::NewStrings(labels);
}

StringT om_DlgGetSelectedLabel(F_ObjHandleT dlg, IntT item, ConStringT table) {
    if (!dlg || F_ApiGetInt(0, dlg, FP_DlgIsOpen) == 0 || !IsKind(ItemId(dlg, item), FO_DlgScrollBox))
        return qv::NewHeapString("");
    return qv::NewHeapString(SelectedLabel(dlg, item, Str(table)));
}

StringT om_DlgGetSelectedLabelUnchecked(F_ObjHandleT dlg, IntT item, ConStringT table) {
    return qv::NewHeapString(SelectedLabel(dlg, item, Str(table)));
}

IntT om_DlgOpenState(F_ObjHandleT *dlg, IntT item, IntT forget) {
    if (!dlg || !*dlg) return 1;
    if (item != 0) {
        std::string label = HostString(*dlg, F_ApiDialogItemId(*dlg, item), FP_Label);
        if (label.empty()) {
            if (forget) *dlg = 0;
            return 1;
        }
    }
    return F_ApiGetInt(0, *dlg, FP_DlgIsOpen) == 0 ? 2 : 3;
}

void om_DlgSetState(F_ObjHandleT dlg, IntT item, IntT state) {
    if (dlg) F_ApiSetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgState, state);
}

void om_DlgSetStateIfValid(F_ObjHandleT dlg, IntT item, IntT state) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (id && state >= -1) F_ApiSetInt(dlg, id, FP_DlgState, state);
}

void om_DlgSetPopupIndex(F_ObjHandleT dlg, IntT item, IntT index) { om_DlgSetState(dlg, item, index + 1); }

void om_DlgSetChecked(F_ObjHandleT dlg, IntT item, IntT value) {
    F_ApiSetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgState, value == 1 ? 1 : 0);
}

void om_DlgTurnOn(F_ObjHandleT dlg, IntT item) { om_DlgSetState(dlg, item, 1); }

void om_DlgSetPromptCheckBox(F_ObjHandleT dlg, IntT item, IntT setting) {
    if (!dlg || item < 0) return;
    om_DlgSetState(dlg, item, setting == 2 || setting == 4 ? 2 : setting == 3 ? 0 : 1);
}

void om_DlgEnable(F_ObjHandleT dlg, IntT item) {
    if (!dlg || item < 0) return;
    F_ObjHandleT id = F_ApiDialogItemId(dlg, item);
    if (F_ApiGetInt(dlg, id, FP_DlgSensitivity) == 0) F_ApiSetInt(dlg, id, FP_DlgSensitivity, 1);
}

void om_DlgDisable(F_ObjHandleT dlg, IntT item) {
    if (!dlg || item < 0) return;
    F_ObjHandleT id = F_ApiDialogItemId(dlg, item);
    if (F_ApiGetInt(dlg, id, FP_DlgSensitivity) != 0) F_ApiSetInt(dlg, id, FP_DlgSensitivity, 0);
}

void om_DlgShow(F_ObjHandleT dlg, IntT item) {
    if (dlg && item >= 0) F_ApiSetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgVisibility, 1);
}

void om_DlgHide(F_ObjHandleT dlg, IntT item) {
    if (dlg && item >= 0) F_ApiSetInt(dlg, F_ApiDialogItemId(dlg, item), FP_DlgVisibility, 0);
}

void om_DlgSetLabel(F_ObjHandleT dlg, IntT item, ConStringT text, ConStringT table) {
    if (!dlg) return;
    F_ObjHandleT id = F_ApiDialogItemId(dlg, item);
    if (qv::LangKeepsText(qv::View(table)) || qv::View(table).empty())
        F_ApiSetString(dlg, id, FP_Label, text ? text : "");
    else
        F_ApiSetString(dlg, id, FP_Label, Forth(Str(table), Str(text)).c_str());
}

void om_DlgSetText(F_ObjHandleT dlg, IntT item, ConStringT text, ConStringT table) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (id) F_ApiSetString(dlg, id, FP_DlgText, Forth(Str(table), Str(text)).c_str());
}

void om_DlgSetListLabels(F_ObjHandleT dlg, IntT item, const F_StringsT *list, ConStringT) {
    if (IsKind(ItemId(dlg, item), FO_DlgScrollBox)) qv::DlgSetLabels(dlg, item, qv::ReadStrings(list));
}

void om_DlgSetLabelsUnchecked(F_ObjHandleT dlg, IntT item, const F_StringsT *list) {
    if (dlg) qv::DlgSetLabels(dlg, item, qv::ReadStrings(list));
}

void om_DlgSetListLabelsWithLead(F_ObjHandleT dlg, IntT item, F_StringsT *list, ConStringT lead, ConStringT table) {
    if (!dlg) return;
    std::vector<std::string> entries;
    for (const auto &e : qv::ReadStrings(list))
        if (!om_StrIsEmpty(e.c_str())) entries.push_back(e);
    if (list) qv::StoreStrings(list, entries);  // the caller's list stays without its empty entries
    std::vector<std::string> labels;
    if (!qv::View(lead).empty()) labels.push_back(Str(lead));
    for (const auto &e : entries) {
        if (qv::View(table).empty()) {
            labels.push_back(e);
        } else {
            std::string t = Forth(Str(table), e);
            if (!om_StrIsEmpty(t.c_str())) labels.push_back(t);
        }
    }
    qv::DlgSetLabels(dlg, item, labels);
}

void om_DlgClearList(F_ObjHandleT dlg, IntT item) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (!IsKind(id, FO_DlgScrollBox)) return;
    qv::DlgSetLabels(dlg, item, {});
    F_ApiSetInt(dlg, id, FP_DlgState, -1);
}

void om_DlgRefreshLabels(F_ObjHandleT dlg) {
    if (F_ApiGetInt(0, 0, FP_VersionMajor) < 9) return;
    IntT highest = F_ApiGetInt(0, dlg, FP_DlgHighestItem);
    for (IntT n = 0; n <= highest; ++n) {
        F_ObjHandleT id = ItemId(dlg, n);
        if (!IsKind(id, FO_DlgLabel)) continue;
        std::string label = HostString(dlg, id, FP_Label);
        F_ApiSetString(dlg, id, FP_Label, label.c_str());
    }
}

F_ObjHandleT om_DlgCloseResource(F_ObjHandleT dlg) {
    if (F_OBJ_KIND(dlg) == FO_DialogResource && dlg) F_ApiClose(dlg, 0);
    return 0;
}

IntT om_DlgListAddItem(F_ObjHandleT dlg, IntT item, ConStringT text, IntT position, IntT allowDuplicates, IntT warn,
                       ConStringT table) {
    F_ObjHandleT id = ItemId(dlg, item);
    if (!IsKind(id, FO_DlgScrollBox)) return -1;
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    std::string t = Str(text);
    bool present = std::find(labels.begin(), labels.end(), t) != labels.end();
    if (!present || allowDuplicates) {
        IntT index = 0;
        if (position == 1) {
            labels.insert(labels.begin(), t);
        } else {
            labels.push_back(t);
            index = static_cast<IntT>(labels.size()) - 1;
        }
        qv::DlgSetLabels(dlg, item, labels);
        F_ApiSetInt(dlg, id, FP_DlgState, index);
        return index;
    }
    if (warn) {
        std::string msg = "This item already exists.";
        if (!qv::View(table).empty()) msg = Forth(qv::DlgTableName(), msg);
        F_ApiAlert(msg.c_str(), FF_ALERT_CONTINUE_WARN);
    }
    return -1;
}

IntT om_DlgListDeleteEntry(F_ObjHandleT dlg, IntT item, IntT index, ConStringT text) {
    F_ObjHandleT id = ItemId(dlg, item);
    std::vector<std::string> labels = qv::DlgLabels(dlg, item);
    bool usedSelection = false;
    if (index == -1) {
        if (qv::View(text).empty()) {
            index = F_ApiGetInt(dlg, id, FP_DlgState);
            usedSelection = true;
        } else {
            auto it = std::find(labels.begin(), labels.end(), Str(text));
            index = it == labels.end() ? -1 : static_cast<IntT>(it - labels.begin());
        }
    }
    if (index < 0 || index >= static_cast<IntT>(labels.size())) return -1;
    labels.erase(labels.begin() + index);
    qv::DlgSetLabels(dlg, item, labels);
    if (usedSelection) {
        IntT select = index < static_cast<IntT>(labels.size()) ? index : static_cast<IntT>(labels.size()) - 1;
        F_ApiSetInt(dlg, id, FP_DlgState, select);
    }
    return index;
}

IntT om_DlgListFindAfterFirst(F_ObjHandleT dlg, IntT item, ConStringT text, IntT caseFlag, ConStringT table) {
    if (!ItemId(dlg, item)) return -1;
    F_StringsT after = om_DlgGetListLabelsAfterFirst(dlg, item, table);
    std::vector<std::string> labels = qv::ReadStrings(&after);
    F_ApiDeallocateStrings(&after);
    std::string t = Str(text);
    for (size_t i = 0; i < labels.size(); ++i)
        if (caseFlag == 1 ? labels[i] == t : qv::FoldCase(labels[i]) == qv::FoldCase(t)) return static_cast<IntT>(i);
    return -1;
}

void om_DlgMoveSelectedEntry(F_ObjHandleT dlg, IntT source, IntT target, IntT sort) {
    F_ObjHandleT sid = ItemId(dlg, source);
    IntT index = F_ApiGetInt(dlg, sid, FP_DlgState);
    std::vector<std::string> from = qv::DlgLabels(dlg, source), to = qv::DlgLabels(dlg, target);
    if (index < 0 || index >= static_cast<IntT>(from.size()) || from[index].empty()) return;
    std::string label = from[index];
    to.push_back(label);
    from.erase(std::remove(from.begin(), from.end(), label), from.end());
    if (sort == 1) {
        auto ci = [](const std::string &a, const std::string &b) { return qv::FoldCase(a) < qv::FoldCase(b); };
        std::stable_sort(from.begin(), from.end(), ci);
        std::stable_sort(to.begin(), to.end(), ci);
    }
    qv::DlgSetLabels(dlg, source, from);
    qv::DlgSetLabels(dlg, target, to);
    if (static_cast<IntT>(from.size()) == index) F_ApiSetInt(dlg, sid, FP_DlgState, index - 1);
}

void om_DlgUpdateMoveButtons(F_ObjHandleT dlg, IntT list, IntT up, IntT down) {
    std::vector<std::string> labels = qv::DlgLabels(dlg, list);
    IntT sel = om_DlgGetStateIfItem(dlg, list);
    IntT n = static_cast<IntT>(labels.size());
    if (n < 2 || sel < 0) {
        om_DlgDisable(dlg, up);
        om_DlgDisable(dlg, down);
        return;
    }
    if (sel > 0) om_DlgEnable(dlg, up);
    else om_DlgDisable(dlg, up);
    if (sel < n - 1) om_DlgEnable(dlg, down);
    else om_DlgDisable(dlg, down);
}

void om_DlgTextDefaultFromList(F_ObjHandleT dlg, IntT textItem, IntT listItem) {
    if (!dlg) return;
    std::string text = qv::DlgText(dlg, textItem);
    F_StringsT after = om_DlgGetListLabelsAfterFirst(dlg, listItem, "");
    std::vector<std::string> labels = qv::ReadStrings(&after);
    F_ApiDeallocateStrings(&after);
    if (labels.empty()) return;
    if (text.empty() || std::find(labels.begin(), labels.end(), text) == labels.end())
        om_DlgSetText(dlg, textItem, labels[0].c_str(), "");
}
