// Context of a stylesheet element's query: the document or book it runs over (named by
// source_file or inherited through the hidden context attributes), the node it starts from, the
// source documents the run opens, and the compiled expression of the element.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "lib/host/attributes.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_walk.h"
#include "lib/host/paths.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "xpath/node_table.h"
#include "xpath/xpath.h"

namespace {

std::string HostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string r = s ? s : "";
    F_ApiDeallocateString(&s);
    return r;
}

// The source_file text with parameters substituted and "\" separators.
std::string SourceFileText(const XformAttrs &a) {
    std::string v = a.Get("source_file");
    if (GeneralPreferences.xformRecognizeParamsInPaths && !v.empty())
        v = XformSubstituteParams(v, 0, GeneralPreferences.xformRecognizeParamsInLiterals);
    std::replace(v.begin(), v.end(), '/', '\\');
    return v;
}

F_ObjHandleT OpenOrFind(const std::string &path) {
    F_ObjHandleT f = om_DocFindOpen(path, 0, 1);
    if (f) return f;
    f = om_DocOpenPlain(path.c_str());
    if (f) om_XformRememberOpenedFile(f);
    return f;
}

}  // namespace

void om_XformRememberOpenedFile(F_ObjHandleT id) {
    if (id && std::find(XformOpenedFiles.begin(), XformOpenedFiles.end(), id) == XformOpenedFiles.end())
        XformOpenedFiles.push_back(id);
}

namespace {

F_ObjHandleT OpenSourceFile(F_ObjHandleT doc, const XformAttrs &attrs) {
    StatusCode = 0;
    std::string v = SourceFileText(attrs);
    if (v == "Current") return doc;
    if (v.empty() || v == "Inherit") return 0;
    std::string path = v;
    if (v.find(':') == std::string::npos) {
        StringT abs = nullptr;
        om_PathMakeAbsolute(v.c_str(), doc, "", &abs, 1);
        if (abs && *abs) path = abs;
        om_StrFree(&abs);
    }
    F_ObjHandleT f = OpenOrFind(path);
    if (!f) return StatusCode = XformErr::SourceNotOpened, 0;
    om_XformUpdateProgress(0, f, 1);
    if (F_OBJ_KIND(f) == FO_Book) {
        for (F_ObjHandleT comp : BookDocComponents(f)) {
            om_PollUserCancel();
            if (StatusCode == StatusCancelled) return 0;
            F_ObjHandleT d = om_BookComponentFindDoc(f, comp);
            if (!d) d = OpenOrFind(HostString(f, comp, FP_Name));
            if (!d) return StatusCode = XformErr::ChapterNotOpened, f;
            om_XformUpdateProgress(0, d, 1);
        }
    }
    return f;
}

F_ObjHandleT ContextNode(F_ObjHandleT elem, const XformAttrs &a) {
    if (a.Raw("source_file") == "Current" && a.Raw("starting_context") == "QVRN_element") return elem;
    bool has = false;
    std::string v = a.Raw("ContextNodeId", &has);
    return has ? static_cast<F_ObjHandleT>(std::strtoul(v.c_str(), nullptr, 10)) : 0;
}

// m: the element's context node (ContextNode), k: its inherited context document.
F_ObjHandleT ContextDocument(F_ObjHandleT doc, F_ObjHandleT elem, IntT seq, const XformAttrs &a, F_ObjHandleT m,
                             F_ObjHandleT k) {
    F_ObjHandleT f = OpenSourceFile(doc, a);
    if (StatusCode) return 0;
    if (!f && !k) return StatusCode = XformErr::NoContextDocument, 0;
    if (seq && f && f != k && m != elem && om_XPathFirstStepAxis(seq) != XA_ROOT) StatusCode = XformErr::FreshDocNeedsRoot;
    F_ObjHandleT r = f ? f : k;
    if (!r && !StatusCode) StatusCode = XformErr::Critical;
    return r;
}

F_ObjHandleT InheritedDocument(const XformAttrs &a) {
    return static_cast<F_ObjHandleT>(std::strtoul(a.Raw("ContextDocId").c_str(), nullptr, 10));
}

IntT SequenceNumber(F_ObjHandleT doc, F_ObjHandleT elem, const XformAttrs &a) {
    StatusCode = 0;
    IntT n = a.Int("SequenceNumber");
    if (n < 1) n = om_XformParseSelectOrTest(doc, elem, 1);
    if (StatusCode) return 0;
    if (n > 0 && !om_XPathIsCompiledSequence(n)) return StatusCode = XformErr::Critical, 0;
    return n;
}

}  // namespace

