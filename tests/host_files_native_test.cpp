// The native document format and the open/save calls: a save and a reopen give back the same
// document (catalog, formats, flows, tree, attributes, unique ids, settings); opening twice,
// invisible opens, renaming saves, refused save formats, parameter lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "docfile_api.h"
#include "fdk.h"
#include "model.h"
#include "paths.h"
#include "text_props.h"
#include "user_actions.h"
#include "support/host_files_dump.h"
#include "support/host_files_fixture.h"

#include <unistd.h>

namespace fs = std::filesystem;
using namespace host;

namespace {

class HostFilesNative : public HostFilesFixture {
  protected:
    HostFilesNative() : HostFilesFixture("qv_files_native_") {}
    std::string Path(F_ObjHandleT doc) {
        StringT s = F_ApiGetString(0, doc, FP_Path);
        std::string out = s ? s : "<null>";
        F_ApiDeallocateString(&s);
        return out;
    }
    // A document using what the format must keep: every attribute definition field, formats of
    // several kinds, a second flow, text with host tabs, control characters and non-ASCII text,
    // undeclared attributes, a forced paragraph mode, settings.
    F_ObjHandleT MakeRichDocument() {
        F_ObjHandleT doc = NewDocument(Win(dir / "rich.fm"));
        Doc(doc)->pgfsPerPage = 25;
        F_ObjHandleT chapter = AddElementDef(doc, "Chapter");
        F_ObjHandleT para = AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body Text");
        F_ObjHandleT xref = AddElementDef(doc, "XRef", FV_FO_XREF);
        AttrDef id{"Id", FV_AT_UNIQUE_ID, true, true, {}, {}, "", ""};
        AttrDef level{"Level", FV_AT_INTEGER, false, false, {}, {"3"}, "1", "9"};
        AttrDef kind{"Kind", FV_AT_CHOICE, false, false, {"note", "two words"}, {"note"}, "", ""};
        AttrDef tags{"Tags", FV_AT_STRINGS, false, false, {}, {"a", "b c"}, "", ""};
        AttrDef refs{"Refs", FV_AT_UNIQUE_IDREFS, false, false, {}, {}, "", ""};
        for (const AttrDef &a : {id, level, kind, tags}) AddAttributeDef(chapter, a);
        AddAttributeDef(xref, AttrDef{"Target", FV_AT_UNIQUE_IDREF, true, false, {}, {}, "", ""});
        AddAttributeDef(xref, refs);
        AddNamed(doc, FO_CharFmt, "Emphasis");
        AddNamed(doc, FO_CondFmt, "Comment");
        AddNamed(doc, FO_Color, "Red");
        AddNamed(doc, FO_MarkerType, "Hypertext");

        F_ObjHandleT root = AppendElement(doc, 0, chapter, MainFlow(doc));
        SetAttribute(doc, root, "Id", {"c1"});
        SetUniqueId(root, 7777);
        SetAttribute(doc, root, "Tags", {"x", "y z"});
        SetAttribute(doc, root, "Stray", {"kept"});  // undeclared
        F_ObjHandleT p1 = AppendElement(doc, root, para);
        AppendText(doc, p1, "Tab\x08here, CR\r, bell\x07, <&> \"quoted\" \xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80 ");
        F_ObjHandleT x = AppendElement(doc, p1, xref);
        SetAttribute(doc, x, "Target", {"c1"});
        SetUniqueId(x, 424242);  // unique ids need not follow creation order
        AppendText(doc, p1, "  trailing  ");
        F_ObjHandleT p2 = AppendElement(doc, root, para);
        SetFormsParagraph(p2, false);
        AppendElement(doc, root, para);  // empty
        F_ObjHandleT scratch = AddFlow(doc, "QVRN_ScratchPad");
        F_ObjHandleT sroot = AppendElement(doc, 0, para, scratch);
        AppendText(doc, sroot, "scratch");
        return doc;
    }
};

TEST_F(HostFilesNative, SaveAndReopenIsLossless) {
    F_ObjHandleT doc = MakeRichDocument();
    std::string before = TreeDump(doc, true);
    ASSERT_EQ(Save(doc, "", FV_SaveFmtBinary), doc);
    F_ObjHandleT again = Open(dir / "rich.fm");
    ASSERT_NE(again, 0u);
    EXPECT_EQ(TreeDump(again, true), before);
    // A second round trip changes nothing either, and new elements get fresh unique ids.
    ASSERT_EQ(Save(again, dir / "rich2.fm", FV_SaveFmtBinary), again);
    F_ObjHandleT third = Open(dir / "rich2.fm");
    EXPECT_EQ(TreeDump(third, true), before);
    F_ObjHandleT fresh = AppendElement(third, FlowOf(MainFlow(third))->root, FindElementDef(third, "Para"));
    EXPECT_GT(Elem(fresh)->unique, 424242);  // past the highest stored one
}

TEST_F(HostFilesNative, CharacterRunsKeepTheirColourConditionsAndCharacterFormat) {
    F_ObjHandleT doc = NewDocument(Win(dir / "runs.fm"));
    F_ObjHandleT para = AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
    AddNamed(doc, FO_CharFmt, "Red");
    F_ObjHandleT draft = AddNamed(doc, FO_CondFmt, "Draft");
    F_ObjHandleT red = AddNamed(doc, FO_Color, "Red");
    F_ObjHandleT p = AppendElement(doc, 0, para, MainFlow(doc));
    F_ObjHandleT text = AppendText(doc, p, "abcdef");
    PropRun plain{2, {}}, marked{4, {}};
    marked.props.color = red;
    marked.props.conditions = {static_cast<IntT>(draft)};
    marked.props.charFormat = "Red";
    SetTextRuns(text, {plain, marked});
    ASSERT_EQ(Save(doc, "", FV_SaveFmtBinary), doc);
    F_ObjHandleT again = Open(dir / "runs.fm");
    ASSERT_NE(again, 0u);
    F_ObjHandleT t = Elem(FlowOf(MainFlow(again))->root)->first;
    const std::vector<PropRun> &runs = TextRuns(t);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].len, 4);
    EXPECT_EQ(runs[1].props.charFormat, "Red");
    EXPECT_EQ(runs[1].props.conditions.size(), 1u);
    EXPECT_NE(runs[1].props.color, 0u);
    EXPECT_TRUE(runs[0].props == TextProps{});
}

