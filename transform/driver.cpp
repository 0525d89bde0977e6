// The transformation driver: the launch palette and its refusals, preparing the target (save,
// duplicate, open a book's components), the per-document run that walks the Main flow and
// hands each stylesheet element to its processor, and the end of a run.
#include <algorithm>
#include <optional>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "lib/host/attributes.h"
#include "lib/host/books.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_walk.h"
#include "lib/host/hostui.h"
#include "lib/shell_records.h"
#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"
#include "resources/dialog_items.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"

namespace {

const char *const kLaunchGroup = "Quorvane - Launch Transformation";

F_ObjHandleT &Launch() { return DialogHandles[kDlgTransformationSetup]; }

std::string Shortened(const std::string &path) {
    return path.size() > 50 ? "..." + path.substr(path.size() - 50) : path;
}

std::string FolderOf(const std::string &path) {
    size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool EqualCI(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Asks under a prompt setting (1 always, 2 once then 4, else never): 1 to go on.
int AskUnder(IntT &setting, const std::string &text, const std::string &onceNote) {
    if (setting == kPromptAlways) return al_yesno(text.c_str());
    if (setting == kPromptOnce) {
        int yes = al_yesno((text + onceNote).c_str());
        if (yes) setting = kPromptAskedOnce;
        return yes;
    }
    return 1;
}

const char *const kSupport = "support@orlemeadow.example";

// After a processor: skip its subtree (or enter it) and act on it.
enum class After { None, Unwrap, Delete };

}  // namespace

void om_XformUpdateDuplicateControls() {
    F_ObjHandleT dlg = Launch();
    if (!dlg) return;
    XformRunState.duplicate = om_DlgIsChecked(dlg, LaunchItem::Duplicate);
    om_DlgSetLabel(dlg, LaunchItem::Folder, Shortened(XformRunState.duplicateFolder).c_str(), "");
    bool bookDup = XformRunState.targetIsBook && XformRunState.duplicate;
    for (IntT i : {LaunchItem::FolderLabel, LaunchItem::ChooseFolder, LaunchItem::Folder})
        bookDup ? om_DlgEnable(dlg, i) : om_DlgDisable(dlg, i);
    for (IntT i : {LaunchItem::WarningLine1, LaunchItem::WarningLine2})
        XformRunState.duplicate ? om_DlgEnable(dlg, i) : om_DlgDisable(dlg, i);
}

void om_XformCheckDuplicateOptions() {
    F_ObjHandleT dlg = Launch();
    XformRunState.duplicate = dlg ? om_DlgIsChecked(dlg, LaunchItem::Duplicate) : XformRunState.duplicate;
    if (XformRunState.targetIsBook && XformRunState.duplicate) {
        if (XformRunState.duplicateFolder == "None") {
            al_ok("You have selected to duplicate a book for transformation, but have not specified a folder for the "
                  "duplicate book.");
            F_ApiReturnValue(FV_DlgNoDismiss);
            return;
        }
        std::string bookFolder = FolderOf(XformHostString(0, XformRunState.target, FP_Path));
        if (EqualCI(XformRunState.duplicateFolder, bookFolder)) {
            al_ok("You have selected to duplicate a book for transformation, but have specified the same folder as "
                  "the original book. The selected folder for the new book must be different than the original "
                  "book's folder.");
            F_ApiReturnValue(FV_DlgNoDismiss);
            return;
        }
    }
    if (!XformRunState.duplicate &&
        !AskUnder(GeneralPreferences.promptXformSourceFileWarning,
                  "You have chosen to perform a transformation on a book or document without creating a duplicate "
                  "first. Transformations can cause sweeping, irreversible changes, which in this case will occur on "
                  "your source file(s).  Are you sure you want to continue?\n\nIf you do choose to continue, note that "
                  "Quorvane does not save any files after transformation, so you can still close the file(s) "
                  "afterwards WITHOUT SAVING CHANGES to restore them.",
                  "\n\nNOTE: You have your preferences set to display this warning only once. Unless you adjust your "
                  "preferences, you will not see this warning again during this session."))
        F_ApiReturnValue(FV_DlgNoDismiss);
}

void qv_XformSetLaunchFolder(ConStringT folder) {
    XformRunState.duplicateFolder = folder && *folder ? folder : "None";
}

IntT om_XformTransformDocument(F_ObjHandleT d, F_ObjHandleT s) {
    if (!s) s = d;
    StatusCode = 0;
    CancelFlag = 0;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    XformOpenedFiles.erase(std::remove(XformOpenedFiles.begin(), XformOpenedFiles.end(), d), XformOpenedFiles.end());
    XformTickCounter = 0;
    XformRunState.escCounter = 0;
    F_ObjHandleT root = om_ElementHighestLevel(d, "Main", 0);
    if (!root) {
        StatusCode = StatusNoStructure;
        CancelFlag = 1;
        return XformResult::NoStructure;
    }
    om_XformOpenProgress();
    om_XformUpdateProgress(d, 2, 0);
    F_ObjHandleT failing = om_XformPrepareStylesheet(d, 1);
    if (!StatusCode) {
        XformRunState.spentSequence = om_XPathCompile("QVRN_for-each[@SequenceNumber='Spent']", XformRunState.reportErrors);
    }
    if (StatusCode) {
        F_ApiSetInt(0, d, FP_IsInFront, 1);
        if (XformRunState.reportErrors) om_XformReportError(s, d, failing, StatusCode, XformLevel::Error);
        CancelFlag = 1;
        om_XformCloseProgress();
        return XformResult::StylesheetInvalid;
    }
    om_XformUpdateProgress(d, 1, 0);
    XformRunState.updateXRefs = 0;
    // Remembered for this walk only.
    struct Remembering {
        Remembering() {
            XformKeepWritten(1);
            XformKeepTypes(1);
        }
        ~Remembering() {
            XformKeepWritten(0);
            XformKeepTypes(0);
        }
    } remembering;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    F_ObjHandleT e = om_ElementNextInDocOrder(d, root);
    F_ObjHandleT stopped = 0;
    while (e && !(e == root && ElementWalkState.lastMove == WalkUp)) {
        bool up = ElementWalkState.lastMove == WalkUp;
        om_XformTickProgress();
        if (XformRunState.escCounter > 200) {
            om_PollUserCancel();
            XformRunState.escCounter = 0;
            if (StatusCode == StatusCancelled) {
                stopped = e;
                break;
            }
        } else {
            ++XformRunState.escCounter;
        }
        IntT t = up ? XT_None : om_XformElementType(d, e);
        StatusCode = 0;
        std::optional<XformAttrs> attrs;
        if (t != XT_None) {
            if (XformAttrs *kept = XformWritten(d, e)) attrs.emplace(std::move(*kept));
            else attrs.emplace(d, e);
            XformForgetWritten(e);
            XformSetCachedAttrs(d, e, &*attrs);
        }
        const IntT keep = attrs && attrs->Raw("qvrn_element") == "Preserve" ? XD_Keep : XD_Remove;
        F_ObjHandleT next = 0;
        bool haveNext = false;
        After after = After::None;
        bool enter = false;
        switch (t) {
        case XT_CopyOf:
        case XT_ValueOf:
            om_XformRunCopyOf(d, e, t);
            after = keep == XD_Keep ? After::None : After::Unwrap;
            break;
        case XT_CreateXRef:
            om_XformRunCreateXRef(d, s, e);
            after = keep == XD_Keep ? After::None : After::Unwrap;
            break;
        case XT_SetAttribute:
        case XT_SetMarker:
            om_XformRunSetAttribute(d, e, t);
            after = keep == XD_Keep ? After::None : After::Delete;
            break;
        case XT_ForEach:
            om_XformRunForEach(d, e);
            after = After::Delete;
            break;
        case XT_If:
            next = om_XformRunIf(d, e);
            haveNext = true;
            break;
        case XT_Choose:
            next = om_XformRunChoose(d, e);
            haveNext = true;
            break;
        case XT_When:
        case XT_Otherwise:
            StatusCode = XformErr::Critical;
            break;
        case XT_Table: {
            F_ObjHandleT r = om_XformRunTable(d, e);
            if (!StatusCode) {
                next = r;
                haveNext = true;
            } else if (StatusCode != StatusCancelled && r != e && r) {
                // The table was made but a row failed: the failure is reported at the table.
                e = r;
            }
            break;
        }
        case XT_Template:
            om_XformRunTemplateCall(d, e);
            enter = true;
            after = keep == XD_Keep ? After::None : After::Unwrap;
            break;
        case XT_Param:
            om_XformRunParam(d, e);
            if (keep != XD_Keep) {
                enter = true;
                after = After::Unwrap;
            }
            break;
        default:
            break;
        }
        XformSetCachedAttrs(0, 0, nullptr);
        if (StatusCode) {
            stopped = e;
            break;
        }
        if (haveNext) {
            e = next;
            continue;
        }
        if (t == XT_None || (t >= XT_TableTitle && t <= XT_Sort) || (t == XT_Param && !enter)) {
            e = om_ElementNextInDocOrder(d, e);
            continue;
        }
        // Skip (or enter) the element, then act on it.
        F_ObjHandleT done = e;
        ElementWalkState.enabled = 1;
        ElementWalkState.lastMove = enter ? WalkDown : WalkUp;
        e = om_ElementNextTagged(d, done);
        if (e == done) {  // entered but nothing tagged inside: go on after it
            ElementWalkState.lastMove = WalkUp;
            e = om_ElementNextTagged(d, done);
        }
        bool upNext = ElementWalkState.lastMove == WalkUp;
        if (after == After::Unwrap) XformUnwrap(d, done);
        else if (after == After::Delete) F_ApiDelete(d, done);
        ElementWalkState.lastMove = upNext ? WalkUp : WalkDown;
        ElementWalkState.enabled = 1;
    }
    if (StatusCode) {
        F_ApiSetInt(0, d, FP_IsOnScreen, 1);
        F_ApiSetInt(0, d, FP_IsInFront, 1);
        if (XformRunState.reportErrors) om_XformReportError(s, d, stopped, StatusCode, XformLevel::Error);
        CancelFlag = 1;
        om_XformCloseProgress();
        return XformResult::RunFailed;
    }
    F_ApiSetInt(0, d, FP_IsOnScreen, 1);
    F_ApiSetInt(0, s, FP_IsInFront, 1);
    F_ApiSetInt(0, d, FP_IsInFront, 1);
    if (XformRunState.updateXRefs) F_ApiUpdateXRefs(d, 7);
    F_ApiSimpleImportElementDefs(d, d, 11);
    return XformResult::Done;
}

IntT om_XformTransformBook(F_ObjHandleT b) {
    XformRunState.escCounter = 0;
    StatusCode = 0;
    CancelFlag = 0;
    F_ObjHandleT target = om_XformPrepareBookComponents(b, XformRunState.reportErrors);
    if (CancelFlag == 1) return XformResult::NotRun;
    if (!target) {
        al_ok(("An unknown, critical error occurred while attempting to prepare the book for transformation. Please "
               "contact Orle Meadow at " + std::string(kSupport) + ".").c_str());
        return XformResult::NotRun;
    }
    IntT result = 0;
    for (F_ObjHandleT comp : BookDocComponents(target)) {
        F_ObjHandleT d = om_BookComponentFindDoc(target, comp);
        if (!d) {
            const auto &skipped = XformRunState.skippedComponents;
            if (std::find(skipped.begin(), skipped.end(), comp) != skipped.end()) continue;
            al_ok("An unknown, critical error occurred during book transformation. A component believed to be open "
                  "could not be located. Please contact Orle Meadow for technical support.");
            CancelFlag = 1;
            return XformResult::RunFailed;
        }
        result = om_XformTransformDocument(d, d);
        if (StatusCode == StatusNoStructure) {
            StatusCode = 0;
            CancelFlag = 0;
            result = 0;
            continue;
        }
        if (CancelFlag == 1) break;
    }
    F_ApiSetInt(0, target, FP_IsInFront, 1);
    XformRunState.target = target;
    return result;
}

IntT om_XformLaunch(IntT mode, IntT openOnly, IntT translate) {
    XformRunState.escCounter = 0;
    CancelFlag = 0;
    StatusCode = 0;
    Launch() = 0;
    if (mode == 0 && openOnly == 0) {
        XformRunState.reportErrors = 1;
        XformRunState.target = F_ApiGetId(0, 0, FP_ActiveDoc);
        XformRunState.targetIsBook = 0;
        if (!XformRunState.target) {
            XformRunState.target = F_ApiGetId(0, 0, FP_ActiveBook);
            XformRunState.targetIsBook = 1;
        }
        if (!XformRunState.target) {
            al_ok("No active book or document.  Cannot continue.");
            return 0;
        }
        FA_errno = 0;
        F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "qv_DialogTransformationSetup");
        if (!dlg) {
            al_ok("A critical error occurred opening the dialog box. Contact Quorvane support");
            CancelFlag = 1;
            return 0;
        }
        Launch() = dlg;
        StringT title = om_LangTranslate(kLaunchGroup,
                                         XformRunState.targetIsBook ? "Transform Book" : "Transform Document", 0, 1);
        F_ApiSetString(0, dlg, FP_Label, title ? title : "");
        om_StrFree(&title);
        om_DlgSetLabel(dlg, LaunchItem::Target, Shortened(XformHostString(0, XformRunState.target, FP_Path)).c_str(),
                       "");
        om_DlgSetChecked(dlg, LaunchItem::Duplicate, XformRunState.duplicate);
        om_XformUpdateDuplicateControls();
        om_XPathCheckNodeLimit();
        om_DlgStripTildes(dlg);
        if (translate) om_LangTranslateDialog(dlg, "", kLaunchGroup, 0, 0, 0, 0, 0, 0);
        F_ApiModalDialog(kDlgTransformationSetup, dlg);
        Launch() = 0;
    } else if (mode == 0 && openOnly == 1) {
        F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "qv_DialogTransformationSetup");
        if (!dlg) {
            al_ok("A critical error occurred opening the dialog box. Contact Quorvane support");
            CancelFlag = 1;
            return 0;
        }
        Launch() = dlg;
        om_DlgStripTildes(dlg);
        om_DlgSetLabel(dlg, LaunchItem::Target, "", "");
        om_DlgSetLabel(dlg, LaunchItem::Folder, "", "");
        F_ApiModelessDialog(kDlgTransformationSetup, dlg);
    }
    if (CancelFlag == 1) return 0;
    if (openOnly == 1) return 0;
    XformRunState.skippedComponents.clear();
    if (!XformRunState.targetIsBook && XformRunState.duplicate) {
        F_ObjHandleT t = XformRunState.target;
        if (F_ApiGetInt(0, t, FP_DocIsModified) == 1) {
            if (mode == 0) {
                IntT &setting = GeneralPreferences.promptXformUnsavedChangesWarning;
                bool yes = AskUnder(setting,
                                    "Quorvane has detected unsaved changes in the document to be   transformed. In order to "
                                    "duplicate it, Quorvane must save it first. Are you   sure you want to continue?",
                                    "\n\nNOTE: You have your preferences set to display this   message only once. It will not "
                                    "appear again during this session unless you   adjust your preferences.");
                if (setting == kPromptOnce) setting = kPromptAskedOnce;  // shown once, whatever the answer
                if (!yes) return 0;
            }
            t = F_ApiSimpleSave(t, XformHostString(0, t, FP_Path).c_str(), 0);
        }
        StatusCode = 0;
        if (t) t = om_XformDuplicateDocument(t, GeneralPreferences.xformFilenameAddendum);
        if (StatusCode || !t) {
            if (mode == 1) return XformResult::NotDuplicated;
            al_ok("A critical error occurred while attempting to duplicate the document. There   may be server or disk "
                  "errors, or problems with the source document that prevent the   creation of a duplicate.  Or, you "
                  "may not have write permissions to the drive where   the document is stored.  Try closing and "
                  "reopening the document manually to see if any   obvious problems exist.");
            return 0;
        }
        XformRunState.target = t;
    }
    if (GeneralPreferences.xformDisableScreenUpdates) om_SessionSetSwitches(0, 0, 0);
    XformOpenedFiles.clear();
    XformRunState.externalXRefs = 0;
    if (mode == 0) {
        XformParams.names.clear();
        XformParams.values.clear();
        XformParams.externalNames.clear();
        XformParams.externalValues.clear();
    }
    IntT result = 0;
    if (!XformRunState.targetIsBook) {
        F_ObjHandleT launched = mode == 0 ? F_ApiGetId(0, 0, FP_ActiveDoc) : 0;
        F_TextRangeT sel{};
        if (launched) sel = F_ApiGetTextRange(0, launched, FP_TextSelection);
        result = om_XformTransformDocument(XformRunState.target, launched);
        IntT status = StatusCode;
        if (launched && F_ApiGetObjectType(0, launched) == FO_Doc) {
            F_ApiSetTextRange(0, launched, FP_TextSelection, &sel);
            F_ApiScrollToText(launched, &sel);
        }
        StatusCode = status;
        if (StatusCode == StatusNoStructure && mode == 0)
            al_ok("Could not find any structure in the active document. No transformation   took place.");
    } else {
        om_XformOpenProgress();
        om_XformUpdateProgress(XformRunState.target, 1, 0);
        XformRunState.bookFolder = FolderOf(XformHostString(0, XformRunState.target, FP_Path));
        result = om_XformTransformBook(XformRunState.target);
    }
    om_SessionSetSwitches(1, 1, 0);
    if (GeneralPreferences.xformCloseOpenedFiles)
        for (F_ObjHandleT id : XformOpenedFiles)
            if (id && id != XformRunState.target) F_ApiClose(id, 1);
    XformOpenedFiles.clear();
    om_XformCloseProgress();
    if (CancelFlag == 0 && mode == 0) al_ok("Transformation complete.");
    if (XformRunState.externalXRefs && mode == 0 && CancelFlag == 0) {
        std::string text =
            "During transformation, Quorvane created one or more external cross-references   with an "
            "QVRN_create-xref element. The source file(s) targeted by these new cross-references   must be saved in "
            "order to preserve the links, because the target elements had their ID   attributes set accordingly. If "
            "you do not save these source files,   the cross-references will be   unresolved the next time you open "
            "the transformed document(s).\n\n  If any of these source files were opened by Quorvane, they remain "
            "open now, even if   you have your preferences set to close all source files opened by Quorvane.  "
            "Please   see your User Guide for more information on this issue.";
        if (GeneralPreferences.promptXformCreateXRefWarning == kPromptAlways) {
            al_ok(text.c_str());
        } else if (GeneralPreferences.promptXformCreateXRefWarning == kPromptOnce) {
            al_ok((text + "\n\nNOTE: You have your   preferences set to   show this warning only once. Unless you "
                          "adjust your preferences, it will not appear   again during this session.")
                      .c_str());
            GeneralPreferences.promptXformCreateXRefWarning = kPromptAskedOnce;
        }
    }
    XformRunState.reportErrors = 1;
    if (result == 0 && CancelFlag == 0) result = static_cast<IntT>(XformRunState.target);
    else if (result == 0) result = 0;
    return result;
}

