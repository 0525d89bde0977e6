// The stylesheet vocabulary: the twenty QVRN_ element types, the classifier, the readers of the
// single-keyword attributes, and parameter names inside texts.
#include <cctype>
#include <cstdlib>
#include <unordered_map>
#include <optional>

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/strings/heapstr.h"
#include "transform/xform.h"
#include "transform/xform_internal.h"
#include "lib/run_state.h"

namespace {

const char *const kTypeNames[] = {"",
                                  "QVRN_copy-of",
                                  "QVRN_for-each",
                                  "QVRN_value-of",
                                  "QVRN_if",
                                  "QVRN_choose",
                                  "QVRN_when",
                                  "QVRN_otherwise",
                                  "QVRN_table",
                                  "QVRN_tabletitle",
                                  "QVRN_tableheading",
                                  "QVRN_tablebody",
                                  "QVRN_tablefooting",
                                  "QVRN_tablerow",
                                  "QVRN_tablecell",
                                  "QVRN_sort",
                                  "QVRN_create-xref",
                                  "QVRN_set-attribute",
                                  "QVRN_set-marker",
                                  "QVRN_template",
                                  "QVRN_param"};

bool IsEmptyValue(const std::string &v) { return v.empty() || v == ErrorSentinel || v == EmptySentinel; }

bool Keyword(F_ObjHandleT doc, F_ObjHandleT elem, const char *name, const char *keyword) {
    std::string v;
    if (om_AttrGetValue(doc, elem, name, &v) < 0) return false;
    return v == keyword;
}

IntT ObjectAction(const XformAttrs &a, const char *name, bool text) {
    const std::string &v = a.Raw(name);
    if (IsEmptyValue(v) || v == "Preserve") return 1;
    if (text && v == "ConvertToText") return 2;
    return 3;
}

bool NameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' ||
           (static_cast<unsigned char>(c) & 0x80);
}

}  // namespace

const char *om_XformTypeName(IntT type) { return type >= 1 && type <= 20 ? kTypeNames[type] : ""; }

IntT om_XformTypeOfName(std::string_view name) {
    if (name.empty() || name[0] != 'Q') return XT_None;
    for (IntT t = 1; t <= 20; ++t)
        if (name == kTypeNames[t]) return t;
    return XT_None;
}

namespace {
bool gKeepTypes = false;
std::unordered_map<F_ObjHandleT, IntT> gTypes;
}  // namespace

void XformKeepTypes(int on) {
    gKeepTypes = on != 0;
    gTypes.clear();
}

IntT om_XformElementType(F_ObjHandleT doc, F_ObjHandleT elem) {
    StatusCode = 0;
    if (!doc) return StatusCode = StatusNoDocument, 0;
    if (!elem) return StatusCode = StatusNoObject, 0;
    F_ObjHandleT def = F_ApiGetId(doc, elem, FP_ElementDef);
    if (!def) return 0;
    if (gKeepTypes) {
        auto it = gTypes.find(def);
        if (it != gTypes.end()) return it->second;
    }
    StringT name = F_ApiGetString(doc, def, FP_Name);
    IntT type = name ? om_XformTypeOfName(name) : 0;
    F_ApiDeallocateString(&name);
    if (gKeepTypes) gTypes.emplace(def, type);
    return type;
}

std::string XformAttr(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name) {
    std::string v;
    if (om_AttrGetValue(doc, elem, name, &v) < 0 || IsEmptyValue(v)) return "";
    return v;
}

IntT XformAttrInt(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name) {
    std::string v = XformAttr(doc, elem, name);
    return v.empty() ? 0 : static_cast<IntT>(std::strtol(v.c_str(), nullptr, 10));
}

IntT om_XformElementDisposition(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "qvrn_element", "Preserve") ? XD_Keep : XD_Remove;
}
IntT om_XformStartingContext(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "starting_context", "QVRN_element") ? XS_Element : XS_Inherit;
}
IntT om_XformContextDocIsLocal(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "ContextDocIsLocal", "True") ? 1 : 0;
}
IntT om_XformTargetElement(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "target_element", "Preceding-sibling") ? XTE_PrecedingSibling : XTE_Parent;
}
IntT om_XformSortOrder(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "order", "Descending") ? XSO_Descending : XSO_Ascending;
}
IntT om_XformSortDataType(F_ObjHandleT doc, F_ObjHandleT elem) {
    return Keyword(doc, elem, "data-type", "Numeric") ? XSD_Numeric : XSD_Text;
}

