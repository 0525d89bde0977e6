// The condition trigger settings: when conditions are applied automatically and how the
// condition warnings are asked. Read from the condition-management settings document; start-up
// sets Setting14 to 1 before anything is read.
#pragma once

#include "fdk.h"

struct CondTriggerSettingsT {
    IntT setting12 = 2;  // warn when a rule names a condition tag the document lacks (prompt: 1, 2 once, 3 never)
    IntT setting13 = 2;  // warn when a condition tag is created automatically (prompt)
    IntT setting14 = 0;  // apply after inserting and wrapping elements
    IntT setting15 = 0;  // after editing attributes
    IntT setting16 = 0;  // after opening documents
    IntT setting17 = 0;  // after importing element definitions
    IntT setting18 = 0;  // after updating books
    IntT setting19 = 0;  // show all conditional text before applying
    IntT setting20 = 0;  // after opening MIF, XML and SGML files
};

extern CondTriggerSettingsT CondTriggerSettings;
