// Host user-interface operations (see hostui.h).
#include "lib/host/hostui.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lib/host/commands.h"
#include "lib/host/paths.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr int kStepLimit = 100000;

void AddToMakerMenu(F_ObjHandleT item, const char *menuName, const char *parentName) {
    F_ObjHandleT menu = F_ApiGetNamedObject(0, FO_Menu, menuName);
    if (!menu) {
        F_ObjHandleT parent = F_ApiGetNamedObject(0, FO_Menu, parentName);
        if (parent) menu = F_ApiDefineAndAddMenu(parent, menuName, "Orle Meadow");
    }
    if (menu) F_ApiAddMenuToMenu(menu, item);
}

}  // namespace

void om_MenuCreateMakerMenus(F_ObjHandleT item, IntT docMenus, IntT bookMenus) {
    if (docMenus) {
        AddToMakerMenu(item, "!OrleMeadowDocMenu", "!MakerMainMenu");
        AddToMakerMenu(item, "!OrleMeadowDocViewOnlyMenu", "!ViewOnlyMainMenu");
    }
    if (bookMenus) {
        AddToMakerMenu(item, "!OrleMeadowBookMenu", "!BookMainMenu");
        AddToMakerMenu(item, "!OrleMeadowBookViewOnlyMenu", "!ViewOnlyBookMainMenu");
    }
}

StringT om_PathResolve(ConStringT path, ConStringT baseFile, ConStringT directory) {
    std::string given(qv::View(path));
    if (given.empty()) return qv::NewHeapString("");
    StringT candidate = qv::NewHeapString(given);
    om_PathNormalize(&candidate, 0, 0);
    if (om_FileExists(candidate)) return candidate;
    std::string dir(qv::View(directory));
    std::string joined = dir.empty() || dir.back() == '\\' ? dir + given : dir + "\\" + given;
    if (om_FileExists(joined.c_str())) {
        F_ApiDeallocateString(&candidate);
        return qv::NewHeapString(joined);
    }
    om_PathMakeAbsolute(given.c_str(), 0, baseFile, &candidate, 1);
    if (candidate && om_FileExists(candidate)) return candidate;
    F_ApiDeallocateString(&candidate);
    return qv::NewHeapString("");
}

F_ObjHandleT om_TableEnclosing(F_ObjHandleT doc, F_ObjHandleT obj, IntT kind) {
    if (!doc || !obj) return 0;
    if (F_OBJ_KIND(obj) == FO_Element) {
        IntT want = kind == FO_Cell ? FV_FO_TBL_CELL : kind == FO_Row ? FV_FO_TBL_ROW : FV_FO_TBL;
        F_ObjHandleT e = obj;
        for (int n = 0; e && n < kStepLimit; ++n, e = F_ApiGetId(doc, e, FP_ParentElement))
            if (F_ApiGetInt(doc, e, FP_ElementType) == want) return F_ApiGetId(doc, e, FP_Object);
        return 0;
    }
    if (F_OBJ_KIND(obj) != FO_Pgf) return 0;
    F_ObjHandleT cell = F_ApiGetId(doc, obj, FP_InCell);
    if (!cell || kind == FO_Cell) return cell;
    F_ObjHandleT row = F_ApiGetId(doc, cell, FP_CellRow);
    if (!row || kind == FO_Row) return row;
    return F_ApiGetId(doc, row, FP_RowTbl);
}

StringT om_SessionLanguageName(void) {
    static const char *const names[] = {
        "English",     "British",  "German",     "Swiss German",        "French",  "Canadian French", "Spanish",
        "Catalan",     "Italian",  "Portuguese", "Brazilian",           "Danish",  "Dutch",           "Norwegian",
        "Nynorsk",     "Finnish",  "Swedish",    "Japanese",            "Traditional Chinese",
        "Simplified Chinese",      "Korean",     "New German",          "New Swiss German", "New Dutch", "Greek",
        "Russian",     "Czech",    "Polish",     "Hungarian",           "Turkish", "Slovak",          "Slovenian",
        "Bulgarian",   "Croatian", "Estonian",   "Latvian",             "Lithuanian", "Romanian"};
    IntT lang = F_ApiGetInt(0, 0, FP_Language);
    return qv::NewHeapString(lang >= 1 && lang <= 38 ? names[lang - 1] : "English");
}

void om_SessionSetSwitches(IntT a, IntT b, IntT c) {
    const IntT props[3] = {FP_DisplayUpdates, FP_Displaying, FP_DisplayRedraw};
    const IntT values[3] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        if (values[i] >= 0 && F_ApiGetInt(0, 0, props[i]) != values[i]) F_ApiSetInt(0, 0, props[i], values[i]);
}

IntT om_DocSetViewMode(F_ObjHandleT doc, IntT mode) {
    if (!doc || F_ApiGetObjectType(0, doc) == 0) return 0;
    IntT current = F_ApiGetInt(0, doc, FP_ViewMode);
    if (mode != 0 && current == mode) return current;
    IntT effective = mode == 0 ? current : mode;
    return om_RunFcode(effective == 1 ? FV_FC_VIEW_MODE_1 : FV_FC_VIEW_MODE_OTHER);
}

void om_WindowShift(F_ObjHandleT objId, IntT delta, IntT shrink) {
    for (IntT p : {FP_ScreenX, FP_ScreenY, FP_ScreenW}) F_ApiSetInt(0, objId, p, F_ApiGetInt(0, objId, p) + delta);
    if (shrink == 1) F_ApiSetInt(0, objId, FP_ScreenH, F_ApiGetInt(0, objId, FP_ScreenH) - delta);
}

RealT om_RoundToDigit(RealT value, IntT p) {
    if (value == 0 || p == 0) return value;
    double v = value + (p > 0 ? 5 * std::pow(10.0, p - 1) : 5 * std::pow(10.0, p));
    double scale = p > 0 ? std::pow(10.0, p) : p < -1 ? std::pow(10.0, -p - 1) : 1.0;
    v = p > 0 ? v / scale : v * scale;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%f", v);
    std::string s(buf);
    size_t dot = s.find('.');
    if (dot != std::string::npos) s.resize(dot);
    double whole = std::strtod(s.c_str(), nullptr);
    return p > 0 ? whole * scale : whole / scale;
}

IntT om_RoundToInt(RealT value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%f", om_RoundToDigit(value, -1));
    return static_cast<IntT>(std::strtol(buf, nullptr, 10));
}

IntT om_PgfToggleChangeBar(F_ObjHandleT doc, F_ObjHandleT obj) {
    if (!doc) return -1;
    F_ObjHandleT pgf = obj;
    if (F_OBJ_KIND(obj) == FO_Element) pgf = F_ApiGetTextRange(doc, obj, FP_TextRange).beg.objId;
    if (F_OBJ_KIND(pgf) != FO_Pgf) return -1;
    IntT state = F_ApiGetInt(doc, pgf, FP_ChangeBar) ? 0 : 1;
    F_ApiSetInt(doc, pgf, FP_ChangeBar, state);
    return state;
}
