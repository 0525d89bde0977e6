// Attribute calls: an element's attribute list (declared attributes in definition order, then
// undeclared ones), attribute definitions, removal of undeclared attributes, the element catalog.
#include <unordered_set>

#include "model.h"
#include "model_internal.h"
#include "records.h"

namespace host {

// The element's attribute list as F_ApiGetAttributes gives it: every attribute its definition
// declares, in definition order (an empty value list when unset), then undeclared ones in the
// order they were set.
std::vector<Attr> AttributeList(const Element &e) {
    std::vector<Attr> out;
    ElementDef *d = Def(e.def);
    if (!d) return out;
    out.reserve(d->attrs.size() + e.attrs.size());
    for (const AttrDef &ad : d->attrs) {
        Attr a{ad.atom, {}};
        for (const Attr &x : e.attrs)
            if (x.name == ad.atom) {
                a.values = x.values;
                break;
            }
        out.push_back(std::move(a));
    }
    for (const Attr &x : e.attrs)
        if (d->AttrIndex(x.name) < 0) out.push_back(x);
    return out;
}

}  // namespace host

using namespace host;

extern "C" {

F_AttributesT F_ApiGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId) {
    std::vector<Attr> list;
    if (Element *e = ElemIn(docId, elemId))
        list = AttributeList(*e);
    else
        Fail(FE_BadObjId);
    F_AttributesT out;
    out.len = static_cast<UIntT>(list.size());
    out.val = static_cast<F_AttributeT *>(F_Alloc(out.len * sizeof(F_AttributeT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) {
        out.val[i].name = NewString(AtomName(list[i].name));
        out.val[i].values = NewStrings(list[i].values);
        out.val[i].valflags = 0;
        out.val[i].allow = 0;
    }
    return out;
}

// Replaces the element's list. A NULL name is skipped; a second attribute of a declared name is
// refused (nothing changes); a second undeclared one replaces the first. Values are not checked.
void F_ApiSetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, const F_AttributesT *attrs) {
    Element *e = ElemIn(docId, elemId);
    if (!e || !attrs) {
        Fail(e ? FE_BadParameter : FE_BadObjId);
        return;
    }
    ElementDef *d = Def(e->def);
    if (!d) {  // text nodes have no attributes
        if (attrs->len && attrs->val) Fail(FE_WrongKind);
        return;
    }
    std::vector<Attr> list;
    std::unordered_map<uint32_t, size_t> seen;
    for (UIntT i = 0; attrs->val && i < attrs->len; ++i) {
        const F_AttributeT &a = attrs->val[i];
        if (!a.name || !*a.name) continue;
        uint32_t atom = Atom(a.name);
        std::vector<std::string> values = ReadStrings(&a.values);
        auto it = seen.find(atom);
        if (it != seen.end()) {
            if (d->AttrIndex(atom) >= 0) {
                Fail(FE_Duplicate);
                return;
            }
            list[it->second].values = std::move(values);
            continue;
        }
        seen.emplace(atom, list.size());
        // An empty value list of a declared attribute is "unset": nothing to keep.
        if (values.empty() && d->AttrIndex(atom) >= 0) continue;
        list.push_back(Attr{atom, std::move(values)});
    }
    e->attrs = std::move(list);
    MarkChanged(docId);
}

F_AttributeDefsT F_ApiGetAttributeDefs(F_ObjHandleT docId, F_ObjHandleT elemDefId) {
    ElementDef *d = Def(elemDefId);
    if (!d || d->doc != docId) {
        Fail(FE_BadObjId);
        d = nullptr;
    }
    F_AttributeDefsT out;
    out.len = d ? static_cast<UIntT>(d->attrs.size()) : 0;
    out.val = static_cast<F_AttributeDefT *>(F_Alloc(out.len * sizeof(F_AttributeDefT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) {
        const AttrDef &a = d->attrs[i];
        F_AttributeDefT &o = out.val[i];
        o.name = NewString(a.name);
        o.required = a.required;
        o.readOnly = a.readOnly;
        o.attrType = a.type;
        o.choiceNames = NewStrings(a.choices);
        o.defValues = NewStrings(a.defaults);
        o.rangeMin = NewString(a.rangeMin);
        o.rangeMax = NewString(a.rangeMax);
    }
    return out;
}

void F_ApiDeleteInvalidAttribute(F_ObjHandleT docId, ConStringT name, IntT, F_ObjHandleT elemId) {
    Element *e = ElemIn(docId, elemId);
    if (!e || !name) {
        Fail(e ? FE_BadParameter : FE_BadObjId);
        return;
    }
    ElementDef *d = Def(e->def);
    uint32_t atom = Atom(name);
    if (d && d->AttrIndex(atom) >= 0) {
        Fail(FE_BadName);  // declared: not an invalid attribute
        return;
    }
    for (auto it = e->attrs.begin(); it != e->attrs.end(); ++it)
        if (it->name == atom) {
            e->attrs.erase(it);
            MarkChanged(docId);
            return;
        }
    Fail(FE_NotFound);
}

F_ElementCatalogEntriesT F_ApiGetElementCatalog(F_ObjHandleT docId) {
    Document *d = Doc(docId);
    if (!d) Fail(FE_BadDocId);
    F_ElementCatalogEntriesT out;
    out.len = d ? static_cast<UIntT>(d->defs.size()) : 0;
    out.val = static_cast<F_ElementCatalogEntryT *>(F_Alloc(out.len * sizeof(F_ElementCatalogEntryT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) out.val[i] = F_ElementCatalogEntryT{d->defs[i], 0};
    return out;
}

}  // extern "C"
