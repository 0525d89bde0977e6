// Heap strings: ownership, the empty test and sentinels, byte and character operations.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "lib/strings/heapstr.h"
#include "support/list_helpers.h"

using qvtest::Heap;
using qvtest::Take;

namespace {

const std::string kSmile = "\xF0\x9F\x98\x80";  // U+1F600, four bytes

}  // namespace

TEST(HeapStrings, NullEmptyAndSentinels) {
    EXPECT_EQ(Take(om_StrCopy(nullptr)), "");
    EXPECT_EQ(om_StrEqual(nullptr, ""), 1);
    EXPECT_EQ(om_StrIsEmpty(nullptr), 1);
    EXPECT_EQ(om_StrIsEmpty(""), 1);
    EXPECT_EQ(om_StrIsEmpty(ErrorSentinel), 1);
    EXPECT_EQ(om_StrIsEmpty(EmptySentinel), 0);
    EXPECT_EQ(std::string(ErrorSentinel), "ThisIsAnERROR_ThisIsAnERROR ThisIsAnERROR_ThisIsAnERROR!");
    EXPECT_EQ(std::string(EmptySentinel), "Zilch NADA - YO_EMPTY_STRING_YO! YO!  NOTHING HERE!");
    EXPECT_EQ(std::string(UndefinedParamSentinel), "BogusParameterBogusParameterBogusParameterBogusParameter");
    EXPECT_EQ(om_StrIsBlank(nullptr), 1);
    EXPECT_EQ(om_StrIsBlank("   "), 1);
    EXPECT_EQ(om_StrIsBlank(" \t"), 0);
    EXPECT_EQ(om_StrIsBlank(ErrorSentinel), 0);

    Heap h("abc");
    om_StrAppend(&h.s, ErrorSentinel);
    EXPECT_EQ(h.str(), "abc");
    om_StrAppendMany(&h.s, "d", nullptr, "e");
    EXPECT_EQ(h.str(), "abcde");
    om_StrPrepend(&h.s, "");
    om_StrPrepend(&h.s, "<");
    EXPECT_EQ(h.str(), "<abcde");
}

TEST(HeapStrings, SetCopyToAndFree) {
    Heap a("first");
    EXPECT_STREQ(om_StrSet(&a.s, "second"), "second");
    om_StrSet(&a.s, a.s);  // setting a string to itself keeps its text
    EXPECT_EQ(a.str(), "second");
    Heap b("x");
    om_StrCopyTo(&a.s, &b.s, 1);
    EXPECT_EQ(b.str(), "second");
    EXPECT_EQ(a.s, nullptr);
    om_StrFree(&a.s);  // already NULL: nothing
    om_StrFree(nullptr);
}

TEST(HeapStrings, CaseInsensitiveComparisonFoldsAccentedCapitals) {
    EXPECT_EQ(om_StrEqualCI("ÉCOLE Été", "école été"), 1);
    EXPECT_EQ(om_StrEqualCI("×", "÷"), 0);  // U+00D7 has no small letter
    EXPECT_EQ(om_StrDiffers("a", "A"), 1);
    EXPECT_EQ(om_StrStartsWith("Ärger", "äR", 0), 1);
    EXPECT_EQ(om_StrStartsWith("Ärger", "äR", 1), 0);
}

TEST(HeapStrings, EqualFoldedAgreesWithFoldedTexts) {
    const std::pair<std::string, std::string> cases[] = {
        {"General Strings", "general STRINGS"}, {"ÉCOLE", "école"}, {"×", "÷"}, {"abc", "abcd"}, {"", ""},
        {"\xC3\xC3\x80", "\xC3\xC3\xA0"},  // the second C3 begins the character
        {"\xC3\x80\x80", "\xC3\xA0\xA0"},  // a lone continuation byte stays
        {"a\x80", "\xC3\xA0"},              // the same last byte, folded only after C3
        {"*", "*"}, {"*", "+"},
    };
    for (const auto &[a, b] : cases)
        EXPECT_EQ(qv::EqualFolded(a, b), qv::FoldCase(a) == qv::FoldCase(b)) << a << " / " << b;
}

TEST(HeapStrings, PrefixSuffixAndAffixRules) {
    EXPECT_EQ(om_StrStartsWith("abc", "", 1), 0);
    EXPECT_EQ(om_StrStartsAndEndsWith("abc", ""), 1);
    EXPECT_EQ(om_StrStartsAndEndsWith("'x'", "'"), 1);
    EXPECT_EQ(om_StrStartsAndEndsWith("'x", "'"), 0);
    EXPECT_EQ(om_StrEndsWith("file.FM", ".fm", 0), 1);
    EXPECT_EQ(om_StrEndsWith("fm", ".fm", 0), 0);
    Heap h("prefix.body.fm");
    EXPECT_EQ(om_StrStripAffix(&h.s, "PREFIX.", 1, 0), 1);
    EXPECT_EQ(om_StrStripAffix(&h.s, ".fm", 2, 1), 1);
    EXPECT_EQ(om_StrStripAffix(&h.s, "body", 3, 1), 0);
    EXPECT_EQ(h.str(), "body");
    EXPECT_EQ(om_StrStartsWithVowel("Echo"), 1);
    EXPECT_EQ(om_StrStartsWithVowel(""), 0);
}

TEST(HeapStrings, TrimOnlyBlanks) {
    Heap h("  \ta b\t  ");
    om_StrTrim(&h.s);
    EXPECT_EQ(h.str(), "\ta b\t");
    Heap all("    ");
    om_StrTrim(&all.s);
    EXPECT_EQ(all.str(), "");
}

