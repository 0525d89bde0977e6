// Element tags, texts and search (see element_text.h).
#include "lib/host/element_text.h"

#include <string_view>

#include "lib/host/attributes.h"
#include "lib/host/element_location.h"
#include "lib/host/element_query.h"
#include "lib/host/element_walk.h"
#include "lib/host/host_values.h"
#include "lib/globals.h"

namespace {

constexpr size_t kCompareChars = 255;

// The text items of a range, of the given types, copied out of the host record.
struct Item {
    IntT type;
    std::string text;
};

std::vector<Item> RangeItems(F_ObjHandleT docId, const F_TextRangeT &range, IntT flags) {
    F_TextItemsT items = F_ApiGetTextForRange(docId, &range, flags);
    std::vector<Item> out;
    out.reserve(items.len);
    for (UIntT i = 0; i < items.len; ++i)
        out.push_back(Item{items.val[i].dataType, items.val[i].sdata ? items.val[i].sdata : ""});
    F_ApiDeallocateTextItems(&items);
    return out;
}

// Text gathered item by item: stops once it holds more than the maximum characters (when
// above 0) or more than the byte limit, and is cut to the maximum characters at the end.
class Gathered {
  public:
    explicit Gathered(IntT maxChars) : max_(maxChars > 0 ? static_cast<size_t>(maxChars) : 0) {}
    void Append(std::string_view t) {
        text_ += t;
        for (unsigned char c : t)
            if ((c & 0xC0) != 0x80) ++chars_;
    }
    void Prepend(const std::string &t) {
        text_ = t + text_;
        chars_ += Utf8CharCount(t);
    }
    bool Full() const { return (max_ && chars_ > max_) || text_.size() > kElementTextByteLimit; }
    std::string Result() const { return max_ && chars_ > max_ ? Utf8KeepChars(text_, max_) : text_; }

  private:
    size_t max_;
    std::string text_;
    size_t chars_ = 0;
};

std::string TabsToBlanks(std::string s) {
    for (char &c : s)
        if (c == '\x08') c = ' ';
    return s;
}

// The element's text range for text reads: its content (mode 6) or itself (mode 5), with the
// first paragraph of a table cell whose content has no paragraph.
F_TextRangeT ReadRange(F_ObjHandleT docId, F_ObjHandleT elemId, IntT elementItself) {
    bool tagged = F_ApiGetId(docId, elemId, FP_ElementDef) != 0;  // every definition has a name
    F_TextRangeT r = ElementTextRange(docId, elemId, (elementItself == 1 || !tagged) ? LocElement : LocContent);
    if (!r.beg.objId && F_ApiGetInt(docId, elemId, FP_ElementType) == FV_FO_TBL_CELL) {
        F_ObjHandleT pgf = F_ApiGetId(docId, F_ApiGetId(docId, elemId, FP_Object), FP_FirstPgf);
        r = F_TextRangeT{{pgf, 0}, {pgf, FV_OBJ_END_OFFSET}};
    }
    return r;
}

}  // namespace

