// The compiler's syntax screen: faults easier to see in the whole text than token by token
// (length, unbalanced brackets, unknown functions and axes, stray backslashes, empty predicates).
#include "xpath/xpath.h"

#include <cstring>

namespace {

const char *const kFunctionNames[] = {"position", "last",           "node",        "text",          "not",
                                      "contains", "contains-ci",    "starts-with", "starts-with-ci"};

const char *const kAxisNames[] = {"self",      "child",          "flow-any",           "flow-body",
                                  "flow-master", "flow-ref",     "parent",             "descendant",
                                  "descendant-or-self", "ancestor", "ancestor-or-self", "attribute",
                                  "preceding", "preceding-sibling", "following",       "following-sibling",
                                  "fmprop",    "fmbook",         "fmcomp",             "fmchap",
                                  "fmfile"};

// Start of the word that ends at end, read backwards up to a delimiter.
size_t wordStart(std::string_view s, size_t end, const char *delimiters) {
    size_t j = end;
    while (j > 0 && !std::strchr(delimiters, s[j - 1])) --j;
    return j;
}

template <size_t N>
bool oneOf(std::string_view word, const char *const (&names)[N]) {
    for (const char *n : names)
        if (word == n) return true;
    return false;
}

// Checks the "(" at index i: above 0 (the column of the name before it plus 1) when that name
// is no allowed function name, or the function's parentheses are wrongly empty or filled; 0
// when the call is well formed.
IntT functionCallFault(std::string_view s, size_t i) {
    size_t j = wordStart(s, i, " []/=<>!.@*,)(:");
    std::string_view name = s.substr(j, i - j);
    if (!oneOf(name, kFunctionNames)) return IntT(j) + 1;
    bool closesAtOnce = i + 1 < s.size() && s[i + 1] == ')';
    bool takesNoArgument = name == "position" || name == "last" || name == "node" || name == "text";
    if (closesAtOnce != takesNoArgument) return IntT(j) + 1;
    return 0;
}

}  // namespace

// Above 0 when a "(" follows something that is no allowed function name, or a function's
// parentheses are wrongly empty or filled: the value minus 1 is the column of the name.
// The "(" are checked from the last to the first; the first fault found is returned, -1 if none.
IntT om_XPathFindUnknownFunction(std::string_view s) {
    for (size_t i = s.rfind('('); i != std::string_view::npos; i = i ? s.rfind('(', i - 1) : std::string_view::npos) {
        if (IntT fault = functionCallFault(s, i)) return fault;
        if (i == 0) break;
    }
    return -1;
}

// The same screen reached another way: the "(" are found from the front of the reversed text
// (so again from the last to the first of the text) and each is checked in the text itself.
IntT om_XPathFindUnknownFunctionAlt(std::string_view s) {
    std::string reversed(s.rbegin(), s.rend());
    for (size_t r = reversed.find('('); r != std::string::npos; r = reversed.find('(', r + 1))
        if (IntT fault = functionCallFault(s, s.size() - 1 - r)) return fault;
    return -1;
}

// Column of the first word before a "::" (searching from the end) that is not a lower-case
// axis name; -1 when every one is.
IntT om_XPathFindUnknownAxis(std::string_view s) {
    for (size_t i = s.rfind("::"); i != std::string_view::npos; i = i ? s.rfind("::", i - 1) : std::string_view::npos) {
        size_t j = wordStart(s, i, " []/=<>!.@*,)(");
        if (!oneOf(s.substr(j, i - j), kAxisNames)) return IntT(j);
        if (i == 0) break;
    }
    return -1;
}

// Screens the whole text (quotes already straightened); 0 or the code of the first fault,
// reported at its column with the report flag.
IntT om_XPathScreenSyntax(const std::string &text, int reportErrors) {
    std::string masked = om_XPathMaskLiterals(text);
    IntT code = 0, column = 0;
    size_t at;
    if (XPathLimits.maxLength >= 0 && text.size() > size_t(XPathLimits.maxLength)) {
        code = XPATH_ERR_TOO_DAMNED_LONG;
        column = 1;
    } else if ((column = om_XPathClausesAreTerminated(masked, '(', ')')) != -1) {
        code = XPATH_ERR_BAD_PARENTHETICAL_PHRASE;
    } else if ((column = om_XPathClausesAreTerminated(masked, '[', ']')) != -1) {
        code = XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP;
    } else if ((at = masked.find("///")) != std::string::npos) {
        code = XPATH_ERR_TOO_MANY_SLASHES;
        column = IntT(at);
    } else if (masked == "/") {
        code = XPATH_ERR_SINGLE_SLASH_EXPRESSION;
        column = 0;
    } else if ((column = om_XPathFindUnknownFunction(masked)) > 0) {
        code = XPATH_ERR_UNKNOWN_FUNCTION;
        column -= 1;
    } else if ((column = om_XPathFindUnknownAxis(masked)) != -1) {
        code = XPATH_ERR_UNKNOWN_AXIS;
    } else if ((at = masked.find('\\')) != std::string::npos) {
        code = XPATH_ERR_ILLEGAL_BACKSLASH;
        column = IntT(at) - 1;
    } else if ((at = masked.find("[]")) != std::string::npos || (at = masked.find("[ ]")) != std::string::npos) {
        code = XPATH_ERR_EMPTY_PREDICATE;
        column = IntT(at) - 1;
    }
    if (code && reportErrors == 1) om_XPathReportError(text, column, code);
    return code;
}
