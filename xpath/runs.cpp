// Entry points that compile and run an expression: all matches over a document, a book or every
// flow, the first and next match, the values of the matches, and the axis of an expression.
#include <algorithm>

#include "xpath/host_reads.h"
#include "xpath/xpath.h"

namespace {

const char *const kSupportAddress = "support@orlemeadow.example";

void tooBroad(IntT sequence) {
    std::string expr = om_XPathRec(sequence).sourceText;
    std::string msg = "The following XPath expression is too broad and has exceeded the maximum number of matches "
                      "allowed in your preferences (" +
                      std::to_string(XPathLimits.maxMatches) + "): \n\n" + expr +
                      "\n\nTry to make the expression more specific so that it matches a smaller node set.\n\nIf "
                      "you feel you have received this message in error, please contact Orle Meadow at " +
                      kSupportAddress + ". Error function: xpath_MatchAll()";
    om_XPathShowEngineMessage(msg);
}

}  // namespace

// 1 when the list holds the match.
int om_XPathMatchSeen(const Match &match, const std::vector<Match> &matches) {
    return std::find(matches.begin(), matches.end(), match) != matches.end() ? 1 : 0;
}

std::vector<F_ObjHandleT> om_XPathMatchElements(const std::vector<Match> &matches) {
    std::vector<F_ObjHandleT> elems;
    elems.reserve(matches.size());
    for (const Match &m : matches) elems.push_back(m.elem);
    return elems;
}

// Collects the matches of a compiled expression (see xpath.h); result 1.
IntT xpath_MatchAll(F_ObjHandleT doc, F_ObjHandleT start, IntT contextAttr, IntT sequence, F_ObjHandleT scope,
                    IntT maxWanted, std::vector<Match> &out) {
    out.clear();
    if (!om_XPathIsCompiledSequence(sequence)) return 1;
    // The matches go straight into the caller's list (which keeps what room it has), with an
    // index beside it that recognises a repeated match.
    XPathMatchSet seen;
    UIntT axis = om_XPathFirstStepAxis(sequence);
    bool needsDoc = axis != XA_FMFILE;
    bool needsStart = !(axis == XA_ROOT || axis == XA_FMBOOK || axis == XA_FMFILE || (axis >= XA_FLOW_ANY && axis <= XA_FLOW_REF));
    std::vector<F_ObjHandleT> passes;
    if (!((!doc && needsDoc) || (!start && needsStart))) {
        if (start || (axis >= XA_FMBOOK && axis <= XA_FLOW_REF)) {
            passes.push_back(0);
        } else if (scope == XPATH_SCOPE_EVERY_FLOW) {
            for (F_ObjHandleT f = F_ApiGetId(0, doc, FP_FirstFlowInDoc); f; f = F_ApiGetId(doc, f, FP_NextFlowInDoc))
                passes.push_back(f);
        } else if (scope == XPATH_SCOPE_MAIN_FLOW) {
            passes.push_back(F_ApiGetId(0, doc, FP_MainFlowInDoc));
        } else {
            passes.push_back(scope);
        }
    }
    bool stop = false;
    for (F_ObjHandleT flow : passes) {
        if (stop) break;
        bool runs = start || !needsStart || (flow && F_ApiGetId(doc, flow, FP_HighestLevelElement));
        if (!runs) continue;
        om_XPathResetSequence(sequence, 0);
        om_XPathRec(sequence).attrIndex = contextAttr;
        // One pass never repeats a match (the run's history sees to that); the index beside the
        // lists is for matches that several passes share.
        bool checkRepeats = passes.size() > 1;
        if (maxWanted > 0 && IntT(out.size()) >= maxWanted) continue;
        bool ran = om_XPathRunMatches(doc, sequence, start, flow, [&](F_ObjHandleT m, IntT attr, F_ObjHandleT mdoc) {
            if (!checkRepeats || seen.insert({m, attr, mdoc})) out.push_back({mdoc, m, attr});
            if (IntT(out.size()) >= XPathLimits.maxMatches) {
                tooBroad(sequence);
                stop = true;
                return false;
            }
            return maxWanted <= 0 || IntT(out.size()) < maxWanted;
        });
        if (!ran) stop = true;  // the user stopped it (CancelFlag)
    }
    return 1;
}

