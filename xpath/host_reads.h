// The engine's reads of the host's structure: tags, attributes, element text, documents and
// books, with small per-run caches so that a run asks the host for each thing once.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Clears the per-run caches (called at the start of every run: the document may have changed).
void om_XPathHostCachesClear();
// Forgets the tags of element definitions (at the start of every run: a reset sequence).
void om_XPathTagCacheClear();
// The tag of an element definition ("" for none), read from the host once per run.
const std::string &om_XPathDefinitionTag(F_ObjHandleT doc, F_ObjHandleT def);
// An element's attribute list as the host lists it, read in place into room the engine keeps:
// the first `count` entries of `items` are the attributes.
struct XPathAttrList {
    struct Entry {
        std::string name;
        std::vector<std::string> values;
    };
    std::vector<Entry> items;
    size_t count = 0;
};
// The element's attributes (kept for the last element asked, until the next element is asked or
// the caches are cleared).
const XPathAttrList &om_XPathElementAttrs(F_ObjHandleT doc, F_ObjHandleT elem);
// Values of attribute index i of an element into out; with defaults, an attribute without a value
// gives its definition's default values.
void om_XPathAttrValues(F_ObjHandleT doc, F_ObjHandleT elem, IntT index, int defaults, std::vector<std::string> &out);
// The element's text from its first paragraph (or all of it), cut to maxChars characters
// (0: no cut): the library's reading of an element's text (om_ElementText, the content).
std::string om_XPathElementText(F_ObjHandleT doc, F_ObjHandleT elem, int firstParagraph, IntT maxChars);
// Element tree links (0 when none).
inline F_ObjHandleT om_XPathParent(F_ObjHandleT doc, F_ObjHandleT e) {
    return e ? F_ApiGetId(doc, e, FP_ParentElement) : 0;
}
inline F_ObjHandleT om_XPathFirstChild(F_ObjHandleT doc, F_ObjHandleT e) {
    return e ? F_ApiGetId(doc, e, FP_FirstChildElement) : 0;
}
inline F_ObjHandleT om_XPathNextSibling(F_ObjHandleT doc, F_ObjHandleT e) {
    return e ? F_ApiGetId(doc, e, FP_NextSiblingElement) : 0;
}
inline F_ObjHandleT om_XPathPrevSibling(F_ObjHandleT doc, F_ObjHandleT e) {
    return e ? F_ApiGetId(doc, e, FP_PrevSiblingElement) : 0;
}
// The topmost ancestor of e (e itself at the top).
F_ObjHandleT om_XPathTopAncestor(F_ObjHandleT doc, F_ObjHandleT e);
// Open documents and books.
bool om_XPathIsBook(F_ObjHandleT id);
F_ObjHandleT om_XPathBookOfDoc(F_ObjHandleT doc);
F_ObjHandleT om_XPathComponentElementOfDoc(F_ObjHandleT book, F_ObjHandleT doc);
F_ObjHandleT om_XPathOpenDocOfPath(const std::string &path);
// The open document or book that text names by id, path, file name or part of its path.
F_ObjHandleT om_XPathFindOpenDoc(const std::string &text);
std::string om_XPathObjectPath(F_ObjHandleT id);
// The highest-level element of a document's "Main" flow (its first flow when it has none).
F_ObjHandleT om_XPathMainFlowRoot(F_ObjHandleT doc);
