// Books and their components (see books.h).
#include "lib/host/books.h"

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "lib/run_state.h"

namespace {

constexpr int kWalkStepLimit = 10000;
constexpr UIntT kFirstComponentId = 100000;

constexpr UIntT MoveDown = 1;
constexpr UIntT MoveNext = 2;
constexpr UIntT MoveUp = 3;

// BookWalkCursors: one cursor per book, as three parallel lists.
struct BookWalkCursorsT {
    bool initialised = false;
    std::vector<UIntT> books;
    std::vector<UIntT> components;
    std::vector<UIntT> moves;
};
BookWalkCursorsT BookWalkCursors;

// One cursor per book walked; kept between the steps of a walk, which callers reset at its start.
[[maybe_unused]] const bool resetBookWalkCursors = om_RunStateRegister("book walk cursors", RunStateKind::Run, [] {
    BookWalkCursors = BookWalkCursorsT{};
});

long CursorOf(F_ObjHandleT book) {
    for (size_t i = 0; i < BookWalkCursors.books.size(); ++i)
        if (BookWalkCursors.books[i] == book) return static_cast<long>(i);
    return -1;
}

void RemoveCursor(long i) {
    BookWalkCursors.books.erase(BookWalkCursors.books.begin() + i);
    BookWalkCursors.components.erase(BookWalkCursors.components.begin() + i);
    BookWalkCursors.moves.erase(BookWalkCursors.moves.begin() + i);
}

bool SamePath(const std::string &a, const std::string &b) {
    return F_StrICmp(DocPathNormalized(a).c_str(), DocPathNormalized(b).c_str()) == 0;
}

// The first open document whose path, normalised, equals the component's path; documents
// without a path are passed over.
F_ObjHandleT OpenDocOfPath(const std::string &path) {
    if (path.empty()) return 0;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d; d = F_ApiGetId(0, d, FP_NextOpenDocInSession)) {
        std::string p = HostGetString(0, d, FP_Path);
        if (!p.empty() && SamePath(p, path)) return d;
    }
    return 0;
}

// The position of the document's component among the book's document components; -1 when none.
long ComponentIndexOfDoc(const std::vector<F_ObjHandleT> &comps, F_ObjHandleT book, F_ObjHandleT doc) {
    std::string path = HostGetString(0, doc, FP_Path);
    if (path.empty()) return -1;
    for (size_t i = 0; i < comps.size(); ++i)
        if (F_StrICmp(HostGetString(book, comps[i], FP_Path).c_str(), path.c_str()) == 0) return static_cast<long>(i);
    return -1;
}

}  // namespace

// ---- component walk -------------------------------------------------------------------------

void om_BookWalkReset(IntT force) {
    if (BookWalkCursors.initialised && !force) return;
    BookWalkCursors = BookWalkCursorsT{};
    BookWalkCursors.initialised = true;
}

F_ObjHandleT om_BookWalkFirst(F_ObjHandleT bookId, IntT type) {
    if (!bookId) return 0;
    om_BookWalkReset(0);
    F_ObjHandleT first = F_ApiGetId(0, bookId, FP_FirstComponentInBook);
    long i = CursorOf(bookId);
    if (!first) {
        if (i >= 0) RemoveCursor(i);
        return 0;
    }
    if (i < 0) {
        BookWalkCursors.books.push_back(bookId);
        BookWalkCursors.components.push_back(first);
        BookWalkCursors.moves.push_back(MoveDown);
    } else {
        BookWalkCursors.components[i] = first;
        BookWalkCursors.moves[i] = MoveDown;
    }
    if (type < 0 || F_ApiGetInt(bookId, first, FP_ComponentType) == type) return first;
    return om_BookWalkNext(bookId, type);
}

F_ObjHandleT om_BookWalkNext(F_ObjHandleT bookId, IntT type) {
    long i = CursorOf(bookId);
    if (i < 0) return 0;
    for (int step = 0; step < kWalkStepLimit; ++step) {
        F_ObjHandleT cur = BookWalkCursors.components[i];
        F_ObjHandleT reached = 0;
        UIntT move = 0;
        if (BookWalkCursors.moves[i] != MoveUp && (reached = F_ApiGetId(bookId, cur, FP_FirstChildComponent))) move = MoveDown;
        if (!reached && (reached = F_ApiGetId(bookId, cur, FP_NextComponentInBook))) move = MoveNext;
        if (!reached && (reached = F_ApiGetId(bookId, cur, FP_ParentComponent))) move = MoveUp;
        if (!reached) {
            RemoveCursor(i);
            return 0;
        }
        BookWalkCursors.components[i] = reached;
        BookWalkCursors.moves[i] = move;
        if (move != MoveUp && (type < 0 || F_ApiGetInt(bookId, reached, FP_ComponentType) == type)) return reached;
    }
    return BookWalkCursors.components[i];
}

