// A fixture for the XPath tests that step into files: a fresh session and engine, an empty list
// of opened files, and a temporary folder per test (the tests may run at the same time) whose
// files are named in the host's Windows form.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model.h"
#include "paths.h"
#include "xpath/xpath.h"

namespace qvtest {

class XPathFilesFixture : public ::testing::Test {
protected:
    explicit XPathFilesFixture(const char *folder) : folder_(folder) {}
    void SetUp() override {
        host::ResetSession();
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        XPathOpenedFiles.clear();
        dir = std::filesystem::path(::testing::TempDir()) / folder_ /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        om_XPathSetAllowFileOpening(1);
        host::ResetSession();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // Writes a file of the test's folder (name relative to it).
    void Write(const std::string &name, const std::string &text) { std::ofstream(dir / name) << text; }
    // The Windows form of a file of the test's folder.
    std::string Win(const std::string &name) const { return host::WindowsPath((dir / name).string()); }
    std::filesystem::path dir;

private:
    const char *folder_;
};

}  // namespace qvtest
