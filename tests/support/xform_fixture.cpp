// Builders and outlines of the transformation tests (see xform_fixture.h).
#include "xform_fixture.h"

#include <map>

#include "lib/globals.h"
#include "lib/state/general_preferences.h"
#include "lib/host/element_walk.h"
#include "client.h"
#include "lib/state/nodewizard.h"
#include "paths.h"
#include "transcript.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);
#include "xpath/xpath.h"

namespace xformtest {

namespace {

// Each user attribute of the vocabulary with the types (codes) that declare it.
struct VocabularyAttr {
    const char *name;
    std::vector<int> types;
};
const VocabularyAttr kVocabularyAttrs[] = {
    {"select", {1, 2, 3, 13, 15, 16, 17, 18, 20}},
    {"test", {4, 6}},
    {"source_file", {1, 2, 3, 4, 6, 13, 16, 17, 18, 19, 20}},
    {"starting_context", {1, 2, 3, 4, 6, 13, 16, 17, 18, 20}},
    {"max_matches", {1, 2, 3}},
    {"qvrn_element", {1, 3, 16, 17, 18, 19, 20}},
    {"xref_action", {3}}, {"marker_action", {3}}, {"variable_action", {3}}, {"equation_action", {3}},
    {"graphic_action", {3}},
    {"element_tag", {8, 9, 10, 11, 12, 13, 14, 16}},
    {"format", {8, 16}}, {"num_columns", {8}}, {"column_widths", {8}}, {"wrap_element", {16}},
    {"attribute", {17}}, {"value", {17, 18}}, {"target_element", {17, 18}},
    {"order", {15}}, {"data-type", {15}}, {"template_ID", {19}}, {"name", {20}},
};
const char *const kHiddenAttrs[] = {"ContextDocId", "ContextNodeId", "ContextAttributeNumber", "SequenceNumber"};

IntT KindOf(const std::string &tag) {
    static const std::map<std::string, IntT> kinds = {
        {"Tbl", FV_FO_TBL},         {"TTitle", FV_FO_TBL_TITLE}, {"THead", FV_FO_TBL_HEADING},
        {"TBody", FV_FO_TBL_BODY},  {"TFoot", FV_FO_TBL_FOOTING}, {"TRow", FV_FO_TBL_ROW},
        {"TCell", FV_FO_TBL_CELL},  {"XRef", FV_FO_XREF},         {"Mark", FV_FO_MARKER},
        {"Note", FV_FO_FOOTNOTE}};
    auto it = kinds.find(tag);
    return it == kinds.end() ? FV_FO_CONTAINER : it->second;
}

IntT XformTypeOf(const std::string &tag) {
    for (IntT t = 1; t <= 20; ++t)
        if (tag == om_XformTypeName(t)) return t;
    return 0;
}

struct Parser {
    F_ObjHandleT doc;
    const std::string &s;
    size_t i = 0;

    void Space() {
        while (i < s.size() && s[i] == ' ') ++i;
    }

    F_ObjHandleT Def(const std::string &tag) {
        if (F_ObjHandleT d = host::FindElementDef(doc, tag)) return d;
        F_ObjHandleT d = host::AddElementDef(doc, tag, KindOf(tag));
        if (IntT type = XformTypeOf(tag)) {
            for (const VocabularyAttr &a : kVocabularyAttrs)
                for (int t : a.types)
                    if (t == type) {
                        host::AttrDef def;
                        def.name = a.name;
                        host::AddAttributeDef(d, def);
                    }
            for (const char *a : kHiddenAttrs) {
                host::AttrDef def;
                def.name = a;
                host::AddAttributeDef(d, def);
            }
        }
        if (tag == "XRef") {
            host::AttrDef ref;
            ref.name = "ref";
            ref.type = FV_AT_UNIQUE_IDREF;
            host::AddAttributeDef(d, ref);
        }
        return d;
    }

    void Declare(F_ObjHandleT def, const std::string &name) {
        host::ElementDef *d = host::Def(def);
        for (const host::AttrDef &a : d->attrs)
            if (a.name == name) return;
        host::AttrDef a;
        a.name = name;
        if (name == "id") a.type = FV_AT_UNIQUE_ID;
        if (name == "ref") a.type = FV_AT_UNIQUE_IDREF;
        host::AddAttributeDef(def, a);
    }

