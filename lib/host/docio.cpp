// Open, save and close with fixed answers (see docio.h), and the file name and folder of a
// document's path.
#include "lib/host/docio.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "lib/strings/heapstr.h"

namespace {

using Setting = std::pair<IntT, IntT>;

// Sets the integer value of each listed parameter present in the list.
void SetInts(F_PropValsT *params, std::initializer_list<Setting> settings) {
    for (const Setting &s : settings) {
        IntT i = F_ApiGetPropIndex(params, s.first);
        if (i < 0) continue;
        params->val[i].propVal.ival = s.second;
    }
}

void SetString(F_PropValsT *params, IntT number, const std::string &value) {
    IntT i = F_ApiGetPropIndex(params, number);
    if (i < 0) return;
    F_TypedValT &v = params->val[i].propVal;
    F_ApiDeallocateString(&v.sval);
    v.sval = F_StrCopyString(value.c_str());
}

// The open table for the flags A, B, H, G, U.
void FillOpen(F_PropValsT *p, bool a, bool b, bool h, bool g, bool u) {
    SetInts(p, {{2, a ? 0 : 1}, {18, b ? 7 : 0}, {7, 0}, {43, 0}, {3, 1}, {17, b ? 7 : 0}, {20, 1},
                {23, a ? 1 : 0}, {28, a ? 1 : 0}, {22, a ? 1 : 0}, {25, a ? 1 : 0}, {19, b ? 1 : 0},
                {FS_MakeVisible, h ? 0 : 1}, {29, u ? 1 : 0}, {41, 0}, {42, 0}, {30, 0}, {40, g ? 1 : 0},
                {24, a ? 1 : 11}, {15, 3}, {35, 3}, {36, 3}, {14, 3}});
}

std::string DocPath(F_ObjHandleT doc) {
    StringT s = F_ApiGetString(0, doc, FP_Path);
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// Opens the path with the default list changed by `fill`; hides the result when asked.
template <typename Fill>
F_ObjHandleT OpenWith(const std::string &path, Fill fill, bool hideAfter) {
    F_PropValsT params = F_ApiGetOpenDefaultParams();
    fill(&params);
    F_PropValsT *returned = nullptr;
    F_ObjHandleT id = F_ApiOpen(path.c_str(), &params, &returned);
    F_ApiDeallocatePropVals(&params);
    if (returned) F_ApiDeallocatePropVals(returned);  // the record itself stays the host's
    if (id && hideAfter) F_ApiSetInt(0, id, FP_IsOnScreen, 0);
    return id;
}

template <typename Fill>
F_ObjHandleT SaveWith(F_ObjHandleT doc, const std::string &path, Fill fill) {
    F_PropValsT params = F_ApiGetSaveDefaultParams();
    fill(&params);
    F_PropValsT *returned = nullptr;
    F_ObjHandleT id = F_ApiSave(doc, path.c_str(), &params, &returned);
    F_ApiDeallocatePropVals(&params);
    if (returned) F_ApiDeallocatePropVals(returned);  // the record itself stays the host's
    return id;
}

bool EndsWithCI(const std::string &s, const std::string &tail) {
    return s.size() >= tail.size() && qv::FoldCase(s.substr(s.size() - tail.size())) == tail;
}

// An open document or book, else 0.
F_ObjHandleT OpenDocOrBook(F_ObjHandleT id) {
    IntT kind = F_OBJ_KIND(id);
    if (kind != FO_Doc && kind != FO_Book) return 0;
    IntT first = kind == FO_Doc ? FP_FirstOpenDoc : FP_FirstOpenBook;
    IntT next = kind == FO_Doc ? FP_NextOpenDocInSession : FP_NextOpenBookInSession;
    int n = 0;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, first); d && n < 100000; d = F_ApiGetId(0, d, next), ++n)
        if (d == id) return id;
    return 0;
}

void PathPart(F_ObjHandleT doc, ConStringT path, StringT *out, bool folder) {
    if (!out) return;
    std::string p = doc ? DocPath(doc) : std::string(qv::View(path));
    std::string part;
    if (p.empty()) {
        part = EmptySentinel;
    } else if (size_t cut = p.rfind('\\'); cut != std::string::npos) {
        part = folder ? p.substr(0, cut + 1) : p.substr(cut + 1);
    }  // no "\": no file name or folder, the empty text (never a NULL string)
    F_ApiDeallocateString(out);
    *out = qv::NewHeapString(part);
}

}  // namespace

