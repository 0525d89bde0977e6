// The inter-client call interface: splits a call string into fields by the current delimiter,
// dispatches on the call name and answers a status result or a value plus 100. XPath calls work
// on the engine's node table through sequence numbers that are checked on every use, so a
// number left over from before a table reset never reads a record of another expression.
#include "plugin/client_calls.h"

#include <strings.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "lib/host/documents.h"
#include "lib/host/element_query.h"
#include "lib/host/host_values.h"
#include "lib/state/cond_settings.h"
#include "lib/state/settings_files.h"
#include "lib/strings/keyvalue.h"
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

// Byte c with an ASCII capital made small (call names and flag words are ASCII).
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

// Equal ignoring ASCII case.
bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// The fields of a call string: views into the message, the first kMaxFields kept and every
// field counted, so that a call with too many fields is told apart from one with the right
// number (no call takes more than kMaxFields).
struct CallFields {
    static constexpr size_t kMaxFields = 5;
    std::string_view at[kMaxFields];
    size_t count = 0;
    size_t size() const { return count; }
    std::string_view operator[](size_t i) const {
        assert(i < count && i < kMaxFields);
        return at[i];
    }
    void add(std::string_view field) {
        if (count < kMaxFields) at[count] = field;
        ++count;
    }
};

// The first place at or after pos where the delimiter (not empty) begins in the text, npos when
// nowhere. Fields are short: a plain scan beats a library search set up for each of them.
size_t delimiterAt(std::string_view text, std::string_view delimiter, size_t pos) {
    const char first = delimiter[0];
    for (size_t i = pos; i + delimiter.size() <= text.size(); ++i) {
        if (text[i] != first) continue;
        size_t k = 1;
        while (k < delimiter.size() && text[i + k] == delimiter[k]) ++k;
        if (k == delimiter.size()) return i;
    }
    return std::string_view::npos;
}

// The call string split by the delimiter, cut as qv::Split cuts it (no empty last field after
// a final delimiter; the whole text one field for an empty delimiter), without copying a field.
CallFields fieldsOf(std::string_view text, std::string_view delimiter) {
    CallFields f;
    if (text.empty()) return f;
    if (delimiter.empty()) {
        f.add(text);
        return f;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t hit = delimiterAt(text, delimiter, pos);
        if (hit == std::string_view::npos) {
            f.add(text.substr(pos));
            break;
        }
        f.add(text.substr(pos, hit - pos));
        pos = hit + delimiter.size();
    }
    return f;
}

// A flag field: "True", "Yes" or "1" (by its first letter, any case) is on; anything else off.
int flagOf(std::string_view field) { return om_StrToBool(std::string(field).c_str(), 0) == 1 ? 1 : 0; }

// 1 when the field is a decimal number (digits after an optional minus).
bool isNumber(std::string_view field) {
    size_t i = !field.empty() && field[0] == '-' ? 1 : 0;
    if (i == field.size()) return false;
    for (; i < field.size(); ++i)
        if (field[i] < '0' || field[i] > '9') return false;
    return true;
}

// The number at the start of a field read as the host reads a number (F_StrAlphaToInt): blanks
// before it and a sign are allowed, the rest after its digits is ignored, a number beyond the
// integer range gives the nearest end of the range; 0 without digits.
IntT intOf(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\n' || field[i] == '\r' ||
                                field[i] == '\f' || field[i] == '\v'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    const long long cap = static_cast<long long>(std::numeric_limits<IntT>::max()) + 1;
    long long v = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) v = std::min(v * 10 + (field[i] - '0'), cap);
    if (negative) v = -v;
    return static_cast<IntT>(std::clamp<long long>(v, std::numeric_limits<IntT>::min(), std::numeric_limits<IntT>::max()));
}

// The sequence number a field holds (value - 100), or 0 when it names no compiled expression:
// below 1, beyond the node table, or a record that is not the root of a successful compile.
IntT sequenceOf(std::string_view field) {
    long long n = (long long)intOf(field) - kCallValueOffset;
    if (n < 1 || n > XPathLastSequenceNumber) return 0;
    return om_XPathIsCompiledSequence(IntT(n)) ? IntT(n) : 0;
}

