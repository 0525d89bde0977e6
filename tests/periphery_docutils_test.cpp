// Host document utilities: settings kept as attributes, row positions, the cancel poll, colour
// names, graphic selection, window placement, paragraph format re-application and flag 722,
// graphic and cross-reference path clean-ups, condition display, XMP metadata, book update and
// the settings merge of a previous installation; also the fixed program starter.
#include "periphery_fixture.h"

#include <fstream>

#include "doc_services.h"
#include "lib/host/docio.h"
#include "lib/host/pgftext.h"
#include "lib/host/settings_doc.h"
#include "lib/host/tables.h"
#include "lib/host/cancel.h"
#include "lib/host/graphics.h"
#include "lib/host/format_catalogs.h"
#include "lib/host/pgf_format.h"
#include "lib/host/file_references.h"
#include "lib/host/xmp.h"
#include "lib/host/book_update.h"
#include "lib/host/hostui.h"
#include "lib/host/system_services.h"
#include "lib/host/tablesel.h"
#include "lib/strings/heapstr.h"

namespace {

std::vector<std::pair<IntT, IntT>> &UpdateParams() { return host::LastUpdateBookParams(); }

class DocUtils : public PeripheryDoc {
  protected:
    // A settings element <Setting Mode="..." Count="..." Name="..."> in the main flow.
    F_ObjHandleT Settings() {
        F_ObjHandleT def = host::AddElementDef(doc, "Setting");
        for (const char *a : {"Mode", "Count", "Name", "Prompt", "List"}) {
            host::AttrDef ad;
            ad.name = a;
            ad.type = std::string(a) == "List" ? FV_AT_STRINGS : FV_AT_STRING;
            host::AddAttributeDef(def, ad);
        }
        F_ObjHandleT e = host::AppendElement(doc, root, def);
        host::SetAttribute(doc, e, "Mode", {"True"});
        host::SetAttribute(doc, e, "Count", {"12"});
        host::SetAttribute(doc, e, "Prompt", {"Once"});
        host::SetAttribute(doc, e, "List", {"a", "b"});
        return e;
    }
    std::string Path(F_ObjHandleT g) {
        StringT s = F_ApiGetString(doc, g, FP_InsetFile);
        std::string out = s ? s : "";
        F_ApiDeallocateString(&s);
        return out;
    }
};

TEST_F(DocUtils, SettingsReadAndWriteByKind) {
    Settings();
    std::string text;
    struct Read {
        const char *attr;
        IntT kind, result;
    } reads[] = {{"Mode", kSettingFlag, 1},     {"Count", kSettingNumber, 12}, {"Prompt", kSettingPrompt, 2},
                 {"Count", kSettingFlag, 0},    {"Mode", kSettingPrompt, 1}};
    for (const Read &r : reads) EXPECT_EQ(r.result, om_SettingsDocRead(doc, "Setting", r.attr, &text, r.kind)) << r.attr;
    EXPECT_EQ(1, om_SettingsDocRead(doc, "Setting", "Count", &text, kSettingText));
    EXPECT_EQ("12", text);
    EXPECT_EQ(1, om_SettingsDocRead(doc, "Setting", "Name", &text, kSettingText));
    EXPECT_EQ(ErrorSentinel, text);  // empty value
    EXPECT_EQ(0, om_SettingsDocRead(doc, "Missing", "Name", &text, kSettingText));
    EXPECT_EQ(ErrorSentinel, text);
    EXPECT_EQ(2, om_SettingsDocRead(doc, "Setting", "List", &text, kSettingList));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), SettingsDocValues);

    struct Write {
        const char *attr;
        IntT value;
        const char *text;
        IntT kind;
        const char *stored;
    } writes[] = {{"Mode", 0, "", kSettingFlag, "False"},     {"Mode", 1, "", kSettingFlag, "True"},
                  {"Count", -3, "", kSettingNumber, "-3"},    {"Name", 0, "abc", kSettingText, "abc"},
                  {"Prompt", 2, "", kSettingPrompt, "Once"},  {"Prompt", 0, "", kSettingPrompt, "Never"},
                  {"Prompt", 7, "", kSettingPrompt, "Always"}};
    for (const Write &w : writes) {
        om_SettingsDocWrite(doc, "Setting", w.attr, w.value, w.text, w.kind);
        EXPECT_EQ(1, om_SettingsDocRead(doc, "Setting", w.attr, &text, kSettingText));
        EXPECT_EQ(w.stored, text) << w.attr;
    }
    EXPECT_EQ(1, om_SettingsDocRead(doc, "Setting", "Prompt", &text, kSettingPrompt));  // "Always"
}

