// Cancelling a long operation: the user's Esc, and the question whether to cancel.
#include "lib/host/cancel.h"

#include "lib/globals.h"
#include "lib/strings/heapstr.h"

namespace {

// Asks the question with Yes as default: true only for a Yes. A failed alert (FA_errno set) is
// never read as Yes: the operation goes on.
bool UserConfirmsCancel(ConStringT question) {
    FA_errno = 0;
    IntT answer = F_ApiAlert(question, FF_ALERT_YES_DEFAULT);
    return FA_errno == 0 && answer == 0;
}

const char *const kCancelQuestion = "Are you sure you want to cancel this operation?";

}  // namespace

IntT om_PollCancelAsk(IntT ask) {
    if (F_ApiUserCancel() != 1) return 0;
    if (ask != 1) return 1;
    return UserConfirmsCancel(kCancelQuestion) ? 1 : 0;
}

IntT om_ConfirmCancel(ConStringT question) {
    CancelFlag = UserConfirmsCancel(om_StrIsEmpty(question) ? kCancelQuestion : question) ? 1 : 0;
    return CancelFlag;
}
