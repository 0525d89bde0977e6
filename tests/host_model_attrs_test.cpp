// Attribute lists: declared attributes in definition order then undeclared ones, replacing the
// list, refusals, removal of undeclared attributes, attribute definitions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"
#include "records.h"

namespace {

using namespace host;

class ModelAttrs : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSession();
        FA_errno = 0;
        doc = NewDocument("Z:\\a.fm");
        def = AddElementDef(doc, "Item");
        AttrDef id, kind, size;
        id.name = "id";
        id.type = FV_AT_UNIQUE_ID;
        id.required = true;
        kind.name = "kind";
        kind.type = FV_AT_CHOICE;
        kind.choices = {"a", "b"};
        kind.defaults = {"a"};
        size.name = "size";
        size.type = FV_AT_INTEGER;
        size.rangeMin = "1";
        size.rangeMax = "9";
        AddAttributeDef(def, id);
        AddAttributeDef(def, kind);
        AddAttributeDef(def, size);
        e = AppendElement(doc, 0, def, MainFlow(doc));
    }
    void TearDown() override { ResetSession(); }

    // "name=v1|v2" for each attribute, in list order.
    std::vector<std::string> List() {
        F_AttributesT as = F_ApiGetAttributes(doc, e);
        std::vector<std::string> out;
        for (UIntT i = 0; i < as.len; ++i) {
            std::string s = std::string(as.val[i].name) + "=";
            for (UIntT k = 0; k < as.val[i].values.len; ++k) s += (k ? "|" : "") + std::string(as.val[i].values.val[k]);
            out.push_back(s);
        }
        F_ApiDeallocateAttributes(&as);
        return out;
    }
    // The element's attributes as it holds them, in the order it holds them.
    std::string Held() {
        std::string out;
        for (const Attr &a : Elem(e)->attrs) {
            out += (out.empty() ? "" : " ") + AtomName(a.name) + "=";
            for (size_t k = 0; k < a.values.size(); ++k) out += (k ? "|" : "") + a.values[k];
        }
        return out;
    }
    // Sets a list; the name "<null>" stands for a NULL name.
    void Set(const std::vector<std::pair<std::string, std::vector<std::string>>> &list) {
        std::vector<F_AttributeT> v;
        for (auto &[name, values] : list)
            v.push_back(F_AttributeT{name == "<null>" ? nullptr : NewString(name), NewStrings(values), 0, 0});
        F_AttributesT as{static_cast<UIntT>(v.size()), v.data()};
        F_ApiSetAttributes(doc, e, &as);
        for (F_AttributeT &a : v) {
            F_ApiDeallocateString(&a.name);
            F_ApiDeallocateStrings(&a.values);
        }
    }
    F_ObjHandleT doc = 0, def = 0, e = 0;
};

TEST_F(ModelAttrs, DeclaredInDefinitionOrderThenUndeclared) {
    using V = std::vector<std::string>;
    EXPECT_EQ(List(), (V{"id=", "kind=", "size="}));
    SetAttribute(doc, e, "zeta", {"z"});
    SetAttribute(doc, e, "size", {"3"});
    SetAttribute(doc, e, "alpha", {"1", "2"});
    EXPECT_EQ(List(), (V{"id=", "kind=", "size=3", "zeta=z", "alpha=1|2"}));
    // Replacing the list keeps the same order rules whatever the order given.
    Set({{"other", {"o"}}, {"kind", {"b"}}, {"id", {"X1"}}});
    EXPECT_EQ(List(), (V{"id=X1", "kind=b", "size=", "other=o"}));
    EXPECT_EQ(FA_errno, 0);
    // A second attribute of a declared name is refused and changes nothing.
    Set({{"id", {"A"}}, {"id", {"B"}}});
    EXPECT_EQ(FA_errno, FE_Duplicate);
    EXPECT_EQ(List(), (V{"id=X1", "kind=b", "size=", "other=o"}));
    // Undeclared attributes are removed by name; declared or missing names are refused.
    FA_errno = 0;
    F_ApiDeleteInvalidAttribute(doc, "other", 0, e);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(List(), (V{"id=X1", "kind=b", "size="}));
    F_ApiDeleteInvalidAttribute(doc, "other", 0, e);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    F_ApiDeleteInvalidAttribute(doc, "kind", 0, e);
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(List(), (V{"id=X1", "kind=b", "size="}));
}

