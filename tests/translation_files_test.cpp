// Translation through real language files: the shipped English general strings file (every
// message id the plug-in uses is in it, texts with several lines come back whole), and a second
// language built from the shipped template, saved into the extra folder and switched to.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <fstream>
#include <string>
#include <vector>

#include "client.h"
#include "fdk.h"
#include "lib/dialogs/language_choice.h"
#include "lib/dialogs/msgbox.h"
#include "lib/host/docio.h"
#include "lib/host/element_edit.h"
#include "lib/host/tables.h"
#include "lib/host/hostui.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "lib/translation/langfiles.h"
#include "model.h"
#include "paths.h"
#include "lib/globals.h"
#include "lib/shell_records.h"
#include "transcript.h"
#include "user.h"
#include "xpath/xpath.h"

namespace fs = std::filesystem;

namespace {

// Every message id the plug-in's parts show (kept here, not read from anywhere else).
const char *const kMessageIds[] = {
    "QVRN_GEN_MSG_1", "QVRN_GEN_MSG_2", "QVRN_GEN_MSG_3", "QVRN_GEN_MSG_4", "QVRN_GEN_MSG_5", "QVRN_GEN_MSG_6",
    "QVRN_GEN_MSG_7", "QVRN_GEN_MSG_8", "QVRN_GEN_MSG_9", "QVRN_GEN_MSG_10", "QVRN_GEN_MSG_11", "QVRN_GEN_MSG_12",
    "QVRN_GEN_MSG_13", "QVRN_GEN_MSG_14", "QVRN_GEN_MSG_15", "QVRN_GEN_MSG_16",
    "CM_GEN_MSG_1", "CM_GEN_MSG_2", "CM_GEN_MSG_3", "CM_GEN_MSG_4", "CM_GEN_MSG_5", "CM_GEN_MSG_6", "CM_GEN_MSG_7",
    "CM_GEN_MSG_8", "CM_GEN_MSG_9", "CM_GEN_MSG_10", "CM_GEN_MSG_11", "CM_GEN_MSG_12", "CM_GEN_MSG_13",
    "CM_GEN_MSG_14",
    "NW_GEN_MSG_1", "NW_GEN_MSG_4", "NW_GEN_MSG_5", "NW_GEN_MSG_11", "NW_GEN_MSG_12", "NW_GEN_MSG_13",
    "NW_GEN_MSG_14", "NW_GEN_MSG_16", "NW_GEN_MSG_17", "NW_GEN_MSG_18", "NW_GEN_MSG_25", "NW_GEN_MSG_26",
    "NW_GEN_MSG_27", "NW_GEN_MSG_28", "NW_GEN_MSG_30", "NW_RPT_MSG_1",
    "NW_HELP_HEADER", "NW_HELP_ERROR", "NW_HELP_ELEM_ACT_RETAG", "NW_HELP_ELEM_ACT_WRAP",
    "NW_HELP_ELEM_ACT_WRAP_CONTENTS", "NW_HELP_ELEM_ACT_UNWRAP", "NW_HELP_ELEM_ACT_PROMOTE",
    "NW_HELP_ELEM_ACT_DEMOTE", "NW_HELP_ELEM_ACT_DELETE", "NW_HELP_ELEM_ACT_DELETE_CONTENT",
    "NW_HELP_ELEM_ACT_ASSIGN_COND", "NW_HELP_ELEM_ACT_PASTE_OVER_ELEM", "NW_HELP_ELEM_ACT_MOVE_UP",
    "NW_HELP_ELEM_ACT_MOVE_DOWN", "NW_HELP_ELEM_ACT_PASTE_OVER_CONTS", "NW_HELP_ELEM_ACT_PASTE_AT_BEGINNING",
    "NW_HELP_ELEM_ACT_PASTE_AT_END", "NW_HELP_ELEM_ACT_PASTE_BEFORE", "NW_HELP_ELEM_ACT_PASTE_AFTER",
    "NW_HELP_ELEM_ACT_INSERT_ELEM_BEFORE", "NW_HELP_ELEM_ACT_INSERT_ELEM_AFTER",
    "NW_HELP_ELEM_ACT_INSERT_FIRST_CHILD", "NW_HELP_ELEM_ACT_INSERT_LAST_CHILD", "NW_HELP_ATTR_ACT_ADD",
    "NW_HELP_ATTR_ACT_REMOVE", "NW_HELP_ATTR_ACT_REPLACE", "NW_HELP_ATTR_ACT_DELETE",
    "NW_HELP_ATTR_ACT_MOVE_VAL_TO_ELEM", "NW_HELP_ATTR_ACT_COPY_VAL_TO_ELEM", "NW_HELP_ATTR_ACT_MOVE_ELEM_TO_VAL",
    "NW_HELP_ATTR_ACT_COPY_ELEM_TO_VAL", "NW_HELP_ATTR_ACT_DELETE_INVALID_ATTR",
    "NW_HELP_ATTR_ACT_MOVE_VALS_TO_SPEC_ATTR", "NW_HELP_ATTR_ACT_COPY_VALS_TO_SPEC_ATTR",
    "NW_HELP_ATTR_ACT_MOVE_VALS_FROM_SPEC_ATTR", "NW_HELP_ATTR_ACT_COPY_VALS_FROM_SPEC_ATTR",
    "NW_HELP_ATTR_ACT_SWAP_VALS_WITH_SPEC_ATTR", "NW_HELP_ATTR_ACT_SEARCH_REPLACE_STRING",
    "NW_HELP_ATTR_ACT_SET_UNIQUE_ID",
    "NWA_ERR_MSG_1", "NWA_ERR_MSG_2", "NWA_ERR_MSG_3", "NWA_ERR_MSG_4", "NWA_ERR_MSG_5", "NWA_ERR_MSG_6",
    "NWA_ERR_MSG_7", "NWA_ERR_MSG_8", "NWA_ERR_MSG_9", "NWA_ERR_MSG_10", "NWA_ERR_MSG_11", "NWA_ERR_MSG_13",
    "NWA_ERR_MSG_14", "NWA_ERR_MSG_15", "NWA_ERR_MSG_16", "NWA_ERR_MSG_17", "NWA_ERR_MSG_18", "NWA_ERR_MSG_19",
    "NWA_ERR_MSG_20", "NWA_ERR_MSG_21", "NWA_ERR_MSG_22", "NWA_ERR_MSG_23", "NWA_ERR_MSG_24", "NWA_ERR_MSG_25",
    "NWA_ERR_MSG_26", "NWA_ERR_MSG_27", "NWA_ERR_MSG_28", "NWA_ERR_MSG_29", "NWA_ERR_MSG_30", "NWA_ERR_MSG_31",
    "NWA_ERR_MSG_32", "NWA_ERR_MSG_33", "NWA_ERR_MSG_34", "NWA_ERR_MSG_35", "NWA_ERR_MSG_36", "NWA_ERR_MSG_37",
    "NWA_ERR_MSG_38", "NWA_ERR_MSG_39", "NWA_ERR_MSG_40", "NWA_ERR_MSG_100", "NWA_ERR_MSG_101",
    "NWS_GEN_MSG_2", "NWS_GEN_MSG_3", "NWS_GEN_MSG_4", "NWS_GEN_MSG_5", "NWS_GEN_MSG_8", "NWS_GEN_MSG_9",
    "NWS_GEN_MSG_10", "NWS_GEN_MSG_11", "NWS_GEN_MSG_12", "NWS_GEN_MSG_13", "NWS_GEN_MSG_14", "NWS_GEN_MSG_15",
    "NWS_GEN_MSG_17", "NWS_GEN_MSG_18", "NWS_GEN_MSG_19", "NWS_GEN_MSG_20", "NWS_GEN_MSG_21", "NWS_GEN_MSG_22",
    "NWS_GEN_MSG_23", "NWS_GEN_MSG_24", "NWS_GEN_MSG_25", "NWS_GEN_MSG_26", "NWS_GEN_MSG_27", "NWS_GEN_MSG_28",
    "NWS_GEN_MSG_29", "NWS_GEN_MSG_30", "NWS_GEN_MSG_100", "NWS_GEN_MSG_101", "NWS_RPT_MSG_1", "NWS_RPT_MSG_2",
    "NWS_RPT_MSG_4", "NWS_RPT_MSG_5", "NWS_RPT_MSG_6", "NWS_RPT_MSG_7",
    "XPATH_GEN_ERR_1", "XPATH_GEN_ERR_2", "XPATH_GEN_ERR_3",
    "XPATH_ERR_AXIS_FOLLOWING_ATTRIBUTE_AXIS", "XPATH_ERR_AXIS_FOLLOWING_FM_PROP_AXIS",
    "XPATH_ERR_BAD_ARG_AFTER_AXIS", "XPATH_ERR_BAD_ARG_AFTER_FUNCTION", "XPATH_ERR_BAD_ARG_AFTER_LITERAL",
    "XPATH_ERR_BAD_ARG_AFTER_NODE_NAME", "XPATH_ERR_BAD_ARG_AFTER_OPERATOR", "XPATH_ERR_BAD_ARG_AFTER_PREDICATE_END",
    "XPATH_ERR_BAD_ARG_AFTER_PREDICATE_START", "XPATH_ERR_BAD_ARG_AFTER_SLASH", "XPATH_ERR_BAD_LEFT_PARENTHESIS",
    "XPATH_ERR_BAD_PARENTHETICAL_PHRASE", "XPATH_ERR_COLON_IN_ELEMENT_NAME", "XPATH_ERR_COULD_NOT_PARSE_PARAM_EVAL",
    "XPATH_ERR_CRITICAL_ERROR_EXTRACTING_PREDICATE", "XPATH_ERR_EMPTY_PREDICATE",
    "XPATH_ERR_FUNCTION_MORE_THAN_TWO_ARGS", "XPATH_ERR_ILLEGAL_BACKSLASH", "XPATH_ERR_MISPLACED_COMMA",
    "XPATH_ERR_MISPLACED_FUNCTION", "XPATH_ERR_MISPLACED_LITERAL", "XPATH_ERR_MISPLACED_PERIOD",
    "XPATH_ERR_MISPLACED_RIGHT_PAREN", "XPATH_ERR_MISSING_LOGICAL_TEST_SECOND_TERM", "XPATH_ERR_MISSING_NODE_TEST",
    "XPATH_ERR_MIXED_AND_AND_OR", "XPATH_ERR_MULTIPLE_OPERATORS", "XPATH_ERR_NOT_FUNC_HAS_MULTIPLE_ARGS",
    "XPATH_ERR_NO_INITIAL_SLASH", "XPATH_ERR_NO_TERM_BRACKET_FOR_SUBEXP", "XPATH_ERR_OPERATOR_IN_FUNC_TERM",
    "XPATH_ERR_PERCENT_IN_ELEMENT_NAME", "XPATH_ERR_SINGLE_SLASH_EXPRESSION", "XPATH_ERR_TOO_DAMNED_LONG",
    "XPATH_ERR_TOO_MANY_SLASHES", "XPATH_ERR_UNKNOWN_AXIS", "XPATH_ERR_UNKNOWN_FM_PROP",
    "XPATH_ERR_UNKNOWN_FUNCTION", "XPATH_ERR_UNTERMINATED_STRING_LITERAL",
};

void ClientInit() {
    static F_ApiClientCallbacksT cb{"LanguageTester", nullptr, nullptr, nullptr, nullptr, nullptr};
    F_ApiRegisterClient(&cb);
}

class LanguageFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetClients();
        host::ResetUser();
        host::ClearTranscript();
        qv::LangReset();
        PluginGlobals.debugMode = 0;
        FA_errno = 0;
        extra = fs::temp_directory_path() / ("qv_lang_" + std::to_string(::getpid()));
        fs::remove_all(extra);
        fs::create_directories(extra);
        // The plug-in's folder is the shipped defaults folder.
        host::LoadClientInProcess(ClientInit, QV_SOURCE_DIR "/defaults");
        om_LangInit("Quorvane", host::WindowsPath(extra.string()).c_str(), "English");
    }
    void TearDown() override {
        qv::LangReset();
        host::ResetUser();
        host::ResetClients();
        fs::remove_all(extra);
    }
    bool Shown(const std::string &text) {
        for (const auto &l : host::TranscriptLines())
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
    // A language file made from the shipped template: one table of (English, translation) rows
    // (an empty translation leaves its cell empty), saved into the extra folder under the name given.
    void MakeLanguageFile(const std::string &fileName, const std::string &tableName,
                          const std::vector<std::pair<std::string, std::string>> &rows) {
        F_ObjHandleT doc = om_LangOpenTemplate();
        ASSERT_NE(0u, doc) << FormatBuffer;
        std::vector<std::string> english;
        for (const auto &r : rows) english.push_back(r.first);
        F_StringsT list = qv::NewStrings(english);
        F_ObjHandleT table = om_LangAddRows(doc, 0, tableName.c_str(), &list);
        F_ApiDeallocateStrings(&list);
        ASSERT_NE(0u, table);
        for (const auto &r : rows) {
            F_ObjHandleT row = om_TableFindRow(doc, table, 1, r.first.c_str(), 1, 1);
            ASSERT_NE(0u, row) << r.first;
            if (r.second.empty()) continue;  // the second cell stays empty
            F_ObjHandleT cell = qv::CellOf(doc, row, 2, 0, 0);
            ASSERT_NE(0u, om_CellSetText(doc, table, cell, 0, 0, r.second.c_str(), 0)) << r.first;
        }
        std::string path = host::WindowsPath((extra / fileName).string());
        ASSERT_NE(0u, om_DocSave(doc, path.c_str(), -1, 1, 0, 0));
        ASSERT_EQ(1, om_DocClose(doc, 0));
    }
    fs::path extra;
};

