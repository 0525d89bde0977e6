// Applying condition rules to elements, subtrees, documents and books, and clearing all
// conditional text: the first active matching rule wins, table rows carry their own tags, text
// runs keep their own tags unless the rule clears them, missing tags are created or skipped with
// the warnings their settings ask for, Esc stops documents and books.
#include "book_model.h"
#include "lib/host/element_edit.h"
#include "lib/host/host_values.h"
#include "lib/shell_records.h"
#include "plugin/client_calls.h"
#include "plugin/notify.h"
#include "plugin/cond_apply.h"
#include "support/cond_fixture.h"

namespace {

using qvtest::CondFixture;

// A document with conditional text and a table:
//   Doc
//     Sec
//       Para "alpha"
//       Para "be" "ta" (the second run tagged Print)
//       Note "gamma"
//     Table of two body rows, the first cell holding "c"
class CondApply : public CondFixture {
protected:
    void SetUp() override {
        CondFixture::SetUp();
        doc = MakeDoc("Z:\\t\\cond.fm");
    }
    F_ObjHandleT MakeDoc(const std::string &path) {
        F_ObjHandleT d = host::NewDocument(path);
        F_ObjHandleT docDef = host::AddElementDef(d, "Doc");
        F_ObjHandleT secDef = host::AddElementDef(d, "Sec");
        F_ObjHandleT paraDef = host::AddElementDef(d, "Para", FV_FO_CONTAINER, "Body");
        F_ObjHandleT noteDef = host::AddElementDef(d, "Note", FV_FO_CONTAINER, "Body");
        root = host::AppendElement(d, 0, docDef, host::MainFlow(d));
        sec = host::AppendElement(d, root, secDef);
        p1 = host::AppendElement(d, sec, paraDef);
        host::AppendText(d, p1, "alpha");
        p2 = host::AppendElement(d, sec, paraDef);
        host::AppendText(d, p2, "beta");
        note = host::AppendElement(d, sec, noteDef);
        host::AppendText(d, note, "gamma");
        print = F_ApiNewNamedObject(d, FO_CondFmt, "Print");
        draft = F_ApiNewNamedObject(d, FO_CondFmt, "Draft");
        red = F_ApiNewNamedObject(d, FO_Color, "Red");
        SetTags(d, p2, 2, 4, {print});
        F_ElementLocT after{root, 0, 0};
        F_TextLocT at = F_ApiElementLocToTextLoc(d, &after);
        F_ObjHandleT tbl = F_ApiNewTable(d, "Format A", 2, 2, 0, 0, &at);
        table = F_ApiGetId(d, tbl, FP_Element);
        F_ObjHandleT body = host::Elem(table)->last;
        row1 = host::Elem(body)->first;
        row2 = host::Elem(row1)->next;
        om_ElementInsertText(d, host::Elem(row1)->first, "c", LocContentStart);
        return d;
    }
    // Tags the characters from..to of the element's text.
    void SetTags(F_ObjHandleT d, F_ObjHandleT e, IntT from, IntT to, std::vector<F_ObjHandleT> tags) {
        F_ObjHandleT text = host::Elem(e)->first;
        F_ElementLocT a{e, text, from}, b{e, text, to};
        F_TextRangeT r{F_ApiElementLocToTextLoc(d, &a), F_ApiElementLocToTextLoc(d, &b)};
        std::vector<IntT> ints(tags.begin(), tags.end());
        F_PropValT pv{};
        pv.propIdent = FP_InCond;
        pv.propVal.valType = FT_Ints;
        pv.propVal.isval = F_IntsT{static_cast<UIntT>(ints.size()), ints.data()};
        F_ApiSetTextPropVal(d, &r, &pv);
    }
    static std::string Names(F_ObjHandleT d, const F_IntsT &v) {
        std::string s;
        for (UIntT i = 0; i < v.len; ++i) {
            StringT n = F_ApiGetString(d, static_cast<F_ObjHandleT>(v.val[i]), FP_Name);
            s += (i ? "," : "") + std::string(n ? n : "?");
            F_ApiDeallocateString(&n);
        }
        return s;
    }
    // The tag names of the character at the offset of the element's text.
    std::string TagsAt(F_ObjHandleT d, F_ObjHandleT e, IntT off) {
        F_ElementLocT a{e, host::Elem(e)->first, off};
        F_TextLocT loc = F_ApiElementLocToTextLoc(d, &a);
        F_PropValT pv = F_ApiGetTextPropVal(d, &loc, FP_InCond);
        std::string s = Names(d, pv.propVal.isval);
        F_ApiFreeIntList(&pv.propVal.isval);
        return s;
    }
    std::string RowTags(F_ObjHandleT d, F_ObjHandleT row) {
        F_IntsT v = F_ApiGetInts(d, F_ApiGetId(d, row, FP_Object), FP_InCond);
        std::string s = Names(d, v);
        F_ApiFreeIntList(&v);
        return s;
    }
    void Load(const std::vector<Rule> &rules) {
        WriteRules(rules);
        om_CondLoadRules(1);
    }
    F_ObjHandleT doc = 0, root = 0, sec = 0, p1 = 0, p2 = 0, note = 0, table = 0, row1 = 0, row2 = 0;
    F_ObjHandleT print = 0, draft = 0, red = 0;
};

TEST_F(CondApply, EdgeCasesOfRules) {
    struct Case {
        const char *name;
        std::vector<Rule> rules;
        IntT warnCreated, warnMissing;
        // What runs: 0 one element (p1), 1 the subtree of the Sec, 2 the table's subtree.
        int scope;
        IntT count;
        std::vector<std::pair<std::string, std::string>> probes;  // "p1:0" etc. -> tag names
        int createdWarnings, followUps;
    };
    const Case cases[] = {
        {"overlapping rules: the first active one wins",
         {{"self::Para", {"Draft"}, false}, {"self::Para", {"Print"}}, {"self::Para", {"Draft"}}},
         2, 2, 0, 1, {{"p1:0", "Print"}}, 0, 0},
        {"a rule on table rows tags the rows, not their cells' text",
         {{"self::Row", {"Draft"}}}, 2, 2, 2, 2, {{"row1", "Draft"}, {"row2", "Draft"}, {"cell:0", ""}}, 0, 0},
        {"a missing tag is created in red and warned about once",
         {{"self::Para", {"Online"}, true, true, true}}, 2, 2, 1, 2, {{"p1:0", "Online"}, {"p2:0", "Online"}}, 1, 1},
        {"a missing tag not to be created is left out, warned each time when always",
         {{"self::Para", {"Nope", "Draft"}, true, true, false}}, 2, 1, 1, 2, {{"p1:0", "Draft"}}, 2, 0},
        {"without clear-existing each run keeps its own tags",
         {{"self::Para", {"Draft"}, true, false}}, 2, 2, 1, 2,
         {{"p2:0", "Draft"}, {"p2:1", "Draft"}, {"p2:2", "Print,Draft"}, {"p2:3", "Print,Draft"}}, 0, 0},
        {"clear-existing leaves exactly the rule's tags",
         {{"self::Para", {"Draft"}, true, true}}, 2, 2, 1, 2, {{"p2:0", "Draft"}, {"p2:3", "Draft"}}, 0, 0},
        {"a missing tag not to be created, warned once: the rule still runs without it",
         {{"self::Para", {"Nope", "Draft"}, true, true, false}}, 2, 2, 1, 2, {{"p1:0", "Draft"}, {"p2:3", "Draft"}}, 1, 1},
        {"parent too tags the parent's whole text",
         {{"self::Note", {"Draft"}, true, true, false, true}}, 2, 2, 1, 1,
         {{"p1:0", "Draft"}, {"p2:3", "Draft"}, {"note:0", "Draft"}}, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host::ResetSession();
        host::ClearTranscript();
        std::filesystem::copy_file(std::filesystem::path(QV_SOURCE_DIR) / "defaults" / kCondSettingsFileName,
                                   dir / kCondSettingsFileName, std::filesystem::copy_options::overwrite_existing);
        AutoApplyRules = AutoApplyRulesT{};
        doc = MakeDoc("Z:\\t\\cond.fm");
        Load(c.rules);
        CondTriggerSettings.warnCreatedTag = c.warnCreated;
        CondTriggerSettings.warnMissingTag = c.warnMissing;
        IntT count = c.scope == 0 ? om_CondApplyRulesToElement(doc, p1, 1, 1)
                                  : om_CondApplyRulesToSubtree(doc, c.scope == 1 ? sec : table, 1, 1);
        EXPECT_EQ(count, c.count);
        for (const auto &[where, tags] : c.probes) {
            size_t colon = where.find(':');
            std::string name = where.substr(0, colon);
            if (name == "row1" || name == "row2") {
                EXPECT_EQ(RowTags(doc, name == "row1" ? row1 : row2), tags) << where;
                continue;
            }
            F_ObjHandleT e = name == "p1" ? p1 : name == "p2" ? p2 : name == "note" ? note
                                                                                   : host::Elem(row1)->first;
            EXPECT_EQ(TagsAt(doc, e, std::stoi(where.substr(colon + 1))), tags) << where;
        }
        EXPECT_EQ(Shown("did not exist"), c.createdWarnings);
        EXPECT_EQ(Shown("without further warnings"), c.followUps);
        // The follow-up of a missing tag says what happens: the rule runs on without it.
        bool created = c.rules[0].create;
        EXPECT_EQ(Shown("still run with those tags left out"), c.followUps && !created ? 1 : 0);
        if (c.followUps && !created) {
            EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptAskedOnce);
        }
        if (c.followUps && created) {
            EXPECT_EQ(CondTriggerSettings.warnCreatedTag, kPromptAskedOnce);
            F_ObjHandleT online = F_ApiGetNamedObject(doc, FO_CondFmt, "Online");
            EXPECT_EQ(F_ApiGetId(doc, online, FP_CondFmtColor), red);
        }
    }
}

TEST_F(CondApply, DocumentRunCountsQuietlyAndKeepsTheWarningSetting) {
    Load({{"self::Para", {"Draft"}}, {"self::Note", {"Nope"}}, {"self::Row", {"Print"}}});
    CondTriggerSettings.warnMissingTag = kPromptAlways;
    F_ElementLocT here{p1, host::Elem(p1)->first, 1};
    F_TextLocT loc = F_ApiElementLocToTextLoc(doc, &here);
    F_TextRangeT caret{loc, loc};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &caret);
    // Paras and rows get tags; the Note's rule names only a missing tag but counts as applied.
    EXPECT_EQ(om_CondApplyRulesToDoc(doc, 1, 1), 5);
    EXPECT_EQ(Shown("Conditions were applied to 5 element(s)."), 1);
    EXPECT_EQ(Shown("did not exist"), 0);
    EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptAlways);
    EXPECT_EQ(TagsAt(doc, note, 0), "");
    EXPECT_EQ(RowTags(doc, row2), "Print");
    F_TextRangeT after = F_ApiGetTextRange(0, doc, FP_TextSelection);
    EXPECT_EQ(after.beg.objId, loc.objId);
    EXPECT_EQ(after.beg.offset, loc.offset);

    // Esc confirmed before the first flow: nothing applied, the setting restored.
    F_ObjHandleT other = MakeDoc("Z:\\t\\other.fm");
    host::EscOnPoll(1);
    Answer("alert", "yes");
    EXPECT_EQ(om_CondApplyRulesToDoc(other, 1, 1), 0);
    EXPECT_EQ(CancelFlag, 1);
    EXPECT_EQ(TagsAt(other, p1, 0), "");
    EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptAlways);
    F_ApiSetId(0, 0, FP_ActiveDoc, other);
    EXPECT_EQ(om_CondApplyRulesToDoc(0, 1, 0), 5);  // the active document
    EXPECT_EQ(TagsAt(other, p1, 0), "Draft");
}

