// Host heap, record deallocators and record copies. Every record the host hands over is a deep
// copy allocated here; its deallocator frees the array and what it holds and zeroes the record,
// so a freed list (array NULL) differs from an initialised empty one (F_Alloc(0) is not NULL).
#include "records.h"

#include <cstdlib>
#include <cstring>

extern "C" {

PtrT F_Alloc(UIntT size, IntT) { return std::malloc(size == 0 ? 1 : size); }

PtrT F_Realloc(PtrT ptr, UIntT size, IntT) { return std::realloc(ptr, size == 0 ? 1 : size); }

void F_Free(PtrT ptr) { std::free(ptr); }

StringT F_StrCopyString(ConStringT s) {
    if (!s) s = "";
    size_t n = std::strlen(s);
    auto *out = static_cast<char *>(F_Alloc(static_cast<UIntT>(n + 1), NO_DSE));
    std::memcpy(out, s, n + 1);
    return out;
}

void F_ApiDeallocateString(StringT *str) {
    if (!str) return;
    F_Free(*str);
    *str = nullptr;
}

void F_ApiDeallocateStrings(F_StringsT *strs) {
    if (!strs) return;
    if (strs->val)
        for (UIntT i = 0; i < strs->len; ++i) F_Free(strs->val[i]);
    F_Free(strs->val);
    strs->val = nullptr;
    strs->len = 0;
}

void F_ApiFreeIdList(F_UIntsT *ids) {
    if (!ids) return;
    F_Free(ids->val);
    ids->val = nullptr;
    ids->len = 0;
}

void F_ApiFreeIntList(F_IntsT *ints) {
    if (!ints) return;
    F_Free(ints->val);
    ints->val = nullptr;
    ints->len = 0;
}

void F_ApiFreeMetricList(F_MetricsT *metrics) {
    if (!metrics) return;
    F_Free(metrics->val);
    metrics->val = nullptr;
    metrics->len = 0;
}

void F_ApiDeallocateAttributes(F_AttributesT *attrs) {
    if (!attrs) return;
    if (attrs->val)
        for (UIntT i = 0; i < attrs->len; ++i) {
            F_Free(attrs->val[i].name);
            F_ApiDeallocateStrings(&attrs->val[i].values);
        }
    F_Free(attrs->val);
    attrs->val = nullptr;
    attrs->len = 0;
}

void F_ApiDeallocateAttributeDefs(F_AttributeDefsT *defs) {
    if (!defs) return;
    if (defs->val)
        for (UIntT i = 0; i < defs->len; ++i) {
            F_AttributeDefT &d = defs->val[i];
            F_Free(d.name);
            F_ApiDeallocateStrings(&d.choiceNames);
            F_ApiDeallocateStrings(&d.defValues);
            F_Free(d.rangeMin);
            F_Free(d.rangeMax);
        }
    F_Free(defs->val);
    defs->val = nullptr;
    defs->len = 0;
}

void F_ApiDeallocateTextItems(F_TextItemsT *items) {
    if (!items) return;
    if (items->val)
        for (UIntT i = 0; i < items->len; ++i) F_Free(items->val[i].sdata);
    F_Free(items->val);
    items->val = nullptr;
    items->len = 0;
}

static void FreeTypedVal(F_TypedValT *v) {
    F_Free(v->sval);
    v->sval = nullptr;
    F_ApiDeallocateStrings(&v->ssval);
    F_ApiFreeIntList(&v->isval);
    F_ApiFreeMetricList(&v->msval);
}

void F_ApiDeallocatePropVals(F_PropValsT *props) {
    if (!props) return;
    if (props->val)
        for (UIntT i = 0; i < props->len; ++i) FreeTypedVal(&props->val[i].propVal);
    F_Free(props->val);
    props->val = nullptr;
    props->len = 0;
}

void F_ApiDeallocateElementCatalog(F_ElementCatalogEntriesT *entries) {
    if (!entries) return;
    F_Free(entries->val);
    entries->val = nullptr;
    entries->len = 0;
}

F_StringsT F_ApiCopyStrings(const F_StringsT *strs) {
    F_StringsT out{0, nullptr};
    UIntT n = (strs && strs->val) ? strs->len : 0;
    out.val = static_cast<StringT *>(F_Alloc(n * sizeof(StringT), NO_DSE));
    out.len = n;
    for (UIntT i = 0; i < n; ++i) out.val[i] = F_StrCopyString(strs->val[i] ? strs->val[i] : "");
    return out;
}

F_UIntsT F_ApiCopyIdList(const F_UIntsT *ids) {
    F_UIntsT out{0, nullptr};
    UIntT n = (ids && ids->val) ? ids->len : 0;
    out.val = static_cast<UIntT *>(F_Alloc(n * sizeof(UIntT), NO_DSE));
    out.len = n;
    if (n) std::memcpy(out.val, ids->val, n * sizeof(UIntT));
    return out;
}

F_AttributesT F_ApiCopyAttributeList(const F_AttributesT *attrs) {
    F_AttributesT out{0, nullptr};
    UIntT n = (attrs && attrs->val) ? attrs->len : 0;
    out.val = static_cast<F_AttributeT *>(F_Alloc(n * sizeof(F_AttributeT), NO_DSE));
    out.len = n;
    for (UIntT i = 0; i < n; ++i) {
        out.val[i].name = F_StrCopyString(attrs->val[i].name);
        out.val[i].values = F_ApiCopyStrings(&attrs->val[i].values);
        out.val[i].valflags = attrs->val[i].valflags;
        out.val[i].allow = attrs->val[i].allow;
    }
    return out;
}

F_TextItemsT F_ApiCopyTextItemList(const F_TextItemsT *items) {
    F_TextItemsT out{0, nullptr};
    UIntT n = (items && items->val) ? items->len : 0;
    out.val = static_cast<F_TextItemT *>(F_Alloc(n * sizeof(F_TextItemT), NO_DSE));
    out.len = n;
    for (UIntT i = 0; i < n; ++i) {
        out.val[i] = items->val[i];
        out.val[i].sdata = items->val[i].sdata ? F_StrCopyString(items->val[i].sdata) : nullptr;
    }
    return out;
}

}  // extern "C"

