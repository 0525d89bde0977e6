// Open, save and close: the only way the plug-in opens, saves and closes documents and books
// for its own use, with fixed answers to every host question; plus the fixed parameter presets
// the library offers, the document file name and folder of a path.
#pragma once

#include "fdk.h"

F_ObjHandleT om_DocOpen(ConStringT path, F_ObjHandleT doc, IntT useDocPath, IntT first, IntT second, IntT hidden,
                        IntT third);
F_ObjHandleT om_DocSave(F_ObjHandleT doc, ConStringT target, IntT format, IntT x, IntT y, IntT z);
IntT om_DocClose(F_ObjHandleT doc, IntT save);

// Presets without a caller (fixed answers).
F_ObjHandleT om_DocOpenFixed(ConStringT path);
F_ObjHandleT om_DocOpenNoSecond(ConStringT path);
F_ObjHandleT om_DocOpenNoSecondDocPath(ConStringT path);
F_ObjHandleT om_DocOpenPlain(ConStringT path);
F_ObjHandleT om_DocOpenQuietly(ConStringT path);
F_ObjHandleT om_DocOpenHiddenFlag(ConStringT path, IntT hidden);
F_ObjHandleT om_DocOpenHiddenFromDoc(ConStringT path, F_ObjHandleT doc);
F_ObjHandleT om_DocOpenFromDoc(ConStringT path, F_ObjHandleT doc);
void om_OpenParamsFill(F_PropValsT *params);
void om_OpenParamsFillHidden(F_PropValsT *params);
void om_OpenParamsFillNoSecond(F_PropValsT *params);
void om_OpenParamsFillMinimal(F_PropValsT *params);
F_ObjHandleT om_DocSaveAsDocument(F_ObjHandleT doc, ConStringT path);
F_ObjHandleT om_DocSaveAsMif(F_ObjHandleT doc, ConStringT path);
F_ObjHandleT om_DocSaveDocFormat(F_ObjHandleT doc, ConStringT path);
F_ObjHandleT om_DocSaveAsXml2(F_ObjHandleT doc, ConStringT path);
F_ObjHandleT om_DocSaveAsXml(F_ObjHandleT doc, ConStringT path);
// Accepts every path (1).
IntT om_PathCheck(ConStringT path);
// Stores a message prefix and level that nothing reads.
void om_SetAlertPrefix(ConStringT prefix, IntT level);

// The part of a path after its last "\" / up to and including it (the document's own path when
// a document is given); the EmptySentinel for no path, "" when the path holds no "\". The old value of *out is freed.
void om_PathDocFileName(F_ObjHandleT doc, ConStringT path, StringT *out);
void om_PathDocFolder(F_ObjHandleT doc, ConStringT path, StringT *out);
