// Copy and value processors: QVRN_copy-of brings in copies of its matches, QVRN_value-of their
// text (or a parameter's value); the flattening of copied content and the refusal to copy
// table parts.
#include <optional>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_ops.h"
#include "lib/host/element_text.h"
#include "lib/host/element_walk.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/xpath.h"

namespace {

// The last child of elem, found from `from` (a child before it) when that is still there.
F_ObjHandleT LastFrom(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT from) {
    if (!from || F_ApiGetObjectType(doc, from) != FO_Element || F_ApiGetId(doc, from, FP_ParentElement) != elem)
        return XformLastChild(doc, elem);
    for (F_ObjHandleT n = F_ApiGetId(doc, from, FP_NextSiblingElement); n; n = F_ApiGetId(doc, n, FP_NextSiblingElement))
        from = n;
    return from;
}

}  // namespace

void om_XformCheckCopyable(F_ObjHandleT doc, F_ObjHandleT elem) {
    StatusCode = 0;
    IntT kind = F_ApiGetInt(doc, elem, FP_ElementType);
    if (kind >= FV_FO_TBL_TITLE && kind <= FV_FO_TBL_CELL) StatusCode = XformErr::CopiedTableTitle + (kind - FV_FO_TBL_TITLE);
}

void om_XformRunCopyOf(F_ObjHandleT doc, F_ObjHandleT elem, IntT type) {
    StatusCode = 0;
    std::optional<XformAttrs> own;
    const XformAttrs *cached = XformCachedAttrs(doc, elem);
    const XformAttrs &attrs = cached ? *cached : own.emplace(doc, elem);
    if (type == XT_ValueOf) {
        std::string select = attrs.Raw("select");
        if (!select.empty() && select != ErrorSentinel && select[0] == '$') {
            std::string value = "<UNDEFINED PARAMETER>";
            for (size_t i = 0; i < XformParams.names.size() && i < XformParams.values.size(); ++i)
                if (XformParams.names[i] == select) {
                    value = XformParams.values[i];
                    break;
                }
            XformDeleteContent(doc, elem);
            XformAppendText(doc, elem, value);
            return;
        }
    }
    XformQuery q;
    if (!XformBeginQuery(doc, elem, q)) return;
    IntT maxMatches = attrs.Int("max_matches");
    XformDeleteContent(doc, elem);
    if (type == XT_ValueOf) om_XformReadValueOfActions(doc, elem);
    XformCopyMatches(doc, elem, type, q, maxMatches, XformRunState.valueOf);
}

void XformCopyMatches(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, const XformQuery &q, IntT maxMatches,
                      const XformValueOfActionsT &act, bool inFront) {
    ElementWalkPushed walk;
    if (!inFront) F_ApiSetInt(0, doc, FP_IsInFront, 1);
    IntT taken = 0;
    F_ObjHandleT tail = 0;
    for (F_ObjHandleT qdoc : q.Documents()) {
        om_PollUserCancel();
        if (StatusCode == StatusCancelled) return;
        om_XformUpdateProgress(0, qdoc, 1);
        IntT left = maxMatches > 0 ? maxMatches - taken : 0;
        for (const XformMatch &m : XformMatchesIn(q, qdoc, left, doc, {elem})) {
            if (m.attr < 0) {
                om_XformCheckCopyable(m.doc, m.node);
                if (type == XT_ValueOf && StatusCode == XformErr::CopiedTableCell) StatusCode = 0;
                if (StatusCode) return;
                om_XformTickProgress();
                om_PollUserCancel();
                if (StatusCode == StatusCancelled) return;
                int selected = type == XT_CopyOf ? om_ElementSelect(m.doc, m.node, LocElement)
                                                 : XformSelectContent(m.doc, m.node);
                if (selected) {
                    F_ObjHandleT before = tail;
                    XformPasteAtEnd(m.doc, doc, elem, tail);
                    if (type == XT_ValueOf) {
                        XformFlattenAfter(doc, elem, before, act.xref, act.marker, act.variable, act.equation,
                                          act.graphic);
                        if (StatusCode) return;
                        tail = LastFrom(doc, elem, before);
                    }
                }
            } else {
                std::string v;
                om_AttrGetValueAt(m.doc, m.node, m.attr, &v);
                if (v == EmptySentinel) v.clear();
                XformAppendText(doc, elem, v);
                tail = LastFrom(doc, elem, tail);
            }
            ++taken;
        }
        if (maxMatches > 0 && taken >= maxMatches) break;
    }
}

void om_XformConvertForValueOf(F_ObjHandleT doc, F_ObjHandleT elem, IntT x, IntT k, IntT v, IntT q, IntT g) {
    XformFlattenAfter(doc, elem, 0, x, k, v, q, g);
}

void XformFlattenAfter(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT after, IntT x, IntT k, IntT v, IntT q,
                       IntT g) {
    StatusCode = 0;
    // The content before `after` is flattened already: each pass starts right after it.
    auto first = [&] {
        if (after && F_ApiGetObjectType(doc, after) != FO_Element) after = 0;
        return after ? F_ApiGetId(doc, after, FP_NextSiblingElement) : F_ApiGetId(doc, elem, FP_FirstChildElement);
    };
    F_ObjHandleT h = first();
    int steps = 0;
    while (h) {
        if (++steps > 5000) return void(StatusCode = XformErr::Critical);
        IntT kind = F_ApiGetInt(doc, h, FP_ElementType);
        if (kind >= FV_FO_TBL && kind <= FV_FO_TBL_CELL) return void(StatusCode = XformErr::ValueOfTable);
        F_ObjHandleT def = F_ApiGetId(doc, h, FP_ElementDef);
        IntT action = def ? 3 : 1;
        IntT special = 0;
        switch (kind) {
        case FV_FO_XREF: special = x; break;
        case FV_FO_MARKER: special = k; break;
        case FV_FO_SYS_VAR: special = v; break;
        case FV_FO_GRAPHIC: special = g; break;
        case FV_FO_EQN: special = q; break;
        default: break;
        }
        if (special) action = special == 3 ? 4 : special;
        if (action == 1) {
            h = F_ApiGetId(doc, h, FP_NextSiblingElement);
            continue;
        }
        if (action == 4) F_ApiDelete(doc, h);
        else if (action == 3) XformUnwrap(doc, h);
        else om_ElementReplaceByText(doc, h);
        StatusCode = 0;
        h = first();
    }
}
