// What a batch of actions remembers: the last definition found and the last document found open.
#include "nodewizard/action_batch.h"

#include "lib/host/documents.h"
#include "lib/run_state.h"

namespace {

struct BatchMemo {
    bool open = false;
    F_ObjHandleT defDoc = 0, def = 0;
    std::string defName;
    F_ObjHandleT openDoc = 0;
    IntT openKind = 0;
};
BatchMemo batch;

// The last definition and open document a batch of actions found; reset at each batch's start.
[[maybe_unused]] const bool resetActionBatchMemo = om_RunStateRegister("action batch memo", RunStateKind::Run, [] {
    batch = BatchMemo{};
});

}  // namespace

void om_NWBeginActionBatch() {
    batch = BatchMemo{};
    batch.open = true;
}

void om_NWEndActionBatch() { batch = BatchMemo{}; }

void om_NWForgetActionBatch() {
    const bool open = batch.open;
    batch = BatchMemo{};
    batch.open = open;
}

F_ObjHandleT om_NWDefinition(F_ObjHandleT doc, const std::string &name) {
    if (batch.open && batch.def && batch.defDoc == doc && batch.defName == name) return batch.def;
    F_ObjHandleT def = F_ApiGetNamedObject(doc, FO_ElementDef, name.c_str());
    if (batch.open && def) {
        batch.defDoc = doc;
        batch.def = def;
        batch.defName = name;
    }
    return def;
}

IntT om_NWOpenDocOrBookKind(F_ObjHandleT id) {
    if (batch.open && batch.openDoc && batch.openDoc == id) return batch.openKind;
    IntT kind = om_DocKindIfOpen(0, id);
    if (kind != FO_Doc && kind != FO_Book) return 0;
    if (batch.open) {
        batch.openDoc = id;
        batch.openKind = kind;
    }
    return kind;
}
