// Lists of strings: making, growing, searching, editing, sorting, joining and dumping them.
// Each operation reads the record into a vector, works there, and writes a new record back
// only when it changes something; membership tests use a hash index beside the list.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/strings/search.h"

namespace {

using qv::View;
using Texts = std::vector<std::string>;

// The text as compared under the case flag: itself, or folded.
std::string Key(std::string_view s, IntT caseFlag) { return caseFlag == 1 ? std::string(s) : qv::FoldCase(s); }

bool Same(const std::string &a, ConStringT b, IntT caseFlag) {
    return caseFlag == 1 ? F_StrCmp(a.c_str(), b ? b : "") == 0 : F_StrICmp(a.c_str(), b ? b : "") == 0;
}

IntT Length(const F_StringsT *list) { return (list && list->val) ? static_cast<IntT>(list->len) : 0; }

// Index of the first entry at or after start that satisfies the test, -1.
template <typename Test>
IntT FindIf(const F_StringsT *list, IntT start, Test test) {
    for (IntT i = std::max<IntT>(start, 0); i < Length(list); ++i)
        if (test(View(list->val[i]))) return i;
    return -1;
}

// Removes the entries the test picks (all, or the first only); nothing when none is picked.
template <typename Test>
void RemoveIf(F_StringsT *list, bool firstOnly, Test test) {
    Texts entries = qv::ReadStrings(list), kept;
    bool removed = false;
    for (std::string &e : entries) {
        if ((!removed || !firstOnly) && test(e)) {
            removed = true;
            continue;
        }
        kept.push_back(std::move(e));
    }
    if (removed) qv::StoreStrings(list, kept);
}

std::string DumpText(const Texts &entries) {
    std::string text = "STRINGS:\n\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 50) {
            text += "More than 50 items (" + std::to_string(entries.size()) + "). Stopping here.";
            break;
        }
        text += std::to_string(i) + " ->" + entries[i] + "<- (" + std::to_string(entries[i].size()) + ")\n";
    }
    return text;
}

}  // namespace

void om_StringsInit(F_StringsT *list, IntT n, IntT freeFlag) {
    if (!list) return;
    if (freeFlag == 1) F_ApiDeallocateStrings(list);
    UIntT count = n > 0 ? static_cast<UIntT>(n) : 0;
    list->val = static_cast<StringT *>(F_Alloc(count * sizeof(StringT), NO_DSE));
    std::fill(list->val, list->val + count, nullptr);
    list->len = count;
}

void om_StringsFree(F_StringsT *list) { F_ApiDeallocateStrings(list); }

StringT om_StringsAppend(F_StringsT *list, ConStringT text) {
    if (!list) return nullptr;
    if (list->len == 0 || !list->val) {
        F_Free(list->val);
        list->val = static_cast<StringT *>(F_Alloc(sizeof(StringT), NO_DSE));
        list->len = 0;
    } else {
        list->val = static_cast<StringT *>(F_Realloc(list->val, (list->len + 1) * sizeof(StringT), NO_DSE));
    }
    list->val[list->len] = om_StrCopy(text);
    return list->val[list->len++];
}

void om_StringsPrepend(F_StringsT *list, ConStringT text) { om_StringsInsertAt(list, text, 0, 1, 1); }

void om_StringsInsertAt(F_StringsT *list, ConStringT text, IntT position, IntT allowDuplicates, IntT caseFlag) {
    if (!list) return;
    Texts entries = qv::ReadStrings(list);
    size_t at = static_cast<size_t>(std::clamp<IntT>(position, 0, static_cast<IntT>(entries.size())));
    std::string t(View(text));
    if (!allowDuplicates) {
        Texts kept;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i == at) kept.push_back(t);
            if (!Same(entries[i], t.c_str(), caseFlag)) kept.push_back(entries[i]);
        }
        if (at >= entries.size()) kept.push_back(t);
        entries.swap(kept);
    } else {
        entries.insert(entries.begin() + static_cast<long>(at), t);
    }
    qv::StoreStrings(list, entries);
}

IntT om_StringsFind(const F_StringsT *list, ConStringT text, IntT caseFlag) {
    return om_StringsFindFrom(list, text, 0, caseFlag);
}

IntT om_StringsFindFrom(const F_StringsT *list, ConStringT text, IntT start, IntT caseFlag) {
    std::string key = Key(View(text), caseFlag);
    return FindIf(list, start, [&](std::string_view e) { return Key(e, caseFlag) == key; });
}

IntT om_StringsFindPrefix(const F_StringsT *list, ConStringT text, IntT caseFlag) {
    return FindIf(list, 0, [&](std::string_view e) { return om_StrStartsWith(std::string(e).c_str(), text, caseFlag) == 1; });
}

IntT om_StringsFindNumber(const F_StringsT *list, RealT number) {
    return FindIf(list, 0, [&](std::string_view e) { return F_StrToReal(std::string(e).c_str()) == number; });
}

