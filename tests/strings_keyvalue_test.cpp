// Key=value readers and text conversions.
#include <gtest/gtest.h>

#include "lib/strings/keyvalue.h"
#include "support/list_helpers.h"

using namespace qvtest;

TEST(KeyValue, KeyLineIsTheFirstLineStartingWithTheKey) {
    List l({"A=1", "AB=2"});
    EXPECT_EQ(om_IniGetInt(&l.l, "AB", 1, "", 0, 0, 0), 2);
    EXPECT_EQ(om_IniGetInt(&l.l, "A", 1, "", 0, 0, 0), 1);
    List r({"AB=2", "A=1"});
    EXPECT_EQ(om_IniGetInt(&r.l, "A", 1, "", 0, 0, 0), 2);
    EXPECT_EQ(om_IniGetInt(&r.l, "a", 1, "", 9, 0, 0), 9);
    EXPECT_EQ(om_IniGetInt(&r.l, "a", 0, "", 9, 0, 0), 2);
    EXPECT_EQ(om_IniGetInt(&r.l, "", 0, "", 9, 0, 0), 9);
    List colon({"K: 7"});
    EXPECT_EQ(om_IniGetInt(&colon.l, "K", 1, ":", 0, 0, 0), 7);
    F_StringsT freed{0, nullptr};
    EXPECT_EQ(om_IniGetInt(&freed, "K", 1, "", 3, 0, 0), 3);
}

TEST(KeyValue, BoolValuesAndDefaults) {
    struct Case {
        const char *line;
        IntT def, want;
    } cases[] = {
        {"KEY = yes ", 0, 1}, {"KEY = yes ", 1, 1}, {"KEY=", 1, 1}, {"KEY=", 0, 0},  {"KEY=a=b", 1, 1},
        {"KEY=a=b", 0, 0},    {"KEY=  No", 1, 0},   {"KEY=maybe", 7, 7}, {"KEY=TRUE", 0, 1}, {"KEY=0", 1, 0},
        {"KEY", 5, 5},
    };
    for (const Case &c : cases) {
        List l({c.line});
        EXPECT_EQ(om_IniGetBool(&l.l, "KEY", 1, "=", c.def), c.want) << c.line << " def " << c.def;
    }
}

TEST(KeyValue, IntegerAndRealBounds) {
    struct Case {
        const char *line;
        IntT def, min, max, want;
    } cases[] = {
        {"N=3", 0, 5, 5, 5},   {"N=50", 0, 1, 10, 10}, {"N=50", 0, 1, 0, 50}, {"N=-4", 0, 1, 10, 1},
        {"N=", 20, 1, 10, 10}, {"X=1", 20, 0, 0, 20},  {"N= 7 ", 0, 0, 0, 7},
    };
    for (const Case &c : cases) {
        List l({c.line});
        EXPECT_EQ(om_IniGetInt(&l.l, "N", 1, "=", c.def, c.min, c.max), c.want) << c.line;
    }
    List r({"R=2.75", "S=x"});
    EXPECT_DOUBLE_EQ(om_IniGetReal(&r.l, "R", 1, "=", 0, 0, 0), 2.75);
    EXPECT_DOUBLE_EQ(om_IniGetReal(&r.l, "R", 1, "=", 0, 0, 2.5), 2.5);
    EXPECT_DOUBLE_EQ(om_IniGetReal(&r.l, "Q", 1, "=", 1.5, 0, 0), 1.5);
    // A value that reads as no number at all gives the default, inside the bounds.
    List n({"R = nan", "S=-NaN"});
    EXPECT_DOUBLE_EQ(om_IniGetReal(&n.l, "R", 1, "=", 0.5, -2, 2), 0.5);
    EXPECT_DOUBLE_EQ(om_IniGetReal(&n.l, "S", 1, "=", 0.25, 0, 0), 0.25);
}

