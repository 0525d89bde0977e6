// The XPath navigator and predicates over documents built with the host model: axes, node
// tests, positions, the engine's comparison rules, resets, history and parameters.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

#include "lib/globals.h"
#include "support/xml_tree.h"
#include "transcript.h"
#include "xpath/xpath.h"

namespace {

class XPathRun : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetSession();
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
    }
    void TearDown() override { host::ResetSession(); }

    void Load(const std::string &xml) {
        doc = qvtest::BuildDocument(xml);
        ASSERT_NE(doc, 0u);
    }
    // Every match of the expression as paths (with "/@name" for attribute matches).
    std::vector<std::string> Matches(const std::string &expr, F_ObjHandleT start = 0) {
        IntT s = om_XPathCompile(expr, 0);
        EXPECT_LT(s, 50100) << expr;
        std::vector<std::string> out;
        if (s > 50099) return out;
        om_XPathResetSequence(s, 1);
        for (int i = 0; i < 10000; ++i) {
            F_ObjHandleT mdoc = 0;
            IntT attr = -1;
            F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, start, 0, &mdoc, &attr);
            if (!m) break;
            std::string p = F_OBJ_KIND(m) == FO_Flow ? "flow" : qvtest::PathOf(doc, m);
            if (attr >= 0) {
                F_AttributesT a = F_ApiGetAttributes(doc, m);
                p += "/@" + std::string(a.val[attr].name);
                F_ApiDeallocateAttributes(&a);
            }
            out.push_back(p);
        }
        return out;
    }
    F_ObjHandleT Find(const std::string &expr) {
        IntT s = om_XPathCompile(expr, 0);
        om_XPathResetSequence(s, 0);
        return om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr);
    }
    using V = std::vector<std::string>;
    F_ObjHandleT doc = 0;
};

TEST_F(XPathRun, RootAndDescendants) {
    Load("<doc><a><a><b/></a></a><a/></doc>");
    EXPECT_EQ(Matches("/*"), V{"/doc[1]"});
    EXPECT_EQ(Matches("/doc"), V{"/doc[1]"});
    EXPECT_EQ(Matches("/a"), V{});
    EXPECT_EQ(Matches("//a"), (V{"/doc[1]/a[1]", "/doc[1]/a[1]/a[1]", "/doc[1]/a[2]"}));
    EXPECT_EQ(Matches("//a//b"), V{"/doc[1]/a[1]/a[1]/b[1]"});
    // Unlike XPath 1.0, a "//" step includes its context node: a//a matches the outer a too.
    EXPECT_EQ(Matches("/doc/a//a"), (V{"/doc[1]/a[1]", "/doc[1]/a[1]/a[1]", "/doc[1]/a[2]"}));
    EXPECT_EQ(Matches("//b/ancestor::a"), (V{"/doc[1]/a[1]/a[1]", "/doc[1]/a[1]"}));
    EXPECT_EQ(Matches("/doc/a/b"), V{});
}

TEST_F(XPathRun, SpentRunStaysSpentUntilReset) {
    Load("<doc><a/><a/></doc>");
    IntT s = om_XPathCompile("//a", 0);
    om_XPathResetSequence(s, 0);
    EXPECT_NE(om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr), 0u);
    EXPECT_NE(om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr), 0u);
    om_XPathResetSequence(s, 0);
    EXPECT_NE(om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr), 0u);
}

TEST_F(XPathRun, RelativeExpressionsNeedAStart) {
    Load("<doc><sec><b><c/></b></sec><sec><b><c/><c/></b></sec></doc>");
    EXPECT_EQ(Matches("b/c"), V{});
    F_ObjHandleT sec2 = Find("//sec[2]");
    ASSERT_NE(sec2, 0u);
    EXPECT_EQ(Matches("b/c", sec2), (V{"/doc[1]/sec[2]/b[1]/c[1]", "/doc[1]/sec[2]/b[1]/c[2]"}));
    // Another start element restarts the run.
    F_ObjHandleT sec1 = Find("//sec[1]");
    IntT s = om_XPathCompile("b/c", 0);
    om_XPathResetSequence(s, 0);
    EXPECT_NE(om_FindNextNodeWithXpath(doc, s, sec2, 0, nullptr, nullptr), 0u);
    F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, sec1, 0, nullptr, nullptr);
    EXPECT_EQ(qvtest::PathOf(doc, m), "/doc[1]/sec[1]/b[1]/c[1]");
}

