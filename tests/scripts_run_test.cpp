// Script runs: the event walk with its match options, sub-events, sorting, operations and other
// actions, parameters, validation and cancelling.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/element_text.h"
#include "lib/shell_records.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_doc.h"
#include "model.h"
#include "user.h"
#include "support/xpath_files_fixture.h"

using namespace qvtest;

namespace {

// A script element: name, active flag, settings children and events.
std::string Script(const std::string &name, const std::string &settings, const std::string &events,
                   bool active = true) {
    return "<NodeWizardScript><NWScriptName>" + name + "</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><" +
           (active ? "Yes" : "No") + "/></ScriptIsActive>" + settings + "</GeneralSettings></NWScriptSettings>" + events +
           "</NodeWizardScript>";
}

// Appends the text of each match to the parameter acc.
const char *kCollect =
    "<OtherActions><Set_parameter><Parameter_name>cur</Parameter_name><XPath_search>.</XPath_search></Set_parameter></OtherActions>"
    "<StringOperations><Str_op_add_strings><Arg1>$acc</Arg1><Arg2>$cur</Arg2><Result>acc</Result></Str_op_add_strings></StringOperations>";

const char *kPresetAcc =
    "<PresetParameter><Parameter_name>acc</Parameter_name><Static_value>-</Static_value></PresetParameter>";

const std::string kScripts =
    "<NodeWizardScripts Version1=\"\">" +
    Script("Window", kPresetAcc,
           "<NWScriptEvent><EventName>Window</EventName><XPathExpression MaximumMatches=\"5\" SkipFirstMatches=\"2\">//p</XPathExpression>" +
               std::string(kCollect) + "</NWScriptEvent>") +
    Script("Sorted", kPresetAcc,
           "<NWScriptEvent><XPathExpression>//p</XPathExpression><SortOptions><Sort_descending/></SortOptions>" +
               std::string(kCollect) + "</NWScriptEvent>") +
    Script("SortedByNumber", kPresetAcc,
           "<NWScriptEvent><XPathExpression>//p</XPathExpression><SortOptions><Sort_numeric/></SortOptions>" +
               std::string(kCollect) + "</NWScriptEvent>") +
    Script("SortedTwoWays", kPresetAcc,
           "<NWScriptEvent><XPathExpression>//p</XPathExpression><SortOptions><Sort_alphabetic/><Sort_numeric/>"
           "</SortOptions>" + std::string(kCollect) + "</NWScriptEvent>") +
    Script("Nested", kPresetAcc,
           "<NWScriptEvent><XPathExpression>//sec</XPathExpression><OtherActions/><SubEvent><XPathExpression>p</XPathExpression>" +
               std::string(kCollect) + "</SubEvent></NWScriptEvent>") +
    Script("Second", kPresetAcc,
           "<NWScriptEvent Disable=\"Yes\"><XPathExpression>//p</XPathExpression>" + std::string(kCollect) +
               "</NWScriptEvent><NWScriptEvent><XPathExpression>//sec</XPathExpression>"
               "<StringOperations><Str_op_add_strings><Arg1>$acc</Arg1><Arg2>S</Arg2><Result>acc</Result></Str_op_add_strings></StringOperations>"
               "</NWScriptEvent>") +
    Script("Retag", "",
           "<NWScriptEvent><XPathExpression>//sec[2]/p</XPathExpression><ElementActions><Retag_as><Static_value>item</Static_value>"
           "</Retag_as></ElementActions></NWScriptEvent>") +
    Script("RetagThenWrap", "",
           "<NWScriptEvent><XPathExpression>//sec[1]/p</XPathExpression><ElementActions><Retag_as><Static_value>item"
           "</Static_value></Retag_as><Wrap_element_in><Static_value>sec</Static_value></Wrap_element_in></ElementActions>"
           "</NWScriptEvent>") +
    Script("RetagMark", "",
           "<NWScriptEvent><XPathExpression>//sec[2]/p</XPathExpression><ElementActions><Retag_as><Static_value>item"
           "</Static_value></Retag_as></ElementActions><AttributeActions><Replace_values_with_spec><Attribute>"
           "<Static_value>n</Static_value></Attribute><Value><Static_value>x</Static_value></Value>"
           "</Replace_values_with_spec></AttributeActions></NWScriptEvent>") +
    Script("RetagTwice", "",
           "<NWScriptEvent><XPathExpression>//sec[2]/p</XPathExpression><ElementActions><Retag_as><Static_value>item"
           "</Static_value></Retag_as><Retag_as><Static_value>nosuch</Static_value></Retag_as></ElementActions>"
           "</NWScriptEvent>") +
    Script("DeleteThenRetag", "",
           "<NWScriptEvent><XPathExpression>//sec[2]/p</XPathExpression><ElementActions><Delete_element/><Retag_as>"
           "<Static_value>item</Static_value></Retag_as></ElementActions></NWScriptEvent>") +
    Script("Legacy", "",
           "<NWScriptEvent><XPathExpression>//sec[1]/p</XPathExpression><ElementAction><Retag_as><Static_value>item"
           "</Static_value></Retag_as></ElementAction></NWScriptEvent>") +
    Script("Texts", "",
           "<NWScriptEvent><XPathExpression>//sec[1]/p[1]</XPathExpression><ElementActions><Copy_elem_text_to_parameter> "
           "first </Copy_elem_text_to_parameter></ElementActions></NWScriptEvent><NWScriptEvent><XPathExpression>"
           "//sec[2]/p[1]</XPathExpression><ElementActions><Set_elem_text><Parameter_value>first</Parameter_value>"
           "</Set_elem_text></ElementActions></NWScriptEvent>") +
    Script("Quit", kPresetAcc,
           "<NWScriptEvent><XPathExpression>//p</XPathExpression>" + std::string(kCollect) +
               "<OtherActions><Exit_script/></OtherActions></NWScriptEvent>") +
    Script("Param", "", "<NWScriptEvent><XPathExpression>//p</XPathExpression>" + std::string(kCollect) + "</NWScriptEvent>") +
    Script("Broken", "",
           "<NWScriptEvent><XPathExpression>//p[</XPathExpression></NWScriptEvent><NWScriptEvent><EventName>no expression</EventName>"
           "</NWScriptEvent><NWScriptEvent><XPathExpression>//p</XPathExpression><Call_NW_script>Nowhere</Call_NW_script></NWScriptEvent>") +
    Script("Twice", "", "<NWScriptEvent><XPathExpression>//p</XPathExpression></NWScriptEvent>") +
    Script("Twice", "", "<NWScriptEvent><XPathExpression>//p</XPathExpression></NWScriptEvent>") +
    "</NodeWizardScripts>";

const char *kTarget =
    "<doc><sec><p>b</p><p>a</p></sec><sec><p>c</p><p>e</p><p>d</p><p>f</p></sec><item>x</item></doc>";

class ScriptRuns : public XPathFilesFixture {
protected:
    ScriptRuns() : XPathFilesFixture("script_runs") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        om_NWSetDefaults();
        om_NWSClearParams();
        Write("scripts.xml", kScripts);
        Write("target.xml", kTarget);
        SettingsFiles.currentScriptsDoc = Win("scripts.xml");
        scripts = om_NWSOpenScriptsDocument(kNWSDocHidden, 1, 0);
        target = om_DocOpen(Win("target.xml").c_str(), 0, 0, 1, 0, 0, 1);
        ASSERT_NE(scripts, 0u);
        ASSERT_NE(target, 0u);
    }
    void TearDown() override {
        SettingsFiles.currentScriptsDoc.clear();
        om_NWSClearParams();
        XPathFilesFixture::TearDown();
    }
    IntT Run(const std::string &name, IntT event = -1) { return om_NWSRunScript(name, scripts, event, target, 0); }
    std::string Acc() { return om_XPathGetParameter("acc"); }
    F_ObjHandleT scripts = 0, target = 0;
};

}  // namespace

