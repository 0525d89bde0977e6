// Paragraphs, text frames and pages: a view of each flow's element tree, built on demand.
//
// Paragraph rules: an element whose paragraph format is not empty (its definition's, or forced
// per element) begins a paragraph of that format; its text and the text of inline descendants
// is in that paragraph; a nested paragraph element begins a new one, and text after it resumes
// in a new paragraph of the outer format. Text outside any paragraph element goes into paragraphs
// of format "Body", one per run. A flow without any paragraph has one empty "Body" paragraph.
// Paragraphs keep their ids across rebuilds: the id is keyed by the element that begins the
// paragraph and its sequence number inside that element (text runs outside paragraph elements by
// their first text node). Frames and pages are keyed by (flow, number) the same way.
#include "model_layout.h"
#include "tables.h"

#include <algorithm>
#include <unordered_set>

#include "model_internal.h"

namespace host {

namespace {

using KeptId = std::pair<F_ObjHandleT, IntT>;  // id, unique id

// The id of a kind kept for `kept` (absent: {0, 0}), made now when it has none. With the kind's
// ids used up the object has none (0) and cannot be reached by id.
[[gnu::always_inline]] inline KeptId GetKept(KeptId &kept, int kind, IntT &nextUnique) {
    if (kept.first) return kept;
    KeptId v{NewObjectId(kind), nextUnique++};
    if (v.first) kept = v;
    return v;
}

struct KeyedIds {
    std::unordered_map<uint64_t, KeptId> ids;
    KeptId Get(uint64_t key, int kind, IntT &nextUnique) { return GetKept(ids[key], kind, nextUnique); }
};

// The ids of text frame k of a flow and of its page.
struct FrameIds {
    KeptId frame{0, 0}, page{0, 0};
};

struct DocIds {
    // A paragraph's ids by the element that begins it (sequence 0) or the text node that begins
    // a run outside paragraph elements: one paragraph per element, most paragraphs of all.
    // Until a layout is dropped, the layout itself holds them: its paragraphs are taken in when it
    // is (KeepPgfIds), so that a first build neither fills nor looks up a table by element.
    DenseIdMap<KeptId> firstPgfs{KeptId{0, 0}};
    bool firstPgfsKept = false;  // firstPgfs holds the ids of a dropped layout
    KeyedIds pgfs;  // the other paragraphs
    std::unordered_map<F_ObjHandleT, std::vector<FrameIds>> frames;  // by flow, in frame order
    IntT nextUnique = 1000;
    size_t lastPgfCount = 0, lastElemCount = 0;  // of the last build: room to reserve for the next
};

std::unordered_map<F_ObjHandleT, DocIds> &AllIds() {
    static std::unordered_map<F_ObjHandleT, DocIds> ids;
    return ids;
}

uint64_t Key(F_ObjHandleT a, uint32_t seq) { return (uint64_t(a) << 32) | seq; }
constexpr uint32_t kBodyRun = 0xFFFFFFFFu, kEmptyFlow = 0xFFFFFFFEu;
const std::string kBody = "Body";  // the format of text outside paragraph elements

// The ids of paragraph `seq` that element (or text node) `a` begins.
[[gnu::always_inline]] inline KeptId PgfIds(DocIds &ids, F_ObjHandleT a, uint32_t seq) {
    if ((seq == 0 || seq == kBodyRun) && KindOf(a) == FO_Element) {
        if (!ids.firstPgfsKept) return KeptId{NewObjectId(FO_Pgf), ids.nextUnique++};  // none kept: new ones
        return GetKept(ids.firstPgfs.Put(a), FO_Pgf, ids.nextUnique);
    }
    return ids.pgfs.Get(Key(a, seq), FO_Pgf, ids.nextUnique);
}

unsigned long ParagraphsLaidOut = 0;

// Appends a paragraph of the flow to the layout, its id and unique id kept by key across
// rebuilds; its index.
[[gnu::always_inline]] inline uint32_t AddPgf(Layout &l, DocIds &ids, F_ObjHandleT flow, F_ObjHandleT a, uint32_t seq, uint32_t format,
                       F_ObjHandleT begin, F_ElementLocT at) {
    PgfInfo &p = l.pgfs.emplace_back();
    std::tie(p.id, p.unique) = PgfIds(ids, a, seq);
    p.flow = flow;
    p.begin = begin;
    p.format = format;
    p.segs.SetEmptyPlace(at);
    auto index = static_cast<uint32_t>(l.pgfs.size() - 1);
    l.PgfAdded(index);
    ++ParagraphsLaidOut;
    return index;
}

// Appends text frame k of the flow, on a body page of its own, holding paragraphs first..last;
// its index. `kept` holds the flow's frame and page ids.
uint32_t AddFrame(Layout &l, DocIds &ids, std::vector<FrameIds> &kept, F_ObjHandleT flow, uint32_t k, uint32_t first,
                  uint32_t last) {
    if (kept.size() <= k) kept.resize(k + 1);
    FrameInfo fr;
    fr.id = GetKept(kept[k].frame, FO_TextFrame, ids.nextUnique).first;
    fr.flow = flow;
    fr.firstPgf = first;
    fr.lastPgf = last;
    fr.page = static_cast<uint32_t>(l.pages.size());
    auto fi = static_cast<uint32_t>(l.frames.size());
    PageInfo pg;
    pg.id = GetKept(kept[k].page, FO_BodyPage, ids.nextUnique).first;
    pg.frame = fi;
    if (fr.id) l.frameIndex.Put(fr.id) = fi;
    if (pg.id) l.pageIndex.Put(pg.id) = static_cast<uint32_t>(l.pages.size());
    l.frames.push_back(fr);
    l.pages.push_back(pg);
    return fi;
}

// Walks the element trees of a document's flows in document order. The paragraph pass finds the
// paragraphs (their text runs, frames and pages): all a text read needs. The places pass
// (kPlaces), run on first need over the paragraphs found so, finds where each element and text
// node starts and ends; it opens and closes paragraphs as the paragraph pass did, takes the
// lengths of the runs from the layout, and fails when the tree no longer matches the paragraphs.
// A node the places pass is told to skip (one an edit has just linked or filled, which the layout
// follows after it) is passed over unless the layout holds it already.
template <bool kPlaces>
class Builder {
public:
    Builder(Document &d, Layout &l, DocIds *ids, F_ObjHandleT skip = 0)
        : d_(d), l_(l), ids_(ids), store_(TheStore().elements), skip_(skip) {}

