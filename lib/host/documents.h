// Open documents: how an open document or book is found by id, path, file name or window label,
// the lists of open documents and books in the host's order, and the small host-wide operations
// (active book, activate a document, is it open, which kind, the structure view).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The text untitled documents and books compare by in place of a path.
inline constexpr const char *kUnsavedDocument = "(Unsaved document)";
// The window label of the host's structure view of a document.
inline constexpr const char *kStructureViewLabel = "Structure View";

F_ObjHandleT om_BookActive();
F_ObjHandleT om_DocActivate(F_ObjHandleT docId);
IntT om_BookIsId(F_ObjHandleT id);
IntT om_DocIsOpen(F_ObjHandleT id);
IntT om_BookIsOpen(F_ObjHandleT id);
IntT om_DocKindIfOpen(IntT, F_ObjHandleT id);
IntT om_DocIsStructureView(F_ObjHandleT docId);
F_ObjHandleT om_DocFindStructureView();

std::vector<UIntT> om_DocGetOpenIds(IntT books, IntT invisible, IntT untitled);
std::vector<std::string> om_DocGetOpenPaths(IntT docs, IntT books, IntT skipStructureView, IntT invisible,
                                            IntT fileNames, F_ObjHandleT skipId);
F_ObjHandleT om_DocFindByPath(const std::string &path);
F_ObjHandleT om_BookFindByPath(const std::string &path);
F_ObjHandleT om_DocFindByLabel(const std::string &label, IntT, IntT contains, IntT caseFlag);
F_ObjHandleT om_DocFindOpen(const std::string &text, IntT contains, IntT books);

F_ObjHandleT om_ObjectIdFromText(F_ObjHandleT docId, const std::string &text);
std::vector<std::string> om_DocGetOpenNames(IntT books, IntT invisible, IntT untitled, IntT fileNames);
std::vector<std::string> om_DocGetOpenNamesShort(IntT paths, IntT invisible, IntT cutCount, const std::string &prefix,
                                                 std::vector<UIntT> *ids);
F_ObjHandleT om_DocFindByRootTag(const std::string &tag, IntT caseFlag);
F_ObjHandleT om_DocFindByPathLast(const std::string &path);
void om_DocBringToFront(F_ObjHandleT id, IntT makeActive);
void om_DocRefreshWindow(F_ObjHandleT docId);
F_ObjHandleT om_DocReopenStructureView(IntT force);

// A path with "/" turned into "\", doubled separators (but a leading UNC "\\") made single and
// trailing separators and blanks removed.
std::string DocPathNormalized(const std::string &path);
// The part after the last "\" of the normalised path ("" for an empty path).
std::string DocPathFileName(const std::string &path);
// The document's or book's path, or "(Unsaved document)" when it has none.
std::string DocPathOrUnsaved(F_ObjHandleT id);