TEST_F(ScriptRuns, EventsProcessTheirMatchesInOrder) {
    const struct {
        const char *script;
        const char *acc;
    } cases[] = {
        {"Window", "-ced"},   // at most 5 matches collected, the first 2 skipped
        {"Sorted", "-fedcba"},  // descending byte order of the texts
        {"SortedByNumber", "-bacedf"},  // equal keys (no text is a number) keep document order
        {"SortedTwoWays", "-abcdef"},   // by bytes, the numbers being equal
        {"Nested", "-bacedf"},  // the sub-event runs once per section, on its paragraphs
        {"Second", "-SS"},    // event 2 is the second NWScriptEvent although the first is disabled
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Run(c.script, c.script == std::string("Second") ? 2 : -1), 1) << c.script;
        EXPECT_EQ(Acc(), c.acc) << c.script;
    }
}

TEST_F(ScriptRuns, ElementActionsRunThroughTheNodeWizard) {
    EXPECT_EQ(Run("Retag"), 1);
    EXPECT_EQ(om_XPathListMatches(target, 0, "//sec[2]/item", 0, nullptr, 0).size(), 4u);
    EXPECT_EQ(om_XPathListMatches(target, 0, "//p", 0, nullptr, 0).size(), 2u);
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 4u);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 0u);
}

