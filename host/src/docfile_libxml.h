// libxml2 set up the way the host reads files: no network; the document's DTD may be any local
// file, every other external file (a parameter entity of a DTD, a general entity of the
// document or of an entity file) only one in the folder of the file that declares it or below;
// libxml2's limits on entity expansion and nesting depth left on, and the first error kept with
// its line for the message the user sees.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlwriter.h>

namespace host::docfile {

// Why a file could not be read: the line (0 = not known) and the reason.
struct ReadFailure {
    ReadFailure() = default;
    ReadFailure(int atLine, std::string why) : line(atLine), message(std::move(why)) {}
    int line = 0;
    std::string message;
    std::string file;  // the file the line is in, when it is not the document's own ("" = the document)
};

// The errors libxml2 reports during one read: the first fatal one ends the read and explains
// it; an earlier recoverable one explains it only when no fatal one came.
struct ErrorLog {
    ReadFailure firstFatal, firstError;
    std::string mainFile;          // the document's file, as libxml2 names it (errors elsewhere name their file)
    std::string undeclaredEntity;  // the first entity referenced without a declaration ("" = none)
    void Record(const xmlError *error);
    // The failure to report, with `line` when libxml2 gave none.
    ReadFailure Failure(int line) const;
};

// What the loader did during one SAX read: the bytes of every file it let in, and the first
// external general and parameter entity it could not or would not load.
struct LoadRecord {
    uint64_t bytesRead = 0;
    std::string refusedEntity;  // "" = none; else the user's message naming the entity
    std::string refusedParameter;  // the same for a parameter entity (the DTD may do without it)
    std::string missingDtd;  // the document's DTD when it could not be read: what it was named ("" = read, or none)
    // The text declaration each external file read began with ("" = none), by local file; read
    // only once the file has passed the loading rule and proved a regular file.
    std::unordered_map<std::string, std::string> textDecls;
};

// A SAX2 parser over one local file. Its handler starts as libxml2's own, which builds the DTD
// (the internal subset and the local external one) in ctxt->myDoc; the caller replaces the
// element and text callbacks, sets ctxt->_private, runs xmlParseDocument, frees ctxt->myDoc and
// the parser, then calls EndSafeSaxRead. Internal entities are expanded; external ones are
// loaded as the folder rule allows, their loads counted in `record` (which must outlive the
// read). nullptr when the file cannot be opened.
xmlParserCtxtPtr NewSafeSaxParser(const std::string &nativePath, LoadRecord &record);
// Ends the loader's bookkeeping of the read NewSafeSaxParser began.
void EndSafeSaxRead();

// The local file a URI or path names ("" for a URI of another scheme), made absolute and
// normal.
std::string LocalFileOf(const char *uriOrPath);

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

// A libxml2 text writer whose output is appended to `sink` (which must outlive it): the
// serializers produce bytes, and the save puts them on disk. nullptr when it cannot be made.
xmlTextWriterPtr NewStringWriter(std::string &sink);

// The value of the current node's attribute of that name, or "".
std::string ReaderAttribute(xmlTextReaderPtr reader, const char *name);

}  // namespace host::docfile
