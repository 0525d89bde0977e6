// Progress palette of a transformation: the stylesheet being transformed, the document being
// queried or the phase of the run, and a row of dots that grows as elements are processed.
#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "resources/dialog_items.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "lib/run_state.h"

UIntT XformTickCounter = 0;

namespace {
// The progress bar's step count.
[[maybe_unused]] const bool resetTransformationProgressTicks =
    om_RunStateRegister("transformation progress ticks", RunStateKind::Run, [] {
        XformTickCounter = 0;
    });
}  // namespace

namespace {

F_ObjHandleT &Palette() { return DialogHandles[kDlgTransformationProgress]; }

// The part of an object's path from its last "\" on, that "\" included ("" without one).
std::string PathTail(F_ObjHandleT id) {
    std::string path = XformHostString(0, id, FP_Path);
    size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(cut);
}

}  // namespace

void om_XformOpenProgress() {
    if (Palette()) return;
    FA_errno = 0;
    F_ObjHandleT id = F_ApiOpenResource(FO_DialogResource, "qv_DialogTransformationProgress");
    if (!id) {
        al_ok("A critical error occurred opening the dialog box. Contact Quorvane support");
        CancelFlag = 1;
        return;
    }
    Palette() = id;
    F_ApiModelessDialog(kDlgTransformationProgress, id);
}

void om_XformUpdateProgress(UIntT file, UIntT phase, UIntT dots) {
    F_ObjHandleT dlg = Palette();
    if (!dlg) return;
    if (file == 1) om_DlgSetLabel(dlg, ProgressItem::Stylesheet, "", "");
    else if (file > 1) om_DlgSetLabel(dlg, ProgressItem::Stylesheet, PathTail(file).c_str(), "");
    if (phase == 1) om_DlgSetLabel(dlg, ProgressItem::Querying, "", "");
    else if (phase == 2) om_DlgSetLabel(dlg, ProgressItem::Querying, "Parsing XPath and checking stylesheet...", "");
    else if (phase > 2) om_DlgSetLabel(dlg, ProgressItem::Querying, PathTail(phase).c_str(), "");
    if (dots == 0) {
        om_DlgSetLabel(dlg, ProgressItem::Dots, "", "");
    } else if (dots >= 2) {
        std::string row;
        for (UIntT i = 0; i < dots && i < 10; ++i) row += "  o";
        om_DlgSetLabel(dlg, ProgressItem::Dots, row.c_str(), "");
    }
}

void om_XformTickProgress() {
    ++XformTickCounter;
    if (XformTickCounter % 10 == 0) om_XformUpdateProgress(0, 0, XformTickCounter / 10);
    if (XformTickCounter >= 100) XformTickCounter = 0;
}

void om_XformCloseProgress() {
    if (!Palette()) return;
    F_ApiClose(Palette(), 0);
    Palette() = 0;
}
