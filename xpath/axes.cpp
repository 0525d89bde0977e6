// The navigator's axis steps: each gives the next candidate node of one location step over the
// host's element tree (or 103 when there is none), and the node test and position counting
// they share.
#include "xpath/axes.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lib/globals.h"
#include "xpath/host_reads.h"
#include "lib/run_state.h"

namespace {

// Last position counted, so that counting the candidates of one parent in order stays linear.
struct PositionMemo {
    F_ObjHandleT doc = 0, node = 0;
    std::string test;
    IntT pos = 0;
};
PositionMemo positionMemo;

constexpr F_ObjHandleT kUnread = ~F_ObjHandleT(0);

// The next node in document order after n (its first child, else the next sibling of n or of
// the nearest ancestor), not climbing to or past boundary; 0 at the end. firstChild is n's first
// child when the caller has read it already. With `above`, the walk keeps the ancestors it went
// down through (outermost first) and climbs back through them instead of reading parents: only
// within one call, when the document cannot change between the steps of the walk.
F_ObjHandleT nextInDocOrder(F_ObjHandleT d, F_ObjHandleT n, F_ObjHandleT boundary, F_ObjHandleT firstChild = kUnread,
                            std::vector<F_ObjHandleT> *above = nullptr) {
    if (F_ObjHandleT c = firstChild == kUnread ? om_XPathFirstChild(d, n) : firstChild) {
        if (above) above->push_back(n);
        return c;
    }
    while (n) {
        if (n == boundary) return 0;
        if (F_ObjHandleT s = om_XPathNextSibling(d, n)) return s;
        if (above && !above->empty()) {
            n = above->back();
            above->pop_back();
        } else {
            n = om_XPathParent(d, n);
        }
        if (n == boundary) return 0;
    }
    return 0;
}

// Where the last descendant walk of the call stopped, with the ancestors it went down through,
// so that the next candidate continues from there.
struct WalkMemo {
    F_ObjHandleT doc = 0, boundary = 0, at = 0;
    std::vector<F_ObjHandleT> above;
    // The node test the walk looked for last, its answer for a text node (whose tag is empty),
    // the definition it tested last and the answer: a walk meets the same few definitions over
    // and over.
    const std::string *test = nullptr;
    bool textPasses = false;
    F_ObjHandleT testedDef = 0;
    bool defPasses = false;
};
WalkMemo walkMemo;

bool isNode(F_ObjHandleT n) { return n > 499; }

// Answers of the node test by element definition and test, for one call: a walk meets few
// definitions and tests over and over. Tests are told apart by where they are kept (a record's
// node test), which does not change during a call.
struct TestMemo {
    F_ObjHandleT def = 0;
    const std::string *test = nullptr;
    bool passes = false;
};
std::array<TestMemo, 32> testMemo;

}  // namespace

void om_XPathAxisCachesClear() {
    positionMemo = PositionMemo();
    walkMemo.doc = walkMemo.boundary = walkMemo.at = 0;
    walkMemo.above.clear();
    walkMemo.test = nullptr;
    walkMemo.testedDef = 0;
    testMemo.fill(TestMemo{});
}

namespace {

// The node test on a node whose definition is known (0: a text node): "node()" any node,
// "text()" a text node, "*" a tagged element, any other test the tag byte for byte.
bool testPasses(F_ObjHandleT doc, F_ObjHandleT def, const std::string &test) {
    using namespace std::string_view_literals;
    std::string_view t = test;  // compared by length first: most tests are plain tags
    if (t == "node()"sv) return true;
    TestMemo &memo = testMemo[(def ^ (reinterpret_cast<uintptr_t>(&test) >> 3)) % testMemo.size()];
    if (memo.def == def && memo.test == &test) return memo.passes;
    const std::string &tag = om_XPathDefinitionTag(doc, def);
    bool passes = t == "text()"sv ? tag.empty() : t == "*"sv ? !tag.empty() : tag == test;
    memo = {def, &test, passes};
    return passes;
}

}  // namespace

