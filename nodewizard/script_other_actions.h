// Other actions of Node Wizard Scripts: the children of an OtherActions group, run in document
// order on one match (object properties, table rows and columns, cross-references, selection,
// clipboard and parameters, the target file, prompts, saving and closing, screen updates, exit).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "nodewizard/script_values.h"

// One child of an OtherActions group as read: the action element B, its first child E with E's
// tag and value source, and what B's tag needs of them.
struct NWSOtherAction {
    F_ObjHandleT elem = 0;      // B
    std::string tag;            // B's tag
    F_ObjHandleT first = 0;     // E, B's first child
    std::string firstTag;       // E's tag
    NWSValue firstValue;        // E's value source (worked out for every action that has an E)
    // The name or path B's tag reads: Set_parameter E's text, Get_parameter and Set_active_file B's.
    std::string text;
    NWSValue ownValue;          // Set_parameter: B's own value source
    // Object properties: the Apply_to_parameter (E itself or below E) a produced value goes to,
    // and E's children, the path options of a produced path.
    bool hasApplyTo = false;
    std::string applyTo;
    std::vector<std::string> pathOptions;
    // Prompts: E's Result child, the parameter the answer goes to.
    bool hasResult = false;
    std::string resultName;
};

// Reads the children of an OtherActions group.
std::vector<NWSOtherAction> om_NWSReadOtherActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group);
// Runs the group's actions in order on the match; *newTarget is the document a Set_active_file
// action switched to, else 0. Nothing when any of the four ids is 0 or the matched element has
// no content.
IntT om_NWSRunOtherActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, const std::vector<NWSOtherAction> &actions,
                           F_ObjHandleT targetDoc, F_ObjHandleT matched, IntT reportOther, F_ObjHandleT *newTarget);
// Applies the path options (the tags Prefer_relative_path, Prefer_filename_only,
// Use_back_slashes, Use_forward_slashes; Prefer_absolute_path leaves it) to *path in order.
void om_NWSApplyPathOptions(const std::vector<std::string> &options, F_ObjHandleT targetDoc, StringT *path);
