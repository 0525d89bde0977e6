// Graphics, anchored frames, master and reference pages, footnotes and variables (see
// graphics.h), with their properties and the calls that make them: F_ApiNewGraphicObject and
// F_ApiNewAnchoredFormattedObject.
#include "graphics.h"

#include <algorithm>
#include <unordered_map>

#include "edit_support.h"
#include "element_objects.h"
#include "model_internal.h"
#include "model_layout.h"
#include "records.h"
#include "tables.h"

namespace host {

namespace {

// Graphics by id, and each document's graphics outside anchored frames in creation order.
struct GraphicStore {
    std::unordered_map<F_ObjHandleT, Graphic> byId;
    std::unordered_map<F_ObjHandleT, std::vector<F_ObjHandleT>> onPages;   // doc -> graphics on pages
    std::unordered_map<F_ObjHandleT, std::vector<F_ObjHandleT>> inFrames;  // anchored frame -> graphics
};

GraphicStore &Graphics() {
    static GraphicStore s;
    return s;
}

struct PageRec {
    F_ObjHandleT id = 0, doc = 0;
    std::string name;
};

struct PageStore {
    std::unordered_map<F_ObjHandleT, PageRec> byId;
    std::unordered_map<F_ObjHandleT, std::vector<F_ObjHandleT>> byDoc;  // in creation order, all kinds
    std::unordered_map<F_ObjHandleT, F_ObjHandleT> flowPage;            // flow -> master / reference page
    std::unordered_map<F_ObjHandleT, std::string> bodyMaster;           // body page -> master page name
};

PageStore &Pages() {
    static PageStore s;
    return s;
}

bool IsGraphicKind(int kind) {
    return (kind >= FO_FirstGraphicKind && kind <= FO_LastGraphicKind && kind != FO_TextFrame) || kind == FO_AFrame;
}

// The page of the text frame holding a paragraph (880 of its frame, as the frame reports it).
F_ObjHandleT PageOfPgf(F_ObjHandleT doc, F_ObjHandleT pgf) {
    PropValue frame, page;
    if (!GetProperty(doc, pgf, FP_InTextFrame, frame) || !GetProperty(doc, static_cast<F_ObjHandleT>(frame.i), FP_PageFramePage, page)) return 0;
    return static_cast<F_ObjHandleT>(page.i);
}

// Where an anchored frame's element stands in the text.
bool AnchorOf(F_ObjHandleT doc, F_ObjHandleT frame, F_TextLocT &out) {
    F_ObjHandleT e = ElementForObject(doc, frame);
    return e && ElementLocToText(doc, F_ElementLocT{Elem(e)->parent, e, 0}, out);
}

F_ObjHandleT PageOfGraphic(F_ObjHandleT doc, const Graphic &g) {
    if (KindOf(g.id) == FO_AFrame) {
        F_TextLocT at{};
        return AnchorOf(doc, g.id, at) ? PageOfPgf(doc, at.objId) : 0;
    }
    if (g.frame) {
        Graphic *f = GraphicOf(doc, g.frame);
        return f ? PageOfGraphic(doc, *f) : 0;
    }
    return g.page;
}

F_ObjHandleT NextIn(const std::vector<F_ObjHandleT> &v, F_ObjHandleT id) {
    auto it = std::find(v.begin(), v.end(), id);
    return it == v.end() || it + 1 == v.end() ? 0 : *(it + 1);
}

// The first graphic of v after index `from` (exclusive; v.size() for none) that is live in doc.
F_ObjHandleT LiveAfter(F_ObjHandleT doc, const std::vector<F_ObjHandleT> &v, size_t from, size_t &at) {
    for (size_t i = from + 1; i < v.size(); ++i)
        if (GraphicOf(doc, v[i])) {
            at = i;
            return v[i];
        }
    return 0;
}

// The graphic of doc's list v that comes after id (0 when none, or when id is not in v). A walk
// asks for one graphic after the other: the place found last is tried first.
F_ObjHandleT LiveNextIn(F_ObjHandleT doc, const std::vector<F_ObjHandleT> &v, F_ObjHandleT id) {
    static size_t lastAt = 0;
    size_t i = lastAt < v.size() && v[lastAt] == id ? lastAt : size_t(std::find(v.begin(), v.end(), id) - v.begin());
    if (i >= v.size()) return 0;
    return LiveAfter(doc, v, i, lastAt);
}

// The frame of the first graphic element after elem in document order (the order of
// DocumentGraphics: each flow's tree in turn, an element before its children); 0 when none.
F_ObjHandleT NextGraphicElementFrame(F_ObjHandleT doc, F_ObjHandleT elem) {
    Document *d = Doc(doc);
    if (!d) return 0;
    F_ObjHandleT e = elem;
    for (size_t guard = ElementStoreSize() + 1; e && guard--;) {
        Element *x = Elem(e);
        if (!x) return 0;
        F_ObjHandleT next = x->first;
        while (!next && e) {
            x = Elem(e);
            if (!x) return 0;
            if (x->next) {
                next = x->next;
            } else if (x->parent) {
                e = x->parent;
            } else {
                // The top of a flow's tree: on to the next flow's tree.
                auto at = std::find_if(d->flows.begin(), d->flows.end(), [e](F_ObjHandleT f) {
                    Flow *fl = FlowOf(f);
                    return fl && fl->root == e;
                });
                for (e = 0; at != d->flows.end() && ++at != d->flows.end() && !next;)
                    if (Flow *fl = FlowOf(*at); fl && fl->root) next = fl->root;
            }
        }
        e = next;
        if (Element *n = e ? Elem(e) : nullptr; n && n->def)
            if (const ElementDef *def = Def(n->def); def && def->type == FV_FO_GRAPHIC)
                if (F_ObjHandleT f = FrameOfElement(doc, e)) return f;
    }
    return 0;
}

// The graphic after g in the order of DocumentGraphics, found from where g stands without
// making the list: after an anchored frame its first graphic, after a frame's last graphic the
// next graphic element's frame, after the last frame the graphics on pages.
F_ObjHandleT NextGraphicInDoc(F_ObjHandleT doc, const Graphic &g) {
    GraphicStore &s = Graphics();
    const F_ObjHandleT frame = KindOf(g.id) == FO_AFrame ? g.id : g.frame;
    if (!frame) {
        auto pages = s.onPages.find(doc);
        return pages == s.onPages.end() ? 0 : LiveNextIn(doc, pages->second, g.id);
    }
    if (auto in = s.inFrames.find(frame); in != s.inFrames.end()) {
        size_t at = 0;
        F_ObjHandleT next = frame == g.id ? LiveAfter(doc, in->second, size_t(-1), at) : LiveNextIn(doc, in->second, g.id);
        if (next) return next;
    }
    F_ObjHandleT elem = ElementForObject(doc, frame);
    if (F_ObjHandleT f = elem ? NextGraphicElementFrame(doc, elem) : 0) return f;
    auto pages = s.onPages.find(doc);
    size_t at = 0;
    return pages == s.onPages.end() ? 0 : LiveAfter(doc, pages->second, size_t(-1), at);
}

// The document's selected graphics in document order.
std::vector<F_ObjHandleT> SelectedGraphics(F_ObjHandleT doc) {
    std::vector<F_ObjHandleT> out;
    // Most documents have no selected graphic: a look at the graphics spares walking the elements.
    bool any = false;
    for (const auto &entry : Graphics().byId)
        if (entry.second.selected) {
            any = true;
            break;
        }
    if (!any) return out;
    for (F_ObjHandleT g : DocumentGraphics(doc))
        if (Graphic *r = GraphicOf(doc, g); r && r->selected) out.push_back(g);
    return out;
}

// A graphic's field: an integer or string through typed accessors, a list of points through a
// property value.
template <auto field>
bool ReadGraphicInt(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
    Graphic *g = GraphicOf(doc, obj);
    if (!g) return false;
    out = g->*field;
    return true;
}

template <auto field>
bool WriteGraphicInt(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT in) {
    Graphic *g = GraphicOf(doc, obj);
    if (!g) return false;
    g->*field = in;
    return true;
}

template <auto field>
bool ReadGraphicString(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string &out) {
    Graphic *g = GraphicOf(doc, obj);
    if (!g) return false;
    out = g->*field;
    return true;
}

template <auto field>
bool WriteGraphicString(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, std::string_view in) {
    Graphic *g = GraphicOf(doc, obj);
    if (!g) return false;
    (g->*field).assign(in);
    return true;
}

template <auto field>
void GraphicField(int kind, int number, PropType type, bool writable) {
    using T = std::remove_cvref_t<decltype(std::declval<Graphic &>().*field)>;
    if constexpr (std::is_same_v<T, std::string>) {
        RegisterStringAccessors(kind, number, ReadGraphicString<field>, writable ? WriteGraphicString<field> : nullptr);
    } else if constexpr (std::is_same_v<T, std::vector<IntT>>) {
        PropSetter set = nullptr;
        if (writable)
            set = [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
                Graphic *g = GraphicOf(doc, obj);
                if (!g) return false;
                g->*field = in.is;
                return true;
            };
        RegisterProperty(
            kind, number, type,
            [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
                Graphic *g = GraphicOf(doc, obj);
                if (!g) return false;
                out.is = g->*field;
                return true;
            },
            set);
    } else {
        RegisterIntAccessors(kind, number, type, ReadGraphicInt<field>, writable ? WriteGraphicInt<field> : nullptr);
    }
}

// An id computed from the graphic: f(doc, graphic).
template <auto f>
bool ReadComputedId(const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT &out) {
    Graphic *g = GraphicOf(doc, obj);
    if (!g) return false;
    out = static_cast<IntT>(f(doc, *g));
    return true;
}

template <auto f>
void IdComputed(int kind, int number) {
    RegisterIntAccessors(kind, number, PropType::Id, ReadComputedId<f>);
}

void RegisterGraphicKinds() {
    for (int kind = FO_FirstGraphicKind; kind <= FO_AFrame; ++kind) {
        if (!IsGraphicKind(kind)) continue;
        RegisterKind(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) { return GraphicOf(doc, obj) != nullptr; });
        GraphicField<&Graphic::unique>(kind, FP_Unique, PropType::Int, false);
        GraphicField<&Graphic::border>(kind, FP_BorderWidth, PropType::Metric, true);
        GraphicField<&Graphic::dotFlag>(kind, FP_DotFlag, PropType::Int, true);
        GraphicField<&Graphic::pen>(kind, FP_Pen, PropType::Int, true);
        GraphicField<&Graphic::angle>(kind, FP_Angle, PropType::Metric, true);
        GraphicField<&Graphic::x>(kind, FP_LocX, PropType::Metric, true);
        GraphicField<&Graphic::y>(kind, FP_LocY, PropType::Metric, true);
        GraphicField<&Graphic::width>(kind, FP_Width, PropType::Metric, true);
        GraphicField<&Graphic::height>(kind, FP_Height, PropType::Metric, true);
        for (int n : {FP_GraphicIsSelected, FP_GraphicIsSelectedAlt})
            GraphicField<&Graphic::selected>(kind, n, PropType::Int, true);
        GraphicField<&Graphic::points>(kind, FP_Points, PropType::Ints, true);
        IdComputed<[](F_ObjHandleT, Graphic &g) { return g.frame; }>(kind, FP_FrameParent);
        IdComputed<[](F_ObjHandleT, Graphic &g) {
            return g.frame ? NextIn(Graphics().inFrames[g.frame], g.id) : 0;
        }>(kind, FP_NextGraphicInFrame);
        IdComputed<[](F_ObjHandleT doc, Graphic &g) { return NextGraphicInDoc(doc, g); }>(kind, FP_NextGraphicInDoc);
        for (int n : {FP_NextSelectedGraphicInDoc, FP_NextSelectedGraphicInDocAlt})
            IdComputed<[](F_ObjHandleT doc, Graphic &g) { return NextIn(SelectedGraphics(doc), g.id); }>(kind, n);
        IdComputed<[](F_ObjHandleT doc, Graphic &g) { return PageOfGraphic(doc, g); }>(kind, FP_PageFramePage);
    }
    GraphicField<&Graphic::path>(FO_Inset, FP_InsetFile, PropType::String, true);
    // Anchored frames: anchor, first graphic, text frame, element.
    RegisterProperty(FO_AFrame, FP_AnchorLoc, PropType::TextLoc, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        return AnchorOf(doc, obj, out.tr.beg);
    });
    IdComputed<[](F_ObjHandleT, Graphic &g) {
        const auto &v = Graphics().inFrames[g.id];
        return v.empty() ? 0 : v.front();
    }>(FO_AFrame, FP_FirstGraphicInFrame);
    IdComputed<[](F_ObjHandleT doc, Graphic &g) {
        F_TextLocT at{};
        PropValue frame;
        if (!AnchorOf(doc, g.id, at) || !GetProperty(doc, at.objId, FP_InTextFrame, frame)) return F_ObjHandleT(0);
        return static_cast<F_ObjHandleT>(frame.i);
    }>(FO_AFrame, FP_InTextFrame);
    IdComputed<[](F_ObjHandleT doc, Graphic &g) { return ElementForObject(doc, g.id); }>(FO_AFrame, FP_Element);
    RegisterElementObjectFinder(FrameOfElement);
    RegisterDeleter(FO_AFrame, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        F_ObjHandleT e = ElementForObject(doc, obj);
        return e ? DeleteElement(doc, e) : Fail(FE_BadObjId);
    });
    for (int kind = FO_FirstGraphicKind; kind <= FO_LastGraphicKind; ++kind) {
        if (!IsGraphicKind(kind)) continue;
        RegisterDeleter(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) {
            Graphic *g = GraphicOf(doc, obj);
            if (!g) return Fail(FE_BadObjId);
            std::erase(g->frame ? Graphics().inFrames[g->frame] : Graphics().onPages[doc], obj);
            g->doc = 0;
            return true;
        });
    }
    RegisterIntAccessors(FO_Doc, FP_FirstGraphicInDoc, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
        auto all = DocumentGraphics(obj);
        out = all.empty() ? 0 : static_cast<IntT>(all.front());
        return true;
    });
    for (int n : {FP_FirstSelectedGraphicInDoc, FP_FirstSelectedGraphicInDocAlt})
        RegisterIntAccessors(FO_Doc, n, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
            auto sel = SelectedGraphics(obj);
            out = sel.empty() ? 0 : static_cast<IntT>(sel.front());
            return true;
        });
}

