// Predicates and comparisons: operand values of a predicate or function record, the verdicts
// that tell the navigator which operand to move on, the engine's comparison rules (which differ
// from XPath 1.0 for empty lists and "!="), and the FM property vocabulary of the fmprop axis.
#include <strings.h>

#include <cstring>
#include <span>
#include <string_view>

#include "lib/globals.h"
#include "lib/host/element_query.h"
#include "lib/host/frames.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "xpath/host_reads.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

// The host's text property reader may be missing from an older host.
#pragma weak F_ApiGetTextPropVal

namespace {

// contains-ci and starts-with-ci fold case as the host does (F_StrICmp), accented capitals included.
bool containsCI(std::string_view hay, std::string_view needle) {
    return qv::FoldCase(hay).find(qv::FoldCase(needle)) != std::string::npos;
}

bool startsWithCI(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && qv::FoldCase(s).compare(0, prefix.size(), qv::FoldCase(prefix)) == 0;
}

// The value list of one operand side of a record.
void operandValues(F_ObjHandleT doc, IntT node, IntT attr, IntT fmProp, const std::string &text,
                   std::vector<std::string> &out) {
    out.clear();
    if (node <= XR_HIGHEST_VALUE_NODE) {
        out.push_back(text);
    } else if (fmProp >= 0) {
        om_XPathFmPropertyValue(doc, F_ObjHandleT(node), attr, fmProp, out);
    } else if (attr >= 0) {
        om_XPathAttrValues(doc, F_ObjHandleT(node), attr, XPathEngineOptions.attributeValueMode, out);
    } else {
        out.push_back(om_XPathElementText(doc, F_ObjHandleT(node), 1, XPathEngineOptions.maxTextChars));
    }
}

// The comparison code of a function record's kind; 0 for other kinds.
IntT functionCode(UIntT kind) {
    switch (kind) {
    case XK_CONTAINS: return XT_CONTAINS;
    case XK_CONTAINS_CI: return XT_CONTAINS_CI;
    case XK_STARTS_WITH: return XT_STARTS_WITH;
    case XK_STARTS_WITH_CI: return XT_STARTS_WITH_CI;
    default: return 0;
    }
}

// Scratch lists reused between comparisons.
std::vector<std::string> leftValues, rightValues;

// Scratch lists of one comparison, kept only for their room.
[[maybe_unused]] const bool resetXPathComparisonOperands =
    om_RunStateRegister("XPath comparison operands", RunStateKind::Run, [] {
        leftValues.clear();
        rightValues.clear();
    });

}  // namespace

namespace {

// A value of a list as text: the engine's own strings, or the host's (NULL as "").
const char *valueText(const std::string &s) { return s.c_str(); }
const char *valueText(ConStringT s) { return s ? s : ""; }
std::string_view valueView(const std::string &s) { return s; }
std::string_view valueView(ConStringT s) { return s ? s : ""; }

// 1 when some pair of values satisfies the comparison ("!=": when no pair is equal).
template <class Left, class Right>
int compareLists(std::span<Left> left, std::span<Right> right, IntT code, int noNumbers, int exactCase) {
    bool le = left.empty() || om_XPathTextIsEmpty(valueView(left[0]));
    bool re = right.empty() || om_XPathTextIsEmpty(valueView(right[0]));
    if (le || re) {
        switch (code) {
        case XT_EQ: return le && re;
        case XT_NE: return !(le && re);
        case XT_GT: return re && !le;
        case XT_GE: return re;
        case XT_LT: return le && !re;
        case XT_LE: return le;
        default: return 0;
        }
    }
    bool function = code >= XT_CONTAINS && code <= XT_STARTS_WITH_CI;
    for (const auto &lv : left) {
        std::string_view l = valueView(lv);
        for (const auto &mv : right) {
            std::string_view m = valueView(mv);
            if (!noNumbers && !function && om_XPathIsInteger(l) && om_XPathIsInteger(m)) {
                bool holds = om_XPathCompareInts(om_XPathIntegerValue(l), om_XPathIntegerValue(m), code);
                if (code == XT_NE) {
                    if (!holds) return 0;
                } else if (holds) {
                    return 1;
                }
                continue;
            }
            switch (code) {
            case XT_CONTAINS: if (l.find(m) != std::string_view::npos) return 1; break;
            case XT_CONTAINS_CI: if (containsCI(l, m)) return 1; break;
            case XT_STARTS_WITH: if (l.substr(0, m.size()) == m) return 1; break;
            case XT_STARTS_WITH_CI: if (startsWithCI(l, m)) return 1; break;
            default: {
                int c = exactCase ? F_StrCmp(valueText(lv), valueText(mv)) : F_StrICmp(valueText(lv), valueText(mv));
                switch (code) {
                case XT_EQ: if (c == 0) return 1; break;
                case XT_NE: if (c == 0) return 0; break;
                case XT_GT: if (c > 0) return 1; break;
                case XT_LT: if (c < 0) return 1; break;
                case XT_GE: if (c >= 0) return 1; break;
                case XT_LE: if (c <= 0) return 1; break;
                default: break;
                }
            }
            }
        }
    }
    return code == XT_NE;
}

}  // namespace

