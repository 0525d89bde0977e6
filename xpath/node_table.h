// The XPath engine's node table: every compiled expression is a small tree of records in one
// global growable array; the index of an expression's root record is its sequence number. The
// same records hold the structure (filled by the compiler) and the state of a run in progress
// (filled by the navigator). Also the codes shared by the tokeniser, compiler and navigator.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "fdk.h"
#include "lib/host/element_walk.h"  // WalkDown, WalkNext, WalkUp: the moves of a record walk

// Record kinds.
enum XPathNodeKind : IntT {
    XK_NONE = 0,
    XK_SEQUENCE = 1,
    XK_NODE_HANDLERS = 2,
    XK_NODE_HANDLER = 3,
    XK_PREDICATE = 4,
    XK_CONTAINS = 5,
    XK_CONTAINS_CI = 6,
    XK_STARTS_WITH = 7,
    XK_STARTS_WITH_CI = 8,
    XK_POSITION = 9,
    XK_LAST = 10,
    XK_NOT = 11,
    XK_TERM = 12,
    XK_LITERAL_INTEGER = 13,
    XK_LITERAL_STRING = 14,
};

// Axes; the same numbers are the tokens of the axis keywords.
enum XPathAxis : IntT {
    XA_ROOT = 1,
    XA_SELF = 2,
    XA_CHILD = 3,
    XA_DESCENDANT = 4,
    XA_PARENT = 5,
    XA_ANCESTOR = 6,
    XA_ANCESTOR_OR_SELF = 7,
    XA_DESCENDANT_OR_SELF = 8,
    XA_PRECEDING = 9,
    XA_PRECEDING_SIBLING = 10,
    XA_FOLLOWING = 11,
    XA_FOLLOWING_SIBLING = 12,
    XA_ATTRIBUTE = 13,
    XA_FMPROP = 14,
    XA_FMBOOK = 15,
    XA_FMCOMP = 16,
    XA_FMCHAP = 17,
    XA_FMFILE = 18,
    XA_FLOW_ANY = 19,
    XA_FLOW_BODY = 20,
    XA_FLOW_MASTER = 21,
    XA_FLOW_REF = 22,
};

// Token codes of the tokeniser (2 to 22 are the axis keywords). Codes above 50099 are errors.
enum XPathToken : IntT {
    XT_NAME = 30,
    XT_STAR = 31,
    XT_BLANK = 32,
    XT_DOTDOT = 33,
    XT_DOT = 34,
    XT_RPAREN = 35,
    XT_LPAREN = 36,
    XT_COMMA = 37,
    XT_AND = 50,
    XT_OR = 51,
    XT_SLASH = 60,
    XT_DSLASH = 61,
    XT_START = 62,
    XT_LBRACKET = 63,
    XT_RBRACKET = 64,
    XT_AT = 65,
    XT_NODE = 66,
    XT_TEXT = 67,
    XT_LITERAL = 68,
    XT_NUMBER = 69,
    XT_EQ = 70,
    XT_NE = 71,
    XT_GT = 72,
    XT_LT = 73,
    XT_GE = 74,
    XT_LE = 75,
    XT_POSITION = 90,
    XT_LAST = 91,
    XT_CONTAINS = 92,
    XT_CONTAINS_CI = 93,
    XT_STARTS_WITH = 94,
    XT_STARTS_WITH_CI = 95,
    XT_NOT = 96,
};

// Sentinel node values in the run fields.
enum XPathRunMark : IntT {
    XR_SPENT = 103,      // spent, or nothing found
    XR_NOT_STARTED = 104,
    XR_NO_ROOT = 208,
    XR_NO_AXIS_CONTEXT = 666,
};
// An operand node above this is a matched node; at or below it, a value or a mark.
constexpr IntT XR_HIGHEST_VALUE_NODE = 200;

// Verdicts of a predicate or function record after one of its operands finished.
enum XPathVerdict : IntT {
    XV_FALSE = 1,
    XV_TRUE = 2,
    XV_MOVE_LEFT = 3,        // evaluate the left operand (again)
    XV_RESTART_RIGHT = 4,    // start the right operand over
    XV_MOVE_RIGHT = 5,       // go on with the right operand
};

// Modes of the linking primitives.
enum XPathLinkMode : IntT {
    XL_FIRST_CHILD = 1623,
    XL_LAST_CHILD = 1624,
    XL_BEFORE = 1625,
    XL_AFTER = 1626,
};

