// Dialog item accessors: the library's thin layer over the host's dialog-item properties.
// Labels and texts pass through the translation tables on the way in (English -> current
// language) and, reversed, on the way out, so callers work with English strings throughout.
// An empty table name means no translation.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

IntT om_DlgGetState(F_ObjHandleT dlg, IntT item);
IntT om_DlgGetStateIfItem(F_ObjHandleT dlg, IntT item);
IntT om_DlgGetPopupIndex(F_ObjHandleT dlg, IntT item);
IntT om_DlgIsChecked(F_ObjHandleT dlg, IntT item);
IntT om_DlgIsOn(F_ObjHandleT dlg, IntT item);
IntT om_DlgIsEnabled(F_ObjHandleT dlg, IntT item);
IntT om_DlgGetPromptCheckBox(F_ObjHandleT dlg, IntT item);
StringT om_DlgGetLabel(F_ObjHandleT dlg, IntT item, ConStringT table);
StringT om_DlgGetText(F_ObjHandleT dlg, IntT item, ConStringT table);
F_StringsT om_DlgGetListLabels(F_ObjHandleT dlg, IntT item, ConStringT table);
F_StringsT om_DlgGetListLabelsAfterFirst(F_ObjHandleT dlg, IntT item, ConStringT table);
StringT om_DlgGetSelectedLabel(F_ObjHandleT dlg, IntT item, ConStringT table);
StringT om_DlgGetSelectedLabelUnchecked(F_ObjHandleT dlg, IntT item, ConStringT table);
IntT om_DlgOpenState(F_ObjHandleT *dlg, IntT item, IntT forget);

void om_DlgSetState(F_ObjHandleT dlg, IntT item, IntT state);
void om_DlgSetStateIfValid(F_ObjHandleT dlg, IntT item, IntT state);
void om_DlgSetPopupIndex(F_ObjHandleT dlg, IntT item, IntT index);
void om_DlgSetChecked(F_ObjHandleT dlg, IntT item, IntT value);
void om_DlgTurnOn(F_ObjHandleT dlg, IntT item);
void om_DlgSetPromptCheckBox(F_ObjHandleT dlg, IntT item, IntT setting);
void om_DlgEnable(F_ObjHandleT dlg, IntT item);
void om_DlgDisable(F_ObjHandleT dlg, IntT item);
void om_DlgShow(F_ObjHandleT dlg, IntT item);
void om_DlgHide(F_ObjHandleT dlg, IntT item);
void om_DlgSetLabel(F_ObjHandleT dlg, IntT item, ConStringT text, ConStringT table);
void om_DlgSetText(F_ObjHandleT dlg, IntT item, ConStringT text, ConStringT table);
void om_DlgSetListLabels(F_ObjHandleT dlg, IntT item, const F_StringsT *list, ConStringT table);
void om_DlgSetLabelsUnchecked(F_ObjHandleT dlg, IntT item, const F_StringsT *list);
void om_DlgSetListLabelsWithLead(F_ObjHandleT dlg, IntT item, F_StringsT *list, ConStringT lead, ConStringT table);
void om_DlgClearList(F_ObjHandleT dlg, IntT item);
void om_DlgRefreshLabels(F_ObjHandleT dlg);
F_ObjHandleT om_DlgCloseResource(F_ObjHandleT dlg);

IntT om_DlgListAddItem(F_ObjHandleT dlg, IntT item, ConStringT text, IntT position, IntT allowDuplicates, IntT warn,
                       ConStringT table);
IntT om_DlgListDeleteEntry(F_ObjHandleT dlg, IntT item, IntT index, ConStringT text);
IntT om_DlgListFindAfterFirst(F_ObjHandleT dlg, IntT item, ConStringT text, IntT caseFlag, ConStringT table);
void om_DlgMoveSelectedEntry(F_ObjHandleT dlg, IntT source, IntT target, IntT sort);
void om_DlgUpdateMoveButtons(F_ObjHandleT dlg, IntT list, IntT up, IntT down);
void om_DlgTextDefaultFromList(F_ObjHandleT dlg, IntT textItem, IntT listItem);

namespace qv {
// The translation table name the dialogs currently use ("" for none); the generic dialogs set it.
std::string &DlgTableName();
// The item's labels, untranslated.
std::vector<std::string> DlgLabels(F_ObjHandleT dlg, IntT item);
// Sets the item's labels, untranslated.
void DlgSetLabels(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &labels);
// The item's text (1701), untranslated; "" when the host gives none.
std::string DlgText(F_ObjHandleT dlg, IntT item);
}  // namespace qv
