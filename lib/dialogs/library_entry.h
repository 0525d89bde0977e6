// Entry points into the library's book and document operations that no command of the plug-in
// reaches, exported by the module under plain C names ("qv_Library" + the operation) so that the
// host's session scripts can run them: each takes one text argument (a path, or "" when the
// operation takes none), works on the active document or book, and answers an integer.
#pragma once

#include "fdk.h"

extern "C" {
// om_BookWordCount of the active book, opening closed chapters, with the summary alert.
IntT qv_LibraryBookWordCount(ConStringT argument);
// om_DocWordCount of the active document.
IntT qv_LibraryDocWordCount(ConStringT argument);
// om_BookSaveAsRenamed of the active book into the folder, references fixed; 0, or the StatusCode
// of the failure (with the failing path in an alert).
IntT qv_LibraryBookSaveAsRenamed(ConStringT folder);
// om_XRefSourceFilesLowerCase of the active document (which updates its cross-references).
IntT qv_LibraryXRefSourceFilesLowerCase(ConStringT argument);
}
