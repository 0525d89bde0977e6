// Pieces shared by the host's editing files (see edit_support.h).
#include "edit_support.h"

#include <algorithm>
#include <unordered_set>

namespace host {

IntT TextLength(const Element &e) { return static_cast<IntT>(Utf8Length(e.text)); }

IntT ClampOffset(const Element &e, IntT off) {
    IntT len = TextLength(e);
    if (off == FV_OBJ_END_OFFSET) return len;
    return std::clamp<IntT>(off, 0, len);
}

bool InSubtree(F_ObjHandleT e, F_ObjHandleT top) {
    size_t limit = ElementStoreSize() + 1;
    for (; e && limit--; e = Elem(e) ? Elem(e)->parent : 0)
        if (e == top) return true;
    return false;
}

void JoinTextAround(F_ObjHandleT id) {
    Element *e = Elem(id);
    if (!e || e->def) return;
    F_ObjHandleT prev = e->prev;
    if (Element *p = prev ? Elem(prev) : nullptr; p && !p->def) {
        JoinWithNextText(prev);
        id = prev;
    }
    JoinWithNextText(id);
}

F_ObjHandleT PlaceBefore(F_ObjHandleT doc, const F_ElementLocT &at) {
    F_ObjHandleT before = at.childId;
    if (Element *c = before ? ElemIn(doc, before) : nullptr; c && !c->def) {
        IntT off = ClampOffset(*c, at.offset);
        if (off >= TextLength(*c))
            before = c->next;
        else if (off > 0)
            before = SplitText(doc, before, off);
    }
    return before;
}

namespace {

// The child of `ancestor` on the way up from `e` (e itself when its parent is the ancestor).
F_ObjHandleT ChildUnder(F_ObjHandleT e, F_ObjHandleT ancestor) {
    size_t limit = ElementStoreSize() + 1;
    while (e && limit--) {
        Element *x = Elem(e);
        if (!x) return 0;
        if (x->parent == ancestor) return e;
        e = x->parent;
    }
    return 0;
}

// The element a location stands in: its child, else its parent.
F_ObjHandleT LocElement(const F_ElementLocT &l) { return l.childId ? l.childId : l.parentId; }

}  // namespace

bool SelectionRun(Document &d, SiblingRun &run, F_ElementRangeT *selection) {
    F_ElementRangeT r = SelectionElements(d);
    if (selection) *selection = r;
    run = SiblingRun{};
    if (!r.beg.parentId && !r.beg.childId) return false;
    if (!r.beg.parentId) {  // the highest-level element of a flow, whole
        run.first = r.beg.childId;
        run.empty = false;
        return true;
    }
    F_ElementLocT b = r.beg, e = r.end;
    // A begin at the end of a text node stands before what follows it; a begin just before an
    // element that holds the end goes into that element.
    for (size_t guard = TheStore().elements.Size() + 1; b.parentId != e.parentId && b.childId && guard--;) {
        Element *c = Elem(b.childId);
        if (!c) break;
        if (!c->def && ClampOffset(*c, b.offset) >= TextLength(*c))
            b = F_ElementLocT{b.parentId, c->next, 0};
        else if (c->def && e.parentId && InSubtree(e.parentId, b.childId))
            b = F_ElementLocT{b.childId, c->first, 0};
        else
            break;
    }
    if (b.parentId != e.parentId) {
        // Lift both ends to whole children of the nearest common ancestor.
        std::unordered_set<F_ObjHandleT> up;
        for (F_ObjHandleT x = b.parentId; x; x = Elem(x) ? Elem(x)->parent : 0) up.insert(x);
        F_ObjHandleT common = 0;
        for (F_ObjHandleT x = e.parentId; x; x = Elem(x) ? Elem(x)->parent : 0)
            if (up.count(x)) {
                common = x;
                break;
            }
        if (!common) return false;
        F_ObjHandleT bc = b.parentId == common ? b.childId : ChildUnder(LocElement(b), common);
        F_ObjHandleT ec = e.parentId == common ? e.childId : ChildUnder(LocElement(e), common);
        b = F_ElementLocT{common, bc, b.parentId == common ? b.offset : 0};
        if (e.parentId != common && ec) ec = Elem(ec)->next;
        e = F_ElementLocT{common, ec, e.parentId == common ? e.offset : 0};
    }
    run.parent = b.parentId;
    run.first = b.childId;
    run.stop = e.childId;
    Element *fc = run.first ? Elem(run.first) : nullptr;
    Element *sc = run.stop ? Elem(run.stop) : nullptr;
    IntT firstLen = (fc && !fc->def) ? TextLength(*fc) : 0;
    run.firstOff = (fc && !fc->def) ? (b.offset == FV_OBJ_END_OFFSET ? firstLen : std::clamp<IntT>(b.offset, 0, firstLen)) : 0;
    run.stopOff = (sc && !sc->def) ? ClampOffset(*sc, e.offset) : 0;
    run.empty = run.first == run.stop && (run.first == 0 || run.firstOff >= run.stopOff);
    // Comments and instructions at the end of a run stay where they are: it ends with its last
    // element or text (those between its elements go with them).
    if (!run.empty && run.parent && run.stopOff == 0) {
        Element *p = Elem(run.parent);
        Element *s = run.stop ? Elem(run.stop) : nullptr;
        F_ObjHandleT last = s ? s->prev : run.stop || !p ? 0 : p->last;
        for (size_t guard = ElementStoreSize() + 1; last && last != run.first && guard--;) {
            Element *l = Elem(last);
            if (!l || !l->misc) break;
            run.stop = last;
            last = l->prev;
        }
    }
    if (fc && !fc->def && run.firstOff >= firstLen && run.first != run.stop) {
        // A start at the end of a text node is the start of what follows it.
        run.first = fc->next;
        run.firstOff = 0;
        run.empty = run.first == run.stop && run.stopOff == 0;
    }
    return true;
}

void RegisterTableProperties();  // tables.cpp
void RegisterBookProperties();   // book_model.cpp
void RegisterMarkerProperties(); // markers.cpp
void RegisterXRefProperties();   // xrefs.cpp
void RegisterGraphicProperties(); // graphics.cpp
void RegisterFormatProperties();  // formats.cpp
void RegisterTableSelectionProperties();  // table_selection.cpp

// Registers the kinds and properties of the editing files with the object model (called once
// when the model registers its own).
void RegisterEditExtensions() {
    RegisterTableProperties();
    RegisterBookProperties();
    RegisterMarkerProperties();
    RegisterXRefProperties();
    RegisterGraphicProperties();
    RegisterFormatProperties();
    RegisterTableSelectionProperties();
}

}  // namespace host
