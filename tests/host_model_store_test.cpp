// Object store, ids, session and document properties, element tree reads, stale ids.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fdk.h"
#include "model.h"

namespace {

using namespace host;

class ModelStore : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSession();
        FA_errno = 0;
        doc = NewDocument("Z:\\tmp\\a.fm");
        def = AddElementDef(doc, "Section");
        para = AddElementDef(doc, "Para", FV_FO_CONTAINER, "Body");
        AttrDef id;
        id.name = "id";
        id.type = FV_AT_UNIQUE_ID;
        AddAttributeDef(para, id);
        root = AppendElement(doc, 0, def, MainFlow(doc));
        p1 = AppendElement(doc, root, para);
        t1 = AppendText(doc, p1, "hello");
        p2 = AppendElement(doc, root, para);
    }
    void TearDown() override { ResetSession(); }
    std::string Str(F_ObjHandleT d, F_ObjHandleT o, IntT prop) {
        StringT s = F_ApiGetString(d, o, prop);
        std::string out = s ? s : "<null>";
        F_ApiDeallocateString(&s);
        return out;
    }
    F_ObjHandleT doc = 0, def = 0, para = 0, root = 0, p1 = 0, t1 = 0, p2 = 0;
};

TEST_F(ModelStore, IdsCarryKindAndCounterFrom1000) {
    EXPECT_EQ(KindOf(doc), FO_Doc);
    EXPECT_EQ(KindOf(root), FO_Element);
    EXPECT_GE(CounterOf(root), 1000u);
    EXPECT_EQ(F_ApiGetObjectType(0, doc), FO_Doc);
    EXPECT_EQ(F_ApiGetObjectType(doc, p1), FO_Element);
    EXPECT_EQ(F_ApiGetObjectType(doc, def), FO_ElementDef);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(F_ApiGetObjectType(doc, 0), 0);
    EXPECT_NE(FA_errno, 0);
}

// Past the last id of a kind the host makes nothing of that kind (FA_errno) instead of letting
// the counter run into the kind byte; the refused edit changes nothing, other kinds go on.
TEST_F(ModelStore, PastTheLastIdOfAKindNothingOfItIsMade) {
    struct Case {
        const char *what;
        int kind;
        std::function<F_ObjHandleT(int)> make;  // the n-th object of the kind, or 0
    };
    const Case cases[] = {
        {"element", FO_Element,
         [&](int) {
             F_ElementLocT at{root, 0, 0};
             return F_ApiNewElement(doc, para, &at);
         }},
        {"paragraph format", FO_PgfFmt,
         [&](int n) { return F_ApiNewNamedObject(doc, FO_PgfFmt, ("Fmt" + std::to_string(n)).c_str()); }},
        {"document", FO_Doc, [&](int) { return NewDocument("Z:\\tmp\\more.fm"); }},
    };
    auto childCount = [&] {
        size_t n = 0;
        F_ObjHandleT e = F_ApiGetId(doc, root, FP_FirstChildElement);
        for (; e; e = F_ApiGetId(doc, e, FP_NextSiblingElement)) ++n;
        return n;
    };
    for (const Case &c : cases) {
        // The store keeps objects by counter: start the session a few ids before the last one.
        ResetSession();
        uint32_t saved = SetNextObjectCounter(c.kind, kLastCounter - 16);
        ResetSession();
        SetUp();
        SetNextObjectCounter(c.kind, kLastCounter);
        SetLastObjectCounter(c.kind, kLastCounter);  // nor any closed document's ids to make again
        F_ObjHandleT last = c.make(1);
        EXPECT_EQ(KindOf(last), c.kind) << c.what;
        EXPECT_EQ(CounterOf(last), kLastCounter) << c.what;
        size_t children = childCount();
        FA_errno = 0;
        EXPECT_EQ(c.make(2), 0u) << c.what;
        EXPECT_EQ(FA_errno, FE_NoMoreIds) << c.what;
        EXPECT_EQ(childCount(), children) << c.what;
        // Another kind is not affected.
        EXPECT_NE(F_ApiNewNamedObject(doc, FO_CharFmt, c.what), 0u) << c.what;
        ResetSession();
        SetNextObjectCounter(c.kind, saved);
        ResetSession();
    }
}

