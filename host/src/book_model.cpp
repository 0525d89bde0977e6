// Books and their components (see book_model.h).
#include "book_model.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>

#include "model_internal.h"

namespace host {

namespace {

struct BookStore {
    std::unordered_map<F_ObjHandleT, Book> books;
    std::unordered_map<F_ObjHandleT, BookComponent> comps;
    std::unordered_map<F_ObjHandleT, F_ObjHandleT> compOfElem;
};
BookStore &Books() {
    static BookStore s;
    return s;
}

std::string FileNameOf(const std::string &path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A definition of a book's elements (kept per book, by name).
F_ObjHandleT BookDef(F_ObjHandleT book, const std::string &tag) {
    static std::unordered_map<std::string, F_ObjHandleT> defs;
    std::string key = std::to_string(book) + "\n" + tag;
    auto it = defs.find(key);
    if (it != defs.end() && Def(it->second)) return it->second;
    auto [id, def] = TheStore().defs.New(FO_ElementDef);
    if (!def) return 0;
    def->id = id;
    def->doc = book;
    def->name = tag;
    def->type = FV_FO_CONTAINER;
    defs[key] = id;
    return id;
}

F_ObjHandleT NewBookElement(F_ObjHandleT book, const std::string &tag) {
    auto [id, e] = TheStore().elements.New(FO_Element);
    if (!e) return 0;
    e->doc = book;
    e->def = BookDef(book, tag);
    return id;
}

const std::vector<F_ObjHandleT> &Siblings(const BookComponent &c) {
    return c.parent ? Books().comps[c.parent].children : Books().books[c.book].components;
}

F_ObjHandleT NextSibling(const BookComponent &c) {
    const auto &s = Siblings(c);
    auto it = std::find(s.begin(), s.end(), c.id);
    return it != s.end() && it + 1 != s.end() ? *(it + 1) : 0;
}

void Order(F_ObjHandleT comp, std::vector<F_ObjHandleT> &out) {
    out.push_back(comp);
    for (F_ObjHandleT c : Books().comps[comp].children) Order(c, out);
}

void ForgetComponent(F_ObjHandleT comp) {
    BookComponent &c = Books().comps[comp];
    for (F_ObjHandleT k : c.children) ForgetComponent(k);
    Books().compOfElem.erase(c.elem);
    c.book = 0;
}

bool DeleteComponent(F_ObjHandleT book, F_ObjHandleT comp) {
    BookComponent *c = ComponentOf(comp);
    if (!c || c->book != book) return Fail(FE_BadObjId);
    auto &s = c->parent ? Books().comps[c->parent].children : Books().books[book].components;
    s.erase(std::remove(s.begin(), s.end(), comp), s.end());
    if (c->elem && Elem(c->elem)) {
        Unlink(c->elem);
        DestroySubtree(c->elem);
    }
    ForgetComponent(comp);
    return true;
}

// Ids of a book or component computed by fn(object), a lambda without captures: read through a
// plain function made for each.
template <class Fn>
void BookId(int number, Fn) {
    static_assert(std::is_empty_v<Fn> && std::is_default_constructible_v<Fn>);
    RegisterIntAccessors(FO_Book, number, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
        out = static_cast<IntT>(Fn{}(*BookOf(obj)));
        return true;
    });
}

template <class Fn>
void CompId(int number, Fn) {
    static_assert(std::is_empty_v<Fn> && std::is_default_constructible_v<Fn>);
    RegisterIntAccessors(FO_BookComponent, number, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
        out = static_cast<IntT>(Fn{}(*ComponentOf(obj)));
        return true;
    });
}

}  // namespace

Book *BookOf(F_ObjHandleT book) {
    auto it = Books().books.find(book);
    if (it == Books().books.end() || !it->second.open) return nullptr;
    const auto &open = TheSession().openBooks;  // a session reset closes every book
    return std::find(open.begin(), open.end(), book) != open.end() ? &it->second : nullptr;
}

BookComponent *ComponentOf(F_ObjHandleT comp) {
    auto it = Books().comps.find(comp);
    return it != Books().comps.end() && it->second.book && BookOf(it->second.book) ? &it->second : nullptr;
}

F_ObjHandleT NewBook(const std::string &path, const std::string &rootTag, const std::string &label, bool visible) {
    F_ObjHandleT id = NewObjectId(FO_Book);
    if (!id) return 0;
    Book &b = Books().books[id];
    b.id = id;
    b.open = true;
    b.path = path;
    b.label = label.empty() ? FileNameOf(path) : label;
    b.visible = visible ? 1 : 0;
    b.root = NewBookElement(id, rootTag.empty() ? "Book" : rootTag);
    if (!b.root) {  // no element ids left
        Books().books.erase(id);
        return 0;
    }
    TheSession().openBooks.push_back(id);
    return id;
}

