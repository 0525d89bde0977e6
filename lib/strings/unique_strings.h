// Distinct texts in the order they arrived, with an index beside the list: the catalogues and
// offer lists that merge values from every element of a document keep each text once, and a
// text already held costs one look-up of the index, never a scan, a copy or an allocation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The index is open addressing over eight bytes per text (32 bits of the text's hash and the
// text's place in the list), half full at most, so even a list of millions of texts is looked up
// with about one memory access into the index and one into the list. It is built when first
// needed: a list taken over whole costs nothing until a text is looked up in it. The texts are
// kept in blocks of a fixed size, so the list never moves its texts while it grows and never
// asks for one block of memory the size of the whole list until it is taken.
class UniqueStrings {
  public:
    UniqueStrings() = default;
    // Takes over a list whose texts are distinct already.
    explicit UniqueStrings(std::vector<std::string> distinct);
    // Adds the text at the end unless an equal one is held; true when it was added.
    bool Add(std::string_view text);
    bool Add(std::string &&text);
    // Adds the text at the end even when an equal one is held (an equal text added later is found
    // held all the same).
    void Append(std::string text);
    // Adds the text as Add does, a little later: texts wait in a batch that is looked up in the
    // order of their places in the index, so that an index larger than the caches is walked from
    // its start to its end once a batch rather than jumped about once a text. Every other call
    // takes the waiting texts in first, in their order.
    void AddSoon(std::string_view text);
    bool Contains(std::string_view text);
    size_t size() {
        TakeInWaiting();
        return size_;
    }
    // The list, moved out; the index is left empty.
    std::vector<std::string> Take();

  private:
    // Indexes the texts not yet indexed and makes room for one more; answers the slot that holds
    // the text, or the empty slot where it would go, and the text's tag.
    size_t Place(std::string_view text, uint32_t &tag);
    size_t Slot(std::string_view text, uint32_t tag) const;
    // Adds the text (a view or a string to move) unless an equal one is held.
    template <class Text>
    bool Insert(Text &&text);
    // Grows the index so that `more` texts beyond the list fit without growing it again.
    void Grow(size_t more = 1);
    // Puts the texts of the list not yet indexed into the index (which has room for them).
    void IndexHeld();
    // Takes the waiting texts in (see AddSoon).
    void TakeInWaiting();
    const std::string &At(size_t place) const;
    void Push(std::string &&text);
    static constexpr size_t kBlock = 8192;
    std::vector<std::vector<std::string>> blocks_;  // the first one taken over whole, then kBlock each
    size_t size_ = 0;
    // The index's slots, made without being written: Grow writes each one once.
    struct Slots {
        std::unique_ptr<uint64_t[]> at;
        size_t n = 0;
        size_t size() const { return n; }
        bool empty() const { return n == 0; }
        uint64_t &operator[](size_t i) { return at[i]; }
        uint64_t operator[](size_t i) const { return at[i]; }
    };
    Slots slots_;       // 0: empty; else the tag above the list place + 1
    unsigned bits_ = 0;  // slots_ holds 2^bits_ slots (when not empty)
    size_t indexed_ = 0;           // the texts at places [0, indexed_) are in the index
    static constexpr size_t kWaiting = 4096;
    std::vector<std::string> waiting_;                   // texts given to AddSoon, not yet taken in
    const std::vector<std::string> *batch_ = nullptr;  // the batch being taken in: places from size_ on
};

}  // namespace qv
