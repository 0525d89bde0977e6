// Fuzz target: any text handed to the XPath compiler gives a sequence number or an error code,
// never a crash or a hang; a compiled expression can be listed and reset.
#include <cstddef>
#include <cstdint>
#include <string>

#include "xpath/xpath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool ready = false;
    if (!ready) {
        om_XPathInitEngine(100000, 5000, 10000);
        ready = true;
    }
    if (XPathNodeTable.nextFree > 200000) om_XPathResetNodeTable();
    std::string text(reinterpret_cast<const char *>(data), size);
    IntT s = om_XPathCompile(text, 0);
    if (s > 0 && s <= XPathLastSequenceNumber) {
        om_XPathCompiledListing(text, s);
        om_XPathResetSequence(s, 1);
        om_XPathSubstituteParameters(s);
    }
    return 0;
}
