// Where the plug-in's settings live: the plug-in's folder, the settings folder (the plug-in's
// folder or the per-user folder) and the path of every settings file. Set once by the settings
// folder set-up at start-up; the current scripts-document path changes later (the favorites at
// start-up, the scripts palette, the inter-client call).
#pragma once

#include <string>
#include <vector>

struct SettingsFilesT {
    std::string pluginFolder;         // the plug-in's own folder, ending with one "\"
    std::string settingsFolder;       // the folder of the settings files, ending with "\"
    std::string generalPreferences;   // "Quorvane_General_Preferences.txt"
    std::string condSettings;         // "Quorvane_Cond_Mgmt_Settings.fm"
    std::string reportTemplate;       // "Quorvane_Report_Template.fm" (stays in the plug-in's folder)
    std::string defaultScriptsDoc;    // "Quorvane_Node_Wizard_Scripts.fm"
    std::string currentScriptsDoc;    // the scripts document in use
    std::string xpathFavorites;       // "Quorvane_XPath_Favorites.txt"
    std::string scriptsDocFavorites;  // "Quorvane_NWScript_Doc_Favorites.txt"
};

extern SettingsFilesT SettingsFiles;

// The recent scripts documents (the scripts-document favorites), most recent first.
extern std::vector<std::string> RecentScriptsDocs;

// The fixed names of the settings files.
inline constexpr const char *kIniFileName = "Quorvane.ini";
inline constexpr const char *kVersionFileName = "Quorvane.version";
inline constexpr const char *kPreferencesFileName = "Quorvane_General_Preferences.txt";
inline constexpr const char *kCondSettingsFileName = "Quorvane_Cond_Mgmt_Settings.fm";
inline constexpr const char *kReportTemplateFileName = "Quorvane_Report_Template.fm";
inline constexpr const char *kScriptsDocFileName = "Quorvane_Node_Wizard_Scripts.fm";
inline constexpr const char *kXPathFavoritesFile = "Quorvane_XPath_Favorites.txt";
inline constexpr const char *kScriptsDocFavoritesFileName = "Quorvane_NWScript_Doc_Favorites.txt";
