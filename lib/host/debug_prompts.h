// Debug prompts: numbered alerts that follow a run when a developer switches them on; No in one
// of them leaves debug mode.
#pragma once

#include "fdk.h"

// Debug prompting of om_DebugPrompt* (off unless a developer turns it on).
extern IntT DebugPromptsOn;

void om_DebugPrompt(void);
void om_DebugPrompt1(ConStringT text);
void om_DebugPrompt2(ConStringT text1, ConStringT text2);
