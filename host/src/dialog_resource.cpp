// Dialog resource texts: parser and validator (see dialog_resource.h for the form).
#include "dialog_resource.h"

#include <cctype>
#include <set>

namespace host {
namespace {

struct KindName {
    int kind;
    const char *name;
};
const KindName kKindNames[] = {
    {kResGroupBox, "groupbox"}, {kResButton, "button"},         {kResPopUp, "popup"},
    {kResLabel, "label"},       {kResCheckBox, "checkbox"},     {kResScrollList, "scrolllist"},
    {kResTextBox, "textbox"},   {kResRadio, "radio"},           {kResImage, "image"},
};

// Splits one line into words; quoted words keep their blanks and take \" and \\ escapes.
// Returns false on an unterminated quote. quoted[i] tells whether word i was quoted.
bool SplitWords(const std::string &line, std::vector<std::string> *words, std::vector<bool> *quoted) {
    size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string w;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '\\' && i < line.size()) {
                    char e = line[i++];
                    w += e == 'n' ? '\n' : e;
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    w += c;
                }
            }
            if (!closed) return false;
            words->push_back(w);
            quoted->push_back(true);
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
            words->push_back(w);
            quoted->push_back(false);
        }
    }
    return true;
}

// Reads a whole decimal number (optional sign); false when the word is not one.
bool ReadInt(const std::string &w, int *out) {
    if (w.empty() || w.size() > 9) return false;
    size_t i = (w[0] == '-' || w[0] == '+') ? 1 : 0;
    if (i == w.size()) return false;
    int v = 0;
    for (; i < w.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(w[i]))) return false;
        v = v * 10 + (w[i] - '0');
    }
    *out = w[0] == '-' ? -v : v;
    return true;
}

}  // namespace

int ResourceKindFromName(const std::string &name) {
    for (const auto &k : kKindNames)
        if (name == k.name) return k.kind;
    return -1;
}

const char *ResourceKindName(int kind) {
    for (const auto &k : kKindNames)
        if (kind == k.kind) return k.name;
    return "?";
}

std::string DefaultHelpLink(int kind, bool threeState) {
    switch (kind) {
    case kResLabel:
    case kResGroupBox: return "-1";
    case kResButton:
    case kResScrollList: return "clnthelp:button";
    case kResTextBox: return "clnthelp:edit box";
    case kResPopUp: return "clnthelp:image popup";
    case kResRadio: return "clnthelp:radio";
    case kResCheckBox: return threeState ? "clnthelp:checkbox3" : "clnthelp:checkbox2";
    default: return "-1";
    }
}

bool ParseDialogResource(const std::string &text, DialogTemplate *out, std::string *error) {
    DialogTemplate t;
    int lineNo = 0;
    size_t pos = 0;
    auto fail = [&](const std::string &why) {
        *error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> w;
        std::vector<bool> q;
        if (!SplitWords(line, &w, &q)) return fail("unterminated quoted text");
        if (w.empty() || (!q[0] && w[0][0] == '#')) continue;
        const std::string &key = w[0];
        if (t.name.empty() && key != "dialog") return fail("the resource must begin with \"dialog NAME\"");
        auto needInts = [&](size_t n, std::vector<int *> dst) {
            if (w.size() != n + 1) return false;
            for (size_t i = 0; i < n; ++i)
                if (!ReadInt(w[i + 1], dst[i])) return false;
            return true;
        };
        if (key == "dialog") {
            if (!t.name.empty()) return fail("a second \"dialog\" line");
            if (w.size() != 2 || w[1].empty()) return fail("\"dialog\" takes one name");
            t.name = w[1];
        } else if (key == "title") {
            if (w.size() != 2) return fail("\"title\" takes one quoted text");
            t.title = w[1];
        } else if (key == "size") {
            if (!needInts(2, {&t.width, &t.height})) return fail("\"size\" takes two numbers");
        } else if (key == "position") {
            if (!needInts(2, {&t.x, &t.y})) return fail("\"position\" takes two numbers");
        } else if (key == "ok" || key == "cancel" || key == "default" || key == "focus" || key == "flag") {
            int *dst = key == "ok" ? &t.okItem
                       : key == "cancel" ? &t.cancelItem
                       : key == "default" ? &t.defaultItem
                       : key == "focus" ? &t.focusItem
                                        : &t.flag;
            if (!needInts(1, {dst})) return fail("\"" + key + "\" takes one number");
        } else if (key == "item") {
            ResourceItem it;
            it.line = lineNo;
            if (w.size() < 4) return fail("\"item\" takes a number, a kind and a quoted label");
            if (!ReadInt(w[1], &it.number)) return fail("bad item number \"" + w[1] + "\"");
            it.kind = ResourceKindFromName(w[2]);
            if (it.kind < 0) return fail("unknown item kind \"" + w[2] + "\"");
            if (!q[3]) return fail("the item's label must be quoted");
            it.label = w[3];
            bool pairSet = false, helpSet = false;
            for (size_t i = 4; i < w.size(); ++i) {
                const std::string &o = w[i];
                auto intArg = [&](int *dst) {
                    return i + 1 < w.size() && ReadInt(w[i + 1], dst) && (++i, true);
                };
                if (o == "pair") {
                    if (!intArg(&it.pair)) return fail("\"pair\" takes a number");
                    pairSet = true;
                } else if (o == "help") {
                    if (i + 1 >= w.size()) return fail("\"help\" takes a text");
                    it.help = w[++i];
                    helpSet = true;
                } else if (o == "hidden") {
                    it.hidden = true;
                } else if (o == "greyed") {
                    it.greyed = true;
                } else if (o == "threestate") {
                    it.threeState = true;
                } else if (o == "group") {
                    if (!intArg(&it.group)) return fail("\"group\" takes a number");
                } else if (o == "state") {
                    if (!intArg(&it.state)) return fail("\"state\" takes a number");
                } else if (o == "width") {
                    if (!intArg(&it.width)) return fail("\"width\" takes a number");
                } else if (o == "labels") {
                    while (i + 1 < w.size() && q[i + 1]) it.labels.push_back(w[++i]);
                } else {
                    return fail("unknown item option \"" + o + "\"");
                }
            }
            if (!pairSet)
                it.pair = (it.kind == kResLabel || it.kind == kResGroupBox || it.kind == kResButton) ? 0 : -1;
            if (!helpSet) it.help = DefaultHelpLink(it.kind, it.threeState);
            t.items.push_back(std::move(it));
        } else {
            return fail("unknown line \"" + key + "\"");
        }
    }
    if (t.name.empty()) {
        *error = "empty resource: no \"dialog NAME\" line";
        return false;
    }
    *out = std::move(t);
    return true;
}

