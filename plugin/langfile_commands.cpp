// The language-file commands (see langfile_commands.h).
#include "plugin/langfile_commands.h"

#include <algorithm>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/documents.h"
#include "lib/host/tables.h"
#include "lib/host/host_values.h"
#include "lib/shell_records.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/translation/lang.h"
#include "lib/translation/langfiles.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/scripts_palette.h"
#include "plugin/cond_settings.h"
#include "resources/dialog_items.h"
#include "transform/xform.h"

namespace {

constexpr const char *kProduct = "Quorvane";

// Appends strings without duplicates or empty ones.
void Append(std::vector<std::string> &to, const std::vector<std::string> &from) {
    for (const std::string &s : from)
        if (!s.empty() && std::find(to.begin(), to.end(), s) == to.end()) to.push_back(s);
}

// The strings of an open dialog: title, item labels and, with the flag, pop-up labels; "&" removed.
std::vector<std::string> DialogStrings(F_ObjHandleT dlg, IntT popUps) {
    if (!dlg) return {};
    F_StringsT s = om_LangDialogStrings(dlg, 1, 0, popUps, 0, 1);
    std::vector<std::string> out = qv::ReadStrings(&s);
    F_ApiDeallocateStrings(&s);
    return out;
}

void CloseDialog(QvDialogNumber n) {
    if (DialogHandles[n]) om_DlgCloseResource(DialogHandles[n]);
    DialogHandles[n] = 0;
}

std::vector<std::string> MenuStrings() {
    F_StringsT s = om_LangCommandLabels(kProduct, 1, 1, 1);
    std::vector<std::string> labels = qv::ReadStrings(&s);
    F_ApiDeallocateStrings(&s);
    std::vector<std::string> out;
    for (const std::string &l : labels)
        if (l != kProduct) Append(out, {l});
    return out;
}

// While it lives, no document is active: the Node Wizard then shows its own texts, not the
// active document's file name and element tags, which are no strings of the plug-in.
class NoActiveDocument {
  public:
    NoActiveDocument() : saved_(F_ApiGetId(0, 0, FP_ActiveDoc)) { F_ApiSetId(0, 0, FP_ActiveDoc, 0); }
    ~NoActiveDocument() { F_ApiSetId(0, 0, FP_ActiveDoc, saved_); }
    NoActiveDocument(const NoActiveDocument &) = delete;
    NoActiveDocument &operator=(const NoActiveDocument &) = delete;

  private:
    F_ObjHandleT saved_;
};

std::vector<std::string> NodeWizardStrings() {
    std::vector<std::string> out{"Quorvane Node Wizard"};
    NoActiveDocument quiet;
    om_NWOpenWizardDialog(0, 0, 0);
    if (F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard]) {
        Append(out, DialogStrings(dlg, 1));
        om_DlgSetChecked(dlg, NWItem::ParseOnly, 1);
        om_NWRefreshWizardDialog(0);
        Append(out, DialogStrings(dlg, 1));
        om_DlgSetChecked(dlg, NWItem::ParseOnly, 0);
        om_DlgSetText(dlg, NWItem::AttrAction, "Search and replace string", "");
        om_NWRefreshWizardDialog(0);
        Append(out, DialogStrings(dlg, 1));
    }
    CloseDialog(kDlgNodeWizard);
    om_NWOpenQuickFinder(0, 0, 0);
    Append(out, DialogStrings(DialogHandles[kDlgQuickFinder], 1));
    CloseDialog(kDlgQuickFinder);
    Append(out, {"Add...", "Edit...", "Delete", "New Item", "New item?", "Edit Item", "Edit item:",
                 "Conditions To Assign", "Action Attributes", "Action Values", "of", "Add Attribute",
                 "Add attribute...", "Add Value", "Add value...", "Jump to index", "Jump to index:", "Processing:",
                 "Attempted actions:", "Press Esc to halt processing.", "OK", "Cancel"});
    return out;
}

std::vector<std::string> ConditionManagerStrings() {
    std::vector<std::string> out{"Quorvane Condition Management Settings"};
    IntT cancel = CancelFlag;
    om_CondOpenManagerDialog(1, 0);
    CancelFlag = cancel;
    Append(out, DialogStrings(DialogHandles[kDlgConditionManager], 0));
    CloseDialog(kDlgConditionManager);
    Append(out, {"Edit XPath expression...", "Edit condition...", "Applying Conditional Text",
                 "Applying conditional text, please wait...", "Press Esc to cancel.", "Processing:"});
    return out;
}

