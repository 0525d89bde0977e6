// Plain XML files: read into a document image (definitions from the DTD, else from what the
// document uses) and written from one (with declarations, so a reopen finds the same catalog).
#pragma once

#include <string>
#include <vector>

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

// A file a save writes beside the main one: written to `temp`, moved to `target` once every
// file of the save is written.
struct SideFile {
    std::string temp, target;
};

// Writes the main flow's tree of `image` as XML to `nativePath`. A document read from plain XML
// keeps what its file held: the DOCTYPE as written (none when it had none), comments and
// processing instructions, and external parsed entities, whose content is written to their own
// files (relative ones under `targetFolder`, the folder the main file is saved to; listed in
// `sideFiles`) with the reference in its place. Any other document gets a DOCTYPE declaring the
// catalog. False with `error` set when the document cannot be expressed as XML (no structure, a
// name that is not an XML name) or a file cannot be written (then no side file is left).
bool WriteXml(const DocImage &image, const std::string &nativePath, const std::string &targetFolder,
              std::vector<SideFile> &sideFiles, std::string &error);

}  // namespace host::docfile
