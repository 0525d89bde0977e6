// The layout follows edits: after text insertions, retags and nodes added at the end of a flow
// the paragraphs, their frames and pages, the elements' text ranges and the texts read back are
// those of a layout built afresh.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "elements_fixture.h"
#include "model_internal.h"
#include "model_layout.h"

namespace {

class LayoutEdits : public ElementsDoc {
  protected:
    // Every paragraph's text and every element's text range, in document order.
    std::vector<std::string> Snapshot() {
        std::vector<std::string> out;
        for (F_ObjHandleT p = F_ApiGetId(0, doc, FP_FirstPgfInDoc); p; p = F_ApiGetId(doc, p, FP_NextPgfInDoc)) {
            F_TextItemsT items = F_ApiGetText(doc, p, FTI_String);
            std::string text;
            for (UIntT i = 0; i < items.len; ++i) text += items.val[i].sdata ? items.val[i].sdata : "";
            F_ApiDeallocateTextItems(&items);
            StringT format = F_ApiGetString(doc, p, FP_PgfFmtName);
            F_ObjHandleT frame = F_ApiGetId(doc, p, FP_InTextFrame);
            F_ObjHandleT page = F_ApiGetId(doc, frame, FP_PageFramePage);
            out.push_back(std::to_string(p) + " " + (format ? format : "") + ": " + text + " in frame " +
                          std::to_string(frame) + " on page " + std::to_string(F_ApiGetInt(doc, page, FP_PageNum)));
            F_ApiDeallocateString(&format);
        }
        Walk(root, out);
        return out;
    }
    void Walk(F_ObjHandleT e, std::vector<std::string> &out) {
        F_TextRangeT r = F_ApiGetTextRange(doc, e, FP_TextRange);
        out.push_back(std::to_string(e) + " " + std::to_string(r.beg.objId) + "/" + std::to_string(r.beg.offset) +
                      ".." + std::to_string(r.end.objId) + "/" + std::to_string(r.end.offset));
        F_ObjHandleT c = F_ApiGetId(doc, e, FP_FirstChildElement);
        for (; c; c = F_ApiGetId(doc, c, FP_NextSiblingElement)) Walk(c, out);
    }
    // The snapshot of the layout as it stands, then of one built afresh.
    void ExpectFresh(const std::string &what) {
        std::vector<std::string> followed = Snapshot();
        host::MarkChanged(doc, false);
        EXPECT_EQ(followed, Snapshot()) << what;
    }
};

TEST_F(LayoutEdits, TextInsertionsMovePlacesAsARebuildWould) {
    struct Case {
        const char *what;
        F_ObjHandleT parent, child;
        IntT offset;
    };
    const Case cases[] = {
        {"inside a text node before an inline element", p1, tab, 1},
        {"at the end of the text before an inline element", p1, tab, 2},
        {"inside the inline element", b, tcd, 0},
        {"at the end of a paragraph", p1, tef, 2},
        {"before a nested paragraph", p2, 0, 0},
        {"in the nested paragraph", nested, 0, 0},
        {"in a title", title, 0, 3},
    };
    ASSERT_FALSE(Snapshot().empty());  // the layout exists before the edits
    for (const Case &c : cases) {
        F_ElementLocT loc{c.parent, c.child ? c.child : host::Elem(c.parent)->first, c.offset};
        F_TextLocT at = F_ApiElementLocToTextLoc(doc, &loc);
        ASSERT_NE(at.objId, 0u) << c.what;
        F_TextLocT end = F_ApiAddText(doc, &at, "XY");
        EXPECT_EQ(end.objId, at.objId) << c.what;
        EXPECT_EQ(end.offset, at.offset + 2) << c.what;
        ExpectFresh(c.what);
    }
}

// Nodes added last in the flow, one after another, each placed as a rebuild would place it; those
// the layout follows in place lay out at most the one paragraph they add, the others rebuild it.
TEST_F(LayoutEdits, NodesAddedAtTheFlowsEndArePlacedAsARebuildWould) {
    host::Doc(doc)->pgfsPerPage = 2;  // new paragraphs fill the last frame, then begin frames and pages
    host::MarkChanged(doc, false);
    ASSERT_FALSE(Snapshot().empty());
    auto newElement = [this](F_ObjHandleT def, F_ObjHandleT parent, F_ObjHandleT before = 0) {
        F_ElementLocT at{parent, before, 0};
        return F_ApiNewElement(doc, def, &at);
    };
    // Text typed at the end of the element's content (the insertion point decides where).
    auto addText = [this](F_ObjHandleT parent) {
        F_ElementRangeT ip{{parent, 0, 0}, {parent, 0, 0}};
        F_ApiSetElementRange(0, doc, FP_ElementSelection, &ip);
        F_TextLocT at = F_ApiElementLocToTextLoc(doc, &ip.beg);
        F_ApiAddText(doc, &at, "new");
        return host::Elem(parent)->last;
    };
    auto step = [this](const char *what, bool inPlace, auto edit) {
        const unsigned long before = host::LayoutParagraphsLaidOut();
        F_ObjHandleT made = edit();
        EXPECT_NE(made, 0u) << what;
        std::vector<std::string> followed = Snapshot();
        if (inPlace) {
            EXPECT_LE(host::LayoutParagraphsLaidOut() - before, 1u) << what;
        }
        host::MarkChanged(doc, false);
        EXPECT_EQ(followed, Snapshot()) << what;
        return made;
    };
    step("text in the empty last paragraph", true, [&] { return addText(empty); });
    F_ObjHandleT p3 = step("a paragraph element after it", true, [&] { return newElement(paraDef, s2); });
    F_ObjHandleT b3 = step("an inline element in the new paragraph", true, [&] { return newElement(bDef, p3); });
    step("text in the inline element", true, [&] { return addText(b3); });
    step("text after the inline element", true, [&] { return addText(p3); });
    F_ObjHandleT s3 = step("a section after the last paragraph", true, [&] { return newElement(secDef, root); });
    step("an empty inline element in the section", true, [&] { return newElement(bDef, s3); });
    F_ObjHandleT p4 = step("a paragraph element the section and its inline element begin in", true,
                           [&] { return newElement(paraDef, s3); });
    step("a title in the paragraph element (a nested paragraph)", true, [&] { return newElement(titleDef, p4); });
    step("text in the section after its paragraph: a Body paragraph", true, [&] { return addText(s3); });
    F_ObjHandleT p5 = step("a paragraph element at the end", true, [&] { return newElement(paraDef, root); });
    step("a nested paragraph element in it", true, [&] { return newElement(paraDef, p5); });
    step("text after the nested paragraph, which resumes the outer one", false, [&] { return addText(p5); });
    step("a paragraph element before the last section", false, [&] { return newElement(paraDef, root, s3); });
}

TEST_F(LayoutEdits, RetagsRenameOrRebuildParagraphs) {
    F_ObjHandleT note = host::AddElementDef(doc, "Note", FV_FO_CONTAINER, "Note");
    F_ObjHandleT em = host::AddElementDef(doc, "Em");
    struct Case {
        const char *what;
        F_ObjHandleT elem, def;
    };
    const Case cases[] = {
        {"a paragraph to another paragraph format", p1, note},
        {"an inline element to another inline one", b, em},
        {"an inline element to a paragraph element", b, note},
        {"a paragraph element to an inline one", p2, em},
        {"a section (no paragraph) to a paragraph element", s2, note},
    };
    ASSERT_FALSE(Snapshot().empty());
    for (const Case &c : cases) {
        F_ApiSetId(doc, c.elem, FP_ElementDef, c.def);
        EXPECT_EQ(F_ApiGetId(doc, c.elem, FP_ElementDef), c.def) << c.what;
        ExpectFresh(c.what);
    }
}

// A layout built for text reads finds its elements' places only when they are asked for. Edits
// made before then are followed in place as a rebuild would place them, the places found over
// the tree as it stood before the edit; a node linked behind the layout's back has it made again.
TEST_F(LayoutEdits, EditsBeforeThePlacesAreFoundAreFollowedAsARebuildWould) {
    F_ObjHandleT note = host::AddElementDef(doc, "Note", FV_FO_CONTAINER, "Note");
    // A fresh layout that has read the paragraphs' texts and nothing of the elements' places.
    auto readTexts = [this] {
        host::MarkChanged(doc, false);
        for (F_ObjHandleT p = F_ApiGetId(0, doc, FP_FirstPgfInDoc); p; p = F_ApiGetId(doc, p, FP_NextPgfInDoc)) {
            F_TextItemsT items = F_ApiGetText(doc, p, FTI_String);
            F_ApiDeallocateTextItems(&items);
        }
        ASSERT_FALSE(host::LayoutOf(doc)->placed);
    };
    auto secondPgf = [this] { return F_ApiGetId(doc, F_ApiGetId(0, doc, FP_FirstPgfInDoc), FP_NextPgfInDoc); };
    struct Case {
        const char *what;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"text typed into a text node",
         [&] {
             F_TextLocT at{secondPgf(), 1};
             F_ApiAddText(doc, &at, "XY");
         }},
        {"text typed after an inline element",
         [&] {
             F_TextLocT at{secondPgf(), 6};
             F_ApiAddText(doc, &at, "Z");
         }},
        {"a paragraph element added at the flow's end",
         [&] {
             F_ElementLocT at{s2, 0, 0};
             F_ApiNewElement(doc, paraDef, &at);
         }},
        {"a paragraph retagged to another format", [&] { F_ApiSetId(doc, p1, FP_ElementDef, note); }},
    };
    for (const Case &c : cases) {
        readTexts();
        const unsigned long before = host::LayoutParagraphsLaidOut();
        c.edit();
        std::vector<std::string> followed = Snapshot();
        EXPECT_LE(host::LayoutParagraphsLaidOut() - before, 1u) << c.what;  // followed, not built again
        host::MarkChanged(doc, false);
        EXPECT_EQ(followed, Snapshot()) << c.what;
    }
    readTexts();
    F_ObjHandleT late = host::NewElement(doc, paraDef);
    host::LinkChild(s2, late, 0);
    F_TextRangeT r = F_ApiGetTextRange(doc, late, FP_TextRange);
    EXPECT_NE(r.beg.objId, 0u);
    host::MarkChanged(doc, false);
    F_TextRangeT fresh = F_ApiGetTextRange(doc, late, FP_TextRange);
    EXPECT_EQ(r.beg.objId, fresh.beg.objId);
    EXPECT_EQ(r.end.offset, fresh.end.offset);
}

}  // namespace
