// The start-up defaults of the shell's shared state.
#pragma once

// Sets the start-up defaults of the shared state (nothing is read from disk). Keeps the version
// texts set before it by start-up.
void om_InitPluginGlobals();