size_t Utf8CharCount(const std::string &s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string Utf8KeepChars(const std::string &s, size_t n) {
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n) return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

std::string om_ElementTag(F_ObjHandleT docId, F_ObjHandleT elemId, IntT withSecondName) {
    if (!docId || !elemId) {
        StatusCode = StatusNoDocument;
        return "";
    }
    std::string tag = HostElementDefName(docId, elemId);
    if (withSecondName) {
        std::string second = HostGetString(docId, elemId, FP_ElementAltName);
        if (!second.empty()) tag += "(" + second + ")";
    }
    return tag;
}

std::string om_ElementText(F_ObjHandleT docId, F_ObjHandleT elemId, IntT firstPgf, IntT maxChars, IntT elementItself,
                           IntT lineBreaks) {
    if (!HostHaveDocAndObject(docId, elemId)) return "";
    if (elementItself != 1) {
        // The host reads an element's text from where the element begins: the same items as its
        // content's range unless the content begins in a later paragraph, which shows as a
        // paragraph end before anything else (then the range below is read). The text is read in
        // place, item by item, as the loop below reads a list.
        struct Reading {
            Gathered g;
            IntT firstPgf, lineBreaks;
            bool any = false, leadingEnd = false;
        } reading{Gathered(maxChars), firstPgf, lineBreaks};
        auto piece = [](const F_TextPieceT *p, PtrT arg) -> IntT {
            Reading &r = *static_cast<Reading *>(arg);
            bool first = !r.any;
            r.any = true;
            if (p->dataType == FTI_PgfEnd && first) {
                r.leadingEnd = true;
                return 1;
            }
            // A string item may come in pieces: the gathering stops only between items.
            bool continues = p->dataType == FTI_String && p->ldata == 1;
            if (!continues && !first && r.g.Full()) return 1;
            if (p->dataType == FTI_String) r.g.Append(std::string_view(p->sdata ? p->sdata : "", p->slen));
            else if (r.lineBreaks == 1) r.g.Append("\n");
            return r.firstPgf == 1 && p->dataType == FTI_PgfEnd ? 1 : 0;
        };
        IntT error = FA_errno;
        FA_errno = FE_Success;
        IntT answer = F_ApiReadText(docId, elemId, FTI_String | FTI_PgfEnd, piece, &reading);
        bool read = answer >= 0 && FA_errno == FE_Success && !reading.leadingEnd;
        FA_errno = error;
        if (read) return reading.g.Result();
    }
    F_TextRangeT r = ReadRange(docId, elemId, elementItself);
    if (!r.beg.objId) return "";
    if (firstPgf == 1 && r.end.objId != r.beg.objId) r.end = F_TextLocT{r.beg.objId, FV_OBJ_END_OFFSET};
    F_TextItemsT items = F_ApiGetTextForRange(docId, &r, FTI_String | FTI_PgfEnd);
    Gathered g(maxChars);
    for (UIntT i = 0; i < items.len; ++i) {
        if (items.val[i].dataType == FTI_String)
            g.Append(items.val[i].sdata ? items.val[i].sdata : "");
        else if (lineBreaks == 1)
            g.Append("\n");
        if (g.Full() || (firstPgf == 1 && items.val[i].dataType == FTI_PgfEnd)) break;
    }
    F_ApiDeallocateTextItems(&items);
    return g.Result();
}

std::string om_ElementTextWithPrefix(F_ObjHandleT docId, F_ObjHandleT elemId, IntT maxChars, IntT elementItself,
                                     IntT prefixFlag, IntT tabFlag) {
    if (!HostHaveDocAndObject(docId, elemId)) return "";
    F_TextRangeT r = ReadRange(docId, elemId, elementItself);
    if (!r.beg.objId) return "";
    if (r.end.objId != r.beg.objId) r = F_TextRangeT{{r.beg.objId, 0}, {r.beg.objId, FV_OBJ_END_OFFSET}};
    std::string prefix = prefixFlag ? HostGetString(docId, r.beg.objId, FP_PgfNumString) : "";
    bool prefixed = prefixFlag && r.beg.offset == 0;
    Gathered g(maxChars);
    if (prefixed) g.Append(prefix);
    for (const Item &it : RangeItems(docId, r, FTI_String | FTI_PgfBegin | FTI_PgfEnd)) {
        if (it.type == FTI_String) {
            g.Append(it.text);
        } else if (prefixFlag && !prefixed) {
            g.Prepend(prefix);
            prefixed = true;
        }
        if (g.Full()) break;
    }
    std::string out = g.Result();
    return tabFlag ? TabsToBlanks(out) : out;
}

std::string om_ElementPrefixText(F_ObjHandleT docId, F_ObjHandleT elemId, IntT tabFlag) {
    if (!HostHaveDocAndObject(docId, elemId)) return "";
    F_TextRangeT r = ElementTextRange(docId, elemId, LocElement);
    std::string out;
    bool inPrefix = false;
    for (const Item &it : RangeItems(docId, r, FTI_String | FTI_ElemPrefixBegin | FTI_ElemPrefixEnd)) {
        if (it.type == FTI_ElemPrefixBegin) {
            inPrefix = true;
        } else if (it.type == FTI_ElemPrefixEnd) {
            if (inPrefix) break;
        } else if (inPrefix) {
            out += it.text;
        }
    }
    return tabFlag ? TabsToBlanks(out) : out;
}

F_ObjHandleT om_ElementNextSiblingTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                         IntT withSecondName) {
    if (!docId || !elemId) return 0;
    for (F_ObjHandleT s = F_ApiGetId(docId, elemId, FP_NextSiblingElement); s;
         s = F_ApiGetId(docId, s, FP_NextSiblingElement))
        if (om_ElementTag(docId, s, withSecondName) == tag) return s;
    return 0;
}

