// Word count of documents and books (see wordcount.h).
#include "lib/dialogs/wordcount.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/graphics.h"
#include "lib/host/host_values.h"
#include "lib/run_state.h"

WordCountState WordCount;

namespace {
// The count of the last word count.
[[maybe_unused]] const bool resetWordCount = om_RunStateRegister("word count", RunStateKind::Run, [] {
    WordCount = WordCountState{};
});
}  // namespace

namespace {

constexpr IntT kTextItemTypes = FTI_String | FTI_LineEnd | FTI_PgfBegin | FTI_PgfEnd | FTI_FnAnchor | FTI_TblAnchor;
// Bound of the paragraph and row chains walked here (a chain is never longer than the document).
constexpr int kChainLimit = 10000000;

// The word-character table: the ranges of values below 256 that are word characters.
const unsigned char kWordRanges[][2] = {
    {0x04, 0x05}, {0x27, 0x27}, {0x30, 0x39}, {0x41, 0x5A}, {0x5F, 0x5F}, {0x61, 0x7A}, {0x80, 0x9F},
    {0xAE, 0xAF}, {0xBE, 0xBF}, {0xCB, 0xCF}, {0xD5, 0xD5}, {0xD8, 0xD9}, {0xDE, 0xDF}, {0xE5, 0xEF},
    {0xF1, 0xF5},
};

struct WordTable {
    unsigned char word[256] = {};  // 1 for a word character
    // at[k][c]: word[c] moved to bit k, for taking eight characters together.
    unsigned char at[8][256] = {};
    WordTable() {
        for (const auto &r : kWordRanges)
            for (int c = r[0]; c <= r[1]; ++c) word[c] = true;
        for (int k = 0; k < 8; ++k)
            for (int c = 0; c < 256; ++c) at[k][c] = static_cast<unsigned char>(word[c] << k);
    }
};
const WordTable kTable;

// The words ending among eight characters, by (w << 8) | bits: bit k of `bits` set when character
// k is a word character, w when the character before them is one. A word ends at each character
// that is not a word character, right after one that is.
struct EightEnds {
    unsigned char n[512] = {};
    constexpr EightEnds() {
        for (unsigned v = 0; v < 512; ++v)
            for (unsigned bits = v & 0xFFu, k = 0; k < 8; ++k)
                n[v] += static_cast<unsigned char>((((bits << 1) | (v >> 8)) & ~bits) >> k & 1u);
    }
};
constexpr EightEnds kEnds;

// Decodes one UTF-8 character at s[i] and advances i; a broken sequence counts as its first byte.
uint32_t NextChar(const char *s, size_t len, size_t &i) {
    auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
    if (n == 1 || i + n > len) {
        ++i;
        return b;
    }
    uint32_t c = n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    for (size_t k = 1; k < n; ++k) {
        auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        c = (c << 6) | (t & 0x3F);
    }
    i += n;
    return c;
}

bool IsSeparator(uint32_t c) { return c < 256 && !kTable.word[c]; }

void EndWord() {
    if (WordCount.inWord && !WordCount.afterSeparator) ++WordCount.count;
    WordCount.inWord = 0;
    WordCount.afterSeparator = 0;
}

// Counts every paragraph from `first` through the flow's next paragraphs up to `last` (0: to the
// end of the chain).
void CountPgfs(F_ObjHandleT doc, F_ObjHandleT first, F_ObjHandleT last) {
    int steps = 0;
    for (F_ObjHandleT p = first; p && steps < kChainLimit; ++steps) {
        om_TextWordCount(doc, p, 0);
        if (p == last) break;
        p = F_ApiGetId(doc, p, FP_NextPgfInFlow);
    }
}

// Counts an anchored footnote or table with the word flags of the surrounding text kept aside.
template <class Count>
void CountAside(Count count) {
    WordCountState saved = WordCount;
    WordCount.inWord = WordCount.afterSeparator = 0;
    count();
    WordCount.inWord = saved.inWord;
    WordCount.afterSeparator = saved.afterSeparator;
}

std::string FileName(const std::string &path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A No-default Yes/No question; a failed alert answers No.
bool AskYes(const std::string &text) {
    FA_errno = 0;
    IntT answer = F_ApiAlert(text.c_str(), FF_ALERT_NO_DEFAULT);
    return FA_errno == 0 && answer == 0;
}

}  // namespace

IntT om_IsWordSeparator(ConStringT character) {
    if (!character || !*character) return 1;
    size_t i = 0;
    std::string_view s(character);
    return IsSeparator(NextChar(s.data(), s.size(), i)) ? 1 : 0;
}

namespace {

struct TextCount {
    F_ObjHandleT doc;
    IntT textLine;
};

// Eight ASCII characters from p as bits (bit k: character k is a word character), or false when
// a byte among them is not ASCII.
inline bool EightBits(const unsigned char *p, unsigned &bits) {
    uint64_t eight;
    std::memcpy(&eight, p, 8);
    if (eight & 0x8080808080808080ull) return false;
    bits = 0;
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) bits |= kTable.at[k][p[k]];
    return true;
}

// Counts the characters of a piece of text: a separator ends the word before it. After any
// character, inWord tells whether it was a word character and afterSeparator the opposite.
// Runs of ASCII text, the common case, are taken eight bytes at a time.
void CountChars(const char *s, size_t len) {
    if (!len) return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(s);
    unsigned word = WordCount.inWord != 0;
    IntT count = WordCount.count;
    for (size_t i = 0; i < len;) {
        unsigned bits;
        for (; i + 8 <= len && EightBits(bytes + i, bits); i += 8) {
            count += kEnds.n[(word << 8) | bits];
            word = bits >> 7;
        }
        if (i >= len) break;
        // The last few characters of a longer text: the eight ending with them, those already
        // counted shifted out and their places taken by word characters, which end nothing.
        if (const size_t rest = len - i; rest < 8 && len >= 8 && EightBits(bytes + len - 8, bits)) {
            bits = ((bits >> (8 - rest)) | (0xFFu << rest)) & 0xFFu;
            count += kEnds.n[(word << 8) | bits];
            word = (bits >> (rest - 1)) & 1u;
            break;
        }
        unsigned w;
        if (bytes[i] < 0x80) {
            w = kTable.word[bytes[i]];
            ++i;
        } else {
            w = !IsSeparator(NextChar(s, len, i));
        }
        count += word > w;
        word = w;
    }
    WordCount.inWord = word ? 1 : 0;
    WordCount.afterSeparator = word ? 0 : 1;
    WordCount.count = count;
}

IntT CountPiece(const F_TextPieceT *piece, PtrT arg) {
    const TextCount &c = *static_cast<const TextCount *>(arg);
    switch (piece->dataType) {
    case FTI_String:
        if (piece->sdata) CountChars(piece->sdata, piece->slen);
        break;
    case FTI_PgfEnd: EndWord(); break;
    case FTI_LineEnd:
        if (piece->ldata == 1 || c.textLine) EndWord();
        break;
    case FTI_PgfBegin: WordCount.inWord = WordCount.afterSeparator = 0; break;
    case FTI_FnAnchor:
        CountAside([&] {
            CountPgfs(c.doc, F_ApiGetId(c.doc, piece->idata, FP_FirstPgf), F_ApiGetId(c.doc, piece->idata, FP_LastPgf));
        });
        break;
    case FTI_TblAnchor: CountAside([&] { om_TableWordCount(c.doc, piece->idata); }); break;
    default: break;
    }
    return 0;
}

}  // namespace