// The attributes read in place are the list's entries, in its order, each with its index; a
// reader's non-zero answer stops the read and is the call's answer.
TEST_F(ModelAttrs, ReadInPlaceHandsOnTheListsEntries) {
    SetAttribute(doc, e, "zeta", {"z"});
    SetAttribute(doc, e, "size", {"3"});
    SetAttribute(doc, e, "alpha", {"1", "2"});
    struct Seen {
        std::vector<std::string> entries;
        size_t stopAt = 0;
    } seen;
    F_AttributeReadFnT fn = [](const F_AttributeReadT *a, PtrT arg) -> IntT {
        Seen &s = *static_cast<Seen *>(arg);
        std::string entry = std::string(a->name) + "=";
        for (UIntT k = 0; k < a->valueCount; ++k) entry += (k ? "|" : "") + std::string(a->values[k]);
        if (a->index != s.entries.size()) entry += " at " + std::to_string(a->index);
        s.entries.push_back(entry);
        return s.entries.size() == s.stopAt ? 9 : 0;
    };
    EXPECT_EQ(F_ApiReadAttributes(doc, e, fn, &seen), 0);
    EXPECT_EQ(seen.entries, List());
    seen = Seen{{}, 2};
    EXPECT_EQ(F_ApiReadAttributes(doc, e, fn, &seen), 9);
    EXPECT_EQ(seen.entries, (std::vector<std::string>{"id=", "kind="}));
    // A text node has none; a stale element fails.
    F_ObjHandleT text = AppendText(doc, e, "t");
    seen = Seen{};
    EXPECT_EQ(F_ApiReadAttributes(doc, text, fn, &seen), 0);
    EXPECT_TRUE(seen.entries.empty());
    FA_errno = 0;
    EXPECT_EQ(F_ApiReadAttributes(doc, e + 999, fn, &seen), -1);
    EXPECT_EQ(FA_errno, FE_BadObjId);
}

// A list read from the element, changed and written back is the common case; lists that name
// other attributes, in another order or twice, give what they always gave.
TEST_F(ModelAttrs, SettingAListAfterAnotherGivesTheListAsWrittenWhateverWasHeld) {
    using List = std::vector<std::pair<std::string, std::vector<std::string>>>;
    const List read = {{"id", {"X1"}}, {"kind", {"b"}}, {"size", {}}, {"zeta", {"z"}}, {"alpha", {"1", "2"}}};
    const std::string held = "id=X1 kind=b zeta=z alpha=1|2";
    struct Case {
        const char *what;
        List list;
        std::string held;
        IntT error;
    };
    const Case cases[] = {
        {"written back unchanged", read, held, 0},
        {"one value changed",
         {{"id", {"X2"}}, {"kind", {"b"}}, {"size", {}}, {"zeta", {"z"}}, {"alpha", {"1", "2"}}},
         "id=X2 kind=b zeta=z alpha=1|2", 0},
        {"value lists grown and shrunk",
         {{"id", {"X1"}}, {"kind", {"b"}}, {"size", {}}, {"zeta", {"z1", "z2"}}, {"alpha", {"3"}}},
         "id=X1 kind=b zeta=z1|z2 alpha=3", 0},
        {"a declared value emptied and another set",
         {{"id", {}}, {"kind", {"b"}}, {"size", {"4"}}, {"zeta", {"z"}}, {"alpha", {"1", "2"}}},
         "kind=b size=4 zeta=z alpha=1|2", 0},
        {"reordered", {{"alpha", {"1", "2"}}, {"zeta", {"z"}}, {"kind", {"b"}}, {"id", {"X1"}}},
         "alpha=1|2 zeta=z kind=b id=X1", 0},
        {"an undeclared name renamed in its place",
         {{"id", {"X1"}}, {"kind", {"b"}}, {"size", {}}, {"eta", {"z"}}, {"alpha", {"1", "2"}}},
         "id=X1 kind=b eta=z alpha=1|2", 0},
        {"an undeclared name given twice keeps its place and takes the last values",
         {{"id", {"X1"}}, {"zeta", {"z"}}, {"alpha", {"1"}}, {"zeta", {"z2"}}}, "id=X1 zeta=z2 alpha=1", 0},
        {"a declared name given twice, after changed values", {{"id", {"X9"}}, {"zeta", {"new"}}, {"kind", {"a"}}, {"kind", {"b"}}},
         held, FE_Duplicate},
        {"a declared name given twice, unset first", {{"id", {}}, {"id", {"X3"}}}, held, FE_Duplicate},
        {"NULL and empty names skipped",
         {{"<null>", {"q"}}, {"id", {"X1"}}, {"", {"q"}}, {"kind", {"b"}}, {"zeta", {"z"}}, {"alpha", {"1", "2"}}}, held, 0},
        {"an empty list", {}, "", 0},
    };
    for (const Case &c : cases) {
        SetAttribute(doc, e, "alpha", {"0"});  // held in another order before the list is read
        SetAttribute(doc, e, "kind", {"a"});
        Set(read);
        ASSERT_EQ(Held(), held) << c.what;
        FA_errno = 0;
        Set(c.list);
        EXPECT_EQ(Held(), c.held) << c.what;
        EXPECT_EQ(FA_errno, c.error) << c.what;
    }
}

