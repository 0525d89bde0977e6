// The native document file format: reader and writer (layout in docfile_native.h).
#include "docfile_native.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <libxml/xmlwriter.h>

#include "fdk.h"

namespace host::docfile {
namespace {

// ---- reading ---------------------------------------------------------------------------------

enum class Tag { None, Document, Settings, Setting, Doctype, Catalog, ElementDef, AttrDef, Choice, Default,
                 Formats, Format, Property, Flows, Flow, E, A, V, T, X, Prop, R, C };

struct TagRule {
    const char *name;
    Tag tag;
    Tag parent;   // the element it must stand in (None: the root)
    Tag parent2;  // a second allowed parent, or None
    Tag parent3 = Tag::None;
};

// Where each element of the format may stand.
const TagRule kRules[] = {
    {"qvdocument", Tag::Document, Tag::None, Tag::None},
    {"settings", Tag::Settings, Tag::Document, Tag::None},
    {"setting", Tag::Setting, Tag::Settings, Tag::None},
    {"doctype", Tag::Doctype, Tag::Document, Tag::None},
    {"catalog", Tag::Catalog, Tag::Document, Tag::None},
    {"element-def", Tag::ElementDef, Tag::Catalog, Tag::None},
    {"attribute-def", Tag::AttrDef, Tag::ElementDef, Tag::None},
    {"choice", Tag::Choice, Tag::AttrDef, Tag::None},
    {"default", Tag::Default, Tag::AttrDef, Tag::None},
    {"formats", Tag::Formats, Tag::Document, Tag::None},
    {"format", Tag::Format, Tag::Formats, Tag::None},
    {"property", Tag::Property, Tag::Format, Tag::None},
    {"flows", Tag::Flows, Tag::Document, Tag::None},
    {"flow", Tag::Flow, Tag::Flows, Tag::None},
    {"e", Tag::E, Tag::Flow, Tag::E},
    {"a", Tag::A, Tag::E, Tag::None},
    {"v", Tag::V, Tag::A, Tag::None},
    {"t", Tag::T, Tag::E, Tag::None},
    {"x", Tag::X, Tag::T, Tag::V, Tag::Prop},
    {"prop", Tag::Prop, Tag::E, Tag::None},
    {"r", Tag::R, Tag::E, Tag::None},
    {"c", Tag::C, Tag::R, Tag::None},
};

const TagRule *RuleFor(const char *name) {
    for (const TagRule &r : kRules)
        if (std::strcmp(r.name, name) == 0) return &r;
    return nullptr;
}

bool ParseInt(const std::string &s, long long lo, long long hi, long long &out) {
    if (s.empty()) return false;
    errno = 0;
    char *end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno || *end || v < lo || v > hi) return false;
    out = v;
    return true;
}

class NativeReader {
  public:
    NativeReader(SafeReader &reader, DocImage &image) : reader_(reader), r_(reader.Reader()), image_(image) {}

    void Run() {
        while (reader_.Next()) {
            switch (xmlTextReaderNodeType(r_)) {
                case XML_READER_TYPE_ELEMENT: Start(); break;
                case XML_READER_TYPE_END_ELEMENT: End(); break;
                case XML_READER_TYPE_TEXT:
                case XML_READER_TYPE_CDATA:
                case XML_READER_TYPE_WHITESPACE:
                case XML_READER_TYPE_SIGNIFICANT_WHITESPACE: Text(reinterpret_cast<const char *>(xmlTextReaderConstValue(r_))); break;
                case XML_READER_TYPE_ENTITY_REFERENCE: reader_.Fail("the file uses an entity reference"); break;
                default: break;
            }
        }
        if (!reader_.Failed() && !sawRoot_) reader_.Fail("the file is not a document file");
    }

  private:
    std::string Attr(const char *name) { return ReaderAttribute(r_, name); }

    bool Int(const char *name, long long lo, long long hi, long long fallback, long long &out) {
        std::string s = Attr(name);
        if (s.empty()) {
            out = fallback;
            return true;
        }
        if (ParseInt(s, lo, hi, out)) return true;
        reader_.Fail(std::string("the value of ") + name + " is not a number in range");
        return false;
    }

    void Start() {
        const char *name = reinterpret_cast<const char *>(xmlTextReaderConstName(r_));
        const TagRule *rule = RuleFor(name);
        Tag parent = stack_.empty() ? Tag::None : stack_.back();
        if (!rule || (rule->parent != parent && rule->parent2 != parent && rule->parent3 != parent) || (parent == Tag::None && sawRoot_)) {
            reader_.Fail(std::string("unexpected element <") + name + ">");
            return;
        }
        bool empty = xmlTextReaderIsEmptyElement(r_) == 1;
        stack_.push_back(rule->tag);
        Begin(rule->tag);
        if (empty && !reader_.Failed()) End();
    }

