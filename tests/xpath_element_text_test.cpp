// The engine reads a node's value as the library reads an element's text: the content's first
// paragraph (an empty first paragraph gives the empty text), or the whole text for match values.
#include "elements_fixture.h"
#include "lib/host/element_text.h"
#include "xpath/host_reads.h"
#include "xpath/xpath.h"

namespace {

class EngineText : public ElementsDoc {
  protected:
    void SetUp() override {
        ElementsDoc::SetUp();
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        // s2: an empty paragraph, then one with text.
        host::AppendText(doc, host::AppendElement(doc, s2, paraDef), "later");
        // s3: a paragraph whose content begins with a nested paragraph.
        s3 = host::AppendElement(doc, root, secDef);
        outer = host::AppendElement(doc, s3, paraDef);
        host::AppendText(doc, host::AppendElement(doc, outer, paraDef), "inner");
        host::AppendText(doc, outer, "tail");
    }
    void TearDown() override { host::ResetSession(); }

    std::vector<F_ObjHandleT> Matches(const std::string &expr) {
        IntT s = om_XPathCompile(expr, 0);
        om_XPathResetSequence(s, 1);
        std::vector<Match> matches;
        xpath_MatchAll(doc, 0, -1, s, 0, 0, matches);
        return om_XPathMatchElements(matches);
    }

    F_ObjHandleT s3 = 0, outer = 0;
};

TEST_F(EngineText, NodeValuesAreTheLibrarysReading) {
    struct Case {
        F_ObjHandleT elem;
        const char *firstParagraph;
    };
    const Case cases[] = {
        {s1, "Intro"},
        {p1, "abcdef"},
        {b, "cd"},
        {s2, ""},        // the first paragraph is empty: no skipping to the next
        {outer, "inner"},  // the content begins in the nested paragraph
        {s3, ""},          // ... which comes after outer's own, empty, paragraph
        {empty, ""},
    };
    for (const Case &c : cases) {
        std::string id = std::to_string(c.elem);
        EXPECT_EQ(om_ElementText(doc, c.elem, 1, 1000, 0, 0), c.firstParagraph) << id;
        EXPECT_EQ(om_XPathElementText(doc, c.elem, 1, 1000), c.firstParagraph) << id;
        EXPECT_EQ(om_XPathElementText(doc, c.elem, 0, 1000), om_ElementText(doc, c.elem, 0, 1000, 0, 0)) << id;
    }
    // Predicates compare the same value.
    EXPECT_EQ(Matches("//Sec[. = '']"), (std::vector<F_ObjHandleT>{s2, s3}));
    EXPECT_EQ(Matches("//Sec[contains(., 'later')]"), std::vector<F_ObjHandleT>{});
    EXPECT_EQ(Matches("//Para[. = 'inner']"), (std::vector<F_ObjHandleT>{outer, host::Elem(outer)->first}));
    // Match values: the first paragraph of each match.
    EXPECT_EQ(om_XPathGetMatchValues(doc, 0, 0, "//Sec", 0), (std::vector<std::string>{"Intro", "", ""}));
}

}  // namespace
