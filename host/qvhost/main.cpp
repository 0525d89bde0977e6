// qvhost: the stand-in host program. It starts a host session of the version asked for, loads
// the plug-in module as a client, and plays a session script as the session's user.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "client.h"
#include "dialog.h"
#include "model.h"
#include "query.h"
#include "session.h"
#include "transcript.h"
#include "user.h"

namespace fs = std::filesystem;

namespace {

const char kUsage[] =
    R"(usage: qvhost [OPTIONS] run SCRIPT
       qvhost [--plugin MODULE] [--client-dir DIR] query DOCUMENT EXPRESSION [--flow NAME] [--start PATH]
                                                          [--values | --count]
       qvhost --help

Starts a host session, loads the plug-in module and plays SCRIPT as the session's user. The
transcript (everything the host shows its user and every answer) is printed as it grows.

Options:
  --plugin MODULE         the plug-in module (default: Quorvane_FM2020.so beside qvhost)
  --no-plugin             run the session without a plug-in
  --host-version V        the host's version: 16.0 (default) or 15.0
  --client-dir DIR        the plug-in's folder (default: the module's folder)
  --interactive           questions without a scripted answer are asked on this terminal
                          (alerts: y/n or o/c; prompts and choosers: a line, Enter for the
                          default, "." to cancel); without it they get the default policy
  --trace                 also record every call into the plug-in, and have the plug-in
                          announce its start-up steps on the console
  --quiet                 do not print the transcript as it grows
  --verbose               write every item of a dialog into the transcript when it opens
                          (without it, the opening is one line; print dialog shows the items)

Exit status: 0 when the script ran to its end, 1 (with a message naming the script line on
standard error) when a line failed, 2 for a bad command line or a module that does not load.

query prints each match of the XPath expression as its element path ("/doc[1]/sec[2]/@id");
--values adds a tab and the match's value (an element's text, an attribute's value), --count
prints only the number of matches. It exits 0 when something matched, 1 when nothing did, 2 for
a bad command line, a module that does not load, an expression that does not compile or a flow
or start element not found, 3 when the document cannot be opened; the message on standard
error. Its settings go below %APPDATA% when that is set, else into a temporary folder of its own
that is removed at exit.

A long operation's status box shows its lines in the transcript as they change; on a terminal
they also make one status line on standard error that rewrites itself and is cleared at the end.
)";

// The folder of the running program.
fs::path ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

int Usage(const std::string &why) {
    std::cerr << "qvhost: " << why << "\n" << kUsage;
    return 2;
}

// "16.0" or "15" -> major and minor; false when it is not a version.
bool ParseVersion(const std::string &text, IntT *major, IntT *minor) {
    size_t dot = text.find('.');
    std::string a = text.substr(0, dot), b = dot == std::string::npos ? "0" : text.substr(dot + 1);
    auto digits = [](const std::string &s) {
        return !s.empty() && s.size() < 4 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(a) || !digits(b)) return false;
    *major = std::stoi(a);
    *minor = std::stoi(b);
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (int status = QueryCommandIfAsked(argc, argv); status >= 0) return status;
    std::string plugin = (ProgramFolder() / "Quorvane_FM2020.so").string();
    std::string clientDir, script, version = "16.0";
    bool usePlugin = true, interactive = false, trace = false, quiet = false, verbose = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string *out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << "\n" << SessionHelp();
            return 0;
        } else if (arg == "--plugin") {
            if (!value(&plugin)) return Usage("--plugin needs a module");
        } else if (arg == "--no-plugin") {
            usePlugin = false;
        } else if (arg == "--host-version") {
            if (!value(&version)) return Usage("--host-version needs a version");
        } else if (arg == "--client-dir") {
            if (!value(&clientDir)) return Usage("--client-dir needs a folder");
        } else if (arg == "--interactive") {
            interactive = true;
        } else if (arg == "--trace") {
            trace = true;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "run") {
            if (!value(&script)) return Usage("run needs a script");
            if (i + 1 != argc) return Usage("nothing may follow the script");
        } else {
            return Usage("unknown argument \"" + arg + "\"");
        }
    }
    if (script.empty()) return Usage("no script to run");

    IntT major = 0, minor = 0;
    if (!ParseVersion(version, &major, &minor) || (major != 16 && major != 15))
        return Usage("the host version is 16.0 or 15.0, not \"" + version + "\"");
    host::TheSession().versionMajor = major;
    host::TheSession().versionMinor = minor;
    host::SetTranscriptEcho(!quiet);
    host::SetUserTerminal(interactive);
    host::SetBindingTrace(trace);
    host::SetDialogsVerbose(verbose);
    if (trace) ::setenv("QV_TRACE", "1", 1);

    host::Transcript("host: version " + std::to_string(major) + "." + std::to_string(minor));
    // The plug-in starts once the answers the script begins with are queued.
    auto start = [&](std::string *why) {
        if (!usePlugin) return true;
        std::error_code ec;
        std::string dir = clientDir.empty() ? "" : fs::absolute(clientDir, ec).string();
        host::Client *client = host::LoadClientModule(plugin, dir, why);
        if (!client) return false;
        std::string line = "host: loaded client \"" + host::ClientName(client) + "\" from " +
                           fs::path(plugin).filename().string();
        auto target = reinterpret_cast<int (*)(void)>(host::ClientModuleSymbol(client, "qv_TargetHostMajorVersion"));
        if (target) {
            int built = target();
            line += ", built for host major version " + std::to_string(built);
            if (built != major) line += " (the host's is " + std::to_string(major) + ": versions differ)";
        }
        host::Transcript(line);
        return true;
    };

    std::string error;
    int status = RunSessionScript(script, &error, start);
    host::EndProgress();
    if (status != 0) std::cerr << "qvhost: " << error << "\n";
    std::cout.flush();
    return status;
}
