// Setting up a stylesheet element by command or click: the dialog of the element's type opens.
#include "lib/dialogs/msgbox.h"
#include "lib/host/element_query.h"
#include "lib/state/stylesheet_setup.h"
#include "transform/setup.h"
#include "transform/setup_internal.h"
#include "transform/xform.h"

bool om_XformHasSetUpDialog(IntT type) {
    return type > XT_None && type <= XT_Param && type != XT_Choose && type != XT_Otherwise;
}

void om_XformOpenSetUpDialog(IntT type, F_ObjHandleT doc, F_ObjHandleT elem) {
    switch (type) {
    case XT_CopyOf: om_XformOpenCopyOfDialog(doc, elem, "QVRN_copy-of Element Attributes", 1); break;
    case XT_ForEach: om_XformOpenCopyOfDialog(doc, elem, "QVRN_for-each Element Attributes", 0); break;
    case XT_ValueOf: om_XformOpenValueOfDialog(doc, elem); break;
    case XT_If: om_XformOpenIfDialog(doc, elem, "QVRN_if Element Attributes"); break;
    case XT_When: om_XformOpenIfDialog(doc, elem, "QVRN_when Element Attributes"); break;
    case XT_Table: om_XformOpenTableDialog(doc, elem); break;
    case XT_TableTitle: om_XformOpenElementTagDialog(doc, elem, type, "QVRN_tabletitle Element Attributes"); break;
    case XT_TableHeading: om_XformOpenElementTagDialog(doc, elem, type, "QVRN_tableheading Element Attributes"); break;
    case XT_TableBody: om_XformOpenElementTagDialog(doc, elem, type, "QVRN_tablebody Element Attributes"); break;
    case XT_TableFooting: om_XformOpenElementTagDialog(doc, elem, type, "QVRN_tablefooting Element Attributes"); break;
    case XT_TableRow: om_XformOpenTableRowDialog(doc, elem, "QVRN_tablerow Element Attributes"); break;
    case XT_TableCell: om_XformOpenElementTagDialog(doc, elem, type, "QVRN_tablecell Element Attributes"); break;
    case XT_Sort: om_XformOpenSortDialog(doc, elem); break;
    case XT_CreateXRef: om_XformOpenCreateXRefDialog(doc, elem); break;
    case XT_SetAttribute: om_XformOpenSetAttributeDialog(doc, elem, "QVRN_set-attribute Attributes", type); break;
    case XT_SetMarker: om_XformOpenSetAttributeDialog(doc, elem, "QVRN_set-marker Attributes", type); break;
    case XT_Template: om_XformOpenTemplateDialog(doc, elem); break;
    case XT_Param: om_XformOpenParamDialog(doc, elem); break;
    default:
        StylesheetElementSetUp = StylesheetElementSetUpT{};
        al_ok("Not an QVRN element.");
        break;
    }
}

IntT om_XformSetUpElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!doc) doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) {
        al_ok("No active document.");
        return 0;
    }
    if (!elem) elem = om_ElementSelected(doc, 1, 1);
    if (!elem) {
        al_ok("No element selected.");
        return 0;
    }
    // Opened by command or click, the element was not inserted just now: Cancel keeps it.
    StylesheetElementSetUp.document = doc;
    StylesheetElementSetUp.element = elem;
    StylesheetElementSetUp.justInserted = 0;
    om_XformOpenSetUpDialog(om_XformElementType(doc, elem), doc, elem);
    return 1;
}