// 1 when the element passes the node test.
int om_XPathNodeTestMatches(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &test) {
    if (!isNode(elem)) return 0;
    if (test == "node()") return 1;
    return testPasses(doc, F_ApiGetId(doc, elem, FP_ElementDef), test);
}

// Position of node among the candidates of an axis (see the navigator's position()).
IntT om_XPathSiblingPosition(F_ObjHandleT doc, F_ObjHandleT node, F_ObjHandleT context, UIntT axis,
                             const std::string &test) {
    if (!doc) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (!node || !context) {
        StatusCode = StatusNoObject;
        return 0;
    }
    IntT n = 0;
    if (axis == XA_ANCESTOR || axis == XA_ANCESTOR_OR_SELF) {
        for (F_ObjHandleT a = om_XPathParent(doc, context); a; a = om_XPathParent(doc, a)) {
            if (om_XPathNodeTestMatches(doc, a, test)) ++n;
            if (a == node) return n;
        }
        return 0;
    }
    if (axis == XA_PRECEDING_SIBLING || axis == XA_FOLLOWING_SIBLING) {
        bool back = axis == XA_PRECEDING_SIBLING;
        for (F_ObjHandleT s = back ? om_XPathPrevSibling(doc, context) : om_XPathNextSibling(doc, context); s;
             s = back ? om_XPathPrevSibling(doc, s) : om_XPathNextSibling(doc, s)) {
            if (om_XPathNodeTestMatches(doc, s, test)) ++n;
            if (s == node) return n;
        }
        return 0;
    }
    // Position among the parent's children that pass the test, counted backwards to the first
    // child or to the node counted last.
    if (!om_XPathParent(doc, node)) return 1;
    IntT add = 0;
    for (F_ObjHandleT s = node; s; s = om_XPathPrevSibling(doc, s)) {
        if (s != node && positionMemo.node == s && positionMemo.doc == doc && positionMemo.test == test) {
            add = positionMemo.pos;
            break;
        }
        if (om_XPathNodeTestMatches(doc, s, test)) ++n;
    }
    positionMemo.doc = doc;
    positionMemo.node = node;
    positionMemo.test = test;
    positionMemo.pos = n + add;
    return n + add;
}

namespace {

// 1 when first or one of its next siblings passes the test. textOnly tells whether the siblings
// read were all text nodes (which have no children).
bool siblingPasses(F_ObjHandleT d, F_ObjHandleT first, const std::string &test, bool &textOnly) {
    textOnly = true;
    for (F_ObjHandleT s = first; s; s = om_XPathNextSibling(d, s)) {
        if (!isNode(s)) {
            textOnly = false;
            continue;
        }
        if (test == "node()") {
            textOnly = false;
            return true;
        }
        F_ObjHandleT def = F_ApiGetId(d, s, FP_ElementDef);
        if (def) textOnly = false;
        if (testPasses(d, def, test)) return true;
    }
    return false;
}

}  // namespace

F_ObjHandleT om_XPathStepSelf(XPathAxisContext &c, const std::string &test, bool first) {
    return first && om_XPathNodeTestMatches(c.doc, c.context, test) ? c.context : F_ObjHandleT(XR_SPENT);
}

F_ObjHandleT om_XPathStepChild(XPathAxisContext &c, const std::string &test, bool) {
    F_ObjHandleT d = c.doc, x = c.context, n = c.node;
    F_ObjHandleT s;
    if (!x && !n) {
        if (c.root == XR_NO_ROOT || !c.root) return XR_SPENT;
        s = c.root;
    } else if (x && n == x) {
        s = om_XPathFirstChild(d, x);
    } else if (x) {
        if (c.onlyPosition) return XR_SPENT;  // the one candidate was given
        s = om_XPathNextSibling(d, n);
    } else {
        return XR_SPENT;
    }
    if (c.onlyPosition < 0) return XR_SPENT;
    long long passed = 0;
    for (; s; s = om_XPathNextSibling(d, s))
        if (om_XPathNodeTestMatches(d, s, test) && ++passed >= c.onlyPosition) return s;
    return XR_SPENT;
}

