// Host edits: clipboard (copy, cut, paste, clear, the saved stack), wrap, unwrap, promote,
// demote, tables and text properties; every edit leaves tree, text and saved file in agreement.
#include <filesystem>
#include <unistd.h>

#include "clipboard.h"
#include "element_objects.h"
#include "elements_fixture.h"
#include "records.h"

namespace {

using HostEdit = ElementsDoc;

void Select(F_ObjHandleT doc, F_ElementLocT b, F_ElementLocT e) {
    F_ElementRangeT r{b, e};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &r);
}

void SelectWhole(F_ObjHandleT doc, F_ObjHandleT elem) {
    host::Element *x = host::Elem(elem);
    Select(doc, {x->parent, elem, 0}, {x->parent, x->next, 0});
}

F_ElementRangeT Selection(F_ObjHandleT doc) { return F_ApiGetElementRange(0, doc, FP_ElementSelection); }

// The text of an element's content through the text calls (paragraph ends as "|").
std::string TextOf(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_TextRangeT r = F_ApiGetTextRange(doc, elem, FP_TextRange);
    F_TextItemsT items = F_ApiGetTextForRange(doc, &r, FTI_String | FTI_PgfEnd);
    std::string s;
    for (UIntT i = 0; i < items.len; ++i) s += items.val[i].dataType == FTI_String ? items.val[i].sdata : "|";
    F_ApiDeallocateTextItems(&items);
    return s;
}

// Saves the document natively and opens the file again; the reopened document.
F_ObjHandleT SaveAndReopen(F_ObjHandleT doc) {
    std::string native = (std::filesystem::temp_directory_path() / ("qv_edit_" + std::to_string(::getpid()) + ".fm")).string();
    std::string path = "Z:" + native;
    for (char &c : path)
        if (c == '/') c = '\\';
    F_PropValsT params = F_ApiGetSaveDefaultParams();
    F_PropValsT *ret = nullptr;
    F_ObjHandleT saved = F_ApiSave(doc, path.c_str(), &params, &ret);
    F_ApiDeallocatePropVals(&params);
    if (ret) F_ApiDeallocatePropVals(ret);
    EXPECT_NE(saved, 0u);
    F_PropValsT open = F_ApiGetOpenDefaultParams();
    F_PropValsT *oret = nullptr;
    F_ObjHandleT again = F_ApiOpen(path.c_str(), &open, &oret);
    F_ApiDeallocatePropVals(&open);
    if (oret) F_ApiDeallocatePropVals(oret);
    std::filesystem::remove(native);
    return again;
}

F_ObjHandleT Root(F_ObjHandleT doc) { return F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement); }

// The tree and the text of a document agree with those of its saved and reopened copy.
void ExpectRoundTrip(ElementsDoc &t, F_ObjHandleT doc) {
    F_ObjHandleT again = SaveAndReopen(doc);
    ASSERT_NE(again, 0u);
    EXPECT_EQ(t.Outline(Root(again)), t.Outline(Root(doc)));
    EXPECT_EQ(TextOf(again, Root(again)), TextOf(doc, Root(doc)));
}