TEST_F(LanguageFiles, ShippedGeneralStringsHoldEveryMessageId) {
    StringT path = om_LangFindFile("English", 1);
    ASSERT_STRNE("", path);
    F_ObjHandleT doc = om_DocOpen(path, 0, 0, 1, 1, 1, 1);
    F_ApiDeallocateString(&path);
    ASSERT_NE(0u, doc);
    F_ObjHandleT table = om_DocFindTable(doc, "General Strings", "", 0);
    ASSERT_NE(0u, table);
    for (const char *id : kMessageIds) {
        F_ObjHandleT row = om_TableFindRow(doc, table, 1, id, 1, 1);
        EXPECT_NE(0u, row) << id;
        StringT text = row ? om_CellText(doc, row, 2, 0, 0, 1) : nullptr;
        EXPECT_STRNE("", qv::View(text).data()) << id;
        F_ApiDeallocateString(&text);
    }
    EXPECT_EQ(1, om_LangIsTemplate(doc));  // its table has the template's format

    // The shipped file is up to date with its source table (texts of several lines included).
    std::map<std::string, std::string> shipped;
    for (F_ObjHandleT row = om_TableNthRowOfType(doc, table, 1, 1); row; row = F_ApiGetId(doc, row, FP_NextRowInTbl)) {
        StringT id = om_CellText(doc, row, 1, 0, 0, 0), text = om_CellTextJoined(doc, row, 2, 0, 0, 1, 0);
        shipped[qv::View(id).data()] = qv::View(text);
        F_ApiDeallocateString(&id);
        F_ApiDeallocateString(&text);
    }
    std::ifstream source(QV_SOURCE_DIR "/scripts/language/General_English.txt");
    size_t rows = 0;
    for (std::string line; std::getline(source, line);) {
        size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        std::string text;
        for (size_t i = tab + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'n' || line[i + 1] == '\\')) {
                text += line[++i] == 'n' ? '\n' : '\\';
            } else {
                text += line[i];
            }
        }
        EXPECT_EQ(text, shipped[line.substr(0, tab)]) << line.substr(0, tab);
        ++rows;
    }
    EXPECT_EQ(rows, shipped.size());
}

