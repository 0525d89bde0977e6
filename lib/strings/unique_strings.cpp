// Distinct texts with an index beside the list (see unique_strings.h).
#include "lib/strings/unique_strings.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

namespace qv {

namespace {

uint32_t TagOf(std::string_view text) {
    uint64_t h = std::hash<std::string_view>{}(text);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// The first slot a tag probes in a table of 2^bits slots: the top bits of the tag's spread, so
// that the slots follow the tag alone and growing needs no text hashed again. A table twice as
// large puts what slot s held at slot 2s or 2s + 1: growing walks both tables in order, never
// jumping about a table larger than the caches.
size_t Home(uint32_t tag, unsigned bits) {
    return static_cast<size_t>((uint64_t(tag) * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

uint64_t Entry(uint32_t tag, size_t place) { return (uint64_t(tag) << 32) | static_cast<uint32_t>(place + 1); }

// Asks for the memory at p ahead of its use where the compiler offers a way to; a hint only.
inline void Prefetch(const void *p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

}  // namespace

UniqueStrings::UniqueStrings(std::vector<std::string> distinct) : size_(distinct.size()) {
    if (size_) blocks_.push_back(std::move(distinct));
}

const std::string &UniqueStrings::At(size_t place) const {
    if (place >= size_) return (*batch_)[place - size_];  // a text of the batch being taken in
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
    for (size_t s = Home(tag, bits_);; s = (s + 1) & mask) {
        uint64_t e = slots_[s];
        if (!e) return s;
        if (static_cast<uint32_t>(e >> 32) == tag && At(static_cast<uint32_t>(e) - 1) == text) return s;
    }
}

void UniqueStrings::Grow(size_t more) {
    unsigned bits = slots_.empty() ? 4 : bits_ + 1;
    while ((size_ + more) * 2 > (size_t(1) << bits)) ++bits;
    const size_t n = size_t(1) << bits, mask = n - 1;
    Slots old = std::exchange(slots_, Slots{std::make_unique_for_overwrite<uint64_t[]>(n), n});
    bits_ = bits;
    // The new table is cleared a stretch at a time just ahead of the slots its entries go to, so
    // that each of its lines is cleared and filled while in the cache, not cleared whole first and
    // fetched again. The entries are taken from the old table's first empty slot on, in order; those
    // before it (a run that wrapped round the old table's end) come last, when all is clear.
    constexpr size_t kStretch = 1024;
    size_t clear = 0;  // slots [0, clear) are cleared
    auto put = [&](uint64_t e) {
        for (size_t s = Home(static_cast<uint32_t>(e >> 32), bits);; s = (s + 1) & mask) {
            for (; clear <= s; clear = std::min(n, clear + kStretch))
                std::fill(slots_.at.get() + clear, slots_.at.get() + std::min(n, clear + kStretch), uint64_t{0});
            if (!slots_[s]) {
                slots_[s] = e;
                return;
            }
        }
    };
    size_t first = 0;
    while (first < old.size() && old[first]) ++first;
    for (size_t i = first; i < old.size(); ++i)
        if (old[i]) put(old[i]);
    std::fill(slots_.at.get() + clear, slots_.at.get() + n, uint64_t{0});
    clear = n;
    for (size_t i = 0; i < first; ++i) put(old[i]);
}

void UniqueStrings::IndexHeld() {
    for (; indexed_ < size_; ++indexed_) {
        const std::string &held = At(indexed_);
        uint32_t t = TagOf(held);
        size_t s = Slot(held, t);
        if (!slots_[s]) slots_[s] = Entry(t, indexed_);
    }
}

size_t UniqueStrings::Place(std::string_view text, uint32_t &tag) {
    TakeInWaiting();
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    IndexHeld();
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

void UniqueStrings::AddSoon(std::string_view text) {
    if (waiting_.capacity() < kWaiting) waiting_.reserve(kWaiting);
    waiting_.emplace_back(text);
    if (waiting_.size() == kWaiting) TakeInWaiting();
}

void UniqueStrings::TakeInWaiting() {
    if (waiting_.empty()) return;
    std::vector<std::string> &batch = waiting_;  // emptied at the end, keeping its room
    const size_t n = batch.size();
    const size_t first = size_;  // the place the batch's first text is named by for now
    // Room for the whole batch first, so that the slots found below stay where they are; then the
    // texts not yet indexed (a list taken over whole) go into the index.
    if ((size_ + n) * 2 > slots_.size()) Grow(n);
    IndexHeld();
    // The batch in the order of the regions of the index its texts' first slots lie in (equal
    // texts keep their order), so that the index is visited from its start to its end.
    const unsigned regionBits = std::min(bits_, 12u);
    std::vector<uint32_t> tags(n), order(n), begin((size_t(1) << regionBits) + 1, 0);
    auto region = [&](uint32_t tag) { return Home(tag, bits_) >> (bits_ - regionBits); };
    for (size_t k = 0; k < n; ++k) ++begin[region(tags[k] = TagOf(batch[k])) + 1];
    for (size_t r = 1; r < begin.size(); ++r) begin[r] += begin[r - 1];
    for (size_t k = 0; k < n; ++k) order[begin[region(tags[k])]++] = static_cast<uint32_t>(k);
    // Each new text claims its slot, named for now by its place in the batch past the list; a text
    // met before (in the list or earlier in the batch) claims none. The first slots are asked for
    // a few texts ahead: an index larger than the caches then costs about one wait for memory per
    // stretch of texts rather than one per text.
    constexpr size_t kNone = ~size_t(0), kAhead = 16;
    std::vector<size_t> slot(n, kNone);
    batch_ = &batch;
    for (size_t j = 0; j < n; ++j) {
        if (j + kAhead < n) Prefetch(&slots_[Home(tags[order[j + kAhead]], bits_)]);
        const uint32_t k = order[j];
        size_t s = Slot(batch[k], tags[k]);
        if (slots_[s]) continue;
        slots_[s] = Entry(tags[k], first + k);
        slot[k] = s;
    }
    batch_ = nullptr;
    // The new texts join the list in their order; then the slots of those that moved up past a
    // text met before name their places there (a batch of new texts alone is named rightly).
    std::vector<uint32_t> place(n);
    for (size_t k = 0; k < n; ++k)
        if (slot[k] != kNone) {
            place[k] = static_cast<uint32_t>(size_);
            Push(std::move(batch[k]));
            ++indexed_;
        }
    if (size_ - first < n)
        for (uint32_t k : order)
            if (slot[k] != kNone && place[k] != first + k) slots_[slot[k]] = Entry(tags[k], place[k]);
    batch.clear();
}

bool UniqueStrings::Contains(std::string_view text) {
    uint32_t tag = 0;
    return slots_[Place(text, tag)] != 0;
}

std::vector<std::string> UniqueStrings::Take() {
    TakeInWaiting();
    // The index and the batch's room go before the list is gathered, so that the list can take
    // their memory rather than fresh memory.
    slots_ = Slots{};
    std::vector<std::string>().swap(waiting_);
    bits_ = 0;
    std::vector<std::string> out;
    if (blocks_.size() == 1) {
        out = std::move(blocks_.front());
    } else {
        out.reserve(size_);
        for (std::vector<std::string> &b : blocks_) {
            std::move(b.begin(), b.end(), std::back_inserter(out));
            std::vector<std::string>().swap(b);  // each block goes as soon as it is gathered
        }
    }
    blocks_.clear();
    size_ = indexed_ = 0;
    return out;
}

}  // namespace qv
