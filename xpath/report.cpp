// The XPath error report: each compile error becomes an entry (a heading, the expression cut
// into lines of 60 bytes with a caret line under each, and the error's message) appended to a
// structured document made from the report template in the plug-in's folder.
#include "xpath/xpath.h"

#include <strings.h>

namespace {

constexpr size_t kLineBytes = 60;

// English texts of the report's own messages.
const char *const kGenErr1 = "The XPath error report could not be opened.";
const char *const kGenErr2 = "The XPath error report has no highest-level element in its main flow.";

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

// The open report document (found by its label), 0 when none is open.
F_ObjHandleT om_XPathOpenErrorReport() {
    for (F_ObjHandleT d = F_ApiGetId(0, 0, FP_FirstOpenDoc); d; d = F_ApiGetId(0, d, FP_NextOpenDocInSession)) {
        StringT label = F_ApiGetString(0, d, FP_Label);
        bool same = label && strcasecmp(label, XPathErrorReportPaths.reportPath.c_str()) == 0;
        F_ApiDeallocateString(&label);
        if (same) return d;
    }
    return 0;
}

// Appends one entry for the error to the report; shows a message when it cannot.
void om_XPathReportError(const std::string &text, IntT column, IntT code) {
    F_ObjHandleT doc = om_XPathOpenErrorReport();
    if (!doc) {
        F_ApiAlert(kGenErr1, FF_ALERT_CONTINUE_WARN);
        return;
    }
    F_ApiSetInt(0, doc, FP_IsInFront, 1);
    std::vector<XPathReportLine> entry = om_XPathReportEntry(text, column, code);
    F_ObjHandleT flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    F_ObjHandleT root = flow ? F_ApiGetId(doc, flow, FP_HighestLevelElement) : 0;
    if (!root) {
        F_ApiAlert(kGenErr2, FF_ALERT_CONTINUE_WARN);
        return;
    }
}