TEST_F(DocUtils, GraphicPathCleanUps) {
    F_ObjHandleT frame = Frame(10, 10);
    struct Case {
        const char *path, *lower, *png;
    } cases[] = {
        {"D:\\Pics\\Photo.TIFF", "d:\\pics\\photo.tiff", "D:\\Pics\\Photo.png"},
        {"D:\\Pics\\scan.tif", "d:\\pics\\scan.tif", "D:\\Pics\\scan.png"},
        {"D:/Mixed\\Case/A.Tif", "d:/mixed\\case/a.tif", "D:/Mixed\\Case/A.png"},
        {"Z:\\\xC3\x84rger.png", "z:\\\xC3\xA4rger.png", "Z:\\\xC3\x84rger.png"},
        {"already.png", "already.png", "already.png"},
    };
    std::vector<F_ObjHandleT> g;
    for (const Case &c : cases) {
        g.push_back(Graphic(FO_Inset, frame, 0, 0, 1, 1));
        F_ApiSetString(doc, g.back(), FP_InsetFile, c.path);
    }
    Graphic(FO_Rectangle, frame, 0, 0, 1, 1);
    EXPECT_EQ(3, om_GraphicPathsTiffToPng(doc));
    for (size_t i = 0; i < g.size(); ++i) EXPECT_EQ(cases[i].png, Path(g[i])) << i;
    for (size_t i = 0; i < g.size(); ++i) F_ApiSetString(doc, g[i], FP_InsetFile, cases[i].path);
    EXPECT_EQ(4, om_GraphicPathsLowerCase(doc));
    for (size_t i = 0; i < g.size(); ++i) EXPECT_EQ(cases[i].lower, Path(g[i])) << i;
    EXPECT_EQ(0, om_GraphicPathsLowerCase(0));
}

TEST_F(DocUtils, CrossReferenceFilesLowerCaseKeepTheDriveLetter) {
    F_ObjHandleT def = host::AddElementDef(doc, "XRef", FV_FO_XREF);
    F_ObjHandleT local = F_ApiGetId(doc, host::AppendElement(doc, Para("a "), def), FP_Object);
    F_ObjHandleT other = F_ApiGetId(doc, host::AppendElement(doc, Para("b "), def), FP_Object);
    F_ApiSetString(doc, other, FP_XRefFile, "C:\\Books\\Chapter1.FM");
    Answer("ok");
    EXPECT_EQ(1, om_XRefSourceFilesLowerCase(doc));
    StringT file = F_ApiGetString(doc, other, FP_XRefFile);
    EXPECT_STREQ("C:\\books\\chapter1.fm", file);
    F_ApiDeallocateString(&file);
    StringT none = F_ApiGetString(doc, local, FP_XRefFile);
    EXPECT_STREQ("", none);
    F_ApiDeallocateString(&none);
    EXPECT_TRUE(Shown("C:\\books\\chapter1.fm\nC:\\books\\chapter1.fm"));
}

