// Plain XML files to and from the document image.
#include "docfile_xml.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unordered_map>

#include <libxml/SAX2.h>
#include <libxml/xmlwriter.h>

#include "docfile_dtd.h"
#include "fdk.h"

namespace host::docfile {
namespace {

constexpr char kHostTab = '\x08';

const char *C(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

// An element being read: its node and, when its last child so far is text, that text node
// (text split by comments, CDATA sections or entity ends is one run between child elements).
struct OpenElement {
    int32_t node;
    int32_t lastText;
};

// The attribute values of one attribute as the definition's type wants them.
std::vector<std::string> ValuesFor(const ElementDefImage &def, const std::string &name, const char *value) {
    for (const AttrDefImage &a : def.attributes)
        if (a.name == name) return IsListType(a.type) ? SplitTokens(value) : std::vector<std::string>{value};
    return {value};
}

// Drops whitespace-only text nodes of elements that hold no other text, decides which elements
// begin paragraphs, and turns tabs into host tabs. A definition holds text when it is declared
// mixed or any of its elements holds text directly; an element begins a paragraph when its
// definition holds text and its parent's does not (inside mixed content it is inline). A
// definition with such an element gets a paragraph format of its own name; its elements that
// stand inline are marked as not beginning one.
void FinishImage(DocImage &image, const DtdFacts &facts) {
    size_t ndefs = image.defs.size();
    std::vector<char> holdsText(ndefs, 0);
    for (size_t d = 0; d < ndefs && d < facts.mixed.size(); ++d) holdsText[d] = facts.mixed[d];
    for (const NodeImage &n : image.nodes)
        if (n.def == kTextNode && n.parent >= 0 && !IsXmlBlank(image.NodeText(n)))
            holdsText[image.nodes[n.parent].def] = 1;

    // Compact the node list, renumbering parents (a parent always comes before its children).
    std::vector<int32_t> newIndex(image.nodes.size(), -1);
    size_t out = 0;
    for (size_t i = 0; i < image.nodes.size(); ++i) {
        NodeImage n = image.nodes[i];
        // Elements are never dropped, so the parent already sits at its new place.
        if (n.parent >= 0) n.parent = newIndex[n.parent];
        if (n.def == kTextNode && (n.parent < 0 || !holdsText[image.nodes[n.parent].def]) && IsXmlBlank(image.NodeText(n)))
            continue;
        newIndex[i] = static_cast<int32_t>(out);
        image.nodes[out++] = n;
    }
    image.nodes.truncate(out);
    image.flows[0].count = static_cast<int32_t>(out);

    // Which definitions have an element that begins a paragraph; unused definitions go by their
    // declaration (mixed and not named inside another element's mixed content).
    std::vector<char> used(ndefs, 0), paragraph(ndefs, 0);
    for (const NodeImage &n : image.nodes) {
        if (n.def == kTextNode) continue;
        used[n.def] = 1;
        bool inlined = n.parent >= 0 && holdsText[image.nodes[n.parent].def];
        if (holdsText[n.def] && !inlined) paragraph[n.def] = 1;
    }
    for (size_t d = 0; d < ndefs; ++d)
        if (!used[d] && holdsText[d] && !(d < facts.inlined.size() && facts.inlined[d])) paragraph[d] = 1;
    for (NodeImage &n : image.nodes)
        if (n.def != kTextNode && paragraph[n.def] && n.parent >= 0 && holdsText[image.nodes[n.parent].def])
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

// Everything a read keeps between libxml2's callbacks (reached through the parser's _private).
struct XmlRead {
    DocImage &image;
    xmlParserCtxtPtr ctxt;
    std::vector<OpenElement> open;
    std::unordered_map<const xmlChar *, int32_t> defByName;  // names interned in the parser's dictionary
    DtdFacts facts;
    ErrorLog errors;
    ReadFailure ours;  // a failure of our own (limits), which stops the parser
    bool catalogRead = false;
    bool rootSeen = false;

    void Fail(const std::string &message) {
        if (ours.message.empty()) ours = ReadFailure{xmlSAX2GetLineNumber(ctxt), message};
        xmlStopParser(ctxt);
    }
};

XmlRead &StateOf(void *ctx) { return *static_cast<XmlRead *>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

std::string QName(const xmlChar *prefix, const xmlChar *local) {
    return prefix ? std::string(C(prefix)) + ":" + C(local) : std::string(C(local));
}

// An attribute the element carries. A declared one gets the values its type wants; any other
// stays the element's own undeclared attribute (no definition gains it from usage).
void AddAttribute(XmlRead &st, int32_t def, std::string name, const char *value) {
    std::vector<std::string> values = ValuesFor(st.image.defs[def], name, value);
    st.image.attrs.push_back(AttrImage{std::move(name), std::move(values)});
}

void OnStartElement(void *ctx, const xmlChar *local, const xmlChar *prefix, const xmlChar *, int nbNamespaces,
                    const xmlChar **namespaces, int nbAttributes, int nbDefaulted, const xmlChar **attributes) {
    XmlRead &st = StateOf(ctx);
    DocImage &image = st.image;
    if (!st.catalogRead) {
        // The declarations are complete once the root element starts.
        st.facts = CatalogFromDtd(st.ctxt->myDoc, image);
        st.catalogRead = true;
    }
    if (image.nodes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1))
        return st.Fail("the document holds too many elements");
    const xmlChar *key = prefix ? xmlDictQLookup(st.ctxt->dict, prefix, local) : local;
    auto found = st.defByName.find(key);
    int32_t def = found != st.defByName.end() ? found->second : image.DefFor(QName(prefix, local));
    if (found == st.defByName.end()) st.defByName.emplace(key, def);

    NodeImage n;
    n.def = def;
    n.parent = st.open.empty() ? -1 : st.open.back().node;
    if (st.open.empty()) {
        if (st.rootSeen) return st.Fail("the file holds more than one root element");
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
    for (int i = 0; i < nbAttributes - nbDefaulted; ++i) {
        const xmlChar **a = attributes + 5 * i;
        std::string value(C(a[3]), static_cast<size_t>(a[4] - a[3]));
        AddAttribute(st, def, QName(a[1], a[0]), value.c_str());
    }
    n.attrCount = static_cast<uint32_t>(image.attrs.size() - n.firstAttr);
    image.nodes.push_back(n);
    st.open.push_back({static_cast<int32_t>(image.nodes.size() - 1), -1});
}

void OnEndElement(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) {
    XmlRead &st = StateOf(ctx);
    if (!st.open.empty()) st.open.pop_back();
}

void OnText(void *ctx, const xmlChar *ch, int len) {
    XmlRead &st = StateOf(ctx);
    if (st.open.empty() || len <= 0) return;
    DocImage &image = st.image;
    OpenElement &top = st.open.back();
    if (top.lastText >= 0) {
        // Runs of one text node are contiguous at the end of the arena.
        NodeImage &t = image.nodes[top.lastText];
        if (static_cast<uint64_t>(t.textLength) + static_cast<uint64_t>(len) > std::numeric_limits<uint32_t>::max())
            return st.Fail("a text is too long");
        image.text.Append(t, std::string_view(C(ch), static_cast<size_t>(len)));
    } else {
        NodeImage t;
        t.parent = top.node;
        t.def = kTextNode;
        image.text.Start(t);
        image.text.Append(t, std::string_view(C(ch), static_cast<size_t>(len)));
        image.nodes.push_back(t);
        top.lastText = static_cast<int32_t>(image.nodes.size() - 1);
    }
}

void OnError(void *ctx, xmlErrorPtr error) { StateOf(ctx).errors.Record(error); }

}  // namespace

bool ReadXml(const std::string &nativePath, DocImage &image, ReadFailure &failure) {
    xmlParserCtxtPtr ctxt = NewSafeSaxParser(nativePath);
    if (!ctxt) {
        failure = ReadFailure{0, "the file could not be read"};
        return false;
    }
    XmlRead st{image, ctxt, {}, {}, {}, {}, {}};
    image.flows.push_back(FlowImage{"Main", true, 0, 0});
    // libxml2's own handler keeps building the DTD; elements and text come to us, comments and
    // processing instructions are not kept.
    xmlSAXHandler *sax = ctxt->sax;
    sax->startElementNs = OnStartElement;
    sax->endElementNs = OnEndElement;
    sax->characters = OnText;
    sax->cdataBlock = OnText;
    sax->ignorableWhitespace = OnText;
    sax->comment = nullptr;
    sax->processingInstruction = nullptr;
    sax->serror = OnError;
    ctxt->_private = &st;
    xmlParseDocument(ctxt);
    bool wellFormed = ctxt->wellFormed != 0;
    int line = xmlSAX2GetLineNumber(ctxt);
    if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
    ctxt->myDoc = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (!st.ours.message.empty()) {
        failure = st.ours;
        return false;
    }
    if (!wellFormed) {
        failure = st.errors.Failure(line);
        return false;
    }
    if (!st.rootSeen) {
        failure = ReadFailure{0, "the file holds no element"};
        return false;
    }
    FinishImage(image, st.facts);
    return true;
}

// ---- writing ---------------------------------------------------------------------------------

namespace {

// Host text as XML text: host tabs become tabs; other control characters, which XML cannot
// carry, are left out; ill-formed UTF-8 becomes U+FFFD.
std::string XmlText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == kHostTab) out += '\t';
        else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
        else out += c;
    }
    return ValidUtf8(out);
}

// Calls libxml2's writer and remembers the first failure.
struct Writer {
    xmlTextWriterPtr w = nullptr;
    bool ok = true;
    void Check(int rc) { ok = ok && rc >= 0; }
    const xmlChar *X(const std::string &s) { return reinterpret_cast<const xmlChar *>(s.c_str()); }
    ~Writer() {
        if (w) xmlFreeTextWriter(w);
    }
};

}  // namespace

bool WriteXml(const DocImage &image, const std::string &nativePath, std::string &error) {
    int32_t mf = image.MainFlow();
    if (mf < 0 || image.flows[mf].count == 0) {
        error = "the document has no structure to write as XML";
        return false;
    }
    const FlowImage &flow = image.flows[mf];
    const int32_t begin = flow.first, end = flow.first + flow.count;

    // Per definition: the tags its elements hold, whether any holds text, whether it is used.
    size_t ndefs = image.defs.size();
    std::vector<std::vector<std::string>> children(ndefs);
    std::vector<std::vector<char>> childSeen(ndefs);
    std::vector<char> holdsText(ndefs, 0);
    for (int32_t i = begin; i < end; ++i) {
        const NodeImage &n = image.nodes[i];
        if (n.parent < 0) continue;
        int32_t pd = image.nodes[n.parent].def;
        if (n.def == kTextNode) {
            holdsText[pd] = 1;
            continue;
        }
        if (childSeen[pd].empty()) childSeen[pd].resize(ndefs, 0);
        if (!childSeen[pd][n.def]) {
            childSeen[pd][n.def] = 1;
            children[pd].push_back(image.defs[n.def].name);
        }
    }
    // Names XML cannot carry make the save fail before any file is touched.
    for (const ElementDefImage &d : image.defs) {
        if (!IsXmlName(d.name)) {
            error = "the element name \"" + d.name + "\" is not an XML name";
            return false;
        }
        for (const AttrDefImage &a : d.attributes)
            if (!IsXmlName(a.name)) {
                error = "the attribute name \"" + a.name + "\" is not an XML name";
                return false;
            }
    }
    for (int32_t i = begin; i < end; ++i) {
        const NodeImage &n = image.nodes[i];
        for (uint32_t k = 0; k < n.attrCount; ++k)
            if (!IsXmlName(image.attrs[n.firstAttr + k].name)) {
                error = "the attribute name \"" + image.attrs[n.firstAttr + k].name + "\" is not an XML name";
                return false;
            }
    }

    // Element-only content can be indented: a reopen drops that white space again.
    std::vector<char> indentable(ndefs, 0);
    for (size_t d = 0; d < ndefs; ++d) {
        const ElementDefImage &def = image.defs[d];
        indentable[d] = !holdsText[d] && def.paragraphFormat.empty() &&
                        def.contentModel.find("#PCDATA") == std::string::npos;
    }

    Writer out;
    out.w = xmlNewTextWriterFilename(nativePath.c_str(), 0);
    if (!out.w) {
        error = "the file could not be written";
        return false;
    }
    out.Check(xmlTextWriterStartDocument(out.w, "1.0", "UTF-8", nullptr));
    const std::string &rootName = image.defs[image.nodes[begin].def].name;
    out.Check(xmlTextWriterStartDTD(out.w, out.X(rootName), nullptr, nullptr));
    for (size_t d = 0; d < ndefs; ++d) {
        const ElementDefImage &def = image.defs[d];
        out.Check(xmlTextWriterWriteRaw(out.w, reinterpret_cast<const xmlChar *>("\n")));
        std::string model = ContentModelFor(def, children[d], holdsText[d]);
        out.Check(xmlTextWriterWriteDTDElement(out.w, out.X(def.name), out.X(model)));
        std::string attlist = AttlistFor(def);
        if (!attlist.empty()) {
            out.Check(xmlTextWriterWriteRaw(out.w, reinterpret_cast<const xmlChar *>("\n")));
            out.Check(xmlTextWriterWriteDTDAttlist(out.w, out.X(def.name), out.X(attlist)));
        }
    }
    out.Check(xmlTextWriterEndDTD(out.w));
    out.Check(xmlTextWriterWriteRaw(out.w, reinterpret_cast<const xmlChar *>("\n")));

    // Document order with an explicit stack of open elements: no recursion on depth.
    struct Open {
        int32_t node;
        bool hadChildren;
    };
    std::vector<Open> stack;
    auto indent = [&](size_t depth) {
        std::string s = "\n" + std::string(depth * 2, ' ');
        out.Check(xmlTextWriterWriteRaw(out.w, out.X(s)));
    };
    auto close = [&] {
        Open top = stack.back();
        stack.pop_back();
        if (top.hadChildren && indentable[image.nodes[top.node].def]) indent(stack.size());
        out.Check(xmlTextWriterEndElement(out.w));
    };
    for (int32_t i = begin; i < end && out.ok; ++i) {
        const NodeImage &n = image.nodes[i];
        while (!stack.empty() && stack.back().node != n.parent) close();
        if (!stack.empty()) {
            stack.back().hadChildren = true;
            if (indentable[image.nodes[n.parent].def]) indent(stack.size());
        }
        if (n.def == kTextNode) {
            out.Check(xmlTextWriterWriteString(out.w, out.X(XmlText(image.NodeText(n)))));
            continue;
        }
        out.Check(xmlTextWriterStartElement(out.w, out.X(image.defs[n.def].name)));
        for (uint32_t k = 0; k < n.attrCount; ++k) {
            const AttrImage &a = image.attrs[n.firstAttr + k];
            if (a.values.empty()) continue;
            out.Check(xmlTextWriterWriteAttribute(out.w, out.X(a.name), out.X(XmlText(JoinTokens(a.values)))));
        }
        stack.push_back({i, false});
    }
    while (!stack.empty() && out.ok) close();
    out.Check(xmlTextWriterEndDocument(out.w));
    xmlFreeTextWriter(out.w);
    out.w = nullptr;
    if (!out.ok) error = "the file could not be written";
    return out.ok;
}

}  // namespace host::docfile