    void Begin(Tag tag) {
        long long v = 0;
        switch (tag) {
            case Tag::Document:
                sawRoot_ = true;
                if (!Int("version", 1, 1, 1, v)) return;
                break;
            case Tag::Setting: {
                std::string name = Attr("name"), value = Attr("value");
                if (name == "paragraphs-per-page") {
                    if (!ParseInt(value, 1, 100000, v)) return reader_.Fail("paragraphs-per-page is not a number in range");
                    image_.paragraphsPerPage = static_cast<int>(v);
                } else {
                    image_.otherSettings.emplace_back(name, value);
                }
                break;
            }
            case Tag::Doctype:
                image_.doctype.rootName = Attr("root");
                image_.doctype.publicId = Attr("public-id");
                image_.doctype.systemId = Attr("system-id");
                image_.doctype.hadDtd = Attr("had-dtd") == "1";
                break;
            case Tag::ElementDef: {
                std::string name = Attr("name");
                if (name.empty()) return reader_.Fail("an element definition has no name");
                if (image_.FindDef(name) >= 0) return reader_.Fail("element definition \"" + name + "\" is defined twice");
                def_ = image_.DefFor(name);
                ElementDefImage &d = image_.defs[def_];
                if (!Int("type", 1, 14, 1, v)) return;
                d.type = static_cast<int>(v);
                d.paragraphFormat = Attr("paragraph-format");
                d.contentModel = Attr("content-model");
                break;
            }
            case Tag::AttrDef: {
                AttrDefImage a;
                a.name = Attr("name");
                if (!Int("type", 0, 9, 0, v)) return;
                a.type = static_cast<int>(v);
                a.required = Attr("required") == "1";
                a.readOnly = Attr("read-only") == "1";
                a.rangeMin = Attr("range-min");
                a.rangeMax = Attr("range-max");
                a.dtdType = Attr("dtd-type");
                image_.defs[def_].attributes.push_back(std::move(a));
                break;
            }
            case Tag::Format: {
                if (!Int("kind", 1, 255, 32, v)) return;
                image_.formats.push_back(FormatImage{static_cast<int>(v), Attr("name"), {}});
                break;
            }
            case Tag::Property: propertyName_ = Attr("name"); collected_.clear(); break;
            case Tag::Choice:
            case Tag::Default:
            case Tag::V: collected_.clear(); break;
            case Tag::Flow:
                image_.flows.push_back(FlowImage{Attr("name"), Attr("main") == "1", static_cast<int32_t>(image_.nodes.size()), 0});
                break;
            case Tag::E: {
                const FlowImage &flow = image_.flows.back();
                if (open_.empty() && static_cast<int32_t>(image_.nodes.size()) > flow.first)
                    return reader_.Fail("a flow holds more than one highest-level element");
                if (image_.nodes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1))
                    return reader_.Fail("the document holds too many elements");
                NodeImage n;
                n.parent = open_.empty() ? -1 : open_.back();
                n.def = image_.DefFor(Attr("tag"));
                if (!Int("uid", 0, std::numeric_limits<uint32_t>::max(), 0, v)) return;
                n.uniqueId = static_cast<uint32_t>(v);
                if (std::string pgf = Attr("paragraph"); !pgf.empty()) {
                    if (pgf != "yes" && pgf != "no") return reader_.Fail("paragraph is neither yes nor no");
                    n.pgfMode = pgf == "yes" ? 1 : 2;
                }
                if (n.def >= 0 && image_.defs[n.def].name.empty()) return reader_.Fail("an element has no tag");
                n.firstAttr = static_cast<uint32_t>(image_.attrs.size());
                if (std::string format = Attr("table-format"); !format.empty())
                    image_.tableFormats[static_cast<int32_t>(image_.nodes.size())] = format;
                image_.nodes.push_back(n);
                open_.push_back(static_cast<int32_t>(image_.nodes.size() - 1));
                break;
            }
            case Tag::A: {
                NodeImage &n = image_.nodes[open_.back()];
                if (n.firstAttr + n.attrCount != image_.attrs.size() || static_cast<int32_t>(image_.nodes.size()) - 1 != open_.back())
                    return reader_.Fail("attributes must come before the element's content");
                image_.attrs.push_back(AttrImage{Attr("name"), {}});
                ++n.attrCount;
                break;
            }
            case Tag::T: {
                NodeImage t;
                t.parent = open_.back();
                t.def = kTextNode;
                if (!Int("uid", 0, std::numeric_limits<uint32_t>::max(), 0, v)) return;
                t.uniqueId = static_cast<uint32_t>(v);
                image_.text.Start(t);
                image_.nodes.push_back(t);
                textNode_ = static_cast<int32_t>(image_.nodes.size() - 1);
                break;
            }
            case Tag::X: {
                if (!Int("c", 1, 31, 1, v)) return;
                Text(std::string(1, static_cast<char>(v)).c_str());
                break;
            }
            case Tag::Prop:
                if (!Int("number", 1, std::numeric_limits<int32_t>::max(), 0, v)) return;
                if (v == 0) return reader_.Fail("a property has no number");
                propertyNumber_ = static_cast<int>(v);
                collected_.clear();
                break;
            case Tag::R: {
                int32_t last = static_cast<int32_t>(image_.nodes.size()) - 1;
                if (last < 0 || image_.nodes[last].def != kTextNode || image_.nodes[last].parent != open_.back())
                    return reader_.Fail("a run does not follow its text");
                if (!Int("length", 0, std::numeric_limits<int32_t>::max(), 0, v)) return;
                RunImage run{static_cast<uint32_t>(v), Attr("color"), {}, Attr("format")};
                if (!Int("flag", -2147483647, 2147483647, 0, v)) return;
                run.flag = static_cast<int>(v);
                if (!Int("change-bar", -2147483647, 2147483647, 0, v)) return;
                run.changeBar = static_cast<int>(v);
                image_.textRuns[last].push_back(std::move(run));
                break;
            }
            case Tag::C: {
                int32_t last = static_cast<int32_t>(image_.nodes.size()) - 1;
                image_.textRuns[last].back().conditions.push_back(Attr("name"));
                break;
            }
            default: break;
        }
    }

