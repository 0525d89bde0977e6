// Fuzz target: the settings readers over any lines. The first line names the key and the
// separator ("key|sep"); every reader of key=value lines answers a value or its default within
// its bounds, and splitting each line never fails.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fdk.h"
#include "lib/strings/keyvalue.h"
#include "lib/strings/search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    size_t first = input.find('\n');
    std::string head = input.substr(0, first);
    std::string body = first == std::string::npos ? std::string() : input.substr(first + 1);
    size_t bar = head.find('|');
    std::string key = head.substr(0, bar);
    std::string sep = bar == std::string::npos ? "=" : head.substr(bar + 1);

    F_StringsT lines = om_StrSplit(body.c_str(), "\n");
    for (IntT caseFlag : {0, 1}) {
        IntT n = om_IniGetInt(&lines, key.c_str(), caseFlag, sep.c_str(), 7, -5, 50);
        if (n < -5 || n > 50) __builtin_trap();
        RealT r = om_IniGetReal(&lines, key.c_str(), caseFlag, sep.c_str(), 0.5, -2.0, 2.0);
        if (!(r >= -2.0 && r <= 2.0)) __builtin_trap();
        om_IniGetBool(&lines, key.c_str(), caseFlag, sep.c_str(), 1);
        om_IniGetTriState(&lines, key.c_str(), caseFlag, sep.c_str(), 2);
        om_IniGetPromptChoice(&lines, key.c_str(), caseFlag, sep.c_str(), 0);
        for (IntT trim : {0, 1}) {
            StringT s = om_IniGetString(&lines, key.c_str(), caseFlag, sep.c_str(), trim, "default");
            F_ApiDeallocateString(&s);
        }
        F_StringsT list = om_IniGetList(&lines, key.c_str(), caseFlag, sep.c_str(), ",", 1, "a,b");
        F_ApiDeallocateStrings(&list);
    }
    StringT shortcut = om_IniGetShortcut(&lines, key.c_str(), sep.c_str(), "");
    F_ApiDeallocateString(&shortcut);
    for (UIntT i = 0; i < lines.len; ++i) {
        StringT k = nullptr, v = nullptr;
        om_IniSplitLine(lines.val[i], &k, &v, sep.c_str(), 1);
        F_ApiDeallocateString(&k);
        F_ApiDeallocateString(&v);
        om_StrToBool(lines.val[i], 0);
        om_StrToTriState(lines.val[i], 0);
        om_StrToPromptChoice(lines.val[i], 0);
        om_StrIsInteger(lines.val[i]);
    }
    F_ApiDeallocateStrings(&lines);
    return 0;
}
