// Heap strings: ownership, the empty test, comparisons and the basic editing operations.
// Results are built as std::string and handed over as new heap strings, so no text is cut
// by a fixed buffer.
#include "lib/strings/heapstr.h"

#include <algorithm>
#include <cstring>

namespace qv {

StringT NewHeapString(std::string_view s) {
    auto *out = static_cast<char *>(F_Alloc(static_cast<UIntT>(s.size() + 1), NO_DSE));
    if (!s.empty()) std::memcpy(out, s.data(), s.size());
    out[s.size()] = '\0';
    return out;
}

void StoreString(StringT *p, std::string_view s) {
    if (!p) return;
    StringT fresh = NewHeapString(s);  // made first: s may view the old value
    F_ApiDeallocateString(p);
    *p = fresh;
}

std::string_view TrimBlanks(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') + 1 - b);
}

std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 0x20);
        } else if (c == 0xC3 && i + 1 < out.size() && (static_cast<unsigned char>(out[i + 1]) & 0xC0) == 0x80) {
            // U+00C0..U+00DE (but U+00D7) are C3 80..C3 9E; their small letters are C3 A0..C3 BE.
            unsigned char d = static_cast<unsigned char>(out[i + 1]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97) out[i + 1] = static_cast<char>(d + 0x20);
            ++i;
        }
    }
    return out;
}

namespace {
// Byte i of the text as FoldCase leaves it: a capital letter, or the second byte of a capital
// U+00C0..U+00DE (but U+00D7) after its C3, becomes small. No folded byte is C3, so texts that
// differ before i and fold the same there also agree on what precedes i.
char FoldedAt(std::string_view s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 0x20);
    if (i > 0 && static_cast<unsigned char>(s[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97)
        return static_cast<char>(c + 0x20);
    return s[i];
}
}  // namespace

bool EqualFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldedAt(a, i) != FoldedAt(b, i)) return false;
    return true;
}

std::vector<size_t> CharBounds(const std::string &s) {
    std::vector<size_t> bounds;
    bounds.reserve(s.size() + 1);
    bool utf8 = F_StrIsValidUTF8(s.c_str()) != 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (!utf8 || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) bounds.push_back(i);
    bounds.push_back(s.size());
    return bounds;
}

}  // namespace qv

namespace {

using qv::View;

// 1 when the two byte ranges are equal, exactly or through the host's case folding.
bool SameText(std::string_view a, std::string_view b, IntT caseFlag) {
    if (caseFlag == 1) return a == b;
    return F_StrICmp(std::string(a).c_str(), std::string(b).c_str()) == 0;
}

// The current value of an in-out string (NULL reads as "").
std::string Current(const StringT *p) { return std::string(p ? View(*p) : std::string_view()); }

}  // namespace

StringT om_StrCopy(ConStringT text) { return F_StrCopyString(text ? text : ""); }

void om_StrFree(StringT *p) {
    if (p && *p) F_ApiDeallocateString(p);
}

StringT om_StrSet(StringT *p, ConStringT text) {
    if (!p) return nullptr;
    qv::StoreString(p, View(text));
    return *p;
}

void om_StrCopyTo(StringT *source, StringT *p, IntT move) {
    om_StrSet(p, source ? *source : nullptr);
    if (move == 1 && source) om_StrFree(source);
}

IntT om_StrEqual(ConStringT a, ConStringT b) { return F_StrCmp(a ? a : "", b ? b : "") == 0; }

IntT om_StrEqualCI(ConStringT a, ConStringT b) { return F_StrICmp(a ? a : "", b ? b : "") == 0; }

IntT om_StrDiffers(ConStringT a, ConStringT b) { return !om_StrEqual(a, b); }

IntT om_StrIsEmpty(ConStringT text) {
    return !text || !*text || std::strcmp(text, ErrorSentinel) == 0;
}

IntT om_StrIsBlank(ConStringT text) {
    std::string_view v = View(text);
    return std::all_of(v.begin(), v.end(), [](char c) { return c == ' '; });
}

IntT om_StrStartsWith(ConStringT text, ConStringT part, IntT caseFlag) {
    if (om_StrIsEmpty(text) || om_StrIsEmpty(part)) return 0;
    std::string_view t = View(text), s = View(part);
    if (s.size() > t.size()) return 0;
    return SameText(t.substr(0, s.size()), s, caseFlag);
}

