// Property dispatch: the table keyed by (kind, number), the registry of kinds kept in other files,
// and the F_Api property, object-type, named-object, close and delete calls built on them.
#include <algorithm>
#include <array>
#include <deque>

#include "dialog.h"
#include "model.h"
#include "model_internal.h"
#include "model_layout.h"
#include "records.h"
#include "tables.h"

namespace host {

void RegisterBuiltinProperties();  // model_objects.cpp

namespace {

// A property: typed accessors (scalar properties) or general ones (the others), never both; the
// general calls reach typed accessors through a property value, the typed calls reach them
// directly.
struct Property {
    PropType type = PropType::Int;
    PropGetter get;
    PropSetter set;
    IntGetter intGet = nullptr;  // integer properties read without a property value
    bool intGetChecks = false;   // intGet fails for an object that is not valid
    IntRead intRead = nullptr;
    IntWrite intWrite = nullptr;
    StringRead stringRead = nullptr;
    StringWrite stringWrite = nullptr;
    PropArg arg;

    bool Readable() const { return intGet || intRead || stringRead || get; }
    bool Writable() const { return intWrite || stringWrite || set; }
    // The general read and write, through whichever accessor the property has.
    bool Read(F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) const {
        if (intGet) return intGet(doc, obj, out.i);
        if (intRead) return intRead(arg, doc, obj, out.i);
        if (stringRead) return stringRead(arg, doc, obj, out.s);
        return get && get(doc, obj, out);
    }
    bool Write(F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) const {
        if (intWrite) return intWrite(arg, doc, obj, in.i);
        if (stringWrite) return stringWrite(arg, doc, obj, in.s);
        return set && set(doc, obj, in);
    }
};

// Answers call(); when it fails without naming a cause, FA_errno becomes `failure`.
template <class Call>
bool Answer(IntT failure, Call &&call) {
    IntT before = FA_errno;
    if (call()) return true;
    if (FA_errno == before) Fail(failure);
    return false;
}

// The properties of one kind: a flat index by number into stable slots (nullptr for none), so
// that a lookup is one bounds check and one load.
struct KindProperties {
    std::vector<Property *> index;
    std::deque<Property> slots;