// Each action puts its own tag in place on every match, after another action of the group put
// another there: every match is retagged, and the second retag finds no such element.
TEST_F(ScriptRuns, EachActionRetagsWithItsOwnTagOnEveryMatch) {
    EXPECT_EQ(Run("RetagTwice"), 1);
    EXPECT_EQ(om_XPathListMatches(target, 0, "//sec[2]/item", 0, nullptr, 0).size(), 4u);
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 4u);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 4u);
    EXPECT_EQ(NodeWizardRun.retagName, "nosuch");
}

// A group's actions run in turn on each match; after one that takes the match away the rest of
// the group does not run, and counts nothing.
TEST_F(ScriptRuns, AGroupsActionsRunInTurnUntilOneTakesTheMatchAway) {
    EXPECT_EQ(Run("DeleteThenRetag"), 1);
    EXPECT_EQ(om_XPathListMatches(target, 0, "/doc/sec[2]/*", 0, nullptr, 0).size(), 0u);
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 4u);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 0u);
    EXPECT_EQ(Run("RetagThenWrap"), 1);
    EXPECT_EQ(om_XPathListMatches(target, 0, "/doc/sec[1]/sec/item", 0, nullptr, 0).size(), 2u);
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 4u);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 0u);
}

TEST_F(ScriptRuns, ALegacyGroupIsRenamedByTheCheckAndRunsInTheSameRun) {
    EXPECT_EQ(Run("Legacy"), 1);
    EXPECT_EQ(om_XPathListMatches(target, 0, "//sec[1]/item", 0, nullptr, 0).size(), 2u);
    EXPECT_EQ(om_XPathListMatches(scripts, 0, "//ElementAction", 0, nullptr, 0).size(), 0u);
    EXPECT_EQ(om_XPathListMatches(scripts, 0, "//NodeWizardScript[NWScriptName='Legacy']//ElementActions", 0, nullptr, 0)
                  .size(),
              1u);
}

// The element actions only scripts have take their operands from the action element: its own
// text names the parameter, its value source gives the text.
TEST_F(ScriptRuns, ScriptOnlyElementActionsReadTheirElement) {
    EXPECT_EQ(Run("Texts"), 1);
    EXPECT_EQ(om_XPathGetParameter("first"), "b");
    std::vector<F_ObjHandleT> p = om_XPathListMatches(target, 0, "//sec[2]/p[1]", 0, nullptr, 0);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(om_ElementText(target, p[0], 0, 0, 0, 0), "b");
    EXPECT_EQ(NodeWizardRun.elemSuccesses, 2u);
}

TEST_F(ScriptRuns, ParametersFromClientsAndPresets) {
    om_NWSSetParam("$acc", "client:");
    EXPECT_EQ(Run("Param"), 1);
    EXPECT_EQ(Acc(), "client:bacedf");
    // A preset parameter of the same name wins over the client's.
    EXPECT_EQ(Run("Window"), 1);
    EXPECT_EQ(Acc(), "-ced");
    // A parameter the run set is gone at the next run unless a client set it.
    om_NWSClearParams();
    EXPECT_EQ(Run("Param"), 1);
    EXPECT_EQ(Acc(), std::string(UndefinedParamSentinel));
    EXPECT_EQ(om_NWSGetParam("acc"), std::string(UndefinedParamSentinel));
}

TEST_F(ScriptRuns, ExitAndRefusals) {
    EXPECT_EQ(Run("Quit"), 0);
    EXPECT_EQ(CancelFlag, 1);
    EXPECT_EQ(Acc(), "-b");  // the first match ran, then the script ended

    EXPECT_EQ(Run("Missing"), 0);
    EXPECT_EQ(StatusCode, 602);
    EXPECT_EQ(om_NWSRunScript("Window", 0, -1, target, 0), 0);
    EXPECT_EQ(StatusCode, 601);

    // Validation checks the whole script even when one event is asked for.
    EXPECT_EQ(om_NWSValidateScript("Broken", scripts, 0, 0, 0), 0);
    EXPECT_EQ(Run("Broken", 3), 0);
    EXPECT_EQ(om_NWSValidateScript("Twice", scripts, 0, 0, 0), 0);
    EXPECT_EQ(om_NWSValidateScript("Window", scripts, 0, 0, 0), 1);
    EXPECT_EQ(om_NWSValidateScript("Window", scripts, 2, 0, 0), 0);
}

