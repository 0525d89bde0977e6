// The navigator: runs a compiled expression over the host's structure tree and returns one
// match per call. It is a resumable machine: the expression's records hold where each step
// stands, so the next call continues from the last match; the expression's history (with an
// index beside it) makes sure no match is returned twice in one run.
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/host_values.h"
#include "plugin/globals.h"
#include "xpath/axes.h"
#include "xpath/host_reads.h"

namespace {

// The machine's registers during one call.
struct Machine {
    IntT seq = 0;
    F_ObjHandleT doc = 0;     // D: the current document (or book)
    F_ObjHandleT root = 0;    // R
    F_ObjHandleT node = 0;    // N
    F_ObjHandleT context = 0; // X
    IntT attr = -1;           // A
    bool resuming = false;
    bool seen = false;
    IntT last = 0;            // the record visited last
    int dir = 1;              // last move: 1 down, 2 sideways, 3 up
    bool failed = false;      // an engine fault ended the call
};

// Children counted by last(), remembered per parent during one call.
struct LastMemo {
    F_ObjHandleT doc = 0, parent = 0;
    std::string test;
    IntT count = 0;
};
LastMemo lastMemo;

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
        m.root = top;
        return top;
    }
    case XA_FMCOMP: {
        F_ObjHandleT book = om_XPathBookOfDoc(m.doc);
        F_ObjHandleT elem = book ? om_XPathComponentElementOfDoc(book, m.doc) : 0;
        if (!elem) return XR_SPENT;
        m.doc = book;
        m.root = rootOrNone(0, book);
        return elem;
    }
    case XA_FMCHAP: case XA_FMFILE: {
        F_ObjHandleT doc = 0;
        std::string path;
        if (axis == XA_FMCHAP) {
            F_ObjHandleT comp = m.node ? F_ApiGetId(m.doc, m.node, 1628) : 0;
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
        m.root = rootOrNone(0, doc);
        return top;
    }
    default:
        return XR_SPENT;
    }
}

// Runs the axis of a step for its next candidate.
F_ObjHandleT runAxis(Machine &m, IntT r, bool first) {
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
        if (f && f != XR_SPENT) m.root = rootOrNone(m.doc, f);
        return f;
    }
    default: {
        XPathAxisContext c{m.doc, m.root, m.context, m.node, m.attr};
        F_ObjHandleT res = om_XPathAxisStep(c, axis, step.nodeTest, first);
        m.attr = c.attr;
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
        StatusCode = 201;
    }
    rec.valueText = std::to_string(v);
    return true;
}

