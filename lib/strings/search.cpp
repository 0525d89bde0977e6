// Finding, replacing, splitting, line breaks, word wrap and unique names over heap strings.
// Quoted literals and bracketed clauses are in lib/strings/literals.cpp.
#include "lib/strings/search.h"

#include <unordered_set>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"

namespace {

using qv::View;
constexpr size_t npos = std::string_view::npos;

IntT Pos(size_t p) { return p == npos ? -1 : static_cast<IntT>(p); }

// The steps om_StrRIndexOf takes before it reports an endless loop.
constexpr int kRIndexOfLimit = 10001;

}  // namespace

namespace qv {

size_t IndexOf(std::string_view text, std::string_view part, size_t start, bool exact) {
    if (start > text.size()) return npos;
    if (part.empty()) return start < text.size() ? start : npos;
    if (exact) return text.find(part, start);
    return FoldCase(text).find(FoldCase(part), start);
}

size_t ReplaceAll(std::string &text, std::string_view from, std::string_view to, bool exact) {
    if (from.empty()) return npos;
    std::string folded = exact ? std::string() : FoldCase(text);
    std::string key = exact ? std::string(from) : FoldCase(from);
    std::string_view hay = exact ? std::string_view(text) : std::string_view(folded);
    std::string out;
    size_t first = npos, pos = 0;
    while (pos < text.size()) {
        size_t hit = hay.find(key, pos);
        if (hit == npos) break;
        out.append(text, pos, hit - pos);
        if (first == npos) first = out.size();
        out.append(to);
        pos = hit + key.size();
    }
    if (first == npos) return npos;
    out.append(text, pos, npos);
    text.swap(out);
    return first;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) return {std::string(text)};
    size_t n = 1;  // one allocation for the list however many pieces
    for (size_t at = text.find(separator); at != npos; at = text.find(separator, at + separator.size())) ++n;
    pieces.reserve(n);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t hit = text.find(separator, pos);
        if (hit == npos) {
            pieces.emplace_back(text.substr(pos));
            break;
        }
        pieces.emplace_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
    return pieces;
}

std::vector<std::string> SplitLines(std::string_view bytes, bool cutAtNul) {
    std::vector<std::string> lines;
    std::string line;
    bool cut = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.push_back(std::move(line));
            line.clear();
            cut = false;
        } else if (c == '\0') {
            cut = cutAtNul;
        } else if (!cut) {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

}  // namespace qv

IntT om_StrIndexOf(ConStringT text, ConStringT part, IntT start, IntT caseFlag) {
    return Pos(qv::IndexOf(View(text), View(part), start < 0 ? 0 : static_cast<size_t>(start), caseFlag == 1));
}

IntT om_StrRIndexOf(ConStringT text, ConStringT part, IntT limit, IntT caseFlag) {
    std::string_view t = View(text);
    size_t lim = limit <= 0 ? t.size() : static_cast<size_t>(limit);
    // Fold once: the occurrences are then found by exact search.
    std::string ft = caseFlag == 1 ? std::string(t) : qv::FoldCase(t);
    std::string fp = caseFlag == 1 ? std::string(View(part)) : qv::FoldCase(View(part));
    IntT last = -1;
    int found = 0;
    for (size_t hit = qv::IndexOf(ft, fp, 0, true); hit != npos && hit <= lim; hit = qv::IndexOf(ft, fp, hit + 1, true)) {
        if (++found > kRIndexOfLimit) {
            F_ApiAlert("Endless loop in om_StrRIndexOf! This is a critical error. Please contact Orle Meadow.",
                       FF_ALERT_CONTINUE_WARN);
            return -1;
        }
        last = static_cast<IntT>(hit);
    }
    return last;
}

IntT om_StrBeforeAny(ConStringT text, StringT *out, const F_StringsT *delimiters, IntT caseFlag) {
    std::string_view t = View(text);
    size_t best = npos;
    for (const std::string &d : qv::ReadStrings(delimiters)) {
        if (d.empty()) continue;
        size_t hit = qv::IndexOf(t, d, 0, caseFlag == 1);
        if (hit < best) best = hit;
    }
    qv::StoreString(out, best == npos ? t : t.substr(0, best));
    return Pos(best);
}

