// Plain XML files to and from the document image.
#include "docfile_xml.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <unordered_map>

#include <iconv.h>

#include <libxml/SAX2.h>
#include <libxml/uri.h>

#include "docfile_dtd.h"
#include "docfile_model.h"
#include "fdk.h"
#include "model.h"

namespace host::docfile {
namespace {

constexpr char kHostTab = '\x08';

const char *C(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }
const xmlChar *X(const std::string &s) { return reinterpret_cast<const xmlChar *>(s.c_str()); }

// An element being read: its node, its definition and, when its last child so far is text, that
// text node (text split by comments, CDATA sections or entity ends is one run between child
// elements), or kBlankRun when that text is white space left out as it was read; whether
// xml:space="preserve" holds for its content; whether white space in it is left out as it is read.
struct OpenElement {
    int32_t node;
    int32_t def;
    int32_t lastText;
    bool preserve;
    bool dropBlanks;
};
constexpr int32_t kBlankRun = -2;

// The attribute values of one attribute as the definition's type wants them.
std::vector<std::string> ValuesFor(const ElementDefImage &def, const std::string &name, std::string_view value) {
    for (const AttrDefImage &a : def.attributes)
        if (a.name == name) {
            if (IsListType(a.type)) return SplitTokens(value);
            break;
        }
    std::vector<std::string> one;
    one.emplace_back(value);
    return one;
}

// Drops whitespace-only text nodes of elements that hold no other text, decides which elements
// begin paragraphs, and turns tabs into host tabs. A definition holds text when it is declared
// mixed or any of its elements holds text directly (`textRead`: by definition, whether one of its
// elements was read holding text that is not all white space); an element begins a paragraph
// when its definition holds text and its parent's does not (inside mixed content it is inline).
// A definition with such an element gets a paragraph format of its own name; its elements that
// stand inline are marked as not beginning one. Dropped text nodes stay in the image, marked
// kDroppedNode, so no node moves.
void FinishImage(DocImage &image, const DtdFacts &facts, const std::vector<char> &textRead) {
    size_t ndefs = image.defs.size();
    std::vector<char> holdsText(ndefs, 0);
    for (size_t d = 0; d < ndefs; ++d)
        holdsText[d] = (d < facts.mixed.size() && facts.mixed[d]) || (d < textRead.size() && textRead[d]);

    // Per element: whether xml:space="preserve" holds for its content (its own attribute, its
    // definition's default, else its parent's), and whether it has element children.
    const size_t nnodes = image.nodes.size();
    image.flows[0].count = static_cast<int32_t>(nnodes);
    std::vector<char> preserve(nnodes, 0), hasElements(nnodes, 0);
    std::vector<signed char> defSpace(ndefs, -1);  // a definition's default xml:space: -1 none, 0 default, 1 preserve
    for (size_t d = 0; d < ndefs; ++d)
        for (const AttrDefImage &a : image.defs[d].attributes)
            if (a.name == "xml:space" && !a.defaults.empty()) defSpace[d] = a.defaults[0] == "preserve" ? 1 : 0;
    for (size_t i = 0; i < nnodes; ++i) {
        const NodeImage &n = image.nodes[i];
        if (n.def < 0) continue;  // text, comments, instructions
        if (n.parent >= 0) hasElements[n.parent] = 1;
        int space = defSpace[n.def];
        for (uint32_t k = 0; k < n.attrCount; ++k)
            if (const AttrImage &a = image.attrs[n.firstAttr + k]; a.name == "xml:space" && !a.values.empty())
                space = a.values[0] == "preserve" ? 1 : 0;
        preserve[i] = space >= 0 ? static_cast<char>(space) : n.parent >= 0 ? preserve[n.parent] : 0;
    }
    // White space alone is data. It is dropped only where it cannot be: where the DTD declares
    // element content, or, for an element the DTD does not make mixed, between element children
    // of an element that holds no other text. xml:space="preserve" keeps it everywhere. A text
    // whose parent's definition holds no text is all white space (else it would hold text).
    auto insignificant = [&](const NodeImage &t) {
        if (t.parent < 0) return true;
        if (preserve[t.parent]) return false;
        int32_t pd = image.nodes[t.parent].def;
        if (holdsText[pd]) return false;
        if (static_cast<size_t>(pd) < facts.elementOnly.size() && facts.elementOnly[pd]) return true;
        return hasElements[t.parent] != 0;
    };

    // Drops what is insignificant, and notes which definitions have an element that begins a
    // paragraph; unused definitions go by their declaration (mixed and not named inside another
    // element's mixed content).
    std::vector<char> used(ndefs, 0), paragraph(ndefs, 0), inlinedText(ndefs, 0);
    for (size_t i = 0; i < nnodes; ++i) {
        NodeImage &n = image.nodes[i];
        if (n.def == kTextNode) {
            if (insignificant(n)) n.def = kDroppedNode;
            continue;
        }
        if (n.def < 0) continue;
        used[n.def] = 1;
        bool inlined = n.parent >= 0 && holdsText[image.nodes[n.parent].def];
        if (holdsText[n.def]) (inlined ? inlinedText : paragraph)[n.def] = 1;
    }
    bool inlinedParagraphs = false;  // a definition begins paragraphs and also stands inline
    for (size_t d = 0; d < ndefs; ++d) {
        if (!used[d] && holdsText[d] && !(d < facts.inlined.size() && facts.inlined[d])) paragraph[d] = 1;
        inlinedParagraphs = inlinedParagraphs || (paragraph[d] && inlinedText[d]);
    }
    if (inlinedParagraphs)
        for (NodeImage &n : image.nodes)
            if (n.def >= 0 && paragraph[n.def] && n.parent >= 0 && holdsText[image.nodes[n.parent].def])
                n.pgfMode = 2;

    image.formats.push_back(FormatImage{FO_PgfFmt, "Body", {}});
    for (size_t d = 0; d < ndefs; ++d) {
        if (!paragraph[d]) continue;
        image.defs[d].paragraphFormat = image.defs[d].name;
        if (image.defs[d].name != "Body") image.formats.push_back(FormatImage{FO_PgfFmt, image.defs[d].name, {}});
    }
    image.text.Replace('\t', kHostTab);
}

}  // namespace

namespace {

// A reference to an external parsed entity whose content is being read: the parser context
// that reads the entity's file, the reference's number, and how many elements were open when it
// began (its highest nodes are children of the element open then).
struct EntityFrame {
    void *ctx;
    int32_t reference;
    size_t depth;
};

// Expansion beyond the bytes of the files read is bounded as libxml2's own limits bound it: past
// a million bytes, the document may hold at most five times what was read.
constexpr uint64_t kExpansionAllowance = 1000000;
constexpr uint64_t kExpansionFactor = 5;

// Everything a read keeps between libxml2's callbacks.
struct XmlRead {
    explicit XmlRead(DocImage &into) : image(into) {}
    DocImage &image;
    xmlParserCtxtPtr ctxt = nullptr;  // the document's own parser (entities are read by parsers of their own)
    std::string folder;     // the document's folder
    std::vector<OpenElement> open;
    std::unordered_map<const xmlChar *, int32_t> defByName;  // names interned in the document parser's dictionary
    DtdFacts facts;
    ErrorLog errors;
    LoadRecord load;
    ReadFailure ours;  // a failure of our own (limits), which stops the parser
    bool catalogRead = false;
    bool rootSeen = false;
    bool rootClosed = false;
    bool doctypeSeen = false;
    uint64_t delivered = 0;  // bytes of names, values and text handed to us
    std::vector<EntityFrame> frames;
    void *referrer = nullptr;  // a reference to an entity was just read in this context
    int32_t referredEntity = -1;  // the external entity it named (-1: an internal one)
    std::unordered_map<std::string, int32_t> entityIndex;
    std::vector<std::string> entityFiles;  // the local file of each entity in the image
    std::vector<char> textRead;  // by definition: one of its elements holds text not all white space
    // White space in content the DTD declares element-only is insignificant unless an element of
    // that definition turns out to hold text after all (a document the DTD does not describe):
    // it is left out as it is read, and should such text come, the read starts again keeping it
    // all, for FinishImage to decide once the whole file is known.
    bool dropBlanks = true;
    bool restart = false;
    std::vector<char> blanksDropped;  // by definition: white space in one of its elements was left out
    std::vector<signed char> defSpace;  // by definition: its default xml:space (-1 none, 0 default, 1 preserve)

