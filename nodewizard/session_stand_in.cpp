// A stand-in for the Node Wizard dialog in qvhost sessions, until the dialog itself exists: the
// session sets the fields the dialog would hold and presses its buttons, which run exactly what
// the dialog's buttons run. qvhost calls the exported function with one command in words
// separated by line feeds; see README (Sessions) for the commands.
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/actions.h"
#include "nodewizard/query_runs.h"

namespace {

struct ButtonName {
    const char *name;
    IntT button;
};

const ButtonName kButtons[] = {
    {"Match First", NW_BTN_MATCH_FIRST},       {"Match Next", NW_BTN_MATCH_NEXT},
    {"Match All", NW_BTN_MATCH_ALL},           {"Perform", NW_BTN_PERFORM},
    {"Perform and Match Next", NW_BTN_PERFORM_AND_NEXT}, {"Perform On All", NW_BTN_PERFORM_ON_ALL},
};

std::string Joined(const std::vector<std::string> &words, size_t from) {
    std::string out;
    for (size_t i = from; i < words.size(); ++i) out += (i > from ? " " : "") + words[i];
    return out;
}

bool Flag(const std::vector<std::string> &w, IntT *out) {
    if (w.size() != 2 || (w[1] != "0" && w[1] != "1")) return false;
    *out = w[1] == "1";
    return true;
}

}  // namespace

// Answers the match found (press), 0 after setting a field or printing the counts on the host
// console (counts), or -1 for a command it does not know.
extern "C" IntT qv_NodeWizardSessionStep(ConStringT command) {
    std::vector<std::string> w;
    std::istringstream in{std::string(qv::View(command))};
    for (std::string word; std::getline(in, word, '\n');) w.push_back(word);
    if (w.empty()) return -1;
    const std::string &what = w[0];
    if (what == "expression") {
        NodeWizardQuery.expression = Joined(w, 1);
    } else if (what == "element-action") {
        NodeWizardQuery.elementAction = om_NWElemActionCode(Joined(w, 1));
        if (om_NWIsListBreaking(NodeWizardQuery.elementAction) && NodeWizardQuery.elementAction != 12 &&
            NodeWizardQuery.elementAction != 13)
            AttrActionCode = 1;
    } else if (what == "attribute-action") {
        AttrActionCode = om_NWAttrActionCode(Joined(w, 1));
    } else if (what == "name") {
        std::string name = Joined(w, 1);
        NodeWizardRun.retagName = WrapElementName = NodeWizardOptions.insertName = name.empty() ? EmptySentinel : name;
    } else if (what == "conditions") {
        ActionConditions.assign(w.begin() + 1, w.end());
    } else if (what == "attribute-names") {
        ActionAttrNames.assign(w.begin() + 1, w.end());
    } else if (what == "attribute-values") {
        ActionAttrValues.assign(w.begin() + 1, w.end());
    } else if (what == "all-flows") {
        return Flag(w, &NodeWizardOptions.allFlows) ? 0 : -1;
    } else if (what == "report-errors") {
        if (!Flag(w, &NodeWizardOptions.reportElemErrors)) return -1;
        NodeWizardOptions.reportAttrErrors = NodeWizardOptions.reportElemErrors;
    } else if (what == "max-errors") {
        if (w.size() != 2) return -1;
        NodeWizardOptions.maxErrors = std::atoi(w[1].c_str());
    } else if (what == "counts") {
        std::string line = "node wizard: element actions " + std::to_string(NodeWizardRun.elemSuccesses) +
                           " succeeded, " + std::to_string(NodeWizardQuery.elemFailures) + " failed; attribute actions " +
                           std::to_string(NodeWizardRun.attrSuccesses) + " succeeded, " +
                           std::to_string(NodeWizardQuery.attrFailures) + " failed; " + std::to_string(AttemptedActions) +
                           " attempted; " + std::to_string(MatchList.size()) + " in the match list";
        F_Printf(nullptr, "%s\n", line.c_str());
    } else if (what == "press") {
        std::string name = Joined(w, 1);
        for (const ButtonName &b : kButtons) {
            if (F_StrICmp(b.name, name.c_str()) != 0) continue;
            if (b.button == NW_BTN_MATCH_FIRST || b.button == NW_BTN_MATCH_ALL || b.button == NW_BTN_PERFORM_ON_ALL) {
                om_NWRunQuery(b.button);
                return MatchList.size() == 0 ? 0 : static_cast<IntT>(MatchList.elems[0]);
            }
            return static_cast<IntT>(om_NWMatchNextOrPerform(b.button));
        }
        return -1;
    } else {
        return -1;
    }
    return 0;
}
