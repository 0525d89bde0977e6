// The Node Wizard Scripts document: its vocabulary, how the current scripts document is found or
// opened (the user's own window, else a hidden working copy marked in Version1), how hidden copies
// are closed, and the lookups that turn script names and event numbers into elements. Scripts are
// never kept in memory: every run, check and palette refresh reads the document through the host.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Which instance om_NWSOpenScriptsDocument asks for.
enum NWSDocKind : IntT {
    kNWSDocUser = 1,    // the user's real document
    kNWSDocHidden = 2,  // the hidden working copy
    kNWSDocEither = 3,  // either, the user's preferred
};

// Looks for the current scripts document (ScriptsDocPath) as the kind asks; with the open flag
// opens it when none is open (kind 1 visibly, else invisibly and marked). 0 when none; with the
// report flag an OK box names the path. Every other hidden copy is closed before it returns.
F_ObjHandleT om_NWSOpenScriptsDocument(IntT kind, IntT openFlag, IntT reportFlag);
// Closes without saving every open document other than keep that is not on screen and whose
// highest-level element's Version1 holds "HIDDEN_COPY" (ignoring case).
void om_NWSCloseHiddenCopies(F_ObjHandleT keep);
// The hidden-copy marker of a scripts-document path: the path in forward-slash form followed
// by "HIDDEN_COPY".
std::string om_NWSHiddenCopyMarker(const std::string &path);

// The NodeWizardScript element of the script with the name (byte for byte), or, with an empty
// name, the number-th script (1-based); 0 when none. An active script of the name is preferred;
// inactive ones count only with the flag.
F_ObjHandleT om_NWSFindScript(F_ObjHandleT scriptsDoc, const std::string &name, IntT number, IntT includeInactive);
// The eventNumber-th NWScriptEvent child (1-based) of the script (inactive ones included).
F_ObjHandleT om_NWSFindEvent(F_ObjHandleT scriptsDoc, const std::string &scriptName, IntT scriptNumber,
                             IntT eventNumber);
// 1 when the script element has ScriptIsActive with a child Yes.
IntT om_NWSScriptIsActive(F_ObjHandleT scriptsDoc, F_ObjHandleT script);
// The script names in document order (scripts whose first child is NWScriptName); inactive ones
// only with the flag, marked " (**DISABLED**)" with the mark flag; empty names dropped. The script
// at selectIndex (counting every script, from 0) is shown on screen when selectIndex >= 0.
std::vector<std::string> om_NWSListScriptNames(F_ObjHandleT scriptsDoc, IntT includeInactive, IntT markDisabled,
                                               IntT selectIndex);
// The event names of the script (the element, or found by name when 0); events without a name
// give "{no name}" (translated) with the placeholder flag and nothing otherwise. 0 without
// document or script.
IntT om_NWSListEventNames(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &scriptName,
                          IntT withPlaceholders, std::vector<std::string> *out);
// The description of the script (kind 3) or of its eventNumber-th event (kind 4), every paragraph
// joined by line ends; 0 without document or script ("" in out).
IntT om_NWSGetDescription(F_ObjHandleT scriptsDoc, F_ObjHandleT script, const std::string &scriptName, IntT kind,
                          IntT eventNumber, std::string *out);
// ScriptsDocPath, as a text for the console or a message.
void om_NWSPrintScriptsPath(std::string *buffer);

// ---- reading the scripts document (shared by the interpreter, runs and the palette) ----
// 1 when a tag equals a vocabulary name ignoring case (the host's case folding; plain ASCII
// compared directly).
bool om_NWSTagIs(const std::string &tag, const char *name);
// The first child of the element whose tag equals the tag ignoring case; 0 when none.
F_ObjHandleT om_NWSChild(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag);
// The first element of the element's subtree (the element itself excluded) whose tag equals the
// tag ignoring case; 0 when none.
F_ObjHandleT om_NWSFindBelow(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag);
// 1 when the setting element (found below the element by tag) has a child Yes.
IntT om_NWSSettingIsYes(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &tag);
// The element's first paragraph, cut to maxChars characters.
std::string om_NWSFirstPgf(F_ObjHandleT doc, F_ObjHandleT elem, IntT maxChars);
