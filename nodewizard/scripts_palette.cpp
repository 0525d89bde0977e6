// The Node Wizard Scripts palette: choose the scripts document and the target, list the active
// scripts and their events with their descriptions, run, check and edit them.
#include "nodewizard/scripts_palette.h"

#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/file_choice.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/host_values.h"
#include "lib/host/paths.h"
#include "lib/host/textfiles.h"
#include "lib/host/system_services.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "lib/translation/msgformat.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_doc.h"
#include "resources/dialog_items.h"
#include "lib/run_state.h"

namespace {

const char *const kTable = "Quorvane - Node Wizard Scripts";
const char *const kSeparator = "--------------------";

// The documents and books offered as targets, and the chosen one.
std::vector<F_ObjHandleT> PaletteTargets;
F_ObjHandleT PaletteTarget = 0;

// The documents the palette listed and the one chosen.
[[maybe_unused]] const bool resetScriptsPaletteTargets =
    om_RunStateRegister("scripts palette targets", RunStateKind::Run, [] {
        PaletteTargets.clear();
        PaletteTarget = 0;
    });

F_ObjHandleT Palette() { return DialogHandles[kDlgNWScripts]; }

std::string Translated(const char *text) { return qv::LangTranslate(kTable, text, false, 0); }

std::string ForwardSlashes(std::string path) {
    for (char &c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string FileNameOf(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameCI(const std::string &a, const std::string &b) { return om_StrEqualCI(a.c_str(), b.c_str()) == 1; }

// The recent scripts documents as stored (without the three menu entries).
std::vector<std::string> StoredRecent() {
    std::vector<std::string> list = RecentScriptsDocs;
    if (list.size() >= 3 && list[list.size() - 3] == kSeparator) list.resize(list.size() - 3);
    return list;
}

void WriteRecent(const std::vector<std::string> &list) {
    F_StringsT lines = qv::NewStrings(list);
    om_FileWriteLines(SettingsFiles.scriptsDocFavorites.c_str(), &lines);
    F_ApiDeallocateStrings(&lines);
}

void AppendMenuEntries() {
    RecentScriptsDocs.push_back(kSeparator);
    RecentScriptsDocs.push_back(Translated("Browse..."));
    RecentScriptsDocs.push_back(Translated("Manage..."));
}

// Sets a list item with a leading "-" entry; the state shows the entry at index (-1: none).
void SetPopup(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &entries, IntT index) {
    F_StringsT list = qv::NewStrings(entries);
    om_DlgSetListLabelsWithLead(dlg, item, &list, "-", kTable);
    F_ApiDeallocateStrings(&list);
    // The leading "-" is entry 0, so the entry at index is state index + 1.
    if (index >= 0) om_DlgSetPopupIndex(dlg, item, index);
}

// A path as the palette shows it: in the host's own form ("Z:\dir\file.fm", as every other
// dialog and the host write paths), or its file name. The recent list keeps its stored form.
std::string Shown(const std::string &path) {
    if (GeneralPreferences.nwDisplayFullFilePaths != 1) return FileNameOf(path);
    std::string shown = path;
    for (char &c : shown)
        if (c == '/') c = '\\';
    return shown;
}

void SetList(F_ObjHandleT dlg, IntT item, const std::vector<std::string> &entries) {
    F_StringsT list = qv::NewStrings(entries);
    om_DlgSetListLabels(dlg, item, &list, "");
    F_ApiDeallocateStrings(&list);
}

std::string Take(StringT s) {
    std::string out(qv::View(s));
    om_StrFree(&s);
    return out;
}

void ReadTargets() {
    PaletteTargets.clear();
    for (UIntT id : om_DocGetOpenIds(0, 0, 0)) PaletteTargets.push_back(id);
    F_ObjHandleT book = F_ApiGetId(0, 0, FP_FirstOpenBook);
    for (size_t n = 0; book && n < 10000; ++n, book = F_ApiGetId(0, book, FP_NextOpenBookInSession))
        PaletteTargets.push_back(book);
    FA_errno = 0;
}

}  // namespace

IntT qv_NWSPaletteTargetCount(void) { return static_cast<IntT>(PaletteTargets.size()); }

void qv_NWSChoosePaletteTarget(IntT index) {
    if (index >= 0 && static_cast<size_t>(index) < PaletteTargets.size()) PaletteTarget = PaletteTargets[static_cast<size_t>(index)];
}

F_ObjHandleT qv_NWSPaletteTarget(void) { return PaletteTarget; }

void om_NWSOpenPalette(IntT translate) {
    if (Palette()) {
        F_ApiClose(Palette(), 0);
        DialogHandles[kDlgNWScripts] = 0;
    }
    F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "qv_DialogNWScripts");
    if (!dlg) {
        al_ok("A critical error occurred opening the dialog box. Please contact Orle Meadow.");
        CancelFlag = 1;
        return;
    }
    DialogHandles[kDlgNWScripts] = dlg;

    F_StringsT lines{0, nullptr};
    om_FileReadLines(SettingsFiles.scriptsDocFavorites.c_str(), &lines);
    RecentScriptsDocs = qv::ReadStrings(&lines);
    F_ApiDeallocateStrings(&lines);
    std::vector<std::string> kept;
    for (const std::string &entry : RecentScriptsDocs)
        if (!entry.empty()) kept.push_back(ForwardSlashes(entry));
    RecentScriptsDocs = kept;
    if (RecentScriptsDocs.empty() && !SettingsFiles.defaultScriptsDoc.empty()) {
        RecentScriptsDocs.push_back(ForwardSlashes(SettingsFiles.defaultScriptsDoc));
        WriteRecent(RecentScriptsDocs);
    }
    std::string current = ForwardSlashes(SettingsFiles.currentScriptsDoc);
    bool listed = false;
    for (const std::string &entry : RecentScriptsDocs) listed = listed || SameCI(entry, current);
    if (!listed && !current.empty()) RecentScriptsDocs.insert(RecentScriptsDocs.begin(), current);
    AppendMenuEntries();

    om_NWSRefreshPalette(0, 1);
    om_DlgStripTildes(dlg);
    if (translate == 1) om_LangTranslateDialog(dlg, "Quorvane Node Wizard Scripts", kTable, 1, 0, 1, 0, 1, 1);
    F_ApiModelessDialog(kDlgNWScripts, dlg);
}

void om_NWSRefreshPalette(IntT keepLists, IntT rereadTargets) {
    F_ObjHandleT dlg = Palette();
    if (!dlg) return;
    // The scripts documents: the recent list (file names unless full paths are shown).
    std::vector<std::string> docs = RecentScriptsDocs;
    IntT currentIndex = -1;
    std::string current = ForwardSlashes(SettingsFiles.currentScriptsDoc);
    for (size_t i = 0; i < docs.size(); ++i) {
        if (currentIndex < 0 && SameCI(docs[i], current)) currentIndex = static_cast<IntT>(i);
        if (i + 2 < docs.size()) docs[i] = Shown(docs[i]);
    }
    SetPopup(dlg, NWSPaletteItem::DocPopup, docs, currentIndex);
    om_DlgSetText(dlg, NWSPaletteItem::DocText, Shown(SettingsFiles.currentScriptsDoc).c_str(), "");
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 1);

    if (rereadTargets == 1) {
        if (om_DlgIsChecked(dlg, NWSPaletteItem::AutoTarget) == 1) {
            F_ObjHandleT active = F_ApiGetId(0, 0, FP_ActiveDoc);
            if (!active) active = F_ApiGetId(0, 0, FP_ActiveBook);
            if (active && active != scriptsDoc) PaletteTarget = active;
        }
        ReadTargets();
        std::vector<std::string> names;
        IntT chosen = -1;
        for (size_t i = 0; i < PaletteTargets.size(); ++i) {
            names.push_back(Shown(HostGetString(0, PaletteTargets[i], FP_Path)));
            if (PaletteTargets[i] == PaletteTarget) chosen = static_cast<IntT>(i);
        }
        if (names.empty()) {
            SetPopup(dlg, NWSPaletteItem::TargetPopup, names, -1);
            om_DlgSetText(dlg, NWSPaletteItem::TargetText, "", "");
            PaletteTarget = 0;
        } else {
            if (chosen < 0) chosen = 0;
            SetPopup(dlg, NWSPaletteItem::TargetPopup, names, chosen);
            om_DlgSetText(dlg, NWSPaletteItem::TargetText, names[static_cast<size_t>(chosen)].c_str(), "");
        }
    } else if (PaletteTarget) {
        om_DlgSetText(dlg, NWSPaletteItem::TargetText, Shown(HostGetString(0, PaletteTarget, FP_Path)).c_str(), "");
        for (size_t i = 0; i < PaletteTargets.size(); ++i)
            if (PaletteTargets[i] == PaletteTarget)
                om_DlgSetPopupIndex(dlg, NWSPaletteItem::TargetPopup, static_cast<IntT>(i));
    }
    if (keepLists == 1) return;

    if (!scriptsDoc) {
        SetList(dlg, NWSPaletteItem::Scripts, {"(Invalid scripts doc path)"});
        SetList(dlg, NWSPaletteItem::Events, {});
        om_DlgSetText(dlg, NWSPaletteItem::ScriptDescription, "", "");
        om_DlgSetText(dlg, NWSPaletteItem::EventDescription, "", "");
        for (IntT item = NWSPaletteItem::RunScript; item <= NWSPaletteItem::EditEvent; ++item) om_DlgDisable(dlg, item);
        return;
    }
    for (IntT item : {NWSPaletteItem::Scripts, NWSPaletteItem::Events, NWSPaletteItem::ScriptDescription,
                      NWSPaletteItem::EventDescription})
        om_DlgEnable(dlg, item);
    for (IntT item = NWSPaletteItem::RunScript; item <= NWSPaletteItem::EditEvent; ++item) om_DlgEnable(dlg, item);

    IntT scriptIndex = om_DlgGetState(dlg, NWSPaletteItem::Scripts);
    std::vector<std::string> scripts = om_NWSListScriptNames(scriptsDoc, 0, 0, -1);
    if (scripts.empty()) {
        SetList(dlg, NWSPaletteItem::Scripts, {Translated("{no scripts found}")});
        om_DlgDisable(dlg, NWSPaletteItem::Scripts);
        scriptIndex = -1;
    } else {
        SetList(dlg, NWSPaletteItem::Scripts, scripts);
        if (scriptIndex < 0 || static_cast<size_t>(scriptIndex) >= scripts.size()) scriptIndex = 0;
        om_DlgSetState(dlg, NWSPaletteItem::Scripts, scriptIndex);
    }
    for (IntT item = NWSPaletteItem::RunScript; item <= NWSPaletteItem::EditScript; ++item)
        if (scriptIndex < 0) om_DlgDisable(dlg, item);

    std::string script = scriptIndex >= 0 ? scripts[static_cast<size_t>(scriptIndex)] : std::string();
    IntT eventIndex = om_DlgGetState(dlg, NWSPaletteItem::Events);
    std::vector<std::string> events;
    if (!script.empty()) om_NWSListEventNames(scriptsDoc, 0, script, 1, &events);
    if (events.empty()) {
        SetList(dlg, NWSPaletteItem::Events, {Translated("{no events found}")});
        om_DlgDisable(dlg, NWSPaletteItem::Events);
        eventIndex = -1;
    } else {
        for (size_t i = 0; i < events.size(); ++i)
            events[i] = qv::FormatMessage("#%d: ", {static_cast<long long>(i + 1)}) + events[i];
        SetList(dlg, NWSPaletteItem::Events, events);
        if (eventIndex >= static_cast<IntT>(events.size())) eventIndex = -1;
        om_DlgSetState(dlg, NWSPaletteItem::Events, eventIndex);
    }
    for (IntT item = NWSPaletteItem::RunEvent; item <= NWSPaletteItem::EditEvent; ++item)
        if (eventIndex < 0) om_DlgDisable(dlg, item);

    auto describe = [&](IntT item, IntT kind, IntT number) {
        std::string text;
        if (!script.empty()) om_NWSGetDescription(scriptsDoc, 0, script, kind, number, &text);
        if (text.empty()) {
            om_DlgSetText(dlg, item, Translated("{none}").c_str(), "");
            om_DlgDisable(dlg, item);
        } else {
            om_DlgSetText(dlg, item, text.c_str(), "");
        }
    };
    describe(NWSPaletteItem::ScriptDescription, 3, 0);
    if (eventIndex >= 0)
        describe(NWSPaletteItem::EventDescription, 4, eventIndex + 1);
    else
        describe(NWSPaletteItem::EventDescription, 4, 0);
}

void om_NWSChooseScriptsDoc(void) {
    F_ObjHandleT dlg = Palette();
    if (!dlg) return;
    IntT s = om_DlgGetState(dlg, NWSPaletteItem::DocPopup);
    IntT count = static_cast<IntT>(RecentScriptsDocs.size());
    if (s < 1 || s > count) return;
    const std::string entry = RecentScriptsDocs[static_cast<size_t>(s - 1)];
    if (entry.rfind("--------", 0) == 0) return;
    if (s == count - 1) {
        std::string current = SettingsFiles.currentScriptsDoc;
        size_t slash = current.find_last_of("\\/");
        std::string folder = slash == std::string::npos ? std::string() : current.substr(0, slash + 1);
        StringT chosen = nullptr;
        IntT ok = om_FileChoose(0, Translated("Select scripts document").c_str(), folder.c_str(),
                                FileNameOf(current).c_str(), &chosen, 0, nullptr);
        std::string path(qv::View(chosen));
        om_StrFree(&chosen);
        if (ok != 1 || path.empty() || om_FileExists(path.c_str()) != 1) return;
        StringT normal = om_StrCopy(path.c_str());
        om_PathNormalize(&normal, 0, 0);
        SettingsFiles.currentScriptsDoc = qv::View(normal);
        om_StrFree(&normal);
        std::vector<std::string> stored = StoredRecent();
        std::vector<std::string> updated{ForwardSlashes(SettingsFiles.currentScriptsDoc)};
        for (const std::string &e : stored)
            if (!SameCI(e, updated.front())) updated.push_back(e);
        WriteRecent(updated);
        RecentScriptsDocs = updated;
        AppendMenuEntries();
        return;
    }
    if (s == count) {
        al_ok2("QVRN_GEN_MSG_16");
        om_FileOpenInNotepad(GeneralPreferences.notepadExePath.c_str(), SettingsFiles.scriptsDocFavorites.c_str(),
                             qv::LangMessage("QVRN_GEN_MSG_13").c_str());
        return;
    }
    StringT normal = om_StrCopy(entry.c_str());
    om_PathNormalize(&normal, 0, 0);
    SettingsFiles.currentScriptsDoc = qv::View(normal);
    om_StrFree(&normal);
}

void om_NWSRunFromPalette(IntT mode) {
    F_ObjHandleT dlg = Palette();
    CancelFlag = 0;
    NodeWizardQuery.reportedErrors = 0;
    if (!dlg) return;
    F_ObjHandleT target = PaletteTarget;
    bool usable = (F_OBJ_KIND(target) == FO_Doc && om_DocIsOpen(target) && F_ApiGetId(0, target, FP_FirstFlowInDoc)) ||
                  (F_OBJ_KIND(target) == FO_Book && om_BookIsOpen(target) && F_ApiGetId(0, target, FP_FirstComponentInBook));
    FA_errno = 0;
    if (!usable) {
        al_ok2("NWS_GEN_MSG_30");
        return;
    }
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 1);
    if (!scriptsDoc) return;
    if (scriptsDoc == target && al_yesno2("NWS_GEN_MSG_2") != 1) return;
    IntT scriptIndex = om_DlgGetState(dlg, NWSPaletteItem::Scripts);
    std::vector<std::string> scripts = om_NWSListScriptNames(scriptsDoc, 0, 0, -1);
    if (scriptIndex < 0 || static_cast<size_t>(scriptIndex) >= scripts.size()) return;
    const std::string script = scripts[static_cast<size_t>(scriptIndex)];
    IntT eventNumber = -1;
    std::string eventLabel = Translated("(all events)");
    if (mode == 4) {
        IntT eventIndex = om_DlgGetState(dlg, NWSPaletteItem::Events);
        if (eventIndex < 0) return;
        eventNumber = eventIndex + 1;
        eventLabel = Take(om_DlgGetSelectedLabel(dlg, NWSPaletteItem::Events, ""));
    }
    IntT &prompt = GeneralPreferences.promptNWScriptGeneralMsgs;
    if (prompt == kPromptAlways || prompt == kPromptOnce) {
        std::string question = qv::FormatMessage(qv::LangMessage("NWS_GEN_MSG_3"),
                                                 {script, eventLabel, FileNameOf(HostGetString(0, target, FP_Path))});
        IntT yes = al_yesno(question.c_str());
        if (prompt == kPromptOnce) al_ok2("NWS_GEN_MSG_4");
        if (yes != 1) return;
    }
    om_DocBringToFront(target, 1);
    IntT ran = om_NWSRunScript(script, scriptsDoc, eventNumber, target, 1);
    if (ran == 1 && (prompt == kPromptAlways || prompt == kPromptOnce)) al_ok2("NWS_GEN_MSG_5");
    if (prompt == kPromptOnce) prompt = kPromptAskedOnce;
}