namespace host {

StringT NewString(const std::string &s) {
    auto *out = static_cast<char *>(F_Alloc(static_cast<UIntT>(s.size() + 1), NO_DSE));
    std::memcpy(out, s.c_str(), s.size() + 1);
    return out;
}

F_StringsT NewStrings(const std::vector<std::string> &v) {
    F_StringsT out;
    out.len = static_cast<UIntT>(v.size());
    out.val = static_cast<StringT *>(F_Alloc(out.len * sizeof(StringT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) out.val[i] = NewString(v[i]);
    return out;
}

std::vector<std::string> ReadStrings(const F_StringsT *strs) {
    std::vector<std::string> out;
    if (!strs || !strs->val) return out;
    out.reserve(strs->len);
    for (UIntT i = 0; i < strs->len; ++i) out.emplace_back(strs->val[i] ? strs->val[i] : "");
    return out;
}

F_IntsT NewInts(const std::vector<IntT> &v) {
    F_IntsT out;
    out.len = static_cast<UIntT>(v.size());
    out.val = static_cast<IntT *>(F_Alloc(out.len * sizeof(IntT), NO_DSE));
    if (out.len) std::memcpy(out.val, v.data(), out.len * sizeof(IntT));
    return out;
}

std::vector<IntT> ReadInts(const F_IntsT *ints) {
    if (!ints || !ints->val) return {};
    return std::vector<IntT>(ints->val, ints->val + ints->len);
}

F_UIntsT NewUInts(const std::vector<UIntT> &v) {
    F_UIntsT out;
    out.len = static_cast<UIntT>(v.size());
    out.val = static_cast<UIntT *>(F_Alloc(out.len * sizeof(UIntT), NO_DSE));
    if (out.len) std::memcpy(out.val, v.data(), out.len * sizeof(UIntT));
    return out;
}

F_MetricsT NewMetrics(const std::vector<MetricT> &v) {
    F_MetricsT out;
    out.len = static_cast<UIntT>(v.size());
    out.val = static_cast<MetricT *>(F_Alloc(out.len * sizeof(MetricT), NO_DSE));
    if (out.len) std::memcpy(out.val, v.data(), out.len * sizeof(MetricT));
    return out;
}

std::vector<MetricT> ReadMetrics(const F_MetricsT *metrics) {
    if (!metrics || !metrics->val) return {};
    return std::vector<MetricT>(metrics->val, metrics->val + metrics->len);
}

}  // namespace host
