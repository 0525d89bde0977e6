// The document file calls: open and save parameter lists, F_ApiOpen, F_ApiSave, F_ApiSimpleSave.
#include "docfile_api.h"
#include "book_model.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <future>
#include <iterator>
#include <system_error>

#include "docfile_image.h"
#include "docfile_model.h"
#include "docfile_native.h"
#include "docfile_text.h"
#include "docfile_xml.h"
#include "model.h"
#include "paths.h"
#include "records.h"
#include "safe_save.h"
#include "transcript.h"

namespace fs = std::filesystem;

namespace host {
namespace {

// Every open parameter number a caller may set, with the host's defaults.
const IntT kOpenParams[][2] = {
    {2, 0},  {3, 0},  {FS_MakeVisible, 1}, {7, 0},  {14, 0}, {15, 0}, {17, 0}, {18, 0}, {19, 0}, {20, 0}, {22, 0},
    {23, 0}, {24, 0}, {25, 0}, {28, 0}, {29, 0}, {30, 0}, {35, 0}, {36, 0}, {40, 0}, {41, 0}, {42, 0}, {43, 0},
};

// Every save parameter number: the numbers with ints, and the two texts.
const IntT kSaveIntParams[][2] = {{FS_FileType, FV_SaveFmtBinary}, {2, 0}, {3, 1}, {4, 0}, {5, 1}, {6, 1}, {12, 0},
                                  {17, 0}, {19, 0}, {21, 0}};
const IntT kSaveStringParams[] = {FS_SaveFilterHint, FS_SaveMarkupArgument};

F_PropValT IntParam(IntT number, IntT value) {
    F_PropValT p{};
    p.propIdent = number;
    p.propVal.valType = FT_Integer;
    p.propVal.ival = value;
    return p;
}

F_PropValT StringParam(IntT number, const std::string &value) {
    F_PropValT p{};
    p.propIdent = number;
    p.propVal.valType = FT_String;
    p.propVal.sval = NewString(value);
    return p;
}

F_PropValsT NewPropVals(const std::vector<F_PropValT> &entries) {
    F_PropValsT out;
    out.len = static_cast<UIntT>(entries.size());
    out.val = static_cast<F_PropValT *>(F_Alloc(static_cast<UIntT>(entries.size() * sizeof(F_PropValT)), NO_DSE));
    for (size_t i = 0; i < entries.size(); ++i) out.val[i] = entries[i];
    return out;
}

// The integer value of a parameter, or `fallback` when the list does not hold it.
IntT ParamInt(const F_PropValsT *params, IntT number, IntT fallback) {
    IntT i = F_ApiGetPropIndex(params, number);
    return i < 0 ? fallback : params->val[i].propVal.ival;
}

// The list handed back through an open's or save's returned-parameters argument: one int entry
// numbered 0, the status (0 = done, else the error code). The host keeps it; the caller frees its
// contents with F_ApiDeallocatePropVals.
void ReturnStatus(F_PropValsT **returned, IntT status) {
    if (!returned) return;
    static F_PropValsT holder{0, nullptr};
    F_ApiDeallocatePropVals(&holder);
    holder = NewPropVals({IntParam(0, status)});
    *returned = &holder;
}

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string FileNameOf(const std::string &windowsPath) {
    size_t cut = windowsPath.find_last_of("\\/:");
    return cut == std::string::npos ? windowsPath : windowsPath.substr(cut + 1);
}

enum class FileKind { Native, Xml, Other };

// What a file holds: the native format when its first element is <qvdocument>, plain XML when it
// starts with markup or ends in ".xml", anything else refused.
FileKind KindOfFile(const std::string &nativePath, const std::string &windowsPath) {
    std::ifstream in(nativePath, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    size_t at = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bool markup = false;
    while (at < head.size()) {
        while (at < head.size() && std::isspace(static_cast<unsigned char>(head[at]))) ++at;
        if (at >= head.size() || head[at] != '<') break;
        markup = true;
        const char *close = head.compare(at, 2, "<?") == 0 ? "?>" : head.compare(at, 4, "<!--") == 0 ? "-->" : nullptr;
        if (!close) {
            static const std::string kRoot = "<qvdocument";
            if (head.compare(at, kRoot.size(), kRoot) == 0 && at + kRoot.size() < head.size() &&
                std::string_view(" \t\r\n/>").find(head[at + kRoot.size()]) != std::string_view::npos)
                return FileKind::Native;
            break;
        }
        size_t end = head.find(close, at);
        if (end == std::string::npos) break;
        at = end + std::strlen(close);
    }
    if (markup) return FileKind::Xml;
    std::string name = Lower(windowsPath);
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".xml") == 0) return FileKind::Xml;
    return FileKind::Other;
}

F_ObjHandleT RefuseOpen(const std::string &windowsPath, IntT code, const std::string &why) {
    UserMessage("Cannot open \"" + windowsPath + "\": " + why + ".");
    Fail(code);
    return 0;
}

std::string &SaveFailure() {
    static std::string why;
    return why;
}

// The folder a file lies in, made absolute and normal (for a folder tree comparison); with
// `fileItself` the file's own path so made.
std::string FolderTreeOf(const std::string &nativePath, bool fileItself = false) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(nativePath, ec), ec);
    return fileItself ? p.string() : p.parent_path().string();
}

