// The plug-in's state, as named records. Each record registers its reset here, beside its
// definition, with a line saying what it holds and, for a cache, why it may outlive the call that
// filled it. Two kinds:
// - run state: what a command, a query, a script run, a Node Wizard run or a transformation
//   leaves behind for the next one (per-call caches, the element-walk cursor, a run's records);
//   om_ResetRunState resets all of it, so that two independent runs in one session start alike;
// - start-up state: what start-up sets up and the whole session keeps (versions, the settings
//   folder and files, the preferences, the translation tables, the engine's limits, the open
//   dialogs); om_ResetPluginState resets it too, giving the state of a module just loaded.
// Each reset puts its record back to the value it has when the module is loaded.
#pragma once

#include <string>
#include <vector>

enum class RunStateKind { Run, StartUp };

// Registers the reset of the record `name`; returns true so that a file can register its records
// while its statics are initialised: `const bool registered = om_RunStateRegister(...)`.
bool om_RunStateRegister(const char *name, RunStateKind kind, void (*reset)());

// Resets every record of run state, in registration order.
void om_ResetRunState();

// Resets every record, start-up state included (the tests start each test from it).
void om_ResetPluginState();

// The registered records' names of one kind, in registration order.
std::vector<std::string> om_RunStateRecords(RunStateKind kind);