F_UIntsT om_StrPositionsOf(ConStringT text, ConStringT part) {
    std::vector<UIntT> positions;
    std::string_view t = View(text), s = View(part);
    if (!s.empty())
        for (size_t hit = t.find(s); hit != npos; hit = t.find(s, hit + s.size()))
            positions.push_back(static_cast<UIntT>(hit));
    return qv::NewUInts(positions);
}

IntT om_StrReplaceAll(StringT *p, ConStringT from, ConStringT to, IntT caseFlag) {
    if (!p || View(from).empty()) return -1;
    std::string text(View(*p));
    size_t first = qv::ReplaceAll(text, View(from), View(to), caseFlag == 1);
    if (first != npos) qv::StoreString(p, text);
    return Pos(first);
}

IntT om_StrReplaceAllFixed(StringT *p, ConStringT from, ConStringT to) {
    if (!p || !*p || !from || !to || !**p || !*from) return -1;
    return om_StrReplaceAll(p, from, to, 1);
}

IntT om_StrReplaceRange(StringT *p, ConStringT text, IntT start, IntT end) {
    if (!p) return 0;
    std::string_view v = View(*p);
    if (start < 0 || end < 0 || end < start || static_cast<size_t>(end) > v.size()) return 0;
    std::string out;
    out.reserve(v.size() + View(text).size());
    out.append(v.substr(0, static_cast<size_t>(start))).append(View(text)).append(v.substr(static_cast<size_t>(end)));
    qv::StoreString(p, out);
    return 1;
}

IntT om_StrUnescape(StringT *p) {
    if (!p) return 0;
    static constexpr std::pair<const char *, const char *> kEscapes[] = {
        {"\\n", "\n"}, {"\\r", "\r"}, {"\\t", "\t"}, {"\\b", "\x08"}, {"\\f", "\x0C"}, {"\\v", "\x0B"}, {"\\0", ""},
    };
    std::string text(View(*p));
    bool changed = false;
    for (const auto &[from, to] : kEscapes)
        if (qv::ReplaceAll(text, from, to, true) != npos) changed = true;
    if (changed) qv::StoreString(p, text);
    return changed ? 1 : 0;
}

void om_StrStraightenQuotes(StringT *p) {
    if (!p) return;
    std::string text(View(*p));
    bool changed = false;
    for (IntT code = 1; code <= 4; ++code) {
        StringT curly = om_StrSpecialChar(code);
        if (qv::ReplaceAll(text, curly, code <= 2 ? "\"" : "'", true) != npos) changed = true;
        om_StrFree(&curly);
    }
    if (changed) qv::StoreString(p, text);
}

// Every line break becomes the replacement: first the CR LF pairs, then the LF CR pairs of
// what is left, then each lone CR or LF. A replacement holding line breaks is not seen again.
void om_StrReplaceLineBreaks(StringT *p, ConStringT replacement) {
    if (!p) return;
    std::string_view t = View(*p);
    // taken[i]: the length of the break starting at i (0 for none), -1 for its second byte.
    std::vector<int> taken(t.size(), 0);
    auto pairPass = [&](char first, char second) {
        for (size_t i = 0; i + 1 < t.size(); ++i)
            if (taken[i] == 0 && taken[i + 1] == 0 && t[i] == first && t[i + 1] == second) {
                taken[i] = 2;
                taken[i + 1] = -1;
                ++i;
            }
    };
    pairPass('\r', '\n');
    pairPass('\n', '\r');
    std::string out;
    for (size_t i = 0; i < t.size(); ++i) {
        if (taken[i] == -1) continue;
        if (taken[i] == 2 || t[i] == '\r' || t[i] == '\n') out.append(View(replacement));
        else out.push_back(t[i]);
    }
    if (out != t) qv::StoreString(p, out);
}