F_ObjHandleT om_DocOpen(ConStringT path, F_ObjHandleT doc, IntT useDocPath, IntT first, IntT second, IntT hidden,
                        IntT third) {
    std::string p = doc && useDocPath ? DocPath(doc) : std::string(qv::View(path));
    return OpenWith(p, [&](F_PropValsT *params) { FillOpen(params, first, second, hidden, third, useDocPath); }, hidden);
}

F_ObjHandleT om_DocSave(F_ObjHandleT doc, ConStringT target, IntT format, IntT x, IntT y, IntT z) {
    std::string t(qv::View(target)), path, argument;
    size_t sep = t.find("::");
    if (sep != std::string::npos) {
        path = t.substr(0, sep);
        argument = t.substr(sep + 2);
    } else {
        path = t;
    }
    if (path.empty()) path = DocPath(doc);
    if (format < 0) {
        format = EndsWithCI(path, ".xml") ? FV_SaveFmtXml : EndsWithCI(path, ".sgml") ? FV_SaveFmtSGML
               : EndsWithCI(path, ".mif") ? FV_SaveFmtMIF : EndsWithCI(path, ".txt") ? FV_SaveFmtText
               : EndsWithCI(path, ".pdf") ? FV_SaveFmtPdf : FV_SaveFmtBinary;
    }
    return SaveWith(doc, path, [&](F_PropValsT *p) {
        bool own = t.empty() && format == 0;
        SetInts(p, {{2, x ? 0 : 1}, {17, x ? 7 : 0}, {19, x ? 1 : 0}, {21, x ? 1 : 0}, {6, y ? 0 : 1},
                    {3, z ? 0 : 1}, {FS_FileType, format == 100 ? FV_SaveFmtFilter : format}, {12, 0},
                    {4, own ? 0 : 1}, {5, own ? 1 : 2}});
        if (format == 100) SetString(p, FS_SaveFilterHint, "0001ADBIRTF         Microsoft RTF1.6");
        if (format == FV_SaveFmtXml || format == FV_SaveFmtSGML) SetString(p, FS_SaveMarkupArgument, argument);
    });
}

IntT om_DocClose(F_ObjHandleT doc, IntT save) {
    if (!doc || !OpenDocOrBook(doc)) return 0;
    if (F_OBJ_KIND(doc) == FO_Doc && F_ApiGetId(0, doc, FP_FirstPgfFmtInDoc) == 0) return 0;
    if (save && !om_DocSave(doc, "", -1, 1, 0, 0)) return 0;
    F_ApiClose(doc, 1);
    return 1;
}

