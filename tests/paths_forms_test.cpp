// Path forms: normalising, file-name and folder parts, parents, relative and absolute paths.
#include <gtest/gtest.h>

#include "lib/host/paths.h"
#include "support/list_helpers.h"

using namespace qvtest;

namespace {
std::string Normalized(const char *path, IntT forward, IntT trailing) {
    Heap h(path);
    om_PathNormalize(&h.s, forward, trailing);
    return h.str();
}
std::string Relative(const char *a, const char *b, IntT fileFlag, IntT *rc) {
    StringT out = om_StrCopy("stale");
    *rc = om_PathMakeRelative(a, 0, b, &out, fileFlag);
    return Take(out);
}
std::string Absolute(const char *rel, const char *base, IntT baseIsFile) {
    StringT out = nullptr;
    om_PathMakeAbsolute(rel, 0, base, &out, baseIsFile);
    return Take(out);
}
}  // namespace

TEST(PathForms, Normalize) {
    EXPECT_EQ(Normalized("C:/a\\\\b//c\\\\", 0, 0), "C:\\a\\b\\c");
    EXPECT_EQ(Normalized("C:/a\\\\b//c\\\\", 1, 1), "C:/a/b/c/");
    EXPECT_EQ(Normalized("\\\\server\\share\\\\x", 0, 0), "\\\\server\\share\\x");
    EXPECT_EQ(Normalized("a", 0, 1), "a\\");
    List l({"a//b", "c\\"});
    EXPECT_EQ(om_PathNormalizeList(&l.l, 0, 0), 2);
    EXPECT_EQ(l.v(), (Strs{"a\\b", "c"}));
}

TEST(PathForms, FileNameDirectoryAndExtension) {
    EXPECT_EQ(Take(om_PathFileName(0, "C:\\a\\b.fm")), "b.fm");
    EXPECT_EQ(Take(om_PathFileName(0, " C:/a/folder/ ")), "folder");
    EXPECT_EQ(Take(om_PathFileName(0, "bare.fm")), "bare.fm");
    EXPECT_EQ(Take(om_PathFileName(0, "")), "");
    EXPECT_EQ(Take(om_PathDirectory(0, "C:\\a\\b.fm", 0)), "C:\\a\\");
    EXPECT_EQ(Take(om_PathDirectory(0, "C:\\a\\b.fm", 1)), "C:\\a");
    EXPECT_EQ(Take(om_PathDirectory(0, "x/y.fm", 1)), "x");
    EXPECT_EQ(Take(om_PathDirectory(0, "bare.fm", 1)), "");  // no folder
    EXPECT_EQ(Take(om_PathDirectory(0, "", 1)), ErrorSentinel);
    EXPECT_EQ(Take(om_PathExtension(0, "a\\b.Fm", 1)), ".Fm");
    EXPECT_EQ(Take(om_PathExtension(0, "a\\b.Fm", 0)), "Fm");
    EXPECT_EQ(Take(om_PathExtension(0, "noext", 0)), "noext");
    Heap r("C:\\a\\b.txt");
    om_PathReplaceExtension(&r.s, "fm");
    EXPECT_EQ(r.str(), "C:\\a\\b.fm");
    StringT last = nullptr;
    om_PathLastComponent("C:\\a\\b\\", &last);
    EXPECT_EQ(Take(last), "b");
}

TEST(PathForms, ParentLevelsAndStripRoot) {
    StringT out = nullptr;
    EXPECT_EQ(om_PathParent("C:\\a\\b", &out), 1);
    EXPECT_STREQ(out, "C:\\a");
    EXPECT_EQ(om_PathParent("C:\\a\\", &out), 0);
    EXPECT_STREQ(out, "C:\\a\\");
    EXPECT_EQ(om_PathParent("name", &out), 0);
    EXPECT_STREQ(out, "");
    om_StrFree(&out);
    EXPECT_EQ(om_PathLevelsUp("C:\\a\\b\\c", "c:\\A\\"), 2);
    EXPECT_EQ(om_PathLevelsUp("C:\\a", "C:\\a"), 0);
    EXPECT_EQ(om_PathLevelsUp("C:\\a", "C:\\a\\b"), -1);
    EXPECT_EQ(om_PathLevelsUp("C:\\a", "D:\\"), -1);
    Heap s("C:\\x\\y");
    om_PathStripRoot(&s.s);
    EXPECT_EQ(s.str(), "x\\y");
    Heap unc("\\\\server\\share\\f");
    om_PathStripRoot(&unc.s);
    EXPECT_EQ(unc.str(), "share\\f");
}

TEST(PathForms, MakeRelativeWithFiles) {
    struct Case {
        const char *a, *b, *want;
        IntT rc;
    } cases[] = {
        {"C:\\p\\a\\doc.fm", "C:\\p\\a\\x.fm", "x.fm", 1},
        {"C:\\p\\a\\doc.fm", "c:/P/a/sub/x.fm", "\\sub\\x.fm", 1},
        {"C:\\p\\a\\doc.fm", "C:\\p\\b\\x.fm", "..\\b\\x.fm", 1},
        {"C:\\p\\a\\b\\doc.fm", "C:\\p\\x.fm", "..\\..\\x.fm", 1},
        {"C:\\p\\doc.fm", "D:\\p\\x.fm", "", 0},
    };
    for (const Case &c : cases) {
        IntT rc;
        EXPECT_EQ(Relative(c.a, c.b, 1, &rc), c.want) << c.b;
        EXPECT_EQ(rc, c.rc) << c.b;
    }
    IntT rc;
    EXPECT_EQ(Relative("C:\\p\\a", "C:\\p\\a\\s\\t", 0, &rc), "\\s\\t");
    StringT up = nullptr;
    EXPECT_EQ(om_PathUpRelative("C:\\x\\y", "C:\\", &up), 1);
    EXPECT_EQ(Take(up), "..\\..\\");
}

TEST(PathForms, MakeAbsoluteAndRebase) {
    EXPECT_EQ(Absolute("..\\..\\f.fm", "C:\\a\\b\\c\\d.fm", 1), "C:\\a\\f.fm");
    EXPECT_EQ(Absolute("\\sub\\n.fm", "C:\\a\\b\\c\\d.fm", 1), "C:\\a\\b\\c\\sub\\n.fm");
    EXPECT_EQ(Absolute("n.fm", "C:\\a\\", 0), "C:\\a\\n.fm");
    EXPECT_EQ(Absolute("n.fm", "", 0), "");
    // Every relative form round-trips through the absolute path.
    for (const char *b : {"C:\\p\\a\\x.fm", "C:\\p\\a\\s\\x.fm", "C:\\q\\x.fm"}) {
        IntT rc;
        std::string rel = Relative("C:\\p\\a\\doc.fm", b, 1, &rc);
        EXPECT_EQ(Absolute(rel.c_str(), "C:\\p\\a\\doc.fm", 1), b) << rel;
    }
    StringT out = nullptr;
    EXPECT_EQ(om_PathRebaseRelative("img\\p.png", &out, 0, "C:\\d\\a.fm", 0, "C:\\d\\sub\\b.fm"), 1);
    EXPECT_EQ(Take(out), "..\\img\\p.png");
}
