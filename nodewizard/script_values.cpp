// Values and operations of Node Wizard Scripts: operation codes, the string operations and the
// integer expression evaluator.
#include "nodewizard/script_values.h"

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/state/nodewizard.h"
#include "nodewizard/clipboard.h"
#include "nodewizard/error_report.h"
#include "nodewizard/scripts_doc.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"
#include "xpath/xpath.h"

namespace {

struct OperationName {
    const char *tag;
    IntT code;
};

// The operation vocabulary, one row per operation element.
constexpr OperationName kOperations[] = {
    {"Str_op_add_strings", kNWSOpAddStrings},
    {"Str_op_trunc_by_chars", kNWSOpTruncByChars},
    {"Str_op_trunc_by_index", kNWSOpTruncByIndex},
    {"Str_op_rtrunc_by_index", kNWSOpRTruncByIndex},
    {"Str_op_replace", kNWSOpReplace},
    {"Str_op_reverse", kNWSOpReverse},
    {"Str_op_get_length", kNWSOpGetLength},
    {"Str_op_substring", kNWSOpSubstring},
    {"Str_op_index_of", kNWSOpIndexOf},
    {"Num_op_calculate_int_exp", kNWSOpCalculateIntExp},
};

// A leading decimal integer of the text (blanks skipped, optional sign, 0 when none).
IntT LeadingInt(const std::string &s) { return F_StrAlphaToInt(s.c_str()); }

// The number of characters of the text (UTF-8 characters when valid, else bytes).
IntT CharCount(const std::string &s) { return om_StrCharCount(s.c_str()); }

// The first n characters of the text (n within 0 and the character count).
std::string FirstChars(const std::string &s, IntT n) {
    std::vector<size_t> bounds = qv::CharBounds(s);
    return s.substr(0, bounds[static_cast<size_t>(n)]);
}

// The text without its first n characters (n within 0 and the character count).
std::string AfterChars(const std::string &s, IntT n) {
    std::vector<size_t> bounds = qv::CharBounds(s);
    return s.substr(bounds[static_cast<size_t>(n)]);
}

// 1 (exact) when the fourth operand asks for an exact search, else 0 (ignoring case).
IntT CaseFlagOf(const std::string &op4) {
    return (!op4.empty() && (op4[0] == 'y' || op4[0] == 'Y')) || op4 == "1" ? 1 : 0;
}

}  // namespace

IntT om_NWSOperationCodeOfName(const std::string &name) {
    for (const OperationName &op : kOperations) {
        if (om_StrEqualCI(op.tag, name.c_str())) return op.code;
    }
    return kNWSOpUnknown;
}

IntT om_NWSOperationCode(F_ObjHandleT scriptsDoc, F_ObjHandleT elem, ConStringT name) {
    if (elem) return om_NWSOperationCodeOfName(om_ElementTag(scriptsDoc, elem, 0));
    return om_NWSOperationCodeOfName(std::string(qv::View(name)));
}

IntT om_NWSStringOperation(IntT code, const std::string operands[4], std::string *result) {
    const std::string &text = operands[0];
    switch (code) {
    case kNWSOpAddStrings:
        *result = text + operands[1] + operands[2] + operands[3];
        return 0;
    case kNWSOpTruncByChars: {
        IntT n = LeadingInt(operands[1]), count = CharCount(text);
        *result = (n < 0 || n >= count) ? std::string() : FirstChars(text, count - n);
        return 0;
    }
    case kNWSOpTruncByIndex: {
        IntT n = LeadingInt(operands[1]), count = CharCount(text);
        *result = n <= 0 ? std::string() : n >= count ? text : FirstChars(text, n);
        return 0;
    }
    case kNWSOpRTruncByIndex: {
        IntT n = LeadingInt(operands[1]), count = CharCount(text);
        *result = n <= 0 ? text : n >= count ? std::string() : AfterChars(text, n);
        return 0;
    }
    case kNWSOpReplace: {
        StringT s = om_StrCopy(text.c_str());
        om_StrReplaceAll(&s, operands[1].c_str(), operands[2].c_str(), CaseFlagOf(operands[3]));
        *result = qv::View(s);
        om_StrFree(&s);
        return 0;
    }
    case kNWSOpReverse: {
        StringT s = om_StrCopy(text.c_str());
        om_StrReverseChars(&s);
        *result = qv::View(s);
        om_StrFree(&s);
        return 0;
    }
    case kNWSOpGetLength:
        *result = std::to_string(CharCount(text));
        return 0;
    case kNWSOpSubstring: {
        IntT start = LeadingInt(operands[1]), end = LeadingInt(operands[2]);
        IntT size = static_cast<IntT>(std::min<size_t>(text.size(), std::numeric_limits<IntT>::max()));
        if (start < 0 || end < 0 || end <= start || start >= size) {
            *result = std::string();
        } else {
            if (end > size) end = size;
            *result = text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
        }
        return 0;
    }
    case kNWSOpIndexOf:
        *result = std::to_string(om_StrIndexOf(text.c_str(), operands[1].c_str(), LeadingInt(operands[2]),
                                               CaseFlagOf(operands[3])));
        return 0;
    default:
        return NWResult::UnknownOperation;
    }
}

