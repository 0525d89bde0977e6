// Paragraph view of the tree, text locations, text items, selection views and element edits.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fdk.h"
#include "model.h"

namespace {

using namespace host;

// Section
//   Title "Intro"                      paragraph 0 (Heading)
//   Para "ab" <B>"cd"</B> "ef"         paragraph 1
//   Para "x" <Para>"nested"</Para> "y" paragraphs 2, 3, 4
//   "loose"                            paragraph 5 (Body)
//   Para (empty)                       paragraph 6
class ModelText : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSession();
        FA_errno = 0;
        doc = NewDocument("Z:\\t\\x.fm");
        F_ObjHandleT secDef = AddElementDef(doc, "Section");
        F_ObjHandleT titleDef = AddElementDef(doc, "Title", FV_FO_CONTAINER, "Heading");
        paraDef = AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        bDef = AddElementDef(doc, "B");
        sec = AppendElement(doc, 0, secDef, MainFlow(doc));
        title = AppendElement(doc, sec, titleDef);
        AppendText(doc, title, "Intro");
        p1 = AppendElement(doc, sec, paraDef);
        tab = AppendText(doc, p1, "ab");
        b = AppendElement(doc, p1, bDef);
        tcd = AppendText(doc, b, "cd");
        AppendText(doc, p1, "ef");
        p2 = AppendElement(doc, sec, paraDef);
        AppendText(doc, p2, "x");
        nested = AppendElement(doc, p2, paraDef);
        AppendText(doc, nested, "nested");
        AppendText(doc, p2, "y");
        loose = AppendText(doc, sec, "loose");
        empty = AppendElement(doc, sec, paraDef);
    }
    void TearDown() override { ResetSession(); }

    std::vector<F_ObjHandleT> Pgfs() {
        std::vector<F_ObjHandleT> out;
        F_ObjHandleT frame = F_ApiGetId(doc, MainFlow(doc), FP_FirstTextFrameInFlow);
        for (F_ObjHandleT p = F_ApiGetId(doc, frame, FP_FirstPgf); p && out.size() < 100; p = F_ApiGetId(doc, p, FP_NextPgfInFlow))
            out.push_back(p);
        return out;
    }
    std::string Text(F_ObjHandleT obj, IntT flags = FTI_String) {
        F_TextItemsT items = F_ApiGetText(doc, obj, flags);
        std::string out;
        for (UIntT i = 0; i < items.len; ++i) {
            const F_TextItemT &t = items.val[i];
            if (t.dataType == FTI_String) out += t.sdata;
            if (t.dataType == FTI_PgfBegin) out += "<P>";
            if (t.dataType == FTI_PgfEnd) out += "</P>";
            if (t.dataType == FTI_LineEnd) out += "<br>";
        }
        F_ApiDeallocateTextItems(&items);
        return out;
    }
    // Puts the range's text under the condition tag "Print" (a property change inside the text).
    void TagWithCondition(F_TextRangeT range) {
        F_ObjHandleT tag = F_ApiNewNamedObject(doc, FO_CondFmt, "Print");
        IntT ids[] = {static_cast<IntT>(tag)};
        F_PropValT pv{};
        pv.propIdent = FP_InCond;
        pv.propVal.valType = FT_Ints;
        pv.propVal.isval = F_IntsT{1, ids};
        F_ApiSetTextPropVal(doc, &range, &pv);
    }
    std::string Format(F_ObjHandleT pgf) {
        StringT s = F_ApiGetString(doc, pgf, FP_PgfFmtName);
        std::string out = s ? s : "<null>";
        F_ApiDeallocateString(&s);
        return out;
    }
    F_ObjHandleT doc = 0, paraDef = 0, bDef = 0, sec = 0, title = 0, p1 = 0, tab = 0, b = 0, tcd = 0, p2 = 0,
                 nested = 0, loose = 0, empty = 0;
};

