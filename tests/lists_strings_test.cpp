// Lists of strings: growth, search, removal, dedupe, append-all, joins, sorts and dumps; the list
// of distinct texts with its index.
#include <gtest/gtest.h>

#include <algorithm>

#include "lib/strings/lists.h"
#include "lib/strings/unique_strings.h"
#include "support/list_helpers.h"
#include "transcript.h"

using namespace qvtest;

TEST(StringLists, InitAppendAndFreedVersusEmpty) {
    F_StringsT l{0, nullptr};
    om_StringsInit(&l, 0, 0);
    ASSERT_NE(l.val, nullptr);  // an initialised empty list
    EXPECT_STREQ(om_StringsAppend(&l, "a"), "a");
    om_StringsAppend(&l, nullptr);
    EXPECT_EQ(qv::ReadStrings(&l), (Strs{"a", ""}));
    om_StringsFree(&l);
    EXPECT_EQ(l.val, nullptr);
    EXPECT_EQ(l.len, 0u);

    // Append-all does nothing when either array is NULL; an initialised empty list takes entries.
    List src({"x", "y"});
    F_StringsT freed{0, nullptr};
    EXPECT_EQ(om_StringsAppendAll(&freed, &src.l, 1, 1), 0);
    EXPECT_EQ(freed.val, nullptr);
    List empty(Strs{});
    EXPECT_EQ(om_StringsAppendAll(&empty.l, &src.l, 1, 1), 2);
    EXPECT_EQ(empty.v(), (Strs{"x", "y"}));
    EXPECT_EQ(om_StringsAppendAll(&empty.l, &freed, 1, 1), 0);
    EXPECT_EQ(empty.v(), (Strs{"x", "y"}));
    // Removing nothing from a freed list leaves it freed.
    om_StringsRemoveValue(&freed, "x", 0, 1);
    om_StringsSort(&freed, 1, 1);
    EXPECT_EQ(freed.val, nullptr);
    // Init with n slots: every slot can be filled; free flag 1 frees the old contents.
    List slots({"old"});
    om_StringsInit(&slots.l, 2, 1);
    slots.l.val[0] = om_StrCopy("p");
    slots.l.val[1] = om_StrCopy("q");
    EXPECT_EQ(slots.v(), (Strs{"p", "q"}));
}

TEST(StringLists, InsertAtRemovesOtherDuplicates) {
    List l({"a", "b", "c"});
    om_StringsInsertAt(&l.l, "b", 7, 0, 1);
    EXPECT_EQ(l.v(), (Strs{"a", "c", "b"}));
    om_StringsInsertAt(&l.l, "A", -3, 0, 0);
    EXPECT_EQ(l.v(), (Strs{"A", "c", "b"}));
    om_StringsInsertAt(&l.l, "c", 1, 1, 1);
    EXPECT_EQ(l.v(), (Strs{"A", "c", "c", "b"}));
    om_StringsPrepend(&l.l, "z");
    EXPECT_EQ(l.v(), (Strs{"z", "A", "c", "c", "b"}));
}

