// Other actions of Node Wizard Scripts: the children of an OtherActions group, run in document
// order on one match (object properties, table rows and columns, cross-references, selection,
// clipboard and parameters, the target file, prompts, saving and closing, screen updates, exit).
#pragma once

#include "fdk.h"

// Runs every child of the group on the match; *newTarget is the document a Set_active_file
// action switched to, else 0. Nothing when any of the four ids is 0 or the matched element has
// no content.
IntT om_NWSRunOtherActions(F_ObjHandleT scriptsDoc, F_ObjHandleT group, F_ObjHandleT targetDoc, F_ObjHandleT matched,
                           IntT reportOther, F_ObjHandleT *newTarget);
// Applies the path options of the element's children (Prefer_relative_path, Prefer_filename_only,
// Use_back_slashes, Use_forward_slashes; Prefer_absolute_path leaves it) to *path in order.
void om_NWSApplyPathOptions(F_ObjHandleT scriptsDoc, F_ObjHandleT optionsElem, F_ObjHandleT targetDoc, StringT *path);