void om_XformReadValueOfActions(F_ObjHandleT doc, F_ObjHandleT elem) {
    XformValueOfActionsT &a = XformRunState.valueOf;
    std::optional<XformAttrs> own;
    const XformAttrs *cached = XformCachedAttrs(doc, elem);
    const XformAttrs &attrs = cached ? *cached : own.emplace(doc, elem);
    a.xref = ObjectAction(attrs, "xref_action", true);
    a.marker = ObjectAction(attrs, "marker_action", true);
    a.variable = ObjectAction(attrs, "variable_action", true);
    a.equation = ObjectAction(attrs, "equation_action", false);
    a.graphic = ObjectAction(attrs, "graphic_action", false);
}

IntT om_XformGetContextDocId(F_ObjHandleT doc, F_ObjHandleT elem) {
    std::string v;
    if (om_AttrGetValue(doc, elem, "ContextDocId", &v) < 0) return 0;
    return static_cast<IntT>(std::strtoul(v.c_str(), nullptr, 10));
}

std::vector<std::string> om_XformColumnWidths(F_ObjHandleT doc, F_ObjHandleT table) {
    std::vector<std::string> all = om_AttrGetValues(doc, table, "column_widths", -1, 0, 0);
    std::vector<std::string> widths;
    if (all.size() == 12) {
        widths = all;
    } else if (!all.empty()) {
        std::string first = all.front(), part;
        for (char c : first) {
            if (c == ';') {
                widths.push_back(part);
                part.clear();
            } else if (c != ' ') {
                part += c;
            }
        }
        if (!part.empty()) widths.push_back(part);
    }
    const std::string one(1, '1');
    for (auto &w : widths)
        if (w.empty()) w = one;
    widths.resize(12, one);
    return widths;
}

bool XformSortedPlaces::Less::operator()(const std::string &a, const std::string &b) const {
    int r = XformCompareKeys(a, b, dataType);
    return order == XSO_Descending ? r > 0 : r < 0;
}

// ---- parameters in texts -------------------------------------------------------------------------

std::string XformSubstituteParams(const std::string &text, int quote, int insideLiterals) {
    const auto &names = XformParams.names;
    const auto &values = XformParams.values;
    std::string out;
    char literal = 0;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (!insideLiterals) {
            if (literal) {
                if (c == literal) literal = 0;
                out += c;
                ++i;
                continue;
            }
            if (c == '\'' || c == '"') {
                literal = c;
                out += c;
                ++i;
                continue;
            }
        }
        if (c == '$') {
            // The longest name that stands whole here.
            size_t best = std::string::npos, bestLen = 0;
            for (size_t n = 0; n < names.size() && n < values.size(); ++n) {
                const std::string &name = names[n];
                if (name.size() <= bestLen || text.compare(i, name.size(), name) != 0) continue;
                size_t after = i + name.size();
                if (after < text.size() && NameChar(text[after])) continue;
                best = n;
                bestLen = name.size();
            }
            if (best != std::string::npos) {
                if (quote) out += '"';
                out += values[best];
                if (quote) out += '"';
                i += bestLen;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

int XformHasDollar(const std::string &text, int insideLiterals) {
    char literal = 0;
    for (char c : text) {
        if (!insideLiterals) {
            if (literal) {
                if (c == literal) literal = 0;
                continue;
            }
            if (c == '\'' || c == '"') {
                literal = c;
                continue;
            }
        }
        if (c == '$') return 1;
    }
    return 0;
}

int XformCompareKeys(const std::string &a, const std::string &b, IntT dataType) {
    if (dataType == XSD_Numeric) {
        IntT x = F_StrAlphaToInt(a.c_str()), y = F_StrAlphaToInt(b.c_str());
        return x > y ? 1 : x == y ? 0 : -1;
    }
    IntT c = F_StrCmp(a.c_str(), b.c_str());
    return c > 0 ? 1 : c == 0 ? 0 : -1;
}

std::string XformStraightenQuotes(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xE2 &&
            static_cast<unsigned char>(text[i + 1]) == 0x80) {
            unsigned char c = static_cast<unsigned char>(text[i + 2]);
            if (c == 0x98 || c == 0x99) {
                out += '\'';
                i += 2;
                continue;
            }
            if (c == 0x9C || c == 0x9D) {
                out += '"';
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<F_ObjHandleT> XformChildren(F_ObjHandleT doc, F_ObjHandleT elem) {
    std::vector<F_ObjHandleT> kids;
    for (F_ObjHandleT c = F_ApiGetId(doc, elem, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        kids.push_back(c);
    return kids;
}

namespace {
// Element types by definition, kept while a transformation runs.
[[maybe_unused]] const bool resetStylesheetElementTypes =
    om_RunStateRegister("stylesheet element types", RunStateKind::Run, [] {
        gKeepTypes = false;
        gTypes.clear();
    });
}  // namespace
