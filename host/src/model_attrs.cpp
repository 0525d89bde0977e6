// Attribute calls: an element's attribute list (declared attributes in definition order, then
// undeclared ones), attribute definitions, removal of undeclared attributes, the element catalog.
#include <algorithm>
#include <unordered_set>

#include "model.h"
#include "model_internal.h"
#include "records.h"

using namespace host;

extern "C" {

// The element's attribute list: every attribute its definition declares, in definition order (an
// empty value list when unset), then undeclared ones in the order they were set; none for a text
// node.
F_AttributesT F_ApiGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId) {
    Element *e = ElemIn(docId, elemId);
    if (!e) Fail(FE_BadObjId);
    ElementDef *d = e ? Def(e->def) : nullptr;
    std::vector<const Attr *> undeclared;
    if (d)
        for (const Attr &x : e->attrs)
            if (d->AttrIndex(x.name) < 0) undeclared.push_back(&x);
    size_t declared = d ? d->attrs.size() : 0;
    F_AttributesT out;
    out.len = static_cast<UIntT>(declared + undeclared.size());
    out.val = static_cast<F_AttributeT *>(F_Alloc(out.len * sizeof(F_AttributeT), NO_DSE));
    static const std::vector<std::string> unset;
    auto put = [&out](UIntT i, uint32_t name, const std::vector<std::string> *values) {
        out.val[i].name = NewString(AtomName(name));
        out.val[i].values = NewStrings(values ? *values : unset);
        out.val[i].valflags = 0;
        out.val[i].allow = 0;
    };
    for (size_t i = 0; i < declared; ++i) {
        uint32_t atom = d->attrs[i].atom;
        const std::vector<std::string> *values = nullptr;
        for (const Attr &x : e->attrs)
            if (x.name == atom) {
                values = &x.values;
                break;
            }
        put(static_cast<UIntT>(i), atom, values);
    }
    for (size_t i = 0; i < undeclared.size(); ++i)
        put(static_cast<UIntT>(declared + i), undeclared[i]->name, &undeclared[i]->values);
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
    list.reserve(attrs->len);
    // Attribute lists are short: the names seen so far are found by a scan, in their order.
    std::vector<std::pair<uint32_t, size_t>> seen;
    seen.reserve(attrs->len);
    for (UIntT i = 0; attrs->val && i < attrs->len; ++i) {
        const F_AttributeT &a = attrs->val[i];
        if (!a.name || !*a.name) continue;
        uint32_t atom = Atom(a.name);
        std::vector<std::string> values = ReadStrings(&a.values);
        auto it = std::find_if(seen.begin(), seen.end(), [atom](const auto &p) { return p.first == atom; });
        if (it != seen.end()) {
            if (d->AttrIndex(atom) >= 0) {
                Fail(FE_Duplicate);
                return;
            }
            list[it->second].values = std::move(values);
            continue;
        }
        seen.emplace_back(atom, list.size());
        // An empty value list of a declared attribute is "unset": nothing to keep.
        if (values.empty() && d->AttrIndex(atom) >= 0) continue;
        list.push_back(Attr{atom, std::move(values)});
    }
    e->attrs = std::move(list);
    MarkModified(docId);
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
            MarkModified(docId);
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
