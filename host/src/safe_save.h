// Replacing a user's file safely. Every file a save writes (documents in any format, books, the
// files of external entities) goes through here: the new bytes go to a temporary file beside the
// target, every write, the last write, the sync and the close are checked, and only then does the
// temporary file take the target's place. A failure at any step removes the temporary file,
// leaves the old file as it was and names the cause. The serializers only produce bytes; they
// never touch the disk.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host::safesave {

// Checks whether the file at `nativePath` may be replaced: a symbolic link is followed to the
// file it names; a file that is read-only for the user, or that is not a regular file, is
// refused. A file that does not exist yet may be made (its folder must exist). False with
// `reason` set otherwise.
bool MayReplace(const std::string &nativePath, std::string &reason);

// Whether the file at `nativePath` holds exactly `bytes` (false when it cannot be read).
bool Holds(const std::string &nativePath, std::string_view bytes);

// Content handed over in pieces: each call gives the next one; an empty piece ends it.
using PieceSource = std::function<std::string_view()>;

// One save of one or more files, all or nothing as far as the disk allows: Add() writes each
// file's new content to its temporary file (synced and closed); Commit() then moves them all into
// place. A transaction that is not committed removes its temporary files. One thread at a time
// uses a transaction (a save may write one file on a thread of its own).
class Transaction {
  public:
    Transaction() = default;
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Prepares `nativePath` to hold `bytes`. False with `reason` set on the first failure.
    bool Add(const std::string &nativePath, std::string_view bytes, std::string &reason);
    // The same for content that comes in pieces (`next` may wait for each): the file holds them
    // one after another, up to the first empty one.
    bool Add(const std::string &nativePath, const PieceSource &next, std::string &reason);
    // Puts every prepared file in place. False with `reason` set on failure.
    bool Commit(std::string &reason);

  private:
    struct Pending {
        std::string target;  // the file that ends up holding the bytes (symbolic links followed)
        std::string temp;
        bool inPlace = false;  // written into the target itself (it has other hard links)
    };
    std::vector<Pending> pending_;
    size_t committed_ = 0;
    std::vector<std::string> contents_;  // the bytes of in-place files, kept for their copy
};

// Replaces one file: a transaction of one.
bool ReplaceFile(const std::string &nativePath, std::string_view bytes, std::string &reason);

// For tests: the steps of writing a file that can be made to fail: the first write, the last
// write (the flush), the sync, the close, and the step that puts the new file in place (the
// rename, or the copy into a file that has other hard links).
enum class Step { None, Write, Flush, Sync, Close, Rename };
// For tests: the next time a save reaches `step` it fails there with the system error `error`
// (an errno value). Step::None clears it. One failure is armed at a time.
void FailNextForTest(Step step, int error);

}  // namespace host::safesave
