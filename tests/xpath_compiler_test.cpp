// The XPath compiler: node table shape, tokens, compiled trees, error codes and the cache.
#include <gtest/gtest.h>

#include "lib/globals.h"
#include "xpath/xpath.h"

namespace {

class XPathCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        om_XPathSetMaxLength(255);
    }
    static XPathNodeRecord &rec(IntT i) { return om_XPathRec(i); }
    static std::vector<IntT> children(IntT i) {
        std::vector<IntT> out;
        for (IntT c = rec(i).firstChild; c; c = rec(c).nextSibling) out.push_back(c);
        return out;
    }
};

TEST_F(XPathCompiler, TableStartsWithRecordZeroAndGrowsByHundred) {
    EXPECT_EQ(XPathNodeTable.capacity(), 1u);
    IntT s = om_XPathCompile("//a", 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(XPathNodeTable.capacity(), 101u);
    EXPECT_EQ(om_XPathStepNodeOf(s, 1), 3);
    EXPECT_EQ(om_XPathRec(3).axis, XA_ROOT);
    EXPECT_EQ(om_XPathRec(3).nodeTest, "node()");
    IntT last = om_XPathLastStep(s);
    EXPECT_EQ(rec(last).axis, XA_DESCENDANT_OR_SELF);
    EXPECT_EQ(rec(last).nodeTest, "a");
}

TEST_F(XPathCompiler, PathShapes) {
    IntT s = om_XPathCompile("/a", 0);
    auto steps = children(s + 1);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(rec(steps[0]).axis, XA_ROOT);
    EXPECT_EQ(rec(steps[1]).axis, XA_CHILD);
    EXPECT_EQ(rec(steps[1]).nodeTest, "a");
    s = om_XPathCompile("a", 0);
    steps = children(s + 1);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(rec(steps[0]).axis, XA_CHILD);
    s = om_XPathCompile("ancestor-or-self::x/following-sibling::*/@id", 0);
    steps = children(s + 1);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(rec(steps[0]).axis, XA_ANCESTOR_OR_SELF);
    EXPECT_EQ(rec(steps[1]).axis, XA_FOLLOWING_SIBLING);
    EXPECT_EQ(rec(steps[1]).nodeTest, "*");
    EXPECT_EQ(rec(steps[2]).axis, XA_ATTRIBUTE);
    EXPECT_EQ(rec(steps[2]).nodeTest, "id");
}

TEST_F(XPathCompiler, PositionAndFunctionPredicatesAreRewritten) {
    IntT s = om_XPathCompile("//a[3]", 0);
    IntT pred = rec(om_XPathLastStep(s)).firstChild;
    ASSERT_EQ(rec(pred).kind, XK_PREDICATE);
    auto ops = children(pred);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(rec(ops[0]).kind, XK_LITERAL_INTEGER);
    EXPECT_EQ(rec(ops[0]).valueText, "3");
    EXPECT_EQ(rec(ops[1]).kind, XK_POSITION);

    s = om_XPathCompile("//a[contains(@id, 'x')]", 0);
    pred = rec(om_XPathLastStep(s)).firstChild;
    ops = children(pred);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(rec(ops[0]).kind, XK_CONTAINS);
    EXPECT_EQ(rec(ops[1]).kind, XK_LITERAL_STRING);
    EXPECT_EQ(rec(ops[1]).valueText, "true");
    auto terms = children(ops[0]);
    ASSERT_EQ(terms.size(), 2u);
    EXPECT_EQ(rec(rec(terms[1]).firstChild).valueText, "x");
}

TEST_F(XPathCompiler, AndAndSecondBracketJoinAlike) {
    for (const char *e : {"//a[@x and @y]", "//a[@x][@y]"}) {
        IntT s = om_XPathCompile(e, 0);
        ASSERT_LT(s, 50100) << e;
        IntT step = om_XPathLastStep(s);
        EXPECT_EQ(rec(step).logic, UIntT(XT_AND)) << e;
        EXPECT_EQ(om_XPathCountChildren(step), 2) << e;
    }
    IntT s = om_XPathCompile("//a[@x or @y]", 0);
    EXPECT_EQ(rec(om_XPathLastStep(s)).logic, UIntT(XT_OR));
}

TEST_F(XPathCompiler, ComparisonAfterMainStepComparesItsOwnValue) {
    IntT s = om_XPathCompile("//a = 'x'", 0);
    ASSERT_LT(s, 50100);
    IntT pred = rec(om_XPathLastStep(s)).firstChild;
    ASSERT_EQ(rec(pred).kind, XK_PREDICATE);
    EXPECT_EQ(rec(pred).op, UIntT(XT_EQ));
    IntT selfStep = rec(rec(pred).firstChild).firstChild;
    EXPECT_EQ(rec(selfStep).axis, XA_SELF);
    s = om_XPathCompile("fmprop::PgfTag = 'x'", 0);
    pred = rec(om_XPathLastStep(s)).firstChild;
    selfStep = rec(rec(pred).firstChild).firstChild;
    EXPECT_EQ(rec(selfStep).axis, XA_FMPROP);
    EXPECT_EQ(rec(selfStep).nodeTest, "PgfTag");
}

struct BadCase {
    const char *text;
    IntT code;
};

TEST_F(XPathCompiler, ErrorCodes) {
    const BadCase cases[] = {
        {"/", XPATH_ERR_SINGLE_SLASH_EXPRESSION},
        {"///a", XPATH_ERR_TOO_MANY_SLASHES},
        {"//a[]", XPATH_ERR_EMPTY_PREDICATE},
        {"//a[ ]", XPATH_ERR_EMPTY_PREDICATE},
        {"//a[b", XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP},
        {"//a]", XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP},
        {"//a[@x or @y][@z]", XPATH_ERR_MIXED_AND_AND_OR},
        {"//a[@x and @y or @z]", XPATH_ERR_MIXED_AND_AND_OR},
        {"//a/@id/b", XPATH_ERR_AXIS_FOLLOWING_ATTRIBUTE_AXIS},
        {"//a/fmprop::PgfTag/b", XPATH_ERR_AXIS_FOLLOWING_FM_PROP_AXIS},
        {"//.", XPATH_ERR_MISPLACED_PERIOD},
        {"self::..", XPATH_ERR_MISPLACED_PERIOD},
        {"//@id", XPATH_ERR_BAD_ARG_AFTER_AXIS},
        {"//child::a", XPATH_ERR_BAD_ARG_AFTER_AXIS},
        {"//a[b = = 'x']", XPATH_ERR_BAD_ARG_AFTER_OPERATOR},
        {"//a[b = 'x' = 'y']", XPATH_ERR_MULTIPLE_OPERATORS},
        {"foo(a)", XPATH_ERR_UNKNOWN_FUNCTION},
        {"//a[Contains(., 'x')]", XPATH_ERR_UNKNOWN_FUNCTION},
        {"//NODE()", XPATH_ERR_UNKNOWN_FUNCTION},
        {"//a[position]", 0},
        {"//a[position(1)]", XPATH_ERR_UNKNOWN_FUNCTION},
        {"//a[contains()]", XPATH_ERR_UNKNOWN_FUNCTION},
        {"//Child::a", XPATH_ERR_UNKNOWN_AXIS},
        {"//a/sibling::b", XPATH_ERR_UNKNOWN_AXIS},
        {"//a[b, c]", XPATH_ERR_MISPLACED_COMMA},
        {"//a[b)", XPATH_ERR_BAD_PARENTHETICAL_PHRASE},
        {"//a[@x = 'abc]", XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP},
        {"//a['x]", XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP},
        {"//a[contains(a, 'b', 'c')]", XPATH_ERR_FUNCTION_MORE_THAN_TWO_ARGS},
        {"//a[not(a, 'b')]", XPATH_ERR_NOT_FUNC_HAS_MULTIPLE_ARGS},
        {"//a[contains(a = 'b')]", XPATH_ERR_OPERATOR_IN_FUNC_TERM},
        {"//a/'x'", XPATH_ERR_BAD_ARG_AFTER_SLASH},
        {"'x'", XPATH_ERR_MISPLACED_LITERAL},
        {"position()", XPATH_ERR_MISPLACED_FUNCTION},
        {"//a b", XPATH_ERR_BAD_ARG_AFTER_NODE_NAME},
        {"//a[1]b", XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END},
        {"//a['x' b]", XPATH_ERR_BAD_ARG_AFTER_LITERAL},
        {"//a[last() b]", XPATH_ERR_BAD_ARG_AFTER_FUNCTION},
        {"//a[= b]", XPATH_ERR_BAD_ARG_AFTER_PREDICATE_START},
        {"//a[and b]", XPATH_ERR_BAD_ARG_AFTER_NODE_NAME},
        {"//a\\b", XPATH_ERR_ILLEGAL_BACKSLASH},
        {"//fmprop::Nonsense", XPATH_ERR_BAD_ARG_AFTER_AXIS},
        {"fmprop::Nonsense", XPATH_ERR_UNKNOWN_FM_PROP},
        {"//a and //b", XPATH_ERR_MIXED_AND_AND_OR},
        {"//a[b] = 'x'", XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END},
        {"//a[@x ! 'y']", XPATH_ERR_MISSING_NODE_TEST},
    };
    for (const BadCase &c : cases) {
        IntT rc = om_XPathCompile(c.text, 0);
        if (c.code == 0) {
            EXPECT_LT(rc, 50100) << c.text;
            continue;
        }
        EXPECT_EQ(rc, c.code) << c.text;
        EXPECT_EQ(CancelFlag, 1) << c.text;
    }
}

TEST_F(XPathCompiler, BothFunctionScreensAgree) {
    struct {
        const char *text;
        IntT expected;
    } cases[] = {
        {"//a[contains(., 'x') and not(b)][last()]", -1},
        {"//a[foo(b)]", 5},                      // an unknown name: its column plus 1
        {"//a[not(b[bar(c)])]", 11},             // nested brackets: the last "(" is checked first
        {"//a[zap(c)]/b[contains(d, 'e')]", 5},  // the known call after it does not hide it
        {"//a[(b)]", 5},                         // a "(" without a name
        {"//a[text(b)]", 5},
        {"", -1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(om_XPathFindUnknownFunction(c.text), c.expected) << c.text;
        EXPECT_EQ(om_XPathFindUnknownFunctionAlt(c.text), c.expected) << c.text;
    }
}

TEST_F(XPathCompiler, DialectAcceptsWhatItsOwnRulesAllow) {
    for (const char *e : {"//a[position() = 'x']", "//a/.", "//a[b = 'x']", "//a[. = 'x']", "a/b[c/d = 5]",
                          "//a[@x = 1 and b/c]", "//a[contains(., 'x') and not(b)]", "//$tag[@id = $want]",
                          "//a[starts-with-ci(@id, 'x')][last()]", "/*", "//a[../b]", "//a[.//b]",
                          "//or/and", "//a[b[c = '1']]", "fmfile::'D:/x/y.fm'/b", "flow-any::Main/*",
                          "//a[@x == 'y']", "//a[b != 'x' or c <= 3]"}) {
        IntT rc = om_XPathCompile(e, 0);
        EXPECT_LT(rc, 50100) << e;
        EXPECT_GT(rc, 0) << e;
    }
}

// A bracket or parenthesis inside a quoted literal is part of the literal, in a predicate and
// in a function argument, at any depth.
TEST_F(XPathCompiler, BracketsInsideLiteralsStayInTheLiteral) {
    struct Case {
        const char *expression, *literal;
    } cases[] = {
        {"//p[@k='a]b']", "a]b"},
        {"//p[@k=\"[x\"]", "[x"},
        {"//p[contains(., 'a)b')]", "a)b"},
        {"//p[q[starts-with(@k, '])([')]]", "])(["},
    };
    for (const Case &c : cases) {
        IntT s = om_XPathCompile(c.expression, 0);
        ASSERT_GT(s, 0) << c.expression;
        ASSERT_LT(s, 50100) << c.expression;
        bool found = false;
        for (IntT r = 1; r < IntT(XPathNodeTable.capacity()); ++r)
            found = found || ((rec(r).kind == XK_LITERAL_STRING) && rec(r).valueText == c.literal);
        EXPECT_TRUE(found) << c.expression;
    }
}

TEST_F(XPathCompiler, CacheIsKeyedByExactText) {
    IntT a = om_XPathCompile("//a[@x = 'y']", 0);
    IntT used = IntT(XPathNodeTable.nextFree);
    EXPECT_EQ(om_XPathCompile("//a[@x = 'y']", 0), a);
    EXPECT_EQ(IntT(XPathNodeTable.nextFree), used);
    IntT curly = om_XPathCompile("//a[@x = \xE2\x80\x98y\xE2\x80\x99]", 0);
    EXPECT_NE(curly, a);
    EXPECT_LT(curly, 50100);
    EXPECT_EQ(om_XPathFindCompiled(""), 0);
    om_XPathResetNodeTable();
    EXPECT_EQ(om_XPathFindCompiled("//a[@x = 'y']"), 0);
    EXPECT_FALSE(om_XPathIsCompiledSequence(a));
}

TEST_F(XPathCompiler, FailedCompileLeavesNoKey) {
    EXPECT_EQ(om_XPathCompile("//a[b = = 'x']", 0), XPATH_ERR_BAD_ARG_AFTER_OPERATOR);
    EXPECT_EQ(om_XPathFindCompiled("//a[b = = 'x']"), 0);
}

TEST_F(XPathCompiler, ParametersAreMarked) {
    IntT s = om_XPathCompile("//$tag[@id = $want]", 0);
    std::vector<IntT> nodes;
    ASSERT_EQ(om_XPathListParameterNodes(s, &nodes), 1);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(rec(nodes[0]).paramName, "$tag");
    EXPECT_EQ(rec(nodes[1]).paramName, "$want");
}

TEST_F(XPathCompiler, TokenizerEdgeCases) {
    std::string out;
    EXPECT_EQ(om_XPathNextToken("or", XT_SLASH, out), XT_NAME);
    EXPECT_EQ(om_XPathNextToken("or b", XT_NAME, out), XT_OR);
    EXPECT_EQ(om_XPathNextToken("$x]", XT_EQ, out), XT_NUMBER);
    EXPECT_EQ(out, "$x");
    EXPECT_EQ(om_XPathNextToken("$x", XT_DSLASH, out), XT_NAME);
    EXPECT_EQ(om_XPathNextToken("'a/b.fm'", XA_FMFILE, out), XT_NAME);
    EXPECT_EQ(out, "\"a/b.fm\"");
    EXPECT_EQ(om_XPathNextToken("'a]b)'", XT_EQ, out), XT_LITERAL);
    EXPECT_EQ(out, "a]b)");
    EXPECT_EQ(om_XPathNextToken("'abc", XT_EQ, out), XPATH_ERR_UNTERMINATED_STRING_LITERAL);
    EXPECT_EQ(om_XPathNextToken("2.5", XT_EQ, out), XT_NAME);
    EXPECT_EQ(om_XPathNextToken("-007", XT_EQ, out), XT_NUMBER);
}

TEST_F(XPathCompiler, FmFilePathKeepsOneNodeTest) {
    IntT s = om_XPathCompile("fmfile::'D:/x/y.fm'/b", 0);
    IntT first = om_XPathStepNodeOf(s, 1);
    EXPECT_EQ(rec(first).axis, XA_FMFILE);
    EXPECT_EQ(rec(first).nodeTest, "D:\\x\\y.fm");
}

TEST_F(XPathCompiler, LongAndDeepExpressionsNeverHang) {
    om_XPathSetMaxLength(5000);
    std::string path;
    while (path.size() < 4000) path += "/a";
    EXPECT_LT(om_XPathCompile(path, 0), 50100);  // legal long texts compile
    std::string tooLong(5001, 'a');
    EXPECT_EQ(om_XPathCompile(tooLong, 0), XPATH_ERR_TOO_DAMNED_LONG);
    std::string deep = "//a";
    for (int i = 0; i < 25; ++i) deep += "[b";
    for (int i = 0; i < 25; ++i) deep += "]";
    EXPECT_EQ(om_XPathCompile(deep, 0), XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE);
    std::string nineteen = "//a";
    for (int i = 0; i < 19; ++i) nineteen += "[b";
    for (int i = 0; i < 19; ++i) nineteen += "]";
    EXPECT_LT(om_XPathCompile(nineteen, 0), 50100);
    // Control characters are ordinary characters of names and literals; text after the last
    // predicate is refused.
    const std::pair<std::string, IntT> controls[] = {
        {"//a[\x01 = '\x02']", 0},
        {"//\x01", 0},
        {"//a[\x01 = '\x02']\x7f", XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END},
    };
    for (const auto &[text, error] : controls) {
        IntT rc = om_XPathCompile(text, 0);
        if (error) EXPECT_EQ(rc, error) << om_XPathErrorMessage(rc);
        else EXPECT_TRUE(rc > 0 && om_XPathIsCompiledSequence(rc)) << om_XPathErrorMessage(rc);
    }
}

TEST_F(XPathCompiler, ListingShowsTheTree) {
    IntT s = om_XPathCompile("//a[@x = 1]", 0);
    std::string l = om_XPathCompiledListing("//a[@x = 1]", -1);
    EXPECT_NE(l.find("Parsed components for: //a[@x = 1],  Sequence number '" + std::to_string(s) + "'"),
              std::string::npos);
    for (const char *part : {"Type: NODE HANDLERS", "Axis: To root", "Node test: node()",
                             "Axis: To descendant-or-self", "Node test: a", "Test operator:  =",
                             "Axis: To attribute", "Node test: x", "Type: LITERAL INTEGER", "Return value: 1"})
        EXPECT_NE(l.find(part), std::string::npos) << part;
    EXPECT_LT(l.find("Axis: To root"), l.find("Test operator"));
}

TEST_F(XPathCompiler, ReportEntryCutsLinesAndPlacesCaret) {
    std::string text(130, 'a');
    auto e = om_XPathReportEntry(text, 70, XPATH_ERR_BAD_ARG_AFTER_NODE_NAME);
    ASSERT_EQ(e.size(), 8u);
    EXPECT_STREQ(e[0].tag, "XPathErrorHeading");
    EXPECT_EQ(e[1].text.size(), 60u);
    EXPECT_EQ(e[2].text, std::string(60, '.'));
    EXPECT_EQ(e[3].text.size(), 60u);
    EXPECT_EQ(e[4].text, std::string(10, '.') + "^");
    EXPECT_EQ(e[5].text.size(), 10u);
    EXPECT_EQ(e[6].text, "");
    EXPECT_STREQ(e[7].tag, "ErrorMessage");
    auto slash = om_XPathReportEntry("//a/[b]", 4, XPATH_ERR_BAD_ARG_AFTER_SLASH);
    EXPECT_EQ(slash[2].text, "...^");
    auto longOne = om_XPathReportEntry("abcdef", 1, XPATH_ERR_TOO_DAMNED_LONG);
    EXPECT_EQ(longOne[2].text, ".....^");
}

}  // namespace
