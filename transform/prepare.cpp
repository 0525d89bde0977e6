// Preparation and check of a stylesheet: one pass over its Main flow expands the template
// markers, resets the hidden context attributes, compiles every select and test, and checks the
// compound structures (choose, table and its parts, sort, create-xref). The Check Stylesheet
// command runs the same pass and reports every failure.
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "lib/host/attributes.h"
#include "lib/host/element_ops.h"
#include "lib/host/element_query.h"
#include "lib/host/element_walk.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"

namespace {

// What a preparation pass reads of the stylesheet's elements, each read once in the pass: the
// type of every element it looks at (the pass asks for a parent's, a child's or an ancestor's
// type again and again) and the attribute list of every stylesheet element it checks. The pass
// writes only the hidden context attributes and the sequence number, which it never reads back.
class StylesheetReads {
  public:
    explicit StylesheetReads(F_ObjHandleT doc) : doc_(doc) {}
    F_ObjHandleT Doc() const { return doc_; }
    // The element's type (om_XformElementType, which also sets StatusCode to 0).
    IntT Type(F_ObjHandleT elem) {
        if (!doc_ || !elem) return om_XformElementType(doc_, elem);
        auto found = types_.find(elem);
        if (found == types_.end()) found = types_.emplace(elem, om_XformElementType(doc_, elem)).first;
        StatusCode = 0;
        return found->second;
    }
    const XformAttrs &Attrs(F_ObjHandleT elem) {
        auto found = attrs_.find(elem);
        if (found == attrs_.end()) found = attrs_.emplace(elem, XformAttrs(doc_, elem)).first;
        return found->second;
    }
    // The element's children with their types.
    std::vector<F_ObjHandleT> Children(F_ObjHandleT elem) { return XformChildren(doc_, elem); }
    // 1 when an ancestor of the element is a QVRN_table.
    bool InsideTable(F_ObjHandleT elem) {
        for (F_ObjHandleT a = F_ApiGetId(doc_, elem, FP_ParentElement); a; a = F_ApiGetId(doc_, a, FP_ParentElement))
            if (Type(a) == XT_Table) return true;
        return false;
    }

