// Scripts that start without the palette: after host events, when a script's trigger says so and
// the preferences allow auto-running, and from the launch commands 100 to 199.
#pragma once

#include "fdk.h"

// The host events a script can be triggered by; the number picks the trigger element's tag.
enum NWSTrigger : IntT {
    kNWSTriggerDocumentOpen = 1,   // OnDocumentOpen: documents, XML and SGML opened
    kNWSTriggerMarkupOpen = 3,     // OnMarkupOpen: MIF opened
    kNWSTriggerEDDImport = 5,      // OnEDDImport: element definitions imported
    kNWSTriggerDisplayRefresh = 6, // OnDisplayRefresh: the display refreshed
};

// Runs, on the document, every script whose trigger holds Yes or whose IfXPathMatch expression
// matches there; 1 when the scripts were looked at, 0 when auto-running is off or no scripts
// document can be had.
IntT om_NWSRunEventScripts(F_ObjHandleT doc, IntT trigger);
// Runs the script a launch command is bound to on the active document or book.
void om_NWSRunShortcutCommand(IntT command);
