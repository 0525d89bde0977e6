// XPath steps between a book and its chapters: fmbook climbs from a chapter to its book's
// highest-level element, fmcomp to the chapter's book element, and fmchap enters a chapter from
// its book element (opening it when file opening is allowed, and recording it).
#include <gtest/gtest.h>

#include <strings.h>

#include "docfile_api.h"
#include "lib/host/documents.h"
#include "support/xml_tree.h"
#include "support/xpath_files_fixture.h"
#include "xpath/xpath.h"

namespace {

// A book on disk with two chapters; the book, the first chapter and a document outside the book
// are open, the second chapter is not:
//   all.book   Book( Chapter -> ch1.xml, Chapter -> ch2.xml )
//   ch1.xml    chap( title "One", sec( para "a" ) )
//   ch2.xml    chap( title "Two", sec, sec )
//   loose.xml  loose( p )
class XPathBookAxes : public qvtest::XPathFilesFixture {
protected:
    XPathBookAxes() : XPathFilesFixture("xpath_book_axes") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        Write("ch1.xml", "<chap><title>One</title><sec><para>a</para></sec></chap>");
        Write("ch2.xml", "<chap><title>Two</title><sec/><sec/></chap>");
        Write("loose.xml", "<loose><p/></loose>");
        Write("all.book",
              "<qvbook version=\"1\" root=\"Book\">"
              "<component type=\"512\" tag=\"Chapter\" path=\"ch1.xml\"/>"
              "<component type=\"512\" tag=\"Chapter\" path=\"ch2.xml\"/></qvbook>");
        book = Open("all.book");
        ch1 = Open("ch1.xml");
        loose = Open("loose.xml");
        ASSERT_NE(book, 0u);
        ASSERT_NE(ch1, 0u);
        ASSERT_NE(loose, 0u);
        bookRoot = F_ApiGetId(0, book, FP_HighestLevelElement);
        comp1 = F_ApiGetId(book, bookRoot, FP_FirstChildElement);
        comp2 = F_ApiGetId(book, comp1, FP_NextSiblingElement);
        ASSERT_NE(comp2, 0u);
    }
    F_ObjHandleT Open(const std::string &name) { return host::OpenDocumentFile(Win(name), true); }
    static F_ObjHandleT Top(F_ObjHandleT doc) { return F_ApiGetId(0, doc, FP_HighestLevelElement); }
    // The matches of an expression run from a start element of a document, as
    // "file name:element path" (the file being that of the match's document).
    std::vector<std::string> Matches(F_ObjHandleT doc, F_ObjHandleT start, const std::string &expr) {
        std::vector<F_ObjHandleT> docs;
        std::vector<F_ObjHandleT> elems = om_XPathListMatches(doc, start, expr, 0, &docs, 0);
        std::vector<std::string> out;
        for (size_t i = 0; i < elems.size(); ++i) {
            std::string path = PathOfDoc(docs[i]);
            out.push_back(path.substr(path.find_last_of('\\') + 1) + ":" + qvtest::PathOf(docs[i], elems[i]));
        }
        return out;
    }
    static std::string PathOfDoc(F_ObjHandleT doc) {
        StringT p = F_ApiGetString(0, doc, FP_Path);
        std::string s = p ? p : "";
        F_ApiDeallocateString(&p);
        return s;
    }
    F_ObjHandleT book = 0, ch1 = 0, loose = 0, bookRoot = 0, comp1 = 0, comp2 = 0;
    using V = std::vector<std::string>;
};

TEST_F(XPathBookAxes, ChapterClimbsToItsBookAndWalksIt) {
    F_ObjHandleT para = om_XPathFindFirstMatch(ch1, Top(ch1), "sec/para", nullptr, nullptr, 0);
    ASSERT_NE(para, 0u);
    EXPECT_EQ(Matches(ch1, para, "fmbook::*"), V{"all.book:/Book[1]"});
    EXPECT_EQ(Matches(ch1, para, "fmbook::*/*"), (V{"all.book:/Book[1]/Chapter[1]", "all.book:/Book[1]/Chapter[2]"}));
    EXPECT_EQ(Matches(ch1, para, "fmcomp::*"), V{"all.book:/Book[1]/Chapter[1]"});
    EXPECT_EQ(Matches(ch1, para, "fmcomp::*/following-sibling::*"), V{"all.book:/Book[1]/Chapter[2]"});
    // A document in no open book has neither.
    EXPECT_EQ(Matches(loose, Top(loose), "fmbook::*"), V{});
    EXPECT_EQ(Matches(loose, Top(loose), "fmcomp::*"), V{});
}

TEST_F(XPathBookAxes, BookElementEntersItsOpenChapter) {
    EXPECT_EQ(Matches(book, comp1, "fmchap::*"), V{"ch1.xml:/chap[1]"});
    EXPECT_EQ(Matches(book, comp1, "fmchap::*/sec/para"), V{"ch1.xml:/chap[1]/sec[1]/para[1]"});
    EXPECT_TRUE(XPathOpenedFiles.empty());
}

TEST_F(XPathBookAxes, ClosedChapterOpensOnlyWhenAllowed) {
    const char *titles = "fmbook::*/*/fmchap::*/title";  // from a chapter through its book into every chapter
    om_XPathSetAllowFileOpening(0);
    EXPECT_EQ(Matches(book, comp2, "fmchap::*"), V{});
    EXPECT_EQ(Matches(ch1, Top(ch1), titles), V{"ch1.xml:/chap[1]/title[1]"});
    EXPECT_TRUE(XPathOpenedFiles.empty());

    om_XPathSetAllowFileOpening(1);
    EXPECT_EQ(Matches(book, comp2, "fmchap::*/sec"), (V{"ch2.xml:/chap[1]/sec[1]", "ch2.xml:/chap[1]/sec[2]"}));
    ASSERT_EQ(XPathOpenedFiles.size(), 1u);
    EXPECT_EQ(strcasecmp(XPathOpenedFiles[0].c_str(), Win("ch2.xml").c_str()), 0) << XPathOpenedFiles[0];
    F_ObjHandleT ch2 = om_DocFindByPath(Win("ch2.xml"));
    ASSERT_NE(ch2, 0u);
    EXPECT_EQ(F_ApiGetInt(0, ch2, FP_IsOnScreen), 1);
    // Open now: entered again without a second opening.
    EXPECT_EQ(Matches(ch1, Top(ch1), titles), (V{"ch1.xml:/chap[1]/title[1]", "ch2.xml:/chap[1]/title[1]"}));
    EXPECT_EQ(XPathOpenedFiles.size(), 1u);
}

}  // namespace