TEST_F(XPathRun, AttributesPositionsAndLast) {
    Load("<doc><a x='1' y='2'/><b/><a z='3'/><a/></doc>");
    EXPECT_EQ(Matches("//a/@*"), (V{"/doc[1]/a[1]/@x", "/doc[1]/a[1]/@y", "/doc[1]/a[2]/@z"}));
    EXPECT_EQ(Matches("//a/@y"), V{"/doc[1]/a[1]/@y"});
    EXPECT_EQ(Matches("//a[2]"), V{"/doc[1]/a[2]"});
    EXPECT_EQ(Matches("//a[last()]"), V{"/doc[1]/a[3]"});
    EXPECT_EQ(Matches("/*[last()]"), V{});  // the root has no parent: last() is 0
    EXPECT_EQ(Matches("//a/@*[2]"), V{"/doc[1]/a[1]/@y"});
    EXPECT_EQ(Matches("//*[position() > 2]"), (V{"/doc[1]/a[2]", "/doc[1]/a[3]"}));
}

TEST_F(XPathRun, SiblingAxesStayAmongSiblings) {
    Load("<doc><s><a/></s><b/><s><c/><a/><b/></s></doc>");
    // following:: starts at the context's next sibling; without one it finds nothing.
    EXPECT_EQ(Matches("//c/following::b"), V{"/doc[1]/s[2]/b[1]"});
    EXPECT_EQ(Matches("//s[1]/a/following::b"), V{});
    EXPECT_EQ(Matches("//s[1]/following-sibling::*"), (V{"/doc[1]/b[1]", "/doc[1]/s[2]"}));
    EXPECT_EQ(Matches("//b/preceding-sibling::*[1]"), (V{"/doc[1]/s[1]", "/doc[1]/s[2]/a[1]"}));
    EXPECT_EQ(Matches("//s[2]/b/preceding::*"), (V{"/doc[1]/s[2]/c[1]", "/doc[1]/s[2]/a[1]"}));
    EXPECT_EQ(Matches("//a/parent::s"), (V{"/doc[1]/s[1]", "/doc[1]/s[2]"}));
    EXPECT_EQ(Matches("//a/.."), (V{"/doc[1]/s[1]", "/doc[1]/s[2]"}));
}

TEST_F(XPathRun, TextNodesAndNodeTests) {
    Load("<doc><p>one<i>two</i>three</p></doc>");
    EXPECT_EQ(Matches("//p/text()"), (V{"/doc[1]/p[1]/text()[1]", "/doc[1]/p[1]/text()[2]"}));
    EXPECT_EQ(Matches("//p/node()").size(), 3u);
    EXPECT_EQ(Matches("//p/*"), V{"/doc[1]/p[1]/i[1]"});
}

