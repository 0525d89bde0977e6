// The inter-client call interface: other clients of the host call the plug-in with
// F_ApiCallClient("Quorvane", message); F_ApiNotify answers each call with the integer that
// om_ClientHandleCall returns. Through it a client compiles XPath expressions and walks their
// matches, sets and reads application parameters and the transformation's external parameters.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Status results of a call (values are sent with 100 added).
enum ClientCallResult : IntT {
    kCallDone = 0,
    kCallUnknown = 1,
    kCallFieldCount = 2,
    kCallNoCompile = 3,
    kCallBadSequence = 4,
    kCallNoScriptsDoc = 5,
    kCallNoDocument = 6,
    kCallNoFlow = 7,
    kCallNoScript = 8,
    kCallScriptFailed = 9,
    kCallUnknownParameter = 20,
    kCallValueOffset = 100,
};

// The call interface's state: the field delimiter and the byte cursor of GetScriptParmByte.
struct ClientCallStateT {
    std::string delimiter = "---";
    size_t byteCursor = 0;
};
extern ClientCallStateT ClientCallState;

// What FindNextNode returns: 1 host object ids, 2 unique ids (element property 21).
extern IntT ReturnIdType;

// The transformation's parameter lists (XformParams) live with the transformation's state.
#include "lib/state/xform.h"

// Answers one call string (see the status results above); nothing is shown to the user except
// what the called operations show themselves (the XPath error report when asked for).
IntT om_ClientHandleCall(ConStringT message);
