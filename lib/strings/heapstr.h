// Folder lib/strings: heap strings, counted lists, search and key=value text, the bottom of the
// plug-in. It uses only the host interface (fdk.h); every other folder may use it.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: function_ref heapstr lists unique_strings
//   2: listconv
//   3: search
//   4: literals strlists
//   5: attrlists keyvalue numlists
//
// Heap strings: the zero-terminated UTF-8 texts on the host's heap that every part of the
// plug-in passes around, their ownership rules, the empty test, the sentinel texts and the
// basic operations (copy, set, compare, append, trim, prefix and suffix tests, keeping and
// dropping bytes or characters).
//
// Ownership: a function that returns a StringT returns a new copy the caller frees with
// om_StrFree; a StringT* parameter is in-and-out (the old value is freed, a new one stored);
// a ConStringT parameter is borrowed. NULL reads as "".
// Case flag: 1 compares bytes exactly (F_StrCmp), 0 through the host's case folding (F_StrICmp).
// Characters: a character is one UTF-8 sequence (of up to four bytes) when the whole text is
// valid UTF-8, otherwise one byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"

// A failed lookup; counts as empty.
inline constexpr const char *ErrorSentinel = "ThisIsAnERROR_ThisIsAnERROR ThisIsAnERROR_ThisIsAnERROR!";
// A missing value where "" is a legal value; does not count as empty.
inline constexpr const char *EmptySentinel = "Zilch NADA - YO_EMPTY_STRING_YO! YO!  NOTHING HERE!";
// An undefined $-parameter.
inline constexpr const char *UndefinedParamSentinel = "BogusParameterBogusParameterBogusParameterBogusParameter";

// ---- conversions at the boundary between heap strings and std::string (plug-in internal) ----
namespace qv {
// The text as a view; NULL gives "".
inline std::string_view View(ConStringT s) { return s ? std::string_view(s) : std::string_view(); }
// A new heap string holding the bytes (the caller frees it with om_StrFree).
StringT NewHeapString(std::string_view s);
// Frees *p and stores a new heap string of the bytes; nothing when p is NULL.
void StoreString(StringT *p, std::string_view s);
// The text without leading and trailing blanks (0x20 only).
std::string_view TrimBlanks(std::string_view s);
// The text folded by the host's case folding (same byte length as the text).
std::string FoldCase(std::string_view s);
// FoldCase(a) == FoldCase(b), without making the folded texts.
bool EqualFolded(std::string_view a, std::string_view b);
// Byte offsets where the characters of the text begin, followed by the text's length.
std::vector<size_t> CharBounds(const std::string &s);
}  // namespace qv

// ---- ownership ----
StringT om_StrCopy(ConStringT text);
void om_StrFree(StringT *p);
StringT om_StrSet(StringT *p, ConStringT text);
void om_StrCopyTo(StringT *source, StringT *p, IntT move);

// ---- comparison and tests ----
IntT om_StrEqual(ConStringT a, ConStringT b);
IntT om_StrEqualCI(ConStringT a, ConStringT b);
IntT om_StrDiffers(ConStringT a, ConStringT b);
IntT om_StrIsEmpty(ConStringT text);
IntT om_StrIsBlank(ConStringT text);
IntT om_StrStartsWith(ConStringT text, ConStringT part, IntT caseFlag);
IntT om_StrEndsWith(ConStringT text, ConStringT part, IntT caseFlag);
IntT om_StrStartsAndEndsWith(ConStringT text, ConStringT part);
IntT om_StrStartsWithVowel(ConStringT text);

// ---- editing in place ----
void om_StrTrim(StringT *p);
void om_StrAppend(StringT *p, ConStringT text);
void om_StrAppendMany(StringT *p, ConStringT a, ConStringT b = nullptr, ConStringT c = nullptr,
                      ConStringT d = nullptr, ConStringT e = nullptr);
void om_StrPrepend(StringT *p, ConStringT text);
void om_StrPrependOrNumber(StringT *p, ConStringT text, IntT number);
void om_StrShorten(StringT *p, IntT n, IntT fromEnd);
IntT om_StrStripAffix(StringT *p, ConStringT part, IntT kind, IntT caseFlag);
void om_StrDropFirst(StringT *p, IntT n);
void om_StrCutFront(StringT *p, IntT n);
void om_StrKeepFirst(StringT *p, IntT n, IntT m);
StringT om_StrSubstring(ConStringT text, IntT start, IntT end);

// ---- characters ----
IntT om_StrCharCount(ConStringT text);
StringT om_StrFirstChar(ConStringT text);
void om_StrKeepFirstChars(StringT *p, IntT n, IntT m);
void om_StrDropFirstChars(StringT *p, IntT n);
StringT om_StrSubstringChars(ConStringT text, IntT start, IntT end);
void om_StrReverseChars(StringT *p);
StringT om_StrSpecialChar(IntT code);