IntT om_EvalIntExpression(ConStringT text, IntT parametersFlag) {
    std::string_view all = qv::View(text);
    std::vector<std::string> tokens;
    size_t from = 0;
    for (;;) {
        size_t blank = all.find(' ', from);
        tokens.emplace_back(qv::TrimBlanks(all.substr(from, blank == std::string_view::npos ? all.npos : blank - from)));
        if (blank == std::string_view::npos) break;
        from = blank + 1;
    }
    if (!tokens.empty() && tokens.back().empty()) tokens.pop_back();

    // 32-bit signed arithmetic that wraps: computed on unsigned values.
    uint32_t result = 0;
    char pending = '+';
    for (std::string &token : tokens) {
        if (token == "+" || token == "-" || token == "*" || token == "/") {
            pending = token[0];
            continue;
        }
        if (parametersFlag == 1 && !token.empty() && token[0] == '$') token = om_XPathGetParameter(token);
        uint32_t number = static_cast<uint32_t>(LeadingInt(token));
        switch (pending) {
        case '+': result += number; break;
        case '-': result -= number; break;
        case '*': result *= number; break;
        case '/': {
            int32_t a = static_cast<int32_t>(result), b = static_cast<int32_t>(number);
            if (b == 0) result = 0;
            else if (a == std::numeric_limits<int32_t>::min() && b == -1) result = static_cast<uint32_t>(a);
            else result = static_cast<uint32_t>(a / b);
            break;
        }
        }
    }
    return static_cast<IntT>(result);
}

// ---- values and operation groups over the scripts document ----

