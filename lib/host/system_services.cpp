// The plug-in's platform layer: programs, the copy/xcopy/mkdir commands, file tests, plain line
// files, the environment, the clock, the stopwatch and numbers. See system_services.h.
#include "lib/host/system_services.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/strings/search.h"
#include "lib/run_state.h"

extern char **environ;

namespace fs = std::filesystem;

namespace qv::sys {
namespace {

Launcher &CurrentLauncher() {
    static Launcher launcher;
    return launcher;
}
std::function<std::time_t()> &CurrentClock() {
    static std::function<std::time_t()> clock;
    return clock;
}
std::function<int()> &CurrentRandom() {
    static std::function<int()> random;
    return random;
}

// Starts the program (found on PATH when it names no folder) without a shell.
int Spawn(const std::string &program, const std::vector<std::string> &args, pid_t *pid) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char *> cargv;
    for (std::string &a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    return posix_spawnp(pid, program.c_str(), nullptr, nullptr, cargv.data(), environ);
}

int DefaultLaunch(const std::string &program, const std::vector<std::string> &args) {
    pid_t pid;
    return Spawn(program, args, &pid);
}

// Restores FA_errno around host calls the platform layer makes for itself.
struct KeepErrno {
    IntT saved = FA_errno;
    ~KeepErrno() { FA_errno = saved; }
};

std::string ConvertPath(std::string_view path, IntT fromPlatform, IntT toPlatform) {
    if (path.empty()) return {};
    KeepErrno keep;
    FilePathT *fp = F_PathNameToFilePath(std::string(path).c_str(), nullptr, fromPlatform);
    if (!fp) return {};
    StringT out = F_FilePathToPathName(fp, toPlatform);
    F_FilePathFree(fp);
    std::string result(View(out));
    om_StrFree(&out);
    return result;
}

}  // namespace

std::string NativePath(std::string_view windowsPath) { return ConvertPath(windowsPath, FDefaultPath, FNativePath); }

std::string WindowsPath(std::string_view nativePath) { return ConvertPath(nativePath, FNativePath, FDefaultPath); }

std::string FileIdentity(std::string_view windowsPath) {
    std::string native = NativePath(windowsPath);
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0) return "";
    std::string out;
    for (long long n : {static_cast<long long>(st.st_dev), static_cast<long long>(st.st_ino),
                        static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec),
                        static_cast<long long>(st.st_mtim.tv_nsec), static_cast<long long>(st.st_ctim.tv_sec),
                        static_cast<long long>(st.st_ctim.tv_nsec)})
        out.append(std::to_string(n)).push_back(' ');
    return out;
}

void SetLauncher(Launcher launcher) { CurrentLauncher() = std::move(launcher); }
void SetClock(std::function<std::time_t()> clock) { CurrentClock() = std::move(clock); }
void SetRandom(std::function<int()> random) { CurrentRandom() = std::move(random); }