// Fills the record's left or right operand from its child that just finished.
void om_XPathCopyOperand(IntT record, IntT child) {
    XPathNodeRecord &r = om_XPathRec(record);
    const XPathNodeRecord &k = om_XPathRec(child);
    bool right = r.kind != XK_TERM && k.prevSibling;
    IntT &node = right ? r.rightNode : r.leftNode;
    IntT &attr = right ? r.rightAttr : r.leftAttr;
    IntT &fm = right ? r.rightFmProp : r.leftFmProp;
    std::string &text = right ? r.rightText : r.leftText;
    if (k.kind == XK_TERM) {
        node = k.leftNode;
        attr = k.leftAttr;
        text = k.leftText;
        fm = k.leftFmProp;
    } else if (k.kind == XK_NODE_HANDLERS) {
        node = IntT(k.groupNode);
        attr = k.groupAttr;
        fm = k.groupFmProp;
    } else {
        text = k.valueText;
        fm = -1;
    }
}

// The verdict of a predicate or function record after its child `child` finished.
IntT om_XPathEvaluatePredicate(F_ObjHandleT doc, IntT record, IntT child) {
    XPathNodeRecord &r = om_XPathRec(record);
    bool function = r.kind != XK_PREDICATE;
    // The operands: the children, or for a function the children of its TERMs.
    IntT leftOp = r.firstChild, rightOp = leftOp ? om_XPathRec(leftOp).nextSibling : 0;
    if (function) {
        leftOp = leftOp ? om_XPathRec(leftOp).firstChild : 0;
        rightOp = rightOp ? om_XPathRec(rightOp).firstChild : 0;
    }
    auto isPath = [](IntT op) { return op && om_XPathRec(op).kind == XK_NODE_HANDLERS; };
    if (!om_XPathRec(r.firstChild).nextSibling) return r.leftNode != XR_SPENT ? XV_TRUE : XV_FALSE;
    if (!om_XPathRec(child).prevSibling) {
        if (isPath(leftOp) && r.leftNode == XR_SPENT) return XV_FALSE;
        return XV_RESTART_RIGHT;
    }
    if (isPath(rightOp) && r.rightNode == XR_SPENT) return r.leftNode > XR_HIGHEST_VALUE_NODE ? XV_MOVE_LEFT : XV_FALSE;
    operandValues(doc, r.leftNode, r.leftAttr, r.leftFmProp, r.leftText, leftValues);
    operandValues(doc, r.rightNode, r.rightAttr, r.rightFmProp, r.rightText, rightValues);
    IntT code = functionCode(r.kind);
    if (!code) code = r.op ? IntT(r.op) : IntT(XT_EQ);
    if (om_XPathCompareValueLists(leftValues, rightValues, code, 0, 1)) return XV_TRUE;
    if (isPath(rightOp)) return XV_MOVE_RIGHT;
    if (isPath(leftOp)) return XV_MOVE_LEFT;
    return XV_FALSE;
}

