// Parameters and templates: QVRN_param defines a named value; QVRN_template in the Main flow
// pastes a template kept in a QVRN_template flow; markers of the type QVRN_template paste one
// before the run.
#include <algorithm>
#include <map>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

std::vector<F_ObjHandleT> XformPastedByMarkers;

namespace {
// What a check pasted at template markers, removed when it ends.
[[maybe_unused]] const bool resetTemplateMarkerPastes =
    om_RunStateRegister("template marker pastes", RunStateKind::Run, [] {
        XformPastedByMarkers.clear();
    });
}  // namespace

namespace {

std::string DollarName(std::string name) {
    name.erase(std::remove(name.begin(), name.end(), '$'), name.end());
    return "$" + name;
}

bool EqualCI(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The stylesheet's folder, up to and including its last "\".
std::string DocFolder(F_ObjHandleT doc) {
    std::string path = XformHostString(0, doc, FP_Path);
    size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Selects a template's content, copies it, and pastes it at the end of dst; the pasted nodes.
std::vector<F_ObjHandleT> PasteTemplate(F_ObjHandleT tdoc, F_ObjHandleT t, F_ObjHandleT doc, F_ObjHandleT dst) {
    if (!XformSelectContent(tdoc, t)) return {};
    F_ObjHandleT tail = XformLastChild(doc, dst);
    std::vector<F_ObjHandleT> pasted;
    XformPasteAtEnd(tdoc, doc, dst, tail, &pasted);
    return pasted;
}

F_ObjHandleT FindIn(F_ObjHandleT k, F_ObjHandleT stylesheet, const std::string &id) {
    F_ObjHandleT t = om_XformFindTemplate(k, "QVRN_template", id);
    if (!t && k != stylesheet) t = om_XformFindTemplate(k, "QVRN_MainFlow", id);
    return t;
}

}  // namespace

void om_XformSetExternalParam(const std::string &name, const std::string &value) {
    if (EqualCI(name, "delete_all")) {
        XformParams.externalNames.clear();
        XformParams.externalValues.clear();
        return;
    }
    std::string n = DollarName(name);
    auto &names = XformParams.externalNames;
    auto it = std::find(names.begin(), names.end(), n);
    if (it != names.end()) {
        XformParams.externalValues[size_t(it - names.begin())] = value;
    } else {
        names.push_back(n);
        XformParams.externalValues.push_back(value);
    }
}

void om_XformRunParam(F_ObjHandleT doc, F_ObjHandleT e) {
    StatusCode = 0;
    std::string p = XformAttr(doc, e, "name");
    if (p.empty()) return;
    p = DollarName(p);
    const auto &ext = XformParams.externalNames;
    if (std::find(ext.begin(), ext.end(), p) != ext.end()) return;
    std::string select = XformStraightenQuotes(XformAttr(doc, e, "select"));
    std::string v;
    if (!select.empty() && select.front() == '\'' && select.back() == '\'') {
        v = select.size() >= 2 ? select.substr(1, select.size() - 2) : std::string();
    } else {
        F_ObjHandleT mdoc = 0;
        F_ObjHandleT m = om_XformEvalTest(doc, e, &mdoc);
        if (StatusCode) return;
        if (m) {
            // The attribute index of a first match comes from running the expression once more.
            XformQuery q;
            if (XformBeginQuery(doc, e, q)) {
                std::vector<XformMatch> ms = XformMatchesIn(q, mdoc, 1, 0, {});
                if (!ms.empty() && ms.front().attr >= 0) {
                    om_AttrGetValueAt(mdoc, m, ms.front().attr, &v);
                    if (v == EmptySentinel) v.clear();
                } else {
                    v = om_ElementText(mdoc, m, 1, 100, 1, 0);
                }
            }
            if (StatusCode) return;
        }
    }
    auto &names = XformParams.names;
    auto it = std::find(names.begin(), names.end(), p);
    if (it != names.end()) {
        XformParams.values[size_t(it - names.begin())] = v;
    } else {
        names.push_back(p);
        XformParams.values.push_back(v);
    }
}

F_ObjHandleT om_XformFindTemplate(F_ObjHandleT k, const std::string &flowName, const std::string &id) {
    F_ObjHandleT flow = EqualCI(flowName, "QVRN_MainFlow") ? F_ApiGetId(0, k, FP_MainFlowInDoc)
                                                          : om_FlowFind(k, flowName, 1);
    F_ObjHandleT root = flow ? F_ApiGetId(k, flow, FP_HighestLevelElement) : 0;
    if (!root) return 0;
    ElementWalkSaved saved;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    for (F_ObjHandleT e = root; e; e = om_ElementNextInDocOrder(k, e)) {
        if (ElementWalkState.lastMove != WalkUp && om_XformElementType(k, e) == XT_Template) {
            std::string v;
            om_AttrGetValue(k, e, "template_ID", &v);
            // A template's content may call other templates: those calls are not definitions.
            bool inside = false;
            for (F_ObjHandleT a = F_ApiGetId(k, e, FP_ParentElement); a && !inside; a = F_ApiGetId(k, a, FP_ParentElement))
                inside = om_XformElementType(k, a) == XT_Template;
            if (v == id && !inside) return e;
        }
        if (e == root && ElementWalkState.lastMove == WalkUp) break;
    }
    return 0;
}

void om_XformRunTemplateCall(F_ObjHandleT doc, F_ObjHandleT e) {
    StatusCode = 0;
    F_ObjHandleT k = om_XformContextDocument(doc, e, 0);
    if (StatusCode) return;
    std::string id = XformAttr(doc, e, "template_ID");
    if (id.empty()) {
        om_XformReportError(doc, doc, e, XformErr::NoTemplateId, XformLevel::Warning);
        StatusCode = 0;
        return;
    }
    XformDeleteContent(doc, e);
    ElementWalkPushed walk;
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    XformQuery q;
    q.ctxDoc = k;
    F_ObjHandleT found = 0, foundDoc = 0;
    for (F_ObjHandleT kd : q.Documents()) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return;
        om_XformUpdateProgress(0, kd, 1);
        if ((found = FindIn(kd, doc, id))) {
            foundDoc = kd;
            break;
        }
    }
    if (!found) {
        om_XformReportError(doc, doc, e, XformErr::TemplateNotFound, XformLevel::Warning);
        StatusCode = 0;
        return;
    }
    // A template whose content calls it again, directly or through others, would never end:
    // each call carries the chain of templates it was pasted by.
    std::string chain = XformHostString(doc, e, FP_UserString);
    if (chain.find("|" + id + "|") != std::string::npos) {
        StatusCode = XformErr::TemplateFailed;
        return;
    }
    chain = (chain.empty() ? "|" : chain) + id + "|";
    for (F_ObjHandleT top : PasteTemplate(foundDoc, found, doc, e)) {
        ElementWalkSaved saved;
        ElementWalkState.lastMove = WalkDown;
        ElementWalkState.enabled = 1;
        for (F_ObjHandleT x = top; x; x = om_ElementNextInDocOrder(doc, x)) {
            if (x == top && ElementWalkState.lastMove == WalkUp) break;
            if (ElementWalkState.lastMove != WalkUp && om_XformElementType(doc, x) == XT_Template)
                F_ApiSetString(doc, x, FP_UserString, chain.c_str());
            if (x != top && F_ApiGetId(doc, x, FP_ParentElement) == F_ApiGetId(doc, top, FP_ParentElement)) break;
        }
    }
    StatusCode = 0;
    F_ObjHandleT ctxDoc = static_cast<F_ObjHandleT>(om_XformGetContextDocId(doc, e));
    F_ObjHandleT ctxNode = static_cast<F_ObjHandleT>(XformAttrInt(doc, e, "ContextNodeId"));
    std::string a;
    IntT attr = om_AttrGetValue(doc, e, "ContextAttributeNumber", &a) >= 0 && !a.empty() ? std::atoi(a.c_str()) : -1;
    om_XformSetContextAttrs(doc, e, ctxDoc, ctxNode, attr, 1);
    if (StatusCode) StatusCode = XformErr::TemplateFailed;
}

F_ObjHandleT om_XformOpenMarkerTemplateDoc(F_ObjHandleT doc, F_ObjHandleT marker, std::string *id) {
    StatusCode = 0;
    *id = EmptySentinel;
    std::string text = XformHostString(doc, marker, FP_MarkerText);
    if (text.empty()) return StatusCode = XformErr::EmptyTemplateMarker, 0;
    size_t sep = text.find("---");
    if (sep == std::string::npos || text.find("---", sep + 3) != std::string::npos || sep < 2)
        return StatusCode = XformErr::BadTemplateMarker, 0;
    std::string file = text.substr(0, sep);
    *id = text.substr(sep + 3);
    if (EqualCI(file, "Current")) return doc;
    std::string folder = DocFolder(doc);
    if (folder.empty()) return StatusCode = XformErr::BadTemplateMarkerFile, 0;
    std::string path = folder + file;
    F_ObjHandleT k = om_DocFindByPath(path);
    if (!k) {
        k = om_DocOpenPlain(path.c_str());
        if (k) om_XformRememberOpenedFile(k);
    }
    if (!k) return StatusCode = XformErr::BadTemplateMarkerFile, 0;
    return k;
}

void om_XformExpandTemplateMarkers(F_ObjHandleT doc) {
    XformPastedByMarkers.clear();
    F_ObjHandleT type = 0;
    for (F_ObjHandleT t = F_ApiGetId(0, doc, FP_FirstMarkerTypeInDoc); t; t = F_ApiGetId(doc, t, FP_NextMarkerTypeInDoc))
        if (XformHostString(doc, t, FP_Name) == "QVRN_template") {
            type = t;
            break;
        }
    if (!type) return;
    std::vector<F_ObjHandleT> markers;
    for (F_ObjHandleT m = F_ApiGetId(0, doc, FP_FirstMarkerInDoc); m; m = F_ApiGetId(doc, m, FP_NextMarkerInDoc))
        if (F_ApiGetId(doc, m, FP_MarkerTypeId) == type) markers.push_back(m);
    if (markers.empty()) return;
    // A marker that a marker element stands for: the paste goes right after that element.
    std::map<F_ObjHandleT, F_ObjHandleT> markerElements;
    if (F_ObjHandleT root = om_ElementHighestLevel(doc, "Main", 0)) {
        ElementWalkSaved saved;
        ElementWalkState.lastMove = WalkDown;
        ElementWalkState.enabled = 1;
        for (F_ObjHandleT e = root; e; e = om_ElementNextInDocOrder(doc, e)) {
            if (ElementWalkState.lastMove != WalkUp && F_ApiGetInt(doc, e, FP_ElementType) == FV_FO_MARKER)
                markerElements[F_ApiGetId(doc, e, FP_Object)] = e;
            if (e == root && ElementWalkState.lastMove == WalkUp) break;
        }
    }
    for (F_ObjHandleT m : markers) {
        StatusCode = 0;
        F_TextLocT tl = F_ApiGetTextLoc(doc, m, FP_TextLoc);
        F_ElementLocT where = F_ApiTextLocToElementLoc(doc, &tl);
        auto known = markerElements.find(m);
        F_ObjHandleT at = known != markerElements.end() ? F_ApiGetId(doc, known->second, FP_ParentElement) : where.parentId;
        std::string id;
        F_ObjHandleT k = om_XformOpenMarkerTemplateDoc(doc, m, &id);
        if (StatusCode) {
            om_XformReportError(doc, doc, at, StatusCode, XformLevel::Warning);
            continue;
        }
        F_ObjHandleT t = FindIn(k, doc, id);
        if (!t) {
            om_XformReportError(doc, doc, at, XformErr::MarkerTemplateNotFound, XformLevel::Warning);
            continue;
        }
        if (!XformSelectContent(k, t) || F_ApiCopy(k, 0) != 0) continue;
        // The marker's element: the paste goes right after it.
        auto found = markerElements.find(m);
        F_ObjHandleT markerElem = found == markerElements.end() ? 0 : found->second;
        F_ElementRangeT place{};
        if (markerElem && om_ElementLocation(doc, markerElem, LocAfter, &place)) {
        } else {
            place.beg = place.end = where;
        }
        F_ObjHandleT parent = place.beg.parentId;
        std::vector<F_ObjHandleT> before = XformChildren(doc, parent);
        F_ApiSetElementRange(0, doc, FP_ElementSelection, &place);
        if (F_ApiPaste(doc, 0) != 0) continue;
        for (F_ObjHandleT c : XformChildren(doc, parent))
            if (std::find(before.begin(), before.end(), c) == before.end()) XformPastedByMarkers.push_back(c);
    }
    StatusCode = 0;
}

void om_XformListTemplateIds(std::vector<std::string> *out, F_ObjHandleT doc) {
    F_ObjHandleT flow = om_FlowFind(doc, "QVRN_template", 1);
    F_ObjHandleT root = flow ? F_ApiGetId(doc, flow, FP_HighestLevelElement) : 0;
    if (!root) return;
    F_ApiSaveClipboard();
    IntT seq = om_XPathCompile("//QVRN_template[@template_ID != '']", 0);
    F_ApiRestoreClipboard();
    if (seq < 1 || seq > XPathLastSequenceNumber) return;
    om_XPathResetSequence(seq, 1);
    std::vector<F_ObjHandleT> found;
    om_XPathRunMatches(doc, seq, root, flow, [&](F_ObjHandleT node, IntT, F_ObjHandleT) {
        found.push_back(node);
        return true;
    });
    for (F_ObjHandleT e : found) out->push_back(XformAttr(doc, e, "template_ID"));
}
