// The other actions of a script run on a document with a cross-reference, a marker and a table:
// object properties read and written, table rows and columns added and deleted, the target
// switched, the user prompted, and the files XPath steps opened closed again.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client.h"
#include "lib/globals.h"
#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "lib/translation/lang.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_doc.h"
#include "graphics.h"
#include "model.h"
#include "records.h"
#include "transcript.h"
#include "support/xpath_files_fixture.h"
#include "user.h"
#include "xpath/xpath.h"

using namespace qvtest;

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace {

// The plug-in as the host loads it: its dialogs (the run's status box) and its messages.
void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", nullptr, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

// A script of events, each an expression and its action groups.
std::string Script(const std::string &name, const std::vector<std::pair<std::string, std::string>> &events,
                   const std::string &settings = "") {
    std::string s = "<NodeWizardScript><NWScriptName>" + name +
                    "</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>" + settings +
                    "</GeneralSettings></NWScriptSettings>";
    for (const auto &[expr, groups] : events)
        s += "<NWScriptEvent><XPathExpression>" + expr + "</XPathExpression>" + groups + "</NWScriptEvent>";
    return s + "</NodeWizardScript>";
}

std::string Script(const std::string &name, const std::string &expr, const std::string &groups,
                   const std::string &settings = "") {
    return Script(name, {{expr, groups}}, settings);
}

std::string Other(const std::string &actions) { return "<OtherActions>" + actions + "</OtherActions>"; }

// Gets the property into the parameter "out".
std::string Get(const std::string &keyword) {
    return "<Get_object_property><" + keyword + "><Apply_to_parameter>out</Apply_to_parameter></" + keyword +
           "></Get_object_property>";
}

std::string Set(const std::string &keyword, const std::string &value) {
    return "<Set_object_property><" + keyword + "><Static_value>" + value + "</Static_value></" + keyword +
           "></Set_object_property>";
}

const char *kTarget = R"(<?xml version="1.0" encoding="UTF-8"?>
<qvdocument version="1">
  <catalog>
    <element-def name="Doc" type="1"/>
    <element-def name="Para" type="1" paragraph-format="Body"/>
    <element-def name="XRef" type="3"/>
    <element-def name="Mark" type="4"/>
    <element-def name="Figure" type="6"/>
    <element-def name="Table" type="8"/>
    <element-def name="TableBody" type="11"/>
    <element-def name="Row" type="13"/>
    <element-def name="Cell" type="14" paragraph-format="CellBody"/>
  </catalog>
  <formats>
    <format kind="32" name="Body"/>
    <format kind="32" name="CellBody"/>
    <format kind="27" name="Heading"/>
    <format kind="27" name="Page"/>
    <format kind="66" name="Index"/>
    <format kind="66" name="Comment"/>
    <format kind="37" name="Format A"/>
    <format kind="37" name="Format B"/>
  </formats>
  <flows>
    <flow name="Main" main="1">
      <e tag="Doc">
        <e tag="Para"><t>See </t><e tag="XRef"><prop number="1070">Z:\books\other.fm</prop><prop number="1073">Heading</prop><prop number="1075">abc:Title:x</prop><t>there</t></e></e>
        <e tag="Para"><t>Marked</t><e tag="Mark"><prop number="1025">note</prop><prop number="1027">Index</prop></e><e tag="Figure"/></e>
        <e tag="Table" table-format="Format A">
          <e tag="TableBody">
            <e tag="Row"><e tag="Cell"><t>a1</t></e><e tag="Cell"><t>b1</t></e></e>
            <e tag="Row"><e tag="Cell"><t>a2</t></e><e tag="Cell"><t>b2</t></e></e>
          </e>
        </e>
      </e>
    </flow>
  </flows>
</qvdocument>
)";