TEST_F(XPathRun, ComparisonRulesOfTheDialect) {
    Load("<doc>"
         "<e id='1' a=''/>"
         "<e id='2' a='v'/>"
         "<e id='3'/>"
         "<e id='4' n='10'/><e id='5' n='10a'/><e id='6' n='007'/>"
         "<e id='7' k='xaby'/><e id='8' k='xABy'/>"
         "<e id='9'><b>x</b><b>y</b></e><e id='10'><b>y</b></e>"
         "</doc>");
    auto ids = [&](const std::string &expr) {
        V out;
        for (const std::string &p : Matches(expr + "/@id")) out.push_back(p);
        std::vector<std::string> idv;
        IntT s = om_XPathCompile(expr + "/@id", 0);
        om_XPathResetSequence(s, 0);
        for (F_ObjHandleT m; (m = om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr));) {
            idv.push_back(*host::GetAttribute(m, "id") == std::vector<std::string>{} ? "" : (*host::GetAttribute(m, "id"))[0]);
        }
        return idv;
    };
    // The host lists attribute a only on elements that have it in this document's definitions
    // (undeclared attributes are listed where set).
    EXPECT_EQ(ids("//e[@a = '']"), V{"1"});
    EXPECT_EQ(ids("//e[@a != '']"), V{"2"});
    EXPECT_EQ(ids("//e[@n > 9]"), V{"4"});
    EXPECT_EQ(ids("//e[@n > '9']"), V{"4"});
    EXPECT_EQ(ids("//e[@n = 7]"), V{"6"});
    EXPECT_EQ(ids("//e[contains(@k, 'ab')]"), V{"7"});
    EXPECT_EQ(ids("//e[contains-ci(@k, 'ab')]"), (V{"7", "8"}));
    EXPECT_EQ(ids("//e[starts-with(@k, 'xA')]"), V{"8"});
    EXPECT_EQ(ids("//e[b = 'x']"), V{"9"});
    EXPECT_EQ(ids("//e[b != 'x']"), (V{"9", "10"}));  // some b child whose text is not x; none without b
    EXPECT_EQ(ids("//e[not(b)][@k]"), (V{"7", "8"}));
    EXPECT_EQ(ids("//e[not('false')][@id = 3]"), V{"3"});
    EXPECT_EQ(ids("//e[not('x')]"), V{});
    EXPECT_EQ(ids("//e[@id = 1 or @id = 3]"), (V{"1", "3"}));
    EXPECT_EQ(ids("//e[@n][@n != 10]"), (V{"5", "6"}));
}

TEST_F(XPathRun, FunctionWithTwoPathArgumentsTriesEveryPairing) {
    // The second argument restarts for each left value: no engine message, every match kept.
    Load("<doc><sec x='b'><para>a</para><para>abc</para></sec><sec x='z'><para>q</para></sec>"
         "<sec x='c'><para>c</para></sec></doc>");
    host::ClearTranscript();
    EXPECT_EQ(Matches("//sec[contains(para, @x)]"), (V{"/doc[1]/sec[1]", "/doc[1]/sec[3]"}));
    EXPECT_EQ(Matches("//sec[para = @x]"), V{"/doc[1]/sec[3]"});
    for (const std::string &line : host::TranscriptLines())
        EXPECT_EQ(line.rfind("alert", 0), std::string::npos) << line;
}

TEST_F(XPathRun, MainPathComparisonAndContainsDot) {
    Load("<doc><p>Text 1</p><p>Text 2</p><p>Text 10</p></doc>");
    EXPECT_EQ(Matches("//p = 'Text 2'"), V{"/doc[1]/p[2]"});
    EXPECT_EQ(Matches("//p[contains(., 'Text 1')]"), (V{"/doc[1]/p[1]", "/doc[1]/p[3]"}));
}

// A function of the node itself and a literal, decided at once, agrees with the same test
// walked through a longer path to the node, on elements and on attributes.
TEST_F(XPathRun, FunctionsOfTheNodeItselfAgreeWithTheWalkedForm) {
    Load("<doc><p x='Word'>Text 1</p><p x='word'>text 2</p><p>Text <b>1</b>0</p><p/></doc>");
    for (const char *f : {"contains(%, 'Text 1')", "contains-ci(%, 'TEXT')", "starts-with(%, 'Te')",
                          "starts-with-ci(%, 'te')", "contains(%, 1)", "contains(%, '')"}) {
        for (const char *path : {"//p[F]", "//p/@*[F]", "//*[F]"}) {
            auto with = [&](const std::string &self) {
                std::string fn = f, e = path;
                fn.replace(fn.find('%'), 1, self);
                return e.replace(e.find('F'), 1, fn);
            };
            EXPECT_EQ(Matches(with(".")), Matches(with("./self::node()"))) << with(".");
        }
    }
    EXPECT_EQ(Matches("//p[contains(., 'Text 1')]"), (V{"/doc[1]/p[1]", "/doc[1]/p[3]"}));
}