TEST_F(HostEdit, CutAndPasteAnElementMakesNewObjectsWithTheSameContent) {
    SelectWhole(doc, p1);
    ASSERT_EQ(F_ApiCut(doc, 2), 0);
    EXPECT_EQ(host::Elem(p1), nullptr);  // the cut element's id is stale
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('x' Para('nested') 'y'))");
    // The selection is an insertion point where the element was.
    F_ElementRangeT ip = Selection(doc);
    EXPECT_EQ(ip.beg.parentId, s1);
    EXPECT_EQ(ip.beg.childId, p2);
    // Paste it at the end of s2.
    Select(doc, {s2, 0, 0}, {s2, 0, 0});
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    F_ObjHandleT pasted = host::Elem(s2)->last;
    EXPECT_NE(pasted, p1);
    EXPECT_EQ(Outline(s2), "Sec(Para Para('ab' B('cd') 'ef'))");
    EXPECT_EQ(*host::GetAttribute(pasted, "kind"), std::vector<std::string>{"a"});
    EXPECT_EQ(TextOf(doc, s2), "|abcdef");
    // After a paste the insertion point is just after the pasted material.
    EXPECT_EQ(Selection(doc).beg.parentId, s2);
    EXPECT_EQ(Selection(doc).beg.childId, 0u);
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, CopyAndPasteTextInsideATextNodeJoinsTheText) {
    // Select "b" of "ab" and copy it as plain text; paste it into "ef" after "e".
    Select(doc, {p1, tab, 1}, {p1, tab, 2});
    ASSERT_EQ(F_ApiCopy(doc, 0), 0);
    EXPECT_FALSE(host::Clipboard().structured);
    EXPECT_EQ(host::Clipboard().text, "b");
    Select(doc, {p1, tef, 1}, {p1, tef, 1});
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    EXPECT_EQ(Outline(p1), "Para('ab' B('cd') 'ebf')");
    EXPECT_EQ(Selection(doc).beg.childId, tef);
    EXPECT_EQ(Selection(doc).beg.offset, 2);
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, PastingOverASelectionReplacesIt) {
    SelectWhole(doc, b);
    ASSERT_EQ(F_ApiCopy(doc, 0), 0);
    Select(doc, {p2, host::Elem(p2)->first, 0}, {p2, 0, 0});  // all of p2's content
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    EXPECT_EQ(Outline(p2), "Para(B('cd'))");
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, ClearLeavesTheClipboardAndJoinsTextAcrossTheGap) {
    host::SetClipboardText("keep");
    SelectWhole(doc, b);
    ASSERT_EQ(F_ApiClear(doc, 0), 0);
    EXPECT_EQ(Outline(p1), "Para('abef')");
    EXPECT_EQ(host::Clipboard().text, "keep");
    F_ElementRangeT ip = Selection(doc);
    EXPECT_EQ(ip.beg.childId, tab);
    EXPECT_EQ(ip.beg.offset, 2);
    // Clearing part of a text node.
    Select(doc, {p1, tab, 1}, {p1, tab, 3});
    ASSERT_EQ(F_ApiClear(doc, 0), 0);
    EXPECT_EQ(Outline(p1), "Para('af')");
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, ClipboardSaveAndRestoreNestAsAStack) {
    host::SetClipboardText("one");
    F_ApiSaveClipboard();
    host::SetClipboardText("two");
    F_ApiSaveClipboard();
    host::SetClipboardText("three");
    EXPECT_EQ(F_ApiRestoreClipboard(), 0);
    EXPECT_EQ(host::Clipboard().text, "two");
    EXPECT_EQ(F_ApiRestoreClipboard(), 0);
    EXPECT_EQ(host::Clipboard().text, "one");
    FA_errno = 0;
    EXPECT_NE(F_ApiRestoreClipboard(), 0);  // nothing saved any more
    EXPECT_EQ(host::Clipboard().text, "one");
}