void om_TextWordCount(F_ObjHandleT docId, F_ObjHandleT objId, IntT textLine) {
    if (!docId || !objId) return;
    TextCount c{docId, textLine};
    if (F_OBJ_KIND(objId) != FO_Pgf) {
        F_ApiReadText(docId, objId, kTextItemTypes, CountPiece, &c);
        return;
    }
    // A paragraph's text read whole begins with its begin and ends with its end: both are taken
    // here, around the read, rather than handed over as items. A failed read counts nothing.
    const WordCountState before = WordCount;
    WordCount.inWord = WordCount.afterSeparator = 0;
    if (F_ApiReadText(docId, objId, kTextItemTypes & ~(FTI_PgfBegin | FTI_PgfEnd), CountPiece, &c) < 0) {
        WordCount = before;
        return;
    }
    EndWord();
}

void om_TableWordCount(F_ObjHandleT docId, F_ObjHandleT tableId) {
    if (!docId || !tableId) return;
    CountPgfs(docId, F_ApiGetId(docId, tableId, FP_FirstPgfInTitle), 0);
    int steps = 0;
    for (F_ObjHandleT row = F_ApiGetId(docId, tableId, FP_FirstRowInTbl); row && steps < kChainLimit;
         row = F_ApiGetId(docId, row, FP_NextRowInTbl), ++steps) {
        if (F_ApiGetInt(docId, row, FP_RowIsCounted) == 0) continue;
        for (F_ObjHandleT cell = F_ApiGetId(docId, row, FP_FirstCellInRow); cell && steps < kChainLimit;
             cell = F_ApiGetId(docId, cell, FP_NextCellInRow), ++steps)
            CountPgfs(docId, F_ApiGetId(docId, cell, FP_FirstPgf), F_ApiGetId(docId, cell, FP_LastPgf));
    }
}

