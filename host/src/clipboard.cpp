// The session clipboard and the calls that fill, read and clear it (see clipboard.h).
#include "clipboard.h"
#include "element_objects.h"

#include "edit_support.h"
#include "text_props.h"

namespace host {

namespace {

ClipboardContent gClipboard;
std::vector<ClipboardContent> gSaved;

// Text of a node from character lo up to hi.
std::string TextPart(const Element &t, IntT lo, IntT hi) {
    size_t a = Utf8Offset(t.text, static_cast<size_t>(lo));
    size_t b = Utf8Offset(t.text, static_cast<size_t>(hi));
    return t.text.substr(a, b - a);
}

// The fragment a sibling run holds.
std::vector<FragmentNode> CopyRun(const SiblingRun &run) {
    std::vector<FragmentNode> out;
    if (!run.parent) {
        out.push_back(CopySubtree(run.first));
        return out;
    }
    F_ObjHandleT c = run.first;
    size_t limit = ElementStoreSize() + 1;
    while (c && limit--) {
        Element *e = Elem(c);
        if (!e) break;
        bool last = c == run.stop;
        if (last && (e->def || run.stopOff == 0)) break;
        if (!e->def) {
            IntT lo = c == run.first ? run.firstOff : 0;
            IntT hi = last ? run.stopOff : TextLength(*e);
            if (hi > lo) {
                FragmentNode t;
                t.isText = true;
                t.text = TextPart(*e, lo, hi);
                out.push_back(std::move(t));
            }
        } else {
            out.push_back(CopySubtree(c));
        }
        if (last) break;
        c = e->next;
    }
    return out;
}

ClipboardContent ContentOf(std::vector<FragmentNode> nodes) {
    ClipboardContent cb;
    cb.empty = nodes.empty();
    bool allText = true;
    for (const FragmentNode &n : nodes)
        if (!n.isText) allText = false;
    if (allText) {
        for (const FragmentNode &n : nodes) cb.text += n.text;
        cb.empty = cb.text.empty();
    } else {
        cb.structured = true;
        cb.nodes = std::move(nodes);
    }
    return cb;
}

// The text of a run that holds text nodes only, as CopyRun would gather it; false when the run
// holds an element (`out` then holds part of the text).
bool RunText(const SiblingRun &run, std::string &out) {
    if (!run.parent) return false;
    size_t limit = ElementStoreSize() + 1;
    for (F_ObjHandleT c = run.first; c && limit--;) {
        Element *e = Elem(c);
        if (!e) break;
        bool last = c == run.stop;
        if (last && (e->def || run.stopOff == 0)) break;
        if (e->def) return false;
        IntT lo = c == run.first ? run.firstOff : 0;
        size_t a = Utf8Offset(e->text, static_cast<size_t>(lo));
        if (!last) {
            out.append(e->text, a);  // from `lo` to the end: nothing when lo is past it
            c = e->next;
            continue;
        }
        if (run.stopOff > lo) out.append(e->text, a, Utf8Offset(e->text, static_cast<size_t>(run.stopOff)) - a);
        break;
    }
    return true;
}

bool CopySelection(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    if (!d) return Fail(FE_BadDocId);
    SiblingRun run;
    if (!SelectionRun(*d, run) || run.empty) return Fail(FE_BadSelection);
    // Plain text goes to the clipboard as text, without a fragment on the way. It is gathered in
    // the room the clipboard's text before it had, so that copy after copy allocates nothing.
    static std::string text;
    text.clear();
    if (RunText(run, text)) {
        gClipboard.structured = false;
        gClipboard.nodes.clear();
        gClipboard.empty = text.empty();
        gClipboard.text.swap(text);
        if (text.capacity() > (size_t(1) << 16)) std::string().swap(text);  // a long text is not kept
        return true;
    }
    gClipboard = ContentOf(CopyRun(run));
    return true;
}

F_ObjHandleT DefinitionFor(F_ObjHandleT doc, const FragmentNode &n) {
    if (F_ObjHandleT def = FindElementDef(doc, n.defName)) return def;
    F_ObjHandleT def = AddElementDef(doc, n.defName, n.defType, n.pgfFormat);
    for (const AttrDef &a : n.attrDefs) AddAttributeDef(def, a);
    return def;
}

// The number of nodes of a fragment, its own included.
size_t FragmentSize(const FragmentNode &n) {
    size_t count = 1;
    for (const FragmentNode &c : n.children) count += FragmentSize(c);
    return count;
}

// Pastes the clipboard at an insertion point; the place just after the pasted material.
bool PasteAt(F_ObjHandleT doc, F_ElementLocT at) {
    Document *d = Doc(doc);
    if (!gClipboard.structured) {
        F_ObjHandleT node = 0;
        IntT end = 0;
        if (!InsertTextAt(doc, at, gClipboard.text, node, end)) return false;
        d->sel.textView = false;
        d->sel.er.beg = d->sel.er.end = F_ElementLocT{Elem(node)->parent, node, end};
        return true;
    }
    Element *p = ElemIn(doc, at.parentId);
    if (!p || !p->def) return Fail(FE_BadElementLoc);
    size_t nodes = 1;  // the split of a text node at the place, and every pasted node
    for (const FragmentNode &n : gClipboard.nodes) nodes += FragmentSize(n);
    if (!HasIdsLeft(FO_Element, nodes)) return false;
    F_ObjHandleT before = PlaceBefore(doc, at);
    F_ObjHandleT firstMade = 0, lastMade = 0;  // the first and last top nodes made
    for (const FragmentNode &n : gClipboard.nodes) {
        F_ObjHandleT id = BuildFragment(doc, n);
        if (!id) continue;
        LinkChild(at.parentId, id, before);
        if (!firstMade) firstMade = id;
        lastMade = id;
    }
    if (!firstMade) return true;
    // Text pasted beside text becomes one text node; the insertion point goes just after the
    // pasted material, inside the following text when that was joined onto it.
    F_ObjHandleT after = Elem(lastMade)->next;
    Element *ae = after ? Elem(after) : nullptr;
    IntT afterLen = (ae && !ae->def) ? TextLength(*ae) : 0;
    F_ObjHandleT afterNext = ae ? ae->next : 0;
    JoinTextAround(firstMade);
    if (lastMade != firstMade) JoinTextAround(lastMade);
    d->sel.textView = false;
    if (!after || Elem(after)) {
        d->sel.er.beg = d->sel.er.end = F_ElementLocT{at.parentId, after, 0};
    } else {
        F_ObjHandleT holder = afterNext ? Elem(afterNext)->prev : Elem(at.parentId)->last;
        IntT off = TextLength(*Elem(holder)) - afterLen;
        d->sel.er.beg = d->sel.er.end = F_ElementLocT{at.parentId, holder, off};
    }
    return true;
}

}  // namespace

const ClipboardContent &Clipboard() { return gClipboard; }

void SetClipboardText(const std::string &text) {
    gClipboard = ClipboardContent{};
    gClipboard.text = text;
    gClipboard.empty = text.empty();
}

void ResetClipboard() {
    gClipboard = ClipboardContent{};
    gSaved.clear();
}

FragmentNode CopySubtree(F_ObjHandleT elem) {
    FragmentNode n;
    Element *e = Elem(elem);
    if (!e) return n;
    if (!e->def || e->misc) {
        n.isText = !e->def;
        n.misc = e->misc;
        n.text = e->text;
        return n;
    }
    ElementDef *def = Def(e->def);
    if (!def) return n;
    n.defName = def->name;
    n.defType = def->type;
    n.pgfFormat = def->pgfFormat;
    n.attrDefs = def->attrs;
    n.attrs = e->attrs.ToVector();
    if (def->type == FV_FO_MARKER) {
        F_ObjHandleT obj = ObjectForElement(e->doc, elem, FV_FO_MARKER, FO_Marker);
        StringT text = F_ApiGetString(e->doc, obj, FP_MarkerText);
        n.markerText = text ? text : "";
        F_ApiDeallocateString(&text);
        if (F_ObjHandleT type = F_ApiGetId(e->doc, obj, FP_MarkerTypeId)) {
            StringT name = F_ApiGetString(e->doc, type, FP_Name);
            n.markerType = name ? name : "";
            F_ApiDeallocateString(&name);
        }
    }
    for (F_ObjHandleT c = e->first; c; c = Elem(c)->next) n.children.push_back(CopySubtree(c));
    return n;
}

F_ObjHandleT BuildFragment(F_ObjHandleT doc, const FragmentNode &n) {
    if (n.isText) {
        F_ObjHandleT t = NewElement(doc, 0);
        if (t) Elem(t)->text = n.text;
        return t;
    }
    if (n.misc) return NewMisc(doc, n.misc == kMiscComment, n.text);
    F_ObjHandleT id = NewElement(doc, DefinitionFor(doc, n));
    if (!id) return 0;
    Elem(id)->attrs = n.attrs;
    if (n.defType == FV_FO_MARKER && (!n.markerText.empty() || !n.markerType.empty())) {
        F_ObjHandleT obj = ObjectForElement(doc, id, FV_FO_MARKER, FO_Marker);
        F_ApiSetString(doc, obj, FP_MarkerText, n.markerText.c_str());
        if (!n.markerType.empty()) {
            F_ObjHandleT type = FindNamed(doc, FO_MarkerType, n.markerType);
            if (!type) type = AddNamed(doc, FO_MarkerType, n.markerType);
            F_ApiSetId(doc, obj, FP_MarkerTypeId, type);
        }
    }
    for (const FragmentNode &c : n.children)
        if (F_ObjHandleT k = BuildFragment(doc, c)) LinkChild(id, k, 0);
    return id;
}

bool ClearSelection(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    if (!d) return Fail(FE_BadDocId);
    SiblingRun run;
    if (!SelectionRun(*d, run)) return Fail(FE_BadSelection);
    if (run.empty) return true;
    if (!run.parent) {  // the whole highest-level element of a flow
        DeleteElement(doc, run.first);
        d->sel = Selection{};
        MarkChanged(doc);
        return true;
    }
    F_ObjHandleT c = run.first;
    F_ElementLocT ip{run.parent, run.first, run.firstOff};
    if (Element *f = Elem(c); f && !f->def && run.firstOff > 0) {
        IntT hi = c == run.stop ? run.stopOff : TextLength(*f);
        size_t a = Utf8Offset(f->text, static_cast<size_t>(run.firstOff));
        size_t b = Utf8Offset(f->text, static_cast<size_t>(hi));
        f->text.erase(a, b - a);
        TextRunsErased(c, run.firstOff, hi - run.firstOff);
        if (c == run.stop) {
            MarkChanged(doc);
            d->sel.textView = false;
            d->sel.er.beg = d->sel.er.end = ip;
            return true;
        }
        c = f->next;
    } else {
        ip.offset = 0;
    }
    size_t limit = ElementStoreSize() + 1;
    while (c && c != run.stop && limit--) {
        F_ObjHandleT next = Elem(c)->next;
        Unlink(c);
        DestroySubtree(c);
        c = next;
    }
    if (Element *s = c ? Elem(c) : nullptr; s && !s->def && run.stopOff > 0) {
        size_t b = Utf8Offset(s->text, static_cast<size_t>(run.stopOff));
        s->text.erase(0, b);
        TextRunsErased(c, 0, run.stopOff);
    }
    // The insertion point where the content was; text on both sides becomes one node.
    Element *f = Elem(ip.childId);
    if (f && f->doc && !f->def && run.firstOff > 0) {
        JoinWithNextText(ip.childId);
    } else {
        ip = F_ElementLocT{run.parent, c && Elem(c) ? c : 0, 0};
        if (Element *s = ip.childId ? Elem(ip.childId) : nullptr; s && !s->def && s->prev && !Elem(s->prev)->def) {
            F_ObjHandleT t = s->prev;
            ip = F_ElementLocT{run.parent, t, TextLength(*Elem(t))};
            JoinWithNextText(t);
        }
    }
    // Empty text nodes do not stay.
    if (Element *t = ip.childId ? Elem(ip.childId) : nullptr; t && !t->def && t->text.empty()) {
        F_ObjHandleT next = t->next;
        Unlink(ip.childId);
        DestroySubtree(ip.childId);
        ip = F_ElementLocT{run.parent, next, 0};
    }
    d->sel.textView = false;
    d->sel.er.beg = d->sel.er.end = ip;
    MarkChanged(doc);
    return true;
}

}  // namespace host

