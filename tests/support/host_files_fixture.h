// A fixture for the document-file tests: a fresh session and transcript, a temporary folder of its
// own, and open and save through the host's parameter lists.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fdk.h"
#include "model.h"
#include "paths.h"
#include "transcript.h"

#include <unistd.h>

namespace host {

class HostFilesFixture : public ::testing::Test {
  protected:
    explicit HostFilesFixture(const char *folderPrefix) : prefix_(folderPrefix) {}
    void SetUp() override {
        ResetSession();
        ClearTranscript();
        FA_errno = 0;
        dir = std::filesystem::temp_directory_path() / (prefix_ + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        ResetSession();
        std::filesystem::remove_all(dir);
    }
    static std::string Win(const std::filesystem::path &p) { return WindowsPath(p.string()); }
    // Opens visible (1) or invisible (0); 0 when refused.
    F_ObjHandleT Open(const std::filesystem::path &p, IntT visible = 1) {
        F_PropValsT params = F_ApiGetOpenDefaultParams();
        params.val[F_ApiGetPropIndex(&params, 5)].propVal.ival = visible;
        F_PropValsT *ret = nullptr;
        F_ObjHandleT doc = F_ApiOpen(Win(p).c_str(), &params, &ret);
        F_ApiDeallocatePropVals(&params);
        F_ApiDeallocatePropVals(ret);
        return doc;
    }
    // Saves in the format (0 own, 10 XML, 6 text) under p, or under its own path when p is empty.
    F_ObjHandleT Save(F_ObjHandleT doc, const std::filesystem::path &p, IntT format) {
        F_PropValsT params = F_ApiGetSaveDefaultParams();
        params.val[F_ApiGetPropIndex(&params, 1)].propVal.ival = format;
        F_PropValsT *ret = nullptr;
        F_ObjHandleT saved = F_ApiSave(doc, p.empty() ? "" : Win(p).c_str(), &params, &ret);
        F_ApiDeallocatePropVals(&params);
        F_ApiDeallocatePropVals(ret);
        return saved;
    }
    // Writes a file below the folder (its folders made as needed) and returns its path.
    std::filesystem::path Write(const std::string &name, const std::string &content) {
        std::filesystem::path p = dir / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    // The bytes of a file below the folder ("" when it cannot be read).
    std::string Read(const std::string &name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path dir;

  private:
    std::string prefix_;
};

}  // namespace host