F_ObjHandleT om_XformOpenSourceFile(F_ObjHandleT doc, F_ObjHandleT elem) {
    return OpenSourceFile(doc, XformAttrs(doc, elem));
}

F_ObjHandleT om_XformContextNode(F_ObjHandleT doc, F_ObjHandleT elem, IntT /*seq*/) {
    return ContextNode(elem, XformAttrs(doc, elem));
}

F_ObjHandleT om_XformContextDocument(F_ObjHandleT doc, F_ObjHandleT elem, IntT seq) {
    XformAttrs a(doc, elem);
    return ContextDocument(doc, elem, seq, a, ContextNode(elem, a), InheritedDocument(a));
}

void om_XformSetContextAttrs(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT ctxDoc, F_ObjHandleT ctxNode,
                             IntT attr, IntT recompile) {
    ElementWalkSaved saved;
    ElementWalkState.lastMove = WalkDown;
    ElementWalkState.enabled = 1;
    const std::string d = std::to_string(ctxDoc), n = std::to_string(ctxNode), a = std::to_string(attr);
    F_ObjHandleT x = om_ElementNextInDocOrder(doc, elem);
    while (x && x != elem) {
        IntT type = ElementWalkState.lastMove != WalkUp ? om_XformElementType(doc, x) : 0;
        if (type != 0) {
            XformWriteContext(doc, x, d, n, a, nullptr);
            StatusCode = 0;
            // Only stylesheet elements are compiled: ordinary content may carry any text.
            if (recompile) {
                IntT seq = XformParseExpression(XformAttrs(doc, x), type, 0);
                if (StatusCode) return;
                om_AttrSetValue(doc, x, "SequenceNumber", std::to_string(seq));
                XformForgetWritten(x);
                StatusCode = 0;
            }
        }
        x = om_ElementNextInDocOrder(doc, x);
    }
}

IntT om_XformSequenceNumber(F_ObjHandleT doc, F_ObjHandleT elem) {
    return SequenceNumber(doc, elem, XformAttrs(doc, elem));
}

std::vector<F_ObjHandleT> XformQuery::Documents() const {
    std::vector<F_ObjHandleT> docs;
    if (!ctxDoc) return docs;
    if (F_OBJ_KIND(ctxDoc) != FO_Book) {
        docs.push_back(ctxDoc);
        return docs;
    }
    for (F_ObjHandleT comp : BookDocComponents(ctxDoc))
        if (F_ObjHandleT d = om_BookComponentFindDoc(ctxDoc, comp)) docs.push_back(d);
    return docs;
}

int XformBeginQuery(F_ObjHandleT doc, F_ObjHandleT elem, XformQuery &q) {
    q = XformQuery{};
    std::optional<XformAttrs> own;
    const XformAttrs *cached = XformCachedAttrs(doc, elem);
    const XformAttrs &attrs = cached ? *cached : own.emplace(doc, elem);
    q.seq = SequenceNumber(doc, elem, attrs);
    if (!q.seq) {
        if (!StatusCode) StatusCode = XformErr::BadExpression;
        return 0;
    }
    om_XPathResetSequence(q.seq, 1);
    F_ObjHandleT inherited = InheritedDocument(attrs);
    q.ctxNode = ContextNode(elem, attrs);
    q.ctxDoc = ContextDocument(doc, elem, q.seq, attrs, q.ctxNode, inherited);
    if (StatusCode) return 0;
    q.self = om_XPathRec(q.seq).sourceText == ".";
    // A named source other than the inherited document is queried from its own top: an inherited
    // node belongs to another document.
    if (q.ctxNode != elem && q.ctxDoc != inherited) q.ctxNode = 0;
    return 1;
}

