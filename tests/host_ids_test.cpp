// Ids over a long session: closed documents' element ids made again only once the fresh ones are
// used up, oldest first; an open that cannot be built whole leaves nothing open; unique ids never
// handed out twice, while a file of the host's own format keeps its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"
#include "transcript.h"
#include "support/host_files_fixture.h"

namespace fs = std::filesystem;
using namespace host;

namespace {

class HostIds : public HostFilesFixture {
  protected:
    HostIds() : HostFilesFixture("qv_ids_") {}
    void TearDown() override {
        SetLastObjectCounter(FO_Element, kLastCounter);
        HostFilesFixture::TearDown();
    }
    // A file of n paragraphs: 2n + 1 elements with the text nodes.
    fs::path Paragraphs(const std::string &name, int n) {
        std::string xml = "<doc>";
        for (int i = 1; i <= n; ++i) xml += "<p>" + name + std::to_string(i) + "</p>";
        xml += "</doc>\n";
        std::ofstream(dir / name, std::ios::binary) << xml;
        return dir / name;
    }
    // Every element of the document, in document order.
    static std::vector<F_ObjHandleT> Elements(F_ObjHandleT doc) {
        std::vector<F_ObjHandleT> out;
        std::vector<F_ObjHandleT> stack{F_ApiGetId(0, doc, FP_HighestLevelElement)};
        while (!stack.empty()) {
            F_ObjHandleT e = stack.back();
            stack.pop_back();
            if (!e) continue;
            out.push_back(e);
            std::vector<F_ObjHandleT> kids;
            for (F_ObjHandleT c = F_ApiGetId(doc, e, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
                kids.push_back(c);
            stack.insert(stack.end(), kids.rbegin(), kids.rend());
        }
        return out;
    }
    static std::vector<IntT> Uniques(F_ObjHandleT doc) {
        std::vector<IntT> out;
        for (F_ObjHandleT e : Elements(doc)) out.push_back(F_ApiGetInt(doc, e, FP_Unique));
        return out;
    }
    static std::string Text(F_ObjHandleT e) { return Elem(e) ? std::string(Elem(e)->text) : "<none>"; }
};

// Fresh ids first; then the ids of the document closed first, never those of a later one while
// older ones are left; the reused elements are whole new elements, the old ids that are left
// stay dead.
TEST_F(HostIds, ClosedDocumentsElementIdsAreMadeAgainOldestFirstOnceFreshOnesRunOut) {
    const fs::path a = Paragraphs("a.xml", 5), b = Paragraphs("b.xml", 5);  // 11 elements each
    SetLastObjectCounter(FO_Element, NextCounter(FO_Element) + 2 * 11 + 4 - 1);

    F_ObjHandleT docA = Open(a);
    ASSERT_NE(docA, 0u);
    std::vector<F_ObjHandleT> idsA = Elements(docA);
    ASSERT_EQ(idsA.size(), 11u);
    F_ApiDelete(docA, idsA[1]);  // a deleted element's ids go back with the rest
    ASSERT_EQ(F_ApiGetObjectType(docA, idsA[1]), 0);
    ASSERT_EQ(F_ApiClose(docA, 1), 0);
    F_ObjHandleT docB = Open(b);
    ASSERT_NE(docB, 0u);
    std::vector<F_ObjHandleT> idsB = Elements(docB);
    ASSERT_EQ(F_ApiClose(docB, 1), 0);

    F_ObjHandleT docC = Open(a);
    ASSERT_NE(docC, 0u);
    std::vector<F_ObjHandleT> idsC = Elements(docC);
    ASSERT_EQ(idsC.size(), 11u);
    const std::set<F_ObjHandleT> setA(idsA.begin(), idsA.end()), setB(idsB.begin(), idsB.end());
    size_t reused = 0;
    for (F_ObjHandleT id : idsC) {
        EXPECT_FALSE(setB.count(id)) << "an id of the later document came back before the older ones";
        reused += setA.count(id);
    }
    EXPECT_EQ(reused, 11u - 4u);  // four fresh ids were left
    for (size_t i = 2; i < idsC.size(); i += 2) EXPECT_EQ(Text(idsC[i]), "a.xml" + std::to_string(i / 2));
    for (F_ObjHandleT id : idsA) {
        if (!std::count(idsC.begin(), idsC.end(), id)) {
            EXPECT_EQ(F_ApiGetObjectType(docC, id), 0) << id;
        }
    }
    for (F_ObjHandleT id : idsB) EXPECT_EQ(F_ApiGetObjectType(docC, id), 0) << id;
}

// An open that cannot be built whole fails with a message and leaves nothing open; the ids it
// took are there for the next open.
TEST_F(HostIds, AnOpenWithoutRoomForItsElementsLeavesNothingOpen) {
    const fs::path small = Paragraphs("small.xml", 5), large = Paragraphs("large.xml", 10);  // 11 and 21
    SetLastObjectCounter(FO_Element, NextCounter(FO_Element) + 15 - 1);
    FA_errno = 0;
    EXPECT_EQ(Open(large), 0u);
    EXPECT_EQ(FA_errno, FE_NoMoreIds);
    EXPECT_TRUE(TheSession().openDocs.empty());
    const std::vector<std::string> &lines = TranscriptLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string &l) {
        return l.find("large.xml") != std::string::npos && l.find("no room left") != std::string::npos;
    }));
    F_ObjHandleT doc = Open(small);
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(Elements(doc).size(), 11u);
    EXPECT_EQ(TheSession().openDocs, std::vector<F_ObjHandleT>{doc});
}

// An XML file has nowhere to keep unique ids: reopened, its elements get new ones, so that a link
// made before cannot lead to another element. A file of the host's own format keeps its own.
TEST_F(HostIds, UniqueIdsAreNeverHandedOutTwiceWhileNativeFilesKeepTheirs) {
    const fs::path xml = Paragraphs("c.xml", 3);
    F_ObjHandleT doc = Open(xml);
    ASSERT_NE(doc, 0u);
    std::vector<IntT> first = Uniques(doc);
    ASSERT_NE(Save(doc, dir / "c.fm", FV_SaveFmtBinary), 0u);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    doc = Open(xml);
    ASSERT_NE(doc, 0u);
    std::vector<IntT> again = Uniques(doc);
    ASSERT_EQ(again.size(), first.size());
    for (IntT u : again) EXPECT_FALSE(std::count(first.begin(), first.end(), u)) << u;
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    doc = Open(dir / "c.fm");
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(Uniques(doc), first);
    // New elements of the native document get ids none of its own elements has.
    F_ElementLocT at{F_ApiGetId(0, doc, FP_HighestLevelElement), 0, 0};
    F_ObjHandleT added = F_ApiNewElement(doc, F_ApiGetId(doc, Elements(doc)[1], FP_ElementDef), &at);
    ASSERT_NE(added, 0u);
    IntT u = F_ApiGetInt(doc, added, FP_Unique);
    EXPECT_FALSE(std::count(first.begin(), first.end(), u));
    EXPECT_FALSE(std::count(again.begin(), again.end(), u));
}

}  // namespace