namespace {

// Value-source texts are read cut to this many characters.
constexpr IntT kValueChars = 254;
// Operand texts are read cut to this many characters.
constexpr IntT kOperandChars = 2056;
// Result names are read cut to this many characters.
constexpr IntT kResultChars = 255;
// An element's own text, standing in for a missing value source, is read cut to this many
// characters.
constexpr IntT kOwnTextChars = 255;

std::string Unescaped(const std::string &text) {
    StringT s = om_StrCopy(text.c_str());
    om_StrUnescape(&s);
    std::string out(qv::View(s));
    om_StrFree(&s);
    return out;
}

// The text of a "$name" operand: the parameter's value (the undefined-parameter text when it has
// none); any other text as it stands.
std::string WithParameter(const std::string &text) {
    return !text.empty() && text[0] == '$' ? om_XPathGetParameter(text) : text;
}

// The value of an XPath_search: the first match from the matched node.
std::string SearchValue(F_ObjHandleT scriptsDoc, const NWSValue &source, F_ObjHandleT targetDoc,
                        F_ObjHandleT matchedNode, IntT report) {
    F_ApiSaveClipboard();
    IntT sequence = om_XPathCompile(source.text, 1);
    F_ApiRestoreClipboard();
    if (sequence > XPathLastSequenceNumber || sequence <= 0) return kNWSXPathParsingError;
    om_XPathResetSequence(sequence, 1);
    if (NodeWizardOptions.parametersInXPath == 1) {
        std::vector<std::string> undefined = om_XPathSubstituteParameters(sequence);
        if (report == 1)
            for (size_t i = 0; i < undefined.size(); ++i)
                om_NWReportActionError(scriptsDoc, source.elem, "", NWResult::UndefinedParameter, NWReportKind::Other);
    }
    F_ObjHandleT foundDoc = 0;
    IntT attr = -1;
    F_ObjHandleT found = om_FindNextNodeWithXpath(targetDoc, sequence, matchedNode, 0, &foundDoc, &attr);
    if (!found) return std::string();
    if (!foundDoc) foundDoc = targetDoc;
    if (attr >= 0) {
        std::string value;
        return om_AttrGetValueAt(foundDoc, found, attr, &value) < 0 ? std::string() : value;
    }
    return om_NWSFirstPgf(foundDoc, found, XPathLimits.maxLength);
}

// Applies the collected errors of one operation group: counted, and reported at the group when
// other errors are reported.
void ApplyGroupErrors(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<IntT> &errors) {
    for (IntT code : errors) {
        ++NodeWizardQuery.otherFailures;
        if (NodeWizardRun.otherSuccesses > 0) --NodeWizardRun.otherSuccesses;
        if (NodeWizardOptions.reportOtherErrors == 1)
            om_NWReportActionError(scriptsDoc, group, "", code, NWReportKind::Other);
    }
}

bool AnyUndefined(const std::string operands[4]) {
    for (int i = 0; i < 4; ++i)
        if (operands[i] == UndefinedParamSentinel) return true;
    return false;
}

// Runs the operations of a group; stringOps chooses the string or the numeric kind.
void RunOperationGroup(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOperationRecord> &ops,
                       F_ObjHandleT targetDoc, F_ObjHandleT matchedNode, bool stringOps) {
    if (!scriptsDoc || !group || !targetDoc || !matchedNode) return;
    std::vector<IntT> errors;
    for (const NWSOperationRecord &op : ops) {
        std::string operands[4], resultName;
        om_NWSReadOperands(op, operands, &resultName, stringOps ? 1 : 0);
        ++NodeWizardRun.otherSuccesses;
        if (AnyUndefined(operands)) {
            errors.push_back(NWResult::MissingResultOrOperand);
        } else if (stringOps) {
            std::string value;
            if (om_NWSStringOperation(op.code, operands, &value) == 0)
                om_XPathSetParameter(resultName, value);
            else
                errors.push_back(NWResult::UnknownOperation);
        } else if (op.code == kNWSOpCalculateIntExp) {
            om_XPathSetParameter(resultName, std::to_string(om_EvalIntExpression(operands[0].c_str(), 1)));
        } else {
            errors.push_back(NWResult::UnknownOperation);
        }
        om_PollUserCancel();  // a confirmed cancel sets CancelFlag
        if (CancelFlag) break;
    }
    ApplyGroupErrors(scriptsDoc, group, errors);
}

}  // namespace

NWSValue om_NWSReadValue(F_ObjHandleT scriptsDoc, F_ObjHandleT valueElem) {
    NWSValue v;
    if (!scriptsDoc || !valueElem) return v;
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, valueElem, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        std::string tag = om_ElementTag(scriptsDoc, c, 0);
        if (om_StrEqualCI(tag.c_str(), "Static_value"))
            v.source = NWSValueSource::Static;
        else if (om_StrEqualCI(tag.c_str(), "Current_clipboard"))
            v.source = NWSValueSource::Clipboard;
        else if (om_StrEqualCI(tag.c_str(), "Parameter_value"))
            v.source = NWSValueSource::Parameter;
        else if (om_StrEqualCI(tag.c_str(), "XPath_search"))
            v.source = NWSValueSource::XPathSearch;
        else
            continue;
        v.elem = c;
        if (v.source == NWSValueSource::Static)
            v.text = Unescaped(om_NWSFirstPgf(scriptsDoc, c, kValueChars));
        else if (v.source != NWSValueSource::Clipboard)
            v.text = om_NWSFirstPgf(scriptsDoc, c, kValueChars);
        break;
    }
    return v;
}

