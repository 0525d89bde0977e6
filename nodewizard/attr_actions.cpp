// The Node Wizard's attribute actions over one element: adding, removing, replacing and deleting
// values, moving text between a value and the element, removing undeclared attributes, moving
// values between two attributes, search and replace inside values, unique IDs, and the
// script-only clipboard, parameter, tokenizing and sorting actions.
#include "nodewizard/attr_actions.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_query.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/search.h"
#include "nodewizard/actions.h"
#include "nodewizard/clipboard.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

namespace {

constexpr int kUniqueIdDraws = 50000;  // draws after the first before Set unique ID gives up
constexpr IntT kTextCut = 255;         // characters of element text an action reads

bool EqualCI(const std::string &a, const std::string &b) { return F_StrICmp(a.c_str(), b.c_str()) == 0; }

// True for "{xpath-match}" in any case; other lengths are told apart without comparing.
bool IsXPathMatchName(const std::string &name) {
    static const size_t length = std::char_traits<char>::length(NW_XPATH_MATCH);
    return name.size() == length && EqualCI(name, NW_XPATH_MATCH);
}

// The values split at blanks (runs of blanks give no empty piece).
std::vector<std::string> SplitBlanks(const std::vector<std::string> &values) {
    std::vector<std::string> out;
    for (const std::string &v : values) {
        size_t i = 0;
        while (i < v.size()) {
            size_t j = v.find(' ', i);
            if (j == std::string::npos) j = v.size();
            if (j > i) out.push_back(v.substr(i, j - i));
            i = j + 1;
        }
    }
    return out;
}

// The values joined with single blanks into one value (no values stay none).
std::vector<std::string> JoinBlanks(const std::vector<std::string> &values) {
    if (values.empty()) return {};
    std::string s;
    for (size_t i = 0; i < values.size(); ++i) s += (i ? " " : "") + values[i];
    return {s};
}

// The element's attribute list, read once per action.
struct AttrList : AttributeEdit {
    AttrList(F_ObjHandleT d, F_ObjHandleT e) : AttributeEdit(d, e) {}
    bool validIndex(IntT i) const { return i >= 0 && static_cast<size_t>(i) < size(); }
    // The attribute a name stands for: the matched one for "{xpath-match}", else the last of that
    // exact name; -1 when there is none.
    IntT find(const std::string &name, IntT matched) const {
        if (IsXPathMatchName(name)) return validIndex(matched) ? matched : -1;
        return lastIndexOf(name);
    }
    std::vector<std::string> values(IntT i, bool split) {
        return split ? SplitBlanks(attrs()[i].values) : attrs()[i].values;
    }
    void store(IntT i, std::vector<std::string> v, bool join) { attrs()[i].values = join ? JoinBlanks(v) : std::move(v); }
};

// 200 or 201 when the document or the element is missing, else 0.
IntT CheckIds(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!doc) return NWResult::NoDocument;
    if (!elem) return NWResult::NoNode;
    return 0;
}

// The first value of the matched attribute, else of its definition's defaults; nothing when
// there is no matched attribute.
std::vector<std::string> MatchedValuesOrDefaults(F_ObjHandleT doc, F_ObjHandleT elem, AttrList &list, IntT i) {
    if (!list.validIndex(i)) return {};
    if (!list.attrs()[i].values.empty()) return list.attrs()[i].values;
    return om_AttrGetValues(doc, elem, "", i, 0, 1);
}

// The unique IDs already given in each (document, flow), kept for one batch of actions so that
// Set unique ID over every element of a flow reads the flow once.
struct UniqueIdIndex {
    std::unordered_map<unsigned long long, std::unordered_set<std::string>> taken;
    UIntT lastAttempted = 0;
};
UniqueIdIndex &Ids() {
    static UniqueIdIndex ids;
    return ids;
}

}  // namespace

namespace {

// Runs edit(list, index, &result, &changed) on each named attribute of the element's list, read
// once and written back once when an edit changed something; a name that matches no attribute
// gives NWResult::AttrNotFound and the next name is taken.
template <class Edit>
NWActionError EditNamedAttributes(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                  IntT attrIndex, Edit edit) {
    if (NWActionError r = CheckIds(doc, elem)) return r;
    AttrList list(doc, elem);
    if (list.size() == 0) return NWResult::NoAttributes;
    bool changed = false;
    NWActionError result = 0;
    for (const std::string &name : names) {
        IntT i = list.find(name, attrIndex);
        if (i < 0) {
            result = NWResult::AttrNotFound;
            continue;
        }
        edit(list, i, &result, &changed);
    }
    if (changed) list.write();
    return result;
}

}  // namespace

