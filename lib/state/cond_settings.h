// Condition management state: the trigger settings read from the condition settings document
// (when rules are applied automatically, how missing condition tags are reported) and the rule
// table (one record per rule of that document, in document order). The shell's notification
// routing reads the triggers; the condition commands and the Node Wizard read the rules.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/strings/keyvalue.h"

struct CondTriggerSettingsT {
    IntT warnMissingTag = kPromptOnce;    // Setting12: a rule names a tag the document lacks
    IntT warnCreatedTag = kPromptOnce;    // Setting13: a tag was created for a rule
    IntT afterInsertWrap = 0;             // Setting14: after inserting and wrapping elements
    IntT afterAttrEdit = 0;               // Setting15: after editing attributes
    IntT afterOpenDoc = 0;                // Setting16: after opening documents
    IntT afterOpenMarkup = 0;             // Setting20: after opening MIF, XML and SGML files
    IntT afterImportDefs = 0;             // Setting17: after importing element definitions
    IntT afterBookUpdate = 0;             // Setting18: after updating books
    IntT showAllFirst = 0;                // Setting19: show all conditional text before applying
};

extern CondTriggerSettingsT CondTriggerSettings;

// One rule of the settings document.
struct AutoApplyRule {
    std::string expression;               // "self::node()[" + the rule's Expression + "]"
    std::vector<std::string> conditions;  // the condition tag names, in order
    IntT clearExisting = 0;
    IntT active = 0;
    IntT createConditions = 0;
    IntT parentToo = 0;
    IntT compiled = -1;                   // sequence number of the compiled expression; -1: none
};

struct AutoApplyRulesT {
    std::vector<AutoApplyRule> rules;
    bool loaded = false;
};

extern AutoApplyRulesT AutoApplyRules;
