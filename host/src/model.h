// The host's object model: the object store, the session, documents and their element trees,
// and the property dispatch every F_Api property call goes through.
//
// How to use it (host code only; the plug-in sees fdk.h alone):
//
//   Ids. An id is the kind in the top byte and a per-kind counter from 1000 below it. Fresh ids
//   are handed out first; only once a kind's fresh ids are used up are the ids of closed
//   documents' elements and paragraphs made again, the longest closed first, so that a stale id
//   stays stale as long as it can. NewObjectId(kind) hands out the next id of any kind; kinds kept in other
//   files (menus, dialogs, books) take their ids from it and register a validity test with
//   RegisterKind(kind, fn) so that the property calls, F_ApiGetObjectType, F_ApiClose and
//   F_ApiDelete reach them (RegisterCloser / RegisterDeleter / RegisterNamedKind).
//
//   Properties. RegisterIntAccessors / RegisterStringAccessors add an Int, Id, Metric or String
//   property of a kind as plain functions that take and give the value itself; RegisterProperty
//   (kind, number, type, getter, setter) adds any other through a property value.
//   F_ApiGetId/GetInt/GetString/... look it up by (kind, number) after checking the object with
//   the kind's validity test, and call the typed accessors directly; the generic calls reach
//   them too. RegisterStoredProperty keeps a value per object that is read back as written. Int,
//   Id and Metric properties are interchangeable between the integer calls.
//
//   Building a document (the file reader, tests):
//     F_ObjHandleT doc = NewDocument(path, label, visible);      // opens it in the session
//     F_ObjHandleT def = AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
//     AddAttributeDef(def, {"id", FV_AT_UNIQUE_ID, ...});
//     F_ObjHandleT flow = MainFlow(doc);                          // "Main" exists already
//     F_ObjHandleT root = AppendElement(doc, 0, def, flow);       // parent 0: the flow's root
//     F_ObjHandleT p = AppendElement(doc, root, def);
//     AppendText(doc, p, "some text");                            // joins an adjacent text node
//     SetAttribute(doc, p, "id", {"a1"});
//   Reading back: Doc(doc), Def(def), Elem(e) give the structures below; walk definitions with
//   Doc(doc)->defs, flows with Doc(doc)->flows, the tree with first/next, attribute values with
//   Elem(e)->attrs (name atoms, AtomName()), text with Elem(e)->text (text nodes: def == 0).
//   The paragraph format of a definition decides paragraphs (see model_layout.cpp); an element
//   can override it with SetFormsParagraph(e, yes/no) (plain XML decides per element).
//
//   Attribute values. An element stores only the values set on it. An attribute without a value
//   reads as an empty value list; its definition's defaults are in the attribute definition.
//   A file reader that wants a default to be visible as a value (DTD defaults, which XPath must
//   see) sets it on the element when it builds it.
//
//   ResetSession() closes everything and restores the session's defaults (tests).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fdk.h"

