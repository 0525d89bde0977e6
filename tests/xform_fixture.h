// Documents for the transformation tests, written as compact outlines and built through the host
// model, and an outline of a result:
//
//   Tag{attr=value|attr=value}(child child 'text')
//
// Values run to the next "|" or "}". Stylesheet element definitions (QVRN_...) declare every
// attribute of the vocabulary; other definitions declare the attributes their elements use (an
// attribute named "id" is a unique ID, "ref" an ID reference). A few tags have a kind of their
// own: Tbl, TTitle, THead, TBody, TFoot, TRow, TCell (table parts), XRef (cross-reference),
// Mark (marker), Note (footnote).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"
#include "transform/xform.h"

namespace xformtest {

// Builds the outline as the highest-level element of flow (0: the main flow) of doc.
F_ObjHandleT Build(F_ObjHandleT doc, const std::string &outline, F_ObjHandleT flow = 0);
// A new document at path whose main flow holds the outline; templates, when given, fill a flow
// tagged QVRN_template.
F_ObjHandleT NewDoc(const std::string &path, const std::string &outline, const std::string &templates = "");
// The outline of an element's subtree (attributes with values, hidden context attributes left
// out; a marker element shows its text as <text>; untagged non-text objects show their kind).
std::string Outline(F_ObjHandleT elem);
// The outline of a document's main flow.
std::string MainOutline(F_ObjHandleT doc);
// Fresh session state for the transformation.
void ResetXform();
// The codes of the report entries written since the last reset.
std::vector<IntT> ReportedCodes();

}  // namespace xformtest
