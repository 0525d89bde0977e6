// The condition management state's single instances (see cond_settings.h).
#include "lib/state/cond_settings.h"

CondTriggerSettingsT CondTriggerSettings;
AutoApplyRulesT AutoApplyRules;
