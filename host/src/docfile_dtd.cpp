// DTD declarations to element definitions and back.
#include "docfile_dtd.h"

#include <cctype>

#include <libxml/valid.h>

#include "fdk.h"

namespace host::docfile {
namespace {

std::string Str(const xmlChar *s) { return s ? reinterpret_cast<const char *>(s) : ""; }

std::string QName(const xmlChar *prefix, const xmlChar *name) {
    return prefix ? Str(prefix) + ":" + Str(name) : Str(name);
}

const char *Occurrence(xmlElementContentOccur ocur) {
    switch (ocur) {
        case XML_ELEMENT_CONTENT_OPT: return "?";
        case XML_ELEMENT_CONTENT_MULT: return "*";
        case XML_ELEMENT_CONTENT_PLUS: return "+";
        default: return "";
    }
}

bool IsGroup(const xmlElementContent *c) {
    return c && (c->type == XML_ELEMENT_CONTENT_SEQ || c->type == XML_ELEMENT_CONTENT_OR);
}

// Appends a parenthesised group. libxml2 chains the members of one group to the right
// (a, (b, c)), so the chain is followed by a loop; only real nesting recurses, and libxml2
// bounds that when it parses the declaration (the depth guard is a second fence).
void AppendGroup(const xmlElementContent *group, std::string &out, std::vector<std::string> *names, int depth);

void AppendMember(const xmlElementContent *c, std::string &out, std::vector<std::string> *names, int depth) {
    if (!c) return;
    if (IsGroup(c)) {
        AppendGroup(c, out, names, depth + 1);
        return;
    }
    if (c->type == XML_ELEMENT_CONTENT_PCDATA) {
        out += "#PCDATA";
    } else {
        std::string n = QName(c->prefix, c->name);
        if (names) names->push_back(n);
        out += n;
    }
    out += Occurrence(c->ocur);
}

void AppendGroup(const xmlElementContent *group, std::string &out, std::vector<std::string> *names, int depth) {
    if (depth > 256) {
        out += "ANY";
        return;
    }
    const char *sep = group->type == XML_ELEMENT_CONTENT_SEQ ? "," : "|";
    out += '(';
    const xmlElementContent *cur = group;
    while (true) {
        AppendMember(cur->c1, out, names, depth);
        const xmlElementContent *next = cur->c2;
        out += sep;
        if (next && next->type == group->type && next->ocur == XML_ELEMENT_CONTENT_ONCE) {
            cur = next;
            continue;
        }
        AppendMember(next, out, names, depth);
        break;
    }
    out += ')';
    out += Occurrence(group->ocur);
}

// The content model text of an element declaration; `names` receives the element names it lists.
std::string ContentModelText(const xmlElement *decl, std::vector<std::string> &names) {
    switch (decl->etype) {
        case XML_ELEMENT_TYPE_EMPTY: return "EMPTY";
        case XML_ELEMENT_TYPE_ANY: return "ANY";
        case XML_ELEMENT_TYPE_MIXED:
        case XML_ELEMENT_TYPE_ELEMENT: {
            const xmlElementContent *c = decl->content;
            if (!c) return decl->etype == XML_ELEMENT_TYPE_MIXED ? "(#PCDATA)" : "ANY";
            std::string out;
            if (IsGroup(c)) {
                AppendGroup(c, out, &names, 0);
            } else {
                out = "(";
                AppendMember(c, out, &names, 0);
                // (a)* keeps its occurrence outside the parentheses.
                if (c->ocur != XML_ELEMENT_CONTENT_ONCE) out.pop_back();
                out += ')';
                out += Occurrence(c->ocur);
            }
            return out;
        }
        default: return "";
    }
}

int AttrTypeOf(xmlAttributeType t) {
    switch (t) {
        case XML_ATTRIBUTE_ID: return FV_AT_UNIQUE_ID;
        case XML_ATTRIBUTE_IDREF: return FV_AT_UNIQUE_IDREF;
        case XML_ATTRIBUTE_IDREFS: return FV_AT_UNIQUE_IDREFS;
        case XML_ATTRIBUTE_ENUMERATION:
        case XML_ATTRIBUTE_NOTATION: return FV_AT_CHOICE;
        case XML_ATTRIBUTE_NMTOKENS:
        case XML_ATTRIBUTE_ENTITIES: return FV_AT_STRINGS;
        default: return FV_AT_STRING;
    }
}

const char *DtdTypeName(xmlAttributeType t) {
    switch (t) {
        case XML_ATTRIBUTE_CDATA: return "CDATA";
        case XML_ATTRIBUTE_ID: return "ID";
        case XML_ATTRIBUTE_IDREF: return "IDREF";
        case XML_ATTRIBUTE_IDREFS: return "IDREFS";
        case XML_ATTRIBUTE_ENTITY: return "ENTITY";
        case XML_ATTRIBUTE_ENTITIES: return "ENTITIES";
        case XML_ATTRIBUTE_NMTOKEN: return "NMTOKEN";
        case XML_ATTRIBUTE_NMTOKENS: return "NMTOKENS";
        case XML_ATTRIBUTE_NOTATION: return "NOTATION";
        default: return "";  // enumerations are written from their choices
    }
}

void AddDeclarations(xmlDtdPtr dtd, DocImage &image, DtdFacts &facts, std::vector<char> &elementDeclared) {
    if (!dtd) return;
    auto grow = [&] {
        facts.mixed.resize(image.defs.size(), 0);
        facts.inlined.resize(image.defs.size(), 0);
        facts.declared.resize(image.defs.size(), 0);
        facts.elementOnly.resize(image.defs.size(), 0);
        elementDeclared.resize(image.defs.size(), 0);
    };
    for (xmlNodePtr n = dtd->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_DECL) {
            auto *decl = reinterpret_cast<xmlElementPtr>(n);
            int32_t d = image.DefFor(QName(decl->prefix, decl->name));
            grow();
            facts.declared[d] = 1;
            if (elementDeclared[d]) continue;
            elementDeclared[d] = 1;
            std::vector<std::string> names;
            image.defs[d].contentModel = ContentModelText(decl, names);
            if (decl->etype == XML_ELEMENT_TYPE_ELEMENT) facts.elementOnly[d] = 1;
            if (decl->etype == XML_ELEMENT_TYPE_MIXED) {
                facts.mixed[d] = 1;
                for (const std::string &name : names) {
                    int32_t child = image.DefFor(name);
                    grow();
                    facts.inlined[child] = 1;
                }
            }
        } else if (n->type == XML_ATTRIBUTE_DECL) {
            auto *decl = reinterpret_cast<xmlAttributePtr>(n);
            int32_t d = image.DefFor(Str(decl->elem));
            grow();
            facts.declared[d] = 1;
            ElementDefImage &def = image.defs[d];
            std::string name = QName(decl->prefix, decl->name);
            bool seen = false;
            for (const AttrDefImage &a : def.attributes) seen = seen || a.name == name;
            if (seen) continue;
            AttrDefImage a;
            a.name = name;
            a.type = AttrTypeOf(decl->atype);
            a.dtdType = DtdTypeName(decl->atype);
            for (xmlEnumerationPtr e = decl->tree; e; e = e->next) a.choices.push_back(Str(e->name));
            a.required = decl->def == XML_ATTRIBUTE_REQUIRED;
            a.readOnly = decl->def == XML_ATTRIBUTE_FIXED;
            if (decl->defaultValue) {
                std::string v = Str(decl->defaultValue);
                if (IsListType(a.type))
                    a.defaults = SplitTokens(v);
                else
                    a.defaults.push_back(v);
            }
            def.attributes.push_back(std::move(a));
        }
    }
}

// A default value or choice inside double quotes in a declaration.
std::string Quoted(const std::string &v) {
    std::string out = "\"";
    for (char c : v) {
        if (c == '"') out += "&#34;";
        else if (c == '&') out += "&#38;";
        else if (c == '<') out += "&#60;";
        else if (c == '%') out += "&#37;";
        else out += c;
    }
    return out + "\"";
}

bool IsNameStart(unsigned char c) { return c >= 0x80 || std::isalpha(c) || c == '_' || c == ':'; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.'; }

}  // namespace

DtdFacts CatalogFromDtd(xmlDocPtr doc, DocImage &image) {
    DtdFacts facts;
    std::vector<char> declared;
    if (!doc) return facts;
    xmlDtdPtr internal = doc->intSubset;
    if (internal) {
        image.doctype.rootName = Str(internal->name);
        image.doctype.publicId = Str(internal->ExternalID);
        image.doctype.systemId = Str(internal->SystemID);
    }
    AddDeclarations(internal, image, facts, declared);
    AddDeclarations(doc->extSubset, image, facts, declared);
    image.doctype.hadDtd = !image.defs.empty();
    facts.mixed.resize(image.defs.size(), 0);
    facts.inlined.resize(image.defs.size(), 0);
    facts.declared.resize(image.defs.size(), 0);
    facts.elementOnly.resize(image.defs.size(), 0);
    return facts;
}

std::string ContentModelFor(const ElementDefImage &def, const std::vector<std::string> &children, bool holdsText) {
    if (!def.contentModel.empty()) return def.contentModel;
    bool text = holdsText || !def.paragraphFormat.empty();
    if (!text && children.empty()) return "ANY";
    std::string out = "(";
    if (text) out += "#PCDATA";
    for (size_t i = 0; i < children.size(); ++i) {
        if (text || i) out += '|';
        out += children[i];
    }
    out += ")";
    if (!text || !children.empty()) out += '*';
    return out;
}

std::string AttlistFor(const ElementDefImage &def) {
    std::string out;
    for (const AttrDefImage &a : def.attributes) {
        std::string type;
        switch (a.type) {
            case FV_AT_UNIQUE_ID: type = "ID"; break;
            case FV_AT_UNIQUE_IDREF: type = "IDREF"; break;
            case FV_AT_UNIQUE_IDREFS: type = "IDREFS"; break;
            case FV_AT_CHOICE: {
                bool tokens = !a.choices.empty();
                for (const std::string &c : a.choices) tokens = tokens && IsNameToken(c);
                if (!tokens) {
                    type = "CDATA";
                    break;
                }
                type = a.dtdType == "NOTATION" ? "NOTATION (" : "(";
                for (size_t i = 0; i < a.choices.size(); ++i) type += (i ? "|" : "") + a.choices[i];
                type += ")";
                break;
            }
            case FV_AT_STRINGS: type = a.dtdType == "ENTITIES" ? "ENTITIES" : "NMTOKENS"; break;
            default:
                type = (a.dtdType == "NMTOKEN" || a.dtdType == "ENTITY") ? a.dtdType : "CDATA";
                break;
        }
        std::string value = IsListType(a.type) ? JoinTokens(a.defaults) : (a.defaults.empty() ? "" : a.defaults[0]);
        std::string presence;
        if (a.required) presence = "#REQUIRED";
        else if (!a.defaults.empty()) presence = a.readOnly ? "#FIXED " + Quoted(value) : Quoted(value);
        else presence = "#IMPLIED";
        if (!out.empty()) out += "\n  ";
        out += a.name + " " + type + " " + presence;
    }
    return out;
}

bool IsXmlName(const std::string &s) {
    if (s.empty() || !IsNameStart(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!IsNameChar(static_cast<unsigned char>(c))) return false;
    return true;
}

bool IsNameToken(const std::string &s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!IsNameChar(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace host::docfile
