// Folder lib/host: the library's host operations (documents, books, elements, attributes, text,
// paths, files, host commands). It uses fdk.h, lib/strings and the shared state at the top of
// lib/ (lib/globals.h); never translation, dialogs or anything above the library.
//
// Order of the folder's files, lowest first: a file uses (includes or calls) only files on the
// lines above its own (scripts/check-order holds the folder to it).
//   1: book_update cancel client_calls conversions debug_prompts docio element_ops formats graphics host_values system_services xmp
//   2: element_location element_walk file_references format_catalogs geometry paths pgf_format pgftext
//   3: commands element_query folders tables textfiles
//   4: documents
//   5: books settings_paths
//   6: attributes
//   7: element_text settings_doc
//   8: attr_bool debug_log
//   9: element_edit hostui
//   10: pages report report_second
//   11: frames
//   12: tablesel
//
// Host values read into plug-in values: the host hands over deep copies of strings and records;
// these helpers take them into std::string and std::vector and free the host's copies at once,
// so the rest of the plug-in never owns a host record.
#pragma once

#include <string>
#include <vector>

#include "fdk.h"
#include "lib/globals.h"

// True when both ids are given; otherwise sets StatusCode to StatusNoDocument (no document) or
// StatusNoObject (no element) and answers false.
bool HostHaveDocAndObject(F_ObjHandleT docId, F_ObjHandleT objId);
// A string property as a std::string ("" when the host gives none).
std::string HostGetString(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
// The name (property 20) of an element's definition; "" for untagged text or a bad id.
std::string HostElementDefName(F_ObjHandleT docId, F_ObjHandleT elemId);
// True when the element has a definition (every definition has a name): reading the id spares
// copying the name.
inline bool HostIsTagged(F_ObjHandleT docId, F_ObjHandleT elemId) { return F_ApiGetId(docId, elemId, FP_ElementDef) != 0; }
