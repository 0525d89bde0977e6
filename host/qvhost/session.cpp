// qvhost's session scripts: reading the lines, the table of commands, and playing them against
// the host (the user's actions, scripted answers, checks and printouts).
#include "session.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <utility>

#include "client.h"
#include "dialog.h"
#include "menus.h"
#include "model.h"
#include "paths.h"
#include "tree_print.h"
#include "transcript.h"
#include "user.h"
#include "user_actions.h"

namespace fs = std::filesystem;

namespace {

struct Script {
    std::string path;
    fs::path folder;  // relative file names are taken from here
    int line = 0;
    bool quit = false;
    std::string delimiter = "---";  // the plug-in's client-call field delimiter
    bool started = false;           // the plug-in has started
};

using Words = std::vector<std::string>;
using Handler = bool (*)(Script &, const Words &args, const std::string &rest, std::string *error);

struct Command {
    const char *name;
    int minArgs;
    int maxArgs;  // -1: any
    bool action;  // a user action: shown in the transcript as "user: LINE"
    Handler run;
};

bool Refuse(std::string *error, const std::string &why) {
    *error = why;
    return false;
}

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A script's file name in Windows form: kept when it has a drive ("C:\..."), else taken from
// the script's folder.
std::string HostPath(const Script &s, const std::string &name) {
    if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') return name;
    fs::path p(name);
    if (p.is_relative()) p = s.folder / p;
    return host::WindowsPath(p.lexically_normal().string());
}

bool ParseInt(const std::string &text, IntT *out) {
    if (text.empty()) return false;
    size_t i = (text[0] == '-') ? 1 : 0;
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483647LL) return false;
    }
    *out = static_cast<IntT>(text[0] == '-' ? -v : v);
    return true;
}

std::string Origin(const Script &s) { return s.path + ":" + std::to_string(s.line); }

F_ObjHandleT DocumentArg(const Words &args, size_t at, std::string *error) {
    std::string name = args.size() > at ? args[at] : "";
    F_ObjHandleT doc = host::FindOpenDocument(name);
    if (!doc) *error = name.empty() ? "no document is active" : "no open document \"" + name + "\"";
    return doc;
}

std::string Joined() {
    const auto &lines = host::TranscriptLines();
    size_t size = 0;
    for (const auto &l : lines) size += l.size() + 1;
    std::string all;
    all.reserve(size);
    for (const auto &l : lines) all.append(l).push_back('\n');
    return all;
}

// ---- documents and structure -----------------------------------------------------------------

bool Open(Script &s, const Words &a, const std::string &, std::string *error) {
    if (a.size() == 2 && a[1] != "hidden") return Refuse(error, "open takes a file and optionally \"hidden\"");
    return host::UserOpen(HostPath(s, a[0]), a.size() == 1, error) != 0;
}

bool Close(Script &, const Words &a, const std::string &, std::string *error) {
    F_ObjHandleT doc = DocumentArg(a, 0, error);
    return doc && host::UserClose(doc, error);
}

bool Save(Script &, const Words &a, const std::string &, std::string *error) {
    F_ObjHandleT doc = DocumentArg(a, 0, error);
    return doc && host::UserSave(doc, error);
}

bool SaveAs(Script &s, const Words &a, const std::string &, std::string *error) {
    int format = -1;
    if (a.size() > 1) {
        std::string f = Lower(a[1]);
        if (f == "xml") format = FV_SaveFmtXml;
        else if (f == "native") format = FV_SaveFmtBinary;
        else if (f == "text") format = FV_SaveFmtText;
        else return Refuse(error, "save-as formats are xml, native and text, not \"" + a[1] + "\"");
    }
    F_ObjHandleT doc = DocumentArg(a, 2, error);
    return doc && host::UserSaveAs(doc, HostPath(s, a[0]), format, error);
}

bool Activate(Script &, const Words &a, const std::string &, std::string *error) {
    F_ObjHandleT doc = DocumentArg(a, 0, error);
    return doc && host::UserActivate(doc, error);
}