  private:
    F_ObjHandleT doc_;
    std::unordered_map<F_ObjHandleT, IntT> types_;
    std::unordered_map<F_ObjHandleT, XformAttrs> attrs_;
};

void CheckChoose(StylesheetReads &r, F_ObjHandleT elem) {
    StatusCode = 0;
    std::vector<F_ObjHandleT> kids = r.Children(elem);
    for (size_t i = 0; i < kids.size(); ++i) {
        IntT t = r.Type(kids[i]);
        if (t == XT_When) continue;
        if (t == XT_Otherwise && i + 1 == kids.size()) continue;
        StatusCode = XformErr::BadChoose;
        return;
    }
    StatusCode = 0;
}

void CheckPlacement(StylesheetReads &r, F_ObjHandleT elem, IntT type) {
    StatusCode = 0;
    F_ObjHandleT parent = F_ApiGetId(r.Doc(), elem, FP_ParentElement);
    IntT p = parent ? r.Type(parent) : XT_None;
    StatusCode = 0;
    switch (type) {
    case XT_When:
        if (p != XT_Choose) StatusCode = XformErr::WhenOutsideChoose;
        break;
    case XT_Otherwise:
        if (p != XT_Choose) StatusCode = XformErr::OtherwiseOutsideChoose;
        break;
    case XT_TableTitle:
    case XT_TableHeading:
    case XT_TableBody:
    case XT_TableFooting:
        if (p != XT_Table) StatusCode = XformErr::MisplacedTableTitle + (type - XT_TableTitle);
        break;
    case XT_TableRow:
        if (p != XT_TableHeading && p != XT_TableBody && p != XT_TableFooting) StatusCode = XformErr::MisplacedTableRow;
        break;
    case XT_TableCell:
        if (p != XT_TableRow) StatusCode = XformErr::MisplacedTableCell;
        break;
    case XT_Sort:
        if (p != XT_ForEach && p != XT_TableRow) StatusCode = XformErr::MisplacedSort;
        break;
    default:
        break;
    }
}

void CheckPartTag(StylesheetReads &r, F_ObjHandleT elem, IntT type, IntT defType) {
    StatusCode = 0;
    std::string tag = r.Attrs(elem).Get("element_tag");
    if (tag.empty() || !om_ElementDefIsOfType(r.Doc(), tag, defType)) {
        StatusCode = XformErr::BadTableTitleTag + (type - XT_TableTitle);
        return;
    }
    StatusCode = 0;
    CheckPlacement(r, elem, type);
}

void CheckTableCells(StylesheetReads &r, F_ObjHandleT row, IntT columns) {
    StatusCode = 0;
    IntT cells = 0;
    for (F_ObjHandleT c : r.Children(row)) {
        IntT t = r.Type(c);
        if (t == XT_TableCell) ++cells;
        else if (t != XT_Sort) return void(StatusCode = XformErr::BadRowChild);
    }
    StatusCode = cells == columns ? 0 : XformErr::WrongCellCount;
}

void CheckTableRows(StylesheetReads &r, F_ObjHandleT part, IntT columns) {
    StatusCode = 0;
    for (F_ObjHandleT row : r.Children(part)) {
        if (r.Type(row) != XT_TableRow) return void(StatusCode = XformErr::BadTablePartChild);
        CheckTableCells(r, row, columns);
        if (StatusCode) return;
    }
}

void CheckTable(StylesheetReads &r, F_ObjHandleT table) {
    StatusCode = 0;
    if (r.InsideTable(table)) return void(StatusCode = XformErr::NestedStylesheetTable);
    StatusCode = 0;
    F_ObjHandleT doc = r.Doc();
    const XformAttrs &attrs = r.Attrs(table);
    std::string tag = attrs.Get("element_tag");
    if (tag.empty() || !om_ElementDefIsOfType(doc, tag, FV_FO_TBL)) return void(StatusCode = XformErr::BadTableTag);
    std::vector<F_ObjHandleT> kids = r.Children(table);
    if (kids.empty() || kids.size() > 4 || (kids.size() == 1 && r.Type(kids[0]) != XT_TableBody))
        return void(StatusCode = XformErr::BadTableChildren);
    IntT columns = attrs.Int("num_columns");
    if (columns < 1 || columns > 12) return void(StatusCode = XformErr::BadColumnCount);
    std::vector<std::string> widths = om_XformColumnWidths(doc, table);
    bool badWidth = false;
    for (IntT i = 0; i < columns; ++i) {
        long milli = static_cast<long>(std::strtod(widths[size_t(i)].c_str(), nullptr) * 1000.0);
        if (milli < 250 || milli > 20000) badWidth = true;
    }
    if (badWidth) return void(StatusCode = XformErr::BadColumnWidth);
    bool body = false;
    for (size_t i = 0; i < kids.size(); ++i) {
        IntT t = r.Type(kids[i]);
        IntT next = i + 1 < kids.size() ? r.Type(kids[i + 1]) : -1;
        StatusCode = 0;
        switch (t) {
        case XT_TableTitle:
            if (next != XT_TableHeading && next != XT_TableBody) return void(StatusCode = XformErr::BadTableChildren);
            break;
        case XT_TableHeading:
            if (next != XT_TableBody) return void(StatusCode = XformErr::BadTableChildren);
            if (r.Children(kids[i]).empty()) return void(StatusCode = XformErr::EmptyTableHeading);
            CheckTableRows(r, kids[i], columns);
            if (StatusCode) return;
            break;
        case XT_TableBody:
            body = true;
            if (next != -1 && next != XT_TableFooting) return void(StatusCode = XformErr::BadTableChildren);
            if (r.Children(kids[i]).empty()) return void(StatusCode = XformErr::EmptyTableBody);
            CheckTableRows(r, kids[i], columns);
            if (StatusCode) return;
            break;
        case XT_TableFooting:
            if (next != -1) return void(StatusCode = XformErr::BadTableChildren);
            if (r.Children(kids[i]).empty()) return void(StatusCode = XformErr::EmptyTableFooting);
            CheckTableRows(r, kids[i], columns);
            if (StatusCode) return;
            break;
        default:
            return void(StatusCode = XformErr::BadTableChild);
        }
    }
    StatusCode = body ? 0 : XformErr::BadTableChild;
}

void CheckCreateXRef(StylesheetReads &r, F_ObjHandleT elem) {
    StatusCode = 0;
    F_ObjHandleT doc = r.Doc();
    const XformAttrs &attrs = r.Attrs(elem);
    std::string tag = attrs.Get("element_tag");
    if (tag.empty() || !om_ElementDefIsOfType(doc, tag, FV_FO_XREF)) return void(StatusCode = XformErr::BadXRefTag);
    std::string format = attrs.Get("format");
    FA_errno = 0;
    if (format.empty() || !F_ApiGetNamedObject(doc, FO_XRefFmt, format.c_str())) return void(StatusCode = XformErr::BadXRefFormat);
    std::string wrap = attrs.Get("wrap_element");
    if (!wrap.empty() && !om_ElementDefIsOfType(doc, wrap, FV_FO_CONTAINER) &&
        !om_ElementDefIsOfType(doc, wrap, FV_FO_FOOTNOTE))
        return void(StatusCode = XformErr::BadXRefWrapper);
    StatusCode = 0;
}

}  // namespace

