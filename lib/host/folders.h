// Folders: existence, listings with extension and kind filters, the folder chooser, making
// folders, reordering or filtering lists of file names, and a path resolved to an existing file or
// folder. Paths are Windows form (see paths.h); results that are strings or lists are new copies.
#pragma once

#include "fdk.h"

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
// Resolves the path to an existing file (or folder with the folder flag): as given, else made
// absolute against the base file's folder; with the forward-slash flag "/" separates. 1 and the
// path rewritten in place when found, else 0 and the path untouched.
IntT om_PathResolveExisting(StringT *p, ConStringT baseFile, IntT folder, IntT forwardSlash);
