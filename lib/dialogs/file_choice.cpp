// The file and folder chooser (see file_choice.h).
#include "lib/dialogs/file_choice.h"

#include <string>

#include "lib/strings/heapstr.h"
#include "lib/translation/lang.h"

namespace {

// The file-system entry kind of a Windows-form path: 0x100 folder, 0x200 file, 0 none.
IntT PathKind(const std::string &path) {
    if (path.empty()) return 0;
    FilePathT *fp = F_PathNameToFilePath(path.c_str(), nullptr, FDefaultPath);
    if (!fp) return 0;
    IntT flags = F_FilePathProperty(fp, 0);
    F_FilePathFree(fp);
    return flags & (FF_FilePathDirectory | FF_FilePathFile);
}

}  // namespace

IntT om_FileChoose(IntT mode, ConStringT title, ConStringT startPath, ConStringT defaultName, StringT *out,
                   IntT trailingSeparator, ConStringT tableName) {
    std::string start(qv::View(startPath));
    if (PathKind(start) == FF_FilePathFile) {
        size_t cut = start.find_last_of('\\');
        start = cut == std::string::npos ? "" : start.substr(0, cut);
    }
    if (PathKind(start) != FF_FilePathDirectory) start.clear();
    std::string t(qv::View(title));
    if (!qv::View(tableName).empty()) t = qv::LangTranslate(tableName, t, false, 0);
    StringT choice = nullptr;
    IntT rc = F_ApiChooseFileExtended(&choice, t.c_str(), start.c_str(), qv::View(defaultName).data(), mode, "", "");
    std::string chosen(qv::View(choice));
    F_ApiDeallocateString(&choice);
    if (rc != 0) {
        if (out) qv::StoreString(out, "");
        return 0;
    }
    if (trailingSeparator && (chosen.empty() || chosen.back() != '\\')) chosen += '\\';
    if (out) qv::StoreString(out, chosen);
    return 1;
}
