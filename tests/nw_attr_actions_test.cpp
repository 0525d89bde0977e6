// The Node Wizard's attribute actions on one element: each action's effect and result code on
// single- and multi-valued, declared and undeclared attributes, the matched attribute standing
// for "{xpath-match}", tokenized values, text moved between a value and the element, the query's
// attribute cursor after removals, and unique IDs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fdk.h"
#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "model.h"
#include "nodewizard/actions.h"
#include "nodewizard/attr_actions.h"
#include "xpath/xpath.h"

namespace {

using NWNames = std::vector<std::string>;

// Doc
//   Item  id="i1" multi="a" "b" single="x y z" extra="e1" (undeclared)  text "hello"
//   Bare  (no attributes)
class AttrActions : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        FA_errno = 0;
        om_NWSetDefaults();
        doc = host::NewDocument("Z:\\t\\attr.fm");
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        itemDef = host::AddElementDef(doc, "Item", FV_FO_CONTAINER, "Body");
        F_ObjHandleT bareDef = host::AddElementDef(doc, "Bare", FV_FO_CONTAINER, "Body");
        const std::pair<const char *, IntT> defs[] = {{"id", FV_AT_UNIQUE_ID}, {"multi", FV_AT_STRINGS},
                                                       {"single", FV_AT_STRING}};
        for (auto [name, type] : defs) {
            host::AttrDef def;
            def.name = name;
            def.type = type;
            host::AddAttributeDef(itemDef, def);
        }
        root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        item = host::AppendElement(doc, root, itemDef);
        host::SetAttribute(doc, item, "id", {"i1"});
        host::SetAttribute(doc, item, "multi", {"a", "b"});
        host::SetAttribute(doc, item, "single", {"x y z"});
        host::SetAttribute(doc, item, "extra", {"e1"});
        host::AppendText(doc, item, "hello");
        bare = host::AppendElement(doc, root, bareDef);
    }

    // The element's attributes as "name=v1,v2|..." and its text.
    std::string State(F_ObjHandleT e) {
        std::string s;
        for (const Attribute &a : HostGetAttributes(doc, e)) {
            s += a.name + "=";
            for (size_t i = 0; i < a.values.size(); ++i) s += (i ? "," : "") + a.values[i];
            s += "|";
        }
        return s + "text=" + om_ElementText(doc, e, 0, 0, 0, 0);
    }

    F_ObjHandleT doc = 0, itemDef = 0, root = 0, item = 0, bare = 0;
};

// Runs an attribute action by its code over explicit names and values, as the Node Wizard and
// scripts do: through the dispatcher, which picks the action from AttrActionCode. Failures are
// counted but not reported (no report document here).
IntT RunAction(IntT code, F_ObjHandleT doc, F_ObjHandleT e, const NWNames &names, const NWNames &values, IntT index) {
    AttrActionCode = static_cast<NWAttrAction>(code);
    ActionAttrNames = names;
    ActionAttrValues = values;
    NodeWizardOptions.reportAttrErrors = 0;
    return om_NWPerformAttrAction(doc, e, index, 0, 0, 0);
}