    const Property *Find(int number) const {
        return number >= 0 && static_cast<size_t>(number) < index.size() ? index[static_cast<size_t>(number)] : nullptr;
    }
    void Put(int number, Property p) {
        if (number < 0) return;
        if (static_cast<size_t>(number) >= index.size()) index.resize(static_cast<size_t>(number) + 1, nullptr);
        Property *&slot = index[static_cast<size_t>(number)];
        if (slot) {
            *slot = std::move(p);
        } else {
            slots.push_back(std::move(p));
            slot = &slots.back();
        }
    }
};

struct Registry {
    std::array<KindProperties, 256> props;
    std::array<ValidFn, 256> valid;
    std::array<std::function<bool(F_ObjHandleT, IntT)>, 256> closers;
    std::array<std::function<bool(F_ObjHandleT, F_ObjHandleT)>, 256> deleters;
    std::array<std::function<F_ObjHandleT(F_ObjHandleT, const std::string &)>, 256> getNamed, newNamed;
    std::deque<PropValue> initials;  // the initial values of the stored properties
};

// The registry, made on first use (with the built-in properties); every later call is one load.
Registry *registry = nullptr;

Registry &MakeRegistry() {
    static Registry r;
    registry = &r;
    RegisterBuiltinProperties();
    return r;
}

inline Registry &Reg() { return registry ? *registry : MakeRegistry(); }

const Property *FindProperty(int kind, int number) { return Reg().props[static_cast<size_t>(kind) & 0xFF].Find(number); }

bool IsInteger(PropType t) { return t == PropType::Int || t == PropType::Id || t == PropType::Metric; }

// Checks the object and finds the property; sets FA_errno on failure.
const Property *Lookup(F_ObjHandleT doc, F_ObjHandleT obj, int number) {
    if (!ObjectValid(doc, obj)) {
        Fail(obj && !doc && KindOf(obj) != FO_Doc ? FE_BadDocId : FE_BadObjId);
        return nullptr;
    }
    const Property *p = FindProperty(KindOf(obj), number);
    if (!p) Fail(FE_BadPropNum);
    return p;
}

// The store, for the element reads below (set when this file is loaded; until then those reads
// take the general path).
Store *const storeForReads = &TheStore();

// Reads an element's tree links, definition, kind and unique id straight from the element: the reads
// every structure walk makes, kept off the general dispatch. False when the read is not one of
// these or the element is not valid (the general path then answers, with its failure).
[[gnu::always_inline]] inline bool ElementFieldRead(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop, IntT &out) {
    if (KindOf(obj) != FO_Element || !storeForReads) return false;
    // ElemIn, with the pool read in place: a live element of that document.
    const Element *e = storeForReads->elements.Get(obj);
    if (!e || !e->doc || e->doc != doc) return false;
    switch (prop) {
    case FP_ParentElement: out = static_cast<IntT>(e->parent); return true;
    case FP_FirstChildElement: out = static_cast<IntT>(PastMisc(e->first, true)); return true;
    case FP_PrevSiblingElement: out = static_cast<IntT>(PastMisc(e->prev, false)); return true;
    case FP_NextSiblingElement: out = static_cast<IntT>(PastMisc(e->next, true)); return true;
    case FP_ElementDef: out = static_cast<IntT>(e->def); return true;
    case FP_Unique: out = static_cast<IntT>(e->unique); return true;
    case FP_ElementType: {
        const ElementDef *d = Def(e->def);
        out = d ? d->type : FV_FO_CONTAINER;
        return true;
    }
    default: return false;
    }
}

}  // namespace

void RegisterKind(int kind, ValidFn valid) { Reg().valid[static_cast<size_t>(kind) & 0xFF] = std::move(valid); }

bool DocValid(F_ObjHandleT doc, F_ObjHandleT obj) { return Doc(obj) && (doc == 0 || doc == obj); }

bool ElementDefValid(F_ObjHandleT doc, F_ObjHandleT obj) {
    ElementDef *d = Def(obj);
    return d && d->doc == doc;
}

bool ElementValid(F_ObjHandleT doc, F_ObjHandleT obj) { return ElemIn(doc, obj) != nullptr; }

bool ObjectValid(F_ObjHandleT doc, F_ObjHandleT obj) {
    if (obj == 0) return doc == 0;  // the session
    switch (KindOf(obj)) {
    case FO_Doc: return DocValid(doc, obj);
    case FO_ElementDef: return ElementDefValid(doc, obj);
    case FO_Element: return ElementValid(doc, obj);
    case FO_Pgf: return PgfValid(doc, obj);
    default: break;
    }
    const ValidFn &v = Reg().valid[static_cast<size_t>(KindOf(obj))];
    return v && v(doc, obj);
}

void RegisterCloser(int kind, std::function<bool(F_ObjHandleT, IntT)> close) {
    Reg().closers[static_cast<size_t>(kind) & 0xFF] = std::move(close);
}

void RegisterDeleter(int kind, std::function<bool(F_ObjHandleT, F_ObjHandleT)> del) {
    Reg().deleters[static_cast<size_t>(kind) & 0xFF] = std::move(del);
}

void RegisterNamedKind(int kind, std::function<F_ObjHandleT(F_ObjHandleT, const std::string &)> get,
                       std::function<F_ObjHandleT(F_ObjHandleT, const std::string &)> create) {
    Reg().getNamed[static_cast<size_t>(kind) & 0xFF] = std::move(get);
    Reg().newNamed[static_cast<size_t>(kind) & 0xFF] = std::move(create);
}

void RegisterProperty(int kind, int number, PropType type, PropGetter get, PropSetter set) {
    Property p;
    p.type = type;
    p.get = std::move(get);
    p.set = std::move(set);
    Reg().props[static_cast<size_t>(kind) & 0xFF].Put(number, std::move(p));
}

void RegisterIntProperty(int kind, int number, PropType type, IntGetter get, bool checksObject) {
    Property p;
    p.type = type;
    p.intGet = get;
    p.intGetChecks = checksObject;
    Reg().props[static_cast<size_t>(kind) & 0xFF].Put(number, std::move(p));
}

void RegisterIntAccessors(int kind, int number, PropType type, IntRead get, IntWrite set, PropArg arg) {
    Property p;
    p.type = type;
    p.intRead = get;
    p.intWrite = set;
    p.arg = arg;
    Reg().props[static_cast<size_t>(kind) & 0xFF].Put(number, std::move(p));
}

void RegisterStringAccessors(int kind, int number, StringRead get, StringWrite set, PropArg arg) {
    Property p;
    p.type = PropType::String;
    p.stringRead = get;
    p.stringWrite = set;
    p.arg = arg;
    Reg().props[static_cast<size_t>(kind) & 0xFF].Put(number, std::move(p));
}

namespace {

// Stored values: arg.n is the property number, arg.p its initial value.
uint64_t StoredKey(F_ObjHandleT obj, IntT number) { return (uint64_t(obj) << 32) | uint32_t(number); }
const PropValue &StoredOrInitial(const PropArg &arg, F_ObjHandleT obj) {
    const auto &stored = TheStore().stored;
    auto it = stored.find(StoredKey(obj, arg.n));
    return it == stored.end() ? *static_cast<const PropValue *>(arg.p) : it->second;
}
bool ReadStoredInt(const PropArg &arg, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
    out = StoredOrInitial(arg, obj).i;
    return true;
}
bool WriteStoredInt(const PropArg &arg, F_ObjHandleT, F_ObjHandleT obj, IntT in) {
    TheStore().stored[StoredKey(obj, arg.n)].i = in;
    return true;
}
bool ReadStoredString(const PropArg &arg, F_ObjHandleT, F_ObjHandleT obj, std::string &out) {
    out = StoredOrInitial(arg, obj).s;
    return true;
}
bool WriteStoredString(const PropArg &arg, F_ObjHandleT, F_ObjHandleT obj, std::string_view in) {
    TheStore().stored[StoredKey(obj, arg.n)].s.assign(in);
    return true;
}

}  // namespace

void RegisterStoredProperty(int kind, int number, PropType type, PropValue initial) {
    if (IsInteger(type) || type == PropType::String) {
        Registry &r = Reg();
        r.initials.push_back(std::move(initial));
        PropArg arg{number, &r.initials.back()};
        if (type == PropType::String)
            RegisterStringAccessors(kind, number, ReadStoredString, WriteStoredString, arg);
        else
            RegisterIntAccessors(kind, number, type, ReadStoredInt, WriteStoredInt, arg);
        return;
    }
    auto key = [number](F_ObjHandleT obj) { return StoredKey(obj, number); };
    RegisterProperty(
        kind, number, type,
        [key, initial](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            auto &stored = TheStore().stored;
            auto it = stored.find(key(obj));
            out = it == stored.end() ? initial : it->second;
            return true;
        },
        [key](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            TheStore().stored[key(obj)] = in;
            return true;
        });
}

bool PropertyType(int kind, int number, PropType &type) {
    const Property *p = FindProperty(kind, number);
    if (p) type = p->type;
    return p != nullptr;
}

std::vector<int> PropertyNumbers(int kind) {
    std::vector<int> out;
    const auto &index = Reg().props[static_cast<size_t>(kind) & 0xFF].index;
    for (size_t n = 0; n < index.size(); ++n)
        if (index[n]) out.push_back(static_cast<int>(n));
    return out;
}

// Reads through a property found already.
static bool GetFound(const Property *p, F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
    if (!p->Readable()) return Fail(FE_BadPropNum);
    return Answer(FE_BadObjId, [&] { return p->Read(doc, obj, out); });
}

bool GetProperty(F_ObjHandleT doc, F_ObjHandleT obj, int number, PropValue &out) {
    const Property *p = Lookup(doc, obj, number);
    return p && GetFound(p, doc, obj, out);
}

// Writes through a property found already.
static bool SetFound(const Property *p, F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
    if (!p->Writable()) return Fail(FE_ReadOnly);
    return Answer(FE_BadParameter, [&] { return p->Write(doc, obj, in); });
}

bool SetProperty(F_ObjHandleT doc, F_ObjHandleT obj, int number, const PropValue &in) {
    const Property *p = Lookup(doc, obj, number);
    return p && SetFound(p, doc, obj, in);
}

// Reads a property of one of the given types; false (FA_errno set) otherwise.
static bool GetTyped(F_ObjHandleT doc, F_ObjHandleT obj, int number, bool (*accept)(PropType), PropValue &out) {
    const Property *p = Lookup(doc, obj, number);
    if (!p) return false;
    if (!accept(p->type)) return Fail(FE_BadPropType);
    return GetFound(p, doc, obj, out);
}

static bool SetTyped(F_ObjHandleT doc, F_ObjHandleT obj, int number, bool (*accept)(PropType), const PropValue &in) {
    const Property *p = Lookup(doc, obj, number);
    if (!p) return false;
    if (!accept(p->type)) return Fail(FE_BadPropType);
    return SetFound(p, doc, obj, in);
}

static bool AcceptStrings(PropType t) { return t == PropType::Strings; }
static bool AcceptInts(PropType t) { return t == PropType::Ints || t == PropType::Metrics; }
static bool AcceptTextRange(PropType t) { return t == PropType::TextRange || t == PropType::TextLoc; }
static bool AcceptTextLoc(PropType t) { return t == PropType::TextLoc || t == PropType::TextRange; }
static bool AcceptElementRange(PropType t) { return t == PropType::ElementRange; }

}  // namespace host

