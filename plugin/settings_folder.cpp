// The settings folder set-up at start-up. Copies count as done only when the copy itself
// succeeded; the user's scripts document is overwritten only once its backup exists; the
// settings version is written only when everything before it succeeded, so that a failed
// upgrade is offered again at the next start.
#include "plugin/settings_folder.h"

#include <string>
#include <vector>

#include "lib/host/settings_paths.h"
#include "lib/host/paths.h"
#include "lib/host/folders.h"
#include "lib/host/textfiles.h"
#include "lib/host/hostui.h"
#include "lib/host/system_services.h"
#include "lib/shell_records.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/keyvalue.h"
#include "lib/strings/listconv.h"
#include "lib/strings/lists.h"
#include "lib/translation/msgformat.h"

namespace {

std::string Take(StringT s) {
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

bool Exists(const std::string &path) { return om_FileExists(path.c_str()) != 0; }

std::vector<std::string> ReadLines(const std::string &path) {
    F_StringsT read{0, nullptr};
    om_FileReadLines(path.c_str(), &read);
    std::vector<std::string> lines = qv::ReadStrings(&read);
    F_ApiDeallocateStrings(&read);
    return lines;
}

void Alert(const char *text, std::initializer_list<qv::MsgArg> args, IntT type = FF_ALERT_CONTINUE_WARN) {
    std::string message = qv::FormatMessage(text, args);
    F_ApiAlert(message.c_str(), type);
}

// True when the user answers Yes to a question; an alert that could not be shown is a No.
bool AskYes(const std::string &text) {
    FA_errno = 0;
    IntT answer = F_ApiAlert(text.c_str(), FF_ALERT_YES_DEFAULT);
    return answer == 0 && FA_errno == 0;
}

// Copies a file; true only when the copy succeeded and the target is there.
bool Copy(const std::string &from, const std::string &to) {
    return om_FileCopyByShell(from.c_str(), to.c_str()) == 0 && Exists(to);
}

void CopyAlert(const std::string &from, const std::string &to) {
    Alert("--Quorvane message--\n\nA critical error occurred while copying this file:\n\n%s\n\n...to your settings "
          "directory:\n\n%s\n\nThe plugin may malfunction.",
          {from, to});
}

// Makes a folder with the host's file-path call, then with the platform layer; true when it exists.
bool MakeFolder(const std::string &folder) {
    if (om_DirExists(folder.c_str())) return true;
    if (FilePathT *fp = F_PathNameToFilePath(folder.c_str(), nullptr, FDefaultPath)) {
        F_FilePathMakeDir(fp, 0755);
        F_FilePathFree(fp);
    }
    if (!om_DirExists(folder.c_str())) om_DirCreateByShell(folder.c_str());
    return om_DirExists(folder.c_str()) != 0;
}

// The settings version stored in the folder; 0.0 when the file has fewer than two lines.
void ReadStoredVersion(const std::string &path, IntT *major, IntT *minor) {
    std::vector<std::string> lines = ReadLines(path);
    *major = *minor = 0;
    if (lines.size() < 2) return;
    *major = F_StrAlphaToInt(std::string(qv::TrimBlanks(lines[0])).c_str());
    *minor = F_StrAlphaToInt(std::string(qv::TrimBlanks(lines[1])).c_str());
}

bool WriteVersion(const std::string &path) {
    std::vector<std::string> lines{std::to_string(PluginGlobals.versionMajor),
                                   std::to_string(PluginGlobals.versionMinor), "  ",
                                   "**WARNING! Do not modify this file!"};
    F_StringsT list = qv::NewStrings(lines);
    IntT ok = om_FileWriteLinesPlain(path.c_str(), &list);
    F_ApiDeallocateStrings(&list);
    return ok != 0;
}

// The preferences path SETTINGS_FILE_PATH names, resolved against "Quorvane.ini" and the
// folder; the plug-in folder's default file when it names nothing that exists.
std::string ResolvePreferences(const std::string &value, const std::string &iniPath, const std::string &folder) {
    std::string resolved = value.empty() ? "" : Take(om_PathResolve(value.c_str(), iniPath.c_str(), folder.c_str()));
    return resolved.empty() ? SettingsFiles.pluginFolder + kPreferencesFileName : resolved;
}

// Copies a default file of the plug-in's folder into the settings folder when the target is
// missing or the upgrade overwrites it; false (told) when the copy failed.
bool CopyDefault(const std::string &source, const std::string &target, bool overwrite) {
    if (Exists(target) && !overwrite) return true;
    if (Copy(source, target)) return true;
    CopyAlert(source, target);
    return false;
}

}  // namespace

IntT om_PrefSetUpSettingsFolder(void) {
    IntT result = 1;
    SettingsFilesT &f = SettingsFiles;
    f = SettingsFilesT{};
    f.pluginFolder = WithSeparator(Take(F_ApiClientDir()));
    f.settingsFolder = f.pluginFolder;
    f.generalPreferences = f.pluginFolder + kPreferencesFileName;
    f.condSettings = f.pluginFolder + kCondSettingsFileName;
    f.reportTemplate = f.pluginFolder + kReportTemplateFileName;
    SettingsFiles.defaultScriptsDoc = f.pluginFolder + kScriptsDocFileName;
    SettingsFiles.currentScriptsDoc = SettingsFiles.defaultScriptsDoc;
    f.xpathFavorites = f.pluginFolder + kXPathFavoritesFile;
    f.scriptsDocFavorites = f.pluginFolder + kScriptsDocFavoritesFileName;
    PluginGlobals.settingsLocation = 2;

    const std::string iniPath = f.pluginFolder + kIniFileName;
    std::string location, preferencesValue;
    if (Exists(iniPath)) {
        F_StringsT lines = qv::NewStrings(ReadLines(iniPath));
        om_StringsTrim(&lines);
        location = Take(om_IniGetString(&lines, "SETTINGS_LOCATION", 0, "=", 1, ""));
        preferencesValue = Take(om_IniGetString(&lines, "SETTINGS_FILE_PATH", 0, "=", 1, ""));
        F_ApiDeallocateStrings(&lines);
    }

    if (qv::FoldCase(location).rfind("in", 0) == 0) {
        PluginGlobals.settingsLocation = 1;
        f.generalPreferences = ResolvePreferences(preferencesValue, iniPath, "");
    } else {
        f.settingsFolder = Take(om_PathSettingsFolder("", "Quorvane", 1));
        const std::string makerFolder = Take(om_PathSettingsFolder("", "", 0));
        if (!om_DirExists(f.settingsFolder.c_str())) {
            MakeFolder(makerFolder);
            if (!MakeFolder(f.settingsFolder)) {
                Alert("--Quorvane message--The Quorvane plugin was unable to create the following directory in which "
                      "to store your settings:\n\n%s\n\n The plugin is unable to initialize.\n\nYou may need to "
                      "create this folder manually, after which the plugin should be able to initialize. You can "
                      "find more information in the installation document.\n\nThis may be an installation "
                      "configuration issue... please contact a system admin or Orle Meadow for more information.",
                      {f.settingsFolder});
                return 0;
            }
        }
        const std::string versionPath = f.settingsFolder + kVersionFileName;
        IntT storedMajor = 0, storedMinor = 0;
        ReadStoredVersion(versionPath, &storedMajor, &storedMinor);
        bool overwrite = false;
        if (storedMajor < PluginGlobals.compatibleMajor ||
            (storedMajor == PluginGlobals.compatibleMajor && storedMinor < PluginGlobals.compatibleMinor)) {
            std::string notice = qv::FormatMessage(
                "Quorvane initialization notice!\n\nYou are initializing a new version of Quorvane, version %d.%d. If "
                "you are a new user, you can safely click 'Yes' to continue.  \n\nIf you are an existing user, note "
                "that this version requires updated support files. During this initialization, Quorvane may "
                "overwrite your current preferences and default Node Wizard Scripts file with defaults from the "
                "installation package. If the scripts file is overwritten, a backup will be made first.   \n\nIf you "
                "would like to stop the initialization of Quorvane, click 'No'. If you have not read the release "
                "notes, particularly the instructions concerning support files, you should consider canceling this "
                "operation and reading them before continuing. You can find the release notes in the 'Doc' "
                "subfolder in the installation area.  \n\nDo you want to continue with the initialization of "
                "Quorvane?",
                {static_cast<long long>(PluginGlobals.versionMajor), static_cast<long long>(PluginGlobals.versionMinor)});
            if (!AskYes(notice)) return 0;
            overwrite = true;
        }

        // The general preferences: a file in the plug-in's folder is used through its copy.
        std::string preferences = ResolvePreferences(preferencesValue, iniPath, f.settingsFolder);
        std::string preferencesFolder = Take(om_PathDirectory(0, preferences.c_str(), 0));
        if (qv::FoldCase(WithSeparator(preferencesFolder)) == qv::FoldCase(f.pluginFolder)) {
            std::string target = f.settingsFolder + Take(om_PathFileName(0, preferences.c_str()));
            if (!CopyDefault(preferences, target, overwrite)) result = 0;
            preferences = target;
        }
        f.generalPreferences = preferences;

        std::string condTarget = f.settingsFolder + kCondSettingsFileName;
        if (!CopyDefault(f.pluginFolder + kCondSettingsFileName, condTarget, overwrite)) result = 0;
        f.condSettings = condTarget;

        // The scripts document: the user's own is backed up before an upgrade replaces it, and
        // kept as it is when the backup cannot be made.
        std::string scriptsTarget = f.settingsFolder + kScriptsDocFileName;
        bool replaceScripts = overwrite;
        bool backupFailed = false;
        if (Exists(scriptsTarget) && overwrite) {
            std::string backup =
                f.settingsFolder + qv::FormatMessage("Quorvane_Node_Wizard_Scripts__pre_v%d.%d_backup.fm",
                                                     {static_cast<long long>(PluginGlobals.versionMajor),
                                                      static_cast<long long>(PluginGlobals.versionMinor)});
            std::string question = qv::FormatMessage(
                "Quorvane initialization warning! \n\nAs a part of the initialization process for this version, "
                "Quorvane is overwriting an existing Node Wizard Scripts file at: \n\n%s\n\nA backup of the existing "
                "file will be made at:\n\n%s\n\nAre you sure you want to continue the initialization process?",
                {scriptsTarget, backup});
            if (!AskYes(question)) return 0;
            if (!Copy(scriptsTarget, backup)) {
                Alert("--Quorvane message--\n\nA critical error occurred while attempting to create the "
                      "backup:\n\n%s\n\nData may have been lost.",
                      {backup});
                replaceScripts = false;
                backupFailed = true;
            }
        }
        if (!CopyDefault(f.pluginFolder + kScriptsDocFileName, scriptsTarget, replaceScripts)) result = 0;
        SettingsFiles.defaultScriptsDoc = SettingsFiles.currentScriptsDoc = scriptsTarget;

        std::string favoritesTarget = f.settingsFolder + kXPathFavoritesFile;
        if (!Exists(favoritesTarget) && !Copy(f.pluginFolder + kXPathFavoritesFile, favoritesTarget)) {
            F_StringsT none = qv::NewStrings({});
            om_FileWriteLines(favoritesTarget.c_str(), &none);
            F_ApiDeallocateStrings(&none);
        }
        f.xpathFavorites = favoritesTarget;

        std::string docFavoritesTarget = f.settingsFolder + kScriptsDocFavoritesFileName;
        if (!Exists(docFavoritesTarget)) Copy(f.pluginFolder + kScriptsDocFavoritesFileName, docFavoritesTarget);
        f.scriptsDocFavorites = docFavoritesTarget;

        bool current = storedMajor == PluginGlobals.versionMajor && storedMinor == PluginGlobals.versionMinor;
        if (!current && result == 1 && !backupFailed) WriteVersion(versionPath);
    }

    if (!Exists(f.generalPreferences))
        Alert("--Quorvane message--\n\nThe settings file path derived from the setting in your Quorvane.ini "
              "file:\n\n%s\n\n...appears to be invalid. Without this file, the plugin may malfunction.",
              {f.generalPreferences});
    for (std::string *path : {&SettingsFiles.defaultScriptsDoc, &SettingsFiles.currentScriptsDoc}) {
        StringT p = qv::NewHeapString(*path);
        om_PathNormalize(&p, 1, 0);
        *path = Take(p);
    }
    return result;
}
