// The entry points of the features the shell routes commands, notifications and dialog events
// to: the Node Wizard and the XPath Quick Finder, the Node Wizard Scripts, condition management,
// the language-file commands and the transformation with its set-up dialogs. A feature that
// declares its entry points in its own header removes them here.
#pragma once

#include "fdk.h"

// ---- Node Wizard and XPath Quick Finder: nodewizard/dialogs.h, nodewizard/history.h,
// nodewizard/actions.h; the query runs: nodewizard/query_runs.h ----
#include "nodewizard/actions.h"
#include "nodewizard/dialogs.h"
#include "nodewizard/history.h"
#include "nodewizard/query_runs.h"

// ---- Node Wizard Scripts: nodewizard/scripts_doc.h, nodewizard/script_runs.h ----
#include "nodewizard/script_events.h"
#include "nodewizard/script_runs.h"
#include "nodewizard/scripts_palette.h"
#include "nodewizard/scripts_doc.h"

// ---- condition management and the language-file commands ----
#include "plugin/cond_apply.h"
#include "plugin/cond_settings.h"
#include "plugin/langfile_commands.h"

// ---- transformation: transform/xform.h; the set-up dialogs of the stylesheet elements ----
#include "transform/xform.h"
IntT om_XformSetUpElement(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformBrowseSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT textItem);
void om_XformPickSourceFile(F_ObjHandleT doc, F_ObjHandleT dlg, IntT pickItem, IntT textItem);
// The set-up dialogs of the stylesheet elements (modal) and their OK handlers.
void om_XformOpenCopyOfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT copyOf);
void om_XformOpenValueOfDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenIfDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenTableDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTableRowDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title);
void om_XformOpenElementTagDialog(F_ObjHandleT doc, F_ObjHandleT elem, IntT type, ConStringT title);
void om_XformOpenSortDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenCreateXRefDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenSetAttributeDialog(F_ObjHandleT doc, F_ObjHandleT elem, ConStringT title, IntT kind);
void om_XformOpenParamDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformOpenTemplateDialog(F_ObjHandleT doc, F_ObjHandleT elem);
void om_XformApplyCopyOfDialog(void);
void om_XformApplyValueOfDialog(void);
void om_XformApplyIfDialog(void);
void om_XformApplyTableDialog(void);
void om_XformTableColumnsChanged(void);
void om_XformApplyTableRowDialog(void);
void om_XformApplyElementTagDialog(void);
void om_XformApplySortDialog(void);
void om_XformApplyCreateXRefDialog(void);
void om_XformApplySetAttributeDialog(void);
void om_XformApplyTemplateDialog(void);
void om_XformApplyParamDialog(void);