namespace host {

// ---- ids -------------------------------------------------------------------------------------

constexpr uint32_t kFirstCounter = 1000;
constexpr uint32_t kLastCounter = 0xFFFFFF;  // the counter fills the three bytes below the kind
inline F_ObjHandleT MakeId(int kind, uint32_t counter) { return (uint32_t(kind) << 24) | counter; }
inline int KindOf(F_ObjHandleT id) { return int(id >> 24); }
inline uint32_t CounterOf(F_ObjHandleT id) { return id & 0xFFFFFFu; }
// Index of an id in its kind's store (counter - 1000); a large value for counters below 1000.
inline uint32_t IndexOf(F_ObjHandleT id) { return CounterOf(id) - kFirstCounter; }

// The fresh counters of each kind (by its byte): the next one and the last one there is. Plain
// data, set before any code runs, so that NewObjectId's common path is inline.
struct FreshIds {
    uint32_t next = kFirstCounter;
    uint32_t last = kLastCounter;
};
extern FreshIds gFreshIds[256];
// NewObjectId once the kind's fresh ids are used up.
F_ObjHandleT ReusedObjectId(int kind);
// The next id of a kind (the counter is kept per kind for the whole process): a fresh one while
// there are any, then the oldest released one; 0 with FA_errno FE_NoMoreIds when there is neither,
// so that no id spills into the kind byte.
inline F_ObjHandleT NewObjectId(int kind) {
    FreshIds &k = gFreshIds[static_cast<size_t>(kind) & 0xFF];
    if (k.next <= k.last) [[likely]] return MakeId(kind, k.next++);
    return ReusedObjectId(kind);
}
// True when `count` more ids of the kind can be made; otherwise FA_errno is FE_NoMoreIds. Edits
// that make several objects ask first, so that they do all of their work or none of it.
bool HasIdsLeft(int kind, size_t count);
// Gives a dead object's id back: it is made again once the kind's fresh ids are used up, after
// every id released before it. The caller makes sure nothing live answers to it any more.
void ReleaseObjectId(F_ObjHandleT id);
// Tests: sets the counter the next id of a kind is made from (to reach the last id quickly).
// Answers the counter it replaces.
uint32_t SetNextObjectCounter(int kind, uint32_t counter);
// Tests: lowers (or restores, with kLastCounter) the last fresh counter of a kind, so that a test
// can use the fresh ids up; the released ids waiting to be made again are forgotten (they stay
// dead), so that the test starts from a known state. Answers the limit it replaces.
uint32_t SetLastObjectCounter(int kind, uint32_t last);

// A unique id (FP_Unique) never handed out before in the session: NewUniqueId(), inline below
// with the store.
// A unique id read back from a file: the session's fresh ones go on past it.
void KeepUniqueIdsPast(IntT unique);

// Sets FA_errno (a failing call); returns false so callers can `return Fail(...)`.
bool Fail(IntT code);

// ---- kinds kept elsewhere ---------------------------------------------------------------------

// valid(doc, obj): the object exists and is read with that document id (0 for session objects).
using ValidFn = std::function<bool(F_ObjHandleT doc, F_ObjHandleT obj)>;
void RegisterKind(int kind, ValidFn valid);
// True when obj (or the session, obj 0 with doc 0) is a live object read with doc.
bool ObjectValid(F_ObjHandleT doc, F_ObjHandleT obj);
// The validity of the kinds every edit names, which ObjectValid answers without the registry.
bool DocValid(F_ObjHandleT doc, F_ObjHandleT obj);
bool ElementDefValid(F_ObjHandleT doc, F_ObjHandleT obj);
bool ElementValid(F_ObjHandleT doc, F_ObjHandleT obj);
bool PgfValid(F_ObjHandleT doc, F_ObjHandleT obj);  // model_layout.cpp

// F_ApiClose / F_ApiDelete of other kinds; return false (and set FA_errno) on failure.
void RegisterCloser(int kind, std::function<bool(F_ObjHandleT obj, IntT flags)> close);
void RegisterDeleter(int kind, std::function<bool(F_ObjHandleT doc, F_ObjHandleT obj)> del);
// F_ApiGetNamedObject / F_ApiNewNamedObject of other kinds (may be empty functions).
void RegisterNamedKind(int kind, std::function<F_ObjHandleT(F_ObjHandleT doc, const std::string &name)> get,
                       std::function<F_ObjHandleT(F_ObjHandleT doc, const std::string &name)> create);

// ---- property dispatch ----------------------------------------------------------------------

enum class PropType : uint8_t { Int, Id, Metric, String, Strings, Ints, Metrics, TextLoc, TextRange, ElementRange };

struct PropValue {
    IntT i = 0;                     // Int, Id, Metric
    std::string s;                  // String
    std::vector<std::string> ss;    // Strings
    std::vector<IntT> is;           // Ints, Metrics
    F_TextRangeT tr{};              // TextLoc (beg), TextRange
    F_ElementRangeT er{};           // ElementRange
};

// A getter fills out and answers true; false means failure (it sets FA_errno itself or the
// dispatcher sets FE_BadObjId). A property without setter is read-only.
using PropGetter = std::function<bool(F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out)>;
using PropSetter = std::function<bool(F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in)>;
void RegisterProperty(int kind, int number, PropType type, PropGetter get, PropSetter set = nullptr);
// A read-only integer property (Int, Id or Metric) read by a plain function, which the integer
// calls reach without a property value or a type-erased call; it answers as a getter does.
// With checksObject the getter itself answers false for an object that is not valid in doc, so a
// read that succeeds needs no check of the object first (a failed one takes the checked path).
using IntGetter = bool (*)(F_ObjHandleT doc, F_ObjHandleT obj, IntT &out);
void RegisterIntProperty(int kind, int number, PropType type, IntGetter get, bool checksObject = false);
// Typed accessors of the scalar properties: plain functions the F_ApiGet/Set calls of the
// property's type reach with the value itself (no property value, no type-erased call); the
// generic calls (F_ApiGetProps, GetProperty, ...) reach the same functions. `arg` is the
// registration's own context (a property number, a kind, a kept value), handed back on each call.
// They answer as getters and setters do: false on failure, with FA_errno set or left for the
// dispatcher to set (FE_BadObjId for a read, FE_BadParameter for a write).
struct PropArg {
    IntT n = 0;
    const void *p = nullptr;
};
using IntRead = bool (*)(const PropArg &arg, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out);
using IntWrite = bool (*)(const PropArg &arg, F_ObjHandleT doc, F_ObjHandleT obj, IntT in);
using StringRead = bool (*)(const PropArg &arg, F_ObjHandleT doc, F_ObjHandleT obj, std::string &out);
using StringWrite = bool (*)(const PropArg &arg, F_ObjHandleT doc, F_ObjHandleT obj, std::string_view in);
// An Int, Id or Metric property; without set it is read-only.
void RegisterIntAccessors(int kind, int number, PropType type, IntRead get, IntWrite set = nullptr, PropArg arg = {});
// A String property; without set it is read-only.
void RegisterStringAccessors(int kind, int number, StringRead get, StringWrite set = nullptr, PropArg arg = {});
// A value kept per object, read back as written; `initial` until written.
void RegisterStoredProperty(int kind, int number, PropType type, PropValue initial = {});
// The registered type of (kind, number), false when none.
bool PropertyType(int kind, int number, PropType &type);
// Reads / writes through the table with the same checks as the F_Api calls.
bool GetProperty(F_ObjHandleT doc, F_ObjHandleT obj, int number, PropValue &out);
bool SetProperty(F_ObjHandleT doc, F_ObjHandleT obj, int number, const PropValue &in);
// Numbers registered for a kind, ascending (F_ApiGetProps).
std::vector<int> PropertyNumbers(int kind);

// ---- interned names -------------------------------------------------------------------------

uint32_t Atom(std::string_view name);
const std::string &AtomName(uint32_t atom);

// ---- documents and their objects ------------------------------------------------------------

struct AttrDef {
    std::string name;
    IntT type = FV_AT_STRING;
    bool required = false;
    bool readOnly = false;
    std::vector<std::string> choices;
    std::vector<std::string> defaults;
    std::string rangeMin, rangeMax;
    uint32_t atom = 0;  // filled by AddAttributeDef
};

struct ElementDef {
    F_ObjHandleT id = 0;
    F_ObjHandleT doc = 0;  // 0 once deleted
    std::string name;
    IntT type = FV_FO_CONTAINER;
    std::string pgfFormat;  // non-empty: its elements begin paragraphs of this format
    std::vector<AttrDef> attrs;
    F_ObjHandleT next = 0;  // 1572
    // Index of a declared attribute by atom; -1 when undeclared.
    int AttrIndex(uint32_t atom) const;
};

// An attribute's values: a list of strings that holds a single value (the usual case) without an
// allocation of its own. Read like a vector; it converts to one.
class AttrValues {
  public:
    AttrValues() = default;
    AttrValues(std::vector<std::string> v) { Assign(std::move(v)); }
    AttrValues(std::initializer_list<std::string> l) : AttrValues(std::vector<std::string>(l)) {}
    AttrValues(const AttrValues &) = default;
    AttrValues(AttrValues &&o) noexcept
        : one_(std::move(o.one_)), hasOne_(std::exchange(o.hasOne_, false)), many_(std::move(o.many_)) {}
    AttrValues &operator=(const AttrValues &) = default;
    AttrValues &operator=(AttrValues &&o) noexcept {
        one_ = std::move(o.one_);
        hasOne_ = std::exchange(o.hasOne_, false);
        many_ = std::move(o.many_);
        o.many_.clear();
        return *this;
    }
    AttrValues &operator=(std::vector<std::string> v) {
        Assign(std::move(v));
        return *this;
    }

