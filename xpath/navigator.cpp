// The navigator: runs a compiled expression over the host's structure tree and returns one
// match per call. It is a resumable machine: the expression's records hold where each step
// stands, so the next call continues from the last match; the expression's history (with an
// index beside it) makes sure no match is returned twice in one run.
#include "lib/dialogs/msgbox.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "xpath/axes.h"
#include "xpath/host_reads.h"
#include "lib/run_state.h"

namespace {

// The machine's registers during one call.
struct Machine {
    IntT seq = 0;
    IntT lastStep = 0;        // the last step of the main path
    IntT positionStep = 0;    // the child step whose required position was read last, and it
    long long position = 0;
    F_ObjHandleT doc = 0;     // D: the current document (or book)
    F_ObjHandleT root = 0;    // R (read from the call's arguments when first needed)
    bool rootKnown = false;
    F_ObjHandleT callDoc = 0, callStart = 0, callFlow = 0;  // the call's arguments
    F_ObjHandleT callRoot = 0;  // the root they give, once read
    bool callRootKnown = false;
    F_ObjHandleT node = 0;    // N
    F_ObjHandleT context = 0; // X
    IntT attr = -1;           // A
    bool resuming = false;
    bool seen = false;
    IntT last = 0;            // the record visited last
    int dir = WalkDown;       // last move
    bool failed = false;      // an engine fault ended the call
    bool cancelled = false;   // the user stopped the run (failed is set too)
};

// Esc is polled once every kPollEvery records visited and candidates taken, which costs nothing
// a run can measure, so that the user can stop a long evaluation within a second. A confirmed
// cancel sets CancelFlag and ends the call without a match. The count goes on across the calls of
// a run, so that a run of many short calls polls too.
constexpr unsigned kPollEvery = 4096;
unsigned visitsSincePoll = 0;
[[maybe_unused]] const bool resetXPathPollCount = om_RunStateRegister("XPath Esc poll count", RunStateKind::Run, [] {
    visitsSincePoll = 0;
});

bool cancelPolled(Machine &m) {
    if (++visitsSincePoll < kPollEvery) return false;
    visitsSincePoll = 0;
    if (!om_CheckUserCancel(PluginGlobals.cancelConfirmText.c_str())) return false;
    CancelFlag = 1;
    m.cancelled = m.failed = true;
    return true;
}

// Children counted by last(), remembered per parent during one call.
struct LastMemo {
    F_ObjHandleT doc = 0, parent = 0;
    std::string test;
    IntT count = 0;
};
LastMemo lastMemo;

// Keyed by document, parent and node test; valid while the document is unchanged within one query
// run.
[[maybe_unused]] const bool resetXPathLastMemo = om_RunStateRegister("XPath last() memo", RunStateKind::Run, [] {
    lastMemo = LastMemo{};
});

const char *const kMsgNotFound =
    "A critical error occurred during XPath navigation. The specified sequence number was not found in the handler "
    "memory. Please contact Orle Meadow.";
const char *const kMsgPosition =
    "A critical error has occurred in the XPath navigator while processing a position() function. Please contact "
    "Orle Meadow with this error message.";
const char *const kMsgLast =
    "A critical error has occurred in the XPath navigator whileprocessing a last() function. Please contact Orle "
    "Meadow with this error message.";
const char *const kMsgSpent =
    "A critical error occurred during the XPath query. This is a bug. Please report this event to Orle Meadow.\n\n"
    "Error details: om_FindNextNodeWithXpath() stepped to a spent sequence.";
const char *const kMsgVerdict =
    "A critical error occurred during the XPath query. This is a bug. Please report this event to Orle Meadow.\n\n"
    "Error details: A predicate evaluation failed in om_FindNextNodeWithXpath().";

bool isFlowAxis(UIntT axis) { return axis >= XA_FLOW_ANY && axis <= XA_FLOW_REF; }

void storeState(const Machine &m, XPathNodeRecord &r) {
    r.contextNode = m.context;
    r.matchNode = m.node;
    r.attrIndex = m.attr;
    r.matchDoc = m.doc;
}

void loadState(Machine &m, const XPathNodeRecord &r) {
    m.context = r.contextNode;
    m.node = r.matchNode;
    m.attr = r.attrIndex;
    m.doc = r.matchDoc;
}

F_ObjHandleT rootOrNone(F_ObjHandleT doc, F_ObjHandleT holder) {
    F_ObjHandleT r = holder ? F_ApiGetId(om_XPathIsBook(holder) ? 0 : doc, holder, FP_HighestLevelElement) : 0;
    return r ? r : F_ObjHandleT(XR_NO_ROOT);
}

// The root of the call: the topmost ancestor of the start element; else the book's highest-level
// element; else the highest-level element of the flow (or the main flow); 208 when none. A
// relative expression without a start element has no root.
F_ObjHandleT callRoot(F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow) {
    F_ObjHandleT root;
    if (start) root = om_XPathTopAncestor(doc, start);
    else if (om_XPathIsBook(doc)) root = F_ApiGetId(0, doc, FP_HighestLevelElement);
    else {
        F_ObjHandleT f = flow ? flow : F_ApiGetId(0, doc, FP_MainFlowInDoc);
        root = f ? F_ApiGetId(doc, f, FP_HighestLevelElement) : 0;
    }
    if (!root || (om_XPathFirstStepAxis(sequence) != XA_ROOT && !start)) root = XR_NO_ROOT;
    return root;
}

// The root register, read when a step first needs it (only steps from no node use it).
F_ObjHandleT rootOf(Machine &m) {
    if (!m.rootKnown) {
        if (!m.callRootKnown) m.callRoot = callRoot(m.callDoc, m.seq, m.callStart, m.callFlow);
        m.callRootKnown = true;
        m.root = m.callRoot;
        m.rootKnown = true;
    }
    return m.root;
}

void setRoot(Machine &m, F_ObjHandleT root) {
    m.root = root;
    m.rootKnown = true;
}

// Opens the document of a book component for an fmchap step in view; 0 when it cannot be opened.
F_ObjHandleT openChapter(F_ObjHandleT book, F_ObjHandleT component);
// Opens the file an fmfile step names in view: as written, else relative to the folder of the
// current document's file; 0 when neither opens.
F_ObjHandleT openFile(const std::string &path, F_ObjHandleT current);

// The candidate of a host-axis step (fmbook, fmcomp, fmchap, fmfile) on its first evaluation.
F_ObjHandleT hostAxisStep(Machine &m, UIntT axis, const std::string &test) {
    switch (axis) {
    case XA_FMBOOK: {
        F_ObjHandleT book = om_XPathIsBook(m.doc) ? m.doc : om_XPathBookOfDoc(m.doc);
        F_ObjHandleT top = book ? F_ApiGetId(0, book, FP_HighestLevelElement) : 0;
        if (!top) return XR_SPENT;
        m.doc = book;
        setRoot(m, top);
        return top;
    }
    case XA_FMCOMP: {
        F_ObjHandleT book = om_XPathBookOfDoc(m.doc);
        F_ObjHandleT elem = book ? om_XPathComponentElementOfDoc(book, m.doc) : 0;
        if (!elem) return XR_SPENT;
        m.doc = book;
        setRoot(m, rootOrNone(0, book));
        return elem;
    }
    case XA_FMCHAP: case XA_FMFILE: {
        F_ObjHandleT doc = 0;
        std::string path;
        if (axis == XA_FMCHAP) {
            F_ObjHandleT comp = m.node ? F_ApiGetId(m.doc, m.node, FP_BookComponent) : 0;
            if (!comp) return XR_SPENT;
            path = om_XPathObjectPath(comp);  // read with the book's id by the host
            if (path.empty()) {
                StringT p = F_ApiGetString(m.doc, comp, FP_Path);
                path = p ? p : "";
                F_ApiDeallocateString(&p);
            }
            doc = om_XPathOpenDocOfPath(path);
            if (!doc && XPathEngineOptions.allowFileOpening == 1) doc = openChapter(m.doc, comp);
        } else {
            path = test;
            doc = om_XPathFindOpenDoc(test);
            if (!doc && XPathEngineOptions.allowFileOpening == 1) doc = openFile(path, m.doc);
        }
        F_ObjHandleT top = doc ? om_XPathMainFlowRoot(doc) : 0;
        if (!top) return XR_SPENT;
        m.doc = doc;
        setRoot(m, rootOrNone(0, doc));
        return top;
    }
    default:
        return XR_SPENT;
    }
}

// The position a child step's only predicate asks for ("[3]": position() equal to an integer),
// or 0 when the step has another predicate or none. Along the child axis the position of a
// candidate is its number among the candidates, so only that one candidate can pass.
long long requiredPosition(const XPathNodeRecord &step) {
    if (step.axis != XA_CHILD || !step.firstChild || step.firstChild != step.lastChild) return 0;
    const XPathNodeRecord &p = om_XPathRec(step.firstChild);
    if (p.kind != XK_PREDICATE || (p.op && p.op != UIntT(XT_EQ)) || !p.firstChild) return 0;
    const XPathNodeRecord &a = om_XPathRec(p.firstChild);
    if (!a.nextSibling || a.nextSibling != p.lastChild) return 0;
    const XPathNodeRecord &b = om_XPathRec(a.nextSibling);
    const XPathNodeRecord *literal = a.kind == XK_POSITION ? &b : b.kind == XK_POSITION ? &a : nullptr;
    if (!literal || (literal->kind != XK_LITERAL_INTEGER && literal->kind != XK_LITERAL_STRING) ||
        !om_XPathIsInteger(literal->valueText))
        return 0;
    long long k = om_XPathIntegerValue(literal->valueText);
    return k > 0 ? k : -1;  // -1: no candidate can pass
}

// Runs the axis of a step for its next candidate. holds (when given) becomes true when the
// candidate is the one the step's only predicate, a position, asks for: that predicate holds.
F_ObjHandleT runAxis(Machine &m, IntT r, bool first, bool *holds = nullptr) {
    XPathNodeRecord &step = om_XPathRec(r);
    UIntT axis = step.axis;
    switch (axis) {
    case XA_ROOT:
        if (!first) return XR_SPENT;
        step.candidateCount += 1;
        return 0;
    case XA_FMPROP:
        return first ? om_XPathTestFmProperty(m.doc, m.context, step.nodeTest, r) : F_ObjHandleT(XR_SPENT);
    case XA_FMBOOK: case XA_FMCOMP: case XA_FMCHAP: case XA_FMFILE:
        return first ? hostAxisStep(m, axis, step.nodeTest) : F_ObjHandleT(XR_SPENT);
    case XA_FLOW_ANY: case XA_FLOW_BODY: case XA_FLOW_MASTER: case XA_FLOW_REF: {
        F_ObjHandleT f = om_XPathStepFlow(m.doc, m.node, axis, step.nodeTest);
        if (f && f != XR_SPENT) setRoot(m, rootOrNone(m.doc, f));
        return f;
    }
    default: {
        // Only a step from no node starts at the root.
        XPathAxisContext c{m.doc, m.node ? m.root : rootOf(m), m.context, m.node, m.attr};
        // A descendant step without predicates followed by a child step ("//name") hands on only
        // nodes with such a child: the others would make the child step find nothing.
        if ((axis == XA_DESCENDANT_OR_SELF || axis == XA_DESCENDANT) && !step.firstChild && step.nextSibling) {
            const XPathNodeRecord &next = om_XPathRec(step.nextSibling);
            if (next.kind == XK_NODE_HANDLER && next.axis == XA_CHILD) c.childTest = &next.nodeTest;
        }
        // (With an attribute cursor position() would count the attribute instead.)
        if (axis == XA_CHILD && m.context && m.attr < 0) {
            if (m.positionStep != r) {
                m.positionStep = r;
                m.position = requiredPosition(step);
            }
            c.onlyPosition = m.position;
        }
        F_ObjHandleT res = om_XPathAxisStep(c, axis, step.nodeTest, first);
        m.attr = c.attr;
        if (holds && c.onlyPosition > 0 && res > 499) *holds = true;  // at the position asked for
        return res;
    }
    }
}

// Value of position() for the step's current candidate.
bool evaluatePosition(Machine &m, XPathNodeRecord &rec, IntT r) {
    IntT s = om_XPathStepNodeOf(r, 4);
    if (!s) {
        om_XPathShowEngineMessage(kMsgPosition);
        return false;
    }
    const XPathNodeRecord &step = om_XPathRec(s);
    IntT v;
    if (m.attr >= 0) v = m.attr + 1;
    else if (step.axis == XA_ANCESTOR || step.axis == XA_ANCESTOR_OR_SELF || step.axis == XA_PRECEDING_SIBLING ||
             step.axis == XA_FOLLOWING_SIBLING)
        v = om_XPathSiblingPosition(m.doc, m.node, step.contextNode, step.axis, step.nodeTest);
    else
        v = om_XPathSiblingPosition(m.doc, m.node, XR_NO_AXIS_CONTEXT, step.axis, step.nodeTest);
    rec.valueText = std::to_string(v);
    return true;
}

// Value of last(): the number of the candidate's parent's children that pass the step's test.
bool evaluateLast(Machine &m, XPathNodeRecord &rec, IntT r) {
    IntT s = om_XPathStepNodeOf(r, 4);
    if (!s) {
        om_XPathShowEngineMessage(kMsgLast);
        return false;
    }
    const XPathNodeRecord &step = om_XPathRec(s);
    F_ObjHandleT parent = om_XPathParent(m.doc, m.node);
    IntT v = 0;
    if (parent && om_XPathNodeTestMatches(m.doc, m.node, step.nodeTest)) {
        if (lastMemo.parent == parent && lastMemo.doc == m.doc && lastMemo.test == step.nodeTest) {
            v = lastMemo.count;
        } else {
            for (F_ObjHandleT c = om_XPathFirstChild(m.doc, parent); c; c = om_XPathNextSibling(m.doc, c))
                if (om_XPathNodeTestMatches(m.doc, c, step.nodeTest)) ++v;
            lastMemo = {m.doc, parent, step.nodeTest, v};
        }
    } else {
        StatusCode = StatusNoObject;
    }
    rec.valueText = std::to_string(v);
    return true;
}

// The step's next candidate from its axis: counted, and the step no longer at its first
// evaluation; the direction turns down unless the axis gave no node (0). holds: see runAxis.
F_ObjHandleT nextCandidate(Machine &m, IntT r, bool &holds) {
    XPathNodeRecord &rec = om_XPathRec(r);
    F_ObjHandleT result = runAxis(m, r, rec.firstEval == 1, &holds);
    if (result != 0) {
        m.dir = WalkDown;
        if (result != XR_SPENT) rec.candidateCount += 1;
    }
    rec.firstEval = 0;
    return result;
}

// A step out of candidates: marked spent and ready to start again; the walk goes back up to the
// previous step (or the path), which is returned.
IntT stepSpent(Machine &m, IntT r) {
    XPathNodeRecord &rec = om_XPathRec(r);
    rec.matchNode = XR_SPENT;
    rec.firstEval = 1;
    m.dir = WalkUp;
    return rec.prevSibling ? rec.prevSibling : rec.parent;
}

// A candidate at the position the step's only predicate asks for, accepted as if the predicate
// had been walked: the predicate reads true and the walk leaves the step as it would coming back
// up from there.
void acceptAtPosition(Machine &m, IntT r, F_ObjHandleT candidate) {
    om_XPathRec(om_XPathRec(r).firstChild).valueText = "true";
    m.dir = WalkUp;
    m.node = candidate;
}

// Visits record r; returns the record to visit next (0 or the SEQUENCE ends the call).
IntT visit(Machine &m, IntT r) {
    XPathNodeRecord &rec = om_XPathRec(r);
    bool up = m.dir == WalkUp;
    if (up) {
        loadState(m, rec);
    } else {
        if (!m.resuming) m.context = m.node;
        storeState(m, rec);
    }
    m.resuming = false;
    m.seen = false;

    switch (rec.kind) {
    case XK_NODE_HANDLERS: {
        if (up) {
            if (om_XPathRec(rec.firstChild).matchNode == XR_SPENT) {
                rec.groupNode = XR_SPENT;
            } else {
                const XPathNodeRecord &last = om_XPathRec(rec.lastChild);
                if (rec.lastChild == m.lastStep) {
                    const XPathNodeRecord &seq = om_XPathRec(m.seq);
                    m.seen = om_XPathHistoryHas(seq, {last.matchNode, last.attrIndex, last.matchDoc});
                }
                rec.groupNode = last.matchNode;
                rec.groupAttr = last.attrIndex;
                rec.groupDoc = last.matchDoc;
            }
            if (!m.seen) {
                m.dir = WalkUp;
                return rec.parent;
            }
        }
        if (rec.groupNode == XR_SPENT) {
            om_XPathShowEngineMessage(kMsgSpent);
            m.failed = true;
            return 0;
        }
        m.dir = WalkDown;
        if (rec.groupNode == XR_NOT_STARTED && !m.seen) {
            om_XPathRec(rec.firstChild).candidateCount = 0;
            return rec.firstChild;
        }
        loadState(m, om_XPathRec(rec.lastChild));
        m.resuming = true;
        return rec.lastChild;
    }
    case XK_NODE_HANDLER: {
        F_ObjHandleT result = 0;
        bool accepted = false;
        if (up && m.last && om_XPathRec(m.last).kind == XK_PREDICATE && om_XPathRec(m.last).parent == r) {
            const XPathNodeRecord &p = om_XPathRec(m.last);
            bool holds = p.valueText == "true";
            bool orLogic = rec.logic == UIntT(XT_OR);
            if (holds && (!p.nextSibling || orLogic)) {
                result = m.node;
                accepted = true;
            } else if (((!holds && orLogic) || (holds && !orLogic)) && p.nextSibling) {
                om_XPathRec(p.nextSibling).candidateCount = rec.candidateCount;
                m.dir = WalkDown;
                return p.nextSibling;
            } else {
                m.dir = WalkDown;
            }
        }
        if (!accepted) {
            bool holds = false;
            result = nextCandidate(m, r, holds);
            if (holds) acceptAtPosition(m, r, result);
        }
        if (result == XR_SPENT) return stepSpent(m, r);
        rec.matchNode = result;
        rec.attrIndex = m.attr;
        rec.matchDoc = m.doc;
        F_ObjHandleT handOn = isFlowAxis(rec.axis) ? 0 : result;
        int move = m.dir;
        IntT next = om_XPathNextInWalk(r, move);
        m.dir = move;
        if (move == 2) om_XPathRec(next).candidateCount = 0;
        else if (move == 1) om_XPathRec(next).candidateCount = rec.candidateCount;
        if (move != 3) m.node = m.context = handOn;
        return next;
    }
    case XK_PREDICATE: case XK_CONTAINS: case XK_CONTAINS_CI: case XK_STARTS_WITH: case XK_STARTS_WITH_CI:
    case XK_NOT: {
        if (!up) {
            // A function of the node itself and a literal, a comparison of one of its attributes
            // with a literal, or such a function's value compared with a literal, is decided
            // here, as its records would.
            IntT verdict = om_XPathEvaluateFunctionOnSelf(m.doc, r, m.node, m.attr);
            if (!verdict) verdict = om_XPathEvaluateQuickPredicate(m.doc, r, m.node, m.attr);
            if (verdict) {
                // Its operand records were not visited: they stay as the last verdict above
                // (or the sequence's reset) left them.
                om_XPathResetNode(r, 0);
                om_XPathRec(r).valueText = verdict == XV_TRUE ? "true" : "false";
                m.dir = WalkUp;
                return om_XPathRec(r).parent;
            }
            m.dir = WalkDown;
            om_XPathRec(rec.firstChild).candidateCount = rec.candidateCount;
            return rec.firstChild;
        }
        om_XPathCopyOperand(r, m.last);
        IntT verdict = rec.kind == XK_NOT ? om_XPathEvaluateNot(r) : om_XPathEvaluatePredicate(m.doc, r, m.last);
        switch (verdict) {
        case XV_FALSE: case XV_TRUE:
            om_XPathResetSubtree(r, 1, 0);
            rec.valueText = verdict == XV_TRUE ? "true" : "false";
            m.dir = WalkUp;
            return rec.parent;
        case XV_MOVE_LEFT:
            m.dir = WalkDown;
            return rec.firstChild;
        case XV_RESTART_RIGHT: case XV_MOVE_RIGHT: {
            IntT second = om_XPathRec(rec.firstChild).nextSibling;
            if (verdict == XV_RESTART_RIGHT) {
                // The right operand starts over: a path, or the path inside the second argument.
                IntT path = second;
                if (om_XPathRec(path).kind == XK_TERM) path = om_XPathRec(path).firstChild;
                if (path && om_XPathRec(path).kind == XK_NODE_HANDLERS) om_XPathRec(path).groupNode = XR_NOT_STARTED;
            }
            m.dir = WalkDown;
            return second;
        }
        default:
            om_XPathShowEngineMessage(kMsgVerdict);
            m.failed = true;
            return 0;
        }
    }
    case XK_TERM:
        if (up) {
            om_XPathCopyOperand(r, m.last);
            m.dir = WalkUp;
            return rec.parent;
        }
        m.dir = WalkDown;
        om_XPathRec(rec.firstChild).candidateCount = rec.candidateCount;
        return rec.firstChild;
    case XK_POSITION:
        if (!evaluatePosition(m, rec, r)) {
            m.failed = true;
            return 0;
        }
        m.dir = WalkUp;
        return rec.parent;
    case XK_LAST:
        if (!evaluateLast(m, rec, r)) {
            m.failed = true;
            return 0;
        }
        m.dir = WalkUp;
        return rec.parent;
    default:  // literals
        m.dir = WalkUp;
        return rec.parent;
    }
}

// Where a call starts: the path when the run is not started, else the last step (resuming from
// its state). 0 when the call ends at once: the run is spent, or (StatusCode 105) its last step
// holds no node.
IntT entryRecord(Machine &m) {
    IntT path = om_XPathRec(m.seq).firstChild;
    if (om_XPathRec(path).groupNode == XR_SPENT) return 0;
    m.dir = WalkDown;
    if (om_XPathRec(path).groupNode == XR_NOT_STARTED) {
        m.node = m.context = m.callStart;
        m.attr = om_XPathRec(m.seq).attrIndex;
        m.doc = m.callDoc;
        m.resuming = false;
        return path;
    }
    IntT r = m.lastStep;
    const XPathNodeRecord &last = om_XPathRec(r);
    if (last.matchNode == 0) {
        StatusCode = StatusNoResumeNode;
        return 0;
    }
    loadState(m, last);
    m.resuming = true;
    return r;
}

// The match the path holds (its group node above 499), added to the history, or 0.
F_ObjHandleT recordMatch(Machine &m) {
    XPathNodeRecord &handlers = om_XPathRec(om_XPathRec(m.seq).firstChild);
    if (handlers.groupNode <= 499) return 0;
    XPathNodeRecord &s = om_XPathRec(m.seq);
    om_XPathHistoryAdd(s, {handlers.groupNode, handlers.groupAttr, handlers.groupDoc});
    s.groupNode = handlers.groupNode;
    s.groupAttr = handlers.groupAttr;
    s.groupDoc = handlers.groupDoc;
    return handlers.groupNode;
}

// Visits records from r (last: the record visited before it) until the call ends; the match of
// the path, or 0.
F_ObjHandleT runToMatch(Machine &m, IntT r, IntT last = 0) {
    if (m.cancelled) return 0;
    m.last = last;
    m.failed = false;
    while (r && r != m.seq && !m.failed) {
        if (cancelPolled(m)) break;
        IntT next = visit(m, r);
        m.last = r;
        r = next;
    }
    return m.failed ? 0 : recordMatch(m);
}

// True when the main path's last step can be resumed by resumeLastStep: a step over the element
// tree.
bool lastStepResumesDirectly(const Machine &m) {
    const XPathNodeRecord &step = om_XPathRec(m.lastStep);
    return step.kind == XK_NODE_HANDLER && step.axis >= XA_SELF && step.axis <= XA_ATTRIBUTE;
}

// After a match, what the next call would do when it resumes the main path's last step (a step
// that resumes directly): the step looks for its next candidate, and a candidate the history
// does not hold is the next match. Returns it; or 0 with `next` the record where the general
// walk goes on (the step ran out of candidates, its predicates judge the candidate, or the path
// holds something unusual).
F_ObjHandleT resumeLastStep(Machine &m, IntT &next) {
    IntT li = m.lastStep;
    for (;;) {
        if (cancelPolled(m)) {
            next = 0;
            return 0;
        }
        XPathNodeRecord &step = om_XPathRec(li);
        loadState(m, step);
        m.resuming = m.seen = false;
        m.dir = WalkDown;
        bool holds = false;
        F_ObjHandleT result = nextCandidate(m, li, holds);
        m.last = li;
        if (result == XR_SPENT) {
            next = stepSpent(m, li);
            return 0;
        }
        step.matchNode = result;
        step.attrIndex = m.attr;
        step.matchDoc = m.doc;
        if (step.firstChild && !holds) {
            // Its predicates judge the candidate: down to the first of them.
            next = step.firstChild;
            om_XPathRec(next).candidateCount = step.candidateCount;
            m.node = m.context = result;
            return 0;
        }
        if (holds) acceptAtPosition(m, li, result);
        m.dir = WalkUp;  // no step after it: up to the path
        next = step.parent;
        XPathNodeRecord &path = om_XPathRec(step.parent);
        if (result == 0 || om_XPathRec(path.firstChild).matchNode == XR_SPENT) return 0;
        // The path on the way up: the candidate against the history.
        bool seen = om_XPathHistoryHas(om_XPathRec(m.seq), {step.matchNode, step.attrIndex, step.matchDoc});
        path.groupNode = step.matchNode;
        path.groupAttr = step.attrIndex;
        path.groupDoc = step.matchDoc;
        if (!seen) {
            loadState(m, path);
            return recordMatch(m);
        }
    }
}

// True when the main path's last step resumes directly along the child or descendant axes (as in
// //name or /doc/sec/para) with no predicates, or with one that is judged at once
// (//para[@type='note'], //para[contains(., 'x')]): every candidate it finds, and that predicate
// passes, is a match unless the history holds it.
bool lastStepIsPlain(const Machine &m) {
    const XPathNodeRecord &step = om_XPathRec(m.lastStep);
    if (!lastStepResumesDirectly(m) ||
        !(step.axis == XA_CHILD || step.axis == XA_DESCENDANT || step.axis == XA_DESCENDANT_OR_SELF))
        return false;
    XPathQuickPredicate p;
    return !step.firstChild || (step.firstChild == step.lastChild && om_XPathPrepareQuickPredicate(step.firstChild, p));
}

// For a plain last step (lastStepIsPlain), what resumeLastStep, recordMatch and the loop of
// om_XPathRunMatches do match after match, without going through the general step code: the
// step's next candidate from its axis (on these axes a step without predicates, or with an
// attribute comparison, is given no child test and no position), the comparison's verdict taken
// at once as the predicate's visit takes it, the history, then take. A descendant step's walk goes
// on from one candidate to the next without returning. Registers and records are left as they
// would leave them. False when take stopped the run; otherwise next is the record where the
// general walk goes on (the step ran out of candidates, the comparison is left to the predicate's
// records, or the path holds something unusual).
bool takePlainMatches(Machine &m, qv::FunctionRef<bool(F_ObjHandleT, IntT, F_ObjHandleT)> take, IntT &next) {
    const IntT li = m.lastStep;
    const IntT predicate = om_XPathRec(li).firstChild;  // an attribute comparison, or none
    XPathQuickPredicate quick;
    if (predicate) om_XPathPrepareQuickPredicate(predicate, quick);
    IntT lastVerdict = 0, lastFunctionVerdict = 0;  // the verdicts on the candidate before
    bool stopped = false;  // take stopped the run
    // Registers as a resumed step starts with them.
    auto resume = [&m](const XPathNodeRecord &step) {
        loadState(m, step);
        m.resuming = m.seen = false;
        m.dir = WalkDown;
    };
    // Takes a candidate of the step (a node or 0); true when the step goes on to its next one.
    auto candidate = [&](F_ObjHandleT result) {
        if (cancelPolled(m)) {
            stopped = true;
            return false;
        }
        // Records are found again each time: take may add records to the table.
        XPathNodeRecord &step = om_XPathRec(li);
        if (result != 0) {
            m.dir = WalkDown;
            step.candidateCount += 1;
        }
        step.firstEval = 0;
        m.last = li;
        step.matchNode = result;
        step.attrIndex = m.attr;
        step.matchDoc = m.doc;
        if (predicate && result != 0) {
            // The predicate's visit: its verdict, or down to its records when it is not taken
            // at once.
            IntT functionVerdict = 0;
            IntT verdict = om_XPathJudgeQuickPredicate(m.doc, quick, result, m.attr, &functionVerdict);
            if (!verdict) {
                next = predicate;
                om_XPathRec(next).candidateCount = step.candidateCount;
                m.node = m.context = result;
                return false;
            }
            // Its records are left as its visit leaves them: reset (once: nothing here changes
            // them after), with the verdicts as the values of the predicate and of its function.
            if (!lastVerdict) om_XPathResetSubtree(predicate, 1, 0);
            if (verdict != lastVerdict) om_XPathRec(predicate).valueText = verdict == XV_TRUE ? "true" : "false";
            if (functionVerdict != lastFunctionVerdict)
                om_XPathRec(quick.function).valueText = functionVerdict == XV_TRUE ? "true" : "false";
            lastVerdict = verdict;
            lastFunctionVerdict = functionVerdict;
            if (verdict != XV_TRUE) {
                // Back at the step, which looks for its next candidate.
                resume(om_XPathRec(li));
                return true;
            }
        }
        m.dir = WalkUp;  // no step after it: up to the path
        next = step.parent;
        XPathNodeRecord &path = om_XPathRec(step.parent);
        if (result == 0 || om_XPathRec(path.firstChild).matchNode == XR_SPENT) return false;
        // The path on the way up: the candidate against the history.
        XPathNodeRecord &seq = om_XPathRec(m.seq);
        const XPathMatchKey key{result, m.attr, m.doc};
        // A candidate after every match of the history is new, and the history stays in order
        // with it at the end.
        std::vector<XPathMatchKey> &history = seq.history;
        const bool after = !seq.historyHashed && history.size() > 1 && history.back() < key;
        bool seen = !after && om_XPathHistoryHas(seq, key);
        path.groupNode = result;
        path.groupAttr = m.attr;
        path.groupDoc = m.doc;
        if (!seen) {
            loadState(m, path);
            if (result <= 499) return false;  // recordMatch finds no match there
            if (after) history.push_back(key);
            else om_XPathHistoryAdd(seq, key);
            seq.groupNode = result;
            seq.groupAttr = key.attr;
            seq.groupDoc = key.doc;
            if (!take(result, key.attr, key.doc)) {
                stopped = true;
                return false;
            }
            m.rootKnown = false;
        }
        resume(om_XPathRec(li));
        return true;
    };
    for (;;) {
        XPathNodeRecord &step = om_XPathRec(li);
        resume(step);
        XPathAxisContext c{m.doc, m.node ? m.root : rootOf(m), m.context, m.node, m.attr};
        const bool first = step.firstEval == 1;
        F_ObjHandleT result;
        if (c.doc && (step.axis == XA_DESCENDANT || step.axis == XA_DESCENDANT_OR_SELF)) {
            result = om_XPathStepDescendantEach(c, step.axis, step.nodeTest, first, candidate);
            if (result != XR_SPENT) return !stopped;
        } else {
            result = om_XPathAxisStep(c, step.axis, step.nodeTest, first);
            m.attr = c.attr;
            if (result != XR_SPENT) {
                if (candidate(result)) continue;
                return !stopped;
            }
        }
        // The step ran out of candidates.
        XPathNodeRecord &spent = om_XPathRec(li);
        m.attr = c.attr;
        m.dir = WalkDown;
        spent.firstEval = 0;
        m.last = li;
        next = stepSpent(m, li);
        return true;
    }
}

// Starts a call: checks the sequence, clears the per-call caches and restarts the run when the
// start element changed. False when the sequence names no compiled expression.
bool beginCall(Machine &m, F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow) {
    StatusCode = 0;
    // A number that names no compiled expression in the current table (0, stale after a reset,
    // or beyond the table) is refused, never followed.
    if (!om_XPathIsCompiledSequence(sequence)) {
        om_XPathShowEngineMessage(kMsgNotFound);
        return false;
    }
    om_XPathAxisCachesClear();
    lastMemo = LastMemo();
    m.seq = sequence;
    m.lastStep = om_XPathLastStep(sequence);
    m.callDoc = m.doc = doc;
    m.callStart = start;
    m.callFlow = flow;
    if (start != om_XPathRec(sequence).contextNode) {
        om_XPathResetSequence(sequence, 0);
        om_XPathRec(sequence).contextNode = start;
    }
    return true;
}

}  // namespace

