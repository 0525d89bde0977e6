// Paths, folders and text files. Paths are Windows form; after normalising, the separator is
// "\" and comparisons of paths ignore case. Relative paths as the plug-in stores them: a path
// below the base folder is "\" + the rest, a path in the base folder is the bare rest, a path
// elsewhere is one "..\" per step up to the nearest common folder, then the rest below it.
//
// Text files (favorites, lists, preferences) are lines: reading takes CR, LF and CR LF as line
// ends (two line ends in a row give an empty line; text after the last one is a last line when
// it is not empty); writing ends every line with CR LF.
//
// Results that are strings are new copies; StringT* parameters are in-out (lib/strings/heapstr.h).
// "No folder" is the empty text (never NULL).
#pragma once

#include <string>

#include "fdk.h"

// ---- path forms ----
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
IntT om_PathResolveExisting(StringT *p, ConStringT baseFile, IntT folder, IntT forwardSlash);

// ---- folders ----
IntT om_DirExists(ConStringT path);
F_StringsT om_DirListFiles(ConStringT folder, IntT fullPath, const F_StringsT *keepExtensions,
                           const F_StringsT *dropExtensions, IntT caseFlag);
StringT om_FileChooseDirectory(ConStringT startFolder, F_ObjHandleT docId, ConStringT title, IntT trailing);
IntT om_DirMake(ConStringT path);
IntT om_DirCountEntries(ConStringT folder, IntT regularFiles, IntT folders, const F_StringsT *keepExtensions,
                        const F_StringsT *dropExtensions);
F_StringsT om_DirList(ConStringT folder, IntT regularFiles, IntT folders, IntT fullPath,
                      const F_StringsT *keepExtensions, const F_StringsT *dropExtensions, ConStringT textFilter,
                      IntT limit, IntT *limitReached);
IntT om_DirNthEntry(ConStringT folder, IntT n, StringT *out, IntT fullPath);
void om_StringsKeepExtensions(F_StringsT *list, const F_StringsT *extensions, IntT caseFlag);
void om_StringsSuffixFirst(F_StringsT *list, ConStringT suffix, IntT first, IntT caseFlag);
void om_StringsDropComments(F_StringsT *list);

// ---- text files ----
IntT om_FileReadLines(ConStringT path, F_StringsT *lines);
IntT om_FileWriteLines(ConStringT path, const F_StringsT *lines);
IntT om_FileAppendText(ConStringT path, ConStringT text, IntT newLine);
void om_FileCloseAndDelete(F_ObjHandleT docId, ConStringT path);

namespace qv {
// The path with every "/" turned into "\".
std::string PathWithBackslashes(std::string path);
// The folder part of a path (strip: without its trailing separator).
std::string PathDirectoryOf(const std::string &path, bool strip);
// A relative path made absolute against the base (a file, or a folder when baseIsFile is false).
std::string PathAbsolute(const std::string &relative, F_ObjHandleT docId, const std::string &base, bool baseIsFile);
}  // namespace qv
