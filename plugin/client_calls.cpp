// The inter-client call interface: splits a call string into fields by the current delimiter,
// dispatches on the call name and answers a status result or a value plus 100. XPath calls work
// on the engine's node table through sequence numbers that are checked on every use, so a
// number left over from before a table reset never reads a record of another expression.
#include "plugin/client_calls.h"

#include <strings.h>

#include <algorithm>

#include <cstdlib>

#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "lib/state/cond_settings.h"
#include "lib/state/settings_files.h"
#include "lib/strings/keyvalue.h"
#include "lib/strings/search.h"
#include "nodewizard/script_runs.h"
#include "plugin/cond_apply.h"
#include "nodewizard/scripts_doc.h"
#include "transform/xform.h"
#include "xpath/xpath.h"
#include "lib/run_state.h"

ClientCallStateT ClientCallState;
IntT ReturnIdType = 1;

namespace {
// What client calls leave for the next call (delimiter, cursors, the id type).
[[maybe_unused]] const bool resetClientCallState = om_RunStateRegister("client call state", RunStateKind::Run, [] {
    ClientCallState = ClientCallStateT{};
    ReturnIdType = 1;
});
}  // namespace

namespace {

constexpr IntT kVersionMajor = 3;
constexpr IntT kVersionMinor = 44;

bool same(const std::string &a, const char *b) { return strcasecmp(a.c_str(), b) == 0; }

// A flag field: "True", "Yes" or "1" (by its first letter, any case) is on; anything else off.
int flagOf(const std::string &field) { return om_StrToBool(field.c_str(), 0) == 1 ? 1 : 0; }

// 1 when the field is a decimal number (digits after an optional minus).
bool isNumber(const std::string &field) {
    size_t i = !field.empty() && field[0] == '-' ? 1 : 0;
    return i < field.size() && field.find_first_not_of("0123456789", i) == std::string::npos;
}

IntT intOf(const std::string &field) { return F_StrAlphaToInt(field.c_str()); }

// The call string split by the delimiter (no empty last field after a final delimiter).
std::vector<std::string> fieldsOf(ConStringT message) {
    // As om_StrSplitFixed cuts it, without the round trip through a host string list: calls
    // such as FindNextNode come once per match.
    return message ? qv::Split(message, ClientCallState.delimiter) : std::vector<std::string>{};
}

// The sequence number a field holds (value - 100), or 0 when it names no compiled expression:
// below 1, beyond the node table, or a record that is not the root of a successful compile.
IntT sequenceOf(const std::string &field) {
    long long n = (long long)intOf(field) - kCallValueOffset;
    if (n < 1 || n > XPathLastSequenceNumber) return 0;
    return om_XPathIsCompiledSequence(IntT(n)) ? IntT(n) : 0;
}

IntT parseXPath(const std::vector<std::string> &f) {
    if (f.size() < 2 || f.size() > 3) return kCallFieldCount;
    int report = f.size() == 3 ? flagOf(f[2]) : 0;
    F_ApiSaveClipboard();
    IntT s = om_XPathCompile(f[1], report);
    F_ApiRestoreClipboard();
    if (s < 1 || s > XPathLastSequenceNumber) return kCallNoCompile;
    om_XPathResetSequence(s, 1);
    return s + kCallValueOffset;
}

// The document a FindNextNode field names: an open document or book by id, else an open
// document by path; 0 when none.
F_ObjHandleT documentOf(const std::string &field) {
    if (isNumber(field)) {
        F_ObjHandleT id = F_ObjHandleT(intOf(field));
        if (id && om_DocKindIfOpen(0, id) && (F_OBJ_KIND(id) == FO_Doc || F_OBJ_KIND(id) == FO_Book)) return id;
    }
    return om_DocFindByPath(field);
}

IntT findNextNode(const std::vector<std::string> &f) {
    if (f.size() < 4 || f.size() > 5) return kCallFieldCount;
    IntT s = sequenceOf(f[1]);
    if (!s) return kCallBadSequence;
    F_ObjHandleT doc = documentOf(f[2]);
    if (!doc) return kCallNoDocument;
    F_ObjHandleT flow = 0;
    std::string flowField = f.size() == 5 ? f[4] : "0";
    if (flowField != "0" && !same(flowField, "Main")) {
        flow = isNumber(flowField) ? F_ObjHandleT(intOf(flowField)) : om_FlowFind(doc, flowField, 1);
        if (!flow || F_OBJ_KIND(flow) != FO_Flow || !F_ApiGetId(doc, flow, FP_FirstTextFrameInFlow)) return kCallNoFlow;
    }
    F_ObjHandleT start = F_ObjHandleT(intOf(f[3]));
    F_ObjHandleT mdoc = 0;
    F_ObjHandleT m = om_FindNextNodeWithXpath(doc, s, start, flow, &mdoc, nullptr);
    if (!m) return kCallDone;
    if (ReturnIdType != 2) return IntT(m);
    IntT unique = mdoc ? F_ApiGetInt(mdoc, m, FP_Unique) : 0;
    return unique ? unique : F_ApiGetInt(doc, m, FP_Unique);
}

IntT resetSequence(const std::vector<std::string> &f) {
    if (f.size() != 2) return kCallFieldCount;
    IntT s = sequenceOf(f[1]);
    if (!s) return kCallBadSequence;
    om_XPathResetSequence(s, 1);
    return kCallDone;
}

IntT retrieveMatch(const std::vector<std::string> &f, bool attribute) {
    if (f.size() != 2) return kCallFieldCount;
    IntT s = sequenceOf(f[1]);
    if (!s) return kCallBadSequence;
    const XPathNodeRecord &r = om_XPathRec(s);
    return attribute ? r.groupAttr + kCallValueOffset : IntT(r.groupDoc);
}

// A path in forward-slash form.
std::string forwardSlashes(std::string path) {
    for (char &c : path)
        if (c == '\\') c = '/';
    return path;
}

// EC_NWScriptsDoc: an open document (id or path) becomes the current scripts document; any other
// value is a path whose hidden working copy must open. 0, or 5 with the path unchanged.
IntT setScriptsDocument(const std::string &value) {
    F_ObjHandleT open = om_DocFindOpen(value, 0, 0);
    if (open && !om_DocKindIfOpen(0, open)) open = 0;  // the id of a closed document is no document
    if (open) {
        SettingsFiles.currentScriptsDoc = forwardSlashes(HostGetString(0, open, FP_Path));
        return kCallDone;
    }
    std::string previous = SettingsFiles.currentScriptsDoc;
    SettingsFiles.currentScriptsDoc = forwardSlashes(value);
    if (!value.empty() && om_NWSOpenScriptsDocument(kNWSDocHidden, 1, 0)) return kCallDone;
    SettingsFiles.currentScriptsDoc = previous;
    return kCallNoScriptsDoc;
}

IntT setAppParm(const std::vector<std::string> &f) {
    if (f.size() < 2 || f.size() > 3) return kCallFieldCount;
    const std::string &name = f[1];
    std::string value = f.size() == 3 ? f[2] : "";
    if (same(name, "EC_ReturnIDType")) {
        ReturnIdType = !value.empty() && (value[0] == 'F' || value[0] == 'f') ? 1 : 2;
        return kCallDone;
    }
    if (same(name, "EC_AllowXPathFileOpening")) {
        om_XPathSetAllowFileOpening(flagOf(value));
        return kCallDone;
    }
    if (same(name, "EC_NWScriptsDoc") || same(name, "EC_NWScriptDoc")) return setScriptsDocument(value);
    return kCallUnknownParameter;
}

IntT getAppParm(const std::vector<std::string> &f) {
    if (f.size() != 2) return kCallFieldCount;
    const std::string &name = f[1];
    if (same(name, "EC_QuorvaneVersionMajor") || same(name, "EC_QVRNVersionMajor") || same(name, "QuorvaneVersionMajor"))
        return kVersionMajor + kCallValueOffset;
    if (same(name, "EC_QuorvaneVersionMinor") || same(name, "EC_QVRNVersionMinor") || same(name, "QuorvaneVersionMinor"))
        return kVersionMinor + kCallValueOffset;
    if (same(name, "EC_NWScriptsDoc") || same(name, "EC_NWScriptDoc")) {
        F_ObjHandleT open = om_DocFindOpen(SettingsFiles.currentScriptsDoc, 0, 0);
        return open ? IntT(open) : kCallNoScriptsDoc;
    }
    return kCallUnknownParameter;
}

IntT setParam(const std::vector<std::string> &f) {
    if (f.size() < 2 || f.size() > 3) return kCallFieldCount;
    om_XformSetExternalParam(f[1], f.size() == 3 ? f[2] : "");
    return kCallDone;
}

// TransformFile---target---folder or NULL---report flag: the transformed document or book id,
// or the driver's code; 6 when the target is neither an open document nor an open book.
IntT transformFile(const std::vector<std::string> &f) {
    if (f.size() != 4) return kCallFieldCount;
    F_ObjHandleT target = 0;
    char *end = nullptr;
    unsigned long n = std::strtoul(f[1].c_str(), &end, 10);
    if (!f[1].empty() && end && *end == 0) target = F_ObjHandleT(n);
    if (!target) target = om_DocFindByPath(f[1]);
    if (!target) target = om_BookFindByPath(f[1]);
    if (!target) return kCallNoDocument;
    FA_errno = 0;
    bool isDoc = F_OBJ_KIND(target) == FO_Doc && F_ApiGetId(0, target, FP_FirstFlowInDoc) != 0;
    bool isBook = !isDoc && F_OBJ_KIND(target) == FO_Book && F_ApiGetId(0, target, FP_FirstComponentInBook) != 0;
    if (!isDoc && !isBook) return kCallNoDocument;
    return om_XformTransformFile(target, f[2], flagOf(f[3]));
}

IntT setScriptParm(const std::vector<std::string> &f) {
    if (f.size() != 3) return kCallFieldCount;
    om_NWSSetParam(f[1], f[2]);
    om_XPathSetParameter(f[1], f[2]);
    return kCallDone;
}

// RunNodeWizardScript---script---event number---target---interactive flag: 0 when the run
// succeeded; 5 without scripts document, 8 for a script that is not active, 9 for a failed run.
IntT runNodeWizardScript(const std::vector<std::string> &f) {
    if (f.size() != 5) return kCallFieldCount;
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    if (!scriptsDoc) return kCallNoScriptsDoc;
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, f[1], 0, 0);
    if (!script) return kCallNoScript;
    F_ObjHandleT target = om_DocFindOpen(f[3], 0, 1);
    IntT ran = om_NWSRunFoundScript(script, f[1], scriptsDoc, intOf(f[2]), target, flagOf(f[4]));
    return ran == 1 ? kCallDone : kCallScriptFailed;
}

