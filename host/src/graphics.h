// Graphics, frames and pages beyond the body pages of the layout: anchored frames (standing for
// graphic elements, kind 6) with the graphics they hold, drawing objects and imported graphics
// with their geometry in 16.16 metrics, text lines on pages, master and reference pages with the
// flows placed on them, footnotes (standing for footnote elements, kind 5) and variables
// (standing for system-variable elements, kind 2).
//
// Geometry is kept as it is written: angle, position, size and border are metrics, the pen and
// the selection integers, a polyline's points a list. A graphic lies in a frame (774, an anchored
// frame; its page is the frame's) or directly on a page (880). An anchored frame's page is the
// page of the paragraph its element lies in.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace host {

// One graphic object or anchored frame.
struct Graphic {
    F_ObjHandleT id = 0;
    F_ObjHandleT doc = 0;
    F_ObjHandleT frame = 0;  // parent anchored frame (774), 0 when on a page
    F_ObjHandleT page = 0;   // the page it lies on directly (graphics outside frames)
    IntT unique = 0;
    MetricT angle = 0, x = 0, y = 0, width = 0, height = 0, border = 65536;
    IntT pen = 0, selected = 0, dotFlag = 1;
    std::string path;  // imported graphics (852)
    std::string text;  // text lines
    std::vector<IntT> points;
};

// The graphic or anchored frame of that id in doc, or nullptr.
Graphic *GraphicOf(F_ObjHandleT doc, F_ObjHandleT id);
// A new graphic of `kind` (9-21 but 19) in an anchored frame, or on a page when frame is 0.
F_ObjHandleT AddGraphic(F_ObjHandleT doc, int kind, F_ObjHandleT frame, F_ObjHandleT page);
// The anchored frame standing for a graphic element (kind 6) of doc; 0 for other elements.
F_ObjHandleT FrameOfElement(F_ObjHandleT doc, F_ObjHandleT elem);
// The document's graphics in document order (anchored frames and what they hold, then the
// graphics on pages), and a frame's graphics in order.
std::vector<F_ObjHandleT> DocumentGraphics(F_ObjHandleT doc);
std::vector<F_ObjHandleT> FrameGraphics(F_ObjHandleT doc, F_ObjHandleT frame);
// The document's graphics lying directly on pages, in creation order.
std::vector<F_ObjHandleT> PageGraphics(F_ObjHandleT doc);

// The variable a system-variable element stands for, and its variable format (0 when none).
F_ObjHandleT VariableOfElement(F_ObjHandleT doc, F_ObjHandleT elem);
F_ObjHandleT VariableFormatOf(F_ObjHandleT var);
void SetVariableFormat(F_ObjHandleT var, F_ObjHandleT format);

// A new master (6) or reference (7) page named `name`; an existing one of that kind and name is
// returned as it is.
F_ObjHandleT AddNamedPage(F_ObjHandleT doc, int kind, const std::string &name);
// The named pages of a kind, in order.
std::vector<F_ObjHandleT> NamedPages(F_ObjHandleT doc, int kind);
// The name of a master or reference page ("" for others).
std::string NamedPageName(F_ObjHandleT doc, F_ObjHandleT page);
// Places a flow's text frames on a master or reference page (0: back on body pages).
void PlaceFlowOnPage(F_ObjHandleT flow, F_ObjHandleT page);
F_ObjHandleT PageOfFlow(F_ObjHandleT flow);
// The master page a body page uses ("Right" unless set), and setting it.
std::string BodyPageMaster(F_ObjHandleT page);
void SetBodyPageMaster(F_ObjHandleT page, const std::string &name);

}  // namespace host