    size_t size() const { return many_.empty() ? (hasOne_ ? 1 : 0) : many_.size(); }
    bool empty() const { return size() == 0; }
    const std::string *begin() const { return many_.empty() ? &one_ : many_.data(); }
    const std::string *end() const { return begin() + size(); }
    const std::string &operator[](size_t i) const { return begin()[i]; }
    const std::string &front() const { return *begin(); }
    operator std::vector<std::string>() const { return std::vector<std::string>(begin(), end()); }
    friend bool operator==(const AttrValues &a, const AttrValues &b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }
    friend bool operator==(const AttrValues &a, const std::vector<std::string> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

    // n values; those kept keep their storage, new ones are empty.
    void Resize(size_t n) {
        if (n <= 1) {
            if (!many_.empty()) {
                if (n == 1) one_ = std::move(many_.front());
                many_.clear();
            }
            hasOne_ = n == 1;
            if (n == 0) one_.clear();
        } else if (many_.empty()) {
            many_.resize(n);
            if (hasOne_) many_.front() = std::move(one_);
            hasOne_ = false;
            one_.clear();
        } else {
            many_.resize(n);
        }
    }
    // Value i (below size()) for writing over.
    std::string &At(size_t i) { return many_.empty() ? one_ : many_[i]; }

  private:
    void Assign(std::vector<std::string> v) {
        many_.clear();
        hasOne_ = v.size() == 1;
        one_ = hasOne_ ? std::move(v.front()) : std::string();
        if (v.size() > 1) many_ = std::move(v);
    }
    std::string one_;      // the value when there is one
    bool hasOne_ = false;
    std::vector<std::string> many_;  // every value when there are two or more
};

struct Attr {
    uint32_t name;  // atom
    AttrValues values;
};

// An element's attributes in one pointer: null for none, else a block of the count and the room
// followed by the attributes themselves. Used like a vector of them.
class AttrList {
  public:
    AttrList() = default;
    AttrList(const AttrList &o) { Append(o.begin(), o.end()); }
    AttrList(AttrList &&o) noexcept : block_(std::exchange(o.block_, nullptr)) {}
    AttrList &operator=(const AttrList &o) {
        if (this != &o) *this = AttrList(o);
        return *this;
    }
    AttrList &operator=(AttrList &&o) noexcept {
        std::swap(block_, o.block_);
        return *this;
    }
    AttrList &operator=(std::vector<Attr> &&v) {
        AttrList made;
        made.reserve(v.size());
        for (Attr &a : v) made.push_back(std::move(a));
        return *this = std::move(made);
    }
    AttrList &operator=(const std::vector<Attr> &v) {
        AttrList made;
        made.Append(v.data(), v.data() + v.size());
        return *this = std::move(made);
    }
    ~AttrList() { clear(); }

    Attr *begin() { return block_ ? Items() : nullptr; }
    Attr *end() { return block_ ? Items() + Head().size : nullptr; }
    const Attr *begin() const { return block_ ? Items() : nullptr; }
    const Attr *end() const { return block_ ? Items() + Head().size : nullptr; }
    size_t size() const { return block_ ? Head().size : 0; }
    bool empty() const { return size() == 0; }
    Attr &operator[](size_t i) { return Items()[i]; }
    const Attr &operator[](size_t i) const { return Items()[i]; }
    Attr &back() { return Items()[Head().size - 1]; }
    std::vector<Attr> ToVector() const { return std::vector<Attr>(begin(), end()); }

    void reserve(size_t n) {
        if (n > (block_ ? Head().room : 0)) Grow(n);
    }
    void push_back(Attr &&a) {
        if (size() == (block_ ? Head().room : 0)) Grow(std::max<size_t>(2 * size(), 1));
        std::construct_at(Items() + Head().size, std::move(a));
        ++Head().size;
    }
    void push_back(const Attr &a) { push_back(Attr(a)); }
    void erase(Attr *at) {
        std::move(at + 1, end(), at);
        std::destroy_at(end() - 1);
        --Head().size;
    }
    void clear() {
        if (!block_) return;
        std::destroy(begin(), end());
        std::allocator<std::byte>().deallocate(block_, Bytes(Head().room));
        block_ = nullptr;
    }

