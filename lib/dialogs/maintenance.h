// Book and document maintenance: deleting all paragraph or character formats, unused master
// pages or the unprotected variable definitions; running one clean-up over every document of a
// book; finding a text throughout a main flow and pasting the clipboard over it; saving a book
// with all its documents into another folder with their cross-references rewritten; closing,
// saving and closing-by-tag of documents.
#pragma once

#include <string>

#include "fdk.h"

// Book clean-up kinds.
enum : IntT {
    CleanUpPgfFormats = 1,
    CleanUpCharFormats = 2,
    CleanUpMasterPages = 3,
    CleanUpGraphicPathsLower = 4,
    CleanUpXRefFilesLower = 5,
    CleanUpVariables = 6,
    CleanUpTiffToPng = 7,
};

// Deletes every paragraph (kind " ") or character ("!") format, asking first with the ask flag;
// the number deleted, -1 without a document or when not confirmed. A format the host keeps
// (every document keeps one paragraph format) ends the deletion.
IntT om_DocDeleteFormats(F_ObjHandleT docId, ConStringT kind, IntT ask);
// Deletes every master page no body page uses, except "Left" and "Right"; the number deleted,
// -1 without a document or when not confirmed.
IntT om_DocDeleteUnusedMasterPages(F_ObjHandleT docId, IntT ask);
// Deletes every user variable definition but the protected ones ("ProductName",
// "ProductNameShort", "DocumentTitle", "IssueNumber", "PartNumber", "BleedTab..."); the number
// deleted, -1 without a document or when not confirmed.
IntT om_DocDeleteVariables(F_ObjHandleT docId, IntT ask);
// True when a variable definition of that name is never deleted.
bool VariableIsProtected(const std::string &name);
// Runs one clean-up kind (1-7) on every document of the book; the sum of the counts, -1 without a
// book, for another kind or when not confirmed.
IntT om_BookCleanUp(F_ObjHandleT bookId, IntT kind, IntT open, IntT ask, IntT summary);
// Finds every occurrence of the text in the main flow, pasting the clipboard over each with the
// paste flag; the number of pastes.
IntT om_DocFindAndPaste(F_ObjHandleT docId, ConStringT text, IntT paste);
// Saves the book and its documents into the folder with their cross-references' source files
// rewritten to the new paths; the new book, or 0 with StatusCode and the failing path in *failed.
F_ObjHandleT om_BookSaveAsRenamed(F_ObjHandleT bookId, ConStringT folder, StringT *failed, IntT deletePlaceholders,
                                  IntT fixReferences);
// Closes every open document of the book (saving first with the flag), and the book with the
// close-book flag; the last close result.
IntT om_BookCloseComponents(F_ObjHandleT bookId, IntT closeBook, IntT save);
// Closes, discarding changes, every open document (invisible ones only with the flag) whose
// variable "OrleMeadowTag" is defined as the value and whose "Main" root has the tag (any when
// empty); the number closed.
IntT om_DocCloseTagged(IntT invisibleOnly, ConStringT value, ConStringT rootTag);
// Saves the book and with the flag every open document of it; the book, or 0 when a save failed.
F_ObjHandleT om_BookSaveAll(F_ObjHandleT bookId, IntT components);
// Saves the document under the path.
F_ObjHandleT om_DocSaveAs(F_ObjHandleT docId, ConStringT path);
