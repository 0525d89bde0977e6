// The host major version this module is built for: 16 in Quorvane_FM2020, 15 in Quorvane_FM2019.
// Compiled once per module; everything else of the plug-in is shared.
#include "plugin/module/target_version.h"

#ifndef QV_TARGET_HOST_MAJOR
#error "QV_TARGET_HOST_MAJOR must be defined by the module's build"
#endif

extern "C" int qv_TargetHostMajorVersion(void) { return QV_TARGET_HOST_MAJOR; }