IntT om_ObjectPageKind(F_ObjHandleT docId, F_ObjHandleT objId) { return om_GraphicPageKind(docId, objId); }

IntT om_DocWordCount(F_ObjHandleT docId) {
    WordCount = WordCountState{};
    if (!docId) return 0;
    int steps = 0;
    for (F_ObjHandleT flow = F_ApiGetId(0, docId, FP_FirstFlowInDoc); flow && steps < kChainLimit;
         flow = F_ApiGetId(docId, flow, FP_NextFlowInDoc), ++steps) {
        F_ObjHandleT frame = F_ApiGetId(docId, flow, FP_FirstTextFrameInFlow);
        if (frame && om_ObjectPageKind(docId, frame) == FO_BodyPage)
            CountPgfs(docId, F_ApiGetId(docId, frame, FP_FirstPgf), 0);
    }
    for (F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstGraphicInDoc); g && steps < kChainLimit;
         g = F_ApiGetId(docId, g, FP_NextGraphicInDoc), ++steps)
        if (F_OBJ_KIND(g) == FO_TextLine && om_ObjectPageKind(docId, g) == FO_BodyPage) om_TextWordCount(docId, g, 1);
    return WordCount.count;
}

IntT om_BookWordCount(F_ObjHandleT bookId, IntT open, IntT report) {
    if (!bookId) bookId = om_BookActive();
    if (!bookId) {
        if (report) F_ApiAlert("No active book. Cannot continue.", FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    if (!om_BookAllComponentsOpen(bookId) && !open && report &&
        !AskYes("Some book chapters are not open and will not be counted. Do you want to continue?"))
        return 0;
    CancelFlag = 0;
    om_DlgOpenStatus(kDlgStatusBox, "Processing Book", 0, "");
    om_DlgSetStatusLines("Processing book, please wait...", "", "", "Press Esc to cancel");
    IntT sum = 0;
    std::vector<std::string> missed;
    for (F_ObjHandleT comp = om_BookWalkFirst(bookId, FV_BK_DOC_FILE); comp;
         comp = om_BookWalkNext(bookId, FV_BK_DOC_FILE)) {
        std::string path = HostGetString(bookId, comp, FP_Path);
        F_ObjHandleT doc = om_BookComponentDoc(bookId, comp, 0, 0, 0, 0, 0, nullptr);
        bool openedHere = false;
        if (!doc && open) {
            doc = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
            openedHere = doc != 0;
        }
        if (doc) {
            om_DlgSetStatusLines("*", ("Processing:  " + FileName(path)).c_str(), "*", "*");
            sum += om_DocWordCount(doc);
        } else {
            missed.push_back(FileName(path));
        }
        if (!CancelFlag) om_PollUserCancel();
        if (openedHere) F_ApiClose(doc, 1);  // closed before a cancel returns too: nothing stays open
        if (CancelFlag) {
            F_ApiAlert("Operation cancelled.", FF_ALERT_CONTINUE_WARN);
            om_DlgCloseStatus();
            return 0;
        }
    }
    F_ApiSetInt(0, bookId, FP_IsInFront, 1);
    om_DlgCloseStatus();
    if (report) {
        std::string text = std::to_string(sum) + " words counted in book.";
        if (!missed.empty()) {
            text += "\n\nNOTE: The following files could not be opened and were not counted:\n";
            for (const std::string &m : missed) text += "\n - " + m;
        }
        F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
    }
    return sum;
}
