// Cross-reference, attribute and marker processors: QVRN_create-xref inserts a cross-reference
// to each match (giving the target an ID when it has none); QVRN_set-attribute adds a value to
// an attribute of its parent or preceding sibling; QVRN_set-marker sets a marker's text.
#include <algorithm>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"

IntT om_XformEnsureTargetId(F_ObjHandleT doc, F_ObjHandleT elem, std::string *id) {
    StatusCode = 0;
    if (!doc) return *id = "", StatusCode = StatusNoDocument, 0;
    if (!elem) return *id = "", StatusCode = StatusNoObject, 0;
    IntT i = om_AttrIndexByType(doc, elem, FV_AT_UNIQUE_ID);
    if (i < 0) return *id = EmptySentinel, StatusCode = XformErr::XRefTargetNoId, 0;
    std::string v;
    om_AttrGetValueAt(doc, elem, i, &v);
    if (!v.empty()) return *id = v, 0;
    *id = om_StrRandomLetters(8, 0);
    om_AttrSetValueAt(doc, elem, i, *id);
    XformForgetWritten(elem);
    StatusCode = 0;
    return 1;
}

void om_XformRunCreateXRef(F_ObjHandleT doc, F_ObjHandleT launched, F_ObjHandleT x) {
    (void)launched;
    StatusCode = 0;
    XformQuery q;
    if (!XformBeginQuery(doc, x, q)) return;
    std::string fmtName = XformAttr(doc, x, "format");
    FA_errno = 0;
    F_ObjHandleT fmt = fmtName.empty() ? 0 : F_ApiGetNamedObject(doc, FO_XRefFmt, fmtName.c_str());
    if (!fmt) fmt = F_ApiGetId(0, doc, FP_FirstXRefFmtInDoc);
    std::string tag = XformAttr(doc, x, "element_tag");
    F_ObjHandleT def = tag.empty() ? 0 : F_ApiGetNamedObject(doc, FO_ElementDef, tag.c_str());
    std::string wrap = XformAttr(doc, x, "wrap_element");
    F_ObjHandleT wrapDef = wrap.empty() ? 0 : F_ApiGetNamedObject(doc, FO_ElementDef, wrap.c_str());
    FA_errno = 0;
    XformDeleteContent(doc, x);
    ElementWalkPushed walk;
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    for (F_ObjHandleT qdoc : q.Documents()) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return;
        om_XformUpdateProgress(0, qdoc, 1);
        for (const XformMatch &m : XformMatchesIn(q, qdoc, 0, doc, {x})) {
            XformRunState.updateXRefs = 1;
            std::string id;
            IntT fresh = om_XformEnsureTargetId(m.doc, m.node, &id);
            if (fresh && m.doc != doc) {
                XformOpenedFiles.erase(std::remove(XformOpenedFiles.begin(), XformOpenedFiles.end(), m.doc),
                                       XformOpenedFiles.end());
                XformRunState.externalXRefs = 1;
            }
            if (StatusCode) {
                om_XformReportError(doc, m.doc, m.node, StatusCode, XformLevel::Warning);
                StatusCode = 0;
                continue;
            }
            // The target's paragraph is flagged for the host's cross-reference update.
            F_TextRangeT range = F_ApiGetTextRange(m.doc, m.node, FP_TextRange);
            if (range.beg.objId) F_ApiSetInt(m.doc, range.beg.objId, FP_PgfFlag, 1);
            F_ElementLocT loc{x, 0, 0};
            F_ObjHandleT el = def ? F_ApiNewElement(doc, def, &loc) : 0;
            if (!el) continue;
            F_ObjHandleT obj = F_ApiGetId(doc, el, FP_Object);
            F_ApiSetInt(doc, obj, FP_XRefSrcAccess, 1);
            IntT refIndex = om_AttrIndexByType(doc, el, FV_AT_UNIQUE_IDREF);
            if (refIndex >= 0) om_AttrSetValueAt(doc, el, refIndex, id);
            StatusCode = 0;
            if (fmt) F_ApiSetId(doc, obj, FP_XRefFmt, fmt);
            // The cross-reference points into this document or at another file.
            std::string srcFile = m.doc == doc ? std::string() : XformHostString(0, m.doc, FP_Path);
            F_ApiSetString(doc, obj, FP_XRefFile, srcFile.c_str());
            F_ObjHandleT tdef = F_ApiGetId(m.doc, m.node, FP_ElementDef);
            std::string src = id + ":" + XformHostString(m.doc, tdef, FP_Name) + ":" +
                              om_ElementText(m.doc, m.node, 1, 200, 1, 0);
            F_ApiSetString(doc, obj, FP_XRefSrcText, src.c_str());
            if (wrapDef) {
                om_ElementSelect(doc, el, LocElement);
                F_ApiWrapElement(doc, wrapDef);
            }
            FA_errno = 0;
        }
    }
}

void om_XformRunSetAttribute(F_ObjHandleT doc, F_ObjHandleT e, IntT type) {
    StatusCode = 0;
    ElementWalkPushed walk;
    XformQuery q;
    if (!XformBeginQuery(doc, e, q)) return;
    F_ObjHandleT target = om_XformTargetElement(doc, e) == XTE_PrecedingSibling ? F_ApiGetId(doc, e, FP_PrevSiblingElement)
                                                                : F_ApiGetId(doc, e, FP_ParentElement);
    std::string value = XformAttr(doc, e, "value");
    std::string attr = type == XT_SetAttribute ? XformAttr(doc, e, "attribute") : std::string();
    if (!target) StatusCode = type == XT_SetAttribute ? XformErr::NoAttributeTarget : XformErr::NoMarkerTarget;
    else if (type == XT_SetAttribute && om_AttrIndex(doc, target, attr) < 0) StatusCode = XformErr::TargetLacksAttribute;
    else if (type == XT_SetMarker && F_ApiGetInt(doc, target, FP_ElementType) != FV_FO_MARKER) StatusCode = XformErr::TargetNotMarker;
    if (!StatusCode) {
        for (F_ObjHandleT qdoc : q.Documents()) {
            std::vector<XformMatch> ms = XformMatchesIn(q, qdoc, 1, 0, {});
            if (ms.empty()) continue;
            const XformMatch &m = ms.front();
            std::string v = value;
            if (v.empty()) {
                if (m.attr < 0) {
                    v = om_ElementText(m.doc, m.node, 1, 254, 1, 0);
                } else {
                    om_AttrGetValueAt(m.doc, m.node, m.attr, &v);
                    if (v == EmptySentinel) v.clear();
                }
            }
            if (type == XT_SetAttribute) {
                // Added as one value, whatever tokenizing a script asked for before.
                std::vector<std::string> values = om_AttrGetValues(doc, target, attr, -1, 0, 0);
                if (std::find(values.begin(), values.end(), v) == values.end()) {
                    values.push_back(v);
                    om_AttrSetValues(doc, target, attr, -1, values, 0);
                    XformForgetWritten(target);
                }
                StatusCode = 0;
            } else {
                F_ObjHandleT marker = F_ApiGetId(doc, target, FP_Object);
                F_ApiSetString(doc, marker, FP_MarkerText, v.c_str());
            }
            break;
        }
    }
    if (StatusCode) {
        om_XformReportError(doc, doc, e, StatusCode, XformLevel::Warning);
        StatusCode = 0;
    }
}
