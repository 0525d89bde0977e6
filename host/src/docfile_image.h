// The document image: a plain-data copy of everything a document file holds, between the file
// formats (native ".fm", plain XML, plain text) and the object model.
//
// Readers fill an image completely before any document is made from it, so a file that fails
// half-way leaves nothing behind; writers take an image extracted from an open document (the XML
// writer takes only its catalog and reads the tree from the document itself). The
// element tree is stored flat, in document order (pre-order), each node naming its parent by
// index, so that no reader, writer or walk needs recursion however deep the tree is. Nodes and
// text are kept in chunks (a node costs a few words, a growing image never copies what it holds,
// and the chunks are small enough to come from the heap rather than fresh pages of their own).
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fdk.h"

namespace host::docfile {

// One attribute definition of an element definition.
struct AttrDefImage {
    std::string name;
    int type = 0;  // FV_AT_* (String 0, Strings 1, Integer 2, ..., UniqueID 7, IDReference 8, IDReferences 9)
    bool required = false;
    bool readOnly = false;
    std::vector<std::string> choices;
    std::vector<std::string> defaults;
    std::string rangeMin, rangeMax;
    std::string dtdType;  // the type a DTD declared ("NMTOKEN", ...), kept for writing a DTD back; "" = none
};

// One element definition of the catalog.
struct ElementDefImage {
    std::string name;
    int type = 1;                 // definition type = element kind (1 container, ... 14 table cell)
    std::string paragraphFormat;  // "" = the element does not begin a paragraph
    std::vector<AttrDefImage> attributes;
    std::string contentModel;     // a DTD content model ("(#PCDATA|b)*", "EMPTY"); "" = none known
};

// A named format: paragraph (32), character (33), condition (34), colour (35), cross-reference
// format (27), variable format (29), table format (37), marker type (66). Properties are kept as
// name/value texts so that each kind can carry what it needs.
struct FormatImage {
    int kind = FO_PgfFmt;
    std::string name;
    std::vector<std::pair<std::string, std::string>> properties;
};

// An attribute value list on an element.
struct AttrImage {
    std::string name;
    std::vector<std::string> values;
};

// A node of the element tree: a tagged element (def >= 0), a text node (def == kTextNode), or a
// comment or processing instruction of a plain XML file (kCommentNode, kPiNode), whose text is
// the comment's, or the instruction's target followed by a space and its data when it has any.
struct NodeImage {
    int32_t parent = -1;     // index of the parent node; -1 for a flow's highest-level element
    int32_t def = -1;        // index into DocImage::defs, or kTextNode
    uint32_t uniqueId = 0;   // 0 = none stored (the document assigns one)
    uint32_t textLength = 0; // text nodes: bytes in DocImage::text at textOffset
    uint32_t textChunk = 0;
    uint32_t textOffset = 0;
    uint32_t firstAttr = 0;  // tagged nodes: attributes DocImage::attrs[firstAttr, firstAttr + attrCount)
    uint32_t attrCount = 0;
    uint8_t pgfMode = 0;     // tagged nodes: 0 as the definition says, 1 begins a paragraph, 2 does not
};
inline constexpr int32_t kTextNode = -1;
inline constexpr int32_t kCommentNode = -2;
inline constexpr int32_t kPiNode = -3;
// A text node a reader left out once the whole file was read (white space that is no content):
// no object is made for it. Such a node is a leaf, so no node names it as its parent.
inline constexpr int32_t kDroppedNode = -4;
// Whether a node is a comment or an instruction.
inline bool IsMiscNode(const NodeImage &n) { return n.def == kCommentNode || n.def == kPiNode; }

// A flow and its element tree: nodes [first, first + count) of DocImage::nodes, the first being
// the flow's highest-level element (count 0 = an unstructured flow).
struct FlowImage {
    std::string name;
    bool main = false;
    int32_t first = 0;
    int32_t count = 0;
};

// The document type a plain XML file declared, kept so a save as XML can name the same root.
struct DoctypeImage {
    std::string rootName;
    std::string publicId;
    std::string systemId;
    bool hadDtd = false;  // the file came with declarations (internal or external)
};

// A comment or a processing instruction of a plain XML file.
struct MiscImage {
    bool comment = true;
    std::string target;  // processing instructions: the target
    std::string text;    // the comment's text, or the instruction's data
};

// An external parsed entity a plain XML file references: its name and its file, relative to
// the main file's folder when it lies there or below (else absolute), and the text declaration
// its file began with ("" = none).
struct EntityFileImage {
    std::string name;
    std::string file;
    std::string textDecl;
};

// What a plain XML file holds beside its element tree, kept so a save as XML writes it back: the
// DOCTYPE as written, the comments and processing instructions outside the root element (those
// inside are nodes of the tree), and the external parsed entities whose content is part of the
// tree (the highest nodes of each reference carry its number).
struct XmlSourceImage {
    bool fromXml = false;
    std::string doctype;  // "<!DOCTYPE ...>" as read; "" = none, or not kept
    std::string dtdFile;  // the local file its system identifier named ("" = none)
    std::vector<MiscImage> beforeDoctype, beforeRoot, afterRoot;
    std::vector<EntityFileImage> entities;
    std::vector<int32_t> references;                  // reference number -> index in entities
    std::unordered_map<int32_t, int32_t> referenceOf;  // node index -> reference number
};

// A list kept in fixed chunks: appends never move what is already stored.
template <class T, size_t kChunk = 1024>
class ChunkedList {
  public:
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T &operator[](size_t i) { return chunks_[i / kChunk][i % kChunk]; }
    const T &operator[](size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
    T &back() { return (*this)[size_ - 1]; }
    void push_back(const T &v) {
        if (size_ % kChunk == 0) NewChunk();
        tail_[size_ % kChunk] = v;
        ++size_;
    }
    // Frees the chunks that hold only entries before n; those entries must not be read again,
    // and nothing may be appended afterwards.
    void ReleaseBefore(size_t n) {
        for (; released_ < chunks_.size() && (released_ + 1) * kChunk <= n; ++released_) chunks_[released_].reset();
    }
    template <class L, class V>
    struct Iter {
        L *list;
        size_t i;
        V &operator*() const { return (*list)[i]; }
        Iter &operator++() {
            ++i;
            return *this;
        }
        bool operator!=(const Iter &o) const { return i != o.i; }
    };
    Iter<ChunkedList, T> begin() { return {this, 0}; }
    Iter<ChunkedList, T> end() { return {this, size_}; }
    Iter<const ChunkedList, const T> begin() const { return {this, 0}; }
    Iter<const ChunkedList, const T> end() const { return {this, size_}; }

  private:
    // Kept apart from push_back, so that its common path stays small enough to inline.
    [[gnu::noinline]] void NewChunk() {
        chunks_.push_back(std::make_unique<T[]>(kChunk));
        tail_ = chunks_.back().get();
    }
    std::vector<std::unique_ptr<T[]>> chunks_;
    T *tail_ = nullptr;  // the last chunk
    size_t size_ = 0;
    size_t released_ = 0;  // chunks before this one are given back
};

struct NodeImage;

// The text of all text nodes, in chunks. Each text is its length (four bytes) followed by its
// bytes, as a document keeps the texts of its nodes (TextStore), so that a document built from
// the image takes the chunks over as they are. A node's text is contiguous in one chunk, right
// after everything begun before it; only the text begun last may grow (it moves to a new chunk
// when its chunk is full).
class TextArena {
  public:
    static constexpr size_t kLength = sizeof(uint32_t);
    // Begins the text of `n` (empty) after everything stored.
    void Start(NodeImage &n);
    // Appends to the text begun last, which is `n`'s.
    void Append(NodeImage &n, std::string_view s);
    // Start and Append in one.
    void Add(NodeImage &n, std::string_view s) {
        if (chunks_.empty() || chunks_.back().size + kLength + s.size() > chunks_.back().capacity) {
            Start(n);
            Append(n, s);
            return;
        }
        Chunk &c = chunks_.back();
        auto length = static_cast<uint32_t>(s.size());
        std::memcpy(c.data.get() + c.size, &length, kLength);
        if (length) std::memcpy(c.data.get() + c.size + kLength, s.data(), length);
        n.textChunk = static_cast<uint32_t>(chunks_.size() - 1);
        n.textOffset = static_cast<uint32_t>(c.size + kLength);
        n.textLength = length;
        c.size += kLength + length;
    }
    std::string_view Text(const NodeImage &n) const;
    // Replaces a byte in every text.
    void Replace(char from, char to);
    // Frees the chunks before chunk `chunk` (a NodeImage::textChunk); the texts they held must
    // not be read again, and nothing may be appended afterwards.
    void ReleaseBefore(uint32_t chunk) {
        for (; released_ < chunk && released_ < chunks_.size(); ++released_) chunks_[released_] = Chunk{};
    }
    // Hands every chunk over (NodeImage::textChunk numbers them), leaving the arena empty; a
    // node's text, its length first, begins textOffset - kLength bytes into its chunk.
    std::vector<std::unique_ptr<char[]>> TakeChunks();

