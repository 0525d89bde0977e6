// The host's book file format (".book"): XML of our own design holding the book's highest-level
// element tag and its component tree.
//
//   <qvbook version="1" root="Book">
//     <component type="512" tag="Chapter" path="Z:\books\a.fm"/>
//     <component type="2" tag="Part" path="">
//       <component type="512" tag="Chapter" path="b.fm"/>     (relative: to the book's folder)
//     </component>
//   </qvbook>
#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include "book_model.h"
#include "docfile_api.h"
#include "paths.h"
#include "safe_save.h"

namespace host {

namespace {

std::string Prop(xmlNodePtr n, const char *name) {
    xmlChar *v = xmlGetProp(n, reinterpret_cast<const xmlChar *>(name));
    std::string s = v ? reinterpret_cast<const char *>(v) : "";
    xmlFree(v);
    return s;
}

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Named(xmlNodePtr n, const char *name) {
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char *>(n->name), name) == 0;
}

// A component path as written in the book: relative ones are taken from the book's folder.
std::string ResolvePath(const std::string &path, const std::string &bookPath) {
    bool absolute = path.find(':') != std::string::npos || path.rfind("\\\\", 0) == 0;
    if (path.empty() || absolute) return path;
    size_t slash = bookPath.find_last_of('\\');
    return slash == std::string::npos ? path : bookPath.substr(0, slash + 1) + path;
}

bool ReadComponents(F_ObjHandleT book, F_ObjHandleT parent, xmlNodePtr node, const std::string &bookPath, int depth) {
    if (depth > 200) return false;
    for (xmlNodePtr c = node->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE) continue;
        if (!Named(c, "component")) return false;
        std::string typeText = Prop(c, "type");
        IntT type = typeText.empty() ? FV_BK_DOC_FILE : std::atoi(typeText.c_str());
        if (type != FV_BK_DOC_FILE && type != FV_BK_FOLDER && type != FV_BK_GROUP) return false;
        std::string written = Prop(c, "path");
        F_ObjHandleT comp = AddBookComponent(book, parent, ResolvePath(written, bookPath), type, Prop(c, "tag"));
        if (!comp) return false;
        ComponentOf(comp)->written = written;
        if (!ReadComponents(book, comp, c, bookPath, depth + 1)) return false;
    }
    return true;
}

// What a book file says, one line per component in book order (depth, type, tag, path as
// written), after its root tag: two files saying the same hold the same book.
std::string Meaning(xmlDocPtr x) {
    xmlNodePtr top = x ? xmlDocGetRootElement(x) : nullptr;
    if (!top || !Named(top, "qvbook")) return {};
    std::string out = Prop(top, "root") + "\n";
    std::function<void(xmlNodePtr, int)> walk = [&](xmlNodePtr node, int depth) {
        for (xmlNodePtr c = node->children; c && depth < 200; c = c->next) {
            if (c->type != XML_ELEMENT_NODE) continue;
            std::string type = Prop(c, "type");
            out += std::to_string(depth) + "\t" + (type.empty() ? std::to_string(FV_BK_DOC_FILE) : type) + "\t" +
                   Prop(c, "tag") + "\t" + Prop(c, "path") + "\n";
            walk(c, depth + 1);
        }
    };
    walk(top, 0);
    return out;
}

// Whether the book file at `nativePath` says what `x` says.
bool HoldsBook(const std::string &nativePath, xmlDocPtr x) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    xmlDocPtr old = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    bool same = old && Meaning(old) == Meaning(x) && !Meaning(x).empty();
    if (old) xmlFreeDoc(old);
    return same;
}

}  // namespace

bool IsBookFile(const std::string &nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head.find("<qvbook") != std::string::npos;
}