// ---- pages ----------------------------------------------------------------------------------

PageRec *PageRecOf(F_ObjHandleT doc, F_ObjHandleT id) {
    auto it = Pages().byId.find(id);
    if (it == Pages().byId.end() || it->second.doc != doc || !Doc(doc)) return nullptr;
    return &it->second;
}

void RegisterPages() {
    for (int kind : {FO_MasterPage, FO_RefPage, FO_OtherPage}) {
        RegisterKind(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) { return PageRecOf(doc, obj) != nullptr; });
        RegisterProperty(kind, FP_Name, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            PageRec *p = PageRecOf(doc, obj);
            if (p) out.s = p->name;
            return p != nullptr;
        });
        RegisterProperty(kind, FP_PageNext, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            out.i = static_cast<IntT>(NextIn(NamedPages(doc, KindOf(obj)), obj));
            return PageRecOf(doc, obj) != nullptr;
        });
        RegisterProperty(kind, FP_PageNum, PropType::Int, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            auto v = NamedPages(doc, KindOf(obj));
            out.i = static_cast<IntT>(std::find(v.begin(), v.end(), obj) - v.begin());
            return PageRecOf(doc, obj) != nullptr;
        });
        RegisterProperty(kind, FP_PageNumString, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            PageRec *p = PageRecOf(doc, obj);
            if (p) out.s = p->name;
            return p != nullptr;
        });
        RegisterDeleter(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) {
            if (!PageRecOf(doc, obj)) return Fail(FE_BadObjId);
            std::erase(Pages().byDoc[doc], obj);
            Pages().byId.erase(obj);
            for (auto it = Pages().flowPage.begin(); it != Pages().flowPage.end();)
                it = it->second == obj ? Pages().flowPage.erase(it) : std::next(it);
            MarkChanged(doc);
            return true;
        });
    }
    const std::pair<int, int> firsts[] = {{FP_FirstMasterPageInDoc, FO_MasterPage}, {FP_FirstRefPageInDoc, FO_RefPage}};
    for (const auto &first : firsts) {
        int kind = first.second;
        RegisterProperty(FO_Doc, first.first, PropType::Id, [kind](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            auto v = NamedPages(obj, kind);
            out.i = v.empty() ? 0 : static_cast<IntT>(v.front());
            return true;
        });
    }
    RegisterProperty(
        FO_BodyPage, FP_MasterPage, PropType::String,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.s = BodyPageMaster(obj);
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            SetBodyPageMaster(obj, in.s);
            return true;
        });
    // A text frame of a flow placed on a master or reference page lies on that page.
    RegisterProperty(FO_TextFrame, FP_PageFramePage, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        Layout *l = LayoutOf(doc);
        if (!l) return false;
        const uint32_t *at = l->frameIndex.Find(obj);
        if (!at) return false;
        const FrameInfo &f = l->frames[*at];
        F_ObjHandleT placed = PageOfFlow(f.flow);
        out.i = static_cast<IntT>(placed && PageRecOf(doc, placed) ? placed : l->pages[f.page].id);
        return true;
    });
}

