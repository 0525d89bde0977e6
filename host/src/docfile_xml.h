// Plain XML files: read into a document image (definitions from the DTD, else from what the
// document uses) and written straight from a document (with declarations, so a reopen finds the
// same catalog).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "docfile_image.h"
#include "docfile_libxml.h"
#include "fdk.h"

namespace host::docfile {

// Reads a plain XML file into `image` (which must be empty). The root element becomes the
// highest-level element of the main flow "Main". Whitespace-only text is dropped where the
// element holds no other text and its declaration is not mixed; an element forms a paragraph
// (its definition gets a paragraph format of its own name) when it holds text directly or is
// declared mixed, unless it ever stands inside such an element (then it is inline). Host text
// keeps a tab as the byte 0x08. False with `failure` filled when the file cannot be read.
bool ReadXml(const std::string &nativePath, DocImage &image, ReadFailure &failure);

// The content of an external entity's own file, as a save is to write it.
struct SideFile {
    std::string entity;  // the entity's name
    std::string target;  // the file (native path)
    std::string bytes;
};

// Writes the main flow's tree of document `doc` as XML into `bytes`, read from the document
// itself (no copy of the tree is made, and nothing is laid out). A document read from plain XML
// keeps what its file held: the DOCTYPE as written (none when it had none), comments and
// processing instructions, and external parsed entities, whose content goes to `sideFiles` for
// their own files (relative ones under `targetFolder`, the folder the main file is saved to)
// with the reference in its place. Any other document gets a DOCTYPE declaring the catalog.
// False with `error` set when the document cannot be expressed as XML (no structure, a name
// that is not an XML name). Nothing is written to disk here.
bool WriteXml(F_ObjHandleT doc, const std::string &targetFolder, std::string &bytes, std::vector<SideFile> &sideFiles,
              std::string &error);

// Whether `bytes` are well-formed XML: a streaming read that loads no external file and builds
// no tree. False with `error` set to the first fault and its line otherwise.
bool CheckWellFormed(std::string_view bytes, std::string &error);

}  // namespace host::docfile
