// Values and operations of Node Wizard Scripts: operation codes, the string operations and the
// integer expression evaluator.
#include "nodewizard/script_values.h"

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "lib/host/element_text.h"
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
        return kNWSErrUnknownOperation;
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