F_ObjHandleT OpenBookFile(const std::string &nativePath, const std::string &windowsPath, bool visible) {
    // Read from memory: the host's entity loader never hands out files by name.
    std::ifstream in(nativePath, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    xmlDocPtr x = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlNodePtr top = x ? xmlDocGetRootElement(x) : nullptr;
    if (!top || !Named(top, "qvbook")) {
        if (x) xmlFreeDoc(x);
        Fail(FE_BadFileType);
        return 0;
    }
    F_ObjHandleT book = NewBook(windowsPath, Prop(top, "root"), "", visible);
    if (!ReadComponents(book, 0, top, windowsPath, 0)) {
        CloseBook(book);
        xmlFreeDoc(x);
        Fail(FE_BadFileType);
        return 0;
    }
    xmlFreeDoc(x);
    return book;
}

F_ObjHandleT SaveBookFile(F_ObjHandleT book, const std::string &windowsPath) {
    Book *b = BookOf(book);
    if (!b) return RefuseSave(FE_BadDocId, "there is no such book");
    std::string target = windowsPath.empty() ? b->path : windowsPath;
    if (target.empty()) return RefuseSave(FE_BadParameter, "the book is untitled; use Save As to give it a file");
    std::string native = NativePath(target);
    if (native.empty()) return RefuseSave(FE_BadParameter, "the drive is not known");
    std::string savedPath = WindowsPath(native);
    // A component keeps the path the book file held while that still names its file from where
    // the book is saved; a component added or moved since is written with its full path.
    auto pathToWrite = [&](const BookComponent &c) {
        if (!c.written.empty() && Lower(ResolvePath(c.written, savedPath)) == Lower(c.path)) return c.written;
        return c.path;
    };
    xmlDocPtr x = xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0"));
    xmlNodePtr top = xmlNewNode(nullptr, reinterpret_cast<const xmlChar *>("qvbook"));
    xmlDocSetRootElement(x, top);
    xmlNewProp(top, reinterpret_cast<const xmlChar *>("version"), reinterpret_cast<const xmlChar *>("1"));
    Element *root = Elem(b->root);
    std::string rootTag = root && Def(root->def) ? Def(root->def)->name : "Book";
    xmlNewProp(top, reinterpret_cast<const xmlChar *>("root"), reinterpret_cast<const xmlChar *>(rootTag.c_str()));
    std::function<void(xmlNodePtr, const std::vector<F_ObjHandleT> &)> write = [&](xmlNodePtr parent,
                                                                                   const std::vector<F_ObjHandleT> &comps) {
        for (F_ObjHandleT id : comps) {
            BookComponent *c = ComponentOf(id);
            if (!c) continue;
            xmlNodePtr n = xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar *>("component"), nullptr);
            std::string type = std::to_string(c->type);
            Element *e = Elem(c->elem);
            std::string tag = e && Def(e->def) ? Def(e->def)->name : "";
            xmlNewProp(n, reinterpret_cast<const xmlChar *>("type"), reinterpret_cast<const xmlChar *>(type.c_str()));
            xmlNewProp(n, reinterpret_cast<const xmlChar *>("tag"), reinterpret_cast<const xmlChar *>(tag.c_str()));
            std::string path = pathToWrite(*c);
            xmlNewProp(n, reinterpret_cast<const xmlChar *>("path"), reinterpret_cast<const xmlChar *>(path.c_str()));
            write(n, c->children);
        }
    };
    write(top, b->components);
    // A book file that holds this book already is left as it is: saving an unchanged book
    // changes nothing in its file, however it was laid out.
    if (Lower(savedPath) == Lower(b->path) && HoldsBook(native, x)) {
        xmlFreeDoc(x);
        return book;
    }
    xmlChar *text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(x, &text, &size, "UTF-8", 1);
    xmlFreeDoc(x);
    if (!text) return RefuseSave(FE_FileWrite, "the book could not be written");
    std::string bytes(reinterpret_cast<const char *>(text), static_cast<size_t>(size));
    xmlFree(text);
    std::string reason;
    if (!safesave::ReplaceFile(native, bytes, reason)) return RefuseSave(FE_FileWrite, reason);
    if (!windowsPath.empty()) b->path = savedPath;
    return book;
}

}  // namespace host