using namespace host;

extern "C" {

// An integer property through the general dispatch (kept apart so that the element reads
// before it need no frame for a property value).
[[gnu::noinline]] static IntT GetIntegerProperty(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    // A getter that checks the object itself answers a good read at once; a failed read is
    // answered below, with the failure the checked path names.
    if (objId)
        if (const Property *q = FindProperty(KindOf(objId), prop); q && q->intGetChecks) {
            IntT out = 0;
            if (q->intGet(docId, objId, out)) return out;
        }
    const Property *p = Lookup(docId, objId, prop);
    if (!p) return 0;
    IntT out = 0;
    if (p->intGet) return Answer(FE_BadObjId, [&] { return p->intGet(docId, objId, out); }) ? out : 0;
    if (!IsInteger(p->type)) return Fail(FE_BadPropType), 0;
    if (p->intRead) return Answer(FE_BadObjId, [&] { return p->intRead(p->arg, docId, objId, out); }) ? out : 0;
    PropValue v;
    return GetFound(p, docId, objId, v) ? v.i : 0;
}

// Writes an integer property: straight to a typed setter, else through a property value.
static void SetIntegerProperty(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, IntT value) {
    const Property *p = Lookup(docId, objId, prop);
    if (!p) return;
    if (!IsInteger(p->type)) {
        Fail(FE_BadPropType);
        return;
    }
    if (p->intWrite) {
        Answer(FE_BadParameter, [&] { return p->intWrite(p->arg, docId, objId, value); });
        return;
    }
    PropValue v;
    v.i = value;
    SetFound(p, docId, objId, v);
}

F_ObjHandleT F_ApiGetId(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    IntT direct = 0;
    if (ElementFieldRead(docId, objId, prop, direct)) return static_cast<F_ObjHandleT>(direct);
    // The next paragraph of a flow, which every walk over a flow's text asks once a paragraph.
    if (prop == FP_NextPgfInFlow && KindOf(objId) == FO_Pgf)
        if (F_ObjHandleT next = 0; NextPgfInFlowOf(docId, objId, next)) return next;
    // The table, row or cell a table element stands for, which table builders ask row after row.
    if (prop == FP_Object && KindOf(objId) == FO_Element)
        if (F_ObjHandleT t = TableObjectOf(docId, objId)) return t;
    return static_cast<F_ObjHandleT>(GetIntegerProperty(docId, objId, prop));
}

IntT F_ApiReadElements(F_ObjHandleT docId, F_ObjHandleT rootId, F_ObjHandleT fromId, F_ElementReadFnT fn, PtrT arg) {
    const Element *root = rootId ? ElemIn(docId, rootId) : nullptr;
    const Element *from = fromId ? ElemIn(docId, fromId) : nullptr;
    if (!fn || (!rootId && !fromId)) {
        Fail(FE_BadParameter);
        return -1;
    }
    if ((rootId && !root) || (fromId && !from)) {
        Fail(FE_BadObjId);
        return -1;
    }
    if (fromId && rootId) {  // fromId must lie in rootId's subtree
        F_ObjHandleT a = fromId;
        for (size_t guard = ElementStoreSize() + 1; a && a != rootId && guard--;) {
            const Element *x = Elem(a);
            a = x ? x->parent : 0;
        }
        if (a != rootId) {
            Fail(FE_BadParameter);
            return -1;
        }
    }
    F_ObjHandleT at = fromId ? fromId : rootId;
    const Element *e = fromId ? from : root;
    // Each link is followed to its element once: the element that tells whether the link leads
    // to a comment is the one the walk goes on with. fn may read the document (it must not change
    // it), which moves no element.
    const Element *childElem = nullptr;
    F_ObjHandleT child = PastMiscWithElem(e->first, childElem);
    if (!fromId) {
        F_ElementReadT r{at, e->def, child};
        if (IntT stop = fn(&r, arg)) return stop;
    }
    // The elements the walk went down through, the nearest last, so that it climbs back without
    // looking them up (above the first kKept levels, and above where it started, it looks them up).
    constexpr size_t kKept = 64;
    const Element *above[kKept];
    size_t depth = 0;
    for (size_t guard = ElementStoreSize() + 1; guard--;) {
        F_ObjHandleT next = child;
        const Element *nextElem = childElem;
        if (next && depth++ < kKept) above[depth - 1] = e;
        while (!next && at != rootId) {
            next = PastMiscWithElem(e->next, nextElem);
            if (next) break;
            at = e->parent;
            if (!at || at == rootId) return 0;
            e = depth && depth <= kKept ? above[depth - 1] : Elem(at);
            if (depth) --depth;
            if (!e) return 0;
        }
        if (!next || !(e = nextElem)) return 0;
        at = next;
        child = PastMiscWithElem(e->first, childElem);
        F_ElementReadT r{at, e->def, child};
        if (IntT stop = fn(&r, arg)) return stop;
    }
    return 0;
}

void F_ApiSetId(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, F_ObjHandleT value) {
    // A retag, the write bulk edits make element by element, goes straight to the element.
    if (prop == FP_ElementDef && KindOf(objId) == FO_Element)
        if (Element *e = ElemIn(docId, objId)) {
            RetagElement(docId, objId, *e, value);
            return;
        }
    SetIntegerProperty(docId, objId, prop, static_cast<IntT>(value));
}

IntT F_ApiGetInt(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    IntT direct = 0;
    if (ElementFieldRead(docId, objId, prop, direct)) return direct;
    return GetIntegerProperty(docId, objId, prop);
}

void F_ApiSetInt(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, IntT value) {
    SetIntegerProperty(docId, objId, prop, value);
}

MetricT F_ApiGetMetric(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) { return F_ApiGetInt(docId, objId, prop); }

void F_ApiSetMetric(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, MetricT value) {
    F_ApiSetInt(docId, objId, prop, value);
}

StringT F_ApiGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    // A definition's name, which structure walks ask element after element, is read in place.
    if (prop == FP_Name && KindOf(objId) == FO_ElementDef)
        if (const ElementDef *d = Def(objId); d && d->doc == docId) return NewString(d->name);
    const Property *p = Lookup(docId, objId, prop);
    if (!p) return nullptr;
    if (p->type != PropType::String) return Fail(FE_BadPropType), nullptr;
    if (p->stringRead) {
        std::string s;
        return Answer(FE_BadObjId, [&] { return p->stringRead(p->arg, docId, objId, s); }) ? NewString(s) : nullptr;
    }
    PropValue v;
    return GetFound(p, docId, objId, v) ? NewString(v.s) : nullptr;
}