TEST_F(ModelStore, TreeReads) {
    EXPECT_EQ(F_ApiGetId(0, doc, FP_HighestLevelElement), root);
    EXPECT_EQ(F_ApiGetId(doc, MainFlow(doc), FP_HighestLevelElement), root);
    EXPECT_EQ(F_ApiGetId(doc, root, FP_FirstChildElement), p1);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_NextSiblingElement), p2);
    EXPECT_EQ(F_ApiGetId(doc, p2, FP_PrevSiblingElement), p1);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_ParentElement), root);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_FirstChildElement), t1);
    EXPECT_EQ(F_ApiGetId(doc, t1, FP_ElementDef), 0u);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_ElementDef), para);
    EXPECT_EQ(Str(doc, para, FP_Name), "Para");
    EXPECT_EQ(F_ApiGetInt(doc, para, FP_ElementDefType), FV_FO_CONTAINER);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstElementDefInDoc), def);
    EXPECT_EQ(F_ApiGetId(doc, def, FP_NextElementDefInDoc), para);
    EXPECT_EQ(F_ApiGetId(doc, para, FP_NextElementDefInDoc), 0u);
    EXPECT_EQ(Str(doc, MainFlow(doc), FP_Name), "Main");
    EXPECT_NE(F_ApiGetInt(doc, p1, FP_Unique), F_ApiGetInt(doc, p2, FP_Unique));
    EXPECT_EQ(FA_errno, 0);
}

// The walk in document order hands on what the tree reads give (comments and instructions passed
// over), within the subtree asked for and from the element asked for; a non-zero answer stops it.
TEST_F(ModelStore, ElementWalkFollowsTheTreeReads) {
    AppendMisc(doc, root, true, "between");
    F_ObjHandleT sec = AppendElement(doc, root, def);
    F_ObjHandleT p3 = AppendElement(doc, sec, para);
    F_ObjHandleT t3 = AppendText(doc, p3, "x");
    AppendMisc(doc, sec, true, "last");
    F_ObjHandleT p4 = AppendElement(doc, root, para);
    struct Seen {
        std::vector<F_ObjHandleT> ids;
        size_t stopAt = 0;
        bool linksAgree = true;
        F_ObjHandleT doc = 0;
    };
    F_ElementReadFnT fn = [](const F_ElementReadT *e, PtrT arg) -> IntT {
        Seen &s = *static_cast<Seen *>(arg);
        s.ids.push_back(e->elemId);
        s.linksAgree = s.linksAgree && e->elemDefId == F_ApiGetId(s.doc, e->elemId, FP_ElementDef) &&
                       e->firstChildId == F_ApiGetId(s.doc, e->elemId, FP_FirstChildElement);
        return s.ids.size() == s.stopAt ? 5 : 0;
    };
    using Ids = std::vector<F_ObjHandleT>;
    struct Case {
        F_ObjHandleT root, from;
        Ids want;
    };
    const Case cases[] = {
        {root, 0, {root, p1, t1, p2, sec, p3, t3, p4}},
        {sec, 0, {sec, p3, t3}},
        {root, p1, {t1, p2, sec, p3, t3, p4}},
        {sec, sec, {p3, t3}},
        {sec, t3, {}},
        {0, t1, {p2, sec, p3, t3, p4}},
        {p2, 0, {p2}},
    };
    for (const Case &c : cases) {
        Seen seen;
        seen.doc = doc;
        EXPECT_EQ(F_ApiReadElements(doc, c.root, c.from, fn, &seen), 0) << c.root << " " << c.from;
        EXPECT_EQ(seen.ids, c.want) << c.root << " " << c.from;
        EXPECT_TRUE(seen.linksAgree);
    }
    // A chain deeper than the walk keeps in mind, each level with a leaf after its nested
    // element: the walk climbs back through every level to the leaf there.
    F_ObjHandleT top = AppendElement(doc, root, def);
    Ids down{top}, leaves;
    for (int i = 0; i < 100; ++i) {
        down.push_back(AppendElement(doc, down.back(), def));
        leaves.insert(leaves.begin(), AppendElement(doc, down[down.size() - 2], para));
    }
    Ids deep = down;
    deep.insert(deep.end(), leaves.begin(), leaves.end());
    for (F_ObjHandleT from : {F_ObjHandleT(0), down[80]}) {
        Seen walk;
        walk.doc = doc;
        EXPECT_EQ(F_ApiReadElements(doc, top, from, fn, &walk), 0);
        Ids want = deep;
        if (from) want.erase(want.begin(), want.begin() + 81);
        EXPECT_EQ(walk.ids, want) << from;
    }
    Seen seen;
    seen.stopAt = 2;
    EXPECT_EQ(F_ApiReadElements(doc, root, 0, fn, &seen), 5);
    EXPECT_EQ(seen.ids, (Ids{root, p1}));
    // A start outside the subtree, or an element that is not there, fails.
    FA_errno = 0;
    EXPECT_EQ(F_ApiReadElements(doc, sec, p1, fn, &seen), -1);
    EXPECT_EQ(FA_errno, FE_BadParameter);
    FA_errno = 0;
    EXPECT_EQ(F_ApiReadElements(doc, root + 999, 0, fn, &seen), -1);
    EXPECT_EQ(FA_errno, FE_BadObjId);
}