F_ObjHandleT om_BookWalkCurrent(F_ObjHandleT bookId) {
    long i = CursorOf(bookId);
    return i < 0 ? 0 : BookWalkCursors.components[i];
}

IntT om_BookWalkCount(F_ObjHandleT bookId, IntT type) {
    IntT n = 0;
    for (F_ObjHandleT c = om_BookWalkFirst(bookId, type); c; c = om_BookWalkNext(bookId, type)) ++n;
    return n;
}

IntT om_BookDeleteEmptyContainers(F_ObjHandleT bookId, IntT type2, IntT type64) {
    if (!bookId) return 0;
    std::vector<F_ObjHandleT> empty;
    for (F_ObjHandleT c = om_BookWalkFirst(bookId, -1); c; c = om_BookWalkNext(bookId, -1)) {
        IntT t = F_ApiGetInt(bookId, c, FP_ComponentType);
        if (((t == 2 && type2) || (t == 64 && type64)) && !F_ApiGetId(bookId, c, FP_FirstChildComponent))
            empty.push_back(c);
    }
    for (F_ObjHandleT c : empty) F_ApiDelete(bookId, c);
    return static_cast<IntT>(empty.size());
}

std::vector<F_ObjHandleT> BookDocComponents(F_ObjHandleT bookId) {
    std::vector<F_ObjHandleT> out;
    if (!bookId) return out;
    F_ObjHandleT cur = F_ApiGetId(0, bookId, FP_FirstComponentInBook);
    bool up = false;
    for (int step = 0; cur && step < kWalkStepLimit; ++step) {
        if (!up && F_ApiGetInt(bookId, cur, FP_ComponentType) == FV_BK_DOC_FILE) out.push_back(cur);
        F_ObjHandleT child = up ? 0 : F_ApiGetId(bookId, cur, FP_FirstChildComponent);
        if (child) {
            cur = child;
            up = false;
        } else if (F_ObjHandleT next = F_ApiGetId(bookId, cur, FP_NextComponentInBook)) {
            cur = next;
            up = false;
        } else {
            cur = F_ApiGetId(bookId, cur, FP_ParentComponent);
            up = true;
        }
    }
    return out;
}

// ---- components and documents ---------------------------------------------------------------

F_ObjHandleT om_BookOfDoc(F_ObjHandleT docId) {
    std::string path = HostGetString(0, docId, FP_Path);
    if (!docId || path.empty()) return 0;
    for (F_ObjHandleT b = F_ApiGetId(0, 0, FP_FirstOpenBook); b; b = F_ApiGetId(0, b, FP_NextOpenBookInSession))
        for (F_ObjHandleT c : BookDocComponents(b))
            if (F_StrICmp(HostGetString(b, c, FP_Path).c_str(), path.c_str()) == 0) return b;
    return 0;
}

F_ObjHandleT om_BookComponentDoc(F_ObjHandleT bookId, UIntT componentOrIndex, F_ObjHandleT componentElem, IntT open,
                                 IntT optionA, IntT optionB, IntT optionG, F_ObjHandleT *rootOut) {
    if (rootOut) *rootOut = 0;
    if (!bookId) return 0;
    F_ObjHandleT comp = 0;
    if (componentOrIndex == 0 && componentElem) {
        comp = F_ApiGetId(bookId, componentElem, FP_BookComponent);
    } else if (componentOrIndex < kFirstComponentId) {
        comp = F_ApiGetId(0, bookId, FP_FirstComponentInBook);
        for (UIntT k = 0; comp && k < componentOrIndex; ++k) comp = F_ApiGetId(bookId, comp, FP_NextComponentInBookOrder);
    } else {
        comp = componentOrIndex;
    }
    if (!comp) return 0;
    std::string path = HostGetString(bookId, comp, FP_Path);
    F_ObjHandleT doc = OpenDocOfPath(path);
    if (!doc && open == 1 && !path.empty()) doc = om_DocOpen(path.c_str(), 0, 0, optionA, optionB, 0, optionG);
    if (rootOut && doc) {
        *rootOut = om_ElementHighestLevel(doc, "Main", 0);
        if (!*rootOut) *rootOut = F_ApiGetId(0, doc, FP_FirstFlowInDoc);
    }
    return doc;
}

F_ObjHandleT om_BookComponentFindDoc(F_ObjHandleT bookId, F_ObjHandleT componentId) {
    if (!bookId || !componentId) return 0;
    std::string path = HostGetString(bookId, componentId, FP_Path);
    return path.empty() ? 0 : om_DocFindOpen(path, 0, 1);
}

