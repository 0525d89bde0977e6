// The XPath node table: allocation, growth, linking and the small tree queries every other
// piece of the engine uses on compiled expressions.
#include "xpath/node_table.h"

#include <strings.h>
#include "lib/run_state.h"

XPathNodeTableT XPathNodeTable;
unsigned long XPathNodeTableEmptied = 0;

namespace {
// The compiled sequences. Start-up compiles the condition rules into it, which keep their
// numbers for the session, so it is start-up state: a run compiles its own query afresh, and a
// client's ResetNodeTable empties it on purpose.
[[maybe_unused]] const bool resetXPathNodeTable =
    om_RunStateRegister("XPath node table", RunStateKind::StartUp, [] {
        XPathNodeTable = XPathNodeTableT{};
        ++XPathNodeTableEmptied;
    });
}  // namespace

namespace {
constexpr int kWalkLimit = 1000;     // counts and kind searches
constexpr int kStepClimbLimit = 10000;  // enclosing-step search
constexpr IntT kGrowBy = 100;
}  // namespace

// Frees the table when allocated, then starts an empty one holding record 0 only.
// Returns the new capacity.
IntT om_XPathResetNodeTable() {
    om_XPathFreeNodeTable();
    ++XPathNodeTableEmptied;
    XPathNodeTable.records.clear();
    XPathNodeTable.allocated = 1;
    XPathNodeTable.nextFree = 1;
    XPathNodeTable.cache.clear();
    return om_XPathGrowNodeTable(1);
}

// Adds n fresh records at the end (resetting first when the table is not allocated).
// Existing records keep their contents and indexes. Returns the new capacity.
IntT om_XPathGrowNodeTable(IntT n) {
    if (!XPathNodeTable.allocated) om_XPathResetNodeTable();
    if (n > 0) XPathNodeTable.records.resize(XPathNodeTable.records.size() + size_t(n));
    return IntT(XPathNodeTable.capacity());
}

// Frees every record (strings and histories) and clears the allocated flag.
void om_XPathFreeNodeTable() {
    if (!XPathNodeTable.allocated) return;
    ++XPathNodeTableEmptied;
    std::vector<XPathNodeRecord>().swap(XPathNodeTable.records);
    XPathNodeTable.cache.clear();
    XPathNodeTable.nextFree = 1;
    XPathNodeTable.allocated = 0;
}

// Takes the record at the next free index (growing by 100 when full) and gives it a kind.
IntT om_XPathNewRecord(UIntT kind) {
    if (!XPathNodeTable.allocated) om_XPathResetNodeTable();
    if (XPathNodeTable.nextFree >= XPathNodeTable.capacity()) om_XPathGrowNodeTable(kGrowBy);
    IntT i = IntT(XPathNodeTable.nextFree++);
    om_XPathRec(i).kind = kind;
    return i;
}

// Links a new record of the kind as the first (1623) or last (1624) child of parent.
IntT om_XPathAddChildNode(IntT parent, UIntT kind, IntT mode) {
    IntT n = om_XPathNewRecord(kind);
    XPathNodeRecord &p = om_XPathRec(parent);
    XPathNodeRecord &r = om_XPathRec(n);
    r.parent = parent;
    if (mode == XL_FIRST_CHILD) {
        r.nextSibling = p.firstChild;
        if (p.firstChild) om_XPathRec(p.firstChild).prevSibling = n;
        p.firstChild = n;
        if (!p.lastChild) p.lastChild = n;
    } else {
        r.prevSibling = p.lastChild;
        if (p.lastChild) om_XPathRec(p.lastChild).nextSibling = n;
        p.lastChild = n;
        if (!p.firstChild) p.firstChild = n;
    }
    return n;
}

// Links a new record of the kind before (1625) or after (1626) the record, same parent.
IntT om_XPathAddSiblingNode(IntT index, UIntT kind, IntT mode) {
    IntT n = om_XPathNewRecord(kind);
    XPathNodeRecord &r = om_XPathRec(n);
    XPathNodeRecord &at = om_XPathRec(index);
    r.parent = at.parent;
    if (mode == XL_BEFORE) {
        r.prevSibling = at.prevSibling;
        r.nextSibling = index;
        if (at.prevSibling) om_XPathRec(at.prevSibling).nextSibling = n;
        else if (at.parent) om_XPathRec(at.parent).firstChild = n;
        at.prevSibling = n;
    } else {
        r.nextSibling = at.nextSibling;
        r.prevSibling = index;
        if (at.nextSibling) om_XPathRec(at.nextSibling).prevSibling = n;
        else if (at.parent) om_XPathRec(at.parent).lastChild = n;
        at.nextSibling = n;
    }
    return n;
}