class OtherActions : public XPathFilesFixture {
protected:
    OtherActions() : XPathFilesFixture("other_actions") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        host::LoadClientInProcess(ClientInit, QV_SOURCE_DIR "/defaults");
        om_LangInit("Quorvane", Win("").c_str(), "English");
        om_NWSetDefaults();
        om_NWSClearParams();
        Write("target.fm", kTarget);
        Reopen();
    }
    // Opens the target afresh from its file, its table's columns 2 and 3 inches wide.
    void Reopen() {
        if (target) om_DocClose(target, 0);
        target = om_DocOpen(Win("target.fm").c_str(), 0, 0, 1, 0, 0, 1);
        ASSERT_NE(target, 0u);
        F_ObjHandleT tbl = F_ApiGetId(0, target, FP_FirstTblInDoc);
        F_MetricsT widths = host::NewMetrics({2 * 65536, 3 * 65536});
        F_ApiSetMetrics(target, tbl, FP_TblColWidths, &widths);
        F_ApiFreeMetricList(&widths);
    }
    void TearDown() override {
        SettingsFiles.currentScriptsDoc.clear();
        om_NWSClearParams();
        qv::LangReset();
        XPathFilesFixture::TearDown();
        host::ResetClients();
    }
    // Writes the scripts and opens them as the run's scripts document (hidden).
    void Scripts(const std::string &scripts) {
        if (scriptsDoc) F_ApiClose(scriptsDoc, FF_CLOSE_MODIFIED);
        Write("scripts.xml", "<NodeWizardScripts Version1=\"\">" + scripts + "</NodeWizardScripts>");
        SettingsFiles.currentScriptsDoc = Win("scripts.xml");
        scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocHidden, 1, 0);
        ASSERT_NE(scriptsDoc, 0u);
        F_ObjHandleT padDef = host::AddElementDef(scriptsDoc, "Pad", FV_FO_CONTAINER, "Body");
        host::AppendElement(scriptsDoc, 0, padDef, host::AddFlow(scriptsDoc, "QVRN_ScratchPad"));
    }
    // One script for each case, named by its index, of one event on the case's expression with
    // the groups made for it; opened as the scripts document.
    template <typename Cases, typename Groups>
    void ScriptPerCase(const Cases &cases, Groups groups) {
        std::string scripts;
        for (size_t i = 0; i < std::size(cases); ++i) scripts += Script("case" + std::to_string(i), cases[i].expr, groups(cases[i]));
        Scripts(scripts);
    }
    IntT Run(const std::string &name, F_ObjHandleT on = 0) {
        return om_NWSRunScript(name, scriptsDoc, -1, on ? on : target, 0);
    }
    std::string Out() { return om_XPathGetParameter("out"); }
    std::vector<std::string> Texts(F_ObjHandleT doc, const std::string &expr) {
        std::vector<std::string> out;
        for (F_ObjHandleT e : om_XPathListMatches(doc, 0, expr, 0, nullptr, 0)) out.push_back(om_ElementText(doc, e, 0, 0, 1, 0));
        return out;
    }
    F_ObjHandleT Table() { return F_ApiGetId(0, target, FP_FirstTblInDoc); }
    std::vector<MetricT> Widths() {
        F_MetricsT m = F_ApiGetMetrics(target, Table(), FP_TblColWidths);
        std::vector<MetricT> out(m.val, m.val + m.len);
        F_ApiFreeMetricList(&m);
        return out;
    }
    F_ObjHandleT scriptsDoc = 0, target = 0;
};

}  // namespace

// Each property read from the object its match stands for; one on an object of the wrong kind
// is a counted failure that produces nothing.
TEST_F(OtherActions, GetObjectPropertyReadsTheMatchedObject) {
    const struct {
        const char *keyword, *expr, *want;
        unsigned failures;
    } cases[] = {
        {"XRefSrcText", "//XRef", "abc", 0},  // up to, not including, the first colon
        {"XRefName", "//XRef", "Heading", 0},
        {"XRefSrcFile", "//XRef", "Z:\\books\\other.fm", 0},
        {"MTypeName", "//Mark", "Index", 0},
        {"MText", "//Mark", "note", 0},
        {"TblTag", "//Row[2]/Cell[1]", "Format A", 0},
        {"TblColumnWidth", "//Row[1]/Cell[2]", "3.000000", 0},
        {"PgfTag", "//Row[1]/Cell[1]", "CellBody", 0},
        {"PgfTag", "//Para[2]", "Body", 0},
        {"PageNumInt", "//Para[2]", "1", 0},
        {"Filename", "//Para[1]", "target.fm", 0},
        {"Filepath", "//Para[1]", "", 0},  // filled in below: the target's own path
        {"NoSuchKeyword", "//Para[1]", "", 0},
        {"MText", "//XRef", "-", 1},
        {"XRefName", "//Mark", "-", 1},
        {"TblTag", "//Para[1]", "-", 1},
        {"TblColumnWidth", "//Table", "-", 1},
        {"ImportObFile", "//Para[1]", "-", 1},
    };
    ScriptPerCase(cases, [](const auto &c) { return Other(Get(c.keyword)); });
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto &c = cases[i];
        om_NWSSetParam("$out", "-");
        EXPECT_EQ(Run("case" + std::to_string(i)), 1) << c.keyword << " " << c.expr;
        std::string want = std::string(c.keyword) == "Filepath" ? Win("target.fm") : c.want;
        EXPECT_EQ(Out(), want) << c.keyword << " " << c.expr;
        EXPECT_EQ(NodeWizardQuery.otherFailures, c.failures) << c.keyword << " " << c.expr;
    }
}

