// A fixture for condition management: a fresh session with the plug-in's client loaded from a
// temporary folder that holds the shipped condition settings document, English messages and the
// language-file template, the XPath engine set up and the condition state emptied; dialog item
// events reach the plug-in's own routing.
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
#include "lib/shell_records.h"
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

inline void CondClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", [](IntT) {}, nullptr, F_ApiDialogEvent, nullptr,
                                    qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

// A rule of the condition settings document: expression, conditions, and the flags active,
// clear-existing, create-conditions, parent-too.
struct CondRule {
    std::string expression;
    std::vector<std::string> conditions;
    bool active = true, clear = true, create = false, parent = false;
};

// Writes rules into the plug-in's condition settings document and saves it.
inline void WriteCondRules(const std::vector<CondRule> &rules) {
    F_ObjHandleT doc = om_CondOpenSettingsDoc(1);
    ASSERT_NE(doc, 0u);
    F_ObjHandleT container = om_ElementFindByAttr(doc, 0, "AutoApplicationSettings", "*", "*", "");
    ASSERT_NE(container, 0u);
    auto tf = [](bool b) { return std::string(b ? "True" : "False"); };
    for (const CondRule &r : rules) {
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
        SettingsFiles = SettingsFilesT{};
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
    using Rule = CondRule;
    void WriteRules(const std::vector<Rule> &rules) { WriteCondRules(rules); }
    std::filesystem::path dir;
};

}  // namespace qvtest
