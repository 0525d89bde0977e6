// Fuzz target: any text as a dialog resource is parsed into a template or refused with a line
// or a reason; a parsed template can always be checked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialog_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    host::DialogTemplate t;
    std::string error;
    if (host::ParseDialogResource(text, &t, &error)) {
        host::ValidateDialogTemplate(t);
    } else if (error.empty()) {
        __builtin_trap();  // a refusal says why
    }
    return 0;
}
