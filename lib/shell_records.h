// The plug-in shell's global records: PluginGlobals (versions, settings location, debug mode,
// texts kept for the session), DialogHandles (the ids of the plug-in's open dialogs, by dialog
// number) and NotifyState (what notification routing remembers between notifications). They
// live until the host quits; the shell's start-up sets their defaults.
#pragma once

#include <array>
#include <string>

#include "fdk.h"

struct PluginGlobalsT {
    std::string versionText;      // "3.44"
    IntT versionMajor = 0;        // 3
    IntT versionMinor = 0;        // 44
    IntT compatibleMajor = 0;     // oldest compatible settings version: 3
    IntT compatibleMinor = 0;     // ... and 10
    IntT targetedHostMajor = 0;   // 16 in Quorvane_FM2020, 15 in Quorvane_FM2019
    IntT runningHostMajor = 0;    // the host's major version (session property 43) seen at start-up
    IntT hostVersionDiffers = 0;  // 1 when the running major version is not the targeted one
    IntT settingsLocation = 0;    // 1 plug-in folder, 2 per-user folder
    IntT debugMode = 0;           // 0/1: message boxes add a line naming themselves, and more
    std::string currentLanguage;  // the language the preferences name (the translation system keeps its own)
    IntT menuLocation = 1;        // 1 main menu bar, 2 the maker's shared menus, 3 no menus
    IntT refreshLattiformEditor = 1;  // ask the sibling plug-in to refresh its attribute editor after a match
    IntT maxXPathLength = 2000;   // the longest expression the engine and the scripts accept
    IntT maxXPathTextChars = 255; // the most characters of text a query compares
    std::string cancelConfirmText;  // current-language text om_PollUserCancel asks with (start-up)
    std::string pathBeforeSaveAs;   // the active document's path when a Save As began
    IntT traceStartUp = 0;        // 1: each start-up step is announced on the host console
};

extern PluginGlobalsT PluginGlobals;

// The numbers under which the plug-in opens its dialogs.
enum QvDialogNumber {
    kDlgNodeWizard = 6,
    kDlgQuickFinder = 9,
    kDlgCopyOf = 10,
    kDlgTransformationProgress = 11,
    kDlgValueOf = 12,
    kDlgIf = 13,
    kDlgTable = 14,
    kDlgTableRow = 15,
    kDlgElementTag = 16,
    kDlgSort = 17,
    kDlgCreateXRef = 18,
    kDlgSetAttribute = 19,
    kDlgTransformationSetup = 20,
    kDlgTemplate = 22,
    kDlgConditionManager = 23,
    kDlgNWScripts = 24,
    kDlgParam = 26,
};

// The id of each plug-in dialog's open resource, indexed by its dialog number; 0 when closed.
struct DialogHandlesT {
    std::array<F_ObjHandleT, kDlgParam + 1> ids{};
    F_ObjHandleT &operator[](QvDialogNumber n) { return ids[static_cast<size_t>(n)]; }
};

extern DialogHandlesT DialogHandles;

// What notification routing keeps between notifications.
struct NotifyStateT {
    IntT lastFunctionCode = 0;      // integer argument of the previous notification
    IntT savedDocProperty = 0;      // document property 1491 before a stylesheet element insertion
    F_ObjHandleT lastFront = 0;     // front document or book seen at the last mouse command
    IntT doubleClick = 0;           // set by the last pre-mouse-command notification
    IntT quitting = 0;              // set once the session is quitting; never cleared
};

extern NotifyStateT NotifyState;

