// A small structured document for the element-layer tests, built through the host model.
//
//   Doc
//     Sec id="s1"
//       Title "Intro"
//       Para id="p1" kind="a" "ab" <B>"cd"</B> "ef"
//       Para id="p2" "x" <Para>"nested"</Para> "y"
//     Sec id="s2"
//       Para (empty)
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"
#include "records.h"

// Sets condition tags over a text range of a document.
inline void SetConditions(F_ObjHandleT doc, const F_TextRangeT &range, const std::vector<IntT> &tags) {
    F_PropValT cond{};
    cond.propIdent = FP_InCond;
    cond.propVal.valType = FT_Ints;
    cond.propVal.isval = host::NewInts(tags);
    F_ApiSetTextPropVal(doc, &range, &cond);
    F_ApiFreeIntList(&cond.propVal.isval);
}

class ElementsDoc : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        FA_errno = 0;
        doc = host::NewDocument("Z:\\t\\elements.fm");
        docDef = host::AddElementDef(doc, "Doc");
        secDef = host::AddElementDef(doc, "Sec");
        titleDef = host::AddElementDef(doc, "Title", FV_FO_CONTAINER, "Heading");
        paraDef = host::AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        bDef = host::AddElementDef(doc, "B");
        for (F_ObjHandleT d : {secDef, paraDef}) {
            host::AttrDef id;
            id.name = "id";
            id.type = FV_AT_UNIQUE_ID;
            host::AddAttributeDef(d, id);
            host::AttrDef kind;
            kind.name = "kind";
            kind.defaults = {"dflt"};
            host::AddAttributeDef(d, kind);
        }
        root = host::AppendElement(doc, 0, docDef, host::MainFlow(doc));
        s1 = host::AppendElement(doc, root, secDef);
        host::SetAttribute(doc, s1, "id", {"s1"});
        title = host::AppendElement(doc, s1, titleDef);
        host::AppendText(doc, title, "Intro");
        p1 = host::AppendElement(doc, s1, paraDef);
        host::SetAttribute(doc, p1, "id", {"p1"});
        host::SetAttribute(doc, p1, "kind", {"a"});
        tab = host::AppendText(doc, p1, "ab");
        b = host::AppendElement(doc, p1, bDef);
        tcd = host::AppendText(doc, b, "cd");
        tef = host::AppendText(doc, p1, "ef");
        p2 = host::AppendElement(doc, s1, paraDef);
        host::SetAttribute(doc, p2, "id", {"p2"});
        host::AppendText(doc, p2, "x");
        nested = host::AppendElement(doc, p2, paraDef);
        host::AppendText(doc, nested, "nested");
        host::AppendText(doc, p2, "y");
        s2 = host::AppendElement(doc, root, secDef);
        host::SetAttribute(doc, s2, "id", {"s2"});
        empty = host::AppendElement(doc, s2, paraDef);
    }

  public:
    // The tags of the element's subtree in document order, text nodes as their text in quotes.
    std::string Outline(F_ObjHandleT e) {
        host::Element *x = host::Elem(e);
        if (!x) return "?";
        if (!x->def) return "'" + x->text + "'";
        std::string s = host::Def(x->def)->name;
        if (!x->first) return s;
        s += "(";
        for (F_ObjHandleT c = x->first; c; c = host::Elem(c)->next) s += (c == x->first ? "" : " ") + Outline(c);
        return s + ")";
    }

    F_ObjHandleT doc = 0, docDef = 0, secDef = 0, titleDef = 0, paraDef = 0, bDef = 0;
    F_ObjHandleT root = 0, s1 = 0, title = 0, p1 = 0, tab = 0, b = 0, tcd = 0, tef = 0, p2 = 0, nested = 0, s2 = 0,
                 empty = 0;
};
