// The settings folder: where the settings live ("Quorvane.ini"), the per-user folder made on
// first start, the settings version ("Quorvane.version") with the upgrade notice, the default
// settings files copied from the plug-in's folder, and the paths kept in SettingsFiles.
#pragma once

#include "fdk.h"

// Sets up the settings folder and SettingsFiles; 1 when the plug-in can run, 0 when it must stay
// inert (the folder cannot be created, the user declines the upgrade or the overwrite of the
// scripts document, or a needed default file cannot be copied; each told to the user).
IntT om_PrefSetUpSettingsFolder(void);
