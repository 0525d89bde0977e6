// Document and book duplication: a document's duplicate is a second copy of its saved file
// beside it under a suffixed name; a book is saved with all its documents into another folder
// and the cross-references between its components relinked. Also opens a book's components for
// a transformation in place.
#include <algorithm>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

namespace {

const char *const kSupport = "support@orlemeadow.example";

std::string FileName(const std::string &path) {
    size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

F_ObjHandleT OpenPlain(const std::string &path) { return om_DocOpenPlain(path.c_str()); }

}  // namespace

std::string XformFolderPrefix(const std::string &folder) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
    return folder + '\\';
}

std::string XformDuplicateClash(F_ObjHandleT book, const std::string &prefix) {
    std::vector<std::string> targets{prefix + FileName(XformHostString(0, book, FP_Path))};
    for (F_ObjHandleT comp : BookDocComponents(book)) {
        F_ObjHandleT d = om_BookComponentFindDoc(book, comp);
        targets.push_back(prefix + FileName(d ? XformHostString(0, d, FP_Path) : XformHostString(book, comp, FP_Name)));
    }
    for (const std::string &t : targets)
        if (om_FileExists(t.c_str())) return t;
    return {};
}

void om_XformPresetOpenParams(F_PropValsT *params) {
    if (!params) return;
    const IntT preset[][2] = {{2, 0},  {3, 1},  {23, 1}, {28, 1}, {22, 1},  {25, 1}, {5, 1},  {29, 1},
                              {42, 0}, {30, 0}, {40, 1}, {24, 11}, {15, 3}, {35, 3}, {36, 3}, {14, 3}};
    for (const auto &p : preset) {
        IntT i = F_ApiGetPropIndex(params, p[0]);
        if (i >= 0) params->val[i].propVal.ival = p[1];
    }
}

F_ObjHandleT om_XformDuplicateDocument(F_ObjHandleT doc, const std::string &suffix) {
    StatusCode = 0;
    std::string path = XformHostString(0, doc, FP_Path);
    if (path.size() < 3) return StatusCode = XformErr::DocNotDuplicated, 0;
    // A second document from the saved file: the user's window stays on the original.
    F_PropValsT params = F_ApiGetOpenDefaultParams();
    om_XformPresetOpenParams(&params);
    F_PropValsT *ret = nullptr;
    F_ObjHandleT copy = F_ApiOpen(path.c_str(), &params, &ret);
    F_ApiDeallocatePropVals(&params);
    if (ret) F_ApiDeallocatePropVals(ret);
    if (!copy || copy == doc) return StatusCode = XformErr::DocNotDuplicated, 0;
    F_ApiSetInt(0, copy, FP_ScreenX, F_ApiGetInt(0, doc, FP_ScreenX) + 5);
    F_ApiSetInt(0, copy, FP_ScreenY, F_ApiGetInt(0, doc, FP_ScreenY) + 5);
    F_ApiSetMetric(0, copy, FP_DocMetric, F_ApiGetMetric(0, doc, FP_DocMetric));
    for (IntT prop : {FP_DocSwitch2, FP_DocSwitch1, FP_DocSwitch3, FP_ViewMode})
        F_ApiSetInt(0, copy, prop, F_ApiGetInt(0, doc, prop));
    std::string target = path.substr(0, path.size() - 3) + suffix + ".fm";
    if (F_ObjHandleT open = om_DocFindByPath(target); open && open != doc && open != copy) F_ApiClose(open, 1);
    FA_errno = 0;
    F_ObjHandleT saved = F_ApiSimpleSave(copy, target.c_str(), 0);
    if (!saved) {
        F_ApiClose(copy, 1);  // no stray second copy of the original is left open
        return StatusCode = XformErr::DocNotDuplicated, 0;
    }
    return saved;
}

