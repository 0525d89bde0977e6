// Element walk: the shared step, tagged steps, skipping, standing still and saving the state.
#include "elements_fixture.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"

namespace {

using Walk = ElementsDoc;

struct Visit {
    F_ObjHandleT elem;
    IntT move;
};

std::vector<Visit> WalkAll(F_ObjHandleT doc, F_ObjHandleT start) {
    std::vector<Visit> out;
    om_ElementWalkStart();
    for (F_ObjHandleT e = start; e; e = om_ElementNextInDocOrder(doc, e)) out.push_back({e, ElementWalkState.lastMove});
    return out;
}

TEST_F(Walk, WholeFlowVisitsEveryElementOnceAndEachParentAgainOnTheWayUp) {
    std::vector<Visit> v = WalkAll(doc, root);
    std::vector<F_ObjHandleT> first, again;
    for (size_t i = 0; i < v.size(); ++i) (i == 0 || v[i].move != WalkUp ? first : again).push_back(v[i].elem);
    // Pre-order: every element, text nodes included, once.
    std::vector<F_ObjHandleT> expected{root, s1, title, host::Elem(title)->first, p1, tab, b, tcd, tef, p2,
                                       host::Elem(p2)->first, nested, host::Elem(nested)->first,
                                       host::Elem(p2)->last, s2, empty};
    EXPECT_EQ(first, expected);
    // Every element with children is reached a second time, with last move 3.
    std::vector<F_ObjHandleT> up{title, b, p1, nested, p2, s1, s2, root};
    EXPECT_EQ(again, up);
}

TEST_F(Walk, DisabledStepsReturnTheirArgumentAndKeepTheLastMove) {
    ElementWalkState.lastMove = WalkNext;
    ElementWalkState.enabled = 0;
    EXPECT_EQ(om_ElementNextInDocOrder(doc, p1), p1);
    EXPECT_EQ(om_ElementNextTagged(doc, p1), p1);
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    ElementWalkState.enabled = 1;
    EXPECT_EQ(om_ElementNextInDocOrder(0, p1), 0u);
    EXPECT_EQ(om_ElementNextInDocOrder(doc, 0), 0u);
}

TEST_F(Walk, ClimbingGoesOnToTheParentsSiblingWithoutReenteringTheParent) {
    om_ElementWalkStart();
    // tef is p1's last child, without children: up to p1, then on to p2.
    EXPECT_EQ(om_ElementNextInDocOrder(doc, tef), p1);
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
    EXPECT_EQ(om_ElementNextInDocOrder(doc, p1), p2);
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    // empty is s2's last child: up to s2, then (no sibling) up to the root, then 0.
    om_ElementWalkStart();
    EXPECT_EQ(om_ElementNextInDocOrder(doc, empty), s2);
    EXPECT_EQ(om_ElementNextInDocOrder(doc, s2), root);
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
    EXPECT_EQ(om_ElementNextInDocOrder(doc, root), 0u);
}

TEST_F(Walk, SettingLastMoveUpSkipsTheSubtree) {
    ElementWalkState.lastMove = WalkUp;
    EXPECT_EQ(om_ElementNextInDocOrder(doc, p1), p2);  // next sibling
    ElementWalkState.lastMove = WalkUp;
    EXPECT_EQ(om_ElementNextInDocOrder(doc, p2), s1);  // no sibling: the parent
}

TEST_F(Walk, TaggedStepsPassOverTextAndReturnTaggedAncestorsOnTheWayUp) {
    om_ElementWalkStart();
    EXPECT_EQ(om_ElementNextTagged(doc, p1), b);
    EXPECT_EQ(om_ElementNextTagged(doc, b), b);  // "cd" passed over, then b again on the way up
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
    EXPECT_EQ(om_ElementNextTagged(doc, b), p1);  // "ef" passed over, up to p1
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
    om_ElementWalkStart();
    std::vector<F_ObjHandleT> tail;
    for (F_ObjHandleT e = om_ElementNextTagged(doc, empty); e; e = om_ElementNextTagged(doc, e)) tail.push_back(e);
    EXPECT_EQ(tail, (std::vector<F_ObjHandleT>{s2, root}));
}

TEST_F(Walk, PushAndPopRestoreLastMovesInReverseOrder) {
    ElementWalkStack.clear();
    ElementWalkState.lastMove = WalkNext;
    om_ElementWalkPop();  // empty stack: unchanged
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    om_ElementWalkPush();
    ElementWalkState.lastMove = WalkUp;
    om_ElementWalkPush();
    ElementWalkState.lastMove = WalkDown;
    om_ElementWalkPop();
    EXPECT_EQ(ElementWalkState.lastMove, WalkUp);
    om_ElementWalkPop();
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    EXPECT_TRUE(ElementWalkStack.empty());
}

TEST_F(Walk, StaleElementEndsTheWalkQuietly) {
    F_ApiDelete(doc, p2);
    FA_errno = 0;
    om_ElementWalkStart();
    EXPECT_EQ(om_ElementNextInDocOrder(doc, p2), 0u);
    EXPECT_EQ(om_ElementNextTagged(doc, nested), 0u);
}

}  // namespace

