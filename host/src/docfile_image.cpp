// The document image: lookups and the small text helpers the file formats share.
#include "docfile_image.h"

#include <algorithm>
#include <cstring>

#include "fdk.h"

namespace host::docfile {

int32_t DocImage::FindDef(const std::string &name) const {
    if (defIndex_.size() != defs.size()) {
        // Definitions were added directly to the vector: rebuild the index once.
        defIndex_.clear();
        for (size_t i = 0; i < defs.size(); ++i) defIndex_.emplace(defs[i].name, static_cast<int32_t>(i));
    }
    auto it = defIndex_.find(name);
    return it == defIndex_.end() ? -1 : it->second;
}

int32_t DocImage::DefFor(const std::string &name) {
    int32_t i = FindDef(name);
    if (i >= 0) return i;
    defs.push_back(ElementDefImage{});
    defs.back().name = name;
    i = static_cast<int32_t>(defs.size() - 1);
    defIndex_.emplace(name, i);
    return i;
}

int32_t DocImage::MainFlow() const {
    for (size_t i = 0; i < flows.size(); ++i)
        if (flows[i].main) return static_cast<int32_t>(i);
    return -1;
}

int32_t DocImage::FindFormat(int kind, const std::string &name) const {
    for (size_t i = 0; i < formats.size(); ++i)
        if (formats[i].kind == kind && formats[i].name == name) return static_cast<int32_t>(i);
    return -1;
}

TextArena::Chunk &TextArena::NewChunk(size_t capacity) {
    chunks_.push_back(Chunk{std::make_unique_for_overwrite<char[]>(capacity), 0, capacity});
    return chunks_.back();
}

void TextArena::Start(NodeImage &n) {
    Chunk &c = chunks_.empty() || chunks_.back().size + kLength > chunks_.back().capacity ? NewChunk(kChunk) : chunks_.back();
    std::memset(c.data.get() + c.size, 0, kLength);
    c.size += kLength;
    n.textChunk = static_cast<uint32_t>(chunks_.size() - 1);
    n.textOffset = static_cast<uint32_t>(c.size);
    n.textLength = 0;
}

void TextArena::Append(NodeImage &n, std::string_view s) {
    Chunk *c = &chunks_[n.textChunk];
    size_t head = n.textOffset - kLength;  // where the text's length is kept
    const size_t whole = kLength + static_cast<size_t>(n.textLength);
    if (c->size + s.size() > c->capacity) {
        // The chunk is full: the text begun so far moves to a chunk of its own, where it may
        // grow as far as it needs (one that holds nothing else is replaced by a larger one).
        const size_t capacity = std::max(kChunk, 2 * (whole + s.size()));
        Chunk next{std::make_unique_for_overwrite<char[]>(capacity), whole, capacity};
        std::memcpy(next.data.get(), c->data.get() + head, whole);
        if (head > 0) {
            c->size = head;
            chunks_.push_back(std::move(next));
            c = &chunks_.back();
            n.textChunk = static_cast<uint32_t>(chunks_.size() - 1);
        } else {
            *c = std::move(next);
        }
        n.textOffset = static_cast<uint32_t>(kLength);
        head = 0;
    }
    if (!s.empty()) std::memcpy(c->data.get() + c->size, s.data(), s.size());
    c->size += s.size();
    n.textLength += static_cast<uint32_t>(s.size());
    std::memcpy(c->data.get() + head, &n.textLength, kLength);
}

std::string_view TextArena::Text(const NodeImage &n) const {
    if (n.textLength == 0) return {};
    return std::string_view(chunks_[n.textChunk].data.get() + n.textOffset, n.textLength);
}

void TextArena::Replace(char from, char to) {
    // Each chunk is a run of texts, each after its length: the byte is searched for through the
    // whole chunk, and a find is replaced when it lies in a text rather than in a length.
    for (Chunk &c : chunks_) {
        char *data = c.data.get();
        size_t text = 0;  // the text at or before the last find (where its length is)
        for (size_t pos = 0; pos < c.size;) {
            auto *hit = static_cast<char *>(std::memchr(data + pos, from, c.size - pos));
            if (!hit) break;
            const size_t at = size_t(hit - data);
            while (text + kLength <= c.size) {
                uint32_t length;
                std::memcpy(&length, data + text, kLength);
                if (at < text + kLength + length) {
                    if (at >= text + kLength) *hit = to;
                    break;
                }
                text += kLength + length;
            }
            pos = at + 1;
        }
    }
}

std::vector<std::unique_ptr<char[]>> TextArena::TakeChunks() {
    std::vector<std::unique_ptr<char[]>> out;
    out.reserve(chunks_.size());
    for (Chunk &c : chunks_) out.push_back(std::move(c.data));
    chunks_.clear();
    released_ = 0;
    return out;
}

static bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsXmlBlank(std::string_view s) {
    for (char c : s)
        if (!IsBlankChar(c)) return false;
    return true;
}

std::vector<std::string> SplitTokens(std::string_view s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlankChar(s[i])) ++i;
        size_t start = i;
        while (i < s.size() && !IsBlankChar(s[i])) ++i;
        if (i > start) out.emplace_back(s.substr(start, i - start));
    }
    return out;
}

std::string JoinTokens(const std::vector<std::string> &values) {
    std::string out;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) out += ' ';
        out += values[i];
    }
    return out;
}

bool IsListType(int type) {
    return type == FV_AT_STRINGS || type == FV_AT_INTEGERS || type == FV_AT_REALS || type == FV_AT_UNIQUE_IDREFS;
}

size_t Utf8SequenceAt(std::string_view s, size_t i, uint32_t &cp) {
    auto c = static_cast<unsigned char>(s[i]);
    cp = c;
    if (c < 0x80) return 1;
    size_t len = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) return 0;
    cp = c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Refuse overlong forms, surrogates and values past U+10FFFF.
    static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    return cp >= kMin[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF) ? len : 0;
}

std::string ValidUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        uint32_t cp;
        if (size_t len = Utf8SequenceAt(s, i, cp)) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

}  // namespace host::docfile
