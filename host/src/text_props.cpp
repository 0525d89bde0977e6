// Text properties of character runs (see text_props.h).
#include "text_props.h"

#include <unordered_map>

#include "edit_support.h"
#include "model_internal.h"
#include "records.h"

namespace host {

namespace {

std::unordered_map<F_ObjHandleT, std::vector<PropRun>> gRuns;
const std::vector<PropRun> kNoRuns;

// The runs of a node expanded to exactly its length.
std::vector<PropRun> RunsCovering(F_ObjHandleT node, IntT len) {
    std::vector<PropRun> runs;
    auto it = gRuns.find(node);
    if (it == gRuns.end() || it->second.empty()) {
        runs.push_back(PropRun{len, {}});
        return runs;
    }
    IntT left = len;
    for (const PropRun &r : it->second) {
        if (left <= 0) break;
        IntT take = std::min(r.len, left);
        runs.push_back(PropRun{take, r.props});
        left -= take;
    }
    if (left > 0) runs.push_back(PropRun{left, it->second.back().props});
    return runs;
}

// Applies `change` to characters lo..hi of a text node.
template <class Change>
void ApplyToNode(F_ObjHandleT node, IntT lo, IntT hi, Change change) {
    Element *t = Elem(node);
    if (!t || t->def || hi <= lo) return;
    std::vector<PropRun> out;
    IntT at = 0;
    for (PropRun &r : RunsCovering(node, TextLength(*t))) {
        IntT a = at, b = at + r.len;
        at = b;
        IntT s = std::max(a, lo), e = std::min(b, hi);
        if (s >= e) {
            out.push_back(r);
            continue;
        }
        if (s > a) out.push_back(PropRun{s - a, r.props});
        PropRun mid{e - s, r.props};
        change(mid.props);
        out.push_back(mid);
        if (b > e) out.push_back(PropRun{b - e, r.props});
    }
    SetTextRuns(node, std::move(out));
}

// Applies a change over a text range of a document.
template <class Change>
bool ApplyToRange(F_ObjHandleT doc, const F_TextRangeT &range, Change change) {
    Layout *l = LayoutOf(doc);
    if (!l) return Fail(FE_BadDocId);
    TextPos b, e;
    if (!ResolveTextLoc(*l, range.beg, false, b) || !ResolveTextLoc(*l, range.end, true, e)) return Fail(FE_BadParameter);
    for (uint32_t i = b.pgf; i <= e.pgf && i < l->pgfs.size(); ++i) {
        const PgfInfo &p = l->pgfs[i];
        IntT lo = i == b.pgf ? b.off : 0;
        IntT hi = i == e.pgf ? e.off : p.length;
        for (const TextSeg &s : p.segs) {
            IntT a = std::max(lo, s.start), z = std::min(hi, s.start + s.len);
            if (a < z) ApplyToNode(s.node, a - s.start, z - s.start, change);
        }
    }
    return true;
}

// The text node and offset of the character at a text location (the one before it at the end).
bool NodeAt(F_ObjHandleT doc, const F_TextLocT &loc, F_ObjHandleT &node, IntT &off, Layout **lp, TextPos &pos) {
    Layout *l = LayoutOf(doc);
    if (!l || !ResolveTextLoc(*l, loc, true, pos)) return false;
    *lp = l;
    node = 0;
    const PgfInfo &p = l->pgfs[pos.pgf];
    for (const TextSeg &s : p.segs) {
        if (pos.off >= s.start && pos.off < s.start + s.len) {
            node = s.node;
            off = pos.off - s.start;
            return true;
        }
        if (s.len > 0 && pos.off == s.start + s.len) {  // at the end: the character before
            node = s.node;
            off = s.len - 1;
        }
    }
    return true;
}

bool TextPropType(IntT prop, IntT &type) {
    switch (prop) {
    case FP_Color: type = FT_Id; return true;
    case FP_InCond: type = FT_Ints; return true;
    case FP_TextFlag:
    case FP_ChangeBar: type = FT_Integer; return true;
    case FP_CharTag: type = FT_String; return true;
    case FP_InTextFrame: type = FT_Id; return true;
    default: return false;
    }
}

// Adds a character format's tag to the tags in force: formats applied one after another combine
// (each sets only its own properties), and the tag reads them in the order applied.
std::string CombinedTags(const std::string &tags, const std::string &add) {
    if (add.empty() || tags.empty()) return add;
    std::string padded = " " + tags + " ";
    return padded.find(" " + add + " ") == std::string::npos ? tags + " " + add : tags;
}

// Applies one property value to a run's properties; `combine`: a character format applied
// (F_ApiSetTextProps) rather than a tag written.
bool SetOne(F_ObjHandleT doc, const F_TextRangeT &range, const F_PropValT &pv, bool combine = false) {
    const F_TypedValT &v = pv.propVal;
    switch (pv.propIdent) {
    case FP_Color: return ApplyToRange(doc, range, [&](TextProps &p) { p.color = static_cast<F_ObjHandleT>(v.ival); });
    case FP_TextFlag: return ApplyToRange(doc, range, [&](TextProps &p) { p.flag = v.ival; });
    case FP_ChangeBar: return ApplyToRange(doc, range, [&](TextProps &p) { p.changeBar = v.ival; });
    case FP_CharTag:
        return ApplyToRange(doc, range, [&](TextProps &p) {
            std::string tag = v.sval ? v.sval : "";
            p.charFormat = combine ? CombinedTags(p.charFormat, tag) : tag;
        });
    case FP_InCond: {
        std::vector<IntT> tags = ReadInts(&v.isval);
        for (IntT t : tags) {
            NamedObject *n = Named(static_cast<F_ObjHandleT>(t));
            if (!n || n->doc != doc || KindOf(static_cast<F_ObjHandleT>(t)) != FO_CondFmt) return Fail(FE_BadParameter);
        }
        return ApplyToRange(doc, range, [&](TextProps &p) { p.conditions = tags; });
    }
    default: return Fail(FE_BadPropNum);
    }
}

}  // namespace

const std::vector<PropRun> &TextRuns(F_ObjHandleT textNode) {
    auto it = gRuns.find(textNode);
    return it == gRuns.end() ? kNoRuns : it->second;
}

void SetTextRuns(F_ObjHandleT textNode, std::vector<PropRun> runs) {
    std::vector<PropRun> merged;
    for (PropRun &r : runs) {
        if (r.len <= 0) continue;
        if (!merged.empty() && merged.back().props == r.props)
            merged.back().len += r.len;
        else
            merged.push_back(std::move(r));
    }
    if (merged.size() == 1 && merged[0].props == TextProps{})
        gRuns.erase(textNode);
    else
        gRuns[textNode] = std::move(merged);
}

TextProps PropsAt(F_ObjHandleT textNode, IntT off) {
    auto it = gRuns.find(textNode);
    if (it == gRuns.end() || it->second.empty()) return {};
    IntT at = 0;
    for (const PropRun &r : it->second) {
        if (off < at + r.len) return r.props;
        at += r.len;
    }
    return it->second.back().props;
}

namespace {

// The runs of a node as a per-character list of properties indexes, for the edits below.
std::vector<PropRun> CutRuns(const std::vector<PropRun> &runs, IntT from, IntT to) {
    std::vector<PropRun> out;
    IntT at = 0;
    for (const PropRun &r : runs) {
        IntT a = std::max(at, from), b = std::min(at + r.len, to);
        if (a < b) out.push_back(PropRun{b - a, r.props});
        at += r.len;
    }
    return out;
}

IntT RunsLength(const std::vector<PropRun> &runs) {
    IntT n = 0;
    for (const PropRun &r : runs) n += r.len;
    return n;
}

}  // namespace

void TextRunsSplit(F_ObjHandleT first, F_ObjHandleT second, IntT off) {
    auto it = gRuns.find(first);
    if (it == gRuns.end()) return;
    std::vector<PropRun> runs = it->second;
    IntT len = std::max(RunsLength(runs), off);
    Element *s = Elem(second);
    IntT secondLen = s ? TextLength(*s) : len - off;
    std::vector<PropRun> tail = CutRuns(runs, off, len);
    if (RunsLength(tail) < secondLen) tail.push_back(PropRun{secondLen - RunsLength(tail), runs.back().props});
    SetTextRuns(first, CutRuns(runs, 0, off));
    SetTextRuns(second, std::move(tail));
}

void TextRunsJoin(F_ObjHandleT first, F_ObjHandleT second, IntT firstLen) {
    auto a = gRuns.find(first), b = gRuns.find(second);
    if (a == gRuns.end() && b == gRuns.end()) return;
    std::vector<PropRun> runs = a == gRuns.end() ? std::vector<PropRun>{} : a->second;
    IntT have = RunsLength(runs);
    if (have < firstLen) runs.push_back(PropRun{firstLen - have, runs.empty() ? TextProps{} : runs.back().props});
    runs = CutRuns(runs, 0, firstLen);
    Element *s = Elem(second);
    IntT secondLen = s ? TextLength(*s) : 0;
    std::vector<PropRun> tail = b == gRuns.end() ? std::vector<PropRun>{PropRun{secondLen, {}}} : b->second;
    runs.insert(runs.end(), tail.begin(), tail.end());
    gRuns.erase(second);
    SetTextRuns(first, std::move(runs));
}

void TextRunsInserted(F_ObjHandleT node, IntT off, IntT len) {
    auto it = gRuns.find(node);
    if (it == gRuns.end() || len <= 0) return;
    std::vector<PropRun> runs = it->second;
    IntT total = RunsLength(runs);
    TextProps props = PropsAt(node, off > 0 ? off - 1 : 0);
    std::vector<PropRun> out = CutRuns(runs, 0, off);
    out.push_back(PropRun{len, props});
    std::vector<PropRun> rest = CutRuns(runs, off, total);
    out.insert(out.end(), rest.begin(), rest.end());
    SetTextRuns(node, std::move(out));
}

void TextRunsErased(F_ObjHandleT node, IntT off, IntT len) {
    auto it = gRuns.find(node);
    if (it == gRuns.end() || len <= 0) return;
    std::vector<PropRun> runs = it->second;
    IntT total = RunsLength(runs);
    std::vector<PropRun> out = CutRuns(runs, 0, off);
    std::vector<PropRun> rest = CutRuns(runs, off + len, total);
    out.insert(out.end(), rest.begin(), rest.end());
    if (out.empty()) out.push_back(PropRun{0, runs.back().props});
    SetTextRuns(node, std::move(out));
}

void ResetTextProps() { gRuns.clear(); }

void ForgetTextRuns(F_ObjHandleT node) {
    if (!gRuns.empty()) gRuns.erase(node);
}

}  // namespace host

