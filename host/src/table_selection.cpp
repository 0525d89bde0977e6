// The selected cells of a table: an element selection of whole cells of one row, or of whole
// rows of one table part, selects those cells. The document's selected table (129) is their
// table; the table's top and bottom selected rows (1341, 1342) and left and right selected
// columns (1343, 1344, 0-based) bound them. Anything else selects no cells (0 throughout).
#include "model_layout.h"
#include "tables.h"

namespace host {

namespace {

IntT KindOf(F_ObjHandleT e) {
    Element *x = Elem(e);
    ElementDef *d = x ? Def(x->def) : nullptr;
    return d ? d->type : 0;
}

// Index of a child among its parent's children of the same kind.
IntT IndexAmong(F_ObjHandleT e) {
    Element *x = Elem(e);
    IntT i = 0;
    for (F_ObjHandleT c = x && x->parent ? Elem(x->parent)->first : 0; c && c != e; c = Elem(c)->next)
        if (KindOf(c) == KindOf(e)) ++i;
    return i;
}

// The last child of the kind before `stop` (0: the end of the parent).
F_ObjHandleT LastBefore(F_ObjHandleT parent, F_ObjHandleT stop, IntT kind) {
    F_ObjHandleT last = 0;
    for (F_ObjHandleT c = Elem(parent)->first; c && c != stop; c = Elem(c)->next)
        if (KindOf(c) == kind) last = c;
    return last;
}

struct CellBlock {
    F_ObjHandleT table = 0;  // element
    F_ObjHandleT top = 0, bottom = 0;  // row elements
    IntT left = 0, right = 0;
};

bool SelectedCells(F_ObjHandleT doc, CellBlock &b) {
    Document *d = Doc(doc);
    if (!d) return false;
    F_ElementRangeT r = SelectionElements(*d);
    F_ObjHandleT first = r.beg.childId;
    if (!first || r.beg.parentId != r.end.parentId || !Elem(first)) return false;
    IntT kind = KindOf(first);
    if (kind == FV_FO_TBL_CELL) {
        F_ObjHandleT last = LastBefore(r.beg.parentId, r.end.childId, FV_FO_TBL_CELL);
        if (!last) return false;
        b.top = b.bottom = r.beg.parentId;
        b.left = IndexAmong(first);
        b.right = IndexAmong(last);
    } else if (kind == FV_FO_TBL_ROW) {
        F_ObjHandleT last = LastBefore(r.beg.parentId, r.end.childId, FV_FO_TBL_ROW);
        if (!last) return false;
        b.top = first;
        b.bottom = last;
        IntT cells = 0;
        for (F_ObjHandleT c = Elem(first)->first; c; c = Elem(c)->next) cells += KindOf(c) == FV_FO_TBL_CELL;
        b.left = 0;
        b.right = cells - 1;
    } else {
        return false;
    }
    for (F_ObjHandleT e = b.top; e && !b.table; e = Elem(e)->parent)
        if (KindOf(e) == FV_FO_TBL) b.table = e;
    return b.table != 0;
}

// The block when the table object is the selected cells' table.
bool BlockOf(F_ObjHandleT doc, F_ObjHandleT table, CellBlock &b) {
    return SelectedCells(doc, b) && TableObjectOf(doc, b.table) == table;
}

}  // namespace

void RegisterTableSelectionProperties() {
    RegisterProperty(FO_Doc, FP_SelectedTbl, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        CellBlock b;
        out.i = SelectedCells(obj, b) ? static_cast<IntT>(TableObjectOf(obj, b.table)) : 0;
        return true;
    });
    auto valid = [](F_ObjHandleT doc, F_ObjHandleT obj) { return TableObjectElement(obj) && Elem(TableObjectElement(obj))->doc == doc; };
    RegisterProperty(FO_Tbl, FP_TopRowSelection, PropType::Id, [valid](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        CellBlock b;
        out.i = BlockOf(doc, obj, b) ? static_cast<IntT>(TableObjectOf(doc, b.top)) : 0;
        return valid(doc, obj);
    });
    RegisterProperty(FO_Tbl, FP_BottomRowSelection, PropType::Id, [valid](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        CellBlock b;
        out.i = BlockOf(doc, obj, b) ? static_cast<IntT>(TableObjectOf(doc, b.bottom)) : 0;
        return valid(doc, obj);
    });
    RegisterProperty(FO_Tbl, FP_LeftColNum, PropType::Int, [valid](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        CellBlock b;
        out.i = BlockOf(doc, obj, b) ? b.left : 0;
        return valid(doc, obj);
    });
    RegisterProperty(FO_Tbl, FP_RightColNum, PropType::Int, [valid](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        CellBlock b;
        out.i = BlockOf(doc, obj, b) ? b.right : 0;
        return valid(doc, obj);
    });
}

}  // namespace host