void F_ApiSetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, ConStringT value) {
    // A dialog item's label, which a status box rewrites line after line, goes straight to the
    // item; anything else, and an item that is not there, takes the general path.
    if (prop == FP_Label && KindOf(objId) >= FO_DlgGroupBox && KindOf(objId) <= FO_DlgPopUp &&
        WriteItemLabel(docId, objId, value ? std::string_view(value) : std::string_view()))
        return;
    const Property *p = Lookup(docId, objId, prop);
    if (!p) return;
    if (p->type != PropType::String) {
        Fail(FE_BadPropType);
        return;
    }
    if (p->stringWrite) {
        std::string_view in = value ? std::string_view(value) : std::string_view();
        Answer(FE_BadParameter, [&] { return p->stringWrite(p->arg, docId, objId, in); });
        return;
    }
    PropValue v;
    v.s = value ? value : "";
    SetFound(p, docId, objId, v);
}

F_StringsT F_ApiGetStrings(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    GetTyped(docId, objId, prop, AcceptStrings, v);
    return NewStrings(v.ss);
}

void F_ApiSetStrings(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_StringsT *value) {
    PropValue v;
    v.ss = ReadStrings(value);
    SetTyped(docId, objId, prop, AcceptStrings, v);
}

F_IntsT F_ApiGetInts(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    GetTyped(docId, objId, prop, AcceptInts, v);
    return NewInts(v.is);
}

