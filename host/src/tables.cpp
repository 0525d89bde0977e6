// Tables as element subtrees with host table, row and cell objects (see tables.h).
#include "tables.h"

#include <algorithm>
#include <array>
#include <memory>
#include <type_traits>

#include "edit_support.h"
#include "element_objects.h"
#include "model_internal.h"
#include "model_layout.h"
#include "records.h"

namespace host {

namespace {

// Ids of one kind mapped to other ids (0: none), kept in pages of consecutive counters: ids are
// handed out in order, so a look-up is two loads and a record allocates nothing but a new page.
class IdTable {
  public:
    F_ObjHandleT Get(F_ObjHandleT id) const {
        size_t p = CounterOf(id) >> kPageBits;
        return p < pages_.size() && pages_[p] ? (*pages_[p])[CounterOf(id) & (kPage - 1)] : 0;
    }
    void Put(F_ObjHandleT id, F_ObjHandleT value) {
        size_t p = CounterOf(id) >> kPageBits;
        if (p >= pages_.size()) pages_.resize(p + 1);
        if (!pages_[p]) pages_[p] = std::make_unique<Page>();  // zeroed
        (*pages_[p])[CounterOf(id) & (kPage - 1)] = value;
    }

  private:
    static constexpr size_t kPageBits = 10, kPage = size_t(1) << kPageBits;
    using Page = std::array<F_ObjHandleT, kPage>;
    std::vector<std::unique_ptr<Page>> pages_;
};

struct TableIds {
    IdTable byElem;  // element -> object
    IdTable byObj[3];  // object -> element, by object kind (table, row, cell)
    // The table of an object kind; nullptr for kinds that stand for no table part.
    IdTable *ObjectsOf(int kind) {
        switch (kind) {
        case FO_Tbl: return &byObj[0];
        case FO_Row: return &byObj[1];
        case FO_Cell: return &byObj[2];
        default: return nullptr;
        }
    }
};
TableIds &Ids() {
    static TableIds ids;
    return ids;
}
std::vector<F_ObjHandleT (*)(F_ObjHandleT, F_ObjHandleT)> &Finders() {
    static std::vector<F_ObjHandleT (*)(F_ObjHandleT, F_ObjHandleT)> f;
    return f;
}

IntT KindOfElement(F_ObjHandleT e) {
    Element *x = Elem(e);
    ElementDef *d = x ? Def(x->def) : nullptr;
    return d ? d->type : 0;
}

// The object kind that stands for an element kind.
int ObjectKindFor(IntT elemKind) {
    if (elemKind >= FV_FO_TBL && elemKind <= FV_FO_TBL_FOOTING) return FO_Tbl;
    if (elemKind == FV_FO_TBL_ROW) return FO_Row;
    if (elemKind == FV_FO_TBL_CELL) return FO_Cell;
    return 0;
}

// The table element of a table part (the part itself for kind 8).
F_ObjHandleT TableElementOf(F_ObjHandleT e) {
    for (int i = 0; e && i < 4; ++i) {
        if (KindOfElement(e) == FV_FO_TBL) return e;
        e = Elem(e)->parent;
    }
    return 0;
}

// The element behind an object of a kind, when it is live and in the document.
F_ObjHandleT Live(F_ObjHandleT doc, F_ObjHandleT obj, int kind) {
    if (KindOf(obj) != kind) return 0;
    IdTable *objects = Ids().ObjectsOf(kind);
    F_ObjHandleT elem = objects ? objects->Get(obj) : 0;
    if (!elem) return 0;
    Element *e = Elem(elem);
    if (!e || (doc && e->doc != doc)) return 0;
    return elem;
}

F_ObjHandleT ObjectFor(F_ObjHandleT elem) {
    Element *e = Elem(elem);
    return e ? TableObjectOf(e->doc, elem) : 0;
}

// Row elements of a table element in order (heading, body, footing).
std::vector<F_ObjHandleT> RowElements(F_ObjHandleT table) {
    std::vector<F_ObjHandleT> rows;
    for (F_ObjHandleT part = Elem(table)->first; part; part = Elem(part)->next) {
        IntT k = KindOfElement(part);
        if (k < FV_FO_TBL_HEADING || k > FV_FO_TBL_FOOTING) continue;
        for (F_ObjHandleT r = Elem(part)->first; r; r = Elem(r)->next)
            if (KindOfElement(r) == FV_FO_TBL_ROW) rows.push_back(r);
    }
    return rows;
}

// The row after (step 1) or before (step -1) a row of a table, in the order RowElements gives
// (heading, body, footing); 0 at either end or when the row lies in no part of a table. It walks
// only from the row to its neighbour, never over the table's other rows.
F_ObjHandleT RowBeside(F_ObjHandleT row, int step) {
    auto isPart = [](F_ObjHandleT p) {
        IntT k = KindOfElement(p);
        return k >= FV_FO_TBL_HEADING && k <= FV_FO_TBL_FOOTING;
    };
    auto beside = [step](F_ObjHandleT x) { return step > 0 ? Elem(x)->next : Elem(x)->prev; };
    Element *e = Elem(row);
    if (!e || !e->parent || !isPart(e->parent) || KindOfElement(Elem(e->parent)->parent) != FV_FO_TBL) return 0;
    for (F_ObjHandleT r = beside(row); r; r = beside(r))
        if (KindOfElement(r) == FV_FO_TBL_ROW) return r;
    for (F_ObjHandleT p = beside(e->parent); p; p = beside(p)) {
        if (!isPart(p)) continue;
        for (F_ObjHandleT r = step > 0 ? Elem(p)->first : Elem(p)->last; r; r = beside(r))
            if (KindOfElement(r) == FV_FO_TBL_ROW) return r;
    }
    return 0;
}

std::vector<F_ObjHandleT> CellElements(F_ObjHandleT row) {
    std::vector<F_ObjHandleT> cells;
    for (F_ObjHandleT c = Elem(row)->first; c; c = Elem(c)->next)
        if (KindOfElement(c) == FV_FO_TBL_CELL) cells.push_back(c);
    return cells;
}

F_ObjHandleT PartOf(F_ObjHandleT table, IntT kind) {
    for (F_ObjHandleT p = Elem(table)->first; p; p = Elem(p)->next)
        if (KindOfElement(p) == kind) return p;
    return 0;
}

// The first or last paragraph an element's content lies in.
F_ObjHandleT PgfOfElement(F_ObjHandleT doc, F_ObjHandleT elem, bool last) {
    Layout *l = LayoutOf(doc);
    if (!l) return 0;
    const TextPlaces *places = l->Places().Find(elem);
    if (!places) return 0;
    uint32_t i = last ? places->second.pgf : places->first.pgf;
    return i < l->pgfs.size() ? l->pgfs[i].id : 0;
}

F_ObjHandleT NewCell(F_ObjHandleT doc) { return NewElement(doc, TableDefinition(doc, FV_FO_TBL_CELL)); }

F_ObjHandleT NewRow(F_ObjHandleT doc, IntT cols) {
    F_ObjHandleT row = NewElement(doc, TableDefinition(doc, FV_FO_TBL_ROW));
    for (IntT c = 0; c < cols; ++c) LinkChild(row, NewCell(doc), 0);
    return row;
}

F_ObjHandleT NewPart(F_ObjHandleT doc, IntT kind, IntT rows, IntT cols) {
    F_ObjHandleT part = NewElement(doc, TableDefinition(doc, kind));
    for (IntT r = 0; r < rows; ++r) LinkChild(part, NewRow(doc, cols), 0);
    return part;
}

void RemoveElement(F_ObjHandleT doc, F_ObjHandleT e) {
    DeleteElement(doc, e);
}

// Properties of a table, row or cell computed by fn(doc, element), a lambda without captures:
// read through a plain function made for each.
template <class Fn>
void IdProp(int kind, int number, Fn) {
    static_assert(std::is_empty_v<Fn> && std::is_default_constructible_v<Fn>);
    RegisterIntAccessors(kind, number, PropType::Id, [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
        F_ObjHandleT e = Live(doc, obj, KindOf(obj));
        if (!e) return Fail(FE_BadObjId);
        out = static_cast<IntT>(Fn{}(doc, e));
        return true;
    });
}

template <class Fn>
void IntProp(int kind, int number, Fn) {
    static_assert(std::is_empty_v<Fn> && std::is_default_constructible_v<Fn>);
    RegisterIntAccessors(kind, number, PropType::Int, [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
        F_ObjHandleT e = Live(doc, obj, KindOf(obj));
        if (!e) return Fail(FE_BadObjId);
        out = Fn{}(doc, e);
        return true;
    });
}

// A neighbour in a list: the element after (or before) `e`, as its object.
F_ObjHandleT Neighbour(const std::vector<F_ObjHandleT> &list, F_ObjHandleT e, int step) {
    auto it = std::find(list.begin(), list.end(), e);
    if (it == list.end()) return 0;
    long i = (it - list.begin()) + step;
    return i < 0 || i >= static_cast<long>(list.size()) ? 0 : ObjectFor(list[static_cast<size_t>(i)]);
}

// Table elements of a document in document order.
std::vector<F_ObjHandleT> TableElements(F_ObjHandleT doc) { return ElementsOfKind(doc, FV_FO_TBL); }

bool SetTitle(F_ObjHandleT doc, F_ObjHandleT table, bool on) {
    F_ObjHandleT title = PartOf(table, FV_FO_TBL_TITLE);
    if (on && !title) {
        F_ObjHandleT made = NewElement(doc, TableDefinition(doc, FV_FO_TBL_TITLE));
        if (!made) return false;
        LinkChild(table, made, Elem(table)->first);
    }
    if (!on && title) RemoveElement(doc, title);
    MarkChanged(doc);
    return true;
}

void RegisterTables() {
    for (int kind : {FO_Tbl, FO_Row, FO_Cell}) {
        RegisterKind(kind, [kind](F_ObjHandleT doc, F_ObjHandleT obj) { return Live(doc, obj, kind) != 0; });
        IdProp(kind, FP_Element, [](F_ObjHandleT, F_ObjHandleT e) { return e; });
    }
    RegisterDeleter(FO_Tbl, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        F_ObjHandleT e = Live(doc, obj, FO_Tbl);
        return e ? DeleteElement(doc, e) : Fail(FE_BadObjId);
    });
    // Elements stand for their host objects.
    RegisterProperty(FO_Element, FP_Object, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        out.i = static_cast<IntT>(TableObjectOf(doc, obj));
        for (auto finder : Finders())
            if (!out.i) out.i = static_cast<IntT>(finder(doc, obj));
        return true;
    });
    RegisterProperty(FO_Doc, FP_FirstTblInDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        std::vector<F_ObjHandleT> t = TableElements(obj);
        out.i = t.empty() ? 0 : static_cast<IntT>(ObjectFor(t.front()));
        return true;
    });
    // Table.
    IdProp(FO_Tbl, FP_NextTblInDoc, [](F_ObjHandleT doc, F_ObjHandleT e) { return Neighbour(TableElements(doc), e, 1); });
    IdProp(FO_Tbl, FP_FirstRowInTbl, [](F_ObjHandleT, F_ObjHandleT e) {
        auto rows = RowElements(e);
        return rows.empty() ? 0 : ObjectFor(rows.front());
    });
    IdProp(FO_Tbl, FP_LastRowInTbl, [](F_ObjHandleT, F_ObjHandleT e) {
        auto rows = RowElements(e);
        return rows.empty() ? 0 : ObjectFor(rows.back());
    });
    IdProp(FO_Tbl, FP_FirstPgfInTitle, [](F_ObjHandleT doc, F_ObjHandleT e) {
        F_ObjHandleT title = PartOf(e, FV_FO_TBL_TITLE);
        return title ? PgfOfElement(doc, title, false) : 0;
    });
    for (int n : {FP_TopRowSelection, FP_BottomRowSelection}) IdProp(FO_Tbl, n, [](F_ObjHandleT, F_ObjHandleT) { return F_ObjHandleT{0}; });
    for (int n : {FP_LeftColNum, FP_RightColNum}) IntProp(FO_Tbl, n, [](F_ObjHandleT, F_ObjHandleT) { return IntT{0}; });
    RegisterProperty(
        FO_Tbl, FP_TblTitlePosition, PropType::Int,
        [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            F_ObjHandleT e = Live(doc, obj, FO_Tbl);
            if (!e) return Fail(FE_BadObjId);
            out.i = PartOf(e, FV_FO_TBL_TITLE) ? 1 : 0;
            return true;
        },
        [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
            F_ObjHandleT e = Live(doc, obj, FO_Tbl);
            return e ? SetTitle(doc, e, in.i != 0) : Fail(FE_BadObjId);
        });
    RegisterProperty(FO_Tbl, FP_AnchorLoc, PropType::TextLoc, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        F_ObjHandleT e = Live(doc, obj, FO_Tbl);
        if (!e) return Fail(FE_BadObjId);
        F_ElementLocT at{Elem(e)->parent, e, 0};
        return ElementLocToText(doc, at, out.tr.beg);
    });
    RegisterStoredProperty(FO_Tbl, FP_TblTag, PropType::String);
    RegisterStoredProperty(FO_Tbl, FP_TblColWidths, PropType::Metrics);
    RegisterStoredProperty(FO_TblFmt, FP_TblTitlePosition, PropType::Int);  // 1: its tables have a title
    // Row.
    IdProp(FO_Row, FP_NextRowInTbl, [](F_ObjHandleT, F_ObjHandleT e) { return ObjectFor(RowBeside(e, 1)); });
    IdProp(FO_Row, FP_PrevRowInTbl, [](F_ObjHandleT, F_ObjHandleT e) { return ObjectFor(RowBeside(e, -1)); });
    IdProp(FO_Row, FP_RowTbl, [](F_ObjHandleT, F_ObjHandleT e) { return ObjectFor(TableElementOf(e)); });
    IdProp(FO_Row, FP_FirstCellInRow, [](F_ObjHandleT, F_ObjHandleT e) {
        auto cells = CellElements(e);
        return cells.empty() ? 0 : ObjectFor(cells.front());
    });
    IntProp(FO_Row, FP_RowType, [](F_ObjHandleT, F_ObjHandleT e) {
        IntT part = KindOfElement(Elem(e)->parent);
        return part == FV_FO_TBL_HEADING ? 0 : part == FV_FO_TBL_FOOTING ? 2 : 1;
    });
    RegisterStoredProperty(FO_Row, FP_RowIsCounted, PropType::Int, [] {
        PropValue v;
        v.i = 1;
        return v;
    }());
    RegisterStoredProperty(FO_Row, FP_InCond, PropType::Ints);
    // Cell.
    IdProp(FO_Cell, FP_CellRow, [](F_ObjHandleT, F_ObjHandleT e) { return ObjectFor(Elem(e)->parent); });
    IdProp(FO_Cell, FP_NextCellInRow, [](F_ObjHandleT, F_ObjHandleT e) { return Neighbour(CellElements(Elem(e)->parent), e, 1); });
    IntProp(FO_Cell, FP_CellColNum, [](F_ObjHandleT, F_ObjHandleT e) {
        auto cells = CellElements(Elem(e)->parent);
        return static_cast<IntT>(std::find(cells.begin(), cells.end(), e) - cells.begin());
    });
    IdProp(FO_Cell, FP_FirstPgf, [](F_ObjHandleT doc, F_ObjHandleT e) { return PgfOfElement(doc, e, false); });
    IdProp(FO_Cell, FP_LastPgf, [](F_ObjHandleT doc, F_ObjHandleT e) { return PgfOfElement(doc, e, true); });
    IdProp(FO_Cell, FP_InTextFrame, [](F_ObjHandleT doc, F_ObjHandleT e) {
        F_ObjHandleT pgf = PgfOfElement(doc, e, false);
        return pgf ? F_ApiGetId(doc, pgf, FP_InTextFrame) : 0;
    });
}

}  // namespace

