// Quoted literals and bracketed clauses in heap strings: masking the inside of literals,
// replacing from parallel lists outside them, checking that clauses are closed and extracting
// a bracketed clause. Curly quotes count as straight ones of their kind.
#include <string>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/search.h"

namespace {

using qv::View;
constexpr size_t npos = std::string_view::npos;

constexpr int kLiteralLimit = 10000;
constexpr int kClauseStepLimit = 10000;
constexpr int kBracketStepLimit = 100001;

// The quotes of one kind: the straight quote and its two curly forms.
constexpr const char *kSingleQuotes[] = {"'", "\u2018", "\u2019"};
constexpr const char *kDoubleQuotes[] = {"\"", "\u201C", "\u201D"};

struct Quote {
    size_t pos = npos;
    size_t len = 0;
};

// The first quote of a kind at or after from.
Quote FindQuote(std::string_view text, size_t from, const char *const (&kind)[3]) {
    Quote q;
    for (const char *mark : kind) {
        size_t hit = text.find(mark, from);
        if (hit < q.pos) q = {hit, std::string_view(mark).size()};
    }
    return q;
}

}  // namespace

// Masks every byte inside '...' (single-quotes flag) and "..." (double-quotes flag) literals
// with the one-byte mask, keeping the quotes. A literal without a closing quote runs to the end.
void om_XOutLiterals(StringT *p, ConStringT mask, IntT singleQuotes, IntT doubleQuotes) {
    if (!p || View(mask).size() != 1 || (!singleQuotes && !doubleQuotes)) return;
    const char m = mask[0];
    std::string_view text = View(*p);
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    // The next quote of each kind, looked for again only once the scan has passed it.
    Quote s, d;
    bool fresh = true;
    for (int literals = 0;; ++literals) {
        if (singleQuotes && (fresh || (s.pos != npos && s.pos < pos))) s = FindQuote(text, pos, kSingleQuotes);
        if (doubleQuotes && (fresh || (d.pos != npos && d.pos < pos))) d = FindQuote(text, pos, kDoubleQuotes);
        fresh = false;
        bool single = s.pos < d.pos;
        Quote open = single ? s : d;
        if (open.pos == npos) {
            out.append(text.substr(pos));
            break;
        }
        if (literals == kLiteralLimit) {
            F_ApiAlert("Endless loop in om_XOutLiterals()! This is a critical error... Please report it to Orle Meadow.",
                       FF_ALERT_CONTINUE_WARN);
            break;
        }
        size_t inside = open.pos + open.len;
        Quote close = FindQuote(text, inside, single ? kSingleQuotes : kDoubleQuotes);
        size_t end = close.pos == npos ? text.size() : close.pos;
        out.append(text.substr(pos, inside - pos));
        out.append(end - inside, m);
        if (close.pos == npos) break;
        out.append(text.substr(close.pos, close.len));
        pos = close.pos + close.len;
    }
    qv::StoreString(p, out);
}

// Replaces each from[i] by to[i] in turn, only outside quoted literals unless insideLiterals is
// set. Occurrences are found in a masked copy that is edited alongside the text.
IntT om_StrMultiReplaceOutsideLiterals(StringT *p, const F_StringsT *from, const F_StringsT *to, IntT insideLiterals) {
    std::vector<std::string> froms = qv::ReadStrings(from), tos = qv::ReadStrings(to);
    if (froms.size() != tos.size()) return -1;
    if (!p) return 0;
    std::string text(View(*p));
    StringT masked = om_StrCopy(text.c_str());
    if (!insideLiterals) om_XOutLiterals(&masked, "X", 1, 1);
    std::string mask(View(masked));
    om_StrFree(&masked);
    IntT count = 0;
    for (size_t i = 0; i < froms.size(); ++i) {
        const std::string &f = froms[i];
        if (f.empty()) continue;
        std::string newText, newMask;
        size_t pos = 0;
        for (size_t hit = mask.find(f); hit != npos; hit = mask.find(f, hit + f.size())) {
            newText.append(text, pos, hit - pos).append(tos[i]);
            newMask.append(mask, pos, hit - pos).append(tos[i]);
            pos = hit + f.size();
            ++count;
        }
        if (pos == 0) continue;
        newText.append(text, pos, npos);
        newMask.append(mask, pos, npos);
        text.swap(newText);
        mask.swap(newMask);
    }
    qv::StoreString(p, text);
    return count;
}

// -1 when every clause opened by the open token is closed; else the position of the earliest
// clause still open at the end, or of the first close token that has no open one.
IntT om_StrClausesAreTerminated(ConStringT text, ConStringT openToken, ConStringT closeToken) {
    std::string_view t = View(text), open = View(openToken), close = View(closeToken);
    if (t.empty() || open.empty() || close.empty()) return -1;
    const bool toggles = open == close;
    std::vector<size_t> stack;
    long depth = 0;
    size_t unmatched = 0;
    size_t pos = 0;
    // The next open and close tokens, looked for again only once the scan has passed them.
    size_t o = t.find(open), c = t.find(close);
    for (int steps = 0;; ++steps) {
        if (o != npos && o < pos) o = t.find(open, pos);
        if (c != npos && c < pos) c = t.find(close, pos);
        if (o == npos && c == npos) break;
        if (steps == kClauseStepLimit) {
            F_ApiAlert("Orle Meadow plugin error:\n\nEndless loop in om_StrClausesAreTerminated()... "
                       "This is critical error, please contact Orle Meadow",
                       FF_ALERT_CONTINUE_WARN);
            break;
        }
        size_t at;
        if (toggles) {
            at = o;
            if (depth == 0) {
                depth = 1;
                stack.push_back(at);
            } else {
                depth = 0;
                stack.pop_back();
            }
        } else if (c == npos || (o != npos && o < c)) {
            at = o;
            ++depth;
            stack.push_back(at);
        } else {
            at = c;
            --depth;
            if (!stack.empty()) stack.pop_back();
            if (depth < 0) {
                unmatched = at;
                break;
            }
        }
        pos = at + 1;
    }
    if (depth < 0) return static_cast<IntT>(unmatched);
    if (depth == 0) return -1;
    long index = static_cast<long>(stack.size()) - depth;
    return index >= 0 ? static_cast<IntT>(stack[static_cast<size_t>(index)]) : 0;
}

// When the text begins with the open token, out receives what lies between it and its matching
// close token (nesting counted) and 1 is returned; otherwise out is "" and 0 is returned.
IntT om_StrExtractBracketed(ConStringT text, StringT *out, ConStringT openToken, ConStringT closeToken) {
    std::string_view t = View(text);
    if (View(openToken).empty() || View(closeToken).empty() || t.empty() || t[0] != openToken[0]) {
        qv::StoreString(out, "");
        return 0;
    }
    const char open = openToken[0], close = closeToken[0];
    long depth = 1;
    size_t pos = 1;
    size_t o = open == close ? npos : t.find(open, pos), c = t.find(close, pos);
    for (int steps = 0; steps < kBracketStepLimit; ++steps) {
        if (o != npos && o < pos) o = t.find(open, pos);
        if (c != npos && c < pos) c = t.find(close, pos);
        if (o == npos && c == npos) break;
        if (c == npos || o < c) {
            ++depth;
            pos = o + 1;
            continue;
        }
        if (--depth == 0) {
            qv::StoreString(out, t.substr(1, c - 1));
            return 1;
        }
        pos = c + 1;
    }
    qv::StoreString(out, "");
    return 0;
}
