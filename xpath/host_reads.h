// The engine's reads of the host's structure: tags, attributes, element text, documents and
// books; definition tags are kept for the run, so that a run asks the host for each once.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Forgets the tags of element definitions (at the start of every run: a reset sequence).
void om_XPathTagCacheClear();
// The tag of an element definition ("" for none), read from the host once per run.
const std::string &om_XPathDefinitionTag(F_ObjHandleT doc, F_ObjHandleT def);
// Index of the element's next attribute after index `after` (-1: from the first) whose name is
// test ("*" and "node()": any name) in the list the host gives; -1 when there is none.
IntT om_XPathNextAttr(F_ObjHandleT doc, F_ObjHandleT elem, IntT after, const std::string &test);
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