TEST(KeyValue, StringsAndSplitLine) {
    List l({"K= ", "P=a b"});
    EXPECT_EQ(Take(om_IniGetString(&l.l, "K", 1, "=", 1, "x")), "x");
    EXPECT_EQ(Take(om_IniGetString(&l.l, "K", 1, "=", 0, "x")), " ");
    EXPECT_EQ(Take(om_IniGetString(&l.l, "missing", 1, "=", 1, "x")), "x");
    EXPECT_EQ(Take(om_IniGetString(&l.l, "P", 1, "=", 1, "x")), "a b");

    StringT key = om_StrCopy(""), value = om_StrCopy("old");
    EXPECT_EQ(om_IniSplitLine(" k = v ", &key, &value, "", 1), 1);
    EXPECT_STREQ(key, "k");
    EXPECT_STREQ(value, "v");
    EXPECT_EQ(om_IniSplitLine("a=b=c", &key, &value, "=", 0), 0);
    EXPECT_STREQ(key, "a");
    EXPECT_STREQ(value, "");
    EXPECT_EQ(om_IniSplitLine("", &key, &value, "=", 0), 0);
    EXPECT_STREQ(key, "");
    om_StrFree(&key);
    om_StrFree(&value);
}

TEST(KeyValue, Lists) {
    List l({"L=a; b ;c", "E=", "COLORS", "red", " blue ", "", "green"});
    EXPECT_EQ(Take(om_IniGetList(&l.l, "L", 1, "=", ";", 1, "")), (Strs{"a", "b", "c"}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "L", 1, "=", ";", 0, "")), (Strs{"a", " b ", "c"}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "E", 1, "=", ";", 1, "")), (Strs{}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "M", 1, "=", ";", 1, "d1;d2")), (Strs{"d1", "d2"}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "COLORS", 1, "=", "", 1, "")), (Strs{"red", "blue"}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "colors", 0, "=", "", 0, "")), (Strs{"red", " blue "}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "SHAPES", 1, "=", "", 1, "none")), (Strs{"none"}));
    EXPECT_EQ(Take(om_IniGetList(&l.l, "SHAPES", 1, "=", "", 1, "")), (Strs{}));
}

TEST(KeyValue, PromptsAndShortcuts) {
    List l({"P1=Once", "P2=never", "P3=Always", "P4=prompt", "S1=m x", "S2=^k", "S3=", "S4=~ a"});
    EXPECT_EQ(om_IniGetTriState(&l.l, "P1", 1, "=", 9), 2);
    EXPECT_EQ(om_IniGetTriState(&l.l, "P2", 1, "=", 9), 3);
    EXPECT_EQ(om_IniGetTriState(&l.l, "P3", 1, "=", 9), 1);
    EXPECT_EQ(om_IniGetTriState(&l.l, "P4", 1, "=", 9), 9);
    EXPECT_EQ(om_IniGetPromptChoice(&l.l, "P4", 1, "=", 9), 2);
    EXPECT_EQ(Take(om_IniGetShortcut(&l.l, "s1", "=", "")), "\\!mx");
    EXPECT_EQ(Take(om_IniGetShortcut(&l.l, "S2", "=", "")), "^k");
    EXPECT_EQ(Take(om_IniGetShortcut(&l.l, "S3", "=", "")), "");
    EXPECT_EQ(Take(om_IniGetShortcut(&l.l, "S3", "=", "q")), "\\!q");
    EXPECT_EQ(Take(om_IniGetShortcut(&l.l, "S4", "=", "")), "~a");
}

TEST(KeyValue, Conversions) {
    EXPECT_EQ(om_StrToBool("  No", 1), 0);
    EXPECT_EQ(om_StrToBool("maybe", 5), 5);
    EXPECT_EQ(om_StrToBool("", 5), 5);
    EXPECT_EQ(om_StrToTriState("Once", 0), 2);
    EXPECT_EQ(om_StrToPromptChoice(" a", 0), 1);
    for (const char *yes : {"12", "-12", "007", "0000000000", "0", "2147483647"})
        EXPECT_EQ(om_StrIsInteger(yes), 1) << yes;
    for (const char *no : {"1.0", "--1", "-", "+5", " 5", "-0", "2147483648", "", "00000000000", "12a"})
        EXPECT_EQ(om_StrIsInteger(no), 0) << no;
    EXPECT_EQ(om_IntDigitAt(987, 2), 8);
    EXPECT_EQ(om_IntDigitAt(987, 4), -1);
    EXPECT_EQ(om_IntDigitAt(987, 0), -1);
    EXPECT_EQ(om_IntDigitAt(-987, 1), -1);
    char t[] = "True";
    EXPECT_EQ(om_StrIsTrue(t), 1);
    EXPECT_STREQ(t, "T");
    char f[] = "yes";
    EXPECT_EQ(om_StrIsTrue(f), 0);
}
