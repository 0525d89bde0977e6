// The set-up dialogs of the elements that run a query: copy-of and for-each (one dialog),
// value-of with its handling of cross-references, markers, variables, equations and graphics,
// if and when (one dialog), and sort.
#include <cstdlib>
#include <string>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/xform.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"

using namespace xsetup;

namespace {

// The expression check the if, copy-of and create-xref dialogs make in place; false keeps the
// dialog up.
bool CheckExpression(F_ObjHandleT dlg, IntT item) { return om_XformConfirmXPathItem(dlg, item) == 1; }

// Reads a decimal number as C's atoi does (0 for a text that is not one).
long Number(const std::string &text) { return std::strtol(text.c_str(), nullptr, 10); }

// The radio of an action code among three (keep, text, delete) or two (keep, delete) radios.
IntT ActionRadio(IntT first, IntT code, bool three) {
    if (code == 1) return first;
    if (three && code == 2) return first + 1;
    return three ? first + 2 : first + 1;
}

std::string ActionValue(F_ObjHandleT dlg, IntT first, bool three) {
    if (On(dlg, first)) return "Preserve";
    if (three && On(dlg, first + 1)) return "ConvertToText";
    return "Unwrap";
}

}  // namespace

// ---- copy-of and for-each -------------------------------------------------------------------------

void om_XformOpenCopyOfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT copyOf) {
    F_ObjHandleT dlg = Open(kDlgCopyOf, "qv_DialogCopyOf");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, 4);
    om_XformFillSelectBox(dlg, doc, elem, 3);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    SetText(dlg, 25, std::to_string(XformAttrInt(doc, elem, "max_matches")));
    for (IntT i = 14; i <= 17; ++i) Sensitive(dlg, i, copyOf == 1);
    TurnOn(dlg, copyOf == 1 && om_XformElementDisposition(doc, elem) == 1 ? 16 : 15);
    FillStartingContext(dlg, doc, elem, 18, 8, false);
    Run(kDlgCopyOf, dlg);
}

void om_XformApplyCopyOfDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgCopyOf);
    if (!dlg || !CheckExpression(dlg, 3)) return;
    Write("select", Text(dlg, 3));
    WriteSource(dlg, 8, true);
    WriteDisposition(dlg, 16);
    WriteStartingContext(dlg, 21);
    Write("max_matches", std::to_string(Number(Text(dlg, 25))));
    Done();
}

// ---- value-of --------------------------------------------------------------------------------------

void om_XformOpenValueOfDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgValueOf, "qv_DialogValueOf");
    if (!dlg) return;
    FillHistory(dlg, 4);
    om_XformFillSelectBox(dlg, doc, elem, 3);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    om_XformReadValueOfActions(doc, elem);
    const XformValueOfActionsT &a = XformRunState.valueOf;
    TurnOn(dlg, ActionRadio(16, a.xref, true));
    TurnOn(dlg, ActionRadio(20, a.marker, true));
    TurnOn(dlg, ActionRadio(24, a.variable, true));
    TurnOn(dlg, ActionRadio(28, a.equation, false));
    TurnOn(dlg, ActionRadio(31, a.graphic, false));
    FillDisposition(dlg, doc, elem, 35);
    FillStartingContext(dlg, doc, elem, 38, 8, false);
    Run(kDlgValueOf, dlg);
}

void om_XformApplyValueOfDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgValueOf);
    if (!dlg) return;
    StatusCode = 0;
    om_XformConfirmXPathText(Text(dlg, 3).c_str());
    if (StatusCode == 210) {
        KeepOpen();
        return;
    }
    Write("select", Text(dlg, 3));
    WriteSource(dlg, 8, true);
    Write("xref_action", ActionValue(dlg, 16, true));
    Write("marker_action", ActionValue(dlg, 20, true));
    Write("variable_action", ActionValue(dlg, 24, true));
    Write("equation_action", ActionValue(dlg, 28, false));
    Write("graphic_action", ActionValue(dlg, 31, false));
    WriteDisposition(dlg, 36);
    WriteStartingContext(dlg, 41);
    Done();
}

// ---- if and when -------------------------------------------------------------------------------------

void om_XformOpenIfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title) {
    F_ObjHandleT dlg =
        Open(kDlgIf, "qv_DialogIf", "A critical error occurred opening a dialog box. Contact Quorvane support");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, 4);
    std::string test = Attr(doc, elem, "test");
    SetText(dlg, 3, test.empty() ? "{XPath}" : test);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillStartingContext(dlg, doc, elem, 13, 8, false);
    Run(kDlgIf, dlg);
}

void om_XformApplyIfDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgIf);
    if (!dlg || !CheckExpression(dlg, 3)) return;
    Write("test", Text(dlg, 3));
    WriteSource(dlg, 8, true);
    WriteStartingContext(dlg, 16);
    Done();
}

// ---- sort ----------------------------------------------------------------------------------------------

void om_XformOpenSortDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgSort, "qv_DialogSort");
    if (!dlg) return;
    FillHistory(dlg, 4);
    om_XformFillSelectBox(dlg, doc, elem, 3);
    TurnOn(dlg, Attr(doc, elem, "order") == "Descending" ? 9 : 8);
    TurnOn(dlg, Attr(doc, elem, "data-type") == "Numeric" ? 14 : 13);
    Run(kDlgSort, dlg);
}

void om_XformApplySortDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgSort);
    if (!dlg) return;
    std::string select = Text(dlg, 3);
    // No key expression sorts by the match itself; a key is checked but kept out of the history.
    if (select.empty()) {
        select.assign(1, '.');
    } else if (!Compiles(select) &&
               al_yesno("Your XPath could not be parsed. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("select", select);
    Write("order", On(dlg, 9) ? "Descending" : "Ascending");
    Write("data-type", On(dlg, 14) ? "Numeric" : "Text");
    Done();
}
