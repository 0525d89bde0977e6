// qvhost's query command. It loads the plug-in module, opens the document (native ".fm" or plain
// ".xml"), compiles the expression with the call "ParseXPath", then asks "FindNextNode" until it
// answers 0, and prints each match as its element path ("/doc[1]/sec[2]/para[1]", "/@name"
// added for an attribute match; a match in another document is preceded by that document's path
// and a colon), with --values its value after a tab, or with --count only the number of matches.
// Exit status: 0 when something matched, 1 when nothing did, 2 for a bad command line, a module
// that does not load, an expression that does not compile (its error code and message on
// standard error) or a flow, start element or search that fails, 3 when the document cannot be
// opened. Without %APPDATA% the plug-in's settings go into a temporary folder of the command's
// own, removed at exit.
#include "query.h"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "client.h"
#include "docfile_api.h"
#include "element_path.h"
#include "model.h"
#include "paths.h"
#include "transcript.h"
#include "user.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    "usage: qvhost [--plugin MODULE] [--client-dir DIR] query DOCUMENT EXPRESSION [--flow NAME] [--start PATH]\n"
    "                                                  [--values | --count]\n"
    "  prints each match of the XPath expression in the document as its element path\n"
    "  --flow NAME   search that flow only (default: no flow restriction)\n"
    "  --start PATH  the context element of a relative expression, as a path such as /doc[1]/sec[2]\n"
    "  --values      print each match's value after its path and a tab: an element's text, an\n"
    "                attribute's value (tabs and line breaks in it become blanks)\n"
    "  --count       print only the number of matches\n"
    "  exit status: 0 something matched, 1 nothing matched, 2 a bad command line, a module that\n"
    "  does not load, an expression that does not compile, or a flow or start element not found,\n"
    "  3 the document cannot be opened; the message on standard error\n"
    "  settings: the plug-in's settings folder is below %APPDATA% when it is set, else in a\n"
    "  temporary folder removed at exit\n";

// Bound of the match loop (more matches than any document has nodes).
constexpr long kMatchLimit = 100000000;

int usage(const std::string &why) {
    std::cerr << "qvhost: " << why << "\n" << kUsage;
    return 2;
}

fs::path programFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

struct QueryArgs {
    std::string plugin, clientDir, document, expression, flow, start;
    bool values = false, count = false;
};

// The plug-in's answer to one call string.
IntT call(const std::string &message) { return F_ApiCallClient("Quorvane", message.c_str()); }

// The transcript lines recorded since `from`, for an error message.
std::string shownSince(size_t from) {
    std::string out;
    const auto &lines = host::TranscriptLines();
    for (size_t i = from; i < lines.size(); ++i) out += "\n  " + lines[i];
    return out;
}

// Prints the error of an expression that does not compile, asked of the module by name.
void printCompileError(const std::string &module, const std::string &expression) {
    void *handle = dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
    auto errorOf = handle ? reinterpret_cast<IntT (*)(ConStringT, StringT *)>(dlsym(handle, "qv_XPathCompileError")) : nullptr;
    StringT message = nullptr;
    IntT code = errorOf ? errorOf(expression.c_str(), &message) : -1;
    if (code > 0)
        std::cerr << "qvhost: XPath error " << code << ": " << (message ? message : "") << "\n";
    else
        std::cerr << "qvhost: the expression does not compile\n";
    F_ApiDeallocateString(&message);
    if (handle) dlclose(handle);
}

// Hands attribute index i of an element to use(attribute) when the element has it, read in place.
template <typename Use>
void readAttribute(F_ObjHandleT doc, F_ObjHandleT elem, IntT i, Use &&use) {
    if (i < 0) return;
    struct Wanted {
        UIntT index;
        Use *use;
    } wanted{UIntT(i), &use};
    F_ApiReadAttributes(
        doc, elem,
        [](const F_AttributeReadT *attr, PtrT arg) -> IntT {
            auto *w = static_cast<Wanted *>(arg);
            if (attr->index != w->index) return 0;
            (*w->use)(*attr);
            return 1;
        },
        &wanted);
}

// Adds the name of attribute index i of an element to out.
void addAttributeName(std::string &out, F_ObjHandleT doc, F_ObjHandleT elem, IntT i) {
    readAttribute(doc, elem, i, [&out](const F_AttributeReadT &attr) {
        if (attr.name) out += attr.name;
    });
}

