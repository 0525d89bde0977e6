// The plug-in's commands and menus: the command table (what each command number does), the
// separators, the Transform and Language submenus, the document and book menus, the script
// launch commands bound to shortcuts, and the commands that belong to the shell itself (About,
// the version warning, the deprecation notice, Set Language). F_ApiCommand runs qv_RunCommand.
#pragma once

#include <string>

#include "fdk.h"

// What a command's action gets: the active document, the active book, and the active
// document's selected element (0 when there is none).
struct CommandContext {
    F_ObjHandleT doc = 0;
    F_ObjHandleT book = 0;
    F_ObjHandleT element = 0;
};

// One command of the table.
struct QvCommand {
    IntT number;
    const char *name;
    const char *label;    // English; translated through "Quorvane - Menus And Commands" unless marked
    int translate;        // 0: the label is shown as it stands
    const char *handler;  // what the command reaches (the trace names it)
    void (*run)(const CommandContext &);
};

// The table of commands 6 to 26 in number order.
const QvCommand *qv_CommandTable(int *count);
// The command of that number, or nullptr.
const QvCommand *qv_FindCommand(IntT number);

// Defines the separators, the commands and the menus, placed as the menu location says (nothing
// with kMenuNone).
void qv_DefineCommandsAndMenus();
// Defines the launch commands 100 + i of the NW_SCRIPT_LAUNCH_SHORTCUTS entries that name a
// shortcut.
void qv_DefineLaunchCommands();
// The name of launch command 100 + index.
std::string qv_LaunchCommandName(IntT index);

// Runs a chosen command: the table's action, and for 100 to 199 the script launch.
void qv_RunCommand(IntT number);

void om_SetPluginMenuLabels();
void om_ShowAboutBox();
void om_ShowVersionWarning();
void om_ShowDeprecationNotice();
// Set Language: asks for a language, switches to it and reopens the open dialogs in it.
void om_SetLanguage();