TEST_F(ModelAttrs, RetagTurnsUndeclaredIntoInvalidAndBack) {
    using V = std::vector<std::string>;
    SetAttribute(doc, e, "kind", {"b"});
    F_ObjHandleT plain = AddElementDef(doc, "Plain");
    F_ApiSetId(doc, e, FP_ElementDef, plain);
    EXPECT_EQ(List(), (V{"kind=b"}));
    F_ApiDeleteInvalidAttribute(doc, "kind", 0, e);
    EXPECT_EQ(List(), V{});
    F_ApiSetId(doc, e, FP_ElementDef, def);
    EXPECT_EQ(List(), (V{"id=", "kind=", "size="}));
    EXPECT_EQ(FA_errno, 0);
    // Text nodes carry no attributes.
    F_ObjHandleT t = AppendText(doc, e, "x");
    F_AttributesT as = F_ApiGetAttributes(doc, t);
    EXPECT_EQ(as.len, 0u);
    F_ApiDeallocateAttributes(&as);
    EXPECT_FALSE(SetAttribute(doc, t, "a", {"b"}));
}

TEST_F(ModelAttrs, DefinitionsParallelTheList) {
    F_AttributeDefsT defs = F_ApiGetAttributeDefs(doc, def);
    ASSERT_EQ(defs.len, 3u);
    EXPECT_STREQ(defs.val[0].name, "id");
    EXPECT_EQ(defs.val[0].attrType, FV_AT_UNIQUE_ID);
    EXPECT_EQ(defs.val[0].required, 1);
    EXPECT_EQ(defs.val[1].choiceNames.len, 2u);
    ASSERT_EQ(defs.val[1].defValues.len, 1u);
    EXPECT_STREQ(defs.val[1].defValues.val[0], "a");
    EXPECT_STREQ(defs.val[2].rangeMax, "9");
    F_ApiDeallocateAttributeDefs(&defs);
    F_ObjHandleT other = NewDocument("Z:\\b.fm");
    defs = F_ApiGetAttributeDefs(other, def);  // read with another document
    EXPECT_EQ(defs.len, 0u);
    EXPECT_NE(FA_errno, 0);
    F_ApiDeallocateAttributeDefs(&defs);
}

// An element's attribute list grows past its room, loses one from the middle, and is copied and
// replaced: each list keeps its own attributes and their values.
TEST(AttrListEdits, GrowEraseCopyAndReplace) {
    auto names = [](const AttrList &l) {
        std::string out;
        for (const Attr &a : l) out += std::to_string(a.name) + "=" + (a.values.empty() ? "" : a.values[0]) + " ";
        return out;
    };
    AttrList l;
    EXPECT_TRUE(l.empty());
    EXPECT_EQ(l.begin(), l.end());
    for (uint32_t i = 1; i <= 5; ++i) l.push_back(Attr{i, {std::string(20, char('a' + i))}});
    ASSERT_EQ(l.size(), 5u);
    l.erase(l.begin() + 1);
    const std::string four = names(l);
    EXPECT_EQ(four, "1=" + std::string(20, 'b') + " 3=" + std::string(20, 'd') + " 4=" + std::string(20, 'e') + " 5=" +
                        std::string(20, 'f') + " ");
    AttrList copy = l;
    l.back().values = AttrValues{"changed"};
    l.erase(l.begin());
    EXPECT_EQ(names(copy), four);
    copy = std::vector<Attr>{Attr{9, {"x"}}};
    EXPECT_EQ(names(copy), "9=x ");
    copy = static_cast<const AttrList &>(copy);
    AttrList moved = std::move(copy);
    EXPECT_EQ(names(moved), "9=x ");
    EXPECT_EQ(moved.ToVector().size(), 1u);
    EXPECT_EQ(l.size(), 3u);
    EXPECT_EQ(l[2].values[0], "changed");
    l.clear();
    EXPECT_TRUE(l.empty());
}

}  // namespace
