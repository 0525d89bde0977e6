// Paragraphs, text frames and pages of a document: a view of its flows' element trees, built on
// demand. Typed text, retags and nodes added at the end of a flow update it in place
// (LayoutTextInserted, LayoutRetagged, LayoutElementAdded); other structural edits drop it
// (MarkChanged) and the next read builds it again. Shared by the layout, text and edit files.
#pragma once

#include <cstring>
#include <type_traits>

#include "model.h"

namespace host {

// A run of one text node inside a paragraph.
struct TextSeg {
    F_ObjHandleT node;
    IntT start;  // offset of the node's first character in the paragraph
    IntT len;    // characters
};

// The text runs of a paragraph in order. Most paragraphs hold one, kept in place; more go to
// the heap. A paragraph without text keeps where its content starts in the first run's room.
class SegList {
  public:
    TextSeg *begin() { return n_ <= 1 ? &one_ : more_->data(); }
    TextSeg *end() { return begin() + n_; }
    const TextSeg *begin() const { return n_ <= 1 ? &one_ : more_->data(); }
    const TextSeg *end() const { return begin() + n_; }
    bool empty() const { return n_ == 0; }
    size_t size() const { return n_; }
    TextSeg &front() { return *begin(); }
    TextSeg &back() { return begin()[n_ - 1]; }
    const TextSeg &front() const { return *begin(); }
    const TextSeg &back() const { return begin()[n_ - 1]; }
    // Where the content of the paragraph starts while it holds no text (zeros once it does).
    F_ElementLocT EmptyPlace() const { return n_ == 0 ? where_ : F_ElementLocT{}; }
    void SetEmptyPlace(const F_ElementLocT &at) {
        if (n_ == 0) where_ = at;
    }
    void push_back(const TextSeg &s) {
        if (n_ == 0) {
            one_ = s;
            n_ = 1;
            return;
        }
        PushMore(s);
    }

  private:
    // A second run or more: kept apart so that the common path stays small enough to inline.
    [[gnu::noinline]] void PushMore(const TextSeg &s) {
        if (n_ == 1) {
            more_ = std::make_unique<std::vector<TextSeg>>();
            more_->reserve(4);
            more_->push_back(one_);
        }
        more_->push_back(s);
        ++n_;
    }
    union {
        TextSeg one_{};
        F_ElementLocT where_;  // while n_ is 0
    };
    uint32_t n_ = 0;
    std::unique_ptr<std::vector<TextSeg>> more_;  // all of them once there are two or more
};

// Values by object id, for ids of one kind made mostly together (a document's elements, the
// paragraphs of a layout): a flat table over the ids from a start (Reserve, or the first id put),
// with a hash map for ids below it or far past the table, so that ids made elsewhere in between
// cost no room.
// `absent` marks empty room: a value equal to it reads as missing. Growing the table moves its
// values: a pointer from Find or a reference from Put holds only until the next Put.
template <class V>
class DenseIdMap {
  public:
    explicit DenseIdMap(V absent) : absent_(absent) {}
    // Starts the flat table at id (its kind's ids from there on) with room for `count` ids;
    // nothing once a start is set.
    void Reserve(F_ObjHandleT first, size_t count) {
        if (based_) return;
        based_ = true;
        base_ = first;
        flat_.reserve(count);
    }
    V *Find(F_ObjHandleT id) {
        if (const size_t i = Flat(id); i < flat_.size()) return Absent(flat_[i]) ? nullptr : &flat_[i];
        if (sparse_.empty()) return nullptr;
        auto it = sparse_.find(id);
        return it == sparse_.end() || Absent(it->second) ? nullptr : &it->second;
    }
    const V *Find(F_ObjHandleT id) const { return const_cast<DenseIdMap *>(this)->Find(id); }
    bool Contains(F_ObjHandleT id) const { return Find(id) != nullptr; }
    // The value of id, `absent` when it has none yet (the caller sets it).
    [[gnu::always_inline]] V &Put(F_ObjHandleT id) {
        if (const size_t i = Flat(id); i < flat_.size()) {
            if (Absent(flat_[i])) ++used_;
            return flat_[i];
        }
        return PutOutside(id);
    }