TEST_F(ModelStore, SessionAndDocumentValues) {
    EXPECT_EQ(F_ApiGetInt(0, 0, FP_VersionMajor), 16);
    TheSession().versionMajor = 15;
    EXPECT_EQ(F_ApiGetInt(0, 0, FP_VersionMajor), 15);
    F_ObjHandleT hidden = NewDocument("", "Untitled1", false);
    EXPECT_EQ(F_ApiGetId(0, 0, FP_FirstOpenDoc), doc);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_NextOpenDocInSession), hidden);
    EXPECT_EQ(F_ApiGetId(0, hidden, FP_NextOpenDocInSession), 0u);
    EXPECT_EQ(F_ApiGetInt(0, hidden, FP_IsOnScreen), 0);
    EXPECT_EQ(Str(0, doc, FP_Label), "a.fm");
    EXPECT_EQ(Str(0, hidden, FP_Path), "");
    F_ApiSetString(0, doc, FP_Label, "Report");
    EXPECT_EQ(Str(0, doc, FP_Label), "Report");
    F_ApiSetInt(0, doc, FP_ScreenW, 777);
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_ScreenW), 777);
    F_ApiSetInt(0, doc, FP_DocSwitch1, 5);  // stored without effect
    EXPECT_EQ(F_ApiGetInt(0, doc, FP_DocSwitch1), 5);
    EXPECT_NE(F_ApiGetId(0, doc, FP_FirstPgfFmtInDoc), 0u);  // "Body" exists
    EXPECT_EQ(Str(doc, F_ApiGetId(0, doc, FP_FirstPgfFmtInDoc), FP_Name), "Body");
    F_ApiSetId(0, 0, FP_ActiveDoc, hidden);
    EXPECT_EQ(F_ApiGetId(0, 0, FP_ActiveDoc), hidden);
    EXPECT_EQ(FA_errno, 0);
    // Closing: ids go stale, the open list and the active document forget it.
    EXPECT_EQ(F_ApiClose(hidden, 1), 0);
    EXPECT_EQ(F_ApiGetId(0, 0, FP_ActiveDoc), 0u);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_NextOpenDocInSession), 0u);
    F_ApiSetId(0, 0, FP_ActiveDoc, hidden);
    EXPECT_NE(FA_errno, 0);
}

