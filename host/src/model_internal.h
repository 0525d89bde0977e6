// Internals of the object model shared by its source files: the pools and the store.
#pragma once

#include <deque>
#include <map>

#include "model.h"

namespace host {

uint32_t NextCounter(int kind);

// Objects of one kind, indexed by (counter - base). base moves on at a reset so that ids stay
// unique for the whole process.
template <class T>
struct Pool {
    uint32_t base = kFirstCounter;
    std::deque<T> items;
    T *Get(F_ObjHandleT id) {
        uint32_t c = CounterOf(id);
        if (c < base) return nullptr;
        size_t i = c - base;
        return i < items.size() ? &items[i] : nullptr;
    }
    std::pair<F_ObjHandleT, T *> New(int kind) {
        F_ObjHandleT id = NewObjectId(kind);
        size_t i = CounterOf(id) - base;
        while (items.size() <= i) items.emplace_back();
        return {id, &items[i]};
    }
    void Reset(int kind) {
        items.clear();
        base = NextCounter(kind);
    }
};

struct Store {
    Pool<Document> docs;
    Pool<ElementDef> defs;
    Pool<Element> elements;
    Pool<Flow> flows;
    std::map<int, Pool<NamedObject>> named;
    std::unordered_map<uint64_t, PropValue> stored;  // (object << 32 | number) -> value
    Session session;
};
Store &TheStore();

// A new element of def (0 = text node) in doc, not linked anywhere.
F_ObjHandleT NewElement(F_ObjHandleT doc, F_ObjHandleT def);

// Derived objects (paragraphs, frames, pages): forget a document's, or all of them.
void ForgetDerived(Document &d);
void ResetDerived();

}  // namespace host
