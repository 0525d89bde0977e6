// Resource compiler: reads the dialog resources (*.dlg), checks each with the host's validator
// and against the list of items the plug-in's code reaches, and writes the C++ source that
// carries their texts into the plug-in module, and the header that gives the items the list
// names their numbers (dialog_items.h). Any problem fails the build.
//
// Usage: qv_rescomp OUTPUT.cpp OUTPUT.h REQUIRED.txt FILE.dlg...
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_resource.h"

namespace {

bool ReadFile(const std::string &path, std::string *out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    *out = ss.str();
    return true;
}

// The file name without folder and extension.
std::string BaseName(const std::string &path) {
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// A C++ string literal of any bytes.
std::string Literal(const std::string &s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n\"\n    \"";
        } else if (c < 0x20 || c >= 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Writes the file unless it holds the content already (so that nothing rebuilds for nothing).
bool WriteIfChanged(const std::string &path, const std::string &content) {
    std::string old;
    if (ReadFile(path, &old) && old == content) return true;
    std::ofstream o(path, std::ios::binary);
    o << content;
    return static_cast<bool>(o);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: qv_rescomp OUTPUT.cpp OUTPUT.h REQUIRED.txt FILE.dlg...\n");
        return 2;
    }
    const char *outSource = argv[1], *outHeader = argv[2], *requiredPath = argv[3];
    int errors = 0;
    auto report = [&](const std::string &where, const std::string &what) {
        std::fprintf(stderr, "%s: error: %s\n", where.c_str(), what.c_str());
        ++errors;
    };
    std::map<std::string, std::pair<std::string, host::DialogTemplate>> resources;  // name -> text, template
    for (int i = 4; i < argc; ++i) {
        std::string text, error;
        host::DialogTemplate t;
        if (!ReadFile(argv[i], &text)) {
            report(argv[i], "cannot read the file");
            continue;
        }
        if (!host::ParseDialogResource(text, &t, &error)) {
            report(argv[i], error);
            continue;
        }
        if (t.name != BaseName(argv[i])) report(argv[i], "the dialog name \"" + t.name + "\" differs from the file name");
        for (const auto &p : host::ValidateDialogTemplate(t)) report(argv[i], p);
        if (resources.count(t.name)) report(argv[i], "a second resource named \"" + t.name + "\"");
        resources[t.name] = {text, t};
    }
    // The named items of each resource: its namespace and (name, number) in list order.
    std::map<std::string, std::string> namespaces;
    std::map<std::string, std::vector<std::pair<std::string, int>>> named;
    std::vector<std::string> namedOrder;  // resources in the order their namespaces are given
    std::string required;
    if (!ReadFile(requiredPath, &required)) report(requiredPath, "cannot read the file");
    std::istringstream req(required);
    std::string line;
    for (int lineNo = 1; std::getline(req, line); ++lineNo) {
        std::istringstream ls(line);
        std::string name, kind, itemName, extra;
        int number = -1;
        if (!(ls >> name) || name[0] == '#') continue;
        std::string where = std::string(requiredPath) + ":" + std::to_string(lineNo);
        if (name == "namespace") {
            std::string resource, space;
            if (!(ls >> resource >> space) || (ls >> extra)) {
                report(where, "expected: namespace resource name");
            } else if (namespaces.count(resource)) {
                report(where, "a second namespace for \"" + resource + "\"");
            } else {
                namespaces[resource] = space;
                namedOrder.push_back(resource);
            }
            continue;
        }
        if (!(ls >> number >> kind)) {
            report(where, "expected: resource item-number kind [name]");
            continue;
        }
        auto it = resources.find(name);
        if (it == resources.end()) {
            report(where, "no resource named \"" + name + "\"");
            continue;
        }
        const auto &items = it->second.second.items;
        if (number < 0 || number >= static_cast<int>(items.size()))
            report(where, name + " has no item " + std::to_string(number));
        else if (host::ResourceKindName(items[number].kind) != kind)
            report(where, name + " item " + std::to_string(number) + " is a " +
                              host::ResourceKindName(items[number].kind) + ", not a " + kind);
        if (!(ls >> itemName)) continue;
        if (ls >> extra) report(where, "expected: resource item-number kind [name]");
        if (!namespaces.count(name)) {
            report(where, "the item is named before a namespace line for \"" + name + "\"");
            continue;
        }
        for (const auto &[other, otherNumber] : named[name])
            if (other == itemName || otherNumber == number)
                report(where, name + " names " + (other == itemName ? "\"" + itemName + "\"" : "item " +
                                  std::to_string(number)) + " twice");
        named[name].emplace_back(itemName, number);
    }
    if (errors) return 1;

    std::ostringstream out;
    out << "// Generated by qv_rescomp from resources/*.dlg: the dialog resources of the module.\n"
           "#include <cstring>\n\n#include \"fdk.h\"\n\nnamespace {\n"
           "struct NamedResource {\n    const char *name;\n    const char *text;\n};\n"
           "const NamedResource kResources[] = {\n";
    for (const auto &[name, r] : resources) out << "    {" << Literal(name) << ",\n     " << Literal(r.first) << "},\n";
    out << "};\n}  // namespace\n\n"
           "// The text of the module's dialog resource of that name, or NULL.\n"
           "extern \"C\" void *qv_DialogResourceText(ConStringT name) {\n"
           "    if (!name) return nullptr;\n"
           "    for (const auto &r : kResources)\n"
           "        if (std::strcmp(r.name, name) == 0) return const_cast<char *>(r.text);\n"
           "    return nullptr;\n}\n";
    std::ostringstream header;
    header << "// Generated by qv_rescomp from resources/required.txt: the numbers of the dialog items the\n"
              "// plug-in's code reaches, by name, one namespace a resource.\n"
              "#pragma once\n\n#include \"fdk.h\"\n";
    for (const std::string &resource : namedOrder) {
        header << "\n// " << resource << "\nnamespace " << namespaces[resource] << " {\nenum : IntT {\n";
        for (const auto &[itemName, number] : named[resource]) header << "    " << itemName << " = " << number << ",\n";
        header << "};\n}  // namespace " << namespaces[resource] << "\n";
    }
    return WriteIfChanged(outSource, out.str()) && WriteIfChanged(outHeader, header.str()) ? 0 : 1;
}
