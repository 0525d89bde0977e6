// Booleans read from an element: by attribute name, by index, or from the element's text.
#include "elements_fixture.h"
#include "lib/host/attr_bool.h"
#include "lib/strings/keyvalue.h"
#include "model.h"

namespace {

using AttrBool = ElementsDoc;

TEST_F(AttrBool, ByNameIndexAndText) {
    host::SetAttribute(doc, p1, "kind", {"yes"});
    EXPECT_EQ(om_AttrGetBool(doc, p1, "kind", -1, 0), 1);
    host::SetAttribute(doc, p1, "kind", {"No"});
    EXPECT_EQ(om_AttrGetBool(doc, p1, "kind", -1, 1), 0);
    EXPECT_EQ(om_AttrGetBool(doc, p1, "", 1, 1), 0);  // the attribute at index 1 is "kind"
    EXPECT_EQ(om_AttrGetBool(doc, p1, "", 9, 7), 7);
    EXPECT_EQ(om_AttrGetBool(doc, title, "", -1, 1), 1);  // "Intro" is no boolean word: default
    host::AppendText(doc, empty, "  false");
    EXPECT_EQ(om_AttrGetBool(doc, empty, "", -1, 1), 0);
}

TEST_F(AttrBool, AFailedReadGivesTheDefaultNotTrue) {
    // The failed-read text begins with "T"; it must not read as true.
    EXPECT_EQ(om_AttrGetBool(doc, p1, "missing", -1, 0), 0);
    EXPECT_EQ(om_AttrGetBool(0, p1, "kind", -1, 0), 0);
    FA_errno = 0;
}

}  // namespace