// Whether `file` lies in `folder` or below.
bool Within(const std::string &file, const std::string &folder) {
    if (folder.empty()) return false;
    std::string f = folder.back() == '/' ? folder : folder + "/";
    return file.size() > f.size() && file.compare(0, f.size(), f) == 0;
}

// Whether a file holds `bytes` already, white space at the end apart (an entity's file need not
// end as the writer ends it).
bool SameContent(const std::string &nativePath, const std::string &bytes) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return false;
    std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto trimmed = [](std::string_view s) {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
        return s;
    };
    return trimmed(now) == trimmed(bytes);
}

}  // namespace

int SaveFormatForPath(const std::string &path) {
    std::string p = Lower(path);
    auto ends = [&](const char *e) {
        size_t n = std::char_traits<char>::length(e);
        return p.size() >= n && p.compare(p.size() - n, n, e) == 0;
    };
    if (ends(".xml")) return FV_SaveFmtXml;
    if (ends(".sgml")) return FV_SaveFmtSGML;
    if (ends(".mif")) return FV_SaveFmtMIF;
    if (ends(".txt")) return FV_SaveFmtText;
    if (ends(".pdf")) return FV_SaveFmtPdf;
    return FV_SaveFmtBinary;
}

F_ObjHandleT OpenDocumentOfFile(const std::string &windowsPath, bool shownOnly) {
    std::string native = NativePath(windowsPath);
    if (native.empty()) return 0;
    std::string wanted = Lower(WindowsPath(native));
    for (F_ObjHandleT id : TheSession().openDocs)
        if (const Document *d = Doc(id); d && Lower(d->path) == wanted && (!shownOnly || d->visible)) return id;
    return 0;
}

F_ObjHandleT OpenDocumentFile(const std::string &windowsPath, bool visible, bool secondCopy) {
    std::string native = NativePath(windowsPath);
    if (native.empty()) return RefuseOpen(windowsPath, FE_FileNotFound, "the drive is not known");
    std::string shown = WindowsPath(native);
    std::error_code ec;
    if (!fs::exists(native, ec)) return RefuseOpen(shown, FE_FileNotFound, "the file does not exist");
    if (fs::is_directory(native, ec)) return RefuseOpen(shown, FE_BadFileType, "it is a folder");
    // Only a regular file is read: a pipe or a device would never end (a link counts as what it
    // leads to).
    if (!fs::is_regular_file(native, ec)) return RefuseOpen(shown, FE_BadFileType, "it is not a regular file");
    {
        std::ifstream probe(native, std::ios::binary);
        if (!probe) return RefuseOpen(shown, FE_FileRead, "the file cannot be read");
    }
    if (F_ObjHandleT open = secondCopy ? 0 : OpenDocumentOfFile(shown)) {
        // The file is open already: its document comes forward instead of a second copy.
        if (visible) F_ApiSetInt(0, open, FP_IsInFront, 1);
        return open;
    }
    if (IsBookFile(native)) {  // books are read by the book code
        F_ObjHandleT book = OpenBookFile(native, shown, visible);
        return book ? book : RefuseOpen(shown, FE_BadFileType, "it is not a book file");
    }
    docfile::DocImage image;
    docfile::ReadFailure failure;
    bool ok = false;
    switch (KindOfFile(native, shown)) {
        case FileKind::Native: ok = docfile::ReadNative(native, image, failure); break;
        case FileKind::Xml: ok = docfile::ReadXml(native, image, failure); break;
        case FileKind::Other: return RefuseOpen(shown, FE_BadFileType, "it is not a document file");
    }
    if (!ok) {
        std::string why = failure.line > 0 ? "line " + std::to_string(failure.line) + ": " + failure.message : failure.message;
        if (!failure.file.empty()) why = "in \"" + failure.file + "\", " + why;
        return RefuseOpen(shown, FE_BadFileType, why);
    }
    // A template (a file marked as one) opens as an untitled copy labelled with its file name, so
    // no save can overwrite it; the copy itself is an ordinary document.
    bool isTemplate = std::erase_if(image.otherSettings, [](const auto &setting) {
                          return setting.first == "template" && setting.second == "1";
                      }) > 0;
    F_ObjHandleT doc = docfile::BuildDocument(image, isTemplate ? std::string() : shown, visible);
    if (!doc) {
        IntT code = FA_errno ? FA_errno : FE_NoMoreIds;
        return RefuseOpen(shown, code,
                          code == FE_NoMoreIds ? "the session has no room left for its objects; close other documents first"
                                               : "its content could not be built");
    }
    if (isTemplate) Doc(doc)->label = Doc(doc)->untitledLabel = FileNameOf(shown);
    for (const std::string &notice : image.notices) UserMessage("\"" + shown + "\": " + notice + ".");
    return doc;
}

