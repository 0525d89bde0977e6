// The host's file-path records, folder listings and byte channels. A plug-in names files in
// Windows form; a file-path record holds the real path they resolve to (host/src/paths.h:
// drive Z: is the root, other drives are mapped, names are found regardless of case), and
// every listing and channel works on that real path.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "fdk.h"
#include "paths.h"
#include "records.h"
#include "safe_save.h"

namespace fs = std::filesystem;

struct FilePathT {
    std::string native;  // the real path
    IntT platform;
};

struct DirHandleT {
    std::vector<std::string> entries;  // real paths, in listing order
    size_t next = 0;
    IntT platform;
};

// A channel reads or appends through a stdio file; a channel that writes a file anew ("w")
// collects the bytes and replaces the file safely when it is closed (safe_save.h), so a failed
// write never leaves a cut file in place of the old one.
struct ChannelT {
    std::FILE *file = nullptr;
    std::string replaces;  // the file a "w" channel replaces ("" for the others)
    std::string bytes;     // what a "w" channel has written
};

namespace {

bool IsAbsoluteWindowsPath(const std::string &p) {
    return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

}  // namespace

extern "C" {

// The record of a Windows-form path (with FNativePath, of a real path); a relative path is
// taken in the anchor's folder when an anchor is given. NULL (and FA_errno) for an empty path or a drive that is not mapped.
FilePathT *F_PathNameToFilePath(ConStringT pathName, const FilePathT *anchor, IntT platform) {
    if (!pathName || !*pathName) {
        FA_errno = FE_BadParameter;
        return nullptr;
    }
    std::string path = pathName;
    std::string native;
    if (platform == FNativePath) {
        native = path;
    } else if (anchor && !IsAbsoluteWindowsPath(path)) {
        std::string windows = host::WindowsPath(anchor->native);
        native = host::NativePath(windows + "\\" + path);
    } else {
        native = host::NativePath(path);
    }
    if (native.empty()) {
        FA_errno = FE_FileNotFound;
        return nullptr;
    }
    return new FilePathT{native, platform};
}

// The Windows form of a record's path (with FNativePath the real path) as a new string; NULL
// for no record.
StringT F_FilePathToPathName(const FilePathT *filePath, IntT platform) {
    if (!filePath) {
        FA_errno = FE_BadParameter;
        return nullptr;
    }
    return host::NewString(platform == FNativePath ? filePath->native : host::WindowsPath(filePath->native));
}

void F_FilePathFree(FilePathT *filePath) { delete filePath; }

// Opens a folder for listing: every entry but "." and "..", subfolders included, in name
// order. NULL with *status non-zero when the folder cannot be listed.
DirHandleT *F_FilePathOpenDir(const FilePathT *dir, IntT *status) {
    if (status) *status = 0;
    std::error_code ec;
    if (!dir || !fs::is_directory(dir->native, ec)) {
        if (status) *status = FE_FileNotFound;
        FA_errno = FE_FileNotFound;
        return nullptr;
    }
    auto handle = new DirHandleT{{}, 0, dir->platform};
    for (fs::directory_iterator it(dir->native, ec), end; !ec && it != end; it.increment(ec))
        handle->entries.push_back(it->path().string());
    if (ec) {
        delete handle;
        if (status) *status = FE_FileRead;
        FA_errno = FE_FileRead;
        return nullptr;
    }
    std::sort(handle->entries.begin(), handle->entries.end());
    return handle;
}

// The next entry of a listing as a new record (freed with F_FilePathFree); NULL at the end.
FilePathT *F_FilePathGetNext(DirHandleT *handle, IntT *status) {
    if (status) *status = 0;
    if (!handle || handle->next >= handle->entries.size()) return nullptr;
    return new FilePathT{handle->entries[handle->next++], handle->platform};
}

void F_FilePathCloseDir(DirHandleT *handle) { delete handle; }

// The record's kind among the flags asked for (all kinds when flags is 0): 0x100 a folder,
// 0x200 a regular file, 0 when the path does not exist.
IntT F_FilePathProperty(const FilePathT *filePath, IntT flags) {
    if (!filePath) return 0;
    std::error_code ec;
    fs::file_status st = fs::status(filePath->native, ec);
    IntT kind = 0;
    if (fs::is_directory(st)) kind = FF_FilePathDirectory;
    else if (fs::is_regular_file(st)) kind = FF_FilePathFile;
    return flags ? (kind & flags) : kind;
}

// Creates the folder; 0 when it was created, else non-zero and FA_errno.
IntT F_FilePathMakeDir(const FilePathT *filePath, IntT) {
    std::error_code ec;
    if (!filePath || !fs::create_directory(filePath->native, ec)) {
        FA_errno = FE_FileWrite;
        return FE_FileWrite;
    }
    return 0;
}

// Opens a byte channel on the file: "r" to read, "w" to create or empty, "a" to append.
ChannelT *F_ChannelOpen(const FilePathT *filePath, ConStringT mode) {
    std::string m = mode ? mode : "";
    const char *cmode = m == "r" ? "rb" : m == "w" ? "wb" : m == "a" ? "ab" : nullptr;
    std::error_code ec;
    if (!filePath || !cmode || fs::is_directory(filePath->native, ec)) {
        FA_errno = FE_BadParameter;
        return nullptr;
    }
    // A pipe or a device (or a link to one) is never opened: the open or the reading would wait
    // for ever.
    if (fs::exists(filePath->native, ec) && !fs::is_regular_file(filePath->native, ec)) {
        FA_errno = m == "r" ? FE_FileRead : FE_FileWrite;
        return nullptr;
    }
    if (m == "w") {
        std::string why;
        if (!fs::is_directory(fs::path(filePath->native).parent_path(), ec) ||
            !host::safesave::MayReplace(filePath->native, why)) {
            FA_errno = FE_FileWrite;
            return nullptr;
        }
        auto channel = std::make_unique<ChannelT>();
        channel->replaces = filePath->native;
        return channel.release();
    }
    std::FILE *f = std::fopen(filePath->native.c_str(), cmode);
    if (!f) {
        FA_errno = m == "r" ? FE_FileRead : FE_FileWrite;
        return nullptr;
    }
    auto channel = std::make_unique<ChannelT>();
    channel->file = f;
    return channel.release();
}

// Reads up to count items of size bytes; returns the number of whole items read.
IntT F_ChannelRead(PtrT buffer, IntT size, IntT count, ChannelT *channel) {
    if (!channel || !channel->file || !buffer || size <= 0 || count <= 0) return 0;
    return static_cast<IntT>(std::fread(buffer, static_cast<size_t>(size), static_cast<size_t>(count), channel->file));
}

// Writes count items of size bytes; returns the number written.
IntT F_ChannelWrite(const void *buffer, IntT size, IntT count, ChannelT *channel) {
    if (!channel || !buffer || size <= 0 || count <= 0) return 0;
    if (!channel->file) {
        channel->bytes.append(static_cast<const char *>(buffer), static_cast<size_t>(size) * static_cast<size_t>(count));
        return count;
    }
    return static_cast<IntT>(std::fwrite(buffer, static_cast<size_t>(size), static_cast<size_t>(count), channel->file));
}

// 1 when no byte is left to read (also for no channel).
BoolT F_ChannelEof(ChannelT *channel) {
    if (!channel || !channel->file) return 1;
    int c = std::fgetc(channel->file);
    if (c == EOF) return 1;
    std::ungetc(c, channel->file);
    return 0;
}

// Closes the channel; 0 when everything written reached the file.
IntT F_ChannelClose(ChannelT *channel) {
    if (!channel) return FE_BadParameter;
    std::unique_ptr<ChannelT> owned(channel);
    std::string why;
    bool ok = owned->file ? std::fclose(owned->file) == 0 : host::safesave::ReplaceFile(owned->replaces, owned->bytes, why);
    if (!ok) {
        FA_errno = FE_FileWrite;
        return FE_FileWrite;
    }
    return 0;
}

}  // extern "C"
