// Open documents (see documents.h).
#include "lib/host/documents.h"

#include <cctype>

#include "lib/host/element_query.h"
#include "lib/host/host_values.h"

namespace {

bool EqualCI(const std::string &a, const std::string &b) { return F_StrICmp(a.c_str(), b.c_str()) == 0; }

// Lower-cases ASCII letters for the case-blind "contains" test.
std::string FoldCase(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsVisible(F_ObjHandleT id) { return F_ApiGetInt(0, id, FP_IsOnScreen) != 0; }
bool HasPath(F_ObjHandleT id) { return !HostGetString(0, id, FP_Path).empty(); }

std::vector<F_ObjHandleT> OpenDocs() {
    std::vector<F_ObjHandleT> out;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d; d = F_ApiGetId(0, d, FP_NextOpenDocInSession))
        out.push_back(d);
    return out;
}

std::vector<F_ObjHandleT> OpenBooks() {
    std::vector<F_ObjHandleT> out;
    for (F_ObjHandleT b = F_ApiGetId(0, 0, FP_FirstOpenBook); b; b = F_ApiGetId(0, b, FP_NextOpenBookInSession))
        out.push_back(b);
    return out;
}

// The decimal number the whole text holds; 0 when it holds anything else.
UIntT DecimalId(const std::string &text) {
    if (text.empty() || text.size() > 10) return 0;
    unsigned long long v = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    return v > 0xFFFFFFFFull ? 0 : static_cast<UIntT>(v);
}

F_ObjHandleT FindByPathIn(const std::vector<F_ObjHandleT> &ids, const std::string &path, bool last) {
    if (path.empty()) return 0;
    F_ObjHandleT found = 0;
    for (F_ObjHandleT id : ids)
        if (EqualCI(DocPathOrUnsaved(id), path)) {
            found = id;
            if (!last) break;
        }
    return found;
}

}  // namespace

std::string DocPathNormalized(const std::string &path) {
    size_t b = path.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    std::string p = path.substr(b, path.find_last_not_of(' ') - b + 1);
    for (char &c : p)
        if (c == '/') c = '\\';
    std::string out;
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '\\' && !out.empty() && out.back() == '\\' && i > 1) continue;
        out += p[i];
    }
    while (out.size() > 1 && out.back() == '\\') out.pop_back();
    return out;
}

std::string DocPathFileName(const std::string &path) {
    std::string p = DocPathNormalized(path);
    size_t slash = p.rfind('\\');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string DocPathOrUnsaved(F_ObjHandleT id) {
    std::string p = HostGetString(0, id, FP_Path);
    return p.empty() ? kUnsavedDocument : p;
}

F_ObjHandleT om_BookActive() { return F_ApiGetId(0, 0, FP_ActiveBook); }

F_ObjHandleT om_DocActivate(F_ObjHandleT docId) {
    if (docId && F_OBJ_KIND(docId) == FO_Doc) {
        F_ApiSetInt(0, docId, FP_IsOnScreen, 1);
        F_ApiSetId(0, 0, FP_ActiveDoc, docId);
        F_ApiSetInt(0, docId, FP_IsInFront, 1);
    }
    return F_ApiGetId(0, 0, FP_ActiveDoc);
}

IntT om_BookIsId(F_ObjHandleT id) { return F_OBJ_KIND(id) == FO_Book ? 1 : 0; }

IntT om_DocIsOpen(F_ObjHandleT id) {
    if (!id || F_OBJ_KIND(id) != FO_Doc) return 0;
    // The host knows no object by a closed or unknown id: asking its type tells, without listing
    // the open documents. The caller's FA_errno is left as it was.
    IntT saved = FA_errno;
    IntT open = F_ApiGetObjectType(0, id) == FO_Doc ? 1 : 0;
    FA_errno = saved;
    return open;
}

IntT om_BookIsOpen(F_ObjHandleT id) {
    if (!id) return 0;
    for (F_ObjHandleT b : OpenBooks())
        if (b == id) return 1;
    return 0;
}

IntT om_DocKindIfOpen(IntT, F_ObjHandleT id) {
    if (!id) return 0;
    IntT kind = F_OBJ_KIND(id);
    if (kind == FO_Book) return om_BookIsOpen(id) ? FO_Book : 0;
    if (kind == FO_Doc) return om_DocIsOpen(id) ? FO_Doc : 0;
    return kind;
}

IntT om_DocIsStructureView(F_ObjHandleT docId) {
    return docId && HostGetString(0, docId, FP_Label) == kStructureViewLabel ? 1 : 0;
}

F_ObjHandleT om_DocFindStructureView() {
    F_ObjHandleT found = 0;
    for (F_ObjHandleT d : OpenDocs())
        if (EqualCI(HostGetString(0, d, FP_Label), kStructureViewLabel)) found = d;
    return found;
}

std::vector<UIntT> om_DocGetOpenIds(IntT books, IntT invisible, IntT untitled) {
    std::vector<UIntT> out;
    auto take = [&](F_ObjHandleT id) {
        if ((invisible == 1 || IsVisible(id)) && (untitled == 1 || HasPath(id))) out.push_back(id);
    };
    for (F_ObjHandleT d : OpenDocs()) take(d);
    if (books == 1)
        for (F_ObjHandleT b : OpenBooks()) take(b);
    return out;
}

std::vector<std::string> om_DocGetOpenPaths(IntT docs, IntT books, IntT skipStructureView, IntT invisible,
                                            IntT fileNames, F_ObjHandleT skipId) {
    std::vector<std::string> out;
    auto take = [&](F_ObjHandleT id) {
        if (id == skipId || (invisible != 1 && !IsVisible(id))) return;
        if (skipStructureView == 1 && om_DocIsStructureView(id)) return;
        std::string p = HostGetString(0, id, FP_Path);
        if (p.empty()) return;
        if (fileNames == 1) p = DocPathFileName(p);
        if (!p.empty()) out.push_back(p);
    };
    if (docs == 1)
        for (F_ObjHandleT d : OpenDocs()) take(d);
    if (books == 1)
        for (F_ObjHandleT b : OpenBooks()) take(b);
    return out;
}

F_ObjHandleT om_DocFindByPath(const std::string &path) { return FindByPathIn(OpenDocs(), path, false); }
F_ObjHandleT om_DocFindByPathLast(const std::string &path) { return FindByPathIn(OpenDocs(), path, true); }
F_ObjHandleT om_BookFindByPath(const std::string &path) { return FindByPathIn(OpenBooks(), path, false); }

F_ObjHandleT om_DocFindByLabel(const std::string &label, IntT, IntT contains, IntT caseFlag) {
    for (F_ObjHandleT d : OpenDocs()) {
        std::string l = HostGetString(0, d, FP_Label);
        bool hit;
        if (contains == 1)
            hit = caseFlag == 1 ? l.find(label) != std::string::npos
                                : FoldCase(l).find(FoldCase(label)) != std::string::npos;
        else
            hit = caseFlag == 1 ? l == label : EqualCI(l, label);
        if (hit) return d;
    }
    return 0;
}

F_ObjHandleT om_DocFindOpen(const std::string &text, IntT contains, IntT books) {
    if (text.empty()) return 0;
    std::string x = DocPathNormalized(text);
    if (UIntT n = DecimalId(x)) {
        if (F_OBJ_KIND(n) == FO_Doc) return n;
        if (F_OBJ_KIND(n) == FO_Book && books == 1 && om_BookIsOpen(n)) return n;
    }
    std::string folded = FoldCase(x);
    for (UIntT id : om_DocGetOpenIds(books, 1, 1)) {
        std::string p = HostGetString(0, id, FP_Path);
        if (p.empty()) p = HostGetString(0, id, FP_Label);
        p = DocPathNormalized(p);
        if (EqualCI(p, x) || EqualCI(DocPathFileName(p), x)) return id;
        if (contains == 1 && FoldCase(p).find(folded) != std::string::npos) return id;
    }
    return 0;
}

F_ObjHandleT om_ObjectIdFromText(F_ObjHandleT docId, const std::string &text) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    UIntT n = b == std::string::npos ? 0 : DecimalId(text.substr(b, e - b + 1));
    if (docId && n && !F_ApiGetInt(docId, n, FP_ElementType)) return 0;
    return n;
}

