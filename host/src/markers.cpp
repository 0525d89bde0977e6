// Markers: F_ApiNewAnchoredObject (doc, 24, location) anchors a marker element (kind 4) in the
// text; the host's marker object stands for it with its text (1025) and marker type (1027, a
// named kind-66 object), its anchor (879) and its place in the document's list of markers
// (114 / 1026). The element tree is the truth: a marker lives while its element does.
#include "edit_support.h"
#include "element_objects.h"
#include "tables.h"

namespace host {

namespace {

F_ObjHandleT MarkerOf(F_ObjHandleT doc, F_ObjHandleT elem) { return ObjectForElement(doc, elem, FV_FO_MARKER, FO_Marker); }
F_ObjHandleT MarkerElement(F_ObjHandleT doc, F_ObjHandleT obj) { return ElementForObject(doc, obj); }
std::vector<F_ObjHandleT> MarkerElements(F_ObjHandleT doc) { return ElementsOfKind(doc, FV_FO_MARKER); }

F_ObjHandleT MarkerDefinition(F_ObjHandleT doc) { return DefinitionOfKind(doc, FV_FO_MARKER, "Marker"); }

}  // namespace

void RegisterMarkerProperties() {
    RegisterKind(FO_Marker, [](F_ObjHandleT doc, F_ObjHandleT obj) { return MarkerElement(doc, obj) != 0; });
    RegisterElementObjectFinder(MarkerOf);
    RegisterDeleter(FO_Marker, [](F_ObjHandleT doc, F_ObjHandleT obj) {
        F_ObjHandleT e = MarkerElement(doc, obj);
        return e ? DeleteElement(doc, e) : Fail(FE_BadObjId);
    });
    RegisterStoredProperty(FO_Marker, FP_MarkerText, PropType::String);
    RegisterProperty(
        FO_Marker, FP_MarkerTypeId, PropType::Id,
        [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            auto &stored = TheStore().stored;
            auto it = stored.find((uint64_t(obj) << 32) | FP_MarkerTypeId);
            out.i = it == stored.end() ? 0 : it->second.i;
            return true;
        },
        [](F_ObjHandleT doc, F_ObjHandleT obj, const PropValue &in) {
            auto type = static_cast<F_ObjHandleT>(in.i);
            NamedObject *n = Named(type);
            if (type && (KindOf(type) != FO_MarkerType || !n || n->doc != doc)) return Fail(FE_BadParameter);
            TheStore().stored[(uint64_t(obj) << 32) | FP_MarkerTypeId] = in;
            return true;
        });
    RegisterProperty(FO_Marker, FP_TextLoc, PropType::TextLoc, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        F_ObjHandleT e = MarkerElement(doc, obj);
        return ElementLocToText(doc, F_ElementLocT{Elem(e)->parent, e, 0}, out.tr.beg);
    });
    RegisterProperty(FO_Marker, FP_NextMarkerInDoc, PropType::Id, [](F_ObjHandleT doc, F_ObjHandleT obj, PropValue &out) {
        std::vector<F_ObjHandleT> all = MarkerElements(doc);
        F_ObjHandleT e = MarkerElement(doc, obj);
        out.i = 0;
        for (size_t i = 0; i + 1 < all.size(); ++i)
            if (all[i] == e) out.i = static_cast<IntT>(MarkerOf(doc, all[i + 1]));
        return true;
    });
    RegisterProperty(FO_Doc, FP_FirstMarkerInDoc, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        std::vector<F_ObjHandleT> all = MarkerElements(obj);
        out.i = all.empty() ? 0 : static_cast<IntT>(MarkerOf(obj, all.front()));
        return true;
    });
}

}  // namespace host

using namespace host;

extern "C" {

F_ObjHandleT F_ApiNewAnchoredObject(F_ObjHandleT docId, IntT objType, const F_TextLocT *loc) {
    if (!Doc(docId) || !loc) return Fail(FE_BadDocId), 0;
    if (objType != FO_Marker) return Fail(FE_Unsupported), 0;
    F_ElementLocT at{};
    if (!TextLocToElement(docId, *loc, at) || !at.parentId) return Fail(FE_BadParameter), 0;
    if (!HasIdsLeft(FO_Element, 2)) return 0;
    F_ObjHandleT before = PlaceBefore(docId, at);
    F_ObjHandleT e = NewElement(docId, MarkerDefinition(docId));
    LinkChild(at.parentId, e, before);
    MarkChanged(docId);
    return MarkerOf(docId, e);
}

}  // extern "C"
