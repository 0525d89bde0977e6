// The client binding: registration, start-up, notification requests and delivery, return
// values per callback, client calls and the client folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "transcript.h"

namespace {

// A client that records what it is called with. It asks for the notifications in `wanted`
// during its initialize callback and answers client calls with `reply`.
struct Recorder {
    std::vector<std::string> calls;
    std::vector<IntT> wanted;
    std::vector<IntT> dropped;  // asked for in turn after `wanted`, to be off again
    IntT reply = 0;
    bool callsBack = false;  // on a client call, calls the client "Other" in turn
};
Recorder stub, other;

void StubInit(IntT) {
    stub.calls.push_back("init");
    for (IntT code : stub.wanted) F_ApiNotification(code, 1);
    for (IntT code : stub.dropped) F_ApiNotification(code, 0);
}
void StubCommand(IntT n) { stub.calls.push_back("command " + std::to_string(n)); }
void StubNotify(IntT code, F_ObjHandleT, StringT s, IntT i) {
    stub.calls.push_back("notify " + std::to_string(code) + " " + s + " " + std::to_string(i));
    if (code == FA_Note_ClientCall) {
        IntT inner = stub.callsBack ? F_ApiCallClient("Other", "inner") : 0;
        if (stub.callsBack) stub.calls.push_back(std::string("after inner ") + s);  // its own string is intact
        F_ApiReturnValue(stub.reply + inner);
    }
}
void StubClientInit() {
    static F_ApiClientCallbacksT cb{"Stub", StubInit, StubCommand, nullptr, StubNotify, nullptr};
    F_ApiRegisterClient(&cb);
}

void OtherInit(IntT) {
    other.calls.push_back("init");
    for (IntT code : other.wanted) F_ApiNotification(code, 1);
}
void OtherNotify(IntT code, F_ObjHandleT, StringT s, IntT) {
    other.calls.push_back("notify " + std::to_string(code) + " " + s);
    if (code == FA_Note_ClientCall) F_ApiReturnValue(other.reply);
    // What a client does through the API raises nothing for itself.
    if (code == FA_Note_PostOpenDoc) host::NotifyClients(FA_Note_PostQuitDoc, 0, "", 0);
}
void OtherClientInit() {
    static F_ApiClientCallbacksT cb{"Other", OtherInit, nullptr, nullptr, OtherNotify, nullptr};
    F_ApiRegisterClient(&cb);
}

// A client whose start-up returns early: it asks for nothing.
void InertClientInit() {
    static F_ApiClientCallbacksT cb{"Inert", [](IntT) {}, [](IntT) { ADD_FAILURE() << "inert client called"; },
                                    nullptr, [](IntT, F_ObjHandleT, StringT, IntT) { ADD_FAILURE() << "inert client notified"; },
                                    nullptr};
    F_ApiRegisterClient(&cb);
}

class ClientBinding : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ClearTranscript();
        stub = Recorder{};
        other = Recorder{};
        FA_errno = 0;
    }
    void TearDown() override {
        host::ResetClients();
        host::SetBindingTrace(false);
    }
};

TEST_F(ClientBinding, RegistersStartsAndDeliversOnlyRequestedNotifications) {
    stub.wanted = {FA_Note_PostOpenXML, FA_Note_PostOpenDoc, FA_Note_PreFunction, FA_Note_ClientCall};
    stub.dropped = {FA_Note_PostOpenDoc};
    host::Client *c = host::LoadClientInProcess(StubClientInit, "/tmp");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(host::ClientName(c), "Stub");
    EXPECT_EQ(host::FindClient("Stub"), c);
    EXPECT_EQ(host::ClientNotifications(c), (std::vector<IntT>{96, 42, 13}));
    EXPECT_EQ(host::NotifyClients(FA_Note_PostOpenXML, 0, "Z:\\a.xml", 0), 1);
    EXPECT_EQ(host::NotifyClients(FA_Note_PostOpenDoc, 0, "Z:\\a.fm", 0), 0);  // not requested
    EXPECT_EQ(host::NotifyClients(FA_Note_PreFunction, 0, "", FV_FC_SAVE_AS), 1);
    EXPECT_EQ(stub.calls, (std::vector<std::string>{"init", "notify 96 Z:\\a.xml 0", "notify 42  785"}));

    // A second registration under the same name is refused.
    EXPECT_NE(F_ApiRegisterClient(nullptr), 0);
    static F_ApiClientCallbacksT again{"Stub", nullptr, nullptr, nullptr, nullptr, nullptr};
    EXPECT_NE(F_ApiRegisterClient(&again), 0);
    EXPECT_EQ(FA_errno, FE_Duplicate);
    EXPECT_EQ(host::Clients().size(), 1u);
}

