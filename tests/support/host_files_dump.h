// A readable dump of an open document as its file image: what the document file tests compare.
#pragma once

#include <sstream>
#include <string>

#include "docfile_image.h"
#include "docfile_model.h"

namespace host {

// Values of a list, each in brackets, so ["a b"] and ["a", "b"] differ.
inline std::string DumpList(const std::vector<std::string> &values) {
    std::string out;
    for (const auto &v : values) out += "[" + v + "]";
    return out;
}

// One line per node: indentation by depth, tag and attributes (or quoted text), paragraph mode,
// and with `full` the unique ids plus the settings, catalog and formats first.
inline std::string TreeDump(F_ObjHandleT doc, bool full) {
    docfile::DocImage image;
    if (!docfile::ExtractDocument(doc, image)) return "<no document>";
    std::ostringstream out;
    if (full) {
        out << "paragraphs per page " << image.paragraphsPerPage << "\n";
        for (const auto &d : image.defs) {
            out << "def " << d.name << " type " << d.type << " pgf [" << d.paragraphFormat << "]\n";
            for (const auto &a : d.attributes)
                out << "  attr " << a.name << " type " << a.type << (a.required ? " required" : "")
                    << (a.readOnly ? " read-only" : "") << " choices " << DumpList(a.choices)
                    << " defaults " << DumpList(a.defaults) << " range [" << a.rangeMin << ","
                    << a.rangeMax << "]\n";
        }
        for (const auto &f : image.formats) out << "format " << f.kind << " " << f.name << "\n";
    }
    for (const auto &flow : image.flows) {
        out << "flow " << flow.name << (flow.main ? " main" : "") << "\n";
        std::vector<int32_t> depth(image.nodes.size(), 0);
        for (int32_t i = flow.first; i < flow.first + flow.count; ++i) {
            const auto &n = image.nodes[i];
            depth[i] = n.parent < 0 ? 0 : depth[n.parent] + 1;
            out << std::string(depth[i] * 2, ' ');
            if (n.def == docfile::kTextNode) {
                out << '"' << image.NodeText(n) << '"';
            } else if (n.def == docfile::kCommentNode) {
                out << "<!--" << image.NodeText(n) << "-->";
            } else if (n.def == docfile::kPiNode) {
                out << "<?" << image.NodeText(n) << "?>";
            } else {
                out << image.defs[n.def].name;
                for (uint32_t k = 0; k < n.attrCount; ++k) {
                    const auto &a = image.attrs[n.firstAttr + k];
                    out << " " << a.name << "=" << DumpList(a.values);
                }
                if (n.pgfMode) out << " pgf" << int(n.pgfMode);
            }
            if (full) out << " #" << n.uniqueId;
            out << "\n";
        }
    }
    return out.str();
}

}  // namespace host
