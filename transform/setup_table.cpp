// The set-up dialogs of the table elements: the table (definition, format, number of columns and
// their widths, the width rows following the column count as it is typed), the table row
// (definition, expression, source) and the title, heading, body, footing and cell parts.
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/globals.h"
#include "lib/state/stylesheet_setup.h"
#include "resources/dialog_items.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"

using namespace xsetup;

namespace {

// The items of each column of the table dialog, in column order: its label, width box and width pop-up.
struct ColumnItems {
    IntT label, width, widthPopup;
};
constexpr ColumnItems kColumnItems[] = {
    {TableItem::Column1Label, TableItem::Column1Width, TableItem::Column1WidthPopup},
    {TableItem::Column2Label, TableItem::Column2Width, TableItem::Column2WidthPopup},
    {TableItem::Column3Label, TableItem::Column3Width, TableItem::Column3WidthPopup},
    {TableItem::Column4Label, TableItem::Column4Width, TableItem::Column4WidthPopup},
    {TableItem::Column5Label, TableItem::Column5Width, TableItem::Column5WidthPopup},
    {TableItem::Column6Label, TableItem::Column6Width, TableItem::Column6WidthPopup},
    {TableItem::Column7Label, TableItem::Column7Width, TableItem::Column7WidthPopup},
    {TableItem::Column8Label, TableItem::Column8Width, TableItem::Column8WidthPopup},
    {TableItem::Column9Label, TableItem::Column9Width, TableItem::Column9WidthPopup},
    {TableItem::Column10Label, TableItem::Column10Width, TableItem::Column10WidthPopup},
    {TableItem::Column11Label, TableItem::Column11Width, TableItem::Column11WidthPopup},
    {TableItem::Column12Label, TableItem::Column12Width, TableItem::Column12WidthPopup},
};
constexpr IntT kColumns = static_cast<IntT>(std::size(kColumnItems));

}  // namespace

void om_XformOpenTableDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace TableItem;
    F_ObjHandleT dlg = Open(kDlgTable, "qv_DialogTable");
    if (!dlg) return;
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_TBL, ElementTag, ElementTagPopup);
    std::vector<std::string> formats;
    om_XformFormatNames(doc, FO_TblFmt, &formats);
    std::vector<std::string> labels{"Placeholder"};
    labels.insert(labels.end(), formats.begin(), formats.end());
    qv::DlgSetLabels(dlg, FormatPopup, labels);
    std::string format = Attr(doc, elem, "format");
    if (format.empty() && !formats.empty()) format = formats.front();
    SetText(dlg, Format, format);
    std::string columns = Attr(doc, elem, "num_columns");
    SetText(dlg, Columns, columns.empty() ? "3" : columns);
    std::vector<std::string> widths = om_XformColumnWidths(doc, elem);
    for (size_t k = 0; k < std::size(kColumnItems); ++k) SetText(dlg, kColumnItems[k].width, widths[k]);
    om_XformTableColumnsChanged();
    Run(kDlgTable, dlg);
}

void om_XformTableColumnsChanged(void) {
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    long n = std::strtol(Text(dlg, TableItem::Columns).c_str(), nullptr, 10);
    long column = 0;  // from 1: the columns up to n are sensitive
    for (const ColumnItems &c : kColumnItems) {
        bool on = ++column <= n;
        Sensitive(dlg, c.label, on);
        Sensitive(dlg, c.width, on);
        Sensitive(dlg, c.widthPopup, on);
    }
}

void om_XformColumnWidthsText(std::string *out) {
    out->clear();
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    for (const ColumnItems &c : kColumnItems) *out += Text(dlg, c.width) + ";";
}

void om_XformApplyTableDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgTable);
    if (!dlg) return;
    StatusCode = 0;
    Write("element_tag", Text(dlg, TableItem::ElementTag));
    Write("format", Text(dlg, TableItem::Format));
    std::string columns = Text(dlg, TableItem::Columns);
    long n = std::strtol(columns.c_str(), nullptr, 10);
    Write("num_columns", n > kColumns || n < 0 ? "1" : columns);
    std::string widths;
    om_XformColumnWidthsText(&widths);
    Write("column_widths", widths);
    Done();
}

void om_XformOpenTableRowDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title) {
    using namespace TableRowItem;
    F_ObjHandleT dlg = Open(kDlgTableRow, "qv_DialogTableRow");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, History);
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_TBL_ROW, ElementTag, ElementTagPopup);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgTableRow, dlg);
}

void om_XformApplyTableRowDialog(void) {
    using namespace TableRowItem;
    F_ObjHandleT dlg = Dlg(kDlgTableRow);
    if (!dlg || !om_XformConfirmXPathItem(dlg, Expression)) return;
    Write("element_tag", Text(dlg, ElementTag));
    Write("select", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    WriteStartingContext(dlg, ContextElement);
    Done();
}

void om_XformOpenElementTagDialog(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, ConStringT title) {
    F_ObjHandleT dlg = Open(kDlgElementTag, "qv_DialogElementTag");
    if (!dlg) return;
    SetTitle(dlg, title);
    om_XformFillElementTagPopup(dlg, doc, elem, type, ElementTagItem::ElementTag, ElementTagItem::ElementTagPopup);
    Run(kDlgElementTag, dlg);
}

void om_XformApplyElementTagDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgElementTag);
    if (!dlg) return;
    Write("element_tag", Text(dlg, ElementTagItem::ElementTag));
    Done();
}
