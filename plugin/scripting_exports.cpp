// The scripting engine's external-object exports: life cycle, script parameters and the samples.
#include "plugin/scripting_exports.h"

#include <strings.h>

#include <memory>
#include <string>

#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "nodewizard/script_runs.h"
#include "xpath/xpath.h"

namespace {

// The result buffers' sizes, terminator included: getScriptParm's own and FormatBuffer's.
constexpr size_t kParmResultBytes = 512;
constexpr size_t kFormatBufferBytes = 4096;

bool IsString(const ScriptTaggedValue &v) { return v.type == kScriptString && v.data.string; }

// The text cut so that it fits a buffer of the size with its terminator, never in the middle of
// a character.
std::string FitInto(std::string text, size_t bytes) {
    if (text.size() < bytes) return text;
    size_t cut = bytes - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

void SetText(ScriptTaggedValue *result, const std::string &text, int32_t type) {
    result->data.string = om_EONewCharBuffer(text);
    result->type = type;
}

}  // namespace

std::string om_EOFormatParameterValue(const char *name) {
    std::string value = om_XPathGetParameter(name ? name : "");
    if (strcasecmp(value.c_str(), XPathUndefinedParameter) == 0) return GeneralPreferences.strEOGetUndefinedParm;
    return value;
}

char *om_EONewCharBuffer(const std::string &text) {
    std::unique_ptr<char[]> buffer = std::make_unique<char[]>(text.size() + 1);
    text.copy(buffer.get(), text.size());
    return buffer.release();  // handed to the engine, which gives it back to ESFreeMem
}

extern "C" {

const char *ESInitialize(const ScriptTaggedValue *, IntT) {
    return "makeArray,getAverage,appendString_s,myScript_a,acceptBoolean_b";
}

void ESTerminate(void) {}

IntT ESGetVersion(void) { return 1; }

void ESFreeMem(void *p) { std::unique_ptr<char[]> owned(static_cast<char *>(p)); }

IntT getScriptParm(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result) {
    if (argc != 1 || !argv || !result || !IsString(argv[0])) return kScriptExportBadArguments;
    SetText(result, FitInto(om_EOFormatParameterValue(argv[0].data.string), kParmResultBytes), kScriptString);
    return kScriptExportDone;
}

IntT setScriptParm(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result) {
    if (argc != 2 || !argv || !result || !IsString(argv[0]) || !IsString(argv[1])) return kScriptExportBadArguments;
    om_NWSSetParam(argv[0].data.string, argv[1].data.string);
    om_XPathSetParameter(argv[0].data.string, argv[1].data.string);
    result->data.intval = 0;
    result->type = kScriptInteger;
    return kScriptExportDone;
}

IntT makeArrayZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *, IntT argc, ScriptTaggedValue *result) {
    if (argc != 0 || !result) return kScriptExportBadArguments;
    SetText(result, "[1, 2, 3]", kScriptText);
    return kScriptExportDone;
}

IntT getAverageZZZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result) {
    if (argc < 1 || !argv || !result || argv[0].type != kScriptDouble) return kScriptExportBadArguments;
    double sum = 0;
    for (IntT i = 0; i < argc; ++i) {
        const ScriptTaggedValue &v = argv[i];
        sum += v.type == kScriptDouble    ? v.data.fltval
               : v.type == kScriptInteger ? static_cast<double>(v.data.intval)
               : v.type == kScriptBool    ? (v.data.boolval ? 1.0 : 0.0)
                                          : 0.0;
    }
    result->data.fltval = sum / argc;
    result->type = kScriptDouble;
    return kScriptExportDone;
}

IntT appendStringZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result) {
    if (argc != 1 || !argv || !result || !IsString(argv[0])) return kScriptExportBadArguments;
    FormatBuffer = FitInto(om_EOFormatParameterValue(argv[0].data.string), kFormatBufferBytes);
    SetText(result, FormatBuffer, kScriptString);
    return kScriptExportDone;
}

IntT myScriptZZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *, IntT, ScriptTaggedValue *result) {
    if (!result) return kScriptExportBadArguments;
    SetText(result,
            "var dlg = new Window('dialog', 'Externalobject');"
            "dlg.btn = dlg.add('button', undefined, 'OK');"
            "dlg.btn.onClick = function(){"
            "$.writeln('LoadBasicExternalObject: closing and unloading ExternalObject');"
            "basiceo.unload();"
            "dlg.close();}"
            "dlg.show();",
            kScriptText);
    return kScriptExportDone;
}

IntT acceptBooleanZZZZZZZZZZZZZZZZZZZZZZ(const ScriptTaggedValue *argv, IntT argc, ScriptTaggedValue *result) {
    if (argc != 1 || !argv || !result || argv[0].type != kScriptBool) return kScriptExportBadArguments;
    SetText(result, argv[0].data.boolval ? "Accepted a value of TRUE" : "Accepted a value of FALSE", kScriptString);
    return kScriptExportDone;
}

}  // extern "C"