// Every call kind on 0, a closed document's objects, a deleted-kind id and an object given
// with another document answers its failure value and sets FA_errno.
TEST_F(ModelStore, StaleAndForeignIdsFailQuietly) {
    F_ObjHandleT other = NewDocument("Z:\\tmp\\b.fm");
    F_ObjHandleT closedDoc = NewDocument("Z:\\tmp\\c.fm");
    F_ObjHandleT cdef = AddElementDef(closedDoc, "X");
    F_ObjHandleT croot = AppendElement(closedDoc, 0, cdef, MainFlow(closedDoc));
    ASSERT_EQ(F_ApiClose(closedDoc, 1), 0);
    struct Case {
        F_ObjHandleT doc, obj;
    };
    const Case cases[] = {{doc, 0}, {closedDoc, croot}, {0, closedDoc}, {other, p1}, {doc, 0x2A00FFFFu}, {0, p1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.doc << " " << c.obj);
        FA_errno = 0;
        EXPECT_EQ(F_ApiGetId(c.doc, c.obj, FP_ParentElement), 0u);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        EXPECT_EQ(F_ApiGetInt(c.doc, c.obj, FP_Unique), 0);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        EXPECT_EQ(F_ApiGetString(c.doc, c.obj, FP_Label), nullptr);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        F_StringsT ss = F_ApiGetStrings(c.doc, c.obj, FP_DlgLabels);
        EXPECT_EQ(ss.len, 0u);
        EXPECT_NE(ss.val, nullptr);  // an empty record, not a freed one
        F_ApiDeallocateStrings(&ss);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        F_ElementRangeT er = F_ApiGetElementRange(c.doc, c.obj, FP_ElementSelection);
        EXPECT_EQ(er.beg.parentId, 0u);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        F_TextRangeT tr = F_ApiGetTextRange(c.doc, c.obj, FP_TextSelection);
        EXPECT_EQ(tr.beg.objId, 0u);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        F_AttributesT as = F_ApiGetAttributes(c.doc, c.obj);
        EXPECT_EQ(as.len, 0u);
        F_ApiDeallocateAttributes(&as);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        F_ApiSetInt(c.doc, c.obj, FP_UserString, 1);
        EXPECT_NE(FA_errno, 0);
        FA_errno = 0;
        EXPECT_EQ(F_ApiGetObjectType(c.doc, c.obj), 0);
        EXPECT_NE(FA_errno, 0);
    }
    // The good document's objects are untouched by all this.
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_ParentElement), root);
}

// A closed document's elements give their room to later elements: the old ids stay dead, the new
// ones are new and start empty.
TEST_F(ModelStore, AClosedDocumentsElementsStayDeadWhenTheirRoomIsTaken) {
    F_ObjHandleT other = NewDocument("Z:\\tmp\\b.fm");
    F_ObjHandleT sec = AddElementDef(other, "Sec");
    F_ObjHandleT top = AppendElement(other, 0, sec, MainFlow(other));
    F_ObjHandleT kid = AppendElement(other, top, sec);
    ASSERT_TRUE(CloseDocument(other));
    F_ObjHandleT made[4];
    for (F_ObjHandleT &m : made) m = AppendElement(doc, p2, para);
    for (F_ObjHandleT old : {top, kid}) {
        EXPECT_EQ(Elem(old), nullptr);
        EXPECT_NE(F_ApiGetObjectType(doc, old), FO_Element);
        for (F_ObjHandleT m : made) EXPECT_NE(m, old);
    }
    for (F_ObjHandleT m : made) {
        ASSERT_NE(Elem(m), nullptr);
        EXPECT_EQ(F_ApiGetId(doc, m, FP_ParentElement), p2);
        EXPECT_EQ(F_ApiGetId(doc, m, FP_FirstChildElement), 0u);
    }
    EXPECT_EQ(F_ApiGetId(doc, root, FP_FirstChildElement), p1);
}

