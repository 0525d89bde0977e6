// The XPath engine's error codes: message ids (looked up in the "General Strings" table of the
// current language) and the English texts shown when no translation is at hand.
#include "xpath/xpath.h"

#include "lib/translation/lang.h"

namespace {

struct ErrorRow {
    IntT code;
    const char *id;
    const char *english;
};

const ErrorRow kErrors[] = {
    {50105, "XPATH_ERR_BAD_ARG_AFTER_SLASH", "A slash must be followed by a node test, an axis or \"@\"."},
    {50109, "XPATH_ERR_EMPTY_PREDICATE", "A predicate ([...]) is empty."},
    {50115, "XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP", "A square bracket is not closed, or a closing bracket has no opening one."},
    {50122, "XPATH_ERR_UNKNOWN_FUNCTION", "Unknown function, or a function written with wrong parentheses."},
    {50123, "XPATH_ERR_UNKNOWN_FM_PROP", "Unknown property name after fmprop::."},
    {50126, "XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE", "A predicate could not be read (brackets nested too deeply?)."},
    {50128, "XPATH_ERR_MIXED_AND_AND_OR", "\"and\" and \"or\" cannot be mixed, and \"or\" cannot be combined with a second predicate."},
    {50129, "XPATH_ERR_BAD_ARG_AFTER_AXIS", "An axis must be followed by a node test."},
    {50130, "XPATH_ERR_AXIS_FOLLOWING_ATTRIBUTE_AXIS", "No step may follow an attribute step."},
    {50131, "XPATH_ERR_AXIS_FOLLOWING_FM_PROP_AXIS", "No step may follow an fmprop step."},
    {50132, "XPATH_ERR_MISPLACED_PERIOD", "A period (\".\" or \"..\") is not allowed here."},
    {50134, "XPATH_ERR_COLON_IN_ELEMENT_NAME", "An element name contains a colon."},
    {50135, "XPATH_ERR_PERCENT_IN_ELEMENT_NAME", "An element name contains a percent sign."},
    {50137, "XPATH_ERR_ILLEGAL_BACKSLASH", "A backslash is not allowed outside a quoted literal."},
    {50141, "XPATH_ERR_UNTERMINATED_STRING_LITERAL", "A quoted literal is not closed."},
    {50143, "XPATH_ERR_MISSING_NODE_TEST", "A node test is missing."},
    {50150, "XPATH_ERR_MISSING_LOGICAL_TEST_SECOND_TERM", "A logical test lacks its second term."},
    {50151, "XPATH_ERR_TOO_DAMNED_LONG", "The expression is too long."},
    {50152, "XPATH_ERR_SINGLE_SLASH_EXPRESSION", "A single slash is not an expression."},
    {50156, "XPATH_ERR_UNKNOWN_AXIS", "Unknown axis (axis names are written in lower case)."},
    {50157, "XPATH_ERR_BAD_ARG_AFTER_NODE_NAME", "Unexpected text after a node name."},
    {50158, "XPATH_ERR_BAD_ARG_AFTER_PREDICATE_START", "Unexpected text at the start of a predicate or argument."},
    {50159, "XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END", "Unexpected text after a predicate."},
    {50160, "XPATH_ERR_BAD_ARG_AFTER_OPERATOR", "Unexpected text after an operator."},
    {50161, "XPATH_ERR_MISPLACED_LITERAL", "A literal is only allowed inside a predicate or a function argument."},
    {50162, "XPATH_ERR_MULTIPLE_OPERATORS", "A predicate holds more than one operator."},
    {50163, "XPATH_ERR_BAD_ARG_AFTER_LITERAL", "Unexpected text after a literal."},
    {50164, "XPATH_ERR_MISPLACED_FUNCTION", "A function is only allowed inside a predicate or a function argument."},
    {50166, "XPATH_ERR_FUNCTION_MORE_THAN_TWO_ARGS", "A function takes at most two arguments."},
    {50167, "XPATH_ERR_MISPLACED_COMMA", "A comma is only allowed between function arguments."},
    {50168, "XPATH_ERR_MISPLACED_RIGHT_PAREN", "A closing parenthesis outside a function."},
    {50169, "XPATH_ERR_BAD_PARENTHETICAL_PHRASE", "A parenthesis is not closed, or a closing parenthesis has no opening one."},
    {50170, "XPATH_ERR_TOO_MANY_SLASHES", "Three slashes in a row."},
    {50171, "XPATH_ERR_OPERATOR_IN_FUNC_TERM", "An operator is not allowed inside a function argument."},
    {50172, "XPATH_ERR_BAD_ARG_AFTER_FUNCTION", "Unexpected text after a function."},
    {50174, "XPATH_ERR_NOT_FUNC_HAS_MULTIPLE_ARGS", "not() takes one argument."},
    {50175, "XPATH_ERR_BAD_LEFT_PARENTHESIS", "An opening parenthesis that starts no function."},
    {50177, "XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL", "A parameter test could not be read."},
    {50178, "XPATH_ERR_NO_INITIAL_SLASH", "The expression must begin with a slash."},
};

const ErrorRow *findRow(IntT code) {
    for (const ErrorRow &r : kErrors)
        if (r.code == code) return &r;
    return nullptr;
}

}  // namespace

const char *om_XPathErrorMessageId(IntT code) {
    const ErrorRow *r = findRow(code);
    return r ? r->id : "";
}

const char *om_XPathErrorMessageText(IntT code) {
    const ErrorRow *r = findRow(code);
    return r ? r->english : "";
}

std::string om_XPathMessage(const char *id, const char *english) {
    // The built-in English serves only an engine running without the translation system; once
    // that is up, a message it cannot find is its MESSAGING ERROR text with the id, as elsewhere.
    std::string fallback = english ? english : "";
    if (!id || !*id || !om_LangIsReady()) return fallback;
    return qv::LangMessage(id);
}

std::string om_XPathErrorMessage(IntT code) {
    const ErrorRow *r = findRow(code);
    return r ? om_XPathMessage(r->id, r->english) : std::string();
}
