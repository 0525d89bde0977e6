// Small text helpers of the XPath engine (see xpath_text.h).
#include "xpath/xpath_text.h"

#include <climits>
#include <vector>

#include "lib/strings/heapstr.h"

const char *const XPathErrorSentinel = "ThisIsAnERROR_ThisIsAnERROR ThisIsAnERROR_ThisIsAnERROR!";

namespace {
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
}  // namespace

bool om_XPathTextIsEmpty(std::string_view s) { return s.empty() || s == XPathErrorSentinel; }

bool om_XPathStartsWithCI(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(s[i]) != lowerAscii(prefix[i])) return false;
    return true;
}

bool om_XPathIsInteger(std::string_view s) {
    size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

long long om_XPathIntegerValue(std::string_view s) {
    bool neg = !s.empty() && s[0] == '-';
    long long v = 0;
    for (size_t i = neg ? 1 : 0; i < s.size(); ++i) {
        if (v > (LLONG_MAX - 9) / 10) { v = LLONG_MAX; break; }
        v = v * 10 + (s[i] - '0');
    }
    return neg ? -v : v;
}

std::string om_XPathStraightenQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        // U+2018 U+2019 (single) and U+201C U+201D (double): E2 80 98/99/9C/9D
        if (i + 2 < s.size() && (unsigned char)s[i] == 0xE2 && (unsigned char)s[i + 1] == 0x80) {
            unsigned char c = (unsigned char)s[i + 2];
            if (c == 0x98 || c == 0x99) { out += '\''; i += 2; continue; }
            if (c == 0x9C || c == 0x9D) { out += '"'; i += 2; continue; }
        }
        out += s[i];
    }
    return out;
}

std::string om_XPathMaskLiterals(std::string_view s) {
    std::string out(s);
    char quote = 0;
    for (char &c : out) {
        if (quote) {
            if (c == quote) quote = 0;
            else c = 'X';
        } else if (c == '\'' || c == '"') {
            quote = c;
        }
    }
    return out;
}

IntT om_XPathClausesAreTerminated(std::string_view s, char open, char close) {
    // Positions of the open tokens still open, innermost last.
    std::vector<IntT> stack;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == open) {
            stack.push_back(IntT(i));
        } else if (s[i] == close) {
            if (stack.empty()) return IntT(i);
            stack.pop_back();
        }
    }
    return stack.empty() ? -1 : stack.front();
}

IntT om_XPathCharCount(std::string_view s) {
    IntT n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string om_XPathLower(std::string_view s) { return qv::FoldCase(s); }