void F_ApiSetInts(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_IntsT *value) {
    PropValue v;
    v.is = ReadInts(value);
    SetTyped(docId, objId, prop, AcceptInts, v);
}

F_MetricsT F_ApiGetMetrics(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    GetTyped(docId, objId, prop, AcceptInts, v);
    return NewMetrics(v.is);
}

void F_ApiSetMetrics(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_MetricsT *value) {
    PropValue v;
    v.is = ReadMetrics(value);
    SetTyped(docId, objId, prop, AcceptInts, v);
}

void F_ApiSetPoints(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_IntsT *points) {
    F_ApiSetInts(docId, objId, prop, points);
}

F_TextRangeT F_ApiGetTextRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    if (!GetTyped(docId, objId, prop, AcceptTextRange, v)) return F_TextRangeT{};
    return v.tr;
}

void F_ApiSetTextRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_TextRangeT *value) {
    if (!value) {
        Fail(FE_BadParameter);
        return;
    }
    PropValue v;
    v.tr = *value;
    SetTyped(docId, objId, prop, AcceptTextRange, v);
}

F_TextLocT F_ApiGetTextLoc(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    if (!GetTyped(docId, objId, prop, AcceptTextLoc, v)) return F_TextLocT{};
    return v.tr.beg;
}

F_ElementRangeT F_ApiGetElementRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    PropValue v;
    if (!GetTyped(docId, objId, prop, AcceptElementRange, v)) return F_ElementRangeT{};
    return v.er;
}