  private:
    static constexpr size_t kSlack = 1024;
    // Compared as bytes (every value kept here is 32-bit numbers without padding), which stays
    // inline in the builders' loops where a call to the pair's == did not.
    static_assert(std::is_trivially_destructible_v<V> && sizeof(V) % sizeof(uint32_t) == 0);
    bool Absent(const V &v) const { return std::memcmp(&v, &absent_, sizeof(V)) == 0; }
    // The place of id in the flat table. The table holds no more than its kind's counters from
    // the start, so that an id below the start or of another kind falls past its end (an id of
    // another kind is a multiple of 2^24 away, less the counters before the start).
    // Before a start is set the table is empty and holds nothing.
    size_t Flat(F_ObjHandleT id) const { return size_t(uint32_t(id - base_)); }
    size_t MaxFlat() const { return size_t(kLastCounter) + 1 - CounterOf(base_); }
    // Put for an id past the flat table's end or outside it.
    [[gnu::noinline]] V &PutOutside(F_ObjHandleT id) {
        if (!based_) Reserve(id, 0);
        const size_t i = Flat(id);
        // The table grows by doubling while it stays at least a quarter full, and no further than
        // its reserved room while that holds the id: room reserved is filled, not moved.
        if (const size_t limit = std::min(4 * (used_ + kSlack), MaxFlat()); i >= flat_.size() && i < limit) {
            size_t n = std::min(2 * flat_.size(), limit);
            if (i < flat_.capacity()) n = std::min(n, flat_.capacity());
            flat_.resize(std::max(i + 1, n), absent_);
            AdoptSparse();
        }
        if (i < flat_.size()) {
            if (Absent(flat_[i])) ++used_;
            return flat_[i];
        }
        return sparse_.try_emplace(id, absent_).first->second;
    }
    // Ids kept aside that the grown flat table now covers move into it, where Find looks first.
    void AdoptSparse() {
        for (auto it = sparse_.begin(); it != sparse_.end();) {
            const size_t j = Flat(it->first);
            if (j >= flat_.size()) {
                ++it;
                continue;
            }
            if (!Absent(it->second)) {
                ++used_;
                flat_[j] = it->second;
            }
            it = sparse_.erase(it);
        }
    }
    V absent_;
    bool based_ = false;
    F_ObjHandleT base_ = 0;
    size_t used_ = 0;
    std::vector<V> flat_;
    std::unordered_map<F_ObjHandleT, V> sparse_;
};

constexpr uint32_t kNoIndex = 0xFFFFFFFFu;

struct PgfInfo {
    F_ObjHandleT id = 0;
    IntT unique = 0;
    F_ObjHandleT flow = 0;
    F_ObjHandleT begin = 0;  // the element that begins it (0 for text outside paragraph elements)
    uint32_t format = 0;     // index into Layout::formats
    IntT length = 0;
    SegList segs;  // and where its content starts while it has no text
};

// A place in the layout: paragraph index and character offset.
struct TextPos {
    uint32_t pgf = 0;
    IntT off = 0;
    friend bool operator==(const TextPos &, const TextPos &) = default;
};
using TextPlaces = std::pair<TextPos, TextPos>;  // where an element starts and ends
constexpr TextPlaces kNoPlaces{TextPos{kNoIndex, 0}, TextPos{kNoIndex, 0}};

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
    // Found with the places.
    std::vector<F_ObjHandleT> waiting;
};

struct Layout {
    std::vector<PgfInfo> pgfs;  // document order: flows in flow order
    std::vector<FrameInfo> frames;
    std::vector<PageInfo> pages;
    DenseIdMap<uint32_t> frameIndex{kNoIndex}, pageIndex{kNoIndex};  // id -> index
    std::unordered_map<F_ObjHandleT, FlowSpan> flows;
    std::vector<std::string> formats;  // the paragraph formats the paragraphs have, each once
    F_ObjHandleT doc = 0;
    // Paragraphs to a text frame: each flow's frames hold this many of its paragraphs in turn,
    // the last frame the rest.
    uint32_t pgfsPerFrame = 1;