namespace {

// A flow with mixed content, nested elements of the same tag, a table and markers: the walk
// reaches every element of the tree once on the way down, and its revisits are exactly the
// elements with children.
TEST_F(Walk, WalkCoversTablesMarkersAndNestedSameTags) {
    F_ElementLocT place{s2, empty, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    F_ObjHandleT tbl = F_ApiNewTable(doc, "F", 2, 2, 1, 1, &at);
    F_ObjHandleT te = F_ApiGetId(doc, tbl, FP_Element);
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextLocT inText{r.beg.objId, 1};  // between "a" and "b"
    F_ObjHandleT marker = F_ApiNewAnchoredObject(doc, FO_Marker, &inText);
    ASSERT_NE(marker, 0u);
    F_ApiSetString(doc, marker, FP_MarkerText, "see here");
    F_ObjHandleT me = host::Elem(tab)->next;
    EXPECT_EQ(F_ApiGetInt(doc, me, FP_ElementType), FV_FO_MARKER);
    EXPECT_EQ(F_ApiGetId(doc, me, FP_Object), marker);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstMarkerInDoc), marker);
    EXPECT_EQ(HostGetString(doc, marker, FP_MarkerText), "see here");
    EXPECT_EQ(Outline(p1), "Para('a' Marker 'b' B('cd') 'ef')");

    // Every element of the tree, counted by the model, against the walk.
    size_t total = 0, withChildren = 0;
    std::vector<F_ObjHandleT> stack{root};
    while (!stack.empty()) {
        F_ObjHandleT e = stack.back();
        stack.pop_back();
        ++total;
        if (host::Elem(e)->first) ++withChildren;
        for (F_ObjHandleT c = host::Elem(e)->first; c; c = host::Elem(c)->next) stack.push_back(c);
    }
    std::vector<Visit> v = WalkAll(doc, root);
    size_t down = 0, up = 0;
    bool sawTable = false, sawCell = false, sawMarker = false;
    for (const Visit &x : v) {
        (x.move == WalkUp ? up : down)++;
        if (x.elem == te) sawTable = true;
        if (x.elem == me) sawMarker = true;
        if (F_ApiGetInt(doc, x.elem, FP_ElementType) == FV_FO_TBL_CELL) sawCell = true;
    }
    EXPECT_EQ(down, total);
    EXPECT_EQ(up, withChildren);
    EXPECT_TRUE(sawTable && sawCell && sawMarker);
    // Deleting the marker's element makes the marker id stale.
    F_ApiDelete(doc, marker);
    FA_errno = 0;
    EXPECT_EQ(HostGetString(doc, marker, FP_MarkerText), "");
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(Outline(p1), "Para('ab' B('cd') 'ef')");
}

}  // namespace
