// Calls to other clients of the host, directly or with the client and message asked of the user.
#include "lib/host/client_calls.h"

#include <string>

#include "lib/strings/heapstr.h"

IntT om_CallClient(ConStringT clientName, ConStringT message, IntT twice) {
    IntT first = F_ApiCallClient(clientName, message);
    if (twice != 1) return first;
    return first == 1 ? F_ApiCallClient(clientName, message) : 0;
}

IntT om_ClientCallPrompt(ConStringT defaultClient, ConStringT defaultMessage, IntT showResult, IntT remember) {
    static std::string lastClient, lastMessage;
    std::string dc = remember && !lastClient.empty() ? lastClient : std::string(qv::View(defaultClient));
    std::string dm = remember && !lastMessage.empty() ? lastMessage : std::string(qv::View(defaultMessage));
    StringT client = nullptr, message = nullptr;
    if (F_ApiPromptString(&client, "Client?", dc.c_str()) != 0) return 0;
    if (F_ApiPromptString(&message, "Message?", dm.c_str()) != 0) {
        F_ApiDeallocateString(&client);
        return 0;
    }
    if (remember) {
        lastClient = qv::View(client);
        lastMessage = qv::View(message);
    }
    IntT result = F_ApiCallClient(client, message);
    if (showResult) F_ApiAlert(("Return value:\n\n" + std::to_string(result)).c_str(), FF_ALERT_CONTINUE_WARN);
    F_ApiDeallocateString(&client);
    F_ApiDeallocateString(&message);
    return 1;
}
