// Host document utilities (see docutils.h).
//
// Settings merge (om_SettingsMergeInstall): both settings documents are opened invisibly. Only the
// old one: it is kept. Only the new one: it is saved under the old path, its file deleted, and the
// user welcomed to a new installation. Both: the user is welcomed to the new version and told of
// the merge, the new document's element definitions and formats are imported into the old one,
// the new document is closed and its file deleted, and the old one saved.
#include "lib/host/docutils.h"

#include <algorithm>

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/host/paths.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"
#include "lib/run_state.h"

std::vector<std::string> SettingsDocValues;

namespace {
// The values the last settings-document read gave.
[[maybe_unused]] const bool resetSettingsDocumentValues =
    om_RunStateRegister("settings document values", RunStateKind::Run, [] {
        SettingsDocValues.clear();
    });
}  // namespace

namespace {

constexpr int kStepLimit = 10000000;
const char *const kXRefMarker = "thesecorina";

F_ObjHandleT SettingsElement(F_ObjHandleT doc, const std::string &tag, const std::string &attr) {
    return doc ? om_ElementFindByAttr(doc, 0, tag, attr, "*", "Main") : 0;
}

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

std::string XmlEscape(const std::string &s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The XMP fields by their English labels: the element written and how.
struct XmpField {
    const char *label;
    const char *element;
    enum { Plain, Alt, Seq } form;
};
const XmpField kXmpFields[] = {
    {"Keywords", "pdf:Keywords", XmpField::Plain},   {"Job Ticket", "xapBJ:JobRef", XmpField::Plain},
    {"Copyright URL", "xapRights:WebStatement", XmpField::Plain}, {"Author", "dc:creator", XmpField::Seq},
    {"Title", "dc:title", XmpField::Alt},            {"Description", "dc:description", XmpField::Alt},
    {"Copyright", "dc:rights", XmpField::Alt},
};

F_ObjHandleT OpenHidden(const std::string &path) { return om_DocOpen(path.c_str(), 0, 0, 1, 1, 1, 1); }

void Welcome(const std::string &product, const std::string &version, bool upgraded) {
    std::string text = upgraded ? "Welcome to " + product + " " + version +
                                      ". Your installation has been upgraded. Please tell us of any problem you find "
                                      "with the software."
                                : "Welcome to " + product + " " + version +
                                      ", newly installed. Please tell us of any problem you find with the software.";
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
}

}  // namespace

IntT om_SettingsDocRead(F_ObjHandleT docId, const std::string &tag, const std::string &attr, std::string *text,
                        IntT kind) {
    F_ObjHandleT e = SettingsElement(docId, tag, attr);
    if (!e) {
        if (kind == 3 && text) *text = ErrorSentinel;
        return 0;
    }
    std::string value;
    om_AttrGetValue(docId, e, attr, &value);
    switch (kind) {
    case 1: return value == "True" ? 1 : 0;
    case 2: return F_StrAlphaToInt(value.c_str());
    case 3:
        if (text) *text = value.empty() ? ErrorSentinel : value;
        return 1;
    case 4: return value == "Never" ? 3 : value == "Once" ? 2 : 1;
    case 5: SettingsDocValues = om_AttrGetValues(docId, e, attr, -1, 0, 0); return static_cast<IntT>(SettingsDocValues.size());
    default: return 0;
    }
}

void om_SettingsDocWrite(F_ObjHandleT docId, const std::string &tag, const std::string &attr, IntT value,
                         const std::string &text, IntT kind) {
    F_ObjHandleT e = SettingsElement(docId, tag, attr);
    if (!e) return;
    switch (kind) {
    case 1: om_AttrSetValue(docId, e, attr, value == 1 ? "True" : "False"); break;
    case 2: om_AttrSetValue(docId, e, attr, std::to_string(value)); break;
    case 3: om_AttrSetValue(docId, e, attr, text); break;
    case 4: om_AttrSetValue(docId, e, attr, value == 0 ? "Never" : value == 2 ? "Once" : "Always"); break;
    case 5: om_AttrSetValues(docId, e, attr, -1, SettingsDocValues, 0); break;
    default: break;
    }
}

IntT om_TableRowPositionOfType(F_ObjHandleT docId, F_ObjHandleT rowId, IntT rowType) {
    F_ObjHandleT table = docId && rowId ? F_ApiGetId(docId, rowId, FP_RowTbl) : 0;
    if (!table) return 0;
    IntT position = 0;
    int steps = 0;
    for (F_ObjHandleT r = F_ApiGetId(docId, table, FP_FirstRowInTbl); r && steps < kStepLimit;
         r = F_ApiGetId(docId, r, FP_NextRowInTbl), ++steps) {
        if (rowType != -1 && F_ApiGetInt(docId, r, FP_RowType) != rowType) continue;
        ++position;
        if (r == rowId) return position;
    }
    return 0;
}

IntT om_PollCancelAsk(IntT ask) {
    if (F_ApiUserCancel() != 1) return 0;
    if (ask != 1) return 1;
    FA_errno = 0;
    IntT answer = F_ApiAlert("Are you sure you want to cancel this operation?", FF_ALERT_YES_DEFAULT);
    return FA_errno == 0 && answer == 0 ? 1 : 0;
}

IntT om_GraphicPageKind(F_ObjHandleT docId, F_ObjHandleT objId) {
    F_ObjHandleT at = objId;
    IntT kind = F_OBJ_KIND(at);
    for (int steps = 0; at && steps < 1000; ++steps) {
        kind = F_OBJ_KIND(at);
        if (kind >= FO_BodyPage && kind <= FO_OtherPage) return kind;
        F_ObjHandleT up = F_ApiGetId(docId, at, FP_FrameParent);
        if (!up) up = F_ApiGetId(docId, at, FP_PageFramePage);
        at = up;
    }
    return kind;
}

IntT om_DocColorNames(F_ObjHandleT docId, IntT objType, F_StringsT *out) {
    if (!docId) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!docId || objType != FO_Color || !out) return -1;
    std::vector<std::string> names;
    int steps = 0;
    for (F_ObjHandleT c = F_ApiGetId(0, docId, FP_FirstColorInDoc); c && steps < kStepLimit;
         c = F_ApiGetId(docId, c, FP_NextColorInDoc), ++steps)
        names.push_back(HostGetString(docId, c, FP_Name));
    out->len = static_cast<UIntT>(names.size());
    out->val = static_cast<StringT *>(F_Alloc(static_cast<UIntT>(names.size() * sizeof(StringT)), NO_DSE));
    for (size_t i = 0; i < names.size(); ++i) out->val[i] = F_StrCopyString(names[i].c_str());
    return static_cast<IntT>(names.size());
}