TEST_F(AttrActions, EffectsAndCodesOnOneElement) {
    const std::string start = "id=i1|multi=a,b|single=x y z|extra=e1|text=hello";
    struct Case {
        const char *what;
        IntT code;
        NWNames names, values;
        IntT index;
        int tokenized;
        IntT result;
        std::string after;
    } cases[] = {
        {"add a new value", 40, {"multi"}, {"c"}, -1, 0, 0, "id=i1|multi=a,b,c|single=x y z|extra=e1|text=hello"},
        {"add one present, one new", 40, {"multi"}, {"a", "c"}, -1, 0, 313, "id=i1|multi=a,b,c|single=x y z|extra=e1|text=hello"},
        {"add to a missing attribute", 40, {"nope"}, {"c"}, -1, 0, 312, start},
        {"add to the matched attribute", 40, {"{XPath-Match}"}, {"d"}, 1, 0, 0, "id=i1|multi=a,b,d|single=x y z|extra=e1|text=hello"},
        {"matched index past the list", 40, {"{xpath-match}"}, {"d"}, 9, 0, 312, start},
        {"add to an undeclared attribute", 40, {"extra"}, {"e2"}, -1, 0, 0, "id=i1|multi=a,b|single=x y z|extra=e1,e2|text=hello"},
        {"add a token", 40, {"single"}, {"w"}, -1, 1, 0, "id=i1|multi=a,b|single=x y z w|extra=e1|text=hello"},
        {"add a present token", 40, {"single"}, {"y"}, -1, 1, 313, start},
        {"remove a value", 41, {"multi"}, {"a"}, -1, 0, 0, "id=i1|multi=b|single=x y z|extra=e1|text=hello"},
        {"remove an absent value", 41, {"multi"}, {"q"}, -1, 0, 314, start},
        {"remove the middle token", 41, {"single"}, {"y"}, -1, 1, 0, "id=i1|multi=a,b|single=x z|extra=e1|text=hello"},
        {"replace values", 42, {"multi", "nope"}, {"r", "s"}, -1, 0, 312, "id=i1|multi=r,s|single=x y z|extra=e1|text=hello"},
        {"replace with longer and shorter texts", 42, {"single", "multi"}, {"longer", ""}, -1, 0, 0,
         "id=i1|multi=longer,|single=longer,|extra=e1|text=hello"},
        {"replace more values by one, unset ones too", 42, {"multi", "extra", "{xpath-match}"}, {"q"}, 0, 0, 0,
         "id=q|multi=q|single=x y z|extra=q|text=hello"},
        {"replace as tokens", 42, {"single"}, {"r", "s"}, -1, 1, 0, "id=i1|multi=a,b|single=r s|extra=e1|text=hello"},
        {"delete values of two", 43, {"multi", "extra"}, {}, -1, 0, 0, "id=i1|multi=|single=x y z|extra=|text=hello"},
        {"move value to text", 44, {"multi"}, {}, -1, 0, 0, "id=i1|multi=b|single=x y z|extra=e1|text=a"},
        {"copy value to text", 45, {"single"}, {}, -1, 0, 0, "id=i1|multi=a,b|single=x y z|extra=e1|text=x y z"},
        {"move text to value", 46, {"multi"}, {}, -1, 0, 0, "id=i1|multi=hello,b|single=x y z|extra=e1|text="},
        {"copy text to value", 47, {"single"}, {}, -1, 0, 0, "id=i1|multi=a,b|single=hello|extra=e1|text=hello"},
        {"text to a missing attribute", 47, {"nope"}, {}, -1, 0, 312, start},
        {"remove an undeclared attribute", 48, {"extra"}, {}, -1, 0, 0, "id=i1|multi=a,b|single=x y z|text=hello"},
        {"remove a declared attribute", 48, {"multi"}, {}, -1, 0, 323, start},
        {"remove the matched one: none", 48, {"{xpath-match}"}, {}, -1, 0, 324, start},
        {"remove the matched undeclared", 48, {"{xpath-match}"}, {}, 3, 0, 0, "id=i1|multi=a,b|single=x y z|text=hello"},
        {"search, fewer replace strings", 54, {"y", "z"}, {"Y"}, 2, 0, 0, "id=i1|multi=a,b|single=x Y |extra=e1|text=hello"},
        {"search with an empty string", 54, {""}, {"Q"}, 2, 0, 0, start},
        {"search without a matched one", 54, {"a"}, {"Q"}, -1, 0, 0, start},
        {"detokenize two", 63, {"single", "multi"}, {}, -1, 0, 0, "id=i1|multi=a,b|single=x,y,z|extra=e1|text=hello"},
        {"tokenize", 64, {"multi", "nope"}, {}, -1, 0, 312, "id=i1|multi=a b|single=x y z|extra=e1|text=hello"},
    };
    for (const Case &c : cases) {
        SetUp();
        TokenizedAttrValues = c.tokenized;
        EXPECT_EQ(RunAction(c.code, doc, item, c.names, c.values, c.index), c.result) << c.what;
        EXPECT_EQ(State(item), c.after) << c.what;
    }
}

TEST_F(AttrActions, MissingDocumentElementOrAttributes) {
    for (IntT code : {40, 41, 42, 43, 44, 45, 46, 47}) {
        EXPECT_EQ(RunAction(code, 0, item, {"multi"}, {"a"}, -1), 200) << code;
        EXPECT_EQ(RunAction(code, doc, 0, {"multi"}, {"a"}, -1), 201) << code;
        EXPECT_EQ(RunAction(code, doc, bare, {"multi"}, {"a"}, -1), 311) << code;
    }
}

TEST_F(AttrActions, TextTransfersWithEmptyTextAndLongText) {
    host::SetAttribute(doc, bare, "v", {"old"});  // an undeclared attribute on an empty element
    EXPECT_EQ(om_NWAttrValueTextTransfer(doc, bare, {"v"}, 46, -1), 0);
    EXPECT_EQ(State(bare), "v=old|text=");  // empty text: nothing without the preference
    NodeWizardPrompts.copyEmptyString = 1;
    EXPECT_EQ(om_NWAttrValueTextTransfer(doc, bare, {"v"}, 46, -1), 0);
    EXPECT_EQ(State(bare), "v=|text=");
    // Moving a long text keeps all of it; copying keeps the first 255 characters.
    std::string longText(1000, 'k');
    host::AppendText(doc, bare, longText);
    EXPECT_EQ(om_NWAttrValueTextTransfer(doc, bare, {"v"}, 47, -1), 0);
    EXPECT_EQ(HostGetAttributes(doc, bare)[0].values[0].size(), 255u);
    EXPECT_EQ(om_NWAttrValueTextTransfer(doc, bare, {"v"}, 46, -1), 0);
    EXPECT_EQ(HostGetAttributes(doc, bare)[0].values[0], longText);
    EXPECT_EQ(om_ElementText(doc, bare, 0, 0, 0, 0), "");
}

