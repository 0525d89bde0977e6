// Text files, folders and the platform layer on real files in a temporary folder, reached by
// Windows-form paths on drive Z: and on a mapped drive.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "lib/host/paths.h"
#include "lib/host/folders.h"
#include "lib/host/textfiles.h"
#include "lib/host/system_services.h"
#include "paths.h"
#include "lib/globals.h"
#include "support/list_helpers.h"

using namespace qvtest;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qv_files_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Sub");
        host::MapDrive('Q', dir_.string());
    }
    void TearDown() override {
        host::ClearDriveMappings();
        fs::remove_all(dir_);
    }
    // The Windows form of a name in the folder on drive Z: (the real path) or Q: (mapped).
    std::string Z(const std::string &name) const { return host::WindowsPath((dir_ / name).string()); }
    std::string Q(const std::string &name) const { return "Q:\\" + name; }
    void WriteBytes(const std::string &name, const std::string &bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string &name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    Strs ReadLines(const std::string &path, IntT *rc) const {
        List l({"stale"});
        *rc = om_FileReadLines(path.c_str(), &l.l);
        return l.v();
    }
    fs::path dir_;
};

}  // namespace

TEST_F(Files, ReadLinesAnyLineEnding) {
    struct Case {
        std::string bytes;
        Strs want;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\nc", {"a", "b", "c"}},            // saved by a Linux editor
        {"a\rb", {"a", "b"}},
        {"\r\r\n", {"", ""}},                    // two CRs then an LF: two empty lines
        {"x\n\ny\n", {"x", "", "y"}},
        {"", {}},
        {std::string("bin\0ary\xFF\x01\n", 10), {"binary\xFF\x01"}},
    };
    for (const Case &c : cases) {
        WriteBytes("in.txt", c.bytes);
        IntT rc;
        EXPECT_EQ(ReadLines(Z("in.txt"), &rc), c.want);
        EXPECT_EQ(rc, 1);
    }
    IntT rc;
    EXPECT_EQ(ReadLines(Z("missing.txt"), &rc), Strs{});
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadLines(Z("Sub"), &rc), Strs{});  // a folder is not a file
    EXPECT_EQ(rc, 0);
}

TEST_F(Files, WriteLinesRoundTripOnZAndMappedDrive) {
    List lines({"first", "", "thïrd"});
    ASSERT_EQ(om_FileWriteLines(Q("out.txt").c_str(), &lines.l), 1);
    EXPECT_EQ(ReadBytes("out.txt"), "first\r\n\r\nthïrd\r\n");
    IntT rc;
    EXPECT_EQ(ReadLines(Z("OUT.TXT"), &rc), lines.v());  // found regardless of case
    List empty(Strs{});
    ASSERT_EQ(om_FileWriteLines(Z("empty.txt").c_str(), &empty.l), 1);
    EXPECT_TRUE(fs::exists(dir_ / "empty.txt"));
    EXPECT_EQ(fs::file_size(dir_ / "empty.txt"), 0u);
    EXPECT_EQ(om_FileWriteLines("Q:\\nofolder\\x.txt", &lines.l), 0);
    ASSERT_EQ(om_FileAppendText(Q("out.txt").c_str(), "more", 1), 1);
    EXPECT_EQ(ReadLines(Q("out.txt"), &rc), (Strs{"first", "", "thïrd", "", "more"}));
    // The plain reader and writer work the same files.
    List plain;
    EXPECT_EQ(om_FileReadLinesPlain(Q("out.txt").c_str(), &plain.l), 1);
    EXPECT_EQ(plain.v(), (Strs{"first", "", "thïrd", "", "more"}));
    EXPECT_EQ(om_FileWriteLinesPlain(Z("plain.txt").c_str(), &lines.l), 1);
    EXPECT_EQ(ReadBytes("plain.txt"), "first\r\n\r\nthïrd\r\n");
}

TEST_F(Files, FileTestsAndDelete) {
    WriteBytes("f.txt", "x");
    EXPECT_EQ(om_FileExists(Q("F.txt").c_str()), 1);
    EXPECT_EQ(om_FileIsWritable(Z("f.txt").c_str()), 1);
    EXPECT_EQ(om_FileIsRegular(Z("f.txt").c_str()), 1);
    EXPECT_EQ(om_FileIsRegular(Z("Sub").c_str()), 0);
    EXPECT_EQ(om_FileExists(Z("Sub").c_str()), 0);
    EXPECT_EQ(om_FileExists("R:\\unmapped.txt"), 0);
    EXPECT_EQ(om_FileExists(""), 0);
    EXPECT_GT(om_FileModifiedStamp(Z("f.txt").c_str()), 0);
    EXPECT_EQ(om_FileModifiedStamp(Z("none").c_str()), 0);
    om_FileCloseAndDelete(0, Q("f.txt").c_str());
    EXPECT_FALSE(fs::exists(dir_ / "f.txt"));
}

