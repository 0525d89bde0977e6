// The shell's routing: every command of the menus reaches its action, the menus' variants, the
// notifications and the dialog events reach their handlers, with the keep rule, the stylesheet
// element's insertion and Cancel, and Set Language.
#include <functional>
#include <string>
#include <vector>

#include "lib/dialogs/language_choice.h"
#include "lib/host/element_edit.h"
#include "lib/host/element_location.h"
#include "lib/state/cond_settings.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/scripts_palette.h"
#include "plugin/cond_settings.h"
#include "support/cond_fixture.h"
#include "lib/shell_records.h"
#include "lib/state/settings_files.h"
#include "lib/state/stylesheet_setup.h"
#include "lib/host/system_services.h"
#include "plugin/commands.h"
#include "xpath/xpath.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;
namespace fs = std::filesystem;

std::string Name(F_ObjHandleT id) {
    StringT s = F_ApiGetString(0, id, FP_Name);
    std::string out = s ? s : "";
    F_ApiDeallocateString(&s);
    return out;
}

std::vector<std::string> ItemNames(const char *menu) {
    std::vector<std::string> out;
    for (F_ObjHandleT id : host::MenuItems(host::FindMenuObject(menu))) out.push_back(Name(id));
    return out;
}

class ShellRouting : public ShellTest {
protected:
    // A new active document: Doc holding a selected Para "alpha", with the condition tag Draft.
    static F_ObjHandleT NewDoc(const std::string &path, F_ObjHandleT *para) {
        F_ObjHandleT d = host::NewDocument(path);
        F_ObjHandleT root = host::AppendElement(d, 0, host::AddElementDef(d, "Doc"), host::MainFlow(d));
        *para = host::AppendElement(d, root, host::AddElementDef(d, "Para", FV_FO_CONTAINER, "Body"));
        host::AppendText(d, *para, "alpha");
        F_ApiNewNamedObject(d, FO_CondFmt, "Draft");
        om_ElementSelect(d, *para, LocElement);
        F_ApiSetId(0, 0, FP_ActiveDoc, d);
        return d;
    }
    // 1 when the text of the element begins with a condition tag.
    static bool Tagged(F_ObjHandleT d, F_ObjHandleT e) {
        F_ElementLocT at{e, host::Elem(e)->first, 0};
        F_TextLocT loc = F_ApiElementLocToTextLoc(d, &at);
        F_PropValT pv = F_ApiGetTextPropVal(d, &loc, FP_InCond);
        bool tagged = pv.propVal.isval.len > 0;
        F_ApiFreeIntList(&pv.propVal.isval);
        return tagged;
    }
    static std::string Path(F_ObjHandleT d) {
        StringT s = F_ApiGetString(0, d, FP_Path);
        std::string out = s ? s : "";
        F_ApiDeallocateString(&s);
        return out;
    }
    void SetUp() override {
        ShellTest::SetUp();
        launched.clear();
        qv::sys::SetLauncher([this](const std::string &program, const std::vector<std::string> &) {
            launched.push_back(program);
            return 0;
        });
    }
    void TearDown() override {
        qv::sys::SetLauncher(nullptr);
        ShellTest::TearDown();
    }
    std::vector<std::string> launched;
};

