// Transformation error entries: each failure of a run or of the stylesheet check becomes one
// entry of the shared error report (an error or warning heading, then the message with a
// hypertext link back to the stylesheet element). The texts are fixed English texts.
#include <string>
#include <utility>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

std::vector<XformReportEntry> XformReportLog;

namespace {
// The entries the last transformation or check reported.
[[maybe_unused]] const bool resetTransformationReportLog =
    om_RunStateRegister("transformation report log", RunStateKind::Run, [] {
        XformReportLog.clear();
    });
}  // namespace

namespace {

struct Message {
    IntT code;
    const char *text;
};

const Message kMessages[] = {
    {XformErr::Cancelled, "Operation canceled by user.  Stylesheet: %s"},
    {XformErr::MissingMarkup, "A transformation element appears to be missing the necessary attribute markup required for transformation. Quorvane uses several attributes during the transformation process, some of which may be hidden, depending on your EDD setup. Make sure that you are using QVRN elements in your EDD that comply exactly with the definitions published by Orle Meadow. Transformation will abort. Stylesheet file: %s"},
    {XformErr::NoSelect, "A 'select' attribute of a Quorvane element is missing the XPath expression.  Transformation is aborted.  Stylesheet file: %s"},
    {XformErr::BadExpression, "Could not parse the XPath expression found in a 'select' or 'test' attribute of a Quorvane element.  Transformation is aborted. Stylesheet file: %s"},
    {XformErr::SourceNotOpened, "Could not open the file specified in a 'source_file' attribute of a Quorvane element.  Check to make sure that the file name is valid, that it is a FrameMaker file, and that it is not currently in use by another user. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::NoContextDocument, "A Quorvane element has no file name specified in the 'source_file' attribute, and no ancestor Quorvane element has established a context document to work with. Therefore, Quorvane has no document to query with the XPath. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::ChapterNotOpened, "Could not open a chapter file for a book specified in a 'source_file' attribute. Check to make sure that no one else is currently using the file, and it doesn't have any other errors associated with opening it, such as missing file or font errors. For general opening errors, you can avoid this situation by opening the book manually before running the transformation. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::FreshDocNeedsRoot, "A document or book specified in a 'source_file' attribute is not part of any previous context, and the beginning axis in the 'select' XPath expression is not 'go-to-root'. Whenever you specify a 'fresh' document; that is, one that is not part of any previous context established by an ancestor QVRN element, you must begin your XPath with a forward slash (go-to-root). Otherwise, Quorvane has no context by which to begin the search.  The only exception to this is if you specify the 'Current' document for the query, and select the starting context as the 'QVRN element' itself. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::Critical, "A critical error occurred during transformation. Contact Quorvane support. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::ValueOfTable, "A 'QVRN_value-of' element attempted to copy the contents of a table or a table component element, which is not supported for QVRN_value-of elements. QVRN_value-of elements cannot copy the contents of FrameMaker tables. To get a whole table with structure, use QVRN_copy-of. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableTitle, "An QVRN element attempted to copy a table title element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableHeading, "An QVRN element attempted to copy a table heading element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableBody, "An QVRN element attempted to copy a table body element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableFooting, "An QVRN element attempted to copy a table footing element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableRow, "An QVRN element attempted to copy a table row element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopiedTableCell, "An QVRN element attempted to copy a table cell element to the stylesheet. Table component elements cannot be added directly to a stylesheet with QVRN_copy-of, QVRN_for-each, or QVRN_value-of elements. To build tables, use QVRN_table element constructions. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadChoose, "A bad QVRN_choose element structure was found. The children of QVRN_choose must be QVRN_when elements, except for the last one which can be QVRN_otherwise. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::WhenOutsideChoose, "An QVRN_when element was found without an QVRN_choose parent.  QVRN_when elements must be children of QVRN_choose elements. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::OtherwiseOutsideChoose, "An QVRN_otherwise element was found without an QVRN_choose parent.  QVRN_otherwise elements must be children of QVRN_choose elements. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableChildren, "An QVRN_table element was found with an invalid set of children. It must have at least an QVRN_tablebody element as a child, and can have up to four children, in this order only, and only one of each:   QVRN_tabletitle, QVRN_tableheading, QVRN_tablebody, QVRN_tablefooting. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableChild, "An QVRN_table element was found with an invalid child element. Only the following elements are the valid as children of QVRN_table: QVRN_tabletitle, QVRN_tableheading, QVRN_tablebody, QVRN_tablefooting. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadColumnCount, "An QVRN_table element has an invalid value specified for the 'num_columns' attribute. This number must be a valid integer representing the total number of columns in the transformed table, and must be between 1 and 12. Make sure that the attribute is populated and that it doesn't contain any alphabetic characters. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTablePartChild, "An QVRN_tablebody, QVRN_tableheading, or QVRN_tablefooting element has an invalid child element.  The only child element permitted with these elements is QVRN_tablerow. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::EmptyTableHeading, "An QVRN_tableheading element was found with no children. This element must have at least one QVRN_tablerow child. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::EmptyTableBody, "An QVRN_tablebody element was found with no children. This element must have at least one QVRN_tablerow child. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::EmptyTableFooting, "An QVRN_tablefooting element was found with no children. This element must have at least one QVRN_tablerow child. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::WrongCellCount, "An QVRN_tablerow element was found with a different number of QVRN_tablecell children than the number of columns specified at the QVRN_table element. In the QVRN_table structure, the number of cells under any given QVRN_tablerow element must match the number of columns specified in the 'num_columns' attribute of the QVRN_table element. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::NestedStylesheetTable, "An QVRN_table element was found nested under another QVRN_table element. FrameMaker does not permit nested tables, so this structure cannot be processed. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadRowChild, "An QVRN_tablerow element has an invalid child element. Only QVRN_tablecell elements can be children of QVRN_tablerow elements. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableTag, "The element tag specified for an QVRN_table element is not a valid table element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableTitleTag, "The element tag specified for an QVRN_tabletitle element is not a valid table title element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableHeadingTag, "The element tag specified for an QVRN_tableheading element is not a valid table heading element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableBodyTag, "The element tag specified for an QVRN_tablebody element is not a valid table body element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableFootingTag, "The element tag specified for an QVRN_tablefooting element is not a valid table footing element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableRowTag, "The element tag specified for an QVRN_tablerow element is not a valid table row element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadTableCellTag, "The element tag specified for an QVRN_tablecell element is not a valid table cell element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableTitle, "A misplaced QVRN_tabletitle element was found. This element can only be a child of an QVRN_table element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableHeading, "A misplaced QVRN_tableheading element was found. This element can only be a child of an QVRN_table element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableBody, "A misplaced QVRN_tablebody element was found. This element can only be a child of an QVRN_table element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableFooting, "A misplaced QVRN_tablefooting element was found. This element can only be a child of an QVRN_table element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableRow, "A misplaced QVRN_tablerow element was found. This element can only be a child of an QVRN_tableheading, QVRN_tablebody, or QVRN_tablefooting element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedTableCell, "A misplaced QVRN_tablecell element was found. This element can only be a child of an QVRN_tablerow element, and cannot appear anywhere else. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadColumnWidth, "An invalid column width setting was found on a QVRN_table element. All column widths must be between .25 and 20 inches. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::TableInTable, "A table was found nested inside an QVRN_table FrameMaker does not allow tables nested within tables. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::CopyOfAttribute, "The final axis on an QVRN_copy-of attribute specifies a match of an attribute.  QVRN_copy-of elements cannot copy an attributes as a structural component. If you wish to retrieve the value of an attribute, use an QVRN_value-of element. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::MisplacedSort, "A misplaced QVRN_sort element was found. An QVRN_sort element can only be processed as the first child of an QVRN_for-each or an QVRN_tablerow. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::XRefTargetNoId, "Quorvane attempted to create a cross-reference with an QVRN_create-xref element, but the element matched by the XPath expression does not have an 'ID' attribute.  All cross-reference sources must have this attribute. Transformation will continue. Stylesheet file: %s"},
    {XformErr::BadXRefTag, "The element tag specified for an QVRN_create-xref element is not a valid cross-reference element, according to the document's current EDD. Check the tag specified in the 'element_tag' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadXRefFormat, "The format specified for an QVRN_create-xref element is not a valid cross-reference format, according to the document's current template. Check the format specified in the 'format' attribute. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::BadXRefWrapper, "The wrapping element specified for an QVRN_create-xref element is not a valid element for wrapping the resulting cross-reference element. Generally, this element must be a Container-type element. Most other element types, such as graphics and table components, are not valid elements to wrap cross-reference elements. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::NoAttributeTarget, "A target element for an QVRN_set-attribute element could not be found. More than likely, the element specifies that an attribute on a preceding sibling should be set, but there is no preceding sibling element. Transformation will continue. Stylesheet file: %s"},
    {XformErr::NoMarkerTarget, "A target element for an QVRN_set-marker element could not be found. More than likely, the element specifies that the text of a preceding sibling marker element should be set, but there is no preceding sibling element. Transformation will continue. Stylesheet file: %s"},
    {XformErr::TargetLacksAttribute, "A target element for an QVRN_set-attribute element does not have the specified attribute. A value therefore cannot be set. Transformation will continue. Stylesheet file: %s"},
    {XformErr::TargetNotMarker, "A target element for an QVRN_set-marker element is not a marker element. A value therefore cannot be set. Transformation will continue. Stylesheet file: %s"},
    {XformErr::NoTemplateId, "An QVRN_template element is missing an ID in its 'template_ID' attribute. No template can be retrieved for this element without an ID. Transformation will continue. Stylesheet file: %s"},
    {XformErr::TemplateNotFound, "The corresponding template for an QVRN_template element could not be found, based on the specified template ID and source file. No template can be retrieved for this element. Check the template ID and source file. Transformation will continue. Stylesheet file: %s"},
    {XformErr::TemplateFailed, "A critical error occurred while processing the template content copied in by an QVRN_template element. Most likely, it was an XPath parsing error, caused by an QVRN element in the template with invalid XPath. Check your template carefully, making sure any QVRN elements within have parsable XPath, as applicable. Transformation is aborted. Stylesheet file: %s"},
    {XformErr::EmptyTemplateMarker, "An unstructured 'QVRN_template' marker contains no text. No template can be retrieved for this marker. Check the marker. Transformation will continue. Stylesheet file: %s"},
    {XformErr::BadTemplateMarker, "An unstructured 'QVRN_template' marker contains a syntax error in the text string. The string must be {filename}---{templateID}, otherwise it can't be parsed. The filename must be a simple file name to a local file, and the delimiting three dashes must be present exactly as shown. No template can be retrieved for this marker. Check the marker text. Transformation will continue. Stylesheet file: %s"},
    {XformErr::BadTemplateMarkerFile, "An unstructured 'QVRN_template' marker contains an invalid file name. The file name must be to a FrameMaker document, without any path information. Therefore, the file must be in the same folder as the stylesheet document. No template can be retrieved for this marker. Check the marker text. Transformation will continue. Stylesheet file: %s"},
    {XformErr::UnresolvedParameters, "The XPath expression:  \n\n'%s'\n\non a(n) %s element appears to have one or more parameters that cannot be resolved. A parameter is denoted by a dollar sign ($) and Quorvane considers all dollar signs to denote parameters if your preferences are set up as such. At the time this element was processed, the following parameters were defined:\n\n%s\n\nSee the Quorvane documentation for more information on how parameters are handled within Quorvane XPath. \n\nTransformation is aborted. Stylesheet file: %s"},
    {XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL, "An XPath expression could not be parsed. Transformation will abort. Stylesheet file: %s"},
    {XformErr::MarkerTemplateNotFound, "An unstructured 'QVRN_template' marker names a template that could not be found in the named file. No template can be retrieved for this marker. Check the template ID in the marker text and the template flow of the file. Transformation will continue. Stylesheet file: %s"},
};

const char *Lookup(IntT code) {
    for (const Message &m : kMessages)
        if (m.code == code) return m.text;
    return nullptr;
}

// Each "%s" of the text in turn by the next value; nothing else of the text is a format.
std::string Fill(const std::string &text, const std::vector<std::string> &values) {
    std::string out;
    size_t v = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's') {
            out += v < values.size() ? values[v] : std::string();
            ++v;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string om_XformErrorText(IntT code, const std::string &stylesheetPath) {
    const char *t = Lookup(code);
    if (!t)
        return "An unknown error occurred. The reported error constant is:\n\n" +
               std::to_string(static_cast<UIntT>(code)) + "\n\nPlease report this information to Orle Meadow.";
    return Fill(t, {stylesheetPath});
}

std::string XformParamsListing() {
    std::string list;
    for (size_t i = 0; i < XformParams.names.size() && i < XformParams.values.size(); ++i) {
        if (!list.empty()) list += "\n";
        list += XformParams.names[i] + " = " + XformParams.values[i];
    }
    return list.empty() ? "(none)\n" : list;
}

void om_XformReportError(F_ObjHandleT s, F_ObjHandleT k, F_ObjHandleT e, IntT code, IntT level) {
    std::string path = XformHostString(0, s, FP_Path);
    std::string text;
    if (code == XformErr::UnresolvedParameters) {
        std::string expr = XformAttr(k, e, "select");
        if (expr.empty()) expr = XformAttr(k, e, "test");
        text = Fill(Lookup(XformErr::UnresolvedParameters), {expr, om_ElementTag(k, e, 0), XformParamsListing(), path});
    } else {
        text = om_XformErrorText(code, path);
    }
    XformReportLog.push_back(XformReportEntry{code, level, k, e, text});
    XformWriteReportEntry(k, e, level == XformLevel::Error, text);
}
