// Text files of lines (favorites, lists, preferences) read and written through the host's
// channels, and the removal of a document's file. Reading takes CR, LF and CR LF as line ends,
// so files saved on any system read line by line; writing ends every line with CR LF.
#include "lib/host/textfiles.h"

#include <string>
#include <vector>

#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/search.h"

namespace {

using qv::View;

// A channel on the file at a Windows-form path, closed when it goes.
class Channel {
public:
    Channel(ConStringT path, const char *mode, IntT platform) {
        IntT saved = FA_errno;
        if (FilePathT *fp = F_PathNameToFilePath(path, nullptr, platform)) {
            channel_ = F_ChannelOpen(fp, mode);
            F_FilePathFree(fp);
        }
        FA_errno = saved;
    }
    ~Channel() { Close(); }
    // Closes the channel: true when everything written reached the file.
    bool Close() {
        ChannelT *c = channel_;
        channel_ = nullptr;
        return c && F_ChannelClose(c) == 0;
    }
    Channel(const Channel &) = delete;
    Channel &operator=(const Channel &) = delete;
    ChannelT *get() const { return channel_; }
    bool Write(std::string_view bytes) {
        return bytes.empty() ||
               F_ChannelWrite(bytes.data(), 1, static_cast<IntT>(bytes.size()), channel_) == static_cast<IntT>(bytes.size());
    }

private:
    ChannelT *channel_ = nullptr;
};

}  // namespace

IntT om_FileReadLines(ConStringT path, F_StringsT *lines) {
    qv::StoreStrings(lines, {});
    if (om_FileRefuseOtherKind(path) || !om_FileExists(path)) return 0;
    Channel in(path, "r", FDIPath);
    if (!in.get()) return 0;
    std::string bytes;
    char block[4096];
    while (!F_ChannelEof(in.get())) {
        IntT n = F_ChannelRead(block, 1, sizeof block, in.get());
        if (n <= 0) break;
        bytes.append(block, static_cast<size_t>(n));
    }
    qv::StoreStrings(lines, qv::SplitLines(bytes, false));
    return 1;
}

IntT om_FileWriteLines(ConStringT path, const F_StringsT *lines) {
    Channel out(path, "w", FDefaultPath);
    if (!out.get()) return 0;
    bool ok = true;
    for (const std::string &line : qv::ReadStrings(lines)) ok = out.Write(line) && out.Write("\r\n") && ok;
    return out.Close() && ok ? 1 : 0;
}

IntT om_FileAppendText(ConStringT path, ConStringT text, IntT newLine) {
    Channel out(path, "a", FDefaultPath);
    if (!out.get()) return 0;
    bool ok = (newLine != 1 || out.Write("\r\n")) && out.Write(View(text));
    return out.Close() && ok ? 1 : 0;
}

void om_FileCloseAndDelete(F_ObjHandleT docId, ConStringT path) {
    if (docId) {
        StringT docPath = F_ApiGetString(0, docId, FP_Path);
        F_ApiClose(docId, 1);
        if (!om_StrIsEmpty(docPath)) om_FileDelete(docPath);
        om_StrFree(&docPath);
        return;
    }
    om_FileDelete(path);
}
