// What the session's user does in the host: open, close, save and switch documents, select,
// insert and change elements, run host functions, and quit. Each action is done by the host
// and then raises the notifications the real host raises for it, delivered to every client
// that asked for them. Failures answer false with a message in *error (and leave the session
// as it was); a refused file is also shown to the user as the host's message.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"

namespace host {

// Opens a document file (Windows form) as the user: PostOpenXML (96) for a ".xml" file, else
// PostOpenDoc (2), with the document and its path. A visible document becomes the active one.
F_ObjHandleT UserOpen(const std::string &windowsPath, bool visible, std::string *error);

// Closes a document as the user: PreQuitDoc (11) before, PostQuitDoc (40) after.
bool UserClose(F_ObjHandleT doc, std::string *error);

// Saves a document under its own path.
bool UserSave(F_ObjHandleT doc, std::string *error);

// Save As: PreFunction (42) and PostFunction (43) with 785 around the save under a new path,
// in the format given (-1: from the path's ending).
bool UserSaveAs(F_ObjHandleT doc, const std::string &windowsPath, int format, std::string *error);

// Makes a document the active one: PostActiveDocChange (105) when it changed.
bool UserActivate(F_ObjHandleT doc, std::string *error);

// Selects an element of the active document by a path of tags from the highest-level element,
// each with an optional 1-based position among its siblings of that tag: "/Doc/Sec[2]/Para".
// Answers the element (0 with *error when there is none).
F_ObjHandleT UserSelect(const std::string &path, std::string *error);

// Double-clicks an element of the active document (a path as for UserSelect): the element is
// selected, then PreMouseCommand (44, the int's top byte 1 for a double click) and
// PostMouseCommand (45) are raised.
F_ObjHandleT UserDoubleClick(const std::string &path, std::string *error);

// Inserts a new element of the tag as the last child of the selected element (the highest-level
// element when nothing is selected) of the active document: PreInsertElement (52, the tag), the
// insertion, the new element selected, PostInsertElement (53, the tag, the element's id).
F_ObjHandleT UserInsertElement(const std::string &tag, std::string *error);

// Sets an attribute of the selected element: PostSetAttrValue (63).
bool UserSetAttribute(const std::string &name, const std::vector<std::string> &values, std::string *error);

// Runs a host function as the user: PreFunction (42, code), the function, PostFunction (43, code).
// 4049 (structure view) raises PostOpenMIF (4) for the view between the two.
bool UserFunction(IntT code, std::string *error);

// Follows the n-th Hypertext link (from 1, in document order) of the active document, as a click
// on it does: "openObjectId PATH:5 UNIQUE" brings the document of PATH forward (opening it when
// it is not open) and selects its element with that unique id. A link that leads nowhere (the
// file cannot be opened, no such element) is written to the transcript as stale.
bool UserFollowLink(size_t n, std::string *error);

// Quits: PreQuitSession (26).
void UserQuit();

// The document named by its label or path (Windows form, case ignored), or by "" the active one;
// 0 when none.
F_ObjHandleT FindOpenDocument(const std::string &labelOrPath);

}  // namespace host
