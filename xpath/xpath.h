// Folder xpath: the XPath engine. It uses fdk.h and the whole library (lib/); never nodewizard/,
// transform/ or plugin/.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: node_table xpath_text
//   2: host_reads xpath
//   3: axes errors parameters reset tokens
//   4: engine_setup
//   5: predicates report
//   6: navigator screen
//   7: compiler
//   8: listing runs
//   9: structapps
//
// The XPath engine's interface: compile an expression of the engine's dialect into the node
// table, run it over the host's structure tree one match at a time or all at once, substitute
// parameters, and report compile errors. Every subsystem that queries documents uses this.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"
#include "lib/state/match.h"
#include "lib/strings/function_ref.h"
#include "xpath/node_table.h"
#include "xpath/xpath_text.h"

// ---- error codes ----------------------------------------------------------------------------
enum XPathErrorCode : IntT {
    XPATH_ERR_BAD_ARG_AFTER_SLASH = 50105,
    XPATH_ERR_EMPTY_PREDICATE = 50109,
    XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP = 50115,
    XPATH_ERR_UNKNOWN_FUNCTION = 50122,
    XPATH_ERR_UNKNOWN_FM_PROP = 50123,
    XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE = 50126,
    XPATH_ERR_MIXED_AND_AND_OR = 50128,
    XPATH_ERR_BAD_ARG_AFTER_AXIS = 50129,
    XPATH_ERR_AXIS_FOLLOWING_ATTRIBUTE_AXIS = 50130,
    XPATH_ERR_AXIS_FOLLOWING_FM_PROP_AXIS = 50131,
    XPATH_ERR_MISPLACED_PERIOD = 50132,
    XPATH_ERR_COLON_IN_ELEMENT_NAME = 50134,
    XPATH_ERR_PERCENT_IN_ELEMENT_NAME = 50135,
    XPATH_ERR_ILLEGAL_BACKSLASH = 50137,
    XPATH_ERR_UNTERMINATED_STRING_LITERAL = 50141,
    XPATH_ERR_MISSING_NODE_TEST = 50143,
    XPATH_ERR_MISSING_LOGICAL_TEST_SECOND_TERM = 50150,
    XPATH_ERR_TOO_DAMNED_LONG = 50151,
    XPATH_ERR_SINGLE_SLASH_EXPRESSION = 50152,
    XPATH_ERR_UNKNOWN_AXIS = 50156,
    XPATH_ERR_BAD_ARG_AFTER_NODE_NAME = 50157,
    XPATH_ERR_BAD_ARG_AFTER_PREDICATE_START = 50158,
    XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END = 50159,
    XPATH_ERR_BAD_ARG_AFTER_OPERATOR = 50160,
    XPATH_ERR_MISPLACED_LITERAL = 50161,
    XPATH_ERR_MULTIPLE_OPERATORS = 50162,
    XPATH_ERR_BAD_ARG_AFTER_LITERAL = 50163,
    XPATH_ERR_MISPLACED_FUNCTION = 50164,
    XPATH_ERR_FUNCTION_MORE_THAN_TWO_ARGS = 50166,
    XPATH_ERR_MISPLACED_COMMA = 50167,
    XPATH_ERR_MISPLACED_RIGHT_PAREN = 50168,
    XPATH_ERR_BAD_PARENTHETICAL_PHRASE = 50169,
    XPATH_ERR_TOO_MANY_SLASHES = 50170,
    XPATH_ERR_OPERATOR_IN_FUNC_TERM = 50171,
    XPATH_ERR_BAD_ARG_AFTER_FUNCTION = 50172,
    XPATH_ERR_NOT_FUNC_HAS_MULTIPLE_ARGS = 50174,
    XPATH_ERR_BAD_LEFT_PARENTHESIS = 50175,
    XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL = 50177,
    XPATH_ERR_NO_INITIAL_SLASH = 50178,
};
// Any result above this is an error code, not a sequence number.
constexpr IntT XPathLastSequenceNumber = 50099;

// Message id of an error code ("" for a code outside the table).
const char *om_XPathErrorMessageId(IntT code);
// The English message of an error code ("" for a code outside the table).
const char *om_XPathErrorMessageText(IntT code);
// The text of a message id of the "General Strings" table in the current language (the
// MESSAGING ERROR text with the id when it has none); the English text while the translation
// system is not started.
std::string om_XPathMessage(const char *id, const char *english);
// The message shown for an error code: the translation of its id when the plug-in's
// translation is available, else the English text.
std::string om_XPathErrorMessage(IntT code);