void om_XPathShowEngineMessage(const std::string &text) {
    std::string msg = "--> XPath Engine Message <--\n\n" + text;
    F_ApiAlert(msg.c_str(), FF_ALERT_CONTINUE_WARN);
}

// The next match of sequence S over document (or book) D, from start element E (0: the root)
// in flow F (0: the main flow); 0 when there is none.
F_ObjHandleT om_FindNextNodeWithXpath(F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow,
                                      F_ObjHandleT *outDoc, IntT *outAttr) {
    if (outDoc) *outDoc = 0;
    if (outAttr) *outAttr = 0;
    Machine m;
    if (!beginCall(m, doc, sequence, start, flow)) return 0;
    IntT r = entryRecord(m);
    F_ObjHandleT match = r ? runToMatch(m, r) : 0;
    if (match) {
        const XPathNodeRecord &s = om_XPathRec(sequence);
        if (outDoc) *outDoc = s.groupDoc;
        if (outAttr) *outAttr = s.groupAttr;
    }
    return match;
}

// Runs sequence S as calls of om_FindNextNodeWithXpath one after another would, without leaving
// the run between matches: each match goes to take (node, attribute index, document) until the
// run ends or take answers false.
bool om_XPathRunMatches(F_ObjHandleT doc, IntT sequence, F_ObjHandleT start, F_ObjHandleT flow,
                        qv::FunctionRef<bool(F_ObjHandleT, IntT, F_ObjHandleT)> take) {
    Machine m;
    if (!beginCall(m, doc, sequence, start, flow)) return true;
    bool direct = lastStepResumesDirectly(m);
    bool plain = lastStepIsPlain(m);
    IntT r = entryRecord(m);
    F_ObjHandleT match = r ? runToMatch(m, r) : 0;
    while (match) {
        const XPathNodeRecord &s = om_XPathRec(sequence);
        if (!take(match, s.groupAttr, s.groupDoc)) return true;
        // Each match is left as a call would leave it: the next one starts from the call's root.
        m.rootKnown = false;
        if (plain) {
            IntT next = 0;
            if (!takePlainMatches(m, take, next)) return !m.cancelled;
            match = runToMatch(m, next, m.last);
        } else if (direct) {
            IntT next = 0;
            match = resumeLastStep(m, next);
            if (!match) match = runToMatch(m, next, m.last);
        } else {
            r = entryRecord(m);
            match = r ? runToMatch(m, r) : 0;
        }
    }
    return !m.cancelled;
}

namespace {

// Records the path of a document a step opened, so that a script can close it later.
F_ObjHandleT opened(F_ObjHandleT doc) {
    if (doc) XPathOpenedFiles.push_back(HostGetString(0, doc, FP_Path));
    return doc;
}

F_ObjHandleT openChapter(F_ObjHandleT book, F_ObjHandleT component) {
    return opened(om_BookComponentDoc(book, component, 0, 1, 1, 1, 0, nullptr));
}

F_ObjHandleT openFile(const std::string &path, F_ObjHandleT current) {
    if (path.empty()) return 0;
    F_ObjHandleT doc = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
    bool relative = path.find(':') == std::string::npos && path[0] != '\\' && path[0] != '/';
    if (!doc && relative && current) {
        StringT folder = nullptr;
        om_PathDocFolder(current, nullptr, &folder);
        if (folder && *folder) doc = om_DocOpen((std::string(folder) + path).c_str(), 0, 0, 1, 0, 0, 1);
        F_ApiDeallocateString(&folder);
    }
    return opened(doc);
}

}  // namespace
