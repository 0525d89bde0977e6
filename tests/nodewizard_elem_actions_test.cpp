// The Node Wizard's element actions through the per-node entry point: the effect of each on a
// small document, its refusals with their codes, and a save and reopen that reads back what the
// action left.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "docfile_api.h"
#include "fdk.h"
#include "lib/globals.h"
#include "lib/state/nodewizard.h"
#include "model.h"
#include "nodewizard/action_batch.h"
#include "nodewizard/actions.h"
#include "paths.h"
#include "tables.h"
#include "user.h"

namespace {

// The tree under an element in one line: Tag#id(children), text as 'text'.
std::string Tree(F_ObjHandleT e) {
    const host::Element *x = host::Elem(e);
    if (!x) return "-";
    if (!x->def) return "'" + x->text + "'";
    std::string out = host::Def(x->def)->name;
    if (const auto *id = host::GetAttribute(e, "id"); id && !id->empty()) out += "#" + id->front();
    if (!x->first) return out;
    out += "(";
    for (F_ObjHandleT c = x->first; c; c = host::Elem(c)->next) out += (c == x->first ? "" : " ") + Tree(c);
    return out + ")";
}

std::string DocTree(F_ObjHandleT doc) { return Tree(host::FlowOf(host::MainFlow(doc))->root); }

//   Doc
//     Sec#s1 (Title 'T', Para#p1 'a', Para#p2 'b')
//     Sec#s2 (empty)
class ElementActions : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetUser();
        om_NWSetDefaults();
        NodeWizardOptions.reportElemErrors = 0;
        FA_errno = 0;
        StatusCode = 0;
        doc = host::NewDocument("Z:\\t\\actions.fm");
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        F_ObjHandleT secDef = host::AddElementDef(doc, "Sec");
        F_ObjHandleT titleDef = host::AddElementDef(doc, "Title", FV_FO_CONTAINER, "Heading");
        F_ObjHandleT paraDef = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        host::AddElementDef(doc, "Note", FV_FO_CONTAINER, "Body");
        host::AddElementDef(doc, "Box");
        for (F_ObjHandleT d : {secDef, paraDef}) {
            host::AttrDef id;
            id.name = "id";
            id.type = FV_AT_UNIQUE_ID;
            host::AddAttributeDef(d, id);
        }
        root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        s1 = host::AppendElement(doc, root, secDef);
        host::SetAttribute(doc, s1, "id", {"s1"});
        title = host::AppendElement(doc, s1, titleDef);
        host::AppendText(doc, title, "T");
        p1 = host::AppendElement(doc, s1, paraDef);
        host::SetAttribute(doc, p1, "id", {"p1"});
        host::AppendText(doc, p1, "a");
        p2 = host::AppendElement(doc, s1, paraDef);
        host::SetAttribute(doc, p2, "id", {"p2"});
        host::AppendText(doc, p2, "b");
        s2 = host::AppendElement(doc, root, secDef);
        host::SetAttribute(doc, s2, "id", {"s2"});
        host::MarkChanged(doc);
    }
    void TearDown() override { host::ResetUser(); }

    // Saves the document natively, reopens the file and answers its tree.
    std::string Reopened() {
        auto dir = std::filesystem::path(::testing::TempDir()) / "nw_elem_actions";
        std::filesystem::create_directories(dir);
        std::string path = host::WindowsPath((dir / "saved.fm").string());
        EXPECT_TRUE(host::SaveDocumentFile(doc, path, FV_SaveFmtBinary));
        // A copy, so that the file is read anew and not found among the open documents.
        std::filesystem::copy_file(dir / "saved.fm", dir / "reopened.fm",
                                   std::filesystem::copy_options::overwrite_existing);
        F_ObjHandleT again = host::OpenDocumentFile(host::WindowsPath((dir / "reopened.fm").string()), true);
        EXPECT_NE(again, doc);
        std::string tree = again ? DocTree(again) : "(not reopened)";
        if (again) host::CloseDocument(again);
        return tree;
    }

  public:
    F_ObjHandleT doc = 0, root = 0, s1 = 0, title = 0, p1 = 0, p2 = 0, s2 = 0;
};