// The element paths of each document matches come from, each made in linear time overall.
std::unordered_map<F_ObjHandleT, host::ElementPaths> &pathsOf() {
    static std::unordered_map<F_ObjHandleT, host::ElementPaths> paths;
    return paths;
}

// The element paths of the document matches come from: the last one asked for is kept at hand.
host::ElementPaths &pathsIn(F_ObjHandleT doc) {
    static F_ObjHandleT lastDoc = 0;
    static host::ElementPaths *last = nullptr;
    if (!last || doc != lastDoc) {
        last = &pathsOf().try_emplace(doc, doc).first->second;  // elements of an unordered_map stay put
        lastDoc = doc;
    }
    return *last;
}

// Adds the line of a match to out (without its line break): its path in its document, or the
// name of a flow a flow step matched.
void addMatchLine(std::string &out, F_ObjHandleT doc, F_ObjHandleT matchDoc, F_ObjHandleT match, IntT attr) {
    if (matchDoc && matchDoc != doc) {
        StringT path = F_ApiGetString(0, matchDoc, FP_Path);
        out += path ? path : "";
        out += ':';
        F_ApiDeallocateString(&path);
    }
    F_ObjHandleT inDoc = matchDoc ? matchDoc : doc;
    if (F_OBJ_KIND(match) == FO_Flow) {
        StringT name = F_ApiGetString(inDoc, match, FP_Name);
        out += "flow ";
        out += name ? name : "";
        F_ApiDeallocateString(&name);
        return;
    }
    pathsIn(inDoc).AppendPath(match, out);
    if (attr >= 0) {
        out += "/@";
        addAttributeName(out, inDoc, match, attr);
    }
}

