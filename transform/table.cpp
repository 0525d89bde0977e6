// Table processors: a QVRN_table becomes a host table in its place, each QVRN_tablerow of its
// heading, body and footing is repeated once per match (sorted by a leading QVRN_sort), and the
// template cells' content is copied into the new cells with the row's match as context.
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_walk.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/node_table.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

void om_XformApplyElementTag(F_ObjHandleT doc, F_ObjHandleT styleElem, F_ObjHandleT elem) {
    std::string tag = XformAttr(doc, styleElem, "element_tag");
    if (tag.empty() || !elem) return;
    FA_errno = 0;
    F_ObjHandleT def = F_ApiGetNamedObject(doc, FO_ElementDef, tag.c_str());
    if (def) F_ApiSetId(doc, elem, FP_ElementDef, def);
}

namespace {

struct PendingCells;

// The rows placed in a part: the last one, and by key when a sort places them. pending (null:
// none) collects the new cells whose value-of runs once the whole table is built.
struct PartRows {
    F_ObjHandleT last = 0;
    std::map<IntT, XformSortedPlaces> sorted;  // per template row's order and data type
    PendingCells *pending = nullptr;
};

// The definition an element_tag names (0 when none), read once per template row or cell.
F_ObjHandleT TagDef(F_ObjHandleT doc, F_ObjHandleT styleElem) {
    std::string tag = XformAttr(doc, styleElem, "element_tag");
    FA_errno = 0;
    F_ObjHandleT def = tag.empty() ? 0 : F_ApiGetNamedObject(doc, FO_ElementDef, tag.c_str());
    FA_errno = 0;
    return def;
}

void Retag(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT def) {
    if (def && elem && F_ApiGetId(doc, elem, FP_ElementDef) != def) F_ApiSetId(doc, elem, FP_ElementDef, def);
}

// The nodes below elem in document order.
void Below(F_ObjHandleT doc, F_ObjHandleT elem, std::vector<F_ObjHandleT> &out) {
    out.clear();
    std::vector<F_ObjHandleT> stack;
    for (F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        stack.push_back(c);
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        F_ObjHandleT e = stack.back();
        stack.pop_back();
        out.push_back(e);
        size_t mark = stack.size();
        for (F_ObjHandleT c = F_ApiGetId(doc, e, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
            stack.push_back(c);
        std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(mark), stack.end());
    }
}

// The stylesheet elements of a template cell's content with their attribute lists, read once:
// every copy of the content takes these lists with its own row's context.
class CellContext {
  public:
    CellContext(F_ObjHandleT doc, F_ObjHandleT cell) {
        std::vector<F_ObjHandleT> nodes;
        Below(doc, cell, nodes);
        count_ = nodes.size();
        for (size_t i = 0; i < nodes.size(); ++i) {
            if (om_XformElementType(doc, nodes[i]) == XT_None) continue;
            Entry e;
            e.index = i;
            e.list = F_ApiGetAttributes(doc, nodes[i]);
            for (UIntT a = 0; a < e.list.len; ++a) {
                std::string_view n = e.list.val[a].name ? e.list.val[a].name : "";
                if (n == "ContextDocId") e.slots[0] = static_cast<int>(a);
                else if (n == "ContextNodeId") e.slots[1] = static_cast<int>(a);
                else if (n == "ContextAttributeNumber") e.slots[2] = static_cast<int>(a);
            }
            e.kept.emplace(e.list);
            entries_.push_back(std::move(e));
        }
        StatusCode = 0;
    }
    ~CellContext() {
        for (Entry &e : entries_) F_ApiDeallocateAttributes(&e.list);
    }
    CellContext(const CellContext &) = delete;
    CellContext &operator=(const CellContext &) = delete;
    CellContext(CellContext &&o) noexcept : count_(o.count_), entries_(std::move(o.entries_)) { o.entries_.clear(); }

    // Writes the row's context below target, a fresh copy of the cell's content; false when the
    // copy does not have the content's shape (the caller then writes it element by element).
    bool Write(F_ObjHandleT doc, F_ObjHandleT target, const XformMatch &m) {
        Below(doc, target, nodes_);
        if (nodes_.size() != count_) return false;
        const std::string values[3] = {std::to_string(m.doc), std::to_string(m.node), std::to_string(m.attr)};
        for (Entry &e : entries_) {
            bool any = false;
            XformAttrs kept = *e.kept;
            for (int k = 0; k < 3; ++k) {
                if (e.slots[k] < 0) continue;
                F_StringsT &v = e.list.val[e.slots[k]].values;
                F_ApiDeallocateStrings(&v);
                v.len = 1;
                v.val = static_cast<StringT *>(F_Alloc(sizeof(StringT), NO_DSE));
                v.val[0] = F_StrCopyString(values[k].c_str());
                kept.SetAt(e.slots[k], values[k]);
                any = true;
            }
            if (!any) continue;
            F_ApiSetAttributes(doc, nodes_[e.index], &e.list);
            XformRememberWritten(doc, nodes_[e.index], std::move(kept));
        }
        return true;
    }

  private:
    struct Entry {
        size_t index = 0;
        F_AttributesT list{};
        int slots[3] = {-1, -1, -1};
        std::optional<XformAttrs> kept;  // the list as read, shared by every row's copy
    };
    size_t count_ = 0;
    std::vector<Entry> entries_;
    std::vector<F_ObjHandleT> nodes_;
};

// A template cell whose whole content is one value-of of the row's own context: once the table is
// built, its new cells are filled by running the value-of straight into them, as the walk would
// when it reached the copy (the copy would be unwrapped then). What the value-of's attributes
// say is read once: its compiled expression (with its text, to know the number still stands for
// it), its match limit and its object actions.
struct DirectValueOf {
    IntT seq = 0;
    std::string text;
    IntT maxMatches = 0;
    XformValueOfActionsT actions;
};

struct TemplateCell {
    F_ObjHandleT cell = 0, def = 0;
    std::shared_ptr<CellContext> context;
    std::shared_ptr<const DirectValueOf> direct;
};

// The value-of a template cell may run directly (null when its content is anything else): one
// value-of with no content, not preserved, its context inherited from the row, no test and no
// parameter in its select (parameters may change while the walk goes on).
std::shared_ptr<const DirectValueOf> DirectValueOfIn(F_ObjHandleT doc, F_ObjHandleT cell) {
    F_ObjHandleT v = F_ApiGetId(doc, cell, FP_FirstChildElement);
    if (!v || F_ApiGetId(doc, v, FP_NextSiblingElement) || F_ApiGetId(doc, v, FP_FirstChildElement) ||
        om_XformElementType(doc, v) != XT_ValueOf)
        return nullptr;
    StatusCode = 0;
    XformAttrs a(doc, v);
    std::string source = a.Get("source_file");
    const std::string &select = a.Raw("select");
    if (a.Raw("qvrn_element") == "Preserve" || !(source.empty() || source == "Inherit") || !a.Get("test").empty() ||
        select.empty() || select.find('$') != std::string::npos)
        return nullptr;
    for (const char *hidden : {"ContextDocId", "ContextNodeId", "ContextAttributeNumber"})
        if (a.IndexOf(hidden) < 0) return nullptr;
    auto d = std::make_shared<DirectValueOf>();
    d->seq = a.Int("SequenceNumber");
    if (d->seq < 1 || !om_XPathIsCompiledSequence(d->seq)) return nullptr;
    d->text = om_XPathRec(d->seq).sourceText;
    d->maxMatches = a.Int("max_matches");
    {
        XformCachedAttrsScope scope(doc, v, &a);
        om_XformReadValueOfActions(doc, v);
    }
    d->actions = XformRunState.valueOf;
    return d;
}

// A new cell whose direct value-of runs once the table is built, with its row's match.
struct PendingCell {
    const TemplateCell *cell;
    F_ObjHandleT target;
    XformMatch match;
};

// The new cells left for the built table, and the template cells of the rows that made them:
// each template row's cells are kept here for the whole table (a deque does not move them), so
// that a pending cell names its template instead of holding a copy of it.
struct PendingCells {
    std::deque<std::vector<TemplateCell>> templates;
    std::vector<PendingCell> cells;
    // Room for n more cells, growing the list geometrically.
    void Expect(size_t n) {
        if (cells.size() + n > cells.capacity()) cells.reserve(std::max(cells.size() + n, cells.capacity() * 2));
    }
};

// Runs a direct value-of into an empty new cell with the row's match as context; false (the cell
// left empty, StatusCode clear) when it fails, so that the caller fills the cell the usual way and
// the walk meets the failure where it always did. A cancel stays in StatusCode.
bool RunDirect(F_ObjHandleT doc, const DirectValueOf &d, F_ObjHandleT target, const XformMatch &m) {
    if (m.doc == doc || F_ApiGetId(doc, target, FP_FirstChildElement)) return false;
    if (!om_XPathIsCompiledSequence(d.seq) || om_XPathRec(d.seq).sourceText != d.text) return false;
    // The query the value-of would set up: its context inherited from the row, nothing named.
    StatusCode = 0;
    XformQuery q;
    q.seq = d.seq;
    q.ctxDoc = m.doc;
    q.ctxNode = m.node;
    q.self = d.text == ".";
    XformCopyMatches(doc, target, XT_ValueOf, q, d.maxMatches, d.actions, true);
    if (!StatusCode) return true;
    if (StatusCode == StatusCancelled) return false;
    XformDeleteContent(doc, target);
    StatusCode = 0;
    return false;
}

// The row a new row with this key goes below (the anchor row when it goes first).
F_ObjHandleT om_XformSortedRowPosition(F_ObjHandleT doc, const XformSortedPlaces &places, const std::string &key,
                                       F_ObjHandleT anchor, F_ObjHandleT last) {
    // The new row goes before the first row whose key it does not pass: after the row before
    // that one. Rows without a key are not in the index; past every keyed row is the part's end.
    F_ObjHandleT next = places.Successor(key);
    if (!next) return last ? last : anchor;
    F_ObjHandleT before = F_ApiGetId(doc, next, FP_PrevSiblingElement);
    return before ? before : anchor;
}

// How many template cells' contents have been copied into new cells: the walk has work inside a
// table only when it received such copies (or its title's).
size_t gTemplateCopies = 0;

// A counter compared before and after a table title is copied.
[[maybe_unused]] const bool resetTemplateCopies = om_RunStateRegister("template copies", RunStateKind::Run, [] {
    gTemplateCopies = 0;
});

// Copies a template cell's content into a new cell and writes the row's context into the copy.
// onClipboard: the template cell whose content the clipboard holds (0: none); keep: whether the
// clipboard may be left holding it (a row of one cell copies its template once for all its rows).
void FillCell(F_ObjHandleT doc, const TemplateCell &cell, F_ObjHandleT target, const XformMatch &m,
              F_ObjHandleT &onClipboard, bool keep) {
    ++gTemplateCopies;
    bool copied = onClipboard == cell.cell;
    if (!copied && XformSelectContent(doc, cell.cell) && F_ApiCopy(doc, 0) == 0) {
        copied = true;
        onClipboard = keep ? cell.cell : 0;
    }
    if (copied && om_ElementSelect(doc, target, LocContentEnd)) F_ApiPaste(doc, 0);
    StatusCode = 0;
    if (!cell.context || !cell.context->Write(doc, target, m))
        om_XformSetContextAttrs(doc, target, m.doc, m.node, m.attr, 0);
    StatusCode = 0;
}

void om_XformFillRowCells(F_ObjHandleT doc, const std::vector<TemplateCell> &cells, F_ObjHandleT newRow, const XformMatch &m,
                  F_ObjHandleT &onClipboard, PendingCells *pending) {
    F_ObjHandleT target = F_ApiGetId(doc, newRow, FP_FirstChildElement);
    for (size_t i = 0; i < cells.size() && target; ++i) {
        // The next cell is read first: filling this one may not move it.
        F_ObjHandleT next = F_ApiGetId(doc, target, FP_NextSiblingElement);
        Retag(doc, target, cells[i].def);
        if (cells[i].direct && pending) pending->cells.push_back(PendingCell{&cells[i], target, m});
        else FillCell(doc, cells[i], target, m, onClipboard, cells.size() == 1);
        target = next;
    }
}

// The cells left for the built table, in document order: each direct value-of runs, or (after a
// failure elsewhere in the table, or once one of them fails) the cell is filled as any other, so
// that the walk meets the failure and stops there as it would have.
void FillPending(F_ObjHandleT doc, const PendingCells &pending, bool failed) {
    F_ObjHandleT onClipboard = 0;
    if (!failed && !pending.cells.empty()) F_ApiSetInt(0, doc, FP_IsInFront, 1);  // for every direct run
    for (const PendingCell &p : pending.cells) {
        if (F_ApiGetObjectType(doc, p.target) != FO_Element) continue;
        if (!failed) {
            onClipboard = 0;  // the value-of's own copy takes the clipboard
            if (RunDirect(doc, *p.cell->direct, p.target, p.match)) continue;
            if (StatusCode == StatusCancelled) return;
            failed = true;
        }
        FillCell(doc, *p.cell, p.target, p.match, onClipboard, true);
    }
}

// Runs one template row on a part; with test set only answers whether it has a match.
IntT RunRow(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT part, IntT test, PartRows *placed) {
    StatusCode = 0;
    XformQuery q;
    if (!XformBeginQuery(doc, row, q)) return 0;
    IntT sortSeq = 0, order = XSO_Ascending, dataType = XSD_Text;
    if (!test) {
        F_ObjHandleT first = F_ApiGetId(doc, row, FP_FirstChildElement);
        if (first && om_XformElementType(doc, first) == XT_Sort) {
            sortSeq = XformAttrInt(doc, first, "SequenceNumber");
            order = om_XformSortOrder(doc, first);
            dataType = om_XformSortDataType(doc, first);
            F_ApiDelete(doc, first);
            if (sortSeq <= 0) return StatusCode = XformErr::Critical, 0;
        }
    }
    // Sorted rows of one part share one index of keys (rows of another order or data type keep
    // their own).
    XformSortedPlaces *places = nullptr;
    if (sortSeq) places = &placed->sorted.try_emplace(order * 10 + dataType, order, dataType).first->second;
    ElementWalkPushed walk;
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    F_ObjHandleT anchor = F_ApiGetId(doc, part, FP_FirstChildElement);
    F_ObjHandleT rowDef = test ? 0 : TagDef(doc, row);
    // Cells whose filling waits for the built table keep their templates with the table's list.
    std::vector<TemplateCell> own;
    PendingCells *pending = sortSeq ? nullptr : placed->pending;
    std::vector<TemplateCell> &cells = pending && !test ? pending->templates.emplace_back() : own;
    F_ObjHandleT onClipboard = 0;
    if (!test)
        for (F_ObjHandleT c : XformChildren(doc, row))
            if (om_XformElementType(doc, c) == XT_TableCell)
                cells.push_back(
                    TemplateCell{c, TagDef(doc, c), std::make_shared<CellContext>(doc, c), DirectValueOfIn(doc, c)});
    StatusCode = 0;
    for (F_ObjHandleT qdoc : q.Documents()) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return 0;
        om_XformUpdateProgress(0, qdoc, 1);
        std::vector<XformMatch> matches = XformMatchesIn(q, qdoc, test ? 1 : 0, 0, {});
        if (test) {
            if (!matches.empty()) return 1;
            continue;
        }
        if (pending) pending->Expect(matches.size() * cells.size());
        for (const XformMatch &m : matches) {
            om_XformTickProgress();
            om_PollUserCancel();
            if (StatusCode == StatusCancelled) return 0;
            std::string key;
            F_ObjHandleT refElem = placed->last ? placed->last : anchor;
            bool keyed = false;  // a match without a sort key goes at the end, at its turn
            if (sortSeq) {
                key = XformSortKey(m.doc, m.node, sortSeq, &keyed);
                if (keyed) refElem = om_XformSortedRowPosition(doc, *places, key, anchor, placed->last);
            }
            F_ObjHandleT refRow = F_ApiGetId(doc, refElem, FP_Object);
            if (F_ApiAddRows(doc, refRow, FV_Below, 1) != 0) return StatusCode = XformErr::Critical, 0;
            F_ObjHandleT newRow = F_ApiGetId(doc, refElem, FP_NextSiblingElement);
            if (!newRow) return StatusCode = XformErr::Critical, 0;
            Retag(doc, newRow, rowDef);
            if (sortSeq) {
                if (keyed) places->Add(key, newRow);
                F_ApiSetString(doc, newRow, FP_UserString, key.c_str());
            }
            if (!placed->last || refElem == placed->last) placed->last = newRow;
            // Sorted rows are not placed in the order they are made: their cells are filled at once.
            om_XformFillRowCells(doc, cells, newRow, m, onClipboard, pending);
        }
    }
    return 0;
}

}  // namespace