// ---- footnotes and variables ----------------------------------------------------------------

F_ObjHandleT FootnoteOf(F_ObjHandleT doc, F_ObjHandleT elem) { return ObjectForElement(doc, elem, FV_FO_FOOTNOTE, FO_Fn); }
F_ObjHandleT VariableOf(F_ObjHandleT doc, F_ObjHandleT elem) { return ObjectForElement(doc, elem, FV_FO_SYS_VAR, FO_Var); }

// The first or last paragraph of an element's text.
F_ObjHandleT PgfAtEdge(F_ObjHandleT doc, F_ObjHandleT elem, bool last) {
    Layout *l = nullptr;
    const auto *places = ElementTextPlaces(doc, elem, l);
    if (!places) return 0;
    uint32_t i = last ? places->second.pgf : places->first.pgf;
    return i < l->pgfs.size() ? l->pgfs[i].id : 0;
}

std::unordered_map<F_ObjHandleT, F_ObjHandleT> &VariableFormats() {
    static std::unordered_map<F_ObjHandleT, F_ObjHandleT> formats;  // variable -> variable format
    return formats;
}

void RegisterFootnotesAndVariables() {
    RegisterKind(FO_Fn, [](F_ObjHandleT doc, F_ObjHandleT obj) { return ElementForObject(doc, obj) != 0; });
    RegisterElementObjectFinder(FootnoteOf);
    RegisterProperty(FO_Fn, FP_FirstPgf, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        out.i = static_cast<IntT>(PgfAtEdge(doc, ElementForObject(doc, obj), false));
        return true;
    });
    RegisterProperty(FO_Fn, FP_LastPgf, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        out.i = static_cast<IntT>(PgfAtEdge(doc, ElementForObject(doc, obj), true));
        return true;
    });
    for (int n : {FP_ClimbParent, FP_InTextFrame})
        RegisterProperty(FO_Fn, n, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
            PropValue frame;
            F_ObjHandleT pgf = PgfAtEdge(doc, ElementForObject(doc, obj), false);
            out.i = pgf && GetProperty(doc, pgf, FP_InTextFrame, frame) ? frame.i : 0;
            return true;
        });
    // A cell climbs to the text frame of its first paragraph.
    RegisterProperty(FO_Cell, FP_ClimbParent, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        PropValue frame;
        if (!GetProperty(doc, obj, FP_InTextFrame, frame)) return false;
        out.i = frame.i;
        return true;
    });

    RegisterKind(FO_Var, [](F_ObjHandleT doc, F_ObjHandleT obj) { return ElementForObject(doc, obj) != 0; });
    RegisterElementObjectFinder(VariableOf);
    RegisterProperty(FO_Var, FP_TextRange, PropType::TextRange, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        return ElementTextRange(doc, ElementForObject(doc, obj), out.tr);
    });
    RegisterProperty(FO_Var, FP_Name, PropType::String, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        auto it = VariableFormats().find(obj);
        NamedObject *n = it == VariableFormats().end() ? nullptr : Named(it->second);
        out.s = n && n->doc == doc ? n->name : "";
        return true;
    });
    RegisterDeleter(FO_Var, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        F_ObjHandleT e = ElementForObject(doc, obj);
        return e ? DeleteElement(doc, e) : Fail(FE_BadObjId);
    });
}

}  // namespace

