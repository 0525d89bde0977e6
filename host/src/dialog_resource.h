// Dialog resources: the text form in which a module ships each of its dialogs, and the parsed
// template the host builds dialog objects from.
//
// One resource per text. Lines (blank lines and lines starting with "#" are ignored):
//   dialog NAME                      the resource name (required, first)
//   title "TEXT"                     the dialog's title
//   size W H                         size in dialog units
//   position X Y                     initial position (modeless dialogs)
//   ok N | cancel N | default N | focus N    item numbers (-1 for none; the default is -1)
//   flag N                           the last word of the item record (1 for list editors)
//   item N KIND "LABEL" [pair M] [help "LINK"] [hidden] [greyed] [threestate] [group G]
//        [state S] [width W] [labels "A" "B" ...]
// KIND is one of groupbox, button, popup, label, checkbox, scrolllist, textbox, radio, image.
// Quoted texts take \" and \\ escapes. The parser and the validator are shared by the host and
// by the build step that checks every shipped resource.
#pragma once

#include <string>
#include <vector>

namespace host {

// Item kinds of the resource's item record (0 for an image, which the record does not list).
enum ResourceItemKind {
    kResGroupBox = 1,
    kResButton = 2,
    kResPopUp = 3,
    kResLabel = 4,
    kResCheckBox = 5,
    kResScrollList = 8,
    kResTextBox = 9,
    kResRadio = 10,
    kResImage = 0,
};

struct ResourceItem {
    int number = 0;
    int kind = kResLabel;          // ResourceItemKind
    std::string label;
    int pair = -1;                 // paired item number; 0 for labels, group boxes and buttons
    std::string help;              // help link
    bool hidden = false;
    bool greyed = false;
    bool threeState = false;
    int group = 0;                 // radio group
    int state = -2;                // initial state (-2: the kind's own default)
    int width = 0;
    std::vector<std::string> labels;  // list entries of pop-ups and scroll lists
    int line = 0;                  // source line, for messages
};

struct DialogTemplate {
    std::string name;
    std::string title;
    int width = 0, height = 0;
    int x = -1, y = -1;
    int okItem = -1, cancelItem = -1, defaultItem = -1, focusItem = -1;
    int flag = 0;
    std::vector<ResourceItem> items;  // in item-number order
};

// Parses a resource text. On failure returns false and puts "line N: reason" into *error.
bool ParseDialogResource(const std::string &text, DialogTemplate *out, std::string *error);

// Checks the rules every resource keeps: item numbers 0..n-1 in order, pairs that name each
// other (a text box with a pop-up), OK/cancel/default items that are buttons, a focus item that
// exists. Returns the problems found (empty when the resource is sound).
std::vector<std::string> ValidateDialogTemplate(const DialogTemplate &t);

// The resource kind of a kind name of the text form ("button" -> 2); -1 when unknown.
int ResourceKindFromName(const std::string &name);
// The kind name of a resource kind ("?" when unknown).
const char *ResourceKindName(int kind);
// The default help link of an item of that kind ("-1" for labels and group boxes).
std::string DefaultHelpLink(int kind, bool threeState);

}  // namespace host
