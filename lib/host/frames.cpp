// Anchored frames and their graphics (see frames.h).
#include "lib/host/frames.h"

#include <algorithm>
#include <vector>

#include "lib/host/graphics.h"
#include "lib/host/documents.h"
#include "lib/host/geometry.h"
#include "lib/host/host_values.h"
#include "lib/host/pages.h"
#include "lib/strings/heapstr.h"

namespace {

constexpr IntT kUnset = -10000;
constexpr int kStepLimit = 10000000;

F_UIntsT NewIds(const std::vector<UIntT> &ids) {
    F_UIntsT out;
    out.len = static_cast<UIntT>(ids.size());
    out.val = static_cast<UIntT *>(F_Alloc(static_cast<UIntT>(ids.size() * sizeof(UIntT)), NO_DSE));
    std::copy(ids.begin(), ids.end(), out.val);
    return out;
}

F_StringsT NewStrings(const std::vector<std::string> &v) {
    F_StringsT out;
    out.len = static_cast<UIntT>(v.size());
    out.val = static_cast<StringT *>(F_Alloc(static_cast<UIntT>(v.size() * sizeof(StringT)), NO_DSE));
    for (size_t i = 0; i < v.size(); ++i) out.val[i] = F_StrCopyString(v[i].c_str());
    return out;
}

RealT Border(F_ObjHandleT doc, F_ObjHandleT frame) { return std::max<RealT>(1, GeometryGet(doc, frame, FP_BorderWidth)); }

// The frame and graphic the shrink and fit work on; false when there is no anchored frame with a
// graphic. `firstGraphic`: a frame given alone works on its first graphic.
bool FrameAndGraphic(F_ObjHandleT &doc, F_ObjHandleT &graphic, F_ObjHandleT &frame, bool firstGraphic) {
    if (!doc) doc = F_ApiGetId(0, 0, FP_ActiveDoc);
    if (!doc) return false;
    if (graphic && !frame) {
        frame = F_ApiGetId(doc, graphic, FP_FrameParent);
    } else if (frame && !graphic && firstGraphic) {
        graphic = F_ApiGetId(doc, frame, FP_FirstGraphicInFrame);
    } else if (!graphic || !frame) {
        om_SelectedFrameAndGraphic(doc, &frame, &graphic);
    }
    return graphic && frame && F_OBJ_KIND(frame) == FO_AFrame;
}

RealT BorderExtra(F_ObjHandleT doc, F_ObjHandleT frame, IntT border) {
    return border && F_ApiGetInt(doc, frame, FP_Pen) != FV_NoPen ? GeometryGet(doc, frame, FP_BorderWidth) : 0;
}

std::vector<F_ObjHandleT> GraphicsOf(F_ObjHandleT doc, F_ObjHandleT frame) {
    std::vector<F_ObjHandleT> out;
    int steps = 0;
    for (F_ObjHandleT g = F_ApiGetId(doc, frame, FP_FirstGraphicInFrame); g && steps < kStepLimit;
         g = F_ApiGetId(doc, g, FP_NextGraphicInFrame), ++steps)
        out.push_back(g);
    return out;
}

}  // namespace

F_UIntsT om_FrameGraphics(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT objId, IntT selectedOnly) {
    std::vector<UIntT> ids;
    if (!docId) docId = om_DocActivate(0);
    F_ObjHandleT frame = frameId;
    if (docId && !frame && objId) frame = F_ApiGetId(docId, objId, FP_Object);
    if (docId && !frame && !objId) {
        F_ObjHandleT first = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc);
        frame = F_OBJ_KIND(first) == FO_AFrame ? first : F_ApiGetId(docId, first, FP_FrameParent);
    }
    if (docId && frame && F_OBJ_KIND(frame) == FO_AFrame)
        for (F_ObjHandleT g : GraphicsOf(docId, frame))
            if (!selectedOnly || F_ApiGetInt(docId, g, FP_GraphicIsSelected)) ids.push_back(g);
    return NewIds(ids);
}

F_StringsT om_FrameGraphicFiles(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT objId, IntT selectedOnly,
                                IntT includeEmpty, IntT slashMode) {
    if (!docId) docId = om_DocActivate(0);
    F_UIntsT graphics = om_FrameGraphics(docId, frameId, objId, selectedOnly);
    std::vector<std::string> paths;
    for (UIntT i = 0; i < graphics.len; ++i) {
        std::string p = F_OBJ_KIND(graphics.val[i]) == FO_Inset ? HostGetString(docId, graphics.val[i], FP_InsetFile) : "";
        if (!p.empty() || includeEmpty) paths.push_back(p);
    }
    F_ApiFreeIdList(&graphics);
    auto slashed = [](std::string p) {
        std::replace(p.begin(), p.end(), '\\', '/');
        return p;
    };
    if (slashMode == 3) {
        for (std::string &p : paths) p = slashed(p);
    } else if (slashMode == 2) {
        size_t n = paths.size();
        for (size_t i = 0; i < n; ++i) paths.push_back(slashed(paths[i]));
    }
    return NewStrings(paths);
}