TEST_F(HostEdit, EditsOnStaleIdsFailQuietly) {
    F_ObjHandleT gone = p2;
    F_ApiDelete(doc, gone);
    FA_errno = 0;
    F_ElementRangeT r{{s1, gone, 0}, {s1, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &r);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    EXPECT_NE(F_ApiPaste(0, 0), 0);
    EXPECT_NE(F_ApiCopy(doc + 1, 0), 0);
    F_ApiWrapElement(doc, 0);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(HostEdit, WrapKeepsTheWrappedIdsAndSelectsTheWrapper) {
    // Two whole siblings.
    Select(doc, {s1, p1, 0}, {s1, 0, 0});
    F_ApiWrapElement(doc, secDef);
    F_ObjHandleT w = host::Elem(s1)->first ? host::Elem(title)->next : 0;
    ASSERT_NE(w, 0u);
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Sec(Para('ab' B('cd') 'ef') Para('x' Para('nested') 'y')))");
    EXPECT_EQ(host::Elem(p1)->parent, w);
    EXPECT_EQ(Selection(doc).beg.childId, w);
    // A text range inside one text node.
    Select(doc, {p1, tab, 1}, {p1, tab, 2});
    F_ApiWrapElement(doc, bDef);
    EXPECT_EQ(Outline(p1), "Para('a' B('b') B('cd') 'ef')");
    // The highest-level element: the wrapper becomes the flow's highest-level element.
    Select(doc, {0, root, 0}, {0, 0, 0});
    F_ApiWrapElement(doc, docDef);
    EXPECT_EQ(host::Elem(root)->parent, Root(doc));
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, WrapAndUnwrapRefuseWhatTheHostCannotRepresent) {
    F_ObjHandleT rowDef = host::AddElementDef(doc, "R", FV_FO_TBL_ROW);
    SelectWhole(doc, p1);
    FA_errno = 0;
    F_ApiWrapElement(doc, rowDef);  // not a container definition
    EXPECT_NE(FA_errno, 0);
    Select(doc, {0, root, 0}, {0, 0, 0});
    FA_errno = 0;
    F_ApiUnWrapElement(doc);  // the highest-level element
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(Root(doc), root);
}

TEST_F(HostEdit, UnwrapPutsTheContentInPlaceKeepingIds) {
    SelectWhole(doc, b);
    FA_errno = 0;
    F_ApiUnWrapElement(doc);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(Outline(p1), "Para('abcdef')");
    EXPECT_EQ(host::Elem(b), nullptr);
    SelectWhole(doc, p2);
    F_ApiUnWrapElement(doc);
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('abcdef') 'x' Para('nested') 'y')");
    EXPECT_EQ(host::Elem(nested)->parent, s1);
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, PromoteAndDemoteMoveTheSelectedElement) {
    SelectWhole(doc, nested);
    FA_errno = 0;
    F_ApiPromoteElement(doc);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(Outline(s1), "Sec(Title('Intro') Para('ab' B('cd') 'ef') Para('xy') Para('nested'))");
    SelectWhole(doc, nested);
    F_ApiDemoteElement(doc);  // into p2, as its last child
    EXPECT_EQ(host::Elem(nested)->parent, p2);
    EXPECT_EQ(host::Elem(p2)->last, nested);
    // Refusals: promoting out of a highest-level element, demoting without a previous sibling.
    SelectWhole(doc, s1);
    FA_errno = 0;
    F_ApiPromoteElement(doc);
    EXPECT_NE(FA_errno, 0);
    SelectWhole(doc, title);
    FA_errno = 0;
    F_ApiDemoteElement(doc);
    EXPECT_NE(FA_errno, 0);
    ExpectRoundTrip(*this, doc);
}

