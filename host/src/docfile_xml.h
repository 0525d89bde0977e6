// Plain XML files: read into a document image (definitions from the DTD, else from what the
// document uses) and written straight from a document (with declarations, so a reopen finds the
// same catalog).
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
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

// The bytes of an XML file as they are written: pieces handed over in order while the writer
// goes on, so that a reader on another thread (the well-formedness check) can follow it. A piece
// handed over never changes. Finish() ends the file; a reader waiting for a piece past the end
// is then told there is none.
class XmlPieces {
  public:
    XmlPieces() = default;
    XmlPieces(const XmlPieces &) = delete;
    XmlPieces &operator=(const XmlPieces &) = delete;

    // The writer's side: appends the next piece; ends the file.
    void Add(std::string piece);
    void Finish();
    // The reader's side: the piece at `index`, waiting until the writer hands it over; nullptr
    // when the file ended before it.
    const std::string *Wait(size_t index);
    // The whole file, once finished: its pieces in order.
    std::vector<std::string_view> Views() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable handed_;
    std::deque<std::string> pieces_;  // a deque: a piece stays where it is while others are added
    bool finished_ = false;
};

// Writes the main flow's tree of document `doc` as XML into `out`, read from the document
// itself (no copy of the tree is made, and nothing is laid out), handing the bytes over in
// pieces as they are made; `out` is finished when this returns, also on failure. A document read
// from plain XML keeps what its file held: the DOCTYPE as written (none when it had none),
// comments and processing instructions, and external parsed entities, whose content goes to
// `sideFiles` for their own files (relative ones under `targetFolder`, the folder the main file is
// saved to) with the reference in its place. Any other document gets a DOCTYPE declaring the
// catalog. False with `error` set when the document cannot be expressed as XML (no structure, a
// name that is not an XML name); what `out` holds then is no file. Nothing is written to disk here.
bool WriteXml(F_ObjHandleT doc, const std::string &targetFolder, XmlPieces &out, std::vector<SideFile> &sideFiles,
              std::string &error);

// Whether `bytes` are well-formed XML: a streaming read that loads no external file and builds
// no tree. False with `error` set to the first fault and its line otherwise.
bool CheckWellFormed(std::string_view bytes, std::string &error);
// The same check of a file as its writer hands it over, piece by piece, until it is finished.
bool CheckWellFormed(XmlPieces &pieces, std::string &error);

}  // namespace host::docfile
