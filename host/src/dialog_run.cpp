// Dialog runs: F_ApiModalDialog and F_ApiModelessDialog, the delivery of item events to the
// module, and the user's actions on dialogs (scripted answers, the terminal, the default policy).
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "client.h"
#include "dialog.h"
#include "element_path.h"
#include "model_layout.h"
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
bool Verbose = true;  // a dialog's opening writes all its items (qvhost: only with --verbose)
std::string AnswerFailure;  // the first scripted modal action not done, for the script to report

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

// An action split into its verb, its item (a number or a label, quoted when it has blanks) and
// the rest of the text.
struct ActionWords {
    std::string verb, item, rest;
    bool itemQuoted = false;
};

// Reads one word at `at`: a "quoted text" (with \" and \\ inside) or a run of non-blanks.
bool ReadWord(const std::string &s, size_t &at, std::string *word, bool *quoted) {
    while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
    word->clear();
    *quoted = at < s.size() && s[at] == '"';
    if (!*quoted) {
        while (at < s.size() && s[at] != ' ' && s[at] != '\t') *word += s[at++];
        return true;
    }
    for (++at; at < s.size(); ++at) {
        char c = s[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\' && at + 1 < s.size() && (s[at + 1] == '"' || s[at + 1] == '\\')) c = s[++at];
        *word += c;
    }
    return false;
}

bool SplitAction(const std::string &action, ActionWords *w, std::string *error) {
    size_t at = 0;
    bool quoted = false;
    ReadWord(action, at, &w->verb, &quoted);
    if (!ReadWord(action, at, &w->item, &w->itemQuoted)) {
        *error = "a quoted label is not closed";
        return false;
    }
    while (at < action.size() && (action[at] == ' ' || action[at] == '\t')) ++at;
    w->rest = action.substr(at);
    return true;
}

// The verbs and the item kinds each acts on (0: no item).
struct VerbKinds {
    const char *verb;
    int kind, kind2;
};
const VerbKinds kVerbs[] = {
    {"press", FO_DlgButton, FO_DlgButton},       {"enter", 0, 0},
    {"type", FO_DlgTextBox, FO_DlgTextBox},      {"choose", FO_DlgScrollBox, FO_DlgPopUp},
    {"dblclick", FO_DlgScrollBox, FO_DlgPopUp},  {"check", FO_DlgCheckBox, FO_DlgCheckBox},
    {"radio", FO_DlgRadioButton, FO_DlgRadioButton}, {"close", 0, 0}, {"refresh", 0, 0},
};

const VerbKinds *VerbOf(const std::string &verb) {
    for (const auto &v : kVerbs)
        if (verb == v.verb) return &v;
    return nullptr;
}

// A label as the user reads it: without the "&" of its access key, case, blanks at its ends and
// a colon after it.
std::string Folded(const std::string &label) {
    std::string out;
    for (char c : label)
        if (c != '&') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t e = out.find_last_not_of(" \t");
    if (e != std::string::npos && out[e] == ':') --e;
    e = e == std::string::npos ? e : out.find_last_not_of(" \t", e);
    size_t b = out.find_first_not_of(" \t");
    return b == std::string::npos || e == std::string::npos ? std::string() : out.substr(b, e - b + 1);
}

// Text boxes, lists and pop-ups carry no label of their own: the label before them names them.
bool NamedByLabelBefore(int kind) { return kind == FO_DlgTextBox || kind == FO_DlgScrollBox || kind == FO_DlgPopUp; }

// The name each item goes by, in item order: its own label, or for a text box, list or pop-up
// the text of the label item before it, as long as no other item with a label of its own (a
// button, a check box) stands between. Hidden items, images and empty labels are passed over.
std::vector<std::string> ItemNames(const Dialog &d) {
    std::vector<std::string> names(d.items.size());
    std::string before;
    for (size_t i = 0; i < d.items.size(); ++i) {
        const DialogItem &it = d.items[i];
        if (NamedByLabelBefore(it.kind)) {
            names[i] = before;
            continue;
        }
        names[i] = it.label;
        if (!it.visible || it.kind == FO_DlgImage || Folded(it.label).empty()) continue;
        before = it.kind == FO_DlgLabel ? it.label : "";
    }
    return names;
}

std::string ItemLine(const Dialog &d, const std::vector<std::string> &names, size_t i) {
    const DialogItem &it = d.items[i];
    std::string line = std::to_string(it.number) + " " + KindWord(it.kind);
    if (!names[i].empty()) line += " " + Quote(names[i]);
    return line;
}

// The item a label names for a verb: the one visible item of a kind the verb acts on whose name
// reads as the label. None or several: false, with the candidates and their numbers.
bool ItemByLabel(const Dialog &d, const VerbKinds &v, const std::string &label, int *number, std::string *error) {
    std::vector<std::string> names = ItemNames(d);
    const std::string want = Folded(label);
    std::vector<size_t> fit, named;
    for (size_t i = 0; i < d.items.size(); ++i) {
        if (!d.items[i].visible || Folded(names[i]) != want) continue;
        named.push_back(i);
        if (d.items[i].kind == v.kind || d.items[i].kind == v.kind2) fit.push_back(i);
    }
    if (fit.size() == 1) {
        *number = d.items[fit[0]].number;
        return true;
    }
    std::string what = std::string(KindWord(v.kind)) + (v.kind2 != v.kind ? std::string(" or ") + KindWord(v.kind2) : "");
    std::vector<size_t> list = fit;
    if (fit.empty()) {
        *error = "no " + what + " is labelled " + Quote(label);
        list = named;
        if (list.empty())
            for (size_t i = 0; i < d.items.size(); ++i)
                if (d.items[i].visible && (d.items[i].kind == v.kind || d.items[i].kind == v.kind2)) list.push_back(i);
        *error += list.empty() ? "" : named.empty() ? "; the dialog's " + what + " items: " : "; items labelled so: ";
    } else {
        *error = "several items are labelled " + Quote(label) + ": ";
    }
    for (size_t k = 0; k < list.size(); ++k) *error += (k ? ", " : "") + ItemLine(d, names, list[k]);
    return false;
}

// The entry of a list a text names: its number, or its label (exactly, else ignoring case).
bool EntryOf(const DialogItem &it, const std::string &text, bool quoted, int *index) {
    if (!quoted && ParseNumber(text, index)) return *index >= 0 && *index < static_cast<int>(it.labels.size());
    for (size_t k = 0; k < it.labels.size(); ++k)
        if (it.labels[k] == text) return *index = static_cast<int>(k), true;
    int found = -1;
    for (size_t k = 0; k < it.labels.size(); ++k)
        if (Folded(it.labels[k]) == Folded(text)) {
            if (found >= 0) return false;
            found = static_cast<int>(k);
        }
    *index = found;
    return found >= 0;
}

// Whether entry k of a paired pop-up is its placeholder, which leaves the text box as it is: the
// first entry, while it is the lead the resource gives or a blank (a translated list's lead).
// A list the plug-in sets without that lead has none: its first entry is a choice like the rest.
bool IsPlaceholderEntry(const DialogItem &it, int k) {
    if (k != 0 || it.labels.empty()) return false;
    const std::string &first = it.labels.front();
    return (!it.placeholder.empty() && first == it.placeholder) ||
           first.find_first_not_of(" \t") == std::string::npos;
}

// Where a dialog answer was scripted, to begin a message ("" when unknown).
std::string Scripted(const UserAnswer &a) { return a.origin.empty() ? "" : "the dialog answer of " + a.origin + ": "; }

// Runs the user's side of a modal dialog until it is dismissed or closed.
void RunModalUser(Dialog &d) {
    const UserAnswer *front = PendingAnswers().empty() ? nullptr : &PendingAnswers().front();
    if (front && front->kind == "dialog" && (front->value.empty() || front->value == d.resource)) {
        UserAnswer answer = *TakeAnswer("dialog");
        for (size_t i = 0; i < answer.args.size(); ++i) {
            if (d.dismissed || !d.open) {
                if (AnswerFailure.empty())
                    AnswerFailure = Scripted(answer) + Quote(answer.args[i]) + " was not done: the dialog is gone";
                for (; i < answer.args.size(); ++i) Transcript("user: action not taken, the dialog is gone: " + answer.args[i]);
                break;
            }
            std::string error;
            if (!ApplyDialogAction(d, answer.args[i], &error)) {
                Transcript("user: cannot " + answer.args[i] + ": " + error);
                if (AnswerFailure.empty())
                    AnswerFailure = Scripted(answer) + "cannot " + answer.args[i] + " in " + Quote(d.title) + ": " + error;
            }
        }
    }
    if (UserTerminal()) {
        for (int n = 0; n < kTerminalActions && !d.dismissed && d.open; ++n) {
            for (const auto &line : DescribeDialog(d)) std::printf("%s\n", line.c_str());
            auto line = AskOnTerminal("Action (press N, type N TEXT, choose N K, check N, radio N, enter, close;"
                                      " N a number or \"label\")?");
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

bool CheckDialogAction(const std::string &action, std::string *error) {
    ActionWords w;
    if (!SplitAction(action, &w, error)) return false;
    const VerbKinds *v = VerbOf(w.verb);
    if (!v) {
        *error = "unknown dialog action " + Quote(action) + " (press, enter, type, choose, dblclick, check, radio, close, refresh)";
        return false;
    }
    if (v->kind == 0) {
        if (w.item.empty() && !w.itemQuoted) return true;
        *error = Quote(w.verb) + " takes nothing more: " + Quote(action);
        return false;
    }
    if (w.item.empty() && !w.itemQuoted) {
        *error = Quote(w.verb) + " needs an item number or label: " + Quote(action);
        return false;
    }
    if ((w.verb == "choose" || w.verb == "dblclick") && w.rest.empty()) {
        *error = Quote(w.verb) + " needs an entry number or label: " + Quote(action);
        return false;
    }
    if (w.verb == "check" && !w.rest.empty()) {
        int state = 0;
        if (!ParseNumber(w.rest, &state)) {
            *error = "a check box state is a number: " + Quote(action);
            return false;
        }
    }
    if ((w.verb == "press" || w.verb == "radio") && !w.rest.empty()) {
        *error = Quote(w.verb) + " takes one item: " + Quote(action);
        return false;
    }
    return true;
}

void SetDialogsVerbose(bool on) { Verbose = on; }

bool IsProgressDisplay(const Dialog &d) {
    for (const auto &it : d.items) {
        if (!it.visible || it.kind == FO_DlgLabel || it.kind == FO_DlgGroupBox || it.kind == FO_DlgImage) continue;
        if (it.kind == FO_DlgButton && it.number == d.cancelItem) continue;
        return false;
    }
    return true;
}

void LabelChanged(const Dialog &d, const DialogItem &item) {
    if (d.mode != DialogMode::Modeless || !item.visible || !IsProgressDisplay(d)) return;
    // The terminal's status line: the title and the display's lines that are not empty.
    std::string status;
    if (ProgressOnTerminal()) {
        status = d.title + ":";
        for (const auto &it : d.items) {
            if (!it.visible || it.kind != FO_DlgLabel) continue;
            size_t b = it.label.find_first_not_of(' ');
            if (b != std::string::npos) status.append("  ").append(it.label, b);
        }
    }
    // status "TITLE" N: "LABEL", put together in place: a long run writes thousands of these.
    char number[16];
    const size_t digits = static_cast<size_t>(std::to_chars(number, number + sizeof number, item.number).ptr - number);
    constexpr std::string_view open = "status \"", mid = "\" ", colon = ": \"";
    std::string line;
    line.resize(open.size() + d.title.size() + mid.size() + digits + colon.size() + item.label.size() + 1);
    char *out = line.data();
    auto put = [&out](const char *p, size_t n) {
        std::memcpy(out, p, n);
        out += n;
    };
    put(open.data(), open.size());
    put(d.title.data(), d.title.size());
    put(mid.data(), mid.size());
    put(number, digits);
    put(colon.data(), colon.size());
    put(item.label.data(), item.label.size());
    *out = '"';
    TranscriptProgress(std::move(line), status);
}

// The dialog as it opens: its title, and with --verbose every item.
void TranscribeOpening(const Dialog &d) {
    if (Verbose) {
        for (const auto &line : DescribeDialog(d)) Transcript(line);
        return;
    }
    Transcript("dialog " + Quote(d.title) + " [" + d.resource + "] opened");
}

bool ApplyDialogAction(Dialog &d, const std::string &action, std::string *error) {
    auto fail = [&](const std::string &why) {
        *error = why;
        return false;
    };
    if (!CheckDialogAction(action, error)) return false;
    ActionWords w;
    SplitAction(action, &w, error);
    const std::string &verb = w.verb;
    const VerbKinds &v = *VerbOf(verb);
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
    const std::string &arg = w.rest;
    if (verb == "enter") {
        number = d.defaultItem;
        if (number < 0) return fail("the dialog has no default button");
    } else if (w.itemQuoted || !ParseNumber(w.item, &number)) {
        if (!ItemByLabel(d, v, w.item, &number, error)) return false;
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
        size_t at = 0;
        std::string entry;
        bool quoted = false;
        ReadWord(arg, at, &entry, &quoted);
        if (arg.find_first_not_of(" \t", at) != std::string::npos) entry = arg, quoted = true;  // an unquoted label with blanks
        int index = -1;
        if (!EntryOf(it, entry, quoted, &index)) {
            std::string entries;
            for (size_t k = 0; k < it.labels.size(); ++k) entries += (k ? ", " : "") + std::to_string(k) + " " + Quote(it.labels[k]);
            return fail("no entry " + (quoted ? Quote(entry) : entry) + " in item " + std::to_string(number) +
                        (entries.empty() ? " (it is empty)" : " (its entries: " + entries + ")"));
        }
        it.state = index;
        Transcript("user: " + verb + " " + Quote(it.labels[index]) + " in item " + std::to_string(number));
        // A pop-up paired with a text box copies the entry into it, unless it is the placeholder.
        if (kind == FO_DlgPopUp && !IsPlaceholderEntry(it, index) && it.pair >= 0 &&
            it.pair < static_cast<int>(d.items.size()))
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
    if (kind != FO_DlgRadioButton) return fail("item " + std::to_string(number) + " is not a radio button");
    SetItemState(d, it, 1);
    Transcript("user: radio button " + Quote(it.label));
    Deliver(d, number, false);
    return true;
}

// The active document and its selected element (the element a selection starts at, or holds
// the insertion point); zeros when there is none.
struct Selected {
    F_ObjHandleT doc = 0, element = 0;
};

Selected SelectedNow() {
    Selected s;
    s.doc = TheSession().activeDoc;
    if (!s.doc || !Doc(s.doc)) return {};
    F_ElementRangeT range = F_ApiGetElementRange(0, s.doc, FP_ElementSelection);
    s.element = range.beg.childId ? range.beg.childId : range.beg.parentId;
    return s;
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
    const Selected before = SelectedNow();
    const unsigned long writes = ElementSelectionWrites();
    if (!ApplyDialogAction(*d, action, error)) return false;
    const Selected after = SelectedNow();
    // A command that selected an element (a match shown) or moved the selection says where.
    bool moved = after.doc != before.doc || after.element != before.element;
    if (after.element && (moved || ElementSelectionWrites() != writes)) {
        std::string line = "  selected " + ElementPath(after.doc, after.element);
        if (after.doc != before.doc)
            if (Document *doc = Doc(after.doc)) line += " in " + Quote(doc->label);
        Transcript(line);
    }
    return true;
}

std::string TakeDialogAnswerFailure() {
    std::string failure;
    failure.swap(AnswerFailure);
    return failure;
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
    host::TranscribeOpening(*d);
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
    if (!shown) host::TranscribeOpening(*d);
    return 0;
}

}  // extern "C"
