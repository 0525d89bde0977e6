// The engine's reads of the host's structure (see host_reads.h).
#include "xpath/host_reads.h"

#include <strings.h>

#include <array>
#include <unordered_map>

#include "lib/host/element_text.h"
#include "xpath/xpath_text.h"
#include "lib/run_state.h"

namespace {

constexpr int kClimbLimit = 100000;  // no tree is deeper than this
constexpr int kOpenLimit = 10000;    // no session holds more open documents or books

std::unordered_map<F_ObjHandleT, std::string> defNames;  // definition -> tag, per run
const std::string kNoTag;

std::string takeString(StringT s) {
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

}  // namespace

void om_XPathTagCacheClear() {
    defNames.clear();
}

const std::string &om_XPathDefinitionTag(F_ObjHandleT doc, F_ObjHandleT def) {
    if (!def) return kNoTag;
    auto it = defNames.find(def);
    if (it == defNames.end()) it = defNames.emplace(def, takeString(F_ApiGetString(doc, def, FP_Name))).first;
    return it->second;
}

namespace {

// A search of an element's attribute list read in place: the next name after an index, or the
// values at an index.
struct AttrSearch {
    IntT after = -1;
    const std::string *test = nullptr;
    bool any = false;
    IntT found = -1;
    std::vector<std::string> *values = nullptr;
    std::string name;
};

IntT findName(const F_AttributeReadT *a, PtrT arg) {
    AttrSearch &s = *static_cast<AttrSearch *>(arg);
    if (IntT(a->index) <= s.after || !(s.any || (a->name && *s.test == a->name))) return 0;
    s.found = IntT(a->index);
    return 1;
}

IntT takeValues(const F_AttributeReadT *a, PtrT arg) {
    AttrSearch &s = *static_cast<AttrSearch *>(arg);
    if (IntT(a->index) != s.after) return 0;
    s.found = s.after;
    s.values->resize(a->values ? a->valueCount : 0);
    for (size_t k = 0; k < s.values->size(); ++k) (*s.values)[k].assign(a->values[k] ? a->values[k] : "");
    if (s.values->empty() && a->name) s.name = a->name;
    return 1;
}

}  // namespace

IntT om_XPathNextAttr(F_ObjHandleT doc, F_ObjHandleT elem, IntT after, const std::string &test) {
    if (!elem) return -1;
    AttrSearch s;
    s.after = after;
    s.test = &test;
    s.any = test == "node()" || test == "*";
    return F_ApiReadAttributes(doc, elem, findName, &s) > 0 ? s.found : -1;
}

void om_XPathAttrValues(F_ObjHandleT doc, F_ObjHandleT elem, IntT index, int defaults, std::vector<std::string> &out) {
    out.clear();
    if (index < 0 || !elem) return;
    AttrSearch s;
    s.after = index;
    s.values = &out;
    if (F_ApiReadAttributes(doc, elem, takeValues, &s) <= 0) return;
    if (!out.empty() || !defaults || s.name.empty()) return;
    const std::string &name = s.name;
    F_ObjHandleT def = F_ApiGetId(doc, elem, FP_ElementDef);
    if (!def) return;
    F_AttributeDefsT defs = F_ApiGetAttributeDefs(doc, def);
    for (UIntT i = 0; i < defs.len; ++i) {
        if (!defs.val[i].name || name != defs.val[i].name) continue;
        for (UIntT j = 0; j < defs.val[i].defValues.len; ++j)
            out.emplace_back(defs.val[i].defValues.val[j] ? defs.val[i].defValues.val[j] : "");
        break;
    }
    F_ApiDeallocateAttributeDefs(&defs);
}

std::string om_XPathElementText(F_ObjHandleT doc, F_ObjHandleT elem, int firstParagraph, IntT maxChars) {
    if (!doc || !elem) return "";
    return om_ElementText(doc, elem, firstParagraph ? 1 : 0, maxChars, 0, 0);
}

F_ObjHandleT om_XPathTopAncestor(F_ObjHandleT doc, F_ObjHandleT e) {
    for (int i = 0; e && i < kClimbLimit; ++i) {
        F_ObjHandleT p = om_XPathParent(doc, e);
        if (!p) return e;
        e = p;
    }
    return e;
}

bool om_XPathIsBook(F_ObjHandleT id) { return F_OBJ_KIND(id) == FO_Book; }

std::string om_XPathObjectPath(F_ObjHandleT id) { return takeString(F_ApiGetString(0, id, FP_Path)); }

// The first open book with a component whose path is the document's path.
F_ObjHandleT om_XPathBookOfDoc(F_ObjHandleT doc) {
    std::string path = om_XPathObjectPath(doc);
    if (path.empty()) return 0;
    int steps = 0;
    for (F_ObjHandleT b = F_ApiGetId(0, 0, FP_FirstOpenBook); b && steps < 10000;
         b = F_ApiGetId(0, b, FP_NextOpenBookInSession)) {
        for (F_ObjHandleT c = F_ApiGetId(0, b, FP_FirstComponentInBook); c && ++steps < 10000;
             c = F_ApiGetId(b, c, FP_NextComponentInBookOrder)) {
            if (strcasecmp(takeString(F_ApiGetString(b, c, FP_Path)).c_str(), path.c_str()) == 0) return b;
        }
    }
    return 0;
}

// The book element of the component of book that refers to doc; 0 when none.
F_ObjHandleT om_XPathComponentElementOfDoc(F_ObjHandleT book, F_ObjHandleT doc) {
    std::string path = om_XPathObjectPath(doc);
    int steps = 0;
    for (F_ObjHandleT c = F_ApiGetId(0, book, FP_FirstComponentInBook); c && ++steps < 10000; c = F_ApiGetId(book, c, FP_NextComponentInBookOrder))
        if (strcasecmp(takeString(F_ApiGetString(book, c, FP_Path)).c_str(), path.c_str()) == 0)
            return F_ApiGetId(book, c, FP_ComponentElement);
    return 0;
}

F_ObjHandleT om_XPathOpenDocOfPath(const std::string &path) {
    int steps = 0;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d && ++steps < kOpenLimit;
         d = F_ApiGetId(0, d, FP_NextOpenDocInSession))
        if (strcasecmp(om_XPathObjectPath(d).c_str(), path.c_str()) == 0) return d;
    return 0;
}

