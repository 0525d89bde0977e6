// Attribute access: reads with their failure answers, value lists, writes by name and index,
// moving values between attributes, unique IDs and the attribute catalogue.
#include <set>

#include "elements_fixture.h"
#include "lib/host/attributes.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/strings/heapstr.h"
#include "lib/globals.h"

namespace {

using Attrs = ElementsDoc;

TEST_F(Attrs, ReadsAndTheirFailureAnswers) {
    std::string v;
    EXPECT_EQ(om_AttrGetValue(doc, p1, "kind", &v), 1);
    EXPECT_EQ(v, "a");
    EXPECT_EQ(om_AttrGetValue(doc, p2, "kind", &v), 1);  // declared, no value: "" and the index
    EXPECT_EQ(v, "");
    EXPECT_EQ(om_AttrGetValue(doc, p1, "nope", &v), -1);
    EXPECT_EQ(v, ErrorSentinel);
    EXPECT_EQ(om_StrIsEmpty(v.c_str()), 1);
    EXPECT_EQ(om_AttrGetValue(doc, tab, "kind", &v), -1);  // untagged: no attributes
    EXPECT_EQ(om_AttrGetValueAt(doc, p1, 0, &v), 1);
    EXPECT_EQ(v, "p1");
    EXPECT_EQ(om_AttrGetValueAt(doc, p1, 2, &v), 0);
    EXPECT_EQ(v, "");
    EXPECT_EQ(om_AttrGetValueAt(doc, p1, -1, &v), 0);
    EXPECT_EQ(om_AttrIndex(doc, p1, "kind"), 1);
    EXPECT_EQ(om_AttrIndexCI(doc, p1, "KIND"), 1);
    EXPECT_EQ(om_AttrIndexByType(doc, p1, FV_AT_UNIQUE_ID), 0);
    EXPECT_EQ(om_AttrDefType(doc, p1, -1, "id"), FV_AT_UNIQUE_ID);
    EXPECT_EQ(om_AttrDefType(doc, p1, 5, ""), -1);
    EXPECT_EQ(om_AttrIsDeclared(doc, p2, "kind", -1), 1);
    EXPECT_EQ(om_AttrIsDeclared(doc, p2, "other", -1), 0);
    StatusCode = 0;
    EXPECT_EQ(om_AttrIndex(0, p1, "id"), -1);
    EXPECT_EQ(StatusCode, StatusNoDocument);
    om_AttrSetValue(doc, p1, "kind", "42abc");
    EXPECT_EQ(om_AttrGetInt(doc, p1, "kind"), 42);
    EXPECT_EQ(om_AttrGetInt(doc, p1, "nope"), 0);
    EXPECT_EQ(StatusCode, StatusNotPossible);
}

TEST_F(Attrs, ValueListsSplitAndDefaults) {
    om_AttrSetValues(doc, p1, "kind", -1, {"two words", "one"}, 0);
    EXPECT_EQ(om_AttrGetValues(doc, p1, "kind", -1, 1, 0), (std::vector<std::string>{"two", "words", "one"}));
    EXPECT_EQ(om_AttrGetValues(doc, p1, "kind", -1, 0, 1), (std::vector<std::string>{"two words", "one"}));
    EXPECT_EQ(om_AttrGetValues(doc, p2, "kind", -1, 0, 1), std::vector<std::string>{"dflt"});
    EXPECT_TRUE(om_AttrGetValues(doc, p2, "kind", -1, 0, 0).empty());
    EXPECT_TRUE(om_AttrGetValues(doc, p2, "", 9, 0, 1).empty());
    Attributes all;
    ASSERT_EQ(om_AttrGetAll(&all, doc, p2, 1, 0), 1);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].values, std::vector<std::string>{"dflt"});
    EXPECT_EQ(om_AttrGetAll(&all, doc, 0, 1, 0), 0);
    om_AttrSetValues(doc, p1, "kind", -1, {"x", "y"}, 1);
    EXPECT_EQ(om_AttrGetValues(doc, p1, "kind", -1, 0, 0), std::vector<std::string>{"x y"});
}