NWSOperand om_NWSReadOperand(F_ObjHandleT scriptsDoc, F_ObjHandleT elem) {
    NWSOperand operand;
    operand.value = om_NWSReadValue(scriptsDoc, elem);
    operand.ownText = om_NWSFirstPgf(scriptsDoc, elem, kOwnTextChars);
    return operand;
}

std::string om_NWSValueOf(const NWSValue &value, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                          F_ObjHandleT matchedNode, IntT report) {
    switch (value.source) {
    case NWSValueSource::Static:
        return value.text;
    case NWSValueSource::Clipboard: {
        StringT text = om_NWReadScratchPad(scriptsDoc, 0, 1);
        std::string out(qv::View(text));
        om_StrFree(&text);
        return out;
    }
    case NWSValueSource::Parameter: {
        std::string v = om_XPathGetParameter(value.text);
        if (v != UndefinedParamSentinel) return v;
        if (report == 1)
            om_NWReportActionError(scriptsDoc, value.elem, "", NWResult::UndefinedParameter, NWReportKind::Other);
        return std::string();
    }
    case NWSValueSource::XPathSearch:
        return SearchValue(scriptsDoc, value, targetDoc, matchedNode, report);
    case NWSValueSource::None:
        break;
    }
    return kNWSInvalidSetup;
}

std::string om_NWSOperandOf(const NWSOperand &operand, F_ObjHandleT scriptsDoc, F_ObjHandleT targetDoc,
                            F_ObjHandleT matchedNode, IntT report) {
    std::string value = om_NWSValueOf(operand.value, scriptsDoc, targetDoc, matchedNode, report);
    if (value == kNWSInvalidSetup) return operand.ownText;
    return value;
}

std::string om_NWSResolveValue(F_ObjHandleT scriptsDoc, F_ObjHandleT valueElem, F_ObjHandleT targetDoc,
                               F_ObjHandleT matchedNode, IntT report) {
    return om_NWSValueOf(om_NWSReadValue(scriptsDoc, valueElem), scriptsDoc, targetDoc, matchedNode, report);
}

NWSOperationRecord om_NWSReadOperation(F_ObjHandleT scriptsDoc, F_ObjHandleT opElem) {
    NWSOperationRecord op;
    op.elem = opElem;
    if (!opElem) return op;
    op.code = om_NWSOperationCode(scriptsDoc, opElem, nullptr);
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, opElem, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        std::string tag = om_ElementTag(scriptsDoc, c, 0);
        if (om_StrEqualCI(tag.c_str(), "Math_expression")) {
            op.operands[0] = om_NWSFirstPgf(scriptsDoc, c, kOperandChars);
            op.fromArg[0] = false;
        } else if (om_StrEqualCI(tag.c_str(), "Result")) {
            op.resultName = qv::TrimBlanks(om_NWSFirstPgf(scriptsDoc, c, kResultChars));
        } else {
            static const char *const kArgs[] = {"Arg1", "Arg2", "Arg3", "Arg4"};
            for (int i = 0; i < 4; ++i) {
                if (!om_StrEqualCI(tag.c_str(), kArgs[i])) continue;
                op.operands[i] = om_NWSFirstPgf(scriptsDoc, c, kOperandChars);
                op.fromArg[i] = true;
            }
        }
    }
    return op;
}

void om_NWSReadOperands(const NWSOperationRecord &op, std::string operands[4], std::string *resultName, IntT unescape) {
    for (int i = 0; i < 4; ++i) operands[i] = op.fromArg[i] ? WithParameter(op.operands[i]) : op.operands[i];
    *resultName = op.resultName;
    if (unescape == 1)
        for (int i = 0; i < 4; ++i)
            if (operands[i] != UndefinedParamSentinel) operands[i] = Unescaped(operands[i]);
}

void om_NWSRunStringOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOperationRecord> &ops,
                        F_ObjHandleT targetDoc, F_ObjHandleT matchedNode) {
    RunOperationGroup(scriptsDoc, group, ops, targetDoc, matchedNode, true);
}

void om_NWSRunNumericOps(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOperationRecord> &ops,
                         F_ObjHandleT targetDoc, F_ObjHandleT matchedNode) {
    RunOperationGroup(scriptsDoc, group, ops, targetDoc, matchedNode, false);
}