NWActionError om_NWAttrAddValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                 const std::vector<std::string> &values, IntT attrIndex) {
    bool tokenized = TokenizedAttrValues != 0;
    return EditNamedAttributes(doc, elem, names, attrIndex, [&](AttrList &list, IntT i, NWActionError *result, bool *changed) {
        std::vector<std::string> vals = list.values(i, tokenized);
        for (const std::string &v : values) {
            if (std::find(vals.begin(), vals.end(), v) != vals.end()) {
                *result = NWResult::ValuePresent;
                continue;
            }
            vals.push_back(v);
            *changed = true;
        }
        list.store(i, std::move(vals), tokenized);
    });
}

NWActionError om_NWAttrRemoveValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                    const std::vector<std::string> &values, IntT attrIndex) {
    bool tokenized = TokenizedAttrValues != 0;
    return EditNamedAttributes(doc, elem, names, attrIndex, [&](AttrList &list, IntT i, NWActionError *result, bool *changed) {
        std::vector<std::string> vals = list.values(i, tokenized);
        for (const std::string &v : values) {
            auto end = std::remove(vals.begin(), vals.end(), v);
            if (end == vals.end()) {
                *result = NWResult::ValueAbsent;
                continue;
            }
            vals.erase(end, vals.end());
            *changed = true;
        }
        list.store(i, std::move(vals), tokenized);
    });
}

NWActionError om_NWAttrReplaceValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                     const std::vector<std::string> &values, IntT attrIndex) {
    return EditNamedAttributes(doc, elem, names, attrIndex, [&](AttrList &list, IntT i, NWActionError *, bool *changed) {
        if (TokenizedAttrValues != 0)
            list.store(i, values, true);
        else
            list.setValues(static_cast<size_t>(i), values);
        *changed = true;
    });
}

NWActionError om_NWAttrDeleteValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                    IntT attrIndex) {
    return EditNamedAttributes(doc, elem, names, attrIndex, [&](AttrList &list, IntT i, NWActionError *, bool *changed) {
        if (list.attrs()[i].values.empty()) return;
        list.attrs()[i].values.clear();
        *changed = true;
    });
}

NWActionError om_NWAttrValueTextTransfer(F_ObjHandleT doc, F_ObjHandleT elem, std::vector<std::string> names,
                                         NWAttrAction action, IntT attrIndex) {
    if (NWActionError r = CheckIds(doc, elem)) return r;
    AttrList list(doc, elem);
    if (list.size() == 0) return NWResult::NoAttributes;
    bool copyEmpty = NodeWizardPrompts.copyEmptyString != 0;
    bool toValue = action == NWAttr::MoveTextToValue || action == NWAttr::CopyTextToValue;
    NWActionError result = 0;
    for (const std::string &name : names) {
        std::string text;
        if (toValue) {
            // Moving deletes the text, so it takes all of it; copying keeps the usual cut.
            text = om_ElementText(doc, elem, 0, action == NWAttr::MoveTextToValue ? 0 : kTextCut, 0, 0);
            if (text.empty() && !copyEmpty) continue;
        }
        IntT i = list.find(name, attrIndex);
        if (i < 0) {
            result = NWResult::AttrNotFound;
            continue;
        }
        std::vector<std::string> &vals = list.attrs()[i].values;
        if (!toValue && vals.empty() && !copyEmpty) continue;
        if (action != NWAttr::CopyTextToValue) om_ElementClearContent(doc, elem);
        if (toValue) {
            if (vals.empty()) {
                if (!text.empty()) vals.push_back(text);
            } else {
                vals[0] = text;
            }
        } else if (!vals.empty()) {
            om_ElementInsertText(doc, elem, vals[0], LocContentEnd);
            if (action == NWAttr::MoveValueToText) vals.erase(vals.begin());
        } else {
            om_ElementClearContent(doc, elem);
        }
    }
    list.write();
    return result;
}

NWActionError om_NWAttrRemoveInvalid(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex) {
    return om_NWAttrRemoveInvalidNamed(doc, elem, ActionAttrNames, attrIndex, om_NWCompiledSequence());
}

NWActionError om_NWAttrRemoveInvalidNamed(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                          IntT attrIndex, IntT sequence) {
    if (NWActionError r = CheckIds(doc, elem)) return r;
    NWActionError result = 0, removals = 0;
    bool matched = AttrList(doc, elem).validIndex(attrIndex);
    for (const std::string &name : names) {
        AttrList list(doc, elem);  // earlier removals shift the list
        if (name == NW_XPATH_MATCH) {
            if (!matched || !list.validIndex(attrIndex)) {
                result = NWResult::NoMatchedAttr;
                continue;
            }
            if (om_AttrIsDeclared(doc, elem, "", attrIndex)) {
                result = NWResult::AttrDeclared;
                continue;
            }
            FA_errno = 0;
            F_ApiDeleteInvalidAttribute(doc, list.attrs()[attrIndex].name.c_str(), 0, elem);
            if (!FA_errno) ++removals;
            continue;
        }
        IntT i = list.find(name, -1);
        if (i < 0) {
            result = NWResult::AttrNotFound;
            continue;
        }
        if (om_AttrIsDeclared(doc, elem, "", i)) {
            result = NWResult::AttrDeclared;
            continue;
        }
        FA_errno = 0;
        F_ApiDeleteInvalidAttribute(doc, name.c_str(), 0, elem);
        if (!FA_errno && matched && i <= attrIndex) ++removals;
    }
    IntT last = om_XPathIsCompiledSequence(sequence) ? om_XPathLastStep(sequence) : 0;
    if (matched && removals > 0 && last > 0) {
        IntT &cursor = om_XPathRec(last).attrIndex;
        cursor -= removals;
        if (cursor < -1) cursor = 1000;
    }
    return result;
}