TEST_F(ModelStore, WrongPropertyTypeAndNumberFail) {
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetString(doc, p1, FP_ParentElement), nullptr);
    EXPECT_EQ(FA_errno, FE_BadPropType);
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetInt(doc, p1, 99999), 0);
    EXPECT_EQ(FA_errno, FE_BadPropNum);
    FA_errno = 0;
    F_ApiSetId(doc, p1, FP_ParentElement, root);  // read-only
    EXPECT_EQ(FA_errno, FE_ReadOnly);
}

// A scalar property reads back through the typed calls and the general ones (the property list
// calls and the table reads) alike, whichever of them wrote it.
TEST_F(ModelStore, TypedAndGeneralCallsReachTheSameValue) {
    struct Case {
        F_ObjHandleT docArg, obj;
        IntT prop;
        bool text;
    };
    const Case cases[] = {
        {0, doc, FP_Label, true},          // a field
        {0, doc, FP_ScreenX, false},       // a field
        {0, doc, FP_XmpPacket, true},      // kept per object
        {0, doc, FP_DocMetric, false},     // kept per object
        {doc, p1, FP_UserString, true},    // kept per element
        {0, 0, FP_Displaying, false},      // kept for the session, 1 until written
    };
    EXPECT_EQ(F_ApiGetInt(0, 0, FP_Displaying), 1);
    int round = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.prop);
        const std::string text = "v" + std::to_string(++round);
        const IntT number = 100 + round;
        FA_errno = 0;
        if (c.text)
            F_ApiSetString(c.docArg, c.obj, c.prop, text.c_str());
        else
            F_ApiSetInt(c.docArg, c.obj, c.prop, number);
        EXPECT_EQ(FA_errno, 0);
        PropValue v;
        ASSERT_TRUE(GetProperty(c.docArg, c.obj, c.prop, v));
        if (c.text)
            EXPECT_EQ(v.s, text);
        else
            EXPECT_EQ(v.i, number);

        // Written through a property list, read through the typed call and in the object's list.
        F_PropValT pv{};
        pv.propIdent = c.prop;
        pv.propVal.valType = c.text ? FT_String : FT_Integer;
        std::string listed = text + "L";
        pv.propVal.sval = listed.data();
        pv.propVal.ival = number + 1000;
        F_PropValsT list{1, &pv};
        F_ApiSetProps(c.docArg, c.obj, &list);
        if (c.text)
            EXPECT_EQ(Str(c.docArg, c.obj, c.prop), listed);
        else
            EXPECT_EQ(F_ApiGetInt(c.docArg, c.obj, c.prop), number + 1000);
        F_PropValsT all = F_ApiGetProps(c.docArg, c.obj);
        IntT at = F_ApiGetPropIndex(&all, c.prop);
        ASSERT_GE(at, 0);
        const F_TypedValT &got = all.val[at].propVal;
        if (c.text)
            EXPECT_STREQ(got.sval, listed.c_str());
        else
            EXPECT_EQ(got.ival, number + 1000);
        F_ApiDeallocatePropVals(&all);
    }
}

// The typed calls fail as the general ones do: the wrong type, a read-only property, a stale
// object, a value the property refuses.
TEST_F(ModelStore, TypedCallsNameTheirFailures) {
    F_ObjHandleT closed = NewDocument("Z:\\tmp\\closed.fm");
    ASSERT_TRUE(CloseDocument(closed));
    struct Case {
        const char *what;
        std::function<void()> call;
        IntT failure;
    };
    const Case cases[] = {
        {"int on a string", [&] { F_ApiSetInt(0, doc, FP_Label, 1); }, FE_BadPropType},
        {"string on an int", [&] { F_ApiSetString(0, doc, FP_ScreenX, "1"); }, FE_BadPropType},
        {"read int of a string", [&] { F_ApiGetInt(doc, p1, FP_UserString); }, FE_BadPropType},
        {"read-only string", [&] { F_ApiSetString(0, doc, FP_Path, "Z:\\x.fm"); }, FE_ReadOnly},
        {"read-only int", [&] { F_ApiSetInt(0, 0, FP_VersionMajor, 3); }, FE_ReadOnly},
        {"closed document, read", [&] { F_ApiGetString(0, closed, FP_Label); }, FE_BadObjId},
        {"closed document, write", [&] { F_ApiSetInt(0, closed, FP_ScreenX, 1); }, FE_BadObjId},
        {"element of another document", [&] { F_ApiGetString(closed, p1, FP_UserString); }, FE_BadObjId},
        {"active document not a document", [&] { F_ApiSetId(0, 0, FP_ActiveDoc, p1); }, FE_BadObjId},
        {"unknown number", [&] { F_ApiSetString(0, doc, 99999, "x"); }, FE_BadPropNum},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FA_errno = 0;
        c.call();
        EXPECT_EQ(FA_errno, c.failure);
    }
    EXPECT_EQ(Str(0, doc, FP_Path), "Z:\\tmp\\a.fm");
    EXPECT_EQ(F_ApiGetInt(0, 0, FP_VersionMajor), 16);
}