TEST_F(ClientBinding, ClientCallsReturnTheCalledClientsValue) {
    stub.wanted = {FA_Note_ClientCall};
    stub.reply = 7;
    other.wanted = {FA_Note_ClientCall, FA_Note_PostOpenDoc, FA_Note_PostQuitDoc};
    other.reply = 30;
    host::LoadClientInProcess(StubClientInit, "");
    host::LoadClientInProcess(OtherClientInit, "");

    EXPECT_EQ(F_ApiCallClient("Stub", "ParseXPath---//para"), 7);
    ASSERT_FALSE(stub.calls.empty());
    EXPECT_EQ(stub.calls.back(), "notify 13 ParseXPath---//para 0");

    // A nested client call keeps each frame's value apart.
    stub.callsBack = true;
    EXPECT_EQ(F_ApiCallClient("Stub", "outer"), 37);
    EXPECT_EQ(other.calls.back(), "notify 13 inner");
    EXPECT_EQ(stub.calls.back(), "after inner outer");
    EXPECT_EQ(F_ApiCallClient("Stub", "a longer message than any before it, past the short-string size"), 37);
    EXPECT_EQ(stub.calls.back(), "after inner a longer message than any before it, past the short-string size");

    // Unknown client: -1 and the error word.
    EXPECT_EQ(F_ApiCallClient("OM_Lattiform", "RefreshModelessAttrEditor"), -1);
    EXPECT_NE(FA_errno, 0);

    // A client is not told of what it does itself: Other raises PostQuitDoc while notified.
    other.calls.clear();
    host::NotifyClients(FA_Note_PostOpenDoc, 0, "x", 0);
    EXPECT_EQ(other.calls, (std::vector<std::string>{"notify 2 x"}));
}

TEST_F(ClientBinding, InertClientIsNeverCalledAgain) {
    host::Client *c = host::LoadClientInProcess(InertClientInit, "");
    ASSERT_NE(c, nullptr);
    for (IntT code : {FA_Note_PostOpenDoc, FA_Note_PostOpenXML, FA_Note_PreQuitSession, FA_Note_ClientCall})
        EXPECT_EQ(host::NotifyClients(code, 0, "", 0), 0);
    EXPECT_EQ(F_ApiCallClient("Inert", "ParseXPath---x"), -1);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ClientBinding, ReturnValueOutsideACallbackAndNotificationWithoutAClientAreHarmless) {
    F_ApiReturnValue(5);
    EXPECT_NE(F_ApiNotification(FA_Note_PostOpenDoc, 1), 0);  // no client is being called
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ClientBinding, ClientFolderIsInWindowsForm) {
    host::Client *c = host::LoadClientInProcess(StubClientInit, "/tmp/plugins/");
    EXPECT_EQ(host::ClientDirOf(c), "Z:\\tmp\\plugins");
    StringT dir = F_ApiClientDir();
    EXPECT_STREQ(dir, "Z:\\tmp\\plugins");
    F_ApiDeallocateString(&dir);
}

TEST_F(ClientBinding, TraceRecordsCallsIntoClients) {
    host::SetBindingTrace(true);
    stub.wanted = {FA_Note_PostOpenXML};
    host::Client *c = host::LoadClientInProcess(StubClientInit, "");
    host::NotifyClients(FA_Note_PostOpenXML, 0x04000400, "Z:\\a.xml", 0);
    host::CallClientCommand(c, 6);
    const auto &lines = host::TranscriptLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "-> Stub: F_ApiInitialize");
    EXPECT_EQ(lines[1], "-> Stub: F_ApiNotify PostOpenXML (96) 0x04000400 \"Z:\\a.xml\" 0");
    EXPECT_EQ(lines[2], "-> Stub: F_ApiCommand 6");
}

}  // namespace
