// Exported entry points into the library's book and document operations (see library_entry.h).
#include "lib/dialogs/library_entry.h"

#include <string>

#include "lib/dialogs/maintenance.h"
#include "lib/dialogs/wordcount.h"
#include "lib/globals.h"
#include "lib/host/file_references.h"
#include "lib/strings/heapstr.h"

extern "C" {

IntT qv_LibraryBookWordCount(ConStringT) { return om_BookWordCount(0, 1, 1); }

IntT qv_LibraryDocWordCount(ConStringT) { return om_DocWordCount(F_ApiGetId(0, 0, FP_ActiveDoc)); }

IntT qv_LibraryBookSaveAsRenamed(ConStringT folder) {
    StringT failed = nullptr;
    F_ObjHandleT book = om_BookSaveAsRenamed(F_ApiGetId(0, 0, FP_ActiveBook), folder, &failed, 0, 1);
    if (!book && failed) F_ApiAlert(("The book could not be saved: " + std::string(failed)).c_str(), FF_ALERT_CONTINUE_WARN);
    om_StrFree(&failed);
    return book ? 0 : StatusCode;
}

IntT qv_LibraryXRefSourceFilesLowerCase(ConStringT) {
    return om_XRefSourceFilesLowerCase(F_ApiGetId(0, 0, FP_ActiveDoc));
}

}  // extern "C"
