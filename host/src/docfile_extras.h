// What a document file keeps of a document beside its catalog, formats and element trees, as
// settings of the native file: master, reference and other pages and the flows placed on them,
// the master page of each body page, variable definitions and the format of each variable, the
// cross-reference flag 1076, anchored frames with the graphics they hold, graphics on pages, the
// window's place and size, and the XMP metadata. Elements are named by their unique ids, which a
// file keeps.
//
// Setting names and values (fields separated by a tab):
//   window             left top width height
//   xmp                the packet
//   page               kind, name                  (kinds 6, 7, 8, in order)
//   flow-page          flow name, page kind, page name
//   body-page-master   body page number (0-based), master page name   (other than "Right")
//   variable-format    name, system (0/1), definition
//   variable           element uid, variable format name
//   xref-flag          element uid, value
//   table-format-title table format name                   (its tables have a title)
//   frame              element uid, graphic record          (an anchored frame's own values)
//   graphic            place, graphic record                (place: "f" + the frame element's
//                                                           uid, or "p" + page kind + ":" + the
//                                                           page's name or body page number)
// A graphic record: kind, angle, x, y, width, height, border (metrics), pen, selected, dot flag,
// file path, text, points (comma-separated).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "fdk.h"

namespace host::docfile {

// True for a setting name this file handles.
bool IsExtraSetting(const std::string &name);
// Appends the document's settings.
void SaveExtras(F_ObjHandleT doc, std::vector<std::pair<std::string, std::string>> &settings);
// Gives a document just built from a file what its settings say; unknown or broken values are
// passed over.
void RestoreExtras(F_ObjHandleT doc, const std::vector<std::pair<std::string, std::string>> &settings);

}  // namespace host::docfile
