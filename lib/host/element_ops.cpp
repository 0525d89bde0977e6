// Element operations shared by the element actions and the transformation.
#include "lib/host/element_ops.h"

#include "lib/strings/heapstr.h"
#include "lib/strings/lists.h"
#include "lib/globals.h"

namespace {

// The name of an element definition ("" for none).
std::string DefName(F_ObjHandleT docId, F_ObjHandleT defId) {
    if (!defId) return "";
    StringT s = F_ApiGetString(docId, defId, FP_Name);
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

}  // namespace

IntT om_ElementDefIsOfType(F_ObjHandleT docId, const std::string &defName, IntT type) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ObjHandleT defId = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    return (defId && F_ApiGetInt(docId, defId, FP_ElementDefType) == type) ? 1 : 0;
}

F_ObjHandleT om_ElementFindAncestor(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                    F_ObjHandleT ancestorId) {
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    // Parents of a tree are bounded by its depth; the limit guards a host that loops.
    F_ObjHandleT cur = F_ApiGetId(docId, elemId, FP_ParentElement);
    for (int steps = 0; cur && steps < 100000; ++steps) {
        if (ancestorId) {
            if (cur == ancestorId) return cur;
        } else if (DefName(docId, F_ApiGetId(docId, cur, FP_ElementDef)) == tag) {
            return cur;
        }
        cur = F_ApiGetId(docId, cur, FP_ParentElement);
    }
    return 0;
}

void om_ElementDefNamesOfType(F_ObjHandleT docId, IntT type, std::vector<std::string> &names) {
    names.clear();
    if (!docId) return;
    F_ObjHandleT defId = F_ApiGetId(0, docId, FP_FirstElementDefInDoc);
    for (int steps = 0; defId && steps < 1000000; ++steps) {
        if (F_ApiGetInt(docId, defId, FP_ElementDefType) == type) names.push_back(DefName(docId, defId));
        defId = F_ApiGetId(docId, defId, FP_NextElementDefInDoc);
    }
}

F_ObjHandleT om_ElementInsertAfter(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &defName) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (!elemId) {
        StatusCode = StatusNoObject;
        return 0;
    }
    F_ObjHandleT defId = F_ApiGetNamedObject(docId, FO_ElementDef, defName.c_str());
    F_ElementLocT loc{F_ApiGetId(docId, elemId, FP_ParentElement), F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0};
    return F_ApiNewElement(docId, defId, &loc);
}

void om_ElementReplaceByText(F_ObjHandleT docId, F_ObjHandleT elemId) {
    IntT kind = (docId && elemId) ? F_ApiGetInt(docId, elemId, FP_ElementType) : 0;
    if (kind != FV_FO_SYS_VAR && kind != FV_FO_XREF && kind != FV_FO_MARKER) {
        StatusCode = StatusNoObject;
        return;
    }
    F_ObjHandleT objId = F_ApiGetId(docId, elemId, FP_Object);
    std::string text;
    if (kind == FV_FO_MARKER) {
        StringT s = F_ApiGetString(docId, objId, FP_MarkerText);
        text = s ? s : "";
        F_ApiDeallocateString(&s);
    } else {
        F_TextRangeT range = F_ApiGetTextRange(docId, objId, FP_TextRange);
        F_TextItemsT items = F_ApiGetTextForRange(docId, &range, FTI_String);
        StringT s = om_TextItemsConcat(&items, 0, 0);
        text = s ? s : "";
        om_StrFree(&s);
        F_ApiDeallocateTextItems(&items);
    }
    F_ElementRangeT whole{{F_ApiGetId(docId, elemId, FP_ParentElement), elemId, 0},
                          {F_ApiGetId(docId, elemId, FP_ParentElement),
                           F_ApiGetId(docId, elemId, FP_NextSiblingElement), 0}};
    F_ApiSetElementRange(0, docId, FP_ElementSelection, &whole);
    F_ApiDelete(docId, elemId);
    if (text.empty()) return;
    F_TextRangeT here = F_ApiGetTextRange(0, docId, FP_TextSelection);
    F_ApiAddText(docId, &here.beg, text.c_str());
}