TEST_F(LanguageFiles, EnglishMessagesComeFromTheShippedFile) {
    EXPECT_EQ("Are you sure you want to cancel this operation?", qv::LangMessage("QVRN_GEN_MSG_11"));
    // A text of several paragraphs comes back with its line breaks; placeholders fill in.
    EXPECT_EQ("The preferences file could not be read, or it is empty:\n\nZ:\\p.ini\n\nDefault settings are in force.",
              qv::LangMessageFormatted("QVRN_GEN_MSG_9", {std::string("Z:\\p.ini")}));
    EXPECT_EQ("Conditions were applied to 3 element(s).", qv::LangMessageFormatted("CM_GEN_MSG_7", {3LL}));
    EXPECT_EQ(std::string(MessagingErrorText) + "NW_GEN_MSG_99", qv::LangMessage("NW_GEN_MSG_99"));
    // Boxes carry the title line; the file was opened for the lookups only.
    al_ok2("NW_GEN_MSG_14");
    EXPECT_TRUE(Shown("--> Quorvane Message <--"));
    EXPECT_TRUE(Shown("No (more) matches were found."));
    EXPECT_EQ(0u, F_ApiGetId(0, 0, FP_FirstOpenDoc));
    // Labels need no file in English.
    EXPECT_EQ("Cancel", qv::LangTranslate("Quorvane - Node Wizard", "Cancel", false, 0));
}

