// The inter-client call interface as another client sees it: call strings through
// F_ApiCallClient("Quorvane", ...) answered by the plug-in loaded in-process.
#include <gtest/gtest.h>

#include "client.h"
#include "lib/state/settings_files.h"
#include "plugin/client_calls.h"
#include "support/xml_tree.h"
#include "xpath/xpath.h"

extern "C" void F_ApiClientInit(void);

namespace {

class ClientCalls : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetSession();
        host::LoadClientInProcess(F_ApiClientInit, "");
        om_XPathInitEngine(1000, 255, 10000);
        om_XPathResetNodeTable();
        om_XPathClearParameters();
        ClientCallState = ClientCallStateT{};
        ReturnIdType = 1;
        XformParams = XformParamsT{};
        savedSettingsFiles = SettingsFiles;
        doc = qvtest::BuildDocument(
            "<doc><sec id='s1'><para>a</para><para k='v'>b</para></sec><sec><para>c</para></sec></doc>",
            "Z:\\tmp\\calls.fm");
        ASSERT_NE(doc, 0u);
    }
    void TearDown() override {
        SettingsFiles = savedSettingsFiles;
        host::ResetClients();
        host::ResetSession();
    }
    IntT Call(const std::string &message) { return F_ApiCallClient("Quorvane", message.c_str()); }
    std::string D() { return std::to_string(doc); }
    // Every match of a compiled sequence (its number + 100) as paths.
    std::vector<std::string> Walk(IntT seq, const std::string &flow = "0") {
        std::vector<std::string> out;
        for (int i = 0; i < 100; ++i) {
            IntT m = Call("FindNextNode---" + std::to_string(seq) + "---" + D() + "---0---" + flow);
            if (m == 0) break;
            EXPECT_GT(m, 100) << "status " << m;
            if (m <= 100) break;
            std::string p = qvtest::PathOf(doc, F_ObjHandleT(m));
            IntT attr = Call("RetrieveAttrMatch---" + std::to_string(seq)) - 100;
            if (attr >= 0) {
                F_AttributesT a = F_ApiGetAttributes(doc, F_ObjHandleT(m));
                p += "/@" + std::string(a.val[attr].name);
                F_ApiDeallocateAttributes(&a);
            }
            out.push_back(p);
        }
        return out;
    }
    F_ObjHandleT doc = 0;
    SettingsFilesT savedSettingsFiles;
    using V = std::vector<std::string>;
};

TEST_F(ClientCalls, ParseAndWalkMatches) {
    IntT seq = Call("ParseXPath---//para");
    ASSERT_GE(seq, 101);
    EXPECT_EQ(Call("parsexpath---//para"), seq);  // cached, name in any case
    EXPECT_EQ(Walk(seq), (V{"/doc[1]/sec[1]/para[1]", "/doc[1]/sec[1]/para[2]", "/doc[1]/sec[2]/para[1]"}));
    EXPECT_EQ(Call("FindNextNode---" + std::to_string(seq) + "---" + D() + "---0"), 0);  // stays spent
    EXPECT_EQ(Call("ResetSequence---" + std::to_string(seq)), 0);
    EXPECT_EQ(Walk(seq, "Main").size(), 3u);  // "Main": no flow restriction
    EXPECT_EQ(Call("RetrieveFileMatch---" + std::to_string(seq)), IntT(doc));

    IntT attrs = Call("ParseXPath---//para/@*");
    EXPECT_EQ(Walk(attrs), V{"/doc[1]/sec[1]/para[2]/@k"});
    // The document by path, any case.
    Call("ResetSequence---" + std::to_string(seq));
    EXPECT_GT(Call("FindNextNode---" + std::to_string(seq) + "---z:\\TMP\\calls.fm---0"), 100);
}

// A call string and the result it must answer.
struct CallCase {
    std::string call;
    IntT want;
};

