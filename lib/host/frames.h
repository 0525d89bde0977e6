// Anchored frames and the graphics in them: listing a frame's graphics and the files they were
// imported from, the selection of graphics, showing a graphic, placing graphics, lines, polygons
// and dots in a frame by coordinates measured from its lower-left corner inside its border,
// shrinking a frame around its graphics and fitting a graphic into its frame, importing a file.
//
// A frame's coordinates: the host's vertical position is the frame's height minus (y + border),
// its horizontal position x + border; a border width below 1 counts as 1.
#pragma once

#include <string>

#include "fdk.h"

// The graphics of an anchored frame (the given one, the host object of the given element, or the
// selected one); only the selected ones with the flag. Document 0 is the active one. A new list.
F_UIntsT om_FrameGraphics(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT objId, IntT selectedOnly);
// The file paths of om_FrameGraphics' graphics ("" for drawn ones, kept with the include-empty
// flag); slash mode 3 turns backslashes to slashes, mode 2 appends a slashed copy of the list.
F_StringsT om_FrameGraphicFiles(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT objId, IntT selectedOnly,
                                IntT includeEmpty, IntT slashMode);
// Shows a graphic: its page (or its frame's anchor) scrolled to, it alone selected.
void om_GraphicShow(F_ObjHandleT docId, F_ObjHandleT objId, F_ObjHandleT secondId);
// The file paths of the graphics ("%s::%d" with the unique id with the flag); a graphic without a
// path gives the placeholder, or nothing for the placeholder "skip". A new list.
F_StringsT om_GraphicFileNames(F_ObjHandleT docId, const F_UIntsT *graphics, ConStringT placeholder, IntT uniqueIds);
// Deselects every selected graphic.
void om_DocDeselectGraphics(F_ObjHandleT docId);
// From the first selected graphic: the anchored frame and its graphic; 1 when a second graphic is
// selected or there is no document (-1 = the active document).
IntT om_SelectedFrameAndGraphic(F_ObjHandleT docId, F_ObjHandleT *frameId, F_ObjHandleT *graphicId);
// The document's imported graphics whose page kind is not 8 (and is the kind given, when one is);
// those without a path only with the flag. A new list.
F_UIntsT om_DocImportedGraphics(F_ObjHandleT docId, IntT pageKind, IntT includeEmpty);
// Places a graphic (a new one of the type when none is given) at (x, y) with a height and width,
// centred on the point with the flag; the graphic.
F_ObjHandleT om_GraphicPlace(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, IntT type, RealT x,
                             RealT y, RealT height, RealT width, IntT centre);
// Sets a line's two points (a new line when none is given); the line.
F_ObjHandleT om_GraphicLine(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, RealT x1, RealT y1,
                            RealT x2, RealT y2);
// A closed polygon through the points (values divided by the divisor unless it is 0): a dot of the
// dot size at each point and a line of the line width to the previous one.
void om_GraphicPolygon(F_ObjHandleT docId, F_ObjHandleT frameId, RealT dotSize, RealT lineWidth, const F_IntsT *points,
                       RealT divisor);
// Moves a graphic to (x, y); -10000 leaves that coordinate unchanged.
void om_GraphicSetPosition(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, RealT x, RealT y);
// Shrinks an anchored frame around its graphics with a margin; 1, 0 without frame and graphic.
IntT om_FrameShrinkToGraphics(F_ObjHandleT docId, F_ObjHandleT graphicId, F_ObjHandleT frameId, IntT border, RealT margin);
// Scales a graphic to fill its frame with a margin, keeping its proportions; 1, 0 as above (and
// for a graphic of no size).
IntT om_GraphicFitToFrame(F_ObjHandleT docId, F_ObjHandleT graphicId, F_ObjHandleT frameId, IntT border, RealT margin);
// Imports a file at the start of the text selection; 1, 0 for a bad file type or without
// document or path.
IntT om_DocImportFile(F_ObjHandleT docId, ConStringT path, IntT copy, IntT value1, IntT value2);
