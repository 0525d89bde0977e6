// Folder plugin: the shell. It routes the host's commands, notifications and dialog events to
// everything below it and holds condition management; it may use every other folder, and no other
// folder uses it.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: client_calls_errors cond_settings preferences scripting_exports settings_folder trace
//   2: cond_apply cond_manager
//   3: client_calls langfile_commands
//   4: features state_defaults
//   5: commands dialog_events notify
//   6: startup
//   7: entry
//
// The plug-in's start-up: the steps F_ApiInitialize runs once, in order, when the host starts.
// Each step is a function of its own; a step answers 1 to go on and 0 to stop start-up there,
// which leaves the plug-in inert (it has asked for nothing, so the host never calls it again).
#pragma once

#include "fdk.h"

// One start-up step: its number, a short description (shown by the start-up trace) and its work.
struct StartUpStep {
    int number;
    const char *name;
    int (*run)();
};

// The start-up steps in the order they run.
const StartUpStep *qv_StartUpSteps(int *count);

// Runs the start-up steps in order; answers 1 when every step ran, 0 when one stopped start-up.
// With the trace switch on (environment QV_TRACE=1), each step is announced on the host console
// before it runs ("Quorvane start-up 5: settings folder").
int qv_StartUp();

// The notifications the plug-in asks for at start-up, in the order it asks for them.
const IntT *qv_StartUpNotifications(int *count);
