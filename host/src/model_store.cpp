// The object store: id counters, the pools of documents, definitions, elements, flows and named
// objects (each indexed by its id's counter), the session, and the construction API.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <utility>

#include "model.h"
#include "model_internal.h"

namespace host {

namespace {

// The released ids of one kind waiting to be made again, as runs of counters in the order they
// were released (its fresh ones are in gFreshIds).
struct KindIds {
    std::deque<std::pair<uint32_t, uint32_t>> released;  // [first, end) runs, oldest first
    size_t releasedCount = 0;
};

std::array<KindIds, 256> &Kinds() {
    static std::array<KindIds, 256> kinds;
    return kinds;
}

KindIds &KindOfIds(int kind) { return Kinds()[static_cast<size_t>(kind) & 0xFF]; }

// Names are looked up as they come (a string_view), without making a string of them first.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
struct AtomTable {
    std::vector<std::string> names{""};
    std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>> index{{"", 0}};
};
AtomTable &Atoms() {
    static AtomTable t;
    return t;
}

}  // namespace

constinit FreshIds gFreshIds[256];

namespace {
FreshIds &FreshOf(int kind) { return gFreshIds[static_cast<size_t>(kind) & 0xFF]; }
}  // namespace

// Kept apart from NewObjectId, whose common path stays small.
[[gnu::noinline]] F_ObjHandleT ReusedObjectId(int kind) {
    KindIds &k = KindOfIds(kind);
    if (k.released.empty()) {
        Fail(FE_NoMoreIds);
        return 0;
    }
    auto &run = k.released.front();
    uint32_t c = run.first++;
    if (run.first == run.second) k.released.pop_front();
    --k.releasedCount;
    return MakeId(kind, c);
}

bool HasIdsLeft(int kind, size_t count) {
    const FreshIds &f = FreshOf(kind);
    uint64_t fresh = f.next <= f.last ? uint64_t(f.last) - f.next + 1 : 0;
    return fresh + KindOfIds(kind).releasedCount >= count || Fail(FE_NoMoreIds);
}

void ReleaseObjectId(F_ObjHandleT id) {
    uint32_t c = CounterOf(id);
    if (!id || c < kFirstCounter) return;
    KindIds &k = KindOfIds(KindOf(id));
    if (!k.released.empty() && k.released.back().second == c)
        ++k.released.back().second;
    else
        k.released.emplace_back(c, c + 1);
    ++k.releasedCount;
}

uint32_t SetNextObjectCounter(int kind, uint32_t counter) { return std::exchange(FreshOf(kind).next, counter); }

uint32_t SetLastObjectCounter(int kind, uint32_t last) {
    KindIds &k = KindOfIds(kind);
    k.released.clear();
    k.releasedCount = 0;
    return std::exchange(FreshOf(kind).last, std::min(last, kLastCounter));
}

uint32_t NextCounter(int kind) { return FreshOf(kind).next; }


void KeepUniqueIdsPast(IntT unique) {
    IntT &next = TheSession().nextUnique;
    if (unique >= next && unique < std::numeric_limits<IntT>::max()) next = unique + 1;
}

bool Fail(IntT code) {
    FA_errno = code;
    return false;
}

uint32_t Atom(std::string_view name) {
    AtomTable &t = Atoms();
    auto it = t.index.find(name);
    if (it != t.index.end()) return it->second;
    auto a = static_cast<uint32_t>(t.names.size());
    t.names.emplace_back(name);
    t.index.emplace(std::string(name), a);
    return a;
}

const std::string &AtomName(uint32_t atom) {
    AtomTable &t = Atoms();
    return atom < t.names.size() ? t.names[atom] : t.names[0];
}

int ElementDef::AttrIndex(uint32_t atom) const {
    for (size_t i = 0; i < attrs.size(); ++i)
        if (attrs[i].atom == atom) return static_cast<int>(i);
    return -1;
}

// ---- pools ----------------------------------------------------------------------------------

Store *theStore = nullptr;  // constant-initialised: set by the first use, whenever that comes

Store &MakeStore() {
    static Store s;
    theStore = &s;
    return s;
}

Flow *FlowOf(F_ObjHandleT flow) {
    if (KindOf(flow) != FO_Flow) return nullptr;
    Flow *f = TheStore().flows.Get(flow);
    return f && f->doc ? f : nullptr;
}

NamedObject *Named(F_ObjHandleT obj) {
    auto it = TheStore().named.find(KindOf(obj));
    if (it == TheStore().named.end()) return nullptr;
    NamedObject *n = it->second.Get(obj);
    return n && n->doc ? n : nullptr;
}

Session &TheSession() { return TheStore().session; }

// Gives a dead element's room and id back, once what other files keep for it is forgotten.
static void ReleaseElement(F_ObjHandleT id) {
    ForgetElementObject(id);
    ForgetTableObject(id);
    ForgetTextRuns(id);
    TheStore().elements.Release(id);
}

Document::Document() = default;
Document::Document(Document &&) noexcept = default;
Document &Document::operator=(Document &&) noexcept = default;
Document::~Document() = default;

void ResetSession() {
    Store &s = TheStore();
    // Close in reverse so nothing refers to a closed document meanwhile.
    std::vector<F_ObjHandleT> open = s.session.openDocs;
    for (auto it = open.rbegin(); it != open.rend(); ++it) CloseDocument(*it);
    s.docs.Reset(FO_Doc);
    s.defs.Reset(FO_ElementDef);
    s.elements.Reset(FO_Element);
    s.flows.Reset(FO_Flow);
    for (auto &[kind, pool] : s.named) pool.Reset(kind);
    s.stored.clear();
    s.session = Session{};
    ResetDerived();
}

// ---- documents ------------------------------------------------------------------------------

static std::string FileNameOf(const std::string &path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

F_ObjHandleT NewDocument(const std::string &path, const std::string &label, bool visible) {
    auto [id, d] = TheStore().docs.New(FO_Doc);
    if (!d) return 0;
    d->id = id;
    d->open = true;
    d->path = path;
    d->label = label.empty() ? FileNameOf(path) : label;
    d->visible = visible ? 1 : 0;
    TheSession().openDocs.push_back(id);
    d->mainFlow = AddFlow(id, "Main");
    if (!d->mainFlow || !AddNamed(id, FO_PgfFmt, "Body")) {  // no ids left for its parts
        IntT error = FA_errno;
        CloseDocument(id);
        FA_errno = error;
        return 0;
    }
    d->modified = 0;
    return id;
}

bool CloseDocument(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    if (!d) return Fail(FE_BadDocId);
    for (F_ObjHandleT f : d->flows) {
        Flow *fl = FlowOf(f);
        if (!fl) continue;
        if (fl->root) {
            Element *r = Elem(fl->root);
            if (r) r->flow = 0;
            DestroySubtree(fl->root, true);
        }
        fl->doc = 0;
    }
    for (F_ObjHandleT e : d->deadElements) ReleaseElement(e);
    d->deadElements = {};
    for (F_ObjHandleT def : d->defs)
        if (ElementDef *x = Def(def)) x->doc = 0;
    for (auto &[kind, list] : d->named)
        for (F_ObjHandleT n : list)
            if (NamedObject *o = Named(n)) o->doc = 0;
    ForgetDerived(*d);
    d->open = false;
    d->flows.clear();
    d->defs.clear();
    d->defByName.clear();
    d->named.clear();
    d->layout.reset();
    d->texts.Clear();  // no element of the document is left to read them
    Session &s = TheSession();
    std::erase(s.openDocs, doc);
    if (s.activeDoc == doc) s.activeDoc = 0;
    return true;
}

F_ObjHandleT MainFlow(F_ObjHandleT doc) {
    Document *d = Doc(doc);
    return d ? d->mainFlow : 0;
}

F_ObjHandleT AddFlow(F_ObjHandleT doc, const std::string &name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    auto [id, f] = TheStore().flows.New(FO_Flow);
    if (!f) return 0;
    f->id = id;
    f->doc = doc;
    f->name = name;
    d->flows.push_back(id);
    MarkChanged(doc, false);
    return id;
}

F_ObjHandleT FindFlow(F_ObjHandleT doc, const std::string &name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    for (F_ObjHandleT f : d->flows)
        if (Flow *fl = FlowOf(f); fl && fl->name == name) return f;
    return 0;
}

F_ObjHandleT AddElementDef(F_ObjHandleT doc, const std::string &name, IntT type, const std::string &pgfFormat) {
    Document *d = Doc(doc);
    if (!d || name.empty()) return 0;
    if (auto it = d->defByName.find(name); it != d->defByName.end()) return it->second;
    auto [id, def] = TheStore().defs.New(FO_ElementDef);
    if (!def) return 0;
    def->id = id;
    def->doc = doc;
    def->name = name;
    def->type = type;
    def->pgfFormat = pgfFormat;
    if (!d->defs.empty())
        if (ElementDef *prev = Def(d->defs.back())) prev->next = id;
    d->defs.push_back(id);
    d->defByName.emplace(name, id);
    if (!pgfFormat.empty()) AddNamed(doc, FO_PgfFmt, pgfFormat);
    return id;
}

void AddAttributeDef(F_ObjHandleT def, AttrDef attr) {
    ElementDef *d = Def(def);
    if (!d || attr.name.empty()) return;
    attr.atom = Atom(attr.name);
    int at = d->AttrIndex(attr.atom);
    if (at >= 0)
        d->attrs[static_cast<size_t>(at)] = std::move(attr);
    else
        d->attrs.push_back(std::move(attr));
}

F_ObjHandleT FindElementDef(F_ObjHandleT doc, std::string_view name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    // Bulk edits ask for one definition element after element: the last one found answers first.
    ElementDef *last = Def(d->lastDefFound);
    if (last && last->doc == doc && last->name == name) return d->lastDefFound;
    auto it = d->defByName.find(std::string(name));
    if (it == d->defByName.end()) return 0;
    d->lastDefFound = it->second;
    return it->second;
}

F_ObjHandleT AddNamed(F_ObjHandleT doc, int kind, const std::string &name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    if (F_ObjHandleT found = FindNamed(doc, kind, name)) return found;
    auto [id, n] = TheStore().named[kind].New(kind);
    if (!n) return 0;
    n->id = id;
    n->doc = doc;
    n->name = name;
    d->named[kind].push_back(id);
    return id;
}

F_ObjHandleT FindNamed(F_ObjHandleT doc, int kind, const std::string &name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    auto it = d->named.find(kind);
    if (it == d->named.end()) return 0;
    for (F_ObjHandleT n : it->second)
        if (NamedObject *o = Named(n); o && o->name == name) return n;
    return 0;
}

// ---- elements -------------------------------------------------------------------------------

F_ObjHandleT NewElement(F_ObjHandleT doc, F_ObjHandleT def) {
    Document *d = Doc(doc);
    if (!d) return 0;
    if (def && (!Def(def) || Def(def)->doc != doc)) return 0;
    auto [id, e] = TheStore().elements.New(FO_Element);
    if (!e) return 0;
    e->doc = doc;
    e->def = def;
    e->unique = NewUniqueId();
    return id;
}

void LinkChild(F_ObjHandleT parent, F_ObjHandleT id, F_ObjHandleT before) {
    Element *p = Elem(parent);
    Element *e = Elem(id);
    if (!p || !e) return;
    e->parent = parent;
    Element *b = before ? Elem(before) : nullptr;
    if (!b || b->parent != parent) {
        e->prev = p->last;
        e->next = 0;
        if (p->last) Elem(p->last)->next = id;
        else p->first = id;
        p->last = id;
        return;
    }
    e->next = before;
    e->prev = b->prev;
    if (b->prev) Elem(b->prev)->next = id;
    else p->first = id;
    b->prev = id;
}

void Unlink(F_ObjHandleT id) {
    Element *e = Elem(id);
    if (!e) return;
    if (e->parent) {
        Element *p = Elem(e->parent);
        if (e->prev) Elem(e->prev)->next = e->next;
        else if (p) p->first = e->next;
        if (e->next) Elem(e->next)->prev = e->prev;
        else if (p) p->last = e->prev;
    } else if (e->flow) {
        if (Flow *f = FlowOf(e->flow); f && f->root == id) f->root = 0;
        e->flow = 0;
    }
    e->parent = e->prev = e->next = 0;
}

F_ObjHandleT AppendElement(F_ObjHandleT doc, F_ObjHandleT parent, F_ObjHandleT def, F_ObjHandleT flow) {
    if (parent) {
        Element *p = ElemIn(doc, parent);
        if (!p || !p->def || p->misc) return 0;  // text nodes, comments and instructions hold no children
    } else {
        Flow *f = FlowOf(flow);
        if (!f || f->doc != doc || f->root || !def) return 0;  // a highest-level element is tagged
    }
    F_ObjHandleT id = NewElement(doc, def);
    if (!id) return 0;
    if (parent) {
        LinkChild(parent, id, 0);
    } else {
        FlowOf(flow)->root = id;
        Elem(id)->flow = flow;
    }
    MarkChanged(doc, false);
    return id;
}

F_ObjHandleT NewMisc(F_ObjHandleT doc, bool comment, std::string_view text) {
    if (!Doc(doc)) return 0;
    auto [id, e] = TheStore().elements.New(FO_Element);
    if (!e) return 0;
    e->doc = doc;
    e->def = kMiscDef;
    e->misc = comment ? kMiscComment : kMiscPi;
    e->text = text;
    return id;
}

F_ObjHandleT AppendMisc(F_ObjHandleT doc, F_ObjHandleT parent, bool comment, std::string_view text) {
    Element *p = ElemIn(doc, parent);
    if (!p || !p->def || p->misc) return 0;
    F_ObjHandleT id = NewMisc(doc, comment, text);
    if (!id) return 0;
    LinkChild(parent, id, 0);
    MarkChanged(doc, false);
    return id;
}

F_ObjHandleT AppendText(F_ObjHandleT doc, F_ObjHandleT parent, std::string_view text) {
    Element *p = ElemIn(doc, parent);
    if (!p || !p->def || p->misc) return 0;
    F_ObjHandleT last = p->last;
    Element *l = last ? Elem(last) : nullptr;
    if (!l || l->def) {
        last = NewElement(doc, 0);
        if (!last) return 0;
        LinkChild(parent, last, 0);
        l = Elem(last);
    }
    l->text.append(text);
    MarkChanged(doc, false);
    return last;
}

bool SetAttribute(F_ObjHandleT doc, F_ObjHandleT elem, std::string_view name, std::vector<std::string> values) {
    Element *e = ElemIn(doc, elem);
    if (!e || !e->def || name.empty()) return false;
    uint32_t a = Atom(name);
    for (Attr &x : e->attrs)
        if (x.name == a) {
            x.values = std::move(values);
            return true;
        }
    e->attrs.push_back(Attr{a, std::move(values)});
    return true;
}

const AttrValues *GetAttribute(F_ObjHandleT elem, std::string_view name) {
    Element *e = Elem(elem);
    if (!e) return nullptr;
    uint32_t a = Atom(name);
    for (Attr &x : e->attrs)
        if (x.name == a) return &x.values;
    return nullptr;
}

void SetUniqueId(F_ObjHandleT elem, IntT unique) {
    Element *e = Elem(elem);
    if (!e) return;
    e->unique = unique;
    KeepUniqueIdsPast(unique);
}

void SetFormsParagraph(F_ObjHandleT elem, bool yes) {
    if (Element *e = Elem(elem)) {
        e->pgfMode = yes ? kPgfYes : kPgfNo;
        MarkChanged(e->doc, false);
    }
}

size_t ElementStoreSize() { return TheStore().elements.Size(); }

F_ObjHandleT TopOf(F_ObjHandleT id) {
    Element *e = Elem(id);
    // Bounded by the number of elements in the store.
    size_t limit = ElementStoreSize() + 1;
    while (e && e->parent && limit--) {
        id = e->parent;
        e = Elem(id);
    }
    return e ? id : 0;
}

F_ObjHandleT FlowOfElement(F_ObjHandleT id) {
    Element *top = Elem(TopOf(id));
    return top ? top->flow : 0;
}

const std::string &ParagraphFormatOf(const Element &e) { return ParagraphFormatOf(e, e.def ? Def(e.def) : nullptr); }

const std::string &ParagraphFormatOf(const Element &e, const ElementDef *d) {
    static const std::string none, body = "Body";
    if (!e.def || e.pgfMode == kPgfNo || !d) return none;
    if (!d->pgfFormat.empty()) return d->pgfFormat;
    return e.pgfMode == kPgfYes ? body : none;
}

// release: the elements' room is given back for later elements (a closed document's, which
// nothing refers to any more).
void DestroySubtree(F_ObjHandleT top, bool release) {
    F_ObjHandleT cur = top;
    while (Element *c = Elem(cur)) {
        if (c->first) {
            cur = c->first;
            continue;
        }
        F_ObjHandleT next = c->next, parent = c->parent, owner = c->doc;
        bool isTop = cur == top;
        *c = Element{};  // doc 0: stale from now on
        if (release)
            ReleaseElement(cur);
        else if (Document *d = Doc(owner))
            d->deadElements.push_back(cur);
        if (isTop) break;
        Element *p = Elem(parent);
        if (!p) break;
        p->first = next;
        if (!next) p->last = 0;
        cur = next ? next : parent;
    }
}

// ---- UTF-8 ----------------------------------------------------------------------------------

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// The continuation bytes (10xxxxxx) among the eight bytes of v.
inline size_t Continuations(uint64_t v) {
    const uint64_t c = (v & ~(v << 1) & kHighBits) >> 7;  // 1 in each such byte
    return static_cast<size_t>((c * 0x0101010101010101ull) >> 56);
}

}  // namespace

size_t Utf8Length(std::string_view s) {
    const char *p = s.data();
    const size_t size = s.size();
    uint64_t v = 0;
    if (size >= 8) {
        // Plain ASCII (most text): no byte above 0x7F, one character a byte. Sixteen bytes a step,
        // the last eight bytes read once more for the rest.
        uint64_t a = 0, b = 0, w = 0;
        size_t i = 0;
        for (; i + 16 <= size; i += 16) {
            std::memcpy(&v, p + i, 8);
            std::memcpy(&w, p + i + 8, 8);
            a |= v;
            b |= w;
        }
        if (i + 8 <= size) {
            std::memcpy(&v, p + i, 8);
            a |= v;
        }
        std::memcpy(&v, p + size - 8, 8);
        if (((a | b | v) & kHighBits) == 0) return size;
    }
    // Every byte but a continuation byte begins a character; eight bytes at a time.
    size_t cont = 0, i = 0;
    for (; i + 8 <= size; i += 8) {
        std::memcpy(&v, p + i, 8);
        cont += Continuations(v);
    }
    for (; i < size; ++i) cont += (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80;
    return size - cont;
}

size_t Utf8Offset(std::string_view s, size_t n) {
    size_t i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == 0) return i;
            --n;
        }
    }
    return s.size();
}

}  // namespace host