const std::string &LastSaveFailure() { return SaveFailure(); }

F_ObjHandleT RefuseSave(IntT code, const std::string &why) {
    SaveFailure() = why;
    Fail(code);
    return 0;
}

F_ObjHandleT SaveDocumentFile(F_ObjHandleT doc, const std::string &windowsPath, int format) {
    SaveFailure().clear();
    if (KindOf(doc) == FO_Book) return SaveBookFile(doc, windowsPath);  // books: the book format
    Document *d = Doc(doc);
    if (!d) return RefuseSave(FE_BadDocId, "there is no such document");
    if (format != FV_SaveFmtBinary && format != FV_SaveFmtXml && format != FV_SaveFmtText)
        return RefuseSave(FE_Unsupported, "the host cannot write that format");
    std::string target = windowsPath.empty() ? d->path : windowsPath;
    if (target.empty()) return RefuseSave(FE_BadParameter, "the document is untitled; use Save As to give it a file");
    std::string native = NativePath(target);
    if (native.empty()) return RefuseSave(FE_BadParameter, "the drive is not known");
    std::string reason;
    if (!safesave::MayReplace(native, reason)) return RefuseSave(FE_FileWrite, reason);
    // The content is made in memory first: no file is replaced when it cannot be. XML is written
    // straight from the document in pieces, as it is made: a thread of its own checks that it is
    // well-formed, another writes the main file's temporary copy; entities' files wait for both,
    // as does the commit. The other formats are written from the document's image.
    std::string bytes, error, checkError, writeReason;
    docfile::XmlPieces pieces;
    safesave::Transaction mainFile;  // the main file's temporary copy
    // After `pieces` and `mainFile`: threads still running are waited for before those go.
    std::future<bool> check, writing;
    bool ok = false;
    std::vector<docfile::SideFile> sideFiles;
    std::string folder = FolderTreeOf(native);
    if (format == FV_SaveFmtXml) {
        auto runCheck = [&pieces, &checkError] { return docfile::CheckWellFormed(pieces, checkError); };
        auto runWrite = [&pieces, &mainFile, &native, &writeReason] {
            size_t index = 0;
            return mainFile.Add(
                native,
                [&] {
                    const std::string *piece = pieces.Wait(index++);
                    return piece ? std::string_view(*piece) : std::string_view();
                },
                writeReason);
        };
        // Without a thread to be had, each runs when its answer is asked for.
        auto start = [](auto run, bool now) {
            try {
                if (now) return std::async(std::launch::async, run);
            } catch (const std::system_error &) {
            }
            return std::async(std::launch::deferred, run);
        };
        check = start(runCheck, true);
        // A folder that is not there yet may be made for an entity's file: the main file's copy
        // then waits for that.
        std::error_code ec;
        writing = start(runWrite, fs::is_directory(fs::path(native).parent_path(), ec));
        ok = docfile::WriteXml(doc, fs::path(native).parent_path().string(), pieces, sideFiles, error);
    } else {
        docfile::DocImage image;
        docfile::ExtractDocument(doc, image);
        if (format == FV_SaveFmtText) {
            bytes = docfile::PlainText(image);
            ok = true;
        } else {
            ok = docfile::WriteNative(image, bytes, error);
        }
    }
    if (!ok) return RefuseSave(FE_BadOperation, error);
    bool wellFormed = true;
    auto notWellFormed = [&] {
        if (check.valid()) wellFormed = check.get();
        return !wellFormed;
    };
    auto refuseNotWellFormed = [&] {
        return RefuseSave(FE_BadOperation, "the XML made from the document is not well-formed (" + checkError + ")");
    };
    if (!sideFiles.empty() && notWellFormed()) return refuseNotWellFormed();

    // An entity's file is written only where the document owns it (in its folder tree) and only
    // when its content changed; a change that cannot be written fails the save before any file
    // is replaced.
    std::vector<const docfile::SideFile *> toWrite;
    for (const docfile::SideFile &f : sideFiles) {
        if (SameContent(f.target, f.bytes)) continue;
        std::string why;
        if (!Within(FolderTreeOf(f.target, true), folder)) why = "it lies outside the folder of the document";
        bool mayWrite = why.empty() && safesave::MayReplace(f.target, why);
        if (!mayWrite)
            return RefuseSave(FE_FileWrite, "the entity \"" + f.entity + "\" holds changes its file \"" +
                                                WindowsPath(f.target) + "\" cannot take: " + why);
        toWrite.push_back(&f);
    }
    // The main file's copy is written before the entities' files (never beside them), unless it
    // waits for its folder.
    bool added = true;
    auto mainWritten = [&] {
        if (!writing.valid()) return;
        added = writing.get();
        reason = writeReason;
    };
    if (writing.valid() && writing.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) mainWritten();
    safesave::Transaction save;
    for (const docfile::SideFile *f : toWrite) {
        std::error_code ec;
        fs::create_directories(fs::path(f->target).parent_path(), ec);
        if (!save.Add(f->target, f->bytes, reason))
            return RefuseSave(FE_FileWrite, "the file \"" + WindowsPath(f->target) + "\" of the entity \"" + f->entity +
                                                "\": " + reason);
    }
    mainWritten();
    if (format != FV_SaveFmtXml) added = mainFile.Add(native, bytes, reason);
    if (notWellFormed()) return refuseNotWellFormed();  // the temporary files go with the transactions
    // Entities' files take their places first, then the main file.
    if (!added || !save.Commit(reason) || !mainFile.Commit(reason)) return RefuseSave(FE_FileWrite, reason);

    std::string saved = WindowsPath(native);
    if (Lower(saved) != Lower(d->path)) {
        // A label the host gave (the file name, or an untitled copy's first label) follows the
        // new name; one a client set stays.
        if (d->label == FileNameOf(d->path) || (d->path.empty() && d->label == d->untitledLabel))
            d->label = FileNameOf(saved);
        d->path = saved;
        d->untitledLabel.clear();
    }
    d->modified = 0;
    return doc;
}

}  // namespace host