// A new table of format "Format A" placed before child of parent.
F_ObjHandleT NewTableAt(F_ObjHandleT doc, F_ObjHandleT parent, F_ObjHandleT child, IntT cols, IntT body, IntT head,
                        IntT foot) {
    F_ElementLocT place{parent, child, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    return F_ApiNewTable(doc, "Format A", cols, body, head, foot, &at);
}

TEST_F(HostEdit, RowsFollowEachOtherAcrossPartsAndGoInRuns) {
    F_ObjHandleT tbl = NewTableAt(doc, s2, empty, 1, 2, 1, 1);
    ASSERT_NE(tbl, 0u);
    F_ObjHandleT te = F_ApiGetId(doc, tbl, FP_Element);
    std::vector<F_ObjHandleT> forward, backward;
    for (F_ObjHandleT r = F_ApiGetId(doc, tbl, FP_FirstRowInTbl); r && forward.size() < 10; r = F_ApiGetId(doc, r, FP_NextRowInTbl))
        forward.push_back(r);
    for (F_ObjHandleT r = F_ApiGetId(doc, tbl, FP_LastRowInTbl); r && backward.size() < 10; r = F_ApiGetId(doc, r, FP_PrevRowInTbl))
        backward.push_back(r);
    ASSERT_EQ(forward.size(), 4u);  // heading, two body rows, footing
    EXPECT_EQ(std::vector<F_ObjHandleT>(backward.rbegin(), backward.rend()), forward);
    EXPECT_EQ(F_ApiGetInt(doc, forward[3], FP_RowType), 2);
    // Two rows from the second body row: it and the footing's only row, which takes the footing.
    EXPECT_EQ(F_ApiDeleteRows(doc, tbl, forward[2], 2), 0);
    EXPECT_EQ(Outline(te), "Table(TableHeading(Row(Cell)) TableBody(Row(Cell)))");
    EXPECT_EQ(F_ApiGetId(doc, forward[1], FP_NextRowInTbl), 0u);
}

TEST_F(HostEdit, TablesAreElementSubtreesWithRowAndCellObjects) {
    F_ObjHandleT tbl = NewTableAt(doc, s2, empty, 2, 2, 1, 0);
    ASSERT_NE(tbl, 0u);
    F_ObjHandleT te = F_ApiGetId(doc, tbl, FP_Element);
    EXPECT_EQ(Outline(te), "Table(TableHeading(Row(Cell Cell)) TableBody(Row(Cell Cell) Row(Cell Cell)))");
    EXPECT_EQ(F_ApiGetId(doc, te, FP_Object), tbl);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstTblInDoc), tbl);
    F_ObjHandleT head = F_ApiGetId(doc, tbl, FP_FirstRowInTbl);
    EXPECT_EQ(F_ApiGetInt(doc, head, FP_RowType), 0);
    F_ObjHandleT body1 = F_ApiGetId(doc, head, FP_NextRowInTbl);
    EXPECT_EQ(F_ApiGetInt(doc, body1, FP_RowType), 1);
    F_ObjHandleT cell = F_ApiGetId(doc, body1, FP_FirstCellInRow);
    EXPECT_EQ(F_ApiGetId(doc, cell, FP_CellRow), body1);
    EXPECT_NE(F_ApiGetId(doc, cell, FP_FirstPgf), 0u);  // each cell holds a paragraph
    EXPECT_EQ(F_ApiGetInt(doc, F_ApiGetId(doc, cell, FP_NextCellInRow), FP_CellColNum), 1);
    // Rows and columns.
    EXPECT_EQ(F_ApiAddRows(doc, body1, FV_Below, 2), 0);
    EXPECT_EQ(F_ApiAddCols(doc, tbl, 0, FV_Left, 1), 0);
    EXPECT_EQ(Outline(host::Elem(te)->last),
              "TableBody(Row(Cell Cell Cell) Row(Cell Cell Cell) Row(Cell Cell Cell) Row(Cell Cell Cell))");
    EXPECT_EQ(F_ApiDeleteCols(doc, tbl, 1, 2), 0);
    EXPECT_EQ(F_ApiDeleteRows(doc, tbl, head, 1), 0);  // the heading goes with its last row
    EXPECT_EQ(Outline(te), "Table(TableBody(Row(Cell) Row(Cell) Row(Cell) Row(Cell)))");
    EXPECT_EQ(host::Elem(F_ApiGetId(doc, head, FP_Element)), nullptr);
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetId(doc, head, FP_NextRowInTbl), 0u);  // a deleted row's id is stale
    EXPECT_NE(FA_errno, 0);
    // Title on and off.
    F_ApiSetInt(doc, tbl, FP_TblTitlePosition, 1);
    EXPECT_EQ(Outline(host::Elem(te)->first), "TableTitle");
    EXPECT_NE(F_ApiGetId(doc, tbl, FP_FirstPgfInTitle), 0u);
    F_ApiSetInt(doc, tbl, FP_TblTitlePosition, 0);
    EXPECT_EQ(F_ApiGetId(doc, tbl, FP_FirstPgfInTitle), 0u);
    ExpectRoundTrip(*this, doc);
}