F_ObjHandleT om_XPathStepDescendant(XPathAxisContext &c, UIntT axis, const std::string &test, bool first) {
    return om_XPathStepDescendantEach(c, axis, test, first, [](F_ObjHandleT) { return false; });
}

namespace {

// The node test of the walk on a node of definition def (0: a text node), with the memo's
// answers for text nodes and for the definition tested last.
bool walkTestPasses(F_ObjHandleT doc, F_ObjHandleT def, const std::string &test) {
    if (!def) return walkMemo.textPasses;
    if (def != walkMemo.testedDef) {
        walkMemo.defPasses = testPasses(doc, def, test);
        walkMemo.testedDef = def;
    }
    return walkMemo.defPasses;
}

// A descendant walk the host runs (F_ApiReadElements): the step's test on each element it hands
// over, and the candidates that pass handed to found.
struct HostWalk {
    XPathAxisContext &c;
    const std::string &test;
    qv::FunctionRef<bool(F_ObjHandleT)> found;
    F_ObjHandleT stoppedAt = 0;
};

// The test of a descendant step on one element of the walk; 1 stops the walk there.
IntT walkElement(const F_ElementReadT *e, PtrT arg) {
    HostWalk &w = *static_cast<HostWalk *>(arg);
    if (!walkTestPasses(w.c.doc, e->elemDefId, w.test)) return 0;
    if (w.c.childTest) {
        bool textOnly = true;
        if (!siblingPasses(w.c.doc, e->firstChildId, *w.c.childTest, textOnly)) return 0;
    }
    walkMemo.doc = w.c.doc;
    walkMemo.boundary = w.c.context;
    walkMemo.at = e->elemId;
    if (!w.found(e->elemId)) {
        w.stoppedAt = e->elemId;
        return 1;
    }
    walkMemo.at = 0;  // on from there, as a call of the step from it would go on
    return 0;
}

}  // namespace

