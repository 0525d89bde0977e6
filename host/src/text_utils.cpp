// The host's string utilities: comparison with the host's case folding, UTF-8 checks and
// character-boundary cuts, number parsing that ignores the C locale, formatting to a buffer or
// to the host console, the text-encoding start-up calls and the metric conversions.
//
// Case folding: ASCII capitals and the accented capitals of the Latin-1 range (U+00C0 to U+00DE
// but U+00D7) become their small letters; every other character compares as itself. Folding
// keeps the byte length of a text, so a folded window is the fold of the window.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fdk.h"
#include "transcript.h"

namespace {

// Length of the valid UTF-8 sequence at s (at most n bytes there), or 0 when none starts there.
// Overlong forms, surrogates and values past U+10FFFF are not valid.
int Utf8SequenceLength(const unsigned char *s, size_t n, char32_t *cp) {
    if (n == 0) return 0;
    unsigned char b = s[0];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    int len;
    char32_t v, min;
    if ((b & 0xE0) == 0xC0) {
        len = 2, v = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, v = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, v = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n < static_cast<size_t>(len)) return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        v = (v << 6) | (s[i] & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *cp = v;
    return len;
}

// The host's case folding of one character.
char32_t FoldChar(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    return c;
}

// Next comparison unit of a text: a folded character of a valid sequence, or a lone byte
// (placed above every character so that it never equals one).
char32_t NextUnit(const unsigned char *&s, const unsigned char *end) {
    char32_t cp = 0;
    int len = Utf8SequenceLength(s, static_cast<size_t>(end - s), &cp);
    if (len == 0) {
        cp = 0x110000 + *s;
        len = 1;
    }
    s += len;
    return FoldChar(cp);
}

IntT Sign(long long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Encodings the host knows, by the id F_FontEncId hands out.
struct Encoding {
    const char *name;
    IntT id;
};
constexpr Encoding kEncodings[] = {
    {"FrameRoman", 0},   {"JISX0208.ShiftJIS", 1}, {"BIG5", 2},
    {"GB2312-80.EUC", 3}, {"KSC5601-1992", 4},      {"UTF-8", 5},
};
constexpr IntT kUtf8EncodingId = 5;

bool &UnicodeMode() {
    static bool on = false;
    return on;
}

std::string VFormat(ConStringT format, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, ap);
    return std::string(buf.data(), static_cast<size_t>(n));
}

}  // namespace

extern "C" {

// Byte order of two texts (NULL as ""): below, at or above 0.
IntT F_StrCmp(ConStringT a, ConStringT b) {
    return Sign(std::strcmp(a ? a : "", b ? b : ""));
}

// Order of two texts after the host's case folding (NULL as "").
IntT F_StrICmp(ConStringT a, ConStringT b) {
    if (!a) a = "";
    if (!b) b = "";
    auto *pa = reinterpret_cast<const unsigned char *>(a);
    auto *pb = reinterpret_cast<const unsigned char *>(b);
    const unsigned char *ea = pa + std::strlen(a);
    const unsigned char *eb = pb + std::strlen(b);
    while (pa < ea && pb < eb) {
        char32_t ua = NextUnit(pa, ea);
        char32_t ub = NextUnit(pb, eb);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (pa < ea) return 1;
    if (pb < eb) return -1;
    return 0;
}

// 1 when the whole text is valid UTF-8 (NULL and "" are).
BoolT F_StrIsValidUTF8(ConStringT s) {
    if (!s) return 1;
    auto *p = reinterpret_cast<const unsigned char *>(s);
    size_t n = std::strlen(s);
    for (size_t i = 0; i < n;) {
        char32_t cp;
        int len = Utf8SequenceLength(p + i, n - i, &cp);
        if (len == 0) return 0;
        i += static_cast<size_t>(len);
    }
    return 1;
}

// The id of a named text encoding; -1 (and FA_errno) for a name the host does not know.
IntT F_FontEncId(ConStringT encodingName) {
    if (encodingName)
        for (const Encoding &e : kEncodings)
            if (std::strcmp(e.name, encodingName) == 0) return e.id;
    FA_errno = FE_BadParameter;
    return -1;
}

// Cuts the text in place to at most nbytes bytes. In UTF-8 the cut never splits a character:
// it falls back to the start of the character that would be split.
void F_StrTruncEnc(StringT s, IntT nbytes, IntT encodingId) {
    if (!s) return;
    size_t len = std::strlen(s);
    size_t n = nbytes < 0 ? 0 : static_cast<size_t>(nbytes);
    if (n >= len) return;
    if (encodingId == kUtf8EncodingId)
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    s[n] = '\0';
}

// Leading blanks, an optional sign and decimal digits; the rest is ignored. 0 when there are
// no digits; values beyond the 32-bit range are held at its ends.
IntT F_StrAlphaToInt(ConStringT s) {
    if (!s) return 0;
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r' || *s == '\f' || *s == '\v') ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    long long v = 0;
    const long long cap = static_cast<long long>(std::numeric_limits<IntT>::max()) + 1;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + (*s - '0');
        if (v > cap) v = cap;
    }
    if (negative) v = -v;
    v = std::clamp<long long>(v, std::numeric_limits<IntT>::min(), std::numeric_limits<IntT>::max());
    return static_cast<IntT>(v);
}

// A real number in the C form ("1.5", "-2e3"), whatever the process locale: leading blanks and
// a "+" are allowed, the rest after the number is ignored; 0 when there is no number.
RealT F_StrToReal(ConStringT s) {
    if (!s) return 0;
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r' || *s == '\f' || *s == '\v') ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    if (*s == '+' || *s == '-') return 0;
    double v = 0;
    auto res = std::from_chars(s, s + std::strlen(s), v, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return 0;
    if (res.ec == std::errc::result_out_of_range) v = std::numeric_limits<double>::infinity();
    return negative ? -v : v;
}

// printf into a caller's buffer, which must be large enough; returns the length written.
IntT F_Sprintf(StringT buffer, ConStringT format, ...) {
    if (!buffer || !format) return 0;
    va_list ap;
    va_start(ap, format);
    std::string text = VFormat(format, ap);
    va_end(ap);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<IntT>(text.size());
}

// printf to a channel, or with no channel to the host console (standard output), where each
// line printed is also recorded in the session transcript as "console: <line>".
void F_Printf(ChannelP channel, ConStringT format, ...) {
    if (!format) return;
    va_list ap;
    va_start(ap, format);
    std::string text = VFormat(format, ap);
    va_end(ap);
    if (channel) {
        F_ChannelWrite(text.data(), 1, static_cast<IntT>(text.size()), channel);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        host::Transcript("console: " + text.substr(start, nl - start));
        start = nl + 1;
    }
}

// Start-up of the host's text layer; nothing to prepare here.
void F_FdeInit(void) {}

// Chooses the session's text encoding: 0 for a known one, else -1 and FA_errno.
IntT F_FdeInitFontEncs(ConStringT encoding) {
    IntT id = F_FontEncId(encoding);
    if (id < 0) return -1;
    UnicodeMode() = (id == kUtf8EncodingId);
    return 0;
}

// Switches the host's strings to UTF-8 (1) or back (0).
void F_ApiEnableUnicode(BoolT enable) { UnicodeMode() = enable != 0; }

// A metric (16.16 fixed point) as a real number, at single precision.
RealT F_MetricToReal(MetricT m) { return static_cast<RealT>(static_cast<float>(m) / 65536.0f); }

// A real number as a metric, truncated toward zero and held within the metric range.
MetricT F_RealToMetric(RealT r) {
    if (std::isnan(r)) return 0;
    double v = std::trunc(r * 65536.0);
    v = std::clamp(v, static_cast<double>(std::numeric_limits<MetricT>::min()),
                   static_cast<double>(std::numeric_limits<MetricT>::max()));
    return static_cast<MetricT>(v);
}

// m x multiplier / divisor, computed without overflow; a divisor of 0 gives 0 and FA_errno.
MetricT F_MetricScale(MetricT m, IntT multiplier, IntT divisor) {
    if (divisor == 0) {
        FA_errno = FE_BadParameter;
        return 0;
    }
    long long v = static_cast<long long>(m) * multiplier / divisor;
    v = std::clamp<long long>(v, std::numeric_limits<MetricT>::min(), std::numeric_limits<MetricT>::max());
    return static_cast<MetricT>(v);
}

}  // extern "C"
