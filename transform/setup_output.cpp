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
#include "resources/dialog_items.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

using namespace xsetup;

// ---- create-xref -------------------------------------------------------------------------------------

void om_XformOpenCreateXRefDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace CreateXRefItem;
    F_ObjHandleT dlg = Open(kDlgCreateXRef, "qv_DialogCreateXRef");
    if (!dlg) return;
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    om_XformFillElementTagPopup(dlg, doc, elem, FV_FO_XREF, ElementTag, ElementTagPopup);
    std::vector<std::string> formats;
    om_XformFormatNames(doc, FO_XRefFmt, &formats);
    std::vector<std::string> labels{"Placeholder"};
    labels.insert(labels.end(), formats.begin(), formats.end());
    qv::DlgSetLabels(dlg, FormatPopup, labels);
    std::string format = Attr(doc, elem, "format");
    if (format.empty() && !formats.empty()) format = formats.front();
    SetText(dlg, Format, format);
    FillDisposition(dlg, doc, elem, Remove, Preserve);
    std::vector<std::string> wraps{"Placeholder", "None"};
    for (const std::string &n : om_DocElementDefNames(doc, 1, 0)) wraps.push_back(n);
    qv::DlgSetLabels(dlg, WrapElementPopup, wraps);
    std::string wrap = Attr(doc, elem, "wrap_element");
    SetText(dlg, WrapElement, wrap.empty() ? "None" : wrap);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgCreateXRef, dlg);
}

void om_XformApplyCreateXRefDialog(void) {
    using namespace CreateXRefItem;
    F_ObjHandleT dlg = Dlg(kDlgCreateXRef);
    if (!dlg || !om_XformConfirmXPathItem(dlg, Expression)) return;
    Write("select", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    Write("format", Text(dlg, Format));
    Write("element_tag", Text(dlg, ElementTag));
    std::string wrap = Text(dlg, WrapElement);
    Write("wrap_element", wrap == "None" ? std::string() : wrap);
    WriteDisposition(dlg, Preserve);
    WriteStartingContext(dlg, ContextElement);
    Done();
}

// ---- set-attribute and set-marker ----------------------------------------------------------------------

void om_XformOpenSetAttributeDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT kind) {
    using namespace SetAttributeItem;
    F_ObjHandleT dlg = Open(kDlgSetAttribute, "qv_DialogSetAttribute");
    if (!dlg) return;
    SetTitle(dlg, title);
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    TurnOn(dlg, om_XformTargetElement(doc, elem) == XTE_Parent ? Parent : PrecedingSibling);
    FillDisposition(dlg, doc, elem, Remove, Preserve);
    bool attribute = kind == XT_SetAttribute;
    for (IntT i : {AttributeLabel, Attribute, AttributeNote}) Sensitive(dlg, i, attribute);
    SetText(dlg, Attribute, attribute ? Attr(doc, elem, "attribute") : std::string());
    SetText(dlg, Value, Attr(doc, elem, "value"));
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, false);
    Run(kDlgSetAttribute, dlg);
}

void om_XformApplySetAttributeDialog(void) {
    using namespace SetAttributeItem;
    F_ObjHandleT dlg = Dlg(kDlgSetAttribute);
    if (!dlg || !om_XformConfirmXPathItem(dlg, Expression)) return;
    const StylesheetElementSetUpT &s = StylesheetElementSetUp;
    bool attribute = om_XformElementType(s.document, s.element) == XT_SetAttribute;
    std::string name = Text(dlg, Attribute);
    if (attribute && name.empty() &&
        al_yesno("You have not specified an attribute. Without this specification, this QVRN element will not do "
                 "anything during transformation. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("select", Text(dlg, Expression));
    WriteSource(dlg, Source, true);
    if (attribute) Write("attribute", name);
    Write("value", Text(dlg, Value));
    Write("target_element", On(dlg, Parent) ? "Parent" : "Preceding-sibling");
    WriteDisposition(dlg, Preserve);
    WriteStartingContext(dlg, ContextElement);
    Done();
}

// ---- template ---------------------------------------------------------------------------------------------

void om_XformOpenTemplateDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace TemplateItem;
    F_ObjHandleT dlg = Open(kDlgTemplate, "qv_DialogTemplate");
    if (!dlg) return;
    std::vector<std::string> ids;
    om_XformListTemplateIds(&ids, doc);
    std::vector<std::string> labels{"placeholder"};
    for (const std::string &id : ids)
        if (!id.empty()) labels.push_back(id);
    if (labels.size() > 1) qv::DlgSetLabels(dlg, TemplateIdPopup, labels);
    std::string id = Attr(doc, elem, "template_ID");
    SetText(dlg, TemplateId, id.empty() ? "{tag}" : id);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    XformLocalSourceFlag = om_XformContextDocIsLocal(doc, elem);
    FillDisposition(dlg, doc, elem, Remove, Preserve);
    Run(kDlgTemplate, dlg);
}

void om_XformApplyTemplateDialog(void) {
    using namespace TemplateItem;
    F_ObjHandleT dlg = Dlg(kDlgTemplate);
    if (!dlg) return;
    std::string id = Text(dlg, TemplateId);
    if (id.empty() && al_yesno("You have not specified a template ID. Are you sure you want to continue?") != 1) {
        KeepOpen();
        return;
    }
    Write("template_ID", id);
    WriteSource(dlg, Source, true);
    WriteDisposition(dlg, Preserve);
    Done();
}

// ---- param ---------------------------------------------------------------------------------------------------

void om_XformOpenParamDialog(F_ObjHandleT doc, F_ObjHandleT elem) {
    using namespace ParamItem;
    F_ObjHandleT dlg = Open(kDlgParam, "qv_DialogParam");
    if (!dlg) return;
    FillHistory(dlg, History);
    om_XformFillSelectBox(dlg, doc, elem, Expression);
    om_XformFillSourceControls(dlg, doc, elem, Source, SourcePopup);
    FillDisposition(dlg, doc, elem, Remove, Preserve);
    std::string name = Attr(doc, elem, "name");
    if (om_StrEqualCI(name.c_str(), EmptySentinel)) name.clear();
    SetText(dlg, Name, name.empty() ? "{parameter name}" : name);
    FillStartingContext(dlg, doc, elem, ContextGroup, Source, true);
    Run(kDlgParam, dlg);
}

void om_XformApplyParamDialog(void) {
    using namespace ParamItem;
    F_ObjHandleT dlg = Dlg(kDlgParam);
    if (!dlg) return;
    std::string select = Text(dlg, Expression);
    std::string name = Text(dlg, Name);
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
    WriteSource(dlg, Source, false);
    Write("name", name);
    WriteDisposition(dlg, Preserve);
    WriteStartingContext(dlg, ContextElement);
    Done();
}
