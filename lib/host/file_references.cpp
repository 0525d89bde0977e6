// Clean-ups of the file paths a document refers to: imported graphics' paths and cross-reference
// source files.
#include "lib/host/file_references.h"

#include <string>
#include <vector>

#include "lib/host/host_values.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"

namespace {

constexpr int kStepLimit = 10000000;
const char *const kXRefMarker = "thesecorina";

// Lower case by the host's character tables: ASCII and the Latin-1 capitals.
std::string LowerHost(const std::string &s, bool keepDrive) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        bool keep = keepDrive && i + 1 < s.size() && s[i + 1] == ':';
        if (!keep && c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c + 32);
        } else if (!keep && c == 0xC3 && i + 1 < s.size()) {
            auto d = static_cast<unsigned char>(s[i + 1]);  // U+00C0..U+00DE but U+00D7
            out += s[i];
            out += static_cast<char>(d >= 0x80 && d <= 0x9E && d != 0x97 ? d + 0x20 : d);
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Rewrites the path of every imported graphic; the number changed.
template <class Rewrite>
IntT RewriteGraphicPaths(F_ObjHandleT doc, Rewrite rewrite) {
    if (!doc) return 0;
    IntT changed = 0;
    int steps = 0;
    for (F_ObjHandleT g = F_ApiGetId(0, doc, FP_FirstGraphicInDoc); g && steps < kStepLimit;
         g = F_ApiGetId(doc, g, FP_NextGraphicInDoc), ++steps) {
        if (F_OBJ_KIND(g) != FO_Inset) continue;
        std::string path = HostGetString(doc, g, FP_InsetFile);
        std::string to = rewrite(path);
        if (to == path) continue;
        F_ApiSetString(doc, g, FP_InsetFile, to.c_str());
        ++changed;
    }
    return changed;
}

}  // namespace

IntT om_GraphicPathsLowerCase(F_ObjHandleT docId) {
    return RewriteGraphicPaths(docId, [](const std::string &p) { return LowerHost(p, false); });
}

IntT om_GraphicPathsTiffToPng(F_ObjHandleT docId) {
    return RewriteGraphicPaths(docId, [](const std::string &p) {
        StringT s = om_StrCopy(p.c_str());
        om_StrReplaceAll(&s, ".tiff", ".png", 0);
        om_StrReplaceAll(&s, ".tif", ".png", 0);
        std::string out = s ? s : "";
        om_StrFree(&s);
        return out;
    });
}

IntT om_XRefSourceFilesLowerCase(F_ObjHandleT docId) {
    if (!docId) return 0;
    std::vector<F_ObjHandleT> refs;
    int steps = 0;
    for (F_ObjHandleT x = F_ApiGetId(0, docId, FP_FirstXRefInDoc); x && steps < kStepLimit;
         x = F_ApiGetId(docId, x, FP_NextXRefInDoc), ++steps) {
        std::string file = HostGetString(docId, x, FP_XRefFile);
        if (file.empty()) continue;
        F_ApiSetString(docId, x, FP_XRefFile, (file + kXRefMarker).c_str());
        refs.push_back(x);
    }
    F_ApiUpdateXRefs(docId, FF_XRefsUpdateAll);
    IntT rewritten = 0;
    const std::string marker(kXRefMarker);
    for (F_ObjHandleT x : refs) {
        std::string file = LowerHost(HostGetString(docId, x, FP_XRefFile), true);
        if (size_t at = file.rfind(marker); at != std::string::npos && at + marker.size() == file.size()) file.erase(at);
        F_ApiSetString(docId, x, FP_XRefFile, file.c_str());
        std::string readBack = HostGetString(docId, x, FP_XRefFile);
        F_ApiAlert((file + "\n" + readBack).c_str(), FF_ALERT_CONTINUE_WARN);
        ++rewritten;
    }
    F_ApiUpdateXRefs(docId, FF_XRefsUpdateAll);
    return rewritten;
}
