// Cancelling a long operation: the user's Esc, and the question whether to cancel (Yes default).
#pragma once

#include "fdk.h"

// 1 when the user pressed Esc and (with the ask flag 1) confirms the cancel question.
IntT om_PollCancelAsk(IntT ask);
// Asks the question (the standard one when empty); CancelFlag and the answer: 1 for Yes. A failed
// alert is never read as Yes.
IntT om_ConfirmCancel(ConStringT question);
