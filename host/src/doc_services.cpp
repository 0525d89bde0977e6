// Document services the host offers beside editing: finding text in a flow, importing a file at
// a text location, updating a book, and importing element definitions and formats from another
// document.
//
// Find looks for the text from a location to the end of that location's flow, paragraph by
// paragraph, comparing characters exactly; an occurrence does not cross a paragraph end. Import
// and book update keep the parameters they were given (readable by tests) and report success;
// an import of a file that cannot be read sets bit FV_BadImportFileType of the status (the int
// entry numbered 0 of the returned list).
#include <filesystem>
#include <fstream>

#include "doc_services.h"

#include "model_internal.h"
#include "model_layout.h"
#include "paths.h"
#include "records.h"

namespace host {

namespace {


F_PropValT IntEntry(IntT number, IntT value) {
    F_PropValT p{};
    p.propIdent = number;
    p.propVal.valType = FT_Integer;
    p.propVal.ival = value;
    return p;
}

F_PropValsT NewList(const std::vector<F_PropValT> &entries) {
    F_PropValsT out;
    out.len = static_cast<UIntT>(entries.size());
    out.val = static_cast<F_PropValT *>(F_Alloc(static_cast<UIntT>(entries.size() * sizeof(F_PropValT)), NO_DSE));
    std::copy(entries.begin(), entries.end(), out.val);
    return out;
}

// A returned list holding the status as entry 0; the host keeps it until the next call.
void ReturnStatus(F_PropValsT **returned, IntT status) {
    if (!returned) return;
    static F_PropValsT holder{0, nullptr};
    F_ApiDeallocatePropVals(&holder);
    holder = NewList({IntEntry(0, status)});
    *returned = &holder;
}

// The integer entries of a parameter list.
std::vector<std::pair<IntT, IntT>> IntEntries(const F_PropValsT *params) {
    std::vector<std::pair<IntT, IntT>> out;
    if (params && params->val)
        for (UIntT i = 0; i < params->len; ++i) out.emplace_back(params->val[i].propIdent, params->val[i].propVal.ival);
    return out;
}

const IntT kImportParams[] = {2, 4, 7, 8, 12, 14, 15, 33, 43};
const IntT kUpdateBookParams[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

}  // namespace

std::vector<std::pair<IntT, IntT>> &LastImportParams() {
    static std::vector<std::pair<IntT, IntT>> last;
    return last;
}
std::vector<std::pair<IntT, IntT>> &LastUpdateBookParams() {
    static std::vector<std::pair<IntT, IntT>> last;
    return last;
}

}  // namespace host

using namespace host;

extern "C" {

F_TextRangeT F_ApiFind(F_ObjHandleT docId, const F_TextLocT *loc, const F_PropValsT *findParams) {
    Layout *l = LayoutOf(docId);
    TextPos from;
    if (!l || !loc || !ResolveTextLoc(*l, *loc, false, from)) {
        Fail(l ? FE_BadParameter : FE_BadDocId);
        return F_TextRangeT{};
    }
    IntT at = F_ApiGetPropIndex(findParams, FS_FindText);
    std::string text = at >= 0 && findParams->val[at].propVal.sval ? findParams->val[at].propVal.sval : "";
    if (text.empty()) {
        Fail(FE_BadParameter);
        return F_TextRangeT{};
    }
    IntT length = static_cast<IntT>(Utf8Length(text));
    F_ObjHandleT flow = l->pgfs[from.pgf].flow;
    for (uint32_t i = from.pgf; i < l->pgfs.size() && l->pgfs[i].flow == flow; ++i) {
        const PgfInfo &p = l->pgfs[i];
        std::string whole;
        for (const TextSeg &s : p.segs)
            if (const Element *t = Elem(s.node)) whole += t->text;
        size_t start = i == from.pgf ? Utf8Offset(whole, static_cast<size_t>(from.off)) : 0;
        size_t found = whole.find(text, start);
        if (found == std::string::npos) continue;
        auto off = static_cast<IntT>(Utf8Length(std::string_view(whole).substr(0, found)));
        return F_TextRangeT{{p.id, off}, {p.id, off + length}};
    }
    Fail(FE_NotFound);
    return F_TextRangeT{};
}

F_PropValsT F_ApiGetImportDefaultParams(void) {
    std::vector<F_PropValT> entries;
    for (IntT n : kImportParams) entries.push_back(IntEntry(n, 0));
    return NewList(entries);
}

F_ObjHandleT F_ApiImport(F_ObjHandleT docId, const F_TextLocT *loc, ConStringT fileName, const F_PropValsT *importParams,
                         F_PropValsT **importReturnParams) {
    if (!Doc(docId) || !loc || !fileName) {
        Fail(Doc(docId) ? FE_BadParameter : FE_BadDocId);
        ReturnStatus(importReturnParams, 1 << FV_BadImportFileType);
        return 0;
    }
    LastImportParams() = IntEntries(importParams);
    std::string native = NativePath(fileName);
    std::error_code ec;
    bool readable = !native.empty() && std::filesystem::is_regular_file(native, ec) && std::ifstream(native).good();
    if (!readable) Fail(FE_BadFileType);
    ReturnStatus(importReturnParams, readable ? 0 : 1 << FV_BadImportFileType);
    return readable ? docId : 0;
}

F_PropValsT F_ApiGetUpdateBookDefaultParams(void) {
    std::vector<F_PropValT> entries;
    for (IntT n : kUpdateBookParams) entries.push_back(IntEntry(n, 0));
    return NewList(entries);
}

IntT F_ApiUpdateBook(F_ObjHandleT bookId, const F_PropValsT *params, F_PropValsT **returnParams) {
    if (KindOf(bookId) != FO_Book || !ObjectValid(0, bookId)) {
        Fail(FE_BadObjId);
        ReturnStatus(returnParams, FE_BadObjId);
        return FE_BadObjId;
    }
    LastUpdateBookParams() = IntEntries(params);
    ReturnStatus(returnParams, 0);
    return 0;
}

IntT F_ApiSimpleImportElementDefs(F_ObjHandleT toDocId, F_ObjHandleT fromDocId, IntT) {
    Document *to = Doc(toDocId), *from = Doc(fromDocId);
    if (!to || !from) return Fail(FE_BadDocId), FE_BadDocId;
    if (toDocId == fromDocId) {
        MarkChanged(toDocId, false);  // re-applied: nothing to copy
        return 0;
    }
    for (F_ObjHandleT id : std::vector<F_ObjHandleT>(from->defs)) {
        const ElementDef *d = Def(id);
        if (!d || FindElementDef(toDocId, d->name)) continue;
        ElementDef copy = *d;
        F_ObjHandleT made = AddElementDef(toDocId, copy.name, copy.type, copy.pgfFormat);
        for (AttrDef a : copy.attrs) AddAttributeDef(made, std::move(a));
    }
    MarkChanged(toDocId);
    return 0;
}

IntT F_ApiSimpleImportFormats(F_ObjHandleT toDocId, F_ObjHandleT fromDocId, IntT) {
    Document *to = Doc(toDocId), *from = Doc(fromDocId);
    if (!to || !from) return Fail(FE_BadDocId), FE_BadDocId;
    if (toDocId == fromDocId) return 0;
    auto named = from->named;  // copied: adding to the target may touch the same maps
    for (const auto &[kind, ids] : named)
        for (F_ObjHandleT id : ids)
            if (const NamedObject *n = Named(id); n && !FindNamed(toDocId, kind, n->name)) AddNamed(toDocId, kind, n->name);
    MarkChanged(toDocId);
    return 0;
}

}  // extern "C"
