// Element locations, selection and the edits built on them.
#include "clipboard.h"
#include "model_internal.h"
#include "elements_fixture.h"
#include "lib/host/element_edit.h"
#include "lib/host/attributes.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"

namespace {

using Edit = ElementsDoc;

F_ElementRangeT Sel(F_ObjHandleT doc) { return F_ApiGetElementRange(0, doc, FP_ElementSelection); }

bool Same(const F_ElementLocT &a, const F_ElementLocT &b) {
    return a.parentId == b.parentId && a.childId == b.childId && a.offset == b.offset;
}

TEST_F(Edit, LocationModes) {
    struct Case {
        IntT mode;
        F_ObjHandleT elem;
        F_ElementLocT beg, end;
    };
    const IntT kEnd = FV_OBJ_END_OFFSET;
    std::vector<Case> cases{
        {LocBefore, p1, {s1, p1, 0}, {s1, p1, 0}},
        {LocAfter, p1, {s1, p2, 0}, {s1, p2, 0}},
        {LocContentStart, p1, {p1, tab, 0}, {p1, tab, 0}},
        {LocContentEnd, p1, {p1, 0, 0}, {p1, 0, 0}},
        {LocContentEnd, empty, {empty, 0, kEnd}, {empty, 0, kEnd}},
        {LocElement, p1, {s1, p1, 0}, {s1, p2, 0}},
        {LocContent, p1, {p1, tab, 0}, {p1, 0, 0}},
        {LocContent, empty, {empty, 0, 0}, {empty, 0, kEnd}},
        {LocContentStart, tcd, {b, tcd, 0}, {b, tcd, 0}},  // text node: 3 acts as 1
        {LocContentEnd, tcd, {b, 0, 0}, {b, 0, 0}},        // and 4 as 2
    };
    for (const Case &c : cases) {
        F_ElementRangeT r{};
        ASSERT_EQ(om_ElementLocation(doc, c.elem, c.mode, &r), 1) << c.mode;
        EXPECT_TRUE(Same(r.beg, c.beg) && Same(r.end, c.end)) << "mode " << c.mode;
    }
    // The highest-level element has no place before or after it.
    F_ElementRangeT untouched{{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(om_ElementLocation(doc, root, LocBefore, &untouched), 0);
    EXPECT_EQ(untouched.beg.parentId, 1u);
    EXPECT_EQ(om_ElementLocation(doc, 0, LocElement, &untouched), 0);
    // A text node itself: its text range as element locations.
    F_ElementRangeT r{};
    ASSERT_EQ(om_ElementLocation(doc, tcd, LocElement, &r), 1);
    EXPECT_EQ(r.end.childId, tcd);
    EXPECT_EQ(r.end.offset, 2);
}

TEST_F(Edit, FailedLocationsSelectAndWriteNothing) {
    om_ElementSelectWhole(doc, p2);
    F_ElementRangeT before = Sel(doc);
    EXPECT_EQ(om_ElementSelect(doc, root, LocBefore), 0);
    EXPECT_TRUE(Same(Sel(doc).beg, before.beg));
    // No element and no text goes where the user's selection is.
    EXPECT_EQ(om_ElementInsertNew(doc, root, "Para", LocAfter), 0u);
    EXPECT_EQ(om_ElementInsertText(doc, root, "zzz", LocBefore), 0);
    EXPECT_EQ(Outline(p2), "Para('x' Para('nested') 'y')");
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('ab' B('cd') 'ef') Para('x' Para('nested') 'y'))");
}

TEST_F(Edit, InsertNewElementsAndText) {
    F_ObjHandleT e = om_ElementInsertNew(doc, p1, "B", LocContentStart);
    ASSERT_NE(e, 0u);
    EXPECT_EQ(host::Elem(p1)->first, e);
    EXPECT_EQ(om_ElementInsertNew(doc, p1, "NoSuchDef", LocAfter), 0u);
    EXPECT_EQ(om_ElementInsertText(doc, e, "new", LocContent), 1);
    EXPECT_EQ(Outline(e), "B('new')");
    EXPECT_EQ(om_ElementInsertText(doc, p2, "start ", LocContentStart), 1);
    EXPECT_EQ(om_ElementText(doc, p2, 1, 0, 0, 0), "start x");
    EXPECT_EQ(om_ElementInsertText(doc, p2, "all", LocContent), 1);  // replaces the whole content
    EXPECT_EQ(Outline(p2), "Para('all')");
    EXPECT_EQ(om_ElementClearContent(doc, p1), 0);
    EXPECT_EQ(Outline(p1), "Para");
    EXPECT_EQ(om_ElementClearContent(0, p1), StatusNoDocument);
    EXPECT_EQ(om_ElementClearContent(doc, 0), StatusNoObject);
}

TEST_F(Edit, MoveSwapsWithTheSiblingKeepingTheMovedId) {
    EXPECT_EQ(om_ElementMove(doc, p2, 1), 0);
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('x' Para('nested') 'y') Para('ab' B('cd') 'ef'))");
    EXPECT_EQ(host::Elem(title)->next, p2);
    EXPECT_EQ(om_ElementMove(doc, p2, 2), 0);
    EXPECT_EQ(host::Elem(s1)->last, p2);
    EXPECT_EQ(om_ElementMove(doc, title, 1), StatusNotPossible);  // no previous sibling
    EXPECT_EQ(om_ElementMove(doc, root, 1), StatusNotPossible);
    EXPECT_EQ(om_ElementMove(0, p1, 1), StatusNoDocument);
    EXPECT_EQ(om_ElementMove(doc, 0, 1), StatusNoObject);
}

TEST_F(Edit, MoveWhoseCutFailsPastesNothing) {
    // An empty text node before p2 cannot be cut: the move stops before any paste.
    F_ObjHandleT blank = host::NewElement(doc, 0);
    host::LinkChild(s1, blank, p2);
    host::SetClipboardText("junk");
    EXPECT_EQ(om_ElementMove(doc, p2, 1), StatusNotPossible);
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('ab' B('cd') 'ef') '' Para('x' Para('nested') 'y'))");
}

