// The settings folder at start-up: a first start, an upgrade from an older or a current settings
// version, the scripts document's backup, copies that fail, settings kept in the plug-in's folder,
// a preferences file named elsewhere, and the plug-in left inert when it cannot run.
#include <algorithm>
#include <string>

#include "lib/host/system_services.h"
#include "lib/plugin_globals.h"
#include "lib/state/settings_files.h"
#include "shell_fixture.h"

namespace {

using shelltest::ReadFile;
using shelltest::ShellTest;
using shelltest::WriteFile;
namespace fs = std::filesystem;

constexpr const char *kNotice = "Quorvane initialization notice!";
constexpr const char *kOverwrite = "Quorvane initialization warning!";

class Settings : public ShellTest {
protected:
    fs::path File(const char *name) const { return SettingsFolder() / name; }
    std::string StoredVersion() const { return ReadFile(File("Quorvane.version")); }
};

TEST_F(Settings, FirstStartAsksThenCopiesEveryDefault) {
    AnswerAlert("yes");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Shown(kNotice));
    EXPECT_TRUE(Live());
    for (const char *name : shelltest::kDefaultFiles)
        EXPECT_EQ(ReadFile(File(name)), ReadFile(root / "plugin" / name)) << name;
    EXPECT_EQ(StoredVersion(), "3\r\n44\r\n  \r\n**WARNING! Do not modify this file!\r\n");
    EXPECT_EQ(PluginGlobals.settingsLocation, 2);
    EXPECT_EQ(SettingsFiles.generalPreferences,
              qv::sys::WindowsPath(File("Quorvane_General_Preferences.txt").string()));
    EXPECT_EQ(SettingsFiles.reportTemplate, qv::sys::WindowsPath((root / "plugin").string()) + "\\Quorvane_Report_Template.fm");
}

TEST_F(Settings, VersionsDecideWhatIsAskedCopiedAndWritten) {
    struct Row {
        const char *stored;  // the version file's text; nullptr: none
        bool notice;
        bool preferencesReplaced;
        const char *afterwards;  // the version file's first two lines afterwards
    };
    const Row rows[] = {
        {"3\r\n20\r\n", false, false, "3\r\n44\r\n"},
        {"3\r\n44\r\nmine\r\n", false, false, "3\r\n44\r\nmine"},
        {"3\r\n", true, true, "3\r\n44\r\n"},
        {"2\r\n99\r\n", true, true, "3\r\n44\r\n"},
    };
    for (const Row &r : rows) {
        TearDown();
        SetUp();
        WriteFile(File("Quorvane.version"), r.stored);
        WriteFile(File("Quorvane_General_Preferences.txt"), "MAX_XPATH_MATCHES=3000\nmine\n");
        if (r.notice) AnswerAlert("yes");
        ASSERT_TRUE(Start());
        EXPECT_EQ(Shown(kNotice), r.notice) << r.stored;
        EXPECT_TRUE(Live()) << r.stored;
        bool replaced = ReadFile(File("Quorvane_General_Preferences.txt")).find("mine") == std::string::npos;
        EXPECT_EQ(replaced, r.preferencesReplaced) << r.stored;
        EXPECT_EQ(StoredVersion().rfind(r.afterwards, 0), 0u) << r.stored << ": " << StoredVersion();
        EXPECT_TRUE(fs::exists(File("Quorvane_Node_Wizard_Scripts.fm"))) << r.stored;  // missing ones come
    }
}

TEST_F(Settings, AnUpgradeBacksUpTheScriptsDocumentBeforeReplacingIt) {
    WriteFile(File("Quorvane.version"), "3\r\n5\r\n");
    WriteFile(File("Quorvane_Node_Wizard_Scripts.fm"), "my scripts");
    AnswerAlert("yes");
    AnswerAlert("yes");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Shown(kOverwrite));
    EXPECT_EQ(ReadFile(File("Quorvane_Node_Wizard_Scripts__pre_v3.44_backup.fm")), "my scripts");
    EXPECT_EQ(ReadFile(File("Quorvane_Node_Wizard_Scripts.fm")),
              ReadFile(root / "plugin" / "Quorvane_Node_Wizard_Scripts.fm"));
    EXPECT_TRUE(Live());
}

TEST_F(Settings, WithoutABackupTheUsersScriptsStayAndTheUpgradeIsOfferedAgain) {
    WriteFile(File("Quorvane.version"), "3\r\n5\r\n");
    WriteFile(File("Quorvane_Node_Wizard_Scripts.fm"), "my scripts");
    fs::create_directories(File("Quorvane_Node_Wizard_Scripts__pre_v3.44_backup.fm"));  // cannot be written
    AnswerAlert("yes");
    AnswerAlert("yes");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Shown("A critical error occurred while attempting to create the backup"));
    EXPECT_EQ(ReadFile(File("Quorvane_Node_Wizard_Scripts.fm")), "my scripts");
    EXPECT_EQ(StoredVersion(), "3\r\n5\r\n");
    EXPECT_TRUE(Live());
}

