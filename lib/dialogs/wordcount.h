// Word count of a document's body text and of a book's document files.
//
// A word is a run of word characters: every character above U+00FF, and those below it that the
// word-character table marks (letters, digits, the apostrophe, the underscore and a few symbol
// ranges). Any other character is a separator; a paragraph end or a forced line end also ends a
// word. The body text is every flow whose first text frame lies on a body page, the text lines
// on body pages, and the footnotes and tables anchored in that text.
//
// The count is kept in WordCountState between calls of om_TextWordCount, so a caller may add the
// words of several objects; om_DocWordCount starts it at 0.
#pragma once

#include "fdk.h"

struct WordCountState {
    IntT count = 0;
    IntT inWord = 0;
    IntT afterSeparator = 0;
};
extern WordCountState WordCount;

// The number of words of the document's body text.
IntT om_DocWordCount(F_ObjHandleT docId);
// The sum over the book's document files (0 = the active book). Without the open flag closed
// chapters are not counted (and, with the report flag, the user is asked first); with it they are
// opened and closed again. With the report flag a summary alert. 0 when cancelled or no book.
IntT om_BookWordCount(F_ObjHandleT bookId, IntT open, IntT report);
// Adds the words of an object's text (a paragraph, or a text line with the text-line flag).
void om_TextWordCount(F_ObjHandleT docId, F_ObjHandleT objId, IntT textLine);
// Adds the words of a table: its title paragraphs, then the cells of every counted row.
void om_TableWordCount(F_ObjHandleT docId, F_ObjHandleT tableId);
// The kind (5 to 8) of the page an object lies on, climbing parent frames and pages; the kind of
// the last object reached when the climb ends first.
IntT om_ObjectPageKind(F_ObjHandleT docId, F_ObjHandleT objId);
// 1 when the first character of a UTF-8 text is a separator by the word-character table.
IntT om_IsWordSeparator(ConStringT character);