TEST_F(AttrActions, RemovingBeforeTheMatchedAttributeMovesTheQueryCursor) {
    host::SetAttribute(doc, item, "extra2", {"e2"});  // index 4
    IntT seq = om_XPathCompile("/Doc/Item/@*", 0);
    ASSERT_TRUE(om_XPathIsCompiledSequence(seq));
    IntT last = om_XPathLastStep(seq);
    om_XPathRec(last).attrIndex = 4;
    EXPECT_EQ(om_NWAttrRemoveInvalidNamed(doc, item, {"extra", "multi"}, 4, seq), 323);
    EXPECT_EQ(om_XPathRec(last).attrIndex, 3);  // extra (index 3) went; multi is declared
    EXPECT_EQ(State(item), "id=i1|multi=a,b|single=x y z|extra2=e2|text=hello");
    // The matched attribute itself at 3, cursor at 0: below -1 becomes past every attribute.
    om_XPathRec(last).attrIndex = 0;
    EXPECT_EQ(om_NWAttrRemoveInvalidNamed(doc, item, {"{xpath-match}"}, 3, seq), 0);
    EXPECT_EQ(om_XPathRec(last).attrIndex, -1);
    host::SetAttribute(doc, item, "e3", {"1"});
    host::SetAttribute(doc, item, "e4", {"1"});
    EXPECT_EQ(om_NWAttrRemoveInvalidNamed(doc, item, {"e3", "e4"}, 4, seq), 0);
    EXPECT_EQ(om_XPathRec(last).attrIndex, 1000);
}

TEST_F(AttrActions, UniqueIdsNeverCollide) {
    // The first draws of a seeded generator are already taken by other elements: the new ID is
    // the first free draw.
    std::srand(7);
    std::vector<std::string> draws;
    for (int i = 0; i < 6; ++i) draws.push_back(om_StrRandomLetters(0, 0));
    std::vector<F_ObjHandleT> items;
    for (int i = 0; i < 5; ++i) {
        F_ObjHandleT e = host::AppendElement(doc, root, itemDef);
        host::SetAttribute(doc, e, "id", {draws[i]});
    }
    F_ObjHandleT fresh = host::AppendElement(doc, root, itemDef);
    om_NWAttrForgetUniqueIds();
    std::srand(7);
    EXPECT_EQ(om_NWAttrSetUniqueId(doc, fresh), 0);
    EXPECT_EQ(HostGetAttributes(doc, fresh)[0].values, std::vector<std::string>{draws[5]});
    EXPECT_EQ(om_NWAttrSetUniqueId(doc, fresh), 326);  // has one now
    EXPECT_EQ(om_NWAttrSetUniqueId(doc, bare), 326);   // no unique-ID attribute
    // IDs given in one batch never repeat one another, even with the generator restarted.
    std::set<std::string> seen{draws.begin(), draws.end()};
    for (int i = 0; i < 20; ++i) {
        F_ObjHandleT e = host::AppendElement(doc, root, itemDef);
        std::srand(7);
        ASSERT_EQ(om_NWAttrSetUniqueId(doc, e), 0);
        std::string id = HostGetAttributes(doc, e)[0].values[0];
        EXPECT_EQ(id.size(), 8u);
        EXPECT_TRUE(seen.insert(id).second) << id;
    }
}

TEST_F(AttrActions, ANewBatchSeesIdsGivenSinceTheLast) {
    std::srand(11);
    std::vector<std::string> draws;
    for (int i = 0; i < 3; ++i) draws.push_back(om_StrRandomLetters(0, 0));
    F_ObjHandleT a = host::AppendElement(doc, root, itemDef), b = host::AppendElement(doc, root, itemDef),
                 c = host::AppendElement(doc, root, itemDef);
    om_NWAttrForgetUniqueIds();
    std::srand(11);
    ASSERT_EQ(om_NWAttrSetUniqueId(doc, a), 0);
    EXPECT_EQ(HostGetAttributes(doc, a)[0].values[0], draws[0]);
    host::SetAttribute(doc, b, "id", {draws[1]});  // given by hand between two batches
    om_NWAttrForgetUniqueIds();
    std::srand(11);
    ASSERT_EQ(om_NWAttrSetUniqueId(doc, c), 0);
    EXPECT_EQ(HostGetAttributes(doc, c)[0].values[0], draws[2]);
}