void om_XformCheckChoose(F_ObjHandleT doc, F_ObjHandleT elem) {
    StylesheetReads r(doc);
    CheckChoose(r, elem);
}
void om_XformCheckPlacement(F_ObjHandleT doc, F_ObjHandleT elem, IntT type) {
    StylesheetReads r(doc);
    CheckPlacement(r, elem, type);
}
void om_XformCheckPartTag(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, IntT defType) {
    StylesheetReads r(doc);
    CheckPartTag(r, elem, type, defType);
}
void om_XformCheckTableCells(F_ObjHandleT doc, F_ObjHandleT row, IntT columns) {
    StylesheetReads r(doc);
    CheckTableCells(r, row, columns);
}
void om_XformCheckTableRows(F_ObjHandleT doc, F_ObjHandleT part, IntT columns) {
    StylesheetReads r(doc);
    CheckTableRows(r, part, columns);
}
void om_XformCheckTable(F_ObjHandleT doc, F_ObjHandleT table) {
    StylesheetReads r(doc);
    CheckTable(r, table);
}
void om_XformCheckCreateXRef(F_ObjHandleT doc, F_ObjHandleT elem) {
    StylesheetReads r(doc);
    CheckCreateXRef(r, elem);
}

F_ObjHandleT om_XformPrepareStylesheet(F_ObjHandleT doc, IntT stop) {
    StatusCode = 0;
    CancelFlag = 0;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    F_ObjHandleT root = doc ? om_ElementHighestLevel(doc, "Main", 0) : 0;
    if (!root) return StatusCode = StatusNoStructure, 0;
    om_XformExpandTemplateMarkers(doc);
    StatusCode = 0;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    StylesheetReads r(doc);
    F_ObjHandleT e = om_ElementNextInDocOrder(doc, root);
    // Each numbered step ends here: a failure returns at once or is reported and the pass goes on.
    auto failed = [&](F_ObjHandleT elem) {
        if (!StatusCode) return false;
        if (stop == 1) return true;
        if (XformRunState.reportErrors == 1) {
            om_XformReportError(doc, doc, elem, StatusCode, XformLevel::Error);
            StatusCode = 0;
        }
        return false;
    };
    while (e && e != root) {
        if (ElementWalkState.lastMove != WalkUp) {
            IntT t = r.Type(e);
            StatusCode = 0;
            if (t != XT_None) {
                ElementWalkSaved walk;
                switch (t) {
                // The elements with a select or a test.
                case XT_CopyOf: case XT_ForEach: case XT_ValueOf: case XT_If: case XT_When: case XT_Otherwise:
                case XT_TableRow: case XT_Sort: case XT_CreateXRef: case XT_SetAttribute: case XT_SetMarker:
                case XT_Param: {
                    IntT n = 0;
                    const XformAttrs &attrs = r.Attrs(e);
                    if (!XformWriteContext(doc, e, "0", "0", "-1", nullptr) && attrs.Empty()) {
                        StatusCode = XformErr::MissingMarkup;
                    } else {
                        StatusCode = 0;
                        n = XformParseExpression(attrs, t, 0);
                        if (!StatusCode && t == XT_CopyOf && n > 0) {
                            IntT last = om_XPathLastStep(n);
                            if (last && om_XPathRec(last).axis == XA_ATTRIBUTE) StatusCode = XformErr::CopyOfAttribute;
                        }
                    }
                    if (n > XPathLastSequenceNumber) n = 0;
                    if (failed(e)) return e;
                    IntT keep = StatusCode;
                    om_AttrSetValue(doc, e, "SequenceNumber", std::to_string(n));
                    StatusCode = keep;
                    break;
                }
                case XT_Choose:
                    CheckChoose(r, e);
                    if (failed(e)) return e;
                    break;
                case XT_Table:
                    CheckTable(r, e);
                    if (failed(e)) return e;
                    break;
                default:
                    break;
                }
                if (t >= XT_TableTitle && t <= XT_TableCell) {
                    CheckPartTag(r, e, t, FV_FO_TBL_TITLE + (t - XT_TableTitle));
                    if (failed(e)) return e;
                } else if (t == XT_CreateXRef) {
                    CheckCreateXRef(r, e);
                    if (failed(e)) return e;
                }
                if (t == XT_When || t == XT_Otherwise || t == XT_Sort) {
                    CheckPlacement(r, e, t);
                    if (failed(e)) return e;
                }
                if (t == XT_Sort && F_ApiGetId(doc, e, FP_PrevSiblingElement) != 0) {
                    StatusCode = XformErr::MisplacedSort;
                    if (failed(e)) return e;
                }
                if (F_ApiGetInt(doc, e, FP_ElementType) == FV_FO_TBL) {
                    if (r.InsideTable(e)) StatusCode = XformErr::TableInTable;
                    if (failed(e)) return e;
                }
            }
        }
        e = om_ElementNextInDocOrder(doc, e);
    }
    return 0;
}

