// Paragraphs, text frames and pages: a view of each flow's element tree, built on demand.
#include "model.h"
#include "model_internal.h"

namespace host {

struct Layout {};

void MarkChanged(F_ObjHandleT doc, bool modified) {
    Document *d = Doc(doc);
    if (!d) return;
    d->layout.reset();
    if (modified) d->modified = 1;
}

void ForgetDerived(Document &d) { d.layout.reset(); }
void ResetDerived() {}

void RegisterLayoutProperties() {}

}  // namespace host
