// Element edits: new element at a location (splitting a text node), delete an element with its
// subtree, delete a named object; the selection after a delete.
#include <algorithm>

#include "model_internal.h"
#include "model_layout.h"
#include "text_props.h"

namespace host {

// Joins text node `id` with a text node right after it (the later one goes stale).
void JoinWithNextText(F_ObjHandleT id) {
    Element *a = Elem(id);
    if (!a || a->def || !a->next) return;
    Element *b = Elem(a->next);
    if (!b || b->def) return;
    F_ObjHandleT gone = a->next;
    TextRunsJoin(id, gone, static_cast<IntT>(Utf8Length(a->text)));  // character properties follow
    a->text += b->text;
    Unlink(gone);
    DestroySubtree(gone);
}

// Splits text node `id` at character `off` (0 < off < length); returns the new second node.
F_ObjHandleT SplitText(F_ObjHandleT doc, F_ObjHandleT id, IntT off) {
    Element *t = Elem(id);
    size_t at = Utf8Offset(t->text, static_cast<size_t>(off));
    F_ObjHandleT second = NewElement(doc, 0);
    t = Elem(id);  // the pool may have grown
    Elem(second)->text = t->text.substr(at);
    t->text.erase(at);
    LinkChild(t->parent, second, t->next);
    TextRunsSplit(id, second, off);  // character properties follow
    return second;
}

// True when `inner` is `outer` or lies in its subtree.
static bool Within(F_ObjHandleT inner, F_ObjHandleT outer) {
    size_t limit = ElementStoreSize() + 1;
    for (F_ObjHandleT e = inner; e && limit--; e = Elem(e) ? Elem(e)->parent : 0)
        if (e == outer) return true;
    return false;
}

static bool LocTouches(const F_ElementLocT &l, F_ObjHandleT gone) {
    return (l.parentId && Within(l.parentId, gone)) || (l.childId && Within(l.childId, gone));
}

// Deletes an element with its subtree. The selection, when it refers to anything deleted,
// becomes an insertion point where the element was.
bool DeleteElement(F_ObjHandleT doc, F_ObjHandleT id) {
    Document *d = Doc(doc);
    Element *e = ElemIn(doc, id);
    if (!d || !e) return Fail(FE_BadObjId);
    F_ElementRangeT sel = SelectionElements(*d);
    bool touched = LocTouches(sel.beg, id) || LocTouches(sel.end, id);
    F_ObjHandleT parent = e->parent, prev = e->prev, next = e->next;
    Unlink(id);
    DestroySubtree(id);
    // Text on both sides becomes one text node.
    if (Element *p = Elem(prev); p && !p->def && next && Elem(next) && !Elem(next)->def) {
        IntT at = static_cast<IntT>(Utf8Length(p->text));
        JoinWithNextText(prev);
        if (touched) {
            d->sel.textView = false;
            d->sel.er.beg = d->sel.er.end = F_ElementLocT{parent, prev, at};
            touched = false;
        }
    }
    if (touched) SelectInsertionPoint(*d, parent, parent ? next : 0);
    MarkChanged(doc);
    return true;
}

static bool DeleteNamed(F_ObjHandleT doc, F_ObjHandleT id) {
    Document *d = Doc(doc);
    NamedObject *n = Named(id);
    if (!d || !n || n->doc != doc) return Fail(FE_BadObjId);
    auto &list = d->named[KindOf(id)];
    if (KindOf(id) == FO_PgfFmt && list.size() == 1) return Fail(FE_BadOperation);  // keep one format
    std::erase(list, id);
    n->doc = 0;
    return true;
}

void RegisterEditCalls() {
    RegisterDeleter(FO_Element, DeleteElement);
    for (int kind : {FO_PgfFmt, FO_CharFmt, FO_CondFmt, FO_Color, FO_XRefFmt, FO_VarFmt, FO_TblFmt, FO_MarkerType})
        RegisterDeleter(kind, DeleteNamed);
}

}  // namespace host

using namespace host;

extern "C" {

F_ObjHandleT F_ApiNewElement(F_ObjHandleT docId, F_ObjHandleT elemDefId, const F_ElementLocT *loc) {
    ElementDef *def = Def(elemDefId);
    if (!Doc(docId) || !def || def->doc != docId || !loc) {
        Fail(Doc(docId) ? FE_BadParameter : FE_BadDocId);
        return 0;
    }
    Element *p = ElemIn(docId, loc->parentId);
    Element *c = loc->childId ? ElemIn(docId, loc->childId) : nullptr;
    if (!p || !p->def || (loc->childId && (!c || c->parent != loc->parentId))) {
        Fail(FE_BadElementLoc);
        return 0;
    }
    F_ObjHandleT before = loc->childId;
    if (c && !c->def) {  // inside a text node: split it
        IntT len = static_cast<IntT>(Utf8Length(c->text));
        IntT off = loc->offset == FV_OBJ_END_OFFSET ? len : std::clamp<IntT>(loc->offset, 0, len);
        if (off >= len)
            before = c->next;
        else if (off > 0)
            before = HasIdsLeft(FO_Element, 2) ? SplitText(docId, loc->childId, off) : 0;
        if (off > 0 && off < len && !before) return 0;
    }
    F_ObjHandleT id = NewElement(docId, elemDefId);
    if (!id) return 0;
    LinkChild(loc->parentId, id, before);
    if (!LayoutElementAdded(docId, id)) MarkChanged(docId);
    return id;
}

}  // extern "C"
