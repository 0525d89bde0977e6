// Element tree queries: emptiness, counts, positions, highest-level elements, flows, selection,
// pages and the list filters.
#include "elements_fixture.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_walk.h"
#include "lib/globals.h"

namespace {

using Query = ElementsDoc;

void Select(F_ObjHandleT doc, F_ElementLocT b, F_ElementLocT e) {
    F_ElementRangeT r{b, e};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &r);
}

TEST_F(Query, EmptinessAndContent) {
    EXPECT_EQ(om_ElementIsEmpty(doc, empty), 1);
    // The empty content stays selected.
    F_ElementRangeT sel = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    EXPECT_EQ(sel.beg.parentId, empty);
    EXPECT_EQ(sel.beg.offset, 0);
    EXPECT_EQ(sel.end.offset, 0);
    host::AppendText(doc, empty, " ");
    EXPECT_EQ(om_ElementIsEmpty(doc, empty), 0);
    EXPECT_EQ(om_ElementIsEmpty(doc, p1), 0);
    EXPECT_EQ(om_ElementIsEmpty(doc, 0), 1);
    EXPECT_EQ(om_ElementHasContent(doc, s2), 1);
    EXPECT_EQ(om_ElementHasContent(doc, tab), 1);
    EXPECT_EQ(om_ElementHasContent(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc)), 1);
    EXPECT_EQ(om_ElementHasContent(0, p1), 0);
}

TEST_F(Query, ChildCountsAndPositions) {
    EXPECT_EQ(om_ElementCountChildren(doc, p1, "", 0), 1);  // B only: text children are not tagged
    EXPECT_EQ(om_ElementCountChildren(doc, p1, "", 1), 3);
    EXPECT_EQ(om_ElementCountChildren(doc, s1, "Para", 0), 2);
    EXPECT_EQ(om_ElementSiblingPosition(doc, b, 1), 2);
    EXPECT_EQ(om_ElementSiblingPosition(doc, b, 0), 3);
    StatusCode = 0;
    EXPECT_EQ(om_ElementSiblingPosition(doc, 0, 1), 0);
    EXPECT_EQ(StatusCode, StatusNoObject);
    EXPECT_EQ(om_ElementCountSiblings(doc, p1, "Para", 0), 2);
    EXPECT_EQ(om_ElementCountSiblings(doc, root, "", 0), 1);
    EXPECT_EQ(om_ElementNthChild(doc, s1, 3, 0), p2);
    EXPECT_EQ(om_ElementNthChild(doc, p1, 1, 1), title);
    EXPECT_EQ(om_ElementNthChild(doc, s1, 0, 0), 0u);
    EXPECT_EQ(om_ElementDepth(doc, 0, nested), 3);
    EXPECT_EQ(om_ElementDepth(doc, s1, nested), 2);
    EXPECT_EQ(om_ElementTopAncestor(doc, tcd), root);
    EXPECT_EQ(om_ElementAncestorTagged(doc, nested, "Para", 0), p2);
    EXPECT_EQ(om_ElementAncestorTagged(doc, nested, "Para", 1), nested);
    EXPECT_EQ(om_ElementCountDescendants(doc, s1, "", 0, 0), 5);   // Title, Para, B, Para, Para
    EXPECT_EQ(om_ElementCountDescendants(doc, s1, "Para", 1, 0), 4);
    EXPECT_EQ(om_ElementCountDescendants(doc, s1, "", 0, 1), 7);   // text nodes
}

TEST_F(Query, FlowsAndHighestLevelElements) {
    F_ObjHandleT side = host::AddFlow(doc, "Side");
    F_ObjHandleT sideRoot = host::AppendElement(doc, 0, secDef, side);
    EXPECT_EQ(om_ElementHighestLevel(doc, "mAIN", 0), root);
    EXPECT_EQ(om_ElementHighestLevel(doc, "", 0), root);
    EXPECT_EQ(om_ElementHighestLevel(doc, "Side", 0), sideRoot);
    EXPECT_EQ(om_ElementHighestLevel(doc, "side", 0), 0u);  // other flows match exactly
    EXPECT_EQ(om_FlowFind(doc, "side", 0), side);
    EXPECT_EQ(om_ElementHighestLevel(p1, "", 0), 0u);       // not a document or book
    EXPECT_EQ(om_DocFlowOfObject(doc, nested), F_ApiGetId(0, doc, FP_MainFlowInDoc));
    EXPECT_EQ(om_DocFlowOfObject(doc, sideRoot), side);
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    EXPECT_EQ(om_DocFlowOfObject(doc, r.beg.objId), F_ApiGetId(0, doc, FP_MainFlowInDoc));
    std::vector<std::string> names = om_DocElementDefNames(doc, 1, 1);
    EXPECT_EQ(names, (std::vector<std::string>{"B", "Doc", "Para", "Sec", "Title"}));
}