// Without Apply_to_parameter the value goes to the clipboard, which a later event pastes.
TEST_F(OtherActions, GetObjectPropertyWithoutParameterLeavesTheValueOnTheClipboard) {
    Scripts(Script("clip", "//Mark", Other("<Get_object_property><MText/></Get_object_property>")) +
            Script("paste", "//Para[1]", Other("<Set_parameter><Parameter_name>out</Parameter_name><Current_clipboard/></Set_parameter>")));
    EXPECT_EQ(Run("clip"), 1);
    EXPECT_EQ(Run("paste"), 1);
    EXPECT_EQ(Out(), "note");
}

// Each property written; a name the document lacks, a width not above 0 or an object of the
// wrong kind changes nothing and is a counted failure.
TEST_F(OtherActions, SetObjectPropertyWritesTheMatchedObject) {
    auto xref = [&](IntT prop) {
        F_ObjHandleT x = F_ApiGetId(target, om_XPathListMatches(target, 0, "//XRef", 0, nullptr, 0).at(0), FP_Object);
        return prop == FP_XRefFmt ? HostGetString(target, F_ApiGetId(target, x, prop), FP_Name) : HostGetString(target, x, prop);
    };
    auto marker = [&](IntT prop) {
        F_ObjHandleT m = F_ApiGetId(target, om_XPathListMatches(target, 0, "//Mark", 0, nullptr, 0).at(0), FP_Object);
        return prop == FP_MarkerTypeId ? HostGetString(target, F_ApiGetId(target, m, prop), FP_Name) : HostGetString(target, m, prop);
    };
    auto tblTag = [&](IntT) { return HostGetString(target, Table(), FP_TblTag); };
    auto width0 = [&](IntT) { return std::to_string(Widths().at(0)); };
    const struct {
        const char *keyword, *expr, *value;
        std::function<std::string(IntT)> read;
        IntT prop;
        const char *want;
        unsigned failures;
    } cases[] = {
        {"XRefName", "//XRef", "Page", xref, FP_XRefFmt, "Page", 0},
        {"XRefName", "//XRef", "Nowhere", xref, FP_XRefFmt, "Page", 1},  // 333
        {"XRefSrcText", "//XRef", "def", xref, FP_XRefSrcText, "def::", 0},
        {"XRefSrcFile", "//XRef", "current", xref, FP_XRefFile, "", 0},
        {"XRefSrcFile", "//XRef", "sub/c.fm", xref, FP_XRefFile, "sub/c.fm", 0},
        {"MTypeName", "//Mark", "Comment", marker, FP_MarkerTypeId, "Comment", 0},
        {"MTypeName", "//Mark", "Nowhere", marker, FP_MarkerTypeId, "Comment", 1},  // 334
        {"MText", "//Mark", "new text", marker, FP_MarkerText, "new text", 0},
        {"MText", "//Para[1]", "lost", marker, FP_MarkerText, "new text", 1},  // 329
        {"TblTag", "//Row[1]/Cell[1]", "Format B", tblTag, 0, "Format B", 0},
        {"TblTag", "//Row[1]/Cell[1]", "Nowhere", tblTag, 0, "Format B", 1},  // 335
        {"TblColumnWidth", "//Row[2]/Cell[1]", "1.5", width0, 0, "98304", 0},
        {"TblColumnWidth", "//Row[2]/Cell[1]", "0", width0, 0, "98304", 1},  // 336
        {"TblColumnWidth", "//Row[2]/Cell[1]", "-2", width0, 0, "98304", 1},
    };
    ScriptPerCase(cases, [](const auto &c) { return Other(Set(c.keyword, c.value)); });
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto &c = cases[i];
        EXPECT_EQ(Run("case" + std::to_string(i)), 1) << c.keyword << " " << c.value;
        EXPECT_EQ(c.read(c.prop), c.want) << c.keyword << " " << c.value;
        EXPECT_EQ(NodeWizardQuery.otherFailures, c.failures) << c.keyword << " " << c.value;
    }
    EXPECT_EQ(Widths().at(1), 3 * 65536);  // the other column kept its width
}