std::vector<XformMatch> XformMatchesIn(const XformQuery &q, F_ObjHandleT qdoc, IntT maxWanted, F_ObjHandleT skipDoc,
                                       const std::vector<F_ObjHandleT> &skipInside) {
    std::vector<XformMatch> out;
    F_ObjHandleT start = q.ctxNode;
    // A start node of another document (a book's other component) is not a place to start from.
    if (start && F_ApiGetObjectType(qdoc, start) != FO_Element) start = 0;
    auto inside = [&](F_ObjHandleT node) {
        if (qdoc != skipDoc || skipInside.empty()) return false;
        for (F_ObjHandleT e = node; e; e = F_ApiGetId(qdoc, e, FP_ParentElement))
            if (std::find(skipInside.begin(), skipInside.end(), e) != skipInside.end()) return true;
        return false;
    };
    // "." from a node matches that node alone: the run is not needed.
    if (q.self && start) {
        if (!inside(start)) out.push_back(XformMatch{start, -1, qdoc});
        return out;
    }
    om_XPathResetSequence(q.seq, 1);
    om_XPathRunMatches(qdoc, q.seq, start, 0, [&](F_ObjHandleT node, IntT attr, F_ObjHandleT mdoc) {
        if (inside(node)) return true;
        out.push_back(XformMatch{node, attr, mdoc ? mdoc : qdoc});
        return maxWanted <= 0 || static_cast<IntT>(out.size()) < maxWanted;
    });
    return out;
}

std::string XformExpressionText(const XformAttrs &attrs, int *has) {
    bool hasTest = false, hasSelect = false;
    const std::string &test = attrs.Raw("test", &hasTest);
    const std::string &select = attrs.Raw("select", &hasSelect);
    if (has) *has = (hasTest || hasSelect) ? 1 : 0;
    if (hasTest && test != ErrorSentinel && !test.empty()) return test;
    if (hasSelect && select != ErrorSentinel) return select;
    return "";
}

IntT XformParseExpression(const XformAttrs &attrs, IntT type, IntT allowParams) {
    ElementWalkPushed saved;
    StatusCode = 0;
    int has = 0;
    std::string text = XformExpressionText(attrs, &has);
    if (!has) return 0;
    text = XformStraightenQuotes(text);
    if (type == XT_Param && text.size() >= 1 && text.front() == '\'' && text.back() == '\'') return 0;
    StatusCode = 0;
    if (GeneralPreferences.xformRecognizeParamsInExpressions &&
        XformHasDollar(text, GeneralPreferences.xformRecognizeParamsInLiterals)) {
        if (!allowParams) return 0;
        text = XformSubstituteParams(text, 0, GeneralPreferences.xformRecognizeParamsInLiterals);
        if (XformHasDollar(text, GeneralPreferences.xformRecognizeParamsInLiterals)) return StatusCode = XformErr::UnresolvedParameters, 0;
    }
    if (text.empty()) return StatusCode = XformErr::NoSelect, 0;
    IntT n = om_XPathFindCompiled(text);
    if (n < 1) n = om_XPathCompile(text, XformRunState.reportErrors);
    if (n > XPathLastSequenceNumber) StatusCode = XformErr::BadExpression;
    return n;
}

IntT om_XformParseSelectOrTest(F_ObjHandleT doc, F_ObjHandleT elem, IntT allowParams) {
    return XformParseExpression(XformAttrs(doc, elem), om_XformElementType(doc, elem), allowParams);
}
