// Folders: existence, listings with extension and kind filters, the folder chooser, making
// folders, and reordering or filtering lists of file names. Listings go through the host's
// file-path calls, in the host's order.
#include "lib/host/folders.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "lib/host/paths.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/strings/search.h"
#include "lib/globals.h"

namespace {

using qv::View;

struct Entry {
    std::string path;  // Windows form
    std::string name;
    bool folder = false;
    bool file = false;
};

// Keeps FA_errno as it was around the host calls a test or listing makes for itself.
struct KeepErrno {
    IntT saved = FA_errno;
    ~KeepErrno() { FA_errno = saved; }
};

// The folder's entries (every one but "." and ".."), or nothing when it cannot be listed.
std::optional<std::vector<Entry>> ListFolder(ConStringT folder) {
    if (View(folder).empty()) return std::nullopt;
    KeepErrno keep;
    FilePathT *dir = F_PathNameToFilePath(folder, nullptr, FDefaultPath);
    if (!dir) return std::nullopt;
    IntT status = 0;
    DirHandleT *handle = F_FilePathOpenDir(dir, &status);
    F_FilePathFree(dir);
    if (!handle) return std::nullopt;
    std::vector<Entry> entries;
    while (FilePathT *fp = F_FilePathGetNext(handle, &status)) {
        StringT path = F_FilePathToPathName(fp, FDefaultPath);
        Entry e;
        e.path = std::string(View(path));
        om_StrFree(&path);
        qv::ReplaceAll(e.path, "\\\\", "\\", true);
        size_t sep = e.path.rfind('\\');
        e.name = sep == std::string::npos ? e.path : e.path.substr(sep + 1);
        IntT kind = F_FilePathProperty(fp, 0);
        e.folder = kind & FF_FilePathDirectory;
        e.file = kind & FF_FilePathFile;
        F_FilePathFree(fp);
        entries.push_back(std::move(e));
    }
    F_FilePathCloseDir(handle);
    return entries;
}

// The extensions of a list, each with a leading ".".
std::vector<std::string> Dotted(const F_StringsT *extensions) {
    std::vector<std::string> out;
    for (std::string e : qv::ReadStrings(extensions)) {
        if (e.empty()) continue;
        if (e[0] != '.') e = "." + e;
        out.push_back(e);
    }
    return out;
}

bool EndsWithAny(const std::string &path, const std::vector<std::string> &extensions, IntT caseFlag) {
    for (const std::string &e : extensions)
        if (om_StrEndsWith(path.c_str(), e.c_str(), caseFlag)) return true;
    return false;
}

// Whether an entry passes the extension filters: with a keep list it must end with one of
// them; otherwise, with a drop list, with none of them.
bool PassesExtensions(const std::string &path, const F_StringsT *keep, const F_StringsT *drop, IntT caseFlag) {
    if (keep && keep->val) return EndsWithAny(path, Dotted(keep), caseFlag);
    if (drop && drop->val) return !EndsWithAny(path, Dotted(drop), caseFlag);
    return true;
}

// The entries passing the kind, extension and text filters (extensions ignore case).
std::vector<Entry> Filtered(const std::vector<Entry> &entries, IntT regularFiles, IntT folders, const F_StringsT *keep,
                            const F_StringsT *drop, std::string_view textFilter) {
    std::vector<Entry> out;
    std::string filter = qv::FoldCase(textFilter);
    for (const Entry &e : entries) {
        if (regularFiles == 1 && !e.file) continue;
        if (folders == 1 && !e.folder) continue;
        if (!PassesExtensions(e.path, keep, drop, 0)) continue;
        if (!filter.empty() && qv::FoldCase(e.name).find(filter) == std::string::npos) continue;
        out.push_back(e);
    }
    return out;
}

}  // namespace

IntT om_DirExists(ConStringT path) { return ListFolder(path) ? 1 : 0; }

F_StringsT om_DirListFiles(ConStringT folder, IntT fullPath, const F_StringsT *keepExtensions,
                           const F_StringsT *dropExtensions, IntT caseFlag) {
    std::vector<std::string> out;
    if (auto entries = ListFolder(folder))
        for (const Entry &e : *entries)
            if (PassesExtensions(e.path, keepExtensions, dropExtensions, caseFlag))
                out.push_back(fullPath == 1 ? e.path : e.name);
    return qv::NewStrings(out);
}

StringT om_FileChooseDirectory(ConStringT startFolder, F_ObjHandleT docId, ConStringT title, IntT trailing) {
    StringT start = docId ? om_PathDirectory(docId, nullptr, 0) : om_StrCopy(startFolder);
    if (om_StrIsEmpty(start)) om_StrSet(&start, "");
    StringT choice = nullptr;
    IntT rc = F_ApiChooseFile(&choice, title ? title : "", start, "", 4, "");
    om_StrFree(&start);
    std::string chosen = rc == 0 ? std::string(View(choice)) : std::string();
    om_StrFree(&choice);
    if (trailing == 1 && !chosen.empty() && chosen.back() != '\\') chosen += '\\';
    return qv::NewHeapString(chosen);
}

