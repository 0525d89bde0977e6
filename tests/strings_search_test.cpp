// String search, replace, split, literal masking, clauses, wrapping and unique names.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "lib/strings/search.h"
#include "support/list_helpers.h"
#include "transcript.h"

using namespace qvtest;

namespace {

// 1 when the transcript holds a line containing the text.
bool Shown(const std::string &text) {
    const auto &lines = host::TranscriptLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string &l) { return l.find(text) != std::string::npos; });
}

}  // namespace

TEST(StringSearch, IndexOfAndRIndexOf) {
    EXPECT_EQ(om_StrIndexOf("abcabc", "bc", 2, 1), 4);
    EXPECT_EQ(om_StrIndexOf("abcabc", "bc", -5, 1), 1);
    EXPECT_EQ(om_StrIndexOf("abcabc", "BC", 0, 0), 1);
    EXPECT_EQ(om_StrIndexOf("abcabc", "BC", 0, 1), -1);
    EXPECT_EQ(om_StrIndexOf("abc", "", 1, 1), 1);
    EXPECT_EQ(om_StrIndexOf("abc", "", 3, 1), -1);
    EXPECT_EQ(om_StrIndexOf("abc", "c", 9, 1), -1);
    EXPECT_EQ(om_StrIndexOf("xÉcole", "éCOLE", 0, 0), 1);
    EXPECT_EQ(om_StrRIndexOf("a.b.c", ".", 0, 1), 3);
    EXPECT_EQ(om_StrRIndexOf("a.b.c", ".", 2, 1), 1);
    EXPECT_EQ(om_StrRIndexOf("a.b.c", "X", 0, 1), -1);
    EXPECT_EQ(om_StrRIndexOf("AbAb", "ab", 0, 0), 2);
}

// The three string scans stop at their step limit with a critical alert naming the operation:
// one step below the limit they finish quietly, at the limit they alert and keep what they have.
TEST(StringSearch, ScansStopAtTheirStepLimitWithACriticalAlert) {
    auto literals = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) text += "'a'";
        Heap h(text);
        om_XOutLiterals(&h.s, "X", 1, 0);
        return h.str();
    };
    std::string masked;
    for (int i = 0; i < 10000; ++i) masked += "'X'";
    struct Case {
        const char *alert;
        std::function<std::string(int)> run;  // the scan over an input of n steps
        int quiet;                            // the largest n that finishes without the alert
        std::string quietResult, stoppedResult;
    };
    const Case cases[] = {
        {"Endless loop in om_StrRIndexOf! This is a critical error. Please contact Orle Meadow.",
         [](int n) { return std::to_string(om_StrRIndexOf(std::string(size_t(n), '.').c_str(), ".", 0, 1)); }, 10001,
         "10000", "-1"},
        {"Endless loop in om_XOutLiterals()! This is a critical error... Please report it to Orle Meadow.", literals,
         10000, masked, masked},  // stopped: only the part processed before the limit remains
        {"Endless loop in om_StrClausesAreTerminated()... This is critical error, please contact Orle Meadow",
         [](int n) {
             return std::to_string(om_StrClausesAreTerminated(std::string(size_t(n), '(').c_str(), "(", ")"));
         },
         10000, "0", "0"},
    };
    for (const Case &c : cases) {
        host::ClearTranscript();
        EXPECT_EQ(c.run(c.quiet), c.quietResult) << c.alert;
        EXPECT_FALSE(Shown(c.alert)) << c.alert;
        EXPECT_EQ(c.run(c.quiet + 1), c.stoppedResult) << c.alert;
        EXPECT_TRUE(Shown(c.alert)) << c.alert;
    }
}

TEST(StringSearch, BeforeAnyAndPositions) {
    List delims({"--", ";"});
    StringT out = om_StrCopy("stale");
    EXPECT_EQ(om_StrBeforeAny("a;b--c", &out, &delims.l, 1), 1);
    EXPECT_EQ(Take(om_StrCopy(out)), "a");
    EXPECT_EQ(om_StrBeforeAny("abc", &out, &delims.l, 1), -1);
    EXPECT_EQ(std::string(out), "abc");
    om_StrFree(&out);
    EXPECT_EQ(Take(om_StrPositionsOf("aaaa", "aa")), (std::vector<UIntT>{0, 2}));
    EXPECT_EQ(Take(om_StrPositionsOf("abc", "x")), (std::vector<UIntT>{}));
}

