// The XPath history of the Node Wizard dialogs and the favorites file behind their Add, Get and
// Manage buttons.
#include "nodewizard/history.h"

#include <algorithm>

#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/generic.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/paths.h"
#include "lib/host/textfiles.h"
#include "lib/shell_records.h"
#include "lib/state/settings_files.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "resources/dialog_items.h"

namespace {

std::vector<std::string> ReadFavorites() {
    F_StringsT lines{};
    om_FileReadLines(SettingsFiles.xpathFavorites.c_str(), &lines);
    std::vector<std::string> out = qv::ReadStrings(&lines);
    F_ApiDeallocateStrings(&lines);
    return out;
}

void WriteFavorites(const std::vector<std::string> &lines) {
    F_StringsT list = qv::NewStrings(lines);
    om_FileWriteLines(SettingsFiles.xpathFavorites.c_str(), &list);
    F_ApiDeallocateStrings(&list);
}

}  // namespace

void om_NWAddToHistory(ConStringT expression) {
    std::string e(qv::View(expression));
    if (XPathHistory.size() == kXPathHistoryLength) XPathHistory.pop_back();
    XPathHistory.erase(std::remove(XPathHistory.begin(), XPathHistory.end(), e), XPathHistory.end());
    XPathHistory.insert(XPathHistory.begin(), e);
}

void om_NWAddFavorite(ConStringT text) {
    std::string favorite(qv::View(text));
    if (favorite.empty()) {
        if (F_ObjHandleT qf = DialogHandles[kDlgQuickFinder])
            favorite = qv::DlgText(qf, QFItem::Expression);
        else if (F_ObjHandleT nw = DialogHandles[kDlgNodeWizard])
            favorite = qv::DlgText(nw, NWItem::Expression);
    }
    if (favorite.empty()) return;
    std::vector<std::string> lines = ReadFavorites();
    if (std::find(lines.begin(), lines.end(), favorite) != lines.end()) {
        al_ok2("NW_GEN_MSG_27");
        return;
    }
    lines.insert(lines.begin(), favorite);
    WriteFavorites(lines);
}

void om_NWLoadFavorites(IntT tell) {
    XPathHistory = ReadFavorites();
    if (tell) al_ok2("NW_GEN_MSG_28");
}

void om_NWManageFavorites() {
    F_StringsT lines = qv::NewStrings(ReadFavorites());
    om_DlgRunListEditor(kDlgListEditor, "XPath Favorites", &lines, -1, 2, 0, "Quorvane - Node Wizard");
    F_ApiDeallocateStrings(&lines);
    if (qv::DlgEditorOk() != 1) return;
    F_StringsT edited = om_DlgGetEditorList(0);
    WriteFavorites(qv::ReadStrings(&edited));
    F_ApiDeallocateStrings(&edited);
}
