// Host commands: a command defined with its shortcut in the label, function codes run, and the
// report listing the session's commands.
#include "lib/host/commands.h"

#include <string>

#include "lib/host/host_values.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr int kStepLimit = 100000;

}  // namespace

F_ObjHandleT om_CmdDefine(IntT command, F_ObjHandleT menu, ConStringT name, ConStringT label, ConStringT shortcut) {
    std::string l(qv::View(label)), s(qv::View(shortcut)), keys;
    if (!om_StrIsEmpty(shortcut)) {
        if (s.rfind("\\!", 0) == 0) {
            keys = s.substr(2);
            l += " (Esc ";
        } else if (s[0] == '~' || s[0] == '^' || s[0] == '+') {
            s = s.substr(0, 2);
            keys = s.substr(1);
            l += s[0] == '~' ? " (Alt+" : s[0] == '^' ? " (Ctrl+" : " (Shift+";
        } else {
            s.clear();
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i) l += ' ';
            l += keys[i];
        }
        if (!keys.empty()) l += ')';
    }
    StringT views[2] = {const_cast<char *>("WYSIWYG View"), const_cast<char *>("Author View")};
    F_StringsT viewList{2, views};
    if (menu) return F_ApiDefineAndAddCommandWithViews(command, menu, name, l.c_str(), s.c_str(), &viewList);
    return F_ApiDefineCommandWithViews(command, name, l.c_str(), s.c_str(), &viewList);
}

IntT om_RunFcode(IntT fcode) {
    IntT codes[1] = {fcode};
    F_IntsT list{1, codes};
    return F_ApiFcodes(&list);
}

void om_DocListCommandsReport(void) {
    F_ObjHandleT doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) return;
    F_ObjHandleT pgf = om_FlowLastPgf(doc, "", 1);
    pgf = om_PgfInsertNew(doc, pgf, "Body", "", 2);
    int n = 0;
    for (F_ObjHandleT c = F_ApiGetId(0, 0, FP_FirstMenuItemInSession); c && n < kStepLimit; c = F_ApiGetId(0, c, FP_NextMenuItemInSession), ++n) {
        if (F_OBJ_KIND(c) != FO_Command) continue;
        IntT number = F_ApiGetInt(0, c, FP_CommandNum);
        if (number < 0) continue;
        std::string line = std::to_string(number) + ":  " + HostGetString(0, c, FP_Label);
        F_ObjHandleT next = om_PgfInsertNew(doc, pgf, "Body", line.c_str(), 2);
        if (next) pgf = next;
    }
}