TEST_F(DocUtils, RowPositionsByType) {
    F_ObjHandleT p = Para("t");
    F_ElementLocT loc{p, 0, FV_OBJ_END_OFFSET};
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &loc);
    F_ObjHandleT table = F_ApiNewTable(doc, "Plain", 1, 3, 1, 1, &at);
    std::vector<F_ObjHandleT> rows;
    for (F_ObjHandleT r = F_ApiGetId(doc, table, FP_FirstRowInTbl); r; r = F_ApiGetId(doc, r, FP_NextRowInTbl))
        rows.push_back(r);
    ASSERT_EQ(5u, rows.size());  // heading, three body rows, footing
    EXPECT_EQ(1, om_TableRowPositionOfType(doc, rows[0], 0));
    EXPECT_EQ(2, om_TableRowPositionOfType(doc, rows[2], 1));
    EXPECT_EQ(3, om_TableRowPositionOfType(doc, rows[2], -1));
    EXPECT_EQ(0, om_TableRowPositionOfType(doc, rows[2], 2));
    EXPECT_EQ(0, om_TableRowPositionOfType(doc, 0, -1));

    om_CellSetText(doc, table, 0, 2, 1, "Needle", 0);
    F_ObjHandleT row = 0;
    EXPECT_EQ(table, om_TableFindByCellText(doc, "needle", 0, "", 0, &row));
    EXPECT_EQ(rows[1], row);  // the second row counted from the heading
    EXPECT_EQ(0u, om_TableFindByCellText(doc, "needle", 0, "", 1, &row));
    EXPECT_EQ(0u, om_TableFindByCellText(doc, "Needle", 0, "Other", 1, &row));
    EXPECT_EQ(0u, om_TableFindByCellText(doc, "Needle", 2, "", 1, &row));
}