TEST_F(ModelStore, NamedObjects) {
    EXPECT_EQ(F_ApiGetNamedObject(doc, FO_ElementDef, "Para"), para);
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetNamedObject(doc, FO_ElementDef, "Nope"), 0u);
    EXPECT_NE(FA_errno, 0);
    FA_errno = 0;
    F_ObjHandleT red = F_ApiNewNamedObject(doc, FO_CondFmt, "Red");
    F_ObjHandleT blue = F_ApiNewNamedObject(doc, FO_CondFmt, "Blue");
    EXPECT_EQ(KindOf(red), FO_CondFmt);
    EXPECT_EQ(F_ApiGetNamedObject(doc, FO_CondFmt, "Blue"), blue);
    EXPECT_EQ(F_ApiGetId(0, doc, FP_FirstCondFmtInDoc), red);
    EXPECT_EQ(F_ApiGetId(doc, red, FP_NextCondFmtInDoc), blue);
    EXPECT_EQ(F_ApiGetId(doc, blue, FP_NextCondFmtInDoc), 0u);
    EXPECT_EQ(Str(doc, blue, FP_Name), "Blue");
    F_ObjHandleT colour = F_ApiNewNamedObject(doc, FO_Color, "Red");
    F_ApiSetId(doc, red, FP_CondFmtColor, colour);
    EXPECT_EQ(F_ApiGetId(doc, red, FP_CondFmtColor), colour);
    EXPECT_EQ(FA_errno, 0);
    // Objects of one document are not found through another.
    F_ObjHandleT other = NewDocument("Z:\\b.fm");
    FA_errno = 0;
    EXPECT_EQ(F_ApiGetString(other, red, FP_Name), nullptr);
    EXPECT_NE(FA_errno, 0);
}

TEST_F(ModelStore, RetagKeepsIdAndAttributesAndRefusesOtherKinds) {
    SetAttribute(doc, p1, "id", {"x1"});
    SetAttribute(doc, p1, "extra", {"e"});
    F_ObjHandleT note = AddElementDef(doc, "Note");
    F_ObjHandleT table = AddElementDef(doc, "Tbl", FV_FO_TBL);
    F_ApiSetId(doc, p1, FP_ElementDef, note);
    EXPECT_EQ(FA_errno, 0);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_ElementDef), note);
    F_AttributesT as = F_ApiGetAttributes(doc, p1);  // Note declares nothing: both are invalid now
    ASSERT_EQ(as.len, 2u);
    EXPECT_STREQ(as.val[0].name, "id");
    EXPECT_STREQ(as.val[0].values.val[0], "x1");
    F_ApiDeallocateAttributes(&as);
    F_ApiSetId(doc, p1, FP_ElementDef, table);
    EXPECT_EQ(FA_errno, FE_WrongKind);
    EXPECT_EQ(F_ApiGetId(doc, p1, FP_ElementDef), note);
    FA_errno = 0;
    F_ApiSetId(doc, t1, FP_ElementDef, note);  // text nodes stay untagged
    EXPECT_NE(FA_errno, 0);
}

}  // namespace
