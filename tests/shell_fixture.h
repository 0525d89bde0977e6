// The plug-in started inside the host for the shell's tests: a settings folder of the test's own
// (%APPDATA% pointed at a new folder), the start-up trace on, the transcript cleared.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client.h"
#include "dialog.h"
#include "fdk.h"
#include "menus.h"
#include "model.h"
#include "support/scoped_env.h"
#include "transcript.h"
#include "user.h"

namespace shelltest {

namespace fs = std::filesystem;

inline void WriteFile(const fs::path &path, const std::string &bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline const char *kDefaultFiles[] = {"Quorvane_General_Preferences.txt", "Quorvane_Cond_Mgmt_Settings.fm",
                                      "Quorvane_Node_Wizard_Scripts.fm", "Quorvane_XPath_Favorites.txt",
                                      "Quorvane_NWScript_Doc_Favorites.txt"};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / ("qv_shell_" + std::to_string(::getpid())) /
               (std::string(info->test_suite_name()) + "_" + info->name());
        fs::remove_all(root);
        fs::create_directories(root);
        ::setenv("APPDATA", (root / "appdata").c_str(), 1);
        ::setenv("QV_TRACE", "1", 1);
        host::ResetClients();
        host::ResetMenus();
        host::ResetSession();
        host::ResetUser();
        host::ClearTranscript();
        FA_errno = 0;
    }
    void TearDown() override {
        host::ResetClients();
        host::ResetUser();
        std::error_code ec;
        fs::remove_all(root, ec);
        fs::remove(root.parent_path(), ec);  // the run's folder, once its last test is gone
    }

    // The per-user settings folder of the session's host version.
    fs::path SettingsFolder() const {
        return root / "appdata" / "Adobe" / "FrameMaker" / std::to_string(host::TheSession().versionMajor) /
               "OrleMeadow" / "Quorvane";
    }
    // A plug-in folder holding every file the plug-in ships.
    fs::path PluginFolder() {
        fs::path dir = root / "plugin";
        fs::create_directories(dir);
        fs::copy(fs::path(QV_SOURCE_DIR) / "defaults", dir, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        return dir;
    }
    // A settings folder of a user who started this version before, with these preferences.
    void Settle(const std::string &preferences) {
        fs::path dir = SettingsFolder();
        for (const char *name : kDefaultFiles) {
            fs::create_directories(dir);
            fs::copy_file(fs::path(QV_SOURCE_DIR) / "defaults" / name, dir / name, fs::copy_options::overwrite_existing);
        }
        WriteFile(dir / "Quorvane.version", "3\r\n44\r\n  \r\n**WARNING! Do not modify this file!\r\n");
        if (!preferences.empty()) WriteFile(dir / "Quorvane_General_Preferences.txt", preferences);
    }
    // Starts the plug-in from that folder (by default a new one holding the shipped files).
    host::Client *Start(fs::path pluginFolder = {}) {
        if (pluginFolder.empty()) pluginFolder = PluginFolder();
        client = host::LoadClientInProcess(F_ApiClientInit, pluginFolder.string());
        return client;
    }
    void AnswerAlert(const std::string &value) {
        host::UserAnswer a;
        a.kind = "alert";
        a.value = value;
        host::QueueAnswer(a);
    }
    static bool Shown(const std::string &text) {
        for (const std::string &line : host::TranscriptLines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    static std::string Transcript() {
        std::string all;
        for (const std::string &line : host::TranscriptLines()) all += line + "\n";
        return all;
    }
    bool Live() const { return client && !host::ClientNotifications(client).empty(); }

    fs::path root;
    qvtest::ScopedEnv env{"APPDATA", "QV_TRACE"};
    host::Client *client = nullptr;
};

}  // namespace shelltest
