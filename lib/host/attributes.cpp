// Attribute access (see attributes.h).
#include "lib/host/attributes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "lib/host/books.h"
#include "lib/host/element_query.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/unique_strings.h"
#include "lib/globals.h"

namespace {

constexpr int kUniqueIdDraws = 50000;

bool EqualCI(const std::string &a, const std::string &b) { return F_StrICmp(a.c_str(), b.c_str()) == 0; }
bool LessCI(const std::string &a, const std::string &b) { return F_StrICmp(a.c_str(), b.c_str()) < 0; }

// Pieces of a text between any of the separator characters; runs of separators give no empty piece.
void SplitInto(const std::string &text, const std::string &separators, std::vector<std::string> &out) {
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find_first_of(separators, i);
        if (j == std::string::npos) j = text.size();
        if (j > i) out.push_back(text.substr(i, j - i));
        i = j + 1;
    }
}

std::vector<std::string> SplitAll(const std::vector<std::string> &values, const std::string &separators) {
    std::vector<std::string> out;
    for (const std::string &v : values) SplitInto(v, separators, out);
    return out;
}

IntT LastIndexOf(const Attributes &attrs, const std::string &name) {
    for (size_t i = attrs.size(); i-- > 0;)
        if (attrs[i].name == name) return static_cast<IntT>(i);
    return -1;
}

IntT FirstIndexOf(const Attributes &attrs, const std::string &name) {
    for (size_t i = 0; i < attrs.size(); ++i)
        if (attrs[i].name == name) return static_cast<IntT>(i);
    return -1;
}

// Checks document, element and attributes for a write; sets the status and answers false.
bool WritableAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, Attributes &attrs) {
    if (!HostHaveDocAndObject(docId, elemId)) return false;
    attrs = HostGetAttributes(docId, elemId);
    if (attrs.empty()) {
        StatusCode = StatusNoAttributes;
        return false;
    }
    return true;
}

// The first attribute of the name for a write (statuses as om_AttrSetValue); -1 when missing.
IntT WritableFirst(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, Attributes &attrs) {
    if (!WritableAttributes(docId, elemId, attrs)) return -1;
    IntT i = FirstIndexOf(attrs, name);
    if (i < 0) StatusCode = StatusNoSuchAttribute;
    return i;
}

// The index of the unique-ID attribute, or of the attribute of the name.
IntT IndexOfNameOrUniqueId(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name) {
    if (EqualCI(name, kUniqueIdPseudoName)) return om_AttrIndexByType(docId, elemId, FV_AT_UNIQUE_ID);
    return om_AttrIndex(docId, elemId, name);
}

}  // namespace

namespace {

const char *OrEmpty(const char *s) { return s ? s : ""; }

// Takes each attribute the host hands on into the list, reusing the list's storage (its entries,
// names and values); `count` entries are filled.
struct AttributeReader {
    Attributes *out;
    size_t count = 0;
};

IntT TakeAttribute(const F_AttributeReadT *r, PtrT arg) {
    AttributeReader &reader = *static_cast<AttributeReader *>(arg);
    Attributes &out = *reader.out;
    if (reader.count == out.size()) out.emplace_back();
    Attribute &a = out[reader.count++];
    a.name.assign(OrEmpty(r->name));
    const UIntT k = r->values ? r->valueCount : 0;
    a.values.resize(k);
    for (UIntT j = 0; j < k; ++j) a.values[j].assign(OrEmpty(r->values[j]));
    a.valflags = 0;
    a.allow = 0;
    return 0;
}

// Reads the element's attribute list into out, reusing out's storage, without the host making a
// record of it.
void ReadAttributesInto(F_ObjHandleT docId, F_ObjHandleT elemId, Attributes &out) {
    AttributeReader reader{&out};
    F_ApiReadAttributes(docId, elemId, TakeAttribute, &reader);
    out.resize(reader.count);
}

// What an attribute edit keeps for the next one: its readable copy, and the arrays of the record
// that hands the copy back to the host (the record's texts point into the copy).
struct EditStorage {
    Attributes attrs;
    std::vector<F_AttributeT> record;
    std::vector<StringT> values;
};
EditStorage spareStorage;

}  // namespace

