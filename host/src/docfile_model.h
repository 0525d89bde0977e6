// Documents made from document images and images taken from documents: the meeting point of the
// file formats and the object model.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "docfile_image.h"
#include "fdk.h"

namespace host::docfile {

// Opens a new document in the session from a complete image: catalog, formats, flows, the
// element trees with attributes and stored unique ids (elements without one, or with one
// already taken, get fresh ids past every stored one), marker, cross-reference and table-row
// properties, the colours and conditions of character runs, paragraph settings. The document is
// unmodified afterwards. What the model does not hold (DTD content models and declared types,
// the document type) is kept beside the document for a later extraction. The image's nodes,
// texts and attribute values are given back or moved as they are built, so that the image and
// the document are not held whole at once: afterwards the image holds none of them.
F_ObjHandleT BuildDocument(DocImage &image, const std::string &windowsPath, bool visible);

// The image of an open document (false when `doc` is not one).
bool ExtractDocument(F_ObjHandleT doc, DocImage &image);

// What a save as XML needs of an open document beside its element trees, which it reads from
// the document itself: the image without nodes, formats or settings (the catalog, the document
// type and what a plain XML file held beside its tree); `defIndex` gets the index in image.defs
// of each definition, `referenceOf` the external entity reference each highest node of one came
// from, by element. False when `doc` is not one.
bool ExtractXmlFrame(F_ObjHandleT doc, DocImage &image, std::unordered_map<F_ObjHandleT, int32_t> &defIndex,
                     std::unordered_map<F_ObjHandleT, int32_t> &referenceOf);

}  // namespace host::docfile
