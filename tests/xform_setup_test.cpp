// The set-up dialogs of the stylesheet elements through the shell: Cancel after a refused
// insertion, the source controls' display of source_file, and picking and browsing a source.
#include <string>
#include <vector>

#include "lib/dialogs/dlgitems.h"
#include "lib/shell_records.h"
#include "lib/state/general_preferences.h"
#include "lib/state/nodewizard.h"
#include "lib/state/stylesheet_setup.h"
#include "model.h"
#include "shell_fixture.h"
#include "transform/setup.h"
#include "transform/xform.h"

namespace {

using shelltest::ShellTest;

class XformSetUp : public ShellTest {
protected:
    // A stylesheet "Z:\t\style.fm" with copy-of and template definitions under a Report element.
    void MakeStylesheet() {
        Settle("");
        ASSERT_TRUE(Start());
        doc = host::NewDocument("Z:\\t\\style.fm");
        host::TheSession().activeDoc = doc;
        copyOf = host::AddElementDef(doc, "QVRN_copy-of");
        for (const char *a : {"select", "source_file", "starting_context", "max_matches", "qvrn_element",
                              "ContextDocIsLocal"})
            AddAttr(copyOf, a);
        templ = host::AddElementDef(doc, "QVRN_template");
        for (const char *a : {"template_ID", "source_file", "qvrn_element", "ContextDocIsLocal"})
            AddAttr(templ, a);
        root = host::AppendElement(doc, 0, host::AddElementDef(doc, "Report"), host::MainFlow(doc));
    }
    static void AddAttr(F_ObjHandleT def, const char *name) {
        host::AttrDef a;
        a.name = name;
        host::AddAttributeDef(def, a);
    }
    F_ObjHandleT NewCopyOf(const std::string &source) {
        F_ObjHandleT e = host::AppendElement(doc, root, copyOf);
        if (!source.empty()) host::SetAttribute(doc, e, "source_file", {source});
        return e;
    }

