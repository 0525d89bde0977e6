// Structure edits on the selection: wrap (the wrapped content keeps its ids and goes into a new
// element), unwrap (an element is replaced by its content), promote (the element becomes its
// parent's next sibling) and demote (the element becomes the last child of its previous sibling).
// The host refuses what it cannot represent; content rules are never enforced.
#include "clipboard.h"
#include "edit_support.h"

namespace host {

namespace {

IntT KindOfElement(const Element &e) {
    ElementDef *d = Def(e.def);
    return d ? d->type : 0;
}

bool IsTablePart(const Element &e) {
    IntT k = KindOfElement(e);
    return k >= FV_FO_TBL_TITLE && k <= FV_FO_TBL_CELL;
}

// The element selected as a whole ({P, E, 0} .. {P, next of E, 0}, or {0, E, 0} .. {0, 0, 0}).
F_ObjHandleT SelectedWhole(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    if (!d) return 0;
    F_ElementRangeT r = SelectionElements(*d);
    Element *e = r.beg.childId ? ElemIn(doc, r.beg.childId) : nullptr;
    if (!e || !e->def || r.beg.offset != 0) return 0;
    if (!r.beg.parentId) return (!r.end.parentId && !r.end.childId && !e->parent) ? r.beg.childId : 0;
    if (r.beg.parentId != e->parent || r.end.parentId != e->parent || r.end.childId != e->next) return 0;
    return r.beg.childId;
}

// The document and its element selected as a whole; nullptr with FA_errno set when either is
// missing.
Element *SelectedForEdit(F_ObjHandleT doc, Document *&d, F_ObjHandleT &id) {
    d = Doc(doc);
    if (!d) return Fail(FE_BadDocId), nullptr;
    id = SelectedWhole(doc);
    Element *e = id ? Elem(id) : nullptr;
    if (!e) Fail(FE_BadSelection);
    return e;
}

void SelectWhole(Document &d, F_ObjHandleT e) {
    Element *x = Elem(e);
    d.sel.textView = false;
    if (x->parent)
        d.sel.er = F_ElementRangeT{{x->parent, e, 0}, {x->parent, x->next, 0}};
    else
        d.sel.er = F_ElementRangeT{{0, e, 0}, {0, 0, 0}};
}

bool Wrap(F_ObjHandleT doc, F_ObjHandleT defId) {
    Document *d = Doc(doc);
    ElementDef *def = Def(defId);
    if (!d) return Fail(FE_BadDocId);
    if (!def || def->doc != doc || def->type != FV_FO_CONTAINER) return Fail(FE_WrongKind);
    SiblingRun run;
    if (!SelectionRun(*d, run) || run.empty) return Fail(FE_BadSelection);
    if (!HasIdsLeft(FO_Element, 3)) return false;  // two splits and the new element
    if (!run.parent) {  // the highest-level element: the new element takes its place in the flow
        F_ObjHandleT flow = FlowOfElement(run.first);
        Unlink(run.first);
        F_ObjHandleT w = AppendElement(doc, 0, defId, flow);
        LinkChild(w, run.first, 0);
        SelectWhole(*d, w);
        MarkChanged(doc);
        return true;
    }
    // Partial text at either end becomes a text node of its own.
    F_ObjHandleT first = run.first, stop = run.stop;
    if (Element *f = Elem(first); f && !f->def && run.firstOff > 0) {
        IntT endOff = first == stop ? run.stopOff : -1;
        first = SplitText(doc, first, run.firstOff);
        if (endOff >= 0) {
            stop = first;
            run.stopOff = endOff - run.firstOff;
        }
    }
    if (Element *s = stop ? Elem(stop) : nullptr; s && !s->def && run.stopOff > 0)
        stop = run.stopOff >= TextLength(*s) ? s->next : SplitText(doc, stop, run.stopOff);
    F_ObjHandleT w = NewElement(doc, defId);
    LinkChild(run.parent, w, first);
    size_t limit = TheStore().elements.Size() + 1;
    for (F_ObjHandleT c = first; c && c != stop && limit--;) {
        F_ObjHandleT next = Elem(c)->next;
        Unlink(c);
        LinkChild(w, c, 0);
        c = next;
    }
    SelectWhole(*d, w);
    MarkChanged(doc);
    return true;
}

bool UnWrap(F_ObjHandleT doc) {
    Document *d = nullptr;
    F_ObjHandleT id = 0;
    Element *e = SelectedForEdit(doc, d, id);
    if (!e) return false;
    if (!e->parent || KindOfElement(*e) != FV_FO_CONTAINER) return Fail(FE_BadOperation);
    F_ObjHandleT parent = e->parent, firstMoved = e->first, lastMoved = e->last, after = e->next;
    while (F_ObjHandleT c = Elem(id)->first) {
        Unlink(c);
        LinkChild(parent, c, id);
    }
    Unlink(id);
    DestroySubtree(id);
    // The content is selected; text meeting text becomes one node.
    d->sel.textView = false;
    if (firstMoved) {
        F_ObjHandleT before = Elem(firstMoved)->prev;
        bool firstText = !Elem(firstMoved)->def;
        bool joinedFront = firstText && before && !Elem(before)->def;
        IntT frontOff = joinedFront ? TextLength(*Elem(before)) : 0;
        JoinTextAround(firstMoved);
        if (lastMoved != firstMoved && Elem(lastMoved)) JoinTextAround(lastMoved);
        F_ElementLocT b = joinedFront ? F_ElementLocT{parent, before, frontOff} : F_ElementLocT{parent, firstMoved, 0};
        F_ObjHandleT endChild = after && Elem(after) ? after : 0;
        d->sel.er = F_ElementRangeT{b, {parent, endChild, 0}};
    } else {
        SelectInsertionPoint(*d, parent, after);
    }
    MarkChanged(doc);
    return true;
}

bool Promote(F_ObjHandleT doc) {
    Document *d = nullptr;
    F_ObjHandleT id = 0;
    Element *e = SelectedForEdit(doc, d, id);
    if (!e) return false;
    Element *p = e->parent ? Elem(e->parent) : nullptr;
    if (!p || !p->parent || IsTablePart(*e) || KindOfElement(*e) == FV_FO_TBL) return Fail(FE_BadOperation);
    F_ObjHandleT grand = p->parent, after = p->next, prev = e->prev;
    Unlink(id);
    LinkChild(grand, id, after);
    if (prev && Elem(prev) && !Elem(prev)->def) JoinWithNextText(prev);
    SelectWhole(*d, id);
    MarkChanged(doc);
    return true;
}

bool Demote(F_ObjHandleT doc) {
    Document *d = nullptr;
    F_ObjHandleT id = 0;
    Element *e = SelectedForEdit(doc, d, id);
    if (!e) return false;
    // The sibling before it past any comment or instruction, which stay where they are.
    F_ObjHandleT sibling = PastMisc(e->prev, false);
    Element *s = sibling ? Elem(sibling) : nullptr;
    if (!s || !s->def || KindOfElement(*s) != FV_FO_CONTAINER || IsTablePart(*e)) return Fail(FE_BadOperation);
    Unlink(id);
    LinkChild(sibling, id, 0);
    SelectWhole(*d, id);
    MarkChanged(doc);
    return true;
}

}  // namespace

}  // namespace host

using namespace host;

extern "C" {

void F_ApiWrapElement(F_ObjHandleT docId, F_ObjHandleT elemDefId) { Wrap(docId, elemDefId); }
void F_ApiUnWrapElement(F_ObjHandleT docId) { UnWrap(docId); }
void F_ApiPromoteElement(F_ObjHandleT docId) { Promote(docId); }
void F_ApiDemoteElement(F_ObjHandleT docId) { Demote(docId); }

}  // extern "C"