F_ObjHandleT om_BookComponentOfDoc(F_ObjHandleT bookId, F_ObjHandleT docId, const std::string &path) {
    if (!docId) docId = om_DocFindByPath(path);
    if (!bookId) bookId = om_BookOfDoc(docId);
    if (!bookId || !docId) return 0;
    for (F_ObjHandleT c : BookDocComponents(bookId))
        if (om_BookComponentDoc(bookId, c, 0, 0, 0, 0, 0, nullptr) == docId) return c;
    return 0;
}

F_ObjHandleT om_DocBookComponentElement(F_ObjHandleT docId, const std::string &path, F_ObjHandleT *bookOut) {
    F_ObjHandleT book = om_BookOfDoc(docId);
    if (bookOut) *bookOut = book;
    F_ObjHandleT comp = book ? om_BookComponentOfDoc(book, docId, path) : 0;
    return comp ? F_ApiGetId(book, comp, FP_ComponentElement) : 0;
}

IntT om_BookAllComponentsOpen(F_ObjHandleT bookId) {
    if (!bookId) return 0;
    for (F_ObjHandleT c : BookDocComponents(bookId))
        if (!om_BookComponentDoc(bookId, c, 0, 0, 0, 0, 0, nullptr)) return 0;
    return 1;
}

F_ObjHandleT om_BookFirstComponentDoc(F_ObjHandleT bookId, IntT open, IntT search) {
    std::vector<F_ObjHandleT> comps = BookDocComponents(bookId);
    for (size_t i = 0; i < comps.size(); ++i) {
        F_ObjHandleT doc = om_BookComponentDoc(bookId, comps[i], 0, open, 1, 0, 1, nullptr);
        if (doc || open == 1 || search != 1) return doc;
    }
    return 0;
}

F_ObjHandleT om_BookNextComponentDoc(F_ObjHandleT bookId, F_ObjHandleT docId, IntT open, IntT wrap, IntT skip) {
    if (!docId) return 0;
    if (!bookId) bookId = om_BookOfDoc(docId);
    if (!bookId) return 0;
    std::vector<F_ObjHandleT> comps = BookDocComponents(bookId);
    long at = ComponentIndexOfDoc(comps, bookId, docId);
    if (at < 0) return 0;
    size_t n = comps.size();
    size_t k = static_cast<size_t>(at) + 1;
    bool wrapped = false;
    for (size_t tries = 0; tries <= n; ++tries) {
        if (k >= n) {
            if (wrap != 1 || wrapped) return 0;
            k = 0;
            wrapped = true;
        }
        F_ObjHandleT doc = om_BookComponentDoc(bookId, comps[k], 0, open, 1, 0, 1, nullptr);
        if (doc == docId) return 0;
        if (doc || open == 1 || skip != 1) return doc;
        ++k;
    }
    return 0;
}

std::vector<std::string> om_BookComponentPaths(F_ObjHandleT bookId) {
    std::vector<std::string> out;
    for (F_ObjHandleT c : BookDocComponents(bookId)) {
        std::string p = HostGetString(bookId, c, FP_Path);
        if (!p.empty()) out.push_back(p);
    }
    return out;
}

F_ObjHandleT om_BookFirstOpenComponent(F_ObjHandleT bookId, F_ObjHandleT afterDocId, IntT any) {
    bool counting = afterDocId == 0;
    for (F_ObjHandleT c : BookDocComponents(bookId)) {
        F_ObjHandleT doc = om_DocFindOpen(HostGetString(bookId, c, FP_Path), 0, 0);
        if (!doc) continue;
        if (any == 1) return doc;
        if (doc == afterDocId) counting = true;
        if (counting && F_ApiGetInt(bookId, c, FP_ComponentFlag)) return doc;
    }
    return 0;
}

IntT om_BookCountComponents(F_ObjHandleT bookId) {
    if (!bookId) bookId = om_BookActive();
    if (!bookId) return -1;
    return static_cast<IntT>(BookDocComponents(bookId).size());
}

F_ObjHandleT om_BookOpenAll(F_ObjHandleT bookId, const std::string &bookPath) {
    if (!bookId && !bookPath.empty()) bookId = om_DocOpen(bookPath.c_str(), 0, 0, 1, 0, 0, 1);
    if (!bookId) return 0;
    for (F_ObjHandleT c : BookDocComponents(bookId)) om_BookComponentDoc(bookId, c, 0, 1, 1, 0, 1, nullptr);
    F_ApiSetId(0, 0, FP_ActiveBook, bookId);
    return bookId;
}
