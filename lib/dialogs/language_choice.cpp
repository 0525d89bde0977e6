// The Select Language dialog (see language_choice.h).
#include "lib/dialogs/language_choice.h"

#include <string>
#include <vector>

#include "lib/dialogs/generic.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "lib/translation/langfiles.h"

namespace {

// The given language, or with ask the one chosen in the dialog.
std::string AskedLanguage(IntT ask, ConStringT language) {
    if (!ask) return std::string(qv::View(language));
    StringT chosen = om_LangChooseLanguage(1);
    std::string lang(qv::View(chosen));
    F_ApiDeallocateString(&chosen);
    return lang;
}

}  // namespace

StringT om_LangChooseLanguage(IntT offerEnglish) {
    if (!om_LangIsReady()) return qv::NewHeapString("");
    F_StringsT list = om_LangListLanguages();
    if (offerEnglish) {
        std::vector<std::string> v = qv::ReadStrings(&list);
        v.insert(v.begin(), "English");
        qv::StoreStrings(&list, v);
    }
    IntT ok = om_DlgRunDDown(kDlgDropDown, "Select Language", "Current language:", qv::LangCurrentLanguage().c_str(),
                             &list, 1, "", 0);
    F_ApiDeallocateStrings(&list);
    return ok == 1 ? om_DlgGetResultText(0) : qv::NewHeapString("");
}

F_ObjHandleT om_LangOpenFiles(IntT ask, ConStringT language, IntT kind, IntT open, IntT invisible, IntT report) {
    if (!om_LangIsReady()) return 0;
    return qv::LangOpenFiles(AskedLanguage(ask, language), kind, open, invisible, report);
}

StringT om_LangSwitch(IntT ask, ConStringT language, IntT report, IntT menus) {
    if (!om_LangIsReady()) return qv::NewHeapString("");
    return qv::LangSwitchTo(AskedLanguage(ask, language), report, menus);
}