TEST_F(ModelText, ParagraphsFollowTheTree) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    ASSERT_EQ(pgfs.size(), 7u);
    const char *texts[] = {"Intro", "abcdef", "x", "nested", "y", "loose", ""};
    const char *formats[] = {"Heading", "Body", "Body", "Body", "Body", "Body", "Body"};
    for (size_t i = 0; i < pgfs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(KindOf(pgfs[i]), FO_Pgf);
        EXPECT_EQ(Text(pgfs[i]), texts[i]);
        EXPECT_EQ(Format(pgfs[i]), formats[i]);
    }
    EXPECT_EQ(F_ApiGetId(doc, pgfs[3], FP_PrevPgfInFlow), pgfs[2]);
    EXPECT_EQ(F_ApiGetId(doc, pgfs[0], FP_PrevPgfInFlow), 0u);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstPgfInDoc), pgfs[0]);
    EXPECT_EQ(F_ApiGetId(doc, pgfs[6], FP_NextPgfInDoc), 0u);
    F_ObjHandleT frame = F_ApiGetId(doc, pgfs[0], FP_InTextFrame);
    EXPECT_EQ(F_ApiGetId(doc, frame, FP_LastPgf), pgfs[6]);
    F_ObjHandleT page = F_ApiGetId(doc, frame, FP_PageFramePage);
    EXPECT_EQ(page, F_ApiGetId(0, doc, FP_FirstBodyPageInDoc));
    EXPECT_EQ(F_ApiGetInt(doc, page, FP_PageNum), 0);
    EXPECT_EQ(FA_errno, 0);
}

// The reads that follow the layout (next paragraph, its frame, the frame's page) answer only for
// the document that holds the object; elsewhere they fail as any property read of a foreign
// object does.
TEST_F(ModelText, LayoutReadsFailOutsideTheirDocument) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    ASSERT_EQ(pgfs.size(), 7u);
    F_ObjHandleT frame = F_ApiGetId(doc, pgfs[0], FP_InTextFrame);
    F_ObjHandleT other = NewDocument("Z:\\t\\other.fm");
    AppendText(other, AppendElement(other, 0, AddElementDef(other, "P", FV_FO_CONTAINER, "Body"), MainFlow(other)), "z");
    struct Case {
        F_ObjHandleT doc, obj;
        IntT prop, err;
    } cases[] = {
        {other, pgfs[0], FP_NextPgfInFlow, FE_BadObjId}, {0, pgfs[0], FP_NextPgfInFlow, FE_BadDocId},
        {other, frame, FP_FirstPgf, FE_BadObjId},        {0, frame, FP_PageFramePage, FE_BadDocId},
        {doc, 0x2A00FFFFu, FP_NextPgfInFlow, FE_BadObjId},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.doc << " " << c.obj << " " << c.prop);
        FA_errno = 0;
        EXPECT_EQ(F_ApiGetId(c.doc, c.obj, c.prop), 0u);
        EXPECT_EQ(FA_errno, c.err);
    }
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetId(doc, pgfs[0], FP_NextPgfInFlow), pgfs[1]);
    EXPECT_EQ(FA_errno, 0);
}

// Character counts of texts that cross the eight-byte steps the count takes, with characters of
// two, three and four bytes on and across the steps' edges.
TEST(ModelTextLength, CountsCharactersNotBytes) {
    struct Case {
        const char *text;
        size_t chars;
    } cases[] = {
        {"", 0},
        {"abcdefg", 7},
        {"abcdefgh", 8},
        {"abcdefghijklmnopq", 17},
        {"abcdefg\xC3\xA9", 8},                          // a two-byte character across the first step
        {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", 3},  // three-byte characters over the edge
        {"abcde\xF0\x9F\x98\x80xyz\xF0\x9F\x98\x80", 10},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 8},
        {"\x80\x80" "abc", 3},  // stray continuation bytes begin no character
    };
    for (const Case &c : cases) EXPECT_EQ(Utf8Length(c.text), c.chars) << c.text;
    // A character of two and one of four bytes at every place of ASCII texts of every length up
    // to past two blocks of 32 bytes: the blocks, the steps and the last partial step.
    for (size_t len = 0; len <= 72; ++len)
        for (size_t at = 0; at <= len; ++at)
            for (const char *ch : {"\xC3\xA9", "\xF0\x9F\x98\x80"}) {
                const std::string text = std::string(at, 'a') + ch + std::string(len - at, 'b');
                EXPECT_EQ(Utf8Length(text), len + 1) << len << " " << at;
            }
}

