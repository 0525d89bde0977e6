// A document for the page, graphic and word-count tests, built through the host model: a main
// flow of paragraphs (with a table and a footnote when asked), a flow placed on a master page,
// anchored frames holding graphics, graphics on pages, a temporary folder and the scripted user.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fdk.h"
#include "book_model.h"
#include "graphics.h"
#include "model.h"
#include "paths.h"
#include "tables.h"
#include "transcript.h"
#include "user.h"

#include "lib/globals.h"

#include <unistd.h>

class PeripheryDoc : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        host::ResetUser();
        host::ClearTranscript();
        FA_errno = 0;
        StatusCode = 0;
        CancelFlag = 0;
        dir = std::filesystem::temp_directory_path() / ("qv_periphery_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        doc = NewDoc("Z:\\t\\periphery.fm");
    }
    void TearDown() override {
        host::ResetUser();
        host::ResetSession();
        std::filesystem::remove_all(dir);
    }

    // A document with the definitions Doc, Para (format "Body"), Note (footnote, format "Note"),
    // Figure (graphic) and Var (system variable); its root holds nothing yet.
    F_ObjHandleT NewDoc(const std::string &path) {
        F_ObjHandleT d = host::NewDocument(path);
        docDef = host::AddElementDef(d, "Doc");
        paraDef = host::AddElementDef(d, "Para", FV_FO_CONTAINER, "Body");
        noteDef = host::AddElementDef(d, "Note", FV_FO_FOOTNOTE, "Note");
        figDef = host::AddElementDef(d, "Figure", FV_FO_GRAPHIC);
        root = host::AppendElement(d, 0, docDef, host::MainFlow(d));
        return d;
    }
    // Appends a paragraph of text to an element (the root by default); the paragraph element.
    F_ObjHandleT Para(const std::string &text, F_ObjHandleT parent = 0) {
        F_ObjHandleT p = host::AppendElement(doc, parent ? parent : root, paraDef);
        if (!text.empty()) host::AppendText(doc, p, text);
        return p;
    }
    // An anchored frame (a Figure element in a new paragraph) of the given size in points.
    F_ObjHandleT Frame(double width, double height) {
        F_ObjHandleT p = Para("");
        F_ObjHandleT fig = host::AppendElement(doc, p, figDef);
        F_ObjHandleT frame = host::FrameOfElement(doc, fig);
        host::Graphic *g = host::GraphicOf(doc, frame);
        g->width = F_RealToMetric(width);
        g->height = F_RealToMetric(height);
        return frame;
    }
    // A graphic in a frame (or on a page) with its box in points.
    F_ObjHandleT Graphic(int kind, F_ObjHandleT frame, double x, double y, double w, double h, F_ObjHandleT page = 0) {
        F_ObjHandleT g = host::AddGraphic(doc, kind, frame, page);
        host::Graphic *r = host::GraphicOf(doc, g);
        r->x = F_RealToMetric(x);
        r->y = F_RealToMetric(y);
        r->width = F_RealToMetric(w);
        r->height = F_RealToMetric(h);
        return g;
    }
    double Metric(F_ObjHandleT obj, IntT prop) { return F_MetricToReal(F_ApiGetMetric(doc, obj, prop)); }
    F_ObjHandleT FirstBodyPage() { return F_ApiGetId(0, doc, FP_FirstBodyPageInDoc); }

    static void Answer(const char *value) {
        host::UserAnswer a;
        a.kind = "alert";
        a.value = value;
        host::QueueAnswer(a);
    }
    static bool Shown(const std::string &text) {
        for (const auto &l : host::TranscriptLines())
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
    static std::string Win(const std::filesystem::path &p) { return host::WindowsPath(p.string()); }

    std::filesystem::path dir;
    F_ObjHandleT doc = 0, docDef = 0, paraDef = 0, noteDef = 0, figDef = 0, root = 0;
};
