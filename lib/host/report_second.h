// The element-based report writer kept for another tool of the maker's: a structured report
// opened from a template whose path the writer's state holds, with a title element for one of
// the tool's report kinds (100 to 107), a date and time, and entries whose element is chosen by an
// entry kind; each entry carries an "id" attribute with its unique id, an optional "Hypertext"
// marker linking to a document or object, and a message of up to three texts. A template that
// cannot be opened is reported once; the writer then stays silent.
#pragma once

#include <string>

#include "fdk.h"

struct SecondReportState {
    std::string templatePath;
    F_ObjHandleT doc = 0;
    bool failed = false;  // the template could not be opened (reported once)
};
extern SecondReportState SecondReport;

// Sets the template path (and forgets an earlier failure).
void om_ReportSecondSetTemplate(ConStringT path);
// The open report, or one opened from the template with the title of the report kind; 0 when the
// template cannot be opened or has no highest-level element.
F_ObjHandleT om_ReportSecondOpen(IntT reportKind);
// The element tag of an entry kind (1 to 15; "SingleLine" for any other).
const char *om_ReportSecondTag(IntT entryKind);
// Appends an entry; its element, or 0 (with an alert) when it cannot be inserted.
F_ObjHandleT om_ReportSecondAddEntry(IntT entryKind, F_ObjHandleT linkDoc, ConStringT path, F_ObjHandleT linkObj,
                                     ConStringT text1, ConStringT text2, ConStringT text3);
// Closes the report without saving.
void om_ReportCloseSecond(void);
