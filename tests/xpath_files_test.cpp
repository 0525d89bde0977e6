// XPath steps into other files: fmfile (whose match is the file's highest-level element) opens a document that is not open (as written, then
// relative to the current document's folder) when file opening is allowed, and records it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "docfile_api.h"
#include "model.h"
#include "paths.h"
#include "support/xml_tree.h"
#include "support/xpath_files_fixture.h"
#include "transcript.h"
#include "xpath/xpath.h"

namespace fs = std::filesystem;

namespace {

class XPathFiles : public qvtest::XPathFilesFixture {
protected:
    XPathFiles() : XPathFilesFixture("xpath_files") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        fs::create_directories(dir / "sub");
        Write("main.xml", "<main><ref/></main>");
        Write("sub/other.xml", "<other><p>x</p><p>y</p></other>");
        Write("third.xml", "<third/>");
        doc = host::OpenDocumentFile(Win("main.xml"), true);
        ASSERT_NE(doc, 0u);
    }
    // The matches of an expression as "file name:path".
    std::vector<std::string> Matches(const std::string &expr) {
        IntT s = om_XPathCompile(expr, 0);
        EXPECT_LT(s, 50100) << expr;
        om_XPathResetSequence(s, 1);
        std::vector<std::string> out;
        for (int i = 0; i < 100; ++i) {
            F_ObjHandleT mdoc = 0;
            F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, 0, 0, &mdoc, nullptr);
            if (!m) break;
            StringT label = F_ApiGetString(0, mdoc, FP_Label);
            out.push_back(std::string(label ? label : "") + ":" + qvtest::PathOf(mdoc, m));
            F_ApiDeallocateString(&label);
        }
        return out;
    }
    F_ObjHandleT doc = 0;
    using V = std::vector<std::string>;
};

TEST_F(XPathFiles, FileStepOpensRelativeToTheCurrentDocumentAndRecordsIt) {
    EXPECT_EQ(Matches("fmfile::'sub\\other.xml'/p"), (V{"other.xml:/other[1]/p[1]", "other.xml:/other[1]/p[2]"}));
    std::string other = host::WindowsPath((dir / "sub" / "other.xml").string());
    ASSERT_EQ(XPathOpenedFiles.size(), 1u);
    EXPECT_EQ(strcasecmp(XPathOpenedFiles[0].c_str(), other.c_str()), 0) << XPathOpenedFiles[0];
    // Open now: found by its file name, not opened again.
    EXPECT_EQ(Matches("fmfile::'other.xml'"), V{"other.xml:/other[1]"});
    EXPECT_EQ(XPathOpenedFiles.size(), 1u);
    // An absolute path opens as written.
    EXPECT_EQ(Matches("fmfile::'" + host::WindowsPath((dir / "third.xml").string()) + "'"), V{"third.xml:/third[1]"});
    EXPECT_EQ(XPathOpenedFiles.size(), 2u);
}

TEST_F(XPathFiles, NothingOpensWithoutTheOptionOrTheFile) {
    om_XPathSetAllowFileOpening(0);
    EXPECT_EQ(Matches("fmfile::'third.xml'"), V{});
    om_XPathSetAllowFileOpening(1);
    EXPECT_EQ(Matches("fmfile::'missing.xml'"), V{});
    EXPECT_TRUE(XPathOpenedFiles.empty());
}

}  // namespace
