// Element walk shared by every pass over a document's structure tree (see element_walk.h).
#include "lib/host/element_walk.h"

#include "lib/host/host_values.h"
#include "lib/run_state.h"

ElementWalkStateT ElementWalkState;
std::vector<UIntT> ElementWalkStack;

namespace {
// The walk's last move and its stack of ancestors; kept from step to step of one walk.
[[maybe_unused]] const bool resetElementWalkCursor =
    om_RunStateRegister("element walk cursor", RunStateKind::Run, [] {
        ElementWalkState = ElementWalkStateT{};
        ElementWalkStack.clear();
    });
}  // namespace

F_ObjHandleT om_ElementNextInDocOrder(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    if (!ElementWalkState.enabled) return elemId;
    if (ElementWalkState.lastMove != WalkUp) {
        F_ObjHandleT child = F_ApiGetId(docId, elemId, FP_FirstChildElement);
        if (child) {
            ElementWalkState.lastMove = WalkDown;
            return child;
        }
    }
    F_ObjHandleT next = F_ApiGetId(docId, elemId, FP_NextSiblingElement);
    if (next) {
        ElementWalkState.lastMove = WalkNext;
        return next;
    }
    ElementWalkState.lastMove = WalkUp;
    return F_ApiGetId(docId, elemId, FP_ParentElement);
}

F_ObjHandleT om_ElementNextTagged(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    if (!ElementWalkState.enabled) return elemId;
    F_ObjHandleT e = om_ElementNextInDocOrder(docId, elemId);
    // Each step moves to another element of a finite tree and never re-enters a subtree it left,
    // so the loop ends; the untagged elements passed over are leaves.
    while (e && !HostIsTagged(docId, e)) e = om_ElementNextInDocOrder(docId, e);
    return e;
}

void om_ElementWalkPush() { ElementWalkStack.push_back(static_cast<UIntT>(ElementWalkState.lastMove)); }

void om_ElementWalkPop() {
    if (ElementWalkStack.empty()) return;
    ElementWalkState.lastMove = static_cast<IntT>(ElementWalkStack.back());
    ElementWalkStack.pop_back();
}

void om_ElementWalkStart() {
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
}