  private:
    struct Header {
        uint32_t size, room;
    };
    static constexpr size_t kItems = alignof(Attr) > sizeof(Header) ? alignof(Attr) : sizeof(Header);
    static size_t Bytes(size_t room) { return kItems + room * sizeof(Attr); }
    Header &Head() const { return *std::launder(reinterpret_cast<Header *>(block_)); }
    Attr *Items() const { return reinterpret_cast<Attr *>(block_ + kItems); }
    void Append(const Attr *from, const Attr *to) {
        reserve(static_cast<size_t>(to - from));
        for (; from != to; ++from) push_back(*from);
    }
    // Moves the attributes into a block with room for n.
    void Grow(size_t n) {
        if (n > std::numeric_limits<uint32_t>::max()) throw std::length_error("AttrList: too many attributes");
        std::byte *made = std::allocator<std::byte>().allocate(Bytes(n));
        std::construct_at(reinterpret_cast<Header *>(made), Header{static_cast<uint32_t>(size()), static_cast<uint32_t>(n)});
        Attr *to = reinterpret_cast<Attr *>(made + kItems);
        if (block_) {
            static_assert(std::is_nothrow_move_constructible_v<Attr>);
            std::uninitialized_move(begin(), end(), to);
            std::destroy(begin(), end());
            std::allocator<std::byte>().deallocate(block_, Bytes(Head().room));
        }
        block_ = made;
    }
    std::byte *block_ = nullptr;
};

// Paragraph mode of an element: by its definition, or forced.
enum : uint8_t { kPgfByDef = 0, kPgfYes = 1, kPgfNo = 2 };

// What a node of the tree is beside an element or a text node: a comment or a processing
// instruction of a plain XML file, in its own place among its siblings.
enum : uint8_t { kNotMisc = 0, kMiscComment = 1, kMiscPi = 2 };

// The texts of the nodes of a document read from a file, in the blocks the reader filled: each
// text is its length (four bytes, as a uint32_t) followed by its bytes. A node's NodeText points
// into a block; the blocks live until the store is cleared, when the document closes.
class TextStore {
  public:
    static constexpr size_t kLength = sizeof(uint32_t);
    // Takes the blocks over; the index of the first of them in the store.
    size_t Adopt(std::vector<std::unique_ptr<char[]>> &&blocks) {
        size_t first = blocks_.size();
        for (auto &b : blocks) blocks_.push_back(std::move(b));
        return first;
    }
    const char *Block(size_t i) const { return blocks_[i].get(); }
    void Clear() { blocks_.clear(); }

  private:
    std::vector<std::unique_ptr<char[]>> blocks_;
};

// The text of a node in sixteen bytes: up to fifteen characters of its own in place, more of its
// own in a block on the heap, or a text its document keeps in its TextStore (the texts of a
// document read from a file). Read like a string_view; an edit first gives the node its own copy.
//
// The sixteen bytes: in place, the characters, then their count in the last byte; otherwise a
// pointer to a block that starts with four bytes of its own (a kept text's length, or the room of
// a block of the node's own) before the characters, the count of characters in the next four
// bytes, and in the last byte which of the two the block is.
class NodeText {
  public:
    static constexpr size_t npos = std::string::npos;
    // A text as a TextStore keeps it: its length, then its bytes.
    static std::string_view Kept(const char *kept) {
        uint32_t n;
        std::memcpy(&n, kept, sizeof n);
        return std::string_view(kept + sizeof n, n);
    }
    NodeText() = default;
    NodeText(const NodeText &o) {
        if (o.raw_[kTag] == kOwn) Set(o.view(), {}, {}, 0);
        else std::memcpy(raw_, o.raw_, sizeof raw_);  // in place, or the same kept text
    }
    NodeText(NodeText &&o) noexcept {
        std::memcpy(raw_, o.raw_, sizeof raw_);
        o.raw_[kTag] = 0;
    }
    NodeText &operator=(const NodeText &o) {
        if (this != &o) {
            if (o.raw_[kTag] == kOwn) {
                assign(o.view());
            } else {
                Free();
                std::memcpy(raw_, o.raw_, sizeof raw_);
            }
        }
        return *this;
    }
    NodeText &operator=(NodeText &&o) noexcept {
        if (this != &o) {
            Free();
            std::memcpy(raw_, o.raw_, sizeof raw_);
            o.raw_[kTag] = 0;
        }
        return *this;
    }
    ~NodeText() { Free(); }

    std::string_view view() const {
        unsigned char tag = raw_[kTag];
        if (tag <= kInPlace) return std::string_view(reinterpret_cast<const char *>(raw_), tag);
        return std::string_view(Block() + kHead, Count());
    }
    operator std::string_view() const { return view(); }
    size_t size() const { return view().size(); }
    bool empty() const { return size() == 0; }
    const char *data() const { return view().data(); }
    std::string substr(size_t pos, size_t n = npos) const { return std::string(view().substr(pos, n)); }
    friend bool operator==(const NodeText &a, std::string_view b) { return a.view() == b; }
    friend std::string operator+(std::string a, const NodeText &b) { return a.append(b.view()); }
    friend std::string operator+(const NodeText &a, std::string_view b) { return std::string(a.view()).append(b); }

    NodeText &operator=(std::string_view s) {
        assign(s);
        return *this;
    }
    // s may be (part of) this text itself: the new text is made before the old one is let go.
    void assign(std::string_view s) { Set(s, {}, {}, 0); }
    NodeText &append(std::string_view s) {
        std::string_view v = view();
        if (!s.empty() && raw_[kTag] == kOwn && Room() - v.size() >= s.size()) {
            // s lies before the end of the characters if it is part of them: no overlap
            std::memmove(Chars() + v.size(), s.data(), s.size());
            SetCount(v.size() + s.size());
        } else if (!s.empty()) {
            Set(v, s, {}, 1);
        }
        return *this;
    }
    NodeText &operator+=(std::string_view s) { return append(s); }
    void insert(size_t pos, std::string_view s) {
        std::string_view v = view();
        if (pos > v.size()) throw std::out_of_range("NodeText::insert");
        Set(v.substr(0, pos), s, v.substr(pos), 1);
    }
    void erase(size_t pos, size_t n = npos) {
        std::string_view v = view();
        if (pos > v.size()) throw std::out_of_range("NodeText::erase");
        n = std::min(n, v.size() - pos);
        if (n == 0) return;
        if (raw_[kTag] == kOwn) {
            std::memmove(Chars() + pos, v.data() + pos + n, v.size() - pos - n);
            SetCount(v.size() - n);
        } else {
            Set(v.substr(0, pos), v.substr(pos + n), {}, 0);
        }
    }
    // The text of a node being built from a file: one its document's store keeps (nullptr: none).
    void Share(const char *kept) {
        Free();
        raw_[kTag] = 0;
        if (!kept) return;
        uint32_t n;
        std::memcpy(&n, kept, sizeof n);
        SetBlock(kept, n, kKept);
    }