Attributes HostGetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId) {
    Attributes out;
    ReadAttributesInto(docId, elemId, out);
    return out;
}

AttributeEdit::AttributeEdit(F_ObjHandleT docId, F_ObjHandleT elemId)
    : doc(docId), elem(elemId), copy_(std::exchange(spareStorage.attrs, Attributes{})) {
    ReadAttributesInto(docId, elemId, copy_);
}

AttributeEdit::~AttributeEdit() {
    if (copy_.capacity() > spareStorage.attrs.capacity()) spareStorage.attrs = std::move(copy_);
}

IntT AttributeEdit::lastIndexOf(const std::string &name) const { return LastIndexOf(copy_, name); }

void AttributeEdit::setValues(size_t i, const std::vector<std::string> &values) { copy_[i].values = values; }

void AttributeEdit::write() {
    // The record is made in kept arrays and points into the copy: the host copies what it keeps.
    std::vector<F_AttributeT> record = std::exchange(spareStorage.record, {});
    std::vector<StringT> values = std::exchange(spareStorage.values, {});
    size_t total = 0;
    for (const Attribute &a : copy_) total += a.values.size();
    values.resize(total);
    record.resize(copy_.size());
    size_t next = 0;
    for (size_t i = 0; i < copy_.size(); ++i) {
        Attribute &a = copy_[i];
        F_AttributeT &r = record[i];
        r.name = a.name.data();
        r.values.len = static_cast<UIntT>(a.values.size());
        r.values.val = values.data() + next;
        for (std::string &v : a.values) values[next++] = v.data();
        r.valflags = a.valflags;
        r.allow = a.allow;
    }
    F_AttributesT list{static_cast<UIntT>(record.size()), record.data()};
    F_ApiSetAttributes(doc, elem, &list);
    if (record.capacity() > spareStorage.record.capacity()) spareStorage.record = std::move(record);
    if (values.capacity() > spareStorage.values.capacity()) spareStorage.values = std::move(values);
}

AttributeDefs HostGetAttributeDefs(F_ObjHandleT docId, F_ObjHandleT elemId) {
    F_ObjHandleT def = F_ApiGetId(docId, elemId, FP_ElementDef);
    AttributeDefs out;
    if (!def) return out;
    F_AttributeDefsT raw = F_ApiGetAttributeDefs(docId, def);
    for (UIntT i = 0; raw.val && i < raw.len; ++i) {
        const F_AttributeDefT &r = raw.val[i];
        AttributeDef d;
        d.name = r.name ? r.name : "";
        d.required = r.required;
        d.readOnly = r.readOnly;
        d.type = r.attrType;
        d.choices = qv::ReadStrings(&r.choiceNames);
        d.defaults = qv::ReadStrings(&r.defValues);
        d.rangeMin = r.rangeMin ? r.rangeMin : "";
        d.rangeMax = r.rangeMax ? r.rangeMax : "";
        out.push_back(std::move(d));
    }
    F_ApiDeallocateAttributeDefs(&raw);
    return out;
}

void HostSetAttributes(F_ObjHandleT docId, F_ObjHandleT elemId, const Attributes &attrs) {
    F_AttributesT raw{0, nullptr};
    raw.val = static_cast<F_AttributeT *>(F_Alloc(static_cast<UIntT>(sizeof(F_AttributeT) * (attrs.size() + 1)), NO_DSE));
    for (const Attribute &a : attrs) {
        F_AttributeT &r = raw.val[raw.len++];
        r.name = F_StrCopyString(a.name.c_str());
        r.values = qv::NewStrings(a.values);
        r.valflags = a.valflags;
        r.allow = a.allow;
    }
    F_ApiSetAttributes(docId, elemId, &raw);
    F_ApiDeallocateAttributes(&raw);
}