// ---- the model's side -----------------------------------------------------------------------

Graphic *GraphicOf(F_ObjHandleT doc, F_ObjHandleT id) {
    auto &s = Graphics();
    auto it = s.byId.find(id);
    if (it == s.byId.end() || !it->second.doc || it->second.doc != doc || !Doc(doc)) return nullptr;
    if (KindOf(id) == FO_AFrame && !ElementForObject(doc, id)) return nullptr;
    if (it->second.frame && !GraphicOf(doc, it->second.frame)) return nullptr;
    return &it->second;
}

F_ObjHandleT AddGraphic(F_ObjHandleT doc, int kind, F_ObjHandleT frame, F_ObjHandleT page) {
    Document *d = Doc(doc);
    if (!d || !IsGraphicKind(kind) || kind == FO_AFrame) return 0;
    if (frame && (KindOf(frame) != FO_AFrame || !GraphicOf(doc, frame))) return 0;
    if (!frame && !page) return 0;
    F_ObjHandleT id = NewObjectId(kind);
    Graphic g;
    g.id = id;
    g.doc = doc;
    g.frame = frame;
    g.page = frame ? 0 : page;
    g.unique = NewUniqueId();
    Graphics().byId[id] = g;
    (frame ? Graphics().inFrames[frame] : Graphics().onPages[doc]).push_back(id);
    return id;
}

