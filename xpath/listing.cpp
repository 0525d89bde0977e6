// The developer listing of a compiled expression: its record tree with kinds, axes, node tests,
// operators and literal values, printed on the host console.
#include "xpath/xpath.h"

namespace {

const char *const kKindLabels[] = {"",          "SEQUENCE",      "NODE HANDLERS", "NODE HANDLER",
                                   "PREDICATE", "contains()",    "contains-ci()", "starts-with()",
                                   "starts-with-ci()", "position()", "last()",    "not()",
                                   "TERM",      "LITERAL INTEGER", "LITERAL STRING"};

const char *const kAxisLabels[] = {"",
                                   "To root",           "To self",          "To child",
                                   "To descendant",     "To parent",        "To ancestor",
                                   "To ancestor-or-self", "To descendant-or-self", "To preceding",
                                   "To preceding-sibling", "To following",  "To following-sibling",
                                   "To attribute",      "To FM property",   "To FM book",
                                   "To FM book component", "To FM book chapter", "To FM file",
                                   "To any flow",       "To body page flow", "To master page flow",
                                   "To reference page flow"};

std::string repeat(const char *s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const char *operatorText(UIntT op) {
    switch (op) {
    case XT_NE: return "!=";
    case XT_GT: return ">";
    case XT_LT: return "<";
    case XT_GE: return ">=";
    case XT_LE: return "<=";
    default: return "=";
    }
}

}  // namespace

// The listing text of a compiled expression (see om_XPathDumpCompiled).
std::string om_XPathCompiledListing(std::string_view text, IntT sequence) {
    if (sequence < 0) sequence = om_XPathFindCompiled(text);
    std::string out = "\n\nParsed components for: " + std::string(text) + ",  Sequence number '" +
                      std::to_string(sequence) + "'\n\n";
    if (!XPathNodeTable.allocated || !om_XPathValidIndex(sequence + 1)) return out;
    int depth = 1;
    int lastMove = WalkDown;
    for (IntT r = sequence + 1; r && om_XPathRec(r).parent;) {
        const XPathNodeRecord &rec = om_XPathRec(r);
        if (lastMove != WalkUp) {
            std::string bars = repeat("|    ", depth);
            std::string typePrefix = repeat("|    ", depth - 1) + "|--- ";
            out += bars + "\n";
            if (rec.kind >= 1 && rec.kind <= 14)
                out += typePrefix + "Type: " + kKindLabels[rec.kind] + " (" + std::to_string(r) + ")\n";
            else
                out += typePrefix + "TYPE ERROR!\n";
            switch (rec.kind) {
            case XK_NODE_HANDLERS:
                if (rec.groupFmProp >= 0) out += typePrefix + "FM prop flag (" + std::to_string(rec.groupFmProp) + ")\n";
                break;
            case XK_NODE_HANDLER:
                if (rec.axis >= 1 && rec.axis <= 22) out += bars + "Axis: " + kAxisLabels[rec.axis] + "\n";
                else out += bars + "Axis: Unknown (" + std::to_string(rec.axis) + ")\n";
                out += bars + "Node test: " + rec.nodeTest + "\n";
                if (!rec.paramName.empty()) out += bars + "(*Parameter detected*)\n";
                if (rec.logic == XT_AND) out += bars + "Predicate logic:  AND\n";
                if (rec.logic == XT_OR) out += bars + "Predicate logic:  OR\n";
                break;
            case XK_PREDICATE:
                out += bars + "Test operator:  " + operatorText(rec.op) + "\n";
                break;
            case XK_LITERAL_INTEGER:
                out += bars + "Return value: " + rec.valueText + "\n";
                if (!rec.paramName.empty()) out += bars + "(*Parameter detected*)\n";
                break;
            case XK_LITERAL_STRING:
                if (om_XPathTextIsEmpty(rec.valueText)) out += bars + "Return value: {empty string}";
                else out += bars + "Return value: " + rec.valueText + "\n";
                if (!rec.paramName.empty()) out += bars + "(*Parameter detected*)\n";
                break;
            default:
                break;
            }
        }
        IntT next = om_XPathNextInWalk(r, lastMove);
        if (lastMove == WalkDown) ++depth;
        else if (lastMove == WalkUp) --depth;
        r = next;
    }
    return out;
}

// Prints the listing of a compiled expression on the host console; with a negative sequence
// number the sequence is looked up by its text.
void om_XPathDumpCompiled(std::string_view text, IntT sequence) {
    F_Printf(nullptr, "%s", om_XPathCompiledListing(text, sequence).c_str());
}