TEST(StringSearch, ReplaceAllNeverOverlapsOrRescans) {
    Heap h("aaa");
    EXPECT_EQ(om_StrReplaceAll(&h.s, "aa", "b", 1), 0);
    EXPECT_EQ(h.str(), "ba");
    Heap g("xAx");
    EXPECT_EQ(om_StrReplaceAll(&g.s, "a", "aa", 0), 1);
    EXPECT_EQ(g.str(), "xaax");
    EXPECT_EQ(om_StrReplaceAll(&g.s, "", "z", 1), -1);
    EXPECT_EQ(om_StrReplaceAll(&g.s, "q", "z", 1), -1);
    EXPECT_EQ(g.str(), "xaax");
    Heap f("abc");
    EXPECT_EQ(om_StrReplaceAllFixed(&f.s, "abc", "xyz"), 0);
    EXPECT_EQ(f.str(), "xyz");
    EXPECT_EQ(om_StrReplaceAllFixed(&f.s, "", "q"), -1);
    EXPECT_EQ(om_StrReplaceAllFixed(&f.s, "x", nullptr), -1);
    EXPECT_EQ(f.str(), "xyz");
}

TEST(StringSearch, ReplaceRange) {
    Heap h("abcdef");
    EXPECT_EQ(om_StrReplaceRange(&h.s, "XY", 1, 3), 1);
    EXPECT_EQ(h.str(), "aXYdef");
    EXPECT_EQ(om_StrReplaceRange(&h.s, "Z", 6, 6), 1);
    EXPECT_EQ(h.str(), "aXYdefZ");
    for (auto [s, e] : {std::pair{-1, 2}, {3, 2}, {2, 99}}) EXPECT_EQ(om_StrReplaceRange(&h.s, "!", s, e), 0);
    EXPECT_EQ(h.str(), "aXYdefZ");
}

TEST(StringSearch, MultiReplaceOutsideLiterals) {
    Heap h("a 'a' a");
    List from({"a"}), to({"xy"});
    EXPECT_EQ(om_StrMultiReplaceOutsideLiterals(&h.s, &from.l, &to.l, 0), 2);
    EXPECT_EQ(h.str(), "xy 'a' xy");
    Heap inside("a 'a' a");
    EXPECT_EQ(om_StrMultiReplaceOutsideLiterals(&inside.s, &from.l, &to.l, 1), 3);
    EXPECT_EQ(inside.str(), "xy 'xy' xy");
    // Pairs act in turn on the result of the earlier pairs.
    Heap chain("$a+$b \"$a\"");
    List f2({"$a", "$b"}), t2({"$b", "2"});
    EXPECT_EQ(om_StrMultiReplaceOutsideLiterals(&chain.s, &f2.l, &t2.l, 0), 3);
    EXPECT_EQ(chain.str(), "2+2 \"$a\"");
    List one({"x"});
    EXPECT_EQ(om_StrMultiReplaceOutsideLiterals(&chain.s, &f2.l, &one.l, 0), -1);
    EXPECT_EQ(chain.str(), "2+2 \"$a\"");
    // A long text is never cut.
    std::string big(6000, 'a');
    Heap b(big);
    EXPECT_EQ(om_StrMultiReplaceOutsideLiterals(&b.s, &from.l, &to.l, 0), 6000);
    EXPECT_EQ(b.str().size(), 12000u);
}

TEST(StringSearch, UnescapeStraightenAndLineBreaks) {
    Heap h("a\\tb");
    EXPECT_EQ(om_StrUnescape(&h.s), 1);
    EXPECT_EQ(h.str(), "a\tb");
    Heap all("\\n\\r\\b\\f\\v\\0x");
    EXPECT_EQ(om_StrUnescape(&all.s), 1);
    EXPECT_EQ(all.str(), "\n\r\x08\x0C\x0Bx");
    Heap none("plain");
    EXPECT_EQ(om_StrUnescape(&none.s), 0);

    Heap q("\u201Chi\u201D \u2018x\u2019");
    om_StrStraightenQuotes(&q.s);
    EXPECT_EQ(q.str(), "\"hi\" 'x'");

    struct Case {
        const char *text, *rep, *want;
    } cases[] = {
        {"a\r\nb\n\rc\rd\ne", "|", "a|b|c|d|e"},
        {"\r\n\r", "|", "||"},
        {"x\ny", "\r\n", "x\r\ny"},  // the replacement is not processed again
        {"none", "|", "none"},
    };
    for (const Case &c : cases) {
        Heap t(c.text);
        om_StrReplaceLineBreaks(&t.s, c.rep);
        EXPECT_EQ(t.str(), c.want) << c.text;
    }
}

TEST(StringSearch, XOutLiterals) {
    Heap h("'a\"b' \"cd\" e");
    om_XOutLiterals(&h.s, "X", 1, 1);
    EXPECT_EQ(h.str(), "'XXX' \"XX\" e");
    Heap open("f('abc");
    om_XOutLiterals(&open.s, "#", 1, 0);
    EXPECT_EQ(open.str(), "f('###");
    Heap curly("\u201Cab\u201D 'c'");
    om_XOutLiterals(&curly.s, "X", 0, 1);
    EXPECT_EQ(curly.str(), "\u201CXX\u201D 'c'");
    Heap same("'a'");
    om_XOutLiterals(&same.s, "XX", 1, 1);
    om_XOutLiterals(&same.s, "X", 0, 0);
    EXPECT_EQ(same.str(), "'a'");
}