F_ObjHandleT FrameOfElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT id = ObjectForElement(doc, elem, FV_FO_GRAPHIC, FO_AFrame);
    if (!id) return 0;
    auto &s = Graphics();
    if (!s.byId.count(id)) {
        Graphic g;
        g.id = id;
        g.doc = doc;
        g.unique = Doc(doc) ? NewUniqueId() : 0;
        s.byId[id] = g;
    }
    return id;
}

std::vector<F_ObjHandleT> DocumentGraphics(F_ObjHandleT doc) {
    std::vector<F_ObjHandleT> out;
    Document *d = Doc(doc);
    if (!d) return out;
    // Only a document with a graphic definition has graphic elements to look for in its tree.
    bool graphicDefs = std::any_of(d->defs.begin(), d->defs.end(), [](F_ObjHandleT def) {
        const ElementDef *x = Def(def);
        return x && x->type == FV_FO_GRAPHIC;
    });
    for (F_ObjHandleT e : graphicDefs ? ElementsOfKind(doc, FV_FO_GRAPHIC) : std::vector<F_ObjHandleT>{}) {
        F_ObjHandleT f = FrameOfElement(doc, e);
        if (!f) continue;
        out.push_back(f);
        for (F_ObjHandleT g : FrameGraphics(doc, f)) out.push_back(g);
    }
    for (F_ObjHandleT g : Graphics().onPages[doc])
        if (GraphicOf(doc, g)) out.push_back(g);
    return out;
}