NWActionError om_NWAttrSearchReplace(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, const std::string &search,
                                     const std::string &replace) {
    if (!doc || !elem || search.empty()) return 0;
    AttrList list(doc, elem);
    if (!list.validIndex(attrIndex)) return 0;
    bool changed = false;
    for (std::string &v : list.attrs()[attrIndex].values)
        if (v.size() >= search.size() && qv::ReplaceAll(v, search, replace, true) != std::string::npos) changed = true;
    if (changed) list.write();
    return 0;
}

NWActionError om_NWAttrCopyToClipboard(F_ObjHandleT doc, F_ObjHandleT elem, IntT attrIndex, IntT firstOnly,
                                       F_ObjHandleT scriptsDoc) {
    if (!scriptsDoc) return 0;
    F_ObjHandleT pad = om_NWFindScratchPad(scriptsDoc);
    if (!pad) {
        om_NWScratchPadMissing("NWS_GEN_MSG_100");
        return NWResult::ClipboardFailed;
    }
    AttrList list(doc, elem);
    if (!doc || !elem || !list.validIndex(attrIndex)) {
        ClipboardValues.clear();
        return NWResult::ClipboardFailed;
    }
    om_ElementClearContent(scriptsDoc, pad);
    ClipboardValues = MatchedValuesOrDefaults(doc, elem, list, attrIndex);
    if (firstOnly && !ClipboardValues.empty()) {
        std::string first = ClipboardValues[0].substr(0, ClipboardValues[0].find(' '));
        ClipboardValues.assign(1, first);
    }
    if (ClipboardValues.empty()) {
        ClipboardEmpty = 1;
        return 0;
    }
    ClipboardEmpty = 0;
    ClipboardReload = 0;
    std::string text;
    for (size_t i = 0; i < ClipboardValues.size(); ++i) text += (i ? " " : "") + ClipboardValues[i];
    om_ElementInsertText(scriptsDoc, pad, text, LocContentEnd);
    om_ElementSelect(scriptsDoc, pad, LocContent);
    F_ApiCopy(scriptsDoc, 0);
    return 0;
}

NWActionError om_NWAttrPasteClipboard(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &name, IntT attrIndex,
                                      IntT mode, F_ObjHandleT scriptsDoc) {
    if (!scriptsDoc || ClipboardEmpty) return 0;
    AttrList list(doc, elem);
    if (!name.empty()) attrIndex = list.find(name, attrIndex);
    if (!doc || !elem || !list.validIndex(attrIndex)) return NWResult::PasteFailed;
    if (ClipboardReload) {
        ClipboardReload = 0;
        if (!om_NWLoadClipboardText(scriptsDoc) || ClipboardEmpty) return 0;
    }
    std::vector<std::string> vals;
    if (mode == 3) {
        vals = ClipboardValues;
    } else {
        vals = MatchedValuesOrDefaults(doc, elem, list, attrIndex);
        std::string clip = ClipboardValues.empty() ? std::string() : ClipboardValues[0];
        if (vals.empty())
            vals = ClipboardValues;
        else
            vals[0] = mode == 1 ? clip + vals[0] : vals[0] + clip;
    }
    om_AttrSetValues(doc, elem, "", attrIndex, vals, 0);
    return 0;
}

void om_NWAttrForgetUniqueIds() { Ids().taken.clear(); }