TEST(StringLists, Finding) {
    List l({"Alpha", "beta", "alpha", "10", "2.5"});
    EXPECT_EQ(om_StringsFind(&l.l, "alpha", 1), 2);
    EXPECT_EQ(om_StringsFind(&l.l, "ALPHA", 0), 0);
    EXPECT_EQ(om_StringsFindFrom(&l.l, "alpha", 1, 0), 2);
    EXPECT_EQ(om_StringsFindFrom(&l.l, "alpha", 5, 0), -1);
    EXPECT_EQ(om_StringsFindFrom(&l.l, "alpha", -9, 0), 0);
    EXPECT_EQ(om_StringsFindPrefix(&l.l, "BE", 0), 1);
    EXPECT_EQ(om_StringsFindPrefix(&l.l, "", 0), -1);
    EXPECT_EQ(om_StringsFindNumber(&l.l, 2.5), 4);
    EXPECT_EQ(Take(om_StringsPositionsOf(&l.l, "alpha", 0, 0)), (std::vector<UIntT>{0, 2}));
    EXPECT_EQ(Take(om_StringsPositionsOf(&l.l, "alpha", 1, 0)), (std::vector<UIntT>{2}));
    F_UIntsT out{0, nullptr};
    EXPECT_EQ(om_StringsIndexesOf(&l.l, "alpha", &out), 1);
    EXPECT_EQ(Take(out), (std::vector<UIntT>{2}));
    F_StringsT freed{0, nullptr};
    out = F_UIntsT{0, nullptr};
    EXPECT_EQ(om_StringsIndexesOf(&freed, "x", &out), 0);
    F_ApiFreeIdList(&out);
    EXPECT_EQ(om_StringsFirstDuplicate(&l.l, 1), -1);
    EXPECT_EQ(om_StringsFirstDuplicate(&l.l, 0), 0);
    List same({"ALPHA", "Beta", "alpha", "10", "2.5"});
    EXPECT_EQ(om_StringsEqual(&l.l, &same.l, 0), 1);
    EXPECT_EQ(om_StringsEqual(&l.l, &same.l, 1), 0);
}

TEST(StringLists, Removing) {
    List l({"x", "y", "X"});
    om_StringsRemoveValue(&l.l, "X", 1, 0);
    EXPECT_EQ(l.v(), (Strs{"y", "X"}));
    List all({"x", "y", "X"});
    om_StringsRemove(&all.l, -1, "x", 0, 0);
    EXPECT_EQ(all.v(), (Strs{"y"}));
    om_StringsRemove(&all.l, 5, "", 0, 0);
    om_StringsRemoveAt(&all.l, -1);
    EXPECT_EQ(all.v(), (Strs{"y"}));
    om_StringsRemoveAt(&all.l, 0);
    EXPECT_EQ(all.v(), (Strs{}));
    List blanks({"a", "", "  ", "b"});
    om_StringsRemoveBlank(&blanks.l, 0);
    EXPECT_EQ(blanks.v(), (Strs{"a", "  ", "b"}));
    om_StringsRemoveBlank(&blanks.l, 1);
    EXPECT_EQ(blanks.v(), (Strs{"a", "b"}));
    List pre({"#x", "y", "#z"});
    om_StringsRemoveStartingWith(&pre.l, "#", 1);
    EXPECT_EQ(pre.v(), (Strs{"y"}));
    List d({"A", "a", "b", "A"});
    om_StringsDedupe(&d.l, 0);
    EXPECT_EQ(d.v(), (Strs{"A", "b"}));
}

TEST(StringLists, FilterIntegers) {
    struct Case {
        IntT low, high, keepZero, keepDup;
        Strs want;
    } cases[] = {
        {0, 0, 0, 0, {"5", "12", "-3"}},
        {1, 10, 0, 0, {"5"}},
        {0, 10, 1, 1, {"5", "0", "5", "12", "0", "-3"}},
        {0, 0, 1, 0, {"5", "0", "12", "-3"}},
    };
    for (const Case &c : cases) {
        List l({"5", "x", "05", "12", "0", "-3"});
        om_StringsFilterIntegers(&l.l, c.low, c.high, c.keepZero, c.keepDup);
        EXPECT_EQ(l.v(), c.want) << c.low << " " << c.high << " " << c.keepZero << c.keepDup;
    }
}

TEST(StringLists, AppendAllFilters) {
    List target({"y"});
    List source({"x", "", "x", "y"});
    EXPECT_EQ(om_StringsAppendAll(&target.l, &source.l, 0, 0), 4);
    EXPECT_EQ(target.v(), (Strs{"y", "x"}));
    List both({"y"});
    om_StringsAppendAll(&both.l, &source.l, 1, 1);
    EXPECT_EQ(both.v(), (Strs{"y", "x", "", "x", "y"}));
}

