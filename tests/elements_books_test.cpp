// Open documents and books: finding and listing them, the book component walk, components and
// their documents, the ".book" file, and condition removal over a document's elements.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "book_model.h"
#include "client.h"
#include "lib/dialogs/generic.h"
#include "elements_fixture.h"
#include "lib/host/books.h"
#include "lib/dialogs/condition_removal.h"
#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "paths.h"
#include "records.h"
#include "transcript.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

// The plug-in as a client whose module holds the dialog resources (the status box).
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", [](IntT) {}, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

// A book of three chapters, the second inside a folder, the third a group holding nothing:
//   Book
//     a.fm (512)
//     Part (2)
//       b.fm (512)
//       c.fm (512)
//     Empty (64)
class Books : public ElementsDoc {
  protected:
    void SetUp() override {
        ElementsDoc::SetUp();
        a = host::NewDocument("Z:\\books\\a.fm");
        host::AppendElement(a, 0, host::AddElementDef(a, "ChapA"), host::MainFlow(a));
        b = host::NewDocument("Z:\\books\\b.fm");
        c = host::NewDocument("Z:\\books\\c.fm", "", false);  // invisible
        untitled = host::NewDocument("");
        book = host::NewBook("Z:\\books\\all.book", "Book");
        ca = host::AddBookComponent(book, 0, "Z:\\books\\a.fm", 512, "Chapter");
        part = host::AddBookComponent(book, 0, "", 2, "Part");
        cb = host::AddBookComponent(book, part, "z:/BOOKS/b.fm", 512, "Chapter");
        cc = host::AddBookComponent(book, part, "Z:\\books\\c.fm", 512, "Chapter");
        group = host::AddBookComponent(book, 0, "", 64, "Empty");
        om_BookWalkReset(1);
    }
    F_ObjHandleT a = 0, b = 0, c = 0, untitled = 0, book = 0, ca = 0, part = 0, cb = 0, cc = 0, group = 0;
};

TEST_F(Books, WalkYieldsComponentsInPreOrderAndEndsByRemovingTheCursor) {
    std::vector<F_ObjHandleT> all;
    for (F_ObjHandleT x = om_BookWalkFirst(book, -1); x; x = om_BookWalkNext(book, -1)) all.push_back(x);
    EXPECT_EQ(all, (std::vector<F_ObjHandleT>{ca, part, cb, cc, group}));
    EXPECT_EQ(om_BookWalkCurrent(book), 0u);
    EXPECT_EQ(om_BookWalkNext(book, -1), 0u);
    std::vector<F_ObjHandleT> docs;
    for (F_ObjHandleT x = om_BookWalkFirst(book, 512); x; x = om_BookWalkNext(book, 512)) docs.push_back(x);
    EXPECT_EQ(docs, (std::vector<F_ObjHandleT>{ca, cb, cc}));
    EXPECT_EQ(om_BookWalkCount(book, 512), 3);
    EXPECT_EQ(om_BookWalkCount(book, 64), 1);
    EXPECT_EQ(om_BookWalkFirst(0, -1), 0u);
    // A first component that is a container: the first document inside it.
    F_ObjHandleT nested = host::NewBook("Z:\\books\\n.book", "Book");
    F_ObjHandleT folder = host::AddBookComponent(nested, 0, "", 2, "Part");
    F_ObjHandleT inner = host::AddBookComponent(nested, folder, "Z:\\books\\a.fm", 512, "Chapter");
    EXPECT_EQ(om_BookWalkFirst(nested, 512), inner);
    EXPECT_EQ(om_BookWalkCurrent(nested), inner);
}

TEST_F(Books, EmptyContainersAreDeleted) {
    EXPECT_EQ(om_BookDeleteEmptyContainers(book, 1, 1), 1);
    EXPECT_EQ(om_BookWalkCount(book, -1), 4);
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetInt(book, group, FP_ComponentType), 0);  // stale
    EXPECT_NE(FA_errno, 0);
}