    // False when the places pass found the tree other than the paragraphs.
    bool Flow(host::Flow &f) {
        const uint32_t first = count_;
        cur_ = -1;
        depth_ = 0;
        pending_.clear();
        if (F_ObjHandleT root = f.root) {
            if constexpr (kPlaces)
                Walk(f.id, root);
            else
                WalkPgfs(f.id, root);
        }
        const bool standIn = count_ == first;
        if (ok_ && standIn) {
            Element *r = Elem(f.root);
            F_ElementLocT at{f.root, r ? r->first : 0, 0};
            Open(f.id, f.id, kEmptyFlow, kBody, 0, at);
        }
        Close();
        if (!ok_) return false;
        const uint32_t last = count_ - 1;
        if constexpr (kPlaces) {
            auto span = l_.flows.find(f.id);
            if (span == l_.flows.end() || span->second.firstPgf != first || span->second.lastPgf != last) return false;
            std::vector<F_ObjHandleT> waiting;
            for (F_ObjHandleT e : pending_) {  // places after the last paragraph: its end
                auto &[s, t] = l_.placesMap.Put(e);
                if (s.pgf > last) {
                    s = TextPos{last, l_.pgfs[last].length};
                    waiting.push_back(e);
                }
                if (t.pgf > last) t = TextPos{last, l_.pgfs[last].length};
            }
            span->second.waiting = std::move(waiting);
        } else {
            Frames(f.id, first, last, standIn);
        }
        return true;
    }

    // The elements and text nodes entered so far.
    size_t Entered() const { return entered_; }

private:
    struct Ctx {
        F_ObjHandleT elem;
        const std::string *format;
        uint32_t seq;
    };

    // `format` lives as long as the build (a definition's format or one of the host's names).
    // The places pass checks that the layout's next paragraph is the one the walk opens.
    [[gnu::always_inline]] void Open(F_ObjHandleT flow, F_ObjHandleT a, uint32_t seq, const std::string &format,
                                     F_ObjHandleT begin, F_ElementLocT at) {
        if constexpr (kPlaces) {
            if (count_ >= l_.pgfs.size() || l_.pgfs[count_].begin != begin || l_.pgfs[count_].flow != flow) {
                ok_ = false;
                return;
            }
            len_ = 0;
            seg_ = 0;
        } else {
            if (&format != lastFormatName_) {  // the same definition's format again: the same index
                lastFormatName_ = &format;
                lastFormat_ = l_.FormatIndex(format);
            }
            AddPgf(l_, *ids_, flow, a, seq, lastFormat_, begin, at);
        }
        cur_ = static_cast<int>(count_++);
    }
    void Close() { cur_ = -1; }

    // The paragraph format element e begins: that of the last element when it has the same
    // definition and the same forcing, which decide it.
    const std::string &FormatOf(const Element &e) {
        if (!format_ || e.def != formatDef_ || e.pgfMode != formatMode_) {
            formatDef_ = e.def;
            formatMode_ = e.pgfMode;
            format_ = &ParagraphFormatOf(e);
        }
        return *format_;
    }

    // Where the walk is now: in the open paragraph, or at the start of the next one.
    [[gnu::always_inline]] TextPos Here(F_ObjHandleT e) {
        if (cur_ >= 0) return TextPos{static_cast<uint32_t>(cur_), len_};
        pending_.push_back(e);
        return TextPos{count_, 0};
    }
    // Where an element ends when no paragraph is open: the end of the last paragraph so far.
    [[gnu::always_inline]] TextPos After(F_ObjHandleT e, uint32_t flowFirst) {
        if (cur_ >= 0 || count_ == flowFirst) return Here(e);
        return TextPos{count_ - 1, l_.pgfs[count_ - 1].length};
    }

    // Whether text node id is the next run of the layout where the walk is.
    bool NextRun(F_ObjHandleT id) const {
        if (cur_ >= 0) {
            const SegList &segs = l_.pgfs[static_cast<size_t>(cur_)].segs;
            return seg_ < segs.size() && segs.begin()[seg_].node == id;
        }
        return count_ < l_.pgfs.size() && !l_.pgfs[count_].segs.empty() && l_.pgfs[count_].segs.front().node == id;
    }

    // The places pass's Enter and Exit (the paragraph pass has its own walk, WalkPgfs).
    [[gnu::always_inline]] void Enter(F_ObjHandleT flow, F_ObjHandleT id, Element &e) {
        if (id == skip_ && (e.def || !NextRun(id))) return;
        if (!e.def) {
            if (cur_ < 0) {
                if (depth_) {
                    Ctx &c = ctx_[depth_ - 1];
                    Open(flow, c.elem, ++c.seq, *c.format, c.elem, F_ElementLocT{e.parent, id, 0});
                } else {
                    Open(flow, id, kBodyRun, kBody, 0, F_ElementLocT{e.parent, id, 0});
                }
                if (!ok_) return;
            }
            const SegList &segs = l_.pgfs[static_cast<size_t>(cur_)].segs;
            if (seg_ >= segs.size() || segs.begin()[seg_].node != id) {
                ok_ = false;
                return;
            }
            const TextPos start{static_cast<uint32_t>(cur_), len_};
            len_ += segs.begin()[seg_++].len;
            l_.placesMap.Put(id) = {start, TextPos{start.pgf, len_}};
            return;
        }
        const std::string &format = FormatOf(e);
        if (!format.empty()) {
            Close();
            if (depth_ == ctx_.size()) ctx_.emplace_back();
            ctx_[depth_++] = Ctx{id, &format, 0};
            Open(flow, id, 0, format, id, F_ElementLocT{id, e.first, 0});
        }
        if (ok_) l_.placesMap.Put(id).first = Here(id);
    }

    [[gnu::always_inline]] void Exit(F_ObjHandleT id, Element &e, uint32_t flowFirst) {
        if (!e.def || id == skip_) return;
        l_.placesMap.Put(id).second = After(id, flowFirst);
        if (depth_ && ctx_[depth_ - 1].elem == id) {  // a paragraph element ends
            Close();
            --depth_;
        }
    }

    // Elem, with the store found once for the walk.
    [[gnu::always_inline]] Element *Node(F_ObjHandleT id) {
        Element *e = KindOf(id) == FO_Element ? store_.Get(id) : nullptr;
        return e && e->doc ? e : nullptr;
    }

