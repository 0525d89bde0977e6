// Host commands, formats, tables and client calls (see hostcmds.h).
#include "lib/host/hostcmds.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "lib/host/documents.h"
#include "lib/host/docio.h"
#include "lib/host/system_services.h"
#include "lib/host/element_text.h"
#include "lib/host/paths.h"
#include "lib/host/pgftext.h"
#include "lib/strings/heapstr.h"
#include "lib/strings/listconv.h"
#include "lib/globals.h"
#include "lib/run_state.h"

IntT DebugPromptsOn = 0;

namespace {

constexpr int kStepLimit = 100000;

bool SameText(const std::string &a, const std::string &b, IntT caseFlag) {
    return caseFlag == 1 ? a == b : qv::FoldCase(a) == qv::FoldCase(b);
}

std::string HostString(F_ObjHandleT doc, F_ObjHandleT obj, IntT prop) {
    StringT s = F_ApiGetString(doc, obj, prop);
    std::string out(qv::View(s));
    F_ApiDeallocateString(&s);
    return out;
}

// The title text of a table: the first 100 bytes of its title's first paragraph.
std::string TableTitle(F_ObjHandleT doc, F_ObjHandleT table) {
    F_ObjHandleT pgf = F_ApiGetId(doc, table, FP_FirstPgfInTitle);
    return pgf ? qv::PgfText(doc, pgf, 100, false, false) : "";
}

int DebugPromptCount = 0;

// Switched on by the debug parameters at start-up.
[[maybe_unused]] const bool resetDebugPrompts = om_RunStateRegister("debug prompts", RunStateKind::StartUp, [] {
    DebugPromptsOn = 0;
    DebugPromptCount = 0;
});

void DebugPromptWith(const std::vector<std::string> &lines) {
    if (!DebugPromptsOn) return;
    std::string text = "Quorvane debug prompt: " + std::to_string(++DebugPromptCount);
    for (const auto &l : lines) text += "\n\n" + l;
    text += "\n\nClick No to abort debug mode.";
    if (F_ApiAlert(text.c_str(), FF_ALERT_YES_DEFAULT) != 0) DebugPromptsOn = 0;
}

}  // namespace

F_ObjHandleT om_CmdDefine(IntT command, F_ObjHandleT menu, ConStringT name, ConStringT label, ConStringT shortcut) {
    std::string l(qv::View(label)), s(qv::View(shortcut)), keys;
    if (!om_StrIsEmpty(shortcut)) {
        if (s.rfind("\\!", 0) == 0) {
            keys = s.substr(2);
            l += " (Esc ";
        } else if (s[0] == '~' || s[0] == '^' || s[0] == '+') {
            s = s.substr(0, 2);
            keys = s.substr(1);
            l += s[0] == '~' ? " (Alt+" : s[0] == '^' ? " (Ctrl+" : " (Shift+";
        } else {
            s.clear();
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i) l += ' ';
            l += keys[i];
        }
        if (!keys.empty()) l += ')';
    }
    StringT views[2] = {const_cast<char *>("WYSIWYG View"), const_cast<char *>("Author View")};
    F_StringsT viewList{2, views};
    if (menu) return F_ApiDefineAndAddCommandWithViews(command, menu, name, l.c_str(), s.c_str(), &viewList);
    return F_ApiDefineCommandWithViews(command, name, l.c_str(), s.c_str(), &viewList);
}

IntT om_RunFcode(IntT fcode) {
    IntT codes[1] = {fcode};
    F_IntsT list{1, codes};
    return F_ApiFcodes(&list);
}

IntT om_CallClient(ConStringT clientName, ConStringT message, IntT twice) {
    IntT first = F_ApiCallClient(clientName, message);
    if (twice != 1) return first;
    return first == 1 ? F_ApiCallClient(clientName, message) : 0;
}