TEST_F(Books, OpenDocumentsInHostOrderWithTheirFlags) {
    EXPECT_EQ(om_DocGetOpenIds(0, 0, 0), (std::vector<UIntT>{doc, a, b}));
    EXPECT_EQ(om_DocGetOpenIds(1, 1, 1), (std::vector<UIntT>{doc, a, b, c, untitled, book}));
    EXPECT_EQ(om_DocGetOpenPaths(1, 1, 1, 0, 1, a),
              (std::vector<std::string>{"elements.fm", "b.fm", "all.book"}));
    EXPECT_EQ(om_DocKindIfOpen(0, doc), FO_Doc);
    EXPECT_EQ(om_DocKindIfOpen(0, p1), FO_Element);
    EXPECT_EQ(om_DocKindIfOpen(0, book), FO_Book);
    F_ApiClose(b, 1);
    EXPECT_EQ(om_DocKindIfOpen(0, b), 0);
    EXPECT_EQ(om_DocIsOpen(b), 0);
    EXPECT_EQ(om_BookIsOpen(book), 1);
    EXPECT_EQ(om_BookIsId(book), 1);
}

TEST_F(Books, FindingOpenDocuments) {
    // A document id is returned as it is, open or not.
    const F_ObjHandleT anyDocId = (4u << 24) | 123456u;
    EXPECT_EQ(om_DocFindOpen(std::to_string(anyDocId), 0, 0), anyDocId);
    EXPECT_EQ(om_DocFindOpen("z:/BOOKS/A.FM", 0, 0), a);
    EXPECT_EQ(om_DocFindOpen("b.fm", 0, 0), b);
    EXPECT_EQ(om_DocFindOpen("books\\c", 1, 0), c);
    EXPECT_EQ(om_DocFindOpen("all.book", 0, 0), 0u);
    EXPECT_EQ(om_DocFindOpen("all.book", 0, 1), book);
    EXPECT_EQ(om_DocFindOpen(std::to_string(book), 0, 1), book);
    EXPECT_EQ(om_DocFindOpen("", 0, 1), 0u);
    EXPECT_EQ(om_DocFindByPath("(Unsaved document)"), untitled);
    EXPECT_EQ(om_DocFindByPath("Z:\\BOOKS\\A.FM"), a);
    EXPECT_EQ(om_BookFindByPath("z:\\books\\ALL.book"), book);
    EXPECT_EQ(om_DocFindByLabel("b.FM", 0, 0, 0), b);
    EXPECT_EQ(om_DocFindByLabel("b.FM", 0, 0, 1), 0u);
    EXPECT_EQ(om_DocFindByLabel("c.f", 0, 1, 1), c);
    EXPECT_EQ(om_DocFindByRootTag("chapa", 0), a);
    EXPECT_EQ(om_ObjectIdFromText(doc, std::to_string(p1)), p1);
    EXPECT_EQ(om_ObjectIdFromText(doc, "12"), 0u);
}

TEST_F(Books, ComponentsResolveToOpenDocuments) {
    EXPECT_EQ(om_BookComponentDoc(book, 0, 0, 0, 0, 0, 0, nullptr), a);  // index 0: the first component
    F_ObjHandleT rootOut = 0;
    EXPECT_EQ(om_BookComponentDoc(book, cb, 0, 0, 0, 0, 0, &rootOut), b);  // path written otherwise
    EXPECT_EQ(rootOut, F_ApiGetId(0, b, FP_FirstFlowInDoc));               // b has no elements
    EXPECT_EQ(om_BookComponentDoc(book, 0, F_ApiGetId(book, cc, FP_ComponentElement), 0, 0, 0, 0, nullptr), c);
    EXPECT_EQ(om_BookComponentDoc(book, 2, 0, 0, 0, 0, 0, nullptr), b);  // two steps in book order
    EXPECT_EQ(om_BookOfDoc(c), book);
    EXPECT_EQ(om_BookOfDoc(doc), 0u);
    EXPECT_EQ(om_BookComponentOfDoc(0, c, ""), cc);
    F_ObjHandleT bookOut = 0;
    EXPECT_EQ(om_DocBookComponentElement(a, "", &bookOut), F_ApiGetId(book, ca, FP_ComponentElement));
    EXPECT_EQ(bookOut, book);
    EXPECT_EQ(om_BookAllComponentsOpen(book), 1);
    EXPECT_EQ(om_BookFirstComponentDoc(book, 0, 0), a);
    EXPECT_EQ(om_BookNextComponentDoc(book, a, 0, 0, 0), b);
    EXPECT_EQ(om_BookNextComponentDoc(book, c, 0, 1, 0), a);  // wraps to the first
    EXPECT_EQ(om_BookNextComponentDoc(book, c, 0, 0, 0), 0u);
    EXPECT_EQ(om_BookComponentPaths(book).size(), 3u);
    EXPECT_EQ(om_BookCountComponents(book), 3);
    F_ApiClose(b, 1);
    EXPECT_EQ(om_BookAllComponentsOpen(book), 0);
    EXPECT_EQ(om_BookNextComponentDoc(book, a, 0, 0, 0), 0u);  // b is closed, no skipping
    EXPECT_EQ(om_BookNextComponentDoc(book, a, 0, 0, 1), c);   // skipping closed ones
}

