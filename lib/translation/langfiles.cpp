// Language files (see langfiles.h).
#include "lib/translation/langfiles.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lib/host/docio.h"
#include "lib/host/element_edit.h"
#include "lib/host/formats.h"
#include "lib/host/tables.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/translation/lang.h"
#include "lib/globals.h"

namespace {

constexpr const char *kTemplateName = "OM_TranslationFileTemplate.fm";
constexpr const char *kTemplateFormat = "TranslationTableTemplate";
constexpr const char *kTemplateTitle = "Translation table template";
// Entries listed per folder, rows per table and session entries walked at most.
constexpr int kStepLimit = 100000;

bool SameCI(const std::string &a, const std::string &b) { return qv::FoldCase(a) == qv::FoldCase(b); }

std::string HostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// The main flow's last paragraph that is not part of a table (cells and titles belong to their
// table, not to the flow's run of paragraphs).
F_ObjHandleT LastPgfOutsideTables(F_ObjHandleT doc) {
    std::vector<F_ObjHandleT> titles;
    int n = 0;
    for (F_ObjHandleT t = F_ApiGetId(0, doc, FP_FirstTblInDoc); t && n < kStepLimit; t = F_ApiGetId(doc, t, FP_NextTblInDoc), ++n)
        titles.push_back(F_ApiGetId(doc, t, FP_FirstPgfInTitle));
    std::sort(titles.begin(), titles.end());
    F_ObjHandleT pgf = om_FlowLastPgf(doc, "", 1);
    for (n = 0; pgf && n < kStepLimit; ++n, pgf = F_ApiGetId(doc, pgf, FP_PrevPgfInFlow))
        if (!F_ApiGetId(doc, pgf, FP_InCell) && !std::binary_search(titles.begin(), titles.end(), pgf)) break;
    return pgf;
}

std::vector<std::string> DialogStrings(F_ObjHandleT dlg, bool title, bool list, bool k53, bool text, bool strip) {
    std::vector<std::string> out;
    auto add = [&](std::string s) {
        if (strip) s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
        if (!s.empty() && std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
    };
    if (F_OBJ_KIND(dlg) != FO_DialogResource || !dlg) return out;
    if (title) add(HostString(0, dlg, FP_Title));
    IntT highest = F_ApiGetInt(0, dlg, FP_DlgHighestItem);
    for (IntT n = 0; n <= highest; ++n) {
        F_ObjHandleT item = F_ApiDialogItemId(dlg, n);
        IntT kind = F_OBJ_KIND(item);
        if (!item) continue;
        if (kind == FO_DlgGroupBox || kind == FO_DlgButton || kind == FO_DlgCheckBox || kind == FO_DlgRadioButton ||
            kind == FO_DlgLabel) {
            add(HostString(dlg, item, FP_Label));
        } else if ((kind == FO_DlgScrollBox && list) || (kind == FO_DlgPopUp && k53)) {
            F_StringsT labels = F_ApiGetStrings(dlg, item, FP_DlgLabels);
            std::vector<std::string> v = qv::ReadStrings(&labels);
            F_ApiDeallocateStrings(&labels);
            for (size_t i = kind == FO_DlgPopUp ? 1 : 0; i < v.size(); ++i) add(v[i]);
        } else if (kind == FO_DlgTextBox && text) {
            add(HostString(dlg, item, FP_DlgText));
        }
    }
    return out;
}

}  // namespace

StringT qv::LangSwitchTo(const std::string &lang, IntT report, IntT menus) {
    if (!om_LangIsReady() || lang.empty()) return qv::NewHeapString("");
    const std::string product = qv::LangProductName();
    if (!SameCI(lang, "English") && qv::LangFindFile(lang, false).empty()) {
        std::string msg = qv::FormatMessage("There appears to be no translation file available for the language you "
                                            "selected:\n\n'%s'\n\nThe current language will remain as '%s.'",
                                            {lang, qv::LangCurrentLanguage()});
        FormatBuffer = msg;
        if (report) om_LangAlert(msg.c_str());
        return qv::NewHeapString("");
    }
    if (menus) om_LangTranslateMenus(product.c_str(), 1, 1, 1);
    qv::LangSetCurrent(lang);  // drops the loaded tables and the tried names
    if (menus) {
        std::string table = product + " - Menus And Commands";
        om_LangLoadTable(0, "", 0, table.c_str(), "", 0);
        om_LangTranslateMenus(product.c_str(), 1, 1, 0);
    }
    return qv::NewHeapString(lang);
}

F_ObjHandleT om_LangOpenTemplate(void) {
    std::string dir = qv::LangClientDir();
    std::string path = dir + (dir.empty() || dir.back() != '\\' ? "\\" : "") + kTemplateName;
    F_ObjHandleT doc = om_DocOpen(path.c_str(), 0, 0, 1, 0, 0, 1);
    if (!doc) {
        FormatBuffer = qv::FormatMessage("The plugin was unable to locate the template for language translation files "
                                         "at:\n\n%s\n\nMake sure that this file exists and is not corrupt. This action "
                                         "will abort.",
                                         {path});
        return 0;
    }
    if (!om_LangIsTemplate(doc)) {
        FormatBuffer = qv::FormatMessage(
            "The plugin was unable to locate the necessary components in its language template  file. The file may "
            "have been manually altered. You may need to restore the original file from your  installation package. "
            "The file should be named:\n\n%s\n\n...and stored in the installation  area. This action will abort.",
            {std::string(kTemplateName)});
        return 0;
    }
    return doc;
}

IntT om_LangIsTemplate(F_ObjHandleT doc) { return om_DocFindTable(doc, "", kTemplateFormat, 0) ? 1 : 0; }

F_ObjHandleT om_LangAddTable(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT tableName) {
    F_ObjHandleT templ = om_DocFindTable(doc, kTemplateTitle, "", 0);
    if (!templ) return 0;
    if (!pgf) pgf = LastPgfOutsideTables(doc);
    if (!pgf) return 0;
    // A new "Body" paragraph receives a copy of what the template's anchoring paragraph holds:
    // the template table, copied whole through the clipboard and pasted at the paragraph's start.
    F_ObjHandleT fresh = om_PgfInsertNew(doc, pgf, "Body", "", 2);
    F_ObjHandleT tableElem = F_ApiGetId(doc, templ, FP_Element);
    if (!fresh || !tableElem) return 0;
    FA_errno = 0;
    if (om_ElementCopy(doc, tableElem) != 0 || FA_errno != 0) return 0;
    F_TextRangeT at{{fresh, 0}, {fresh, 0}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &at);
    if (F_ApiPaste(doc, 0) != 0) return 0;
    F_ObjHandleT table = om_TableAnchoredIn(doc, fresh);
    if (!table) return 0;
    F_ApiSetInt(doc, table, FP_TblTitlePosition, 1);
    F_ObjHandleT title = F_ApiGetId(doc, table, FP_FirstPgfInTitle);
    if (title) om_PgfReplaceText(doc, title, title, 0, -1, tableName);
    return fresh;
}

F_ObjHandleT om_LangAddRows(F_ObjHandleT doc, F_ObjHandleT table, ConStringT tableName, const F_StringsT *strings) {
    bool created = false;
    if (!table) table = om_DocFindTable(doc, tableName, "", 0);
    if (!table) {
        F_ObjHandleT pgf = om_LangAddTable(doc, 0, tableName);
        table = pgf ? om_TableAnchoredIn(doc, pgf) : 0;
        created = table != 0;
    }
    if (!table) return 0;
    std::vector<std::string> present;
    int n = 0;
    for (F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl); row && n < kStepLimit; row = F_ApiGetId(doc, row, FP_NextRowInTbl), ++n) {
        if (F_ApiGetInt(doc, row, FP_RowType) != 1) continue;
        StringT t = om_CellText(doc, row, 1, 0, 0, 0);
        present.push_back(qv::FoldCase(qv::View(t)));
        F_ApiDeallocateString(&t);
    }
    bool first = true;
    for (const auto &s : qv::ReadStrings(strings)) {
        if (s.empty() || std::find(present.begin(), present.end(), qv::FoldCase(s)) != present.end()) continue;
        F_ObjHandleT last = F_ApiGetId(doc, table, FP_LastRowInTbl);
        F_ApiAddRows(doc, last, FV_Below, 1);
        F_ObjHandleT row = F_ApiGetId(doc, table, FP_LastRowInTbl);
        F_ObjHandleT cell = qv::CellOf(doc, row, 1, 0, 0);
        om_CellSetText(doc, table, cell, 0, 1, s.c_str(), 0);
        present.push_back(qv::FoldCase(s));
        if (first && created) {
            F_ObjHandleT sample = F_ApiGetId(doc, F_ApiGetId(doc, table, FP_FirstRowInTbl), FP_NextRowInTbl);
            if (sample && sample != row) F_ApiDeleteRows(doc, table, sample, 1);
        }
        first = false;
    }
    return table;
}

