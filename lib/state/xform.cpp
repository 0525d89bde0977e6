// The transformation's shared state records.
#include "lib/state/xform.h"

XformParamsT XformParams;
XformRunStateT XformRunState;
std::vector<F_ObjHandleT> XformOpenedFiles;
