// New paragraphs in a flow's series: F_ApiNewSeriesObject. A paragraph is a view of the element
// tree, so a new paragraph is a new empty element that begins one, placed right after the
// predecessor paragraph's content (or, for a text frame as predecessor, before the frame's first
// paragraph).
#include "edit_support.h"
#include "model_internal.h"
#include "model_layout.h"

namespace host {
namespace {

// The definition for a new paragraph of the same kind as `p`: the container that begins it, else
// the document's first container definition whose elements begin paragraphs of p's format.
F_ObjHandleT NewPgfDefinition(Document &d, const Layout &l, const PgfInfo &p) {
    if (Element *b = Elem(p.begin))
        if (ElementDef *def = Def(b->def); def && def->type == FV_FO_CONTAINER) return b->def;
    for (F_ObjHandleT id : d.defs)
        if (ElementDef *def = Def(id); def && def->type == FV_FO_CONTAINER && def->pgfFormat == l.FormatOf(p)) return id;
    return 0;
}

// Where a new element goes to stand after (or, with `before`, in front of) paragraph index i.
bool PlaceBeside(Layout &l, uint32_t i, bool before, F_ObjHandleT &parent, F_ObjHandleT &next) {
    const PgfInfo &p = l.pgfs[i];
    // The first paragraph of its beginning container: beside that element (after everything the
    // element holds, nested paragraphs and tables included).
    if (Element *b = Elem(p.begin); b && b->parent && Def(b->def) && Def(b->def)->type == FV_FO_CONTAINER) {
        if (const TextPlaces *pos = l.Places().Find(p.begin); pos && pos->first.pgf == i) {
            parent = b->parent;
            next = before ? p.begin : b->next;
            return true;
        }
    }
    // Otherwise beside the paragraph's text, in the same parent.
    if (!p.segs.empty()) {
        Element *t = Elem(before ? p.segs.front().node : p.segs.back().node);
        if (!t) return false;
        parent = t->parent;
        next = before ? p.segs.front().node : t->next;
        return true;
    }
    const F_ElementLocT at = p.segs.EmptyPlace();
    parent = at.parentId;
    next = at.childId;
    return parent != 0;
}

}  // namespace
}  // namespace host

using namespace host;

extern "C" {

// A new empty paragraph after `prevId` (a paragraph), or first in a text frame when `prevId` is
// the frame; only paragraphs (31) are series objects here. 0 and FA_errno when refused.
F_ObjHandleT F_ApiNewSeriesObject(F_ObjHandleT docId, IntT objType, F_ObjHandleT prevId) {
    Document *d = Doc(docId);
    if (!d) return Fail(FE_BadDocId), 0;
    if (objType != FO_Pgf) return Fail(FE_Unsupported), 0;
    Layout *l = LayoutOf(docId);
    if (!l) return Fail(FE_BadDocId), 0;
    uint32_t index = 0;
    bool before = false;
    if (!l->FindPgf(prevId, index)) {
        const uint32_t *fr = l->frameIndex.Find(prevId);
        if (!fr) return Fail(FE_BadObjId), 0;
        index = l->frames[*fr].firstPgf;
        before = true;
    }
    F_ObjHandleT def = NewPgfDefinition(*d, *l, l->pgfs[index]);
    F_ObjHandleT parent = 0, next = 0;
    if (!def || !PlaceBeside(*l, index, before, parent, next)) return Fail(FE_BadParameter), 0;
    F_ObjHandleT elem = NewElement(docId, def);
    if (!elem) return 0;
    LinkChild(parent, elem, next);
    MarkChanged(docId);
    l = LayoutOf(docId);
    const TextPlaces *pos = l ? l->Places().Find(elem) : nullptr;
    if (!pos || pos->first.pgf >= l->pgfs.size()) return Fail(FE_BadParameter), 0;
    return l->pgfs[pos->first.pgf].id;
}

}  // extern "C"