// A run polls Esc after every action and every child of the event on each match, and on every
// 50th step of its walk over the script; Esc at a poll, confirmed, stops the run there. The
// target has 60 matches, so the walk's polls fall between matches too.
TEST_F(ScriptRuns, EscStopsTheRunAtThePollItComesOn) {
    const struct {
        const char *script;
        int poll;
        UIntT retagged, attrFailed;  // the replace fails: the attribute is not declared
    } cases[] = {
        {"Retag", 1, 0, 0},        // the walk's first poll, before the event
        {"Retag", 3, 1, 0},        // after the first match's retag
        {"Retag", 124, 41, 0},     // the walk's poll between the 41st and 42nd match
        {"Retag", 127, 42, 0},
        {"Retag", 181, 60, 0},     // after the last retag
        {"RetagMark", 4, 1, 0},    // after the first match's element group
        {"RetagMark", 5, 1, 1},    // after its attribute action
        {"RetagMark", 213, 42, 42},
        {"RetagMark", 260, 52, 51},
    };
    std::string xml = "<doc><sec><p>b</p><p>a</p></sec><sec>";
    for (int i = 0; i < 60; ++i) xml += "<p>t</p>";
    xml += "</sec><item>x</item></doc>";
    const std::string question = std::exchange(PluginGlobals.cancelConfirmText, "Stop the run?");
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.script) + " " + std::to_string(c.poll));
        std::string name = "esc" + std::to_string(++n) + ".xml";
        Write(name, xml);
        target = om_DocOpen(Win(name).c_str(), 0, 0, 1, 0, 0, 1);
        ASSERT_NE(target, 0u);
        host::EscOnPoll(c.poll);
        host::UserAnswer yes;
        yes.kind = "alert";
        yes.value = "yes";
        yes.match = "Stop the run?";
        host::QueueAnswer(yes);
        EXPECT_EQ(Run(c.script), 0);
        EXPECT_EQ(CancelFlag, 1);
        EXPECT_EQ(host::PendingEscPresses(), 0);
        EXPECT_EQ(NodeWizardRun.elemSuccesses, c.retagged);
        EXPECT_EQ(om_XPathListMatches(target, 0, "//sec[2]/item", 0, nullptr, 0).size(), c.retagged);
        EXPECT_EQ(NodeWizardRun.attrSuccesses, 0u);
        EXPECT_EQ(NodeWizardQuery.attrFailures, c.attrFailed);
    }
    PluginGlobals.cancelConfirmText = question;
}

