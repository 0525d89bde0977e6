// What the session benchmarks share: a folder for a session's files, a `qvhost run` session timed
// as a whole process, a libxml2 program timed in a fresh process, and the rounds that compare
// the two, each as a session with the operation minus the same session without it.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qvbench {

// A session's folder below the system's temporary folder, removed at the end: its files, its
// scripts and the plug-in's settings folder (`appdata`).
struct SessionFolder {
    std::filesystem::path dir;
    explicit SessionFolder(const std::string &name)
        : dir(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir);
    }
    ~SessionFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    SessionFolder(const SessionFolder &) = delete;
    SessionFolder &operator=(const SessionFolder &) = delete;

    void Write(const std::string &name, const std::string &text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    std::string Path(const std::string &name) const { return (dir / name).string(); }
};

inline double SecondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The seconds a `qvhost run SCRIPT` session takes in the folder (the plug-in's settings in its
// `appdata`); negative when it fails.
inline double SessionSeconds(const SessionFolder &f, const char *script) {
    const std::string bin = QV_BIN_DIR;
    const std::string command = "cd '" + f.dir.string() + "' && APPDATA='" + (f.dir / "appdata").string() + "' '" +
                                bin + "/qvhost' --quiet --plugin '" + bin + "/Quorvane_FM2020.so' run " + script +
                                " >/dev/null";
    auto t0 = std::chrono::steady_clock::now();
    int rc = std::system(command.c_str());
    double s = SecondsSince(t0);
    return rc == 0 ? s : -1;
}

// The seconds a fresh process (a fork of this one) takes to run `program`, which answers whether
// it worked; negative when it did not.
template <class Program>
double ProgramSeconds(Program &&program) {
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) _exit(program() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    double s = SecondsSince(t0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? s : -1;
}

// The best of the rounds of each of the four runs (the session with and without the operation,
// the libxml2 program with and without it) and the differences that count.
struct SessionRounds {
    double with = 1e300, without = 1e300, libWith = 1e300, libWithout = 1e300;
    double Ours() const { return with - without; }
    double Theirs() const { return libWith - libWithout; }
};

// Runs a round of the four per iteration, in turn; false (with the benchmark's error set) when
// one fails.
template <class Session, class Program>
bool RunSessionRounds(benchmark::State &state, SessionRounds &r, Session &&session, Program &&program) {
    for (auto _ : state) {
        double a = session(true), b = session(false), c = program(true), d = program(false);
        if (a < 0 || b < 0 || c < 0 || d < 0) {
            state.SkipWithError("a session or the libxml2 program failed");
            return false;
        }
        r.with = std::min(r.with, a);
        r.without = std::min(r.without, b);
        r.libWith = std::min(r.libWith, c);
        r.libWithout = std::min(r.libWithout, d);
    }
    return true;
}

}  // namespace qvbench
