// The host's version text, the per-user settings folder path built from it, and the
// structure-applications documents of the host's folder and of the user's folder.
#include "lib/host/settings_paths.h"

#include <string>

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/host_values.h"
#include "lib/host/paths.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"

StringT om_HostVersionText(IntT withMinor) {
    IntT major = F_ApiGetInt(0, 0, FP_VersionMajor), minor = F_ApiGetInt(0, 0, FP_VersionMinor);
    std::string text = std::to_string(major);
    if (withMinor) text += "." + std::to_string(minor);
    return qv::NewHeapString(text);
}

StringT om_PathSettingsFolder(ConStringT variable, ConStringT subFolder, IntT trailing) {
    std::string var = qv::View(variable).empty() ? "APPDATA" : std::string(variable);
    StringT env = om_EnvGet(var.c_str());  // %APPDATA% always has a value
    std::string value(qv::View(env));
    F_ApiDeallocateString(&env);
    if (value.empty()) return qv::NewHeapString("error");
    StringT version = om_HostVersionText(F_ApiGetInt(0, 0, FP_VersionMinor) != 0);
    std::string path = value + "\\Adobe\\FrameMaker\\" + qv::View(version).data() + "\\OrleMeadow";
    F_ApiDeallocateString(&version);
    if (!qv::View(subFolder).empty()) path += std::string("\\") + subFolder;
    if (trailing) path += "\\";
    return qv::NewHeapString(path);
}

F_ObjHandleT om_StructAppsDoc(IntT where, IntT open, IntT option) {
    std::string path;
    if (where == 1) {
        path = HostGetString(0, 0, FP_HostDir) + "\\Structure\\structapps.fm";
    } else if (where == 2) {
        // The user's folder: the settings folder without the maker's folder name (its last 10 bytes).
        StringT folder = om_PathSettingsFolder("", "", 0);
        std::string settings(qv::View(folder));
        F_ApiDeallocateString(&folder);
        if (settings == "error" || settings.size() < 10) return 0;
        path = settings.substr(0, settings.size() - 10);
        if (!path.empty() && path.back() == '\\') path.pop_back();
        path += "\\structapps.fm";
    } else {
        return 0;
    }
    StringT p = qv::NewHeapString(path);
    om_PathNormalize(&p, 0, 0);
    path = std::string(qv::View(p));
    F_ApiDeallocateString(&p);
    F_ObjHandleT doc = om_DocFindOpen(path, 0, 0);
    if (!doc && open) doc = om_DocOpenHiddenFlag(path.c_str(), option == 1);
    return doc;
}