namespace {

// The literal record of a function of the node itself and a literal ("contains(., 'x')"), or 0
// when the record is no such function.
IntT functionOnSelfLiteral(IntT record) {
    const XPathNodeRecord &r = om_XPathRec(record);
    if (!functionCode(r.kind)) return 0;
    auto onlyChild = [](IntT i) {
        const XPathNodeRecord &x = om_XPathRec(i);
        return x.firstChild && x.firstChild == x.lastChild ? x.firstChild : 0;
    };
    IntT leftTerm = r.firstChild, rightTerm = leftTerm ? om_XPathRec(leftTerm).nextSibling : 0;
    if (!rightTerm || rightTerm != r.lastChild || om_XPathRec(leftTerm).kind != XK_TERM ||
        om_XPathRec(rightTerm).kind != XK_TERM)
        return 0;
    IntT path = onlyChild(leftTerm), literal = onlyChild(rightTerm);
    IntT step = path ? onlyChild(path) : 0;
    if (!step || !literal || om_XPathRec(path).kind != XK_NODE_HANDLERS || om_XPathRec(path).groupFmProp >= 0)
        return 0;
    const XPathNodeRecord &st = om_XPathRec(step), &lit = om_XPathRec(literal);
    if (st.kind != XK_NODE_HANDLER || st.axis != XA_SELF || st.nodeTest != "node()" || st.firstChild ||
        (lit.kind != XK_LITERAL_STRING && lit.kind != XK_LITERAL_INTEGER))
        return 0;
    return literal;
}

// The verdict of a function of the node's own value and a literal: the self step (node()) finds
// only a node, whose value (an attribute's with an attribute cursor, else its text) goes to the
// function.
IntT functionOnSelfVerdict(F_ObjHandleT doc, IntT code, const std::string &argument, F_ObjHandleT node, IntT attr) {
    if (node <= 499) return XV_FALSE;  // the self step finds nothing
    operandValues(doc, IntT(node), attr, -1, std::string(), leftValues);
    return compareLists(std::span<const std::string>(leftValues), std::span<const std::string>(&argument, 1), code, 0, 1)
               ? XV_TRUE
               : XV_FALSE;
}

}  // namespace

// The verdict of a function on the node itself and a literal ("contains(., 'x')"), taken at once
// from the node's value: what its records would give after walking the self step and the
// literal. 0 when the record is not such a function.
IntT om_XPathEvaluateFunctionOnSelf(F_ObjHandleT doc, IntT record, F_ObjHandleT node, IntT attr) {
    IntT literal = functionOnSelfLiteral(record);
    if (!literal || !doc) return 0;
    return functionOnSelfVerdict(doc, functionCode(om_XPathRec(record).kind), om_XPathRec(literal).valueText, node, attr);
}

namespace {

// 1 when the record is a predicate comparing a path of one attribute step (without predicates of
// its own) with a literal, on either side: "@type='note'", "3 < @level".
bool isAttributeComparison(IntT record) {
    const XPathNodeRecord &r = om_XPathRec(record);
    if (r.kind != XK_PREDICATE || (r.op && (r.op < UIntT(XT_EQ) || r.op > UIntT(XT_LE))) || !r.firstChild) return false;
    IntT left = r.firstChild, right = om_XPathRec(left).nextSibling;
    if (!right || right != r.lastChild) return false;
    auto isLiteral = [](IntT i) {
        UIntT k = om_XPathRec(i).kind;
        return k == XK_LITERAL_STRING || k == XK_LITERAL_INTEGER;
    };
    auto isAttributePath = [](IntT i) {
        const XPathNodeRecord &path = om_XPathRec(i);
        if (path.kind != XK_NODE_HANDLERS || path.groupFmProp >= 0 || !path.firstChild ||
            path.firstChild != path.lastChild)
            return false;
        const XPathNodeRecord &step = om_XPathRec(path.firstChild);
        return step.kind == XK_NODE_HANDLER && step.axis == XA_ATTRIBUTE && !step.firstChild;
    };
    return (isAttributePath(left) && isLiteral(right)) || (isLiteral(left) && isAttributePath(right));
}

}  // namespace