  private:
    static constexpr size_t kTag = 15;           // the last byte
    static constexpr unsigned char kInPlace = 15;  // 0-15: that many characters in place
    static constexpr unsigned char kOwn = 16;      // a block of the node's own
    static constexpr unsigned char kKept = 17;     // a text of the document's store
    static constexpr size_t kHead = sizeof(uint32_t);  // a block's first bytes: length or room

    const char *Block() const {
        const char *b;
        std::memcpy(&b, raw_, sizeof b);
        return b;
    }
    char *Chars() { return const_cast<char *>(Block()) + kHead; }
    size_t Count() const {
        uint32_t n;
        std::memcpy(&n, raw_ + sizeof(char *), sizeof n);
        return n;
    }
    void SetCount(size_t n) {
        uint32_t c = static_cast<uint32_t>(n);
        std::memcpy(raw_ + sizeof(char *), &c, sizeof c);
    }
    size_t Room() const {
        uint32_t n;
        std::memcpy(&n, Block(), sizeof n);
        return n;
    }
    void SetBlock(const char *b, size_t count, unsigned char tag) {
        std::memcpy(raw_, &b, sizeof b);
        SetCount(count);
        raw_[kTag] = tag;
    }
    void Free() {
        if (raw_[kTag] != kOwn) return;
        std::allocator<char>().deallocate(const_cast<char *>(Block()), kHead + Room());
    }
    static void Join(char *to, std::string_view a, std::string_view b, std::string_view c) {
        for (std::string_view part : {a, b, c}) {
            if (part.empty()) continue;  // an empty view's data may be null
            std::memcpy(to, part.data(), part.size());
            to += part.size();
        }
    }
    // Makes the text a + b + c (any of which may lie in this text); with `spare`, room for more
    // is kept when the text goes to the heap, as a string's does when it grows.
    void Set(std::string_view a, std::string_view b, std::string_view c, int spare) {
        size_t n = a.size() + b.size() + c.size();
        if (n <= kInPlace) {
            char made[sizeof raw_];
            Join(made, a, b, c);
            Free();
            std::memcpy(raw_, made, n);
            raw_[kTag] = static_cast<unsigned char>(n);
            return;
        }
        constexpr size_t kMost = std::numeric_limits<uint32_t>::max() - kHead;
        if (n > kMost) throw std::length_error("NodeText: text too long");
        size_t room = n;
        if (spare) {
            size_t had = raw_[kTag] == kOwn ? Room() : 0;
            room = std::max(room, std::min(kMost, std::max<size_t>(2 * had, 32)));
        }
        char *made = std::allocator<char>().allocate(kHead + room);
        uint32_t r = static_cast<uint32_t>(room);
        std::memcpy(made, &r, sizeof r);
        Join(made + kHead, a, b, c);
        Free();
        SetBlock(made, n, kOwn);
    }

