// Book and document maintenance (see maintenance.h).
//
// Saving a book into another folder (om_BookSaveAsRenamed): every document of the book is found
// open or opened and given the new path folder + its file name; the book is saved into the folder
// (renaming the open book), the old book reopened beside it, and the two walked side by side:
// each document's cross-references to another file are pointed at that file's new path, the
// document is saved under its new path, and the new book's component takes it. The new book is
// saved once more at the end, so that the file lists the new paths. Paths are compared ignoring
// case and the kind of separator.
#include "lib/dialogs/maintenance.h"

#include <unordered_set>
#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/file_references.h"
#include "lib/host/paths.h"
#include "lib/host/folders.h"
#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr int kFindLimit = 10000;
constexpr int kStepLimit = 10000000;
const char *const kNoFile = "<none>";

// A No-default Yes/No question; a failed alert answers No.
bool AskYes(const std::string &text) {
    FA_errno = 0;
    IntT answer = F_ApiAlert(text.c_str(), FF_ALERT_NO_DEFAULT);
    return FA_errno == 0 && answer == 0;
}

std::string FileName(const std::string &path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A path as compared: separators as "\", case folded.
std::string PathKey(const std::string &path) {
    std::string p = path;
    for (char &c : p)
        if (c == '/') c = '\\';
    return qv::FoldCase(p);
}

// Deletes the first object a document property names until none is left or the host keeps it.
IntT DeleteAllFirst(F_ObjHandleT doc, IntT firstProperty) {
    IntT deleted = 0;
    for (int steps = 0; steps < kStepLimit; ++steps) {
        F_ObjHandleT first = F_ApiGetId(0, doc, firstProperty);
        if (!first) break;
        F_ApiDelete(doc, first);
        if (F_ApiGetId(0, doc, firstProperty) == first) break;  // the host keeps it: nothing more to do
        ++deleted;
    }
    return deleted;
}

// The document of a book component: open already, or opened with the open flag.
F_ObjHandleT ComponentDoc(F_ObjHandleT book, F_ObjHandleT comp, bool open) {
    return om_BookComponentDoc(book, comp, 0, open ? 1 : 0, 1, 1, 1, nullptr);
}

const char *const kAskBook[] = {
    "This will delete every paragraph format out of the entire book, used or unused. Are you sure you want to continue?",
    "This will delete every character format out of the entire book, used or unused. Are you sure you want to continue?",
    "This will delete every unused master page format out of the entire book, except the Left and Right pages. Are you "
    "sure you want to continue?",
    "This will set all referenced graphic file paths to use lower case characters. Are you sure you want to continue?",
    "",
    "This will delete every variable definition out of the of the whole book except for ProductName, "
    "ProductNameShort, IssueNumber, PartNumber, DocumentTitle, and BleedTab(x). Are you sure you want to continue?",
    "This will convert all TIF graphic references to  .png references. Are you sure you want to continue?",
};

const char *const kSummary[] = {
    " paragraph formats deleted throughout the book.", " character formats deleted throughout the book.",
    " master pages deleted throughout the book.",      " graphics processed throughout the book.",
    " xrefs processed throughout the book.",           " variable definitions deleted throughout the book.",
    " graphics processed throughout the book.",
};

IntT RunCleanUp(F_ObjHandleT doc, IntT kind) {
    switch (kind) {
    case CleanUpPgfFormats: return om_DocDeleteFormats(doc, " ", 0);
    case CleanUpCharFormats: return om_DocDeleteFormats(doc, "!", 0);
    case CleanUpMasterPages: return om_DocDeleteUnusedMasterPages(doc, 0);
    case CleanUpGraphicPathsLower: return om_GraphicPathsLowerCase(doc);
    case CleanUpXRefFilesLower: return om_XRefSourceFilesLowerCase(doc);
    case CleanUpVariables: return om_DocDeleteVariables(doc, 0);
    case CleanUpTiffToPng: return om_GraphicPathsTiffToPng(doc);
    default: return -1;
    }
}

// Ends a book save with a failure.
F_ObjHandleT SaveFailed(IntT status, StringT *failed, const std::string &path) {
    StatusCode = status;
    CancelFlag = 1;
    if (failed && !path.empty()) om_StrSet(failed, path.c_str());
    return 0;
}

}  // namespace

bool VariableIsProtected(const std::string &name) {
    static const char *const kKept[] = {"ProductName", "ProductNameShort", "DocumentTitle", "IssueNumber", "PartNumber"};
    for (const char *k : kKept)
        if (name == k) return true;
    return name.rfind("BleedTab", 0) == 0;
}

