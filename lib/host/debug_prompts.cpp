// Debug prompts: numbered alerts a developer switches on to follow a run, with No to leave debug
// mode.
#include "lib/host/debug_prompts.h"

#include <string>
#include <vector>

#include "lib/run_state.h"
#include "lib/strings/heapstr.h"

IntT DebugPromptsOn = 0;

namespace {

int DebugPromptCount = 0;

// Switched on by the debug parameters at start-up.
[[maybe_unused]] const bool resetDebugPrompts = om_RunStateRegister("debug prompts", RunStateKind::StartUp, [] {
    DebugPromptsOn = 0;
    DebugPromptCount = 0;
});

void DebugPromptWith(const std::vector<std::string> &lines) {
    if (!DebugPromptsOn) return;
    std::string text = "Quorvane debug prompt: " + std::to_string(++DebugPromptCount);
    for (const auto &l : lines) text += "\n\n" + l;
    text += "\n\nClick No to abort debug mode.";
    if (F_ApiAlert(text.c_str(), FF_ALERT_YES_DEFAULT) != 0) DebugPromptsOn = 0;
}

}  // namespace

void om_DebugPrompt(void) { DebugPromptWith({}); }
void om_DebugPrompt1(ConStringT text) { DebugPromptWith({std::string(qv::View(text))}); }
void om_DebugPrompt2(ConStringT text1, ConStringT text2) {
    DebugPromptWith({std::string(qv::View(text1)), std::string(qv::View(text2))});
}
