// Shared element operations: ancestors by tag, definitions of a type, insert after, and a marker
// element replaced by its text.
#include "elements_fixture.h"
#include "lib/host/element_ops.h"
#include "lib/globals.h"

using ElementOps = ElementsDoc;

TEST_F(ElementOps, AncestorsAreSearchedAboveTheElementOnly) {
    EXPECT_EQ(om_ElementFindAncestor(doc, nested, "Para", 0), p2);  // its own tag is not itself
    EXPECT_EQ(om_ElementFindAncestor(doc, tcd, "Sec", 0), s1);
    EXPECT_EQ(om_ElementFindAncestor(doc, tcd, "Nope", 0), 0u);
    EXPECT_EQ(om_ElementFindAncestor(doc, tcd, "", root), root);
    StatusCode = 0;
    EXPECT_EQ(om_ElementFindAncestor(0, tcd, "Sec", 0), 0u);
    EXPECT_EQ(StatusCode, StatusNoDocument);
}

TEST_F(ElementOps, DefinitionsOfOneTypeInDocumentOrder) {
    host::AddElementDef(doc, "Tbl", FV_FO_TBL);
    std::vector<std::string> names;
    om_ElementDefNamesOfType(doc, FV_FO_CONTAINER, names);
    EXPECT_EQ(names, (std::vector<std::string>{"Doc", "Sec", "Title", "Para", "B"}));
    om_ElementDefNamesOfType(doc, FV_FO_TBL, names);
    EXPECT_EQ(names, std::vector<std::string>{"Tbl"});
    EXPECT_EQ(om_ElementDefIsOfType(doc, "Tbl", FV_FO_TBL), 1);
    EXPECT_EQ(om_ElementDefIsOfType(doc, "Para", FV_FO_TBL), 0);
    EXPECT_EQ(om_ElementDefIsOfType(doc, "Missing", FV_FO_CONTAINER), 0);
}

TEST_F(ElementOps, InsertAfterPlacesTheNewElementAsNextSibling) {
    F_ObjHandleT e = om_ElementInsertAfter(doc, p1, "Title");
    ASSERT_NE(e, 0u);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_NextSiblingElement), e);
    EXPECT_EQ(F_ApiGetId(doc, e, FP_NextSiblingElement), p2);
    StatusCode = 0;
    EXPECT_EQ(om_ElementInsertAfter(doc, 0, "Title"), 0u);
    EXPECT_EQ(StatusCode, StatusNoObject);
}

TEST_F(ElementOps, MarkerElementIsReplacedByItsTextInPlace) {
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextLocT inText{r.beg.objId, 1};  // between "a" and "b"
    F_ObjHandleT marker = F_ApiNewAnchoredObject(doc, FO_Marker, &inText);
    ASSERT_NE(marker, 0u);
    F_ApiSetString(doc, marker, FP_MarkerText, "MK");
    F_ObjHandleT me = host::Elem(tab)->next;
    ASSERT_EQ(F_ApiGetInt(doc, me, FP_ElementType), FV_FO_MARKER);
    StatusCode = 0;
    om_ElementReplaceByText(doc, me);
    EXPECT_EQ(StatusCode, 0);
    EXPECT_EQ(Outline(p1), "Para('aMKb' B('cd') 'ef')");
    om_ElementReplaceByText(doc, b);  // a container is not replaced
    EXPECT_EQ(StatusCode, StatusNoObject);
    EXPECT_EQ(Outline(p1), "Para('aMKb' B('cd') 'ef')");
}
