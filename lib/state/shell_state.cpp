// The shell's shared records: the settings file paths, the general preferences, the condition
// trigger settings and the stylesheet element being set up.
#include "lib/state/cond_triggers.h"
#include "lib/state/general_preferences.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"

SettingsFilesT SettingsFiles;
std::vector<std::string> RecentScriptsDocs;
GeneralPreferencesT GeneralPreferences;
CondTriggerSettingsT CondTriggerSettings;
StylesheetElementSetUpT StylesheetElementSetUp;