TEST_F(HostEdit, ConditionsAndColourAreKeptPerCharacterRun) {
    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_ObjHandleT red = F_ApiNewNamedObject(doc, FO_Color, "Red");
    F_TextRangeT abcdef = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextRangeT bc{{abcdef.beg.objId, 1}, {abcdef.beg.objId, 3}};
    std::vector<IntT> tags{static_cast<IntT>(draft)};
    SetConditions(doc, bc, tags);
    F_PropValT color{};
    color.propIdent = FP_Color;
    color.propVal.valType = FT_Id;
    color.propVal.ival = static_cast<IntT>(red);
    F_ApiSetTextPropVal(doc, &abcdef, &color);
    auto condAt = [&](IntT off) {
        F_TextLocT loc{abcdef.beg.objId, off};
        F_PropValT v = F_ApiGetTextPropVal(doc, &loc, FP_InCond);
        std::vector<IntT> out = host::ReadInts(&v.propVal.isval);
        F_ApiFreeIntList(&v.propVal.isval);
        return out;
    };
    EXPECT_TRUE(condAt(0).empty());
    EXPECT_EQ(condAt(1), tags);  // "b"
    EXPECT_EQ(condAt(2), tags);  // "c", in the B element
    EXPECT_TRUE(condAt(3).empty());
    F_TextLocT last{abcdef.beg.objId, 5};
    EXPECT_EQ(F_ApiGetTextPropVal(doc, &last, FP_Color).propVal.ival, static_cast<IntT>(red));
    // The text frame at a location is the paragraph's frame.
    EXPECT_EQ(static_cast<F_ObjHandleT>(F_ApiGetTextPropVal(doc, &last, FP_InTextFrame).propVal.ival),
              F_ApiGetId(doc, abcdef.beg.objId, FP_InTextFrame));
    // A tag of another document is refused.
    FA_errno = 0;
    F_PropValT bad{};
    bad.propIdent = FP_InCond;
    bad.propVal.valType = FT_Ints;
    bad.propVal.isval = host::NewInts({12345});
    F_ApiSetTextPropVal(doc, &bc, &bad);
    F_ApiFreeIntList(&bad.propVal.isval);
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(condAt(1), tags);
}

}  // namespace

namespace {

TEST_F(HostEdit, CrossReferencesTakeTheirTextFromTheTarget) {
    F_ObjHandleT xrefDef = host::AddElementDef(doc, "XRef", FV_FO_XREF);
    F_ObjHandleT xe = host::AppendElement(doc, empty, xrefDef);
    host::AppendText(doc, xe, "old");
    F_ObjHandleT xref = F_ApiGetId(doc, xe, FP_Object);
    ASSERT_NE(xref, 0u);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstXRefInDoc), xref);
    F_ApiSetString(doc, xref, FP_XRefSrcText, "p2:Para:whatever");
    F_ObjHandleT fmt = F_ApiNewNamedObject(doc, FO_XRefFmt, "Page");
    F_ApiSetId(doc, xref, FP_XRefFmt, fmt);
    EXPECT_EQ(F_ApiGetId(doc, xref, FP_XRefFmt), fmt);
    EXPECT_EQ(F_ApiUpdateXRefs(doc, 7), 0);
    EXPECT_EQ(Outline(xe), "XRef('xnestedy')");
    EXPECT_EQ(TextOf(doc, xe), "xnestedy");
    // A missing target leaves the text and is reported.
    F_ApiSetString(doc, xref, FP_XRefSrcText, "nowhere:Para:x");
    EXPECT_NE(F_ApiUpdateXRefs(doc, 7), 0);
    EXPECT_EQ(Outline(xe), "XRef('xnestedy')");
    ExpectRoundTrip(*this, doc);
}

}  // namespace

