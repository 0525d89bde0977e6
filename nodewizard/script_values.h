// Values and operations of Node Wizard Scripts: the operation codes of the string and numeric
// operation groups, the nine string operations, and the integer expression evaluator. Values a
// script computes go into the $-parameters that XPath expressions read.
#pragma once

#include <string>

#include "fdk.h"
#include "lib/state/nodewizard_codes.h"

// Operation codes, from the tag of an operation element (compared ignoring case).
enum NWSOperation : IntT {
    kNWSOpUnknown = 1,
    kNWSOpAddStrings = 101,
    kNWSOpTruncByChars = 102,
    kNWSOpTruncByIndex = 103,
    kNWSOpRTruncByIndex = 104,
    kNWSOpReplace = 105,
    kNWSOpReverse = 106,
    kNWSOpGetLength = 107,
    kNWSOpSubstring = 108,
    kNWSOpIndexOf = 109,
    kNWSOpCalculateIntExp = 201,
};

// The operation code of a tag name (ignoring case); kNWSOpUnknown for any other name.
IntT om_NWSOperationCodeOfName(const std::string &name);

// The operation code of an operation element's tag, or of the name when elem is 0.
IntT om_NWSOperationCode(F_ObjHandleT scriptsDoc, F_ObjHandleT elem, ConStringT name);

// One string operation (codes 101 to 109) over its four operands. Stores the value in *result and
// answers 0, or answers NWResult::UnknownOperation for any other code (result unchanged).
IntT om_NWSStringOperation(IntT code, const std::string operands[4], std::string *result);

// Evaluates an integer expression: tokens split at single blanks, applied left to right with no
// precedence, "+" pending at the start; "$" tokens read parameters when the flag is 1; words that
// are not numbers count as 0; division by 0 gives 0; 32-bit arithmetic wraps. Never fails.
IntT om_EvalIntExpression(ConStringT text, IntT parametersFlag);

// ---- values and operation groups over the scripts document ----

// The value-source texts that stand in for a value that cannot be produced.
inline constexpr const char *kNWSInvalidSetup = "SCRIPT ERROR - INVALID ELEMENT SETUP";
inline constexpr const char *kNWSXPathParsingError = "XPATH PARSING ERROR!";

// The value of the first value-source child of the element (Static_value, Current_clipboard,
// Parameter_value, XPath_search); kNWSInvalidSetup when it has none. An XPath search starts at
// the matched node of the target document; report 1 reports undefined parameters (UndefinedParameter).
std::string om_NWSResolveValue(F_ObjHandleT scriptsDoc, F_ObjHandleT valueElem, F_ObjHandleT targetDoc,
                               F_ObjHandleT matchedNode, IntT report);
// The four operands and the result name of an operation element (see the operation groups).
void om_NWSReadOperands(F_ObjHandleT scriptsDoc, F_ObjHandleT opElem, std::string operands[4], std::string *resultName,
                        IntT unescape);
// Runs every child of a StringOperations / NumericOperations group on one match; nothing when any
// id is 0. Errors are counted and reported at the group.
void om_NWSRunStringOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matchedNode);
void om_NWSRunNumericOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc,
                         F_ObjHandleT matchedNode);
