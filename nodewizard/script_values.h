// Values and operations of Node Wizard Scripts: the operation codes of the string and numeric
// operation groups, the nine string operations, and the integer expression evaluator. Values a
// script computes go into the $-parameters that XPath expressions read.
#pragma once

#include <string>
#include <vector>

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

// Where an element that takes a value gets it from: its first value-source child.
enum class NWSValueSource { None, Static, Clipboard, Parameter, XPathSearch };

// A value source as read from the scripts document. What it yields is worked out when it is used
// (om_NWSValueOf): parameters, the clipboard and the target change while a script runs.
struct NWSValue {
    NWSValueSource source = NWSValueSource::None;
    F_ObjHandleT elem = 0;  // the value-source element: where its errors are reported
    std::string text;       // Static: the value (unescaped); Parameter: the name; XPathSearch: the expression
};

// An action's operand: its value source, or the element's own first paragraph (255 characters)
// when it has none.
struct NWSOperand {
    NWSValue value;
    std::string ownText;
};

// The value source of the element (Static_value, Current_clipboard, Parameter_value, XPath_search:
// the first such child); source None when it has none.
NWSValue om_NWSReadValue(F_ObjHandleT scriptsDoc, F_ObjHandleT valueElem);
// The element's value source together with its own text.
NWSOperand om_NWSReadOperand(F_ObjHandleT scriptsDoc, F_ObjHandleT elem);
// What a value source yields now; kNWSInvalidSetup for source None. An XPath search starts at the
// matched node of the target document; report 1 reports undefined parameters (UndefinedParameter).
std::string om_NWSValueOf(const NWSValue &value, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                          F_ObjHandleT matchedNode, IntT report);
// The operand's value, or its own text when the value is kNWSInvalidSetup.
std::string om_NWSOperandOf(const NWSOperand &operand, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                            F_ObjHandleT matchedNode, IntT report);
// The value of the element's value source read and worked out at once (see the two above).
std::string om_NWSResolveValue(F_ObjHandleT scriptsDoc, F_ObjHandleT valueElem, F_ObjHandleT targetDoc,
                               F_ObjHandleT matchedNode, IntT report);

// One operation of a StringOperations / NumericOperations group as read: its code, the text of
// each of its four operands (the last Arg or Math_expression child that sets it) and its result
// name.
struct NWSOperationRecord {
    F_ObjHandleT elem = 0;
    IntT code = kNWSOpUnknown;
    std::string operands[4];
    bool fromArg[4] = {false, false, false, false};  // an Arg's "$name" reads the parameter
    std::string resultName;
};
NWSOperationRecord om_NWSReadOperation(F_ObjHandleT scriptsDoc, F_ObjHandleT opElem);
// The four operands of an operation as they stand now ("$name" Args read their parameter) and its
// result name; unescape 1 unescapes the operands that are not the undefined-parameter text.
void om_NWSReadOperands(const NWSOperationRecord &op, std::string operands[4], std::string *resultName, IntT unescape);
// Runs the operations of a StringOperations / NumericOperations group on one match; nothing when
// any id is 0. Errors are counted and reported at the group.
void om_NWSRunStringOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOperationRecord> &ops,
                        F_ObjHandleT targetDoc, F_ObjHandleT matchedNode);
void om_NWSRunNumericOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOperationRecord> &ops,
                         F_ObjHandleT targetDoc, F_ObjHandleT matchedNode);