using namespace host;

extern "C" {

F_PropValT F_ApiGetTextPropVal(F_ObjHandleT docId, const F_TextLocT *loc, IntT prop) {
    F_PropValT out{};
    out.propIdent = prop;
    IntT type = 0;
    if (!Doc(docId) || !loc || !TextPropType(prop, type)) {
        Fail(Doc(docId) ? FE_BadPropNum : FE_BadDocId);
        return out;
    }
    F_ObjHandleT node = 0;
    IntT off = 0;
    Layout *l = nullptr;
    TextPos pos;
    if (!NodeAt(docId, *loc, node, off, &l, pos)) {
        Fail(FE_BadParameter);
        return out;
    }
    out.propVal.valType = type;
    if (prop == FP_InTextFrame) {
        const uint32_t frame = l->FrameOf(pos.pgf);
        out.propVal.ival = frame < l->frames.size() ? static_cast<IntT>(l->frames[frame].id) : 0;
        return out;
    }
    TextProps tp = node ? PropsAt(node, off) : TextProps{};
    switch (prop) {
    case FP_Color: out.propVal.ival = static_cast<IntT>(tp.color); break;
    case FP_TextFlag: out.propVal.ival = tp.flag; break;
    case FP_ChangeBar: out.propVal.ival = tp.changeBar; break;
    case FP_CharTag: out.propVal.sval = NewString(tp.charFormat); break;
    case FP_InCond: out.propVal.isval = NewInts(tp.conditions); break;
    }
    return out;
}

void F_ApiSetTextPropVal(F_ObjHandleT docId, const F_TextRangeT *range, const F_PropValT *value) {
    if (!Doc(docId) || !range || !value) {
        Fail(Doc(docId) ? FE_BadParameter : FE_BadDocId);
        return;
    }
    if (SetOne(docId, *range, *value)) MarkModified(docId);
}

void F_ApiSetTextProps(F_ObjHandleT docId, const F_TextRangeT *range, const F_PropValsT *props) {
    if (!Doc(docId) || !range || !props) {
        Fail(Doc(docId) ? FE_BadParameter : FE_BadDocId);
        return;
    }
    for (UIntT i = 0; props->val && i < props->len; ++i) {
        IntT type = 0;
        if (TextPropType(props->val[i].propIdent, type) && props->val[i].propIdent != FP_InTextFrame)
            SetOne(docId, *range, props->val[i], true);
    }
    MarkModified(docId);
}

void F_ApiScrollToText(F_ObjHandleT docId, const F_TextRangeT *range) {
    if (!Doc(docId) || !range) Fail(FE_BadDocId);
}

}  // extern "C"
