// Text calls: location conversions, text items of a range or an object, adding text.
#include <cstring>

#include "model_internal.h"
#include "model_layout.h"
#include "records.h"
#include "text_props.h"

namespace host {
F_TextItemsT TextLineItems(F_ObjHandleT doc, F_ObjHandleT line, IntT flags);  // graphics.cpp
}

namespace host {

namespace {

struct Item {
    IntT offset;
    IntT type;
    std::string text;
    IntT ldata = 0;
    F_ObjHandleT idata = 0;
};

// Where the items of a read go. Text(offset, piece) hands on a piece of a string item (its first
// character at that paragraph offset); End() ends the string item being gathered;
// Other(offset, type, ldata, idata) hands on an item that is not a string (after the string
// before it has ended).
//
// ListSink gathers pieces into whole string items for the item lists; PieceSink hands each piece
// on as it lies in the document.
struct ListSink {
    std::vector<Item> &out;
    std::string run;
    IntT runStart = 0;
    void Text(IntT at, std::string_view piece) {
        if (run.empty()) runStart = at;
        run.append(piece);
    }
    void End() {
        if (!run.empty()) out.push_back(Item{runStart, FTI_String, std::move(run)});
        run.clear();
    }
    void Other(IntT offset, IntT type, IntT ldata, F_ObjHandleT idata) {
        End();
        out.push_back(Item{offset, type, {}, ldata, idata});
    }
};

struct PieceSink {
    F_TextPieceFnT fn;
    PtrT arg;
    IntT stopped = 0;
    bool open = false;  // a string item has begun
    void Text(IntT at, std::string_view piece) {
        if (stopped || piece.empty()) return;
        F_TextPieceT t{at, FTI_String, piece.data(), static_cast<UIntT>(piece.size()), 0, open ? 1 : 0};
        open = true;
        stopped = fn(&t, arg);
    }
    void End() { open = false; }
    void Other(IntT offset, IntT type, IntT ldata, F_ObjHandleT idata) {
        open = false;
        if (stopped) return;
        F_TextPieceT t{offset, type, nullptr, 0, idata, ldata};
        stopped = fn(&t, arg);
    }
};

// The part of a text segment's node text between paragraph offsets lo and hi, its first character
// at paragraph offset `at`. False when the segment lies outside or its node is gone.
inline bool SegText(const TextSeg &s, IntT lo, IntT hi, std::string_view &text, IntT &at) {
    if (s.start + s.len <= lo || s.start >= hi) return false;
    const Element *t = Elem(s.node);
    if (!t) return false;
    text = t->text;
    at = std::max(lo, s.start);
    const size_t i = at == s.start ? 0 : Utf8Offset(text, static_cast<size_t>(at - s.start));
    const size_t e = hi >= s.start + s.len
                         ? text.size()
                         : Utf8Offset(text, static_cast<size_t>(std::min(hi, s.start + s.len) - s.start));
    text = text.substr(i, e - i);
    return true;
}

// The string and line-end items of text whose first character lies at paragraph offset `at`:
// spans between forced line breaks, found with a byte search.
template <class Sink>
void PlainItems(std::string_view text, IntT at, IntT flags, Sink &sink) {
    const bool strings = (flags & FTI_String) != 0;
    while (!text.empty()) {
        const void *nl = std::memchr(text.data(), '\n', text.size());
        const size_t stop = nl ? static_cast<size_t>(static_cast<const char *>(nl) - text.data()) : text.size();
        if (strings && stop) sink.Text(at, text.substr(0, stop));
        if (!nl) return;
        at += static_cast<IntT>(Utf8Length(text.substr(0, stop)));
        sink.End();
        if (flags & FTI_LineEnd) sink.Other(at, FTI_LineEnd, 1, 0);
        text.remove_prefix(stop + 1);
        ++at;
    }
}

// TextItems with FTI_CharPropsChange: also an item wherever the character properties differ
// from those of the character before (within the range), where the string items break as well.
template <class Sink>
[[gnu::noinline]] void PropItems(const PgfInfo &p, IntT lo, IntT hi, IntT flags, Sink &sink) {
    static const TextProps kPlain;
    const bool strings = (flags & FTI_String) != 0;
    const TextProps *prevProps = nullptr;
    for (const TextSeg &s : p.segs) {
        std::string_view text;
        IntT at = 0;  // paragraph offset of the character at i
        if (!SegText(s, lo, hi, text, at)) continue;
        size_t i = 0;
        const size_t e = text.size();
        // Characters between line breaks and property changes go on a span at a time.
        size_t spanStart = i;
        IntT spanAt = at;
        auto takeSpan = [&] {
            if (i != spanStart && strings) sink.Text(spanAt, text.substr(spanStart, i - spanStart));
        };
        // The node's property runs, followed along with the characters.
        const std::vector<PropRun> &runs = TextRuns(s.node);
        size_t ri = 0;
        IntT runEnd = runs.empty() ? 0 : runs[0].len;
        while (i < e) {
            IntT nodeOff = at - s.start;
            while (!runs.empty() && nodeOff >= runEnd && ri + 1 < runs.size()) runEnd += runs[++ri].len;
            const TextProps *cur = runs.empty() ? &kPlain : &runs[ri].props;
            if (prevProps && cur != prevProps && !(*cur == *prevProps)) {
                takeSpan();
                sink.Other(at, FTI_CharPropsChange, 0, 0);
                spanStart = i;
                spanAt = at;
            }
            prevProps = cur;
            auto lead = static_cast<unsigned char>(text[i]);
            size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            n = std::min(n, e - i);
            if (lead == '\n') {  // a forced line break
                takeSpan();
                sink.End();
                if (flags & FTI_LineEnd) sink.Other(at, FTI_LineEnd, 1, 0);
                spanStart = i + n;
                spanAt = at + 1;
            }
            i += n;
            ++at;
        }
        takeSpan();
    }
    sink.End();
}

// The text of paragraph p from character lo up to hi (exclusive), as string and line-end items;
// with FTI_CharPropsChange also the property changes (PropItems).
template <class Sink>
void TextItems(const PgfInfo &p, IntT lo, IntT hi, IntT flags, Sink &sink) {
    if (flags & FTI_CharPropsChange) return PropItems(p, lo, hi, flags, sink);
    for (const TextSeg &s : p.segs) {
        std::string_view text;
        IntT at = 0;
        if (SegText(s, lo, hi, text, at)) PlainItems(text, at, flags, sink);
    }
    sink.End();
}

F_TextItemsT NewTextItems(const std::vector<Item> &items) {
    F_TextItemsT out;
    out.len = static_cast<UIntT>(items.size());
    out.val = static_cast<F_TextItemT *>(F_Alloc(out.len * sizeof(F_TextItemT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) {
        F_TextItemT &o = out.val[i];
        o.offset = items[i].offset;
        o.dataType = items[i].type;
        o.sdata = items[i].type == FTI_String ? NewString(items[i].text) : nullptr;
        o.idata = items[i].idata;
        o.ldata = items[i].ldata;
    }
    return out;
}

// Items of paragraph p from character lo up to hi (p.length + 1: with its end).
template <class Sink>
void PgfItems(const PgfInfo &p, IntT lo, IntT hi, IntT flags, Sink &sink) {
    if ((flags & FTI_PgfBegin) && lo == 0) sink.Other(0, FTI_PgfBegin, 0, p.id);
    TextItems(p, lo, std::min(hi, p.length), flags, sink);
    if ((flags & FTI_PgfEnd) && hi > p.length) sink.Other(p.length, FTI_PgfEnd, 0, p.id);
}

// Items of the asked types between two resolved places, in document order, into the sink.
template <class Sink>
void RangeItems(Layout &l, TextPos b, TextPos e, IntT flags, Sink &sink) {
    if (b.pgf > e.pgf || (b.pgf == e.pgf && b.off > e.off)) return;
    for (uint32_t i = b.pgf; i <= e.pgf; ++i) {
        const PgfInfo &p = l.pgfs[i];
        PgfItems(p, i == b.pgf ? b.off : 0, i == e.pgf ? e.off : p.length + 1, flags, sink);
    }
}

std::vector<Item> RangeItems(Layout &l, TextPos b, TextPos e, IntT flags) {
    std::vector<Item> out;
    out.reserve(4);  // most ranges give a string and a paragraph end
    ListSink sink{out, {}, 0};
    RangeItems(l, b, e, flags, sink);
    return out;
}

// The places an object's text lies between: a paragraph's whole text, or an element's range
// bounded as a range read bounds its ends. False (FA_errno set) when it has none.
bool ObjectTextPlaces(F_ObjHandleT docId, F_ObjHandleT objId, Layout *&l, TextPos &b, TextPos &e) {
    if (KindOf(objId) == FO_Pgf) {
        l = LayoutOf(docId);
        if (!l) return Fail(FE_BadDocId);
        uint32_t i = 0;
        if (!l->FindPgf(objId, i)) return Fail(FE_BadParameter);
        b = TextPos{i, 0};
        e = TextPos{i, l->pgfs[i].length + 1};  // just after the paragraph's end
        return true;
    }
    const TextPlaces *places = ElementTextPlaces(docId, objId, l);
    if (!places) return Fail(FE_BadObjId);
    b = places->first;
    e = places->second;
    b.off = BoundedOffset(*l, b.pgf, b.off, false);
    e.off = BoundedOffset(*l, e.pgf, e.off, true);
    return true;
}

}  // namespace

// Inserts text at an element location inside or beside a text node (making one where there is
// none). Returns the text node and the character offset after the insertion.
bool InsertTextAt(F_ObjHandleT doc, const F_ElementLocT &at, std::string_view text, F_ObjHandleT &node, IntT &end) {
    Element *c = at.childId ? ElemIn(doc, at.childId) : nullptr;
    if (c && !c->def) {
        IntT len = static_cast<IntT>(Utf8Length(c->text));
        IntT off = at.offset == FV_OBJ_END_OFFSET ? len : std::clamp<IntT>(at.offset, 0, len);
        c->text.insert(Utf8Offset(c->text, static_cast<size_t>(off)), text);
        TextRunsInserted(at.childId, off, static_cast<IntT>(Utf8Length(text)));
        node = at.childId;
        end = off + static_cast<IntT>(Utf8Length(text));
        return true;
    }
    Element *p = ElemIn(doc, at.parentId);
    if (!p || !p->def || (at.childId && !c)) return Fail(FE_BadElementLoc);
    // Join the text node before the place when there is one.
    F_ObjHandleT before = at.childId ? c->prev : p->last;
    if (Element *b = before ? Elem(before) : nullptr; b && !b->def) {
        end = static_cast<IntT>(Utf8Length(b->text) + Utf8Length(text));
        TextRunsInserted(before, static_cast<IntT>(Utf8Length(b->text)), static_cast<IntT>(Utf8Length(text)));
        b->text.append(text);
        node = before;
        return true;
    }
    node = NewElement(doc, 0);
    if (!node) return false;
    Elem(node)->text.assign(text);
    LinkChild(at.parentId, node, at.childId);
    end = static_cast<IntT>(Utf8Length(text));
    return true;
}

}  // namespace host

using namespace host;

extern "C" {

F_TextLocT F_ApiElementLocToTextLoc(F_ObjHandleT docId, const F_ElementLocT *loc) {
    F_TextLocT out{};
    if (!loc || !ElementLocToText(docId, *loc, out)) {
        Fail(FE_BadElementLoc);
        return F_TextLocT{};
    }
    return out;
}

F_ElementLocT F_ApiTextLocToElementLoc(F_ObjHandleT docId, const F_TextLocT *loc) {
    F_ElementLocT out{};
    if (!loc || !TextLocToElement(docId, *loc, out)) {
        Fail(FE_BadParameter);
        return F_ElementLocT{};
    }
    return out;
}

F_TextItemsT F_ApiGetTextForRange(F_ObjHandleT docId, const F_TextRangeT *range, IntT flags) {
    Layout *l = LayoutOf(docId);
    TextPos b, e;
    if (!l || !range || !ResolveTextLoc(*l, range->beg, false, b) || !ResolveTextLoc(*l, range->end, true, e)) {
        Fail(l ? FE_BadParameter : FE_BadDocId);
        return NewTextItems({});
    }
    return NewTextItems(RangeItems(*l, b, e, flags));
}

F_TextItemsT F_ApiGetText(F_ObjHandleT docId, F_ObjHandleT objId, IntT flags) {
    if (KindOf(objId) == FO_TextLine) return TextLineItems(docId, objId, flags);
    Layout *l = nullptr;
    TextPos b, e;
    if (!ObjectTextPlaces(docId, objId, l, b, e)) return NewTextItems({});
    return NewTextItems(RangeItems(*l, b, e, flags));
}

IntT F_ApiReadText(F_ObjHandleT docId, F_ObjHandleT objId, IntT flags, F_TextPieceFnT fn, PtrT arg) {
    if (!fn) {
        Fail(FE_BadParameter);
        return -1;
    }
    if (KindOf(objId) == FO_TextLine) {
        // A text line's one string, read from its list.
        if (!ObjectValid(docId, objId)) {
            Fail(FE_BadObjId);
            return -1;
        }
        F_TextItemsT items = TextLineItems(docId, objId, flags);
        IntT stopped = 0;
        for (UIntT k = 0; k < items.len && !stopped; ++k) {
            const F_TextItemT &it = items.val[k];
            F_TextPieceT t{it.offset, it.dataType, it.sdata, it.sdata ? static_cast<UIntT>(std::strlen(it.sdata)) : 0,
                           it.idata, it.ldata};
            stopped = fn(&t, arg);
        }
        F_ApiDeallocateTextItems(&items);
        return stopped;
    }
    Layout *l = nullptr;
    TextPos b, e;
    if (!ObjectTextPlaces(docId, objId, l, b, e)) return -1;
    PieceSink sink{fn, arg};
    if (b.pgf == e.pgf && b.off <= e.off)  // a paragraph's text, read once a paragraph by walks over a flow
        PgfItems(l->pgfs[b.pgf], b.off, e.off, flags, sink);
    else
        RangeItems(*l, b, e, flags, sink);
    return sink.stopped;
}

F_TextLocT F_ApiAddText(F_ObjHandleT docId, const F_TextLocT *loc, ConStringT text) {
    Layout *l = LayoutOf(docId);
    TextPos pos;
    if (!l || !loc || !text || !ResolveTextLoc(*l, *loc, false, pos)) {
        Fail(l ? FE_BadParameter : FE_BadDocId);
        return F_TextLocT{};
    }
    F_ObjHandleT pgf = l->pgfs[pos.pgf].id;
    F_ElementLocT at{};
    if (!TextLocToElement(docId, F_TextLocT{pgf, pos.off}, at) || (!at.parentId && !at.childId)) {
        Fail(FE_NotInStructure);  // a flow without elements holds no text
        return F_TextLocT{};
    }
    // A text location is ambiguous at the edge of an element (inside an empty element or before
    // it); the insertion point of the element selection, when it stands there, decides.
    if (Document *d = Doc(docId); d && !d->sel.textView) {
        F_ElementRangeT sel = SelectionElements(*d);
        F_TextLocT selText{};
        if (sel.beg.parentId && sel.beg.parentId == sel.end.parentId && sel.beg.childId == sel.end.childId &&
            sel.beg.offset == sel.end.offset && ElementLocToText(docId, sel.beg, selText) && selText.objId == pgf &&
            selText.offset == pos.off)
            at = sel.beg;
    }
    F_ObjHandleT node = 0;
    IntT end = 0;
    if (!InsertTextAt(docId, at, text, node, end)) return F_TextLocT{};
    auto len = static_cast<IntT>(Utf8Length(text));
    // The text went into a text node the layout places, or into a new one.
    if (!LayoutTextInserted(docId, node, end - len, len) && !LayoutElementAdded(docId, node)) MarkChanged(docId);
    F_TextLocT out{};
    ElementLocToText(docId, F_ElementLocT{Elem(node)->parent, node, end}, out);
    return out;
}

}  // extern "C"