F_UIntsT om_StringsPositionsOf(const F_StringsT *list, ConStringT text, IntT start, IntT caseFlag) {
    std::vector<UIntT> hits;
    std::string key = Key(View(text), caseFlag);
    for (IntT i = std::max<IntT>(start, 0); i < Length(list); ++i)
        if (Key(View(list->val[i]), caseFlag) == key) hits.push_back(static_cast<UIntT>(i));
    return qv::NewUInts(hits);
}

IntT om_StringsIndexesOf(const F_StringsT *list, ConStringT text, F_UIntsT *out) {
    std::vector<UIntT> hits;
    if (list && list->val && text)
        for (UIntT i = 0; i < list->len; ++i)
            if (View(list->val[i]) == text) hits.push_back(i);
    qv::StoreUInts(out, hits);
    return static_cast<IntT>(hits.size());
}

IntT om_StringsFirstDuplicate(const F_StringsT *list, IntT caseFlag) {
    std::unordered_map<std::string, int> counts;
    Texts entries = qv::ReadStrings(list);
    for (const std::string &e : entries) ++counts[Key(e, caseFlag)];
    for (size_t i = 0; i < entries.size(); ++i)
        if (counts[Key(entries[i], caseFlag)] > 1) return static_cast<IntT>(i);
    return -1;
}

IntT om_StringsEqual(const F_StringsT *a, const F_StringsT *b, IntT caseFlag) {
    if (Length(a) != Length(b)) return 0;
    for (IntT i = 0; i < Length(a); ++i)
        if (!Same(std::string(View(a->val[i])), b->val[i], caseFlag)) return 0;
    return 1;
}

void om_StringsRemoveAt(F_StringsT *list, IntT index) {
    if (index < 0 || index >= Length(list)) return;
    Texts entries = qv::ReadStrings(list);
    entries.erase(entries.begin() + index);
    qv::StoreStrings(list, entries);
}

void om_StringsRemoveValue(F_StringsT *list, ConStringT text, IntT firstOnly, IntT caseFlag) {
    std::string key = Key(View(text), caseFlag);
    RemoveIf(list, firstOnly == 1, [&](const std::string &e) { return Key(e, caseFlag) == key; });
}

void om_StringsRemove(F_StringsT *list, IntT index, ConStringT text, IntT firstOnly, IntT caseFlag) {
    if (index == -1) om_StringsRemoveValue(list, text, firstOnly, caseFlag);
    else om_StringsRemoveAt(list, index);
}

void om_StringsRemoveBlank(F_StringsT *list, IntT blanks) {
    RemoveIf(list, false, [&](const std::string &e) { return e.empty() || (blanks && om_StrIsBlank(e.c_str())); });
}

void om_StringsRemoveStartingWith(F_StringsT *list, ConStringT text, IntT caseFlag) {
    RemoveIf(list, false, [&](const std::string &e) { return om_StrStartsWith(e.c_str(), text, caseFlag) == 1; });
}

void om_StringsDedupe(F_StringsT *list, IntT caseFlag) {
    std::unordered_set<std::string> seen;
    RemoveIf(list, false, [&](const std::string &e) { return !seen.insert(Key(e, caseFlag)).second; });
}

void om_StringsFilterIntegers(F_StringsT *list, IntT low, IntT high, IntT keepZero, IntT keepDuplicates) {
    if (!list) return;
    Texts kept;
    std::unordered_set<IntT> seen;
    for (const std::string &e : qv::ReadStrings(list)) {
        IntT v = F_StrAlphaToInt(e.c_str());
        if (low != 0 && high != 0 && (v < low || v > high)) continue;
        if (v == 0 && !keepZero) continue;
        if (!seen.insert(v).second && !keepDuplicates) continue;
        kept.push_back(std::to_string(v));
    }
    if (list->val || !kept.empty()) qv::StoreStrings(list, kept);
}

IntT om_StringsAppendAll(F_StringsT *target, const F_StringsT *source, IntT allowDuplicates, IntT allowEmpty) {
    if (!target || !source || !target->val || !source->val) return 0;
    Texts entries = qv::ReadStrings(target);
    std::unordered_set<std::string> present(entries.begin(), entries.end());
    for (const std::string &e : qv::ReadStrings(source)) {
        if (e.empty() && !allowEmpty) continue;
        if (!allowDuplicates && !present.insert(e).second) continue;
        entries.push_back(e);
    }
    qv::StoreStrings(target, entries);
    return static_cast<IntT>(source->len);
}

StringT om_StringsJoin(const F_StringsT *list, ConStringT separator) {
    std::string out;
    for (IntT i = 0; i < Length(list); ++i) {
        if (i) out += View(separator);
        out += View(list->val[i]);
    }
    return qv::NewHeapString(out);
}