// The sibling plug-in's edit reports apply the rules to the selected element while the setting
// for that kind of edit is on, and touch nothing while it is off.
TEST_F(CondApply, SiblingEditReportsApplyTheRulesToTheSelection) {
    Load({{"self::Para", {"Draft"}}});
    const struct {
        const char *message;
        IntT afterInsertWrap, afterAttrEdit;
        const char *tags;
    } cases[] = {
        {"LFMessage_InsertedElement", 1, 0, "Draft"}, {"LFMessage_WrappedElement", 1, 0, "Draft"},
        {"lfmessage_changedattribute", 0, 1, "Draft"}, {"LFMessage_InsertedElement", 0, 1, ""},
        {"LFMessage_WrappedElement", 0, 1, ""},       {"LFMessage_ChangedAttribute", 1, 0, ""},
    };
    int n = 0;
    for (const auto &c : cases) {
        F_ObjHandleT d = MakeDoc("Z:\\t\\report" + std::to_string(++n) + ".fm");
        F_ApiSetId(0, 0, FP_ActiveDoc, d);
        ASSERT_EQ(om_ElementSelect(d, p1, 5), 1);
        CondTriggerSettings.afterInsertWrap = c.afterInsertWrap;
        CondTriggerSettings.afterAttrEdit = c.afterAttrEdit;
        EXPECT_EQ(om_ClientHandleCall(c.message), 0) << c.message;
        EXPECT_EQ(TagsAt(d, p1, 0), c.tags) << c.message << " " << c.afterInsertWrap << c.afterAttrEdit;
        EXPECT_EQ(TagsAt(d, p2, 0), "") << c.message;  // only the selected element
    }
}

