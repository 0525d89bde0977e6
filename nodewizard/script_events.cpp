// Scripts that start without the palette: after the host events a script's trigger names, and
// from the launch commands 100 to 199 that the preferences bind to scripts.
#include "nodewizard/script_events.h"

#include <string>

#include "lib/dialogs/msgbox.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_doc.h"
#include "xpath/xpath.h"

namespace {

// The trigger element's tag of each trigger number.
const char *TriggerTag(IntT trigger) {
    switch (trigger) {
    case kNWSTriggerDocumentOpen: return "OnDocumentOpen";
    case kNWSTriggerMarkupOpen: return "OnMarkupOpen";
    case kNWSTriggerEDDImport: return "OnEDDImport";
    case kNWSTriggerDisplayRefresh: return "OnDisplayRefresh";
    default: return nullptr;
    }
}

// Separates a launch entry's script name from its shortcut.
const char *const kShortcutSeparator = "~~~~";

// 1 when the trigger's IfXPathMatch expression matches in the document.
bool ExpressionMatches(F_ObjHandleT scriptsDoc, F_ObjHandleT condition, F_ObjHandleT doc) {
    std::string text = om_NWSFirstPgf(scriptsDoc, condition, 255);
    F_ApiSaveClipboard();
    IntT sequence = om_XPathCompile(text, 0);
    F_ApiRestoreClipboard();
    if (sequence <= 0 || sequence > XPathLastSequenceNumber) return false;
    om_XPathResetSequence(sequence, 1);
    F_ObjHandleT start = om_ElementHighestLevel(doc, "", F_ApiGetId(0, doc, FP_MainFlowInDoc));
    F_ObjHandleT foundDoc = 0;
    IntT attr = -1;
    return om_FindNextNodeWithXpath(doc, sequence, start, 0, &foundDoc, &attr) != 0;
}

}  // namespace

IntT om_NWSRunEventScripts(F_ObjHandleT doc, IntT trigger) {
    if (GeneralPreferences.nwAllowScriptAutorunning != 1) return 0;
    const char *tag = TriggerTag(trigger);
    if (!tag || !doc) return 0;
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    if (!scriptsDoc) return 0;
    F_ObjHandleT root = om_ElementHighestLevel(scriptsDoc, "Main", 0);
    F_ObjHandleT script = root && om_StrEqualCI(om_ElementTag(scriptsDoc, root, 0).c_str(), "NodeWizardScript")
                              ? root
                              : om_NWSFindBelow(scriptsDoc, root, "NodeWizardScript");
    // The names of the due scripts first: a run may change the scripts document's selection.
    std::vector<std::string> due;
    for (; script; script = F_ApiGetId(scriptsDoc, script, FP_NextSiblingElement)) {
        if (!om_StrEqualCI(om_ElementTag(scriptsDoc, script, 0).c_str(), "NodeWizardScript")) continue;
        F_ObjHandleT triggerElem = om_NWSFindBelow(scriptsDoc, script, tag);
        if (!triggerElem) continue;
        bool run = om_NWSFindBelow(scriptsDoc, triggerElem, "Yes") != 0;
        if (!run) {
            F_ObjHandleT condition = om_NWSFindBelow(scriptsDoc, triggerElem, "IfXPathMatch");
            run = condition && ExpressionMatches(scriptsDoc, condition, doc);
        }
        if (run) due.push_back(om_NWSFirstPgf(scriptsDoc, F_ApiGetId(scriptsDoc, script, FP_FirstChildElement), 255));
    }
    for (const std::string &name : due) om_NWSRunScript(name, scriptsDoc, -1, doc, 0);
    return 1;
}

void om_NWSRunShortcutCommand(IntT command) {
    F_ObjHandleT target = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!target) target = F_ApiGetId(0, 0, FP_ActiveBook);
    if (!target) {
        al_ok("No active doc or book. Cannot continue.");
        return;
    }
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    if (!scriptsDoc) {
        al_ok("No scripts doc. Cannot continue.");
        return;
    }
    const std::vector<std::string> &entries = GeneralPreferences.nwScriptLaunchShortcuts;
    IntT entry = command - 100;
    if (entry < 0 || static_cast<size_t>(entry) >= entries.size()) {
        al_ok("Error, command number is out of range.");
        return;
    }
    std::string name = entries[static_cast<size_t>(entry)];
    name = name.substr(0, name.find(kShortcutSeparator));
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, name, 0, 0);
    if (!script) {
        al_ok(("The \"" + name + "\" script could not be found in the active scripts document:\n\n" +
               HostGetString(0, scriptsDoc, FP_Path))
                  .c_str());
        return;
    }
    om_NWSRunFoundScript(script, name, scriptsDoc, -1, target, 1);
}
