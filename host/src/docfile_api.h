// Opening and saving document files: the work behind F_ApiOpen, F_ApiSave and F_ApiSimpleSave,
// also for host code that opens or saves on the user's behalf.
#pragma once

#include <string>

#include "fdk.h"

namespace host {

// Save formats the host writes (save parameter 1); others are refused.
enum class SaveFormat { Native = FV_SaveFmtBinary, Text = FV_SaveFmtText, Xml = FV_SaveFmtXml };

// The open document of that file, or 0; with shownOnly, only one that is not hidden.
F_ObjHandleT OpenDocumentOfFile(const std::string &windowsPath, bool shownOnly = false);

// Opens a document file (native, or plain XML by its content or its ".xml" ending) as a new
// document; a file open already is not read again (its document comes forward and is returned)
// unless a second copy is asked for, which is a new, independent document with the same path.
// A template (a native file with the setting "template" 1) opens as an untitled copy (no path,
// labelled with the file name) every time. On failure: 0, FA_errno set, and the user is
// shown a message naming the file (and the line, for a file that is not well-formed); no
// document is left behind.
F_ObjHandleT OpenDocumentFile(const std::string &windowsPath, bool visible, bool secondCopy = false);

// Writes an open document to a file in a format (code of save parameter 1); an empty path means
// the document's own. A save under another path renames the document (its path and default
// label change, the id stays) and any save clears the modified flag. 0 and FA_errno on failure:
// FE_BadDocId, FE_Unsupported for MIF, SGML, filters and PDF, FE_BadParameter without a path,
// FE_BadOperation for a document that cannot be expressed in the format, FE_FileWrite. The
// file is replaced safely (safe_save.h); an untitled document (no path) needs a path.
F_ObjHandleT SaveDocumentFile(F_ObjHandleT doc, const std::string &windowsPath, int format);

// Why the last save that failed failed, in words for the user ("No space left on device", "the
// file is read-only", ...); "" after a save that worked.
const std::string &LastSaveFailure();
// Fails a save: FA_errno := code, and `why` becomes LastSaveFailure(). Returns 0.
F_ObjHandleT RefuseSave(IntT code, const std::string &why);

// The save format a path's ending asks for: ".xml" 10, ".sgml" 7, ".mif" 1, ".txt" 6, ".pdf" 9,
// else 0 (case ignored).
int SaveFormatForPath(const std::string &path);

}  // namespace host
