// Path forms: normalising, file-name and folder parts, parents, and the conversions between
// absolute paths and the relative form the plug-in stores.
#include "lib/host/paths.h"

#include <algorithm>
#include <string>

#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/search.h"

namespace {

using qv::View;

bool SameCI(std::string_view a, std::string_view b) {
    return F_StrICmp(std::string(a).c_str(), std::string(b).c_str()) == 0;
}

std::string Slashes(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string DropTrailing(std::string s, size_t most = std::string::npos) {
    for (size_t n = 0; n < most && !s.empty() && s.back() == '\\'; ++n) s.pop_back();
    return s;
}

// The document's path, or the path given when there is no document.
std::string SourcePath(F_ObjHandleT docId, ConStringT path) {
    if (!docId) return std::string(View(path));
    StringT p = F_ApiGetString(0, docId, FP_Path);
    std::string out(View(p));
    om_StrFree(&p);
    return out;
}

std::string Normalized(std::string p, bool forward, bool trailing) {
    p = Slashes(std::move(p));
    size_t leading = p.find_first_not_of('\\');
    if (leading == std::string::npos) leading = p.size();
    p.erase(0, leading);
    std::string collapsed;
    for (char c : p)
        if (c != '\\' || collapsed.empty() || collapsed.back() != '\\') collapsed.push_back(c);
    p = std::string(leading, '\\') + collapsed;
    p = DropTrailing(p);
    if (forward) std::replace(p.begin(), p.end(), '\\', '/');
    if (trailing) p.push_back(forward ? '/' : '\\');
    return p;
}

// The folder part of a path: up to and including its last "\" (or, without one, its last "/");
// without that separator when strip is set. The ErrorSentinel for an empty path, "" when the
// path has no separator.
std::string Directory(const std::string &path, bool strip) {
    if (path.empty()) return ErrorSentinel;
    size_t sep = path.rfind('\\');
    if (sep == std::string::npos) sep = path.rfind('/');
    if (sep == std::string::npos) return {};
    return path.substr(0, strip ? sep : sep + 1);
}

// The path without its last component and separator; false (and "" or the path unchanged)
// when it has no "\" or ends in one.
bool Parent(const std::string &path, std::string *out) {
    size_t sep = path.rfind('\\');
    if (sep == std::string::npos) {
        *out = "";
        return false;
    }
    if (sep + 1 == path.size()) {
        *out = path;
        return false;
    }
    *out = path.substr(0, sep);
    return true;
}

int LevelsUp(std::string a, std::string b) {
    a = DropTrailing(a, 1);
    b = DropTrailing(b, 1);
    for (int steps = 0;; ++steps) {
        if (SameCI(a, b)) return steps;
        std::string up;
        if (!Parent(a, &up)) return -1;
        a = up;
    }
}

bool UpRelative(std::string a, std::string b, std::string *out) {
    auto strip = [](std::string s) {
        while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
        return s;
    };
    a = strip(a);
    b = strip(b);
    std::string m = b;
    int steps;
    while ((steps = LevelsUp(a, m)) < 0) {
        std::string up;
        if (!Parent(m, &up)) {
            *out = "";
            return false;
        }
        m = up;
    }
    std::string rest = b.size() > m.size() ? b.substr(std::min(b.size(), m.size() + 1)) : std::string();
    std::string result;
    for (int i = 0; i < steps; ++i) result += "..\\";
    *out = result + rest;
    return true;
}

std::string MakeAbsolute(std::string relative, F_ObjHandleT docId, const std::string &base, bool baseIsFile) {
    std::string folder = docId ? Directory(SourcePath(docId, nullptr), true) : base;
    if (om_StrIsEmpty(folder.c_str())) return {};
    relative = Slashes(relative);
    if (baseIsFile && !docId) folder = Directory(base, true);
    if (om_StrIsEmpty(folder.c_str())) return {};
    while (relative.size() >= 3 && SameCI(relative.substr(0, 3), "..\\")) {
        relative.erase(0, 3);
        std::string up;
        Parent(folder, &up);
        folder = up;
    }
    for (int i = 0; i < 5; ++i) {
        if (!folder.empty() && folder.back() == '\\') folder.pop_back();
        if (!relative.empty() && relative[0] == '\\') relative.erase(0, 1);
    }
    return folder + "\\" + relative;
}

bool MakeRelative(std::string a, F_ObjHandleT docA, std::string b, bool fileFlag, std::string *out) {
    if (docA) a = SourcePath(docA, nullptr);
    b = Slashes(b);
    std::string file;
    if (fileFlag) {
        size_t sep = b.rfind('\\');
        file = sep == std::string::npos ? b : b.substr(sep + 1);
        a = Directory(a, true);
        b = Directory(b, true);
    }
    std::string rel;
    bool same = SameCI(a, b);
    if (!same) {
        if (LevelsUp(b, a) >= 0) {
            std::string tail = b.size() > a.size() ? b.substr(a.size()) : std::string();
            if (!tail.empty() && tail[0] == '\\') tail.erase(0, 1);
            rel = "\\" + tail;
        } else if (!UpRelative(a, b, &rel)) {
            *out = "";
            return false;
        }
    }
    if (fileFlag) {
        rel = DropTrailing(rel, 1);
        rel = same ? file : rel + "\\" + file;
    }
    *out = rel;
    return true;
}

}  // namespace

void om_PathNormalize(StringT *p, IntT forwardSlash, IntT trailingSeparator) {
    if (!p) return;
    qv::StoreString(p, Normalized(std::string(View(*p)), forwardSlash != 0, trailingSeparator != 0));
}

IntT om_PathNormalizeList(F_StringsT *list, IntT forwardSlash, IntT trailingSeparator) {
    if (!list || !list->val) return 0;
    for (UIntT i = 0; i < list->len; ++i) om_PathNormalize(&list->val[i], forwardSlash, trailingSeparator);
    return static_cast<IntT>(list->len);
}

StringT om_PathFileName(F_ObjHandleT docId, ConStringT path) {
    std::string p = Normalized(std::string(qv::TrimBlanks(SourcePath(docId, path))), false, false);
    size_t sep = p.rfind('\\');
    return qv::NewHeapString(sep == std::string::npos ? p : p.substr(sep + 1));
}

StringT om_PathDirectory(F_ObjHandleT docId, ConStringT path, IntT strip) {
    return qv::NewHeapString(Directory(SourcePath(docId, path), strip == 1));
}

IntT om_PathParent(ConStringT path, StringT *out) {
    std::string up;
    bool removed = Parent(std::string(View(path)), &up);
    qv::StoreString(out, up);
    return removed ? 1 : 0;
}

IntT om_PathLevelsUp(ConStringT pathA, ConStringT pathB) { return LevelsUp(std::string(View(pathA)), std::string(View(pathB))); }

void om_PathTailAfter(ConStringT pathA, ConStringT pathB, StringT *out) {
    std::string_view a = View(pathA), b = View(pathB);
    if (a.empty() || b.empty()) return;
    qv::StoreString(out, b.size() > a.size() ? b.substr(a.size()) : std::string_view());
}

IntT om_PathUpRelative(ConStringT pathA, ConStringT pathB, StringT *out) {
    std::string rel;
    bool ok = UpRelative(std::string(View(pathA)), std::string(View(pathB)), &rel);
    qv::StoreString(out, rel);
    return ok ? 1 : 0;
}

IntT om_PathMakeRelative(ConStringT pathA, F_ObjHandleT docA, ConStringT pathB, StringT *out, IntT fileFlag) {
    std::string rel;
    bool ok = MakeRelative(std::string(View(pathA)), docA, std::string(View(pathB)), fileFlag != 0, &rel);
    qv::StoreString(out, rel);
    return ok ? 1 : 0;
}

void om_PathMakeAbsolute(ConStringT relative, F_ObjHandleT docId, ConStringT base, StringT *out, IntT baseIsFile) {
    qv::StoreString(out, MakeAbsolute(std::string(View(relative)), docId, std::string(View(base)), baseIsFile == 1));
}

IntT om_PathRebaseRelative(ConStringT relative, StringT *out, F_ObjHandleT docA, ConStringT pathA, F_ObjHandleT docB,
                           ConStringT pathB) {
    std::string absolute = MakeAbsolute(std::string(View(relative)), docA, std::string(View(pathA)), true);
    std::string rel;
    bool ok = MakeRelative(std::string(View(pathB)), docB, absolute, true, &rel);
    qv::StoreString(out, ok ? rel : absolute);
    return ok ? 1 : 0;
}

StringT om_PathExtension(F_ObjHandleT docId, ConStringT path, IntT withDot) {
    std::string p = SourcePath(docId, path);
    size_t dot = p.rfind('.');
    if (dot == std::string::npos) return qv::NewHeapString(p);
    return qv::NewHeapString(p.substr(withDot == 1 ? dot : dot + 1));
}

void om_PathLastComponent(ConStringT path, StringT *out) {
    std::string p = DropTrailing(std::string(View(path)));
    size_t sep = p.rfind('\\');
    qv::StoreString(out, sep == std::string::npos ? std::string() : p.substr(sep + 1));
}

void om_PathStripRoot(StringT *p) {
    if (!p) return;
    std::string s(View(*p));
    size_t colon = s.rfind(':');
    if (colon != std::string::npos) {
        s.erase(0, colon + 1);
        if (!s.empty() && (s[0] == '/' || s[0] == '\\')) s.erase(0, 1);
    } else if (s.starts_with("//") || s.starts_with("\\")) {
        size_t server = s.find_first_not_of("/\\");
        size_t after = server == std::string::npos ? s.size() : s.find_first_of("/\\", server);
        size_t rest = after == std::string::npos ? s.size() : s.find_first_not_of("/\\", after);
        s.erase(0, rest == std::string::npos ? s.size() : rest);
    }
    qv::StoreString(p, s);
}

void om_PathReplaceExtension(StringT *p, ConStringT extension) {
    if (!p) return;
    std::string s(View(*p));
    size_t dot = s.rfind('.');
    if (dot == std::string::npos) return;
    std::string ext(View(extension));
    if (!ext.starts_with(".")) ext = "." + ext;
    qv::StoreString(p, s.substr(0, dot) + ext);
}

std::string qv::PathWithBackslashes(std::string path) { return Slashes(std::move(path)); }

std::string qv::PathDirectoryOf(const std::string &path, bool strip) { return Directory(path, strip); }

std::string qv::PathAbsolute(const std::string &relative, F_ObjHandleT docId, const std::string &base, bool baseIsFile) {
    return MakeAbsolute(relative, docId, base, baseIsFile);
}