// A comparison of an attribute with a literal, judged at once from the element's attributes,
// agrees with the same comparison walked through a longer path to the attribute, one match at a
// time and in one run: several values, a definition's default, numbers, empty values, either
// side, any attribute.
TEST_F(XPathRun, AttributeComparisonsAgreeWithTheWalkedForm) {
    Load("<doc><e a='v' n='10'/><e a='w' n='007'/><e a='' n='x'/><e/><e b='v'/><f a='v'/></doc>");
    F_ObjHandleT def = host::FindElementDef(doc, "e");
    host::AttrDef d;
    d.name = "d";
    d.defaults = {"dflt"};
    host::AddAttributeDef(def, d);
    ASSERT_TRUE(host::SetAttribute(doc, Find("/doc/e[4]"), "m", {"one", "two"}));
    ASSERT_TRUE(host::SetAttribute(doc, Find("/doc/e[5]"), "d", {"own"}));
    auto runMatches = [&](const std::string &expr) {
        IntT s = om_XPathCompile(expr, 0);
        om_XPathResetSequence(s, 1);
        std::vector<Match> matches;
        xpath_MatchAll(doc, 0, -1, s, 0, 0, matches);
        V out;
        for (const Match &m : matches) out.push_back(qvtest::PathOf(doc, m.elem));
        return out;
    };
    for (const char *test : {"@a = 'v'", "@a != 'v'", "'v' = @a", "@a = ''", "@a != ''", "@n > 9", "9 < @n",
                             "@n = 7", "@n >= 'x'", "@a <= 'v'", "@* = 'v'", "@node() = 'w'", "@missing = ''",
                             "@m = 'two'", "@m != 'one'", "@d = 'dflt'", "@d = 'own'"}) {
        std::string quick = std::string("//*[") + test + "]", walked = quick;
        walked.replace(walked.find('@'), 1, "./@");
        V expected = Matches(walked);
        EXPECT_EQ(Matches(quick), expected) << test;
        EXPECT_EQ(runMatches(quick), expected) << test;
    }
    EXPECT_EQ(Matches("//e[@a = 'v']"), V{"/doc[1]/e[1]"});
    EXPECT_EQ(Matches("//*['v' = @*]"), (V{"/doc[1]/e[1]", "/doc[1]/e[5]", "/doc[1]/f[1]"}));
    EXPECT_EQ(Matches("//e[@d = 'dflt']"), (V{"/doc[1]/e[1]", "/doc[1]/e[2]", "/doc[1]/e[3]", "/doc[1]/e[4]"}));
    EXPECT_EQ(Matches("//e[@m = 'two']"), V{"/doc[1]/e[4]"});
}

TEST_F(XPathRun, FlowAxes) {
    Load("<doc><a/></doc>");
    EXPECT_EQ(Matches("flow-any::Main"), V{"flow"});
    EXPECT_EQ(Matches("flow-any::Main/*"), V{"/doc[1]"});
    EXPECT_EQ(Matches("flow-any::Main/*/a"), V{"/doc[1]/a[1]"});
    EXPECT_EQ(Matches("flow-body::*"), V{});
    EXPECT_EQ(Matches("flow-any::Other"), V{});
}

TEST_F(XPathRun, StaleSequenceNumbersAreRefused) {
    Load("<doc><a/></doc>");
    IntT s = om_XPathCompile("//a", 0);
    om_XPathResetNodeTable();
    IntT other = om_XPathCompile("/doc", 0);
    EXPECT_EQ(other, s);  // the same index now names another expression
    IntT bogus = 77;
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, bogus, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, 0, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, 1000000, 0, 0, nullptr, nullptr), 0u);
    EXPECT_EQ(om_XPathResetSequence(1000000, 0), 0);
}