IntT om_ConfirmCancel(ConStringT question) {
    ConStringT text = om_StrIsEmpty(question) ? "Are you sure you want to cancel this operation?" : question;
    // A failed alert (FA_errno set) is never read as Yes: the operation goes on.
    FA_errno = 0;
    IntT answer = F_ApiAlert(text, FF_ALERT_YES_DEFAULT);
    CancelFlag = (answer == 0 && FA_errno == 0) ? 1 : 0;
    return CancelFlag;
}

IntT om_PgfApplyFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName) {
    if (!doc || !pgf) return 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(doc, FO_PgfFmt, formatName);
    if (!fmt) return 0;
    F_PropValsT props = F_ApiGetProps(doc, fmt);
    F_ApiSetProps(doc, pgf, &props);
    F_ApiDeallocatePropVals(&props);
    return 1;
}

IntT om_RangeApplyCharFormat(F_ObjHandleT doc, F_TextRangeT *range, ConStringT formatName) {
    if (!doc || !range) return 0;
    F_ObjHandleT fmt = F_ApiGetNamedObject(doc, FO_CharFmt, formatName);
    if (!fmt) return 0;
    F_PropValsT props = F_ApiGetProps(doc, fmt);
    F_ApiSetTextProps(doc, range, &props);
    F_ApiDeallocatePropVals(&props);
    return 1;
}

IntT om_TextApplyCharFormat(F_ObjHandleT doc, F_ObjHandleT pgf, ConStringT formatName) {
    F_TextRangeT range{{pgf, 0}, {pgf, FV_OBJ_END_OFFSET}};
    return om_RangeApplyCharFormat(doc, &range, formatName);
}

F_ObjHandleT om_DocFindTable(F_ObjHandleT doc, ConStringT title, ConStringT formatName, IntT caseFlag) {
    std::string t(qv::View(title)), f(qv::View(formatName));
    if (!doc || (t.empty() && f.empty())) return 0;
    F_ObjHandleT table = F_ApiGetId(0, doc, FP_FirstTblInDoc);
    for (int n = 0; table && n < kStepLimit; ++n, table = F_ApiGetId(doc, table, FP_NextTblInDoc)) {
        if (!t.empty() && !SameText(TableTitle(doc, table), t, caseFlag)) continue;
        if (!f.empty() && !SameText(HostString(doc, table, FP_TblTag), f, caseFlag)) continue;
        return table;
    }
    return 0;
}

StringT om_HostVersionText(IntT withMinor) {
    IntT major = F_ApiGetInt(0, 0, FP_VersionMajor), minor = F_ApiGetInt(0, 0, FP_VersionMinor);
    std::string text = std::to_string(major);
    if (withMinor) text += "." + std::to_string(minor);
    return qv::NewHeapString(text);
}

StringT om_PathSettingsFolder(ConStringT variable, ConStringT subFolder, IntT trailing) {
    std::string var = qv::View(variable).empty() ? "APPDATA" : std::string(variable);
    StringT env = om_EnvGet(var.c_str());  // %APPDATA% always has a value
    std::string value(qv::View(env));
    F_ApiDeallocateString(&env);
    if (value.empty()) return qv::NewHeapString("error");
    StringT version = om_HostVersionText(F_ApiGetInt(0, 0, FP_VersionMinor) != 0);
    std::string path = value + "\\Adobe\\FrameMaker\\" + qv::View(version).data() + "\\OrleMeadow";
    F_ApiDeallocateString(&version);
    if (!qv::View(subFolder).empty()) path += std::string("\\") + subFolder;
    if (trailing) path += "\\";
    return qv::NewHeapString(path);
}

