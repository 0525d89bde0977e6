// Debug log: set-up, the write-log mode's appended events and the in-memory events rewritten
// most recent first.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "elements_fixture.h"
#include "lib/host/debug_log.h"
#include "paths.h"

namespace {

class DebugLogTest : public ElementsDoc {
  protected:
    void SetUp() override {
        ElementsDoc::SetUp();
        om_LogReset();
        dir = std::filesystem::temp_directory_path() / ("qv_log_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        folder = host::WindowsPath(dir.string());
    }
    void TearDown() override {
        om_LogReset();
        std::filesystem::remove_all(dir);
    }
    std::string Read(const std::string &name) {
        std::ifstream in(dir / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static size_t Count(const std::string &text, const std::string &part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }
    std::filesystem::path dir;
    std::string folder;
};

TEST_F(DebugLogTest, ModeZeroWithoutSetUpLeavesTheLogOff) {
    om_LogInit("Quorvane", kLogOff, folder, "", 2);
    om_LogAppendEvent(doc, p1, "one");
    om_LogRecordEvent(doc, p1, "two");
    EXPECT_FALSE(std::filesystem::exists(dir / "Quorvane_debug_log.txt"));
}

TEST_F(DebugLogTest, WriteLogModeWritesTheHeaderAndAppendsEvents) {
    om_LogInit("Quorvane", kLogWrite, folder + "\\", "", 5);
    EXPECT_EQ(om_LogPath(), folder + "\\Quorvane_debug_log.txt");
    FA_errno = -7;
    om_LogAppendEvent(doc, p1, "Inserted");
    EXPECT_EQ(FA_errno, -7);
    std::string t = Read("Quorvane_debug_log.txt");
    EXPECT_EQ(t.rfind("This is a debug log for the Quorvane plugin. It was generated due to the activation of the "
                      "\"write log\" debug mode. Please contact Orle Meadow for more information.\r\n",
                      0),
              0u);
    EXPECT_NE(t.find("\r\n** EVENT/ACTION: Inserted\r\nTIMESTAMP: "), std::string::npos);
    EXPECT_NE(t.find("\r\nDOC: " + std::to_string(doc) + "\r\nFILEPATH: Z:\\t\\elements.fm\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\nOBJECT TYPE: Element\r\nELEMENT TAG: Para\r\nELEMENT UID: "), std::string::npos);
    EXPECT_NE(t.find("\r\nELEMENT TEXT: abcdef\r\n\r\n" + std::string(40, '-')), std::string::npos);
    om_LogAppendEvent(0, 0, "Alone");
    EXPECT_NE(Read("Quorvane_debug_log.txt").find("\r\nNo doc ID sent\r\n"), std::string::npos);
}

TEST_F(DebugLogTest, RecordedEventsKeepTheCapacityAndListTheLatestFirst) {
    om_LogInit("Quorvane", kLogPrompting, folder, "mine.txt", 2);
    om_LogAppendEvent(doc, p1, "not in prompting mode");
    EXPECT_FALSE(std::filesystem::exists(dir / "mine.txt"));
    om_LogRecordEvent(doc, p1, "first");
    for (const char *e : {"second", "third", "fourth"}) om_LogRecordEvent(doc, 0, e);
    om_LogRecordEvent(0, 0, "fifth");
    std::string t = Read("mine.txt");
    EXPECT_EQ(Count(t, "** ("), 3u);
    EXPECT_NE(t.find("** (1) ** EVENT/ACTION: fifth"), std::string::npos);
    EXPECT_NE(t.find("** (3) ** EVENT/ACTION: third"), std::string::npos);
    EXPECT_EQ(t.find("first"), std::string::npos);
    // The newest has no document; the older ones still show theirs.
    size_t fifth = t.find("fifth"), fourth = t.find("fourth");
    EXPECT_NE(t.find("No doc ID sent", fifth), std::string::npos);
    EXPECT_LT(t.find("No doc ID sent", fifth), fourth);
    EXPECT_NE(t.find("DOC: " + std::to_string(doc), fourth), std::string::npos);
    EXPECT_NE(t.find("NULL OR UNRECOGNIZABLE OBJECT SENT. ID: 0"), std::string::npos);
    om_LogShowMode();  // "Prompting debug mode is ON." (type 3): answered by the default policy
}

}  // namespace
