// Path forms: normalising, file-name and folder parts, parents, and the conversions between
// absolute paths and the relative form the plug-in stores. Paths are Windows form; after
// normalising, the separator is "\" and comparisons of paths ignore case. Relative paths as the
// plug-in stores them: a path below the base folder is "\" + the rest, a path in the base folder
// is the bare rest, a path elsewhere is one "..\" per step up to the nearest common folder, then
// the rest below it. Folders (existence, listings, the resolution of a path to an existing file)
// are in folders.h, text files of lines in textfiles.h.
//
// Results that are strings are new copies; StringT* parameters are in-out (lib/strings/heapstr.h).
// "No folder" is the empty text (never NULL).
#pragma once

#include <string>

#include "fdk.h"

void om_PathNormalize(StringT *p, IntT forwardSlash, IntT trailingSeparator);
IntT om_PathNormalizeList(F_StringsT *list, IntT forwardSlash, IntT trailingSeparator);
StringT om_PathFileName(F_ObjHandleT docId, ConStringT path);
StringT om_PathDirectory(F_ObjHandleT docId, ConStringT path, IntT strip);
IntT om_PathParent(ConStringT path, StringT *out);
IntT om_PathLevelsUp(ConStringT pathA, ConStringT pathB);
void om_PathTailAfter(ConStringT pathA, ConStringT pathB, StringT *out);
IntT om_PathUpRelative(ConStringT pathA, ConStringT pathB, StringT *out);
IntT om_PathMakeRelative(ConStringT pathA, F_ObjHandleT docA, ConStringT pathB, StringT *out, IntT fileFlag);
void om_PathMakeAbsolute(ConStringT relative, F_ObjHandleT docId, ConStringT base, StringT *out, IntT baseIsFile);
IntT om_PathRebaseRelative(ConStringT relative, StringT *out, F_ObjHandleT docA, ConStringT pathA, F_ObjHandleT docB,
                           ConStringT pathB);
StringT om_PathExtension(F_ObjHandleT docId, ConStringT path, IntT withDot);
void om_PathLastComponent(ConStringT path, StringT *out);
void om_PathStripRoot(StringT *p);
void om_PathReplaceExtension(StringT *p, ConStringT extension);

namespace qv {
// The path with every "/" turned into "\".
std::string PathWithBackslashes(std::string path);
// The folder part of a path (strip: without its trailing separator).
std::string PathDirectoryOf(const std::string &path, bool strip);
// A relative path made absolute against the base (a file, or a folder when baseIsFile is false).
std::string PathAbsolute(const std::string &relative, F_ObjHandleT docId, const std::string &base, bool baseIsFile);
}  // namespace qv