namespace {

TEST_F(HostEdit, CharacterPropertiesFollowTheTextThroughSplitsInsertsAndJoins) {
    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_TextRangeT all = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextRangeT justB{{all.beg.objId, 1}, {all.beg.objId, 2}};  // "b" of "ab"
    SetConditions(doc, justB, {static_cast<IntT>(draft)});
    auto tagged = [&](IntT off) {
        F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
        F_TextLocT loc{r.beg.objId, off};
        F_PropValT v = F_ApiGetTextPropVal(doc, &loc, FP_InCond);
        bool yes = v.propVal.isval.len == 1;
        F_ApiFreeIntList(&v.propVal.isval);
        return yes;
    };
    // An element inserted between "a" and "b" splits the text node; "b" keeps its tag.
    F_ElementLocT mid{p1, tab, 1};
    ASSERT_NE(F_ApiNewElement(doc, bDef, &mid), 0u);
    EXPECT_EQ(Outline(p1), "Para('a' B 'b' B('cd') 'ef')");
    EXPECT_FALSE(tagged(0));
    EXPECT_TRUE(tagged(1));
    // Text added before "b" takes the properties of the character before it ("a": none).
    F_TextRangeT r = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextLocT at{r.beg.objId, 1};
    F_ApiAddText(doc, &at, "XY");
    EXPECT_EQ(Outline(p1), "Para('aXY' B 'b' B('cd') 'ef')");
    EXPECT_FALSE(tagged(2));
    EXPECT_TRUE(tagged(3));
    // Deleting the empty B joins "aXY" and "b": "b" keeps its tag at its new place.
    F_ApiDelete(doc, host::Elem(host::Elem(p1)->first)->next);
    EXPECT_EQ(Outline(p1), "Para('aXYb' B('cd') 'ef')");
    EXPECT_FALSE(tagged(2));
    EXPECT_TRUE(tagged(3));
    EXPECT_FALSE(tagged(4));
}

}  // namespace

