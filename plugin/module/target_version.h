// The host major version the module is built for (defined once per module in
// target_version.cpp): 16 in Quorvane_FM2020, 15 in Quorvane_FM2019.
#pragma once

extern "C" int qv_TargetHostMajorVersion(void);