bool Select(Script &, const Words &a, const std::string &, std::string *error) {
    return host::UserSelect(a[0], error) != 0;
}

bool DoubleClick(Script &, const Words &a, const std::string &, std::string *error) {
    return host::UserDoubleClick(a[0], error) != 0;
}

bool Insert(Script &, const Words &a, const std::string &, std::string *error) {
    return host::UserInsertElement(a[0], error) != 0;
}

bool SetAttribute(Script &, const Words &a, const std::string &, std::string *error) {
    return host::UserSetAttribute(a[0], Words(a.begin() + 1, a.end()), error);
}

bool Function(Script &, const Words &a, const std::string &, std::string *error) {
    IntT code = 0;
    if (!ParseInt(a[0], &code)) return Refuse(error, "a function code is a number, not \"" + a[0] + "\"");
    return host::UserFunction(code, error);
}

bool FollowLink(Script &, const Words &a, const std::string &, std::string *error) {
    IntT n = 1;
    if (!a.empty() && (!ParseInt(a[0], &n) || n < 1)) return Refuse(error, "follow-link takes a link number from 1");
    return host::UserFollowLink(static_cast<size_t>(n), error);
}

bool Quit(Script &s, const Words &, const std::string &, std::string *) {
    host::UserQuit();
    s.quit = true;
    return true;
}

// ---- the plug-in -----------------------------------------------------------------------------

bool ChooseCommand(Script &, const Words &a, const std::string &, std::string *error) {
    return host::ChooseCommand(a[0], error);
}

bool Shortcut(Script &, const Words &a, const std::string &, std::string *error) {
    return host::ChooseShortcut(a[0], error);
}

// A client call's answer as the plug-in's call interface means it for that call: a status code
// by its name, or the value it carries: an object id, a sequence number or an attribute index
// (sent with 100 added), a parameter's value or byte.
std::string CallAnswerName(const std::string &message, const std::string &delimiter, IntT answer) {
    std::string call = Lower(message.substr(0, message.find(delimiter)));
    const std::string rest = message.size() > call.size() ? Lower(message.substr(call.size() + delimiter.size())) : "";
    auto is = [&](std::initializer_list<const char *> names) {
        for (const char *n : names)
            if (call == n) return true;
        return false;
    };
    static const std::pair<IntT, const char *> kStatus[] = {
        {0, "done"},          {1, "unknown call"},          {2, "wrong number of fields"},
        {3, "does not compile"}, {4, "no such sequence"},   {5, "no scripts document"},
        {6, "no such document"}, {7, "no such flow"},       {8, "no such script"},
        {9, "the script failed"}, {20, "unknown parameter"},
    };
    auto status = [&]() -> std::string {
        for (const auto &[code, name] : kStatus)
            if (code == answer) return name;
        return "code " + std::to_string(answer);
    };
    auto n = [](IntT v) { return std::to_string(v); };
    if (call.empty()) return answer == 1 ? "empty call" : status();
    if (call.rfind("changecalldelimiter", 0) == 0) return answer == 1 ? "delimiter changed" : status();
    if (is({"clearscriptparms"})) return answer == 1 ? "parameters cleared" : status();
    if (is({"reportallocatedhandlers"})) return n(answer) + " records";
    if (is({"parsexpath"})) return answer >= 100 ? "sequence " + n(answer - 100) : status();
    if (is({"findnextnode"})) {
        if (answer == 0) return "no further match";
        return answer == 4 || answer == 6 || answer == 7 ? status() : "id " + n(answer);
    }
    if (is({"retrieveattrmatch", "retrieveattributematch"}))
        return answer == 99 ? "no attribute" : answer >= 100 ? "attribute index " + n(answer - 100) : status();
    if (is({"retrievefilematch", "retrievedocmatch"})) return answer == 4 ? status() : "id " + n(answer);
    if (is({"transformfile"})) return answer >= 100 ? "id " + n(answer) : answer == 6 ? status() : "code " + n(answer);
    if (is({"getscriptparmbyte"})) return answer == 100 ? "the end" : answer > 100 ? "byte " + n(answer - 100) : status();
    if (is({"getappparm"})) {
        if (answer == 5 || answer == 20) return status();
        return rest.find("version") != std::string::npos ? "value " + n(answer - 100) : "id " + n(answer);
    }
    return status();
}