void om_GraphicsSelect(F_ObjHandleT docId, const F_UIntsT *ids) {
    if (!docId || !ids || !ids->val) return;
    for (UIntT i = 0; i < ids->len; ++i) F_ApiSetInt(docId, ids->val[i], FP_GraphicIsSelectedAlt, 1);
}

F_UIntsT om_GraphicsDeselectAll(F_ObjHandleT docId) {
    std::vector<UIntT> ids;
    if (docId) {
        F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDocAlt);
        for (int steps = 0; g && steps < kStepLimit; ++steps) {
            F_ObjHandleT next = F_ApiGetId(docId, g, FP_NextSelectedGraphicInDocAlt);  // read before the deselection
            if (F_ApiGetInt(docId, g, FP_GraphicIsSelectedAlt) == 1) {
                F_ApiSetInt(docId, g, FP_GraphicIsSelectedAlt, 0);
                ids.push_back(g);
            }
            g = next;
        }
    }
    F_UIntsT out;
    out.len = static_cast<UIntT>(ids.size());
    out.val = static_cast<UIntT *>(F_Alloc(static_cast<UIntT>(ids.size() * sizeof(UIntT)), NO_DSE));
    std::copy(ids.begin(), ids.end(), out.val);
    return out;
}

void om_WindowShift(F_ObjHandleT objId, IntT delta, IntT shrink) {
    for (IntT p : {FP_ScreenX, FP_ScreenY, FP_ScreenW}) F_ApiSetInt(0, objId, p, F_ApiGetInt(0, objId, p) + delta);
    if (shrink == 1) F_ApiSetInt(0, objId, FP_ScreenH, F_ApiGetInt(0, objId, FP_ScreenH) - delta);
}

void om_PgfReapplyFormat(F_ObjHandleT docId, F_ObjHandleT pgfId, IntT start, IntT end) {
    if (!docId || !pgfId) return;
    F_TextRangeT range{{pgfId, start}, {pgfId, end < 0 ? FV_OBJ_END_OFFSET : end}};
    F_PropValT tag{};
    tag.propIdent = FP_CharTag;
    tag.propVal.valType = FT_String;
    tag.propVal.sval = const_cast<StringT>("");
    F_ApiSetTextPropVal(docId, &range, &tag);
    std::string name = HostGetString(docId, pgfId, FP_Name);
    F_ObjHandleT fmt = F_ApiGetNamedObject(docId, FO_PgfFmt, name.c_str());
    if (!fmt) return;
    F_PropValsT props = F_ApiGetProps(docId, fmt);
    F_ApiSetProps(docId, pgfId, &props);
    F_ApiDeallocatePropVals(&props);
}