std::vector<F_ObjHandleT> PageGraphics(F_ObjHandleT doc) {
    std::vector<F_ObjHandleT> out;
    for (F_ObjHandleT g : Graphics().onPages[doc])
        if (GraphicOf(doc, g)) out.push_back(g);
    return out;
}

F_ObjHandleT VariableOfElement(F_ObjHandleT doc, F_ObjHandleT elem) { return VariableOf(doc, elem); }

F_ObjHandleT VariableFormatOf(F_ObjHandleT var) {
    auto it = VariableFormats().find(var);
    return it == VariableFormats().end() ? 0 : it->second;
}

void SetVariableFormat(F_ObjHandleT var, F_ObjHandleT format) { VariableFormats()[var] = format; }

std::vector<F_ObjHandleT> FrameGraphics(F_ObjHandleT doc, F_ObjHandleT frame) {
    std::vector<F_ObjHandleT> out;
    auto it = Graphics().inFrames.find(frame);
    if (it == Graphics().inFrames.end()) return out;
    for (F_ObjHandleT g : it->second)
        if (GraphicOf(doc, g)) out.push_back(g);
    return out;
}

F_ObjHandleT AddNamedPage(F_ObjHandleT doc, int kind, const std::string &name) {
    if (!Doc(doc) || kind < FO_MasterPage || kind > FO_OtherPage) return 0;
    for (F_ObjHandleT p : NamedPages(doc, kind))
        if (Pages().byId[p].name == name) return p;
    F_ObjHandleT id = NewObjectId(kind);
    Pages().byId[id] = PageRec{id, doc, name};
    Pages().byDoc[doc].push_back(id);
    return id;
}

std::vector<F_ObjHandleT> NamedPages(F_ObjHandleT doc, int kind) {
    std::vector<F_ObjHandleT> out;
    if (!Doc(doc)) return out;
    for (F_ObjHandleT p : Pages().byDoc[doc])
        if (KindOf(p) == kind) out.push_back(p);
    return out;
}

std::string NamedPageName(F_ObjHandleT doc, F_ObjHandleT page) {
    PageRec *p = PageRecOf(doc, page);
    return p ? p->name : "";
}