using namespace host;

extern "C" {

F_PropValsT F_ApiGetOpenDefaultParams(void) {
    std::vector<F_PropValT> entries;
    for (const auto &p : kOpenParams) entries.push_back(IntParam(p[0], p[1]));
    return NewPropVals(entries);
}

F_ObjHandleT F_ApiOpen(ConStringT fileName, const F_PropValsT *openParams, F_PropValsT **openReturnParams) {
    if (!fileName || !*fileName) {
        Fail(FE_BadParameter);
        ReturnStatus(openReturnParams, FE_BadParameter);
        return 0;
    }
    bool visible = ParamInt(openParams, FS_MakeVisible, 1) != 0;
    IntT before = FA_errno;
    FA_errno = 0;
    // A client's open of a file that is open already reads it again: a second, independent
    // document with the same path (the user's own open brings the open one forward instead).
    F_ObjHandleT doc = OpenDocumentFile(fileName, visible, true);
    IntT status = doc ? 0 : FA_errno;
    if (doc) FA_errno = before;  // a success leaves the error word as it was
    ReturnStatus(openReturnParams, status);
    return doc;
}

F_PropValsT F_ApiGetSaveDefaultParams(void) {
    std::vector<F_PropValT> entries;
    for (const auto &p : kSaveIntParams) entries.push_back(IntParam(p[0], p[1]));
    for (IntT n : kSaveStringParams) entries.push_back(StringParam(n, ""));
    return NewPropVals(entries);
}

F_ObjHandleT F_ApiSave(F_ObjHandleT docId, ConStringT saveAsName, const F_PropValsT *saveParams,
                       F_PropValsT **saveReturnParams) {
    IntT before = FA_errno;
    FA_errno = 0;
    F_ObjHandleT saved = SaveDocumentFile(docId, saveAsName ? saveAsName : "", ParamInt(saveParams, FS_FileType, FV_SaveFmtBinary));
    IntT status = saved ? 0 : FA_errno;
    if (saved) FA_errno = before;
    ReturnStatus(saveReturnParams, status);
    return saved;
}

F_ObjHandleT F_ApiSimpleSave(F_ObjHandleT docId, ConStringT saveAsName, IntT) {
    std::string path = saveAsName ? saveAsName : "";
    Document *d = Doc(docId);
    std::string target = path.empty() && d ? d->path : path;
    IntT before = FA_errno;
    FA_errno = 0;
    F_ObjHandleT saved = SaveDocumentFile(docId, path, SaveFormatForPath(target));
    if (saved) FA_errno = before;
    return saved;
}

}  // extern "C"
