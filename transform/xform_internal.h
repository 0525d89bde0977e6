// Helpers shared by the transformation's own files.
#pragma once

#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"

// A duplication folder as the prefix of the files put there: with its closing separator, whether
// or not it was written with one.
std::string XformFolderPrefix(const std::string &folder);

// The first file a duplicate of the book into the folder prefix would put over an existing file
// (the new book, or a component's copy), or "" when there is none.
std::string XformDuplicateClash(F_ObjHandleT book, const std::string &prefix);

// Curly quotes turned into straight ones.
std::string XformStraightenQuotes(const std::string &text);
// The element's children in order (text nodes included).
std::vector<F_ObjHandleT> XformChildren(F_ObjHandleT doc, F_ObjHandleT elem);
// The elements that template markers pasted during the last expansion (top level of each paste).
extern std::vector<F_ObjHandleT> XformPastedByMarkers;
// The host string property of an object ("" when none).
std::string XformHostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop);
// The last child of elem (0 when none).
F_ObjHandleT XformLastChild(F_ObjHandleT doc, F_ObjHandleT elem);
// Copies the selection of srcDoc and pastes it at the end of dst's content in doc. tail is dst's
// last child before the paste (kept up to date by the call); the number of pasted nodes is
// returned, and the nodes go to *pasted when it is given.
size_t XformPasteAtEnd(F_ObjHandleT srcDoc, F_ObjHandleT doc, F_ObjHandleT dst, F_ObjHandleT &tail,
                       std::vector<F_ObjHandleT> *pasted = nullptr);
// Select an element's content (mode 6); 0 when it has none.
int XformSelectContent(F_ObjHandleT doc, F_ObjHandleT elem);
// Delete every child of elem.
void XformDeleteContent(F_ObjHandleT doc, F_ObjHandleT elem);
// Select elem itself and unwrap it.
void XformUnwrap(F_ObjHandleT doc, F_ObjHandleT elem);
// Append text at the end of elem's children.
void XformAppendText(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &text);

// One read of an element's attribute list, for the processors that look at several of its
// attributes (each single read copies the whole list).
class XformAttrs {
  public:
    XformAttrs(F_ObjHandleT doc, F_ObjHandleT elem);
    // The first value; "" when absent, empty or a sentinel (as XformAttr).
    std::string Get(std::string_view name) const;
    // The first value as stored ("" when none); *has tells whether the attribute is there.
    const std::string &Raw(std::string_view name, bool *has = nullptr) const;
    IntT Int(std::string_view name) const;
    bool Empty() const { return names_->empty(); }
    // From an attribute list in hand.
    explicit XformAttrs(const F_AttributesT &list);
    // The place of the last attribute of the name (-1 when absent), and the value at a place: a
    // copy of a list shares its names, so copies that differ in a few values are cheap.
    int IndexOf(std::string_view name) const;
    void SetAt(int index, std::string value) { values_[static_cast<size_t>(index)] = std::move(value); }

  private:
    void Take(const F_AttributesT &list);
    std::shared_ptr<const std::vector<std::string>> names_;
    std::vector<std::string> values_;
};
// The expression of an element with these attributes: a non-empty test, else its select; *has 0
// when it has neither.
std::string XformExpressionText(const XformAttrs &attrs, int *has);
// om_XformParseSelectOrTest on the element's attributes and type as already read.
IntT XformParseExpression(const XformAttrs &attrs, IntT type, IntT allowParams);

// Writes the three context attributes (and the sequence number when seq is not null) of a
// stylesheet element in one change of its attribute list; 0 when the element has none of them.
int XformWriteContext(F_ObjHandleT doc, F_ObjHandleT elem, const std::string &ctxDoc, const std::string &ctxNode,
                      const std::string &attr, const std::string *seq);
// The attributes of the element the driver is dispatching, read once: the processors' readers
// take them from here for that element (its attributes do not change while it runs).
const XformAttrs *XformCachedAttrs(F_ObjHandleT doc, F_ObjHandleT elem);
void XformSetCachedAttrs(F_ObjHandleT doc, F_ObjHandleT elem, const XformAttrs *attrs);
// Stands the given list in for an element's attributes while it lives, then puts back the
// element the driver had cached.
class XformCachedAttrsScope {
  public:
    XformCachedAttrsScope(F_ObjHandleT doc, F_ObjHandleT elem, const XformAttrs *attrs);
    ~XformCachedAttrsScope();
    XformCachedAttrsScope(const XformCachedAttrsScope &) = delete;
    XformCachedAttrsScope &operator=(const XformCachedAttrsScope &) = delete;

  private:
    F_ObjHandleT doc_, elem_;
    const XformAttrs *attrs_;
};
// While a document runs, the attribute lists the context writes leave are kept for the driver,
// which then needs not read them again when it reaches those elements (each entry is checked
// against the element's unique id). XformForgetWritten drops an element's entry after any other
// change of its attributes.
void XformKeepWritten(int on);
XformAttrs *XformWritten(F_ObjHandleT doc, F_ObjHandleT elem);
void XformForgetWritten(F_ObjHandleT elem);
// Keeps the list just written into an element, as the context writes do.
void XformRememberWritten(F_ObjHandleT doc, F_ObjHandleT elem, const F_AttributesT &list);
void XformRememberWritten(F_ObjHandleT doc, F_ObjHandleT elem, XformAttrs attrs);
// While a document runs, the element types of definitions are remembered (definitions are
// neither renamed nor removed by a run).
void XformKeepTypes(int on);

// The copies (or rows) a sort has placed so far, by key: where a new key goes is found by a
// search of the index, and equal keys keep their order of arrival.
class XformSortedPlaces {
  public:
    XformSortedPlaces(IntT order, IntT dataType) : map_(Less{order, dataType}) {}
    // The element a new key goes before (0: after every placed one).
    F_ObjHandleT Successor(const std::string &key) const {
        auto it = map_.upper_bound(key);
        return it == map_.end() ? 0 : it->second;
    }
    // The element a new key goes after (0: before every placed one).
    F_ObjHandleT Predecessor(const std::string &key) const {
        auto it = map_.upper_bound(key);
        return it == map_.begin() ? 0 : std::prev(it)->second;
    }
    void Add(const std::string &key, F_ObjHandleT elem) { map_.emplace(key, elem); }

  private:
    struct Less {
        IntT order, dataType;
        bool operator()(const std::string &a, const std::string &b) const;
    };
    std::multimap<std::string, F_ObjHandleT, Less> map_;
};
// Flattens the value-of content after `after` (0: all of it), as om_XformConvertForValueOf does.
void XformFlattenAfter(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT after, IntT x, IntT k, IntT v, IntT q,
                       IntT g);
