// The scripts document: finding or opening it, hidden working copies, and the lookups of scripts,
// events, names and descriptions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/host/attributes.h"
#include "lib/host/docio.h"
#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "nodewizard/scripts_doc.h"
#include "support/xpath_files_fixture.h"
#include "user_actions.h"

using namespace qvtest;

namespace {

// Two scripts named "Twin" (the first inactive), an active "Retag" with two events, an inactive
// "Old", and a script whose name is not its first child.
const char *kScripts = R"(<NodeWizardScripts Version1="">
<NodeWizardScript><NWScriptName>Twin</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><No/></ScriptIsActive></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><EventName>inactive twin</EventName></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Retag</NWScriptName><NWScriptDescription><p>Retags paras.</p><p>Second line.</p></NWScriptDescription>
  <NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><EventName>First</EventName><EventDescription>one</EventDescription></NWScriptEvent>
  <NWScriptEvent><XPathExpression>//p</XPathExpression><EventDescription>two</EventDescription></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Twin</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><EventName>active twin</EventName></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Old</NWScriptName></NodeWizardScript>
<NodeWizardScript><NWScriptDescription><p>late name</p></NWScriptDescription><NWScriptName>Late</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings></NodeWizardScript>
</NodeWizardScripts>)";

class ScriptsDoc : public XPathFilesFixture {
protected:
    ScriptsDoc() : XPathFilesFixture("scripts_doc") {}
    void SetUp() override {
        XPathFilesFixture::SetUp();
        Write("scripts.xml", kScripts);
        SettingsFiles.currentScriptsDoc = Win("scripts.xml");
    }
    void TearDown() override {
        SettingsFiles.currentScriptsDoc.clear();
        XPathFilesFixture::TearDown();
    }
    F_ObjHandleT OpenHidden() { return om_NWSOpenScriptsDocument(kNWSDocHidden, 1, 0); }
    std::string NameOf(F_ObjHandleT doc, F_ObjHandleT script) {
        return om_NWSFirstPgf(doc, om_NWSChild(doc, script, "NWScriptEvent"), 255);
    }
};

}  // namespace

TEST_F(ScriptsDoc, LookupsFollowTheVocabulary) {
    F_ObjHandleT doc = OpenHidden();
    ASSERT_NE(doc, 0u);
    // An active script of a name wins over an inactive one before it; inactive ones count on request.
    EXPECT_EQ(NameOf(doc, om_NWSFindScript(doc, "Twin", 0, 0)), "active twin");
    EXPECT_EQ(NameOf(doc, om_NWSFindScript(doc, "Twin", 0, 1)), "active twin");
    EXPECT_EQ(om_NWSFindScript(doc, "Old", 0, 0), 0u);
    EXPECT_NE(om_NWSFindScript(doc, "Old", 0, 1), 0u);
    EXPECT_EQ(om_NWSFindScript(doc, "twin", 0, 1), 0u);  // names match byte for byte
    EXPECT_NE(om_NWSFindScript(doc, "Late", 0, 0), 0u);  // found by name although not first
    // By number: the n-th script; inactive ones only on request.
    EXPECT_EQ(om_NWSFindScript(doc, "", 2, 0), om_NWSFindScript(doc, "Retag", 0, 0));
    EXPECT_EQ(om_NWSFindScript(doc, "", 1, 0), 0u);
    EXPECT_EQ(om_NWSFindScript(doc, "", 0, 1), 0u);
    EXPECT_EQ(om_NWSFindScript(doc, "", 9, 1), 0u);

    F_ObjHandleT second = om_NWSFindEvent(doc, "Retag", 0, 2);
    EXPECT_EQ(om_NWSFirstPgf(doc, om_NWSChild(doc, second, "XPathExpression"), 255), "//p");
    EXPECT_EQ(om_NWSFindEvent(doc, "Retag", 0, 3), 0u);
    EXPECT_EQ(om_NWSFindEvent(doc, "Retag", 0, 0), 0u);

    EXPECT_EQ(om_NWSListScriptNames(doc, 0, 0, -1), (std::vector<std::string>{"Retag", "Twin"}));
    EXPECT_EQ(om_NWSListScriptNames(doc, 1, 1, -1),
              (std::vector<std::string>{"Twin (**DISABLED**)", "Retag", "Twin", "Old (**DISABLED**)"}));

    std::vector<std::string> events;
    EXPECT_EQ(om_NWSListEventNames(doc, 0, "Retag", 1, &events), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"First", "{no name}"}));
    EXPECT_EQ(om_NWSListEventNames(doc, 0, "Retag", 0, &events), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"First"}));
    EXPECT_EQ(om_NWSListEventNames(doc, 0, "Missing", 1, &events), 0);

    std::string text;
    EXPECT_EQ(om_NWSGetDescription(doc, 0, "Retag", 3, 0, &text), 1);
    EXPECT_EQ(text, "Retags paras.\nSecond line.");
    om_NWSGetDescription(doc, 0, "Retag", 4, 2, &text);
    EXPECT_EQ(text, "two");
    om_NWSGetDescription(doc, 0, "Retag", 4, 5, &text);
    EXPECT_EQ(text, "");
}