TEST_F(Query, SelectedElement) {
    om_ElementSelectWhole(doc, p1);
    EXPECT_EQ(om_ElementSelected(doc, 0, 0), p1);
    EXPECT_EQ(om_ElementSelected(doc, 1, 1), p1);
    EXPECT_EQ(om_DocSelectionKind(doc), 5);
    EXPECT_EQ(om_ElementSelectedWhole(doc, -1, 0), p1);
    EXPECT_EQ(om_ElementSelectedWhole(doc, FV_FO_TBL, 0), 0u);
    EXPECT_EQ(om_ElementSelectionRelation(doc, p1), 5);
    Select(doc, {p1, tab, 1}, {p1, tab, 1});
    EXPECT_EQ(om_ElementSelected(doc, 0, 0), 0u);
    EXPECT_EQ(om_ElementSelected(doc, 1, 0), p1);
    EXPECT_EQ(om_DocSelectionKind(doc), 2);
    EXPECT_EQ(om_ElementsSelected(doc, 1, 0), std::vector<UIntT>{p1});
    Select(doc, {s1, p1, 0}, {s1, 0, 0});
    EXPECT_EQ(om_ElementsSelected(doc, 0, 0), (std::vector<UIntT>{p1, p2}));
    Select(doc, {s1, p1, 0}, {s1, p1, 0});
    EXPECT_EQ(om_ElementSelectionRelation(doc, p1), 1);
    StatusCode = 5;
    EXPECT_EQ(om_ElementSelected(0, 0, 0), 0u);
    EXPECT_EQ(StatusCode, StatusNoDocument);
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    F_ObjHandleT front = 0;
    om_ElementSelectWhole(doc, p2);
    EXPECT_EQ(om_ElementSelectedInFrontDoc(&front), p2);
    EXPECT_EQ(front, doc);
}

TEST_F(Query, PagesOfAnElementInOrderOfFirstAppearance) {
    std::vector<UIntT> pages = om_ElementPages(doc, s1);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(om_ElementPageNumbers(doc, s1), std::vector<UIntT>{1});
    EXPECT_EQ(om_ElementPages(doc, 0), std::vector<UIntT>{});
}

TEST_F(Query, KeepConnectedDropsTheSubtreeOfAMissingLink) {
    std::vector<UIntT> list{nested, p2, root, s1, s2, empty, b};
    om_ElementsKeepConnected(doc, 0, 0, list);
    EXPECT_EQ(list, (std::vector<UIntT>{root, s1, p2, nested, s2, empty}));  // b's parent p1 is missing
    list = {nested, b, s2};
    ElementWalkState.lastMove = WalkNext;
    om_ElementsKeepInSubtree(doc, 0, s1, list);
    EXPECT_EQ(list, (std::vector<UIntT>{b, nested}));
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);  // restored
    list = {p1};
    om_ElementsKeepConnected(doc, 0, s1, list);
    EXPECT_TRUE(list.empty());
}

TEST_F(Query, RangeHelpers) {
    F_ElementRangeT a{{1, 2, 3}, {4, 5, 6}}, b{};
    om_ElementRangeCopy(&b, &a);
    EXPECT_EQ(om_ElementRangeEqual(&a, &b), 1);
    b.end.offset = 7;
    EXPECT_EQ(om_ElementRangeEqual(&a, &b), 0);
    om_ElementRangeClear(&b);
    EXPECT_EQ(b.beg.parentId, 0u);
}

TEST_F(Query, TablesCountAsElementsWithHostObjects) {
    EXPECT_EQ(om_ElementCountsAsEmpty(doc, empty), 1);
    EXPECT_EQ(om_ElementCountsAsEmpty(doc, s1), 0);
    F_ElementLocT place{s2, empty, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    F_ObjHandleT tbl = F_ApiNewTable(doc, "Format A", 2, 3, 1, 0, &at);
    F_ObjHandleT te = F_ApiGetId(doc, tbl, FP_Element);
    F_ObjHandleT body = host::Elem(te)->last;
    EXPECT_EQ(F_ApiGetInt(doc, body, FP_ElementType), FV_FO_TBL_BODY);
    EXPECT_EQ(om_ElementPages(doc, body).size(), 1u);
    EXPECT_EQ(om_ElementCountDescendants(doc, te, "Cell", 0, 0), 8);
}

}  // namespace
