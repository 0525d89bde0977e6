// The stylesheet element whose set-up dialog is open: its document and element, and whether it
// was inserted just now (then the dialog's Cancel deletes it again).
#pragma once

#include "fdk.h"

struct StylesheetElementSetUpT {
    F_ObjHandleT document = 0;
    F_ObjHandleT element = 0;
    IntT justInserted = 0;
};

extern StylesheetElementSetUpT StylesheetElementSetUp;
