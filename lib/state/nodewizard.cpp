// The Node Wizard's global records and their defaults.
#include "lib/state/nodewizard.h"
#include "lib/run_state.h"

NodeWizardQueryT NodeWizardQuery;
NodeWizardOptionsT NodeWizardOptions;
NodeWizardRunT NodeWizardRun;
NodeWizardPromptsT NodeWizardPrompts;

NWAttrAction AttrActionCode = NWAttr::None;
std::vector<std::string> ActionAttrNames;
std::vector<std::string> ActionAttrValues;
std::vector<std::string> ActionConditions;
std::string WrapElementName = NW_DEFAULT_TAG;
IntT TokenizedAttrValues = 0;
MatchListT MatchList;
F_ObjHandleT MatchContext = 0;
UIntT AttemptedActions = 0;

std::vector<std::string> ClipboardValues;
IntT ClipboardEmpty = 0;
IntT ClipboardReload = 0;
std::vector<std::string> XPathHistory;

F_ObjHandleT ErrorReportDoc = 0;

void om_NWSetDefaults() {
    NodeWizardQuery = NodeWizardQueryT{};
    NodeWizardOptions = NodeWizardOptionsT{};
    NodeWizardRun = NodeWizardRunT{};
    NodeWizardPrompts = NodeWizardPromptsT{};
    AttrActionCode = NWAttr::None;
    ActionAttrNames.clear();
    ActionAttrValues.clear();
    ActionConditions.clear();
    WrapElementName = NW_DEFAULT_TAG;
    TokenizedAttrValues = 0;
    MatchList.clear();
    MatchContext = 0;
    AttemptedActions = 0;
    ClipboardValues.clear();
    ClipboardEmpty = 0;
    ClipboardReload = 0;
    XPathHistory.clear();
    ErrorReportDoc = 0;
}

namespace {
// Query, options, run, prompts, action settings, matches, clipboard values, history and report
// document of the Node Wizard.
[[maybe_unused]] const bool resetNodeWizardRunState =
    om_RunStateRegister("Node Wizard run state", RunStateKind::Run, [] {
        om_NWSetDefaults();
    });
}  // namespace
