// Replacing a user's file safely (see safe_save.h).
#include "safe_save.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host::safesave {
namespace {

Step gFailStep = Step::None;
int gFailError = 0;

// Whether the armed test failure is at `step`; it fires once, with errno set.
bool Injected(Step step) {
    if (gFailStep == Step::None || gFailStep != step) return false;
    gFailStep = Step::None;
    errno = gFailError;
    return true;
}

std::string ErrorText(int error) { return std::strerror(error); }

// Fails with the text of errno.
bool FailErrno(std::string &reason) {
    reason = ErrorText(errno);
    return false;
}

std::string FolderOf(const std::string &path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path ends at once its symbolic links are followed (it need not exist): a save
// writes through a link to the file the link names, so the link stays a link.
bool FollowLinks(const std::string &path, std::string &target, std::string &reason) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return FailErrno(reason);
        link.resize(static_cast<size_t>(n));
        target = !link.empty() && link[0] == '/' ? link : FolderOf(target) + "/" + link;
    }
    reason = ErrorText(ELOOP);
    return false;
}

// Whether the permission bits make the file read-only for this user. The bits decide, not
// access(2): for the superuser access(2) calls every file writable, and a file its owner marked
// read-only must stay as it is whoever saves.
bool ReadOnlyForUser(const std::string &path, const struct stat &st) {
    uid_t me = geteuid();
    if (me == 0 || st.st_uid == me) return (st.st_mode & S_IWUSR) == 0;
    return access(path.c_str(), W_OK) != 0;
}

// Writes the pieces `next` gives, one after another until an empty one, to `fd` from `offset`
// on, in writes of at most kWrite bytes, each checked; the last one is the flush. With `copy`,
// the bytes written are kept there too.
bool WriteAll(int fd, const PieceSource &next, off_t offset, std::string *copy, std::string &reason) {
    constexpr size_t kWrite = size_t(1) << 20;
    size_t done = 0;
    bool first = true;
    std::string_view piece = next();
    do {
        // The piece after this one is known before this one's end is written: that end may be
        // the file's last write.
        std::string_view following = piece.empty() ? std::string_view() : next();
        size_t at = 0;
        do {
            size_t n = std::min(kWrite, piece.size() - at);
            bool last = following.empty() && at + n == piece.size();
            if ((first && Injected(Step::Write)) || (last && Injected(Step::Flush))) return FailErrno(reason);
            first = false;
            while (n > 0) {
                ssize_t w = pwrite(fd, piece.data() + at, n, offset + static_cast<off_t>(done));
                if (w < 0 && errno == EINTR) continue;
                if (w < 0) return FailErrno(reason);
                if (w == 0) {
                    reason = ErrorText(EIO);
                    return false;
                }
                at += static_cast<size_t>(w);
                done += static_cast<size_t>(w);
                n -= static_cast<size_t>(w);
            }
        } while (at < piece.size());
        if (copy) copy->append(piece);
        piece = following;
    } while (!piece.empty());
    return true;
}

// A source that gives `bytes` once.
PieceSource Once(std::string_view bytes) {
    return [bytes, given = false]() mutable {
        std::string_view piece = given ? std::string_view() : bytes;
        given = true;
        return piece;
    };
}

bool WriteAll(int fd, std::string_view bytes, off_t offset, std::string &reason) {
    return WriteAll(fd, Once(bytes), offset, nullptr, reason);
}

// Syncs and closes `fd`, both checked; the descriptor is closed either way.
bool SyncAndClose(int fd, std::string &reason) {
    if (Injected(Step::Sync) || fsync(fd) != 0) {
        int error = errno;
        close(fd);
        reason = ErrorText(error);
        return false;
    }
    int rc = close(fd);
    if (Injected(Step::Close) || rc != 0) return FailErrno(reason);
    return true;
}

void SyncFolder(const std::string &folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // best effort: the rename is done, a folder that cannot be synced changes nothing
    close(fd);
}

