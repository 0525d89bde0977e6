// The general preferences file: key=value lines read into GeneralPreferences, checked against
// their defaults and bounds, and handed on to PluginGlobals and the XPath engine.
#include "plugin/preferences.h"

#include <string>
#include <vector>

#include "lib/dialogs/msgbox.h"
#include "lib/globals.h"
#include "lib/host/hostui.h"
#include "lib/host/paths.h"
#include "lib/host/textfiles.h"
#include "lib/host/system_services.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/scripts.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/keyvalue.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "xpath/xpath.h"

namespace {

constexpr const char *kDebugAccessCode = "MarlonVestry";

// The key readers over one set of lines (case-insensitive keys unless asked otherwise).
class Reader {
public:
    explicit Reader(const std::vector<std::string> &lines) : lines_(qv::NewStrings(lines)) {}
    ~Reader() { F_ApiDeallocateStrings(&lines_); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    IntT Bool(const char *key, IntT def) { return om_IniGetBool(&lines_, key, 0, "=", def); }
    // A value that is not an integer keeps the default (every default lies within its bounds).
    IntT Int(const char *key, IntT def, IntT min, IntT max) {
        StringT v = om_IniGetString(&lines_, key, 0, "=", 1, "");
        bool integer = om_StrIsInteger(v) != 0;
        F_ApiDeallocateString(&v);
        return integer ? om_IniGetInt(&lines_, key, 0, "=", def, min, max) : def;
    }
    IntT Prompt(const char *key, IntT def) { return om_IniGetTriState(&lines_, key, 0, "=", def); }
    std::string String(const char *key, const char *def, IntT caseFlag = 0, IntT trim = 1) {
        StringT v = om_IniGetString(&lines_, key, caseFlag, "=", trim, def);
        std::string out(qv::View(v));
        F_ApiDeallocateString(&v);
        return out.empty() ? std::string(def) : out;
    }
    std::vector<std::string> List(const char *key) {
        F_StringsT list = om_IniGetList(&lines_, key, 0, "=", "", 1, "");
        std::vector<std::string> out = qv::ReadStrings(&list);
        F_ApiDeallocateStrings(&list);
        return out;
    }

private:
    F_StringsT lines_;
};

bool SameCI(const std::string &a, const char *b) { return qv::FoldCase(a) == qv::FoldCase(b); }

}  // namespace

void qv_PrefStoreFromLines(const std::vector<std::string> &given) {
    std::vector<std::string> lines = given;
    if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].erase(0, 3);
    Reader r(lines);
    GeneralPreferencesT p;
    p.xformDisableScreenUpdates = r.Bool("XFORM_DISABLE_SCREEN_UPDATES", 1);
    p.xformCloseOpenedFiles = r.Bool("XFORM_CLOSE_OPENED_FILES", 1);
    p.xformFilenameAddendum = r.String("XFORM_FILENAME_ADDENDUM", " (TRANSFORMED)", 0, 0);
    p.xformPreferRelPathsInDialogs = r.Bool("XFORM_PREFER_REL_PATHS_IN_DIALOGS", 1);
    p.xformAdjustRelPathsDuringSaveAs = r.Bool("XFORM_ADJUST_REL_PATHS_DURING_SAVE_AS", 1);
    p.xformAllowDblClickEdits = r.Bool("XFORM_ALLOW_DBL_CLICK_EDITS", 1);
    p.xformRecognizeParamsInExpressions = r.Bool("XFORM_RECOGNIZE_PARAMS_IN_EXPRESSIONS", 0);
    p.xformRecognizeParamsInLiterals = r.Bool("XFORM_RECOGNIZE_PARAMS_IN_LITERALS", 0);
    p.xformRecognizeParamsInPaths = r.Bool("XFORM_RECOGNIZE_PARAMS_IN_PATHS", 0);
    p.nwScriptLaunchShortcuts = r.List("NW_SCRIPT_LAUNCH_SHORTCUTS");
    p.nwAllowScriptAutorunning = r.Bool("NW_ALLOW_SCRIPT_AUTORUNNING", 0);
    p.nwAttrActionsCopyEmptyString = r.Bool("NW_ATTR_ACTIONS_COPY_EMPTY_STRING", 0);
    p.nwFocusOnDocAfterMatch = r.Bool("NW_FOCUS_ON_DOC_AFTER_MATCH", 1);
    p.nwMaxErrorsToReport = r.Int("NW_MAX_ERRORS_TO_REPORT", 25, 1, 1000);
    p.nwDisplayFullFilePaths = r.Bool("NW_DISPLAY_FULL_FILE_PATHS", 1);
    p.nwLoadXPathFavoritesOnStartup = r.Bool("NW_LOAD_XPATH_FAVORITES_ON_STARTUP", 1);
    p.nwRefreshLattiformAttrEditor = r.Bool("NW_REFRESH_OM_LATTIFORM_ATTR_EDITOR", 1);
    p.promptNWPerformAllActionsWarning = r.Prompt("PROMPT_NW_PERFORM_ALL_ACTIONS_WARNING", kPromptAlways);
    p.promptNWMatchAllStatsMsg = r.Prompt("PROMPT_NW_MATCH_ALL_STATS_MSG", kPromptAlways);
    p.promptNWOverrideAllFlowsSettingWarning = r.Prompt("PROMPT_NW_OVERRIDE_ALL_FLOWS_SETTING_WARNING", kPromptAlways);
    p.promptXformSourceFileWarning = r.Prompt("PROMPT_XFORM_SOURCE_FILE_WARNING", kPromptAlways);
    p.promptXformCreateXRefWarning = r.Prompt("PROMPT_XFORM_CREATE_XREF_WARNING", kPromptAlways);
    p.promptXformUnsavedChangesWarning = r.Prompt("PROMPT_XFORM_UNSAVED_CHANGES_WARNING", kPromptAlways);
    p.promptNWScriptGeneralMsgs = r.Prompt("PROMPT_NW_SCRIPT_GENERAL_MSGS", kPromptAlways);
    p.strNWSPromptUserCancel = r.String("STR_NWS_PROMPT_USER_CANCEL", "USER_CANCELED", 1);
    p.strEOGetUndefinedParm = r.String("STR_EO_GET_UNDEFINED_PARM", "PARAMETER_NOT_DEFINED", 1);
    p.startupLanguage = r.String("STARTUP_LANGUAGE", "English");
    if (SameCI(p.startupLanguage, "DEFAULT")) {
        StringT host = om_SessionLanguageName();
        p.startupLanguage = qv::View(host).empty() ? std::string("English") : std::string(host);
        F_ApiDeallocateString(&host);
    }
    std::string location = r.String("QVRN_MENU_LOCATION", "MAIN");
    p.menuLocation = SameCI(location, "NONE") ? kMenuNone : SameCI(location, "ORLEMEADOW") ? kMenuMaker : kMenuMain;
    p.notepadExePath = r.String("NOTEPAD_EXE_PATH", "C:\\Windows\\NOTEPAD.EXE");
    p.debugModeText = r.String("QVRN_DEBUG_MODE", "OFF");
    p.totalXPathMemory = r.Int("TOTAL_XPATH_MEMORY", 500, 350, 7000);
    p.maxXPathMatches = r.Int("MAX_XPATH_MATCHES", 1000, 1000, 50000);
    p.maxXPathLength = r.Int("MAX_XPATH_LENGTH", 2000, 500, 5000);
    p.maxXPathTextCharsForQuery = r.Int("MAX_XPATH_TEXT_CHARS_FOR_QUERY", 255, 255, 20000);
    GeneralPreferences = std::move(p);