TEST_F(ShellRouting, EveryCommandReachesItsAction) {
    host::TheSession().versionMajor = 15;  // the version warning command exists
    shelltest::WriteFile(root / "editor", "");
    Settle("NOTEPAD_EXE_PATH=" + qv::sys::WindowsPath((root / "editor").string()) + "\nSTARTUP_LANGUAGE=English\n");
    ASSERT_TRUE(Start());
    // Each command by what its action shows the user (without a document or book open): an
    // action's own dialog, message or question. Check Stylesheet and Update Language File both
    // stop at the same message; Auto Apply Conditions without a document shows nothing.
    struct Row {
        const char *name;
        const char *shows;
    };
    const Row rows[] = {
        {"Quorvane_Cmd_Node_Wizard", "dialog \"Quorvane Node Wizard\" [qv_DialogNodeWizard]"},
        {"Quorvane_Cmd_Help_About", "XPath queries and actions for structured documents and books"},
        {"Quorvane_Cmd_Set_Up_QVRN_Element", "No active document.\n"},
        {"Quorvane_Cmd_Transform_Doc", "No active book or document.  Cannot continue."},
        {"Quorvane_Cmd_Check_Stylesheet", "No active document. Cannot continue."},
        {"Quorvane_Cmd_Read_Local_Prefs", "The preferences were read from the file."},
        {"Quorvane_Cmd_Cond_Mngmt_Settings", "[qv_DialogConditionManager]"},
        {"Quorvane_Cmd_Auto_Apply_Conditions", ""},
        {"Quorvane_Cmd_Auto_Apply_Conditions_Whole_Doc", "No document is active."},
        {"Quorvane_Cmd_Auto_Apply_Conditions_Whole_Book", "No book is active."},
        {"Quorvane_Cmd_Clear_Conditions", "Remove all conditional text tags from the active document or book?"},
        {"Quorvane_Cmd_Node_Wizard_Scripts", "[qv_DialogNWScripts]"},
        {"Quorvane_Cmd_Open_Local_Prefs", "The preferences file will now open in your text editor"},
        {"Quorvane_Cmd_Set_Language", "dialog \"Select Language\" [om_Dialog_DDown]"},
        {"Quorvane_Cmd_Create_Lang_File", "Create a new language translation file for Quorvane?"},
        {"Quorvane_Cmd_Update_Language_File", "No active document. Cannot continue."},
        {"Quorvane_Cmd_Open_Language_File", "dialog \"Select Language\" [om_Dialog_DDown]"},
        {"Quorvane_Cmd_Transform_Warning", "Transformation features are scheduled for deprecation"},
        {"Quorvane_Cmd_Version_Warning", "built for host major version 16, but the host running is major version 15"},
    };
    // What the user saw: the transcript without the console's trace lines.
    auto seen = [] {
        std::string all;
        for (const std::string &line : host::TranscriptLines())
            if (line.rfind("console:", 0) != 0) all += line + "\n";
        return all;
    };
    for (const Row &r : rows) {
        host::ClearTranscript();
        std::string error;
        ASSERT_TRUE(host::ChooseCommand(r.name, &error)) << error;
        if (*r.shows) EXPECT_NE(seen().find(r.shows), std::string::npos) << r.name << "\n" << seen();
        else EXPECT_EQ(seen(), "") << r.name;
    }
    // What some of them showed: 11 tells the result, 14 and 15 need an active document or book,
    // 19 tells the path and starts the editor, 24 and 26 are the shell's own notices.
    host::ClearTranscript();
    host::ChooseCommand("Quorvane_Cmd_Auto_Apply_Conditions_Whole_Doc", nullptr);
    host::ChooseCommand("Quorvane_Cmd_Auto_Apply_Conditions_Whole_Book", nullptr);
    host::ChooseCommand("Quorvane_Cmd_Version_Warning", nullptr);
    host::ChooseCommand("Quorvane_Cmd_Open_Local_Prefs", nullptr);
    EXPECT_TRUE(Shown("No document is active.")) << Transcript();
    EXPECT_TRUE(Shown("No book is active.")) << Transcript();
    EXPECT_TRUE(Shown("built for host major version 16, but the host running is major version 15")) << Transcript();
    EXPECT_TRUE(Shown("Quorvane_General_Preferences.txt")) << Transcript();
    EXPECT_EQ(launched, std::vector<std::string>(2, (root / "editor").string()));  // chosen twice

    // Numbers without a command do nothing.
    host::ClearTranscript();
    for (IntT number : {0, 18, 25, 27, 99, 200}) F_ApiCommand(number);
    EXPECT_FALSE(Shown("Quorvane command")) << Transcript();
}

