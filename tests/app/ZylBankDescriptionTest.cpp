#include "app/ZylBankDescription.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylSynthModule.h"
#include "tests/TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
// A whole bank: every program named "P<i>", with extra lines after program 0's header.
juce::String bankText(const juce::String& head, const juce::String& programZero = {})
{
    juce::String text = head + "\n";
    for (int i = 0; i < ZylBankDescription::kNumPrograms; ++i)
    {
        text << "program " << i << " P" << i << "\n";
        if (i == 0)
            text << programZero << "\n";
    }
    return text;
}

TEST(BankDescription, RefusesTextThatIsNoWholeBank)
{
    struct Case
    {
        const char* what;
        juce::String text;
        const char* error;
    };
    juce::String missing;
    for (int i = 0; i < ZylBankDescription::kNumPrograms - 1; ++i)
        missing << "program " << i << " P" << i << "\n";
    const Case cases[] = {
        { "a program missing", missing, "program 127 is missing" },
        { "a program twice", bankText("", "program 0 Again"), "program 0 is named twice" },
        { "index beyond the bank", bankText("program 128 Far"), "no program index" },
        { "placeholder name", bankText("", "program 0 Untitled 0"), "no placeholder" },
        { "name too long", bankText("", "program 0 A name of twenty-nine characters"), "1 to 28" },
        { "not ASCII", bankText("", juce::String::fromUTF8("program 0 Gymnop\xc3\xa9" "die")), "ASCII" },
        { "setting before a program", bankText("8000 Gain = -4.0 dB"), "before any program" },
        { "no statement", bankText("", "8000 Gain -4.0 dB"), "not a statement" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ZylBankDescription description;
        juce::StringArray errors;
        EXPECT_FALSE(description.parse(c.text, errors));
        EXPECT_TRUE(errors.joinIntoString("\n").contains(c.error)) << errors.joinIntoString("\n");
    }
}

TEST(BankDescription, AppliesBankEveryAndProgramSettingsInOrder)
{
    ZylModuleContainer container;
    ZylLumenfoldModule root(&container, nullptr);
    container.setRootModule(&root);
    root.initialise();

    ZylBankDescription description;
    juce::StringArray errors;
    const auto text = bankText(juce::String::fromUTF8("# a comment\n"
                                                      "bank 300100 Midi In = Track\n"
                                                      "bank 300100 Track = Greensleeves\n"
                                                      "every 8000 Gain = -4.0 dB\n"),
                               "  8000 Gain = -10.0 dB\nprogram 1 Second F# Minor\n8000 Gain = -oo dB");
    ASSERT_TRUE(description.parse(text.replace("program 1 P1\n", ""), errors))
        << errors.joinIntoString("\n");
    ASSERT_TRUE(description.applyTo(root, errors)) << errors.joinIntoString("\n");

    auto* programs = root.getProgramModule();
    EXPECT_EQ(programs->getCurrentProgram(), 0);
    EXPECT_EQ(programs->getProgramName(0), "P0");
    EXPECT_EQ(programs->getProgramName(1), "Second F# Minor");
    EXPECT_EQ(programs->getProgramName(127), "P127");
    auto* input = root.getMidiInputGroupModule()->getInputModule(0);
    EXPECT_EQ(input->getTrackParameter()->getValueText(), L"Greensleeves");
    EXPECT_EQ(input->getDeviceParameter()->getValueText(), L"Track");
    const auto gainOf = [&](int program) {
        return root.getSynthModule()->getProgramSet(program)->getParameterById(0)->getValueText();
    };
    EXPECT_EQ(gainOf(0), L"-10.0 dB");
    EXPECT_EQ(gainOf(1), L"-oo dB");
    EXPECT_EQ(gainOf(2), L"-4.0 dB");
    container.setRootModule(nullptr);
    zyltest::drainMessageQueue();
}

TEST(BankDescription, ReportsUnknownModulesParametersAndValues)
{
    ZylModuleContainer container;
    ZylLumenfoldModule root(&container, nullptr);
    container.setRootModule(&root);
    root.initialise();
    struct Case
    {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        { "bank 4242 Gain = -4.0 dB", "no module 4242" },
        { "bank 8000 Gain = -4.0 dB", "no bank parameter \"Gain\"" },
        { "every 8000 Volume = -4.0 dB", "no program parameter \"Volume\"" },
        { "every 8000 Gain = loud", "has no value \"loud\"" },
        { "bank 300100 Track = Unknown tune", "has no value \"Unknown tune\"" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.line);
        ZylBankDescription description;
        juce::StringArray errors;
        ASSERT_TRUE(description.parse(bankText(c.line), errors));
        EXPECT_FALSE(description.applyTo(root, errors));
        EXPECT_TRUE(errors.joinIntoString("\n").contains(c.error)) << errors.joinIntoString("\n");
        EXPECT_TRUE(errors.joinIntoString("\n").contains("line 1:"));
    }
    container.setRootModule(nullptr);
    zyltest::drainMessageQueue();
}
} // namespace
