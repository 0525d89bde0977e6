// The set-up dialog framework: the controls most dialogs share (expression box, source controls, starting_context and
// qvrn_element groups), the XPath check on OK and the writing of the attributes.
#include <algorithm>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_ops.h"
#include "lib/host/element_query.h"
#include "lib/host/paths.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/history.h"
#include "resources/dialog_items.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

IntT XformLocalSourceFlag = 0;

namespace {

// A starting_context group is five items in a row from its group box: the group box, its label, the
// "Specified/Inherit" radio, the "QVRN element" radio and the note. The group is passed by its
// group box and walked from there.
constexpr IntT kContextInherit = 2, kContextElement = 3, kContextItems = 5;

constexpr bool ContextGroupInARow(IntT group, IntT label, IntT inherit, IntT element, IntT note) {
    return label == group + 1 && inherit == group + kContextInherit && element == group + kContextElement &&
           note == group + kContextItems - 1;
}
#define QV_CONTEXT_GROUP(Items)                                                                                \
    static_assert(ContextGroupInARow(Items::ContextGroup, Items::ContextLabel, Items::ContextInherit,           \
                                     Items::ContextElement, Items::ContextNote),                                \
                  #Items ": the starting_context group is not five items in a row")
QV_CONTEXT_GROUP(CopyOfItem);
QV_CONTEXT_GROUP(ValueOfItem);
QV_CONTEXT_GROUP(IfItem);
QV_CONTEXT_GROUP(TableRowItem);
QV_CONTEXT_GROUP(CreateXRefItem);
QV_CONTEXT_GROUP(SetAttributeItem);
QV_CONTEXT_GROUP(ParamItem);
#undef QV_CONTEXT_GROUP

// The set-up dialog's local-source switch.
[[maybe_unused]] const bool resetSetUpLocalSourceFlag =
    om_RunStateRegister("set-up local source flag", RunStateKind::Run, [] {
        XformLocalSourceFlag = 0;
    });
}  // namespace

namespace xsetup {

F_ObjHandleT Open(QvDialogNumber number, const char *resource, const char *failure) {
    FA_errno = 0;
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, resource);
    if (!dlg) {
        al_ok(failure ? failure : "A critical error occurred opening the dialog box. Contact Quorvane support");
        CancelFlag = 1;
        return 0;
    }
    DialogHandles[number] = dlg;
    return dlg;
}

void Run(QvDialogNumber number, F_ObjHandleT dlg) {
    F_ApiModalDialog(number, dlg);
    if (DialogHandles[number] == dlg) DialogHandles[number] = 0;
    F_ApiClose(dlg, FF_CLOSE_DIALOG);
}

F_ObjHandleT Dlg(QvDialogNumber number) { return DialogHandles[number]; }

void SetTitle(F_ObjHandleT dlg, ConStringT title) { F_ApiSetString(0, dlg, FP_Label, title ? title : ""); }

std::string Text(F_ObjHandleT dlg, IntT item) { return qv::DlgText(dlg, item); }

std::string Label(F_ObjHandleT dlg, IntT item) {
    StringT s = om_DlgGetLabel(dlg, item, "");
    std::string out(qv::View(s));
    om_StrFree(&s);
    return out;
}

void SetText(F_ObjHandleT dlg, IntT item, const std::string &text) { om_DlgSetText(dlg, item, text.c_str(), ""); }
bool On(F_ObjHandleT dlg, IntT item) { return om_DlgIsOn(dlg, item) != 0; }
void TurnOn(F_ObjHandleT dlg, IntT item) { om_DlgTurnOn(dlg, item); }
void Sensitive(F_ObjHandleT dlg, IntT item, bool on) {
    if (on)
        om_DlgEnable(dlg, item);
    else
        om_DlgDisable(dlg, item);
}

// The expression pop-up: the history alone, with no lead entry before it.
void FillHistory(F_ObjHandleT dlg, IntT item) {
    std::vector<std::string> labels;
    for (const std::string &e : XPathHistory)
        if (!e.empty()) labels.push_back(e);
    qv::DlgSetLabels(dlg, item, labels);
}

void FillDisposition(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT removeItem, IntT preserveItem) {
    TurnOn(dlg, om_XformElementDisposition(doc, elem) == XD_Keep ? preserveItem : removeItem);
}

void FillStartingContext(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT firstItem, IntT labelItem,
                         bool anyCase) {
    std::string source = Label(dlg, labelItem);
    bool current = anyCase ? om_StrEqualCI(source.c_str(), "Current") : source == "Current";
    if (!current) {
        om_XformDisableStartingContext(dlg, firstItem);
        return;
    }
    om_XformEnableStartingContext(dlg, firstItem);
    TurnOn(dlg, om_XformStartingContext(doc, elem) == XS_Element ? firstItem + kContextElement : firstItem + kContextInherit);
}

std::string Attr(F_ObjHandleT doc, F_ObjHandleT elem, const char *name) { return XformAttr(doc, elem, name); }

void Write(const char *name, const std::string &value) {
    const StylesheetElementSetUpT &s = StylesheetElementSetUp;
    if (s.document && s.element) om_AttrSetValue(s.document, s.element, name, value);
}

void WriteSource(F_ObjHandleT dlg, IntT labelItem, bool local) {
    std::string source = Label(dlg, labelItem);
    std::replace(source.begin(), source.end(), '\\', '/');
    Write("source_file", source);
    if (local) Write("ContextDocIsLocal", XformLocalSourceFlag == 1 ? "True" : "False");
}

void WriteDisposition(F_ObjHandleT dlg, IntT preserveItem) {
    Write("qvrn_element", On(dlg, preserveItem) ? "Preserve" : "Remove");
}

void WriteStartingContext(F_ObjHandleT dlg, IntT elementItem) {
    Write("starting_context", On(dlg, elementItem) ? "QVRN_element" : "Inherit");
}

void KeepOpen() { F_ApiReturnValue(FV_DlgNoDismiss); }

void Done() { StylesheetElementSetUp = StylesheetElementSetUpT{}; }

bool Compiles(const std::string &text) {
    om_XPathCheckNodeLimit();
    F_ApiSaveClipboard();
    IntT seq = om_XPathCompile(text, 1);
    F_ApiRestoreClipboard();
    return seq <= XPathLastSequenceNumber;
}

}  // namespace xsetup