void PlaceFlowOnPage(F_ObjHandleT flow, F_ObjHandleT page) {
    if (page)
        Pages().flowPage[flow] = page;
    else
        Pages().flowPage.erase(flow);
}

F_ObjHandleT PageOfFlow(F_ObjHandleT flow) {
    auto it = Pages().flowPage.find(flow);
    return it == Pages().flowPage.end() ? 0 : it->second;
}

std::string BodyPageMaster(F_ObjHandleT page) {
    auto it = Pages().bodyMaster.find(page);
    return it == Pages().bodyMaster.end() ? "Right" : it->second;
}

void SetBodyPageMaster(F_ObjHandleT page, const std::string &name) { Pages().bodyMaster[page] = name; }

// The text items of a text line: its text as one string and a paragraph end.
F_TextItemsT TextLineItems(F_ObjHandleT doc, F_ObjHandleT line, IntT flags) {
    Graphic *g = GraphicOf(doc, line);
    F_TextItemsT out{0, nullptr};
    if (!g || KindOf(line) != FO_TextLine) {
        Fail(FE_BadObjId);
        out.val = static_cast<F_TextItemT *>(F_Alloc(0, NO_DSE));
        return out;
    }
    std::vector<F_TextItemT> items;
    if ((flags & FTI_String) && !g->text.empty()) items.push_back(F_TextItemT{0, FTI_String, NewString(g->text), 0, 0});
    if (flags & FTI_LineEnd) items.push_back(F_TextItemT{static_cast<IntT>(Utf8Length(g->text)), FTI_LineEnd, nullptr, 0, 1});
    out.len = static_cast<UIntT>(items.size());
    out.val = static_cast<F_TextItemT *>(F_Alloc(static_cast<UIntT>(items.size() * sizeof(F_TextItemT)), NO_DSE));
    std::copy(items.begin(), items.end(), out.val);
    return out;
}

void RegisterGraphicProperties() {
    RegisterGraphicKinds();
    RegisterPages();
    RegisterFootnotesAndVariables();
}

// A variable of a format at a text location: a system-variable element holding the format's
// definition text.
F_ObjHandleT NewVariable(F_ObjHandleT doc, const std::string &format, const F_TextLocT &loc) {
    F_ObjHandleT fmt = FindNamed(doc, FO_VarFmt, format);
    if (!fmt) return Fail(FE_BadName), 0;
    F_ElementLocT at{};
    if (!TextLocToElement(doc, loc, at) || !at.parentId) return Fail(FE_BadParameter), 0;
    if (!HasIdsLeft(FO_Element, 3)) return 0;
    F_ObjHandleT before = PlaceBefore(doc, at);
    F_ObjHandleT e = NewElement(doc, DefinitionOfKind(doc, FV_FO_SYS_VAR, "Variable"));
    LinkChild(at.parentId, e, before);
    PropValue def;
    if (GetProperty(doc, fmt, FP_Fmt, def) && !def.s.empty()) AppendText(doc, e, def.s);
    MarkChanged(doc);
    F_ObjHandleT var = VariableOf(doc, e);
    VariableFormats()[var] = fmt;
    return var;
}

}  // namespace host

using namespace host;

extern "C" {

F_ObjHandleT F_ApiNewGraphicObject(F_ObjHandleT docId, IntT objType, F_ObjHandleT parentId) {
    if (!Doc(docId)) return Fail(FE_BadDocId), 0;
    int parentKind = KindOf(parentId);
    F_ObjHandleT made = 0;
    if (parentKind == FO_AFrame)
        made = AddGraphic(docId, objType, parentId, 0);
    else if (parentKind >= FO_BodyPage && parentKind <= FO_OtherPage && ObjectValid(docId, parentId))
        made = AddGraphic(docId, objType, 0, parentId);
    if (!made) Fail(FE_BadParameter);
    return made;
}

F_ObjHandleT F_ApiNewAnchoredFormattedObject(F_ObjHandleT docId, IntT objType, ConStringT format, const F_TextLocT *loc) {
    if (!Doc(docId) || !loc) return Fail(FE_BadDocId), 0;
    if (objType != FO_Var) return Fail(FE_Unsupported), 0;
    return NewVariable(docId, format ? format : "", *loc);
}

}  // extern "C"