TEST_F(ShellRouting, MenusInTheirOrderWithTheDebugAndVersionWarningVariants) {
    const std::vector<std::string> docTail = {
        "Quorvane_Cmd_Node_Wizard", "Quorvane_Cmd_Node_Wizard_Scripts", "qv_separator2", "Quorvane_Menu_Transform",
        "qv_separator3", "Quorvane_Cmd_Auto_Apply_Conditions_Whole_Doc", "Quorvane_Cmd_Clear_Conditions",
        "Quorvane_Cmd_Cond_Mngmt_Settings", "qv_separator4", "Quorvane_Cmd_Read_Local_Prefs",
        "Quorvane_Cmd_Open_Local_Prefs", "Quorvane_Menu_Language", "qv_separator5", "Quorvane_Cmd_Help_About"};
    // Same version, no debug mode: the menus as the user sees them.
    Settle("");
    ASSERT_TRUE(Start());
    EXPECT_EQ(ItemNames("!Quorvane_Menu_MainDocMenu"), docTail);
    EXPECT_EQ(ItemNames("Quorvane_Menu_Transform"),
              (std::vector<std::string>{"Quorvane_Cmd_Transform_Warning", "Quorvane_Cmd_Check_Stylesheet",
                                        "Quorvane_Cmd_Transform_Doc"}));
    EXPECT_EQ(ItemNames("Quorvane_Menu_Language"),
              (std::vector<std::string>{"Quorvane_Cmd_Set_Language", "qv_separator3",
                                        "Quorvane_Cmd_Open_Language_File", "Quorvane_Cmd_Create_Lang_File",
                                        "Quorvane_Cmd_Update_Language_File"}));
    EXPECT_EQ(host::FindMenuObject("Quorvane_Cmd_Version_Warning"), 0u);
    EXPECT_EQ(host::FindMenuObject("Quorvane_Cmd_Set_Up_QVRN_Element") != 0, true);  // defined, in no menu

    // Debug mode on a host of another version.
    TearDown();
    SetUp();
    host::TheSession().versionMajor = 15;
    Settle("QVRN_DEBUG_MODE=marlonvestry\nSTARTUP_LANGUAGE=English\n");
    ASSERT_TRUE(Start());
    std::vector<std::string> doc = {"qv_separator1", "Quorvane_Cmd_Version_Warning", "qv_versWarningSep"};
    doc.insert(doc.end(), docTail.begin(), docTail.end());
    EXPECT_EQ(ItemNames("!Quorvane_Menu_MainDocMenu"), doc);
    std::vector<std::string> book = ItemNames("!Quorvane_Menu_MainBookMenu");
    ASSERT_GE(book.size(), 2u);
    EXPECT_EQ(book[0], "qv_separator1");
    EXPECT_EQ(book[1], "Quorvane_Cmd_Node_Wizard");
    for (const char *menu : {"!Quorvane_Menu_MainDocMenu", "!Quorvane_Menu_MainBookMenu"}) {
        StringT label = F_ApiGetString(0, host::FindMenuObject(menu), FP_Label);
        EXPECT_STREQ(label, "Quorvane (!DEBUG!)");
        F_ApiDeallocateString(&label);
    }
    EXPECT_EQ(om_XPathGetParameter("test2"), "Body");  // debug mode's test parameters

    // The maker's shared menus in place of the host's main menus.
    TearDown();
    SetUp();
    Settle("QVRN_MENU_LOCATION=orlemeadow\nSTARTUP_LANGUAGE=English\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(ItemNames("!MakerMainMenu"), std::vector<std::string>{"!OrleMeadowDocMenu"});
    EXPECT_EQ(ItemNames("!OrleMeadowDocMenu"), std::vector<std::string>{"!Quorvane_Menu_MainDocMenu"});
    EXPECT_EQ(ItemNames("!OrleMeadowBookMenu"), std::vector<std::string>{"!Quorvane_Menu_MainBookMenu"});
}

// Each notification by what its handler does, delivered through the plug-in's notify callback
// as the host delivers it. Every case starts alike: the plug-in started with auto-running scripts
// (one script per trigger, each setting the parameter "fired" to its trigger's name), a condition
// rule tagging Para "Draft" with only the case's trigger setting on, the scripts palette open and
// a new document (a selected Para) active that the palette has not listed yet; some cases come
// once the session is quitting. A case expects its own effect and none of the others': a table
// row pointing at another handler fails here.
TEST_F(ShellRouting, NotificationsReachTheirHandlers) {
    const fs::path scriptsFile = root / "scripts.xml";
    std::string scripts = "<NodeWizardScripts Version1=\"\">";
    for (const char *trigger : {"OnDocumentOpen", "OnMarkupOpen", "OnEDDImport", "OnDisplayRefresh"})
        scripts += std::string("<NodeWizardScript><NWScriptName>") + trigger +
                   "</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>"
                   "</GeneralSettings><" + trigger + "><Yes/></" + trigger + "></NWScriptSettings><NWScriptEvent>"
                   "<XPathExpression>/*</XPathExpression><OtherActions><Set_parameter><Parameter_name>fired"
                   "</Parameter_name><Static_value>" + trigger + "</Static_value></Set_parameter></OtherActions>"
                   "</NWScriptEvent></NodeWizardScript>";
    shelltest::WriteFile(scriptsFile, scripts + "</NodeWizardScripts>\n");
    Settle("NW_ALLOW_SCRIPT_AUTORUNNING=Yes\nPROMPT_NW_SCRIPT_GENERAL_MSGS=Never\n");
    ASSERT_TRUE(Start());
    SettingsFiles.currentScriptsDoc = qv::sys::WindowsPath(scriptsFile.string());
    qvtest::WriteCondRules({{"self::Para", {"Draft"}}});
    om_CondLoadRules(1);
    om_NWSOpenPalette(0);
    ASSERT_NE(DialogHandles[kDlgNWScripts], 0u);

    using Trigger = IntT CondTriggerSettingsT::*;
    F_ObjHandleT doc = 0;
    IntT answered = 0;
    struct Case {
        IntT code;
        const char *text;
        IntT number;
        bool quitting;       // delivered once the session is quitting
        Trigger trigger;     // the one condition trigger on, or none
        const char *fired;   // the trigger whose script ran, or ""
        bool tagged;         // the rule tagged the Para
        bool refreshed;      // the palette read the open documents again
        std::function<bool()> own;  // the handler's own effect, where it has one
    };
    const std::string para = "Para";
    const Case cases[] = {
        {FA_Note_PostOpenDoc, "", 0, false, &CondTriggerSettingsT::afterOpenDoc, "OnDocumentOpen", true, true, {}},
        {FA_Note_PostOpenMIF, "", 0, false, &CondTriggerSettingsT::afterOpenMarkup, "OnMarkupOpen", true, true, {}},
        {FA_Note_PostOpenSGML, "", 0, false, &CondTriggerSettingsT::afterOpenMarkup, "OnDocumentOpen", true, true, {}},
        {FA_Note_PostOpenXML, "", 0, false, &CondTriggerSettingsT::afterOpenMarkup, "OnDocumentOpen", true, true, {}},
        {FA_Note_PostImportElemDefs, "", 0, false, &CondTriggerSettingsT::afterImportDefs, "OnEDDImport", true, false, {}},
        {FA_Note_PostFunction, "", FV_FC_DISPLAY_REFRESH, false, nullptr, "OnDisplayRefresh", false, false, {}},
        {FA_Note_PostChangeElement, "", 0, false, &CondTriggerSettingsT::afterInsertWrap, "", true, false, {}},
        {FA_Note_PostWrapElement, "", 0, false, &CondTriggerSettingsT::afterInsertWrap, "", true, false, {}},
        {FA_Note_PostSetAttrValue, "", 0, false, &CondTriggerSettingsT::afterAttrEdit, "", true, false, {}},
        {FA_Note_PreInsertElement, para.c_str(), 0, false, &CondTriggerSettingsT::afterInsertWrap, "", false, false, {}},
        {FA_Note_PostInsertElement, para.c_str(), 0, false, &CondTriggerSettingsT::afterInsertWrap, "", true, false, {}},
        {FA_Note_PostQuitDoc, "", 0, false, nullptr, "", false, true, {}},
        {FA_Note_PostQuitDoc, "", 0, true, nullptr, "", false, false, {}},
        {FA_Note_PostActiveDocChange, "", 0, true, nullptr, "", false, true, {}},
        {FA_Note_PreQuitDoc, "", 0, false, nullptr, "", false, false, {}},
        {FA_Note_PreFunction, "", FV_FC_SAVE_AS, false, nullptr, "", false, false,
         [&] { return !PluginGlobals.pathBeforeSaveAs.empty() && PluginGlobals.pathBeforeSaveAs == Path(doc); }},
        {FA_Note_PreMouseCommand, "", 0x01000000, false, nullptr, "", false, false,
         [] { return NotifyState.doubleClick == 1; }},
        {FA_Note_PostMouseCommand, "", 0, false, nullptr, "", false, false, [&] { return NotifyState.lastFront == doc; }},
        {FA_Note_ClientCall, "ParseXPath---//Para", 0, false, nullptr, "", false, false, [&] { return answered > 100; }},
        {FA_Note_Dialog_Create, "qv_DialogNodeWizard", 0, false, nullptr, "", false, false,
         [] { return DialogHandles[kDlgNodeWizard] != 0; }},
        {FA_Note_PreQuitSession, "", 0, false, nullptr, "", false, false, [] { return NotifyState.quitting == 1; }},
    };
    const NotifyStateT notifyState = NotifyState;
    const CondTriggerSettingsT triggers = CondTriggerSettings;
    int n = 0;
    for (const Case &c : cases) {
        NotifyState = notifyState;
        NotifyState.quitting = c.quitting ? 1 : 0;
        CondTriggerSettings = CondTriggerSettingsT{};
        CondTriggerSettings.warnMissingTag = CondTriggerSettings.warnCreatedTag = kPromptNever;
        if (c.trigger) CondTriggerSettings.*c.trigger = 1;
        // An insertion's flag: set by the pre-insert notification, cleared by the post-insert one.
        StylesheetElementSetUp.justInserted = c.code == FA_Note_PreInsertElement ? 0 : 1;
        PluginGlobals.pathBeforeSaveAs.clear();
        if (DialogHandles[kDlgNodeWizard]) {
            F_ApiClose(DialogHandles[kDlgNodeWizard], 0);
            DialogHandles[kDlgNodeWizard] = 0;
        }
        om_XPathClearParameters();
        F_ObjHandleT p = 0;
        doc = NewDoc("Z:\\t\\notified" + std::to_string(++n) + ".fm", &p);
        const IntT listed = qv_NWSPaletteTargetCount();

        answered = host::CallClientNotify(client, c.code, doc, c.text, c.number);

        const std::string fired = om_XPathGetParameter("fired");
        EXPECT_EQ(fired == XPathUndefinedParameter ? "" : fired, c.fired) << c.code;
        EXPECT_EQ(Tagged(doc, p), c.tagged) << c.code;
        EXPECT_EQ(qv_NWSPaletteTargetCount() > listed, c.refreshed) << c.code;
        if (c.own) {
            EXPECT_TRUE(c.own()) << c.code;
        }
        EXPECT_EQ(NotifyState.quitting, c.quitting || c.code == FA_Note_PreQuitSession ? 1 : 0) << c.code;
        EXPECT_EQ(StylesheetElementSetUp.justInserted, c.code == FA_Note_PostInsertElement ? 0 : 1) << c.code;
    }
    NotifyState = notifyState;
    CondTriggerSettings = triggers;
    StylesheetElementSetUp = StylesheetElementSetUpT{};
    PluginGlobals.pathBeforeSaveAs.clear();
}

TEST_F(ShellRouting, StylesheetElementInsertionAndTheSetUpDialogsCancel) {
    Settle("");
    ASSERT_TRUE(Start());
    F_ObjHandleT doc = host::NewDocument("Z:\\t\\style.fm");
    host::TheSession().activeDoc = doc;
    F_ObjHandleT def = host::AddElementDef(doc, "QVRN_param");
    F_ObjHandleT plain = host::AddElementDef(doc, "para");
    F_ObjHandleT root = host::AppendElement(doc, 0, plain, host::MainFlow(doc));
    F_ApiSetInt(0, doc, FP_DocInsertSwitch, 5);

    // An ordinary element: the document's property stays, the flag goes back to 0.
    F_ApiNotify(FA_Note_PreInsertElement, doc, const_cast<StringT>("para"), 0);
    EXPECT_EQ(StylesheetElementSetUp.justInserted, 1);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocInsertSwitch), 5);
    F_ApiNotify(FA_Note_PostInsertElement, doc, const_cast<StringT>("para"), 0);
    EXPECT_EQ(StylesheetElementSetUp.justInserted, 0);

    // A stylesheet element: saved and cleared around the insertion, restored after its dialog,
    // whose OK keeps the element and ends its set-up.
    F_ObjHandleT e = host::AppendElement(doc, root, def);
    F_ApiNotify(FA_Note_PreInsertElement, doc, const_cast<StringT>("QVRN_param"), 0);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocInsertSwitch), 0);
    host::ClearTranscript();
    host::QueueDialogActions("qv_DialogParam", {"type 3 p", "type 12 'x'", "press 28"});
    F_ApiNotify(FA_Note_PostInsertElement, doc, const_cast<StringT>("QVRN_param"), static_cast<IntT>(e));
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocInsertSwitch), 5);
    EXPECT_EQ(F_ApiGetInt(doc, e, FP_ElementSetUp), 3);
    EXPECT_EQ(StylesheetElementSetUp.element, 0u);
    EXPECT_EQ(StylesheetElementSetUp.justInserted, 0);

    // Cancel of the set-up dialog: a just-inserted element goes, one opened later stays.
    StylesheetElementSetUp = {doc, e, 0};
    F_ApiDialogEvent(kDlgParam, 29, 0);
    EXPECT_NE(host::Elem(e), nullptr);
    EXPECT_EQ(StylesheetElementSetUp.element, 0u);
    StylesheetElementSetUp = {doc, e, 1};
    F_ApiDialogEvent(kDlgParam, 29, 0);
    EXPECT_EQ(host::Elem(e), nullptr);
    EXPECT_EQ(StylesheetElementSetUp.justInserted, 0);
}