IntT om_XformRunTableRow(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT part, IntT test) {
    PartRows placed;
    return RunRow(doc, row, part, test, &placed);
}

F_ObjHandleT om_XformRunTable(F_ObjHandleT doc, F_ObjHandleT b) {
    StatusCode = 0;
    F_ObjHandleT parts[4] = {0, 0, 0, 0};  // title, heading, body, footing
    for (F_ObjHandleT c : XformChildren(doc, b)) {
        IntT t = om_XformElementType(doc, c);
        if (t >= XT_TableTitle && t <= XT_TableFooting && !parts[t - XT_TableTitle]) parts[t - XT_TableTitle] = c;
    }
    StatusCode = 0;
    IntT columns = XformAttrInt(doc, b, "num_columns");
    if (columns < 1 || columns > 12) return StatusCode = XformErr::BadColumnCount, b;
    bool matched = false;
    if (parts[2])
        for (F_ObjHandleT r : XformChildren(doc, parts[2])) {
            if (om_XformElementType(doc, r) != XT_TableRow) continue;
            IntT hit = om_XformRunTableRow(doc, r, parts[2], 1);
            if (StatusCode) return b;
            if (hit) {
                matched = true;
                break;
            }
        }
    F_ObjHandleT parent = F_ApiGetId(doc, b, FP_ParentElement);
    if (!matched) {
        ElementWalkState.lastMove = WalkUp;
        ElementWalkState.enabled = 1;
        F_ObjHandleT next = om_ElementNextInDocOrder(doc, b);
        F_ApiDelete(doc, b);
        return next ? next : parent;
    }
    std::string format = XformAttr(doc, b, "format");
    FA_errno = 0;
    if (format.empty() || !F_ApiGetNamedObject(doc, FO_TblFmt, format.c_str())) {
        F_ObjHandleT firstFmt = F_ApiGetId(0, doc, FP_FirstTblFmtInDoc);
        format = firstFmt ? XformHostString(doc, firstFmt, FP_TblFmtName) : std::string();
    }
    om_ElementSelect(doc, b, LocBefore);
    F_ElementLocT before{parent, b, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &before);
    FA_errno = 0;
    F_ObjHandleT tbl = F_ApiNewTable(doc, format.c_str(), columns, parts[2] ? 1 : 0, parts[1] ? 1 : 0,
                                     parts[3] ? 1 : 0, &at);
    if (!tbl) return StatusCode = XformErr::Critical, b;
    std::vector<std::string> widths = om_XformColumnWidths(doc, b);
    std::vector<MetricT> metrics;
    for (IntT i = 0; i < columns; ++i) {
        IntT milli = static_cast<IntT>(std::strtod(widths[size_t(i)].c_str(), nullptr) * 1000.0);
        metrics.push_back(F_MetricScale(72 << 16, milli, 1000));
    }
    F_MetricsT ms{static_cast<UIntT>(metrics.size()), metrics.data()};
    F_ApiSetMetrics(doc, tbl, FP_TblColWidths, &ms);
    F_ObjHandleT tblElem = F_ApiGetId(doc, tbl, FP_Element);
    om_XformApplyElementTag(doc, b, tblElem);
    F_ObjHandleT previous = 0;
    for (F_ObjHandleT c : XformChildren(doc, tblElem)) {
        IntT kind = F_ApiGetInt(doc, c, FP_ElementType);
        F_ObjHandleT src =
            kind >= FV_FO_TBL_TITLE && kind <= FV_FO_TBL_FOOTING ? parts[kind - FV_FO_TBL_TITLE] : previous;
        if (src) om_XformApplyElementTag(doc, src, c);
        previous = src;
    }
    const size_t copiesBefore = gTemplateCopies;
    bool titleCopied = false;
    if (parts[0]) {
        F_ObjHandleT first = F_ApiGetId(doc, tblElem, FP_FirstChildElement);
        if (!first || F_ApiGetInt(doc, first, FP_ElementType) != FV_FO_TBL_TITLE) {
            F_ApiSetInt(doc, tbl, FP_TblTitlePosition, 1);
            first = F_ApiGetId(doc, tblElem, FP_FirstChildElement);
            om_XformApplyElementTag(doc, parts[0], first);
        }
        if (XformSelectContent(doc, parts[0])) {
            F_ObjHandleT tail = XformLastChild(doc, first);
            titleCopied = XformPasteAtEnd(doc, doc, first, tail) > 0;
        }
        StatusCode = 0;
    }
    // Rows: the first failure of any row run is kept to the end.
    IntT failure = 0;
    PendingCells pending;
    F_ObjHandleT p = F_ApiGetId(doc, tblElem, FP_FirstChildElement);
    while (p) {
        F_ObjHandleT nextPart = F_ApiGetId(doc, p, FP_NextSiblingElement);
        IntT kind = F_ApiGetInt(doc, p, FP_ElementType);
        if (kind >= FV_FO_TBL_HEADING && kind <= FV_FO_TBL_FOOTING) {
            F_ObjHandleT src = parts[kind - FV_FO_TBL_TITLE];
            F_ObjHandleT anchor = F_ApiGetId(doc, p, FP_FirstChildElement);
            PartRows placed;
            placed.pending = &pending;
            if (src)
                for (F_ObjHandleT r : XformChildren(doc, src)) {
                    if (om_XformElementType(doc, r) != XT_TableRow) continue;
                    RunRow(doc, r, p, 0, &placed);
                    if (StatusCode == StatusCancelled) return 0;
                    if (StatusCode && !failure) failure = StatusCode;
                    StatusCode = 0;
                }
            if (anchor) F_ApiDeleteRows(doc, tbl, F_ApiGetId(doc, anchor, FP_Object), 1);
        }
        p = nextPart;
    }
    FillPending(doc, pending, failure != 0);
    if (StatusCode == StatusCancelled) return 0;
    StatusCode = 0;
    F_ApiDelete(doc, b);
    // The walk goes through the new table only when copies of stylesheet content wait there; a
    // table whose cells were all filled directly is passed over as done.
    ElementWalkState.lastMove = titleCopied || gTemplateCopies != copiesBefore ? WalkDown : WalkUp;
    ElementWalkState.enabled = 1;
    StatusCode = failure;
    return tblElem;
}
