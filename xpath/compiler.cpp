// The XPath expression compiler: turns an expression of the engine's dialect into a record tree
// in the node table and returns its sequence number, or the error code of the first fault. A
// cache keyed by the exact text returns the same sequence for the same text.
#include "xpath/xpath.h"

#include <array>

#include "lib/globals.h"

namespace {

constexpr int kSlots = 20;  // predicates nest at most 19 deep

bool isOperator(IntT k) { return k >= XT_EQ && k <= XT_LE; }
bool isAxisKeyword(IntT k) { return k >= XA_SELF && k <= XA_FLOW_REF; }
bool isStepToken(IntT k) {
    return isAxisKeyword(k) || k == XT_DOTDOT || k == XT_DOT || k == XT_SLASH || k == XT_DSLASH || k == XT_AT;
}
bool isNodeTestToken(IntT k) { return k == XT_NAME || k == XT_STAR || k == XT_NODE || k == XT_TEXT; }
bool isFunctionStart(IntT k) { return k >= XT_CONTAINS && k <= XT_NOT; }
bool isFunctionKind(UIntT k) {
    return (k >= XK_CONTAINS && k <= XK_STARTS_WITH_CI) || k == XK_NOT;
}

// The follow table: the code of the fault when token k may not follow token p, else 0.
IntT followFault(IntT p, IntT k) {
    auto nodeTestLike = [](IntT t) {
        return t == XT_STAR || t == XT_DOT || t == XT_DOTDOT || t == XT_NAME || t == XT_NODE || t == XT_TEXT;
    };
    auto logicOrOp = [](IntT t) { return t == XT_AND || t == XT_OR || isOperator(t); };
    auto endOfValue = [&](IntT t) { return logicOrOp(t) || t == XT_COMMA || t == XT_RPAREN || t == XT_BLANK; };
    if (isAxisKeyword(p) || p == XT_DSLASH || p == XT_AT)
        return (nodeTestLike(k) || k == XT_SLASH || k == XT_DSLASH) ? 0 : XPATH_ERR_BAD_ARG_AFTER_AXIS;
    if (p == XT_SLASH)
        return (nodeTestLike(k) || k == XT_SLASH || k == XT_DSLASH || isAxisKeyword(k) || k == XT_AT)
                   ? 0
                   : XPATH_ERR_BAD_ARG_AFTER_SLASH;
    if (p == XT_NAME || p == XT_STAR || p == XT_DOTDOT || p == XT_DOT)
        return (k == XT_SLASH || k == XT_DSLASH || k == XT_BLANK || logicOrOp(k) || k == XT_RPAREN ||
                k == XT_COMMA || k == XT_LBRACKET)
                   ? 0
                   : XPATH_ERR_BAD_ARG_AFTER_NODE_NAME;
    if (p == XT_COMMA || p == XT_LBRACKET || isFunctionStart(p))
        return (logicOrOp(k) || k == XT_LBRACKET) ? XPATH_ERR_BAD_ARG_AFTER_PREDICATE_START : 0;
    if (p == XT_RBRACKET)
        return (k == XT_SLASH || k == XT_DSLASH || k == XT_BLANK || logicOrOp(k) || k == XT_COMMA ||
                k == XT_RPAREN || k == XT_LBRACKET)
                   ? 0
                   : XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END;
    if (isOperator(p)) return (logicOrOp(k) || k == XT_LBRACKET) ? XPATH_ERR_BAD_ARG_AFTER_OPERATOR : 0;
    if (p == XT_LITERAL || p == XT_NUMBER) return endOfValue(k) ? 0 : XPATH_ERR_BAD_ARG_AFTER_LITERAL;
    if (p == XT_RPAREN || p == XT_POSITION || p == XT_LAST) return endOfValue(k) ? 0 : XPATH_ERR_BAD_ARG_AFTER_FUNCTION;
    return 0;
}

// The period rule: "." and ".." are steps of their own and may not follow another axis.
IntT periodFault(IntT p, IntT k) {
    if (k != XT_DOT && k != XT_DOTDOT) return 0;
    if (p == XT_DSLASH || p == XT_AT || (isAxisKeyword(p) && p != XA_SELF && p != XA_PARENT))
        return XPATH_ERR_MISPLACED_PERIOD;
    if ((k == XT_DOTDOT && p == XA_SELF) || (k == XT_DOT && p == XA_PARENT)) return XPATH_ERR_MISPLACED_PERIOD;
    return 0;
}

// Length in the text of a fixed token (0 for tokens whose length their action sets).
size_t fixedTokenLength(IntT k, std::string_view at) {
    switch (k) {
    case XT_STAR: case XT_BLANK: case XT_DOT: case XT_RPAREN: case XT_COMMA: case XT_SLASH: case XT_AT:
    case XT_GT: case XT_LT: case XT_LPAREN:
        return 1;
    case XT_EQ:
        return at.substr(0, 2) == "==" ? 2 : 1;
    case XT_DOTDOT: case XT_DSLASH: case XT_NE: case XT_GE: case XT_LE:
        return 2;
    case XT_NODE: case XT_TEXT: return 6;
    case XT_POSITION: return 10;
    case XT_LAST: return 6;
    case XT_CONTAINS: return 9;
    case XT_CONTAINS_CI: return 12;
    case XT_STARTS_WITH: return 12;
    case XT_STARTS_WITH_CI: return 15;
    case XT_NOT: return 4;
    case XT_AND: return 4;
    case XT_OR: return 3;
    default:
        if (isAxisKeyword(k)) return std::string_view(om_XPathAxisKeyword(UIntT(k))).size();
        return 0;
    }
}

// Parser state of one compile.
struct Parser {
    std::string copy;                          // the working copy (quotes straightened)
    std::array<std::string, kSlots> slotText;  // slot d: the text of the predicate open at depth d
    std::array<size_t, kSlots> slotPos{};      // cursor in each slot
    std::array<UIntT, kSlots> slotAxis{};      // the last axis set at each depth
    int depth = 0;
    IntT prev = XT_START, tok = XT_START;
    bool needToken = true;
    IntT cur = 0;
    UIntT curAxis = XA_CHILD;
    size_t tokLen = 0;
    size_t pos = 0;     // position in the whole text
    size_t errCol = 0;  // bytes consumed before the current token
    std::string tokText;