TEST_F(ModelText, PagesHoldAFixedNumberOfParagraphs) {
    Doc(doc)->pgfsPerPage = 3;
    MarkChanged(doc, false);
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    ASSERT_EQ(pgfs.size(), 7u);
    F_ObjHandleT f0 = F_ApiGetId(doc, pgfs[0], FP_InTextFrame), f2 = F_ApiGetId(doc, pgfs[6], FP_InTextFrame);
    EXPECT_EQ(F_ApiGetId(doc, pgfs[2], FP_InTextFrame), f0);
    EXPECT_NE(F_ApiGetId(doc, pgfs[3], FP_InTextFrame), f0);
    EXPECT_EQ(F_ApiGetId(doc, F_ApiGetId(doc, f0, FP_NextTextFrameInFlow), FP_NextTextFrameInFlow), f2);
    StringT n = F_ApiGetString(doc, F_ApiGetId(doc, f2, FP_PageFramePage), FP_PageNumString);
    EXPECT_STREQ(n, "3");
    F_ApiDeallocateString(&n);
}

TEST_F(ModelText, ParagraphIdsSurviveEdits) {
    std::vector<F_ObjHandleT> before = Pgfs();
    F_TextLocT at{before[1], 1};
    F_TextLocT after = F_ApiAddText(doc, &at, "ZZ");
    EXPECT_EQ(after.objId, before[1]);
    EXPECT_EQ(after.offset, 3);
    F_ElementLocT loc{sec, empty, 0};
    F_ObjHandleT fresh = F_ApiNewElement(doc, paraDef, &loc);
    ASSERT_NE(fresh, 0u);
    std::vector<F_ObjHandleT> now = Pgfs();
    ASSERT_EQ(now.size(), 8u);
    EXPECT_EQ(Text(now[1]), "aZZbcdef");
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(now[i], before[i]);
    EXPECT_EQ(now[7], before[6]);
    F_ApiDelete(doc, nested);  // "x" and "y" become one paragraph of p2, keeping p2's id
    now = Pgfs();
    EXPECT_EQ(now[2], before[2]);
    EXPECT_EQ(Text(now[2]), "xy");
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetString(doc, before[3], FP_Name), nullptr);  // the nested paragraph is gone
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ModelText, LocationsConvertBothWays) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    struct Case {
        F_ElementLocT e;
        F_TextLocT t;
    };
    const Case cases[] = {
        {{p1, tab, 0}, {pgfs[1], 0}},        {{p1, tab, 1}, {pgfs[1], 1}},
        {{p1, tab, 2}, {pgfs[1], 2}},        // the end of a text node stays in it
        {{b, tcd, 1}, {pgfs[1], 3}},         {{sec, loose, 5}, {pgfs[5], 5}},
        {{empty, 0, 0}, {pgfs[6], 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.e.childId << " " << c.e.offset);
        F_TextLocT t = F_ApiElementLocToTextLoc(doc, &c.e);
        EXPECT_EQ(t.objId, c.t.objId);
        EXPECT_EQ(t.offset, c.t.offset);
        F_ElementLocT e = F_ApiTextLocToElementLoc(doc, &c.t);
        EXPECT_EQ(e.parentId, c.e.parentId);
        EXPECT_EQ(e.childId, c.e.childId);
        EXPECT_EQ(e.offset, c.e.offset);
    }
    // Element boundaries map onto the text they lie in.
    F_ElementLocT beforeB{p1, b, 0}, endP1{p1, 0, 0}, endEmpty{empty, 0, FV_OBJ_END_OFFSET};
    EXPECT_EQ(F_ApiElementLocToTextLoc(doc, &beforeB).offset, 2);
    EXPECT_EQ(F_ApiElementLocToTextLoc(doc, &endP1).offset, 6);
    F_TextLocT te = F_ApiElementLocToTextLoc(doc, &endEmpty);
    EXPECT_EQ(te.objId, pgfs[6]);
    EXPECT_EQ(te.offset, 0);
    F_TextLocT endMark{pgfs[1], FV_OBJ_END_OFFSET};
    F_ElementLocT last = F_ApiTextLocToElementLoc(doc, &endMark);
    EXPECT_EQ(last.childId, Elem(p1)->last);
    EXPECT_EQ(last.offset, 2);
    // Text ranges of elements: the childless one reads both offsets 0.
    F_TextRangeT r = F_ApiGetTextRange(doc, nested, FP_TextRange);
    EXPECT_EQ(r.beg.objId, pgfs[3]);
    EXPECT_EQ(r.end.offset, 6);
    r = F_ApiGetTextRange(doc, empty, FP_TextRange);
    EXPECT_EQ(r.beg.offset, 0);
    EXPECT_EQ(r.end.offset, 0);
    r = F_ApiGetTextRange(doc, sec, FP_TextRange);
    EXPECT_EQ(r.beg.objId, pgfs[0]);
    EXPECT_EQ(r.end.objId, pgfs[6]);
    EXPECT_EQ(FA_errno, 0);
    // Bad locations fail quietly.
    F_ElementLocT wrong{title, tab, 0};
    EXPECT_EQ(F_ApiElementLocToTextLoc(doc, &wrong).objId, 0u);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ModelText, ForcedLineBreaksAnywhereInALongTextAreLineEnds) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    // Each text goes before the paragraph's text ("loose"): breaks early, late, between and at
    // the edges of the eight-byte steps of the search, and next to each other.
    std::string text = "loose";
    for (const char *front : {"a\nbcdefghijklmnopqrstuvwxyz ", "0123456789abcdef\nx", "abcdefgh\nijklmnop\nqrstuvwx\n",
                              "\n\nabcdefghij", "abcdefghijklmnopqrstuvw\n", "abc\n"}) {
        F_TextLocT at{pgfs[5], 0};
        F_ApiAddText(doc, &at, front);
        text = front + text;
        std::string expected;
        for (char c : text) expected += c == '\n' ? std::string("<br>") : std::string(1, c);
        EXPECT_EQ(Text(pgfs[5], FTI_String | FTI_LineEnd), expected) << front;
    }
}