    // The places pass's pre-order walk with enter and exit, no recursion; it stops where the tree
    // leaves the paragraphs. The elements the walk went down from are kept, so that it goes back
    // up without looking them up again.
    void Walk(F_ObjHandleT flow, F_ObjHandleT root) {
        static_assert(kPlaces, "the paragraph pass walks with WalkPgfs");
        const uint32_t flowFirst = count_;
        F_ObjHandleT id = root;
        Element *e = Node(id);
        if (!e) return;
        size_t depth = 0;
        Enter(flow, id, *e);
        for (;;) {
            if (!ok_) return;
            if (e->first) {
                if (depth == up_.size()) up_.emplace_back();
                up_[depth++] = e;
                id = e->first;
                e = Node(id);
                Enter(flow, id, *e);
                continue;
            }
            for (;;) {
                Exit(id, *e, flowFirst);
                if (id == root || !depth) return;
                if (e->next) {
                    id = e->next;
                    e = Node(id);
                    Enter(flow, id, *e);
                    break;
                }
                id = e->parent;
                e = up_[--depth];
            }
        }
    }

    // The paragraph pass's walk: Walk with the paragraph pass's Enter and Exit, its state kept in
    // locals (the stores into the paragraphs could otherwise reach the builder's own counters, and
    // every one of them would be read back) and handed back at the end.
    void WalkPgfs(F_ObjHandleT flow, F_ObjHandleT root) {
        F_ObjHandleT id = root;
        Element *e = Node(id);
        if (!e) return;
        uint32_t count = count_;
        size_t entered = 0;
        PgfInfo *p = nullptr;  // the open paragraph
        size_t depth = 0;      // how many of up_ the walk went down from
        size_t open = 0;       // how many of ctx_ are open
        auto openPgf = [&](F_ObjHandleT a, uint32_t seq, const std::string &format, F_ObjHandleT begin,
                           F_ElementLocT at) __attribute__((always_inline)) {
            if (&format != lastFormatName_) {
                lastFormatName_ = &format;
                lastFormat_ = l_.FormatIndex(format);
            }
            p = &l_.pgfs[AddPgf(l_, *ids_, flow, a, seq, lastFormat_, begin, at)];
            ++count;
        };
        for (;;) {
            ++entered;
            if (!e->def) {
                if (!p) {
                    if (open) {
                        Ctx &c = ctx_[open - 1];
                        openPgf(c.elem, ++c.seq, *c.format, c.elem, F_ElementLocT{e->parent, id, 0});
                    } else {
                        openPgf(id, kBodyRun, kBody, 0, F_ElementLocT{e->parent, id, 0});
                    }
                }
                auto len = static_cast<IntT>(Utf8Length(e->text));
                p->segs.push_back(TextSeg{id, p->length, len});
                p->length += len;
            } else if (const std::string &format = FormatOf(*e); !format.empty()) {
                if (open == ctx_.size()) ctx_.emplace_back();
                ctx_[open++] = Ctx{id, &format, 0};
                openPgf(id, 0, format, id, F_ElementLocT{id, e->first, 0});
            }
            if (e->first) {
                if (depth == up_.size()) up_.emplace_back();
                up_[depth++] = e;
                id = e->first;
                e = Node(id);
                continue;
            }
            for (;;) {
                if (e->def && open && ctx_[open - 1].elem == id) {  // a paragraph element ends
                    p = nullptr;
                    --open;
                }
                if (id == root || !depth) {
                    count_ = count;
                    entered_ += entered;
                    cur_ = p ? static_cast<int>(p - l_.pgfs.data()) : -1;
                    depth_ = open;
                    return;
                }
                if (e->next) {
                    id = e->next;
                    e = Node(id);
                    break;
                }
                id = e->parent;
                e = up_[--depth];
            }
        }
    }

    void Frames(F_ObjHandleT flow, uint32_t first, uint32_t last, bool standIn) {
        FlowSpan span;
        span.firstPgf = first;
        span.lastPgf = last;
        span.firstFrame = static_cast<uint32_t>(l_.frames.size());
        const uint32_t per = l_.pgfsPerFrame;
        std::vector<FrameIds> &kept = ids_->frames[flow];
        kept.reserve((last - first) / per + 1);
        for (uint32_t k = 0, p = first; p <= last; ++k, p += per)
            AddFrame(l_, *ids_, kept, flow, k, p, std::min(last, p + per - 1));
        span.lastFrame = static_cast<uint32_t>(l_.frames.size() - 1);
        span.standIn = standIn;
        l_.flows[flow] = std::move(span);
    }

