// Cross-references: an element of a cross-reference definition (kind 3) stands for a host
// cross-reference object with its format (1073, a kind-27 format of the document), source file
// (1070, "" for the same document), source text (1075, "ID:definition:text") and text range
// (1071, its element's text). F_ApiUpdateXRefs recomputes the text of every cross-reference
// from the element whose unique-ID attribute holds the ID, in the same document or, for a source
// file, in the open document of that path (compared ignoring case and the kind of separator; a
// relative path is taken from the referring document's folder); one
// whose target or file is missing keeps its text and is counted as unresolved.
#include <unordered_map>

#include "edit_support.h"
#include "element_objects.h"
#include "tables.h"

namespace host {

namespace {

F_ObjHandleT XRefOf(F_ObjHandleT doc, F_ObjHandleT elem) { return ObjectForElement(doc, elem, FV_FO_XREF, FO_XRef); }

std::string Stored(F_ObjHandleT obj, IntT number) {
    auto it = TheStore().stored.find((uint64_t(obj) << 32) | uint32_t(number));
    return it == TheStore().stored.end() ? "" : it->second.s;
}

// The text of an element's subtree.
void TextOfSubtree(F_ObjHandleT e, std::string &out, int depth) {
    Element *x = Elem(e);
    if (!x || depth > 10000) return;
    if (!x->def) {
        out += x->text;
        return;
    }
    for (F_ObjHandleT c = x->first; c; c = Elem(c)->next) TextOfSubtree(c, out, depth + 1);
}

// Unique-ID values of the document's elements (first value of the first unique-ID attribute).
std::unordered_map<std::string, F_ObjHandleT> UniqueIds(F_ObjHandleT doc) {
    std::unordered_map<std::string, F_ObjHandleT> ids;  // the first element in document order wins
    ForEachElement(doc, [&](F_ObjHandleT e) {
        ElementDef *def = Def(Elem(e)->def);
        if (!def) return;
        for (const AttrDef &ad : def->attrs) {
            if (ad.type != FV_AT_UNIQUE_ID) continue;
            if (const auto *v = GetAttribute(e, ad.name); v && !v->empty()) ids.emplace(v->front(), e);
            break;
        }
    });
    return ids;
}

// A path as compared: separators as "\\", ASCII letters folded.
std::string PathKey(std::string p) {
    for (char &c : p) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return p;
}

// The first open document whose path is the path; 0 when none.
F_ObjHandleT OpenDocumentOfPath(const std::string &path) {
    std::string key = PathKey(path);
    for (F_ObjHandleT d : TheSession().openDocs)
        if (Document *doc = Doc(d); doc && PathKey(doc->path) == key) return d;
    return 0;
}

// Replaces an element's content by one text node.
void SetContentText(F_ObjHandleT doc, F_ObjHandleT e, const std::string &text) {
    while (F_ObjHandleT c = Elem(e)->first) {
        Unlink(c);
        DestroySubtree(c);
    }
    if (!text.empty()) AppendText(doc, e, text);
}

}  // namespace

void RegisterXRefProperties() {
    RegisterKind(FO_XRef, [](F_ObjHandleT doc, F_ObjHandleT obj) { return ElementForObject(doc, obj) != 0; });
    RegisterElementObjectFinder(XRefOf);
    for (int n : {FP_XRefFile, FP_XRefSrcText}) RegisterStoredProperty(FO_XRef, n, PropType::String);
    RegisterStoredProperty(FO_XRef, FP_XRefSrcAccess, PropType::Int);
    RegisterProperty(
        FO_XRef, FP_XRefFmt, PropType::Id,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            auto it = TheStore().stored.find((uint64_t(obj) << 32) | uint32_t(FP_XRefFmt));
            out.i = it == TheStore().stored.end() ? 0 : it->second.i;
            return true;
        },
        [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
            auto fmt = static_cast<F_ObjHandleT>(in.i);
            NamedObject *n = Named(fmt);
            if (fmt && (KindOf(fmt) != FO_XRefFmt || !n || n->doc != doc)) return Fail(FE_BadParameter);
            TheStore().stored[(uint64_t(obj) << 32) | uint32_t(FP_XRefFmt)] = in;
            return true;
        });
    RegisterProperty(FO_XRef, FP_TextRange, PropType::TextRange, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        return ElementTextRange(doc, ElementForObject(doc, obj), out.tr);
    });
    RegisterProperty(FO_XRef, FP_NextXRefInDoc, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        std::vector<F_ObjHandleT> all = ElementsOfKind(doc, FV_FO_XREF);
        F_ObjHandleT e = ElementForObject(doc, obj);
        out.i = 0;
        for (size_t i = 0; i + 1 < all.size(); ++i)
            if (all[i] == e) out.i = static_cast<IntT>(XRefOf(doc, all[i + 1]));
        return true;
    });
    RegisterProperty(FO_Doc, FP_FirstXRefInDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        std::vector<F_ObjHandleT> all = ElementsOfKind(obj, FV_FO_XREF);
        out.i = all.empty() ? 0 : static_cast<IntT>(XRefOf(obj, all.front()));
        return true;
    });
}

}  // namespace host

using namespace host;

extern "C" {

IntT F_ApiUpdateXRefs(F_ObjHandleT docId, IntT) {
    if (!Doc(docId)) return Fail(FE_BadDocId), FA_errno;
    std::unordered_map<F_ObjHandleT, std::unordered_map<std::string, F_ObjHandleT>> idsOf;  // per target document
    IntT unresolved = 0;
    for (F_ObjHandleT e : ElementsOfKind(docId, FV_FO_XREF)) {
        F_ObjHandleT x = XRefOf(docId, e);
        F_ObjHandleT from = docId;
        if (std::string file = Stored(x, FP_XRefFile); !file.empty()) {
            bool relative = file.find(':') == std::string::npos && file.rfind("\\\\", 0) != 0;
            if (size_t cut = Doc(docId)->path.find_last_of("\\/"); relative && cut != std::string::npos)
                file = Doc(docId)->path.substr(0, cut + 1) + file;  // relative to the document's folder
            from = OpenDocumentOfPath(file);
            if (!from) {
                ++unresolved;
                continue;
            }
        }
        auto known = idsOf.find(from);
        if (known == idsOf.end()) known = idsOf.emplace(from, UniqueIds(from)).first;
        const auto &ids = known->second;
        std::string source = Stored(x, FP_XRefSrcText);
        auto target = ids.find(source.substr(0, source.find(':')));
        if (target == ids.end()) {
            ++unresolved;
            continue;
        }
        std::string text;
        TextOfSubtree(target->second, text, 0);
        SetContentText(docId, e, text);
    }
    MarkChanged(docId);
    return unresolved ? FE_NotFound : 0;
}

}  // extern "C"