bool CallClient(Script &s, const Words &a, const std::string &, std::string *error) {
    FA_errno = 0;
    IntT answer = F_ApiCallClient(a[0].c_str(), a.size() > 1 ? a[1].c_str() : "");
    if (answer == -1 && FA_errno) return Refuse(error, "no client \"" + a[0] + "\" takes client calls");
    std::string message = a.size() > 1 ? a[1] : "";
    host::Transcript("client call " + a[0] + " answered " + std::to_string(answer) + " (" +
                     CallAnswerName(message, s.delimiter, answer) + ")");
    // The plug-in's field delimiter, followed so that later answers are read for their call.
    if (answer == 1 && Lower(message).rfind("changecalldelimiter", 0) == 0 && message.size() > 19)
        s.delimiter = message.substr(19);
    return true;
}

// Runs a library operation the plug-in module exports as "qv_Library" + NAME with one text
// argument (a file or folder, taken from the script's folder like open's; "" without one).
bool Library(Script &s, const Words &a, const std::string &, std::string *error) {
    using Entry = IntT (*)(ConStringT);
    Entry entry = nullptr;
    for (host::Client *c : host::Clients())
        if (!entry) entry = reinterpret_cast<Entry>(host::ClientModuleSymbol(c, "qv_Library" + a[0]));
    if (!entry) return Refuse(error, "no module offers the library operation \"" + a[0] + "\"");
    std::string argument = a.size() > 1 ? HostPath(s, a[1]) : "";
    IntT answer = entry(argument.c_str());
    host::Transcript("library " + a[0] + " answered " + std::to_string(answer));
    return true;
}

// Each word after the resource is one action, done in order; the first that cannot be done
// fails the line.
bool DialogAction(Script &, const Words &a, const std::string &, std::string *error) {
    for (size_t i = 1; i < a.size(); ++i)
        if (!host::CheckDialogAction(a[i], error)) {
            if (a.size() > 2) *error += " (each word after the resource is one action: quote each)";
            return false;
        }
    for (size_t i = 1; i < a.size(); ++i)
        if (!host::UserDialogAction(a[0], a[i], error)) {
            if (a.size() > 2) *error = "\"" + a[i] + "\": " + *error;
            return false;
        }
    return true;
}

// ---- scripted answers ------------------------------------------------------------------------

