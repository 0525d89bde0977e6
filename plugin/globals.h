// Shared state of the plug-in that every subsystem reads and sets: the status of the last
// operation and the cancel flag that long loops test.
#pragma once

#include "fdk.h"

extern IntT StatusCode;
extern IntT CancelFlag;