TEST_F(Attrs, WritesReportThroughStatus) {
    EXPECT_EQ(om_AttrSetValue(doc, p2, "kind", "k"), 1);
    EXPECT_EQ(StatusCode, 0);
    EXPECT_EQ(om_AttrSetValue(doc, p2, "nope", "k"), -1);
    EXPECT_EQ(StatusCode, StatusNoSuchAttribute);
    EXPECT_EQ(om_AttrSetValue(doc, tab, "kind", "k"), -1);
    EXPECT_EQ(StatusCode, StatusNoAttributes);
    EXPECT_EQ(om_AttrSetValueAt(doc, p2, -1, "k"), -1);
    EXPECT_EQ(StatusCode, StatusNegativeIndex);
    EXPECT_EQ(om_AttrSetValueAt(doc, p2, 2, "k"), -1);
    EXPECT_EQ(StatusCode, StatusIndexOutOfRange);
    EXPECT_EQ(om_AttrSetValues(doc, p2, "", 7, {"a"}, 0), -1);
    EXPECT_EQ(StatusCode, StatusIndexOutOfRange);
    EXPECT_EQ(om_AttrSetInt(doc, p2, "kind", 17), 0);
    EXPECT_EQ(om_AttrGetValues(doc, p2, "kind", -1, 0, 0), std::vector<std::string>{"17"});
    EXPECT_EQ(om_AttrAppendValue(doc, p2, "kind", "b", 2), 0);
    EXPECT_EQ(om_AttrAppendValue(doc, p2, "kind", "c", 2), 0);  // already 2 values: not added
    EXPECT_EQ(om_AttrGetValues(doc, p2, "kind", -1, 0, 0), (std::vector<std::string>{"17", "b"}));
    EXPECT_EQ(om_AttrRemoveValue(doc, p2, "kind", "17"), 0);
    EXPECT_EQ(om_AttrGetValues(doc, p2, "kind", -1, 0, 0), std::vector<std::string>{"b"});
    EXPECT_EQ(om_AttrRemoveValue(doc, p2, "nope", "b"), StatusNoSuchAttribute);
}

TEST_F(Attrs, CopyMoveAndSwapValues) {
    struct Case {
        IntT op;
        std::vector<std::string> id, kind;
    } cases[] = {
        {2, {"p1"}, {"p1"}},
        {1, {}, {"p1"}},
        {3, {"a"}, {"p1"}},
    };
    for (const Case &c : cases) {
        host::SetAttribute(doc, p1, "id", {"p1"});
        host::SetAttribute(doc, p1, "kind", {"a"});
        EXPECT_EQ(om_AttrCopyValues(doc, p1, "id", -1, "kind", -1, c.op), 1) << c.op;
        EXPECT_EQ(om_AttrGetValues(doc, p1, "id", -1, 0, 0), c.id) << c.op;
        EXPECT_EQ(om_AttrGetValues(doc, p1, "kind", -1, 0, 0), c.kind) << c.op;
    }
    // One attribute onto itself changes nothing, whatever the operation.
    for (IntT op : {1, 2, 3}) {
        EXPECT_EQ(om_AttrCopyValues(doc, p1, "kind", -1, "", 1, op), 1);
        EXPECT_EQ(om_AttrGetValues(doc, p1, "kind", -1, 0, 0), std::vector<std::string>{"p1"});
    }
    EXPECT_EQ(om_AttrCopyValues(doc, p1, "id", -1, "", 5, 2), 0);
    EXPECT_EQ(StatusCode, StatusNoSuchAttribute);
}

TEST_F(Attrs, UniqueIdsAreNewEightLetterValues) {
    EXPECT_EQ(om_AttrAssignUniqueId(doc, p1, nullptr, 0, 0, 0), 0);  // already set, not forced
    EXPECT_EQ(om_AttrAssignUniqueId(doc, nested, nullptr, 0, 0, 0), 1);
    std::string v;
    om_AttrGetValue(doc, nested, "id", &v);
    ASSERT_EQ(v.size(), 8u);
    for (char c : v) EXPECT_TRUE(c >= 'A' && c <= 'Y');
    EXPECT_EQ(om_AttrAssignUniqueId(doc, title, nullptr, 0, 0, 1), 0);  // no unique-ID attribute
    EXPECT_EQ(om_AttrAssignUniqueId(doc, p1, nullptr, 0, 0, 1), 1);
    om_AttrGetValue(doc, p1, "id", &v);
    EXPECT_NE(v, "p1");
    std::vector<std::string> ids = om_AttrValuesOfFlow(doc, "", 0, kUniqueIdPseudoName, nullptr, 0);
    std::set<std::string> taken(ids.begin(), ids.end());
    EXPECT_EQ(taken.size(), 5u);  // s1, p1, p2, nested, s2: all different
}

TEST_F(Attrs, ValuesOfAFlowInDocumentOrderWithTheirElements) {
    std::vector<UIntT> elems;
    ElementWalkState = ElementWalkStateT{WalkNext, 1};
    std::vector<std::string> ids = om_AttrValuesOfFlow(doc, "", 0, "id", &elems, 0);
    EXPECT_EQ(ids, (std::vector<std::string>{"s1", "p1", "p2", "s2"}));
    EXPECT_EQ(elems, (std::vector<UIntT>{s1, p1, p2, s2}));
    EXPECT_EQ(ElementWalkState.lastMove, WalkNext);
    EXPECT_EQ(om_AttrValuesOfFlow(doc, "", 0, "kind", nullptr, 1).size(), 6u);  // defaults included
}

