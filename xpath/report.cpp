// The XPath error report: each compile error becomes an entry (a heading, the expression cut
// into lines of 60 bytes with a caret line under each, and the error's message) appended to a
// structured document made from the report template in the plug-in's folder.
#include "xpath/xpath.h"

#include <strings.h>

#include "lib/host/docio.h"
#include "lib/host/documents.h"
#include "lib/host/element_edit.h"
#include "lib/host/host_values.h"
#include "lib/host/hostui.h"
#include "lib/translation/msgformat.h"
#include "lib/globals.h"

namespace {

constexpr size_t kLineBytes = 60;

// English texts of the report's own messages.
const char *const kGenErr1 = "The XPath error report could not be opened.";
const char *const kGenErr2 = "The XPath error report has no highest-level element in its main flow.";
const char *const kGenErr3 = "The XPath error report template, %s, could not be opened.";

// Document properties set on a new report: one set to 1, three set to 0 (the host's roles).
constexpr IntT kNewReportCleared[] = {FP_DocSwitch1, FP_DocSwitch2, FP_DocSwitch3};

// Length in bytes of the UTF-8 character that starts at s[i].
size_t charBytes(const std::string &s, size_t i) {
    unsigned char c = (unsigned char)s[i];
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    return i + n <= s.size() ? n : s.size() - i;
}

}  // namespace

// The elements of one entry for an error at byte column `column` of text.
std::vector<XPathReportLine> om_XPathReportEntry(const std::string &text, IntT column, IntT code) {
    IntT p = column;
    if (p > 0) p = om_XPathCharCount(std::string_view(text).substr(0, std::min(size_t(p), text.size())));
    switch (code) {
    case XPATH_ERR_BAD_ARG_AFTER_SLASH: p -= 1; break;
    case XPATH_ERR_EMPTY_PREDICATE: p += 1; break;
    case XPATH_ERR_TOO_DAMNED_LONG: p = om_XPathCharCount(text) - 1; break;
    case XPATH_ERR_SINGLE_SLASH_EXPRESSION: case XPATH_ERR_NO_INITIAL_SLASH: p = 0; break;
    default: break;
    }
    std::vector<XPathReportLine> entry;
    entry.push_back({"XPathErrorHeading", ""});
    std::string line, marker;
    for (size_t i = 0; i < text.size();) {
        size_t n = charBytes(text, i);
        line.append(text, i, n);
        i += n;
        if (p > 0) marker += '.';
        else if (p == 0) marker += '^';
        if (p >= 0) --p;
        if (line.size() == kLineBytes || i >= text.size()) {
            entry.push_back({"XPath", line});
            entry.push_back({"ErrorPosition", marker});
            line.clear();
            marker.clear();
        }
    }
    entry.push_back({"ErrorMessage", om_XPathErrorMessage(code)});
    return entry;
}

// The report document: the open one labelled with the report path (any case), else a new one
// made from the template; 0 (after a message naming the template) when it cannot be opened.
F_ObjHandleT om_XPathOpenErrorReport() {
    const std::string &label = XPathErrorReportPaths.reportPath;
    for (UIntT d : om_DocGetOpenIds(0, 1, 1))
        if (!label.empty() && strcasecmp(HostGetString(0, d, FP_Label).c_str(), label.c_str()) == 0) return d;
    const std::string &path = XPathErrorReportPaths.templatePath;
    F_ObjHandleT doc = path.empty() ? 0 : om_DocOpen(path.c_str(), 0, 1, 1, 1, 0, 1);
    if (!doc) {
        FormatBuffer = qv::FormatMessage(om_XPathMessage("XPATH_GEN_ERR_3", kGenErr3), {path});
        F_ApiAlert(FormatBuffer.c_str(), FF_ALERT_CONTINUE_WARN);
        return 0;
    }
    F_ApiSetInt(0, doc, FP_DocIsReport, 1);
    om_DocSetViewMode(doc, 0);
    for (IntT prop : kNewReportCleared) F_ApiSetInt(0, doc, prop, 0);
    F_ApiSetString(0, doc, FP_Label, label.c_str());
    return doc;
}

// Appends one entry for the error to the report; shows a message instead when it cannot.
void om_XPathReportError(const std::string &text, IntT column, IntT code) {
    F_ObjHandleT doc = om_XPathOpenErrorReport();
    if (!doc) {
        F_ApiAlert(om_XPathMessage("XPATH_GEN_ERR_1", kGenErr1).c_str(), FF_ALERT_CONTINUE_WARN);
        return;
    }
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    std::vector<XPathReportLine> entry = om_XPathReportEntry(text, column, code);
    F_ObjHandleT flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    F_ObjHandleT root = flow ? F_ApiGetId(doc, flow, FP_HighestLevelElement) : 0;
    if (!root) {
        F_ApiAlert(om_XPathMessage("XPATH_GEN_ERR_2", kGenErr2).c_str(), FF_ALERT_CONTINUE_WARN);
        return;
    }
    for (const XPathReportLine &line : entry) {
        F_ObjHandleT e = om_ElementInsertNew(doc, root, line.tag, LocContentEnd);
        if (!e || line.text.empty()) continue;
        if (std::string(line.tag) == "ErrorMessage") {
            // The message goes in at the text selection, the end of the new element's content.
            if (!om_ElementSelect(doc, e, LocContentEnd)) continue;
            F_TextRangeT sel = F_ApiGetTextRange(0, doc, FP_TextSelection);
            F_ApiAddText(doc, &sel.end, line.text.c_str());
        } else {
            om_ElementInsertText(doc, e, line.text, LocContent);
        }
    }
}
