// A fixture for condition management: a fresh session with the plug-in's client loaded from a
// temporary folder that holds the shipped condition settings document and English messages,
// the XPath engine set up, the condition state emptied, and the Condition Manager's item events
// routed as the shell routes them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "client.h"
#include "dialog.h"
#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/globals.h"
#include "lib/host/attributes.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_text.h"
#include "lib/plugin_globals.h"
#include "lib/state/cond_settings.h"
#include "lib/translation/lang.h"
#include "model.h"
#include "paths.h"
#include "plugin/cond_settings.h"
#include "transcript.h"
#include "user.h"
#include "xpath/xpath.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace qvtest {

// The Condition Manager's item events, routed as the shell's dialog-event routing does.
inline void CondManagerEvent(IntT dlgNum, IntT item, IntT) {
    if (dlgNum != kDlgConditionManager) return;
    F_ObjHandleT dlg = DialogHandles[kDlgConditionManager];
    IntT dbl = dlg ? F_ApiGetInt(0, dlg, FP_DlgDoubleClick) : 0;
    switch (item) {
    case 19: om_CondAddSettingItem(2); break;
    case 20:
        if (dbl) om_CondEditSettingItem(2);
        om_CondFillManagerDialog(0, 1);
        break;
    case 21: om_CondEditSettingItem(2); om_CondFillManagerDialog(0, 0); break;
    case 22: om_CondDeleteSettingItem(2); break;
    case 23: om_CondMoveSettingItem(2, 1); break;
    case 24: om_CondMoveSettingItem(2, 2); break;
    case 25: om_CondToggleRuleFlag(25); om_CondFillManagerDialog(0, 0); break;
    case 26: case 27: case 28: om_CondToggleRuleFlag(item); break;
    case 31: om_CondAddSettingItem(1); break;
    case 32:
        if (dbl) om_CondEditSettingItem(1);
        om_CondFillManagerDialog(0, 0);
        break;
    case 33: om_CondEditSettingItem(1); om_CondFillManagerDialog(0, 0); break;
    case 34: om_CondDeleteSettingItem(1); break;
    case 35: om_CondMoveSettingItem(1, 1); break;
    case 36: om_CondMoveSettingItem(1, 2); break;
    case 37: om_CondSaveTriggerSettings(); return;
    case 38: case FV_DlgCloseBox: om_CondCloseSettingsDoc(0); return;
    default: break;
    }
    F_ApiReturnValue(FV_DlgNoDismiss);
}

inline void CondClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", [](IntT) {}, nullptr, CondManagerEvent, nullptr,
                                    qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

class CondFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetClients();
        host::ResetUser();
        host::ClearTranscript();
        dir = std::filesystem::path(::testing::TempDir()) / "cond" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        for (const char *f : {kCondSettingsFileName, "Quorvane_Strings_General_English.fm", "OM_TranslationFileTemplate.fm"})
            std::filesystem::copy_file(std::filesystem::path(QV_SOURCE_DIR) / "defaults" / f, dir / f);
        host::LoadClientInProcess(CondClientInit, dir.string());
        qv::LangReset();
        om_LangInit("Quorvane", "", "English");
        om_XPathInitEngine(5000, 255, 10000);
        om_XPathResetNodeTable();
        CondTriggerSettings = CondTriggerSettingsT{};
        AutoApplyRules = AutoApplyRulesT{};
        DialogHandles = DialogHandlesT{};
        StatusCode = 0;
        CancelFlag = 0;
    }
    void TearDown() override {
        om_DlgCloseStatus();
        host::ResetUser();
        host::ResetClients();
        host::ResetSession();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // How often the transcript holds the text.
    int Shown(const std::string &text) const {
        int n = 0;
        for (const auto &l : host::TranscriptLines()) n += l.find(text) != std::string::npos;
        return n;
    }
    static void Answer(const char *kind, const char *value) {
        host::UserAnswer a;
        a.kind = kind;
        a.value = value;
        host::QueueAnswer(a);
    }
    // Writes rules into the settings document and saves it: expression, conditions, and the flags
    // active, clear-existing, create-conditions, parent-too.
    struct Rule {
        std::string expression;
        std::vector<std::string> conditions;
        bool active = true, clear = true, create = false, parent = false;
    };
    void WriteRules(const std::vector<Rule> &rules) {
        F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
        ASSERT_NE(doc, 0u);
        F_ObjHandleT container = om_ElementFindByAttr(doc, 0, "AutoApplicationSettings", "*", "*", "");
        ASSERT_NE(container, 0u);
        auto tf = [](bool b) { return std::string(b ? "True" : "False"); };
        for (const Rule &r : rules) {
            F_ObjHandleT e = om_ElementInsertNew(doc, container, "AutoApplicationSetting", 4);
            om_AttrSetValue(doc, e, "Expression", r.expression);
            om_AttrSetValues(doc, e, "Conditions", -1, r.conditions, 0);
            om_AttrSetValue(doc, e, "SettingIsActive", tf(r.active));
            om_AttrSetValue(doc, e, "ClearExistingConditions", tf(r.clear));
            om_AttrSetValue(doc, e, "CreateConditions", tf(r.create));
            om_AttrSetValue(doc, e, "DoParentToo", tf(r.parent));
        }
        om_CondCloseSettingsDoc(1);
    }
    std::filesystem::path dir;
};

}  // namespace qvtest