    void Fail(const std::string &message, void *ctx = nullptr) {
        if (ours.message.empty()) ours = ReadFailure{xmlSAX2GetLineNumber(ctxt), message};
        xmlStopParser(ctxt);
        if (ctx && ctx != ctxt) xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
    }
    bool Stopped() const { return !ours.message.empty(); }
};

XmlRead *gXmlRead = nullptr;  // the read in progress (entity parsers have contexts of their own)

XmlRead &StateOf(void *) { return *gXmlRead; }

std::string QName(const xmlChar *prefix, const xmlChar *local) {
    return prefix ? std::string(C(prefix)) + ":" + C(local) : std::string(C(local));
}

// Counts bytes handed to the document; false (and the read stops) once entity expansion has
// made the document much larger than the files it was read from.
bool DeliverPast(XmlRead &st, void *ctx);
inline bool Deliver(XmlRead &st, void *ctx, uint64_t bytes) {
    if (st.Stopped()) return false;
    st.delivered += bytes;
    return st.delivered <= kExpansionAllowance || DeliverPast(st, ctx);
}
// Deliver past the allowance: whether the document is still within its bound.
bool DeliverPast(XmlRead &st, void *ctx) {
    if (st.delivered > kExpansionFactor * st.load.bytesRead) {
        st.Fail("entity references expand the document to more than " + std::to_string(kExpansionFactor) +
                    " times the size of its files",
                ctx);
        return false;
    }
    return true;
}

// Follows which external entity's content the callbacks come from: the first callback from a
// new context after a reference begins that reference; one from an outer context ends those
// above it.
void TrackEntities(XmlRead &st, void *ctx);
inline void Track(XmlRead &st, void *ctx) {
    if (st.referrer || !st.frames.empty()) TrackEntities(st, ctx);
}
void TrackEntities(XmlRead &st, void *ctx) {
    auto textBreak = [&] {
        if (!st.open.empty()) st.open.back().lastText = -1;
    };
    if (st.referrer) {
        void *referrer = st.referrer;
        st.referrer = nullptr;
        if (ctx != referrer) {
            // The first callback from the entity just referenced: the external entities above
            // the referring context have ended, and an external one begins a reference.
            size_t keep = st.frames.size();
            if (referrer == st.ctxt) keep = 0;
            for (size_t k = 0; k < st.frames.size(); ++k)
                if (st.frames[k].ctx == referrer) keep = k + 1;
            if (keep < st.frames.size()) {
                st.frames.resize(keep);
                textBreak();
            }
            if (st.referredEntity < 0) return;  // an internal entity: its content is in place
            int32_t reference = static_cast<int32_t>(st.image.xml.references.size());
            st.image.xml.references.push_back(st.referredEntity);
            st.frames.push_back(EntityFrame{ctx, reference, st.open.size()});
            textBreak();  // the entity's text is a node of its own
            return;
        }
    }
    if (st.frames.empty()) return;
    if (ctx == st.ctxt) {
        st.frames.clear();
        textBreak();
        return;
    }
    for (size_t k = 0; k < st.frames.size(); ++k)
        if (st.frames[k].ctx == ctx) {
            if (k + 1 < st.frames.size()) {
                st.frames.resize(k + 1);
                textBreak();
            }
            return;
        }
}

// Marks a node just made as one of the highest of the entity reference being read, if any.
void MarkReference(XmlRead &st, int32_t node) {
    if (!st.frames.empty() && st.frames.back().depth == st.open.size())
        st.image.xml.referenceOf[node] = st.frames.back().reference;
}

// The index of an external entity in the image, added at its first reference.
int32_t EntityIndexOf(XmlRead &st, xmlEntityPtr ent) {
    std::string name = C(ent->name);
    auto found = st.entityIndex.find(name);
    if (found != st.entityIndex.end()) return found->second;
    std::string file = LocalFileOf(C(ent->URI));
    EntityFileImage e;
    e.name = name;
    std::string folder = st.folder.back() == '/' ? st.folder : st.folder + "/";
    e.file = file.compare(0, folder.size(), folder) == 0 ? file.substr(folder.size()) : file;
    int32_t index = static_cast<int32_t>(st.image.xml.entities.size());
    st.image.xml.entities.push_back(std::move(e));
    st.entityFiles.push_back(file);
    st.entityIndex.emplace(name, index);
    return index;
}

xmlEntityPtr OnGetEntity(void *ctx, const xmlChar *name) {
    xmlEntityPtr ent = xmlSAX2GetEntity(ctx, name);
    XmlRead &st = StateOf(ctx);
    auto c = static_cast<xmlParserCtxtPtr>(ctx);
    if (!ent || c->inSubset != 0 || st.open.empty()) return ent;
    // A reference in content: the next callback from another context comes from its content.
    if (ent->etype == XML_EXTERNAL_GENERAL_PARSED_ENTITY && ent->URI) {
        st.referrer = ctx;
        st.referredEntity = EntityIndexOf(st, ent);
    } else if (ent->etype == XML_INTERNAL_GENERAL_ENTITY) {
        st.referrer = ctx;
        st.referredEntity = -1;
    }
    return ent;
}

void OnInternalSubset(void *ctx, const xmlChar *name, const xmlChar *externalId, const xmlChar *systemId) {
    StateOf(ctx).doctypeSeen = true;
    xmlSAX2InternalSubset(ctx, name, externalId, systemId);
}

void KeepMisc(void *ctx, MiscImage misc) {
    XmlRead &st = StateOf(ctx);
    if (static_cast<xmlParserCtxtPtr>(ctx)->inSubset != 0 || st.Stopped()) return;  // the DOCTYPE is kept as written
    if (!Deliver(st, ctx, misc.target.size() + misc.text.size())) return;
    Track(st, ctx);
    if (st.open.empty()) {
        if (st.rootClosed) st.image.xml.afterRoot.push_back(std::move(misc));
        else if (!st.doctypeSeen) st.image.xml.beforeDoctype.push_back(std::move(misc));
        else st.image.xml.beforeRoot.push_back(std::move(misc));
        return;
    }
    // Inside the root: a node of its own in its place, between the text before and after it.
    DocImage &image = st.image;
    NodeImage n;
    n.parent = st.open.back().node;
    n.def = misc.comment ? kCommentNode : kPiNode;
    image.text.Start(n);
    image.text.Append(n, misc.comment ? misc.text : misc.text.empty() ? misc.target : misc.target + " " + misc.text);
    image.nodes.push_back(n);
    st.open.back().lastText = -1;
    MarkReference(st, static_cast<int32_t>(image.nodes.size() - 1));
}

void OnComment(void *ctx, const xmlChar *text) { KeepMisc(ctx, MiscImage{true, {}, C(text)}); }

void OnProcessingInstruction(void *ctx, const xmlChar *target, const xmlChar *data) {
    KeepMisc(ctx, MiscImage{false, C(target), C(data)});
}

// An attribute the element carries. A declared one gets the values its type wants; any other
// stays the element's own undeclared attribute (no definition gains it from usage).
void AddAttribute(XmlRead &st, int32_t def, std::string name, std::string_view value) {
    std::vector<std::string> values = ValuesFor(st.image.defs[def], name, value);
    st.image.attrs.push_back(AttrImage{std::move(name), std::move(values)});
}

void OnStartElement(void *ctx, const xmlChar *local, const xmlChar *prefix, const xmlChar *, int nbNamespaces,
                    const xmlChar **namespaces, int nbAttributes, int nbDefaulted, const xmlChar **attributes) {
    XmlRead &st = StateOf(ctx);
    DocImage &image = st.image;
    // At least what the element takes in a file ("<a/>", ' b=""' per attribute): without entities
    // the count never passes the bytes read.
    uint64_t bytes = 3 + std::strlen(C(local));
    for (int i = 0; i < nbAttributes - nbDefaulted; ++i) bytes += static_cast<uint64_t>(attributes[5 * i + 4] - attributes[5 * i + 3]);
    if (!Deliver(st, ctx, bytes)) return;
    Track(st, ctx);
    if (!st.catalogRead) {
        // The declarations are complete once the root element starts.
        st.facts = CatalogFromDtd(st.ctxt->myDoc, image);
        st.catalogRead = true;
        st.defSpace.assign(image.defs.size(), -1);
        for (size_t d = 0; d < image.defs.size(); ++d)
            for (const AttrDefImage &a : image.defs[d].attributes)
                if (a.name == "xml:space" && !a.defaults.empty()) st.defSpace[d] = a.defaults[0] == "preserve" ? 1 : 0;
    }
    if (image.nodes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1))
        return st.Fail("the document holds too many elements", ctx);
    // Names are interned in the document parser's dictionary; an entity parser may have its own.
    int32_t def;
    if (ctx == st.ctxt) {
        const xmlChar *key = prefix ? xmlDictQLookup(st.ctxt->dict, prefix, local) : local;
        auto found = st.defByName.find(key);
        def = found != st.defByName.end() ? found->second : image.DefFor(QName(prefix, local));
        if (found == st.defByName.end()) st.defByName.emplace(key, def);
    } else {
        def = image.DefFor(QName(prefix, local));
    }