// Opening notifications apply the rules while their settings ask for it: a MIF file opened right
// after function 4049 gets none, and once the session is quitting (which closes the settings
// document) no open applies anything.
TEST_F(CondApply, OpenNotificationsAfterAStructureViewAndAfterQuit) {
    Load({{"self::Para", {"Draft"}}});
    NotifyStateT saved = NotifyState;
    CondTriggerSettings.afterOpenDoc = 1;
    CondTriggerSettings.afterOpenMarkup = 1;
    const struct {
        const char *what;
        IntT before, beforeNumber, open;
        const char *tags;
    } cases[] = {
        {"a document", 0, 0, FA_Note_PostOpenDoc, "Draft"},
        {"a MIF file", FA_Note_PostFunction, 1, FA_Note_PostOpenMIF, "Draft"},
        {"a MIF file after 4049", FA_Note_PostFunction, FV_FC_STRUCTURE_VIEW, FA_Note_PostOpenMIF, ""},
        {"a document after quit", FA_Note_PreQuitSession, 0, FA_Note_PostOpenDoc, ""},
        {"a MIF file after quit", FA_Note_PreQuitSession, 0, FA_Note_PostOpenMIF, ""},
    };
    int n = 0;
    for (const auto &c : cases) {
        NotifyState = saved;
        F_ObjHandleT d = MakeDoc("Z:\\t\\open" + std::to_string(++n) + ".fm");
        F_ApiSetId(0, 0, FP_ActiveDoc, d);
        F_ObjHandleT settings = om_CondOpenSettingsDoc(1);
        ASSERT_NE(settings, 0u);
        if (c.before) qv_RouteNotification(c.before, 0, "", c.beforeNumber);
        if (c.before == FA_Note_PreQuitSession) {
            EXPECT_TRUE(HostGetString(0, settings, FP_Path).empty()) << c.what;  // the settings document closed
        }
        qv_RouteNotification(c.open, d, "", 0);
        EXPECT_EQ(TagsAt(d, p1, 0), c.tags) << c.what;
    }
    NotifyState = saved;
}

