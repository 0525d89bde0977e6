// The engine against libxml2's XPath on random small trees (mixed content, nested same tags,
// attributes with word and integer values) and random expressions from the part of the dialect
// that agrees with XPath 1.0: the matches must be the same sets.
#include <gtest/gtest.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <random>
#include <set>

#include "support/xml_tree.h"
#include "xpath/xpath.h"

namespace {

std::string RandomTree(std::mt19937 &rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char *tags[] = {"a", "b", "c"};
    std::function<std::string(int)> element = [&](int depth) -> std::string {
        std::string tag = tags[pick(3)];
        std::string s = "<" + tag;
        if (pick(2)) s += " x='w" + std::to_string(1 + pick(3)) + "'";
        if (pick(3) == 0) s += " n='" + std::to_string(1 + pick(5)) + "'";
        s += ">";
        int kids = depth >= 4 ? 0 : pick(4);
        bool mixed = pick(3) == 0;
        for (int i = 0; i < kids; ++i) {
            if (mixed && pick(2)) s += "m" + std::to_string(pick(3));
            if (pick(4) == 0) s += "<t>w" + std::to_string(1 + pick(3)) + "</t>";
            else s += element(depth + 1);
        }
        if (mixed) s += "e" + std::to_string(pick(3));
        return s + "</" + tag + ">";
    };
    std::string s = "<doc>";
    for (int i = 0, n = 1 + pick(3); i < n; ++i) s += element(1);
    return s + "</doc>";
}

std::string RandomExpression(std::mt19937 &rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char *tests[] = {"a", "b", "c", "*", "t"};
    const char *preds[] = {"[@x]",          "[@x = 'w1']",  "[@n > 2]",          "[@n = 3]",       "[1]",
                           "[2]",           "[last()]",     "[t = 'w2']",        "[not(b)]",       "[@x and @n]",
                           "[@x or t]",     "[contains(@x, '2')]", "[starts-with(@x, 'w')]", "[@x != 'w1']",
                           "[b/@x]",        "[../@n]",      "[./t]",            "[@n <= 3]",      "[a][b]",
                           "[position() = 2]", "[not(@x)]", "[t != 'w1']"};
    const char *axes[] = {"", "", "", "parent::", "ancestor::", "following-sibling::", "preceding-sibling::",
                          "descendant::", "ancestor-or-self::", "self::"};
    std::string e = pick(3) ? "//" : "/doc/";
    std::string prev = tests[pick(5)];
    e += prev;
    if (pick(3) == 0) {
        // last() of the root element is 0 in the dialect (it has no parent).
        std::string p = preds[pick(22)];
        if (p != "[last()]") e += p;
    }
    for (int i = 0, n = pick(3); i < n; ++i) {
        std::string test = tests[pick(5)];
        // In the dialect a "//" step includes its context node itself (a//a matches the outer a),
        // so "//" between steps is used only where that cannot matter.
        if (pick(4) == 0 && prev != "*" && test != "*" && test != prev) {
            e += "//" + test;
        } else {
            e += "/";
            e += axes[pick(10)];
            e += test;
        }
        prev = test;
        if (pick(3) == 0) {
            std::string p = preds[pick(22)];
            // Positions on reverse or descendant axes count differently; keep to child steps.
            bool childStep = e.find("::", e.rfind('/')) == std::string::npos;
            if (childStep || p.find_first_of("0123456789") == std::string::npos || p.find('@') != std::string::npos)
                if (p != "[last()]" || childStep) e += p;
        }
    }
    int tail = pick(6);
    if (tail == 0) e += "/@x";
    else if (tail == 1) e += "/@*";
    else if (tail == 2) e += "/text()";
    return e;
}

std::string LibxmlPath(xmlNode *n) {
    std::vector<std::string> parts;
    std::string attr;
    if (n->type == XML_ATTRIBUTE_NODE) {
        attr = std::string("/@") + (const char *)n->name;
        n = n->parent;
    }
    for (; n && n->type != XML_DOCUMENT_NODE; n = n->parent) {
        bool text = n->type == XML_TEXT_NODE;
        int pos = 1;
        for (xmlNode *s = n->prev; s; s = s->prev) {
            if (text ? s->type == XML_TEXT_NODE
                     : (s->type == XML_ELEMENT_NODE && xmlStrEqual(s->name, n->name)))
                ++pos;
        }
        parts.push_back((text ? std::string("text()") : std::string((const char *)n->name)) + "[" + std::to_string(pos) + "]");
    }
    std::string out;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) out += "/" + *it;
    return out + attr;
}

