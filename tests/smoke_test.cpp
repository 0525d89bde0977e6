// The program as built: the plug-in starts inside the host from its shipped files and a settled
// settings folder, and answers a query put to it by another client.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "client.h"
#include "fdk.h"
#include "model.h"
#include "support/xml_tree.h"

extern "C" void F_ApiClientInit(void);

namespace fs = std::filesystem;

// The plug-in's folder as the build leaves it, copied: a run writes into its plug-in's folder, and
// the build's own copy of the shipped files must stay as shipped.
class Build : public ::testing::Test {
protected:
    void SetUp() override {
        const char *tmp = std::getenv("TMPDIR");
        folder = fs::path(tmp && *tmp ? tmp : "/tmp") / ("qv_build_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        for (const auto &shipped : fs::directory_iterator(fs::path(QV_SOURCE_DIR) / "defaults"))
            fs::copy_file(fs::path(QV_BIN_DIR) / shipped.path().filename(), folder / shipped.path().filename(),
                          fs::copy_options::overwrite_existing);
    }
    void TearDown() override {
        host::ResetClients();
        host::ResetSession();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder;
};

TEST_F(Build, PluginStartsAndAnswersAQuery) {
    ASSERT_NE(host::LoadClientInProcess(F_ApiClientInit, folder.string()), nullptr);
    F_ObjHandleT doc = qvtest::BuildDocument("<doc><p>a</p><p>b</p></doc>", "Z:\\tmp\\smoke.fm");
    ASSERT_NE(doc, 0u);
    IntT seq = F_ApiCallClient("Quorvane", "ParseXPath---//p");
    ASSERT_GT(seq, 100);
    std::string next = "FindNextNode---" + std::to_string(seq) + "---" + std::to_string(doc) + "---0---0";
    IntT first = F_ApiCallClient("Quorvane", next.c_str());
    ASSERT_GT(first, 100);
    EXPECT_EQ(qvtest::PathOf(doc, F_ObjHandleT(first)), "/doc[1]/p[1]");
}
