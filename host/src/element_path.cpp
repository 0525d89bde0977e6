// Element paths from and to elements (see element_path.h), through the host's own API calls.
#include "element_path.h"

#include <charconv>
#include <vector>

namespace host {
namespace {

// The bound of every walk here: more steps than any document has elements.
constexpr int kStepLimit = 10000000;

std::string tagOf(F_ObjHandleT doc, F_ObjHandleT e) {
    F_ObjHandleT def = F_ApiGetId(doc, e, FP_ElementDef);
    if (!def) return "text()";
    StringT s = F_ApiGetString(doc, def, FP_Name);
    std::string t = s ? s : "";
    F_ApiDeallocateString(&s);
    return t;
}

// "tag[n]" split into tag and n (1 without brackets); false for a malformed step.
bool splitStep(const std::string &step, std::string *tag, long *n) {
    size_t open = step.find('[');
    if (open == std::string::npos) {
        *tag = step;
        *n = 1;
        return !step.empty();
    }
    if (step.back() != ']' || open == 0 || open + 2 >= step.size()) return false;
    std::string digits = step.substr(open + 1, step.size() - open - 2);
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    *tag = step.substr(0, open);
    *n = std::stol(digits);
    return *n >= 1;
}

}  // namespace

std::string ElementPath(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!elem || F_OBJ_KIND(elem) != FO_Element) return "";
    std::vector<std::string> steps;
    int budget = kStepLimit;
    for (F_ObjHandleT e = elem; e && --budget > 0; e = F_ApiGetId(doc, e, FP_ParentElement)) {
        std::string tag = tagOf(doc, e);
        long pos = 1;
        for (F_ObjHandleT s = F_ApiGetId(doc, e, FP_PrevSiblingElement); s && --budget > 0;
             s = F_ApiGetId(doc, s, FP_PrevSiblingElement))
            if (tagOf(doc, s) == tag) ++pos;
        steps.push_back(tag + "[" + std::to_string(pos) + "]");
    }
    std::string out;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) out += "/" + *it;
    return out;
}

const std::string &ElementPaths::Tag(F_ObjHandleT elem) {
    F_ObjHandleT def = F_ApiGetId(doc_, elem, FP_ElementDef);
    if (lastTag_ && def == lastDef_) return *lastTag_;
    auto it = tagOfDef_.find(def);
    if (it == tagOfDef_.end()) it = tagOfDef_.emplace(def, tagOf(doc_, elem)).first;
    lastDef_ = def;
    lastTag_ = &it->second;  // elements of an unordered_map stay where they are
    return it->second;
}

ElementPaths::Siblings &ElementPaths::SiblingsOf(F_ObjHandleT parent) {
    if (parent != lastParent_ || !lastSiblings_) {
        lastSiblings_ = &parents_[parent];  // elements of an unordered_map stay where they are
        lastParent_ = parent;
    }
    return *lastSiblings_;
}

long ElementPaths::RootPosition(F_ObjHandleT elem) {
    long pos = 1;
    int budget = kStepLimit;
    for (F_ObjHandleT s = F_ApiGetId(doc_, elem, FP_PrevSiblingElement); s && --budget > 0;
         s = F_ApiGetId(doc_, s, FP_PrevSiblingElement))
        if (Tag(s) == Tag(elem)) ++pos;
    return pos;
}