// A path read from the object goes through the path options that follow the keyword, in order;
// a path written into an imported graphic takes backslashes.
TEST_F(OtherActions, PathsAreReadThroughThePathOptions) {
    F_ObjHandleT figure = om_XPathListMatches(target, 0, "//Figure", 0, nullptr, 0).at(0);
    F_ObjHandleT inset = host::AddGraphic(target, FO_Inset, F_ApiGetId(target, figure, FP_Object), 0);
    F_ApiSetString(target, inset, FP_InsetFile, "D:\\g\\a.png");
    F_ObjHandleT xref = F_ApiGetId(target, om_XPathListMatches(target, 0, "//XRef", 0, nullptr, 0).at(0), FP_Object);
    F_ApiSetString(target, xref, FP_XRefFile, Win("sub\\x.fm").c_str());
    const struct {
        const char *keyword, *expr, *options;
        std::string want;
    } cases[] = {
        {"XRefSrcFile", "//XRef", "", Win("sub\\x.fm")},
        {"XRefSrcFile", "//XRef", "<Prefer_absolute_path/>", Win("sub\\x.fm")},
        {"XRefSrcFile", "//XRef", "<Prefer_relative_path/>", "\\sub\\x.fm"},
        {"XRefSrcFile", "//XRef", "<Prefer_relative_path/><Use_forward_slashes/>", "/sub/x.fm"},
        {"XRefSrcFile", "//XRef", "<Prefer_filename_only/>", "x.fm"},
        {"ImportObFile", "//Figure", "", "D:\\g\\a.png"},
        {"ImportObFile", "//Figure", "<Use_forward_slashes/>", "D:/g/a.png"},
        {"ImportObFile", "//Figure", "<Use_forward_slashes/><Use_back_slashes/>", "D:\\g\\a.png"},
    };
    ScriptPerCase(cases, [](const auto &c) {
        return Other("<Get_object_property><" + std::string(c.keyword) + ">" + c.options +
                     "<Apply_to_parameter>out</Apply_to_parameter></" + c.keyword + "></Get_object_property>");
    });
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Run("case" + std::to_string(i)), 1) << cases[i].options;
        EXPECT_EQ(Out(), cases[i].want) << cases[i].keyword << " " << cases[i].options;
    }
    Scripts(Script("set", "//Figure", Other(Set("ImportObFile", "E:/img/b.png"))));
    EXPECT_EQ(Run("set"), 1);
    EXPECT_EQ(HostGetString(target, inset, FP_InsetFile), "E:\\img\\b.png");
    EXPECT_EQ(NodeWizardQuery.otherFailures, 0u);
}