// The next byte of an XPath parameter's value + 100; 100 (and the cursor back to 0) once the
// cursor has reached the value's end, also when it stands beyond a shorter value.
IntT getScriptParmByte(const std::vector<std::string> &f) {
    if (f.size() != 2) return kCallFieldCount;
    std::string value = om_XPathGetParameter(f[1]);
    if (strcasecmp(value.c_str(), XPathUndefinedParameter) == 0) return kCallUnknownParameter;
    size_t &cursor = ClientCallState.byteCursor;
    if (cursor >= value.size()) {
        cursor = 0;
        return kCallValueOffset;
    }
    return IntT((unsigned char)value[cursor++]) + kCallValueOffset;
}

IntT clearScriptParms(const std::vector<std::string> &f) {
    if (f.size() != 1) return kCallFieldCount;
    om_NWSClearParams();
    om_XPathClearParameters();
    return kCallUnknown;
}

struct FieldCall {
    const char *name;
    IntT (*run)(const std::vector<std::string> &);
};

const FieldCall kFieldCalls[] = {
    {"ParseXPath", parseXPath},
    {"FindNextNode", findNextNode},
    {"ResetSequence", resetSequence},
    {"RetrieveAttrMatch", [](const std::vector<std::string> &f) { return retrieveMatch(f, true); }},
    {"RetrieveAttributeMatch", [](const std::vector<std::string> &f) { return retrieveMatch(f, true); }},
    {"RetrieveFileMatch", [](const std::vector<std::string> &f) { return retrieveMatch(f, false); }},
    {"RetrieveDocMatch", [](const std::vector<std::string> &f) { return retrieveMatch(f, false); }},
    {"SetAppParm", setAppParm},
    {"GetAppParm", getAppParm},
    {"SetParam", setParam},
    {"TransformFile", transformFile},
    {"SetScriptParm", setScriptParm},
    {"GetScriptParmByte", getScriptParmByte},
    {"ClearScriptParms", clearScriptParms},
    {"RunNodeWizardScript", runNodeWizardScript},
    {"RunNWScript", runNodeWizardScript},
};

}  // namespace

