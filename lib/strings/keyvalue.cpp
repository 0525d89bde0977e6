// Key=value readers over a settings file's lines, and text-to-value conversions.
#include "lib/strings/keyvalue.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/strings/search.h"

namespace {

using qv::View;

std::string_view Separator(ConStringT separator) { return View(separator).empty() ? "=" : View(separator); }

std::string Trimmed(std::string_view s) { return std::string(qv::TrimBlanks(s)); }

// The key and value of one line: the value only when the line splits into exactly two parts.
struct Split {
    std::string key, value;
    bool two = false;
};

Split SplitLine(std::string_view line, ConStringT separator, bool trim) {
    std::vector<std::string> parts = qv::Split(line, Separator(separator));
    Split s;
    if (!parts.empty()) s.key = parts[0];
    if (parts.size() == 2) {
        s.value = parts[1];
        s.two = true;
    }
    if (trim) {
        s.key = Trimmed(s.key);
        s.value = Trimmed(s.value);
    }
    return s;
}

// The value of the key's line, or nothing when the key, or its value, is missing.
std::optional<std::string> Value(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, bool trim) {
    IntT at = om_StringsFindPrefix(lines, key, caseFlag);
    if (at < 0) return std::nullopt;
    Split s = SplitLine(View(lines->val[at]), separator, trim);
    if (!s.two || s.value.empty()) return std::nullopt;
    return s.value;
}

// Holds a number within [min, max]: no bound when both are 0 or max is below min; min when they
// are equal.
template <typename T>
T Bound(T v, T min, T max) {
    if ((min == 0 && max == 0) || max < min) return v;
    if (min == max) return min;
    return v < min ? min : (v > max ? max : v);
}

// The first byte after leading blanks, lowered; 0 for none.
char FirstWordByte(ConStringT text) {
    std::string_view v = View(text);
    size_t b = v.find_first_not_of(' ');
    if (b == std::string_view::npos) return 0;
    char c = v[b];
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

// The choice a word's first byte stands for in a table of (byte, value); the default otherwise.
IntT Choice(ConStringT text, IntT def, std::initializer_list<std::pair<char, IntT>> table) {
    char c = FirstWordByte(text);
    for (const auto &[byte, value] : table)
        if (c && c == byte) return value;
    return def;
}

}  // namespace

IntT om_IniSplitLine(ConStringT line, StringT *key, StringT *value, ConStringT separator, IntT trim) {
    Split s = SplitLine(View(line), separator, trim != 0);
    qv::StoreString(key, s.key);
    qv::StoreString(value, s.two ? s.value : std::string());
    return s.two ? 1 : 0;
}

IntT om_IniGetBool(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def) {
    auto v = Value(lines, key, caseFlag, separator, true);
    return v ? om_StrToBool(v->c_str(), def) : def;
}

IntT om_IniGetInt(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def, IntT min,
                  IntT max) {
    auto v = Value(lines, key, caseFlag, separator, true);
    return Bound(v ? F_StrAlphaToInt(v->c_str()) : def, min, max);
}

RealT om_IniGetReal(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, RealT def, RealT min,
                    RealT max) {
    auto v = Value(lines, key, caseFlag, separator, true);
    RealT read = v ? F_StrToReal(v->c_str()) : def;
    if (std::isnan(read)) read = def;  // "nan" is no number: it can be neither bounded nor used
    return Bound(read, min, max);
}

StringT om_IniGetString(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT trim,
                        ConStringT def) {
    auto v = Value(lines, key, caseFlag, separator, trim != 0);
    return v ? qv::NewHeapString(*v) : om_StrCopy(def);
}

F_StringsT om_IniGetList(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator,
                         ConStringT listSeparator, IntT trim, ConStringT def) {
    std::vector<std::string> out;
    if (!View(listSeparator).empty()) {
        StringT value = om_IniGetString(lines, key, caseFlag, separator, trim, def);
        out = qv::Split(View(value), View(listSeparator));
        om_StrFree(&value);
    } else {
        IntT at = View(key).empty() ? -1 : om_StringsFindFrom(lines, key, 0, caseFlag);
        if (at < 0) {
            if (!View(def).empty()) out.emplace_back(def);
        } else {
            for (UIntT i = static_cast<UIntT>(at) + 1; i < lines->len; ++i) {
                std::string line(View(lines->val[i]));
                if (trim) line = Trimmed(line);
                if (line.empty()) break;
                out.push_back(line);
            }
        }
    }
    if (trim)
        for (std::string &e : out) e = Trimmed(e);
    return qv::NewStrings(out);
}

IntT om_IniGetTriState(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def) {
    auto v = Value(lines, key, caseFlag, separator, true);
    return v ? om_StrToTriState(v->c_str(), def) : def;
}

IntT om_IniGetPromptChoice(const F_StringsT *lines, ConStringT key, IntT caseFlag, ConStringT separator, IntT def) {
    auto v = Value(lines, key, caseFlag, separator, true);
    return v ? om_StrToPromptChoice(v->c_str(), def) : def;
}

StringT om_IniGetShortcut(const F_StringsT *lines, ConStringT key, ConStringT separator, ConStringT def) {
    auto v = Value(lines, key, 0, separator, true);
    std::string s = v ? *v : std::string(View(def));
    std::erase(s, ' ');
    if (!s.empty() && !s.starts_with("\\!") && s[0] != '^' && s[0] != '+' && s[0] != '~') s = "\\!" + s;
    return qv::NewHeapString(s);
}

IntT om_StrToBool(ConStringT text, IntT def) {
    return Choice(text, def, {{'t', 1}, {'y', 1}, {'1', 1}, {'f', 0}, {'n', 0}, {'0', 0}});
}

IntT om_StrToTriState(ConStringT text, IntT def) {
    return Choice(text, def, {{'y', kPromptAlways}, {'a', kPromptAlways}, {'o', kPromptOnce}, {'n', kPromptNever}});
}

IntT om_StrToPromptChoice(ConStringT text, IntT def) {
    return Choice(text, def, {{'y', 1}, {'a', 1}, {'p', 2}, {'n', 3}});
}

IntT om_StrIsTrue(StringT text) {
    if (!text || !*text) return 0;
    text[1] = '\0';
    return (*text == 't' || *text == 'T' || *text == '1') ? 1 : 0;
}

IntT om_StrIsInteger(ConStringT text) {
    std::string t(View(text));
    if (t.find('.') != std::string::npos) return 0;
    if (!t.empty() && t.size() <= 10 && t.find_first_not_of('0') == std::string::npos) return 1;
    if (!t.empty() && t[0] == '-') t.erase(0, 1);
    if (t.empty() || t[0] == '-') return 0;
    t.erase(0, t.find_first_not_of('0') == std::string::npos ? t.size() : t.find_first_not_of('0'));
    return std::to_string(F_StrAlphaToInt(t.c_str())) == t ? 1 : 0;
}

IntT om_IntDigitAt(IntT number, IntT position) {
    if (position <= 0 || number < 0) return -1;
    std::string digits = std::to_string(number);
    if (static_cast<size_t>(position) > digits.size()) return -1;
    return digits[static_cast<size_t>(position) - 1] - '0';
}
