// Small text helpers of the XPath engine: case-insensitive prefixes, integer literals, quote
// straightening, literal masking and bracket balance, all on whole std::strings.
#pragma once

#include <string>
#include <string_view>

#include "fdk.h"

// The text that failed lookups return; it counts as empty.
extern const char *const XPathErrorSentinel;

// 1 for "", or the error sentinel.
bool om_XPathTextIsEmpty(std::string_view s);
// 1 when s begins with prefix, ASCII letters compared without regard to case.
bool om_XPathStartsWithCI(std::string_view s, std::string_view prefix);
// 1 when s is digits with an optional leading minus (leading zeros allowed).
bool om_XPathIsInteger(std::string_view s);
// The value of an integer literal (saturating; callers test om_XPathIsInteger first).
long long om_XPathIntegerValue(std::string_view s);
// Curly quotes become straight ones.
std::string om_XPathStraightenQuotes(std::string_view s);
// Every byte inside a '...' or "..." literal becomes 'X' (quotes kept; an unclosed literal is
// masked to the end).
std::string om_XPathMaskLiterals(std::string_view s);
// -1 when every open token is closed; else the position of the earliest open token still open
// at the end, or of the first close token without an open one.
IntT om_XPathClausesAreTerminated(std::string_view s, char open, char close);
// Number of UTF-8 characters in s.
IntT om_XPathCharCount(std::string_view s);
// The text folded as the host folds case (ASCII letters and accented capitals).
std::string om_XPathLower(std::string_view s);
