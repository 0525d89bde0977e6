// The clipboard scratch pad of the Node Wizard Scripts document: reading the host clipboard by
// pasting it into the pad, and filling the clipboard by writing the pad and copying it.
#include "nodewizard/clipboard.h"

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr const char *kScratchPadFlow = "QVRN_ScratchPad";
constexpr IntT kPadTextCut = 254;

// The document's file name (the text after the last separator).
std::string FileNameOf(const std::string &path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Empties the pad and pastes the clipboard into it.
void PasteIntoPad(F_ObjHandleT doc, F_ObjHandleT pad) {
    if (om_ElementSelect(doc, pad, LocContent)) F_ApiClear(doc, 2);
    if (om_ElementSelect(doc, pad, LocContent)) F_ApiPaste(doc, 0);
}

}  // namespace

F_ObjHandleT om_NWScratchPadDocument() {
    // The user's window of the scripts document comes before a hidden working copy; without
    // either, the current scripts document is opened hidden.
    F_ObjHandleT hidden = 0;
    for (UIntT id : om_DocGetOpenIds(0, 1, 0)) {
        std::string path = HostGetString(0, id, FP_Path);
        bool current = SettingsFiles.currentScriptsDoc.empty()
                           ? F_StrICmp(FileNameOf(path).c_str(), kScriptsDocFileName) == 0
                           : F_StrICmp(path.c_str(), SettingsFiles.currentScriptsDoc.c_str()) == 0;
        if (!current) continue;
        if (F_ApiGetInt(0, id, FP_IsOnScreen)) return id;
        if (!hidden) hidden = id;
    }
    if (hidden || SettingsFiles.currentScriptsDoc.empty()) return hidden;
    return om_DocOpenHiddenFlag(SettingsFiles.currentScriptsDoc.c_str(), 1);
}

F_ObjHandleT om_NWFindScratchPad(F_ObjHandleT scriptsDoc) {
    if (!scriptsDoc) return 0;
    F_ObjHandleT flow = om_FlowFind(scriptsDoc, kScratchPadFlow, 1);
    return flow ? om_ElementHighestLevel(scriptsDoc, "", flow) : 0;
}

void om_NWScratchPadMissing() {
    al_ok2("NWS_GEN_MSG_101");
    CancelFlag = 1;
}

StringT om_NWReadScratchPad(F_ObjHandleT scriptsDoc, IntT firstPgf, IntT lineBreaks) {
    if (!scriptsDoc) scriptsDoc = om_NWScratchPadDocument();
    F_ObjHandleT pad = om_NWFindScratchPad(scriptsDoc);
    if (!pad) {
        om_NWScratchPadMissing();
        return qv::NewHeapString("");
    }
    PasteIntoPad(scriptsDoc, pad);
    return qv::NewHeapString(om_ElementText(scriptsDoc, pad, firstPgf, kPadTextCut, 0, lineBreaks));
}

void om_NWWriteScratchPad(F_ObjHandleT scriptsDoc, ConStringT text) {
    if (!scriptsDoc) scriptsDoc = om_NWScratchPadDocument();
    F_ObjHandleT pad = om_NWFindScratchPad(scriptsDoc);
    if (!pad) {
        om_NWScratchPadMissing();
        return;
    }
    om_ElementInsertText(scriptsDoc, pad, std::string(qv::View(text)), LocContent);
    if (om_ElementSelect(scriptsDoc, pad, LocContent)) F_ApiCopy(scriptsDoc, 0);
}

IntT om_NWLoadClipboardText(F_ObjHandleT scriptsDoc) {
    F_ObjHandleT pad = om_NWFindScratchPad(scriptsDoc);
    if (!pad) {
        om_NWScratchPadMissing();
        return 0;
    }
    PasteIntoPad(scriptsDoc, pad);
    std::string text(qv::TrimBlanks(om_ElementText(scriptsDoc, pad, 1, kPadTextCut, 0, 0)));
    if (text.empty()) {
        ClipboardEmpty = 1;
    } else {
        ClipboardValues.assign(1, text);
        ClipboardEmpty = 0;
    }
    return 1;
}
