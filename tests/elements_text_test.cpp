// Element tags, texts and the searches by attribute, by tag and text, and by unique ID.
#include "elements_fixture.h"
#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/globals.h"

namespace {

using Text = ElementsDoc;

TEST_F(Text, TagWithAndWithoutSecondName) {
    EXPECT_EQ(om_ElementTag(doc, p1, 1), "Para");
    F_ApiSetString(doc, p1, FP_ElementAltName, "intro");
    EXPECT_EQ(om_ElementTag(doc, p1, 1), "Para(intro)");
    EXPECT_EQ(om_ElementTag(doc, p1, 0), "Para");
    EXPECT_EQ(om_ElementTag(doc, tab, 1), "");
    StatusCode = 0;
    EXPECT_EQ(om_ElementTag(0, p1, 0), "");
    EXPECT_EQ(StatusCode, StatusNoDocument);
}

TEST_F(Text, TextOfContentElementItselfAndFirstParagraph) {
    EXPECT_EQ(om_ElementText(doc, p1, 0, 0, 0, 0), "abcdef");
    EXPECT_EQ(om_ElementText(doc, b, 0, 0, 1, 0), "cd");
    EXPECT_EQ(om_ElementText(doc, tcd, 0, 0, 0, 0), "cd");  // text node: itself
    EXPECT_EQ(om_ElementText(doc, s1, 0, 0, 0, 1), "Intro\nabcdef\nx\nnested\ny");
    EXPECT_EQ(om_ElementText(doc, s1, 1, 0, 0, 0), "Intro");
    EXPECT_EQ(om_ElementText(doc, empty, 0, 0, 0, 0), "");
    StatusCode = 0;
    EXPECT_EQ(om_ElementText(doc, 0, 0, 0, 0, 0), "");
    EXPECT_EQ(StatusCode, StatusNoObject);
}

TEST_F(Text, MaximumCountsCharactersAndCutsAfterGathering) {
    // Two paragraphs of 3 and 10 letters, maximum 10 with line breaks: 3 letters, a break and 6.
    F_ObjHandleT sec = host::AppendElement(doc, root, secDef);
    host::AppendText(doc, host::AppendElement(doc, sec, paraDef), "abc");
    host::AppendText(doc, host::AppendElement(doc, sec, paraDef), "defghijklm");
    EXPECT_EQ(om_ElementText(doc, sec, 0, 10, 0, 1), "abc\ndefghi");
    // Multi-byte text over several string items is cut by characters, not bytes.
    F_ObjHandleT p = host::AppendElement(doc, root, paraDef);
    host::AppendText(doc, p, "\xC3\xA4\xC3\xA4\xC3\xA4" "a");
    host::AppendText(doc, host::AppendElement(doc, p, bDef), "bbb");
    EXPECT_EQ(om_ElementText(doc, p, 0, 5, 0, 0), "\xC3\xA4\xC3\xA4\xC3\xA4" "ab");
}

TEST_F(Text, LongTextStopsJustOverTheByteLimitAtAnItemBoundary) {
    F_ObjHandleT p = host::AppendElement(doc, root, secDef);
    for (int i = 0; i < 8; ++i) host::AppendText(doc, host::AppendElement(doc, p, paraDef), std::string(10000, 'a' + i));
    std::string t = om_ElementText(doc, p, 0, 0, 0, 0);
    EXPECT_GT(t.size(), kElementTextByteLimit);
    EXPECT_EQ(t.size() % 10000, 0u);
    EXPECT_EQ(t.size(), 70000u);  // of 80,000
}

TEST_F(Text, FindByAttributeStaysInTheStartsSubtree) {
    // Every declared attribute is on the list, with or without a value.
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "*", "kind", "*", ""), s1);
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "*", "kind", "a", ""), p1);
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "*", "id", "p2", ""), p2);
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "Para", "id", "s1", ""), 0u);
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "Sec", "*", "*", "Main"), s1);
    EXPECT_EQ(om_ElementFindByAttr(doc, 0, "", "*", "*", ""), host::Elem(title)->first);  // untagged
    // From p1 the walk ends at p1's next sibling: p2 is never returned.
    EXPECT_EQ(om_ElementFindByAttr(doc, p1, "*", "id", "p2", ""), 0u);
    EXPECT_EQ(om_ElementFindByAttr(doc, nested, "Para", "*", "*", ""), nested);
}

TEST_F(Text, FindByTagAndTextComparesTheFirst255CharactersAndRestoresTheWalk) {
    std::string longText(300, 'q');
    F_ObjHandleT a = host::AppendElement(doc, s2, paraDef);
    host::AppendText(doc, a, longText);
    F_ObjHandleT c = host::AppendElement(doc, s2, paraDef);
    host::AppendText(doc, c, longText + "zz");
    ElementWalkState = ElementWalkStateT{WalkNext, 1};
    EXPECT_EQ(om_ElementFindByTagAndText(doc, 0, "Para", "x"), p2);  // p2's first paragraph
    EXPECT_EQ(om_ElementFindByTagAndText(doc, 0, "Para", "nested"), nested);
    EXPECT_EQ(om_ElementFindByTagAndText(doc, 0, "", "cd"), b);
    EXPECT_EQ(om_ElementFindByTagAndText(doc, 0, "Para", std::string(255, 'q')), a);
    EXPECT_EQ(om_ElementFindByTagAndText(doc, c, "Para", std::string(255, 'q')), c);
    EXPECT_EQ(om_ElementFindByTagAndText(doc, 0, "Para", longText), 0u);
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    StatusCode = 0;
    EXPECT_EQ(om_ElementFindByTagAndText(0, 0, "", "x"), 0u);
    EXPECT_EQ(StatusCode, StatusNoDocument);
}

TEST_F(Text, FindByUniqueIdLooksOnlyAtTheStartsSubtree) {
    ElementWalkState = ElementWalkStateT{WalkUp, 1};
    EXPECT_EQ(om_ElementFindByUniqueId(doc, "", 0, "p2"), p2);
    EXPECT_EQ(om_ElementFindByUniqueId(doc, "", s2, "p2"), 0u);
    EXPECT_EQ(om_ElementFindByUniqueId(doc, "", empty, "p2"), 0u);  // a start without children
    EXPECT_EQ(om_ElementFindByUniqueId(doc, "Nowhere", 0, "p2"), 0u);
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
}

TEST_F(Text, ChildAndSiblingByTag) {
    EXPECT_EQ(om_ElementFirstChildTagged(doc, s1, "Para", 0), p1);
    EXPECT_EQ(om_ElementNextSiblingTagged(doc, p1, "Para", 0), p2);
    EXPECT_EQ(om_ElementNextSiblingTagged(doc, p2, "Para", 0), 0u);
    EXPECT_EQ(om_ElementFirstChildTagged(doc, empty, "Para", 0), 0u);
}

TEST_F(Text, TextWithPrefixAndTabs) {
    F_ObjHandleT p = host::AppendElement(doc, root, paraDef);
    host::AppendText(doc, p, "a\x08" "b");
    EXPECT_EQ(om_ElementTextWithPrefix(doc, p, 0, 0, 0, 1), "a b");
    EXPECT_EQ(om_ElementTextWithPrefix(doc, p, 0, 0, 0, 0), "a\x08" "b");
    EXPECT_EQ(om_ElementPrefixText(doc, p, 1), "");
}

}  // namespace