// Visits record r; returns the record to visit next (0 or the SEQUENCE ends the call).
IntT visit(Machine &m, IntT r) {
    XPathNodeRecord &rec = om_XPathRec(r);
    bool up = m.dir == 3;
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
                if (rec.lastChild == om_XPathLastStep(m.seq)) {
                    const XPathNodeRecord &seq = om_XPathRec(m.seq);
                    m.seen = seq.historyIndex.count({last.matchNode, last.attrIndex, last.matchDoc}) != 0;
                }
                rec.groupNode = last.matchNode;
                rec.groupAttr = last.attrIndex;
                rec.groupDoc = last.matchDoc;
            }
            if (!m.seen) {
                m.dir = 3;
                return rec.parent;
            }
        }
        if (rec.groupNode == XR_SPENT) {
            om_XPathShowEngineMessage(kMsgSpent);
            m.failed = true;
            return 0;
        }
        m.dir = 1;
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
                m.dir = 1;
                return p.nextSibling;
            } else {
                m.dir = 1;
            }
        }
        if (!accepted) {
            result = runAxis(m, r, rec.firstEval == 1);
            if (result != 0) {
                m.dir = 1;
                if (result != XR_SPENT) rec.candidateCount += 1;
            }
            rec.firstEval = 0;
        }
        if (result == XR_SPENT) {
            rec.matchNode = XR_SPENT;
            rec.firstEval = 1;
            m.dir = 3;
            return rec.prevSibling ? rec.prevSibling : rec.parent;
        }
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
            m.dir = 1;
            om_XPathRec(rec.firstChild).candidateCount = rec.candidateCount;
            return rec.firstChild;
        }
        om_XPathCopyOperand(r, m.last);
        IntT verdict = rec.kind == XK_NOT ? om_XPathEvaluateNot(r) : om_XPathEvaluatePredicate(m.doc, r, m.last);
        switch (verdict) {
        case 1: case 2:
            om_XPathResetSubtree(r, 1, 0);
            rec.valueText = verdict == 2 ? "true" : "false";
            m.dir = 3;
            return rec.parent;
        case 3:
            m.dir = 1;
            return rec.firstChild;
        case 4: case 5: {
            IntT second = om_XPathRec(rec.firstChild).nextSibling;
            if (verdict == 4) {
                // The right operand starts over: a path, or the path inside the second argument.
                IntT path = second;
                if (om_XPathRec(path).kind == XK_TERM) path = om_XPathRec(path).firstChild;
                if (path && om_XPathRec(path).kind == XK_NODE_HANDLERS) om_XPathRec(path).groupNode = XR_NOT_STARTED;
            }
            m.dir = 1;
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
            m.dir = 3;
            return rec.parent;
        }
        m.dir = 1;
        om_XPathRec(rec.firstChild).candidateCount = rec.candidateCount;
        return rec.firstChild;
    case XK_POSITION:
        if (!evaluatePosition(m, rec, r)) {
            m.failed = true;
            return 0;
        }
        m.dir = 3;
        return rec.parent;
    case XK_LAST:
        if (!evaluateLast(m, rec, r)) {
            m.failed = true;
            return 0;
        }
        m.dir = 3;
        return rec.parent;
    default:  // literals
        m.dir = 3;
        return rec.parent;
    }
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
    StatusCode = 0;
    if (outDoc) *outDoc = 0;
    if (outAttr) *outAttr = 0;
    // A number that names no compiled expression in the current table (0, stale after a reset,
    // or beyond the table) is refused, never followed.
    if (!om_XPathIsCompiledSequence(sequence)) {
        om_XPathShowEngineMessage(kMsgNotFound);
        return 0;
    }
    om_XPathHostCachesClear();
    om_XPathAxisCachesClear();
    lastMemo = LastMemo();

    Machine m;
    m.seq = sequence;
    m.doc = doc;
    if (start) m.root = om_XPathTopAncestor(doc, start);
    else if (om_XPathIsBook(doc)) m.root = F_ApiGetId(0, doc, FP_HighestLevelElement);
    else {
        F_ObjHandleT f = flow ? flow : F_ApiGetId(0, doc, FP_MainFlowInDoc);
        m.root = f ? F_ApiGetId(doc, f, FP_HighestLevelElement) : 0;
    }
    if (!m.root) m.root = XR_NO_ROOT;

    XPathNodeRecord &seq = om_XPathRec(sequence);
    if (start != seq.contextNode) {
        om_XPathResetSequence(sequence, 0);
        om_XPathRec(sequence).contextNode = start;
    }
    if (om_XPathFirstStepAxis(sequence) != XA_ROOT && !start) m.root = XR_NO_ROOT;

    IntT path = seq.firstChild;
    IntT r;
    if (om_XPathRec(path).groupNode == XR_SPENT) return 0;
    if (om_XPathRec(path).groupNode == XR_NOT_STARTED) {
        r = path;
        m.node = m.context = start;
        m.attr = seq.attrIndex;
    } else {
        r = om_XPathLastStep(sequence);
        const XPathNodeRecord &last = om_XPathRec(r);
        if (last.matchNode == 0) {
            StatusCode = 105;
            return 0;
        }
        loadState(m, last);
        m.resuming = true;
    }
    m.dir = 1;
    while (r && r != sequence && !m.failed) {
        IntT next = visit(m, r);
        m.last = r;
        r = next;
    }
    if (m.failed) return 0;

    XPathNodeRecord &handlers = om_XPathRec(path);
    if (handlers.groupNode <= 499) return 0;
    XPathNodeRecord &s = om_XPathRec(sequence);
    s.historyNodes.push_back(handlers.groupNode);
    s.historyAttrs.push_back(handlers.groupAttr);
    s.historyDocs.push_back(handlers.groupDoc);
    s.historyIndex.insert({handlers.groupNode, handlers.groupAttr, handlers.groupDoc});
    s.groupNode = handlers.groupNode;
    s.groupAttr = handlers.groupAttr;
    s.groupDoc = handlers.groupDoc;
    if (outDoc) *outDoc = handlers.groupDoc;
    if (outAttr) *outAttr = handlers.groupAttr;
    return handlers.groupNode;
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
