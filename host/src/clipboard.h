// The session clipboard: one structured fragment (elements with attributes and text) or plain
// text, filled by copy and cut and read by paste; saved and restored as a stack. Pasted content
// is always made of new objects.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace host {

// One node of a copied fragment: a text node (def name empty) or an element with its definition's
// description (so a paste into another document can declare a missing definition), attributes
// and children.
struct FragmentNode {
    bool isText = false;
    uint8_t misc = kNotMisc;  // a comment or an instruction (its text in `text`)
    std::string text;
    std::string defName;
    IntT defType = FV_FO_CONTAINER;
    std::string pgfFormat;
    std::vector<AttrDef> attrDefs;
    std::vector<Attr> attrs;  // as the element held them (name atoms)
    std::vector<FragmentNode> children;
    // A marker element's marker: its text and the name of its marker type.
    std::string markerText, markerType;
};

struct ClipboardContent {
    bool empty = true;
    bool structured = false;
    std::vector<FragmentNode> nodes;  // structured
    std::string text;                 // plain text
};

// The clipboard as it is; putting plain text on it as another application would.
const ClipboardContent &Clipboard();
void SetClipboardText(const std::string &text);
// Forgets the clipboard and its saved stack (session reset).
void ResetClipboard();

// A deep description of an element's subtree.
FragmentNode CopySubtree(F_ObjHandleT elem);
// New objects in doc for a fragment node (its definition declared when missing); the new id.
F_ObjHandleT BuildFragment(F_ObjHandleT doc, const FragmentNode &node);
// Deletes the selection's content (no clipboard change); the selection becomes an insertion
// point where it was. False with FA_errno when nothing structured is selected.
bool ClearSelection(F_ObjHandleT doc);

}  // namespace host
