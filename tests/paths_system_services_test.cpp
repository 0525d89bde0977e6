// The platform layer: program launches (through a test launcher), the copy, xcopy and mkdir
// commands, the environment, dates on a fixed clock, the stopwatch and numbers.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>

#include "lib/host/system_services.h"
#include "paths.h"
#include "support/list_helpers.h"
#include "support/scoped_env.h"
#include "transcript.h"

using namespace qvtest;
namespace fs = std::filesystem;

namespace {

struct Launch {
    std::string program;
    Strs args;
};

// Records every program start instead of starting it.
class Services : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qv_sys_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        host::MapDrive('P', dir_.string());
        qv::sys::SetLauncher([this](const std::string &program, const std::vector<std::string> &args) {
            launches_.push_back({program, args});
            return 0;
        });
    }
    void TearDown() override {
        qv::sys::SetLauncher(nullptr);
        qv::sys::SetClock(nullptr);
        qv::sys::SetRandom(nullptr);
        host::ClearDriveMappings();
        fs::remove_all(dir_);
    }
    void Write(const fs::path &p, const std::string &text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    ScopedEnv env_{"APPDATA", "windir", "PATH", "TZ", "QV_SURELY_UNSET"};
    fs::path dir_;
    std::vector<Launch> launches_;
};

// Sets the clock to a local time given in UTC (TZ is set to UTC for the test).
void SetTime(int year, int month, int day, int hour, int minute, int second) {
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    std::time_t t = timegm(&tm);
    qv::sys::SetClock([t] { return t; });
}

}  // namespace

TEST_F(Services, NotepadUsesTheConfiguredProgramElseTheWindowsFolderElseTheOpener) {
    Write(dir_ / "editor", "");
    Write(dir_ / "prefs.txt", "");
    EXPECT_EQ(om_FileOpenInNotepad("P:\\editor", "P:\\prefs.txt", "no editor"), 1);
    ASSERT_EQ(launches_.size(), 1u);
    EXPECT_EQ(launches_[0].program, (dir_ / "editor").string());
    EXPECT_EQ(launches_[0].args, (Strs{(dir_ / "prefs.txt").string()}));

    // No program given: the Windows folder's Notepad.
    Write(dir_ / "win" / "system32" / "notepad.exe", "");
    ::setenv("windir", "P:\\win", 1);
    launches_.clear();
    EXPECT_EQ(om_FileOpenInNotepad("", "P:\\prefs.txt", "no editor"), 1);
    ASSERT_EQ(launches_.size(), 1u);
    EXPECT_EQ(launches_[0].program, (dir_ / "win" / "system32" / "notepad.exe").string());

    // Nothing found and no desktop opener: the failure message, nothing started.
    ::setenv("windir", "P:\\none", 1);
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir_.c_str(), 1);
    launches_.clear();
    host::ClearTranscript();
    EXPECT_EQ(om_FileOpenInNotepad("P:\\missing.exe", "P:\\prefs.txt", "No text editor found."), 0);
    EXPECT_TRUE(launches_.empty());
    bool shown = false;
    for (const std::string &l : host::TranscriptLines()) shown |= l.find("No text editor found.") != std::string::npos;
    EXPECT_TRUE(shown);

    // A desktop opener on PATH is used when no editor exists.
    Write(dir_ / "bin" / "xdg-open", "");
    fs::permissions(dir_ / "bin" / "xdg-open", fs::perms::owner_all);
    ::setenv("PATH", (dir_ / "bin").c_str(), 1);
    EXPECT_EQ(om_FileOpenInNotepad("", "P:\\prefs.txt", "No text editor found."), 1);
    ASSERT_EQ(launches_.size(), 1u);
    EXPECT_EQ(launches_[0].program, (dir_ / "bin" / "xdg-open").string());
    EXPECT_EQ(om_ShellOpen("P:\\prefs.txt", ""), 1);
    EXPECT_EQ(launches_.back().args, (Strs{(dir_ / "prefs.txt").string()}));
    EXPECT_EQ(om_ShellOpen("P:\\absent.txt", ""), 0);
    ::setenv("PATH", path.c_str(), 1);
    ::unsetenv("windir");
}