TEST_F(ClientCalls, StatusResults) {
    IntT seq = Call("ParseXPath---//para");
    std::string s = std::to_string(seq);
    const CallCase cases[] = {
        {"", 1},
        {"NoSuchCall---x", 1},
        {"RunNodeWizardScript---a---1", 2},
        {"ParseXPath", 2},
        {"ParseXPath---//para[", 3},
        {"ParseXPath---//para[---True---x", 2},
        {"FindNextNode---" + s + "---" + D(), 2},
        {"FindNextNode---105---12345---0", 4},
        {"FindNextNode---" + s + "---12345---0", 6},
        {"FindNextNode---" + s + "---" + D() + "---0---NoSuchFlow", 7},
        {"FindNextNode---" + s + "---" + D() + "---0---77", 7},
        {"ResetSequence---100", 4},
        {"ResetSequence---99999999", 4},
        {"ResetSequence", 2},
        {"RetrieveAttrMatch---" + std::to_string(seq + 1), 4},  // a record, but not an expression
        {"GetAppParm---QuorvaneVersionMajor", 103},
        {"GetAppParm---quorvaneversionminor", 144},
        {"GetAppParm---EC_QVRNVersionMajor", 103},
        {"GetAppParm---EC_ReturnIDType", 20},
        {"GetAppParm---Nothing", 20},
        {"SetAppParm---Nothing---1", 20},
        {"SetAppParm---QuorvaneVersionMajor---4", 20},
        {"ClearScriptParms", 1},
        {"GetScriptParmByte---undefined", 20},
    };
    for (const CallCase &c : cases) EXPECT_EQ(Call(c.call), c.want) << c.call;
}

// How a call string is cut and its call found: names in any case, a whole-message call only as
// the whole message, no empty last field after a final delimiter, numbers read as the host reads
// them, too many fields told apart from the right number.
TEST_F(ClientCalls, CallNamesAndFields) {
    IntT seq = Call("ParseXPath---//para");
    std::string s = std::to_string(seq);
    const CallCase cases[] = {
        {"rESETsEQUENCE---" + s, 0},
        {"ResetSequence---" + s + "---", 0},
        {"ResetSequence---" + s + "------", 2},
        {"ResetSequence--- \t+" + s + "x", 0},
        {"ResetSequence---99999999999999999999", 4},
        {"ResetSequence----" + s, 4},
        {"ResetSequence---" + s + "---1---2---3---4---5---6---7", 2},
        {"---ResetSequence---" + s, 1},
        {"ResetSequenceX---" + s, 1},
        {"FindNextNode", 2},
        {"FindNextNode---" + s + "---" + D() + "---0---0---0", 2},
        {"FindNextNode---" + s + "--- " + D() + "---0", 6},
        {"ReportAllocatedHandlers---", 1},
        {"LFMessage_ChangedAttribute---x", 1},
        {"lfmessage_changedattribute", 0},
        {"ChangeCallDelimiter", 1},
        {"GetAppParm---ec_quorvaneversionmajor", 103},
    };
    for (const CallCase &c : cases) EXPECT_EQ(Call(c.call), c.want) << c.call;
    EXPECT_EQ(ClientCallState.delimiter, "---");
    EXPECT_GT(Call("FindNextNode---" + s + "---" + D() + "---0---main"), 100);  // "Main" in any case
    // A delimiter inside a whole-message call's name leaves that call whole.
    EXPECT_EQ(Call("ChangeCallDelimiterNode"), 1);
    EXPECT_GT(Call("ReportAllocatedHandlers"), 0);
    EXPECT_EQ(Call("ParseXPathNode//para"), seq);
    EXPECT_EQ(Call("allocatenodehandlers"), 0);
    EXPECT_EQ(Call("ResetSequenceNode" + s), 4);  // the table was reset
    Call("ChangeCallDelimiter---");
}

TEST_F(ClientCalls, NodeTableResetInvalidatesSequenceNumbers) {
    IntT seq = Call("ParseXPath---//para");
    std::string s = std::to_string(seq);
    EXPECT_GT(Call("FindNextNode---" + s + "---" + D() + "---0"), 100);
    EXPECT_EQ(Call("DeallocateNodeHandlers"), 0);
    EXPECT_EQ(Call("ReportAllocatedHandlers"), IntT(XPathNodeTable.capacity()));
    EXPECT_GT(Call("ReportAllocatedHandlers"), 0);
    for (const char *c : {"FindNextNode---%---D---0", "ResetSequence---%", "RetrieveAttrMatch---%", "RetrieveDocMatch---%"}) {
        std::string call = c;
        call.replace(call.find('%'), 1, s);
        if (call.find("---D") != std::string::npos) call.replace(call.find("---D") + 3, 1, D());
        EXPECT_EQ(Call(call), 4) << call;
    }
    // After a new compile the same number may name another expression: it is then that one's.
    EXPECT_EQ(Call("AllocateNodeHandlers"), 0);
    EXPECT_EQ(Call("ParseXPath---//sec"), seq);
    EXPECT_EQ(Walk(seq), (V{"/doc[1]/sec[1]", "/doc[1]/sec[2]"}));
}

