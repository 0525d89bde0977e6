// The clipboard scratch pad of the Node Wizard Scripts document: reading the host clipboard by
// pasting it into the pad, and filling the clipboard by writing the pad and copying it.
#include "nodewizard/clipboard.h"

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/scripts_doc.h"

namespace {

constexpr const char *kScratchPadFlow = "QVRN_ScratchPad";
constexpr IntT kPadTextCut = 254;

// Empties the pad and pastes the clipboard into it.
void PasteIntoPad(F_ObjHandleT doc, F_ObjHandleT pad) {
    if (om_ElementSelect(doc, pad, LocContent)) F_ApiClear(doc, 2);
    if (om_ElementSelect(doc, pad, LocContent)) F_ApiPaste(doc, 0);
}

}  // namespace

F_ObjHandleT om_NWFindScratchPad(F_ObjHandleT scriptsDoc) {
    if (!scriptsDoc) return 0;
    F_ObjHandleT flow = om_FlowFind(scriptsDoc, kScratchPadFlow, 1);
    return flow ? om_ElementHighestLevel(scriptsDoc, "", flow) : 0;
}

void om_NWScratchPadMissing(ConStringT messageId) {
    al_ok2(messageId);
    CancelFlag = 1;
}

StringT om_NWReadScratchPad(F_ObjHandleT scriptsDoc, IntT firstPgf, IntT lineBreaks) {
    if (!scriptsDoc) scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    F_ObjHandleT pad = om_NWFindScratchPad(scriptsDoc);
    if (!pad) {
        om_NWScratchPadMissing();
        return qv::NewHeapString("");
    }
    PasteIntoPad(scriptsDoc, pad);
    return qv::NewHeapString(om_ElementText(scriptsDoc, pad, firstPgf, kPadTextCut, 0, lineBreaks));
}

void om_NWWriteScratchPad(F_ObjHandleT scriptsDoc, ConStringT text) {
    if (!scriptsDoc) scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
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