  private:
    struct Chunk {
        std::unique_ptr<char[]> data;
        size_t size = 0, capacity = 0;
    };
    // A new last chunk of at least `capacity` bytes.
    Chunk &NewChunk(size_t capacity);
    static constexpr size_t kChunk = 64 * 1024;
    std::vector<Chunk> chunks_;
    size_t released_ = 0;  // chunks before this one are given back
};

// A host property of the object an element stands for: marker text (1025) and type (1027, the
// marker type's name), cross-reference source file (1070), format (1073, the format's name) and
// source text (1075), table row condition tags (1150, one entry per condition name).
struct ObjectPropImage {
    int number = 0;
    std::string value;
};

// A run of a text node's characters with its colour and condition tags (by name), its
// character format tag, flag 609 and change bar.
struct RunImage {
    uint32_t length = 0;
    std::string color;  // "" = none
    std::vector<std::string> conditions;
    std::string charFormat;  // "" = none
    int flag = 0;
    int changeBar = 0;
};

struct DocImage {
    int paragraphsPerPage = 40;
    std::vector<std::pair<std::string, std::string>> otherSettings;  // settings kept as read
    std::vector<ElementDefImage> defs;
    std::vector<FormatImage> formats;
    std::vector<FlowImage> flows;
    ChunkedList<NodeImage> nodes;
    std::vector<AttrImage> attrs;
    TextArena text;
    DoctypeImage doctype;
    // Table format names (table property 1275) of table elements, by node index.
    std::unordered_map<int32_t, std::string> tableFormats;
    // Properties of the objects elements stand for, by node index, in order.
    std::unordered_map<int32_t, std::vector<ObjectPropImage>> objectProps;
    // Character runs of text nodes that carry a colour or conditions, by node index.
    std::unordered_map<int32_t, std::vector<RunImage>> textRuns;
    // What a plain XML file held beside the tree.
    XmlSourceImage xml;
    // What the reader could not use but read the file without, for the user ("" = nothing).
    std::vector<std::string> notices;

