// Internals of the object model shared by its source files (the pools and the store are in
// model.h, so that the look-ups every call makes are inline).
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <utility>

#include "model.h"

namespace host {

// A new element of def (0 = text node) in doc, not linked anywhere.
F_ObjHandleT NewElement(F_ObjHandleT doc, F_ObjHandleT def);

// A document being built from a file: a new last child of `parent` (an element of doc, whose
// slot `p` and that of its last child `last`, nullptr for none, the caller holds): an element of
// `def` (one of doc's own definitions), a comment or instruction (`misc`), or text (def 0), which
// joins a text node that ends the parent as AppendText's does. A comment's, instruction's or
// text's characters are `kept`, a text of the document's store (nullptr: none). Like
// AppendElement, AppendMisc and AppendText without looking the parent up again and without
// telling the layout: the builder marks the document changed once it is whole. The node and its
// slot, which becomes `last`; {0, nullptr} (FA_errno set) when the parent holds no children or
// the session's ids are used up. Inline: the builder makes every node of the file through it.
[[gnu::always_inline]] inline std::pair<F_ObjHandleT, Element *> BuildChild(F_ObjHandleT doc, F_ObjHandleT parent,
                                                                          Element &p, Element *&last, F_ObjHandleT def,
                                                                          uint8_t misc, const char *kept) {
    if (!p.def || p.misc) return {0, nullptr};  // text nodes, comments and instructions hold no children
    if (!def && !misc && last && !last->def) {
        if (kept) last->text.append(NodeText::Kept(kept));
        return {p.last, last};
    }
    auto [id, e] = TheStore().elements.New(FO_Element);
    if (!e) return {0, nullptr};
    e->doc = doc;
    if (misc) {
        e->def = kMiscDef;
        e->misc = misc;
    } else {
        e->def = def;
        e->unique = NewUniqueId();
    }
    if (!def || misc) e->text.Share(kept);
    e->parent = parent;
    e->prev = p.last;
    if (last) last->next = id;
    else p.first = id;
    p.last = id;
    last = e;
    return {id, e};
}

// Derived objects (paragraphs, frames, pages): forget a document's, or all of them.
void ForgetDerived(Document &d);
void ResetDerived();

// What other files keep for an element, forgotten when its id is given back, before the id is
// made again for another element.
void ForgetElementObject(F_ObjHandleT elem);  // element_objects.cpp
void ForgetTableObject(F_ObjHandleT elem);    // tables.cpp
void ForgetTextRuns(F_ObjHandleT node);       // text_props.cpp

}  // namespace host
