// Book and document maintenance: deleting formats, unused master pages and variable definitions
// with their protected names, book clean-ups, find and paste, saving a book into another folder
// with its cross-references rewritten (mixed separators and case), closing and saving together.
#include "periphery_fixture.h"

#include "clipboard.h"
#include "lib/host/books.h"
#include "lib/host/docio.h"
#include "lib/dialogs/maintenance.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"

namespace {

class Maintenance : public PeripheryDoc {
  protected:
    std::vector<std::string> Names(IntT first, IntT next, IntT name = FP_Name) {
        std::vector<std::string> out;
        for (F_ObjHandleT o = F_ApiGetId(0, doc, first); o; o = F_ApiGetId(doc, o, next)) {
            StringT s = F_ApiGetString(doc, o, name);
            out.push_back(s ? s : "");
            F_ApiDeallocateString(&s);
        }
        return out;
    }
    std::vector<std::string> MasterPages() { return Names(FP_FirstMasterPageInDoc, FP_PageNext); }
    std::vector<std::string> Variables() { return Names(FP_FirstVarFmtInDoc, FP_NextVarFmtInDoc); }
};

TEST_F(Maintenance, DeletingFormatsStopsAtTheFormatTheHostKeeps) {
    for (const char *f : {"Heading", "Note"}) host::AddNamed(doc, FO_PgfFmt, f);
    for (const char *f : {"Bold", "Red"}) host::AddNamed(doc, FO_CharFmt, f);
    Answer("no");
    EXPECT_EQ(-1, om_DocDeleteFormats(doc, " ", 1));
    EXPECT_TRUE(Shown("This will delete every paragraph format out of the active document"));
    Answer("fail");  // a question the host could not ask is no consent
    EXPECT_EQ(-1, om_DocDeleteFormats(doc, " ", 1));
    EXPECT_EQ(2, om_DocDeleteFormats(doc, " ", 0));  // three formats, the last one is kept
    EXPECT_NE(0u, F_ApiGetId(0, doc, FP_FirstPgfFmtInDoc));
    Answer("yes");
    EXPECT_EQ(2, om_DocDeleteFormats(doc, "!", 1));
    EXPECT_EQ(0u, F_ApiGetId(0, doc, FP_FirstCharFmtInDoc));
    EXPECT_EQ(-1, om_DocDeleteFormats(0, " ", 0));
}

TEST_F(Maintenance, UnusedMasterPagesGoButLeftAndRightStay) {
    Para("text");
    for (const char *p : {"Left", "Unused", "Right", "Chapter", "Spare"}) host::AddNamedPage(doc, FO_MasterPage, p);
    F_ApiSetString(doc, FirstBodyPage(), FP_MasterPage, "Chapter");
    EXPECT_EQ(2, om_DocDeleteUnusedMasterPages(doc, 0));
    EXPECT_EQ((std::vector<std::string>{"Left", "Right", "Chapter"}), MasterPages());
    EXPECT_EQ(0, om_DocDeleteUnusedMasterPages(doc, 0));
    Answer("no");
    EXPECT_EQ(-1, om_DocDeleteUnusedMasterPages(doc, 1));
}

TEST_F(Maintenance, VariablesKeepTheProtectedNamesAndSystemVariables) {
    struct Case {
        const char *name;
        bool system, kept;
    } cases[] = {
        {"ProductName", false, true},   {"ProductNameShort", false, true}, {"DocumentTitle", false, true},
        {"IssueNumber", false, true},   {"PartNumber", false, true},       {"BleedTab", false, true},
        {"BleedTab3 (x)", false, true}, {"bleedtab", false, false},        {"productname", false, false},
        {"Page Count", true, true},     {"Customer", false, false},        {"PartNumbers", false, false},
    };
    std::vector<std::string> kept;
    for (const Case &c : cases) {
        F_ObjHandleT v = F_ApiNewNamedObject(doc, FO_VarFmt, c.name);
        if (c.system) F_ApiSetInt(doc, v, FP_VarIsSystemVar, 1);
        if (c.kept) kept.push_back(c.name);
    }
    EXPECT_EQ(4, om_DocDeleteVariables(doc, 0));
    EXPECT_EQ(kept, Variables());
}

TEST_F(Maintenance, FindAndPasteGoesOnAfterWhatWasPasted) {
    Para("a cat and a cat");
    Para("cat");
    host::SetClipboardText("dog");
    EXPECT_EQ(0, om_DocFindAndPaste(doc, "cat", 0));  // stepping through without pasting
    EXPECT_EQ(3, om_DocFindAndPaste(doc, "cat", 1));
    EXPECT_EQ("a dog and a dog", qv::PgfText(doc, F_ApiGetId(0, doc, FP_FirstPgfInDoc), -1, false, false));
    // Pasted text holding the searched text is not searched again (else each paste would be
    // found and pasted over until the find limit).
    Para("xa ya");
    host::SetClipboardText("aa");
    EXPECT_EQ(5, om_DocFindAndPaste(doc, "a", 1));
    F_ObjHandleT first = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    EXPECT_EQ("aa dog aand aa dog", qv::PgfText(doc, first, -1, false, false));
    F_ObjHandleT third = F_ApiGetId(doc, F_ApiGetId(doc, first, FP_NextPgfInFlow), FP_NextPgfInFlow);
    EXPECT_EQ("xaa yaa", qv::PgfText(doc, third, -1, false, false));
    EXPECT_EQ(0, om_DocFindAndPaste(0, "x", 1));
    EXPECT_TRUE(Shown("No document ID sent. Can't continue."));
}

// Two chapters in dir/from: ch2 holds a cross-reference to ch1's paragraph "c1".
class BookSave : public Maintenance {
  protected:
    void SetUp() override {
        Maintenance::SetUp();
        from = dir / "from";
        to = dir / "to";
        std::filesystem::create_directories(from);
        std::filesystem::create_directories(to);
    }
    F_ObjHandleT Chapter(const std::string &name, const std::string &text) {
        doc = NewDoc(Win(from / name));
        host::AttrDef id;
        id.name = "id";
        id.type = FV_AT_UNIQUE_ID;
        host::AddAttributeDef(paraDef, id);
        F_ObjHandleT p = Para(text);
        host::SetAttribute(doc, p, "id", {name.substr(0, 3)});
        return doc;
    }
    // A cross-reference in the document to an ID of a source file.
    F_ObjHandleT XRef(F_ObjHandleT d, const std::string &file, const std::string &id) {
        F_ObjHandleT def = host::AddElementDef(d, "XRef", FV_FO_XREF);
        F_ObjHandleT e = host::AppendElement(d, Para("see "), def);
        F_ObjHandleT x = F_ApiGetId(d, e, FP_Object);
        F_ApiSetString(d, x, FP_XRefFile, file.c_str());
        F_ApiSetString(d, x, FP_XRefSrcText, (id + ":Para:").c_str());
        return x;
    }
    F_ObjHandleT MakeBook() {
        F_ObjHandleT c1 = Chapter("ch1.fm", "Target paragraph");
        om_DocSave(c1, Win(from / "ch1.fm").c_str(), 0, 0, 0, 0);
        F_ObjHandleT c2 = Chapter("ch2.fm", "Second chapter");
        // Written with forward slashes and another case than the book lists it.
        std::string mixed = Win(from / "CH1.FM");
        std::replace(mixed.begin(), mixed.end(), '\\', '/');
        XRef(c2, mixed, "ch1");
        om_DocSave(c2, Win(from / "ch2.fm").c_str(), 0, 0, 0, 0);
        F_ObjHandleT book = host::NewBook(Win(from / "b.book"), "Book");
        host::AddBookComponent(book, 0, Win(from / "ch1.fm"), FV_BK_DOC_FILE, "Chapter");
        host::AddBookComponent(book, 0, Win(from / "ch2.fm"), FV_BK_DOC_FILE, "Chapter");
        om_DocSave(book, Win(from / "b.book").c_str(), 0, 0, 0, 0);
        return book;
    }
    std::filesystem::path from, to;
};

TEST_F(BookSave, CrossReferencesFollowTheBookIntoAnotherFolder) {
    F_ObjHandleT book = MakeBook();
    StringT failed = nullptr;
    F_ObjHandleT saved = om_BookSaveAsRenamed(book, Win(to).c_str(), &failed, 0, 0);
    ASSERT_NE(0u, saved) << StatusCode << " " << (failed ? failed : "");
    om_StrFree(&failed);
    EXPECT_EQ(0, StatusCode);
    ASSERT_TRUE(std::filesystem::exists(to / "b.book"));
    ASSERT_TRUE(std::filesystem::exists(to / "ch1.fm"));
    ASSERT_TRUE(std::filesystem::exists(to / "ch2.fm"));

    // A fresh session: the saved book lists the new files, and its cross-reference resolves there.
    host::ResetSession();
    std::filesystem::remove_all(from);
    F_ObjHandleT reopened = om_DocOpen(Win(to / "b.book").c_str(), 0, 0, 1, 1, 0, 1);
    ASSERT_NE(0u, reopened);
    for (const std::string &p : om_BookComponentPaths(reopened)) EXPECT_EQ(0u, p.find(Win(to))) << p;
    ASSERT_EQ(2, om_BookWalkCount(reopened, FV_BK_DOC_FILE));
    F_ObjHandleT c1 = om_DocOpen(Win(to / "ch1.fm").c_str(), 0, 0, 1, 1, 0, 1);
    F_ObjHandleT c2 = om_DocOpen(Win(to / "ch2.fm").c_str(), 0, 0, 1, 1, 0, 1);
    ASSERT_NE(0u, c1);
    ASSERT_NE(0u, c2);
    F_ObjHandleT x = F_ApiGetId(0, c2, FP_FirstXRefInDoc);
    StringT file = F_ApiGetString(c2, x, FP_XRefFile);
    EXPECT_EQ(Win(to / "ch1.fm"), std::string(file));
    F_ApiDeallocateString(&file);
    EXPECT_EQ(0, F_ApiUpdateXRefs(c2, 7));
    F_TextRangeT r = F_ApiGetTextRange(c2, x, FP_TextRange);
    EXPECT_EQ("see Target paragraph", qv::PgfText(c2, r.beg.objId, -1, false, false));
}

TEST_F(BookSave, FailuresSayWhatAndWhere) {
    F_ObjHandleT book = MakeBook();
    StringT failed = nullptr;
    EXPECT_EQ(0u, om_BookSaveAsRenamed(book, Win(dir / "absent").c_str(), &failed, 0, 0));
    EXPECT_EQ(224, StatusCode);
    EXPECT_EQ(1, CancelFlag);
    EXPECT_EQ(0u, om_BookSaveAsRenamed(book, Win(from).c_str(), &failed, 0, 0));  // its own folder
    EXPECT_EQ(217, StatusCode);
    EXPECT_EQ(Win(from / "b.book"), std::string(failed));
    om_StrFree(&failed);
    EXPECT_EQ(0u, om_BookSaveAsRenamed(0, Win(to).c_str(), nullptr, 0, 0));
    EXPECT_EQ(200, StatusCode);
}

TEST_F(BookSave, CleanUpRunsOverTheBook) {
    F_ObjHandleT book = MakeBook();
    for (F_ObjHandleT d : host::TheSession().openDocs) host::AddNamed(d, FO_CharFmt, "Emphasis");
    Answer("yes");
    EXPECT_EQ(2, om_BookCleanUp(book, 2, 0, 1, 1));
    EXPECT_TRUE(Shown("2 character formats deleted throughout the book.\n\n Note that no files have been saved."));
    host::ClearTranscript();
    Answer("ok");  // the alert showing the rewritten name
    EXPECT_EQ(1, om_BookCleanUp(book, 5, 0, 1, 1));  // asks nothing first
    EXPECT_TRUE(Shown("1 xrefs processed throughout the book."));
    EXPECT_FALSE(Shown("Are you sure"));
    EXPECT_EQ(-1, om_BookCleanUp(book, 8, 0, 0, 0));
    EXPECT_EQ(-1, om_BookCleanUp(0, 1, 0, 0, 0));

    F_ApiClose(host::TheSession().openDocs.back(), 1);
    host::ClearTranscript();
    Answer("yes");
    EXPECT_EQ(0, om_BookCleanUp(book, 6, 0, 1, 0));
    EXPECT_TRUE(Shown("Some files in the book are not currently open. These files were not processed."));
}

TEST_F(BookSave, ClosingAndSavingTogether) {
    size_t before = host::TheSession().openDocs.size();
    F_ObjHandleT book = MakeBook();
    EXPECT_EQ(book, om_BookSaveAll(book, 1));
    EXPECT_EQ(1, om_BookCloseComponents(book, 1, 0));
    EXPECT_EQ(before, host::TheSession().openDocs.size());
    EXPECT_TRUE(host::TheSession().openBooks.empty());

    doc = NewDoc("Z:\\t\\tagged1.fm");
    F_ObjHandleT tag = F_ApiNewNamedObject(doc, FO_VarFmt, "OrleMeadowTag");
    F_ApiSetString(doc, tag, FP_Fmt, "settings");
    F_ApiSetInt(0, doc, FP_IsOnScreen, 0);
    F_ObjHandleT visible = NewDoc("Z:\\t\\tagged2.fm");
    F_ApiSetString(visible, F_ApiNewNamedObject(visible, FO_VarFmt, "OrleMeadowTag"), FP_Fmt, "settings");
    NewDoc("Z:\\t\\plain.fm");
    EXPECT_EQ(1, om_DocCloseTagged(1, "settings", "Doc"));  // the invisible one only
    EXPECT_EQ(0, om_DocCloseTagged(0, "settings", "Other"));
    EXPECT_EQ(1, om_DocCloseTagged(0, "settings", ""));
    EXPECT_EQ(before + 1, host::TheSession().openDocs.size());
}

}  // namespace