TEST_F(Files, FolderListingsAndFilters) {
    WriteBytes("a.fm", "");
    WriteBytes("b.TXT", "");
    WriteBytes("c.book", "");
    List keep({"fm", ".book"}), drop({"txt"});
    EXPECT_EQ(Take(om_DirListFiles(Q("").c_str(), 0, &keep.l, nullptr, 1)), (Strs{"a.fm", "c.book"}));
    EXPECT_EQ(Take(om_DirListFiles(Q("").c_str(), 0, nullptr, &drop.l, 0)), (Strs{"Sub", "a.fm", "c.book"}));
    EXPECT_EQ(Take(om_DirListFiles(Q("").c_str(), 1, &keep.l, nullptr, 1)), (Strs{"Q:\\a.fm", "Q:\\c.book"}));
    EXPECT_EQ(Take(om_DirListFiles(Q("nowhere").c_str(), 0, nullptr, nullptr, 1)), Strs{});
    EXPECT_EQ(om_DirExists(Q("sub").c_str()), 1);
    EXPECT_EQ(om_DirExists(Q("a.fm").c_str()), 0);
    EXPECT_EQ(om_DirCountEntries(Q("").c_str(), 1, 0, nullptr, nullptr), 3);
    EXPECT_EQ(om_DirCountEntries(Q("").c_str(), 0, 1, nullptr, nullptr), 1);
    StatusCode = 0;
    EXPECT_EQ(om_DirCountEntries(Q("nowhere").c_str(), 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(StatusCode, StatusCannotList);
    IntT reached = 0;
    EXPECT_EQ(Take(om_DirList(Q("").c_str(), 1, 0, 0, nullptr, nullptr, "B", 0, &reached)), (Strs{"b.TXT", "c.book"}));
    EXPECT_EQ(StatusCode, 0);
    EXPECT_EQ(Take(om_DirList(Q("").c_str(), 0, 0, 0, nullptr, nullptr, "", 2, &reached)), (Strs{"Sub", "a.fm"}));
    EXPECT_EQ(reached, 1);
    StringT nth = nullptr;
    EXPECT_EQ(om_DirNthEntry(Q("").c_str(), 2, &nth, 1), 1);
    EXPECT_EQ(Take(nth), "Q:\\a.fm");

    EXPECT_EQ(om_DirMake(Q("new\\deep").c_str()), 1);
    EXPECT_TRUE(fs::is_directory(dir_ / "new" / "deep"));
    EXPECT_EQ(om_DirMake(Q("new").c_str()), 1);

    List names({"x.fm", "y.txt", "z.FM"});
    om_StringsSuffixFirst(&names.l, ".txt", 1, 1);
    EXPECT_EQ(names.v(), (Strs{"y.txt", "x.fm", "z.FM"}));
    List exts({"fm"});
    om_StringsKeepExtensions(&names.l, &exts.l, 0);
    EXPECT_EQ(names.v(), (Strs{"x.fm", "z.FM"}));
    List comments({"; note", "", " keep ", "k2"});
    om_StringsDropComments(&comments.l);
    EXPECT_EQ(comments.v(), (Strs{"keep", "k2"}));
}

TEST_F(Files, ResolveExisting) {
    WriteBytes("Sub/doc.fm", "");
    Heap rel("Sub/doc.fm");
    EXPECT_EQ(om_PathResolveExisting(&rel.s, Q("base.fm").c_str(), 0, 0), 1);
    EXPECT_EQ(rel.str(), "Q:\\Sub\\doc.fm");
    Heap folder("Sub");
    EXPECT_EQ(om_PathResolveExisting(&folder.s, Q("base.fm").c_str(), 1, 1), 1);
    EXPECT_EQ(folder.str(), "Q:/Sub");
    Heap none("nothing.fm");
    EXPECT_EQ(om_PathResolveExisting(&none.s, Q("base.fm").c_str(), 0, 0), 0);
    EXPECT_EQ(none.str(), "nothing.fm");
}