// ---- reading --------------------------------------------------------------------------------

IntT om_AttrIndex(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name) {
    if (!HostHaveDocAndObject(docId, elemId)) return -1;
    return LastIndexOf(HostGetAttributes(docId, elemId), name);
}

IntT om_AttrIndexCI(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name) {
    if (!HostHaveDocAndObject(docId, elemId)) return -1;
    Attributes attrs = HostGetAttributes(docId, elemId);
    for (size_t i = attrs.size(); i-- > 0;)
        if (EqualCI(attrs[i].name, name)) return static_cast<IntT>(i);
    return -1;
}

IntT om_AttrIndexByType(F_ObjHandleT docId, F_ObjHandleT elemId, IntT type) {
    if (!docId || !elemId) return -1;
    AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
    for (size_t i = 0; i < defs.size(); ++i)
        if (defs[i].type == type) return static_cast<IntT>(i);
    return -1;
}

IntT om_AttrDefType(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, const std::string &name) {
    if (!docId || !elemId) return -1;
    AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
    if (index >= 0) return static_cast<size_t>(index) < defs.size() ? defs[index].type : -1;
    for (size_t i = defs.size(); i-- > 0;)
        if (defs[i].name == name) return defs[i].type;
    return -1;
}

IntT om_AttrIsDeclared(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index) {
    StatusCode = 0;
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    std::string wanted = name;
    if (index >= 0) {
        Attributes attrs = HostGetAttributes(docId, elemId);
        wanted = static_cast<size_t>(index) < attrs.size() ? attrs[index].name : "";
    }
    for (const AttributeDef &d : HostGetAttributeDefs(docId, elemId))
        if (d.name == wanted) return 1;
    return 0;
}

IntT om_AttrGetValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, std::string *value) {
    *value = ErrorSentinel;
    if (!docId || !elemId) return -1;
    Attributes attrs = HostGetAttributes(docId, elemId);
    IntT i = LastIndexOf(attrs, name);
    if (i < 0) return -1;
    *value = attrs[i].values.empty() ? "" : attrs[i].values.front();
    return i;
}

IntT om_AttrGetValueAt(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, std::string *value) {
    value->clear();
    if (!docId || !elemId || index < 0) return 0;
    Attributes attrs = HostGetAttributes(docId, elemId);
    if (static_cast<size_t>(index) >= attrs.size()) return 0;
    if (!attrs[index].values.empty()) *value = attrs[index].values.front();
    return 1;
}

IntT om_AttrGetInt(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name) {
    StatusCode = 0;
    std::string v;
    if (om_AttrGetValue(docId, elemId, name, &v) < 0) {
        StatusCode = StatusNotPossible;
        return 0;
    }
    return F_StrAlphaToInt(v.c_str());
}

std::vector<std::string> om_AttrGetValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name,
                                          IntT index, IntT split, IntT defaults) {
    if (!docId || !elemId) return {};
    Attributes attrs = HostGetAttributes(docId, elemId);
    IntT i = index >= 0 ? index : LastIndexOf(attrs, name);
    if (i < 0 || static_cast<size_t>(i) >= attrs.size()) return {};
    std::vector<std::string> values = attrs[i].values;
    if (values.empty() && defaults == 1) {
        AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
        if (static_cast<size_t>(i) < defs.size()) values = defs[i].defaults;
    }
    return split ? SplitAll(values, " ") : values;
}

IntT om_AttrGetAll(Attributes *attrs, F_ObjHandleT docId, F_ObjHandleT elemId, IntT defaults, IntT split) {
    if (!docId || !elemId) return 0;
    *attrs = HostGetAttributes(docId, elemId);
    if (defaults) {
        AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
        for (size_t i = 0; i < attrs->size() && i < defs.size(); ++i)
            if ((*attrs)[i].values.empty()) (*attrs)[i].values = defs[i].defaults;
    }
    if (split) om_AttributesSplitAt(*attrs, " ");
    return 1;
}