void F_ApiSetElementRange(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, const F_ElementRangeT *value) {
    if (!value) {
        Fail(FE_BadParameter);
        return;
    }
    // The element selection, which edits set before nearly every step, is set in place.
    if (prop == FP_ElementSelection && KindOf(objId) == FO_Doc)
        if (Document *d = Doc(objId); d && (docId == 0 || docId == objId)) {
            IntT before = FA_errno;
            if (!SetElementSelection(*d, *value) && FA_errno == before) Fail(FE_BadParameter);
            return;
        }
    PropValue v;
    v.er = *value;
    SetTyped(docId, objId, prop, AcceptElementRange, v);
}

IntT F_ApiGetObjectType(F_ObjHandleT docId, F_ObjHandleT objId) {
    if (!objId || !ObjectValid(docId, objId)) {
        Fail(FE_BadObjId);
        return 0;
    }
    return KindOf(objId);
}

F_ObjHandleT F_ApiGetNamedObject(F_ObjHandleT docId, IntT objType, ConStringT name) {
    if (objType == FO_ElementDef) {  // asked element after element by retags and inserts
        F_ObjHandleT found = FindElementDef(docId, name ? std::string_view(name) : std::string_view());
        if (!found) Fail(FE_NotFound);
        return found;
    }
    std::string n = name ? name : "";
    auto &get = Reg().getNamed[static_cast<size_t>(objType) & 0xFF];
    if (get) {
        F_ObjHandleT found = get(docId, n);
        if (!found) Fail(FE_NotFound);
        return found;
    }
    Fail(FE_BadParameter);
    return 0;
}

F_ObjHandleT F_ApiNewNamedObject(F_ObjHandleT docId, IntT objType, ConStringT name) {
    std::string n = name ? name : "";
    auto &create = Reg().newNamed[static_cast<size_t>(objType) & 0xFF];
    if (create) {
        FA_errno = FE_Success;  // a refusal of the kind's own (no ids left) stands
        F_ObjHandleT made = create(docId, n);
        if (!made && FA_errno == FE_Success) Fail(FE_BadParameter);
        return made;
    }
    Fail(FE_BadParameter);
    return 0;
}

