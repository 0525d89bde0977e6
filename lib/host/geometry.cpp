// Geometry of graphics (see geometry.h).
#include "lib/host/geometry.h"

#include <cmath>
#include <vector>

#include "lib/host/system_services.h"

namespace {


// Sizes used for an extent: the given ones, or the object's own, plus the border with the flag.
void Sizes(F_ObjHandleT doc, F_ObjHandleT obj, RealT &h, RealT &w, IntT border) {
    if (h == 0) h = GeometryGet(doc, obj, FP_Height);
    if (w == 0) w = GeometryGet(doc, obj, FP_Width);
    if (border) {
        RealT b = GeometryGet(doc, obj, FP_BorderWidth);
        h += b;
        w += b;
    }
}

}  // namespace

RealT GeometryFoldAngle(RealT a) {
    if (a <= 90) return 90 - a;
    if (a <= 180) return a - 90;
    if (a <= 270) return 270 - a;
    return a - 270;
}

RealT GeometryGet(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop) {
    return F_MetricToReal(F_ApiGetMetric(docId, objId, prop));
}

void GeometrySet(F_ObjHandleT docId, F_ObjHandleT objId, IntT prop, RealT value) {
    F_ApiSetMetric(docId, objId, prop, F_RealToMetric(value));
}

RealT om_GraphicExtentHeight(F_ObjHandleT docId, F_ObjHandleT objId, RealT height, RealT width, IntT border) {
    if (!docId || !objId) return 0;
    Sizes(docId, objId, height, width, border);
    RealT e = GeometryFoldAngle(GeometryGet(docId, objId, FP_Angle));
    return om_MathSinDeg(e) * height + om_MathSinDeg(90 - e) * width;
}

RealT om_GraphicExtentWidth(F_ObjHandleT docId, F_ObjHandleT objId, RealT height, RealT width, IntT border) {
    if (!docId || !objId) return 0;
    Sizes(docId, objId, height, width, border);
    RealT e = GeometryFoldAngle(GeometryGet(docId, objId, FP_Angle));
    return om_MathSinDeg(e) * width + om_MathSinDeg(90 - e) * height;
}

void om_GraphicSetHeightForExtent(F_ObjHandleT docId, F_ObjHandleT objId, RealT extent) {
    if (!docId || !objId) return;
    RealT e = GeometryFoldAngle(GeometryGet(docId, objId, FP_Angle));
    RealT s = om_MathSinDeg(e);
    if (std::fabs(s) < 1e-9) return;
    GeometrySet(docId, objId, FP_Height, (extent - om_MathSinDeg(90 - e) * GeometryGet(docId, objId, FP_Width)) / s);
}

void om_GraphicSetWidthForExtent(F_ObjHandleT docId, F_ObjHandleT objId, RealT extent) {
    if (!docId || !objId) return;
    RealT e = GeometryFoldAngle(GeometryGet(docId, objId, FP_Angle));
    RealT s = om_MathSinDeg(e);
    if (std::fabs(s) < 1e-9) return;
    GeometrySet(docId, objId, FP_Width, (extent - om_MathSinDeg(90 - e) * GeometryGet(docId, objId, FP_Height)) / s);
}

F_IntsT om_EllipsePoints(RealT x, RealT y, RealT width, RealT height, RealT step, RealT angle) {
    std::vector<IntT> values;
    RealT a = -angle;
    if (step > 0) {
        for (RealT t = 0; t < 360; t += step) {
            RealT px = x + (width / 2 * om_MathCosDeg(t) * om_MathCosDeg(a) - height / 2 * om_MathSinDeg(t) * om_MathSinDeg(a));
            RealT py = y + (width / 2 * om_MathCosDeg(t) * om_MathSinDeg(a) + height / 2 * om_MathSinDeg(t) * om_MathCosDeg(a));
            values.push_back(static_cast<IntT>(std::floor(px * 10000 + 0.5)));
            values.push_back(static_cast<IntT>(std::floor(py * 10000 + 0.5)));
        }
    }
    F_IntsT out;
    out.len = static_cast<UIntT>(values.size());
    out.val = static_cast<IntT *>(F_Alloc(static_cast<UIntT>(values.size() * sizeof(IntT)), NO_DSE));
    for (size_t i = 0; i < values.size(); ++i) out.val[i] = values[i];
    return out;
}

void om_PointTowards(RealT x1, RealT y1, RealT x2, RealT y2, RealT percent, RealT *x, RealT *y) {
    if (x) *x = x1 == x2 ? x1 : x1 + (x2 - x1) * percent / 100;
    if (y) *y = y1 == y2 ? y1 : y1 + (y2 - y1) * percent / 100;
}

RealT om_PointDistance(RealT x1, RealT y1, RealT x2, RealT y2) {
    return om_MathSqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

IntT om_GraphicsOverlap(RealT x1, RealT y1, RealT size1, RealT x2, RealT y2, RealT size2, IntT corners) {
    if (corners) {
        x1 += size1 / 2;
        y1 -= size1 / 2;
        x2 += size2 / 2;
        y2 -= size2 / 2;
    }
    return om_PointDistance(x1, y1, x2, y2) <= (size1 + size2) / 2 ? 1 : 0;
}