IntT om_AttrGetDefinition(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, AttributeDef *def) {
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (om_AttrIndex(docId, elemId, name) < 0) {
        StatusCode = StatusNoSuchAttribute;
        return 0;
    }
    AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
    for (size_t i = defs.size(); i-- > 0;)
        if (defs[i].name == name) {
            *def = defs[i];
            return 1;
        }
    return 0;
}

IntT om_AttrGetDefaults(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index,
                        std::vector<std::string> *defaults) {
    defaults->clear();
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    IntT i = index >= 0 ? index : om_AttrIndex(docId, elemId, name);
    AttributeDefs defs = HostGetAttributeDefs(docId, elemId);
    if (i < 0 || static_cast<size_t>(i) >= defs.size()) {
        StatusCode = StatusNoSuchAttribute;
        return 0;
    }
    *defaults = defs[i].defaults;
    return 1;
}

std::vector<std::string> om_AttrValuesOfFlow(F_ObjHandleT docId, const std::string &flowName, F_ObjHandleT flowId,
                                             const std::string &name, std::vector<UIntT> *elements, IntT defaults) {
    std::vector<std::string> out;
    F_ObjHandleT root = om_ElementHighestLevel(docId, flowName, flowId);
    if (!root) return out;
    ElementWalkPushed pushed;
    om_ElementWalkStart();
    for (F_ObjHandleT e = root; e; e = om_ElementNextInDocOrder(docId, e)) {
        if (ElementWalkState.lastMove == WalkUp) continue;
        IntT i = IndexOfNameOrUniqueId(docId, e, name);
        if (i < 0) continue;
        for (std::string &v : om_AttrGetValues(docId, e, name, i, 0, defaults)) {
            out.push_back(std::move(v));
            if (elements) elements->push_back(e);
        }
    }
    return out;
}

namespace {

// Names looked up as they come from the host's list, without a string made of them first.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

// The catalogue being gathered: each attribute name met, with its values kept distinct by an
// index, and the attribute definitions of each element definition, read once for the whole walk
// (a walk does not change them).
class CatalogBuilder {
  public:
    CatalogBuilder(IntT defaults, IntT split, IntT skipIds) : defaults_(defaults), split_(split), skipIds_(skipIds) {}

    // Takes in the attributes of element e of doc, read in place (no list made per element).
    void Visit(F_ObjHandleT doc, F_ObjHandleT e) {
        doc_ = doc;
        elem_ = e;
        elemDefs_ = nullptr;
        F_ApiReadAttributes(doc, e, [](const F_AttributeReadT *a, PtrT self) -> IntT {
            static_cast<CatalogBuilder *>(self)->TakeAttribute(*a);
            return 0;
        }, this);
    }

    Attributes Take() {
        for (size_t i = 0; i < result_.size(); ++i) result_[i].values = values_[i].Take();
        return std::move(result_);
    }

  private:
    // Takes in one attribute of the element being visited.
    void TakeAttribute(const F_AttributeReadT &a) {
        const UIntT p = a.index;
        if (!elemDefs_ && (defaults_ || skipIds_)) elemDefs_ = &DefsOf(doc_, elem_);
        const AttributeDefs *defs = elemDefs_;
        std::string_view name = qv::View(a.name);
        // The elements of a walk mostly share their definitions, so the name met last at this
        // position most likely comes again: it is compared before the names are looked up. Whether
        // an identifier is left out follows the definition, so a new definition starts afresh.
        if (skipIds_ == 1 && defsId_ != seenDef_) {
            seen_.clear();
            seenDef_ = defsId_;
        }
        if (p >= seen_.size()) seen_.resize(p + 1);
        Seen &at = seen_[p];
        bool first = false;
        if (at.entry == kUnseen || at.name != name) {
            auto found = byName_.find(name);
            if (found != byName_.end()) {
                at.entry = found->second;
            } else if (skipIds_ == 1 && IsIdentifier(defs, p)) {
                at.entry = kSkipped;
            } else {
                at.entry = result_.size();
                byName_.emplace(std::string(name), at.entry);
                result_.push_back(Attribute{std::string(name), {}, 0, 0});
                Flags(result_.back(), p);
                values_.emplace_back();
                first = true;
            }
            at.name = name;
        }
        if (at.entry == kSkipped) return;
        const size_t entry = at.entry;
        // A new entry takes the element's values as they are; later ones add what is new.
        ForEachValue(a, p, defs, [&](std::string_view v) {
            if (first) values_[entry].Append(std::string(v));
            else values_[entry].AddSoon(v);
        });
    }

