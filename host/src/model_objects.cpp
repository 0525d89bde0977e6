// The properties of the session, documents, flows, element definitions, elements and named
// objects (formats, colours, marker types), registered in the property table; also their
// validity tests, F_ApiClose of documents and the named-object lookups.
#include <algorithm>

#include "model.h"
#include "model_internal.h"

namespace host {

void RegisterLayoutProperties();  // model_layout.cpp
void RegisterEditCalls();         // model_edit.cpp
void RegisterEditExtensions();    // edit_support.cpp: tables, markers, books

namespace {

using G = PropGetter;
using S = PropSetter;

// Property getters and setters over a field of a struct reached through a lookup function.
template <class T>
using Finder = T *(*)(F_ObjHandleT);

template <class T>
void IntField(int kind, int number, Finder<T> find, IntT T::*field, bool writable, PropType type = PropType::Int) {
    S set = nullptr;
    if (writable)
        set = [find, field](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            T *t = find(obj);
            if (!t) return false;
            t->*field = in.i;
            return true;
        };
    RegisterProperty(
        kind, number, type,
        [find, field](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            T *t = find(obj);
            if (!t) return false;
            out.i = t->*field;
            return true;
        },
        set);
}

template <class T>
void IdField(int kind, int number, Finder<T> find, F_ObjHandleT T::*field) {
    RegisterProperty(kind, number, PropType::Id, [find, field](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        T *t = find(obj);
        if (!t) return false;
        out.i = static_cast<IntT>(t->*field);
        return true;
    });
}

template <class T>
void StringField(int kind, int number, Finder<T> find, std::string T::*field, bool writable) {
    S set = nullptr;
    if (writable)
        set = [find, field](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            T *t = find(obj);
            if (!t) return false;
            t->*field = in.s;
            return true;
        };
    RegisterProperty(
        kind, number, PropType::String,
        [find, field](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            T *t = find(obj);
            if (!t) return false;
            out.s = t->*field;
            return true;
        },
        set);
}

// An id computed from the object.
template <class T>
void IdOf(int kind, int number, Finder<T> find, std::function<F_ObjHandleT(T &)> f) {
    RegisterProperty(kind, number, PropType::Id, [find, f](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        T *t = find(obj);
        if (!t) return false;
        out.i = static_cast<IntT>(f(*t));
        return true;
    });
}

F_ObjHandleT FirstOf(const std::vector<F_ObjHandleT> &v) { return v.empty() ? 0 : v.front(); }

F_ObjHandleT NextIn(const std::vector<F_ObjHandleT> &v, F_ObjHandleT id) {
    auto it = std::find(v.begin(), v.end(), id);
    return (it == v.end() || it + 1 == v.end()) ? 0 : *(it + 1);
}

F_ObjHandleT FirstNamed(Document &d, int kind) {
    auto it = d.named.find(kind);
    return it == d.named.end() ? 0 : FirstOf(it->second);
}

Document *DocSlot(F_ObjHandleT id) { return Doc(id); }
Session *SessionSlot(F_ObjHandleT) { return &TheSession(); }

PropValue IntValue(IntT i) {
    PropValue v;
    v.i = i;
    return v;
}

void RegisterSession() {
    RegisterKind(0, [](F_ObjHandleT doc, F_ObjHandleT obj) { return doc == 0 && obj == 0; });
    IntField<Session>(0, FP_VersionMajor, SessionSlot, &Session::versionMajor, false);
    IntField<Session>(0, FP_VersionMinor, SessionSlot, &Session::versionMinor, false);
    IntField<Session>(0, FP_Language, SessionSlot, &Session::language, false);
    StringField<Session>(0, FP_HostDir, SessionSlot, &Session::hostDir, false);
    RegisterProperty(0, FP_FirstOpenDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
        out.i = static_cast<IntT>(FirstOf(TheSession().openDocs));
        return true;
    });
    RegisterProperty(0, FP_FirstOpenBook, PropType::Id, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
        out.i = static_cast<IntT>(FirstOf(TheSession().openBooks));
        return true;
    });
    auto active = [](F_ObjHandleT Session::*field, int kind) {
        return std::make_pair(
            G([field](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
                F_ObjHandleT id = TheSession().*field;
                out.i = ObjectValid(0, id) ? static_cast<IntT>(id) : 0;
                return true;
            }),
            S([field, kind](F_ObjHandleT, F_ObjHandleT, const PropValue &in) {
                auto id = static_cast<F_ObjHandleT>(in.i);
                if (id && (KindOf(id) != kind || !ObjectValid(0, id))) return Fail(FE_BadObjId);
                TheSession().*field = id;
                return true;
            }));
    };
    auto [gd, sd] = active(&Session::activeDoc, FO_Doc);
    RegisterProperty(0, FP_ActiveDoc, PropType::Id, gd, sd);
    auto [gb, sb] = active(&Session::activeBook, FO_Book);
    RegisterProperty(0, FP_ActiveBook, PropType::Id, gb, sb);
    for (int n : {FP_Displaying, FP_DisplayUpdates, FP_DisplayRedraw}) RegisterStoredProperty(0, n, PropType::Int, IntValue(1));
}