namespace {

// The names of the named objects a list of ids stands for, joined by ",".
std::string Names(F_ObjHandleT doc, const std::vector<IntT> &ids) {
    std::string out;
    for (IntT id : ids) {
        StringT s = F_ApiGetString(doc, static_cast<F_ObjHandleT>(id), FP_Name);
        out += (out.empty() ? "" : ",") + std::string(s ? s : "?");
        F_ApiDeallocateString(&s);
    }
    return out;
}

// The conditions and colour of each character of an element's text: "conditions/colour" per
// character, joined by " ".
std::string CharacterProps(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_TextRangeT r = F_ApiGetTextRange(doc, elem, FP_TextRange);
    std::string out;
    for (IntT off = r.beg.offset; off < r.end.offset; ++off) {
        F_TextLocT loc{r.beg.objId, off};
        F_PropValT cond = F_ApiGetTextPropVal(doc, &loc, FP_InCond);
        std::vector<IntT> tags = host::ReadInts(&cond.propVal.isval);
        F_ApiFreeIntList(&cond.propVal.isval);
        IntT color = F_ApiGetTextPropVal(doc, &loc, FP_Color).propVal.ival;
        out += Names(doc, tags) + "/" + (color ? Names(doc, {color}) : "") + " ";
    }
    return out;
}

std::string GetText(F_ObjHandleT doc, F_ObjHandleT obj, IntT number) {
    StringT s = F_ApiGetString(doc, obj, number);
    std::string out = s ? s : "<null>";
    F_ApiDeallocateString(&s);
    return out;
}

// A document's element whose "id" attribute holds `id`, or 0.
F_ObjHandleT ElementWithId(F_ObjHandleT doc, const std::string &id) {
    F_ObjHandleT found = 0;
    host::ForEachElement(doc, [&](F_ObjHandleT e) {
        const auto *v = host::GetAttribute(e, "id");
        if (!found && v && !v->empty() && v->front() == id) found = e;
    });
    return found;
}

TEST_F(HostEdit, MarkersCrossReferencesConditionsAndColoursSurviveANativeSave) {
    F_ObjHandleT hypertext = F_ApiNewNamedObject(doc, FO_MarkerType, "Hypertext");
    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_ObjHandleT review = F_ApiNewNamedObject(doc, FO_CondFmt, "Review");
    F_ObjHandleT red = F_ApiNewNamedObject(doc, FO_Color, "Red");
    // A marker between "a" and "b" of p1.
    F_TextRangeT whole = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextLocT inText{whole.beg.objId, whole.beg.offset + 1};
    F_ObjHandleT marker = F_ApiNewAnchoredObject(doc, FO_Marker, &inText);
    ASSERT_NE(marker, 0u);
    F_ApiSetString(doc, marker, FP_MarkerText, "openLink <target> & \"more\"");
    F_ApiSetId(doc, marker, FP_MarkerTypeId, hypertext);
    // "bcd" of p1 under two conditions, all of it red.
    whole = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextRangeT bcd{{whole.beg.objId, whole.beg.offset + 1}, {whole.beg.objId, whole.beg.offset + 4}};
    SetConditions(doc, bcd, {static_cast<IntT>(draft), static_cast<IntT>(review)});
    F_PropValT color{};
    color.propIdent = FP_Color;
    color.propVal.valType = FT_Id;
    color.propVal.ival = static_cast<IntT>(red);
    F_ApiSetTextPropVal(doc, &whole, &color);
    // A cross-reference to another file in the empty paragraph.
    F_ObjHandleT xe = host::AppendElement(doc, empty, host::AddElementDef(doc, "XRef", FV_FO_XREF));
    host::AppendText(doc, xe, "see page 4");
    F_ObjHandleT xref = F_ApiGetId(doc, xe, FP_Object);
    F_ApiSetId(doc, xref, FP_XRefFmt, F_ApiNewNamedObject(doc, FO_XRefFmt, "Page"));
    F_ApiSetString(doc, xref, FP_XRefFile, "other.fm");
    F_ApiSetString(doc, xref, FP_XRefSrcText, "x9:Para:Target text");
    // A table whose second body row is conditional.
    F_ElementLocT place{s2, empty, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    F_ObjHandleT tbl = F_ApiNewTable(doc, "Format A", 1, 2, 0, 0, &at);
    ASSERT_NE(tbl, 0u);
    F_ObjHandleT row2 = F_ApiGetId(doc, F_ApiGetId(doc, tbl, FP_FirstRowInTbl), FP_NextRowInTbl);
    F_IntsT rowTags = host::NewInts({static_cast<IntT>(review)});
    F_ApiSetInts(doc, row2, FP_InCond, &rowTags);
    F_ApiFreeIntList(&rowTags);
    std::string props = CharacterProps(doc, p1);
    ASSERT_EQ(props, "/Red Draft,Review/Red Draft,Review/Red Draft,Review/Red /Red /Red ");

    F_ObjHandleT again = SaveAndReopen(doc);
    ASSERT_NE(again, 0u);
    F_ObjHandleT marker2 = F_ApiGetId(0, again, FP_FirstMarkerInDoc);
    ASSERT_NE(marker2, 0u);
    EXPECT_EQ(GetText(again, marker2, FP_MarkerText), "openLink <target> & \"more\"");
    F_ObjHandleT type2 = F_ApiGetId(again, marker2, FP_MarkerTypeId);
    EXPECT_EQ(Names(again, {static_cast<IntT>(type2)}), "Hypertext");
    EXPECT_EQ(host::Named(type2)->doc, again);
    F_ObjHandleT xref2 = F_ApiGetId(0, again, FP_FirstXRefInDoc);
    ASSERT_NE(xref2, 0u);
    EXPECT_EQ(Names(again, {static_cast<IntT>(F_ApiGetId(again, xref2, FP_XRefFmt))}), "Page");
    EXPECT_EQ(GetText(again, xref2, FP_XRefFile), "other.fm");
    EXPECT_EQ(GetText(again, xref2, FP_XRefSrcText), "x9:Para:Target text");
    EXPECT_EQ(CharacterProps(again, ElementWithId(again, "p1")), props);
    F_ObjHandleT firstRow = F_ApiGetId(again, F_ApiGetId(0, again, FP_FirstTblInDoc), FP_FirstRowInTbl);
    F_IntsT none = F_ApiGetInts(again, firstRow, FP_InCond);
    EXPECT_EQ(Names(again, host::ReadInts(&none)), "");
    F_ApiFreeIntList(&none);
    F_IntsT tags2 = F_ApiGetInts(again, F_ApiGetId(again, firstRow, FP_NextRowInTbl), FP_InCond);
    EXPECT_EQ(Names(again, host::ReadInts(&tags2)), "Review");
    F_ApiFreeIntList(&tags2);
}

}  // namespace

namespace {

// A selection of text alone goes to the clipboard as plain text; one that takes in an element
// goes as a fragment.
TEST_F(HostEdit, CopyPutsPlainTextOnTheClipboardOnlyWhenTheSelectionHoldsNoElement) {
    struct Case {
        const char *what;
        F_ElementLocT beg, end;
        bool structured;
        std::string text;
    };
    const Case cases[] = {
        {"part of a text node", {p1, tab, 1}, {p1, tab, 2}, false, "b"},
        {"up to the element after the text", {p1, tab, 1}, {p1, b, 0}, false, "b"},
        {"to the end of the parent", {p1, tef, 0}, {p1, 0, 0}, false, "ef"},
        {"inside an inline element", {b, tcd, 1}, {b, 0, 0}, false, "d"},
        {"text and an element", {p1, tab, 1}, {p1, tef, 1}, true, ""},
        {"an element alone", {p1, b, 0}, {p1, tef, 0}, true, ""},
    };
    for (const Case &c : cases) {
        host::SetClipboardText("old");
        Select(doc, c.beg, c.end);
        ASSERT_EQ(F_ApiCopy(doc, 0), 0) << c.what;
        EXPECT_FALSE(host::Clipboard().empty) << c.what;
        EXPECT_EQ(host::Clipboard().structured, c.structured) << c.what;
        EXPECT_EQ(host::Clipboard().text, c.text) << c.what;
        EXPECT_EQ(host::Clipboard().nodes.empty(), !c.structured) << c.what;
    }
}

// Copied plain text pasted into an element joins the text there and takes the character
// properties of the character before it, whatever it carried where it was copied.
TEST_F(HostEdit, PastedPlainTextJoinsTheTextAndTakesThePropertiesBeforeIt) {
    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_TextRangeT all = F_ApiGetTextRange(doc, p1, FP_TextRange);
    F_TextRangeT justB{{all.beg.objId, 1}, {all.beg.objId, 2}};  // "b" of "ab"
    SetConditions(doc, justB, {static_cast<IntT>(draft)});
    Select(doc, {p1, tab, 1}, {p1, tab, 2});
    ASSERT_EQ(F_ApiCopy(doc, 0), 0);
    // After "e" (no condition) and after "b" (Draft).
    Select(doc, {p1, tef, 1}, {p1, tef, 1});
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    Select(doc, {p1, tab, 2}, {p1, tab, 2});
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    EXPECT_EQ(Outline(p1), "Para('abb' B('cd') 'ebf')");
    EXPECT_EQ(CharacterProps(doc, p1), "/ Draft/ Draft/ / / / / / ");
    ExpectRoundTrip(*this, doc);
}

}  // namespace