TEST_F(ScriptsDoc, HiddenCopiesAreMarkedReusedAndClosed) {
    F_ObjHandleT hidden = OpenHidden();
    ASSERT_NE(hidden, 0u);
    EXPECT_EQ(F_ApiGetInt(0, hidden, FP_IsOnScreen), 0);
    std::string mark;
    om_AttrGetValue(hidden, F_ApiGetId(hidden, F_ApiGetId(0, hidden, FP_MainFlowInDoc), FP_HighestLevelElement), "Version1",
                    &mark);
    EXPECT_EQ(mark, om_NWSHiddenCopyMarker(SettingsFiles.currentScriptsDoc));
    EXPECT_EQ(mark.find('\\'), std::string::npos);
    // Asked again, the same copy serves.
    EXPECT_EQ(OpenHidden(), hidden);
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 0, 0), hidden);

    // The user opens the file: a document of the user's own, on screen, not the plug-in's hidden
    // copy; it serves from then on, and the hidden copy is closed.
    F_ObjHandleT user = host::UserOpen(SettingsFiles.currentScriptsDoc, true, nullptr);
    ASSERT_NE(user, 0u);
    EXPECT_NE(user, hidden);
    EXPECT_EQ(F_ApiGetInt(0, user, FP_IsOnScreen), 1);
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0), user);
    EXPECT_TRUE(HostGetString(0, hidden, FP_Path).empty());
    // A hidden copy asked for beside the user's window is a second, marked, invisible document.
    F_ObjHandleT second = OpenHidden();
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, user);
    EXPECT_EQ(F_ApiGetInt(0, second, FP_IsOnScreen), 0);
    EXPECT_EQ(HostGetString(0, second, FP_Path), HostGetString(0, user, FP_Path));
    EXPECT_EQ(OpenHidden(), second);
    EXPECT_EQ(F_ApiGetInt(0, user, FP_IsOnScreen), 1);
    // The visible document serves the other kinds, and the hidden copy is closed.
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0), user);
    EXPECT_TRUE(HostGetString(0, second, FP_Path).empty());

    // Another path: a new hidden copy; the user's window stays open.
    Write("other.xml", kScripts);
    SettingsFiles.currentScriptsDoc = Win("other.xml");
    F_ObjHandleT other = OpenHidden();
    EXPECT_NE(other, user);
    EXPECT_EQ(F_ApiGetInt(0, other, FP_IsOnScreen), 0);
    EXPECT_FALSE(HostGetString(0, user, FP_Path).empty());
    // Back to the first path: the other copy's marker no longer matches, so it is closed.
    SettingsFiles.currentScriptsDoc = Win("scripts.xml");
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0), user);
    EXPECT_TRUE(HostGetString(0, other, FP_Path).empty());
}

TEST_F(ScriptsDoc, AMissingFileIsReportedOnRequest) {
    SettingsFiles.currentScriptsDoc = Win("missing.fm");
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0), 0u);
    EXPECT_EQ(om_NWSOpenScriptsDocument(kNWSDocEither, 0, 1), 0u);
    EXPECT_EQ(om_NWSFindScript(0, "Retag", 0, 1), 0u);
    std::vector<std::string> events{"x"};
    EXPECT_EQ(om_NWSListEventNames(0, 0, "Retag", 1, &events), 0);
    EXPECT_TRUE(events.empty());
}