TEST_F(Settings, AFailedCopyLeavesThePluginInertAndTheVersionUnwritten) {
    fs::path plugin = PluginFolder();
    fs::remove(plugin / "Quorvane_Cond_Mgmt_Settings.fm");
    AnswerAlert("yes");
    ASSERT_TRUE(Start(plugin));
    EXPECT_TRUE(Shown("A critical error occurred while copying this file"));
    EXPECT_TRUE(Shown("Quorvane_Cond_Mgmt_Settings.fm"));
    EXPECT_FALSE(Live());
    EXPECT_FALSE(fs::exists(File("Quorvane.version")));
    EXPECT_EQ(host::FindMenuObject("!Quorvane_Menu_MainDocMenu"), 0u);
}

TEST_F(Settings, DecliningOrAnUncreatableFolderLeavesThePluginInert) {
    for (const char *answer : {"no", "fail"}) {  // an alert that cannot be shown is no Yes
        TearDown();
        SetUp();
        AnswerAlert(answer);
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Shown(kNotice)) << answer;
        EXPECT_FALSE(Live()) << answer;
        EXPECT_FALSE(fs::exists(File("Quorvane.version"))) << answer;
    }

    TearDown();
    SetUp();
    WriteFile(root / "appdata", "a file where the folder should be");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Shown("unable to create the following directory"));
    EXPECT_FALSE(Shown(kNotice));
    EXPECT_FALSE(Live());
    EXPECT_EQ(host::FindMenuObject("!Quorvane_Menu_MainDocMenu"), 0u);
}

TEST_F(Settings, SettingsInsideThePluginFolderAndPreferencesNamedElsewhere) {
    fs::path plugin = PluginFolder();
    WriteFile(plugin / "Quorvane.ini", "  settings_location = Inside \r\n");
    ASSERT_TRUE(Start(plugin));
    EXPECT_FALSE(Shown(kNotice));
    EXPECT_TRUE(Live());
    EXPECT_EQ(PluginGlobals.settingsLocation, 1);
    EXPECT_EQ(SettingsFiles.settingsFolder, qv::sys::WindowsPath(plugin.string()) + "\\");
    EXPECT_FALSE(fs::exists(root / "appdata"));

    // A preferences file outside the plug-in's folder is read where it is, never copied.
    TearDown();
    SetUp();
    plugin = PluginFolder();
    WriteFile(root / "elsewhere" / "prefs.txt", "MAX_XPATH_MATCHES=3000\nNW_MAX_ERRORS_TO_REPORT=5\n");
    WriteFile(plugin / "Quorvane.ini",
              "SETTINGS_FILE_PATH=" + qv::sys::WindowsPath((root / "elsewhere" / "prefs.txt").string()) + "\n");
    AnswerAlert("yes");
    ASSERT_TRUE(Start(plugin));
    EXPECT_TRUE(Live());
    EXPECT_EQ(SettingsFiles.generalPreferences, qv::sys::WindowsPath((root / "elsewhere" / "prefs.txt").string()));
    EXPECT_FALSE(fs::exists(File("Quorvane_General_Preferences.txt")));
    EXPECT_FALSE(fs::exists(File("prefs.txt")));
}

}  // namespace

namespace {

TEST_F(Settings, TheFirstExistingRecentScriptsDocumentBecomesTheCurrentOne) {
    WriteFile(root / "mine" / "My Scripts.fm", "x");
    const std::pair<std::string, std::string> rows[] = {
        // the favorites' first line, the current scripts document afterwards (forward slashes)
        {"", "settings"},
        {qv::sys::WindowsPath((root / "missing.fm").string()) + "\r\n" +
             qv::sys::WindowsPath((root / "mine" / "My Scripts.fm").string()) + "\r\n",
         "settings"},
        {qv::sys::WindowsPath((root / "mine" / "My Scripts.fm").string()) + "\r\n", "mine"},
    };
    for (const auto &[favorites, expected] : rows) {
        TearDown();
        SetUp();
        WriteFile(root / "mine" / "My Scripts.fm", "x");
        WriteFile(File("Quorvane.version"), "3\r\n44\r\n");
        WriteFile(File("Quorvane_NWScript_Doc_Favorites.txt"), favorites);
        ASSERT_TRUE(Start());
        fs::path want = expected == "mine" ? root / "mine" / "My Scripts.fm" : File("Quorvane_Node_Wizard_Scripts.fm");
        std::string forward = qv::sys::WindowsPath(want.string());
        std::replace(forward.begin(), forward.end(), '\\', '/');
        EXPECT_EQ(SettingsFiles.currentScriptsDoc, forward) << favorites;
        EXPECT_EQ(RecentScriptsDocs.size(), favorites.empty() ? 0u : std::count(favorites.begin(), favorites.end(), '\n'));
    }
}

// A very long SETTINGS_FILE_PATH line (a path no file has) is read in time that grows with its
// length: at this length work that grew with its square would take minutes. The preferences
// then come from the plug-in's folder.
TEST_F(Settings, AVeryLongPreferencesPathIsReadWhole) {
    fs::path plugin = PluginFolder();
    std::string path = "C:\\";
    for (int i = 0; i < 20000; ++i) path += "abcd\\";
    WriteFile(plugin / "Quorvane.ini", "SETTINGS_LOCATION=Inside\nSETTINGS_FILE_PATH=" + path + "prefs.txt\n");
    ASSERT_TRUE(Start(plugin));
    EXPECT_TRUE(Live());
    EXPECT_EQ(SettingsFiles.generalPreferences, qv::sys::WindowsPath(plugin.string()) + "\\Quorvane_General_Preferences.txt");
}

}  // namespace