TEST_F(Edit, DeleteByKind) {
    EXPECT_EQ(om_DeleteElement(doc, tcd), 1);  // a text node
    EXPECT_EQ(Outline(b), "B");
    EXPECT_EQ(om_DeleteElement(doc, nested), 1);
    EXPECT_EQ(Outline(p2), "Para('xy')");
    F_ElementLocT place{s2, empty, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    F_ObjHandleT tbl = F_ApiNewTable(doc, "F", 1, 2, 0, 0, &at);
    F_ObjHandleT te = F_ApiGetId(doc, tbl, FP_Element);
    F_ObjHandleT body = host::Elem(te)->first;
    F_ObjHandleT row1 = host::Elem(body)->first;
    F_ObjHandleT cell = host::Elem(row1)->first;
    EXPECT_EQ(om_DeleteElement(doc, cell), 0);  // cells are never deleted
    EXPECT_EQ(StatusCode, StatusCannotDelete);
    EXPECT_EQ(om_DeleteElement(doc, row1), 1);
    EXPECT_EQ(Outline(te), "Table(TableBody(Row(Cell)))");
    // The last body row takes the table with it.
    EXPECT_EQ(om_DeleteElement(doc, host::Elem(body)->first), 1);
    EXPECT_EQ(host::Elem(te), nullptr);
    EXPECT_EQ(om_DeleteElement(0, p1), 0);
    EXPECT_EQ(om_DeleteElement(doc, p1), 1);
    EXPECT_EQ(om_DeleteElement(doc, p1), 0);  // stale
}

TEST_F(Edit, RetagReapplyAndCopy) {
    EXPECT_EQ(om_ElementRetag(doc, b, "Para"), 1);
    EXPECT_EQ(HostElementDefName(doc, b), "Para");
    EXPECT_EQ(om_ElementRetag(doc, b, "Nope"), 0);
    om_ElementReapplyDefinitions(doc, s1, 1);
    EXPECT_EQ(Outline(p1), "Para('ab' Para('cd') 'ef')");
    EXPECT_EQ(om_ElementCopy(doc, p2), 0);
    EXPECT_TRUE(host::Clipboard().structured);
    EXPECT_EQ(host::Clipboard().nodes.at(0).defName, "Para");
}

TEST_F(Edit, ColourAndFlagOverAnElementsText) {
    F_ObjHandleT red = F_ApiNewNamedObject(doc, FO_Color, "Red");
    om_ElementSetColorTree(doc, p1, 0, "Red", 1);
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    for (IntT off : {0, 3, 5}) {
        F_TextLocT loc{r.beg.objId, off};
        EXPECT_EQ(static_cast<F_ObjHandleT>(F_ApiGetTextPropVal(doc, &loc, FP_Color).propVal.ival), red) << off;
    }
    F_TextRangeT title_r = F_ApiGetTextRange(doc, title, FP_TextRange);
    EXPECT_EQ(F_ApiGetTextPropVal(doc, &title_r.beg, FP_Color).propVal.ival, 0);
    om_ElementSetColor(doc, p2, 0, "NoSuchColour", 1, 0);  // nothing without the colour
    om_ElementTextFlagSet(doc, b);
    F_TextRangeT br = F_ApiGetTextRange(doc, b, FP_TextRange);
    EXPECT_EQ(F_ApiGetTextPropVal(doc, &br.beg, FP_TextFlag).propVal.ival, 1);
    om_ElementTextFlagClear(doc, b);
    EXPECT_EQ(F_ApiGetTextPropVal(doc, &br.beg, FP_TextFlag).propVal.ival, 0);
}

TEST_F(Edit, GoToObjectActivatesSelectsAndSelectsParagraphs) {
    F_ApiSetInt(0, doc, FP_IsOnScreen, 0);
    om_DocGoToObject(doc, p2);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_IsOnScreen), 1);
    EXPECT_EQ(F_ApiGetId(0, 0, FP_ActiveDoc), doc);
    EXPECT_EQ(Sel(doc).beg.childId, p2);
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    om_DocGoToObject(doc, r.beg.objId);
    F_TextRangeT t = F_ApiGetTextRange(0, doc, FP_TextSelection);
    EXPECT_EQ(t.beg.objId, r.beg.objId);
    EXPECT_EQ(t.beg.offset, 0);
}

}  // namespace

namespace {

TEST_F(Edit, ClosedDocumentIdsFailQuietlyEverywhere) {
    F_ApiClose(doc, 1);
    FA_errno = 0;
    F_ElementRangeT r{};
    std::string v;
    EXPECT_EQ(om_ElementText(doc, p1, 0, 0, 0, 0), "");
    EXPECT_EQ(om_ElementTag(doc, p1, 1), "");
    EXPECT_EQ(om_ElementSelect(doc, p1, LocElement), 0);
    EXPECT_EQ(om_ElementInsertNew(doc, p1, "Para", LocAfter), 0u);
    EXPECT_EQ(om_ElementMove(doc, p2, 1), StatusNotPossible);
    EXPECT_EQ(om_DeleteElement(doc, p1), 0);
    EXPECT_EQ(om_ElementLocation(doc, p1, LocBefore, &r), 0);  // no parent can be read
    om_DocGoToObject(doc, p1);
    om_ElementSetColorTree(doc, s1, 0, "Red", 1);
}

}  // namespace
