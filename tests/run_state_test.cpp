// The plug-in's run state and its one reset: what runs leave behind is gone after
// om_ResetRunState, so that a second independent run starts as the first did, while what
// start-up set up stays.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "lib/shell_records.h"
#include "lib/run_state.h"
#include "lib/state/nodewizard.h"
#include "lib/state/settings_files.h"
#include "nodewizard/dialogs.h"
#include "shell_fixture.h"
#include "support/xml_tree.h"
#include "xpath/xpath.h"

extern "C" void F_ApiClientInit(void);

namespace {

class RunState : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Settle("");
        ASSERT_TRUE(Start());
    }
    static IntT Call(const std::string &message) { return F_ApiCallClient("Quorvane", message.c_str()); }
    static std::vector<std::string> WizardAsShown() {
        host::Dialog *d = host::FindDialog(host::FindOpenDialogByResource("qv_DialogNodeWizard"));
        return d ? host::DescribeDialog(*d) : std::vector<std::string>{};
    }
};

TEST_F(RunState, ASecondQueryRunAfterTheResetStartsAsTheFirst) {
    F_ObjHandleT doc = qvtest::BuildDocument("<doc><p>a</p><q k='v'>b</q><p>c</p></doc>", "Z:\\t\\runs.fm");
    ASSERT_NE(doc, 0u);
    // A run: two queries, their matches walked past the end, and a script parameter set.
    auto run = [&] {
        std::vector<IntT> matches;
        for (const char *query : {"//p", "//q[@k='v']"}) {
            IntT seq = Call(std::string("ParseXPath---") + query);
            EXPECT_GT(seq, 100) << query;
            std::string next = "FindNextNode---" + std::to_string(seq) + "---" + std::to_string(doc) + "---0---0";
            for (int i = 0; i < 3; ++i) matches.push_back(Call(next));
        }
        EXPECT_EQ(Call("SetScriptParm---who---v"), 0);
        EXPECT_EQ(om_XPathGetParameter("who"), "v");
        return matches;
    };
    const std::vector<IntT> first = run();
    ASSERT_EQ(std::count_if(first.begin(), first.end(), [](IntT m) { return m > 100; }), 3);

    om_ResetRunState();
    // The run's parameter is gone ...
    EXPECT_EQ(om_XPathGetParameter("who"), XPathUndefinedParameter);
    // ... start-up's set-up is not: the plug-in still answers, from the same settings.
    EXPECT_EQ(PluginGlobals.versionText, "3.44");
    EXPECT_NE(SettingsFiles.settingsFolder.find("Quorvane"), std::string::npos);
    EXPECT_EQ(run(), first);
}

TEST_F(RunState, TheNodeWizardOpensAfterTheResetAsAtItsFirstUse) {
    ASSERT_TRUE(host::ChooseCommand("Quorvane_Cmd_Node_Wizard", nullptr));
    const std::vector<std::string> fresh = WizardAsShown();
    ASSERT_FALSE(fresh.empty());

    // What a run leaves behind shows when the wizard is filled again ...
    NodeWizardQuery.expression = "//Para";
    NodeWizardQuery.elementAction = 8;
    NodeWizardOptions.reportAttrErrors = 0;
    NodeWizardOptions.allFlows = 1;
    NodeWizardRun.retagName = "Note";
    AttrActionCode = 40;
    ActionAttrNames = {"id"};
    ActionAttrValues = {"x"};
    om_NWInitWizardDialog();
    EXPECT_NE(WizardAsShown(), fresh);

    // ... and none of it after the reset.
    om_ResetRunState();
    om_NWInitWizardDialog();
    EXPECT_EQ(WizardAsShown(), fresh);
}

TEST(RunStateRecords, EachRecordIsNamedOnce) {
    std::set<std::string> names;
    for (RunStateKind kind : {RunStateKind::Run, RunStateKind::StartUp})
        for (const std::string &name : om_RunStateRecords(kind)) EXPECT_TRUE(names.insert(name).second) << name;
    for (const char *record : {"element walk cursor", "XPath axis memos", "XPath host caches", "script run records",
                               "Node Wizard run state", "transformation records"})
        EXPECT_EQ(names.count(record), 1u) << record;
}

}  // namespace
