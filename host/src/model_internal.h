// Internals of the object model shared by its source files: the pools and the store.
#pragma once

#include <map>
#include <memory>

#include "model.h"

namespace host {

uint32_t NextCounter(int kind);

// Objects of one kind, indexed by (counter - base), kept in fixed chunks so that references stay
// valid while the pool grows and an element costs no allocation of its own. base moves on at a
// reset so that ids stay unique for the whole process.
template <class T, size_t kChunkBits = 6>
struct Pool {
    static constexpr size_t kChunk = size_t(1) << kChunkBits;
    uint32_t base = kFirstCounter;
    size_t count = 0;
    std::vector<std::vector<T>> chunks;  // each reserved to kChunk: no reallocation
    T *Get(F_ObjHandleT id) {
        uint32_t c = CounterOf(id);
        if (c < base) return nullptr;
        size_t i = c - base;
        return i < count ? &chunks[i >> kChunkBits][i & (kChunk - 1)] : nullptr;
    }
    T &At(size_t i) { return chunks[i >> kChunkBits][i & (kChunk - 1)]; }
    size_t Size() const { return count; }
    // A new object, or {0, nullptr} (FA_errno set) when the kind has no id left.
    std::pair<F_ObjHandleT, T *> New(int kind) {
        F_ObjHandleT id = NewObjectId(kind);
        if (!id) return {0, nullptr};
        size_t i = CounterOf(id) - base;
        while (count <= i) {
            if ((count & (kChunk - 1)) == 0) {
                chunks.emplace_back();
                chunks.back().reserve(kChunk);
            }
            chunks.back().emplace_back();
            ++count;
        }
        return {id, &At(i)};
    }
    void Reset(int kind) {
        chunks.clear();
        count = 0;
        base = NextCounter(kind);
    }
};

struct Store {
    Pool<Document> docs;
    Pool<ElementDef> defs;
    Pool<Element, 10> elements;
    Pool<Flow> flows;
    std::map<int, Pool<NamedObject>> named;
    std::unordered_map<uint64_t, PropValue> stored;  // (object << 32 | number) -> value
    Session session;
};
// The store: made on first use; every later use is one load, without a function-local guard.
extern Store *theStore;
Store &MakeStore();
inline Store &TheStore() { return theStore ? *theStore : MakeStore(); }

// A new element of def (0 = text node) in doc, not linked anywhere.
F_ObjHandleT NewElement(F_ObjHandleT doc, F_ObjHandleT def);

// Derived objects (paragraphs, frames, pages): forget a document's, or all of them.
void ForgetDerived(Document &d);
void ResetDerived();

}  // namespace host
