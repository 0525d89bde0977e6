// Debug log (see debug_log.h).
#include "lib/host/debug_log.h"

#include <ctime>
#include <deque>
#include <vector>

#include "lib/host/element_text.h"
#include "lib/host/host_values.h"
#include "lib/run_state.h"

namespace {

struct LoggedEvent {
    F_ObjHandleT doc = 0;
    F_ObjHandleT obj = 0;
    UIntT unique = 0;
    std::string text;
    std::string tag;
};

struct DebugLogT {
    bool initialised = false;
    std::string name;
    IntT mode = kLogOff;
    std::string path;
    IntT capacity = 0;
    std::deque<LoggedEvent> events;  // oldest first
};

DebugLogT DebugLog;

// The debug log file named by the debug parameters at start-up.
[[maybe_unused]] const bool resetDebugLog = om_RunStateRegister("debug log", RunStateKind::StartUp, [] {
    DebugLog = DebugLogT{};
});

const std::string kDashes50(50, '-');
const std::string kDashes40(40, '-');

// Seconds since 1 January 2010, 00:00 UTC.
IntT SecondsSince2010() {
    constexpr std::time_t kEpoch2010 = 1262304000;
    return static_cast<IntT>(std::time(nullptr) - kEpoch2010);
}

// Writes bytes to the log file; append or replace.
void WriteFile(const std::string &path, const std::string &bytes, bool append) {
    FilePathT *fp = F_PathNameToFilePath(path.c_str(), nullptr, FDefaultPath);
    if (!fp) return;
    ChannelT *ch = F_ChannelOpen(fp, append ? "a" : "w");
    if (ch) {
        if (!bytes.empty()) F_ChannelWrite(bytes.data(), 1, static_cast<IntT>(bytes.size()), ch);
        F_ChannelClose(ch);
    }
    F_FilePathFree(fp);
}

// Appends one text, on a new line (CR LF before it) with the flag.
void AppendText(const std::string &text, bool newLine) { WriteFile(DebugLog.path, (newLine ? "\r\n" : "") + text, true); }

std::string DocPathText(F_ObjHandleT doc) {
    std::string p = HostGetString(0, doc, FP_Path);
    return p.empty() ? "(no path)" : p;
}

std::string ElementTextForLog(F_ObjHandleT doc, F_ObjHandleT elem) { return om_ElementText(doc, elem, 1, 50, 1, 0); }

void SetUp(const std::string &name, const std::string &folder, const std::string &fileName, IntT capacity) {
    DebugLog.name = name;
    std::string dir = folder;
    if (dir.empty()) {
        StringT cd = F_ApiClientDir();
        dir = cd ? cd : "";
        F_ApiDeallocateString(&cd);
    }
    while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    dir += '\\';
    DebugLog.path = dir + (fileName.empty() ? name + "_debug_log.txt" : fileName);
    DebugLog.capacity = capacity;
    DebugLog.events.clear();
    DebugLog.initialised = true;
}

}  // namespace

void om_LogInit(const std::string &pluginName, IntT mode, const std::string &folder, const std::string &fileName,
                IntT capacity) {
    if (!DebugLog.initialised && mode == kLogOff) return;
    SetUp(pluginName, folder, fileName, capacity);
    DebugLog.mode = mode;
    if (mode != kLogWrite) return;
    WriteFile(DebugLog.path, "", false);
    AppendText("This is a debug log for the " + pluginName + " plugin. It was generated due to the " +
                   "activation of the \"write log\" debug mode. " + "Please contact Orle Meadow for more information.\r\n",
               false);
    AppendText("Actions/events are listed in order with the most recent at the top.", true);
    AppendText(kDashes50, true);
    AppendText(kDashes50 + "\r\n", true);
}

void om_LogInitQuiet(const std::string &pluginName, const std::string &folder, const std::string &fileName,
                     IntT capacity) {
    SetUp(pluginName, folder, fileName, capacity);
}

void om_LogShowMode() {
    const char *text = nullptr;
    switch (DebugLog.mode) {
    case kLogOff: text = "Debug mode is off."; break;
    case kLogPrompting: text = "Prompting debug mode is ON."; break;
    case kLogWrite: text = "Write log debug mode is ON."; break;
    default: return;
    }
    F_ApiAlert(text, FF_ALERT_CONTINUE_WARN);
}

