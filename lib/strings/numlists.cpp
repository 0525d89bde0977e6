// Lists of numbers: unsigned lists (object ids, positions), signed lists and metric lists.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"

namespace {

IntT Length(const F_UIntsT *list) { return (list && list->val) ? static_cast<IntT>(list->len) : 0; }

// Grows an array of T by one entry holding value.
template <typename T>
T *GrowByOne(T *array, UIntT len, T value) {
    array = static_cast<T *>(F_Realloc(array, (len + 1) * sizeof(T), NO_DSE));
    array[len] = value;
    return array;
}

}  // namespace

void om_UIntsInit(F_UIntsT *list, IntT n, IntT freeFlag) {
    if (!list) return;
    if (freeFlag == 1) F_ApiFreeIdList(list);
    list->len = n > 0 ? static_cast<UIntT>(n) : 0;
    list->val = static_cast<UIntT *>(F_Alloc(list->len * sizeof(UIntT), NO_DSE));
    std::fill(list->val, list->val + list->len, 0u);
}

void om_UIntsFree(F_UIntsT *list) { F_ApiFreeIdList(list); }

void om_UIntsAppend(F_UIntsT *list, UIntT value) {
    if (!list) return;
    if (!list->val) list->len = 0;
    list->val = GrowByOne(list->val, list->len, value);
    ++list->len;
}

void om_UIntsPrepend(F_UIntsT *list, UIntT value) {
    if (!list) return;
    std::vector<UIntT> values = qv::ReadUInts(list);
    values.insert(values.begin(), value);
    qv::StoreUInts(list, values);
}

IntT om_UIntsFind(const F_UIntsT *list, UIntT value) {
    for (IntT i = 0; i < Length(list); ++i)
        if (list->val[i] == value) return i;
    return -1;
}

void om_UIntsRemove(F_UIntsT *list, UIntT value, IntT index) {
    IntT at = index == -1 ? om_UIntsFind(list, value) : index;
    if (at < 0 || at >= Length(list)) return;
    std::vector<UIntT> values = qv::ReadUInts(list);
    values.erase(values.begin() + at);
    qv::StoreUInts(list, values);
}

IntT om_UIntsAppendAll(F_UIntsT *target, const F_UIntsT *source) {
    if (!target || !source || !target->val || !source->val) return 0;
    std::vector<UIntT> values = qv::ReadUInts(target);
    values.insert(values.end(), source->val, source->val + source->len);
    qv::StoreUInts(target, values);
    return static_cast<IntT>(source->len);
}

void om_UIntsAppendList(F_UIntsT *target, const F_UIntsT *source, IntT unique) {
    if (!target || Length(source) == 0) return;
    std::vector<UIntT> values = qv::ReadUInts(target);
    std::unordered_set<UIntT> present(values.begin(), values.end());
    for (UIntT v : qv::ReadUInts(source))
        if (!unique || present.insert(v).second) values.push_back(v);
    qv::StoreUInts(target, values);
}

F_UIntsT om_UIntsIntersect(const F_UIntsT *a, const F_UIntsT *b) {
    std::vector<UIntT> bs = qv::ReadUInts(b), out;
    std::unordered_set<UIntT> inB(bs.begin(), bs.end());
    for (UIntT v : qv::ReadUInts(a))
        if (inB.count(v)) out.push_back(v);
    return qv::NewUInts(out);
}

IntT om_UIntsLastPosition(const F_UIntsT *list, UIntT value) {
    for (IntT i = Length(list); i > 0; --i)
        if (list->val[i - 1] == value) return i;
    return 0;
}

void om_UIntsDump(const F_UIntsT *list, IntT alert, IntT console) {
    F_StringsT forms = om_UIntsToStrings(list);
    om_StringsDump(&forms, alert, console);
    F_ApiDeallocateStrings(&forms);
}

void om_IntsInit(F_IntsT *list, IntT n, IntT freeFlag) {
    if (!list) return;
    if (freeFlag) F_ApiFreeIntList(list);
    list->len = n > 0 ? static_cast<UIntT>(n) : 0;
    list->val = static_cast<IntT *>(F_Alloc(list->len * sizeof(IntT), NO_DSE));
    std::fill(list->val, list->val + list->len, 0);
}

void om_MetricsInit(F_MetricsT *list, IntT n, IntT freeFlag) {
    if (!list) return;
    if (freeFlag) F_ApiFreeMetricList(list);
    UIntT room = n > 0 ? static_cast<UIntT>(n) : 0;
    list->val = static_cast<MetricT *>(F_Alloc(room * sizeof(MetricT), NO_DSE));
    list->len = 0;
}

void om_MetricsAppend(F_MetricsT *list, MetricT value) {
    if (!list) return;
    if (list->len == 0 || !list->val) {
        F_Free(list->val);
        list->val = nullptr;
        list->len = 0;
    }
    list->val = GrowByOne(list->val, list->len, value);
    ++list->len;
}

void om_MetricsFree(F_MetricsT *list) { F_ApiFreeMetricList(list); }