using namespace xsetup;

namespace {

bool IsKeyword(const std::string &v) { return v == "Current" || v == "Inherit"; }
bool IsKeywordCI(const std::string &v) {
    return om_StrEqualCI(v.c_str(), "Current") || om_StrEqualCI(v.c_str(), "Inherit");
}

std::string Folder(F_ObjHandleT doc, const std::string &path) {
    StringT s = nullptr;
    om_PathDocFolder(doc, path.c_str(), &s);
    std::string out = om_StrIsEmpty(s) ? std::string() : std::string(qv::View(s));
    om_StrFree(&s);
    return out;
}

std::string FileName(F_ObjHandleT doc, const std::string &path) {
    StringT s = nullptr;
    om_PathDocFileName(doc, path.c_str(), &s);
    std::string out = om_StrIsEmpty(s) ? std::string() : std::string(qv::View(s));
    om_StrFree(&s);
    return out;
}

// The path relative to the stylesheet; false when it has none.
bool Relative(F_ObjHandleT stylesheet, const std::string &path, std::string *out) {
    StringT s = nullptr;
    IntT ok = om_PathMakeRelative("", stylesheet, path.c_str(), &s, 1);
    if (ok == 1 && !om_StrIsEmpty(s)) *out = qv::View(s);
    om_StrFree(&s);
    return ok == 1;
}

std::string Absolute(F_ObjHandleT stylesheet, const std::string &path) {
    StringT s = nullptr;
    om_PathMakeAbsolute(path.c_str(), stylesheet, "", &s, 1);
    std::string out = om_StrIsEmpty(s) ? std::string() : std::string(qv::View(s));
    om_StrFree(&s);
    return out;
}

// The first item of the starting_context group of the dialog (0 when it has none).
IntT StartingContextItem(F_ObjHandleT dlg) {
    struct Group {
        QvDialogNumber number;
        IntT first;
    };
    static const Group kGroups[] = {
        {kDlgCopyOf, CopyOfItem::ContextGroup},         {kDlgValueOf, ValueOfItem::ContextGroup},
        {kDlgIf, IfItem::ContextGroup},                 {kDlgTableRow, TableRowItem::ContextGroup},
        {kDlgCreateXRef, CreateXRefItem::ContextGroup}, {kDlgSetAttribute, SetAttributeItem::ContextGroup},
        {kDlgParam, ParamItem::ContextGroup},
    };
    for (const Group &g : kGroups)
        if (dlg && DialogHandles[g.number] == dlg) return g.first;
    return 0;
}

void UpdateStartingContext(F_ObjHandleT dlg, bool current) {
    IntT first = StartingContextItem(dlg);
    if (!first) return;
    if (current)
        om_XformEnableStartingContext(dlg, first);
    else
        om_XformDisableStartingContext(dlg, first);
}

}  // namespace

