// State of the stylesheet transformation that the shell and other subsystems read or set: the
// transformation parameters, the run record and the documents a run opened for itself (its
// preferences are among the general preferences).
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// Parameters: run names/values ("$" + name) and the external names/values set by other clients.
struct XformParamsT {
    std::vector<std::string> names;
    std::vector<std::string> values;
    std::vector<std::string> externalNames;
    std::vector<std::string> externalValues;
};
extern XformParamsT XformParams;

// The value-of actions read from a value-of before it runs (1 keep, 2 text, 3 delete).
struct XformValueOfActionsT {
    IntT xref = 1, marker = 1, variable = 1, equation = 1, graphic = 1;
};

struct XformRunStateT {
    F_ObjHandleT target = 0;          // the document or book to transform (the duplicate after duplication)
    IntT targetIsBook = 0;
    IntT duplicate = 1;               // the palette's duplicate option; kept between runs
    std::string duplicateFolder = "None";
    std::string bookFolder = "None";
    IntT reportErrors = 1;            // 1: failures go to the error report
    IntT externalXRefs = 0;           // create-xref gave an ID to an element of another document
    IntT updateXRefs = 0;             // the current document's cross-references need updating
    IntT escCounter = 0;
    IntT spentSequence = 0;           // the compiled finished-copies query of the current document
    XformValueOfActionsT valueOf;
    std::vector<F_ObjHandleT> skippedComponents;  // book components the user chose to go on without
};
extern XformRunStateT XformRunState;

// Documents and books a run opened for its own use (closed at the end unless a preference says not).
extern std::vector<F_ObjHandleT> XformOpenedFiles;