bool om_XPathPrepareQuickPredicate(IntT record, XPathQuickPredicate &out) {
    out.form = XPathQuickPredicate::None;
    const XPathNodeRecord &r = om_XPathRec(record);
    if (r.kind != XK_PREDICATE || !r.firstChild) return false;
    out.code = r.op ? IntT(r.op) : IntT(XT_EQ);
    const XPathNodeRecord &left = om_XPathRec(r.firstChild);
    if (isAttributeComparison(record)) {
        out.form = XPathQuickPredicate::AttributeComparison;
        out.attributeLeft = left.kind == XK_NODE_HANDLERS;
        const XPathNodeRecord &path = out.attributeLeft ? left : om_XPathRec(r.lastChild);
        out.name = om_XPathRec(path.firstChild).nodeTest;
        out.any = out.name == "*" || out.name == "node()";
        out.literal = (out.attributeLeft ? om_XPathRec(r.lastChild) : left).valueText;
        return true;
    }
    // A function of the node itself compared with a literal: the function's value is "true" or
    // "false", so the comparison's two outcomes are known before any node.
    IntT right = left.nextSibling;
    if (!right || right != r.lastChild || (r.op && (r.op < UIntT(XT_EQ) || r.op > UIntT(XT_LE)))) return false;
    const XPathNodeRecord &literal = om_XPathRec(right);
    IntT argument = functionOnSelfLiteral(r.firstChild);
    if (!argument || (literal.kind != XK_LITERAL_STRING && literal.kind != XK_LITERAL_INTEGER)) return false;
    out.form = XPathQuickPredicate::FunctionOfSelf;
    out.function = r.firstChild;
    out.functionCode = functionCode(left.kind);
    out.argument = om_XPathRec(argument).valueText;
    out.literal = literal.valueText;
    std::span<const std::string> lit(&out.literal, 1);
    for (int holds = 0; holds < 2; ++holds) {
        const std::string value = holds ? "true" : "false";
        out.verdictIf[holds] =
            compareLists(std::span<const std::string>(&value, 1), lit, out.code, 0, 1) ? XV_TRUE : XV_FALSE;
    }
    return true;
}

namespace {

// One judgement of an attribute comparison: the element, and its attributes read in one pass, each
// of the name in turn (as the attribute step finds them) until one compares true.
struct AttributeJudgement {
    const XPathQuickPredicate &c;
    F_ObjHandleT doc, node;
};

IntT judgeAttribute(const F_AttributeReadT *a, PtrT arg) {
    const AttributeJudgement &j = *static_cast<const AttributeJudgement *>(arg);
    const XPathQuickPredicate &c = j.c;
    if (!(c.any || (a->name && c.name == a->name))) return 0;
    std::span<const std::string> literal(&c.literal, 1);
    std::span<const ConStringT> values(a->values, a->values ? a->valueCount : 0);
    if (values.empty() && XPathEngineOptions.attributeValueMode && a->name && *a->name) {
        // Without values of its own the attribute reads as its definition's defaults.
        om_XPathAttrValues(j.doc, j.node, IntT(a->index), XPathEngineOptions.attributeValueMode, leftValues);
        return (c.attributeLeft ? compareLists(std::span<const std::string>(leftValues), literal, c.code, 0, 1)
                                : compareLists(literal, std::span<const std::string>(leftValues), c.code, 0, 1))
                   ? 1
                   : 0;
    }
    return (c.attributeLeft ? compareLists(values, literal, c.code, 0, 1) : compareLists(literal, values, c.code, 0, 1))
               ? 1
               : 0;
}

}  // namespace