void om_LogAppendEvent(F_ObjHandleT docId, F_ObjHandleT objId, const std::string &event) {
    if (!DebugLog.initialised || DebugLog.mode != kLogWrite) return;
    IntT savedErrno = FA_errno;
    std::string s = "\r\n** EVENT/ACTION: " + event;
    s += "\r\nTIMESTAMP: " + std::to_string(SecondsSince2010()) + "\r\n";
    if (docId)
        s += "\r\nDOC: " + std::to_string(docId) + "\r\nFILEPATH: " + DocPathText(docId);
    else
        s += "\r\nNo doc ID sent";
    s += "\r\n";
    if (objId && F_OBJ_KIND(objId) == FO_Element) {
        s += "\r\nOBJECT TYPE: Element";
        s += "\r\nELEMENT TAG: " + om_ElementTag(docId, objId, 1);
        s += "\r\nELEMENT UID: " + std::to_string(F_ApiGetInt(docId, objId, FP_Unique));
        s += "\r\nELEMENT TEXT: " + ElementTextForLog(docId, objId);
    }
    s += "\r\n\r\n" + kDashes40 + "\r\n\r\n";
    WriteFile(DebugLog.path, s, true);
    FA_errno = savedErrno;
}

void om_LogRecordEvent(F_ObjHandleT docId, F_ObjHandleT objId, const std::string &event) {
    if (!DebugLog.initialised) return;
    while (!DebugLog.events.empty() && static_cast<IntT>(DebugLog.events.size()) > DebugLog.capacity)
        DebugLog.events.pop_front();
    LoggedEvent ev;
    ev.doc = docId;
    ev.obj = objId;
    ev.text = event;
    if (objId && F_OBJ_KIND(objId) == FO_Element) ev.tag = om_ElementTag(docId, objId, 1);
    ev.unique = objId ? static_cast<UIntT>(F_ApiGetInt(docId, objId, FP_Unique)) : 0;
    DebugLog.events.push_back(std::move(ev));

    std::vector<std::string> lines{
        "This is a debug log for the " + DebugLog.name + " plugin. It was generated due to the " +
            "activation of some debug mode.",
        "Please contact Orle Meadow for more information.",
        "Actions/events are listed in order with the most recent at the top.",
        "  ",
        kDashes50,
        kDashes50,
        "  "};
    UIntT number = 1;
    for (auto it = DebugLog.events.rbegin(); it != DebugLog.events.rend(); ++it, ++number) {
        lines.push_back("** (" + std::to_string(number) + ") ** EVENT/ACTION: " + it->text);
        lines.push_back("TIMESTAMP: " + std::to_string(SecondsSince2010()));
        lines.push_back("  ");
        if (it->doc) {
            lines.push_back("DOC: " + std::to_string(it->doc));
            lines.push_back("FILEPATH: " + DocPathText(it->doc));
        } else {
            lines.push_back("No doc ID sent");
        }
        lines.push_back("  ");
        if (it->obj && F_OBJ_KIND(it->obj) == FO_Element) {
            lines.push_back("OBJECT TYPE: Element");
            lines.push_back("ELEMENT TAG: " + it->tag);
            lines.push_back("ELEMENT UID: " + std::to_string(static_cast<IntT>(it->unique)));
            lines.push_back("ELEMENT TEXT: " + ElementTextForLog(it->doc, it->obj));
        } else {
            lines.push_back("NULL OR UNRECOGNIZABLE OBJECT SENT. ID: " + std::to_string(static_cast<IntT>(it->obj)));
        }
        lines.push_back("  ");
        lines.push_back(kDashes40);
        lines.push_back("  ");
    }
    std::string bytes;
    for (const std::string &l : lines) bytes += l + "\r\n";
    WriteFile(DebugLog.path, bytes, false);
    FA_errno = 0;
}

IntT om_LogMode() { return DebugLog.mode; }
std::string om_LogPath() { return DebugLog.path; }
void om_LogReset() { DebugLog = DebugLogT{}; }
