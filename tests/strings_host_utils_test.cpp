// The host's string utilities: comparisons, UTF-8, number parsing, formatting and metrics.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "fdk.h"
#include "transcript.h"

TEST(HostStrings, CompareAndFoldCase) {
    EXPECT_LT(F_StrCmp("a", "b"), 0);
    EXPECT_EQ(F_StrCmp(nullptr, ""), 0);
    EXPECT_GT(F_StrCmp("B", "A"), 0);
    EXPECT_EQ(F_StrICmp("Hello ÀÉÎÕÜ", "hELLO àéîõü"), 0);
    EXPECT_NE(F_StrICmp("×", "÷"), 0);
    EXPECT_LT(F_StrICmp("apple", "Banana"), 0);
    EXPECT_GT(F_StrICmp("abc", "AB"), 0);
    EXPECT_NE(F_StrICmp("\xC3", "\xC3\xA0"), 0);  // a lone byte never equals a character
}

TEST(HostStrings, Utf8ValidityAndTruncation) {
    EXPECT_EQ(F_StrIsValidUTF8("a\xC3\xA9\xF0\x9F\x98\x80"), 1);
    EXPECT_EQ(F_StrIsValidUTF8("\xC0\x80"), 0);          // overlong
    EXPECT_EQ(F_StrIsValidUTF8("\xED\xA0\x80"), 0);      // surrogate
    EXPECT_EQ(F_StrIsValidUTF8("\xF4\x90\x80\x80"), 0);  // past U+10FFFF
    EXPECT_EQ(F_StrIsValidUTF8("\xE2\x82"), 0);          // cut short
    IntT utf8 = F_FontEncId("UTF-8");
    EXPECT_GE(utf8, 0);
    FA_errno = 0;
    EXPECT_EQ(F_FontEncId("no such encoding"), -1);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    struct Case {
        IntT n;
        std::string want;
    } cases[] = {{0, ""}, {1, "a"}, {2, "a"}, {3, "a\xC3\xA9"}, {6, "a\xC3\xA9"}, {7, "a\xC3\xA9\xF0\x9F\x98\x80"}};
    for (const Case &c : cases) {
        char buf[16] = "a\xC3\xA9\xF0\x9F\x98\x80";
        F_StrTruncEnc(buf, c.n, utf8);
        EXPECT_EQ(std::string(buf), c.want) << c.n;
    }
    EXPECT_EQ(F_FdeInitFontEncs("UTF-8"), 0);
}

TEST(HostStrings, AlphaToInt) {
    struct Case {
        const char *text;
        IntT want;
    } cases[] = {{"42", 42},  {"  -17xyz", -17}, {"+5", 5}, {"abc", 0}, {"", 0}, {"2147483647", 2147483647},
                 {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1}, {"-99999999999", -2147483647 - 1}};
    for (const Case &c : cases) EXPECT_EQ(F_StrAlphaToInt(c.text), c.want) << c.text;
    EXPECT_EQ(F_StrAlphaToInt(nullptr), 0);
}

TEST(HostStrings, StrToRealIgnoresTheLocale) {
    const char *old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not exist; the result must not depend on it
    EXPECT_DOUBLE_EQ(F_StrToReal("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(F_StrToReal("  -2e3 pt"), -2000.0);
    EXPECT_DOUBLE_EQ(F_StrToReal("+.25"), 0.25);
    EXPECT_DOUBLE_EQ(F_StrToReal("x1"), 0.0);
    EXPECT_DOUBLE_EQ(F_StrToReal("--1"), 0.0);
    EXPECT_DOUBLE_EQ(F_StrToReal(nullptr), 0.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(HostStrings, SprintfAndConsolePrintf) {
    char buf[64];
    EXPECT_EQ(F_Sprintf(buf, "%d-%s", 7, "x"), 3);
    EXPECT_STREQ(buf, "7-x");
    host::ClearTranscript();
    F_Printf(nullptr, "first %d\nsecond\n", 1);
    ASSERT_EQ(host::TranscriptLines().size(), 2u);
    EXPECT_EQ(host::TranscriptLines()[0], "console: first 1");
    EXPECT_EQ(host::TranscriptLines()[1], "console: second");
}

TEST(HostStrings, Metrics) {
    EXPECT_DOUBLE_EQ(F_MetricToReal(65536 * 3 / 2), 1.5);
    EXPECT_EQ(F_RealToMetric(1.5), 98304);
    EXPECT_EQ(F_RealToMetric(-1.00001), -65536);  // truncated toward zero
    EXPECT_EQ(F_RealToMetric(1e12), 2147483647);
    EXPECT_EQ(F_MetricScale(72 * 65536, 2500, 1000), 180 * 65536);
    FA_errno = 0;
    EXPECT_EQ(F_MetricScale(5, 1, 0), 0);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
}