TEST_F(XPathRun, ParametersSubstituteAndRestore) {
    Load("<doc><chapter id='c1'/><section id='s1'/><section id='s2'/></doc>");
    om_XPathClearParameters();
    om_XPathSetParameter("$tag", "chapter");
    om_XPathSetParameter("tag", "chapter");
    EXPECT_EQ(XPathParameters.names.size(), 1u);
    EXPECT_EQ(om_XPathGetParameter("$tag"), om_XPathGetParameter("tag"));
    IntT s = om_XPathCompile("//$tag", 0);
    om_XPathResetSequence(s, 1);
    EXPECT_TRUE(om_XPathSubstituteParameters(s).empty());
    EXPECT_EQ(qvtest::PathOf(doc, om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr)), "/doc[1]/chapter[1]");
    om_XPathSetParameter("tag", "section");
    om_XPathResetSequence(s, 1);
    om_XPathSubstituteParameters(s);
    EXPECT_EQ(qvtest::PathOf(doc, om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, nullptr)), "/doc[1]/section[1]");

    IntT w = om_XPathCompile("//section[@id = $want]", 0);
    om_XPathResetSequence(w, 1);
    EXPECT_EQ(om_XPathSubstituteParameters(w), V{"$want"});
    EXPECT_EQ(om_FindNextNodeWithXpath(doc, w, 0, 0, nullptr, nullptr), 0u);
    om_XPathSetParameter("want", "s2");
    om_XPathResetSequence(w, 1);
    om_XPathSubstituteParameters(w);
    EXPECT_EQ(qvtest::PathOf(doc, om_FindNextNodeWithXpath(doc, w, 0, 0, nullptr, nullptr)), "/doc[1]/section[2]");
    om_XPathSetParameter("Tag", "x");
    EXPECT_EQ(XPathParameters.names.size(), 3u);
    om_XPathSetParameter("empty", "");
    EXPECT_EQ(om_XPathGetParameter("empty"), "");
}

}  // namespace

// The index of matches agrees with an ordered set, for keys rising or from anywhere, with repeats,
// and after a clear.
TEST(XPathMatchIndex, AgreesWithAnOrderedSet) {
    XPathMatchSet index;
    std::set<std::tuple<UIntT, UIntT, IntT>> model;
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 3; ++round) {
        UIntT node = 1000;
        for (int i = 0; i < 3000; ++i) {
            // Rising runs first, then a mix with repeats and keys from anywhere.
            bool rising = round == 0 || i < 1500;
            XPathMatchKey k{rising ? node += 1 + next() % 3 : 1000 + next() % 6000, IntT(next() % 3) - 1,
                            2000 + next() % 2};
            bool fresh = model.insert({k.node, k.doc, k.attr}).second;
            ASSERT_EQ(index.insert(k), fresh) << round << " " << i;
            XPathMatchKey probe{1000 + next() % 6000, IntT(next() % 3) - 1, 2000 + next() % 2};
            ASSERT_EQ(index.count(probe), model.count({probe.node, probe.doc, probe.attr})) << round << " " << i;
        }
        index.clear();
        model.clear();
        EXPECT_EQ(index.count(XPathMatchKey{1001, -1, 2000}), 0u);
    }
}