TEST_F(ModelText, TextItemsOfRanges) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    F_TextRangeT r{{pgfs[1], 3}, {pgfs[2], FV_OBJ_END_OFFSET}};
    F_TextItemsT items = F_ApiGetTextForRange(doc, &r, FTI_String | FTI_PgfBegin | FTI_PgfEnd);
    std::string seen;
    for (UIntT i = 0; i < items.len; ++i) {
        const F_TextItemT &t = items.val[i];
        seen += t.dataType == FTI_String ? std::string(t.sdata) + "@" + std::to_string(t.offset)
                                         : t.dataType == FTI_PgfBegin ? "<P>" : "</P>";
        seen += " ";
    }
    F_ApiDeallocateTextItems(&items);
    EXPECT_EQ(seen, "def@3 </P> <P> x@0 </P> ");
    // A forced line break is a line end item; offsets count characters.
    F_TextLocT at{pgfs[5], 2};
    F_ApiAddText(doc, &at, "\xC3\xA9\n");
    EXPECT_EQ(Text(pgfs[5], FTI_String | FTI_LineEnd), "lo\xC3\xA9<br>ose");
    items = F_ApiGetText(doc, pgfs[5], FTI_String);
    ASSERT_EQ(items.len, 2u);
    EXPECT_EQ(items.val[1].offset, 4);
    F_ApiDeallocateTextItems(&items);
    // Text added to an empty paragraph element makes its text node.
    F_TextLocT e{pgfs[6], 0};
    F_ApiAddText(doc, &e, "new");
    EXPECT_EQ(Text(pgfs[6]), "new");
    EXPECT_EQ(Elem(Elem(empty)->first)->text, "new");
}

