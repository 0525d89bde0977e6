// The set-up dialogs of the table elements: the table (definition, format, number of columns and
// their widths, the width rows following the column count as it is typed), the table row
// (definition, expression, source) and the title, heading, body, footing and cell parts.
#include <cstdlib>
#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/globals.h"
#include "lib/state/stylesheet_setup.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"

using namespace xsetup;

namespace {

constexpr IntT kColumns = 12;
// Items of column k (1..12) in the table dialog: its label, width box and width pop-up.
IntT ColumnLabel(IntT k) { return 17 + 3 * (k - 1); }
IntT WidthBox(IntT k) { return 18 + 3 * (k - 1); }
IntT WidthPopup(IntT k) { return 19 + 3 * (k - 1); }

}  // namespace

void om_XformOpenTableDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgTable, "qv_DialogTable");
    if (!dlg) return;
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_TBL, 3, 4);
    std::vector<std::string> formats;
    om_XformFormatNames(doc, FO_TblFmt, &formats);
    std::vector<std::string> labels{"Placeholder"};
    labels.insert(labels.end(), formats.begin(), formats.end());
    qv::DlgSetLabels(dlg, 10, labels);
    std::string format = Attr(doc, elem, "format");
    if (format.empty() && !formats.empty()) format = formats.front();
    SetText(dlg, 9, format);
    std::string columns = Attr(doc, elem, "num_columns");
    SetText(dlg, 15, columns.empty() ? "3" : columns);
    std::vector<std::string> widths = om_XformColumnWidths(doc, elem);
    for (IntT k = 1; k <= kColumns; ++k) SetText(dlg, WidthBox(k), widths[static_cast<size_t>(k - 1)]);
    om_XformTableColumnsChanged();
    Run(kDlgTable, dlg);
}

void om_XformTableColumnsChanged(void) {
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    long n = std::strtol(Text(dlg, 15).c_str(), nullptr, 10);
    for (IntT k = 1; k <= kColumns; ++k) {
        bool on = k <= n;
        Sensitive(dlg, ColumnLabel(k), on);
        Sensitive(dlg, WidthBox(k), on);
        Sensitive(dlg, WidthPopup(k), on);
    }
}

void om_XformColumnWidthsText(std::string *out) {
    out->clear();
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    for (IntT k = 1; k <= kColumns; ++k) *out += Text(dlg, WidthBox(k)) + ";";
}

void om_XformApplyTableDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    StatusCode = 0;
    Write("element_tag", Text(dlg, 3));
    Write("format", Text(dlg, 9));
    std::string columns = Text(dlg, 15);
    long n = std::strtol(columns.c_str(), nullptr, 10);
    Write("num_columns", n > kColumns || n < 0 ? "1" : columns);
    std::string widths;
    om_XformColumnWidthsText(&widths);
    Write("column_widths", widths);
    Done();
}

void om_XformOpenTableRowDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title) {
    F_ObjHandleT dlg = Open(kDlgTableRow, "qv_DialogTableRow");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, 9);
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_TBL_ROW, 3, 4);
    om_XformFillSelectBox(dlg, doc, elem, 8);
    om_XformFillSourceControls(dlg, doc, elem, 13, 14);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillStartingContext(dlg, doc, elem, 18, 13, false);
    Run(kDlgTableRow, dlg);
}

void om_XformApplyTableRowDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgTableRow);
    if (!dlg || !om_XformConfirmXPathItem(dlg, 8)) return;
    Write("element_tag", Text(dlg, 3));
    Write("select", Text(dlg, 8));
    WriteSource(dlg, 13, true);
    WriteStartingContext(dlg, 21);
    Done();
}

void om_XformOpenElementTagDialog(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, ConStringT title) {
    F_ObjHandleT dlg = Open(kDlgElementTag, "qv_DialogElementTag");
    if (!dlg) return;
    SetTitle(dlg, title);
    om_XformFillElementTagPopup(dlg, doc, elem, type, 3, 4);
    Run(kDlgElementTag, dlg);
}

void om_XformApplyElementTagDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgElementTag);
    if (!dlg) return;
    Write("element_tag", Text(dlg, 3));
    Done();
}