void RegisterTableProperties() { RegisterTables(); }

F_ObjHandleT TableObjectOf(F_ObjHandleT doc, F_ObjHandleT elem) {
    Element *e = ElemIn(doc, elem);
    if (!e) return 0;
    IntT kind = KindOfElement(elem);
    int objKind = ObjectKindFor(kind);
    if (!objKind) return 0;
    if (objKind == FO_Tbl && kind != FV_FO_TBL) {
        elem = TableElementOf(elem);
        if (!elem) return 0;
    }
    auto &ids = Ids();
    if (F_ObjHandleT known = ids.byElem.Get(elem)) return known;
    F_ObjHandleT obj = NewObjectId(objKind);
    if (!obj) return 0;
    ids.byElem.Put(elem, obj);
    ids.ObjectsOf(objKind)->Put(obj, elem);
    return obj;
}

void ForgetTableObject(F_ObjHandleT elem) {
    TableIds &ids = Ids();
    F_ObjHandleT obj = ids.byElem.Get(elem);
    if (!obj) return;
    ids.byElem.Put(elem, 0);
    if (IdTable *objects = ids.ObjectsOf(KindOf(obj))) objects->Put(obj, 0);
}

F_ObjHandleT TableObjectElement(F_ObjHandleT obj) {
    IdTable *objects = Ids().ObjectsOf(KindOf(obj));
    F_ObjHandleT elem = objects ? objects->Get(obj) : 0;
    return elem && Elem(elem) ? elem : 0;
}