TEST_F(CondApply, RulesOutliveANodeTableReset) {
    Load({{"self::Para", {"Draft"}}});
    IntT before = AutoApplyRules.rules[0].compiled;
    om_XPathResetNodeTable();
    // Another expression now holds the rule's old number.
    ASSERT_EQ(om_XPathCompile("self::node()[self::Note]", 0), before);
    EXPECT_EQ(om_CondApplyRulesToElement(doc, note, 1, 1), 0);
    EXPECT_EQ(TagsAt(doc, note, 0), "");
    EXPECT_EQ(om_CondApplyRulesToElement(doc, p1, 1, 1), 1);
    EXPECT_EQ(TagsAt(doc, p1, 0), "Draft");
}

TEST_F(CondApply, MissingSettingsAreReportedOncePerRun) {
    std::filesystem::remove(dir / kCondSettingsFileName);
    EXPECT_EQ(om_CondApplyRulesToDoc(doc, 1, 1), 0);
    EXPECT_EQ(om_CondApplyRulesToSubtree(doc, root, 1, 0), 0);
    EXPECT_EQ(Shown("The condition rules could not be read"), 2);
    EXPECT_EQ(Shown("Conditions were applied"), 0);
    EXPECT_EQ(TagsAt(doc, p1, 0), "");
}