bool Answer(Script &s, const Words &a, const std::string &, std::string *error) {
    const std::string &kind = a[0];
    if (kind == "start") {
        if (a.size() != 2 || (Lower(a[1]) != "yes" && Lower(a[1]) != "no"))
            return Refuse(error, "answer start takes yes or no");
        if (s.started) return Refuse(error, "answer start belongs before the first line that is not an answer");
        host::UserAnswer answer;
        answer.kind = "alert";
        answer.value = Lower(a[1]);
        answer.startOnly = true;
        host::QueueAnswer(answer);
        return true;
    }
    if (kind == "alert") {
        // Each answer word may be followed by a text: that answer waits for an alert showing it.
        std::vector<host::UserAnswer> answers;
        for (size_t i = 1; i < a.size(); ++i) {
            std::string v = Lower(a[i]);
            if (v != "ok" && v != "yes" && v != "no" && v != "cancel" && v != "fail") {
                if (answers.empty() || !answers.back().match.empty() || a[i].empty())
                    return Refuse(error, "alert answers are ok, yes, no, cancel and fail, each optionally followed by "
                                         "the alert's text, not \"" + a[i] + "\"");
                answers.back().match = a[i];
                continue;
            }
            host::UserAnswer answer;
            answer.kind = "alert";
            answer.value = v;
            answers.push_back(answer);
        }
        if (answers.empty()) return Refuse(error, "answer alert takes ok, yes, no, cancel or fail");
        for (auto &answer : answers) host::QueueAnswer(answer);
        return true;
    }
    if (kind == "prompt" || kind == "choose") {
        if (a.size() != 2) return Refuse(error, "answer " + kind + " takes one text (or --cancel)");
        host::UserAnswer answer;
        answer.kind = kind;
        if (a[1] == "--cancel") answer.cancel = true;
        else if (a[1] == "--default" && kind == "prompt") answer.useDefault = true;
        else answer.value = kind == "choose" ? HostPath(s, a[1]) : a[1];
        host::QueueAnswer(answer);
        return true;
    }
    if (kind == "dialog") {
        if (a.size() < 3) return Refuse(error, "answer dialog takes a resource (or -) and its actions");
        for (size_t i = 2; i < a.size(); ++i)
            if (!host::CheckDialogAction(a[i], error)) {
                if (a.size() > 3) *error += " (each word after the resource is one action: quote each)";
                return false;
            }
        host::QueueDialogActions(a[1] == "-" ? "" : a[1], Words(a.begin() + 2, a.end()));
        return true;
    }
    return Refuse(error, "answers are for an alert, prompt, choose or dialog, not \"" + kind + "\"");
}

bool Esc(Script &, const Words &a, const std::string &, std::string *error) {
    IntT n = 1;
    if (!a.empty() && (!ParseInt(a[0], &n) || n < 1)) return Refuse(error, "esc takes a poll number from 1");
    host::EscOnPoll(n);
    return true;
}

// ---- printing and checks ---------------------------------------------------------------------

bool Print(Script &, const Words &a, const std::string &, std::string *error) {
    const std::string what = a[0];
    std::vector<std::string> lines;
    if (what != "tree" && what != "dialog" && a.size() > 1) return Refuse(error, "only print tree takes a document");
    if (what == "dialog") {
        host::Dialog *d = a.size() > 1 ? host::FindDialog(host::FindOpenDialogByResource(a[1])) : nullptr;
        if (!d) return Refuse(error, "print dialog takes the resource of an open dialog");
        lines = host::DescribeDialog(*d);
    } else if (what == "tree") {
        F_ObjHandleT doc = DocumentArg(a, 1, error);
        if (!doc) return false;
        lines = host::ElementTreeLines(doc);
    } else if (what == "documents") {
        for (F_ObjHandleT id : host::TheSession().openDocs) {
            host::Document *d = host::Doc(id);
            if (!d) continue;
            std::string line = "document \"" + d->label + "\" path \"" + d->path + "\"";
            if (id == host::TheSession().activeDoc) line += " active";
            if (!d->visible) line += " hidden";
            lines.push_back(line);
        }
        if (lines.empty()) lines.push_back("no open documents");
    } else if (what == "transcript") {
        lines = host::TranscriptLines();
    } else if (what == "menus") {
        lines = host::MenuTree();
    } else if (what == "clients") {
        for (host::Client *c : host::Clients()) {
            std::string line = "client \"" + host::ClientName(c) + "\" notifications";
            for (IntT code : host::ClientNotifications(c)) {
                std::string name = host::NotificationName(code);
                line += " " + (name.empty() ? std::string() : name + " ") + "(" + std::to_string(code) + ")";
            }
            lines.push_back(line);
        }
    } else {
        return Refuse(error, "print tree, dialog, documents, transcript, menus or clients, not \"" + what + "\"");
    }
    for (const auto &l : lines) std::cout << l << "\n";
    std::cout.flush();
    return true;
}

bool Note(Script &, const Words &, const std::string &rest, std::string *) {
    host::Transcript("note: " + rest);
    return true;
}

bool ExpectTranscript(Script &, const Words &, const std::string &rest, std::string *error) {
    if (Joined().find(rest) == std::string::npos) return Refuse(error, "the transcript does not show: " + rest);
    return true;
}