StringT om_MonthName(IntT month, IntT shortName) {
    static const char *const names[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
    if (month < 1 || month > 12) return qv::NewHeapString("error, out of range");
    std::string n = names[month - 1];
    return qv::NewHeapString(shortName ? n.substr(0, 3) : n);
}

StringT om_DayName(IntT day, IntT shortName) {
    static const char *const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    if (day < 1 || day > 7) return qv::NewHeapString("error, out of range");
    std::string n = names[day - 1];
    return qv::NewHeapString(shortName ? n.substr(0, 3) : n);
}

IntT om_Not(IntT flag) { return flag == 0 ? 1 : 0; }

RealT om_LengthToPoints(RealT value, IntT unit) {
    if (unit == 1 || unit == 3) return value * 72.0;
    if (unit == 2 || unit == 4) return value / 2.54 * 72.0;
    return value;
}

RealT om_PointsToLength(RealT points, IntT unit) {
    if (unit == 1 || unit == 3) return points / 72.0;
    if (unit == 2 || unit == 4) return points / 72.0 * 2.54;
    return points;
}

IntT om_RowCountCells(F_ObjHandleT doc, F_ObjHandleT elem, F_ObjHandleT row) {
    if (!row && elem) row = F_ApiGetId(doc, elem, FP_Object);
    IntT n = 0;
    for (F_ObjHandleT c = row ? F_ApiGetId(doc, row, FP_FirstCellInRow) : 0; c && n < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow)) ++n;
    return n;
}

F_ObjHandleT om_RowLastCell(F_ObjHandleT doc, F_ObjHandleT row, F_ObjHandleT cell) {
    if (!row && cell) row = F_ApiGetId(doc, cell, FP_CellRow);
    if (F_OBJ_KIND(row) != FO_Row) return 0;
    F_ObjHandleT last = 0;
    int n = 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, row, FP_FirstCellInRow); c && n < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow), ++n) last = c;
    return last;
}

F_UIntsT om_TableSelectedCells(F_ObjHandleT doc, F_ObjHandleT table) {
    std::vector<UIntT> cells;
    if (!table) table = F_ApiGetId(0, doc, FP_SelectedTbl);
    if (table) {
        F_ObjHandleT top = F_ApiGetId(doc, table, FP_TopRowSelection), bottom = F_ApiGetId(doc, table, FP_BottomRowSelection);
        IntT left = F_ApiGetInt(doc, table, FP_LeftColNum), right = F_ApiGetInt(doc, table, FP_RightColNum);
        F_ObjHandleT row = top;
        for (int n = 0; row && n < kStepLimit; ++n, row = F_ApiGetId(doc, row, FP_NextRowInTbl)) {
            int m = 0;
            for (F_ObjHandleT c = F_ApiGetId(doc, row, FP_FirstCellInRow); c && m < kStepLimit; c = F_ApiGetId(doc, c, FP_NextCellInRow), ++m) {
                IntT col = F_ApiGetInt(doc, c, FP_CellColNum);
                if (col >= left && col <= right) cells.push_back(c);
            }
            if (row == bottom) break;
        }
    }
    return qv::NewUInts(cells);
}

F_StringsT om_DocTableTitles(F_ObjHandleT doc, ConStringT formatName, IntT caseFlag) {
    std::vector<std::string> titles;
    std::string f(qv::View(formatName));
    F_ObjHandleT table = doc ? F_ApiGetId(0, doc, FP_FirstTblInDoc) : 0;
    for (int n = 0; table && n < kStepLimit; ++n, table = F_ApiGetId(doc, table, FP_NextTblInDoc)) {
        if (!SameText(HostString(doc, table, FP_TblTag), f, caseFlag)) continue;
        std::string t = TableTitle(doc, table);
        if (!t.empty()) titles.push_back(t);
    }
    return qv::NewStrings(titles);
}

F_ObjHandleT om_DocSelectedTable(F_ObjHandleT doc) {
    F_TextRangeT sel = F_ApiGetTextRange(0, doc, FP_TextSelection);
    F_ObjHandleT pgf = sel.beg.objId ? sel.beg.objId : sel.end.objId;
    if (!pgf) return 0;
    F_ObjHandleT frame = F_ApiGetId(doc, pgf, FP_InTextFrame);
    return frame ? F_ApiGetId(doc, frame, FP_FramePredecessor) : 0;
}

