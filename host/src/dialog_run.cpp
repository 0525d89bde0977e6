// Dialog runs: F_ApiModalDialog and F_ApiModelessDialog, the delivery of item events to the
// module, and the user's actions on dialogs (scripted answers, the terminal, the default policy).
#include <cctype>
#include <cstdio>

#include "client.h"
#include "dialog.h"
#include "model.h"
#include "transcript.h"
#include "user.h"

namespace host {
namespace {

// A modal dialog whose close box keeps being refused is dismissed after this many tries, so a
// handler that always answers -10000 cannot hang the session.
constexpr int kCloseBoxTries = 3;
// Actions the terminal user may take on one modal dialog before it is closed for them.
constexpr int kTerminalActions = 200;

int ModalDepth = 0;  // modal runs in progress

const char *KindWord(int kind) {
    switch (kind) {
    case FO_DlgGroupBox: return "group box";
    case FO_DlgButton: return "button";
    case FO_DlgCheckBox: return "check box";
    case FO_DlgImage: return "image";
    case FO_DlgScrollBox: return "list";
    case FO_DlgTextBox: return "text box";
    case FO_DlgRadioButton: return "radio button";
    case FO_DlgLabel: return "label";
    case FO_DlgPopUp: return "pop-up";
    default: return "item";
    }
}

std::string Quote(const std::string &s) { return "\"" + s + "\""; }

// Delivers one item event to the module that opened the dialog; answers its return value.
IntT Deliver(Dialog &d, int item, bool doubleClick) {
    d.doubleClick = doubleClick ? 1 : 0;
    ++d.eventDepth;
    IntT value = d.client ? CallClientDialogEvent(d.client, d.dlgNum, item, 0) : 0;
    --d.eventDepth;
    d.doubleClick = 0;
    if (!d.open && d.eventDepth == 0) d.items.clear();  // closed by its own handler
    return value;
}

// A button press: the event, then a modal dialog is dismissed unless the handler kept it up.
void Press(Dialog &d, int item) {
    IntT value = Deliver(d, item, false);
    if (d.mode == DialogMode::Modal && value != FV_DlgNoDismiss) d.dismissed = true;
}

// The close box: a modal dialog presses its Cancel item (or sends -1 when it has none); a
// modeless one sends -1 and is closed by the host.
void CloseBox(Dialog &d) {
    Transcript("user: close box of " + Quote(d.title));
    if (d.mode == DialogMode::Modal) {
        if (d.cancelItem >= 0 && d.cancelItem < static_cast<int>(d.items.size()))
            Press(d, d.cancelItem);
        else if (Deliver(d, FV_DlgCloseBox, false) != FV_DlgNoDismiss)
            d.dismissed = true;
        return;
    }
    Deliver(d, FV_DlgCloseBox, false);
    if (d.open) CloseDialog(d.id);
}

bool ParseNumber(const std::string &w, int *out) {
    if (w.empty() || w.size() > 9) return false;
    size_t i = w[0] == '-' ? 1 : 0;
    if (i == w.size()) return false;
    for (size_t k = i; k < w.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(w[k]))) return false;
    *out = std::stoi(w);
    return true;
}

std::string Unquote(const std::string &s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

// Runs the user's side of a modal dialog until it is dismissed or closed.
void RunModalUser(Dialog &d) {
    const UserAnswer *front = PendingAnswers().empty() ? nullptr : &PendingAnswers().front();
    if (front && front->kind == "dialog" && (front->value.empty() || front->value == d.resource)) {
        UserAnswer answer = *TakeAnswer("dialog");
        for (size_t i = 0; i < answer.args.size(); ++i) {
            if (d.dismissed || !d.open) {
                for (; i < answer.args.size(); ++i) Transcript("user: action not taken, the dialog is gone: " + answer.args[i]);
                break;
            }
            std::string error;
            if (!ApplyDialogAction(d, answer.args[i], &error)) Transcript("user: cannot " + answer.args[i] + ": " + error);
        }
    }
    if (UserTerminal()) {
        for (int n = 0; n < kTerminalActions && !d.dismissed && d.open; ++n) {
            for (const auto &line : DescribeDialog(d)) std::printf("%s\n", line.c_str());
            auto line = AskOnTerminal("Action (press N, type N TEXT, choose N K, check N, radio N, enter, close)?");
            if (!line) break;
            std::string error;
            if (!ApplyDialogAction(d, *line, &error)) std::printf("Cannot do that: %s\n", error.c_str());
        }
    }
    for (int tries = 0; tries < kCloseBoxTries && !d.dismissed && d.open; ++tries) CloseBox(d);
    if (!d.dismissed && d.open) {
        Transcript("host: " + Quote(d.title) + " refused its close box; dismissed");
        d.dismissed = true;
    }
}

}  // namespace

std::vector<std::string> DescribeDialog(const Dialog &d) {
    std::vector<std::string> lines;
    lines.push_back("dialog " + Quote(d.title) + " [" + d.resource + "]");
    for (const auto &it : d.items) {
        if (!it.visible || it.kind == FO_DlgImage) continue;
        std::string line = "  " + std::to_string(it.number) + " " + KindWord(it.kind) + " " + Quote(it.label);
        if (it.kind == FO_DlgTextBox) line += " text " + Quote(it.text);
        if (it.kind == FO_DlgScrollBox || it.kind == FO_DlgPopUp) {
            line += " [";
            for (size_t k = 0; k < it.labels.size(); ++k) line += (k ? ", " : "") + Quote(it.labels[k]);
            line += "] selected " + std::to_string(it.state);
        }
        if (it.kind == FO_DlgCheckBox || it.kind == FO_DlgRadioButton) line += " state " + std::to_string(it.state);
        if (!it.sensitive) line += " (greyed)";
        if (it.number == d.defaultItem) line += " (default)";
        lines.push_back(line);
    }
    return lines;
}

bool ApplyDialogAction(Dialog &d, const std::string &action, std::string *error) {
    auto fail = [&](const std::string &why) {
        *error = why;
        return false;
    };
    std::string verb, rest;
    size_t sp = action.find(' ');
    verb = action.substr(0, sp);
    rest = sp == std::string::npos ? "" : action.substr(sp + 1);
    if (verb == "close") {
        CloseBox(d);
        return true;
    }
    if (verb == "refresh") {
        Transcript("user: refresh " + Quote(d.title));
        Deliver(d, FV_DlgRefresh, false);
        return true;
    }
    int number = -1;
    std::string arg;
    if (verb == "enter") {
        number = d.defaultItem;
        if (number < 0) return fail("the dialog has no default button");
    } else {
        size_t sp2 = rest.find(' ');
        if (!ParseNumber(rest.substr(0, sp2), &number)) return fail("expected an item number");
        arg = sp2 == std::string::npos ? "" : rest.substr(sp2 + 1);
    }
    if (number < 0 || number >= static_cast<int>(d.items.size())) return fail("no item " + std::to_string(number));
    DialogItem &it = d.items[number];
    if (!it.visible) return fail("item " + std::to_string(number) + " is hidden");
    if (!it.sensitive) return fail("item " + std::to_string(number) + " is greyed");
    const int kind = it.kind;
    if (verb == "press" || verb == "enter") {
        if (kind != FO_DlgButton) return fail("item " + std::to_string(number) + " is not a button");
        Transcript("user: press " + Quote(it.label));
        Press(d, number);
        return true;
    }
    if (verb == "type") {
        if (kind != FO_DlgTextBox) return fail("item " + std::to_string(number) + " is not a text box");
        it.text = Unquote(arg);
        Transcript("user: type " + Quote(it.text) + " into item " + std::to_string(number));
        Deliver(d, number, false);
        return true;
    }
    if (verb == "choose" || verb == "dblclick") {
        if (kind != FO_DlgScrollBox && kind != FO_DlgPopUp) return fail("item " + std::to_string(number) + " is not a list");
        int index = -1;
        if (!arg.empty() && arg.front() == '"') {
            std::string label = Unquote(arg);
            for (size_t k = 0; k < it.labels.size() && index < 0; ++k)
                if (it.labels[k] == label) index = static_cast<int>(k);
            if (index < 0) return fail("no entry " + Quote(label) + " in item " + std::to_string(number));
        } else if (!ParseNumber(arg, &index) || index < 0 || index >= static_cast<int>(it.labels.size())) {
            return fail("no entry " + arg + " in item " + std::to_string(number));
        }
        it.state = index;
        Transcript("user: " + verb + " " + Quote(it.labels[index]) + " in item " + std::to_string(number));
        // A pop-up paired with a text box copies the entry into it (not the placeholder entry).
        if (kind == FO_DlgPopUp && index > 0 && it.pair >= 0 && it.pair < static_cast<int>(d.items.size()))
            d.items[it.pair].text = it.labels[index];
        Deliver(d, number, verb == "dblclick");
        return true;
    }
    if (verb == "check") {
        if (kind != FO_DlgCheckBox) return fail("item " + std::to_string(number) + " is not a check box");
        int state = (it.state + 1) % (it.threeState ? 3 : 2);
        if (!arg.empty() && (!ParseNumber(arg, &state) || state < 0 || state > (it.threeState ? 2 : 1)))
            return fail("bad check box state " + arg);
        it.state = state;
        Transcript("user: check box " + Quote(it.label) + " to " + std::to_string(state));
        Deliver(d, number, false);
        return true;
    }
    if (verb == "radio") {
        if (kind != FO_DlgRadioButton) return fail("item " + std::to_string(number) + " is not a radio button");
        SetItemState(d, it, 1);
        Transcript("user: radio button " + Quote(it.label));
        Deliver(d, number, false);
        return true;
    }
    return fail("unknown action " + Quote(verb));
}

bool UserDialogAction(const std::string &resource, const std::string &action, std::string *error) {
    if (ModalDepth > 0) {
        *error = "a modal dialog is up";
        return false;
    }
    Dialog *d = nullptr;
    for (F_ObjHandleT id : OpenDialogs()) {
        Dialog *c = FindDialog(id);
        if (c && c->resource == resource && c->mode == DialogMode::Modeless) d = c;
    }
    if (!d) {
        *error = "no modeless dialog " + Quote(resource) + " is shown";
        return false;
    }
    return ApplyDialogAction(*d, action, error);
}

void QueueDialogActions(const std::string &resource, std::vector<std::string> actions) {
    UserAnswer a;
    a.kind = "dialog";
    a.value = resource;
    a.args = std::move(actions);
    QueueAnswer(std::move(a));
}

}  // namespace host