// A run's history tells a returned match from a new one, while matches come rising (the lists
// are searched) and after one comes out of order (they move into the index).
TEST(XPathMatchIndex, HistoryKnowsEveryReturnedMatch) {
    XPathNodeRecord seq;
    om_XPathHistoryClear(seq);
    std::set<std::tuple<UIntT, UIntT, IntT>> model;
    auto add = [&](XPathMatchKey k) {
        ASSERT_FALSE(om_XPathHistoryHas(seq, k));
        om_XPathHistoryAdd(seq, k);
        model.insert({k.node, k.doc, k.attr});
    };
    auto agree = [&] {
        for (UIntT node = 995; node < 1030; ++node)
            for (IntT attr : {-1, 0, 1})
                EXPECT_EQ(om_XPathHistoryHas(seq, {node, attr, 2000}), model.count({node, 2000, attr}) == 1)
                    << node << " " << attr << " hashed " << seq.historyHashed;
    };
    for (UIntT node = 1000; node < 1020; node += 2) add({node, -1, 2000});
    add({1020, 0, 2000});
    add({1020, 1, 2000});
    agree();
    EXPECT_FALSE(seq.historyHashed);
    add({1001, -1, 2000});  // out of order
    EXPECT_TRUE(seq.historyHashed);
    add({1025, -1, 2000});
    agree();
    EXPECT_EQ(seq.history.size(), model.size() + 1);
}

// A child step whose only predicate is a position gives the same matches as the position test
// spelt out, among mixed siblings and nested sections.
TEST_F(XPathRun, PositionPredicateFormsAgree) {
    Load("<doc><sec><para/><note/><para><para/></para><para/></sec><sec><note/><para/></sec>"
         "<sec><sec><para/><para/></sec></sec></doc>");
    EXPECT_EQ(Matches("//sec/para[2]"), (V{"/doc[1]/sec[1]/para[2]", "/doc[1]/sec[3]/sec[1]/para[2]"}));
    EXPECT_EQ(Matches("//sec/para[2]"), Matches("//sec/para[position() > 1 and position() < 3]"));
    EXPECT_EQ(Matches("//sec/para[position() = 1]"), Matches("//sec/para[position() < 2]"));
    EXPECT_EQ(Matches("//sec/*[2]"), (V{"/doc[1]/sec[1]/note[1]", "/doc[1]/sec[2]/para[1]",
                                          "/doc[1]/sec[3]/sec[1]/para[2]"}));
    EXPECT_EQ(Matches("//sec/para[0]"), V{});
    EXPECT_EQ(Matches("//sec/para[9]"), V{});
    EXPECT_EQ(Matches("/doc/sec[3]/sec/para[1]"), V{"/doc[1]/sec[3]/sec[1]/para[1]"});
}

// Elements made after the document (their ids no longer follow the document order) are still
// returned once each, by a run called match by match and by Match All.
TEST_F(XPathRun, ElementsMadeLaterComeOnce) {
    Load("<doc><a><a/></a><b/><a/></doc>");
    F_ObjHandleT def = F_ApiGetNamedObject(doc, FO_ElementDef, "a");
    F_ObjHandleT root = Find("/doc");
    F_ObjHandleT b = Find("//b");
    F_ElementLocT first{root, F_ApiGetId(doc, root, FP_FirstChildElement), 0};
    ASSERT_NE(F_ApiNewElement(doc, def, &first), 0u);
    F_ElementLocT beforeB{root, b, 0};
    ASSERT_NE(F_ApiNewElement(doc, def, &beforeB), 0u);
    V all{"/doc[1]/a[1]", "/doc[1]/a[2]", "/doc[1]/a[2]/a[1]", "/doc[1]/a[3]", "/doc[1]/a[4]"};
    EXPECT_EQ(Matches("//a"), all);
    V listed;
    for (F_ObjHandleT m : om_XPathListMatches(doc, 0, "//a/ancestor-or-self::a", 0, nullptr, 0))
        listed.push_back(qvtest::PathOf(doc, m));
    for (F_ObjHandleT m : om_XPathListMatches(doc, 0, "//a", 0, nullptr, 0)) listed.push_back(qvtest::PathOf(doc, m));
    V twice = all;
    twice.insert(twice.end(), all.begin(), all.end());
    EXPECT_EQ(listed, twice);
}