TEST_F(Services, CopyXcopyAndMkdirWithoutAShell) {
    Write(dir_ / "src" / "a.txt", "A");
    Write(dir_ / "src" / "deep" / "b.txt", "B");
    fs::create_directories(dir_ / "src" / "empty");
    EXPECT_EQ(om_FileCopyByShell("P:\\src\\a.txt", "P:\\copy.txt"), 0);
    EXPECT_TRUE(fs::exists(dir_ / "copy.txt"));
    EXPECT_EQ(om_FileCopyByShell("P:\\src\\a.txt", "P:\\src\\deep"), 0);  // into a folder
    EXPECT_TRUE(fs::exists(dir_ / "src" / "deep" / "a.txt"));
    EXPECT_NE(om_FileCopyByShell("P:\\src\\nothing.txt", "P:\\x.txt"), 0);
    EXPECT_EQ(om_DirCopyByShell("P:\\src", "P:\\dst"), 0);
    EXPECT_TRUE(fs::exists(dir_ / "dst" / "deep" / "b.txt"));
    EXPECT_TRUE(fs::is_directory(dir_ / "dst" / "empty"));
    EXPECT_NE(om_DirCopyByShell("P:\\nowhere", "P:\\dst2"), 0);
    EXPECT_EQ(om_DirCreateByShell("P:\\m1\\m2"), 0);
    EXPECT_TRUE(fs::is_directory(dir_ / "m1" / "m2"));
    EXPECT_NE(om_DirCreateByShell("P:\\m1"), 0);  // exists already
    EXPECT_EQ(om_ShellRun("copy \"P:\\src\\a.txt\" \"P:\\run copy.txt\""), 0);
    EXPECT_TRUE(fs::exists(dir_ / "run copy.txt"));
    EXPECT_EQ(om_ShellRun("xcopy \"P:\\src\\*\" \"P:\\dst3\" /E /Y"), 0);
    EXPECT_TRUE(fs::exists(dir_ / "dst3" / "a.txt"));
    EXPECT_EQ(om_ShellRun("mkdir \"P:\\made\""), 0);
    EXPECT_TRUE(fs::is_directory(dir_ / "made"));
    EXPECT_NE(om_ShellRun(""), 0);
}

TEST_F(Services, EnvironmentFoldersAlwaysHaveAValue) {
    ::unsetenv("APPDATA");
    std::string appdata = Take(om_EnvGet("APPDATA"));
    EXPECT_EQ(appdata.substr(0, 3), "Z:\\");
    ::setenv("APPDATA", dir_.c_str(), 1);
    EXPECT_EQ(Take(om_EnvGet("APPDATA")), "P:\\");  // a real path in the host's Windows form
    ::setenv("APPDATA", "C:\\Users\\u\\AppData\\Roaming", 1);
    EXPECT_EQ(Take(om_EnvGet("APPDATA")), "C:\\Users\\u\\AppData\\Roaming");
    ::unsetenv("APPDATA");
    ::unsetenv("windir");
    EXPECT_FALSE(Take(om_EnvGet("windir")).empty());
    ::unsetenv("QV_SURELY_UNSET");
    EXPECT_EQ(Take(om_EnvGet("QV_SURELY_UNSET")), "");
}

