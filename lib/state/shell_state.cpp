// The shell's shared records: the settings file paths, the general preferences and the stylesheet element being set up.
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"

SettingsFilesT SettingsFiles;
std::vector<std::string> RecentScriptsDocs;
GeneralPreferencesT GeneralPreferences;
StylesheetElementSetUpT StylesheetElementSetUp;
