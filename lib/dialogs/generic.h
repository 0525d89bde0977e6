// Generic dialogs: the library's dialogs that any command can use without a resource of its
// own: a text box with a drop-down list of suggestions (three widths), a strings list editor
// (two widths), a modeless status box of four lines, two drop-down dialogs with a check box and
// a message dialog of wrapped lines. They share one module state, GenericDialogState.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

// The numbers under which the generic dialogs run.
enum QvGenericDialog : IntT {
    kDlgMessage = 1001,        // the message dialog of wrapped lines
    kDlgDropDown = 1222,       // a text box with a drop-down list
    kDlgListEditor = 1223,     // the strings list editor
    kDlgStatusBox = 1224,      // the modeless status box
    kDlgCheckDropDown = 1225,  // a drop-down with a check box
    kDlgTwoDropDowns = 1226,   // two drop-downs with a check box
};

void om_DlgInitGeneric(void);
void om_DlgSetDDownList(const F_StringsT *list);
// Makes `list` the suggestions as om_DlgSetDDownList does, taking it over without a copy.
void om_DlgTakeDDownList(std::vector<std::string> list);
IntT om_DlgRunDDown(IntT dlgNum, ConStringT title, ConStringT prompt, ConStringT initial, const F_StringsT *list,
                    IntT width, ConStringT table, IntT translateList);
StringT om_DlgGetResultText(IntT translate);
StringT om_DlgGetSecondResultText(IntT translate);
IntT om_DlgRunListEditor(IntT dlgNum, ConStringT title, const F_StringsT *list, IntT selected, IntT width,
                         IntT disableOk, ConStringT table);
void om_DlgEditListWithEditor(F_ObjHandleT dlg, IntT item, ConStringT title, ConStringT table);
IntT om_DlgEditListEntry(F_ObjHandleT dlg, IntT item, IntT index, ConStringT text, IntT allowDuplicates,
                         IntT caseFlag, IntT warn, ConStringT table);
F_StringsT om_DlgGetEditorList(IntT translate);
IntT om_DlgOpenStatus(IntT dlgNum, ConStringT title, IntT keep, ConStringT table);
void om_DlgSetStatusLines(ConStringT line1, ConStringT line2, ConStringT line3, ConStringT line4);
void om_DlgCloseStatus(void);
IntT om_DlgRunDDownWithCheckBox(IntT open, ConStringT title, ConStringT prompt, ConStringT text, const F_StringsT *list,
                                IntT checkState, ConStringT checkLabel1, ConStringT checkLabel2, ConStringT table,
                                IntT translateList);
IntT om_DlgRunTwoDDownsWithCheckBox(IntT open, ConStringT title, ConStringT prompt1, ConStringT text1,
                                    const F_StringsT *list1, ConStringT prompt2, ConStringT text2,
                                    const F_StringsT *list2, IntT checkState, ConStringT checkLabel1,
                                    ConStringT checkLabel2, ConStringT table, IntT translateList);
IntT om_DlgLastCheckBoxState(void);
IntT om_DlgRunMessageLines(ConStringT title, ConStringT message, ConStringT checkText, IntT buttonKind,
                           IntT *checkState, ConStringT table);
IntT om_DlgMsgFirstButtonItem(void);
IntT om_DlgMsgSecondButtonItem(void);

// Event handlers (reached through the dialog-event routing while a generic dialog is up).
void om_DlgDDownOk(void);
void om_DlgDDownCancel(void);
void om_DlgListEditorAddItem(ConStringT prompt, IntT allowDuplicates, IntT caseFlag);
void om_DlgListEditorEditItem(ConStringT prompt, IntT allowDuplicates, IntT caseFlag);
IntT om_DlgListEditorOperate(IntT operation);
void om_DlgListEditorOk(void);
void om_DlgListEditorCancel(void);
void om_DlgMsgFirstButtonPressed(void);
void om_DlgMsgSecondButtonPressed(void);
void om_DlgCheckBoxDDownOk(void);
void om_DlgCheckBoxDDownCancel(void);
void om_DlgTwoDDownsOk(void);
void om_DlgTwoDDownsCancel(void);

// Routes an item event of a generic dialog to its handler; answers 1 when the
// dialog stays open (the caller then answers the event with F_ApiReturnValue(-10000)), 0 else.
IntT om_DlgGenericEvent(IntT dlgNum, IntT itemNum);

namespace qv {
// The editor OK flag and the last dialog result.
IntT DlgEditorOk();
IntT DlgResult();
// Forgets the state (tests).
void DlgResetGeneric();
}  // namespace qv