    // The value flags of a new entry, from the element's attribute list (made once per name).
    void Flags(Attribute &entry, UIntT p) {
        F_AttributesT raw = F_ApiGetAttributes(doc_, elem_);
        if (raw.val && p < raw.len) {
            entry.valflags = raw.val[p].valflags;
            entry.allow = raw.val[p].allow;
        }
        F_ApiDeallocateAttributes(&raw);
    }

    static bool IsIdentifier(const AttributeDefs *defs, UIntT p) {
        IntT t = p < defs->size() ? (*defs)[p].type : -1;
        return t == FV_AT_UNIQUE_ID || t == FV_AT_UNIQUE_IDREF || t == FV_AT_UNIQUE_IDREFS;
    }

    // The attribute definitions of e's definition, which becomes defsId_.
    const AttributeDefs &DefsOf(F_ObjHandleT doc, F_ObjHandleT e) {
        F_ObjHandleT def = F_ApiGetId(doc, e, FP_ElementDef);
        if (def != defsId_ || !lastDefs_) {
            auto it = defs_.find(def);
            if (it == defs_.end()) it = defs_.emplace(def, HostGetAttributeDefs(doc, e)).first;
            defsId_ = def;
            lastDefs_ = &it->second;
        }
        return *lastDefs_;
    }

    // Each value of attribute a at position p as the catalogue reads it: the definition's defaults
    // in place of no value when asked, each value split at blanks when asked.
    template <class F>
    void ForEachValue(const F_AttributeReadT &a, UIntT p, const AttributeDefs *defs, F &&take) const {
        auto each = [&](std::string_view v) {
            if (!split_) return take(v);
            size_t i = 0;
            while (i < v.size()) {
                size_t j = v.find(' ', i);
                if (j == std::string_view::npos) j = v.size();
                if (j > i) take(v.substr(i, j - i));
                i = j + 1;
            }
        };
        if (a.values && a.valueCount) {
            for (UIntT k = 0; k < a.valueCount; ++k) each(qv::View(a.values[k]));
        } else if (defaults_ && p < defs->size()) {
            for (const std::string &v : (*defs)[p].defaults) each(v);
        }
    }

    IntT defaults_, split_, skipIds_;
    Attributes result_;
    std::vector<qv::UniqueStrings> values_;  // per entry of result_
    std::unordered_map<std::string, size_t, NameHash, std::equal_to<>> byName_;
    std::unordered_map<F_ObjHandleT, AttributeDefs> defs_;
    F_ObjHandleT defsId_ = 0;                  // the definition DefsOf answered last
    const AttributeDefs *lastDefs_ = nullptr;  // and its attribute definitions
    // By position in the element's list: the name met there last and its entry.
    static constexpr size_t kUnseen = ~size_t(0), kSkipped = kUnseen - 1;
    struct Seen {
        std::string name;
        size_t entry = kUnseen;  // or kSkipped: an identifier the catalogue leaves out
    };
    std::vector<Seen> seen_;
    F_ObjHandleT seenDef_ = 0;  // the definition seen_ was made under, when identifiers are left out
    F_ObjHandleT doc_ = 0, elem_ = 0;             // the element being visited
    const AttributeDefs *elemDefs_ = nullptr;  // its definition's attribute definitions, once asked
};

}  // namespace