// Key of one returned match: node, attribute index and document.
struct XPathMatchKey {
    UIntT node;
    IntT attr;
    UIntT doc;
    bool operator==(const XPathMatchKey &o) const { return node == o.node && attr == o.attr && doc == o.doc; }
    bool operator<(const XPathMatchKey &o) const {
        if (node != o.node) return node < o.node;
        if (doc != o.doc) return doc < o.doc;
        return attr < o.attr;
    }
};
struct XPathMatchKeyHash {
    size_t operator()(const XPathMatchKey &k) const {
        uint64_t h = (uint64_t(k.node) << 32) ^ uint64_t(k.doc) * 0x9E3779B97F4A7C15ull ^ uint64_t(uint32_t(k.attr)) * 0xC2B2AE3D27D4EB4Full;
        return size_t(h ^ (h >> 29));
    }
};

// A set of match keys (open addressing, no allocation per key): the index beside a list of
// matches that recognises a repeated one. Keys have a node above 0.
class XPathMatchSet {
public:
    // Adds the key; true when it was not in the set.
    bool insert(const XPathMatchKey &k) {
        if ((used_ + 1) * 2 > slots_.size()) grow();
        size_t i = place(k);
        if (slots_[i].node) return false;
        slots_[i] = k;
        ++used_;
        return true;
    }
    size_t count(const XPathMatchKey &k) const {
        if (slots_.empty()) return 0;
        return slots_[place(k)].node ? 1 : 0;
    }
    void clear() {
        slots_.clear();
        used_ = 0;
    }

private:
    // The slot holding k, or the empty slot where it belongs.
    size_t place(const XPathMatchKey &k) const {
        size_t mask = slots_.size() - 1;
        size_t i = XPathMatchKeyHash()(k) & mask;
        while (slots_[i].node && !(slots_[i] == k)) i = (i + 1) & mask;
        return i;
    }
    void grow() {
        std::vector<XPathMatchKey> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, XPathMatchKey{0, 0, 0});
        for (const XPathMatchKey &k : old)
            if (k.node) slots_[place(k)] = k;
    }
    std::vector<XPathMatchKey> slots_;
    size_t used_ = 0;
};

// One record of the table; fields in their specified order.
struct XPathNodeRecord {
    UIntT kind = 0;
    UIntT contextNode = 0;
    UIntT matchNode = 0;
    IntT attrIndex = 0;
    UIntT matchDoc = 0;
    std::string sourceText;
    UIntT logic = 0;
    std::string nodeTest;
    UIntT axis = 0;
    std::string paramName;
    std::string valueText;
    UIntT groupNode = 0;
    IntT groupAttr = -1;
    IntT groupFmProp = -1;
    UIntT groupDoc = 0;
    std::string leftText, rightText;
    UIntT op = 0;
    IntT leftNode = 0, rightNode = 0;
    IntT leftAttr = -1, rightAttr = -1;
    IntT leftFmProp = -1, rightFmProp = -1;
    IntT reserved = 1;
    IntT firstEval = 1;
    IntT firstChild = 0, lastChild = 0, prevSibling = 0, nextSibling = 0, parent = 0;
    // On a SEQUENCE: the nodes, attribute indexes and documents of the matches returned since
    // the last reset, starting with one entry of 0s, and an index over them so that a repeated
    // match is recognised without a scan: while the matches come in rising order the history is
    // its own index; the first one out of order moves them into the set (historyHashed).
    std::vector<XPathMatchKey> history;
    XPathMatchSet historyIndex;
    bool historyHashed = false;
    IntT candidateCount = 0;
    IntT predicateOpen = 0;
};