IntT om_XformTransformFile(F_ObjHandleT target, const std::string &folder, IntT report) {
    XformRunState.target = target;
    XformRunState.targetIsBook = F_OBJ_KIND(target) == FO_Book ? 1 : 0;
    if (EqualCI(folder, "NULL")) {
        XformRunState.duplicate = 0;
    } else {
        XformRunState.duplicate = 1;
        XformRunState.duplicateFolder = XformFolderPrefix(folder);
    }
    XformRunState.reportErrors = report;
    // A call asks no question before a book's duplicate would replace files: the book's own
    // folder, or a folder holding a file of the same name, is refused.
    if (XformRunState.duplicate && XformRunState.targetIsBook) {
        std::string bookFolder = FolderOf(XformHostString(0, target, FP_Path));
        std::string clash = EqualCI(XformRunState.duplicateFolder, bookFolder)
                                ? XformHostString(0, target, FP_Path)
                                : XformDuplicateClash(target, XformRunState.duplicateFolder);
        if (!clash.empty()) {
            if (report)
                al_ok(("The book cannot be duplicated into " + XformRunState.duplicateFolder + ": it would replace " +
                       clash + ". Name an empty folder other than the book's own.")
                          .c_str());
            return XformResult::NotRun;
        }
    }
    XformParams.names = XformParams.externalNames;
    XformParams.values = XformParams.externalValues;
    return om_XformLaunch(1, 0, 0);
}