    NodeImage n;
    n.def = def;
    n.parent = st.open.empty() ? -1 : st.open.back().node;
    if (st.open.empty()) {
        if (st.rootSeen) return st.Fail("the file holds more than one root element", ctx);
        st.rootSeen = true;
    } else {
        st.open.back().lastText = -1;
    }
    n.firstAttr = static_cast<uint32_t>(image.attrs.size());
    for (int i = 0; i < nbNamespaces; ++i) {
        const xmlChar *nsPrefix = namespaces[2 * i], *uri = namespaces[2 * i + 1];
        AddAttribute(st, def, nsPrefix ? std::string("xmlns:") + C(nsPrefix) : std::string("xmlns"), C(uri));
    }
    // Each attribute is (local name, prefix, URI, value, value end); defaulted ones come last and
    // are not the element's own.
    int space = static_cast<size_t>(def) < st.defSpace.size() ? st.defSpace[def] : -1;
    for (int i = 0; i < nbAttributes - nbDefaulted; ++i) {
        const xmlChar **a = attributes + 5 * i;
        std::string_view value(C(a[3]), static_cast<size_t>(a[4] - a[3]));
        std::string name = QName(a[1], a[0]);
        bool isSpace = name == "xml:space";
        AddAttribute(st, def, std::move(name), value);
        if (const AttrImage &added = image.attrs.back(); isSpace && !added.values.empty())
            space = added.values[0] == "preserve" ? 1 : 0;
    }
    n.attrCount = static_cast<uint32_t>(image.attrs.size() - n.firstAttr);
    image.nodes.push_back(n);
    int32_t index = static_cast<int32_t>(image.nodes.size() - 1);
    MarkReference(st, index);
    bool preserve = space >= 0 ? space == 1 : !st.open.empty() && st.open.back().preserve;
    bool dropBlanks = st.dropBlanks && !preserve && static_cast<size_t>(def) < st.facts.elementOnly.size() &&
                      st.facts.elementOnly[def] && !st.facts.mixed[def];
    st.open.push_back({index, def, -1, preserve, dropBlanks});
}

void OnEndElement(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) {
    XmlRead &st = StateOf(ctx);
    if (st.Stopped()) return;
    Track(st, ctx);
    if (st.open.empty()) return;
    st.open.pop_back();
    if (st.open.empty()) st.rootClosed = true;
}

void OnText(void *ctx, const xmlChar *ch, int len) {
    XmlRead &st = StateOf(ctx);
    if (st.open.empty() || len <= 0) return;
    if (!Deliver(st, ctx, static_cast<uint64_t>(len))) return;
    Track(st, ctx);
    DocImage &image = st.image;
    OpenElement &top = st.open.back();
    std::string_view chunk(C(ch), static_cast<size_t>(len));
    if (static_cast<size_t>(top.def) >= st.textRead.size()) {
        st.textRead.resize(image.defs.size(), 0);
        st.blanksDropped.resize(image.defs.size(), 0);
    }
    if (!st.textRead[top.def] && !IsXmlBlank(chunk)) {
        st.textRead[top.def] = 1;
        if (st.blanksDropped[top.def]) {
            // White space left out of this definition's elements was content after all.
            st.restart = true;
            return st.Fail("the read starts again, keeping white space", ctx);
        }
    }
    if (top.dropBlanks && !st.textRead[top.def] && (top.lastText < 0 || top.lastText == kBlankRun)) {
        // Text in an element of this definition is all white space so far.
        st.blanksDropped[top.def] = 1;
        top.lastText = kBlankRun;
        return;
    }
    if (top.lastText >= 0) {
        // Runs of one text node are contiguous at the end of the arena.
        NodeImage &t = image.nodes[top.lastText];
        if (static_cast<uint64_t>(t.textLength) + static_cast<uint64_t>(len) > std::numeric_limits<uint32_t>::max())
            return st.Fail("a text is too long", ctx);
        image.text.Append(t, std::string_view(C(ch), static_cast<size_t>(len)));
    } else {
        NodeImage t;
        t.parent = top.node;
        t.def = kTextNode;
        image.text.Add(t, std::string_view(C(ch), static_cast<size_t>(len)));
        image.nodes.push_back(t);
        top.lastText = static_cast<int32_t>(image.nodes.size() - 1);
        MarkReference(st, top.lastText);
    }
}

void OnError(void *ctx, xmlErrorPtr error) { StateOf(ctx).errors.Record(error); }

// The encoding a file is written in when it is not UTF-8 ("" for UTF-8): UTF-16 by its byte
// order mark or its first characters, else the encoding its XML declaration names. The stream is
// left at its start.
std::string EncodingOf(std::ifstream &in) {
    std::string head(512, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    in.clear();
    in.seekg(0);
    if (head.compare(0, 2, "\xFF\xFE") == 0 || head.compare(0, 4, std::string("<\0?\0", 4)) == 0) return "UTF-16LE";
    if (head.compare(0, 2, "\xFE\xFF") == 0 || head.compare(0, 4, std::string("\0<\0?", 4)) == 0) return "UTF-16BE";
    if (head.compare(0, 5, "<?xml") != 0) return {};
    size_t end = head.find("?>"), at = head.find("encoding");
    if (end == std::string::npos || at == std::string::npos || at > end) return {};
    size_t open = head.find_first_of("\"'", at);
    size_t close = open == std::string::npos ? open : head.find(head[open], open + 1);
    if (close == std::string::npos || close > end) return {};
    std::string name = head.substr(open + 1, close - open - 1);
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "utf-8" || lower == "utf8" ? std::string() : name;
}

// `raw` in `encoding` as UTF-8 (a byte order mark dropped); false when it cannot be converted.
bool ToUtf8(const std::string &raw, const std::string &encoding, std::string &out) {
    iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.clear();
    std::string in = raw;
    char *src = in.data();
    size_t left = in.size();
    std::string chunk(65536, '\0');
    bool ok = true;
    while (left > 0) {
        char *dst = chunk.data();
        size_t room = chunk.size();
        size_t rc = iconv(cd, &src, &left, &dst, &room);
        out.append(chunk.data(), chunk.size() - room);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.erase(0, 3);
    return ok;
}

// The DOCTYPE declaration of a file as written in it (in UTF-8), or "" when it has none or its
// text cannot be read as text of its encoding (then a save declares the catalog instead). Comments, instructions and quoted
// text are skipped when looking for its start and its end.
std::string DoctypeText(const std::string &nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    std::string buf;
    // A file in another encoding is read whole and turned into UTF-8 first: the DOCTYPE is kept
    // as written, in the encoding a save writes.
    if (std::string encoding = EncodingOf(in); !encoding.empty()) {
        std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!ToUtf8(raw, encoding, buf)) return {};
        in.setstate(std::ios::eofbit);
    }
    size_t at = 0, start = std::string::npos;
    bool inSubset = false;
    char quote = 0;
    auto more = [&] {
        char chunk[65536];
        in.read(chunk, sizeof chunk);
        if (in.gcount() <= 0) return false;
        buf.append(chunk, static_cast<size_t>(in.gcount()));
        return true;
    };
    auto skipTo = [&](const char *end) {
        size_t e;
        while ((e = buf.find(end, at)) == std::string::npos)
            if (!more()) return false;
        at = e + std::strlen(end);
        return true;
    };
    while (true) {
        while (at + 9 >= buf.size() && more()) {
        }
        if (at >= buf.size()) return {};
        if (start == std::string::npos) {
            if (buf.compare(at, 4, "<!--") == 0) {
                if (!skipTo("-->")) return {};
            } else if (buf.compare(at, 2, "<?") == 0) {
                if (!skipTo("?>")) return {};
            } else if (buf.compare(at, 9, "<!DOCTYPE") == 0) {
                start = at;
                at += 9;
            } else if (buf[at] == '<') {
                return {};  // the root element: no DOCTYPE
            } else {
                ++at;
            }
            continue;
        }
        char c = buf[at];
        if (quote) {
            if (c == quote) quote = 0;
            ++at;
        } else if (inSubset && buf.compare(at, 4, "<!--") == 0) {
            if (!skipTo("-->")) return {};
        } else if (inSubset && buf.compare(at, 2, "<?") == 0) {
            if (!skipTo("?>")) return {};
        } else if (c == '"' || c == '\'') {
            quote = c;
            ++at;
        } else if (c == '[') {
            inSubset = true;
            ++at;
        } else if (c == ']') {
            inSubset = false;
            ++at;
        } else if (c == '>' && !inSubset) {
            std::string text = buf.substr(start, at + 1 - start);
            return ValidUtf8(text) == text ? text : std::string();
        } else {
            ++at;
        }
    }
}

}  // namespace

namespace {

// One read of the file; `dropBlanks` leaves white space in element-only content out as it is
// read, and `restart` tells that the read must be done again without.
bool ReadXmlOnce(const std::string &nativePath, DocImage &image, ReadFailure &failure, bool dropBlanks, bool &restart) {
    XmlRead st(image);
    st.dropBlanks = dropBlanks;
    xmlParserCtxtPtr ctxt = NewSafeSaxParser(nativePath, st.load);
    if (!ctxt) {
        failure = ReadFailure{0, "the file could not be read"};
        return false;
    }
    st.ctxt = ctxt;
    st.errors.mainFile = nativePath;
    st.folder = std::filesystem::path(LocalFileOf(nativePath.c_str())).parent_path().string();
    image.flows.push_back(FlowImage{"Main", true, 0, 0});
    image.xml.fromXml = true;
    // libxml2's own handler keeps building the DTD; elements, text, comments, processing
    // instructions and entity references come to us.
    xmlSAXHandler *sax = ctxt->sax;
    sax->startElementNs = OnStartElement;
    sax->endElementNs = OnEndElement;
    sax->characters = OnText;
    sax->cdataBlock = OnText;
    sax->ignorableWhitespace = OnText;
    sax->comment = OnComment;
    sax->processingInstruction = OnProcessingInstruction;
    sax->getEntity = OnGetEntity;
    sax->internalSubset = OnInternalSubset;
    sax->serror = OnError;
    gXmlRead = &st;
    xmlParseDocument(ctxt);
    gXmlRead = nullptr;
    EndSafeSaxRead();
    bool wellFormed = ctxt->wellFormed != 0;
    int line = xmlSAX2GetLineNumber(ctxt);
    if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
    ctxt->myDoc = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (st.restart) {
        restart = true;
        return false;
    }
    if (!st.ours.message.empty()) {
        failure = st.ours;
        return false;
    }
    if (!st.load.refusedEntity.empty()) {
        failure = ReadFailure{0, st.load.refusedEntity};
        return false;
    }
    if (!wellFormed) {
        failure = st.errors.Failure(line);
        if (!st.load.refusedParameter.empty()) failure.message = st.load.refusedParameter;
        return false;
    }
    if (!st.rootSeen) {
        failure = ReadFailure{0, "the file holds no element"};
        return false;
    }
    // A reference to an entity declared nowhere that could be read would vanish from the
    // document: the open fails instead, naming it.
    if (!st.errors.undeclaredEntity.empty()) {
        failure.message = "the entity \"" + st.errors.undeclaredEntity + "\" is not declared";
        if (!st.load.missingDtd.empty())
            failure.message += " (the DTD " + st.load.missingDtd + " that may declare it could not be read)";
        return false;
    }
    if (!st.load.missingDtd.empty())
        image.notices.push_back("the DTD " + st.load.missingDtd +
                                " could not be read: elements have only the attributes they carry");
    for (size_t i = 0; i < image.xml.entities.size() && i < st.entityFiles.size(); ++i)
        if (auto d = st.load.textDecls.find(st.entityFiles[i]); d != st.load.textDecls.end())
            image.xml.entities[i].textDecl = d->second;
    if (st.doctypeSeen) image.xml.doctype = DoctypeText(nativePath);
    if (!image.doctype.systemId.empty()) {
        xmlChar *uri = xmlBuildURI(X(image.doctype.systemId), X(nativePath));
        if (uri) image.xml.dtdFile = LocalFileOf(C(uri));
        if (uri) xmlFree(uri);
    }
    FinishImage(image, st.facts, st.textRead);
    return true;
}

}  // namespace

bool ReadXml(const std::string &nativePath, DocImage &image, ReadFailure &failure) {
    bool restart = false;
    bool ok = ReadXmlOnce(nativePath, image, failure, true, restart);
    if (!restart) return ok;
    image = DocImage();
    return ReadXmlOnce(nativePath, image, failure, false, restart);
}

// ---- writing ---------------------------------------------------------------------------------

namespace {

// The DOCTYPE as read; saved into a folder where its relative system identifier no longer
// names the DTD, the identifier becomes the DTD's absolute path.
std::string DoctypeFor(const XmlSourceImage &xml, const std::string &systemId, const std::string &targetFolder) {
    namespace fs = std::filesystem;
    if (systemId.empty() || xml.dtdFile.empty() || systemId.find("://") != std::string::npos ||
        fs::path(systemId).is_absolute())
        return xml.doctype;
    std::error_code ec;
    fs::path there = fs::weakly_canonical(fs::path(targetFolder) / systemId, ec);
    if (!ec && there.string() == xml.dtdFile) return xml.doctype;
    size_t subset = xml.doctype.find('[');
    for (char q : {'"', '\''}) {
        std::string quoted = q + systemId + q;
        size_t at = xml.doctype.find(quoted);
        if (at != std::string::npos && at < subset)
            return xml.doctype.substr(0, at) + q + xml.dtdFile + q + xml.doctype.substr(at + quoted.size());
    }
    return xml.doctype;
}

// Which bytes of host text need a look when written: markup characters, control characters and
// the bytes of multi-byte characters; text ([0]) takes tabs and line ends as they are, an
// attribute value ([1]) does not.
struct EscapeTable {
    bool special[2][256] = {};
    EscapeTable() {
        for (bool *table : {special[0], special[1]}) {
            for (int c = 0; c < 0x20; ++c) table[c] = true;
            for (int c = 0x80; c < 0x100; ++c) table[c] = true;
            for (unsigned char c : {'<', '>', '&', '"'}) table[c] = true;
        }
        special[0][static_cast<unsigned char>('\t')] = special[0][static_cast<unsigned char>('\n')] = false;
    }
};
const EscapeTable kEscape;

// Appends host text as XML text, or as an attribute value (`value`): host tabs become tabs;
// other control characters and the non-characters U+FFFE and U+FFFF, which XML cannot carry,
// are left out; ill-formed UTF-8 becomes U+FFFD; markup characters and carriage returns become
// references, and in a value so do tabs and line ends (a reader would make spaces of them).
void AppendXmlText(std::string &out, std::string_view s, bool value) {
    const bool *special = kEscape.special[value ? 1 : 0];
    size_t run = 0, i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        if (!special[c]) {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            uint32_t cp;
            size_t len = Utf8SequenceAt(s, i, cp);
            if (len && cp != 0xFFFE && cp != 0xFFFF) {
                i += len;
                continue;
            }
            out.append(s.data() + run, i - run);
            if (!len) out += "\xEF\xBF\xBD";
            i += len ? len : 1;
            run = i;
            continue;
        }
        out.append(s.data() + run, i - run);
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\r': out += "&#13;"; break;
            case '\n': out += "&#10;"; break;  // values only
            case '\t':  // values only
            case kHostTab: out += value ? "&#9;" : "\t"; break;
            default: break;  // a control character XML cannot carry
        }
        run = ++i;
    }
    out.append(s.data() + run, i - run);
}