IntT om_PgfSetProperty722(F_ObjHandleT docId, F_ObjHandleT elemId) {
    if (!docId || !elemId) return 0;
    F_TextRangeT r = F_ApiGetTextRange(docId, elemId, FP_TextRange);
    if (!r.beg.objId || F_ApiGetInt(docId, r.beg.objId, FP_PgfFlag) != 0) return 0;
    F_ApiSetInt(docId, r.beg.objId, FP_PgfFlag, 1);
    return 1;
}

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

IntT om_CondShowHide(F_ObjHandleT docId, const std::vector<std::string> &names, IntT mode) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    F_ApiSetInt(0, docId, FP_ShowAll, 0);
    for (const std::string &n : names)
        if (F_ObjHandleT c = F_ApiGetNamedObject(docId, FO_CondFmt, n.c_str()))
            F_ApiSetInt(docId, c, FP_CondFmtIsShown, mode == 1 ? 1 : 0);
    return 1;
}

std::string XmpPacket(const std::string &field, const std::string &value) {
    const XmpField *f = nullptr;
    for (const XmpField &x : kXmpFields)
        if (qv::FoldCase(x.label) == qv::FoldCase(field)) f = &x;
    static const XmpField kFallback{"Description", "dc:description", XmpField::Alt};
    std::string v = XmlEscape(value);
    if (!f) {
        f = &kFallback;
        v.clear();
    }
    std::string body;
    std::string el = f->element;
    if (f->form == XmpField::Alt)
        body = "<" + el + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + v + "</rdf:li></rdf:Alt></" + el + ">";
    else if (f->form == XmpField::Seq)
        body = "<" + el + "><rdf:Seq><rdf:li>" + v + "</rdf:li></rdf:Seq></" + el + ">";
    else
        body = "<" + el + ">" + v + "</" + el + ">";
    if (el == "xapRights:WebStatement") body += "<xapRights:Marked>False</xapRights:Marked>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xapmeta xmlns:x=\"urn:xmp:meta/\">\n"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:pdf=\"urn:xmp:pdf/1.3/\" xmlns:xapBJ=\"urn:xmp:xap/1.0/bj/\" "
           "xmlns:xapRights=\"urn:xmp:xap/1.0/rights/\">\n" +
           body + "\n</rdf:Description>\n</rdf:RDF>\n</x:xapmeta>\n<?xpacket end=\"w\"?>";
}

void om_DocSetXmpField(F_ObjHandleT docId, const std::string &field, const std::string &value) {
    if (!docId) return;
    F_ApiSetString(0, docId, FP_XmpPacket, XmpPacket(field, value).c_str());
}

IntT om_BookUpdate(F_ObjHandleT bookId, const IntT values[7]) {
    if (!bookId || !values) return 0;
    static const IntT kNumbers[7] = {7, 12, 8, 9, 10, 11, 4};
    F_PropValsT params = F_ApiGetUpdateBookDefaultParams();
    for (int i = 0; i < 7; ++i) {
        IntT at = F_ApiGetPropIndex(&params, kNumbers[i]);
        if (at >= 0) params.val[at].propVal.ival = values[i];
    }
    F_PropValsT *returned = nullptr;
    F_ApiUpdateBook(bookId, &params, &returned);
    F_ApiDeallocatePropVals(&params);
    return 1;
}

F_ObjHandleT om_SettingsMergeInstall(const std::string &oldPath, const std::string &newPath,
                                     const std::string &productName, const std::string &version) {
    F_ObjHandleT oldDoc = OpenHidden(oldPath);
    F_ObjHandleT newDoc = OpenHidden(newPath);
    if (!oldDoc && !newDoc) return 0;
    if (!newDoc) return oldDoc;
    if (!oldDoc) {
        F_ObjHandleT saved = om_DocSave(newDoc, oldPath.c_str(), FV_SaveFmtBinary, 0, 0, 0);
        Welcome(productName, version, false);
        om_FileCloseAndDelete(0, newPath.c_str());
        return saved;
    }
    Welcome(productName, version, true);
    std::string merge = productName + " has detected that you have or have had the software installed before. " +
                        productName + " will now attempt to merge your previous settings with the new version.";
    F_ApiAlert(merge.c_str(), FF_ALERT_CONTINUE_WARN);
    F_ApiSimpleImportElementDefs(oldDoc, newDoc, FF_ImportElemDefs);
    F_ApiSimpleImportFormats(oldDoc, newDoc, FF_ImportFormatsAll);
    F_ApiAlert("The merge appears to have completed successfully. Please contact Orle Meadow if you notice anything "
               "unusual.",
               FF_ALERT_CONTINUE_WARN);
    F_ApiClose(newDoc, 1);
    om_FileCloseAndDelete(0, newPath.c_str());
    return om_DocSave(oldDoc, oldPath.c_str(), FV_SaveFmtBinary, 0, 0, 0);
}
