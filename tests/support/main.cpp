// The test program's entry point. Every test of the program runs in one process (CTest starts one
// test per process, scripts/test also runs them all in one, in order and shuffled), so the program
// itself gives each test the same starting point and keeps the user's machine out of reach:
// - a private folder for the whole run, removed at exit, holding the temporary folder (TMPDIR),
//   a home folder (HOME) and a settled settings root (APPDATA: a copy of the one the build
//   prepares, a user who has started this version before);
// - before each test, the host starts a new session (no client loaded, no document open, empty
//   clipboard, transcript and answers, the standard menus) and the plug-in's state is reset to
//   that of a module just loaded (om_ResetPluginState, which includes om_ResetRunState);
// - after each test, the environment and the working folder are compared with what they were
//   before it: a test that leaves a change behind is named, the change is undone, and the program
//   fails.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "client.h"
#include "clipboard.h"
#include "fdk.h"
#include "lib/run_state.h"
#include "menus.h"
#include "model.h"
#include "safe_save.h"
#include "text_props.h"
#include "transcript.h"
#include "user.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> EnvironmentNow() {
    std::map<std::string, std::string> env;
    for (char **e = environ; e && *e; ++e) {
        std::string entry = *e;
        size_t eq = entry.find('=');
        if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    return env;
}

void RestoreEnvironment(const std::map<std::string, std::string> &before) {
    for (const auto &[name, value] : EnvironmentNow())
        if (!before.count(name)) ::unsetenv(name.c_str());
    for (const auto &[name, value] : before) ::setenv(name.c_str(), value.c_str(), 1);
}

class PrivateFolders : public ::testing::Environment {
public:
    void SetUp() override {
        saved_ = EnvironmentNow();
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv_tests.XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data())) {
            std::cerr << "qv_tests: cannot make a private folder from " << pattern << "\n";
            std::exit(2);
        }
        root_ = name.data();
        fs::create_directories(root_ / "tmp");
        fs::create_directories(root_ / "home");
        fs::copy(QV_SETTLED_APPDATA, root_ / "appdata", fs::copy_options::recursive);
        ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        ::setenv("HOME", (root_ / "home").c_str(), 1);
        ::setenv("APPDATA", (root_ / "appdata").c_str(), 1);
    }
    void TearDown() override {
        RestoreEnvironment(saved_);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

private:
    fs::path root_;
    std::map<std::string, std::string> saved_;
};

// What a test finds when it starts: a host as qvhost starts it, before any plug-in is loaded.
void StartFreshHost() {
    host::ResetClients();
    host::ResetSession();
    host::ResetMenus();
    host::ResetClipboard();
    host::ResetTextProps();
    host::ResetUser();
    host::ClearTranscript();
    host::safesave::FailNextForTest(host::safesave::Step::None, 0);
    FA_errno = 0;
}

class Isolation : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo &) override {
        env_ = EnvironmentNow();
        std::error_code ec;
        cwd_ = fs::current_path(ec);
        StartFreshHost();
        om_ResetPluginState();
    }
    void OnTestEnd(const ::testing::TestInfo &info) override {
        std::string test = std::string(info.test_suite_name()) + "." + info.name();
        std::map<std::string, std::string> now = EnvironmentNow();
        for (const auto &[name, value] : now) {
            auto was = env_.find(name);
            if (was == env_.end()) Leak(test, "sets " + name);
            else if (was->second != value) Leak(test, "changes " + name);
        }
        for (const auto &[name, value] : env_)
            if (!now.count(name)) Leak(test, "unsets " + name);
        RestoreEnvironment(env_);
        std::error_code ec;
        if (fs::current_path(ec) != cwd_) {
            Leak(test, "changes the working folder");
            fs::current_path(cwd_, ec);
        }
    }
    const std::vector<std::string> &Leaks() const { return leaks_; }

private:
    void Leak(const std::string &test, const std::string &what) {
        leaks_.push_back(test + " " + what + " and leaves it so");
        std::cerr << "qv_tests: " << leaks_.back() << "\n";
    }
    std::map<std::string, std::string> env_;
    fs::path cwd_;
    std::vector<std::string> leaks_;
};

}  // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PrivateFolders);  // gtest owns both
    auto *isolation = new Isolation;
    ::testing::UnitTest::GetInstance()->listeners().Append(isolation);
    int result = RUN_ALL_TESTS();
    if (!isolation->Leaks().empty()) {
        std::cerr << "qv_tests: " << isolation->Leaks().size() << " test(s) leave the environment changed:\n";
        for (const std::string &leak : isolation->Leaks()) std::cerr << "  " << leak << "\n";
        return 1;
    }
    return result;
}
