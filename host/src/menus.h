// The session's menus (kind 55), commands (56) and menu separators (57).
//
// The four host menus ("!MakerMainMenu", "!ViewOnlyMainMenu", "!BookMainMenu",
// "!ViewOnlyBookMainMenu") exist before any client starts. Clients define menus and commands
// (F_ApiDefineMenu, F_ApiDefineCommandWithViews, ...), create separators
// (F_ApiNewNamedObject (0, 57, name)) and place them in menus in order. Every menu, command and
// separator is in the session's command-and-menu list (session property 97, then 1925) in
// definition order, and is found by name (F_ApiGetNamedObject (0, kind, name)); names are
// unique across the three kinds. A command belongs to the client that defined it: choosing it
// calls that client's F_ApiCommand with the command's number. Properties: 20 name, 30 label
// (writable), 1925 next in the session list, 1928 a command's number.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

namespace host {

// Registers the three kinds with the object model and creates the host menus when missing.
// Called by every menu call and before a client is loaded; cheap after the first time.
void EnsureHostMenus();
// Forgets every menu, command and separator; the host menus are made anew.
void ResetMenus();

// Chooses a command by name, or the command bound to a shortcut: its client's F_ApiCommand
// runs. False (with a message in *error) when there is no such command.
bool ChooseCommand(const std::string &name, std::string *error);
bool ChooseShortcut(const std::string &shortcut, std::string *error);

// The menu, command or separator of that name, or 0.
F_ObjHandleT FindMenuObject(const std::string &name);
// The items of a menu in order (empty for other ids).
std::vector<F_ObjHandleT> MenuItems(F_ObjHandleT menu);

// The host menus and everything placed in them, one line per entry, indented by depth:
// menus as `NAME "LABEL"`, commands as `NAME "LABEL" (number N)`, separators as `-- NAME`.
std::vector<std::string> MenuTree();

}  // namespace host
