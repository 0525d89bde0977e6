// The layout of a document does not depend on the ids its elements were given: elements made
// among another document's, far from each other, or before the highest-level element that holds
// them are laid out as the same document made in order.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"
#include "model_internal.h"
#include "model_layout.h"

namespace {

// What the layout shows, free of ids: each paragraph's format and text, then each element's text
// range as paragraph number/offset, in document order.
std::vector<std::string> Shape(F_ObjHandleT doc, F_ObjHandleT root) {
    std::vector<std::string> out;
    std::map<F_ObjHandleT, size_t> number;
    for (F_ObjHandleT p = F_ApiGetId(0, doc, FP_FirstPgfInDoc); p; p = F_ApiGetId(doc, p, FP_NextPgfInDoc)) {
        number[p] = number.size();
        F_TextItemsT items = F_ApiGetText(doc, p, FTI_String);
        std::string text;
        for (UIntT i = 0; i < items.len; ++i) text += items.val[i].sdata ? items.val[i].sdata : "";
        F_ApiDeallocateTextItems(&items);
        StringT format = F_ApiGetString(doc, p, FP_PgfFmtName);
        out.push_back(std::string(format ? format : "") + ": " + text);
        F_ApiDeallocateString(&format);
    }
    std::function<void(F_ObjHandleT)> walk = [&](F_ObjHandleT e) {
        F_TextRangeT r = F_ApiGetTextRange(doc, e, FP_TextRange);
        auto at = [&](const F_TextLocT &l) {
            auto it = number.find(l.objId);
            return (it == number.end() ? std::string("?") : std::to_string(it->second)) + "/" + std::to_string(l.offset);
        };
        out.push_back(at(r.beg) + ".." + at(r.end));
        for (F_ObjHandleT c = F_ApiGetId(doc, e, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
            walk(c);
    };
    walk(root);
    return out;
}

// Twelve paragraphs under one highest-level element; every third holds an inline element and a
// nested paragraph after which its own text resumes. `between(i)` runs before paragraph i is made;
// with rootLast the paragraphs are made first and the highest-level element after them.
std::vector<std::string> MadeAndLaidOut(const std::function<void(int)> &between, bool rootLast) {
    F_ObjHandleT doc = host::NewDocument("Z:\\t\\ids.fm");
    F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
    F_ObjHandleT paraDef = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
    F_ObjHandleT bDef = host::AddElementDef(doc, "B");
    F_ObjHandleT root = rootLast ? 0 : host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
    std::vector<F_ObjHandleT> paras;
    for (int i = 0; i < 12; ++i) {
        between(i);
        F_ObjHandleT p = rootLast ? host::NewElement(doc, paraDef) : host::AppendElement(doc, root, paraDef);
        host::AppendText(doc, p, "text " + std::to_string(i));
        if (i % 3 == 0) {
            host::AppendText(doc, host::AppendElement(doc, p, bDef), " bold");
            host::AppendText(doc, host::AppendElement(doc, p, paraDef), "nested");
            host::AppendText(doc, p, "after");
        }
        paras.push_back(p);
    }
    if (rootLast) {
        root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        for (F_ObjHandleT p : paras) host::LinkChild(root, p, 0);
        host::MarkChanged(doc, false);
    }
    return Shape(doc, root);
}

TEST(LayoutIds, ElementsMadeAnywhereAreLaidOutAsTheSameDocumentMadeInOrder) {
    host::ResetSession();
    const std::vector<std::string> inOrder = MadeAndLaidOut([](int) {}, false);
    ASSERT_GT(inOrder.size(), 20u);  // twenty paragraphs, then the elements' ranges
    F_ObjHandleT other = host::NewDocument("Z:\\t\\other.fm");
    F_ObjHandleT otherRoot = host::AppendElement(other, 0, host::AddElementDef(other, "Doc"), host::MainFlow(other));
    auto others = [&](int n) {
        for (int k = 0; k < n; ++k) host::AppendElement(other, otherRoot, 0);
    };
    struct Case {
        const char *what;
        std::function<void(int)> between;
        bool rootLast;
    };
    const Case cases[] = {
        {"among another document's elements", [&](int) { others(3); }, false},
        {"far apart", [&](int i) { others(i == 5 ? 40000 : 1); }, false},
        {"before their highest-level element", [](int) {}, true},
    };
    for (const Case &c : cases) EXPECT_EQ(inOrder, MadeAndLaidOut(c.between, c.rootLast)) << c.what;
    host::ResetSession();
}

// An id far beyond the flat table is kept aside; once the table grows over it, it is still found,
// and putting it again gives its value back.
TEST(LayoutIds, AnIdKeptAsideIsFoundOnceTheTableGrowsOverIt) {
    host::DenseIdMap<uint32_t> map{host::kNoIndex};
    const F_ObjHandleT base = host::MakeId(FO_Pgf, 1), far = base + 10000;
    map.Put(base) = 0;
    map.Put(far) = 7;
    for (uint32_t i = 1; i < 10000; ++i) map.Put(base + i) = i;
    ASSERT_NE(map.Find(far), nullptr);
    EXPECT_EQ(*map.Find(far), 7u);
    EXPECT_EQ(map.Put(far), 7u);
    EXPECT_EQ(*map.Find(base + 9999), 9999u);
}

}  // namespace
