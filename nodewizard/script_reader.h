// A Node Wizard Script read into records: the script's element tree as the interpreter walks it,
// its events with their expressions, match options and sort options, their action groups, the
// actions and operations of each group and the values they take, each with its element for the
// error report's links. A run reads its script once, after validation has renamed legacy groups,
// and runs from the records: nothing of the script is read from the scripts document again while
// it runs (the content a paste action copies to the clipboard is copied from the document).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "nodewizard/script_other_actions.h"
#include "nodewizard/script_values.h"

// An action of an ElementActions group.
struct NWSElemAction {
    F_ObjHandleT elem = 0;
    NWElementAction code = NWElem::None;  // the element action; None for a tag that names none
    // Retag, Wrap..., Insert...: the new tag, wrapper or element; CopyTextToParameter: the
    // parameter's name (its own text); SetText: the text to set.
    NWSOperand operand;
    std::vector<std::string> conditions;  // AssignConditions: its children's non-empty first paragraphs
    // Worked out once when the script is read, as they are the same on every match:
    bool readsNoDocument = false;  // reading its operand does nothing to any document (static or
                                   // no value, and no paste that copies to the clipboard)
    bool keepsMatchedNode = false;  // leaves the matched node in the tree (a retag or a copy)
};

// A name (Attribute, SearchString) or a value (Value, ReplaceString) of an attribute action.
struct NWSAttrOperand {
    bool isValue = false;
    bool xpathMatch = false;  // a name whose first child is xpath-match: the matched attribute
    NWSOperand operand;
};

// An action of an AttributeActions group.
struct NWSAttrAction {
    F_ObjHandleT elem = 0;
    NWAttrAction code = NWAttr::None;      // the attribute action; None for a tag that names none
    std::vector<NWSAttrOperand> operands;  // in document order
    bool pastesOwnContent = false;         // the pastes into the matched attribute, with a child other
                                           // than Attribute
    // CopyFirstValueToParameter: the parameter's name (its own text); SetValue: the value to set.
    NWSOperand own;
    int sortDirection = 1, sortKind = 10;  // SortValues: the options (om_NWAttrReadSortOptions)
};

// What a child of an event is to the interpreter.
enum class NWSGroupKind { None, Element, Attribute, Other, String, Numeric };

// A child of an event: an action group with its actions, or (kind None) any other child.
struct NWSGroup {
    F_ObjHandleT elem = 0;
    NWSGroupKind kind = NWSGroupKind::None;
    bool disabled = false;  // Disable "Yes", ignoring case: the group does not run
    std::vector<NWSElemAction> elemActions;
    std::vector<NWSAttrAction> attrActions;
    std::vector<NWSOtherAction> otherActions;
    std::vector<NWSOperationRecord> operations;
};

// An event's SortOptions (the first in its subtree).
struct NWSSortOptions {
    bool present = false;
    bool descending = false, alpha = false, alphaCI = false, numeric = false, swap = false;
    bool haveXPath = false;
    std::string xpath;  // the first Primary_sort_xpath
};

// A NWScriptEvent or SubEvent that is not disabled.
struct NWSEvent {
    F_ObjHandleT elem = 0;
    bool subEvent = false;
    bool subEventLast = false;  // its last child is a SubEvent: the walk enters it after each match
    // The first XPathExpression of its subtree: its first paragraph and its match options.
    F_ObjHandleT expressionElem = 0;
    std::string expression;
    IntT maxMatches = 0;
    IntT skipFirstMatches = 0;
    bool skipGiven = false;  // SkipFirstMatches is there
    IntT allFlows = 0;       // the FlowsToProcess siblings of the expression: All 1, Main 0
    NWSSortOptions sort;
    std::vector<NWSGroup> children;  // every child, in order
};

// One element of the script's subtree as the walk visits it.
struct NWSNode {
    F_ObjHandleT elem = 0;
    std::string tag;
    bool disabled = false;         // Disable "Yes", ignoring case (runs)
    bool disabledExactly = false;  // Disable exactly "Yes" (validation)
    long event = -1;               // its record in NWSScript::events, for events not disabled
    // The first paragraph of the elements whose text a run or a check reads: XPathExpression,
    // Primary_sort_xpath and XPath_search (MAX_XPATH_LENGTH characters), Call_NW_script (254).
    std::string text;
    bool textEmpty = true;         // XPathExpression: its whole text is empty
    bool isEvent = false, isSubEvent = false;
    // Neighbours by index in NWSScript::nodes; -1: none (a parent of -1 is the script element).
    long parent = -1, firstChild = -1, nextSibling = -1;
    long end = 0;  // one past the last node of its subtree
};

// The script's GeneralSettings (NWScriptSettings/GeneralSettings/<flag>/Yes turns a flag on).
struct NWSSettings {
    IntT reportElemErrors = 0, reportAttrErrors = 0, reportOtherErrors = 0;
    IntT openFiles = 0;           // AllowScriptToOpenFiles
    IntT parametersInXPath = 0;   // EnableParametersInXPath
    IntT classicBookMode = 0;     // BookNavigationMode/Classic
    IntT tokenizedValues = 0;     // AssumeTokenizedAttrVals
    bool declaresParameters = false;  // EnableParametersInXPath holds Yes or No
    // The PresetParameter names and values (1000 characters each), in order.
    std::vector<std::string> presetNames, presetValues;
};

// A script as read.
struct NWSScript {
    F_ObjHandleT doc = 0;   // the scripts document
    F_ObjHandleT elem = 0;  // the NodeWizardScript element
    std::string name;
    NWSNode self;           // the script element's own tag and Disable flags (no neighbours)
    NWSSettings settings;
    std::vector<NWSNode> nodes;  // the script's subtree in document order, the script element left out
    std::vector<NWSEvent> events;
};

// Reads the script (0 gives a script of no elements).
NWSScript om_NWSReadScript(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &name);
// The first node of the node's subtree (the node itself left out; -1: the script's whole
// subtree) whose tag is the tag ignoring case; -1 when none.
long om_NWSFindNodeBelow(const NWSScript &script, long node, const char *tag);
// The first child of the node (-1: the script element) whose tag is the tag ignoring case; -1
// when none.
long om_NWSFindNodeChild(const NWSScript &script, long node, const char *tag);
// The eventNumber-th NWScriptEvent child of the script (1-based, inactive ones counted); -1 when
// none.
long om_NWSFindEventNode(const NWSScript &script, IntT eventNumber);
// Records that elements of the script were renamed to the tag (validation's legacy group names).
void om_NWSRenameNodes(NWSScript &script, const std::vector<F_ObjHandleT> &elems, const std::string &tag);
