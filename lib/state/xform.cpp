// The transformation's shared state records.
#include "lib/state/xform.h"
#include "lib/run_state.h"

XformParamsT XformParams;
XformRunStateT XformRunState;
std::vector<F_ObjHandleT> XformOpenedFiles;

namespace {
// A transformation's parameters, run state and the files it opened.
[[maybe_unused]] const bool resetTransformationRecords =
    om_RunStateRegister("transformation records", RunStateKind::Run, [] {
        XformParams = XformParamsT{};
        XformRunState = XformRunStateT{};
        XformOpenedFiles.clear();
    });
}  // namespace
