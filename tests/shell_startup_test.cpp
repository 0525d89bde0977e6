// The plug-in's start-up inside the host: registration as "Quorvane", the steps in order,
// the shared state's defaults and the notifications asked for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "client.h"
#include "model.h"
#include "fdk.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "lib/translation/lang.h"
#include "plugin/startup.h"
#include "transcript.h"

namespace {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetSession();
        host::ClearTranscript();
        ::unsetenv("QV_TRACE");
    }
    void TearDown() override {
        host::ResetClients();
        ::unsetenv("QV_TRACE");
    }
};

TEST_F(StartUp, RegistersAsQuorvaneAndAsksForTheNotificationsInOrder) {
    StatusCode = 77;
    PluginGlobals.cancelConfirmText.clear();
    DialogHandles[kDlgNodeWizard] = 0x2B0003E8;
    host::Client *c = host::LoadClientInProcess(F_ApiClientInit, "");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(host::ClientName(c), "Quorvane");
    EXPECT_EQ(host::ClientNotifications(c),
              (std::vector<IntT>{FA_Note_PreInsertElement, FA_Note_PostInsertElement, FA_Note_PostWrapElement,
                                 FA_Note_PostChangeElement, FA_Note_PreFunction, FA_Note_PostFunction,
                                 FA_Note_PostOpenDoc, FA_Note_PostOpenMIF, FA_Note_PostOpenXML, FA_Note_PostOpenSGML,
                                 FA_Note_PreMouseCommand, FA_Note_PostMouseCommand, FA_Note_PostSetAttrValue,
                                 FA_Note_PostImportElemDefs, FA_Note_PreQuitDoc, FA_Note_PostQuitDoc,
                                 FA_Note_PostActiveDocChange, FA_Note_PreQuitSession, FA_Note_Dialog_Create,
                                 FA_Note_ClientCall}));
    EXPECT_NE(host::ClientResource(c, "om_Dialog_Status"), nullptr);
    EXPECT_EQ(host::ClientResource(c, "no such dialog"), nullptr);

    EXPECT_EQ(PluginGlobals.versionText, "3.44");
    EXPECT_EQ(PluginGlobals.versionMajor, 3);
    EXPECT_EQ(PluginGlobals.versionMinor, 44);
    EXPECT_EQ(PluginGlobals.compatibleMajor, 3);
    EXPECT_EQ(PluginGlobals.compatibleMinor, 10);
    EXPECT_EQ(PluginGlobals.targetedHostMajor, 16);
    EXPECT_EQ(StatusCode, 0);
    EXPECT_EQ(DialogHandles[kDlgNodeWizard], 0u);
    // The cancel question of the Esc polls is the current language's text, kept at start-up.
    EXPECT_FALSE(PluginGlobals.cancelConfirmText.empty());
    EXPECT_EQ(PluginGlobals.cancelConfirmText, qv::LangMessage("QVRN_GEN_MSG_11"));

    // A client call reaches it and is answered (a sequence number + 100).
    EXPECT_GT(F_ApiCallClient("Quorvane", "ParseXPath---//para"), 100);
}

TEST_F(StartUp, TraceShowsTheStepsInOrder) {
    const std::vector<std::string> expected = {
        "host text handling",    "insert and wrap condition trigger", "versions",
        "shared state defaults", "settings folder",                   "general preferences",
        "translation",           "strings file check",                "XPath engine",
        "XPath favorites",       "debug parameters",                  "generic dialogs",
        "cancel confirmation text", "condition settings",             "menu translations",
        "commands and menus",    "notifications",                     "script launch commands",
        "client calls",          "menu labels",                       "current scripts document",
    };
    ::setenv("QV_TRACE", "1", 1);
    host::LoadClientInProcess(F_ApiClientInit, "");
    std::vector<std::string> traced;
    for (const auto &line : host::TranscriptLines())
        if (line.rfind("console: Quorvane start-up ", 0) == 0) traced.push_back(line);
    ASSERT_EQ(traced.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(traced[i], "console: Quorvane start-up " + std::to_string(i + 1) + ": " + expected[i]);
}

TEST_F(StartUp, NotesWhetherTheHostVersionIsTheTargetedOne) {
    // This program is built as the module for host version 16.
    for (IntT running : {16, 15}) {
        host::ResetClients();
        host::TheSession().versionMajor = running;
        ASSERT_NE(host::LoadClientInProcess(F_ApiClientInit, ""), nullptr);
        EXPECT_EQ(PluginGlobals.targetedHostMajor, 16);
        EXPECT_EQ(PluginGlobals.runningHostMajor, running);
        EXPECT_EQ(PluginGlobals.hostVersionDiffers, running == 16 ? 0 : 1);
        // Start-up goes on to the end: the notifications are asked for either way.
        EXPECT_EQ(host::ClientNotifications(host::FindClient("Quorvane")).size(), 20u);
    }
}

}  // namespace