bool ReadAll(const std::string &path, std::string &out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Copies the new bytes into a file that has other hard links, so that every link sees them. The
// room is reserved first where the file system allows it; a write that still fails puts the old
// content back.
bool CopyInPlace(const std::string &target, std::string_view bytes, std::string &reason) {
    std::string old;
    if (!ReadAll(target, old)) return FailErrno(reason);
    int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return FailErrno(reason);
    if (bytes.size() > old.size() &&
        fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS) {
        int error = errno;
        close(fd);
        reason = ErrorText(error);
        return false;
    }
    bool ok = true;
    if (Injected(Step::Rename)) ok = FailErrno(reason);  // the test's failure of this step
    ok = ok && WriteAll(fd, bytes, 0, reason);
    if (ok && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) ok = FailErrno(reason);
    if (ok && fsync(fd) != 0) ok = FailErrno(reason);
    if (!ok) {
        std::string ignored;
        if (WriteAll(fd, old, 0, ignored)) {
            if (ftruncate(fd, static_cast<off_t>(old.size())) == 0) fsync(fd);
        }
        close(fd);
        return false;
    }
    if (close(fd) != 0) return FailErrno(reason);
    return true;
}

}  // namespace

bool MayReplace(const std::string &nativePath, std::string &reason) {
    std::string target;
    if (!FollowLinks(nativePath, target, reason)) return false;
    struct stat st;
    if (stat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;  // a new file
        return FailErrno(reason);
    }
    if (S_ISDIR(st.st_mode)) {
        reason = "it is a folder";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "it is not a regular file";
        return false;
    }
    if (ReadOnlyForUser(target, st)) {
        reason = "the file is read-only";
        return false;
    }
    return true;
}

bool Holds(const std::string &nativePath, std::string_view bytes) {
    std::string now;
    return ReadAll(nativePath, now) && now == bytes;
}

Transaction::~Transaction() {
    for (size_t i = committed_; i < pending_.size(); ++i) unlink(pending_[i].temp.c_str());
}

bool Transaction::Add(const std::string &nativePath, std::string_view bytes, std::string &reason) {
    return Add(nativePath, Once(bytes), reason);
}

bool Transaction::Add(const std::string &nativePath, const PieceSource &next, std::string &reason) {
    if (!MayReplace(nativePath, reason)) return false;
    Pending p;
    if (!FollowLinks(nativePath, p.target, reason)) return false;
    struct stat st;
    bool exists = stat(p.target.c_str(), &st) == 0;
    // The temporary file has a fixed name beside the target: one left by a process that was
    // killed is replaced here, not tripped over.
    p.temp = p.target + ".qvsave~";
    if (unlink(p.temp.c_str()) != 0 && errno != ENOENT) return FailErrno(reason);
    int fd = open(p.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? (st.st_mode & 07777) | S_IWUSR : 0666);
    if (fd < 0) return FailErrno(reason);
    pending_.push_back(p);  // from here on the temporary file is removed on failure
    if (exists) {
        // The owner first (a change of owner may clear set-id bits), then the mode as it was.
        if (st.st_uid != geteuid() || st.st_gid != getegid()) (void)!fchown(fd, st.st_uid, st.st_gid);
        if (fchmod(fd, st.st_mode & 07777) != 0) {
            int error = errno;
            close(fd);
            reason = ErrorText(error);
            return false;
        }
    }
    // A file with other hard links gets the new bytes copied into it at the commit: they are kept.
    const bool inPlace = exists && st.st_nlink > 1;
    std::string whole;
    if (!WriteAll(fd, next, 0, inPlace ? &whole : nullptr, reason)) {
        close(fd);
        return false;
    }
    if (!SyncAndClose(fd, reason)) return false;
    if (inPlace) {
        pending_.back().inPlace = true;
        contents_.push_back(std::move(whole));
    }
    return true;
}

bool Transaction::Commit(std::string &reason) {
    size_t copy = 0;
    for (; committed_ < pending_.size(); ++committed_) {
        const Pending &p = pending_[committed_];
        if (p.inPlace) {
            if (!CopyInPlace(p.target, contents_[copy], reason)) return false;
            ++copy;
            unlink(p.temp.c_str());
        } else {
            if (Injected(Step::Rename) || rename(p.temp.c_str(), p.target.c_str()) != 0) return FailErrno(reason);
            SyncFolder(FolderOf(p.target));
        }
    }
    return true;
}

bool ReplaceFile(const std::string &nativePath, std::string_view bytes, std::string &reason) {
    Transaction t;
    return t.Add(nativePath, bytes, reason) && t.Commit(reason);
}

void FailNextForTest(Step step, int error) {
    gFailStep = step;
    gFailError = error;
}

}  // namespace host::safesave
