// A batch of actions over many nodes (Perform Action(s) On All). While one is open, what the
// element actions cannot change is asked of the host once: the definition a name gives in a
// document (no element action deletes or renames a definition) and whether a document is open
// (no element action closes one). Outside a batch every question goes to the host.
#pragma once

#include <string>

#include "fdk.h"

void om_NWBeginActionBatch();
void om_NWEndActionBatch();
// Forgets what the open batch found, keeping it open: for a run whose own steps between the
// actions may close a document or change definitions (a script run, around its other actions).
void om_NWForgetActionBatch();

// Opens a batch for its lifetime.
struct NWActionBatch {
    NWActionBatch() { om_NWBeginActionBatch(); }
    ~NWActionBatch() { om_NWEndActionBatch(); }
    NWActionBatch(const NWActionBatch &) = delete;
    NWActionBatch &operator=(const NWActionBatch &) = delete;
};

// The element definition of that name in doc, 0 when there is none.
F_ObjHandleT om_NWDefinition(F_ObjHandleT doc, const std::string &name);
// FO_Doc or FO_Book when id is an open document or book, else 0 (see om_DocKindIfOpen).
IntT om_NWOpenDocOrBookKind(F_ObjHandleT id);