TEST(StringLists, Joins) {
    List l({"a", "", "b"});
    EXPECT_EQ(Take(om_StringsJoin(&l.l, ", ")), "a, , b");
    EXPECT_EQ(Take(om_StringsJoinPrefixed(&l.l, "- ", 0, 0)), "- a\n- b");
    EXPECT_EQ(Take(om_StringsJoinPrefixed(&l.l, "- ", 0, 1)), "- a\n- \n- b");
    List lead({"", "a"});
    EXPECT_EQ(Take(om_StringsJoinPrefixed(&lead.l, "- ", 0, 0)), "\n- a");
    List four({"a", "b", "c", "d"});
    EXPECT_EQ(Take(om_StringsJoinPrefixed(&four.l, "", 1, 0)), "a\nb\nc");  // stops after the entry after index 1
    List c({"a", "b"});
    om_StringsCollapse(&c.l, "");
    EXPECT_EQ(c.v(), (Strs{"a b"}));
    List e(Strs{});
    om_StringsCollapse(&e.l, ";");
    EXPECT_EQ(e.v(), (Strs{}));
}

TEST(StringLists, SortsAreStableAndDescendingReverses) {
    List l({"b", "a", "c"});
    om_StringsSort(&l.l, 1, 1);
    EXPECT_EQ(l.v(), (Strs{"c", "b", "a"}));
    List ci({"b", "B", "a", "A"});
    om_StringsSort(&ci.l, 0, 0);
    EXPECT_EQ(ci.v(), (Strs{"a", "A", "b", "B"}));  // ties keep their order
    List ex({"b", "B", "a"});
    om_StringsSort(&ex.l, 1, 0);
    EXPECT_EQ(ex.v(), (Strs{"B", "a", "b"}));
    List n({"10", "9", "100"});
    om_StringsSortNumeric(&n.l, 0);
    EXPECT_EQ(n.v(), (Strs{"9", "10", "100"}));
    om_StringsSortNumeric(&n.l, 1);
    EXPECT_EQ(n.v(), (Strs{"100", "10", "9"}));
    om_StringsSwap(&n.l, 0, 2);
    om_StringsSwap(&n.l, 0, 3);
    EXPECT_EQ(n.v(), (Strs{"9", "10", "100"}));
}

TEST(StringLists, EntryWideEdits) {
    List l({" a ", "\u201Cq\u201D b"});
    EXPECT_EQ(om_StringsTrim(&l.l), 2);
    EXPECT_EQ(om_StringsStraightenQuotes(&l.l), 2);
    om_StringsReplaceAll(&l.l, "A", "x", 0);
    EXPECT_EQ(l.v(), (Strs{"x", "\"q\" b"}));
    List w({"a b", "", "c  d"});
    om_StringsSplitWords(&w.l);
    EXPECT_EQ(w.v(), (Strs{"a", "b", "c", "", "d"}));
    F_UIntsT ids = qv::NewUInts({3, 0xFFFFFFFFu});
    EXPECT_EQ(Take(om_UIntsToStrings(&ids)), (Strs{"3", "-1"}));
    F_ApiFreeIdList(&ids);
}

TEST(StringLists, TextItemsConcatAndItemStrings) {
    F_TextItemsT items;
    items.len = 4;
    items.val = static_cast<F_TextItemT *>(F_Alloc(4 * sizeof(F_TextItemT), NO_DSE));
    items.val[0] = F_TextItemT{0, FTI_String, om_StrCopy("a"), 0, 0};
    items.val[1] = F_TextItemT{1, FTI_PgfEnd, nullptr, 0, 0};
    items.val[2] = F_TextItemT{1, FTI_String, om_StrCopy("b"), 0, 0};
    items.val[3] = F_TextItemT{2, FTI_String, om_StrCopy("c"), 0, 0};
    EXPECT_EQ(Take(om_TextItemsConcat(&items, 0, 0)), "abc");
    EXPECT_EQ(Take(om_TextItemsConcat(&items, 1, 1)), "b");
    List out;
    EXPECT_EQ(om_StringsFromItemStrings(&items, &out.l), 1);
    EXPECT_EQ(out.v(), (Strs{"a", "b", "c"}));
    om_TextItemsRemoveAt(&items, 0);
    om_TextItemsRemoveAt(&items, 9);
    EXPECT_EQ(Take(om_TextItemsConcat(&items, 0, 0)), "bc");
    EXPECT_EQ(items.len, 3u);
    F_ApiDeallocateTextItems(&items);
}

