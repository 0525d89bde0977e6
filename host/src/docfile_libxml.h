// libxml2 set up the way the host reads files: no network, no external entity but the local
// DTD, libxml2's limits on entity expansion and nesting depth left on, and the first error
// kept with its line for the message the user sees.
#pragma once

#include <string>

#include <libxml/xmlreader.h>

namespace host::docfile {

// Why a file could not be read: the line (0 = not known) and libxml2's or the reader's text.
struct ReadFailure {
    int line = 0;
    std::string message;
};

// A streaming reader over one local file. With `withDtd` the document's DTD (internal subset and
// the local external one) is loaded and internal entities are expanded; external general
// entities are never loaded. Without it, entity references are left alone.
class SafeReader {
  public:
    SafeReader(const std::string &nativePath, bool withDtd);
    ~SafeReader();
    SafeReader(const SafeReader &) = delete;
    SafeReader &operator=(const SafeReader &) = delete;

    // Moves to the next node: true while there is one; false at the end or on an error
    // (then Failed() is true and Failure() says why).
    bool Next();
    bool Failed() const { return failed_; }
    const ReadFailure &Failure() const { return failure_; }
    // Ends the read with a failure of our own (a structure the format does not allow).
    void Fail(const std::string &message);
    xmlTextReaderPtr Reader() const { return reader_; }
    // The line of the current node.
    int Line() const;

  private:
    static void OnError(void *self, xmlErrorPtr error);
    xmlTextReaderPtr reader_ = nullptr;
    bool failed_ = false;
    ReadFailure failure_;
    ReadFailure firstFatal_;
    ReadFailure firstError_;
};

// The value of the current node's attribute of that name, or "".
std::string ReaderAttribute(xmlTextReaderPtr reader, const char *name);

}  // namespace host::docfile
