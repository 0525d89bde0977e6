// Element edits the processors share: pasting at the end of an element, selecting, clearing,
// unwrapping and appending text.
#include "lib/globals.h"
#include "lib/host/element_edit.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"

std::string XformHostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string r = s ? s : "";
    F_ApiDeallocateString(&s);
    return r;
}

F_ObjHandleT XformLastChild(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT last = 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        last = c;
    return last;
}

std::vector<F_ObjHandleT> XformPasteAtEnd(F_ObjHandleT srcDoc, F_ObjHandleT doc, F_ObjHandleT dst,
                                          F_ObjHandleT &tail) {
    std::vector<F_ObjHandleT> pasted;
    if (F_ApiCopy(srcDoc, 0) != 0) return pasted;
    if (!om_ElementSelect(doc, dst, LocContentEnd)) return pasted;
    if (F_ApiPaste(doc, 0) != 0) return pasted;
    if (tail && F_ApiGetObjectType(doc, tail) != FO_Element) tail = XformLastChild(doc, dst);
    F_ObjHandleT c = tail ? F_ApiGetId(doc, tail, FP_NextSiblingElement) : F_ApiGetId(doc, dst, FP_FirstChildElement);
    for (; c; c = F_ApiGetId(doc, c, FP_NextSiblingElement)) {
        pasted.push_back(c);
        tail = c;
    }
    return pasted;
}

int XformSelectContent(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!F_ApiGetId(doc, elem, FP_FirstChildElement)) return 0;
    return om_ElementSelect(doc, elem, LocContent);
}

void XformDeleteContent(F_ObjHandleT doc, F_ObjHandleT elem) {
    F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement);
    while (c) {
        F_ObjHandleT next = F_ApiGetId(doc, c, FP_NextSiblingElement);
        F_ApiDelete(doc, c);
        c = next;
    }
}

void XformUnwrap(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!om_ElementSelect(doc, elem, LocElement)) return;
    F_ApiUnWrapElement(doc);
}

void XformAppendText(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &text) {
    if (text.empty()) return;
    om_ElementInsertText(doc, elem, text, LocContentEnd);
}
