// Expression parameters: the engine's store of named values that replace "$name" placeholders
// in compiled expressions before a run, and the substitution itself.
#include "xpath/xpath.h"

#include <strings.h>
#include "lib/run_state.h"

const char *const XPathUndefinedParameter = "BogusParameterBogusParameterBogusParameterBogusParameter";
XPathParametersT XPathParameters;

namespace {
// The parameters set by client calls and script runs.
[[maybe_unused]] const bool resetXPathParameters = om_RunStateRegister("XPath parameters", RunStateKind::Run, [] {
    XPathParameters = XPathParametersT{};
});
}  // namespace

namespace {
std::string_view bareName(std::string_view name) {
    if (!name.empty() && name[0] == '$') name.remove_prefix(1);
    return name;
}
// Index of a name in the store, -1 when absent.
long findParameter(std::string_view name) {
    for (size_t i = 0; i < XPathParameters.names.size(); ++i)
        if (XPathParameters.names[i] == name) return long(i);
    return -1;
}
}  // namespace

// Sets a parameter (the name with or without one leading "$").
void om_XPathSetParameter(std::string_view name, std::string_view value) {
    std::string_view n = bareName(name);
    long i = findParameter(n);
    if (i >= 0) {
        XPathParameters.values[size_t(i)].assign(value);
    } else {
        XPathParameters.names.emplace_back(n);
        XPathParameters.values.emplace_back(value);
    }
}

// The value of a parameter, or the undefined-parameter marker.
std::string om_XPathGetParameter(std::string_view name) {
    long i = findParameter(bareName(name));
    return i >= 0 ? XPathParameters.values[size_t(i)] : std::string(XPathUndefinedParameter);
}

void om_XPathClearParameters() {
    XPathParameters.names.clear();
    XPathParameters.values.clear();
}

// Substitutes the store's values into the sequence's placeholders; returns the placeholders
// that have no value, in tree order.
std::vector<std::string> om_XPathSubstituteParameters(IntT sequence) {
    std::vector<std::string> undefined;
    std::vector<IntT> nodes;
    if (!om_XPathListParameterNodes(sequence, &nodes)) return undefined;
    for (IntT i : nodes) {
        XPathNodeRecord &r = om_XPathRec(i);
        std::string v = om_XPathGetParameter(r.paramName);
        if (strcasecmp(v.c_str(), XPathUndefinedParameter) == 0) {
            undefined.push_back(r.paramName);
            continue;
        }
        if (r.kind == XK_NODE_HANDLER) r.nodeTest = std::move(v);
        else r.valueText = std::move(v);
    }
    return undefined;
}

// 1 when the sequence holds a placeholder record; the list receives their indexes in tree order.
int om_XPathListParameterNodes(IntT sequence, std::vector<IntT> *out) {
    if (out) out->clear();
    if (!XPathNodeTable.allocated || !om_XPathValidIndex(sequence) || om_XPathRec(sequence).kind != XK_SEQUENCE)
        return 0;
    int found = 0;
    int lastMove = WalkDown;
    for (IntT r = om_XPathRec(sequence).firstChild; r && r != sequence; r = om_XPathNextInWalk(r, lastMove)) {
        if (lastMove == WalkUp || om_XPathRec(r).paramName.empty()) continue;
        found = 1;
        if (out) out->push_back(r);
    }
    return found;
}