    const GeneralPreferencesT &g = GeneralPreferences;
    PluginGlobals.currentLanguage = g.startupLanguage;
    PluginGlobals.menuLocation = g.menuLocation;
    PluginGlobals.debugMode = SameCI(g.debugModeText, kDebugAccessCode) ? 1 : 0;
    PluginGlobals.refreshLattiformEditor = g.nwRefreshLattiformAttrEditor;
    PluginGlobals.maxXPathLength = g.maxXPathLength;
    PluginGlobals.maxXPathTextChars = g.maxXPathTextCharsForQuery;
    NodeWizardOptions.maxErrors = g.nwMaxErrorsToReport;
    NodeWizardOptions.focusAfterMatch = g.nwFocusOnDocAfterMatch;
    NodeWizardOptions.fullFilePaths = g.nwDisplayFullFilePaths;
    NodeWizardOptions.loadFavoritesAtStart = g.nwLoadXPathFavoritesOnStartup;
    NodeWizardPrompts.performAllWarning = g.promptNWPerformAllActionsWarning;
    NodeWizardPrompts.matchAllStats = g.promptNWMatchAllStatsMsg;
    NodeWizardPrompts.overrideAllFlows = g.promptNWOverrideAllFlowsSettingWarning;
    NodeWizardPrompts.copyEmptyString = g.nwAttrActionsCopyEmptyString;
    NodeWizardPrompts.refreshAttrEditor = g.nwRefreshLattiformAttrEditor;
    om_XPathSetNodeLimit(qv_NodeLimitOfMemory(g.totalXPathMemory));
    om_XPathSetMaxMatches(g.maxXPathMatches);
    om_XPathSetMaxTextChars(g.maxXPathTextCharsForQuery);
}

IntT om_PrefReadGeneralPreferences(void) {
    const std::string &path = SettingsFiles.generalPreferences;
    F_StringsT read{0, nullptr};
    IntT ok = om_FileReadLines(path.c_str(), &read);
    std::vector<std::string> lines = qv::ReadStrings(&read);
    F_ApiDeallocateStrings(&read);
    IntT result = 1;
    if (!ok || lines.size() < 2) {
        if (om_LangIsReady()) {
            std::string text = qv::LangMessageFormatted("QVRN_GEN_MSG_9", {path});
            al_ok(text.c_str());
        } else {
            std::string text = qv::FormatMessage(
                "--Quorvane message--\n\nThe settings file path derived from the setting in your Quorvane.ini "
                "file:\n\n%s\n\n...appears to be invalid, or perhaps the file is empty. Without this file, the "
                "plugin may malfunction.",
                {path});
            F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
        }
        lines.clear();
        result = 0;
    }
    qv_PrefStoreFromLines(lines);
    return result;
}

void om_PrefOpenPreferencesFile(void) {
    const std::string &path = SettingsFiles.generalPreferences;
    std::string text = qv::LangMessageFormatted("QVRN_GEN_MSG_4", {path});
    al_ok(text.c_str());
    std::string failure = qv::LangMessage("QVRN_GEN_MSG_13");
    om_FileOpenInNotepad(GeneralPreferences.notepadExePath.c_str(), path.c_str(), failure.c_str());
}