// ---- tokeniser --------------------------------------------------------------------------------
IntT om_XPathNextToken(std::string_view text, IntT prev, std::string &out);
IntT om_XPathClassifyOperand(std::string_view text, std::string &out);
IntT om_XPathExtractName(std::string_view text, std::string &out);
IntT om_XPathExtractStringLiteral(std::string_view text, std::string &out);
const char *om_XPathAxisKeyword(UIntT axis);

// ---- compiler --------------------------------------------------------------------------------
IntT om_XPathCompile(std::string_view text, int reportErrors);
IntT om_XPathFindCompiled(std::string_view text);
IntT om_XPathScreenSyntax(const std::string &text, int reportErrors);
IntT om_XPathFindUnknownFunction(std::string_view masked);
IntT om_XPathFindUnknownFunctionAlt(std::string_view masked);
IntT om_XPathFindUnknownAxis(std::string_view masked);
IntT om_XPathExtractPredicate(std::string_view text, std::string &out);

// ---- navigator ---------------------------------------------------------------------------------
F_ObjHandleT om_FindNextNodeWithXpath(F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow,
                                      F_ObjHandleT *outDoc, IntT *outAttr);
// The matches that calls of om_FindNextNodeWithXpath one after another would return, each handed
// to take (node, attribute index, document) until the run ends or take answers false. The run
// keeps its place in the tree between matches: take must not change the documents (collect the
// matches, then act on them). False when the user stopped the run with Esc (CancelFlag is set).
bool om_XPathRunMatches(F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow,
                        qv::FunctionRef<bool(F_ObjHandleT, IntT, F_ObjHandleT)> take);
IntT om_XPathResetSequence(IntT sequence, int restoreParams);
void om_XPathResetSubtree(IntT index, int includeSelf, int restore);
void om_XPathResetNode(IntT index, int restore);
int om_XPathNodeTestMatches(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &test);
IntT om_XPathSiblingPosition(F_ObjHandleT doc, F_ObjHandleT node, F_ObjHandleT context, UIntT axis,
                             const std::string &test);
void om_XPathShowEngineMessage(const std::string &text);

// ---- predicates and comparisons ---------------------------------------------------------------
void om_XPathCopyOperand(IntT record, IntT child);
IntT om_XPathEvaluatePredicate(F_ObjHandleT doc, IntT record, IntT child);
IntT om_XPathEvaluateNot(IntT record);
IntT om_XPathEvaluateFunctionOnSelf(F_ObjHandleT doc, IntT record, F_ObjHandleT node, IntT attr);
// A predicate judged at once on one candidate after another, without walking its records: a
// comparison of one of the node's attributes with a literal ("@type='note'", "3 < @level"), or a
// function of the node's own value and a literal ("contains(., 'x')",
// which the compiler keeps as a comparison of the function's value with 'true').
struct XPathQuickPredicate {
    enum Form { None, AttributeComparison, FunctionOfSelf } form = None;
    IntT code = 0;               // the predicate's comparison, XT_EQ ... XT_LE
    std::string literal;         // the literal it compares with
    std::string name;            // AttributeComparison: the attribute step's test
    bool any = false;            //   "*" or "node()": any attribute
    bool attributeLeft = true;   //   the attribute is the left operand
    IntT function = 0;           // FunctionOfSelf: the function's record,
    IntT functionCode = 0;       //   its comparison (XT_CONTAINS ...),
    std::string argument;        //   its literal,
    IntT verdictIf[2] = {0, 0};  //   and the predicate's verdict when it is false, true
};
// Reads the predicate of a record; false (form None) when it is not judged at once.
bool om_XPathPrepareQuickPredicate(IntT record, XPathQuickPredicate &out);
// The verdict (XV_TRUE or XV_FALSE) the predicate's records would give on the candidate node
// (with attribute cursor attr); 0 when it cannot be judged at once there (an attribute
// comparison on an attribute cursor or a mark, no document). functionVerdict, when given,
// receives the verdict of a FunctionOfSelf's function.
IntT om_XPathJudgeQuickPredicate(F_ObjHandleT doc, const XPathQuickPredicate &p, F_ObjHandleT node, IntT attr,
                                 IntT *functionVerdict);
// The verdict of a predicate record judged at once, as om_XPathJudgeQuickPredicate gives it, with
// the record of a FunctionOfSelf's function left as its visit leaves it; 0 when the record is not
// judged at once (then nothing is changed).
IntT om_XPathEvaluateQuickPredicate(F_ObjHandleT doc, IntT record, F_ObjHandleT node, IntT attr);
int om_XPathCompareValueLists(const std::vector<std::string> &left, const std::vector<std::string> &right,
                              IntT code, int noNumbers, int exactCase);
