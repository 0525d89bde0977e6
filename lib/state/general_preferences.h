// Folder lib/state: the shared state of the subsystems, records with their defaults and little
// behaviour beyond them. It uses fdk.h, the status codes of lib/globals.h, the prompt settings
// of lib/strings/keyvalue.h and the standard library only.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: cond_settings general_preferences match nodewizard_codes settings_files stylesheet_setup xform xform_codes
//   2: nodewizard scripts shell_state
//
// The general preferences: every value read from the preferences file, kept for the parts of
// the plug-in that use them (the Node Wizard, the scripts, the transformation, the menus, the
// XPath engine's limits). Each starts at its default; reading the file stores every key again.
// The current language, the menu placement, debug mode and the XPath limits also go to
// PluginGlobals, which the rest of the plug-in reads.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/strings/keyvalue.h"

// Where the plug-in's menus go.
enum QvMenuLocation : IntT { kMenuMain = 1, kMenuMaker = 2, kMenuNone = 3 };

struct GeneralPreferencesT {
    IntT xformDisableScreenUpdates = 1;
    IntT xformCloseOpenedFiles = 1;
    std::string xformFilenameAddendum = " (TRANSFORMED)";
    IntT xformPreferRelPathsInDialogs = 1;
    IntT xformAdjustRelPathsDuringSaveAs = 1;
    IntT xformAllowDblClickEdits = 1;
    IntT xformRecognizeParamsInExpressions = 0;
    IntT xformRecognizeParamsInLiterals = 0;
    IntT xformRecognizeParamsInPaths = 0;
    std::vector<std::string> nwScriptLaunchShortcuts;  // "script name~~~~shortcut" entries
    IntT nwAllowScriptAutorunning = 0;
    IntT nwAttrActionsCopyEmptyString = 0;
    IntT nwFocusOnDocAfterMatch = 1;
    IntT nwMaxErrorsToReport = 25;
    IntT nwDisplayFullFilePaths = 1;
    IntT nwLoadXPathFavoritesOnStartup = 1;
    IntT nwRefreshLattiformAttrEditor = 1;
    // Prompt settings (PromptSetting).
    IntT promptNWPerformAllActionsWarning = kPromptAlways;
    IntT promptNWMatchAllStatsMsg = kPromptAlways;
    IntT promptNWOverrideAllFlowsSettingWarning = kPromptAlways;
    IntT promptXformSourceFileWarning = kPromptAlways;
    IntT promptXformCreateXRefWarning = kPromptAlways;
    IntT promptXformUnsavedChangesWarning = kPromptAlways;
    IntT promptNWScriptGeneralMsgs = kPromptAlways;
    std::string strNWSPromptUserCancel = "USER_CANCELED";
    std::string strEOGetUndefinedParm = "PARAMETER_NOT_DEFINED";
    std::string startupLanguage = "English";  // "DEFAULT" already replaced by the host's language
    IntT menuLocation = kMenuMain;
    std::string notepadExePath = "C:\\Windows\\NOTEPAD.EXE";
    std::string debugModeText = "OFF";
    IntT totalXPathMemory = 500;
    IntT maxXPathMatches = 1000;
    IntT maxXPathLength = 2000;
    IntT maxXPathTextCharsForQuery = 255;
};

extern GeneralPreferencesT GeneralPreferences;

// The node limit the XPath engine gets for a TOTAL_XPATH_MEMORY value: whole 350s, times 1000.
inline IntT qv_NodeLimitOfMemory(IntT totalMemory) { return (totalMemory / 350) * 1000; }
