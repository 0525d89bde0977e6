// Host dialogs: dialog objects (kind 43) made from a module's dialog resources, their items
// (kinds 45-53), the modal and modeless runs, and the user's actions on them.
//
// A dialog is made by F_ApiOpenResource (43, name) from the resource text the calling module
// serves; it stays open (2346 non-zero) and its items readable until F_ApiClose (dialog, 0).
// F_ApiModalDialog shows it and returns when it is dismissed: the session's user acts on it
// (scripted "dialog" answers, the terminal, or the default policy: the close box), each action
// arriving at the module as a nested F_ApiDialogEvent. F_ApiModelessDialog shows it and returns;
// the user's later actions (UserDialogAction) arrive as top-level events.
//
// Item kinds: 45 group box, 46 button, 47 check box, 48 image, 49 scroll list or unpaired pop-up,
// 50 text box, 51 radio button, 52 label, 53 pop-up paired with a text box (choosing an entry
// copies it into the text box, except the placeholder: the first entry while it is the one the
// resource gives, or a blank, which a list set without that lead does not have).
//
// Scripted actions (one per string; the "dialog" answer's value names the resource, or is "" for
// whichever modal dialog opens next):
//   press N          press button N                 enter        press the default button
//   type N TEXT      set text box N and fire N      close        the close box
//   choose N K       select entry K of list N       choose N "LABEL"   select the entry with that label
//   dblclick N K     double-click entry K           check N [S]  toggle check box N (or set S)
//   radio N          turn radio button N on         refresh      a host refresh request (-8)
// N may also be the item's label as the user reads it ("Match All", quoted when it has blanks;
// "&" and case ignored). A text box, list or pop-up goes by the label just before it; where one
// label names several items, the kinds the verb acts on decide.
#pragma once

#include <string>
#include <vector>

#include "dialog_resource.h"
#include "fdk.h"

namespace host {

struct Client;

struct DialogItem {
    F_ObjHandleT id = 0;
    int number = 0;
    int kind = FO_DlgLabel;  // item kind 45-53
    bool threeState = false;
    int group = 0;           // radio group
    int pair = -1;           // paired item number, -1 none
    std::string help;
    std::string label;       // 30
    std::string text;        // 1701
    int state = 0;           // 1702
    std::vector<std::string> labels;  // 1703
    std::string placeholder;  // a paired pop-up's lead entry as its resource gives it ("" none)
    int sensitive = 1;       // 1708
    int visible = 1;         // 1713
};

enum class DialogMode { Closed, Opened, Modal, Modeless };

struct Dialog {
    F_ObjHandleT id = 0;
    std::string resource;
    std::string title;        // 30
    int x = 0, y = 0;         // 33, 34
    int width = 0, height = 0;
    int okItem = -1, cancelItem = -1, defaultItem = -1, focusItem = -1;
    int doubleClick = 0;      // 1706
    int prop2344 = 0;         // 2344
    bool open = true;         // 2346
    DialogMode mode = DialogMode::Opened;
    IntT dlgNum = 0;
    bool dismissed = false;   // a modal run ends
    int eventDepth = 0;       // events of this dialog in progress
    Client *client = nullptr; // the module that opened it
    std::vector<DialogItem> items;
};

// The open dialog of that id (nullptr when unknown or closed).
Dialog *FindDialog(F_ObjHandleT dlg);
// The item of an id in an open dialog, and its dialog.
DialogItem *FindDialogItem(F_ObjHandleT item, Dialog **dialog = nullptr);
// Makes an open dialog object from a parsed resource (the client receives its events).
F_ObjHandleT MakeDialog(const DialogTemplate &t, Client *client);
// Closes a dialog: its id and its items' ids go stale.
bool CloseDialog(F_ObjHandleT dlg);
// The open dialogs, oldest first.
std::vector<F_ObjHandleT> OpenDialogs();
// The newest open dialog made from that resource (0 when none).
F_ObjHandleT FindOpenDialogByResource(const std::string &resource);

// Item state changes as the host makes them (property writes and user actions alike): a list
// state must lie in -1..n-1; a radio button turned on turns off the others of its group.
bool SetItemState(Dialog &d, DialogItem &item, int state);
bool SetItemLabels(Dialog &d, DialogItem &item, std::vector<std::string> labels);
// Writes the label (FP_Label) of item obj of open dialog dlg, as a property write does; false,
// with nothing changed, when obj is no item of dlg. A status box rewrites its lines through this
// thousands of times in a long run.
bool WriteItemLabel(F_ObjHandleT dlg, F_ObjHandleT obj, std::string_view label);

// Applies one user action (scripted form above) to a dialog shown modally or modelessly;
// delivers its event. False (and *error) when the action cannot be done (missing, greyed or
// hidden item, wrong kind, bad syntax).
bool ApplyDialogAction(Dialog &d, const std::string &action, std::string *error);
// Checks that an action reads as one of the forms above (before any dialog is there to take it).
bool CheckDialogAction(const std::string &action, std::string *error);
// The first scripted action of a modal dialog that could not be done since the last call (with
// its cause), "" when every one was done; the call forgets it.
std::string TakeDialogAnswerFailure();

// A user action on the newest open modeless dialog made from that resource, delivered as a
// top-level event. False (and *error) when there is none, a modal dialog is up, or the action
// cannot be done.
bool UserDialogAction(const std::string &resource, const std::string &action, std::string *error);

// Queues a scripted answer for the next modal dialog ("" for any resource): its actions are
// applied in order when it opens.
void QueueDialogActions(const std::string &resource, std::vector<std::string> actions);

// The lines the user is shown for a dialog (title and every visible item).
std::vector<std::string> DescribeDialog(const Dialog &d);
// Whether a dialog's opening writes all its items into the transcript (qvhost --verbose), or
// only its title; `print dialog` shows them either way.
void SetDialogsVerbose(bool on);

// A progress display: a dialog of labels only (a Cancel button aside), such as a status box.
bool IsProgressDisplay(const Dialog &d);
// An item's label was changed: a progress display shown modelessly writes the new line into the
// transcript (and the terminal's status line).
void LabelChanged(const Dialog &d, const DialogItem &item);

}  // namespace host