F_ObjHandleT om_XPathStepDescendantEach(XPathAxisContext &c, UIntT axis, const std::string &test, bool first,
                                        qv::FunctionRef<bool(F_ObjHandleT)> found) {
    F_ObjHandleT d = c.doc, x = c.context, n = c.node;
    F_ObjHandleT start = n;
    bool fromRoot = false;
    if (!n) {
        if (c.root == XR_NO_ROOT || !c.root) return XR_SPENT;
        start = c.root;
        fromRoot = true;
    }
    // Continue the walk this call left at the start, with the ancestors it went through.
    std::vector<F_ObjHandleT> &above = walkMemo.above;
    if (!(walkMemo.at == start && walkMemo.doc == d && walkMemo.boundary == x)) above.clear();
    walkMemo.at = 0;
    if (walkMemo.test != &test) {
        walkMemo.test = &test;
        walkMemo.textPasses = test == "node()" || test == "text()" || test.empty();
        walkMemo.testedDef = 0;
    }
    const bool withStart = first && (axis == XA_DESCENDANT_OR_SELF || fromRoot);
    // The host walks the tree: within x (the whole tree when x is 0) from the start itself, or
    // from the node after it. A walk from a start that is not x is left to the loop below.
    if (!withStart || x == start || (!x && !om_XPathParent(d, start))) {
        HostWalk w{c, test, found};
        above.clear();
        IntT r = withStart ? F_ApiReadElements(d, start, 0, walkElement, &w)
                           : F_ApiReadElements(d, x, start, walkElement, &w);
        if (r == 0) return XR_SPENT;
        if (r > 0 && w.stoppedAt) return w.stoppedAt;
    }
    F_ObjHandleT s = start, firstChild = kUnread;
    for (bool atStart = withStart;; atStart = false) {
        // On to the next node in document order within x (nextInDocOrder, kept in the loop).
        if (!atStart) {
            F_ObjHandleT child = firstChild == kUnread ? om_XPathFirstChild(d, s) : firstChild;
            if (child) {
                above.push_back(s);
                s = child;
            } else {
                for (;;) {
                    if (s == x) return XR_SPENT;
                    if (F_ObjHandleT sibling = om_XPathNextSibling(d, s)) {
                        s = sibling;
                        break;
                    }
                    if (!above.empty()) {
                        s = above.back();
                        above.pop_back();
                    } else {
                        s = om_XPathParent(d, s);
                    }
                    if (!s || s == x) return XR_SPENT;
                }
            }
        }
        F_ObjHandleT def = F_ApiGetId(d, s, FP_ElementDef);
        // A text node has no children: the walk need not ask for them.
        firstChild = def ? kUnread : 0;
        if (!walkTestPasses(d, def, test)) continue;
        bool passes = !c.childTest;
        if (!passes) {
            firstChild = def ? om_XPathFirstChild(d, s) : 0;
            bool textOnly = true;
            passes = siblingPasses(d, firstChild, *c.childTest, textOnly);
            // Children that are all text have none of their own, so none of them can pass the
            // child test: the walk goes on after them.
            if (!passes && textOnly) firstChild = 0;
        }
        if (passes) {
            walkMemo.doc = d;  // `above` is the memo's own list
            walkMemo.boundary = x;
            walkMemo.at = s;
            if (!found(s)) return s;
            // On from s, as a call of the step from s would go on (with the memo as it starts).
            walkMemo.at = 0;
        }
    }
}

F_ObjHandleT om_XPathStepAncestor(XPathAxisContext &c, UIntT axis, const std::string &test, bool first) {
    F_ObjHandleT d = c.doc, x = c.context, n = c.node;
    if (!x && !n) return first ? 0 : F_ObjHandleT(XR_SPENT);  // after a root step: no node
    if (axis == XA_PARENT) {
        F_ObjHandleT p = first ? om_XPathParent(d, n) : 0;
        return p && om_XPathNodeTestMatches(d, p, test) ? p : F_ObjHandleT(XR_SPENT);
    }
    F_ObjHandleT a = (axis == XA_ANCESTOR_OR_SELF && first) ? n : om_XPathParent(d, n);
    for (; a; a = om_XPathParent(d, a))
        if (om_XPathNodeTestMatches(d, a, test)) return a;
    return XR_SPENT;
}

F_ObjHandleT om_XPathStepPrecedingSibling(XPathAxisContext &c, const std::string &test, bool) {
    F_ObjHandleT d = c.doc, x = c.context, n = c.node;
    if (!x && !n) return XR_SPENT;
    for (F_ObjHandleT s = om_XPathPrevSibling(d, n); s; s = om_XPathPrevSibling(d, s))
        if (om_XPathNodeTestMatches(d, s, test)) return s;
    return XR_SPENT;
}

F_ObjHandleT om_XPathStepPrecedingFollowing(XPathAxisContext &c, UIntT axis, const std::string &test, bool first) {
    F_ObjHandleT d = c.doc, x = c.context, n = c.node;
    if (!x && !n) return XR_SPENT;
    F_ObjHandleT px = om_XPathParent(d, x);
    if (axis == XA_PRECEDING) {
        F_ObjHandleT s;
        if (first) {
            if (!om_XPathPrevSibling(d, x) || !px) return XR_SPENT;
            s = om_XPathFirstChild(d, om_XPathParent(d, n));
        } else {
            s = nextInDocOrder(d, n, px);
        }
        for (; s && s != x && s != px; s = nextInDocOrder(d, s, px))
            if (om_XPathNodeTestMatches(d, s, test)) return s;
        return XR_SPENT;
    }
    bool siblingsOnly = axis == XA_FOLLOWING_SIBLING;
    F_ObjHandleT s = first ? om_XPathNextSibling(d, x)
                           : (siblingsOnly ? om_XPathNextSibling(d, n) : nextInDocOrder(d, n, px));
    for (; s && s != x && s != px; s = siblingsOnly ? om_XPathNextSibling(d, s) : nextInDocOrder(d, s, px))
        if (om_XPathNodeTestMatches(d, s, test)) return s;
    return XR_SPENT;
}

