// Importing element definitions from one document into another: definitions the target lacks
// are added with their attribute definitions, those it has take the source's type, paragraph
// format and attributes; importing a document's definitions into itself re-applies them (their
// elements keep what they have).
#include "model.h"
#include "model_internal.h"

using namespace host;

extern "C" IntT F_ApiSimpleImportElementDefs(F_ObjHandleT toDocId, F_ObjHandleT fromDocId, IntT) {
    if (!Doc(toDocId) || !Doc(fromDocId)) return Fail(FE_BadDocId), FA_errno;
    if (toDocId == fromDocId) return 0;
    for (F_ObjHandleT d = F_ApiGetId(0, fromDocId, FP_FirstElementDefInDoc); d;
         d = F_ApiGetId(fromDocId, d, FP_NextElementDefInDoc)) {
        const ElementDef *src = Def(d);
        if (!src) continue;
        F_ObjHandleT to = FindElementDef(toDocId, src->name);
        if (!to) to = AddElementDef(toDocId, src->name, src->type, src->pgfFormat);
        ElementDef *dst = Def(to);
        if (!dst) continue;
        dst->type = src->type;
        dst->pgfFormat = src->pgfFormat;
        for (const AttrDef &a : src->attrs) {
            bool have = false;
            for (const AttrDef &b : dst->attrs) have = have || b.name == a.name;
            if (!have) AddAttributeDef(to, a);
        }
    }
    return 0;
}