IntT om_XPathJudgeQuickPredicate(F_ObjHandleT doc, const XPathQuickPredicate &p, F_ObjHandleT node, IntT attr,
                                 IntT *functionVerdict) {
    if (!doc) return 0;
    switch (p.form) {
    case XPathQuickPredicate::AttributeComparison: {
        if (node <= 499 || attr >= 0) return 0;
        AttributeJudgement j{p, doc, node};
        return F_ApiReadAttributes(doc, node, judgeAttribute, &j) > 0 ? XV_TRUE : XV_FALSE;
    }
    case XPathQuickPredicate::FunctionOfSelf: {
        IntT v = functionOnSelfVerdict(doc, p.functionCode, p.argument, node, attr);
        if (functionVerdict) *functionVerdict = v;
        return p.verdictIf[v == XV_TRUE ? 1 : 0];
    }
    default:
        return 0;
    }
}

IntT om_XPathEvaluateQuickPredicate(F_ObjHandleT doc, IntT record, F_ObjHandleT node, IntT attr) {
    const XPathNodeRecord &r = om_XPathRec(record);
    if (!doc || r.kind != XK_PREDICATE) return 0;
    XPathQuickPredicate p;
    if (!om_XPathPrepareQuickPredicate(record, p)) return 0;
    IntT functionVerdict = 0;
    IntT verdict = om_XPathJudgeQuickPredicate(doc, p, node, attr, &functionVerdict);
    if (verdict && functionVerdict) {
        // The function's record as its own visit leaves it.
        om_XPathResetNode(p.function, 0);
        om_XPathRec(p.function).valueText = functionVerdict == XV_TRUE ? "true" : "false";
    }
    return verdict;
}

// not(): true when its operand path found nothing, or its value is "false" or empty.
IntT om_XPathEvaluateNot(IntT record) {
    const XPathNodeRecord &r = om_XPathRec(record);
    if (r.leftNode == XR_SPENT) return XV_TRUE;
    if (r.leftNode <= XR_HIGHEST_VALUE_NODE && (r.leftText == "false" || om_XPathTextIsEmpty(r.leftText))) return XV_TRUE;
    return XV_FALSE;
}

int om_XPathCompareInts(long long a, long long b, IntT op) {
    switch (op) {
    case XT_EQ: return a == b;
    case XT_NE: return a != b;
    case XT_GT: return a > b;
    case XT_LT: return a < b;
    case XT_GE: return a >= b;
    case XT_LE: return a <= b;
    default: return 0;
    }
}

// 1 when some pair of values satisfies the comparison ("!=": when no pair is equal).
int om_XPathCompareValueLists(const std::vector<std::string> &left, const std::vector<std::string> &right,
                              IntT code, int noNumbers, int exactCase) {
    return compareLists(std::span<const std::string>(left), std::span<const std::string>(right), code, noNumbers,
                        exactCase);
}

// The element when its kind suits the FM property named by the test, else 103.
F_ObjHandleT om_XPathTestFmProperty(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &test, IntT step) {
    om_XPathRec(step).firstEval = 0;
    IntT code = om_XPathFmPropertyCode(test);
    IntT kind = elem ? F_ApiGetInt(doc, elem, FP_ElementType) : 0;
    bool suits;
    switch (code) {
    case FmProp::ImportObFile: suits = kind == FV_FO_GRAPHIC; break;
    case FmProp::TblTag: suits = kind >= FV_FO_TBL && kind <= FV_FO_TBL_CELL; break;
    case FmProp::XRefName: case FmProp::XRefSrcText: case FmProp::XRefSrcFile: suits = kind == FV_FO_XREF; break;
    case FmProp::MTypeName: case FmProp::MText: suits = kind == FV_FO_MARKER; break;
    default: suits = true; break;
    }
    return elem && suits ? elem : F_ObjHandleT(XR_SPENT);
}

