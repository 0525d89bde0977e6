// Host objects that stand for elements of one kind (see element_objects.h).
#include "element_objects.h"

#include <algorithm>
#include <unordered_map>

#include "model_internal.h"

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
    if (!obj) return 0;
    Ids().byElem[elem] = obj;
    Ids().byObj[obj] = elem;
    return obj;
}

void ForgetElementObject(F_ObjHandleT elem) {
    ObjectIds &ids = Ids();
    if (ids.byElem.empty()) return;
    auto it = ids.byElem.find(elem);
    if (it == ids.byElem.end()) return;
    ids.byObj.erase(it->second);
    ids.byElem.erase(it);
}

F_ObjHandleT ElementForObject(F_ObjHandleT doc, F_ObjHandleT obj) {
    auto it = Ids().byObj.find(obj);
    if (it == Ids().byObj.end()) return 0;
    Element *e = Elem(it->second);
    return e && (!doc || e->doc == doc) ? it->second : 0;
}

void ForEachElement(F_ObjHandleT doc, const std::function<void(F_ObjHandleT)> &visit) {
    Document *d = Doc(doc);
    if (!d) return;
    std::vector<F_ObjHandleT> stack;
    for (F_ObjHandleT f : d->flows) {
        Flow *fl = FlowOf(f);
        if (fl && fl->root) stack.push_back(fl->root);
        while (!stack.empty()) {
            F_ObjHandleT e = stack.back();
            stack.pop_back();
            visit(e);
            size_t mark = stack.size();
            for (F_ObjHandleT c = Elem(e)->first; c; c = Elem(c)->next) stack.push_back(c);
            std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(mark), stack.end());
        }
    }
}

std::vector<F_ObjHandleT> ElementsOfKind(F_ObjHandleT doc, IntT elemKind) {
    std::vector<F_ObjHandleT> out;
    ForEachElement(doc, [&](F_ObjHandleT e) {
        if (ElementKind(e) == elemKind) out.push_back(e);
    });
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