std::string DesktopOpener() {
    const char *path = std::getenv("PATH");
    for (const std::string &dir : Split(path ? path : "", ":")) {
        if (dir.empty()) continue;
        fs::path candidate = fs::path(dir) / "xdg-open";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

}  // namespace qv::sys

namespace {

using qv::View;
using qv::sys::NativePath;

int Launch(const std::string &program, const std::vector<std::string> &args) {
    auto &launcher = qv::sys::CurrentLauncher();
    return launcher ? launcher(program, args) : qv::sys::DefaultLaunch(program, args);
}

std::time_t Now() {
    auto &clock = qv::sys::CurrentClock();
    return clock ? clock() : std::time(nullptr);
}

// The parameters of a program as its arguments: words at blanks, "..." keeping blanks.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word.push_back(c);
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

// Windows-form file arguments become real paths; other arguments stay as they are.
std::vector<std::string> NativeArgs(std::vector<std::string> args) {
    for (std::string &a : args)
        if (a.size() >= 2 && a[1] == ':') {
            std::string native = NativePath(a);
            if (!native.empty()) a = native;
        }
    return args;
}

bool Exists(const std::string &native) {
    std::error_code ec;
    return !native.empty() && fs::exists(native, ec);
}

bool CanOpen(ConStringT path, const char *mode) {
    std::string native = NativePath(View(path));
    std::error_code ec;
    // Only a regular file is opened: opening a pipe waits for a writer, a device never ends.
    if (native.empty() || !fs::is_regular_file(native, ec)) return false;
    std::FILE *f = std::fopen(native.c_str(), mode);
    if (!f) return false;
    std::fclose(f);
    return true;
}

// Copies a file like the copy command: into a folder under its own name, over an existing file.
int CopyFile(const std::string &from, const std::string &to) {
    std::error_code ec;
    if (from.empty() || to.empty() || !fs::is_regular_file(from, ec)) return 1;
    fs::path target = fs::is_directory(to, ec) ? fs::path(to) / fs::path(from).filename() : fs::path(to);
    fs::copy_file(from, target, fs::copy_options::overwrite_existing, ec);
    return ec ? 1 : 0;
}

// Copies a folder's contents like xcopy /E /Y: every file and subfolder, empty ones included,
// over existing files.
int CopyFolder(const std::string &from, const std::string &to) {
    std::error_code ec;
    if (from.empty() || to.empty() || !fs::is_directory(from, ec)) return 4;
    fs::create_directories(to, ec);
    if (ec) return 4;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return ec ? 4 : 0;
}

// Makes a folder like mkdir: missing parents too; an existing folder is a failure.
int MakeFolder(const std::string &path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return 1;
    fs::create_directories(path, ec);
    return ec ? 1 : 0;
}

std::string UserHome() {
    const char *home = std::getenv("HOME");
    return (home && *home) ? home : "/tmp";
}

// A variable that holds a folder: its value in Windows form, or the fallback folder.
std::string FolderVariable(const char *value, const std::string &fallback) {
    std::string v = value ? value : "";
    if (v.empty()) v = fallback;
    if (!v.empty() && v[0] == '/') v = qv::sys::WindowsPath(v);
    return v;
}

constexpr const char *kTimeError = "_!plugin_error!_";

// The local time now; false when it cannot be had.
bool LocalNow(std::tm *tm) {
    std::time_t t = Now();
    return localtime_r(&t, tm) != nullptr;
}

StringT TwoDigitsOrPlain(int value, IntT style, bool zeroPad) {
    if (style == 1) return qv::NewHeapString(zeroPad && value < 10 ? "0" + std::to_string(value) : std::to_string(value));
    if (style == 2) return qv::NewHeapString(std::to_string(value));
    return qv::NewHeapString("error");
}

// A date part of the local time, or the time error text.
template <typename Part>
StringT TimePart(Part part) {
    std::tm tm{};
    if (!LocalNow(&tm)) return qv::NewHeapString(kTimeError);
    return part(tm);
}

struct Stopwatch {
    IntT start = 0;
    IntT elapsed = 0;
};
Stopwatch &Watch() {
    static Stopwatch watch;
    return watch;
}

constexpr RealT kPi = 3.14159265;
constexpr int kRandomDrawLimit = 100000;

}  // namespace

IntT om_FileOpenInNotepad(ConStringT program, ConStringT parameters, ConStringT failureMessage) {
    StringT windir = om_EnvGet("windir");
    std::string folder(View(windir));
    om_StrFree(&windir);
    std::vector<std::string> candidates{std::string(View(program)), folder + "\\NOTEPAD.EXE",
                                        folder + "\\system32\\notepad.exe", folder + "\\system64\\notepad.exe"};
    std::string found;
    for (const std::string &c : candidates)
        if (!c.empty() && om_FileExists(c.c_str())) {
            found = NativePath(c);
            break;
        }
    if (found.empty()) found = qv::sys::DesktopOpener();
    if (found.empty() && !View(failureMessage).empty()) {
        F_ApiAlert(failureMessage, FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    if (found.empty()) found = NativePath(candidates.back());
    return !found.empty() && Launch(found, NativeArgs(Words(View(parameters)))) == 0 ? 1 : 0;
}

IntT om_ShellOpen(ConStringT fileOrProgram, ConStringT parameters) {
    std::string native = NativePath(View(fileOrProgram));
    if (!Exists(native)) return 0;
    std::error_code ec;
    if (fs::is_regular_file(native, ec) && ::access(native.c_str(), X_OK) == 0)
        return Launch(native, NativeArgs(Words(View(parameters)))) == 0 ? 1 : 0;
    std::string opener = qv::sys::DesktopOpener();
    if (opener.empty()) return 0;
    return Launch(opener, {native}) == 0 ? 1 : 0;
}

IntT om_ShellOpenFixedProgram(IntT which, ConStringT parameters) {
    static const char *const kFixed[] = {
        "C:\\WINDOWS\\system32\\mspaint.exe",
        "C:\\Program Files\\Photo Editor\\PhotoEditor.exe",
        "C:\\Program Files\\Microsoft Office\\Visio11\\VISIO.EXE",
        "C:\\temp\\delete\\bike.jpg",
    };
    if (which < 1 || which > 4) return 0;
    return om_ShellOpen(kFixed[which - 1], which == 4 ? "" : parameters);
}

IntT om_FileShowInExplorer(ConStringT path) {
    std::string native = NativePath(View(path));
    std::string opener = qv::sys::DesktopOpener();
    if (!Exists(native) || opener.empty()) return 0;
    return Launch(opener, {fs::path(native).parent_path().string()}) == 0 ? 1 : 0;
}

// Runs a command line without a shell: copy, xcopy and mkdir are done here; any other command
// is a program started with the line's words as its arguments, waited for. Returns its status.
IntT om_ShellRun(ConStringT commandLine) {
    std::vector<std::string> words = Words(View(commandLine));
    if (words.empty()) return 1;
    std::string verb = qv::FoldCase(words[0]);
    if (verb == "copy" && words.size() >= 3) return om_FileCopyByShell(words[1].c_str(), words[2].c_str());
    if (verb == "xcopy" && words.size() >= 3) {
        std::string src = words[1];
        if (src.ends_with("\\*")) src.resize(src.size() - 2);
        return om_DirCopyByShell(src.c_str(), words[2].c_str());
    }
    if ((verb == "mkdir" || verb == "md") && words.size() >= 2) return om_DirCreateByShell(words[1].c_str());
    std::string program = words[0].size() >= 2 && words[0][1] == ':' ? NativePath(words[0]) : words[0];
    std::vector<std::string> args = NativeArgs(std::vector<std::string>(words.begin() + 1, words.end()));
    pid_t pid;
    if (program.empty() || qv::sys::Spawn(program, args, &pid) != 0) return 1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

IntT om_FileCopyByShell(ConStringT source, ConStringT target) {
    return CopyFile(NativePath(View(source)), NativePath(View(target)));
}

IntT om_DirCopyByShell(ConStringT sourceFolder, ConStringT targetFolder) {
    return CopyFolder(NativePath(View(sourceFolder)), NativePath(View(targetFolder)));
}

IntT om_DirCreateByShell(ConStringT path) { return MakeFolder(NativePath(View(path))); }

void om_Beep(IntT, IntT) {
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

IntT om_FileExists(ConStringT path) { return CanOpen(path, "r") ? 1 : 0; }

IntT om_FileIsWritable(ConStringT path) { return CanOpen(path, "r+") ? 1 : 0; }

IntT om_FileIsRegular(ConStringT path) {
    std::string native = NativePath(View(path));
    std::error_code ec;
    return !native.empty() && fs::is_regular_file(native, ec) ? 1 : 0;
}

IntT om_FileRefuseOtherKind(ConStringT path) {
    std::string native = NativePath(View(path));
    std::error_code ec;
    if (native.empty() || !fs::exists(native, ec) || fs::is_regular_file(native, ec) || fs::is_directory(native, ec))
        return 0;
    std::string text = "--Quorvane message--\n\nThe file:\n\n" + std::string(View(path)) +
                       "\n\n...is not a regular file (it may be a pipe or a device), so it was not read.";
    F_ApiAlert(text.c_str(), FF_ALERT_CONTINUE_WARN);
    return 1;
}

IntT om_FileReadLinesPlain(ConStringT path, F_StringsT *out) {
    qv::StoreStrings(out, {});
    std::string native = NativePath(View(path));
    std::error_code ec;
    if (native.empty() || om_FileRefuseOtherKind(path) || !fs::is_regular_file(native, ec)) return 0;
    std::ifstream in(native, std::ios::binary);
    if (!in) return 0;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    qv::StoreStrings(out, qv::SplitLines(bytes, true));
    return 1;
}

IntT om_FileWriteLinesPlain(ConStringT path, const F_StringsT *lines) {
    std::string native = NativePath(View(path));
    if (native.empty()) return 0;
    std::ofstream outFile(native, std::ios::binary | std::ios::trunc);
    if (!outFile) return 0;
    for (const std::string &line : qv::ReadStrings(lines)) outFile << line << "\r\n";
    return outFile.good() ? 1 : 0;
}

StringT om_EnvGet(ConStringT name) {
    std::string n(View(name));
    const char *value = n.empty() ? nullptr : std::getenv(n.c_str());
    std::string folded = qv::FoldCase(n);
    if (folded == "appdata") return qv::NewHeapString(FolderVariable(value, UserHome() + "/.config"));
    if (folded == "windir") return qv::NewHeapString(FolderVariable(value, UserHome()));
    return qv::NewHeapString(value ? value : "");
}

IntT om_FileModifiedStamp(ConStringT path) {
    std::string native = NativePath(View(path));
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0) return 0;
    std::tm tm{};
    if (!gmtime_r(&st.st_mtime, &tm)) return 0;
    long long stamp = tm.tm_min * 60LL + tm.tm_sec + tm.tm_mday * 3600LL + tm.tm_mon * 108000LL + tm.tm_year * 1296000LL;
    return static_cast<IntT>(stamp);
}

IntT om_FileDelete(ConStringT path) {
    std::string native = NativePath(View(path));
    std::error_code ec;
    if (native.empty()) return 0;
    fs::remove(native, ec);
    return !ec && !fs::exists(native, ec) ? 1 : 0;
}

IntT om_TimeSecondsSince2010(void) { return static_cast<IntT>(static_cast<long long>(Now()) - 1262304000LL); }

IntT om_TimeDaysSince1970(void) { return static_cast<IntT>(static_cast<long long>(Now()) / 86400); }

StringT om_TimeYear(IntT twoDigits) {
    return TimePart([&](const std::tm &tm) {
        std::string year = std::to_string(tm.tm_year + 1900);
        return qv::NewHeapString(twoDigits ? year.substr(std::min<size_t>(2, year.size())) : year);
    });
}

StringT om_TimeMonth(IntT style) {
    static constexpr const char *kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};
    return TimePart([&](const std::tm &tm) {
        if (style == 3) return qv::NewHeapString(kMonths[tm.tm_mon]);
        if (style == 4) return qv::NewHeapString(std::string(kMonths[tm.tm_mon]).substr(0, 3));
        return TwoDigitsOrPlain(tm.tm_mon + 1, style, true);
    });
}

StringT om_TimeDay(IntT style) {
    return TimePart([&](const std::tm &tm) { return TwoDigitsOrPlain(tm.tm_mday, style, true); });
}

StringT om_TimeWeekdayName(IntT style) {
    static constexpr const char *kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return TimePart([&](const std::tm &tm) {
        if (style == 3) return qv::NewHeapString(kDays[tm.tm_wday]);
        if (style == 4) return qv::NewHeapString(std::string(kDays[tm.tm_wday]).substr(0, 3));
        return qv::NewHeapString("error");
    });
}

StringT om_TimeHour(IntT style, IntT hours24) {
    return TimePart([&](const std::tm &tm) {
        int hour = (!hours24 && tm.tm_hour > 12) ? tm.tm_hour - 12 : tm.tm_hour;
        return TwoDigitsOrPlain(hour, style, true);
    });
}

StringT om_TimeMinute(IntT style) {
    return TimePart([&](const std::tm &tm) { return TwoDigitsOrPlain(tm.tm_min, style, true); });
}

StringT om_TimeSecond(IntT style) {
    return TimePart([&](const std::tm &tm) { return TwoDigitsOrPlain(tm.tm_sec, style, true); });
}

StringT om_TimeAmPm(IntT style, IntT dots) {
    return TimePart([&](const std::tm &tm) {
        bool am = tm.tm_hour <= 12;
        std::string text = dots ? (am ? "a.m." : "p.m.") : (am ? "am" : "pm");
        if (style == 5) text = dots ? (am ? "A.M." : "P.M.") : (am ? "AM" : "PM");
        return qv::NewHeapString(text);
    });
}

IntT om_TimerStart(void) {
    Watch().start = om_TimeSecondsSince2010();
    Watch().elapsed = 0;
    return Watch().start;
}

IntT om_TimerElapsed(IntT seconds) {
    Watch().elapsed = seconds ? seconds : om_TimeSecondsSince2010() - Watch().start;
    return Watch().elapsed;
}

IntT om_TimerMinutes(void) { return Watch().elapsed / 60; }

IntT om_TimerSeconds(void) { return Watch().elapsed - om_TimerMinutes() * 60; }

RealT om_MathPi(void) { return kPi; }
RealT om_MathSinDeg(RealT degrees) { return std::sin(degrees * kPi / 180.0); }
RealT om_MathCosDeg(RealT degrees) { return std::cos(degrees * kPi / 180.0); }
RealT om_MathPow(RealT base, RealT exponent) { return std::pow(base, exponent); }
RealT om_MathSqrt(RealT x) { return std::sqrt(x); }
RealT om_MathAbsDiff(RealT a, RealT b) { return std::fabs(a - b); }

// A whole number from max(low, 1) to high (drawn as rand modulo high plus 1, again while below
// low), divided by the divisor when it is not 0; low when low is not below high or high is
// below 1 (no number can be drawn then).
RealT om_MathRandom(IntT low, IntT high, IntT divisor) {
    RealT value = low;
    if (low < high && high >= 1) {
        auto &random = qv::sys::CurrentRandom();
        for (int draws = 0; draws < kRandomDrawLimit; ++draws) {
            unsigned r = static_cast<unsigned>(random ? random() : std::rand());
            long long v = static_cast<long long>(r % static_cast<unsigned>(high)) + 1;
            if (v >= low) {
                value = static_cast<RealT>(v);
                break;
            }
        }
    }
    return divisor ? value / divisor : value;
}

namespace {
// The stopwatch a run starts and reads.
[[maybe_unused]] const bool resetStopwatch = om_RunStateRegister("stopwatch", RunStateKind::Run, [] {
    Watch() = Stopwatch{};
});
}  // namespace
