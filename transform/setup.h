// The set-up dialogs of the stylesheet elements: a modal dialog per element type in which the
// author fills in the element's attributes. A dialog opens after the author inserts a stylesheet
// element, on a double click on one, or by command; OK writes the attributes back (after checking
// the XPath expression), Cancel of a just-inserted element deletes it again (the shell's routing).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Opens the set-up dialog of an element (document 0: the active one; element 0: the selected one).
IntT om_XformSetUpElement(F_ObjHandleT doc, F_ObjHandleT elem);
// The types whose elements have a set-up dialog (choose and otherwise have none), and the
// opening of the dialog of a type for an element.
bool om_XformHasSetUpDialog(IntT type);
void om_XformOpenSetUpDialog(IntT type, F_ObjHandleT doc, F_ObjHandleT elem);

// ---- shared controls ----------------------------------------------------------------------------
// The expression box: the element's select (test for if and when), or "{XPath}" when empty.
void om_XformFillSelectBox(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT textItem);
void om_XformFillSelectBoxAt(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT dlg, IntT textItem);
// The source label and its pop-up of choices ("Open files", "Inherit", "Current", open files).
void om_XformFillSourceControls(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT labelItem, IntT popupItem);
// A pop-up of "Placeholder" and the document's element definitions of one type; the text box
// shows element_tag, or the first definition when that is empty.
void om_XformFillElementTagPopup(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT type, IntT textItem,
                                 IntT popupItem);
// The names of the document's table formats (kind FO_TblFmt) or cross-reference formats
// (FO_XRefFmt), in the host's order.
void om_XformFormatNames(F_ObjHandleT doc, IntT kind, std::vector<std::string> *names);
// The starting_context group of five items from its group box (firstItem) made sensitive, or
// insensitive with its "Specified/Inherit" radio on.
void om_XformEnableStartingContext(F_ObjHandleT dlg, IntT firstItem);
void om_XformDisableStartingContext(F_ObjHandleT dlg, IntT firstItem);
// The ". . ." button and a choice in the source pop-up of the dialog's source controls.
void om_XformBrowseSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT textItem);
void om_XformPickSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT pickItem, IntT textItem);
// The XPath check of an expression: 1 to go on, 0 when the author answered No (StatusCode XformErr::Cancelled).
IntT om_XformConfirmXPathText(ConStringT text);
IntT om_XformConfirmXPathItem(F_ObjHandleT dlg, IntT textItem);
// 1 while the chosen source lies in the stylesheet's own folder (or is the stylesheet itself).
extern IntT XformLocalSourceFlag;

// ---- the dialogs: openers (modal) and OK handlers -----------------------------------------------
void om_XformOpenCopyOfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT copyOf);
void om_XformOpenValueOfDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenIfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenSortDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTableDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTableRowDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenElementTagDialog(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, ConStringT title);
void om_XformOpenCreateXRefDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenSetAttributeDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT kind);
void om_XformOpenTemplateDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenParamDialog(F_ObjHandleT doc, F_ObjHandleT elem);

void om_XformApplyCopyOfDialog(void);
void om_XformApplyValueOfDialog(void);
void om_XformApplyIfDialog(void);
void om_XformApplySortDialog(void);
void om_XformApplyTableDialog(void);
void om_XformTableColumnsChanged(void);
// The column_widths text of the table dialog's twelve width boxes ("1;1.5;2;...;").
void om_XformColumnWidthsText(std::string *out);
void om_XformApplyTableRowDialog(void);
void om_XformApplyElementTagDialog(void);
void om_XformApplyCreateXRefDialog(void);
void om_XformApplySetAttributeDialog(void);
void om_XformApplyTemplateDialog(void);
void om_XformApplyParamDialog(void);
