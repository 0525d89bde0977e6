// The navigator's axis steps over the host's element tree (internal to the engine).
#pragma once

#include "lib/strings/function_ref.h"
#include "xpath/xpath.h"

// Where a step stands: document, root element of the run, the step's context node X, its
// current candidate N and attribute cursor A.
struct XPathAxisContext {
    F_ObjHandleT doc = 0;
    F_ObjHandleT root = 0;
    F_ObjHandleT context = 0;
    F_ObjHandleT node = 0;
    IntT attr = -1;
    // When set, a descendant step passes over candidates without a child that passes this test
    // (the next step looks among the children and would find nothing there).
    const std::string *childTest = nullptr;
    // When above 0, a child step gives only its candidate at this position (the others would
    // fail its predicate), and none after it; -1: none at all.
    long long onlyPosition = 0;
};

// The next candidate on axes 2 to 13: a node, 103 when there is none, or 0 (no node: after a
// root step on the ancestor and attribute axes; with StatusCode 200 when the document is 0).
// The attribute axis moves the context's attribute cursor.
F_ObjHandleT om_XPathAxisStep(XPathAxisContext &c, UIntT axis, const std::string &test, bool first);
// The steps it runs, by axis (the document is not 0).
F_ObjHandleT om_XPathStepSelf(XPathAxisContext &c, const std::string &test, bool first);
F_ObjHandleT om_XPathStepChild(XPathAxisContext &c, const std::string &test, bool first);
F_ObjHandleT om_XPathStepDescendant(XPathAxisContext &c, UIntT axis, const std::string &test, bool first);
// The descendant step's walk, handing each candidate to found, which answers whether the walk goes
// on from there (as the step called again from that candidate would) or stops. The candidate it
// stopped at, or 103 when the walk ran out.
F_ObjHandleT om_XPathStepDescendantEach(XPathAxisContext &c, UIntT axis, const std::string &test, bool first,
                                        qv::FunctionRef<bool(F_ObjHandleT)> found);
F_ObjHandleT om_XPathStepAncestor(XPathAxisContext &c, UIntT axis, const std::string &test, bool first);
F_ObjHandleT om_XPathStepPrecedingSibling(XPathAxisContext &c, const std::string &test, bool first);
F_ObjHandleT om_XPathStepPrecedingFollowing(XPathAxisContext &c, UIntT axis, const std::string &test, bool first);
F_ObjHandleT om_XPathStepAttribute(XPathAxisContext &c, const std::string &test, bool first);
// The next flow step candidate (axes 19 to 22).
F_ObjHandleT om_XPathStepFlow(F_ObjHandleT doc, F_ObjHandleT n, UIntT axis, const std::string &test);
// Forgets the position counted last (start of a run).
void om_XPathAxisCachesClear();
