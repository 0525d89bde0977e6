// Host document utilities: settings kept as attributes in a settings document, table-row
// positions, a cancel poll with a question, the page kind of a graphic, colour names, graphic
// selection, window placement, paragraph format re-application and flag 722, graphic and
// cross-reference path clean-ups, condition display, XMP metadata, book update, and the merge of
// a previous installation's settings document.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Values read or written by the settings operations with kind 5.
extern std::vector<std::string> SettingsDocValues;

// Reads the attribute of the first element of the flow "Main" with that tag that has it: kind 1
// "True" -> 1 else 0; 2 the integer; 3 the text (the ErrorSentinel when empty or missing); 4 a
// prompt setting ("Never" 3, "Once" 2, else 1); 5 every value into SettingsDocValues. 0 when
// there is no such element (kind 3 also gives the ErrorSentinel).
IntT om_SettingsDocRead(F_ObjHandleT docId, const std::string &tag, const std::string &attr, std::string *text,
                        IntT kind);
// Replaces the attribute's value in the same element: kind 1 "True"/"False", 2 the number, 3 the
// text, 4 "Never" (0) / "Once" (2) / "Always", 5 the values of SettingsDocValues.
void om_SettingsDocWrite(F_ObjHandleT docId, const std::string &tag, const std::string &attr, IntT value,
                         const std::string &text, IntT kind);
// The 1-based position of a row among its table's rows of a row type (-1: every row); 0 when none.
IntT om_TableRowPositionOfType(F_ObjHandleT docId, F_ObjHandleT rowId, IntT rowType);
// 1 when the user pressed Esc and (with the ask flag 1) confirms the cancel question.
IntT om_PollCancelAsk(IntT ask);
// The kind of the page a graphic lies on (5-8), or of the last object the climb reached.
IntT om_GraphicPageKind(F_ObjHandleT docId, F_ObjHandleT objId);
// The names of the document's colours (object type 35 only) into out (a new list); the count, -1
// without a document or for another type. Document 0 is the active one.
IntT om_DocColorNames(F_ObjHandleT docId, IntT objType, F_StringsT *out);
// Selects every graphic of the list.
void om_GraphicsSelect(F_ObjHandleT docId, const F_UIntsT *ids);
// Deselects every selected graphic and returns them (a new list).
F_UIntsT om_GraphicsDeselectAll(F_ObjHandleT docId);
// Moves and widens a window (33, 34, 35) by delta; with the shrink flag 1 its height loses delta.
void om_WindowShift(F_ObjHandleT objId, IntT delta, IntT shrink);
// Clears the character format tag over the paragraph's text from start to end (to its end when
// end is negative), then applies the paragraph's own catalog format to it again.
void om_PgfReapplyFormat(F_ObjHandleT docId, F_ObjHandleT pgfId, IntT start, IntT end);
// Sets flag 722 of the paragraph where the element's text begins; 0 when it was set already.
IntT om_PgfSetProperty722(F_ObjHandleT docId, F_ObjHandleT elemId);
// Imported graphics' paths in lower case; the number of paths changed.
IntT om_GraphicPathsLowerCase(F_ObjHandleT docId);
// ".tiff" and ".tif" (any case) in imported graphics' paths become ".png"; the number changed.
IntT om_GraphicPathsTiffToPng(F_ObjHandleT docId);
// Cross-reference source file names in lower case (a drive letter kept); the number rewritten.
IntT om_XRefSourceFilesLowerCase(F_ObjHandleT docId);
// Shows (1) or hides (2) the named conditions, show-all off; 1, or 0 (StatusCode 200) without a
// document.
IntT om_CondShowHide(F_ObjHandleT docId, const std::vector<std::string> &names, IntT mode);
// Replaces the document's XMP metadata with a packet holding one field chosen by its label.
void om_DocSetXmpField(F_ObjHandleT docId, const std::string &field, const std::string &value);
// The XMP packet om_DocSetXmpField writes.
std::string XmpPacket(const std::string &field, const std::string &value);
// Updates the book with the seven values as parameters 7, 12, 8, 9, 10, 11 and 4; 0 without book.
IntT om_BookUpdate(F_ObjHandleT bookId, const IntT values[7]);
// Merges a previous installation's settings document with the new one's (see the header of the
// source file); the kept document, or 0.
F_ObjHandleT om_SettingsMergeInstall(const std::string &oldPath, const std::string &newPath,
                                     const std::string &productName, const std::string &version);
