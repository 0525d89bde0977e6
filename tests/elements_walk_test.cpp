// Element walk: the shared step, tagged steps, skipping, standing still and saving the state.
#include "elements_fixture.h"
#include "lib/host/element_walk.h"

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
