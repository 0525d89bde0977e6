// A paragraph's own catalog format applied again over its text, and the paragraph flag 722.
#pragma once

#include "fdk.h"

// Clears the character format tag over the paragraph's text from start to end (to its end when
// end is negative), then applies the paragraph's own catalog format to it again.
void om_PgfReapplyFormat(F_ObjHandleT docId, F_ObjHandleT pgfId, IntT start, IntT end);
// Sets flag 722 of the paragraph where the element's text begins; 0 when it was set already.
IntT om_PgfSetProperty722(F_ObjHandleT docId, F_ObjHandleT elemId);