void om_XformCheckStylesheet() {
    F_ObjHandleT doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) {
        al_ok("No active document. Cannot continue.");
        return;
    }
    if (!al_yesno("This command will check the active document for conformity to certain Quorvane rules, such as:\n\n "
                  "\t- All XPath expressions parse properly\n \t- All compound structures, such as QVRN_table "
                  "structures, are properly formed\n \t- All specified element tags in 'element_tag' attributes are "
                  "valid for the respective element type\n\nThis process is performed automatically before all "
                  "transformations, but this command will not perform any transformation... only the validation "
                  "step. Are you sure you want to continue?"))
        return;
    // The check always reports, whatever an earlier call from another client left.
    XformRunState.reportErrors = 1;
    XformPastedByMarkers.clear();
    om_XformPrepareStylesheet(doc, 0);
    IntT status = StatusCode;
    // The check leaves the document as it was: the template content the markers brought in goes.
    for (auto it = XformPastedByMarkers.rbegin(); it != XformPastedByMarkers.rend(); ++it)
        if (F_ApiGetObjectType(doc, *it) == FO_Element) F_ApiDelete(doc, *it);
    XformPastedByMarkers.clear();
    if (status == StatusNoStructure)
        al_ok("The active document appears to have no structure tree. Cannot continue.");
    else
        al_ok("Stylesheet check complete");
}
