// The transformation's codes: the failures a run or the stylesheet check leaves in StatusCode
// and writes to the error report, and the report's two levels. transform/errors.cpp gives each
// failure its message; the Node Wizard Scripts reuse the code of a fresh document queried
// without a leading slash. The numbers are fixed (the report log and other clients see them);
// the names are what the code uses.
#pragma once

#include "fdk.h"
#include "lib/globals.h"

namespace XformErr {
enum : IntT {
    Cancelled = StatusCancelled,            // the user confirmed a cancel
    MissingMarkup = StatusNoAttributes,     // a stylesheet element lacks its attributes
    BookNotDuplicated = 220,                // a book duplication failed without a cause of its own
    NoSelect = 401,                         // a select attribute without an expression
    BadExpression = 402,                    // a select or test that does not compile
    SourceNotOpened = 403,
    NoContextDocument = 405,
    ChapterNotOpened = 406,
    FreshDocNeedsRoot = 407,                // a fresh document queried without a leading slash
    Critical = 408,
    ValueOfTable = 409,                     // a value-of matched a table or a table part
    // A copy of a table part into the stylesheet, in the order of the parts (title to cell).
    CopiedTableTitle = 410,
    CopiedTableHeading = 411,
    CopiedTableBody = 412,
    CopiedTableFooting = 413,
    CopiedTableRow = 414,
    CopiedTableCell = 415,
    DocNotDuplicated = 416,                 // no message: the duplication reports it itself
    BadChoose = 417,
    WhenOutsideChoose = 418,
    OtherwiseOutsideChoose = 419,
    BadTableChildren = 420,                 // the table's parts are missing or out of order
    BadTableChild = 421,
    BadColumnCount = 422,
    BadTablePartChild = 423,                // a heading, body or footing child that is no row
    EmptyTableHeading = 424,
    EmptyTableBody = 425,
    EmptyTableFooting = 426,
    WrongCellCount = 427,
    NestedStylesheetTable = 428,
    BadRowChild = 429,
    BadTableTag = 430,
    // A table part's element tag that is not of the part's kind, in the order of the parts.
    BadTableTitleTag = 431,
    BadTableHeadingTag = 432,
    BadTableBodyTag = 433,
    BadTableFootingTag = 434,
    BadTableRowTag = 435,
    BadTableCellTag = 436,
    // A table part outside its place, in the order of the parts.
    MisplacedTableTitle = 437,
    MisplacedTableHeading = 438,
    MisplacedTableBody = 439,
    MisplacedTableFooting = 440,
    MisplacedTableRow = 441,
    MisplacedTableCell = 442,
    BadColumnWidth = 443,
    TableInTable = 444,                     // a document table nested in a stylesheet table
    CopyOfAttribute = 445,                  // a copy-of whose last step matches an attribute
    MisplacedSort = 446,
    XRefTargetNoId = 447,                   // a warning: the run goes on
    BadXRefTag = 448,
    BadXRefFormat = 449,
    BadXRefWrapper = 450,
    NoAttributeTarget = 451,                // warnings 451-456: the run goes on
    NoMarkerTarget = 452,
    TargetLacksAttribute = 453,
    TargetNotMarker = 454,
    NoTemplateId = 455,
    TemplateNotFound = 456,
    TemplateFailed = 457,
    EmptyTemplateMarker = 458,              // warnings 458-461: the run goes on
    BadTemplateMarker = 459,
    BadTemplateMarkerFile = 460,
    MarkerTemplateNotFound = 461,
    UnresolvedParameters = 462,             // its message also names the expression and parameters
};
}  // namespace XformErr

// The level of an error report entry.
namespace XformLevel {
enum : IntT {
    Warning = 1,
    Error = 2,
};
}  // namespace XformLevel

// What a transformation of a document or book returns (a client's TransformFile call sees these,
// or the transformed book's handle).
namespace XformResult {
enum : IntT {
    Done = 0,
    NotDuplicated = 11,      // a client's run: the document could not be duplicated
    NoStructure = 12,        // the document has no structured main flow
    StylesheetInvalid = 13,  // the stylesheet check failed (reported)
    RunFailed = 14,          // a failure while running (reported)
    NotRun = 15,             // cancelled, refused, or the book could not be prepared
};
}  // namespace XformResult