TEST(HeapStrings, DropCutKeepAndSubstringBytes) {
    struct Case {
        const char *text;
        int op;  // 0 DropFirst(n), 1 CutFront(n), 2 KeepFirst(n, m)
        IntT n, m;
        const char *want;
    } cases[] = {
        {"abc", 0, 9, 0, ""},       {"abc", 1, 9, 0, "abc"},   {"abc", 0, 0, 0, "abc"},
        {"abc", 0, -1, 0, "abc"},   {"abc", 1, 3, 0, ""},       {"abcde", 2, 0, 2, "abc"},
        {"ab", 2, 0, 2, ""},        {"abcde", 2, 2, -1, "ab"},  {"abcde", 2, 9, -1, "abcde"},
        {"abcde", 2, 0, -1, ""},
    };
    for (const Case &c : cases) {
        Heap h(c.text);
        if (c.op == 0) om_StrDropFirst(&h.s, c.n);
        if (c.op == 1) om_StrCutFront(&h.s, c.n);
        if (c.op == 2) om_StrKeepFirst(&h.s, c.n, c.m);
        EXPECT_EQ(h.str(), c.want) << c.text << " op " << c.op << " n " << c.n << " m " << c.m;
    }
    EXPECT_EQ(Take(om_StrSubstring("abcdef", 2, 99)), "cdef");
    EXPECT_EQ(Take(om_StrSubstring("abc", 3, 5)), "");
    EXPECT_EQ(Take(om_StrSubstring("abc", 1, 1)), "");
    EXPECT_EQ(Take(om_StrSubstring("abc", -1, 2)), "");
    EXPECT_EQ(Take(om_StrSubstring("abc", 2, 1)), "");
}

TEST(HeapStrings, LongTextsKeepTheirBytes) {
    std::string big;
    for (int i = 0; i < 20000; ++i) big += static_cast<char>('a' + i % 26);
    Heap h(big.c_str());
    om_StrDropFirst(&h.s, 10000);
    EXPECT_EQ(h.str(), big.substr(10000));
    om_StrCutFront(&h.s, 5000);
    EXPECT_EQ(h.str(), big.substr(15000));
    EXPECT_EQ(om_StrEndsWith(big.c_str(), big.substr(1).c_str(), 1), 1);
}

TEST(HeapStrings, ShortenAndPrependOrNumber) {
    std::string t61(61, 'x');
    t61[0] = 'A';
    Heap h(t61.c_str());
    om_StrShorten(&h.s, 60, 1);
    EXPECT_EQ(h.str(), "..." + t61.substr(1));
    Heap h60(std::string(60, 'y').c_str());
    om_StrShorten(&h60.s, 60, 1);
    EXPECT_EQ(h60.str(), std::string(60, 'y'));
    Heap front("abcdef");
    om_StrShorten(&front.s, 2, 0);
    EXPECT_EQ(front.str(), "ab...");
    Heap n(" items");
    om_StrPrependOrNumber(&n.s, "", 42);
    EXPECT_EQ(n.str(), "42 items");
    om_StrPrependOrNumber(&n.s, "all ", 7);
    EXPECT_EQ(n.str(), "all 42 items");
}

TEST(HeapStrings, FourByteCharacterIsOneCharacter) {
    std::string text = "a" + kSmile + "b";
    EXPECT_EQ(om_StrCharCount(text.c_str()), 3);
    EXPECT_EQ(Take(om_StrFirstChar(kSmile.c_str())), kSmile);
    EXPECT_EQ(Take(om_StrFirstChar("é!")), "é");
    EXPECT_EQ(Take(om_StrFirstChar("")), "");
    Heap r(text.c_str());
    om_StrReverseChars(&r.s);
    EXPECT_EQ(r.str(), "b" + kSmile + "a");
    Heap k(text.c_str());
    om_StrKeepFirstChars(&k.s, 2, -1);
    EXPECT_EQ(k.str(), "a" + kSmile);
    Heap d(text.c_str());
    om_StrDropFirstChars(&d.s, 1);
    EXPECT_EQ(d.str(), kSmile + "b");
    EXPECT_EQ(Take(om_StrSubstringChars(text.c_str(), 1, 2)), kSmile);
}

TEST(HeapStrings, CharacterOperationsOnMultiByteAndInvalidText) {
    Heap k("äöüß");
    om_StrKeepFirstChars(&k.s, 0, 1);  // drop the last character
    EXPECT_EQ(k.str(), "äöü");
    Heap d("äöü");
    om_StrDropFirstChars(&d.s, 5);
    EXPECT_EQ(d.str(), "");
    EXPECT_EQ(Take(om_StrSubstringChars("αβγδ", 1, 3)), "βγ");
    // Not valid UTF-8: every byte is a character.
    std::string bad = "a\xC3z\xFF";
    EXPECT_EQ(om_StrCharCount(bad.c_str()), 4);
    EXPECT_EQ(Take(om_StrFirstChar("\xFF\x41")), "\xFF");
    Heap r(bad.c_str());
    om_StrReverseChars(&r.s);
    EXPECT_EQ(r.str(), "\xFFz\xC3" "a");
}

TEST(HeapStrings, SpecialCharacters) {
    struct Case {
        IntT code;
        std::string want;
    } cases[] = {
        {1, "\u201C"}, {2, "\u201D"}, {3, "\u2018"}, {4, "\u2019"}, {5, "\""},      {6, "'"},
        {7, "\xD5"},   {100, "\u062D"}, {200, "\u03C3"}, {203, "\u03BC"}, {207, "\u03C2"},
        {250, "\u03A9"}, {208, ""},     {0, ""},
    };
    for (const Case &c : cases) EXPECT_EQ(Take(om_StrSpecialChar(c.code)), c.want) << c.code;
}