F_ObjHandleT om_XPathStepAttribute(XPathAxisContext &c, const std::string &test, bool first) {
    F_ObjHandleT x = c.context, n = c.node;
    if (!x && !n) {
        if (first) {
            StatusCode = StatusNoObject;
            return 0;
        }
        return XR_SPENT;
    }
    c.attr = om_XPathNextAttr(c.doc, n, c.attr, test);
    return c.attr >= 0 ? n : F_ObjHandleT(XR_SPENT);
}

// The next candidate of a step on axes 2 to 13 (see axes.h).
F_ObjHandleT om_XPathAxisStep(XPathAxisContext &c, UIntT axis, const std::string &test, bool first) {
    if (!c.doc) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    switch (axis) {
    case XA_SELF: return om_XPathStepSelf(c, test, first);
    case XA_CHILD: return om_XPathStepChild(c, test, first);
    case XA_DESCENDANT: case XA_DESCENDANT_OR_SELF: return om_XPathStepDescendant(c, axis, test, first);
    case XA_PARENT: case XA_ANCESTOR: case XA_ANCESTOR_OR_SELF: return om_XPathStepAncestor(c, axis, test, first);
    case XA_PRECEDING_SIBLING: return om_XPathStepPrecedingSibling(c, test, first);
    case XA_PRECEDING: case XA_FOLLOWING: case XA_FOLLOWING_SIBLING:
        return om_XPathStepPrecedingFollowing(c, axis, test, first);
    case XA_ATTRIBUTE: return om_XPathStepAttribute(c, test, first);
    default: return XR_SPENT;
    }
}

// The next flow of the document after the flow n (from the first flow when n is no flow) whose
// name is test and, for the page-kind axes, whose first text frame lies on a page of that kind.
F_ObjHandleT om_XPathStepFlow(F_ObjHandleT doc, F_ObjHandleT n, UIntT axis, const std::string &test) {
    if (!doc) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ObjHandleT f = F_OBJ_KIND(n) == FO_Flow ? F_ApiGetId(doc, n, FP_NextFlowInDoc) : F_ApiGetId(0, doc, FP_FirstFlowInDoc);
    for (int steps = 0; f && steps < 100000; ++steps, f = F_ApiGetId(doc, f, FP_NextFlowInDoc)) {
        StringT name = F_ApiGetString(doc, f, FP_Name);
        bool same = name && test == name;
        F_ApiDeallocateString(&name);
        if (!same) continue;
        if (axis == XA_FLOW_ANY) return f;
        F_ObjHandleT frame = F_ApiGetId(doc, f, FP_FirstTextFrameInFlow);
        F_ObjHandleT page = frame ? F_ApiGetId(doc, frame, FP_PageFramePage) : 0;
        IntT kind = page ? F_OBJ_KIND(page) : 0;
        IntT want = axis == XA_FLOW_BODY ? FO_BodyPage : axis == XA_FLOW_MASTER ? FO_MasterPage : FO_RefPage;
        if (kind == want) return f;
    }
    return XR_SPENT;
}

namespace {
// Position, walk and node-test memos; kept between steps of one query run, which clears them at
// its start.
[[maybe_unused]] const bool resetXPathAxisMemos = om_RunStateRegister("XPath axis memos", RunStateKind::Run, [] {
    om_XPathAxisCachesClear();
});
}  // namespace
