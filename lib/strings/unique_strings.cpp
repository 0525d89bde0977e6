// Distinct texts with an index beside the list (see unique_strings.h).
#include "lib/strings/unique_strings.h"

#include <functional>
#include <iterator>
#include <utility>

namespace qv {

namespace {

uint32_t TagOf(std::string_view text) {
    uint64_t h = std::hash<std::string_view>{}(text);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// The first slot a tag probes in a table of `mask + 1` slots: the tag's bits spread over the
// table, so that the slots follow the tag alone and growing needs no text hashed again.
size_t Home(uint32_t tag, size_t mask) {
    return static_cast<size_t>((uint64_t(tag) * 0x9E3779B97F4A7C15ull) >> 20) & mask;
}

uint64_t Entry(uint32_t tag, size_t place) { return (uint64_t(tag) << 32) | static_cast<uint32_t>(place + 1); }

}  // namespace

UniqueStrings::UniqueStrings(std::vector<std::string> distinct) : size_(distinct.size()) {
    if (size_) blocks_.push_back(std::move(distinct));
}

const std::string &UniqueStrings::At(size_t place) const {
    size_t first = blocks_.front().size();
    if (place < first) return blocks_.front()[place];
    place -= first;
    return blocks_[1 + place / kBlock][place % kBlock];
}

void UniqueStrings::Push(std::string &&text) {
    // A block is filled to its capacity and never grown: a full block is followed by a new one.
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity() ||
        (blocks_.size() > 1 && blocks_.back().size() == kBlock)) {
        blocks_.emplace_back();
        blocks_.back().reserve(kBlock);
    }
    blocks_.back().push_back(std::move(text));
    ++size_;
}

size_t UniqueStrings::Slot(std::string_view text, uint32_t tag) const {
    const size_t mask = slots_.size() - 1;
    for (size_t s = Home(tag, mask);; s = (s + 1) & mask) {
        uint64_t e = slots_[s];
        if (!e) return s;
        if (static_cast<uint32_t>(e >> 32) == tag && At(static_cast<uint32_t>(e) - 1) == text) return s;
    }
}

void UniqueStrings::Grow() {
    size_t size = slots_.empty() ? 16 : slots_.size() * 2;
    while ((size_ + 1) * 2 > size) size *= 2;
    std::vector<uint64_t> old = std::exchange(slots_, std::vector<uint64_t>(size, 0));
    const size_t mask = size - 1;
    for (uint64_t e : old) {
        if (!e) continue;
        size_t s = Home(static_cast<uint32_t>(e >> 32), mask);
        while (slots_[s]) s = (s + 1) & mask;
        slots_[s] = e;
    }
}

size_t UniqueStrings::Place(std::string_view text, uint32_t &tag) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    for (; indexed_ < size_; ++indexed_) {
        const std::string &held = At(indexed_);
        uint32_t t = TagOf(held);
        size_t s = Slot(held, t);
        if (!slots_[s]) slots_[s] = Entry(t, indexed_);
    }
    tag = TagOf(text);
    return Slot(text, tag);
}

template <class Text>
bool UniqueStrings::Insert(Text &&text) {
    uint32_t tag = 0;
    size_t s = Place(text, tag);
    if (slots_[s]) return false;
    slots_[s] = Entry(tag, size_);
    Push(std::string(std::forward<Text>(text)));
    ++indexed_;
    return true;
}

bool UniqueStrings::Add(std::string_view text) { return Insert(text); }

bool UniqueStrings::Add(std::string &&text) { return Insert(std::move(text)); }

void UniqueStrings::Append(std::string text) {
    uint32_t tag = 0;
    size_t s = Place(text, tag);
    if (!slots_[s]) slots_[s] = Entry(tag, size_);
    Push(std::move(text));
    ++indexed_;
}

bool UniqueStrings::Contains(std::string_view text) {
    uint32_t tag = 0;
    return slots_[Place(text, tag)] != 0;
}

std::vector<std::string> UniqueStrings::Take() {
    std::vector<std::string> out;
    if (blocks_.size() == 1) {
        out = std::move(blocks_.front());
    } else {
        out.reserve(size_);
        for (std::vector<std::string> &b : blocks_) std::move(b.begin(), b.end(), std::back_inserter(out));
    }
    blocks_.clear();
    size_ = indexed_ = 0;
    slots_.clear();
    return out;
}

}  // namespace qv