F_ObjHandleT om_XformPrepareBookComponents(F_ObjHandleT book, IntT report) {
    StatusCode = 0;
    CancelFlag = 0;
    for (F_ObjHandleT comp : BookDocComponents(book)) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) {
            if (report) al_ok("Transformation aborted during the file opening process. No files were altered.");
            CancelFlag = 1;
            return 0;
        }
        F_ObjHandleT d = om_BookComponentFindDoc(book, comp);
        std::string path = XformHostString(book, comp, FP_Name);
        if (!d) {
            d = OpenPlain(path);
            if (d) om_XformRememberOpenedFile(d);
        }
        if (!d) {
            if (report && XformRunState.duplicate) {
                al_ok(("Could not open the book component " + path +
                       ". The file may be in use, have font errors, or other problems opening.  Because you are "
                       "attempting a \"duplicate book\" transformation, this process must abort, because Quorvane "
                       "can't duplicate a book without opening all the files first.\n\nTry opening the file manually "
                       "to see what the problem is. If you open all book files manually before attempting a "
                       "transformation, you will not receive this error.")
                          .c_str());
                CancelFlag = 1;
                StatusCode = StatusComponentNotOpened;
                return 0;
            }
            if (report && al_yesno(("Could not open the book component " + path +
                                    ". The file may be in use, have font errors, or other problems opening.  Do you "
                                    "want to continue?\n\nIf you do continue, the transformation should occur as "
                                    "normal, except that this file will not be processed. However, if it is the "
                                    "source file for any of your QVRN element XPath expressions, the transformation "
                                    "will abort when one of those elements is reached. Therefore, it is recommended "
                                    "that you click \"No\" to cancel the transformation and find out what the problem "
                                    "is before proceeding.\n\nIf you open all book files manually before attempting a "
                                    "transformation, you will not receive this error.")
                                       .c_str())) {
                XformRunState.skippedComponents.push_back(comp);
                continue;
            }
            CancelFlag = 1;
            StatusCode = StatusComponentNotOpened;
            return 0;
        }
        om_XformUpdateProgress(0, d, 1);
    }
    if (!XformRunState.duplicate) return book;
    std::string failing;
    F_ObjHandleT result = om_XformDuplicateBook(book, XformRunState.duplicateFolder, &failing);
    if (!result && !StatusCode) {
        CancelFlag = 1;
        StatusCode = XformErr::BookNotDuplicated;
    }
    if (StatusCode) {
        if (report) {
            std::string msg;
            switch (StatusCode) {
            case XformErr::Cancelled: msg = "Tranformation cancelled by user."; break;
            case StatusComponentNotOpened:
                msg = "Could not open the book component, " + failing +
                      ", to duplicate the book. Transformation cannot continue.";
                break;
            case StatusOriginalBookNotSaved:
                msg = "Could not save the original book, " + failing +
                      ", for duplication purposes. Transformation cannot continue.\n\nThis is a critical error. If you "
                      "are sure that there are no disk problems, contact Orle Meadow at " + kSupport;
                break;
            case StatusBookNotSaved:
                msg = "Could not save the new book, " + failing +
                      ", for duplication purposes. Transformation cannot continue.\n\nThis is a critical error. If you "
                      "are sure that there are no disk problems, contact Orle Meadow at " + kSupport +
                      ". \n\nIf you are receiving this message during an external call to Quorvane, there is probably "
                      "an error in your specified duplication folder. Check your call string.";
                break;
            case StatusDocNotSaved:
                msg = "Could not resave a version of the document, " + failing +
                      ", for duplication purposes. Transformation cannot continue.\n\nThis is a critical error. If you "
                      "are sure that there are no disk problems, contact Orle Meadow at " + kSupport;
                break;
            default:
                msg = std::string("An unknown, critical error occurred while attempting to duplicate the book. Please "
                                  "contact Orle Meadow at ") + kSupport + ".";
            }
            al_ok(msg.c_str());
            al_ok("Transformation was aborted during the transfer of your book to the new folder. This may have left "
                  "files open in the new folder, original folder, or both. It is highly recommended that before doing "
                  "any troubleshooting work, you should close all open documents and reopen the original book.");
        }
        CancelFlag = 1;
        return 0;
    }
    return result;
}

F_ObjHandleT om_XformDuplicateBook(F_ObjHandleT book, const std::string &folderAsGiven, std::string *failing) {
    const std::string folder = XformFolderPrefix(folderAsGiven);
    StatusCode = 0;
    CancelFlag = 0;
    if (!book) return StatusCode = StatusNoDocument, CancelFlag = 1, 0;
    std::vector<std::string> originals, fresh;
    for (F_ObjHandleT comp : BookDocComponents(book)) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return 0;
        std::string path = XformHostString(book, comp, FP_Name);
        F_ObjHandleT d = om_BookComponentFindDoc(book, comp);
        if (!d) d = OpenPlain(path);
        if (!d) return *failing = path, StatusCode = StatusComponentNotOpened, CancelFlag = 1, 0;
        std::string target = folder + FileName(XformHostString(0, d, FP_Path));
        // Two components of the same file name would be saved over each other.
        for (const std::string &f : fresh)
            if (Lower(f) == Lower(target)) return *failing = path, StatusCode = StatusDocNotSaved, CancelFlag = 1, 0;
        originals.push_back(path);
        fresh.push_back(target);
        om_XformUpdateProgress(0, d, 1);
    }
    std::string bookPath = XformHostString(0, book, FP_Path);
    if (!F_ApiSimpleSave(book, bookPath.c_str(), 0))
        return *failing = bookPath, StatusCode = StatusOriginalBookNotSaved, CancelFlag = 1, 0;
    std::string newBookPath = folder + FileName(bookPath);
    F_ObjHandleT newBook = F_ApiSimpleSave(book, newBookPath.c_str(), 0);
    if (!newBook) return *failing = newBookPath, StatusCode = StatusBookNotSaved, CancelFlag = 1, 0;
    F_ObjHandleT original = om_BookFindByPath(bookPath);
    if (!original) original = om_DocOpenPlain(bookPath.c_str());
    if (!original) return *failing = bookPath, StatusCode = StatusBookNotSaved, CancelFlag = 1, 0;
    std::vector<F_ObjHandleT> oldComps = BookDocComponents(original), newComps = BookDocComponents(newBook);
    for (size_t i = 0; i < oldComps.size() && i < newComps.size(); ++i) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return 0;
        F_ObjHandleT d = om_BookComponentFindDoc(original, oldComps[i]);
        if (!d) return StatusCode = XformErr::BookNotDuplicated, 0;
        for (F_ObjHandleT x = F_ApiGetId(0, d, FP_FirstXRefInDoc); x; x = F_ApiGetId(d, x, FP_NextXRefInDoc)) {
            std::string src = XformHostString(d, x, FP_XRefFile);
            if (src.empty()) continue;
            auto it = std::find(originals.begin(), originals.end(), src);
            if (it != originals.end())
                F_ApiSetString(d, x, FP_XRefFile, fresh[size_t(it - originals.begin())].c_str());
        }
        om_XformUpdateProgress(0, d, 1);
        std::string target = folder + FileName(XformHostString(0, d, FP_Path));
        if (!F_ApiSimpleSave(d, target.c_str(), 0)) {
            *failing = target;
            StatusCode = StatusDocNotSaved;
            CancelFlag = 1;
            return original;
        }
        F_ApiSetString(newBook, newComps[i], FP_Name, target.c_str());
    }
    if (original != newBook) F_ApiClose(original, 1);
    return newBook;
}
