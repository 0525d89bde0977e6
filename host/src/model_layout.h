// Paragraphs, text frames and pages of a document: a view of its flows' element trees, built on
// demand. Typed text, retags and nodes added at the end of a flow update it in place
// (LayoutTextInserted, LayoutRetagged, LayoutElementAdded); other structural edits drop it
// (MarkChanged) and the next read builds it again. Shared by the layout, text and edit files.
#pragma once

#include "model.h"

namespace host {

// A run of one text node inside a paragraph.
struct TextSeg {
    F_ObjHandleT node;
    IntT start;  // offset of the node's first character in the paragraph
    IntT len;    // characters
};

struct PgfInfo {
    F_ObjHandleT id = 0;
    IntT unique = 0;
    F_ObjHandleT flow = 0;
    F_ObjHandleT begin = 0;  // the element that begins it (0 for text outside paragraph elements)
    std::string format;
    IntT length = 0;
    std::vector<TextSeg> segs;
    F_ElementLocT emptyLoc{};  // where its content starts, for a paragraph without text
    uint32_t frame = 0;        // index into Layout::frames
};

// A place in the layout: paragraph index and character offset.
struct TextPos {
    uint32_t pgf = 0;
    IntT off = 0;
};

struct FrameInfo {
    F_ObjHandleT id = 0;
    F_ObjHandleT flow = 0;
    uint32_t firstPgf = 0, lastPgf = 0;  // indexes into Layout::pgfs
    uint32_t page = 0;                   // index into Layout::pages
};

struct PageInfo {
    F_ObjHandleT id = 0;
    uint32_t frame = 0;
};

struct FlowSpan {
    uint32_t firstPgf = 0, lastPgf = 0;
    uint32_t firstFrame = 0, lastFrame = 0;
    bool standIn = false;  // the flow holds no text: its one paragraph is the empty "Body" stand-in
    // Elements after the flow's last paragraph, which start where a next paragraph of the flow
    // would begin and meanwhile read as the end of the last one.
    std::vector<F_ObjHandleT> waiting;
};

struct Layout {
    std::vector<PgfInfo> pgfs;  // document order: flows in flow order
    std::vector<FrameInfo> frames;
    std::vector<PageInfo> pages;
    std::unordered_map<F_ObjHandleT, uint32_t> pgfIndex, frameIndex, pageIndex;
    std::unordered_map<F_ObjHandleT, FlowSpan> flows;
    std::unordered_map<F_ObjHandleT, std::pair<TextPos, TextPos>> elemPos;  // start, end

    // The index of paragraph `id`. Readers mostly go from one paragraph to the next, so the
    // paragraph found last and the one after it are looked at before the index.
    bool FindPgf(F_ObjHandleT id, uint32_t &index) const {
        for (uint32_t i : {lastPgf_, lastPgf_ + 1})
            if (i < pgfs.size() && pgfs[i].id == id && id) {
                index = lastPgf_ = i;
                return true;
            }
        auto it = pgfIndex.find(id);
        if (it == pgfIndex.end()) return false;
        index = lastPgf_ = it->second;
        return true;
    }

  private:
    mutable uint32_t lastPgf_ = 0;
};

// The layout of d, built now (LayoutOf builds it when missing).
Layout *BuildLayout(Document &d);
// The document's layout, built when missing; nullptr for a closed document.
inline Layout *LayoutOf(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    if (!d) return nullptr;
    return d->layout ? d->layout.get() : BuildLayout(*d);
}

// The paragraph after paragraph `pgf` of doc in its flow (0 after the flow's last one): the read
// every walk over a flow's text makes once a paragraph. False when pgf is not one of doc's.
inline F_ObjHandleT NextPgfInFlowAt(const Layout &l, uint32_t i) {
    return i + 1 < l.pgfs.size() && l.pgfs[i + 1].flow == l.pgfs[i].flow ? l.pgfs[i + 1].id : 0;
}
inline bool NextPgfInFlowOf(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT &next) {
    Layout *l = LayoutOf(doc);
    uint32_t i = 0;
    if (!l || !l->FindPgf(pgf, i)) return false;
    next = NextPgfInFlowAt(*l, i);
    return true;
}

// Element location -> text location of doc; false when it does not name a place.
bool ElementLocToText(F_ObjHandleT doc, const F_ElementLocT &loc, F_TextLocT &out);
// Text location -> element location (offsets at a text node's end stay in that node).
bool TextLocToElement(F_ObjHandleT doc, const F_TextLocT &loc, F_ElementLocT &out);
// The text range an element's content covers.
bool ElementTextRange(F_ObjHandleT doc, F_ObjHandleT elem, F_TextRangeT &out);
// The layout places where a live element of doc starts and ends; nullptr when it has none.
const std::pair<TextPos, TextPos> *ElementTextPlaces(F_ObjHandleT doc, F_ObjHandleT elem, Layout *&layout);
// An offset within paragraph `pgf` bounded to its text (with allowEndMark, to just after its
// end); FV_OBJ_END_OFFSET reads as the last place.
IntT BoundedOffset(const Layout &l, uint32_t pgf, IntT offset, bool allowEndMark);
// Resolves {paragraph, offset} into (index, offset), offsets clamped to 0..length (+1 when
// allowEndMark: just after the paragraph end; FV_OBJ_END_OFFSET reads as that place too).
bool ResolveTextLoc(Layout &l, const F_TextLocT &loc, bool allowEndMark, TextPos &out);

// The document's selection in both views (invalid parts read as zeros).
F_ElementRangeT SelectionElements(Document &d);
F_TextRangeT SelectionText(Document &d);
// An insertion point at {parent, child, 0}.
void SelectInsertionPoint(Document &d, F_ObjHandleT parent, F_ObjHandleT child);
// Sets the document's element selection (FP_ElementSelection); false with FA_errno
// FE_BadElementLoc when a location is not one of the document's (a zero range clears it).
bool SetElementSelection(Document &d, const F_ElementRangeT &r);
// How many paragraphs the layouts of the session have placed so far, by a build or by an edit
// followed in place (tests compare the work of edits with it).
unsigned long LayoutParagraphsLaidOut();
// How many element selections were set so far (the user's side tells where a command left them).
unsigned long ElementSelectionWrites();

}  // namespace host