TEST_F(ModelText, TextItemsMarkPropertyChangesAndNameTheirParagraphs) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    TagWithCondition({{pgfs[1], 1}, {pgfs[1], 3}});  // "b" and "c", across the <B> element
    F_TextRangeT r{{pgfs[0], 0}, {pgfs[1], FV_OBJ_END_OFFSET}};
    F_TextItemsT items = F_ApiGetTextForRange(doc, &r, FTI_String | FTI_PgfBegin | FTI_CharPropsChange);
    std::string seen;
    for (UIntT i = 0; i < items.len; ++i) {
        const F_TextItemT &t = items.val[i];
        if (t.dataType == FTI_String) seen += std::string(t.sdata) + "@" + std::to_string(t.offset) + " ";
        if (t.dataType == FTI_CharPropsChange) seen += "|" + std::to_string(t.offset) + " ";
        if (t.dataType == FTI_PgfBegin) seen += std::string(t.idata == pgfs[0] ? "<P0>" : t.idata == pgfs[1] ? "<P1>" : "<P?>") + " ";
    }
    F_ApiDeallocateTextItems(&items);
    EXPECT_EQ(seen, "<P0> Intro@0 <P1> a@0 |1 bc@1 |3 def@3 ");
    // Without the flag the string is whole; setting text properties keeps paragraph ids.
    EXPECT_EQ(Text(pgfs[1]), "abcdef");
    EXPECT_EQ(Pgfs(), pgfs);
}

// The items of a text read in place, the pieces of each string item joined: type, offset, text,
// object, line flag of each.
std::string ReadInPlace(F_ObjHandleT doc, F_ObjHandleT obj, IntT flags, IntT stopAfter = 0, IntT *answer = nullptr) {
    struct Seen {
        std::string out;
        std::string run;
        IntT runAt = 0, left;
    } seen{"", "", 0, stopAfter};
    auto endRun = [](Seen &s) {
        if (!s.run.empty()) s.out += "S" + std::to_string(s.runAt) + ":" + s.run + " ";
        s.run.clear();
    };
    F_TextPieceFnT fn = [](const F_TextPieceT *t, PtrT arg) -> IntT {
        Seen &s = *static_cast<Seen *>(arg);
        if (t->dataType == FTI_String) {
            if (!t->ldata && !s.run.empty()) s.out += "S" + std::to_string(s.runAt) + ":" + s.run + " ";
            if (!t->ldata) s.run.clear();
            if (s.run.empty()) s.runAt = t->offset;
            s.run.append(t->sdata, t->slen);
        } else {
            if (!s.run.empty()) s.out += "S" + std::to_string(s.runAt) + ":" + s.run + " ";
            s.run.clear();
            s.out += std::to_string(t->dataType) + "@" + std::to_string(t->offset) + "/" + std::to_string(t->idata) +
                     "/" + std::to_string(t->ldata) + " ";
        }
        return s.left && --s.left == 0 ? 7 : 0;
    };
    IntT r = F_ApiReadText(doc, obj, flags, fn, &seen);
    if (answer) *answer = r;
    endRun(seen);
    return seen.out;
}

std::string ReadListed(F_ObjHandleT doc, F_ObjHandleT obj, IntT flags) {
    F_TextItemsT items = F_ApiGetText(doc, obj, flags);
    std::string out;
    for (UIntT i = 0; i < items.len; ++i) {
        const F_TextItemT &t = items.val[i];
        if (t.dataType == FTI_String)
            out += "S" + std::to_string(t.offset) + ":" + t.sdata + " ";
        else
            out += std::to_string(t.dataType) + "@" + std::to_string(t.offset) + "/" + std::to_string(t.idata) + "/" +
                   std::to_string(t.ldata) + " ";
    }
    F_ApiDeallocateTextItems(&items);
    return out;
}

