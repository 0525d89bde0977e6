// Host objects that stand for elements of one kind (see element_objects.h).
#include "element_objects.h"

#include <unordered_map>

namespace host {

namespace {

struct ObjectIds {
    std::unordered_map<F_ObjHandleT, F_ObjHandleT> byElem, byObj;
};
ObjectIds &Ids() {
    static ObjectIds ids;
    return ids;
}

IntT ElementKind(F_ObjHandleT e) {
    Element *x = Elem(e);
    ElementDef *d = x ? Def(x->def) : nullptr;
    return d ? d->type : 0;
}

}  // namespace

F_ObjHandleT ObjectForElement(F_ObjHandleT doc, F_ObjHandleT elem, IntT elemKind, int objKind) {
    if (!ElemIn(doc, elem) || ElementKind(elem) != elemKind) return 0;
    auto it = Ids().byElem.find(elem);
    if (it != Ids().byElem.end()) return it->second;
    F_ObjHandleT obj = NewObjectId(objKind);
    Ids().byElem[elem] = obj;
    Ids().byObj[obj] = elem;
    return obj;
}

F_ObjHandleT ElementForObject(F_ObjHandleT doc, F_ObjHandleT obj) {
    auto it = Ids().byObj.find(obj);
    if (it == Ids().byObj.end()) return 0;
    Element *e = Elem(it->second);
    return e && (!doc || e->doc == doc) ? it->second : 0;
}

std::vector<F_ObjHandleT> ElementsOfKind(F_ObjHandleT doc, IntT elemKind) {
    std::vector<F_ObjHandleT> out;
    Document *d = Doc(doc);
    if (!d) return out;
    for (F_ObjHandleT f : d->flows) {
        Flow *fl = FlowOf(f);
        std::vector<F_ObjHandleT> stack;
        if (fl && fl->root) stack.push_back(fl->root);
        while (!stack.empty()) {
            F_ObjHandleT e = stack.back();
            stack.pop_back();
            if (ElementKind(e) == elemKind) out.push_back(e);
            std::vector<F_ObjHandleT> kids;
            for (F_ObjHandleT c = Elem(e)->first; c; c = Elem(c)->next) kids.push_back(c);
            stack.insert(stack.end(), kids.rbegin(), kids.rend());
        }
    }
    return out;
}

F_ObjHandleT DefinitionOfKind(F_ObjHandleT doc, IntT elemKind, const std::string &name) {
    Document *d = Doc(doc);
    if (!d) return 0;
    for (F_ObjHandleT def : d->defs)
        if (ElementDef *x = Def(def); x && x->type == elemKind) return def;
    return AddElementDef(doc, name, elemKind);
}

}  // namespace host