NWActionError om_NWAttrSetUniqueId(F_ObjHandleT doc, F_ObjHandleT elem) {
    if (!doc || !elem) return NWResult::NoUniqueId;
    IntT u = om_AttrIndexByType(doc, elem, FV_AT_UNIQUE_ID);
    std::string current;
    if (u < 0 || (om_AttrGetValueAt(doc, elem, u, &current), !current.empty())) return NWResult::NoUniqueId;
    // The IDs of the element's flow, gathered once per batch: a batch starts when the attempted
    // actions counter goes back.
    UniqueIdIndex &ids = Ids();
    if (AttemptedActions < ids.lastAttempted) ids.taken.clear();
    ids.lastAttempted = AttemptedActions;
    F_ObjHandleT flow = om_DocFlowOfObject(doc, elem);
    unsigned long long key = (static_cast<unsigned long long>(doc) << 32) | flow;
    auto it = ids.taken.find(key);
    if (it == ids.taken.end()) {
        std::unordered_set<std::string> set;
        for (std::string &v : om_AttrValuesOfFlow(doc, "", flow, kUniqueIdPseudoName, nullptr, 0))
            set.insert(std::move(v));
        it = ids.taken.emplace(key, std::move(set)).first;
    }
    std::unordered_set<std::string> &taken = it->second;
    std::string candidate = om_StrRandomLetters(0, 0);
    for (int i = 0; i < kUniqueIdDraws && taken.count(candidate); ++i) candidate = om_StrRandomLetters(0, 0);
    if (taken.count(candidate)) return NWResult::NoUniqueId;
    if (om_AttrSetValueAt(doc, elem, u, candidate) < 0) return NWResult::NoUniqueId;
    taken.insert(candidate);
    return 0;
}

NWActionError om_NWAttrTokenize(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                IntT attrIndex, IntT detokenize) {
    if (NWActionError r = CheckIds(doc, elem)) return r;
    NWActionError result = 0;
    for (const std::string &name : names) {
        AttrList list(doc, elem);
        IntT i = list.find(name, attrIndex);
        if (i < 0) {
            result = NWResult::AttrNotFound;
            continue;
        }
        std::vector<std::string> vals = list.values(i, false);
        om_AttrSetValues(doc, elem, "", i, detokenize ? SplitBlanks(vals) : JoinBlanks(vals), 0);
    }
    return result;
}

namespace {

// The sort options of a Sort values action element: direction 1 ascending or 2 descending, kind
// 10 alphabetic, 11 alphabetic ignoring case, 12 numeric.
void ReadSortOptions(F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem, int *direction, int *kind) {
    *direction = 1;
    *kind = 10;
    F_ObjHandleT options = actionElem;
    if (EqualCI(om_ElementTag(scriptsDoc, actionElem, 0), "Sort_values")) {
        for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, actionElem, FP_FirstChildElement); c;
             c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement))
            if (EqualCI(om_ElementTag(scriptsDoc, c, 0), "Value_sort_options")) {
                options = c;
                break;
            }
    }
    for (F_ObjHandleT c = F_ApiGetId(scriptsDoc, options, FP_FirstChildElement); c;
         c = F_ApiGetId(scriptsDoc, c, FP_NextSiblingElement)) {
        std::string tag = om_ElementTag(scriptsDoc, c, 0);
        if (EqualCI(tag, "Sort_ascending")) *direction = 1;
        if (EqualCI(tag, "Sort_descending")) *direction = 2;
        if (EqualCI(tag, "Sort_alphabetic")) *kind = 10;
        if (EqualCI(tag, "Sort_alphabetic_ci")) *kind = 11;
        if (EqualCI(tag, "Sort_numeric")) *kind = 12;
    }
}

}  // namespace

NWActionError om_NWAttrSortValues(F_ObjHandleT doc, F_ObjHandleT elem, const std::vector<std::string> &names,
                                  IntT attrIndex, F_ObjHandleT scriptsDoc, F_ObjHandleT actionElem) {
    if (NWActionError r = CheckIds(doc, elem)) return r;
    if (!scriptsDoc || !actionElem) return 0;
    int direction = 1, kind = 10;
    ReadSortOptions(scriptsDoc, actionElem, &direction, &kind);
    bool tokenized = TokenizedAttrValues != 0;
    for (const std::string &name : names) {
        AttrList list(doc, elem);
        IntT i = list.find(name, attrIndex);
        if (i < 0) continue;
        std::vector<std::string> vals = list.values(i, tokenized);
        auto less = [kind](const std::string &a, const std::string &b) {
            if (kind == 12) return std::atof(a.c_str()) < std::atof(b.c_str());
            if (kind == 11) return F_StrICmp(a.c_str(), b.c_str()) < 0;
            return a < b;
        };
        // Equal values keep their order either way, as a bubble sort leaves them.
        auto more = [&less](const std::string &a, const std::string &b) { return less(b, a); };
        if (direction == 2)
            std::stable_sort(vals.begin(), vals.end(), more);
        else
            std::stable_sort(vals.begin(), vals.end(), less);
        list.store(i, std::move(vals), tokenized);
        list.write();
    }
    return 0;
}

namespace {
// The unique ids taken per flow; kept for one batch of actions, dropped when the next batch
// starts.
[[maybe_unused]] const bool resetUniqueIdIndex = om_RunStateRegister("unique id index", RunStateKind::Run, [] {
    Ids() = UniqueIdIndex{};
});
}  // namespace
