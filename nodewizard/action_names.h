// The action vocabulary as the Node Wizard dialogs use it: names and codes as C++ values.
#pragma once

#include <string>

#include "fdk.h"

// The element action code of a name (315 when none matches), and the name of a code.
IntT ElemActionCodeOf(const std::string &name);
IntT AttrActionCodeOf(const std::string &name);
std::string ElemActionNameOf(IntT code);
std::string AttrActionNameOf(IntT code);
