// The set-up dialogs of the elements that produce something other than copies: create-xref
// (cross-reference definition, format and wrapping element), set-attribute and set-marker
// (attribute, literal value, target element), template (template ID) and param (name and its
// expression or static value).
#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/element_query.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/history.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

using namespace xsetup;

// ---- create-xref -------------------------------------------------------------------------------------

void om_XformOpenCreateXRefDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgCreateXRef, "qv_DialogCreateXRef");
    if (!dlg) return;
    FillHistory(dlg, 4);
    om_XformFillSelectBox(dlg, doc, elem, 3);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_XREF, 15, 16);
    std::vector<std::string> formats;
    om_XformFormatNames(doc, FO_XRefFmt, &formats);
    std::vector<std::string> labels{"Placeholder"};
    labels.insert(labels.end(), formats.begin(), formats.end());
    qv::DlgSetLabels(dlg, 21, labels);
    std::string format = Attr(doc, elem, "format");
    if (format.empty() && !formats.empty()) format = formats.front();
    SetText(dlg, 20, format);
    FillDisposition(dlg, doc, elem, 30);
    std::vector<std::string> wraps{"Placeholder", "None"};
    for (const std::string &n : om_DocElementDefNames(doc, 1, 0)) wraps.push_back(n);
    qv::DlgSetLabels(dlg, 26, wraps);
    std::string wrap = Attr(doc, elem, "wrap_element");
    SetText(dlg, 25, wrap.empty() ? "None" : wrap);
    FillStartingContext(dlg, doc, elem, 33, 8, false);
    Run(kDlgCreateXRef, dlg);
}

void om_XformApplyCreateXRefDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgCreateXRef);
    if (!dlg || !om_XformConfirmXPathItem(dlg, 3)) return;
    Write("select", Text(dlg, 3));
    WriteSource(dlg, 8, true);
    Write("format", Text(dlg, 20));
    Write("element_tag", Text(dlg, 15));
    std::string wrap = Text(dlg, 25);
    Write("wrap_element", wrap == "None" ? std::string() : wrap);
    WriteDisposition(dlg, 31);
    WriteStartingContext(dlg, 36);
    Done();
}

// ---- set-attribute and set-marker ----------------------------------------------------------------------

void om_XformOpenSetAttributeDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT kind) {
    F_ObjHandleT dlg = Open(kDlgSetAttribute, "qv_DialogSetAttribute");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, 4);
    om_XformFillSelectBox(dlg, doc, elem, 3);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    TurnOn(dlg, om_XformTargetElement(doc, elem) == 5 ? 23 : 24);
    FillDisposition(dlg, doc, elem, 28);
    bool attribute = kind == XT_SetAttribute;
    for (IntT i = 14; i <= 16; ++i) Sensitive(dlg, i, attribute);
    SetText(dlg, 15, attribute ? Attr(doc, elem, "attribute") : std::string());
    SetText(dlg, 19, Attr(doc, elem, "value"));
    FillStartingContext(dlg, doc, elem, 31, 8, false);
    Run(kDlgSetAttribute, dlg);
}

void om_XformApplySetAttributeDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgSetAttribute);
    if (!dlg || !om_XformConfirmXPathItem(dlg, 3)) return;
    const StylesheetElementSetUpT &s = StylesheetElementSetUp;
    bool attribute = om_XformElementType(s.document, s.element) == XT_SetAttribute;
    std::string name = Text(dlg, 15);
    if (attribute && name.empty() &&
        al_yesno("You have not specified an attribute. Without this specification, this QVRN element will not do "
                 "anything during transformation. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("select", Text(dlg, 3));
    WriteSource(dlg, 8, true);
    if (attribute) Write("attribute", name);
    Write("value", Text(dlg, 19));
    Write("target_element", On(dlg, 23) ? "Parent" : "Preceding-sibling");
    WriteDisposition(dlg, 29);
    WriteStartingContext(dlg, 34);
    Done();
}

// ---- template ---------------------------------------------------------------------------------------------

void om_XformOpenTemplateDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgTemplate, "qv_DialogTemplate");
    if (!dlg) return;
    std::vector<std::string> ids;
    om_XformListTemplateIds(&ids, doc);
    std::vector<std::string> labels{"placeholder"};
    for (const std::string &id : ids)
        if (!id.empty()) labels.push_back(id);
    if (labels.size() > 1) qv::DlgSetLabels(dlg, 4, labels);
    std::string id = Attr(doc, elem, "template_ID");
    SetText(dlg, 3, id.empty() ? "{tag}" : id);
    om_XformFillSourceControls(dlg, doc, elem, 8, 9);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillDisposition(dlg, doc, elem, 15);
    Run(kDlgTemplate, dlg);
}

void om_XformApplyTemplateDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgTemplate);
    if (!dlg) return;
    std::string id = Text(dlg, 3);
    if (id.empty() && al_yesno("You have not specified a template ID. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("template_ID", id);
    WriteSource(dlg, 8, true);
    WriteDisposition(dlg, 16);
    Done();
}

// ---- param ---------------------------------------------------------------------------------------------------

void om_XformOpenParamDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT dlg = Open(kDlgParam, "qv_DialogParam");
    if (!dlg) return;
    FillHistory(dlg, 13);
    om_XformFillSelectBox(dlg, doc, elem, 12);
    om_XformFillSourceControls(dlg, doc, elem, 18, 19);
    FillDisposition(dlg, doc, elem, 25);
    std::string name = Attr(doc, elem, "name");
    if (om_StrEqualCI(name.c_str(), EmptySentinel)) name.clear();
    SetText(dlg, 3, name.empty() ? "{parameter name}" : name);
    FillStartingContext(dlg, doc, elem, 5, 18, true);
    Run(kDlgParam, dlg);
}

void om_XformApplyParamDialog(void) {
    F_ObjHandleT dlg = Dlg(kDlgParam);
    if (!dlg) return;
    std::string select = Text(dlg, 12);
    std::string name = Text(dlg, 3);
    if (select.empty() &&
        al_yesno("You have not specified an XPath expression or a static value. Are you sure you want to continue?") !=
            1) {
        KeepOpen();
        return;
    }
    // A value in single quotes is static: it is written as it stands, never compiled.
    std::string straight = XformStraightenQuotes(select);
    bool isStatic = straight.size() >= 2 && straight.front() == '\'' && straight.back() == '\'';
    if (!straight.empty() && !isStatic) {
        om_NWAddToHistory(straight.c_str());
        if (!Compiles(straight) &&
            al_yesno("Your XPath could not be parsed. Are you sure you want to continue?") != 1) {
            KeepOpen();
            return;
        }
    }
    if ((name.empty() || om_StrEqualCI(name.c_str(), "{parameter name}")) &&
        al_yesno("You have not specified a parameter name. Without this specification, this QVRN element will not do "
                 "anything during transformation. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("select", select);
    WriteSource(dlg, 18, false);
    Write("name", name);
    WriteDisposition(dlg, 26);
    WriteStartingContext(dlg, 8);
    Done();
}