TEST_F(Books, BookElementsCrossIntoComponentDocuments) {
    F_ObjHandleT bookRoot = om_ElementHighestLevel(book, "", 0);
    ASSERT_NE(bookRoot, 0u);
    EXPECT_EQ(HostGetString(book, F_ApiGetId(book, bookRoot, FP_ElementDef), FP_Name), "Book");
    F_ObjHandleT chapterElem = F_ApiGetId(book, ca, FP_ComponentElement);
    EXPECT_EQ(F_ApiGetId(book, chapterElem, FP_BookComponent), ca);
    EXPECT_EQ(F_ApiGetId(book, bookRoot, FP_FirstChildElement), chapterElem);
    F_ObjHandleT docOut = 0;
    EXPECT_EQ(om_ElementFirstChildAcross(book, chapterElem, &docOut), om_ElementHighestLevel(a, "", 0));
    EXPECT_EQ(docOut, a);
    F_ObjHandleT bookOut = 0;
    EXPECT_EQ(om_ElementParentAcross(a, om_ElementHighestLevel(a, "", 0), &bookOut), chapterElem);
    EXPECT_EQ(bookOut, book);
}

TEST_F(Books, BookFilesRoundTripAndBadFilesAreRefused) {
    std::string dir = (std::filesystem::temp_directory_path() / ("qv_books_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(dir);
    std::string wdir = host::WindowsPath(dir);
    std::string path = wdir + "\\saved.book";
    F_PropValsT params = F_ApiGetSaveDefaultParams();
    EXPECT_EQ(F_ApiSave(book, path.c_str(), &params, nullptr), book);
    F_ApiDeallocatePropVals(&params);
    F_ApiClose(book, 1);
    EXPECT_EQ(om_BookIsOpen(book), 0);
    F_PropValsT open = F_ApiGetOpenDefaultParams();
    F_ObjHandleT again = F_ApiOpen(path.c_str(), &open, nullptr);
    ASSERT_NE(again, 0u);
    EXPECT_EQ(F_OBJ_KIND(again), FO_Book);
    std::vector<std::string> paths = om_BookComponentPaths(again);
    EXPECT_EQ(paths, (std::vector<std::string>{"Z:\\books\\a.fm", "z:/BOOKS/b.fm", "Z:\\books\\c.fm"}));
    om_BookWalkReset(1);
    EXPECT_EQ(om_BookWalkCount(again, -1), 5);
    // Relative component paths are taken from the book's folder; a broken book is refused.
    std::ofstream(dir + "/rel.book") << "<qvbook root=\"B\"><component type=\"512\" path=\"x.fm\"/></qvbook>";
    F_ObjHandleT rel = F_ApiOpen((wdir + "\\rel.book").c_str(), &open, nullptr);
    ASSERT_NE(rel, 0u);
    EXPECT_EQ(om_BookComponentPaths(rel), std::vector<std::string>{wdir + "\\x.fm"});
    std::ofstream(dir + "/bad.book") << "<qvbook><component type=\"7\"/></qvbook>";
    FA_errno = 0;
    EXPECT_EQ(F_ApiOpen((wdir + "\\bad.book").c_str(), &open, nullptr), 0u);
    EXPECT_NE(FA_errno, 0);
    F_ApiDeallocatePropVals(&open);
    std::filesystem::remove_all(dir);
}

TEST_F(Books, ConditionRemovalEmptiesEveryRunAndRow) {
    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    SetConditions(doc, F_ApiGetTextRange(doc, root, FP_TextRange), {static_cast<IntT>(draft)});
    F_ElementLocT place{s2, empty, 0};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &place);
    F_ObjHandleT tbl = F_ApiNewTable(doc, "F", 1, 1, 0, 0, &at);
    F_ObjHandleT row = F_ApiGetId(doc, tbl, FP_FirstRowInTbl);
    F_IntsT tags = host::NewInts({static_cast<IntT>(draft)});
    F_ApiSetInts(doc, row, FP_InCond, &tags);
    F_ApiFreeIntList(&tags);
    om_FlowRemoveConditions(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), 1);
    F_IntsT rowTags = F_ApiGetInts(doc, row, FP_InCond);
    EXPECT_EQ(rowTags.len, 0u);
    F_ApiFreeIntList(&rowTags);
    for (F_ObjHandleT e : {p1, b, nested, title}) {
        F_TextRangeT r = F_ApiGetTextRange(doc, e, FP_TextRange);
        F_PropValT v = F_ApiGetTextPropVal(doc, &r.beg, FP_InCond);
        EXPECT_EQ(v.propVal.isval.len, 0u);
        F_ApiFreeIntList(&v.propVal.isval);
    }
}