    void End() {
        if (stack_.empty()) return;
        Tag tag = stack_.back();
        stack_.pop_back();
        switch (tag) {
            case Tag::Choice: image_.defs[def_].attributes.back().choices.push_back(collected_); break;
            case Tag::Default: image_.defs[def_].attributes.back().defaults.push_back(collected_); break;
            case Tag::Property: image_.formats.back().properties.emplace_back(propertyName_, collected_); break;
            case Tag::V: image_.attrs.back().values.push_back(collected_); break;
            case Tag::Prop: image_.objectProps[open_.back()].push_back(ObjectPropImage{propertyNumber_, collected_}); break;
            case Tag::T: textNode_ = -1; break;
            case Tag::E: open_.pop_back(); break;
            case Tag::Flow: image_.flows.back().count = static_cast<int32_t>(image_.nodes.size()) - image_.flows.back().first; break;
            default: break;
        }
    }

    void Text(const char *value) {
        Tag where = stack_.empty() ? Tag::None : stack_.back();
        if (where == Tag::X && stack_.size() > 1) where = stack_[stack_.size() - 2];
        switch (where) {
            case Tag::T: {
                NodeImage &t = image_.nodes[textNode_];
                size_t len = std::strlen(value);
                if (static_cast<uint64_t>(t.textLength) + len > std::numeric_limits<uint32_t>::max())
                    return reader_.Fail("a text is too long");
                image_.text.Append(t, std::string_view(value, len));
                break;
            }
            case Tag::V:
            case Tag::Choice:
            case Tag::Default:
            case Tag::Prop:
            case Tag::Property: collected_.append(value); break;
            default:
                if (!IsXmlBlank(value)) reader_.Fail("text outside a text element");
                break;
        }
    }

    SafeReader &reader_;
    xmlTextReaderPtr r_;
    DocImage &image_;
    std::vector<Tag> stack_;
    std::vector<int32_t> open_;  // open <e> nodes
    int32_t def_ = -1;
    int32_t textNode_ = -1;
    std::string collected_;
    std::string propertyName_;
    int propertyNumber_ = 0;
    bool sawRoot_ = false;
};

// ---- writing ---------------------------------------------------------------------------------