StringT om_PgfCharAt(F_ObjHandleT doc, F_ObjHandleT pgf, IntT position) {
    if (!doc || !pgf || position < 0) return qv::NewHeapString("");
    std::string text = qv::PgfText(doc, pgf, -1, false, false);
    std::vector<size_t> bounds = qv::CharBounds(text);
    if (static_cast<size_t>(position) + 1 >= bounds.size()) return qv::NewHeapString("end");
    return qv::NewHeapString(text.substr(bounds[position], bounds[position + 1] - bounds[position]));
}

void om_DebugPrompt(void) { DebugPromptWith({}); }
void om_DebugPrompt1(ConStringT text) { DebugPromptWith({std::string(qv::View(text))}); }
void om_DebugPrompt2(ConStringT text1, ConStringT text2) {
    DebugPromptWith({std::string(qv::View(text1)), std::string(qv::View(text2))});
}

IntT om_ClientCallPrompt(ConStringT defaultClient, ConStringT defaultMessage, IntT showResult, IntT remember) {
    static std::string lastClient, lastMessage;
    std::string dc = remember && !lastClient.empty() ? lastClient : std::string(qv::View(defaultClient));
    std::string dm = remember && !lastMessage.empty() ? lastMessage : std::string(qv::View(defaultMessage));
    StringT client = nullptr, message = nullptr;
    if (F_ApiPromptString(&client, "Client?", dc.c_str()) != 0) return 0;
    if (F_ApiPromptString(&message, "Message?", dm.c_str()) != 0) {
        F_ApiDeallocateString(&client);
        return 0;
    }
    if (remember) {
        lastClient = qv::View(client);
        lastMessage = qv::View(message);
    }
    IntT result = F_ApiCallClient(client, message);
    if (showResult) F_ApiAlert(("Return value:\n\n" + std::to_string(result)).c_str(), FF_ALERT_CONTINUE_WARN);
    F_ApiDeallocateString(&client);
    F_ApiDeallocateString(&message);
    return 1;
}

void om_DocListCommandsReport(void) {
    F_ObjHandleT doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) return;
    F_ObjHandleT pgf = om_FlowLastPgf(doc, "", 1);
    pgf = om_PgfInsertNew(doc, pgf, "Body", "", 2);
    int n = 0;
    for (F_ObjHandleT c = F_ApiGetId(0, 0, FP_FirstMenuItemInSession); c && n < kStepLimit; c = F_ApiGetId(0, c, FP_NextMenuItemInSession), ++n) {
        if (F_OBJ_KIND(c) != FO_Command) continue;
        IntT number = F_ApiGetInt(0, c, FP_CommandNum);
        if (number < 0) continue;
        std::string line = std::to_string(number) + ":  " + HostString(0, c, FP_Label);
        F_ObjHandleT next = om_PgfInsertNew(doc, pgf, "Body", line.c_str(), 2);
        if (next) pgf = next;
    }
}

F_ObjHandleT om_StructAppsDoc(IntT where, IntT open, IntT option) {
    std::string path;
    if (where == 1) {
        path = HostString(0, 0, FP_HostDir) + "\\Structure\\structapps.fm";
    } else if (where == 2) {
        // The user's folder: the settings folder without the maker's folder name (its last 10 bytes).
        StringT folder = om_PathSettingsFolder("", "", 0);
        std::string settings(qv::View(folder));
        F_ApiDeallocateString(&folder);
        if (settings == "error" || settings.size() < 10) return 0;
        path = settings.substr(0, settings.size() - 10);
        if (!path.empty() && path.back() == '\\') path.pop_back();
        path += "\\structapps.fm";
    } else {
        return 0;
    }
    StringT p = qv::NewHeapString(path);
    om_PathNormalize(&p, 0, 0);
    path = std::string(qv::View(p));
    F_ApiDeallocateString(&p);
    F_ObjHandleT doc = om_DocFindOpen(path, 0, 0);
    if (!doc && open) doc = om_DocOpenHiddenFlag(path.c_str(), option == 1);
    return doc;
}

