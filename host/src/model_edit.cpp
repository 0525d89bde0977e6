// Element edits: new element, delete.
#include "model.h"
#include "model_internal.h"

namespace host {

void RegisterEditCalls() {}

}  // namespace host
