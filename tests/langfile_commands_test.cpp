// The language-file commands: a new file made from the template and filled with the current
// English strings, an update that adds only what is missing and counts and marks the rows no
// longer used, and the refusals (not English, no document, not a language file).
#include <algorithm>

#include "lib/host/tables.h"
#include "lib/host/pgftext.h"
#include "lib/strings/listconv.h"
#include "lib/translation/langfiles.h"
#include "plugin/langfile_commands.h"
#include "support/cond_fixture.h"

namespace {

using qvtest::CondFixture;

class LangFileCommands : public CondFixture {
protected:
    // The English texts of the table's body rows.
    static std::vector<std::string> Rows(F_ObjHandleT doc, const char *table) {
        std::vector<std::string> out;
        F_ObjHandleT t = om_DocFindTable(doc, table, "", 0);
        for (F_ObjHandleT r = t ? F_ApiGetId(doc, t, FP_FirstRowInTbl) : 0; r; r = F_ApiGetId(doc, r, FP_NextRowInTbl)) {
            if (F_ApiGetInt(doc, r, FP_RowType) != 1) continue;
            StringT s = om_CellText(doc, r, 1, 0, 0, 0);
            out.push_back(s ? s : "");
            F_ApiDeallocateString(&s);
        }
        return out;
    }
    // The totals of the last update message: strings and unmatched rows.
    static std::pair<int, int> Totals() {
        std::pair<int, int> t{-1, -1};
        const std::string a = "Total strings: ", b = "Total unmatched existing strings: ";
        for (const auto &l : host::TranscriptLines()) {
            if (size_t at = l.find(a); at != std::string::npos) t.first = std::stoi(l.substr(at + a.size()));
            if (size_t at = l.find(b); at != std::string::npos) t.second = std::stoi(l.substr(at + b.size()));
        }
        return t;
    }
    static bool Has(const std::vector<std::string> &v, const std::string &s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    }
};

TEST_F(LangFileCommands, CreateFillsEveryTableAndASecondUpdateAddsNothing) {
    Answer("alert", "yes");
    F_ObjHandleT doc = om_LangCreateFile();
    ASSERT_NE(doc, 0u);
    std::vector<std::string> cond = Rows(doc, kCondTable);
    for (const char *s : {"Quorvane Condition Management Settings", "General settings", "Expressions", "Conditions",
                          "Settings are active", "Edit condition...", "Processing:"})
        EXPECT_TRUE(Has(cond, s)) << s;
    EXPECT_FALSE(Has(cond, "Quorvane"));
    EXPECT_TRUE(Has(Rows(doc, "Quorvane - Node Wizard"), "Jump to index:"));
    EXPECT_TRUE(Has(Rows(doc, "Quorvane - Node Wizard Scripts"), "{no scripts found}"));
    EXPECT_TRUE(Has(Rows(doc, "Quorvane - Launch Transformation"), "Transform Book"));
    EXPECT_EQ(DialogHandles[kDlgConditionManager], 0u);
    EXPECT_EQ(DialogHandles[kDlgNodeWizard], 0u);
    EXPECT_EQ(DialogHandles[kDlgQuickFinder], 0u);
    ASSERT_EQ(Shown("Update complete."), 1);
    std::pair<int, int> firstTotals = Totals();
    EXPECT_GT(firstTotals.first, 100);

    // A translator's row that is no longer used: counted, marked, kept.
    F_StringsT extra = qv::NewStrings({"Obsolete label"});
    om_LangAddRows(doc, 0, kCondTable, &extra);
    F_ApiDeallocateStrings(&extra);
    size_t before = Rows(doc, kCondTable).size();
    host::ClearTranscript();
    Answer("alert", "yes");
    om_LangUpdateFile(doc, 1);
    EXPECT_EQ(Rows(doc, kCondTable).size(), before);
    EXPECT_TRUE(Has(Rows(doc, kCondTable), "Obsolete label"));
    EXPECT_EQ(Totals(), (std::pair{firstTotals.first, firstTotals.second + 1}));

}

TEST_F(LangFileCommands, RefusalsChangeNothing) {
    // Declined, not English, no document, not a language file.
    EXPECT_EQ(om_LangCreateFile(), 0u);
    qv::LangSetCurrent("German");
    om_LangUpdateFile(0, 1);
    EXPECT_EQ(Shown("The current language must be set to English before running this command."), 1);
    qv::LangSetCurrent("English");
    om_LangUpdateFile(0, 1);
    EXPECT_EQ(Shown("No active document. Cannot continue."), 1);
    F_ObjHandleT doc = host::NewDocument("Z:\\t\\plain.fm", "plain.fm");
    om_LangUpdateFile(doc, 1);
    EXPECT_EQ(Shown("...does not appear to be a valid language file"), 1);
}

}  // namespace