    std::string_view rest(int d) const { return std::string_view(slotText[size_t(d)]).substr(slotPos[size_t(d)]); }
};

// Adds a NODE HANDLERS child to parent and a NODE HANDLER under it; returns the step.
IntT addPath(IntT parent, UIntT axis) {
    IntT handlers = om_XPathAddChildNode(parent, XK_NODE_HANDLERS, XL_LAST_CHILD);
    IntT step = om_XPathAddChildNode(handlers, XK_NODE_HANDLER, XL_LAST_CHILD);
    om_XPathRec(step).axis = axis;
    return step;
}

// The NODE HANDLER whose bracketed predicate is being parsed, from r upwards (itself included).
IntT openPredicateStep(IntT r) {
    while (r && !(om_XPathRec(r).kind == XK_NODE_HANDLER && om_XPathRec(r).predicateOpen == 1))
        r = om_XPathFindAncestorOfKind(r, XK_NODE_HANDLER, 0);
    return r;
}

// Performs the action of the current token; returns 0 or the code of a fault.
IntT performAction(Parser &ps) {
    IntT k = ps.tok;
    if (isStepToken(k)) {
        if (om_XPathRec(ps.cur).kind != XK_NODE_HANDLER) ps.cur = addPath(ps.cur, XA_CHILD);
        if (!om_XPathRec(ps.cur).nodeTest.empty()) {
            UIntT last = ps.slotAxis[size_t(ps.depth)];
            if (last == XA_ATTRIBUTE) return XPATH_ERR_AXIS_FOLLOWING_ATTRIBUTE_AXIS;
            if (last == XA_FMPROP) return XPATH_ERR_AXIS_FOLLOWING_FM_PROP_AXIS;
            ps.cur = om_XPathAddSiblingNode(ps.cur, XK_NODE_HANDLER, XL_AFTER);
        }
        UIntT axis;
        bool absolute = ps.prev == XT_START || ps.prev == XT_LBRACKET || ps.prev == XT_AND || ps.prev == XT_OR;
        if (k == XT_DOT) axis = XA_SELF;
        else if (k == XT_DOTDOT) axis = XA_PARENT;
        else if ((k == XT_SLASH || k == XT_DSLASH) && absolute) {
            axis = XA_ROOT;
            ps.tokLen = 0;  // the slash is read again as the separator after the absolute start
        } else if (k == XT_SLASH) axis = XA_CHILD;
        else if (k == XT_DSLASH) axis = XA_DESCENDANT_OR_SELF;
        else if (k == XT_AT) axis = XA_ATTRIBUTE;
        else axis = UIntT(k);
        XPathNodeRecord &step = om_XPathRec(ps.cur);
        step.axis = axis;
        ps.curAxis = axis;
        if (k == XT_DOT || k == XT_DOTDOT || axis == XA_ROOT) step.nodeTest = "node()";
        ps.slotAxis[size_t(ps.depth)] = axis;
        return 0;
    }
    if (isNodeTestToken(k)) {
        std::string text = k == XT_NAME ? ps.tokText : k == XT_STAR ? "*" : k == XT_NODE ? "node()" : "text()";
        if (k == XT_NAME) ps.tokLen = text.size();
        if (om_XPathRec(ps.cur).kind != XK_NODE_HANDLER) {
            // A relative path inside a predicate or an argument: its first step is a child step.
            ps.cur = addPath(ps.cur, XA_CHILD);
            ps.curAxis = XA_CHILD;
            ps.slotAxis[size_t(ps.depth)] = XA_CHILD;
        }
        XPathNodeRecord &step = om_XPathRec(ps.cur);
        if (step.axis == XA_FMPROP && om_XPathFmPropertyCode(text) == -1) return XPATH_ERR_UNKNOWN_FM_PROP;
        if (step.axis == XA_FMFILE && !text.empty() && text[0] == '"') {
            text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
            for (char &c : text)
                if (c == '/') c = '\\';
        }
        step.nodeTest = text;
        return 0;
    }
    switch (k) {
    case XT_LBRACKET: {
        IntT step = om_XPathStepNodeOf(ps.cur, 4);
        if (!step) return XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE;
        if (om_XPathRec(step).logic == XT_OR) return XPATH_ERR_MIXED_AND_AND_OR;
        om_XPathRec(step).predicateOpen = 1;
        IntT pred = om_XPathAddChildNode(step, XK_PREDICATE, XL_LAST_CHILD);
        if (om_XPathRec(pred).prevSibling && om_XPathRec(step).logic != XT_AND && om_XPathRec(step).logic != XT_OR)
            om_XPathRec(step).logic = XT_AND;
        ps.cur = pred;
        if (ps.depth + 1 >= kSlots) {
            ps.needToken = false;
            return XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE;
        }
        std::string inner;
        IntT rc = om_XPathExtractPredicate(ps.rest(ps.depth), inner);
        if (rc) {
            ps.needToken = false;
            return rc;
        }
        ps.depth += 1;
        ps.slotText[size_t(ps.depth)] = std::move(inner);
        ps.slotPos[size_t(ps.depth)] = 0;
        ps.tokLen = ps.slotText[size_t(ps.depth)].size() + 2;
        return 0;
    }
    case XT_CONTAINS: case XT_CONTAINS_CI: case XT_STARTS_WITH: case XT_STARTS_WITH_CI: case XT_NOT: {
        UIntT ck = om_XPathRec(ps.cur).kind;
        if (ck != XK_PREDICATE && ck != XK_TERM) return XPATH_ERR_MISPLACED_FUNCTION;
        UIntT fk = k == XT_NOT ? UIntT(XK_NOT) : UIntT(XK_CONTAINS + (k - XT_CONTAINS));
        IntT fn = om_XPathAddChildNode(ps.cur, fk, XL_LAST_CHILD);
        ps.cur = om_XPathAddChildNode(fn, XK_TERM, XL_LAST_CHILD);
        return 0;
    }
    case XT_COMMA: {
        IntT term = om_XPathFindAncestorOfKind(ps.cur, XK_TERM, 1);
        if (!term) return XPATH_ERR_MISPLACED_COMMA;
        if (om_XPathRec(term).prevSibling) return XPATH_ERR_FUNCTION_MORE_THAN_TWO_ARGS;
        IntT fn = om_XPathRec(term).parent;
        if (om_XPathRec(fn).kind == XK_NOT) return XPATH_ERR_NOT_FUNC_HAS_MULTIPLE_ARGS;
        ps.cur = om_XPathAddChildNode(fn, XK_TERM, XL_LAST_CHILD);
        return 0;
    }
    case XT_RPAREN: {
        IntT term = om_XPathFindAncestorOfKind(ps.cur, XK_TERM, 1);
        if (!term) return XPATH_ERR_MISPLACED_RIGHT_PAREN;
        ps.cur = om_XPathRec(term).parent;
        return 0;
    }
    case XT_LPAREN:
        return XPATH_ERR_BAD_LEFT_PARENTHESIS;
    case XT_AND: case XT_OR: {
        IntT step = openPredicateStep(ps.cur);
        // "and"/"or" outside any predicate (//a and //b) has nothing to join.
        if (!step) return XPATH_ERR_MIXED_AND_AND_OR;
        UIntT other = k == XT_AND ? XT_OR : XT_AND;
        if (om_XPathRec(step).logic == other) return XPATH_ERR_MIXED_AND_AND_OR;
        om_XPathRec(step).logic = UIntT(k);
        ps.cur = om_XPathAddChildNode(step, XK_PREDICATE, XL_LAST_CHILD);
        return 0;
    }
    case XT_LITERAL: case XT_NUMBER: {
        UIntT ck = om_XPathRec(ps.cur).kind;
        if (ck != XK_PREDICATE && ck != XK_TERM) return XPATH_ERR_MISPLACED_LITERAL;
        const std::string &text = ps.tokText;
        IntT lit = om_XPathAddChildNode(ps.cur, om_XPathIsInteger(text) ? XK_LITERAL_INTEGER : XK_LITERAL_STRING,
                                        XL_LAST_CHILD);
        om_XPathRec(lit).valueText = text.empty() ? std::string(XPathErrorSentinel) : text;
        ps.tokLen = text.size() + (k == XT_LITERAL ? 2 : 0);
        ps.cur = lit;
        return 0;
    }
    case XT_POSITION: case XT_LAST: {
        UIntT ck = om_XPathRec(ps.cur).kind;
        if (ck != XK_PREDICATE && ck != XK_TERM) return XPATH_ERR_MISPLACED_FUNCTION;
        ps.cur = om_XPathAddChildNode(ps.cur, k == XT_POSITION ? XK_POSITION : XK_LAST, XL_LAST_CHILD);
        return 0;
    }
    default:
        break;
    }
    if (isOperator(k)) {
        IntT pt = om_XPathEnclosingPredicateOrTerm(ps.cur, 1);
        if (pt && om_XPathRec(pt).kind == XK_TERM) return XPATH_ERR_OPERATOR_IN_FUNC_TERM;
        if (isNodeTestToken(ps.prev) || ps.prev == XT_DOT || ps.prev == XT_DOTDOT) {
            IntT handlers = om_XPathRec(ps.cur).parent;
            IntT above = handlers ? om_XPathRec(handlers).parent : 0;
            if (om_XPathRec(ps.cur).kind == XK_NODE_HANDLER && (!above || om_XPathRec(above).kind != XK_PREDICATE)) {
                // A comparison after a main-path step compares that step's own value.
                IntT pred = om_XPathAddChildNode(ps.cur, XK_PREDICATE, XL_LAST_CHILD);
                bool fmprop = ps.curAxis == XA_FMPROP;
                std::string test = fmprop ? om_XPathRec(ps.cur).nodeTest : std::string("node()");
                IntT self = addPath(pred, fmprop ? XA_FMPROP : XA_SELF);
                om_XPathRec(self).nodeTest = test;
                ps.cur = self;
            }
        }
        IntT pred = om_XPathFindAncestorOfKind(ps.cur, XK_PREDICATE, 1);
        // An operator after the "]" of a main-path step has no predicate to belong to.
        if (!pred) return XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END;
        ps.cur = pred;
        if (om_XPathRec(pred).op) return XPATH_ERR_MULTIPLE_OPERATORS;
        om_XPathRec(pred).op = UIntT(k);
        return 0;
    }
    return 0;  // a blank
}

// Rewrites lone predicate operands, sets the fmprop codes and marks parameter placeholders.
// Returns 0, or 50150 when a predicate or an argument was left without an operand ("[b and ]",
// "contains(a, )", "[b = ]").
IntT postPass(IntT sequence) {
    IntT fault = 0;
    int lastMove = WalkDown;
    IntT r = om_XPathRec(sequence).firstChild;
    om_XPathRec(sequence).groupFmProp = -1;
    while (r && r != sequence) {
        if (lastMove != WalkUp) {
            XPathNodeRecord &rec = om_XPathRec(r);
            rec.groupFmProp = -1;
            bool operandMissing = (rec.kind == XK_TERM && !rec.firstChild) ||
                                  (rec.kind == XK_PREDICATE && (!rec.firstChild || (rec.op && rec.firstChild == rec.lastChild)));
            if (operandMissing && !fault) fault = XPATH_ERR_MISSING_LOGICAL_TEST_SECOND_TERM;
            if (rec.kind == XK_PREDICATE && rec.firstChild && rec.firstChild == rec.lastChild) {
                IntT q = rec.firstChild;
                UIntT qk = om_XPathRec(q).kind;
                if (qk == XK_POSITION || qk == XK_LAST || qk == XK_LITERAL_INTEGER) {
                    om_XPathAddSiblingNode(q, XK_POSITION, XL_AFTER);
                } else if (isFunctionKind(qk)) {
                    IntT t = om_XPathAddSiblingNode(q, XK_LITERAL_STRING, XL_AFTER);
                    om_XPathRec(t).valueText = "true";
                }
            }
            XPathNodeRecord &cur = om_XPathRec(r);  // the table may have grown
            if (cur.kind == XK_NODE_HANDLER && cur.axis == XA_FMPROP && cur.parent)
                om_XPathRec(cur.parent).groupFmProp = om_XPathFmPropertyCode(cur.nodeTest);
            if (cur.kind == XK_NODE_HANDLER && !cur.nodeTest.empty() && cur.nodeTest[0] == '$')
                cur.paramName = cur.nodeTest;
            if ((cur.kind == XK_LITERAL_INTEGER || cur.kind == XK_LITERAL_STRING) && !cur.valueText.empty() &&
                cur.valueText[0] == '$')
                cur.paramName = cur.valueText;
        }
        r = om_XPathNextInWalk(r, lastMove);
    }
    return fault;
}

IntT errorExit(const std::string &copy, size_t column, IntT code, int report) {
    if (report == 1) om_XPathReportError(copy, IntT(column), code);
    CancelFlag = 1;
    return code;
}

}  // namespace

