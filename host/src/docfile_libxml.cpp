// libxml2 set-up shared by the document file readers: the entity loader that lets only the
// local DTD in, the parser options, and error capture.
#include "docfile_libxml.h"

#include <cstring>

#include <libxml/parserInternals.h>

namespace host::docfile {
namespace {

xmlExternalEntityLoader gDefaultLoader = nullptr;

// Loads an external entity only when it is the document's DTD or a parameter entity of it (the
// main parser asks for those while building the document) and lies on the local file system.
// External general entities are loaded by a parser of their own, which has no document yet:
// they are refused, so no file's content can be pulled into a document through an entity.
xmlParserInputPtr LocalDtdLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt) {
    if (!url || !ctxt || !ctxt->myDoc) return nullptr;
    const char *scheme = std::strstr(url, "://");
    if (scheme && std::strncmp(url, "file://", 7) != 0) return nullptr;
    return gDefaultLoader(url, id, ctxt);
}

void InstallLoader() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    xmlInitParser();
    gDefaultLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(LocalDtdLoader);
}

// libxml2's message as the user sees it: one line, and the reader's limits in our own words.
std::string Trimmed(const char *message) {
    std::string s = message ? message : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    if (s.find("Excessive depth") != std::string::npos) return "the elements are nested more than 256 deep";
    if (s.find("XML_PARSE_HUGE") != std::string::npos) return "the file exceeds the size limits of the reader";
    return s;
}

void Silent(void *, const char *, ...) {}

}  // namespace

SafeReader::SafeReader(const std::string &nativePath, bool withDtd) {
    InstallLoader();
    // Messages libxml2 prints outside a parser context go nowhere; ours are reported to the user.
    xmlSetGenericErrorFunc(nullptr, Silent);
    int options = XML_PARSE_NONET | XML_PARSE_NOCDATA;
    if (withDtd) options |= XML_PARSE_DTDLOAD | XML_PARSE_NOENT;
    reader_ = xmlReaderForFile(nativePath.c_str(), nullptr, options);
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

void SafeReader::OnError(void *self, xmlErrorPtr error) {
    auto *r = static_cast<SafeReader *>(self);
    if (!error || error->level < XML_ERR_ERROR) return;
    // A fatal error is what ends the read; an earlier recoverable one explains it only when no
    // fatal error comes.
    ReadFailure &slot = error->level == XML_ERR_FATAL ? r->firstFatal_ : r->firstError_;
    if (!slot.message.empty()) return;
    slot.line = error->line;
    slot.message = Trimmed(error->message);
}

bool SafeReader::Next() {
    if (failed_) return false;
    int ret = xmlTextReaderRead(reader_);
    if (ret == 1) return true;
    if (ret < 0) {
        failed_ = true;
        failure_ = firstFatal_.message.empty() ? firstError_ : firstFatal_;
        if (failure_.message.empty()) failure_.message = "the file is not well-formed XML";
        if (failure_.line == 0) failure_.line = xmlTextReaderGetParserLineNumber(reader_);
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