    // Index of the definition of that name, or -1.
    int32_t FindDef(const std::string &name) const;
    // Index of the definition of that name, adding an empty container definition when missing.
    int32_t DefFor(const std::string &name);
    // The text of a text node.
    std::string_view NodeText(const NodeImage &n) const { return text.Text(n); }
    // The index of the main flow, or -1.
    int32_t MainFlow() const;
    // Index of the format of that kind and name, or -1.
    int32_t FindFormat(int kind, const std::string &name) const;

  private:
    mutable std::unordered_map<std::string, int32_t> defIndex_;
};

// Whether every byte of the text is XML white space (space, tab, newline, carriage return).
bool IsXmlBlank(std::string_view s);
// Splits a value on XML white space into its tokens.
std::vector<std::string> SplitTokens(std::string_view s);
// Joins values with single spaces.
std::string JoinTokens(const std::vector<std::string> &values);
// Whether an attribute type holds a list of tokens (Strings, Integers, Reals, IDReferences).
bool IsListType(int type);
// The length of the well-formed UTF-8 sequence at s[i] (1 for an ASCII byte), with its code point
// in `cp`; 0 when the sequence is ill-formed (cut short, overlong, a surrogate, past U+10FFFF).
size_t Utf8SequenceAt(std::string_view s, size_t i, uint32_t &cp);
// The text with every ill-formed UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view s);

}  // namespace host::docfile