    // One node under parent (0: the flow's highest level).
    F_ObjHandleT Node(F_ObjHandleT parent, F_ObjHandleT flow) {
        Space();
        if (s[i] == '\'') {
            size_t end = s.find('\'', i + 1);
            host::AppendText(doc, parent, s.substr(i + 1, end - i - 1));
            i = end + 1;
            return 0;
        }
        size_t start = i;
        while (i < s.size() && s[i] != '{' && s[i] != '(' && s[i] != ' ' && s[i] != ')') ++i;
        std::string tag = s.substr(start, i - start);
        F_ObjHandleT def = Def(tag);
        F_ObjHandleT e = host::AppendElement(doc, parent, def, parent ? 0 : flow);
        if (i < s.size() && s[i] == '{') {
            ++i;
            while (i < s.size() && s[i] != '}') {
                size_t eq = s.find('=', i);
                std::string name = s.substr(i, eq - i);
                size_t end = s.find_first_of("|}", eq + 1);
                std::string value = s.substr(eq + 1, end - eq - 1);
                Declare(def, name);
                host::SetAttribute(doc, e, name, {value});
                i = s[end] == '|' ? end + 1 : end;
            }
            ++i;
        }
        if (i < s.size() && s[i] == '(') {
            ++i;
            for (Space(); i < s.size() && s[i] != ')'; Space()) Node(e, flow);
            ++i;
        }
        return e;
    }
};

bool Hidden(const std::string &name) {
    return name == "ContextDocId" || name == "ContextNodeId" || name == "ContextAttributeNumber" ||
           name == "SequenceNumber";
}

}  // namespace

F_ObjHandleT Build(F_ObjHandleT doc, const std::string &outline, F_ObjHandleT flow) {
    Parser p{doc, outline};
    return p.Node(0, flow ? flow : host::MainFlow(doc));
}

F_ObjHandleT NewDoc(const std::string &path, const std::string &outline, const std::string &templates) {
    F_ObjHandleT doc = host::NewDocument(path);
    Parser p{doc, outline};
    for (const char *tag : {"Tbl", "TTitle", "THead", "TBody", "TFoot", "TRow", "TCell", "XRef", "Mark", "Note"})
        p.Def(tag);
    Build(doc, outline);
    if (!templates.empty()) Build(doc, templates, host::AddFlow(doc, "QVRN_template"));
    return doc;
}

std::string Outline(F_ObjHandleT e) {
    host::Element *x = host::Elem(e);
    if (!x) return "?";
    std::string s;
    if (!x->def) {
        if (!x->first) return "'" + x->text + "'";
        s = "#" + std::to_string(F_ApiGetInt(0, e, FP_ElementType));
    } else {
        s = host::Def(x->def)->name;
    }
    F_ObjHandleT doc = x->doc;
    std::string attrs;
    F_AttributesT list = F_ApiGetAttributes(doc, e);
    for (UIntT a = 0; a < list.len; ++a) {
        const F_AttributeT &at = list.val[a];
        if (Hidden(at.name) || at.values.len == 0) continue;
        std::string v;
        for (UIntT k = 0; k < at.values.len; ++k) v += (k ? "," : "") + std::string(at.values.val[k]);
        if (v.empty()) continue;
        attrs += (attrs.empty() ? "" : "|") + std::string(at.name) + "=" + v;
    }
    F_ApiDeallocateAttributes(&list);
    if (!attrs.empty()) s += "{" + attrs + "}";
    if (F_ApiGetInt(doc, e, FP_ElementType) == FV_FO_MARKER) {
        StringT t = F_ApiGetString(doc, F_ApiGetId(doc, e, FP_Object), FP_MarkerText);
        s += "<" + std::string(t ? t : "") + ">";
        F_ApiDeallocateString(&t);
    }
    if (!x->first) return s;
    s += "(";
    for (F_ObjHandleT c = x->first; c; c = host::Elem(c)->next) s += (c == x->first ? "" : " ") + Outline(c);
    return s + ")";
}

std::string MainOutline(F_ObjHandleT doc) {
    F_ObjHandleT flow = host::MainFlow(doc);
    return Outline(F_ApiGetId(doc, flow, FP_HighestLevelElement));
}

namespace {
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", [](IntT) {}, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}
}  // namespace

void ResetXform() {
    host::ResetClients();
    host::ResetSession();
    host::ResetUser();
    host::ClearTranscript();
    host::LoadClientInProcess(ClientInit, std::string(QV_SOURCE_DIR) + "/defaults");
    ErrorReportDoc = 0;
    FA_errno = 0;
    StatusCode = 0;
    CancelFlag = 0;
    XformParams = XformParamsT{};
    XformRunState = XformRunStateT{};
    XformOpenedFiles.clear();
    GeneralPreferences = GeneralPreferencesT{};
    XformReportLog.clear();
    ElementWalkStack.clear();
    om_XPathInitEngine(0, 255, 0);
    om_XPathResetNodeTable();
}

std::vector<IntT> ReportedCodes() {
    std::vector<IntT> codes;
    for (const XformReportEntry &e : XformReportLog) codes.push_back(e.code);
    return codes;
}

}  // namespace xformtest
