// Plain XML files: definitions from the DTD or from usage, paragraphs and inline elements,
// white space, a save as XML giving back the same tree, and bad files refused with file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <libxml/parser.h>

#include "docfile_api.h"
#include "docfile_model.h"
#include "fdk.h"
#include "model.h"
#include "paths.h"
#include "transcript.h"
#include "support/host_files_dump.h"
#include "support/host_files_fixture.h"

#include <unistd.h>

namespace fs = std::filesystem;
using namespace host;

namespace {

const fs::path kData = fs::path(QV_SOURCE_DIR) / "tests" / "data";


class HostFilesXml : public HostFilesFixture {
  protected:
    HostFilesXml() : HostFilesFixture("qv_files_xml_") {}
    fs::path Write(const std::string &name, const std::string &content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return dir / name;
    }
    static std::string Read(const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

const AttrDef *FindAttr(F_ObjHandleT doc, const char *def, const char *attr) {
    const ElementDef *d = Def(FindElementDef(doc, def));
    if (!d) return nullptr;
    for (const AttrDef &a : d->attrs)
        if (a.name == attr) return &a;
    return nullptr;
}

TEST_F(HostFilesXml, DtdDeclarationsBecomeTheCatalog) {
    F_ObjHandleT doc = Open(kData / "host_files_manual.xml");
    ASSERT_NE(doc, 0u);
    struct Expect {
        const char *def, *attr;
        IntT type;
        bool required;
        std::vector<std::string> choices, defaults;
    } cases[] = {
        {"manual", "version", FV_AT_STRING, false, {}, {"1.0"}},
        {"section", "id", FV_AT_UNIQUE_ID, true, {}, {}},
        {"section", "status", FV_AT_CHOICE, false, {"draft", "final"}, {"draft"}},
        {"section", "keywords", FV_AT_STRINGS, false, {}, {}},
        {"xref", "target", FV_AT_UNIQUE_IDREF, true, {}, {}},
        {"xref", "also", FV_AT_UNIQUE_IDREFS, false, {}, {}},
    };
    for (const Expect &e : cases) {
        SCOPED_TRACE(std::string(e.def) + "/" + e.attr);
        const AttrDef *a = FindAttr(doc, e.def, e.attr);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->type, e.type);
        EXPECT_EQ(a->required, e.required);
        EXPECT_EQ(a->choices, e.choices);
        EXPECT_EQ(a->defaults, e.defaults);
    }
    // Mixed content begins paragraphs; elements inside it are inline.
    EXPECT_EQ(Def(FindElementDef(doc, "para"))->pgfFormat, "para");
    EXPECT_EQ(Def(FindElementDef(doc, "title"))->pgfFormat, "title");
    EXPECT_EQ(Def(FindElementDef(doc, "em"))->pgfFormat, "");
    EXPECT_EQ(Def(FindElementDef(doc, "section"))->pgfFormat, "");
    EXPECT_NE(FindNamed(doc, FO_PgfFmt, "para"), 0u);

    // Blank text between elements is gone, blank text inside mixed content stays, a defaulted
    // attribute is not written into the element, list values are split, a tab is a host tab.
    EXPECT_EQ(TreeDump(doc, false),
              "flow Main main\n"
              "manual\n"
              "  title\n"
              "    \"Pump guide\"\n"
              "  section id=[s1] status=[final] keywords=[pump][valve]\n"
              "    title\n"
              "      \"Setup\"\n"
              "    para\n"
              "      \"Open the \"\n"
              "      em\n"
              "        \"main\"\n"
              "      \" valve, then see \"\n"
              "      xref target=[s2] also=[s1][s2]\n"
              "      \".\"\n"
              "  section id=[s2]\n"
              "    title\n"
              "      \"Care\"\n"
              "    para\n"
              "      \"Clean & dry.\x08\"\n"
              "      em\n"
              "        \"Never\"\n"
              "      \" \"\n"
              "      em\n"
              "        \"submerge\"\n"
              "      \".\"\n"
              "    para\n");
    F_ObjHandleT section = Elem(Elem(FlowOf(MainFlow(doc))->root)->first)->next;
    EXPECT_EQ(GetAttribute(section, "keywords")->size(), 2u);
}

TEST_F(HostFilesXml, DefinitionsFromUsageWithoutDtdAndInlineDecidedPerElement) {
    F_ObjHandleT doc = Open(kData / "host_files_plain.xml");
    ASSERT_NE(doc, 0u);
    // Without a DTD no attribute is declared: each element lists only the attributes it carries.
    EXPECT_EQ(FindAttr(doc, "step", "time"), nullptr);
    EXPECT_EQ(FindAttr(doc, "step", "n"), nullptr);
    F_ObjHandleT step1 = Elem(Elem(FlowOf(MainFlow(doc))->root)->first)->next;
    F_AttributesT attrs = F_ApiGetAttributes(doc, step1);
    ASSERT_EQ(attrs.len, 1u);
    EXPECT_STREQ(attrs.val[0].name, "n");
    F_ApiDeallocateAttributes(&attrs);
    EXPECT_EQ(Def(FindElementDef(doc, "step"))->pgfFormat, "step");
    // <b> holds text: a paragraph inside <notes>, which holds none; inline inside <step>.
    EXPECT_EQ(Def(FindElementDef(doc, "b"))->pgfFormat, "b");
    EXPECT_EQ(TreeDump(doc, false),
              "flow Main main\n"
              "recipe lang=[en]\n"
              "  name\n"
              "    \"Bread\"\n"
              "  step n=[1]\n"
              "    \"Mix \"\n"
              "    b pgf2\n"
              "      \"flour\"\n"
              "    \" and water.\"\n"
              "  step n=[2] time=[10m]\n"
              "    \"Knead.\"\n"
              "  notes\n"
              "    b\n"
              "      \"Keep warm.\"\n");
}

TEST_F(HostFilesXml, SavedAsXmlGivesBackTheSameTreeAndCatalog) {
    for (const char *source : {"host_files_manual.xml", "host_files_plain.xml"}) {
        SCOPED_TRACE(source);
        F_ObjHandleT doc = Open(kData / source);
        ASSERT_NE(doc, 0u);
        fs::path out = dir / (std::string("saved_") + source);
        ASSERT_EQ(Save(doc, out, FV_SaveFmtXml), doc);
        EXPECT_FALSE(Doc(doc)->layout) << "a save as XML lays nothing out";
        std::string before = TreeDump(doc, false);
        F_ObjHandleT again = Open(out);
        ASSERT_NE(again, 0u);
        EXPECT_EQ(TreeDump(again, false), before);
        for (const char *def : {"section", "step", "xref", "b"}) {
            const ElementDef *a = Def(FindElementDef(doc, def));
            const ElementDef *b = Def(FindElementDef(again, def));
            ASSERT_EQ(a == nullptr, b == nullptr);
            if (!a) continue;
            EXPECT_EQ(a->pgfFormat, b->pgfFormat);
            ASSERT_EQ(a->attrs.size(), b->attrs.size());
            for (size_t i = 0; i < a->attrs.size(); ++i) {
                EXPECT_EQ(a->attrs[i].name, b->attrs[i].name);
                EXPECT_EQ(a->attrs[i].type, b->attrs[i].type);
                EXPECT_EQ(a->attrs[i].required, b->attrs[i].required);
                EXPECT_EQ(a->attrs[i].choices, b->attrs[i].choices);
                EXPECT_EQ(a->attrs[i].defaults, b->attrs[i].defaults);
            }
        }
    }
    // Saved into another folder, the DOCTYPE still names its DTD, now by its absolute path.
    std::string xml = Read(dir / "saved_host_files_manual.xml");
    EXPECT_NE(xml.find("<!DOCTYPE manual SYSTEM \"" + fs::weakly_canonical(kData / "host_files_manual.dtd").string() + "\">"),
              std::string::npos) << xml;
    EXPECT_NE(xml.find("<para>Clean &amp; dry.\t<em>Never</em> <em>submerge</em>.</para>"), std::string::npos);
}

TEST_F(HostFilesXml, MalformedFileIsRefusedWithFileAndLineAndTheSessionGoesOn) {
    size_t openBefore = TheSession().openDocs.size();
    fs::path bad = kData / "host_files_malformed.xml";
    EXPECT_EQ(Open(bad), 0u);
    EXPECT_NE(FA_errno, 0);
    EXPECT_EQ(TheSession().openDocs.size(), openBefore);
    ASSERT_FALSE(TranscriptLines().empty());
    const std::string &msg = TranscriptLines().back();
    EXPECT_NE(msg.find(Win(bad)), std::string::npos) << msg;
    EXPECT_NE(msg.find("line 3"), std::string::npos) << msg;
    FA_errno = 0;
    EXPECT_NE(Open(kData / "host_files_plain.xml"), 0u);
    EXPECT_EQ(FA_errno, 0);
}

// Files no document may come from: each gives 0, FA_errno, a message naming the file, and
// leaves no document behind.
TEST_F(HostFilesXml, HostileAndBrokenFilesAreRefusedSafely) {
    Write("secret.txt", "TOP-SECRET");
    std::string deep;
    for (int i = 0; i < 400; ++i) deep += "<d>";
    for (int i = 0; i < 400; ++i) deep += "</d>";
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY a \"aaaaaaaaaaaaaaaaaaaa\">\n";
    char prev = 'a';
    for (char c = 'b'; c <= 'k'; ++c) {
        laughs += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i) laughs += std::string("&") + prev + ";";
        laughs += "\">\n";
        prev = c;
    }
    laughs += "]>\n<r>&k;</r>\n";
    struct Case {
        const char *name;
        std::string content;  // "" = the file does not exist
    } cases[] = {
        {"missing.xml", ""},
        {"deep.xml", "<?xml version=\"1.0\"?>\n" + deep},
        {"laughs.xml", laughs},
        {"binary.fm", std::string("\x01\x02\x03garbage", 10)},
        {"empty.xml", "<?xml version=\"1.0\"?>\n"},
        {"badnative.fm", "<qvdocument version=\"1\"><flows><flow name=\"Main\"><t>x</t></flow></flows></qvdocument>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::path p = c.content.empty() ? dir / c.name : Write(c.name, c.content);
        ClearTranscript();
        FA_errno = 0;
        size_t openBefore = TheSession().openDocs.size();
        EXPECT_EQ(Open(p), 0u);
        EXPECT_NE(FA_errno, 0);
        EXPECT_EQ(TheSession().openDocs.size(), openBefore);
        ASSERT_EQ(TranscriptLines().size(), 1u);
        EXPECT_NE(TranscriptLines()[0].find(c.name), std::string::npos) << TranscriptLines()[0];
    }

}

TEST_F(HostFilesXml, InternalEntitiesAreExpandedAtEveryReference) {
    fs::path p = Write("entities.xml",
                       "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY co \"Acme &#38;amp; Co\"><!ENTITY hi \"<b>hi</b>\">]>\n"
                       "<r><p>&co; and &co;</p><p>&hi;&hi;</p></r>\n");
    F_ObjHandleT doc = Open(p);
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(TreeDump(doc, false),
              "flow Main main\n"
              "r\n"
              "  p\n"
              "    \"Acme & Co and Acme & Co\"\n"
              "  p\n"
              "    b\n"
              "      \"hi\"\n"
              "    b\n"
              "      \"hi\"\n");
}

// Texts are stored in chunks: texts that fill a chunk and texts larger than one come through
// whole, in XML and in a native round trip.
TEST_F(HostFilesXml, LongTextsComeThroughWhole) {
    std::string big(300000, 'x');
    big[0] = 'A';
    big.back() = 'Z';
    std::string xml = "<r>";
    for (int i = 0; i < 5000; ++i) xml += "<p>paragraph " + std::to_string(i) + "</p>";
    xml += "<p>" + big + "</p><p>after</p></r>";
    F_ObjHandleT doc = Open(Write("long.xml", xml));
    ASSERT_NE(doc, 0u);
    ASSERT_EQ(Save(doc, dir / "long.fm", FV_SaveFmtBinary), doc);
    F_ObjHandleT again = Open(dir / "long.fm");
    for (F_ObjHandleT d : {doc, again}) {
        Element *root = Elem(FlowOf(MainFlow(d))->root);
        ASSERT_NE(root, nullptr);
        F_ObjHandleT last = root->last;
        EXPECT_EQ(Elem(Elem(last)->first)->text, "after");
        EXPECT_EQ(Elem(Elem(Elem(last)->prev)->first)->text, big);
        EXPECT_EQ(Elem(Elem(root->first)->first)->text, "paragraph 0");
    }
}

// Texts read from a file longer than a string holds in place are kept in blocks of the document:
// each edit of one (typing, a split by an inserted element, a join when that element goes) changes
// that text alone, and the edited and unedited texts save and read back as they stand, also once
// the documents they were read with are closed.
TEST_F(HostFilesXml, EditsOfTextsReadFromAFileChangeThatTextAlone) {
    const std::string first = "The first paragraph, long enough to be kept apart";
    const std::string second = "The second one, kept apart as well";
    fs::path file = Write("kept.xml", "<r><p>" + first + "</p><p>" + second + "</p><p>short</p></r>");
    F_ObjHandleT doc = Open(file);
    ASSERT_NE(doc, 0u);
    F_ObjHandleT bDef = AddElementDef(doc, "b", FV_FO_CONTAINER);
    Element *root = Elem(FlowOf(MainFlow(doc))->root);
    ASSERT_NE(root, nullptr);
    F_ObjHandleT p1 = root->first, p2 = Elem(p1)->next, p3 = Elem(p2)->next;
    auto text = [](F_ObjHandleT p) { return std::string(Elem(Elem(p)->first)->text); };
    ASSERT_EQ(text(p1), first);

    F_TextLocT at = F_ApiGetTextRange(doc, p1, FP_TextRange).beg;
    at.offset = 3;
    F_ApiAddText(doc, &at, " very");
    F_ElementLocT mid{p2, Elem(p2)->first, 10};
    F_ObjHandleT b = F_ApiNewElement(doc, bDef, &mid);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(text(p1), "The very first paragraph, long enough to be kept apart");
    EXPECT_EQ(text(p2), "The second");
    EXPECT_EQ(std::string(Elem(Elem(b)->next)->text), " one, kept apart as well");
    EXPECT_EQ(text(p3), "short");
    F_ApiDelete(doc, b);
    EXPECT_EQ(text(p2), second);
    EXPECT_EQ(Elem(p2)->first, Elem(p2)->last);

    F_ObjHandleT other = Open(Write("other.xml", "<r><p>" + second + " in another file</p></r>"));
    ASSERT_NE(other, 0u);
    fs::path out = dir / "kept_saved.xml";
    ASSERT_EQ(Save(doc, out, FV_SaveFmtXml), doc);
    std::string dump = TreeDump(doc, false);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT again = Open(out);
    ASSERT_NE(again, 0u);
    EXPECT_EQ(TreeDump(again, false), dump);
    EXPECT_EQ(text(Elem(FlowOf(MainFlow(other))->root)->first), second + " in another file");
}

// A file's tabs are read as host tabs in every text and comment, and nothing else changes: the
// texts are kept each after its length, and a length of 9 or 265 holds a tab's byte.
TEST_F(HostFilesXml, TabsAreReadAsHostTabsWhateverTheTextsLengths) {
    const std::string nine = "nine char", long265 = std::string(264, 'y') + "z";
    fs::path file = Write("tabs.xml", "<r><p>" + nine + "</p><p>a\tb</p><p>" + long265 +
                                          "</p><p>\tends\t</p><p><!--c\td-->" + nine + "</p></r>");
    F_ObjHandleT doc = Open(file);
    ASSERT_NE(doc, 0u);
    std::vector<std::string> texts;
    WalkTree(FlowOf(MainFlow(doc))->root, [&](F_ObjHandleT, const Element &e, size_t) {
        if (!e.def || e.misc) texts.emplace_back(e.text);
        return true;
    });
    EXPECT_EQ(texts, (std::vector<std::string>{nine, "a\x08" "b", long265, "\x08" "ends\x08", "c\x08" "d", nine}));
    fs::path out = dir / "tabs_saved.xml";
    ASSERT_EQ(Save(doc, out, FV_SaveFmtXml), doc);
    EXPECT_NE(Read(out).find("<p>a\tb</p>"), std::string::npos) << Read(out);
}

// Text and attribute values as a save writes them: markup characters and carriage returns as
// references (in a value tabs and line ends too, which a reader would make spaces of), host tabs
// as tabs, ill-formed UTF-8 as U+FFFD, and what XML cannot carry (other control characters,
// U+FFFE, U+FFFF) left out, so that the file is XML and reads back as written.
TEST_F(HostFilesXml, TextAndValuesAreWrittenAsXmlCanCarryThem) {
    struct Case {
        std::string stored, text, value;
    };
    const Case cases[] = {
        {"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c'", "a&lt;b&gt;&amp;&quot;c'"},
        {"1\t2\n3\r4\x08" "5", "1\t2\n3&#13;4\t5", "1&#9;2&#10;3&#13;4&#9;5"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E",
         "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E"},
        {"x\x01\x1Fy\xEF\xBF\xBEz\xEF\xBF\xBF", "xyz", "xyz"},
        {"\xC3(\xED\xA0\x80\xC0\x80", "\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "\xEF\xBF\xBD(\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        F_ObjHandleT doc = NewDocument(Win(dir / "escaped.fm"));
        F_ObjHandleT def = AddElementDef(doc, "p", FV_FO_CONTAINER, "Body");
        F_ObjHandleT p = AppendElement(doc, 0, def, MainFlow(doc));
        AppendText(doc, p, c.stored);
        ASSERT_TRUE(SetAttribute(doc, p, "v", {c.stored}));
        ASSERT_EQ(Save(doc, dir / "escaped.xml", FV_SaveFmtXml), doc) << (TranscriptLines().empty() ? "" : TranscriptLines().back());
        std::string saved = Read(dir / "escaped.xml");
        EXPECT_NE(saved.find("<p v=\"" + c.value + "\">" + c.text + "</p>"), std::string::npos) << saved;
        ASSERT_NE(Open(dir / "escaped.xml"), 0u);
        CloseDocument(doc);
    }
}

TEST_F(HostFilesXml, PlainTextSaveWritesOneLinePerParagraph) {
    F_ObjHandleT doc = Open(kData / "host_files_plain.xml");
    ASSERT_EQ(Save(doc, dir / "recipe.txt", FV_SaveFmtText), doc);
    EXPECT_EQ(Read(dir / "recipe.txt"), "Bread\nMix flour and water.\nKnead.\nKeep warm.\n");
}

// The host's rule on external files holds for its own reads only: after an open (a native one
// too), another user of libxml2 in the process reads files, and their entities, as before.
TEST_F(HostFilesXml, AnOpenLeavesLibxml2AsItFoundIt) {
    const xmlExternalEntityLoader before = xmlGetExternalEntityLoader();
    fs::create_directories(dir / "elsewhere");
    Write("elsewhere/part.ent", "entity text");
    const fs::path other = Write("other.xml", "<!DOCTYPE r [<!ENTITY part SYSTEM \"elsewhere/part.ent\">]><r>&part;</r>");
    F_ObjHandleT doc = Open(kData / "host_files_manual.xml");
    ASSERT_NE(doc, 0u);
    ASSERT_NE(Save(doc, dir / "manual.fm", FV_SaveFmtBinary), 0u);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    ASSERT_NE(Open(dir / "manual.fm"), 0u);
    EXPECT_EQ(xmlGetExternalEntityLoader(), before);
    xmlDocPtr x = xmlReadFile(other.c_str(), nullptr, XML_PARSE_NOENT | XML_PARSE_NONET);
    ASSERT_NE(x, nullptr);
    xmlChar *text = xmlNodeGetContent(xmlDocGetRootElement(x));
    EXPECT_STREQ(reinterpret_cast<const char *>(text), "entity text");
    xmlFree(text);
    xmlFreeDoc(x);
}

}  // namespace