TEST_F(HostFilesNative, XmlOriginSurvivesANativeRoundTripAndSavesAsXmlAgain) {
    F_ObjHandleT doc = Open(fs::path(QV_SOURCE_DIR) / "tests" / "data" / "host_files_manual.xml");
    ASSERT_NE(doc, 0u);
    ASSERT_EQ(Save(doc, dir / "manual.fm", FV_SaveFmtBinary), doc);
    std::string tree = TreeDump(doc, true);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT again = Open(dir / "manual.fm");
    EXPECT_EQ(TreeDump(again, true), tree);
    ASSERT_EQ(Save(again, dir / "manual.xml", FV_SaveFmtXml), again);
    std::ifstream in(dir / "manual.xml");
    std::string xml((std::istreambuf_iterator<char>(in)), {});
    // The declarations come back as they were written, NMTOKENS included.
    EXPECT_NE(xml.find("<!ELEMENT section (title,para*)>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("keywords NMTOKENS #IMPLIED"), std::string::npos) << xml;
}

// A file open already is not read again: the open document comes forward and is returned.
// A client's open of an open file reads it again into a second, independent document; the
// user's own open brings the open document forward; parameter 5 opens out of sight.
TEST_F(HostFilesNative, OpeningAnOpenFileGivesASecondDocumentAndTheUsersOpenBringsItForward) {
    F_ObjHandleT doc = MakeRichDocument();
    ASSERT_EQ(Save(doc, "", FV_SaveFmtBinary), doc);
    F_ApiSetInt(0, doc, FP_IsInFront, 0);
    F_ObjHandleT second = Open(dir / "rich.fm");
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, doc);
    EXPECT_EQ(Path(second), Path(doc));
    EXPECT_EQ(TheSession().openDocs.size(), 2u);
    F_ObjHandleT root = F_ApiGetId(second, F_ApiGetId(0, second, FP_MainFlowInDoc), FP_HighestLevelElement);
    ASSERT_NE(root, 0u);
    F_ApiDelete(second, root);  // an edit of the copy leaves the first alone
    EXPECT_NE(F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement), 0u);
    ASSERT_EQ(F_ApiClose(second, 1), 0);

    EXPECT_EQ(host::UserOpen(Win(dir / "rich.fm"), true, nullptr), doc);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_IsInFront), 1);
    EXPECT_EQ(TheSession().openDocs.size(), 1u);
    ASSERT_EQ(F_ApiClose(doc, 1), 0);
    F_ObjHandleT hidden = Open(dir / "rich.fm", 0);
    ASSERT_NE(hidden, 0u);
    EXPECT_EQ(F_ApiGetInt(0, hidden, FP_IsOnScreen), 0);
}