    Document &d_;
    Layout &l_;
    DocIds *ids_;
    decltype(Store::elements) &store_;
    const F_ObjHandleT skip_;
    bool ok_ = true;
    int cur_ = -1;
    uint32_t count_ = 0;  // paragraphs opened so far
    IntT len_ = 0;        // places pass: the length of the open paragraph so far
    uint32_t seg_ = 0;    // places pass: the open paragraph's next run
    size_t entered_ = 0;
    const std::string *lastFormatName_ = nullptr;
    uint32_t lastFormat_ = 0;
    const std::string *format_ = nullptr;
    F_ObjHandleT formatDef_ = 0;
    uint8_t formatMode_ = 0;
    std::vector<Element *> up_;  // the elements the walk went down from (the parents); room kept
    std::vector<Ctx> ctx_;  // the paragraph elements around the walk, innermost last; room kept
    size_t depth_ = 0;      // how many of ctx_ are open
    std::vector<F_ObjHandleT> pending_;
};

// The first element made for any of the document's flow trees (a root comes before what it
// holds): the start of the tables kept by element id.
F_ObjHandleT FirstRoot(const Document &d) {
    F_ObjHandleT firstRoot = 0;
    for (F_ObjHandleT f : d.flows)
        if (host::Flow *fl = FlowOf(f); fl && fl->root && (!firstRoot || CounterOf(fl->root) < CounterOf(firstRoot)))
            firstRoot = fl->root;
    return firstRoot;
}

// Finds the places of the elements of l's document over its paragraphs (skip: see Builder);
// false, with none kept, when the tree does not match them.
bool PlaceElements(Layout &l, F_ObjHandleT skip) {
    Document *d = Doc(l.doc);
    if (!d) return false;
    l.placesMap = DenseIdMap<TextPlaces>{kNoPlaces};
    // Room for as many nodes as the paragraph pass entered.
    const DocIds &ids = AllIds()[d->id];
    if (F_ObjHandleT firstRoot = FirstRoot(*d)) l.placesMap.Reserve(firstRoot, ids.lastElemCount + 16);
    Builder<true> b(*d, l, nullptr, skip);
    for (F_ObjHandleT f : d->flows)
        if (host::Flow *fl = FlowOf(f); fl && !b.Flow(*fl)) {
            l.placesMap = DenseIdMap<TextPlaces>{kNoPlaces};
            return false;
        }
    l.placed = true;
    return true;
}

// Fills l (empty) with the paragraphs, frames and pages of d.
void LayOut(Document &d, Layout &l) {
    l.doc = d.id;
    l.pgfsPerFrame = static_cast<uint32_t>(std::max<IntT>(1, d.pgfsPerPage));
    DocIds &ids = AllIds()[d.id];
    // The paragraph ids are kept flat from the first element made for a flow's tree.
    const F_ObjHandleT firstRoot = FirstRoot(d);
    // A first build reserves room for every id made since the first root (at most the store's
    // elements), and for as many paragraphs (each begins at an element or a text node, or stands
    // in for an empty flow): reserved room is not touched until the walk fills it, and the tables
    // do not move while they fill. A later build reserves a little more than the last one took.
    size_t room = 0, pgfRoom = 0;
    if (ids.lastElemCount) {
        room = ids.lastElemCount + ids.lastElemCount / 8 + 16;
        pgfRoom = ids.lastPgfCount + ids.lastPgfCount / 8 + 16;
    } else if (firstRoot) {
        room = std::min<size_t>(NextCounter(FO_Element) - CounterOf(firstRoot), ElementStoreSize() + 1);
        pgfRoom = room + d.flows.size();
    }
    l.pgfs.reserve(pgfRoom);
    Builder<false> b(d, l, &ids);
    for (F_ObjHandleT f : d.flows)
        if (host::Flow *fl = FlowOf(f)) b.Flow(*fl);
    ids.lastPgfCount = l.pgfs.size();
    ids.lastElemCount = b.Entered();
}

// Takes the ids of l's paragraphs that begin at an element (its first paragraph) or at a text
// node (a run outside paragraph elements) into the document's kept ids, where a later build finds
// them; l is about to be dropped. The other paragraphs keep theirs by key as they are made.
void KeepPgfIds(Document &d, const Layout &l) {
    DocIds &ids = AllIds()[d.id];
    if (const F_ObjHandleT firstRoot = FirstRoot(d))
        ids.firstPgfs.Reserve(firstRoot, ids.lastElemCount + ids.lastElemCount / 8 + 16);
    ids.firstPgfsKept = true;
    // An element's first paragraph comes before the others it begins, in document order; the
    // elements whose first paragraph has no id (the ids used up) keep none.
    std::unordered_set<F_ObjHandleT> noId;
    for (const PgfInfo &p : l.pgfs) {
        const F_ObjHandleT a = p.begin ? p.begin : p.segs.empty() ? 0 : p.segs.front().node;
        if (!a || KindOf(a) != FO_Element) continue;  // a flow's stand-in: kept by key
        if (!p.id) {
            noId.insert(a);
            continue;
        }
        if (!noId.empty() && noId.count(a)) continue;
        if (KeptId &kept = ids.firstPgfs.Put(a); !kept.first) kept = KeptId{p.id, p.unique};
    }
}

// Drops d's layout; the next read builds it again.
void DropLayout(Document &d) {
    if (!d.layout) return;
    KeepPgfIds(d, *d.layout);
    d.layout.reset();
}

}  // namespace

void MarkChanged(F_ObjHandleT doc, bool modified) {
    Document *d = Doc(doc);
    if (!d) return;
    DropLayout(*d);
    if (modified) d->modified = 1;
}

void MarkModified(F_ObjHandleT doc) {
    if (Document *d = Doc(doc)) d->modified = 1;
}

// A retag changes the layout only through the paragraph format the element begins: the same
// format (or none before and after) leaves it as it is; another format renames the paragraphs
// the element begins, which lie within its own span; beginning paragraphs or no longer doing so
// changes the paragraph structure, which is rebuilt.
void LayoutRetagged(Document &d, F_ObjHandleT elem, const Element &e, const std::string &oldFormat) {
    d.modified = 1;
    if (!d.layout) return;
    const std::string &format = ParagraphFormatOf(e);
    if (format == oldFormat) return;
    Layout &l = *d.layout;
    const TextPlaces *at = format.empty() || oldFormat.empty() ? nullptr : l.Places().Find(elem);
    if (!at) {
        DropLayout(d);
        return;
    }
    for (uint32_t p = at->first.pgf; p <= at->second.pgf && p < l.pgfs.size(); ++p)
        if (l.pgfs[p].begin == elem) l.pgfs[p].format = l.FormatIndex(format);
}

// Text inserted into a text node lengthens its paragraph and moves every place after it in that
// paragraph: the node's later segments, the ends of its ancestors, and the elements that follow
// it in document order while they begin in the paragraph. Places in other paragraphs, frames
// and pages stay as they are.
bool LayoutTextInserted(F_ObjHandleT doc, F_ObjHandleT node, IntT off, IntT len) {
    Document *d = Doc(doc);
    if (!d) return false;
    d->modified = 1;
    if (!d->layout) return true;
    Layout &l = *d->layout;
    // The places of a layout not placed yet are found over the tree before the edit.
    if (!l.placed && !PlaceElements(l, node)) return false;
    TextPlaces *places = l.placesMap.Find(node);
    if (!places || places->first.pgf >= l.pgfs.size()) return false;
    const uint32_t pgf = places->first.pgf;
    const IntT at = places->first.off + off;
    PgfInfo &p = l.pgfs[pgf];
    auto seg = std::find_if(p.segs.begin(), p.segs.end(), [node](const TextSeg &s) { return s.node == node; });
    if (seg == p.segs.end()) return false;
    seg->len += len;
    for (auto s = seg + 1; s != p.segs.end(); ++s) s->start += len;
    p.length += len;
    places->second.off += len;
    auto move = [&](TextPos &pos) {
        if (pos.pgf == pgf && pos.off >= at) pos.off += len;
    };
    Element *e = Elem(node);
    for (F_ObjHandleT a = e ? e->parent : 0; a; a = Elem(a) ? Elem(a)->parent : 0)
        if (TextPlaces *pa = l.placesMap.Find(a)) move(pa->second);
    // The next element in document order after x's subtree.
    auto after = [](F_ObjHandleT x) -> F_ObjHandleT {
        for (Element *y = Elem(x); y; y = Elem(y->parent))
            if (y->next) return y->next;
        return 0;
    };
    for (F_ObjHandleT x = after(node); x;) {
        TextPlaces *px = l.placesMap.Find(x);
        if (!px || px->first.pgf > pgf) break;
        move(px->first);
        move(px->second);
        Element *y = Elem(x);
        x = y && y->first ? y->first : after(x);
    }
    return true;
}

namespace {

// Whether a paragraph is open where the layout's walk enters `node`, found by going back in
// document order to the last event that opens or closes one: a text node leaves a paragraph
// open, the end of a paragraph element closes it, the start of one opens it, the flow's start
// has none open. Inline elements change nothing, so the look goes through them; it gives up
// (Unknown) after a few steps over empty inline elements.
enum class WalkState { Open, Closed, Unknown };

WalkState StateBefore(F_ObjHandleT node) {
    constexpr int kSteps = 64;
    F_ObjHandleT x = node;
    for (int steps = 0; steps < kSteps; ++steps) {
        const Element *e = Elem(x);
        if (!e) return WalkState::Unknown;
        if (e->prev) {
            // The last event inside the previous sibling's subtree.
            F_ObjHandleT y = e->prev;
            for (; steps < kSteps; ++steps) {
                const Element *ye = Elem(y);
                if (!ye) return WalkState::Unknown;
                if (!ye->def) return WalkState::Open;
                if (!ParagraphFormatOf(*ye).empty()) return WalkState::Closed;
                if (!ye->last) break;
                y = ye->last;
            }
            x = y;  // an empty inline element: the state before it
            continue;
        }
        if (!e->parent) return WalkState::Closed;
        const Element *p = Elem(e->parent);
        if (!p) return WalkState::Unknown;
        if (!ParagraphFormatOf(*p).empty()) return WalkState::Open;
        x = e->parent;
    }
    return WalkState::Unknown;
}

}  // namespace

// A node added last in its flow's document order is placed as the walk of a rebuild would place
// it, resumed where the flow ended: a paragraph element or a text node with no paragraph open
// adds a paragraph at the flow's end (resolving the elements that were waiting there for a next
// paragraph), and in the last text frame or a new frame and page after it; text goes at the end
// of the open paragraph; an inline element stands at the flow's end. Its ancestors then end at
// the end of the flow's last paragraph. Anything else (a node with something after it, a flow
// that had no paragraph, a new paragraph in a flow other than the layout's last, text that would
// resume a paragraph element's paragraph after a nested one) leaves the layout as it is.
bool LayoutElementAdded(F_ObjHandleT doc, F_ObjHandleT node) {
    Document *d = Doc(doc);
    if (!d) return false;
    d->modified = 1;
    if (!d->layout) return true;
    Layout &l = *d->layout;
    const Element *e = ElemIn(doc, node);
    if (!e || e->first || !e->parent) return false;
    // The places of a layout not placed yet are found over the tree before the edit.
    if (!l.placed && !PlaceElements(l, node)) return false;
    if (l.placesMap.Contains(node)) return false;
    // The node and each of its ancestors come last among their siblings.
    F_ObjHandleT root = node;
    bool inParagraphElement = false;
    for (size_t limit = ElementStoreSize() + 1; limit--;) {
        const Element *x = Elem(root);
        if (!x || x->next) return false;
        if (root != node && !ParagraphFormatOf(*x).empty()) inParagraphElement = true;
        if (!x->parent) break;
        root = x->parent;
    }
    const Element *r = Elem(root);
    auto fl = r && r->flow ? l.flows.find(r->flow) : l.flows.end();
    if (fl == l.flows.end() || fl->second.standIn) return false;
    FlowSpan &span = fl->second;
    const F_ObjHandleT flow = r->flow;
    const WalkState state = StateBefore(node);
    if (state == WalkState::Unknown) return false;
    const bool text = !e->def;
    const std::string &format = ParagraphFormatOf(*e);
    const bool opens = text ? state == WalkState::Closed : !format.empty();
    const bool lastFlow = span.lastPgf + 1 == l.pgfs.size() && span.lastFrame + 1 == l.frames.size();
    if (opens && (!lastFlow || (text && inParagraphElement))) return false;

    if (opens) {
        DocIds &ids = AllIds()[doc];
        uint32_t at = text ? AddPgf(l, ids, flow, node, kBodyRun, l.FormatIndex(kBody), 0, F_ElementLocT{e->parent, node, 0})
                           : AddPgf(l, ids, flow, node, 0, l.FormatIndex(format), node, F_ElementLocT{node, 0, 0});
        for (F_ObjHandleT w : span.waiting)
            if (TextPlaces *wp = l.placesMap.Find(w)) wp->first = TextPos{at, 0};
        span.waiting.clear();
        const uint32_t per = l.pgfsPerFrame;
        const uint32_t k = (at - span.firstPgf) / per;
        if ((at - span.firstPgf) % per) {
            l.frames[span.lastFrame].lastPgf = at;
        } else {
            span.lastFrame = AddFrame(l, ids, ids.frames[flow], flow, k, at, at);
        }
        span.lastPgf = at;
    }
    PgfInfo &last = l.pgfs[span.lastPgf];
    const TextPos start{span.lastPgf, last.length};
    if (text) {
        auto len = static_cast<IntT>(Utf8Length(e->text));
        last.segs.push_back(TextSeg{node, last.length, len});
        last.length += len;
    } else if (format.empty() && state == WalkState::Closed) {
        span.waiting.push_back(node);  // an inline element after the last paragraph
    }
    const TextPos end{span.lastPgf, last.length};
    l.placesMap.Put(node) = {start, end};
    for (F_ObjHandleT a = e->parent; a; a = Elem(a)->parent)
        if (TextPlaces *pa = l.placesMap.Find(a)) pa->second = end;
    return true;
}

unsigned long LayoutParagraphsLaidOut() { return ParagraphsLaidOut; }

bool NextPgfInFlowFound(F_ObjHandleT doc, F_ObjHandleT pgf, F_ObjHandleT &next) {
    Layout *l = LayoutOf(doc);
    uint32_t i = 0;
    if (!l || !l->FindPgf(pgf, i)) return false;
    next = NextPgfInFlowAt(*l, i);
    return true;
}

void ForgetDerived(Document &d) {
    d.layout.reset();
    AllIds().erase(d.id);
}

void ResetDerived() { AllIds().clear(); }

Layout *BuildLayout(Document &d) {
    auto l = std::make_shared<Layout>();
    LayOut(d, *l);
    d.layout = std::move(l);
    return d.layout.get();
}

void Layout::IndexPgfs() const {
    // Kept flat from the least id: the ids of a first build come one after another.
    F_ObjHandleT least = 0;
    for (const PgfInfo &p : pgfs)
        if (p.id && (!least || p.id < least)) least = p.id;
    if (least) pgfIndex_.Reserve(least, pgfs.size());
    for (uint32_t i = 0; i < pgfs.size(); ++i)
        if (pgfs[i].id) pgfIndex_.Put(pgfs[i].id) = i;
    indexed_ = true;
}

void Layout::IndexAddedPgf(uint32_t i) {
    if (pgfs[i].id) pgfIndex_.Put(pgfs[i].id) = i;
}

DenseIdMap<TextPlaces> &Layout::Places() {
    // A tree changed behind the layout's back: the layout is made again in place.
    if (!placed && !PlaceElements(*this, 0)) {
        if (Document *d = Doc(doc)) {
            KeepPgfIds(*d, *this);
            Layout fresh;
            LayOut(*d, fresh);
            PlaceElements(fresh, 0);
            *this = std::move(fresh);
        }
    }
    return placesMap;
}

IntT BoundedOffset(const Layout &l, uint32_t pgf, IntT offset, bool allowEndMark) {
    IntT len = l.pgfs[pgf].length;
    IntT max = allowEndMark ? len + 1 : len;
    return offset == FV_OBJ_END_OFFSET ? max : std::clamp<IntT>(offset, 0, max);
}

bool ResolveTextLoc(Layout &l, const F_TextLocT &loc, bool allowEndMark, TextPos &out) {
    uint32_t i = 0;
    if (!l.FindPgf(loc.objId, i)) return false;
    out = TextPos{i, BoundedOffset(l, i, loc.offset, allowEndMark)};
    return true;
}

bool ElementLocToText(F_ObjHandleT doc, const F_ElementLocT &loc, F_TextLocT &out) {
    Layout *l = LayoutOf(doc);
    if (!l) return false;
    TextPos pos;
    if (loc.childId) {
        Element *c = ElemIn(doc, loc.childId);
        if (!c || (loc.parentId && c->parent != loc.parentId)) return false;
        const TextPlaces *places = l->Places().Find(loc.childId);
        if (!places) return false;
        pos = places->first;
        if (!c->def) {
            IntT len = places->second.off - pos.off;
            pos.off += loc.offset == FV_OBJ_END_OFFSET ? len : std::clamp<IntT>(loc.offset, 0, len);
        }
    } else {
        if (!ElemIn(doc, loc.parentId)) return false;
        const TextPlaces *places = l->Places().Find(loc.parentId);
        if (!places) return false;
        pos = places->second;
    }
    out = F_TextLocT{l->pgfs[pos.pgf].id, pos.off};
    return true;
}

bool TextLocToElement(F_ObjHandleT doc, const F_TextLocT &loc, F_ElementLocT &out) {
    Layout *l = LayoutOf(doc);
    TextPos pos;
    if (!l || !ResolveTextLoc(*l, loc, false, pos)) return false;
    const PgfInfo &p = l->pgfs[pos.pgf];
    // The node holding the character before the offset; at the paragraph start, the first node.
    auto it = std::lower_bound(p.segs.begin(), p.segs.end(), pos.off,
                               [](const TextSeg &s, IntT off) { return s.start + s.len < off; });
    while (it != p.segs.end() && it->len == 0 && it + 1 != p.segs.end() && (it + 1)->start == pos.off) ++it;
    if (it == p.segs.end()) {
        out = p.segs.EmptyPlace();
        return true;
    }
    Element *t = Elem(it->node);
    out = F_ElementLocT{t ? t->parent : 0, it->node, pos.off - it->start};
    return true;
}

const TextPlaces *ElementTextPlaces(F_ObjHandleT doc, F_ObjHandleT elem, Layout *&layout) {
    layout = LayoutOf(doc);
    if (!layout || !ElemIn(doc, elem)) return nullptr;
    return layout->Places().Find(elem);
}

bool ElementTextRange(F_ObjHandleT doc, F_ObjHandleT elem, F_TextRangeT &out) {
    Layout *l = nullptr;
    const TextPlaces *places = ElementTextPlaces(doc, elem, l);
    if (!places) return false;
    auto [s, e] = *places;
    out = F_TextRangeT{{l->pgfs[s.pgf].id, s.off}, {l->pgfs[e.pgf].id, e.off}};
    return true;
}

// ---- selection ------------------------------------------------------------------------------

[[gnu::always_inline]] static inline bool LocValid(F_ObjHandleT doc, const F_ElementLocT &loc) {
    Element *p = loc.parentId ? ElemIn(doc, loc.parentId) : nullptr;
    if (loc.parentId && !p) return false;
    if (!loc.childId) return true;
    Element *c = ElemIn(doc, loc.childId);
    if (!c) return false;
    return loc.parentId ? c->parent == loc.parentId : (c->parent == 0 && c->flow != 0);
}

static bool RangeZero(const F_ElementRangeT &r) {
    return !r.beg.parentId && !r.beg.childId && !r.end.parentId && !r.end.childId;
}

F_ElementRangeT SelectionElements(Document &d) {
    const Selection &s = d.sel;
    F_ElementRangeT out{};
    if (!s.textView) {
        if (LocValid(d.id, s.er.beg) && LocValid(d.id, s.er.end)) out = s.er;
        // The end of a childless element's content reads back as offset 0.
        for (F_ElementLocT *l : {&out.beg, &out.end})
            if (!l->childId && l->offset == FV_OBJ_END_OFFSET && l->parentId && !Elem(l->parentId)->first) l->offset = 0;
        return out;
    }
    if (!s.tr.beg.objId) return out;
    F_ElementRangeT r{};
    if (TextLocToElement(d.id, s.tr.beg, r.beg) && TextLocToElement(d.id, s.tr.end, r.end)) out = r;
    return out;
}

F_TextRangeT SelectionText(Document &d) {
    const Selection &s = d.sel;
    F_TextRangeT out{};
    Layout *l = LayoutOf(d.id);
    if (!l) return out;
    if (s.textView) {
        TextPos b, e;
        if (!ResolveTextLoc(*l, s.tr.beg, false, b) || !ResolveTextLoc(*l, s.tr.end, true, e)) return out;
        return F_TextRangeT{{l->pgfs[b.pgf].id, b.off}, {l->pgfs[e.pgf].id, e.off}};
    }
    F_ElementRangeT er = SelectionElements(d);
    if (RangeZero(er)) return out;
    F_TextRangeT r{};
    bool ok = ElementLocToText(d.id, er.beg, r.beg);
    if (!er.end.parentId && !er.end.childId && !er.beg.parentId && er.beg.childId) {
        // {0, E, 0}..{0, 0, 0}: the whole highest-level element
        F_TextRangeT whole{};
        ok = ok && ElementTextRange(d.id, er.beg.childId, whole);
        r.end = whole.end;
    } else {
        ok = ok && ElementLocToText(d.id, er.end, r.end);
    }
    return ok ? r : out;
}

void SelectInsertionPoint(Document &d, F_ObjHandleT parent, F_ObjHandleT child) {
    d.sel.textView = false;
    d.sel.er.beg = d.sel.er.end = F_ElementLocT{parent, child, 0};
}

namespace {
unsigned long SelectionWrites = 0;
}  // namespace

unsigned long ElementSelectionWrites() { return SelectionWrites; }

bool SetElementSelection(Document &d, const F_ElementRangeT &r) {
    if (!RangeZero(r) && (!LocValid(d.id, r.beg) || !LocValid(d.id, r.end))) return Fail(FE_BadElementLoc);
    d.sel.textView = false;
    d.sel.er = r;
    ++SelectionWrites;
    return true;
}

// ---- properties -----------------------------------------------------------------------------

bool PgfValid(F_ObjHandleT doc, F_ObjHandleT obj) {
    Layout *l = LayoutOf(doc);
    uint32_t i = 0;
    return l && l->FindPgf(obj, i);
}

namespace {

const PgfInfo *PgfOf(F_ObjHandleT doc, F_ObjHandleT pgf, Layout **lp = nullptr) {
    Layout *l = LayoutOf(doc);
    uint32_t i = 0;
    if (!l || !l->FindPgf(pgf, i)) return nullptr;
    if (lp) *lp = l;
    return &l->pgfs[i];
}

bool InLayout(F_ObjHandleT doc, F_ObjHandleT obj, DenseIdMap<uint32_t> Layout::*index) {
    Layout *l = LayoutOf(doc);
    return l && (l->*index).Contains(obj);
}

bool FindPgf(const Layout &l, F_ObjHandleT obj, uint32_t &i) { return l.FindPgf(obj, i); }

bool FindFrame(const Layout &l, F_ObjHandleT obj, uint32_t &i) {
    const uint32_t *at = l.frameIndex.Find(obj);
    if (at) i = *at;
    return at != nullptr;
}

bool FindPage(const Layout &l, F_ObjHandleT obj, uint32_t &i) {
    const uint32_t *at = l.pageIndex.Find(obj);
    if (at) i = *at;
    return at != nullptr;
}

// Registers an id property of a derived kind computed from the layout and the object's index
// (found by Find), read as a plain integer.
using IndexFinder = bool (*)(const Layout &, F_ObjHandleT, uint32_t &);
using Derived = F_ObjHandleT (*)(Layout &, uint32_t);

template <IndexFinder Find, Derived F>
void DerivedId(int kind, int number) {
    RegisterIntProperty(
        kind, number, PropType::Id,
        [](F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
            Layout *l = LayoutOf(doc);
            uint32_t i = 0;
            if (!l || !Find(*l, obj, i)) return false;
            out = static_cast<IntT>(F(*l, i));
            return true;
        },
        true);
}

F_ObjHandleT NextPgfInFlow(Layout &l, uint32_t i) { return NextPgfInFlowAt(l, i); }
F_ObjHandleT NextPgfInDoc(Layout &l, uint32_t i) { return i + 1 < l.pgfs.size() ? l.pgfs[i + 1].id : 0; }
F_ObjHandleT PrevPgfInFlow(Layout &l, uint32_t i) {
    return i > 0 && l.pgfs[i - 1].flow == l.pgfs[i].flow ? l.pgfs[i - 1].id : 0;
}
F_ObjHandleT PgfFrame(Layout &l, uint32_t i) {
    const uint32_t f = l.FrameOf(i);
    return f < l.frames.size() ? l.frames[f].id : 0;
}
// The table cell that holds the paragraph (0 outside tables).
F_ObjHandleT PgfCell(Layout &l, uint32_t i) {
    const PgfInfo &p = l.pgfs[i];
    F_ObjHandleT e = p.begin ? p.begin : !p.segs.empty() ? Elem(p.segs.front().node)->parent : p.segs.EmptyPlace().parentId;
    for (size_t steps = 0; e && steps < TheStore().elements.Size(); ++steps) {
        const Element *x = Elem(e);
        if (!x) break;
        if (const ElementDef *d = Def(x->def); d && d->type == FV_FO_TBL_CELL) return TableObjectOf(x->doc, e);
        e = x->parent;
    }
    return F_ObjHandleT(0);
}
F_ObjHandleT FrameFirstPgf(Layout &l, uint32_t i) { return l.pgfs[l.frames[i].firstPgf].id; }
F_ObjHandleT FrameLastPgf(Layout &l, uint32_t i) { return l.pgfs[l.frames[i].lastPgf].id; }
F_ObjHandleT NextFrameInFlow(Layout &l, uint32_t i) {
    return i + 1 < l.frames.size() && l.frames[i + 1].flow == l.frames[i].flow ? l.frames[i + 1].id : 0;
}
F_ObjHandleT FrameItself(Layout &l, uint32_t i) { return l.frames[i].id; }
F_ObjHandleT FramePage(Layout &l, uint32_t i) { return l.pages[l.frames[i].page].id; }
F_ObjHandleT NoFrameParent(Layout &, uint32_t) { return 0; }
F_ObjHandleT NextPage(Layout &l, uint32_t i) { return i + 1 < l.pages.size() ? l.pages[i + 1].id : 0; }

void RegisterParagraphs() {
    RegisterKind(FO_Pgf, PgfValid);
    RegisterKind(FO_TextFrame,
                 [](F_ObjHandleT doc, F_ObjHandleT obj) { return InLayout(doc, obj, &Layout::frameIndex); });
    RegisterKind(FO_BodyPage, [](F_ObjHandleT doc, F_ObjHandleT obj) { return InLayout(doc, obj, &Layout::pageIndex); });

    RegisterProperty(FO_Pgf, FP_PgfFmtName, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        Layout *l = nullptr;
        const PgfInfo *p = PgfOf(doc, obj, &l);
        if (p) out.s = l->FormatOf(*p);
        return p != nullptr;
    });
    RegisterProperty(FO_Pgf, FP_Unique, PropType::Int, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        const PgfInfo *p = PgfOf(doc, obj);
        if (p) out.i = p->unique;
        return p != nullptr;
    });
    // next paragraph of the flow / of the document, previous of the flow
    DerivedId<FindPgf, NextPgfInFlow>(FO_Pgf, FP_NextPgfInFlow);
    DerivedId<FindPgf, NextPgfInDoc>(FO_Pgf, FP_NextPgfInDoc);
    DerivedId<FindPgf, PrevPgfInFlow>(FO_Pgf, FP_PrevPgfInFlow);
    DerivedId<FindPgf, PgfFrame>(FO_Pgf, FP_InTextFrame);
    DerivedId<FindPgf, PgfCell>(FO_Pgf, FP_InCell);
    RegisterStoredProperty(FO_Pgf, FP_ChangeBar, PropType::Int);
    RegisterStoredProperty(FO_Pgf, FP_PgfFlag, PropType::Int);
    RegisterStoredProperty(FO_Pgf, FP_PgfNumString, PropType::String);