    // The index into `frames` of the frame that holds paragraph i (frames.size() when none does).
    uint32_t FrameOf(uint32_t i) const {
        auto it = flows.find(pgfs[i].flow);
        if (it == flows.end() || i < it->second.firstPgf) return static_cast<uint32_t>(frames.size());
        return std::min(it->second.lastFrame, it->second.firstFrame + (i - it->second.firstPgf) / pgfsPerFrame);
    }

    // Where each element and text node of the flows starts and ends. A text read needs none of
    // it: a walk of its own finds the places on first use, and edits the layout follows keep them
    // from then on.
    DenseIdMap<TextPlaces> &Places();
    DenseIdMap<TextPlaces> placesMap{kNoPlaces};  // read through Places()
    bool placed = false;                          // placesMap holds the places

    // The index of paragraph `id`. Readers mostly go from one paragraph to the next, so the
    // paragraph found last and the one after it are looked at before the index.
    bool FindPgf(F_ObjHandleT id, uint32_t &index) const {
        if (FindNearPgf(id, index)) return true;
        const uint32_t *at = PgfIndex().Find(id);
        if (!at) return false;
        index = lastPgf_ = *at;
        return true;
    }
    // FindPgf by the paragraph found last and the one after it alone.
    bool FindNearPgf(F_ObjHandleT id, uint32_t &index) const {
        const uint32_t last = lastPgf_;
        if (!id) return false;
        if (last < pgfs.size() && pgfs[last].id == id) {
            index = last;
            return true;
        }
        if (last + 1 < pgfs.size() && pgfs[last + 1].id == id) {
            index = lastPgf_ = last + 1;
            return true;
        }
        return false;
    }
    // Paragraph id -> index: made on the first look-up the paragraph found last does not answer
    // (a reader that goes from one paragraph to the next needs none), kept from then on.
    const DenseIdMap<uint32_t> &PgfIndex() const {
        if (!indexed_) IndexPgfs();
        return pgfIndex_;
    }
    // Paragraph i was appended. A build appends them before any index is made: a test alone.
    [[gnu::always_inline]] void PgfAdded(uint32_t i) {
        if (indexed_) IndexAddedPgf(i);
    }

    const std::string &FormatOf(const PgfInfo &p) const { return formats[p.format]; }
    // The index of format f in `formats`, added when new.
    uint32_t FormatIndex(const std::string &f) {
        if (lastFormat_ < formats.size() && formats[lastFormat_] == f) return lastFormat_;
        auto it = std::find(formats.begin(), formats.end(), f);
        lastFormat_ = static_cast<uint32_t>(it - formats.begin());
        if (it == formats.end()) formats.push_back(f);
        return lastFormat_;
    }

  private:
    void IndexPgfs() const;
    void IndexAddedPgf(uint32_t i);
    mutable DenseIdMap<uint32_t> pgfIndex_{kNoIndex};
    mutable bool indexed_ = false;
    mutable uint32_t lastPgf_ = 0;
    uint32_t lastFormat_ = 0;
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
// NextPgfInFlowOf once the layout is to be built or the paragraph to be looked up in the index.
bool NextPgfInFlowFound(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT &next);
// A reader going from one paragraph to the next is answered here, with no call that would make
// the answer keep its values aside.
inline bool NextPgfInFlowOf(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT &next) {
    if (const Document *d = Doc(doc); d && d->layout)
        if (uint32_t i = 0; d->layout->FindNearPgf(pgf, i)) {
            next = NextPgfInFlowAt(*d->layout, i);
            return true;
        }
    return NextPgfInFlowFound(doc, pgf, next);
}

// Element location -> text location of doc; false when it does not name a place.
bool ElementLocToText(F_ObjHandleT doc, const F_ElementLocT &loc, F_TextLocT &out);
// Text location -> element location (offsets at a text node's end stay in that node).
bool TextLocToElement(F_ObjHandleT doc, const F_TextLocT &loc, F_ElementLocT &out);
// The text range an element's content covers.
bool ElementTextRange(F_ObjHandleT doc, F_ObjHandleT elem, F_TextRangeT &out);
// The layout places where a live element of doc starts and ends; nullptr when it has none.
const TextPlaces *ElementTextPlaces(F_ObjHandleT doc, F_ObjHandleT elem, Layout *&layout);
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
