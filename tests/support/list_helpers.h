// Test helpers: read and free host list records and heap strings in one step.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"

namespace qvtest {

// The entries of a list record, which is then freed.
inline std::vector<std::string> Take(F_StringsT list) {
    std::vector<std::string> out = qv::ReadStrings(&list);
    F_ApiDeallocateStrings(&list);
    return out;
}
inline std::vector<UIntT> Take(F_UIntsT list) {
    std::vector<UIntT> out = qv::ReadUInts(&list);
    F_ApiFreeIdList(&list);
    return out;
}
// The text of a heap string, which is then freed ("(null)" for NULL).
inline std::string Take(StringT s) {
    std::string out = s ? s : "(null)";
    om_StrFree(&s);
    return out;
}

// A heap string owned by a test.
struct Heap {
    StringT s;
    explicit Heap(const char *t) : s(om_StrCopy(t)) {}
    explicit Heap(const std::string &t) : s(om_StrCopy(t.c_str())) {}
    Heap(const Heap &) = delete;
    Heap &operator=(const Heap &) = delete;
    ~Heap() { om_StrFree(&s); }
    std::string str() const { return s ? s : "(null)"; }
};

// A list record owned by a test.
struct List {
    F_StringsT l;
    explicit List(const std::vector<std::string> &v) : l(qv::NewStrings(v)) {}
    List() : l{0, nullptr} {}
    List(const List &) = delete;
    List &operator=(const List &) = delete;
    ~List() { F_ApiDeallocateStrings(&l); }
    std::vector<std::string> v() const { return qv::ReadStrings(&l); }
};

using Strs = std::vector<std::string>;

}  // namespace qvtest