std::vector<F_ObjHandleT> om_XPathListMatches(F_ObjHandleT doc, F_ObjHandleT start, std::string_view text,
                                              IntT maxWanted, std::vector<F_ObjHandleT> *outDocs, int report) {
    IntT s = om_XPathCompile(text, report);
    if (s < 1 || s > XPathLastSequenceNumber) return {};
    om_XPathResetSequence(s, 1);
    std::vector<Match> matches;
    xpath_MatchAll(doc, start, -1, s, XPATH_SCOPE_MAIN_FLOW, maxWanted, matches);
    if (outDocs) {
        outDocs->clear();
        for (const Match &m : matches) outDocs->push_back(m.doc);
    }
    return om_XPathMatchElements(matches);
}

F_ObjHandleT om_XPathFindFirstMatch(F_ObjHandleT doc, F_ObjHandleT start, std::string_view text,
                                    F_ObjHandleT *outDoc, IntT *outAttr, int report) {
    IntT s = om_XPathCompile(text, report);
    if (s < 1 || s > XPathLastSequenceNumber) return 0;
    om_XPathResetSequence(s, 1);
    F_ObjHandleT mdoc = 0;
    F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, start, 0, &mdoc, nullptr);
    if (m) {
        if (outDoc) *outDoc = mdoc;
        if (outAttr) *outAttr = om_XPathRec(s).groupAttr;
    }
    return m;
}

F_ObjHandleT om_XPathFindNextMatch(F_ObjHandleT doc, F_ObjHandleT start, IntT sequence, F_ObjHandleT flow) {
    return om_FindNextNodeWithXpath(doc, sequence, start, flow, nullptr, nullptr);
}

std::vector<std::string> om_XPathGetMatchValues(F_ObjHandleT doc, F_ObjHandleT start, F_ObjHandleT flow,
                                                std::string_view text, int report) {
    std::vector<std::string> values;
    IntT s = om_XPathCompile(text, report);
    if (s < 1 || s > XPathLastSequenceNumber) return values;
    if (!start) {
        F_ObjHandleT f = flow ? flow : 0;
        if (!f)
            for (F_ObjHandleT g = F_ApiGetId(0, doc, FP_FirstFlowInDoc); g; g = F_ApiGetId(doc, g, FP_NextFlowInDoc)) {
                StringT name = F_ApiGetString(doc, g, FP_Name);
                bool main = name && std::string(name) == "Main";
                F_ApiDeallocateString(&name);
                if (main) { f = g; break; }
            }
        start = f ? F_ApiGetId(doc, f, FP_HighestLevelElement) : 0;
    }
    std::vector<Match> matches;
    om_XPathResetSequence(s, 1);
    xpath_MatchAll(doc, start, -1, s, XPATH_SCOPE_MAIN_FLOW, 0, matches);
    for (const Match &m : matches) {
        if (m.attr < 0) {
            values.push_back(om_XPathElementText(doc, m.elem, 1, 1000));
        } else {
            std::vector<std::string> v = om_XPathAttrValues(doc, m.elem, m.attr, 0);
            values.push_back(v.empty() ? std::string() : v[0]);
        }
    }
    return values;
}

UIntT om_XPathAxisOfExpression(std::string_view text, IntT sequence, int report) {
    if (!text.empty()) sequence = om_XPathCompile(text, report);
    if (sequence < 1 || sequence > 50098 || !om_XPathValidIndex(sequence)) return 0;
    IntT last = om_XPathLastStep(sequence);
    return last ? om_XPathRec(last).axis : 0;
}