// The history a SEQUENCE starts with: one entry of 0s.
inline void om_XPathHistoryClear(XPathNodeRecord &seq) {
    seq.history.assign(1, XPathMatchKey{0, 0, 0});
    seq.historyIndex.clear();
    seq.historyHashed = false;
}
// 1 when the match is in the SEQUENCE's history.
inline bool om_XPathHistoryHas(const XPathNodeRecord &seq, const XPathMatchKey &k) {
    if (seq.historyHashed) return seq.historyIndex.count(k) != 0;
    const std::vector<XPathMatchKey> &h = seq.history;
    if (h.size() <= 1 || h.back() < k) return false;
    auto it = std::lower_bound(h.begin() + 1, h.end(), k);  // the entries are rising
    return it != h.end() && *it == k;
}
// Appends a match to the SEQUENCE's history.
inline void om_XPathHistoryAdd(XPathNodeRecord &seq, const XPathMatchKey &k) {
    std::vector<XPathMatchKey> &h = seq.history;
    bool rising = seq.historyHashed || h.size() <= 1 || h.back() < k;
    h.push_back(k);
    if (seq.historyHashed) {
        seq.historyIndex.insert(k);
    } else if (!rising) {
        seq.historyHashed = true;
        seq.historyIndex.clear();
        for (size_t i = 1; i < h.size(); ++i) seq.historyIndex.insert(h[i]);
    }
}

// The one global table. Record 0 exists and is never used.
struct XPathNodeTableT {
    std::vector<XPathNodeRecord> records;
    int allocated = 0;
    UIntT nextFree = 1;
    // Compiled-expression cache: source text -> SEQUENCE index (kept beside the records).
    std::unordered_map<std::string, IntT> cache;
    UIntT capacity() const { return UIntT(records.size()); }
};
extern XPathNodeTableT XPathNodeTable;
// How many times the table was emptied (reset, freed or started afresh). Records are only ever
// added at the end, so a record keeps its kind and source text until the count moves: a caller
// that checked a record may trust the check while the count stays.
extern unsigned long XPathNodeTableEmptied;

// Record access (index assumed valid: 1 <= i < capacity).
inline XPathNodeRecord &om_XPathRec(IntT i) { return XPathNodeTable.records[size_t(i)]; }
// 1 when i names a record of the table (1 <= i < capacity).
inline bool om_XPathValidIndex(IntT i) { return i >= 1 && UIntT(i) < XPathNodeTable.capacity(); }

// Table primitives.
IntT om_XPathResetNodeTable();
IntT om_XPathGrowNodeTable(IntT n);
void om_XPathFreeNodeTable();
IntT om_XPathNewRecord(UIntT kind);
IntT om_XPathAddChildNode(IntT parent, UIntT kind, IntT mode);
IntT om_XPathAddSiblingNode(IntT index, UIntT kind, IntT mode);
IntT om_XPathNextInWalk(IntT index, int &lastMove);
IntT om_XPathCountChildren(IntT index);
IntT om_XPathCountPreceding(IntT index);
IntT om_XPathEnclosingPredicateOrTerm(IntT index, int includeSelf);
IntT om_XPathFindAncestorOfKind(IntT index, UIntT kind, int includeSelf);
IntT om_XPathStepNodeOf(IntT index, int mode);
// The last step of the sequence's path (as om_XPathStepNodeOf (sequence, 2)).
inline IntT om_XPathLastStep(IntT sequence) {
    if (!om_XPathValidIndex(sequence)) return 0;
    IntT handlers = om_XPathRec(sequence).firstChild;
    return handlers ? om_XPathRec(handlers).lastChild : 0;
}
// The axis of the sequence's first step (0 when there is none).
inline UIntT om_XPathFirstStepAxis(IntT sequence) {
    if (!om_XPathValidIndex(sequence)) return 0;
    IntT handlers = om_XPathRec(sequence).firstChild;
    IntT first = handlers ? om_XPathRec(handlers).firstChild : 0;
    return first ? om_XPathRec(first).axis : 0;
}
// The host properties the fm-property axis reads, by the code om_XPathFmPropertyCode gives their
// names (-1 for a name it does not know).
namespace FmProp {
enum : IntT {
    ImportObFile = 1,  // an imported graphic's file
    PgfTag,            // the paragraph format where the element begins
    TblTag,            // a table's format
    FChangeBar,        // the change bar where the element begins
    XRefName,          // a cross-reference's format
    XRefSrcText,       // a cross-reference's source text
    XRefSrcFile,       // a cross-reference's source file
    MTypeName,         // a marker's type
    MText,             // a marker's text
    PageNumInt,        // the numbers of the pages the element is on
    PageNumStr,        // their page number texts
};
}  // namespace FmProp
IntT om_XPathFmPropertyCode(const std::string &name);
// 1 when n names the SEQUENCE record of a successful compile.
bool om_XPathIsCompiledSequence(IntT n);
