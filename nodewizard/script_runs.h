// Node Wizard Script runs: everything around the interpreter. Validation before a run (also
// offered on its own), the reset of the run state, the script's settings, the script parameters
// that other clients and the scripting exports set between runs, the book loop of Classic mode,
// the status box, the restoring of selections and the summary message.
#pragma once

#include <string>

#include "fdk.h"
#include "nodewizard/script_reader.h"

// Runs the script (an active script of the name) on the target (a book when its kind says so;
// 0: the active document, else the active book); eventNumber <= 0 runs every event. 1 when the
// run ended without cancel, else 0 (StatusCode and CancelFlag tell why).
IntT om_NWSRunScript(const std::string &scriptName, F_ObjHandleT scriptsDoc, IntT eventNumber, F_ObjHandleT target,
                     IntT interactive);
// The same run of a script its caller has already found (the script element; 0: none, 602).
IntT om_NWSRunFoundScript(F_ObjHandleT script, const std::string &scriptName, F_ObjHandleT scriptsDoc,
                          IntT eventNumber, F_ObjHandleT target, IntT interactive);
// Runs the script on each open (or, when the script may open files, opened) document component
// of the book in book order; 1, or 0 when stopped before starting.
IntT om_NWSRunScriptOnBook(F_ObjHandleT book, const NWSScript &script, IntT eventNumber, IntT interactive);
// Sets the run options from the script's GeneralSettings and its preset parameters; 0 without
// document.
IntT om_NWSReadSettings(const NWSScript &script);
// 1 when the script has NWScriptSettings/GeneralSettings/ScriptIsActive/Yes; else 0 with
// StatusCode MissingSettings when a settings element is missing (NoScriptsDoc without document).
IntT om_NWSIsScriptActive(F_ObjHandleT scriptsDoc, F_ObjHandleT script);
// Checks the whole script (or, with eventNumber >= 1, that event); errors go to the error report
// when reporting. 1 when valid; say-ok shows the all-clear message.
IntT om_NWSValidateScript(const std::string &scriptName, F_ObjHandleT scriptsDoc, IntT eventNumber, IntT report,
                          IntT sayOk);

// ---- script parameters ----
// Adds or replaces a parameter (a leading "$" of the name is dropped; names compared exactly).
void om_NWSSetParam(const std::string &name, const std::string &value);
// Sets every parameter as an XPath parameter, in list order; the number of parameters.
IntT om_NWSPushParams();
// Empties the script parameters.
void om_NWSClearParams();
// The parameter's value (leading "$" ignored), or the undefined-parameter text.
std::string om_NWSGetParam(const std::string &name);
