// Folder transform: the stylesheet transformation. It uses fdk.h, lib/, xpath/ and nodewizard/;
// never plugin/.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: setup setup_internal xform xform_internal
//   2: edits
//   3: progress report vocabulary
//   4: context errors rebase setup_framework
//   5: copy duplicate flow setup_query setup_table xrefs
//   6: params table
//   7: prepare setup_output
//   8: driver setup_element
//
// The stylesheet transformation: a stylesheet is a structured document whose Main flow mixes
// ordinary content with QVRN_ elements; transforming it runs those elements in place, in
// document order, against documents queried by XPath. This header is the whole interface of the
// subsystem: vocabulary and classifier, preparation and check, context, processors, parameters
// and templates, error entries, duplication, source-path rebasing, the driver and its palettes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"
#include "lib/state/xform.h"
#include "lib/state/xform_codes.h"

// ---- vocabulary --------------------------------------------------------------------------------
enum XformElementType : IntT {
    XT_None = 0,
    XT_CopyOf = 1,
    XT_ForEach = 2,
    XT_ValueOf = 3,
    XT_If = 4,
    XT_Choose = 5,
    XT_When = 6,
    XT_Otherwise = 7,
    XT_Table = 8,
    XT_TableTitle = 9,
    XT_TableHeading = 10,
    XT_TableBody = 11,
    XT_TableFooting = 12,
    XT_TableRow = 13,
    XT_TableCell = 14,
    XT_Sort = 15,
    XT_CreateXRef = 16,
    XT_SetAttribute = 17,
    XT_SetMarker = 18,
    XT_Template = 19,
    XT_Param = 20,
};
// The definition name of a type code ("" outside 1..20).
const char *om_XformTypeName(IntT type);
// The type code of a definition name (XT_None outside the vocabulary).
IntT om_XformTypeOfName(std::string_view name);
IntT om_XformElementType(F_ObjHandleT doc, F_ObjHandleT elem);
// The keyword settings of a stylesheet element, as the readers below give them.
enum XformDisposition : IntT { XD_Keep = 1, XD_Remove = 3 };            // qvrn_element
enum XformStartingContext : IntT { XS_Element = 1, XS_Inherit = 2 };    // starting_context
enum XformTargetElement : IntT { XTE_Parent = 5, XTE_PrecedingSibling = 10 };  // target_element
enum XformSortOrder : IntT { XSO_Ascending = 1, XSO_Descending = 2 };   // order
enum XformSortDataType : IntT { XSD_Numeric = 1, XSD_Text = 2 };        // data-type
IntT om_XformElementDisposition(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformStartingContext(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformContextDocIsLocal(F_ObjHandleT doc, F_ObjHandleT elem);   // 1, 0
IntT om_XformTargetElement(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformSortOrder(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformSortDataType(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformReadValueOfActions(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformGetContextDocId(F_ObjHandleT doc, F_ObjHandleT elem);
// The first value of an attribute; "" when it is absent, empty or the error sentinel.
std::string XformAttr(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name);
// Decimal reading of an attribute (0 when absent or not a number).
IntT XformAttrInt(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name);
// The column widths of a table element: twelve width texts in inches.
std::vector<std::string> om_XformColumnWidths(F_ObjHandleT doc, F_ObjHandleT table);

// ---- parameters in texts -------------------------------------------------------------------------
// Replaces each parameter name of XformParams by its value (quoted in double quotes when quote is
// set) where the name stands whole; outside quoted literals unless insideLiterals.
std::string XformSubstituteParams(const std::string &text, int quote, int insideLiterals);
// 1 when the text holds "$" outside literals (or anywhere with insideLiterals).
int XformHasDollar(const std::string &text, int insideLiterals);

// ---- preparation and check ---------------------------------------------------------------------
F_ObjHandleT om_XformPrepareStylesheet(F_ObjHandleT doc, IntT stop);
IntT om_XformParseSelectOrTest(F_ObjHandleT doc, F_ObjHandleT elem, IntT allowParams);
void om_XformCheckChoose(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformCheckPlacement(F_ObjHandleT doc, F_ObjHandleT elem, IntT type);
void om_XformCheckTable(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformCheckTableRows(F_ObjHandleT doc, F_ObjHandleT part, IntT columns);
void om_XformCheckTableCells(F_ObjHandleT doc, F_ObjHandleT row, IntT columns);
void om_XformCheckPartTag(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, IntT defType);
void om_XformCheckCreateXRef(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformCheckStylesheet();

// ---- context -----------------------------------------------------------------------------------
F_ObjHandleT om_XformContextDocument(F_ObjHandleT doc, F_ObjHandleT elem, IntT seq);
F_ObjHandleT om_XformOpenSourceFile(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformRememberOpenedFile(F_ObjHandleT id);
F_ObjHandleT om_XformContextNode(F_ObjHandleT doc, F_ObjHandleT elem, IntT seq);
void om_XformSetContextAttrs(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT ctxDoc, F_ObjHandleT ctxNode,
                             IntT attr, IntT recompile);
IntT om_XformSequenceNumber(F_ObjHandleT doc, F_ObjHandleT elem);

// One match of a query: the node, its attribute index (-1 an element) and its document.
struct XformMatch {
    F_ObjHandleT node = 0;
    IntT attr = -1;
    F_ObjHandleT doc = 0;
};
// The element's query set up as every processor does: sequence number, context document and node.
struct XformQuery {
    IntT seq = 0;
    F_ObjHandleT ctxDoc = 0;   // the document or book to query
    F_ObjHandleT ctxNode = 0;  // 0: the document's top
    bool self = false;         // the expression is ".": its one match is the context node
    // The documents to run over: ctxDoc, or a book's open components in order.
    std::vector<F_ObjHandleT> Documents() const;
};
// Fills q for the element; 0 with StatusCode on failure.
int XformBeginQuery(F_ObjHandleT doc, F_ObjHandleT elem, XformQuery &q);
// The matches of q in one document (the sequence reset first); skip decides matches to leave out.
std::vector<XformMatch> XformMatchesIn(const XformQuery &q, F_ObjHandleT qdoc, IntT maxWanted,
                                       F_ObjHandleT skipDoc, const std::vector<F_ObjHandleT> &skipInside);
// What a copy-of or value-of does once its query is set up and its content cleared: the matches
// of q (at most maxMatches when above 0) copied to the end of elem, flattened by act for a
// value-of. doc is brought to the front first unless the caller has (inFront).
void XformCopyMatches(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, const XformQuery &q, IntT maxMatches,
                      const XformValueOfActionsT &act, bool inFront = false);

// ---- processors --------------------------------------------------------------------------------
void om_XformRunCopyOf(F_ObjHandleT doc, F_ObjHandleT elem, IntT type);
void om_XformConvertForValueOf(F_ObjHandleT doc, F_ObjHandleT elem, IntT x, IntT k, IntT v, IntT q, IntT g);
void om_XformCheckCopyable(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformRunForEach(F_ObjHandleT doc, F_ObjHandleT elem);
F_ObjHandleT om_XformEvalTest(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT *outDoc);
IntT om_XformCompileParamTest(const std::string &test);
F_ObjHandleT om_XformRunIf(F_ObjHandleT doc, F_ObjHandleT elem);
F_ObjHandleT om_XformRunChoose(F_ObjHandleT doc, F_ObjHandleT elem);
F_ObjHandleT om_XformRunTable(F_ObjHandleT doc, F_ObjHandleT elem);
IntT om_XformRunTableRow(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT part, IntT test);
void om_XformApplyElementTag(F_ObjHandleT doc, F_ObjHandleT styleElem, F_ObjHandleT elem);
void om_XformRunCreateXRef(F_ObjHandleT doc, F_ObjHandleT launched, F_ObjHandleT elem);
IntT om_XformEnsureTargetId(F_ObjHandleT doc, F_ObjHandleT elem, std::string *id);
void om_XformRunSetAttribute(F_ObjHandleT doc, F_ObjHandleT elem, IntT type);
// The sort key of a match for a sort sequence: the first value of its first match from m; found
// (when given) says whether there was such a match.
std::string XformSortKey(F_ObjHandleT qdoc, F_ObjHandleT m, IntT sortSeq, bool *found = nullptr);
// -1, 0, 1: how key a compares with key b for the data type (1 numeric, 2 text).
int XformCompareKeys(const std::string &a, const std::string &b, IntT dataType);

// ---- parameters and templates ------------------------------------------------------------------
void om_XformRunParam(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformRunTemplateCall(F_ObjHandleT doc, F_ObjHandleT elem);
F_ObjHandleT om_XformFindTemplate(F_ObjHandleT doc, const std::string &flow, const std::string &id);
void om_XformExpandTemplateMarkers(F_ObjHandleT doc);
F_ObjHandleT om_XformOpenMarkerTemplateDoc(F_ObjHandleT doc, F_ObjHandleT marker, std::string *id);
void om_XformListTemplateIds(std::vector<std::string> *out, F_ObjHandleT doc);
// Sets an external parameter ("delete_all" empties the list).
void om_XformSetExternalParam(const std::string &name, const std::string &value);

// ---- error entries -----------------------------------------------------------------------------
// The message of a code for the stylesheet path (UnresolvedParameters needs the element: see om_XformReportError).
std::string om_XformErrorText(IntT code, const std::string &stylesheetPath);
void om_XformReportError(F_ObjHandleT stylesheet, F_ObjHandleT doc, F_ObjHandleT elem, IntT code, IntT level);

// ---- source paths after Save As ------------------------------------------------------------------
void om_XformRebaseSourcePaths(F_ObjHandleT doc, ConStringT previousPath, IntT save);
IntT om_XformRebaseSourcePathsInFlow(F_ObjHandleT doc, const std::string &path, F_ObjHandleT root,
                                     F_ObjHandleT docA, const std::string &pathA, F_ObjHandleT flow);

// ---- duplication ---------------------------------------------------------------------------------
// Sets the fixed open parameters of a document duplicate in a list of open parameters.
void om_XformPresetOpenParams(F_PropValsT *params);
F_ObjHandleT om_XformDuplicateDocument(F_ObjHandleT doc, const std::string &suffix);
F_ObjHandleT om_XformPrepareBookComponents(F_ObjHandleT book, IntT report);
F_ObjHandleT om_XformDuplicateBook(F_ObjHandleT book, const std::string &folder, std::string *failingPath);

// ---- driver and palettes -------------------------------------------------------------------------
IntT om_XformLaunch(IntT mode, IntT openOnly, IntT translate);
void om_XformUpdateDuplicateControls();
void om_XformCheckDuplicateOptions();
IntT om_XformTransformDocument(F_ObjHandleT doc, F_ObjHandleT stylesheet);
IntT om_XformTransformBook(F_ObjHandleT book);
// Sets the launch palette's folder for the transformed book ("None" when none was chosen).
void qv_XformSetLaunchFolder(ConStringT folder);
// Entry of the inter-client call TransformFile: target, folder or "NULL", report flag.
IntT om_XformTransformFile(F_ObjHandleT target, const std::string &folder, IntT report);

void om_XformOpenProgress();
void om_XformUpdateProgress(UIntT file, UIntT phase, UIntT dots);
void om_XformTickProgress();
void om_XformCloseProgress();
extern UIntT XformTickCounter;

// Every entry written to the error report this session, in order (the report holds them too).
struct XformReportEntry {
    IntT code = 0;
    IntT level = 0;
    F_ObjHandleT doc = 0;
    F_ObjHandleT elem = 0;
    std::string text;
};
extern std::vector<XformReportEntry> XformReportLog;
// The parameters listed as the unresolved-parameter message shows them.
std::string XformParamsListing();
// Writes one entry into the shared error report: heading (error or warning), link and text.
void XformWriteReportEntry(F_ObjHandleT doc, F_ObjHandleT elem, bool error, const std::string &text);