Attributes om_AttrCatalog(F_ObjHandleT docOrBookId, IntT allFlows, IntT defaults, IntT split, IntT skipIds) {
    ElementWalkPushed pushed;
    CatalogBuilder catalog(defaults, split, skipIds);
    std::vector<F_ObjHandleT> docs;
    if (F_OBJ_KIND(docOrBookId) == FO_Doc) {
        docs.push_back(docOrBookId);
    } else {
        for (F_ObjHandleT d = om_BookFirstComponentDoc(docOrBookId, 0, 0); d && docs.size() < 10000;
             d = om_BookNextComponentDoc(docOrBookId, d, 0, 0, 0))
            docs.push_back(d);
    }
    for (F_ObjHandleT doc : docs) {
        std::vector<F_ObjHandleT> flows;
        if (allFlows == 1) {
            for (F_ObjHandleT f = F_ApiGetId(0, doc, FP_FirstFlowInDoc); f; f = F_ApiGetId(doc, f, FP_NextFlowInDoc))
                flows.push_back(f);
        } else {
            flows.push_back(F_ApiGetId(0, doc, FP_MainFlowInDoc));
        }
        for (F_ObjHandleT flow : flows) {
            om_ElementWalkStart();
            for (F_ObjHandleT e = F_ApiGetId(doc, flow, FP_HighestLevelElement); e; e = om_ElementNextInDocOrder(doc, e))
                if (ElementWalkState.lastMove != WalkUp) catalog.Visit(doc, e);
        }
    }
    return catalog.Take();
}

void om_ElementChildrenAttrValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name,
                                  std::vector<std::string> *values) {
    values->clear();
    if (!docId || !elemId) return;
    for (F_ObjHandleT c = F_ApiGetId(docId, elemId, FP_FirstChildElement); c;
         c = F_ApiGetId(docId, c, FP_NextSiblingElement)) {
        if (!HostIsTagged(docId, c)) continue;
        std::string v;
        om_AttrGetValue(docId, c, name, &v);
        values->push_back(v);
    }
}

IntT om_AttrValuesByAttr(F_ObjHandleT docId, const std::string &tag, const std::string &name,
                         std::vector<std::string> *values) {
    F_ObjHandleT e = om_ElementFindByAttr(docId, 0, tag, name, "*", "Main");
    if (!e) return 0;
    Attributes attrs = HostGetAttributes(docId, e);
    IntT i = FirstIndexOf(attrs, name);
    if (i < 0) return 0;
    *values = attrs[i].values;
    return 1;
}

// ---- writing --------------------------------------------------------------------------------

IntT om_AttrSetValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value) {
    StatusCode = 0;
    Attributes attrs;
    IntT i = WritableFirst(docId, elemId, name, attrs);
    if (i < 0) return -1;
    attrs[i].values = {value};
    HostSetAttributes(docId, elemId, attrs);
    return i;
}

IntT om_AttrSetValueAt(F_ObjHandleT docId, F_ObjHandleT elemId, IntT index, const std::string &value) {
    StatusCode = 0;
    if (!HostHaveDocAndObject(docId, elemId)) return -1;
    if (index < 0) return StatusCode = StatusNegativeIndex, -1;
    Attributes attrs;
    if (!WritableAttributes(docId, elemId, attrs)) return -1;
    if (static_cast<size_t>(index) >= attrs.size()) return StatusCode = StatusIndexOutOfRange, -1;
    attrs[index].values = {value};
    HostSetAttributes(docId, elemId, attrs);
    return index;
}

IntT om_AttrSetValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT index,
                      const std::vector<std::string> &values, IntT collapse) {
    StatusCode = 0;
    Attributes attrs;
    if (!WritableAttributes(docId, elemId, attrs)) return -1;
    IntT i = index >= 0 ? index : LastIndexOf(attrs, name);
    if (i < 0) return StatusCode = StatusNoSuchAttribute, -1;
    if (static_cast<size_t>(i) >= attrs.size()) return StatusCode = StatusIndexOutOfRange, -1;
    if (collapse && !values.empty()) {
        std::string joined;
        for (size_t k = 0; k < values.size(); ++k) joined += (k ? " " : "") + values[k];
        attrs[i].values = {joined};
    } else {
        attrs[i].values = values;
    }
    HostSetAttributes(docId, elemId, attrs);
    return i;
}