TEST(StringLists, DumpToAlertAndConsole) {
    Strs many;
    for (int i = 0; i < 51; ++i) many.push_back("e" + std::to_string(i));
    List l(many);
    host::ClearTranscript();
    om_StringsDump(&l.l, 1, 1);
    const auto &lines = host::TranscriptLines();
    auto has = [&](const std::string &t) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string &x) { return x.find(t) != std::string::npos; });
    };
    EXPECT_TRUE(has("STRINGS:"));
    EXPECT_TRUE(has("More than 50 items (51). Stopping here."));
    EXPECT_TRUE(has("console: 50 ->e50<- (3)"));
    EXPECT_TRUE(has("console: ___________________________"));
}

TEST(UniqueStrings, KeepsTheFirstOfEachTextInOrderAcrossBlocksAndTakenLists) {
    // A list taken over whole is found by later additions; tens of thousands of texts fill many
    // blocks and grow the index several times, and every one is still found.
    qv::UniqueStrings u(std::vector<std::string>{"b", "a"});
    EXPECT_FALSE(u.Add(std::string_view("a")));
    EXPECT_TRUE(u.Add(std::string("c")));
    u.Append("b");  // kept although held
    EXPECT_EQ(u.size(), 4u);
    constexpr int kMany = 40000;
    for (int i = 0; i < kMany; ++i) EXPECT_TRUE(u.Add("t" + std::to_string(i)));
    for (int i = 0; i < kMany; i += 997) {
        EXPECT_TRUE(u.Contains("t" + std::to_string(i)));
        EXPECT_FALSE(u.Add("t" + std::to_string(i)));
    }
    EXPECT_FALSE(u.Contains("t40000"));
    EXPECT_TRUE(u.Add(std::string_view("")));  // "" once, like any text
    EXPECT_FALSE(u.Add(std::string_view("")));
    std::vector<std::string> list = u.Take();
    ASSERT_EQ(list.size(), size_t(4 + kMany + 1));
    EXPECT_EQ((std::vector<std::string>(list.begin(), list.begin() + 5)),
              (std::vector<std::string>{"b", "a", "c", "b", "t0"}));
    EXPECT_EQ(list[4 + kMany - 1], "t39999");
    EXPECT_EQ(list.back(), "");
    EXPECT_EQ(u.size(), 0u);
    EXPECT_TRUE(u.Add(std::string_view("a")));  // empty again after Take, its index made afresh
    EXPECT_FALSE(u.Add(std::string("a")));
    EXPECT_EQ(u.Take(), std::vector<std::string>{"a"});
}

TEST(UniqueStrings, TextsAddedSoonKeepTheOrderAndTheFirstOfEach) {
    // Batches of thousands taken in out of order: repeats inside a batch, across batches and of
    // the list taken over whole are dropped, and the list keeps the order the texts came in.
    qv::UniqueStrings u(std::vector<std::string>{"k7", "x"});
    std::vector<std::string> expected{"k7", "x"};
    for (int i = 0; i < 20000; ++i) {
        std::string t = "k" + std::to_string(i % 9000);  // each text twice or three times
        if (i < 9000 && t != "k7") expected.push_back(t);
        u.AddSoon(t);
        if (i % 1000 == 0) u.AddSoon(std::string_view("x"));
    }
    EXPECT_FALSE(u.Contains("k9000"));  // takes in what waits, and finds nothing new
    EXPECT_TRUE(u.Contains("k8999"));
    u.AddSoon("");
    EXPECT_FALSE(u.Add(std::string_view("")));  // the waiting text is held once taken in
    expected.push_back("");
    EXPECT_EQ(u.size(), expected.size());
    EXPECT_EQ(u.Take(), expected);
}