// Index of the SEQUENCE whose source text is exactly text; 0 when none.
IntT om_XPathFindCompiled(std::string_view text) {
    if (text.empty() || !XPathNodeTable.allocated) return 0;
    auto it = XPathNodeTable.cache.find(std::string(text));
    if (it == XPathNodeTable.cache.end()) return 0;
    return om_XPathIsCompiledSequence(it->second) && om_XPathRec(it->second).sourceText == text ? it->second : 0;
}

// The text between the "[" at the start of text and its matching "]". Brackets are counted on
// the literal-masked copy, so a "]" or "[" inside a quoted literal neither ends nor opens one.
IntT om_XPathExtractPredicate(std::string_view text, std::string &out) {
    if (text.empty() || text[0] != '[') {
        out = "Error!";
        return XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE;
    }
    const std::string masked = om_XPathMaskLiterals(text);
    long depth = 0;
    for (size_t i = 0; i < masked.size(); ++i) {
        if (masked[i] == '[') ++depth;
        else if (masked[i] == ']' && --depth == 0) {
            out.assign(text.substr(1, i - 1));
            return 0;
        }
    }
    out.clear();
    return XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP;
}

// Compiles text; returns its sequence number, or an error code above 50099.
IntT om_XPathCompile(std::string_view text, int reportErrors) {
    CancelFlag = 0;
    if (IntT hit = om_XPathFindCompiled(text)) return hit;
    if (!XPathNodeTable.allocated) om_XPathResetNodeTable();

    Parser ps;
    ps.copy = om_XPathStraightenQuotes(text);
    if (IntT rc = om_XPathScreenSyntax(ps.copy, reportErrors)) {
        CancelFlag = 1;
        return rc;
    }

    IntT n = om_XPathNewRecord(XK_SEQUENCE);
    {
        XPathNodeRecord &seq = om_XPathRec(n);
        om_XPathHistoryClear(seq);
    }
    IntT handlers = om_XPathAddChildNode(n, XK_NODE_HANDLERS, XL_LAST_CHILD);
    ps.cur = om_XPathAddChildNode(handlers, XK_NODE_HANDLER, XL_LAST_CHILD);
    om_XPathRec(ps.cur).axis = XA_CHILD;
    ps.slotText[0] = ps.copy;
    for (int d = 1; d < kSlots; ++d) ps.slotText[size_t(d)] = XPathErrorSentinel;

    // Every iteration consumes at least one byte, except the re-read of an absolute start's
    // slash and the one that reports a fault: twice the length bounds a sound parse.
    const size_t iterationLimit = 2 * ps.copy.size() + 10;
    size_t iterations = 0;
    while (ps.pos < ps.copy.size() || ps.depth > 0) {
        if (++iterations > iterationLimit) return errorExit(ps.copy, ps.errCol, XPATH_ERR_TOO_DAMNED_LONG, reportErrors);
        if (ps.tok != XT_BLANK) ps.prev = ps.tok;
        if (ps.needToken && ps.prev < 50100) {
            ps.tokText.clear();
            ps.tok = om_XPathNextToken(ps.rest(ps.depth), ps.prev, ps.tokText);
            if (ps.tok == 0) ps.tok = XT_NAME;
        }
        if (ps.tok > XPathLastSequenceNumber) return errorExit(ps.copy, ps.errCol, ps.tok, reportErrors);
        ps.needToken = true;
        if (IntT f = followFault(ps.prev, ps.tok)) ps.tok = f;
        else if (IntT f2 = periodFault(ps.prev, ps.tok)) ps.tok = f2;
        if (ps.tok > XPathLastSequenceNumber) return errorExit(ps.copy, ps.errCol, ps.tok, reportErrors);

        ps.tokLen = fixedTokenLength(ps.tok, ps.rest(ps.depth));
        if (IntT f = performAction(ps)) {
            ps.tok = f;
            ps.tokLen = 0;
            continue;  // reported at the start of the next iteration
        }
        // Advance.
        if (ps.tok == XT_LBRACKET) {
            ps.slotPos[size_t(ps.depth - 1)] += ps.tokLen;
            ps.errCol += 1;
        } else {
            ps.slotPos[size_t(ps.depth)] += ps.tokLen;
            ps.errCol += ps.tokLen;
        }
        if (ps.depth == 0 || (ps.depth == 1 && ps.tok == XT_LBRACKET)) ps.pos += ps.tokLen;
        // Close the predicates whose text is used up.
        while (ps.depth > 0 && ps.rest(ps.depth).empty()) {
            ps.depth -= 1;
            ps.errCol += 1;
            IntT step = openPredicateStep(ps.cur);
            if (!step) return errorExit(ps.copy, ps.errCol, XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE, reportErrors);
            om_XPathRec(step).predicateOpen = 0;
            ps.cur = step;
            ps.tok = XT_RBRACKET;
        }
    }
    if (ps.tok > XPathLastSequenceNumber) return errorExit(ps.copy, ps.errCol, ps.tok, reportErrors);

    if (IntT fault = postPass(n)) return errorExit(ps.copy, ps.errCol, fault, reportErrors);
    om_XPathRec(n).sourceText.assign(text);
    XPathNodeTable.cache[std::string(text)] = n;
    om_XPathResetSubtree(n, 1, 0);
    return n;
}