IntT om_DirMake(ConStringT path) {
    if (om_DirExists(path)) return 1;
    StringT parent = nullptr;
    std::string p(View(path));
    while (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.pop_back();
    if (p.empty()) return 0;
    if (om_PathParent(p.c_str(), &parent) && !om_DirExists(parent) && !om_DirMake(parent)) {
        om_StrFree(&parent);
        return 0;
    }
    om_StrFree(&parent);
    KeepErrno keep;
    FilePathT *fp = F_PathNameToFilePath(p.c_str(), nullptr, FDefaultPath);
    if (!fp) return 0;
    IntT rc = F_FilePathMakeDir(fp, 0755);
    F_FilePathFree(fp);
    return rc == 0 || om_DirExists(p.c_str()) ? 1 : 0;
}

IntT om_DirCountEntries(ConStringT folder, IntT regularFiles, IntT folders, const F_StringsT *keepExtensions,
                        const F_StringsT *dropExtensions) {
    auto entries = ListFolder(folder);
    if (!entries) {
        StatusCode = StatusCannotList;
        return 0;
    }
    return static_cast<IntT>(Filtered(*entries, regularFiles, folders, keepExtensions, dropExtensions, "").size());
}

F_StringsT om_DirList(ConStringT folder, IntT regularFiles, IntT folders, IntT fullPath,
                      const F_StringsT *keepExtensions, const F_StringsT *dropExtensions, ConStringT textFilter,
                      IntT limit, IntT *limitReached) {
    StatusCode = 0;
    std::vector<std::string> out;
    auto entries = ListFolder(folder);
    if (!entries) {
        StatusCode = StatusCannotList;
        return qv::NewStrings(out);
    }
    for (const Entry &e : Filtered(*entries, regularFiles, folders, keepExtensions, dropExtensions, View(textFilter))) {
        if (limit > 0 && static_cast<IntT>(out.size()) >= limit) {
            if (limitReached) *limitReached = 1;
            break;
        }
        out.push_back(fullPath == 1 ? e.path : e.name);
    }
    return qv::NewStrings(out);
}

IntT om_DirNthEntry(ConStringT folder, IntT n, StringT *out, IntT fullPath) {
    auto entries = ListFolder(folder);
    std::string found;
    if (entries && n >= 1 && static_cast<size_t>(n) <= entries->size()) {
        const Entry &e = (*entries)[static_cast<size_t>(n) - 1];
        found = fullPath == 1 ? e.path : e.name;
    }
    qv::StoreString(out, found);
    return entries ? 1 : 0;
}

void om_StringsKeepExtensions(F_StringsT *list, const F_StringsT *extensions, IntT caseFlag) {
    if (!list || !list->val) return;
    std::vector<std::string> dotted = Dotted(extensions), kept;
    for (const std::string &e : qv::ReadStrings(list))
        if (EndsWithAny(e, dotted, caseFlag)) kept.push_back(e);
    if (kept.size() != list->len) qv::StoreStrings(list, kept);
}

void om_StringsSuffixFirst(F_StringsT *list, ConStringT suffix, IntT first, IntT caseFlag) {
    if (!list || !list->val) return;
    std::vector<std::string> with, without;
    for (const std::string &e : qv::ReadStrings(list))
        (om_StrEndsWith(e.c_str(), suffix, caseFlag) ? with : without).push_back(e);
    std::vector<std::string> &front = first == 1 ? with : without, &back = first == 1 ? without : with;
    front.insert(front.end(), back.begin(), back.end());
    qv::StoreStrings(list, front);
}

void om_StringsDropComments(F_StringsT *list) {
    if (!list || !list->val) return;
    std::vector<std::string> kept;
    for (const std::string &e : qv::ReadStrings(list))
        if (!e.empty() && e[0] != ';') kept.emplace_back(qv::TrimBlanks(e));
    qv::StoreStrings(list, kept);
}

IntT om_PathResolveExisting(StringT *p, ConStringT baseFile, IntT folder, IntT forwardSlash) {
    if (!p) return 0;
    std::string path = qv::PathWithBackslashes(std::string(View(*p)));
    auto exists = [&](const std::string &candidate) {
        return folder ? om_DirExists(candidate.c_str()) == 1 : om_FileIsRegular(candidate.c_str()) == 1;
    };
    std::string found;
    if (exists(path)) {
        found = path;
    } else {
        std::string absolute = qv::PathAbsolute(folder ? path + "\\dummy.txt" : path, 0, std::string(View(baseFile)), true);
        if (folder) absolute = qv::PathDirectoryOf(absolute, true);
        if (!absolute.empty() && exists(absolute)) found = absolute;
    }
    if (found.empty()) return 0;
    if (forwardSlash) std::replace(found.begin(), found.end(), '\\', '/');
    qv::StoreString(p, found);
    return 1;
}
