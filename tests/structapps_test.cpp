// Structure-application names: the host folder's structure-applications document is found or
// opened by its fixed path, and its application names are listed by kind, doctype and order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fdk.h"
#include "lib/host/settings_paths.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "model.h"
#include "paths.h"
#include "xpath/structapps.h"

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class StructApps : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        dir = fs::temp_directory_path() / ("qv_structapps_" + std::to_string(::getpid()));
        fs::create_directories(dir / "Structure");
        host::TheSession().hostDir = host::WindowsPath(dir.string());
    }
    void TearDown() override {
        host::ResetSession();
        fs::remove_all(dir);
    }
    // Saves and closes a structure-applications document with these applications (kind, name,
    // doctypes); "beta" appears twice.
    void WriteStructApps() {
        using namespace host;
        F_ObjHandleT doc = NewDocument(WindowsPath((dir / "Structure" / "structapps.fm").string()));
        F_ObjHandleT setup = AddElementDef(doc, "StructuredSetup");
        F_ObjHandleT xml = AddElementDef(doc, "XMLApplication"), sgml = AddElementDef(doc, "SGMLApplication");
        F_ObjHandleT name = AddElementDef(doc, "ApplicationName"), type = AddElementDef(doc, "DOCTYPE");
        F_ObjHandleT root = AppendElement(doc, 0, setup, MainFlow(doc));
        struct App {
            F_ObjHandleT def;
            const char *name;
            std::vector<const char *> types;
        };
        for (const App &a : {App{xml, "beta", {"topic", "concept"}}, App{sgml, "Alpha", {"book"}},
                             App{xml, "gamma", {"topic"}}, App{xml, "beta", {"map"}}}) {
            F_ObjHandleT app = AppendElement(doc, root, a.def);
            AppendText(doc, AppendElement(doc, app, name), a.name);
            for (const char *t : a.types) AppendText(doc, AppendElement(doc, app, type), t);
        }
        F_PropValsT params = F_ApiGetSaveDefaultParams();
        ASSERT_TRUE(F_ApiSave(doc, "", &params, nullptr));
        F_ApiDeallocatePropVals(&params);
        CloseDocument(doc);
    }
    fs::path dir;
};

std::vector<std::string> Names(IntT kind, const char *doctype, IntT only, IntT first, IntT sort) {
    F_StringsT list = om_StructAppNames(1, kind, doctype, only, first, sort);
    std::vector<std::string> out = qv::ReadStrings(&list);
    F_ApiDeallocateStrings(&list);
    return out;
}

TEST_F(StructApps, HostFolderDocumentIsFoundOrOpenedInvisibly) {
    WriteStructApps();
    EXPECT_EQ(om_StructAppsDoc(1, 0, 0), 0u);
    EXPECT_TRUE(Names(3, "", 0, 0, 0).empty());
    F_ObjHandleT doc = om_StructAppsDoc(1, 1, 1);
    ASSERT_NE(doc, 0u);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_IsOnScreen), 0);
    EXPECT_EQ(om_StructAppsDoc(1, 0, 0), doc);
    EXPECT_EQ(om_StructAppsDoc(3, 1, 0), 0u);
}

TEST_F(StructApps, NamesByKindDoctypeAndOrder) {
    WriteStructApps();
    ASSERT_NE(om_StructAppsDoc(1, 1, 1), 0u);
    using V = std::vector<std::string>;
    struct Case {
        IntT kind;
        const char *doctype;
        IntT only, first, sort;
        V want;
    } cases[] = {
        {1, "", 0, 0, 0, {"beta", "gamma"}},
        {2, "", 0, 0, 0, {"Alpha"}},
        {3, "", 0, 0, 0, {"beta", "Alpha", "gamma"}},
        {0, "", 0, 0, 1, {"Alpha", "beta", "gamma"}},
        {3, "topic", 1, 0, 0, {"beta", "gamma"}},
        {3, "map", 1, 0, 0, {"beta"}},
        {3, "Topic", 1, 0, 0, {}},
        {3, "book", 0, 1, 0, {"Alpha", "beta", "gamma"}},
        {3, "topic", 0, 1, 1, {"beta", "gamma", "Alpha"}},
        {2, "topic", 1, 0, 0, {}},
        {3, "topic", 0, 0, 1, {"Alpha", "beta", "gamma"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Names(c.kind, c.doctype, c.only, c.first, c.sort), c.want)
            << c.kind << " " << c.doctype << " " << c.only << c.first << c.sort;
}

}  // namespace