namespace {

// The run's fields of every record of a compiled expression, with its history: what a run leaves
// behind for the next call.
std::vector<std::string> RunState(IntT r) {
    std::vector<std::string> out;
    std::function<void(IntT)> visit = [&](IntT i) {
        const XPathNodeRecord &n = om_XPathRec(i);
        std::string line;
        for (long long v : {(long long)n.contextNode, (long long)n.matchNode, (long long)n.attrIndex,
                            (long long)n.matchDoc, (long long)n.groupNode, (long long)n.groupAttr,
                            (long long)n.groupDoc, (long long)n.candidateCount, (long long)n.firstEval})
            line += std::to_string(v) + " ";
        out.push_back(line + n.valueText);
        for (IntT c = n.firstChild; c; c = om_XPathRec(c).nextSibling) visit(c);
    };
    visit(r);
    for (const XPathMatchKey &k : om_XPathRec(r).history)
        out.push_back(std::to_string(k.node) + "/" + std::to_string(k.attr) + "/" + std::to_string(k.doc));
    return out;
}

}  // namespace

// A run that takes its matches in one go (a last step on the child or descendant axes without
// predicates, or with one judged at once, has a loop of its own) returns what calls one at a time return and leaves the
// records as they leave them, whether it runs to the end or is stopped after some matches: the
// calls that follow go on alike.
TEST_F(XPathRun, RunInOneGoAgreesWithCallsOneAtATime) {
    Load("<doc><sec><title>T</title><para k='v'>a<b>x</b></para><para>b</para><sec><para k='w'>c<para k='v'>d</para>"
         "</para></sec></sec><para/><sec>text only</sec><sec><note><para>e</para></note></sec></doc>");
    F_ObjHandleT sec1 = Find("/doc/sec[1]");
    ASSERT_NE(sec1, 0u);
    struct Case {
        const char *expr;
        F_ObjHandleT start;
    };
    for (const Case &c : {Case{"//para", 0}, Case{"/doc/sec/para", 0}, Case{"//sec//para", 0},
                          Case{"//sec/descendant::para", 0}, Case{"//para/b", 0}, Case{"para", sec1},
                          Case{".//para", sec1}, Case{"//*", 0}, Case{"//text()", 0}, Case{"//node()", 0},
                          Case{"//para[@k = 'v']", 0}, Case{"//*[@k != 'v']", 0}, Case{"para['w' = @k]", sec1},
                          Case{"//para[contains(., 'd')]", 0}, Case{"//sec/para[starts-with(., 'b')]", 0},
                          Case{"//para[contains(., 'x') = 'false']", 0}}) {
        IntT s = om_XPathCompile(c.expr, 0);
        ASSERT_LT(s, 50100) << c.expr;
        for (size_t stopAfter : {size_t(1), size_t(2), size_t(4), size_t(1000)}) {
            // One call at a time.
            om_XPathResetSequence(s, 1);
            std::vector<F_ObjHandleT> byCalls;
            F_ObjHandleT m;
            while (byCalls.size() < stopAfter && (m = om_FindNextNodeWithXpath(doc, s, c.start, 0, nullptr, nullptr)))
                byCalls.push_back(m);
            std::vector<std::string> callsState = RunState(s);
            F_ObjHandleT callsNext = om_FindNextNodeWithXpath(doc, s, c.start, 0, nullptr, nullptr);
            // One run.
            om_XPathResetSequence(s, 1);
            std::vector<F_ObjHandleT> byRun;
            om_XPathRunMatches(doc, s, c.start, 0, [&](F_ObjHandleT node, IntT, F_ObjHandleT) {
                byRun.push_back(node);
                return byRun.size() < stopAfter;
            });
            EXPECT_EQ(byRun, byCalls) << c.expr << " " << stopAfter;
            EXPECT_EQ(RunState(s), callsState) << c.expr << " " << stopAfter;
            EXPECT_EQ(om_FindNextNodeWithXpath(doc, s, c.start, 0, nullptr, nullptr), callsNext)
                << c.expr << " " << stopAfter;
        }
    }
}
