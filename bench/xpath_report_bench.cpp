// The XPath error report of one long expression: the expression is cut into lines of 60 bytes,
// each line and the caret line under it an element of the report, so a 10,000-character
// expression writes about 340 elements and a 100,000-character one about 3,340. The host's
// layout follows the appended elements, so the time grows in proportion to the length (the
// reported complexity is the growth from the shorter expression to the longer).
#include <benchmark/benchmark.h>

#include <string>

#include "client.h"
#include "fdk.h"
#include "model.h"
#include "paths.h"
#include "xpath/xpath.h"

namespace {

void BM_XPathErrorReportOfLongExpression(benchmark::State &state) {
    const auto length = static_cast<size_t>(state.range(0));
    const std::string text(length, 'a');
    const XPathErrorReportPathsT saved = XPathErrorReportPaths;
    const std::string dir = host::WindowsPath(QV_BIN_DIR) + "\\";
    for (auto _ : state) {
        state.PauseTiming();
        host::ResetClients();
        host::ResetSession();
        XPathErrorReportPaths.templatePath = dir + "XPath_Error_Report_Template.fm";
        XPathErrorReportPaths.reportPath = dir + "XPath_Error_Report.fm";
        state.ResumeTiming();
        om_XPathReportError(text, static_cast<IntT>(length / 2), XPATH_ERR_UNKNOWN_AXIS);
    }
    XPathErrorReportPaths = saved;
    state.SetComplexityN(static_cast<int64_t>(length));
    host::ResetClients();
    host::ResetSession();
}
BENCHMARK(BM_XPathErrorReportOfLongExpression)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
