// libxml2 set-up shared by the document file readers: the entity loader that lets only the
// document and its local DTD in, the parser options, and error capture.
#include "docfile_libxml.h"

#include <cstring>

#include <libxml/parserInternals.h>

namespace host::docfile {
namespace {

xmlExternalEntityLoader gDefaultLoader = nullptr;
bool gOpeningMain = false;  // a parser is being made: its first load is its own file

// Loads the file a parser is being made for, and otherwise only the document's DTD and the
// parameter entities of it (the main parser asks for those while it builds the document) from
// the local file system. External general entities are loaded by a parser of their own, which
// has no document: they are refused, so no file's content can be pulled into a document.
xmlParserInputPtr LocalDtdLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt) {
    if (!url) return nullptr;
    if (gOpeningMain) {
        gOpeningMain = false;
        return gDefaultLoader(url, id, ctxt);
    }
    if (!ctxt || !ctxt->myDoc) return nullptr;
    const char *scheme = std::strstr(url, "://");
    if (scheme && std::strncmp(url, "file://", 7) != 0) return nullptr;
    return gDefaultLoader(url, id, ctxt);
}

void Silent(void *, const char *, ...) {}

void SetUp() {
    static bool done = false;
    // Messages libxml2 prints outside a parser context go nowhere; ours are reported to the user.
    xmlSetGenericErrorFunc(nullptr, Silent);
    if (done) return;
    done = true;
    xmlInitParser();
    gDefaultLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(LocalDtdLoader);
}

// libxml2's message as the user sees it: one line, and the parser's limits in our own words.
std::string UserText(const char *message) {
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    if (s.find("Excessive depth") != std::string::npos) return "the elements are nested more than 256 deep";
    if (s.find("XML_PARSE_HUGE") != std::string::npos) return "the file exceeds the size limits of the reader";
    return s;
}

}  // namespace

void ErrorLog::Record(const xmlError *error) {
    if (!error || error->level < XML_ERR_ERROR) return;
    ReadFailure &slot = error->level == XML_ERR_FATAL ? firstFatal : firstError;
    if (!slot.message.empty()) return;
    slot.line = error->line;
    slot.message = UserText(error->message);
}

ReadFailure ErrorLog::Failure(int line) const {
    ReadFailure f = firstFatal.message.empty() ? firstError : firstFatal;
    if (f.message.empty()) f.message = "the file is not well-formed XML";
    if (f.line == 0) f.line = line;
    return f;
}

xmlParserCtxtPtr NewSafeSaxParser(const std::string &nativePath) {
    SetUp();
    gOpeningMain = true;
    xmlParserCtxtPtr ctxt = xmlCreateURLParserCtxt(nativePath.c_str(), XML_PARSE_NONET | XML_PARSE_DTDLOAD | XML_PARSE_NOENT);
    gOpeningMain = false;
    return ctxt;
}

SafeReader::SafeReader(const std::string &nativePath) {
    SetUp();
    reader_ = xmlReaderForFile(nativePath.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOCDATA);
    if (!reader_) {
        failed_ = true;
        failure_.message = "the file could not be read";
        return;
    }
    xmlTextReaderSetStructuredErrorHandler(reader_, OnError, this);
}

SafeReader::~SafeReader() {
    if (reader_) xmlFreeTextReader(reader_);
}

void SafeReader::OnError(void *self, xmlErrorPtr error) { static_cast<SafeReader *>(self)->log_.Record(error); }

bool SafeReader::Next() {
    if (failed_) return false;
    int ret = xmlTextReaderRead(reader_);
    if (ret == 1) return true;
    if (ret < 0) {
        failed_ = true;
        failure_ = log_.Failure(xmlTextReaderGetParserLineNumber(reader_));
    }
    return false;
}

void SafeReader::Fail(const std::string &message) {
    if (failed_) return;
    failed_ = true;
    failure_.line = Line();
    failure_.message = message;
}

int SafeReader::Line() const { return reader_ ? xmlTextReaderGetParserLineNumber(reader_) : 0; }

std::string ReaderAttribute(xmlTextReaderPtr reader, const char *name) {
    xmlChar *v = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar *>(name));
    if (!v) return {};
    std::string s(reinterpret_cast<const char *>(v));
    xmlFree(v);
    return s;
}

}  // namespace host::docfile