IntT om_ClientHandleCall(ConStringT message) {
    std::string text = message ? message : "";
    if (text.empty()) return kCallUnknown;
    // Whole-string messages. The sibling plug-in's edit reports apply the condition rules to the
    // selected element, as the user's own inserts, wraps and attribute edits do.
    if (same(text, "LFMessage_InsertedElement") || same(text, "LFMessage_WrappedElement")) {
        if (CondTriggerSettings.afterInsertWrap) om_CondApplyRulesToElement(0, 0, 1, 1);
        return kCallDone;
    }
    if (same(text, "LFMessage_ChangedAttribute")) {
        if (CondTriggerSettings.afterAttrEdit) om_CondApplyRulesToElement(0, 0, 1, 1);
        return kCallDone;
    }
    if (same(text, "AllocateNodeHandlers") || same(text, "DeallocateNodeHandlers")) {
        om_XPathResetNodeTable();
        return kCallDone;
    }
    if (same(text, "ReportAllocatedHandlers")) return IntT(XPathNodeTable.capacity());
    constexpr size_t kDelimiterCall = 19;  // "ChangeCallDelimiter"
    if (text.size() >= kDelimiterCall && strncasecmp(text.c_str(), "ChangeCallDelimiter", kDelimiterCall) == 0) {
        if (text.size() > kDelimiterCall) ClientCallState.delimiter = text.substr(kDelimiterCall);
        return kCallUnknown;
    }
    std::vector<std::string> fields = fieldsOf(text.c_str());
    if (fields.empty()) return kCallUnknown;
    for (const FieldCall &call : kFieldCalls)
        if (same(fields[0], call.name)) return call.run(fields);
    return kCallUnknown;
}
