// The session's menus, commands and separators: definition, placement, the session list,
// lookup by name, their properties, choosing a command, and the host function codes.
#include "menus.h"

#include <unordered_map>

#include "client.h"
#include "model.h"
#include "records.h"

namespace host {
namespace {

struct MenuObject {
    F_ObjHandleT id = 0;
    std::string name, label;
    Client *owner = nullptr;        // commands: the client whose F_ApiCommand runs
    IntT number = 0;                // commands
    std::string shortcut;           // commands
    std::vector<std::string> views; // commands
    std::vector<F_ObjHandleT> items; // menus, in order
};

struct MenuStore {
    std::unordered_map<F_ObjHandleT, MenuObject> objects;
    std::unordered_map<std::string, F_ObjHandleT> byName;
    std::vector<F_ObjHandleT> sessionList;                 // definition order
    std::unordered_map<F_ObjHandleT, F_ObjHandleT> nextInList;
    bool registered = false;
};

MenuStore &Menus() {
    static MenuStore store;
    return store;
}

const char *const kHostMenus[][2] = {
    {"!MakerMainMenu", "Main Menu"},
    {"!ViewOnlyMainMenu", "View-Only Main Menu"},
    {"!BookMainMenu", "Book Main Menu"},
    {"!ViewOnlyBookMainMenu", "View-Only Book Main Menu"},
};

MenuObject *Find(F_ObjHandleT id, int kind) {
    auto it = Menus().objects.find(id);
    if (it == Menus().objects.end() || KindOf(id) != kind) return nullptr;
    return &it->second;
}

F_ObjHandleT FindNamed(int kind, const std::string &name) {
    auto it = Menus().byName.find(name);
    return (it != Menus().byName.end() && KindOf(it->second) == kind) ? it->second : 0;
}

// A new object of the kind, or the existing one of that name and kind; 0 (FA_errno) for an
// empty name or a name taken by another kind.
MenuObject *DefineObject(int kind, ConStringT name, ConStringT label) {
    if (!name || !*name) {
        Fail(FE_BadName);
        return nullptr;
    }
    MenuStore &s = Menus();
    auto known = s.byName.find(name);
    if (known != s.byName.end()) {
        if (KindOf(known->second) != kind) {
            Fail(FE_Duplicate);
            return nullptr;
        }
        return &s.objects[known->second];
    }
    F_ObjHandleT id = NewObjectId(kind);
    if (!id) return nullptr;
    MenuObject &o = s.objects[id];
    o.id = id;
    o.name = name;
    o.label = label ? label : "";
    s.byName[o.name] = id;
    if (!s.sessionList.empty()) s.nextInList[s.sessionList.back()] = id;
    s.sessionList.push_back(id);
    return &o;
}

// DefineObject once the host menus exist.
MenuObject *Define(int kind, ConStringT name, ConStringT label) {
    EnsureHostMenus();
    return DefineObject(kind, name, label);
}

// True when `inner` is `outer` or placed somewhere inside it.
bool Contains(F_ObjHandleT outer, F_ObjHandleT inner) {
    std::vector<F_ObjHandleT> todo{outer};
    size_t steps = 0, limit = Menus().objects.size() + 1;
    while (!todo.empty() && steps++ <= limit) {
        F_ObjHandleT m = todo.back();
        todo.pop_back();
        if (m == inner) return true;
        if (MenuObject *o = Find(m, FO_Menu))
            for (F_ObjHandleT item : o->items)
                if (KindOf(item) == FO_Menu) todo.push_back(item);
    }
    return false;
}

// Places an item at the end of a menu; answers 0, or -1 with FA_errno.
IntT Place(F_ObjHandleT toMenuId, F_ObjHandleT itemId, bool commandsOnly) {
    EnsureHostMenus();
    MenuObject *menu = Find(toMenuId, FO_Menu);
    bool itemOk = commandsOnly ? Find(itemId, FO_Command) != nullptr
                               : (Find(itemId, FO_Menu) || Find(itemId, FO_MenuItemSeparator));
    if (!menu || !itemOk) {
        Fail(FE_BadObjId);
        return -1;
    }
    if (KindOf(itemId) == FO_Menu && Contains(itemId, toMenuId)) {
        Fail(FE_BadOperation);  // a menu inside itself
        return -1;
    }
    for (F_ObjHandleT present : menu->items)
        if (present == itemId) return 0;
    menu->items.push_back(itemId);
    return 0;
}

F_ObjHandleT DefineCommand(IntT cmd, ConStringT name, ConStringT label, ConStringT shortcut, const F_StringsT *views) {
    MenuObject *o = Define(FO_Command, name, label);
    if (!o) return 0;
    if (o->owner == nullptr && o->number == 0) {
        o->owner = CurrentClient();
        o->number = cmd;
        o->shortcut = shortcut ? shortcut : "";
        o->views = ReadStrings(views);
    }
    return o->id;
}

IntT RunCommand(const MenuObject &o) { return CallClientCommand(o.owner, o.number); }

void RegisterMenuKinds() {
    auto valid = [](int kind) {
        return [kind](F_ObjHandleT doc, F_ObjHandleT obj) { return doc == 0 && Find(obj, kind) != nullptr; };
    };
    auto object = [](F_ObjHandleT obj) { return &Menus().objects.at(obj); };
    for (int kind : {FO_Menu, FO_Command, FO_MenuItemSeparator}) {
        RegisterKind(kind, valid(kind));
        RegisterProperty(kind, FP_Name, PropType::String, [object](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            out.s = object(obj)->name;
            return true;
        });
        RegisterProperty(
            kind, FP_Label, PropType::String,
            [object](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
                out.s = object(obj)->label;
                return true;
            },
            [object](F_ObjHandleT, F_ObjHandleT obj, const PropValue &in) {
                object(obj)->label = in.s;
                return true;
            });
        RegisterProperty(kind, FP_NextMenuItemInSession, PropType::Id, [](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
            auto it = Menus().nextInList.find(obj);
            out.i = static_cast<IntT>(it == Menus().nextInList.end() ? 0 : it->second);
            return true;
        });
        auto find = [kind](F_ObjHandleT doc, const std::string &name) -> F_ObjHandleT {
            EnsureHostMenus();
            return doc == 0 ? FindNamed(kind, name) : 0;
        };
        std::function<F_ObjHandleT(F_ObjHandleT, const std::string &)> create;
        if (kind == FO_MenuItemSeparator)
            create = [](F_ObjHandleT doc, const std::string &name) -> F_ObjHandleT {
                if (doc != 0) return 0;
                MenuObject *o = Define(FO_MenuItemSeparator, name.c_str(), "");
                return o ? o->id : 0;
            };
        RegisterNamedKind(kind, find, create);
    }
    RegisterProperty(FO_Command, FP_CommandNum, PropType::Int, [object](F_ObjHandleT, F_ObjHandleT obj, PropValue &out) {
        out.i = object(obj)->number;
        return true;
    });
    RegisterProperty(0, FP_FirstMenuItemInSession, PropType::Id, [](F_ObjHandleT, F_ObjHandleT, PropValue &out) {
        EnsureHostMenus();
        out.i = static_cast<IntT>(Menus().sessionList.empty() ? 0 : Menus().sessionList.front());
        return true;
    });
}

void TreeLines(F_ObjHandleT id, int depth, std::vector<std::string> &out) {
    auto it = Menus().objects.find(id);
    if (it == Menus().objects.end() || depth > 32) return;
    const MenuObject &o = it->second;
    std::string line(static_cast<size_t>(depth) * 2, ' ');
    if (KindOf(id) == FO_MenuItemSeparator) {
        out.push_back(line + "-- " + o.name);
        return;
    }
    line += o.name + " \"" + o.label + "\"";
    if (KindOf(id) == FO_Command) line += " (number " + std::to_string(o.number) + ")";
    out.push_back(line);
    for (F_ObjHandleT item : o.items) TreeLines(item, depth + 1, out);
}

}  // namespace

void EnsureHostMenus() {
    MenuStore &s = Menus();
    if (!s.registered) {
        s.registered = true;
        RegisterMenuKinds();
    }
    if (!s.byName.count(kHostMenus[0][0]))
        for (const auto &menu : kHostMenus) DefineObject(FO_Menu, menu[0], menu[1]);
}

void ResetMenus() {
    MenuStore &s = Menus();
    s.objects.clear();
    s.byName.clear();
    s.sessionList.clear();
    s.nextInList.clear();
    EnsureHostMenus();
}

bool ChooseCommand(const std::string &name, std::string *error) {
    EnsureHostMenus();
    MenuObject *o = Find(FindNamed(FO_Command, name), FO_Command);
    if (!o) {
        if (error) *error = "no command named \"" + name + "\"";
        return false;
    }
    RunCommand(*o);
    return true;
}

bool ChooseShortcut(const std::string &shortcut, std::string *error) {
    EnsureHostMenus();
    for (F_ObjHandleT id : Menus().sessionList) {
        MenuObject *o = Find(id, FO_Command);
        if (o && !o->shortcut.empty() && o->shortcut == shortcut) {
            RunCommand(*o);
            return true;
        }
    }
    if (error) *error = "no command is bound to the shortcut \"" + shortcut + "\"";
    return false;
}

F_ObjHandleT FindMenuObject(const std::string &name) {
    EnsureHostMenus();
    auto it = Menus().byName.find(name);
    return it == Menus().byName.end() ? 0 : it->second;
}

std::vector<F_ObjHandleT> MenuItems(F_ObjHandleT menu) {
    MenuObject *o = Find(menu, FO_Menu);
    return o ? o->items : std::vector<F_ObjHandleT>{};
}

std::vector<std::string> MenuTree() {
    EnsureHostMenus();
    std::vector<std::string> out;
    for (const auto &menu : kHostMenus) TreeLines(FindNamed(FO_Menu, menu[0]), 0, out);
    return out;
}

}  // namespace host