void om_GraphicShow(F_ObjHandleT docId, F_ObjHandleT objId, F_ObjHandleT secondId) {
    if (!docId || (!objId && !secondId)) return;
    F_ObjHandleT page = om_PageOfObject(docId, objId);
    F_ObjHandleT frame = 0;
    if (objId && !secondId) {
        F_ObjHandleT parent = F_ApiGetId(docId, objId, FP_FrameParent);
        frame = F_OBJ_KIND(objId) == FO_AFrame ? objId : F_OBJ_KIND(parent) == FO_AFrame ? parent : 0;
    }
    F_TextRangeT target{};
    if (frame) {
        F_ObjHandleT current = F_ApiGetId(0, docId, FP_CurrentPage);
        if (F_OBJ_KIND(page) != F_OBJ_KIND(current)) {
            IntT first = F_OBJ_KIND(page) == FO_MasterPage ? FP_FirstMasterPageInDoc
                       : F_OBJ_KIND(page) == FO_RefPage  ? FP_FirstRefPageInDoc
                                                         : FP_FirstBodyPageInDoc;
            F_ApiSetId(0, docId, FP_CurrentPage, F_ApiGetId(0, docId, first));
        }
        target.beg = target.end = F_ApiGetTextLoc(docId, frame, FP_AnchorLoc);
    } else {
        F_ApiSetId(0, docId, FP_CurrentPage, page);
        F_ObjHandleT parent = F_ApiGetId(docId, objId, FP_FrameParent);
        target.beg = target.end = F_TextLocT{F_ApiGetId(docId, parent, FP_FirstPgf), 0};
    }
    F_ApiScrollToText(docId, &target);
    bool among = false;
    std::vector<F_ObjHandleT> selected;
    int steps = 0;
    for (F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc); g && steps < kStepLimit;
         g = F_ApiGetId(docId, g, FP_NextSelectedGraphicInDoc), ++steps)
        selected.push_back(g);
    for (F_ObjHandleT g : selected) {
        if (g == objId || g == secondId)
            among = true;
        else
            F_ApiSetInt(docId, g, FP_GraphicIsSelected, 0);
    }
    if (!among) F_ApiSetInt(docId, objId ? objId : secondId, FP_GraphicIsSelected, 1);
}

F_StringsT om_GraphicFileNames(F_ObjHandleT docId, const F_UIntsT *graphics, ConStringT placeholder, IntT uniqueIds) {
    std::vector<std::string> names;
    std::string ph = placeholder ? placeholder : "";
    bool skip = qv::FoldCase(ph) == "skip";
    for (UIntT i = 0; docId && graphics && graphics->val && i < graphics->len; ++i) {
        std::string p = HostGetString(docId, graphics->val[i], FP_InsetFile);
        if (p.empty()) {
            if (!skip) names.push_back(ph);
            continue;
        }
        if (uniqueIds) p += "::" + std::to_string(F_ApiGetInt(docId, graphics->val[i], FP_Unique));
        names.push_back(p);
    }
    return NewStrings(names);
}

void om_DocDeselectGraphics(F_ObjHandleT docId) {
    if (!docId) return;
    for (int steps = 0; steps < kStepLimit; ++steps) {
        F_ObjHandleT g = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc);
        if (!g) break;
        F_ApiSetInt(docId, g, FP_GraphicIsSelected, 0);
        if (F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc) == g) break;  // the host kept it selected
    }
}

IntT om_SelectedFrameAndGraphic(F_ObjHandleT docId, F_ObjHandleT *frameId, F_ObjHandleT *graphicId) {
    F_ObjHandleT frame = 0, graphic = 0;
    if (docId == static_cast<F_ObjHandleT>(-1)) docId = F_ApiGetId(0, 0, FP_ActiveDoc);
    IntT result = 1;
    if (docId) {
        F_ObjHandleT first = F_ApiGetId(0, docId, FP_FirstSelectedGraphicInDoc);
        if (F_OBJ_KIND(first) == FO_AFrame) {
            frame = first;
            graphic = F_ApiGetId(docId, first, FP_FirstGraphicInFrame);
        } else if (first) {
            graphic = first;
            F_ObjHandleT parent = F_ApiGetId(docId, first, FP_FrameParent);
            frame = F_OBJ_KIND(parent) == FO_AFrame ? parent : 0;
        }
        result = first && F_ApiGetId(docId, first, FP_NextSelectedGraphicInDoc) ? 1 : 0;
    }
    if (frameId) *frameId = frame;
    if (graphicId) *graphicId = graphic;
    return result;
}

