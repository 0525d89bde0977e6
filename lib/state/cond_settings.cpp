// The condition management state's single instances (see cond_settings.h).
#include "lib/state/cond_settings.h"
#include "lib/run_state.h"

CondTriggerSettingsT CondTriggerSettings;
AutoApplyRulesT AutoApplyRules;

namespace {
// The triggers and rules read from the settings document at start-up.
[[maybe_unused]] const bool resetConditionSettings =
    om_RunStateRegister("condition settings", RunStateKind::StartUp, [] {
        CondTriggerSettings = CondTriggerSettingsT{};
        AutoApplyRules = AutoApplyRulesT{};
    });
}  // namespace