TEST_F(ShellRouting, DialogEventsKeepRefreshAndClose) {
    Settle("");
    ASSERT_TRUE(Start());
    struct Row {
        IntT dialog, item;
        IntT answer;          // the event's F_ApiReturnValue
        const char *handler;  // nullptr: routed nowhere
    };
    const Row rows[] = {
        {kDlgConditionManager, 19, FV_DlgNoDismiss, "om_CondAddSettingItem"},
        {kDlgConditionManager, 24, FV_DlgNoDismiss, "om_CondMoveSettingItem"},
        {kDlgConditionManager, 28, FV_DlgNoDismiss, "om_CondToggleRuleFlag"},
        {kDlgConditionManager, 37, 0, "om_CondSaveTriggerSettings"},
        {kDlgConditionManager, 38, 0, "om_CondCloseSettingsDoc"},
        {kDlgTransformationSetup, 6, FV_DlgNoDismiss, "om_XformUpdateDuplicateControls"},
        {kDlgCopyOf, 10, FV_DlgNoDismiss, "om_XformBrowseSourceFile"},
        {kDlgParam, 19, FV_DlgNoDismiss, "om_XformPickSourceFile"},
        {kDlgTable, 15, FV_DlgNoDismiss, "om_XformTableColumnsChanged"},
        {kDlgTable, 57, 0, "om_XformApplyTableDialog"},
        {kDlgNodeWizard, 50, 0, "om_NWRunQuery"},
        {kDlgNodeWizard, 35, 0, nullptr},  // a single click on the attribute list
        {kDlgQuickFinder, 13, 0, "om_NWSwitchToWizard"},
        {kDlgNWScripts, 19, 0, "om_NWSRunFromPalette"},
        {1223, 3, FV_DlgNoDismiss, "om_DlgGenericEvent"},
        {kDlgTransformationProgress, 1, 0, nullptr},
        {1224, 1, 0, nullptr},
    };
    for (const Row &r : rows) {
        host::ClearTranscript();
        EXPECT_EQ(host::CallClientDialogEvent(client, r.dialog, r.item, 0), r.answer) << r.dialog << " " << r.item;
        std::string line = "console: Quorvane dialog " + std::to_string(r.dialog) + " item " + std::to_string(r.item);
        if (r.handler)
            EXPECT_TRUE(Shown(line + ": " + r.handler)) << Transcript();
        else
            EXPECT_FALSE(Shown(line)) << Transcript();
    }
    // The close box and the Close buttons forget the modeless dialogs.
    for (auto [dialog, item] : {std::pair<QvDialogNumber, IntT>{kDlgNodeWizard, -1}, {kDlgQuickFinder, -1},
                                {kDlgNWScripts, -1}, {kDlgNodeWizard, 54}}) {
        DialogHandles[dialog] = 0x2B0003E8;
        F_ApiDialogEvent(dialog, item, 0);
        EXPECT_EQ(DialogHandles[dialog], 0u) << dialog;
    }
}

}  // namespace

