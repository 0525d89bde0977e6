// The Node Wizard's state: the query and its actions, the options, the counters of the last
// batch, the match list, the clipboard values and the expression history. The dialogs copy their
// fields in before every run, the query runs and the per-node actions work only on these
// records, and the Node Wizard Scripts fill the same records before they call the same actions.
// Everything lives until the host quits; start-up sets the defaults (om_NWSetDefaults).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/strings/keyvalue.h"
#include "lib/state/match.h"
#include "lib/state/nodewizard_codes.h"

// The placeholders the records hold until a dialog or a script sets a real value.
inline constexpr const char *NW_DEFAULT_XPATH = "{xpath}";
inline constexpr const char *NW_DEFAULT_TAG = "{tag}";
// In an attribute-name list: the attribute the query matched, not an attribute of that name.
inline constexpr const char *NW_XPATH_MATCH = "{xpath-match}";

struct NodeWizardQueryT {
    std::string expression = NW_DEFAULT_XPATH;  // the XPath expression of the dialog or script
    NWElementAction elementAction = NWElem::None;  // current element action
    UIntT reportedErrors = 0;      // entries written to the error report in the current batch
    UIntT attrFailures = 0;        // attribute actions that returned a code
    UIntT elemFailures = 0;        // element actions that returned a code
    UIntT otherFailures = 0;       // failed other actions and operations of scripts
    UIntT componentsNotOpened = 0; // book components a script run failed to open
    IntT currentMatch = 0;         // index into MatchList of the match shown
};

struct NodeWizardOptionsT {
    std::string insertName = NW_DEFAULT_TAG;  // definition name of the insert actions 19-22
    IntT maxErrors = 25;         // NW_MAX_ERRORS_TO_REPORT (preference, 1-1000)
    IntT maxMatches = 0;         // a script's MaximumMatches
    IntT openFiles = 0;          // a script's AllowScriptToOpenFiles
    F_ObjHandleT queryDoc = 0;   // the document or book the last run searched
    IntT parseOnly = 0;          // compile and report only, no search
    IntT printComponents = 1;    // list the compiled expression when parsing only
    IntT allFlows = 0;           // search every flow, not only the main flow
    IntT parametersInXPath = 0;  // a script's EnableParametersInXPath
    IntT reportAttrErrors = 1;   // write attribute action failures to the report
    IntT reportElemErrors = 1;   // write element action failures to the report
    IntT reportOtherErrors = 0;  // a script's ReportOtherActionErrors
    IntT classicBookMode = 0;    // a script's BookNavigationMode Classic
    IntT focusAfterMatch = 1;    // NW_FOCUS_ON_DOC_AFTER_MATCH (preference)
    IntT fullFilePaths = 1;      // NW_DISPLAY_FULL_FILE_PATHS (preference)
    IntT loadFavoritesAtStart = 1;  // NW_LOAD_XPATH_FAVORITES_ON_STARTUP (preference)
};

struct NodeWizardRunT {
    std::string retagName = NW_DEFAULT_TAG;  // definition name of action 2
    IntT sequence = 0;            // the compiled expression of the last run; 0 after a compile error
    // The text compiled into sequence: a node-table reset invalidates the number, and a number
    // is used only while the table still holds this text under it (om_NWCompiledSequence).
    std::string compiledText;
    // The sequence last found to hold compiledText, and the node table's emptied count then: while
    // neither moves, the sequence still holds it and the text is not compared again.
    IntT checkedSequence = 0;
    unsigned long checkedEmptied = 0;
    IntT skipFirstMatches = 0;    // a script's SkipFirstMatches
    UIntT attrSuccesses = 0;      // attribute actions that returned 0
    UIntT elemSuccesses = 0;      // element actions that returned 0
    UIntT otherSuccesses = 0;     // successful other actions of scripts
    UIntT componentsProcessed = 0;  // book components a script run processed
};

// The matches the dialogs show, indexed by currentMatch.
struct MatchListT {
    std::vector<Match> matches;
    void clear() { matches.clear(); }
    size_t size() const { return matches.size(); }
    void append(F_ObjHandleT doc, F_ObjHandleT elem) { matches.push_back({doc, elem}); }
    const Match &operator[](size_t i) const { return matches[i]; }
};

// The prompt settings and flags of the Node Wizard that the preferences set.
struct NodeWizardPromptsT {
    IntT performAllWarning = kPromptAlways;  // PROMPT_NW_PERFORM_ALL_ACTIONS_WARNING
    IntT matchAllStats = kPromptAlways;      // PROMPT_NW_MATCH_ALL_STATS_MSG
    IntT overrideAllFlows = kPromptAlways;   // PROMPT_NW_OVERRIDE_ALL_FLOWS_SETTING_WARNING
    IntT copyEmptyString = 0;      // NW_ATTR_ACTIONS_COPY_EMPTY_STRING
    IntT refreshAttrEditor = 1;    // NW_REFRESH_OM_LATTIFORM_ATTR_EDITOR
};

extern NodeWizardQueryT NodeWizardQuery;
extern NodeWizardOptionsT NodeWizardOptions;
extern NodeWizardRunT NodeWizardRun;
extern NodeWizardPromptsT NodeWizardPrompts;

extern NWAttrAction AttrActionCode;                 // current attribute action
extern std::vector<std::string> ActionAttrNames;    // attribute names (action 54: search strings)
extern std::vector<std::string> ActionAttrValues;   // values (action 54: replace strings)
extern std::vector<std::string> ActionConditions;   // condition tag names of action 10
extern std::string WrapElementName;                 // definition name of the wrap actions 3 and 4
extern IntT TokenizedAttrValues;                    // values are blank-separated tokens
extern MatchListT MatchList;
extern F_ObjHandleT MatchContext;                   // the element Match Next continues from
extern UIntT AttemptedActions;                      // actions tried in the current batch

// The clipboard as the plug-in last saw it, and the expression history.
extern std::vector<std::string> ClipboardValues;
extern IntT ClipboardEmpty;   // 1: the last copy had nothing to copy; paste actions do nothing
extern IntT ClipboardReload;  // 1: the host clipboard may differ from ClipboardValues
extern std::vector<std::string> XPathHistory;  // most recent first

// The shared error report document (0 when there is none); refreshed at every entry.
extern F_ObjHandleT ErrorReportDoc;

// Sets every record above to its default (start-up; tests).
void om_NWSetDefaults();
