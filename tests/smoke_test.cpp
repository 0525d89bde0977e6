// The program as built: the plug-in starts inside the host from its shipped files and a settled
// settings folder, and answers a query put to it by another client.
#include <gtest/gtest.h>

#include "client.h"
#include "fdk.h"
#include "model.h"
#include "support/xml_tree.h"

extern "C" void F_ApiClientInit(void);

TEST(Build, PluginStartsAndAnswersAQuery) {
    host::ResetClients();
    host::ResetSession();
    ASSERT_NE(host::LoadClientInProcess(F_ApiClientInit, QV_BIN_DIR), nullptr);
    F_ObjHandleT doc = qvtest::BuildDocument("<doc><p>a</p><p>b</p></doc>", "Z:\\tmp\\smoke.fm");
    ASSERT_NE(doc, 0u);
    IntT seq = F_ApiCallClient("Quorvane", "ParseXPath---//p");
    ASSERT_GT(seq, 100);
    std::string next = "FindNextNode---" + std::to_string(seq) + "---" + std::to_string(doc) + "---0---0";
    IntT first = F_ApiCallClient("Quorvane", next.c_str());
    ASSERT_GT(first, 100);
    EXPECT_EQ(qvtest::PathOf(doc, F_ObjHandleT(first)), "/doc[1]/p[1]");
    host::ResetClients();
    host::ResetSession();
}
