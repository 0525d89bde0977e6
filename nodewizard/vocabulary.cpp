// The Node Wizard's action vocabulary: one table row per action with its code, the name the
// dialogs and the scripts document show and store, and its help message id.
#include <strings.h>

#include "fdk.h"
#include "lib/translation/lang.h"
#include "nodewizard/actions.h"

namespace {

struct ActionRow {
    IntT code;
    const char *name;
    const char *help;  // nullptr: NW_HELP_ERROR
};

const ActionRow kElementActions[] = {
    {1, "None", nullptr},
    {2, "Retag as", "NW_HELP_ELEM_ACT_RETAG"},
    {3, "Wrap element in", "NW_HELP_ELEM_ACT_WRAP"},
    {4, "Wrap contents in", "NW_HELP_ELEM_ACT_WRAP_CONTENTS"},
    {5, "Unwrap", "NW_HELP_ELEM_ACT_UNWRAP"},
    {6, "Promote", "NW_HELP_ELEM_ACT_PROMOTE"},
    {7, "Demote", "NW_HELP_ELEM_ACT_DEMOTE"},
    {8, "Delete element", "NW_HELP_ELEM_ACT_DELETE"},
    {9, "Delete contents", "NW_HELP_ELEM_ACT_DELETE_CONTENT"},
    {10, "Assign conditions", "NW_HELP_ELEM_ACT_ASSIGN_COND"},
    {11, "Paste CB over elem", "NW_HELP_ELEM_ACT_PASTE_OVER_ELEM"},
    {12, "Move up", "NW_HELP_ELEM_ACT_MOVE_UP"},
    {13, "Move down", "NW_HELP_ELEM_ACT_MOVE_DOWN"},
    {14, "Paste CB over contents", "NW_HELP_ELEM_ACT_PASTE_OVER_CONTS"},
    {15, "Paste CB at beginning", "NW_HELP_ELEM_ACT_PASTE_AT_BEGINNING"},
    {16, "Paste CB at end", "NW_HELP_ELEM_ACT_PASTE_AT_END"},
    {17, "Paste CB before", "NW_HELP_ELEM_ACT_PASTE_BEFORE"},
    {18, "Paste CB after", "NW_HELP_ELEM_ACT_PASTE_AFTER"},
    {19, "Insert elem before", "NW_HELP_ELEM_ACT_INSERT_ELEM_BEFORE"},
    {20, "Insert elem after", "NW_HELP_ELEM_ACT_INSERT_ELEM_AFTER"},
    {21, "Insert first child", "NW_HELP_ELEM_ACT_INSERT_FIRST_CHILD"},
    {22, "Insert last child", "NW_HELP_ELEM_ACT_INSERT_LAST_CHILD"},
    {23, "Copy elem contents to CB", nullptr},
    {24, "Copy elem text to parameter", nullptr},
    {25, "Copy elem to CB", nullptr},
    {26, "Set elem text", nullptr},
};

const ActionRow kAttrActions[] = {
    {1, "None", nullptr},
    {40, "Add specified values", "NW_HELP_ATTR_ACT_ADD"},
    {41, "Remove specified values", "NW_HELP_ATTR_ACT_REMOVE"},
    {42, "Replace values with spec", "NW_HELP_ATTR_ACT_REPLACE"},
    {43, "Delete all values", "NW_HELP_ATTR_ACT_DELETE"},
    {44, "Move value to elem text", "NW_HELP_ATTR_ACT_MOVE_VAL_TO_ELEM"},
    {45, "Copy value to elem text", "NW_HELP_ATTR_ACT_COPY_VAL_TO_ELEM"},
    {46, "Move elem text to value", "NW_HELP_ATTR_ACT_MOVE_ELEM_TO_VAL"},
    {47, "Copy elem text to value", "NW_HELP_ATTR_ACT_COPY_ELEM_TO_VAL"},
    {48, "Remove invalid attribute", "NW_HELP_ATTR_ACT_DELETE_INVALID_ATTR"},
    {49, "Move values to spec attr", "NW_HELP_ATTR_ACT_MOVE_VALS_TO_SPEC_ATTR"},
    {50, "Copy values to spec attr", "NW_HELP_ATTR_ACT_COPY_VALS_TO_SPEC_ATTR"},
    {51, "Move values from spec attr", "NW_HELP_ATTR_ACT_MOVE_VALS_FROM_SPEC_ATTR"},
    {52, "Copy values from spec attr", "NW_HELP_ATTR_ACT_COPY_VALS_FROM_SPEC_ATTR"},
    {53, "Swap values with spec attr", "NW_HELP_ATTR_ACT_SWAP_VALS_WITH_SPEC_ATTR"},
    {54, "Search and replace string", "NW_HELP_ATTR_ACT_SEARCH_REPLACE_STRING"},
    {55, "Copy first value to CB", nullptr},
    {56, "Copy first value to parameter", nullptr},
    {57, "Copy all values to CB", nullptr},
    {58, "Paste CB to matched attr", nullptr},
    {59, "Paste CB at beg of matched attr", nullptr},
    {60, "Paste CB at end of matched attr", nullptr},
    {61, "Set unique ID", "NW_HELP_ATTR_ACT_SET_UNIQUE_ID"},
    {62, "Set attr value", nullptr},
    {63, "Detokenize values", nullptr},
    {64, "Tokenize values", nullptr},
    {65, "Sort values", nullptr},
};

template <size_t N>
IntT CodeOf(const ActionRow (&rows)[N], const std::string &name) {
    if (name.empty()) return NW_ACTION_UNKNOWN;
    for (const ActionRow &r : rows)
        if (F_StrICmp(r.name, name.c_str()) == 0) return r.code;
    return NW_ACTION_UNKNOWN;
}

template <size_t N>
const ActionRow *RowOf(const ActionRow (&rows)[N], IntT code) {
    for (const ActionRow &r : rows)
        if (r.code == code) return &r;
    return nullptr;
}

}  // namespace

NWElementAction om_NWElemActionCode(const std::string &name) { return CodeOf(kElementActions, name); }

std::string om_NWElemActionName(NWElementAction code) {
    const ActionRow *r = (code >= 2 && code <= 22) ? RowOf(kElementActions, code) : nullptr;
    return r ? r->name : "None";
}

NWAttrAction om_NWAttrActionCode(const std::string &name) { return CodeOf(kAttrActions, name); }

std::string om_NWAttrActionName(NWAttrAction code) {
    const ActionRow *r = ((code >= 40 && code <= 54) || code == 61) ? RowOf(kAttrActions, code) : nullptr;
    return r ? r->name : "None";
}

void om_NWShowActionHelp(IntT code) {
    const ActionRow *r = RowOf(kElementActions, code);
    if (!r) r = RowOf(kAttrActions, code);
    std::string text = qv::LangMessage("NW_HELP_HEADER") + "\n\n" +
                       qv::LangMessage(r && r->help ? r->help : "NW_HELP_ERROR");
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
}