TEST_F(LanguageFiles, SecondLanguageFromTheTemplate) {
    MakeLanguageFile("Quorvane_Strings_General_French.fm", "General Strings",
                     {{"QVRN_GEN_MSG_1", "--> Message de Quorvane <--"},
                      {"NW_GEN_MSG_14", "Aucune correspondance."},
                      {"NW_GEN_MSG_12", ""}});  // a row without a text is never taken
    MakeLanguageFile("Quorvane_Strings_Dialogs_French.fm", "Quorvane - Node Wizard", {{"Cancel", "Annuler"}});
    host::ClearTranscript();

    F_StringsT languages = om_LangListLanguages();
    EXPECT_EQ(std::vector<std::string>{"French"}, qv::ReadStrings(&languages));
    F_ApiDeallocateStrings(&languages);
    StringT switched = om_LangSwitch(0, "french", 1, 0);
    EXPECT_STREQ("french", switched);
    F_ApiDeallocateString(&switched);

    EXPECT_EQ("Aucune correspondance.", qv::LangMessage("NW_GEN_MSG_14"));
    EXPECT_EQ(std::string(MessagingErrorText) + "NW_GEN_MSG_12", qv::LangMessage("NW_GEN_MSG_12"));
    EXPECT_EQ(std::string(MessagingErrorText) + "QVRN_GEN_MSG_11", qv::LangMessage("QVRN_GEN_MSG_11"));
    EXPECT_EQ("Annuler", qv::LangTranslate("Quorvane - Node Wizard", "Cancel", false, 0));
    EXPECT_EQ("Cancel", qv::LangTranslate("Quorvane - Node Wizard", "Annuler", true, 0));
    EXPECT_EQ("OK", qv::LangTranslate("Quorvane - Node Wizard", "OK", false, 0));
    al_ok2("NW_GEN_MSG_14");
    EXPECT_TRUE(Shown("--> Message de Quorvane <--\n\nAucune correspondance."));
    // Back to English: the shipped file answers again.
    switched = om_LangSwitch(0, "English", 1, 0);
    F_ApiDeallocateString(&switched);
    EXPECT_EQ("No (more) matches were found.", qv::LangMessage("NW_GEN_MSG_14"));
}

