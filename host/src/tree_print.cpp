// The element tree of a document as the session's `print tree` shows it.
#include "tree_print.h"

#include "model.h"

namespace host {

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '"' || c == '\\') out += std::string("\\") + c;
        else out += c;
    }
    return out + "\"";
}

std::string ElementLine(F_ObjHandleT id, const host::Element &e) {
    if (!e.def) return Quoted(e.text);
    const host::ElementDef *def = host::Def(e.def);
    std::string line = def ? def->name : "?";
    for (const host::Attr &a : e.attrs) {
        if (a.values.empty()) continue;
        std::string joined;
        for (size_t i = 0; i < a.values.size(); ++i) joined += (i ? " " : "") + a.values[i];
        line += " " + host::AtomName(a.name) + "=" + Quoted(joined);
    }
    if (def && def->type == FV_FO_MARKER) {
        F_ObjHandleT marker = F_ApiGetId(e.doc, id, FP_Object);
        StringT text = F_ApiGetString(e.doc, marker, FP_MarkerText);
        line += " [" + std::string(text ? text : "") + "]";
        F_ApiDeallocateString(&text);
    }
    return line;
}

// Depth-first, without recursion: the tree may be deep.
void AppendTree(F_ObjHandleT root, std::vector<std::string> &lines) {
    size_t depth = 0;
    F_ObjHandleT id = root;
    while (id) {
        const host::Element *e = host::Elem(id);
        if (!e) break;
        if (!e->misc) lines.push_back(std::string(2 * depth, ' ') + ElementLine(id, *e));
        if (e->first) {
            id = e->first;
            ++depth;
            continue;
        }
        while (id && id != root && !host::Elem(id)->next) {
            id = host::Elem(id)->parent;
            --depth;
        }
        if (!id || id == root) break;
        id = host::Elem(id)->next;
    }
}

}  // namespace

std::vector<std::string> ElementTreeLines(F_ObjHandleT doc) {
    std::vector<std::string> lines;
    host::Document *d = host::Doc(doc);
    if (!d) return lines;
    if (host::Flow *main = host::FlowOf(d->mainFlow); main && main->root) AppendTree(main->root, lines);
    for (F_ObjHandleT f : d->flows) {
        host::Flow *flow = host::FlowOf(f);
        if (!flow || f == d->mainFlow || !flow->root) continue;
        lines.push_back("flow " + Quoted(flow->name));
        AppendTree(flow->root, lines);
    }
    if (lines.empty()) lines.push_back("(no structure)");
    return lines;
}

}  // namespace host
