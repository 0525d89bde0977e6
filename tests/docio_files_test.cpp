// Open, save and close through the library against the host's real document files: the option
// sets, formats chosen by number and by ending, refused formats, closing; the file name and folder
// of a path; tables with their format names kept by the native file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fdk.h"
#include "lib/host/docio.h"
#include "lib/host/tables.h"
#include "lib/host/hostui.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "model.h"
#include "model_layout.h"
#include "paths.h"
#include "transcript.h"

namespace fs = std::filesystem;

namespace {

class DocFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ClearTranscript();
        FA_errno = 0;
        dir = fs::temp_directory_path() / ("qv_docio_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Win(const std::string &name) { return host::WindowsPath((dir / name).string()); }
    std::string Read(const std::string &name) {
        std::ifstream in(dir / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string PathOf(F_ObjHandleT doc) {
        StringT s = F_ApiGetString(0, doc, FP_Path);
        std::string out(qv::View(s));
        F_ApiDeallocateString(&s);
        return out;
    }
    // A saved document: Doc > Para "alpha", Para "beta".
    F_ObjHandleT MakeDoc(const std::string &name) {
        F_ObjHandleT doc = host::NewDocument(Win(name));
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        F_ObjHandleT para = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        F_ObjHandleT root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        host::AppendText(doc, host::AppendElement(doc, root, para), "alpha");
        host::AppendText(doc, host::AppendElement(doc, root, para), "beta");
        return doc;
    }
    fs::path dir;
};

TEST_F(DocFiles, SaveByNumberAndByEndingThenOpenAgain) {
    F_ObjHandleT doc = MakeDoc("a.fm");
    // Own path, format by ending: the native format.
    EXPECT_EQ(doc, om_DocSave(doc, "", -1, 1, 0, 0));
    EXPECT_NE(std::string::npos, Read("a.fm").find("<qvdocument"));
    // Endings choose XML and plain text, case-insensitively.
    EXPECT_EQ(doc, om_DocSave(doc, Win("b.XML").c_str(), -1, 1, 0, 0));
    EXPECT_NE(std::string::npos, Read("b.XML").find("<Doc>"));
    EXPECT_EQ(doc, om_DocSave(doc, Win("c.Txt").c_str(), -1, 1, 0, 0));
    EXPECT_NE(std::string::npos, Read("c.Txt").find("alpha"));
    EXPECT_EQ(std::string::npos, Read("c.Txt").find("<"));
    // The number wins over the ending; "::" with an empty path part keeps the document's own path.
    EXPECT_EQ(doc, om_DocSave(doc, Win("d.txt").c_str(), FV_SaveFmtXml, 1, 0, 0));
    EXPECT_NE(std::string::npos, Read("d.txt").find("<Doc>"));
    EXPECT_EQ(doc, om_DocSave(doc, "::argument", FV_SaveFmtXml, 1, 0, 0));
    EXPECT_TRUE(fs::exists(dir / "d.txt"));
    ASSERT_EQ(1, om_DocClose(doc, 0));

    // The plain, book and hidden option sets each open the native file; hidden is off screen.
    struct Case {
        IntT a, b, h, g, onScreen;
    };
    for (const Case &c : {Case{1, 0, 0, 1, 1}, Case{1, 1, 0, 1, 1}, Case{1, 1, 1, 1, 0}}) {
        F_ObjHandleT again = om_DocOpen(Win("a.fm").c_str(), 0, 0, c.a, c.b, c.h, c.g);
        ASSERT_NE(0u, again) << c.b << c.h;
        EXPECT_EQ(c.onScreen, F_ApiGetInt(0, again, FP_IsOnScreen));
        EXPECT_EQ("alpha", qv::PgfText(again, F_ApiGetId(0, again, FP_FirstPgfInDoc), -1, false, false));
        EXPECT_EQ(1, om_DocClose(again, 0));
    }
    // XML files open too; a plain text file is no document and a missing file none at all.
    F_ObjHandleT xml = om_DocOpen(Win("b.XML").c_str(), 0, 0, 1, 1, 1, 1);
    ASSERT_NE(0u, xml);
    EXPECT_EQ("beta", qv::PgfText(xml, F_ApiGetId(xml, F_ApiGetId(0, xml, FP_FirstPgfInDoc), FP_NextPgfInFlow), -1, false, false));
    EXPECT_EQ(1, om_DocClose(xml, 0));
    for (const char *name : {"c.Txt", "missing.fm"}) {
        FA_errno = 0;
        EXPECT_EQ(0u, om_DocOpen(Win(name).c_str(), 0, 0, 1, 0, 0, 1)) << name;
        EXPECT_NE(0, FA_errno) << name;
    }
}

TEST_F(DocFiles, OpenFromTheDocumentsOwnPath) {
    F_ObjHandleT doc = MakeDoc("own.fm");
    ASSERT_EQ(doc, om_DocSave(doc, "", -1, 1, 0, 0));
    // With the use-document-path flag the path argument is ignored: the document's own file opens
    // (as a second instance, as the host does for a file already open).
    F_ObjHandleT again = om_DocOpen("Z:\\nowhere\\x.fm", doc, 1, 1, 1, 0, 1);
    ASSERT_NE(0u, again);
    EXPECT_EQ(PathOf(doc), PathOf(again));
    FA_errno = 0;
    EXPECT_EQ(0u, om_DocOpen("Z:\\nowhere\\x.fm", doc, 0, 1, 1, 0, 1));  // without the flag the path counts
    EXPECT_NE(0, FA_errno);
}

TEST_F(DocFiles, FormatsTheHostCannotWriteFailWithTheErrorWord) {
    F_ObjHandleT doc = MakeDoc("f.fm");
    for (const char *name : {"f.mif", "f.sgml", "f.pdf"}) {
        FA_errno = 0;
        EXPECT_EQ(0u, om_DocSave(doc, Win(name).c_str(), -1, 1, 0, 0)) << name;
        EXPECT_NE(0, FA_errno) << name;
        EXPECT_FALSE(fs::exists(dir / name)) << name;
    }
    FA_errno = 0;
    EXPECT_EQ(0u, om_DocSave(doc, Win("f.rtf").c_str(), 100, 1, 0, 0));
    EXPECT_NE(0, FA_errno);
    // The MIF preset prints the error word on the host console.
    EXPECT_EQ(0u, om_DocSaveAsMif(doc, Win("g.mif").c_str()));
    bool printed = false;
    for (const auto &l : host::TranscriptLines()) printed = printed || l.find("console: FA_errno = ") == 0;
    EXPECT_TRUE(printed);
    // The document format presets write native files.
    EXPECT_EQ(doc, om_DocSaveAsDocument(doc, Win("h.fm").c_str()));
    EXPECT_EQ(doc, om_DocSaveAsXml(doc, Win("i.xml").c_str()));
    EXPECT_NE(std::string::npos, Read("i.xml").find("<Doc>"));
}

TEST_F(DocFiles, CloseOnlyOpenDocumentsAndSaveFirstWhenAsked) {
    F_ObjHandleT doc = MakeDoc("c.fm");
    EXPECT_EQ(0, om_DocClose(0, 0));
    EXPECT_EQ(0, om_DocClose(F_ApiGetId(0, doc, FP_FirstPgfInDoc), 0));  // a paragraph is not a document
    // Saving first: a document whose path the host cannot write stays open.
    F_ObjHandleT unsaved = host::NewDocument("Q:\\unmapped\\u.fm");
    EXPECT_EQ(0, om_DocClose(unsaved, 1));
    EXPECT_EQ("Q:\\unmapped\\u.fm", PathOf(unsaved));  // still an open document
    EXPECT_EQ(1, om_DocClose(doc, 1));
    EXPECT_TRUE(fs::exists(dir / "c.fm"));
    EXPECT_EQ(0, om_DocClose(doc, 0));  // closed already
}

TEST(DocPathParts, FileNameAndFolder) {
    struct Case {
        const char *path;
        const char *name;
        const char *folder;
    };
    const Case cases[] = {
        {"D:\\docs\\a.fm", "a.fm", "D:\\docs\\"},
        {"D:\\docs\\", "", "D:\\docs\\"},
        {"a.fm", "", ""},  // no folder: the empty text, never a NULL string
        {"D:/docs/a.fm", "", ""},
        {"", EmptySentinel, EmptySentinel},
    };
    for (const Case &c : cases) {
        StringT name = nullptr, folder = nullptr;
        om_PathDocFileName(0, c.path, &name);
        om_PathDocFolder(0, c.path, &folder);
        EXPECT_STREQ(c.name, name) << c.path;
        EXPECT_STREQ(c.folder, folder) << c.path;
        F_ApiDeallocateString(&name);
        F_ApiDeallocateString(&folder);
    }
    host::ResetSession();
    F_ObjHandleT untitled = host::NewDocument("");
    F_ObjHandleT named = host::NewDocument("C:\\x\\y\\b.fm");
    StringT s = nullptr;
    om_PathDocFileName(untitled, "ignored\\z", &s);
    EXPECT_STREQ(EmptySentinel, s);
    F_ApiDeallocateString(&s);
    om_PathDocFileName(named, "ignored\\z", &s);
    EXPECT_STREQ("b.fm", s);
    F_ApiDeallocateString(&s);
    om_PathDocFolder(named, "", &s);
    EXPECT_STREQ("C:\\x\\y\\", s);
    F_ApiDeallocateString(&s);
}

TEST_F(DocFiles, NativeFileKeepsTablesWithTheirFormatAndTitle) {
    F_ObjHandleT doc = MakeDoc("t.fm");
    F_ObjHandleT first = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    F_TextLocT at{first, 5};
    F_ObjHandleT table = F_ApiNewTable(doc, "TranslationTableTemplate", 2, 2, 1, 0, &at);
    ASSERT_NE(0u, table);
    F_ApiSetInt(doc, table, FP_TblTitlePosition, 1);  // title on
    om_CellSetText(doc, table, 0, 2, 1, "id", 0);
    om_CellSetText(doc, table, 0, 2, 2, "text", 0);
    ASSERT_EQ(doc, om_DocSave(doc, "", -1, 1, 0, 0));
    ASSERT_EQ(1, om_DocClose(doc, 0));

    F_ObjHandleT again = om_DocOpen(Win("t.fm").c_str(), 0, 0, 1, 1, 1, 1);
    ASSERT_NE(0u, again);
    F_ObjHandleT found = om_DocFindTable(again, "", "TranslationTableTemplate", 1);
    ASSERT_NE(0u, found);
    F_ObjHandleT row = om_TableNthRowOfType(again, found, 1, 1);
    StringT cell = om_CellText(again, row, 2, 0, 0, 0);
    EXPECT_STREQ("text", cell);
    F_ApiDeallocateString(&cell);
    EXPECT_EQ(1, F_ApiGetInt(again, found, FP_TblTitlePosition));
    EXPECT_EQ(0, F_ApiGetInt(again, F_ApiGetId(again, found, FP_FirstRowInTbl), FP_RowType));  // heading row kept
}

TEST_F(DocFiles, NewParagraphsGoAfterTheirPredecessorOrFirstInTheFrame) {
    F_ObjHandleT doc = MakeDoc("p.fm");
    F_ObjHandleT alpha = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    F_ObjHandleT beta = F_ApiGetId(doc, alpha, FP_NextPgfInFlow);
    F_ObjHandleT mid = om_PgfInsertNew(doc, alpha, "Body", "middle", 2);
    ASSERT_NE(0u, mid);
    EXPECT_EQ(mid, F_ApiGetId(doc, alpha, FP_NextPgfInFlow));
    EXPECT_EQ(beta, F_ApiGetId(doc, mid, FP_NextPgfInFlow));
    EXPECT_EQ("middle", qv::PgfText(doc, mid, -1, false, false));
    F_ObjHandleT top = om_PgfInsertNew(doc, alpha, "Body", "top", 1);  // before the frame's first
    ASSERT_NE(0u, top);
    EXPECT_EQ(top, F_ApiGetId(0, doc, FP_FirstPgfInDoc));
    EXPECT_EQ(alpha, F_ApiGetId(doc, top, FP_NextPgfInFlow));
    FA_errno = 0;
    EXPECT_EQ(0u, F_ApiNewSeriesObject(doc, FO_Pgf, 0));
    EXPECT_NE(0, FA_errno);
}

}  // namespace
