#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "paths.h"

#include <unistd.h>

namespace fs = std::filesystem;

TEST(HostPaths, DriveZIsTheRoot) {
    EXPECT_EQ(host::NativePath("Z:\\tmp"), "/tmp");
    EXPECT_EQ(host::WindowsPath("/home/u/a.fm"), "Z:\\home\\u\\a.fm");
}

TEST(HostPaths, MappedDriveAndCaseBlindLookupRoundTrip) {
    fs::path dir = fs::temp_directory_path() / ("qv_paths_" + std::to_string(::getpid()));
    fs::create_directories(dir / "Sub");
    std::ofstream(dir / "Sub" / "File.TXT") << "x";
    host::MapDrive('C', dir.string());
    EXPECT_EQ(host::NativePath("C:\\sub\\file.txt"), (dir / "Sub" / "File.TXT").string());
    EXPECT_EQ(host::NativePath("c:/Sub/File.TXT"), (dir / "Sub" / "File.TXT").string());
    EXPECT_EQ(host::WindowsPath((dir / "Sub" / "File.TXT").string()), "C:\\Sub\\File.TXT");
    EXPECT_EQ(host::NativePath("D:\\x"), "");  // unmapped drive
    host::ClearDriveMappings();
    EXPECT_EQ(host::WindowsPath("/tmp/x"), "Z:\\tmp\\x");
    fs::remove_all(dir);
}
