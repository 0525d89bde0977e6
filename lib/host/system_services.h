// The plug-in's platform layer: starting programs and opening files, the copy, xcopy and mkdir
// commands, file tests and plain line files, the environment, the clock and stopwatch, and a
// few numeric functions. Besides the host, this is the only code that touches the operating
// system. Paths are Windows form; they reach real files through the host's file-path calls
// (drive Z: is the root, other drives mapped, names found regardless of case).
//
// Programs are started without a shell (posix_spawn) through a launcher that tests replace;
// the commands are done with std::filesystem. The clock and the random numbers can be replaced
// too, so that tests are exact.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fdk.h"

namespace qv::sys {
// The real path of a Windows-form path ("" when it cannot be resolved).
std::string NativePath(std::string_view windowsPath);
// The Windows form of a real path.
std::string WindowsPath(std::string_view nativePath);
// What tells one content of a file from another without reading it: the file's device, inode,
// size, and its modification and change times to the nanosecond; "" when there is no such file.
std::string FileIdentity(std::string_view windowsPath);

// Starts a program with its arguments without waiting; 0 when it was started.
using Launcher = std::function<int(const std::string &program, const std::vector<std::string> &args)>;
// Replaces the launcher (an empty one restores posix_spawn).
void SetLauncher(Launcher launcher);
// The current time (seconds since 1970 UTC); an empty function restores the system clock.
void SetClock(std::function<std::time_t()> clock);
// A random number from 0 to RAND_MAX; an empty function restores std::rand.
void SetRandom(std::function<int()> random);
// The desktop's opener found on PATH ("" when none).
std::string DesktopOpener();
}  // namespace qv::sys

// ---- programs and commands ----
IntT om_FileOpenInNotepad(ConStringT program, ConStringT parameters, ConStringT failureMessage);
IntT om_ShellOpen(ConStringT fileOrProgram, ConStringT parameters);
IntT om_FileShowInExplorer(ConStringT path);
IntT om_ShellRun(ConStringT commandLine);
IntT om_FileCopyByShell(ConStringT source, ConStringT target);
IntT om_DirCopyByShell(ConStringT sourceFolder, ConStringT targetFolder);
IntT om_DirCreateByShell(ConStringT path);
// Opens one of the fixed programs with the parameters (1 the paint program, 2 the photo editor,
// 3 the diagram program) or, for 4, the fixed picture without them; through the path mapping and
// the program start, no shell. 1 when started, 0 when the program or picture is absent.
IntT om_ShellOpenFixedProgram(IntT which, ConStringT parameters);
void om_Beep(IntT frequency, IntT duration);

// ---- files and environment ----
IntT om_FileExists(ConStringT path);
IntT om_FileIsWritable(ConStringT path);
IntT om_FileIsRegular(ConStringT path);
// 1, after telling the user, when the path names something that is neither a regular file nor
// a folder (a pipe, a device, or a link to one): a reader must not open it. 0 otherwise.
IntT om_FileRefuseOtherKind(ConStringT path);
IntT om_FileReadLinesPlain(ConStringT path, F_StringsT *out);
IntT om_FileWriteLinesPlain(ConStringT path, const F_StringsT *lines);
// The variable's value; %APPDATA% and %windir% always have one (from the environment, else a
// folder of the user's home, in Z: form); another unset variable gives "".
StringT om_EnvGet(ConStringT name);
IntT om_FileModifiedStamp(ConStringT path);
// Deletes a file or an empty folder; 1 when it is gone.
IntT om_FileDelete(ConStringT path);

// ---- dates and time ----
IntT om_TimeSecondsSince2010(void);
IntT om_TimeDaysSince1970(void);
StringT om_TimeYear(IntT twoDigits);
StringT om_TimeMonth(IntT style);
StringT om_TimeDay(IntT style);
StringT om_TimeWeekdayName(IntT style);
StringT om_TimeHour(IntT style, IntT hours24);
StringT om_TimeMinute(IntT style);
StringT om_TimeSecond(IntT style);
StringT om_TimeAmPm(IntT style, IntT dots);

// ---- stopwatch ----
IntT om_TimerStart(void);
IntT om_TimerElapsed(IntT seconds);
IntT om_TimerMinutes(void);
IntT om_TimerSeconds(void);

// ---- numbers ----
RealT om_MathPi(void);
RealT om_MathSinDeg(RealT degrees);
RealT om_MathCosDeg(RealT degrees);
RealT om_MathPow(RealT base, RealT exponent);
RealT om_MathSqrt(RealT x);
RealT om_MathAbsDiff(RealT a, RealT b);
RealT om_MathRandom(IntT low, IntT high, IntT divisor);