TEST_F(LanguageFiles, MessagesReadTheStringsFileAsItIsNow) {
    const std::string file = "Quorvane_Strings_General_French.fm";
    MakeLanguageFile(file, "General Strings", {{"NW_GEN_MSG_14", "Aucune."}, {"NW_GEN_MSG_12", "Une."}});
    MakeLanguageFile("Quorvane_Strings_Dialogs_French.fm", "Quorvane - Node Wizard", {{"Cancel", "Annuler"}});
    StringT switched = om_LangSwitch(0, "French", 1, 0);
    F_ApiDeallocateString(&switched);
    EXPECT_EQ("Aucune.", qv::LangMessage("NW_GEN_MSG_14"));
    // The file changes after a message was read from it: the next message comes from the new file.
    MakeLanguageFile(file, "General Strings",
                     {{"NW_GEN_MSG_14", "Aucune."}, {"NW_GEN_MSG_12", "Une seule."}, {"QVRN_GEN_MSG_11", "Annuler ?"}});
    EXPECT_EQ("Une seule.", qv::LangMessage("NW_GEN_MSG_12"));
    // Open as a document with an edit not saved: the document answers, not the file.
    std::string path = host::WindowsPath((extra / file).string());
    F_ObjHandleT doc = om_DocOpen(path.c_str(), 0, 0, 1, 1, 0, 1);
    ASSERT_NE(0u, doc);
    F_ObjHandleT table = om_DocFindTable(doc, "General Strings", "", 0);
    F_ObjHandleT row = om_TableFindRow(doc, table, 1, "QVRN_GEN_MSG_11", 1, 1);
    ASSERT_NE(0u, row);
    ASSERT_NE(0u, om_CellSetText(doc, table, qv::CellOf(doc, row, 2, 0, 0), 0, 0, "Vraiment annuler ?", 0));
    EXPECT_EQ("Vraiment annuler ?", qv::LangMessage("QVRN_GEN_MSG_11"));
    om_DocClose(doc, 0);
}

