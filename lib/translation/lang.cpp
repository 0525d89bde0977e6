// GUI-string translation and messages by id (see lang.h): the translation state, table
// loading from language files, label and message lookups, dialog and menu relabelling.
#include "lib/translation/lang.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "lib/host/docio.h"
#include "lib/host/tables.h"
#include "lib/host/commands.h"
#include "lib/host/pgftext.h"
#include "lib/host/system_services.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/run_state.h"

namespace {

using qv::TranslationTable;

// The rows of a strings file's table as last read from the file for a message: its English
// texts and their translations (lines joined). While the file keeps its identity (see
// qv::sys::FileIdentity) and no document holds it, a message is taken from these rows instead of
// opening the file again: they are what the file holds.
struct FileRows {
    std::string path, identity, table;
    std::vector<std::pair<std::string, std::string>> rows;
};

struct TranslationState {
    bool ready = false;
    std::string product, extraFolder, language = "English", note;
    std::vector<TranslationTable> tables;
    std::vector<std::string> tried;  // table names whose loading was attempted (folded)
    FileRows fileRows;
};

TranslationState &State() {
    static TranslationState state;
    return state;
}

// Rows read in one table at most (the step limit of the row walk).
constexpr int kRowLimit = 100000;
// Rows kept of a "General Strings" table loaded row by row, before the new one.
constexpr size_t kMessageCache = 25;

bool SameCI(const std::string &a, const std::string &b) { return qv::EqualFolded(a, b); }
bool Same(const std::string &a, const std::string &b, int caseFlag) { return caseFlag == 1 ? a == b : SameCI(a, b); }

std::string HostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

std::string StripChar(std::string s, char c) {
    s.erase(std::remove(s.begin(), s.end(), c), s.end());
    return s;
}

int TableIndex(const std::string &name) {
    const auto &t = State().tables;
    for (size_t i = 0; i < t.size(); ++i)
        if (SameCI(t[i].name, name)) return static_cast<int>(i);
    return -1;
}

// Index of a text in a list from the first entry (-1 when absent).
int Find(const std::vector<std::string> &list, const std::string &text, int caseFlag) {
    for (size_t i = 0; i < list.size(); ++i)
        if (Same(list[i], text, caseFlag)) return static_cast<int>(i);
    return -1;
}

std::string LookupMessage(const std::string &id) {
    auto hit = [&]() -> const std::string * {
        int t = TableIndex(GeneralStringsTable);
        if (t < 0) return nullptr;
        const TranslationTable &table = State().tables[t];
        int i = Find(table.english, id, 0);
        return i < 0 ? nullptr : &table.translated[i];
    };
    if (const std::string *s = hit()) return *s;
    om_LangLoadTable(0, "", 0, GeneralStringsTable, id.c_str(), 1);
    if (const std::string *s = hit()) return *s;
    return MessagingErrorText + id;
}


// Entries listed per folder and session entries walked at most.
constexpr int kStepLimit = 100000;
constexpr const char *kCombinedPrefix = "OM_Translation_";
bool StartsCI(const std::string &s, const std::string &p) {
    return s.size() >= p.size() && SameCI(s.substr(0, p.size()), p);
}

std::string ClientDirOfPlugin() {
    StringT s = F_ApiClientDir();
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// The full paths of a folder's entries, in the host's listing order.
std::vector<std::string> ListFolder(const std::string &folder) {
    std::vector<std::string> out;
    if (folder.empty()) return out;
    FilePathT *dir = F_PathNameToFilePath(folder.c_str(), nullptr, FDefaultPath);
    if (!dir) return out;
    IntT status = 0;
    DirHandleT *h = F_FilePathOpenDir(dir, &status);
    if (h) {
        for (int n = 0; n < kStepLimit; ++n) {
            FilePathT *entry = F_FilePathGetNext(h, &status);
            if (!entry) break;
            StringT name = F_FilePathToPathName(entry, FDefaultPath);
            out.emplace_back(qv::View(name));
            F_ApiDeallocateString(&name);
            F_FilePathFree(entry);
        }
        F_FilePathCloseDir(h);
    }
    F_FilePathFree(dir);
    return out;
}

std::string FileName(const std::string &path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The language of a language-file name with one of the prefixes ("" when it has none of them).
std::string LanguageOf(const std::string &name, const std::vector<std::string> &prefixes) {
    if (name.size() >= 4 && SameCI(name.substr(name.size() - 4), ".lck")) return "";
    for (const auto &p : prefixes) {
        if (!StartsCI(name, p)) continue;
        std::string rest = name.substr(p.size());
        size_t dot = rest.rfind('.');
        return dot == std::string::npos ? rest : rest.substr(0, dot);
    }
    return "";
}

std::vector<std::string> Folders() {
    std::vector<std::string> f{ClientDirOfPlugin()};
    if (!qv::LangExtraFolder().empty()) f.push_back(qv::LangExtraFolder());
    return f;
}

std::string FindLanguageFile(const std::string &language, bool strings) {
    const std::string &product = qv::LangProductName();
    std::vector<std::string> prefixes{kCombinedPrefix, product + (strings ? "_Strings_General_" : "_Strings_Dialogs_")};
    for (const auto &folder : Folders())
        for (const auto &path : ListFolder(folder)) {
            std::string lang = LanguageOf(FileName(path), prefixes);
            if (!lang.empty() && SameCI(lang, language)) return path;
        }
    return "";
}

// The open document of that path (case-insensitive), 0 when none.
F_ObjHandleT FindOpenDoc(const std::string &path) {
    if (path.empty()) return 0;
    int n = 0;
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d && n < kStepLimit; d = F_ApiGetId(0, d, FP_NextOpenDocInSession), ++n)
        if (SameCI(HostString(0, d, FP_Path), path)) return d;
    return 0;
}

// The index of the loaded table of that name, added when missing; a table read whole
// (`whole`) starts empty again.
int TableFor(const std::string &name, bool whole) {
    TranslationState &st = State();
    int index = TableIndex(name);
    if (index < 0) {
        st.tables.push_back(TranslationTable{name, 0, {}, {}});
        return static_cast<int>(st.tables.size()) - 1;
    }
    if (whole) {
        st.tables[index].english.clear();
        st.tables[index].translated.clear();
    }
    return index;
}

// Keeps the rows of the message id (its English text, ignoring case) in the table of that name,
// after the oldest kept rows beyond the cache's size are dropped.
void AddMessageRows(const std::string &name, const std::string &id,
                    const std::vector<std::pair<std::string, std::string>> &rows) {
    TranslationTable &t = State().tables[TableFor(name, false)];
    if (t.english.size() > kMessageCache) {
        size_t drop = t.english.size() - kMessageCache;
        t.english.erase(t.english.begin(), t.english.begin() + static_cast<long>(drop));
        t.translated.erase(t.translated.begin(), t.translated.begin() + static_cast<long>(drop));
    }
    for (const auto &[english, translated] : rows) {
        if (!SameCI(english, id)) continue;
        t.english.push_back(english);
        t.translated.push_back(translated);
    }
}

}  // namespace

namespace qv {

std::string LangTranslate(const std::string &tableName, const std::string &text, bool reverse, int caseFlag) {
    if (SameCI(tableName, BogusTranslationTable)) return text;
    if (SameCI(tableName, GeneralStringsTable)) return LookupMessage(text);
    TranslationState &st = State();
    if (!st.ready || SameCI(st.language, "English")) return text;
    int t = TableIndex(tableName);
    if (t < 0) {
        std::string folded = FoldCase(tableName);
        if (std::find(st.tried.begin(), st.tried.end(), folded) == st.tried.end()) {
            om_LangLoadTable(0, st.language.c_str(), 0, tableName.c_str(), "", 0);
            st.tried.push_back(folded);
            t = TableIndex(tableName);
        }
    }
    if (t < 0) return text;
    const TranslationTable &table = st.tables[t];
    int i = Find(reverse ? table.translated : table.english, text, caseFlag);
    return i < 0 ? text : (reverse ? table.english : table.translated)[i];
}

bool LangKeepsText(std::string_view tableName) {
    if (EqualFolded(tableName, BogusTranslationTable)) return true;
    if (EqualFolded(tableName, GeneralStringsTable)) return false;
    const TranslationState &st = State();
    return !st.ready || EqualFolded(st.language, "English");
}

std::string LangMessage(const std::string &messageId) { return LangTranslate(GeneralStringsTable, messageId, false, 0); }

std::string LangMessageFormatted(const std::string &messageId, std::initializer_list<MsgArg> args) {
    return FormatMessage(LangMessage(messageId), args);
}

const std::string &LangCurrentLanguage() { return State().language; }
const std::string &LangProductName() { return State().product; }
const std::string &LangExtraFolder() { return State().extraFolder; }

void LangSetCurrent(const std::string &language) {
    State().language = language;
    State().tables.clear();
    State().tried.clear();
}

const TranslationTable *LangTable(int index) {
    const auto &t = State().tables;
    return index >= 0 && index < static_cast<int>(t.size()) ? &t[index] : nullptr;
}

void LangReset() { State() = TranslationState(); }

namespace {
// The language and its tables, loaded at start-up.
[[maybe_unused]] const bool resetTranslationTables =
    om_RunStateRegister("translation tables", RunStateKind::StartUp, [] {
        qv::LangReset();
    });
}  // namespace

}  // namespace qv

void om_LangInit(ConStringT productName, ConStringT extraFolder, ConStringT language) {
    TranslationState &st = State();
    st = TranslationState();
    st.product = qv::View(productName);
    st.extraFolder = qv::View(extraFolder);
    while (!st.extraFolder.empty() && (st.extraFolder.back() == '\\' || st.extraFolder.back() == '/'))
        st.extraFolder.pop_back();
    st.language = qv::View(language).empty() ? "English" : std::string(language);
    st.ready = true;
}

IntT om_LangIsReady(void) { return State().ready ? 1 : 0; }

StringT om_LangTranslate(ConStringT tableName, ConStringT text, IntT reverse, IntT caseFlag) {
    return qv::NewHeapString(qv::LangTranslate(std::string(qv::View(tableName)), std::string(qv::View(text)),
                                               reverse != 0, caseFlag));
}

void om_LangTranslateInPlace(ConStringT tableName, StringT *text, IntT reverse, IntT caseFlag) {
    if (!text) return;
    qv::StoreString(text, qv::LangTranslate(std::string(qv::View(tableName)), std::string(qv::View(*text)),
                                            reverse != 0, caseFlag));
}

StringT om_LangMessage(ConStringT messageId) { return qv::NewHeapString(qv::LangMessage(std::string(qv::View(messageId)))); }

StringT om_LangLookupMessage(ConStringT messageId) {
    return qv::NewHeapString(LookupMessage(std::string(qv::View(messageId))));
}

IntT om_LangTableIndex(ConStringT tableName) {
    if (!State().ready) return -1;
    return TableIndex(std::string(qv::View(tableName)));
}

IntT om_LangLoadTable(F_ObjHandleT languageDoc, ConStringT language, F_ObjHandleT table, ConStringT tableName,
                      ConStringT messageId, IntT report) {
    TranslationState &st = State();
    std::string name(qv::View(tableName)), id(qv::View(messageId));
    if (!st.ready || SameCI(name, BogusTranslationTable)) return -1;
    std::string lang = qv::View(language).empty() ? st.language : std::string(language);
    // A message from a strings file that no document holds: the rows kept from the file, while it
    // is the same file.
    std::string path, identity;
    if (!languageDoc && !table && !id.empty()) {
        path = FindLanguageFile(lang, true);
        if (!path.empty() && !FindOpenDoc(path)) identity = qv::sys::FileIdentity(path);
        const FileRows &kept = st.fileRows;
        if (!identity.empty() && kept.identity == identity && kept.path == path && kept.table == name) {
            AddMessageRows(name, id, kept.rows);
            return TableIndex(name);
        }
    }
    F_ObjHandleT doc = languageDoc;
    bool openedHere = false;
    if (!doc) {
        IntT kind = id.empty() ? 1 : 2;
        doc = qv::LangOpenFiles(lang, kind, 0, 0, 0);
        if (!doc) {
            doc = qv::LangOpenFiles(lang, kind, 1, 1, 0);
            openedHere = doc != 0;
        }
    }
    if (!doc) return -1;
    if (!table) table = om_DocFindTable(doc, name.c_str(), "", 0);
    if (!table) {
        if (report)
            om_LangAlert(qv::FormatMessage("The plugin was attempting to read the \"%s\" table in the following language "
                                           "file:\n\n%s\n\n...but the table was not found. Therefore, some translations "
                                           "may not work correctly.",
                                           {name, HostString(0, doc, FP_Path)})
                             .c_str());
        if (openedHere) om_DocClose(doc, 0);
        return -1;
    }
    std::vector<std::pair<std::string, std::string>> rows;
    F_ObjHandleT row = F_ApiGetId(doc, table, FP_FirstRowInTbl);
    for (int n = 0; row && n < kRowLimit; ++n, row = F_ApiGetId(doc, row, FP_NextRowInTbl)) {
        if (F_ApiGetInt(doc, row, FP_RowType) != 1) continue;
        F_ObjHandleT first = qv::CellOf(doc, row, 1, 0, 0), second = qv::CellOf(doc, row, 2, 0, 0);
        std::string english = first ? qv::PgfText(doc, F_ApiGetId(doc, first, FP_FirstPgf), -1, false, false) : "";
        std::string translated;
        if (second && id.empty()) {
            translated = qv::PgfText(doc, F_ApiGetId(doc, second, FP_FirstPgf), -1, false, false);
        } else if (second) {
            bool firstLine = true;
            for (const auto &line : qv::CellParagraphTexts(doc, second, true, false)) {
                if (!firstLine) translated += '\n';
                translated += line;
                firstLine = false;
            }
        }
        if (english.empty() || translated.empty()) continue;
        rows.emplace_back(std::move(english), std::move(translated));
    }
    if (openedHere) om_DocClose(doc, 0);
    if (id.empty()) {
        TranslationTable &t = st.tables[TableFor(name, true)];
        for (auto &[english, translated] : rows) {
            t.english.push_back(std::move(english));
            t.translated.push_back(std::move(translated));
        }
        return TableIndex(name);
    }
    AddMessageRows(name, id, rows);
    if (openedHere && !identity.empty()) st.fileRows = FileRows{path, identity, name, std::move(rows)};
    return TableIndex(name);
}

IntT om_LangTranslateDialog(F_ObjHandleT dlg, ConStringT englishTitle, ConStringT tableName, IntT reload,
                            IntT reverse, IntT titleFlag, IntT listFlag, IntT kind53Flag, IntT textFlag) {
    TranslationState &st = State();
    if (!st.ready || (SameCI(st.language, "English") && !reverse)) return 0;
    std::string name(qv::View(tableName));
    int t = TableIndex(name);
    if (!reverse && (t < 0 || reload)) t = om_LangLoadTable(0, "", 0, name.c_str(), "", 0);
    if (t < 0) return 0;
    if (reverse && st.tables[t].applied == 0) return 0;
    const std::vector<std::string> from = reverse ? st.tables[t].translated : st.tables[t].english;
    const std::vector<std::string> to = reverse ? st.tables[t].english : st.tables[t].translated;
    auto lookup = [&](const std::string &text, std::string *out) {
        int i = Find(from, text, 0);
        if (i < 0) return false;
        *out = to[i];
        return true;
    };
    IntT changed = 0;
    std::string hit;
    if (titleFlag && lookup(std::string(qv::View(englishTitle)), &hit)) {
        F_ApiSetString(0, dlg, FP_Title, hit.c_str());
        ++changed;
    }
    IntT highest = F_ApiGetInt(0, dlg, FP_DlgHighestItem);
    for (IntT n = 0; n <= highest; ++n) {
        F_ObjHandleT item = F_ApiDialogItemId(dlg, n);
        if (!item) continue;
        IntT kind = F_OBJ_KIND(item);
        if (kind == FO_DlgGroupBox || kind == FO_DlgButton || kind == FO_DlgCheckBox || kind == FO_DlgRadioButton ||
            kind == FO_DlgLabel) {
            if (lookup(StripChar(HostString(dlg, item, FP_Label), '&'), &hit)) {
                F_ApiSetString(dlg, item, FP_Label, hit.c_str());
                ++changed;
            }
        } else if ((kind == FO_DlgScrollBox && listFlag) || (kind == FO_DlgPopUp && kind53Flag)) {
            F_StringsT labels = F_ApiGetStrings(dlg, item, FP_DlgLabels);
            std::vector<std::string> v = qv::ReadStrings(&labels);
            F_ApiDeallocateStrings(&labels);
            for (size_t i = kind == FO_DlgPopUp ? 1 : 0; i < v.size(); ++i)
                if (lookup(v[i], &hit)) {
                    v[i] = hit;
                    ++changed;
                }
            if (kind == FO_DlgPopUp) {
                if (v.empty()) v.push_back(" ");
                else v[0] = " ";
            }
            F_StringsT out = qv::NewStrings(v);
            F_ApiSetStrings(dlg, item, FP_DlgLabels, &out);
            F_ApiDeallocateStrings(&out);
        } else if (kind == FO_DlgTextBox && textFlag) {
            if (lookup(HostString(dlg, item, FP_DlgText), &hit)) {
                F_ApiSetString(dlg, item, FP_DlgText, hit.c_str());
                ++changed;
            }
        }
    }
    st.tables[t].applied = 1;
    return changed;
}

void om_DlgStripTildes(F_ObjHandleT dlg) {
    IntT highest = F_ApiGetInt(0, dlg, FP_DlgHighestItem);
    for (IntT n = 0; n <= highest; ++n) {
        F_ObjHandleT item = F_ApiDialogItemId(dlg, n);
        IntT kind = F_OBJ_KIND(item);
        if (!item || !(kind == FO_DlgButton || kind == FO_DlgCheckBox || kind == FO_DlgRadioButton || kind == FO_DlgLabel))
            continue;
        std::string label = HostString(dlg, item, FP_Label);
        std::string stripped = StripChar(label, '~');
        if (stripped != label) F_ApiSetString(dlg, item, FP_Label, stripped.c_str());
    }
}

void om_LangTranslateMenus(ConStringT productName, IntT commands, IntT menus, IntT reverse) {
    std::string product(qv::View(productName));
    std::string table = product + " - Menus And Commands";
    F_UIntsT ids = om_LangCommandIds(productName, commands, menus);
    for (UIntT i = 0; i < ids.len; ++i) {
        F_ObjHandleT id = ids.val[i];
        std::string label = StripChar(HostString(0, id, FP_Label), '&');
        if (SameCI(label, product) || SameCI(label, product + " (!DEBUG!)")) continue;
        std::string translated = qv::LangTranslate(table, label, reverse != 0, 0);
        if (!SameCI(StripChar(translated, '&'), label)) {
            FA_errno = 0;
            F_ApiSetString(0, id, FP_Label, translated.c_str());
        }
    }
    F_ApiFreeIdList(&ids);
}

void om_LangAlert(ConStringT text) {
    std::string box = qv::FormatMessage("--> %s Translation Message <--\n\n%s", {State().product, std::string(qv::View(text))});
    F_ApiAlert(box.c_str(), FF_ALERT_CONTINUE_WARN);
}

F_ObjHandleT om_LangCmdDefine(IntT command, ConStringT name, ConStringT englishLabel, ConStringT shortcut) {
    std::string label = qv::LangTranslate(State().product + " - Menus And Commands", std::string(qv::View(englishLabel)), false, 0);
    return om_CmdDefine(command, 0, name, label.c_str(), shortcut);
}

F_ObjHandleT om_LangDefineMenu(ConStringT tag, ConStringT englishLabel) {
    std::string label = qv::LangTranslate("PRZD - Menus And Commands", std::string(qv::View(englishLabel)), false, 0);
    return F_ApiDefineMenu(tag, label.c_str());
}

void om_LangSetNote(ConStringT text) { State().note = qv::View(text); }

// ---- language files: finding, listing and opening them ----

StringT om_LangFindFile(ConStringT language, IntT strings) {
    if (!om_LangIsReady()) return qv::NewHeapString("");
    return qv::NewHeapString(FindLanguageFile(std::string(qv::View(language)), strings != 0));
}

F_StringsT om_LangListLanguages(void) {
    std::vector<std::string> languages, names, folded;
    if (om_LangIsReady()) {
        for (const auto &folder : Folders())
            for (const auto &path : ListFolder(folder)) {
                std::string name = FileName(path), f = qv::FoldCase(name);
                if (std::find(folded.begin(), folded.end(), f) != folded.end()) continue;
                folded.push_back(f);
                names.push_back(name);
            }
        std::vector<std::string> prefixes{kCombinedPrefix, qv::LangProductName() + "_Strings_Dialogs_"};
        for (const auto &name : names) {
            std::string lang = LanguageOf(name, prefixes);
            if (lang.empty() || SameCI(lang, "English")) continue;
            bool known = std::any_of(languages.begin(), languages.end(), [&](const std::string &l) { return SameCI(l, lang); });
            if (!known) languages.push_back(lang);
        }
    }
    return qv::NewStrings(languages);
}

F_ObjHandleT qv::LangOpenFiles(const std::string &lang, IntT kind, IntT open, IntT invisible, IntT report) {
    if (!om_LangIsReady() || lang.empty()) return 0;
    bool english = SameCI(lang, "English");
    if (english && report)
        om_LangAlert("For the GUI strings, \"English\" is built into the software and therefore does not have a "
                     "corresponding GUI file. However, there should at least be a general strings file.");
    F_ObjHandleT found = 0;
    auto openOne = [&](bool strings, const char *missing) {
        std::string path = FindLanguageFile(lang, strings);
        F_ObjHandleT doc = FindOpenDoc(path);
        if (!doc && open && !path.empty()) doc = om_DocOpen(path.c_str(), 0, 0, 1, 1, invisible ? 1 : 0, 1);
        if (!doc && report) om_LangAlert(qv::FormatMessage(missing, {lang}).c_str());
        if (doc) found = doc;
    };
    if ((kind == 1 || kind == 3) && !english) openOne(false, "A GUI language file could not be found for the language:\n\n%s");
    if (kind == 2 || kind == 3) openOne(true, "A \"strings\" language file could not be found for the language:\n\n%s");
    return found;
}

F_UIntsT om_LangCommandIds(ConStringT productName, IntT commands, IntT menus) {
    std::vector<UIntT> ids;
    std::string product(qv::View(productName));
    int n = 0;
    for (F_ObjHandleT id = F_ApiGetId(0, 0, FP_FirstMenuItemInSession); id && n < kStepLimit; id = F_ApiGetId(0, id, FP_NextMenuItemInSession), ++n) {
        IntT kind = F_OBJ_KIND(id);
        std::string name = HostString(0, id, FP_Name);
        if ((commands && kind == FO_Command && StartsCI(name, product + "_Cmd_")) ||
            (menus && kind == FO_Menu && StartsCI(name, product + "_Menu_")))
            ids.push_back(id);
    }
    return qv::NewUInts(ids);
}

std::string qv::LangFindFile(const std::string &language, bool strings) { return FindLanguageFile(language, strings); }

std::string qv::LangClientDir() { return ClientDirOfPlugin(); }
