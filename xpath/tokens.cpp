// The XPath tokeniser: reads one token at the parse cursor and classifies it, with the name or
// literal text it carries. The compiler calls it once per token.
#include "xpath/xpath.h"

#include <cstring>

namespace {

struct Keyword {
    const char *text;
    IntT code;
};

// Axis keywords in the order they are tried.
const Keyword kAxisKeywords[] = {
    {"self::", XA_SELF},
    {"child::", XA_CHILD},
    {"flow-any::", XA_FLOW_ANY},
    {"flow-body::", XA_FLOW_BODY},
    {"flow-master::", XA_FLOW_MASTER},
    {"flow-ref::", XA_FLOW_REF},
    {"parent::", XA_PARENT},
    {"descendant::", XA_DESCENDANT},
    {"descendant-or-self::", XA_DESCENDANT_OR_SELF},
    {"ancestor::", XA_ANCESTOR},
    {"ancestor-or-self::", XA_ANCESTOR_OR_SELF},
    {"attribute::", XA_ATTRIBUTE},
    {"preceding::", XA_PRECEDING},
    {"preceding-sibling::", XA_PRECEDING_SIBLING},
    {"following::", XA_FOLLOWING},
    {"following-sibling::", XA_FOLLOWING_SIBLING},
    {"fmprop::", XA_FMPROP},
    {"fmbook::", XA_FMBOOK},
    {"fmcomp::", XA_FMCOMP},
    {"fmchap::", XA_FMCHAP},
    {"fmfile::", XA_FMFILE},
};

const Keyword kFunctionKeywords[] = {
    {"position()", XT_POSITION},      {"last()", XT_LAST},
    {"contains(", XT_CONTAINS},       {"contains-ci(", XT_CONTAINS_CI},
    {"starts-with(", XT_STARTS_WITH}, {"starts-with-ci(", XT_STARTS_WITH_CI},
    {"not(", XT_NOT},
};

bool startsWith(std::string_view s, const char *p) { return s.substr(0, std::strlen(p)) == p; }

// Tokens after which "and " and "or " are names.
bool wordsAreNamesAfter(IntT p) {
    return p == XT_START || p == XT_LBRACKET || p == XT_AT || p == XT_SLASH || p == XT_DSLASH ||
           (p >= XA_SELF && p <= XA_ATTRIBUTE) || (p >= XA_FLOW_ANY && p <= XA_FLOW_REF) || p == XT_CONTAINS ||
           p == XT_NOT;
}

// Tokens after which a "$name" is a parameter used as a value.
bool parameterIsValueAfter(IntT p) {
    return (p >= XT_EQ && p <= XT_LE) || p == XT_COMMA || p == XT_LBRACKET || p == XT_AND || p == XT_OR ||
           (p >= XT_CONTAINS && p <= XT_STARTS_WITH_CI);
}

}  // namespace

const char *om_XPathAxisKeyword(UIntT axis) {
    for (const Keyword &k : kAxisKeywords)
        if (UIntT(k.code) == axis) return k.text;
    return "";
}

IntT om_XPathExtractName(std::string_view text, std::string &out) {
    size_t end = text.find_first_of(" []/=<>!@*,)");
    out.assign(text.substr(0, end));
    return out.empty() ? XPATH_ERR_MISSING_NODE_TEST : 0;
}

IntT om_XPathExtractStringLiteral(std::string_view text, std::string &out) {
    char quote = text.empty() ? 0 : text[0];
    size_t close = text.find(quote, 1);
    if (close == std::string_view::npos) {
        out.assign(text.substr(text.empty() ? 0 : 1));
        return XPATH_ERR_UNTERMINATED_STRING_LITERAL;
    }
    out.assign(text.substr(1, close - 1));
    return 0;
}

IntT om_XPathClassifyOperand(std::string_view text, std::string &out) {
    if (!text.empty() && (text[0] == '\'' || text[0] == '"')) {
        IntT rc = om_XPathExtractStringLiteral(text, out);
        return rc ? rc : XT_LITERAL;
    }
    IntT rc = om_XPathExtractName(text, out);
    if (rc) return rc;  // nothing that can start a name at the cursor
    return om_XPathIsInteger(out) ? XT_NUMBER : XT_NAME;
}

IntT om_XPathNextToken(std::string_view t, IntT prev, std::string &out) {
    // 1. punctuation
    if (startsWith(t, "//")) return XT_DSLASH;
    if (startsWith(t, "/")) return XT_SLASH;
    if (startsWith(t, "..")) return XT_DOTDOT;
    if (startsWith(t, ".")) return XT_DOT;
    if (startsWith(t, "(")) return XT_LPAREN;
    if (startsWith(t, ")")) return XT_RPAREN;
    if (startsWith(t, ",")) return XT_COMMA;
    if (startsWith(t, "*")) return XT_STAR;
    // 2. node tests
    if (om_XPathStartsWithCI(t, "node()")) return XT_NODE;
    if (om_XPathStartsWithCI(t, "text()")) return XT_TEXT;
    // 3. brackets
    if (startsWith(t, "[")) return XT_LBRACKET;
    if (startsWith(t, "]")) return XT_RBRACKET;
    // 4. axis keywords
    for (const Keyword &k : kAxisKeywords)
        if (om_XPathStartsWithCI(t, k.text)) return k.code;
    // 5.
    if (startsWith(t, "@")) return XT_AT;
    if (startsWith(t, " ")) return XT_BLANK;
    // 6. logic words, unless they can only be names here
    if (!wordsAreNamesAfter(prev)) {
        if (om_XPathStartsWithCI(t, "or ")) return XT_OR;
        if (om_XPathStartsWithCI(t, "and ")) return XT_AND;
    }
    // 7. operators
    if (startsWith(t, "<=")) return XT_LE;
    if (startsWith(t, ">=")) return XT_GE;
    if (startsWith(t, ">")) return XT_GT;
    if (startsWith(t, "<")) return XT_LT;
    if (startsWith(t, "=")) return XT_EQ;
    if (startsWith(t, "!=")) return XT_NE;
    // 8. functions
    for (const Keyword &k : kFunctionKeywords)
        if (om_XPathStartsWithCI(t, k.text)) return k.code;
    // 9. literals and names
    IntT code = om_XPathClassifyOperand(t, out);
    // 10. adjustments
    if (code == XT_LITERAL && prev == XA_FMFILE) {
        out = "\"" + out + "\"";
        return XT_NAME;
    }
    if (code == XT_NAME && !out.empty() && out[0] == '$' && parameterIsValueAfter(prev)) return XT_NUMBER;
    return code;
}