TEST_F(Attrs, CatalogueMergesValuesInFirstSeenOrderAndSkipsIds) {
    host::SetAttribute(doc, p2, "kind", {"b", "a"});
    Attributes cat = om_AttrCatalog(doc, 0, 0, 0, 0);
    ASSERT_EQ(cat.size(), 2u);
    EXPECT_EQ(cat[0].name, "id");
    EXPECT_EQ(cat[0].values, (std::vector<std::string>{"s1", "p1", "p2", "s2"}));
    EXPECT_EQ(cat[1].values, (std::vector<std::string>{"a", "b"}));
    Attributes noIds = om_AttrCatalog(doc, 1, 0, 0, 1);
    ASSERT_EQ(noIds.size(), 1u);
    EXPECT_EQ(noIds[0].name, "kind");
}

TEST_F(Attrs, CatalogueLeavesOutIdsByEachElementsOwnDefinition) {
    // In Note, "id" is an ordinary attribute: its values are catalogued although a Para just
    // before held an identifier of that name at the same place in its list; later identifiers of
    // Para join the entry then. Undeclared names that take turns at one place are each their own.
    F_ObjHandleT noteDef = host::AddElementDef(doc, "Note");
    host::AttrDef id;
    id.name = "id";
    host::AddAttributeDef(noteDef, id);
    struct Item {
        F_ObjHandleT def;
        const char *id, *attr, *value;
    };
    const Item items[] = {{noteDef, "n1", "u", "1"}, {noteDef, "n2", "w", "2"}, {paraDef, "p3", "", ""},
                          {noteDef, "n3", "u", "3"}};
    for (const Item &it : items) {
        F_ObjHandleT e = host::AppendElement(doc, s2, it.def);
        host::SetAttribute(doc, e, "id", {it.id});
        if (*it.attr) host::SetAttribute(doc, e, it.attr, {it.value});
    }
    Attributes cat = om_AttrCatalog(doc, 0, 0, 0, 1);
    std::vector<std::string> names;
    for (const Attribute &a : cat) names.push_back(a.name);
    EXPECT_EQ(names, (std::vector<std::string>{"kind", "id", "u", "w"}));
    ASSERT_EQ(cat.size(), 4u);
    EXPECT_EQ(cat[1].values, (std::vector<std::string>{"n1", "n2", "p3", "n3"}));
    EXPECT_EQ(cat[2].values, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(cat[3].values, std::vector<std::string>{"2"});
}

TEST_F(Attrs, CatalogueTakesDefaultsAndSplitValues) {
    // s1 and p2 hold no kind: the default stands in for it when asked; values split at blanks.
    host::SetAttribute(doc, p1, "kind", {"x y", "a"});
    host::SetAttribute(doc, s2, "kind", {"y", "b"});
    Attributes cat = om_AttrCatalog(doc, 0, 1, 1, 1);
    ASSERT_EQ(cat.size(), 1u);
    EXPECT_EQ(cat[0].values, (std::vector<std::string>{"dflt", "x", "y", "a", "b"}));
    Attributes plain = om_AttrCatalog(doc, 0, 0, 0, 1);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].values, (std::vector<std::string>{"x y", "a", "y", "b"}));
}

TEST_F(Attrs, AttributeListOperations) {
    Attributes a{{"b", {"2", " ", "1"}}, {"A", {"x y", ""}}, {"b", {"dup"}}};
    EXPECT_EQ(om_AttributesFind(a, "a", 0), 1);
    EXPECT_EQ(om_AttributesFind(a, "a", 1), -1);
    EXPECT_EQ(om_AttributesAddValue(a, -1, "b", "2", 0), 0);
    EXPECT_EQ(om_AttributesAddValue(a, -1, "b", "3", 0), 1);
    om_AttributesRemoveBlankValues(a);
    EXPECT_EQ(a[0].values, (std::vector<std::string>{"2", "1", "3"}));
    EXPECT_EQ(a[1].values, std::vector<std::string>{"x y"});
    om_AttributesSplitAt(a, " ");
    EXPECT_EQ(a[1].values, (std::vector<std::string>{"x", "y"}));
    om_AttributesSort(a, 1, 1);
    EXPECT_EQ(a[0].name, "A");
    EXPECT_EQ(a[1].values, (std::vector<std::string>{"1", "2", "3"}));
    om_AttributesMergeOrdered(a, {"b", "zz"});
    ASSERT_EQ(a.size(), 2u);  // the second "b" is not repeated
    EXPECT_EQ(a[0].name, "b");
    EXPECT_EQ(a[1].name, "A");
}

TEST_F(Attrs, ChildrenValuesAndFirstElementWithTheAttribute) {
    std::vector<std::string> vals;
    om_ElementChildrenAttrValues(doc, s1, "id", &vals);
    EXPECT_EQ(vals, (std::vector<std::string>{ErrorSentinel, "p1", "p2"}));  // Title has no id
    EXPECT_EQ(om_AttrValuesByAttr(doc, "Para", "id", &vals), 1);
    EXPECT_EQ(vals, std::vector<std::string>{"p1"});
    EXPECT_EQ(om_AttrValuesByAttr(doc, "Title", "id", &vals), 0);
}

}  // namespace
