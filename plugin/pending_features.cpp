// Stand-ins for the feature entry points of plugin/features.h whose features are not part of
// the plug-in yet: each does nothing and answers "nothing done" (0, no document, an empty list),
// so that every command, notification and dialog event already reaches its place. A feature
// that lands deletes its stand-ins from this file.
#include "plugin/features.h"


IntT om_XformSetUpElement(F_ObjHandleT, F_ObjHandleT) { return 0; }
void om_XformBrowseSourceFile(F_ObjHandleT, F_ObjHandleT, IntT) {}
void om_XformPickSourceFile(F_ObjHandleT, F_ObjHandleT, IntT, IntT) {}
void om_XformOpenCopyOfDialog(F_ObjHandleT, F_ObjHandleT, ConStringT, IntT) {}
void om_XformOpenValueOfDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformOpenIfDialog(F_ObjHandleT, F_ObjHandleT, ConStringT) {}
void om_XformOpenTableDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformOpenTableRowDialog(F_ObjHandleT, F_ObjHandleT, ConStringT) {}
void om_XformOpenElementTagDialog(F_ObjHandleT, F_ObjHandleT, IntT, ConStringT) {}
void om_XformOpenSortDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformOpenCreateXRefDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformOpenSetAttributeDialog(F_ObjHandleT, F_ObjHandleT, ConStringT, IntT) {}
void om_XformOpenParamDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformOpenTemplateDialog(F_ObjHandleT, F_ObjHandleT) {}
void om_XformApplyCopyOfDialog(void) {}
void om_XformApplyValueOfDialog(void) {}
void om_XformApplyIfDialog(void) {}
void om_XformApplyTableDialog(void) {}
void om_XformTableColumnsChanged(void) {}
void om_XformApplyTableRowDialog(void) {}
void om_XformApplyElementTagDialog(void) {}
void om_XformApplySortDialog(void) {}
void om_XformApplyCreateXRefDialog(void) {}
void om_XformApplySetAttributeDialog(void) {}
void om_XformApplyTemplateDialog(void) {}
void om_XformApplyParamDialog(void) {}
