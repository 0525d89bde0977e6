// libxml2 set up the way the host reads files: no network, no external entity but the local
// DTD, libxml2's limits on entity expansion and nesting depth left on, and the first error
// kept with its line for the message the user sees.
#pragma once

#include <string>

#include <libxml/parser.h>
#include <libxml/xmlreader.h>

namespace host::docfile {

// Why a file could not be read: the line (0 = not known) and the reason.
struct ReadFailure {
    int line = 0;
    std::string message;
};

// The errors libxml2 reports during one read: the first fatal one ends the read and explains
// it; an earlier recoverable one explains it only when no fatal one came.
struct ErrorLog {
    ReadFailure firstFatal, firstError;
    void Record(const xmlError *error);
    // The failure to report, with `line` when libxml2 gave none.
    ReadFailure Failure(int line) const;
};

// A SAX2 parser over one local file. Its handler starts as libxml2's own, which builds the DTD
// (the internal subset and the local external one) in ctxt->myDoc; the caller replaces the
// element and text callbacks, sets ctxt->_private, runs xmlParseDocument, frees ctxt->myDoc and
// the parser. Internal entities are expanded; external general entities are never loaded.
// nullptr when the file cannot be opened.
xmlParserCtxtPtr NewSafeSaxParser(const std::string &nativePath);

// A streaming reader over one local file, without DTD loading or entity expansion (for files of
// the host's own format).
class SafeReader {
  public:
    explicit SafeReader(const std::string &nativePath);
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
    ErrorLog log_;
};

// The value of the current node's attribute of that name, or "".
std::string ReaderAttribute(xmlTextReaderPtr reader, const char *name);

}  // namespace host::docfile