// One file being written: the document's or an external entity's. The document's goes to its
// reader in pieces of about kPiece bytes as they fill (`sink`); an entity's stays whole.
struct XmlOut {
    static constexpr size_t kPiece = size_t(1) << 20;
    std::string bytes;
    bool ok = true;
    XmlPieces *sink = nullptr;

    // Hands the bytes made so far over once they fill a piece (or all of them, `last`).
    void HandOver(bool last = false) {
        if (!sink || (!last && bytes.size() < kPiece)) return;
        if (!bytes.empty()) sink->Add(std::move(bytes));
        bytes = std::string();
        if (!last) bytes.reserve(kPiece + kPiece / 8);
    }
};

// A comment or an instruction. An instruction with data needs a name, and not "xml" (in any
// case): that name belongs to the XML declaration.
void AppendMisc(XmlOut &out, const MiscImage &m) {
    if (m.comment) {
        out.bytes += "<!--";
        out.bytes += m.text;
        out.bytes += "-->";
        return;
    }
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    bool reserved = m.target.size() == 3 && lower(m.target[0]) == 'x' && lower(m.target[1]) == 'm' && lower(m.target[2]) == 'l';
    if (!m.text.empty() && (m.target.empty() || reserved)) {
        out.ok = false;
        return;
    }
    out.bytes += "<?";
    out.bytes += m.target;
    if (!m.text.empty()) {
        out.bytes += ' ';
        out.bytes += m.text;
    }
    out.bytes += "?>";
}