std::set<std::string> LibxmlMatches(xmlDoc *x, const std::string &expr) {
    std::set<std::string> out;
    xmlXPathContext *ctx = xmlXPathNewContext(x);
    xmlXPathObject *res = xmlXPathEvalExpression((const xmlChar *)expr.c_str(), ctx);
    if (res && res->nodesetval)
        for (int i = 0; i < res->nodesetval->nodeNr; ++i) out.insert(LibxmlPath(res->nodesetval->nodeTab[i]));
    xmlXPathFreeObject(res);
    xmlXPathFreeContext(ctx);
    return out;
}

std::set<std::string> EngineMatches(F_ObjHandleT doc, const std::string &expr) {
    std::set<std::string> out;
    IntT s = om_XPathCompile(expr, 0);
    if (s > 50099) {
        out.insert("compile error " + std::to_string(s));
        return out;
    }
    std::vector<Match> matches;
    om_XPathResetSequence(s, 1);
    xpath_MatchAll(doc, 0, -1, s, 0, 0, matches);
    std::vector<F_ObjHandleT> elems = om_XPathMatchElements(matches);
    std::vector<IntT> attrs;
    for (const Match &m : matches) attrs.push_back(m.attr);
    // Match All gives what calls for one match at a time give, in the same order.
    std::vector<F_ObjHandleT> oneByOne;
    std::vector<IntT> oneByOneAttrs;
    om_XPathResetSequence(s, 1);
    for (size_t i = 0; i <= elems.size(); ++i) {
        IntT attr = -1;
        F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, 0, 0, nullptr, &attr);
        if (!m) break;
        oneByOne.push_back(m);
        oneByOneAttrs.push_back(attr);
    }
    EXPECT_EQ(oneByOne, elems) << expr;
    EXPECT_EQ(oneByOneAttrs, attrs) << expr;
    for (size_t i = 0; i < elems.size(); ++i) {
        std::string p = qvtest::PathOf(doc, elems[i]);
        if (attrs[i] >= 0) {
            F_AttributesT a = F_ApiGetAttributes(doc, elems[i]);
            p += std::string("/@") + a.val[attrs[i]].name;
            F_ApiDeallocateAttributes(&a);
        }
        out.insert(p);
    }
    return out;
}

TEST(XPathDifferential, MatchesEqualLibxml2OnRandomTrees) {
    std::mt19937 rng(20240611);
    om_XPathInitEngine(1000, 255, 10000);
    int compared = 0;
    for (int t = 0; t < 60; ++t) {
        host::ResetSession();
        om_XPathResetNodeTable();
        std::string xml = RandomTree(rng);
        F_ObjHandleT doc = qvtest::BuildDocument(xml);
        ASSERT_NE(doc, 0u) << xml;
        xmlDoc *x = xmlReadMemory(xml.data(), int(xml.size()), "t.xml", nullptr, XML_PARSE_NOBLANKS);
        for (int e = 0; e < 40; ++e) {
            std::string expr = RandomExpression(rng);
            std::set<std::string> ours = EngineMatches(doc, expr), theirs = LibxmlMatches(x, expr);
            EXPECT_EQ(ours, theirs) << "expression: " << expr << "\ntree: " << xml;
            if (ours != theirs) {
                xmlFreeDoc(x);
                return;
            }
            ++compared;
        }
        xmlFreeDoc(x);
    }
    host::ResetSession();
    EXPECT_EQ(compared, 2400);
}

}  // namespace