TEST_F(Services, DatesOnAFixedClock) {
    struct Clock {
        int year, month, day, hour, minute, second;
    };
    const Clock morning{2026, 3, 7, 12, 30, 5}, afternoon{2026, 3, 7, 13, 5, 0}, midnight{2026, 3, 7, 0, 10, 0};
    struct Case {
        Clock clock;
        std::function<StringT()> read;
        const char *want;
    };
    const Case cases[] = {
        {morning, [] { return om_TimeAmPm(5, 0); }, "AM"},
        {morning, [] { return om_TimeAmPm(1, 1); }, "a.m."},
        {morning, [] { return om_TimeHour(2, 0); }, "12"},
        {morning, [] { return om_TimeYear(1); }, "26"},
        {morning, [] { return om_TimeYear(0); }, "2026"},
        {morning, [] { return om_TimeMonth(1); }, "03"},
        {morning, [] { return om_TimeMonth(2); }, "3"},
        {morning, [] { return om_TimeMonth(3); }, "March"},
        {morning, [] { return om_TimeMonth(4); }, "Mar"},
        {morning, [] { return om_TimeMonth(7); }, "error"},
        {morning, [] { return om_TimeDay(1); }, "07"},
        {morning, [] { return om_TimeWeekdayName(3); }, "Saturday"},
        {morning, [] { return om_TimeWeekdayName(4); }, "Sat"},
        {morning, [] { return om_TimeMinute(1); }, "30"},
        {morning, [] { return om_TimeSecond(1); }, "05"},
        {morning, [] { return om_TimeSecond(2); }, "5"},
        {afternoon, [] { return om_TimeAmPm(5, 1); }, "P.M."},
        {afternoon, [] { return om_TimeHour(2, 0); }, "1"},
        {afternoon, [] { return om_TimeHour(1, 1); }, "13"},
        {midnight, [] { return om_TimeHour(2, 0); }, "0"},
    };
    for (const Case &c : cases) {
        SetTime(c.clock.year, c.clock.month, c.clock.day, c.clock.hour, c.clock.minute, c.clock.second);
        EXPECT_EQ(Take(c.read()), c.want) << c.clock.hour << ":" << c.clock.minute << " wants " << c.want;
    }
    SetTime(2010, 1, 2, 0, 0, 0);
    EXPECT_EQ(om_TimeSecondsSince2010(), 86400);
    EXPECT_EQ(om_TimeDaysSince1970(), 14611);
}

TEST_F(Services, Stopwatch) {
    SetTime(2020, 1, 1, 0, 0, 0);
    IntT start = om_TimerStart();
    EXPECT_EQ(start, 315532800);
    SetTime(2020, 1, 1, 0, 2, 5);
    EXPECT_EQ(om_TimerElapsed(0), 125);
    EXPECT_EQ(om_TimerMinutes(), 2);
    EXPECT_EQ(om_TimerSeconds(), 5);
    EXPECT_EQ(om_TimerElapsed(59), 59);
    EXPECT_EQ(om_TimerMinutes(), 0);
}

TEST_F(Services, Numbers) {
    EXPECT_DOUBLE_EQ(om_MathPi(), 3.14159265);
    EXPECT_NEAR(om_MathSinDeg(90), 1.0, 1e-9);
    EXPECT_NEAR(om_MathCosDeg(180), -1.0, 1e-9);
    EXPECT_DOUBLE_EQ(om_MathPow(2, 10), 1024);
    EXPECT_DOUBLE_EQ(om_MathSqrt(81), 9);
    EXPECT_DOUBLE_EQ(om_MathAbsDiff(3, 7.5), 4.5);
    EXPECT_DOUBLE_EQ(om_MathRandom(5, 5, 0), 5);
    std::vector<int> draws = {0, 1, 2, 5};  // rand % 6 + 1: 1, 2, 3 (the first at or above 3)
    size_t next = 0;
    qv::sys::SetRandom([&] { return draws[next++ % draws.size()]; });
    EXPECT_DOUBLE_EQ(om_MathRandom(3, 6, 0), 3);
    EXPECT_DOUBLE_EQ(om_MathRandom(3, 6, 2), 3);  // 6 / 2
    qv::sys::SetRandom(nullptr);
    for (int i = 0; i < 200; ++i) {
        RealT v = om_MathRandom(3, 6, 0);
        EXPECT_TRUE(v >= 3 && v <= 6);
    }
    EXPECT_DOUBLE_EQ(om_MathRandom(-5, 0, 0), -5);  // nothing can be drawn
}