namespace {

TEST_F(ShellRouting, SetLanguageRelabelsTheMenusAndReopensTheOpenDialogs) {
    Settle("STARTUP_LANGUAGE=English\n");
    fs::copy_file(fs::path(QV_SOURCE_DIR) / "tests/sessions/data/Quorvane_Strings_Dialogs_French.fm",
                  SettingsFolder() / "Quorvane_Strings_Dialogs_French.fm");
    ASSERT_TRUE(Start());
    DialogHandles[kDlgQuickFinder] = 0x2B0003E8;
    DialogHandles[kDlgNWScripts] = 0x2B0003E9;

    // No language chosen: nothing changes.
    host::QueueDialogActions("om_Dialog_DDown", {"press 5"});
    om_SetLanguage();
    EXPECT_FALSE(Shown("reopens"));
    EXPECT_EQ(PluginGlobals.currentLanguage, "English");

    host::QueueDialogActions("om_Dialog_DDown", {"type 2 French", "press 4"});
    om_SetLanguage();
    EXPECT_TRUE(Shown("console: Quorvane reopens the Quick Finder")) << Transcript();
    EXPECT_TRUE(Shown("console: Quorvane reopens the scripts palette"));
    EXPECT_FALSE(Shown("reopens the Node Wizard"));
    EXPECT_EQ(PluginGlobals.currentLanguage, "French");
    StringT label = F_ApiGetString(0, host::FindMenuObject("Quorvane_Cmd_Node_Wizard"), FP_Label);
    EXPECT_STREQ(label, "Assistant de nœuds...");
    F_ApiDeallocateString(&label);

    // With the Node Wizard open too, it is reopened in place of the Quick Finder.
    host::ClearTranscript();
    DialogHandles[kDlgNodeWizard] = 0x2B0003EA;
    host::QueueDialogActions("om_Dialog_DDown", {"type 2 English", "press 4"});
    om_SetLanguage();
    EXPECT_TRUE(Shown("reopens the Node Wizard"));
    EXPECT_FALSE(Shown("reopens the Quick Finder"));
    DialogHandles = DialogHandlesT{};
}

}  // namespace

