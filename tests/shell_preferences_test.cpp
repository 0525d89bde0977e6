// The general preferences: every kind of key read with its default and bounds from lines of any
// quality, the values handed to PluginGlobals and the XPath engine, and the file itself read
// whatever its line ends, a byte-order mark or binary bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "fdk.h"
#include "lib/globals.h"
#include "lib/host/system_services.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "plugin/preferences.h"
#include "transcript.h"
#include "user.h"
#include "xpath/xpath.h"

namespace {

namespace fs = std::filesystem;
const GeneralPreferencesT &P = GeneralPreferences;

struct Case {
    std::vector<std::string> lines;
    std::function<std::string()> read;
    std::string expected;
};

std::string N(IntT v) { return std::to_string(v); }

TEST(GeneralPreferences, LinesOfEveryKindReadWithDefaultsAndBounds) {
    auto maxErrors = [] { return N(P.nwMaxErrorsToReport); };
    auto nodeLimit = [] { return N(om_XPathGetNodeLimit()); };
    const Case cases[] = {
        // numbers: bounded, unreadable ones keep the default, blanks around them are trimmed
        {{"NW_MAX_ERRORS_TO_REPORT=0"}, maxErrors, "1"},
        {{"NW_MAX_ERRORS_TO_REPORT=5000"}, maxErrors, "1000"},
        {{"NW_MAX_ERRORS_TO_REPORT=abc"}, maxErrors, "25"},
        {{"NW_MAX_ERRORS_TO_REPORT=  40  "}, maxErrors, "40"},
        {{"NW_MAX_ERRORS_TO_REPORT="}, maxErrors, "25"},
        {{"NW_MAX_ERRORS_TO_REPORT=1=2"}, maxErrors, "25"},
        {{"nw_max_errors_to_report=30"}, maxErrors, "30"},
        {{"NW_MAX_ERRORS_TO_REPORT=10", "NW_MAX_ERRORS_TO_REPORT=20"}, maxErrors, "10"},  // the first line wins
        {{"\xEF\xBB\xBFNW_MAX_ERRORS_TO_REPORT=9"}, maxErrors, "9"},                     // a byte-order mark
        {{"TOTAL_XPATH_MEMORY=1049"}, nodeLimit, "2000"},
        {{"TOTAL_XPATH_MEMORY=100"}, nodeLimit, "1000"},
        {{"TOTAL_XPATH_MEMORY=9999"}, nodeLimit, "20000"},
        {{}, nodeLimit, "1000"},
        {{"MAX_XPATH_MATCHES=10"}, [] { return N(om_XPathGetMaxMatches()); }, "1000"},
        {{"MAX_XPATH_LENGTH=99999"}, [] { return N(PluginGlobals.maxXPathLength); }, "5000"},
        {{"MAX_XPATH_TEXT_CHARS_FOR_QUERY=1"}, [] { return N(PluginGlobals.maxXPathTextChars); }, "255"},
        // booleans and prompts: unreadable values keep the default
        {{"XFORM_DISABLE_SCREEN_UPDATES=no"}, [] { return N(P.xformDisableScreenUpdates); }, "0"},
        {{"XFORM_DISABLE_SCREEN_UPDATES=maybe"}, [] { return N(P.xformDisableScreenUpdates); }, "1"},
        {{"NW_ALLOW_SCRIPT_AUTORUNNING=1"}, [] { return N(P.nwAllowScriptAutorunning); }, "1"},
        {{"NW_ALLOW_SCRIPT_AUTORUNNING=True"}, [] { return N(P.nwAllowScriptAutorunning); }, "1"},
        {{"PROMPT_NW_MATCH_ALL_STATS_MSG=Once"}, [] { return N(P.promptNWMatchAllStatsMsg); }, "2"},
        {{"PROMPT_NW_MATCH_ALL_STATS_MSG=never"}, [] { return N(P.promptNWMatchAllStatsMsg); }, "3"},
        {{"PROMPT_NW_MATCH_ALL_STATS_MSG=zzz"}, [] { return N(P.promptNWMatchAllStatsMsg); }, "1"},
        // strings: trimmed, except the addendum; two keys are case-sensitive
        {{"XFORM_FILENAME_ADDENDUM= copy"}, [] { return P.xformFilenameAddendum; }, " copy"},
        {{}, [] { return P.xformFilenameAddendum; }, " (TRANSFORMED)"},
        {{"Str_Nws_Prompt_User_Cancel=X"}, [] { return P.strNWSPromptUserCancel; }, "USER_CANCELED"},
        {{"STR_NWS_PROMPT_USER_CANCEL= X "}, [] { return P.strNWSPromptUserCancel; }, "X"},
        {{"str_eo_get_undefined_parm=U"}, [] { return P.strEOGetUndefinedParm; }, "PARAMETER_NOT_DEFINED"},
        {{"NOTEPAD_EXE_PATH="}, [] { return P.notepadExePath; }, "C:\\Windows\\NOTEPAD.EXE"},
        {{"STARTUP_LANGUAGE=French"}, [] { return PluginGlobals.currentLanguage; }, "French"},
        // the menu location and the debug access code
        {{"QVRN_MENU_LOCATION=none"}, [] { return N(PluginGlobals.menuLocation); }, "3"},
        {{"QVRN_MENU_LOCATION=OrleMeadow"}, [] { return N(PluginGlobals.menuLocation); }, "2"},
        {{"QVRN_MENU_LOCATION=Main"}, [] { return N(PluginGlobals.menuLocation); }, "1"},
        {{"QVRN_MENU_LOCATION=anything"}, [] { return N(PluginGlobals.menuLocation); }, "1"},
        {{"QVRN_DEBUG_MODE=marlonVESTRY"}, [] { return N(PluginGlobals.debugMode); }, "1"},
        {{"QVRN_DEBUG_MODE=ON"}, [] { return N(PluginGlobals.debugMode); }, "0"},
        // the launch shortcuts: the block after the key alone, up to the first empty line
        {{"NW_SCRIPT_LAUNCH_SHORTCUTS", " Fix tables~~~~\\!zq ", "Nothing", "", "NW_MAX_ERRORS_TO_REPORT=7"},
         [] {
             std::string all;
             for (const auto &e : P.nwScriptLaunchShortcuts) all += "[" + e + "]";
             return all + N(P.nwMaxErrorsToReport);
         },
         "[Fix tables~~~~\\!zq][Nothing]7"},
        // garbage
        {{std::string("\x00\xff\xfe=\x01", 5), "=", "====", "NW_MAX_ERRORS_TO_REPORT=\x01\x02"}, maxErrors, "25"},
        {{"NW_MAX_ERRORS_TO_REPORT=12abc"}, maxErrors, "25"},
    };
    for (const Case &c : cases) {
        qv_PrefStoreFromLines(c.lines);
        EXPECT_EQ(c.read(), c.expected) << (c.lines.empty() ? std::string("(no lines)") : c.lines[0]);
    }
}

class PreferencesFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("qv_prefs_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = dir / "Quorvane_General_Preferences.txt";
        SettingsFiles.generalPreferences = qv::sys::WindowsPath(path.string());
        host::ResetUser();
        host::ClearTranscript();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void Write(const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    static bool Told() {
        for (const auto &line : host::TranscriptLines())
            if (line.find("Quorvane_General_Preferences.txt") != std::string::npos) return true;
        return false;
    }
    fs::path dir, path;
};

TEST_F(PreferencesFile, ReadWhateverItsLineEndsAndBytes) {
    struct FileCase {
        const char *what;
        std::string bytes;
        IntT result;
        IntT maxErrors;
    };
    const FileCase cases[] = {
        {"CR LF", "NW_MAX_ERRORS_TO_REPORT=40\r\nMAX_XPATH_MATCHES=2000\r\n", 1, 40},
        {"LF", "MAX_XPATH_MATCHES=2000\nNW_MAX_ERRORS_TO_REPORT=41\n", 1, 41},
        {"CR", "MAX_XPATH_MATCHES=2000\rNW_MAX_ERRORS_TO_REPORT=42\r", 1, 42},
        {"BOM", "\xEF\xBB\xBFNW_MAX_ERRORS_TO_REPORT=43\r\nX=1\r\n", 1, 43},
        {"binary", std::string("\x00\x01\xff\r\n\x7f=\x00=\n\xc3\x28NW_MAX_ERRORS_TO_REPORT=1\n", 22), 1, 25},
        {"one line", "NW_MAX_ERRORS_TO_REPORT=44\r\n", 0, 25},
        {"empty", "", 0, 25},
    };
    for (const FileCase &c : cases) {
        host::ClearTranscript();
        Write(c.bytes);
        qv_PrefStoreFromLines({"NW_MAX_ERRORS_TO_REPORT=99"});
        EXPECT_EQ(om_PrefReadGeneralPreferences(), c.result) << c.what;
        EXPECT_EQ(GeneralPreferences.nwMaxErrorsToReport, c.maxErrors) << c.what;
        EXPECT_EQ(Told(), c.result == 0) << c.what;
    }
    fs::remove(path);
    host::ClearTranscript();
    EXPECT_EQ(om_PrefReadGeneralPreferences(), 0);
    EXPECT_TRUE(Told());
    EXPECT_EQ(GeneralPreferences.maxXPathMatches, 1000);
}

}  // namespace