F_ObjHandleT om_DocOpenFixed(ConStringT path) {
    return OpenWith(std::string(qv::View(path)), [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{17, 5}});
    }, false);
}
F_ObjHandleT om_DocOpenNoSecond(ConStringT path) {
    return OpenWith(std::string(qv::View(path)), [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{18, 0}, {17, 0}});
    }, false);
}
F_ObjHandleT om_DocOpenNoSecondDocPath(ConStringT path) {
    return OpenWith(std::string(qv::View(path)), [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{18, 0}, {17, 0}, {29, 1}});
    }, false);
}
F_ObjHandleT om_DocOpenPlain(ConStringT path) {
    return OpenWith(std::string(qv::View(path)), [](F_PropValsT *p) { FillOpen(p, true, true, false, true, false); }, false);
}
F_ObjHandleT om_DocOpenQuietly(ConStringT path) {
    return OpenWith(std::string(qv::View(path)), [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{FS_MakeVisible, 0}});
    }, false);
}
F_ObjHandleT om_DocOpenHiddenFlag(ConStringT path, IntT hidden) {
    return OpenWith(std::string(qv::View(path)), [&](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{FS_MakeVisible, hidden ? 0 : 1}, {7, 0}});
    }, false);
}
F_ObjHandleT om_DocOpenHiddenFromDoc(ConStringT path, F_ObjHandleT doc) {
    std::string pth = doc ? DocPath(doc) : std::string(qv::View(path));
    return OpenWith(pth, [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{FS_MakeVisible, 0}, {29, 1}});
    }, true);
}
F_ObjHandleT om_DocOpenFromDoc(ConStringT path, F_ObjHandleT doc) {
    std::string pth = doc ? DocPath(doc) : std::string(qv::View(path));
    return OpenWith(pth, [](F_PropValsT *p) {
        FillOpen(p, true, true, false, true, false);
        SetInts(p, {{29, 1}});
    }, true);
}
void om_OpenParamsFill(F_PropValsT *params) { FillOpen(params, true, true, false, true, false); }
void om_OpenParamsFillHidden(F_PropValsT *params) {
    FillOpen(params, true, true, false, true, false);
    SetInts(params, {{FS_MakeVisible, 0}, {41, 1}});
}
void om_OpenParamsFillNoSecond(F_PropValsT *params) {
    FillOpen(params, true, true, false, true, false);
    SetInts(params, {{18, 0}, {17, 0}, {FS_MakeVisible, 0}});
}
void om_OpenParamsFillMinimal(F_PropValsT *params) {
    SetInts(params, {{2, 0}, {3, 1}, {23, 1}, {28, 1}, {22, 1}, {25, 1}, {FS_MakeVisible, 1}, {29, 1}, {42, 0}, {30, 0},
                     {40, 1}, {24, 11}, {15, 3}, {35, 3}, {36, 3}, {14, 3}});
}

F_ObjHandleT om_DocSaveAsDocument(F_ObjHandleT doc, ConStringT path) {
    bool own = qv::View(path).empty();
    return SaveWith(doc, own ? DocPath(doc) : std::string(path), [&](F_PropValsT *p) {
        SetInts(p, {{2, 0}, {6, 1}, {3, 1}, {FS_FileType, FV_SaveFmtBinary}, {12, 0}, {4, own ? 0 : 1},
                    {5, own ? 1 : 2}});
    });
}
F_ObjHandleT om_DocSaveAsMif(F_ObjHandleT doc, ConStringT path) {
    bool own = qv::View(path).empty();
    F_ObjHandleT id = SaveWith(doc, own ? DocPath(doc) : std::string(path), [&](F_PropValsT *p) {
        SetInts(p, {{2, 0}, {6, 1}, {3, 1}, {FS_FileType, FV_SaveFmtMIF}, {12, 0}, {4, 1}, {5, 2}});
    });
    if (!id) F_ApiPrintFA_Errno();
    return id;
}
F_ObjHandleT om_DocSaveDocFormat(F_ObjHandleT doc, ConStringT path) {
    return SaveWith(doc, std::string(qv::View(path)), [](F_PropValsT *p) {
        SetInts(p, {{2, 0}, {6, 1}, {3, 1}, {FS_FileType, FV_SaveFmtBinary}, {12, 0}, {5, 2}, {4, 1}});
    });
}
F_ObjHandleT om_DocSaveAsXml2(F_ObjHandleT doc, ConStringT path) {
    return SaveWith(doc, std::string(qv::View(path)), [](F_PropValsT *p) {
        SetInts(p, {{2, 1}, {6, 1}, {3, 1}, {FS_FileType, FV_SaveFmtXml}, {12, 0}, {5, 2}, {4, 0}});
    });
}
F_ObjHandleT om_DocSaveAsXml(F_ObjHandleT doc, ConStringT path) {
    return SaveWith(doc, std::string(qv::View(path)), [](F_PropValsT *p) {
        SetInts(p, {{2, 0}, {6, 1}, {3, 1}, {FS_FileType, FV_SaveFmtXml}, {12, 0}, {5, 2}, {4, 1}});
    });
}

IntT om_PathCheck(ConStringT) { return 1; }
void om_SetAlertPrefix(ConStringT, IntT) {}

void om_PathDocFileName(F_ObjHandleT doc, ConStringT path, StringT *out) { PathPart(doc, path, out, false); }
void om_PathDocFolder(F_ObjHandleT doc, ConStringT path, StringT *out) { PathPart(doc, path, out, true); }
