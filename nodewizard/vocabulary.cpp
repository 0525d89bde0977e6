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
    {NWElem::None, "None", nullptr},
    {NWElem::Retag, "Retag as", "NW_HELP_ELEM_ACT_RETAG"},
    {NWElem::Wrap, "Wrap element in", "NW_HELP_ELEM_ACT_WRAP"},
    {NWElem::WrapContents, "Wrap contents in", "NW_HELP_ELEM_ACT_WRAP_CONTENTS"},
    {NWElem::Unwrap, "Unwrap", "NW_HELP_ELEM_ACT_UNWRAP"},
    {NWElem::Promote, "Promote", "NW_HELP_ELEM_ACT_PROMOTE"},
    {NWElem::Demote, "Demote", "NW_HELP_ELEM_ACT_DEMOTE"},
    {NWElem::Delete, "Delete element", "NW_HELP_ELEM_ACT_DELETE"},
    {NWElem::DeleteContents, "Delete contents", "NW_HELP_ELEM_ACT_DELETE_CONTENT"},
    {NWElem::AssignConditions, "Assign conditions", "NW_HELP_ELEM_ACT_ASSIGN_COND"},
    {NWElem::PasteOver, "Paste CB over elem", "NW_HELP_ELEM_ACT_PASTE_OVER_ELEM"},
    {NWElem::MoveUp, "Move up", "NW_HELP_ELEM_ACT_MOVE_UP"},
    {NWElem::MoveDown, "Move down", "NW_HELP_ELEM_ACT_MOVE_DOWN"},
    {NWElem::PasteOverContents, "Paste CB over contents", "NW_HELP_ELEM_ACT_PASTE_OVER_CONTS"},
    {NWElem::PasteAtStart, "Paste CB at beginning", "NW_HELP_ELEM_ACT_PASTE_AT_BEGINNING"},
    {NWElem::PasteAtEnd, "Paste CB at end", "NW_HELP_ELEM_ACT_PASTE_AT_END"},
    {NWElem::PasteBefore, "Paste CB before", "NW_HELP_ELEM_ACT_PASTE_BEFORE"},
    {NWElem::PasteAfter, "Paste CB after", "NW_HELP_ELEM_ACT_PASTE_AFTER"},
    {NWElem::InsertBefore, "Insert elem before", "NW_HELP_ELEM_ACT_INSERT_ELEM_BEFORE"},
    {NWElem::InsertAfter, "Insert elem after", "NW_HELP_ELEM_ACT_INSERT_ELEM_AFTER"},
    {NWElem::InsertFirstChild, "Insert first child", "NW_HELP_ELEM_ACT_INSERT_FIRST_CHILD"},
    {NWElem::InsertLastChild, "Insert last child", "NW_HELP_ELEM_ACT_INSERT_LAST_CHILD"},
    {NWElem::CopyContents, "Copy elem contents to CB", nullptr},
    {NWElem::CopyTextToParameter, "Copy elem text to parameter", nullptr},
    {NWElem::Copy, "Copy elem to CB", nullptr},
    {NWElem::SetText, "Set elem text", nullptr},
};

const ActionRow kAttrActions[] = {
    {NWAttr::None, "None", nullptr},
    {NWAttr::AddValues, "Add specified values", "NW_HELP_ATTR_ACT_ADD"},
    {NWAttr::RemoveValues, "Remove specified values", "NW_HELP_ATTR_ACT_REMOVE"},
    {NWAttr::ReplaceValues, "Replace values with spec", "NW_HELP_ATTR_ACT_REPLACE"},
    {NWAttr::DeleteValues, "Delete all values", "NW_HELP_ATTR_ACT_DELETE"},
    {NWAttr::MoveValueToText, "Move value to elem text", "NW_HELP_ATTR_ACT_MOVE_VAL_TO_ELEM"},
    {NWAttr::CopyValueToText, "Copy value to elem text", "NW_HELP_ATTR_ACT_COPY_VAL_TO_ELEM"},
    {NWAttr::MoveTextToValue, "Move elem text to value", "NW_HELP_ATTR_ACT_MOVE_ELEM_TO_VAL"},
    {NWAttr::CopyTextToValue, "Copy elem text to value", "NW_HELP_ATTR_ACT_COPY_ELEM_TO_VAL"},
    {NWAttr::RemoveInvalid, "Remove invalid attribute", "NW_HELP_ATTR_ACT_DELETE_INVALID_ATTR"},
    {NWAttr::MoveValuesToNamed, "Move values to spec attr", "NW_HELP_ATTR_ACT_MOVE_VALS_TO_SPEC_ATTR"},
    {NWAttr::CopyValuesToNamed, "Copy values to spec attr", "NW_HELP_ATTR_ACT_COPY_VALS_TO_SPEC_ATTR"},
    {NWAttr::MoveValuesFromNamed, "Move values from spec attr", "NW_HELP_ATTR_ACT_MOVE_VALS_FROM_SPEC_ATTR"},
    {NWAttr::CopyValuesFromNamed, "Copy values from spec attr", "NW_HELP_ATTR_ACT_COPY_VALS_FROM_SPEC_ATTR"},
    {NWAttr::SwapValuesWithNamed, "Swap values with spec attr", "NW_HELP_ATTR_ACT_SWAP_VALS_WITH_SPEC_ATTR"},
    {NWAttr::SearchReplace, "Search and replace string", "NW_HELP_ATTR_ACT_SEARCH_REPLACE_STRING"},
    {NWAttr::CopyFirstValue, "Copy first value to CB", nullptr},
    {NWAttr::CopyFirstValueToParameter, "Copy first value to parameter", nullptr},
    {NWAttr::CopyAllValues, "Copy all values to CB", nullptr},
    {NWAttr::PasteOverMatched, "Paste CB to matched attr", nullptr},
    {NWAttr::PasteAtMatchedStart, "Paste CB at beg of matched attr", nullptr},
    {NWAttr::PasteAtMatchedEnd, "Paste CB at end of matched attr", nullptr},
    {NWAttr::SetUniqueId, "Set unique ID", "NW_HELP_ATTR_ACT_SET_UNIQUE_ID"},
    {NWAttr::SetValue, "Set attr value", nullptr},
    {NWAttr::Detokenize, "Detokenize values", nullptr},
    {NWAttr::Tokenize, "Tokenize values", nullptr},
    {NWAttr::SortValues, "Sort values", nullptr},
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
    bool inDialog = code >= NWElem::Retag && code <= NWElem::InsertLastChild;
    const ActionRow *r = inDialog ? RowOf(kElementActions, code) : nullptr;
    return r ? r->name : "None";
}

NWAttrAction om_NWAttrActionCode(const std::string &name) { return CodeOf(kAttrActions, name); }

std::string om_NWAttrActionName(NWAttrAction code) {
    bool inDialog = (code >= NWAttr::AddValues && code <= NWAttr::SearchReplace) || code == NWAttr::SetUniqueId;
    const ActionRow *r = inDialog ? RowOf(kAttrActions, code) : nullptr;
    return r ? r->name : "None";
}

void om_NWShowActionHelp(IntT code) {
    const ActionRow *r = RowOf(kElementActions, code);
    if (!r) r = RowOf(kAttrActions, code);
    std::string text = qv::LangMessage("NW_HELP_HEADER") + "\n\n" +
                       qv::LangMessage(r && r->help ? r->help : "NW_HELP_ERROR");
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
}
