// Plain XML files: read into a document image (definitions from the DTD, else from what the
// document uses) and written from one (with declarations, so a reopen finds the same catalog).
#pragma once

#include <string>

#include "docfile_image.h"
#include "docfile_libxml.h"

namespace host::docfile {

// Reads a plain XML file into `image` (which must be empty). The root element becomes the
// highest-level element of the main flow "Main". Whitespace-only text is dropped where the
// element holds no other text and its declaration is not mixed; an element forms a paragraph
// (its definition gets a paragraph format of its own name) when it holds text directly or is
// declared mixed, unless it ever stands inside such an element (then it is inline). Host text
// keeps a tab as the byte 0x08. False with `failure` filled when the file cannot be read.
bool ReadXml(const std::string &nativePath, DocImage &image, ReadFailure &failure);

// Writes the main flow's tree of `image` as XML to `nativePath`: a document type declaration
// with the catalog as declarations, then the elements, attributes and text. False with
// `error` set when the document cannot be expressed as XML (no structure, a name that is not
// an XML name) or the file cannot be written.
bool WriteXml(const DocImage &image, const std::string &nativePath, std::string &error);

}  // namespace host::docfile