TEST(StringSearch, ClausesAreTerminated) {
    struct Case {
        const char *text, *open, *close;
        IntT want;
    } cases[] = {
        {"f(a(b)", "(", ")", 1}, {"a)b", "(", ")", 1}, {"'x'y'", "'", "'", 4}, {"(a)", "(", ")", -1},
        {"", "(", ")", -1},      {"((a)", "(", ")", 0}, {"(a))(", "(", ")", 3}, {"[[x]]", "[[", "]]", -1},
    };
    for (const Case &c : cases) EXPECT_EQ(om_StrClausesAreTerminated(c.text, c.open, c.close), c.want) << c.text;
}

TEST(StringSearch, ExtractBracketed) {
    StringT out = om_StrCopy("old");
    EXPECT_EQ(om_StrExtractBracketed("[a[b]c]d", &out, "[", "]"), 1);
    EXPECT_EQ(std::string(out), "a[b]c");
    EXPECT_EQ(om_StrExtractBracketed("[ab", &out, "[", "]"), 0);
    EXPECT_EQ(std::string(out), "");
    EXPECT_EQ(om_StrExtractBracketed("x[a]", &out, "[", "]"), 0);
    EXPECT_EQ(om_StrExtractBracketed("\"q\"r", &out, "\"", "\""), 1);
    EXPECT_EQ(std::string(out), "q");
    om_StrFree(&out);
}

TEST(StringSearch, SplitTokenize) {
    EXPECT_EQ(Take(om_StrSplit("a==b", "=")), (Strs{"a", "", "b"}));
    EXPECT_EQ(Take(om_StrSplit("a=", "=")), (Strs{"a"}));
    EXPECT_EQ(Take(om_StrSplit("=b", "=")), (Strs{"", "b"}));
    EXPECT_EQ(Take(om_StrSplit("", "=")), (Strs{}));
    EXPECT_EQ(Take(om_StrSplit("a---b---", "---")), (Strs{"a", "b"}));
    List out({"stale"});
    om_StrSplitFixed("x;y", ";", &out.l);
    EXPECT_EQ(out.v(), (Strs{"x", "y"}));
    om_StrSplitFixed(nullptr, ";", &out.l);
    EXPECT_EQ(out.v(), (Strs{}));
    Heap t("  a, b,,c ");
    om_StrTokenize(t.s, " ,", &out.l);
    EXPECT_EQ(out.v(), (Strs{"a", "b", "c"}));
    EXPECT_EQ(t.str(), "  a");
}

TEST(StringSearch, WrapLines) {
    EXPECT_EQ(Take(om_StrWrapLines("the quick brown fox", 10)), (Strs{"the quick", "brown fox"}));
    EXPECT_EQ(Take(om_StrWrapLines("abcdefghij", 4)), (Strs{"abcd", "efgh", "ij"}));
    EXPECT_EQ(Take(om_StrWrapLines("ab\r\ncd ef", 80)), (Strs{"ab", "cd ef"}));
    EXPECT_EQ(Take(om_StrWrapLines("", 10)), (Strs{}));
    for (const std::string &line : Take(om_StrWrapLines("a bb ccc dddd eeeee ffffff", 5))) EXPECT_LE(line.size(), 5u);
}

TEST(StringSearch, MakeUnique) {
    List names({"Tag", "TaA", "TaB", "Tag1"});
    Heap a("Tag");
    EXPECT_EQ(om_StrMakeUnique(&a.s, &names.l, 1, 10), 1);
    EXPECT_EQ(a.str(), "TaC");
    Heap n("Tag");
    EXPECT_EQ(om_StrMakeUnique(&n.s, &names.l, 2, 5), 1);
    EXPECT_EQ(n.str(), "Tag2");
    Heap free_("Other");
    EXPECT_EQ(om_StrMakeUnique(&free_.s, &names.l, 2, 5), 0);
    EXPECT_EQ(free_.str(), "Other");
    List one({"A", "B"});
    Heap shortName("A");
    EXPECT_EQ(om_StrMakeUnique(&shortName.s, &one.l, 1, 100), 1);  // B taken, C free
    EXPECT_EQ(shortName.str(), "C");
    List full({"A", "B", "C"});
    Heap tooShort("A");
    EXPECT_EQ(om_StrMakeUnique(&tooShort.s, &full.l, 1, 3), 0);  // tries run out
    EXPECT_EQ(tooShort.str(), "A");
    // The odometer: after Z comes AA.
    Strs taken = {"xy"};
    for (char c = 'A'; c <= 'Z'; ++c) taken.push_back(std::string("x") + c);
    List z(taken);
    Heap xy("xy");
    EXPECT_EQ(om_StrMakeUnique(&xy.s, &z.l, 1, 30), 1);
    EXPECT_EQ(xy.str(), "AA");
}