bool ExpectNoTranscript(Script &, const Words &, const std::string &rest, std::string *error) {
    if (Joined().find(rest) != std::string::npos) return Refuse(error, "the transcript shows: " + rest);
    return true;
}

bool ExpectDocument(Script &, const Words &a, const std::string &, std::string *error) {
    if (!host::FindOpenDocument(a[0])) return Refuse(error, "no open document \"" + a[0] + "\"");
    return true;
}

bool ExpectNoDocument(Script &, const Words &a, const std::string &, std::string *error) {
    if (host::FindOpenDocument(a[0])) return Refuse(error, "the document \"" + a[0] + "\" is open");
    return true;
}

const Command kCommands[] = {
    {"open", 1, 2, true, Open},
    {"close", 0, 1, true, Close},
    {"save", 0, 1, true, Save},
    {"save-as", 1, 3, true, SaveAs},
    {"activate", 1, 1, true, Activate},
    {"select", 1, 1, true, Select},
    {"insert", 1, 1, true, Insert},
    {"double-click", 1, 1, true, DoubleClick},
    {"set-attribute", 1, -1, true, SetAttribute},
    {"function", 1, 1, true, Function},
    {"command", 1, 1, true, ChooseCommand},
    {"shortcut", 1, 1, true, Shortcut},
    {"call-client", 1, 2, true, CallClient},
    {"library", 1, 2, true, Library},
    {"dialog", 2, -1, true, DialogAction},
    {"follow-link", 0, 1, true, FollowLink},
    {"quit", 0, 0, true, Quit},
    {"answer", 1, -1, false, Answer},
    {"esc", 0, 1, false, Esc},
    {"print", 1, 2, false, Print},
    {"note", 0, -1, false, Note},
    {"expect-transcript", 1, -1, false, ExpectTranscript},
    {"expect-no-transcript", 1, -1, false, ExpectNoTranscript},
    {"expect-document", 1, 1, false, ExpectDocument},
    {"expect-no-document", 1, 1, false, ExpectNoDocument},
};

std::string Trim(const std::string &s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Plays one line; false with *error when it fails.
bool PlayLine(Script &s, const std::string &raw, std::string *error) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return true;
    Words words;
    if (!SplitWords(line, words, error)) return false;
    // "try COMMAND ...": a refusal is recorded in the transcript and the session goes on.
    if (words[0] == "try" && words.size() > 1) {
        std::string inner = Trim(line.substr(3));
        if (!PlayLine(s, inner, error)) host::Transcript("refused: " + *error);
        return true;
    }
    std::string name = words[0];
    std::string rest = Trim(line.substr(line.find(name) + name.size()));
    Words args(words.begin() + 1, words.end());
    for (const Command &c : kCommands) {
        if (name != c.name) continue;
        int n = static_cast<int>(args.size());
        if (n < c.minArgs || (c.maxArgs >= 0 && n > c.maxArgs))
            return Refuse(error, "wrong number of words for \"" + name + "\" (see qvhost --help)");
        if (c.action) host::Transcript("user: " + line);
        bool done = c.run(s, args, rest, error);
        // A scripted modal dialog action that could not be done fails the line that opened it.
        if (std::string failure = host::TakeDialogAnswerFailure(); !failure.empty() && done) return Refuse(error, failure);
        return done;
    }
    return Refuse(error, "unknown command \"" + name + "\" (see qvhost --help)");
}

}  // namespace

bool SplitWords(const std::string &line, std::vector<std::string> &words, std::string *error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
                word += c;
            }
            if (!closed) return Refuse(error, "a quoted text is not closed");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

// True for a line that only prepares what is to come (answers, Esc presses, comments).
bool IsPreparation(const std::string &raw) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') return true;
    std::vector<std::string> words;
    std::string ignored;
    if (!SplitWords(line, words, &ignored) || words.empty()) return false;
    return words[0] == "answer" || words[0] == "esc";
}