    alignas(8) unsigned char raw_[16] = {};
};
static_assert(sizeof(NodeText) == 16);

struct Element {
    F_ObjHandleT doc = 0;  // 0 once deleted
    F_ObjHandleT def = 0;  // 0: untagged text node; kMiscDef: a comment or instruction
    F_ObjHandleT parent = 0, first = 0, last = 0, prev = 0, next = 0;
    IntT unique = 0;       // 21
    F_ObjHandleT flow = 0; // set on the highest-level element of a flow
    uint8_t pgfMode = kPgfByDef;
    uint8_t misc = kNotMisc;
    NodeText text;         // text nodes; a comment's text; an instruction's target, a space and its data
    AttrList attrs;
};
static_assert(sizeof(Element) <= 64, "the walks read many elements: keep the record small");

// The definition of comment and instruction nodes: none of the catalog (Def() finds nothing), so
// the host's walks and edits take such a node for an empty inline element that holds no text and
// begins no paragraph. An action on a neighbour leaves it in its place; the element links the
// plug-in reads (first child, next and previous sibling) pass over it.
constexpr F_ObjHandleT kMiscDef = (F_ObjHandleT(FO_ElementDef) << 24) | 1;

struct Flow {
    F_ObjHandleT id = 0;
    F_ObjHandleT doc = 0;
    std::string name;
    F_ObjHandleT root = 0;  // highest-level element, 0 when unstructured
};

// Formats and other named objects of a document (kinds 27, 29, 32, 33, 34, 35, 37, 66).
struct NamedObject {
    F_ObjHandleT id = 0;
    F_ObjHandleT doc = 0;
    std::string name;
};

struct Selection {
    bool textView = false;  // last set through 109 (else 1494)
    F_ElementRangeT er{};
    F_TextRangeT tr{};
};

struct Layout;  // paragraphs, frames, pages (model_layout.cpp)

struct Document {
    F_ObjHandleT id = 0;
    bool open = false;
    std::string path, label;
    std::string untitledLabel;  // an untitled copy of a template: the label it opened with
    IntT inFront = 0, left = 0, top = 0, width = 600, height = 800, visible = 1, modified = 0;
    std::vector<F_ObjHandleT> flows;
    F_ObjHandleT mainFlow = 0;
    std::vector<F_ObjHandleT> defs;
    std::unordered_map<std::string, F_ObjHandleT> defByName;
    F_ObjHandleT lastDefFound = 0;  // the definition FindElementDef found last
    // The first definition of each table kind (table to cell), found once: definitions are only
    // added at the end and keep their kind, so the first of a kind stays first.
    F_ObjHandleT tableDefs[7] = {};
    std::unordered_map<int, std::vector<F_ObjHandleT>> named;  // per kind, in creation order
    Selection sel;
    // Elements deleted from the document: their ids stay dead while it is open and are released
    // with the others when it closes.
    std::vector<F_ObjHandleT> deadElements;
    IntT pgfsPerPage = 40;
    std::shared_ptr<Layout> layout;  // built on demand; kept up to date or reset by edits
    TextStore texts;  // the texts of the nodes read from its file, until it closes
    Document();
    Document(Document &&) noexcept;
    Document &operator=(Document &&) noexcept;
    ~Document();
};

inline Document *Doc(F_ObjHandleT doc);         // open document or nullptr
inline ElementDef *Def(F_ObjHandleT def);       // live definition or nullptr
inline Element *Elem(F_ObjHandleT elem);        // live element or nullptr
Flow *FlowOf(F_ObjHandleT flow);         // live flow or nullptr
NamedObject *Named(F_ObjHandleT obj);    // live named object (formats, colours, ...) or nullptr
// The element if it is live and belongs to doc.
inline Element *ElemIn(F_ObjHandleT doc, F_ObjHandleT elem);

// ---- session --------------------------------------------------------------------------------

struct Session {
    IntT versionMajor = 16, versionMinor = 0;
    std::string clientDir, hostDir;
    IntT language = 1;
    F_ObjHandleT activeDoc = 0, activeBook = 0;
    std::vector<F_ObjHandleT> openDocs;   // opening order
    std::vector<F_ObjHandleT> openBooks;  // opening order (books are kept elsewhere)
    IntT nextUnique = 1000;               // unique ids are never handed out twice in a session
};
Session &TheSession();
// Closes every document and forgets every object; the session's values go back to defaults
// (registered properties and kinds stay).
void ResetSession();

// ---- construction ---------------------------------------------------------------------------

// A new open document with a "Main" flow, a "Body" paragraph format; label defaults to the
// file name of the path.
F_ObjHandleT NewDocument(const std::string &path, const std::string &label = "", bool visible = true);
// Closes a document: its ids go stale, it leaves the open list.
bool CloseDocument(F_ObjHandleT doc);
F_ObjHandleT MainFlow(F_ObjHandleT doc);
F_ObjHandleT AddFlow(F_ObjHandleT doc, const std::string &name);
F_ObjHandleT FindFlow(F_ObjHandleT doc, const std::string &name);
// A definition; the name must be new in the document (else the existing one is returned).
F_ObjHandleT AddElementDef(F_ObjHandleT doc, const std::string &name, IntT type = FV_FO_CONTAINER,
                           const std::string &pgfFormat = "");
void AddAttributeDef(F_ObjHandleT def, AttrDef attr);
F_ObjHandleT FindElementDef(F_ObjHandleT doc, std::string_view name);
// A named object of kind 27, 29, 32, 33, 34, 35, 37 or 66 (existing one when the name is known).
F_ObjHandleT AddNamed(F_ObjHandleT doc, int kind, const std::string &name);
F_ObjHandleT FindNamed(F_ObjHandleT doc, int kind, const std::string &name);

// A new element of def (0: text node) appended as the last child of parent; with parent 0 it
// becomes the highest-level element of flow (which must have none). O(1).
F_ObjHandleT AppendElement(F_ObjHandleT doc, F_ObjHandleT parent, F_ObjHandleT def, F_ObjHandleT flow = 0);
// Appends text to parent's content: to its last child when that is a text node, else as a new
// text node. Returns the text node. O(1) plus the text.
F_ObjHandleT AppendText(F_ObjHandleT doc, F_ObjHandleT parent, std::string_view text);
// A comment (instruction: false), not yet linked anywhere.
F_ObjHandleT NewMisc(F_ObjHandleT doc, bool comment, std::string_view text);
// A comment (instruction: false) appended as the last child of parent; an instruction's text is
// its target, then a space and its data when it has any. It takes no unique id.
F_ObjHandleT AppendMisc(F_ObjHandleT doc, F_ObjHandleT parent, bool comment, std::string_view text);
// id, or the first sibling after it (before it when !forward) that is not a comment or an
// instruction; 0 when there is none.
inline F_ObjHandleT PastMisc(F_ObjHandleT id, bool forward);
// Sets (replaces) an attribute's values; false when the element is untagged or gone.
bool SetAttribute(F_ObjHandleT doc, F_ObjHandleT elem, std::string_view name, std::vector<std::string> values);
// Values of an attribute as stored (nullptr when it has none set).
const AttrValues *GetAttribute(F_ObjHandleT elem, std::string_view name);
// Unique id of an element (persistent across save); the session's counter moves past it.
void SetUniqueId(F_ObjHandleT elem, IntT unique);
void SetFormsParagraph(F_ObjHandleT elem, bool yes);

// ---- structure helpers ----------------------------------------------------------------------

// Links e (detached) as a child of parent before `before` (0: last).
void LinkChild(F_ObjHandleT parent, F_ObjHandleT e, F_ObjHandleT before);
// Number of element slots used in the session so far: a bound for loops that climb or walk
// elements (every chain of parents or siblings is shorter).
size_t ElementStoreSize();
// Unlinks e from its parent (or flow).
void Unlink(F_ObjHandleT e);
// The highest-level element above e (e itself at the top) and its flow.
F_ObjHandleT TopOf(F_ObjHandleT e);
F_ObjHandleT FlowOfElement(F_ObjHandleT e);
// The paragraph format e begins ("" when it is inline or a text node).
const std::string &ParagraphFormatOf(const Element &e);
// The same with the element's definition found already (Def(e.def)).
const std::string &ParagraphFormatOf(const Element &e, const ElementDef *def);
// Gives element obj of doc (live, e) definition def (FP_ElementDef); false, FA_errno set, when
// the host refuses. Defined below, inline.
inline bool RetagElement(F_ObjHandleT doc, F_ObjHandleT obj, Element &e, F_ObjHandleT def);
// The retag of element obj (e, of definition from) to definition to in document d, whose layout
// it brings up to date.
void RetagLaidOut(Document &d, F_ObjHandleT obj, Element &e, const ElementDef *from, F_ObjHandleT to);
// Marks the document's derived views (paragraphs, pages) stale and the document modified: the
// fallback for edits the layout does not follow by itself.
void MarkChanged(F_ObjHandleT doc, bool modified = true);
// Marks the document modified by a change its layout does not show (attributes, text properties,
// object properties).
void MarkModified(F_ObjHandleT doc);
// Brings the layout of document d up to date after element e was retagged from a definition
// whose paragraph format (ParagraphFormatOf before the change) was oldFormat; marks d modified.
void LayoutRetagged(Document &d, F_ObjHandleT elem, const Element &e, const std::string &oldFormat);
// Brings the layout up to date after len characters were inserted at character `off` of the
// existing text node `node`; marks the document modified. False when the layout does not place
// the node (a node made by the edit): the caller marks the layout stale instead.
bool LayoutTextInserted(F_ObjHandleT doc, F_ObjHandleT node, IntT off, IntT len);
// Brings the layout up to date after node (a new empty element or a new text node) was linked
// into the tree; marks the document modified. False when the layout cannot follow it in place
// (it follows a node added last in its flow): the caller marks the layout stale instead.
bool LayoutElementAdded(F_ObjHandleT doc, F_ObjHandleT node);
// Destroys e and its subtree (ids go stale); e must be unlinked. With release the ids are given
// back at once (a closed document's); otherwise when the document closes.
void DestroySubtree(F_ObjHandleT e, bool release = false);

// Visits the tree of `root` (root included) in document order, without recursion:
// visit(id, element, depth) for each node, depth 0 at the root; visit answers false to end the
// walk there. Comments and instructions are visited as the leaves they are; the walk is bounded
// by the number of element slots the session holds.
template <class Visit>
void WalkTree(F_ObjHandleT root, Visit &&visit) {
    const size_t limit = ElementStoreSize() + 1;
    size_t steps = 0, depth = 0;
    for (F_ObjHandleT cur = root; cur && steps++ < limit;) {
        Element *e = Elem(cur);
        if (!e || !visit(cur, *e, depth)) return;
        if (e->def && e->first) {
            cur = e->first;
            ++depth;
            continue;
        }
        // Next in document order: the next sibling, else that of the nearest ancestor.
        while (cur != root && e && !e->next) {
            cur = e->parent;
            e = Elem(cur);
            --depth;
        }
        cur = cur != root && e ? e->next : 0;
    }
}

// ---- UTF-8 ----------------------------------------------------------------------------------

size_t Utf8Length(std::string_view s);
// Byte position of code point n (clamped to the end).
size_t Utf8Offset(std::string_view s, size_t n);

// ---- the store ------------------------------------------------------------------------------

uint32_t NextCounter(int kind);

// Objects kept in fixed chunks, so that references stay valid while the store grows and an
// object costs no allocation of its own.
template <class T, size_t kChunkBits>
struct Chunks {
    static constexpr size_t kChunk = size_t(1) << kChunkBits;
    size_t count = 0;
    std::vector<std::vector<T>> chunks;  // each reserved to kChunk: no reallocation
    T &At(size_t i) { return chunks[i >> kChunkBits][i & (kChunk - 1)]; }
    // Places a new object at the end; its index.
    size_t Append() {
        if ((count & (kChunk - 1)) == 0) NewChunk();
        chunks.back().emplace_back();
        return count++;
    }
    // Kept apart from Append, so that the common path stays small enough to inline.
    [[gnu::noinline]] void NewChunk() {
        chunks.emplace_back();
        chunks.back().reserve(kChunk);
    }
    void Clear() {
        chunks.clear();
        count = 0;
    }
};

// Objects of one kind, indexed by (counter - base). base moves on at a reset so that ids stay
// unique for the whole process.
template <class T, size_t kChunkBits = 6>
struct Pool {
    uint32_t base = kFirstCounter;
    Chunks<T, kChunkBits> store;
    T *Get(F_ObjHandleT id) {
        uint32_t c = CounterOf(id);
        if (c < base) return nullptr;
        size_t i = c - base;
        return i < store.count ? &store.At(i) : nullptr;
    }
    T &At(size_t i) { return store.At(i); }
    size_t Size() const { return store.count; }
    // A new object, or {0, nullptr} (FA_errno set) when the kind has no id left.
    std::pair<F_ObjHandleT, T *> New(int kind) {
        F_ObjHandleT id = NewObjectId(kind);
        if (!id) return {0, nullptr};
        if (CounterOf(id) < base) return {0, nullptr};  // these kinds release no ids
        size_t i = CounterOf(id) - base;
        while (store.count <= i) store.Append();
        return {id, &At(i)};
    }
    void Reset(int kind) {
        store.Clear();
        base = NextCounter(kind);
    }
};

// Elements: the room of the elements of a closed document is taken again by later elements, and
// their ids are made again once the fresh ones are used up. An id finds its slot through a table
// of four bytes per id, kept in pages made as the ids reach them: the table never copies itself
// while it grows (ids only grow until they are used up) and never asks for a block larger than a
// page. A released id finds no slot, as a deleted element's id finds a dead one.
template <size_t kChunkBits>
struct SlotPool {
    static constexpr size_t kPageBits = 14;  // 16,384 ids a page
    static constexpr size_t kPage = size_t(1) << kPageBits;
    std::vector<std::unique_ptr<uint32_t[]>> pages;  // per id from kFirstCounter: slot + 1, 0 when none
    std::vector<uint32_t> freeSlots;
    Chunks<Element, kChunkBits> store;
    [[gnu::always_inline]] Element *Get(F_ObjHandleT id) {
        size_t i = size_t(CounterOf(id)) - kFirstCounter;  // huge for counters below the first
        size_t p = i >> kPageBits;
        if (p >= pages.size() || !pages[p]) return nullptr;
        uint32_t s = pages[p][i & (kPage - 1)];
        return s ? &store.At(s - 1) : nullptr;
    }
    // The number of element slots made since the last reset (a bound on the elements there are).
    size_t Size() const { return store.count; }
    [[gnu::always_inline]] std::pair<F_ObjHandleT, Element *> New(int kind) {
        F_ObjHandleT id = NewObjectId(kind);
        if (!id) return {0, nullptr};
        size_t i = size_t(CounterOf(id)) - kFirstCounter;
        size_t p = i >> kPageBits;
        if (p >= pages.size()) pages.resize(p + 1);
        if (!pages[p]) pages[p] = std::make_unique<uint32_t[]>(kPage);
        size_t s;
        if (!freeSlots.empty()) {
            // A released slot holds an empty element already. The next one to be taken is
            // fetched into the cache now: slots come back in no order the caches follow.
            s = freeSlots.back();
            freeSlots.pop_back();
            if (!freeSlots.empty()) __builtin_prefetch(&store.At(freeSlots.back()), 1);
        } else {
            s = store.Append();
        }
        pages[p][i & (kPage - 1)] = static_cast<uint32_t>(s + 1);
        return {id, &store.At(s)};
    }
    // Gives the element's room and its id back (the id no longer finds anything until it is made
    // again).
    void Release(F_ObjHandleT id) {
        size_t i = size_t(CounterOf(id)) - kFirstCounter;
        size_t p = i >> kPageBits;
        if (p >= pages.size() || !pages[p] || !pages[p][i & (kPage - 1)]) return;
        uint32_t &slot = pages[p][i & (kPage - 1)];
        store.At(slot - 1) = Element{};
        freeSlots.push_back(slot - 1);
        slot = 0;
        ReleaseObjectId(id);
    }
    void Reset(int) {
        store.Clear();
        pages.clear();
        freeSlots.clear();
    }
};

struct Store {
    Pool<Document> docs;
    Pool<ElementDef> defs;
    SlotPool<10> elements;
    Pool<Flow> flows;
    std::map<int, Pool<NamedObject>> named;
    std::unordered_map<uint64_t, PropValue> stored;  // (object << 32 | number) -> value
    Session session;
};
// The store: made on first use; every later use is one load, without a function-local guard.
extern Store *theStore;
Store &MakeStore();
inline Store &TheStore() { return theStore ? *theStore : MakeStore(); }

inline IntT NewUniqueId() {
    IntT &next = TheStore().session.nextUnique;
    // Past two thousand million ids the count starts again from the first.
    if (next < 1000 || next == std::numeric_limits<IntT>::max()) [[unlikely]] next = 1000;
    return next++;
}

// The look-ups every call makes, kept inline.
inline Document *Doc(F_ObjHandleT doc) {
    if (KindOf(doc) != FO_Doc) return nullptr;
    Document *d = TheStore().docs.Get(doc);
    return d && d->open ? d : nullptr;
}

inline ElementDef *Def(F_ObjHandleT def) {
    if (KindOf(def) != FO_ElementDef) return nullptr;
    ElementDef *d = TheStore().defs.Get(def);
    return d && d->doc ? d : nullptr;
}

inline Element *Elem(F_ObjHandleT elem) {
    if (KindOf(elem) != FO_Element) return nullptr;
    Element *e = TheStore().elements.Get(elem);
    return e && e->doc ? e : nullptr;
}

inline Element *ElemIn(F_ObjHandleT doc, F_ObjHandleT elem) {
    Element *e = Elem(elem);
    return e && e->doc == doc ? e : nullptr;
}

// Retag: the element keeps its id, content and attributes; a definition of another element
// kind, or of another document, is refused; text nodes cannot be tagged. Kept inline: bulk edits
// retag element after element, most often in a document without a layout to follow.
inline bool RetagElement(F_ObjHandleT doc, F_ObjHandleT obj, Element &e, F_ObjHandleT def) {
    ElementDef *to = Def(def);
    if (!to || to->doc != doc) return Fail(FE_BadParameter);
    if (!e.def) return Fail(FE_WrongKind);
    if (e.def == to->id) return true;
    ElementDef *from = Def(e.def);
    if (from && from->type != to->type) return Fail(FE_WrongKind);
    Document *d = Doc(doc);
    if (!d || !d->layout) {  // no layout to bring up to date (bulk retags meet this most)
        e.def = to->id;
        if (d) d->modified = 1;
        return true;
    }
    RetagLaidOut(*d, obj, e, from, to->id);
    return true;
}

// Kept inline: every read of a tree link passes here, and most neighbours are no comment.
inline F_ObjHandleT PastMisc(F_ObjHandleT id, bool forward) {
    if (!id) return 0;
    if (const Element *e = Elem(id); !e || !e->misc) return id;
    for (size_t guard = ElementStoreSize() + 1; id && guard--;) {
        const Element *e = Elem(id);
        if (!e || !e->misc) return id;
        id = forward ? e->next : e->prev;
    }
    return 0;
}

// PastMiscWithElem past a comment or instruction at id: the rare case, kept out of line.
[[gnu::noinline]] inline F_ObjHandleT PastMiscWithElemAfterMisc(F_ObjHandleT id, const Element *&elem) {
    for (size_t guard = ElementStoreSize() + 1; id && guard--;) {
        const Element *e = Elem(id);
        if (!e || !e->misc) {
            elem = e;
            return id;
        }
        id = e->next;
    }
    return 0;
}

// PastMisc(id, true) with the live element it leads to (nullptr when none). Kept small enough to
// inline: a walk asks it at every element.
inline F_ObjHandleT PastMiscWithElem(F_ObjHandleT id, const Element *&elem) {
    elem = nullptr;
    if (!id) return 0;
    if (const Element *e = Elem(id); !e || !e->misc) {
        elem = e;
        return id;
    }
    return PastMiscWithElemAfterMisc(id, elem);
}

}  // namespace host
