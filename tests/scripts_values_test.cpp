// Script values and operations: the string operations and the integer expression.
#include <gtest/gtest.h>

#include <string>

#include "nodewizard/script_values.h"
#include "xpath/xpath.h"

namespace {

struct StringOpCase {
    const char *tag;
    const char *op1, *op2, *op3, *op4;
    const char *expected;
};

}  // namespace

TEST(ScriptValues, StringOperations) {
    const StringOpCase cases[] = {
        {"Str_op_add_strings", "ab", "", "c", "d", "abcd"},
        {"str_op_ADD_strings", "ab", "", "", "", "ab"},
        {"Str_op_trunc_by_chars", "abcdef", "2", "", "", "abcd"},
        {"Str_op_trunc_by_chars", "abcdef", "6", "", "", ""},
        {"Str_op_trunc_by_chars", "abcdef", "-1", "", "", ""},
        {"Str_op_trunc_by_chars", "\xC3\xA4\xC3\xB6x", "1", "", "", "\xC3\xA4\xC3\xB6"},
        {"Str_op_trunc_by_index", "abcdef", "2", "", "", "ab"},
        {"Str_op_trunc_by_index", "abcdef", "0", "", "", ""},
        {"Str_op_trunc_by_index", "abcdef", "99", "", "", "abcdef"},
        {"Str_op_rtrunc_by_index", "abcdef", "2", "", "", "cdef"},
        {"Str_op_rtrunc_by_index", "abcdef", "-3", "", "", "abcdef"},
        {"Str_op_rtrunc_by_index", "abcdef", "6", "", "", ""},
        {"Str_op_replace", "aXbx", "x", "-", "", "a-b-"},
        {"Str_op_replace", "aXbx", "x", "-", "yes", "aXb-"},
        {"Str_op_replace", "aXbx", "x", "-", "1", "aXb-"},
        {"Str_op_reverse", "a\xF0\x9F\x98\x80" "b", "", "", "", "b\xF0\x9F\x98\x80" "a"},
        {"Str_op_get_length", "a\xF0\x9F\x98\x80" "b", "", "", "", "3"},
        {"Str_op_get_length", "", "", "", "", "0"},
        {"Str_op_substring", "abcdef", "1", "3", "", "bc"},
        {"Str_op_substring", "abcdef", "3", "3", "", ""},
        {"Str_op_substring", "abcdef", "4", "99", "", "ef"},
        {"Str_op_substring", "abcdef", "-1", "3", "", ""},
        {"Str_op_substring", "abcdef", "6", "8", "", ""},
        {"Str_op_index_of", "aXbx", "x", "0", "", "1"},
        {"Str_op_index_of", "aXbx", "x", "0", "yes", "3"},
        {"Str_op_index_of", "aXbx", "q", "0", "", "-1"},
        {"Str_op_index_of", "aXbx", "x", "2", "", "3"},
    };
    for (const StringOpCase &c : cases) {
        std::string operands[4] = {c.op1, c.op2, c.op3, c.op4};
        std::string result = "unchanged";
        IntT code = om_NWSOperationCodeOfName(c.tag);
        EXPECT_EQ(om_NWSStringOperation(code, operands, &result), 0) << c.tag;
        EXPECT_EQ(result, c.expected) << c.tag << " " << c.op1 << " " << c.op2 << " " << c.op3 << " " << c.op4;
    }
}

TEST(ScriptValues, UnknownOperationsAreRefused) {
    std::string operands[4] = {"a", "", "", ""};
    std::string result = "kept";
    EXPECT_EQ(om_NWSOperationCodeOfName("Str_op_upper"), kNWSOpUnknown);
    EXPECT_EQ(om_NWSStringOperation(kNWSOpUnknown, operands, &result), NWResult::UnknownOperation);
    EXPECT_EQ(om_NWSStringOperation(kNWSOpCalculateIntExp, operands, &result), NWResult::UnknownOperation);
    EXPECT_EQ(result, "kept");
    EXPECT_EQ(om_NWSOperationCodeOfName("NUM_OP_CALCULATE_INT_EXP"), kNWSOpCalculateIntExp);
}

TEST(ScriptValues, IntegerExpressionRunsLeftToRight) {
    om_XPathClearParameters();
    om_XPathSetParameter("two", "2");
    om_XPathSetParameter("sum", "2 + 3");
    const struct {
        const char *text;
        IntT expected;
    } cases[] = {
        {"2 + 3 * 4", 20},     {"10 / 3", 3},          {"-7 / 2", -3},
        {"5 / 0", 0},          {"2 3", 5},             {"2 *  3", 0},
        {"", 0},               {"abc + 4", 4},         {"4 - 10", -6},
        {"$two * 5", 10},      {"$sum + 1", 3},        {"$undefined + 1", 1},
        {"2147483647 + 1", -2147483647 - 1},           {"-2147483648 / -1", -2147483647 - 1},
        {"7 ", 7},             {"3 - - 1", 2},
    };
    for (const auto &c : cases) EXPECT_EQ(om_EvalIntExpression(c.text, 1), c.expected) << c.text;
    // Without the parameters flag a "$" token is a word, read as 0.
    EXPECT_EQ(om_EvalIntExpression("$two + 1", 0), 1);
    om_XPathClearParameters();
}
