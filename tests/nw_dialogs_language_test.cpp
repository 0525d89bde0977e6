// The Node Wizard in another language: its labels and the texts it writes pass through the
// "Quorvane - Node Wizard" table, and the action named in a translated text box is read back
// through the same table.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "lib/dialogs/dlgitems.h"
#include "lib/dialogs/language_choice.h"
#include "lib/host/docio.h"
#include "lib/host/pgftext.h"
#include "lib/plugin_globals.h"
#include "lib/state/nodewizard.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "lib/translation/langfiles.h"
#include "model.h"
#include "nodewizard/dialogs.h"
#include "paths.h"
#include "user.h"

extern "C" void *qv_DialogResourceText(ConStringT name);

namespace fs = std::filesystem;

namespace {

void ClientInit() {
    static F_ApiClientCallbacksT cb{"Quorvane", nullptr, nullptr, nullptr, nullptr, qv_DialogResourceText};
    F_ApiRegisterClient(&cb);
}

class NWDialogsLanguage : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetClients();
        host::ResetUser();
        qv::LangReset();
        om_NWSetDefaults();
        DialogHandles = DialogHandlesT{};
        extra = fs::temp_directory_path() / ("qv_nwlang_" + std::to_string(::getpid()));
        fs::remove_all(extra);
        fs::create_directories(extra);
        host::LoadClientInProcess(ClientInit, QV_SOURCE_DIR "/defaults");
        om_LangInit("Quorvane", host::WindowsPath(extra.string()).c_str(), "English");
    }
    void TearDown() override {
        if (DialogHandles[kDlgNodeWizard]) F_ApiClose(DialogHandles[kDlgNodeWizard], 0);
        qv::LangReset();
        host::ResetClients();
        fs::remove_all(extra);
    }
    // A dialogs language file with one table of (English, translation) rows.
    void MakeDialogsFile(const std::vector<std::pair<std::string, std::string>> &rows) {
        F_ObjHandleT doc = om_LangOpenTemplate();
        ASSERT_NE(0u, doc);
        std::vector<std::string> english;
        for (const auto &r : rows) english.push_back(r.first);
        F_StringsT list = qv::NewStrings(english);
        F_ObjHandleT table = om_LangAddRows(doc, 0, NWDialogTable, &list);
        F_ApiDeallocateStrings(&list);
        ASSERT_NE(0u, table);
        for (const auto &r : rows) {
            F_ObjHandleT row = om_TableFindRow(doc, table, 1, r.first.c_str(), 1, 1);
            ASSERT_NE(0u, row) << r.first;
            ASSERT_NE(0u, om_CellSetText(doc, table, qv::CellOf(doc, row, 2, 0, 0), 0, 0, r.second.c_str(), 0));
        }
        std::string path = host::WindowsPath((extra / "Quorvane_Strings_Dialogs_French.fm").string());
        ASSERT_NE(0u, om_DocSave(doc, path.c_str(), -1, 1, 0, 0));
        ASSERT_EQ(1, om_DocClose(doc, 0));
    }
    std::string Label(F_ObjHandleT dlg, IntT item) {
        StringT s = F_ApiGetString(dlg, F_ApiDialogItemId(dlg, item), FP_Label);
        std::string out(qv::View(s));
        F_ApiDeallocateString(&s);
        return out;
    }
    fs::path extra;
};

TEST_F(NWDialogsLanguage, LabelsAndActionNamesGoThroughTheTable) {
    MakeDialogsFile({{"Match First", "Premier"},
                     {"of", "de"},
                     {"None", "Aucune"},
                     {"Retag as", "Renommer"},
                     {"Search string", "Chercher"}});
    StringT switched = om_LangSwitch(0, "French", 1, 0);
    F_ApiDeallocateString(&switched);
    om_NWOpenWizardDialog(-501, -501, 1);
    F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard];
    ASSERT_NE(0u, dlg);
    EXPECT_EQ(Label(dlg, 48), "Premier");
    EXPECT_EQ(Label(dlg, 44), "! 0 de 0");
    EXPECT_EQ(qv::DlgText(dlg, 20), "Aucune");
    EXPECT_EQ(Label(dlg, 16), "Aucune");
    EXPECT_EQ(om_DlgIsEnabled(dlg, 22), 0);  // None: no help, no name box
    // The user picks the translated name of Retag as: the refresh reads it back as action 2.
    F_ApiSetString(dlg, F_ApiDialogItemId(dlg, 20), FP_DlgText, "Renommer");
    F_ApiSetString(dlg, F_ApiDialogItemId(dlg, 30), FP_DlgText, "Search and replace string");
    om_NWRefreshWizardDialog(0);
    EXPECT_EQ(om_DlgIsEnabled(dlg, 22), 1);
    EXPECT_EQ(F_ApiGetInt(dlg, F_ApiDialogItemId(dlg, 24), FP_DlgVisibility), 1);
    EXPECT_EQ(Label(dlg, 34), "Chercher");
}

// Set unique ID greys the attribute names and the list button only: its errors can still be
// reported (box 33).
TEST_F(NWDialogsLanguage, SetUniqueIdKeepsTheReportBox) {
    om_NWOpenWizardDialog(-501, -501, 1);
    F_ObjHandleT dlg = DialogHandles[kDlgNodeWizard];
    ASSERT_NE(0u, dlg);
    const struct {
        const char *action;
        IntT report, names[3];
    } cases[] = {
        {"Set unique ID", 1, {0, 0, 0}},
        {"Add specified values", 1, {1, 1, 1}},
        {"None", 0, {0, 0, 0}},
    };
    for (const auto &c : cases) {
        F_ApiSetString(dlg, F_ApiDialogItemId(dlg, 30), FP_DlgText, c.action);
        om_NWRefreshWizardDialog(0);
        EXPECT_EQ(om_DlgIsEnabled(dlg, 33), c.report) << c.action;
        for (IntT i = 0; i < 3; ++i) EXPECT_EQ(om_DlgIsEnabled(dlg, 34 + i), c.names[i]) << c.action << " item " << 34 + i;
    }
}

}  // namespace