// One line of a value: tabs and line breaks become blanks, so that each match stays one line.
std::string oneLine(std::string text) {
    for (char &c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

// A match's value: an attribute's value (its values joined by blanks), an element's text.
std::string matchValue(F_ObjHandleT doc, F_ObjHandleT matchDoc, F_ObjHandleT match, IntT attr) {
    F_ObjHandleT inDoc = matchDoc ? matchDoc : doc;
    std::string value;
    if (F_OBJ_KIND(match) == FO_Flow) return value;
    if (attr >= 0) {
        readAttribute(inDoc, match, attr, [&value](const F_AttributeReadT &a) {
            for (UIntT k = 0; k < a.valueCount; ++k) {
                if (k) value += ' ';
                value += a.values[k] ? a.values[k] : "";
            }
        });
        return oneLine(value);
    }
    F_TextItemsT items = F_ApiGetText(inDoc, match, FTI_String);
    for (UIntT k = 0; k < items.len; ++k)
        if (items.val[k].sdata) value += items.val[k].sdata;
    F_ApiDeallocateTextItems(&items);
    return oneLine(value);
}

// A delimiter that the expression does not contain.
std::string delimiterFor(const std::string &expression) {
    std::string d = "---";
    while (expression.find(d) != std::string::npos) d += "\x1f";
    return d;
}

int runQuery(const QueryArgs &a) {
    std::string error;
    std::error_code ec;
    std::string dir = a.clientDir.empty() ? "" : fs::absolute(a.clientDir, ec).string();
    // The plug-in's start-up questions (a first start, an upgrade) are answered Yes.
    for (int i = 0; i < 2; ++i) {
        host::UserAnswer yes;
        yes.kind = "alert";
        yes.value = "yes";
        host::QueueAnswer(yes);
    }
    bool loaded = host::LoadClientModule(a.plugin, dir, &error) != nullptr;
    host::ClearAnswers();
    if (!loaded) {
        std::cerr << "qvhost: " << error << "\n";
        return 2;
    }
    size_t shown = host::TranscriptLines().size();
    std::string windowsPath = host::WindowsPath(fs::absolute(a.document, ec).string());
    F_ObjHandleT doc = host::OpenDocumentFile(windowsPath, true);
    if (!doc) {
        std::cerr << "qvhost: cannot open " << a.document << shownSince(shown) << "\n";
        return 3;
    }
    F_ObjHandleT flow = 0;
    if (!a.flow.empty()) {
        flow = host::FindFlow(doc, a.flow);
        if (!flow) {
            std::cerr << "qvhost: the document has no flow \"" << a.flow << "\"\n";
            return 2;
        }
    }
    F_ObjHandleT start = 0;
    if (!a.start.empty()) {
        start = host::ElementAtPath(doc, a.start, flow);
        if (!start) {
            std::cerr << "qvhost: no element at " << a.start << "\n";
            return 2;
        }
    }
    std::string d = delimiterFor(a.expression);
    if (d != "---") call("ChangeCallDelimiter" + d);
    IntT seq = call("ParseXPath" + d + a.expression);
    if (seq == 3) {
        printCompileError(a.plugin, a.expression);
        return 2;
    }
    if (seq <= 100) {
        std::cerr << "qvhost: the plug-in did not compile the expression (answer " << seq << ")\n";
        return 2;
    }
    std::string s = std::to_string(seq);
    std::string find = "FindNextNode" + d + s + d + std::to_string(doc) + d + std::to_string(start) + d +
                       (flow ? std::to_string(flow) : "0");
    const std::string attrMatch = "RetrieveAttrMatch" + d + s, docMatch = "RetrieveDocMatch" + d + s;
    // Only the attribute axis matches attributes, and only the fm... axes reach other files; a
    // parameter may stand for either. An expression whose text names none of them needs one
    // call per match instead of three.
    std::string lower = a.expression;
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool askAttr = lower.find_first_of("@$") != std::string::npos || lower.find("attribute") != std::string::npos;
    const bool askDoc = lower.find('$') != std::string::npos || lower.find("fm") != std::string::npos;
    std::string out;
    long n = 0;
    for (; n < kMatchLimit; ++n) {
        IntT m = call(find);
        if (m == 0) break;
        if (m < 100) {
            std::cout << out;
            std::cerr << "qvhost: the search stopped (answer " << m << ")\n";
            return 2;
        }
        if (a.count) continue;
        IntT attr = askAttr || a.values ? call(attrMatch) - 100 : -1;
        F_ObjHandleT mdoc = askDoc ? F_ObjHandleT(call(docMatch)) : doc;
        addMatchLine(out, doc, mdoc, F_ObjHandleT(m), attr);
        if (a.values) out += '\t' + matchValue(doc, mdoc, F_ObjHandleT(m), attr);
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::cout << out;
            out.clear();
        }
    }
    if (a.count) out = std::to_string(n) + "\n";
    std::cout << out;
    std::cout.flush();
    if (n == 0) std::cerr << "qvhost: nothing matches " << a.expression << "\n";
    return n > 0 ? 0 : 1;
}

// The plug-in's settings folder for one query: %APPDATA% when it is set; else a temporary
// folder of the command's own (its path, to be removed at exit).
std::string temporarySettings() {
    const char *given = std::getenv("APPDATA");
    if (given && *given) return "";
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "qvhost-query.XXXXXX").string();
    if (ec) pattern = "/tmp/qvhost-query.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) return "";
    std::string dir = buffer.data();
    ::setenv("APPDATA", dir.c_str(), 1);
    return dir;
}

}  // namespace

int QueryCommandIfAsked(int argc, char **argv) {
    QueryArgs a;
    a.plugin = (programFolder() / "Quorvane_FM2020.so").string();
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--plugin" || arg == "--client-dir") && i + 1 < argc) {
            (arg == "--plugin" ? a.plugin : a.clientDir) = argv[++i];
        } else {
            break;
        }
    }
    if (i >= argc || std::string(argv[i]) != "query") return -1;
    std::vector<std::string> words;
    for (++i; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--flow" || arg == "--start") {
            if (i + 1 >= argc) return usage(arg + " needs a value");
            (arg == "--flow" ? a.flow : a.start) = argv[++i];
        } else if (arg == "--values") {
            a.values = true;
        } else if (arg == "--count") {
            a.count = true;
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() != 2) return usage("query needs a document and an expression");
    if (a.values && a.count) return usage("--values and --count do not go together");
    a.document = words[0];
    a.expression = words[1];
    std::string settings = temporarySettings();
    int status = runQuery(a);
    if (!settings.empty()) {
        std::error_code ec;
        fs::remove_all(settings, ec);
    }
    // The answer is complete: the process ends here, without taking the session's documents
    // apart object by object (millions of elements for a large file) only to give the memory back.
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(status);
}
