// The entry points of the features the shell routes commands, notifications and dialog events
// to: the Node Wizard and the XPath Quick Finder, the Node Wizard Scripts, condition management,
// the language-file commands and the transformation with its set-up dialogs, each through its
// own headers.
#pragma once

#include "fdk.h"

// ---- Node Wizard and XPath Quick Finder: nodewizard/dialogs.h, nodewizard/history.h,
// nodewizard/actions.h; the query runs: nodewizard/query_runs.h ----
#include "nodewizard/actions.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/history.h"
#include "nodewizard/query_runs.h"

// ---- Node Wizard Scripts: nodewizard/scripts_doc.h, nodewizard/script_runs.h ----
#include "nodewizard/script_events.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_palette.h"
#include "nodewizard/scripts_doc.h"

// ---- condition management and the language-file commands ----
#include "plugin/cond_apply.h"
#include "plugin/cond_settings.h"
#include "plugin/langfile_commands.h"

// ---- transformation: transform/xform.h; the set-up dialogs of the stylesheet elements:
// transform/setup.h ----
#include "transform/setup.h"
#include "transform/xform.h"
