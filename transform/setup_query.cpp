// The set-up dialogs of the elements that run a query: copy-of and for-each (one dialog),
// value-of with its handling of cross-references, markers, variables, equations and graphics,
// if and when (one dialog), and sort.
#include <cstdlib>
#include <string>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/xform.h"
#include "resources/dialog_items.h"
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

// The radios of one special element type in the value-of dialog: keep, convert to text (0 for a
// type that has none) and unwrap.
struct ActionRadios {
    IntT preserve, toText, unwrap;
};
constexpr ActionRadios kXRefRadios{ValueOfItem::XRefPreserve, ValueOfItem::XRefToText, ValueOfItem::XRefUnwrap};
constexpr ActionRadios kMarkerRadios{ValueOfItem::MarkerPreserve, ValueOfItem::MarkerToText, ValueOfItem::MarkerUnwrap};
constexpr ActionRadios kVariableRadios{ValueOfItem::VariablePreserve, ValueOfItem::VariableToText,
                                       ValueOfItem::VariableUnwrap};
constexpr ActionRadios kEquationRadios{ValueOfItem::EquationPreserve, 0, ValueOfItem::EquationUnwrap};
constexpr ActionRadios kGraphicRadios{ValueOfItem::GraphicPreserve, 0, ValueOfItem::GraphicUnwrap};

// The radio of an action code (1 keep, 2 text, else delete).
IntT ActionRadio(const ActionRadios &r, IntT code) {
    if (code == 1) return r.preserve;
    if (r.toText && code == 2) return r.toText;
    return r.unwrap;
}

std::string ActionValue(F_ObjHandleT dlg, const ActionRadios &r) {
    if (On(dlg, r.preserve)) return "Preserve";
    if (r.toText && On(dlg, r.toText)) return "ConvertToText";
    return "Unwrap";
}

}  // namespace

// ---- copy-of and for-each -------------------------------------------------------------------------

void om_XformOpenCopyOfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT copyOf) {
    using namespace CopyOfItem;
    F_ObjHandleT dlg = Open(kDlgCopyOf, "qv_DialogCopyOf");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    SetText(dlg, MaxMatches, std::to_string(XformAttrInt(doc, elem, "max_matches")));
    // for-each has no choice of disposition: the group stays insensitive with Remove on.
    for (IntT i : {DispositionLabel, Remove, Preserve, DispositionNote}) Sensitive(dlg, i, copyOf == 1);
    TurnOn(dlg, copyOf == 1 && om_XformElementDisposition(doc, elem) == XD_Keep ? Preserve : Remove);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgCopyOf, dlg);
}

void om_XformApplyCopyOfDialog(void) {
    using namespace CopyOfItem;
    F_ObjHandleT dlg = Dlg(kDlgCopyOf);
    if (!dlg || !CheckExpression(dlg, Expression)) return;
    Write("select", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    WriteDisposition(dlg, Preserve);
    WriteStartingContext(dlg, ContextElement);
    Write("max_matches", std::to_string(Number(Text(dlg, MaxMatches))));
    Done();
}

// ---- value-of --------------------------------------------------------------------------------------

void om_XformOpenValueOfDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace ValueOfItem;
    F_ObjHandleT dlg = Open(kDlgValueOf, "qv_DialogValueOf");
    if (!dlg) return;
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    om_XformReadValueOfActions(doc, elem);
    const XformValueOfActionsT &a = XformRunState.valueOf;
    TurnOn(dlg, ActionRadio(kXRefRadios, a.xref));
    TurnOn(dlg, ActionRadio(kMarkerRadios, a.marker));
    TurnOn(dlg, ActionRadio(kVariableRadios, a.variable));
    TurnOn(dlg, ActionRadio(kEquationRadios, a.equation));
    TurnOn(dlg, ActionRadio(kGraphicRadios, a.graphic));
    FillDisposition(dlg, doc, elem, Remove, Preserve);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgValueOf, dlg);
}

void om_XformApplyValueOfDialog(void) {
    using namespace ValueOfItem;
    F_ObjHandleT dlg = Dlg(kDlgValueOf);
    if (!dlg) return;
    StatusCode = 0;
    om_XformConfirmXPathText(Text(dlg, Expression).c_str());
    if (StatusCode == XformErr::Cancelled) {
        KeepOpen();
        return;
    }
    Write("select", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    Write("xref_action", ActionValue(dlg, kXRefRadios));
    Write("marker_action", ActionValue(dlg, kMarkerRadios));
    Write("variable_action", ActionValue(dlg, kVariableRadios));
    Write("equation_action", ActionValue(dlg, kEquationRadios));
    Write("graphic_action", ActionValue(dlg, kGraphicRadios));
    WriteDisposition(dlg, Preserve);
    WriteStartingContext(dlg, ContextElement);
    Done();
}

// ---- if and when -------------------------------------------------------------------------------------

void om_XformOpenIfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title) {
    F_ObjHandleT dlg =
        Open(kDlgIf, "qv_DialogIf", "A critical error occurred opening a dialog box. Contact Quorvane support");
    if (!dlg) return;
    using namespace IfItem;
    SetTitle(dlg, title);
    FillHistory(dlg, History);
    std::string test = Attr(doc, elem, "test");
    SetText(dlg, Expression, test.empty() ? "{XPath}" : test);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgIf, dlg);
}

void om_XformApplyIfDialog(void) {
    using namespace IfItem;
    F_ObjHandleT dlg = Dlg(kDlgIf);
    if (!dlg || !CheckExpression(dlg, Expression)) return;
    Write("test", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    WriteStartingContext(dlg, ContextElement);
    Done();
}

// ---- sort ----------------------------------------------------------------------------------------------

void om_XformOpenSortDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace SortItem;
    F_ObjHandleT dlg = Open(kDlgSort, "qv_DialogSort");
    if (!dlg) return;
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    TurnOn(dlg, Attr(doc, elem, "order") == "Descending" ? Descending : Ascending);
    TurnOn(dlg, Attr(doc, elem, "data-type") == "Numeric" ? NumericType : TextType);
    Run(kDlgSort, dlg);
}

void om_XformApplySortDialog(void) {
    using namespace SortItem;
    F_ObjHandleT dlg = Dlg(kDlgSort);
    if (!dlg) return;
    std::string select = Text(dlg, Expression);
    // No key expression sorts by the match itself; a key is checked but kept out of the history.
    if (select.empty()) {
        select.assign(1, '.');
    } else if (!Compiles(select) &&
               al_yesno("Your XPath could not be parsed. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("select", select);
    Write("order", On(dlg, Descending) ? "Descending" : "Ascending");
    Write("data-type", On(dlg, NumericType) ? "Numeric" : "Text");
    Done();
}
