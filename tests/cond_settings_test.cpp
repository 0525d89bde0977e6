// Condition settings: the settings document's typed settings, the trigger settings and rule
// table read from it, and the Condition Manager driven by the scripted user (OK saves, Cancel
// discards).
#include <filesystem>

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "support/cond_fixture.h"
#include "support/list_helpers.h"

namespace {

using qvtest::CondFixture;

class CondSettings : public CondFixture {};

TEST_F(CondSettings, TypedSettingsReadAndWrite) {
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_IsOnScreen), 0);
    struct Case {
        const char *stored;
        IntT kind, read;
    };
    const Case cases[] = {{"True", kSettingFlag, 1},    {"False", kSettingFlag, 0},   {"true", kSettingFlag, 2},
                          {"42", kSettingNumber, 42},
                          // A number past the integer range reads as the range's end.
                          {"99999999999", kSettingNumber, 2147483647},
                          {"Never", kSettingPrompt, 3}, {"Once", kSettingPrompt, 2},
                          {"Always", kSettingPrompt, 1}, {"never", kSettingPrompt, 1}};
    for (const Case &c : cases) {
        EXPECT_EQ(om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting15", 0, c.stored, kSettingText), 1) << c.stored;
        EXPECT_EQ(om_PrefReadDocSetting(doc, "SettingsGroupA", "Setting15", nullptr, c.kind), c.read) << c.stored;
    }
    std::string text;
    EXPECT_EQ(om_PrefReadDocSetting(doc, "SettingsGroupA", "Setting15", &text, kSettingText), 0);
    EXPECT_EQ(text, "never");
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting15", 0, "", kSettingText);
    om_PrefReadDocSetting(doc, "SettingsGroupA", "Setting15", &text, kSettingText);
    EXPECT_EQ(text, EmptySentinel);
    // Writers by kind: a flag True/False, a number, a prompt Never/Once/Always.
    const std::pair<IntT, IntT> writes[] = {{1, kSettingFlag},   {0, kSettingFlag},   {7, kSettingNumber},
                                            {0, kSettingPrompt}, {2, kSettingPrompt}, {1, kSettingPrompt}};
    const char *expect[] = {"True", "False", "7", "Never", "Once", "Always"};
    for (size_t i = 0; i < std::size(writes); ++i) {
        om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting15", writes[i].first, "", writes[i].second);
        om_PrefReadDocSetting(doc, "SettingsGroupA", "Setting15", &text, kSettingText);
        EXPECT_EQ(text, expect[i]);
    }
    // No element has the attribute: 2, nothing written.
    EXPECT_EQ(om_PrefReadDocSetting(doc, "SettingsGroupA", "Setting99", &text, kSettingText), 2);
    EXPECT_EQ(text, EmptySentinel);
    EXPECT_EQ(om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting99", 1, "", kSettingFlag), 0);
}

TEST_F(CondSettings, TriggerSettingsLowerCaseTrueIsOffAndMissingGroupMeansOnce) {
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting14", 0, "true", kSettingText);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting16", 1, "", kSettingFlag);
    om_PrefWriteDocSetting(doc, "SettingsGroupA", "Setting12", 0, "", kSettingPrompt);
    om_CondLoadTriggerSettings();
    EXPECT_EQ(CondTriggerSettings.afterInsertWrap, 0);
    EXPECT_EQ(CondTriggerSettings.afterOpenDoc, 1);
    EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptNever);
    EXPECT_EQ(CondTriggerSettings.warnCreatedTag, kPromptOnce);

    F_ApiDelete(doc, om_ElementFindByAttr(doc, 0, "SettingsGroupA", "*", "*", ""));
    om_CondLoadTriggerSettings();
    EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptOnce);
    EXPECT_EQ(CondTriggerSettings.warnCreatedTag, kPromptOnce);
    EXPECT_EQ(CondTriggerSettings.afterOpenDoc, 0);

    // Without a settings document nothing changes.
    om_CondCloseSettingsDoc(0);
    std::filesystem::remove(dir / kCondSettingsFileName);
    CondTriggerSettings.afterBookUpdate = 1;
    om_CondLoadTriggerSettings();
    EXPECT_EQ(CondTriggerSettings.afterBookUpdate, 1);
}

