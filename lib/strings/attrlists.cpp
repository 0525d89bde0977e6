// Lists of attributes (name, values, two flag bytes) and of text items: making, growing,
// finding by name, removing, merging, and splitting or collapsing the values.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"

namespace {

using qv::View;

IntT Length(const F_AttributesT *list) { return (list && list->val) ? static_cast<IntT>(list->len) : 0; }

// Replaces the list by a deep copy of the attributes at the kept indexes, in order.
void KeepAttributes(F_AttributesT *list, const std::vector<IntT> &keep) {
    F_AttributesT fresh;
    fresh.len = static_cast<UIntT>(keep.size());
    fresh.val = static_cast<F_AttributeT *>(F_Alloc(fresh.len * sizeof(F_AttributeT), NO_DSE));
    for (UIntT i = 0; i < fresh.len; ++i) {
        const F_AttributeT &a = list->val[keep[i]];
        fresh.val[i] = F_AttributeT{om_StrCopy(a.name), F_ApiCopyStrings(&a.values), a.valflags, a.allow};
    }
    F_ApiDeallocateAttributes(list);
    *list = fresh;
}

// The attribute type that the element's definition declares for the name, or -1.
IntT DeclaredType(F_ObjHandleT docId, F_ObjHandleT elemId, ConStringT name) {
    F_ObjHandleT def = F_ApiGetId(docId, elemId, FP_ElementDef);
    if (!def) return -1;
    F_AttributeDefsT defs = F_ApiGetAttributeDefs(docId, def);
    IntT type = -1;
    for (UIntT i = 0; defs.val && i < defs.len; ++i)
        if (View(defs.val[i].name) == View(name)) {
            type = defs.val[i].attrType;
            break;
        }
    F_ApiDeallocateAttributeDefs(&defs);
    return type;
}

}  // namespace

void om_AttributesInit(F_AttributesT *list, IntT n, IntT freeFlag) {
    if (!list) return;
    if (freeFlag) F_ApiDeallocateAttributes(list);
    list->len = n > 0 ? static_cast<UIntT>(n) : 0;
    list->val = static_cast<F_AttributeT *>(F_Alloc(list->len * sizeof(F_AttributeT), NO_DSE));
    std::fill(list->val, list->val + list->len, F_AttributeT{nullptr, {0, nullptr}, 0, 0});
}

void om_AttributesFree(F_AttributesT *list) { F_ApiDeallocateAttributes(list); }

F_AttributeT *om_AttributesAppendSlot(F_AttributesT *list) {
    if (!list) return nullptr;
    if (!list->val) list->len = 0;
    list->val = static_cast<F_AttributeT *>(F_Realloc(list->val, (list->len + 1) * sizeof(F_AttributeT), NO_DSE));
    list->val[list->len] = F_AttributeT{nullptr, {0, nullptr}, 0, 0};
    return &list->val[list->len++];
}

IntT om_AttributesFindName(const F_AttributesT *list, ConStringT name) {
    if (!name) return -1;
    for (IntT i = 0; i < Length(list); ++i)
        if (View(list->val[i].name) == name) return i;
    return -1;
}

IntT om_AttributesIndexesOfName(const F_AttributesT *list, ConStringT name, F_UIntsT *out) {
    std::vector<UIntT> hits;
    if (name)
        for (IntT i = 0; i < Length(list); ++i)
            if (View(list->val[i].name) == name) hits.push_back(static_cast<UIntT>(i));
    qv::StoreUInts(out, hits);
    return hits.empty() ? 0 : 1;
}

void om_AttributesRemove(F_AttributesT *list, IntT index, ConStringT name) {
    std::vector<IntT> keep;
    for (IntT i = 0; i < Length(list); ++i) {
        bool drop = index == -1 ? View(list->val[i].name) == View(name) : i == index;
        if (!drop) keep.push_back(i);
    }
    if (static_cast<IntT>(keep.size()) != Length(list)) KeepAttributes(list, keep);
}

IntT om_AttributesMerge(F_AttributesT *target, const F_AttributesT *source, IntT declaredOnly, F_ObjHandleT docId,
                        F_ObjHandleT elemId) {
    if (!target) return 0;
    for (IntT s = 0; s < Length(source); ++s) {
        const F_AttributeT &src = source->val[s];
        if (declaredOnly && docId && elemId) {
            IntT type = DeclaredType(docId, elemId, src.name);
            if (type >= 1 && type <= 3) continue;
        }
        IntT t = om_AttributesFindName(target, src.name ? src.name : "");
        if (t < 0) {
            F_AttributeT *slot = om_AttributesAppendSlot(target);
            slot->name = om_StrCopy(src.name);
            slot->values = F_ApiCopyStrings(&src.values);
            continue;
        }
        F_StringsT &values = target->val[t].values;
        std::vector<std::string> have = qv::ReadStrings(&values);
        std::unordered_set<std::string> present(have.begin(), have.end());
        for (const std::string &v : qv::ReadStrings(&src.values))
            if (present.insert(v).second) om_StringsAppend(&values, v.c_str());
    }
    return Length(source);
}

IntT om_AttributesSplitValues(F_AttributesT *list) {
    for (IntT i = 0; i < Length(list); ++i) om_StringsSplitWords(&list->val[i].values);
    return Length(list);
}

IntT om_AttributesCollapseValues(F_AttributesT *list, ConStringT separator) {
    for (IntT i = 0; i < Length(list); ++i) om_StringsCollapse(&list->val[i].values, separator);
    return Length(list);
}

void om_TextItemsRemoveAt(F_TextItemsT *items, IntT index) {
    if (!items || !items->val || index < 0 || static_cast<UIntT>(index) >= items->len) return;
    F_TextItemsT fresh;
    fresh.len = items->len - 1;
    fresh.val = static_cast<F_TextItemT *>(F_Alloc(fresh.len * sizeof(F_TextItemT), NO_DSE));
    for (UIntT i = 0, j = 0; i < items->len; ++i) {
        if (static_cast<IntT>(i) == index) continue;
        fresh.val[j] = items->val[i];
        fresh.val[j++].sdata = items->val[i].sdata ? om_StrCopy(items->val[i].sdata) : nullptr;
    }
    F_ApiDeallocateTextItems(items);
    *items = fresh;
}