// libxml2's writer with the indentation done by hand (only between elements, never inside text)
// and the first failure remembered.
class NativeWriter {
  public:
    explicit NativeWriter(std::string &sink) : w_(NewStringWriter(sink)) { ok_ = w_ != nullptr; }
    ~NativeWriter() {
        if (w_) xmlFreeTextWriter(w_);
    }
    bool Ok() const { return ok_; }
    // Flushes everything into the sink; false when anything failed.
    bool Finish() {
        if (!w_) return false;
        Check(xmlTextWriterEndDocument(w_));
        xmlFreeTextWriter(w_);
        w_ = nullptr;
        return ok_;
    }
    void Declaration() { Check(xmlTextWriterStartDocument(w_, "1.0", "UTF-8", nullptr)); }
    // A new element on a line of its own.
    void Open(const char *name) {
        if (!ok_) return;
        Indent();
        Check(xmlTextWriterStartElement(w_, X(name)));
        ++depth_;
        childLines_.push_back(false);
        if (childLines_.size() > 1) childLines_[childLines_.size() - 2] = true;
    }
    // An element holding host text only, on a line of its own.
    void TextElement(const char *name, std::string_view text, const char *attrName = nullptr, const std::string &attrValue = {}) {
        if (!ok_) return;
        Indent();
        if (!childLines_.empty()) childLines_.back() = true;
        Check(xmlTextWriterStartElement(w_, X(name)));
        if (attrName) Attribute(attrName, attrValue);
        HostText(text);
        Check(xmlTextWriterEndElement(w_));
    }
    void Attribute(const char *name, const std::string &value) {
        if (ok_) Check(xmlTextWriterWriteAttribute(w_, X(name), X(SafeAttribute(value).c_str())));
    }
    void Close() {
        if (!ok_) return;
        --depth_;
        bool lines = childLines_.back();
        childLines_.pop_back();
        if (lines) Indent();
        Check(xmlTextWriterEndElement(w_));
    }
    // Host text inside the current element: control characters XML cannot carry as <x c=""/>.
    void HostText(std::string_view text) {
        std::string valid = ValidUtf8(text);
        size_t run = 0;
        for (size_t i = 0; i <= valid.size() && ok_; ++i) {
            bool control = i < valid.size() && static_cast<unsigned char>(valid[i]) < 0x20 && valid[i] != '\n' &&
                           valid[i] != '\t' && valid[i] != '\r';
            if (i < valid.size() && !control) continue;
            if (i > run) Check(xmlTextWriterWriteString(w_, X(valid.substr(run, i - run).c_str())));
            if (control) {
                Check(xmlTextWriterStartElement(w_, X("x")));
                Check(xmlTextWriterWriteAttribute(w_, X("c"), X(std::to_string(static_cast<int>(valid[i])).c_str())));
                Check(xmlTextWriterEndElement(w_));
            }
            run = i + 1;
        }
    }

  private:
    static const xmlChar *X(const char *s) { return reinterpret_cast<const xmlChar *>(s); }
    // Names and other attribute texts cannot hold control characters: U+FFFD stands in.
    static std::string SafeAttribute(const std::string &s) {
        std::string out;
        for (char c : ValidUtf8(s)) {
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' && c != '\r') out += "\xEF\xBF\xBD";
            else out += c;
        }
        return out;
    }
    void Indent() {
        std::string s = "\n" + std::string(static_cast<size_t>(depth_) * 2, ' ');
        Check(xmlTextWriterWriteRaw(w_, X(s.c_str())));
    }
    void Check(int rc) { ok_ = ok_ && rc >= 0; }

    xmlTextWriterPtr w_;
    bool ok_ = false;
    int depth_ = 0;
    std::vector<bool> childLines_;
};

void WriteCatalog(NativeWriter &w, const DocImage &image) {
    w.Open("catalog");
    for (const ElementDefImage &d : image.defs) {
        w.Open("element-def");
        w.Attribute("name", d.name);
        w.Attribute("type", std::to_string(d.type));
        if (!d.paragraphFormat.empty()) w.Attribute("paragraph-format", d.paragraphFormat);
        if (!d.contentModel.empty()) w.Attribute("content-model", d.contentModel);
        for (const AttrDefImage &a : d.attributes) {
            w.Open("attribute-def");
            w.Attribute("name", a.name);
            w.Attribute("type", std::to_string(a.type));
            if (a.required) w.Attribute("required", "1");
            if (a.readOnly) w.Attribute("read-only", "1");
            if (!a.rangeMin.empty()) w.Attribute("range-min", a.rangeMin);
            if (!a.rangeMax.empty()) w.Attribute("range-max", a.rangeMax);
            if (!a.dtdType.empty()) w.Attribute("dtd-type", a.dtdType);
            for (const std::string &c : a.choices) w.TextElement("choice", c);
            for (const std::string &v : a.defaults) w.TextElement("default", v);
            w.Close();
        }
        w.Close();
    }
    w.Close();
}

