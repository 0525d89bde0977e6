// The scripting engine's external-object exports: script parameters through both stores, the
// samples, and refused argument lists.
#include <gtest/gtest.h>

#include <string>

#include "lib/state/general_preferences.h"
#include "nodewizard/script_runs.h"
#include "plugin/scripting_exports.h"
#include "xpath/xpath.h"

namespace {

ScriptTaggedValue Text(const char *s) {
    ScriptTaggedValue v{};
    v.data.string = const_cast<char *>(s);
    v.type = kScriptString;
    return v;
}

ScriptTaggedValue Number(double d) {
    ScriptTaggedValue v{};
    v.data.fltval = d;
    v.type = kScriptDouble;
    return v;
}

// The text of a result record, freed as the engine frees it.
std::string Take(ScriptTaggedValue &r) {
    std::string out = r.data.string ? r.data.string : "";
    ESFreeMem(r.data.string);
    r.data.string = nullptr;
    return out;
}

}  // namespace

TEST(ScriptingExports, ParametersReachBothStores) {
    om_XPathClearParameters();
    om_NWSClearParams();
    ScriptTaggedValue set[] = {Text("$size"), Text("12")};
    ScriptTaggedValue result{};
    EXPECT_EQ(setScriptParm(set, 2, &result), 0);
    EXPECT_EQ(om_NWSGetParam("size"), "12");
    EXPECT_EQ(om_XPathGetParameter("size"), "12");

    ScriptTaggedValue get[] = {Text("size")};
    EXPECT_EQ(getScriptParm(get, 1, &result), 0);
    EXPECT_EQ(Take(result), "12");
    ScriptTaggedValue missing[] = {Text("never")};
    GeneralPreferences.strEOGetUndefinedParm = "100% %s undefined";
    EXPECT_EQ(getScriptParm(missing, 1, &result), 0);
    EXPECT_EQ(Take(result), "100% %s undefined");  // taken literally, never a format
    GeneralPreferences.strEOGetUndefinedParm = "PARAMETER_NOT_DEFINED";
    EXPECT_EQ(appendStringZZZZZZZZZZZZZZZZZZZZZ(missing, 1, &result), 0);
    EXPECT_EQ(Take(result), "PARAMETER_NOT_DEFINED");
    om_XPathClearParameters();
    om_NWSClearParams();
}

TEST(ScriptingExports, SamplesAndRefusedArguments) {
    ScriptTaggedValue result{};
    result.data.intval = 77;
    ScriptTaggedValue two[] = {Text("a"), Text("b")};
    ScriptTaggedValue number[] = {Number(2.0), Number(4.0)};
    const struct {
        const char *what;
        IntT status;
    } refused[] = {
        {"getScriptParm, two arguments", getScriptParm(two, 2, &result)},
        {"getScriptParm, a number", getScriptParm(number, 1, &result)},
        {"setScriptParm, one argument", setScriptParm(two, 1, &result)},
        {"acceptBoolean, no argument", acceptBooleanZZZZZZZZZZZZZZZZZZZZZZ(nullptr, 0, &result)},
        {"getAverage, no argument", getAverageZZZZZZZZZZZZZZZZZZZZZZZZ(nullptr, 0, &result)},
        {"getAverage, a string first", getAverageZZZZZZZZZZZZZZZZZZZZZZZZ(two, 1, &result)},
        {"makeArray, an argument", makeArrayZZZZZZZZZZZZZZZZZ(two, 1, &result)},
    };
    for (const auto &r : refused) EXPECT_EQ(r.status, 20) << r.what;
    EXPECT_EQ(result.data.intval, 77);  // a refused call leaves the result alone

    EXPECT_EQ(getAverageZZZZZZZZZZZZZZZZZZZZZZZZ(number, 2, &result), 0);
    EXPECT_DOUBLE_EQ(result.data.fltval, 3.0);
    EXPECT_EQ(makeArrayZZZZZZZZZZZZZZZZZ(nullptr, 0, &result), 0);
    EXPECT_EQ(result.type, kScriptText);
    EXPECT_EQ(Take(result), "[1, 2, 3]");
    ScriptTaggedValue yes{};
    yes.type = kScriptBool;
    yes.data.boolval = 1;
    EXPECT_EQ(acceptBooleanZZZZZZZZZZZZZZZZZZZZZZ(&yes, 1, &result), 0);
    EXPECT_EQ(Take(result), "Accepted a value of TRUE");
    EXPECT_EQ(std::string(ESInitialize(nullptr, 0)), "makeArray,getAverage,appendString_s,myScript_a,acceptBoolean_b");
    EXPECT_EQ(ESGetVersion(), 1);
    EXPECT_EQ(myScriptZZZZZZZZZZZZZZZZZZZZZZZ(nullptr, 0, &result), 0);
    EXPECT_NE(Take(result).find("basiceo.unload();dlg.close();}dlg.show();"), std::string::npos);
}
