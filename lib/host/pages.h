// Pages of objects and the text of flows: the page an object lies on (through its frames, its
// text frame, its cell), the kinds of pages (5 body, 6 master, 7 reference, 8 another kind), a
// flow's whole text range and the deletion of a flow's content, and the ordering of graphics by
// the page they lie on.
#pragma once

#include "fdk.h"

// The page of the outermost frame above the object (parent frames 774, then 880); 0 for object 0.
F_ObjHandleT om_PageOfObject(F_ObjHandleT docId, F_ObjHandleT objId);
// The range from the flow's first paragraph to the end of its last paragraph.
F_TextRangeT om_FlowTextRange(F_ObjHandleT docId, F_ObjHandleT flowId);
// Deletes a flow's content: its highest-level element, or (unstructured) its whole text.
void om_FlowDeleteContents(F_ObjHandleT docId, F_ObjHandleT flowId);
// The page (kind 5 to 7) reached by climbing cells and footnotes through 1000 and other objects
// through their parent frame or page; 0 when the climb ends first.
F_ObjHandleT om_ObjectPageClimb(F_ObjHandleT docId, F_ObjHandleT objId);
// The page of the text frame an object lies in, climbing graphics, anchored frames, paragraphs,
// cells, tables and rows towards it.
F_ObjHandleT om_ObjectPageOfTextFrame(F_ObjHandleT docId, F_ObjHandleT objId);
// Reorders the list by page: graphics on body pages in page order, then master, then reference
// pages; graphics on no such page are dropped.
void om_GraphicsSortByPage(F_ObjHandleT docId, F_UIntsT *graphics);
