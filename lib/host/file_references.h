// Clean-ups of the file paths a document refers to: the paths of imported graphics and the source
// files of cross-references. Lower case follows the host's character tables (ASCII and the
// Latin-1 capitals).
#pragma once

#include "fdk.h"

// Imported graphics' paths in lower case; the number of paths changed.
IntT om_GraphicPathsLowerCase(F_ObjHandleT docId);
// ".tiff" and ".tif" (any case) in imported graphics' paths become ".png"; the number changed.
IntT om_GraphicPathsTiffToPng(F_ObjHandleT docId);
// Cross-reference source file names in lower case (a drive letter kept); the number rewritten.
IntT om_XRefSourceFilesLowerCase(F_ObjHandleT docId);