IntT om_AttrSetInt(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, IntT number) {
    return om_AttrSetValue(docId, elemId, name, std::to_string(number)) < 0 ? StatusCode : 0;
}

IntT om_AttrAppendValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value,
                        IntT maximum) {
    StatusCode = 0;
    Attributes attrs;
    IntT i = WritableFirst(docId, elemId, name, attrs);
    if (i < 0) return StatusCode;
    if (maximum < 0 || attrs[i].values.size() < static_cast<size_t>(maximum)) {
        attrs[i].values.push_back(value);
        HostSetAttributes(docId, elemId, attrs);
    }
    return 0;
}

IntT om_AttrRemoveValue(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &name, const std::string &value) {
    StatusCode = 0;
    Attributes attrs;
    IntT i = WritableFirst(docId, elemId, name, attrs);
    if (i < 0) return StatusCode;
    auto &vals = attrs[i].values;
    vals.erase(std::remove(vals.begin(), vals.end(), value), vals.end());
    HostSetAttributes(docId, elemId, attrs);
    return 0;
}

IntT om_AttrCopyValues(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &nameA, IntT indexA,
                       const std::string &nameB, IntT indexB, IntT operation) {
    StatusCode = 0;
    if (!HostHaveDocAndObject(docId, elemId)) return 0;
    Attributes attrs = HostGetAttributes(docId, elemId);
    auto resolve = [&](const std::string &name, IntT index) -> IntT {
        if (index < 0) return LastIndexOf(attrs, name);
        return static_cast<size_t>(index) < attrs.size() ? index : -1;
    };
    IntT a = resolve(nameA, indexA);
    IntT b = resolve(nameB, indexB);
    if (a < 0 || b < 0) return StatusCode = StatusNoSuchAttribute, 0;
    if (a == b) return 1;  // moving, copying or swapping an attribute onto itself changes nothing
    std::vector<std::string> oldB = attrs[b].values;
    attrs[b].values = attrs[a].values;
    if (operation == 1)
        attrs[a].values.clear();
    else if (operation == 3)
        attrs[a].values = std::move(oldB);
    HostSetAttributes(docId, elemId, attrs);
    return 1;
}

std::string om_StrRandomLetters(IntT, IntT) {
    std::string s;
    for (int i = 0; i < 8; ++i) s += static_cast<char>(64 + std::rand() % 25 + 1);
    return s;
}

IntT om_AttrAssignUniqueId(F_ObjHandleT docId, F_ObjHandleT elemId, const std::vector<std::string> *taken, IntT,
                           IntT, IntT force) {
    if (!docId || !elemId) return 0;
    IntT u = om_AttrIndexByType(docId, elemId, FV_AT_UNIQUE_ID);
    if (u < 0) return 0;
    std::string current;
    om_AttrGetValueAt(docId, elemId, u, &current);
    if (!current.empty() && force == 0) return 0;
    std::unordered_set<std::string> takenSet;
    if (taken) {
        takenSet.insert(taken->begin(), taken->end());
    } else {
        for (std::string &v : om_AttrValuesOfFlow(docId, "", om_DocFlowOfObject(docId, elemId), kUniqueIdPseudoName,
                                                  nullptr, 0))
            takenSet.insert(std::move(v));
    }
    std::string candidate = om_StrRandomLetters(0, 0);
    for (int i = 0; i < kUniqueIdDraws && takenSet.count(candidate); ++i) candidate = om_StrRandomLetters(0, 0);
    if (takenSet.count(candidate)) return 0;
    return om_AttrSetValueAt(docId, elemId, u, candidate) >= 0 ? 1 : 0;
}

// ---- attribute lists ------------------------------------------------------------------------

