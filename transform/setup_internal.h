// Helpers the set-up dialogs share: opening and running one dialog, reading and writing its
// items untranslated, and writing the element's attributes.
#pragma once

#include <string>

#include "fdk.h"
#include "lib/shell_records.h"

namespace xsetup {

// Opens the dialog's resource and keeps its id in DialogHandles; 0 (with the critical message
// and CancelFlag 1) when it cannot be opened.
F_ObjHandleT Open(QvDialogNumber number, const char *resource, const char *failure = nullptr);
// Runs the dialog modally; once OK or Cancel closed it, closes its resource and forgets its id.
void Run(QvDialogNumber number, F_ObjHandleT dlg);
// The open dialog of that number (0 when none).
F_ObjHandleT Dlg(QvDialogNumber number);
void SetTitle(F_ObjHandleT dlg, ConStringT title);

std::string Text(F_ObjHandleT dlg, IntT item);
std::string Label(F_ObjHandleT dlg, IntT item);
void SetText(F_ObjHandleT dlg, IntT item, const std::string &text);
bool On(F_ObjHandleT dlg, IntT item);
void TurnOn(F_ObjHandleT dlg, IntT item);
void Sensitive(F_ObjHandleT dlg, IntT item, bool on);

// The expression pop-up: "Placeholder" and the XPath history (empty entries dropped).
void FillHistory(F_ObjHandleT dlg, IntT item);
// Turns on Preserve when the element keeps itself, else Remove.
void FillDisposition(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT removeItem, IntT preserveItem);
// The starting_context group from its group box (firstItem): sensitive only for the source "Current"
// (any case with anyCase), with the element's starting context on.
void FillStartingContext(F_ObjHandleT dlg, F_ObjHandleT doc, F_ObjHandleT elem, IntT firstItem, IntT labelItem,
                         bool anyCase);
// The element's attribute for a text box: "" when empty or a sentinel.
std::string Attr(F_ObjHandleT doc, F_ObjHandleT elem, const char *name);

// Writes one attribute of the element being set up.
void Write(const char *name, const std::string &value);
// Writes source_file (the label's text with "/" separators) and, with local, ContextDocIsLocal.
void WriteSource(F_ObjHandleT dlg, IntT labelItem, bool local);
// Writes qvrn_element from the Preserve radio and starting_context from the "QVRN element" radio.
void WriteDisposition(F_ObjHandleT dlg, IntT preserveItem);
void WriteStartingContext(F_ObjHandleT dlg, IntT elementItem);
// Keeps the dialog up after a refused check.
void KeepOpen();
// Ends an OK: the element being set up is forgotten.
void Done();
// Compiles an expression for the check (clipboard kept); 1 when it compiled.
bool Compiles(const std::string &text);

}  // namespace xsetup
