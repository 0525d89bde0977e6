// The shell's shared records: the settings file paths, the general preferences and the stylesheet element being set up.
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/run_state.h"

SettingsFilesT SettingsFiles;
std::vector<std::string> RecentScriptsDocs;
GeneralPreferencesT GeneralPreferences;
StylesheetElementSetUpT StylesheetElementSetUp;

namespace {
// Read at start-up (and by Read Local Prefs).
[[maybe_unused]] const bool resetSettingsFilesAndPreferences =
    om_RunStateRegister("settings files and preferences", RunStateKind::StartUp, [] {
        SettingsFiles = SettingsFilesT{};
        RecentScriptsDocs.clear();
        GeneralPreferences = GeneralPreferencesT{};
    });
// The element a set-up dialog works on.
[[maybe_unused]] const bool resetStylesheetElementSetUp =
    om_RunStateRegister("stylesheet element set-up", RunStateKind::Run, [] {
        StylesheetElementSetUp = StylesheetElementSetUpT{};
    });
}  // namespace