IntT om_AttributesFind(const Attributes &attrs, const std::string &name, IntT caseFlag) {
    for (size_t i = 0; i < attrs.size(); ++i)
        if (caseFlag ? attrs[i].name == name : EqualCI(attrs[i].name, name)) return static_cast<IntT>(i);
    return -1;
}

IntT om_AttributesSplitAt(Attributes &attrs, const std::string &separators) {
    for (Attribute &a : attrs) a.values = SplitAll(a.values, separators);
    return 1;
}

IntT om_AttributesAddValue(Attributes &attrs, IntT index, const std::string &name, const std::string &value,
                           IntT allowDuplicates) {
    IntT i = index;
    if (i < 0) i = FirstIndexOf(attrs, name);
    if (i < 0 || static_cast<size_t>(i) >= attrs.size()) return 0;
    auto &vals = attrs[i].values;
    if (!allowDuplicates && std::find(vals.begin(), vals.end(), value) != vals.end()) return 0;
    vals.push_back(value);
    return 1;
}

void om_AttributesSort(Attributes &attrs, IntT sortNames, IntT sortValues) {
    if (sortNames)
        std::stable_sort(attrs.begin(), attrs.end(),
                         [](const Attribute &a, const Attribute &b) { return LessCI(a.name, b.name); });
    if (sortValues)
        for (Attribute &a : attrs) std::stable_sort(a.values.begin(), a.values.end(), LessCI);
}

void om_AttributesRemoveBlankValues(Attributes &attrs) {
    if (attrs.size() > 100000) return;
    for (Attribute &a : attrs) {
        if (a.values.empty() || a.values.size() >= 100000) continue;
        a.values.erase(std::remove_if(a.values.begin(), a.values.end(),
                                      [](const std::string &v) { return v.find_first_not_of(' ') == std::string::npos; }),
                       a.values.end());
    }
}

void om_AttributesMergeOrdered(Attributes &attrs, const std::vector<std::string> &names) {
    Attributes out;
    std::unordered_set<std::string> taken;
    for (const std::string &n : names) {
        IntT i = FirstIndexOf(attrs, n);
        if (i >= 0 && taken.insert(n).second) out.push_back(attrs[i]);
    }
    for (const Attribute &a : attrs)
        if (taken.insert(a.name).second) out.push_back(a);
    attrs = std::move(out);
}

void om_AttributesDump(const Attributes &attrs, IntT console) {
    std::string text;
    for (const Attribute &a : attrs) {
        text += "---------------------\n";
        text += "ATTRIBUTE:  " + a.name;
        text += "\n  - allow: " + std::to_string(a.allow);
        text += "\n  - valflags: " + std::to_string(a.valflags);
        text += "\n\nVALUES:\n";
        for (const std::string &v : a.values) text += "  ->" + v + "<-\n";
        text += "---------------------\n\n";
    }
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
    if (console) F_Printf(nullptr, "%s", text.c_str());
}

F_ObjHandleT om_ElementFindByAttr(F_ObjHandleT docId, F_ObjHandleT startId, const std::string &tag,
                                  const std::string &attrName, const std::string &value, const std::string &flowName) {
    om_ElementWalkStart();
    if (!docId) return 0;
    if (!startId) startId = om_ElementHighestLevel(docId, flowName.empty() ? "Main" : flowName, 0);
    if (!startId) return 0;
    F_ObjHandleT stop = F_ApiGetId(docId, startId, FP_NextSiblingElement);
    if (!stop) stop = F_ApiGetId(docId, startId, FP_ParentElement);
    for (F_ObjHandleT x = startId; x && x != stop; x = om_ElementNextInDocOrder(docId, x)) {
        IntT index = attrName == "*" ? -1 : om_AttrIndex(docId, x, attrName);
        if (attrName != "*" && index < 0) continue;
        if (tag != "*" && HostElementDefName(docId, x) != tag) continue;
        if (attrName == "*" || value == "*") return x;
        std::string first;
        om_AttrGetValueAt(docId, x, index, &first);
        if (first == value) return x;
    }
    return 0;
}
