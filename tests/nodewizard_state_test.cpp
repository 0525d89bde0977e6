// The Node Wizard's records start from their defaults and return to them.
#include <gtest/gtest.h>

#include "lib/state/nodewizard.h"

TEST(NodeWizardState, DefaultsAreRestoredOverAnyEarlierRun) {
    NodeWizardQuery.expression = "//Para";
    NodeWizardQuery.elementAction = 8;
    NodeWizardQuery.elemFailures = 3;
    NodeWizardOptions.maxErrors = 3;
    NodeWizardOptions.printComponents = 0;
    NodeWizardRun.retagName = "Note";
    NodeWizardRun.sequence = 12;
    AttrActionCode = 40;
    ActionAttrNames = {"id"};
    MatchList.append(1, 2);
    WrapElementName = "Box";
    om_NWSetDefaults();

    EXPECT_EQ(NodeWizardQuery.expression, "{xpath}");
    EXPECT_EQ(NodeWizardQuery.elementAction, 1);
    EXPECT_EQ(NodeWizardQuery.elemFailures, 0u);
    EXPECT_EQ(NodeWizardOptions.insertName, "{tag}");
    EXPECT_EQ(NodeWizardOptions.maxErrors, 25);
    EXPECT_EQ(NodeWizardOptions.printComponents, 1);
    EXPECT_EQ(NodeWizardOptions.reportElemErrors, 1);
    EXPECT_EQ(NodeWizardOptions.reportAttrErrors, 1);
    EXPECT_EQ(NodeWizardOptions.focusAfterMatch, 1);
    EXPECT_EQ(NodeWizardRun.retagName, "{tag}");
    EXPECT_EQ(NodeWizardRun.sequence, 0);
    EXPECT_EQ(AttrActionCode, 1);
    EXPECT_TRUE(ActionAttrNames.empty());
    EXPECT_EQ(MatchList.size(), 0u);
    EXPECT_EQ(MatchList.docs.size(), 0u);
    EXPECT_EQ(WrapElementName, "{tag}");
    EXPECT_EQ(NodeWizardPrompts.performAllWarning, 1);
}
