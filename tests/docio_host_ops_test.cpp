// The library's host operations: paragraph and cell text over a real table, the table and row
// finders, cancel confirmations with a failing alert, view modes, session switches and language,
// command labels with shortcuts, rounding and the small conversions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fdk.h"
#include "paths.h"
#include <unistd.h>
#include "lib/dialogs/msgbox.h"
#include "lib/host/tables.h"
#include "lib/host/cancel.h"
#include "lib/host/commands.h"
#include "lib/host/settings_paths.h"
#include "lib/host/conversions.h"
#include "lib/host/hostui.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "support/scoped_env.h"
#include "model.h"
#include "model_internal.h"
#include "lib/globals.h"
#include "transcript.h"
#include "user.h"

namespace {

std::string Take(StringT s) {
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

void Answer(const char *value) {
    host::UserAnswer a;
    a.kind = "alert";
    a.value = value;
    host::QueueAnswer(a);
}

// A document: Para "abcdefgh", then a paragraph anchoring a 2-column table titled "Words" of
// format "Grid" with a heading row ("Name", "Value") and two body rows ("Name", "one"),
// ("b", "two").
class HostOps : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetUser();
        host::ClearTranscript();
        FA_errno = 0;
        CancelFlag = 0;
        StatusCode = 0;
        doc = host::NewDocument("Z:\\t\\ops.fm");
        F_ObjHandleT docDef = host::AddElementDef(doc, "Doc");
        F_ObjHandleT para = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        F_ObjHandleT root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        host::AppendText(doc, host::AppendElement(doc, root, para), "abcdefgh");
        host::AppendText(doc, host::AppendElement(doc, root, para), "anchor");
        first = F_ApiGetId(0, doc, FP_FirstPgfInDoc);
        anchor = F_ApiGetId(doc, first, FP_NextPgfInFlow);
        F_TextLocT at{anchor, 6};
        table = F_ApiNewTable(doc, "Grid", 2, 2, 1, 0, &at);
        F_ApiSetInt(doc, table, FP_TblTitlePosition, 1);
        om_PgfReplaceText(doc, F_ApiGetId(doc, table, FP_FirstPgfInTitle), F_ApiGetId(doc, table, FP_FirstPgfInTitle), 0, -1, "Words");
        const char *texts[3][2] = {{"Name", "Value"}, {"Name", "one"}, {"b", "two"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c) om_CellSetText(doc, table, 0, r + 1, c + 1, texts[r][c], 0);
    }
    void TearDown() override { host::ResetUser(); }
    std::string CellAt(IntT row, IntT col) {
        return Take(om_CellText(doc, om_TableNthRowOfType(doc, table, row, -1), col, 0, 0, 0));
    }
    F_ObjHandleT doc = 0, first = 0, anchor = 0, table = 0;
};

TEST_F(HostOps, ParagraphText) {
    EXPECT_EQ("abcde", Take(om_PgfText(doc, first, 5, 0, 0)));
    EXPECT_EQ("", Take(om_PgfText(0, first, -1, 0, 0)));
    // An empty text selects the range and deletes nothing.
    om_PgfReplaceText(doc, first, first, 2, 4, "");
    EXPECT_EQ("abcdefgh", Take(om_PgfText(doc, first, -1, 0, 0)));
    F_TextRangeT sel = F_ApiGetTextRange(0, doc, FP_TextSelection);
    EXPECT_EQ(2, sel.beg.offset);
    EXPECT_EQ(4, sel.end.offset);
    om_PgfReplaceText(doc, first, first, 2, 4, "XY");
    EXPECT_EQ("abXYefgh", Take(om_PgfText(doc, first, -1, 0, 0)));
    om_PgfReplaceText(doc, first, first, 0, -1, "whole");
    EXPECT_EQ("whole", Take(om_PgfText(doc, first, -1, 0, 0)));
    EXPECT_EQ("e", Take(om_PgfCharAt(doc, first, 4)));
    EXPECT_EQ("end", Take(om_PgfCharAt(doc, first, 9)));
}

TEST_F(HostOps, CellsRowsAndFinders) {
    EXPECT_EQ(table, om_DocFindTable(doc, "words", "", 0));
    EXPECT_EQ(0u, om_DocFindTable(doc, "words", "", 1));
    EXPECT_EQ(table, om_DocFindTable(doc, "", "Grid", 1));
    EXPECT_EQ(table, om_TableAnchoredIn(doc, anchor));
    EXPECT_EQ(0u, om_TableAnchoredIn(doc, first));
    F_StringsT titles = om_DocTableTitles(doc, "grid", 0);
    EXPECT_EQ(std::vector<std::string>{"Words"}, qv::ReadStrings(&titles));
    F_ApiDeallocateStrings(&titles);

    // Row type 1 skips the heading row that holds the same text.
    F_ObjHandleT heading = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    F_ObjHandleT body1 = om_TableNthRowOfType(doc, table, 1, 1);
    EXPECT_EQ(heading, om_TableFindRow(doc, table, 1, "name", 0, -1));
    EXPECT_EQ(body1, om_TableFindRow(doc, table, 1, "name", 0, 1));
    EXPECT_EQ(0u, om_TableFindRow(doc, table, 1, "name", 1, 1));
    F_ObjHandleT cell = om_TableCell(doc, table, 0, 0, 0, 0, 2, 2);
    EXPECT_EQ("two", Take(om_CellText(doc, 0, 0, cell, 0, 0)));
    EXPECT_EQ(0u, om_TableCell(doc, table, 0, 0, 0, 0, 2, 3));

    // A cell of several paragraphs, found through its element. New paragraphs in a cell need a
    // container definition whose elements begin paragraphs of the cell's format.
    FA_errno = 0;
    EXPECT_EQ(0u, om_PgfInsertNew(doc, F_ApiGetId(doc, cell, FP_FirstPgf), "CellBody", "", 2));
    EXPECT_NE(0, FA_errno);
    host::AddElementDef(doc, "CellPara", FV_FO_CONTAINER, "CellBody");
    F_ObjHandleT cellPgf = F_ApiGetId(doc, cell, FP_FirstPgf);
    ASSERT_NE(0u, om_PgfInsertNew(doc, cellPgf, "CellBody", "", 2));
    ASSERT_NE(0u, om_PgfInsertNew(doc, cellPgf, "CellBody", " three ", 2));
    F_ObjHandleT cellElem = F_ApiGetId(doc, cell, FP_Element);
    F_StringsT texts = om_CellParagraphTexts(doc, 0, 0, 0, cellElem, 0, 1);
    EXPECT_EQ((std::vector<std::string>{"two", "three"}), qv::ReadStrings(&texts));
    F_ApiDeallocateStrings(&texts);
    EXPECT_EQ("two\n three \n", Take(om_CellTextJoined(doc, 0, 0, cell, 0, 1, 0)));

    // The table, row or cell around a paragraph of a cell; nothing for a paragraph outside.
    EXPECT_EQ(cell, om_TableEnclosing(doc, cellPgf, 39));
    EXPECT_EQ(F_ApiGetId(doc, cell, FP_CellRow), om_TableEnclosing(doc, cellPgf, 38));
    EXPECT_EQ(table, om_TableEnclosing(doc, cellPgf, 8));
    EXPECT_EQ(0u, om_TableEnclosing(doc, first, 39));
    EXPECT_EQ(2, om_RowCountCells(doc, 0, body1));

    // An empty text writes the number.
    om_CellSetText(doc, table, 0, 2, 2, "", 7);
    EXPECT_EQ("7", CellAt(2, 2));
}

TEST_F(HostOps, AddRowsAboveAndBelow) {
    F_ObjHandleT oldFirst = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    F_ObjHandleT got = om_TableAddRows(doc, table, 1, 3);
    EXPECT_EQ(F_ApiGetId(doc, table, FP_FirstRowInTbl), got);
    // One row above the old first row, two below the new first row.
    F_ObjHandleT r = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    EXPECT_NE(oldFirst, r);
    r = F_ApiGetId(doc, r, FP_NextRowInTbl);
    r = F_ApiGetId(doc, r, FP_NextRowInTbl);
    EXPECT_EQ(oldFirst, F_ApiGetId(doc, r, FP_NextRowInTbl));
    F_ObjHandleT last = om_TableAddRows(doc, table, 2, 1);
    EXPECT_EQ(F_ApiGetId(doc, table, FP_LastRowInTbl), last);
    EXPECT_EQ("b", CellAt(6, 1));
    EXPECT_EQ(0u, om_TableAddRows(doc, table, 2, 0));
}

TEST_F(HostOps, CancelConfirmationsNeverTakeAFailedAlertForYes) {
    CancelFlag = 1;  // the confirmation writes the flag either way
    Answer("fail");
    EXPECT_EQ(0, om_ConfirmCancel(""));
    EXPECT_EQ(0, CancelFlag);
    Answer("yes");
    EXPECT_EQ(1, om_ConfirmCancel(""));
    EXPECT_EQ(1, CancelFlag);
    bool asked = false;
    for (const auto &l : host::TranscriptLines())
        asked = asked || l.find("Are you sure you want to cancel this operation?") != std::string::npos;
    EXPECT_TRUE(asked);
    // The Esc polls set the cancelled status only on a real Yes, and never clear a status.
    CancelFlag = 0;
    StatusCode = StatusNotPossible;
    host::PressEsc();
    Answer("fail");
    EXPECT_EQ(0, om_CheckUserCancel(""));
    EXPECT_EQ(StatusNotPossible, StatusCode);
    host::PressEsc();
    Answer("fail");
    om_PollUserCancel();
    EXPECT_EQ(0, CancelFlag);
    EXPECT_EQ(StatusNotPossible, StatusCode);
    host::PressEsc();
    Answer("yes");
    om_PollUserCancel();
    EXPECT_EQ(1, CancelFlag);
    EXPECT_EQ(StatusCancelled, StatusCode);
}

TEST_F(HostOps, ViewModesSwitchesAndSessionLanguage) {
    host::TheSession().activeDoc = doc;
    EXPECT_EQ(0, om_DocSetViewMode(0, 1));
    EXPECT_EQ(0, om_DocSetViewMode(doc, 1));  // the function code's status
    EXPECT_EQ(1, F_ApiGetInt(0, doc, FP_ViewMode));
    EXPECT_EQ(1, om_DocSetViewMode(doc, 1));  // unchanged: the current mode
    om_DocSetViewMode(doc, 3);
    EXPECT_EQ(2, F_ApiGetInt(0, doc, FP_ViewMode));

    om_SessionSetSwitches(-1, 0, -1);
    EXPECT_EQ(1, F_ApiGetInt(0, 0, FP_DisplayUpdates));
    EXPECT_EQ(0, F_ApiGetInt(0, 0, FP_Displaying));
    EXPECT_EQ(1, F_ApiGetInt(0, 0, FP_DisplayRedraw));

    struct Lang {
        IntT number;
        const char *name;
    };
    for (const Lang &l : {Lang{5, "French"}, Lang{38, "Romanian"}, Lang{1, "English"}, Lang{99, "English"}, Lang{0, "English"}}) {
        host::TheSession().language = l.number;
        EXPECT_EQ(l.name, Take(om_SessionLanguageName())) << l.number;
    }
}

TEST_F(HostOps, CommandLabelsShowTheirShortcut) {
    struct Case {
        const char *shortcut, *label, *hostShortcut;
    };
    const Case cases[] = {
        {"^N", "Go (Ctrl+N)", "^N"},
        {"~ab", "Go (Alt+a)", "~a"},
        {"+K", "Go (Shift+K)", "+K"},
        {"\\!ab", "Go (Esc a b)", "\\!ab"},
        {"", "Go", ""},
        {"x", "Go", ""},
    };
    IntT number = 1;
    for (const Case &c : cases) {
        std::string name = "Quorvane_Cmd_Test" + std::to_string(number);
        F_ObjHandleT cmd = om_CmdDefine(number++, 0, name.c_str(), "Go", c.shortcut);
        ASSERT_NE(0u, cmd) << c.shortcut;
        EXPECT_EQ(c.label, Take(F_ApiGetString(0, cmd, FP_Label))) << c.shortcut;
    }
}

TEST(LibraryConversions, RoundingNamesAndUnits) {
    struct Round {
        RealT value;
        IntT digit;
        RealT want;
    };
    for (const Round &r : {Round{1234.56, -1, 1235}, Round{1234.56, -2, 1234.6}, Round{1234.56, 1, 1230},
                           Round{1234.56, 2, 1200}, Round{-1234.56, -1, -1234}, Round{0, -1, 0}, Round{3.7, 0, 3.7}})
        EXPECT_NEAR(r.want, om_RoundToDigit(r.value, r.digit), 1e-9) << r.value << " " << r.digit;
    EXPECT_EQ(3, om_RoundToInt(2.5));
    EXPECT_EQ("Jan", Take(om_MonthName(1, 1)));
    EXPECT_EQ("December", Take(om_MonthName(12, 0)));
    EXPECT_EQ("error, out of range", Take(om_MonthName(13, 0)));
    EXPECT_EQ("error, out of range", Take(om_MonthName(0, 0)));
    EXPECT_EQ("Sat", Take(om_DayName(7, 1)));
    EXPECT_NEAR(72.0, om_LengthToPoints(2.54, 2), 1e-9);
    EXPECT_NEAR(144.0, om_LengthToPoints(2, 1), 1e-9);
    EXPECT_NEAR(2.54, om_PointsToLength(72, 4), 1e-9);
    EXPECT_NEAR(5.0, om_PointsToLength(5, 9), 1e-9);
    EXPECT_EQ(1, om_Not(0));
    EXPECT_EQ(0, om_Not(-3));
}

TEST(LibrarySettingsFolder, VersionSubFolderAndTrailingSeparator) {
    host::ResetSession();
    qvtest::ScopedEnv env{"APPDATA"};
    setenv("APPDATA", "C:\\Users\\u\\AppData", 1);
    host::TheSession().versionMajor = 16;
    host::TheSession().versionMinor = 0;
    std::string path = Take(om_PathSettingsFolder("", "Sub", 1));
    EXPECT_EQ(0u, path.rfind("C:\\Users\\u\\AppData\\", 0));
    EXPECT_NE(std::string::npos, path.find("\\16\\OrleMeadow\\Sub\\"));
    EXPECT_EQ('\\', path.back());
    host::TheSession().versionMinor = 2;
    EXPECT_NE(std::string::npos, Take(om_PathSettingsFolder("", "", 0)).find("\\16.2\\OrleMeadow"));
    EXPECT_EQ("error", Take(om_PathSettingsFolder("QV_SURELY_UNSET_VARIABLE", "", 0)));
}

}  // namespace

// Path resolution takes the first existing file: the path itself, the path in the directory,
// the path next to the base file.
TEST(PathResolve, FirstExistingCandidateWins) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("qv_resolve_" + std::to_string(::getpid()));
    fs::create_directories(dir / "base");
    fs::create_directories(dir / "other");
    std::ofstream(dir / "base" / "next.txt") << "x";
    std::ofstream(dir / "other" / "in.txt") << "x";
    std::string base = host::WindowsPath((dir / "base" / "doc.fm").string());
    std::string other = host::WindowsPath((dir / "other").string());
    auto resolve = [&](const char *path) {
        StringT s = om_PathResolve(path, base.c_str(), other.c_str());
        std::string out = s ? s : "<null>";
        F_ApiDeallocateString(&s);
        return out;
    };
    EXPECT_EQ(resolve("next.txt"), host::WindowsPath((dir / "base" / "next.txt").string()));
    EXPECT_EQ(resolve("in.txt"), other + "\\in.txt");
    std::string absolute = host::WindowsPath((dir / "other" / "in.txt").string());
    EXPECT_EQ(resolve(absolute.c_str()), absolute);
    EXPECT_EQ(resolve("missing.txt"), "");
    fs::remove_all(dir);
}
