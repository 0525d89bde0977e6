// Plain XML files and the files they name: which external files a document may read, entity
// expansion bounds, and a save that gives back what the file held (external entities in their
// own files, comments, processing instructions, the DOCTYPE as written).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "docfile_api.h"
#include "fdk.h"
#include "model.h"
#include "support/host_files_dump.h"
#include "support/host_files_fixture.h"

namespace fs = std::filesystem;
using namespace host;

namespace {

class HostFilesXmlSource : public HostFilesFixture {
  protected:
    HostFilesXmlSource() : HostFilesFixture("qv_files_xml_source_") {}
    // The text with the white space between markup removed.
    static std::string Squeezed(const std::string &s) {
        std::string out;
        for (size_t i = 0; i < s.size(); ++i) {
            if (std::isspace(static_cast<unsigned char>(s[i])) && (out.empty() || out.back() == '>')) {
                size_t j = i;
                while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
                if (j == s.size() || s[j] == '<' || s[j] == '&') {
                    i = j - 1;
                    continue;
                }
            }
            out += s[i];
        }
        return out;
    }
};

// Every external file but the document's DTD must lie in the folder of the file that names it
// or below; the network never; a general entity that cannot be read fails the open and the
// message names it; expansion is bounded. No content of a refused file reaches a document.
TEST_F(HostFilesXmlSource, ExternalFilesOutsideTheRulesAreRefusedByName) {
    Write("secret.txt", "TOP-SECRET");
    std::string big(100000, 'x');
    std::string amplified = "<!DOCTYPE r [<!ENTITY big \"" + big + "\">]>\n<r>";
    for (int i = 0; i < 40000; ++i) amplified += "<p>&big;</p>";
    amplified += "</r>\n";
    struct Case {
        const char *name;
        std::vector<std::pair<std::string, std::string>> files;  // the first is opened
        const char *message;
    } cases[] = {
        {"general entity above the folder",
         {{"doc/outside.xml", "<!DOCTYPE r [<!ENTITY s SYSTEM \"../secret.txt\">]>\n<r>a&s;b</r>\n"}},
         "the entity \"s\" names the file"},
        {"parameter entity of a local DTD",
         {{"doc/leak.xml", "<!DOCTYPE r SYSTEM \"leak.dtd\">\n<r><p>&leak;</p></r>\n"},
          {"doc/leak.dtd", "<!ENTITY % file SYSTEM \"file://" + (dir / "secret.txt").string() +
                               "\">\n<!ENTITY % wrap \"<!ENTITY leak '%file;'>\">\n%wrap;\n"}},
         "the parameter entity \"file\""},
        {"network entity",
         {{"doc/net.xml", "<!DOCTYPE r [<!ENTITY n SYSTEM \"http://127.0.0.1:9/n.xml\">]>\n<r>&n;</r>\n"}},
         "the entity \"n\" names \"http://127.0.0.1:9/n.xml\", which is not a local file"},
        {"missing chapter",
         {{"doc/missing.xml", "<!DOCTYPE r [<!ENTITY ch SYSTEM \"ch9.xml\">]>\n<r>&ch;</r>\n"}},
         "of the entity \"ch\" cannot be read"},
        {"amplification", {{"doc/amplified.xml", amplified}}, "entity references expand the document"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto &[name, content] : c.files) Write(name, content);
        ClearTranscript();
        FA_errno = 0;
        EXPECT_EQ(Open(dir / c.files[0].first), 0u);
        EXPECT_NE(FA_errno, 0);
        EXPECT_TRUE(TheSession().openDocs.empty());
        ASSERT_EQ(TranscriptLines().size(), 1u);
        EXPECT_NE(TranscriptLines()[0].find(c.message), std::string::npos) << TranscriptLines()[0];
        EXPECT_EQ(TranscriptLines()[0].find("TOP-SECRET"), std::string::npos);
    }
}

// What the rules allow: a DTD anywhere, its parameter entities beside it, chapters in the
// document's folder and below.
TEST_F(HostFilesXmlSource, FilesInsideTheRulesAreRead) {
    Write("dtd/r.dtd", "<!ENTITY % parts SYSTEM \"parts.ent\">\n%parts;\n<!ELEMENT r ANY>\n");
    Write("dtd/parts.ent", "<!ENTITY company \"Acme\">\n");
    Write("doc/main.xml", "<!DOCTYPE r SYSTEM \"../dtd/r.dtd\" [<!ENTITY ch SYSTEM \"parts/ch.xml\">]>\n"
                          "<r><p>&company;</p>&ch;</r>\n");
    Write("doc/parts/ch.xml", "<c>chapter</c>\n");
    F_ObjHandleT doc = Open(dir / "doc/main.xml");
    ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    EXPECT_EQ(TreeDump(doc, false),
              "flow Main main\n"
              "r\n"
              "  p\n"
              "    \"Acme\"\n"
              "  c\n"
              "    \"chapter\"\n");

    // Many small elements and no entity are no expansion, however large the file.
    std::string many = "<r>";
    for (int i = 0; i < 400000; ++i) many += "<a/>";
    Write("doc/many.xml", many + "</r>\n");
    EXPECT_NE(Open(dir / "doc/many.xml"), 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
}

// A main file whose chapters are external entities: a save without edits gives back every file
// as it was (white space between elements aside), comments, processing instructions and the
// DOCTYPE included; an edit inside a chapter goes to the chapter's file; a save elsewhere
// writes the chapters beside the new main file.
TEST_F(HostFilesXmlSource, ChaptersCommentsAndDoctypeSurviveASave) {
    const std::string mainText =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Licence: keep this header. -->\n"
        "<!DOCTYPE book PUBLIC \"-//Example//DTD Book//EN\" \"book.dtd\" [\n"
        "  <!ENTITY ch1 SYSTEM \"ch1.xml\">\n"
        "  <!ENTITY ch2 SYSTEM \"chapters/ch2.xml\">\n"
        "]>\n"
        "<?app keep=\"me\"?>\n"
        "<book>\n"
        "  <title>Manual</title>\n"
        "  &ch1;\n"
        "  <!-- between chapters -->\n"
        "  &ch2;\n"
        "</book>\n"
        "<!-- end -->\n";
    const std::string ch1 = "<chapter id=\"c1\"><para>One <b>bold</b> text</para></chapter>\n";
    const std::string ch2 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<chapter id=\"c2\"><!-- inside --><para>Two</para><?pi x?></chapter>\n";
    Write("book/book.dtd", "<!ELEMENT book ANY>\n");
    Write("book/main.xml", mainText);
    Write("book/ch1.xml", ch1);
    Write("book/chapters/ch2.xml", ch2);

    F_ObjHandleT doc = Open(dir / "book/main.xml");
    ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    std::string tree = TreeDump(doc, false);
    EXPECT_NE(tree.find("\"Two\""), std::string::npos) << tree;
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
    EXPECT_EQ(Squeezed(Read("book/main.xml")), Squeezed(mainText));
    EXPECT_EQ(Squeezed(Read("book/ch1.xml")), Squeezed(ch1));
    EXPECT_EQ(Squeezed(Read("book/chapters/ch2.xml")), Squeezed(ch2));

    // The second chapter as the plug-in reaches it (the comment between the chapters is a node
    // of the tree that its links pass over).
    F_ObjHandleT chapter2 = F_ApiGetId(doc, FlowOf(MainFlow(doc))->root, FP_FirstChildElement);
    for (int i = 0; i < 2; ++i) chapter2 = F_ApiGetId(doc, chapter2, FP_NextSiblingElement);
    ASSERT_TRUE(SetAttribute(doc, chapter2, "status", {"final"}));
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
    EXPECT_NE(Read("book/chapters/ch2.xml").find("status=\"final\""), std::string::npos);
    EXPECT_EQ(Squeezed(Read("book/main.xml")), Squeezed(mainText));

    fs::create_directories(dir / "copy");
    ASSERT_EQ(Save(doc, dir / "copy/main.xml", FV_SaveFmtXml), doc);
    EXPECT_EQ(Squeezed(Read("copy/ch1.xml")), Squeezed(ch1));
    EXPECT_NE(Read("copy/chapters/ch2.xml").find("status=\"final\""), std::string::npos);
    // The copy's DOCTYPE names the DTD it was read with.
    EXPECT_NE(Read("copy/main.xml").find("\"" + fs::weakly_canonical(dir / "book/book.dtd").string() + "\""),
              std::string::npos);
    tree = TreeDump(doc, false);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT copy = Open(dir / "copy/main.xml");
    ASSERT_NE(copy, 0u);
    EXPECT_EQ(TreeDump(copy, false), tree);
}

// An entity referenced twice, and an internal entity right after an external one: each content
// stays where it was read, and nothing is lost on save.
TEST_F(HostFilesXmlSource, RepeatedAndInternalEntitiesKeepTheirPlaces) {
    const std::string mainText = "<!DOCTYPE r [<!ENTITY c SYSTEM \"c.xml\"><!ENTITY i \"<in>x</in>\">]>\n"
                                 "<r>&c;<mid/>&c;&i;</r>\n";
    Write("m/main.xml", mainText);
    Write("m/c.xml", "<c><d>1</d></c><e/>\n");
    F_ObjHandleT doc = Open(dir / "m/main.xml");
    ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    const std::string tree = TreeDump(doc, false);
    EXPECT_EQ(tree,
              "flow Main main\n"
              "r\n"
              "  c\n"
              "    d\n"
              "      \"1\"\n"
              "  e\n"
              "  mid\n"
              "  c\n"
              "    d\n"
              "      \"1\"\n"
              "  e\n"
              "  in\n"
              "    \"x\"\n");
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc);
    std::string saved = Read("m/main.xml");
    EXPECT_NE(saved.find("<in>x</in>"), std::string::npos) << saved;
    EXPECT_EQ(Squeezed(Read("m/c.xml")), "<c><d>1</d></c><e/>");
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT again = Open(dir / "m/main.xml");
    ASSERT_NE(again, 0u);
    EXPECT_EQ(TreeDump(again, false), tree);
}

// An unchanged save writes an entity's file exactly as it was read: text at the top of an entity
// keeps its references (written bare it would no longer be XML), and characters beyond ASCII in
// its attribute values stay characters. The entities' files are read-only here: a save that
// wanted to change them would fail.
TEST_F(HostFilesXmlSource, AnUnchangedEntityIsWrittenAsItWasRead) {
    const std::string note = "a &lt; b &amp; c", chapter = "<c note=\"caf\xC3\xA9 &amp; \xE2\x82\xAC\">x &gt; y</c>\n";
    for (const fs::path &p : {Write("doc/note.txt", note), Write("doc/c.xml", chapter)})
        fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Write("doc/main.xml", "<!DOCTYPE r [<!ENTITY t SYSTEM \"note.txt\"><!ENTITY c SYSTEM \"c.xml\">]>\n"
                          "<r><p>&t;</p>&c;</r>\n");
    F_ObjHandleT doc = Open(dir / "doc/main.xml");
    ASSERT_NE(doc, 0u) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    const std::string tree = TreeDump(doc, false);
    EXPECT_NE(tree.find("\"a < b & c\""), std::string::npos) << tree;
    ASSERT_EQ(Save(doc, "", FV_SaveFmtXml), doc) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
    EXPECT_EQ(Read("doc/note.txt"), note);
    EXPECT_EQ(Read("doc/c.xml"), chapter);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT again = Open(dir / "doc/main.xml");
    ASSERT_NE(again, 0u);
    EXPECT_EQ(TreeDump(again, false), tree);
}

}  // namespace
