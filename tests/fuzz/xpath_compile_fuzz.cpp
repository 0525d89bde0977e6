// Fuzz target: any text handed to the XPath compiler gives a sequence number or an error code,
// never a crash or a hang; a compiled expression can be listed, reset and run over a small
// document, where Match All gives what one match at a time gives; the same text as an
// inter-client call string is answered with a status.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/client_calls.h"
#include "tests/support/xml_tree.h"
#include "xpath/xpath.h"

namespace {

const char kDocument[] =
    "<doc a='1'><sec id='s1' n='2'><title>T</title><para k='x'>one <b>two</b> three</para><para/></sec>"
    "<sec id='s2'><para k='y'>four</para><list><item>5</item><item>6</item></list></sec></doc>";

// Matches taken from one run at most (the document has fewer nodes; a run must end anyway).
constexpr int kMatchLimit = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static F_ObjHandleT doc = 0;
    if (!doc) {
        om_XPathInitEngine(100000, 5000, 10000);
        doc = qvtest::BuildDocument(kDocument, "Z:\\fuzz\\doc.fm");
    }
    if (XPathNodeTable.nextFree > 200000) om_XPathResetNodeTable();
    std::string text(reinterpret_cast<const char *>(data), size);
    IntT s = om_XPathCompile(text, 0);
    if (s > 0 && s <= XPathLastSequenceNumber) {
        om_XPathCompiledListing(text, s);
        om_XPathResetSequence(s, 1);
        om_XPathSubstituteParameters(s);
        F_ObjHandleT start = F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement);
        for (F_ObjHandleT from : {F_ObjHandleT(0), start}) {
            // One match at a time, then Match All: the same matches in the same order.
            std::vector<F_ObjHandleT> oneByOne;
            om_XPathResetSequence(s, 1);
            for (int i = 0; i < kMatchLimit; ++i) {
                F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, from, 0, nullptr, nullptr);
                if (!m) break;
                oneByOne.push_back(m);
            }
            om_XPathResetSequence(s, 1);
            std::vector<Match> matches;
            xpath_MatchAll(doc, from, -1, s, 0, kMatchLimit, matches);
            if (om_XPathMatchElements(matches) != oneByOne) __builtin_trap();
        }
    }
    om_ClientHandleCall(text.c_str());
    return 0;
}