void WriteFormats(NativeWriter &w, const DocImage &image) {
    w.Open("formats");
    for (const FormatImage &f : image.formats) {
        w.Open("format");
        w.Attribute("kind", std::to_string(f.kind));
        w.Attribute("name", f.name);
        for (const auto &[name, value] : f.properties) w.TextElement("property", value, "name", name);
        w.Close();
    }
    w.Close();
}

// The nodes of one flow, in document order, with an explicit stack of open elements.
void WriteTree(NativeWriter &w, const DocImage &image, const FlowImage &flow) {
    std::vector<int32_t> open;
    for (int32_t i = flow.first; i < flow.first + flow.count && w.Ok(); ++i) {
        const NodeImage &n = image.nodes[i];
        while (!open.empty() && open.back() != n.parent) {
            open.pop_back();
            w.Close();
        }
        if (n.def == kTextNode) {
            if (n.uniqueId) w.TextElement("t", image.NodeText(n), "uid", std::to_string(n.uniqueId));
            else w.TextElement("t", image.NodeText(n));
            if (auto r = image.textRuns.find(i); r != image.textRuns.end())
                for (const RunImage &run : r->second) {
                    w.Open("r");
                    w.Attribute("length", std::to_string(run.length));
                    if (!run.color.empty()) w.Attribute("color", run.color);
                    if (!run.charFormat.empty()) w.Attribute("format", run.charFormat);
                    if (run.flag) w.Attribute("flag", std::to_string(run.flag));
                    if (run.changeBar) w.Attribute("change-bar", std::to_string(run.changeBar));
                    for (const std::string &c : run.conditions) {
                        w.Open("c");
                        w.Attribute("name", c);
                        w.Close();
                    }
                    w.Close();
                }
            continue;
        }
        w.Open("e");
        w.Attribute("tag", image.defs[n.def].name);
        if (n.uniqueId) w.Attribute("uid", std::to_string(n.uniqueId));
        if (n.pgfMode) w.Attribute("paragraph", n.pgfMode == 1 ? "yes" : "no");
        if (auto f = image.tableFormats.find(i); f != image.tableFormats.end()) w.Attribute("table-format", f->second);
        for (uint32_t k = 0; k < n.attrCount; ++k) {
            const AttrImage &a = image.attrs[n.firstAttr + k];
            w.Open("a");
            w.Attribute("name", a.name);
            for (const std::string &v : a.values) w.TextElement("v", v);
            w.Close();
        }
        if (auto p = image.objectProps.find(i); p != image.objectProps.end())
            for (const ObjectPropImage &prop : p->second) w.TextElement("prop", prop.value, "number", std::to_string(prop.number));
        open.push_back(i);
    }
    while (!open.empty()) {
        open.pop_back();
        w.Close();
    }
}

}  // namespace

bool ReadNative(const std::string &nativePath, DocImage &image, ReadFailure &failure) {
    SafeReader reader(nativePath);
    if (!reader.Failed()) NativeReader(reader, image).Run();
    if (reader.Failed()) {
        failure = reader.Failure();
        return false;
    }
    return true;
}

bool WriteNative(const DocImage &image, std::string &bytes, std::string &error) {
    NativeWriter w(bytes);
    if (!w.Ok()) {
        error = "the document could not be written";
        return false;
    }
    w.Declaration();
    w.Open("qvdocument");
    w.Attribute("version", "1");
    w.Open("settings");
    w.Open("setting");
    w.Attribute("name", "paragraphs-per-page");
    w.Attribute("value", std::to_string(image.paragraphsPerPage));
    w.Close();
    for (const auto &[name, value] : image.otherSettings) {
        w.Open("setting");
        w.Attribute("name", name);
        w.Attribute("value", value);
        w.Close();
    }
    w.Close();
    const DoctypeImage &dt = image.doctype;
    if (!dt.rootName.empty() || dt.hadDtd) {
        w.Open("doctype");
        w.Attribute("root", dt.rootName);
        if (!dt.publicId.empty()) w.Attribute("public-id", dt.publicId);
        if (!dt.systemId.empty()) w.Attribute("system-id", dt.systemId);
        if (dt.hadDtd) w.Attribute("had-dtd", "1");
        w.Close();
    }
    WriteCatalog(w, image);
    WriteFormats(w, image);
    w.Open("flows");
    for (const FlowImage &f : image.flows) {
        w.Open("flow");
        w.Attribute("name", f.name);
        if (f.main) w.Attribute("main", "1");
        WriteTree(w, image, f);
        w.Close();
    }
    w.Close();
    w.Close();
    if (!w.Finish()) {
        error = "the document could not be written";
        return false;
    }
    return true;
}

}  // namespace host::docfile