std::vector<std::string> ValidateDialogTemplate(const DialogTemplate &t) {
    std::vector<std::string> problems;
    auto at = [](const ResourceItem &it) { return "item " + std::to_string(it.number) + " (line " + std::to_string(it.line) + ")"; };
    const int n = static_cast<int>(t.items.size());
    if (n == 0) problems.push_back("the dialog has no items");
    for (int i = 0; i < n; ++i)
        if (t.items[i].number != i)
            problems.push_back(at(t.items[i]) + ": item numbers must run 0, 1, 2, ... in order; expected " +
                               std::to_string(i));
    auto find = [&](int num) -> const ResourceItem * {
        return num >= 0 && num < n && t.items[num].number == num ? &t.items[num] : nullptr;
    };
    for (const auto &it : t.items) {
        const bool pairable = it.kind == kResTextBox || it.kind == kResPopUp;
        const bool noPair = it.kind == kResLabel || it.kind == kResGroupBox || it.kind == kResButton;
        if (noPair) {
            if (it.pair != 0) problems.push_back(at(it) + ": a " + ResourceKindName(it.kind) + " takes no pair");
        } else if (it.pair != -1) {
            const ResourceItem *other = find(it.pair);
            if (!pairable)
                problems.push_back(at(it) + ": only text boxes and pop-ups are paired");
            else if (!other)
                problems.push_back(at(it) + ": pairs with missing item " + std::to_string(it.pair));
            else if (other->pair != it.number)
                problems.push_back(at(it) + ": pairs with item " + std::to_string(it.pair) +
                                   ", which does not pair back");
            else if (other->kind == it.kind || !(other->kind == kResTextBox || other->kind == kResPopUp))
                problems.push_back(at(it) + ": a pair joins a text box and a pop-up");
        }
        if (!it.labels.empty() && it.kind != kResPopUp && it.kind != kResScrollList)
            problems.push_back(at(it) + ": only pop-ups and scroll lists have list labels");
        if (it.threeState && it.kind != kResCheckBox) problems.push_back(at(it) + ": only check boxes are three-state");
    }
    struct Ref {
        const char *what;
        int num;
        bool button;
    };
    for (const Ref &r : {Ref{"ok", t.okItem, true}, Ref{"cancel", t.cancelItem, true},
                         Ref{"default", t.defaultItem, true}, Ref{"focus", t.focusItem, false}}) {
        if (r.num == -1) continue;
        const ResourceItem *it = find(r.num);
        if (!it)
            problems.push_back(std::string("\"") + r.what + "\" names missing item " + std::to_string(r.num));
        else if (r.button && it->kind != kResButton)
            problems.push_back(std::string("\"") + r.what + "\" item " + std::to_string(r.num) + " is not a button");
    }
    return problems;
}

}  // namespace host
