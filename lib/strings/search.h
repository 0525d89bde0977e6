// Looking inside heap strings: finding a part forwards or backwards, replacing (everywhere, at
// a range, from parallel lists, outside quoted literals), splitting, unescaping, straightening
// quotes, masking quoted literals, checking and extracting bracketed clauses, wrapping lines
// and making a name unique in a list.
//
// Positions are 0-based byte offsets, -1 for not found. Case flag: 1 exact, 0 through the
// host's case folding. Ownership as in lib/strings/heapstr.h; lists returned by value belong to
// the caller. An out list (F_StringsT *) must hold a list or be zeroed: its old contents are
// freed before the result is stored.
//
// The scans with step limits (om_StrClausesAreTerminated, om_StrRIndexOf, om_XOutLiterals)
// report reaching theirs with a critical alert naming the operation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"

namespace qv {
// First position at or after start of part in text (exact or case-folded); npos when none.
// An empty part is found at start when start lies within the text.
size_t IndexOf(std::string_view text, std::string_view part, size_t start, bool exact);
// Every non-overlapping occurrence of from replaced by to, left to right; the position of the
// first replacement or npos.
size_t ReplaceAll(std::string &text, std::string_view from, std::string_view to, bool exact);
// The pieces between separators (a separator at the very end gives no empty last piece).
std::vector<std::string> Split(std::string_view text, std::string_view separator);
// The lines of a text file's bytes: CR, LF and CR LF each end a line; text after the last line
// end is a last line when it is not empty. A NUL byte is dropped, or with cutAtNul ends the
// line's text (the rest up to the line end is passed over).
std::vector<std::string> SplitLines(std::string_view bytes, bool cutAtNul);
}  // namespace qv

// ---- finding ----
IntT om_StrIndexOf(ConStringT text, ConStringT part, IntT start, IntT caseFlag);
IntT om_StrRIndexOf(ConStringT text, ConStringT part, IntT limit, IntT caseFlag);
IntT om_StrBeforeAny(ConStringT text, StringT *out, const F_StringsT *delimiters, IntT caseFlag);
F_UIntsT om_StrPositionsOf(ConStringT text, ConStringT part);

// ---- replacing ----
IntT om_StrReplaceAll(StringT *p, ConStringT from, ConStringT to, IntT caseFlag);
IntT om_StrReplaceAllFixed(StringT *p, ConStringT from, ConStringT to);
IntT om_StrReplaceRange(StringT *p, ConStringT text, IntT start, IntT end);
IntT om_StrMultiReplaceOutsideLiterals(StringT *p, const F_StringsT *from, const F_StringsT *to, IntT insideLiterals);
IntT om_StrUnescape(StringT *p);
void om_StrStraightenQuotes(StringT *p);
void om_StrReplaceLineBreaks(StringT *p, ConStringT replacement);

// ---- literals and clauses ----
void om_XOutLiterals(StringT *p, ConStringT mask, IntT singleQuotes, IntT doubleQuotes);
IntT om_StrClausesAreTerminated(ConStringT text, ConStringT openToken, ConStringT closeToken);
IntT om_StrExtractBracketed(ConStringT text, StringT *out, ConStringT openToken, ConStringT closeToken);

// ---- splitting, wrapping, unique names ----
F_StringsT om_StrSplit(ConStringT text, ConStringT separator);
void om_StrSplitFixed(ConStringT text, ConStringT separator, F_StringsT *out);
void om_StrTokenize(StringT text, ConStringT delimiters, F_StringsT *out);
F_StringsT om_StrWrapLines(ConStringT text, IntT width);
IntT om_StrMakeUnique(StringT *p, const F_StringsT *list, IntT kind, IntT maxTries);