TEST_F(ModelText, TextReadInPlaceHandsOnWhatTheListHolds) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    F_TextLocT at{pgfs[5], 2};
    F_ApiAddText(doc, &at, "\xC3\xA9\n\n");  // two forced line breaks after a two-byte character
    TagWithCondition({{pgfs[1], 1}, {pgfs[1], 3}});
    const IntT all = FTI_String | FTI_LineEnd | FTI_PgfBegin | FTI_PgfEnd;
    std::vector<F_ObjHandleT> objs = pgfs;
    for (F_ObjHandleT e : {sec, p1, b, p2, nested, empty}) objs.push_back(e);
    for (F_ObjHandleT obj : objs)
        for (IntT flags : {all, all | FTI_CharPropsChange, IntT(FTI_String), IntT(FTI_LineEnd | FTI_PgfEnd)}) {
            SCOPED_TRACE(std::to_string(obj) + " flags " + std::to_string(flags));
            IntT answer = -5;
            EXPECT_EQ(ReadInPlace(doc, obj, flags, 0, &answer), ReadListed(doc, obj, flags));
            EXPECT_EQ(answer, 0);
        }
    // The reader stops where the function asks, and the call answers its value.
    IntT answer = 0;
    EXPECT_EQ(ReadInPlace(doc, pgfs[5], all, 2, &answer), "8@0/" + std::to_string(pgfs[5]) + "/0 S0:lo\xC3\xA9 ");
    EXPECT_EQ(answer, 7);
    // An object without text fails with -1.
    FA_errno = 0;
    EXPECT_EQ(ReadInPlace(doc, doc + 12345, all, 0, &answer), "");
    EXPECT_EQ(answer, -1);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ModelText, SelectionHasTwoViews) {
    std::vector<F_ObjHandleT> pgfs = Pgfs();
    // Whole element Title: its text runs from its paragraph's start to the next paragraph's.
    F_ElementRangeT whole{{sec, title, 0}, {sec, p1, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &whole);
    F_TextRangeT t = F_ApiGetTextRange(0, doc, FP_TextSelection);
    EXPECT_EQ(t.beg.objId, pgfs[0]);
    EXPECT_EQ(t.beg.offset, 0);
    EXPECT_EQ(t.end.objId, pgfs[1]);
    EXPECT_EQ(t.end.offset, 0);
    // Text inside one node: equal parent and child, different offsets.
    F_TextRangeT inside{{pgfs[1], 0}, {pgfs[1], 2}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &inside);
    F_ElementRangeT er = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    EXPECT_EQ(er.beg.parentId, p1);
    EXPECT_EQ(er.beg.childId, tab);
    EXPECT_EQ(er.end.childId, tab);
    EXPECT_EQ(er.beg.offset, 0);
    EXPECT_EQ(er.end.offset, 2);
    // A whole-paragraph selection reads back past the paragraph end mark.
    F_TextRangeT pgfRange{{pgfs[1], 0}, {pgfs[1], FV_OBJ_END_OFFSET}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &pgfRange);
    EXPECT_EQ(F_ApiGetTextRange(0, doc, FP_TextSelection).end.offset, 7);
    // The highest-level element.
    F_ElementRangeT top{{0, sec, 0}, {0, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &top);
    t = F_ApiGetTextRange(0, doc, FP_TextSelection);
    EXPECT_EQ(t.beg.objId, pgfs[0]);
    EXPECT_EQ(t.end.objId, pgfs[6]);
    EXPECT_EQ(FA_errno, 0);
    // Ranges naming gone or misplaced objects are refused and change nothing.
    F_ElementRangeT bad{{p1, tcd, 0}, {p1, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &bad);
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(F_ApiGetElementRange(0, doc, FP_ElementSelection).beg.childId, sec);
    F_TextRangeT badText{{0x1F000001u, 0}, {pgfs[0], 0}};
    FA_errno = 0;
    F_ApiSetTextRange(0, doc, FP_TextSelection, &badText);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ModelText, NewElementSplitsTextAndDeleteRejoinsIt) {
    F_ElementLocT mid{p1, tab, 1};
    F_ObjHandleT x = F_ApiNewElement(doc, bDef, &mid);
    ASSERT_NE(x, 0u);
    Element *e = Elem(p1);
    ASSERT_EQ(e->first, tab);
    EXPECT_EQ(Elem(tab)->text, "a");
    EXPECT_EQ(Elem(tab)->next, x);
    F_ObjHandleT rest = Elem(x)->next;
    EXPECT_EQ(Elem(rest)->text, "b");
    EXPECT_EQ(Elem(rest)->next, b);
    // Select it whole, delete it: the text joins again and the selection is an insertion point.
    F_ElementRangeT whole{{p1, x, 0}, {p1, rest, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &whole);
    IntT unique = F_ApiGetInt(doc, x, FP_Unique);
    EXPECT_NE(unique, 0);
    F_ApiDelete(doc, x);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(Elem(tab)->text, "ab");
    EXPECT_EQ(Elem(tab)->next, b);
    EXPECT_EQ(F_ApiGetInt(doc, x, FP_Unique), 0);  // stale
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(F_ApiGetObjectType(doc, rest), 0);
    F_ElementRangeT sel = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    EXPECT_EQ(sel.beg.parentId, p1);
    EXPECT_EQ(sel.beg.childId, tab);
    EXPECT_EQ(sel.beg.offset, 1);
    EXPECT_EQ(sel.end.offset, 1);
    // Deleting a selected element between tagged siblings leaves the point before the next one.
    F_ElementRangeT t{{sec, title, 0}, {sec, p1, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &t);
    F_ApiDelete(doc, title);
    sel = F_ApiGetElementRange(0, doc, FP_ElementSelection);
    EXPECT_EQ(sel.beg.childId, p1);
    EXPECT_EQ(sel.end.childId, p1);
    // Deleting the highest-level element leaves the flow unstructured.
    F_ApiDelete(doc, sec);
    EXPECT_EQ(F_ApiGetId(doc, MainFlow(doc), FP_HighestLevelElement), 0u);
    EXPECT_EQ(Pgfs().size(), 1u);
    FA_errno = 0;
    EXPECT_EQ(F_ApiNewElement(doc, bDef, &mid), 0u);
    EXPECT_NE(FA_errno, 0);
}

// A large tree built through the construction API is walked, laid out and read without any
// per-step cost that grows with the document (sibling steps never scan).
TEST(ModelLarge, HundredThousandElements) {
    ResetSession();
    F_ObjHandleT doc = NewDocument("Z:\\big.fm");
    F_ObjHandleT sec = AddElementDef(doc, "sec");
    F_ObjHandleT para = AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
    F_ObjHandleT root = AppendElement(doc, 0, sec, MainFlow(doc));
    const int n = 100000;
    for (int i = 0; i < n / 2; ++i) {
        F_ObjHandleT p = AppendElement(doc, root, para);
        AppendText(doc, p, "text");
    }
    int count = 0;
    for (F_ObjHandleT e = F_ApiGetId(doc, root, FP_FirstChildElement); e; e = F_ApiGetId(doc, e, FP_NextSiblingElement)) {
        ++count;
        F_ObjHandleT t = F_ApiGetId(doc, e, FP_FirstChildElement);
        F_ElementLocT at{e, t, 2};
        if (count % 997 == 0) {
            EXPECT_EQ(F_ApiElementLocToTextLoc(doc, &at).offset, 2);
        }
    }
    EXPECT_EQ(count, n / 2);
    F_ObjHandleT last = Elem(root)->last;
    F_TextRangeT r = F_ApiGetTextRange(doc, last, FP_TextRange);
    EXPECT_EQ(r.end.offset, 4);
    EXPECT_EQ(F_ApiGetId(doc, r.beg.objId, FP_NextPgfInFlow), 0u);
    ResetSession();
}

// A node's text through edits that take it between its own characters in place, its own block and
// a text its document keeps, and edits that read from the text they change: it reads as a string
// given the same edits, and a copy keeps its characters when the original changes or goes.
TEST(NodeTextEdits, ReadAsAStringThroughEveryKindOfText) {
    const std::string kept13 = "kept text 13!", kept40(40, 'k');
    auto store = [](const std::string &t) {  // as a TextStore keeps it: length, then bytes
        std::vector<char> b(sizeof(uint32_t) + t.size());
        uint32_t n = static_cast<uint32_t>(t.size());
        std::memcpy(b.data(), &n, sizeof n);
        std::memcpy(b.data() + sizeof n, t.data(), t.size());
        return b;
    };
    std::vector<char> short13 = store(kept13), long40 = store(kept40);
    enum Op { Assign, Append, AppendSelf, Insert, InsertSelf, Erase, ShareShort, ShareLong, ShareNone };
    struct Step {
        Op op;
        size_t pos = 0, n = 0;
        std::string s = {};
    };
    const std::vector<std::vector<Step>> cases = {
        {{Assign, 0, 0, "fifteen chars.."}, {Append, 0, 0, "x"}, {Erase, 3, 10}, {Append, 0, 0, std::string(100, 'y')}},
        {{Append, 0, 0, "ab"}, {AppendSelf}, {AppendSelf}, {AppendSelf}, {InsertSelf, 5}, {Erase, 0, 1000}},
        {{ShareShort}, {Insert, 4, 0, "<>"}, {Erase, 0, 2}, {AppendSelf}, {ShareNone}, {Append, 0, 0, "z"}},
        {{ShareLong}, {Erase, 10, 5}, {Insert, 35, 0, "end"}, {InsertSelf, 0}, {Assign, 0, 0, ""}},
        {{ShareLong}, {AppendSelf}, {ShareShort}, {Assign, 0, 0, std::string(20, 'a')}, {Erase, 1, 10}, {Erase, 5}},
        {{Assign, 0, 0, std::string(31, 'q')}, {Append, 0, 0, "r"}, {Append, 0, 0, std::string(64, 's')}, {Insert, 0, 0, "t"}},
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        NodeText t;
        std::string want;
        std::vector<std::pair<NodeText, std::string>> copies;
        for (const Step &st : cases[c]) {
            switch (st.op) {
            case Assign: t = st.s, want = st.s; break;
            case Append: t.append(st.s), want += st.s; break;
            case AppendSelf: t.append(t.view()), want += want; break;
            case Insert: t.insert(st.pos, st.s), want.insert(st.pos, st.s); break;
            case InsertSelf: t.insert(st.pos, t.view()), want.insert(st.pos, std::string(want)); break;
            case Erase: t.erase(st.pos, st.n ? st.n : NodeText::npos), want.erase(st.pos, st.n ? st.n : std::string::npos); break;
            case ShareShort: t.Share(short13.data()), want = kept13; break;
            case ShareLong: t.Share(long40.data()), want = kept40; break;
            case ShareNone: t.Share(nullptr), want.clear(); break;
            }
            ASSERT_EQ(t.view(), want) << "case " << c;
            ASSERT_EQ(t.size(), want.size()) << "case " << c;
            copies.emplace_back(t, want);
        }
        NodeText moved = std::move(t);
        EXPECT_EQ(moved.view(), want) << "case " << c;
        NodeText assigned;
        assigned = moved;
        moved.assign("gone");
        EXPECT_EQ(assigned.view(), want) << "case " << c;
        for (auto &[copy, then] : copies) EXPECT_EQ(copy.view(), then) << "case " << c;
    }
    NodeText t;
    EXPECT_THROW(t.insert(1, "x"), std::out_of_range);
    EXPECT_THROW(t.erase(1), std::out_of_range);
}

}  // namespace