TEST_F(AttrActions, DispatchedSearchAndReplaceAndUniqueId) {
    // Fewer replace strings than search strings: the missing ones count as "".
    AttrActionCode = 54;
    ActionAttrNames = {"y", "z"};
    ActionAttrValues = {"Y"};
    EXPECT_EQ(om_NWPerformAttrAction(doc, item, 2, 0, 0, 0), 0);
    EXPECT_EQ(State(item), "id=i1|multi=a,b|single=x Y |extra=e1|text=hello");
    EXPECT_EQ(ActionAttrValues, std::vector<std::string>{"Y"});
    // Set unique ID through the dispatcher: only an empty ID is written.
    AttrActionCode = 61;
    EXPECT_EQ(om_NWPerformAttrAction(doc, item, -1, 0, 0, 0), 326);
    F_ObjHandleT fresh = host::AppendElement(doc, root, itemDef);
    EXPECT_EQ(om_NWPerformAttrAction(doc, fresh, -1, 0, 0, 0), 0);
    EXPECT_EQ(HostGetAttributes(doc, fresh)[0].values.at(0).size(), 8u);
}

TEST_F(AttrActions, SortValuesByTheActionsOptions) {
    // A scripts document's Sort_values action element with its options.
    F_ObjHandleT scripts = host::NewDocument("Z:\\t\\scripts.fm");
    auto def = [&](const char *name) { return host::AddElementDef(scripts, name); };
    F_ObjHandleT action = host::AppendElement(scripts, 0, def("Sort_values"), host::MainFlow(scripts));
    F_ObjHandleT options = host::AppendElement(scripts, action, def("Value_sort_options"));
    F_ObjHandleT descending = def("Sort_descending"), numeric = def("Sort_numeric");
    host::SetAttribute(doc, item, "multi", {"10", "9", "100"});
    EXPECT_EQ(om_NWAttrSortValues(doc, item, {"multi"}, -1, scripts, action), 0);
    EXPECT_EQ(HostGetAttributes(doc, item)[1].values, (std::vector<std::string>{"10", "100", "9"}));
    host::AppendElement(scripts, options, numeric);
    EXPECT_EQ(om_NWAttrSortValues(doc, item, {"multi"}, -1, scripts, action), 0);
    EXPECT_EQ(HostGetAttributes(doc, item)[1].values, (std::vector<std::string>{"9", "10", "100"}));
    host::AppendElement(scripts, options, descending);
    TokenizedAttrValues = 1;  // one value of blank-separated tokens
    host::SetAttribute(doc, item, "single", {"2 30 4"});
    EXPECT_EQ(om_NWAttrSortValues(doc, item, {"single", "nope"}, -1, scripts, action), 0);
    EXPECT_EQ(HostGetAttributes(doc, item)[2].values, std::vector<std::string>{"30 4 2"});
}

}  // namespace

namespace {

// The actions between the matched attribute and a specified one, as the dispatcher runs them:
// the matched attribute (here "multi") by its index, the specified one by the first name.
TEST_F(AttrActions, ValuesToAndFromASpecifiedAttributeThroughTheDispatcher) {
    const struct {
        IntT code;
        NWNames names;
        IntT result;
        const char *after;
        unsigned successes;
    } cases[] = {
        {49, {"single"}, 0, "id=i1|multi=|single=a,b|extra=e1|text=hello", 1},
        {50, {"single"}, 0, "id=i1|multi=a,b|single=a,b|extra=e1|text=hello", 1},
        {51, {"single"}, 0, "id=i1|multi=x y z|single=|extra=e1|text=hello", 1},
        {52, {"single"}, 0, "id=i1|multi=x y z|single=x y z|extra=e1|text=hello", 1},
        {53, {"single"}, 0, "id=i1|multi=x y z|single=a,b|extra=e1|text=hello", 1},
        {50, {"extra"}, 0, "id=i1|multi=a,b|single=x y z|extra=a,b|text=hello", 1},
        {49, {"nope"}, 312, "id=i1|multi=a,b|single=x y z|extra=e1|text=hello", 0},
        {53, {"{xpath-match}"}, 0, "id=i1|multi=a,b|single=x y z|extra=e1|text=hello", 0},  // nothing, uncounted
    };
    for (const auto &c : cases) {
        SetUp();
        NodeWizardRun.attrSuccesses = 0;
        AttrActionCode = c.code;
        ActionAttrNames = c.names;
        ActionAttrValues.clear();
        EXPECT_EQ(om_NWPerformAttrAction(doc, item, 1, 0, 0, 0), c.result) << c.code << " " << c.names[0];
        EXPECT_EQ(State(item), c.after) << c.code << " " << c.names[0];
        EXPECT_EQ(NodeWizardRun.attrSuccesses, c.successes) << c.code << " " << c.names[0];
    }
}

}  // namespace