int om_XPathCompareInts(long long a, long long b, IntT op);
F_ObjHandleT om_XPathTestFmProperty(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &test, IntT step);
void om_XPathFmPropertyValue(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, IntT code,
                             std::vector<std::string> &out);
IntT om_XPathMatchValues(F_ObjHandleT doc, F_ObjHandleT elem, std::vector<std::string> &out, IntT attrIndex,
                         IntT maxChars);

// ---- runs, limits and set-up -------------------------------------------------------------------
struct XPathLimitsT {
    IntT nodeLimit = 0;
    IntT maxMatches = 0;
    IntT maxLength = 255;
};
struct XPathEngineOptionsT {
    IntT allowFileOpening = 1;
    IntT attributeValueMode = 1;
    IntT maxTextChars = 255;
};
extern XPathLimitsT XPathLimits;
extern XPathEngineOptionsT XPathEngineOptions;
extern std::vector<std::string> XPathOpenedFiles;
struct XPathErrorReportPathsT {
    std::string templatePath;
    std::string reportPath;
};
extern XPathErrorReportPathsT XPathErrorReportPaths;

void om_XPathInitEngine(IntT nodeLimit, IntT maxLength, IntT maxMatches);
IntT om_XPathCheckNodeLimit();
void om_XPathSetNodeLimit(IntT v);
void om_XPathSetMaxMatches(IntT v);
void om_XPathSetMaxLength(IntT v);
IntT om_XPathGetNodeLimit();
IntT om_XPathGetMaxMatches();
void om_XPathSetAllowFileOpening(IntT v);
void om_XPathSetAttributeValueMode(IntT v);
void om_XPathSetMaxTextChars(IntT v);
// The scopes of a search without a start element: the main flow, every flow in turn, or else
// the flow whose id is given.
inline constexpr F_ObjHandleT XPATH_SCOPE_MAIN_FLOW = 0;
inline constexpr F_ObjHandleT XPATH_SCOPE_EVERY_FLOW = 2;
IntT xpath_MatchAll(F_ObjHandleT doc, F_ObjHandleT start, IntT contextAttr, IntT sequence, F_ObjHandleT scope,
                    IntT maxWanted, std::vector<Match> &out);
// The matched elements of the matches, in order.
std::vector<F_ObjHandleT> om_XPathMatchElements(const std::vector<Match> &matches);
std::vector<F_ObjHandleT> om_XPathListMatches(F_ObjHandleT doc, F_ObjHandleT start, std::string_view text,
                                              IntT maxWanted, std::vector<F_ObjHandleT> *outDocs, int report);
F_ObjHandleT om_XPathFindFirstMatch(F_ObjHandleT doc, F_ObjHandleT start, std::string_view text,
                                    F_ObjHandleT *outDoc, IntT *outAttr, int report);
int om_XPathMatchSeen(const Match &match, const std::vector<Match> &matches);
F_ObjHandleT om_XPathFindNextMatch(F_ObjHandleT doc, F_ObjHandleT start, IntT sequence, F_ObjHandleT flow);
std::vector<std::string> om_XPathGetMatchValues(F_ObjHandleT doc, F_ObjHandleT start, F_ObjHandleT flow,
                                                std::string_view text, int report);
UIntT om_XPathAxisOfExpression(std::string_view text, IntT sequence, int report);

// ---- parameters --------------------------------------------------------------------------------
extern const char *const XPathUndefinedParameter;
struct XPathParametersT {
    std::vector<std::string> names;   // without the leading "$"
    std::vector<std::string> values;
};
extern XPathParametersT XPathParameters;
void om_XPathSetParameter(std::string_view name, std::string_view value);
std::string om_XPathGetParameter(std::string_view name);
void om_XPathClearParameters();
std::vector<std::string> om_XPathSubstituteParameters(IntT sequence);
int om_XPathListParameterNodes(IntT sequence, std::vector<IntT> *out);

// ---- error report and listing ------------------------------------------------------------------
F_ObjHandleT om_XPathOpenErrorReport();
void om_XPathReportError(const std::string &text, IntT column, IntT code);
void om_XPathDumpCompiled(std::string_view text, IntT sequence);
// The listing text that om_XPathDumpCompiled prints.
std::string om_XPathCompiledListing(std::string_view text, IntT sequence);
// One line of an error-report entry: the element tag and its text ("" for XPathErrorHeading).
struct XPathReportLine {
    const char *tag;
    std::string text;
};
// The elements of one report entry for an error at a byte column of text.
std::vector<XPathReportLine> om_XPathReportEntry(const std::string &text, IntT column, IntT code);
