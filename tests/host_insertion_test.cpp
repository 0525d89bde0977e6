// The host's insertion of a table at the document's insertion point, and the clipboard carrying
// a marker element's marker.
#include <gtest/gtest.h>

#include "fdk.h"
#include "model.h"

namespace {

class HostInsertion : public ::testing::Test {
  protected:
    void SetUp() override {
        host::ResetSession();
        doc = host::NewDocument("Z:\\t\\a.fm");
        F_ObjHandleT c = host::AddElementDef(doc, "C");
        F_ObjHandleT p = host::AddElementDef(doc, "P", FV_FO_CONTAINER, "Body");
        markDef = host::AddElementDef(doc, "M", FV_FO_MARKER);
        root = host::AppendElement(doc, 0, c, host::MainFlow(doc));
        first = host::AppendElement(doc, root, p);
        host::AppendText(doc, first, "one");
        second = host::AppendElement(doc, root, p);
        host::AppendText(doc, second, "two");
    }
    F_ObjHandleT doc = 0, root = 0, first = 0, second = 0, markDef = 0;
};

TEST_F(HostInsertion, TableGoesAtTheInsertionPointBeforeAnElement) {
    // The text location of the start of "two" is also the end of "one": the insertion point
    // set before the second element decides.
    F_ElementRangeT ip{{root, second, 0}, {root, second, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &ip);
    F_TextLocT at = F_ApiElementLocToTextLoc(doc, &ip.beg);
    F_ObjHandleT table = F_ApiNewTable(doc, "", 1, 1, 0, 0, &at);
    ASSERT_NE(table, 0u);
    F_ObjHandleT tableElem = F_ApiGetId(doc, table, FP_Element);
    EXPECT_EQ(F_ApiGetId(doc, tableElem, FP_ParentElement), root);
    EXPECT_EQ(F_ApiGetId(doc, tableElem, FP_NextSiblingElement), second);
}

TEST_F(HostInsertion, CopiedMarkerKeepsItsTextAndType) {
    F_ObjHandleT mark = host::AppendElement(doc, first, markDef);
    F_ObjHandleT obj = F_ApiGetId(doc, mark, FP_Object);
    F_ApiSetString(doc, obj, FP_MarkerText, "note");
    F_ApiSetId(doc, obj, FP_MarkerTypeId, F_ApiNewNamedObject(doc, FO_MarkerType, "Comment"));
    F_ElementRangeT whole{{first, mark, 0}, {first, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &whole);
    ASSERT_EQ(F_ApiCopy(doc, 0), 0);
    F_ElementRangeT end{{second, 0, 0}, {second, 0, 0}};
    F_ApiSetElementRange(0, doc, FP_ElementSelection, &end);
    ASSERT_EQ(F_ApiPaste(doc, 0), 0);
    F_ObjHandleT copy = 0;
    for (F_ObjHandleT c = F_ApiGetId(doc, second, FP_FirstChildElement); c; c = F_ApiGetId(doc, c, FP_NextSiblingElement))
        if (F_ApiGetInt(doc, c, FP_ElementType) == FV_FO_MARKER) copy = c;
    ASSERT_NE(copy, 0u);
    F_ObjHandleT copyObj = F_ApiGetId(doc, copy, FP_Object);
    EXPECT_NE(copyObj, obj);
    StringT text = F_ApiGetString(doc, copyObj, FP_MarkerText);
    EXPECT_STREQ(text, "note");
    F_ApiDeallocateString(&text);
    F_ObjHandleT type = F_ApiGetId(doc, copyObj, FP_MarkerTypeId);
    StringT name = F_ApiGetString(doc, type, FP_Name);
    EXPECT_STREQ(name, "Comment");
    F_ApiDeallocateString(&name);
}

}  // namespace
