// Conversions between counted list records and std::vector values.
#include "lib/strings/listconv.h"

#include <cstring>

#include "lib/strings/heapstr.h"

namespace qv {

std::vector<std::string> ReadStrings(const F_StringsT *list) {
    std::vector<std::string> out;
    if (!list || !list->val) return out;
    out.reserve(list->len);
    for (UIntT i = 0; i < list->len; ++i) out.emplace_back(View(list->val[i]));
    return out;
}

F_StringsT NewStrings(const std::vector<std::string> &texts) {
    F_StringsT out;
    out.len = static_cast<UIntT>(texts.size());
    out.val = static_cast<StringT *>(F_Alloc(out.len * sizeof(StringT), NO_DSE));
    for (UIntT i = 0; i < out.len; ++i) out.val[i] = NewHeapString(texts[i]);
    return out;
}

void StoreStrings(F_StringsT *list, const std::vector<std::string> &texts) {
    if (!list) return;
    F_StringsT fresh = NewStrings(texts);
    F_ApiDeallocateStrings(list);
    *list = fresh;
}

std::vector<UIntT> ReadUInts(const F_UIntsT *list) {
    if (!list || !list->val) return {};
    return std::vector<UIntT>(list->val, list->val + list->len);
}

F_UIntsT NewUInts(const std::vector<UIntT> &values) {
    F_UIntsT out;
    out.len = static_cast<UIntT>(values.size());
    out.val = static_cast<UIntT *>(F_Alloc(out.len * sizeof(UIntT), NO_DSE));
    if (out.len) std::memcpy(out.val, values.data(), out.len * sizeof(UIntT));
    return out;
}

void StoreUInts(F_UIntsT *list, const std::vector<UIntT> &values) {
    if (!list) return;
    F_UIntsT fresh = NewUInts(values);
    F_ApiFreeIdList(list);
    *list = fresh;
}

}  // namespace qv