// The catalog as the internal subset of a generated DOCTYPE.
void AppendCatalog(std::string &out, const DocImage &image, const std::string &rootName,
                   const std::vector<std::vector<std::string>> &children, const std::vector<char> &holdsText) {
    out += "<!DOCTYPE " + rootName;
    if (!image.defs.empty()) out += " [";
    for (size_t d = 0; d < image.defs.size(); ++d) {
        const ElementDefImage &def = image.defs[d];
        out += "\n<!ELEMENT " + def.name + " " + ContentModelFor(def, children[d], holdsText[d]) + ">";
        std::string attlist = AttlistFor(def);
        if (!attlist.empty()) out += "\n<!ATTLIST " + def.name + " " + attlist + ">";
    }
    out += image.defs.empty() ? ">" : "]>";
}

// The definitions of a document by id, in a table indexed by the id's counter.
class DefTable {
  public:
    explicit DefTable(const std::unordered_map<F_ObjHandleT, int32_t> &byId) {
        if (byId.empty()) return;
        uint32_t low = UINT32_MAX, high = 0;
        for (const auto &entry : byId) {
            low = std::min(low, CounterOf(entry.first));
            high = std::max(high, CounterOf(entry.first));
        }
        low_ = low;
        index_.assign(high - low + 1, -1);
        for (const auto &[id, index] : byId) index_[CounterOf(id) - low] = index;
    }
    // The index of definition `def` in the image, -1 when it is none of the document's.
    int32_t operator[](F_ObjHandleT def) const {
        uint32_t k = CounterOf(def) - low_;
        return KindOf(def) == FO_ElementDef && k < index_.size() ? index_[k] : -1;
    }