IntT parseXPath(const CallFields &f) {
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
F_ObjHandleT documentOf(std::string_view field) {
    if (isNumber(field)) {
        F_ObjHandleT id = F_ObjHandleT(intOf(field));
        if (id && om_DocKindIfOpen(0, id) && (F_OBJ_KIND(id) == FO_Doc || F_OBJ_KIND(id) == FO_Book)) return id;
    }
    return om_DocFindByPath(std::string(field));
}

IntT findNextNode(const CallFields &f) {
    if (f.size() < 4 || f.size() > 5) return kCallFieldCount;
    IntT s = sequenceOf(f[1]);
    if (!s) return kCallBadSequence;
    F_ObjHandleT doc = documentOf(f[2]);
    if (!doc) return kCallNoDocument;
    F_ObjHandleT flow = 0;
    std::string_view flowField = f.size() == 5 ? f[4] : "0";
    if (flowField != "0" && !same(flowField, "Main")) {
        flow = isNumber(flowField) ? F_ObjHandleT(intOf(flowField)) : om_FlowFind(doc, std::string(flowField), 1);
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

IntT resetSequence(const CallFields &f) {
    if (f.size() != 2) return kCallFieldCount;
    IntT s = sequenceOf(f[1]);
    if (!s) return kCallBadSequence;
    om_XPathResetSequence(s, 1);
    return kCallDone;
}

IntT retrieveMatch(const CallFields &f, bool attribute) {
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

IntT setAppParm(const CallFields &f) {
    if (f.size() < 2 || f.size() > 3) return kCallFieldCount;
    std::string_view name = f[1];
    std::string value(f.size() == 3 ? f[2] : "");
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

IntT getAppParm(const CallFields &f) {
    if (f.size() != 2) return kCallFieldCount;
    std::string_view name = f[1];
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

IntT setParam(const CallFields &f) {
    if (f.size() < 2 || f.size() > 3) return kCallFieldCount;
    om_XformSetExternalParam(std::string(f[1]), std::string(f.size() == 3 ? f[2] : ""));
    return kCallDone;
}

// TransformFile---target---folder or NULL---report flag: the transformed document or book id,
// or the driver's code; 6 when the target is neither an open document nor an open book.
IntT transformFile(const CallFields &f) {
    if (f.size() != 4) return kCallFieldCount;
    const std::string name(f[1]);
    F_ObjHandleT target = 0;
    char *end = nullptr;
    unsigned long n = std::strtoul(name.c_str(), &end, 10);
    if (!name.empty() && end && *end == 0) target = F_ObjHandleT(n);
    if (!target) target = om_DocFindByPath(name);
    if (!target) target = om_BookFindByPath(name);
    if (!target) return kCallNoDocument;
    FA_errno = 0;
    bool isDoc = F_OBJ_KIND(target) == FO_Doc && F_ApiGetId(0, target, FP_FirstFlowInDoc) != 0;
    bool isBook = !isDoc && F_OBJ_KIND(target) == FO_Book && F_ApiGetId(0, target, FP_FirstComponentInBook) != 0;
    if (!isDoc && !isBook) return kCallNoDocument;
    return om_XformTransformFile(target, std::string(f[2]), flagOf(f[3]));
}

IntT setScriptParm(const CallFields &f) {
    if (f.size() != 3) return kCallFieldCount;
    om_NWSSetParam(std::string(f[1]), std::string(f[2]));
    om_XPathSetParameter(f[1], f[2]);
    return kCallDone;
}

// RunNodeWizardScript---script---event number---target---interactive flag: 0 when the run
// succeeded; 5 without scripts document, 8 for a script that is not active, 9 for a failed run.
IntT runNodeWizardScript(const CallFields &f) {
    if (f.size() != 5) return kCallFieldCount;
    F_ObjHandleT scriptsDoc = om_NWSOpenScriptsDocument(kNWSDocEither, 1, 0);
    if (!scriptsDoc) return kCallNoScriptsDoc;
    const std::string name(f[1]);
    F_ObjHandleT script = om_NWSFindScript(scriptsDoc, name, 0, 0);
    if (!script) return kCallNoScript;
    F_ObjHandleT target = om_DocFindOpen(std::string(f[3]), 0, 1);
    IntT ran = om_NWSRunFoundScript(script, name, scriptsDoc, intOf(f[2]), target, flagOf(f[4]));
    return ran == 1 ? kCallDone : kCallScriptFailed;
}

// The next byte of an XPath parameter's value + 100; 100 (and the cursor back to 0) once the
// cursor has reached the value's end, also when it stands beyond a shorter value.
IntT getScriptParmByte(const CallFields &f) {
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

IntT clearScriptParms(const CallFields &f) {
    if (f.size() != 1) return kCallFieldCount;
    om_NWSClearParams();
    om_XPathClearParameters();
    return kCallUnknown;
}

// Whole-string messages. The sibling plug-in's edit reports apply the condition rules to the
// selected element, as the user's own inserts, wraps and attribute edits do.
IntT insertedOrWrapped(const CallFields &) {
    if (CondTriggerSettings.afterInsertWrap) om_CondApplyRulesToElement(0, 0, 1, 1);
    return kCallDone;
}

IntT changedAttribute(const CallFields &) {
    if (CondTriggerSettings.afterAttrEdit) om_CondApplyRulesToElement(0, 0, 1, 1);
    return kCallDone;
}

IntT resetNodeTable(const CallFields &) {
    om_XPathResetNodeTable();
    return kCallDone;
}

IntT reportAllocatedHandlers(const CallFields &) { return IntT(XPathNodeTable.capacity()); }

// How a call is recognised: the whole message is its name, or its first field is.
enum class CallForm { Whole, Fields };

struct CallRow {
    std::string_view name;
    CallForm form;
    IntT (*run)(const CallFields &);
};

const CallRow kCalls[] = {
    {"LFMessage_InsertedElement", CallForm::Whole, insertedOrWrapped},
    {"LFMessage_WrappedElement", CallForm::Whole, insertedOrWrapped},
    {"LFMessage_ChangedAttribute", CallForm::Whole, changedAttribute},
    {"AllocateNodeHandlers", CallForm::Whole, resetNodeTable},
    {"DeallocateNodeHandlers", CallForm::Whole, resetNodeTable},
    {"ReportAllocatedHandlers", CallForm::Whole, reportAllocatedHandlers},
    {"ParseXPath", CallForm::Fields, parseXPath},
    {"FindNextNode", CallForm::Fields, findNextNode},
    {"ResetSequence", CallForm::Fields, resetSequence},
    {"RetrieveAttrMatch", CallForm::Fields, [](const CallFields &f) { return retrieveMatch(f, true); }},
    {"RetrieveAttributeMatch", CallForm::Fields, [](const CallFields &f) { return retrieveMatch(f, true); }},
    {"RetrieveFileMatch", CallForm::Fields, [](const CallFields &f) { return retrieveMatch(f, false); }},
    {"RetrieveDocMatch", CallForm::Fields, [](const CallFields &f) { return retrieveMatch(f, false); }},
    {"SetAppParm", CallForm::Fields, setAppParm},
    {"GetAppParm", CallForm::Fields, getAppParm},
    {"SetParam", CallForm::Fields, setParam},
    {"TransformFile", CallForm::Fields, transformFile},
    {"SetScriptParm", CallForm::Fields, setScriptParm},
    {"GetScriptParmByte", CallForm::Fields, getScriptParmByte},
    {"ClearScriptParms", CallForm::Fields, clearScriptParms},
    {"RunNodeWizardScript", CallForm::Fields, runNodeWizardScript},
    {"RunNWScript", CallForm::Fields, runNodeWizardScript},
};

// The row of the call of that name and form, or nullptr. The rows are found by the name's
// length, then compared ignoring ASCII case: a name has few rows of its length.
const CallRow *findCall(std::string_view name, CallForm form) {
    static const auto byLength = [] {
        size_t longest = 0;
        for (const CallRow &row : kCalls) longest = std::max(longest, row.name.size());
        std::vector<std::vector<const CallRow *>> rows(longest + 1);
        for (const CallRow &row : kCalls) rows[row.name.size()].push_back(&row);
        return rows;
    }();
    if (name.size() >= byLength.size()) return nullptr;  // most messages: a call with its fields
    for (const CallRow *row : byLength[name.size()])
        if (row->form == form && same(row->name, name)) return row;
    return nullptr;
}

}  // namespace

IntT om_ClientHandleCall(ConStringT message) {
    std::string_view text = message ? std::string_view(message) : std::string_view();
    if (text.empty()) return kCallUnknown;
    if (const CallRow *whole = findCall(text, CallForm::Whole)) return whole->run(CallFields{});
    constexpr std::string_view kDelimiterCall = "ChangeCallDelimiter";
    if (text.size() >= kDelimiterCall.size() && same(text.substr(0, kDelimiterCall.size()), kDelimiterCall)) {
        if (text.size() > kDelimiterCall.size()) ClientCallState.delimiter = std::string(text.substr(kDelimiterCall.size()));
        return kCallUnknown;
    }
    CallFields fields = fieldsOf(text, ClientCallState.delimiter);
    if (fields.size() == 0) return kCallUnknown;
    const CallRow *call = findCall(fields[0], CallForm::Fields);
    return call ? call->run(fields) : kCallUnknown;
}