namespace {

// Scripts on the clipboard through the scripts document's scratch pad: the values one event
// copies and the next pastes, and the other actions that leave the clipboard alone.
const std::string kClipboardScripts =
    "<NodeWizardScripts Version1=\"\">" +
    Script("Paste list", "",
           "<NWScriptEvent><XPathExpression>//a/@v</XPathExpression><AttributeActions><Copy_all_values_to_CB/>"
           "</AttributeActions></NWScriptEvent><NWScriptEvent><XPathExpression>//b/@v</XPathExpression>"
           "<AttributeActions><Paste_CB_to_matched_attr/></AttributeActions></NWScriptEvent>") +
    Script("Paste named", "",
           "<NWScriptEvent><XPathExpression>//a/@v</XPathExpression><AttributeActions><Copy_all_values_to_CB/>"
           "</AttributeActions></NWScriptEvent><NWScriptEvent><XPathExpression>//b/@v</XPathExpression>"
           "<AttributeActions><Paste_CB_at_end_of_matched_attr><Attribute><xpath-match/></Attribute>"
           "</Paste_CB_at_end_of_matched_attr></AttributeActions></NWScriptEvent>") +
    Script("Paste text", "",
           "<NWScriptEvent><XPathExpression>//b/@v</XPathExpression><AttributeActions>"
           "<Paste_CB_to_matched_attr>typed</Paste_CB_to_matched_attr></AttributeActions></NWScriptEvent>") +
    Script("Value actions", "",
           "<NWScriptEvent><XPathExpression>//a/@v</XPathExpression><AttributeActions><Sort_values><Attribute><xpath-match/>"
           "</Attribute><Value_sort_options><Sort_descending/></Value_sort_options></Sort_values>"
           "<Copy_first_value_to_parameter>firstv</Copy_first_value_to_parameter></AttributeActions></NWScriptEvent>"
           "<NWScriptEvent><XPathExpression>//b/@v</XPathExpression><AttributeActions><Set_attr_value><Attribute>"
           "<xpath-match/></Attribute><Parameter_value>firstv</Parameter_value></Set_attr_value></AttributeActions>"
           "</NWScriptEvent>") +
    Script("Empty misc", "",
           "<NWScriptEvent><XPathExpression>//a</XPathExpression><OtherActions><Get_misc_data/></OtherActions>"
           "</NWScriptEvent>") +
    "</NodeWizardScripts>";

const char *kClipboardTarget =
    "<!DOCTYPE doc [<!ELEMENT doc (a, b)> <!ELEMENT a EMPTY> <!ELEMENT b EMPTY>"
    "<!ATTLIST a v NMTOKENS #IMPLIED> <!ATTLIST b v NMTOKENS #IMPLIED>]><doc><a v='p q'/><b v='x'/></doc>";

class ClipboardScripts : public XPathFilesFixture {
protected:
    ClipboardScripts() : XPathFilesFixture("clipboard_scripts") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        om_NWSetDefaults();
        om_NWSClearParams();
        Write("scripts.xml", kClipboardScripts);
        Write("target.xml", kClipboardTarget);
        SettingsFiles.currentScriptsDoc = Win("scripts.xml");
        scripts = om_NWSOpenScriptsDocument(kNWSDocHidden, 1, 0);
        target = om_DocOpen(Win("target.xml").c_str(), 0, 0, 1, 0, 0, 1);
        ASSERT_NE(scripts, 0u);
        ASSERT_NE(target, 0u);
        F_ObjHandleT padDef = host::AddElementDef(scripts, "Pad", FV_FO_CONTAINER, "Body");
        host::AppendElement(scripts, 0, padDef, host::AddFlow(scripts, "QVRN_ScratchPad"));
    }
    void TearDown() override {
        SettingsFiles.currentScriptsDoc.clear();
        om_NWSClearParams();
        XPathFilesFixture::TearDown();
    }
    std::vector<std::string> ValuesOf(const char *tag) {
        std::vector<std::string> out;
        for (F_ObjHandleT e : om_XPathListMatches(target, 0, std::string("//") + tag, 0, nullptr, 0))
            for (const auto &a : HostGetAttributes(target, e))
                if (a.name == "v") out = a.values;
        return out;
    }
    F_ObjHandleT scripts = 0, target = 0;
};

}  // namespace

TEST_F(ClipboardScripts, PastesKeepTheCopiedListAndFindTheMatchedAttribute) {
    using V = std::vector<std::string>;
    const struct {
        const char *script;
        V b;
    } cases[] = {
        {"Paste list", {"p", "q"}},   // two values copied stay two values
        {"Paste named", {"xp"}},  // "{xpath-match}" names the matched attribute; the first value appended
        {"Paste text", {"typed"}},     // the action's own text is what it pastes
    };
    for (const auto &c : cases) {
        host::SetAttribute(target, om_XPathListMatches(target, 0, "//b", 0, nullptr, 0).at(0), "v", {"x"});
        EXPECT_EQ(om_NWSRunScript(c.script, scripts, -1, target, 0), 1) << c.script;
        EXPECT_EQ(ValuesOf("b"), c.b) << c.script;
        EXPECT_EQ(NodeWizardQuery.attrFailures, 0u) << c.script;
    }
}

// The attribute actions only scripts have: the sort options, the parameter's name and the value
// come from the action element.
TEST_F(ClipboardScripts, ScriptOnlyValueActionsReadTheirElement) {
    EXPECT_EQ(om_NWSRunScript("Value actions", scripts, -1, target, 0), 1);
    EXPECT_EQ(ValuesOf("a"), (std::vector<std::string>{"q", "p"}));
    EXPECT_EQ(om_XPathGetParameter("firstv"), "q");
    EXPECT_EQ(ValuesOf("b"), std::vector<std::string>{"q"});
    EXPECT_EQ(NodeWizardQuery.attrFailures, 0u);
}

TEST_F(ClipboardScripts, EmptyMiscDataIsReportedNotCounted) {
    EXPECT_EQ(om_NWSRunScript("Empty misc", scripts, -1, target, 0), 1);
    EXPECT_EQ(NodeWizardRun.otherSuccesses, 0u);
    EXPECT_EQ(NodeWizardQuery.otherFailures, 0u);
}