F_UIntsT om_DocImportedGraphics(F_ObjHandleT docId, IntT pageKind, IntT includeEmpty) {
    std::vector<UIntT> ids;
    int steps = 0;
    for (F_ObjHandleT g = docId ? F_ApiGetId(0, docId, FP_FirstGraphicInDoc) : 0; g && steps < kStepLimit;
         g = F_ApiGetId(docId, g, FP_NextGraphicInDoc), ++steps) {
        if (F_OBJ_KIND(g) != FO_Inset) continue;
        IntT kind = om_GraphicPageKind(docId, g);
        if (kind == FO_OtherPage || (pageKind && kind != pageKind)) continue;
        if (!includeEmpty && HostGetString(docId, g, FP_InsetFile).empty()) continue;
        ids.push_back(g);
    }
    return NewIds(ids);
}

F_ObjHandleT om_GraphicPlace(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, IntT type, RealT x,
                             RealT y, RealT height, RealT width, IntT centre) {
    if (!docId || !frameId) return 0;
    RealT border = Border(docId, frameId);
    if (!graphicId) graphicId = F_ApiNewGraphicObject(docId, type, frameId);
    if (!graphicId) return 0;
    RealT h = GeometryGet(docId, frameId, FP_Height);
    GeometrySet(docId, graphicId, FP_LocX, x + border - (centre ? width / 2 : 0));
    GeometrySet(docId, graphicId, FP_LocY, h - (y + border) - (centre ? height / 2 : 0));
    GeometrySet(docId, graphicId, FP_Height, height);
    GeometrySet(docId, graphicId, FP_Width, width);
    return graphicId;
}

F_ObjHandleT om_GraphicLine(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, RealT x1, RealT y1,
                            RealT x2, RealT y2) {
    if (!docId || !frameId) return 0;
    if (!graphicId) graphicId = F_ApiNewGraphicObject(docId, FO_Line, frameId);
    if (!graphicId) return 0;
    RealT h = GeometryGet(docId, frameId, FP_Height);
    IntT values[4] = {F_RealToMetric(x1 + 1), F_RealToMetric(h - (y1 + 1)), F_RealToMetric(x2 + 1),
                      F_RealToMetric(h - (y2 + 1))};
    F_IntsT points{4, values};
    F_ApiSetPoints(docId, graphicId, FP_Points, &points);
    return graphicId;
}

void om_GraphicPolygon(F_ObjHandleT docId, F_ObjHandleT frameId, RealT dotSize, RealT lineWidth, const F_IntsT *points,
                       RealT divisor) {
    if (!docId || !frameId || !points || !points->val || points->len < 2) return;
    auto value = [&](UIntT i) { return divisor != 0 ? points->val[i] / divisor : static_cast<RealT>(points->val[i]); };
    UIntT pairs = points->len / 2;
    RealT px = value(2 * (pairs - 1)), py = value(2 * (pairs - 1) + 1);
    for (UIntT k = 0; k < pairs; ++k) {
        RealT x = value(2 * k), y = value(2 * k + 1);
        if (dotSize > 0)
            if (F_ObjHandleT dot = om_GraphicPlace(docId, frameId, 0, FO_Oval, x - 1, y - 1, dotSize, dotSize, 1))
                F_ApiSetInt(docId, dot, FP_DotFlag, 0);
        if (lineWidth > 0)
            if (F_ObjHandleT line = om_GraphicLine(docId, frameId, 0, x, y, px, py))
                GeometrySet(docId, line, FP_BorderWidth, lineWidth);
        px = x;
        py = y;
    }
}

void om_GraphicSetPosition(F_ObjHandleT docId, F_ObjHandleT frameId, F_ObjHandleT graphicId, RealT x, RealT y) {
    if (!docId || !frameId || !graphicId) return;
    RealT border = Border(docId, frameId);
    if (x != kUnset) GeometrySet(docId, graphicId, FP_LocX, x + border);
    if (y != kUnset) GeometrySet(docId, graphicId, FP_LocY, GeometryGet(docId, frameId, FP_Height) - (y + border));
}