    F_ObjHandleT doc = 0, copyOf = 0, templ = 0, root = 0;
};

TEST_F(XformSetUp, CancelDeletesOnlyAnElementInsertedJustNow) {
    MakeStylesheet();
    // An insertion the host refused: PreInsertElement without its PostInsertElement.
    F_ObjHandleT kept = NewCopyOf("");
    F_ApiNotify(FA_Note_PreInsertElement, doc, const_cast<StringT>("QVRN_copy-of"), 0);
    ASSERT_EQ(StylesheetElementSetUp.justInserted, 1);
    host::QueueDialogActions("qv_DialogCopyOf", {"press 29"});
    om_XformSetUpElement(doc, kept);
    EXPECT_NE(host::Elem(kept), nullptr) << "Cancel of a dialog opened by command deleted the element";
    EXPECT_EQ(StylesheetElementSetUp.element, 0u);

    // A real insertion: its Cancel takes the element away again.
    F_ObjHandleT inserted = NewCopyOf("");
    F_ApiNotify(FA_Note_PreInsertElement, doc, const_cast<StringT>("QVRN_copy-of"), 0);
    host::QueueDialogActions("qv_DialogCopyOf", {"press 29"});
    F_ApiNotify(FA_Note_PostInsertElement, doc, const_cast<StringT>("QVRN_copy-of"), static_cast<IntT>(inserted));
    EXPECT_EQ(host::Elem(inserted), nullptr);
    EXPECT_NE(host::Elem(kept), nullptr);
}

TEST_F(XformSetUp, TheCommandNeedsADocumentAndAStylesheetElement) {
    MakeStylesheet();
    host::TheSession().activeDoc = 0;
    om_XformSetUpElement(0, 0);
    EXPECT_TRUE(Shown("No active document.")) << Transcript();
    host::TheSession().activeDoc = doc;
    host::ClearTranscript();
    om_XformSetUpElement(0, 0);
    EXPECT_TRUE(Shown("No element selected.")) << Transcript();
    // A choose element has no set-up dialog; nothing stays recorded as being set up.
    host::ClearTranscript();
    F_ObjHandleT choose = host::AppendElement(doc, root, host::AddElementDef(doc, "QVRN_choose"));
    om_XformSetUpElement(doc, choose);
    EXPECT_TRUE(Shown("Not an QVRN element.")) << Transcript();
    EXPECT_FALSE(Shown("dialog \""));
    EXPECT_EQ(StylesheetElementSetUp.element, 0u);
}

TEST_F(XformSetUp, SourceControlsShowThePathInThePreferredForm) {
    MakeStylesheet();
    struct Row {
        IntT relative;       // XFORM_PREFER_REL_PATHS_IN_DIALOGS
        bool templateElem;   // the template dialog shows "Current" for no source
        const char *source;  // source_file ("" none)
        const char *shown;   // the source label
    };
    const Row rows[] = {
        {1, false, "Z:\\t\\src.fm", "src.fm"},
        {1, false, "Z:/t/sub/src.fm", "\\sub\\src.fm"},
        {0, false, "src.fm", "Z:\\t\\src.fm"},
        {1, false, "sub/src.fm", "sub\\src.fm"},
        {0, false, "current", "current"},
        {1, false, "", "Inherit"},
        {1, true, "", "Current"},
    };
    for (const Row &r : rows) {
        GeneralPreferences.xformPreferRelPathsInDialogs = r.relative;
        host::ClearTranscript();
        F_ObjHandleT e = r.templateElem ? host::AppendElement(doc, root, templ) : NewCopyOf(r.source);
        host::QueueDialogActions("", {"press " + std::string(r.templateElem ? "20" : "29")});
        om_XformSetUpElement(doc, e);
        EXPECT_TRUE(Shown("  8 label \"" + std::string(r.shown) + "\"")) << r.source << "\n" << Transcript();
    }
}

TEST_F(XformSetUp, PickingAndBrowsingASource) {
    MakeStylesheet();
    GeneralPreferences.xformPreferRelPathsInDialogs = 1;
    host::NewDocument("Z:\\u\\other.fm");
    host::NewDocument("Z:\\t\\near.fm");
    host::TheSession().activeDoc = doc;
    struct Row {
        std::vector<std::string> actions;  // on the copy-of dialog, before OK
        const char *chosenFile;            // the chooser's answer ("" none)
        const char *source, *local, *context;
    };
    const Row rows[] = {
        // The list's heading is no source: choosing it changes nothing.
        {{"choose 9 0"}, "", "Inherit", "False", "Inherit"},
        // "Current" opens the starting context to the element.
        {{"choose 9 \"Current\"", "radio 21"}, "", "Current", "True", "QVRN_element"},
        // An open document in another folder, relative to the stylesheet; the context greys again.
        {{"choose 9 \"Current\"", "radio 21", "choose 9 \"Z:\\u\\other.fm\""}, "", "../u/other.fm", "False", "Inherit"},
        // An open document beside the stylesheet: its bare name, local.
        {{"choose 9 \"Z:\\t\\near.fm\""}, "", "near.fm", "True", "Inherit"},
        // The stylesheet itself from the chooser is "Current"; browsing keeps the local flag.
        {{"press 10"}, "Z:\\t\\style.fm", "Current", "False", "Inherit"},
        {{"press 10"}, "Z:\\t\\sub\\x.fm", "/sub/x.fm", "False", "Inherit"},
    };
    for (const Row &r : rows) {
        F_ObjHandleT e = NewCopyOf("");
        std::vector<std::string> actions = r.actions;
        actions.insert(actions.begin(), "type 3 //a");
        actions.push_back("press 28");
        host::QueueDialogActions("qv_DialogCopyOf", actions);
        if (*r.chosenFile) {
            host::UserAnswer a;
            a.kind = "choose";
            a.value = r.chosenFile;
            host::QueueAnswer(a);
        }
        host::ClearTranscript();
        om_XformSetUpElement(doc, e);
        EXPECT_EQ(XformAttr(doc, e, "source_file"), r.source) << Transcript();
        EXPECT_EQ(XformAttr(doc, e, "ContextDocIsLocal"), r.local) << r.source;
        EXPECT_EQ(XformAttr(doc, e, "starting_context"), r.context) << r.source;
    }
}

// The expression pop-up lists the history alone, with no lead entry before it.
TEST_F(XformSetUp, ExpressionPopupIsTheHistoryWithoutALead) {
    MakeStylesheet();
    std::vector<std::string> saved = XPathHistory;
    XPathHistory = {"//b", "//a"};
    // Every entry can be picked, the newest (the first) too.
    for (const char *pick : {"//b", "//a"}) {
        F_ObjHandleT e = NewCopyOf("");
        host::ClearTranscript();
        host::QueueDialogActions("qv_DialogCopyOf", {std::string("choose 4 ") + (pick[2] == 'b' ? "0" : "1"), "press 28"});
        om_XformSetUpElement(doc, e);
        EXPECT_NE(Transcript().find("4 pop-up \"\" [\"//b\", \"//a\"]"), std::string::npos) << Transcript();
        EXPECT_EQ(XformAttr(doc, e, "select"), pick);
    }
    XPathHistory = saved;
}

TEST_F(XformSetUp, TableColumnsAgainstTheirWidthRows) {
    MakeStylesheet();
    F_ObjHandleT table = host::AddElementDef(doc, "QVRN_table");
    for (const char *a : {"element_tag", "format", "num_columns", "column_widths"}) AddAttr(table, a);
    struct Row {
        std::vector<std::string> widths;  // column_widths as stored (values)
        const char *typed;                // typed into the column count ("" leaves it)
        const char *columns;              // num_columns written
        const char *written;              // column_widths written
        int sensitive;                    // width boxes sensitive for the typed count
    };
    const Row rows[] = {
        {{}, "", "3", "1;1;1;1;1;1;1;1;1;1;1;1;", 0},
        {{"2;3"}, "0", "0", "2;3;1;1;1;1;1;1;1;1;1;1;", 0},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}, "12", "12", "1;2;3;4;5;6;7;8;9;10;11;12;", 12},
        {{".5;.75"}, "-2", "1", ".5;.75;1;1;1;1;1;1;1;1;1;1;", 0},
        {{}, "13", "1", "1;1;1;1;1;1;1;1;1;1;1;1;", 12},
    };
    for (const Row &r : rows) {
        F_ObjHandleT e = host::AppendElement(doc, root, table);
        if (!r.widths.empty()) host::SetAttribute(doc, e, "column_widths", r.widths);
        std::vector<std::string> actions;
        if (*r.typed) actions.push_back(std::string("type 15 ") + r.typed);
        actions.push_back("press 57");
        host::QueueDialogActions("qv_DialogTable", actions);
        om_XformSetUpElement(doc, e);
        EXPECT_EQ(XformAttr(doc, e, "num_columns"), r.columns) << r.typed;
        EXPECT_EQ(XformAttr(doc, e, "column_widths"), r.written) << r.typed;
        F_ObjHandleT dlg = F_ApiOpenResource(FO_DialogResource, "qv_DialogTable");
        ASSERT_NE(dlg, 0u);
        DialogHandles[kDlgTable] = dlg;
        om_DlgSetText(dlg, 15, r.typed, "");
        om_XformTableColumnsChanged();
        int sensitive = 0;
        for (IntT k = 0; k < 12; ++k) sensitive += om_DlgIsEnabled(dlg, 18 + 3 * k) ? 1 : 0;
        EXPECT_EQ(sensitive, r.sensitive) << r.typed;
        DialogHandles[kDlgTable] = 0;
        F_ApiClose(dlg, FF_CLOSE_DIALOG);
    }
}

}  // namespace