std::vector<std::string> ScriptsStrings() {
    std::vector<std::string> out{"Quorvane Node Wizard Scripts"};
    om_NWSOpenPalette(0);
    // Without the pop-ups' entries: they are the user's recent scripts documents and open files,
    // no strings of the plug-in (the palette's own entries are listed below).
    std::vector<std::string> palette = DialogStrings(DialogHandles[kDlgNWScripts], 0);
    CloseDialog(kDlgNWScripts);
    Append(out, palette);
    bool hasOpen = std::find(palette.begin(), palette.end(), "Open Scripts File") != palette.end();
    Append(out, {hasOpen ? "Close Scripts File" : "Open Scripts File"});
    Append(out, {"{no scripts found}", "{no events found}", "{none}", "{no name}", "(all events)", "Processing...",
                 "Press Esc to cancel.", "Browse...", "Manage...", "Select scripts document"});
    return out;
}

std::vector<std::string> LaunchStrings() {
    std::vector<std::string> out{"Transform Document", "Transform Book"};
    om_XformLaunch(0, 1, 0);  // opened only
    Append(out, DialogStrings(DialogHandles[kDlgTransformationSetup], 1));
    CloseDialog(kDlgTransformationSetup);
    Append(out, {"Choose the folder for the tranformed book. It must be different than the book's current folder."});
    return out;
}

std::string Label(F_ObjHandleT doc) { return HostGetString(0, doc, FP_Label); }

}  // namespace

std::vector<LangFileTable> qv_LangCurrentStrings() {
    return {
        {"Quorvane - Menus And Commands", MenuStrings()},
        {"Quorvane - Node Wizard", NodeWizardStrings()},
        {kCondTable, ConditionManagerStrings()},
        {"Quorvane - Node Wizard Scripts", ScriptsStrings()},
        {"Quorvane - Launch Transformation", LaunchStrings()},
    };
}

F_ObjHandleT om_LangCreateFile() {
    if (!al_yesno("Create a new language translation file for Quorvane? If you click \"Yes\", be sure to read your "
                  "User Guide on how to store and use this file."))
        return 0;
    F_ObjHandleT doc = om_LangOpenTemplate();
    if (!doc) {
        al_ok(FormatBuffer.c_str());
        return 0;
    }
    om_LangUpdateFile(doc, 0);
    return doc;
}

void om_LangUpdateFile(F_ObjHandleT doc, IntT ask) {
    // The translation system's own language: the one whose strings the dialogs would show.
    if (qv::FoldCase(qv::LangCurrentLanguage()) != "english") {
        al_ok("The current language must be set to English before running this command.");
        return;
    }
    if (!doc) doc = om_DocActivate(0);
    if (!doc) {
        al_ok("No active document. Cannot continue.");
        return;
    }
    if (!om_LangIsTemplate(doc)) {
        al_ok(qv::FormatMessage("The active document:\n\n%s\n\n...does not appear to be a valid language file that "
                                "can be updated. If this message does not make sense to you, please consult your "
                                "User Guide and/or contact Orle Meadow.",
                                {Label(doc)})
                  .c_str());
        return;
    }
    if (ask && !al_yesno(qv::FormatMessage("Update the active language file:\n\n%s\n\n...with the most current "
                                           "English strings? This will not overwrite any of your existing "
                                           "translations. It will only add new English strings that currently do "
                                           "not exist in the file.",
                                           {Label(doc)})
                             .c_str()))
        return;
    long long total = 0, unmatched = 0;
    for (const LangFileTable &t : qv_LangCurrentStrings()) {
        F_StringsT strings = qv::NewStrings(t.strings);
        om_LangAddRows(doc, 0, t.name.c_str(), &strings);
        if (F_ObjHandleT table = om_DocFindTable(doc, t.name.c_str(), "", 0))
            unmatched += om_LangMarkUnusedRows(doc, table, &strings, 1);
        total += static_cast<long long>(t.strings.size());
        F_ApiDeallocateStrings(&strings);
    }
    al_ok(qv::FormatMessage("Update complete.\n\nTotal strings: %d\nTotal unmatched existing strings: %d",
                            {total, unmatched})
              .c_str());
}
