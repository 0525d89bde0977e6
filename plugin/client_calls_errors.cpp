// The compile error of an expression, exported by name for host tools: ParseXPath only answers
// that an expression does not compile (3); a tool that wants to tell its user why asks here.
#include "fdk.h"
#include "xpath/xpath.h"

extern "C" {

// Compiles the text without a report; 0 when it compiles, else the error code (-1 when the
// engine gave none), and *message
// (when given) set to a new host string with the error's message (the caller frees it with
// F_ApiDeallocateString).
IntT qv_XPathCompileError(ConStringT text, StringT *message) {
    IntT s = om_XPathCompile(text ? text : "", 0);
    if (s >= 1 && s <= XPathLastSequenceNumber) return 0;
    if (s < 1) return -1;
    if (message) *message = F_StrCopyString(om_XPathErrorMessage(s).c_str());
    return s;
}

}  // extern "C"