void RegisterDocument() {
    RegisterKind(FO_Doc, DocValid);
    RegisterCloser(FO_Doc, [](F_ObjHandleT obj, IntT) { return CloseDocument(obj); });
    StringField<Document>(FO_Doc, FP_Path, DocSlot, &Document::path, false);
    StringField<Document>(FO_Doc, FP_Label, DocSlot, &Document::label, true);
    RegisterProperty(
        FO_Doc, FP_IsInFront, PropType::Int,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.i = Doc(obj)->inFront;
            return true;
        },
        [](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
            if (in.i)  // one document is in front at a time
                for (F_ObjHandleT o : TheSession().openDocs) Doc(o)->inFront = 0;
            Doc(obj)->inFront = in.i ? 1 : 0;
            return true;
        });
    IntField<Document>(FO_Doc, FP_ScreenX, DocSlot, &Document::left, true);
    IntField<Document>(FO_Doc, FP_ScreenY, DocSlot, &Document::top, true);
    IntField<Document>(FO_Doc, FP_ScreenW, DocSlot, &Document::width, true);
    IntField<Document>(FO_Doc, FP_ScreenH, DocSlot, &Document::height, true);
    IntField<Document>(FO_Doc, FP_IsOnScreen, DocSlot, &Document::visible, true);
    IntField<Document>(FO_Doc, FP_DocIsModified, DocSlot, &Document::modified, true);
    IdOf<Document>(FO_Doc, FP_NextOpenDocInSession, DocSlot,
                   [](Document &d) { return NextIn(TheSession().openDocs, d.id); });
    IdOf<Document>(FO_Doc, FP_FirstFlowInDoc, DocSlot, [](Document &d) { return FirstOf(d.flows); });
    IdField<Document>(FO_Doc, FP_MainFlowInDoc, DocSlot, &Document::mainFlow);
    IdOf<Document>(FO_Doc, FP_FirstElementDefInDoc, DocSlot, [](Document &d) { return FirstOf(d.defs); });
    IdOf<Document>(FO_Doc, FP_HighestLevelElement, DocSlot, [](Document &d) {
        Flow *f = FlowOf(d.mainFlow);
        return f ? f->root : 0;
    });
    const std::pair<int, int> firsts[] = {{FP_FirstPgfFmtInDoc, FO_PgfFmt},   {FP_FirstCharFmtInDoc, FO_CharFmt},
                                          {FP_FirstCondFmtInDoc, FO_CondFmt}, {FP_FirstColorInDoc, FO_Color},
                                          {FP_FirstXRefFmtInDoc, FO_XRefFmt}, {FP_FirstVarFmtInDoc, FO_VarFmt},
                                          {FP_FirstTblFmtInDoc, FO_TblFmt}, {FP_FirstMarkerTypeInDoc, FO_MarkerType}};
    for (const auto &first : firsts) {
        int kind = first.second;  // a plain copy: lambdas may not capture structured bindings everywhere
        IdOf<Document>(FO_Doc, first.first, DocSlot, [kind](Document &d) { return FirstNamed(d, kind); });
    }
    for (int n : {FP_DocIsReport, FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3, FP_ViewMode,
                  FP_DocInsertSwitch, FP_ShowAll, FP_CondDisplay})
        RegisterStoredProperty(FO_Doc, n, PropType::Int);
    RegisterStoredProperty(FO_Doc, FP_DocMetric, PropType::Metric);
    RegisterStoredProperty(FO_Doc, FP_XmpPacket, PropType::String);
    RegisterStoredProperty(FO_Doc, FP_CurrentPage, PropType::Id);
}

void RegisterFlowAndDefs() {
    RegisterKind(FO_Flow, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        Flow *f = FlowOf(obj);
        return f && f->doc == doc;
    });
    StringField<Flow>(FO_Flow, FP_Name, FlowOf, &Flow::name, false);
    IdField<Flow>(FO_Flow, FP_HighestLevelElement, FlowOf, &Flow::root);
    IdOf<Flow>(FO_Flow, FP_NextFlowInDoc, FlowOf, [](Flow &f) { return NextIn(Doc(f.doc)->flows, f.id); });

    RegisterKind(FO_ElementDef, ElementDefValid);
    StringField<ElementDef>(FO_ElementDef, FP_Name, Def, &ElementDef::name, false);
    IdField<ElementDef>(FO_ElementDef, FP_NextElementDefInDoc, Def, &ElementDef::next);
    IntField<ElementDef>(FO_ElementDef, FP_ElementDefType, Def, &ElementDef::type, false);
    RegisterNamedKind(
        FO_ElementDef, [](F_ObjHandleT doc, const std::string &name) { return FindElementDef(doc, name); },
        [](F_ObjHandleT doc, const std::string &name) { return AddElementDef(doc, name); });
}

bool Retag(F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
    return RetagElement(doc, obj, *Elem(obj), static_cast<F_ObjHandleT>(in.i));
}

