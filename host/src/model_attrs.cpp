// Attribute calls: an element's attribute list (declared attributes in definition order, then
// undeclared ones), attribute definitions, removal of undeclared attributes, the element catalog.
#include <algorithm>
#include <unordered_set>

#include "model.h"
#include "model_internal.h"
#include "records.h"

using namespace host;

namespace {

// One attribute of a list being set: its name, the entry of the list whose values it takes, and
// whether it is kept (an empty value list of a declared attribute is not).
struct Planned {
    uint32_t atom;
    UIntT from;
    bool keep;
};

// The atom of the name of entry i of a list being set on an element of definition d that holds
// attributes `held`. A list read from the element and written back names the definition's
// attributes in order, then the element's own: those are recognised by their names without a
// look-up. `declared` is the name's place in the definition, -1 when undeclared.
uint32_t NameAtom(std::string_view name, UIntT i, const ElementDef &d, const AttrList &held, size_t next,
                  int &declared) {
    if (i < d.attrs.size() && d.attrs[i].name == name) {
        declared = static_cast<int>(i);
        return d.attrs[i].atom;
    }
    uint32_t atom = next < held.size() && AtomName(held[next].name) == name ? held[next].name : Atom(name);
    declared = d.AttrIndex(atom);
    return atom;
}

// Writes a value list over held values, reusing their storage; values that are the same stay.
void AssignValues(AttrValues &to, const F_StringsT &from) {
    UIntT n = from.val ? from.len : 0;
    to.Resize(n);
    for (UIntT k = 0; k < n; ++k) {
        std::string_view s = from.val[k] ? std::string_view(from.val[k]) : std::string_view();
        if (std::string &v = to.At(k); v != s) v.assign(s);
    }
}

// A host copy of held values.
F_StringsT NewValues(const AttrValues *values) {
    F_StringsT out;
    out.len = values ? static_cast<UIntT>(values->size()) : 0;
    out.val = static_cast<StringT *>(F_Alloc(out.len * sizeof(StringT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) out.val[i] = NewString((*values)[i]);
    return out;
}

}  // namespace

extern "C" {

// The element's attribute list: every attribute its definition declares, in definition order (an
// empty value list when unset), then undeclared ones in the order they were set; none for a text
// node.
F_AttributesT F_ApiGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId) {
    Element *e = ElemIn(docId, elemId);
    if (!e) Fail(FE_BadObjId);
    ElementDef *d = e ? Def(e->def) : nullptr;
    // Undeclared attributes are counted first and listed after the declared ones.
    size_t undeclared = 0;
    if (d)
        for (const Attr &x : e->attrs)
            if (d->AttrIndex(x.name) < 0) ++undeclared;
    size_t declared = d ? d->attrs.size() : 0;
    F_AttributesT out;
    out.len = static_cast<UIntT>(declared + undeclared);
    out.val = static_cast<F_AttributeT *>(F_Alloc(out.len * sizeof(F_AttributeT), NO_DSE));
    auto put = [&out](UIntT i, uint32_t name, const AttrValues *values) {
        out.val[i].name = NewString(AtomName(name));
        out.val[i].values = NewValues(values);  // none: an empty list
        out.val[i].valflags = 0;
        out.val[i].allow = 0;
    };
    for (size_t i = 0; i < declared; ++i) {
        uint32_t atom = d->attrs[i].atom;
        const AttrValues *values = nullptr;
        for (const Attr &x : e->attrs)
            if (x.name == atom) {
                values = &x.values;
                break;
            }
        put(static_cast<UIntT>(i), atom, values);
    }
    size_t next = declared;
    if (undeclared)
        for (const Attr &x : e->attrs)
            if (d->AttrIndex(x.name) < 0) put(static_cast<UIntT>(next++), x.name, &x.values);
    return out;
}

IntT F_ApiReadAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, F_AttributeReadFnT fn, PtrT arg) {
    Element *e = ElemIn(docId, elemId);
    if (!e || !fn) {
        Fail(e ? FE_BadParameter : FE_BadObjId);
        return -1;
    }
    const ElementDef *d = Def(e->def);
    if (!d) return 0;
    std::vector<ConStringT> many;  // the values of an attribute that has more than one
    auto hand = [&](UIntT index, uint32_t name, const AttrValues *values) -> IntT {
        ConStringT one = nullptr;
        F_AttributeReadT a{index, AtomName(name).c_str(), 0, nullptr};
        if (values && values->size() == 1) {
            one = values->front().c_str();
            a.valueCount = 1;
            a.values = &one;
        } else if (values && !values->empty()) {
            many.clear();
            for (const std::string &v : *values) many.push_back(v.c_str());
            a.valueCount = static_cast<UIntT>(many.size());
            a.values = many.data();
        }
        return fn(&a, arg);
    };
    UIntT index = 0;
    for (const AttrDef &def : d->attrs) {
        const AttrValues *values = nullptr;
        for (const Attr &x : e->attrs)
            if (x.name == def.atom) {
                values = &x.values;
                break;
            }
        if (IntT stop = hand(index++, def.atom, values)) return stop;
    }
    for (const Attr &x : e->attrs)
        if (d->AttrIndex(x.name) < 0)
            if (IntT stop = hand(index++, x.name, &x.values)) return stop;
    return 0;
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
    // The names in their order of first appearance, each with the entry whose values it takes;
    // kept across calls so that a call allocates nothing for it. Attribute lists are short: a
    // name seen before is found by a scan.
    static std::vector<Planned> plan;
    plan.clear();
    size_t held = 0;  // the element's attribute that the next name most likely is
    for (UIntT i = 0; attrs->val && i < attrs->len; ++i) {
        const F_AttributeT &a = attrs->val[i];
        if (!a.name || !*a.name) continue;
        int declared = -1;
        uint32_t atom = NameAtom(a.name, i, *d, e->attrs, held, declared);
        if (held < e->attrs.size() && e->attrs[held].name == atom) ++held;
        auto it = std::find_if(plan.begin(), plan.end(), [atom](const Planned &p) { return p.atom == atom; });
        if (it != plan.end()) {
            if (declared >= 0) {
                Fail(FE_Duplicate);
                return;
            }
            it->from = i;
            continue;
        }
        // An empty value list of a declared attribute is "unset": nothing to keep.
        bool keep = declared < 0 || (a.values.val && a.values.len);
        plan.push_back(Planned{atom, i, keep});
    }
    // The same attributes in the same order as held (a list read, changed and written back):
    // the values are written over the held ones.
    size_t kept = 0;
    bool same = true;
    for (const Planned &p : plan) {
        if (!p.keep) continue;
        if (kept >= e->attrs.size() || e->attrs[kept].name != p.atom) same = false;
        ++kept;
    }
    if (same && kept == e->attrs.size()) {
        size_t k = 0;
        for (const Planned &p : plan)
            if (p.keep) AssignValues(e->attrs[k++].values, attrs->val[p.from].values);
    } else {
        std::vector<Attr> list;
        list.reserve(kept);
        for (const Planned &p : plan) {
            if (!p.keep) continue;
            Attr x{p.atom, {}};
            for (Attr &old : e->attrs)  // the held values' storage is reused
                if (old.name == p.atom) {
                    x.values = std::move(old.values);
                    break;
                }
            AssignValues(x.values, attrs->val[p.from].values);
            list.push_back(std::move(x));
        }
        e->attrs = std::move(list);
    }
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
