// Element tags, texts and search: how a tag string is formed, how an element's text is gathered
// (which text items, which paragraphs, line breaks, limits and cutting), and the searches for an
// element by tag and attribute value, by tag and text, and by unique ID.
#pragma once

#include <string>

#include "fdk.h"

// Gathered text stops once it is longer than this many bytes.
constexpr size_t kElementTextByteLimit = 65500;

// The element's tag ("" when untagged); with the flag and a non-empty property-2157 text,
// "tag(text)". StatusNoDocument and "" when an id is 0.
std::string om_ElementTag(F_ObjHandleT docId, F_ObjHandleT elemId, IntT withSecondName);
// The element's text: its whole content (or, with elementItself or for untagged text, the element
// itself); only the first paragraph with firstPgf; "\n" at paragraph ends with lineBreaks; cut to
// maxChars characters when above 0. "" with StatusNoDocument / StatusNoObject when an id is 0.
std::string om_ElementText(F_ObjHandleT docId, F_ObjHandleT elemId, IntT firstPgf, IntT maxChars, IntT elementItself,
                           IntT lineBreaks);
// The first element from the start through its subtree whose tag equals the tag (any when "")
// and whose first-paragraph text (first 255 characters) equals the text; 0 when none.
F_ObjHandleT om_ElementFindByTagAndText(F_ObjHandleT docId, F_ObjHandleT startId, const std::string &tag,
                                        const std::string &text);
// The text of the element's first paragraph, with its paragraph prefix (719) in front with the
// prefix flag and tabs (0x08) turned into blanks with the tab flag.
std::string om_ElementTextWithPrefix(F_ObjHandleT docId, F_ObjHandleT elemId, IntT maxChars, IntT elementItself,
                                     IntT prefixFlag, IntT tabFlag);
// The text the element's definition puts in front of it (between the first prefix-begin and
// prefix-end items of its text range).
std::string om_ElementPrefixText(F_ObjHandleT docId, F_ObjHandleT elemId, IntT tabFlag);
// The first child whose om_ElementTag equals the tag exactly; 0 when none.
F_ObjHandleT om_ElementFirstChildTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                        IntT withSecondName);
// The first following sibling whose om_ElementTag equals the tag exactly; 0 when none.
F_ObjHandleT om_ElementNextSiblingTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                         IntT withSecondName);
// The first element from the start (or the named flow's highest-level element) through its
// subtree whose unique-ID attribute's first value equals the value; 0 when none.
F_ObjHandleT om_ElementFindByUniqueId(F_ObjHandleT docId, const std::string &flowName, F_ObjHandleT startId,
                                      const std::string &value);

// Number of characters in UTF-8 text (bytes that do not continue a sequence).
size_t Utf8CharCount(const std::string &s);
// The first n characters of UTF-8 text.
std::string Utf8KeepChars(const std::string &s, size_t n);
// The element's location in the mode turned into a text range (both ends through
// F_ApiElementLocToTextLoc); a zero range when the location fails.
F_TextRangeT ElementTextRange(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode);