// One step of a pre-order walk steered by the last move (1 down, 2 sideways, 3 up).
IntT om_XPathNextInWalk(IntT index, int &lastMove) {
    const XPathNodeRecord &r = om_XPathRec(index);
    if (r.firstChild && lastMove != WalkUp) {
        lastMove = WalkDown;
        return r.firstChild;
    }
    if (r.nextSibling) {
        lastMove = WalkNext;
        return r.nextSibling;
    }
    lastMove = WalkUp;
    return r.parent;
}

// Number of children (stops after 1000).
IntT om_XPathCountChildren(IntT index) {
    IntT n = 0;
    for (IntT c = om_XPathRec(index).firstChild; c && n < kWalkLimit; c = om_XPathRec(c).nextSibling) ++n;
    return n;
}

// 1 + the number of previous siblings (stops after 1000).
IntT om_XPathCountPreceding(IntT index) {
    IntT n = 1;
    for (IntT c = om_XPathRec(index).prevSibling; c && n <= kWalkLimit; c = om_XPathRec(c).prevSibling) ++n;
    return n;
}

// Nearest record of kind 4 or 12 from the record (with the flag) or its parent; 0 when none.
IntT om_XPathEnclosingPredicateOrTerm(IntT index, int includeSelf) {
    IntT r = includeSelf ? index : om_XPathRec(index).parent;
    for (int steps = 0; r && steps < kWalkLimit; ++steps, r = om_XPathRec(r).parent) {
        UIntT k = om_XPathRec(r).kind;
        if (k == XK_PREDICATE || k == XK_TERM) return r;
    }
    return 0;
}

// Nearest record of the kind from the record (with the flag) or its parent; 0 when none.
IntT om_XPathFindAncestorOfKind(IntT index, UIntT kind, int includeSelf) {
    IntT r = includeSelf ? index : om_XPathRec(index).parent;
    for (int steps = 0; r && steps < kWalkLimit; ++steps, r = om_XPathRec(r).parent)
        if (om_XPathRec(r).kind == kind) return r;
    return 0;
}

// Mode 1: first step of sequence; 2: last step; 3: its NODE HANDLERS; 4: the NODE HANDLER that
// encloses the record (itself when it is one), 0 when none.
IntT om_XPathStepNodeOf(IntT index, int mode) {
    if (!om_XPathValidIndex(index)) return 0;
    if (mode == 4) {
        IntT r = index;
        for (int steps = 0; r && steps < kStepClimbLimit; ++steps, r = om_XPathRec(r).parent)
            if (om_XPathRec(r).kind == XK_NODE_HANDLER) return r;
        return 0;
    }
    IntT handlers = om_XPathRec(index).firstChild;
    if (mode == 3 || !handlers) return handlers;
    return mode == 1 ? om_XPathRec(handlers).firstChild : om_XPathRec(handlers).lastChild;
}

// The fmprop code of a property name (any case), -1 for an unknown name.
IntT om_XPathFmPropertyCode(const std::string &name) {
    static const char *const names[] = {"ImportObFile", "PgfTag",    "TblTag", "FChangeBar",
                                        "XRefName",     "XRefSrcText", "XRefSrcFile", "MTypeName",
                                        "MText",        "PageNumInt", "PageNumStr"};
    for (IntT i = 0; i < 11; ++i)
        if (strcasecmp(name.c_str(), names[i]) == 0) return i + 1;
    return -1;
}

// 1 when n names the SEQUENCE record of a successful compile in the current table.
bool om_XPathIsCompiledSequence(IntT n) {
    return XPathNodeTable.allocated && om_XPathValidIndex(n) && om_XPathRec(n).kind == XK_SEQUENCE &&
           !om_XPathRec(n).sourceText.empty();
}
