// Calls to other clients of the host, directly or with the client and the message asked of the user.
#pragma once

#include "fdk.h"

// Calls the client with the message; with the twice flag 1 calls again when the first call gave 1.
IntT om_CallClient(ConStringT clientName, ConStringT message, IntT twice);
// Asks for a client and a message (the last ones given, with the remember flag), calls the client
// and, with the show flag, shows its answer; 0 when the user cancels a prompt.
IntT om_ClientCallPrompt(ConStringT defaultClient, ConStringT defaultMessage, IntT showResult, IntT remember);