F_ObjHandleT om_ElementFirstChildTagged(F_ObjHandleT docId, F_ObjHandleT elemId, const std::string &tag,
                                        IntT withSecondName) {
    if (!docId || !elemId) return 0;
    F_ObjHandleT c = F_ApiGetId(docId, elemId, FP_FirstChildElement);
    if (!c) return 0;
    if (om_ElementTag(docId, c, withSecondName) == tag) return c;
    return om_ElementNextSiblingTagged(docId, c, tag, withSecondName);
}

F_ObjHandleT om_ElementFindByTagAndText(F_ObjHandleT docId, F_ObjHandleT startId, const std::string &tag,
                                        const std::string &text) {
    if (!docId) {
        StatusCode = StatusNoDocument;
        return 0;
    }
    if (!startId) startId = om_ElementHighestLevel(docId, "Main", 0);
    if (!startId) {
        StatusCode = StatusNoObject;
        return 0;
    }
    ElementWalkSaved saved;
    om_ElementWalkStart();
    F_ObjHandleT match = 0;
    F_ObjHandleT x = startId;
    while (x) {
        if (ElementWalkState.lastMove != WalkUp && (tag.empty() || HostElementDefName(docId, x) == tag) &&
            om_ElementText(docId, x, 1, static_cast<IntT>(kCompareChars), 0, 0) == text) {
            match = x;
            break;
        }
        x = (x == startId) ? F_ApiGetId(docId, x, FP_FirstChildElement) : om_ElementNextInDocOrder(docId, x);
        if (x == startId) break;
    }
    return match;
}

F_ObjHandleT om_ElementFindByUniqueId(F_ObjHandleT docId, const std::string &flowName, F_ObjHandleT startId,
                                      const std::string &value) {
    ElementWalkSaved saved;
    if (!docId) return 0;
    if (!startId) startId = om_ElementHighestLevel(docId, flowName, 0);
    if (!startId) return 0;
    om_ElementWalkStart();
    F_ObjHandleT x = startId;
    do {
        if (ElementWalkState.lastMove != WalkUp) {
            IntT index = om_AttrIndexByType(docId, x, FV_AT_UNIQUE_ID);
            std::string first;
            if (index >= 0 && om_AttrGetValueAt(docId, x, index, &first) && first == value) return x;
        }
        x = (x == startId) ? F_ApiGetId(docId, x, FP_FirstChildElement) : om_ElementNextInDocOrder(docId, x);
    } while (x && x != startId);
    return 0;
}

F_TextRangeT ElementTextRange(F_ObjHandleT docId, F_ObjHandleT elemId, IntT mode) {
    F_ElementRangeT er{};
    if (!om_ElementLocation(docId, elemId, mode, &er)) return F_TextRangeT{};
    return F_TextRangeT{F_ApiElementLocToTextLoc(docId, &er.beg), F_ApiElementLocToTextLoc(docId, &er.end)};
}