StringT om_StringsJoinPrefixed(const F_StringsT *list, ConStringT prefix, IntT lastIndex, IntT keepEmpty) {
    std::string out;
    IntT end = Length(list);
    if (lastIndex > 0) end = std::min(end, lastIndex + 2);
    for (IntT i = 0; i < end; ++i) {
        std::string_view e = View(list->val[i]);
        if (e.empty() && !keepEmpty) continue;
        if (i) out += '\n';
        out.append(View(prefix)).append(e);
    }
    return qv::NewHeapString(out);
}

void om_StringsCollapse(F_StringsT *list, ConStringT separator) {
    IntT n = Length(list);
    if (n < 1 || n > 100000) return;
    StringT joined = om_StringsJoin(list, View(separator).empty() ? " " : separator);
    qv::StoreStrings(list, {std::string(joined)});
    om_StrFree(&joined);
}

void om_StringsSort(F_StringsT *list, IntT caseFlag, IntT descending) {
    if (Length(list) < 2) return;
    Texts entries = qv::ReadStrings(list);
    std::stable_sort(entries.begin(), entries.end(), [&](const std::string &a, const std::string &b) {
        return (caseFlag == 1 ? F_StrCmp(a.c_str(), b.c_str()) : F_StrICmp(a.c_str(), b.c_str())) < 0;
    });
    if (descending) std::reverse(entries.begin(), entries.end());
    qv::StoreStrings(list, entries);
}

void om_StringsSortNumeric(F_StringsT *list, IntT descending) {
    if (Length(list) < 2) return;
    std::vector<std::pair<RealT, std::string>> keyed;
    for (std::string &e : qv::ReadStrings(list)) keyed.emplace_back(F_StrToReal(e.c_str()), std::move(e));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    if (descending) std::reverse(keyed.begin(), keyed.end());
    Texts entries;
    for (auto &k : keyed) entries.push_back(std::move(k.second));
    qv::StoreStrings(list, entries);
}

void om_StringsSwap(F_StringsT *list, IntT i, IntT j) {
    if (i < 0 || j < 0 || i >= Length(list) || j >= Length(list)) return;
    std::swap(list->val[i], list->val[j]);
}

IntT om_StringsTrim(F_StringsT *list) {
    for (IntT i = 0; i < Length(list); ++i) {
        if (!list->val[i]) list->val[i] = om_StrCopy("");
        om_StrTrim(&list->val[i]);
    }
    return Length(list);
}

void om_StringsReplaceAll(F_StringsT *list, ConStringT from, ConStringT to, IntT caseFlag) {
    for (IntT i = 0; i < Length(list); ++i) {
        if (!list->val[i]) list->val[i] = om_StrCopy("");
        om_StrReplaceAll(&list->val[i], from, to, caseFlag);
    }
}

IntT om_StringsStraightenQuotes(F_StringsT *list) {
    for (IntT i = 0; i < Length(list); ++i) om_StrStraightenQuotes(&list->val[i]);
    return Length(list);
}

void om_StringsSplitWords(F_StringsT *list) {
    if (!list || !list->val) return;
    Texts words;
    for (const std::string &e : qv::ReadStrings(list))
        for (std::string &w : qv::Split(e, " ")) words.push_back(std::move(w));
    qv::StoreStrings(list, words);
}

void om_StringsDump(const F_StringsT *list, IntT alert, IntT console) {
    Texts entries = qv::ReadStrings(list);
    if (alert) F_ApiAlert(DumpText(entries).c_str(), FF_ALERT_CONTINUE_WARN);
    if (console) {
        F_Printf(nullptr, "%s", "\n\n___________________________\nSTRINGS:\n\n");
        for (size_t i = 0; i < entries.size(); ++i)
            F_Printf(nullptr, "%u ->%s<- (%d)\n", static_cast<unsigned>(i), entries[i].c_str(), static_cast<int>(entries[i].size()));
        F_Printf(nullptr, "%s", "\n___________________________");
    }
}

F_StringsT om_UIntsToStrings(const F_UIntsT *list) {
    Texts out;
    for (UIntT v : qv::ReadUInts(list)) out.push_back(std::to_string(static_cast<IntT>(v)));
    return qv::NewStrings(out);
}

StringT om_TextItemsConcat(const F_TextItemsT *items, IntT skipFirst, IntT skipLast) {
    std::string out;
    UIntT n = (items && items->val) ? items->len : 0;
    for (UIntT i = 0; i < n; ++i) {
        if ((i == 0 && skipFirst) || (i + 1 == n && skipLast)) continue;
        if (items->val[i].dataType == FTI_String) out += View(items->val[i].sdata);
    }
    return qv::NewHeapString(out);
}

IntT om_StringsFromItemStrings(const F_TextItemsT *items, F_StringsT *out) {
    Texts texts;
    if (items && items->val)
        for (UIntT i = 0; i < items->len; ++i)
            if (items->val[i].sdata) texts.emplace_back(items->val[i].sdata);
    qv::StoreStrings(out, texts);
    return 1;
}