IntT om_LangMarkUnusedRows(F_ObjHandleT doc, F_ObjHandleT table, const F_StringsT *current, IntT mark) {
    std::vector<std::string> wanted;
    for (const auto &s : qv::ReadStrings(current)) wanted.push_back(qv::FoldCase(s));
    IntT count = 0;
    int n = 0;
    for (F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl); row && n < kStepLimit; row = F_ApiGetId(doc, row, FP_NextRowInTbl), ++n) {
        if (F_ApiGetInt(doc, row, FP_RowType) != 1) continue;
        F_ObjHandleT cell = qv::CellOf(doc, row, 1, 0, 0);
        F_ObjHandleT pgf = cell ? F_ApiGetId(doc, cell, FP_FirstPgf) : 0;
        std::string text = qv::FoldCase(qv::PgfText(doc, pgf, -1, false, false));
        if (std::find(wanted.begin(), wanted.end(), text) != wanted.end()) continue;
        ++count;
        if (mark && pgf) om_TextApplyCharFormat(doc, pgf, "Red");
    }
    return count;
}

F_StringsT om_LangCommandLabels(ConStringT productName, IntT commands, IntT menus, IntT strip) {
    std::vector<std::string> labels;
    F_UIntsT ids = om_LangCommandIds(productName, commands, menus);
    for (UIntT i = 0; i < ids.len; ++i) {
        std::string label = HostString(0, ids.val[i], FP_Label);
        if (strip) label.erase(std::remove(label.begin(), label.end(), '&'), label.end());
        if (label.empty()) continue;
        bool known = std::any_of(labels.begin(), labels.end(), [&](const std::string &l) { return SameCI(l, label); });
        if (!known) labels.push_back(label);
    }
    F_ApiFreeIdList(&ids);
    return qv::NewStrings(labels);
}

F_StringsT om_LangDialogStrings(F_ObjHandleT dlg, IntT titleFlag, IntT listFlag, IntT kind53Flag, IntT textFlag,
                                IntT strip) {
    return qv::NewStrings(DialogStrings(dlg, titleFlag, listFlag, kind53Flag, textFlag, strip));
}

void om_StrSetFiller(StringT *text) { qv::StoreString(text, "yo yo yo yo yo yo yo yo yo yoy "); }