extern "C" {

F_ObjHandleT F_ApiDefineMenu(ConStringT name, ConStringT label) {
    host::MenuObject *o = host::Define(FO_Menu, name, label);
    return o ? o->id : 0;
}

F_ObjHandleT F_ApiDefineAndAddMenu(F_ObjHandleT toMenuId, ConStringT name, ConStringT label) {
    host::EnsureHostMenus();
    if (!host::Find(toMenuId, FO_Menu)) {
        host::Fail(FE_BadObjId);
        return 0;
    }
    F_ObjHandleT menu = F_ApiDefineMenu(name, label);
    if (!menu || host::Place(toMenuId, menu, false) != 0) return 0;
    return menu;
}

IntT F_ApiAddMenuToMenu(F_ObjHandleT toMenuId, F_ObjHandleT menuId) { return host::Place(toMenuId, menuId, false); }

IntT F_ApiAddCommandToMenu(F_ObjHandleT toMenuId, F_ObjHandleT cmdId) { return host::Place(toMenuId, cmdId, true); }

F_ObjHandleT F_ApiDefineCommandWithViews(IntT cmd, ConStringT name, ConStringT label, ConStringT shortcut,
                                         const F_StringsT *views) {
    return host::DefineCommand(cmd, name, label, shortcut, views);
}

F_ObjHandleT F_ApiDefineAndAddCommandWithViews(IntT cmd, F_ObjHandleT toMenuId, ConStringT name, ConStringT label,
                                               ConStringT shortcut, const F_StringsT *views) {
    host::EnsureHostMenus();
    if (!host::Find(toMenuId, FO_Menu)) {
        host::Fail(FE_BadObjId);
        return 0;
    }
    F_ObjHandleT command = host::DefineCommand(cmd, name, label, shortcut, views);
    if (!command || host::Place(toMenuId, command, true) != 0) return 0;
    return command;
}

// Runs host function codes in order. View modes act on the active document (property 1484:
// 1 for 4050, 2 for 4061); 4049 opens a "Structure View" pseudo document; 920 (display
// refresh) and 993 (book update) have nothing to do here. An unknown code stops with -1.
IntT F_ApiFcodes(const F_IntsT *fcodes) {
    if (!fcodes || (fcodes->len && !fcodes->val)) {
        host::Fail(FE_BadParameter);
        return -1;
    }
    for (UIntT i = 0; i < fcodes->len; ++i) {
        IntT code = fcodes->val[i];
        F_ObjHandleT doc = host::TheSession().activeDoc;
        if (code == FV_FC_VIEW_MODE_1 || code == FV_FC_VIEW_MODE_OTHER) {
            if (!host::Doc(doc)) {
                host::Fail(FE_BadDocId);
                return -1;
            }
            host::PropValue mode;
            mode.i = code == FV_FC_VIEW_MODE_1 ? 1 : 2;
            if (!host::SetProperty(0, doc, FP_ViewMode, mode)) return -1;
        } else if (code == FV_FC_STRUCTURE_VIEW) {
            if (!host::Doc(doc)) {
                host::Fail(FE_BadDocId);
                return -1;
            }
            host::NewDocument("", "Structure View", true);
        } else if (code != FV_FC_DISPLAY_REFRESH && code != FV_FC_BOOK_UPDATE) {
            host::Fail(FE_BadParameter);
            return -1;
        }
    }
    return 0;
}

}  // extern "C"
