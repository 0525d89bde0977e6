// Host menus, commands and separators: definition, placement, the session list, lookup by
// name, properties, choosing a command, and the host function codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "menus.h"
#include "model.h"

namespace {

std::vector<IntT> commandsRun;

// A client that defines a menu with two commands and a separator under the host's main menu.
void MenuClientInit() {
    static F_ApiClientCallbacksT cb{"MenuClient",
                                    [](IntT) {
                                        F_ObjHandleT main = F_ApiGetNamedObject(0, FO_Menu, "!MakerMainMenu");
                                        F_ObjHandleT menu = F_ApiDefineMenu("!My_Menu", "Mine");
                                        F_ApiAddMenuToMenu(main, menu);
                                        F_ObjHandleT sep = F_ApiNewNamedObject(0, FO_MenuItemSeparator, "my_sep");
                                        const char *v[] = {"WYSIWYG View", "Author View"};
                                        F_StringsT views{2, const_cast<StringT *>(v)};
                                        F_ObjHandleT run = F_ApiDefineCommandWithViews(6, "My_Cmd_Run", "Run...", "", &views);
                                        F_ApiAddCommandToMenu(menu, run);
                                        F_ApiAddMenuToMenu(menu, sep);
                                        F_ApiDefineAndAddCommandWithViews(100, menu, "My_Cmd_Key", "Key", "\\!zq", nullptr);
                                    },
                                    [](IntT n) { commandsRun.push_back(n); }, nullptr, nullptr, nullptr};
    F_ApiRegisterClient(&cb);
}

class HostMenus : public ::testing::Test {
protected:
    void SetUp() override {
        host::ResetClients();
        host::ResetMenus();
        host::ResetSession();
        commandsRun.clear();
        FA_errno = 0;
    }
    void TearDown() override { host::ResetClients(); }

    static std::string Name(F_ObjHandleT id) {
        StringT s = F_ApiGetString(0, id, FP_Name);
        std::string out = s ? s : "";
        F_ApiDeallocateString(&s);
        return out;
    }
};

TEST_F(HostMenus, HostMenusExistBeforeAnyClient) {
    for (const char *name : {"!MakerMainMenu", "!ViewOnlyMainMenu", "!BookMainMenu", "!ViewOnlyBookMainMenu"}) {
        F_ObjHandleT m = F_ApiGetNamedObject(0, FO_Menu, name);
        EXPECT_EQ(F_OBJ_KIND(m), FO_Menu) << name;
        EXPECT_EQ(Name(m), name);
    }
    EXPECT_EQ(F_ApiGetNamedObject(0, FO_Menu, "!NoSuchMenu"), 0u);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(HostMenus, ClientDefinesPlacesAndChoosesCommands) {
    host::LoadClientInProcess(MenuClientInit, "");
    F_ObjHandleT menu = F_ApiGetNamedObject(0, FO_Menu, "!My_Menu");
    ASSERT_NE(menu, 0u);
    F_ObjHandleT main = F_ApiGetNamedObject(0, FO_Menu, "!MakerMainMenu");
    EXPECT_EQ(host::MenuItems(main), std::vector<F_ObjHandleT>{menu});
    auto items = host::MenuItems(menu);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Name(items[0]), "My_Cmd_Run");
    EXPECT_EQ(F_OBJ_KIND(items[1]), FO_MenuItemSeparator);
    EXPECT_EQ(Name(items[2]), "My_Cmd_Key");
    EXPECT_EQ(F_ApiGetInt(0, items[2], FP_CommandNum), 100);

    // Labels can be rewritten.
    F_ApiSetString(0, menu, FP_Label, "Quorvane (!DEBUG!)");
    StringT label = F_ApiGetString(0, menu, FP_Label);
    EXPECT_STREQ(label, "Quorvane (!DEBUG!)");
    F_ApiDeallocateString(&label);

    // The session list: the host's menus first, then the client's objects in definition order.
    std::vector<std::string> names;
    for (F_ObjHandleT id = F_ApiGetId(0, 0, FP_FirstMenuItemInSession); id && names.size() < 50; id = F_ApiGetId(0, id, FP_NextMenuItemInSession))
        names.push_back(Name(id));
    EXPECT_EQ(names, (std::vector<std::string>{"!MakerMainMenu", "!ViewOnlyMainMenu", "!BookMainMenu",
                                                "!ViewOnlyBookMainMenu", "!My_Menu", "my_sep", "My_Cmd_Run",
                                                "My_Cmd_Key"}));

    std::string error;
    EXPECT_TRUE(host::ChooseCommand("My_Cmd_Run", &error));
    EXPECT_TRUE(host::ChooseShortcut("\\!zq", &error));
    EXPECT_FALSE(host::ChooseCommand("Nope", &error));
    EXPECT_EQ(error, "no command named \"Nope\"");
    EXPECT_EQ(commandsRun, (std::vector<IntT>{6, 100}));

    auto tree = host::MenuTree();
    ASSERT_GE(tree.size(), 5u);
    EXPECT_EQ(tree[1], "  !My_Menu \"Quorvane (!DEBUG!)\"");
    EXPECT_EQ(tree[2], "    My_Cmd_Run \"Run...\" (number 6)");
    EXPECT_EQ(tree[3], "    -- my_sep");
}

TEST_F(HostMenus, RefusesBadPlacementsAndNames) {
    F_ObjHandleT a = F_ApiDefineMenu("A", "a");
    F_ObjHandleT b = F_ApiDefineAndAddMenu(a, "B", "b");
    ASSERT_NE(b, 0u);
    EXPECT_EQ(F_ApiDefineMenu("A", "again"), a);  // the same name gives the same menu
    EXPECT_NE(F_ApiAddMenuToMenu(b, a), 0);      // a menu inside itself
    EXPECT_NE(F_ApiAddMenuToMenu(a, a), 0);
    EXPECT_NE(F_ApiAddCommandToMenu(a, b), 0);   // not a command
    EXPECT_NE(F_ApiAddMenuToMenu(0x04000400, b), 0);
    EXPECT_EQ(F_ApiDefineMenu("", "x"), 0u);
    EXPECT_EQ(F_ApiDefineCommandWithViews(5, "A", "clash", "", nullptr), 0u);  // name of a menu
    EXPECT_EQ(F_ApiDefineAndAddCommandWithViews(5, 0, "C", "c", "", nullptr), 0u);
    EXPECT_EQ(F_ApiAddMenuToMenu(a, b), 0);  // already there: nothing changes
    EXPECT_EQ(host::MenuItems(a).size(), 1u);
    EXPECT_EQ(F_ApiGetInt(0, a, FP_CommandNum), 0);  // menus have no command number
    EXPECT_NE(FA_errno, 0);
}

TEST_F(HostMenus, ViewModeFunctionCodesActOnTheActiveDocument) {
    IntT codes[] = {FV_FC_VIEW_MODE_1};
    F_IntsT list{1, codes};
    EXPECT_NE(F_ApiFcodes(&list), 0);  // no active document
    F_ObjHandleT doc = host::NewDocument("/tmp/a.fm");
    F_ApiSetId(0, 0, FP_ActiveDoc, doc);
    EXPECT_EQ(F_ApiFcodes(&list), 0);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_ViewMode), 1);
    codes[0] = FV_FC_VIEW_MODE_OTHER;
    EXPECT_EQ(F_ApiFcodes(&list), 0);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_ViewMode), 2);
    codes[0] = 12345;
    EXPECT_NE(F_ApiFcodes(&list), 0);
}

}  // namespace