F_ObjHandleT om_XPathFindOpenDoc(const std::string &text) {
    if (text.empty()) return 0;
    std::vector<F_ObjHandleT> open;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d && open.size() < kOpenLimit;
         d = F_ApiGetId(0, d, FP_NextOpenDocInSession))
        open.push_back(d);
    for (F_ObjHandleT b = F_ApiGetId(0, 0, FP_FirstOpenBook); b && open.size() < 2 * kOpenLimit;
         b = F_ApiGetId(0, b, FP_NextOpenBookInSession))
        open.push_back(b);
    if (om_XPathIsInteger(text)) {
        F_ObjHandleT id = F_ObjHandleT(om_XPathIntegerValue(text));
        for (F_ObjHandleT d : open)
            if (d == id) return d;
    }
    std::string want = om_XPathLower(text);
    for (F_ObjHandleT d : open) {
        std::string path = om_XPathLower(om_XPathObjectPath(d));
        size_t slash = path.find_last_of("\\/");
        std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
        if (path == want || file == want) return d;
    }
    for (F_ObjHandleT d : open)
        if (om_XPathLower(om_XPathObjectPath(d)).find(want) != std::string::npos) return d;
    return 0;
}

F_ObjHandleT om_XPathMainFlowRoot(F_ObjHandleT doc) {
    F_ObjHandleT first = F_ApiGetId(0, doc, FP_FirstFlowInDoc);
    for (F_ObjHandleT f = first; f; f = F_ApiGetId(doc, f, FP_NextFlowInDoc))
        if (takeString(F_ApiGetString(doc, f, FP_Name)) == "Main") return F_ApiGetId(doc, f, FP_HighestLevelElement);
    return first ? F_ApiGetId(doc, first, FP_HighestLevelElement) : 0;
}

namespace {
// The definition tags; kept between calls of one query run, which clears them at its start.
[[maybe_unused]] const bool resetXPathHostCaches = om_RunStateRegister("XPath host caches", RunStateKind::Run, [] {
    om_XPathTagCacheClear();
});
}  // namespace
