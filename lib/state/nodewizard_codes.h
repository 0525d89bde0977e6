// The Node Wizard's codes: the element and attribute action codes and the result codes of its
// actions and of the Node Wizard Scripts. The action codes are the numbers the dialogs, the
// settings and the scripts' client calls store, so every number here is fixed; the names are
// what the code uses. nodewizard/vocabulary.cpp gives each action its name and help, and
// nodewizard/error_report.cpp each result its message.
#pragma once

#include "fdk.h"
#include "lib/globals.h"

// Element action codes: 1-22 in the dialog and in scripts, 23-26 in scripts only.
using NWElementAction = IntT;
namespace NWElem {
enum : NWElementAction {
    None = 1,
    Retag = 2,
    Wrap = 3,
    WrapContents = 4,
    Unwrap = 5,
    Promote = 6,
    Demote = 7,
    Delete = 8,
    DeleteContents = 9,
    AssignConditions = 10,
    PasteOver = 11,
    MoveUp = 12,
    MoveDown = 13,
    PasteOverContents = 14,
    PasteAtStart = 15,
    PasteAtEnd = 16,
    PasteBefore = 17,
    PasteAfter = 18,
    InsertBefore = 19,
    InsertAfter = 20,
    InsertFirstChild = 21,
    InsertLastChild = 22,
    CopyContents = 23,         // the element's content to the clipboard
    CopyTextToParameter = 24,
    Copy = 25,                 // the element itself to the clipboard
    SetText = 26,
};
}  // namespace NWElem

// Attribute action codes: 1, 40-54 and 61 in the dialog and in scripts, 55-60 and 62-65 in
// scripts only. "Named" is the attribute the action's names give, "matched" the one the query
// matched.
using NWAttrAction = IntT;
namespace NWAttr {
enum : NWAttrAction {
    None = 1,
    AddValues = 40,
    RemoveValues = 41,
    ReplaceValues = 42,
    DeleteValues = 43,
    MoveValueToText = 44,
    CopyValueToText = 45,
    MoveTextToValue = 46,
    CopyTextToValue = 47,
    RemoveInvalid = 48,
    MoveValuesToNamed = 49,
    CopyValuesToNamed = 50,
    MoveValuesFromNamed = 51,
    CopyValuesFromNamed = 52,
    SwapValuesWithNamed = 53,
    SearchReplace = 54,
    CopyFirstValue = 55,       // to the clipboard
    CopyFirstValueToParameter = 56,
    CopyAllValues = 57,        // to the clipboard
    PasteOverMatched = 58,
    PasteAtMatchedStart = 59,
    PasteAtMatchedEnd = 60,
    SetUniqueId = 61,
    SetValue = 62,
    Detokenize = 63,
    Tokenize = 64,
    SortValues = 65,
};
}  // namespace NWAttr

// The result of one action on one node (0 success, else an NWResult code); counted and
// reported, never stored in StatusCode.
using NWActionError = IntT;

// The codes the error report has messages for: the results of the actions on one node (200,
// 201, 300-341, and the script cases 611, 612 and 616) and the script errors of runs,
// validation and the operation groups (601-616), which scripts also leave in StatusCode.
namespace NWResult {
enum : IntT {
    NoDocument = StatusNoDocument,
    NoNode = StatusNoObject,         // no node, or a node without content
    RetagRefused = 300,
    RetagNoDefinition = 301,
    NoDefinition = 302,              // wrap and insert: the definition does not exist
    WrapRefused = 303,
    UnwrapRefused = 304,
    PromoteRefused = 305,
    DemoteRefused = 306,
    ConditionMissing = 307,
    ConditionsRefused = 308,
    PasteFailed = 309,               // no place to paste, or no matched attribute to paste into
    NoAttributes = 311,              // the element has no attributes at all
    AttrNotFound = 312,              // a named attribute is not on the element
    ValuePresent = 313,              // add: the value is already there
    ValueAbsent = 314,               // remove: the value is not there
    UnknownAction = 315,             // a name that names no action (no message: it does nothing)
    CellNotDeleted = StatusCellNotDeleted,
    Unchanged = 317,                 // the action left the element as it was
    NoPreviousSibling = 318,
    NoNextSibling = 319,
    TablePartNotMoved = 320,
    NoParent = 321,
    MoveRefused = 322,
    AttrDeclared = 323,              // remove invalid: the definition declares it
    NoMatchedAttr = 324,             // remove invalid: no matched attribute
    ClipboardFailed = 325,           // copy to the clipboard failed
    NoUniqueId = 326,                // set unique ID wrote nothing
    NotAnchoredFrame = 327,
    NotXRef = 328,
    NotMarker = 329,
    NotInTable = 330,
    NotInRow = 331,
    NotInCell = 332,
    NoXRefFormat = 333,
    NoMarkerType = 334,
    NoTableFormat = 335,
    BadColumnWidth = 336,
    HostFailed = 337,                // the host failed saving or closing files
    ReportLimit = 338,               // the report's limit of entries is reached
    NothingToCopy = 339,             // the data action element is empty
    NotOnFlow = 340,                 // the action cannot work on a flow
    TextNotSettable = 341,
    NoScriptsDoc = 601,
    NoScript = 602,
    NoEvent = 603,
    MissingSettings = 605,
    NoExpression = 606,
    BadExpression = 607,
    BadCall = 608,                   // the called script does not exist or is not active
    DuplicateName = 609,
    NeedsAttributeStep = 610,        // an attribute action on an expression not ending on one
    UndefinedParameter = 611,
    EmptyParameterName = 612,
    UndeclaredParameters = 613,
    UnknownOperation = 614,
    MissingResultOrOperand = 615,    // an empty result name, or an operand naming no parameter
    NoTarget = 616,                  // no target document is open
    // Left in StatusCode only (the run's own alert names the expression): an event's expression
    // that does not compile, in the range of the engine's compile errors.
    ExpressionNotCompiled = 50101,
};
}  // namespace NWResult

// The name lookups' result for a name that matches no action.
inline constexpr IntT NW_ACTION_UNKNOWN = NWResult::UnknownAction;