struct ElementCase {
    const char *what;
    IntT action;
    const char *name;     // the retag, wrap and insert name
    F_ObjHandleT ElementActions::*node;
    NWActionError result;
    const char *tree;     // the document afterwards
};

const char *const kBefore = "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b')) Sec#s2)";

const ElementCase kCases[] = {
    {"retag", 2, "Note", &ElementActions::p1, 0, "Doc(Sec#s1(Title('T') Note#p1('a') Para#p2('b')) Sec#s2)"},
    {"retag to an unknown name", 2, "Nope", &ElementActions::p1, 301, kBefore},
    {"wrap element", 3, "Box", &ElementActions::p1, 0, "Doc(Sec#s1(Title('T') Box(Para#p1('a')) Para#p2('b')) Sec#s2)"},
    {"wrap contents", 4, "Box", &ElementActions::p1, 0, "Doc(Sec#s1(Title('T') Para#p1(Box('a')) Para#p2('b')) Sec#s2)"},
    {"wrap in an unknown name", 3, "Nope", &ElementActions::p1, 302, kBefore},
    {"unwrap", 5, "", &ElementActions::s1, 0, "Doc(Title('T') Para#p1('a') Para#p2('b') Sec#s2)"},
    {"demote", 7, "", &ElementActions::s2, 0, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b') Sec#s2))"},
    {"delete element", 8, "", &ElementActions::p1, 0, "Doc(Sec#s1(Title('T') Para#p2('b')) Sec#s2)"},
    {"delete the highest-level element", 8, "", &ElementActions::root, 0, "-"},
    {"delete contents", 9, "", &ElementActions::s1, 0, "Doc(Sec#s1 Sec#s2)"},
    {"move up", 12, "", &ElementActions::p2, 0, "Doc(Sec#s1(Title('T') Para#p2('b') Para#p1('a')) Sec#s2)"},
    {"move down", 13, "", &ElementActions::p1, 0, "Doc(Sec#s1(Title('T') Para#p2('b') Para#p1('a')) Sec#s2)"},
    {"move up a first child", 12, "", &ElementActions::s1, 318, kBefore},
    {"move down a last child", 13, "", &ElementActions::s2, 319, kBefore},
    {"move the highest-level element", 12, "", &ElementActions::root, 321, kBefore},
    {"insert before", 19, "Note", &ElementActions::p2, 0, "Doc(Sec#s1(Title('T') Para#p1('a') Note Para#p2('b')) Sec#s2)"},
    {"insert after", 20, "Note", &ElementActions::p2, 0, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b') Note) Sec#s2)"},
    {"insert first child", 21, "Note", &ElementActions::s2, 0, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b')) Sec#s2(Note))"},
    {"insert last child", 22, "Note", &ElementActions::s1, 0, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b') Note) Sec#s2)"},
    {"insert an unknown name", 22, "Nope", &ElementActions::s1, 302, kBefore},
    {"insert beside the highest-level element", 19, "Note", &ElementActions::root, 317, kBefore},
    {"paste before the highest-level element", 17, "", &ElementActions::root, 309, kBefore},
    // Without a script's value source the value is the script's invalid-setup text.
    {"set text of a container", 26, "", &ElementActions::p1, 0,
     "Doc(Sec#s1(Title('T') Para#p1('SCRIPT ERROR - INVALID ELEMENT SETUP') Para#p2('b')) Sec#s2)"},
};

TEST_F(ElementActions, EachActionChangesTheDocumentOrRefusesWithItsCode) {
    for (const ElementCase &c : kCases) {
        SetUp();
        SCOPED_TRACE(c.what);
        NodeWizardQuery.elementAction = c.action;
        NodeWizardRun.retagName = WrapElementName = NodeWizardOptions.insertName = c.name;
        F_ObjHandleT node = this->*c.node;
        EXPECT_EQ(om_NWPerformElemAction(doc, node, 0, 0), c.result);
        EXPECT_EQ(DocTree(doc), c.tree);
        // Every action but delete and unwrap keeps the node it acted on.
        if (c.action != 8 && c.action != 5) {
            EXPECT_NE(host::Elem(node), nullptr);
        }
        EXPECT_EQ(Reopened(), c.tree);
        EXPECT_EQ(c.result ? NodeWizardQuery.elemFailures : NodeWizardRun.elemSuccesses, 1u);
        EXPECT_EQ(AttemptedActions, 1u);
    }
}

// The paste modes with the Title copied as an element, and Promote, through the dispatcher.
TEST_F(ElementActions, PasteModesAndPromote) {
    const struct {
        const char *what;
        IntT action;
        F_ObjHandleT ElementActions::*node;
        const char *tree;
    } cases[] = {
        {"paste over the element", 11, &ElementActions::p2, "Doc(Sec#s1(Title('T') Para#p1('a') Title('T')) Sec#s2)"},
        {"paste over its contents", 14, &ElementActions::p2, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2(Title('T'))) Sec#s2)"},
        {"paste at its beginning", 15, &ElementActions::p2, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2(Title('T') 'b')) Sec#s2)"},
        {"paste after it", 18, &ElementActions::p2, "Doc(Sec#s1(Title('T') Para#p1('a') Para#p2('b') Title('T')) Sec#s2)"},
        {"promote", 6, &ElementActions::p2, "Doc(Sec#s1(Title('T') Para#p1('a')) Para#p2('b') Sec#s2)"},
    };
    for (const auto &c : cases) {
        SetUp();
        SCOPED_TRACE(c.what);
        NodeWizardQuery.elementAction = 25;  // copy the Title as an element
        ASSERT_EQ(om_NWPerformElemAction(doc, title, 0, 0), 0);
        NodeWizardQuery.elementAction = c.action;
        EXPECT_EQ(om_NWPerformElemAction(doc, this->*c.node, 0, 0), 0);
        EXPECT_EQ(DocTree(doc), c.tree);
        EXPECT_EQ(NodeWizardRun.elemSuccesses, 2u);
        EXPECT_EQ(NodeWizardQuery.elemFailures, 0u);
    }
}

TEST_F(ElementActions, ArgumentChecksComeBeforeTheActionAndCountNothing) {
    NodeWizardQuery.elementAction = 1;
    EXPECT_EQ(om_NWPerformElemAction(0, p1, 0, 0), 200);
    EXPECT_EQ(om_NWPerformElemAction(doc, 0, 0, 0), 201);  // nothing selected
    EXPECT_EQ(om_NWPerformElemAction(doc, p1, 0, 0), 0);
    NodeWizardQuery.elementAction = 3;
    WrapElementName = "Box";
    EXPECT_EQ(om_NWPerformElemAction(doc, host::MainFlow(doc), 0, 0), 340);  // wrap a flow: no
    EXPECT_EQ(AttemptedActions, 1u);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 1u);
    NodeWizardQuery.elementAction = 9;
    EXPECT_EQ(om_NWPerformElemAction(doc, host::MainFlow(doc), 0, 0), 0);  // clears the flow
    EXPECT_EQ(host::FlowOf(host::MainFlow(doc))->root, 0u);
}

// A retag that fails answers the first of its failures in order: a node gone or without content,
// then an unknown name, then the host's refusal (a text node cannot be tagged); none but the
// first counts as an attempt.
TEST_F(ElementActions, AFailedRetagAnswersItsFirstFailure) {
    struct Case {
        const char *what, *name;
        bool deleted;  // p1 deleted before the retag
        bool text;     // the retag is of p1's text node
        NWActionError result;
    } cases[] = {
        {"a deleted element", "Note", true, false, NWResult::NoNode},
        {"a deleted element, unknown name", "Nope", true, false, NWResult::NoNode},
        {"a text node", "Note", false, true, NWResult::RetagRefused},
        {"a text node, unknown name", "Nope", false, true, NWResult::RetagNoDefinition},
    };
    for (const Case &c : cases) {
        SetUp();
        SCOPED_TRACE(c.what);
        F_ObjHandleT text = host::Elem(p1)->first;
        if (c.deleted) {
            NodeWizardQuery.elementAction = 8;
            ASSERT_EQ(om_NWPerformElemAction(doc, p1, 0, 0), 0);
        }
        const std::string before = DocTree(doc);
        const UIntT attempts = AttemptedActions, failures = NodeWizardQuery.elemFailures;
        NodeWizardQuery.elementAction = 2;
        NodeWizardRun.retagName = c.name;
        EXPECT_EQ(om_NWPerformElemAction(doc, c.text ? text : p1, 0, 0), c.result);
        EXPECT_EQ(DocTree(doc), before);
        const bool counted = c.result != NWResult::NoNode;
        EXPECT_EQ(AttemptedActions, attempts + (counted ? 1 : 0));
        EXPECT_EQ(NodeWizardQuery.elemFailures, failures + (counted ? 1 : 0));
    }
}

TEST_F(ElementActions, MoveKeepsTheMovedElementAndCopyThenPasteMakesNewElements) {
    NodeWizardQuery.elementAction = 12;
    ASSERT_EQ(om_NWPerformElemAction(doc, p2, 0, 0), 0);
    EXPECT_EQ(host::Elem(s1)->first, title);
    EXPECT_EQ(host::Elem(title)->next, p2);  // the same element, now before the other one
    NodeWizardQuery.elementAction = 25;     // copy p2 ...
    ASSERT_EQ(om_NWPerformElemAction(doc, p2, 0, 0), 0);
    NodeWizardQuery.elementAction = 16;     // ... and paste it at the end of s2
    ASSERT_EQ(om_NWPerformElemAction(doc, s2, 0, 0), 0);
    EXPECT_EQ(DocTree(doc), "Doc(Sec#s1(Title('T') Para#p2('b') Para#p1('a')) Sec#s2(Para#p2('b')))");
    EXPECT_NE(host::Elem(s2)->first, p2);
    ClipboardEmpty = 1;  // a script found nothing to copy: pasting does nothing
    EXPECT_EQ(om_NWPerformElemAction(doc, s2, 0, 0), 0);
    EXPECT_EQ(DocTree(doc), "Doc(Sec#s1(Title('T') Para#p2('b') Para#p1('a')) Sec#s2(Para#p2('b')))");
}

TEST_F(ElementActions, ABatchFindsEachDocumentsOwnDefinitionByName) {
    F_ObjHandleT other = host::NewDocument("Z:\\t\\other.fm");
    F_ObjHandleT otherPara = host::AddElementDef(other, "Para");
    F_ObjHandleT otherNote = host::AddElementDef(other, "Note");
    F_ObjHandleT q = host::AppendElement(other, 0, otherPara, host::MainFlow(other));
    NWActionBatch batch;
    NodeWizardQuery.elementAction = 2;
    NodeWizardRun.retagName = "Note";
    ASSERT_EQ(om_NWPerformElemAction(doc, p1, 0, 0), 0);
    ASSERT_EQ(om_NWPerformElemAction(other, q, 0, 0), 0);
    EXPECT_EQ(host::Elem(q)->def, otherNote);  // not the first document's Note
    NodeWizardRun.retagName = "Box";          // a name only the first document defines
    EXPECT_EQ(om_NWPerformElemAction(doc, p2, 0, 0), 0);
    EXPECT_EQ(om_NWPerformElemAction(other, q, 0, 0), 301);
    EXPECT_EQ(DocTree(doc), "Doc(Sec#s1(Title('T') Note#p1('a') Box#p2('b')) Sec#s2)");
}

TEST_F(ElementActions, ABatchThatForgetsSeesADocumentClosedMeanwhile) {
    F_ObjHandleT other = host::NewDocument("Z:\\t\\other.fm");
    NWActionBatch batch;
    ASSERT_EQ(om_NWOpenDocOrBookKind(other), FO_Doc);
    // A step between the actions (a script's other actions) closes the document.
    F_ApiClose(other, FF_CLOSE_MODIFIED);
    ASSERT_EQ(om_NWOpenDocOrBookKind(other), FO_Doc);  // what the batch found stands ...
    om_NWForgetActionBatch();
    EXPECT_EQ(om_NWOpenDocOrBookKind(other), 0);  // ... until it forgets it
    EXPECT_EQ(om_NWOpenDocOrBookKind(doc), FO_Doc);
}

TEST_F(ElementActions, AssignConditionsAppliesTheKnownTagsAndReportsAMissingOne) {
    F_ObjHandleT draft = host::AddNamed(doc, FO_CondFmt, "Draft");
    NodeWizardQuery.elementAction = 10;
    ActionConditions = {"Nope", "Draft"};
    EXPECT_EQ(om_NWPerformElemAction(doc, p1, 0, 0), 307);
    // The condition tags on the first character of the element's text.
    auto tags = [&] {
        F_ElementLocT inside{p1, host::Elem(p1)->first, 0};
        F_TextLocT at = F_ApiElementLocToTextLoc(doc, &inside);
        F_PropValT v = F_ApiGetTextPropVal(doc, &at, FP_InCond);
        std::vector<F_ObjHandleT> ids(v.propVal.isval.val, v.propVal.isval.val + v.propVal.isval.len);
        F_ApiFreeIntList(&v.propVal.isval);
        return ids;
    };
    EXPECT_EQ(tags(), std::vector<F_ObjHandleT>{draft});
    ActionConditions.clear();  // an empty list removes them all
    EXPECT_EQ(om_NWPerformElemAction(doc, p1, 0, 0), 0);
    EXPECT_TRUE(tags().empty());
}

TEST_F(ElementActions, TablePartsAreDeletedByTheirKind) {
    struct Case {
        const char *what;
        IntT kind;          // the element deleted
        int bodyRows;
        NWActionError result;
        bool tableGone;
    } cases[] = {
        {"a cell is never deleted", FV_FO_TBL_CELL, 2, 316, false},
        {"the only body row takes the table", FV_FO_TBL_ROW, 1, 0, true},
        {"one of two body rows", FV_FO_TBL_ROW, 2, 0, false},
        {"the body takes the table", FV_FO_TBL_BODY, 2, 0, true},
        {"the title goes, the table stays", FV_FO_TBL_TITLE, 2, 0, false},
    };
    for (const Case &c : cases) {
        SetUp();
        SCOPED_TRACE(c.what);
        F_ObjHandleT table = host::BuildTableElement(doc, 2, c.bodyRows, 0, 0);
        host::LinkChild(s2, table, 0);
        host::MarkChanged(doc);
        F_ApiSetInt(doc, F_ApiGetId(doc, table, FP_Object), FP_TblTitlePosition, 1);
        // The first element of the kind in the table, in document order.
        std::function<F_ObjHandleT(F_ObjHandleT)> find = [&](F_ObjHandleT e) -> F_ObjHandleT {
            if (F_ApiGetInt(doc, e, FP_ElementType) == c.kind) return e;
            for (F_ObjHandleT ch = host::Elem(e)->first; ch; ch = host::Elem(ch)->next)
                if (F_ObjHandleT f = find(ch)) return f;
            return 0;
        };
        F_ObjHandleT target = find(table);
        ASSERT_NE(target, 0u);
        NodeWizardQuery.elementAction = 8;
        EXPECT_EQ(om_NWPerformElemAction(doc, target, 0, 0), c.result);
        EXPECT_EQ(host::Elem(table) == nullptr, c.tableGone);
        EXPECT_EQ(host::Elem(target) == nullptr, c.result == 0);
        if (c.kind == FV_FO_TBL_TITLE) {
            EXPECT_EQ(find(table), 0u);
        }
    }
}

TEST(ActionVocabulary, NamesAndCodesReadBothWays) {
    struct Case {
        const char *name;
        IntT elem, attr;
    } cases[] = {
        {"Retag as", 2, 315},         {"copy elem to cb", 25, 315},    {"Insert last child", 22, 315},
        {"Set unique ID", 315, 61},   {"SORT VALUES", 315, 65},        {"None", 1, 1},
        {"", 315, 315},               {"Retag", 315, 315},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(om_NWElemActionCode(c.name), c.elem);
        EXPECT_EQ(om_NWAttrActionCode(c.name), c.attr);
    }
    EXPECT_EQ(om_NWElemActionName(2), "Retag as");
    EXPECT_EQ(om_NWElemActionName(23), "None");  // script-only actions are not named to the dialog
    EXPECT_EQ(om_NWAttrActionName(61), "Set unique ID");
    EXPECT_EQ(om_NWAttrActionName(62), "None");
}

}  // namespace