IntT om_FrameShrinkToGraphics(F_ObjHandleT docId, F_ObjHandleT graphicId, F_ObjHandleT frameId, IntT border, RealT margin) {
    if (!FrameAndGraphic(docId, graphicId, frameId, false)) return 0;
    RealT e = BorderExtra(docId, frameId, border);
    MetricT angle = F_ApiGetMetric(docId, frameId, FP_Angle);
    F_ApiSetMetric(docId, frameId, FP_Angle, 0);
    RealT left = 666666, top = 666666, right = -666666, bottom = -666666;
    std::vector<F_ObjHandleT> graphics = GraphicsOf(docId, frameId);
    for (F_ObjHandleT g : graphics) {
        RealT x = GeometryGet(docId, g, FP_LocX), y = GeometryGet(docId, g, FP_LocY);
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + om_GraphicExtentWidth(docId, g, 0, 0, 0));
        bottom = std::max(bottom, y + om_GraphicExtentHeight(docId, g, 0, 0, 0));
    }
    GeometrySet(docId, frameId, FP_Height, bottom - top + 2 * margin + 2 * e);
    GeometrySet(docId, frameId, FP_Width, right - left + 2 * margin + 2 * e);
    for (F_ObjHandleT g : graphics) {
        GeometrySet(docId, g, FP_LocX, GeometryGet(docId, g, FP_LocX) + e + margin - left);
        GeometrySet(docId, g, FP_LocY, GeometryGet(docId, g, FP_LocY) + e + margin - top);
    }
    F_ApiSetMetric(docId, frameId, FP_Angle, angle);
    return 1;
}

IntT om_GraphicFitToFrame(F_ObjHandleT docId, F_ObjHandleT graphicId, F_ObjHandleT frameId, IntT border, RealT margin) {
    if (!FrameAndGraphic(docId, graphicId, frameId, true)) return 0;
    RealT e = BorderExtra(docId, frameId, border);
    MetricT angle = F_ApiGetMetric(docId, frameId, FP_Angle);
    F_ApiSetMetric(docId, frameId, FP_Angle, 0);
    RealT rh = om_GraphicExtentHeight(docId, frameId, 0, 0, 0) - 2 * e - 2 * margin;
    RealT rw = om_GraphicExtentWidth(docId, frameId, 0, 0, 0) - 2 * e - 2 * margin;
    RealT gh = GeometryGet(docId, graphicId, FP_Height), gw = GeometryGet(docId, graphicId, FP_Width);
    RealT gv = om_GraphicExtentHeight(docId, graphicId, 0, 0, 0), gx = om_GraphicExtentWidth(docId, graphicId, 0, 0, 0);
    if (gh == 0 || gw == 0 || gv == 0 || gx == 0) {  // a graphic of no size cannot be scaled
        F_ApiSetMetric(docId, frameId, FP_Angle, angle);
        return 0;
    }
    RealT h1 = rh / gv * gh, w1 = h1 / gh * gw;
    RealT w2 = rw / gx * gw, h2 = w2 / gw * gh;
    bool byHeight = om_GraphicExtentWidth(docId, graphicId, h1, w1, 0) <= rw;
    GeometrySet(docId, graphicId, FP_Height, byHeight ? h1 : h2);
    GeometrySet(docId, graphicId, FP_Width, byHeight ? w1 : w2);
    GeometrySet(docId, graphicId, FP_LocX, margin + e);
    GeometrySet(docId, graphicId, FP_LocY, margin + e);
    F_ApiSetMetric(docId, frameId, FP_Angle, angle);
    return 1;
}

IntT om_DocImportFile(F_ObjHandleT docId, ConStringT path, IntT copy, IntT value1, IntT value2) {
    if (!docId || !path || !*path) return 0;
    F_TextRangeT sel = F_ApiGetTextRange(0, docId, FP_TextSelection);
    F_PropValsT params = F_ApiGetImportDefaultParams();
    auto set = [&](IntT number, IntT value) {
        IntT at = F_ApiGetPropIndex(&params, number);
        if (at >= 0) params.val[at].propVal.ival = value;
    };
    for (IntT n : {8, 7, 12, 33, 43}) set(n, 1);
    set(15, value1);
    set(14, 0);
    set(2, value2);
    set(4, copy ? 5 : 6);
    F_PropValsT *returned = nullptr;
    F_ApiImport(docId, &sel.beg, path, &params, &returned);
    F_ApiDeallocatePropVals(&params);
    IntT status = 0;
    if (returned) {
        IntT at = F_ApiGetPropIndex(returned, 0);
        if (at >= 0) status = returned->val[at].propVal.ival;
    }
    return status & (1 << FV_BadImportFileType) ? 0 : 1;
}
