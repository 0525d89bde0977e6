// Element definitions to and from a DTD: the declarations a plain XML file comes with become the
// document's element catalog, and a save as XML writes the catalog back as declarations.
#pragma once

#include <string>
#include <vector>

#include <libxml/tree.h>

#include "docfile_image.h"

namespace host::docfile {

// What the declarations say beyond the definitions themselves, per definition index.
struct DtdFacts {
    std::vector<char> mixed;     // declared with #PCDATA in its content
    std::vector<char> inlined;   // named inside some element's mixed content
    std::vector<char> declared;  // has an element or attribute list declaration
    std::vector<char> elementOnly;  // declared with element content (children only; white space between them is insignificant)
};

// Adds a definition for every element and attribute list the document's internal and external
// subsets declare (the first declaration of a name counts, the internal subset first) and
// records the document type. ID becomes UniqueID, IDREF IDReference, IDREFS IDReferences,
// enumerations and notations Choice, NMTOKENS and ENTITIES Strings, everything else String;
// #REQUIRED is required, #FIXED read-only with its default.
DtdFacts CatalogFromDtd(xmlDocPtr doc, DocImage &image);

// The content model to declare for a definition: the one it came with, else one made from
// `children` (the tags its elements hold), `holdsText` and whether it begins a paragraph.
std::string ContentModelFor(const ElementDefImage &def, const std::vector<std::string> &children, bool holdsText);

// The attribute list declaration body for a definition ("" when it has no attributes).
std::string AttlistFor(const ElementDefImage &def);

// Whether a text is an XML name / a name token.
bool IsXmlName(const std::string &s);
bool IsNameToken(const std::string &s);

}  // namespace host::docfile