IntT om_StrEndsWith(ConStringT text, ConStringT part, IntT caseFlag) {
    if (om_StrIsEmpty(text) || om_StrIsEmpty(part)) return 0;
    std::string_view t = View(text), s = View(part);
    if (s.size() > t.size()) return 0;
    return SameText(t.substr(t.size() - s.size()), s, caseFlag);
}

IntT om_StrStartsAndEndsWith(ConStringT text, ConStringT part) {
    std::string_view t = View(text), s = View(part);
    return t.size() >= s.size() && t.starts_with(s) && t.ends_with(s);
}

IntT om_StrStartsWithVowel(ConStringT text) {
    if (!text || !*text) return 0;
    return std::strchr("aeiouAEIOU", *text) != nullptr;
}

void om_StrTrim(StringT *p) {
    if (!p || !*p) return;
    std::string_view v = View(*p), t = qv::TrimBlanks(v);
    if (t.size() != v.size()) qv::StoreString(p, t);
}

void om_StrAppend(StringT *p, ConStringT text) {
    if (!p || om_StrIsEmpty(text)) return;
    qv::StoreString(p, Current(p) + text);
}

void om_StrAppendMany(StringT *p, ConStringT a, ConStringT b, ConStringT c, ConStringT d, ConStringT e) {
    for (ConStringT t : {a, b, c, d, e})
        if (t) om_StrAppend(p, t);
}

void om_StrPrepend(StringT *p, ConStringT text) {
    if (!p || om_StrIsEmpty(text)) return;
    qv::StoreString(p, std::string(text) + Current(p));
}

void om_StrPrependOrNumber(StringT *p, ConStringT text, IntT number) {
    if (!p) return;
    std::string front = om_StrIsEmpty(text) ? std::to_string(number) : std::string(text);
    qv::StoreString(p, front + Current(p));
}

void om_StrShorten(StringT *p, IntT n, IntT fromEnd) {
    if (!p) return;
    std::string s = Current(p);
    size_t keep = n < 0 ? 0 : static_cast<size_t>(n);
    if (s.size() <= keep) return;
    qv::StoreString(p, fromEnd == 1 ? "..." + s.substr(s.size() - keep) : s.substr(0, keep) + "...");
}

IntT om_StrStripAffix(StringT *p, ConStringT part, IntT kind, IntT caseFlag) {
    if (!p) return 0;
    if (kind == 1 && om_StrStartsWith(*p, part, caseFlag)) {
        qv::StoreString(p, View(*p).substr(std::strlen(part)));
        return 1;
    }
    if (kind == 2 && om_StrEndsWith(*p, part, caseFlag)) {
        std::string_view v = View(*p);
        qv::StoreString(p, v.substr(0, v.size() - std::strlen(part)));
        return 1;
    }
    return 0;
}

void om_StrDropFirst(StringT *p, IntT n) {
    if (!p || n <= 0) return;
    std::string_view v = View(*p);
    qv::StoreString(p, static_cast<size_t>(n) >= v.size() ? std::string_view() : v.substr(static_cast<size_t>(n)));
}

void om_StrCutFront(StringT *p, IntT n) {
    if (!p || n <= 0) return;
    std::string_view v = View(*p);
    if (v.size() < static_cast<size_t>(n)) return;
    qv::StoreString(p, v.substr(static_cast<size_t>(n)));
}

void om_StrKeepFirst(StringT *p, IntT n, IntT m) {
    if (!p) return;
    std::string_view v = View(*p);
    long long keep = m >= 0 ? static_cast<long long>(v.size()) - m : n;
    if (keep <= 0) qv::StoreString(p, "");
    else if (static_cast<size_t>(keep) < v.size()) qv::StoreString(p, v.substr(0, static_cast<size_t>(keep)));
}

// The range [start, end) of a sequence of `count` units under the substring rules: end beyond
// the sequence is cut to it; false for a negative start or end, end before start, start at or
// past the end, or start equal to end.
static bool SubRange(IntT start, IntT end, size_t count, size_t *from, size_t *to) {
    if (start < 0 || end < 0 || end <= start || static_cast<size_t>(start) >= count) return false;
    *from = static_cast<size_t>(start);
    *to = std::min(static_cast<size_t>(end), count);
    return true;
}

