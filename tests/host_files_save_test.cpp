// Saving never loses or damages a file: a failure at any step of the write keeps the old file and
// names its cause; a save in place keeps the mode, symbolic and hard links and refuses a
// read-only file; a save writes only the files the document owns; what an XML save writes opens
// again; books are saved the same way and keep their component paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "book_model.h"
#include "docfile_api.h"
#include "docfile_xml.h"
#include "fdk.h"
#include "model.h"
#include "safe_save.h"
#include "user_actions.h"
#include "support/host_files_dump.h"
#include "support/host_files_fixture.h"

namespace fs = std::filesystem;
using namespace host;
using safesave::Step;

namespace {

class HostFilesSave : public HostFilesFixture {
  protected:
    HostFilesSave() : HostFilesFixture("qv_files_save_") {}
    void TearDown() override {
        safesave::FailNextForTest(Step::None, 0);
        HostFilesFixture::TearDown();
    }
    fs::path Write(const std::string &name, const std::string &content, fs::perms mode = fs::perms(0644)) {
        fs::path p = dir / name;
        fs::create_directories(p.parent_path());
        if (fs::exists(p)) fs::permissions(p, fs::perms(0644));
        std::ofstream(p, std::ios::binary) << content;
        fs::permissions(p, mode);
        return p;
    }
    static std::string Read(const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static unsigned Mode(const fs::path &p) {
        struct stat st {};
        return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    // The files of a folder, temporary ones included.
    std::vector<std::string> Listing(const fs::path &folder) {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The first text node of the n-th element of that tag (document order).
    static Element *TextIn(F_ObjHandleT doc, const std::string &tag, int n) {
        Flow *flow = FlowOf(MainFlow(doc));
        std::vector<F_ObjHandleT> found;
        std::function<void(F_ObjHandleT)> walk = [&](F_ObjHandleT id) {
            Element *e = Elem(id);
            if (e && e->def && Def(e->def)->name == tag) found.push_back(id);
            for (F_ObjHandleT c = e ? e->first : 0; c; c = Elem(c)->next) walk(c);
        };
        if (flow) walk(flow->root);
        if (n >= static_cast<int>(found.size())) return nullptr;
        Element *e = Elem(found[static_cast<size_t>(n)]);
        return e->first && !Elem(e->first)->def ? Elem(e->first) : nullptr;
    }
};

const char kSmallXml[] = "<doc><p>one</p><p>two</p></doc>\n";

// A failure at any step of writing leaves the old file byte for byte, no temporary file, and the
// cause in words (never an error number), in both formats the host writes.
TEST_F(HostFilesSave, AFailedStepKeepsTheOldFileAndNamesTheCause) {
    struct Case {
        Step step;
        IntT format;
        const char *name;
    } cases[] = {
        {Step::Write, FV_SaveFmtXml, "x.xml"},  {Step::Flush, FV_SaveFmtXml, "x.xml"},
        {Step::Sync, FV_SaveFmtXml, "x.xml"},   {Step::Close, FV_SaveFmtXml, "x.xml"},
        {Step::Rename, FV_SaveFmtXml, "x.xml"}, {Step::Close, FV_SaveFmtBinary, "x.fm"},
        {Step::Flush, FV_SaveFmtBinary, "x.fm"}, {Step::Close, FV_SaveFmtText, "x.txt"},
    };
    fs::path source = Write("source.xml", kSmallXml);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " step " + std::to_string(static_cast<int>(c.step)));
        fs::remove_all(dir / "out");
        fs::path target = Write("out/" + std::string(c.name), "old content\n");
        F_ObjHandleT doc = Open(source);
        ASSERT_NE(doc, 0u);
        safesave::FailNextForTest(c.step, ENOSPC);
        FA_errno = 0;
        EXPECT_EQ(Save(doc, target, c.format), 0u);
        EXPECT_EQ(FA_errno, FE_FileWrite);
        EXPECT_EQ(LastSaveFailure(), "No space left on device");
        EXPECT_EQ(Read(target), "old content\n");
        EXPECT_EQ(Listing(dir / "out"), std::vector<std::string>{c.name});
        // The document keeps its own path: the failed save did not rename it.
        EXPECT_EQ(Doc(doc)->path, Win(source));
        ASSERT_EQ(F_ApiClose(doc, 1), 0);
    }
}

// XML that would not read back (here a comment holding "--", which XML forbids) never takes the
// old file's place, whether or not the writing of its temporary copy fails as well: the save
// says why and leaves no temporary file.
TEST_F(HostFilesSave, XmlThatIsNotWellFormedKeepsTheOldFile) {
    for (Step step : {Step::None, Step::Sync}) {
        SCOPED_TRACE(static_cast<int>(step));
        fs::remove_all(dir / "out");
        fs::path target = Write("out/x.xml", kSmallXml);
        F_ObjHandleT doc = Open(target);
        ASSERT_NE(doc, 0u);
        ASSERT_NE(AppendMisc(doc, FlowOf(MainFlow(doc))->root, true, "a -- b"), 0u);
        safesave::FailNextForTest(step, ENOSPC);
        FA_errno = 0;
        EXPECT_EQ(Save(doc, "", FV_SaveFmtXml), 0u);
        EXPECT_EQ(FA_errno, FE_BadOperation);
        EXPECT_NE(LastSaveFailure().find("not well-formed"), std::string::npos) << LastSaveFailure();
        EXPECT_EQ(Read(target), kSmallXml);
        EXPECT_EQ(Listing(dir / "out"), std::vector<std::string>{"x.xml"});
        safesave::FailNextForTest(Step::None, 0);
        ASSERT_EQ(F_ApiClose(doc, 1), 0);
    }
}

// The user's save says what went wrong, by name.
TEST_F(HostFilesSave, TheUsersMessageNamesTheCause) {
    fs::path target = Write("x.xml", kSmallXml);
    F_ObjHandleT doc = Open(target);
    ASSERT_NE(doc, 0u);
    safesave::FailNextForTest(Step::Close, ENOSPC);
    std::string error;
    EXPECT_FALSE(UserSave(doc, &error));
    EXPECT_EQ(error, "cannot save \"" + Win(target) + "\": No space left on device");
}

// A temporary file left by a process that was killed is replaced, not tripped over.
TEST_F(HostFilesSave, AStaleTemporaryFileIsReplaced) {
    fs::path target = Write("x.xml", kSmallXml);
    Write("x.xml.qvsave~", "half a file from a killed save", fs::perms(0444));
    F_ObjHandleT doc = Open(target);
    ASSERT_NE(doc, 0u);
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
    EXPECT_EQ(Listing(dir), std::vector<std::string>{"x.xml"});
    EXPECT_NE(Read(target).find("<p>two</p>"), std::string::npos);
}

// A save in place keeps the file the user has: its mode, a symbolic link (the target gets the new
// text), hard links; a file read-only for the user is refused and left as it was.
TEST_F(HostFilesSave, ASaveInPlaceKeepsModeLinksAndReadOnlyFiles) {
    const std::string edited = "<doc><p>new</p></doc>\n";
    fs::path source = Write("new.xml", edited);

    fs::path privateFile = Write("private.xml", kSmallXml, fs::perms(0600));
    F_ObjHandleT doc = Open(source);
    ASSERT_EQ(Save(doc, privateFile, FV_SaveFmtXml), doc);
    EXPECT_EQ(Mode(privateFile), 0600u);
    EXPECT_NE(Read(privateFile).find("new"), std::string::npos);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    fs::path readOnly = Write("readonly.xml", kSmallXml, fs::perms(0444));
    doc = Open(source);
    EXPECT_EQ(Save(doc, readOnly, FV_SaveFmtXml), 0u);
    EXPECT_EQ(LastSaveFailure(), "the file is read-only");
    EXPECT_EQ(Read(readOnly), kSmallXml);
    EXPECT_EQ(Mode(readOnly), 0444u);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    fs::path real = Write("real.xml", kSmallXml, fs::perms(0640));
    fs::create_symlink("real.xml", dir / "link.xml");
    doc = Open(source);
    ASSERT_EQ(Save(doc, dir / "link.xml", FV_SaveFmtXml), doc);
    EXPECT_TRUE(fs::is_symlink(dir / "link.xml"));
    EXPECT_NE(Read(real).find("new"), std::string::npos);
    EXPECT_EQ(Mode(real), 0640u);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    fs::path first = Write("first.xml", kSmallXml);
    fs::create_hard_link(first, dir / "second.xml");
    doc = Open(source);
    // A failure while the new text goes into the linked file leaves both names with the old text.
    safesave::FailNextForTest(Step::Rename, EIO);
    EXPECT_EQ(Save(doc, first, FV_SaveFmtXml), 0u);
    EXPECT_EQ(Read(dir / "second.xml"), kSmallXml);
    EXPECT_EQ(Read(first), kSmallXml);
    ASSERT_EQ(Save(doc, first, FV_SaveFmtXml), doc);
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    EXPECT_NE(Read(dir / "second.xml").find("new"), std::string::npos);
    EXPECT_EQ(Read(dir / "second.xml"), Read(first));
    EXPECT_FALSE(fs::exists(dir / "first.xml.qvsave~"));
}

// A real full disk: a small memory file system (only where the test may mount one).
TEST_F(HostFilesSave, AFullDiskKeepsTheOldFile) {
    fs::path mountPoint = dir / "disk";
    fs::create_directories(mountPoint);
    if (mount("qvtest", mountPoint.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    struct Unmount {
        fs::path at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{mountPoint};
    std::string big = "<doc>";
    while (big.size() < 60000) big += "<p>some text of the document</p>";
    big += "</doc>\n";
    fs::path target = mountPoint / "x.xml";
    std::ofstream(target, std::ios::binary) << big;
    F_ObjHandleT doc = Open(target);
    ASSERT_NE(doc, 0u);
    // Fill the disk to a few pages short of the new file.
    struct statvfs vfs {};
    ASSERT_EQ(statvfs(mountPoint.c_str(), &vfs), 0);
    size_t room = vfs.f_bavail * vfs.f_bsize;
    ASSERT_GT(room, 3 * 4096u);
    std::ofstream(mountPoint / "filler", std::ios::binary) << std::string(room - 3 * 4096, 'f');
    EXPECT_EQ(Save(doc, "", FV_SaveFmtXml), 0u);
    EXPECT_EQ(LastSaveFailure(), "No space left on device");
    EXPECT_EQ(Read(target), big);
    EXPECT_FALSE(fs::exists(mountPoint / "x.xml.qvsave~"));
    fs::remove(mountPoint / "filler");
    EXPECT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
}

// An entity declared by a shared DTD in another folder is the DTD's, not the document's: a save
// (in place or elsewhere) leaves its file alone, and an edit of its content fails the save naming
// the entity and its file, with nothing written. A read-only entity file of the document's own
// folder is refused the same way.
TEST_F(HostFilesSave, ASaveWritesOnlyWhatTheDocumentOwns) {
    const std::string dtd = "<!ELEMENT doc (p|ch)*><!ELEMENT p (#PCDATA)><!ELEMENT ch (#PCDATA)>\n"
                            "<!ENTITY shared SYSTEM \"shared.xml\">\n";
    Write("shared/common.dtd", dtd, fs::perms(0444));
    fs::path sharedEntity = Write("shared/shared.xml", "<ch>shared text</ch>\n", fs::perms(0444));
    const std::string mainText = "<!DOCTYPE doc SYSTEM \"../shared/common.dtd\" [\n"
                                 "<!ENTITY own SYSTEM \"own.xml\">]>\n<doc><p>a</p>&shared;&own;</doc>\n";
    fs::path main = Write("a/main.xml", mainText);
    fs::path own = Write("a/own.xml", "<ch>own text</ch>\n");

    F_ObjHandleT doc = Open(main);
    ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
    ASSERT_EQ(Save(doc, dir / "b/main.xml", FV_SaveFmtXml), doc);
    EXPECT_EQ(Read(sharedEntity), "<ch>shared text</ch>\n");
    EXPECT_TRUE(fs::exists(dir / "b/own.xml"));
    EXPECT_FALSE(fs::exists(dir / "b/shared.xml"));

    Element *text = TextIn(doc, "ch", 0);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->text, "shared text");
    text->text = "edited in one copy";
    const std::string before = Read(dir / "b/main.xml");
    EXPECT_EQ(Save(doc, "", FV_SaveFmtXml), 0u);
    EXPECT_NE(LastSaveFailure().find("the entity \"shared\""), std::string::npos) << LastSaveFailure();
    EXPECT_NE(LastSaveFailure().find("shared.xml"), std::string::npos) << LastSaveFailure();
    EXPECT_EQ(Read(sharedEntity), "<ch>shared text</ch>\n");
    EXPECT_EQ(Read(dir / "b/main.xml"), before);
    text->text = "shared text";
    ASSERT_EQ(F_ApiClose(doc, 1), 0);

    fs::permissions(own, fs::perms(0444));
    doc = Open(main);
    ASSERT_NE(doc, 0u);
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);  // unchanged: nothing to write there
    const std::string mainSaved = Read(main);
    Element *ownText = TextIn(doc, "ch", 1);
    ASSERT_NE(ownText, nullptr);
    ASSERT_EQ(ownText->text, "own text");
    ownText->text = "changed";
    EXPECT_EQ(Save(doc, "", FV_SaveFmtXml), 0u);
    EXPECT_NE(LastSaveFailure().find("the entity \"own\""), std::string::npos) << LastSaveFailure();
    EXPECT_NE(LastSaveFailure().find("read-only"), std::string::npos) << LastSaveFailure();
    EXPECT_EQ(Read(own), "<ch>own text</ch>\n");
    EXPECT_EQ(Read(main), mainSaved);
}

// What an XML save writes opens again: a DOCTYPE read from a UTF-16 file (with or without a byte
// order mark) or from one in another encoding is kept, in the encoding the save writes.
TEST_F(HostFilesSave, TheDoctypeOfAnyEncodingIsKept) {
    const std::u16string text16 = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
                                  u"<!DOCTYPE doc [<!ENTITY ch SYSTEM \"ch.xml\"><!ENTITY e \"\u00e9t\u00e9\">]>\n"
                                  u"<doc><p>&e;</p>&ch;</doc>\n";
    auto utf16 = [&](bool bigEndian, bool bom) {
        std::string out;
        if (bom) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t c : text16) {
            char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
            out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
        return out;
    };
    struct Case {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"utf16le-bom", utf16(false, true)},
        {"utf16be-bom", utf16(true, true)},
        {"utf16le", utf16(false, false)},
        {"latin1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                   "<!DOCTYPE doc [<!ENTITY ch SYSTEM \"ch.xml\"><!ENTITY e \"\xE9t\xE9\">]>\n"
                   "<doc><p>&e;</p>&ch;</doc>\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::path source = Write(std::string(c.name) + "/doc.xml", c.bytes);
        Write(std::string(c.name) + "/ch.xml", "<p>chapter</p>\n");
        F_ObjHandleT doc = Open(source);
        ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
        const std::string tree = TreeDump(doc, false);
        fs::path saved = source.parent_path() / "saved.xml";
        ASSERT_EQ(Save(doc, saved, FV_SaveFmtXml), doc);
        std::string out = Read(saved);
        EXPECT_NE(out.find("<!DOCTYPE doc [<!ENTITY ch SYSTEM \"ch.xml\"><!ENTITY e \"\xC3\xA9t\xC3\xA9\">]>"),
                  std::string::npos)
            << out;
        ASSERT_EQ(F_ApiClose(doc, 1), 0);
        F_ObjHandleT again = Open(saved);
        ASSERT_NE(again, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
        EXPECT_EQ(TreeDump(again, false), tree);
        ASSERT_EQ(F_ApiClose(again, 1), 0);
    }
}

// The check an XML save makes before it replaces the old file.
TEST(HostFilesSaveCheck, WellFormedCheckFindsAnUndeclaredEntity) {
    std::string error;
    EXPECT_TRUE(docfile::CheckWellFormed("<!DOCTYPE a [<!ENTITY c SYSTEM \"c.xml\">]>\n<a>&c;</a>", error)) << error;
    EXPECT_FALSE(docfile::CheckWellFormed("<!DOCTYPE a [\n<!ELEMENT a ANY>]>\n<a>&ch;</a>", error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_NE(error.find("ch"), std::string::npos) << error;

    // The check reads long files in pieces: a fault far into the file is found, with its line.
    std::string longText = "<a>";
    for (int i = 0; i < 40000; ++i) longText += "<p n=\"" + std::to_string(i) + "\">text &amp; more</p>\n";
    EXPECT_TRUE(docfile::CheckWellFormed(longText + "</a>", error)) << error;
    EXPECT_FALSE(docfile::CheckWellFormed(longText + "<p></a>", error));
    EXPECT_NE(error.find("line 40001"), std::string::npos) << error;
    EXPECT_FALSE(docfile::CheckWellFormed(longText, error)) << "a file cut short";
}

// The check follows a file as its writer hands it over from another thread, piece by piece, cut
// anywhere (in a name, a reference, a character of several bytes): it answers for the whole file.
TEST(HostFilesSaveCheck, WellFormedCheckFollowsTheWritersPieces) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\n<p n=\"1\">caf\xC3\xA9 &amp; more</p>\n";
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<size_t> cuts;  // where one piece ends and the next begins
        bool wellFormed;
        const char *fault;  // what the error names
    } cases[] = {
        {"whole", head + "</a>\n", {}, true, ""},
        {"cut in names, a reference and a character", head + "</a>\n", {1, 3, 45, 56, 60, 62, 64}, true, ""},
        {"a fault in the last piece", head + "<q></a>\n", {20, 40}, false, "line 4"},
        {"cut short", head, {30}, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        docfile::XmlPieces pieces;
        std::string error;
        auto check = std::async(std::launch::async, [&] { return docfile::CheckWellFormed(pieces, error); });
        size_t at = 0;
        for (size_t cut : c.cuts) {
            pieces.Add(c.bytes.substr(at, cut - at));
            at = cut;
        }
        pieces.Add(c.bytes.substr(at));
        pieces.Finish();
        EXPECT_EQ(check.get(), c.wellFormed) << error;
        EXPECT_NE(error.find(c.fault), std::string::npos) << error;
        std::string whole;
        for (std::string_view v : pieces.Views()) whole += v;
        EXPECT_EQ(whole, c.bytes);
    }
}

// A file larger than the pieces it is written in arrives whole: saved elsewhere, into a file with
// a second hard link (both names see it); a failure of its very last write, or a document that
// turns out not to be writable after many pieces went out, keeps the old file.
TEST_F(HostFilesSave, ALargeFileIsWrittenWhole) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<doc>\n";
    for (int i = 0; i < 40000; ++i)
        xml += "  <p n=\"" + std::to_string(i) + "\">Text " + std::to_string(i) + " &amp; more \xC3\xA9 &lt;x&gt;</p>\n";
    xml += "</doc>\n";
    ASSERT_GT(xml.size(), size_t(2) << 20);
    fs::path source = Write("large.xml", xml);
    F_ObjHandleT doc = Open(source);
    ASSERT_NE(doc, 0u);

    fs::path copy = dir / "copy.xml";
    ASSERT_EQ(Save(doc, copy, FV_SaveFmtXml), doc);
    EXPECT_TRUE(Read(copy) == xml) << "the saved file differs from the file read";

    fs::path first = Write("first.xml", kSmallXml);
    fs::create_hard_link(first, dir / "second.xml");
    safesave::FailNextForTest(Step::Flush, ENOSPC);
    EXPECT_EQ(Save(doc, first, FV_SaveFmtXml), 0u);
    EXPECT_EQ(LastSaveFailure(), "No space left on device");
    EXPECT_EQ(Read(first), kSmallXml);
    ASSERT_EQ(Save(doc, first, FV_SaveFmtXml), doc);
    EXPECT_TRUE(Read(first) == xml && Read(dir / "second.xml") == xml) << "a link lost part of the file";

    // An instruction named "xml" cannot be written: found at the end, it fails the save.
    ASSERT_NE(AppendMisc(doc, FlowOf(MainFlow(doc))->root, false, "xml data"), 0u);
    FA_errno = 0;
    EXPECT_EQ(Save(doc, copy, FV_SaveFmtXml), 0u);
    EXPECT_EQ(FA_errno, FE_BadOperation);
    EXPECT_TRUE(Read(copy) == xml) << "the old file was changed";
    EXPECT_FALSE(fs::exists(dir / "copy.xml.qvsave~"));
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
}

// A book is saved as safely as a document; saving an unchanged book changes nothing in its file
// (however it is laid out), and a book saved elsewhere keeps the relative paths that still name
// its files from there.
TEST_F(HostFilesSave, BooksAreSavedSafelyWithTheirPathsAsWritten) {
    const std::string bookText = "<?xml version=\"1.0\"?>\n<qvbook version=\"1\" root=\"Book\">"
                                 "<component type=\"512\" tag=\"Chapter\" path=\"ch1.fm\"/>"
                                 "<component tag=\"Chapter\" path=\"parts\\ch2.fm\"/></qvbook>\n";
    fs::path book = Write("book/Manual.book", bookText, fs::perms(0640));
    F_ObjHandleT b = Open(book);
    ASSERT_NE(b, 0u);
    ASSERT_EQ(F_ApiSimpleSave(b, "", 0), b);
    EXPECT_EQ(Read(book), bookText);

    fs::path copy = Write("book/Copy.book", "old book\n", fs::perms(0600));
    safesave::FailNextForTest(Step::Flush, ENOSPC);
    EXPECT_EQ(F_ApiSimpleSave(b, Win(copy).c_str(), 0), 0u);
    EXPECT_EQ(LastSaveFailure(), "No space left on device");
    EXPECT_EQ(Read(copy), "old book\n");
    EXPECT_EQ(Listing(dir / "book"), (std::vector<std::string>{"Copy.book", "Manual.book"}));

    ASSERT_EQ(F_ApiSimpleSave(b, Win(copy).c_str(), 0), b);
    std::string saved = Read(copy);
    EXPECT_NE(saved.find("path=\"ch1.fm\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("path=\"parts\\ch2.fm\""), std::string::npos) << saved;
    EXPECT_EQ(Mode(copy), 0600u);
    // From another folder the relative paths would name other files: they are written in full.
    ASSERT_EQ(F_ApiSimpleSave(b, Win(dir / "elsewhere.book").c_str(), 0), b);
    saved = Read(dir / "elsewhere.book");
    EXPECT_NE(saved.find("path=\"" + Win(dir / "book/ch1.fm") + "\""), std::string::npos) << saved;
}

// An untitled document cannot be saved without a path; Save As names it.
TEST_F(HostFilesSave, AnUntitledDocumentNeedsSaveAs) {
    fs::path source = Write("t.xml", kSmallXml);
    F_ObjHandleT doc = Open(source);
    ASSERT_NE(doc, 0u);
    Doc(doc)->path.clear();
    std::string error;
    EXPECT_FALSE(UserSave(doc, &error));
    EXPECT_NE(error.find("use Save As"), std::string::npos) << error;
    ASSERT_TRUE(UserSaveAs(doc, Win(dir / "named.xml"), -1, &error)) << error;
    EXPECT_EQ(Doc(doc)->path, Win(dir / "named.xml"));
}

}  // namespace

namespace {

// A channel that writes a file anew (the plug-in's preferences, favorites and lists) replaces it
// the same safe way when it is closed: a failure keeps the old file and the close says so.
TEST_F(HostFilesSave, AChannelWritingAFileAnewReplacesItSafely) {
    fs::path p = Write("prefs.txt", "A=1\r\n", fs::perms(0600));
    FilePathT *fp = F_PathNameToFilePath(Win(p).c_str(), nullptr, FDefaultPath);
    ASSERT_NE(fp, nullptr);
    ChannelT *ch = F_ChannelOpen(fp, "w");
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(F_ChannelWrite("B=2\r\n", 1, 5, ch), 5);
    safesave::FailNextForTest(Step::Sync, EIO);
    EXPECT_EQ(F_ChannelClose(ch), FE_FileWrite);
    EXPECT_EQ(Read(p), "A=1\r\n");
    ch = F_ChannelOpen(fp, "w");
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(F_ChannelWrite("B=2\r\n", 1, 5, ch), 5);
    EXPECT_EQ(F_ChannelClose(ch), 0);
    EXPECT_EQ(Read(p), "B=2\r\n");
    EXPECT_EQ(Mode(p), 0600u);
    F_FilePathFree(fp);
}

}  // namespace