namespace {

TEST_F(ShellRouting, OpeningTheScriptsDocumentItselfClosesItsHiddenCopies) {
    Settle("");
    ASSERT_TRUE(Start());
    // Start-up keeps the path with forward slashes; the host reports backslashes.
    EXPECT_EQ(SettingsFiles.currentScriptsDoc.find('\\'), std::string::npos);
    const std::pair<std::string, bool> rows[] = {
        {"", false},
        {qv::sys::WindowsPath((SettingsFolder() / "Quorvane_Node_Wizard_Scripts.fm").string()), true},
        {qv::sys::WindowsPath((SettingsFolder() / "QUORVANE_NODE_WIZARD_SCRIPTS.FM").string()), true},
        {qv::sys::WindowsPath((SettingsFolder() / "Other.fm").string()), false},
    };
    for (const auto &[path, closes] : rows) {
        host::ClearTranscript();
        F_ApiNotify(FA_Note_PostOpenDoc, 0, const_cast<StringT>(path.c_str()), 0);
        EXPECT_EQ(Shown("closes the scripts document's hidden copies"), closes) << path;
    }
}

}  // namespace

namespace {

TEST_F(ShellRouting, SaveAsToAnotherPathRebasesTheSourcePaths) {
    struct Row {
        const char *preferences;
        const char *before, *after;
        bool rebases;
    };
    const Row rows[] = {
        {"", "Z:\\t\\a.fm", "Z:\\u\\b.fm", true},
        {"", "Z:\\t\\a.fm", "z:\\T\\A.FM", false},  // the same path
        {"", "", "Z:\\u\\b.fm", false},               // a document that had no path
        {"XFORM_ADJUST_REL_PATHS_DURING_SAVE_AS=No\n", "Z:\\t\\a.fm", "Z:\\u\\b.fm", false},
    };
    for (const Row &r : rows) {
        TearDown();
        SetUp();
        Settle(std::string(r.preferences) + "STARTUP_LANGUAGE=English\n");
        ASSERT_TRUE(Start());
        F_ObjHandleT doc = host::NewDocument(r.before);
        host::TheSession().activeDoc = doc;
        F_ApiNotify(FA_Note_PreFunction, 0, nullptr, FV_FC_SAVE_AS);
        EXPECT_EQ(PluginGlobals.pathBeforeSaveAs, r.before);
        host::Doc(doc)->path = r.after;
        F_ApiNotify(FA_Note_PostFunction, 0, nullptr, FV_FC_SAVE_AS);
        EXPECT_EQ(Shown("rebases the source paths saved from"), r.rebases) << r.before << " " << r.after;
    }
}

}  // namespace