// Rows and columns added beside the match's row or cell, and deleted; deleting the only body row
// or the only column deletes the whole table; outside a row or cell it is a failure.
TEST_F(OtherActions, AddAndDeleteTableRowsAndColumns) {
    using V = std::vector<std::string>;
    const struct {
        const char *action, *kind, *expr;
        V rows;  // the cell texts of each row, joined
        unsigned failures;
    } cases[] = {
        {"Add_object", "Add_table_row_above", "//Row[2]/Cell[1]", {"a1b1", "", "a2b2"}, 0},
        {"Add_object", "Add_table_row_below", "//Row[2]/Cell[1]", {"a1b1", "a2b2", ""}, 0},
        {"Add_object", "Add_table_column_left", "//Row[1]/Cell[2]", {"a1b1", "a2b2"}, 0},
        {"Add_object", "Add_table_row_below", "//Para[1]", {"a1b1", "a2b2"}, 1},   // 331
        {"Add_object", "Add_table_column_right", "//Row", {"a1b1", "a2b2"}, 2},    // 332 for each row: not in a cell
        {"Add_object", "Add_table_cell", "//Row[1]/Cell[1]", {"a1b1", "a2b2"}, 0}, // another kind: nothing
        {"Delete_object", "Delete_table_row", "//Row[1]/Cell[2]", {"a2b2"}, 0},
        {"Delete_object", "Delete_table_column", "//Row[2]/Cell[1]", {"b1", "b2"}, 0},
        {"Delete_object", "Delete_table_column", "//Row[2]/Cell[2]", {"a1", "a2"}, 0},
        {"Delete_object", "Delete_table_row", "//Para[2]", {"a1b1", "a2b2"}, 1},   // 331
        {"Delete_object", "Delete_table_column", "//Row[1]", {"a1b1", "a2b2"}, 1}, // 332
    };
    ScriptPerCase(cases, [](const auto &c) {
        return Other("<" + std::string(c.action) + "><" + c.kind + "/></" + c.action + ">");
    });
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto &c = cases[i];
        Reopen();
        EXPECT_EQ(Run("case" + std::to_string(i)), 1) << c.kind << " " << c.expr;
        EXPECT_EQ(Texts(target, "//Row"), c.rows) << c.kind << " " << c.expr;
        EXPECT_EQ(NodeWizardQuery.otherFailures, c.failures) << c.kind << " " << c.expr;
        if (std::string(c.kind) == "Add_table_column_left") {
            EXPECT_EQ(Texts(target, "//Row[1]/Cell").size(), 3u);
            EXPECT_EQ(Texts(target, "//Row[1]/Cell[2]"), V{""});
        }
    }
    // The only body row, then the only column: the whole table goes.
    for (const char *script : {"case6", "case7"}) {
        Reopen();
        EXPECT_EQ(Run(script), 1);
        EXPECT_EQ(Run(script), 1);
        EXPECT_EQ(Table(), 0u) << script;
        EXPECT_TRUE(Texts(target, "//Row").empty()) << script;
        EXPECT_EQ(Texts(target, "//Para").size(), 2u) << script;
    }
}

// The target switched to the open document the text names (its id from a parameter, its path or
// its file name in any case): it becomes the active document and the later events run on it.
TEST_F(OtherActions, SetActiveFileSwitchesTheTargetForTheRestOfTheRun) {
    Write("other.xml", "<other><Item>i1</Item><Item>i2</Item></other>");
    F_ObjHandleT other = om_DocOpen(Win("other.xml").c_str(), 0, 0, 1, 0, 0, 1);
    ASSERT_NE(other, 0u);
    const std::string collect =
        Other("<Set_parameter><Parameter_name>cur</Parameter_name><XPath_search>.</XPath_search></Set_parameter>") +
        "<StringOperations><Str_op_add_strings><Arg1>$out</Arg1><Arg2>$cur</Arg2><Result>out</Result>"
        "</Str_op_add_strings></StringOperations>";
    const struct {
        std::string text;
        F_ObjHandleT active;
        const char *out;
    } cases[] = {
        {"$doc", other, "-i1i2"},
        {Win("other.xml"), other, "-i1i2"},
        {"OTHER.XML", other, "-i1i2"},
        {"nowhere.xml", 0, "-"},  // not open: the target stays
    };
    for (const auto &c : cases) {
        Scripts(Script("switch", {{"//Para[1]", Other("<Set_active_file>" + c.text + "</Set_active_file>")}, {"//Item", collect}}));
        F_ApiSetId(0, 0, FP_ActiveDoc, target);
        om_NWSSetParam("$out", "-");
        om_NWSSetParam("$doc", std::to_string(other));
        EXPECT_EQ(Run("switch"), 1) << c.text;
        EXPECT_EQ(Out(), c.out) << c.text;
        EXPECT_EQ(F_ApiGetId(0, 0, FP_ActiveDoc), c.active ? c.active : target) << c.text;
    }
}