IntT om_DocDeleteFormats(F_ObjHandleT docId, ConStringT kind, IntT ask) {
    if (!docId) return -1;
    bool pgf = !kind || std::string(kind) != "!";
    if (ask && !AskYes(pgf ? "This will delete every paragraph format out of the active document, used or unused. Are "
                             "you sure you want to continue?"
                           : "This will delete every character format out of the active document, used or unused. Are "
                             "you sure you want to continue?"))
        return -1;
    return DeleteAllFirst(docId, pgf ? FP_FirstPgfFmtInDoc : FP_FirstCharFmtInDoc);
}

IntT om_DocDeleteUnusedMasterPages(F_ObjHandleT docId, IntT ask) {
    if (!docId) return -1;
    if (ask && !AskYes("This will delete every unused master page out of the active document, except for the Left and "
                       "Right pages. Are you sure you want to continue?"))
        return -1;
    std::unordered_set<std::string> used{"Left", "Right"};
    int steps = 0;
    for (F_ObjHandleT p = F_ApiGetId(0, docId, FP_FirstBodyPageInDoc); p && steps < kStepLimit;
         p = F_ApiGetId(docId, p, FP_PageNext), ++steps)
        used.insert(HostGetString(docId, p, FP_MasterPage));
    IntT deleted = 0;
    F_ObjHandleT p = F_ApiGetId(0, docId, FP_FirstMasterPageInDoc);
    while (p && steps++ < kStepLimit) {
        if (used.count(HostGetString(docId, p, FP_Name))) {
            p = F_ApiGetId(docId, p, FP_PageNext);
            continue;
        }
        FA_errno = 0;
        F_ApiDelete(docId, p);
        if (FA_errno) break;  // the host keeps it: a restart would find it again
        ++deleted;
        p = F_ApiGetId(0, docId, FP_FirstMasterPageInDoc);
    }
    return deleted;
}

IntT om_DocDeleteVariables(F_ObjHandleT docId, IntT ask) {
    if (!docId) return -1;
    if (ask && !AskYes("This will delete every variable definition out of the of the active document except for "
                       "ProductName, ProductNameShort, IssueNumber, PartNumber, DocumentTitle, and BleedTab(x). Are you "
                       "sure you want to continue?"))
        return -1;
    IntT deleted = 0;
    int steps = 0;
    for (F_ObjHandleT v = F_ApiGetId(0, docId, FP_FirstVarFmtInDoc); v && steps < kStepLimit; ++steps) {
        F_ObjHandleT next = F_ApiGetId(docId, v, FP_NextVarFmtInDoc);
        if (!F_ApiGetInt(docId, v, FP_VarIsSystemVar) && !VariableIsProtected(HostGetString(docId, v, FP_Name))) {
            FA_errno = 0;
            F_ApiDelete(docId, v);
            if (!FA_errno) ++deleted;
        }
        v = next;
    }
    return deleted;
}

IntT om_BookCleanUp(F_ObjHandleT bookId, IntT kind, IntT open, IntT ask, IntT summary) {
    if (!bookId || kind < CleanUpPgfFormats || kind > CleanUpTiffToPng) return -1;
    if (ask && kind != CleanUpXRefFilesLower && !AskYes(kAskBook[kind - 1])) return -1;
    IntT total = 0;
    bool incomplete = false;
    for (F_ObjHandleT comp : BookDocComponents(bookId)) {
        F_ObjHandleT doc = ComponentDoc(bookId, comp, open != 0);
        if (!doc) {
            incomplete = true;
            continue;
        }
        IntT n = RunCleanUp(doc, kind);
        if (n >= 0) total += n;
    }
    if (summary) {
        std::string text = std::to_string(total) + kSummary[kind - 1] + "\n\n Note that no files have been saved.";
        F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
    }
    if (ask && incomplete)
        F_ApiAlert(open ? "Some files in the book are not currently open, and could not be opened for some reason. These "
                          "files were not processed. Try opening the book chapters manually to see what the problem "
                          "might be."
                        : "Some files in the book are not currently open. These files were not processed.",
                   FF_ALERT_CONTINUE_WARN);
    return total;
}