extern "C" {

IntT F_ApiModalDialog(IntT dlgNum, F_ObjHandleT dlgId) {
    host::Dialog *d = host::FindDialog(dlgId);
    if (!d || d->mode == host::DialogMode::Modal) {
        host::Fail(d ? FE_BadOperation : FE_BadObjId);
        return -1;
    }
    d->mode = host::DialogMode::Modal;
    d->dlgNum = dlgNum;
    d->dismissed = false;
    for (const auto &line : host::DescribeDialog(*d)) host::Transcript(line);
    ++host::ModalDepth;
    host::RunModalUser(*d);
    --host::ModalDepth;
    if (d->open) d->mode = host::DialogMode::Opened;  // items stay readable until F_ApiClose
    host::Transcript("dialog " + host::Quote(d->title) + " dismissed");
    return 0;
}

IntT F_ApiModelessDialog(IntT dlgNum, F_ObjHandleT dlgId) {
    host::Dialog *d = host::FindDialog(dlgId);
    if (!d || d->mode == host::DialogMode::Modal) {
        host::Fail(d ? FE_BadOperation : FE_BadObjId);
        return -1;
    }
    bool shown = d->mode == host::DialogMode::Modeless;
    d->mode = host::DialogMode::Modeless;
    d->dlgNum = dlgNum;
    if (!shown)
        for (const auto &line : host::DescribeDialog(*d)) host::Transcript(line);
    return 0;
}

}  // extern "C"