// Each prompt with the user's answer: the result parameter, or without one a refusal that ends
// the run as cancelled.
TEST_F(OtherActions, DoMessagingAsksTheUserAndStoresTheAnswer) {
    const std::string picked = Win("picked.fm");
    const struct {
        const char *prompt;
        const char *kind, *answer;  // the user's answer ("" for none: the default policy)
        bool result;                // with a Result parameter "out"
        const char *out;            // "out" after the run ("-" unchanged)
        IntT ran;                   // the run's answer: 0 when cancelled
    } cases[] = {
        {"Do_Yes_No_prompt", "alert", "yes", true, "1", 1},
        {"Do_Yes_No_prompt", "alert", "no", true, "0", 1},
        {"Do_No_Yes_prompt", "alert", "no", false, "-", 0},
        {"Do_Yes_No_prompt", "alert", "yes", false, "-", 1},
        {"Do_Yes_No_prompt", "alert", "fail", true, "0", 1},  // a failed alert is no Yes
        {"Do_OK_Cancel_prompt", "alert", "ok", true, "1", 1},
        {"Do_Cancel_OK_prompt", "alert", "cancel", false, "-", 0},
        {"Do_string_entry_prompt", "prompt", "typed", true, "typed", 1},
        {"Do_string_entry_prompt", "prompt", "", true, "USER_CANCELED", 1},
        {"Do_file_browser_prompt", "choose", "picked", true, "picked", 1},
        {"Do_path_browser_prompt", "choose", "", true, "USER_CANCELED", 1},
        {"Do_OK_prompt", "alert", "ok", true, "-", 1},
        {"Do_something_else", "", "", true, "-", 1},
    };
    for (const auto &c : cases) {
        std::string prompt = c.prompt;
        Scripts(Script("ask", "//Para[1]",
                       Other("<Do_messaging><" + prompt + "><Static_value>Proceed with Q?</Static_value>" +
                             (c.result ? "<Result>out</Result>" : "") + "</" + prompt + "></Do_messaging>" +
                             "<Set_parameter><Parameter_name>after</Parameter_name><Static_value>yes</Static_value></Set_parameter>")));
        host::ClearTranscript();
        if (*c.kind) {
            host::UserAnswer a;
            a.kind = c.kind;
            a.value = std::string(c.answer) == "picked" ? picked : c.answer;
            a.cancel = *c.answer == 0;
            host::QueueAnswer(a);
        }
        om_NWSSetParam("$out", "-");
        EXPECT_EQ(Run("ask"), c.ran) << prompt << " " << c.answer;
        EXPECT_EQ(Out(), std::string(c.out) == "picked" ? picked : c.out) << prompt << " " << c.answer;
        EXPECT_EQ(om_XPathGetParameter("after") == "yes", c.ran == 1) << prompt << " " << c.answer;
        EXPECT_TRUE(host::PendingAnswers().empty()) << prompt << " " << c.answer;
        std::string shown;
        for (const auto &l : host::TranscriptLines()) shown += l + "\n";
        EXPECT_EQ(shown.find("Proceed with Q?") != std::string::npos, *c.kind != 0) << prompt << "\n" << shown;
        host::ClearAnswers();
    }
    // An empty Result name is a counted failure; the prompt still shows.
    Scripts(Script("ask", "//Para[1]",
                   Other("<Do_messaging><Do_OK_prompt><Static_value>x</Static_value><Result> </Result></Do_OK_prompt></Do_messaging>")));
    EXPECT_EQ(Run("ask"), 1);
    EXPECT_EQ(NodeWizardQuery.otherFailures, 1u);
}

// The documents the run's XPath file steps opened are closed, unsaved; one the user had open stays.
TEST_F(OtherActions, CloseAllOpenedFilesClosesWhatTheRunOpened) {
    Write("opened.xml", "<opened><Item>o</Item></opened>");
    Write("user.xml", "<user><Item>u</Item></user>");
    F_ObjHandleT user = om_DocOpen(Win("user.xml").c_str(), 0, 0, 1, 0, 0, 1);
    ASSERT_NE(user, 0u);
    for (bool close : {false, true}) {
        Scripts(Script("files", "//Para[1]",
                       Other("<Set_parameter><Parameter_name>out</Parameter_name><XPath_search>fmfile::'" + Win("opened.xml") +
                             "'/Item</XPath_search></Set_parameter><Set_parameter><Parameter_name>seen</Parameter_name>"
                             "<XPath_search>fmfile::'" + Win("user.xml") + "'/Item</XPath_search></Set_parameter>" +
                             (close ? "<Close_all_opened_files/>" : "")),
                       "<AllowScriptToOpenFiles><Yes/></AllowScriptToOpenFiles>"));
        EXPECT_EQ(Run("files"), 1) << close;
        EXPECT_EQ(Out(), "o") << close;
        EXPECT_EQ(om_XPathGetParameter("seen"), "u") << close;
        EXPECT_EQ(om_DocFindByPath(Win("opened.xml")) != 0, !close) << close;
        EXPECT_EQ(om_DocFindByPath(Win("user.xml")), user) << close;
        if (F_ObjHandleT left = om_DocFindByPath(Win("opened.xml"))) om_DocClose(left, 0);
    }
}
