// Text files of lines (favorites, lists, preferences) and the removal of a document's file.
// Reading takes CR, LF and CR LF as line ends (two line ends in a row give an empty line; text
// after the last one is a last line when it is not empty); writing ends every line with CR LF.
// Paths are Windows form (see paths.h).
#pragma once

#include "fdk.h"

IntT om_FileReadLines(ConStringT path, F_StringsT *lines);
IntT om_FileWriteLines(ConStringT path, const F_StringsT *lines);
IntT om_FileAppendText(ConStringT path, ConStringT text, IntT newLine);
void om_FileCloseAndDelete(F_ObjHandleT docId, ConStringT path);