void RegisterElementObjectFinder(F_ObjHandleT (*finder)(F_ObjHandleT, F_ObjHandleT)) { Finders().push_back(finder); }

F_ObjHandleT TableDefinition(F_ObjHandleT doc, IntT kind) {
    Document *d = Doc(doc);
    if (!d) return 0;
    F_ObjHandleT &known = d->tableDefs[kind - FV_FO_TBL];
    if (known)
        if (ElementDef *x = Def(known); x && x->doc == doc && x->type == kind) return known;
    for (F_ObjHandleT def : d->defs)
        if (ElementDef *x = Def(def); x && x->type == kind) return known = def;
    static const char *const names[] = {"Table", "TableTitle", "TableHeading", "TableBody", "TableFooting", "Row", "Cell"};
    const char *pgf = kind == FV_FO_TBL_TITLE ? "TableTitle" : kind == FV_FO_TBL_CELL ? "CellBody" : "";
    return AddElementDef(doc, names[kind - FV_FO_TBL], kind, pgf);
}

F_ObjHandleT BuildTableElement(F_ObjHandleT doc, IntT cols, IntT bodyRows, IntT headRows, IntT footRows) {
    F_ObjHandleT table = NewElement(doc, TableDefinition(doc, FV_FO_TBL));
    if (headRows > 0) LinkChild(table, NewPart(doc, FV_FO_TBL_HEADING, headRows, cols), 0);
    LinkChild(table, NewPart(doc, FV_FO_TBL_BODY, bodyRows, cols), 0);
    if (footRows > 0) LinkChild(table, NewPart(doc, FV_FO_TBL_FOOTING, footRows, cols), 0);
    return table;
}

}  // namespace host