IntT om_DocFindAndPaste(F_ObjHandleT docId, ConStringT text, IntT paste) {
    if (!docId) {
        F_ApiAlert("No document ID sent. Can't continue.", FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_TextRangeT saved = F_ApiGetTextRange(0, docId, FP_TextSelection);
    F_ObjHandleT flow = F_ApiGetId(0, docId, FP_MainFlowInDoc);
    if (!flow) {
        F_ApiAlert("Couldn't find the main flow.", FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_ObjHandleT frame = F_ApiGetId(docId, flow, FP_FirstTextFrameInFlow);
    if (!frame) {
        F_ApiAlert("Couldn't find the first text frame of the main flow.", FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_ObjHandleT pgf = F_ApiGetId(docId, frame, FP_FirstPgf);
    if (!pgf) {
        F_ApiAlert("Couldn't find the first paragraph in the flow.", FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_TextRangeT at{{pgf, 0}, {pgf, 0}};
    F_ApiSetTextRange(0, docId, FP_TextSelection, &at);
    F_PropValT entries[2] = {};
    entries[0].propIdent = FS_FindText;
    entries[0].propVal.valType = FT_String;
    entries[0].propVal.sval = const_cast<StringT>(text ? text : "");
    entries[1].propIdent = FS_FindFlags;
    entries[1].propVal.valType = FT_Integer;
    F_PropValsT params{2, entries};
    IntT pasted = 0;
    FA_errno = 0;
    F_TextLocT from = at.beg;
    F_TextRangeT found = F_ApiFind(docId, &from, &params);
    for (int finds = 1; FA_errno == 0 && finds <= kFindLimit; ++finds) {
        F_ApiSetTextRange(0, docId, FP_TextSelection, &found);
        from = found.end;
        if (paste) {
            F_ApiPaste(docId, 0);
            if (FA_errno == 0) {
                ++pasted;
                // Go on after what was pasted, so that pasted text holding the text is not found again.
                from = F_ApiGetTextRange(0, docId, FP_TextSelection).end;
            }
        }
        FA_errno = 0;
        if (finds % 10 == 0 && om_CheckUserCancel("")) break;
        found = F_ApiFind(docId, &from, &params);
    }
    F_ApiSetTextRange(0, docId, FP_TextSelection, &saved);
    F_ApiScrollToText(docId, &saved);
    return pasted;
}

F_ObjHandleT om_BookSaveAsRenamed(F_ObjHandleT bookId, ConStringT folder, StringT *failed, IntT deletePlaceholders,
                                  IntT fixReferences) {
    StatusCode = 0;
    CancelFlag = 0;
    if (!bookId) return SaveFailed(StatusNoDocument, failed, "");
    std::string dir = folder ? folder : "";
    if (dir.empty() || !om_DirExists(dir.c_str())) return SaveFailed(StatusCannotList, failed, dir);
    if (dir.back() != '\\' && dir.back() != '/') dir += '\\';

    // Old path -> new path of every document of the book ("<none>" for a placeholder).
    std::vector<std::pair<std::string, std::string>> moves;
    for (F_ObjHandleT comp : BookDocComponents(bookId)) {
        if (om_CheckUserCancel("")) return SaveFailed(StatusCancelled, failed, "");
        std::string path = HostGetString(bookId, comp, FP_Path);
        if (HostGetString(bookId, comp, FP_ComponentText) == kNoFile) {
            moves.emplace_back(path, kNoFile);
            continue;
        }
        F_ObjHandleT doc = ComponentDoc(bookId, comp, true);
        if (!doc) return SaveFailed(StatusComponentNotOpened, failed, path);
        moves.emplace_back(path, dir + FileName(HostGetString(0, doc, FP_Path)));
    }
    auto newPathOf = [&](const std::string &old) -> const std::string * {
        std::string key = PathKey(old);
        for (const auto &m : moves)
            if (PathKey(m.first) == key) return &m.second;
        return nullptr;
    };

    std::string oldBookPath = HostGetString(0, bookId, FP_Path);
    std::string newBookPath = dir + FileName(oldBookPath);
    FA_errno = 0;
    F_ObjHandleT newBook = om_DocSave(bookId, newBookPath.c_str(), FV_SaveFmtBinary, 0, 0, 0);
    std::string savedPath = newBook ? HostGetString(0, newBook, FP_Path) : "";
    if (!newBook || FA_errno || PathKey(savedPath) == PathKey(oldBookPath) ||
        (newBookPath.find("..") == std::string::npos && PathKey(savedPath) != PathKey(newBookPath)))
        return SaveFailed(StatusBookNotSaved, failed, newBookPath);

    F_ObjHandleT oldBook = om_DocOpen(oldBookPath.c_str(), 0, 0, 1, 1, 0, 1);
    if (!oldBook) return SaveFailed(StatusBookNotSaved, failed, oldBookPath);
    std::vector<F_ObjHandleT> oldComps = BookDocComponents(oldBook), newComps = BookDocComponents(newBook);
    for (size_t i = 0; i < oldComps.size() && i < newComps.size(); ++i) {
        if (om_CheckUserCancel("")) return SaveFailed(StatusCancelled, failed, "");
        std::string path = HostGetString(oldBook, oldComps[i], FP_Path);
        om_DlgSetStatusLines("*", ("  Processing...  " + FileName(path)).c_str(), "*", "*");
        F_ObjHandleT doc = ComponentDoc(oldBook, oldComps[i], false);
        if (!doc) return SaveFailed(StatusIndexOutOfRange, failed, path);
        const std::string *target = newPathOf(path);
        if (target && *target == kNoFile) {
            F_ApiSetString(newBook, newComps[i], FP_ComponentText, kNoFile);
            F_ApiClose(doc, 1);
            continue;
        }
        int steps = 0;
        for (F_ObjHandleT x = F_ApiGetId(0, doc, FP_FirstXRefInDoc); x && steps < kStepLimit;
             x = F_ApiGetId(doc, x, FP_NextXRefInDoc), ++steps) {
            std::string source = HostGetString(doc, x, FP_XRefFile);
            if (source.empty()) continue;
            std::string to;
            if (const std::string *moved = newPathOf(source))
                to = *moved == kNoFile ? dir + FileName(source) : *moved;
            else if (fixReferences)
                to = dir + FileName(source);
            if (!to.empty()) F_ApiSetString(doc, x, FP_XRefFile, to.c_str());
        }
        std::string newPath = target ? *target : dir + FileName(path);
        if (!om_DocSave(doc, newPath.c_str(), FV_SaveFmtBinary, 0, 0, 0))
            return SaveFailed(StatusDocNotSaved, failed, newPath);
        F_ApiSetString(newBook, newComps[i], FP_Path, newPath.c_str());
    }
    if (oldBook != newBook) F_ApiClose(oldBook, 1);
    if (deletePlaceholders)
        for (F_ObjHandleT comp : BookDocComponents(newBook))
            if (HostGetString(newBook, comp, FP_ComponentText) == kNoFile) F_ApiDelete(newBook, comp);
    if (!om_DocSave(newBook, newBookPath.c_str(), FV_SaveFmtBinary, 0, 0, 0))
        return SaveFailed(StatusBookNotSaved, failed, newBookPath);
    return newBook;
}

IntT om_BookCloseComponents(F_ObjHandleT bookId, IntT closeBook, IntT save) {
    IntT result = 0;
    if (!bookId) return result;
    for (F_ObjHandleT comp : BookDocComponents(bookId))
        if (F_ObjHandleT doc = ComponentDoc(bookId, comp, false)) result = om_DocClose(doc, save);
    if (closeBook) result = om_DocClose(bookId, save);
    return result;
}

IntT om_DocCloseTagged(IntT invisibleOnly, ConStringT value, ConStringT rootTag) {
    std::string want = value ? value : "", tag = rootTag ? rootTag : "";
    IntT closed = 0;
    for (int steps = 0; steps < kStepLimit; ++steps) {
        F_ObjHandleT hit = 0;
        for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d && !hit; d = F_ApiGetId(0, d, FP_NextOpenDocInSession)) {
            if (invisibleOnly && F_ApiGetInt(0, d, FP_IsOnScreen)) continue;
            FA_errno = 0;
            F_ObjHandleT v = F_ApiGetNamedObject(d, FO_VarFmt, "OrleMeadowTag");
            if (!v || HostGetString(d, v, FP_Fmt) != want) continue;
            if (!tag.empty()) {
                F_ObjHandleT root = om_ElementHighestLevel(d, "Main", 0);
                if (!root || HostElementDefName(d, root) != tag) continue;
            }
            hit = d;
        }
        if (!hit || F_ApiClose(hit, 1) != 0) break;
        ++closed;
    }
    return closed;
}

F_ObjHandleT om_BookSaveAll(F_ObjHandleT bookId, IntT components) {
    if (!bookId) return 0;
    if (!om_DocSave(bookId, "", -1, 0, 0, 0)) return 0;
    if (components)
        for (F_ObjHandleT comp : BookDocComponents(bookId))
            if (F_ObjHandleT doc = ComponentDoc(bookId, comp, false))
                if (!om_DocSave(doc, "", -1, 0, 0, 0)) return 0;
    return bookId;
}

F_ObjHandleT om_DocSaveAs(F_ObjHandleT docId, ConStringT path) { return om_DocSave(docId, path, -1, 0, 0, 0); }
