#include "framework/ZylEditor.h"
#include "framework/ZylFilter.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylSynthModule.h"
#include "tests/framework/ZylStateTestFilter.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylWidgetTestSupport.h"
#include "ui/ZylLabel.h"
#include "ui/ZylLookAndFeel.h"
#include "ui/ZylParamRotary.h"
#include "ui/ZylSpacer.h"
#include "ui/ZylSynthPanel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zyltest;

namespace
{
// The program module and the synth module under a root, as the product builds them.
class SynthRoot : public ZylModule
{
public:
    explicit SynthRoot(ZylModuleContainer* owner) : ZylModule(owner, 2, L"") {}

    void initialise() override
    {
        ZylModule::initialise();
        registerInModuleMap();
        addChild(std::make_unique<ZylProgramModule>(getContainer()));
        synth = static_cast<ZylSynthModule*>(addChild(std::make_unique<ZylSynthModule>(getContainer())));
        for (auto* child : getChildren())
            child->initialise();
        setCurrentProgram(0);
    }

    ZylSynthModule* synth = nullptr;
};

class SynthFilter : public ZylFilter
{
public:
    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<SynthRoot>(getModuleContainer());
    }
    ZylSynthModule* synth() const
    {
        return static_cast<SynthRoot*>(getModuleContainer()->getRootModule())->synth;
    }
};

// One tree with the shipped sound bank for the suite (its tables take a while to build).
class SynthPanel : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        filter = std::make_unique<SynthFilter>();
        filter->initialise();
        drainMessageQueue();
    }
    static void TearDownTestSuite() { filter.reset(); }

    SynthPanel() { juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel); }
    ~SynthPanel() override { juce::LookAndFeel::setDefaultLookAndFeel(nullptr); }

    static std::unique_ptr<SynthFilter> filter;
    ZylLookAndFeel lookAndFeel;
};

std::unique_ptr<SynthFilter> SynthPanel::filter;
} // namespace

TEST_F(SynthPanel, OneGainKnobBetweenTwoGapsRightOfTheIcon)
{
    ZylEditor editor(*filter);
    ZylSynthPanel panel(&editor, 290);
    EXPECT_EQ(panel.getTitle(), "Synth");
    EXPECT_NE(panel.getIcon(), nullptr) << "the synth icon in the icon column";
    EXPECT_EQ(panel.getSynthModule(), filter->synth());

    const auto& items = panel.getItems();
    ASSERT_EQ(items.size(), 3u);
    auto* knob = dynamic_cast<ZylParamRotary*>(items[1]);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->getParameter(), filter->synth()->getGainParameter());
    EXPECT_NE(dynamic_cast<ZylSpacer*>(items[0]), nullptr);
    EXPECT_NE(dynamic_cast<ZylSpacer*>(items[2]), nullptr);

    EXPECT_EQ(panel.getPreferredHeight(), 77);
    panel.setSize(290, panel.getPreferredHeight());
    const std::vector<juce::Rectangle<int>> expected { { 42, 0, 300, 10 }, { 42, 10, 91, 44 },
                                                       { 42, 54, 300, 13 } };
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i]->getBounds(), expected[i]) << i;

    EditorBackdrop backdrop(panel);
    maybeWriteSnapshots(backdrop, 290 + 2 * EditorBackdrop::kMargin,
                        77 + 2 * EditorBackdrop::kMargin, "synth-panel");
}

TEST_F(SynthPanel, TheKnobSetsTheSynthsGain)
{
    ZylEditor editor(*filter);
    ZylSynthPanel panel(&editor, 290);
    auto& knob = *static_cast<ZylParamRotary*>(panel.getItems()[1]);
    auto* valueBox = findChild<ZylLabel>(knob, "valueBox");
    EXPECT_EQ(valueBox->getText(), "-4.0 dB");

    valueBox->setText("-12", juce::sendNotificationSync);
    drainMessageQueue();
    EXPECT_NEAR(filter->synth()->getGain(), 0.65 * std::pow(10.0, -12.0 / 20.0), 1e-6);
    valueBox->setText("mute", juce::sendNotificationSync);
    drainMessageQueue();
    EXPECT_GT(filter->synth()->getGain(), 0.0f) << "text is never read as silence";

    // Another program's gain shows when the program changes.
    auto* other = filter->synth()->getPrograms()[1]->getParameters()[0];
    other->setValueObject(other->getDomain()->getValues()[1], kCauseState, false, false);
    panel.setControlParameter(other, 1);
    EXPECT_EQ(valueBox->getText(), "-38.0 dB");
    panel.setControlParameter(filter->synth()->getGainParameter(), 1);
}

TEST(SynthPanelWithoutSynth, KeepsItsGapsAndShowsNoKnob)
{
    StateTestFilter filter;
    filter.initialise();
    drainMessageQueue();
    ZylEditor editor(filter);
    ZylSynthPanel panel(&editor, 290);
    EXPECT_EQ(panel.getSynthModule(), nullptr);
    EXPECT_EQ(panel.getItems().size(), 2u);

    ZylSynthPanel detached(nullptr, 290);
    EXPECT_EQ(detached.getItems().size(), 2u);
}
