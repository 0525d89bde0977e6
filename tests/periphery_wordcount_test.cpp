// Word count of documents and books: the word-character table, what ends a word, which text is
// body text (flows on body pages, text lines on body pages, footnotes and tables in it), books
// with closed chapters, and plain XML with its default page layout.
#include <fstream>

#include "periphery_fixture.h"

#include "lib/host/docio.h"
#include "lib/host/pgftext.h"
#include "lib/dialogs/wordcount.h"

namespace {

TEST(WordSeparators, FollowTheWordCharacterTable) {
    struct Case {
        const char *character;
        IntT separator;
    } cases[] = {
        {"a", 0}, {"Z", 0}, {"7", 0}, {"'", 0}, {"_", 0}, {"\x04", 0}, {"\x05", 0}, {"\x06", 1},
        {" ", 1}, {"-", 1}, {".", 1}, {",", 1}, {"\t", 1}, {"\xC2\x80", 0}, {"\xC2\x9F", 0},
        {"\xC2\xA0", 1},  // no-break space
        {"\xC2\xA9", 1},  // copyright sign
        {"\xC2\xAE", 0}, {"\xC3\x97", 1} /* multiplication sign */, {"\xC3\x98", 0}, {"\xC3\xA9", 0} /* e acute */,
        {"\xC3\xB0", 1}, {"\xC3\xB6", 1} /* o umlaut: F6 lies outside F1-F5 */, {"\xE2\x82\xAC", 0} /* euro */,
        {"\xF0\x9F\x98\x80", 0}, {"", 1},
    };
    for (const Case &c : cases) EXPECT_EQ(c.separator, om_IsWordSeparator(c.character)) << "[" << c.character << "]";
}

class WordCountDoc : public PeripheryDoc {};

TEST_F(WordCountDoc, CountsRunsOfWordCharactersPerParagraph) {
    struct Case {
        const char *text;
        IntT words;
    } cases[] = {
        {"one two  three", 3}, {"l'arbre", 1}, {"a-b", 2}, {"", 0}, {"  lead and trail  ", 3},
        {"end.", 1}, {"x , y", 2}, {"split\nby a forced line end", 6}, {"caf\xC3\xA9 \xE2\x82\xAC" "100", 2},
        // Long texts, counted eight characters at a time: words ending on, before and after the
        // steps' edges, and characters of several bytes among them.
        {"abcdefg hijklmn opqrstu", 3}, {"abcdefgh ijklmnop", 2}, {"abcdefghijklmnopqrstuvwxyz", 1},
        {"a b c d e f g h i j k l m n o p", 16}, {"        word        ", 1}, {"abcdef\xC3\xA9gh ijk", 2},
        {"abcdefg\xC3\xB6hijklmnop", 2} /* o umlaut separates */, {"one two\nthree four five six", 6},
        {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC.abc def", 3},
    };
    for (const Case &c : cases) {
        doc = NewDoc("Z:\\t\\count.fm");
        Para(c.text);
        EXPECT_EQ(c.words, om_DocWordCount(doc)) << c.text;
    }
}

TEST_F(WordCountDoc, EveryAsciiCharacterCountsAsTheTableSays) {
    // Each character in a run long enough to be taken eight at a time, in each of the eight
    // places, between two words: a word character joins them into one word, a separator leaves two.
    for (int c = 1; c < 0x80; ++c) {
        std::string one(1, static_cast<char>(c));
        doc = NewDoc("Z:\\t\\ascii.fm");
        Para("ab" + std::string(17, static_cast<char>(c)) + "cd");
        EXPECT_EQ(om_IsWordSeparator(one.c_str()) ? 2 : 1, om_DocWordCount(doc)) << "character " << c;
    }
}

TEST_F(WordCountDoc, ParagraphEndsEndWordsAndTheCountCarriesOverBetweenCalls) {
    Para("alpha");
    Para("beta gamma");
    EXPECT_EQ(3, om_DocWordCount(doc));
    F_ObjHandleT first = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    om_TextWordCount(doc, first, 0);  // adds to the count left by the document
    EXPECT_EQ(4, WordCount.count);
}

TEST_F(WordCountDoc, AParagraphStartsOutsideAWordAndAFailedReadCountsNothing) {
    Para(" lead");
    F_ObjHandleT p = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    WordCount = WordCountState{5, 1, 0};  // as left inside a word
    om_TextWordCount(doc, p, 0);
    EXPECT_EQ(6, WordCount.count);  // the paragraph's begin ended nothing: only "lead" counts
    EXPECT_EQ(0, WordCount.inWord);

    WordCount = WordCountState{5, 1, 0};
    om_TextWordCount(doc, p + 0x7000, 0);  // no paragraph of the document
    EXPECT_EQ(5, WordCount.count);
    EXPECT_EQ(1, WordCount.inWord);
    WordCount = WordCountState{};
}

TEST_F(WordCountDoc, OnlyBodyPagesCount) {
    Para("main flow words");
    F_ObjHandleT master = host::AddNamedPage(doc, FO_MasterPage, "Right");
    F_ObjHandleT ref = host::AddNamedPage(doc, FO_RefPage, "Ref");
    F_ObjHandleT header = host::AddFlow(doc, "Header");
    host::AppendText(doc, host::AppendElement(doc, host::AppendElement(doc, 0, docDef, header), paraDef),
                     "running header text");
    host::PlaceFlowOnPage(header, master);
    F_ObjHandleT onBody = Graphic(FO_TextLine, 0, 0, 0, 10, 10, FirstBodyPage());
    host::GraphicOf(doc, onBody)->text = "two words";
    F_ObjHandleT onRef = Graphic(FO_TextLine, 0, 0, 0, 10, 10, ref);
    host::GraphicOf(doc, onRef)->text = "not counted here";
    F_ObjHandleT other = host::AddNamedPage(doc, FO_OtherPage, "Hidden");
    host::GraphicOf(doc, Graphic(FO_TextLine, 0, 0, 0, 10, 10, other))->text = "nor here";

    EXPECT_EQ(FO_MasterPage, om_ObjectPageKind(doc, F_ApiGetId(doc, header, FP_FirstTextFrameInFlow)));
    EXPECT_EQ(FO_BodyPage, om_ObjectPageKind(doc, onBody));
    EXPECT_EQ(FO_RefPage, om_ObjectPageKind(doc, onRef));
    EXPECT_EQ(5, om_DocWordCount(doc));
}

TEST_F(WordCountDoc, FootnotesAndTablesInTheBodyTextCount) {
    F_ObjHandleT p = Para("see note");
    host::AppendText(doc, host::AppendElement(doc, p, noteDef), "footnote words here");
    F_ObjHandleT anchor = Para("table follows");
    F_TextLocT at{};
    F_ElementLocT loc{anchor, 0, FV_OBJ_END_OFFSET};
    at = F_ApiElementLocToTextLoc(doc, &loc);
    F_ObjHandleT table = F_ApiNewTable(doc, "Format A", 2, 2, 0, 0, &at);
    ASSERT_NE(0u, table);
    om_CellSetText(doc, table, 0, 1, 1, "cell one", 0);
    om_CellSetText(doc, table, 0, 2, 2, "last", 0);
    EXPECT_EQ(2 + 3 + 2 + 2 + 1, om_DocWordCount(doc));

    WordCount = WordCountState{};
    om_TableWordCount(doc, table);
    EXPECT_EQ(3, WordCount.count);
}

// A book of two chapters saved in the test folder; chapter 2 closed when asked.
class WordCountBook : public PeripheryDoc {
  protected:
    F_ObjHandleT MakeBook(bool closeSecond) {
        doc = NewDoc(Win(dir / "ch1.fm"));
        Para("one two three");
        om_DocSave(doc, Win(dir / "ch1.fm").c_str(), 0, 0, 0, 0);
        doc = NewDoc(Win(dir / "ch2.fm"));
        Para("four five");
        om_DocSave(doc, Win(dir / "ch2.fm").c_str(), 0, 0, 0, 0);
        ch2 = doc;
        if (closeSecond) F_ApiClose(ch2, 1);
        F_ObjHandleT book = host::NewBook(Win(dir / "b.book"), "Book");
        host::AddBookComponent(book, 0, Win(dir / "ch1.fm"), FV_BK_DOC_FILE, "Chapter");
        host::AddBookComponent(book, 0, Win(dir / "ch2.fm"), FV_BK_DOC_FILE, "Chapter");
        return book;
    }
    F_ObjHandleT ch2 = 0;
};

TEST_F(WordCountBook, SumsEveryChapter) {
    F_ObjHandleT book = MakeBook(false);
    EXPECT_EQ(5, om_BookWordCount(book, 0, 1));
    EXPECT_TRUE(Shown("5 words counted in book."));
}

TEST_F(WordCountBook, AClosedChapterIsAskedAboutAndListed) {
    F_ObjHandleT book = MakeBook(true);
    Answer("yes");
    EXPECT_EQ(3, om_BookWordCount(book, 0, 1));
    EXPECT_TRUE(Shown("Some book chapters are not open and will not be counted."));
    EXPECT_TRUE(Shown("NOTE: The following files could not be opened and were not counted:"));
    EXPECT_TRUE(Shown(" - ch2.fm"));

    host::ClearTranscript();
    Answer("no");
    EXPECT_EQ(0, om_BookWordCount(book, 0, 1));
    EXPECT_FALSE(Shown("words counted in book."));
}

TEST_F(WordCountBook, WithTheOpenFlagClosedChaptersAreOpenedAndClosedAgain) {
    F_ObjHandleT book = MakeBook(true);
    size_t open = host::TheSession().openDocs.size();
    EXPECT_EQ(5, om_BookWordCount(book, 1, 0));
    EXPECT_EQ(open, host::TheSession().openDocs.size());
    EXPECT_EQ(0, om_BookWordCount(0, 0, 1));  // no active book
    EXPECT_TRUE(Shown("No active book. Cannot continue."));
}

TEST_F(WordCountBook, EscCancelsAndLeavesNothingOpened) {
    F_ObjHandleT book = MakeBook(true);
    size_t open = host::TheSession().openDocs.size();
    host::PressEsc();
    Answer("ok");   // the status box is missing from the test program
    Answer("yes");  // the cancel confirmation
    EXPECT_EQ(0, om_BookWordCount(book, 1, 0));
    EXPECT_TRUE(Shown("Operation cancelled."));
    EXPECT_EQ(open, host::TheSession().openDocs.size());
}

TEST_F(WordCountDoc, PlainXmlGetsBodyPagesAndCounts) {
    std::ofstream(dir / "plain.xml") << "<?xml version=\"1.0\"?>\n<!DOCTYPE doc [<!ELEMENT doc (p*)>"
                                        "<!ELEMENT p (#PCDATA)>]>\n<doc>"
                                     << [] {
                                            std::string s;
                                            for (int i = 0; i < 100; ++i) s += "<p>word number " + std::to_string(i) + "</p>";
                                            return s;
                                        }()
                                     << "</doc>\n";
    F_ObjHandleT x = om_DocOpen(Win(dir / "plain.xml").c_str(), 0, 0, 1, 0, 0, 1);
    ASSERT_NE(0u, x);
    EXPECT_EQ(300, om_DocWordCount(x));
    int pages = 0;
    for (F_ObjHandleT p = F_ApiGetId(0, x, FP_FirstBodyPageInDoc); p; p = F_ApiGetId(x, p, FP_PageNext)) ++pages;
    EXPECT_EQ(3, pages);  // 40 paragraphs to a page
    F_ObjHandleT frame = F_ApiGetId(x, F_ApiGetId(0, x, FP_MainFlowInDoc), FP_FirstTextFrameInFlow);
    EXPECT_EQ(FO_BodyPage, om_ObjectPageKind(x, frame));
}

}  // namespace