TEST_F(LanguageFiles, WithoutTheGeneralStringsFileEveryMessageNamesItsId) {
    host::ResetClients();
    host::LoadClientInProcess(ClientInit, extra.string());  // a plug-in folder without language files
    qv::LangReset();
    om_LangInit("Quorvane", host::WindowsPath(extra.string()).c_str(), "English");
    const std::string error = MessagingErrorText;
    EXPECT_EQ(error + "NW_GEN_MSG_14", qv::LangMessage("NW_GEN_MSG_14"));
    // The XPath error report's messages too: no built-in English in their place.
    const char *id = om_XPathErrorMessageId(XPATH_ERR_UNKNOWN_FM_PROP);
    ASSERT_STRNE("", id);
    EXPECT_EQ(error + id, om_XPathErrorMessage(XPATH_ERR_UNKNOWN_FM_PROP));
    std::vector<XPathReportLine> entry = om_XPathReportEntry("fmprop::Nonsense", 8, XPATH_ERR_UNKNOWN_FM_PROP);
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(error + id, entry.back().text);
    EXPECT_EQ(error + "XPATH_GEN_ERR_1", om_XPathMessage("XPATH_GEN_ERR_1", "The XPath error report could not be opened."));
}

TEST_F(LanguageFiles, TemplateMissingOrWithoutItsTableIsRefused) {
    host::ResetClients();
    host::LoadClientInProcess(ClientInit, extra.string());
    FormatBuffer.clear();
    EXPECT_EQ(0u, om_LangOpenTemplate());
    EXPECT_NE(std::string::npos, FormatBuffer.find("unable to locate the template"));
    // A document without the template's table.
    fs::copy_file(fs::path(QV_SOURCE_DIR) / "defaults" / "Quorvane_Strings_General_English.fm",
                  extra / "OM_TranslationFileTemplate.fm");
    std::string text;
    {
        std::ifstream in(extra / "OM_TranslationFileTemplate.fm");
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (size_t at; (at = text.find("TranslationTableTemplate")) != std::string::npos;) text.replace(at, 24, "OtherFormat");
    std::ofstream(extra / "OM_TranslationFileTemplate.fm") << text;
    EXPECT_EQ(0u, om_LangOpenTemplate());
    EXPECT_NE(std::string::npos, FormatBuffer.find("necessary components"));
}

}  // namespace
