// libxml2 set-up shared by the document file readers: the entity loader that applies the
// folder rule, the parser options, and error capture.
#include "docfile_libxml.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unordered_map>
#include <vector>

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parserInternals.h>
#include <libxml/uri.h>

namespace fs = std::filesystem;

namespace host::docfile {
namespace {

// The loader found in place when our read began: it reads the file a parser is made for and
// the files the folder rule lets in, and is put back when the read ends.
xmlExternalEntityLoader gDefaultLoader = nullptr;
bool gOpeningMain = false;  // a parser is being made: its first load is its own file

// Where an external entity was declared: its name, whether it is a parameter entity, and the
// folder of the file holding the declaration.
struct EntityOrigin {
    std::string name;
    bool parameter = false;
    std::string folder;
};

// The loader's state during one SAX read.
struct ReadState {
    LoadRecord *record = nullptr;
    bool dtdNext = false;  // the next load is the document's DTD
    std::unordered_map<std::string, std::vector<EntityOrigin>> origins;  // by local file
};
ReadState *gRead = nullptr;

// Whether `file` lies in `folder` or below (both absolute and normal).
bool Within(const std::string &file, const std::string &folder) {
    if (folder.empty()) return false;
    std::string f = folder.back() == '/' ? folder : folder + "/";
    return file.size() > f.size() && file.compare(0, f.size(), f) == 0;
}

// The text declaration a file begins with ("" = none).
std::string TextDeclarationOf(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(512, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    if (head.compare(0, 5, "<?xml") != 0) return {};
    size_t end = head.find("?>");
    return end == std::string::npos ? std::string() : head.substr(0, end + 2);
}

// Loads the file a parser is being made for; during a SAX read, the document's DTD from any
// local file and any other external entity from the folder of the file declaring it or below;
// nothing else, and never from the network.
xmlParserInputPtr FolderRuleLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt) {
    if (!url) return nullptr;
    if (gOpeningMain) {
        gOpeningMain = false;
        return gDefaultLoader(url, id, ctxt);
    }
    if (!gRead) return nullptr;  // a reader of the host's own format loads nothing else
    std::string file = LocalFileOf(url);
    bool dtd = gRead->dtdNext;
    gRead->dtdNext = false;
    bool allowed = dtd && !file.empty();
    const EntityOrigin *general = nullptr, *parameter = nullptr;
    if (!dtd) {
        auto it = gRead->origins.find(file.empty() ? std::string(url) : file);
        if (it != gRead->origins.end())
            for (const EntityOrigin &o : it->second) {
                allowed = allowed || Within(file, o.folder);
                if (!o.parameter && !general) general = &o;
                if (o.parameter && !parameter) parameter = &o;
            }
    }
    LoadRecord &record = *gRead->record;
    if (dtd && !allowed && record.missingDtd.empty()) record.missingDtd = std::string(url) + "\", which is not a local file";
    if (!allowed) {
        if (parameter && record.refusedParameter.empty())
            record.refusedParameter = "the parameter entity \"" + parameter->name + "\" names \"" +
                                      (file.empty() ? std::string(url) : file) +
                                      "\", which is not a local file in the folder of the file that declares it";
        if (general && record.refusedEntity.empty())
            record.refusedEntity = file.empty() ? "the entity \"" + general->name + "\" names \"" + url +
                                                      "\", which is not a local file"
                                                : "the entity \"" + general->name + "\" names the file \"" + file +
                                                      "\", which lies outside the folder of the file that declares it";
        return nullptr;
    }
    // Only regular files: a device or a pipe named as a DTD or an entity would never end.
    std::error_code ec;
    bool regular = fs::is_regular_file(file, ec);
    bool other = !regular && fs::exists(file, ec);
    xmlParserInputPtr in = regular ? gDefaultLoader(file.c_str(), id, ctxt) : nullptr;
    if (!in) {
        if (general && record.refusedEntity.empty())
            record.refusedEntity = "the file \"" + file + "\" of the entity \"" + general->name + "\" " +
                                   (other ? "is not a regular file" : "cannot be read");
        if (dtd && record.missingDtd.empty()) record.missingDtd = file + (other ? "\", which is not a regular file" : "");
        return nullptr;
    }
    record.textDecls[file] = TextDeclarationOf(file);
    uintmax_t size = fs::file_size(file, ec);
    if (!ec) record.bytesRead += size;
    return in;
}

// Keeps where each external entity is declared, for the folder rule.
void OnEntityDecl(void *ctx, const xmlChar *name, int type, const xmlChar *publicId, const xmlChar *systemId,
                  xmlChar *content) {
    xmlSAX2EntityDecl(ctx, name, type, publicId, systemId, content);
    auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (!gRead || !systemId || !ctxt || !ctxt->input || !ctxt->input->filename) return;
    xmlChar *uri = xmlBuildURI(systemId, reinterpret_cast<const xmlChar *>(ctxt->input->filename));
    std::string file = uri ? LocalFileOf(reinterpret_cast<const char *>(uri)) : std::string();
    if (uri) xmlFree(uri);
    std::string declaring = LocalFileOf(ctxt->input->filename);
    if (declaring.empty()) return;
    if (file.empty()) file = reinterpret_cast<const char *>(systemId);  // not a local file: never loaded
    bool parameter = type == XML_INTERNAL_PARAMETER_ENTITY || type == XML_EXTERNAL_PARAMETER_ENTITY;
    gRead->origins[file].push_back(
        EntityOrigin{reinterpret_cast<const char *>(name), parameter, fs::path(declaring).parent_path().string()});
}

// The document's DTD is the one external file that may lie anywhere on the machine.
void OnExternalSubset(void *ctx, const xmlChar *name, const xmlChar *externalId, const xmlChar *systemId) {
    if (gRead) gRead->dtdNext = true;
    xmlSAX2ExternalSubset(ctx, name, externalId, systemId);
    if (gRead) gRead->dtdNext = false;
}

void Silent(void *, const char *, ...) {}

// libxml2's loader and its message handler are the process's: the host's rule and its silence are
// put in place only while one of its reads runs, and what was there before is put back when the
// read ends, so that every other user of libxml2 in the process reads files as it always did.
// (This libxml2 reads parameter and external entities through the process's loader only: it has
// no loader of a parser's own.)
struct Installed {
    int depth = 0;
    xmlGenericErrorFunc errorFunc = nullptr;
    void *errorContext = nullptr;
};
Installed gInstalled;

void InstallRule() {
    static bool initialised = false;
    if (!initialised) {
        initialised = true;
        xmlInitParser();
    }
    if (gInstalled.depth++ > 0) return;
    gDefaultLoader = xmlGetExternalEntityLoader();
    gInstalled.errorFunc = xmlGenericError;
    gInstalled.errorContext = xmlGenericErrorContext;
    xmlSetExternalEntityLoader(FolderRuleLoader);
    // Messages libxml2 prints outside a parser context go nowhere; ours are reported to the user.
    xmlSetGenericErrorFunc(nullptr, Silent);
}

void RemoveRule() {
    if (gInstalled.depth == 0 || --gInstalled.depth > 0) return;
    xmlSetExternalEntityLoader(gDefaultLoader);
    xmlSetGenericErrorFunc(gInstalled.errorContext, gInstalled.errorFunc);
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
    if (!error) return;
    if ((error->code == XML_WAR_UNDECLARED_ENTITY || error->code == XML_ERR_UNDECLARED_ENTITY) && error->str1 &&
        undeclaredEntity.empty())
        undeclaredEntity = error->str1;
    if (error->level < XML_ERR_ERROR) return;
    ReadFailure &slot = error->level == XML_ERR_FATAL ? firstFatal : firstError;
    if (!slot.message.empty()) return;
    slot.line = error->line;
    slot.message = UserText(error->message);
    // An error in another file (the DTD, an entity's file) names that file.
    if (error->file && LocalFileOf(error->file) != LocalFileOf(mainFile.c_str())) slot.file = LocalFileOf(error->file);
}

ReadFailure ErrorLog::Failure(int line) const {
    ReadFailure f = firstFatal.message.empty() ? firstError : firstFatal;
    if (f.message.empty()) f.message = "the file is not well-formed XML";
    if (f.line == 0) f.line = line;
    return f;
}

std::string LocalFileOf(const char *uriOrPath) {
    if (!uriOrPath || !*uriOrPath) return {};
    std::string path;
    if (std::strncmp(uriOrPath, "file://", 7) == 0) {
        xmlURIPtr uri = xmlParseURI(uriOrPath);
        if (!uri) return {};
        if (uri->path && (!uri->server || !*uri->server || std::strcmp(uri->server, "localhost") == 0)) path = uri->path;
        xmlFreeURI(uri);
        if (path.empty()) return {};
    } else if (std::strstr(uriOrPath, "://")) {
        return {};  // the network, or any other scheme
    } else {
        path = uriOrPath;
    }
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? std::string() : p.string();
}

xmlParserCtxtPtr NewSafeSaxParser(const std::string &nativePath, LoadRecord &record) {
    InstallRule();
    static ReadState state;
    state = ReadState{};
    state.record = &record;
    gRead = &state;
    gOpeningMain = true;
    xmlParserCtxtPtr ctxt = xmlCreateURLParserCtxt(nativePath.c_str(), XML_PARSE_NONET | XML_PARSE_DTDLOAD | XML_PARSE_NOENT);
    gOpeningMain = false;
    if (!ctxt) {
        EndSafeSaxRead();
        return nullptr;
    }
    std::error_code ec;
    uintmax_t size = fs::file_size(nativePath, ec);
    if (!ec) record.bytesRead += size;
    ctxt->sax->entityDecl = OnEntityDecl;
    ctxt->sax->externalSubset = OnExternalSubset;
    return ctxt;
}

void EndSafeSaxRead() {
    gRead = nullptr;
    RemoveRule();
}

SafeReader::SafeReader(const std::string &nativePath) {
    InstallRule();
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
    RemoveRule();
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

xmlTextWriterPtr NewStringWriter(std::string &sink) {
    auto append = [](void *context, const char *buffer, int len) -> int {
        static_cast<std::string *>(context)->append(buffer, static_cast<size_t>(len));
        return len;
    };
    xmlOutputBufferPtr out = xmlOutputBufferCreateIO(append, nullptr, &sink, nullptr);
    if (!out) return nullptr;
    xmlTextWriterPtr w = xmlNewTextWriter(out);  // owns `out` from here on
    if (!w) xmlOutputBufferClose(out);
    return w;
}

std::string ReaderAttribute(xmlTextReaderPtr reader, const char *name) {
    xmlChar *v = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar *>(name));
    if (!v) return {};
    std::string s(reinterpret_cast<const char *>(v));
    xmlFree(v);
    return s;
}

}  // namespace host::docfile
