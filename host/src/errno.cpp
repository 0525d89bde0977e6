// The host's error word: set by a failing call, never cleared by a success; and its print on
// the host console.
#include <string>

#include "fdk.h"

extern "C" {
IntT FA_errno = 0;

// Prints the error word on the host console (standard output and the transcript).
void F_ApiPrintFA_Errno(void) { F_Printf(nullptr, "FA_errno = %d\n", static_cast<int>(FA_errno)); }
}
