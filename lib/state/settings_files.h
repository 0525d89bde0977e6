// Where the plug-in's settings live: the plug-in's folder, the settings folder (the plug-in's
// folder or the per-user folder) and the path of every settings file. Set once by the settings
// folder set-up at start-up. The scripts document's default and current paths are the scripts'
// DefaultScriptsDocPath and ScriptsDocPath (lib/state/scripts.h), which the set-up sets too.
#pragma once

#include <string>

struct SettingsFilesT {
    std::string pluginFolder;         // the plug-in's own folder, ending with one "\"
    std::string settingsFolder;       // the folder of the settings files, ending with "\"
    std::string generalPreferences;   // "Quorvane_General_Preferences.txt"
    std::string condSettings;         // "Quorvane_Cond_Mgmt_Settings.fm"
    std::string reportTemplate;       // "Quorvane_Report_Template.fm" (stays in the plug-in's folder)
    std::string xpathFavorites;       // "Quorvane_XPath_Favorites.txt"
    std::string scriptsDocFavorites;  // "Quorvane_NWScript_Doc_Favorites.txt" (RecentScriptsDocs)
};

extern SettingsFilesT SettingsFiles;

// The fixed names of the settings files (the scripts document's two: lib/state/scripts.h; the
// condition settings document's: plugin/cond_settings.h).
inline constexpr const char *kIniFileName = "Quorvane.ini";
inline constexpr const char *kVersionFileName = "Quorvane.version";
inline constexpr const char *kPreferencesFileName = "Quorvane_General_Preferences.txt";
inline constexpr const char *kReportTemplateFileName = "Quorvane_Report_Template.fm";
inline constexpr const char *kXPathFavoritesFile = "Quorvane_XPath_Favorites.txt";
