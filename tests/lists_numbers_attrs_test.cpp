// Lists of numbers, metrics and attributes.
#include <gtest/gtest.h>

#include "lib/strings/lists.h"
#include "support/list_helpers.h"

using namespace qvtest;
using Ids = std::vector<UIntT>;

TEST(NumberLists, UIntsEdits) {
    F_UIntsT l{0, nullptr};
    om_UIntsAppend(&l, 5);  // also onto a freed record
    om_UIntsAppend(&l, 7);
    om_UIntsAppend(&l, 7);
    om_UIntsRemove(&l, 7, -1);
    EXPECT_EQ(qv::ReadUInts(&l), (Ids{5, 7}));
    om_UIntsPrepend(&l, 1);
    EXPECT_EQ(qv::ReadUInts(&l), (Ids{1, 5, 7}));
    om_UIntsRemove(&l, 0, 1);
    om_UIntsRemove(&l, 99, -1);
    EXPECT_EQ(qv::ReadUInts(&l), (Ids{1, 7}));
    EXPECT_EQ(om_UIntsFind(&l, 7), 1);
    EXPECT_EQ(om_UIntsFind(&l, 8), -1);
    om_UIntsAppend(&l, 1);
    EXPECT_EQ(om_UIntsLastPosition(&l, 1), 3);
    EXPECT_EQ(om_UIntsLastPosition(&l, 9), 0);

    F_UIntsT other = qv::NewUInts({7, 2, 7});
    om_UIntsAppendList(&l, &other, 1);
    EXPECT_EQ(qv::ReadUInts(&l), (Ids{1, 7, 1, 2}));
    EXPECT_EQ(Take(om_UIntsIntersect(&l, &other)), (Ids{7, 2}));
    EXPECT_EQ(om_UIntsAppendAll(&l, &other), 3);
    EXPECT_EQ(qv::ReadUInts(&l).size(), 7u);
    F_UIntsT freed{0, nullptr};
    EXPECT_EQ(om_UIntsAppendAll(&freed, &other), 0);
    EXPECT_EQ(freed.val, nullptr);
    om_UIntsFree(&l);
    om_UIntsFree(&other);
    EXPECT_EQ(l.val, nullptr);

    om_UIntsInit(&l, 3, 0);
    EXPECT_EQ(l.len, 3u);
    om_UIntsInit(&l, 0, 1);
    EXPECT_EQ(l.len, 0u);
    EXPECT_NE(l.val, nullptr);
    om_UIntsFree(&l);
}

TEST(NumberLists, IntsAndMetrics) {
    F_IntsT ints{0, nullptr};
    om_IntsInit(&ints, 2, 1);
    EXPECT_EQ(ints.len, 2u);
    om_IntsInit(&ints, 1, 1);
    EXPECT_EQ(ints.len, 1u);
    F_ApiFreeIntList(&ints);

    F_MetricsT m{0, nullptr};
    om_MetricsInit(&m, 4, 0);
    EXPECT_EQ(m.len, 0u);
    om_MetricsAppend(&m, 65536);
    om_MetricsAppend(&m, 2);
    ASSERT_EQ(m.len, 2u);
    EXPECT_EQ(m.val[0], 65536);
    EXPECT_EQ(m.val[1], 2);
    om_MetricsFree(&m);
    EXPECT_EQ(m.val, nullptr);
}

namespace {
void SetAttr(F_AttributeT *a, const char *name, const Strs &values) {
    a->name = om_StrCopy(name);
    a->values = qv::NewStrings(values);
}
Strs Values(const F_AttributesT &l, IntT i) { return qv::ReadStrings(&l.val[i].values); }
}  // namespace

TEST(AttributeLists, SlotsFindRemoveAndMerge) {
    F_AttributesT t{0, nullptr};
    F_AttributeT *slot = om_AttributesAppendSlot(&t);
    EXPECT_EQ(slot->valflags, 0);
    EXPECT_EQ(slot->allow, 0);
    SetAttr(slot, "id", {"a1"});
    SetAttr(om_AttributesAppendSlot(&t), "class", {"x", "y"});
    SetAttr(om_AttributesAppendSlot(&t), "id", {"dup"});
    EXPECT_EQ(om_AttributesFindName(&t, "id"), 0);
    EXPECT_EQ(om_AttributesFindName(&t, "ID"), -1);
    F_UIntsT idx{0, nullptr};
    EXPECT_EQ(om_AttributesIndexesOfName(&t, "id", &idx), 1);
    EXPECT_EQ(Take(idx), (Ids{0, 2}));
    idx = F_UIntsT{0, nullptr};
    EXPECT_EQ(om_AttributesIndexesOfName(&t, nullptr, &idx), 0);
    F_ApiFreeIdList(&idx);
    om_AttributesRemove(&t, -1, "id");
    ASSERT_EQ(t.len, 1u);
    EXPECT_STREQ(t.val[0].name, "class");

    F_AttributesT s{0, nullptr};
    SetAttr(om_AttributesAppendSlot(&s), "class", {"y", "z"});
    SetAttr(om_AttributesAppendSlot(&s), "lang", {"en"});
    EXPECT_EQ(om_AttributesMerge(&t, &s, 0, 0, 0), 2);
    ASSERT_EQ(t.len, 2u);
    EXPECT_EQ(Values(t, 0), (Strs{"x", "y", "z"}));
    EXPECT_STREQ(t.val[1].name, "lang");
    EXPECT_EQ(Values(t, 1), (Strs{"en"}));

    SetAttr(om_AttributesAppendSlot(&t), "words", {"a b", "c"});
    EXPECT_EQ(om_AttributesSplitValues(&t), 3);
    EXPECT_EQ(Values(t, 2), (Strs{"a", "b", "c"}));
    EXPECT_EQ(om_AttributesCollapseValues(&t, ";"), 3);
    EXPECT_EQ(Values(t, 0), (Strs{"x;y;z"}));
    om_AttributesRemove(&t, 0, nullptr);
    EXPECT_STREQ(t.val[0].name, "lang");
    om_AttributesFree(&t);
    om_AttributesFree(&s);
    EXPECT_EQ(t.val, nullptr);
    om_AttributesInit(&t, 2, 0);
    EXPECT_EQ(t.len, 2u);
    EXPECT_EQ(t.val[1].name, nullptr);
    om_AttributesFree(&t);
}