F_ObjHandleT AddBookComponent(F_ObjHandleT book, F_ObjHandleT parent, const std::string &path, IntT type,
                              const std::string &tag) {
    Book *b = BookOf(book);
    if (!b) return 0;
    BookComponent *p = parent ? ComponentOf(parent) : nullptr;
    if (parent && (!p || p->book != book || p->type == FV_BK_DOC_FILE)) return 0;
    F_ObjHandleT elem = NewBookElement(book, tag.empty() ? (type == FV_BK_DOC_FILE ? "BookComponent" : "Folder") : tag);
    F_ObjHandleT id = elem ? NewObjectId(FO_BookComponent) : 0;
    if (!id) return 0;
    BookComponent &c = Books().comps[id];
    c.id = id;
    c.book = book;
    c.path = path;
    c.type = type;
    c.parent = parent;
    c.elem = elem;
    Books().compOfElem[c.elem] = id;
    LinkChild(parent ? Books().comps[parent].elem : b->root, c.elem, 0);
    (parent ? Books().comps[parent].children : b->components).push_back(id);
    return id;
}

bool CloseBook(F_ObjHandleT book) {
    Book *b = BookOf(book);
    if (!b) return Fail(FE_BadObjId);
    for (F_ObjHandleT c : b->components) ForgetComponent(c);
    if (Elem(b->root)) DestroySubtree(b->root);
    b->open = false;
    auto &open = TheSession().openBooks;
    open.erase(std::remove(open.begin(), open.end(), book), open.end());
    if (TheSession().activeBook == book) TheSession().activeBook = 0;
    return true;
}

std::vector<F_ObjHandleT> BookOrder(F_ObjHandleT book) {
    std::vector<F_ObjHandleT> out;
    if (Book *b = BookOf(book))
        for (F_ObjHandleT c : b->components) Order(c, out);
    return out;
}

void RegisterBookProperties() {
    RegisterKind(FO_Book, [](F_ObjHandleT doc, F_ObjHandleT obj) { return doc == 0 && BookOf(obj); });
    RegisterKind(FO_BookComponent, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        BookComponent *c = ComponentOf(obj);
        return c && c->book == doc;
    });
    RegisterCloser(FO_Book, [](F_ObjHandleT obj, IntT) { return CloseBook(obj); });
    RegisterDeleter(FO_BookComponent, DeleteComponent);
    RegisterProperty(FO_Book, FP_Path, PropType::String, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        out.s = BookOf(obj)->path;
        return true;
    });
    RegisterProperty(
        FO_Book, FP_Label, PropType::String,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.s = BookOf(obj)->label;
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            BookOf(obj)->label = in.s;
            return true;
        });
    for (int n : {FP_IsInFront, FP_IsOnScreen})
        RegisterProperty(
            FO_Book, n, PropType::Int,
            [n](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
                out.i = n == FP_IsInFront ? BookOf(obj)->inFront : BookOf(obj)->visible;
                return true;
            },
            [n](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
                (n == FP_IsInFront ? BookOf(obj)->inFront : BookOf(obj)->visible) = in.i ? 1 : 0;
                return true;
            });
    for (int n : {FP_ScreenX, FP_ScreenY, FP_ScreenW, FP_ScreenH}) RegisterStoredProperty(FO_Book, n, PropType::Int);
    BookId(FP_NextOpenBookInSession, [](const Book &b) {
        const auto &open = TheSession().openBooks;
        auto it = std::find(open.begin(), open.end(), b.id);
        return it != open.end() && it + 1 != open.end() ? *(it + 1) : 0;
    });
    BookId(FP_FirstComponentInBook, [](const Book &b) { return b.components.empty() ? 0 : b.components.front(); });
    BookId(FP_HighestLevelElement, [](const Book &b) { return b.root; });
    RegisterProperty(
        FO_BookComponent, FP_Path, PropType::String,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.s = ComponentOf(obj)->path;
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            ComponentOf(obj)->path = in.s;
            return true;
        });
    RegisterProperty(FO_BookComponent, FP_ComponentType, PropType::Int, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        out.i = ComponentOf(obj)->type;
        return true;
    });
    CompId(FP_NextComponentInBook, [](const BookComponent &c) { return NextSibling(c); });
    CompId(FP_FirstChildComponent, [](const BookComponent &c) { return c.children.empty() ? 0 : c.children.front(); });
    CompId(FP_ParentComponent, [](const BookComponent &c) { return c.parent; });
    CompId(FP_ComponentElement, [](const BookComponent &c) { return c.elem; });
    CompId(FP_NextComponentInBookOrder, [](const BookComponent &c) {
        std::vector<F_ObjHandleT> order = BookOrder(c.book);
        auto it = std::find(order.begin(), order.end(), c.id);
        return it != order.end() && it + 1 != order.end() ? *(it + 1) : 0;
    });
    RegisterStoredProperty(FO_BookComponent, FP_ComponentFlag, PropType::Int);
    RegisterStoredProperty(FO_BookComponent, FP_ComponentText, PropType::String);
    RegisterProperty(FO_Element, FP_BookComponent, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        auto it = Books().compOfElem.find(obj);
        out.i = it == Books().compOfElem.end() ? 0 : static_cast<IntT>(it->second);
        return true;
    });
}

}  // namespace host
