// Graphics, geometry and pages: metric conversions, angle folding at the quadrant edges, extents
// of rotated objects, ellipse points, drawing in a frame by lower-left coordinates, polygons,
// listing a frame's graphics and files, the selection, showing a graphic, shrinking and fitting,
// page kinds and page climbs, sorting by page, flows' text, import.
#include <cmath>
#include <fstream>

#include "periphery_fixture.h"

#include "lib/host/frames.h"
#include "lib/host/geometry.h"
#include "lib/host/pages.h"

namespace {

TEST(Geometry, MetricsConvertAsSingleRealsAndTruncateTowardZero) {
    struct Case {
        double real;
        MetricT metric;
    } cases[] = {{1.0, 65536}, {0.5, 32768}, {-1.5, -98304}, {72.25, 4734976}, {1.0 / 65536 * 0.9, 0}, {-0.00001, 0}};
    for (const Case &c : cases) EXPECT_EQ(c.metric, F_RealToMetric(c.real)) << c.real;
    EXPECT_DOUBLE_EQ(1.5, F_MetricToReal(98304));
    EXPECT_DOUBLE_EQ(-0.25, F_MetricToReal(-16384));
}

TEST(Geometry, AnglesFoldIntoOneQuadrant) {
    struct Case {
        double angle, folded;
    } cases[] = {{0, 90}, {30, 60}, {90, 0}, {90.5, 0.5}, {135, 45}, {180, 90}, {180.5, 89.5},
                 {270, 0}, {270.5, 0.5}, {300, 30}, {359, 89}};
    for (const Case &c : cases) EXPECT_DOUBLE_EQ(c.folded, GeometryFoldAngle(c.angle)) << c.angle;
}

TEST(Geometry, EllipsePointsStepRoundAndRotate) {
    F_IntsT p = om_EllipsePoints(10, 20, 4, 2, 90, 0);
    ASSERT_EQ(8u, p.len);  // t = 0, 90, 180, 270
    const IntT want[] = {120000, 200000, 100000, 210000, 80000, 200000, 100000, 190000};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(want[i], p.val[i], 1) << i;
    F_ApiFreeIntList(&p);
    F_IntsT turned = om_EllipsePoints(0, 0, 4, 2, 180, 90);
    ASSERT_EQ(4u, turned.len);
    EXPECT_NEAR(0, turned.val[0], 1);  // the width now runs downwards
    EXPECT_NEAR(-20000, turned.val[1], 1);
    F_ApiFreeIntList(&turned);
    for (double step : {0.0, -5.0}) {  // a step that is not positive gives no points (no endless loop)
        F_IntsT none = om_EllipsePoints(0, 0, 4, 2, step, 0);
        EXPECT_EQ(0u, none.len);
        F_ApiFreeIntList(&none);
    }
}

TEST(Geometry, PointsDistancesAndOverlaps) {
    double x = 0, y = 0;
    om_PointTowards(0, 10, 10, 10, 25, &x, &y);
    EXPECT_DOUBLE_EQ(2.5, x);
    EXPECT_DOUBLE_EQ(10, y);
    EXPECT_DOUBLE_EQ(5, om_PointDistance(0, 0, 3, 4));
    EXPECT_EQ(1, om_GraphicsOverlap(0, 0, 4, 4, 0, 4, 0));    // 4 apart, mean size 4
    EXPECT_EQ(0, om_GraphicsOverlap(0, 0, 4, 4.1, 0, 4, 0));
    EXPECT_EQ(0, om_GraphicsOverlap(0, 0, 2, -2, 4, 6, 0));   // 4.47 apart, mean size 4
    EXPECT_EQ(1, om_GraphicsOverlap(0, 0, 2, -2, 4, 6, 1));   // corners: centres (1,-1) and (1,1)
}

class Graphics : public PeripheryDoc {};

TEST_F(Graphics, ExtentsFollowTheFoldedAngle) {
    F_ObjHandleT frame = Frame(200, 100);
    F_ObjHandleT g = Graphic(FO_Rectangle, frame, 0, 0, 40, 10);
    struct Case {
        double angle, height, width;
    } cases[] = {{0, 10, 40}, {90, 40, 10}, {180, 10, 40}, {270, 40, 10}};
    for (const Case &c : cases) {
        F_ApiSetMetric(doc, g, FP_Angle, F_RealToMetric(c.angle));
        EXPECT_NEAR(c.height, om_GraphicExtentHeight(doc, g, 0, 0, 0), 1e-4) << c.angle;
        EXPECT_NEAR(c.width, om_GraphicExtentWidth(doc, g, 0, 0, 0), 1e-4) << c.angle;
    }
    F_ApiSetMetric(doc, g, FP_Angle, F_RealToMetric(30));
    EXPECT_NEAR(std::sin(60 * M_PI / 180) * 10 + std::sin(30 * M_PI / 180) * 40, om_GraphicExtentHeight(doc, g, 0, 0, 0), 1e-4);
    F_ApiSetMetric(doc, g, FP_BorderWidth, F_RealToMetric(2));
    F_ApiSetMetric(doc, g, FP_Angle, 0);
    EXPECT_NEAR(12, om_GraphicExtentHeight(doc, g, 0, 0, 1), 1e-4);
    EXPECT_EQ(0, om_GraphicExtentHeight(0, g, 0, 0, 0));

    om_GraphicSetHeightForExtent(doc, g, 25);
    EXPECT_NEAR(25, Metric(g, FP_Height), 1e-3);
    F_ApiSetMetric(doc, g, FP_Angle, F_RealToMetric(90));  // the height no longer changes the vertical extent
    om_GraphicSetHeightForExtent(doc, g, 99);
    EXPECT_NEAR(25, Metric(g, FP_Height), 1e-3);
}

TEST_F(Graphics, PlacingUsesLowerLeftCoordinatesInsideTheBorder) {
    F_ObjHandleT frame = Frame(200, 100);  // border 1 by default
    F_ObjHandleT g = om_GraphicPlace(doc, frame, 0, FO_Rectangle, 10, 20, 30, 40, 0);
    ASSERT_EQ(FO_Rectangle, F_ApiGetObjectType(doc, g));
    EXPECT_DOUBLE_EQ(11, Metric(g, FP_LocX));
    EXPECT_DOUBLE_EQ(100 - 21, Metric(g, FP_LocY));
    EXPECT_DOUBLE_EQ(30, Metric(g, FP_Height));
    EXPECT_DOUBLE_EQ(40, Metric(g, FP_Width));
    om_GraphicPlace(doc, frame, g, 0, 10, 20, 30, 40, 1);
    EXPECT_DOUBLE_EQ(11 - 20, Metric(g, FP_LocX));
    EXPECT_DOUBLE_EQ(79 - 15, Metric(g, FP_LocY));

    om_GraphicSetPosition(doc, frame, g, -10000, 5);
    EXPECT_DOUBLE_EQ(-9, Metric(g, FP_LocX));  // unchanged
    EXPECT_DOUBLE_EQ(94, Metric(g, FP_LocY));

    F_ObjHandleT line = om_GraphicLine(doc, frame, 0, 0, 0, 10, 10);
    F_IntsT pts = F_ApiGetInts(doc, line, FP_Points);
    ASSERT_EQ(4u, pts.len);
    EXPECT_EQ(F_RealToMetric(1), pts.val[0]);
    EXPECT_EQ(F_RealToMetric(99), pts.val[1]);
    EXPECT_EQ(F_RealToMetric(11), pts.val[2]);
    EXPECT_EQ(F_RealToMetric(89), pts.val[3]);
    F_ApiFreeIntList(&pts);
}

TEST_F(Graphics, PolygonsDrawADotAndALinePerPoint) {
    F_ObjHandleT frame = Frame(200, 100);
    IntT values[] = {100, 100, 300, 100, 200, 300};
    F_IntsT points{6, values};
    om_GraphicPolygon(doc, frame, 2, 0.5, &points, 10);
    F_UIntsT all = om_FrameGraphics(doc, frame, 0, 0);
    ASSERT_EQ(6u, all.len);
    EXPECT_EQ(FO_Oval, F_ApiGetObjectType(doc, all.val[0]));
    EXPECT_EQ(0, F_ApiGetInt(doc, all.val[0], FP_DotFlag));
    EXPECT_EQ(FO_Line, F_ApiGetObjectType(doc, all.val[1]));
    EXPECT_DOUBLE_EQ(0.5, Metric(all.val[1], 740));
    F_IntsT first = F_ApiGetInts(doc, all.val[1], FP_Points);  // from (10,10) back to the last point (20,30)
    EXPECT_EQ(F_RealToMetric(11), first.val[0]);
    EXPECT_EQ(F_RealToMetric(21), first.val[2]);
    F_ApiFreeIntList(&first);
    F_ApiFreeIdList(&all);

    F_ObjHandleT other = Frame(50, 50);
    om_GraphicPolygon(doc, other, 0, 1, &points, 0);  // divisor 0: the values as they stand, no infinities
    F_UIntsT lines = om_FrameGraphics(doc, other, 0, 0);
    ASSERT_EQ(3u, lines.len);
    F_IntsT p = F_ApiGetInts(doc, lines.val[0], FP_Points);
    EXPECT_EQ(F_RealToMetric(101), p.val[0]);
    F_ApiFreeIntList(&p);
    F_ApiFreeIdList(&lines);
    IntT one[] = {5};
    F_IntsT single{1, one};
    om_GraphicPolygon(doc, other, 1, 1, &single, 1);
    F_UIntsT still = om_FrameGraphics(doc, other, 0, 0);
    EXPECT_EQ(3u, still.len);
    F_ApiFreeIdList(&still);
}

TEST_F(Graphics, FrameGraphicFilesWithSlashModes) {
    F_ObjHandleT frame = Frame(100, 100);
    F_ObjHandleT inset = Graphic(FO_Inset, frame, 0, 0, 1, 1);
    F_ApiSetString(doc, inset, FP_InsetFile, "D:\\p\\a.png");
    Graphic(FO_Rectangle, frame, 0, 0, 1, 1);
    struct Case {
        IntT includeEmpty, mode;
        std::vector<std::string> want;
    } cases[] = {
        {1, 2, {"D:\\p\\a.png", "", "D:/p/a.png", ""}},
        {0, 2, {"D:\\p\\a.png", "D:/p/a.png"}},
        {1, 3, {"D:/p/a.png", ""}},
        {0, 1, {"D:\\p\\a.png"}},
    };
    for (const Case &c : cases) {
        F_StringsT files = om_FrameGraphicFiles(doc, frame, 0, 0, c.includeEmpty, c.mode);
        std::vector<std::string> got(files.val, files.val + files.len);
        EXPECT_EQ(c.want, got) << c.mode << " " << c.includeEmpty;
        F_ApiDeallocateStrings(&files);
    }
    // The frame through its element, and through the selection.
    F_ObjHandleT fig = F_ApiGetId(doc, frame, FP_Element);
    F_UIntsT byElement = om_FrameGraphics(doc, 0, fig, 0);
    EXPECT_EQ(2u, byElement.len);
    F_ApiFreeIdList(&byElement);
    F_ApiSetInt(doc, inset, FP_GraphicIsSelected, 1);
    F_UIntsT bySelection = om_FrameGraphics(doc, 0, 0, 1);
    ASSERT_EQ(1u, bySelection.len);
    EXPECT_EQ(inset, bySelection.val[0]);
    F_ApiFreeIdList(&bySelection);
    F_UIntsT notAFrame = om_FrameGraphics(doc, FirstBodyPage(), 0, 0);
    EXPECT_EQ(0u, notAFrame.len);
    F_ApiFreeIdList(&notAFrame);
}

TEST_F(Graphics, SelectionAndShowing) {
    F_ObjHandleT frame = Frame(100, 100);
    F_ObjHandleT a = Graphic(FO_Rectangle, frame, 0, 0, 1, 1);
    F_ObjHandleT b = Graphic(FO_Oval, frame, 0, 0, 1, 1);
    F_ObjHandleT f = 0, g = 0;
    EXPECT_EQ(0, om_SelectedFrameAndGraphic(doc, &f, &g));
    EXPECT_EQ(0u, f);
    F_ApiSetInt(doc, b, FP_GraphicIsSelected, 1);
    EXPECT_EQ(0, om_SelectedFrameAndGraphic(doc, &f, &g));
    EXPECT_EQ(frame, f);
    EXPECT_EQ(b, g);
    F_ApiSetInt(doc, frame, FP_GraphicIsSelected, 1);
    EXPECT_EQ(1, om_SelectedFrameAndGraphic(doc, &f, &g));  // a second graphic is selected
    EXPECT_EQ(frame, f);
    EXPECT_EQ(a, g);
    EXPECT_EQ(1, om_SelectedFrameAndGraphic(0, &f, &g));

    om_GraphicShow(doc, a, 0);  // a alone is selected, the anchor scrolled to
    EXPECT_EQ(a, F_ApiGetId(0, doc, FP_FirstSelectedGraphicInDoc));
    EXPECT_EQ(0u, F_ApiGetId(doc, a, FP_NextSelectedGraphicInDoc));
    om_DocDeselectGraphics(doc);
    EXPECT_EQ(0u, F_ApiGetId(0, doc, FP_FirstSelectedGraphicInDoc));
}

// The document's graphics one after the other: each anchored frame in document order (not the
// order they were made in, across flows) with the graphics it holds, then those on pages; deleted
// ones are passed over.
TEST_F(Graphics, NextGraphicInDocumentOrder) {
    F_ObjHandleT f1 = Frame(10, 10);
    F_ObjHandleT a = Graphic(FO_Rectangle, f1, 0, 0, 1, 1);
    F_ObjHandleT b = Graphic(FO_Oval, f1, 0, 0, 1, 1);
    F_ObjHandleT c = Graphic(FO_Oval, f1, 0, 0, 1, 1);
    F_ObjHandleT f2 = Frame(10, 10);
    F_ObjHandleT onPage1 = Graphic(FO_Rectangle, 0, 0, 0, 1, 1, FirstBodyPage());
    F_ObjHandleT onPage2 = Graphic(FO_Rectangle, 0, 0, 0, 1, 1, FirstBodyPage());
    F_ObjHandleT onPage3 = Graphic(FO_Rectangle, 0, 0, 0, 1, 1, FirstBodyPage());
    // A frame made last, inside the first paragraph, and one in a second flow's tree.
    F_ObjHandleT early = host::FrameOfElement(doc, host::AppendElement(doc, F_ApiGetId(doc, root, FP_FirstChildElement), figDef));
    F_ObjHandleT d = Graphic(FO_Rectangle, early, 0, 0, 1, 1);
    F_ObjHandleT side = host::AppendElement(doc, 0, docDef, host::AddFlow(doc, "Side"));
    F_ObjHandleT f3 = host::FrameOfElement(doc, host::AppendElement(doc, host::AppendElement(doc, side, paraDef), figDef));
    F_ApiDelete(doc, b);
    F_ApiDelete(doc, onPage2);
    auto walk = [&] {
        std::vector<F_ObjHandleT> all;
        for (F_ObjHandleT g = F_ApiGetId(0, doc, FP_FirstGraphicInDoc); g && all.size() < 100;
             g = F_ApiGetId(doc, g, FP_NextGraphicInDoc))
            all.push_back(g);
        return all;
    };
    using Ids = std::vector<F_ObjHandleT>;
    EXPECT_EQ(walk(), (Ids{f1, a, c, early, d, f2, f3, onPage1, onPage3}));
    EXPECT_EQ(walk(), host::DocumentGraphics(doc));
    // A frame's last graphic gone: the walk goes from the frame to the next frame.
    F_ApiDelete(doc, c);
    F_ApiDelete(doc, d);
    EXPECT_EQ(walk(), (Ids{f1, a, early, f2, f3, onPage1, onPage3}));
}

TEST_F(Graphics, ShrinkAndFit) {
    F_ObjHandleT frame = Frame(300, 300);
    F_ObjHandleT a = Graphic(FO_Rectangle, frame, 50, 60, 20, 10);
    F_ObjHandleT b = Graphic(FO_Rectangle, frame, 100, 80, 30, 40);
    F_ApiSetMetric(doc, frame, FP_Angle, F_RealToMetric(45));
    EXPECT_EQ(1, om_FrameShrinkToGraphics(doc, a, 0, 0, 5));
    EXPECT_DOUBLE_EQ(130 - 50 + 10, Metric(frame, FP_Width));
    EXPECT_DOUBLE_EQ(120 - 60 + 10, Metric(frame, FP_Height));
    EXPECT_DOUBLE_EQ(5, Metric(a, FP_LocX));
    EXPECT_DOUBLE_EQ(5, Metric(a, FP_LocY));
    EXPECT_DOUBLE_EQ(55, Metric(b, FP_LocX));
    EXPECT_DOUBLE_EQ(45, Metric(frame, FP_Angle));  // the angle comes back

    F_ObjHandleT box = Frame(100, 50);
    F_ObjHandleT pic = Graphic(FO_Inset, box, 0, 0, 20, 20);
    EXPECT_EQ(1, om_GraphicFitToFrame(doc, 0, box, 0, 5));
    EXPECT_DOUBLE_EQ(40, Metric(pic, FP_Height));  // limited by the height: 50 - 10
    EXPECT_DOUBLE_EQ(40, Metric(pic, FP_Width));
    EXPECT_DOUBLE_EQ(5, Metric(pic, FP_LocX));
    host::GraphicOf(doc, pic)->height = 0;
    EXPECT_EQ(0, om_GraphicFitToFrame(doc, pic, box, 0, 5));  // nothing to scale: no division by zero
    EXPECT_EQ(0, om_FrameShrinkToGraphics(doc, 0, 0, 0, 0));  // nothing selected
}

TEST_F(Graphics, PagesOfObjectsAndPageKinds) {
    Para("text");
    F_ObjHandleT frame = Frame(100, 100);
    F_ObjHandleT g = Graphic(FO_Rectangle, frame, 0, 0, 1, 1);
    F_ObjHandleT body = FirstBodyPage();
    EXPECT_EQ(body, om_PageOfObject(doc, g));
    EXPECT_EQ(0u, om_PageOfObject(doc, 0));
    EXPECT_EQ(body, om_ObjectPageClimb(doc, g));
    EXPECT_EQ(body, om_ObjectPageOfTextFrame(doc, g));
    EXPECT_EQ(body, om_ObjectPageOfTextFrame(doc, F_ApiGetId(0, doc, FP_FirstPgfInDoc)));
    F_ObjHandleT master = host::AddNamedPage(doc, FO_MasterPage, "Left");
    F_ObjHandleT ref = host::AddNamedPage(doc, FO_RefPage, "Ref");
    F_ObjHandleT hidden = host::AddNamedPage(doc, FO_OtherPage, "Hidden");
    F_ObjHandleT onMaster = Graphic(FO_Inset, 0, 0, 0, 1, 1, master);
    F_ObjHandleT onRef = Graphic(FO_Inset, 0, 0, 0, 1, 1, ref);
    F_ObjHandleT onHidden = Graphic(FO_Inset, 0, 0, 0, 1, 1, hidden);
    F_ObjHandleT inFrame = Graphic(FO_Inset, frame, 0, 0, 1, 1);
    for (F_ObjHandleT x : {onMaster, onRef, onHidden, inFrame}) F_ApiSetString(doc, x, FP_InsetFile, "a.png");
    EXPECT_EQ(master, om_ObjectPageClimb(doc, onMaster));
    EXPECT_EQ(0u, om_ObjectPageClimb(doc, onHidden));  // kind 8 is no page to climb to

    F_UIntsT all = om_DocImportedGraphics(doc, 0, 0);
    EXPECT_EQ(3u, all.len);  // the hidden page's graphic is left out
    om_GraphicsSortByPage(doc, &all);
    ASSERT_EQ(3u, all.len);
    EXPECT_EQ(inFrame, all.val[0]);
    EXPECT_EQ(onMaster, all.val[1]);
    EXPECT_EQ(onRef, all.val[2]);
    F_ApiFreeIdList(&all);
    F_UIntsT refOnly = om_DocImportedGraphics(doc, FO_RefPage, 0);
    ASSERT_EQ(1u, refOnly.len);
    EXPECT_EQ(onRef, refOnly.val[0]);
    F_ApiFreeIdList(&refOnly);

    // Showing a graphic on a master page turns the current page to the master pages.
    host::GraphicOf(doc, onMaster)->selected = 1;
    om_GraphicShow(doc, inFrame, 0);
    EXPECT_EQ(body, F_ApiGetId(0, doc, FP_CurrentPage));
    EXPECT_EQ(0, F_ApiGetInt(doc, onMaster, FP_GraphicIsSelected));
    EXPECT_EQ(1, F_ApiGetInt(doc, inFrame, FP_GraphicIsSelected));
}

TEST_F(Graphics, FlowsTextRangeAndDeletion) {
    for (int i = 0; i < 50; ++i) Para("p" + std::to_string(i));  // two text frames
    F_ObjHandleT flow = F_ApiGetId(0, doc, FP_MainFlowInDoc);
    F_TextRangeT r = om_FlowTextRange(doc, flow);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstPgfInDoc), r.beg.objId);
    EXPECT_EQ(FV_OBJ_END_OFFSET, r.end.offset);
    F_ObjHandleT second = F_ApiGetId(doc, F_ApiGetId(doc, flow, FP_FirstTextFrameInFlow), FP_NextTextFrameInFlow);
    EXPECT_EQ(F_ApiGetId(doc, second, FP_LastPgf), r.end.objId);
    om_FlowDeleteContents(doc, flow);
    EXPECT_EQ(0u, F_ApiGetId(doc, flow, FP_HighestLevelElement));
}

TEST_F(Graphics, ImportReportsABadFile) {
    Para("here");
    F_TextRangeT at{{F_ApiGetId(0, doc, FP_FirstPgfInDoc), 0}, {F_ApiGetId(0, doc, FP_FirstPgfInDoc), 0}};
    F_ApiSetTextRange(0, doc, FP_TextSelection, &at);
    std::ofstream(dir / "pic.png") << "png";
    EXPECT_EQ(1, om_DocImportFile(doc, Win(dir / "pic.png").c_str(), 1, 7, 9));
    EXPECT_EQ(0, om_DocImportFile(doc, Win(dir / "missing.png").c_str(), 0, 0, 0));
    EXPECT_EQ(0, om_DocImportFile(doc, "", 0, 0, 0));
    EXPECT_EQ(0, om_DocImportFile(0, "x", 0, 0, 0));
}

}  // namespace