F_StringsT om_StrSplit(ConStringT text, ConStringT separator) {
    return qv::NewStrings(qv::Split(View(text), View(separator)));
}

void om_StrSplitFixed(ConStringT text, ConStringT separator, F_StringsT *out) {
    if (!out) return;
    if (!text || !separator) {
        qv::StoreStrings(out, {});
        return;
    }
    qv::StoreStrings(out, qv::Split(View(text), View(separator)));
}

// The pieces between runs of delimiter bytes; like the C library's tokenizer, the text is cut
// in place after its first piece.
void om_StrTokenize(StringT text, ConStringT delimiters, F_StringsT *out) {
    if (!out) return;
    std::vector<std::string> pieces;
    std::string_view d = View(delimiters);
    size_t firstEnd = npos;
    if (text) {
        std::string_view t(text);
        size_t pos = t.find_first_not_of(d);
        while (pos != npos) {
            size_t end = t.find_first_of(d, pos);
            if (end == npos) end = t.size();
            pieces.emplace_back(t.substr(pos, end - pos));
            if (firstEnd == npos) firstEnd = end;
            pos = t.find_first_not_of(d, end);
        }
        if (firstEnd != npos && firstEnd < t.size()) text[firstEnd] = '\0';
    }
    qv::StoreStrings(out, pieces);
}

F_StringsT om_StrWrapLines(ConStringT text, IntT width) {
    StringT copy = om_StrCopy(text);
    om_StrReplaceLineBreaks(&copy, "\n");
    std::string rest(View(copy));
    om_StrFree(&copy);
    std::vector<std::string> lines;
    if (width <= 0) return qv::NewStrings(qv::Split(rest, "\n"));
    size_t w = static_cast<size_t>(width);
    std::string_view r(rest);
    while (!r.empty()) {
        std::string_view window = r.substr(0, w);
        size_t lf = window.find('\n');
        if (lf != npos) {
            lines.emplace_back(r.substr(0, lf));
            r.remove_prefix(lf + 1);
        } else if (r.size() <= w) {
            lines.emplace_back(r);
            break;
        } else {
            size_t blank = window.rfind(' ');
            if (blank == npos) {
                lines.emplace_back(window);
                r.remove_prefix(w);
            } else {
                lines.emplace_back(r.substr(0, blank));
                r.remove_prefix(blank + 1);
            }
        }
    }
    return qv::NewStrings(lines);
}

// Kind 1 overwrites the name's last characters with A, B, ... Z, AA, AB, ...; kind 2 appends
// 1, 2, 3, ... to the name. The first candidate not in the list replaces the name.
IntT om_StrMakeUnique(StringT *p, const F_StringsT *list, IntT kind, IntT maxTries) {
    if (!p || om_StrIsEmpty(*p)) return 0;
    std::vector<std::string> entries = qv::ReadStrings(list);
    std::unordered_set<std::string> taken(entries.begin(), entries.end());
    std::string name(View(*p));
    if (!taken.count(name)) return 0;
    auto take = [&](const std::string &candidate) {
        if (taken.count(candidate)) return false;
        qv::StoreString(p, candidate);
        return true;
    };
    if (kind == 1) {
        std::vector<size_t> bounds = qv::CharBounds(name);
        size_t chars = bounds.size() - 1;
        std::string seq = "A";
        for (IntT tries = 0; tries < maxTries; ++tries) {
            if (seq.size() > chars) return 0;
            if (take(name.substr(0, bounds[chars - seq.size()]) + seq)) return 1;
            // Next in the odometer over A-Z.
            size_t i = seq.size();
            while (i > 0 && seq[i - 1] == 'Z') seq[--i] = 'A';
            if (i == 0) seq.insert(seq.begin(), 'A');
            else ++seq[i - 1];
        }
    } else if (kind == 2) {
        for (long long n = 1; n <= static_cast<long long>(maxTries) + 1; ++n)
            if (take(name + std::to_string(n))) return 1;
    }
    return 0;
}