void RegisterElement() {
    RegisterKind(FO_Element, ElementValid);
    IntField<Element>(FO_Element, FP_Unique, Elem, &Element::unique, false);
    IdField<Element>(FO_Element, FP_ParentElement, Elem, &Element::parent);
    // Comments and instructions are passed over: the plug-in's tree holds elements and text.
    const std::pair<int, std::pair<F_ObjHandleT Element::*, bool>> links[] = {
        {FP_FirstChildElement, {&Element::first, true}},
        {FP_PrevSiblingElement, {&Element::prev, false}},
        {FP_NextSiblingElement, {&Element::next, true}},
    };
    for (const auto &[number, link] : links)
        RegisterProperty(FO_Element, number, PropType::Id, [link = link](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            const Element *e = Elem(obj);
            if (!e) return false;
            out.i = static_cast<IntT>(PastMisc(e->*link.first, link.second));
            return true;
        });
    RegisterProperty(
        FO_Element, FP_ElementDef, PropType::Id,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.i = static_cast<IntT>(Elem(obj)->def);
            return true;
        },
        Retag);
    RegisterProperty(FO_Element, FP_ElementType, PropType::Int, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        ElementDef *d = Def(Elem(obj)->def);
        out.i = d ? d->type : FV_FO_CONTAINER;
        return true;
    });
    // Host objects of non-container elements are kept by the tables, markers and cross-reference
    // code; plain elements stand for none.
    RegisterProperty(FO_Element, FP_Object, PropType::Id, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
        out.i = 0;
        return true;
    });
    RegisterStoredProperty(FO_Element, FP_UserString, PropType::String);
    RegisterStoredProperty(FO_Element, FP_ElementAltName, PropType::String);
    for (int n : {FP_ElementColorShift, FP_ElementSetUp, FP_ListedFlag}) RegisterStoredProperty(FO_Element, n, PropType::Int);
    RegisterStoredProperty(FO_Element, FP_ValidationFlags, PropType::Int, IntValue(FV_ElementValid));
    RegisterStoredProperty(FO_Element, FP_ElementIdList, PropType::Ints);
}

void RegisterNamed() {
    struct Kind {
        int kind, nameNumber, nextNumber;
    };
    const Kind kinds[] = {{FO_PgfFmt, FP_Name, 0},
                          {FO_CharFmt, FP_Name, 0},
                          {FO_CondFmt, FP_Name, FP_NextCondFmtInDoc},
                          {FO_Color, FP_Name, FP_NextColorInDoc},
                          {FO_XRefFmt, FP_Name, FP_NextXRefFmtInDoc},
                          {FO_VarFmt, FP_Name, FP_NextVarFmtInDoc},
                          {FO_TblFmt, FP_TblFmtName, FP_NextTblFmtInDoc},
                          {FO_MarkerType, FP_Name, FP_NextMarkerTypeInDoc}};
    for (const Kind &k : kinds) {
        int kind = k.kind;
        RegisterKind(kind, [](F_ObjHandleT doc, F_ObjHandleT obj) {
            NamedObject *n = Named(obj);
            return n && n->doc == doc;
        });
        StringField<NamedObject>(kind, k.nameNumber, Named, &NamedObject::name, false);
        if (k.nextNumber)
            IdOf<NamedObject>(kind, k.nextNumber, Named, [kind](NamedObject &n) { return NextIn(Doc(n.doc)->named[kind], n.id); });
        RegisterNamedKind(
            kind, [kind](F_ObjHandleT doc, const std::string &name) { return FindNamed(doc, kind, name); },
            [kind](F_ObjHandleT doc, const std::string &name) { return name.empty() ? 0 : AddNamed(doc, kind, name); });
    }
    RegisterStoredProperty(FO_CondFmt, FP_CondFmtIsShown, PropType::Int, IntValue(1));
    RegisterStoredProperty(FO_CondFmt, FP_CondFmtColor, PropType::Id);
    RegisterStoredProperty(FO_VarFmt, FP_VarIsSystemVar, PropType::Int);
    RegisterStoredProperty(FO_VarFmt, FP_Fmt, PropType::String);
}

}  // namespace

// Retag: the element keeps its id, content and attributes; a definition of another element
// kind, or of another document, is refused; text nodes cannot be tagged.
bool RetagElement(F_ObjHandleT doc, F_ObjHandleT obj, Element &e, F_ObjHandleT def) {
    ElementDef *to = Def(def);
    if (!to || to->doc != doc) return Fail(FE_BadParameter);
    if (!e.def) return Fail(FE_WrongKind);
    if (e.def == to->id) return true;
    ElementDef *from = Def(e.def);
    if (from && from->type != to->type) return Fail(FE_WrongKind);
    // The old definition's format, or a constant: neither goes away with the retag.
    const std::string &oldFormat = ParagraphFormatOf(e, from);
    e.def = to->id;
    if (Document *d = Doc(doc)) LayoutRetagged(*d, obj, e, oldFormat);
    return true;
}

void RegisterBuiltinProperties() {
    RegisterSession();
    RegisterDocument();
    RegisterFlowAndDefs();
    RegisterElement();
    RegisterNamed();
    RegisterLayoutProperties();
    RegisterEditCalls();
    RegisterEditExtensions();
}

}  // namespace host
