// Geometry of graphics: 16.16 metric values read as real numbers, angles folded into one
// quadrant, the extents of rotated objects, point lists of ellipses, distances and overlaps.
//
// Coordinates, sizes, extents and margins are real numbers (points); the host keeps them as
// metrics (F_MetricToReal / F_RealToMetric). An object's angle A (degrees) is folded into an angle
// E between 0 and 90: A up to 90 gives 90 - A, up to 180 gives A - 90, up to 270 gives 270 - A,
// above that A - 270; an unrotated object has E = 90.
#pragma once

#include "fdk.h"

// The folded angle E of an angle in degrees.
RealT GeometryFoldAngle(RealT degrees);
// A metric property of an object as a real number, and writing one.
RealT GeometryGet(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop);
void GeometrySet(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, RealT value);

// The vertical / horizontal extent of the rotated object: sin(E) x height + sin(90 - E) x width
// (width and height swapped for the horizontal one); 0 for height or width means the object's
// own, and with the border flag its border width is added to both. 0 without document or object.
RealT om_GraphicExtentHeight(F_ObjHandleT docId, F_ObjHandleT objId, RealT height, RealT width, IntT border);
RealT om_GraphicExtentWidth(F_ObjHandleT docId, F_ObjHandleT objId, RealT height, RealT width, IntT border);
// Sets the height (width) so that the vertical (horizontal) extent is the value; an object turned
// by 90 or 270 degrees, whose extent does not depend on it, is left unchanged.
void om_GraphicSetHeightForExtent(F_ObjHandleT docId, F_ObjHandleT objId, RealT extent);
void om_GraphicSetWidthForExtent(F_ObjHandleT docId, F_ObjHandleT objId, RealT extent);
// The points of an ellipse every `step` degrees from 0 below 360, turned by `angle`, as x and y
// values times 10000 rounded half up (a new list; empty for a step that is not positive).
F_IntsT om_EllipsePoints(RealT x, RealT y, RealT width, RealT height, RealT step, RealT angle);
// Moves each coordinate from the first point towards the second by the percent of their distance.
void om_PointTowards(RealT x1, RealT y1, RealT x2, RealT y2, RealT percent, RealT *x, RealT *y);
RealT om_PointDistance(RealT x1, RealT y1, RealT x2, RealT y2);
// 1 when the centres are at most the mean of the two sizes apart; with the corner flag the points
// are upper-left corners.
IntT om_GraphicsOverlap(RealT x1, RealT y1, RealT size1, RealT x2, RealT y2, RealT size2, IntT corners);