// The values of an FM property of an element (see the property table).
void om_XPathFmPropertyValue(F_ObjHandleT doc, F_ObjHandleT elem, IntT, IntT code, std::vector<std::string> &out) {
    out.clear();
    auto str = [&](F_ObjHandleT obj, IntT prop) {
        StringT s = obj ? F_ApiGetString(doc, obj, prop) : nullptr;
        std::string v = s ? s : "";
        F_ApiDeallocateString(&s);
        return v;
    };
    F_ObjHandleT object = F_ApiGetId(doc, elem, FP_Object);
    // Where the element's text begins: the start of its text range, or a cell's first paragraph.
    auto beginPgf = [&]() -> F_ObjHandleT {
        if (F_ApiGetInt(doc, elem, FP_ElementType) == FV_FO_TBL_CELL) return F_ApiGetId(doc, object, FP_FirstPgf);
        F_TextRangeT tr = F_ApiGetTextRange(doc, elem, FP_TextRange);
        return tr.beg.objId;
    };
    switch (code) {
    case FmProp::PgfTag:
        out.push_back(str(beginPgf(), FP_PgfFmtName));
        break;
    case FmProp::TblTag: {
        F_ObjHandleT e = elem;
        for (int i = 0; e && i < 10000; ++i, e = F_ApiGetId(doc, e, FP_ParentElement))
            if (F_ApiGetInt(doc, e, FP_ElementType) == FV_FO_TBL) break;
        F_ObjHandleT tbl = e ? F_ApiGetId(doc, e, FP_Object) : 0;
        out.push_back(str(tbl, FP_TblTag));
        break;
    }
    case FmProp::FChangeBar: {
        F_TextRangeT tr = F_ApiGetTextRange(doc, elem, FP_TextRange);
        if (!tr.beg.objId || !F_ApiGetTextPropVal) {
            out.push_back("false");
            break;
        }
        F_PropValT pv = F_ApiGetTextPropVal(doc, &tr.beg, FP_ChangeBar);
        out.push_back(pv.propVal.ival == 1 ? "true" : "false");
        break;
    }
    case FmProp::XRefName: out.push_back(str(F_ApiGetId(doc, object, FP_XRefFmt), FP_Name)); break;
    case FmProp::XRefSrcText: {
        std::string s = str(object, FP_XRefSrcText);
        size_t colon = s.find(':');
        out.push_back(colon == std::string::npos ? s : s.substr(0, colon));
        break;
    }
    case FmProp::XRefSrcFile: out.push_back(str(object, FP_XRefFile)); break;
    case FmProp::MTypeName: out.push_back(str(F_ApiGetId(doc, object, FP_MarkerTypeId), FP_Name)); break;
    case FmProp::MText: out.push_back(str(object, FP_MarkerText)); break;
    case FmProp::ImportObFile: {
        // Every path as stored, drawn graphics as "", then the same list with forward slashes.
        F_StringsT files = om_FrameGraphicFiles(doc, 0, elem, 0, 1, 2);
        out = qv::ReadStrings(&files);
        F_ApiDeallocateStrings(&files);
        break;
    }
    case FmProp::PageNumInt:
        for (UIntT n : om_ElementPageNumbers(doc, elem)) out.push_back(std::to_string(n));
        break;
    case FmProp::PageNumStr: out = om_ElementPageNumStrings(doc, elem); break;
    default:
        out.push_back("");  // codes the engine cannot read give one empty value
        break;
    }
}

// The values of one match as the transformation reads them.
IntT om_XPathMatchValues(F_ObjHandleT doc, F_ObjHandleT elem, std::vector<std::string> &out, IntT attrIndex,
                         IntT maxChars) {
    if (!doc) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (!elem) {
        StatusCode = StatusNoObject;
        return 0;
    }
    out.clear();
    if (attrIndex < 0) {
        out.push_back(om_XPathElementText(doc, elem, 0, maxChars));
        return 0;
    }
    om_XPathAttrValues(doc, elem, attrIndex, 0, out);
    if (out.empty()) out.push_back("");
    return 0;
}