TEST_F(CondSettings, RulesLoadWrappedCompiledAndFlagged) {
    WriteRules({{"para", {"Draft", "Print"}, true, false, true, true}, {"para[", {"X"}}, {"*", {}, false}});
    om_CondLoadRules(1);
    ASSERT_TRUE(AutoApplyRules.loaded);
    ASSERT_EQ(AutoApplyRules.rules.size(), 3u);
    const AutoApplyRule &a = AutoApplyRules.rules[0];
    EXPECT_EQ(a.expression, "self::node()[para]");
    EXPECT_GT(a.compiled, 0);
    EXPECT_EQ(a.conditions, (std::vector<std::string>{"Draft", "Print"}));
    EXPECT_EQ(a.active + 2 * a.clearExisting + 4 * a.createConditions + 8 * a.parentToo, 1 + 4 + 8);
    EXPECT_EQ(AutoApplyRules.rules[1].compiled, -1);  // does not compile: never matches
    EXPECT_EQ(AutoApplyRules.rules[2].active, 0);
    EXPECT_EQ(om_DocFindByPath(qv_CondSettingsPath()), 0u);  // closed with the flag

    // A node-table reset orphans the stored number: the rule compiles again before it runs.
    IntT before = a.compiled;
    om_XPathResetNodeTable();
    om_XPathCompile("//other", 0);
    IntT seq = qv_CondRuleSequence(AutoApplyRules.rules[0]);
    EXPECT_GT(seq, 0);
    EXPECT_EQ(om_XPathRec(seq).sourceText, "self::node()[para]");
    (void)before;

    EXPECT_EQ(om_CondFreeRules(), 0);
    EXPECT_EQ(om_CondFreeRules(), 221);
    EXPECT_EQ(StatusCode, StatusCannotDelete);

    std::filesystem::remove(dir / kCondSettingsFileName);
    om_CondLoadRules(1);
    EXPECT_FALSE(AutoApplyRules.loaded);
    EXPECT_EQ(CancelFlag, 1);
    EXPECT_EQ(Shown("Expected path: "), 1);
    EXPECT_EQ(Shown("The condition rules could not be read"), 1);
}

TEST_F(CondSettings, ManagerEditsRulesAndOkSavesThem) {
    host::QueueDialogActions("qv_DialogConditionManager",
                             {"type 18 para", "press 19", "type 18 *", "press 19",
                              "type 18 para", "press 19",                   // duplicate
                              "type 18 bad[", "press 19",                   // does not compile
                              "type 30 Draft", "press 31", "type 30 Print", "press 31",
                              "press 35",                                   // Print up: Print, Draft
                              "choose 20 0", "press 23",                    // first up: nothing
                              "press 21",                                   // edit to the same text
                              "check 26", "check 27", "check 4", "check 12", "press 37"});
    Answer("prompt", "para");  // Edit... of "para" keeps its own text
    om_CondOpenManagerDialog(0, 1);
    EXPECT_EQ(DialogHandles[kDlgConditionManager], 0u);
    EXPECT_EQ(Shown("This entry is already in the list."), 1);
    EXPECT_EQ(Shown("The expression is not valid XPath."), 1);
    // Saved, closed and read again.
    EXPECT_EQ(om_DocFindByPath(qv_CondSettingsPath()), 0u);
    EXPECT_EQ(CondTriggerSettings.afterInsertWrap, 1);
    EXPECT_EQ(CondTriggerSettings.warnMissingTag, kPromptNever);  // the third state (Once) checked on: unchecked
    ASSERT_EQ(AutoApplyRules.rules.size(), 2u);
    EXPECT_EQ(AutoApplyRules.rules[0].expression, "self::node()[para]");
    EXPECT_EQ(AutoApplyRules.rules[0].clearExisting, 0);
    EXPECT_EQ(AutoApplyRules.rules[0].createConditions, 1);
    EXPECT_EQ(AutoApplyRules.rules[1].expression, "self::node()[*]");
    EXPECT_EQ(AutoApplyRules.rules[1].conditions, (std::vector<std::string>{"Print", "Draft"}));
    EXPECT_EQ(AutoApplyRules.rules[1].clearExisting, 1);

    // The rule "*" is found as itself: deleting it keeps "para"; moving "para" down is then a no-op.
    host::QueueDialogActions("qv_DialogConditionManager", {"choose 20 1", "press 22", "press 24", "press 37"});
    om_CondOpenManagerDialog(0, 1);
    ASSERT_EQ(AutoApplyRules.rules.size(), 1u);
    EXPECT_EQ(AutoApplyRules.rules[0].expression, "self::node()[para]");
}

TEST_F(CondSettings, ManagerCancelDiscardsEverything) {
    WriteRules({{"para", {"Draft"}}});
    om_CondLoadRules(1);
    om_CondLoadTriggerSettings();
    host::QueueDialogActions("qv_DialogConditionManager",
                             {"type 18 sec", "press 19", "choose 20 0", "press 24", "type 30 Extra", "press 31",
                              "check 5", "press 38"});
    om_CondOpenManagerDialog(0, 1);
    EXPECT_EQ(om_DocFindByPath(qv_CondSettingsPath()), 0u);
    EXPECT_EQ(CondTriggerSettings.afterAttrEdit, 0);
    ASSERT_EQ(AutoApplyRules.rules.size(), 1u);
    om_CondLoadRules(1);  // the file as it was
    ASSERT_EQ(AutoApplyRules.rules.size(), 1u);
    EXPECT_EQ(AutoApplyRules.rules[0].conditions, (std::vector<std::string>{"Draft"}));
}

TEST_F(CondSettings, ConditionTagsListInDocumentOrder) {
    F_ObjHandleT doc = host::NewDocument("Z:\\t\\tags.fm");
    for (const char *n : {"Print", "Draft", "Online"}) F_ApiNewNamedObject(doc, FO_CondFmt, n);
    F_StringsT names = om_CondListConditionTags(doc);
    EXPECT_EQ(qvtest::Take(names), (std::vector<std::string>{"Print", "Draft", "Online"}));
    EXPECT_TRUE(qvtest::Take(om_CondListConditionTags(0)).empty());
}

}  // namespace
