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

// Typed accessors over a field of a struct reached through a lookup function (find: id -> T*).
template <auto find, auto field>
bool ReadField(const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
    auto *t = find(obj);
    if (!t) return false;
    out = static_cast<IntT>(t->*field);
    return true;
}

template <auto find, auto field>
bool WriteField(const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT in) {
    auto *t = find(obj);
    if (!t) return false;
    t->*field = in;
    return true;
}

template <auto find, auto field>
bool ReadStringField(const PropArg &, F_ObjHandleT, F_ObjHandleT obj, std::string &out) {
    auto *t = find(obj);
    if (!t) return false;
    out = t->*field;
    return true;
}

template <auto find, auto field>
bool WriteStringField(const PropArg &, F_ObjHandleT, F_ObjHandleT obj, std::string_view in) {
    auto *t = find(obj);
    if (!t) return false;
    (t->*field).assign(in);
    return true;
}

template <auto find, auto field>
void IntField(int kind, int number, bool writable, PropType type = PropType::Int) {
    RegisterIntAccessors(kind, number, type, ReadField<find, field>, writable ? WriteField<find, field> : nullptr);
}

template <auto find, auto field>
void IdField(int kind, int number) {
    RegisterIntAccessors(kind, number, PropType::Id, ReadField<find, field>);
}

template <auto find, auto field>
void StringField(int kind, int number, bool writable) {
    RegisterStringAccessors(kind, number, ReadStringField<find, field>, writable ? WriteStringField<find, field> : nullptr);
}

// An id computed from the object: f(object, arg.n).
template <auto find, auto f>
bool ReadIdOf(const PropArg &arg, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
    auto *t = find(obj);
    if (!t) return false;
    out = static_cast<IntT>(f(*t, arg.n));
    return true;
}

template <auto find, auto f>
void IdOf(int kind, int number, IntT n = 0) {
    RegisterIntAccessors(kind, number, PropType::Id, ReadIdOf<find, f>, nullptr, PropArg{n, nullptr});
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

// The active document or book: kept while it is valid.
template <F_ObjHandleT Session::*field>
bool ReadActive(const PropArg &, F_ObjHandleT, F_ObjHandleT, IntT &out) {
    F_ObjHandleT id = TheSession().*field;
    out = ObjectValid(0, id) ? static_cast<IntT>(id) : 0;
    return true;
}

template <F_ObjHandleT Session::*field>
bool WriteActive(const PropArg &arg, F_ObjHandleT, F_ObjHandleT, IntT in) {
    auto id = static_cast<F_ObjHandleT>(in);
    if (id && (KindOf(id) != arg.n || !ObjectValid(0, id))) return Fail(FE_BadObjId);
    TheSession().*field = id;
    return true;
}

void RegisterSession() {
    RegisterKind(0, [](F_ObjHandleT doc, F_ObjHandleT obj) { return doc == 0 && obj == 0; });
    IntField<SessionSlot, &Session::versionMajor>(0, FP_VersionMajor, false);
    IntField<SessionSlot, &Session::versionMinor>(0, FP_VersionMinor, false);
    IntField<SessionSlot, &Session::language>(0, FP_Language, false);
    StringField<SessionSlot, &Session::hostDir>(0, FP_HostDir, false);
    RegisterIntAccessors(0, FP_FirstOpenDoc, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT, IntT &out) {
        out = static_cast<IntT>(FirstOf(TheSession().openDocs));
        return true;
    });
    RegisterIntAccessors(0, FP_FirstOpenBook, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT, IntT &out) {
        out = static_cast<IntT>(FirstOf(TheSession().openBooks));
        return true;
    });
    RegisterIntAccessors(0, FP_ActiveDoc, PropType::Id, ReadActive<&Session::activeDoc>, WriteActive<&Session::activeDoc>,
                         PropArg{FO_Doc, nullptr});
    RegisterIntAccessors(0, FP_ActiveBook, PropType::Id, ReadActive<&Session::activeBook>,
                         WriteActive<&Session::activeBook>, PropArg{FO_Book, nullptr});
    for (int n : {FP_Displaying, FP_DisplayUpdates, FP_DisplayRedraw}) RegisterStoredProperty(0, n, PropType::Int, IntValue(1));
}

