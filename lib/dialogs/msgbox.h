// Folder lib/dialogs: message boxes, prompts, cancel polls, dialog items, the generic dialogs and
// the library passes that show progress or ask the user. It uses fdk.h and the rest of lib/
// (strings, host, translation, shared state); never anything above the library.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: dlgitems file_choice msgbox
//   2: generic
//   3: condition_removal language_choice maintenance wordcount
//   4: library_entry
//
// Message boxes, prompts and cancel polling: the OK and Yes/No boxes every message of the
// plug-in goes through (each with the translated title line above the text), the prompt
// wrappers that honour a PromptSetting, and the two Esc polls of long operations.
#pragma once

#include <string>

#include "fdk.h"

IntT al_ok(ConStringT text);
IntT al_ok2(ConStringT messageId);
IntT al_yesno(ConStringT text);
IntT al_yesno2(ConStringT messageId);
IntT om_MsgOkNumber(IntT number);
IntT om_MsgConfirmCancel(void);
IntT om_MsgAskWithPrompt(ConStringT messageId, IntT *setting);
void om_MsgTellWithPrompt(ConStringT messageId, IntT *setting);
IntT om_CheckUserCancel(ConStringT question);
// After a poll read an Esc press: asks whether to cancel (a confirmed cancel sets CancelFlag).
IntT om_ConfirmPolledCancel(void);
// Polls Esc, asking on a press; always 0. Without a press it is the host's poll alone.
inline IntT om_PollUserCancel(void) { return F_ApiUserCancel() == 1 ? om_ConfirmPolledCancel() : 0; }