TEST_F(HostFilesNative, SaveUnderAnotherPathRenamesTheDocument) {
    F_ObjHandleT doc = MakeRichDocument();
    Doc(doc)->modified = 1;
    ASSERT_EQ(Save(doc, dir / "renamed.fm", FV_SaveFmtBinary), doc);
    EXPECT_EQ(Path(doc), Win(dir / "renamed.fm"));
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocIsModified), 0);
    EXPECT_TRUE(fs::exists(dir / "renamed.fm"));
    EXPECT_FALSE(fs::exists(dir / "rich.fm"));
    // A simple save takes the format from the ending and the document takes the path.
    ASSERT_EQ(F_ApiSimpleSave(doc, Win(dir / "simple.xml").c_str(), 0), doc);
    EXPECT_EQ(Path(doc), Win(dir / "simple.xml"));
    std::ifstream in(dir / "simple.xml");
    std::string head;
    std::getline(in, head);
    EXPECT_EQ(head.rfind("<?xml", 0), 0u);
    std::getline(in, head);
    EXPECT_EQ(head.rfind("<!DOCTYPE Chapter [", 0), 0u);
}

TEST_F(HostFilesNative, FormatsTheHostCannotWriteFailWithoutWriting) {
    F_ObjHandleT doc = MakeRichDocument();
    for (IntT format : {FV_SaveFmtMIF, FV_SaveFmtSGML, FV_SaveFmtFilter, FV_SaveFmtPdf}) {
        SCOPED_TRACE(format);
        FA_errno = 0;
        EXPECT_EQ(Save(doc, dir / "out.any", format), 0u);
        EXPECT_NE(FA_errno, 0);
        EXPECT_FALSE(fs::exists(dir / "out.any"));
    }
    // Names XML cannot carry refuse an XML save; no file is left.
    AddElementDef(doc, "Not a name");
    FA_errno = 0;
    EXPECT_EQ(Save(doc, dir / "out.xml", FV_SaveFmtXml), 0u);
    EXPECT_NE(FA_errno, 0);
    EXPECT_TRUE(fs::is_empty(dir));
    FA_errno = 0;
    EXPECT_EQ(Save(0x04FFFFFF, dir / "x.fm", FV_SaveFmtBinary), 0u);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(HostFilesNative, DefaultParameterListsHoldEveryNumber) {
    F_PropValsT open = F_ApiGetOpenDefaultParams();
    for (IntT n : {2, 3, 5, 7, 14, 15, 17, 18, 19, 20, 22, 23, 24, 25, 28, 29, 30, 35, 36, 40, 41, 42, 43})
        EXPECT_GE(F_ApiGetPropIndex(&open, n), 0) << n;
    F_ApiDeallocatePropVals(&open);
    F_PropValsT save = F_ApiGetSaveDefaultParams();
    for (IntT n : {1, 2, 3, 4, 5, 6, 12, 16, 17, 18, 19, 21}) EXPECT_GE(F_ApiGetPropIndex(&save, n), 0) << n;
    EXPECT_EQ(save.val[F_ApiGetPropIndex(&save, 16)].propVal.valType, FT_String);
    F_ApiDeallocatePropVals(&save);
}

}  // namespace