// Starts the plug-in. Its first start asks a question only while the settings folder is new: an
// "answer start" the start did not use is dropped (and written so), so that one script runs the
// first time and every time after.
bool StartPlugin(const std::function<bool(std::string *)> &start, std::string *why) {
    if (!start(why)) return false;
    while (!host::PendingAnswers().empty() && host::PendingAnswers().front().startOnly) {
        std::string origin = host::PendingAnswers().front().origin;
        host::TakeAnswer("alert");
        host::Transcript("host: the plug-in's start asked no question; the start answer" +
                         (origin.empty() ? std::string() : " of " + origin) + " is not used");
    }
    return true;
}

int RunSessionScript(const std::string &scriptPath, std::string *error,
                     const std::function<bool(std::string *)> &start) {
    std::ifstream in(scriptPath);
    if (!in) {
        *error = "cannot read the script " + scriptPath;
        return 1;
    }
    Script s;
    s.path = scriptPath;
    std::error_code ec;
    s.folder = fs::absolute(scriptPath, ec).parent_path();
    std::string raw, why;
    bool &started = s.started;
    started = !start;
    while (!s.quit && std::getline(in, raw)) {
        ++s.line;
        if (!started && !IsPreparation(raw)) {
            started = true;
            host::SetAnswerOrigin("");
            if (!StartPlugin(start, &why)) {
                *error = why;
                return 2;
            }
        }
        host::SetAnswerOrigin(Origin(s));
        if (!PlayLine(s, raw, &why)) {
            *error = Origin(s) + ": " + why;
            return 1;
        }
    }
    host::SetAnswerOrigin("");
    if (!started && !StartPlugin(start, &why)) {
        *error = why;
        return 2;
    }
    if (!s.quit) host::UserQuit();
    if (std::string failure = host::TakeDialogAnswerFailure(); !failure.empty()) {
        *error = s.path + ": " + failure;
        return 1;
    }
    if (!host::PendingAnswers().empty()) {
        const host::UserAnswer &a = host::PendingAnswers().front();
        *error = (a.origin.empty() ? s.path : a.origin) + ": the scripted " + a.kind + " answer was never asked for";
        return 1;
    }
    if (host::PendingEscPresses() > 0) {
        *error = s.path + ": a scripted Esc was never polled";
        return 1;
    }
    return 0;
}