  private:
    uint32_t low_ = 0;
    std::vector<int32_t> index_;
};

// Writes the main flow's tree of a document straight from the object model: document order,
// with an explicit stack of open elements (no recursion on depth). The content of an external
// entity goes to the entity's own file, with the reference in its place; each entity's file is
// written once (from its first reference).
class TreeWriter {
  public:
    TreeWriter(const DocImage &image, const DefTable &defs, const std::unordered_map<F_ObjHandleT, int32_t> &referenceOf,
               const std::vector<char> &indentable, const std::string &targetFolder, XmlOut &out)
        : image_(image), xml_(image.xml), defs_(defs), referenceOf_(referenceOf), indentable_(indentable),
          targetFolder_(targetFolder), out_(out), entityWritten_(image.xml.entities.size(), 0),
          referenceHoldsText_(image.xml.references.size(), 0) {
        // References whose content holds text at its top: its file's bytes are that content
        // alone, so no line ends are added around it.
        for (const auto &[node, ref] : referenceOf_) {
            const Element *e = Elem(node);
            if (ref >= 0 && static_cast<size_t>(ref) < xml_.references.size() && e && !e->def) referenceHoldsText_[ref] = 1;
        }
    }

    // Writes the tree of `root`; false when a file could not be written.
    bool Write(F_ObjHandleT root, std::vector<SideFile> &sideFiles) {
        WalkTree(root, [&](F_ObjHandleT id, const Element &e, size_t depth) { return Node(id, e, depth, sideFiles); });
        while (!stack_.empty() && out_.ok) {
            Close();
            while (!frames_.empty() && stack_.size() < frames_.back().depth) FinishFrame(sideFiles);
        }
        while (!frames_.empty()) FinishFrame(sideFiles);
        for (const auto &w : entityOuts_) filesOk_ = filesOk_ && w->ok;
        return out_.ok && filesOk_;
    }

  private:
    // An element whose end tag is still to come.
    struct Open {
        int32_t def;
        XmlOut *w;    // the file its start tag is in
        size_t base;  // the depth its file's indentation starts from
        bool hadChildren;
        bool startOpen;  // its start tag still lacks its '>'
    };
    // An external entity's content being written to its own file.
    struct Frame {
        int32_t reference;
        size_t depth;
        XmlOut *w;
        bool first;
        std::string entity, target;  // the target is "" for a later reference of an entity
        bool text;  // the entity's content holds text at its top: written exactly, nothing added
    };

    XmlOut &Current() { return frames_.empty() ? out_ : *frames_.back().w; }
    size_t Base() const { return frames_.empty() ? 0 : frames_.back().depth; }
    // Ends the start tag of the innermost open element of `w` before anything is written into it.
    std::string &Content(XmlOut &w) {
        if (!stack_.empty() && stack_.back().w == &w && stack_.back().startOpen) {
            w.bytes += '>';
            stack_.back().startOpen = false;
        }
        return w.bytes;
    }
    void Indent(XmlOut &w, size_t depth) { Content(w).append("\n").append(depth * 2, ' '); }

    void Close() {
        Open &top = stack_.back();
        if (top.hadChildren && indentable_[top.def]) Indent(*top.w, stack_.size() - 1 - top.base);
        std::string &b = top.w->bytes;
        if (top.startOpen) {
            b += "/>";
        } else {
            b += "</";
            b += image_.defs[top.def].name;
            b += '>';
        }
        stack_.pop_back();
    }

    void FinishFrame(std::vector<SideFile> &sideFiles) {
        Frame f = std::move(frames_.back());
        frames_.pop_back();
        if (!f.text) f.w->bytes += '\n';
        if (f.target.empty()) return;
        if (!f.w->ok) filesOk_ = false;
        sideFiles.push_back(SideFile{f.entity, f.target, std::move(f.w->bytes)});
    }

