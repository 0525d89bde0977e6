// Builds a host document from a small XML text (tests and benchmarks): every element gets a
// definition of its tag (a paragraph format when it holds text directly), attributes are set
// as written, text becomes text nodes. Whitespace-only text is dropped.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>
#include <vector>

#include "element_path.h"
#include "model.h"

namespace qvtest {

inline bool HoldsText(xmlNode *n) {
    for (xmlNode *c = n->children; c; c = c->next)
        if (c->type == XML_TEXT_NODE && c->content && std::string((const char *)c->content).find_first_not_of(" \t\r\n") != std::string::npos)
            return true;
    return false;
}

// parentHoldsText: whether the parent holds text itself (asked once per parent, not per child).
inline void BuildElement(F_ObjHandleT doc, F_ObjHandleT parent, xmlNode *n, F_ObjHandleT flow, bool parentHoldsText = false) {
    std::string tag = (const char *)n->name;
    F_ObjHandleT def = host::FindElementDef(doc, tag);
    if (!def) def = host::AddElementDef(doc, tag, FV_FO_CONTAINER);
    F_ObjHandleT e = host::AppendElement(doc, parent, def, parent ? 0 : flow);
    bool holdsText = HoldsText(n);
    host::SetFormsParagraph(e, holdsText && !parentHoldsText);
    for (xmlAttr *a = n->properties; a; a = a->next) {
        xmlChar *v = xmlNodeListGetString(n->doc, a->children, 1);
        host::SetAttribute(doc, e, (const char *)a->name, {v ? std::string((const char *)v) : std::string()});
        xmlFree(v);
    }
    for (xmlNode *c = n->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) {
            BuildElement(doc, e, c, 0, holdsText);
        } else if (c->type == XML_TEXT_NODE && c->content) {
            std::string t = (const char *)c->content;
            if (t.find_first_not_of(" \t\r\n") != std::string::npos) host::AppendText(doc, e, t);
        }
    }
}

// A new open document whose main flow holds the XML's tree; 0 when the XML does not parse.
inline F_ObjHandleT BuildDocument(const std::string &xml, const std::string &path = "Z:\\tmp\\t.fm") {
    xmlDoc *x = xmlReadMemory(xml.data(), int(xml.size()), "t.xml", nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    if (!x) return 0;
    F_ObjHandleT doc = host::NewDocument(path);
    BuildElement(doc, 0, xmlDocGetRootElement(x), host::MainFlow(doc));
    xmlFreeDoc(x);
    return doc;
}

// /doc[1]/sec[2]/para[1] of a host element (see element_path.h).
inline std::string PathOf(F_ObjHandleT doc, F_ObjHandleT e) { return host::ElementPath(doc, e); }

}  // namespace qvtest
