// The functions the host's scripting engine calls when it loads the plug-in's module as an
// external object: the engine's four life-cycle functions, reading and setting script parameters,
// and five sample functions whose names are padded with "Z". Exported by both modules under
// exactly these names.
#pragma once

#include <cstdint>
#include <string>

#include "fdk.h"

// The engine's value record (16 bytes): the value, its type, padding.
struct ScriptTaggedValue {
    union {
        int64_t intval;
        int32_t boolval;
        double fltval;
        char *string;
    } data;
    int32_t type;
    int32_t padding;
};

// Types of ScriptTaggedValue.
enum ScriptValueType : int32_t {
    kScriptBool = 2,
    kScriptDouble = 3,
    kScriptString = 4,
    kScriptInteger = 123,
    kScriptText = 125,
};

// Status results of the exported functions.
enum ScriptExportStatus : IntT {
    kScriptExportDone = 0,
    kScriptExportBadArguments = 20,
};

extern "C" {
const char *ESInitialize(const ScriptTaggedValue *argv, IntT argc);
void ESTerminate(void);
IntT ESGetVersion(void);
void ESFreeMem(void *p);
IntT getScriptParm(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT setScriptParm(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT makeArrayZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT getAverageZZZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT appendStringZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT myScriptZZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
IntT acceptBooleanZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result);
}

// The value of an XPath parameter, or the configured text for an undefined one (never a format).
std::string om_EOFormatParameterValue(const char *name);
// A new zero-filled character array holding the text, for the engine to free with ESFreeMem.
char *om_EONewCharBuffer(const std::string &text);