    int32_t ReferenceOf(F_ObjHandleT id) const {
        auto r = referenceOf_.find(id);
        return r == referenceOf_.end() || r->second < 0 || static_cast<size_t>(r->second) >= xml_.references.size()
                   ? -1
                   : r->second;
    }

    // One node in document order at `depth` (its number of ancestors); false ends the walk.
    bool Node(F_ObjHandleT id, const Element &e, size_t depth, std::vector<SideFile> &sideFiles) {
        if (!out_.ok || !filesOk_) return false;
        out_.HandOver();
        int32_t def = -1;
        if (e.def && !e.misc) {
            def = defs_[e.def];
            if (def < 0) return false;  // a definition that is gone: the tree ends here
        }
        while (stack_.size() > depth) Close();
        int32_t ref = referenceOf_.empty() ? -1 : ReferenceOf(id);
        while (!frames_.empty() && (stack_.size() < frames_.back().depth ||
                                    (stack_.size() == frames_.back().depth && ref != frames_.back().reference)))
            FinishFrame(sideFiles);
        bool parentIndents = !stack_.empty() && indentable_[stack_.back().def];
        if (!stack_.empty()) stack_.back().hadChildren = true;
        if (ref >= 0 && !stack_.empty() &&
            (frames_.empty() || frames_.back().reference != ref || frames_.back().depth != stack_.size()))
            BeginReference(ref, parentIndents);
        XmlOut &w = Current();
        if (!frames_.empty() && frames_.back().depth == stack_.size()) {
            // A highest node of an entity's file: one per line.
            if (!frames_.back().first && !frames_.back().text) Content(w) += '\n';
            frames_.back().first = false;
        } else if (stack_.empty()) {
            for (const MiscImage &m : xml_.beforeRoot) {
                AppendMisc(w, m);
                w.bytes += '\n';
            }
        } else if (parentIndents) {
            Indent(w, stack_.size() - Base());
        }
        if (e.misc) {  // a comment or an instruction, in its place
            std::string stored(e.text.view());
            std::replace(stored.begin(), stored.end(), kHostTab, '\t');  // tabs were read as host tabs
            Content(w);
            if (e.misc == kMiscComment) {
                AppendMisc(w, MiscImage{true, {}, std::move(stored)});
            } else {
                size_t space = stored.find(' ');
                AppendMisc(w, MiscImage{false, stored.substr(0, space),
                                        space == std::string::npos ? std::string() : stored.substr(space + 1)});
            }
            return true;
        }
        if (def < 0) {  // text
            AppendXmlText(Content(w), e.text, false);
            return true;
        }
        std::string &b = Content(w);
        b += '<';
        b += image_.defs[def].name;
        for (const Attr &a : e.attrs) {
            if (a.values.empty()) continue;
            b += ' ';
            b += AtomName(a.name);
            b += "=\"";
            for (size_t k = 0; k < a.values.size(); ++k) {
                if (k) b += ' ';
                AppendXmlText(b, a.values[k], true);
            }
            b += '"';
        }
        stack_.push_back(Open{def, &w, Base(), false, true});
        return true;
    }

    void BeginReference(int32_t ref, bool parentIndents) {
        int32_t entity = xml_.references[ref];
        if (entity < 0 || static_cast<size_t>(entity) >= xml_.entities.size()) return;
        const EntityFileImage &e = xml_.entities[entity];
        XmlOut &parent = Current();
        if (parentIndents) Indent(parent, stack_.size() - Base());
        Content(parent) += "&" + e.name + ";";
        auto w = std::make_unique<XmlOut>();
        Frame f{ref, stack_.size(), w.get(), true, e.name, {}, referenceHoldsText_[ref] != 0};
        if (!entityWritten_[entity]) {  // a later reference's content is written nowhere
            entityWritten_[entity] = 1;
            std::filesystem::path target = std::filesystem::path(e.file).is_absolute()
                                               ? std::filesystem::path(e.file)
                                               : std::filesystem::path(targetFolder_) / e.file;
            f.target = target.string();
        }
        if (!e.textDecl.empty()) w->bytes += f.text ? e.textDecl : e.textDecl + "\n";
        entityOuts_.push_back(std::move(w));
        frames_.push_back(std::move(f));
    }

    const DocImage &image_;
    const XmlSourceImage &xml_;
    const DefTable &defs_;
    const std::unordered_map<F_ObjHandleT, int32_t> &referenceOf_;
    const std::vector<char> &indentable_;
    const std::string &targetFolder_;
    XmlOut &out_;
    std::vector<Open> stack_;
    std::vector<Frame> frames_;
    std::vector<std::unique_ptr<XmlOut>> entityOuts_;
    std::vector<char> entityWritten_, referenceHoldsText_;
    bool filesOk_ = true;
};

}  // namespace

void XmlPieces::Add(std::string piece) {
    std::lock_guard<std::mutex> lock(mutex_);
    pieces_.push_back(std::move(piece));
    handed_.notify_all();
}

void XmlPieces::Finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    handed_.notify_all();
}

const std::string *XmlPieces::Wait(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    handed_.wait(lock, [&] { return index < pieces_.size() || finished_; });
    return index < pieces_.size() ? &pieces_[index] : nullptr;
}

std::vector<std::string_view> XmlPieces::Views() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::vector<std::string_view>(pieces_.begin(), pieces_.end());
}