    DerivedId<FindFrame, FrameFirstPgf>(FO_TextFrame, FP_FirstPgf);
    DerivedId<FindFrame, FrameLastPgf>(FO_TextFrame, FP_LastPgf);
    DerivedId<FindFrame, NextFrameInFlow>(FO_TextFrame, FP_NextTextFrameInFlow);
    DerivedId<FindFrame, FrameItself>(FO_TextFrame, FP_FramePredecessor);
    DerivedId<FindFrame, FramePage>(FO_TextFrame, FP_PageFramePage);
    DerivedId<FindFrame, NoFrameParent>(FO_TextFrame, FP_FrameParent);

    auto pages = &Layout::pageIndex;
    RegisterProperty(FO_BodyPage, FP_PageNum, PropType::Int, [pages](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        Layout *l = LayoutOf(doc);
        if (!l) return false;
        const uint32_t *at = (l->*pages).Find(obj);
        if (!at) return false;
        out.i = static_cast<IntT>(*at);
        return true;
    });
    RegisterProperty(FO_BodyPage, FP_PageNumString, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        PropValue n;
        if (!GetProperty(doc, obj, FP_PageNum, n)) return false;
        out.s = std::to_string(n.i + 1);
        return true;
    });
    DerivedId<FindPage, NextPage>(FO_BodyPage, FP_PageNext);
    RegisterProperty(FO_BodyPage, FP_MasterPage, PropType::String, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
        out.s = "Right";
        return true;
    });

    // Flow and document entry points into the layout.
    auto flowSpan = [](F_ObjHandleT doc, F_ObjHandleT flow, const FlowSpan **span, Layout **lp) {
        Layout *l = LayoutOf(doc);
        if (!l) return false;
        auto it = l->flows.find(flow);
        if (it == l->flows.end()) return false;
        *span = &it->second;
        *lp = l;
        return true;
    };
    RegisterProperty(FO_Flow, FP_FirstTextFrameInFlow, PropType::Id, [flowSpan](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        const FlowSpan *s;
        Layout *l;
        if (!flowSpan(doc, obj, &s, &l)) return false;
        out.i = static_cast<IntT>(l->frames[s->firstFrame].id);
        return true;
    });
    RegisterProperty(FO_Flow, FP_LastTextFrameInFlow, PropType::Id, [flowSpan](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        const FlowSpan *s;
        Layout *l;
        if (!flowSpan(doc, obj, &s, &l)) return false;
        out.i = static_cast<IntT>(l->frames[s->lastFrame].id);
        return true;
    });
    RegisterProperty(FO_Doc, FP_FirstPgfInDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        Layout *l = LayoutOf(obj);
        if (!l) return false;
        out.i = l->pgfs.empty() ? 0 : static_cast<IntT>(l->pgfs.front().id);
        return true;
    });
    RegisterProperty(FO_Doc, FP_FirstBodyPageInDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        Layout *l = LayoutOf(obj);
        if (!l) return false;
        out.i = l->pages.empty() ? 0 : static_cast<IntT>(l->pages.front().id);
        return true;
    });
    for (int n : {FP_FirstMasterPageInDoc, FP_FirstRefPageInDoc})
        RegisterProperty(FO_Doc, n, PropType::Id, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
            out.i = 0;
            return true;
        });

    RegisterProperty(FO_Element, FP_TextRange, PropType::TextRange, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        return ElementTextRange(doc, obj, out.tr);
    });
}

void RegisterSelection() {
    RegisterProperty(
        FO_Doc, FP_ElementSelection, PropType::ElementRange,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.er = SelectionElements(*Doc(obj));
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) { return SetElementSelection(*Doc(obj), in.er); });
    RegisterProperty(
        FO_Doc, FP_TextSelection, PropType::TextRange,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.tr = SelectionText(*Doc(obj));
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            Document &d = *Doc(obj);
            if (!in.tr.beg.objId && !in.tr.end.objId) {
                d.sel = Selection{};
                return true;
            }
            Layout *l = LayoutOf(obj);
            TextPos b, e;
            if (!ResolveTextLoc(*l, in.tr.beg, false, b) || !ResolveTextLoc(*l, in.tr.end, true, e))
                return Fail(FE_BadParameter);
            d.sel.textView = true;
            d.sel.tr = in.tr;
            return true;
        });
}

}  // namespace

void RegisterLayoutProperties() {
    RegisterParagraphs();
    RegisterSelection();
}

}  // namespace host