// The position of elem among its parent's children of its tag; *tag (when given) is set to its
// tag where the walk read it, else left as it is.
long ElementPaths::Position(Siblings &sib, F_ObjHandleT parent, F_ObjHandleT elem, const std::string **tag) {
    if (sib.index) {
        auto it = sib.index->find(elem);
        return it == sib.index->end() ? 1 : it->second;
    }
    if (elem == sib.cursor) return sib.cursorPos;
    // Onwards from the last child reached.
    auto count = [&sib](const std::string *tag) -> long {
        for (auto &c : sib.counts)
            if (c.first == tag) return ++c.second;
        sib.counts.emplace_back(tag, 1);
        return 1;
    };
    int budget = kStepLimit;
    F_ObjHandleT c = sib.cursor ? F_ApiGetId(doc_, sib.cursor, FP_NextSiblingElement)
                                : F_ApiGetId(doc_, parent, FP_FirstChildElement);
    for (; c && --budget > 0; c = F_ApiGetId(doc_, c, FP_NextSiblingElement)) {
        const std::string *tagOfC = &Tag(c);
        long pos = count(tagOfC);
        if (c == elem) {
            sib.cursor = c;
            sib.cursorPos = pos;
            if (tag) *tag = tagOfC;
            return pos;
        }
    }
    // Out of order: number every child once.
    std::vector<std::pair<const std::string *, long>> counts;
    sib.index = std::make_unique<std::unordered_map<F_ObjHandleT, long>>();
    budget = kStepLimit;
    for (c = F_ApiGetId(doc_, parent, FP_FirstChildElement); c && --budget > 0; c = F_ApiGetId(doc_, c, FP_NextSiblingElement)) {
        const std::string *tag = &Tag(c);
        long pos = 0;
        for (auto &k : counts)
            if (k.first == tag) pos = ++k.second;
        if (!pos) counts.emplace_back(tag, pos = 1);
        (*sib.index)[c] = pos;
    }
    auto it = sib.index->find(elem);
    return it == sib.index->end() ? 1 : it->second;
}

const std::string &ElementPaths::AncestorPath(F_ObjHandleT elem) {
    // Climbs to the nearest ancestor whose path is known, then makes the paths on the way down.
    std::vector<F_ObjHandleT> chain;
    F_ObjHandleT e = elem;
    int budget = kStepLimit;
    const std::string *above = nullptr;
    static const std::string kNone;
    while (e && --budget > 0) {
        Siblings &sib = parents_[e];
        if (!sib.path.empty()) {
            above = &sib.path;
            break;
        }
        chain.push_back(e);
        e = F_ApiGetId(doc_, e, FP_ParentElement);
    }
    if (!above) above = &kNone;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        F_ObjHandleT parent = F_ApiGetId(doc_, *it, FP_ParentElement);
        long pos = parent ? Position(SiblingsOf(parent), parent, *it) : RootPosition(*it);
        std::string p = *above + "/" + Tag(*it) + "[" + std::to_string(pos) + "]";
        above = &(parents_[*it].path = std::move(p));
    }
    return *above;
}

std::string ElementPaths::Path(F_ObjHandleT elem) {
    std::string out;
    AppendPath(elem, out);
    return out;
}

void ElementPaths::AppendPath(F_ObjHandleT elem, std::string &out) {
    if (!elem || F_OBJ_KIND(elem) != FO_Element) return;
    F_ObjHandleT parent = F_ApiGetId(doc_, elem, FP_ParentElement);
    long pos;
    const std::string *tag = nullptr;
    if (parent) {
        Siblings &sib = SiblingsOf(parent);
        out += sib.path.empty() ? AncestorPath(parent) : sib.path;
        pos = Position(SiblingsOf(parent), parent, elem, &tag);
    } else {
        pos = RootPosition(elem);
    }
    out += '/';
    out += tag ? *tag : Tag(elem);
    char digits[24];
    char *end = std::to_chars(digits, digits + sizeof digits, pos).ptr;
    out += '[';
    out.append(digits, end);
    out += ']';
}

F_ObjHandleT ElementAtPath(F_ObjHandleT doc, const std::string &path, F_ObjHandleT flow) {
    if (path.empty() || path[0] != '/') return 0;
    if (!flow) flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    F_ObjHandleT root = flow ? F_ApiGetId(doc, flow, FP_HighestLevelElement) : 0;
    F_ObjHandleT cur = 0;
    int budget = kStepLimit;
    size_t pos = 1;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string tag;
        long n = 0;
        if (!splitStep(path.substr(pos, end - pos), &tag, &n)) return 0;
        F_ObjHandleT found = 0;
        F_ObjHandleT c = cur ? F_ApiGetId(doc, cur, FP_FirstChildElement) : root;
        for (; c && --budget > 0; c = cur ? F_ApiGetId(doc, c, FP_NextSiblingElement) : 0)
            if (tagOf(doc, c) == tag && --n == 0) {
                found = c;
                break;
            }
        if (!found) return 0;
        cur = found;
        pos = end + 1;
    }
    return cur;
}

}  // namespace host
