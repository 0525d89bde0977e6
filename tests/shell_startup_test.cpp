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
#include "lib/plugin_globals.h"
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
    DialogHandles[kDlgNodeWizard] = 0x2B0003E8;
    host::Client *c = host::LoadClientInProcess(F_ApiClientInit, "");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(host::ClientName(c), "Quorvane");
    EXPECT_EQ(host::ClientNotifications(c),
              (std::vector<IntT>{52, 53, 57, 55, 42, 43, 2, 4, 96, 83, 44, 45, 63, 65, 11, 40, 105, 26, 127, 13}));
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

    // A client call reaches it and is answered (a sequence number + 100).
    EXPECT_GT(F_ApiCallClient("Quorvane", "ParseXPath---//para"), 100);
}

TEST_F(StartUp, TraceShowsTheStepsInOrder) {
    ::setenv("QV_TRACE", "1", 1);
    host::LoadClientInProcess(F_ApiClientInit, "");
    int count = 0;
    const StartUpStep *steps = qv_StartUpSteps(&count);
    ASSERT_EQ(count, 21);
    std::vector<std::string> traced;
    for (const auto &line : host::TranscriptLines())
        if (line.rfind("console: Quorvane start-up ", 0) == 0) traced.push_back(line);
    ASSERT_EQ(traced.size(), 21u);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(steps[i].number, i + 1);
        EXPECT_EQ(traced[static_cast<size_t>(i)],
                  "console: Quorvane start-up " + std::to_string(i + 1) + ": " + steps[i].name);
    }
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