void om_XformFillSelectBox(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT textItem) {
    std::string select = Attr(doc, elem, "select");
    SetText(dlg, textItem, select.empty() ? "{XPath}" : select);
}

void om_XformFillSelectBoxAt(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT dlg, IntT textItem) {
    om_XformFillSelectBox(dlg, doc, elem, textItem);
}

void om_XformFillSourceControls(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT labelItem,
                                IntT popupItem) {
    std::string value = Attr(doc, elem, "source_file");
    if (value.empty()) value = om_XformElementType(doc, elem) == XT_Template ? "Current" : "Inherit";
    std::replace(value.begin(), value.end(), '/', '\\');
    if (!IsKeywordCI(value)) {
        if (value.find(':') != std::string::npos) {
            std::string rel;
            if (GeneralPreferences.xformPreferRelPathsInDialogs == 1 && Relative(doc, value, &rel) && !rel.empty())
                value = rel;
        } else if (GeneralPreferences.xformPreferRelPathsInDialogs == 0) {
            std::string abs = Absolute(doc, value);
            if (!abs.empty()) value = abs;
        }
    }
    om_DlgSetLabel(dlg, labelItem, value.c_str(), "");
    std::vector<std::string> choices{"Open files", "Inherit", "Current"};
    for (const std::string &p : om_DocGetOpenPaths(1, 1, 1, 0, 0, doc)) choices.push_back(p);
    qv::DlgSetLabels(dlg, popupItem, choices);
}

void om_XformFillElementTagPopup(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT type, IntT textItem,
                                 IntT popupItem) {
    std::vector<std::string> names;
    om_ElementDefNamesOfType(doc, type, names);
    std::vector<std::string> labels{"Placeholder"};
    labels.insert(labels.end(), names.begin(), names.end());
    qv::DlgSetLabels(dlg, popupItem, labels);
    std::string tag = Attr(doc, elem, "element_tag");
    if (tag.empty() && !names.empty()) tag = names.front();
    SetText(dlg, textItem, tag);
}

void om_XformFormatNames(F_ObjHandleT doc, IntT kind, std::vector<std::string> *names) {
    IntT first = kind == FO_TblFmt ? FP_FirstTblFmtInDoc : FP_FirstXRefFmtInDoc;
    IntT next = kind == FO_TblFmt ? FP_NextTblFmtInDoc : FP_NextXRefFmtInDoc;
    IntT name = kind == FO_TblFmt ? FP_TblFmtName : FP_Name;
    for (F_ObjHandleT f = F_ApiGetId(0, doc, first); f; f = F_ApiGetId(doc, f, next)) {
        StringT s = F_ApiGetString(doc, f, name);
        names->push_back(std::string(qv::View(s)));
        F_ApiDeallocateString(&s);
    }
}