TEST_F(Books, BookConditionPassSkipsClosedDocumentsAndStopsOnAConfirmedEsc) {
    F_ObjHandleT draft = F_ApiNewNamedObject(a, FO_CondFmt, "Draft");
    F_ObjHandleT chapter = om_ElementHighestLevel(a, "", 0);
    host::AppendText(a, chapter, "text");
    F_TextRangeT r = F_ApiGetTextRange(a, chapter, FP_TextRange);
    SetConditions(a, r, {static_cast<IntT>(draft)});
    auto tagsAtStart = [&] {
        F_PropValT v = F_ApiGetTextPropVal(a, &r.beg, FP_InCond);
        UIntT n = v.propVal.isval.len;
        F_ApiFreeIntList(&v.propVal.isval);
        return n;
    };
    // Esc during the first document's pass, confirmed: nothing is changed, the run says so.
    host::ResetClients();
    host::LoadClientInProcess(ClientInit, "");
    host::ResetUser();
    host::EscOnPoll(1);
    host::UserAnswer yes;
    yes.kind = "alert";
    yes.value = "yes";
    host::QueueAnswer(yes);
    host::ClearTranscript();
    EXPECT_EQ(om_BookRemoveConditions(book, 0, 1), 0);
    EXPECT_EQ(tagsAtStart(), 1u);
    bool told = false;
    for (const std::string &l : host::TranscriptLines())
        if (l.find("Operation cancelled.") != std::string::npos) told = true;
    EXPECT_TRUE(told);
    // Without Esc: the open chapters are cleared, a closed one stays closed.
    host::ResetUser();
    F_ApiClose(b, 1);
    EXPECT_EQ(om_BookRemoveConditions(book, 0, 1), 0);
    EXPECT_EQ(tagsAtStart(), 0u);
    EXPECT_EQ(om_DocFindByPath("Z:\\books\\b.fm"), 0u);
    om_DlgCloseStatus();
    host::ResetClients();
}

TEST_F(Books, HostWideOperations) {
    EXPECT_EQ(om_DocActivate(c), c);
    EXPECT_EQ(F_ApiGetInt(0, c, FP_IsOnScreen), 1);
    F_ApiSetId(0, 0, FP_ActiveBook, book);
    EXPECT_EQ(om_BookActive(), book);
    om_DocBringToFront(book, 1);
    EXPECT_EQ(F_ApiGetInt(0, book, FP_IsInFront), 1);
    F_ApiSetString(0, b, FP_Label, "Structure View");
    EXPECT_EQ(om_DocIsStructureView(b), 1);
    EXPECT_EQ(om_DocFindStructureView(), b);
    F_ApiSetInt(0, a, FP_ScreenX, 17);
    om_DocRefreshWindow(a);
    EXPECT_EQ(F_ApiGetInt(0, a, FP_ScreenX), 17);
    EXPECT_EQ(F_ApiGetInt(0, a, FP_IsOnScreen), 1);
}

}  // namespace