bool WriteXml(F_ObjHandleT doc, const std::string &targetFolder, XmlPieces &pieces, std::vector<SideFile> &sideFiles,
              std::string &error) {
    // The reader learns of the end however the writing ends.
    struct Finisher {
        XmlPieces &pieces;
        ~Finisher() { pieces.Finish(); }
    } finisher{pieces};
    DocImage image;
    std::unordered_map<F_ObjHandleT, int32_t> defIndex, referenceOf;
    const Document *d = Doc(doc);
    const Flow *flow = d ? FlowOf(d->mainFlow) : nullptr;
    const Element *rootElement = flow ? Elem(flow->root) : nullptr;
    if (!ExtractXmlFrame(doc, image, defIndex, referenceOf) || !rootElement || !rootElement->def || rootElement->misc) {
        error = "the document has no structure to write as XML";
        return false;
    }
    const DefTable defs(defIndex);
    const XmlSourceImage &xml = image.xml;
    const int32_t rootDef = defs[rootElement->def];
    if (rootDef < 0) {
        error = "the document has no structure to write as XML";
        return false;
    }

    // Per definition: the tags its elements hold and whether any holds text; per attribute name
    // whether XML can carry it.
    size_t ndefs = image.defs.size();
    std::vector<std::vector<std::string>> children(ndefs);
    std::vector<std::vector<char>> childSeen(ndefs);
    std::vector<char> holdsText(ndefs, 0);
    std::vector<signed char> nameOk;  // by atom: -1 not seen yet
    std::vector<int32_t> defAt;       // the definition of each open ancestor
    std::string badName;
    WalkTree(flow->root, [&](F_ObjHandleT, const Element &e, size_t depth) {
        defAt.resize(std::min(depth, defAt.size()));
        int32_t pd = defAt.empty() ? -1 : defAt.back();
        if (!e.def || e.misc) {  // text, a comment or an instruction
            if (!e.def && pd >= 0) holdsText[pd] = 1;
            return true;
        }
        int32_t def = defs[e.def];
        if (def < 0) return false;
        if (pd >= 0) {
            if (childSeen[pd].empty()) childSeen[pd].resize(ndefs, 0);
            if (!childSeen[pd][def]) {
                childSeen[pd][def] = 1;
                children[pd].push_back(image.defs[def].name);
            }
        }
        for (const Attr &a : e.attrs) {
            if (a.name >= nameOk.size()) nameOk.resize(a.name + 1, -1);
            if (nameOk[a.name] < 0) nameOk[a.name] = IsXmlName(AtomName(a.name)) ? 1 : 0;
            if (!nameOk[a.name] && badName.empty()) badName = AtomName(a.name);
        }
        defAt.push_back(def);
        return true;
    });
    // Names XML cannot carry make the save fail before any file is touched.
    for (const ElementDefImage &def : image.defs) {
        if (!IsXmlName(def.name)) {
            error = "the element name \"" + def.name + "\" is not an XML name";
            return false;
        }
        for (const AttrDefImage &a : def.attributes)
            if (!IsXmlName(a.name)) {
                error = "the attribute name \"" + a.name + "\" is not an XML name";
                return false;
            }
    }
    if (!badName.empty()) {
        error = "the attribute name \"" + badName + "\" is not an XML name";
        return false;
    }

    // Element-only content can be indented: a reopen drops that white space again.
    std::vector<char> indentable(ndefs, 0);
    for (size_t i = 0; i < ndefs; ++i) {
        const ElementDefImage &def = image.defs[i];
        indentable[i] = !holdsText[i] && def.paragraphFormat.empty() && def.contentModel.find("#PCDATA") == std::string::npos;
    }

    XmlOut out;
    out.sink = &pieces;
    out.bytes.reserve(XmlOut::kPiece + XmlOut::kPiece / 8);
    out.bytes += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    for (const MiscImage &m : xml.beforeDoctype) {
        AppendMisc(out, m);
        out.bytes += '\n';
    }
    // The DOCTYPE as the file had it; a file read without one gets none; else the catalog.
    if (!xml.doctype.empty()) {
        out.bytes += DoctypeFor(xml, image.doctype.systemId, targetFolder) + "\n";
    } else if (!xml.fromXml || !image.doctype.rootName.empty()) {
        AppendCatalog(out.bytes, image, image.defs[rootDef].name, children, holdsText);
        out.bytes += '\n';
    }
    bool ok = TreeWriter(image, defs, referenceOf, indentable, targetFolder, out).Write(flow->root, sideFiles);
    for (const MiscImage &m : xml.afterRoot) {
        out.bytes += '\n';
        AppendMisc(out, m);
    }
    out.bytes += '\n';
    if (!ok || !out.ok) {
        error = "the document could not be written";
        sideFiles.clear();
        return false;
    }
    out.HandOver(true);
    return true;
}

namespace {

// The check over the pieces `next` gives (an empty view: there are no more). A streaming read that
// keeps nothing of the content: libxml2's own handler for the declarations (so that entity
// references are checked against them), none for the rest.
template <class Next>
bool CheckPieces(Next &&next, std::string &error) {
    xmlSAXHandler sax;
    xmlSAXVersion(&sax, 2);
    sax.startElementNs = nullptr;
    sax.endElementNs = nullptr;
    sax.startElement = nullptr;
    sax.endElement = nullptr;
    sax.characters = nullptr;
    sax.ignorableWhitespace = nullptr;
    sax.cdataBlock = nullptr;
    sax.comment = nullptr;
    sax.processingInstruction = nullptr;
    sax.reference = nullptr;
    sax.warning = nullptr;
    sax.error = nullptr;
    sax.serror = [](void *c, xmlErrorPtr e) {
        static_cast<ErrorLog *>(static_cast<xmlParserCtxtPtr>(c)->_private)->Record(e);
    };
    // The parser reads the pieces through a callback, a little at a time (the pull parser does
    // less work per byte than the push one): it holds a few kilobytes, never a copy of the whole.
    struct Reader {
        Next &next;
        std::string_view rest;
        bool ended = false;
    } reader{next, {}};
    // Fills the parser's buffer across pieces: its first read must see the file's first bytes
    // together, to tell their encoding.
    auto read = [](void *context, char *buffer, int len) -> int {
        Reader &r = *static_cast<Reader *>(context);
        size_t filled = 0, want = static_cast<size_t>(std::max(len, 0));
        while (filled < want && !r.ended) {
            if (r.rest.empty()) {
                r.rest = r.next();
                r.ended = r.rest.empty();
                continue;
            }
            size_t n = std::min(r.rest.size(), want - filled);
            std::memcpy(buffer + filled, r.rest.data(), n);
            r.rest.remove_prefix(n);
            filled += n;
        }
        return static_cast<int>(filled);
    };
    xmlParserCtxtPtr ctxt = xmlCreateIOParserCtxt(&sax, nullptr, read, nullptr, &reader, XML_CHAR_ENCODING_NONE);
    if (!ctxt) {
        error = "out of memory";
        return false;
    }
    ErrorLog log;
    ctxt->_private = &log;
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    xmlParseDocument(ctxt);
    bool ok = ctxt->wellFormed != 0;
    if (!ok) {
        ReadFailure f = log.Failure(0);
        error = f.line > 0 ? "line " + std::to_string(f.line) + ": " + f.message : f.message;
    }
    if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
    xmlFreeParserCtxt(ctxt);
    return ok;
}

}  // namespace

bool CheckWellFormed(std::string_view bytes, std::string &error) {
    bool given = false;
    return CheckPieces(
        [&] {
            std::string_view piece = given ? std::string_view() : bytes;
            given = true;
            return piece;
        },
        error);
}

bool CheckWellFormed(XmlPieces &pieces, std::string &error) {
    size_t index = 0;
    return CheckPieces(
        [&] {
            // An empty piece is never handed over, so an empty view is the end.
            const std::string *piece = pieces.Wait(index++);
            return piece ? std::string_view(*piece) : std::string_view();
        },
        error);
}

}  // namespace host::docfile
