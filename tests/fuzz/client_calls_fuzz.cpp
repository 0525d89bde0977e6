// Fuzz target: a series of inter-client call strings, one a line, each answered with a status,
// never a crash or a hang. "@DOC" in a line stands for an open document's id and "@SEQ" for the
// sequence the last ParseXPath answered, so calls reach past their field checks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "plugin/client_calls.h"
#include "tests/support/xml_tree.h"
#include "xpath/xpath.h"

namespace {

const char kDocument[] =
    "<doc a='1'><sec id='s1'><title>T</title><para k='x'>one <b>two</b></para></sec>"
    "<sec id='s2'><para k='y'>four</para></sec></doc>";

// Calls answered within one input at most; FindNextNode loops end with the document anyway.
constexpr int kCallLimit = 400;

void ReplaceAll(std::string &s, const std::string &from, const std::string &to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static F_ObjHandleT doc = 0;
    if (!doc) {
        om_XPathInitEngine(100000, 5000, 10000);
        doc = qvtest::BuildDocument(kDocument, "Z:\\fuzz\\calls.fm");
    }
    if (XPathNodeTable.nextFree > 200000) om_XPathResetNodeTable();
    ClientCallState = ClientCallStateT{};
    std::string input(reinterpret_cast<const char *>(data), size);
    std::string seq = "0";
    int calls = 0;
    size_t pos = 0;
    while (pos <= input.size() && calls++ < kCallLimit) {
        size_t end = input.find('\n', pos);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(pos, end - pos);
        pos = end + 1;
        ReplaceAll(line, "@DOC", std::to_string(doc));
        ReplaceAll(line, "@SEQ", seq);
        IntT answer = om_ClientHandleCall(line.c_str());
        if (line.rfind("ParseXPath", 0) == 0 && answer > 100) seq = std::to_string(answer);
    }
    return 0;
}