const char *SessionHelp() {
    return R"help(Session scripts: one command per line; blanks separate words, "double quotes" group
them (\" and \\ inside quotes); a line starting with # is a comment. File names are taken from
the script's folder unless they have a drive ("Z:\home\u\a.fm"). The first failing line stops
the session with a message naming the script line, and qvhost exits with status 1.

The user's actions (each shown in the transcript as "user: LINE", and raising the notifications
the host raises for it):
  open FILE [hidden]          open a document (.fm native, .xml plain XML; PostOpenDoc or
                              PostOpenXML); a visible one becomes the active document
  close [DOC]                 close the active document, or DOC (its label or path)
                              (PreQuitDoc, PostQuitDoc)
  save [DOC]                  save in place
  save-as FILE [xml|native|text] [DOC]
                              Save As (PreFunction and PostFunction with 785 around it); the
                              format follows the file's ending unless given
  activate DOC                make DOC the active document (PostActiveDocChange)
  select /Tag[n]/Tag...       select an element of the active document by its tags (n counts
                              siblings of that tag from 1)
  double-click /Tag[n]/Tag    double-click an element of the active document: it is selected
                              (PreMouseCommand with a double click, PostMouseCommand)
  insert TAG                  insert a TAG element as the last child of the selected element
                              and select it (PreInsertElement, PostInsertElement)
  set-attribute NAME [VALUE...]   set an attribute of the selected element (PostSetAttrValue)
  function CODE               run a host function code (PreFunction, PostFunction)
  command NAME                choose a command by its name (the plug-in's F_ApiCommand)
  shortcut KEYS               press the shortcut bound to a command
  call-client NAME [MESSAGE]  another client calls NAME; its answer goes to the transcript,
                              labelled for the call: a code by its name, "id N",
                              "sequence N", "attribute index N", "value N", "byte N"
  library NAME [PATH]         run the library operation the module exports as qv_LibraryNAME
                              (BookWordCount, DocWordCount, BookSaveAsRenamed FOLDER,
                              XRefSourceFilesLowerCase) on the active book or document
  dialog RESOURCE ACTION...   act on a shown modeless dialog: each word after the resource is
                              one quoted action (see answer dialog), done in order; a Match
                              First, Match Next, <<, >> or jump that selects an element writes
                              "  selected PATH"
  follow-link [N]             click the N-th Hypertext link (default 1) of the active document
                              (an error report's entry): "openObjectId PATH:5 ID" brings PATH
                              forward (opening it when needed) and selects its element with
                              unique id ID; a link that leads nowhere is written as stale
  quit                        quit the session (PreQuitSession); the script ends here
  try COMMAND ...             run COMMAND; when it fails, write "refused: WHY" into the
                              transcript and go on (a file the host refuses to open, ...)

Answers for the questions to come (taken in order; each question takes the next answer only
when it is of its kind; unasked answers at the end are an error). Without one, a question is
answered by the default policy: Cancel or No, OK for a message, Cancel for prompts and choosers.
The plug-in starts just before the first line that is not an answer, an Esc or a comment, so
the answers a script begins with answer the plug-in's start-up questions.
  answer start yes|no         the first start's question (asked while the settings folder is
                              new); at the top of a script only; when the start asks nothing
                              it is left unused and written so, not an error
  answer alert ok|yes|no|cancel|fail [TEXT] ...
                              the next alerts ("fail": the alert call fails); an answer followed
                              by a TEXT waits for the alert whose text contains TEXT: alerts
                              before it get the default policy, written "(default; the scripted
                              answer waits for ...)"
  answer prompt TEXT|--default|--cancel    the next string prompt
  answer choose FILE|--cancel              the next file or folder chooser
  answer dialog RESOURCE|- ACTION...       the next modal dialog (- for any); one quoted action
                              per word: "press N", "enter", "type N TEXT", "close",
                              "choose N K", "dblclick N K", "check N [S]", "radio N", "refresh".
                              An action that cannot be done fails the line that opened the
                              dialog (with try: the line is refused, the session goes on)
  esc [N]                     Esc is pressed before the N-th Esc poll from now (default 1)

Items by number or label: N is an item's number or its label as the user reads it, quoted when
it has blanks ("press \"Match All\""), "&" and case ignored, a colon after it too. A text box,
list or pop-up is named by the label item just before it; where one label names several items,
the action decides: "choose \"Element action\" \"Retag as\"" takes the pop-up, "type
\"Element action\" TEXT" the text box. K is an entry's number (from 0) or its label. A label
naming no item or several fails and lists the candidates with their numbers; a line whose
action cannot be read fails before any of its actions is done.

Output and checks:
  print documents|transcript|menus|clients
  print dialog RESOURCE       the open dialog made from RESOURCE as the user sees it now, every
                              item with its number (a dialog's opening is one line in the
                              transcript; qvhost --verbose writes its items there too)
  print tree [DOC]            the element tree of the active document, or DOC: one element per
                              line, indented by level, with its attributes (name="value") and
                              the quoted text of text nodes; other flows follow their name
  note TEXT                   write TEXT into the transcript
  expect-transcript TEXT      fail unless the transcript shows TEXT (anywhere in a line)
  expect-no-transcript TEXT   fail when it does
  expect-document DOC         fail unless DOC (label or path) is open
  expect-no-document DOC      fail when it is

A progress display (a status box, the transformation's progress palette) writes each line the
plug-in sets as "status \"TITLE\" N: \"TEXT\"" (N: the line's item number).

At the end of the script the session quits (PreQuitSession) unless the script did.
)help";
}
