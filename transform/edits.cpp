// Element edits the processors share: pasting at the end of an element, selecting, clearing,
// unwrapping and appending text.
#include "lib/globals.h"
#include <cstdlib>
#include <unordered_map>

#include "lib/host/element_edit.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "lib/run_state.h"

std::string XformHostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string r = s ? s : "";
    F_ApiDeallocateString(&s);
    return r;
}

F_ObjHandleT XformLastChild(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT last = 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        last = c;
    return last;
}

size_t XformPasteAtEnd(F_ObjHandleT srcDoc, F_ObjHandleT doc, F_ObjHandleT dst, F_ObjHandleT &tail,
                       std::vector<F_ObjHandleT> *pasted) {
    if (F_ApiCopy(srcDoc, 0) != 0) return 0;
    if (!om_ElementSelect(doc, dst, LocContentEnd)) return 0;
    if (F_ApiPaste(doc, 0) != 0) return 0;
    if (tail && F_ApiGetObjectType(doc, tail) != FO_Element) tail = XformLastChild(doc, dst);
    F_ObjHandleT c = tail ? F_ApiGetId(doc, tail, FP_NextSiblingElement) : F_ApiGetId(doc, dst, FP_FirstChildElement);
    size_t n = 0;
    for (; c; c = F_ApiGetId(doc, c, FP_NextSiblingElement)) {
        if (pasted) pasted->push_back(c);
        tail = c;
        ++n;
    }
    return n;
}

int XformSelectContent(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!F_ApiGetId(doc, elem, FP_FirstChildElement)) return 0;
    return om_ElementSelect(doc, elem, LocContent);
}

void XformDeleteContent(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement);
    while (c) {
        F_ObjHandleT next = F_ApiGetId(doc, c, FP_NextSiblingElement);
        F_ApiDelete(doc, c);
        c = next;
    }
}

void XformUnwrap(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!om_ElementSelect(doc, elem, LocElement)) return;
    F_ApiUnWrapElement(doc);
}

void XformAppendText(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &text) {
    if (text.empty()) return;
    om_ElementInsertText(doc, elem, text, LocContentEnd);
}

XformAttrs::XformAttrs(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_AttributesT list = F_ApiGetAttributes(doc, elem);
    Take(list);
    F_ApiDeallocateAttributes(&list);
}

XformAttrs::XformAttrs(const F_AttributesT &list) { Take(list); }

void XformAttrs::Take(const F_AttributesT &list) {
    auto names = std::make_shared<std::vector<std::string>>();
    names->reserve(list.len);
    values_.reserve(list.len);
    for (UIntT i = 0; i < list.len; ++i) {
        names->emplace_back(list.val[i].name ? list.val[i].name : "");
        const F_StringsT &v = list.val[i].values;
        values_.emplace_back(v.len && v.val[0] ? v.val[0] : "");
    }
    names_ = std::move(names);
}

namespace {
struct Written {
    IntT unique = 0;
    XformAttrs attrs;
};
bool gKeepWritten = false;
std::unordered_map<F_ObjHandleT, Written> gWritten;
}  // namespace

void XformKeepWritten(int on) {
    gKeepWritten = on != 0;
    gWritten.clear();
}

XformAttrs *XformWritten(F_ObjHandleT doc, F_ObjHandleT elem) {
    auto it = gWritten.find(elem);
    if (it == gWritten.end()) return nullptr;
    if (it->second.unique != F_ApiGetInt(doc, elem, FP_Unique)) {
        gWritten.erase(it);
        return nullptr;
    }
    return &it->second.attrs;
}

void XformRememberWritten(F_ObjHandleT doc, F_ObjHandleT elem, const F_AttributesT &list) {
    if (gKeepWritten) XformRememberWritten(doc, elem, XformAttrs(list));
}

void XformRememberWritten(F_ObjHandleT doc, F_ObjHandleT elem, XformAttrs attrs) {
    if (gKeepWritten) gWritten.insert_or_assign(elem, Written{F_ApiGetInt(doc, elem, FP_Unique), std::move(attrs)});
}

void XformForgetWritten(F_ObjHandleT elem) {
    if (!gWritten.empty()) gWritten.erase(elem);
}

int XformAttrs::IndexOf(std::string_view name) const {
    // The last attribute of the name counts, as the single readers take it.
    for (size_t i = names_->size(); i-- > 0;)
        if ((*names_)[i] == name) return static_cast<int>(i);
    return -1;
}

const std::string &XformAttrs::Raw(std::string_view name, bool *has) const {
    static const std::string none;
    int i = IndexOf(name);
    if (has) *has = i >= 0;
    return i >= 0 ? values_[static_cast<size_t>(i)] : none;
}

std::string XformAttrs::Get(std::string_view name) const {
    const std::string &v = Raw(name);
    if (v == ErrorSentinel || v == EmptySentinel) return "";
    return v;
}

IntT XformAttrs::Int(std::string_view name) const {
    std::string v = Get(name);
    return v.empty() ? 0 : static_cast<IntT>(std::strtol(v.c_str(), nullptr, 10));
}

int XformWriteContext(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &ctxDoc, const std::string &ctxNode,
                      const std::string &attr, const std::string *seq) {
    F_AttributesT list = F_ApiGetAttributes(doc, elem);
    int written = 0;
    auto put = [&](F_AttributeT &a, const std::string &value) {
        F_ApiDeallocateStrings(&a.values);
        a.values.len = 1;
        a.values.val = static_cast<StringT *>(F_Alloc(sizeof(StringT), NO_DSE));
        a.values.val[0] = F_StrCopyString(value.c_str());
        ++written;
    };
    for (UIntT i = 0; i < list.len; ++i) {
        std::string n = list.val[i].name ? list.val[i].name : "";
        if (n == "ContextDocId") put(list.val[i], ctxDoc);
        else if (n == "ContextNodeId") put(list.val[i], ctxNode);
        else if (n == "ContextAttributeNumber") put(list.val[i], attr);
        else if (seq && n == "SequenceNumber") put(list.val[i], *seq);
    }
    if (written) {
        F_ApiSetAttributes(doc, elem, &list);
        XformRememberWritten(doc, elem, list);
    }
    F_ApiDeallocateAttributes(&list);
    return written;
}

namespace {
struct {
    F_ObjHandleT doc = 0, elem = 0;
    const XformAttrs *attrs = nullptr;
} gCached;
}  // namespace

const XformAttrs *XformCachedAttrs(F_ObjHandleT doc, F_ObjHandleT elem) {
    return gCached.attrs && gCached.doc == doc && gCached.elem == elem ? gCached.attrs : nullptr;
}

void XformSetCachedAttrs(F_ObjHandleT doc, F_ObjHandleT elem, const XformAttrs *attrs) {
    gCached.doc = doc;
    gCached.elem = elem;
    gCached.attrs = attrs;
}

XformCachedAttrsScope::XformCachedAttrsScope(F_ObjHandleT doc, F_ObjHandleT elem, const XformAttrs *attrs)
    : doc_(gCached.doc), elem_(gCached.elem), attrs_(gCached.attrs) {
    XformSetCachedAttrs(doc, elem, attrs);
}

XformCachedAttrsScope::~XformCachedAttrsScope() { XformSetCachedAttrs(doc_, elem_, attrs_); }

namespace {
// The attributes a transformation wrote, kept while it runs.
[[maybe_unused]] const bool resetWrittenAttributes = om_RunStateRegister("written attributes", RunStateKind::Run, [] {
    gKeepWritten = false;
    gWritten.clear();
    gCached.doc = gCached.elem = 0;
    gCached.attrs = nullptr;
});
}  // namespace