class CondBook : public CondApply {
protected:
    void SetUp() override {
        CondApply::SetUp();
        host::ResetSession();
        a = MakeDoc("Z:\\books\\a.fm");
        pa = p1;
        b = MakeDoc("Z:\\books\\b.fm");
        pb = p1;
        d = MakeDoc("Z:\\books\\d.fm");
        pd = p1;
        book = host::NewBook("Z:\\books\\all.book", "Book");
        for (const char *p : {"Z:\\books\\a.fm", "Z:\\books\\b.fm", "Z:\\books\\closed.fm", "Z:\\books\\d.fm"})
            host::AddBookComponent(book, 0, p, 512, "Chapter");
        Load({{"self::Para", {"Draft"}}});
    }
    F_ObjHandleT a = 0, b = 0, d = 0, pa = 0, pb = 0, pd = 0, book = 0;
};

TEST_F(CondBook, AppliesToEveryOpenComponentAndListsTheClosedOnes) {
    EXPECT_EQ(om_CondApplyRulesToBook(book, 1, 1), 0);
    for (auto [doc_, p] : {std::pair{a, pa}, {b, pb}, {d, pd}}) EXPECT_EQ(TagsAt(doc_, p, 0), "Draft");
    EXPECT_EQ(Shown("Conditions were applied to 6 element(s)."), 1);
    EXPECT_EQ(Shown("These book components were not open and were skipped:"), 1);
    EXPECT_EQ(Shown("closed.fm"), 1);
    EXPECT_EQ(Shown("a.fm"), Shown("2: \"Processing:  a.fm\""));  // only as the status box's line
}

TEST_F(CondBook, EscStopsAfterTheCurrentComponent) {
    // Polls: a's flow (1), after a (2), b's flow (3), after b (4), ...
    struct Case {
        int poll;
        std::vector<std::string> tagged;  // a, b, d
    };
    const Case cases[] = {{2, {"Draft", "", ""}}, {3, {"Draft", "", ""}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.poll);
        for (F_ObjHandleT x : {a, b, d}) om_CondClearAllConditions(x, 1);
        host::ClearTranscript();
        host::EscOnPoll(c.poll);
        Answer("alert", "yes");
        EXPECT_EQ(om_CondApplyRulesToBook(book, 1, 1), 0);
        EXPECT_EQ(Shown("Applying conditions to the book was cancelled."), 1);
        EXPECT_EQ(Shown("Conditions were applied"), 0);
        EXPECT_EQ(TagsAt(a, pa, 0), c.tagged[0]);
        EXPECT_EQ(TagsAt(b, pb, 0), c.tagged[1]);
        EXPECT_EQ(TagsAt(d, pd, 0), c.tagged[2]);
    }
}

TEST_F(CondApply, ClearingRemovesEveryConditionAndNothingElse) {
    Load({{"self::Para", {"Draft"}}, {"self::Row", {"Print"}}});
    std::string text = om_ElementText(doc, root, 0, 0, 0, 0);
    om_CondApplyRulesToDoc(doc, 1, 0);
    ASSERT_EQ(TagsAt(doc, p2, 3), "Draft");
    F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    om_CondClearAllConditions(0, 0);
    for (auto [e, off] : {std::pair{p1, 0}, {p2, 3}, {note, 0}}) EXPECT_EQ(TagsAt(doc, e, off), "");
    EXPECT_EQ(RowTags(doc, row1), "");
    EXPECT_EQ(om_ElementText(doc, root, 0, 0, 0, 0), text);
    EXPECT_EQ(F_ApiGetNamedObject(doc, FO_CondFmt, "Draft"), draft);  // the tags themselves stay

    host::ResetSession();
    host::ClearTranscript();
    om_CondClearAllConditions(0, 0);
    EXPECT_EQ(Shown("No document or book is open."), 1);
}

}  // namespace