F_PropValsT F_ApiGetProps(F_ObjHandleT docId, F_ObjHandleT objId) {
    std::vector<F_PropValT> vals;
    if (ObjectValid(docId, objId)) {
        int kind = KindOf(objId);
        for (int n : PropertyNumbers(kind)) {
            const Property *p = FindProperty(kind, n);
            PropValue v;
            if (!p || !p->Read(docId, objId, v)) continue;
            F_PropValT pv{};
            pv.propIdent = n;
            switch (p->type) {
            case PropType::Int: pv.propVal.valType = FT_Integer; pv.propVal.ival = v.i; break;
            case PropType::Id: pv.propVal.valType = FT_Id; pv.propVal.ival = v.i; break;
            case PropType::Metric: pv.propVal.valType = FT_Metric; pv.propVal.ival = v.i; break;
            case PropType::String: pv.propVal.valType = FT_String; pv.propVal.sval = NewString(v.s); break;
            case PropType::Strings: pv.propVal.valType = FT_Strings; pv.propVal.ssval = NewStrings(v.ss); break;
            case PropType::Ints: pv.propVal.valType = FT_Ints; pv.propVal.isval = NewInts(v.is); break;
            case PropType::Metrics: pv.propVal.valType = FT_Metrics; pv.propVal.msval = NewMetrics(v.is); break;
            case PropType::TextLoc: pv.propVal.valType = FT_TextLoc; pv.propVal.trval = v.tr; break;
            case PropType::TextRange: pv.propVal.valType = FT_TextRange; pv.propVal.trval = v.tr; break;
            case PropType::ElementRange: pv.propVal.valType = FT_ElementRange; pv.propVal.erval = v.er; break;
            }
            vals.push_back(pv);
        }
    } else {
        Fail(FE_BadObjId);
    }
    F_PropValsT out;
    out.len = static_cast<UIntT>(vals.size());
    out.val = static_cast<F_PropValT *>(F_Alloc(out.len * sizeof(F_PropValT), NO_DSE));
    std::copy(vals.begin(), vals.end(), out.val);
    return out;
}

void F_ApiSetProps(F_ObjHandleT docId, F_ObjHandleT objId, const F_PropValsT *props) {
    if (!props || !props->val) return;
    if (!ObjectValid(docId, objId)) {
        Fail(FE_BadObjId);
        return;
    }
    for (UIntT i = 0; i < props->len; ++i) {
        const F_PropValT &pv = props->val[i];
        const Property *p = FindProperty(KindOf(objId), pv.propIdent);
        if (!p || !p->Writable()) continue;  // read-only values in a property list are skipped
        PropValue v;
        const F_TypedValT &t = pv.propVal;
        v.i = t.ival;
        v.s = t.sval ? t.sval : "";
        v.ss = ReadStrings(&t.ssval);
        v.is = t.valType == FT_Metrics ? ReadMetrics(&t.msval) : ReadInts(&t.isval);
        v.tr = t.trval;
        v.er = t.erval;
        SetProperty(docId, objId, pv.propIdent, v);
    }
}

IntT F_ApiGetPropIndex(const F_PropValsT *props, IntT propNum) {
    if (props && props->val)
        for (UIntT i = 0; i < props->len; ++i)
            if (props->val[i].propIdent == propNum) return static_cast<IntT>(i);
    return -1;
}

IntT F_ApiClose(F_ObjHandleT objId, IntT flags) {
    auto &close = Reg().closers[static_cast<size_t>(KindOf(objId))];
    if (!objId || !close) {
        Fail(FE_BadObjId);
        return FE_BadObjId;
    }
    return close(objId, flags) ? 0 : (FA_errno ? FA_errno : FE_BadObjId);
}

void F_ApiDelete(F_ObjHandleT docId, F_ObjHandleT objId) {
    auto &del = Reg().deleters[static_cast<size_t>(KindOf(objId))];
    if (!objId || !del || !ObjectValid(docId, objId)) {
        Fail(FE_BadObjId);
        return;
    }
    del(docId, objId);
}

}  // extern "C"
