// The Node Wizard Scripts' shared state: which scripts document is current, the recently used
// scripts documents, and the name of the list file that keeps them. The shell sets the path at
// start-up and from client calls, the palette changes it, runs read it.
#pragma once

#include <string>
#include <vector>

// The path of the current scripts document.
extern std::string ScriptsDocPath;
// The settings folder's scripts document, the default of ScriptsDocPath.
extern std::string DefaultScriptsDocPath;
// Recently used scripts-document paths, most recent first.
extern std::vector<std::string> RecentScriptsDocs;

// The scripts document shipped with the plug-in and copied into the settings folder.
inline constexpr const char *kScriptsDocFileName = "Quorvane_Node_Wizard_Scripts.fm";
// The list file of RecentScriptsDocs in the settings folder.
inline constexpr const char *kRecentScriptsDocsFileName = "Quorvane_NWScript_Doc_Favorites.txt";
// Appended to the scripts document's path (forward slashes) to mark a hidden working copy.
inline constexpr const char *kHiddenCopyMark = "HIDDEN_COPY";