TEST_F(ClientCalls, DelimiterAndReturnIdType) {
    EXPECT_EQ(Call("ChangeCallDelimiter"), 1);
    EXPECT_EQ(ClientCallState.delimiter, "---");
    EXPECT_EQ(Call("changecalldelimiter|"), 1);
    EXPECT_EQ(ClientCallState.delimiter, "|");
    IntT seq = Call("ParseXPath|//sec[@id]");
    ASSERT_GT(seq, 100);
    EXPECT_EQ(Call("SetAppParm|EC_ReturnIDType|Unique"), 0);
    EXPECT_EQ(ReturnIdType, 2);
    IntT m = Call("FindNextNode|" + std::to_string(seq) + "|" + D() + "|0");
    F_ObjHandleT sec = F_ApiGetId(doc, F_ApiGetId(doc, F_ApiGetId(0, doc, FP_MainFlowInDoc), FP_HighestLevelElement),
                                  FP_FirstChildElement);
    EXPECT_EQ(m, F_ApiGetInt(doc, sec, FP_Unique));
    EXPECT_EQ(Call("SetAppParm|EC_ReturnIDType|false"), 0);
    EXPECT_EQ(ReturnIdType, 1);
    EXPECT_EQ(Call("ResetSequence|" + std::to_string(seq)), 0);
    EXPECT_EQ(Call("FindNextNode|" + std::to_string(seq) + "|" + D() + "|0"), IntT(sec));
    EXPECT_EQ(Call("SetAppParm|EC_AllowXPathFileOpening|False"), 0);
    EXPECT_EQ(XPathEngineOptions.allowFileOpening, 0);
    Call("SetAppParm|EC_AllowXPathFileOpening|True");
}

TEST_F(ClientCalls, Parameters) {
    EXPECT_EQ(Call("SetParam---x---1"), 0);
    EXPECT_EQ(Call("SetParam---$$x---2"), 0);
    EXPECT_EQ(Call("SetParam---y"), 0);
    EXPECT_EQ(XformParams.externalNames, (V{"$x", "$y"}));
    EXPECT_EQ(XformParams.externalValues, (V{"2", ""}));
    EXPECT_EQ(Call("SetParam---DELETE_ALL"), 0);
    EXPECT_TRUE(XformParams.externalNames.empty());

    // Bytes of a value, 100 at its end; the cursor shared by all names never reads past a
    // shorter value: it gives 100 and starts over.
    EXPECT_EQ(Call("SetScriptParm---p---ab"), 0);
    EXPECT_EQ(Call("SetScriptParm---q---abcd"), 0);
    EXPECT_EQ(Call("SetScriptParm---r---x"), 0);
    for (IntT want : {197, 198, 100, 197}) EXPECT_EQ(Call("GetScriptParmByte---p"), want);
    Call("GetScriptParmByte---q");  // cursor 2
    EXPECT_EQ(Call("GetScriptParmByte---r"), 100);
    EXPECT_EQ(Call("GetScriptParmByte---r"), 220);
    // Script parameters are XPath parameters.
    IntT seq = Call("ParseXPath---//para[@k = $p]");
    Call("SetScriptParm---p---v");
    om_XPathSubstituteParameters(seq - 100);
    EXPECT_EQ(Walk(seq), V{"/doc[1]/sec[1]/para[2]"});
    EXPECT_EQ(Call("ClearScriptParms"), 1);
    EXPECT_EQ(Call("GetScriptParmByte---p"), 20);
}

}  // namespace

namespace {

// EC_NWScriptsDoc by id: an open document's id makes its path current; the id of a document
// that was closed is no document: 5, and the current path stays for later runs.
TEST_F(ClientCalls, ScriptsDocumentByIdMustBeOpen) {
    F_ObjHandleT scripts = qvtest::BuildDocument("<NodeWizardScripts/>", "Z:\\tmp\\scripts.fm");
    F_ObjHandleT gone = qvtest::BuildDocument("<NodeWizardScripts/>", "Z:\\tmp\\gone.fm");
    ASSERT_EQ(F_ApiClose(gone, 1), 0);
    EXPECT_EQ(Call("SetAppParm---EC_NWScriptsDoc---" + std::to_string(scripts)), 0);
    EXPECT_EQ(SettingsFiles.currentScriptsDoc, "Z:/tmp/scripts.fm");
    EXPECT_EQ(Call("SetAppParm---EC_NWScriptsDoc---" + std::to_string(gone)), 5);
    EXPECT_EQ(SettingsFiles.currentScriptsDoc, "Z:/tmp/scripts.fm");
    EXPECT_EQ(Call("GetAppParm---EC_NWScriptsDoc"), IntT(scripts));
}

}  // namespace