StringT om_StrSubstring(ConStringT text, IntT start, IntT end) {
    std::string_view v = View(text);
    size_t from, to;
    if (!SubRange(start, end, v.size(), &from, &to)) return qv::NewHeapString("");
    return qv::NewHeapString(v.substr(from, to - from));
}

IntT om_StrCharCount(ConStringT text) {
    return static_cast<IntT>(qv::CharBounds(std::string(View(text))).size() - 1);
}

// The first character: the text cut to 1, 2, 3 or 4 bytes at a character boundary, whichever
// first leaves something (a text that is not valid UTF-8 gives its first byte).
StringT om_StrFirstChar(ConStringT text) {
    std::string_view v = View(text);
    if (v.empty()) return qv::NewHeapString("");
    if (!F_StrIsValidUTF8(text)) return qv::NewHeapString(v.substr(0, 1));
    IntT utf8 = F_FontEncId("UTF-8");
    for (IntT n = 1; n <= 4 && static_cast<size_t>(n) <= v.size(); ++n) {
        StringT first = qv::NewHeapString(v);
        F_StrTruncEnc(first, n, utf8);
        if (*first) return first;
        om_StrFree(&first);
    }
    return qv::NewHeapString("");
}

void om_StrKeepFirstChars(StringT *p, IntT n, IntT m) {
    if (!p) return;
    std::string s = Current(p);
    std::vector<size_t> bounds = qv::CharBounds(s);
    long long count = static_cast<long long>(bounds.size()) - 1;
    long long keep = m >= 0 ? count - m : n;
    if (keep <= 0) qv::StoreString(p, "");
    else if (keep < count) qv::StoreString(p, std::string_view(s).substr(0, bounds[static_cast<size_t>(keep)]));
}

void om_StrDropFirstChars(StringT *p, IntT n) {
    if (!p || n <= 0) return;
    std::string s = Current(p);
    std::vector<size_t> bounds = qv::CharBounds(s);
    size_t count = bounds.size() - 1;
    qv::StoreString(p, static_cast<size_t>(n) >= count ? std::string_view()
                                                       : std::string_view(s).substr(bounds[static_cast<size_t>(n)]));
}

StringT om_StrSubstringChars(ConStringT text, IntT start, IntT end) {
    std::string s(View(text));
    std::vector<size_t> bounds = qv::CharBounds(s);
    size_t from, to;
    if (!SubRange(start, end, bounds.size() - 1, &from, &to)) return qv::NewHeapString("");
    return qv::NewHeapString(std::string_view(s).substr(bounds[from], bounds[to] - bounds[from]));
}

void om_StrReverseChars(StringT *p) {
    if (!p) return;
    std::string s = Current(p);
    std::vector<size_t> bounds = qv::CharBounds(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = bounds.size() - 1; i > 0; --i) out.append(s, bounds[i - 1], bounds[i] - bounds[i - 1]);
    qv::StoreString(p, out);
}

StringT om_StrSpecialChar(IntT code) {
    struct Special {
        IntT code;
        const char *text;
    };
    static constexpr Special kSpecials[] = {
        {1, "\u201C"},   // left double quotation mark
        {2, "\u201D"},   // right double quotation mark
        {3, "\u2018"},   // left single quotation mark
        {4, "\u2019"},   // right single quotation mark
        {5, "\""},       // straight double quote
        {6, "'"},        // straight single quote
        {7, "\xD5"},     // the host character set's right single quote (one byte)
        {100, "\u062D"}, // Arabic letter hah
        {200, "\u03C3"}, // Greek small sigma
        {201, "\u03B1"}, // alpha
        {202, "\u03AD"}, // epsilon with tonos
        {203, "\u03BC"}, // mu
        {204, "\u03C1"}, // rho
        {205, "\u03B7"}, // eta
        {206, "\u03B3"}, // gamma
        {207, "\u03C2"}, // final sigma
        {250, "\u03A9"}, // Greek capital omega
    };
    for (const Special &s : kSpecials)
        if (s.code == code) return qv::NewHeapString(s.text);
    return qv::NewHeapString("");
}
