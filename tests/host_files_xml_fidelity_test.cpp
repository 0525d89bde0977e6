// Plain XML files come back as they were: white space that is data stays, entities are never
// lost or grown, only regular files are read (a pipe or a device is refused, never waited on),
// and the user is told what an open or a close leaves behind.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>

#include <cctype>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "docfile_api.h"
#include "fdk.h"
#include "lib/host/paths.h"
#include "lib/host/textfiles.h"
#include "model.h"
#include "support/host_files_dump.h"
#include "support/host_files_fixture.h"
#include "transcript.h"
#include "user_actions.h"

namespace fs = std::filesystem;
using namespace host;

namespace {

class HostFilesXmlFidelity : public HostFilesFixture {
  protected:
    HostFilesXmlFidelity() : HostFilesFixture("qv_files_xml_fidelity_") {}
    fs::path Fifo(const std::string &name) {
        fs::path p = dir / name;
        fs::create_directories(p.parent_path());
        EXPECT_EQ(::mkfifo(p.c_str(), 0600), 0);
        return p;
    }
    // Runs `work` with a bounded wait. Should it hang on a pipe, the pipe's other end is opened
    // and closed until it returns, so a regression fails the test instead of hanging the suite.
    static bool Bounded(const std::function<void()> &work, const std::vector<fs::path> &pipes) {
        auto done = std::async(std::launch::async, work);
        if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
        while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
            for (const fs::path &p : pipes) {
                int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
                fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
        return false;
    }
    static std::string Last() { return TranscriptLines().empty() ? std::string() : TranscriptLines().back(); }
    static bool TranscriptHas(const std::string &text) {
        for (const std::string &line : TranscriptLines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
};

// The text between markup with the white space alone between tags left out.
std::string Squeezed(const std::string &s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        size_t j = i;
        while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
        if (j > i && (out.empty() || out.back() == '>') && (j == s.size() || s[j] == '<')) {
            i = j;
            continue;
        }
        out += s[i++];
    }
    return out;
}

// Comments and processing instructions are nodes in their own places, inside mixed text too.
// An edit of a neighbour (delete, wrap, demote) leaves them where they are; deleting a run
// removes those inside it; unwrapping lifts them with the other children. The plug-in's links
// pass over them.
TEST_F(HostFilesXmlFidelity, CommentsAndInstructionsStayInTheirPlaces) {
    const std::string file =
        "<r><!--o\tne--><a/><!--for b--><b/><!--after b--><c/><?mark x?><d/><w><!--in w--><e/></w>"
        "<p>First half.<?page-break?>Second half.</p></r>";
    struct Step {
        const char *name;
        std::function<void(F_ObjHandleT doc, std::vector<F_ObjHandleT> &kids)> edit;
        const char *saved;
    } steps[] = {
        {"nothing", [](F_ObjHandleT, std::vector<F_ObjHandleT> &) {}, nullptr},
        {"delete b", [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) { F_ApiDelete(doc, k[1]); },
         "<r><!--o\tne--><a/><!--for b--><!--after b--><c/><?mark x?><d/><w><!--in w--><e/></w>"},
        {"wrap b",
         [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) {
             F_ElementRangeT er{{F_ApiGetId(doc, k[1], FP_ParentElement), k[1], 0}, {F_ApiGetId(doc, k[1], FP_ParentElement), k[2], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
             F_ApiWrapElement(doc, FindElementDef(doc, "w"));
         },
         "<a/><!--for b--><w><b/></w><!--after b--><c/>"},
        {"demote d into c",
         [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) {
             F_ElementRangeT er{{F_ApiGetId(doc, k[3], FP_ParentElement), k[3], 0}, {F_ApiGetId(doc, k[3], FP_ParentElement), k[4], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
             F_ApiDemoteElement(doc);
         },
         "<c><d/></c><?mark x?><w>"},
        {"delete a to c",
         [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) {
             F_ElementRangeT er{{F_ApiGetId(doc, k[0], FP_ParentElement), k[0], 0}, {F_ApiGetId(doc, k[0], FP_ParentElement), k[3], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
             F_ApiClear(doc, 0);
         },
         "<r><!--o\tne--><?mark x?><d/>"},
        {"cut a and b, paste them after d",
         [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) {
             F_ObjHandleT r = F_ApiGetId(doc, k[0], FP_ParentElement);
             F_ElementRangeT er{{r, k[0], 0}, {r, k[2], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
             F_ApiCut(doc, 0);
             F_ElementRangeT ip{{r, k[4], 0}, {r, k[4], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &ip);
             F_ApiPaste(doc, 0);
         },
         "<r><!--o\tne--><!--after b--><c/><?mark x?><d/><a/><!--for b--><b/><w>"},
        {"unwrap w",
         [](F_ObjHandleT doc, std::vector<F_ObjHandleT> &k) {
             F_ElementRangeT er{{F_ApiGetId(doc, k[4], FP_ParentElement), k[4], 0}, {F_ApiGetId(doc, k[4], FP_ParentElement), k[5], 0}};
             F_ApiSetElementRange(0, doc, FP_ElementSelection, &er);
             F_ApiUnWrapElement(doc);
         },
         "<d/><!--in w--><e/><p>"},
    };
    Write("misc.xml", file);
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        ResetSession();
        F_ObjHandleT doc = Open(dir / "misc.xml");
        ASSERT_NE(doc, 0u) << Last();
        // The plug-in sees the elements a, b, c, d, w, p and no comment or instruction.
        std::vector<F_ObjHandleT> kids;
        for (F_ObjHandleT k = F_ApiGetId(doc, FlowOf(MainFlow(doc))->root, FP_FirstChildElement); k;
             k = F_ApiGetId(doc, k, FP_NextSiblingElement))
            kids.push_back(k);
        ASSERT_EQ(kids.size(), 6u);
        step.edit(doc, kids);
        ASSERT_NE(Save(doc, dir / "out.xml", FV_SaveFmtXml), 0u);
        std::string saved = Squeezed(Read("out.xml"));
        // Mixed text keeps its instruction between its halves.
        EXPECT_NE(saved.find("<p>First half.<?page-break?>Second half.</p>"), std::string::npos) << saved;
        if (step.saved) EXPECT_NE(saved.find(step.saved), std::string::npos) << saved;
        else EXPECT_NE(saved.find(file), std::string::npos) << saved;
    }
}

// White space alone is data: an element whose content is only white space keeps it, and so does
// everything under xml:space="preserve". It goes only where the DTD declares element content,
// or, without a declaration, between the element children of an element that holds no text.
TEST_F(HostFilesXmlFidelity, WhiteSpaceThatIsDataSurvivesASave) {
    struct Case {
        const char *name, *file;
        std::vector<std::string> kept, gone;  // texts the saved file holds, and does not hold
    } cases[] = {
        {"white space alone, no DTD", "<r><separator> </separator><p>a</p><p>\t</p></r>",
         {"<separator> </separator>", "<p>\t</p>"}, {}},
        {"xml:space preserve keeps indentation too",
         "<r><pre xml:space=\"preserve\">\n  <line/>\n  <line/>\n</pre></r>",
         {"<pre xml:space=\"preserve\">\n  <line/>\n  <line/>\n</pre>"}, {}},
        {"declared element content drops it; a mixed declaration keeps it",
         "<!DOCTYPE r [<!ELEMENT r (s|p)*><!ELEMENT s (#PCDATA)><!ELEMENT p (#PCDATA|b)*><!ELEMENT b (#PCDATA)>]>\n"
         "<r>   <s> </s>   <p><b>x</b> <b>y</b></p></r>",
         {"<s> </s>", "<b>x</b> <b>y</b>"}, {"<r>   "}},
        {"declared element content with only white space", "<!DOCTYPE r [<!ELEMENT r (a*)><!ELEMENT a EMPTY>]>\n<r>  </r>",
         {}, {"<r>  </r>"}},
        {"declared element content that holds text further on keeps its white space before it",
         "<!DOCTYPE r [<!ELEMENT r (s*)><!ELEMENT s (t*)><!ELEMENT t EMPTY>]>\n<r><s> <t/> </s><s>x<t/></s></r>",
         {"<s> <t/> </s>", "<s>x<t/></s>"}, {}},
        {"xml:space preserve keeps white space in declared element content",
         "<!DOCTYPE r [<!ELEMENT r (s*)><!ELEMENT s (t*)><!ATTLIST s xml:space (default|preserve) #IMPLIED>"
         "<!ELEMENT t EMPTY>]>\n<r><s xml:space=\"preserve\"> <t/> </s></r>",
         {"<s xml:space=\"preserve\"> <t/> </s>"}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResetSession();
        Write("ws.xml", c.file);
        F_ObjHandleT doc = Open(dir / "ws.xml");
        ASSERT_NE(doc, 0u) << Last();
        ASSERT_NE(Save(doc, dir / "out.xml", FV_SaveFmtXml), 0u);
        std::string saved = Read("out.xml");
        for (const std::string &k : c.kept) EXPECT_NE(saved.find(k), std::string::npos) << k << " in\n" << saved;
        for (const std::string &g : c.gone) EXPECT_EQ(saved.find(g), std::string::npos) << g << " in\n" << saved;
        // A second round gives the same file: nothing is added or lost per save.
        ResetSession();
        doc = Open(dir / "out.xml");
        ASSERT_NE(doc, 0u) << Last();
        ASSERT_NE(Save(doc, dir / "again.xml", FV_SaveFmtXml), 0u);
        EXPECT_EQ(Read("again.xml"), saved);
    }
}

// An entity that no readable declaration defines is never dropped in silence: the open fails and
// names it (and the DTD that could not be read). An external entity's file is written back
// byte for byte, however often the document is saved.
TEST_F(HostFilesXmlFidelity, EntitiesAreNeitherLostNorGrown) {
    Write("lost.xml", "<!DOCTYPE r SYSTEM \"missing.dtd\">\n<r>a&nbsp;b &copy; 2003</r>\n");
    EXPECT_EQ(Open(dir / "lost.xml"), 0u);
    EXPECT_TRUE(TheSession().openDocs.empty());
    EXPECT_NE(Last().find("the entity \"nbsp\" is not declared"), std::string::npos) << Last();
    EXPECT_NE(Last().find("missing.dtd"), std::string::npos) << Last();

    const std::string files[][2] = {
        {"text.ent", "line one\n"},
        {"decl.ent", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\nline one\n<b>bold</b> tail"},
    };
    Write("main.xml", "<!DOCTYPE r [<!ENTITY t SYSTEM \"text.ent\"><!ENTITY d SYSTEM \"decl.ent\">]>\n"
                      "<r><p>&t;</p><p>&d;</p></r>\n");
    for (const auto &f : files) Write(f[0], f[1]);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        F_ObjHandleT doc = Open(dir / "main.xml");
        ASSERT_NE(doc, 0u) << Last();
        ASSERT_NE(Save(doc, dir / "main.xml", FV_SaveFmtXml), 0u);
        ResetSession();
        for (const auto &f : files) EXPECT_EQ(Read(f[0]), f[1]) << f[0];
    }
}

// The loading rule comes first, then the file-kind check, then the read: a pipe or a link to a
// device, as the document, its DTD or an entity, inside or outside the folder, is refused with
// a message; nothing waits on it.
TEST_F(HostFilesXmlFidelity, PipesAndDevicesAreRefusedNeverWaitedOn) {
    fs::path inside = Fifo("doc/pipe.ent");
    fs::path outside = Fifo("pipe-outside.ent");
    fs::path pipeDoc = Fifo("doc/pipe.xml");
    fs::create_symlink("/dev/zero", dir / "doc/zero.ent");
    fs::create_symlink("/dev/zero", dir / "doc/zero.xml");
    struct Case {
        const char *name, *file, *content, *message;
    } cases[] = {
        {"entity that is a pipe", "doc/a.xml", "<!DOCTYPE r [<!ENTITY e SYSTEM \"pipe.ent\">]>\n<r>&e;</r>\n",
         "of the entity \"e\" is not a regular file"},
        {"entity that is a pipe outside the folder", "doc/b.xml",
         "<!DOCTYPE r [<!ENTITY e SYSTEM \"../pipe-outside.ent\">]>\n<r>&e;</r>\n", "lies outside the folder"},
        {"entity that links to a device", "doc/c.xml", "<!DOCTYPE r [<!ENTITY e SYSTEM \"zero.ent\">]>\n<r>&e;</r>\n",
         "names the file \"/dev/zero\", which lies outside the folder"},
        {"document that is a pipe", "doc/pipe.xml", nullptr, "it is not a regular file"},
        {"document that links to a device", "doc/zero.xml", nullptr, "it is not a regular file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content) Write(c.file, c.content);
        ClearTranscript();
        F_ObjHandleT doc = 1;
        ASSERT_TRUE(Bounded([&] { doc = Open(dir / c.file); }, {inside, outside, pipeDoc})) << "the open waited on a pipe";
        EXPECT_EQ(doc, 0u);
        EXPECT_NE(Last().find(c.message), std::string::npos) << Last();
    }

    // A DTD that is a pipe is reported as not read; the file opens as one without a DTD.
    fs::path dtdPipe = Fifo("doc/pipe.dtd");
    Write("doc/d.xml", "<!DOCTYPE r SYSTEM \"pipe.dtd\">\n<r><p k=\"v\">x</p></r>\n");
    ClearTranscript();
    F_ObjHandleT doc = 0;
    ASSERT_TRUE(Bounded([&] { doc = Open(dir / "doc/d.xml"); }, {dtdPipe})) << "the open waited on a pipe";
    EXPECT_NE(doc, 0u) << Last();
    EXPECT_TRUE(TranscriptHas("which is not a regular file")) << Last();

    // The plug-in's preference and list files: refused with a message, never opened.
    for (const fs::path &p : {inside, dir / "doc/zero.ent"}) {
        SCOPED_TRACE(p.string());
        ClearTranscript();
        std::string win = Win(p);
        F_StringsT lines{0, nullptr};
        IntT read = 1;
        ASSERT_TRUE(Bounded([&] { read = om_FileReadLines(win.c_str(), &lines); }, {inside})) << "the read waited on a pipe";
        EXPECT_EQ(read, 0);
        EXPECT_EQ(lines.len, 0u);
        F_ApiDeallocateStrings(&lines);
        EXPECT_TRUE(TranscriptHas("is not a regular file")) << Last();
    }
}

// What the user is told: a missing DTD (the file still opens), a syntax error in a DTD by the
// DTD's file and line, and unsaved changes discarded by a close or at quit, by label.
TEST_F(HostFilesXmlFidelity, TheUserHearsWhatIsMissingOrDiscarded) {
    Write("nodtd.xml", "<!DOCTYPE r SYSTEM \"gone.dtd\">\n<r><p k=\"v\">x</p></r>\n");
    F_ObjHandleT doc = Open(dir / "nodtd.xml");
    ASSERT_NE(doc, 0u) << Last();
    EXPECT_NE(Last().find("the DTD \"" + (dir / "gone.dtd").string() + "\" could not be read"), std::string::npos)
        << Last();
    ASSERT_NE(GetAttribute(Elem(FlowOf(MainFlow(doc))->root)->first, "k"), nullptr);

    Write("bad.dtd", "<!ELEMENT r ANY>\n\n<!ELEMENT p (#PCDATA>\n");
    Write("bad.xml", "<!DOCTYPE r SYSTEM \"bad.dtd\">\n<r/>\n");
    EXPECT_EQ(Open(dir / "bad.xml"), 0u);
    EXPECT_NE(Last().find("in \"" + (dir / "bad.dtd").string() + "\", line 3:"), std::string::npos) << Last();

    ClearTranscript();
    Doc(doc)->modified = 1;
    std::string label = Doc(doc)->label;
    ASSERT_TRUE(UserClose(doc, nullptr));
    EXPECT_TRUE(TranscriptHas("\"" + label + "\" was closed with unsaved changes: its changes were discarded"));

    Write("plain.xml", "<r/>\n");
    F_ObjHandleT kept = Open(dir / "plain.xml"), changed = Open(dir / "nodtd.xml");
    Doc(changed)->modified = 1;
    ClearTranscript();
    UserQuit();
    EXPECT_TRUE(TranscriptHas("\"nodtd.xml\" has unsaved changes at quit: its changes were discarded"));
    EXPECT_FALSE(TranscriptHas("\"" + Doc(kept)->label + "\" has unsaved"));
    // A close without changes says nothing of it.
    ClearTranscript();
    ASSERT_TRUE(UserClose(kept, nullptr));
    EXPECT_FALSE(TranscriptHas("discarded"));
}

}  // namespace