using namespace host;

extern "C" {

F_ObjHandleT F_ApiNewTable(F_ObjHandleT docId, ConStringT format, IntT numCols, IntT numBodyRows, IntT numHeaderRows,
                           IntT numFooterRows, const F_TextLocT *loc) {
    if (!Doc(docId) || !loc) return Fail(FE_BadDocId), 0;
    if (numCols < 1 || numBodyRows < 1 || numHeaderRows < 0 || numFooterRows < 0) return Fail(FE_BadParameter), 0;
    F_ElementLocT at{};
    if (!TextLocToElement(docId, *loc, at) || !at.parentId) return Fail(FE_BadParameter), 0;
    // A text location names a place in a paragraph, which may lie at the boundary of several
    // elements; when it is the document's insertion point, the table goes where that point
    // stands in the structure (before the element it was set before, not inside it).
    {
        Document &d = *Doc(docId);
        F_ElementRangeT sel = SelectionElements(d);
        F_TextLocT selText{};
        if (!d.sel.textView && sel.beg.parentId && sel.beg.parentId == sel.end.parentId &&
            sel.beg.childId == sel.end.childId && sel.beg.offset == sel.end.offset && sel.beg.offset == 0 &&
            ElementLocToText(docId, sel.beg, selText) && selText.objId == loc->objId && selText.offset == loc->offset)
            at = sel.beg;
    }
    // The table, its parts, rows and cells, and a split of the text node at the place.
    size_t rows = size_t(numBodyRows) + size_t(numHeaderRows) + size_t(numFooterRows);
    if (!HasIdsLeft(FO_Element, 5 + rows * (1 + size_t(numCols)))) return 0;
    F_ObjHandleT before = PlaceBefore(docId, at);  // a place inside a text node splits it
    F_ObjHandleT table = BuildTableElement(docId, numCols, numBodyRows, numHeaderRows, numFooterRows);
    LinkChild(at.parentId, table, before);
    MarkChanged(docId);
    F_ObjHandleT obj = TableObjectOf(docId, table);
    PropValue name;
    name.s = format ? format : "";
    SetProperty(docId, obj, FP_TblTag, name);
    // A table format with a title gives its new tables one.
    PropValue title;
    if (F_ObjHandleT fmt = FindNamed(docId, FO_TblFmt, name.s); fmt && GetProperty(docId, fmt, FP_TblTitlePosition, title) && title.i)
        SetProperty(docId, obj, FP_TblTitlePosition, title);
    return obj;
}

IntT F_ApiAddRows(F_ObjHandleT docId, F_ObjHandleT refRowId, IntT direction, IntT numNewRows) {
    F_ObjHandleT ref = Live(docId, refRowId, FO_Row);
    if (!ref || numNewRows < 1 || (direction != FV_Above && direction != FV_Below)) return Fail(FE_BadParameter), FA_errno;
    IntT cols = 0;
    for (F_ObjHandleT c = Elem(ref)->first; c; c = Elem(c)->next)
        if (KindOfElement(c) == FV_FO_TBL_CELL) ++cols;
    F_ObjHandleT part = Elem(ref)->parent;
    F_ObjHandleT before = direction == FV_Above ? ref : Elem(ref)->next;
    if (!HasIdsLeft(FO_Element, size_t(numNewRows) * (1 + size_t(cols)))) return FA_errno;
    for (IntT i = 0; i < numNewRows; ++i) LinkChild(part, NewRow(docId, cols), before);
    MarkChanged(docId);
    return 0;
}

IntT F_ApiDeleteRows(F_ObjHandleT docId, F_ObjHandleT tblId, F_ObjHandleT delRowId, IntT numDelRows) {
    F_ObjHandleT table = Live(docId, tblId, FO_Tbl);
    F_ObjHandleT first = Live(docId, delRowId, FO_Row);
    if (!table || !first || TableElementOf(first) != table || numDelRows < 1) return Fail(FE_BadParameter), FA_errno;
    // The rows to delete are found before any goes.
    std::vector<F_ObjHandleT> rows;
    for (F_ObjHandleT r = first; r && rows.size() < size_t(numDelRows); r = RowBeside(r, 1)) rows.push_back(r);
    for (F_ObjHandleT r : rows) {
        F_ObjHandleT part = Elem(r)->parent;
        RemoveElement(docId, r);
        // A heading or footing left without rows disappears.
        if (Element *p = Elem(part); p && KindOfElement(part) != FV_FO_TBL_BODY) {
            bool anyRow = false;
            for (F_ObjHandleT c = p->first; c; c = Elem(c)->next)
                if (KindOfElement(c) == FV_FO_TBL_ROW) anyRow = true;
            if (!anyRow) RemoveElement(docId, part);
        }
    }
    MarkChanged(docId);
    return 0;
}

IntT F_ApiAddCols(F_ObjHandleT docId, F_ObjHandleT tblId, IntT refColNum, IntT direction, IntT numNewCols) {
    F_ObjHandleT table = Live(docId, tblId, FO_Tbl);
    if (!table || numNewCols < 1 || (direction != FV_Left && direction != FV_Right)) return Fail(FE_BadParameter), FA_errno;
    for (F_ObjHandleT row : RowElements(table)) {
        std::vector<F_ObjHandleT> cells = CellElements(row);
        if (refColNum < 0 || refColNum >= static_cast<IntT>(cells.size())) return Fail(FE_BadParameter), FA_errno;
    }
    for (F_ObjHandleT row : RowElements(table)) {
        std::vector<F_ObjHandleT> cells = CellElements(row);
        F_ObjHandleT before = direction == FV_Left ? cells[refColNum] : Elem(cells[refColNum])->next;
        for (IntT i = 0; i < numNewCols; ++i) LinkChild(row, NewCell(docId), before);
    }
    MarkChanged(docId);
    return 0;
}

IntT F_ApiDeleteCols(F_ObjHandleT docId, F_ObjHandleT tblId, IntT delColNum, IntT numDelCols) {
    F_ObjHandleT table = Live(docId, tblId, FO_Tbl);
    if (!table || delColNum < 0 || numDelCols < 1) return Fail(FE_BadParameter), FA_errno;
    for (F_ObjHandleT row : RowElements(table)) {
        std::vector<F_ObjHandleT> cells = CellElements(row);
        if (delColNum + numDelCols >= static_cast<IntT>(cells.size()) + 1 || static_cast<IntT>(cells.size()) <= numDelCols)
            return Fail(FE_BadParameter), FA_errno;  // a row keeps at least one cell
    }
    for (F_ObjHandleT row : RowElements(table)) {
        std::vector<F_ObjHandleT> cells = CellElements(row);
        for (IntT i = 0; i < numDelCols; ++i) RemoveElement(docId, cells[delColNum + i]);
    }
    MarkChanged(docId);
    return 0;
}

}  // extern "C"