std::vector<std::string> om_DocGetOpenNames(IntT books, IntT invisible, IntT untitled, IntT fileNames) {
    std::vector<std::string> out;
    for (UIntT id : om_DocGetOpenIds(books, invisible, untitled)) {
        std::string p = HostGetString(0, id, FP_Path);
        out.push_back(fileNames == 1 ? DocPathFileName(p) : p);
    }
    return out;
}

std::vector<std::string> om_DocGetOpenNamesShort(IntT paths, IntT invisible, IntT cutCount, const std::string &prefix,
                                                 std::vector<UIntT> *ids) {
    std::vector<std::string> out;
    for (F_ObjHandleT d : OpenDocs()) {
        if (invisible != 1 && !IsVisible(d)) continue;
        std::string p = HostGetString(0, d, FP_Path);
        std::string name = paths == 1 ? p : DocPathFileName(p);
        if (name.empty()) continue;
        if (cutCount > 0 && name.size() > static_cast<size_t>(cutCount)) name = prefix + name.substr(cutCount);
        out.push_back(name);
        if (ids) ids->push_back(d);
    }
    return out;
}

F_ObjHandleT om_DocFindByRootTag(const std::string &tag, IntT caseFlag) {
    for (F_ObjHandleT d : OpenDocs()) {
        std::string root = HostElementDefName(d, om_ElementHighestLevel(d, "Main", 0));
        if (caseFlag == 1 ? root == tag : EqualCI(root, tag)) return d;
    }
    return 0;
}

void om_DocBringToFront(F_ObjHandleT id, IntT makeActive) {
    if (!id) return;
    F_ApiSetInt(0, id, FP_IsInFront, 1);
    if (makeActive) F_ApiSetId(0, 0, F_OBJ_KIND(id) == FO_Book ? FP_ActiveBook : FP_ActiveDoc, id);
}

void om_DocRefreshWindow(F_ObjHandleT docId) {
    if (!docId) return;
    IntT left = F_ApiGetInt(0, docId, FP_ScreenX), top = F_ApiGetInt(0, docId, FP_ScreenY);
    IntT width = F_ApiGetInt(0, docId, FP_ScreenW), height = F_ApiGetInt(0, docId, FP_ScreenH);
    F_ApiSetInt(0, docId, FP_IsOnScreen, 0);
    F_ApiSetInt(0, docId, FP_IsOnScreen, 1);
    F_ApiSetInt(0, docId, FP_ScreenX, left);
    F_ApiSetInt(0, docId, FP_ScreenY, top);
    F_ApiSetInt(0, docId, FP_ScreenW, width);
    F_ApiSetInt(0, docId, FP_ScreenH, height);
}

F_ObjHandleT om_DocReopenStructureView(IntT force) {
    F_ObjHandleT sv = om_DocFindStructureView();
    if (sv)
        F_ApiClose(sv, 1);
    else if (force == 0)
        return 0;
    IntT code = FV_FC_STRUCTURE_VIEW;
    F_IntsT codes{1, &code};
    F_ApiFcodes(&codes);
    return om_DocFindStructureView();
}
