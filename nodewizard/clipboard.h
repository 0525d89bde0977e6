// The clipboard scratch pad: text passes between the host clipboard and the plug-in through a
// dedicated element of the Node Wizard Scripts document (the highest-level element of its flow
// tagged "QVRN_ScratchPad"): pasted into it to read the clipboard, written into it and copied to
// fill the clipboard. Also the values the plug-in last put on or took from the clipboard.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/state/nodewizard.h"

// ClipboardValues with its empty and reload flags live in the Node Wizard state.

// The scratch pad element of a scripts document; 0 when it has none.
F_ObjHandleT om_NWFindScratchPad(F_ObjHandleT scriptsDoc);
// Tells the user that the scripts document or its scratch pad is missing (the message id's text)
// and sets CancelFlag.
void om_NWScratchPadMissing(ConStringT messageId = "NWS_GEN_MSG_101");

// The clipboard's text (at most 254 characters; first paragraph and line breaks as asked); ""
// when there is no scratch pad.
StringT om_NWReadScratchPad(F_ObjHandleT scriptsDoc, IntT firstPgf, IntT lineBreaks);
// Puts the text on the clipboard.
void om_NWWriteScratchPad(F_ObjHandleT scriptsDoc, ConStringT text);
// Fills ClipboardValues from the clipboard; 0 when there is no scratch pad.
IntT om_NWLoadClipboardText(F_ObjHandleT scriptsDoc);