void om_XformEnableStartingContext(F_ObjHandleT dlg, IntT firstItem) {
    for (IntT i = firstItem; i < firstItem + kContextItems; ++i) Sensitive(dlg, i, true);
}

void om_XformDisableStartingContext(F_ObjHandleT dlg, IntT firstItem) {
    for (IntT i = firstItem; i < firstItem + kContextItems; ++i) Sensitive(dlg, i, false);
    TurnOn(dlg, firstItem + kContextInherit);
}

void om_XformPickSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT pickItem, IntT textItem) {
    IntT index = om_DlgGetState(dlg, pickItem);
    std::vector<std::string> choices = qv::DlgLabels(dlg, pickItem);
    // The first entry only heads the list of open files: choosing it changes nothing.
    if (index <= 0 || index >= static_cast<IntT>(choices.size())) return;
    std::string choice = choices[static_cast<size_t>(index)];
    if (choice == "Current") {
        XformLocalSourceFlag = 1;
    } else if (choice == "Inherit") {
        XformLocalSourceFlag = 0;
    } else {
        std::string folder = Folder(0, choice);
        if (!folder.empty() && folder == Folder(doc, "")) {
            choice = FileName(0, choice);
            XformLocalSourceFlag = 1;
        } else {
            XformLocalSourceFlag = 0;
            std::string rel;
            if (GeneralPreferences.xformPreferRelPathsInDialogs == 1 && Relative(doc, choice, &rel) && !rel.empty())
                choice = rel;
        }
    }
    om_DlgSetLabel(dlg, textItem, choice.c_str(), "");
    UpdateStartingContext(dlg, choice == "Current");
}

void om_XformBrowseSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT textItem) {
    std::string current = Label(dlg, textItem);
    if (current.find(':') == std::string::npos && !IsKeyword(current)) {
        std::string abs = Absolute(doc, current);
        if (!abs.empty()) current = abs;
    }
    std::string folder, name;
    if (IsKeyword(current) || current.empty()) {
        folder = Folder(doc, "");
        name = FileName(doc, "");
    } else {
        folder = Folder(0, current);
        name = FileName(0, current);
    }
    StringT chosen = nullptr;
    IntT rc = F_ApiChooseFile(&chosen, "Select Book or Document", folder.c_str(), name.c_str(), 0, "");
    std::string path(qv::View(chosen));
    F_ApiDeallocateString(&chosen);
    if (rc != 0 || path.empty()) return;
    std::string ownPath = XformHostString(0, doc, FP_Path);
    if (om_StrEqualCI(path.c_str(), ownPath.c_str())) {
        path = "Current";
    } else {
        std::string rel;
        if (GeneralPreferences.xformPreferRelPathsInDialogs == 1 && Relative(doc, path, &rel) && !rel.empty())
            path = rel;
    }
    om_DlgSetLabel(dlg, textItem, path.c_str(), "");
    UpdateStartingContext(dlg, om_StrEqualCI(path.c_str(), "Current") != 0);
}

IntT om_XformConfirmXPathText(ConStringT text) {
    StatusCode = 0;
    std::string expr(qv::View(text));
    bool goOn;
    if (expr.empty()) {
        goOn = al_yesno("You have not specified an XPath expression. Are you sure you want to continue?") == 1;
    } else {
        om_NWAddToHistory(expr.c_str());
        goOn = Compiles(expr) || al_yesno("Your XPath could not be parsed. Are you sure you want to continue?") == 1;
    }
    if (!goOn) StatusCode = XformErr::Cancelled;
    return goOn ? 1 : 0;
}

IntT om_XformConfirmXPathItem(F_ObjHandleT dlg, IntT textItem) {
    if (om_XformConfirmXPathText(Text(dlg, textItem).c_str())) return 1;
    KeepOpen();
    return 0;
}
