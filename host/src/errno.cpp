// The host's error word: set by a failing call, never cleared by a success.
#include "fdk.h"

extern "C" {
IntT FA_errno = 0;
}
