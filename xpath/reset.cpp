// Resets of a compiled expression's run state: one record, a subtree, or a whole sequence.
#include "xpath/host_reads.h"
#include "xpath/xpath.h"

// Resets one record's run state; with restore, a placeholder gets its parameter text back.
void om_XPathResetNode(IntT index, int restore) {
    XPathNodeRecord &r = om_XPathRec(index);
    r.contextNode = r.matchNode = r.matchDoc = XR_NOT_STARTED;
    r.attrIndex = -1;
    r.candidateCount = 0;
    switch (r.kind) {
    case XK_SEQUENCE:
        om_XPathHistoryClear(r);
        break;
    case XK_NODE_HANDLERS:
        r.groupNode = XR_NOT_STARTED;
        r.groupAttr = -1;
        break;
    case XK_NODE_HANDLER:
        r.firstEval = 1;
        if (restore && !r.paramName.empty()) r.nodeTest = r.paramName;
        break;
    case XK_PREDICATE: case XK_CONTAINS: case XK_CONTAINS_CI: case XK_STARTS_WITH: case XK_STARTS_WITH_CI:
    case XK_NOT:
        r.leftNode = 0;
        r.leftAttr = -1;
        r.leftText.clear();
        r.rightNode = 0;
        r.rightAttr = -1;
        r.rightText.clear();
        break;
    case XK_TERM:
        r.leftNode = 0;
        r.leftAttr = -1;
        r.leftText.clear();
        break;
    case XK_LITERAL_INTEGER: case XK_LITERAL_STRING:
        if (restore && !r.paramName.empty()) r.valueText = r.paramName;
        break;
    default:
        break;
    }
}

// Resets the record (with the flag) and every record below it, in pre-order.
void om_XPathResetSubtree(IntT index, int includeSelf, int restore) {
    if (includeSelf) om_XPathResetNode(index, restore);
    IntT r = om_XPathRec(index).firstChild;
    int lastMove = WalkDown;
    while (r && r != index) {
        if (lastMove != WalkUp) om_XPathResetNode(r, restore);
        r = om_XPathNextInWalk(r, lastMove);
    }
}

// Resets every record of a sequence; 0 when the number names no compiled expression.
IntT om_XPathResetSequence(IntT sequence, int restoreParams) {
    if (!XPathNodeTable.allocated || !om_XPathValidIndex(sequence) || om_XPathRec(sequence).kind != XK_SEQUENCE)
        return 0;
    om_XPathResetSubtree(sequence, 1, restoreParams);
    om_XPathTagCacheClear();
    return 1;
}
