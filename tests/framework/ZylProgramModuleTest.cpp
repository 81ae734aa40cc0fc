#include "framework/ZylMessageCodes.h"
#include "framework/ZylProgramDomain.h"
#include "framework/ZylProgramDomainSet.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestTree.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

using zyltest::StateTree;

namespace
{
struct ProgramModule : ::testing::Test
{
    ProgramModule()
    {
        programs().getProgramParameter()->addSink(&sink);
        zyltest::drainMessageQueue();
    }
    ~ProgramModule() override { programs().getProgramParameter()->removeSink(&sink); }

    ZylProgramModule& programs() { return tree.programs(); }

    std::vector<int> deliveredCodes()
    {
        zyltest::drainMessageQueue();
        std::vector<int> codes;
        for (const auto& entry : sink.entries)
            codes.push_back(entry.code);
        sink.entries.clear();
        return codes;
    }

    StateTree tree;
    ZylTestSink sink;
};
} // namespace

TEST_F(ProgramModule, AFreshModuleListsUntitledProgramsWithTheFirstCurrent)
{
    auto* domain = programs().getDomainSet()->getProgramDomain();
    EXPECT_EQ(domain->getShortName(), L"Preset");
    EXPECT_EQ(domain->getName(), L"Preset");
    EXPECT_EQ(domain->getDescription(), L"Current preset program selected within this bank");
    EXPECT_EQ(domain->getControlType(), kControlCombo);
    EXPECT_EQ(programs().getNumPrograms(), 128);
    EXPECT_EQ(programs().getProgramName(0), "Untitled 0");
    EXPECT_EQ(programs().getProgramName(127), "Untitled 127");
    EXPECT_FLOAT_EQ(domain->getValues()[64]->getPosition(), 0.5f);
    EXPECT_EQ(domain->getValues()[127]->getId(), 127);
    EXPECT_EQ(programs().getCurrentProgram(), 0);
    EXPECT_EQ(programs().getCurrentProgramValue(), domain->getValues()[0]);
    // The host selects programs through the processor, so the parameter is not listed.
    EXPECT_LT(programs().getProgramParameter()->getAutomationIndex(), 0);
    EXPECT_EQ(tree.container.getProgramModule(), &programs());
}

TEST_F(ProgramModule, RenamingTellsTheWidgetsAndKeepsTheCurrentProgram)
{
    programs().setProgramName(3, "Pad");
    EXPECT_EQ(programs().getProgramName(3), "Pad");
    EXPECT_EQ(programs().getCurrentProgram(), 0);
    const auto codes = deliveredCodes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], zylMessageCode(kDomainValuesChanged, kCauseHost));
}

TEST_F(ProgramModule, IndexesOutsideTheBankAreRefused)
{
    programs().setProgramName(128, "x");
    programs().setProgramName(-1, "x");
    programs().selectProgram(128, kCauseHost);
    programs().selectProgram(-1, kCauseUser);
    EXPECT_EQ(programs().getProgramName(128), "null");
    EXPECT_EQ(programs().getProgramName(-5), "null");
    EXPECT_EQ(programs().getCurrentProgram(), 0);
    EXPECT_TRUE(deliveredCodes().empty());
}

TEST_F(ProgramModule, SelectingFromTheInterfaceSwitchesTheTreeWhenTheMessageArrives)
{
    programs().selectProgram(5, kCauseUser);
    EXPECT_EQ(programs().getCurrentProgram(), 5);
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 0);
    deliveredCodes();
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 5);
    EXPECT_EQ(tree.inner().getCurrentProgram(), 5);
}

TEST_F(ProgramModule, SelectingForTheHostSwitchesTheTreeAtOnce)
{
    programs().selectProgram(7, kCauseHost);
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 7);
    const auto codes = deliveredCodes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], zylMessageCode(kValueChanged, kCauseHost));
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 7);
}

TEST_F(ProgramModule, ARenameFromTheHeaderReselectsTheUnchangedProgram)
{
    programs().selectProgram(2, kCauseHost);
    deliveredCodes();
    auto* value = programs().getDomainSet()->getProgramDomain()->getValues()[2];
    value->setName(L"Lead", zylMessageCode(kDomainValuesChanged, kCauseUser), true);
    const auto codes = deliveredCodes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], zylMessageCode(kDomainValuesChanged, kCauseUser));
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 2);
    EXPECT_EQ(programs().getProgramName(2), "Lead");
}

TEST_F(ProgramModule, StateLoadedTellsTheWidgetsThatTheNamesChanged)
{
    programs().stateLoaded();
    const auto codes = deliveredCodes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], zylMessageCode(kDomainValuesChanged, kCauseState));
}

TEST_F(ProgramModule, ExtElementsRenameByPositionOrOneProgram)
{
    juce::XmlElement ext("ext");
    auto* dom = ext.createNewChildElement("dom");
    dom->createNewChildElement("val")->setAttribute("n", "A");
    dom->createNewChildElement("other")->setAttribute("n", "ignored");
    dom->createNewChildElement("val")->setAttribute("n", "C");
    programs().restoreExtXml(ext, false, 0, false);
    EXPECT_EQ(programs().getProgramName(0), "A");
    EXPECT_EQ(programs().getProgramName(1), "Untitled 1");
    EXPECT_EQ(programs().getProgramName(2), "C");

    juce::XmlElement one("ext");
    auto* val = one.createNewChildElement("val");
    val->setAttribute("i", 40);
    val->setAttribute("n", "Nine");
    programs().restoreExtXml(one, true, 9, false);
    programs().restoreExtXml(one, true, 200, false);
    programs().restoreExtXml(one, false, 9, false);
    EXPECT_EQ(programs().getProgramName(9), "Nine");
    EXPECT_EQ(programs().getProgramName(40), "Untitled 40");

    juce::XmlElement empty("ext");
    programs().restoreExtXml(empty, false, 0, false);
    EXPECT_EQ(programs().getProgramName(0), "A");
    EXPECT_TRUE(deliveredCodes().empty());
}