using namespace host;

extern "C" {

IntT F_ApiCopy(F_ObjHandleT docId, IntT) { return CopySelection(docId) ? 0 : FA_errno; }

IntT F_ApiCut(F_ObjHandleT docId, IntT) {
    if (!CopySelection(docId)) return FA_errno;
    return ClearSelection(docId) ? 0 : FA_errno;
}

IntT F_ApiClear(F_ObjHandleT docId, IntT) { return ClearSelection(docId) ? 0 : FA_errno; }

IntT F_ApiPaste(F_ObjHandleT docId, IntT) {
    Document *d = Doc(docId);
    if (!d) return Fail(FE_BadDocId), FA_errno;
    if (gClipboard.empty) return Fail(FE_BadOperation), FA_errno;
    SiblingRun run;
    F_ElementRangeT at{};
    if (!SelectionRun(*d, run, &at)) return Fail(FE_BadSelection), FA_errno;
    if (!run.empty) {  // the selection is replaced: the paste goes where it was
        if (!ClearSelection(docId)) return FA_errno;
        at = SelectionElements(*d);
    }
    if (!at.beg.parentId) return Fail(FE_BadElementLoc), FA_errno;
    if (!PasteAt(docId, at.beg)) return FA_errno;
    MarkChanged(docId);
    return 0;
}

IntT F_ApiSaveClipboard(void) {
    gSaved.push_back(gClipboard);
    return 0;
}

IntT F_ApiRestoreClipboard(void) {
    if (gSaved.empty()) return Fail(FE_BadOperation), FA_errno;
    gClipboard = std::move(gSaved.back());
    gSaved.pop_back();
    return 0;
}

}  // extern "C"