TEST_F(DocUtils, ColoursSelectionWindowConditionsAndMetadata) {
    host::AddNamed(doc, FO_Color, "Red");
    host::AddNamed(doc, FO_Color, "Blue");
    F_StringsT names{0, nullptr};
    EXPECT_EQ(2, om_DocColorNames(doc, FO_Color, &names));
    EXPECT_STREQ("Blue", names.val[1]);
    F_ApiDeallocateStrings(&names);
    EXPECT_EQ(-1, om_DocColorNames(doc, FO_CondFmt, &names));

    F_ObjHandleT frame = Frame(10, 10);
    F_ObjHandleT a = Graphic(FO_Rectangle, frame, 0, 0, 1, 1), b = Graphic(FO_Oval, frame, 0, 0, 1, 1);
    UIntT ids[] = {a, b};
    F_UIntsT list{2, ids};
    om_GraphicsSelect(doc, &list);
    EXPECT_EQ(a, F_ApiGetId(0, doc, FP_FirstSelectedGraphicInDocAlt));
    F_UIntsT was = om_GraphicsDeselectAll(doc);
    ASSERT_EQ(2u, was.len);
    EXPECT_EQ(b, was.val[1]);
    F_ApiFreeIdList(&was);
    EXPECT_EQ(0u, F_ApiGetId(0, doc, FP_FirstSelectedGraphicInDoc));

    F_ApiSetInt(0, doc, FP_ScreenX, 10);
    F_ApiSetInt(0, doc, FP_ScreenH, 500);
    om_WindowShift(doc, 20, 1);
    EXPECT_EQ(30, F_ApiGetInt(0, doc, FP_ScreenX));
    EXPECT_EQ(620, F_ApiGetInt(0, doc, FP_ScreenW));
    EXPECT_EQ(480, F_ApiGetInt(0, doc, FP_ScreenH));

    F_ObjHandleT draft = F_ApiNewNamedObject(doc, FO_CondFmt, "Draft");
    F_ApiSetInt(0, doc, FP_ShowAll, 1);
    EXPECT_EQ(1, om_CondShowHide(doc, {"Draft", "Missing"}, 2));
    EXPECT_EQ(0, F_ApiGetInt(0, doc, FP_ShowAll));
    EXPECT_EQ(0, F_ApiGetInt(doc, draft, FP_CondFmtIsShown));
    EXPECT_EQ(0, om_CondShowHide(0, {"Draft"}, 1));
    EXPECT_EQ(200, StatusCode);

    om_DocSetXmpField(doc, "title", "A & B");
    StringT xmp = F_ApiGetString(0, doc, FP_XmpPacket);
    std::string packet = xmp ? xmp : "";
    F_ApiDeallocateString(&xmp);
    EXPECT_EQ(0u, packet.find("<?xpacket begin="));
    EXPECT_NE(std::string::npos, packet.find("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">A &amp; B</rdf:li>"));
    EXPECT_NE(std::string::npos, packet.find("<?xpacket end=\"w\"?>"));
    EXPECT_NE(std::string::npos, XmpPacket("Copyright URL", "u").find("<xapRights:Marked>False</xapRights:Marked>"));
    std::string unknown = XmpPacket("Unknown", "value");
    EXPECT_NE(std::string::npos, unknown.find("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\"></rdf:li>"));
    EXPECT_EQ(std::string::npos, unknown.find("value"));
}

TEST_F(DocUtils, ParagraphFormatReappliedAndFlag722) {
    F_ObjHandleT p = Para("styled text");
    host::AddNamed(doc, FO_CharFmt, "Emphasis");
    F_ObjHandleT pgf = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
    F_TextRangeT all{{pgf, 0}, {pgf, FV_OBJ_END_OFFSET}};
    F_PropValT tag{};
    tag.propIdent = FP_CharTag;
    tag.propVal.valType = FT_String;
    tag.propVal.sval = const_cast<StringT>("Emphasis");
    F_ApiSetTextPropVal(doc, &all, &tag);
    om_PgfReapplyFormat(doc, pgf, 7, -1);
    for (auto [offset, want] : {std::pair<IntT, const char *>{2, "Emphasis"}, {8, ""}}) {
        F_TextLocT at{pgf, offset};
        F_PropValT v = F_ApiGetTextPropVal(doc, &at, FP_CharTag);
        EXPECT_STREQ(want, v.propVal.sval) << offset;
        F_ApiDeallocateString(&v.propVal.sval);
    }
    EXPECT_EQ(1, om_PgfSetProperty722(doc, p));
    EXPECT_EQ(1, F_ApiGetInt(doc, pgf, FP_PgfFlag));
    EXPECT_EQ(0, om_PgfSetProperty722(doc, p));
}

TEST_F(DocUtils, BookUpdatesSetTheirParameters) {
    F_ObjHandleT book = host::NewBook("Z:\\t\\b.book", "Book");
    const IntT values[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(1, om_BookUpdate(book, values));
    std::vector<std::pair<IntT, IntT>> got = UpdateParams();
    auto value = [&](IntT n) {
        for (auto [k, v] : got)
            if (k == n) return v;
        return -1;
    };
    EXPECT_EQ(1, value(7));
    EXPECT_EQ(2, value(12));
    EXPECT_EQ(7, value(4));
    EXPECT_EQ(0, om_BookUpdate(0, values));
    EXPECT_EQ(1, om_BookUpdateAll(book));
    got = UpdateParams();
    for (IntT n : {6, 1, 3}) EXPECT_EQ(1, value(n)) << n;
    for (IntT n : {2, 5, 4, 7, 12, 8, 9, 10, 11}) EXPECT_EQ(0, value(n)) << n;
}

TEST_F(DocUtils, SettingsMergeOfAPreviousInstallation) {
    auto make = [&](const std::string &name, const std::string &def) {
        F_ObjHandleT d = NewDoc(Win(dir / name));
        host::AddElementDef(d, def);
        om_DocSave(d, Win(dir / name).c_str(), 0, 0, 0, 0);
        F_ApiClose(d, 1);
    };
    std::string oldPath = Win(dir / "old.fm"), newPath = Win(dir / "new.fm");
    EXPECT_EQ(0u, om_SettingsMergeInstall(oldPath, newPath, "Quorvane", "2.0"));

    make("new.fm", "NewSetting");
    F_ObjHandleT first = om_SettingsMergeInstall(oldPath, newPath, "Quorvane", "2.0");
    ASSERT_NE(0u, first);
    EXPECT_TRUE(std::filesystem::exists(dir / "old.fm"));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.fm"));
    EXPECT_TRUE(Shown("Welcome to Quorvane 2.0"));
    F_ApiClose(first, 1);

    make("new.fm", "LaterSetting");
    host::ClearTranscript();
    F_ObjHandleT merged = om_SettingsMergeInstall(oldPath, newPath, "Quorvane", "2.1");
    ASSERT_NE(0u, merged);
    EXPECT_TRUE(Shown("Quorvane has detected that you have or have had the software installed before. Quorvane will now "
                      "attempt to merge your previous settings with the new version."));
    EXPECT_TRUE(Shown("The merge appears to have completed successfully."));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.fm"));
    EXPECT_NE(0u, F_ApiGetNamedObject(merged, FO_ElementDef, "NewSetting"));
    EXPECT_NE(0u, F_ApiGetNamedObject(merged, FO_ElementDef, "LaterSetting"));
}

TEST_F(DocUtils, PollCancelAskConfirmsOnlyWithTheFlag) {
    EXPECT_EQ(0, om_PollCancelAsk(1));
    host::PressEsc();
    EXPECT_EQ(1, om_PollCancelAsk(0));
    host::PressEsc();
    Answer("no");
    EXPECT_EQ(0, om_PollCancelAsk(1));
    host::PressEsc();
    Answer("yes");
    EXPECT_EQ(1, om_PollCancelAsk(1));
    EXPECT_EQ(0, CancelFlag);
}

TEST_F(DocUtils, FixedProgramsStartThroughTheLauncherOrFail) {
    std::vector<std::string> started;
    qv::sys::SetLauncher([&](const std::string &program, const std::vector<std::string> &) {
        started.push_back(program);
        return 0;
    });
    std::filesystem::create_directories(dir / "c" / "WINDOWS" / "system32");
    host::MapDrive('C', dir / "c");
    EXPECT_EQ(0, om_ShellOpenFixedProgram(1, "pic.png"));  // absent
    std::string paint = (dir / "c" / "WINDOWS" / "system32" / "mspaint.exe").string();
    { std::ofstream(paint) << "#!/bin/sh\n"; }
    std::filesystem::permissions(paint, std::filesystem::perms::owner_all);
    EXPECT_EQ(1, om_ShellOpenFixedProgram(1, "pic.png"));
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(paint, started[0]);
    EXPECT_EQ(0, om_ShellOpenFixedProgram(4, ""));
    EXPECT_EQ(0, om_ShellOpenFixedProgram(5, ""));
    host::MapDrive('C', "");
    qv::sys::SetLauncher(nullptr);
}

}  // namespace

namespace {

// A 3 x 3 body table after a paragraph; cell texts "r<row>c<column>".
class TableSelection : public PeripheryDoc {
  protected:
    void SetUp() override {
        PeripheryDoc::SetUp();
        F_ObjHandleT p = Para("before");
        F_ElementLocT loc{p, 0, FV_OBJ_END_OFFSET};
        F_TextLocT at = F_ApiElementLocToTextLoc(doc, &loc);
        table = F_ApiNewTable(doc, "Grid", 3, 3, 0, 0, &at);
        for (IntT r = 1; r <= 3; ++r)
            for (IntT c = 1; c <= 3; ++c)
                om_CellSetText(doc, table, 0, r, c, ("r" + std::to_string(r) + "c" + std::to_string(c)).c_str(), 0);
        for (F_ObjHandleT r = F_ApiGetId(doc, table, FP_FirstRowInTbl); r; r = F_ApiGetId(doc, r, FP_NextRowInTbl)) rows.push_back(r);
    }
    F_ObjHandleT Cell(int row, int column) {
        F_ObjHandleT c = F_ApiGetId(doc, rows[row], FP_FirstCellInRow);
        for (int i = 0; i < column; ++i) c = F_ApiGetId(doc, c, FP_NextCellInRow);
        return c;
    }
    F_ObjHandleT ElementOf(F_ObjHandleT obj) { return F_ApiGetId(doc, obj, FP_Element); }
    std::vector<UIntT> Ids(F_UIntsT list) {
        std::vector<UIntT> out(list.val, list.val + list.len);
        F_ApiFreeIdList(&list);
        return out;
    }
    F_ObjHandleT table = 0;
    std::vector<F_ObjHandleT> rows;
};

TEST_F(TableSelection, TheCellOfTheTextSelection) {
    F_ObjHandleT pgf = F_ApiGetId(doc, Cell(1, 2), FP_FirstPgf);
    F_TextRangeT in{{pgf, 1}, {pgf, 1}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &in);
    EXPECT_EQ(Cell(1, 2), om_TableSelectionPart(doc, 1, "'"));
    EXPECT_EQ(rows[1], om_TableSelectionPart(doc, 1, "&"));
    EXPECT_EQ(table, om_TableSelectionPart(doc, 1, "$"));
    EXPECT_EQ(0u, om_TableSelectionPart(doc, 0, "$"));  // no cells selected
    IntT count = 0;
    EXPECT_EQ((std::vector<UIntT>{Cell(1, 2)}), Ids(om_SelectedTableCells(doc, 0, 1, &count)));
    EXPECT_EQ(1, count);
    EXPECT_EQ(table, om_TablesInSelection(doc, nullptr, 1));
    EXPECT_EQ(0u, om_TablesInSelection(doc, nullptr, 0));
    F_TextRangeT outside{{F_ApiGetId(0, doc, FP_FirstPgfInDoc), 0}, {F_ApiGetId(0, doc, FP_FirstPgfInDoc), 0}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &outside);
    EXPECT_EQ(0u, om_TableSelectionPart(doc, 1, "'"));
}

TEST_F(TableSelection, SelectedCellsRowByRowAndTheirColumns) {
    // Cells 1-2 of the second row.
    F_ElementRangeT cells{{ElementOf(rows[1]), ElementOf(Cell(1, 1)), 0}, {ElementOf(rows[1]), 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &cells);
    EXPECT_EQ(table, F_ApiGetId(0, doc, FP_SelectedTbl));
    EXPECT_EQ(1, F_ApiGetInt(doc, table, FP_LeftColNum));
    EXPECT_EQ(2, F_ApiGetInt(doc, table, FP_RightColNum));
    EXPECT_EQ(Cell(1, 1), om_TableSelectionPart(doc, 0, "'"));
    EXPECT_EQ((std::vector<UIntT>{Cell(1, 1), Cell(1, 2)}), Ids(om_SelectedTableCells(doc, 0, 0, nullptr)));
    EXPECT_EQ((std::vector<UIntT>{2, 3}), Ids(om_TableSelectedColumns(doc, 0, 0, nullptr)));
    // Whole rows 1 and 2: every column, row by row; the column list stops at the first repeat.
    F_ObjHandleT body = F_ApiGetId(doc, ElementOf(rows[0]), FP_ParentElement);
    F_ElementRangeT whole{{body, ElementOf(rows[0]), 0}, {body, ElementOf(rows[2]), 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &whole);
    EXPECT_EQ(rows[1], F_ApiGetId(doc, table, FP_BottomRowSelection));
    EXPECT_EQ((std::vector<UIntT>{Cell(0, 0), Cell(0, 1), Cell(0, 2), Cell(1, 0), Cell(1, 1), Cell(1, 2)}),
              Ids(om_SelectedTableCells(doc, 0, 0, nullptr)));
    EXPECT_EQ((std::vector<UIntT>{1, 2, 3}), Ids(om_TableSelectedColumns(doc, 0, 0, nullptr)));
    F_StringsT names{0, nullptr};
    host::AddNamed(doc, FO_TblFmt, "Grid");
    host::AddNamed(doc, FO_XRefFmt, "Page");
    EXPECT_EQ(1, om_DocFormatNames(doc, FO_TblFmt, &names));
    EXPECT_STREQ("Grid", names.val[0]);
    F_ApiDeallocateStrings(&names);
    EXPECT_EQ(0, om_DocFormatNames(doc, FO_PgfFmt, &names));
    F_ApiDeallocateStrings(&names);
}

}  // namespace