void RegisterDocument() {
    RegisterKind(FO_Doc, DocValid);
    RegisterCloser(FO_Doc, [](F_ObjHandleT obj, IntT) { return CloseDocument(obj); });
    StringField<DocSlot, &Document::path>(FO_Doc, FP_Path, false);
    StringField<DocSlot, &Document::label>(FO_Doc, FP_Label, true);
    RegisterIntAccessors(
        FO_Doc, FP_IsInFront, PropType::Int,
        [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
            out = Doc(obj)->inFront;
            return true;
        },
        [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT in) {
            if (in)  // one document is in front at a time
                for (F_ObjHandleT o : TheSession().openDocs) Doc(o)->inFront = 0;
            Doc(obj)->inFront = in ? 1 : 0;
            return true;
        });
    IntField<DocSlot, &Document::left>(FO_Doc, FP_ScreenX, true);
    IntField<DocSlot, &Document::top>(FO_Doc, FP_ScreenY, true);
    IntField<DocSlot, &Document::width>(FO_Doc, FP_ScreenW, true);
    IntField<DocSlot, &Document::height>(FO_Doc, FP_ScreenH, true);
    IntField<DocSlot, &Document::visible>(FO_Doc, FP_IsOnScreen, true);
    IntField<DocSlot, &Document::modified>(FO_Doc, FP_DocIsModified, true);
    IdOf<DocSlot, [](Document &d, IntT) { return NextIn(TheSession().openDocs, d.id); }>(FO_Doc, FP_NextOpenDocInSession);
    IdOf<DocSlot, [](Document &d, IntT) { return FirstOf(d.flows); }>(FO_Doc, FP_FirstFlowInDoc);
    IdField<DocSlot, &Document::mainFlow>(FO_Doc, FP_MainFlowInDoc);
    IdOf<DocSlot, [](Document &d, IntT) { return FirstOf(d.defs); }>(FO_Doc, FP_FirstElementDefInDoc);
    IdOf<DocSlot, [](Document &d, IntT) {
        Flow *f = FlowOf(d.mainFlow);
        return f ? f->root : F_ObjHandleT(0);
    }>(FO_Doc, FP_HighestLevelElement);
    const std::pair<int, int> firsts[] = {{FP_FirstPgfFmtInDoc, FO_PgfFmt},   {FP_FirstCharFmtInDoc, FO_CharFmt},
                                          {FP_FirstCondFmtInDoc, FO_CondFmt}, {FP_FirstColorInDoc, FO_Color},
                                          {FP_FirstXRefFmtInDoc, FO_XRefFmt}, {FP_FirstVarFmtInDoc, FO_VarFmt},
                                          {FP_FirstTblFmtInDoc, FO_TblFmt}, {FP_FirstMarkerTypeInDoc, FO_MarkerType}};
    for (const auto &[number, kind] : firsts)
        IdOf<DocSlot, [](Document &d, IntT k) { return FirstNamed(d, static_cast<int>(k)); }>(FO_Doc, number, kind);
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
    StringField<FlowOf, &Flow::name>(FO_Flow, FP_Name, false);
    IdField<FlowOf, &Flow::root>(FO_Flow, FP_HighestLevelElement);
    IdOf<FlowOf, [](Flow &f, IntT) { return NextIn(Doc(f.doc)->flows, f.id); }>(FO_Flow, FP_NextFlowInDoc);

    RegisterKind(FO_ElementDef, ElementDefValid);
    StringField<Def, &ElementDef::name>(FO_ElementDef, FP_Name, false);
    IdField<Def, &ElementDef::next>(FO_ElementDef, FP_NextElementDefInDoc);
    IntField<Def, &ElementDef::type>(FO_ElementDef, FP_ElementDefType, false);
    RegisterNamedKind(
        FO_ElementDef, [](F_ObjHandleT doc, const std::string &name) { return FindElementDef(doc, name); },
        [](F_ObjHandleT doc, const std::string &name) { return AddElementDef(doc, name); });
}

// An element's link to a neighbour, passing over comments and instructions (forward or back).
template <F_ObjHandleT Element::*link, bool forward>
bool ReadLink(const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
    const Element *e = Elem(obj);
    if (!e) return false;
    out = static_cast<IntT>(PastMisc(e->*link, forward));
    return true;
}

void RegisterElement() {
    RegisterKind(FO_Element, ElementValid);
    IntField<Elem, &Element::unique>(FO_Element, FP_Unique, false);
    IdField<Elem, &Element::parent>(FO_Element, FP_ParentElement);
    // Comments and instructions are passed over: the plug-in's tree holds elements and text.
    RegisterIntAccessors(FO_Element, FP_FirstChildElement, PropType::Id, ReadLink<&Element::first, true>);
    RegisterIntAccessors(FO_Element, FP_PrevSiblingElement, PropType::Id, ReadLink<&Element::prev, false>);
    RegisterIntAccessors(FO_Element, FP_NextSiblingElement, PropType::Id, ReadLink<&Element::next, true>);
    RegisterIntAccessors(
        FO_Element, FP_ElementDef, PropType::Id, ReadField<Elem, &Element::def>,
        [](const PropArg &, F_ObjHandleT doc, F_ObjHandleT obj, IntT in) {
            return RetagElement(doc, obj, *Elem(obj), static_cast<F_ObjHandleT>(in));
        });
    RegisterIntAccessors(FO_Element, FP_ElementType, PropType::Int, [](const PropArg &, F_ObjHandleT, F_ObjHandleT obj, IntT &out) {
        ElementDef *d = Def(Elem(obj)->def);
        out = d ? d->type : FV_FO_CONTAINER;
        return true;
    });
    // Host objects of non-container elements are kept by the tables, markers and cross-reference
    // code; plain elements stand for none.
    RegisterIntAccessors(FO_Element, FP_Object, PropType::Id, [](const PropArg &, F_ObjHandleT, F_ObjHandleT, IntT &out) {
        out = 0;
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
        StringField<Named, &NamedObject::name>(kind, k.nameNumber, false);
        if (k.nextNumber)
            IdOf<Named, [](NamedObject &n, IntT kind) { return NextIn(Doc(n.doc)->named[static_cast<int>(kind)], n.id); }>(
                kind, k.nextNumber, kind);
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

void RetagLaidOut(Document &d, F_ObjHandleT obj, Element &e, const ElementDef *from, F_ObjHandleT to) {
    // The old definition's format, or a constant: neither goes away with the retag.
    const std::string &oldFormat = ParagraphFormatOf(e, from);
    e.def = to;
    LayoutRetagged(d, obj, e, oldFormat);
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
