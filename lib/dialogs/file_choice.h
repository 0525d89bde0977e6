// The file and folder chooser with a title translated through a language table.
#pragma once

#include "fdk.h"

// Shows the host's chooser (mode 0 file, 4 folder) starting in the folder of startPath (its own
// folder when it names a file; the host's default when it names nothing that exists), with the
// title translated through tableName when one is given. 1 and the choice in *out (with a trailing
// backslash when asked); 0 and "" when cancelled.
IntT om_FileChoose(IntT mode, ConStringT title, ConStringT startPath, ConStringT defaultName, StringT *out,
                   IntT trailingSeparator, ConStringT tableName);
