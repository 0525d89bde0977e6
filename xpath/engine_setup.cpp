// The engine's limits and options, its one-time set-up and the check that keeps the node
// table bounded.
#include "xpath/xpath.h"
#include "lib/run_state.h"

XPathLimitsT XPathLimits;
XPathEngineOptionsT XPathEngineOptions;
std::vector<std::string> XPathOpenedFiles;
XPathErrorReportPathsT XPathErrorReportPaths;

namespace {
bool engineSetUp = false;

// Limits, options and report paths set at start-up.
[[maybe_unused]] const bool resetXPathEngineSetUp =
    om_RunStateRegister("XPath engine set-up", RunStateKind::StartUp, [] {
        XPathLimits = XPathLimitsT{};
        XPathEngineOptions = XPathEngineOptionsT{};
        XPathErrorReportPaths = XPathErrorReportPathsT{};
        engineSetUp = false;
    });
// The files queries opened.
[[maybe_unused]] const bool resetXPathOpenedFiles = om_RunStateRegister("XPath opened files", RunStateKind::Run, [] {
    XPathOpenedFiles.clear();
});
}

// Sets the three limits (defaults for values of 0 or less); on the first call also starts the
// node table, empties the parameters and the opened-files list and builds the report paths.
void om_XPathInitEngine(IntT nodeLimit, IntT maxLength, IntT maxMatches) {
    XPathLimits.nodeLimit = nodeLimit > 0 ? nodeLimit : 1000;
    XPathLimits.maxLength = maxLength > 0 ? maxLength : 255;
    XPathLimits.maxMatches = maxMatches > 0 ? maxMatches : 10000;
    if (engineSetUp) return;
    engineSetUp = true;
    XPathNodeTable.allocated = 0;  // a new table; nothing from before is freed
    om_XPathResetNodeTable();
    om_XPathClearParameters();
    XPathOpenedFiles.clear();
    std::string dir;
    if (StringT d = F_ApiClientDir()) {
        dir = d;
        F_ApiDeallocateString(&d);
    }
    for (char &c : dir)
        if (c == '/') c = '\\';
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    XPathErrorReportPaths.templatePath = dir + "XPath_Error_Report_Template.fm";
    XPathErrorReportPaths.reportPath = dir + "XPath_Error_Report.fm";
}

// Resets the node table when its next free index has passed the node limit (every sequence
// number becomes invalid); returns the new capacity then, else the node limit.
IntT om_XPathCheckNodeLimit() {
    if (XPathLimits.nodeLimit < IntT(XPathNodeTable.nextFree)) return om_XPathResetNodeTable();
    return XPathLimits.nodeLimit;
}

void om_XPathSetNodeLimit(IntT v) { XPathLimits.nodeLimit = v; }
void om_XPathSetMaxMatches(IntT v) { XPathLimits.maxMatches = v; }
void om_XPathSetMaxLength(IntT v) { XPathLimits.maxLength = v; }
IntT om_XPathGetNodeLimit() { return XPathLimits.nodeLimit; }
IntT om_XPathGetMaxMatches() { return XPathLimits.maxMatches; }

void om_XPathSetAllowFileOpening(IntT v) {
    if (v == 0 || v == 1) XPathEngineOptions.allowFileOpening = v;
}
void om_XPathSetAttributeValueMode(IntT v) {
    if (v == 0 || v == 1) XPathEngineOptions.attributeValueMode = v;
}
void om_XPathSetMaxTextChars(IntT v) {
    if (v >= 2 && v <= 9999) XPathEngineOptions.maxTextChars = v;
}
